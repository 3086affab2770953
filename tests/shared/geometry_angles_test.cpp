// Directions, angle differences, sides, packed degrees and polar points.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct DirectionCase {
  double x1, y1, x2, y2;
  double distance, bearing;
};

TEST(GeometryAngles, DistanceAndDirectionCoversEveryQuadrant) {
  const DirectionCase cases[] = {
      {0, 0, 0, 5, 5.0, kPi / 2},           // due east
      {0, 0, -1, 0, 1.0, kPi},              // due south
      {0, 0, 3, 0, 3.0, 0.0},               // due north
      {0, 0, 0, -2, 2.0, 1.5 * kPi},        // due west
      {0, 0, 0, 0, 0.0, kPi / 2},           // one point: dy = 0 counts as east
      {1, 1, 4, 5, 5.0, std::atan(4.0 / 3.0)},
      {1, 1, -2, 5, 5.0, kPi - std::atan(4.0 / 3.0)},
      {1, 1, -2, -3, 5.0, kPi + std::atan(4.0 / 3.0)},
      {1, 1, 4, -3, 5.0, 2 * kPi - std::atan(4.0 / 3.0)},
      {0, 0, 5e-10, -1, 1.0, 1.5 * kPi},  // |dx| below 1e-9 is vertical
  };
  for (const auto& c : cases) {
    double bearing = -1;
    EXPECT_NEAR(DistanceAndDirection(c.x1, c.y1, c.x2, c.y2, bearing), c.distance, 1e-12);
    EXPECT_NEAR(bearing, c.bearing, 1e-12) << c.x2 << "," << c.y2;
  }
}

TEST(GeometryAngles, AngleDifferenceFoldsIntoHalfTurns) {
  const struct {
    double a, b, expected;
  } cases[] = {
      {0.5, 0.2, 0.3},
      {0.1, 2 * kPi - 0.1, 0.2},   // across north
      {2 * kPi - 0.1, 0.1, -0.2},
      {kPi, 0.0, kPi},             // exactly a half turn stays
      {3.5, 0.0, 3.5 - 2 * kPi},
  };
  for (const auto& c : cases) EXPECT_NEAR(AngleDifference(c.a, c.b), c.expected, 1e-12);
}

TEST(GeometryAngles, SideOfLineAndNormalizeAngle) {
  // Line north along x; east (+y) is one side, west the other.
  EXPECT_GT(SideOfLine(0, 0, 10, 0, 5, -3), 0.0);
  EXPECT_LT(SideOfLine(0, 0, 10, 0, 5, 3), 0.0);
  EXPECT_DOUBLE_EQ(SideOfLine(0, 0, 10, 0, 5, 0), 0.0);
  EXPECT_DOUBLE_EQ(SideOfLine(1, 2, 4, 6, 7, 3), (7 - 1) * (6 - 2) - (4 - 1) * (3 - 2));

  const struct {
    double in, out;
  } cases[] = {{-0.5, 2 * kPi - 0.5}, {2 * kPi + 0.5, 0.5}, {1.0, 1.0}, {2 * kPi, 2 * kPi}, {-7.0, -7.0 + 2 * kPi}};
  for (const auto& c : cases) {
    double a = c.in;
    BAS_DRAW_FUN::NormalizeAngle(a);
    EXPECT_NEAR(a, c.out, 1e-12) << c.in;
  }
}

TEST(GeometryAngles, PackedDegreesConvertBothWays) {
  const struct {
    double dms, degrees;
  } cases[] = {
      {30.3, 30.5},
      {12.3015, 12.0 + 30.0 / 60 + 15.0 / 3600},
      {12.29, 12.0 + 29.0 / 60},
      {0.0001, 1.0 / 3600},
      {359.5959, 359.0 + 59.0 / 60 + 59.0 / 3600},
      {-30.3, -30.5},
      {-12.3015, -(12.0 + 30.0 / 60 + 15.0 / 3600)},
      {-0.0300, -0.05},
      {0.0030, 30.0 / 3600},
      {32.24, 32.4},  // 32°24'
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(DmsToDegrees(c.dms), c.degrees, 1e-11) << c.dms;
    EXPECT_NEAR(DegreesToDms(c.degrees), c.dms, 1e-11) << c.degrees;
    EXPECT_NEAR(DmsToRadians(c.dms), c.degrees * kPi / 180, 1e-12) << c.dms;
    EXPECT_NEAR(RadiansToDms(c.degrees * kPi / 180), c.dms, 1e-10) << c.degrees;
  }
}

