// Questions a section design asks of its line at a continuous mileage ML:
// the design elevation with its vertical curves, the track-structure height,
// the structure class, the curve widening and the second line's spacing.

#include <algorithm>
#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"
#include "arx/edoutput.h"
#include "project/TechParams.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kNoCurveRadius = 100000000.0;

int Sign(double v) { return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0); }

// |v| rounded half up to 1/units, with the sign of v. The 0.500001 bias
// rounds a value that is a hair below the half (12.345 held as 12.34499...)
// up, as a reader of the printed value expects.
double RoundToUnits(double v, double units) {
  return Sign(v) * std::floor(units * std::fabs(v) + 0.500001) / units;
}

double UnitsOfRoundingMode(int mode) {
  switch (mode) {
    case 1: return 10.0;
    case 2: return 100.0;
    case 3: return 1000.0;
    default: return 1.0;
  }
}

// Tangent length of the vertical curve of a grade change of `delta` per cent
// with radius R (a negative R is the tangent length itself).
double TangentLength(double delta, double R) { return R >= 0.0 ? std::fabs(delta * R * 0.005) : std::fabs(R); }

// Structure code of ML against one list: start, end or inside, else 0.
int ClassifyInList(double ML, const OwnedRowArray<StructureRow>& list, int startCode, int insideCode, int endCode) {
  for (int i = 0; i < list.count; ++i) {
    const StructureRow& row = list.rows[i];
    if (std::fabs(ML - row.startMileage) < 0.01) return startCode;
    if (std::fabs(ML - row.endMileage) < 0.01) return endCode;
    if (row.startMileage < ML && ML < row.endMileage) return insideCode;
  }
  return kStructureNone;
}

int FindInList(double ML, const OwnedRowArray<StructureRow>& list) {
  for (int i = 0; i < list.count; ++i) {
    const StructureRow& row = list.rows[i];
    if (std::fabs(ML - row.startMileage) < 0.01 || std::fabs(ML - row.endMileage) < 0.01 ||
        (row.startMileage - 0.01 < ML && ML < row.endMileage + 0.01))
      return i;
  }
  return -1;
}

}  // namespace

// ---- File codes ---------------------------------------------------------------

int StructureCodeToFileCode(int code) {
  switch (code) {
    case kBridgeStart: return 11;
    case kBridgeInside: return 12;
    case kBridgeEnd: return 13;
    case kTunnelStart: return 21;
    case kTunnelInside: return 22;
    case kTunnelEnd: return 23;
    case kStationStart: return 31;
    case kStationInside: return 32;
    case kStationEnd: return 33;
    default: return 0;
  }
}

int FileCodeToStructureCode(int fileCode) {
  switch (fileCode) {
    case 11: return kBridgeStart;
    case 12: return kBridgeInside;
    case 13: return kBridgeEnd;
    case 21: return kTunnelStart;
    case 22: return kTunnelInside;
    case 23: return kTunnelEnd;
    case 31: return kStationStart;
    case 32: return kStationInside;
    case 33: return kStationEnd;
    default: return kStructureNone;
  }
}

double NormalizeAngle(double angle) {
  if (angle < 0.0) return angle + kTwoPi;
  if (angle >= kTwoPi) return angle - kTwoPi;
  return angle;
}

// ---- Grade table and design elevation -------------------------------------------

