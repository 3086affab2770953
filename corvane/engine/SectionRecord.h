#pragma once
// One cross-section of a line: its chainage, its ground and rock-layer lines,
// and everything the design of its sides produces (design lines, ditches,
// land take, areas), which the result files carry to disk.
//
// Sides are coded -1 and +1 for the left and right side of a single line or
// of the first (left) track, -2 and +2 for those of the second (right) track.
// The per-side arrays of the record are indexed by SideIndex(side code):
// 0 for -1, 1 for +1, 2 for -2, 3 for +2. In a double-line section side +1
// is the left track's inner side and side -2 the right track's inner side.
//
// A record is copied member by member (the ground blocks and the design
// lines are copied with it, not shared).

#include <vector>

#include "arx/gearray.h"
#include "project/ChainageText.h"

constexpr int kGroundPointsPerSide = 200;
constexpr int kDrainageDitchPoints = 7;
constexpr int kTopDitchPoints = 10;
constexpr int kSectionSides = 4;

// The index of a side code in the per-side arrays; -1 for any other code.
constexpr int SideIndex(int sideCode) {
  switch (sideCode) {
    case -1: return 0;
    case 1: return 1;
    case -2: return 2;
    case 2: return 3;
    default: return -1;
  }
}

// A point of a section in its local frame, or a (distance, height
// difference) pair of a ground line.
struct PairXY {
  double x = 0.0;
  double y = 0.0;
};

// One ground line (layer 0) or rock-layer line of a section. Its points are
// (distance from the centre, height difference to the centre ground
// elevation), outwards on each side.
struct GroundBlock {
  int layer = 0;     // layer number; 0 is the ground surface
  int rockType = 0;  // 1 .. 6 address the rock classes; others add to none
  int leftCount = 0;
  int rightCount = 0;
  PairXY left[kGroundPointsPerSide] = {};
  PairXY right[kGroundPointsPerSide] = {};
};

// Left, middle and right parts of one quantity. The middle is the part
// between the two tracks of a double-line section (0 otherwise).
struct AreaTriple {
  double left = 0.0;
  double middle = 0.0;
  double right = 0.0;
};

// The areas and quantities of a section (square metres; slope lengths in
// metres), in the order the section drivers fill them. Each total is the sum
// of its parts.
struct SectionAreas {
  double fill = 0.0;  // fill area total
  double cut = 0.0;   // cut area total (of the pass on the ground line)
  double rockClass[6] = {};  // cut areas of rock classes 1 .. 6
  double improvedSoil = 0.0;  // totals
  double surfaceLayer = 0.0;
  double topsoil = 0.0;
  double ditchFill = 0.0;
  double ditchCut = 0.0;
  double excavationClass[6] = {};  // 挖方分类 share × cut total, classes I .. VI
  double shoulderLayer = 0.0;      // totals
  double ditchLining = 0.0;
  double retainingWallLength = 0.0;
  double turfLength = 0.0;
  unsigned char middlePartFlag = 0;  // set by the middle part of a double-line section
  AreaTriple fillParts;
  AreaTriple cutParts;
  AreaTriple surfaceLayerParts;  // its middle is always 0
  AreaTriple topsoilParts;
  AreaTriple improvedSoilParts;
  AreaTriple shoulderLayerParts;
  AreaTriple ditchLiningParts;
  AreaTriple retainingWallParts;
  AreaTriple turfParts;
  double ditchFillLeft = 0.0;
  double ditchFillRight = 0.0;
  double ditchCutLeft = 0.0;
  double ditchCutRight = 0.0;
};

struct SectionRecord {
  // Empty design lines (growth 8); everything else zero.
  SectionRecord();

  char label[kChainageTextSize] = {};  // chainage text of the section
  double mileage = 0.0;                // continuous mileage ML

  // ---- Added by the section-table reads: the station as the fill/cut table
  // gives it, by which the ground-line and rock-layer rows are matched to the
  // section, and its section information code.
  char prefix[kChainPrefixSize] = {};  // 加桩里程冠号 (at most 7 GBK bytes)
  double chainage = 0.0;               // 加桩里程数
  int sectionInfo = 0;                 // 断面信息
  // ---- end of the section-table additions

  double designElevation = 0.0;        // centre design elevation of the design
  int kind = 1;                        // 1 single-line section, 2 double-line section

  double shoulderDesignElevation = 0.0;  // 路肩设计高程 of the fill/cut table
  double groundElevation = 0.0;          // 地面高程 at the centre; ground points are relative to it
  double centreFillHeight = 0.0;         // 中心填挖高度
  double separationWidth = 0.0;          // 路肩分离限宽 of the fill/cut table

  // Land-take distances of the left and the right side, each measured from
  // the crown of the track on that side (crownOffset below): the boundary
  // stands at crownOffset[0] - leftLandTake and at the right track's crown
  // offset + rightLandTake (LeftLandWidth, RightLandWidth).
  double leftLandTake = 0.0;
  double rightLandTake = 0.0;

