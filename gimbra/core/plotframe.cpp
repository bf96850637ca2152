// The frame of every plot: background, border, title and centre texts, the
// 90 degree horizon circle and the fixed reference circles of the sky.
#include <cmath>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "gimbra/core/plotmath.h"

namespace gimbra {

namespace {

// The obliquity of the ecliptic, 0.40910342 rad, in degrees (23.4399).
float ObliquityDeg() { return navlib::Deg(0.40910342f); }

}  // namespace

int FirstOrbitLabel(float alonDeg) {
  double alon = alonDeg;
  // Attitudes come wrapped into 0 ... 360 from the window; only absurd values
  // lose whole turns here, so that the counting below stays short.
  if (!std::isfinite(alon)) alon = 0;
  if (std::fabs(alon) > 1.0e6) alon = std::fmod(alon, 360.0);
  int k = TruncToInt(alon - 70);
  if (k < 0) k += 360;
  while (k % 10 != 0) ++k;
  while (k % 30 != 0) k += 10;
  return k;
}

std::array<std::string, 5> OrbitLabelTexts(float alonDeg) {
  std::array<std::string, 5> texts;
  int k = FirstOrbitLabel(alonDeg);
  for (auto& t : texts) {
    t = std::to_string(k) + "/0";
    k += 30;
    if (k > 360) k -= 360;  // 360 itself is written as 360
  }
  return texts;
}

void DrawFrame(PlotContext& ctx) {
  PlotState& p = ctx.Plot;
  navlib::NavState& nav = ctx.Nav;
  platform::Canvas& c = ctx.Canvas;
  const GraphItems& items = ctx.Inputs.Items;
  const int pitch = p.CharPitch;

  c.setFont("Fixedsys", 9, true);
  c.setFontColor(platform::clBlack);
  c.setBrushColor(platform::clSilver);
  c.fillRect(0, 0, TruncToInt(800 * p.ScreenScale), TruncToInt(600 * p.ScreenScale));

  // Border through the image's corner pixels; the pen width is the one left
  // by the previous Draw (1).
  c.setPenColor(platform::clBlack);
  PlotMoveTo(c, 0, 0);
  PlotLineTo(c, p.PlotWidth - 1, 0);
  PlotLineTo(c, p.PlotWidth - 1, p.PlotHeight - 1);
  PlotLineTo(c, 0, p.PlotHeight - 1);
  PlotLineTo(c, 0, 0);

  FrameTextOut(p, c, 1, 1, nav.SatName + "  Attitude  Plotter");
  FrameTextOut(p, c, static_cast<float>((p.TextColumns - 22) * pitch), 1, "Gimbra Ver 1.7c  VELM");
  FrameTextOut(p, c, static_cast<float>((p.TextColumns - 21) * pitch), static_cast<float>(2 * pitch - 2),
               "sky along spin axis");
  const float blockX = static_cast<float>((p.TextColumns - 9) * pitch);
  FrameTextOut(p, c, blockX, static_cast<float>((p.TextRows - 5) * pitch), "CENTER");
  FrameTextOut(p, c, blockX, static_cast<float>((p.TextRows - 3) * pitch), "DEC= " + FormatFixed(p.CenterDec, 4, 1));
  FrameTextOut(p, c, blockX, static_cast<float>((p.TextRows - 1) * pitch), "RA = " + FormatFixed(p.CenterRa, 4, 1));
  FrameTextOut(p, c, 4, 558, "ORBIT PLANE");
  if (!ctx.Inputs.CalcDateText.empty()) FrameTextOut(p, c, 4, 576, ctx.Inputs.CalcDateText);

  // The horizon circle, 90 deg from the attitude; its silver inside paints
  // over the parts of the texts it covers.
  c.setPenColor(platform::clGray);
  c.setPenWidth(2);
  p.CenterX = p.PlotWidth / 2;
  p.CenterY = p.PlotHeight / 2;
  c.ellipse(p.CenterX - p.PlotRadius, p.CenterY - p.PlotRadius, p.CenterX + p.PlotRadius,
            p.CenterY + p.PlotRadius);

  navlib::EclipticMatrix(nav);
  navlib::SunPosition(nav);
  const float obliquity = ObliquityDeg();

  if (items.EclipticSun) {
    c.setPenColor(platform::clBlue);
    c.setPenWidth(2);
    DrawGreatCircle(p, c, obliquity, 0);
    c.setPenColor(platform::clYellow);
    const float sunDec = navlib::Deg(nav.SunDec), sunRa = navlib::Deg(nav.SunRa);
    DrawSkyMarker(p, c, sunDec, sunRa);
    if (p.LastDepth > 0) PlotTextOut(c, p.LastX + 9, p.LastY + 9, "SUN");
    DrawSkyMarker(p, c, -sunDec, sunRa + 180);
    if (p.LastDepth > 0) PlotTextOut(c, p.LastX + 9, p.LastY + 9, "-sun");
  }

  // The orbit plane, always drawn.
  c.setPenColor(platform::clBlack);
  c.setPenWidth(2);
  DrawGreatCircle(p, c, navlib::Deg(nav.Elements.Inclination), navlib::Deg(nav.RaanNow));

  if (items.CelestialEquator) {
    c.setPenWidth(2);
    c.setPenColor(platform::clGreen);
    DrawGreatCircle(p, c, 0, 0);
  }

  if (items.MagPoles) {
    c.setPenWidth(2);
    c.setPenColor(platform::clRed);
    DrawSkyMarker(p, c, obliquity - 90, 90);
    if (p.LastDepth > 0) PlotTextOut(c, p.LastX + 9, p.LastY + 9, "S-epole");
    DrawSkyCircle(p, c, 30, obliquity - 90, 90);
    DrawSkyMarker(p, c, 90 - obliquity, 270);
    if (p.LastDepth > 0) PlotTextOut(c, p.LastX + 9, p.LastY + 9, "N-epole");
    DrawSkyCircle(p, c, 30, 90 - obliquity, 270);
  }

  // Five orbit longitudes along the orbit plane, labelled even on the far side.
  c.setPenWidth(1);
  c.setPenColor(platform::clBlack);
  int k = FirstOrbitLabel(p.Alon);
  for (int n = 0; n < 5; ++n) {
    float decRad = 0, raRad = 0;
    navlib::AttitudeToCelestial(nav, 0, navlib::Rad(static_cast<float>(k)), decRad, raRad);
    DrawSkyMarker(p, c, navlib::Deg(decRad), navlib::Deg(raRad));
    PlotTextOut(c, p.LastX + 3, p.LastY + 3, std::to_string(k) + "/0");
    k += 30;
    if (k > 360) k -= 360;
  }
}

}  // namespace gimbra
