// The re-design of one section after the user edited a drawn design line:
// the section is designed again as the design run designed it, the edited
// side from the line's vertices and slope table, the section's record takes
// that side (and the rock-class split that follows from it), and the result
// is carried back into the drawn entities of that side (the design line, its
// two ditches and the section's note).

#include <algorithm>
#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"

namespace {

// Ditch points on the centre line are list slots left empty, never drawn.
constexpr double kOnCentreLine = 0.0001;

bool InsideStructure(int code) {
  return code == kBridgeInside || code == kTunnelInside || code == kStationInside;
}

// A section that lies inside a bridge, a tunnel or a station: both lines of a
// double-line section; the one line of a single-line section, which carries
// no code of a second line.
bool SectionInsideStructure(const SectionRecord& r) {
  return r.kind == 2 ? InsideStructure(r.leftCode) && InsideStructure(r.rightCode) : InsideStructure(r.leftCode);
}

// The track of a side code: sides -2 and +2 belong to the second track.
int TrackOf(int side) { return side == -2 || side == 2 ? 1 : 0; }

// The ground of one side as its track sees it, outwards (x ≥ 0), and the
// track's reference elevation. False for a section without ground.
bool GroundOfSide(const SectionRecord& r, int side, double& reference, std::vector<PairXY>& outwards) {
  if (r.groundBlocks.empty()) return false;
  const GroundBlock& b = r.groundBlocks[0];
  std::vector<PairXY> left, right;
  CrossSectionDesigner::GroundProfileFrom(r.crownOffset[TrackOf(side)], r.groundElevation, b.leftCount, b.left,
                                          b.rightCount, b.right, reference, left, right);
  outwards = side < 0 ? left : right;
  return true;
}

AcGePoint3d Drawn(const SectionFrame& frame, const PairXY& local) {
  const PairXY p = frame.ToDrawing(local);
  return AcGePoint3d(p.x, p.y, 0.0);
}

std::vector<AcGePoint3d> DrawnPoints(const SectionFrame& frame, const std::vector<PairXY>& points) {
  std::vector<AcGePoint3d> out;
  out.reserve(points.size());
  for (const PairXY& p : points) out.push_back(Drawn(frame, p));
  return out;
}

std::vector<AcGePoint3d> OutlinePoints(int count, const PairXY* outline) {
  std::vector<AcGePoint3d> out;
  for (int i = 0; i < count; ++i) out.emplace_back(outline[i].x, outline[i].y, 0.0);
  return out;
}

// The points of a ditch list that are drawn (those off the centre line).
std::vector<PairXY> DrawnDitchPoints(int count, const PairXY* points) {
  std::vector<PairXY> kept;
  for (int j = 0; j < count; ++j)
    if (std::fabs(points[j].x) > kOnCentreLine) kept.push_back(points[j]);
  return kept;
}

// The label of a ditch at the middle of its points `first` and first + 1:
// the ditch bottom's elevation and the offset of its middle from the line.
void SetDitchLabel(SectionDitchData& ditch, const std::vector<PairXY>& kept, size_t first, double reference,
                   const SectionFrame& frame) {
  if (first + 1 >= kept.size()) return;
  const PairXY middle{(kept[first].x + kept[first + 1].x) / 2, (kept[first].y + kept[first + 1].y) / 2};
  ditch.labelAnchor = Drawn(frame, middle);
  ditch.bottomElevation = reference + kept[first].y;
  ditch.bottomCentre = std::fabs(middle.x);
}

bool IsCutForm(double formCode) {
  return std::fabs(formCode - kFormCut) < 0.01 || std::fabs(formCode - kFormSideDitchOnly) < 0.01;
}

// Carries side `side` of section `index` of `owner` into the entities of
// that side (the three update operations; `st` the side's standards at the
// section, for the ditch linings).
int UpdateEntitiesOfSide(const CrossSectionDesigner& owner, const SideStandardsAt& st, int side, int index,
                         double reference, DesignLineData& line, SectionDitchData& ditch, SectionDitchData& topDitch,
                         SectionFrame frame, SectionNoteData& note) {
  if (index < 0 || index >= owner.SectionCount()) return 0;
  const SectionRecord& r = owner.sections[static_cast<size_t>(index)];
  const int k = SideIndex(side);
  const int away = side < 0 ? -1 : 1;
  frame.referenceElevation = reference;

  std::vector<PairXY> design;
  for (int j = 0; j < r.designLines[k].length(); ++j) design.push_back({r.designLines[k][j].x, r.designLines[k][j].y});
  const std::vector<AcGePoint3d> drawnDesign = DrawnPoints(frame, design);

  // The design line of this side.
  if (line.side == side) {
    line.vertices = drawnDesign;
    if (line.vertices.size() >= 2) line.vertices[0] = AcGePoint3d(frame.originX, line.vertices[1].y, 0.0);
    line.SetFormCode(r.formCode[k]);
    line.TakeSlopeLegGeometryFromVertices();
  }

  // The ditches: both follow the side's ditch kind; the one that shows it
  // takes the points.
  ditch.kind = topDitch.kind = r.ditchKind[k];
  ditch.side = topDitch.side = away;
  if (r.ditchKind[k] == kDitchDrainage && r.drainageDitchCount[k] >= 1) {
    const std::vector<PairXY> kept = DrawnDitchPoints(r.drainageDitchCount[k], r.drainageDitch[k]);
    ditch.vertices = DrawnPoints(frame, kept);
    if (kept.size() == 5) SetDitchLabel(ditch, kept, 2, reference, frame);
    if (kept.size() == 6) SetDitchLabel(ditch, kept, 3, reference, frame);
  } else if (r.ditchKind[k] == kDitchNoRoom && drawnDesign.size() >= 2) {
    const AcGePoint3d& end = drawnDesign.back();
    const AcGePoint3d& before = drawnDesign[drawnDesign.size() - 2];
    PairXY symbol[kPointSymbolPoints];
    int count = 0;
    CrossSectionDesigner::BuildPointSymbol(away, end.x, end.y, PairXY{before.x, before.y}, count, symbol);
    ditch.vertices = OutlinePoints(count, symbol);
  } else if (r.ditchKind[k] == kDitchTop && r.topDitchCount[k] >= 1) {
    const std::vector<PairXY> kept = DrawnDitchPoints(r.topDitchCount[k], r.topDitch[k]);
    topDitch.vertices = DrawnPoints(frame, kept);
    SetDitchLabel(topDitch, kept, 1, reference, frame);
  }

  // The linings.
  PairXY outline[kLinedDitchPoints];
  int count = 0;
  if (r.ditchKind[k] == kDitchTop) {
    double groundReference = 0.0;
    std::vector<PairXY> ground;
    GroundOfSide(r, side, groundReference, ground);
    for (PairXY& p : ground) p.x *= away;  // signed as the record's points
    const TopDitchStandard& td = st.topDitch;
    CrossSectionDesigner::BuildDitchOnGround(away, td.liningThickness, td.innerRatio, td.outerRatio, td.depth,
                                             r.topDitchCount[k], r.topDitch[k], static_cast<int>(ground.size()),
                                             ground.data(), frame, count, outline);
    topDitch.outline = OutlinePoints(count, outline);
  }
  if (line.side == side) {
    count = 0;
    if (IsCutForm(r.formCode[k])) {
      const SideDitchStandard& sd = st.sideDitch;
      CrossSectionDesigner::BuildDitchFromSideBlock(away, sd.liningThickness, sd.innerRatio, sd.outerRatio, sd.depth,
                                                    static_cast<int>(design.size()), design.data(), frame, count,
                                                    outline);
    }
    line.extraPoints = OutlinePoints(count, outline);
  }
  if (r.ditchKind[k] == kDitchDrainage) {
    const DrainageDitchStandard& dd = st.drainageDitch;
    CrossSectionDesigner::BuildDitchByType(away, dd.liningThickness, dd.innerRatio, dd.outerRatio, dd.depth,
                                           r.drainageDitchCount[k], r.drainageDitch[k], frame, count, outline);
    ditch.outline = OutlinePoints(count, outline);
  }

  // The note.
  // The note gives the land take as the distance of its boundary from the
  // section's centre line.
  note.landTake[side < 0 ? 0 : 1] = side < 0 ? r.LeftLandWidth() : r.RightLandWidth();
  note.fillTotal = r.fillTotal;
  note.cutTotal = r.cutTotal;
  note.areas = r.areas;
  return 1;
}

// The grades of a slope table, their count held within the table.
SlopeGradeArrays Held(const SlopeGradeArrays& grades) {
  SlopeGradeArrays out = grades;
  out.count = std::clamp(out.count, 0, kMaxSlopeGrades);
  return out;
}

// The layer passes of a section whose side `side` was re-designed: that
// side's part from the re-design (`redone`), the other parts as the record
// keeps them from their own design. The pass on the ground line is the
// record's cut (`groundCut`, its parts with the re-designed side's already
// taken): the design keeps that pass's cut as the section's, so the split
// adds up to the cut even for a record read back from the files, which
// holds no passes but the cut of every side, one of them perhaps edited in
// an earlier session. A deeper pass the record holds none of (read back, or
// a layer its design did not reach) takes the other parts as the design
// gives them now. They end, as the design's do, after the first pass whose
// cut is exactly 0.
std::vector<AreaTriple> CombinedLayerCuts(const std::vector<AreaTriple>& kept, const AreaTriple& groundCut,
                                          const std::vector<AreaTriple>& redone, bool right) {
  std::vector<AreaTriple> passes;
  for (size_t k = 0; k < redone.size(); ++k) {
    AreaTriple t = k == 0 ? groundCut : k < kept.size() ? kept[k] : redone[k];
    (right ? t.right : t.left) = right ? redone[k].right : redone[k].left;
    passes.push_back(t);
    if (t.left + t.middle + t.right == 0.0) break;
  }
  return passes;
}

// Side `side` of `redone` (the section designed again with the edit) into
// the record: the design line, the ditches, the land take and the area
// parts of that side, the edited formation, then the totals and the
// rock-class split.
void TakeRedesignedSide(SectionRecord& r, const SectionRecord& redone, int side, const PairXY top[4]) {
  const int k = SideIndex(side);
  const bool right = side > 0;
  r.designLines[k] = redone.designLines[k];
  r.pointCount[k] = redone.pointCount[k];
  r.lastIndex[k] = redone.lastIndex[k];
  r.formCode[k] = redone.formCode[k];
  r.ditchKind[k] = redone.ditchKind[k];
  r.drainageDitchCount[k] = redone.drainageDitchCount[k];
  std::copy(std::begin(redone.drainageDitch[k]), std::end(redone.drainageDitch[k]), r.drainageDitch[k]);
  r.topDitchCount[k] = redone.topDitchCount[k];
  std::copy(std::begin(redone.topDitch[k]), std::end(redone.topDitch[k]), r.topDitch[k]);
  std::copy(top, top + 4, r.roadbedTop[k]);
  (right ? r.rightLandTake : r.leftLandTake) = right ? redone.rightLandTake : redone.leftLandTake;
  CopySideAreas(r.areas, redone.areas, right);
  SumSectionAreas(r);
  r.layerCuts = CombinedLayerCuts(r.layerCuts, r.areas.cutParts, redone.layerCuts, right);
  SetRockClasses(r);
}

}  // namespace

