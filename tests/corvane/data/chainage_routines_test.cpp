// The weighted straight-line fit and its goodness-of-fit probability.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GammaFunctions.h"
#include "LineFit.h"

namespace {

struct Fit {
  int result;
  double a, b, sigA, sigB, chi2, q;
};

// Calls the fit with 0-based vectors (the fit reads its arrays from 1).
Fit RunFit(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& sig, int useSig) {
  std::vector<double> x1{0.0}, y1{0.0}, s1{0.0};
  x1.insert(x1.end(), x.begin(), x.end());
  y1.insert(y1.end(), y.begin(), y.end());
  s1.insert(s1.end(), sig.begin(), sig.end());
  s1.resize(x1.size(), 1.0);
  Fit f{};
  f.result = FitStraightLine(x1.data(), y1.data(), static_cast<int>(x.size()), s1.data(), useSig, f.a, f.b, f.sigA,
                             f.sigB, f.chi2, f.q);
  return f;
}

TEST(FitStraightLineTest, PointsOnALine) {
  Fit f = RunFit({1, 2, 3, 4, 5}, {5, 8, 11, 14, 17}, {}, 0);
  ASSERT_EQ(f.result, 1);
  EXPECT_NEAR(f.a, 2.0, 1e-12);
  EXPECT_NEAR(f.b, 3.0, 1e-12);
  EXPECT_NEAR(f.chi2, 0.0, 1e-20);
  EXPECT_NEAR(f.sigA, 0.0, 1e-9);
  EXPECT_NEAR(f.sigB, 0.0, 1e-9);
  EXPECT_EQ(f.q, 1.0);
}

TEST(FitStraightLineTest, ScatteredPointsWithoutWeights) {
  // By hand: x̄ = 2.5, Sxx = 5, b = Σ(x−x̄)(y−ȳ)/Sxx = 4/5, a = ȳ − b·x̄ = 0.5;
  // residuals −0.3, 0.9, −0.9, 0.3, so χ² = 1.8 and s² = χ²/(n−2) = 0.9;
  // σb = √(s²/Sxx) = √0.18, σa = √(s²(1/n + x̄²/Sxx)) = √1.35.
  Fit f = RunFit({1, 2, 3, 4}, {1, 3, 2, 4}, {}, 0);
  ASSERT_EQ(f.result, 1);
  EXPECT_NEAR(f.a, 0.5, 1e-12);
  EXPECT_NEAR(f.b, 0.8, 1e-12);
  EXPECT_NEAR(f.chi2, 1.8, 1e-12);
  EXPECT_NEAR(f.sigA, std::sqrt(1.35), 1e-12);
  EXPECT_NEAR(f.sigB, std::sqrt(0.18), 1e-12);
  EXPECT_EQ(f.q, 1.0);
}

TEST(FitStraightLineTest, EqualWeightsGiveTheSameLineAndUnscaledErrors) {
  // σ = 0.5 everywhere: w = 4, χ² = 4 × 1.8, σa = σ√(1/n + x̄²/Sxx) = 0.5√1.5,
  // σb = σ/√Sxx = 0.5/√5, and with n − 2 = 2 degrees of freedom
  // q = Q(1, χ²/2) = e^(−3.6).
  Fit f = RunFit({1, 2, 3, 4}, {1, 3, 2, 4}, {0.5, 0.5, 0.5, 0.5}, 1);
  ASSERT_EQ(f.result, 1);
  EXPECT_NEAR(f.a, 0.5, 1e-12);
  EXPECT_NEAR(f.b, 0.8, 1e-12);
  EXPECT_NEAR(f.chi2, 7.2, 1e-12);
  EXPECT_NEAR(f.sigA, 0.5 * std::sqrt(1.5), 1e-12);
  EXPECT_NEAR(f.sigB, 0.5 / std::sqrt(5.0), 1e-12);
  EXPECT_NEAR(f.q, std::exp(-3.6), 3e-7 * std::exp(-3.6));
}

TEST(FitStraightLineTest, UnequalWeightsAgainstTheNormalEquations) {
  std::vector<double> x{0, 1, 2, 3, 4}, y{1.0, 2.5, 2.8, 4.1, 5.2}, sig{1.0, 0.5, 1.0, 2.0, 1.0};
  // Normal equations: S = Σw, Sx = Σwx, Sxx = Σwx², Sy = Σwy, Sxy = Σwxy,
  // Δ = S·Sxx − Sx²; a = (Sxx·Sy − Sx·Sxy)/Δ, b = (S·Sxy − Sx·Sy)/Δ,
  // σa² = Sxx/Δ, σb² = S/Δ.
  double S = 0, Sx = 0, Sxx = 0, Sy = 0, Sxy = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    double w = 1.0 / (sig[i] * sig[i]);
    S += w;
    Sx += w * x[i];
    Sxx += w * x[i] * x[i];
    Sy += w * y[i];
    Sxy += w * x[i] * y[i];
  }
  double delta = S * Sxx - Sx * Sx;
  double a = (Sxx * Sy - Sx * Sxy) / delta;
  double b = (S * Sxy - Sx * Sy) / delta;
  double chi2 = 0;
  for (size_t i = 0; i < x.size(); ++i) chi2 += std::pow((y[i] - a - b * x[i]) / sig[i], 2);
  // Three degrees of freedom: Q(3/2, t) = erfc(√t) + 2√(t/π)·e^(−t).
  double t = chi2 / 2;
  double q = std::erfc(std::sqrt(t)) + 2 * std::sqrt(t / M_PI) * std::exp(-t);

