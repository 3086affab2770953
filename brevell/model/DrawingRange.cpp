// AlignmentModel: the drawing range of every line, from the start and end
// chainage of the settings (PrepareLines, CheckLineChainageBreaks).

#include <algorithm>

#include "AlignmentModel.h"
#include "project/BreakTable.h"

namespace {

// A range end this near the end of the line draws the line's last curve.
constexpr double kNearLineEnd = 2.0;
// The right line's range is taken this far inside the base range before it
// is mapped.
constexpr double kRightLineInset = 0.1;
// A range end this little beyond the line's end is not told as cut.
constexpr double kRangeCutTolerance = 0.01;

// `mileage`, or the fallback when it lies outside [first, last].
double WithinOr(double mileage, double first, double last, double fallback) {
  return mileage < first || mileage > last ? fallback : mileage;
}

}  // namespace

void AlignmentModel::PrepareLines() {
  for (int code : {kLeftLine, kRightLine}) {
    if (Line(code).loaded) RebuildSections(code);
  }
  CheckLineChainageBreaks();
}

void AlignmentModel::LocateMileage(int line, double mileage, int& curve, int& zone) const {
  const PlanLine& l = Line(line);
  curve = 0;
  zone = kZoneBeforeCurve;
  if (l.pointCount < 1) return;
  const CurveKeyPoints* kp = l.KeyPoints();
  for (int i = l.pointCount - 1; i >= 1; --i) {
    if (kp[i - 1].HZ <= mileage) {
      curve = i;
      break;
    }
  }
  const CurveKeyPoints& k = kp[curve];
  if (mileage <= k.ZH) {
    zone = kZoneBeforeCurve;
  } else if (mileage <= k.HY) {
    zone = kZoneEntering;
  } else if (mileage <= k.YH) {
    zone = kZoneArc;
  } else {
    zone = kZoneAfterArc;
  }
}

void AlignmentModel::LocateRange(int code, double start, double end, DrawingRange& range) const {
  const PlanLine& line = Line(code);
  range = DrawingRange{};
  range.start = start;
  range.end = end;
  if (line.pointCount < 1) return;
  LocateMileage(code, start, range.startCurve, range.startZone);
  LocateMileage(code, end, range.endCurve, range.endZone);
  range.firstCurve = range.startCurve;
  range.lastCurve = range.endZone == kZoneBeforeCurve ? range.endCurve - 1 : range.endCurve;
  if (end >= line.EndMileage() - kNearLineEnd) range.lastCurve = line.pointCount - 2;
  // Curves after an IP that ended the computation early have no elements.
  range.lastCurve = std::clamp(range.lastCurve, 0, std::max(line.lastComputedCurve, 0));
}

void AlignmentModel::CheckLineChainageBreaks() {
  PlanLine& base = m_lines[0];
  if (base.pointCount < 1) return;
  const double first = base.StartMileage();
  const double last = base.EndMileage();
  // An empty text leaves that end of the range at the end of the line.
  const double start = settings.startChainage[0] != '\0' ? ChainageToMileage(settings.startChainage) : first;
  const double end = settings.endChainage[0] != '\0' ? ChainageToMileage(settings.endChainage) : last;
  LocateRange(kBaseLine, WithinOr(start, first, last, first), WithinOr(end, first, last, last), base.range);
  // A range that reaches past the line is drawn within it: the command line
  // says where it was cut.
  m_rangeCutNote.Empty();
  auto cut = [&](const char* name, const char* text, const char* lineEnd, double at, const char* side) {
    CString note;
    note.Format("绘图范围的%s%s在线路%s%s%s(断链表), 平面绘到线路%s为止", name, text, lineEnd,
                BaseChainageText(at).GetString(), side, lineEnd);
    if (!m_rangeCutNote.IsEmpty()) m_rangeCutNote += "; ";
    m_rangeCutNote += note;
  };
  // A range end within a centimetre of the line's end is that end (the
  // break table's last chainage and the end the curves give differ by their
  // rounding).
  if (settings.startChainage[0] != '\0' && start < first - kRangeCutTolerance)
    cut("起始里程", settings.startChainage, "起点", first, "之前");
  if (settings.endChainage[0] != '\0' && end > last + kRangeCutTolerance)
    cut("终止里程", settings.endChainage, "终点", last, "之后");

  for (int code : {kLeftLine, kRightLine}) {
    PlanLine& side = LineRef(code);
    if (!side.loaded || side.pointCount < 1) continue;
    const double inset = code == kRightLine ? kRightLineInset : 0.0;
    double sideStart, sideEnd, spacing;
    LinePoint point;
    MapMileageToSideLine(code, base.range.start + inset, sideStart, spacing, point);
    MapMileageToSideLine(code, base.range.end - inset, sideEnd, spacing, point);
    const double sideFirst = side.StartMileage();
    const double sideLast = side.EndMileage();
    LocateRange(code, WithinOr(sideStart, sideFirst, sideLast, sideFirst),
                WithinOr(sideEnd, sideFirst, sideLast, sideLast), side.range);
  }
}

std::vector<CString> AlignmentModel::TakeLeftOutOfRange() {
  std::vector<CString> taken;
  taken.swap(m_leftOutOfRange);
  return taken;
}
