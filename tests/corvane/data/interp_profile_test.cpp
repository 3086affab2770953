// The ground line of one side: thinning a long profile and turning the terrain
// model's profile into (offset, height difference) pairs.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "GroundLines.h"
#include "corvane/data/interp_support.h"

namespace {

// A profile every 0.5 m from 0 to 60 m that is straight between breaks at 10,
// 25 and 40 m: grades 0.1, -0.3, 0.5 and 0, so the heights at the breaks are
// 1.0, -3.5, 4.0 and 4.0 at the end.
double BrokenHeight(double d) {
  if (d <= 10.0) return 0.1 * d;
  if (d <= 25.0) return 1.0 - 0.3 * (d - 10.0);
  if (d <= 40.0) return -3.5 + 0.5 * (d - 25.0);
  return 4.0;
}

std::vector<PairXY> BrokenProfile() {
  std::vector<PairXY> points;
  for (int i = 0; i <= 120; ++i) points.push_back({0.5 * i, BrokenHeight(0.5 * i)});
  return points;
}

std::vector<double> Offsets(const std::vector<PairXY>& points) {
  std::vector<double> out;
  for (const PairXY& p : points) out.push_back(p.x);
  return out;
}

TEST(InterpThinProfile, ShortProfilesStayAsTheyAre) {
  struct Case {
    int points;
    int maxPoints;
  };
  for (const Case c : {Case{2, 100}, Case{100, 100}, Case{5, 5}, Case{3, 7}}) {
    std::vector<PairXY> points;
    for (int i = 0; i < c.points; ++i) points.push_back({1.0 * i, (i % 2) * 1.0});
    const std::vector<PairXY> before = points;
    EXPECT_EQ(ThinProfile(points, c.maxPoints), c.points);
    ASSERT_EQ(points.size(), before.size());
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_EQ(points[i].x, before[i].x);
      EXPECT_EQ(points[i].y, before[i].y);
    }
  }
}

// Straight runs go first, then the break spanning the smallest triangle with
// its neighbours: with only the ends and breaks left the doubled areas are
// 60 (at 10 m), 180 (25 m) and 150 (40 m); after 10 m goes, 240 (25 m) and
// 150 (40 m).
TEST(InterpThinProfile, KeepsEndsAndSharpestBreaks) {
  struct Case {
    int maxPoints;
    std::vector<double> expected;  // empty: only the checks below
  };
  const std::vector<Case> cases = {
      {5, {0.0, 10.0, 25.0, 40.0, 60.0}}, {4, {0.0, 25.0, 40.0, 60.0}}, {3, {0.0, 25.0, 60.0}},
      {2, {0.0, 60.0}},                   {1, {0.0, 60.0}},             {100, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxPoints);
    std::vector<PairXY> points = BrokenProfile();
    const int count = ThinProfile(points, c.maxPoints);
    EXPECT_EQ(count, static_cast<int>(points.size()));
    if (!c.expected.empty()) {
      EXPECT_EQ(Offsets(points), c.expected);
      continue;
    }
    ASSERT_EQ(count, 100);
    const std::vector<double> offsets = Offsets(points);
    for (double mustStay : {0.0, 10.0, 25.0, 40.0, 60.0})
      EXPECT_NE(std::find(offsets.begin(), offsets.end(), mustStay), offsets.end()) << mustStay;
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_DOUBLE_EQ(points[i].y, BrokenHeight(points[i].x));  // every point is one of the profile's
      if (i > 0) {
        EXPECT_LT(points[i - 1].x, points[i].x);
      }
    }
  }
}

class InterpSideLine : public interp_test::SchemeWithTerrain {};

TEST_F(InterpSideLine, WithoutModelTheSideIsLevelToItsWidth) {
  g_TerrainModel.Close();
  const std::vector<PairXY> line = SideGroundLine(g_TerrainModel, 500.0, 0.0, 500.0, -35.0, 35.0, 120.0, 100);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_EQ(line[0].x, 0.0);
  EXPECT_EQ(line[0].y, 0.0);
  EXPECT_EQ(line[1].x, 35.0);
  EXPECT_EQ(line[1].y, 0.0);
}

// The plane z = 200 + 0.1 y over x 0..1000, y -100..100; the centre's ground
// elevation is given as 195, so a point at y has height 5 + 0.1 y, and the
// centre itself is (0, 0).
TEST_F(InterpSideLine, HeightsAreTerrainLessCentreElevation) {
  interp_test::WritePlaneTerrain(m_dir, 0.0, 1000.0, -100.0, 100.0, 200.0, 0.0, 0.1);
  LoadTerrain();
  struct Case {
    double endY;
    double lastOffset;
    double lastHeight;
  };
  // Left to -60 m: height 5 - 6 = -1. Right to 60 m: 11. Out to -150 m, past
  // the model's edge: the end has no ground and takes the centre's elevation.
  for (const Case c : {Case{-60.0, 60.0, -1.0}, Case{60.0, 60.0, 11.0}, Case{-150.0, 150.0, 0.0}}) {
    SCOPED_TRACE(c.endY);
    const std::vector<PairXY> line = SideGroundLine(g_TerrainModel, 550.0, 0.0, 550.0, c.endY,
                                                    std::fabs(c.endY), 195.0, 100);
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.front().x, 0.0);
    EXPECT_EQ(line.front().y, 0.0);
    EXPECT_NEAR(line.back().x, c.lastOffset, 1e-9);
    EXPECT_NEAR(line.back().y, c.lastHeight, 1e-9);
    const double direction = c.endY < 0 ? -1.0 : 1.0;
    for (size_t i = 1; i + 1 < line.size(); ++i) {
      EXPECT_LT(line[i - 1].x, line[i].x);
      EXPECT_NEAR(line[i].y, 5.0 + 0.1 * direction * line[i].x, 1e-9);  // inside the model
    }
  }
}

}  // namespace
