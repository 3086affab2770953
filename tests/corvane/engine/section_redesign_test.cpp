// The re-design of one section after an edit of its drawn design line: which
// sections and sides are redone (the note's kind picks the single-line or the
// double-line variant; sections inside structures are left alone), and what
// the record and the line take from it.
#include <gtest/gtest.h>

#include <vector>

#include "CrossSectionDesigner.h"
#include "drivers_support.h"
#include "record_fields.h"

namespace {

using drivers_test::LevelBlock;
using drivers_test::MakeLevelDesigner;

constexpr double kF = 5.0;

// The test's frame: origin (1000, 500), factor 5, reference 100, base 95.
SectionFrame Frame() {
  SectionFrame f;
  f.originX = 1000.0;
  f.originY = 500.0;
  f.factor = kF;
  f.referenceElevation = 100.0;
  f.baseElevation = 95.0;
  return f;
}

AcGePoint3d Drawn(const SectionFrame& f, double x, double y) {
  return AcGePoint3d(f.originX + f.factor * x, (f.referenceElevation + y - f.baseElevation) * f.factor + f.originY, 0);
}

// The drawn design line of side `side` of section 0 as the drawing draws it,
// with the slope grades `embankment` and `cutting`.
DesignLineData DrawnLine(const CrossSectionDesigner& d, int side, const SlopeGradeArrays& embankment,
                         const SlopeGradeArrays& cutting) {
  const SectionRecord& r = d.sections[0];
  const SectionFrame f = Frame();
  DesignLineData line;
  const AcGePoint3dArray& points = r.designLines[SideIndex(side)];
  for (int j = 0; j < points.length(); ++j) line.vertices.push_back(Drawn(f, points[j].x, points[j].y));
  line.SetFrame(f);
  line.SetFormCode(r.formCode[SideIndex(side)]);
  line.embankment = embankment;
  line.cutting = cutting;
  line.side = side;
  return line;
}

// One grade of 1:ratio, 100 m high.
SlopeGradeArrays OneGrade(double ratio) {
  SlopeGradeArrays g;
  g.count = 1;
  g.ratio[0] = ratio;
  g.height[0] = 100.0;
  return g;
}

// The drawn design line of side `side` of section 0, with its slope start
// (and the slope beyond it) dragged one metre outwards.
DesignLineData DraggedLine(const CrossSectionDesigner& d, int side) {
  DesignLineData line = DrawnLine(d, side, OneGrade(1.5), OneGrade(1.5));
  const double outwards = side < 0 ? -kF : kF;
  for (size_t j = 2; j < line.vertices.size(); ++j) line.vertices[j].x += outwards;
  return line;
}

// Land widening on both sides: 2 m beyond a fill, 1.5 m beyond a cut.
void WidenLand(CrossSectionDesigner& d) {
  for (int side : {-1, 1}) {
    LandWideningEntry* w = d.Standards(side).landWidening.Replace(1);
    w->endMileage = 1e9;
    w->fillWidening = 2.0;
    w->cutWidening = 1.5;
  }
}

// Re-designs side `side` of section 0 from its drawn line with the grades
// given; the note's kind follows the section's.
int Redesign(CrossSectionDesigner& d, int side, const SlopeGradeArrays& embankment, const SlopeGradeArrays& cutting) {
  DesignLineData line = DrawnLine(d, side, embankment, cutting);
  SectionDitchData ditch, topDitch;
  SectionNoteData note;
  note.kind = d.sections[0].kind;
  return d.RedesignEditedSection(0, line, nullptr, ditch, topDitch, nullptr, note);
}

TEST(SectionRedesignTest, TheVariantAndTheStructuresDecideWhatIsRedone) {
  struct Case {
    const char* what;
    bool doubleLine;
    int leftCode, rightCode;
    int noteKind;
    int side;
    int row;
    int result;
  };
  const std::vector<Case> cases = {
      {"single line, right side", false, 0, 0, 1, 1, 0, 1},
      {"single line, left side", false, 0, 0, 1, -1, 0, 1},
      {"single line in a station", false, kStationInside, 0, 1, 1, 0, 0},
      {"single line in a bridge", false, kBridgeInside, 0, 1, 1, 0, 0},
      {"double line, the right track's outer side", true, 0, 0, 2, 2, 0, 1},
      {"double line, the left track's outer side", true, 0, 0, 2, -1, 0, 1},
      {"double line, an inner side is not redone", true, 0, 0, 2, 1, 0, 0},
      {"double line, one track in a bridge", true, kBridgeInside, 0, 2, 2, 0, 1},
      {"double line, both tracks in structures", true, kBridgeInside, kTunnelInside, 2, 2, 0, 0},
      {"a single-line note on a second-track side", true, 0, 0, 1, 2, 0, 0},
      {"a row outside the sections", false, 0, 0, 1, 1, 7, 0},
      {"a negative row", false, 0, 0, 1, 1, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner d;
    MakeLevelDesigner(d, c.doubleLine ? "双线" : "单线", 102.0, {500.0, 520.0});
    SectionRecord& r = d.sections[0];
    if (c.doubleLine) {
      r.leftLineOffset = -12.0;
      d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 0, -1, -1);
    } else {
      d.DesignSingleSection(0, 1, 0.0, 0.0);
    }
    r.leftCode = c.leftCode;
    r.rightCode = c.rightCode;
    const SectionRecord before = r;
    DesignLineData line = DraggedLine(d, c.side);
    const DesignLineData dragged = line;
    SectionDitchData ditch, topDitch;
    SectionNoteData note;
    note.kind = c.noteKind;
    EXPECT_EQ(d.RedesignEditedSection(c.row, line, nullptr, ditch, topDitch, nullptr, note), c.result);
    if (c.result == 0) {
      // Nothing changes: the line keeps the drag, the record its design.
      ASSERT_EQ(line.vertices.size(), dragged.vertices.size());
      for (size_t j = 0; j < line.vertices.size(); ++j) EXPECT_EQ(line.vertices[j], dragged.vertices[j]);
      EXPECT_EQ(r.leftLandTake, before.leftLandTake);
      EXPECT_EQ(r.rightLandTake, before.rightLandTake);
      EXPECT_EQ(r.areas.fill, before.areas.fill);
      continue;
    }
    // By hand, on level ground 2 m below the formation: the shoulder moves
    // from 3.5 to 4.5 m and the 1:1.5 slope reaches the ground 3 m further,
    // at 7.5 m from the track's centre (the designer widens no land).
    const int k = SideIndex(c.side);
    const double outwards = c.side < 0 ? -1.0 : 1.0;
    EXPECT_NEAR(c.side < 0 ? r.leftLandTake : r.rightLandTake, 7.5, 1e-9);
    // The note measures from the section's centre line: the left track of
    // the double line stands 12 m left of it.
    const double trackOffset = c.doubleLine && c.side < 0 ? 12.0 : 0.0;
    EXPECT_NEAR(note.landTake[c.side < 0 ? 0 : 1], 7.5 + trackOffset, 1e-9);
    EXPECT_NEAR(r.roadbedTop[k][3].x, 4.5, 1e-9);
    ASSERT_EQ(r.designLines[k].length(), 6);
    EXPECT_NEAR(r.designLines[k][5].x, 7.5 * outwards, 1e-9);
    EXPECT_NEAR(r.designLines[k][5].y, 0.0, 1e-9);
    // The line is rebuilt from the record: the toe drawn at 7.5 m, ground level.
    ASSERT_EQ(line.vertices.size(), 6u);
    EXPECT_NEAR(line.vertices[5].x, 1000.0 + kF * 7.5 * outwards, 1e-9);
    EXPECT_NEAR(line.vertices[5].y, (100.0 - 95.0) * kF + 500.0, 1e-9);
    EXPECT_NEAR(line.vertices[0].x, 1000.0, 1e-9);
    EXPECT_EQ(line.vertices[0].y, line.vertices[1].y);
    // The slope-leg geometry follows the new slope start.
    EXPECT_EQ(line.geometry.slopeStart[0][0], line.vertices[4].x);
    // The record's totals are the sums of its parts again.
    EXPECT_NEAR(r.fillTotal, r.areas.fillParts.left + r.areas.fillParts.middle + r.areas.fillParts.right, 1e-9);
    EXPECT_NEAR(note.fillTotal, r.fillTotal, 1e-9);
  }
}

// A re-design that changes nothing (the line as drawn, the design's own
// slope grades) stores what the design stored, field by field: the side's
// design line, ditches, land take with its widening, area parts and totals,
// the layer passes and the rock-class split. The one exception: a re-design
// does not look up the improved soil (填改良土), so a fill side with improved
// soil has none, and its fill keeps the improved soil's area.
TEST(SectionRedesignTest, ARedesignWithTheDesignsGradesStoresWhatTheDesignStored) {
  struct Case {
    const char* what;
    bool doubleLine;
    double elevation;  // of the grade line over ground at 100: 102 fill, 98 cut
    bool rockLayer;    // a rock layer (class 4) 1 m below the ground (class 2)
    bool improvedSoil;
    int side;
  };
  const std::vector<Case> cases = {
      {"a fill side with improved soil", false, 102.0, false, true, 1},
      {"a fill side over a rock layer", false, 102.0, true, false, -1},
      {"a cut side over a rock layer, left", false, 98.0, true, false, -1},
      {"a cut side over a rock layer, right", false, 98.0, true, false, 1},
      {"a double line's left outer side, cut over a rock layer", true, 98.0, true, false, -1},
      {"a double line's right outer side, cut over a rock layer", true, 98.0, true, false, 2},
      {"a double line's right outer side in fill", true, 102.0, false, false, 2},
  };
  drivers_test::ResetDetourDesigners();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner d;
    MakeLevelDesigner(d, c.doubleLine ? "双线" : "单线", c.elevation, {500.0});
    WidenLand(d);
    if (c.improvedSoil) {
      ImprovedFillEntry* e = d.improvedFill.Replace(1);
      e->startMileage = 0.0;
      e->endMileage = 1e9;
      e->value = 0.5;
    }
    SectionRecord& r = d.sections[0];
    if (c.rockLayer) r.groundBlocks.push_back(LevelBlock(1, 4, -1.0));
    if (c.doubleLine) {
      r.leftLineOffset = -12.0;
      r.lineRelation = 2;
      d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 0, -1, -1);
    } else {
      d.DesignSingleSection(0, 1, 0.0, 0.0);
    }
    ASSERT_EQ(r.layerCuts.size(), c.rockLayer && c.elevation < 100.0 ? 2u : 1u);
    const SectionRecord designed = r;
    const SideStandardsAt st = d.LookupSideStandards(c.side < 0 ? -1 : 1, r.mileage);
    ASSERT_EQ(Redesign(d, c.side, st.embankment, st.cutting), 1);

