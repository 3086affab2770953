// The steps the section drivers run on a section before and after the design
// of its sides: resetting the records, emptying design lines, the design
// elevations of the three lines, the roadbed top templates of single-line and
// double-line sections, the ground profiles seen from a line, and the plan
// boundary points of all sections.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kBeyondGround = -10000.0;

// Fill height at a shoulder test point `distance` from the centre: the design
// elevation less the ground there (centre ground elevation + the height
// difference interpolated on the side's pairs). -10000 when the distance lies
// beyond the side's last pair.
double FillHeightAt(double distance, int count, const PairXY* pairs, double elevation, double centreGround) {
  const double d = std::fabs(distance);
  count = std::clamp(count, 0, kGroundPointsPerSide);
  for (int i = 0; i < count; ++i) {
    if (pairs[i].x < d) continue;
    double h = pairs[i].y;
    if (i > 0) {
      const PairXY& a = pairs[i - 1];
      const PairXY& b = pairs[i];
      h = b.x - a.x > 0.001 ? a.y + (b.y - a.y) * (d - a.x) / (b.x - a.x) : a.y;
    }
    return elevation - h - centreGround;
  }
  return kBeyondGround;
}

// The shoulder distance of a test point's fill height: the cutting distance
// Wa (flag 1.0) when `limit` exceeds it, else the embankment distance Wb
// (flag 0.0).
double ShoulderDistance(double limit, double fillHeight, double Wa, double Wb, double& flag) {
  const bool cutting = limit > fillHeight;
  flag = cutting ? 1.0 : 0.0;
  return cutting ? Wa : Wb;
}

// A roadbed top template: the crown (0, elevation + 4 % of the half width),
// then the shoulder three times.
void Template(PairXY top[4], double halfWidth, double elevation) {
  top[0] = PairXY{0.0, elevation + 0.04 * halfWidth};
  for (int i = 1; i < 4; ++i) top[i] = PairXY{halfWidth, elevation};
}

// Where a linear quantity with values va at a and vb at b changes sign: the
// ratio |vb| / |va| (1 when va is about 0 or both have one sign) and the
// position (a × ratio + b) / (ratio + 1).
double SignChangeRatio(double a, double b, double va, double vb, double& position) {
  const double ratio = std::fabs(va) > 0.0001 && va * vb < 0.0 ? std::fabs(vb) / std::fabs(va) : 1.0;
  position = (a * ratio + b) / (ratio + 1.0);
  return ratio;
}

}  // namespace

// ---- Records -------------------------------------------------------------------------------

void CrossSectionDesigner::InitSectionRecords() {
  bridgeLandTakeMargin = 8.0;
  for (SectionRecord& record : sections) {
    record = SectionRecord();
    record.groundBlocks.assign(1, GroundBlock());
  }
}

void CrossSectionDesigner::ClearSideLines(int side, int index) {
  if (index < 0 || index >= SectionCount()) return;
  if (side != 0 && SideIndex(side) < 0) return;
  SectionRecord& record = sections[static_cast<size_t>(index)];
  for (int k = 0; k < kSectionSides; ++k) {
    record.ditchKind[k] = -1;
    record.drainageDitchCount[k] = 0;
    record.topDitchCount[k] = 0;
    std::fill(std::begin(record.drainageDitch[k]), std::end(record.drainageDitch[k]), PairXY());
    std::fill(std::begin(record.topDitch[k]), std::end(record.topDitch[k]), PairXY());
  }
  for (int k = 0; k < kSectionSides; ++k) {
    if (side != 0 && k != SideIndex(side)) continue;
    record.designLines[k].removeAll();
    record.pointCount[k] = 0;
    record.lastIndex[k] = 0;
  }
}

// ---- Design elevations -----------------------------------------------------------------------

void CrossSectionDesigner::DesignElevationsAt(bool baselineOnly, double ML, double& baselineElevation,
                                              double& leftElevation, double& rightElevation) const {
  double ground = 0.0, design = 0.0, fill = 0.0, grade = 0.0, spare1 = 0.0, spare2 = 0.0, correction = 0.0,
         copy = 0.0;
  baselineElevation = DesignElevationAt(ML, ground, design, fill, grade, spare1, spare2, correction, copy);
  leftElevation = rightElevation = baselineElevation;
  if (baselineOnly || baseline == nullptr) return;

  LinePoint point{};
  point.mileage = ML;
  if (PointAtMileage(baseline->elements, baseline->elementCount, point) < 0) return;
  for (int side : {-1, 1}) {
    const SideLineModel* line = side < 0 ? leftLine : rightLine;
    if (line == nullptr) continue;
    const int detour = line->FindDetourAtMileage(ML);
    const CrossSectionDesigner* designer = detour >= 0 ? DetourDesigner(side, detour) : nullptr;
    if (designer == nullptr) continue;
    const double onLine = MileageOfPointOnElements(line->elements, line->elementCount, point.x, point.y);
    const double elevation = designer->GradeLineElevation(onLine);
    if (std::fabs(elevation + 1.0) < 0.001) continue;
    (side < 0 ? leftElevation : rightElevation) = elevation;
  }
}

