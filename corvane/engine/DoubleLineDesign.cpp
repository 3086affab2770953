// The middle part of a double-line section (the ground between the two
// tracks standing on one roadbed), the meeting of the two inner slopes, and
// the one-side re-design of an edited section.
//
// Each inner line starts as its track's template (crown twice, the shoulder
// three times) in its track's frame and is completed by one of three
// layouts, chosen by where the two inner shoulders stand:
// - both at the embankment distance: the two embankments are graded down;
//   where they meet before reaching the ground the middle is closed with a
//   flat bottom, and where there is no room for slopes at all it is closed
//   flat with a drain at the middle;
// - both at the cutting distance: each gets its side ditch and platform, and
//   the two cuttings are graded up, stopping where they meet;
// - one of each: the lower track takes its side ditch, the higher one a
//   slope down to it; tracks at about one level are closed flat.

#include <algorithm>
#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"
#include "SectionGeometry.h"

namespace {

constexpr double kInnerSearchWidth = 100.0;

// One inner side as the layouts see it.
struct Inner {
  SideStandardsAt st;
  double reference = 0.0;
  const std::vector<PairXY>* ground = nullptr;
  SideDesign* out = nullptr;

  int GroundCount() const { return static_cast<int>(ground->size()); }
  const PairXY* Ground() const { return ground->data(); }
  const PairXY& Shoulder() const { return out->points[4]; }
  // The foot of a cutting beyond the side ditch and the platform.
  PairXY Foot() const {
    const double platform = st.cutting.count > 0 ? st.cutting.bermWidth[0] : 0.0;
    const double platformSlope = st.cutting.count > 0 ? st.cutting.bermSlope[0] : 0.0;
    return {Shoulder().x + st.sideDitch.topWidth + platform, Shoulder().y + platform * platformSlope / 100.0};
  }
  // The ground segment under x (0 before the ground line).
  int GroundIndexAt(double x) const {
    double value = 0.0;
    int index = 0;
    CrossSectionDesigner::InterpolateOnPolyline(x, GroundCount(), Ground(), value, index);
    return std::max(index, 0);
  }
};

// The template of an inner side in its frame: crown twice, then the
// shoulder points.
void StartLine(SideDesign& out, const PairXY top[4], double reference) {
  out = SideDesign();
  out.ditchKind = kDitchNone;
  const PairXY crown{top[0].x, top[0].y - reference};
  out.points = {crown, crown};
  for (int k = 1; k <= 3; ++k) out.points.push_back({top[k].x, top[k].y - reference});
  out.shoulderHeight = out.points[4].y;
}

// Appends the side ditch and the platform to the foot (points 5 .. 8).
void AppendSideDitch(Inner& side) {
  const SideDitchStandard& sd = side.st.sideDitch;
  const PairXY shoulder = side.Shoulder();
  const PairXY p5{shoulder.x + sd.depth * sd.innerRatio, shoulder.y - sd.depth};
  const PairXY p6{p5.x + sd.bottomWidth, p5.y};
  const PairXY p7{p6.x + sd.depth * sd.outerRatio, shoulder.y};
  const PairXY foot = side.Foot();
  side.out->points.insert(side.out->points.end(), {p5, p6, p7, foot});
  side.out->ditchBottomLevel = p5.y;
  side.out->ditchBottomCentre = p5.x + sd.bottomWidth / 2.0;
  side.out->ditchLiningArea +=
      DitchLiningArea(sd.depth, sd.bottomWidth, sd.innerRatio, sd.outerRatio, sd.liningThickness);
  side.out->formCode = kFormCut;
}

// The areas of a completed inner line: a fill line (direction -1) from its
// shoulder with the embankment grades, a cut line (+1) from its foot.
void FinishLine(Inner& side, int direction) {
  SideDesign& out = *side.out;
  const int n = static_cast<int>(out.points.size());
  const bool cut = direction > 0;
  const SideAreaResult a = CrossSectionDesigner::SideAreas(
      n, out.points.data(), side.GroundCount(), side.Ground(), side.st.surfaceLayerThickness,
      side.st.topsoilThickness, side.st.improvedSoilThickness, side.st.shoulderProtectionWidth, kInnerSearchWidth,
      direction, cut ? side.Foot() : side.Shoulder(), cut ? ShiftedCuttingGrades(side.st.cutting) : side.st.embankment);
  out.fillArea = a.fill;
  out.cutArea = a.cut;
  out.topsoilArea = a.topsoil;
  out.improvedSoilArea = a.improvedSoil;
  out.shoulderLayerArea = a.shoulderLayer;
  AddSlopeLengths(out.points, cut && n > 8 ? 8 : 4, out.retainingWallLength, out.turfLength);
  out.landTake = out.points.back().x;
}

// Grades an inner slope from `start`; `limit` is the search width. The
// start point followed by the graded points.
std::vector<PairXY> InnerSlope(const Inner& side, int direction, const PairXY& start, double limit) {
  std::vector<PairXY> graded;
  const SlopeGradeArrays grades = direction < 0 ? side.st.embankment : ShiftedCuttingGrades(side.st.cutting);
  CrossSectionDesigner::GradeSlope(direction, start, grades, side.GroundIndexAt(start.x), side.GroundCount(),
                                   side.Ground(), kInnerSearchWidth, graded, limit);
  graded.insert(graded.begin(), start);
  return graded;
}

// The slope points up to x (the last one cut at x on its segment).
std::vector<PairXY> SlopeUpTo(const std::vector<PairXY>& slope, const PairXY& end) {
  std::vector<PairXY> out;
  for (const PairXY& p : slope) {
    if (p.x >= end.x - 1e-9) break;
    out.push_back(p);
  }
  out.push_back(end);
  return out;
}

// A point of the other track's frame in this track's frame.
PairXY IntoOtherFrame(const PairXY& p, double spacing, double shift, double fromReference, double toReference) {
  return {spacing - p.x - shift, p.y + fromReference - toReference};
}

// Closes the middle flat: each template extended towards the middle at a
// 4 % fall to 0.2 before it, then down to a drain 0.6 below the lower
// shoulder at the middle (7 points each).
void CloseFlat(Inner& left, Inner& right, double freeWidth) {
  const double half = freeWidth / 2.0;
  const double lowerShoulder = std::min(left.Shoulder().y + left.reference, right.Shoulder().y + right.reference);
  for (Inner* side : {&left, &right}) {
    const PairXY shoulder = side->Shoulder();
    const PairXY edge{shoulder.x + half - 0.2, shoulder.y - (half - 0.2) * 0.04};
    const PairXY drain{shoulder.x + half, lowerShoulder - 0.6 - side->reference};
    side->out->points.push_back(edge);
    side->out->points.push_back(drain);
    side->out->formCode = kFormFill;
  }
}

void SumMiddle(DoubleMiddle& middle) {
  MiddleQuantities& q = middle.quantities;
  const SideDesign& a = middle.leftInner;
  const SideDesign& b = middle.rightInner;
  q.fill = a.fillArea + b.fillArea;
  q.cut = a.cutArea + b.cutArea;
  q.topsoil = a.topsoilArea + b.topsoilArea;
  q.improvedSoil = a.improvedSoilArea + b.improvedSoilArea;
  q.shoulderLayer = a.shoulderLayerArea + b.shoulderLayerArea;
  q.ditchLining = a.ditchLiningArea + b.ditchLiningArea;
  q.retainingWall = a.retainingWallLength + b.retainingWallLength;
  q.turf = a.turfLength + b.turfLength;
}

// The two inner sides of a section: the left track's right side, the right
// track's left side, each with its track's standards.
struct InnerPair {
  Inner left;
  Inner right;
  double spacing = 0.0;
};

InnerPair MakeInnerPair(const DoubleLineContext& c, DoubleMiddle& middle) {
  InnerPair pair;
  pair.spacing = std::fabs(c.leftCrown) + std::fabs(c.rightCrown);
  pair.left.st = c.leftDesigner->LookupSideStandards(1, c.leftML);
  pair.right.st = c.rightDesigner->LookupSideStandards(-1, c.rightML);
  pair.left.reference = c.leftReference;
  pair.right.reference = c.rightReference;
  pair.left.ground = &c.leftInnerGround;
  pair.right.ground = &c.rightInnerGround;
  pair.left.out = &middle.leftInner;
  pair.right.out = &middle.rightInner;
  middle = DoubleMiddle();
  StartLine(middle.leftInner, c.leftInnerTop, c.leftReference);
  StartLine(middle.rightInner, c.rightInnerTop, c.rightReference);
  return pair;
}

}  // namespace

