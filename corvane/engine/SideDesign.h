#pragma once
// The values that the design of one side of a cross-section works with: the
// slope grades, the three ditches and the other standards of the side at the
// section's chainage, and what the design hands back.
//
// Every point is in the local frame of the side: x the horizontal distance
// from the line's centre, positive outwards on both sides; y the elevation
// less the reference elevation of the section. Polylines run outwards (x
// increasing).

#include <vector>

#include "DesignStandards.h"
#include "SectionRecord.h"

// The grades of a slope, grade 0 nearest the formation, as four parallel
// arrays: the m of 1:m (horizontal per unit height), the height the grade
// runs to, the berm width after it and the berm's cross slope in per cent.
struct SlopeGradeArrays {
  int count = 0;  // 0 .. kMaxSlopeGrades
  double ratio[kMaxSlopeGrades] = {};
  double height[kMaxSlopeGrades] = {};
  double bermWidth[kMaxSlopeGrades] = {};
  double bermSlope[kMaxSlopeGrades] = {};
};

// The grades a cutting is graded with above its foot: the ratios and heights
// as they are, the berms taken one grade later (grade i gets berm i + 1, the
// last grade none), because the first berm of a cutting is the platform in
// front of its foot.
SlopeGradeArrays ShiftedCuttingGrades(const SlopeGradeArrays& cutting);

// The drainage ditch (排水沟) at the toe of a fill.
struct DrainageDitchStandard {
  int type = 0;                  // 1 places a drainage ditch
  double distance = 0.0;         // d0: width of the berm between the toe and the ditch
  double crossSlope = 0.0;       // s0: the berm's fall outwards, as a fraction (4 % is 0.04)
  double depth = 0.0;
  double bottomWidth = 0.0;
  double innerRatio = 0.0;       // wall nearer the line, 1:m
  double outerRatio = 0.0;
  double liningThickness = 0.0;
};

// The top ditch (天沟) above a cutting.
struct TopDitchStandard {
  int applies = 0;         // 1 when a top-ditch row holds the chainage
  double offset = 0.0;     // distance of its inner top from the top of the cutting
  double bottomWidth = 0.0;
  double depth = 0.0;
  double innerRatio = 0.0;
  double outerRatio = 0.0;
  double liningThickness = 0.0;
};

// The side ditch (侧沟) beside the shoulder of a cutting or a low fill.
struct SideDitchStandard {
  double topWidth = 0.0;  // (inner + outer ratio) × depth + bottom width
  double bottomWidth = 0.0;
  double depth = 0.0;
  double innerRatio = 0.0;
  double outerRatio = 0.0;
  double liningThickness = 0.0;
};

// Everything the design of one side reads of the standards at one chainage.
struct SideStandardsAt {
  bool inThirdStructure = false;  // the chainage lies inside a station range
  double limitWidth = 0.0;        // 横断面限制宽度 of this side
  double fillWidening = 0.0;      // 用地加宽 beyond a fill and beyond a cut
  double cutWidening = 0.0;
  double improvedSoilThickness = 0.0;    // 填改良土
  double surfaceLayerThickness = 0.0;    // 基床表层厚度
  double shoulderProtectionWidth = 0.0;  // 护肩宽度
  DrainageDitchStandard drainageDitch;
  TopDitchStandard topDitch;
  SideDitchStandard sideDitch;
  SlopeGradeArrays embankment;  // 路堤边坡
  SlopeGradeArrays cutting;     // 路堑边坡
  double topsoilThickness = 0.0;  // 清表土厚度
};

// The areas of one side (square metres).
struct SideAreaResult {
  double fill = 0.0;  // below the lowered formation, net of improved soil and shoulder layer
  double cut = 0.0;   // below the lowered formation
  double topsoil = 0.0;
  double improvedSoil = 0.0;
  double shoulderLayer = 0.0;
};

// Form codes of a side.
inline constexpr double kFormFill = 0.0;
inline constexpr double kFormCut = 1.0;           // side ditch and graded cutting
inline constexpr double kFormSideDitchOnly = 3.0;  // shallow cut: side ditch, no slope to grade

// Ditch kinds of a side.
enum SideDitchKind {
  kDitchNone = -1,
  kDitchNoRoom = 0,    // no drainage ditch (none asked for, or none fits)
  kDitchDrainage = 1,  // a drainage ditch was placed
  kDitchTop = 2,       // a top ditch was placed
};

