// Slope grading, the side ditch and cutting, the top ditch, the ground's
// cross slope, ditch linings, the lowered formation and the layer areas, each
// against hand geometry.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "win/transcript.h"

namespace {

using Points = std::vector<PairXY>;

SlopeGradeArrays Grades(std::initializer_list<SlopeGrade> grades) {
  SlopeGradeArrays g;
  for (const SlopeGrade& s : grades) {
    g.ratio[g.count] = s.ratio;
    g.height[g.count] = s.height;
    g.bermWidth[g.count] = s.bermWidth;
    g.bermSlope[g.count] = s.fourth;
    ++g.count;
  }
  return g;
}

void ExpectPoints(const Points& got, const Points& want, const std::string& name) {
  ASSERT_EQ(got.size(), want.size()) << name;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 1e-6) << name << " point " << i;
    EXPECT_NEAR(got[i].y, want[i].y, 1e-6) << name << " point " << i;
  }
}

const Points kFlat = {{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}, {60, 0}};

struct GradeCase {
  std::string name;
  int direction;
  PairXY start;
  SlopeGradeArrays grades;
  Points ground;
  double softLimit, searchWidth;
  int result;
  Points points;
};

const GradeCase kGradeCases[] = {
    // 1:1.5 from (3.5, 5) down to flat ground at 3.5 + 7.5.
    {"one grade meets the ground", -1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}), kFlat, 60, 60, 1, {{11, 0}}},
    // Meeting the ground exactly at the search width is a hit, not a clip.
    {"meets the ground at the search width", -1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}), kFlat, 60, 11, 1, {{11, 0}}},
    {"meets the ground beyond the soft limit", -1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}), kFlat, 10, 60, -1, {{11, 0}}},
    // Beyond the search width the slope stops there: (8, 5 − 4.5 / 1.5).
    {"clipped where it meets the ground", -1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}), kFlat, 60, 8, -2, {{8, 2}}},
    // One grade 2 m high misses the ground within 2.2 m: grades used up.
    {"one short grade misses the ground", -1, {3.5, 5}, Grades({{1.5, 2, 1, 0}}), kFlat, 60, 60, 0, {}},
    // Grade end (6.5, 3) beyond a search width of 5: clipped at (5, 4).
    {"clipped at the grade end", -1, {3.5, 5}, Grades({{1.5, 2, 1, 0}, {1.5, 10, 0, 0}}), kFlat, 60, 5, -2,
     {{5, 4}}},
    // Berm from (6.5, 3) to (9.5, 3) beyond a search width of 8.
    {"clipped on the berm", -1, {3.5, 5}, Grades({{1.5, 2, 3, 0}, {1.5, 10, 0, 0}}), kFlat, 60, 8, -2,
     {{6.5, 3}, {8, 3}}},
    // The berm falls 2 %: (9.5, 2.94); the second grade meets the ground at
    // 9.5 + 2.94 × 1.5.
    {"berm with a cross slope", -1, {3.5, 5}, Grades({{1.5, 2, 3, 2}, {1.5, 10, 0, 0}}), kFlat, 60, 60, 1,
     {{6.5, 3}, {9.5, 2.94}, {13.91, 0}}},
    // Ground rising to 4 between 7 and 8 meets the berm at level 3 in 7.75.
    {"berm meets rising ground", -1, {3.5, 5}, Grades({{1.5, 2, 3, 0}, {1.5, 10, 0, 0}}),
     {{0, 0}, {7, 0}, {8, 4}, {20, 4}}, 60, 60, 1, {{6.5, 3}, {7.75, 3}}},
    // A cutting graded up from its foot.
    {"cutting up to the ground", 1, {7.5, -3}, Grades({{1.0, 8, 0, 0}}), kFlat, 60, 60, 1, {{10.5, 0}}},
    {"no grades", -1, {3.5, 5}, Grades({}), kFlat, 60, 60, 0, {}},
    {"start beyond the search width", -1, {70, 5}, Grades({{1.5, 8, 1, 0}}), kFlat, 60, 60, -2, {}},
};