int CrossSectionDesigner::BuildGradeTable() {
  gradeTable.Free();
  const int points = std::clamp(gradePointCount, 0, kMaxGradePoints);
  if (points <= 0) return 0;

  std::vector<GradeTableRow> rows;
  rows.reserve(static_cast<size_t>(points) + 1);
  GradeTableRow first;
  first.mileage = gradePoints[0].mileage;
  first.elevation = gradePoints[0].elevation;
  rows.push_back(first);
  for (int i = 1; i < points; ++i) {
    const GradePoint& p = gradePoints[i];
    const GradeTableRow& previous = rows.back();
    const double length = p.mileage - previous.mileage;
    if (!(length > 0.0)) {
      // A grade cannot be formed over no length: the point is left out.
      acutPrintf("\n第%d个变坡点的里程%0.3lf不大于前一变坡点的里程%0.3lf，该变坡点未计入坡度表", i + 1, p.mileage,
                 previous.mileage);
      continue;
    }
    GradeTableRow row;
    row.mileage = p.mileage;
    row.elevation = p.elevation;
    row.grade = (p.elevation - previous.elevation) / length;
    row.length = length;
    row.radius = p.radius;
    rows.push_back(row);
  }
  rows.push_back(GradeTableRow());  // the closing row

  const int count = static_cast<int>(rows.size());
  std::copy(rows.begin(), rows.end(), gradeTable.Replace(count));
  return count;
}

double CrossSectionDesigner::VerticalCurveCorrection(int segment, double ML, int rowCount, const GradeTableRow* t) {
  if (t == nullptr || rowCount < 2 || segment < 0 || segment >= rowCount) return 0.0;
  const int a = segment;
  double delta1, R1, delta2, R2, x;
  if (a == 0) {
    delta1 = 0.0;
    R1 = kNoCurveRadius;
    delta2 = (t[1].grade - t[0].grade) * 100.0;
    R2 = t[0].radius;
    x = t[0].mileage - ML;
  } else if (a == rowCount - 1) {
    delta1 = (t[a].grade - t[a - 1].grade) * 100.0;
    R1 = t[a - 1].radius;
    delta2 = 0.0;
    R2 = kNoCurveRadius;
    x = ML - t[a].mileage;
  } else {
    delta1 = (t[a].grade - t[a - 1].grade) * 100.0;
    R1 = t[a - 1].radius;
    delta2 = (t[a + 1].grade - t[a].grade) * 100.0;
    R2 = t[a].radius;
    x = ML - t[a - 1].mileage;
  }
  const double T1 = TangentLength(delta1, R1);
  const double T2 = TangentLength(delta2, R2);
  const double L = t[a].length;
  if (x < T1) return R1 > 0.0 ? Sign(delta1) * (T1 - x) * (T1 - x) / R1 * 0.5 : 0.0;
  if (x > L - T2 && R2 > 0.0) {
    const double y = x - L + T2;
    return Sign(delta2) * y * y / R2 * 0.5;
  }
  return 0.0;
}

double CrossSectionDesigner::DesignElevationAt(double ML, double& ground, double& design, double& fillHeight,
                                               double& grade, double& spare1, double& spare2, double& correction,
                                               double& designCopy) const {
  design = fillHeight = grade = spare1 = spare2 = correction = designCopy = 0.0;
  const int rowCount = gradeTable.count;
  const GradeTableRow* t = gradeTable.rows;
  const double M1 = rowCount >= 2 ? t[0].mileage : 0.0;
  const double Mn = rowCount >= 2 ? t[rowCount - 2].mileage : 0.0;
  if (rowCount < 2 || ML < M1 - 0.001 || ML > Mn + 0.01) {
    acutPrintf("%d %d ML=%0.2lf out of range(%0.3lf---%0.3lf)\n", gradePointCount, rowCount, ML, M1, Mn);
    return 0.0;
  }

  if (ML < M1 - 0.0001) {
    design = t[0].elevation - (M1 - ML) * t[0].grade;
    grade = t[0].grade;
    correction = VerticalCurveCorrection(0, ML, rowCount, t);
  } else if (ML > Mn + 0.0001) {
    design = t[rowCount - 2].elevation + (ML - Mn) * t[rowCount - 1].grade;
    grade = t[rowCount - 1].grade;
    correction = VerticalCurveCorrection(rowCount - 1, ML, rowCount, t);
  } else {
    // A profile of one point has no segment: its elevation holds at that point.
    design = t[0].elevation;
    for (int i = 1; i < rowCount - 1; ++i) {
      if (t[i - 1].mileage - 0.0001 <= ML && ML <= t[i].mileage + 0.0001) {
        design = (ML - t[i - 1].mileage) * t[i].grade + t[i - 1].elevation;
        grade = t[i].grade;
        correction = VerticalCurveCorrection(i, ML, rowCount, t);
        break;
      }
    }
  }
  design += correction;
  if (addTrackHeight == 1) design -= TrackStructureHeightAt(ML) * 0.001;
  fillHeight = design - ground;

  const double units = UnitsOfRoundingMode(roundingMode);
  fillHeight = RoundToUnits(fillHeight, units);
  design = RoundToUnits(design, units);
  ground = RoundToUnits(ground, units);
  correction = RoundToUnits(correction, units);
  grade = Sign(grade) * std::floor(std::fabs(grade) * 10000.0 + 0.500001) * 0.1;
  designCopy = design;
  return design;
}