    std::map<std::string, std::string> differing;
    if (c.improvedSoil) {
      const std::string part = c.side < 0 ? "left" : "right";
      const char* why = "a re-design does not look up the improved soil";
      for (const std::string& name : std::vector<std::string>{"areas.improvedSoilParts." + part, "areas.improvedSoil",
                                                              "areas.fillParts." + part, "areas.fill", "fillTotal"})
        differing[name] = why;
    }
    record_fields::ExpectSame(r, designed, 1e-9, differing);
    if (c.improvedSoil) {
      // The fill keeps what the improved soil took of it.
      const double improved = c.side < 0 ? designed.areas.improvedSoilParts.left : designed.areas.improvedSoilParts.right;
      EXPECT_GT(improved, 0.1);
      EXPECT_NEAR(r.areas.fill, designed.areas.fill + improved, 1e-9);
      EXPECT_EQ(c.side < 0 ? r.areas.improvedSoilParts.left : r.areas.improvedSoilParts.right, 0.0);
      EXPECT_NEAR(r.areas.improvedSoil, designed.areas.improvedSoil - improved, 1e-9);
    }
  }
}

// The reported fault: after a re-design the rock-class split still held the
// cut of the design before it. A cutting at 98 over level ground at 100
// (rock class 2) with a rock layer 1 m below it (class 4); the formation is
// 3 m each side, its crown 0.12 above the shoulder, with no side ditch or
// platform, so each side's cut is, by hand, the formation's trapezoid and
// the slope's triangle: on the ground 3 × (1.88 + 2) / 2 + m × 2² / 2, on
// the rock layer 3 × (0.88 + 1) / 2 + m × 1² / 2, for a slope of 1:m (the
// design's is 1:1). The split gives class 2 the cut above the rock and class
// 4 the cut in it; the land take is the slope's top, 3 + 2m, plus the cut
// widening of 1.5.
TEST(SectionRedesignTest, RedesignedSideSplitsItsNewCutByRockClass) {
  struct Edit {
    int side;
    double ratio;
  };
  struct Case {
    const char* what;
    std::vector<Edit> edits;
    bool readBack;  // the record has no layer passes, as one read back from the files
    double leftRatio, rightRatio;  // the slopes after the edits
  };
  const std::vector<Case> cases = {
      {"the right side at 1:2", {{1, 2.0}}, false, 1.0, 2.0},
      {"the left side at 1:3", {{-1, 3.0}}, false, 3.0, 1.0},
      {"the left side at 1:3, then the right at 1:2", {{-1, 3.0}, {1, 2.0}}, false, 3.0, 2.0},
      {"the right side at 1:2 on a record read back", {{1, 2.0}}, true, 1.0, 2.0},
      {"the right side at 1:1, as designed", {{1, 1.0}}, false, 1.0, 1.0},
  };
  auto onGround = [](double m) { return 3 * (1.88 + 2) / 2 + m * 4 / 2; };
  auto onRock = [](double m) { return 3 * (0.88 + 1) / 2 + m * 1 / 2; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner d;
    MakeLevelDesigner(d, "单线", 98.0, {500.0});
    WidenLand(d);
    ExcavationClassEntry* classes = d.excavationClass.Replace(1);
    classes->endMileage = 1e9;
    classes->percent[2] = 100.0;
    SectionRecord& r = d.sections[0];
    r.groundBlocks.push_back(LevelBlock(1, 4, -1.0));
    d.DesignSingleSection(0, 1, 0.0, 0.0);
    ASSERT_NEAR(r.areas.rockClass[1], 2 * (onGround(1.0) - onRock(1.0)), 1e-9);
    if (c.readBack) r.layerCuts.clear();
    for (const Edit& e : c.edits) ASSERT_EQ(Redesign(d, e.side, OneGrade(e.ratio), OneGrade(e.ratio)), 1);

    const double ground = onGround(c.leftRatio) + onGround(c.rightRatio);
    const double rock = onRock(c.leftRatio) + onRock(c.rightRatio);
    EXPECT_NEAR(r.areas.cutParts.left, onGround(c.leftRatio), 1e-9);
    EXPECT_NEAR(r.areas.cutParts.right, onGround(c.rightRatio), 1e-9);
    EXPECT_NEAR(r.areas.cut, ground, 1e-9);
    EXPECT_NEAR(r.cutTotal, ground, 1e-9);
    EXPECT_NEAR(r.areas.rockClass[1], ground - rock, 1e-9);
    EXPECT_NEAR(r.areas.rockClass[3], rock, 1e-9);
    for (int k : {0, 2, 4, 5}) EXPECT_EQ(r.areas.rockClass[k], 0.0) << "class " << k + 1;
    EXPECT_NEAR(r.areas.excavationClass[2], ground, 1e-9);
    ASSERT_EQ(r.layerCuts.size(), 2u);
    EXPECT_NEAR(r.layerCuts[1].left, onRock(c.leftRatio), 1e-9);
    EXPECT_NEAR(r.layerCuts[1].right, onRock(c.rightRatio), 1e-9);
    EXPECT_NEAR(r.leftLandTake, 3 + 2 * c.leftRatio + 1.5, 1e-9);
    EXPECT_NEAR(r.rightLandTake, 3 + 2 * c.rightRatio + 1.5, 1e-9);
  }
}