class GradeSlopeCases : public ::testing::TestWithParam<GradeCase> {};

TEST_P(GradeSlopeCases, FollowsTheGrades) {
  const GradeCase& c = GetParam();
  Points out = {{99, 99}};  // emptied by the grading
  platform::TranscriptCapture capture;
  const int result = CrossSectionDesigner::GradeSlope(c.direction, c.start, c.grades, 0,
                                                      static_cast<int>(c.ground.size()), c.ground.data(),
                                                      c.softLimit, out, c.searchWidth);
  EXPECT_EQ(result, c.result);
  ExpectPoints(out, c.points, c.name);
  EXPECT_FALSE(capture.contains("路面超过地面线"));
}

INSTANTIATE_TEST_SUITE_P(Slope, GradeSlopeCases, ::testing::ValuesIn(kGradeCases),
                         [](const ::testing::TestParamInfo<GradeCase>& info) {
                           std::string n;
                           for (char ch : info.param.name) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return n;
                         });

TEST(SlopeGrading, StartBeyondTheGroundLineSaysSoOnce) {
  Points out;
  platform::TranscriptCapture capture;
  const Points ground = {{0, 0}, {3, 0}};
  EXPECT_EQ(CrossSectionDesigner::GradeSlope(-1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}), 0, 2, ground.data(), 60,
                                             out, 60),
            -2);
  EXPECT_TRUE(out.empty());
  const std::string& text = capture.text();
  const size_t first = text.find("路面超过地面线");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find("路面超过地面线", first + 1), std::string::npos);
}

// Side ditch, platform and cutting after the shoulder (3.5, −3): the ditch
// 0.8 deep, 0.4 wide, 1:1; the foot 2 m beyond the ditch. The cutting's first
// berm entry (2.0, the platform) is never a berm between grades: the 2 m
// grade is followed by the second entry's 3 m berm, the last grade by none.
TEST(SlopeGrading, SideDitchAndCutting) {
  Points design = {{0, -2.86}, {0, -2.86}, {3.5, -3}, {3.5, -3}, {3.5, -3}, {77, 77}};
  SideDitchStandard ditch;
  ditch.bottomWidth = 0.4;
  ditch.depth = 0.8;
  ditch.innerRatio = ditch.outerRatio = 1.0;
  double form = 0.0, wall = 0.0, turf = 0.0;
  const int result = CrossSectionDesigner::BuildCutWithSideDitch(
      ditch, {7.5, -3}, Grades({{1.0, 2, 2.0, 0}, {1.0, 10, 3.0, 0}}), 1, 6, kFlat.data(), 60, design, form, 60,
      wall, turf);
  EXPECT_EQ(result, 1);
  EXPECT_DOUBLE_EQ(form, 1.0);
  ExpectPoints(design,
               {{0, -2.86}, {0, -2.86}, {3.5, -3}, {3.5, -3}, {3.5, -3}, {4.3, -3.8}, {4.7, -3.8}, {5.5, -3},
                {7.5, -3}, {9.5, -1}, {12.5, -1}, {13.5, 0}},
               "cutting");
  EXPECT_NEAR(turf, std::sqrt(8.0) + 3 + std::sqrt(2.0), 1e-9);
  EXPECT_DOUBLE_EQ(wall, 0.0);

  // A grade steeper than 2:1 (1:0.25) counts as retaining wall.
  design.resize(5);
  wall = turf = 0.0;
  EXPECT_EQ(CrossSectionDesigner::BuildCutWithSideDitch(ditch, {7.5, -3}, Grades({{0.25, 10, 0, 0}}), 1, 6,
                                                        kFlat.data(), 60, design, form, 60, wall, turf),
            1);
  EXPECT_NEAR(design.back().x, 8.25, 1e-9);
  EXPECT_NEAR(wall, std::hypot(0.75, 3.0), 1e-9);
  EXPECT_DOUBLE_EQ(turf, 0.0);
}