double CrossSectionDesigner::GradeLineElevation(double ML) const {
  const int rowCount = gradeTable.count;
  const GradeTableRow* t = gradeTable.rows;
  if (rowCount < 2) return -1.0;
  const double M1 = t[0].mileage;
  const double Mn = t[rowCount - 2].mileage;
  if (ML < M1 - 0.001 || ML > Mn + 0.01) return -1.0;
  if (ML < M1 - 0.0001) return t[0].elevation + VerticalCurveCorrection(0, ML, rowCount, t);
  if (ML > Mn + 0.0001) return t[rowCount - 2].elevation + VerticalCurveCorrection(rowCount - 1, ML, rowCount, t);

  for (int i = 1; i < rowCount - 1; ++i) {
    if (!(t[i - 1].mileage - 0.0001 <= ML && ML <= t[i].mileage + 0.0001)) continue;
    if (t[i - 1].radius < 0.0) {
      const double T = -t[i - 1].radius;
      if (ML < t[i - 1].mileage + T) {
        const double g1 = t[i - 1].grade, g2 = t[i].grade;
        const double E0 = t[i - 1].elevation - T * g1;
        const double s = T + (ML - t[i - 1].mileage);
        return E0 + s * g1 + s * s * (g2 - g1) / (4.0 * T);
      }
    }
    if (t[i].radius < 0.0) {
      const double T = -t[i].radius;
      if (ML > t[i].mileage - T) {
        const double g1 = t[i].grade, g2 = t[i + 1].grade;
        const double E0 = t[i].elevation - T * g1;
        const double s = ML - (t[i].mileage - T);
        return E0 + s * g1 + s * s * (g2 - g1) / (4.0 * T);
      }
    }
    return (ML - t[i - 1].mileage) * t[i].grade + t[i - 1].elevation + VerticalCurveCorrection(i, ML, rowCount, t);
  }
  return t[0].elevation;  // a profile of one point
}

double CrossSectionDesigner::TrackStructureHeightAt(double ML) const {
  if (trackSegments.count <= 0) return 0.0;
  for (int i = 0; i < trackSegments.count; ++i)
    if (trackSegments.rows[i].endMileage > ML) return trackSegments.rows[i].heightMm;
  const TrackSegment& last = trackSegments.rows[trackSegments.count - 1];
  acutPrintf("\n里程%0.3lf 大于轨道结构高度分段终点里程%0.3lf", ML, last.endMileage);
  return last.heightMm;
}

// ---- Structures -----------------------------------------------------------------

int CrossSectionDesigner::ClassifyChainage(double ML) const {
  int code = ClassifyInList(ML, bridges, kBridgeStart, kBridgeInside, kBridgeEnd);
  if (code == kStructureNone) code = ClassifyInList(ML, tunnels, kTunnelStart, kTunnelInside, kTunnelEnd);
  if (code == kStructureNone) code = ClassifyInList(ML, stations, kStationStart, kStationInside, kStationEnd);
  return code;
}

int CrossSectionDesigner::FindStructureIndex(double ML) const { return FindInList(ML, bridges); }
int CrossSectionDesigner::FindTunnelIndex(double ML) const { return FindInList(ML, tunnels); }
int CrossSectionDesigner::FindStationIndex(double ML) const { return FindInList(ML, stations); }

