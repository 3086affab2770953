// AlignmentModel: the element labels of the curves of a line: the IP's name
// beside it and, inside or outside the curve, a block of texts (name,
// deflection, radius, transitions, tangents, length) grouped under the IP's
// name so that it moves as one.
//
// Geometry of a curve at IP i: b_in and b_out the bearings of the legs into
// and out of it, α = b_out − b_in within [−π, π], turn +1 for a right turn
// (α > 0) and −1 otherwise. The bisector β points from the IP into the
// curve, towards its midpoint: the mean direction of the two legs, b_in +
// α/2, turned a quarter towards the inside of the turn (β = b_in + α/2 +
// turn·π/2). u is the unit vector of bearing β; E the distance from the IP
// to the curve's midpoint.

#include <algorithm>
#include <cmath>
#include <vector>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "geometry/GeoFunctions.h"

namespace {

using plandraw::kPi;

// Block texts stack 1.5 text heights apart; a line of n characters is
// centred on its point by moving it back 0.245·n·h.
constexpr double kLineSpacing = 1.5;
constexpr double kHalfCharacter = 0.245;

// A drawing vector of length d along bearing b.
AcGeVector3d AlongBearing(double d, double b) { return AcGeVector3d(d * std::sin(b), d * std::cos(b), 0.0); }
// A drawing vector of length d along the drawing angle a.
AcGeVector3d AlongAngle(double d, double a) { return AcGeVector3d(d * std::cos(a), d * std::sin(a), 0.0); }

CString WholeOrFixed(double value, int decimals) {
  return std::fabs(value - std::round(value)) < 1e-5 ? plandraw::Fixed(value, 0) : plandraw::Fixed(value, decimals);
}

}  // namespace