  Fit f = RunFit(x, y, sig, 1);
  ASSERT_EQ(f.result, 1);
  EXPECT_NEAR(f.a, a, 1e-12);
  EXPECT_NEAR(f.b, b, 1e-12);
  EXPECT_NEAR(f.sigA, std::sqrt(Sxx / delta), 1e-12);
  EXPECT_NEAR(f.sigB, std::sqrt(S / delta), 1e-12);
  EXPECT_NEAR(f.chi2, chi2, 1e-12);
  EXPECT_NEAR(f.q, q, 3e-7 * q);
}

TEST(FitStraightLineTest, NoFitIsReportedInsteadOfNaN) {
  struct Case {
    const char* name;
    std::vector<double> x, y, sig;
    int useSig;
  } cases[] = {
      {"NoPoints", {}, {}, {}, 0},
      {"TwoPoints", {1, 2}, {1, 2}, {}, 0},
      {"TwoWeightedPoints", {1, 2}, {1, 2}, {1, 1}, 1},
      {"EqualX", {5, 5, 5}, {1, 2, 3}, {}, 0},
      {"EqualLargeX", {1e6, 1e6, 1e6, 1e6}, {1, 2, 3, 4}, {}, 0},
      {"ZeroSigma", {1, 2, 3}, {1, 2, 3}, {1, 0, 1}, 1},
  };
  for (const Case& c : cases) {
    Fit f = RunFit(c.x, c.y, c.sig, c.useSig);
    EXPECT_EQ(f.result, 0) << c.name;
    for (double v : {f.a, f.b, f.sigA, f.sigB, f.chi2, f.q}) EXPECT_EQ(v, 0.0) << c.name;
  }
  // Three points with a spread of x do fit.
  EXPECT_EQ(RunFit({5, 5, 6}, {1, 2, 3}, {}, 0).result, 1);
}

TEST(GammaFunctionsTest, AgainstClosedForms) {
  // ln Γ at integers and at one half.
  EXPECT_NEAR(LnGamma(1.0), 0.0, 1e-9);
  EXPECT_NEAR(LnGamma(5.0), std::log(24.0), 1e-9);
  EXPECT_NEAR(LnGamma(10.0), std::log(362880.0), 1e-9);
  EXPECT_NEAR(LnGamma(0.5), 0.5 * std::log(M_PI), 1e-9);

  // Q(a, x) where it has a closed form, on both sides of x = a + 1 (series and
  // continued fraction).
  struct Case {
    double a, x, q;
  } cases[] = {
      {1.0, 0.5, std::exp(-0.5)},
      {1.0, 3.6, std::exp(-3.6)},
      {0.5, 0.3, std::erfc(std::sqrt(0.3))},
      {0.5, 4.0, std::erfc(2.0)},
      {1.5, 1.2, std::erfc(std::sqrt(1.2)) + 2 * std::sqrt(1.2 / M_PI) * std::exp(-1.2)},
      {3.0, 2.0, std::exp(-2.0) * (1 + 2.0 + 2.0)},
      {3.0, 7.5, std::exp(-7.5) * (1 + 7.5 + 7.5 * 7.5 / 2)},
      {10.0, 30.0, [] {
         double s = 0, term = 1;
         for (int k = 0; k < 10; ++k) {
           s += term;
           term *= 30.0 / (k + 1);
         }
         return std::exp(-30.0) * s;
       }()},
  };
  for (const Case& c : cases) EXPECT_NEAR(GammaQ(c.a, c.x), c.q, 1e-6 * c.q) << "a " << c.a << " x " << c.x;

  // The limits at the edges of the domain.
  EXPECT_EQ(GammaQ(2.0, 0.0), 1.0);
  EXPECT_EQ(GammaQ(0.0, 1.0), 0.0);
}

}  // namespace
