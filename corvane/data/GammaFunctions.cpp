#include "GammaFunctions.h"

#include <cmath>

namespace {

constexpr int kMaxIterations = 100;
constexpr double kAccuracy = 3.0e-7;
// Smallest magnitude kept in the continued fraction's denominators.
constexpr double kTiny = 1.0e-30;

}  // namespace

double LnGamma(double x) {
  static const double kCoefficients[6] = {76.18009173, -86.50532033, 24.01409822,
                                          -1.231739516, 0.120858003e-2, -0.536382e-5};
  double y = x - 1.0;
  double tmp = y + 5.5;
  double series = 1.0;
  for (int j = 0; j < 6; ++j) series += kCoefficients[j] / (y + 1.0 + j);
  return (y + 0.5) * std::log(tmp) - tmp + std::log(2.50662827465 * series);
}

double IncompleteGammaSeries(double a, double x, double* gln) {
  double lg = LnGamma(a);
  if (gln) *gln = lg;
  if (x <= 0.0) return 0.0;
  double ap = a;
  double term = 1.0 / a;
  double sum = term;
  for (int n = 0; n < kMaxIterations; ++n) {
    ap += 1.0;
    term *= x / ap;
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * kAccuracy) break;
  }
  return sum * std::exp(-x + a * std::log(x) - lg);
}

double IncompleteGammaFraction(double a, double x, double* gln) {
  double lg = LnGamma(a);
  if (gln) *gln = lg;
  // Q(a, x) = e^-x x^a / Γ(a) · 1/(x + 1 − a − 1·(1 − a)/(x + 3 − a − 2·(2 − a)/(x + 5 − a − ...))),
  // evaluated from the front (modified Lentz).
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double h = d;
  for (int i = 1; i <= kMaxIterations; ++i) {
    double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1.0) < kAccuracy) break;
  }
  return std::exp(-x + a * std::log(x) - lg) * h;
}

double GammaQ(double a, double x) {
  if (x <= 0.0) return 1.0;
  if (a <= 0.0) return 0.0;
  if (x < a + 1.0) return 1.0 - IncompleteGammaSeries(a, x);
  return IncompleteGammaFraction(a, x);
}