  // Roadbed top templates: the crown, then the shoulder three times
  // (absolute elevations), by side index; a single-line section uses 0 and 1.
  PairXY roadbedTop[kSectionSides][4] = {};
  // 1.0 when the shoulder of that side stands at the cutting / low-fill
  // distance, 0.0 at the embankment distance.
  double roadbedTopFlag[kSectionSides] = {};
  // Fill heights at the left and right (outer) shoulders.
  double shoulderFillHeight[2] = {};

  // The four values of the head line of HdmResultData: the crown offsets of
  // the first and second track, and the reference elevations of their local
  // frames (the bases of the ditch elevations of the left and right side).
  double crownOffset[2] = {};
  double referenceElevation[2] = {};

  // Ground line (block 0) and rock-layer lines.
  std::vector<GroundBlock> groundBlocks;
  int GroundBlockCount() const { return static_cast<int>(groundBlocks.size()); }

  double fillTotal = 0.0;  // copies of areas.fill and areas.cut
  double cutTotal = 0.0;

  int leftCode = 0;   // structure class of the left (or only) line at the section
  int rightCode = 0;  // structure class of the right line

  // Form code of each side: 0.0 fill, 1.0 cut with side ditch and graded
  // slope, 3.0 side ditch only (mirrors the outer offsets in PMZTT at 1.0).
  double formCode[kSectionSides] = {};

  // Design polylines of the sides (x outwards from the line's centre, the
  // left sides negated; y relative to the reference elevation; z 0).
  AcGePoint3dArray designLines[kSectionSides];
  int pointCount[kSectionSides] = {};  // points of each design line
  int lastIndex[kSectionSides] = {};   // pointCount - 1

  double leftLineOffset = 0.0;   // 左线间距: signed offset of the left line from the baseline
  double rightLineOffset = 0.0;  // 右线间距

  // Drawing values: place on the sheet, frame, elevation range.
  double sheetX = 0.0;
  double sheetY = 0.0;
  // Where the label of a structure that follows the section goes: above
  // the section, in the space before the next one.
  double labelX = 0.0;
  double labelY = 0.0;
  double frameLeft = 0.0;
  double frameTop = 0.0;
  double frameRight = 0.0;
  double frameBottom = 0.0;
  double minElevation = 0.0;
  double maxElevation = 0.0;

  // 曲线加宽 and 右曲线加宽 of the fill/cut table (the right one for the
  // right line of a double-line section); the two further doubles of the
  // head line of HdmResultData.
  double curveWidening = 0.0;
  double rightCurveWidening = 0.0;

  // 0 single-line scheme, 1 double line outside detours, 2 in a detour's
  // transition stretch, 3 in its separated stretch.
  int lineRelation = 0;

  // Ditches of each side: the ditch kind (-1 none, 0 no drainage ditch fits,
  // 1 drainage ditch, 2 top ditch) and the two point lists.
  int ditchKind[kSectionSides] = {-1, -1, -1, -1};
  int drainageDitchCount[kSectionSides] = {};
  int topDitchCount[kSectionSides] = {};
  PairXY drainageDitch[kSectionSides][kDrainageDitchPoints] = {};
  PairXY topDitch[kSectionSides][kTopDitchPoints] = {};

  SectionAreas areas;

  // The cut of each part (left, middle, right as in the area block) in each
  // layer pass of the section's design, the pass on the ground line first,
  // up to the pass that ended them; the rock-class split is made from them,
  // and a re-design of one side takes the other parts' cuts from them. Not
  // carried by the result files: a record read back has none.
  std::vector<AreaTriple> layerCuts;

  // Drawn as a section of a detour: its side code (-1 a left detour, +1 a
  // right one) and its detour index, written by the detour drawing; 0 and -1
  // until then.
  int sideCode = 0;
  int detourIndex = -1;

  // The crown offsets the two sides are measured from: the left side from the
  // first track's crown; the right side from the second track's crown on a
  // double-line section, else from the one crown.
  double LeftCrown() const { return crownOffset[0]; }
  double RightCrown() const { return crownOffset[kind == 2 ? 1 : 0]; }
  // Where the land-take boundary stands, as the distance from the line on
  // each side (positive outwards).
  double LeftLandWidth() const { return leftLandTake - LeftCrown(); }
  // The formation's width between its outer shoulders, as the section sheet
  // writes it under 路基面宽: the first track's left shoulder to the right
  // shoulder of the last track drawn (the second track's when the section is
  // drawn as a double-line one).
  double FormationWidth(bool doubleLine) const {
    const int groundTrack = doubleLine ? 1 : 0;
    return (crownOffset[groundTrack] + roadbedTop[SideIndex(doubleLine ? 2 : 1)][3].x) -
           (crownOffset[0] - roadbedTop[SideIndex(-1)][3].x);
  }
  double RightLandWidth() const { return rightLandTake + RightCrown(); }
};
