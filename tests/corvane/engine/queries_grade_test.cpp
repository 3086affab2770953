// The profile of a designer: the grade table, the design elevation of the
// fill/cut tables with vertical curves and rounding, the grade-line elevation
// with tangent-length parabolas, and the track-structure height.
//
// The profile used throughout: grade-change points at 1000 (100.0 m),
// 1500 (110.0 m) and 2200 (96.0 m): +20 ‰, then -20 ‰. At 1500 a crest curve
// of radius 10000 (tangent length T = R·|Δg|/2 = 200, so from 1300 to 1700),
// whose ordinate below the grade lines is x²/2R at x from its tangent points.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "win/transcript.h"

namespace {

class GradeQueriesTest : public ::testing::Test {
 protected:
  void UseProfile(double radiusAt1500) {
    const std::vector<GradePoint> points = {{1000, 100.0, 0, 0}, {1500, 110.0, radiusAt1500, 0}, {2200, 96.0, 0, 0}};
    d.SetGradePoints(3, points.data(), "坡度表");
    ASSERT_EQ(d.BuildGradeTable(), 4);
  }
  struct Design {
    double result, ground, design, fill, grade, spare1, spare2, correction, copy;
  };
  Design At(double ML, double ground) {
    Design r{};
    r.ground = ground;
    r.spare1 = r.spare2 = 9.0;
    r.result = d.DesignElevationAt(ML, r.ground, r.design, r.fill, r.grade, r.spare1, r.spare2, r.correction, r.copy);
    return r;
  }
  CrossSectionDesigner d;
};

TEST_F(GradeQueriesTest, GradeTableRowsFromThePoints) {
  UseProfile(10000);
  const GradeTableRow* t = d.gradeTable.rows;
  struct Row {
    double mileage, elevation, grade, length, radius;
  } expected[] = {
      {1000, 100, 0, 0, 0},
      {1500, 110, 0.02, 500, 10000},
      {2200, 96, -0.02, 700, 0},
      {0, 0, 0, 0, 0},  // the closing row
  };
  ASSERT_EQ(d.gradeTable.count, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(t[i].mileage, expected[i].mileage) << i;
    EXPECT_DOUBLE_EQ(t[i].elevation, expected[i].elevation) << i;
    EXPECT_DOUBLE_EQ(t[i].grade, expected[i].grade) << i;
    EXPECT_DOUBLE_EQ(t[i].length, expected[i].length) << i;
    EXPECT_DOUBLE_EQ(t[i].radius, expected[i].radius) << i;
  }
}

TEST_F(GradeQueriesTest, GradeTableRefusesPointsThatDoNotAdvance) {
  // The third point repeats the second's mileage, the fifth goes back.
  const std::vector<GradePoint> points = {
      {0, 50, 0, 0}, {100, 51, 0, 0}, {100, 60, 0, 0}, {300, 53, 0, 0}, {250, 40, 0, 0}, {400, 54, 0, 0}};
  d.SetGradePoints(6, points.data(), "坡度表");
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.BuildGradeTable(), 5);  // four points kept and the closing row
  EXPECT_TRUE(transcript.contains("第3个变坡点的里程100.000不大于前一变坡点的里程100.000"));
  EXPECT_TRUE(transcript.contains("第5个变坡点的里程250.000不大于前一变坡点的里程300.000"));
  const GradeTableRow* t = d.gradeTable.rows;
  EXPECT_DOUBLE_EQ(t[2].mileage, 300);
  EXPECT_DOUBLE_EQ(t[2].grade, (53.0 - 51.0) / 200.0);
  EXPECT_DOUBLE_EQ(t[3].grade, (54.0 - 53.0) / 100.0);
  for (int i = 0; i < d.gradeTable.count; ++i) EXPECT_TRUE(std::isfinite(t[i].grade)) << i;
}

TEST_F(GradeQueriesTest, NoPointsGiveNoTable) {
  UseProfile(0);
  d.gradePointCount = 0;
  EXPECT_EQ(d.BuildGradeTable(), 0);
  EXPECT_EQ(d.gradeTable.count, 0);
  EXPECT_EQ(d.gradeTable.rows, nullptr);
  EXPECT_EQ(d.GradeLineElevation(1200), -1.0);
  platform::TranscriptCapture transcript;
  double ground = 7, design, fill, grade, s1, s2, correction, copy;
  EXPECT_EQ(d.DesignElevationAt(1200, ground, design, fill, grade, s1, s2, correction, copy), 0.0);
  EXPECT_TRUE(transcript.contains("out of range"));
}

