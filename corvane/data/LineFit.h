#pragma once
// Weighted least-squares straight line y = a + b·x.

// Fits the line through the points (x[i], y[i]), i = 1..n (the arrays are
// indexed from 1). With useSig non-zero each point has the weight 1/sig[i]²,
// otherwise weight 1 and the errors are scaled by the scatter of the points.
// Writes the intercept a and slope b, their standard errors sigA and sigB,
// chi² and the goodness-of-fit probability q (1 without weights).
// Returns 1 for a fit; 0, with every output set to 0, when there is none:
// fewer than three points, all x equal, or a weight that is not finite.
int FitStraightLine(const double x[], const double y[], int n, const double sig[], int useSig, double& a,
                    double& b, double& sigA, double& sigB, double& chi2, double& q);
