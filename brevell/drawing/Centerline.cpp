// AlignmentModel: the centre lines of the plan, ordinary and through
// tunnels.

#include <algorithm>
#include <cmath>
#include <vector>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/edoutput.h"

namespace {

// Sampling steps: an ordinary line every 5 × k metres, a tunnel every 5 m.
constexpr double kLineStepPerScale = 5.0;
constexpr double kTunnelStep = 5.0;
// Width of a side line's tunnel centre line in the three-line mode, per k.
constexpr double kThreeLineTunnelWidth = 0.35;
// A polyline of more vertices than this is not a centre line of any railway
// at any scale; its range or step is at fault.
constexpr double kMostVertices = 10'000'000.0;

// Turns a lightweight polyline into a 2D polyline with line-type generation
// on (its dashes run on over the vertices), keeping its id.
void ToPolylineWithLinetypeGeneration(AcDbObjectId id) {
  AcDbPolyline* light = nullptr;
  if (id.isNull() || acdbOpenObject(light, id, AcDb::kForWrite) != Acad::eOk) return;
  AcDb2dPolyline* heavy = nullptr;
  if (light->convertTo(heavy, Adesk::kTrue) != Acad::eOk || heavy == nullptr) {
    light->close();
    return;
  }
  delete light;  // the 2D polyline has taken its place
  heavy->setLinetypeGenerationOn();
  heavy->close();
}

}  // namespace

void AlignmentModel::DrawCenterline(double from, double to, int kind, int line) {
  const bool tunnel = kind != 1;
  const double step = tunnel ? kTunnelStep : kLineStepPerScale * settings.scaleFactor;
  const char* layer = PlanLayerOf(kLayerCenterline, line);
  if (!(to > from)) return;
  if (!(step > 0.0) || !std::isfinite(to - from) || (to - from) / step > kMostVertices) {
    acutPrintf("\n%s: 里程范围%.3f至%.3f或比例有误,未绘出中线!\n", layer, from, to);
    return;
  }
  AcGePoint2dArray points;
  auto add = [&](double mileage) {
    LinePoint p;
    if (!PointAt(line, mileage, p)) return;
    const AcGePoint3d at = plandraw::At(DrawnPoint(line, p));
    points.append(AcGePoint2d(at.x, at.y));
  };
  const long steps = static_cast<long>(std::ceil((to - from) / step));
  for (long i = 0; i < steps && from + i * step < to; ++i) add(from + i * step);
  add(to);

  const bool narrow = tunnel && settings.sideLineMode && line != kBaseLine;
  const double width = narrow ? kThreeLineTunnelWidth * settings.scaleFactor : settings.centerlineWidth;
  const AcDbObjectId id =
      MakeWidePolyline(points, width, -1, layer, tunnel ? "TUNNELMIDLINE" : "CONTINUOUS", settings.scaleFactor);
  if (tunnel) ToPolylineWithLinetypeGeneration(id);
}

void AlignmentModel::DrawTunnelCenterline(const MileageRange* ranges, int count, int line) {
  if (ranges == nullptr || count <= 0) return;
  DeleteLayerContents(PlanLayerOf(kLayerCenterline, line));
  const DrawingRange& range = Line(line).range;
  std::vector<double> bounds{range.start};
  for (int i = 0; i < count; ++i) {
    bounds.push_back(ranges[i].start);
    bounds.push_back(ranges[i].end);
  }
  bounds.push_back(range.end);
  for (size_t i = 0; i + 1 < bounds.size(); ++i) {
    const double from = std::max(bounds[i], range.start);
    const double to = std::min(bounds[i + 1], range.end);
    if (bounds[i + 1] < range.start || bounds[i] > range.end) continue;
    DrawCenterline(from, to, i % 2 == 0 ? 1 : 0, line);
  }
}

void AlignmentModel::RedrawPlainCenterline(int line) {
  DeleteLayerContents(PlanLayerOf(kLayerCenterline, line));
  const DrawingRange& range = Line(line).range;
  DrawCenterline(range.start, range.end, 1, line);
}
