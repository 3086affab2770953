// AlignmentModel: the traverse (survey control) of a line: its points as
// circles joined by lines, each point's name and elevation outside the turn
// of the traverse, and each leg's bearing along the leg.

#include <cmath>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "arx/dbents.h"
#include "geometry/DrawSupport.h"
#include "geometry/GeoFunctions.h"

namespace {

using plandraw::kPi;

}  // namespace

void AlignmentModel::DrawTraverse(int count, const double* N, const double* E, const CString* names,
                                  const double* values, const double* legValues, int line) {
  if (count < 1 || N == nullptr || E == nullptr) return;
  const char* layer = PlanLayerOf(kLayerTraverse, line);
  const double h = settings.textHeight;
  const double radius = 0.5 * settings.scaleFactor;
  const int setting = settings.directionSetting;
  auto point = [&](int i) { return AcGePoint3d(E[i], N[i], 0.0); };
  auto legBearing = [&](int i) {
    double bearing;
    DistanceAndDirection(N[i], E[i], N[i + 1], E[i + 1], bearing);
    return bearing;
  };

  AcGePoint2dArray points;
  for (int i = 0; i < count; ++i) points.append(AcGePoint2d(E[i], N[i]));
  DrawPolylineClipped(points, radius, -1, -1, layer, nullptr, false);

  // Name and elevation of each point: outside the turn at an inner point,
  // square to the leg at the ends.
  for (int i = 0; i < count; ++i) {
    double toward, rotation;
    bool swap;
    if (i > 0 && i < count - 1) {
      const double in = legBearing(i - 1);
      const double q = AngleDifference(legBearing(i), in);
      const int r = q > 0.0 ? 1 : -1;
      toward = q / 2.0 + in - r * kPi / 2.0;
      rotation = kPi / 2.0 - (q / 2.0 + in) + (setting == 1 ? kPi : 0.0);
      swap = r * setting < 0;
    } else {
      const double leg = count < 2 ? 0.0 : legBearing(i == 0 ? 0 : count - 2);
      toward = leg + kPi / 2.0;
      rotation = leg + kPi / 2.0 + setting * kPi / 2.0;
      swap = setting < 0;
    }
    AcGePoint3d nameAt = plandraw::Polar(point(i), radius + h, toward);
    AcGePoint3d valueAt = plandraw::Polar(point(i), radius + 2.5 * h, toward);
    if (swap) std::swap(nameAt, valueAt);
    rotation = plandraw::Normalized(rotation);
    CString text;
    text.Format("%s", names != nullptr ? names[i].GetString() : "");
    plandraw::Text(nameAt, text, rotation, h, plandraw::kMiddle, layer);
    if (values != nullptr) {
      text.Format("%.3lf", values[i]);
      plandraw::Text(valueAt, text, rotation, h, plandraw::kMiddle, layer);
    }
  }

  // The bearing of each leg, along the leg.
  for (int i = 0; legValues != nullptr && i + 1 < count; ++i) {
    const double bearing = legBearing(i);
    char dms[64];
    FormatDmsAngle(legValues[i], 2, dms);
    const AcGePoint3d at =
        plandraw::Polar(plandraw::Middle(point(i), point(i + 1)), 1.25 * h, bearing - setting * kPi / 2.0);
    plandraw::Text(at, dms, plandraw::Normalized(2.5 * kPi - bearing), h, plandraw::kMiddle, layer);
  }

  if (!(radius > 0.0)) return;
  const AcDbObjectId layerId = drawsupport::LayerId(layer);
  for (int i = 0; i < count; ++i) {
    if (!plandraw::Finite(point(i))) continue;
    auto* circle = new AcDbCircle(point(i), AcGeVector3d::kZAxis, radius);
    drawsupport::SetLayer(circle, layerId);
    AddToModelSpace(circle);
  }
}