int CrossSectionDesigner::RedesignOneSide(const CrossSectionDesigner& standards, double trackML, int row, int side,
                                          DesignLineData& line, SectionDitchData& ditch, SectionDitchData& topDitch,
                                          SectionNoteData& note) {
  SectionRecord& r = sections[static_cast<size_t>(row)];
  const int k = SideIndex(side);
  if (k < 0 || line.vertices.size() < 5) return 0;
  double reference = 0.0;
  std::vector<PairXY> ground;
  if (!GroundOfSide(r, side, reference, ground)) return 0;
  SectionFrame frame = line.Frame();
  if (!(frame.factor > 0.0))
    frame = SectionFrame::Current(r.sheetX, r.sheetY, r.referenceElevation[TrackOf(side)], r.minElevation);
  if (!(frame.factor > 0.0)) return 0;

  // The formation as the line shows it now: vertex 1 the crown, vertices 2
  // to 4 the shoulder (the slope start), in absolute elevations, x outwards.
  SideEdit edit;
  edit.side = side;
  const double away = side < 0 ? -1.0 : 1.0;
  for (int j = 0; j < 4; ++j) {
    const AcGePoint3d& v = line.vertices[static_cast<size_t>(j + 1)];
    edit.top[j] = {away * (v.x - frame.originX) / frame.factor,
                   (v.y - frame.originY) / frame.factor + frame.baseElevation};
  }
  edit.embankment = Held(line.embankment);
  edit.cutting = Held(line.cutting);

  // The section is designed again as the design run designed it, the edited
  // side with the edit in every layer pass; the record keeps what it had of
  // the other sides and takes the edited side from that design.
  int found = 0, leftIndex = -1, rightIndex = -1, leftFlag = 0, rightFlag = 0;
  FindDetourAtChainage(r.mileage, found, leftIndex, rightIndex, leftFlag, rightFlag);
  const int relation = r.kind == 2 ? 2 : (lineKind == "单线" ? 0 : r.lineRelation);
  const SectionRecord kept = r;
  m_sideEdit = &edit;
  DesignSectionByRelation(row, relation, leftFlag, rightFlag, leftIndex, rightIndex);
  m_sideEdit = nullptr;
  const SectionRecord redone = sections[static_cast<size_t>(row)];
  sections[static_cast<size_t>(row)] = kept;
  if (redone.designLines[k].isEmpty()) return 0;  // the design does not design this side

  TakeRedesignedSide(sections[static_cast<size_t>(row)], redone, side, edit.top);
  ApplyExcavationClasses(row);
  return UpdateEntitiesOfSide(*this, standards.LookupSideStandards(side < 0 ? -1 : 1, trackML), side, row, reference,
                              line, ditch, topDitch, frame, note);
}

