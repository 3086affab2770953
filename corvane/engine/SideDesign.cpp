// The design of one side of a cross-section: from the roadbed top of the
// side and its ground line, with the standards at the section's chainage,
// decide fill or cut, build the design line (roadbed top, shoulder, ditch,
// graded slope down or up to the ground), place a drainage, side or top
// ditch, and compute the land take and the areas.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"

namespace {

// The kind a drainage-ditch row asks for: 1 a drainage ditch, 0 none, -1 no
// ditch at all. Any other table value would claim a ditch that is never
// built and is read as 0.
int DitchKindOfRow(int type) { return (type >= -1 && type <= 1) ? type : kDitchNoRoom; }

// Appends the ground point that follows the last design point: the end of
// the ground segment that holds its x (the first ground point when it lies
// before the ground line, the last when beyond).
void AppendNextGroundPoint(std::vector<PairXY>& points, int groundCount, const PairXY* ground) {
  if (points.empty() || ground == nullptr || groundCount <= 0) return;
  double value = 0.0;
  int index = 0;
  const int r = CrossSectionDesigner::InterpolateOnPolyline(points.back().x, groundCount, ground, value, index);
  if (r == 1) points.push_back(ground[index + 1]);
  else if (r == -1) points.push_back(ground[0]);
  else points.push_back(ground[groundCount - 1]);
}

void TakeAreas(const SideAreaResult& a, SideDesign& out) {
  out.fillArea = a.fill;
  out.cutArea = a.cut;
  out.topsoilArea = a.topsoil;
  out.improvedSoilArea = a.improvedSoil;
  out.shoulderLayerArea = a.shoulderLayer;
}

// The shallow-cut layout: the side ditch beside the shoulder, 0.5 m of flat
// beyond it, and a short leg to the ground.
int LayOutSideDitchOnly(const SideStandardsAt& st, double searchWidth, int groundCount, const PairXY* ground,
                        SideDesign& out, double sideLining) {
  const SideDitchStandard& sd = st.sideDitch;
  out.ditchKind = kDitchNone;
  out.formCode = kFormSideDitchOnly;
  std::vector<PairXY>& points = out.points;
  points.resize(5);
  const PairXY shoulder = points[4];
  const PairXY p5{shoulder.x + sd.depth * sd.innerRatio, shoulder.y - sd.depth};
  const PairXY p6{p5.x + sd.bottomWidth, p5.y};
  const PairXY p7{p6.x + sd.depth * sd.outerRatio, shoulder.y};
  const PairXY p8{p7.x + 0.5, shoulder.y};
  points.insert(points.end(), {p5, p6, p7, p8});
  out.ditchBottomLevel = p5.y;
  out.ditchBottomCentre = p5.x + sd.bottomWidth / 2;
  out.ditchLiningArea += sideLining;

  auto areas = [&](int direction, const PairXY& start, const SlopeGradeArrays& grades) {
    const int n = static_cast<int>(points.size());
    TakeAreas(CrossSectionDesigner::SideAreas(n, points.data(), groundCount, ground, st.surfaceLayerThickness,
                                              st.topsoilThickness, st.improvedSoilThickness,
                                              st.shoulderProtectionWidth, searchWidth, direction, start, grades),
              out);
  };
  double groundAt8 = 0.0;
  int index = 0;
  if (CrossSectionDesigner::InterpolateOnPolyline(p8.x, groundCount, ground, groundAt8, index) == 0) {
    out.landTake = p8.x + st.cutWidening;
    areas(-1, shoulder, st.embankment);
    return -1;
  }
  // Up at the first cutting ratio when the flat lies below the ground, else
  // down at 1:1.
  const bool below = p8.y < groundAt8;
  const double ratio = below ? (st.cutting.count > 0 ? st.cutting.ratio[0] : 0.0) : 1.0;
  const PairXY legEnd{p8.x + 100 * ratio, p8.y + (below ? 100.0 : -100.0)};
  PairXY hit;
  if (CrossSectionDesigner::IntersectSegmentWithGround(index, groundCount, ground, p8, legEnd, hit) != 0) {
    out.landTake = p8.x + st.cutWidening;
    areas(-1, shoulder, st.embankment);
    return -1;
  }
  points.push_back(hit);
  out.landTake = hit.x + st.cutWidening;
  areas(+1, p8, ShiftedCuttingGrades(st.cutting));
  return 1;
}

}  // namespace

