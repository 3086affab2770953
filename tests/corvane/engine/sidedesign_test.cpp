// The design of one side of a section against hand geometry.
//
// Every case designs one side of a single-line roadbed whose template is that
// of the section preparation: the crown on the centre line 4 % above the
// shoulder, the shoulder 3.5 m out (three equal points), at elevation E; the
// reference elevation is 100 unless a case says otherwise. Standards: a side
// ditch 0.4 wide, 0.8 deep, walls 1:1, lining 0.3 (top width 2.0); embankment
// grades 1:1.5 to 8 m, 1:1.75 to 10 m, 1:2, berms 1 m flat; cutting grades
// 1:1 to 8 m (its berm, 2 m, is the platform in front of the foot), 1:1.25,
// 1:1.5; land widening 1.0 beyond a fill, 1.5 beyond a cut. The "layered"
// cases add a surface layer of 0.6, a shoulder protection of 0.5, topsoil
// 0.3 and improved soil 0.4.
//
// The areas were worked by hand from the polygons named in each comment
// (lowered formation: the plane 0.6 below the crown falling 4 %, joined to
// the fill slope where it meets it). Common hand values:
//   drainage-ditch lining (0.6 deep, 0.4 wide, 1:1, 0.3 thick) 0.793675;
//   side-ditch lining (0.8 deep) 0.963381;
//   shoulder layer 0.6 × ((0.6 × 1.5 + 0.5) k + 0.5 k) / 2, k = √1.0016: 0.570456;
//   improved soil under a 1:1.5 fill slope from (3.5, 5): the band between the
//   planes 0.6 and 1.0 below the crown, 0.4 × 3.5 + 0.4 × 0.957447 +
//   0.5 × 0.638298 × 0.4 = 1.910638.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "corvane/engine/sidedesign_support.h"
#include "win/transcript.h"

