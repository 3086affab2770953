#include "SampleGround.h"

#include <cmath>
#include <numbers>

namespace sample {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRegionalSlope = 0.0015;  // along the general direction
constexpr double kCrossSlope = 0.01;       // rising to the right of it

double Bell(double d, double sigma) { return std::exp(-d * d / (2.0 * sigma * sigma)); }

}  // namespace

Ground::Ground(double x0, double y0, double baseElevation, double bearing)
    : m_x0(x0), m_y0(y0), m_base(baseElevation), m_cos(std::cos(bearing)), m_sin(std::sin(bearing)) {}

double Ground::BaseElevation(double x, double y) const {
  // s along the general direction, c across it (positive to the right).
  const double dx = x - m_x0;
  const double dy = y - m_y0;
  const double s = dx * m_cos + dy * m_sin;
  const double c = -dx * m_sin + dy * m_cos;
  const double rolling = 3.0 * std::sin(kTwoPi * s / 2300.0 + 0.7) +
                         2.0 * std::sin(kTwoPi * c / 900.0 + 1.9) * std::cos(kTwoPi * s / 3100.0) +
                         1.2 * std::sin(kTwoPi * (s + c) / 700.0);
  return m_base + kRegionalSlope * s + kCrossSlope * c + rolling;
}

double Ground::Elevation(double x, double y) const {
  double z = BaseElevation(x, y);
  for (const Hill& h : m_hills) z += h.height * Bell(std::hypot(x - h.x, y - h.y), h.sigma);
  for (const Valley& v : m_valleys) {
    const double dx = x - v.x;
    const double dy = y - v.y;
    const double along = dx * std::cos(v.bearing) + dy * std::sin(v.bearing);
    const double across = -dx * std::sin(v.bearing) + dy * std::cos(v.bearing);
    z -= v.depth * Bell(across, v.sigma) * Bell(along, v.reach);
  }
  return z;
}

}  // namespace sample
