// AlignmentModel: bridges (their outline with wings and a label across the
// line) and small bridges and culverts (a tick with the span and the
// chainage's metres).

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"

namespace {

using plandraw::kPi;

// A bridge's sides bend every 10 drawing units (per metre: 0.1 × k).
constexpr double kSidePointsPerMetreAndScale = 0.1;

// The span text of a multi-track bridge: "<count>(<span>)梁", the span's
// trailing blanks and its own trailing 梁 dropped.
CString MultiTrackSpan(const CString& span, int lineCount) {
  static const char kGirder[] = "梁";
  CString inner = span;
  inner.TrimRight();
  const int girder = static_cast<int>(sizeof kGirder) - 1;
  if (inner.GetLength() >= girder && inner.Right(girder) == kGirder) inner = inner.Left(inner.GetLength() - girder);
  CString text;
  text.Format("%d(", lineCount);
  return text + inner + ")" + kGirder;
}

}  // namespace

void AlignmentModel::DrawBridge(const BridgeCall& bridge) {
  const int code = bridge.line;
  const PlanLine& line = Line(code);
  if (!line.HasElements()) return;
  const char* layer = PlanLayerOf(kLayerBridge, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const int d = settings.direction;

  const double centre = ChainageToLineDistance(code, bridge.centreText.GetString(), bridge.segment);
  double start = ChainageToLineDistance(code, bridge.startText.GetString(), bridge.segment);
  double end = ChainageToLineDistance(code, bridge.endText.GetString(), bridge.segment);
  const bool blank = code == kBaseLine ? centre < 0.0001 && start < 0.0001 && end < 0.0001
                                       : centre < 0.001 && start < 0.01 && end < 0.01;
  if (blank) return;
  if (centre < line.range.start || centre > line.range.end) {
    m_leftOutOfRange.push_back(bridge.name + "(" + bridge.centreText + ")");
    return;
  }

  // Widened by a side line beside a base-line bridge.
  double halfWidth[2] = {kStructureHalfWidth * k, kStructureHalfWidth * k};
  if (code == kBaseLine) WidenByBesideLines(centre, bridge.lineCount, halfWidth);
  // Ends that are not given lie half the length either side of the centre.
  if (start < 0.001) start = std::max(centre - bridge.length / 2.0, 0.0001);
  if (end < 0.001) end = std::min(centre + bridge.length / 2.0, line.EndMileage());

  LinePoint pc;
  if (!PointAt(code, centre, pc)) return;
  pc = DrawnPoint(code, pc);
  const int parts = static_cast<int>((end - start) * k * kSidePointsPerMetreAndScale + 1.00001) - 1;
  if (!DrawStructureOutline(code, start, end, halfWidth, parts, true, true, layer)) return;

  // The span ahead along the line and the name with the centre chainage
  // behind it (the other way round when the drawing runs from right to
  // left), beside a tick across the line.
  const CString span = bridge.lineCount > 1 ? MultiTrackSpan(bridge.span, bridge.lineCount) : bridge.span;
  const CString name = bridge.name + bridge.centreText;
  const int widest = std::max(plandraw::Width(span), plandraw::Width(name));
  const double rotation = plandraw::Normalized(1.5 * kPi - pc.bearing + d * kPi / 2.0);
  DrawStructureLabel(pc, widest * h + halfWidth[0], d == -1 ? name : span, d == -1 ? span : name, rotation, 0.7 * h + k,
                     layer);
}

void AlignmentModel::DrawCulverts(const CulvertCall& culvert) {
  const int code = culvert.line;
  const PlanLine& line = Line(code);
  if (!line.HasElements()) return;
  const char* layer = PlanLayerOf(kLayerCulvert, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const int d = settings.direction;
  const int digits = settings.chainageDigits;

  const CString chainage = FormatChainageCString(culvert.prefix, culvert.valueText, digits);
  const double D = ChainageToLineDistance(code, chainage.GetString(), -1);
  LinePoint m;
  if (D < 0.001) return;
  if (D < line.range.start || D > line.range.end) {
    m_leftOutOfRange.push_back(culvert.span + "(" + chainage + ")");
    return;
  }
  if (!PointAt(code, D, m)) return;

  // The metres of the chainage: "+234.50".
  const double value = std::atof(culvert.valueText.GetString());
  const double km = std::floor(value * 0.001 + 0.0001);
  char metres[400];
  FormatReal(value - 1000.0 * km + 1000.0, digits, metres);
  metres[0] = '+';
  const CString metresText = metres;
  const int n = std::max(plandraw::Width(culvert.span), plandraw::Width(metresText));

  const double across = d * kPi / 2.0;
  plandraw::Line(plandraw::At(m), plandraw::Polar(plandraw::At(m), n * h, m.bearing + across), 0, layer);
  // The label on one side of the tick, the metres on the other.
  auto anchor = [&](double mileage) {
    const LinePoint p = PointNear(code, mileage);
    return plandraw::Polar(plandraw::At(p), (n * h + k) / 2.0, p.bearing + across);
  };
  CString label = culvert.span;
  if (culvert.flagStyle > 0.5 && culvert.flagStyle < 2.5) label = culvert.flagStyle < 1.5 ? "道路立交" : "公跨铁立交";
  const double rotation = plandraw::Normalized(kPi / 2.0 - across - m.bearing);
  plandraw::Text(anchor(D + d * (0.5 * h + k)), label, rotation, h, plandraw::kMiddle, layer);
  plandraw::Text(anchor(D - d * (0.5 * h + k)), metresText, rotation, h, plandraw::kMiddle, layer);
}
