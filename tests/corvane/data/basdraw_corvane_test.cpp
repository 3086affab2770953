// The cross-section build's own drawing-base members against hand geometry:
// minimum lengths, the clothoid polynomials, the element walk, projection,
// ray crossings, the mapping onto another line, the probability functions and
// the chainage text.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "corvane/data/alignment_support.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/GeoFunctions.h"
#include "win/transcript.h"

namespace {

using alignment_test::ClothoidByIntegration;
using alignment_test::kPi;

constexpr double kInf = kInfiniteRadius;

PlacedElement Placed(LineElement e, double bearing, double mileage, double radius, double x, double y) {
  PlacedElement p;
  static_cast<LineElement&>(p) = e;
  p.bearing = bearing;
  p.mileage = mileage;
  p.radius = radius;
  p.x = x;
  p.y = y;
  return p;
}
PlacedElement EndState(double bearing, double mileage, double radius, double x, double y) {
  return Placed({0, 0, 0, 0, 0}, bearing, mileage, radius, x, y);
}

// 500 m north from (0, 0), mileage 100 to 600.
std::vector<PlacedElement> StraightNorth(double y = 0, double length = 500, double startMileage = 100) {
  return {Placed({10, 0, y, 0, startMileage}, 0, startMileage, kInf, 0, y),
          Placed({1, length, 0, 0, 0}, 0, startMileage, kInf, 0, y),
          EndState(0, startMileage + length, kInf, length, y)};
}

// 100 m north from (0, 0), a right-hand arc R 200 through 90° about
// (100, 200), then 100 m east: mileages 0, 100, 100 + 100π, 200 + 100π.
std::vector<PlacedElement> StraightArcStraight() {
  const double arcEnd = 100 + 100 * kPi;
  return {Placed({10, 0, 0, 0, 0}, 0, 0, kInf, 0, 0),
          Placed({1, 100, 0, 0, 0}, 0, 0, kInf, 0, 0),
          Placed({2, 200, 100 * kPi, 0, 1}, 0, 100, 200, 100, 0),
          Placed({1, 100, 0, 0, 0}, kPi / 2, arcEnd, kInf, 300, 200),
          EndState(kPi / 2, arcEnd + 100, kInf, 300, 300)};
}

// 100 m north from (0, 0), then an entering clothoid of 100 m onto R 300
// turning left (towards -y).
constexpr double kSpiralA2 = 100.0 * 300;
std::vector<PlacedElement> StraightSpiral() {
  double X, Y;
  ClothoidByIntegration(std::sqrt(kSpiralA2), 100, X, Y);
  return {Placed({10, 0, 0, 0, 0}, 0, 0, kInf, 0, 0),
          Placed({1, 100, 0, 0, 0}, 0, 0, kInf, 0, 0),
          Placed({3, std::sqrt(kSpiralA2), 300, 0, -1}, 0, 100, kInf, 100, 0),
          EndState(2 * kPi - 1.0 / 6, 200, 300, 100 + X, -Y)};
}

int Count(const std::vector<PlacedElement>& list) { return static_cast<int>(list.size()) - 1; }

TEST(BasDrawCorvaneTest, MinimumLengthsBySpeed) {
  struct Case {
    double speed, first, second;
  } cases[] = {
      {-10, -1000, -1000}, {0, -1000, -1000}, {20, -1000, -1000}, {39.9, -1000, -1000}, {40, 40, 20},
      {54.9, 40, 20},      {55, 45, 20},      {69.9, 45, 20},     {70, 50, 20},         {79.9, 50, 20},
      {80, 50, 50},        {99.9, 50, 50},    {100, 60, 60},      {120, 80, 80},        {139.9, 80, 80},
      {140, 110, 110},     {199.9, 110, 110}, {200, 140, 140},    {250, 180, 180},      {299.9, 180, 180},
      {300, 280, 280},     {350, 280, 280},
  };
  BAS_DRAW_FUN base;
  for (const Case& c : cases) {
    double first = 0, second = 0;
    base.MinLengthsBySpeed(c.speed, first, second);
    EXPECT_EQ(first, c.first) << "speed " << c.speed;
    EXPECT_EQ(second, c.second) << "speed " << c.speed;
  }
}

TEST(BasDrawCorvaneTest, SpiralPolynomialsFollowTheClothoid) {
  for (double A : {100.0, 300.0}) {
    for (double ratio : {0.1, 0.5, 1.0}) {
      const double l = ratio * A;
      double x, y;
      ClothoidByIntegration(A, l, x, y);
      EXPECT_NEAR(BAS_DRAW_FUN::SpiralX(A, l), x, 1e-7 * A) << A << " " << l;
      EXPECT_NEAR(BAS_DRAW_FUN::SpiralY(A, l), y, 1e-7 * A) << A << " " << l;
      // Within the fifth term of the series.
      EXPECT_NEAR(BAS_DRAW_FUN::SpiralX(A, l), ClothoidX(A, l), l * std::pow(l / A, 16) / 1e8) << A << " " << l;
      EXPECT_NEAR(BAS_DRAW_FUN::SpiralY(A, l), ClothoidY(A, l), l * std::pow(l / A, 18) / 1e9) << A << " " << l;
    }
  }
}

TEST(BasDrawCorvaneTest, PointOnEachKindOfElement) {
  const double A = std::sqrt(kSpiralA2);
  double X, Y;
  ClothoidByIntegration(A, 100, X, Y);
  const double te = 1.0 / 6;  // L / 2R
  struct Case {
    const char* name;
    LineElement element;
    LinePoint start;
    double s;
    double x, y, bearing, radius;
  } cases[] = {
      {"straight", {1, 500, 0, 0, 0}, {10, 20, kPi / 3, kInf, 50}, 40, 10 + 40 * std::cos(kPi / 3),
       20 + 40 * std::sin(kPi / 3), kPi / 3, kInf},
      {"arc, half of 90°",
       {2, 200, 100 * kPi, 0, 1},
       {100, 0, 0, 200, 100},
       50 * kPi,
       100 + 200 * std::sin(kPi / 4),
       200 - 200 * std::cos(kPi / 4),
       kPi / 4,
       200},
      {"arc turning left", {2, 200, 100 * kPi, 0, -1}, {0, 0, kPi / 2, 200, 0}, 100 * kPi, 200, 200, 0, 200},
      {"entering clothoid to the left", {3, A, 300, 0, -1}, {100, 0, 0, kInf, 100}, 100, 100 + X, -Y,
       2 * kPi - te, 300},
      // Backwards from its straight end it is an entering clothoid.
      {"leaving clothoid to the right",
       {4, A, 300, 0, 1},
       {0, 0, 0, 300, 0},
       100,
       X * std::cos(te) + Y * std::sin(te),
       X * std::sin(te) - Y * std::cos(te),
       te,
       kInf},
  };
  for (const Case& c : cases) {
    LinePoint out{};
    EXPECT_EQ(BAS_DRAW_FUN::PointOnElementAtDistance(c.start, out, c.s, c.element), TRUE) << c.name;
    EXPECT_NEAR(out.x, c.x, 1e-6) << c.name;
    EXPECT_NEAR(out.y, c.y, 1e-6) << c.name;
    EXPECT_NEAR(out.bearing, c.bearing, 1e-9) << c.name;
    EXPECT_EQ(out.radius, c.radius) << c.name;
    EXPECT_EQ(out.mileage, c.start.mileage + c.s) << c.name;
  }
  // Partial clothoids refuse distances outside them and write only the mileage.
  LinePoint untouched{7, 8, 1, 2, 0};
  EXPECT_EQ(BAS_DRAW_FUN::PointOnElementAtDistance({0, 0, 0, 600, 0}, untouched, 60, {5, A, 600, 300, 1}), FALSE);
  EXPECT_EQ(untouched.x, 7);
  EXPECT_EQ(untouched.mileage, 60);
  EXPECT_EQ(BAS_DRAW_FUN::PointOnElementAtDistance({0, 0, 0, 300, 0}, untouched, -1, {6, A, 300, 600, 1}), FALSE);
  EXPECT_EQ(untouched.y, 8);
  // The growing one (radius 300 to 600, 50 m long) also refuses a distance
  // beyond its end, where its radius would turn negative.
  EXPECT_EQ(BAS_DRAW_FUN::PointOnElementAtDistance({0, 0, 0, 300, 0}, untouched, 60, {6, A, 300, 600, 1}), FALSE);
  EXPECT_EQ(untouched.x, 7);
  EXPECT_EQ(untouched.mileage, 60);
  EXPECT_EQ(BAS_DRAW_FUN::PointOnElementAtDistance({0, 0, 0, 300, 0}, untouched, 50.005, {6, A, 300, 600, 1}),
            TRUE);
}

TEST(BasDrawCorvaneTest, PointAtMileageWalksTheList) {
  const std::vector<PlacedElement> list = StraightArcStraight();
  const double end = 200 + 100 * kPi;
  struct Case {
    double mileage;
    int type;
    double x, y;
  } cases[] = {
      {0, 1, 0, 0},
      {100, 1, 100, 0},  // an element's end belongs to it
      {100 + 50 * kPi, 2, 100 + 200 * std::sin(kPi / 4), 200 - 200 * std::cos(kPi / 4)},
      {end, 1, 300, 300},
      {end + 0.0009, 1, 300, 300.0009},
      {end + 0.002, -9, -1, -1},
      {-0.5, -9, -1, -1},
  };
  for (const Case& c : cases) {
    LinePoint p{-1, -1, 0, 0, c.mileage};
    EXPECT_EQ(BAS_DRAW_FUN::PointAtMileage(list.data(), Count(list), p), c.type) << c.mileage;
    EXPECT_NEAR(p.x, c.x, 1e-9) << c.mileage;
    EXPECT_NEAR(p.y, c.y, 1e-9) << c.mileage;
  }
}

// The mileage of the nearest point of the clothoid of StraightSpiral to P,
// by sampling its integrated coordinates and refining the best sample.
double NearestOnSpiral(double px, double py) {
  const double A = std::sqrt(kSpiralA2);
  auto distance = [&](double s) {
    double X, Y;
    ClothoidByIntegration(A, s, X, Y);
    return std::hypot(100 + X - px, -Y - py);
  };
  double best = 0;
  for (double s = 0; s <= 100; s += 1)
    if (distance(s) < distance(best)) best = s;
  double lo = std::max(0.0, best - 1), hi = std::min(100.0, best + 1);
  for (int i = 0; i < 60; ++i) {
    const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
    (distance(a) < distance(b) ? hi : lo) = distance(a) < distance(b) ? b : a;
  }
  return 100 + (lo + hi) / 2;
}

TEST(BasDrawCorvaneTest, MileageOfAPointOnTheElements) {
  const std::vector<PlacedElement> arcLine = StraightArcStraight();
  const std::vector<PlacedElement> spiralLine = StraightSpiral();
  const double fromCentre = 3 * kPi / 2 + kPi / 6;  // 30° into the arc
  struct Case {
    const char* name;
    const std::vector<PlacedElement>* list;
    double x, y, mileage, tolerance;
  } cases[] = {
      {"before the start", &arcLine, -50, 3, 0, 1e-9},
      {"far before the start", &arcLine, -900, -40, 0, 1e-9},
      {"beside the first straight", &arcLine, 50, -7, 50, 1e-9},
      {"inside the arc", &arcLine, 100 + 150 * std::cos(fromCentre), 200 + 150 * std::sin(fromCentre),
       100 + 200 * kPi / 6, 1e-6},
      {"outside the arc", &arcLine, 100 + 260 * std::cos(fromCentre), 200 + 260 * std::sin(fromCentre),
       100 + 200 * kPi / 6, 1e-6},
      {"beside the last straight", &arcLine, 290, 250, 150 + 100 * kPi, 1e-9},
      {"beyond the end", &arcLine, 305, 350, 250 + 100 * kPi, 1e-9},
      {"beside the clothoid", &spiralLine, 160, -10, NearestOnSpiral(160, -10), 1e-4},
      {"outside the clothoid", &spiralLine, 180, 5, NearestOnSpiral(180, 5), 1e-4},
  };
  platform::TranscriptCapture capture;
  for (const Case& c : cases) {
    EXPECT_NEAR(BAS_DRAW_FUN::MileageOfPointOnElements(c.list->data(), Count(*c.list), c.x, c.y), c.mileage,
                c.tolerance)
        << c.name;
  }
  // Beyond the spans the line reaches: -1, without a message.
  EXPECT_EQ(BAS_DRAW_FUN::MileageOfPointOnElements(arcLine.data(), Count(arcLine), 300, 1500), -1.0);
  EXPECT_EQ(capture.text(), "");
}

// The mileage where the clothoid of StraightSpiral crosses the line through
// P along `bearing`, by bisection on its integrated coordinates.
double SpiralCrossing(double px, double py, double bearing) {
  const double A = std::sqrt(kSpiralA2);
  auto side = [&](double s) {
    double X, Y;
    ClothoidByIntegration(A, s, X, Y);
    return std::cos(bearing) * (-Y - py) - std::sin(bearing) * (100 + X - px);
  };
  double lo = 0, hi = 100;
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (side(lo) * side(mid) <= 0 ? hi : lo) = mid;
  }
  return 100 + (lo + hi) / 2;
}