bool CrossSectionDesigner::IsInStation(double ML) const {
  for (int i = 0; i < stations.count; ++i) {
    const StructureRow& row = stations.rows[i];
    if (row.startMileage - 0.01 < ML && ML < row.endMileage + 0.01) return true;
  }
  return false;
}

int CrossSectionDesigner::FindExcavationClassRow(double ML, double tolerance) const {
  return FindRowByEndMileage(ML, excavationClass.count, excavationClass.rows, tolerance);
}

// ---- Curves and widening ----------------------------------------------------------

int CrossSectionDesigner::GetCurvePosition(double ML, int curveCount, const CurveRecord* curves, int& index,
                                           double& fraction, double& sideFactor) {
  index = -1;
  fraction = 0.0;
  sideFactor = 0.0;
  if (curves == nullptr || curveCount <= 0) return -1;
  int k = 0;
  while (k < curveCount && !(ML - curves[k].HZ < 0.1)) ++k;
  if (k >= curveCount) return -1;
  index = k;
  if (k == 0 || k == curveCount - 1) return -1;

  const CurveRecord& c = curves[k];
  sideFactor = c.turn;
  if (ML < c.ZH + 0.01) return 0;
  if (ML < c.HY + 0.01) {
    fraction = c.HY - c.ZH > 0.001 ? (ML - c.ZH) / (c.HY - c.ZH) : 1.0;
    return 1;
  }
  if (ML < c.YH + 0.01) {
    fraction = 1.0;
    return 2;
  }
  fraction = c.HZ - c.YH > 0.001 ? (c.HZ - ML) / (c.HZ - c.YH) : 1.0;
  return 3;
}

double CrossSectionDesigner::WideningByRadius(double radius) const {
  // The 曲线加宽 rows of the scheme come first; without them the step table
  // of the technical parameters gives the widening.
  const WideningRow* rows = xlDataBase.widenings;
  const int count = xlDataBase.wideningCount;
  if (rows != nullptr && count > 0) {
    for (int i = 0; i < count; ++i)
      if (rows[i].r1 <= radius && radius <= rows[i].r2) return rows[i].jk;
    return 0.0;
  }
  return LookupParamStepTable(radius);
}

double CrossSectionDesigner::CurveWideningAt(double ML, int curveIndex, const IpRecord* ips,
                                             const CurveRecord* curves) const {
  if (ips == nullptr || curves == nullptr || curveIndex < 0) return 0.0;
  const IpRecord& ip = ips[curveIndex];
  const CurveRecord& c = curves[curveIndex];
  double w = WideningByRadius(ip.R);
  if (w <= 0.0) return 0.0;
  const double v = c.turn;
  if (ML < c.ZH) return 0.0;
  if (ML < c.HY) return ip.L1 > 0.0 ? -(w * v * (ML - c.ZH) / ip.L1) : -(w * v);
  if (ML <= c.YH) return -(w * v);
  if (ML >= c.HZ + 0.1) return 0.0;
  return ip.L2 > 0.01 ? -(w * (c.HZ - ML) / ip.L2 * v) : -(w * v);
}

namespace {

// Side factor (the curve's turn, 0 off a curve) and signed curve widening of
// a line at a mileage on it.
struct CurveState {
  double side = 0.0;
  double widening = 0.0;
};

CurveState CurveStateOf(const CrossSectionDesigner& designer, const AlignmentModel& line, double mileage) {
  CurveState state;
  int index = -1;
  double fraction = 0.0, turn = 0.0;
  const int curveCount = std::clamp(line.ipCount, 0, AlignmentModel::kMaxIps);
  if (CrossSectionDesigner::GetCurvePosition(mileage, curveCount, line.curves, index, fraction, turn) > 0) {
    state.side = turn;
    state.widening = designer.CurveWideningAt(mileage, index, line.ips, line.curves);
  }
  return state;
}

}  // namespace

