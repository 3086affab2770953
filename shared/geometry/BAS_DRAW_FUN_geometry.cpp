// Alignment geometry of BAS_DRAW_FUN: angles, curve tangents, and the point
// at a distance along one element or at a mileage along an element list.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/ElementState.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Allowance of the last element of a list beyond its end.
constexpr double kLastElementAllowance = 0.001;
// A distance at an element's very start is moved this far into the element,
// so that a clothoid is never evaluated at its singular start.
constexpr double kStartNudge = 1e-12;
// Allowance of a partial clothoid beyond its end radius.
constexpr double kPartialSpiralAllowance = 0.01;

// Writes x, y of `out` as start + u·(cos a, sin a) + v·(cos b, sin b).
void PlaceBy(const LinePoint& start, double u, double a, double v, double b, LinePoint& out) {
  out.x = start.x + u * std::cos(a) + v * std::cos(b);
  out.y = start.y + u * std::sin(a) + v * std::sin(b);
}

}  // namespace

BAS_DRAW_FUN::~BAS_DRAW_FUN() = default;

void BAS_DRAW_FUN::FormatReal(double value, int decimals, char* buffer, size_t size) const {
  if (buffer == nullptr || size == 0) return;
  decimals = std::clamp(decimals, 0, 20);
  char format[16];
  std::snprintf(format, sizeof format, "%%0.%dlf", decimals);
  std::snprintf(buffer, size, format, value);
}

void BAS_DRAW_FUN::NormalizeAngle(double& angle) {
  if (angle < 0.0) {
    angle += kTwoPi;
  } else if (angle > kTwoPi) {
    angle -= kTwoPi;
  }
}

void BAS_DRAW_FUN::PolarPoint(const ads_point p, double d, double b, ads_point out) {
  const double x = p[0] + d * std::sin(b);
  const double y = p[1] + d * std::cos(b);
  out[0] = x;
  out[1] = y;
  out[2] = 0.0;
}

int BAS_DRAW_FUN::CurveTangentsAndLength(double deflectionDms, double R, double L1, double L2,
                                         CurveTangents& out) {
  const double alpha = DmsToRadians(deflectionDms);
  double p1 = 0.0, m1 = 0.0, p2 = 0.0, m2 = 0.0;
  if (L1 >= 0.0001) {
    const double A = std::sqrt(R * L1);
    p1 = ClothoidOffsetP(A, L1);
    m1 = ClothoidShiftM(A, L1);
  }
  if (L2 >= 0.0001) {
    const double A = std::sqrt(R * L2);
    p2 = ClothoidOffsetP(A, L2);
    m2 = ClothoidShiftM(A, L2);
  }
  const double beta1 = L1 / (2.0 * R);
  const double beta2 = L2 / (2.0 * R);
  const double u = std::tan(alpha / 2.0);
  // Without deflection the two shifts cannot differ along the tangents.
  const double sinAlpha = std::sin(alpha);
  const double v = std::fabs(sinAlpha) < 1e-12 ? 0.0 : (p1 - p2) / sinAlpha;
  out.beta1 = beta1;
  out.beta2 = beta2;
  out.p1 = p1;
  out.p2 = p2;
  out.m1 = m1;
  out.m2 = m2;
  out.T1 = u * (R + p1) + m1 - v;
  out.T2 = u * (R + p2) + m2 + v;
  out.L = L1 + L2 + R * (alpha - beta1 - beta2);
  return 1;
}

