// The fill/cut tables (填挖表 and lineName + 绕行段填挖表): one section per
// row, filled with the row's station and design values, then the ground lines
// and rock layers of the same stations and the structure code of each
// section.

#include <cstdlib>

#include "CrossSectionDesigner.h"
#include "SectionTables.h"
#include "arx/edoutput.h"
#include "project/GbkText.h"

namespace {

// Fills `record` from the current fill/cut row; the mileage comes through the
// break table given.
void FillFromRow(CAdoRecordSet& recordSet, SectionRecord& record, int breakCount, const BreakRecord* breaks) {
  const std::string prefix = StationPrefix(RowTextByName(recordSet, "加桩里程冠号").GetString());
  CopyTextBounded(record.prefix, sizeof record.prefix, prefix.c_str(), kChainPrefixGbkMax);
  record.chainage = RowNumberByName(recordSet, "加桩里程数");
  ChainageText3Decimals(CString(record.prefix), record.chainage, record.label, sizeof record.label);
  record.mileage = BreakTableChainageToMileage(record.label, breakCount, breaks);
  record.groundElevation = RowNumberByName(recordSet, "地面高程");
  record.shoulderDesignElevation = RowNumberByName(recordSet, "路肩设计高程");
  record.centreFillHeight = RowNumberByName(recordSet, "中心填挖高度");
  record.curveWidening = RowNumberByName(recordSet, "曲线加宽");
  record.rightCurveWidening = RowNumberByName(recordSet, "右曲线加宽");
  record.leftLineOffset = RowNumberByName(recordSet, "左线间距");
  record.rightLineOffset = RowNumberByName(recordSet, "右线间距");
  record.separationWidth = RowNumberByName(recordSet, "路肩分离限宽");
  record.sectionInfo = std::atoi(RowTextByName(recordSet, "断面信息").GetString());
}

// Builds the sections of `target` from the rows of the open record set.
// False when there are no rows or more than a designer holds.
bool SectionsFromFillCutRows(CAdoRecordSet& recordSet, CrossSectionDesigner& target, int breakCount,
                             const BreakRecord* breaks) {
  const long rows = recordSet.CountRecords();
  if (rows < 1) {
    acutPrintf("填挖表没有记录!\n");
    return false;
  }
  if (rows > CrossSectionDesigner::kMaxSections || !target.AllocateSections(static_cast<int>(rows))) return false;
  target.InitSectionRecords();
  recordSet.MoveFirst();
  int filled = 0;
  while (filled < rows && !recordSet.IsEOF()) {
    FillFromRow(recordSet, target.sections[static_cast<size_t>(filled)], breakCount, breaks);
    ++filled;
    if (!recordSet.MoveNext()) break;
  }
  target.sections.resize(static_cast<size_t>(filled));
  return filled > 0;
}

void CloseTable(CrossSectionDesigner& designer) {
  designer.recordSet.Close();
  designer.connection.Close();
}

// Doubles every section at a bridge or tunnel start or end: at a start the
// copy after it is inside the structure, at an end the first of the pair is.
void DoubleStructureBoundaries(CrossSectionDesigner& target) {
  for (int i = 0; i < target.SectionCount();) {
    const int code = target.sections[static_cast<size_t>(i)].leftCode;
    const bool start = code == kBridgeStart || code == kTunnelStart;
    const bool end = code == kBridgeEnd || code == kTunnelEnd;
    if (!start && !end) {
      ++i;
      continue;
    }
    const bool bridge = code == kBridgeStart || code == kBridgeEnd;
    if (!target.InsertSection(i + 1, target.sections[static_cast<size_t>(i)])) return;
    const int inside = bridge ? kBridgeInside : kTunnelInside;
    target.sections[static_cast<size_t>(start ? i + 1 : i)].leftCode = inside;
    i += 2;
  }
}

}  // namespace

int CrossSectionDesigner::ReadBaselineSectionTables() {
  if (!OpenSchemeTable("填挖表", false)) return 0;
  const bool built = SectionsFromFillCutRows(recordSet, *this, breakCount, breaks);
  CloseTable(*this);
  if (!built) return 0;

  const CString groundTable = "横断面地面线表";
  if (!OpenSchemeTable(groundTable, false)) return 0;
  ReadGroundLineRows(recordSet, groundTable, SectionTableLayout{0, false}, false, sections);
  CloseTable(*this);

  const CString rockTable = "横断面岩层线表";
  if (OpenSchemeTable(rockTable, false)) {
    ReadRockLayerRows(recordSet, rockTable, SectionTableLayout{0, true}, sections);
    CloseTable(*this);
  }

  for (SectionRecord& record : sections) record.leftCode = ClassifyChainage(record.mileage);
  return 1;
}

int CrossSectionDesigner::ReadDetourFillCutTables(CString lineName, int detourNumber, CrossSectionDesigner* target) {
  if (target == nullptr) return 0;
  // The detour's chainages belong to its own line.
  const int count = target->baseline != nullptr ? target->baseline->breakCount : target->breakCount;
  const BreakRecord* table = target->baseline != nullptr ? target->baseline->breaks : target->breaks;

  if (!OpenDetourTable(lineName + "绕行段填挖表", detourNumber, false)) return 0;
  const bool built = SectionsFromFillCutRows(recordSet, *target, count, table);
  CloseTable(*this);
  if (!built) return 0;

  const CString groundTable = lineName + "绕行段横断面地面线表";
  if (!OpenDetourTable(groundTable, detourNumber, false)) return 0;
  const long groundRows = recordSet.CountRecords();
  if (groundRows / 2 < 1) {
    CloseTable(*this);
    return 0;
  }
  ReadGroundLineRows(recordSet, groundTable, SectionTableLayout{1, false}, true, target->sections);
  CloseTable(*this);

  const CString rockTable = lineName + "绕行段横断面岩层线表";
  if (OpenDetourTable(rockTable, detourNumber, false)) {
    ReadRockLayerRows(recordSet, rockTable, SectionTableLayout{1, true}, target->sections);
    CloseTable(*this);
  }

  for (SectionRecord& record : target->sections) record.leftCode = target->ClassifyChainage(record.mileage);
  DoubleStructureBoundaries(*target);
  return 1;
}
