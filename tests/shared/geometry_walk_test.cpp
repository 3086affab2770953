// Points at a mileage and mileages of points on element lists.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/geometry_reference.h"
#include "win/transcript.h"

namespace {

using georef::kPi;

// A line with every element type: a straight, an entering clothoid, an arc, a
// leaving clothoid, a straight, a clothoid piece of falling radius, an arc, a
// clothoid piece of growing radius and a closing straight.
std::vector<LineElement> EveryElementType(double turn) {
  return {
      {1, 120, 0, 0, 0},              // 500 .. 620
      {3, 300, 600, 0, turn},         // 620 .. 770, A² / R = 150
      {2, 600, 200, 0, turn},         // 770 .. 970
      {4, 300, 600, 0, turn},         // 970 .. 1120
      {1, 80, 0, 0, 0},               // 1120 .. 1200
      {5, 400, 2000, 800, turn},      // 1200 .. 1320, radius 2000 -> 800
      {2, 800, 100, 0, turn},         // 1320 .. 1420
      {6, 400, 800, 2000, turn},      // 1420 .. 1540, radius 800 -> 2000
      {1, 150, 0, 0, 0},              // 1540 .. 1690
  };
}

struct Lines {
  georef::Line right = georef::place(1000, 2000, 30.15, georef::radians(30, 15), 500, EveryElementType(+1));
  georef::Line left = georef::place(-300, 50, 300.4530, georef::radians(300, 45, 30), 500, EveryElementType(-1));
};

const Lines& TestLines() {
  static const Lines lines;
  return lines;
}

// Element types by mileage on both test lines, as laid out above.
const struct {
  double mileage;
  int type;
} kStations[] = {
    {500.0, 1},  {560.0, 1},  {620.0, 1},  {620.5, 3},  {700.0, 3},  {770.0, 3},  {800.0, 2},  {969.99, 2},
    {1000.0, 4}, {1119.0, 4}, {1150.0, 1}, {1200.5, 5}, {1260.0, 5}, {1319.0, 5}, {1370.0, 2}, {1421.0, 6},
    {1480.0, 6}, {1539.0, 6}, {1600.0, 1}, {1690.0, 1},
};

TEST(GeometryWalk, PointAtMileageMatchesTheIntegratedLine) {
  const BAS_DRAW_FUN base;
  for (const georef::Line* line : {&TestLines().right, &TestLines().left}) {
    for (const auto& station : kStations) {
      const LinePoint expected = line->at(station.mileage);
      LinePoint point{};
      point.mileage = station.mileage;
      ASSERT_EQ(base.PointAtDistance(line->records.data(), line->n, point), station.type) << station.mileage;
      EXPECT_NEAR(point.x, expected.x, 1e-7) << station.mileage;
      EXPECT_NEAR(point.y, expected.y, 1e-7) << station.mileage;
      EXPECT_NEAR(AngleDifference(point.bearing, expected.bearing), 0.0, 1e-10) << station.mileage;
      if (expected.radius > 1e30) {
        EXPECT_EQ(point.radius, kInfiniteRadius) << station.mileage;
      } else {
        EXPECT_NEAR(point.radius, expected.radius, expected.radius * 1e-9) << station.mileage;
      }
      EXPECT_NEAR(point.mileage, station.mileage, 1e-9);
    }
  }
}

TEST(GeometryWalk, MileagesOffTheLineAndAtItsEnds) {
  const BAS_DRAW_FUN base;
  const georef::Line& line = TestLines().right;
  // The start of the first element is taken 1e-12 into it.
  LinePoint start{};
  start.mileage = 500.0;
  EXPECT_EQ(base.PointAtDistance(line.records.data(), line.n, start), 1);
  EXPECT_NEAR(start.x, 1000.0, 1e-9);
  EXPECT_NEAR(start.y, 2000.0, 1e-9);

  // Up to 0.001 beyond the last element still gives a point, beyond that -9
  // and the point is left as it was.
  LinePoint end{};
  end.mileage = 1690.0009;
  EXPECT_EQ(base.PointAtDistance(line.records.data(), line.n, end), 1);
  EXPECT_NEAR(end.x, line.records[line.n].x + 0.0009 * std::cos(line.records[line.n].bearing), 1e-7);
  for (double off : {1690.0011, 499.999, -5.0, std::nan("")}) {
    LinePoint point{1, 2, 3, 4, off};
    EXPECT_EQ(base.PointAtDistance(line.records.data(), line.n, point), -9) << off;
    EXPECT_EQ(point.x, 1);
    EXPECT_EQ(point.y, 2);
  }
  LinePoint any{};
  any.mileage = 600;
  EXPECT_EQ(base.PointAtDistance(line.records.data(), 1, any), -9);
  EXPECT_EQ(base.PointAtDistance(nullptr, 5, any), -9);
}

TEST(GeometryWalk, ElementWalkByType) {
  // An arc's point at half its length lies on the circle with bearing θ0 + t·s/R.
  const LinePoint start{100, 200, 0.3, 500, 10};
  LinePoint out{};
  ASSERT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, out, 150, LineElement{2, 500, 300, 0, -1}));
  const double cx = 100 + 500 * std::cos(0.3 - kPi / 2), cy = 200 + 500 * std::sin(0.3 - kPi / 2);
  EXPECT_NEAR(std::hypot(out.x - cx, out.y - cy), 500.0, 1e-9);
  EXPECT_NEAR(out.bearing, 0.3 - 150.0 / 500, 1e-12);
  EXPECT_EQ(out.radius, 500);
  EXPECT_EQ(out.mileage, 160);
  // A half circle and more: the arc's far side.
  ASSERT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, out, 500 * kPi, LineElement{2, 500, 2000, 0, 1}));
  EXPECT_NEAR(out.x, 100 + 1000 * std::cos(0.3 + kPi / 2), 1e-9);
  EXPECT_NEAR(out.y, 200 + 1000 * std::sin(0.3 + kPi / 2), 1e-9);
  EXPECT_NEAR(out.bearing, 0.3 + kPi, 1e-12);

  // A straight keeps its bearing and has no radius.
  ASSERT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, out, 10, LineElement{1, 50, 0, 0, 0}));
  EXPECT_NEAR(out.x, 100 + 10 * std::cos(0.3), 1e-12);
  EXPECT_EQ(out.radius, kInfiniteRadius);

  // Partial clothoids refuse distances beyond their ends (0.01 m allowance),
  // a growing one also before its start; only the mileage is written.
  const LineElement falling{5, 400, 2000, 800, 1};  // 120 m long
  const LineElement growing{6, 400, 800, 2000, 1};  // 120 m long
  LinePoint untouched{7, 8, 9, 10, 11};
  EXPECT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, 120.005, falling));
  untouched = {7, 8, 9, 10, 11};
  EXPECT_FALSE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, 120.02, falling));
  EXPECT_EQ(untouched.x, 7);
  EXPECT_EQ(untouched.mileage, 10 + 120.02);
  EXPECT_FALSE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, -0.5, growing));
  EXPECT_FALSE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, 120.02, growing));
  EXPECT_EQ(untouched.x, 7);
  EXPECT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, 0.0, growing));
  EXPECT_NEAR(untouched.x, 100, 1e-9);
  EXPECT_NEAR(untouched.radius, 800, 1e-9);

  // An unknown type writes only the mileage.
  untouched = {7, 8, 9, 10, 11};
  EXPECT_TRUE(BAS_DRAW_FUN::PointAtDistanceOnElement(start, untouched, 5, LineElement{7, 1, 1, 1, 1}));
  EXPECT_EQ(untouched.x, 7);
  EXPECT_EQ(untouched.mileage, 15);
}

