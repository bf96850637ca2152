// Text <-> number conversions with "." as the decimal separator whatever the
// process locale, and the conversion error that ends a command when a text
// that must be a number is not one.
#pragma once

#include <stdexcept>
#include <string>

namespace navlib {

// Raised where the operator's text does not convert; the command that called
// the conversion ends and its host shows what() in a message box.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Strict whole number: optional blanks, optional sign, decimal digits, optional
// blanks; nothing else. Out of the int range is an error too.
int StrToInt(const std::string& text);
// StrToInt, or def when the text does not convert (settings reads).
int StrToIntDef(const std::string& text, int def);
// Strict decimal number: blanks around it, optional sign, digits with "." and
// an optional exponent; nothing else.
double StrToFloat(const std::string& text);
// The standard string-to-double rule of the keps reader: leading white space,
// the longest numeric prefix, the rest ignored; 0 when there is none.
double LeadingDouble(const char* text);

// The text without the blanks, tabs and line ends around it.
std::string TrimBlanks(const std::string& text);

// printf-style formatting in the "C" locale ("." decimal point).
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace navlib
