#pragma once
// The line data that a cross-section designer keeps of its own: the profile,
// the grade table built from it, the structures, the track-structure
// segments, the pier spans, the plan boundary points of the sections, the
// earthwork quantities and the stretches of a detour section.
//
// All mileages are continuous mileages (metres).

#include "mfc/cstring.h"
#include "project/ChainageText.h"

// A grade-change point (变坡点) of the profile.
struct GradePoint {
  double mileage = 0.0;
  double elevation = 0.0;  // design elevation 设计高程
  // Vertical-curve radius 竖曲线半径; a negative value is the curve's
  // tangent length T (a parabola of length 2T).
  double radius = 0.0;
  double spare = 0.0;  // not read by the design
};

// A row of the grade table. Row 0 is the first point with grade 0; row i the
// point i with the grade and length of the segment that ends there; a
// closing row of zeros follows the last point.
struct GradeTableRow {
  double mileage = 0.0;
  double elevation = 0.0;
  double grade = 0.0;   // dH/dML of the segment ending at this row
  double length = 0.0;  // length of that segment
  double radius = 0.0;  // the point's vertical-curve radius (negative: tangent length)
};

// A bridge (大中桥), tunnel (隧道) or station (车站) of the line.
struct StructureRow {
  double startMileage = 0.0;
  double endMileage = 0.0;
  char startText[kChainageTextSize] = {};  // chainage texts as read
  char endText[kChainageTextSize] = {};
  CString name;    // 桥梁名称, 隧道名称, 车站名称
  CString remark;  // a bridge's span arrangement 孔跨式样
};

// A track-structure segment (轨道结构): from the previous segment's end
// mileage (the start of the line for the first) up to its own.
struct TrackSegment {
  char endText[kChainageTextSize] = {};  // 分段终里程
  CString type;                          // 结构类型
  double endMileage = 0.0;
  double heightMm = 0.0;                 // 结构高度(mm)
};

// An entry of the bridge span table: `count` spans of `length` metres.
struct BridgeSpan {
  int count = 0;
  double length = 0.0;
};

// A point in plan with its elevation.
struct PlanPoint {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// A plan boundary record of the BJPT file: the outer points of a section.
struct PlanBoundaryRecord {
  double mileage = 0.0;
  PlanPoint left;
  PlanPoint right;
  int leftCode = 0;  // structure codes of the two lines
  int rightCode = 0;
};

// The earthwork quantities of one section between it and the previous one
// (average end areas). Volumes in cubic metres, areas in square metres.
struct EarthworkQuantityRecord {
  char label[kChainageTextSize] = {};
  double mileage = 0.0;
  double cutArea = 0.0;   // cut area total of the section
  double fillArea = 0.0;  // fill area total of the section
  double distance = 0.0;  // to the previous section
  double cutVolume = 0.0;
  double rockClassVolume[6] = {};
  double companion[6] = {};  // per rock class
  double fillVolume = 0.0;
  double improvedSoilVolume = 0.0;
  double surfaceLayerVolume = 0.0;
  double topsoilVolume = 0.0;
  double ditchFillVolume = 0.0;
  double ditchCutVolume = 0.0;
  double shoulderLayerVolume = 0.0;
  double ditchLiningVolume = 0.0;
  double retainingWallArea = 0.0;
  double turfArea = 0.0;
};

// The stretches of a detour section: where it starts and ends (S1, E1),
// where the two roadbeds begin to separate (sml1), have separated (sml2),
// begin to join again (eml2) and have joined (eml1).
struct DetourMileages {
  double S1 = 0.0;
  double sml1 = 0.0;
  double sml2 = 0.0;
  double E1 = 0.0;
  double eml1 = 0.0;
  double eml2 = 0.0;
};
