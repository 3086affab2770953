// The cross-section build's own members of BAS_DRAW_FUN: minimum lengths by
// speed, the closed clothoid polynomials and the element walk, projection and
// ray crossing that use them, the mapping of a mileage onto another line, the
// probability functions and the chainage text through acdbRToS.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "GammaFunctions.h"
#include "arx/rtos.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/ElementState.h"
#include "geometry/GeoFunctions.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2.0;

// Projection.
constexpr double kExtension = 1000.0;
constexpr int kMaxCandidates = 100;
constexpr double kBisectionTolerance = 1e-5;
constexpr int kMaxBisectionSteps = 200;

// Ray crossing.
constexpr double kOnRay = 0.0001;  // a trial point this near the ray's line lies on it
constexpr double kRayNoHit = 9999999999.9;
constexpr double kRayHitLimit = 9999999999.0;
// Trial points that have not reached the ray after this many steps have no
// crossing to reach.
constexpr int kMaxRaySteps = 10000;

// Mapping onto another line.
constexpr double kNoCrossing = -0.001;
constexpr double kZeroOffset = 0.0006;

double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

// The point at `mileage`, or beyond the line's ends the point on its tangent
// at that end.
LinePoint PointOnLineOrTangent(const PlacedElement* elements, int n, double mileage) {
  LinePoint point{};
  point.mileage = mileage;
  if (BAS_DRAW_FUN::PointAtMileage(elements, n, point) > 0) return point;
  return PointOnEndTangent(elements, n, mileage);
}

// Side of P with respect to the normal of bearing + σ·π/2 through Q.
double SideOfNormal(double qx, double qy, double bearing, double sigma, double px, double py) {
  const double angle = sigma * kHalfPi + bearing;
  return SideOfLine(qx + kExtension * std::cos(angle), qy + kExtension * std::sin(angle), qx, qy, px, py);
}

// The trial point of the ray crossing at distance s from the start of an arc
// or clothoid, by the element's local polynomial turned by its start bearing;
// a leaving clothoid (and the partial ones) is taken from its end backwards.
void TrialPoint(const PlacedElement& element, const PlacedElement& next, double length, double s, double& x,
                double& y) {
  const int type = static_cast<int>(element.type + 0.01);
  const double turn = element.p4;
  double ox = element.x, oy = element.y, bearing = element.bearing, t = turn, u = s;
  if (type > kElementEnteringSpiral) {
    ox = next.x;
    oy = next.y;
    bearing = next.bearing + kPi;
    t = -turn;
    u = length - s;
  }
  double lx, ly;
  if (type == kElementArc) {
    const double R = element.p1;
    lx = R * std::sin(u / R);
    ly = t * R * (1.0 - std::cos(u / R));
  } else {
    const double A2 = element.p1 * element.p1;
    const double A4 = A2 * A2;
    lx = u - std::pow(u, 5) / (40.0 * A4);
    ly = t * (std::pow(u, 3) / (6.0 * A2) - std::pow(u, 7) / (336.0 * A4 * A2));
  }
  x = ox + lx * std::cos(bearing) - ly * std::sin(bearing);
  y = oy + lx * std::sin(bearing) + ly * std::cos(bearing);
}

}  // namespace

// ---- Minimum lengths by speed ---------------------------------------------

void BAS_DRAW_FUN::MinLengthsBySpeed(double speed, double& first, double& second) const {
  struct Step {
    double from;
    double first;
    double second;
  };
  // From the highest speed down: the first step the speed reaches.
  static const Step kSteps[] = {{300, 280, 280}, {250, 180, 180}, {200, 140, 140}, {140, 110, 110},
                                {120, 80, 80},   {100, 60, 60},   {80, 50, 50},    {70, 50, 20},
                                {55, 45, 20},    {40, 40, 20}};
  first = -1000.0;
  second = -1000.0;
  for (const Step& step : kSteps) {
    if (speed >= step.from) {
      first = step.first;
      second = step.second;
      return;
    }
  }
}

// ---- Clothoid polynomials and the element walk ------------------------------

