#pragma once
// The design-standard entries of a cross-section designer: one row of a
// roadbed standard table (基床表层厚度, 护肩宽度, 路堤边坡, 侧沟, ...) with its
// chainage texts turned into continuous mileage.
//
// A row with one key applies from the previous row's end mileage up to its
// own; the first row from the start of the line. 天沟 and 填改良土 rows carry
// both a start and an end key. Chainage texts are kept as they were read, in
// buffers of kChainageTextSize bytes.
//
// The comments give the column position of the scheme table that each value
// comes from.

#include "DesignStandards.h"
#include "project/ChainageText.h"

// 基床表层厚度, 护肩宽度, 清表土厚度, 左/右地面线内插宽, 左/右横断面限制宽度.
struct StandardValueEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  double value = 0.0;  // position 5
};

// 左/右用地加宽: the land-take widening added beyond a fill and beyond a cut.
struct LandWideningEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  double fillWidening = 0.0;  // position 5 (first widening)
  double cutWidening = 0.0;   // position 6 (second widening)
};

// 左/右路堤边坡, 左/右路堑边坡. Grade 0 is nearest the formation. Each grade
// runs at 1:ratio up to its height, then a berm of bermWidth follows whose
// cross slope (per cent) is the grade's fourth number.
struct SlopeGradesEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  int gradeCount = 0;  // position 5; 0 .. kMaxSlopeGrades
  SlopeGrade grades[kMaxSlopeGrades] = {};  // positions 6 + 4k .. 9 + 4k
};

// 左/右排水沟: the drainage ditch at the toe of a fill.
struct DrainageDitchEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  int type = 0;                // position 5; 1 places a drainage ditch
  double distance = 0.0;       // position 6: d0, distance of the ditch from the toe
  double crossSlope = 0.0;     // position 7: s0, cross slope towards the ditch (per cent)
  double bottomWidth = 0.0;    // position 8
  double depth = 0.0;          // position 9
  double innerRatio = 0.0;     // position 10: inner wall 1:m
  double outerRatio = 0.0;     // position 11: outer wall 1:m
  double liningThickness = 0.0;  // position 12
};

// 左/右侧沟: the side ditch of a cut. Its top width is
// (innerRatio + outerRatio) × depth + bottomWidth.
struct SideDitchEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  double bottomWidth = 0.0;      // position 5
  double depth = 0.0;            // position 6
  double innerRatio = 0.0;       // position 7
  double outerRatio = 0.0;       // position 8
  double liningThickness = 0.0;  // position 9
};

// The three values of a top ditch that vary along its range.
struct TopDitchValues {
  double offset = 0.0;       // distance from the top of the cutting
  double bottomWidth = 0.0;
  double depth = 0.0;
};

// 左/右天沟: interpolated between the values at its start and at its end.
struct TopDitchEntry {
  double startMileage = 0.0;
  char startText[kChainageTextSize] = {};
  double endMileage = 0.0;
  char endText[kChainageTextSize] = {};
  TopDitchValues atStart;        // positions 5, 6, 7
  TopDitchValues atEnd;          // positions 10, 11, 12
  double innerRatio = 0.0;       // position 13
  double outerRatio = 0.0;       // position 14
  double liningThickness = 0.0;  // position 15
};

// 填改良土: the thickness of improved fill over a range.
struct ImprovedFillEntry {
  double value = 0.0;  // position 7
  char startText[kChainageTextSize] = {};
  char endText[kChainageTextSize] = {};
  double startMileage = 0.0;
  double endMileage = 0.0;
};

// 挖方分类: the share of each excavation class, in per cent.
struct ExcavationClassEntry {
  char endText[kChainageTextSize] = {};
  double endMileage = 0.0;
  double percent[6] = {};  // positions 5 .. 10, classes I to VI
};
