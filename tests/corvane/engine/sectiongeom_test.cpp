// Section geometry routines: polyline interpolation, ground heights, slope
// legs against the ground, fill and cut between two polylines, crossings of
// lines and polylines, the outlines of lined ditches and point symbols, the
// frame of a section and the sheet layout.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"

namespace {

using Points = std::vector<PairXY>;

void ExpectPoints(const PairXY* got, const Points& want, const std::string& name, double tol = 1e-6) {
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, tol) << name << " point " << i;
    EXPECT_NEAR(got[i].y, want[i].y, tol) << name << " point " << i;
  }
}

TEST(SectionGeometry, InterpolateOnPolyline) {
  const Points p = {{0, 1}, {4, 3}, {10, 0}};
  double v = 0;
  int i = -5;
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(0.0, 3, p.data(), v, i), -1);  // at the first point
  EXPECT_DOUBLE_EQ(v, 1.0);
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(-2.0, 3, p.data(), v, i), -1);
  EXPECT_DOUBLE_EQ(v, 1.0);
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(2.0, 3, p.data(), v, i), 1);
  EXPECT_DOUBLE_EQ(v, 2.0);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(7.0, 3, p.data(), v, i), 1);
  EXPECT_DOUBLE_EQ(v, 1.5);
  EXPECT_EQ(i, 1);
  // Within 0.0001 of the last point is still on the line.
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(10.00005, 3, p.data(), v, i), 1);
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(10.001, 3, p.data(), v, i), 0);  // beyond
  EXPECT_DOUBLE_EQ(v, 0.0);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(CrossSectionDesigner::InterpolateOnPolyline(1.0, 0, nullptr, v, i), 0);  // no points
  EXPECT_DOUBLE_EQ(v, 0.0);
}

TEST(SectionGeometry, GroundHeightAbove) {
  const Points pairs = {{0, 0}, {10, -2}, {10.0005, -3}, {20, -4}};
  // d = 5: h = −1 between (0, 0) and (10, −2); 102 − (−1) − 100.
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundHeightAbove(-5.0, 4, pairs.data(), 102.0, 100.0), 3.0);
  // Pairs closer than 1 mm: the predecessor's value, h = −2.
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundHeightAbove(10.0003, 4, pairs.data(), 102.0, 100.0), 4.0);
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundHeightAbove(20.5, 4, pairs.data(), 102.0, 100.0), -10000.0);
  EXPECT_DOUBLE_EQ(CrossSectionDesigner::GroundHeightAbove(0.0, 4, pairs.data(), 102.0, 100.0), 2.0);
}

TEST(SectionGeometry, SlopeLegAgainstTheGround) {
  const Points g = {{0, 0}, {5, 0}, {10, 2}, {20, 2}};
  PairXY hit{-1, -1};
  // From (2, 6) down at 1:1, leg 1.1 × 8 long: meets the rising segment where
  // 6 − (x − 2) = 0.4 (x − 5): x = 50 / 7.
  EXPECT_EQ(CrossSectionDesigner::IntersectSlopeWithGround(0, 4, g.data(), -1, 1.0, {2, 6}, 8, hit), 0);
  EXPECT_NEAR(hit.x, 50.0 / 7, 1e-9);
  EXPECT_NEAR(hit.y, 6 - (50.0 / 7 - 2), 1e-9);
  // Too short a leg: no hit, a non-zero result.
  EXPECT_NE(CrossSectionDesigner::IntersectSlopeWithGround(0, 4, g.data(), -1, 1.0, {2, 6}, 1, hit), 0);
  // No segment left to try.
  EXPECT_EQ(CrossSectionDesigner::IntersectSlopeWithGround(3, 4, g.data(), -1, 1.0, {2, 6}, 8, hit), 100);
  EXPECT_EQ(CrossSectionDesigner::IntersectSegmentWithGround(0, 1, g.data(), {0, 1}, {1, -1}, hit), 100);
}

struct AreaCase {
  std::string name;
  Points design, ground;
  double fill, cut;
};

