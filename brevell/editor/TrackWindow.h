#pragma once
// The window the table editor's track display zooms to for one row, in
// drawing coordinates (x east, y north), with s the plan's scale factor:
//
//   tunnels      the line point at start − 30·s to the line point at end + 30·s
//   bridges      the centre's line point ± (0.8 × 桥全长 + 10·s)
//   culverts     the centre's line point ± 20·s
//   stations     the station building centre's line point ± 60·s
//   bench marks  (坐标E, 坐标N) ± 20·s when 坐标N or 坐标E is at least 0.0001,
//                else the line point at 里程冠号 + 里程数 moved 距中线距离
//                to the right (bearing + π/2), ± 20·s
//   traverse     (经距, 纬距) ± 20·s; nothing when both are below 0.1
//   curves       (坐标E, 坐标N) ± 500 drawing units
//   breaks       the line point at 等号左里程冠号 + 等号左里程数 ± 20·s
//
// Cells are found by their column headers, so the detour layouts (one
// column further right) read the same cells. A chainage is taken on the line
// of the table (基线, 左线, 右线; a detour table's rows in their 绕行段编号's
// segment) and must lie within that line's drawing range; an empty chainage,
// one outside the range, or a line without elements gives no window.

#include "TableCells.h"
#include "arx/gegeometry.h"

class AlignmentModel;

// The family of a table the editor opens, by its exact name.
enum class PlanTableFamily { kNone, kCurve, kBreak, kBridge, kTunnel, kCulvert, kStation, kBenchMark, kTraverse };
PlanTableFamily FamilyOfTable(const CString& table);
// The line code of a table (左线… −1, 右线… +1, any other 0).
int LineOfTable(const CString& table);

// The two corners for row `row` of table `table`; false when the row gives
// no window.
bool TrackWindow(const AlignmentModel& model, const CString& table, const TableCells& cells, int row,
                 AcGePoint2d& first, AcGePoint2d& second);
