// Detours of a double-line scheme: the line relation of a chainage against
// the detour stretches, and the stretches themselves found along the
// baseline's sections of the double-track fixture scheme, where the left
// line leaves the baseline between DK0+500 and DK1+700.

#include <gtest/gtest.h>

#include <cmath>

#include "corvane/engine/drivers_support.h"
#include "corvane/data/import_support.h"
#include "corvane/engine/results_support.h"

namespace {

using drivers_test::LevelBlock;

void SetStretches(CrossSectionDesigner& d, double sml1, double sml2, double eml2, double eml1) {
  d.segment = DetourMileages{sml1 - 100.0, sml1, sml2, eml1 + 100.0, eml1, eml2};
}

struct Relation {
  int relation;
  int leftFlag, rightFlag;
  int leftIndex, rightIndex;
};

Relation RelationAt(const CrossSectionDesigner& d, double ML) {
  Relation r{-1, -1, -1, -1, -1};
  d.FindDetourAtChainage(ML, r.relation, r.leftIndex, r.rightIndex, r.leftFlag, r.rightFlag);
  return r;
}

TEST(LineRelationTest, ChainagesAgainstTheTransitionAndSeparatedStretches) {
  drivers_test::ResetDetourDesigners();
  ASSERT_TRUE(SetDetourDesignerCount(-1, 2) && SetDetourDesignerCount(1, 1));
  SetStretches(g_LeftDetourDesigners[0], 150.0, 250.0, 450.0, 550.0);
  SetStretches(g_LeftDetourDesigners[1], 2150.0, 2250.0, 2450.0, 2550.0);
  // A right detour that overlaps the first left one, and reaches further.
  SetStretches(g_RightDetourDesigners[0], 400.0, 600.0, 700.0, 800.0);
  CrossSectionDesigner d;
  d.lineKind = "双线";
  struct Case {
    double ML;
    Relation expected;
  };
  const Case cases[] = {
      {100.0, {1, 0, 0, -1, -1}},
      {150.0, {2, 1, 0, 0, -1}},      // the transition begins just before sml1 (0.01)
      {249.98, {2, 1, 0, 0, -1}},
      {249.995, {3, 1, 0, 0, -1}},    // within 0.01 before sml2: separated
      {300.0, {3, 1, 0, 0, -1}},
      {449.995, {2, 1, 0, 0, -1}},    // the end transition is tested first
      {450.0, {2, 1, 0, 0, -1}},
      {550.009, {2, 1, 0, 0, -1}},
      {550.02, {2, 0, 1, -1, 0}},     // past the left detour, in the right one's transition
      {2300.0, {3, 1, 0, 1, -1}},     // the second left detour
      {600.0, {3, 0, 1, -1, 0}},      // the right detour where no left one is
      {750.0, {2, 0, 1, -1, 0}},
      {900.0, {1, 0, 0, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ML);
    const Relation r = RelationAt(d, c.ML);
    EXPECT_EQ(r.relation, c.expected.relation);
    EXPECT_EQ(r.leftFlag, c.expected.leftFlag);
    EXPECT_EQ(r.rightFlag, c.expected.rightFlag);
    EXPECT_EQ(r.leftIndex, c.expected.leftIndex);
    EXPECT_EQ(r.rightIndex, c.expected.rightIndex);
  }
  // A chainage in a left and a right detour reports the left one only.
  const Relation both = RelationAt(d, 500.0);
  EXPECT_EQ(both.relation, 2);
  EXPECT_EQ(both.leftFlag, 1);
  EXPECT_EQ(both.rightFlag, 0);
  EXPECT_EQ(both.rightIndex, -1);

  // A single-line scheme: 0 everywhere; no detours: 1 everywhere.
  d.lineKind = "单线";
  EXPECT_EQ(RelationAt(d, 300.0).relation, 0);
  drivers_test::ResetDetourDesigners();
  d.lineKind = "双线";
  EXPECT_EQ(RelationAt(d, 300.0).relation, 1);
}

// The spacing of the left line from the baseline at ML (positive): 5 m,
// widening over DK0+700 .. DK0+900 to 35 m and back over DK1+300 ..
// DK1+500, as the fixture's left line does.
double LeftSpacing(double m) {
  if (m <= 700.0 || m >= 1500.0) return 5.0;
  if (m < 900.0) return 5.0 + 0.15 * (m - 700.0);
  if (m <= 1300.0) return 35.0;
  return 5.0 + 0.15 * (1500.0 - m);
}

// The double-track fixture scheme imported, then given sections every 50 m
// from DK0+400 to DK1+800 with the left line's spacing, over level ground
// 2 m below a level grade line, and the plain standards of the driver tests
// on the baseline and its detours.
class DetourStretchTest : public import_test::SchemeImportTest {
 protected:
  void SetUp() override {
    SchemeImportTest::SetUp();
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
    d.lineKind = "双线";
    ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);
    ASSERT_EQ(g_LeftDetourCount, 1);
    d.halfDistance1 = drivers_test::kWa;
    d.halfDistance2 = drivers_test::kWb;
    drivers_test::SetPlainStandards(d);
    drivers_test::SetLevelGrade(d, 102.0);
    for (CrossSectionDesigner* detour : {&g_LeftDetourDesigners[0], &g_RightDetourDesigners[0]}) {
      drivers_test::SetPlainStandards(*detour);
      detour->gradePointCount = 0;  // the detours follow the baseline's grade line here
      detour->BuildGradeTable();
      drivers_test::SetLevelGrade(*detour, 102.0);
    }
    std::vector<double> mileages;
    for (double m = 400.0; m <= 1800.0; m += 50.0) mileages.push_back(m);
    d.AllocateSections(static_cast<int>(mileages.size()));
    for (size_t i = 0; i < mileages.size(); ++i) {
      SectionRecord& r = d.sections[i];
      r.mileage = mileages[i];
      std::snprintf(r.label, sizeof r.label, "DK%d+%03d.000", static_cast<int>(r.mileage) / 1000,
                    static_cast<int>(r.mileage) % 1000);
      r.groundElevation = 100.0;
      r.groundBlocks = {LevelBlock(0, 2)};
      r.leftLineOffset = -LeftSpacing(r.mileage);
      r.rightLineOffset = 0.0;
      r.separationWidth = 7.5;
    }
  }

  CrossSectionDesigner d;
};

// By the spacing the roadbeds part where it exceeds 7.5: first at DK0+750
// (12.5) coming from the start, last at DK1+450 coming from the end. By
// trial slopes each inner side takes 3.5 + 1.5 × 2 = 6.5 m, 13 m together:
// separated at DK0+800 (20 m) and DK1+400.
TEST_F(DetourStretchTest, StretchesFollowTheSpacingAndTheInnerSlopes) {
  d.ComputeDetourSegments();
  const CrossSectionDesigner& left = g_LeftDetourDesigners[0];
  EXPECT_NEAR(left.segment.S1, 500.0, 1.0);
  EXPECT_NEAR(left.segment.E1, 1700.0, 1.0);
  EXPECT_DOUBLE_EQ(left.segment.sml1, 750.0);
  EXPECT_DOUBLE_EQ(left.segment.sml2, 800.0);
  EXPECT_DOUBLE_EQ(left.segment.eml2, 1400.0);
  EXPECT_DOUBLE_EQ(left.segment.eml1, 1450.0);
  EXPECT_EQ(left.sml2Section, 8);
  EXPECT_EQ(left.eml2Section, 20);
  EXPECT_EQ(left.detourIndex, 0);
  EXPECT_EQ(left.detourSide, -1);
  // On the detour's own line (ZK0+500 at its start) the points keep their
  // order.
  const DetourMileages& o = left.segmentOnDetour;
  EXPECT_NEAR(o.S1, 500.0, 1.0);
  EXPECT_LT(o.S1, o.sml1);
  EXPECT_LT(o.sml1, o.sml2);
  EXPECT_LT(o.sml2, o.eml2);
  EXPECT_LT(o.eml2, o.eml1);
  EXPECT_LE(o.eml1, o.E1);

  // The right detour (DK2+200 .. DK3+400) lies beyond the sections: its
  // searches find none and leave its stretches at its own ends, not at the
  // last section.
  const DetourMileages& right = g_RightDetourDesigners[0].segment;
  EXPECT_NEAR(right.S1, 2200.0, 1.0);
  EXPECT_DOUBLE_EQ(right.sml1, right.S1);
  EXPECT_DOUBLE_EQ(right.sml2, right.S1);
  EXPECT_DOUBLE_EQ(right.eml1, right.E1);

  struct Case {
    double ML;
    int relation;
  };
  for (const Case& c : {Case{700.0, 1}, Case{750.0, 2}, Case{800.0, 3}, Case{1100.0, 3}, Case{1400.0, 2},
                        Case{1450.0, 2}, Case{1500.0, 1}}) {
    int relation = 0, li = -1, ri = -1, lf = 0, rf = 0;
    d.FindDetourAtChainage(c.ML, relation, li, ri, lf, rf);
    EXPECT_EQ(relation, c.relation) << c.ML;
  }
}

TEST_F(DetourStretchTest, DesignRunLetsInOneTransitionSectionAtEachChangeAndDesignsTheSeparatedDetour) {
  ASSERT_EQ(ReadProjectAndScheme(), 1);  // the result files go to the project P
  auto file = [this](const char* name) { return m_projects.linuxPath(std::string("P/data/") + name + ".S1"); };
  d.schemeDatabasePath = m_dbWindows.c_str();
  d.ComputeDetourSegments();
  const int before = d.SectionCount();
  ASSERT_EQ(d.DesignAllSections(), 5100);
  ASSERT_EQ(d.SectionCount(), before + 2);
  std::vector<int> relations;
  std::vector<double> mileages;
  for (const SectionRecord& r : d.sections) {
    relations.push_back(r.lineRelation);
    mileages.push_back(r.mileage);
  }
  // DK0+800, the first separated section, is designed as a transition and
  // again, copied, as separated; DK1+400, the first of the end transition,
  // follows a copy of DK1+350 designed as a transition.
  const std::vector<int> expected = {1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 1, 1,
                                     1, 1, 1, 1, 1};
  EXPECT_EQ(relations, expected);
  EXPECT_DOUBLE_EQ(mileages[8], 800.0);
  EXPECT_DOUBLE_EQ(mileages[9], 800.0);
  EXPECT_DOUBLE_EQ(mileages[21], 1350.0);
  EXPECT_DOUBLE_EQ(mileages[22], 1400.0);
  EXPECT_EQ(d.sections[8].kind, 2);
  EXPECT_EQ(d.sections[9].kind, 1);
  EXPECT_EQ(d.sections[21].kind, 2);
  // A separated section designs the baseline track alone: its left offset 0.
  EXPECT_NEAR(d.sections[12].crownOffset[0], 0.0, 1e-9);
  EXPECT_EQ(results_test::ReadText(file("HdmResultData")).substr(0, 11), "        31\n");

  // The detour designs the sections of its separated stretch on its own line.
  CrossSectionDesigner& left = g_LeftDetourDesigners[0];
  ASSERT_EQ(d.DesignDetourSections(), 1);
  int designed = 0;
  for (const SectionRecord& r : left.sections) {
    const bool inside = r.mileage > left.segmentOnDetour.sml2 - 0.01 && r.mileage < left.segmentOnDetour.eml2 + 0.01;
    const bool inStructure = r.leftCode == kBridgeInside || r.leftCode == kTunnelInside;
    if (!inside) {
      EXPECT_TRUE(r.designLines[0].isEmpty()) << r.mileage;
    } else if (!inStructure) {
      EXPECT_FALSE(r.designLines[0].isEmpty()) << r.mileage;
      ++designed;
    }
  }
  EXPECT_GT(designed, 0);
  const std::string rxd = results_test::ReadText(file("HdmRXDResultData"));
  EXPECT_EQ(rxd.substr(0, 4), "1 1\n");
}

}  // namespace

