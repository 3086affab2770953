#pragma once
// What the plan module's table editor works out before it saves the base
// line's bench marks and traverse, from the plan model's base line:
//
// 水准点表, per row that holds any text:
//   - 里程数 and 距中线距离 filled, 坐标N or 坐标E empty: the point at the
//     chainage (里程冠号 + 里程数), moved d = 距中线距离 to the right of the
//     line (bearing a + π/2): 坐标N = x + d·cos(a + π/2), 坐标E = y + d·sin(a + π/2), "%.3lf";
//   - 坐标N and 坐标E filled, 里程数 or 距中线距离 empty: the point's foot
//     on the line gives 里程冠号, 里程数 and the signed 距中线距离 (right of
//     the line positive), "%.3lf".
// 导线表, per row i that holds any text:
//   - 里程 empty, 纬距 and 经距 filled: the mileage of the station's foot on
//     the line, "%.3lf";
//   - 纬距 and 经距 of rows i and i + 1 filled, and 方位角, 距离 or 右角 of
//     row i empty: 方位角 and 距离 of the leg from station i to station i + 1
//     ("%.4lf", the bearing packed d.mmss); an empty 右角 becomes
//     方位角(i − 1) + π − 方位角(i) within one turn (d.mmss, "%.4lf"). The first
//     station has no leg before it: its 右角 is "0".
// A chainage or point off the line leaves the row as it was.

#include "TableCells.h"

class AlignmentModel;

void CompleteBenchMarks(const AlignmentModel& model, TableCells& cells);
void CompleteTraverse(const AlignmentModel& model, TableCells& cells);
