#pragma once
// What the structure commands hand to the plan model's drawing routines, one
// call per table row: AlignmentModel::DrawTunnel, DrawBridge, DrawCulverts
// and DrawBenchMarks take these records (DrawStations and DrawTraverse take
// their few values as arguments).
//
// A record names its line by a line code (PlanLineCode: 0 the base line, −1
// the left line, +1 the right line) and, on a side line, the detour segment
// its row belongs to (the row's 绕行段编号; −1 for any segment and for the
// base line). Chainage texts are "<prefix><km>+<metres>" as the scheme loader
// writes them ("DK27+100.00").
//
// FromRecord builds the call of a row that the scheme loader read
// (SchemeRecords.h) for a table of the given line, as the structure commands
// pass it.

#include "SchemeRecords.h"
#include "mfc/cstring.h"

// A tunnel (a row of 隧道 or a detour form).
struct TunnelCall {
  CString startText;    // start chainage
  CString endText;      // end chainage
  CString name;         // 隧道名称
  double kind = 1.0;    // 插旗方式 as a number: below 0.9 a cut-and-cover tunnel (明洞), else a tunnel
  short lineCount = 0;  // the row's 附注 number: 2 or more a multi-track tunnel
  int line = 0;
  int segment = -1;

  static TunnelCall FromRecord(const TunnelRecord& record, int line);
};

// A bridge (a row of 大中桥 or a detour form).
struct BridgeCall {
  CString centreText;   // centre chainage
  CString startText;    // start and end chainages; a value of 0 has the bridge
  CString endText;      // spread by half its length round its centre
  double length = 0.0;  // 桥全长 (m)
  CString span;         // 孔跨式样
  CString name;         // 桥梁名称
  int line = 0;
  int segment = -1;
  short lineCount = 1;  // 线数

  static BridgeCall FromRecord(const BridgeRecord& record, int line);
};

// A small bridge or culvert (a row of 小桥涵 or a detour form).
struct CulvertCall {
  CString prefix;     // 中心里程冠号
  CString valueText;  // 中心里程数 as text ("%lf")
  CString span;       // 孔跨式样
  int line = 0;
  double flagStyle = 0.0;  // 插旗方式: 1 a road underpass (道路立交), 2 a road over the line (公跨铁立交)
  // Carried for the callers; the plan drawing does not read them.
  double leftLength = 0.0;
  double rightLength = 0.0;
  double crossingAngle = 0.0;
  double leftOutletLevel = 0.0;
  double rightOutletLevel = 0.0;

  static CulvertCall FromRecord(const CulvertRecord& record, int line);
};

// A bench mark (a row of 水准点表 or a detour form). Placed by its
// coordinates, or, when both are below 0.1, at its chainage and offset.
struct BenchMarkCall {
  double N = 0.0;          // 坐标N
  double E = 0.0;          // 坐标E
  CString prefix;          // 里程冠号
  double value = 0.0;      // 里程数 (0.01 or less: no chainage)
  double offset = 0.0;     // 距中线距离: positive to the right of the line
  CString number;          // 水准点编号
  double elevation = 0.0;  // 高程
  int line = 0;

  static BenchMarkCall FromRecord(const BenchMarkRecord& record, int line);
};