TEST_F(GradeQueriesTest, DesignElevationAlongACrestCurve) {
  UseProfile(10000);
  struct Case {
    double ML;
    double design;      // grade line + x²/2R, rounded to the centimetre
    double grade;       // per mille, one decimal
    double correction;  // rounded
  } cases[] = {
      {1000, 100.00, 20.0, 0},   // the first point: the first segment's grade
      {1200, 104.00, 20.0, 0},   // before the tangent point 1300
      {1300, 106.00, 20.0, 0},   // at the tangent point
      {1400, 107.50, 20.0, -0.5},  // 108 - 100²/20000
      {1500, 108.00, 20.0, -2.0},  // 110 - 200²/20000, the segment ending at the point
      {1600, 107.50, -20.0, -0.5},
      {1650, 106.88, -20.0, -0.13},  // 107 - 50²/20000 = 106.875 → 106.88
      {1700, 106.00, -20.0, 0},
      {2100, 98.00, -20.0, 0},
      {2200, 96.00, -20.0, 0},
      {2200.005, 96.00, 0.0, 0},  // beyond the last point, within 0.01: flat
      {999.9995, 100.00, 0.0, 0},  // before the first, within 0.001: flat
  };
  for (const Case& c : cases) {
    const Design r = At(c.ML, 100.0);
    EXPECT_DOUBLE_EQ(r.design, c.design) << c.ML;
    EXPECT_DOUBLE_EQ(r.result, c.design) << c.ML;
    EXPECT_DOUBLE_EQ(r.copy, c.design) << c.ML;
    EXPECT_DOUBLE_EQ(r.grade, c.grade) << c.ML;
    EXPECT_DOUBLE_EQ(r.correction, c.correction) << c.ML;
    EXPECT_EQ(r.spare1, 0.0);
    EXPECT_EQ(r.spare2, 0.0);
  }
}

TEST_F(GradeQueriesTest, FillHeightAndRoundingModes) {
  // A level profile at 12.3449 and one at 12.345.
  struct Case {
    double elevation;
    int mode;
    double design;
  } cases[] = {
      {12.3449, 2, 12.34}, {12.345, 2, 12.35},  {12.3449, 1, 12.3}, {12.35, 1, 12.4},
      {12.3449, 3, 12.345}, {12.3449, 0, 12.0}, {12.5, 9, 13.0},
  };
  for (const Case& c : cases) {
    const std::vector<GradePoint> points = {{0, c.elevation, 0, 0}, {100, c.elevation, 0, 0}};
    d.SetGradePoints(2, points.data(), "坡度表");
    d.BuildGradeTable();
    d.roundingMode = c.mode;
    const Design r = At(50, 0.0);
    EXPECT_DOUBLE_EQ(r.design, c.design) << c.elevation << " mode " << c.mode;
  }
  // Fill height = design - ground, each rounded on its own; a cut is negative.
  UseProfile(10000);
  d.roundingMode = 2;
  Design r = At(1200, 101.236);
  EXPECT_DOUBLE_EQ(r.ground, 101.24);
  EXPECT_DOUBLE_EQ(r.fill, 2.76);  // 104 - 101.236 = 2.764
  r = At(1200, 106.5);
  EXPECT_DOUBLE_EQ(r.fill, -2.5);
  // A falling grade is negative in per mille: -14/700 = -0.02 → -20.0.
  r = At(1800, 0);
  EXPECT_DOUBLE_EQ(r.grade, -20.0);
}

TEST_F(GradeQueriesTest, TrackStructureHeightIsTakenOffWhenAsked) {
  UseProfile(10000);
  TrackSegment* s = d.trackSegments.Replace(2);
  s[0].endMileage = 1250;
  s[0].heightMm = 500;
  s[1].endMileage = 3000;
  s[1].heightMm = 760;
  d.addTrackHeight = 1;
  EXPECT_DOUBLE_EQ(At(1200, 0).design, 104.0 - 0.5);
  EXPECT_DOUBLE_EQ(At(1400, 0).design, 107.5 - 0.76);
  d.addTrackHeight = 0;
  EXPECT_DOUBLE_EQ(At(1400, 0).design, 107.5);
}