BOOL PointOnElementBy(const ClothoidCoordinates& clothoid, const LinePoint& start, LinePoint& out, double s,
                      const LineElement& element) {
  const auto X = clothoid.x;
  const auto Y = clothoid.y;
  out.mileage = start.mileage + s;
  const int type = static_cast<int>(element.type + 0.0001);
  const double t = element.p4;
  const double theta0 = start.bearing;
  double bearing = theta0;

  switch (type) {
    case kElementStraight: {
      out.x = start.x + s * std::cos(theta0);
      out.y = start.y + s * std::sin(theta0);
      out.radius = kInfiniteRadius;
      break;
    }
    case kElementArc: {
      // Along the chord: 2R·sin(s/2R) in the direction halfway between the
      // bearings at both ends.
      const double R = element.p1;
      const double half = s / (2.0 * R);
      const double chord = 2.0 * R * std::sin(half);
      const double mid = theta0 + t * half;
      out.x = start.x + chord * std::cos(mid);
      out.y = start.y + chord * std::sin(mid);
      bearing = theta0 + t * s / R;
      out.radius = R;
      break;
    }
    case kElementEnteringSpiral: {
      const double A = element.p1;
      const double x = X(A, s);
      const double y = Y(A, s);
      const double c0 = std::cos(theta0);
      const double s0 = std::sin(theta0);
      out.x = start.x + x * c0 - t * y * s0;
      out.y = start.y + x * s0 + t * y * c0;
      bearing = theta0 + t * s * s / (2.0 * A * A);
      out.radius = s > 0.0 ? A * A / s : kInfiniteRadius;
      break;
    }
    case kElementLeavingSpiral: {
      // Seen backwards from its straight end, the element is an entering
      // clothoid; r is the distance still to that end.
      const double A = element.p1;
      const double R = element.p2;
      const double L = A * A / R;
      const double r = L - s;
      const double thetaEnd = theta0 + t * L / (2.0 * R);
      bearing = thetaEnd - t * r * r / (2.0 * A * A);
      out.radius = r > 0.0 ? A * A / r : kInfiniteRadius;
      const double phi = thetaEnd + kPi;
      const double psi = phi - t * kPi / 2.0;
      PlaceBy(start, X(A, r) - X(A, L), phi, Y(A, r) - Y(A, L), psi, out);
      break;
    }
    case kElementSpiralFalling: {
      // A piece of a clothoid whose origin lies l1 before the element's start.
      const double A = element.p1;
      const double R1 = element.p2;
      const double l1 = A * A / R1;
      const double l2 = A * A / element.p3;
      const double c = l1 + s;
      if (c > l2 + kPartialSpiralAllowance) return FALSE;
      const double thetaOrigin = theta0 - t * l1 / (2.0 * R1);
      bearing = thetaOrigin + t * c * c / (2.0 * A * A);
      out.radius = A * A / c;
      const double psi = thetaOrigin + t * kPi / 2.0;
      PlaceBy(start, X(A, c) - X(A, l1), thetaOrigin, Y(A, c) - Y(A, l1), psi, out);
      break;
    }
    case kElementSpiralGrowing: {
      // A piece of a clothoid whose origin lies l1 after the element's start.
      const double A = element.p1;
      const double R1 = element.p2;
      const double l1 = A * A / R1;
      const double l2 = A * A / element.p3;
      if (s < 0.0 || s > l1 - l2 + kPartialSpiralAllowance) return FALSE;
      const double r = l1 - s;
      const double thetaOrigin = theta0 + t * l1 / (2.0 * R1);
      bearing = thetaOrigin - t * r * r / (2.0 * A * A);
      out.radius = r > 0.0 ? A * A / r : kInfiniteRadius;
      const double phi = thetaOrigin + kPi;
      const double psi = phi - t * kPi / 2.0;
      PlaceBy(start, X(A, r) - X(A, l1), phi, Y(A, r) - Y(A, l1), psi, out);
      break;
    }
    default:
      return TRUE;
  }
  BAS_DRAW_FUN::NormalizeAngle(bearing);
  out.bearing = bearing;
  return TRUE;
}

int PointAtMileageBy(ElementWalker walk, const PlacedElement* elements, int n, LinePoint& point) {
  if (elements == nullptr || n <= 1) return -9;
  const double query = point.mileage;
  if (!(query >= elements[1].mileage)) return -9;

  // The element with the last start mileage not beyond the query ...
  const PlacedElement* first = elements + 1;
  const PlacedElement* last = elements + n;
  const PlacedElement* found =
      std::upper_bound(first, last, query, [](double q, const PlacedElement& e) { return q < e.mileage; }) - 1;
  int i = static_cast<int>(found - elements);
  // ... or an earlier one that also reaches it (a mileage at an element's end
  // belongs to that element).
  while (i > 1 && query <= elements[i - 1].mileage + ElementLength(elements[i - 1])) --i;

  int type;
  double end = elements[i].mileage + ElementLength(elements[i], type);
  if (i == n - 1) end += kLastElementAllowance;
  if (query > end) return -9;

  double s = query - elements[i].mileage;
  if (s <= 0.0) s = kStartNudge;
  walk(StartStateOf(elements[i]), point, s, elements[i]);
  return type;
}

LinePoint PointOnEndTangent(const PlacedElement* elements, int n, double mileage) {
  const PlacedElement& edge = mileage < elements[1].mileage ? elements[1] : elements[n];
  const double d = mileage - edge.mileage;
  LinePoint point{};
  point.x = edge.x + d * std::cos(edge.bearing);
  point.y = edge.y + d * std::sin(edge.bearing);
  point.bearing = edge.bearing;
  point.radius = kInfiniteRadius;
  point.mileage = mileage;
  return point;
}

BOOL BAS_DRAW_FUN::PointAtDistanceOnElement(const LinePoint& start, LinePoint& out, double s,
                                            const LineElement& element) {
  return PointOnElementBy({ClothoidX, ClothoidY}, start, out, s, element);
}

int BAS_DRAW_FUN::PointAtDistance(const PlacedElement* elements, int n, LinePoint& point) const {
  return PointAtMileageBy(PointAtDistanceOnElement, elements, n, point);
}

double BAS_DRAW_FUN::ArcDistanceOfPoint(double x, double y, const PlacedElement* elements, int i) {
  const PlacedElement& arc = elements[i];
  const double R = arc.p1;
  const double dx = x - arc.x;
  const double dy = y - arc.y;
  const double chord = std::sqrt(dx * dx + dy * dy);
  if (!(R > 0.0)) return arc.mileage + chord;
  // A point a little off the circle must not take asin beyond its domain.
  const double ratio = std::min(chord / (2.0 * R), 1.0);
  return 2.0 * R * std::asin(ratio) + arc.mileage;
}
