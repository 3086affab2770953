// The section drivers against hand geometry on level ground: a single-line
// fill, bridges and tunnels, the rock-class split of a cut by its layer
// passes, a double-line section at a known spacing, a double-line section
// with one track in a tunnel, and the results kept from the ground line.
//
// The designers (drivers_support.h) have Wa 3.0, Wb 3.5, an embankment of
// 1:1.5 and a cutting of 1:1, no surface layer, no ditches.

#include <gtest/gtest.h>

#include <cmath>

#include "corvane/engine/drivers_support.h"
#include "win/transcript.h"

namespace {

using drivers_test::ExpectLine;
using drivers_test::LevelBlock;
using drivers_test::MakeLevelDesigner;

// The area under the roadbed top of a half width of 3.5 two metres above the
// ground (crown 0.14 higher): 3.5 × (2.14 + 2) / 2.
constexpr double kTopFill = 7.245;

TEST(SingleSectionTest, LevelFillHasItsToeAtOneAndAHalfTimesTheHeight) {
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "单线", 102.0, {500.0});
  d.DesignSingleSection(0, 1, 0.0, 0.0);
  const SectionRecord& r = d.sections[0];

  // Both shoulders at Wb (fill 2 m), the crown on the centre line.
  EXPECT_EQ(r.kind, 1);
  EXPECT_DOUBLE_EQ(r.designElevation, 102.0);
  EXPECT_NEAR(r.crownOffset[0], 0.0, 1e-9);
  EXPECT_DOUBLE_EQ(r.roadbedTopFlag[0], 0.0);
  EXPECT_NEAR(r.roadbedTop[1][0].y, 102.14, 1e-9);
  EXPECT_NEAR(r.roadbedTop[1][3].x, 3.5, 1e-9);
  EXPECT_NEAR(r.referenceElevation[0], 100.0, 1e-9);
  // The slope falls 2 m at 1:1.5: toe 3 m beyond the shoulder.
  ExpectLine(r, -1, {{0, 2.14}, {0, 2.14}, {-3.5, 2}, {-3.5, 2}, {-3.5, 2}, {-6.5, 0}});
  ExpectLine(r, 1, {{0, 2.14}, {0, 2.14}, {3.5, 2}, {3.5, 2}, {3.5, 2}, {6.5, 0}});
  EXPECT_TRUE(r.designLines[SideIndex(-2)].isEmpty());
  EXPECT_EQ(r.pointCount[0], 6);
  EXPECT_EQ(r.lastIndex[1], 5);
  EXPECT_NEAR(r.leftLandTake, 6.5, 1e-9);
  EXPECT_NEAR(r.rightLandTake, 6.5, 1e-9);
  // Per side: the top and the slope triangle 3 × 2 / 2.
  const double side = kTopFill + 3.0;
  EXPECT_NEAR(r.areas.fillParts.left, side, 1e-6);
  EXPECT_NEAR(r.areas.fillParts.right, side, 1e-6);
  EXPECT_EQ(r.areas.fillParts.middle, 0.0);
  EXPECT_NEAR(r.areas.fill, 2 * side, 1e-6);
  EXPECT_NEAR(r.fillTotal, 2 * side, 1e-6);
  EXPECT_EQ(r.areas.cut, 0.0);
  // The slope is turf: √(3² + 2²) a side; no drainage ditch row: 0.5 each.
  EXPECT_NEAR(r.areas.turfLength, 2 * std::sqrt(13.0), 1e-6);
  EXPECT_NEAR(r.areas.ditchLining, 1.0, 1e-9);
  EXPECT_EQ(r.formCode[0], 0.0);
  for (double v : r.areas.rockClass) EXPECT_EQ(v, 0.0);
}

// Bridges and tunnels: the land take only, nothing designed. At 0.4 m of
// fill the left shoulder stands at Wb (0.4 ≥ 0.2) and the right one at Wa
// (0.6 > 0.4): top width 6.5, crown at −3.5 + 3.25 = −0.25.
TEST(SingleSectionTest, BridgeAndTunnelSectionsTakeLandOnly) {
  struct Case {
    const char* what;
    int code;
    double a;
    double left, right;
    const char* message;
  };
  const Case cases[] = {
      {"bridge", kBridgeInside, 0.0, 8.0 - 0.25, 8.0 + 0.25, "指定里程位于桥梁范围内!"},
      // With the left line 5 m off: test point −8, shoulder −8.5, top width
      // 11.5, crown −8.5 + 5.75 = −2.75.
      {"bridge beside a left line", kBridgeInside, -5.0, 5.0 - 2.75 + 8.0, 8.0 + 2.75, "指定里程位于桥梁范围内!"},
      {"tunnel", kTunnelInside, 0.0, 3.25 + 1.0, 3.25 + 1.0, "指定里程位于隧道范围内!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int sections : {1, 2}) {
      CrossSectionDesigner d;
      if (sections == 1)
        MakeLevelDesigner(d, "单线", 100.4, {500.0});
      else
        MakeLevelDesigner(d, "单线", 100.4, {500.0, 520.0});
      d.sections[0].leftCode = c.code;
      platform::TranscriptCapture capture;
      d.DesignSingleSection(0, 1, c.a, 0.0);
      const SectionRecord& r = d.sections[0];
      EXPECT_NEAR(r.leftLandTake, c.left, 1e-9);
      EXPECT_NEAR(r.rightLandTake, c.right, 1e-9);
      for (int k = 0; k < kSectionSides; ++k) EXPECT_TRUE(r.designLines[k].isEmpty());
      EXPECT_EQ(r.areas.fill, 0.0);
      // The message only for the design of one given chainage.
      EXPECT_EQ(capture.contains(c.message), sections == 1) << capture.text();
    }
  }
}

