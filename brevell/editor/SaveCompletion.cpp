// The bench marks' and the traverse's values worked out before a save
// (SaveCompletion.h).

#include "SaveCompletion.h"

#include <cmath>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "geometry/GeoFunctions.h"

namespace {

// The mileage of a chainage on the base line; false when the chainage does
// not lie on it.
bool PointOfChainage(const AlignmentModel& model, const CString& prefix, double value, LinePoint& point) {
  char text[kChainageTextSize];
  model.FormatChainageWithPrecision(prefix.GetString(), value, 3, text);
  point = LinePoint{};
  point.mileage = model.ChainageToMileage(text);
  return model.PointOnLine(kBaseLine, point) != -9;
}

void CompleteBenchMark(const AlignmentModel& model, TableCells& cells, int row) {
  const bool chainage = cells.HoldsNumber(row, "里程数") && cells.HoldsNumber(row, "距中线距离");
  const bool coordinates = cells.HoldsNumber(row, "坐标N") && cells.HoldsNumber(row, "坐标E");
  if (chainage && !coordinates) {
    LinePoint p;
    if (!PointOfChainage(model, cells.Text(row, "里程冠号"), cells.Number(row, "里程数"), p)) return;
    const LinePoint at = plandraw::Moved(p, cells.Number(row, "距中线距离"), p.bearing + plandraw::kPi / 2.0);
    cells.SetText(row, "坐标N", plandraw::Fixed(at.x, 3));
    cells.SetText(row, "坐标E", plandraw::Fixed(at.y, 3));
  } else if (coordinates && !chainage) {
    const double N = cells.Number(row, "坐标N");
    const double E = cells.Number(row, "坐标E");
    LinePoint foot{};
    foot.mileage = model.ProjectOnBaseLine(N, E);
    if (foot.mileage < 0.0 || model.PointOnLine(kBaseLine, foot) == -9) return;
    // The side by a point 100 m on along the line: right of it is positive.
    const double side = SideOfLine(foot.x, foot.y, foot.x + 100.0 * std::cos(foot.bearing),
                                   foot.y + 100.0 * std::sin(foot.bearing), N, E);
    const double d = std::hypot(N - foot.x, E - foot.y) * (side > 0.0 ? -1.0 : 1.0);
    char prefix[kChainPrefixSize] = {};
    const double value = model.MileageToChainage(foot.mileage, prefix);
    cells.SetText(row, "里程冠号", CString(prefix));
    cells.SetText(row, "里程数", plandraw::Fixed(value, 3));
    cells.SetText(row, "距中线距离", plandraw::Fixed(d, 3));
  }
}

bool HasStation(const TableCells& cells, int row) {
  return row >= 1 && row <= cells.RowCount() && cells.HoldsNumber(row, "纬距") && cells.HoldsNumber(row, "经距");
}

}  // namespace

void CompleteBenchMarks(const AlignmentModel& model, TableCells& cells) {
  if (cells.ColumnOf("坐标N") < 0 || cells.ColumnOf("坐标E") < 0 || cells.ColumnOf("里程数") < 0 ||
      cells.ColumnOf("距中线距离") < 0)
    return;
  for (int row = 1; row <= cells.RowCount(); ++row) {
    if (cells.RowHasText(row)) CompleteBenchMark(model, cells, row);
  }
}

void CompleteTraverse(const AlignmentModel& model, TableCells& cells) {
  if (cells.ColumnOf("纬距") < 0 || cells.ColumnOf("经距") < 0) return;
  for (int i = 1; i <= cells.RowCount(); ++i) {
    if (!cells.RowHasText(i)) continue;
    if (!cells.HoldsNumber(i, "里程") && HasStation(cells, i)) {
      const double m = model.ProjectOnBaseLine(cells.Number(i, "纬距"), cells.Number(i, "经距"));
      if (m >= 0.0) cells.SetText(i, "里程", plandraw::Fixed(m, 3));
    }
    if (!HasStation(cells, i) || !HasStation(cells, i + 1)) continue;
    if (cells.HoldsNumber(i, "方位角") && cells.HoldsNumber(i, "距离") && cells.HoldsNumber(i, "右角")) continue;
    double bearing = 0.0;
    const double length = DistanceAndDirection(cells.Number(i, "纬距"), cells.Number(i, "经距"),
                                               cells.Number(i + 1, "纬距"), cells.Number(i + 1, "经距"), bearing);
    cells.SetText(i, "方位角", plandraw::Fixed(RadiansToDms(bearing), 4));
    cells.SetText(i, "距离", plandraw::Fixed(length, 4));
    if (cells.HoldsNumber(i, "右角")) continue;
    if (i == 1) {
      // The first station has no leg before it (row 0 holds the headers), so
      // its right angle is 0 by definition: it is never worked out from the
      // header row, whose texts are no bearing.
      cells.SetText(i, "右角", "0");
      continue;
    }
    if (!cells.HoldsNumber(i - 1, "方位角")) continue;
    const double angle = plandraw::Normalized(DmsToRadians(cells.Number(i - 1, "方位角")) + plandraw::kPi -
                                              DmsToRadians(cells.Number(i, "方位角")));
    cells.SetText(i, "右角", plandraw::Fixed(RadiansToDms(angle), 4));
  }
}
