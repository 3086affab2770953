// The import of a scheme into the designers: the baseline's alignment, breaks,
// grades, structures, track structure and standards, the side lines of a
// double-line scheme with the import of each of their detour sections, and the
// sections with their ground lines and rock layers.

#include <algorithm>
#include <vector>

#include "DesignerGlobals.h"
#include "SchemeImportRows.h"
#include "arx/edoutput.h"
#include "project/GbkText.h"

// ---- Rows of the table store into the designer's tables ------------------------------

MileageOfChainage MileageThrough(int breakCount, const BreakRecord* breaks) {
  const int count = std::clamp(breakCount, 0, CrossSectionDesigner::kMaxBreaks);
  return [count, breaks](const char* text) { return BreakTableChainageToMileage(text, count, breaks); };
}

namespace {

void CopyChainageText(char (&target)[kChainageTextSize], const char* text) {
  CopyTextBounded(target, sizeof target, text, kChainageTextGbkMax);
}

// Replaces `out` with the reader's structure rows: each row's start and end
// texts, their mileages and its name, and what `extra` copies besides; the
// reader's rows are freed.
template <class Row, class Extra>
void TakeStructureRows(Row*& rows, int& count, OwnedRowArray<StructureRow>& out, const MileageOfChainage& mileage,
                       Extra extra) {
  out.Replace(rows != nullptr ? count : 0);
  for (int i = 0; i < out.count; ++i) {
    StructureRow& target = out.rows[i];
    CopyChainageText(target.startText, rows[i].startText);
    CopyChainageText(target.endText, rows[i].endText);
    target.startMileage = mileage(target.startText);
    target.endMileage = mileage(target.endText);
    target.name = rows[i].name;
    extra(rows[i], target);
  }
  XLDataBase::FreeRows(rows, count);
}

}  // namespace

void TakeBridges(XLDataBase& reader, OwnedRowArray<StructureRow>& bridges, const MileageOfChainage& mileage) {
  TakeStructureRows(reader.bridges, reader.bridgeCount, bridges, mileage,
                    [](const BridgeRow& row, StructureRow& target) { target.remark = row.span; });
}

void TakeTunnels(XLDataBase& reader, OwnedRowArray<StructureRow>& tunnels, const MileageOfChainage& mileage) {
  TakeStructureRows(reader.tunnels, reader.tunnelCount, tunnels, mileage, [](const TunnelRow&, StructureRow&) {});
}

void TakeStations(XLDataBase& reader, OwnedRowArray<StructureRow>& stations, const MileageOfChainage& mileage) {
  TakeStructureRows(reader.stations, reader.stationCount, stations, mileage, [](const StationRow&, StructureRow&) {});
}

void TakeTrackSegments(XLDataBase& reader, OwnedRowArray<TrackSegment>& segments, const MileageOfChainage& mileage) {
  segments.Replace(reader.trackStructures != nullptr ? reader.trackStructureCount : 0);
  for (int i = 0; i < segments.count; ++i) {
    const TrackStructureRow& row = reader.trackStructures[i];
    TrackSegment& segment = segments.rows[i];
    CopyChainageText(segment.endText, row.endChainage.GetString());
    segment.type = row.structureType;
    segment.endMileage = mileage(segment.endText);
    segment.heightMm = row.height;
  }
  XLDataBase::FreeRows(reader.trackStructures, reader.trackStructureCount);
}

void TakeGradePoints(XLDataBase& reader, CrossSectionDesigner& designer, const MileageOfChainage& mileage,
                     const char* tableName) {
  const int count = reader.grades != nullptr ? std::max(reader.gradeCount, 0) : 0;
  std::vector<GradePoint> points(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const GradeRow& row = reader.grades[i];
    char text[kChainageTextSize] = {};
    ChainageText3Decimals(row.prefix, row.chainage, text, sizeof text);
    points[static_cast<size_t>(i)].mileage = mileage(text);
    points[static_cast<size_t>(i)].elevation = row.elevation;
    // The first row is the line's start point; its 竖曲线半径 holds a setting
    // (decimal places), not a radius, and no curve is fitted there.
    points[static_cast<size_t>(i)].radius = i == 0 ? 0.0 : row.verticalRadius;
  }
  XLDataBase::FreeRows(reader.grades, reader.gradeCount);
  designer.SetGradePoints(count, points.data(), tableName);
  designer.BuildGradeTable();
}

// ---- The scheme import ---------------------------------------------------------------------

