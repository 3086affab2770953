#pragma once
// Helpers of the sample scheme's builders: rounding, chainage labels, points
// of a line and a line's profile (ground and straight grade line).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "SampleGround.h"
#include "SampleScheme.h"
#include "geometry/GeoFunctions.h"
#include "project/BreakTable.h"
#include "project/ChainageText.h"

namespace sample {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kHalfPi = kPi / 2.0;

inline double SignedDmsToRadians(double dms) { return dms < 0 ? -DmsToRadians(-dms) : DmsToRadians(dms); }
inline double SignedRadiansToDms(double radians) { return radians < 0 ? -RadiansToDms(-radians) : RadiansToDms(radians); }
inline double Round(double v, int decimals) {
  const double f = std::pow(10.0, decimals);
  return std::round(v * f) / f;
}
inline double Bearing(double radians) {
  double b = std::fmod(radians, 2.0 * kPi);
  return b < 0 ? b + 2.0 * kPi : b;
}

// "DK25+200" for whole metres, "DK28+356.42" or "ZDK34+401.886" otherwise
// (to the millimetre, without trailing zeros).
inline std::string ChainageLabel(const std::string& prefix, double value) {
  const long long mm = std::llround(value * 1000.0);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%lld+%03lld", prefix.c_str(), mm / 1000000, mm % 1000000 / 1000);
  std::string text = buffer;
  if (mm % 1000 != 0) {
    std::snprintf(buffer, sizeof buffer, ".%03lld", mm % 1000);
    std::string fraction = buffer;
    while (fraction.back() == '0') fraction.pop_back();
    text += fraction;
  }
  return text;
}

inline std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

inline LinePoint PointOf(const AlignmentModel& model, double mileage) {
  LinePoint p{};
  p.mileage = mileage;
  BAS_DRAW_FUN::PointAtMileage(model.elements, model.elementCount, p);
  return p;
}

// A point beside a line: `offset` metres to the right of its bearing.
inline void Beside(const LinePoint& p, double offset, double& x, double& y) {
  x = p.x + offset * std::cos(p.bearing + kHalfPi);
  y = p.y + offset * std::sin(p.bearing + kHalfPi);
}

// The straight grade line through the points (no vertical curves); flat
// beyond its ends.
inline double GradeAt(const std::vector<GradePoint>& grade, double mileage) {
  if (grade.empty()) return 0.0;
  if (mileage <= grade.front().mileage) return grade.front().elevation;
  for (size_t i = 1; i < grade.size(); ++i) {
    if (mileage > grade[i].mileage) continue;
    const GradePoint& a = grade[i - 1];
    const GradePoint& b = grade[i];
    return a.elevation + (b.elevation - a.elevation) * (mileage - a.mileage) / (b.mileage - a.mileage);
  }
  return grade.back().elevation;
}

// One line as the profile work sees it: its geometry, its chainage and its
// grade line.
struct LineView {
  const AlignmentModel* model = nullptr;
  std::string detourPrefix;  // empty for the baseline
  const std::vector<GradePoint>* grade = nullptr;
  const Ground* ground = nullptr;

  void Chainage(double mileage, std::string& prefix, double& value) const {
    if (!detourPrefix.empty()) {
      prefix = detourPrefix;
      value = mileage;
      return;
    }
    char buffer[kChainPrefixSize] = {};
    value = BreakTableMileageToChainage(mileage, buffer, model->breakCount, model->breaks);
    prefix = buffer;
  }
  std::string Label(double mileage) const {
    std::string prefix;
    double value;
    Chainage(mileage, prefix, value);
    return ChainageLabel(prefix, value);
  }
  double GroundAt(double mileage) const {
    const LinePoint p = PointOf(*model, mileage);
    return ground->Elevation(p.x, p.y);
  }
  double FillAt(double mileage) const { return GradeAt(*grade, mileage) - GroundAt(mileage); }
  // The mileage moved so that its chainage becomes a whole metre, down or up.
  double ToWholeMetre(double mileage, bool up) const {
    std::string prefix;
    double value;
    Chainage(mileage, prefix, value);
    const double whole = up ? std::ceil(value - 1e-6) : std::floor(value + 1e-6);
    return mileage + (whole - value);
  }
};

// Walks from `from` both ways while `holds` is true (1 m steps, within the
// line); false when it does not hold at `from`.
template <class Test>
bool Extent(const LineView& line, double from, Test holds, double& start, double& end) {
  if (!holds(from)) return false;
  const double lo = line.model->StartMileage();
  const double hi = line.model->EndMileage();
  start = from;
  while (start - 1.0 > lo && holds(start - 1.0)) start -= 1.0;
  end = from;
  while (end + 1.0 < hi && holds(end + 1.0)) end += 1.0;
  return true;
}

// The mileage of a chainage of the baseline.
inline double BaselineMileage(const AlignmentModel& model, const char* prefix, double chainage) {
  char text[kChainageTextSize];
  ChainageText3Decimals(prefix, chainage, text);
  return BreakTableChainageToMileage(text, model.breakCount, model.breaks);
}

}  // namespace sample
