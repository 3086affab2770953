// AlignmentModel: what the outlines of bridges and tunnels share: their
// half-widths beside the line, widened by a side line that runs beside the
// structure, and the outline itself (sides, end lines and wings).

#include <cmath>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"

namespace {

using plandraw::kPi;

// A wing is as long as the outline's half-width before any widening.
constexpr double kWingPerScale = AlignmentModel::kStructureHalfWidth;

}  // namespace

void AlignmentModel::WidenByBesideLines(double baseMileage, int lineCount, double halfWidth[2]) const {
  for (int side : {kLeftLine, kRightLine}) {
    if (!Line(side).loaded) continue;
    double mileage, spacing;
    LinePoint hit;
    MapMileageToSideLine(side, baseMileage, mileage, spacing, hit);
    spacing = std::fabs(spacing);
    if (spacing > 0.001 && (spacing < kBesideSpacing || lineCount == 2)) {
      halfWidth[side < 0 ? 0 : 1] += spacing + (settings.scaleFactor >= kSideLinesApart ? DetourShift() : 0.0);
    }
  }
}

bool AlignmentModel::DrawStructureOutline(int code, double start, double end, const double halfWidth[2], int parts,
                                          bool sides, bool wings, const char* layer) {
  LinePoint ps, pe;
  if (!PointAt(code, start, ps) || !PointAt(code, end, pe)) return false;
  ps = DrawnPoint(code, ps);
  pe = DrawnPoint(code, pe);
  const double k = settings.scaleFactor;
  const double width = 0.5 * k;
  auto across = [&](const LinePoint& p, int side) {
    return plandraw::Polar(plandraw::At(p), halfWidth[side < 0 ? 0 : 1], p.bearing + side * kPi / 2.0);
  };
  const AcGePoint3d startLeft = across(ps, -1), startRight = across(ps, 1);
  const AcGePoint3d endLeft = across(pe, -1), endRight = across(pe, 1);
  if (sides) {
    // Each side from its start corner through the points dividing the
    // structure into `parts` to its end corner.
    for (int side : {-1, 1}) {
      const AcGePoint3d first = side < 0 ? startLeft : startRight;
      const AcGePoint3d last = side < 0 ? endLeft : endRight;
      if (!plandraw::Finite(first) || !plandraw::Finite(last)) continue;
      AcGePoint2dArray points;
      points.append(AcGePoint2d(first.x, first.y));
      for (int j = 1; j < parts; ++j) {
        LinePoint p;
        if (!PointAt(code, start + j * (end - start) / parts, p)) continue;
        const AcGePoint3d q = across(DrawnPoint(code, p), side);
        if (plandraw::Finite(q)) points.append(AcGePoint2d(q.x, q.y));
      }
      points.append(AcGePoint2d(last.x, last.y));
      MakeWidePolyline(points, width, -1, layer, nullptr, 1.0);
    }
  }
  plandraw::WideSegment(startLeft, startRight, width, layer);
  plandraw::WideSegment(endLeft, endRight, width, layer);
  if (wings) {
    // Outward and back at the start, outward and on at the end.
    const double wing = kWingPerScale * k;
    plandraw::WideSegment(startLeft, plandraw::Polar(startLeft, wing, ps.bearing - 0.75 * kPi), width, layer);
    plandraw::WideSegment(startRight, plandraw::Polar(startRight, wing, ps.bearing + 0.75 * kPi), width, layer);
    plandraw::WideSegment(endLeft, plandraw::Polar(endLeft, wing, pe.bearing - 0.25 * kPi), width, layer);
    plandraw::WideSegment(endRight, plandraw::Polar(endRight, wing, pe.bearing + 0.25 * kPi), width, layer);
  }
  return true;
}

void AlignmentModel::DrawStructureLabel(const LinePoint& at, double length, const CString& ahead, const CString& behind,
                                        double rotation, double offset, const char* layer) const {
  const int side = LabelSideOrLeft();
  const AcGePoint3d foot = plandraw::At(at);
  const AcGePoint3d top = plandraw::Polar(foot, length, at.bearing + side * kPi / 2.0);
  plandraw::Line(foot, top, 0, layer);
  const AcGePoint3d middle = plandraw::Middle(foot, top);
  const double h = settings.textHeight;
  if (!ahead.IsEmpty()) {
    plandraw::Text(plandraw::Polar(middle, offset, at.bearing), ahead, rotation, h, plandraw::kMiddle, layer);
  }
  if (!behind.IsEmpty()) {
    plandraw::Text(plandraw::Polar(middle, offset, at.bearing + kPi), behind, rotation, h, plandraw::kMiddle, layer);
  }
}