TEST(BasDrawCorvaneTest, RayCrossingsOfTheElements) {
  const std::vector<PlacedElement> straight = StraightNorth();
  const std::vector<PlacedElement> arcLine = StraightArcStraight();
  const std::vector<PlacedElement> spiralLine = StraightSpiral();
  const double toArc = 5 * kPi / 3;  // from the arc's centre, 30° into it
  struct Case {
    const char* name;
    const std::vector<PlacedElement>* list;
    double x, y, bearing;
    double mileage, hitX, hitY, tolerance;
  } cases[] = {
      {"square to a straight", &straight, 200, 30, kPi / 2, 300, 200, 0, 1e-9},
      {"the line behind the ray", &straight, 200, -30, kPi / 2, 300, 200, 0, 1e-9},
      {"along a straight: its start", &straight, 100, 0, 0.0, 100, 0, 0, 1e-9},
      {"through the arc's centre", &arcLine, 100, 200, toArc, 100 + 200 * kPi / 6, 200, 200 - 200 * std::sin(kPi / 3),
       2e-3},
      {"at an element's start", &arcLine, 100, -50, kPi / 2, 100, 100, 0, 1e-9},
      {"missing the line", &straight, 700, 0, kPi / 2, -1, 700, 0, 0},
  };
  for (const Case& c : cases) {
    double hx, hy;
    const double m = BAS_DRAW_FUN::RayElementsIntersection(c.list->data(), Count(*c.list), c.x, c.y, c.bearing, hx, hy);
    EXPECT_NEAR(m, c.mileage, c.tolerance) << c.name;
    EXPECT_NEAR(hx, c.hitX, std::max(c.tolerance, 1e-9)) << c.name;
    EXPECT_NEAR(hy, c.hitY, std::max(c.tolerance, 1e-9)) << c.name;
  }
  // The clothoid crossed square to the first straight's direction, 150 m up.
  double hx, hy;
  const double m =
      BAS_DRAW_FUN::RayElementsIntersection(spiralLine.data(), Count(spiralLine), 150, 10, 3 * kPi / 2, hx, hy);
  EXPECT_NEAR(m, SpiralCrossing(150, 10, 3 * kPi / 2), 2e-3);
  EXPECT_NEAR(hx, 150, 2e-4);
}

