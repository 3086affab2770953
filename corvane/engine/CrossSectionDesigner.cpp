#include "CrossSectionDesigner.h"

#include <algorithm>

#include "DesignerGlobals.h"
#include "TerrainModel.h"
#include "project/TechParams.h"
#include "arx/edoutput.h"

void SideStandards::Free() {
  limitWidth.Free();
  landWidening.Free();
  topsoil.Free();
  groundWidth.Free();
  embankmentSlopes.Free();
  cuttingSlopes.Free();
  sideDitch.Free();
  drainageDitch.Free();
  topDitch.Free();
}

CrossSectionDesigner::CrossSectionDesigner() {
  g_DrawingFactor = 5.0;
  g_LastMergedRange = sheet::Range();
}

namespace {

// The designers that live as long as the module. The terrain model outlives
// the commands' own designers but not necessarily these.
bool IsModuleDesigner(const CrossSectionDesigner* designer) {
  const auto within = [designer](const CrossSectionDesigner* array) {
    return designer >= array && designer < array + kMaxDetourDesigners;
  };
  return designer == &g_BaselineDesigner || within(g_LeftDetourDesigners) || within(g_RightDetourDesigners);
}

}  // namespace

CrossSectionDesigner::~CrossSectionDesigner() {
  FreeTables();
  planBoundary.clear();
  DeleteModels();
  // A command's designer releases the terrain model its run loaded.
  if (!IsModuleDesigner(this) && g_TerrainModel.IsLoaded()) g_TerrainModel.Close();
}

void CrossSectionDesigner::FreeTables() {
  improvedFill.Free();
  excavationClass.Free();
  surfaceLayer.Free();
  shoulderProtection.Free();
  leftStandards.Free();
  rightStandards.Free();
  XLDataBase::FreeRows(xlDataBase.fillCuts, xlDataBase.fillCutCount);
  sections.clear();
  sections.shrink_to_fit();
  quantities.Free();
  trackSegments.Free();
  bridges.Free();
  tunnels.Free();
  stations.Free();
  gradeTable.Free();
}

void CrossSectionDesigner::DeleteModels() {
  // The side lines refer to the baseline model; they go first.
  delete leftLine;
  leftLine = nullptr;
  delete rightLine;
  rightLine = nullptr;
  delete baseline;
  baseline = nullptr;
}

void CrossSectionDesigner::FreeAllLines() {
  FreeTables();
  for (CrossSectionDesigner* d : DetourDesignersInUse())
    if (d != this) d->FreeTables();
  DeleteModels();
}

void CrossSectionDesigner::SetBaselineModel(AlignmentModel* model) {
  if (model == baseline) return;
  delete baseline;
  baseline = model;
}

void CrossSectionDesigner::SetLeftLine(SideLineModel* model) {
  if (model == leftLine) return;
  delete leftLine;
  leftLine = model;
}

void CrossSectionDesigner::SetRightLine(SideLineModel* model) {
  if (model == rightLine) return;
  delete rightLine;
  rightLine = model;
}

int CrossSectionDesigner::AllocateSections(int count) {
  if (count < 0 || count > kMaxSections) {
    acutPrintf("\n横断面数%d超出范围(0---%d)，未分配横断面", count, kMaxSections);
    return 0;
  }
  sections.clear();
  sections.resize(static_cast<size_t>(count));
  return 1;
}

int CrossSectionDesigner::InsertSection(int index, const SectionRecord& record) {
  const int count = SectionCount();
  if (index < 0 || index > count) {
    acutPrintf("\n插入横断面的位置%d超出范围(0---%d)", index, count);
    return 0;
  }
  if (count >= kMaxSections) {
    acutPrintf("\n横断面数已达上限%d，不能再插入横断面", kMaxSections);
    return 0;
  }
  // Copy first: `record` may be one of the sections that move.
  SectionRecord copy = record;
  sections.insert(sections.begin() + index, std::move(copy));
  return 1;
}

int CrossSectionDesigner::SetGradePoints(int count, const GradePoint* points, const char* tableName) {
  if (count < 0 || points == nullptr) count = 0;
  if (count > kMaxGradePoints) {
    acutPrintf("\n%s有%d个变坡点，超过%d个，只取前%d个", tableName ? tableName : "坡度表", count, kMaxGradePoints,
               kMaxGradePoints);
    count = kMaxGradePoints;
  }
  std::copy(points, points + count, gradePoints);
  if (count < kMaxGradePoints) gradePoints[count] = GradePoint();
  gradePointCount = count;
  return count;
}

int CrossSectionDesigner::SetBreakTable(int count, const BreakRecord* records) {
  if (count < 0 || count > kMaxBreaks || (count > 0 && records == nullptr)) {
    acutPrintf("\n断链表有%d个断链，超出范围(0---%d)，未取用", count, kMaxBreaks);
    return 0;
  }
  std::copy(records, records + count, breaks);
  breakCount = count;
  return 1;
}

int CrossSectionDesigner::AddBridgeSpan(int spanCount, double spanLength) {
  if (bridgeSpanCount < 0 || bridgeSpanCount >= kMaxBridgeSpans) {
    acutPrintf("\n桥梁孔跨超过%d组，其余孔跨未计入", kMaxBridgeSpans);
    return 0;
  }
  bridgeSpans[bridgeSpanCount].count = spanCount;
  bridgeSpans[bridgeSpanCount].length = spanLength;
  ++bridgeSpanCount;
  return 1;
}

void CrossSectionDesigner::SetHalfSpacings() {
  if (lineKind == "单线") {
    halfDistance1 = TechSingleLineSpacing(0) / 2.0;
    halfDistance2 = TechSingleLineSpacing(1) / 2.0;
  } else {
    halfDistance1 = (TechDoubleLineSpacing(0) - TechParam2()) / 2.0;
    halfDistance2 = (TechDoubleLineSpacing(1) - TechParam2()) / 2.0;
  }
}
