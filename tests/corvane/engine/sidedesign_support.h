#pragma once
// Hand-set roadbed standards for the tests of the side design: one row per
// table, covering the chainage of the test sections, on both sides.

#include <vector>

#include "CrossSectionDesigner.h"

namespace sidedesign {

struct HandStandards {
  double surfaceLayer = 0.0;        // 基床表层厚度
  double shoulderProtection = 0.0;  // 护肩宽度
  double topsoil = 0.0;             // 清表土厚度
  double improvedSoil = 0.0;        // 填改良土 (0: no row)
  double leftLimit = 60.0;          // 横断面限制宽度
  double rightLimit = 60.0;
  double fillWidening = 1.0;  // 用地加宽
  double cutWidening = 1.5;
  int drainageType = 0;  // 排水沟: type; d0 2.0, s0 4 %, depth 0.6, bottom 0.4, 1:1, 1:1, lining 0.3
  bool topDitch = false;  // 天沟: offset 2.0, bottom 0.4, depth 0.6, 1:1, 1:1, lining 0.3
  bool station = false;   // a station holds the test chainage
  std::vector<SlopeGrade> embankment{{1.5, 8.0, 1.0, 0.0}, {1.75, 10.0, 1.0, 0.0}, {2.0, 100.0, 1.0, 0.0}};
  std::vector<SlopeGrade> cutting{{1.0, 8.0, 2.0, 0.0}, {1.25, 10.0, 1.5, 0.0}, {1.5, 100.0, 1.0, 0.0}};
};

// Every row ends at mileage 1000; the test sections lie at 100.
inline constexpr double kEnd = 1000.0;
inline constexpr double kML = 100.0;

inline void OneValue(OwnedRowArray<StandardValueEntry>& table, double value) {
  StandardValueEntry* row = table.Replace(1);
  row->endMileage = kEnd;
  row->value = value;
}

inline void Grades(OwnedRowArray<SlopeGradesEntry>& table, const std::vector<SlopeGrade>& grades) {
  SlopeGradesEntry* row = table.Replace(1);
  row->endMileage = kEnd;
  row->gradeCount = static_cast<int>(grades.size());
  for (size_t i = 0; i < grades.size(); ++i) row->grades[i] = grades[i];
}

// The ditches of one side: the side ditch (bottom 0.4, depth 0.8, 1:1, 1:1,
// lining 0.3), the drainage ditch of type `drainageType` (d0 2.0, s0 4 %,
// depth 0.6, bottom 0.4, 1:1, 1:1, lining 0.3) and, when asked, a top ditch
// (offset 2.0, bottom 0.4, depth 0.6, 1:1, 1:1, lining 0.3).
inline void DitchTables(SideStandards& side, int drainageType, bool topDitch) {
  SideDitchEntry* sd = side.sideDitch.Replace(1);
  sd->endMileage = kEnd;
  sd->bottomWidth = 0.4;
  sd->depth = 0.8;
  sd->innerRatio = 1.0;
  sd->outerRatio = 1.0;
  sd->liningThickness = 0.3;
  DrainageDitchEntry* dd = side.drainageDitch.Replace(1);
  dd->endMileage = kEnd;
  dd->type = drainageType;
  dd->distance = 2.0;
  dd->crossSlope = 4.0;
  dd->bottomWidth = 0.4;
  dd->depth = 0.6;
  dd->innerRatio = 1.0;
  dd->outerRatio = 1.0;
  dd->liningThickness = 0.3;
  side.topDitch.Free();
  if (topDitch) {
    TopDitchEntry* td = side.topDitch.Replace(1);
    td->startMileage = 0.0;
    td->endMileage = kEnd;
    td->atStart = td->atEnd = {2.0, 0.4, 0.6};
    td->innerRatio = 1.0;
    td->outerRatio = 1.0;
    td->liningThickness = 0.3;
  }
}

inline void SideTables(SideStandards& side, const HandStandards& h, double limit) {
  OneValue(side.limitWidth, limit);
  OneValue(side.topsoil, h.topsoil);
  OneValue(side.groundWidth, 60.0);
  LandWideningEntry* widening = side.landWidening.Replace(1);
  widening->endMileage = kEnd;
  widening->fillWidening = h.fillWidening;
  widening->cutWidening = h.cutWidening;
  Grades(side.embankmentSlopes, h.embankment);
  Grades(side.cuttingSlopes, h.cutting);
  DitchTables(side, h.drainageType, h.topDitch);
}

inline void Apply(CrossSectionDesigner& d, const HandStandards& h) {
  OneValue(d.surfaceLayer, h.surfaceLayer);
  OneValue(d.shoulderProtection, h.shoulderProtection);
  SideTables(d.leftStandards, h, h.leftLimit);
  SideTables(d.rightStandards, h, h.rightLimit);
  d.improvedFill.Free();
  if (h.improvedSoil > 0.0) {
    ImprovedFillEntry* row = d.improvedFill.Replace(1);
    row->startMileage = 0.0;
    row->endMileage = kEnd;
    row->value = h.improvedSoil;
  }
  d.stations.Free();
  if (h.station) {
    StructureRow* row = d.stations.Replace(1);
    row->startMileage = 50.0;
    row->endMileage = 150.0;
  }
}

// The layers of the "layers set" cases.
inline HandStandards Layered(HandStandards h) {
  h.surfaceLayer = 0.6;
  h.shoulderProtection = 0.5;
  h.topsoil = 0.3;
  h.improvedSoil = 0.4;
  return h;
}

}  // namespace sidedesign
