// The section drivers: the design of one whole cross-section by its roadbed
// type. A single-line section has one track (two sides); a double-line
// section two tracks on one roadbed with the middle part between them.
// Bridges and tunnels are not designed, only their land take set. Every
// side is designed once per ground layer (the ground line first, then the
// rock layers) so that the cut can be split into rock classes.

#include <algorithm>
#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "arx/edoutput.h"

namespace {

constexpr double kSearchWidth = 1000.0;

bool Near(double value, double target, double tolerance) { return std::fabs(value - target) < tolerance; }

// A track inside a bridge, tunnel or station of a double-line section.
bool TrackInStructure(int code) {
  return Near(code, kBridgeInside, 0.01) || Near(code, kTunnelInside, 0.01) || Near(code, kStationInside, 0.01);
}

// The cuts of the layer passes that the rock-class split keeps: the passes
// up to the first whose cut is exactly 0, that pass itself only when it is
// the first (the pass on the ground line counts once, whatever it cut).
std::vector<double> KeptLayerCuts(const std::vector<AreaTriple>& passes) {
  std::vector<double> cuts;
  for (size_t k = 0; k < passes.size(); ++k) {
    const double cut = passes[k].left + passes[k].middle + passes[k].right;
    if (cut == 0.0) {
      if (k == 0) cuts.push_back(0.0);
      break;
    }
    cuts.push_back(cut);
  }
  return cuts;
}

// Runs layer passes k = 0, 1, ... while there are ground blocks; `pass(k)`
// designs the section on block k and gives the cut of each part, or returns
// false when the passes are to stop at once (a structure). The passes end
// after the first whose cut is exactly 0, unless `allBlocks` asks for a pass
// on every block (a re-design, which decides itself where they end). The
// passes run go to `passes`; false when a pass stopped the design.
template <class Pass>
bool RunLayerPasses(int blocks, bool allBlocks, Pass pass, std::vector<AreaTriple>& passes) {
  passes.clear();
  for (int k = 0; k < blocks; ++k) {
    AreaTriple cut;
    if (!pass(k, cut)) return false;
    passes.push_back(cut);
    if (!allBlocks && cut.left + cut.middle + cut.right == 0.0) break;
  }
  return true;
}

// The area and quantity block of a section from its left and right outer
// sides and, for a double-line section, the middle part.
void StoreAreas(SectionRecord& r, const SideDesign& left, const SideDesign& right, const MiddleQuantities* middle) {
  SectionAreas& a = r.areas;
  const MiddleQuantities none;
  const MiddleQuantities& m = middle != nullptr ? *middle : none;
  StoreSideAreas(a, false, left);
  StoreSideAreas(a, true, right);
  a.fillParts.middle = m.fill;
  a.cutParts.middle = m.cut;
  a.surfaceLayerParts.middle = 0.0;
  a.topsoilParts.middle = m.topsoil;
  a.improvedSoilParts.middle = m.improvedSoil;
  a.shoulderLayerParts.middle = m.shoulderLayer;
  a.ditchLiningParts.middle = m.ditchLining;
  a.retainingWallParts.middle = m.retainingWall;
  a.turfParts.middle = m.turf;
  SumSectionAreas(r);
}

// A fresh design of a section keeps nothing of an earlier one: a section
// designed twice (a copy made where the line relation changes, a second
// run) counts its rock classes once.
void ResetDesignResults(SectionRecord& r) {
  r.areas = SectionAreas();
  r.layerCuts.clear();
  r.fillTotal = 0.0;
  r.cutTotal = 0.0;
  r.leftLandTake = 0.0;
  r.rightLandTake = 0.0;
  for (double& f : r.formCode) f = 0.0;
}

}  // namespace

