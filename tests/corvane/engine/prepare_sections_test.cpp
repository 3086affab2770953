// Section preparation: the reset of the records, emptying design lines, the
// roadbed top templates of single-line and double-line sections, the ground
// profiles seen from a line, and the plan boundary points of the sections.
//
// Hand values throughout use the shoulder distances Wa = 3.5 (cuttings and
// low fills) and Wb = 3.8 (embankments), a surface layer t = 0.3 (so a
// shoulder takes Wa while its fill height stays below t + 0.2 = 0.5), a
// centre ground elevation of 0 and, unless a case says otherwise, flat ground.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "corvane/data/alignment_support.h"

namespace {

using Points = std::vector<std::pair<double, double>>;

std::vector<PairXY> Pairs(const Points& points) {
  std::vector<PairXY> out;
  for (const auto& [x, y] : points) out.push_back(PairXY{x, y});
  return out;
}

Points ToPoints(const std::vector<PairXY>& pairs) {
  Points out;
  for (const PairXY& p : pairs) out.emplace_back(p.x, p.y);
  return out;
}

class RoadbedTopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d.halfDistance1 = 3.5;
    d.halfDistance2 = 3.8;
    d.surfaceLayer.Replace(1);
    d.surfaceLayer.rows[0].endMileage = 1e9;
    d.surfaceLayer.rows[0].value = 0.3;
  }
  CrossSectionDesigner d;
};

TEST(InitSectionRecordsTest, EveryRecordIsResetWithOneEmptyGroundBlock) {
  CrossSectionDesigner d;
  d.bridgeLandTakeMargin = 3.0;
  ASSERT_EQ(d.AllocateSections(2), 1);
  SectionRecord& s = d.sections[1];
  std::snprintf(s.label, sizeof s.label, "DK1+000");
  s.kind = 2;
  s.mileage = 5.0;
  s.ditchKind[2] = 1;
  s.areas.cut = 7.0;
  s.groundBlocks.resize(3);
  s.designLines[0].append(AcGePoint3d(1, 2, 0));
  d.InitSectionRecords();
  EXPECT_DOUBLE_EQ(d.bridgeLandTakeMargin, 8.0);
  for (const SectionRecord& r : d.sections) {
    EXPECT_STREQ(r.label, "");
    EXPECT_EQ(r.kind, 1);
    EXPECT_DOUBLE_EQ(r.mileage, 0.0);
    EXPECT_DOUBLE_EQ(r.areas.cut, 0.0);
    for (int k = 0; k < kSectionSides; ++k) {
      EXPECT_EQ(r.ditchKind[k], -1);
      EXPECT_TRUE(r.designLines[k].isEmpty());
    }
    ASSERT_EQ(r.GroundBlockCount(), 1);
    EXPECT_EQ(r.groundBlocks[0].leftCount, 0);
    EXPECT_EQ(r.groundBlocks[0].rightCount, 0);
  }
}

TEST(ClearSideLinesTest, TheChosenDesignLinesAndEveryDitchListAreEmptied) {
  struct Case {
    int side;
    std::vector<bool> emptied;  // design lines by side index
  };
  for (const Case& c : {Case{0, {true, true, true, true}}, Case{-2, {false, false, true, false}},
                        Case{1, {false, true, false, false}}, Case{5, {false, false, false, false}}}) {
    SCOPED_TRACE(c.side);
    CrossSectionDesigner d;
    ASSERT_EQ(d.AllocateSections(1), 1);
    SectionRecord& s = d.sections[0];
    for (int k = 0; k < kSectionSides; ++k) {
      s.designLines[k].append(AcGePoint3d(k, 1, 0));
      s.pointCount[k] = 1;
      s.ditchKind[k] = 2;
      s.drainageDitchCount[k] = 3;
      s.topDitchCount[k] = 4;
      s.drainageDitch[k][2] = PairXY{1, 1};
      s.topDitch[k][3] = PairXY{2, 2};
    }
    d.ClearSideLines(c.side, 0);
    d.ClearSideLines(0, 1);  // no such section: nothing happens
    const bool valid = c.side == 0 || SideIndex(c.side) >= 0;
    for (int k = 0; k < kSectionSides; ++k) {
      EXPECT_EQ(s.designLines[k].isEmpty(), c.emptied[static_cast<size_t>(k)]) << k;
      EXPECT_EQ(s.pointCount[k], c.emptied[static_cast<size_t>(k)] ? 0 : 1) << k;
      EXPECT_EQ(s.ditchKind[k], valid ? -1 : 2) << k;
      EXPECT_EQ(s.drainageDitchCount[k], valid ? 0 : 3) << k;
      EXPECT_EQ(s.topDitchCount[k], valid ? 0 : 4) << k;
      EXPECT_DOUBLE_EQ(s.topDitch[k][3].x, valid ? 0.0 : 2.0) << k;
    }
  }
}

