#include "AlignmentModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "arx/edoutput.h"
#include "geometry/ElementState.h"
#include "geometry/GeoFunctions.h"
#include "project/GbkText.h"
#include "project/TechParams.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Curves whose circular part or the straight before them is shorter than
// this are reported.
constexpr double kShortLength = 20.0;
// Work elements not longer than this are left out of the element list.
constexpr double kShortestElement = 0.001;

const BreakRecord kDefaultStart = {0.0, 0.0, "AK", "AK"};
const BreakRecord kDefaultEnd = {9000000.0, 0.0, "AK", "AK"};

void SetRecord(BreakRecord& record, double before, double length, const char* prefixBefore,
               const char* prefixAfter) {
  record.before = before;
  record.length = length;
  SetBreakPrefixes(record, prefixBefore ? prefixBefore : "", prefixAfter ? prefixAfter : "");
}

int ElementType(const LineElement& element) { return static_cast<int>(element.type + 0.01); }

// The measure by which a work element is kept in the element list: the
// length, but the radius for an arc.
double KeepMeasure(const LineElement& e) {
  int type;
  const double length = ElementLength(e, type);
  return type == kElementArc ? e.p1 : length;
}

}  // namespace

AlignmentModel::AlignmentModel() { Reset(); }

AlignmentModel::~AlignmentModel() = default;

int AlignmentModel::Reset() {
  std::fill(std::begin(ips), std::end(ips), IpRecord{});
  std::fill(std::begin(curves), std::end(curves), CurveRecord{});
  std::fill(std::begin(breaks), std::end(breaks), BreakRecord{});
  ClearElements();
  ipCount = 0;
  curveNumberOffset = 0;
  breakCount = 2;
  breaks[0] = kDefaultStart;
  breaks[1] = kDefaultEnd;
  CopyTextBounded(ipPrefix, sizeof ipPrefix, "JD", kChainPrefixGbkMax);

  ReadTechParams();
  speed = TechDesignSpeed();
  nameText = TechParamName();
  param2 = TechParam2();

  stations.RemoveAll();
  stationCount = 0;
  for (std::vector<double>& buffer : stationWork) std::vector<double>().swap(buffer);
  return 1;
}

void AlignmentModel::ClearElements() {
  std::memset(workElements, 0, sizeof workElements);
  std::memset(elements, 0, sizeof elements);
  elementCount = 0;
  lineLength = 0.0;
}

int AlignmentModel::SetBreak(int index, double before, double length, const char* prefixBefore,
                             const char* prefixAfter) {
  if (index < 0 || index >= breakCount || index >= kMaxBreaks) return 0;
  SetRecord(breaks[index], before, length, prefixBefore, prefixAfter);
  if (index == 0) ips[0].L1 = before + length;
  return 1;
}

int AlignmentModel::SetBreakTable(int count, const BreakRecord* records) {
  if (records == nullptr || count < 1 || count > kMaxBreaks) {
    acutPrintf("\n断链数%d超出范围(1~%d), 断链表未更改", count, kMaxBreaks);
    return 0;
  }
  breakCount = count;
  for (int i = 0; i < count; ++i) {
    // The prefixes are copied as texts, bounded to their fields.
    char before[kChainPrefixSize + 1] = {};
    char after[kChainPrefixSize + 1] = {};
    std::memcpy(before, records[i].prefixBefore, kChainPrefixSize);
    std::memcpy(after, records[i].prefixAfter, kChainPrefixSize);
    SetRecord(breaks[i], records[i].before, records[i].length, before, after);
  }
  ips[0].L1 = breaks[0].before + breaks[0].length;
  return 1;
}

int AlignmentModel::CreateFromRecords(int n, const IpRecord* records, const char* prefix, const char* ipPrefixText) {
  Reset();
  if (records == nullptr || n < 2 || n > kMaxIps) {
    acutPrintf("\n线路交点数%d超出范围(2~%d), 不能建立线路模型", n, kMaxIps);
    return 0;
  }
  CopyTextBounded(ipPrefix, sizeof ipPrefix, ipPrefixText ? ipPrefixText : "", kChainPrefixGbkMax);
  std::copy(records, records + n, ips);
  ipCount = n;
  breakCount = 2;
  SetRecord(breaks[0], ips[0].L1, 0.0, prefix, prefix);
  SetRecord(breaks[1], ips[0].L1, 0.0, prefix, prefix);
  return BuildLineElements();
}