namespace {

using sidedesign::HandStandards;
using sidedesign::Layered;

std::vector<PairXY> Flat() { return {{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}, {60, 0}}; }
std::vector<PairXY> Sloping(double grade) {
  std::vector<PairXY> g;
  for (double x : {0.0, 5.0, 10.0, 15.0, 20.0, 60.0}) g.push_back({x, grade * x});
  return g;
}

HandStandards Drained(HandStandards h) {
  h.drainageType = 1;
  return h;
}
HandStandards WithTopDitch(HandStandards h) {
  h.topDitch = true;
  return h;
}
HandStandards AtStation(HandStandards h) {
  h.station = true;
  h.drainageType = 1;
  return h;
}
HandStandards RightLimit(HandStandards h, double limit) {
  h.rightLimit = limit;
  return h;
}
HandStandards LowBerm(HandStandards h) {
  // A first grade only 0.65 m high with a 3 m flat berm.
  h.embankment = {{1.5, 0.65, 3.0, 0.0}, {1.5, 10.0, 0.0, 0.0}};
  h.surfaceLayer = 0.6;
  h.drainageType = 1;
  return h;
}

struct Expected {
  int result;
  double form;
  int points;
  PairXY last;
  double landTake;
  double fill, cut, improved, surface, topsoil, shoulderLayer;
  int ditchKind;
  double lining, turf, retainingWall;
  int drainageCount, topCount;
  double ditchFill, ditchCut;
  double bottomLevel, bottomCentre;
};

struct SideCase {
  std::string name;
  int side;
  HandStandards standards;
  double shoulder;  // E
  std::vector<PairXY> ground;
  Expected want;
  double reference = 100.0;
};

const SideCase kCases[] = {
    // Fill 5 m over flat ground, one grade: toe at 3.5 + 5 × 1.5 = 11.
    // Fill: (5.14 + 5) / 2 × 3.5 + 5 × 7.5 / 2 = 36.495. Slope length √(7.5² + 5²).
    // Drainage type 0: no ditch, 0.5 counted as lining.
    {"fill below the first berm", 1, HandStandards{}, 105.0, Flat(),
     {1, 0.0, 6, {11, 0}, 12.0, 36.495, 0, 0, 0, 0, 0, 0, 0.5, 9.013878, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // Layered: fill below the lowered formation (0, 4.54), (3.5, 4.40),
    // (4.457447, 4.361702) on the slope, toe (11, 0): 34.107766; topsoil: the
    // slope regraded to the stripped ground meets it at 11.45:
    // 0.3 × 11 + 0.3 × 0.45 / 2 = 3.3675; fill 34.107766 − 1.910638 − 0.570456.
    {"fill below the first berm, layered", 1, Layered({}), 105.0, Flat(),
     {1, 0.0, 6, {11, 0}, 12.0, 31.626672, 0, 1.910638, 1.8, 3.3675, 0.570456, 0, 0.5, 9.013878, 0, 0, 0, 0, 0,
      4.2, 4.5}},
    // Drainage ditch: outer top 2.0 + 1.6 beyond the toe, on the ground (14.6, 0);
    // bottom (13.6 .. 14.0, −0.6); inner top (13, 0); the berm rising 4 %
    // inwards from it meets the slope at (10.872340, 0.085106). Ditch fill: the
    // berm over the slope and ground, 0.5 × 0.12766 × 0.08 + 0.5 × 2 × 0.08 =
    // 0.085106; ditch cut: the trapezoid (0.4 + 1.6) / 2 × 0.6 = 0.6.
    {"fill with a drainage ditch", 1, Drained({}), 105.0, Flat(),
     {1, 0.0, 6, {11, 0}, 15.6, 36.495, 0, 0, 0, 0, 0, 1, 0.793675, 9.013878, 0, 5, 0, 0.085106, 0.6, -0.6, 13.8}},
    {"fill with a drainage ditch, layered", 1, Drained(Layered({})), 105.0, Flat(),
     {1, 0.0, 6, {11, 0}, 15.6, 31.626672, 0, 1.910638, 1.8, 3.3675, 0.570456, 1, 0.793675, 9.013878, 0, 5, 0,
      0.085106, 0.6, -0.6, 13.8}},
    // Fill 12 m: grade end (15.5, 4), berm to (16.5, 4), second grade 1:1.75 to
    // the toe (23.5, 0). Fill 42.245 + 96 + 4 + 14 = 156.245; slope lengths
    // 14.422205 + 1 + 8.062258.
    {"fill high enough for a berm", 1, HandStandards{}, 112.0, Flat(),
     {1, 0.0, 8, {23.5, 0}, 24.5, 156.245, 0, 0, 0, 0, 0, 0, 0.5, 23.484463, 0, 0, 0, 0, 0, 11.2, 4.5}},
    // Layered: the same lowering at the shoulder (153.857766 before the
    // deductions); topsoil 0.3 × 23.5 + 0.3 × (4.3 × 1.75 − 4 × 1.75) / 2 = 7.12875.
    {"fill high enough for a berm, layered", 1, Layered({}), 112.0, Flat(),
     {1, 0.0, 8, {23.5, 0}, 24.5, 151.376672, 0, 1.910638, 1.8, 7.12875, 0.570456, 0, 0.5, 23.484463, 0, 0, 0, 0, 0,
      11.2, 4.5}},
    // Cut 3 m: side ditch (4.3, −3.8), (4.7, −3.8), (5.5, −3); foot (7.5, −3)
    // after the 2 m platform; 1:1 up to (10.5, 0). Cut 10.255 + 2.72 + 1.52 +
    // 2.72 + 6 + 4.5 = 27.715. Top ditch 2 m beyond: (12.5, 0), (13.1, −0.6),
    // (13.5, −0.6), (14.1, 0); its cut 0.6; linings 0.963381 + 0.793675.
    {"cut with side ditch, graded slope and top ditch", 1, WithTopDitch({}), 97.0, Flat(),
     {1, 1.0, 10, {10.5, 0}, 15.6, 0, 27.715, 0, 0, 0, 0, 2, 1.757056, 4.242641, 0, 0, 4, 0, 0.6, -3.8, 4.5}},
    // Layered: the lowered top (0, −3.46), (3.5, −3.6) then the design line
    // from the real shoulder: cut 12.355 + 17.46 = 29.815; no fill, so no
    // topsoil or improved soil; no shoulder layer in a cut.
    {"cut with side ditch and graded slope, layered", 1, WithTopDitch(Layered({})), 97.0, Flat(),
     {1, 1.0, 10, {10.5, 0}, 15.6, 0, 29.815, 0, 1.8, 0, 0, 2, 1.757056, 4.242641, 0, 0, 4, 0, 0.6, -3.8, 4.5}},
    // Ground falling away beyond the cutting: no top ditch.
    {"cut, ground falling beyond it", 1, WithTopDitch({}), 97.0,
     {{0, 0}, {5, 0}, {10, 0}, {12, 0}, {20, -1}, {60, -5}},
     {1, 1.0, 10, {10.5, 0}, 12.0, 0, 27.715, 0, 0, 0, 0, -1, 0.963381, 4.242641, 0, 0, 0, 0, 0, -3.8, 4.5}},
    // Shoulder 0.3 above flat ground: the foot (6.0 .. 7.5, 0.3) lies above the
    // ground: side ditch (4.3, −0.5), (4.7, −0.5), (5.5, 0.3), 0.5 flat to
    // (6.0, 0.3), then 1:1 down to (6.3, 0). Fill 1.295 + 0.045 × 3 + 0.15 =
    // 1.58; cut 0.125 + 0.2 + 0.125 = 0.45.
    {"cut with a side ditch only", 1, HandStandards{}, 100.3, Flat(),
     {1, 3.0, 10, {6.3, 0}, 7.8, 1.58, 0.45, 0, 0, 0, 0, -1, 0.963381, 0, 0, 0, 0, 0, 0, -0.5, 4.5}},
    // Layered: lowered top (0, −0.16), (3.5, −0.3), then the design line from
    // (3.5, 0.3): fill 0.045 + 0.24 = 0.285, cut 0.805 + 0.45 = 1.255.
    {"cut with a side ditch only, layered", 1, Layered({}), 100.3, Flat(),
     {1, 3.0, 10, {6.3, 0}, 7.8, 0.285, 1.255, 0, 1.8, 0, 0, -1, 0.963381, 0, 0, 0, 0, 0, 0, -0.5, 4.5}},
    // A shoulder exactly one side-ditch depth above the ground is a cut:
    // side ditch only, leg 1:1 from (6.0, 0.8) down to (6.8, 0).
    {"shoulder one ditch depth above the ground", 1, HandStandards{}, 0.8, Flat(),
     {1, 3.0, 10, {6.8, 0}, 8.3, 4.405, 0, 0, 0, 0, 0, -1, 0.963381, 0, 0, 0, 0, 0, 0, 0.0, 4.5}, 0.0},
    // Ground rising 1:10: the slope meets it at x = 7.3333 / 0.76667 = 9.565217.
    {"fill on sloping ground", 1, HandStandards{}, 105.0, Sloping(0.1),
     {1, 0.0, 6, {9.565217, 0.956522}, 10.565217, 31.234130, 0, 0, 0, 0, 0, 0, 0.5, 7.289484, 0, 0, 0, 0, 0, 4.2,
      4.5}},
    // Layered: topsoil 0.3 × 9.565217 + 0.3 × (9.956522 − 9.565217) / 2.
    {"fill on sloping ground, layered", 1, Layered({}), 105.0, Sloping(0.1),
     {1, 0.0, 6, {9.565217, 0.956522}, 10.565217, 26.365802, 0, 1.910638, 1.8, 2.928261, 0.570456, 0, 0.5, 7.289484,
      0, 0, 0, 0, 0, 4.2, 4.5}},
    // Ground falling 1:10 outwards (steeper than 4 %): no drainage ditch.
    {"fill on ground falling away", 1, Drained({}), 105.0, Sloping(-0.1),
     {1, 0.0, 6, {12.941176, -1.294118}, 13.941176, 43.612647, 0, 0, 0, 0, 0, 0, 0.5, 11.346882, 0, 0, 0, 0, 0, 4.2,
      4.5}},
    // The ground ends at 8 before the toe: the grades are used up (grade
    // ends (15.5, −3), (34, −13) with their berms), the last ground point is
    // appended; the areas stop where the design line leaves the ground line.
    {"ground that ends before the toe", 1, HandStandards{}, 105.0, {{0, 0}, {5, 0}, {8, 0}},
     {-1, 0.0, 10, {8, 0}, 36.0, 17.745, 0, 0, 0, 0, 0, -1, 0, 36.577849, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // The ground ends before the shoulder: nothing beyond the template.
    {"ground that ends before the shoulder", 1, HandStandards{}, 105.0, {{0, 0}, {3, 0}},
     {-1, 9.0, 5, {3.5, 5}, 4.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // In a station: a flat 20 m extension 0.5 above the crown, whatever the
    // ground. Fill 17.745 + 5.64 × 20 = 130.545; the step up 0.64 counts as
    // retaining wall. No drainage ditch is built.
    {"fill inside a station", 1, AtStation({}), 105.0, Flat(),
     {1, 0.0, 7, {23.5, 5.64}, 24.5, 130.545, 0, 0, 0, 0, 0, -1, 0, 20, 0.64, 0, 0, 0, 0, 4.2, 4.5}},
    // Layered: the lowered top (0, 4.54), (3.5, 4.40) closed by the step up:
    // 15.645 + 112.8 = 128.445; topsoil 0.3 × 23.5; the lowered formation never
    // joins the flat, so no improved soil.
    {"fill inside a station, layered", 1, AtStation(Layered({})), 105.0, Flat(),
     {1, 0.0, 7, {23.5, 5.64}, 24.5, 128.445, 0, 0, 1.8, 7.05, 0, -1, 0, 20, 0.64, 0, 0, 0, 0, 4.2, 4.5}},
    {"station over ground above the roadbed", 1, AtStation({}), 97.0, Flat(),
     {1, 0.0, 7, {23.5, -2.36}, 24.5, 0, 57.455, 0, 0, 0, 0, -1, 0, 20, 0.64, 0, 0, 0, 0, -3.8, 4.5}},
    // Limit width 8: the slope is clipped at (8, 2), which still counts as
    // designed; no drainage ditch on a clipped slope. Fill 17.745 + 15.75.
    {"clipped at the limit width", 1, Drained(RightLimit({}, 8.0)), 105.0, Flat(),
     {1, 0.0, 6, {8, 2}, 9.0, 33.495, 0, 0, 0, 0, 0, -1, 0, 5.408327, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // Layered: 31.107766 before the deductions; topsoil the band 0.3 × 8.
    {"clipped at the limit width, layered", 1, Drained(RightLimit(Layered({}), 8.0)), 105.0, Flat(),
     {1, 0.0, 6, {8, 2}, 9.0, 28.626672, 0, 1.910638, 1.8, 2.4, 0.570456, -1, 0, 5.408327, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // The left side takes the left tables: its limit width is 8 here.
    {"left side with its own limit width", -1, [] {
       HandStandards h;
       h.leftLimit = 8.0;
       return h;
     }(),
     105.0, Flat(), {1, 0.0, 6, {8, 2}, 9.0, 33.495, 0, 0, 0, 0, 0, -1, 0, 5.408327, 0, 0, 0, 0, 0, 4.2, 4.5}},
    // A low fill whose first berm (0.65 below the shoulder) meets ground
    // rising to 5.0 at (4.81, 4.35): the berm's level 104.35 is not below the
    // ditch level 105 − 0.6 − 2 × 4 % = 104.32, so there is no room for a
    // drainage ditch and the side is laid out with a side ditch only: (4.3,
    // 4.2), (4.7, 4.2), (5.5, 5), (6, 5), the leg 1:1 down meeting the ground
    // at once in (6, 5). (Were the 4 % taken as 0.04 % the level would be
    // 104.3992 and a ditch would be built.) Areas of the lowered top (0, 4.54),
    // (3.5, 4.40) and that line over the ground (0, 4), (4.6, 4), (5.2, 5),
    // (30, 5): fill 1.645 + 0.48 + 0.06 + 0.011667 + 0.000833 = 2.1975, cut
    // 0.0675 + 0.045 = 0.1125.
    {"fill without room for a drainage ditch", 1, LowBerm({}), 105.0, {{0, 4}, {4.6, 4}, {5.2, 5}, {30, 5}},
     {1, 3.0, 10, {6, 5}, 7.5, 2.1975, 0.1125, 0, 2.1, 0, 0, -1, 0.963381, 0, 0, 0, 0, 0, 0, 4.2, 4.5}},
};

class SideDesignCases : public ::testing::TestWithParam<SideCase> {};

TEST_P(SideDesignCases, MatchesHandGeometry) {
  const SideCase& c = GetParam();
  CrossSectionDesigner designer;
  sidedesign::Apply(designer, c.standards);
  const PairXY top[4] = {{0, c.shoulder + 0.14}, {3.5, c.shoulder}, {3.5, c.shoulder}, {3.5, c.shoulder}};
  SideDesign out;
  out.formCode = 9.0;  // kept until a layout sets it
  platform::TranscriptCapture capture;
  const int result = designer.DesignSide(c.side, sidedesign::kML, 1000.0, c.reference,
                                         static_cast<int>(c.ground.size()), c.ground.data(), top, out);
  const Expected& w = c.want;
  constexpr double kTol = 0.001;
  EXPECT_EQ(result, w.result);
  EXPECT_DOUBLE_EQ(out.formCode, w.form);
  EXPECT_NEAR(out.shoulderHeight, c.shoulder - c.reference, 1e-9);
  ASSERT_EQ(static_cast<int>(out.points.size()), w.points);
  EXPECT_NEAR(out.points[0].y, c.shoulder + 0.14 - c.reference, 1e-9);
  EXPECT_NEAR(out.points[4].x, 3.5, 1e-9);
  EXPECT_NEAR(out.points.back().x, w.last.x, kTol);
  EXPECT_NEAR(out.points.back().y, w.last.y, kTol);
  EXPECT_NEAR(out.landTake, w.landTake, kTol);
  EXPECT_NEAR(out.fillArea, w.fill, kTol);
  EXPECT_NEAR(out.cutArea, w.cut, kTol);
  EXPECT_NEAR(out.improvedSoilArea, w.improved, kTol);
  EXPECT_NEAR(out.surfaceLayerArea, w.surface, kTol);
  EXPECT_NEAR(out.topsoilArea, w.topsoil, kTol);
  EXPECT_NEAR(out.shoulderLayerArea, w.shoulderLayer, kTol);
  EXPECT_EQ(out.ditchKind, w.ditchKind);
  EXPECT_NEAR(out.ditchLiningArea, w.lining, kTol);
  EXPECT_NEAR(out.turfLength, w.turf, kTol);
  EXPECT_NEAR(out.retainingWallLength, w.retainingWall, kTol);
  EXPECT_EQ(out.drainageDitchCount, w.drainageCount);
  EXPECT_EQ(out.topDitchCount, w.topCount);
  EXPECT_NEAR(out.ditchFillArea, w.ditchFill, kTol);
  EXPECT_NEAR(out.ditchCutArea, w.ditchCut, kTol);
  EXPECT_NEAR(out.ditchBottomLevel, w.bottomLevel, kTol);
  EXPECT_NEAR(out.ditchBottomCentre, w.bottomCentre, kTol);
}

INSTANTIATE_TEST_SUITE_P(HandGeometry, SideDesignCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SideCase>& info) {
                           std::string n;
                           for (char ch : info.param.name) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return n;
                         });

// The design line of the drained fill, and its ditch, point by point.
TEST(SideDesign, DrainageDitchPoints) {
  CrossSectionDesigner designer;
  sidedesign::Apply(designer, Drained({}));
  const PairXY top[4] = {{0, 105.14}, {3.5, 105}, {3.5, 105}, {3.5, 105}};
  const std::vector<PairXY> ground = Flat();
  SideDesign out;
  ASSERT_EQ(designer.DesignSide(1, sidedesign::kML, 1000.0, 100.0, 6, ground.data(), top, out), 1);
  const PairXY ditch[5] = {{10.872340, 0.085106}, {13, 0}, {13.6, -0.6}, {14, -0.6}, {14.6, 0}};
  ASSERT_EQ(out.drainageDitchCount, 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(out.drainageDitch[i].x, ditch[i].x, 1e-6) << i;
    EXPECT_NEAR(out.drainageDitch[i].y, ditch[i].y, 1e-6) << i;
  }
  for (int i = 5; i < kDrainageDitchPoints; ++i) EXPECT_EQ(out.drainageDitch[i].x, 0.0);
}

// The standards looked up at a chainage, side by side.
TEST(SideDesign, LooksUpTheStandardsOfItsSide) {
  CrossSectionDesigner designer;
  HandStandards h = Drained(WithTopDitch(Layered({})));
  h.leftLimit = 30.0;
  sidedesign::Apply(designer, h);
  const SideStandardsAt left = designer.LookupSideStandards(-1, sidedesign::kML);
  const SideStandardsAt right = designer.LookupSideStandards(1, sidedesign::kML);
  EXPECT_DOUBLE_EQ(left.limitWidth, 30.0);
  EXPECT_DOUBLE_EQ(right.limitWidth, 60.0);
  EXPECT_DOUBLE_EQ(right.drainageDitch.crossSlope, 0.04);  // 4 % as a fraction
  EXPECT_DOUBLE_EQ(right.drainageDitch.depth, 0.6);
  EXPECT_DOUBLE_EQ(right.drainageDitch.bottomWidth, 0.4);
  EXPECT_DOUBLE_EQ(right.sideDitch.topWidth, 2.0);
  EXPECT_EQ(right.topDitch.applies, 1);
  EXPECT_EQ(right.embankment.count, 3);
  EXPECT_DOUBLE_EQ(right.cutting.bermWidth[0], 2.0);
  EXPECT_DOUBLE_EQ(right.improvedSoilThickness, 0.4);
  EXPECT_DOUBLE_EQ(right.surfaceLayerThickness, 0.6);
  EXPECT_DOUBLE_EQ(right.shoulderProtectionWidth, 0.5);
  EXPECT_DOUBLE_EQ(right.topsoilThickness, 0.3);
  EXPECT_FALSE(right.inThirdStructure);
}

// A table value other than 0, 1 or -1 as the drainage-ditch type does not
// claim a ditch: the side ends with kind 0 (no drainage ditch).
TEST(SideDesign, UnknownDrainageTypeClaimsNoDitch) {
  CrossSectionDesigner designer;
  HandStandards h;
  h.drainageType = 2;
  sidedesign::Apply(designer, h);
  const PairXY top[4] = {{0, 105.14}, {3.5, 105}, {3.5, 105}, {3.5, 105}};
  const std::vector<PairXY> ground = Flat();
  SideDesign out;
  ASSERT_EQ(designer.DesignSide(1, sidedesign::kML, 1000.0, 100.0, 6, ground.data(), top, out), 1);
  EXPECT_EQ(out.ditchKind, kDitchNoRoom);
  EXPECT_EQ(out.drainageDitchCount, 0);
  EXPECT_EQ(out.topDitchCount, 0);
}

// A second design into the same output starts afresh.
TEST(SideDesign, ResetsEveryOutputButTheFormCode) {
  CrossSectionDesigner designer;
  sidedesign::Apply(designer, Drained({}));
  const PairXY top[4] = {{0, 105.14}, {3.5, 105}, {3.5, 105}, {3.5, 105}};
  const std::vector<PairXY> ground = Flat();
  SideDesign out;
  ASSERT_EQ(designer.DesignSide(1, sidedesign::kML, 1000.0, 100.0, 6, ground.data(), top, out), 1);
  const std::vector<PairXY> shortGround = {{0, 0}, {3, 0}};
  ASSERT_EQ(designer.DesignSide(1, sidedesign::kML, 1000.0, 100.0, 2, shortGround.data(), top, out), -1);
  EXPECT_DOUBLE_EQ(out.formCode, 0.0);  // the first design's fill
  EXPECT_EQ(out.points.size(), 5u);
  EXPECT_EQ(out.drainageDitchCount, 0);
  EXPECT_EQ(out.drainageDitch[0].x, 0.0);
  EXPECT_EQ(out.ditchFillArea, 0.0);
  EXPECT_EQ(out.ditchLiningArea, 0.0);
  EXPECT_EQ(out.turfLength, 0.0);
}

}  // namespace