// ---- Roadbed tops ----------------------------------------------------------------

struct SingleCase {
  const char* name;
  double leftOffset, rightOffset, widening;
  Points left, right;  // ground
  double leftElevation, rightElevation;
  // Expected: crown offset, left and right half widths, flags, fill heights.
  double crown, leftHalf, rightHalf, leftFlag, rightFlag, leftFill, rightFill;
};

TEST_F(RoadbedTopTest, SingleLineShouldersAndCrown) {
  const Points flat = {{0, 0}, {50, 0}};
  const std::vector<SingleCase> cases = {
      // Low fill: both shoulders at Wa, the crown on the centre line.
      {"low fill", 0, 0, 0, flat, flat, 0.4, 0.4, 0.0, 3.5, 3.5, 1, 1, 0.4, 0.4},
      {"cutting", 0, 0, 0, flat, flat, -2, -2, 0.0, 3.5, 3.5, 1, 1, -2, -2},
      // A fill equal to t + 0.2 takes Wb on the left; the right tests 0.6.
      {"left fill at t + 0.2", 0, 0, 0, flat, flat, 0.5, 0.5, -0.15, 3.65, 3.65, 0, 1, 0.5, 0.5},
      {"fill at 0.6", 0, 0, 0, flat, flat, 0.6, 0.6, 0.0, 3.8, 3.8, 0, 0, 0.6, 0.6},
      // A widening lies on the left when negative, on the right when positive.
      {"widening left", 0, 0, -0.3, flat, flat, 0.4, 0.4, -0.15, 3.65, 3.65, 1, 1, 0.4, 0.4},
      {"widening right", 0, 0, 0.3, flat, flat, 0.4, 0.4, 0.15, 3.65, 3.65, 1, 1, 0.4, 0.4},
      // Different elevations: the 4 % falls of both halves meet at the crown.
      {"cross fall", 0, 0, 0, flat, flat, 0.45, 0.4, -0.625, 2.875, 4.125, 1, 1, 0.45, 0.4},
      {"line offsets", -5, 5, 0, flat, flat, 0.4, 0.4, 0.0, 8.5, 8.5, 1, 1, 0.4, 0.4},
      // Ground ending before the test point: fill height -10000, Wa.
      {"short ground", 0, 0, 0, {{0, 0}, {2, 0}}, flat, 0.4, 0.4, 0.0, 3.5, 3.5, 1, 1, -10000, 0.4},
      // Sloping ground: the height at the test point 3.5 interpolated.
      {"sloping ground", 0, 0, 0, {{0, 0}, {10, -1}}, {{0, 0}, {10, 1}}, 0.2, 0.2, -0.15, 3.65, 3.65, 0, 1, 0.55,
       -0.15},
  };
  for (const SingleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<PairXY> left = Pairs(c.left), right = Pairs(c.right);
    double crown = 99, leftFlag = 9, rightFlag = 9, leftFill = 9, rightFill = 9;
    PairXY leftTop[4], rightTop[4];
    d.SingleLineRoadbedTop(100.0, 0.0, c.leftOffset, c.rightOffset, c.widening, static_cast<int>(left.size()),
                           left.data(), static_cast<int>(right.size()), right.data(), c.leftElevation,
                           c.rightElevation, crown, leftTop, rightTop, leftFlag, rightFlag, leftFill, rightFill);
    EXPECT_NEAR(crown, c.crown, 1e-9);
    EXPECT_EQ(leftFlag, c.leftFlag);
    EXPECT_EQ(rightFlag, c.rightFlag);
    EXPECT_NEAR(leftFill, c.leftFill, 1e-9);
    EXPECT_NEAR(rightFill, c.rightFill, 1e-9);
    EXPECT_NEAR(leftTop[0].x, 0.0, 1e-12);
    EXPECT_NEAR(leftTop[0].y, c.leftElevation + 0.04 * c.leftHalf, 1e-9);
    EXPECT_NEAR(rightTop[0].y, c.rightElevation + 0.04 * c.rightHalf, 1e-9);
    for (int i = 1; i < 4; ++i) {
      EXPECT_NEAR(leftTop[i].x, c.leftHalf, 1e-9);
      EXPECT_NEAR(leftTop[i].y, c.leftElevation, 1e-12);
      EXPECT_NEAR(rightTop[i].x, c.rightHalf, 1e-9);
      EXPECT_NEAR(rightTop[i].y, c.rightElevation, 1e-12);
    }
  }
}

