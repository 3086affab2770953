#pragma once
// The records of a line in plan as the plan drawing keeps them: the
// intersection points (IPs) of a line, its element list, the key points of
// its curves, the chainage breaks of the left and right lines, and a row of a
// left or right line's curve table.
//
// Coordinates are N (first, x) and E (second, y); bearings run from N towards
// E in radians; "packed" angles are degrees, minutes and seconds in one double
// (d.mmss). Mileage is the continuous distance along a line; chainage is what
// the user reads (prefix, kilometres, metres), broken by the chainage breaks.
//
// The line element (type code and four numbers) and the element record (the
// element and the state at its start) are the geometry base's LineElement and
// PlacedElement (geometry/LineElement.h); ElementRecord names the latter here.

#include <vector>

#include "geometry/LineElement.h"
#include "mfc/cstring.h"

// One intersection point. The first record of a line is its start point, the
// last its end point; every record between them is a curve.
struct IntersectionPoint {
  double number = 0.0;  // IP number (交点号; the zero-based index on the left and right lines)
  double N = 0.0;       // 坐标N
  double E = 0.0;       // 坐标E
  double L1 = 0.0;      // entering transition (前缓和曲线); in the first record: the start mileage
  double R = 0.0;       // radius (曲线半径); not read in the first and the last record
  double L2 = 0.0;      // leaving transition (后缓和曲线)
};

// An element list of n elements is an array of n + 1 records: record 0 holds
// the start record (type 10: p1 N, p2 E, p3 the packed start bearing, p4 the
// start mileage) with a zero state, records 1 .. n − 1 the elements with the
// state at their start, and record n the state at the end of the line.
using ElementRecord = PlacedElement;

// The key points of the curve at one IP. The first record (start point)
// holds the start mileage in its four mileages and zeros elsewhere, the last
// record (end point) the end mileage likewise.
struct CurveKeyPoints {
  double ZH = 0.0;          // start of the entering transition (end of the straight before)
  double HY = 0.0;          // start of the circular arc
  double YH = 0.0;          // end of the circular arc
  double HZ = 0.0;          // end of the leaving transition (start of the straight after)
  double deflection = 0.0;  // absolute deflection, packed d.mmss
  double T1 = 0.0;          // entering tangent (ZH to the IP)
  double T2 = 0.0;          // leaving tangent (the IP to HZ)
  double L = 0.0;           // curve length, L1 + arc + L2
  double turn = 0.0;        // +1 the bearing grows along the curve (a right turn), −1 it falls
};

// A chainage break of the left or right line (a row of 左线断链表 or
// 右线断链表). Consecutive records with the same segment number belong to
// one detour segment: the first is where the segment leaves the base line,
// the last where it rejoins it.
struct PlanBreakRecord {
  int segment = 0;        // 编号: the detour segment it belongs to
  CString text;           // 附注
  double before = 0.0;    // 等号左里程数: the chainage value that goes with the prefix before
  double after = 0.0;     // 等号右里程数: the value that goes with the prefix after
  double mileage = 0.0;   // the break's mileage on the side line (worked out by the plan, 0 as loaded)
  CString prefixBefore;   // 等号左里程冠号
  CString prefixAfter;    // 等号右里程冠号
};

// Kinds of the records of a left or right line's curve table (交点属性).
enum SideLineKind {
  kSideParallel = 0,  // an IP that goes with a base-line IP (一线交点号), at the spacing 线间距
  kSideDetour = 1,    // an IP of a detour segment
  // 2 to 4 are the other kinds of a side line's IPs; 2 and 3 bound a stretch
  // whose spacing changes (no spacing marks between them).
};

// One row of a left or right line's curve table (左线曲线表, 右线曲线表).
struct SideLineRecord {
  unsigned char visited = 0;  // set by the section list: the IP belongs to a section of the line
  int kind = 0;               // 交点属性 (SideLineKind)
  int secondLineIp = 0;       // 二线交点号
  double N = 0.0;             // 坐标N
  double E = 0.0;             // 坐标E
  double L1 = 0.0;            // 前缓和曲线 (in the first row: the start mileage)
  double R = 0.0;             // 曲线半径
  double L2 = 0.0;            // 后缓和曲线
  int firstLineIp = 0;        // 一线交点号: the base-line IP it goes with
  double spacing = 0.0;       // 线间距
  double spare = 0.0;         // not loaded (0)
  double officeBreak = 0.0;   // 内业断链
};

// A stretch of mileage (a tunnel's start and end, say).
struct MileageRange {
  double start = 0.0;
  double end = 0.0;
};

// The work areas of one run of the element computation over n IPs: n key
// points, four raw elements per IP and four element records per IP (room for
// the element list and its end record).
struct PlanElementAreas {
  std::vector<CurveKeyPoints> keyPoints;
  std::vector<LineElement> rawElements;
  std::vector<ElementRecord> elements;
  // Sizes the areas for n IPs (none for n below 1).
  void Resize(int n);
};