// Points beside the line along its normal project back to their mileage: on
// straights and arcs exactly, on clothoids within the bisection's 1e-5 m.
TEST(GeometryWalk, ProjectionFindsTheFootOnEveryElement) {
  const BAS_DRAW_FUN base;
  for (const georef::Line* line : {&TestLines().right, &TestLines().left}) {
    for (const auto& station : kStations) {
      if (station.mileage >= 1690.0) continue;
      const LinePoint foot = line->at(station.mileage);
      for (double offset : {-15.0, 0.0, 0.5, 25.0}) {
        const double x = foot.x - offset * std::sin(foot.bearing);
        const double y = foot.y + offset * std::cos(foot.bearing);
        const double tolerance = (station.type == 1 || station.type == 2) ? 1e-7 : 1.1e-5;
        EXPECT_NEAR(base.ProjectPointOnAlignment(line->records.data(), line->n, x, y), station.mileage, tolerance)
            << station.mileage << " offset " << offset;
      }
    }
  }
}

TEST(GeometryWalk, RoundTripWithinTheProjectionTolerance) {
  const BAS_DRAW_FUN base;
  for (const georef::Line* line : {&TestLines().right, &TestLines().left}) {
    for (double mileage = 500.0; mileage <= 1690.0; mileage += 7.3) {
      LinePoint point{};
      point.mileage = mileage;
      ASSERT_GT(base.PointAtDistance(line->records.data(), line->n, point), 0);
      EXPECT_NEAR(base.ProjectPointOnAlignment(line->records.data(), line->n, point.x, point.y), mileage, 1e-5);
    }
  }
}

