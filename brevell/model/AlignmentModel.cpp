// AlignmentModel of the plan module: defaults, the line loaders, the setters,
// the base line's chainage conversions and the point and mileage queries.

#include "AlignmentModel.h"

#include <algorithm>
#include <cstring>

#include "PlanDrawSupport.h"
#include "geometry/DrawSupport.h"
#include "geometry/ElementState.h"
#include "project/GbkText.h"

AlignmentModel::AlignmentModel() { InitPlanDefaults(); }

AlignmentModel::~AlignmentModel() = default;

void AlignmentModel::InitPlanDefaults() {
  settings = PlanSettings{};
  lineLength = 0.0;
  for (PlanLine& line : m_lines) line = PlanLine{};
  m_baseBreaks.clear();
  SetIpPrefix(kBaseLine, "JD");
  SetIpPrefix(kLeftLine, "ZJD");
  SetIpPrefix(kRightLine, "YJD");
  for (int i = 0; i < 3; ++i) {
    m_ipLayerIds[i] = AcDbObjectId::kNull;
    m_centerlineLayerIds[i] = AcDbObjectId::kNull;
    m_traverseLayerIds[i] = AcDbObjectId::kNull;
  }
  if (drawsupport::WorkingDatabase() != nullptr) drawsupport::LoadLinetype("CONTINUOUS", "acadiso.lin");
}

// ---- Loaders ------------------------------------------------------------------------

void PlanElementAreas::Resize(int n) {
  const size_t count = n > 0 ? static_cast<size_t>(n) : 0;
  keyPoints.assign(count, CurveKeyPoints{});
  rawElements.assign(4 * count, LineElement{});
  elements.assign(4 * count, ElementRecord{});
}

void AlignmentModel::ComputeLine(PlanLine& line) {
  line.pointCount = static_cast<int>(line.points.size());
  BuildPlanElements(line.points.data(), line.pointCount, line.areas, line.elementCount);
  line.lastComputedCurve = m_lastCurveBuilt;
  line.range = DrawingRange{};
}

void AlignmentModel::LoadBaseLine(const IntersectionPoint* points, int n) {
  if (points == nullptr || n < 1) return;
  PlanLine& line = m_lines[0];
  line.points.assign(points, points + n);
  ComputeLine(line);
}

void AlignmentModel::LoadLeftLine(const SideLineRecord* records, int n) { LoadSideLine(kLeftLine, records, n); }

void AlignmentModel::LoadRightLine(const SideLineRecord* records, int n) { LoadSideLine(kRightLine, records, n); }

void AlignmentModel::LoadSideLine(int code, const SideLineRecord* records, int n) {
  if (records == nullptr || n < 1 || code == kBaseLine) return;
  PlanLine& line = LineRef(code);
  line.records.assign(records, records + n);
  line.points.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const SideLineRecord& r = records[i];
    line.points[i] = IntersectionPoint{static_cast<double>(i), r.N, r.E, r.L1, r.R, r.L2};
  }
  ComputeLine(line);
  line.sections.clear();
  line.loaded = true;
}

// ---- Setters ----------------------------------------------------------------------------

void AlignmentModel::SetBaseBreakTable(int count, const BreakRecord* records) {
  if (records == nullptr || count < 1) return;
  m_baseBreaks.assign(records, records + count);
  // A prefix field is read as a text: one without its terminator ends at its size.
  for (BreakRecord& r : m_baseBreaks) {
    r.prefixBefore[kChainPrefixSize - 1] = '\0';
    r.prefixAfter[kChainPrefixSize - 1] = '\0';
  }
}

void AlignmentModel::SetSideBreakTable(int line, const PlanBreakRecord* records, int count) {
  if (records == nullptr || count < 1 || line == kBaseLine) return;
  LineRef(line).breaks.assign(records, records + count);
}

void AlignmentModel::SetIpPrefix(int line, const char* prefix) {
  PlanLine& l = LineRef(line);
  CopyTextBounded(l.prefix, sizeof l.prefix, prefix, PlanLine::kPrefixGbk - 1);
}

void AlignmentModel::SetStartChainage(const char* text) {
  CopyTextBounded(settings.startChainage, sizeof settings.startChainage, text, PlanSettings::kChainageTextBytes - 1);
}