void SetRockClasses(SectionRecord& r) {
  std::fill(std::begin(r.areas.rockClass), std::end(r.areas.rockClass), 0.0);
  const std::vector<double> cuts = KeptLayerCuts(r.layerCuts);
  const int n = static_cast<int>(cuts.size());
  for (int k = 0; k < n && k < r.GroundBlockCount(); ++k) {
    const int type = r.groundBlocks[static_cast<size_t>(k)].rockType;
    if (type < 1 || type > 6) continue;
    r.areas.rockClass[type - 1] += k + 1 < n ? cuts[static_cast<size_t>(k)] - cuts[static_cast<size_t>(k + 1)]
                                             : cuts[static_cast<size_t>(k)];
  }
}

int CrossSectionDesigner::DesignSideOfPass(const CrossSectionDesigner& designer, int sideCode, int block, double ML,
                                           double referenceElevation, const std::vector<PairXY>& ground,
                                           const PairXY roadbedTop[4], SideDesign& out) {
  const int side = sideCode < 0 ? -1 : 1;
  const int count = static_cast<int>(ground.size());
  SideEdit* edit = m_sideEdit;
  if (edit == nullptr || edit->side != sideCode)
    return designer.DesignSide(side, ML, kSearchWidth, referenceElevation, count, ground.data(), roadbedTop, out);
  PairXY top[4];
  for (int j = 0; j < 4; ++j) {
    if (block == 0) {
      edit->shift[j] = PairXY{edit->top[j].x - roadbedTop[j].x, edit->top[j].y - roadbedTop[j].y};
      top[j] = edit->top[j];
    } else {
      top[j] = PairXY{roadbedTop[j].x + edit->shift[j].x, roadbedTop[j].y + edit->shift[j].y};
    }
  }
  return designer.RedesignSide(side, ML, kSearchWidth, referenceElevation, count, ground.data(), top,
                               edit->embankment, edit->cutting, out);
}

void StoreSideDesign(SectionRecord& r, int side, const SideDesign& s, bool mirror) {
  const int k = SideIndex(side);
  if (k < 0) return;
  const double sign = mirror ? -1.0 : 1.0;
  r.formCode[k] = s.formCode;
  r.ditchKind[k] = s.ditchKind;
  r.drainageDitchCount[k] = std::clamp(s.drainageDitchCount, 0, kDrainageDitchPoints);
  for (int j = 0; j < r.drainageDitchCount[k]; ++j)
    r.drainageDitch[k][j] = PairXY{sign * s.drainageDitch[j].x, s.drainageDitch[j].y};
  r.topDitchCount[k] = std::clamp(s.topDitchCount, 0, std::min(kTopDitchPoints, kDrainageDitchPoints));
  for (int j = 0; j < r.topDitchCount[k]; ++j) r.topDitch[k][j] = PairXY{sign * s.topDitch[j].x, s.topDitch[j].y};
  AcGePoint3dArray& line = r.designLines[k];
  line.removeAll();
  for (const PairXY& p : s.points) line.append(AcGePoint3d(sign * p.x, p.y, 0.0));
  r.pointCount[k] = line.length();
  r.lastIndex[k] = line.length() - 1;
}

void StoreSideAreas(SectionAreas& a, bool rightPart, const SideDesign& s) {
  ForEachSideArea(a, rightPart, [&s](double& field, double SideDesign::*member) { field = s.*member; });
}

void CopySideAreas(SectionAreas& to, const SectionAreas& from, bool rightPart) {
  SideDesign side;
  ForEachSideArea(from, rightPart, [&side](const double& field, double SideDesign::*member) { side.*member = field; });
  StoreSideAreas(to, rightPart, side);
}

void SumSectionAreas(SectionRecord& r) {
  SectionAreas& a = r.areas;
  auto sum = [](const AreaTriple& t) { return t.left + t.middle + t.right; };
  a.fill = sum(a.fillParts);
  a.cut = sum(a.cutParts);
  a.surfaceLayer = sum(a.surfaceLayerParts);
  a.topsoil = sum(a.topsoilParts);
  a.improvedSoil = sum(a.improvedSoilParts);
  a.shoulderLayer = sum(a.shoulderLayerParts);
  a.ditchLining = sum(a.ditchLiningParts);
  a.retainingWallLength = sum(a.retainingWallParts);
  a.turfLength = sum(a.turfParts);
  a.ditchFill = a.ditchFillLeft + a.ditchFillRight;
  a.ditchCut = a.ditchCutLeft + a.ditchCutRight;
  r.fillTotal = a.fill;
  r.cutTotal = a.cut;
}

