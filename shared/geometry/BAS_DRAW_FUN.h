#pragma once
// BAS_DRAW_FUN: the geometry and drawing base class of the model, dialog and
// drawing classes. Each module compiles its own build of it; the members that
// differ between builds are selected by the module's define.
//
// This header holds the geometric members (alignment geometry, chainage texts).
// Drawing members and a module's own members are declared in the marked
// sections below and defined in their own source files.
//
// The class has no data members. Its virtual table by build:
//   plan drawing (BREVELL_BUILD, and any build without a module define):
//     FormatReal, the destructor, PointAtDistance, DistanceOfPointByKeyPoints,
//     SpacingToOtherLine;
//   cross-section (CORVANE_BUILD): the build's own first slot, the destructor;
//   ground-line input (PELLORY_BUILD): the destructor only.
// In the builds where they are not virtual, FormatReal, PointAtDistance,
// DistanceOfPointByKeyPoints and SpacingToOtherLine are ordinary members.
//
// Every member that takes an element list of n records reads records 0 .. n
// (see PlacedElement): the caller's array holds n + 1 records.

#include <cstddef>

#include "arx/acutmath.h"
#include "geometry/GeoFunctions.h"
#include "geometry/LineElement.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

#if defined(CORVANE_BUILD) || defined(PELLORY_BUILD)
#define BAS_DRAW_PLAN_VIRTUAL
#else
#define BAS_DRAW_PLAN_VIRTUAL virtual
#endif

class BAS_DRAW_FUN {
 public:
  BAS_DRAW_FUN() = default;
  BAS_DRAW_FUN(const BAS_DRAW_FUN&) = default;
  BAS_DRAW_FUN& operator=(const BAS_DRAW_FUN&) = default;

  // ---- Virtual table (order matters) ------------------------------------
#if defined(CORVANE_BUILD)
  // The cross-section build's first slot, before the destructor: the first
  // and second minimum lengths (m) for a design speed (km/h); -1000 for both
  // when the speed has none (at or below 0, or below 40).
  virtual void MinLengthsBySpeed(double speed, double& first, double& second) const;
#endif

  // Writes `value` with `decimals` decimals (0 to 20) into `buffer`, bounded by
  // `size`.
  BAS_DRAW_PLAN_VIRTUAL void FormatReal(double value, int decimals, char* buffer, size_t size) const;
  template <size_t N>
  void FormatReal(double value, int decimals, char (&buffer)[N]) const {
    FormatReal(value, decimals, buffer, N);
  }

  virtual ~BAS_DRAW_FUN();

  // Point at the mileage `point.mileage` on an element list of n records
  // (records 0 .. n must exist). Fills x, y, bearing and radius and returns the
  // type (1 to 6) of the element that holds the mileage; the last element
  // accepts 0.001 m more. -9 when no element holds it (the point is then left
  // as it was).
  BAS_DRAW_PLAN_VIRTUAL int PointAtDistance(const PlacedElement* elements, int n, LinePoint& point) const;

  // Mileage of (x, y) by interpolation between the key points of the list
  // (the start point, then the start of every element and the end of the
  // line). -1, with a note on the command line, when the point is off the line.
  BAS_DRAW_PLAN_VIRTUAL double DistanceOfPointByKeyPoints(double x, double y, const PlacedElement* elements,
                                                          int n) const;

  // Casts the normal of this line at `mileage` (towards bearing + π/2) onto
  // the other line. On a hit: `spacing` the signed distance along that normal
  // (0 below 1e-4), `otherMileage` and `otherPoint` the hit on the other line;
  // returns 1. When the point lies on the other line the spacing is 0 and the
  // result 1. When the normal misses (or the mileage is off this line) the
  // spacing is 0, `otherPoint` is this line's point and the result 0.
  BAS_DRAW_PLAN_VIRTUAL int SpacingToOtherLine(double mileage, const PlacedElement* elements, int n,
                                               const PlacedElement* otherElements, int otherN,
                                               double& spacing, double& otherMileage,
                                               LinePoint& otherPoint) const;