int CrossSectionDesigner::RedesignEditedSection(int row, DesignLineData& line, const EarthLineData* /*leftGround*/,
                                                SectionDitchData& ditch, SectionDitchData& topDitch,
                                                const EarthLineData* /*rightGround*/, SectionNoteData& note) {
  if (row < 0 || row >= SectionCount()) return 0;
  if (SectionInsideStructure(sections[static_cast<size_t>(row)])) return 0;
  return note.kind == 1 ? RedesignSectionA(row, line, ditch, topDitch, note)
                        : RedesignSectionB(row, line, ditch, topDitch, note);
}

int CrossSectionDesigner::RedesignSectionA(int row, DesignLineData& line, SectionDitchData& ditch,
                                           SectionDitchData& topDitch, SectionNoteData& note) {
  if (row < 0 || row >= SectionCount() || (line.side != -1 && line.side != 1)) return 0;
  return RedesignOneSide(*this, sections[static_cast<size_t>(row)].mileage, row, line.side, line, ditch, topDitch,
                         note);
}

int CrossSectionDesigner::RedesignSectionB(int row, DesignLineData& line, SectionDitchData& ditch,
                                           SectionDitchData& topDitch, SectionNoteData& note) {
  if (row < 0 || row >= SectionCount() || (line.side != -1 && line.side != 2)) return 0;
  const double ML = sections[static_cast<size_t>(row)].mileage;
  // Each track is designed with its own designer's standards, as the
  // double-line design does.
  int relation = 0, leftIndex = -1, rightIndex = -1, leftFlag = 0, rightFlag = 0;
  FindDetourAtChainage(ML, relation, leftIndex, rightIndex, leftFlag, rightFlag);
  double trackML = ML;
  const CrossSectionDesigner* standards = line.side < 0 ? TrackDesignerAt(-1, leftFlag, leftIndex, ML, trackML)
                                                        : TrackDesignerAt(1, rightFlag, rightIndex, ML, trackML);
  return RedesignOneSide(*standards, trackML, row, line.side, line, ditch, topDitch, note);
}