// ---- Single-line section ------------------------------------------------------------------------

void CrossSectionDesigner::DesignSingleSection(int index, unsigned char /*singleLine*/, double a, double b) {
  if (index < 0 || index >= SectionCount()) return;
  ClearSideLines(0, index);
  SectionRecord& r = sections[static_cast<size_t>(index)];
  r.kind = 1;
  ResetDesignResults(r);
  double leftElevation = 0.0, rightElevation = 0.0;
  DesignElevationsAt(true, r.mileage, r.designElevation, leftElevation, rightElevation);
  const double ML = r.mileage;

  SideDesign left, right;
  // One pass on ground block k: roadbed top, ground profiles, the structure
  // test, then both sides. False when the section lies in a bridge or tunnel.
  auto pass = [&](int k, AreaTriple& cut) {
    const GroundBlock& block = r.groundBlocks[static_cast<size_t>(k)];
    SingleLineRoadbedTop(ML, r.groundElevation, a, b, r.curveWidening, block.leftCount, block.left,
                         block.rightCount, block.right, leftElevation, rightElevation, r.crownOffset[0],
                         r.roadbedTop[0], r.roadbedTop[1], r.roadbedTopFlag[0], r.roadbedTopFlag[1],
                         r.shoulderFillHeight[0], r.shoulderFillHeight[1]);
    std::vector<PairXY> leftGround, rightGround;
    GroundProfileFrom(r.crownOffset[0], r.groundElevation, block.leftCount, block.left, block.rightCount,
                      block.right, r.referenceElevation[0], leftGround, rightGround);
    r.referenceElevation[1] = r.referenceElevation[0];
    if (Near(r.leftCode, kBridgeInside, 0.1)) {
      r.leftLandTake = std::fabs(a) + r.crownOffset[0] + bridgeLandTakeMargin;
      r.rightLandTake = b + bridgeLandTakeMargin - r.crownOffset[0];
      if (SectionCount() == 1) acedAlert("指定里程位于桥梁范围内!");
      return false;
    }
    if (Near(r.leftCode, kTunnelInside, 0.1)) {
      r.leftLandTake = r.roadbedTop[0][3].x + 1.0;
      r.rightLandTake = r.roadbedTop[1][3].x + 1.0;
      if (SectionCount() == 1) acedAlert("指定里程位于隧道范围内!");
      return false;
    }
    left.formCode = r.formCode[0];
    right.formCode = r.formCode[1];
    DesignSideOfPass(*this, -1, k, ML, r.referenceElevation[0], leftGround, r.roadbedTop[0], left);
    DesignSideOfPass(*this, 1, k, ML, r.referenceElevation[0], rightGround, r.roadbedTop[1], right);
    cut.left = left.cutArea;
    cut.right = right.cutArea;
    return true;
  };

  std::vector<AreaTriple> passes;
  if (!RunLayerPasses(r.GroundBlockCount(), m_sideEdit != nullptr, pass, passes)) return;
  if (passes.empty()) return;  // no ground line: nothing to design against
  r.layerCuts = passes;
  SetRockClasses(r);
  // The final pass on the ground line gives the design that is kept.
  AreaTriple cut;
  if (!pass(0, cut)) return;

  StoreAreas(r, left, right, nullptr);
  r.leftLandTake = left.landTake;
  r.rightLandTake = right.landTake;
  StoreSideDesign(r, -1, left, true);
  StoreSideDesign(r, 1, right, false);
}

// ---- Double-line section --------------------------------------------------------------------------

namespace {

// What a layer pass of a double-line section sets in the record besides the
// designs: the four templates with their flags, the outer fill heights, the
// two crown offsets and reference elevations.
struct PassFrames {
  PairXY roadbedTop[kSectionSides][4] = {};
  double roadbedTopFlag[kSectionSides] = {};
  double shoulderFillHeight[2] = {};
  double crownOffset[2] = {};
  double referenceElevation[2] = {};

