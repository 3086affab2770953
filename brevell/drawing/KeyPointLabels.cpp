// AlignmentModel: the key points of a line (where one element ends and the
// next begins: ZH, HY, YH, HZ, ZY, YZ ...), each with a tick across the
// line and its name and metres.

#include <algorithm>
#include <cmath>
#include <string>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "geometry/ElementState.h"

namespace {

using plandraw::kPi;

// The letter of an element in a key point's name: Z a straight, Y an arc,
// H a transition.
char ElementLetter(int type) {
  switch (type) {
    case kElementStraight:
      return 'Z';
    case kElementArc:
      return 'Y';
    case kElementEnteringSpiral:
    case kElementLeavingSpiral:
    case kElementSpiralFalling:
    case kElementSpiralGrowing:
      return 'H';
    default:
      return '?';
  }
}

int TypeOf(const LineElement& e) { return static_cast<int>(e.type + 0.01); }

// The sign of an element's turn (+1 also for no turn).
int TurnSign(const LineElement& e) { return e.p4 < 0.0 ? -1 : 1; }

// Key points that lie where a curve begins (before its middle).
bool OpensCurve(const std::string& name) { return name == "ZH" || name == "HY" || name == "ZY"; }

}  // namespace

void AlignmentModel::DrawKeyPointLabels(int side, int flip, int code) {
  const PlanLine& line = Line(code);
  if (!line.HasElements()) return;
  const char* layer = PlanLayerOf(kLayerKeyPoint, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const double tick = 10.0 * h;
  const bool bothSideLines = Line(kLeftLine).loaded && Line(kRightLine).loaded;
  const DrawingRange& baseRange = Line(kBaseLine).range;
  const ElementRecord* elements = line.Elements();
  const int count = line.elementCount;

  for (int i = 1; i <= count - 2; ++i) {
    const ElementRecord& element = elements[i];
    const ElementRecord& next = elements[i + 1];
    const int type = TypeOf(element);
    const std::string name{ElementLetter(type), ElementLetter(TypeOf(next))};
    // The end of element i, where the side line is drawn.
    const LinePoint end = DrawnPoint(code, StartStateOf(next));

    int tickSide = side;
    if (tickSide == 0) {
      if (type >= kElementArc && type <= kElementSpiralGrowing) {
        tickSide = TurnSign(element);
      } else if (type == kElementStraight && i < count - 1) {
        tickSide = TurnSign(next);
      } else {
        tickSide = settings.directionSetting;
      }
    }

    if (code != kBaseLine && (bothSideLines || k > kSideLinesApart)) {
      // A side line labels only the key points of its own curves.
      int curve = FindCurveByMiddle(code, end.mileage, !OpensCurve(name));
      if (curve < 0 && !OpensCurve(name)) curve = line.pointCount - 2;
      if (curve < 0 || curve >= static_cast<int>(line.records.size())) continue;
      const SideLineRecord& r = line.records[curve];
      if (!r.visited || (k > kSideLinesApart && r.kind != kSideDetour)) continue;
    }
    if (k >= kNoArcKeyPoints && (name == "HY" || name == "YH")) continue;

    char prefix[kChainPrefixSize];
    const double chainage = LineChainage(code, end.mileage, prefix);
    char metres[400];
    FormatReal(chainage - 1000.0 * std::floor(chainage * 0.001 + 0.0001), settings.chainageDigits, metres);
    const CString text = CString(name.c_str()) + " +" + metres;

    if (end.mileage < baseRange.start - 0.001 || end.mileage > baseRange.end + 0.001) continue;
    const AcGePoint3d foot = plandraw::At(end);
    const AcGePoint3d top = plandraw::Polar(foot, tick, end.bearing + tickSide * kPi / 2.0);
    plandraw::Line(foot, top, -1, layer);
    const AcGePoint3d at = plandraw::Polar(plandraw::Middle(foot, top), settings.labelFactor * h,
                                           flip > 0 ? end.bearing + kPi : end.bearing);
    const double rotation = plandraw::Normalized(kPi - end.bearing + (flip < 0 ? kPi : 0.0));
    plandraw::Text(at, text, rotation, h, plandraw::kMiddle, layer);
  }
}
