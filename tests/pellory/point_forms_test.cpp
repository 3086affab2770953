// The conversion of entered ground points to the design tables' form, per
// reference and elevation type, and back. Centre elevation 100; entered
// points (2, a), (3, b), (5, c) with the hand results.
#include <gtest/gtest.h>

#include <vector>

#include "PointForms.h"

namespace {

TEST(PointForms, EachModeConvertsOnce) {
  struct Case {
    const char* mode;
    int reference, elevationType;
    std::vector<EarthPoint> entered, table;
  };
  const Case cases[] = {
      {"相对中桩 高差: as entered", kFromCentre, kHeightDifference,
       {{2, 0.5}, {5, -0.25}, {10, 1.0}}, {{2, 0.5}, {5, -0.25}, {10, 1.0}}},
      {"相对前点 高差: both cumulated", kFromPrevious, kHeightDifference,
       {{2, 0.5}, {3, -0.75}, {5, 1.25}}, {{2, 0.5}, {5, -0.25}, {10, 1.0}}},
      {"相对中桩 高程: minus the centre", kFromCentre, kElevation,
       {{2, 100.5}, {5, 99.75}, {10, 101.0}}, {{2, 0.5}, {5, -0.25}, {10, 1.0}}},
      {"相对前点 高程: distances cumulated, heights minus the centre", kFromPrevious, kElevation,
       {{2, 100.5}, {3, 99.75}, {5, 101.0}}, {{2, 0.5}, {5, -0.25}, {10, 1.0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    std::vector<EarthPoint> points = c.entered;
    ToTableForm(points.data(), 3, 100.0, c.reference, c.elevationType);
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(points[k].distance, c.table[k].distance, 1e-12) << k;
      EXPECT_NEAR(points[k].height, c.table[k].height, 1e-12) << k;
    }
    ToEnteredForm(points.data(), 3, 100.0, c.reference, c.elevationType);
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(points[k].distance, c.entered[k].distance, 1e-12) << k;
      EXPECT_NEAR(points[k].height, c.entered[k].height, 1e-12) << k;
    }
  }
}

TEST(PointForms, ARecordConvertsBothSidesWithItsOwnElevation) {
  earthline r;
  r.elevation = 50.0;
  r.leftCount = 1;
  r.left[0] = {2.0, 51.0};
  r.rightCount = 2;
  r.right[0] = {1.0, 49.5};
  r.right[1] = {4.0, 48.0};
  r.right[2] = {7.0, 7.0};  // beyond the count: untouched
  RecordToTableForm(r, kFromPrevious, kElevation);
  EXPECT_DOUBLE_EQ(r.left[0].height, 1.0);
  EXPECT_DOUBLE_EQ(r.right[0].height, -0.5);
  EXPECT_DOUBLE_EQ(r.right[1].distance, 5.0);
  EXPECT_DOUBLE_EQ(r.right[1].height, -2.0);
  EXPECT_DOUBLE_EQ(r.right[2].distance, 7.0);
}

}  // namespace