void CrossSectionDesigner::GetLineOffsetsAtChainage(double ML, int& roadbedType, double& widening,
                                                    double& secondWidening, double& spacing) const {
  widening = 0.0;
  secondWidening = 0.0;
  spacing = 2.0 * halfDistance2 + 2.4;

  if (lineKind == "单线" || roadbedType == 0) {
    if (baseline != nullptr) widening = CurveStateOf(*this, *baseline, ML).widening;
    roadbedType = 0;
    spacing = 0.0;
    return;
  }
  if ((leftLine == nullptr && rightLine == nullptr) || baseline == nullptr) return;

  const CurveState B = CurveStateOf(*this, *baseline, ML);
  const double vB = B.side, wB = B.widening;

  // Offset of a second line at ML, its curve state at its own mileage and
  // the detour section that holds ML (-1 none); all zero for a missing line.
  struct SecondLine {
    double offset = 0.0;
    CurveState curve;
    int detour = -1;
  };
  auto secondLine = [&](const SideLineModel* line) {
    SecondLine s;
    if (line == nullptr) return s;
    double mileage = 0.0, x = 0.0, y = 0.0;
    MileageOnOtherLine(ML, baseline->elements, baseline->elementCount, line->elements, line->elementCount, s.offset,
                       mileage, x, y);
    s.curve = CurveStateOf(*this, *line, mileage);
    s.detour = line->FindDetourAtMileage(ML);
    return s;
  };
  const SecondLine L = secondLine(leftLine);
  const SecondLine R = secondLine(rightLine);
  const double oL = std::fabs(L.offset), oR = std::fabs(R.offset);
  const double vL = L.curve.side, wL = L.curve.widening;
  const double vR = R.curve.side, wR = R.curve.widening;
  const bool farL = oL > 0.01, farR = oR > 0.01;

  if (L.detour < 0 && R.detour < 0) {
    if (farL && farR) {
      roadbedType = 3;
      widening = vL > 0 ? wL : (vR < 0 ? wR : 0.0);
    } else if (farL) {
      roadbedType = 1;
      widening = vL > 0 ? wL : wB;
    } else if (farR) {
      roadbedType = 2;
      widening = vR < 0 ? wR : wB;
    } else {
      widening = wB;
    }
    return;
  }

  const double S0 = 2.0 * halfDistance2 + 0.4;
  const bool rightInDetour = R.detour >= 0;
  double S;
  if (farL && farR && rightInDetour) {
    S = vR > 0 ? S0 + std::fabs(wR) + (vL < 0 ? std::fabs(wL) : 0.0) : S0 + wL;
    if (oL + oR < S) {
      roadbedType = 9;
      widening = (vR < 0 && vL < 0) ? wR : ((vR > 0 && vL > 0) ? wL : 0.0);
    } else {
      roadbedType = 10;
      widening = wL;
      secondWidening = wR;
    }
  } else if (farL && farR) {
    S = S0 + (vL < 0 ? std::fabs(wL) : 0.0) + ((vL >= 0 || vR > 0) ? std::fabs(wR) : 0.0);
    if (oL + oR < S) {
      roadbedType = 11;
      widening = (vL > 0 && vR > 0) ? wL : ((vL < 0 && vR < 0) ? wR : 0.0);
    } else {
      roadbedType = 12;
      widening = wL;
      secondWidening = wR;
    }
  } else if (rightInDetour) {
    S = vR > 0 ? S0 + wR + (vB < 0 ? wB : 0.0) : S0 + wB;
    if (oR < S) {
      roadbedType = 6;
      widening = (vR < 0 && vB < 0) ? wR : ((vR > 0 && vB > 0) ? wB : 0.0);
    } else {
      roadbedType = 7;
      widening = wB;
      secondWidening = wR;
    }
  } else {
    S = vL < 0 ? S0 + wL + (vB > 0 ? wB : 0.0) : S0 + wB;
    if (oL < S) {
      roadbedType = 4;
      widening = (vL > 0 && vB > 0) ? wL : ((vL < 0 && vB < 0) ? wB : 0.0);
    } else {
      roadbedType = 5;
      widening = wL;
      secondWidening = wB;
    }
  }
  spacing = S;
}
