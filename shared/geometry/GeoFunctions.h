#pragma once
// Free geometry functions of the drawing base: directions, angles in packed
// degrees, element lengths, clothoid coordinates, and the split of a typed
// chainage text.

#include <cstddef>

#include "arx/acutmath.h"
#include "geometry/LineElement.h"

// Distance from (x1, y1) to (x2, y2); `bearing` receives the bearing of that
// direction in [0, 2π] (π/2 or 3π/2 when the two x differ by less than 1e-9).
double DistanceAndDirection(double x1, double y1, double x2, double y2, double& bearing);

// The host's angle of the drawing vector p1 -> p2 (from +X counter-clockwise).
double AcutAngleOfPoints(const ads_point p1, const ads_point p2);
// Any 3d point type with members x, y, z (the drawing's point class).
template <class Point3d>
double AcutAngleOfPoints(const Point3d& p1, const Point3d& p2) {
  const ads_point a = {p1.x, p1.y, p1.z};
  const ads_point b = {p2.x, p2.y, p2.z};
  return AcutAngleOfPoints(a, b);
}

// A drawing angle turned into a bearing from the drawing's +Y axis (north) in
// (0, 2π]: 5π/2 - AcutAngleOfPoints, less 2π when above 2π.
double BearingOfPoints(const ads_point p1, const ads_point p2);
template <class Point3d>
double BearingOfPoints(const Point3d& p1, const Point3d& p2) {
  const ads_point a = {p1.x, p1.y, p1.z};
  const ads_point b = {p2.x, p2.y, p2.z};
  return BearingOfPoints(a, b);
}

// a - b brought into [-π, π] by one addition or subtraction of 2π.
double AngleDifference(double a, double b);

// Which side of the line (x1, y1) -> (x2, y2) the point (x3, y3) lies on:
// (x3 - x1)(y2 - y1) - (x2 - x1)(y3 - y1).
double SideOfLine(double x1, double y1, double x2, double y2, double x3, double y3);

// Packed degrees d.mmss (12.3015 is 12°30'15"). A negative angle is the
// negative of its magnitude's conversion; seconds that round to 60 carry into
// the minutes and 60 minutes into the degrees.
double DmsToDegrees(double dms);
double DegreesToDms(double degrees);
double DmsToRadians(double dms);
double RadiansToDms(double radians);

// Length of an element by its type (the integer part of type + 0.01, written
// to `type`): 1 p1; 2 p2; 3, 4 A²/R; 5 A²(R1 - R2)/(R1·R2); 6 A²(R2 - R1)/(R1·R2);
// any other type 0.
double ElementLength(const LineElement& element, int& type);
inline double ElementLength(const LineElement& element) {
  int type;
  return ElementLength(element, type);
}

// Local coordinates of the clothoid with parameter A at arc length l
// from its straight end, by their power series (at most ten terms, stopping
// after the first term below 1e-10). 0 when A is not above 0.
double ClothoidX(double A, double l);
double ClothoidY(double A, double l);
// Tangent shift m and circle shift p of a transition of length L with
// parameter A (R = A²/L); 0 for a transition without length.
double ClothoidShiftM(double A, double L);
double ClothoidOffsetP(double A, double L);

// 1-based position of the last occurrence of `ch` in `text`, ASCII letters
// compared without case; 0 when absent.
int FindLastCharNoCase(const char* text, char ch);

// Splits a typed chainage ("DK12+345.678"): the prefix is the text up to and
// including the last K or k (empty when there is none), copied into `prefix`
// (bounded by `prefixSize`, cut at a character boundary). The digits between
// the prefix and the last "+" and those after it are joined without blanks
// (without "+", everything after the prefix) and read as a number, which is
// cut down to whole millimetres.
void ParseChainageText(const char* text, double& value, char* prefix, size_t prefixSize);
template <size_t N>
void ParseChainageText(const char* text, double& value, char (&prefix)[N]) {
  ParseChainageText(text, value, prefix, N);
}