// ---- Meeting of the inner slopes --------------------------------------------------------------------

int CrossSectionDesigner::IntersectInnerSlopes(double shift, double spacing, int count, const PairXY* points,
                                               int otherCount, const PairXY* otherPoints, double b, double c,
                                               PairXY& crossing) {
  if (count < 2 || otherCount < 2 || points == nullptr || otherPoints == nullptr) return 0;
  std::vector<PairXY> other;
  other.reserve(static_cast<size_t>(otherCount));
  for (int i = 0; i < otherCount; ++i) {
    const double x = i == 0 ? otherPoints[i].x : std::fabs(otherPoints[i].x);
    other.push_back({spacing - x - shift, otherPoints[i].y + c - b});
  }
  std::vector<PairXY> hits;
  if (IntersectPolylines(points, count, other.data(), otherCount, hits) == 0) return 0;
  crossing = hits.front();
  return 1;
}

// ---- Both inner shoulders at the embankment distance ------------------------------------------------

void CrossSectionDesigner::DesignDoubleVariantZeroGap(const DoubleLineContext& c, DoubleMiddle& middle) const {
  InnerPair pair = MakeInnerPair(c, middle);
  Inner& L = pair.left;
  Inner& R = pair.right;
  const double freeWidth = pair.spacing - L.Shoulder().x - R.Shoulder().x;
  if (freeWidth <= 2.4) {
    middle.quantities.flag = 1;
    CloseFlat(L, R, freeWidth);
  } else {
    const std::vector<PairXY> slopeL = InnerSlope(L, -1, L.Shoulder(), kInnerSearchWidth);
    const std::vector<PairXY> slopeR = InnerSlope(R, -1, R.Shoulder(), kInnerSearchWidth);
    std::vector<PairXY> lineL = slopeL, lineR = slopeR;
    PairXY meet;
    const int countL = static_cast<int>(slopeL.size());
    const int countR = static_cast<int>(slopeR.size());
    if (IntersectInnerSlopes(0.0, pair.spacing, countL, slopeL.data(), countR, slopeR.data(), L.reference,
                             R.reference, meet)) {
      // The slopes meet above the ground: a flat bottom is let in where the
      // meeting, the right slope moved in by the shift, still lies below
      // both formations.
      bool accepted = false;
      for (const auto& [shift, flat] : {std::pair{2.4, 1.0}, std::pair{1.4, 0.5}}) {
        PairXY at;
        if (!IntersectInnerSlopes(shift, pair.spacing, countL, slopeL.data(), countR, slopeR.data(), L.reference,
                                  R.reference, at))
          continue;
        const PairXY atR = IntoOtherFrame(at, pair.spacing, shift, L.reference, R.reference);
        if (!(at.y < L.Shoulder().y - L.st.surfaceLayerThickness &&
              atR.y < R.Shoulder().y - R.st.surfaceLayerThickness))
          continue;
        lineL = SlopeUpTo(slopeL, at);
        lineL.push_back({at.x + flat, at.y});
        lineR = SlopeUpTo(slopeR, atR);
        lineR.push_back({atR.x + flat, atR.y});
        accepted = true;
        break;
      }
      if (!accepted) {
        middle.quantities.flag = 1;
        lineL = SlopeUpTo(slopeL, meet);
        lineR = SlopeUpTo(slopeR, IntoOtherFrame(meet, pair.spacing, 0.0, L.reference, R.reference));
      }
    }
    // The lines continue from the shoulder (point 4) with their slopes.
    L.out->points.insert(L.out->points.end(), lineL.begin() + 1, lineL.end());
    R.out->points.insert(R.out->points.end(), lineR.begin() + 1, lineR.end());
    L.out->formCode = R.out->formCode = kFormFill;
  }
  FinishLine(L, -1);
  FinishLine(R, -1);
  SumMiddle(middle);
}

