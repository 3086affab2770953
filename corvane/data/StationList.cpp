// The station list of an alignment model: regular stations at a chainage
// interval, the chainage breaks, the key points of every curve and the ends
// of the structures, in mileage order.

#include <algorithm>
#include <cmath>

#include "AlignmentModel.h"
#include "arx/edoutput.h"

namespace {

// Allowance of the range ends.
constexpr double kRangeAllowance = 0.001;
// A regular station closer than this after a break's chainage is the break.
constexpr double kOnMultiple = 0.0001;
// Entries closer than this are one station.
constexpr double kMergeDistance = 0.001;
// Structures shorter than this add no stations.
constexpr double kShortestStructure = 0.01;
// The most regular stations one list may take.
constexpr double kMaxRegularStations = 1e7;

void StructureKinds(char letter, int& startKind, int& endKind) {
  switch (letter) {
    case 'B':
      endKind = kStationBridgeEnd;
      break;
    case 'T':
      endKind = kStationTunnelEnd;
      break;
    case 'S':
      endKind = kStationStationEnd;
      break;
    default:
      endKind = kStationOtherEnd;
      break;
  }
  startKind = -endKind;
}

}  // namespace

int AlignmentModel::BuildStationList(double interval, double startMileage, double endMileage) {
  stations.RemoveAll();
  stationCount = 0;
  if (!(interval > 0.0)) {
    acutPrintf("\n桩号间距%0.3f不大于0, 不能生成桩号表", interval);
    return 0;
  }
  const double lo = startMileage - kRangeAllowance;
  const double hi = endMileage + kRangeAllowance;
  if (!((hi - lo) / interval < kMaxRegularStations)) {
    acutPrintf("\n桩号间距%0.3f过小, 不能生成桩号表", interval);
    return 0;
  }
  auto add = [this](int kind, double mileage) { stations.Add(StationPoint{kind, mileage}); };

  const int count = std::clamp(breakCount, 0, kMaxBreaks);
  double M = count > 0 ? breaks[0].before + breaks[0].length : 0.0;
  if (count > 0 && lo < M && M < hi) add(kStationBreak, M);
  for (int i = 0; i + 1 < count; ++i) {
    if (i > 0 && lo < M && M < hi) add(kStationBreak, M);
    // The chainage run from the chainage after break i to the chainage
    // before break i + 1, at the multiples of the interval; one that falls
    // on the break itself is the break.
    const double a = breaks[i].before + breaks[i].length;
    const double next = breaks[i + 1].before;
    const double B = interval * std::trunc(a / interval);
    const double first = B - a < kOnMultiple ? B + interval : B;
    // Multiples whose mileage lies before the range are skipped.
    const double skip = std::floor((lo - M + a - first) / interval) - 1.0;
    for (double k = std::max(0.0, skip);; k += 1.0) {
      const double C = first + k * interval;
      if (!(C < next)) break;
      const double F = C + M - a;
      if (F >= hi) break;
      if (lo < F) add(kStationRegular, F);
    }
    M += next - a;
  }
  // The end: the end of the line when the range reaches past it.
  add(kStationRegular, count > 0 && hi > M ? M : endMileage);
  stationCount = static_cast<int>(stations.GetSize());
  return stationCount;
}

int AlignmentModel::InsertCurvePoints() {
  std::vector<StationPoint> points;
  points.reserve(static_cast<size_t>(std::max(0, ipCount - 2)) * 4);
  for (int t = 1; t < ipCount - 1; ++t) {
    const CurveRecord& c = curves[t];
    points.push_back({kStationZH, c.ZH});
    points.push_back({kStationHY, c.HY});
    points.push_back({kStationYH, c.YH});
    points.push_back({kStationHZ, c.HZ});
  }
  MergeIntoStations(points);
  return 1;
}

void AlignmentModel::InsertStructurePoints(int count, const MileageRange* ranges, char letter) {
  if (ranges == nullptr || count <= 0) return;
  int startKind, endKind;
  StructureKinds(letter, startKind, endKind);
  std::vector<StationPoint> points;
  points.reserve(static_cast<size_t>(count) * 2);
  for (int i = 0; i < count; ++i) {
    if (std::fabs(ranges[i].end - ranges[i].start) < kShortestStructure) continue;
    points.push_back({startKind, ranges[i].start});
    points.push_back({endKind, ranges[i].end});
  }
  MergeIntoStations(points);
}

// Merges `points` into the list by mileage. Points before the first entry
// or beyond the last are outside the listed range and are left out. An entry
// within 0.001 m of the one before it is not added: its kind replaces that
// entry's kind, whose mileage stays.
void AlignmentModel::MergeIntoStations(std::vector<StationPoint>& points) {
  const INT_PTR size = stations.GetSize();
  if (size == 0) return;
  std::stable_sort(points.begin(), points.end(),
                   [](const StationPoint& a, const StationPoint& b) { return a.mileage < b.mileage; });
  const double first = stations[0].mileage;
  const double last = stations[size - 1].mileage + kMergeDistance;

  std::vector<StationPoint> merged;
  merged.reserve(static_cast<size_t>(size) + points.size());
  auto add = [&merged](const StationPoint& p) {
    if (!merged.empty() && std::fabs(p.mileage - merged.back().mileage) < kMergeDistance) {
      merged.back().kind = p.kind;
    } else {
      merged.push_back(p);
    }
  };
  size_t j = 0;
  while (j < points.size() && points[j].mileage < first) ++j;
  size_t end = points.size();
  while (end > j && points[end - 1].mileage > last) --end;
  for (INT_PTR i = 0; i < size || j < end;) {
    if (j >= end || (i < size && stations[i].mileage <= points[j].mileage)) {
      add(stations[i++]);
    } else {
      add(points[j++]);
    }
  }
  stations.RemoveAll();
  for (const StationPoint& p : merged) stations.Add(p);
  stationCount = static_cast<int>(stations.GetSize());
}
