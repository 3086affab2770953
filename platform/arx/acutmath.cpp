#include "arx/acutmath.h"

#include <cmath>
#include <numbers>

ads_real acutAngle(const ads_point pt1, const ads_point pt2) {
  const double dx = pt2[0] - pt1[0];
  const double dy = pt2[1] - pt1[1];
  if (dx == 0.0 && dy == 0.0) return 0.0;
  double angle = std::atan2(dy, dx);
  if (angle < 0.0) angle += 2.0 * std::numbers::pi;
  // atan2 of a tiny negative dy can round up to exactly 2π.
  if (angle >= 2.0 * std::numbers::pi) angle = 0.0;
  return angle;
}