// ---- Both inner shoulders at the cutting distance ---------------------------------------------------

void CrossSectionDesigner::DesignDoubleVariantBothGaps(const DoubleLineContext& c, DoubleMiddle& middle) const {
  InnerPair pair = MakeInnerPair(c, middle);
  Inner& L = pair.left;
  Inner& R = pair.right;
  AppendSideDitch(L);
  AppendSideDitch(R);
  const PairXY footL = L.Foot();
  const PairXY footR = R.Foot();
  const double remaining = pair.spacing - footL.x - footR.x;
  if (remaining > 0.5) {
    std::vector<PairXY> slopeL = InnerSlope(L, 1, footL, kInnerSearchWidth);
    std::vector<PairXY> slopeR = InnerSlope(R, 1, footR, kInnerSearchWidth);
    PairXY meet;
    if (IntersectInnerSlopes(0.0, pair.spacing, static_cast<int>(slopeL.size()), slopeL.data(),
                             static_cast<int>(slopeR.size()), slopeR.data(), L.reference, R.reference, meet)) {
      // The cuttings stop where they meet: each graded again up to there.
      slopeL = InnerSlope(L, 1, footL, meet.x);
      slopeR = InnerSlope(R, 1, footR, pair.spacing - meet.x);
    }
    L.out->points.insert(L.out->points.end(), slopeL.begin() + 1, slopeL.end());
    R.out->points.insert(R.out->points.end(), slopeR.begin() + 1, slopeR.end());
  } else {
    middle.quantities.flag = 1;
  }
  FinishLine(L, 1);
  FinishLine(R, 1);
  SumMiddle(middle);
}

