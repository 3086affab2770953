// AlignmentModel: the detour segments and the sections of the left and right
// lines.
//
// A side line's curve table holds one record per IP. Records of kind 1 are
// IPs of a detour segment (a stretch where the side line leaves the base
// line's company); the side line's chainage-break table holds each segment's
// start and end (its first and last break record of that segment number).

#include <algorithm>
#include <cmath>

#include "AlignmentModel.h"
#include "geometry/ElementState.h"

namespace {

// A record of kind 0 whose spacing is below this lies on the base line.
constexpr double kOnBaseLine = 0.001;
// A segment's end point is taken this far beyond its last break.
constexpr double kSegmentEndAllowance = 0.1;

bool IsDetour(const SideLineRecord& r) { return r.kind == kSideDetour; }

// A record of kind 0 without spacing: there the side line is the base line
// itself, and nothing of its own is drawn.
bool OnBaseLine(const SideLineRecord& r) { return r.kind == kSideParallel && std::fabs(r.spacing) < kOnBaseLine; }

}  // namespace

int AlignmentModel::SegmentCount(int line) const {
  const std::vector<SideLineRecord>& records = Line(line).records;
  int count = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (IsDetour(records[i]) && (i == 0 || !IsDetour(records[i - 1]))) ++count;
  }
  return count;
}

bool AlignmentModel::SegmentRange(int line, int k, int& first, int& last) const {
  first = last = -1;
  const std::vector<SideLineRecord>& records = Line(line).records;
  const int n = static_cast<int>(records.size());
  int segment = -1;
  for (int i = 0; i < n; ++i) {
    if (!IsDetour(records[i]) || (i > 0 && IsDetour(records[i - 1]))) continue;
    if (++segment != k) continue;
    first = last = i;
    while (last + 1 < n && IsDetour(records[last + 1])) ++last;
    return true;
  }
  return false;
}

bool AlignmentModel::BreakRange(int line, int k, int& first, int& last) const {
  first = last = -1;
  const std::vector<PlanBreakRecord>& breaks = Line(line).breaks;
  const int n = static_cast<int>(breaks.size());
  for (int i = 0; i < n; ++i) {
    if (breaks[i].segment != k) continue;
    first = last = i;
    while (last + 1 < n && breaks[last + 1].segment == k) ++last;
    return true;
  }
  return false;
}

int AlignmentModel::SegmentOfRecord(int line, int i) const {
  const int count = SegmentCount(line);
  for (int k = 0; k < count; ++k) {
    int first, last;
    if (SegmentRange(line, k, first, last) && i >= first && i <= last) return k;
  }
  return -1;
}

int AlignmentModel::SegmentPoints(int line, int k, std::vector<IntersectionPoint>& points) const {
  points.clear();
  const PlanLine& l = Line(line);
  int first, last, firstBreak, lastBreak;
  if (line == kBaseLine || !l.HasElements() || !SegmentRange(line, k, first, last) ||
      !BreakRange(line, k, firstBreak, lastBreak)) {
    return -1;
  }
  // The side line's point at a mileage; beyond its ends, on the tangent there.
  auto pointAt = [&](double mileage) {
    LinePoint p{};
    p.mileage = mileage;
    if (PointOnLine(line, p) < 0) p = PointOnEndTangent(l.Elements(), l.elementCount, mileage);
    return p;
  };
  const int m = last - first + 1;
  const LinePoint start = pointAt(l.breaks[firstBreak].mileage);
  const LinePoint end = pointAt(l.breaks[lastBreak].mileage + kSegmentEndAllowance);
  points.reserve(static_cast<size_t>(m) + 2);
  points.push_back(IntersectionPoint{0.0, start.x, start.y, 0.0, 0.0, 0.0});
  for (int i = 0; i < m; ++i) {
    const IntersectionPoint& p = l.points[first + i];
    points.push_back(IntersectionPoint{static_cast<double>(i + 1), p.N, p.E, p.L1, p.R, p.L2});
  }
  points.push_back(IntersectionPoint{static_cast<double>(m + 1), end.x, end.y, 0.0, 0.0, 0.0});
  return m + 2;
}

// The section rule (see the header): the records are walked from the first
// one that does not lie on the base line; each stretch up to a record that
// ends a section gives one entry.
void AlignmentModel::RebuildSections(int code) {
  if (code == kBaseLine) return;
  PlanLine& line = LineRef(code);
  line.sections.clear();
  for (SideLineRecord& r : line.records) r.visited = 0;
  const int n = std::min(static_cast<int>(line.records.size()), line.pointCount);
  const std::vector<SideLineRecord>& records = line.records;
  auto endsSection = [&](int i) {
    return i == n - 1 || OnBaseLine(records[i + 1]) || IsDetour(records[i]) != IsDetour(records[i + 1]);
  };
  for (int i = 0; i < n;) {
    if (OnBaseLine(records[i])) {
      ++i;
      continue;
    }
    int last = i;
    while (!endsSection(last)) ++last;
    PlanSection section;
    section.number = static_cast<int>(line.sections.size());
    section.start = line.areas.keyPoints[i].ZH;
    section.end = line.areas.keyPoints[last].HZ;
    if (IsDetour(records[i])) {
      int firstBreak, lastBreak;
      if (BreakRange(code, SegmentOfRecord(code, i), firstBreak, lastBreak)) {
        section.start = line.breaks[firstBreak].mileage;
        section.end = line.breaks[lastBreak].mileage;
      }
    }
    line.sections.push_back(section);
    for (int j = i; j <= last; ++j) line.records[j].visited = 1;
    i = last + 1;
  }
}