TEST(SingleSectionTest, StructureEndsAreDesigned) {
  for (int code : {kBridgeStart, kBridgeEnd, kTunnelStart, kTunnelEnd}) {
    CrossSectionDesigner d;
    MakeLevelDesigner(d, "单线", 102.0, {500.0, 520.0});
    d.sections[0].leftCode = code;
    d.DesignSingleSection(0, 1, 0.0, 0.0);
    EXPECT_EQ(d.sections[0].designLines[0].length(), 6) << code;
    EXPECT_NEAR(d.sections[0].leftLandTake, 6.5, 1e-9) << code;
  }
}

// A cut 2 m deep in level ground (design 98): both shoulders at Wa, crown
// 0.12 above them. A side's cut is the top, 3 × (1.88 + 2) / 2 = 5.82, and
// the 1:1 slope from the shoulder to the ground, 2 × 2 / 2: 7.82. On a layer
// 1 m down the same section cuts 1 m: 3 × (0.88 + 1) / 2 + 1 / 2 = 3.32.
constexpr double kCutOnGround = 2 * 7.82;
constexpr double kCutOnLayer = 2 * 3.32;

TEST(RockClassTest, CutIsSplitByTheLayerPasses) {
  struct Case {
    const char* what;
    double elevation;
    std::vector<GroundBlock> blocks;
    double classes[6];
    double cut;
  };
  const Case cases[] = {
      {"ground line only", 98.0, {LevelBlock(0, 3)}, {0, 0, kCutOnGround, 0, 0, 0}, kCutOnGround},
      {"a rock layer 1 m down",
       98.0,
       {LevelBlock(0, 2), LevelBlock(1, 4, -1.0)},
       {0, kCutOnGround - kCutOnLayer, 0, kCutOnLayer, 0, 0},
       kCutOnGround},
      // The layer 3 m down lies below the formation: its pass cuts nothing
      // and ends the passes; it takes no share.
      {"a layer below the formation",
       98.0,
       {LevelBlock(0, 2), LevelBlock(1, 4, -1.0), LevelBlock(2, 5, -3.0)},
       {0, kCutOnGround - kCutOnLayer, 0, kCutOnLayer, 0, 0},
       kCutOnGround},
      {"rock types 0 and 7 take nothing", 98.0, {LevelBlock(0, 0), LevelBlock(1, 7, -1.0)}, {0, 0, 0, 0, 0, 0},
       kCutOnGround},
      {"a fill cuts nothing", 102.0, {LevelBlock(0, 2), LevelBlock(1, 4, -1.0)}, {0, 0, 0, 0, 0, 0}, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner d;
    MakeLevelDesigner(d, "单线", c.elevation, {500.0, 520.0});
    d.sections[0].groundBlocks = c.blocks;
    d.DesignSingleSection(0, 1, 0.0, 0.0);
    const SectionRecord& r = d.sections[0];
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(r.areas.rockClass[k], c.classes[k], 1e-6) << "class " << k + 1;
    EXPECT_NEAR(r.areas.cut, c.cut, 1e-6);
    EXPECT_NEAR(r.cutTotal, c.cut, 1e-6);
    // The design kept is that of the ground line.
    if (c.elevation < 100.0) {
      EXPECT_NEAR(r.leftLandTake, 5.0, 1e-9);
      ExpectLine(r, 1, {{0, -1.88}, {0, -1.88}, {3, -2}, {3, -2}, {3, -2}, {3, -2}, {3, -2}, {3, -2}, {3, -2}, {5, 0}});
    }
  }
}

TEST(RockClassTest, SectionDesignedTwiceCountsItsRockClassesOnce) {
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "单线", 98.0, {500.0, 520.0});
  d.sections[0].groundBlocks = {LevelBlock(0, 2), LevelBlock(1, 4, -1.0)};
  d.DesignSingleSection(0, 1, 0.0, 0.0);
  d.DesignSingleSection(0, 1, 0.0, 0.0);
  EXPECT_NEAR(d.sections[0].areas.rockClass[1], kCutOnGround - kCutOnLayer, 1e-6);
  EXPECT_NEAR(d.sections[0].areas.rockClass[3], kCutOnLayer, 1e-6);
}

