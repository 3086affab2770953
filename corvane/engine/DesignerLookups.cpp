// The roadbed standards that apply to a section at its mileage ML. Each row
// of a standard table ends its range at an end mileage and applies from the
// previous row's end; ML exactly at (or within 0.001 of) an end mileage takes
// that row, ML beyond the last end takes the last row. An empty table gives
// zero values.

#include <algorithm>

#include "CrossSectionDesigner.h"

double LookupByEndChainage(double ML, int count, const StandardValueEntry* rows) {
  const int i = FindRowByEndMileage(ML, count, rows);
  return i < 0 ? 0.0 : rows[i].value;
}

double CrossSectionDesigner::GetShoulderWidth(double ML, int count, const StandardValueEntry* rows) {
  return LookupByEndChainage(ML, count, rows);
}

int CrossSectionDesigner::GetLandWidening(double ML, int count, const LandWideningEntry* rows, double& fillWidening,
                                          double& cutWidening) {
  const int i = FindRowByEndMileage(ML, count, rows);
  fillWidening = i < 0 ? 0.0 : rows[i].fillWidening;
  cutWidening = i < 0 ? 0.0 : rows[i].cutWidening;
  return i;
}

int CrossSectionDesigner::GetDrainageDitch(double ML, int count, const DrainageDitchEntry* rows, int& type,
                                           double& distance, double& crossSlope, double& depth, double& bottomWidth,
                                           double& innerRatio, double& outerRatio, double& liningThickness) {
  const int i = FindRowByEndMileage(ML, count, rows);
  const DrainageDitchEntry row = i < 0 ? DrainageDitchEntry() : rows[i];
  type = row.type;
  distance = row.distance;
  crossSlope = row.crossSlope * 0.01;
  depth = row.depth;
  bottomWidth = row.bottomWidth;
  innerRatio = row.innerRatio;
  outerRatio = row.outerRatio;
  liningThickness = row.liningThickness;
  return i;
}

int CrossSectionDesigner::GetSideDitch(double ML, int count, const SideDitchEntry* rows, double& width, double& a,
                                       double& b, double& c, double& d, double& e) {
  int i = -1;
  if (count > 0 && rows != nullptr) {
    i = count - 1;
    for (int k = 0; k < count; ++k)
      if (rows[k].endMileage + 0.001 > ML) {
        i = k;
        break;
      }
  }
  const SideDitchEntry row = i < 0 ? SideDitchEntry() : rows[i];
  a = row.bottomWidth;
  b = row.depth;
  c = row.innerRatio;
  d = row.outerRatio;
  e = row.liningThickness;
  width = (d + c) * b + a;
  return i;
}

int CrossSectionDesigner::GetSlopeGrades(double ML, int count, const SlopeGradesEntry* rows, double* ratios,
                                         double* heights, double* bermWidths, double* bermSlopes) {
  const int i = FindRowByEndMileage(ML, count, rows);
  if (i < 0) return 0;
  const SlopeGradesEntry& row = rows[i];
  const int n = std::clamp(row.gradeCount, 0, kMaxSlopeGrades);
  for (int k = 0; k < n; ++k) {
    ratios[k] = row.grades[k].ratio;
    heights[k] = row.grades[k].height;
    bermWidths[k] = row.grades[k].bermWidth;
    bermSlopes[k] = row.grades[k].fourth;
  }
  return n;
}

int CrossSectionDesigner::GetTopDitch(double ML, int count, const TopDitchEntry* rows, double& offset,
                                      double& bottomWidth, double& depth, double& innerRatio, double& outerRatio,
                                      double& liningThickness) {
  offset = bottomWidth = depth = innerRatio = outerRatio = liningThickness = 0.0;
  if (rows == nullptr) return 0;
  for (int k = 0; k < count; ++k) {
    const TopDitchEntry& row = rows[k];
    if (!(row.startMileage - 0.001 < ML && ML < row.endMileage + 0.001)) continue;
    const double span = row.endMileage - row.startMileage;
    if (span > 0.001 || span < -0.001) {
      const double f = (ML - row.startMileage) / span;
      offset = row.atStart.offset + (row.atEnd.offset - row.atStart.offset) * f;
      bottomWidth = row.atStart.bottomWidth + (row.atEnd.bottomWidth - row.atStart.bottomWidth) * f;
      depth = row.atStart.depth + (row.atEnd.depth - row.atStart.depth) * f;
    } else {
      offset = row.atStart.offset;
      bottomWidth = row.atStart.bottomWidth;
      depth = row.atStart.depth;
    }
    innerRatio = row.innerRatio;
    outerRatio = row.outerRatio;
    liningThickness = row.liningThickness;
    return 1;
  }
  return 0;
}

double CrossSectionDesigner::ImprovedFillThicknessAt(double ML) const {
  for (int i = 0; i < improvedFill.count; ++i) {
    const ImprovedFillEntry& row = improvedFill.rows[i];
    if (row.startMileage - 0.001 < ML && ML < row.endMileage + 0.001) return row.value;
  }
  return 0.0;
}