TEST(BasDrawCorvaneTest, RayGrazingAnArcEndsWithoutACrossing) {
  // An arc R 1000 of 100 m bulging away from its chord; the ray runs along
  // the chord 0.0025 m on the other side, so both ends count as crossed but
  // no point of the arc comes near the ray. The walk must end.
  const double endAngle = 0.1;
  const double ex = 1000 * std::sin(endAngle), ey = 1000 - 1000 * std::cos(endAngle);
  const std::vector<PlacedElement> arc = {Placed({10, 0, 0, 0, 0}, 0, 0, kInf, 0, 0),
                                          Placed({2, 1000, 100, 0, 1}, 0, 0, 1000, 0, 0),
                                          EndState(endAngle, 100, 1000, ex, ey)};
  const double chord = std::hypot(ex, ey);
  const double a = ex / chord, b = ey / chord;
  const double px = ex / 2 - 0.0025 * b, py = ey / 2 + 0.0025 * a;
  double hx, hy;
  EXPECT_EQ(BAS_DRAW_FUN::RayElementsIntersection(arc.data(), 2, px, py, std::atan2(b, a), hx, hy), -1.0);
  EXPECT_EQ(hx, px);
  EXPECT_EQ(hy, py);
}

TEST(BasDrawCorvaneTest, SideOfTheOtherLine) {
  const std::vector<PlacedElement> other = StraightNorth();
  struct Case {
    double x, y;
    int side;
  } cases[] = {{200, 0.0005, 0}, {200, -10, 1}, {200, 10, -1}, {-20, -3, 1}};
  for (const Case& c : cases) {
    const LinePoint p{c.x, c.y, 0, kInf, 0};
    EXPECT_EQ(BAS_DRAW_FUN::NormalHitsOtherLine(p, other.data(), Count(other)), c.side) << c.x << " " << c.y;
  }
}

