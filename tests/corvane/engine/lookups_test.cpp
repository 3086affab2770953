// The standards that apply to a section at its mileage: each table's rows
// end at end mileages 1000 and 2000 (the first row from the start of the
// line); a mileage at or within 0.001 of an end takes that row, beyond the
// last end the last row.

#include <gtest/gtest.h>

#include <vector>

#include "CrossSectionDesigner.h"

namespace {

// The row that each test mileage takes, for tables ending at 1000 and 2000.
struct RowCase {
  double ML;
  int row;
};
const RowCase kRowCases[] = {
    {0, 0},   {999.9995, 0},   {1000, 0}, {1000.0009, 0},  // within 0.001 after the end
    {1000.0011, 1}, {1500, 1}, {2000, 1}, {2500, 1},       // past the last end: the last row
};

TEST(StandardLookupsTest, OneValueTables) {
  std::vector<StandardValueEntry> rows(2);
  rows[0].endMileage = 1000;
  rows[0].value = 60.0;
  rows[1].endMileage = 2000;
  rows[1].value = 45.0;
  const double values[] = {60.0, 45.0};
  for (const RowCase& c : kRowCases) {
    EXPECT_EQ(LookupByEndChainage(c.ML, 2, rows.data()), values[c.row]) << c.ML;
    EXPECT_EQ(CrossSectionDesigner::GetShoulderWidth(c.ML, 2, rows.data()), values[c.row]) << c.ML;
  }
  EXPECT_EQ(LookupByEndChainage(500, 0, rows.data()), 0.0);
  EXPECT_EQ(CrossSectionDesigner::GetShoulderWidth(500, 0, nullptr), 0.0);
}

TEST(StandardLookupsTest, LandWidening) {
  std::vector<LandWideningEntry> rows(2);
  rows[0] = {{}, 1000, 1.0, 1.5};
  rows[1] = {{}, 2000, 2.0, 2.5};
  for (const RowCase& c : kRowCases) {
    double fill = -1, cut = -1;
    EXPECT_EQ(CrossSectionDesigner::GetLandWidening(c.ML, 2, rows.data(), fill, cut), c.row) << c.ML;
    EXPECT_EQ(fill, c.row == 0 ? 1.0 : 2.0) << c.ML;
    EXPECT_EQ(cut, c.row == 0 ? 1.5 : 2.5) << c.ML;
  }
  double fill = -1, cut = -1;
  EXPECT_EQ(CrossSectionDesigner::GetLandWidening(500, 0, nullptr, fill, cut), -1);
  EXPECT_EQ(fill, 0.0);
  EXPECT_EQ(cut, 0.0);
}

TEST(StandardLookupsTest, DrainageDitchValuesInTheirOutputOrder) {
  // Table positions 6 to 12: d0 2.0, cross slope 4 %, bottom width 0.4,
  // depth 0.6, wall ratios 1.0 and 1.5, lining 0.3.
  std::vector<DrainageDitchEntry> rows(2);
  rows[0] = {{}, 1000, 1, 2.0, 4.0, 0.4, 0.6, 1.0, 1.5, 0.3};
  rows[1] = {{}, 2000, 0, 3.0, 2.0, 0.5, 0.8, 1.25, 1.75, 0.2};
  struct Expected {
    int type;
    double d0, slope, depth, width, inner, outer, lining;
  } expected[] = {{1, 2.0, 0.04, 0.6, 0.4, 1.0, 1.5, 0.3}, {0, 3.0, 0.02, 0.8, 0.5, 1.25, 1.75, 0.2}};
  for (const RowCase& c : kRowCases) {
    int type = -1;
    double d0, slope, depth, width, inner, outer, lining;
    EXPECT_EQ(CrossSectionDesigner::GetDrainageDitch(c.ML, 2, rows.data(), type, d0, slope, depth, width, inner,
                                                      outer, lining),
              c.row);
    const Expected& e = expected[c.row];
    EXPECT_EQ(type, e.type) << c.ML;
    EXPECT_EQ(d0, e.d0) << c.ML;
    EXPECT_DOUBLE_EQ(slope, e.slope) << c.ML;
    EXPECT_EQ(depth, e.depth) << c.ML;
    EXPECT_EQ(width, e.width) << c.ML;
    EXPECT_EQ(inner, e.inner) << c.ML;
    EXPECT_EQ(outer, e.outer) << c.ML;
    EXPECT_EQ(lining, e.lining) << c.ML;
  }
}

TEST(StandardLookupsTest, SideDitchAndItsWidth) {
  std::vector<SideDitchEntry> rows(2);
  rows[0] = {{}, 1000, 0.4, 1.0, 0.6, 0.6, 0.3};  // width (0.6 + 0.6)·1.0 + 0.4 = 1.6
  rows[1] = {{}, 2000, 0.5, 0.8, 1.0, 1.5, 0.2};  // width (1.5 + 1.0)·0.8 + 0.5 = 2.5
  const double widths[] = {1.6, 2.5};
  for (const RowCase& c : kRowCases) {
    double width, a, b, cc, dd, e;
    EXPECT_EQ(CrossSectionDesigner::GetSideDitch(c.ML, 2, rows.data(), width, a, b, cc, dd, e), c.row) << c.ML;
    EXPECT_DOUBLE_EQ(width, widths[c.row]) << c.ML;
    EXPECT_EQ(a, rows[c.row].bottomWidth);
    EXPECT_EQ(b, rows[c.row].depth);
    EXPECT_EQ(cc, rows[c.row].innerRatio);
    EXPECT_EQ(dd, rows[c.row].outerRatio);
    EXPECT_EQ(e, rows[c.row].liningThickness);
  }
  double width = -1, a, b, cc, dd, e;
  EXPECT_EQ(CrossSectionDesigner::GetSideDitch(500, 0, rows.data(), width, a, b, cc, dd, e), -1);
  EXPECT_EQ(width, 0.0);
}

TEST(StandardLookupsTest, SlopeGradesOfTheRow) {
  std::vector<SlopeGradesEntry> rows(3);
  rows[0].endMileage = 1000;
  rows[0].gradeCount = 3;
  rows[0].grades[0] = {1.5, 8.0, 1.0, 4.0};
  rows[0].grades[1] = {1.75, 10.0, 2.0, 0.0};
  rows[0].grades[2] = {2.0, 100.0, 0.0, 0.0};
  rows[1].endMileage = 2000;
  rows[1].gradeCount = 1;
  rows[1].grades[0] = {1.25, 6.0, 0.5, 2.0};
  rows[2].endMileage = 3000;
  rows[2].gradeCount = 0;

  double m[kMaxSlopeGrades], h[kMaxSlopeGrades], w[kMaxSlopeGrades], s[kMaxSlopeGrades];
  ASSERT_EQ(CrossSectionDesigner::GetSlopeGrades(1000, 3, rows.data(), m, h, w, s), 3);
  const double expected[3][4] = {{1.5, 8.0, 1.0, 4.0}, {1.75, 10.0, 2.0, 0.0}, {2.0, 100.0, 0.0, 0.0}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(m[k], expected[k][0]);
    EXPECT_EQ(h[k], expected[k][1]);
    EXPECT_EQ(w[k], expected[k][2]);
    EXPECT_EQ(s[k], expected[k][3]);
  }
  ASSERT_EQ(CrossSectionDesigner::GetSlopeGrades(1500, 3, rows.data(), m, h, w, s), 1);
  EXPECT_EQ(m[0], 1.25);
  EXPECT_EQ(m[1], 1.75);  // beyond the count: as the earlier row left it

  // A row without grades leaves the arrays as they were.
  for (int k = 0; k < kMaxSlopeGrades; ++k) m[k] = h[k] = w[k] = s[k] = -7.0;
  EXPECT_EQ(CrossSectionDesigner::GetSlopeGrades(2500, 3, rows.data(), m, h, w, s), 0);
  EXPECT_EQ(CrossSectionDesigner::GetSlopeGrades(500, 0, rows.data(), m, h, w, s), 0);
  for (int k = 0; k < kMaxSlopeGrades; ++k) EXPECT_EQ(m[k] + h[k] + w[k] + s[k], -28.0) << k;

  // A count beyond the row's room is read as the room.
  rows[2].gradeCount = 45;
  EXPECT_EQ(CrossSectionDesigner::GetSlopeGrades(2500, 3, rows.data(), m, h, w, s), kMaxSlopeGrades);
}

TEST(StandardLookupsTest, TopDitchInterpolatedOverItsRange) {
  std::vector<TopDitchEntry> rows(2);
  rows[0].startMileage = 1000;
  rows[0].endMileage = 2000;
  rows[0].atStart = {2.0, 0.4, 0.6};
  rows[0].atEnd = {4.0, 0.8, 1.0};
  rows[0].innerRatio = 1.0;
  rows[0].outerRatio = 1.5;
  rows[0].liningThickness = 0.3;
  rows[1].startMileage = 2500;  // a range of no length
  rows[1].endMileage = 2500;
  rows[1].atStart = {3.0, 0.5, 0.7};
  rows[1].atEnd = {9.0, 9.0, 9.0};
  struct Case {
    double ML;
    int found;
    double offset, width, depth, inner;
  } cases[] = {
      {1000, 1, 2.0, 0.4, 0.6, 1.0},
      {1500, 1, 3.0, 0.6, 0.8, 1.0},
      {1750, 1, 3.5, 0.7, 0.9, 1.0},
      {2000, 1, 4.0, 0.8, 1.0, 1.0},
      {999.9995, 1, 1.999999, 0.3999998, 0.5999998, 1.0},  // just before the start
      {2500.0005, 1, 3.0, 0.5, 0.7, 0.0},                 // start values of a point range
      {999.998, 0, 0, 0, 0, 0},
      {2200, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    double offset = -1, width = -1, depth = -1, inner = -1, outer = -1, lining = -1;
    EXPECT_EQ(CrossSectionDesigner::GetTopDitch(c.ML, 2, rows.data(), offset, width, depth, inner, outer, lining),
              c.found)
        << c.ML;
    EXPECT_NEAR(offset, c.offset, 1e-9) << c.ML;
    EXPECT_NEAR(width, c.width, 1e-9) << c.ML;
    EXPECT_NEAR(depth, c.depth, 1e-9) << c.ML;
    EXPECT_EQ(inner, c.inner) << c.ML;
    if (c.found == 0) {
      EXPECT_EQ(outer, 0.0);
      EXPECT_EQ(lining, 0.0);
    }
  }
}

TEST(StandardLookupsTest, ImprovedFillThickness) {
  CrossSectionDesigner d;
  ImprovedFillEntry* rows = d.improvedFill.Replace(2);
  rows[0].startMileage = 1000;
  rows[0].endMileage = 1500;
  rows[0].value = 0.5;
  rows[1].startMileage = 1500;
  rows[1].endMileage = 1800;
  rows[1].value = 0.8;
  struct Case {
    double ML, thickness;
  } cases[] = {{999.9995, 0.5}, {1200, 0.5}, {1500, 0.5}, {1500.0005, 0.5}, {1600, 0.8}, {1800.002, 0}, {900, 0}};
  for (const Case& c : cases) EXPECT_EQ(d.ImprovedFillThicknessAt(c.ML), c.thickness) << c.ML;
  CrossSectionDesigner empty;
  EXPECT_EQ(empty.ImprovedFillThicknessAt(1200), 0.0);
}

TEST(StandardLookupsTest, StandardsOfASide) {
  CrossSectionDesigner d;
  EXPECT_EQ(&d.Standards(-1), &d.leftStandards);
  EXPECT_EQ(&d.Standards(-2), &d.leftStandards);
  EXPECT_EQ(&d.Standards(1), &d.rightStandards);
  EXPECT_EQ(&d.Standards(2), &d.rightStandards);
}

}  // namespace