// ---- Roadbed tops -----------------------------------------------------------------------------

void CrossSectionDesigner::SingleLineRoadbedTop(double ML, double centreGround, double leftOffset,
                                                double rightOffset, double widening, int leftCount,
                                                const PairXY* leftGround, int rightCount, const PairXY* rightGround,
                                                double leftElevation, double rightElevation, double& crownOffset,
                                                PairXY leftTop[4], PairXY rightTop[4], double& leftFlag,
                                                double& rightFlag, double& leftFillHeight,
                                                double& rightFillHeight) const {
  const double Wa = halfDistance1;
  const double Wb = halfDistance2;
  const double t = GetShoulderWidth(ML, surfaceLayer.count, surfaceLayer.rows);

  // The widening lies on the left when negative, on the right when positive.
  double vL = leftOffset - Wa;
  if (widening < -0.0001) vL += widening;
  leftFillHeight = FillHeightAt(vL, leftCount, leftGround, leftElevation, centreGround);
  const double rL = ShoulderDistance(t + 0.2, leftFillHeight, Wa, Wb, leftFlag);
  const double xL = vL + Wa - rL;

  double A = rightOffset + Wa;
  if (widening > 0.0001) A += widening;
  rightFillHeight = FillHeightAt(A, rightCount, rightGround, rightElevation, centreGround);
  // The right shoulder of a single-line roadbed tests against a fixed 0.6.
  const double rR = ShoulderDistance(0.6, rightFillHeight, Wa, Wb, rightFlag);

  const double C = rR + (A - Wa) - xL;
  const double F = (C - (leftElevation - rightElevation) * 25.0) / 2.0;
  crownOffset = xL + F;
  Template(leftTop, F, leftElevation);
  Template(rightTop, C - F, rightElevation);
}

void CrossSectionDesigner::DoubleLineRoadbedTop(double ML, double centreGround, double leftLineOffset,
                                                double rightLineOffset, double leftWidening, double rightWidening,
                                                int leftCount, const PairXY* leftGround, int rightCount,
                                                const PairXY* rightGround, double leftElevation,
                                                double rightElevation, double& leftLineOut, double& rightLineOut,
                                                PairXY tops[kSectionSides][4], double flags[kSectionSides],
                                                double fillHeights[2]) const {
  const double Wa = halfDistance1;
  const double Wb = halfDistance2;
  const double limit = GetShoulderWidth(ML, surfaceLayer.count, surfaceLayer.rows) + 0.2;
  // A test point right of the centre is measured on the right ground.
  auto fillAt = [&](double point, double elevation) {
    return point > 0.0 ? FillHeightAt(point, rightCount, rightGround, elevation, centreGround)
                       : FillHeightAt(point, leftCount, leftGround, elevation, centreGround);
  };
  const double cL = leftLineOffset, cR = rightLineOffset;
  const double eLleft = leftWidening < -0.0001 ? leftWidening : 0.0;
  const double eLright = leftWidening > 0.0001 ? leftWidening : 0.0;
  const double eRleft = rightWidening < -0.0001 ? rightWidening : 0.0;
  const double eRright = rightWidening > 0.0001 ? rightWidening : 0.0;

  // Left line: outer shoulder (its fill height kept), then inner shoulder.
  fillHeights[0] = fillAt(cL - Wa + eLleft, leftElevation);
  const double leftOuter = cL - ShoulderDistance(limit, fillHeights[0], Wa, Wb, flags[0]) + eLleft;
  const double leftInner = cL + ShoulderDistance(limit, fillAt(cL + Wa + eLright, leftElevation), Wa, Wb, flags[1]) +
                           eLright;
  const double J = (leftInner - leftOuter) / 2.0;
  Template(tops[0], J, leftElevation);
  Template(tops[1], J, leftElevation);

  // Right line: outer shoulder (its fill height kept), then inner shoulder.
  fillHeights[1] = fillAt(cR + Wa + eRright, rightElevation);
  const double rightOuter = cR + ShoulderDistance(limit, fillHeights[1], Wa, Wb, flags[3]) + eRright;
  const double rightInner =
      cR - ShoulderDistance(limit, fillAt(cR - Wa + eRleft, rightElevation), Wa, Wb, flags[2]) + eRleft;
  const double U = (rightOuter - rightInner) / 2.0;
  Template(tops[2], U, rightElevation);
  Template(tops[3], U, rightElevation);

  leftLineOut = cL;
  rightLineOut = cR;
}