TEST(BasDrawCorvaneTest, MileageCarriedOntoAnotherLine) {
  const std::vector<PlacedElement> here = StraightNorth();  // mileage 100 at x = 0
  struct Case {
    const char* name;
    std::vector<PlacedElement> other;
    double mileage;
    int result;
    double offset, otherMileage, x, y;
  } cases[] = {
      {"5 m to the right", StraightNorth(5, 500, 0), 300, 1, 5, 200, 200, 5},
      {"5 m to the left", StraightNorth(-5, 500, 0), 300, 1, -5, 200, 200, -5},
      {"the same line", StraightNorth(0, 500, 0), 300, 1, 0, 200, 200, 0},
      {"0.0004 m away", StraightNorth(0.0004, 500, 0), 300, 1, 0, 200, 200, 0},
      {"0.002 m away", StraightNorth(0.002, 500, 0), 300, 1, 0.002, 200, 200, 0.002},
      {"a line that ends before", StraightNorth(5, 100, 0), 300, 0, 0, -1, 200, 0},
      {"off this line", StraightNorth(5, 500, 0), 700, 0, 0, -1, 600, 0},
  };
  for (const Case& c : cases) {
    double offset = 99, otherMileage = 99, x = 99, y = 99;
    EXPECT_EQ(BAS_DRAW_FUN::MileageOnOtherLine(c.mileage, here.data(), Count(here), c.other.data(), Count(c.other),
                                               offset, otherMileage, x, y),
              c.result)
        << c.name;
    EXPECT_NEAR(offset, c.offset, 1e-9) << c.name;
    EXPECT_NEAR(otherMileage, c.otherMileage, 1e-6) << c.name;
    EXPECT_NEAR(x, c.x, 1e-9) << c.name;
    EXPECT_NEAR(y, c.y, 1e-9) << c.name;
  }
}

