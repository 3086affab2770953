#pragma once
// Small helpers on element-list records shared by the geometry sources.

#include "geometry/LineElement.h"
#include "win/wintypes.h"

// The state at the start of a placed element.
inline LinePoint StartStateOf(const PlacedElement& element) {
  return LinePoint{element.x, element.y, element.bearing, element.radius, element.mileage};
}

// The clothoid coordinates an element walk places its points with: x and y of
// the point at arc length l from the straight end.
struct ClothoidCoordinates {
  double (*x)(double A, double l);
  double (*y)(double A, double l);
};

// State at distance s along one element from its start state, its clothoid
// points placed by `clothoid`. The result mileage is always start.mileage + s.
// FALSE when s lies beyond the end of a partial clothoid (types 5 and 6, with
// 0.01 m allowance) or before the start of a type 6; then only the mileage is
// written. Unknown types write only the mileage and give TRUE.
BOOL PointOnElementBy(const ClothoidCoordinates& clothoid, const LinePoint& start, LinePoint& out, double s,
                      const LineElement& element);

// A walk over one element, as PointOnElementBy with its clothoid coordinates.
using ElementWalker = BOOL (*)(const LinePoint& start, LinePoint& out, double s, const LineElement& element);

// Point at the mileage `point.mileage` on an element list of n records, by
// `walk` on the element that holds it; the type (1 to 6) of that element, or
// -9 when none holds it (the point is then left as it was).
int PointAtMileageBy(ElementWalker walk, const PlacedElement* elements, int n, LinePoint& point);

// The point at `mileage` on the tangent at the line's start (before it) or at
// its end (otherwise), with an infinite radius.
LinePoint PointOnEndTangent(const PlacedElement* elements, int n, double mileage);

// The line of a ray from (x, y) along the unit direction (a, b).
struct RayLine {
  double x, y, a, b;
  // Signed distance of a point from the line.
  double Cross(double px, double py) const { return a * (py - y) - b * (px - x); }
};

// Where the line of `ray` crosses the arc or clothoid `element` (its end state
// in `next`), whose ends lie at signed distances c1 and c2 from that line on
// opposite sides: true with the crossing and its mileage, false when none is
// found.
using CurvedRayCrossing = bool (*)(const RayLine& ray, const PlacedElement& element, const PlacedElement& next,
                                   double c1, double c2, double& hitX, double& hitY, double& mileage);

// Crossing of the line through (x, y) along `bearing` with the element list:
// an element start on that line, the end of the line on it, a straight by
// intersection and an arc or clothoid by `curved`. The crossing nearest (x, y)
// wins among those nearer than `noHit`; when it lies nearer than `hitLimit`
// its mileage is returned and its point written to hitX, hitY, otherwise -1
// with hitX, hitY set to x, y.
double RayCrossingBy(CurvedRayCrossing curved, double noHit, double hitLimit, const PlacedElement* elements, int n,
                     double x, double y, double bearing, double& hitX, double& hitY);
