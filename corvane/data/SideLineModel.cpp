#include "SideLineModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "arx/edoutput.h"
#include "geometry/GeoFunctions.h"
#include "project/BreakTable.h"
#include "project/GbkText.h"

namespace {

constexpr double kHalfPi = std::numbers::pi / 2.0;

// A detour end this near the baseline's start or end is taken as it.
constexpr double kBaselineEndSnap = 5.0;
// Mileages below this are "no mileage".
constexpr double kNoMileage = -0.001;
// A spacing below this puts the side IP on the baseline IP.
constexpr double kOnBaseline = 0.0001;

// A point moved by `distance` towards bearing + π/2.
void ShiftRight(double x, double y, double bearing, double distance, double& outX, double& outY) {
  outX = x + distance * std::cos(bearing + kHalfPi);
  outY = y + distance * std::sin(bearing + kHalfPi);
}

// Length difference as stored: D + 100 when it counts, else 0.
double StoredDifference(double D, bool counts) { return counts ? D + 100.0 : 0.0; }

}  // namespace

SideLineModel::SideLineModel() { ResetSide(); }

SideLineModel::~SideLineModel() = default;

void SideLineModel::ResetSide() {
  std::fill(std::begin(detourPoints), std::end(detourPoints), DetourPoint{});
  std::fill(std::begin(sideIps), std::end(sideIps), SideIpRecord{});
  detourPointCount = 0;
  turnDirection = 0;
}

int SideLineModel::Create(AlignmentModel* baselineModel, int n, const SideCurveRow* rows, int numberOffset,
                          const char* ipPrefixText) {
  Reset();
  ResetSide();
  baseline = baselineModel;
  curveNumberOffset = numberOffset;
  if (baseline == nullptr || rows == nullptr || n < 2 || n > kMaxSideIps) {
    acutPrintf("\n%s线路交点数%d超出范围(2~%d), 不能建立线路模型", ipPrefixText ? ipPrefixText : "", n,
                      kMaxSideIps);
    return 0;
  }
  CopyTextBounded(ipPrefix, sizeof ipPrefix, ipPrefixText ? ipPrefixText : "", kChainPrefixGbkMax);

  for (int i = 0; i < n; ++i) {
    const SideCurveRow& row = rows[i];
    SideIpRecord& s = sideIps[i];
    s.kind = row.kind;
    s.number = i + numberOffset;
    s.x = row.x;
    s.y = row.y;
    s.L1 = row.L1;
    s.R = row.R;
    s.L2 = row.L2;
    s.baselineIp = row.baselineIp;
    s.spacing = row.spacing;
    s.ownCoordinates = row.kind != 0;
    if (!s.ownCoordinates && !BaselineIpValid(row.baselineIp)) {
      acutPrintf("\n%s%d号交点对应的一线交点号%d不存在, 采用其自身坐标", ipPrefix, i + numberOffset,
                        row.baselineIp);
      s.ownCoordinates = true;
    }
  }
  ipCount = n;

  PlaceSideIps();
  SideIpsToIpRecords();
  if (!BuildLineElements()) return 0;
  MapIntersectionsToBaseline();
  return 1;
}

bool SideLineModel::BaselineIpValid(int b) const {
  return baseline != nullptr && b >= 0 && b < baseline->ipCount;
}

void SideLineModel::PlaceSideIps() {
  const int nb = baseline->ipCount;
  const IpRecord* base = baseline->ips;
  for (int i = 0; i < ipCount; ++i) {
    SideIpRecord& s = sideIps[i];
    if (s.ownCoordinates) continue;
    const int b = s.baselineIp;
    if (i > 0 && i < ipCount - 1) {
      // Where the two baseline legs at b meet, each shifted by its spacing.
      if (b < 1 || b > nb - 2) continue;
      double inBearing, outBearing;
      DistanceAndDirection(base[b - 1].x, base[b - 1].y, base[b].x, base[b].y, inBearing);
      DistanceAndDirection(base[b].x, base[b].y, base[b + 1].x, base[b + 1].y, outBearing);
      const double inSpacing = sideIps[i - 1].spacing;
      double x1, y1, x2, y2, x3, y3, x4, y4;
      ShiftRight(base[b - 1].x, base[b - 1].y, inBearing, inSpacing, x1, y1);
      ShiftRight(base[b].x, base[b].y, inBearing, inSpacing, x2, y2);
      ShiftRight(base[b].x, base[b].y, outBearing, s.spacing, x3, y3);
      ShiftRight(base[b + 1].x, base[b + 1].y, outBearing, s.spacing, x4, y4);
      double X, Y;
      if (IntersectSegments(X, Y, x1, y1, x2, y2, x3, y3, x4, y4) != -1) {
        s.x = X;
        s.y = Y;
      } else {
        // Legs in line: the IP beside b on the outgoing leg.
        s.x = x3;
        s.y = y3;
      }
    } else if (b == 0 || b == nb - 1) {
      // An end of the side line tied to an end of the baseline: beside it,
      // square to the baseline's leg there.
      const int from = b == 0 ? 0 : nb - 2;
      double bearing;
      DistanceAndDirection(base[from].x, base[from].y, base[from + 1].x, base[from + 1].y, bearing);
      ShiftRight(base[b].x, base[b].y, bearing, s.spacing, s.x, s.y);
    }
    // An end of the side line tied to an inner baseline IP keeps its own
    // coordinates.
  }
}

