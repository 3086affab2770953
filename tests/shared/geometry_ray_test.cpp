// Crossings of a ray's line with an element list, the side of and spacing to
// another line, and segment crossings.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/geometry_reference.h"

namespace {

using georef::kPi;

// A straight due north from (x, 0) on y = east, `length` long, from `mileage`.
georef::Line NorthStraight(double east, double length, double north = 0.0, double mileage = 0.0) {
  return georef::place(north, east, 0.0, 0.0, mileage, {{1, length, 0, 0, 0}});
}

// The point where the line through (x, y) along `bearing` meets the
// reference line between two mileages (bisection on the side of the line).
LinePoint ReferenceCrossing(const georef::Line& line, double from, double to, double x, double y, double bearing) {
  auto cross = [&](double m) {
    const LinePoint p = line.at(m);
    return std::cos(bearing) * (p.y - y) - std::sin(bearing) * (p.x - x);
  };
  const bool rising = cross(from) < 0;
  for (int i = 0; i < 200; ++i) {
    const double mid = (from + to) / 2;
    if ((cross(mid) < 0) == rising) {
      from = mid;
    } else {
      to = mid;
    }
  }
  return line.at((from + to) / 2);
}

TEST(GeometryRay, CrossingsOfAStraight) {
  // Other line: due north on y = 5 from x = -100, mileage 0 at its start.
  const georef::Line other = NorthStraight(5.0, 2000.0, -100.0);
  const struct {
    const char* name;
    double x, y, bearing;
    double hitX, hitY, mileage;
  } cases[] = {
      {"normal ahead", 300, 0, kPi / 2, 300, 5, 400},
      {"normal behind", 300, 10, kPi / 2, 300, 5, 400},
      {"turned away", 300, 0, 1.5 * kPi, 300, 5, 400},
      {"oblique", 300, 0, kPi / 4, 305, 5, 405},
      {"oblique behind", 300, 0, 1.25 * kPi, 305, 5, 405},
      {"at the start", -110, 5 - 10, kPi / 4, -100, 5, 0},
  };
  for (const auto& c : cases) {
    double hx = 0, hy = 0;
    EXPECT_NEAR(BAS_DRAW_FUN::NormalRayIntersection(other.records.data(), other.n, c.x, c.y, c.bearing, hx, hy),
                c.mileage, 1e-9)
        << c.name;
    EXPECT_NEAR(hx, c.hitX, 1e-9) << c.name;
    EXPECT_NEAR(hy, c.hitY, 1e-9) << c.name;
  }
  // A ray parallel to the line, and one that meets its line beyond its end,
  // cross nothing: -1 and the hit is the point itself.
  for (const auto& miss : {std::vector<double>{300, 0, 0.0}, std::vector<double>{3000, 0, kPi / 2}}) {
    double hx = 0, hy = 0;
    EXPECT_EQ(BAS_DRAW_FUN::NormalRayIntersection(other.records.data(), other.n, miss[0], miss[1], miss[2], hx, hy),
              -1.0);
    EXPECT_EQ(hx, miss[0]);
    EXPECT_EQ(hy, miss[1]);
  }
}

TEST(GeometryRay, CrossingsOfArcsAndClothoids) {
  // Arc R = 1005 round (0, 1000), then a leaving clothoid and a straight.
  const georef::Line other = georef::place(0, -5, 0.0, 0.0, 0,
                                           {{2, 1005, 600, 0, 1}, {4, 300, 1005, 0, 1}, {1, 100, 0, 0, 0}});
  // Normals of the concentric arc R = 1000 meet the other arc 5 m outwards.
  for (double angle : {0.1, 0.3, 0.55}) {
    const double x = 1000 * std::sin(angle), y = 1000 - 1000 * std::cos(angle);
    double hx, hy;
    const double m =
        BAS_DRAW_FUN::NormalRayIntersection(other.records.data(), other.n, x, y, angle + kPi / 2, hx, hy);
    EXPECT_NEAR(m, 1005 * angle, 5e-4) << angle;
    EXPECT_NEAR(hx, 1005 * std::sin(angle), 5e-4) << angle;
    EXPECT_NEAR(hy, 1000 - 1005 * std::cos(angle), 5e-4) << angle;
  }
  // Across the leaving clothoid (600 .. 689.55) the trial points meet within
  // 0.0004 m of the crossing.
  const LinePoint on = other.at(640.0);
  const double x = on.x + 12 * std::cos(on.bearing + 0.4), y = on.y + 12 * std::sin(on.bearing + 0.4);
  const double bearing = on.bearing + 0.4 + kPi / 2;
  const LinePoint expected = ReferenceCrossing(other, 600.0, 689.0, x, y, bearing);
  double hx, hy;
  EXPECT_NEAR(BAS_DRAW_FUN::NormalRayIntersection(other.records.data(), other.n, x, y, bearing, hx, hy),
              expected.mileage, 5e-4);
  EXPECT_NEAR(hx, expected.x, 5e-4);
  EXPECT_NEAR(hy, expected.y, 5e-4);
}

TEST(GeometryRay, TheNearestOfSeveralCrossingsWins) {
  // North 100 m, a half circle of R = 50 round (100, 50), south 100 m: the
  // line x = 50 crosses both straights.
  const georef::Line hairpin =
      georef::place(0, 0, 0.0, 0.0, 0, {{1, 100, 0, 0, 0}, {2, 50, 50 * kPi, 0, 1}, {1, 100, 0, 0, 0}});
  double hx, hy;
  EXPECT_NEAR(BAS_DRAW_FUN::NormalRayIntersection(hairpin.records.data(), hairpin.n, 50, 30, kPi / 2, hx, hy), 50.0,
              1e-9);
  EXPECT_NEAR(hy, 0.0, 1e-9);
  EXPECT_NEAR(BAS_DRAW_FUN::NormalRayIntersection(hairpin.records.data(), hairpin.n, 50, 80, kPi / 2, hx, hy),
              150.0 + 50 * kPi, 1e-9);
  EXPECT_NEAR(hx, 50.0, 1e-9);
  EXPECT_NEAR(hy, 100.0, 1e-9);
}

TEST(GeometryRay, StepsAlongAWindingClothoidAreCapped) {
  // A clothoid turning 340²/2A² = 5.78 rad: the line through (28, 16) along
  // 61° crosses it three times, near 19, 255 and 323 m, with its ends on
  // opposite sides. The trial points settle on different crossings and never
  // meet; the walk gives up and reports no crossing.
  const georef::Line spiral = georef::place(0, 0, 0.0, 0.0, 0, {{3, 100, 10000.0 / 340, 0, 1}});
  double hx = 0, hy = 0;
  EXPECT_EQ(BAS_DRAW_FUN::NormalRayIntersection(spiral.records.data(), spiral.n, 28, 16, georef::radians(61), hx,
                                                hy),
            -1.0);
  EXPECT_EQ(hx, 28);
  EXPECT_EQ(hy, 16);
}

TEST(GeometryRay, SideOfAndSpacingToAnotherLine) {
  const BAS_DRAW_FUN base;
  const georef::Line here = NorthStraight(0.0, 1000.0);
  const georef::Line east = NorthStraight(5.0, 2000.0, -100.0);
  const georef::Line west = NorthStraight(-7.5, 2000.0, -100.0, 50.0);

  EXPECT_EQ(base.SideOfOtherLine(LinePoint{300, 0, 0, kInfiniteRadius, 300}, east.records.data(), east.n), 1);
  EXPECT_EQ(base.SideOfOtherLine(LinePoint{300, 0, 0, kInfiniteRadius, 300}, west.records.data(), west.n), -1);
  EXPECT_EQ(base.SideOfOtherLine(LinePoint{300, 5.0005, 0, kInfiniteRadius, 0}, east.records.data(), east.n), 0);
  // Facing south the sides swap.
  EXPECT_EQ(base.SideOfOtherLine(LinePoint{300, 0, kPi, kInfiniteRadius, 0}, east.records.data(), east.n), -1);

  const struct {
    const georef::Line* other;
    double mileage;
    int result;
    double spacing, otherMileage, otherX, otherY;
  } cases[] = {
      {&east, 300, 1, 5.0, 400, 300, 5},
      {&west, 300, 1, -7.5, 450, 300, -7.5},
      {&here, 300, 1, 0.0, 300, 300, 0},  // on the other line itself
  };
  for (const auto& c : cases) {
    double spacing = -1, otherMileage = -1;
    LinePoint otherPoint{};
    EXPECT_EQ(base.SpacingToOtherLine(c.mileage, here.records.data(), here.n, c.other->records.data(), c.other->n,
                                      spacing, otherMileage, otherPoint),
              c.result);
    EXPECT_NEAR(spacing, c.spacing, 1e-9);
    EXPECT_NEAR(otherMileage, c.otherMileage, 1e-9);
    EXPECT_NEAR(otherPoint.x, c.otherX, 1e-9);
    EXPECT_NEAR(otherPoint.y, c.otherY, 1e-9);
  }

  // Concentric arcs 5 m apart: the normal towards the centre meets the outer
  // arc behind the point, so the spacing is -5.
  const georef::Line inner = georef::place(0, 0, 0.0, 0.0, 0, {{2, 1000, 500, 0, 1}});
  const georef::Line outer = georef::place(0, -5, 0.0, 0.0, 0, {{2, 1005, 600, 0, 1}});
  double spacing, otherMileage;
  LinePoint otherPoint{};
  EXPECT_EQ(base.SpacingToOtherLine(400, inner.records.data(), inner.n, outer.records.data(), outer.n, spacing,
                                    otherMileage, otherPoint),
            1);
  EXPECT_NEAR(spacing, -5.0, 5e-4);
  EXPECT_NEAR(otherMileage, 402.0, 5e-4);
  EXPECT_NEAR(otherPoint.bearing, 0.4, 1e-6);

  // A short other line that the normal misses, and a mileage off this line.
  const georef::Line shortEast = NorthStraight(5.0, 100.0, 1000.0);
  otherPoint = LinePoint{};
  EXPECT_EQ(base.SpacingToOtherLine(300, here.records.data(), here.n, shortEast.records.data(), shortEast.n, spacing,
                                    otherMileage, otherPoint),
            0);
  EXPECT_EQ(spacing, 0.0);
  EXPECT_NEAR(otherPoint.x, 300, 1e-9);
  EXPECT_NEAR(otherPoint.y, 0, 1e-9);
  EXPECT_EQ(base.SpacingToOtherLine(5000, here.records.data(), here.n, east.records.data(), east.n, spacing,
                                    otherMileage, otherPoint),
            0);
  EXPECT_EQ(spacing, 0.0);
}

TEST(GeometryRay, SegmentCrossings) {
  const struct {
    const char* name;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    int result;
    double X, Y;
  } cases[] = {
      {"crossing", 0, 0, 2, 2, 0, 2, 2, 0, 0, 1, 1},
      {"touching ends", 0, 0, 1, 1, 1, 1, 2, 0, 0, 1, 1},
      {"T at an end", 0, 0, 4, 0, 4, -1, 4, 3, 0, 4, 0},
      {"within the allowance", 0, 0, 1, 0, 1.000005, -1, 1.000005, 1, 0, 1.000005, 0},
      {"beyond the allowance", 0, 0, 1, 0, 1.00002, -1, 1.00002, 1, 1, 1.00002, 0},
      {"lines cross outside", 0, 0, 1, 1, 3, 0, 3, 5, 1, 3, 3},
      {"parallel", 0, 0, 1, 1, 0, 1, 1, 2, -1, 99, 99},
      {"collinear overlap", 0, 0, 2, 0, 1, 0, 3, 0, -1, 99, 99},
  };
  for (const auto& c : cases) {
    double X = 99, Y = 99;
    EXPECT_EQ(BAS_DRAW_FUN::IntersectSegments(X, Y, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4), c.result)
        << c.name;
    EXPECT_NEAR(X, c.X, 1e-9) << c.name;
    EXPECT_NEAR(Y, c.Y, 1e-9) << c.name;
  }
}

}  // namespace
