#pragma once
// Plane geometry on cross-section polylines that the design and the drawing
// of sections share: the planar crossings of polylines and lines, and the
// frame that turns a section's local points into drawing coordinates.
//
// A polyline is an array of (x, y) points (PairXY), normally in increasing x.

#include <vector>

#include "SectionRecord.h"

// The crossing points of a polyline with the straight segment a → b, both
// taken as they are (not extended), appended to `out` in the order of the
// drawing database's intersection: along the polyline from its first
// vertex; a vertex where two of its segments meet is given once; segments
// that overlap the line give no point. Returns the number appended.
int IntersectPolylineWithSegment(const PairXY* points, int count, const PairXY& a, const PairXY& b,
                                 std::vector<PairXY>& out);

// The crossing points of two polylines, neither extended, appended to `out`
// along the first polyline (then along the second at one place of the
// first). Returns the number appended.
int IntersectPolylines(const PairXY* first, int firstCount, const PairXY* second, int secondCount,
                       std::vector<PairXY>& out);

// The frame of one drawn section: a local point (x, y), y relative to the
// section's reference elevation, lands on the sheet at
//   X = origin x + factor × x,
//   Y = (reference + y − base elevation) × factor + origin y.
struct SectionFrame {
  double originX = 0.0;
  double originY = 0.0;
  double referenceElevation = 0.0;
  double baseElevation = 0.0;
  double factor = 5.0;

  // The frame of a section placed on the sheet at (originX, originY) with the
  // global drawing factor.
  static SectionFrame Current(double originX, double originY, double referenceElevation, double baseElevation);

  PairXY ToDrawing(const PairXY& local) const;
  double ToDrawingX(double x) const { return originX + factor * x; }
  double ToDrawingY(double y) const { return (referenceElevation + y - baseElevation) * factor + originY; }
};

inline constexpr int kLinedDitchPoints = 9;
inline constexpr int kPointSymbolPoints = 7;