// ---- Ground profiles ------------------------------------------------------------------------------

void CrossSectionDesigner::GroundProfileFrom(double lineOffset, double centreGround, int leftCount,
                                             const PairXY* leftGround, int rightCount, const PairXY* rightGround,
                                             double& referenceElevation, std::vector<PairXY>& leftProfile,
                                             std::vector<PairXY>& rightProfile) {
  leftCount = std::clamp(leftCount, 0, kGroundPointsPerSide);
  rightCount = std::clamp(rightCount, 0, kGroundPointsPerSide);
  // The whole section from left to right, offsets signed.
  std::vector<PairXY> across;
  across.reserve(static_cast<size_t>(leftCount + rightCount));
  // The centre point that both sides begin with is taken once.
  auto add = [&across](const PairXY& p) {
    if (!across.empty() && std::fabs(across.back().x - p.x) < 1e-9 && std::fabs(across.back().y - p.y) < 1e-9) return;
    across.push_back(p);
  };
  for (int i = leftCount - 1; i >= 0; --i) add(PairXY{-leftGround[i].x, leftGround[i].y});
  for (int i = 0; i < rightCount; ++i) add(rightGround[i]);

  // The ground at the line, interpolated across (the nearest end beyond it).
  double atLine = 0.0;
  if (!across.empty()) {
    if (lineOffset <= across.front().x) {
      atLine = across.front().y;
    } else if (lineOffset >= across.back().x) {
      atLine = across.back().y;
    } else {
      size_t i = 1;
      while (across[i].x < lineOffset) ++i;
      const PairXY& a = across[i - 1];
      const PairXY& b = across[i];
      atLine = b.x - a.x > 1e-9 ? a.y + (b.y - a.y) * (lineOffset - a.x) / (b.x - a.x) : b.y;
    }
  }
  referenceElevation = atLine + centreGround;

  leftProfile.assign(1, PairXY{0.0, 0.0});
  rightProfile.assign(1, PairXY{0.0, 0.0});
  std::vector<PairXY> left;
  for (const PairXY& p : across) {
    const PairXY q{p.x - lineOffset, p.y - atLine};
    // The line itself is the profiles' first point already.
    if (std::fabs(q.x) < 1e-6) continue;
    if (q.x < 0.0)
      left.push_back(PairXY{-q.x, q.y});
    else
      rightProfile.push_back(q);
  }
  // Left points were taken from the far end inwards.
  leftProfile.insert(leftProfile.end(), left.rbegin(), left.rend());
}

// ---- Plan boundary points ---------------------------------------------------------------------------

namespace {

PlanPoint Along(const LinePoint& origin, double distance, double direction, double elevation) {
  return PlanPoint{origin.x + distance * std::cos(direction), origin.y + distance * std::sin(direction), elevation};
}

// The outer and shoulder points of one side of a section: from design line
// `line` about the line point `at`, outwards along `direction`; `mirror`
// takes the design line's x by its absolute value (a left side).
struct SideEnds {
  bool present = false;
  PlanPoint outer;
  PlanPoint shoulder;
  double lastX = 0.0;  // the design line's last x as used
  double shoulderY = 0.0;
};

SideEnds EndsOf(const AcGePoint3dArray& line, const LinePoint& at, double direction, double reference, bool mirror) {
  SideEnds ends;
  if (line.isEmpty()) return ends;
  const AcGePoint3d& last = line.last();
  const AcGePoint3d& shoulder = line[std::min(3, line.length() - 1)];
  ends.present = true;
  ends.lastX = mirror ? std::fabs(last.x) : last.x;
  ends.shoulderY = shoulder.y + reference;
  ends.outer = Along(at, ends.lastX, direction, last.y + reference);
  ends.shoulder = Along(at, mirror ? std::fabs(shoulder.x) : shoulder.x, direction, ends.shoulderY);
  return ends;
}

bool AtBridgeEnd(int code) { return code == kBridgeStart || code == kBridgeEnd; }
bool AtTunnelEnd(int code) { return code == kTunnelStart || code == kTunnelEnd; }

PlanPoint Blend(const PlanPoint& previous, const PlanPoint& current, double k) {
  return PlanPoint{(k * previous.x + current.x) / (k + 1.0), (k * previous.y + current.y) / (k + 1.0),
                   (k * previous.z + current.z) / (k + 1.0)};
}

// True when a side changes between fill (form code below 0.01) and cut from
// one section to the next, both have a design line there and both shoulder
// points are set.
bool ChangesFillCut(double previousForm, double form, bool previousLine, bool line, const PlanPoint& previousShoulder,
                    const PlanPoint& shoulder) {
  const bool change = (previousForm < 0.01 && form > 0.01) || (previousForm > 0.01 && form < 0.01);
  return change && previousLine && line && std::fabs(previousShoulder.x) > 0.001 && std::fabs(shoulder.x) > 0.001;
}

}  // namespace

