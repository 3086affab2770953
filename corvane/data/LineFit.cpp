#include "LineFit.h"

#include <algorithm>
#include <cmath>

#include "GammaFunctions.h"

int FitStraightLine(const double x[], const double y[], int n, const double sig[], int useSig, double& a,
                    double& b, double& sigA, double& sigB, double& chi2, double& q) {
  a = b = sigA = sigB = chi2 = q = 0.0;
  if (n < 3 || !x || !y || (useSig && !sig)) return 0;

  if (useSig)
    for (int i = 1; i <= n; ++i)
      if (!(std::fabs(sig[i]) > 0.0) || !std::isfinite(1.0 / (sig[i] * sig[i]))) return 0;

  auto weight = [&](int i) { return useSig ? 1.0 / (sig[i] * sig[i]) : 1.0; };
  double s = 0.0, sx = 0.0, sy = 0.0, xScale = 0.0;
  for (int i = 1; i <= n; ++i) {
    double w = weight(i);
    s += w;
    sx += w * x[i];
    sy += w * y[i];
    xScale = std::max(xScale, std::fabs(x[i]));
  }
  double mean = sx / s;
  double st2 = 0.0, sty = 0.0;
  for (int i = 1; i <= n; ++i) {
    double root = std::sqrt(weight(i));
    double t = (x[i] - mean) * root;
    st2 += t * t;
    sty += t * y[i] * root;
  }
  // All x equal (to the last few digits): the slope is undefined.
  double spread = 1e-9 * std::max(1.0, xScale);
  if (!(st2 > s * spread * spread)) return 0;

  double slope = sty / st2;
  double intercept = (sy - sx * slope) / s;
  double errA = std::sqrt((1.0 + sx * sx / (s * st2)) / s);
  double errB = std::sqrt(1.0 / st2);
  double sum = 0.0;
  for (int i = 1; i <= n; ++i) {
    double r = (y[i] - intercept - slope * x[i]) * std::sqrt(weight(i));
    sum += r * r;
  }
  if (useSig) {
    q = GammaQ(0.5 * (n - 2), 0.5 * sum);
  } else {
    q = 1.0;
    double scatter = std::sqrt(sum / (n - 2));
    errA *= scatter;
    errB *= scatter;
  }
  a = intercept;
  b = slope;
  sigA = errA;
  sigB = errB;
  chi2 = sum;
  return 1;
}