SideStandardsAt CrossSectionDesigner::LookupSideStandards(int side, double ML) const {
  SideStandardsAt st;
  st.inThirdStructure = IsInStation(ML);
  const double leftLimit = LookupByEndChainage(ML, leftStandards.limitWidth.count, leftStandards.limitWidth.rows);
  const double rightLimit =
      LookupByEndChainage(ML, rightStandards.limitWidth.count, rightStandards.limitWidth.rows);
  st.limitWidth = side < 0 ? leftLimit : rightLimit;
  double fillL = 0.0, cutL = 0.0, fillR = 0.0, cutR = 0.0;
  GetLandWidening(ML, leftStandards.landWidening.count, leftStandards.landWidening.rows, fillL, cutL);
  GetLandWidening(ML, rightStandards.landWidening.count, rightStandards.landWidening.rows, fillR, cutR);
  st.fillWidening = side < 0 ? fillL : fillR;
  st.cutWidening = side < 0 ? cutL : cutR;
  st.improvedSoilThickness = ImprovedFillThicknessAt(ML);
  st.surfaceLayerThickness = GetShoulderWidth(ML, surfaceLayer.count, surfaceLayer.rows);
  st.shoulderProtectionWidth = GetShoulderWidth(ML, shoulderProtection.count, shoulderProtection.rows);

  const SideStandards& s = Standards(side);
  DrainageDitchStandard& dd = st.drainageDitch;
  GetDrainageDitch(ML, s.drainageDitch.count, s.drainageDitch.rows, dd.type, dd.distance, dd.crossSlope, dd.depth,
                   dd.bottomWidth, dd.innerRatio, dd.outerRatio, dd.liningThickness);
  TopDitchStandard& td = st.topDitch;
  td.applies = GetTopDitch(ML, s.topDitch.count, s.topDitch.rows, td.offset, td.bottomWidth, td.depth,
                           td.innerRatio, td.outerRatio, td.liningThickness);
  SideDitchStandard& sd = st.sideDitch;
  GetSideDitch(ML, s.sideDitch.count, s.sideDitch.rows, sd.topWidth, sd.bottomWidth, sd.depth, sd.innerRatio,
               sd.outerRatio, sd.liningThickness);
  SlopeGradeArrays& e = st.embankment;
  e.count = GetSlopeGrades(ML, s.embankmentSlopes.count, s.embankmentSlopes.rows, e.ratio, e.height, e.bermWidth,
                           e.bermSlope);
  SlopeGradeArrays& c = st.cutting;
  c.count = GetSlopeGrades(ML, s.cuttingSlopes.count, s.cuttingSlopes.rows, c.ratio, c.height, c.bermWidth,
                           c.bermSlope);
  st.topsoilThickness = LookupByEndChainage(ML, s.topsoil.count, s.topsoil.rows);
  return st;
}

int CrossSectionDesigner::DesignSide(int side, double ML, double searchWidth, double referenceElevation,
                                     int groundCount, const PairXY* ground, const PairXY roadbedTop[4],
                                     SideDesign& out) const {
  return DesignSideWith(LookupSideStandards(side, ML), searchWidth, referenceElevation, groundCount, ground,
                        roadbedTop, out);
}