TEST_F(RoadbedTopTest, DoubleLineShouldersOfBothLines) {
  struct Case {
    const char* name;
    double leftWidening, rightWidening, leftElevation, rightElevation;
    double leftHalf, rightHalf;
    double flags[4];
    double fills[2];
  };
  const std::vector<Case> cases = {
      {"low fills", 0, 0, 0.4, 0.4, 3.5, 3.5, {1, 1, 1, 1}, {0.4, 0.4}},
      // The left line on an embankment: both its shoulders at Wb.
      {"left line on an embankment", 0, 0, 0.8, 0.4, 3.8, 3.5, {0, 0, 1, 1}, {0.8, 0.4}},
      // Widenings move the outer (negative on the left line) and outer
      // (positive on the right line) shoulders: (2.5 + 3.8 + 0.3 + 1.3) / 2
      // and (2.5 + 3.5 + 0.2 + 1.0) / 2.
      {"widenings", -0.3, 0.2, 0.8, 0.4, 3.95, 3.6, {0, 0, 1, 1}, {0.8, 0.4}},
  };
  const std::vector<PairXY> flat = Pairs({{0, 0}, {50, 0}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    double leftLine = 0, rightLine = 0, flags[4] = {9, 9, 9, 9}, fills[2] = {9, 9};
    PairXY tops[kSectionSides][4];
    d.DoubleLineRoadbedTop(100.0, 0.0, -2.5, 2.5, c.leftWidening, c.rightWidening, 2, flat.data(), 2, flat.data(),
                           c.leftElevation, c.rightElevation, leftLine, rightLine, tops, flags, fills);
    EXPECT_DOUBLE_EQ(leftLine, -2.5);
    EXPECT_DOUBLE_EQ(rightLine, 2.5);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(flags[k], c.flags[k]) << k;
    EXPECT_NEAR(fills[0], c.fills[0], 1e-9);
    EXPECT_NEAR(fills[1], c.fills[1], 1e-9);
    for (int side = 0; side < 4; ++side) {
      const double half = side < 2 ? c.leftHalf : c.rightHalf;
      const double elevation = side < 2 ? c.leftElevation : c.rightElevation;
      EXPECT_NEAR(tops[side][0].y, elevation + 0.04 * half, 1e-9) << side;
      for (int i = 1; i < 4; ++i) EXPECT_NEAR(tops[side][i].x, half, 1e-9) << side;
    }
  }
}

TEST(GroundProfileTest, ProfilesSeenFromALine) {
  const std::vector<PairXY> left = Pairs({{0, 0}, {4, -0.4}, {10, -1}});
  const std::vector<PairXY> right = Pairs({{0, 0}, {5, 0.5}, {12, 2}});
  struct Case {
    double offset;
    double reference;
    Points left, right;
  };
  const std::vector<Case> cases = {
      {0, 100, {{0, 0}, {4, -0.4}, {10, -1}}, {{0, 0}, {5, 0.5}, {12, 2}}},
      {5, 100.5, {{0, 0}, {5, -0.5}, {9, -0.9}, {15, -1.5}}, {{0, 0}, {7, 1.5}}},
      {-2, 99.8, {{0, 0}, {2, -0.2}, {8, -0.8}}, {{0, 0}, {2, 0.2}, {7, 0.7}, {14, 2.2}}},
      // Beyond the right end the ground there is taken.
      {20, 102, {{0, 0}, {8, 0}, {15, -1.5}, {20, -2}, {24, -2.4}, {30, -3}}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    double reference = 0;
    std::vector<PairXY> leftProfile, rightProfile;
    CrossSectionDesigner::GroundProfileFrom(c.offset, 100.0, 3, left.data(), 3, right.data(), reference, leftProfile,
                                            rightProfile);
    EXPECT_NEAR(reference, c.reference, 1e-9);
    const Points l = ToPoints(leftProfile), r = ToPoints(rightProfile);
    ASSERT_EQ(l.size(), c.left.size());
    ASSERT_EQ(r.size(), c.right.size());
    for (size_t i = 0; i < l.size(); ++i) {
      EXPECT_NEAR(l[i].first, c.left[i].first, 1e-9);
      EXPECT_NEAR(l[i].second, c.left[i].second, 1e-9);
    }
    for (size_t i = 0; i < r.size(); ++i) {
      EXPECT_NEAR(r[i].first, c.right[i].first, 1e-9);
      EXPECT_NEAR(r[i].second, c.right[i].second, 1e-9);
    }
  }
}

// ---- Plan boundary points --------------------------------------------------------------
//
// A baseline 1000 m due north from (0, 0): the point at mileage m is (m, 0)
// (x north, y east), left is -y, right is +y. Every section's crown lies 0.5
// right of the baseline; design lines run from the crown outwards, the
// shoulder at point 3.

class PlanBoundaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* model = new AlignmentModel;
    IpRecord ips[2] = {{0, 0, 0, 0, 0, 0}, {1, 1000, 0, 0, 0, 0}};
    ASSERT_EQ(model->CreateFromRecords(2, ips, "DK", "JD"), 1);
    d.SetBaselineModel(model);
  }

  // Side -1 (x negated) or +1 / +2 ending at (lastX, lastY), shoulder (±3.5, 0.5).
  static void Line(SectionRecord& s, int sideIndex, double lastX, double lastY) {
    const double sign = sideIndex == 0 || sideIndex == 2 ? -1 : 1;
    for (const auto& [x, y] : Points{{0, 0.6}, {3.5, 0.5}, {3.5, 0.5}, {3.5, 0.5}})
      s.designLines[sideIndex].append(AcGePoint3d(sign * x, y, 0));
    s.designLines[sideIndex].append(AcGePoint3d(lastX, lastY, 0));
    s.pointCount[sideIndex] = 5;
  }

  SectionRecord& Add(double ML, int leftCode, double leftForm, double rightForm, double leftFill, double rightFill) {
    SectionRecord s;
    s.mileage = ML;
    s.leftCode = leftCode;
    s.crownOffset[0] = 0.5;
    s.referenceElevation[0] = 50.0;
    s.formCode[0] = leftForm;
    s.formCode[1] = rightForm;
    s.shoulderFillHeight[0] = leftFill;
    s.shoulderFillHeight[1] = rightFill;
    d.sections.push_back(s);
    return d.sections.back();
  }

  alignment_test::ProjectEnvironment project;
  CrossSectionDesigner d;
};

