#pragma once
// The rows of a side line's tables as the scheme table reader delivers them:
// the curve table (左线曲线表 / 右线曲线表) and the break table
// (左线断链表 / 右线断链表), whose rows are the start and end points of the
// line's detour sections.

#include "mfc/cstring.h"

// One row of a side line's curve table.
struct SideCurveRow {
  int kind = 0;          // 交点属性: 0 tied to a baseline IP, 1 IP of a detour section, 2 to 4 others
  int secondLineIp = 0;  // 二线交点号
  double x = 0.0;        // 坐标N
  double y = 0.0;        // 坐标E
  double L1 = 0.0;       // 前缓和曲线
  double R = 0.0;        // 曲线半径
  double L2 = 0.0;       // 后缓和曲线
  int baselineIp = 0;    // 一线交点号: index of the baseline IP it is tied to
  double spacing = 0.0;  // 线间距: offset from the baseline, towards the right of its bearing when positive
};

// One row of a side line's break table.
struct SideBreakRow {
  int number = 0;          // 编号: the detour section the point belongs to
  CString remark;          // 附注
  double before = 0.0;     // 等号左里程数: chainage value on the baseline side
  double after = 0.0;      // 等号右里程数: chainage value on this line's side
  double unused = 0.0;
  CString prefixBefore;    // 等号左里程冠号
  CString prefixAfter;     // 等号右里程冠号
};