namespace {

// Two inner slopes falling 2 m at 1:1.5 from shoulders 3.5 from their tracks.
TEST(InnerSlopesTest, MeetingOfTheTwoInnerSlopesInOneTracksFrame) {
  const PairXY slope[2] = {{3.5, 2.0}, {6.5, 0.0}};
  const PairXY other[2] = {{3.5, 2.0}, {6.5, 0.0}};
  const PairXY otherFromLeft[2] = {{-1.0, 2.0}, {6.5, 0.0}};
  struct Case {
    const char* what;
    double shift, spacing, b, c;
    const PairXY* other;
    int result;
    double x, y;
  };
  const Case cases[] = {
      {"12 m apart", 0.0, 12.0, 100.0, 100.0, other, 1, 6.0, 2.0 - 2.5 / 1.5},
      {"moved in by 2.4", 2.4, 12.0, 100.0, 100.0, other, 1, 4.8, 2.0 - 1.3 / 1.5},
      {"20 m apart: they end before meeting", 0.0, 20.0, 100.0, 100.0, other, 0, 0.0, 0.0},
      // The other track's frame 1 m higher, 11 m apart: its slope runs
      // (7.5, 3) → (4.5, 1) here.
      {"the other frame 1 m higher", 0.0, 11.0, 100.0, 101.0, other, 1, 4.75, 2.0 - 1.25 / 1.5},
      // 12 m apart it would meet this slope's line only before its own start.
      {"the other frame higher, further apart", 0.0, 12.0, 100.0, 101.0, other, 0, 0.0, 0.0},
      // The other slope's first point keeps its sign: x = 12 + 1.
      {"a first point on the far side", 0.0, 12.0, 100.0, 100.0, otherFromLeft, 1, 21.75 / 3.5,
       2.0 - (21.75 / 3.5 - 3.5) / 1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PairXY at{-1.0, -1.0};
    EXPECT_EQ(CrossSectionDesigner::IntersectInnerSlopes(c.shift, c.spacing, 2, slope, 2, c.other, c.b, c.c, at),
              c.result);
    if (c.result == 1) {
      EXPECT_NEAR(at.x, c.x, 1e-6);
      EXPECT_NEAR(at.y, c.y, 1e-6);
    }
  }
}

// The re-design of a side grades the edited slope and widens the land take
// as the design does.
TEST(RedesignSideTest, ARedesignedSideKeepsTheLandWidening) {
  CrossSectionDesigner d;
  drivers_test::MakeLevelDesigner(d, "单线", 102.0, {500.0});
  LandWideningEntry* widening = d.Standards(1).landWidening.Replace(1);
  widening->endMileage = 1e9;
  widening->fillWidening = 2.0;
  widening->cutWidening = 2.0;
  const PairXY top[4] = {{0.0, 102.14}, {3.5, 102.0}, {3.5, 102.0}, {3.5, 102.0}};
  const PairXY ground[2] = {{0.0, 0.0}, {60.0, 0.0}};
  SideDesign designed, redesigned;
  ASSERT_EQ(d.DesignSide(1, 500.0, 1000.0, 100.0, 2, ground, top, designed), 1);
  EXPECT_NEAR(designed.landTake, 6.5 + 2.0, 1e-9);  // 1:1.5 from the tables, widened
  SlopeGradeArrays embankment;
  embankment.count = 1;
  embankment.ratio[0] = 2.0;
  embankment.height[0] = 20.0;
  SlopeGradeArrays cutting = embankment;
  ASSERT_EQ(d.RedesignSide(1, 500.0, 1000.0, 100.0, 2, ground, top, embankment, cutting, redesigned), 1);
  EXPECT_NEAR(redesigned.points.back().x, 7.5, 1e-9);  // 1:2 over 2 m
  EXPECT_NEAR(redesigned.landTake, 7.5 + 2.0, 1e-9);
}

}  // namespace