int CrossSectionDesigner::DesignSideWith(const SideStandardsAt& st, double searchWidth, double referenceElevation,
                                         int groundCount, const PairXY* ground, const PairXY roadbedTop[4],
                                         SideDesign& out) {
  out.Reset();
  if (ground == nullptr) groundCount = 0;
  searchWidth = std::min(searchWidth, st.limitWidth);
  const DrainageDitchStandard& dd = st.drainageDitch;
  const SideDitchStandard& sd = st.sideDitch;
  const TopDitchStandard& td = st.topDitch;
  const double c = st.surfaceLayerThickness;

  // Lining areas and the surface layer, before any branch.
  const double drainageLining = DitchLiningArea(dd.depth, dd.bottomWidth, dd.innerRatio, dd.outerRatio,
                                                dd.liningThickness);
  const double sideLining = DitchLiningArea(sd.depth, sd.bottomWidth, sd.innerRatio, sd.outerRatio,
                                            sd.liningThickness);
  const double topLining = DitchLiningArea(td.depth, td.bottomWidth, td.innerRatio, td.outerRatio,
                                           td.liningThickness);
  out.surfaceLayerArea = (roadbedTop[3].x - st.shoulderProtectionWidth) * c;
  out.ditchKind = DitchKindOfRow(dd.type);

  // The roadbed top: crown twice, then the template's three shoulder points.
  std::vector<PairXY>& points = out.points;
  const PairXY crown{roadbedTop[0].x, roadbedTop[0].y - referenceElevation};
  points = {crown, crown};
  for (int k = 1; k <= 3; ++k) points.push_back({roadbedTop[k].x, roadbedTop[k].y - referenceElevation});
  const PairXY shoulder = points[4];
  out.shoulderHeight = shoulder.y;
  out.ditchBottomLevel = shoulder.y - sd.depth;
  out.ditchBottomCentre = shoulder.x + sd.depth * sd.innerRatio + sd.bottomWidth / 2;
  out.landTake = shoulder.x + st.fillWidening;
  FillCutAreas(-1, 5, points.data(), groundCount, ground, c, out.fillArea, out.cutArea);

  // The foot of a cutting: beyond the side ditch and the platform of the
  // first cutting grade.
  const double platform = st.cutting.count > 0 ? st.cutting.bermWidth[0] : 0.0;
  const double platformSlope = st.cutting.count > 0 ? st.cutting.bermSlope[0] : 0.0;
  const PairXY foot{shoulder.x + sd.topWidth + platform, shoulder.y + platform * platformSlope / 100};

  double groundAtShoulder = 0.0;
  int shoulderIndex = 0;
  if (InterpolateOnPolyline(shoulder.x, groundCount, ground, groundAtShoulder, shoulderIndex) == 0) return -1;

  const bool fill = shoulder.y - groundAtShoulder > sd.depth || st.inThirdStructure;
  if (fill && st.inThirdStructure) {
    // A station: a flat extension 0.5 above the crown, whatever the ground.
    out.formCode = kFormFill;
    points.push_back({shoulder.x, crown.y + 0.5});
    points.push_back({shoulder.x + 20, crown.y + 0.5});
    AddSlopeLengths(points, 4, out.retainingWallLength, out.turfLength);
    const int n = static_cast<int>(points.size());
    FillCutAreas(-1, n, points.data(), groundCount, ground, c, out.fillArea, out.cutArea);
    out.improvedSoilArea = (out.fillArea > 0.0 && st.improvedSoilThickness > 0.0)
                               ? ImprovedSoilArea(-1, n, points.data(), groundCount, ground, c,
                                                  st.improvedSoilThickness)
                               : 0.0;
    out.topsoilArea = st.topsoilThickness * points.back().x;
    out.shoulderLayerArea = 0.0;
    out.fillArea = std::max(0.0, out.fillArea - out.improvedSoilArea);
    out.landTake = points.back().x + st.fillWidening;
    if (out.ditchKind == kDitchDrainage) out.ditchKind = kDitchNone;  // no drainage ditch is built here
    return 1;
  }

  if (fill) {
    out.formCode = kFormFill;
    std::vector<PairXY> graded;
    const int gradedResult = GradeSlope(-1, shoulder, st.embankment, shoulderIndex, groundCount, ground,
                                         st.limitWidth, graded, searchWidth);
    points.insert(points.end(), graded.begin(), graded.end());
    AddSlopeLengths(points, 4, out.retainingWallLength, out.turfLength);
    out.landTake = points.back().x + st.fillWidening;
    TakeAreas(SideAreas(static_cast<int>(points.size()), points.data(), groundCount, ground, c,
                        st.topsoilThickness, st.improvedSoilThickness, st.shoulderProtectionWidth, searchWidth, -1,
                        shoulder, st.embankment),
              out);
    if (gradedResult == 1 && out.ditchKind == kDitchDrainage) {
      const double ditchLevel = roadbedTop[3].y - c - dd.distance * dd.crossSlope;
      const int placed = PlaceDrainageDitch(ditchLevel, referenceElevation, dd, static_cast<int>(points.size()),
                                            points.data(), groundCount, ground, out.drainageDitchCount,
                                            out.drainageDitch);
      if (placed == 1) {
        const int k = out.drainageDitchCount;
        if (k > 3) {
          out.ditchBottomLevel = out.drainageDitch[k - 2].y;
          out.ditchBottomCentre = (out.drainageDitch[k - 3].x + out.drainageDitch[k - 2].x) / 2;
          out.landTake = out.drainageDitch[k - 1].x + st.fillWidening;
        }
        std::vector<PairXY> surface;
        SurfaceBeyondToe(groundCount, ground, static_cast<int>(points.size()), points.data(), surface);
        DitchAreas(static_cast<int>(surface.size()), surface.data(), k, out.drainageDitch, out.ditchFillArea,
                   out.ditchCutArea);
        out.ditchLiningArea += drainageLining;
      } else if (placed == 3) {
        // No room for a drainage ditch: the fill slope is given up for the
        // side-ditch layout, and so are its slope lengths.
        out.drainageDitchCount = 0;
        out.retainingWallLength = 0.0;
        out.turfLength = 0.0;
        return LayOutSideDitchOnly(st, searchWidth, groundCount, ground, out, sideLining);
      } else if (placed == 4) {
        out.ditchKind = kDitchNoRoom;
        out.drainageDitchCount = 0;
        out.ditchLiningArea += 0.5;
      } else {
        out.ditchKind = kDitchNone;  // the ground was not met: no ditch
        out.drainageDitchCount = 0;
      }
    } else if (gradedResult == 1 && out.ditchKind == kDitchNoRoom) {
      out.drainageDitchCount = 0;
      out.ditchLiningArea += 0.5;
    } else if (gradedResult != 1) {
      out.ditchKind = kDitchNone;
    }
    if (gradedResult == 1 || gradedResult == -2) return 1;
    AppendNextGroundPoint(points, groundCount, ground);
    return -1;
  }

  // Cut.
  out.ditchKind = kDitchNone;
  double groundAtFoot = 0.0;
  int footIndex = 0;
  if (InterpolateOnPolyline(foot.x, groundCount, ground, groundAtFoot, footIndex) == 0) return -1;
  if (!(foot.y < groundAtFoot)) return LayOutSideDitchOnly(st, searchWidth, groundCount, ground, out, sideLining);

  out.ditchLiningArea += sideLining;
  const int gradedResult =
      BuildCutWithSideDitch(sd, foot, st.cutting, footIndex, groundCount, ground, st.limitWidth, points,
                            out.formCode, searchWidth, out.retainingWallLength, out.turfLength);
  if ((gradedResult == 0 || gradedResult == -1) && points.back().x <= ground[groundCount - 1].x)
    AppendNextGroundPoint(points, groundCount, ground);
  TakeAreas(SideAreas(static_cast<int>(points.size()), points.data(), groundCount, ground, c, st.topsoilThickness,
                      st.improvedSoilThickness, st.shoulderProtectionWidth, searchWidth, +1, foot,
                      ShiftedCuttingGrades(st.cutting)),
            out);
  out.landTake = points.back().x + st.cutWidening;
  if (td.applies) {
    // A top ditch only where the ground rises outwards (a NaN slope places none).
    const double slope = GroundCrossSlope(points.back(), ground[groundCount - 1].x, groundCount, ground);
    const int placed = slope >= 0.0 ? PlaceTopDitch(td, static_cast<int>(points.size()), points.data(),
                                                    groundCount, ground, out.topDitchCount, out.topDitch)
                                    : -1;
    if (placed == 1 && out.topDitchCount > 3) {
      out.ditchKind = kDitchTop;
      out.landTake = out.topDitch[out.topDitchCount - 1].x + st.cutWidening;
      DitchAreas(groundCount, ground, out.topDitchCount, out.topDitch, out.ditchFillArea, out.ditchCutArea);
      out.ditchLiningArea += topLining;
    } else {
      out.topDitchCount = 0;
    }
  }
  return 1;
}