struct TopDitchCase {
  std::string name;
  Points ground;
  int result, count;
  Points points;
};

// A top ditch 2 m beyond the top of a cutting at (10.5, 0): 0.6 deep, 0.4
// wide, walls 1:1.
const TopDitchCase kTopDitchCases[] = {
    {"outer wall meets the ground", kFlat, 1, 4, {{12.5, 0}, {13.1, -0.6}, {13.5, -0.6}, {14.1, 0}}},
    // The ground falls 1.2:1 beyond 13.5: the outer wall meets it at
    // (13.772727, −0.327273), less than half the depth above the bottom, so
    // two points only.
    {"outer wall too low", {{0, 0}, {13.5, 0}, {14, -0.6}, {60, -0.6}}, 1, 2, {{12.5, 0}, {13.1, -0.6}}},
    {"ground ends before the ditch", {{0, 0}, {12, 0}}, -1, 0, {}},
    {"ground below the ditch bottom", {{0, 0}, {13, 0}, {13.5, -1}, {60, -1}}, -1, 0, {}},
};

class TopDitchCases : public ::testing::TestWithParam<TopDitchCase> {};

TEST_P(TopDitchCases, PlacesTheDitch) {
  const TopDitchCase& c = GetParam();
  TopDitchStandard ditch;
  ditch.offset = 2.0;
  ditch.bottomWidth = 0.4;
  ditch.depth = 0.6;
  ditch.innerRatio = ditch.outerRatio = 1.0;
  const Points design = {{0, -2.86}, {3.5, -3}, {10.5, 0}};
  PairXY out[kDrainageDitchPoints] = {};
  int count = -1;
  EXPECT_EQ(CrossSectionDesigner::PlaceTopDitch(ditch, 3, design.data(), static_cast<int>(c.ground.size()),
                                                c.ground.data(), count, out),
            c.result);
  ASSERT_EQ(count, c.count);
  ExpectPoints(Points(out, out + count), c.points, c.name);
}

INSTANTIATE_TEST_SUITE_P(Slope, TopDitchCases, ::testing::ValuesIn(kTopDitchCases),
                         [](const ::testing::TestParamInfo<TopDitchCase>& info) {
                           std::string n;
                           for (char ch : info.param.name) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return n;
                         });

TEST(SlopeGrading, GroundCrossSlope) {
  const Points g = {{0, 0}, {2, 1}, {4, 1}, {6, 3}};
  // From the first point at or beyond the start (i = 1, taken itself) to the
  // first at or beyond the end: (2, 1), (4, 1), (6, 3) fit y = 1/3 + x/2.
  EXPECT_NEAR(CrossSectionDesigner::GroundCrossSlope({2, 0}, 6, 4, g.data()), 0.5, 1e-12);
  // i = 2: the fit starts one point earlier, the same three points.
  EXPECT_NEAR(CrossSectionDesigner::GroundCrossSlope({3, 0}, 6, 4, g.data()), 0.5, 1e-12);
  // Start beyond the last-but-one point.
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundCrossSlope({4.5, 0}, 6, 4, g.data()), -1.0);
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundCrossSlope({7, 0}, 8, 4, g.data()), -1.0);
  // Two points, (2, 1) and (4, 1), are too few for a fit: flat.
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundCrossSlope({2.5, 0}, 4, 4, g.data()), 0.0);
  // Three points at one offset: no fit, flat.
  const Points wall = {{0, 0}, {1, 0}, {1, 1}, {1, 2}};
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundCrossSlope({0.5, 0}, 1.5, 4, wall.data()), 0.0);
}

