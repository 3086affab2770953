// AlignmentModel: the tunnels of the plan: a tunnel's outline, portals and
// labels (DrawTunnel), and the centre lines redrawn with their tunnel
// stretches from the three tunnel tables (PrepareTunnels).

#include <algorithm>
#include <cmath>
#include <vector>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "XLDataBase.h"
#include "arx/edoutput.h"

namespace {

using plandraw::kPi;

// The cut-and-cover kind: below this a tunnel is drawn with its side walls.
constexpr double kOrdinaryTunnel = 0.9;
// A cut-and-cover tunnel's side walls bend every 5 m.
constexpr double kWallPointsPerMetre = 0.2;

struct TunnelStretch {
  double start;
  double end;
  short lineCount;
};

// The label of a chainage: prefix, kilometres and "+" with the metres.
CString PortalChainageText(const char* prefix, double value, int digits) {
  const double km = std::floor(value * 0.001 + 0.00001);
  CString metres = plandraw::RToS(value - 1000.0 * km + 1000.0, digits);
  if (!metres.IsEmpty()) metres.SetAt(0, '+');
  CString text;
  text.Format("%s%.0f", prefix, km);
  return text + metres;
}

}  // namespace

void AlignmentModel::DrawTunnel(const TunnelCall& tunnel) {
  const int code = tunnel.line;
  const PlanLine& line = Line(code);
  if (!line.HasElements()) return;
  const char* layer = PlanLayerOf(kLayerTunnel, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const int d = settings.direction;
  const int digits = settings.chainageDigits;

  const double start = ChainageToLineDistance(code, tunnel.startText.GetString(), tunnel.segment);
  const double end = ChainageToLineDistance(code, tunnel.endText.GetString(), tunnel.segment);
  if (!(end > start)) return;
  if (end < line.range.start || start > line.range.end) {
    m_leftOutOfRange.push_back(tunnel.name + "(" + tunnel.startText + "～" + tunnel.endText + ")");
    return;
  }
  LinePoint ps, pe, pm;
  if (!PointAt(code, start, ps) || !PointAt(code, end, pe) || !PointAt(code, (start + end) / 2.0, pm)) return;
  // On a side line above k = 9.9, where the line is drawn.
  ps = DrawnPoint(code, ps);
  pe = DrawnPoint(code, pe);
  pm = DrawnPoint(code, pm);

  // Texts of the portals' chainages.
  char prefix[kChainPrefixSize];
  double value = LineChainage(code, start, prefix);
  const CString startText = PortalChainageText(prefix, value, digits);
  value = LineChainage(code, end, prefix);
  const CString endText = PortalChainageText(prefix, value, digits);

  // The outline, widened by a side line that runs beside the tunnel.
  double halfWidth[2] = {kStructureHalfWidth * k, kStructureHalfWidth * k};
  WidenByBesideLines((start + end) / 2.0, tunnel.lineCount, halfWidth);
  if (tunnel.kind >= kOrdinaryTunnel) {
    DrawStructureOutline(code, start, end, halfWidth, 0, false, true, layer);
  } else {
    // A cut-and-cover tunnel: its side walls along its whole length.
    const int parts = static_cast<int>((end - start) * kWallPointsPerMetre + 1.00001) - 1;
    DrawStructureOutline(code, start, end, halfWidth, parts, true, false, layer);
  }

  // The name with the length at the middle, the chainages at the portals.
  const double length = end - start;
  CString lengthText;
  if (tunnel.lineCount < 2) {
    lengthText = plandraw::Fixed(length, digits) + "m";
  } else {
    lengthText.Format("%d(", tunnel.lineCount);
    lengthText += plandraw::Fixed(length, digits) + "m)";
  }
  // Each on a tick across the line (as long as the outline's half-width on
  // that side and the text), the text beside the tick's middle, ahead along
  // the line (behind it when the drawing runs from right to left).
  const double sideWidth = halfWidth[LabelSideOrLeft() < 0 ? 0 : 1];
  const struct {
    const LinePoint& at;
    CString text;
  } labels[] = {{pm, tunnel.name + "  " + lengthText}, {ps, startText}, {pe, endText}};
  for (const auto& label : labels) {
    const double rotation = plandraw::Normalized(2.5 * kPi - label.at.bearing - d * kPi / 2.0);
    const double tick = sideWidth + 0.7 * h * plandraw::Width(label.text);
    const CString none;
    DrawStructureLabel(label.at, tick, d == -1 ? none : label.text, d == -1 ? label.text : none, rotation, 0.6 * h + k,
                       layer);
  }
}

void AlignmentModel::PrepareTunnels(const CString& connection) {
  if (!Line(kBaseLine).HasElements()) return;
  XLDataBase loader;
  // The tunnels of one table, as mileage stretches of its line.
  auto read = [&](const char* table, int code) {
    std::vector<TunnelStretch> stretches;
    loader.Clear();  // a table that cannot be read leaves no rows of another
    loader.LoadSchemeTables(connection, table, true);
    for (const TunnelRecord& r : loader.tunnels) {
      const double a = ChainageToLineDistance(code, r.startText, -1);
      const double b = ChainageToLineDistance(code, r.endText, -1);
      stretches.push_back({std::min(a, b), std::max(a, b), r.noteNumber});
    }
    return stretches;
  };
  // Redraws a line's centre line: with its tunnels, or plain when it has none.
  auto redraw = [&](const std::vector<MileageRange>& ranges, int code) {
    if (ranges.empty()) {
      RedrawPlainCenterline(code);
    } else {
      DrawTunnelCenterline(ranges.data(), static_cast<int>(ranges.size()), code);
    }
  };

  const std::vector<TunnelStretch> base = read("隧道", kBaseLine);
  std::vector<MileageRange> baseRanges;
  for (const TunnelStretch& t : base) InsertRangeByMiddle(baseRanges, t.start, t.end);
  redraw(baseRanges, kBaseLine);

  const bool left = Line(kLeftLine).loaded;
  const bool right = Line(kRightLine).loaded;
  if (settings.sideLineMode || (!left && !right)) return;
  for (int code : {kLeftLine, kRightLine}) {
    if (!Line(code).loaded) continue;
    std::vector<MileageRange> ranges;
    for (const TunnelStretch& t : read(code < 0 ? "左线绕行段隧道" : "右线绕行段隧道", code)) {
      InsertRangeByMiddle(ranges, t.start, t.end);
    }
    // A base-line tunnel that the side line runs through beside it.
    for (const TunnelStretch& t : base) {
      double mileage, spacing, from, to, unused;
      LinePoint hit;
      MapMileageToSideLine(code, (t.start + t.end) / 2.0, mileage, spacing, hit);
      if (!(std::fabs(spacing) < kBesideSpacing || t.lineCount == 2)) continue;
      if (!MapMileageToSideLine(code, t.start, from, unused, hit) ||
          !MapMileageToSideLine(code, t.end, to, unused, hit)) {
        continue;
      }
      InsertRangeByMiddle(ranges, std::min(from, to), std::max(from, to));
    }
    redraw(ranges, code);
  }
}
