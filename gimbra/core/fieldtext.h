// The main window's field validators and the fixed-point format of the
// plotter's texts. The window runs the validators when a field is left; the
// command-line twin runs them on its option values, so both see the same.
#pragma once

#include <string>

namespace gimbra {

// The value rounded to `precision` significant digits, then written with
// `digits` decimals and a "." point: FormatFixed(359.96, 4, 1) == "360.0".
std::string FormatFixed(double value, int precision, int digits);

// "Map" and "Sat" segment fields: above 3000 the text becomes "3000", at 35
// or below "36"; other texts are kept. Raises navlib::ConvertError when the
// text is not a whole number.
std::string ClampSegmentsText(const std::string& text);

// ALON: a value above 360 loses whole turns until it is 360 or less, a
// negative one gains them until it is 0 or more; a changed value is written
// with FormatFixed(v, 4, 1), an unchanged text is kept as typed.
// Raises navlib::ConvertError when the text is not a number.
std::string WrapAlonText(const std::string& text);

// ALAT: above 90 steps of 90 are taken off until it is 90 or less, below -90
// steps of 90 are added until it is -90 or more; a changed value is written
// with FormatFixed(v, 3, 1). Raises navlib::ConvertError.
std::string FoldAlatText(const std::string& text);

}  // namespace gimbra
