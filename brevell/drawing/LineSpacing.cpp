// AlignmentModel: the spacing marks between the base line and a side line:
// on each straight of the side line (between two of its curves) a
// dimension line across to the base line with the spacing written beside
// it.

#include <algorithm>
#include <cmath>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"

namespace {

using plandraw::kPi;

// Kinds of side-line IPs between which no spacing mark stands: two IPs of
// one detour segment, and the two ends (2, 3) of a stretch whose spacing
// changes.
bool NoMarkBetween(int kind, int nextKind) { return (kind == 1 && nextKind == 1) || (kind == 2 && nextKind == 3); }

// A mark next to the change of spacing stands this many text heights from
// the curve.
constexpr double kNearChange = 10.0;

}  // namespace

void AlignmentModel::DrawLineSpacing(int which, int sign) {
  if (which != kLeftLine && which != kRightLine) return;
  const PlanLine& line = Line(which);
  if (!line.HasElements() || !Line(kBaseLine).HasElements()) return;
  const char* layer = PlanLayerNames[which < 0 ? kLayerLeftSpacing : kLayerRightSpacing];
  const double h = settings.textHeight;
  const double f = settings.labelFactor;
  const int n = std::min(static_cast<int>(line.records.size()), line.pointCount);
  for (int i = 0; i + 1 < n; ++i) {
    const SideLineRecord& r = line.records[i];
    const SideLineRecord& next = line.records[i + 1];
    if (NoMarkBetween(r.kind, next.kind)) continue;
    const CurveKeyPoints& here = line.areas.keyPoints[i];
    const CurveKeyPoints& ahead = line.areas.keyPoints[i + 1];
    double mileage = (here.HZ + ahead.ZH) / 2.0;
    if (next.kind == 2) mileage = ahead.ZH - kNearChange * h;
    if (r.kind == 3) mileage = here.HZ + kNearChange * h;

    LinePoint side, base;
    if (!PointAt(which, mileage, side)) continue;
    const double baseMileage = ProjectOnBaseLine(side.x, side.y);
    if (baseMileage < 0.0 || !PointAt(kBaseLine, baseMileage, base)) continue;
    const AcGePoint3d from = plandraw::At(side);
    const AcGePoint3d to = plandraw::At(base);

    // The text reads along the mark, turned so that it reads from the left.
    const CString text = plandraw::Fixed(r.kind == 1 ? next.spacing : r.spacing, settings.chainageDigits);
    double rotation = std::atan2(to.y - from.y, to.x - from.x);
    if ((which < 0 && rotation < 0.0) || (which > 0 && rotation > 0.0)) rotation += kPi;
    const double away = side.bearing + (which < 0 ? -kPi / 2.0 : kPi / 2.0);
    const AcGePoint3d at =
        plandraw::Polar(plandraw::Polar(from, -sign * h * f, side.bearing), plandraw::Width(text) * h * f, away);
    plandraw::Text(at, text, plandraw::Normalized(rotation), h, plandraw::kMiddle, layer);

    if (!plandraw::Finite(from) || !plandraw::Finite(to)) continue;
    MakeLine(from, to, -1, -1, layer, "CONTINUOUS");
    DrawEndTicks(from, to, h * f, -1, -1, layer, "CONTINUOUS");
  }
}