void AlignmentModel::SetEndChainage(const char* text) {
  CopyTextBounded(settings.endChainage, sizeof settings.endChainage, text, PlanSettings::kChainageTextBytes - 1);
}

void AlignmentModel::SetDirectionSetting(int value) {
  settings.directionSetting = value;
  settings.direction = -1;
}

// ---- Base-line chainage and mileage ---------------------------------------------------------

double AlignmentModel::ChainageToMileage(const char* chainageText) const {
  return CheckChainageBreakPrefixes(chainageText, BaseBreakCount(), m_baseBreaks.data());
}

double AlignmentModel::MileageToChainage(double mileage, char* prefixOut, size_t prefixOutSize) const {
  return BreakTableMileageToChainage(mileage, prefixOut, BaseBreakCount(), m_baseBreaks.data(), prefixOutSize);
}

CString AlignmentModel::BaseChainageText(double mileage) const {
  char prefix[kChainPrefixSize] = {};
  const double value = MileageToChainage(mileage, prefix, sizeof prefix);
  char text[kChainageTextSize] = {};
  FormatChainageWithPrecision(prefix, value, settings.chainageDigits, text);
  return text;
}

// ---- Points and mileages ---------------------------------------------------------------------

int AlignmentModel::PointOnLine(int line, LinePoint& point) const {
  const PlanLine& l = Line(line);
  if (!l.HasElements()) return -9;
  return PointAtDistance(l.Elements(), l.elementCount, point);
}

bool AlignmentModel::PointAt(int line, double mileage, LinePoint& point) const {
  point = LinePoint{};
  point.mileage = mileage;
  return PointOnLine(line, point) >= kElementStraight;
}

LinePoint AlignmentModel::PointNear(int line, double mileage) const {
  LinePoint p;
  if (PointAt(line, mileage, p)) return p;
  const PlanLine& l = Line(line);
  return l.HasElements() ? PointOnEndTangent(l.Elements(), l.elementCount, mileage) : p;
}

LinePoint AlignmentModel::DrawnPoint(int line, const LinePoint& point) const {
  if (line == kBaseLine || settings.scaleFactor <= kSideLinesApart) return point;
  return plandraw::Moved(point, DetourShift(), point.bearing + (line < 0 ? -1.0 : 1.0) * plandraw::kPi / 2.0);
}

int AlignmentModel::MapMileageToSideLine(int line, double baseMileage, double& sideMileage, double& spacing,
                                         LinePoint& point) const {
  const PlanLine& base = Line(kBaseLine);
  const PlanLine& side = Line(line);
  sideMileage = -1.0;
  spacing = 0.0;
  point = LinePoint{};
  if (line == kBaseLine || !base.HasElements() || !side.HasElements()) return 0;
  return SpacingToOtherLine(baseMileage, base.Elements(), base.elementCount, side.Elements(), side.elementCount,
                            spacing, sideMileage, point);
}

double AlignmentModel::ProjectOnBaseLine(double N, double E) const {
  const PlanLine& base = Line(kBaseLine);
  return ProjectPointOnAlignment(base.Elements(), base.elementCount, N, E);
}

int AlignmentModel::FindCurveByMiddle(int line, double mileage, bool before) const {
  const PlanLine& l = Line(line);
  for (int i = 1; i < l.pointCount - 1; ++i) {
    const CurveKeyPoints& k = l.areas.keyPoints[i];
    if ((k.ZH + k.HZ) / 2.0 >= mileage) return before ? i - 1 : i;
  }
  return -1;
}

void AlignmentModel::InsertRangeByMiddle(std::vector<MileageRange>& ranges, double start, double end) {
  const double middle = (start + end) / 2.0;
  const auto at = std::find_if(ranges.begin(), ranges.end(),
                               [middle](const MileageRange& r) { return (r.start + r.end) / 2.0 > middle; });
  ranges.insert(at, MileageRange{start, end});
}

void AlignmentModel::RemoveRanges(std::vector<MileageRange>& ranges, int first, int count) {
  const int size = static_cast<int>(ranges.size());
  if (first < 0 || first >= size || count <= 0) return;
  const int last = std::min(size, first + count);
  ranges.erase(ranges.begin() + first, ranges.begin() + last);
}
