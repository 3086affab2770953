// The window of a row that the table editor's track display zooms to
// (TrackWindow.h).

#include "TrackWindow.h"

#include <algorithm>
#include <cmath>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "project/SchemeValues.h"

namespace {

struct FamilyNames {
  PlanTableFamily family;
  const char* names[3];
};

const FamilyNames kFamilies[] = {
    {PlanTableFamily::kCurve, {"曲线表", "左线曲线表", "右线曲线表"}},
    {PlanTableFamily::kBreak, {"断链表", "左线断链表", "右线断链表"}},
    {PlanTableFamily::kBridge, {"大中桥", "左线绕行段大中桥", "右线绕行段大中桥"}},
    {PlanTableFamily::kTunnel, {"隧道", "左线绕行段隧道", "右线绕行段隧道"}},
    {PlanTableFamily::kCulvert, {"小桥涵", "左线绕行段小桥涵", "右线绕行段小桥涵"}},
    {PlanTableFamily::kStation, {"车站", "左线绕行段车站", "右线绕行段车站"}},
    {PlanTableFamily::kBenchMark, {"水准点表", "左线绕行段水准点表", "右线绕行段水准点表"}},
    {PlanTableFamily::kTraverse, {"导线表", "左线绕行段导线表", "右线绕行段导线表"}},
};

// Reads rows of one table on its line.
class RowOnLine {
 public:
  RowOnLine(const AlignmentModel& model, const CString& table, const TableCells& cells, int row)
      : m_model(model), m_cells(cells), m_row(row), m_line(LineOfTable(table)) {
    // A detour table's row lies in its detour segment; the break tables
    // search every segment.
    if (m_line != kBaseLine && cells.ColumnOf("绕行段编号") >= 0)
      m_segment = RoundedInt(cells.Number(row, "绕行段编号"));
  }

  // The mileage of the chainage in the prefix and value cells; false when
  // the value is empty or the mileage lies outside the line's drawing range.
  bool Mileage(const char* prefixHeader, const char* valueHeader, double& mileage) const {
    const PlanLine& line = m_model.Line(m_line);
    if (!line.HasElements() || !m_cells.HoldsNumber(m_row, valueHeader)) return false;
    char text[kChainageTextSize];
    m_model.FormatChainageWithPrecision(m_cells.Text(m_row, prefixHeader).GetString(),
                                        m_cells.Number(m_row, valueHeader), 3, text);
    mileage = m_model.ChainageToLineDistance(m_line, text, m_segment);
    return mileage >= line.range.start && mileage <= line.range.end;
  }

  // The line's point at a mileage, taken within the line's ends.
  bool Point(double mileage, LinePoint& point) const {
    const PlanLine& line = m_model.Line(m_line);
    point = LinePoint{};
    point.mileage = std::clamp(mileage, line.StartMileage(), line.EndMileage());
    return m_model.PointOnLine(m_line, point) != -9;
  }

  bool PointOfChainage(const char* prefixHeader, const char* valueHeader, LinePoint& point) const {
    double mileage = 0.0;
    return Mileage(prefixHeader, valueHeader, mileage) && Point(mileage, point);
  }

 private:
  const AlignmentModel& m_model;
  const TableCells& m_cells;
  int m_row;
  int m_line;
  int m_segment = -1;
};

// The drawing point of a line point (x east, y north).
AcGePoint2d Drawn(const LinePoint& p) { return plandraw::At(p).convert2d(); }

void Around(const AcGePoint2d& centre, double half, AcGePoint2d& first, AcGePoint2d& second) {
  first.set(centre.x - half, centre.y - half);
  second.set(centre.x + half, centre.y + half);
}

}  // namespace

PlanTableFamily FamilyOfTable(const CString& table) {
  for (const FamilyNames& f : kFamilies) {
    for (const char* name : f.names) {
      if (table == name) return f.family;
    }
  }
  return PlanTableFamily::kNone;
}

int LineOfTable(const CString& table) {
  if (table.Find("左线") == 0) return kLeftLine;
  if (table.Find("右线") == 0) return kRightLine;
  return kBaseLine;
}

bool TrackWindow(const AlignmentModel& model, const CString& table, const TableCells& cells, int row,
                 AcGePoint2d& first, AcGePoint2d& second) {
  if (row < 1 || row > cells.RowCount()) return false;
  const double s = model.ScaleFactor();
  const RowOnLine on(model, table, cells, row);
  LinePoint p;
  switch (FamilyOfTable(table)) {
    case PlanTableFamily::kTunnel: {
      double start = 0.0, end = 0.0;
      LinePoint q;
      if (!on.Mileage("起点里程冠号", "起点里程数", start) || !on.Mileage("终点里程冠号", "终点里程数", end) ||
          !on.Point(start - 30.0 * s, p) || !on.Point(end + 30.0 * s, q))
        return false;
      first = Drawn(p);
      second = Drawn(q);
      return true;
    }
    case PlanTableFamily::kBridge:
      if (!on.PointOfChainage("中心里程冠号", "中心里程数", p)) return false;
      Around(Drawn(p), 0.8 * cells.Number(row, "桥全长") + 10.0 * s, first, second);
      return true;
    case PlanTableFamily::kCulvert:
      if (!on.PointOfChainage("中心里程冠号", "中心里程数", p)) return false;
      Around(Drawn(p), 20.0 * s, first, second);
      return true;
    case PlanTableFamily::kStation:
      if (!on.PointOfChainage("站房中心里程冠号", "站房中心里程数", p)) return false;
      Around(Drawn(p), 60.0 * s, first, second);
      return true;
    case PlanTableFamily::kBenchMark: {
      const double N = cells.Number(row, "坐标N");
      const double E = cells.Number(row, "坐标E");
      if (N >= 0.0001 || E >= 0.0001) {
        Around(AcGePoint2d(E, N), 20.0 * s, first, second);
        return true;
      }
      if (!on.PointOfChainage("里程冠号", "里程数", p)) return false;
      const LinePoint at = plandraw::Moved(p, cells.Number(row, "距中线距离"), p.bearing + plandraw::kPi / 2.0);
      Around(Drawn(at), 20.0 * s, first, second);
      return true;
    }
    case PlanTableFamily::kTraverse: {
      const double N = cells.Number(row, "纬距");
      const double E = cells.Number(row, "经距");
      if (N < 0.1 && E < 0.1) return false;
      Around(AcGePoint2d(E, N), 20.0 * s, first, second);
      return true;
    }
    case PlanTableFamily::kCurve:
      Around(AcGePoint2d(cells.Number(row, "坐标E"), cells.Number(row, "坐标N")), 500.0, first, second);
      return true;
    case PlanTableFamily::kBreak:
      if (!on.PointOfChainage("等号左里程冠号", "等号左里程数", p)) return false;
      Around(Drawn(p), 20.0 * s, first, second);
      return true;
    case PlanTableFamily::kNone:
      break;
  }
  return false;
}