void ExpectPoint(const PlanPoint& p, double x, double y, double z) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
  EXPECT_NEAR(p.z, z, 1e-9);
}

TEST_F(PlanBoundaryTest, OneRecordPerSectionAndOneWhereASideTurnsFromFillToCut) {
  // 100: fill on both sides. 200: the left side in cut, the right still in fill.
  Line(Add(100, 0, 0.0, 0.0, 1.0, 2.0), 0, -8, -1);
  Line(d.sections.back(), 1, 9, -2);
  Line(Add(200, 0, 1.0, 0.0, -3.0, 1.5), 0, -7, 2);
  Line(d.sections.back(), 1, 9, -2);
  // 300: a tunnel portal. 400: a bridge end whose left outer point lies above the shoulder.
  Line(Add(300, kTunnelStart, 1.0, 0.0, 0, 0), 0, -8, -1);
  Line(d.sections.back(), 1, 9, -2);
  Line(Add(400, kBridgeEnd, 0.0, 0.0, 0, 0), 0, -8, 1);
  Line(d.sections.back(), 1, 9, -2);
  // 500: a double-line section, its right track's outer side at the bridge end of the right line.
  SectionRecord& twin = Add(500, 0, 0.0, 0.0, 0, 0);
  twin.kind = 2;
  twin.rightCode = kBridgeEnd;
  twin.crownOffset[1] = 5.0;
  twin.referenceElevation[1] = 60.0;
  Line(twin, 0, -8, -1);
  Line(twin, 3, 7, 1.5);
  // 600: no design lines.
  Add(600, 0, 0.0, 0.0, 0, 0);

  d.BuildPointRecord();
  ASSERT_EQ(d.planBoundary.size(), 7u);
  const auto& b = d.planBoundary;
  EXPECT_DOUBLE_EQ(b[0].mileage, 100);
  ExpectPoint(b[0].left, 100, 0.5 - 8, 49);
  ExpectPoint(b[0].right, 100, 0.5 + 9, 48);
  // The left shoulder fill height goes from 1.0 to -3.0: zero a quarter of
  // the way, at 125; the point is 3/4 of the first shoulder and 1/4 of the
  // second, both at (m, -3.0, 50.5).
  EXPECT_DOUBLE_EQ(b[1].mileage, 125);
  ExpectPoint(b[1].left, 125, -3.0, 50.5);
  ExpectPoint(b[1].right, 0, 0, 0);
  EXPECT_DOUBLE_EQ(b[2].mileage, 200);
  ExpectPoint(b[2].left, 200, 0.5 - 7, 52);
  // The portal: 0.1 inside both ends, 8 m above the left shoulder.
  EXPECT_EQ(b[3].leftCode, kTunnelStart);
  ExpectPoint(b[3].left, 300, 0.5 - 7.9, 58.5);
  ExpectPoint(b[3].right, 300, 0.5 + 8.9, 58.5);
  // The bridge end lowers an outer point above the shoulder to it.
  ExpectPoint(b[4].left, 400, 0.5 - 8, 50.5);
  ExpectPoint(b[4].right, 400, 0.5 + 9, 48);
  // The double line: the right side from the second track's crown, 5 right.
  EXPECT_EQ(b[5].rightCode, kBridgeEnd);
  ExpectPoint(b[5].left, 500, 0.5 - 8, 49);
  ExpectPoint(b[5].right, 500, 5 + 7, 60.5);
  ExpectPoint(b[6].left, 0, 0, 0);
  ExpectPoint(b[6].right, 0, 0, 0);
}

