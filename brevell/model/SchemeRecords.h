#pragma once
// The records into which the plan's scheme loader (XLDataBase) reads the
// curve and structure tables of a scheme database. The alignment records
// (IntersectionPoint, SideLineRecord, PlanBreakRecord) are in PlanRecords.h;
// a row of the base line's 断链表 is the shared BreakRecord.
//
// In the records of a 左线绕行段 or 右线绕行段 table, `detourIndex` holds the
// value of its column 绕行段编号 plus 0.001, truncated; in base-line tables it
// is not set (-1).
//
// The chainage texts are fixed fields of a given width in GBK bytes (an ASCII
// character 1, any other 2); they hold UTF-8 and are given twice that width in
// bytes, and the loader cuts a longer text at a character boundary.

#include <cstddef>

#include "mfc/cstring.h"

// Bytes of a chainage-text field that holds `gbkBytes` GBK bytes, the
// terminator included.
constexpr size_t ChainageFieldSize(size_t gbkBytes) { return 2 * gbkBytes; }

// A row of 曲线表 (read by column name).
struct PlanCurveRecord {
  int ipNumber = 0;             // 交点号, as a number
  double N = 0.0;               // 坐标N
  double E = 0.0;               // 坐标E
  double deflection = 0.0;      // 偏角
  double R = 0.0;               // 曲线半径
  double L1 = 0.0;              // 前缓和曲线 (first row: the start chainage)
  double L2 = 0.0;              // 后缓和曲线
  double T1 = 0.0;              // 前切线长
  double T2 = 0.0;              // 后切线长
  double curveLength = 0.0;     // 曲线长
  double spare = 0.0;           // not read
  CString startPrefix;          // 起点里程冠号
  CString endPrefix;            // 终点里程冠号
  double startMileage = 0.0;    // 起点里程
  double endMileage = 0.0;      // 终点里程
  double officeBreak = 0.0;     // 内业断链
};

// A row of 大中桥 or a detour form.
struct BridgeRecord {
  static constexpr size_t kTextGbk = 80;        // start and end chainage texts
  static constexpr size_t kCentreTextGbk = 84;  // centre chainage text
  int detourIndex = -1;
  CString name;                // 桥梁名称
  CString startPrefix;         // 起点里程冠号
  CString endPrefix;           // 终点里程冠号
  CString centrePrefix;        // 中心里程冠号
  double centreMileage = 0.0;  // 中心里程数
  double startMileage = 0.0;   // 起点里程数
  double endMileage = 0.0;     // 终点里程数
  CString span;                // 孔跨式样
  CString waterLevel;          // 100年水位高程, cut to two decimals
  double fullLength = 0.0;     // 桥全长
  int trackCount = 0;          // 线数
  char startText[ChainageFieldSize(kTextGbk)] = {};
  char endText[ChainageFieldSize(kTextGbk)] = {};
  char centreText[ChainageFieldSize(kCentreTextGbk)] = {};
};

// A row of 小桥涵 or a detour form.
struct CulvertRecord {
  int detourIndex = -1;
  CString centrePrefix;           // 中心里程冠号
  double centreMileage = 0.0;     // 中心里程数
  CString span;                   // 孔跨式样
  double leftLength = 0.0;        // 左横向长度
  double rightLength = 0.0;       // 右横向长度
  double crossingAngle = 0.0;     // 交角
  double use = 0.0;               // 用途 (0 traffic, 1 irrigation, 2 flood relief)
  double flagMode = 0.0;          // 插旗方式: the text's leading number (1, 2: grade crossings)
  CString note;                   // 附注
  double leftOutletLevel = 0.0;   // 左涵口标高 (0 where the table has no such column)
  double rightOutletLevel = 0.0;  // 右涵口标高 (likewise)
};

// A row of 隧道 or a detour form.
struct TunnelRecord {
  static constexpr size_t kStartTextGbk = 80;
  static constexpr size_t kEndTextGbk = 86;
  int detourIndex = -1;
  CString name;               // 隧道名称
  CString startPrefix;        // 起点里程冠号
  CString endPrefix;          // 终点里程冠号
  CString flagMode;           // 插旗方式 ("0" 明洞, "1" 一般隧道)
  double startMileage = 0.0;  // 起点里程数
  double endMileage = 0.0;    // 终点里程数
  short noteNumber = 0;       // 附注, its leading integer
  char startText[ChainageFieldSize(kStartTextGbk)] = {};
  char endText[ChainageFieldSize(kEndTextGbk)] = {};
};

// A row of 车站 or a detour form.
struct StationRecord {
  static constexpr size_t kTextGbk = 80;
  int detourIndex = -1;
  CString centrePrefix;   // 站房中心里程冠号
  CString name;           // 车站名称
  CString flagBlockName;  // 插旗图块名
  char centreText[ChainageFieldSize(kTextGbk)] = {};
  double centreMileage = 0.0;  // 站房中心里程数
};

// A row of 水准点表 or a detour form.
struct BenchMarkRecord {
  int detourIndex = -1;
  CString number;          // 水准点编号
  CString prefix;          // 里程冠号
  double elevation = 0.0;  // 高程
  double mileage = 0.0;    // 里程数
  double offset = 0.0;     // 距中线距离
  double N = 0.0;          // 坐标N
  double E = 0.0;          // 坐标E
};

// A row of 导线表 or a detour form.
struct TraverseRecord {
  int detourIndex = -1;
  CString station;          // 桩号
  double elevation = 0.0;   // 高程
  double N = 0.0;           // 纬距: the point's N
  double E = 0.0;           // 经距: the point's E
  double bearing = 0.0;     // 方位角 (a text column, read as a number)
};
