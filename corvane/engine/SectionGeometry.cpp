// Plane-geometry routines on cross-section polylines: interpolation, the
// crossing of a slope leg with the ground, fill and cut between two
// polylines, crossings of lines with polylines, and the outlines of lined
// ditches and point symbols that the drawing builds from a designed side.

#include <algorithm>
#include <cmath>
#include <memory>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "SectionGeometry.h"
#include "arx/dbents.h"
#include "arx/dbpoly.h"

namespace {

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Crossing of the segments p0 → p1 and q0 → q1 with their parameters (0 at
// the first point, 1 at the second). False when they are parallel, overlap
// or do not meet.
bool SegmentCrossing(const PairXY& p0, const PairXY& p1, const PairXY& q0, const PairXY& q1, PairXY& at,
                     double& t) {
  const double d1x = p1.x - p0.x, d1y = p1.y - p0.y;
  const double d2x = q1.x - q0.x, d2y = q1.y - q0.y;
  const double den = Cross(d1x, d1y, d2x, d2y);
  const double scale = std::hypot(d1x, d1y) * std::hypot(d2x, d2y);
  if (scale == 0.0 || std::fabs(den) <= 1e-12 * scale) return false;
  const double ex = q0.x - p0.x, ey = q0.y - p0.y;
  t = Cross(ex, ey, d2x, d2y) / den;
  const double u = Cross(ex, ey, d1x, d1y) / den;
  constexpr double kEps = 1e-9;
  if (t < -kEps || t > 1 + kEps || u < -kEps || u > 1 + kEps) return false;
  at.x = p0.x + t * d1x;
  at.y = p0.y + t * d1y;
  return true;
}

// The corner offset of a lining at the foot of a wall of ratio r: the
// tangent of half the wall's angle to the horizontal (a vertical wall, r 0,
// gives tan 45°).
double LiningCornerFactor(double ratio) {
  const double angle = ratio == 0.0 ? std::atan2(1.0, 0.0) : std::atan2(1.0 / ratio, 1.0);
  return std::tan(angle / 2);
}

void LinedDitch(int side, double lining, double ratio1, double ratio2, double depth, const PairXY corners[3],
                double f, int& count, PairXY outline[kLinedDitchPoints]) {
  const double s = side < 0 ? -1.0 : 1.0;
  const PairXY& c0 = corners[0];
  const PairXY& c1 = corners[1];
  const PairXY& c2 = corners[2];
  const PairXY innerTop{c0.x - s * f * ratio1 * depth, c0.y + f * depth};
  PairXY outerTop{c1.x + s * f * ratio2 * depth, c1.y + f * depth};
  if (outerTop.y > c2.y) outerTop.y = c2.y;
  const double t = lining * f;
  outline[0] = innerTop;
  outline[1] = c0;
  outline[2] = c1;
  outline[3] = outerTop;
  outline[4] = {outerTop.x + s * t * std::sqrt(ratio2 * ratio2 + 1), outerTop.y};
  outline[5] = {c1.x + s * t * LiningCornerFactor(ratio2), c1.y - t};
  outline[6] = {c0.x - s * t * LiningCornerFactor(ratio1), c0.y - t};
  outline[7] = {innerTop.x - s * t * std::sqrt(ratio1 * ratio1 + 1), innerTop.y};
  outline[8] = innerTop;
  count = kLinedDitchPoints;
}

}  // namespace

// ---- Planar crossings (the drawing database's intersection) ---------------

namespace {

// A temporary 2D polyline through the points (not in any drawing).
std::unique_ptr<AcDb2dPolyline> TemporaryPolyline(const PairXY* points, int count) {
  AcGePoint3dArray vertices;
  for (int i = 0; i < count; ++i) vertices.append(AcGePoint3d(points[i].x, points[i].y, 0.0));
  return std::make_unique<AcDb2dPolyline>(AcDb::k2dSimplePoly, vertices);
}

int AppendCrossings(const AcDbEntity& self, const AcDbEntity& other, std::vector<PairXY>& out) {
  AcGePoint3dArray crossings;
  if (self.intersectWith(&other, AcDb::kOnBothOperands, crossings) != Acad::eOk) return 0;
  for (int i = 0; i < crossings.length(); ++i) out.push_back({crossings[i].x, crossings[i].y});
  return crossings.length();
}

}  // namespace

int IntersectPolylineWithSegment(const PairXY* points, int count, const PairXY& a, const PairXY& b,
                                 std::vector<PairXY>& out) {
  if (points == nullptr || count < 2) return 0;
  const std::unique_ptr<AcDb2dPolyline> polyline = TemporaryPolyline(points, count);
  const AcDbLine line(AcGePoint3d(a.x, a.y, 0.0), AcGePoint3d(b.x, b.y, 0.0));
  return AppendCrossings(*polyline, line, out);
}

int IntersectPolylines(const PairXY* first, int firstCount, const PairXY* second, int secondCount,
                       std::vector<PairXY>& out) {
  if (first == nullptr || second == nullptr || firstCount < 2 || secondCount < 2) return 0;
  const std::unique_ptr<AcDb2dPolyline> a = TemporaryPolyline(first, firstCount);
  const std::unique_ptr<AcDb2dPolyline> b = TemporaryPolyline(second, secondCount);
  return AppendCrossings(*a, *b, out);
}

// ---- Frame ------------------------------------------------------------------

SectionFrame SectionFrame::Current(double originX, double originY, double referenceElevation, double baseElevation) {
  SectionFrame frame;
  frame.originX = originX;
  frame.originY = originY;
  frame.referenceElevation = referenceElevation;
  frame.baseElevation = baseElevation;
  frame.factor = g_DrawingFactor;
  return frame;
}

PairXY SectionFrame::ToDrawing(const PairXY& local) const { return {ToDrawingX(local.x), ToDrawingY(local.y)}; }

// ---- Polyline queries -------------------------------------------------------

int CrossSectionDesigner::InterpolateOnPolyline(double x, int count, const PairXY* points, double& value,
                                                int& index) {
  if (points == nullptr || count <= 0) {
    value = 0.0;
    index = 0;
    return 0;
  }
  value = points[0].y;
  int i = 0;
  while (i < count && !(x <= points[i].x + 0.0001)) ++i;
  if (i == count) {
    value = points[count - 1].y;
    index = count - 1;
    return 0;
  }
  if (i == 0) {
    index = 0;
    return -1;
  }
  index = i - 1;
  const PairXY& a = points[i - 1];
  const PairXY& b = points[i];
  const double dx = b.x - a.x;
  value = std::fabs(dx) < 1e-12 ? b.y : a.y + (x - a.x) * (b.y - a.y) / dx;
  return 1;
}

double CrossSectionDesigner::GroundHeightAbove(double offset, int count, const PairXY* pairs,
                                               double centreElevation, double base) {
  if (pairs == nullptr || count <= 0) return -10000.0;
  const double d = std::fabs(offset);
  int i = 0;
  while (i < count && pairs[i].x < d) ++i;
  if (i == count) return -10000.0;
  double h = pairs[i].y;
  if (i > 0) {
    const PairXY& a = pairs[i - 1];
    const PairXY& b = pairs[i];
    h = std::fabs(b.x - a.x) > 0.001 ? a.y + (d - a.x) * (b.y - a.y) / (b.x - a.x) : a.y;
  }
  return centreElevation - h - base;
}

int CrossSectionDesigner::IntersectSegmentWithGround(int startIndex, int count, const PairXY* ground,
                                                     const PairXY& a, const PairXY& b, PairXY& hit) {
  if (ground == nullptr) return 100;
  const int first = std::max(startIndex, 0);
  if (first >= count - 1) return 100;
  int result = 100;
  for (int k = first; k + 1 < count; ++k) {
    double X = 0.0, Y = 0.0;
    result = BAS_DRAW_FUN::IntersectSegments(X, Y, a.x, a.y, b.x, b.y, ground[k].x, ground[k].y, ground[k + 1].x,
                                             ground[k + 1].y);
    if (result == 0) {
      hit = {X, Y};
      return 0;
    }
  }
  return result;
}

int CrossSectionDesigner::IntersectSlopeWithGround(int startIndex, int count, const PairXY* ground, double side,
                                                   double dirX, const PairXY& start, double run, PairXY& hit) {
  const PairXY end{start.x + 1.1 * run * dirX, start.y + 1.1 * run * side};
  return IntersectSegmentWithGround(startIndex, count, ground, start, end, hit);
}

void CrossSectionDesigner::FillCutAreas(int designCount, const PairXY* design, int groundCount,
                                        const PairXY* ground, double& fill, double& cut) {
  fill = 0.0;
  cut = 0.0;
  if (design == nullptr || ground == nullptr || designCount < 2 || groundCount < 1) return;
  for (int j = 0; j + 1 < designCount; ++j) {
    PairXY P = design[j], Q = design[j + 1];
    double gP = 0.0, gQ = 0.0;
    int iP = 0, iQ = 0;
    if (InterpolateOnPolyline(P.x, groundCount, ground, gP, iP) == 0) return;
    if (InterpolateOnPolyline(Q.x, groundCount, ground, gQ, iQ) == 0) return;
    if (std::fabs(Q.x - P.x) < 0.00001) continue;
    if (Q.x < P.x) {  // a segment drawn backwards is measured left to right
      std::swap(P, Q);
      std::swap(gP, gQ);
      std::swap(iP, iQ);
    }
    const int last = std::min(iQ + 1, groundCount - 1);
    const double slope = (Q.y - P.y) / (Q.x - P.x);
    double xL = P.x, dL = P.y, gL = gP;
    auto strip = [&](double xR, double dR, double gR) {
      const double w = xR - xL;
      const double fL = dL - gL, fR = dR - gR;
      if (fL * fR < 0.0) {
        const double xc = xL + w * fL / (fL - fR);
        const double parts[2] = {(xc - xL) * fL / 2, (xR - xc) * fR / 2};
        for (double a : parts) {
          if (a > 0.0) fill += a;
          else cut -= a;
        }
      } else {
        const double a = w * (fL + fR) / 2;
        if (a > 0.0001) fill += a;
        else if (a < -0.0001) cut -= a;
      }
      xL = xR;
      dL = dR;
      gL = gR;
    };
    for (int k = std::max(iP, 0); k <= last; ++k) {
      const double xk = ground[k].x;
      if (xk <= P.x || xk >= Q.x) continue;
      strip(xk, P.y + slope * (xk - P.x), ground[k].y);
    }
    strip(Q.x, Q.y, gQ);
  }
}

void CrossSectionDesigner::MergeSlopePoints(int count, const PairXY* points, std::vector<PairXY>& out, double ML,
                                            double& firstX, double& endX, double& steepLength,
                                            double& gentleLength) {
  if (points == nullptr || count <= 0) return;
  firstX = ML + points[0].x;
  endX = ML + points[count - 1].x;
  for (int i = 0; i < count; ++i) {
    out.push_back(points[i]);
    if (i < 5) continue;  // legs are summed from the fifth point on
    const double dx = std::fabs(points[i].x - points[i - 1].x);
    const double dy = std::fabs(points[i].y - points[i - 1].y);
    const double length = std::hypot(dx, dy);
    if (dx <= 0.001 || dy / dx >= 0.5) steepLength += length;
    else gentleLength += length;
  }
}

void CrossSectionDesigner::ZeroCrossing(double a, double b, double va, double vb, double& ratio, double& position) {
  ratio = (std::fabs(va) > 0.0001 && va * vb < 0.0) ? std::fabs(vb) / std::fabs(va) : 1.0;
  position = (a * ratio + b) / (ratio + 1);
}

int CrossSectionDesigner::IntersectLineWithPolyline(double x0, double y0, double dx1, double dy1, double dx2,
                                                    double dy2, const PairXY* points, int count, PairXY& point) {
  const PairXY first{x0 + dx1, y0 + dy1};
  const PairXY second{x0 + dx2, y0 + dy2};
  std::vector<PairXY> crossings;
  IntersectPolylineWithSegment(points, count, first, second, crossings);
  double best = 1000.0;
  const PairXY* chosen = nullptr;
  for (const PairXY& c : crossings)
    if (c.x > second.x && c.x < best) {
      best = c.x;
      chosen = &c;
    }
  if (chosen == nullptr || best > 999.0) return 0;
  point = *chosen;
  return point.y >= first.y ? 2 : 1;
}

// ---- Outlines for the drawing ----------------------------------------------

void CrossSectionDesigner::BuildLinedDitch(int side, double lining, double ratio1, double ratio2, double depth,
                                           const PairXY corners[3], int& count, PairXY outline[kLinedDitchPoints]) {
  LinedDitch(side, lining, ratio1, ratio2, depth, corners, g_DrawingFactor, count, outline);
}

void CrossSectionDesigner::BuildDitchFromSideBlock(int side, double lining, double ratio1, double ratio2,
                                                   double depth, int designCount, const PairXY* design,
                                                   const SectionFrame& frame, int& count,
                                                   PairXY outline[kLinedDitchPoints]) {
  count = 0;
  if (design == nullptr || designCount < 8) return;
  const PairXY corners[3] = {frame.ToDrawing(design[5]), frame.ToDrawing(design[6]), frame.ToDrawing(design[7])};
  LinedDitch(side, lining, ratio1, ratio2, depth, corners, frame.factor, count, outline);
}

void CrossSectionDesigner::BuildDitchByType(int side, double lining, double ratio1, double ratio2, double depth,
                                            int ditchCount, const PairXY* ditch, const SectionFrame& frame,
                                            int& count, PairXY outline[kLinedDitchPoints]) {
  count = 0;
  if (ditch == nullptr || (ditchCount != 5 && ditchCount != 6)) return;
  const int k = ditchCount == 5 ? 2 : 3;
  const PairXY corners[3] = {frame.ToDrawing(ditch[k]), frame.ToDrawing(ditch[k + 1]),
                             frame.ToDrawing(ditch[k + 2])};
  LinedDitch(side, lining, ratio1, ratio2, depth, corners, frame.factor, count, outline);
}

void CrossSectionDesigner::BuildDitchOnGround(int side, double lining, double ratio1, double ratio2, double depth,
                                              int ditchCount, const PairXY* ditch, int groundCount,
                                              const PairXY* ground, const SectionFrame& frame, int& count,
                                              PairXY outline[kLinedDitchPoints]) {
  count = 0;
  if (ditch == nullptr || ditchCount < 4) return;
  const PairXY corners[3] = {frame.ToDrawing(ditch[1]), frame.ToDrawing(ditch[2]), frame.ToDrawing(ditch[3])};
  LinedDitch(side, lining, ratio1, ratio2, depth, corners, frame.factor, count, outline);
  // Carry the outer lining face from its foot up to the ground.
  std::vector<PairXY> drawnGround;
  if (ground != nullptr)
    for (int i = 0; i < groundCount; ++i) drawnGround.push_back(frame.ToDrawing(ground[i]));
  const double s = side < 0 ? -1.0 : 1.0;
  PairXY hit;
  if (IntersectSlopeWithGround(0, static_cast<int>(drawnGround.size()), drawnGround.data(), 1.0, s * ratio2,
                               outline[5], 100 * frame.factor, hit) == 0)
    outline[4] = hit;
  else
    outline[4] = outline[3];
}

void CrossSectionDesigner::BuildPointSymbol(int side, double x, double y, const PairXY& other, int& count,
                                            PairXY outline[kPointSymbolPoints]) {
  const double f = g_DrawingFactor;
  const double s = side < 0 ? -1.0 : 1.0;
  const PairXY innerTop{x, y + 0.5 * f};
  const PairXY innerBottom{x, y - 0.5 * f};
  // The leader runs from the square towards the centre line, stopping where
  // it meets the design line that ends at (x, y).
  PairXY leaderEnd{x - s * 100 * f, innerTop.y + 4 * f};
  PairXY at;
  double t;
  if (SegmentCrossing(innerTop, leaderEnd, other, {x, y}, at, t) && t > 1e-9) leaderEnd = at;
  outline[0] = leaderEnd;
  outline[1] = innerTop;
  outline[2] = {x + s * f, innerTop.y};
  outline[3] = {x + s * f, innerBottom.y};
  outline[4] = innerBottom;
  outline[5] = {x, y};
  outline[6] = innerTop;
  count = kPointSymbolPoints;
}
