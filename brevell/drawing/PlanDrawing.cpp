// AlignmentModel: the plan drawing in one pass (DrawPlan), the IPs with
// their tangent lines, and the detour segments of the side lines with their
// own elements and chainage marks.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "arx/dbents.h"
#include "arx/edoutput.h"
#include "geometry/DrawSupport.h"

namespace {

using plandraw::kPi;

// The crossing of the line through a and b with the line through c and d
// (drawing points); false when they are parallel.
bool Crossing(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c, const AcGePoint3d& d, AcGePoint3d& at) {
  double x, y;
  if (BAS_DRAW_FUN::IntersectSegments(x, y, a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y) < 0) return false;
  at.set(x, y, 0.0);
  return true;
}

}  // namespace

void AlignmentModel::DrawPlan() {
  PrepareLines();
  const PlanLine& base = Line(kBaseLine);
  if (!base.HasElements()) {
    acutPrintf("\n基线没有线元,未绘平面图!\n");
    return;
  }
  const double k = settings.scaleFactor;
  const int d = settings.direction;
  const bool left = Line(kLeftLine).loaded;
  const bool right = Line(kRightLine).loaded;

  // Centre lines; in the three-line mode the side lines are drawn as tunnel lines.
  DrawCenterline(base.range.start, base.range.end, 1, kBaseLine);
  const int sideKind = settings.sideLineMode ? 0 : 1;
  for (int code : {kLeftLine, kRightLine}) {
    if (Line(code).loaded) DrawCenterline(Line(code).range.start, Line(code).range.end, sideKind, code);
  }

  DrawIntersectionPoints(kBaseLine);
  if (left) DrawIntersectionPoints(kLeftLine);
  if (right) DrawIntersectionPoints(kRightLine);

  if (k < kNoCurveLabels) {
    DrawCurveElementLabels(kBaseLine);
    if (left) DrawCurveElementLabels(kLeftLine);
    if (right) DrawCurveElementLabels(kRightLine);
  }

  // The base line's marks stand on the side away from a single side line,
  // and the detour segments' marks on that line's outer side.
  int markSide = d;
  if (left && !right) {
    markSide = 1;
    settings.directionSetting = 1;
  } else if (right && !left) {
    markSide = -1;
    settings.directionSetting = -1;
  } else if (left && right) {
    markSide = -1;
  }
  DrawMainChainageMarks(settings.chainageMarkInterval, markSide, 2, -d);
  if (left) BuildLineSegments();
  if (right) BuildRightLineSegments();

  if (k >= kShortCurveLabels) return;
  const int baseTickSide = left && !right ? 1 : right && !left ? -1 : settings.labelSide;
  DrawKeyPointLabels(baseTickSide, -d, kBaseLine);
  if (left) DrawKeyPointLabels(-1, -d, kLeftLine);
  if (right) DrawKeyPointLabels(1, -d, kRightLine);

  if (k < kSideLinesApart) {
    if (left) DrawLineSpacing(kLeftLine, -d);
    if (right) DrawLineSpacing(kRightLine, -d);
  }
}

void AlignmentModel::DrawIntersectionPoints(int code) {
  const PlanLine& line = Line(code);
  const double k = settings.scaleFactor;
  if (line.pointCount < 3 || !line.HasElements()) return;
  const char* tangentLayer = PlanLayerOf(kLayerTangent, code);
  const char* ipLayer = PlanLayerOf(kLayerIp, code);
  const AcDbObjectId ipLayerId = IpLayerId(code).isNull() ? drawsupport::LayerId(ipLayer) : IpLayerId(code);
  const int first = std::max(1, line.range.firstCurve);
  const int last = std::min(line.range.lastCurve, line.pointCount - 2);
  for (int i = first; i <= last; ++i) {
    if (code != kBaseLine) {
      // A side line shows its own IPs: those of its sections, and at small
      // scales only the IPs of its detour segments.
      if (i >= static_cast<int>(line.records.size())) break;
      const SideLineRecord& r = line.records[i];
      if (!r.visited || !(r.kind == kSideDetour || k <= kSideLinesApart)) continue;
    }
    const CurveKeyPoints& kp = line.areas.keyPoints[i];
    LinePoint zh, hy, yh, hz;
    if (!PointAt(code, kp.ZH, zh) || !PointAt(code, kp.HZ, hz)) continue;
    AcGePoint3d ip(line.points[i].E, line.points[i].N, 0.0);
    AcGePoint3d from = plandraw::At(zh);
    AcGePoint3d to = plandraw::At(hz);
    if (code != kBaseLine && k >= kSideLinesApart) {
      // Drawn beside the line: the IP where the moved transition chords cross,
      // or (a curve without transitions) where the moved tangents do.
      const double side = code < 0 ? -kPi / 2.0 : kPi / 2.0;
      auto moved = [&](const LinePoint& p) {
        return plandraw::At(plandraw::Moved(p, DetourShift(), p.bearing + side));
      };
      if (!PointAt(code, kp.HY, hy) || !PointAt(code, kp.YH, yh)) continue;
      from = moved(zh);
      to = moved(hz);
      if (!Crossing(from, moved(hy), moved(yh), to, ip) &&
          !Crossing(from, plandraw::Polar(from, 1.0, zh.bearing), to, plandraw::Polar(to, 1.0, hz.bearing), ip)) {
        acutPrintf("\n%s%d: 曲线两切线平行,未绘交点!\n", line.prefix, i);
        continue;
      }
    }
    AcGePoint2dArray polygon;
    polygon.append(AcGePoint2d(from.x, from.y));
    polygon.append(AcGePoint2d(ip.x, ip.y));
    polygon.append(AcGePoint2d(to.x, to.y));
    if (!plandraw::Finite(from) || !plandraw::Finite(ip) || !plandraw::Finite(to)) continue;
    DrawPolylineClipped(polygon, k, -1, -1, tangentLayer, nullptr, false);
    if (!(k > 0.0)) continue;
    auto* circle = new AcDbCircle(ip, AcGeVector3d::kZAxis, k);
    drawsupport::SetLayer(circle, ipLayerId);
    AddToModelSpace(circle);
  }
}

void AlignmentModel::BuildSideLineSegments(int code) {
  if (code == kBaseLine) return;
  const PlanLine& line = Line(code);
  const int segments = SegmentCount(code);
  const int labelSide = settings.directionSetting;
  const int side = code < 0 ? -std::abs(labelSide) : std::abs(labelSide);
  const int sign = code < 0 ? (labelSide > 0 ? -1 : 1) : (labelSide < 0 ? -1 : 1);
  for (int k = 0; k < segments; ++k) {
    std::vector<IntersectionPoint> points;
    const int n = SegmentPoints(code, k, points);
    int first, last;
    if (n < 2 || !BreakRange(code, k, first, last)) {
      acutPrintf("\n%s第%d个绕行段没有断链记录,未标注里程!\n", code < 0 ? "左线" : "右线", k + 1);
      continue;
    }
    PlanElementAreas areas;
    int count = 0;
    BuildPlanElements(points.data(), n, areas, count);
    std::vector<PlanBreakRecord> breaks(line.breaks.begin() + first, line.breaks.begin() + last + 1);
    DrawDetourChainageMarks(settings.chainageMarkInterval, side, 2, sign, areas.elements.data(), count, breaks.data(),
                            static_cast<int>(breaks.size()), code);
  }
}
