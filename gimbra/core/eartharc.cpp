// The Earth-arc locus: the spin axes consistent with one Earth-sensor limb
// crossing seen a measured spin angle after the sun pulse. Not a circle, so
// it is found point by point along the sunlit limb and plotted pixel by pixel.
#include <cmath>

#include "gimbra/core/plot.h"
#include "gimbra/core/plotmath.h"

namespace gimbra {

using navlib::Rad;
using navlib::Vec3;

namespace {

// Two unit vectors closer than this are the same direction.
constexpr float kSameDirection = 0.0001f;

struct SavedTime {
  float Day, Frac;
};

}  // namespace

bool EarthLimbFrame(const Vec3& earth, float& sinDec, float& cosDec, float& cosRa, float& sinRa) {
  const double cosDec2 = 1.0 - static_cast<double>(earth.z) * earth.z;
  if (!(cosDec2 > 0) || !std::isfinite(cosDec2)) return false;
  sinDec = earth.z;
  cosDec = static_cast<float>(std::sqrt(cosDec2));
  if (cosDec == 0) return false;
  cosRa = earth.x / cosDec;
  sinRa = earth.y / cosDec;
  return true;
}

bool SelectArcAxis(const EarthArcWork& w, float t, float turnRad, Vec3& axis) {
  Vec3 x1, x2;
  if (!navlib::ConeIntersect(w.Sun, w.Limb, t, w.CosGamma, x1, x2)) return false;
  // Squaring lost the sign of the turn; the turn angle from the Sun to the
  // limb point tells the two axes apart.
  const float phi = navlib::TurnAngle(x1, w.Sun, w.Limb);
  axis = std::fabs(phi - turnRad) < kSameDirection ? x1 : x2;
  return true;
}

bool PlotArcAxis(PlotContext& ctx, const EarthArcWork& w, const Vec3& axis) {
  PlotState& p = ctx.Plot;
  Vec3 y1, y2;
  // Where the sensor's cone around the axis touches the Earth's limb.
  if (!navlib::ConeIntersect(axis, w.Earth, w.CosGamma, w.CosRho, y1, y2)) return false;
  const Vec3& crossing = w.Edge == 1 ? y2 : y1;
  if (navlib::Length(Minus(crossing, w.Limb)) >= kSameDirection) return false;
  p.WorkVec = Scaled(axis, p.PlotRadius);
  ProjectToView(p);
  // Axes on the far side, or exactly on the 90 deg circle, are not plotted.
  if (!(p.LastDepth > 0)) return false;
  if (!ViewPixel(p, p.LastX, p.LastY)) return false;
  ctx.Canvas.fillRect(p.LastX - 1, p.LastY, p.LastX, p.LastY + 1);
  return true;
}

void EarthArcSolve(PlotContext& ctx, EarthArcWork& w, float gammaDeg, float arc) {
  (void)gammaDeg;  // its cosine and sine are in w
  if (arc < 0) return;  // no reading for this sensor
  if (arc != w.MemoArc) {
    w.MemoArc = arc;
    w.MemoTurn = static_cast<float>(static_cast<double>(arc) * navlib::Nc.Pi / 128);
    w.MemoCosTurn = std::cos(w.MemoTurn);
  }
  const float turn = w.MemoTurn;
  const float ca = w.MemoCosTurn;
  const double sgca = static_cast<double>(w.SinGamma) * ca;
  const float q = static_cast<float>(sgca * sgca + static_cast<double>(w.CosGamma) * w.CosGamma);
  if (q == 0) return;  // no sensor geometry to solve
  const float d = static_cast<float>(static_cast<double>(q) - static_cast<double>(w.SunLimb) * w.SunLimb);
  if (d < 0) return;
  const double root = std::sqrt(static_cast<double>(d));
  // The two values of cos(axis, Sun) with sp = t cg + sqrt(1 - t^2) sg cos A.
  const float t1 = static_cast<float>((w.CosGamma * static_cast<double>(w.SunLimb) + sgca * root) / q);
  const float t2 = static_cast<float>((w.CosGamma * static_cast<double>(w.SunLimb) - sgca * root) / q);
  Vec3 z1, z2;
  const bool has1 = SelectArcAxis(w, t1, turn, z1);
  const bool has2 = SelectArcAxis(w, t2, turn, z2);
  if (has1) PlotArcAxis(ctx, w, z1);
  if (has2) PlotArcAxis(ctx, w, z2);
}

void DrawEarthArcLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  const SavedTime saved{static_cast<float>(TruncToInt(nav.DayNum)), nav.DayFrac};
  const float cosLower = std::cos(Rad(p.LowerGamma)), sinLower = std::sin(Rad(p.LowerGamma));
  const float cosUpper = std::cos(Rad(p.UpperGamma)), sinUpper = std::sin(Rad(p.UpperGamma));

  const auto& table = ctx.Data.EarthArcRecords;
  for (int i = 0; i < table.Count; ++i) {
    const EarthArcRecord& r = table.Items[static_cast<std::size_t>(i)];
    navlib::TimeFromOrbitMa(nav, RecordOrbit(r.Orbit), r.Ma);
    EarthArcWork w;
    w.Edge = TruncToInt(r.EdgeFlag);
    ComputeEarthView(ctx);
    navlib::SunPosition(nav);
    w.Earth = p.EarthDir;
    w.Sun = nav.SunDir;
    const float rho = Rad(p.EarthAngularRadius);
    w.CosRho = std::cos(rho);
    const float sinRho = std::sin(rho);

    EarthArcWork upper = w, lower = w;
    upper.CosGamma = cosUpper;
    upper.SinGamma = sinUpper;
    lower.CosGamma = cosLower;
    lower.SinGamma = sinLower;
    float sinDec = 0, cosDec = 0, cosRa = 0, sinRa = 0;
    if (EarthLimbFrame(w.Earth, sinDec, cosDec, cosRa, sinRa)) {
      for (int j = 0; j <= p.CircleSegments; ++j) {
        // The limb point at position angle 2 pi j / n from east toward north.
        const float north = sinRho * p.CircleSin[j];
        const float east = sinRho * p.CircleCos[j];
        const float h = static_cast<float>(static_cast<double>(w.CosRho) * cosDec - static_cast<double>(north) * sinDec);
        w.Limb = {static_cast<float>(static_cast<double>(h) * cosRa - static_cast<double>(east) * sinRa),
                  static_cast<float>(static_cast<double>(h) * sinRa + static_cast<double>(east) * cosRa),
                  static_cast<float>(static_cast<double>(w.CosRho) * sinDec + static_cast<double>(north) * cosDec)};
        // Only the limb on the Sun's side of the Earth's disc.
        if (!(navlib::Dot(w.Sun, Minus(w.Limb, w.Earth)) > 0)) continue;
        w.SunLimb = navlib::Dot(w.Sun, w.Limb);
        // The first arc belongs to the upper sensor, the second to the lower;
        // each sensor has its own copy of the work, keeping its arc's turn.
        upper.Limb = lower.Limb = w.Limb;
        upper.SunLimb = lower.SunLimb = w.SunLimb;
        c.setBrushColor(ctx.Data.EarthArcColor2);
        EarthArcSolve(ctx, upper, p.UpperGamma, r.Arc1);
        c.setBrushColor(ctx.Data.EarthArcColor1);
        EarthArcSolve(ctx, lower, p.LowerGamma, r.Arc2);
      }
    }
    ctx.Host.processEvents();
  }

  nav.DayNum = saved.Day;
  nav.DayFrac = saved.Frac;
  ComputeEarthView(ctx);
  c.setBrushColor(platform::clSilver);
}

}  // namespace gimbra
