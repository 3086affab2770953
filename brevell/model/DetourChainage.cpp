// AlignmentModel: the chainage-break tables of the left and right lines and
// the conversions between a side line's mileage and its chainage.
//
// A side line follows the base line's chainage except within its detour
// segments, which are chained on their own: the first break of a segment is
// where it leaves the base line (base chainage before, the segment's own
// after), the last where it rejoins it (own chainage before, base after).

#include <algorithm>
#include <climits>
#include <cstdio>

#include "AlignmentModel.h"
#include "geometry/ElementState.h"
#include "geometry/GeoFunctions.h"
#include "project/GbkText.h"

namespace {

// A chainage text as the break resolution builds it: the prefix and the
// value written with "%lf".
CString ChainageOf(const CString& prefix, double value) {
  CString text;
  text.Format("%s%lf", prefix.GetString(), value);
  return text;
}

// The distances that no stretch of a segment gave.
constexpr double kNoDistance = -99999999.0;

}  // namespace

void AlignmentModel::SetLeftBreakTable(const PlanBreakRecord* records, int count) {
  if (records == nullptr || count <= 0) return;
  SetSideBreakTable(kLeftLine, records, count);
  ResolveBreakDistances(kLeftLine);
}

void AlignmentModel::SetRightBreakTable(const PlanBreakRecord* records, int count) {
  if (records == nullptr || count <= 0) return;
  SetSideBreakTable(kRightLine, records, count);
  ResolveBreakDistances(kRightLine);
}

int AlignmentModel::ResolveBreakDistances(int line) {
  if (line == kBaseLine) return 0;
  std::vector<PlanBreakRecord>& breaks = LineRef(line).breaks;
  const int n = static_cast<int>(breaks.size());
  // A base-line chainage carried onto the side line along the normal.
  auto onSideLine = [&](const CString& prefix, double value) {
    double mileage, spacing;
    LinePoint point;
    MapMileageToSideLine(line, ChainageToMileage(ChainageOf(prefix, value).GetString()), mileage, spacing, point);
    return mileage;
  };
  for (int i = 0; i < n;) {
    PlanBreakRecord& first = breaks[i];
    first.mileage = onSideLine(first.prefixBefore, first.before);
    int last = i;
    while (last + 1 < n && breaks[last + 1].segment == first.segment) {
      PlanBreakRecord& next = breaks[last + 1];
      next.mileage = breaks[last].mileage + next.before - breaks[last].after;
      ++last;
    }
    // The closing break meets the side line where its base chainage does.
    PlanBreakRecord& closing = breaks[last];
    const double difference = onSideLine(closing.prefixAfter, closing.after) - closing.mileage;
    closing.mileage += difference;
    closing.before += difference;
    i = last + 1;
  }
  return n;
}

double AlignmentModel::PointToChainage(double distance, char* prefixOut, size_t prefixOutSize) const {
  return LineChainage(kLeftLine, distance, prefixOut, prefixOutSize);
}

double AlignmentModel::PointToChainageRight(double distance, char* prefixOut, size_t prefixOutSize) const {
  return LineChainage(kRightLine, distance, prefixOut, prefixOutSize);
}

double AlignmentModel::LineChainage(int line, double distance, char* prefixOut, size_t prefixOutSize) const {
  if (line == kBaseLine) return MileageToChainage(distance, prefixOut, prefixOutSize);
  const std::vector<PlanBreakRecord>& breaks = Line(line).breaks;
  const int n = static_cast<int>(breaks.size());
  int i = n - 1;
  while (i > 0 && breaks[i].mileage > distance) --i;
  if (n > 0 && distance >= breaks[0].mileage && SegmentCount(line) > 0 && i >= 0 && i < n - 1 &&
      breaks[i].segment == breaks[i + 1].segment) {
    CopyTextBounded(prefixOut, prefixOutSize, breaks[i].prefixAfter.GetString(), kChainPrefixGbkMax);
    return distance - breaks[i].mileage + breaks[i].after;
  }
  // Outside the segments: the base line's chainage at the foot of the point.
  const PlanLine& l = Line(line);
  LinePoint p{};
  if (!l.HasElements()) return MileageToChainage(distance, prefixOut, prefixOutSize);
  if (!PointAt(line, distance, p)) p = PointOnEndTangent(l.Elements(), l.elementCount, distance);
  return MileageToChainage(ProjectOnBaseLine(p.x, p.y), prefixOut, prefixOutSize);
}

double AlignmentModel::ChainageToLeftDistance(const char* text, int segment) const {
  return ChainageToSideDistance(kLeftLine, text, segment);
}

double AlignmentModel::ChainageToRightDistance(const char* text, int segment) const {
  return ChainageToSideDistance(kRightLine, text, segment);
}

double AlignmentModel::ChainageToSideDistance(int line, const char* text, int segment) const {
  if (line == kBaseLine) return ChainageToMileage(text);
  double value;
  char prefix[kChainPrefixSize];
  ParseChainageText(text != nullptr ? text : "", value, prefix);
  const std::vector<PlanBreakRecord>& breaks = Line(line).breaks;
  double distance = kNoDistance;
  // A segment number read from a table may be any int: the one past it is held in range.
  const int segments = segment < 0 ? SegmentCount(line) : segment == INT_MAX ? INT_MAX : segment + 1;
  for (int k = segment < 0 ? 0 : segment; k < segments && distance <= kNoDistance; ++k) {
    int first, last;
    if (!BreakRange(line, k, first, last)) continue;
    bool found = false;
    for (int i = first; i < last; ++i) {
      const PlanBreakRecord& b = breaks[i];
      if (value < b.after || value > breaks[i + 1].before) continue;
      if (!found || b.prefixBefore == prefix) distance = value - b.after + b.mileage;
      found = true;
    }
  }
  if (distance > kNoDistance) return distance;
  double mileage, spacing;
  LinePoint point;
  MapMileageToSideLine(line, ChainageToMileage(text), mileage, spacing, point);
  return mileage;
}

double AlignmentModel::ChainageToLineDistance(int line, const char* text, int segment) const {
  return line == kBaseLine ? ChainageToMileage(text) : ChainageToSideDistance(line, text, segment);
}