TEST(GeometryAngles, PackedDegreesCarryMinutesAndSeconds) {
  // Packed values whose seconds or minutes reach 60 read as the next unit.
  EXPECT_NEAR(DmsToDegrees(30.5960), 31.0, 1e-11);
  EXPECT_NEAR(DmsToDegrees(30.6000), 31.0, 1e-11);
  // Degrees a hair below a whole minute or degree are written with the
  // carry, never as 59.99999" or 60'.
  EXPECT_NEAR(DegreesToDms(10.0 + 10.0 / 60 - 1e-13), 10.10, 1e-11);
  EXPECT_NEAR(DegreesToDms(1.0 / 6.0), 0.10, 1e-11);
  EXPECT_NEAR(DegreesToDms(45.0 - 1e-13), 45.0, 1e-11);
  EXPECT_NEAR(DegreesToDms(-(45.0 - 1e-13)), -45.0, 1e-11);
  // Real seconds close to 60 still count as seconds.
  EXPECT_NEAR(DegreesToDms(10.0 + 59.0 / 60 + 59.5 / 3600), 10.59595, 1e-10);
}

TEST(GeometryAngles, PolarPointAndDrawingAngles) {
  // Drawing X carries east, Y north: bearing 0 moves +Y, bearing π/2 moves +X.
  const ads_point p = {10.0, 20.0, 7.0};
  ads_point q;
  BAS_DRAW_FUN::PolarPoint(p, 5.0, 0.0, q);
  EXPECT_NEAR(q[0], 10.0, 1e-12);
  EXPECT_NEAR(q[1], 25.0, 1e-12);
  EXPECT_EQ(q[2], 0.0);
  BAS_DRAW_FUN::PolarPoint(p, 2.0, kPi / 6, q);
  EXPECT_NEAR(q[0], 11.0, 1e-12);
  EXPECT_NEAR(q[1], 20.0 + std::sqrt(3.0), 1e-12);

  struct Point3 {
    double x, y, z;
  };
  Point3 out{};
  BAS_DRAW_FUN::PolarPoint(Point3{0, 0, 1}, 3.0, kPi / 2, out);
  EXPECT_NEAR(out.x, 3.0, 1e-12);
  EXPECT_NEAR(out.y, 0.0, 1e-12);

  const struct {
    double dx, dy, angle, bearing;
  } cases[] = {
      {1, 0, 0.0, kPi / 2},             // drawing east
      {0, 1, kPi / 2, 2 * kPi},         // drawing north: the bearing stays at 2π
      {-1, 0, kPi, 1.5 * kPi},          // west
      {0, -1, 1.5 * kPi, kPi},          // south
      {1, -1, 1.75 * kPi, 0.75 * kPi},  // south-east
      {1, 1, 0.25 * kPi, 0.25 * kPi},   // north-east
  };
  for (const auto& c : cases) {
    const ads_point a = {2.0, 3.0, 0.0};
    const ads_point b = {2.0 + c.dx, 3.0 + c.dy, 5.0};
    EXPECT_NEAR(acutAngle(a, b), c.angle, 1e-12);
    EXPECT_NEAR(AcutAngleOfPoints(a, b), c.angle, 1e-12);
    EXPECT_NEAR(BearingOfPoints(a, b), c.bearing, 1e-12);
    EXPECT_NEAR(BearingOfPoints(Point3{2, 3, 0}, Point3{2 + c.dx, 3 + c.dy, 0}), c.bearing, 1e-12);
  }
  const ads_point same = {1.0, 1.0, 0.0};
  EXPECT_EQ(acutAngle(same, same), 0.0);
  // A tiny negative dy must not give 2π.
  const ads_point origin = {0.0, 0.0, 0.0};
  const ads_point below = {1.0, -1e-17, 0.0};
  EXPECT_LT(acutAngle(origin, below), 2 * kPi);
}

}  // namespace