const AreaCase kAreaCases[] = {
    {"on the ground", {{0, 0}, {5, 0}, {10, 2}}, {{0, 0}, {5, 0}, {10, 2}, {20, 2}}, 0, 0},
    // Crossing the ground in the middle: two triangles 2 × 1 / 2.
    {"crossing", {{0, 1}, {4, -1}}, {{0, 0}, {10, 0}}, 1, 1},
    // The ground's vertices cut the segment into strips: d − g is 1, 0, −1, 0, 1
    // at x = 0 .. 4.
    {"strips at ground vertices", {{0, 1}, {4, 1}}, {{0, 0}, {2, 2}, {4, 0}}, 1, 1},
    // The design line leaves the ground line at 10: only the first segment.
    {"stops beyond the ground", {{0, 1}, {2, 1}, {20, 1}}, {{0, 0}, {10, 0}}, 2, 0},
    // A vertical step is skipped.
    {"vertical step", {{0, 1}, {2, 1}, {2, -1}, {4, -1}}, {{0, 0}, {10, 0}}, 2, 2},
};

class FillCutCases : public ::testing::TestWithParam<AreaCase> {};

TEST_P(FillCutCases, MeasuresBetweenThePolylines) {
  const AreaCase& c = GetParam();
  double fill = -1, cut = -1;
  CrossSectionDesigner::FillCutAreas(static_cast<int>(c.design.size()), c.design.data(),
                                     static_cast<int>(c.ground.size()), c.ground.data(), fill, cut);
  EXPECT_NEAR(fill, c.fill, 1e-12);
  EXPECT_NEAR(cut, c.cut, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(SectionGeometry, FillCutCases, ::testing::ValuesIn(kAreaCases),
                         [](const ::testing::TestParamInfo<AreaCase>& info) {
                           std::string n;
                           for (char ch : info.param.name) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return n;
                         });

TEST(SectionGeometry, ZeroCrossing) {
  double ratio = 0, at = 0;
  // 2 at 100 falling to −3 at 120: zero at 100 + 20 × 2 / 5.
  CrossSectionDesigner::ZeroCrossing(100, 120, 2, -3, ratio, at);
  EXPECT_DOUBLE_EQ(ratio, 1.5);
  EXPECT_DOUBLE_EQ(at, 108.0);
  CrossSectionDesigner::ZeroCrossing(100, 120, 2, 3, ratio, at);  // no change of sign: the middle
  EXPECT_DOUBLE_EQ(ratio, 1.0);
  EXPECT_DOUBLE_EQ(at, 110.0);
  CrossSectionDesigner::ZeroCrossing(100, 120, 0.00005, -3, ratio, at);
  EXPECT_DOUBLE_EQ(ratio, 1.0);
}

TEST(SectionGeometry, IntersectLineWithPolyline) {
  const Points g = {{0, 0}, {10, 0}, {20, 5}};
  PairXY p{-1, -1};
  // From (15, 10) down to (5, −10): meets the polyline at its vertex (10, 0),
  // beyond the second x and below the first point.
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(10, 0, 5, 10, -5, -10, g.data(), 3, p), 1);
  EXPECT_NEAR(p.x, 10, 1e-9);
  EXPECT_NEAR(p.y, 0, 1e-9);
  // From (12, −10) up to (8, 10): the same point, not below the first.
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(10, 0, 2, -10, -2, 10, g.data(), 3, p), 2);
  // From (5, −10) to (15, 10): the crossing lies before the second x.
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(10, 0, -5, -10, 5, 10, g.data(), 3, p), 0);
  // No crossing at all.
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(0, 20, 0, 0, 30, 0, g.data(), 3, p), 0);
  // A crossing beyond 999 does not count.
  const Points far = {{0, 0}, {2000, 0}};
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(1450, 0, 50, 5, -50, -5, far.data(), 2, p), 0);
  // Of two crossings beyond the second x, the one of least x.
  const Points zig = {{0, 0}, {4, 4}, {8, 0}, {12, 4}};
  EXPECT_EQ(CrossSectionDesigner::IntersectLineWithPolyline(0, 2, 20, 0, -1, 0, zig.data(), 4, p), 2);
  EXPECT_NEAR(p.x, 2, 1e-9);
}