TEST(SlopeGrading, DitchLiningAndShoulderLayer) {
  // Vertical walls: two walls t (h + t / 2) and the bottom t w:
  // 0.1 × (2 × 1 + 1 + 0.1).
  EXPECT_NEAR(DitchLiningArea(1.0, 1.0, 0.0, 0.0, 0.1), 0.31, 1e-12);
  // 1:1 walls, depth 0.6, bottom 0.4, 0.3 thick: 0.15 × (3.0 √2 + 0.8 + 2 × 0.3 tan 22.5°).
  EXPECT_NEAR(DitchLiningArea(0.6, 0.4, 1.0, 1.0, 0.3),
              0.15 * (3.0 * std::sqrt(2.0) + 0.8 + 0.6 * std::tan(M_PI / 8)), 1e-12);
  EXPECT_NEAR(ShoulderLayerArea(0.5, 0.6, 1.5), 0.57 * std::sqrt(1.0016), 1e-12);
  EXPECT_DOUBLE_EQ(ShoulderLayerArea(0.0, 0.0, 1.5), 0.0);
}

const Points kFillLine = {{0, 5.14}, {0, 5.14}, {3.5, 5}, {3.5, 5}, {3.5, 5}, {11, 0}};

TEST(SlopeGrading, LowerFormation) {
  Points out;
  // Below 1 mm: the design line itself.
  EXPECT_EQ(CrossSectionDesigner::LowerFormation(-1, 6, kFillLine.data(), 0.0009, out), 1);
  ExpectPoints(out, kFillLine, "unchanged");
  // The roadbed top alone: lowered, nothing to join.
  EXPECT_EQ(CrossSectionDesigner::LowerFormation(-1, 5, kFillLine.data(), 0.6, out), 0);
  ExpectPoints(out, {{0, 4.54}, {0, 4.54}, {3.5, 4.40}, {3.5, 4.40}, {3.5, 4.40}}, "top only");
  // A fill: the lowered plane y = 4.54 − 0.04 x meets the slope
  // y = 5 − (x − 3.5) / 1.5 at x = 4.19 / 0.94.
  EXPECT_EQ(CrossSectionDesigner::LowerFormation(-1, 6, kFillLine.data(), 0.6, out), 1);
  const double x = 4.19 / 0.94;
  ExpectPoints(out, {{0, 4.54}, {0, 4.54}, {3.5, 4.40}, {3.5, 4.40}, {x, 4.54 - 0.04 * x}, {11, 0}}, "fill");
  // A cutting: the lowered top, then the design line from the real shoulder.
  const Points cut = {{0, -2.86}, {0, -2.86}, {3.5, -3}, {3.5, -3}, {3.5, -3}, {4.3, -3.8}};
  EXPECT_EQ(CrossSectionDesigner::LowerFormation(1, 6, cut.data(), 0.6, out), 0);
  ExpectPoints(out, {{0, -3.46}, {0, -3.46}, {3.5, -3.6}, {3.5, -3.6}, {3.5, -3.6}, {3.5, -3}, {4.3, -3.8}}, "cut");
}

TEST(SlopeGrading, ImprovedSoil) {
  // The band between the planes 0.6 and 1.0 below the crown, up to the slope:
  // 0.4 × 3.5 + 0.4 × 0.957447 + 0.5 × 0.638298 × 0.4.
  const double want = 0.4 * 3.5 + 0.4 * (4.19 / 0.94 - 3.5) + 0.5 * (4.79 / 0.94 - 4.19 / 0.94) * 0.4;
  EXPECT_NEAR(CrossSectionDesigner::ImprovedSoilArea(-1, 6, kFillLine.data(), 6, kFlat.data(), 0.6, 0.4), want,
              1e-9);
  // A cutting's lowering never joins a slope: no improved soil.
  const Points cut = {{0, 1.14}, {0, 1.14}, {3.5, 1}, {3.5, 1}, {3.5, 1}, {4.3, 0.2}, {10, 3}};
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::ImprovedSoilArea(1, 7, cut.data(), 6, kFlat.data(), 0.6, 0.4), 0.0);
}

