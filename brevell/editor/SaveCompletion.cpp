// The bench marks' and the traverse's values worked out before a save
// (SaveCompletion.h).

#include "SaveCompletion.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "AlignmentModel.h"
#include "geometry/GeoFunctions.h"

namespace {

constexpr double kPi = std::numbers::pi;

CString Formatted(const char* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

double Number(const TableCells& cells, int row, const char* header) {
  return std::atof(cells.Text(row, header).GetString());
}

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
  const bool chainage = cells.Filled(row, "里程数") && cells.Filled(row, "距中线距离");
  const bool coordinates = cells.Filled(row, "坐标N") && cells.Filled(row, "坐标E");
  if (chainage && !coordinates) {
    LinePoint p;
    if (!PointOfChainage(model, cells.Text(row, "里程冠号"), Number(cells, row, "里程数"), p)) return;
    const double d = Number(cells, row, "距中线距离");
    cells.SetText(row, "坐标N", Formatted("%.3lf", p.x + d * std::cos(p.bearing + kPi / 2.0)));
    cells.SetText(row, "坐标E", Formatted("%.3lf", p.y + d * std::sin(p.bearing + kPi / 2.0)));
  } else if (coordinates && !chainage) {
    const double N = Number(cells, row, "坐标N");
    const double E = Number(cells, row, "坐标E");
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
    cells.SetText(row, "里程数", Formatted("%.3lf", value));
    cells.SetText(row, "距中线距离", Formatted("%.3lf", d));
  }
}

bool HasStation(const TableCells& cells, int row) {
  return row >= 1 && row <= cells.RowCount() && cells.Filled(row, "纬距") && cells.Filled(row, "经距");
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
    if (!cells.Filled(i, "里程") && HasStation(cells, i)) {
      const double m = model.ProjectOnBaseLine(Number(cells, i, "纬距"), Number(cells, i, "经距"));
      if (m >= 0.0) cells.SetText(i, "里程", Formatted("%.3lf", m));
    }
    if (!HasStation(cells, i) || !HasStation(cells, i + 1)) continue;
    if (cells.Filled(i, "方位角") && cells.Filled(i, "距离") && cells.Filled(i, "右角")) continue;
    double bearing = 0.0;
    const double length = DistanceAndDirection(Number(cells, i, "纬距"), Number(cells, i, "经距"),
                                               Number(cells, i + 1, "纬距"), Number(cells, i + 1, "经距"), bearing);
    cells.SetText(i, "方位角", Formatted("%.4lf", RadiansToDms(bearing)));
    cells.SetText(i, "距离", Formatted("%.4lf", length));
    if (cells.Filled(i, "右角")) continue;
    if (i == 1) {
      // The first station has no leg before it (row 0 holds the headers), so
      // its right angle is 0 by definition: it is never worked out from the
      // header row, whose texts are no bearing.
      cells.SetText(i, "右角", "0");
      continue;
    }
    if (!cells.Filled(i - 1, "方位角")) continue;
    double angle = DmsToRadians(Number(cells, i - 1, "方位角")) + kPi - DmsToRadians(Number(cells, i, "方位角"));
    while (angle < 0.0) angle += 2.0 * kPi;
    while (angle >= 2.0 * kPi) angle -= 2.0 * kPi;
    cells.SetText(i, "右角", Formatted("%.4lf", RadiansToDms(angle)));
  }
}