// ---- One inner shoulder at each distance --------------------------------------------------------------

void CrossSectionDesigner::DesignDoubleVariantOneGap(const DoubleLineContext& c, DoubleMiddle& middle) const {
  InnerPair pair = MakeInnerPair(c, middle);
  Inner& L = pair.left;
  Inner& R = pair.right;
  const double levelL = L.Shoulder().y + L.reference;
  const double levelR = R.Shoulder().y + R.reference;
  Inner& higher = levelL >= levelR ? L : R;
  Inner& lower = levelL >= levelR ? R : L;
  const double remaining = pair.spacing - L.Shoulder().x - R.Foot().x;
  const double step = std::fabs(levelL - levelR);
  if (remaining > 0.5 && step > lower.st.sideDitch.depth) {
    // The lower track takes its side ditch and platform; the higher one a
    // slope down at its first embankment ratio to the lower one's foot level,
    // no further than the lower one's foot.
    AppendSideDitch(lower);
    const PairXY footLower = lower.Foot();
    const double footLevel = footLower.y + lower.reference - higher.reference;
    const PairXY shoulder = higher.Shoulder();
    const double ratio = higher.st.embankment.count > 0 ? higher.st.embankment.ratio[0] : 1.5;
    const double limitX = pair.spacing - footLower.x;
    PairXY end{shoulder.x + (shoulder.y - footLevel) * ratio, footLevel};
    if (end.x > limitX && limitX > shoulder.x) end = {limitX, shoulder.y - (limitX - shoulder.x) / ratio};
    higher.out->points.push_back(end);
    higher.out->formCode = kFormFill;
    FinishLine(higher, -1);
    FinishLine(lower, 1);
  } else {
    // Tracks at about one level: the middle is closed flat.
    CloseFlat(L, R, pair.spacing - L.Shoulder().x - R.Shoulder().x);
    FinishLine(L, -1);
    FinishLine(R, -1);
  }
  middle.quantities.flag = 0;
  SumMiddle(middle);
}

// ---- One-side re-design ------------------------------------------------------------------------------------

int CrossSectionDesigner::RedesignSide(int side, double ML, double searchWidth, double referenceElevation,
                                       int groundCount, const PairXY* ground, const PairXY roadbedTop[4],
                                       const SlopeGradeArrays& embankment, const SlopeGradeArrays& cutting,
                                       SideDesign& out) const {
  SideStandardsAt st = LookupSideStandards(side, ML);
  st.embankment = embankment;
  st.cutting = cutting;
  // Neither the station test nor the improved soil take part in a
  // re-design. The land widening does: a side's land take is its outermost
  // point plus the widening at its chainage, whether designed or re-designed.
  st.inThirdStructure = false;
  st.improvedSoilThickness = 0.0;
  return DesignSideWith(st, searchWidth, referenceElevation, groundCount, ground, roadbedTop, out);
}
