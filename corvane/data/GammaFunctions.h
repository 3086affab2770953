#pragma once
// The gamma function and the incomplete gamma function, for the goodness of
// fit of the least-squares line (FitStraightLine).

// ln Γ(x) for x > 0 (Lanczos series, six terms).
double LnGamma(double x);
// P(a, x) by its series, for x < a + 1; `gln` receives ln Γ(a) when given.
double IncompleteGammaSeries(double a, double x, double* gln = nullptr);
// Q(a, x) by its continued fraction, for x >= a + 1; `gln` as above.
double IncompleteGammaFraction(double a, double x, double* gln = nullptr);
// Q(a, x) = 1 − P(a, x), the regularised upper incomplete gamma function.
// Defined for a > 0 and x >= 0; at x <= 0 it is 1, and for a <= 0 it is 0
// (the limits there).
double GammaQ(double a, double x);