double BAS_DRAW_FUN::SpiralX(double A, double l) {
  const double A4 = std::pow(A, 4);
  return l - std::pow(l, 5) / (40.0 * A4) + std::pow(l, 9) / (3456.0 * A4 * A4) -
         std::pow(l, 13) / (599040.0 * A4 * A4 * A4);
}

double BAS_DRAW_FUN::SpiralY(double A, double l) {
  const double A2 = A * A;
  const double A6 = A2 * A2 * A2;
  return std::pow(l, 3) / (6.0 * A2) - std::pow(l, 7) / (336.0 * A6) + std::pow(l, 11) / (42240.0 * A6 * A2 * A2) -
         std::pow(l, 15) / (9676800.0 * A6 * A6 * A2);
}

BOOL BAS_DRAW_FUN::PointOnElementAtDistance(const LinePoint& start, LinePoint& out, double s,
                                            const LineElement& element) {
  return PointOnElementBy({SpiralX, SpiralY}, start, out, s, element);
}

int BAS_DRAW_FUN::PointAtMileage(const PlacedElement* elements, int n, LinePoint& point) {
  return PointAtMileageBy(PointOnElementAtDistance, elements, n, point);
}

// ---- Projection -----------------------------------------------------------

// The mileage of the foot of (x, y) on the line, raised to the start
// mileage; false when no span of the line takes the point.
static bool ProjectPoint(const PlacedElement* elements, int n, double x, double y, double& result) {
  if (elements == nullptr || n < 2) return false;
  const PlacedElement& startRecord = elements[0];
  const double startBearing = DmsToRadians(startRecord.p3);
  const double startMileage = startRecord.p4;

  // Span i runs from Q(i-1) to Q(i), the starts of records i-1 and i; the
  // first begins on the tangent before the start and the last ends on the one
  // after the end. The point takes a span when it lies between the normals at
  // its ends.
  struct Candidate {
    int index;
    double qx, qy;
  };
  std::vector<Candidate> candidates;
  double prevX = startRecord.p1 - kExtension * std::cos(startBearing);
  double prevY = startRecord.p2 - kExtension * std::sin(startBearing);
  for (int i = 1; i <= n && static_cast<int>(candidates.size()) < kMaxCandidates; ++i) {
    const PlacedElement& record = elements[i];
    double qx = record.x;
    double qy = record.y;
    if (i == n) {
      qx += kExtension * std::cos(elements[n - 1].bearing);
      qy += kExtension * std::sin(elements[n - 1].bearing);
    }
    const double sigma = record.type > 1.1 ? record.p4 : 1.0;
    const double E = SideOfNormal(prevX, prevY, elements[i - 1].bearing, sigma, x, y);
    const double H = SideOfNormal(qx, qy, record.bearing, sigma, x, y);
    if (E * H < 0.0001 || std::fabs(E) < 0.00001 || std::fabs(H) < 0.00001) candidates.push_back({i, prevX, prevY});
    prevX = qx;
    prevY = qy;
  }
  if (candidates.empty()) return false;

  // Each candidate on record i-1, the element from Q(i-1) to Q(i).
  double bestDistance = 1e14;
  double bestMileage = -1.0;
  for (const Candidate& c : candidates) {
    const PlacedElement& element = elements[c.index - 1];
    const bool isStart = c.index == 1;
    const double M = isStart ? startMileage : element.mileage;
    const double phi0 = isStart ? startBearing : element.bearing;
    const double turn = std::fabs(element.p4) < 0.001 ? 1.0 : element.p4;
    double mileage;
    if (!isStart && element.type < 1.1) {
      double phi;
      const double d = DistanceAndDirection(c.qx, c.qy, x, y, phi);
      mileage = std::cos(AngleDifference(phi, phi0)) * d + M;
    } else if (!isStart && element.type < 2.1) {
      const double R = element.p1;
      const double cx = c.qx + R * std::cos(phi0 + turn * kHalfPi);
      const double cy = c.qy + R * std::sin(phi0 + turn * kHalfPi);
      double phi;
      DistanceAndDirection(cx, cy, x, y, phi);
      const double h = ElementLength(element) / 2.0;
      const double tx = c.qx + h * std::cos(phi0);
      const double ty = c.qy + h * std::sin(phi0);
      const double sideP = SideOfLine(c.qx, c.qy, cx, cy, x, y);
      const double sideT = SideOfLine(c.qx, c.qy, cx, cy, tx, ty);
      if (sideP * sideT < 0.001 || std::fabs(sideP) < 0.00001 || std::fabs(sideT) < 0.00001) phi += kPi;
      mileage = BAS_DRAW_FUN::ArcDistanceOfPoint(cx + R * std::cos(phi), cy + R * std::sin(phi), elements,
                                                 c.index - 1);
    } else {
      // Bisection on the element; before the start the interval is empty.
      double lo = M;
      double hi = elements[c.index].mileage;
      double toStart;
      DistanceAndDirection(x, y, c.qx, c.qy, toStart);
      const bool startBehind = std::fabs(AngleDifference(toStart, phi0)) > kHalfPi;
      mileage = (lo + hi) / 2.0;
      for (int step = 0; step < kMaxBisectionSteps; ++step) {
        mileage = (lo + hi) / 2.0;
        if (std::fabs(hi - lo) <= kBisectionTolerance) break;
        const LinePoint at = PointOnLineOrTangent(elements, n, mileage);
        double toPoint;
        DistanceAndDirection(x, y, at.x, at.y, toPoint);
        const double F = std::fabs(AngleDifference(toPoint, at.bearing));
        if (startBehind ? F > kHalfPi : F < kHalfPi) {
          lo = mileage;
        } else {
          hi = mileage;
        }
      }
    }
    const LinePoint foot = PointOnLineOrTangent(elements, n, mileage);
    const double d = Distance(x, y, foot.x, foot.y);
    if (d < bestDistance) {
      bestDistance = d;
      bestMileage = mileage;
    }
  }
  result = std::max(bestMileage, startMileage);
  return true;
}

