// The roadbed type, widenings and spacing of the second line at a mileage of
// a double-line scheme.
//
// The baseline runs 3000 m north from (0, 0). A second line 5 m off it has
// one detour section between the baseline mileages 800 and 2200, with IPs at
// 1000, 1500 and 2000 of radius 1000 and no transitions: 5 m off at 1000,
// 45 m off at 1500. Its curves deflect by atan(40/500) = 4.574° at 1000 and
// 2 × 4.574° at 1500; a circle of radius R through a deflection α lies
// E = R(sec(α/2) − 1) inside its IP: 0.797 m at 1000 and 3.195 m at 1500, so
// the second line is 5.797 m off the baseline at 1000 and 41.805 m at 1500.
// The 曲线加宽 rows widen a radius of 1000 by 0.2; a curve turning right
// (bearing growing) has the side factor +1 and the signed widening −0.2 on its
// circular part, one turning left +0.2.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "corvane/data/alignment_support.h"

namespace {

using namespace alignment_test;

SideCurveRow Tied(int baselineIp, double spacing) {
  SideCurveRow row;
  row.kind = 0;
  row.baselineIp = baselineIp;
  row.spacing = spacing;
  return row;
}
SideCurveRow Own(double x, double y, double R) {
  SideCurveRow row;
  row.kind = 1;
  row.x = x;
  row.y = y;
  row.R = R;
  return row;
}
SideBreakRow DetourPoint(double chainage) {
  SideBreakRow row;
  row.number = 0;
  row.before = chainage;
  row.after = chainage;
  row.prefixBefore = "AK";
  row.prefixAfter = "AK";
  return row;
}

enum class Second { None, Parallel, Detour };

class LineOffsetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d.lineKind = "双线";
    d.halfDistance2 = 3.0;  // S0 = 2·3 + 0.4 = 6.4; outside detours 2·3 + 2.4 = 8.4
    WideningRow* w = XLDataBase::AllocRows(d.xlDataBase.widenings, d.xlDataBase.wideningCount, 2);
    w[0] = {500, 1500, 0.2};
    w[1] = {1500.001, 2500, 0.15};
    d.SetBaselineModel(new AlignmentModel());
    const std::vector<IpRecord> ips = {{0, 0, 0, 0, 0, 0}, {1, 3000, 0, 0, 0, 0}};
    ASSERT_EQ(d.baseline->CreateFromRecords(2, ips.data(), "AK", "JD"), 1);
  }

  // A second line on side `side` (-1 left, +1 right).
  SideLineModel* MakeLine(int side, Second kind) {
    if (kind == Second::None) return nullptr;
    const double s = side;
    std::vector<SideCurveRow> rows;
    if (kind == Second::Parallel)
      rows = {Tied(0, 5 * s), Tied(1, 5 * s)};
    else
      rows = {Tied(0, 5 * s), Own(1000, 5 * s, 1000), Own(1500, 45 * s, 1000), Own(2000, 5 * s, 1000), Tied(1, 5 * s)};
    auto* line = new SideLineModel();
    EXPECT_EQ(line->Create(d.baseline, static_cast<int>(rows.size()), rows.data(), 0, side < 0 ? "ZJD" : "YJD"), 1);
    if (kind == Second::Detour) {
      const std::vector<SideBreakRow> points = {DetourPoint(800), DetourPoint(2200)};
      EXPECT_EQ(line->SetDetourPoints(points.data(), 2), 1);
    }
    return line;
  }
  void SetLines(Second left, Second right) {
    d.SetLeftLine(MakeLine(-1, left));
    d.SetRightLine(MakeLine(1, right));
  }

  ProjectEnvironment project;
  CrossSectionDesigner d;
};