  // ---- Angles and points --------------------------------------------------
  // Adds 2π once when below 0, subtracts 2π once when above 2π.
  static void NormalizeAngle(double& angle);

  // The drawing point at distance d from p in the direction of bearing b
  // (drawing X carries east, Y north): (x + d·sin b, y + d·cos b, 0).
  static void PolarPoint(const ads_point p, double d, double b, ads_point out);
  template <class Point3d>
  static void PolarPoint(const Point3d& p, double d, double b, Point3d& out) {
    const ads_point in = {p.x, p.y, p.z};
    ads_point result;
    PolarPoint(in, d, b, result);
    out.x = result[0];
    out.y = result[1];
    out.z = result[2];
  }

  // ---- Curves and elements ------------------------------------------------
  // Transition angles, shifts, tangent lengths and length of a curve with
  // deflection `deflectionDms` (packed degrees), radius R and transitions L1,
  // L2 (a transition below 0.0001 m counts as none). Returns 1.
  static int CurveTangentsAndLength(double deflectionDms, double R, double L1, double L2, CurveTangents& out);

  // State at distance s along one element from its start state. The result
  // mileage is always start.mileage + s. FALSE when s lies beyond the end of a
  // partial clothoid (types 5 and 6, with 0.01 m allowance) or before the start
  // of a type 6; then only the mileage is written. Unknown types write only the
  // mileage and give TRUE.
  static BOOL PointAtDistanceOnElement(const LinePoint& start, LinePoint& out, double s, const LineElement& element);

  // Mileage of a point lying on arc element i, from its chord to the element's
  // start.
  static double ArcDistanceOfPoint(double x, double y, const PlacedElement* elements, int i);

  // Mileage of the foot of (x, y) on the line, -1 (with a note on the command
  // line) when no element takes the point. A point before the start gives the
  // start mileage; one beyond the end of a closing straight a mileage beyond
  // the end.
  double ProjectPointOnAlignment(const PlacedElement* elements, int n, double x, double y) const;

  // Crossing of the line through (x, y) along `bearing` with the element
  // list: the mileage of the crossing nearest (x, y), its point in hitX, hitY.
  // -1 when the line crosses no element (hitX, hitY are then x, y).
  static double NormalRayIntersection(const PlacedElement* elements, int n, double x, double y, double bearing,
                                      double& hitX, double& hitY);

  // Side of the other line on which `point` lies, seen along the point's
  // bearing: 0 when the point is on the other line (within 0.001 m of its
  // foot), +1 when the foot lies to the right of the bearing (the bearing
  // grows towards it), -1 otherwise.
  int SideOfOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN) const;

  // Crossing (X, Y) of the lines through the two segments: -1 when parallel
  // (X, Y untouched), 0 when it lies within both segments (1e-5 allowance),
  // 1 otherwise.
  static int IntersectSegments(double& X, double& Y, double x1, double y1, double x2, double y2, double x3,
                               double y3, double x4, double y4);

  // ---- Chainage texts -----------------------------------------------------
  // "<prefix><km>+<mmm.mm>", the metres with two decimals and three integer
  // digits; a whole kilometre is written "<prefix><km>+000". Negative values
  // are written "<prefix>-<km>+<mmm.mm>".
  static void ChainageToText(const CString& prefix, double value, char* buffer, size_t size);
  template <size_t N>
  static void ChainageToText(const CString& prefix, double value, char (&buffer)[N]) {
    ChainageToText(prefix, value, buffer, N);
  }

  // "<prefix><km>+<mmm>[.<decimals>]" with the metres through FormatReal.
  // Returns `buffer`.
  const char* FormatChainageWithPrecision(const char* prefix, double value, int decimals, char* buffer,
                                          size_t size) const;
  template <size_t N>
  const char* FormatChainageWithPrecision(const char* prefix, double value, int decimals, char (&buffer)[N]) const {
    return FormatChainageWithPrecision(prefix, value, decimals, buffer, N);
  }

  // The same for a value given as text, with the metres through acdbRToS.
  static CString FormatChainageCString(const CString& prefix, const CString& valueText, int decimals);

  // Packed angle d.mmss as "<d>%%d<mm>'<ss.s>\"" (the drawing's degree-sign
  // code), the seconds with `decimals` decimals (0 to 8) and two integer
  // digits; seconds and minutes that reach 60 carry.
  static void FormatDmsAngle(double dms, int decimals, char* buffer, size_t size);
  template <size_t N>
  static void FormatDmsAngle(double dms, int decimals, char (&buffer)[N]) {
    FormatDmsAngle(dms, decimals, buffer, N);
  }

  // Continuous mileage of a chainage text through a break table of `count`
  // records, checking the prefixes round each break (the walk and messages of
  // the alignment model's conversion: 0.00005 m at both ends of the table).
  // Inconsistent prefixes, a chainage found at several places and one found
  // at none are shown in message boxes; the mileage is returned in every case
  // (the chainage value itself when it is found nowhere).
  static double ChainageTextToMileage(const char* text, int count, const BreakRecord* breaks);
  static double CheckChainageBreakPrefixes(const char* text, int count, const BreakRecord* breaks) {
    return ChainageTextToMileage(text, count, breaks);
  }

  // ---- Drawing members (model-space helpers) are declared here -----------