TEST(SectionGeometry, PolylineCrossingsInDrawingOrder) {
  // Along the polyline from its first vertex; its vertex (4, 4) given once.
  const Points zig = {{0, 0}, {4, 4}, {8, 0}};
  std::vector<PairXY> out;
  EXPECT_EQ(IntersectPolylineWithSegment(zig.data(), 3, {8, 2}, {-1, 2}, out), 2);
  ExpectPoints(out.data(), {{2, 2}, {6, 2}}, "zig");
  out.clear();
  EXPECT_EQ(IntersectPolylineWithSegment(zig.data(), 3, {4, 6}, {4, 0}, out), 1);
  ExpectPoints(out.data(), {{4, 4}}, "vertex");
  out.clear();
  // Overlapping pieces give no point.
  EXPECT_EQ(IntersectPolylineWithSegment(zig.data(), 3, {1, 1}, {3, 3}, out), 0);
  const Points other = {{0, 3}, {8, 3}};
  EXPECT_EQ(IntersectPolylines(zig.data(), 3, other.data(), 2, out), 2);
  ExpectPoints(out.data(), {{3, 3}, {5, 3}}, "polylines");
}

class DrawingFactor : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = g_DrawingFactor;
    g_DrawingFactor = 5.0;
  }
  void TearDown() override { g_DrawingFactor = saved; }
  double saved = 0.0;
};

TEST_F(DrawingFactor, LinedDitchOutline) {
  // f = 5, walls 1:1, 0.6 deep, lining 0.3 (1.5 drawing units).
  const PairXY corners[3] = {{100, 50}, {102, 50}, {110, 60}};
  PairXY out[kLinedDitchPoints];
  int count = 0;
  CrossSectionDesigner::BuildLinedDitch(1, 0.3, 1.0, 1.0, 0.6, corners, count, out);
  ASSERT_EQ(count, 9);
  const double k = 1.5 * std::sqrt(2.0), c = 1.5 * std::tan(M_PI / 8);
  ExpectPoints(out,
               {{97, 53}, {100, 50}, {102, 50}, {105, 53}, {105 + k, 53}, {102 + c, 48.5}, {100 - c, 48.5},
                {97 - k, 53}, {97, 53}},
               "right");
  // The left side mirrors the offsets; an outer top above the cap is lowered to it.
  const PairXY capped[3] = {{100, 50}, {98, 50}, {90, 52}};
  CrossSectionDesigner::BuildLinedDitch(-1, 0.3, 1.0, 1.0, 0.6, capped, count, out);
  ASSERT_EQ(count, 9);
  ExpectPoints(out,
               {{103, 53}, {100, 50}, {98, 50}, {95, 52}, {95 - k, 52}, {98 - c, 48.5}, {100 + c, 48.5},
                {103 + k, 53}, {103, 53}},
               "left");
}

TEST(SectionGeometry, DitchOutlinesFromSectionData) {
  SectionFrame frame;  // origin 0, reference = base, factor 1
  frame.factor = 1.0;
  const double c = 0.3 * std::tan(M_PI / 8);
  PairXY out[kLinedDitchPoints];
  int count = -1;
  // A drainage ditch of 5 points: corners 2, 3, 4.
  const Points five = {{10.87, 0.09}, {13, 0}, {13.6, -0.6}, {14, -0.6}, {14.6, 0}};
  CrossSectionDesigner::BuildDitchByType(1, 0.3, 1, 1, 0.6, 5, five.data(), frame, count, out);
  ASSERT_EQ(count, 9);
  ExpectPoints(out, {{13, 0}, {13.6, -0.6}, {14, -0.6}, {14.6, 0}, {14.6 + 0.3 * std::sqrt(2.0), 0}}, "five");
  // Six points: corners 3, 4, 5.
  const Points six = {{11.5, -0.3}, {11.6, -0.4}, {13.5, -0.45}, {14.1, -1.05}, {14.5, -1.05}, {15.1, -0.45}};
  CrossSectionDesigner::BuildDitchByType(1, 0.3, 1, 1, 0.6, 6, six.data(), frame, count, out);
  ASSERT_EQ(count, 9);
  ExpectPoints(out, {{13.5, -0.45}, {14.1, -1.05}, {14.5, -1.05}, {15.1, -0.45}}, "six");
  CrossSectionDesigner::BuildDitchByType(1, 0.3, 1, 1, 0.6, 4, six.data(), frame, count, out);
  EXPECT_EQ(count, 0);
  // The side ditch of a design line: points 5, 6, 7, drawn through the frame.
  const Points line = {{0, -2.86}, {0, -2.86}, {3.5, -3}, {3.5, -3}, {3.5, -3}, {4.3, -3.8}, {4.7, -3.8}, {5.5, -3}};
  SectionFrame placed = frame;
  placed.originX = 100;
  placed.originY = 200;
  placed.referenceElevation = 97;
  placed.baseElevation = 90;
  CrossSectionDesigner::BuildDitchFromSideBlock(1, 0.3, 1, 1, 0.8, 8, line.data(), placed, count, out);
  ASSERT_EQ(count, 9);
  ExpectPoints(out, {{103.5, 204}, {104.3, 203.2}, {104.7, 203.2}, {105.5, 204}, {105.5 + 0.3 * std::sqrt(2.0), 204},
                     {104.7 + c, 202.9}},
               "side");
  CrossSectionDesigner::BuildDitchFromSideBlock(1, 0.3, 1, 1, 0.8, 7, line.data(), placed, count, out);
  EXPECT_EQ(count, 0);
}