void SideLineModel::SideIpsToIpRecords() {
  for (int i = 0; i < ipCount; ++i) {
    SideIpRecord& s = sideIps[i];
    // A tied IP without spacing lies on the baseline IP.
    if (s.kind == 0 && std::fabs(s.spacing) < kOnBaseline && BaselineIpValid(s.baselineIp)) {
      s.x = baseline->ips[s.baselineIp].x;
      s.y = baseline->ips[s.baselineIp].y;
    }
    ips[i] = IpRecord{static_cast<double>(i + curveNumberOffset), s.x, s.y, s.L1, s.R, s.L2};
    if (std::fabs(s.turn) > 0.5) turnDirection = s.turn > 0.0 ? 1 : -1;
  }
}

int SideLineModel::SetDetourPoints(const SideBreakRow* rows, int count) {
  if (count < 0 || count > kMaxDetourPoints || (rows == nullptr && count > 0)) {
    acutPrintf("\n%s线路断链数%d超出范围(0~%d), 绕行段未更改", ipPrefix, count, kMaxDetourPoints);
    return 0;
  }
  std::fill(std::begin(detourPoints), std::end(detourPoints), DetourPoint{});
  for (int i = 0; i < count; ++i) {
    DetourPoint& p = detourPoints[i];
    p.number = rows[i].number;
    p.remark = rows[i].remark;
    p.before = rows[i].before;
    p.after = rows[i].after;
    p.prefixBefore = rows[i].prefixBefore;
    p.prefixAfter = rows[i].prefixAfter;
  }
  detourPointCount = count;
  SetBreakCountFromRows(count);
  LocateDetourPoints();
  return 1;
}

void SideLineModel::SetBreakCountFromRows(int rows) { breakCount = std::clamp(rows, 0, kMaxBreaks); }

double SideLineModel::MileageFromBaselineChainage(const CString& prefix, double value) const {
  CString text;
  text.Format("%s%lf", prefix.GetString(), value);
  const int count = std::clamp(baseline->breakCount, 0, kMaxBreaks);
  const double baseMileage = BreakTableChainageToMileage(text, count, baseline->breaks);
  double offset, mileage, x, y;
  MileageOnOtherLine(baseMileage, baseline->elements, baseline->elementCount, elements, elementCount, offset,
                     mileage, x, y);
  return mileage;
}

void SideLineModel::LocateDetourPoints() {
  if (baseline == nullptr) return;
  for (int i = 0; i < detourPointCount;) {
    int j = i;
    while (j + 1 < detourPointCount && detourPoints[j + 1].number == detourPoints[i].number) ++j;
    // The run i .. j: its first point from its baseline chainage, the others
    // by their chainage steps, and its last again from its own chainage.
    DetourPoint& first = detourPoints[i];
    const double m = MileageFromBaselineChainage(first.prefixBefore, first.before);
    first.mileage = m < kNoMileage ? first.after : m;
    for (int k = i + 1; k <= j; ++k) {
      const DetourPoint& previous = detourPoints[k - 1];
      detourPoints[k].mileage = detourPoints[k].before + (previous.mileage - previous.after);
    }
    DetourPoint& last = detourPoints[j];
    const double end = MileageFromBaselineChainage(last.prefixAfter, last.after);
    last.mileage = end > 0.001 ? end : EndMileage();
    i = j + 1;
  }
}

int SideLineModel::DetourCount() const {
  int runs = 0;
  for (int i = 0; i < ipCount; ++i) {
    if (sideIps[i].kind == 1 && (i == 0 || sideIps[i - 1].kind != 1)) ++runs;
  }
  return runs;
}

void SideLineModel::DetourIpRange(int section, int& first, int& last) const {
  int run = -1;
  for (int i = 0; i < ipCount; ++i) {
    if (sideIps[i].kind != 1 || (i > 0 && sideIps[i - 1].kind == 1)) continue;
    if (++run != section) continue;
    first = i;
    last = i;
    while (last + 1 < ipCount && sideIps[last + 1].kind == 1) ++last;
    return;
  }
}

void SideLineModel::DetourPointRange(int section, int& first, int& last) const {
  first = -1;
  last = -1;
  for (int i = 0; i < detourPointCount; ++i) {
    if (detourPoints[i].number != section) continue;
    first = i;
    last = i;
    while (last + 1 < detourPointCount && detourPoints[last + 1].number == section) ++last;
    return;
  }
}