TEST_F(LineOffsetsTest, TheSecondLineOffsetsAndDetours) {
  struct Case {
    const char* name;
    Second left, right;
    double halfDistance2;
    double ML;
    int type;
    double widening, second, spacing;
  } cases[] = {
      // Outside the detours: by which lines lie off the baseline.
      {"right only, outside", Second::None, Second::Detour, 3, 500, 2, 0, 0, 8.4},
      {"left only, outside", Second::Detour, Second::None, 3, 500, 1, 0, 0, 8.4},
      {"both, outside", Second::Detour, Second::Detour, 3, 500, 3, 0, 0, 8.4},
      // Right line in its detour, left line absent: S = S0 + wR (vR > 0) or S0 + wB.
      {"right, joined", Second::None, Second::Detour, 3, 1000, 6, 0, 0, 6.2},
      {"right, separated", Second::None, Second::Detour, 3, 1500, 7, 0, 0.2, 6.4},
      // Left line in its detour, right line absent: S = S0 + wL (vL < 0) or S0 + wB.
      {"left, joined", Second::Detour, Second::None, 3, 1000, 4, 0, 0, 6.6},
      {"left, separated", Second::Detour, Second::None, 3, 1500, 5, -0.2, 0, 6.4},
      // Both off the baseline, the right one in a detour:
      // S = S0 + |wR| + |wL| (vR > 0, vL < 0) at 1000; S0 + wL at 1500.
      {"both, right detour, apart", Second::Detour, Second::Detour, 3, 1000, 10, 0.2, -0.2, 6.8},
      {"both, right detour, close", Second::Detour, Second::Detour, 6, 1000, 9, 0, 0, 12.8},
      {"both at the apex", Second::Detour, Second::Detour, 3, 1500, 10, -0.2, 0.2, 6.2},
      // Both off the baseline, only the left one in a detour: S = S0 + |wL| (vL < 0).
      {"left detour, right parallel, apart", Second::Detour, Second::Parallel, 3, 1000, 12, 0.2, 0, 6.6},
      {"left detour, right parallel, close", Second::Detour, Second::Parallel, 6, 1000, 11, 0, 0, 12.6},
  };
  for (const Case& c : cases) {
    SetLines(c.left, c.right);
    d.halfDistance2 = c.halfDistance2;
    int type = 1;
    double widening = -9, second = -9, spacing = -9;
    d.GetLineOffsetsAtChainage(c.ML, type, widening, second, spacing);
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_NEAR(widening, c.widening, 1e-9) << c.name;
    EXPECT_NEAR(second, c.second, 1e-9) << c.name;
    EXPECT_NEAR(spacing, c.spacing, 1e-9) << c.name;
  }
}

TEST_F(LineOffsetsTest, SingleLineAndMissingLines) {
  // A baseline curving right through 20° at (1000, 0) with R 2000: T =
  // 2000·tan 10° = 352.65, so its circular part holds 1000; 曲线加宽 0.15.
  const std::vector<IpRecord> ips = {
      {0, 0, 0, 0, 0, 0}, {1, 1000, 0, 0, 2000, 0}, {2, 1000 + 1000 * std::cos(Radians(20)), 1000 * std::sin(Radians(20)), 0, 0, 0}};
  ASSERT_EQ(d.baseline->CreateFromRecords(3, ips.data(), "AK", "JD"), 1);
  struct Case {
    const char* name;
    const char* lineKind;
    Second lines;
    int typeIn;
    double ML;
    int type;
    double widening, spacing;
  } cases[] = {
      {"single line on the curve", "单线", Second::None, 3, 1000, 0, -0.15, 0},
      {"single line before the curve", "单线", Second::None, 3, 100, 0, 0, 0},
      {"type 0 given", "双线", Second::None, 0, 1000, 0, -0.15, 0},
      {"no second line", "双线", Second::None, 5, 1000, 5, 0, 8.4},
  };
  for (const Case& c : cases) {
    d.lineKind = c.lineKind;
    SetLines(c.lines, c.lines);
    int type = c.typeIn;
    double widening = -9, second = -9, spacing = -9;
    d.GetLineOffsetsAtChainage(c.ML, type, widening, second, spacing);
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_NEAR(widening, c.widening, 1e-9) << c.name;
    EXPECT_EQ(second, 0.0) << c.name;
    EXPECT_NEAR(spacing, c.spacing, 1e-9) << c.name;
  }
}

TEST_F(LineOffsetsTest, LinesOnTheBaselineKeepTheType) {
  // Second lines without spacing lie on the baseline: the type stays.
  auto* left = new SideLineModel();
  const std::vector<SideCurveRow> rows = {Tied(0, 0), Tied(1, 0)};
  ASSERT_EQ(left->Create(d.baseline, 2, rows.data(), 0, "ZJD"), 1);
  d.SetLeftLine(left);
  int type = 7;
  double widening = -9, second = -9, spacing = -9;
  d.GetLineOffsetsAtChainage(1200, type, widening, second, spacing);
  EXPECT_EQ(type, 7);
  EXPECT_EQ(widening, 0.0);
  EXPECT_EQ(spacing, 8.4);
}

}  // namespace
