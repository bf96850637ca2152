// The Earth-sensor arc simulation: for one orbit, at every 256th of it,
// where the two Earth sensors' cones about the spin axis cross the Earth's
// limb, given as spin phases from the Sun in 256ths of a turn.
#pragma once

#include <string>

#include "gimbra/core/plot.h"
#include "gimbra/core/satview.h"

namespace gimbra {

// The report window's texts.
extern const char* const EsArcCaption;       // " ES Arc Simulation"
extern const char* const EsArcOrbitCaption;  // "Input Box"
extern const char* const EsArcOrbitPrompt;   // "Enter Orbit Number"

struct EsArcResult {
  bool Made = false;  // false: the keps file could not be read (its message shown); no report
  std::string Text;   // the report window's whole text, CR LF line ends
};

// -1 stays -1; any other angle (rad) becomes trunc(angle x 128 / pi x 10 + 0.5) x 0.1.
float TurnTo256(float angleRad);

// The report for the main window's fields in ctx.Inputs (ALON, ALAT and the
// two gammas) and the satellite selected there; asks the orbit number with
// ctx.Host.inputBox (pre-filled with the epoch orbit). Writes w.SunAngleDeg,
// the library's time (mean anomaly 256 of the orbit) and its element
// attitude; keeps every other plot field as it was. A text that does not
// convert raises navlib::ConvertError before anything is shown.
EsArcResult EsArcReport(PlotContext& ctx, PlotWindowState& w);

}  // namespace gimbra
