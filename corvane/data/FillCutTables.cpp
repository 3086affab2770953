// The fill/cut tables (填挖表 and lineName + 绕行段填挖表): one section per
// row, filled with the row's station and design values, then the ground lines
// and rock layers of the same stations and the structure code of each
// section.

#include <cstdlib>

#include "CrossSectionDesigner.h"
#include "SectionTables.h"
#include "TableNumbers.h"
#include "arx/edoutput.h"
#include "project/GbkText.h"

namespace {

// Fills `record` from the current fill/cut row; the mileage comes through the
// break table given.
// The station and ground of a row are needed; the design values may be empty
// (0), never text.
void FillFromRow(CAdoRecordSet& recordSet, TableNumbers& numbers, SectionRecord& record, int breakCount,
                 const BreakRecord* breaks) {
  const std::string prefix = StationPrefix(RowTextByName(recordSet, "加桩里程冠号").GetString());
  CopyTextBounded(record.prefix, sizeof record.prefix, prefix.c_str(), kChainPrefixGbkMax);
  record.chainage = numbers.NeededByName(recordSet, "加桩里程数");
  ChainageText3Decimals(CString(record.prefix), record.chainage, record.label, sizeof record.label);
  record.mileage = BreakTableChainageToMileage(record.label, breakCount, breaks);
  record.groundElevation = numbers.NeededByName(recordSet, "地面高程");
  record.shoulderDesignElevation = numbers.OptionalByName(recordSet, "路肩设计高程");
  record.centreFillHeight = numbers.OptionalByName(recordSet, "中心填挖高度");
  record.curveWidening = numbers.OptionalByName(recordSet, "曲线加宽");
  record.rightCurveWidening = numbers.OptionalByName(recordSet, "右曲线加宽");
  record.leftLineOffset = numbers.OptionalByName(recordSet, "左线间距");
  record.rightLineOffset = numbers.OptionalByName(recordSet, "右线间距");
  record.separationWidth = numbers.OptionalByName(recordSet, "路肩分离限宽");
  record.sectionInfo = std::atoi(RowTextByName(recordSet, "断面信息").GetString());
}

// Builds the sections of `target` from the rows of the open record set of
// `tableName`. False when there are no rows, more than a designer holds, or
// the table is refused (a station or ground missing or no number).
bool SectionsFromFillCutRows(CAdoRecordSet& recordSet, const CString& tableName, CrossSectionDesigner& target,
                             int breakCount, const BreakRecord* breaks) {
  const long rows = recordSet.CountRecords();
  if (rows < 1) {
    acutPrintf("填挖表没有记录!\n");
    return false;
  }
  TableNumbers numbers(tableName);
  if (!numbers.RequireColumns(recordSet, {"加桩里程数", "地面高程"})) return false;
  if (rows > CrossSectionDesigner::kMaxSections || !target.AllocateSections(static_cast<int>(rows))) return false;
  target.InitSectionRecords();
  recordSet.MoveFirst();
  int filled = 0;
  while (filled < rows && !recordSet.IsEOF() && !numbers.Refused()) {
    numbers.SetRow(filled + 1);
    FillFromRow(recordSet, numbers, target.sections[static_cast<size_t>(filled)], breakCount, breaks);
    ++filled;
    if (!recordSet.MoveNext()) break;
  }
  if (numbers.Refused()) {
    target.sections.clear();
    return false;
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
  const bool built = SectionsFromFillCutRows(recordSet, "填挖表", *this, breakCount, breaks);
  CloseTable(*this);
  if (!built) return 0;

  const CString groundTable = "横断面地面线表";
  if (!OpenSchemeTable(groundTable, false)) return 0;
  const int groundRows = ReadGroundLineRows(recordSet, groundTable, SectionTableLayout{0, false}, false, sections);
  CloseTable(*this);
  if (groundRows < 0) return 0;

  const CString rockTable = "横断面岩层线表";
  if (OpenSchemeTable(rockTable, false)) {
    const int rockRows = ReadRockLayerRows(recordSet, rockTable, SectionTableLayout{0, true}, sections);
    CloseTable(*this);
    if (rockRows < 0) return 0;
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
  const bool built = SectionsFromFillCutRows(recordSet, lineName + "绕行段填挖表", *target, count, table);
  CloseTable(*this);
  if (!built) return 0;

  const CString groundTable = lineName + "绕行段横断面地面线表";
  if (!OpenDetourTable(groundTable, detourNumber, false)) return 0;
  const long groundRows = recordSet.CountRecords();
  if (groundRows / 2 < 1) {
    CloseTable(*this);
    return 0;
  }
  const int read = ReadGroundLineRows(recordSet, groundTable, SectionTableLayout{1, false}, true, target->sections);
  CloseTable(*this);
  if (read < 0) return 0;

  const CString rockTable = lineName + "绕行段横断面岩层线表";
  if (OpenDetourTable(rockTable, detourNumber, false)) {
    const int rockRows = ReadRockLayerRows(recordSet, rockTable, SectionTableLayout{1, true}, target->sections);
    CloseTable(*this);
    if (rockRows < 0) return 0;
  }

  for (SectionRecord& record : target->sections) record.leftCode = target->ClassifyChainage(record.mileage);
  DoubleStructureBoundaries(*target);
  return 1;
}