double BAS_DRAW_FUN::MileageOfPointOnElements(const PlacedElement* elements, int n, double x, double y) {
  double mileage;
  return ProjectPoint(elements, n, x, y, mileage) ? mileage : -1.0;
}

// ---- Ray crossing ------------------------------------------------------------

// Two trial points walk in from both ends of an arc or clothoid, each by its
// own distance from the ray's line, until one of them lies on it. Points that
// walk off the element or do not settle have no crossing here.
static bool TrialPointOnRay(const RayLine& ray, const PlacedElement& element, const PlacedElement& next, double c1,
                            double c2, double& hitX, double& hitY, double& mileage) {
  const double length = ElementLength(element);
  if (!(length > 0.0)) return false;
  double fromStart = std::fabs(c1);
  double fromEnd = std::fabs(c2);
  double px = 0, py = 0, qx = 0, qy = 0, cp = 0, cq = 0;
  for (int step = 0; step <= kMaxRaySteps; ++step) {
    if (fromStart > length || fromEnd > length) return false;
    TrialPoint(element, next, length, fromStart, px, py);
    TrialPoint(element, next, length, length - fromEnd, qx, qy);
    cp = std::fabs(ray.Cross(px, py));
    cq = std::fabs(ray.Cross(qx, qy));
    if (cp <= kOnRay || cq <= kOnRay) {
      if (cp <= cq) {
        hitX = px;
        hitY = py;
        mileage = element.mileage + fromStart;
      } else {
        hitX = qx;
        hitY = qy;
        mileage = element.mileage + length - fromEnd;
      }
      return true;
    }
    fromStart += cp;
    fromEnd += cq;
  }
  return false;
}

double BAS_DRAW_FUN::RayElementsIntersection(const PlacedElement* elements, int n, double x, double y,
                                             double bearing, double& hitX, double& hitY) {
  return RayCrossingBy(TrialPointOnRay, kRayNoHit, kRayHitLimit, elements, n, x, y, bearing, hitX, hitY);
}

// ---- The other line ------------------------------------------------------------

