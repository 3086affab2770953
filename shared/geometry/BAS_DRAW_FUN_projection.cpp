// Alignment geometry of BAS_DRAW_FUN: the mileage of a point (projection and
// key-point interpolation), the crossing of a ray with a line, the side of and
// spacing to another line, and the crossing of two segments.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/ElementState.h"
#include "mfc/cstring.h"
#include "win/transcript.h"

namespace {

constexpr double kPi = std::numbers::pi;

// How far the spans before the start and after the end of a line reach.
constexpr double kExtension = 1000.0;
// The bisection along a clothoid stops at this interval (metres).
constexpr double kBisectionTolerance = 1e-5;
constexpr int kMaxBisectionSteps = 200;
// A point this near the line of a ray lies on it.
constexpr double kOnRay = 0.0001;
// The trial points of a ray crossing stop when they meet within this distance.
constexpr double kRayMeetTolerance = 0.0004;
// A ray crossing that does not settle in this many steps is no crossing.
constexpr int kMaxRaySteps = 10000;
// Results of the ray crossing that count as found.
constexpr double kRayNoHit = 1e9;
constexpr double kRayHitLimit = 1e8;

void NoteOffLine(double x, double y) {
  CString note;
  note.Format("指定点 %0.2lf %0.2lf不在线路上(1)!\n", x, y);
  platform::transcriptWrite(note.view());
}

double Distance(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

// Unit vector along bearing + σ·π/2 when |σ| is 1 exactly, from the bearing's
// own cosine and sine; any other σ is turned on its own.
void NormalDirection(double bearing, double cosB, double sinB, double sigma, double& ux, double& uy) {
  if (sigma == 1.0) {
    ux = -sinB;
    uy = cosB;
  } else if (sigma == -1.0) {
    ux = sinB;
    uy = -cosB;
  } else {
    ux = std::cos(bearing + sigma * kPi / 2.0);
    uy = std::sin(bearing + sigma * kPi / 2.0);
  }
}

// Side of P with respect to the normal through Q along direction u.
double SideOfNormal(double qx, double qy, double ux, double uy, double px, double py) {
  return SideOfLine(qx + kExtension * ux, qy + kExtension * uy, qx, qy, px, py);
}

// A candidate span whose mileage needs the bisection, with a lower bound of
// the distance from the point to any point of its element.
struct SpiralCandidate {
  int index;
  double lowerBound;
};

}  // namespace

// The point at `mileage` on the line or, beyond its ends, on the tangents at
// its start and end.
static LinePoint PointOnLineOrTangent(const BAS_DRAW_FUN& base, const PlacedElement* elements, int n,
                                      double mileage) {
  LinePoint point{};
  point.mileage = mileage;
  if (base.PointAtDistance(elements, n, point) > 0) return point;
  return PointOnEndTangent(elements, n, mileage);
}

double BAS_DRAW_FUN::DistanceOfPointByKeyPoints(double x, double y, const PlacedElement* elements, int n) const {
  if (elements != nullptr && n >= 1) {
    double prevX = elements[0].p1;
    double prevY = elements[0].p2;
    double prevM = elements[0].p4;
    for (int j = 1; j <= n; ++j) {
      const double nextX = elements[j].x;
      const double nextY = elements[j].y;
      const double nextM = elements[j].mileage;
      const bool inBox = (x - prevX) * (nextX - x) >= 0.0 && (y - prevY) * (nextY - y) >= 0.0;
      const double spanSq = (nextX - prevX) * (nextX - prevX) + (nextY - prevY) * (nextY - prevY);
      const double pointSq = (x - prevX) * (x - prevX) + (y - prevY) * (y - prevY);
      if (inBox || spanSq >= pointSq) {
        const double r = Distance(x, y, prevX, prevY);
        const double l = Distance(x, y, nextX, nextY);
        if (r + l <= 0.0) return prevM;
        return (nextM * r + prevM * l) / (r + l);
      }
      prevX = nextX;
      prevY = nextY;
      prevM = nextM;
    }
  }
  platform::transcriptWrite("指定点不在线路上(2)!\n");
  return -1.0;
}

double BAS_DRAW_FUN::ProjectPointOnAlignment(const PlacedElement* elements, int n, double x, double y) const {
  if (elements == nullptr || n < 2) {
    NoteOffLine(x, y);
    return -1.0;
  }
  const double startBearing = DmsToRadians(elements[0].p3);

  // The winner is the candidate nearest the point; among equally near ones
  // the first in line order.
  double bestDistance = 1e14;
  double bestMileage = -1.0;
  int bestIndex = -1;
  int candidates = 0;
  auto offer = [&](int index, double mileage) {
    const LinePoint foot = PointOnLineOrTangent(*this, elements, n, mileage);
    const double d = Distance(x, y, foot.x, foot.y);
    if (d < bestDistance || (d == bestDistance && index < bestIndex)) {
      bestDistance = d;
      bestMileage = mileage;
      bestIndex = index;
    }
  };
  std::vector<SpiralCandidate> spirals;

  // Span i runs from Q(i-1) to Q(i), the starts of records i-1 and i; span 1
  // begins on the tangent before the start and span n ends on the one after
  // the end. P takes span i when it lies between the normals at both ends.
  double prevX = elements[1].x - kExtension * std::cos(elements[1].bearing);
  double prevY = elements[1].y - kExtension * std::sin(elements[1].bearing);
  double prevBearing = startBearing;
  double prevCos = std::cos(prevBearing);
  double prevSin = std::sin(prevBearing);
  for (int i = 1; i <= n; ++i) {
    const PlacedElement& record = elements[i];
    double qx = record.x;
    double qy = record.y;
    if (i == n) {
      qx += kExtension * std::cos(elements[n - 1].bearing);
      qy += kExtension * std::sin(elements[n - 1].bearing);
    }
    const double cosB = std::cos(record.bearing);
    const double sinB = std::sin(record.bearing);
    const double sigma = record.type > 1.1 ? record.p4 : 1.0;
    double ux, uy;
    NormalDirection(prevBearing, prevCos, prevSin, sigma, ux, uy);
    const double E = SideOfNormal(prevX, prevY, ux, uy, x, y);
    NormalDirection(record.bearing, cosB, sinB, sigma, ux, uy);
    const double H = SideOfNormal(qx, qy, ux, uy, x, y);

    if (E * H < 0.1 || std::fabs(E) < 0.001 || std::fabs(H) < 0.001) {
      ++candidates;
      // Evaluated on record i-1, the element from Q(i-1) to Q(i).
      const PlacedElement& element = elements[i - 1];
      if (i == 1) {
        // P lies before the start: its foot is the start.
        offer(i, elements[1].mileage);
      } else if (element.type < 1.1) {
        double phi;
        const double d = DistanceAndDirection(prevX, prevY, x, y, phi);
        offer(i, std::cos(AngleDifference(phi, element.bearing)) * d + element.mileage);
      } else if (element.type < 2.1) {
        const double turn = std::fabs(element.p4) < 0.001 ? 1.0 : element.p4;
        const double R = element.p1;
        const double cx = prevX + R * std::cos(element.bearing + turn * kPi / 2.0);
        const double cy = prevY + R * std::sin(element.bearing + turn * kPi / 2.0);
        double phi;
        DistanceAndDirection(cx, cy, x, y, phi);
        const double h = ElementLength(element) / 2.0;
        const double tx = prevX + h * std::cos(element.bearing);
        const double ty = prevY + h * std::sin(element.bearing);
        const double sideP = SideOfLine(prevX, prevY, cx, cy, x, y);
        const double sideT = SideOfLine(prevX, prevY, cx, cy, tx, ty);
        if (sideP * sideT < 1e-5 || std::fabs(sideP) < 0.01 || std::fabs(sideT) < 0.01) phi += kPi;
        offer(i, ArcDistanceOfPoint(cx + R * std::cos(phi), cy + R * std::sin(phi), elements, i - 1));
      } else {
        // Every point of the element lies within half its length of the
        // middle of its chord.
        const double midX = (prevX + record.x) / 2.0;
        const double midY = (prevY + record.y) / 2.0;
        const double reach = (record.mileage - element.mileage) / 2.0;
        spirals.push_back({i, Distance(x, y, midX, midY) - reach});
      }
    }
    prevX = qx;
    prevY = qy;
    prevBearing = record.bearing;
    prevCos = cosB;
    prevSin = sinB;
  }

  if (candidates == 0) {
    NoteOffLine(x, y);
    return -1.0;
  }

  // Clothoid spans need a bisection each: nearest first, and none whose
  // element lies wholly farther away than the best foot found.
  std::sort(spirals.begin(), spirals.end(),
            [](const SpiralCandidate& a, const SpiralCandidate& b) { return a.lowerBound < b.lowerBound; });
  for (const SpiralCandidate& candidate : spirals) {
    if (candidate.lowerBound > bestDistance) break;
    const PlacedElement& element = elements[candidate.index - 1];
    const double startX = element.x;
    const double startY = element.y;
    double lo = element.mileage;
    double hi = elements[candidate.index].mileage;
    double toStart;
    DistanceAndDirection(x, y, startX, startY, toStart);
    const bool startBehind = std::fabs(AngleDifference(toStart, element.bearing)) > kPi / 2.0;
    double middle = (lo + hi) / 2.0;
    for (int step = 0; step < kMaxBisectionSteps && std::fabs(hi - lo) > kBisectionTolerance; ++step) {
      middle = (lo + hi) / 2.0;
      LinePoint at{};
      at.mileage = middle;
      if (PointAtDistance(elements, n, at) < 0) break;
      double toPoint;
      DistanceAndDirection(x, y, at.x, at.y, toPoint);
      const double F = std::fabs(AngleDifference(toPoint, at.bearing));
      const bool beforeFoot = startBehind ? F > kPi / 2.0 : F < kPi / 2.0;
      if (beforeFoot) {
        lo = middle;
      } else {
        hi = middle;
      }
    }
    offer(candidate.index, middle);
  }

  if (bestIndex < 0) {
    NoteOffLine(x, y);
    return -1.0;
  }
  return bestMileage;
}

double RayCrossingBy(CurvedRayCrossing curved, double noHit, double hitLimit, const PlacedElement* elements, int n,
                     double x, double y, double bearing, double& hitX, double& hitY) {
  const RayLine ray{x, y, std::cos(bearing), std::sin(bearing)};
  double best = noHit;
  double bestMileage = -1.0;
  double bestX = x;
  double bestY = y;
  auto offer = [&](double px, double py, double mileage) {
    const double d = Distance(x, y, px, py);
    if (d < best) {
      best = d;
      bestMileage = mileage;
      bestX = px;
      bestY = py;
    }
  };

  for (int i = 1; elements != nullptr && i < n; ++i) {
    const PlacedElement& element = elements[i];
    const PlacedElement& next = elements[i + 1];
    const double c1 = ray.Cross(element.x, element.y);
    const double c2 = ray.Cross(next.x, next.y);
    if (std::fabs(c1) < kOnRay) {
      offer(element.x, element.y, element.mileage);
      continue;
    }
    if (std::fabs(c2) < kOnRay && i == n - 1) {
      offer(next.x, next.y, next.mileage);
      continue;
    }
    if (!(c1 * c2 < 1e-5)) continue;

    if (element.type < 1.5) {
      // Straight: where the ray's line meets the element's line.
      const double phi = element.bearing;
      const double along = std::sin(bearing - phi);
      if (std::fabs(along) < 1e-12) continue;
      const double t = -(std::cos(phi) * (y - element.y) - std::sin(phi) * (x - element.x)) / along;
      const double hx = x + t * ray.a;
      const double hy = y + t * ray.b;
      offer(hx, hy, element.mileage + Distance(element.x, element.y, hx, hy));
      continue;
    }
    double hx, hy, mileage;
    if (curved(ray, element, next, c1, c2, hx, hy, mileage)) offer(hx, hy, mileage);
  }

  if (best < hitLimit) {
    hitX = bestX;
    hitY = bestY;
    return bestMileage;
  }
  hitX = x;
  hitY = y;
  return -1.0;
}

// Two trial points walk in from both ends of an arc or clothoid, each by its
// own distance from the ray's line, until they meet.
static bool TrialPointsMeet(const RayLine& ray, const PlacedElement& element, const PlacedElement& next, double c1,
                            double c2, double& hitX, double& hitY, double& mileage) {
  int type;
  const double length = ElementLength(element, type);
  if (type < kElementArc || type > kElementSpiralGrowing || !(length > 0.0)) return false;
  const LinePoint start = StartStateOf(element);
  double fromStart = std::fabs(c1);
  double fromEnd = std::fabs(c2);
  LinePoint p{}, q{};
  bool met = false;
  for (int step = 0; step <= kMaxRaySteps; ++step) {
    BAS_DRAW_FUN::PointAtDistanceOnElement(start, p, std::clamp(fromStart, 0.0, length), element);
    BAS_DRAW_FUN::PointAtDistanceOnElement(start, q, std::clamp(length - fromEnd, 0.0, length), element);
    if (std::fabs(length - fromStart - fromEnd) <= kRayMeetTolerance) {
      met = true;
      break;
    }
    if (length - fromStart - fromEnd < -kRayMeetTolerance) break;  // passed each other
    fromStart += std::fabs(ray.Cross(p.x, p.y));
    fromEnd += std::fabs(ray.Cross(q.x, q.y));
  }
  if (!met) return false;
  if (std::fabs(ray.Cross(p.x, p.y)) <= std::fabs(ray.Cross(q.x, q.y))) {
    hitX = p.x;
    hitY = p.y;
    mileage = element.mileage + fromStart;
  } else {
    hitX = q.x;
    hitY = q.y;
    mileage = next.mileage - fromEnd;
  }
  return true;
}

double BAS_DRAW_FUN::NormalRayIntersection(const PlacedElement* elements, int n, double x, double y,
                                           double bearing, double& hitX, double& hitY) {
  return RayCrossingBy(TrialPointsMeet, kRayNoHit, kRayHitLimit, elements, n, x, y, bearing, hitX, hitY);
}

int BAS_DRAW_FUN::SideOfOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN) const {
  if (otherElements == nullptr || otherN < 2) return 1;
  const double mileage = ProjectPointOnAlignment(otherElements, otherN, point.x, point.y);
  LinePoint foot;
  if (mileage == -1.0) {
    // Off the other line: its nearer end stands for the foot.
    const PlacedElement& first = otherElements[1];
    const PlacedElement& last = otherElements[otherN];
    const bool nearerStart =
        Distance(point.x, point.y, first.x, first.y) <= Distance(point.x, point.y, last.x, last.y);
    foot = StartStateOf(nearerStart ? first : last);
  } else {
    foot = PointOnLineOrTangent(*this, otherElements, otherN, mileage);
  }
  double toFoot;
  const double d = DistanceAndDirection(point.x, point.y, foot.x, foot.y, toFoot);
  if (d < 0.001) return 0;
  return AngleDifference(toFoot, point.bearing) > 0.0 ? 1 : -1;
}