// Two tracks 12 m apart (left line at −12, the baseline the right track),
// 2 m of fill: every shoulder at Wb, all four templates of half width 3.5.
// Between the tracks 12 − 7 = 5 m are free: both inner embankments are
// graded down and meet at x = 6 (in the left track's frame) above the
// ground; moved in by 2.4 they meet at x = 4.8, 2 − 1.3 / 1.5 above the
// ground, below both formations, so each inner line ends there with 1 m of
// flat bottom.
TEST(DoubleSectionTest, TracksTwelveMetresApartOnLevelFill) {
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "双线", 102.0, {500.0, 520.0});
  SectionRecord& r = d.sections[0];
  r.leftLineOffset = -12.0;
  r.rightLineOffset = 0.0;
  d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 0, -1, -1);

  EXPECT_EQ(r.kind, 2);
  EXPECT_DOUBLE_EQ(r.crownOffset[0], -12.0);
  EXPECT_DOUBLE_EQ(r.crownOffset[1], 0.0);
  for (int k = 0; k < kSectionSides; ++k) {
    EXPECT_NEAR(r.roadbedTop[k][3].x, 3.5, 1e-9) << k;
    EXPECT_NEAR(r.roadbedTop[k][0].y, 102.14, 1e-9) << k;
    EXPECT_EQ(r.roadbedTopFlag[k], 0.0) << k;
  }
  const double bottom = 2.0 - 1.3 / 1.5;
  ExpectLine(r, -1, {{0, 2.14}, {0, 2.14}, {-3.5, 2}, {-3.5, 2}, {-3.5, 2}, {-6.5, 0}});
  ExpectLine(r, 1, {{0, 2.14}, {0, 2.14}, {3.5, 2}, {3.5, 2}, {3.5, 2}, {4.8, bottom}, {5.8, bottom}});
  ExpectLine(r, -2, {{0, 2.14}, {0, 2.14}, {-3.5, 2}, {-3.5, 2}, {-3.5, 2}, {-4.8, bottom}, {-5.8, bottom}});
  ExpectLine(r, 2, {{0, 2.14}, {0, 2.14}, {3.5, 2}, {3.5, 2}, {3.5, 2}, {6.5, 0}});
  EXPECT_NEAR(r.leftLandTake, 6.5, 1e-9);
  EXPECT_NEAR(r.rightLandTake, 6.5, 1e-9);
  EXPECT_EQ(r.areas.middlePartFlag, 0);

  const double outer = kTopFill + 3.0;
  const double inner = kTopFill + 1.3 * (2.0 + bottom) / 2.0 + 1.0 * bottom;
  EXPECT_NEAR(r.areas.fillParts.left, outer, 1e-6);
  EXPECT_NEAR(r.areas.fillParts.middle, 2 * inner, 1e-6);
  EXPECT_NEAR(r.areas.fillParts.right, outer, 1e-6);
  EXPECT_NEAR(r.areas.fill, 2 * outer + 2 * inner, 1e-6);
  EXPECT_EQ(r.areas.surfaceLayerParts.middle, 0.0);
  const double innerTurf = std::hypot(1.3, 2.0 - bottom) + 1.0;
  EXPECT_NEAR(r.areas.turfParts.middle, 2 * innerTurf, 1e-6);
}

TEST(DoubleSectionTest, TracksCloseTogetherAreClosedFlatWithADrain) {
  // 8.5 m apart: 1.5 m free between the inner shoulders, too narrow for
  // slopes; the middle is closed: each inner line runs on at 4 % to 0.2
  // before the middle (0.55 beyond its shoulder) and down to a drain 0.6
  // below the shoulders at the middle (4.25 from each track).
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "双线", 102.0, {500.0, 520.0});
  SectionRecord& r = d.sections[0];
  r.leftLineOffset = -8.5;
  d.DesignDoubleSection(0, 0, -8.5, 0.0, 0, 0, -1, -1);
  EXPECT_EQ(r.areas.middlePartFlag, 1);
  ExpectLine(r, 1, {{0, 2.14}, {0, 2.14}, {3.5, 2}, {3.5, 2}, {3.5, 2}, {4.05, 2 - 0.55 * 0.04}, {4.25, 1.4}});
  ExpectLine(r, -2, {{0, 2.14}, {0, 2.14}, {-3.5, 2}, {-3.5, 2}, {-3.5, 2}, {-4.05, 2 - 0.55 * 0.04}, {-4.25, 1.4}});
}