#if defined(CORVANE_BUILD)
  // ---- Members of the cross-section build --------------------------------
  // Clothoid coordinates by the closed four-term polynomials (A > 0).
  static double SpiralX(double A, double l);
  static double SpiralY(double A, double l);
  // As PointAtDistanceOnElement, with SpiralX and SpiralY.
  static BOOL PointOnElementAtDistance(const LinePoint& start, LinePoint& out, double s, const LineElement& element);
  // As PointAtDistance, walking the elements with PointOnElementAtDistance.
  static int PointAtMileage(const PlacedElement* elements, int n, LinePoint& point);
  // Mileage of the foot of (x, y) on the line, never below the start
  // mileage; -1, without a message, when no span of the line takes the point.
  static double MileageOfPointOnElements(const PlacedElement* elements, int n, double x, double y);
  // As NormalRayIntersection, the trial points on arcs and clothoids walking
  // until one lies within 0.0001 m of the ray's line; trial points that walk
  // off their element or do not settle give no crossing there.
  static double RayElementsIntersection(const PlacedElement* elements, int n, double x, double y, double bearing,
                                        double& hitX, double& hitY);
  // As SideOfOtherLine, with MileageOfPointOnElements and PointAtMileage.
  static int NormalHitsOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN);
  // Carries a mileage of this line onto the other line along its normal
  // (towards bearing + π/2): `offset` the signed distance to the crossing (0
  // below 0.0006), `otherMileage` and (x, y) the crossing; returns 1. A point
  // that lies on the other line gives offset 0, its foot's mileage and the
  // point itself. A normal that misses the other line (or a mileage off this
  // line) gives offset 0, the point itself and 0.
  static int MileageOnOtherLine(double mileage, const PlacedElement* elements, int n,
                                const PlacedElement* otherElements, int otherN, double& offset, double& otherMileage,
                                double& x, double& y);
  // ln Γ(x), P(a, x), Q(a, x) (with ln Γ(a) in gln when given) and Q(a, x).
  static double LnGamma(double x);
  static double IncompleteGammaSeries(double a, double x, double* gln = nullptr);
  static double IncompleteGammaFraction(double a, double x, double* gln = nullptr);
  static double GammaQ(double a, double x);
  // "<prefix><km>+<mmm>[.<decimals>]" through acdbRToS (decimals 0 to 8; -1
  // the drawing's default, 4); the kilometres and metres are those of the
  // value rounded to the decimals.
  static CString FormatChainageRToS(const char* prefix, double mileage, int decimals);
#endif
#if defined(PELLORY_BUILD)
  // ---- Members of the ground-line input build ----------------------------
#endif
#if defined(BREVELL_BUILD)
  // ---- Members of the plan-drawing build ---------------------------------
#endif
};