void CrossSectionDesigner::BuildPointRecord() {
  if (sections.empty() || baseline == nullptr || !baseline->IsBuilt()) return;
  planBoundary.clear();
  planBoundary.reserve(sections.size() * 2);

  PlanPoint previousLeft, previousRight;  // shoulder points of the previous section
  for (size_t i = 0; i < sections.size(); ++i) {
    const SectionRecord& record = sections[i];
    LinePoint P{};
    P.mileage = record.mileage;
    PointAtMileage(baseline->elements, baseline->elementCount, P);
    const double leftDirection = ::NormalizeAngle(P.bearing - kHalfPi);
    const double rightDirection = ::NormalizeAngle(P.bearing + kHalfPi);
    const double normal = P.bearing + kHalfPi;
    LinePoint C = P;
    C.x += record.crownOffset[0] * std::cos(normal);
    C.y += record.crownOffset[0] * std::sin(normal);

    const bool doubleLine = record.kind == 2;
    const int rightSide = doubleLine ? 3 : 1;
    LinePoint rightOrigin = C;
    double rightReference = record.referenceElevation[0];
    int rightCode = record.leftCode;
    if (doubleLine) {
      rightOrigin = P;
      rightOrigin.x += record.crownOffset[1] * std::cos(normal);
      rightOrigin.y += record.crownOffset[1] * std::sin(normal);
      rightReference = record.referenceElevation[1];
      rightCode = record.rightCode;
    }
    const SideEnds left = EndsOf(record.designLines[0], C, leftDirection, record.referenceElevation[0], true);
    const SideEnds right = EndsOf(record.designLines[rightSide], rightOrigin, rightDirection, rightReference, false);

    PlanBoundaryRecord out;
    out.mileage = record.mileage;
    out.leftCode = record.leftCode;
    out.rightCode = record.rightCode;
    if (left.present) {
      out.left = left.outer;
      if (AtBridgeEnd(record.leftCode)) out.left.z = std::min(out.left.z, left.shoulderY);
    }
    if (right.present) {
      out.right = right.outer;
      if (AtBridgeEnd(rightCode)) out.right.z = std::min(out.right.z, right.shoulderY);
    }

    if (AtTunnelEnd(record.leftCode)) {
      // A tunnel portal: the outer points 0.1 m inside the design lines' ends,
      // both at 8 m above the left shoulder.
      const double portal = left.present ? left.shoulderY + 8.0 : 0.0;
      out.left = left.present ? Along(C, left.lastX - 0.1, leftDirection, portal) : PlanPoint();
      out.right = right.present ? Along(rightOrigin, right.lastX - 0.1, rightDirection, portal) : PlanPoint();
    } else if (record.leftCode == 0 && i > 0) {
      const SectionRecord& previous = sections[i - 1];
      const int previousRightSide = previous.kind == 2 ? 3 : 1;
      if (ChangesFillCut(previous.formCode[0], record.formCode[0], !previous.designLines[0].isEmpty(), left.present,
                         previousLeft, left.shoulder)) {
        PlanBoundaryRecord change;
        const double k = SignChangeRatio(previous.mileage, record.mileage, previous.shoulderFillHeight[0],
                                         record.shoulderFillHeight[0], change.mileage);
        change.leftCode = record.leftCode;
        change.rightCode = record.rightCode;
        change.left = Blend(previousLeft, left.shoulder, k);
        planBoundary.push_back(change);
      }
      if (ChangesFillCut(previous.formCode[previousRightSide], record.formCode[rightSide],
                         !previous.designLines[previousRightSide].isEmpty(), right.present, previousRight,
                         right.shoulder)) {
        PlanBoundaryRecord change;
        const double k = SignChangeRatio(previous.mileage, record.mileage, previous.shoulderFillHeight[1],
                                         record.shoulderFillHeight[1], change.mileage);
        change.leftCode = record.leftCode;
        change.rightCode = record.rightCode;
        change.right = Blend(previousRight, right.shoulder, k);
        planBoundary.push_back(change);
      }
    }
    planBoundary.push_back(out);
    previousLeft = left.present ? left.shoulder : PlanPoint();
    previousRight = right.present ? right.shoulder : PlanPoint();
  }
}