void AlignmentModel::DrawCurveElementLabels(int code) {
  const PlanLine& line = Line(code);
  if (line.pointCount < 3 || !line.HasElements()) return;
  const char* layer = PlanLayerOf(kLayerIp, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const int d = settings.direction;
  const int digits = settings.chainageDigits;
  const bool left = Line(kLeftLine).loaded;
  const bool right = Line(kRightLine).loaded;
  const int first = std::max(1, line.range.firstCurve);
  const int last = std::min(line.range.lastCurve, line.pointCount - 2);

  for (int i = first; i <= last; ++i) {
    const IntersectionPoint& ip = line.points[i];
    if (ip.R <= 0.0) break;
    const SideLineRecord* record = nullptr;
    if (code != kBaseLine) {
      if (i >= static_cast<int>(line.records.size())) break;
      record = &line.records[i];
      if (!record->visited || !(record->kind == kSideDetour || k <= kSideLinesApart)) continue;
    }

    // Geometry.
    const IntersectionPoint& back = line.points[i - 1];
    const IntersectionPoint& ahead = line.points[i + 1];
    double bIn, bOut;
    DistanceAndDirection(back.N, back.E, ip.N, ip.E, bIn);
    DistanceAndDirection(ip.N, ip.E, ahead.N, ahead.E, bOut);
    const double alpha = AngleDifference(bOut, bIn);
    const int turn = alpha > 0.0 ? 1 : -1;
    const double beta = plandraw::Normalized(bIn + alpha / 2.0 + turn * kPi / 2.0);
    const int dt = d * turn;
    const double rotation = plandraw::Normalized(dt == -1 ? kPi - beta : -beta);
    const AcGeVector3d reading = AlongAngle(1.0, rotation);
    const AcGeVector3d down = AlongBearing(-dt, beta);  // the texts' downward direction
    const CurveKeyPoints& kp = line.areas.keyPoints[i];
    const double L1 = kp.HY - kp.ZH;
    const double L2 = kp.HZ - kp.YH;
    const double a = (kp.T1 + kp.T2) / 2.0 - (L1 + L2) / 4.0;
    const double E = std::sqrt(a * a + ip.R * ip.R) - ip.R;
    const AcGePoint3d at(ip.E, ip.N, 0.0);

    // The name beside the IP.
    CString name;
    if (record != nullptr) {
      name.Format("%s%d", line.prefix, record->secondLineIp);
    } else {
      name.Format("%s%.0f", line.prefix, ip.number);
    }
    const bool outsideSideLine = left != right && ((left && turn > 0) || (right && turn < 0));
    double nameDistance = 1.2 * h;
    double nameBearing = beta + kPi;
    if (code == kBaseLine) {
      if (outsideSideLine) {
        nameDistance = 2.0 * k + 1.2 * h;
        nameBearing = beta;
      }
    } else if (code < 0) {
      if (turn < 0) {
        nameDistance = 2.0 * k + 1.2 * h;
        nameBearing = beta;
      }
    } else {
      nameBearing = turn > 0 ? beta : beta + kPi;
      if (turn < 0) nameDistance = 2.0 * k + 1.2 * h;
    }
    if (code != kBaseLine && k >= kSideLinesApart) nameDistance += DetourShift();
    plandraw::Text(plandraw::Polar(at, nameDistance, nameBearing), name, rotation, h, plandraw::kMiddle, layer);

    // The block's texts.
    std::vector<CString> texts;
    char dms[64];
    FormatDmsAngle(kp.deflection, settings.deflectionDigits, dms);
    texts.push_back(CString(turn > 0 ? "ay--" : "az--") + dms);
    texts.push_back(CString("R--") + WholeOrFixed(ip.R, digits));
    if (L1 > 0.0 || L2 > 0.0) {
      texts.push_back(std::fabs(L1 - L2) < 0.001
                          ? CString("lo--") + plandraw::Fixed(L1, 0)
                          : CString("l1--") + plandraw::Fixed(L1, 0) + "  l2--" + plandraw::Fixed(L2, 0));
    }
    texts.push_back(std::fabs(kp.T1 - kp.T2) < 0.001
                        ? CString("T--") + plandraw::Fixed(kp.T1, digits)
                        : CString("T1--") + plandraw::Fixed(kp.T1, digits) + "  T2--" + plandraw::Fixed(kp.T2, digits));
    texts.push_back(CString("L--") + plandraw::Fixed(kp.L, digits));

    // Where the block stands: inside the curve beyond its midpoint, or (no
    // room inside) outside beyond the IP.
    double along = 0.0;
    double toward = beta;
    auto insideOrOutside = [&](double margin, double extra) {
      if (E >= 80.0 * k + margin) {
        along = E - 80.0 * k - extra;
      } else {
        along = 30.0 * k + extra;
        toward = beta + kPi;
      }
    };
    if (code == kBaseLine) {
      if (!left && !right) {
        along = E + 80.0 * k + (d != -1 ? 5.0 * h : 0.0);
      } else if (outsideSideLine) {
        along = E + 80.0 * k + (dt == 1 ? 5.0 * h : 0.0);
      } else {
        insideOrOutside(5.0 * h, dt == -1 ? 5.0 * h : 0.0);
      }
    } else if (code < 0) {
      if (turn < 0) {
        along = E + 80.0 * k + (d == -1 ? 7.0 * h : 0.0);
      } else {
        insideOrOutside(6.0 * h, d != 1 ? 7.0 * h : 0.0);
      }
    } else {
      if (turn > 0) {
        along = E + 80.0 * k + (d != -1 ? 7.0 * h : 0.0);
      } else {
        insideOrOutside(6.0 * h, d != -1 ? 7.0 * h : 0.0);
      }
    }
    AcGePoint3d P = plandraw::Polar(at, along, toward);

    AcDbObjectIdArray group;
    if (k < kShortCurveLabels) {
      int widest = 0;
      for (const CString& t : texts) widest = std::max(widest, plandraw::Width(t));
      const AcGePoint3d start = P - reading * (kHalfCharacter * widest * h);
      group.append(plandraw::Text(start, CString("   ") + name, rotation, h, plandraw::kLeft, layer));
      AcGePoint3d anchor = start;
      for (const CString& t : texts) {
        anchor = anchor + down * (kLineSpacing * h);
        group.append(plandraw::Text(anchor, t, rotation, h, plandraw::kLeft, layer));
      }
      // A side line's office break, framed after the block.
      if (record != nullptr && std::fabs(record->officeBreak) > 0.0009) {
        const CString value = plandraw::Fixed(record->officeBreak, digits);
        const AcGeVector3d wide = reading * (plandraw::Width(value) * 0.7 * h);
        const AcGePoint3d q1 = anchor + down * (1.55 * h);
        const AcGePoint3d q2 = q1 + down * (3.0 * k + h);
        const AcGePoint3d q4 = q1 + wide;
        const AcGePoint3d q3 = q2 + wide;
        AcGePoint2dArray frame;
        for (const AcGePoint3d& q : {q2, q1, q4, q3, q2}) frame.append(AcGePoint2d(q.x, q.y));
        if (plandraw::Finite(q1) && plandraw::Finite(q3))
          group.append(MakePolyline(frame, -1, -1, layer, "CONTINUOUS"));
        const AcGePoint3d centre((q1.x + q2.x + q3.x + q4.x) / 4.0, (q1.y + q2.y + q3.y + q4.y) / 4.0, 0.0);
        group.append(plandraw::Text(centre, value, rotation, h, plandraw::kMiddle, layer));
      }
    } else {
      // Small scales: the radius only, at the curve's midpoint.
      if (k > kShortCurveLabels) P = plandraw::Polar(at, E, beta);
      const CString& radius = texts[1];
      const AcGePoint3d start = P - reading * (kHalfCharacter * plandraw::Width(radius) * h) +
                                AlongBearing(dt == 1 ? 0.5 * h : 1.5 * h, beta);
      group.append(plandraw::Text(start, radius, rotation, h, plandraw::kLeft, layer));
    }
    MakeGroup(name.GetString(), group);
  }
}