TEST(GeometryWalk, ProjectionBeyondTheEndsAndOffTheLine) {
  const BAS_DRAW_FUN base;
  const georef::Line& line = TestLines().right;
  const PlacedElement& first = line.records[1];
  const PlacedElement& last = line.records[line.n];
  // Before the start: the start mileage, never less.
  EXPECT_EQ(base.ProjectPointOnAlignment(line.records.data(), line.n, first.x - 40 * std::cos(first.bearing) + 3,
                                         first.y - 40 * std::sin(first.bearing)),
            500.0);
  // Beyond a closing straight: the mileage along its tangent.
  EXPECT_NEAR(base.ProjectPointOnAlignment(line.records.data(), line.n, last.x + 30 * std::cos(last.bearing),
                                           last.y + 30 * std::sin(last.bearing)),
              1720.0, 1e-7);

  platform::TranscriptCapture capture;
  // Far beyond the end: no span takes the point.
  EXPECT_EQ(base.ProjectPointOnAlignment(line.records.data(), line.n, last.x + 5000 * std::cos(last.bearing),
                                         last.y + 5000 * std::sin(last.bearing)),
            -1.0);
  EXPECT_TRUE(capture.contains("不在线路上(1)!"));
  capture.clear();
  EXPECT_EQ(base.ProjectPointOnAlignment(line.records.data(), 0, 1.0, 2.0), -1.0);
  EXPECT_TRUE(capture.contains("指定点 1.00 2.00不在线路上(1)!"));
}

// A serpentine of 130 straights 100 m long, joined by half circles of R = 5,
// each straight 10 m east of the one before: a point at x = 50 lies between
// the normals of every straight and every half circle, and its foot is on
// straight 120.
TEST(GeometryWalk, ProjectionConsidersEveryCandidate) {
  constexpr int kStraights = 130;
  constexpr double kR = 5.0;
  std::vector<LineElement> elements;
  for (int j = 0; j < kStraights; ++j) {
    elements.push_back({1, 100, 0, 0, 0});
    if (j + 1 < kStraights) elements.push_back({2, kR, kPi * kR, 0, j % 2 == 0 ? 1.0 : -1.0});
  }
  const georef::Line serpentine = georef::place(0, 0, 0.0, 0.0, 0, elements);
  const BAS_DRAW_FUN base;
  EXPECT_NEAR(base.ProjectPointOnAlignment(serpentine.records.data(), serpentine.n, 50, 120 * 2 * kR + 1),
              120 * (100 + kPi * kR) + 50, 1e-6);
  EXPECT_NEAR(base.ProjectPointOnAlignment(serpentine.records.data(), serpentine.n, 50, 3 * 2 * kR - 1),
              3 * (100 + kPi * kR) + 50, 1e-6);
}

TEST(GeometryWalk, MileageByKeyPoints) {
  const BAS_DRAW_FUN base;
  const georef::Line& line = TestLines().right;
  // On the first straight the interpolation between its two ends is exact.
  const LinePoint p = line.at(530.0);
  EXPECT_NEAR(base.DistanceOfPointByKeyPoints(p.x, p.y, line.records.data(), line.n), 530.0, 1e-9);
  // Between the key points of the arc: the mileages weighted by the distances.
  const LinePoint q = line.at(870.0);
  const LinePoint arcStart = line.at(770.0), arcEnd = line.at(970.0);
  const double r = std::hypot(q.x - arcStart.x, q.y - arcStart.y);
  const double l = std::hypot(q.x - arcEnd.x, q.y - arcEnd.y);
  EXPECT_NEAR(base.DistanceOfPointByKeyPoints(q.x, q.y, line.records.data(), line.n), (970 * r + 770 * l) / (r + l),
              1e-7);

  platform::TranscriptCapture capture;
  EXPECT_EQ(base.DistanceOfPointByKeyPoints(1e7, 1e7, line.records.data(), line.n), -1.0);
  EXPECT_TRUE(capture.contains("指定点不在线路上(2)!"));
}

}  // namespace