int BAS_DRAW_FUN::SpacingToOtherLine(double mileage, const PlacedElement* elements, int n,
                                     const PlacedElement* otherElements, int otherN, double& spacing,
                                     double& otherMileage, LinePoint& otherPoint) const {
  LinePoint here{};
  here.mileage = mileage;
  spacing = 0.0;
  if (PointAtDistance(elements, n, here) < 0) {
    otherMileage = -1.0;
    otherPoint = here;
    return 0;
  }
  if (SideOfOtherLine(here, otherElements, otherN) == 0) {
    otherMileage = ProjectPointOnAlignment(otherElements, otherN, here.x, here.y);
    otherPoint = here;
    return 1;
  }
  double normal = here.bearing + kPi / 2.0;
  NormalizeAngle(normal);
  double hx, hy;
  otherMileage = NormalRayIntersection(otherElements, otherN, here.x, here.y, normal, hx, hy);
  if (otherMileage < -0.001) {
    otherPoint = here;
    return 0;
  }
  const double s = std::cos(here.bearing) * (hy - here.y) - std::sin(here.bearing) * (hx - here.x);
  spacing = std::fabs(s) < 0.0001 ? 0.0 : s;
  otherPoint = here;
  otherPoint.mileage = otherMileage;
  PointAtDistance(otherElements, otherN, otherPoint);
  otherPoint.x = hx;
  otherPoint.y = hy;
  return 1;
}

int BAS_DRAW_FUN::IntersectSegments(double& X, double& Y, double x1, double y1, double x2, double y2, double x3,
                                    double y3, double x4, double y4) {
  const double det = (y2 - y1) * (x3 - x4) - (y4 - y3) * (x1 - x2);
  if (std::fabs(det) < 1e-6) return -1;
  const double B = y2 * x1 - y1 * x2;
  const double C = x3 * y4 - x4 * y3;
  X = ((x3 - x4) * B - (x1 - x2) * C) / det;
  Y = ((y2 - y1) * C - (y4 - y3) * B) / det;
  constexpr double kAllowance = 1e-5;
  auto within = [](double v, double e1, double e2) {
    return v >= std::min(e1, e2) - kAllowance && v <= std::max(e1, e2) + kAllowance;
  };
  const bool onBoth = within(X, x1, x2) && within(Y, y1, y2) && within(X, x3, x4) && within(Y, y3, y4);
  return onBoth ? 0 : 1;
}