// A record read back from the files holds each side's cut but no layer
// passes. One side edited in an earlier session (its cut stored), the other
// edited now: the pass on the ground line is the record's cut, the deeper
// pass is designed afresh, so the split adds up to the cut. The same
// cutting as above: the left side was edited to 1:3, the right is edited to
// 1:2 now; the rock layer's pass takes the left side as the design gives it
// (1:1, nothing of the earlier edit is stored) and the right at 1:2.
TEST(SectionRedesignTest, RockClassesOfARecordReadBackAddUpToItsCut) {
  auto onGround = [](double m) { return 3 * (1.88 + 2) / 2 + m * 4 / 2; };
  auto onRock = [](double m) { return 3 * (0.88 + 1) / 2 + m * 1 / 2; };
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "单线", 98.0, {500.0});
  SectionRecord& r = d.sections[0];
  r.groundBlocks.push_back(LevelBlock(1, 4, -1.0));
  d.DesignSingleSection(0, 1, 0.0, 0.0);
  ASSERT_EQ(Redesign(d, -1, OneGrade(3.0), OneGrade(3.0)), 1);
  ASSERT_NEAR(r.areas.cutParts.left, onGround(3.0), 1e-9);
  r.layerCuts.clear();  // as the result files give the record back
  ASSERT_EQ(Redesign(d, 1, OneGrade(2.0), OneGrade(2.0)), 1);

  const double cut = onGround(3.0) + onGround(2.0);  // 5.82 + 6 + 5.82 + 4 = 21.64
  EXPECT_NEAR(r.areas.cut, cut, 1e-9);
  double split = 0.0;
  for (double a : r.areas.rockClass) split += a;
  EXPECT_NEAR(split, r.areas.cut, 1e-6 * cut);
  const double rock = onRock(1.0) + onRock(2.0);  // 2.82 + 0.5 + 2.82 + 1 = 7.14
  EXPECT_NEAR(r.areas.rockClass[3], rock, 1e-9);
  EXPECT_NEAR(r.areas.rockClass[1], cut - rock, 1e-9);
  ASSERT_EQ(r.layerCuts.size(), 2u);
  EXPECT_NEAR(r.layerCuts[0].left, onGround(3.0), 1e-9);
  EXPECT_NEAR(r.layerCuts[0].right, onGround(2.0), 1e-9);
}

}  // namespace