TEST(SlopeGrading, FillAndCutBelowTheLoweredFormation) {
  double fill = -1, cut = -1;
  // Without lowering: (5.14 + 5) / 2 × 3.5 + 5 × 7.5 / 2.
  CrossSectionDesigner::FillCutAreas(-1, 6, kFillLine.data(), 6, kFlat.data(), 0.0, fill, cut);
  EXPECT_NEAR(fill, 36.495, 1e-9);
  EXPECT_DOUBLE_EQ(cut, 0.0);
  // Lowered 0.6: (4.54 + 4.40) / 2 × 3.5 + (4.40 + y1) / 2 × (x1 − 3.5) + y1 × (11 − x1) / 2.
  const double x1 = 4.19 / 0.94, y1 = 4.54 - 0.04 * x1;
  CrossSectionDesigner::FillCutAreas(-1, 6, kFillLine.data(), 6, kFlat.data(), 0.6, fill, cut);
  EXPECT_NEAR(fill, 15.645 + (4.40 + y1) / 2 * (x1 - 3.5) + y1 * (11 - x1) / 2, 1e-9);
}

TEST(SlopeGrading, SideAreasWithoutLayers) {
  const SideAreaResult a = CrossSectionDesigner::SideAreas(6, kFillLine.data(), 6, kFlat.data(), 0, 0, 0, 0, 60,
                                                           -1, {3.5, 5}, Grades({{1.5, 8, 1, 0}}));
  EXPECT_NEAR(a.fill, 36.495, 1e-9);
  EXPECT_DOUBLE_EQ(a.topsoil, 0.0);
  EXPECT_DOUBLE_EQ(a.improvedSoil, 0.0);
  EXPECT_DOUBLE_EQ(a.shoulderLayer, 0.0);
}

TEST(SlopeGrading, SurfaceBeyondToeAndDitchAreas) {
  Points surface;
  CrossSectionDesigner::SurfaceBeyondToe(6, kFlat.data(), 6, kFillLine.data(), surface);
  Points want = kFillLine;
  want.insert(want.end(), {{15, 0}, {20, 0}, {60, 0}});
  ExpectPoints(surface, want, "surface");

  // A trapezoidal ditch 0.6 deep dug in flat ground: cut (0.4 + 1.6) / 2 × 0.6.
  const Points ditch = {{13, 0}, {13.6, -0.6}, {14, -0.6}, {14.6, 0}};
  double fill = -1, cut = -1;
  CrossSectionDesigner::DitchAreas(6, kFlat.data(), 4, ditch.data(), fill, cut);
  EXPECT_NEAR(fill, 0.0, 1e-12);
  EXPECT_NEAR(cut, 0.6, 1e-12);
  // A ditch starting on the centre line is left alone.
  const Points centre = {{0.005, 0}, {1, -1}, {2, 0}};
  fill = cut = -1;
  CrossSectionDesigner::DitchAreas(6, kFlat.data(), 3, centre.data(), fill, cut);
  EXPECT_EQ(fill, -1);
  EXPECT_EQ(cut, -1);
}

TEST(SlopeGrading, ShiftedCuttingGrades) {
  const SlopeGradeArrays s = ShiftedCuttingGrades(Grades({{1.0, 8, 2.0, 1}, {1.25, 10, 1.5, 2}, {1.5, 100, 1.0, 3}}));
  ASSERT_EQ(s.count, 3);
  EXPECT_DOUBLE_EQ(s.ratio[1], 1.25);
  EXPECT_DOUBLE_EQ(s.height[2], 100);
  EXPECT_DOUBLE_EQ(s.bermWidth[0], 1.5);
  EXPECT_DOUBLE_EQ(s.bermSlope[0], 2);
  EXPECT_DOUBLE_EQ(s.bermWidth[1], 1.0);
  EXPECT_DOUBLE_EQ(s.bermWidth[2], 0.0);
  EXPECT_DOUBLE_EQ(s.bermSlope[2], 0.0);
}

}  // namespace
