// Clothoid coordinates, element lengths and curve tangents.

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/geometry_reference.h"

namespace {

// The clothoid's coordinates are x = ∫ cos(s²/2A²) ds and y = ∫ sin(s²/2A²) ds.
// The series stops once a term falls below 1e-10 m, so over the parameters of
// railway transitions (A from 100 to 3000 m, up to the full transition, where
// l/A stays at or below 1) it agrees with the integral to 1e-10 m plus the
// rounding of sums of a few hundred metres: 1e-9 m.
TEST(GeometryClothoid, SeriesMatchesNumericIntegration) {
  constexpr double kTolerance = 1e-9;
  const struct {
    double A, R;
  } transitions[] = {
      {100, 200},   {100, 100},   {200, 400},   {300, 600},   {450, 1000},  {600, 1200},
      {800, 2000},  {1000, 3000}, {1200, 2000}, {1500, 4000}, {2000, 4000}, {2500, 7000},
      {3000, 10000}, {3000, 6000},
  };
  for (const auto& t : transitions) {
    const double L = t.A * t.A / t.R;  // the full transition
    for (double fraction : {0.05, 0.25, 0.5, 0.75, 1.0}) {
      const double l = L * fraction;
      const double x = georef::integrate([&](double s) { return std::cos(s * s / (2 * t.A * t.A)); }, 0.0, l);
      const double y = georef::integrate([&](double s) { return std::sin(s * s / (2 * t.A * t.A)); }, 0.0, l);
      EXPECT_NEAR(ClothoidX(t.A, l), x, kTolerance) << "A=" << t.A << " l=" << l;
      EXPECT_NEAR(ClothoidY(t.A, l), y, kTolerance) << "A=" << t.A << " l=" << l;
    }
  }
}

TEST(GeometryClothoid, ShiftsOfTheCircleAndDegenerateParameters) {
  // m and p from their definitions: m = x(L) - R sin β, p = y(L) + R cos β - R,
  // with x, y by integration.
  const struct {
    double A, L;
  } cases[] = {{300, 150}, {308.37, 95.093}, {1000, 333.3}, {2000, 400}};
  for (const auto& c : cases) {
    const double R = c.A * c.A / c.L;
    const double beta = c.L / (2 * R);
    const double x = georef::integrate([&](double s) { return std::cos(s * s / (2 * c.A * c.A)); }, 0.0, c.L);
    const double y = georef::integrate([&](double s) { return std::sin(s * s / (2 * c.A * c.A)); }, 0.0, c.L);
    EXPECT_NEAR(ClothoidShiftM(c.A, c.L), x - R * std::sin(beta), 1e-8);
    EXPECT_NEAR(ClothoidOffsetP(c.A, c.L), y + R * std::cos(beta) - R, 1e-8);
  }
  EXPECT_EQ(ClothoidX(0.0, 10.0), 0.0);
  EXPECT_EQ(ClothoidY(-5.0, 10.0), 0.0);
  EXPECT_EQ(ClothoidShiftM(300.0, 0.0), 0.0);
  EXPECT_EQ(ClothoidOffsetP(300.0, 0.0), 0.0);
}

TEST(GeometryClothoid, ElementLengthByType) {
  const struct {
    LineElement element;
    int type;
    double length;
  } cases[] = {
      {{1, 123.4, 0, 0, 0}, 1, 123.4},
      {{2, 800, 250.5, 0, 1}, 2, 250.5},
      {{3, 300, 600, 0, 1}, 3, 150.0},
      {{4, 300, 600, 0, -1}, 4, 150.0},
      {{5, 400, 2000, 800, 1}, 5, 120.0},  // 400²(2000 - 800)/(2000·800)
      {{6, 400, 800, 2000, -1}, 6, 120.0},
      {{1.995, 50, 0, 0, 0}, 2, 0.0},  // the type is read with 0.01 allowance
      {{10, 1, 2, 3, 4}, 10, 0.0},
      {{7, 1, 2, 3, 4}, 7, 0.0},
  };
  for (const auto& c : cases) {
    int type = -1;
    EXPECT_NEAR(ElementLength(c.element, type), c.length, 1e-9) << c.element.type;
    EXPECT_EQ(type, c.type);
  }
}

// Railway curve formulas: p = L²/24R - L⁴/2688R³, m = L/2 - L³/240R² + L⁵/34560R⁴,
// T1 = (R + p2)/sin α - (R + p1)/tan α + m1, T2 = (R + p1)/sin α - (R + p2)/tan α + m2,
// L = L1 + L2 + R(α - L1/2R - L2/2R).
TEST(GeometryClothoid, CurveTangentsMatchRailwayFormulas) {
  const struct {
    const char* name;
    double deflectionDms, R, L1, L2;
    double T1, T2, L;
    double p1, m1, p2, m2;
  } cases[] = {
      // The textbook curve: α = 32°24', R = 1000, L1 = L2 = 95.093.
      {"symmetric", 32.24, 1000, 95.093, 95.093, 338.179, 338.179, 660.580, 0.376748, 47.542917, 0.376748,
       47.542917},
      // By hand: α = 40°30', R = 800, L1 = 120, L2 = 80:
      // p1 = 0.749849, m1 = 59.988752, p2 = 0.333304, m2 = 39.996667,
      // T1 = 800.333304/sin α - 800.749849/tan α + 59.988752 = 354.760,
      // T2 = 800.749849/sin α - 800.333304/tan α + 39.996667 = 335.897,
      // L = 200 + 800(0.706858 - 0.075 - 0.05) = 665.487.
      {"asymmetric", 40.30, 800, 120, 80, 354.760, 335.897, 665.487, 0.749849, 59.988752, 0.333304, 39.996667},
      // No transitions: T = R tan(α/2) = 134.391, L = Rα = 264.417 (α = 25°15').
      {"circular", 25.15, 600, 0, 0, 134.391, 134.391, 264.417, 0, 0, 0, 0},
      // A transition shorter than 0.1 mm counts as none.
      {"tiny transition", 25.15, 600, 0.00005, 0, 134.391, 134.391, 264.417, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    CurveTangents t{};
    EXPECT_EQ(BAS_DRAW_FUN::CurveTangentsAndLength(c.deflectionDms, c.R, c.L1, c.L2, t), 1);
    EXPECT_NEAR(t.T1, c.T1, 0.0005) << c.name;
    EXPECT_NEAR(t.T2, c.T2, 0.0005) << c.name;
    EXPECT_NEAR(t.L, c.L, 0.0005) << c.name;
    EXPECT_NEAR(t.p1, c.p1, 1e-6) << c.name;
    EXPECT_NEAR(t.m1, c.m1, 1e-6) << c.name;
    EXPECT_NEAR(t.p2, c.p2, 1e-6) << c.name;
    EXPECT_NEAR(t.m2, c.m2, 1e-6) << c.name;
    EXPECT_NEAR(t.beta1, c.L1 / (2 * c.R), 1e-12) << c.name;
    EXPECT_NEAR(t.beta2, c.L2 / (2 * c.R), 1e-12) << c.name;
  }
}

}  // namespace