TEST(SectionGeometry, TopDitchOutlineOnTheGround) {
  SectionFrame frame;
  frame.factor = 1.0;
  // A top ditch whose outer wall climbs to (14.5, 0.4) on ground rising 1:5.
  const Points ditch = {{12.5, 0}, {13.1, -0.6}, {13.5, -0.6}, {14.5, 0.4}};
  const Points ground = {{0, 0}, {12.5, 0}, {30, 3.5}};
  PairXY out[kLinedDitchPoints];
  int count = 0;
  CrossSectionDesigner::BuildDitchOnGround(1, 0.3, 1, 1, 0.6, 4, ditch.data(), 3, ground.data(), frame, count, out);
  ASSERT_EQ(count, 9);
  // The outer lining face from (13.5 + 0.3 tan 22.5°, −0.9) up at 1:1 meets
  // the ground y = 0.2 (x − 12.5) at x = (13.624264 + 0.9 − 2.5) / 0.8.
  const double x5 = 13.5 + 0.3 * std::tan(M_PI / 8);
  const double x4 = (x5 + 0.9 - 2.5) / 0.8;
  ExpectPoints(out, {{12.5, 0}, {13.1, -0.6}, {13.5, -0.6}, {14.1, 0}, {x4, 0.2 * (x4 - 12.5)}, {x5, -0.9}}, "top");
  // No ground to meet: the outer top is repeated.
  const Points none = {{0, -5}, {1, -5}};
  CrossSectionDesigner::BuildDitchOnGround(1, 0.3, 1, 1, 0.6, 4, ditch.data(), 2, none.data(), frame, count, out);
  ExpectPoints(out + 3, {{14.1, 0}, {14.1, 0}}, "no ground");
}

TEST_F(DrawingFactor, PointSymbol) {
  PairXY out[kPointSymbolPoints];
  int count = 0;
  // Square of side 5 from x = 100 outwards, leader towards the centre rising
  // 20 over 500, cut where it meets the line from (90, 60) to (100, 50):
  // 100 − 500 t + 52.5 + 20 t = 150, t = 2.5 / 480.
  CrossSectionDesigner::BuildPointSymbol(1, 100, 50, {90, 60}, count, out);
  ASSERT_EQ(count, 7);
  const double t = 2.5 / 480;
  ExpectPoints(out,
               {{100 - 500 * t, 52.5 + 20 * t}, {100, 52.5}, {105, 52.5}, {105, 47.5}, {100, 47.5}, {100, 50},
                {100, 52.5}},
               "symbol");
  // Nothing in the way: the whole leader.
  CrossSectionDesigner::BuildPointSymbol(-1, -100, 50, {-90, 40}, count, out);
  ExpectPoints(out, {{400, 72.5}, {-100, 52.5}, {-105, 52.5}}, "left");
}

TEST(SectionGeometry, MergeSlopePoints) {
  const Points slope = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 5}, {7, 3}, {7, 0}, {11, -1}};
  std::vector<PairXY> out = {{-1, -1}};
  double first = 0, end = 0, steep = 0, gentle = 0;
  CrossSectionDesigner::MergeSlopePoints(8, slope.data(), out, 1000.0, first, end, steep, gentle);
  EXPECT_EQ(out.size(), 9u);
  EXPECT_DOUBLE_EQ(first, 1000.0);
  EXPECT_DOUBLE_EQ(end, 1011.0);
  // Legs from the fifth point on: (4, 5)→(7, 3) rises 2/3, at least 0.5:
  // steep; (7, 3)→(7, 0) vertical: steep; (7, 0)→(11, −1) gentle.
  EXPECT_NEAR(steep, std::hypot(3.0, 2.0) + 3.0, 1e-12);
  EXPECT_NEAR(gentle, std::hypot(4.0, 1.0), 1e-12);
}

