#pragma once
// How the plan module's table editor shows a value it reads from a table
// (the coded columns by the shared rules of controls/TableCodes.h, which
// also turn them back into their codes at a save).
//
//   偏角, 方位角, 右角          cut to 4 digits after the decimal point (not rounded)
//   插旗方式 of a 隧道 table     "0" -> "0-明洞", "1" -> "1-一般隧道", others unchanged
//   插旗方式 of a 小桥涵 table   "0".."7" -> "0-普通" .. "7-自动化平交", others empty
//   any other number           cut to 3 digits after the point (孔跨式样 of a
//                              小桥涵 table unchanged); 0 within 0.00001 unchanged
//   "NULL" or empty            an empty cell
//
// Only a text that reads wholly as a number is cut: a name that begins with
// digits ("1.25号桥") is shown as it is.

#include "mfc/cstring.h"
#include "project/SchemeValues.h"  // CutDecimals

// The text shown in the editor's grid for `value`, read from field `field`
// of table `table` (names compared exactly; the table families by the words
// 隧道 and 小桥涵 in the table's name).
CString PlanCellText(const CString& table, const CString& field, const CString& value);