bool AlignmentModel::CheckIps() {
  if (ipCount < 2 || ipCount > kMaxIps) {
    acutPrintf("\n线路交点数%d超出范围(2~%d), 不能建立线路模型", ipCount, kMaxIps);
    return false;
  }
  bool ok = true;
  for (int t = 1; t < ipCount - 1; ++t) {
    if (ips[t].R > 0.0) continue;
    acutPrintf("\n%s%d号交点的曲线半径R=%0.3f不大于0, 不能建立线路模型", ipPrefix,
                      static_cast<int>(std::lround(ips[t].number)), ips[t].R);
    ok = false;
  }
  return ok;
}

int AlignmentModel::BuildLineElements() {
  ClearElements();
  std::fill(std::begin(curves), std::end(curves), CurveRecord{});
  if (!CheckIps()) return 0;

  const int n = ipCount;
  double legBearing[kMaxIps];
  double legLength[kMaxIps];
  for (int t = 0; t + 1 < n; ++t) {
    legLength[t] = DistanceAndDirection(ips[t].x, ips[t].y, ips[t + 1].x, ips[t + 1].y, legBearing[t]);
    if (legBearing[t] >= kTwoPi) legBearing[t] -= kTwoPi;
  }

  const double start = ips[0].L1;
  workElements[0] = LineElement{kElementStart, ips[0].x, ips[0].y, RadiansToDms(legBearing[0]), start};
  curves[0] = CurveRecord{start, start, start, start, 0.0, 0.0, 0.0, 0.0, 0.0};

  BuildCurves(legBearing, legLength);
  WriteEndBreak();

  const int count = CompactElements(legBearing);
  if (count < 0) {
    acutPrintf("\n线元数超过%d个, 不能建立线路模型", kMaxElements - 1);
    ClearElements();
    return 0;
  }
  PlaceElementStarts(count);
  elementCount = count;
  return 1;
}

void AlignmentModel::BuildCurves(const double* legBearing, const double* legLength) {
  const int n = ipCount;
  for (int t = 1; t <= n - 2; ++t) {
    const double R = ips[t].R;
    const double L1 = ips[t].L1;
    const double L2 = ips[t].L2;
    double w = legBearing[t] - legBearing[t - 1];
    if (w < -kPi) {
      w += kTwoPi;
    } else if (w > kPi) {
      w -= kTwoPi;
    }
    const double turn = w > 0.0 ? 1.0 : -1.0;
    const double alpha = std::fabs(w);

    CurveTangents ct{};
    CurveTangentsAndLength(RadiansToDms(alpha), R, L1, L2, ct);
    const double L = ct.L;
    const double Lc = L - L1 - L2;
    if (L < L1 + L2) {
      acutPrintf("\n%d号曲线 前后缓和曲线重叠：缓长L1+L2=%10.3f>大于曲线长L=%10.3f ", t, L1 + L2, L);
    } else if (Lc < kShortLength) {
      acutPrintf("\n %d号曲线的(R=%8.1f)圆曲线长L=%10.3f 不足20m ", t, R, Lc);
    }

    const CurveRecord& previous = curves[t - 1];
    const double G = legLength[t - 1] - previous.T2 - ct.T1;
    workElements[kSlotsPerIp * t] = LineElement{kElementStraight, G, 0.0, 0.0, 0.0};

    CurveRecord& curve = curves[t];
    curve.ZH = previous.HZ + G;
    curve.HY = curve.ZH + L1;
    curve.YH = curve.HY + Lc;
    curve.HZ = curve.YH + L2;
    curve.alpha = alpha;
    curve.T1 = ct.T1;
    curve.T2 = ct.T2;
    curve.L = L;
    curve.turn = turn;

    if (G < kShortLength) {
      acutPrintf("\n %d号曲线起点ZH/ZY距前一曲线HZ/ZY距离=%-10.3f ", curveNumberOffset + t - 1, G);
      if (G < 0.0) acutPrintf("  超过前一曲线HZ/YZ不合法 ");
    }

    const double A1 = std::sqrt(L1 * R);
    const double A2 = std::sqrt(L2 * R);
    if (A1 > 1e-9) workElements[kSlotsPerIp * t + 1] = LineElement{kElementEnteringSpiral, A1, R, 0.0, turn};
    if (Lc > 1e-9) workElements[kSlotsPerIp * t + 2] = LineElement{kElementArc, R, Lc, 0.0, turn};
    if (A2 > 1e-9) workElements[kSlotsPerIp * t + 3] = LineElement{kElementLeavingSpiral, A2, R, 0.0, turn};
  }

  // The final straight, and the end of the line.
  const CurveRecord& last = curves[n - 2];
  const double d = legLength[n - 2] - last.T2;
  if (d > 1e-10) workElements[kSlotsPerIp * (n - 1)] = LineElement{kElementStraight, d, 0.0, 0.0, 0.0};
  const double end = last.HZ + d;
  curves[n - 1] = CurveRecord{end, end, end, end, 0.0, 0.0, 0.0, 0.0, 0.0};
  lineLength = end - curves[0].ZH;
}