GroundBlock Block(Points left, Points right) {
  GroundBlock b;
  b.leftCount = static_cast<int>(left.size());
  b.rightCount = static_cast<int>(right.size());
  for (size_t i = 0; i < left.size(); ++i) b.left[i] = left[i];
  for (size_t i = 0; i < right.size(); ++i) b.right[i] = right[i];
  return b;
}

TEST_F(DrawingFactor, SectionFrame) {
  CrossSectionDesigner d;
  g_DrawingFactor = 5.0;
  ASSERT_EQ(d.AllocateSections(1), 1);
  SectionRecord& r = d.sections[0];
  r.sheetX = 100;
  r.sheetY = 200;
  r.minElevation = 95;
  r.groundElevation = 100;
  r.groundBlocks.push_back(Block({{0, 0}, {20, -2}}, {{0, 0}, {30, 4}}));
  d.ComputeSectionFrame(0);
  EXPECT_DOUBLE_EQ(r.frameLeft, 100 - 100 - 20);
  EXPECT_DOUBLE_EQ(r.frameRight, 100 + 150 + 20);
  EXPECT_DOUBLE_EQ(r.frameTop, 200 + (104 - 95) * 5 + 30);
  EXPECT_DOUBLE_EQ(r.frameBottom, 200 + (98 - 95) * 5 - 30);
  // A second pair of lines reaching further widens the double-line frame.
  r.groundBlocks.push_back(Block({{0, 0}, {25, -3}}, {{0, 0}, {10, 0}}));
  d.ComputeSectionFrameDouble(0);
  EXPECT_DOUBLE_EQ(r.frameLeft, 100 - 125 - 20);
  EXPECT_DOUBLE_EQ(r.frameBottom, 200 + (97 - 95) * 5 - 30);
  d.ComputeSectionFrame(5);  // no such section: nothing happens
}

TEST_F(DrawingFactor, LayoutInColumns) {
  CrossSectionDesigner d;
  g_DrawingFactor = 5.0;
  d.sheetOrigin = AcGePoint3d(0, 0, 0);
  ASSERT_EQ(d.AllocateSections(4), 1);
  for (SectionRecord& r : d.sections) {
    r.groundElevation = 100;
    r.groundBlocks.push_back(Block({{0, 0}, {20, 10}}, {{0, 0}, {30, 0}}));
    for (auto& side : r.roadbedTop)
      for (PairXY& p : side) p.y = 105;
    r.pointCount[0] = 6;
  }
  d.sections[3].leftCode = kBridgeInside;  // a bridge: a small gap and no width
  d.LayoutSections();
  // Each section is 10 m high (50 units) and 20 + 30 m wide (250 units); the
  // column runs from 55 to 55 + 265. Sections stack 16 × 5 apart.
  EXPECT_DOUBLE_EQ(d.sections[0].sheetX, 30 + 100);
  EXPECT_DOUBLE_EQ(d.sections[0].sheetY, 55);
  EXPECT_DOUBLE_EQ(d.sections[0].minElevation, 100);
  EXPECT_DOUBLE_EQ(d.sections[0].maxElevation, 110);
  EXPECT_DOUBLE_EQ(d.sections[1].sheetX, 130);
  EXPECT_DOUBLE_EQ(d.sections[1].sheetY, 55 + 50 + 80);
  // The third no longer fits: a new column beyond the widest plus the gap.
  EXPECT_DOUBLE_EQ(d.sections[2].sheetX, 30 + 250 + 40 + 100);
  EXPECT_DOUBLE_EQ(d.sections[2].sheetY, 55);
  EXPECT_DOUBLE_EQ(d.sections[3].sheetX, 320);
  EXPECT_DOUBLE_EQ(d.sections[3].sheetY, 55 + 50 + 80);
}

}  // namespace