TEST(BasDrawCorvaneTest, ProbabilityFunctions) {
  double gln = 0;
  EXPECT_NEAR(BAS_DRAW_FUN::LnGamma(5), std::log(24.0), 1e-8);
  EXPECT_NEAR(BAS_DRAW_FUN::LnGamma(0.5), 0.5 * std::log(kPi), 1e-8);
  EXPECT_NEAR(BAS_DRAW_FUN::IncompleteGammaSeries(1, 0.5, &gln), 1 - std::exp(-0.5), 1e-7);
  EXPECT_NEAR(gln, 0, 1e-8);
  EXPECT_NEAR(BAS_DRAW_FUN::IncompleteGammaFraction(1, 3), std::exp(-3.0), 1e-7);
  // Q(2, x) = (1 + x) e^-x on both sides of x = a + 1.
  EXPECT_NEAR(BAS_DRAW_FUN::GammaQ(2, 1), 2 * std::exp(-1.0), 1e-7);
  EXPECT_NEAR(BAS_DRAW_FUN::GammaQ(2, 5), 6 * std::exp(-5.0), 1e-7);
}

TEST(BasDrawCorvaneTest, ChainageTextThroughTheHostsNumbers) {
  struct Case {
    const char* prefix;
    double mileage;
    int decimals;
    const char* text;
  } cases[] = {
      {"K", 1234.5, 3, "K1+234.500"},
      {"K", 1234.5, 1, "K1+234.5"},
      {"AK", 1005, 2, "AK1+005.00"},
      {"DK", 0, 0, "DK0+000"},
      {"K", 12345.678, 1, "K12+345.7"},
      {"K", 999.9994, 3, "K0+999.999"},
      // Metres that round to 1000 carry into the kilometres.
      {"K", 999.9996, 3, "K1+000.000"},
      {"K", 1999.99996, 4, "K2+000.0000"},
      {"K", 2999.6, 0, "K3+000"},
      {"K", -50, 3, "K-0+050.000"},
      {"", 86400.25, -1, "86+400.2500"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BAS_DRAW_FUN::FormatChainageRToS(c.prefix, c.mileage, c.decimals), c.text) << c.mileage;
}

}  // namespace