TEST(DoubleSectionTest, RightTrackInATunnelDesignsTheLeftTrackAlone) {
  drivers_test::ResetDetourDesigners();
  ASSERT_EQ(SetDetourDesignerCount(1, 1), 1);
  StructureRow* tunnel = g_RightDetourDesigners[0].tunnels.Replace(1);
  tunnel->startMileage = 0.0;
  tunnel->endMileage = 1000.0;
  CrossSectionDesigner d;
  MakeLevelDesigner(d, "双线", 102.0, {500.0, 520.0});
  SectionRecord& r = d.sections[0];
  r.leftLineOffset = -12.0;
  d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 1, -1, 0);
  EXPECT_EQ(r.leftCode, 0);
  EXPECT_EQ(r.rightCode, kTunnelInside);
  // The left track as a single line about its centre 12 m left.
  EXPECT_DOUBLE_EQ(r.crownOffset[0], -12.0);
  ExpectLine(r, -1, {{0, 2.14}, {0, 2.14}, {-3.5, 2}, {-3.5, 2}, {-3.5, 2}, {-6.5, 0}});
  ExpectLine(r, 1, {{0, 2.14}, {0, 2.14}, {3.5, 2}, {3.5, 2}, {3.5, 2}, {6.5, 0}});
  EXPECT_TRUE(r.designLines[SideIndex(-2)].isEmpty());
  EXPECT_TRUE(r.designLines[SideIndex(2)].isEmpty());
  EXPECT_NEAR(r.leftLandTake, 6.5, 1e-9);
  // The tunnel side: offset 0 + 8 − the right crown offset 0.
  EXPECT_NEAR(r.rightLandTake, 8.0, 1e-9);
  EXPECT_NEAR(r.areas.fill, 2 * (kTopFill + 3.0), 1e-6);
  drivers_test::ResetDetourDesigners();
}

TEST(DoubleSectionTest, DesignKeptIsThatOfTheGroundLineNotOfTheDeepestLayer) {
  // A cut 2 m deep with a rock layer 1 m down: the pass on the layer would
  // put the outer toes at 4, the ground line puts them at 5.
  auto design = [](std::vector<GroundBlock> blocks, CrossSectionDesigner& d) {
    MakeLevelDesigner(d, "双线", 98.0, {500.0, 520.0});
    d.sections[0].leftLineOffset = -12.0;
    d.sections[0].groundBlocks = std::move(blocks);
    d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 0, -1, -1);
  };
  CrossSectionDesigner layered, groundOnly;
  design({LevelBlock(0, 2), LevelBlock(1, 4, -1.0)}, layered);
  design({LevelBlock(0, 2)}, groundOnly);
  const SectionRecord& a = layered.sections[0];
  const SectionRecord& b = groundOnly.sections[0];
  EXPECT_NEAR(a.leftLandTake, 5.0, 1e-9);
  EXPECT_NEAR(a.rightLandTake, 5.0, 1e-9);
  for (int side : {-1, 1, -2, 2}) EXPECT_EQ(drivers_test::LineOf(a, side), drivers_test::LineOf(b, side)) << side;
  EXPECT_NEAR(a.areas.cut, b.areas.cut, 1e-9);
  EXPECT_NEAR(a.areas.cutParts.middle, b.areas.cutParts.middle, 1e-9);
  // The rock layer still splits the cut.
  EXPECT_GT(a.areas.rockClass[3], 0.0);
  EXPECT_NEAR(a.areas.rockClass[1] + a.areas.rockClass[3], a.areas.cut, 1e-6);
  EXPECT_EQ(b.areas.rockClass[3], 0.0);
  // The frames the kept lines stand in are the ground line's too: the
  // reference elevations (the ditch elevation bases of HdmResultData) are the
  // ground at the crowns, 100, not the rock layer's 99, and the outer fill
  // heights 98 - 100, not 98 - 99.
  EXPECT_NEAR(a.referenceElevation[0], 100.0, 1e-9);
  EXPECT_NEAR(a.referenceElevation[1], 100.0, 1e-9);
  EXPECT_NEAR(a.shoulderFillHeight[0], -2.0, 1e-9);
  EXPECT_NEAR(a.shoulderFillHeight[1], -2.0, 1e-9);
  for (int k = 0; k < 2; ++k) EXPECT_EQ(a.crownOffset[k], b.crownOffset[k]) << k;
  for (int s = 0; s < kSectionSides; ++s) {
    EXPECT_EQ(a.roadbedTopFlag[s], b.roadbedTopFlag[s]) << s;
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(a.roadbedTop[s][j].x, b.roadbedTop[s][j].x) << s << " " << j;
      EXPECT_EQ(a.roadbedTop[s][j].y, b.roadbedTop[s][j].y) << s << " " << j;
    }
  }
}

}  // namespace