namespace {

// The baseline model from the curve rows: IP i is row i (its number the row
// index), the start's 前缓和曲线 holding the start mileage. Null, after the
// model's own message, when the rows make no line.
AlignmentModel* BaselineFromCurveRows(XLDataBase& reader) {
  const int count = reader.curves != nullptr ? std::max(reader.curveCount, 0) : 0;
  std::vector<IpRecord> records(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const CurveRow& row = reader.curves[i];
    records[static_cast<size_t>(i)] = IpRecord{static_cast<double>(i), row.x, row.y, row.L1, row.R, row.L2};
  }
  delete[] reader.curves;
  reader.curves = nullptr;
  reader.curveWriteCount = 0;
  reader.curveCount = 0;
  auto* model = new AlignmentModel;
  if (!model->CreateFromRecords(count, records.data(), "AK", "JD")) {
    delete model;
    return nullptr;
  }
  return model;
}

// Builds the side line of one side and imports each of its detour sections.
// 0 when the side line cannot be built, has more detour sections than the
// detour array holds, or a detour import fails.
int ImportSideLine(CrossSectionDesigner& designer, int side, int readDetourSectionTables) {
  XLDataBase& reader = designer.xlDataBase;
  const CString path = designer.schemeDatabasePath;
  const CString label = side < 0 ? "左线" : "右线";
  auto setLine = [&](SideLineModel* model) { side < 0 ? designer.SetLeftLine(model) : designer.SetRightLine(model); };
  setLine(nullptr);
  SetDetourDesignerCount(side, 0);

  // A scheme may have one side line only: a side without curve rows has none
  // (a refused table is no such side: the import stops).
  if (!reader.ReadTable(path, label + "曲线表")) return reader.readRefused ? 0 : 1;
  auto* line = new SideLineModel;
  const int built = line->Create(designer.baseline, reader.sideCurveCount, reader.sideCurves,
                                 designer.baseline->curveNumberOffset, side < 0 ? "ZJD" : "YJD");
  XLDataBase::FreeRows(reader.sideCurves, reader.sideCurveCount);
  setLine(line);
  if (!built) return 0;

  if (reader.ReadTable(path, label + "断链表")) {
    const int taken = line->SetDetourPoints(reader.sideBreaks, reader.sideBreakCount);
    XLDataBase::FreeRows(reader.sideBreaks, reader.sideBreakCount);
    if (!taken) return 0;
  } else if (reader.readRefused) {
    return 0;
  }

  const int detours = line->DetourCount();
  if (!SetDetourDesignerCount(side, detours)) return 0;
  for (int i = 0; i < detours; ++i) {
    if (!designer.ReadDetourAlignment(side, readDetourSectionTables, label, i, DetourDesigner(side, i))) return 0;
  }
  return 1;
}

}  // namespace

int CrossSectionDesigner::ReadSchemeAlignment(CString databasePath, int readDetourSectionTables,
                                              int readSectionTables) {
  schemeDatabasePath = databasePath;
  XLDataBase& reader = xlDataBase;

  // 1. The baseline from 曲线表. The side lines of an earlier import refer to
  // the baseline that is replaced here, so they go with it.
  if (!reader.ReadTable(databasePath, "曲线表")) {
    acutPrintf("\n读曲线表失败");
    return 0;
  }
  SetLeftLine(nullptr);
  SetRightLine(nullptr);
  SetBaselineModel(BaselineFromCurveRows(reader));
  if (baseline == nullptr) {
    acutPrintf("\n读曲线表失败");
    return 0;
  }

  // 2. The chainage breaks, into the model and into this designer's own copy.
  if (!reader.ReadTable(databasePath, "断链表") || !baseline->SetBreakTable(reader.breakCount, reader.breaks)) {
    acutPrintf("\n读断链表失败");
    return 0;
  }
  SetBreakTable(reader.breakCount, reader.breaks);
  baseline->BuildLineElements();
  const MileageOfChainage onBaseline = MileageThrough(baseline->breakCount, baseline->breaks);

  // 3. The grade points and grade table.
  if (!reader.ReadTable(databasePath, "坡度表")) {
    acutPrintf("\n读坡度表失败!");
    return 0;
  }
  TakeGradePoints(reader, *this, onBaseline, "坡度表");

  // 4. Structures; a table without rows leaves the list empty, a refused
  // table stops the import.
  if (reader.ReadTable(databasePath, "大中桥"))
    TakeBridges(reader, bridges, onBaseline);
  else
    bridges.Free();
  if (reader.readRefused) return 0;
  if (reader.ReadTable(databasePath, "隧道"))
    TakeTunnels(reader, tunnels, onBaseline);
  else
    tunnels.Free();
  if (reader.readRefused) return 0;
  if (reader.ReadTable(databasePath, "车站"))
    TakeStations(reader, stations, onBaseline);
  else
    stations.Free();
  if (reader.readRefused) return 0;

  // 5. The track structure, through this designer's own break table.
  if (reader.ReadTable(databasePath, "基线轨道结构"))
    TakeTrackSegments(reader, trackSegments, MileageThrough(breakCount, breaks));
  else
    trackSegments.Free();
  if (reader.readRefused) return 0;

  // 6. Half-distances and standards.
  SetHalfSpacings();
  LoadBaselineDesignStandards();

  // 7. The side lines and their detour sections.
  if (lineKind == "单线") {
    SetLeftLine(nullptr);
    SetRightLine(nullptr);
    SetDetourDesignerCount(-1, 0);
    SetDetourDesignerCount(1, 0);
  } else {
    baseline->BuildLineElements();
    if (!ImportSideLine(*this, -1, readDetourSectionTables)) return 0;
    if (!ImportSideLine(*this, 1, readDetourSectionTables)) return 0;
  }

  // 8. The sections.
  if (readSectionTables && !ReadBaselineSectionTables()) return 0;
  return 1;
}