  void Take(const SectionRecord& r) {
    for (int s = 0; s < kSectionSides; ++s)
      std::copy(std::begin(r.roadbedTop[s]), std::end(r.roadbedTop[s]), roadbedTop[s]);
    std::copy(std::begin(r.roadbedTopFlag), std::end(r.roadbedTopFlag), roadbedTopFlag);
    std::copy(std::begin(r.shoulderFillHeight), std::end(r.shoulderFillHeight), shoulderFillHeight);
    std::copy(std::begin(r.crownOffset), std::end(r.crownOffset), crownOffset);
    std::copy(std::begin(r.referenceElevation), std::end(r.referenceElevation), referenceElevation);
  }
  void Put(SectionRecord& r) const {
    for (int s = 0; s < kSectionSides; ++s)
      std::copy(std::begin(roadbedTop[s]), std::end(roadbedTop[s]), r.roadbedTop[s]);
    std::copy(std::begin(roadbedTopFlag), std::end(roadbedTopFlag), r.roadbedTopFlag);
    std::copy(std::begin(shoulderFillHeight), std::end(shoulderFillHeight), r.shoulderFillHeight);
    std::copy(std::begin(crownOffset), std::end(crownOffset), r.crownOffset);
    std::copy(std::begin(referenceElevation), std::end(referenceElevation), r.referenceElevation);
  }
};

// The two tracks' designers and mileages of a double-line section.
struct TrackDesigners {
  const CrossSectionDesigner* left = nullptr;
  const CrossSectionDesigner* right = nullptr;
  double leftML = 0.0;
  double rightML = 0.0;
};

}  // namespace