double SideLineModel::ProjectOntoBaseline(double mileage) const {
  LinePoint point{};
  point.mileage = mileage;
  if (PointAtMileage(elements, elementCount, point) < 0) return -1.0;
  return MileageOfPointOnElements(baseline->elements, baseline->elementCount, point.x, point.y);
}

void SideLineModel::DetourRangeOnBaseline(int section, double& start, double& end) const {
  int first, last;
  DetourPointRange(section, first, last);
  if (first < 0 || baseline == nullptr) {
    start = -1.0;
    end = -1.0;
    return;
  }
  const double baseStart = baseline->StartMileage();
  const double baseEnd = baseline->EndMileage();
  start = ProjectOntoBaseline(detourPoints[first].mileage);
  end = ProjectOntoBaseline(detourPoints[last].mileage);
  if (start < kNoMileage || std::fabs(start - baseStart) < kBaselineEndSnap) start = baseStart;
  if (end < kNoMileage || std::fabs(end - baseEnd) < kBaselineEndSnap) end = baseEnd;
}

int SideLineModel::FindDetourAtMileage(double baselineMileage) const {
  const int sections = DetourCount();
  for (int section = 0; section < sections; ++section) {
    double start, end;
    DetourRangeOnBaseline(section, start, end);
    if (start <= baselineMileage && baselineMileage <= end) return section;
  }
  return -1;
}

int SideLineModel::DetourIntersectionList(int section, IpRecord* records, int room, int& count) const {
  count = 0;
  int first = -1, last = -1;
  DetourIpRange(section, first, last);
  int pointFirst, pointLast;
  DetourPointRange(section, pointFirst, pointLast);
  if (first < 0 || pointFirst < 0) return 0;

  const bool withStart = first > 0;
  const bool withEnd = last < ipCount - 1;
  const int needed = (last - first + 1) + (withStart ? 1 : 0) + (withEnd ? 1 : 0);
  if (records == nullptr || needed > room) {
    acutPrintf("\n%s绕行段%d的交点数%d超出所给空间%d", ipPrefix, section, needed, room);
    return 0;
  }

  int k = 0;
  auto addPoint = [&](double mileage) {
    LinePoint point{};
    point.mileage = mileage;
    if (PointAtMileage(elements, elementCount, point) < 0) return false;
    records[k] = IpRecord{static_cast<double>(k + 1), point.x, point.y, 0.0, 0.0, 0.0};
    ++k;
    return true;
  };
  bool placed = !withStart || addPoint(detourPoints[pointFirst].mileage);
  for (int i = first; placed && i <= last; ++i, ++k) {
    records[k] = IpRecord{static_cast<double>(k + 1), ips[i].x, ips[i].y, ips[i].L1, ips[i].R, ips[i].L2};
  }
  placed = placed && (!withEnd || addPoint(detourPoints[pointLast].mileage));
  if (!placed) {
    acutPrintf("\n%s绕行段%d的起终点不在线路上", ipPrefix, section);
    return 0;
  }
  count = k;
  return 1;
}

void SideLineModel::MapIntersectionsToBaseline() {
  const bool ready = baseline != nullptr && IsBuilt() && baseline->IsBuilt();
  for (int i = 0; i < ipCount; ++i) {
    SideIpRecord& s = sideIps[i];
    s.lengthDifference = 0.0;
    if (!ready) continue;
    const bool inner = i > 0 && i < ipCount - 1;
    if (s.kind == 0) {
      if (!inner || !BaselineIpValid(s.baselineIp)) continue;
      const double zh = ProjectOntoBaseline(curves[i].ZH);
      const double hz = ProjectOntoBaseline(curves[i].HZ);
      if (zh < kNoMileage || hz < kNoMileage) continue;
      const CurveRecord& tied = baseline->curves[s.baselineIp];
      const double from = std::min(zh, tied.ZH);
      const double to = std::max(hz, tied.HZ);
      // The baseline range carried back onto this line.
      double offset, m1, m2, x, y;
      MileageOnOtherLine(from, baseline->elements, baseline->elementCount, elements, elementCount, offset, m1, x, y);
      MileageOnOtherLine(to, baseline->elements, baseline->elementCount, elements, elementCount, offset, m2, x, y);
      if (m1 < kNoMileage || m2 < kNoMileage) continue;
      const double D = (m2 - m1) - (to - from);
      s.lengthDifference = StoredDifference(D, std::fabs(D) > 0.01);
    } else if (s.kind >= 2 && s.kind <= 4) {
      const double zh = ProjectOntoBaseline(curves[i].ZH);
      const double hz = ProjectOntoBaseline(curves[i].HZ);
      if (zh < kNoMileage || hz < kNoMileage) continue;
      const double D = (curves[i].HZ - curves[i].ZH) - (hz - zh);
      s.lengthDifference = StoredDifference(D, std::fabs(D) >= 0.01);
    }
  }
}