int CrossSectionDesigner::UpdateSideEntities(int side, const CrossSectionDesigner& standards, double standardsML,
                                             int index, double referenceElevation, DesignLineData& line,
                                             SectionDitchData& ditch, SectionDitchData& topDitch,
                                             const SectionFrame& frame, SectionNoteData& note) const {
  if (index < 0 || index >= SectionCount() || SideIndex(side) < 0) return 0;
  return UpdateEntitiesOfSide(*this, standards.LookupSideStandards(side < 0 ? -1 : 1, standardsML), side, index,
                              referenceElevation, line, ditch, topDitch, frame, note);
}

int CrossSectionDesigner::UpdateLeftSideEntities(int index, double referenceElevation, DesignLineData& line,
                                                 SectionDitchData& ditch, SectionDitchData& topDitch,
                                                 const SectionFrame& frame, SectionNoteData& note) const {
  if (index < 0 || index >= SectionCount()) return 0;
  return UpdateSideEntities(-1, *this, sections[static_cast<size_t>(index)].mileage, index, referenceElevation, line,
                            ditch, topDitch, frame, note);
}

int CrossSectionDesigner::UpdateRightSideEntities(int index, double referenceElevation, DesignLineData& line,
                                                  SectionDitchData& ditch, SectionDitchData& topDitch,
                                                  const SectionFrame& frame, SectionNoteData& note) const {
  if (index < 0 || index >= SectionCount()) return 0;
  return UpdateSideEntities(1, *this, sections[static_cast<size_t>(index)].mileage, index, referenceElevation, line,
                            ditch, topDitch, frame, note);
}

int CrossSectionDesigner::UpdateOuterRightEntities(int index, double referenceElevation, DesignLineData& line,
                                                   SectionDitchData& ditch, SectionDitchData& topDitch,
                                                   const SectionFrame& frame, SectionNoteData& note) const {
  if (index < 0 || index >= SectionCount()) return 0;
  return UpdateSideEntities(2, *this, sections[static_cast<size_t>(index)].mileage, index, referenceElevation, line,
                            ditch, topDitch, frame, note);
}
