// Where a mileage lies on a line's curves, and the curve widening there: by
// the scheme's 曲线加宽 rows, or by the step table of the technical
// parameters when the scheme has none.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "CrossSectionDesigner.h"
#include "fixtures/project_fixture.h"
#include "project/TechParams.h"

namespace {

// A line with one curve between its start and end records: entry transition
// 100-150, circular part 150-250, exit transition 250-300.
struct CurveLine {
  CurveLine(double turn) {
    curves[0] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    curves[1] = {100, 150, 250, 300, 0, 0, 0, 200, turn};
    curves[2] = {500, 500, 500, 500, 0, 0, 0, 0, 0};
    ips[1].R = 800;
    ips[1].L1 = 50;
    ips[1].L2 = 50;
  }
  CurveRecord curves[3];
  IpRecord ips[3];
};

void SetWidenings(CrossSectionDesigner& d, std::initializer_list<WideningRow> rows) {
  WideningRow* w = XLDataBase::AllocRows(d.xlDataBase.widenings, d.xlDataBase.wideningCount,
                                         static_cast<int>(rows.size()));
  std::copy(rows.begin(), rows.end(), w);
}

TEST(CurvePositionTest, PartsOfTheCurve) {
  const CurveLine line(1.0);
  struct Case {
    double ML;
    int position, index;
    double fraction, side;
  } cases[] = {
      {-5, -1, 0, 0, 0},       // the start record
      {50, 0, 1, 0, 1},        // before the curve
      {100.005, 0, 1, 0, 1},   // within 0.01 of its start
      {125, 1, 1, 0.5, 1},     // entry transition, half way
      {150.005, 1, 1, 1.0001, 1},  // within 0.01 past the circular part's start
      {200, 2, 1, 1.0, 1},
      {275, 3, 1, 0.5, 1},     // exit transition, half way from its end
      {300.05, 3, 1, -0.001, 1},  // within 0.1 past its end
      {400, -1, 2, 0, 0},      // the end record
      {900, -1, -1, 0, 0},     // beyond every record
  };
  for (const Case& c : cases) {
    int index = -7;
    double fraction = -7, side = -7;
    EXPECT_EQ(CrossSectionDesigner::GetCurvePosition(c.ML, 3, line.curves, index, fraction, side), c.position) << c.ML;
    EXPECT_EQ(index, c.index) << c.ML;
    EXPECT_NEAR(fraction, c.fraction, 1e-9) << c.ML;
    EXPECT_EQ(side, c.side) << c.ML;
  }
  // Transitions not longer than 0.001 give the fraction 1.0.
  CurveLine plain(-1.0);
  plain.curves[1] = {100, 100.0005, 300, 300.0005, 0, 0, 0, 200, -1.0};
  int index;
  double fraction, side;
  EXPECT_EQ(CrossSectionDesigner::GetCurvePosition(100.0102, 3, plain.curves, index, fraction, side), 1);
  EXPECT_EQ(fraction, 1.0);
  EXPECT_EQ(CrossSectionDesigner::GetCurvePosition(300.05, 3, plain.curves, index, fraction, side), 3);
  EXPECT_EQ(fraction, 1.0);
  EXPECT_EQ(side, -1.0);
  EXPECT_EQ(CrossSectionDesigner::GetCurvePosition(50, 0, plain.curves, index, fraction, side), -1);
}

TEST(CurveWideningTest, AlongTheCurveFromTheWideningRows) {
  CrossSectionDesigner d;
  SetWidenings(d, {{300, 600, 0.2}, {600.0001, 1000, 0.1}});
  struct Case {
    double turn, ML, widening;
  } cases[] = {
      {1, 50, 0},        // before the curve
      {1, 125, -0.05},   // -(w·v·25/50)
      {1, 150, -0.1},
      {1, 200, -0.1},    // circular part: -(w·v)
      {1, 250, -0.1},
      {1, 275, -0.05},   // -(w·(300 - 275)/50·v)
      {1, 300, 0},
      {1, 300.2, 0},     // at or beyond the end + 0.1
      {-1, 200, 0.1},    // a curve of the other hand widens the other way
      {-1, 125, 0.05},
  };
  for (const Case& c : cases) {
    const CurveLine line(c.turn);
    EXPECT_NEAR(d.CurveWideningAt(c.ML, 1, line.ips, line.curves), c.widening, 1e-12) << c.turn << " " << c.ML;
  }
  // No transitions in the record: the whole widening at once.
  CurveLine bare(1.0);
  bare.ips[1].L1 = 0;
  bare.ips[1].L2 = 0.01;
  EXPECT_NEAR(d.CurveWideningAt(125, 1, bare.ips, bare.curves), -0.1, 1e-12);
  EXPECT_NEAR(d.CurveWideningAt(275, 1, bare.ips, bare.curves), -0.1, 1e-12);
  // A radius no row takes has no widening.
  bare.ips[1].R = 1500;
  EXPECT_EQ(d.CurveWideningAt(200, 1, bare.ips, bare.curves), 0.0);
}

TEST(CurveWideningTest, ByRadius) {
  CrossSectionDesigner d;
  SetWidenings(d, {{300, 600, 0.2}, {600, 1000, 0.1}});
  struct Case {
    double R, widening;
  } cases[] = {{299.99, 0}, {300, 0.2}, {600, 0.2}, {800, 0.1}, {1000, 0.1}, {1000.5, 0}};
  for (const Case& c : cases) EXPECT_EQ(d.WideningByRadius(c.R), c.widening) << c.R;

  // Without rows the step table of the technical parameters: keys 600,
  // 1200; values 0.15, 0.1, 0 (the value of the first key above R).
  fixtures::TechParamsData data;
  data.stepKeyCount = 2;
  data.stepKeys[0] = 600;
  data.stepKeys[1] = 1200;
  data.stepValues[0] = 0.15f;
  data.stepValues[1] = 0.1f;
  data.stepValues[2] = 0.0f;
  const std::vector<unsigned char> bytes = fixtures::techParamsBytes(data);
  std::memcpy(g_TechBlockB, bytes.data() + kTechHeaderSize + kTechBlockASize, kTechBlockBSize);
  CrossSectionDesigner plain;
  struct StepCase {
    double R, widening;
  } steps[] = {{500, 0.15f}, {600, 0.1f}, {800, 0.1f}, {1200, 0}, {5000, 0}};
  for (const StepCase& c : steps) EXPECT_EQ(plain.WideningByRadius(c.R), c.widening) << c.R;
  CurveLine line(1.0);
  line.ips[1].R = 500;
  EXPECT_NEAR(plain.CurveWideningAt(200, 1, line.ips, line.curves), -static_cast<double>(0.15f), 1e-12);
  line.ips[1].R = 5000;  // a step value of 0: no widening
  EXPECT_EQ(plain.CurveWideningAt(200, 1, line.ips, line.curves), 0.0);
  std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
}

}  // namespace