TEST_F(PlanBoundaryTest, ARightSideTurningFromCutToFillAfterATunnelPortal) {
  // The portal's shoulder points are those that the next section compares with.
  Line(Add(100, kTunnelEnd, 0.0, 1.0, 0, -1.0), 0, -8, -1);
  Line(d.sections.back(), 1, 9, -2);
  Line(Add(300, 0, 0.0, 0.0, 0, 3.0), 0, -8, -1);
  Line(d.sections.back(), 1, 9, -2);
  d.BuildPointRecord();
  ASSERT_EQ(d.planBoundary.size(), 3u);
  // From -1.0 at 100 to 3.0 at 300: zero at 150; the right shoulders lie at
  // (m, 4.0, 50.5).
  EXPECT_DOUBLE_EQ(d.planBoundary[1].mileage, 150);
  ExpectPoint(d.planBoundary[1].left, 0, 0, 0);
  ExpectPoint(d.planBoundary[1].right, 150, 4.0, 50.5);
}

TEST_F(PlanBoundaryTest, EverySectionMayAddTwoRecordsBesidesItsOwn) {
  // Both sides change between fill and cut at every section: 3 records a
  // section after the first, more than twice the number of sections.
  const int n = 12;
  for (int i = 0; i < n; ++i) {
    const double form = i % 2 ? 1.0 : 0.0;
    const double fill = i % 2 ? -1.0 : 1.0;
    Line(Add(100.0 + 10 * i, 0, form, form, fill, fill), 0, -8, -1);
    Line(d.sections.back(), 1, 9, -2);
  }
  d.BuildPointRecord();
  ASSERT_EQ(d.planBoundary.size(), static_cast<size_t>(n + 2 * (n - 1)));
  // Halfway between sections 0 and 1, left record then right record.
  EXPECT_DOUBLE_EQ(d.planBoundary[1].mileage, 105.0);
  ExpectPoint(d.planBoundary[1].left, 105.0, -3.0, 50.5);
  ExpectPoint(d.planBoundary[2].right, 105.0, 4.0, 50.5);
  EXPECT_DOUBLE_EQ(d.planBoundary[3].mileage, 110.0);
  EXPECT_DOUBLE_EQ(d.planBoundary.back().mileage, 210.0);
}

TEST_F(PlanBoundaryTest, NothingWithoutSections) {
  d.planBoundary.push_back(PlanBoundaryRecord{});
  d.BuildPointRecord();
  EXPECT_EQ(d.planBoundary.size(), 1u);
}

}  // namespace