TEST_F(GradeQueriesTest, OutsideTheProfileEveryOutputIsZero) {
  UseProfile(10000);
  struct Case {
    double ML;
    const char* message;
  } cases[] = {
      {999.998, "3 4 ML=1000.00 out of range(1000.000---2200.000)\n"},
      {2200.02, "3 4 ML=2200.02 out of range(1000.000---2200.000)\n"},
      {500, "3 4 ML=500.00 out of range(1000.000---2200.000)\n"},
  };
  for (const Case& c : cases) {
    platform::TranscriptCapture transcript;
    const Design r = At(c.ML, 55.5);
    EXPECT_EQ(transcript.text(), c.message);
    EXPECT_EQ(r.result, 0.0);
    EXPECT_EQ(r.design, 0.0);
    EXPECT_EQ(r.fill, 0.0);
    EXPECT_EQ(r.grade, 0.0);
    EXPECT_EQ(r.correction, 0.0);
    EXPECT_EQ(r.copy, 0.0);
    EXPECT_EQ(r.ground, 55.5);  // the caller's ground is kept
    EXPECT_EQ(d.GradeLineElevation(c.ML), -1.0);
  }
}

TEST_F(GradeQueriesTest, GradeLineElevationWithCurvesAndParabolas) {
  // The same crest as a radius (10000) and as a tangent length (-200): a
  // parabola of length 2T = 400 with y = s·g1 + s²(g2 - g1)/4T from 1300.
  // Both give the same line; only the grade line follows the parabola, the
  // fill/cut design elevation keeps the straight grades there.
  struct Case {
    double ML, elevation;
  } cases[] = {
      {1000, 100.0}, {1250, 105.0}, {1300, 106.0}, {1400, 107.5}, {1500, 108.0},
      {1550, 107.875},  // 106 + 250·0.02 - 250²·0.04/800
      {1600, 107.5},  {1700, 106.0}, {2000, 100.0}, {2200, 96.0},
  };
  for (double radius : {10000.0, -200.0}) {
    UseProfile(radius);
    for (const Case& c : cases) EXPECT_NEAR(d.GradeLineElevation(c.ML), c.elevation, 1e-9) << radius << " " << c.ML;
  }
  UseProfile(-200);
  EXPECT_DOUBLE_EQ(At(1400, 0).design, 108.0);
  EXPECT_DOUBLE_EQ(At(1400, 0).correction, 0.0);
  EXPECT_DOUBLE_EQ(At(1600, 0).design, 108.0);
  // No track height and no rounding in the grade line.
  d.addTrackHeight = 1;
  d.trackSegments.Replace(1)[0] = TrackSegment{{}, CString(), 5000, 800};
  EXPECT_NEAR(d.GradeLineElevation(1650), 106.875, 1e-9);
}

TEST_F(GradeQueriesTest, VerticalCurveCorrectionOfEachSegment) {
  UseProfile(10000);
  const GradeTableRow* t = d.gradeTable.rows;
  const int n = d.gradeTable.count;
  struct Case {
    int segment;
    double ML, correction;
  } cases[] = {
      {1, 1400, -0.5}, {1, 1250, 0.0}, {2, 1600, -0.5}, {2, 1800, 0.0},
      {0, 999.9, 0.0},  // before the first point there is no curve
      {3, 2200.005, 0.0},  // the closing row
  };
  for (const Case& c : cases)
    EXPECT_NEAR(CrossSectionDesigner::VerticalCurveCorrection(c.segment, c.ML, n, t), c.correction, 1e-12)
        << c.segment << " " << c.ML;
  // A sag: the sign follows the grade change.
  const std::vector<GradePoint> sag = {{0, 10, 0, 0}, {1000, 0, 5000, 0}, {2000, 10, 0, 0}};
  d.SetGradePoints(3, sag.data(), "坡度表");
  d.BuildGradeTable();
  // Δ = 2 %, T = 50: at 980, 30 m from the tangent point 950: +30²/10000.
  EXPECT_NEAR(CrossSectionDesigner::VerticalCurveCorrection(1, 980, 4, d.gradeTable.rows), 0.09, 1e-12);
}

TEST_F(GradeQueriesTest, TrackStructureHeightBySegment) {
  EXPECT_EQ(d.TrackStructureHeightAt(100), 0.0);
  TrackSegment* s = d.trackSegments.Replace(2);
  s[0].endMileage = 1000;
  s[0].heightMm = 500;
  s[1].endMileage = 2000;
  s[1].heightMm = 700;
  platform::TranscriptCapture transcript;
  struct Case {
    double ML, height;
  } cases[] = {{0, 500}, {999.99, 500}, {1000, 700}, {1999.99, 700}};
  for (const Case& c : cases) EXPECT_EQ(d.TrackStructureHeightAt(c.ML), c.height) << c.ML;
  EXPECT_EQ(transcript.text(), "");
  EXPECT_EQ(d.TrackStructureHeightAt(2000), 700.0);
  EXPECT_EQ(transcript.text(), "\n里程2000.000 大于轨道结构高度分段终点里程2000.000");
}

}  // namespace