void AlignmentModel::WriteEndBreak() {
  // The end record closes the table; a table of fewer than two records has
  // no room for it.
  if (breakCount < 2 || breakCount > kMaxBreaks) return;
  char prefix[kChainPrefixSize];
  std::memcpy(prefix, breaks[breakCount - 2].prefixAfter, sizeof prefix);
  prefix[kChainPrefixSize - 1] = '\0';
  const double value = MileageToChainage(EndMileage(), prefix, breakCount - 1, sizeof prefix);
  SetRecord(breaks[breakCount - 1], value, 0.0, prefix, prefix);
}

int AlignmentModel::CompactElements(const double* legBearing) {
  PlacedElement& first = elements[0];
  static_cast<LineElement&>(first) = workElements[0];
  first.bearing = legBearing[0];
  first.mileage = ips[0].L1;
  first.radius = kInfiniteRadius;
  first.x = ips[0].x;
  first.y = ips[0].y;

  int count = 1;
  for (int t = 1; t < ipCount; ++t) {
    for (int slot = 0; slot < kSlotsPerIp; ++slot) {
      const LineElement& work = workElements[kSlotsPerIp * t + slot];
      if (!(KeepMeasure(work) > kShortestElement)) continue;
      // Room for this element and for the end record after the last.
      if (count + 1 >= kMaxElements) return -1;
      PlacedElement& placed = elements[count++];
      static_cast<LineElement&>(placed) = work;
      if (ElementType(work) != kElementStraight) continue;
      // A straight starts on its leg, T2 of the previous curve after that IP.
      const double b = legBearing[t - 1];
      placed.bearing = b;
      placed.mileage = curves[t - 1].HZ;
      placed.radius = kInfiniteRadius;
      placed.x = ips[t - 1].x + curves[t - 1].T2 * std::cos(b);
      placed.y = ips[t - 1].y + curves[t - 1].T2 * std::sin(b);
    }
  }
  return count;
}

void AlignmentModel::PlaceElementStarts(int count) {
  const PlacedElement& startRecord = elements[0];
  LinePoint state{startRecord.x, startRecord.y, startRecord.bearing, kInfiniteRadius, startRecord.mileage};
  for (int k = 1; k < count; ++k) {
    PlacedElement& element = elements[k];
    if (ElementType(element) != kElementStraight) {
      element.bearing = state.bearing;
      element.mileage = state.mileage;
      element.radius = state.radius;
      element.x = state.x;
      element.y = state.y;
    }
    const LinePoint from = StartStateOf(element);
    PointOnElementAtDistance(from, state, ElementLength(element), element);
  }
  // The record after the last holds the end of the line.
  PlacedElement& end = elements[count];
  end = PlacedElement{};
  end.bearing = state.bearing;
  end.mileage = state.mileage;
  end.radius = state.radius;
  end.x = state.x;
  end.y = state.y;
}

double AlignmentModel::MileageToChainage(double mileage, char* prefixOut, int count, size_t prefixOutSize) const {
  count = std::clamp(count, 0, kMaxBreaks);
  return BreakTableMileageToChainage(mileage, prefixOut, count, breaks, prefixOutSize);
}

double AlignmentModel::ChainageToMileage(const char* chainageText, int count) const {
  count = std::clamp(count, 0, kMaxBreaks);
  return BreakChainageToMileage(chainageText, count, breaks, kAlignmentModelRules);
}