void CrossSectionDesigner::DesignDoubleSection(int index, unsigned char /*singleLine*/, double leftOffset,
                                               double rightOffset, int leftFlag, int rightFlag, int leftIndex,
                                               int rightIndex) {
  if (index < 0 || index >= SectionCount()) return;
  ClearSideLines(0, index);
  SectionRecord& r = sections[static_cast<size_t>(index)];
  r.kind = 2;
  ResetDesignResults(r);
  double leftElevation = 0.0, rightElevation = 0.0;
  DesignElevationsAt(false, r.mileage, r.designElevation, leftElevation, rightElevation);
  const double ML = r.mileage;

  // The designer and mileage of each track.
  TrackDesigners tracks;
  tracks.left = TrackDesignerAt(-1, leftFlag, leftIndex, ML, tracks.leftML);
  tracks.right = TrackDesignerAt(1, rightFlag, rightIndex, ML, tracks.rightML);
  // Structure codes of the two tracks, each on its own line.
  r.leftCode = tracks.left->ClassifyChainage(tracks.leftML);
  r.rightCode = tracks.right->ClassifyChainage(tracks.rightML);
  const bool leftInStructure = TrackInStructure(r.leftCode);
  const bool rightInStructure = TrackInStructure(r.rightCode);

  SideDesign left, right;
  DoubleMiddle middle;
  // The results of the pass on the ground line are the ones kept, with the
  // formation and frames they were designed on (each pass sets the record's
  // templates, crowns and reference elevations for its own layer).
  SideDesign keptLeft, keptRight;
  DoubleMiddle keptMiddle;
  PassFrames groundFrames;
  auto pass = [&](int k, AreaTriple& cut) {
    const GroundBlock& block = r.groundBlocks[static_cast<size_t>(k)];
    double flags[kSectionSides] = {};
    DoubleLineRoadbedTop(ML, r.groundElevation, r.leftLineOffset, r.rightLineOffset, r.curveWidening,
                         r.rightCurveWidening, block.leftCount, block.left, block.rightCount, block.right,
                         leftElevation, rightElevation, r.crownOffset[0], r.crownOffset[1], r.roadbedTop, flags,
                         r.shoulderFillHeight);
    std::copy(std::begin(flags), std::end(flags), r.roadbedTopFlag);
    DoubleLineContext context;
    context.ML = ML;
    context.leftDesigner = tracks.left;
    context.rightDesigner = tracks.right;
    context.leftML = tracks.leftML;
    context.rightML = tracks.rightML;
    std::vector<PairXY> leftOuterGround, rightOuterGround;
    GroundProfileFrom(r.crownOffset[0], r.groundElevation, block.leftCount, block.left, block.rightCount,
                      block.right, r.referenceElevation[0], leftOuterGround, context.leftInnerGround);
    GroundProfileFrom(r.crownOffset[1], r.groundElevation, block.leftCount, block.left, block.rightCount,
                      block.right, r.referenceElevation[1], context.rightInnerGround, rightOuterGround);
    if (k == 0) groundFrames.Take(r);
    if (leftInStructure || rightInStructure) {
      cut = AreaTriple();
      return true;
    }
    left.formCode = r.formCode[0];
    right.formCode = r.formCode[3];
    DesignSideOfPass(*tracks.left, -1, k, tracks.leftML, r.referenceElevation[0], leftOuterGround, r.roadbedTop[0],
                     left);
    DesignSideOfPass(*tracks.right, 2, k, tracks.rightML, r.referenceElevation[1], rightOuterGround,
                     r.roadbedTop[3], right);
    context.leftCrown = r.crownOffset[0];
    context.rightCrown = r.crownOffset[1];
    context.leftReference = r.referenceElevation[0];
    context.rightReference = r.referenceElevation[1];
    std::copy(std::begin(r.roadbedTop[1]), std::end(r.roadbedTop[1]), context.leftInnerTop);
    std::copy(std::begin(r.roadbedTop[2]), std::end(r.roadbedTop[2]), context.rightInnerTop);
    middle = DoubleMiddle();
    const bool leftGap = r.roadbedTopFlag[1] > 0.01;
    const bool rightGap = r.roadbedTopFlag[2] > 0.01;
    if (!leftGap && !rightGap)
      DesignDoubleVariantZeroGap(context, middle);
    else if (leftGap && rightGap)
      DesignDoubleVariantBothGaps(context, middle);
    else
      DesignDoubleVariantOneGap(context, middle);
    cut.left = left.cutArea;
    cut.middle = middle.quantities.cut;
    cut.right = right.cutArea;
    if (k == 0) {
      keptLeft = left;
      keptRight = right;
      keptMiddle = middle;
    }
    return true;
  };

  RunLayerPasses(r.GroundBlockCount(), m_sideEdit != nullptr, pass, r.layerCuts);
  if (!r.layerCuts.empty()) groundFrames.Put(r);
  SetRockClasses(r);

  if (!leftInStructure && !rightInStructure && !r.layerCuts.empty()) {
    StoreAreas(r, keptLeft, keptRight, &keptMiddle.quantities);
    r.leftLandTake = keptLeft.landTake;
    r.rightLandTake = keptRight.landTake;
    StoreSideDesign(r, -1, keptLeft, true);
    StoreSideDesign(r, 1, keptMiddle.leftInner, false);
    StoreSideDesign(r, -2, keptMiddle.rightInner, true);
    StoreSideDesign(r, 2, keptRight, false);
  }

  // A track in a structure: the other one is designed on its own, and the
  // structure's side takes the bridge margin.
  if (leftInStructure && !rightInStructure) {
    DesignDoubleSide(index, leftFlag, rightFlag, leftIndex, rightIndex, 1);
    r.leftLandTake = std::fabs(leftOffset) + r.crownOffset[0] + bridgeLandTakeMargin;
  } else if (rightInStructure && !leftInStructure) {
    DesignDoubleSide(index, leftFlag, rightFlag, leftIndex, rightIndex, -1);
    r.rightLandTake = rightOffset + bridgeLandTakeMargin - r.crownOffset[1];
  } else if (leftInStructure && rightInStructure) {
    r.leftLandTake = std::fabs(leftOffset) + r.crownOffset[0] + bridgeLandTakeMargin;
    r.rightLandTake = rightOffset + bridgeLandTakeMargin - r.crownOffset[1];
    if (SectionCount() == 1) acedAlert("指定里程位于桥梁范围内!");
  }
  if (!(leftInStructure && rightInStructure)) r.areas.middlePartFlag = keptMiddle.quantities.flag;
}

