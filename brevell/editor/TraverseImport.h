#pragma once
// The traverse survey file that the table editor of 导线表 imports: tokens
// separated by blanks and line ends; 21 header tokens (skipped), the start
// station (name, bearing), then one record per further station: name, right
// angle, 纬距, 经距, 高程, 里程, bearing, 距离. Angles are written d-mm-ss and
// become the packed d.mmss (the first "-" turned into ".", the character
// three places after it dropped); a token without "-" is kept as it is.
//
// Each station gives one row of the columns 桩号, 右角, 方位角, 距离, 纬距,
// 经距, 高程, 里程: 距离 "%.4lf", 纬距 and 经距 "%.3lf", 高程 and 里程
// "%.4lf". The start station has 右角 "0" and "0" in 距离, 纬距, 经距, 高程
// and 里程. A record is complete when its seven further tokens are all there
// and read as numbers (CellNumber.h; the angles once packed): every complete
// record keeps its data, the last one too. A record cut short by the end of
// the file keeps only its name, every other column "0", and the command line
// says "导线文件最后一站数据不全：<name>"; a record whose numbers do not read
// ends the file there the same way (it is that last station), with a note
// naming the file besides.

#include <cstdio>
#include <vector>

#include "mfc/cstring.h"

struct TraverseImportRow {
  static constexpr int kColumns = 8;  // 桩号 .. 里程: grid columns 1 .. 8 of 导线表
  CString cells[kColumns];
};

// The packed form of an angle token ("123-45-30" -> "123.4530").
CString TraverseAngle(const CString& token);

// Reads the stations of an open traverse file; `fileName` names it in notes.
std::vector<TraverseImportRow> ReadTraverseFile(FILE* file, const char* fileName);