int BAS_DRAW_FUN::NormalHitsOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN) {
  if (otherElements == nullptr || otherN < 2) return 1;
  double mileage;
  LinePoint foot;
  if (!ProjectPoint(otherElements, otherN, point.x, point.y, mileage)) {
    // Off the other line: its nearer end stands for the foot.
    const PlacedElement& first = otherElements[1];
    const PlacedElement& last = otherElements[otherN];
    foot = StartStateOf(Distance(point.x, point.y, first.x, first.y) <= Distance(point.x, point.y, last.x, last.y)
                            ? first
                            : last);
  } else {
    foot = PointOnLineOrTangent(otherElements, otherN, mileage);
  }
  double toFoot;
  const double d = DistanceAndDirection(point.x, point.y, foot.x, foot.y, toFoot);
  if (d < 0.001) return 0;
  return AngleDifference(toFoot, point.bearing) > 0.0 ? 1 : -1;
}

int BAS_DRAW_FUN::MileageOnOtherLine(double mileage, const PlacedElement* elements, int n,
                                     const PlacedElement* otherElements, int otherN, double& offset,
                                     double& otherMileage, double& x, double& y) {
  offset = 0.0;
  LinePoint here{};
  here.mileage = mileage;
  if (elements == nullptr || n < 2 || PointAtMileage(elements, n, here) < 0) {
    // No point of this line at that mileage: nothing to carry over.
    if (elements != nullptr && n >= 2) here = PointOnLineOrTangent(elements, n, mileage);
    otherMileage = -1.0;
    x = here.x;
    y = here.y;
    return 0;
  }
  if (NormalHitsOtherLine(here, otherElements, otherN) == 0) {
    // The point lies on the other line.
    otherMileage = MileageOfPointOnElements(otherElements, otherN, here.x, here.y);
    x = here.x;
    y = here.y;
    return 1;
  }
  double hx, hy;
  otherMileage = RayElementsIntersection(otherElements, otherN, here.x, here.y, here.bearing + kHalfPi, hx, hy);
  if (otherMileage < kNoCrossing) {
    x = here.x;
    y = here.y;
    return 0;
  }
  const double s = std::cos(here.bearing) * (hy - here.y) - std::sin(here.bearing) * (hx - here.x);
  offset = std::fabs(s) < kZeroOffset ? 0.0 : s;
  x = hx;
  y = hy;
  return 1;
}

// ---- Probability functions ------------------------------------------------------

double BAS_DRAW_FUN::LnGamma(double x) { return ::LnGamma(x); }

double BAS_DRAW_FUN::IncompleteGammaSeries(double a, double x, double* gln) {
  return ::IncompleteGammaSeries(a, x, gln);
}

double BAS_DRAW_FUN::IncompleteGammaFraction(double a, double x, double* gln) {
  return ::IncompleteGammaFraction(a, x, gln);
}

double BAS_DRAW_FUN::GammaQ(double a, double x) { return ::GammaQ(a, x); }

// ---- Chainage text ---------------------------------------------------------------

CString BAS_DRAW_FUN::FormatChainageRToS(const char* prefix, double mileage, int decimals) {
  decimals = decimals < 0 ? 4 : std::min(decimals, 8);
  // Kilometres and metres are taken from the value rounded as it is written,
  // so metres that round up to 1000 carry into the kilometres.
  char rounded[64];
  std::snprintf(rounded, sizeof rounded, "%.*f", decimals, std::fabs(mileage));
  const double value = std::strtod(rounded, nullptr);
  const double halfUnit = 0.5 * std::pow(10.0, -decimals);
  const double km = std::floor((value + halfUnit) * 0.001);
  const double metres = std::max(0.0, value - km * 1000.0);

  char kmText[64];
  char metresText[64];
  acdbRToS(km, 2, 0, kmText);
  acdbRToS(metres + 1000.0, 2, decimals, metresText);
  metresText[0] = '+';  // the leading "1" of 1000 + metres
  CString text(prefix ? prefix : "");
  if (mileage < 0.0 && value > 0.0) text += "-";
  text += kmText;
  text += metresText;
  return text;
}
