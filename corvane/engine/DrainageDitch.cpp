// The drainage ditch (排水沟) beyond the toe of a fill: a berm falling
// outwards from the slope at the ditch's cross slope, then the trapezoidal
// ditch whose outer top lies on the ground.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"

int CrossSectionDesigner::DrainageDitchOutline(const PairXY& outerTop, double depth, double bottomWidth,
                                               double innerRatio, double outerRatio, double rise,
                                               const PairXY& first, const PairXY& second,
                                               PairXY out[kDrainageDitchPoints]) {
  const PairXY outerBottom{outerTop.x - depth * outerRatio, outerTop.y - depth};
  const PairXY innerBottom{outerBottom.x - bottomWidth, outerBottom.y};
  const PairXY innerTop{innerBottom.x - depth * innerRatio, outerTop.y};
  // The berm: y = innerTop.y + rise × (innerTop.x − x), met with the line
  // through the surface segment.
  int n = 0;
  const double sx = second.x - first.x, sy = second.y - first.y;
  const double den = sy + rise * sx;  // zero when the berm runs parallel to the segment
  bool crossed = false;
  PairXY crossing;
  if (std::fabs(den) > 1e-12) {
    const double u = (innerTop.y + rise * (innerTop.x - first.x) - first.y) / den;
    crossing = {first.x + u * sx, first.y + u * sy};
    crossed = crossing.x < innerTop.x;  // a berm has to run inwards from the ditch
  }
  if (!crossed) {
    out[n++] = second;
  } else if (crossing.y >= first.y) {
    out[n++] = first;
  } else if (crossing.y > second.y) {
    out[n++] = crossing;
  } else {
    out[n++] = second;
    out[n++] = crossing;
  }
  out[n++] = innerTop;
  out[n++] = innerBottom;
  out[n++] = outerBottom;
  out[n++] = outerTop;
  return n;
}

int CrossSectionDesigner::PlaceDrainageDitch(double ditchLevel, double referenceElevation,
                                             const DrainageDitchStandard& ditch, int designCount, const PairXY* design,
                                             int groundCount, const PairXY* ground, int& count,
                                             PairXY out[kDrainageDitchPoints]) {
  count = 0;
  if (design == nullptr || ground == nullptr || designCount < 6 || groundCount < 2) return 0;
  // The slope's last leg, from its start outwards to the toe.
  const PairXY& start = design[designCount - 2];
  const PairXY& toe = design[designCount - 1];
  PairXY crossing = toe;
  const double dx = toe.x - start.x, dy = toe.y - start.y;
  if (dx > 1e-9) {
    // The first crossing of the leg's line with the ground outwards of its
    // start, searched up to the far side of the section.
    const double k = std::max(1.0, (1000.0 - start.x) / dx);
    if (IntersectLineWithPolyline(start.x, start.y, k * dx, k * dy, 0.0, 0.0, ground, groundCount, crossing) == 0)
      return 0;
  }
  if (crossing.y >= start.y - 0.001) {
    // The ground meets the leg's line at or above the leg's start (a flat
    // berm met by rising ground; 1 mm allowance): the fill may be too low
    // there for a ditch beside it.
    if (designCount < 7) return 3;
    if (crossing.y + referenceElevation >= ditchLevel) return 3;
  } else {
    const double slope = GroundCrossSlope(start, crossing.x, groundCount, ground);
    if (!(slope >= -0.04)) return 4;  // the ground falls away: no ditch
  }
  const double topWidth = ditch.depth * (ditch.innerRatio + ditch.outerRatio) + ditch.bottomWidth;
  const double outerX = crossing.x + ditch.distance + topWidth;
  double outerY = 0.0;
  int index = 0;
  if (InterpolateOnPolyline(outerX, groundCount, ground, outerY, index) == 0) return 0;
  count = DrainageDitchOutline({outerX, outerY}, ditch.depth, ditch.bottomWidth, ditch.innerRatio,
                               ditch.outerRatio, ditch.crossSlope, start, toe, out);
  return 1;
}
