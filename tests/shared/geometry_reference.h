#pragma once
// An independent reference for alignment geometry in tests and benchmarks: a
// line is walked by numeric integration of its curvature profile
//   x(s) = x0 + ∫ cos θ(u) du,  y(s) = y0 + ∫ sin θ(u) du,
// with θ(u) the bearing that each element type gives in closed form. Element
// lists for the code under test are placed with this walk, so that expected
// coordinates never come from the code under test.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/LineElement.h"

namespace georef {

constexpr double kPi = std::numbers::pi;

inline double radians(double degrees, double minutes = 0.0, double seconds = 0.0) {
  return (degrees + minutes / 60.0 + seconds / 3600.0) * kPi / 180.0;
}

inline double wrap(double bearing) {
  double b = std::fmod(bearing, 2.0 * kPi);
  if (b < 0.0) b += 2.0 * kPi;
  return b;
}

// Length of an element from its curvature profile.
inline double length(const LineElement& e) {
  const int type = static_cast<int>(e.type + 0.01);
  switch (type) {
    case 1: return e.p1;
    case 2: return e.p2;
    case 3:
    case 4: return e.p1 * e.p1 / e.p2;
    case 5: return e.p1 * e.p1 / e.p3 - e.p1 * e.p1 / e.p2;
    case 6: return e.p1 * e.p1 / e.p2 - e.p1 * e.p1 / e.p3;
    default: return 0.0;
  }
}

// Curvature (signed by the turn) at distance s along the element.
inline double curvature(const LineElement& e, double s) {
  const int type = static_cast<int>(e.type + 0.01);
  const double A2 = e.p1 * e.p1;
  switch (type) {
    case 2: return e.p4 / e.p1;
    case 3: return e.p4 * s / A2;
    case 4: return e.p4 * (length(e) - s) / A2;
    case 5: return e.p4 * (A2 / e.p2 + s) / A2;
    case 6: return e.p4 * (A2 / e.p2 - s) / A2;
    default: return 0.0;
  }
}

// Change of bearing over the first s metres: the integral of the curvature.
inline double turned(const LineElement& e, double s) {
  const int type = static_cast<int>(e.type + 0.01);
  const double A2 = e.p1 * e.p1;
  switch (type) {
    case 2: return e.p4 * s / e.p1;
    case 3: return e.p4 * s * s / (2.0 * A2);
    case 4: return e.p4 * (length(e) * s - s * s / 2.0) / A2;
    case 5: return e.p4 * ((A2 / e.p2) * s + s * s / 2.0) / A2;
    case 6: return e.p4 * ((A2 / e.p2) * s - s * s / 2.0) / A2;
    default: return 0.0;
  }
}

// ∫ f over [a, b] by five-point Gauss-Legendre on panels of at most `panel`.
template <class F>
double integrate(F f, double a, double b, double panel = 0.5) {
  static const double node[5] = {-0.9061798459386640, -0.5384693101056831, 0.0, 0.5384693101056831,
                                 0.9061798459386640};
  static const double weight[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889,
                                   0.4786286704993665, 0.2369268850561891};
  const int panels = std::max(1, static_cast<int>(std::ceil(std::fabs(b - a) / panel)));
  const double h = (b - a) / panels;
  double sum = 0.0;
  for (int k = 0; k < panels; ++k) {
    const double mid = a + (k + 0.5) * h;
    double part = 0.0;
    for (int j = 0; j < 5; ++j) part += weight[j] * f(mid + node[j] * h / 2.0);
    sum += part * h / 2.0;
  }
  return sum;
}

// State s metres along element e from `start`.
inline LinePoint walk(const LinePoint& start, const LineElement& e, double s) {
  LinePoint p;
  p.x = start.x + integrate([&](double u) { return std::cos(start.bearing + turned(e, u)); }, 0.0, s);
  p.y = start.y + integrate([&](double u) { return std::sin(start.bearing + turned(e, u)); }, 0.0, s);
  p.bearing = wrap(start.bearing + turned(e, s));
  const double k = std::fabs(curvature(e, s));
  p.radius = k < 1e-30 ? kInfiniteRadius : 1.0 / k;
  p.mileage = start.mileage + s;
  return p;
}

// A placed line: the element list with its start record and end state.
struct Line {
  std::vector<PlacedElement> records;  // n + 1 records
  std::vector<LineElement> elements;   // the elements as given
  int n = 0;

  // State at a mileage, by the reference walk.
  LinePoint at(double mileage) const {
    for (int i = 1; i < n; ++i) {
      const double end = records[i].mileage + length(elements[i - 1]);
      if (mileage <= end || i == n - 1) {
        const PlacedElement& r = records[i];
        return walk(LinePoint{r.x, r.y, r.bearing, r.radius, r.mileage}, elements[i - 1], mileage - r.mileage);
      }
    }
    return LinePoint{};
  }
  double endMileage() const { return records[n].mileage; }
};

// Places `elements` from a start point, a start bearing given both packed
// (d.mmss, as the start record stores it) and in radians, and a start mileage.
inline Line place(double x, double y, double bearingDms, double bearingRadians, double mileage,
                  const std::vector<LineElement>& elements) {
  Line line;
  line.elements = elements;
  line.n = static_cast<int>(elements.size()) + 1;
  line.records.resize(line.n + 1);
  line.records[0] = PlacedElement{{10.0, x, y, bearingDms, mileage}, 0.0, 0.0, 0.0, 0.0, 0.0};
  LinePoint state{x, y, bearingRadians, kInfiniteRadius, mileage};
  for (size_t i = 0; i < elements.size(); ++i) {
    const LineElement& e = elements[i];
    const double k0 = std::fabs(curvature(e, 0.0));
    line.records[i + 1] =
        PlacedElement{e, state.bearing, state.mileage, k0 < 1e-30 ? kInfiniteRadius : 1.0 / k0, state.x, state.y};
    state = walk(state, e, length(e));
  }
  line.records[line.n] = PlacedElement{{0.0, 0.0, 0.0, 0.0, 0.0}, state.bearing, state.mileage, state.radius,
                                       state.x, state.y};
  return line;
}

}  // namespace georef