const CrossSectionDesigner* CrossSectionDesigner::TrackDesignerAt(int side, int flag, int detour, double ML,
                                                                  double& trackML) const {
  const int line = side < 0 ? -1 : 1;
  const CrossSectionDesigner* own = flag ? DetourDesigner(line, detour) : nullptr;
  trackML = own != nullptr ? MileageOnDetourLine(line, detour, ML) : ML;
  return own != nullptr ? own : this;
}

// ---- One track of a double-line section -------------------------------------------------------------

void CrossSectionDesigner::DesignDoubleSide(int index, int leftFlag, int rightFlag, int leftIndex, int rightIndex,
                                            int side) {
  if (index < 0 || index >= SectionCount() || (side != -1 && side != 1)) return;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  const double ML = r.mileage;
  const bool leftTrack = side < 0;
  const int t = leftTrack ? 0 : 1;  // the track's crown offset and reference elevation

  const CrossSectionDesigner* designer = this;
  double trackML = ML;
  const int flag = leftTrack ? leftFlag : rightFlag;
  const int detour = leftTrack ? leftIndex : rightIndex;
  if (flag) {
    if (const CrossSectionDesigner* d = DetourDesigner(side, detour)) {
      designer = d;
      trackML = MileageOnDetourLine(leftFlag ? -1 : 1, leftFlag ? leftIndex : rightIndex, ML);
    }
  }
  double centre = 0.0, leftElevation = 0.0, rightElevation = 0.0;
  DesignElevationsAt(false, ML, centre, leftElevation, rightElevation);
  const double elevation = leftTrack ? leftElevation : rightElevation;
  const double spacing = leftTrack ? r.leftLineOffset : r.rightLineOffset;
  PairXY* leftTop = r.roadbedTop[leftTrack ? 0 : 2];
  PairXY* rightTop = r.roadbedTop[leftTrack ? 1 : 3];

  SideDesign a, b;
  auto pass = [&](int k, AreaTriple& cut) {
    const GroundBlock& block = r.groundBlocks[static_cast<size_t>(k)];
    double crown = 0.0, flagA = 0.0, flagB = 0.0, fillA = 0.0, fillB = 0.0;
    SingleLineRoadbedTop(trackML, r.groundElevation, 0.0, 0.0, r.curveWidening, block.leftCount, block.left,
                         block.rightCount, block.right, elevation, elevation, crown, leftTop, rightTop, flagA, flagB,
                         fillA, fillB);
    r.crownOffset[t] = spacing;
    std::vector<PairXY> leftGround, rightGround;
    GroundProfileFrom(r.crownOffset[t], r.groundElevation, block.leftCount, block.left, block.rightCount,
                      block.right, r.referenceElevation[t], leftGround, rightGround);
    a.formCode = r.formCode[SideIndex(leftTrack ? -1 : -2)];
    b.formCode = r.formCode[SideIndex(leftTrack ? 1 : 2)];
    DesignSideOfPass(*designer, leftTrack ? -1 : -2, k, trackML, r.referenceElevation[t], leftGround, leftTop, a);
    DesignSideOfPass(*designer, leftTrack ? 1 : 2, k, trackML, r.referenceElevation[t], rightGround, rightTop, b);
    cut.left = a.cutArea;
    cut.right = b.cutArea;
    return true;
  };
  std::vector<AreaTriple> passes;
  RunLayerPasses(r.GroundBlockCount(), m_sideEdit != nullptr, pass, passes);
  if (passes.empty()) return;
  r.layerCuts = passes;
  SetRockClasses(r);
  AreaTriple cut;
  pass(0, cut);

  StoreAreas(r, a, b, nullptr);
  if (leftTrack)
    r.leftLandTake = a.landTake;
  else
    r.rightLandTake = b.landTake;
  StoreSideDesign(r, leftTrack ? -1 : -2, a, true);
  StoreSideDesign(r, leftTrack ? 1 : 2, b, false);
}
