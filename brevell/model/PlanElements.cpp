// AlignmentModel::BuildPlanElements: the element list and the curve key
// points of a line, from its intersection points.
//
// Each inner IP j gets four raw elements in group j (the straight before its
// curve, the entering clothoid, the arc, the leaving clothoid), group 0 holds
// the start record and group n − 1 the closing straight. The element list is
// then compacted from the raw groups and every element gets the state at its
// start by walking the elements from the start point.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "AlignmentModel.h"
#include "arx/edoutput.h"
#include "geometry/GeoFunctions.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// An arc shorter than this is reported.
constexpr double kShortArc = 20.0;
// Clothoids, arcs and closing straights not longer than these are not made.
constexpr double kNoElement = 1e-9;
constexpr double kNoClosingStraight = 1e-10;
// Elements not larger than this are left out of the element list.
constexpr double kShortestElement = 0.001;

void SetState(ElementRecord& record, const LinePoint& state) {
  record.bearing = state.bearing;
  record.mileage = state.mileage;
  record.radius = state.radius;
  record.x = state.x;
  record.y = state.y;
}

void SetMileages(CurveKeyPoints& k, double mileage) {
  k = CurveKeyPoints{};
  k.ZH = k.HY = k.YH = k.HZ = mileage;
}

// The size by which a raw element is kept: its length, but an arc's radius.
double KeepSize(const LineElement& element) {
  int type;
  const double length = ElementLength(element, type);
  return type == kElementArc ? element.p1 : length;
}

}  // namespace

int AlignmentModel::BuildPlanElements(const IntersectionPoint* ip, int n, PlanElementAreas& areas, int& count) {
  areas.Resize(n);
  return BuildPlanElements(ip, n, areas.keyPoints.data(), areas.rawElements.data(), areas.elements.data(), count);
}

int AlignmentModel::BuildPlanElements(const IntersectionPoint* ip, int n, CurveKeyPoints* kp, LineElement* raw,
                                      ElementRecord* records, int& count) {
  count = 0;
  m_lastCurveBuilt = 0;
  lineLength = 0.0;
  if (ip == nullptr || kp == nullptr || raw == nullptr || records == nullptr || n < 2) return 0;
  const size_t slots = 4 * static_cast<size_t>(n);
  std::fill(records, records + slots, ElementRecord{});
  std::fill(raw, raw + slots, LineElement{});
  std::fill(kp, kp + n, CurveKeyPoints{});

  // The first leg and the start record.
  double bearing;
  double leg = DistanceAndDirection(ip[0].N, ip[0].E, ip[1].N, ip[1].E, bearing);
  double previousDms = RadiansToDms(bearing);
  const double start = ip[0].L1;
  raw[0] = LineElement{kElementStart, ip[0].N, ip[0].E, previousDms, start};
  SetMileages(kp[0], start);
  double previousT2 = 0.0;

  // The curves, until an IP without a radius.
  int lastCurve = n - 2;
  for (int j = 1; j <= n - 2; ++j) {
    const IntersectionPoint& p = ip[j];
    if (!(p.R > 0.0)) {
      acutPrintf("\n %.0f号交点的曲线半径R=%0.3f不大于0, 线路止于前一曲线的终点 ", p.number, p.R);
      lastCurve = j - 1;
      break;
    }
    double nextBearing;
    const double nextLeg = DistanceAndDirection(p.N, p.E, ip[j + 1].N, ip[j + 1].E, nextBearing);
    const double nextDms = RadiansToDms(nextBearing);
    double alpha = DmsToRadians(nextDms) - DmsToRadians(previousDms);
    if (alpha < -kPi) alpha += kTwoPi;
    if (alpha > kPi) alpha -= kTwoPi;
    const double turn = alpha > 0.0 ? 1.0 : -1.0;
    const double deflection = RadiansToDms(std::fabs(alpha));

    CurveTangents ct{};
    CurveTangentsAndLength(deflection, p.R, p.L1, p.L2, ct);
    const double arc = ct.L - p.L1 - p.L2;
    if (ct.L < p.L1 + p.L2) {
      acutPrintf("\n %d号曲线 前后缓和曲线重叠：缓长L1+L2=%10.3f>大于曲线长L=%10.3f ", j, p.L1 + p.L2, ct.L);
    } else if (arc < kShortArc) {
      acutPrintf("\n %d号曲线的(R=%8.1f)圆曲线长L=%10.3f 不足20m ", j, p.R, arc);
    }

    CurveKeyPoints& k = kp[j];
    k.deflection = deflection;
    k.T1 = ct.T1;
    k.T2 = ct.T2;
    k.L = ct.L;
    k.turn = turn;
    // The straight before the curve is kept even when it has no length; the
    // compaction drops it then.
    const double straight = leg - ct.T1 - previousT2;
    raw[4 * j] = LineElement{kElementStraight, straight, 0.0, 0.0, 0.0};
    k.ZH = kp[j - 1].HZ + straight;
    const double A1 = std::sqrt(p.R * p.L1);
    if (A1 > kNoElement) raw[4 * j + 1] = LineElement{kElementEnteringSpiral, A1, p.R, 0.0, turn};
    k.HY = k.ZH + p.L1;
    if (arc > kNoElement) raw[4 * j + 2] = LineElement{kElementArc, p.R, arc, 0.0, turn};
    k.YH = k.HY + arc;  // before HY when the transitions overlap
    const double A2 = std::sqrt(p.R * p.L2);
    if (A2 > kNoElement) raw[4 * j + 3] = LineElement{kElementLeavingSpiral, A2, p.R, 0.0, turn};
    k.HZ = k.YH + p.L2;

    leg = nextLeg;
    previousDms = nextDms;
    previousT2 = ct.T2;
  }

  // The end of the line: the closing straight to the last IP, or, after an
  // early stop, the end of the last curve computed.
  double end;
  if (lastCurve == n - 2) {
    const double closing = leg - previousT2;
    if (closing > kNoClosingStraight) raw[4 * (n - 1)] = LineElement{kElementStraight, closing, 0.0, 0.0, 0.0};
    end = kp[n - 2].HZ + closing;
  } else {
    end = kp[lastCurve].HZ;
  }
  for (int j = lastCurve + 1; j < n; ++j) SetMileages(kp[j], end);
  lineLength = end - kp[0].ZH;
  m_lastCurveBuilt = lastCurve;

  // Compaction: the start record, the elements of every curve that are large
  // enough, and the closing straight (always; it has no length when absent).
  static_cast<LineElement&>(records[0]) = raw[0];
  count = 1;
  for (int j = 1; j <= lastCurve; ++j) {
    for (int slot = 0; slot < 4; ++slot) {
      const LineElement& element = raw[4 * j + slot];
      if (KeepSize(element) > kShortestElement) static_cast<LineElement&>(records[count++]) = element;
    }
  }
  static_cast<LineElement&>(records[count++]) = raw[4 * (n - 1)];

  // The state at the start of every element, and the end of the line after
  // the last.
  LinePoint state{ip[0].N, ip[0].E, DmsToRadians(raw[0].p3), kInfiniteRadius, start};
  SetState(records[1], state);
  for (int i = 1; i < count; ++i) {
    const ElementRecord& element = records[i];
    LinePoint next = state;
    PointAtDistanceOnElement(state, next, ElementLength(element), element);
    SetState(records[i + 1], next);
    state = next;
  }
  return count;
}