// What the design of one side hands back. The design resets every value but
// the form code, which keeps the caller's value until a fill, cut or
// side-ditch layout sets it.
struct SideDesign {
  double formCode = 0.0;
  double shoulderHeight = 0.0;     // template shoulder elevation − reference elevation
  std::vector<PairXY> points;      // the design line: 0, 1 crown; 2, 3, 4 the template's shoulder points; then outwards
  double fillArea = 0.0;
  double improvedSoilArea = 0.0;
  double surfaceLayerArea = 0.0;   // (shoulder x − shoulder protection width) × surface-layer thickness
  double topsoilArea = 0.0;
  double cutArea = 0.0;
  double landTake = 0.0;           // outermost x + land widening
  int ditchKind = kDitchNone;
  int drainageDitchCount = 0;
  PairXY drainageDitch[kDrainageDitchPoints] = {};
  double ditchBottomLevel = 0.0;   // y of the ditch bottom
  double ditchBottomCentre = 0.0;  // x of the middle of the ditch bottom
  double ditchFillArea = 0.0;      // of the drainage or top ditch against the surface
  double ditchCutArea = 0.0;
  int topDitchCount = 0;
  PairXY topDitch[kDrainageDitchPoints] = {};
  double shoulderLayerArea = 0.0;
  double ditchLiningArea = 0.0;
  double retainingWallLength = 0.0;  // slope segments steeper than 2 vertical to 1 horizontal
  double turfLength = 0.0;           // every other segment outwards of the shoulder

  // Zeroes everything but the form code.
  void Reset();
};

// What a re-design changes of one side (side code -1, +1, -2 or +2): the
// formation as the edited design line shows it (crown, then the shoulder
// three times; absolute elevations, x outwards) and the line's slope grades.
// The side is designed with these grades in every layer pass, on the pass's
// own formation moved as the edit moved the formation of the pass on the
// ground line (`shift`, taken in that pass).
struct SideEdit {
  int side = 0;
  PairXY top[4] = {};
  SlopeGradeArrays embankment;
  SlopeGradeArrays cutting;
  PairXY shift[4] = {};
};

// Adds the lengths of the segments of `points` from index `from` outwards
// to the two slope lengths: a segment at most 2 vertical to 1 horizontal
// (berms and ordinary slopes) to the turf length, anything steeper to the
// retaining-wall length.
void AddSlopeLengths(const std::vector<PairXY>& points, size_t from, double& retainingWall, double& turf);

// Stores the design of the side of side code `side` in the record: its form
// code, ditch kind and ditch lists, and its design line (x negated when
// `mirror`, the left side of a track).
void StoreSideDesign(SectionRecord& r, int side, const SideDesign& s, bool mirror);
// The area fields that an outer side fills in a record's area block, each
// with the member of the side's design that fills it: visit(field, member)
// for each, `field` the left (or the right) part of `a`. Every copy of one
// side's areas goes through this one list, so that a field cannot be added
// to one copy and not to another.
template <class Areas, class Visit>
void ForEachSideArea(Areas& a, bool rightPart, Visit&& visit) {
  auto part = [rightPart](auto& t) -> auto& { return rightPart ? t.right : t.left; };
  visit(part(a.fillParts), &SideDesign::fillArea);
  visit(part(a.cutParts), &SideDesign::cutArea);
  visit(part(a.surfaceLayerParts), &SideDesign::surfaceLayerArea);
  visit(part(a.topsoilParts), &SideDesign::topsoilArea);
  visit(part(a.improvedSoilParts), &SideDesign::improvedSoilArea);
  visit(part(a.shoulderLayerParts), &SideDesign::shoulderLayerArea);
  visit(part(a.ditchLiningParts), &SideDesign::ditchLiningArea);
  visit(part(a.retainingWallParts), &SideDesign::retainingWallLength);
  visit(part(a.turfParts), &SideDesign::turfLength);
  visit(rightPart ? a.ditchFillRight : a.ditchFillLeft, &SideDesign::ditchFillArea);
  visit(rightPart ? a.ditchCutRight : a.ditchCutLeft, &SideDesign::ditchCutArea);
}

// Puts the areas and slope lengths of an outer side into the left (or the
// right) parts of the record's area block; SumSectionAreas then gives the
// totals of the parts and the record's fill and cut totals.
void StoreSideAreas(SectionAreas& a, bool rightPart, const SideDesign& s);
// The left (or the right) side's part of `from` into the same part of `to`,
// the other parts of `to` kept.
void CopySideAreas(SectionAreas& to, const SectionAreas& from, bool rightPart);
void SumSectionAreas(SectionRecord& r);
// The six rock-class areas of the record, made afresh from its layer passes
// (layerCuts): layer k's class takes what the kept pass k cut beyond pass
// k + 1, the deepest kept layer all of its own; rock types 1 .. 6 address
// the classes, others add nothing.
void SetRockClasses(SectionRecord& r);

// Lining area of a trapezoidal ditch of depth h, bottom width w, wall ratios
// m1 and m2 and lining thickness t.
double DitchLiningArea(double depth, double bottomWidth, double ratio1, double ratio2, double thickness);

// Area of the shoulder layer: under the shoulder protection of width p, the
// surface-layer thickness d, widening with the slope of ratio m, measured
// along the 4 % cross fall.
double ShoulderLayerArea(double protectionWidth, double surfaceThickness, double slopeRatio);
