// The import of one detour section (绕行段) of a side line into its own
// designer: the section's alignment from the side line, its track structure,
// grades, structures and standards, and, when asked, its sections.

#include <algorithm>

#include "SchemeImportRows.h"
#include "arx/edoutput.h"

namespace {

// The detour section's own alignment: its IPs from the side line, starting
// at the mileage of its start point (the chainage after the start's break),
// and its first two detour points as break records 0 and 1. Null, with a
// message, when the side line gives no IPs for the section.
AlignmentModel* DetourModel(const SideLineModel& line, int section) {
  IpRecord records[SideLineModel::kMaxDetourIps];
  int count = 0;
  int first = -1, last = -1;
  line.DetourPointRange(section, first, last);
  if (first < 0 || !line.DetourIntersectionList(section, records, SideLineModel::kMaxDetourIps, count)) {
    acutPrintf("\n%s绕行段%d没有交点或起终点, 不能建立绕行段线路", line.ipPrefix, section);
    return nullptr;
  }
  // The elements start where break record 0 puts the start of the line, so
  // that the model's chainages and its points agree.
  records[0].L1 = line.detourPoints[first].after;
  auto* model = new AlignmentModel;
  if (!model->CreateFromRecords(count, records, "AK", line.ipPrefix)) {
    delete model;
    return nullptr;
  }
  for (int j = first; j <= last && j - first < model->breakCount; ++j) {
    const DetourPoint& point = line.detourPoints[j];
    model->SetBreak(j - first, point.before, point.after - point.before, point.prefixBefore.GetString(),
                    point.prefixAfter.GetString());
  }
  return model;
}

}  // namespace

int CrossSectionDesigner::ReadDetourAlignment(int side, int readFillCutTables, CString label, int section,
                                              CrossSectionDesigner* target) {
  if (target == nullptr) return 0;
  XLDataBase& reader = xlDataBase;
  const CString path = schemeDatabasePath;

  // Nothing of an earlier import stays with the designer.
  target->FreeTables();
  target->gradePointCount = 0;
  target->schemeDatabasePath = path;

  // 1. A detour section is designed as a single line.
  target->lineKind = "单线";
  target->SetHalfSpacings();

  // 2. The section's alignment.
  const SideLineModel* line = side == -1 ? leftLine : rightLine;
  if (line == nullptr) {
    acutPrintf("\n没有%s, 不能读入绕行段%d", label.GetString(), section);
    return 0;
  }
  target->SetBaselineModel(DetourModel(*line, section));
  if (target->baseline == nullptr) return 0;
  AlignmentModel& model = *target->baseline;
  const MileageOfChainage onDetour = MileageThrough(model.breakCount, model.breaks);

  // 3. Track structure, through the model's own conversion.
  if (reader.ReadTable(path, side == -1 ? "左线轨道结构" : "右线轨道结构"))
    TakeTrackSegments(reader, target->trackSegments,
                      [&model](const char* text) { return model.ChainageToMileage(text, model.breakCount); });
  if (reader.readRefused) return 0;

  // 4. Grades.
  const CString gradeTable = label + "绕行段坡度表";
  if (reader.ReadDetourTables(path, gradeTable, section))
    TakeGradePoints(reader, *target, onDetour, gradeTable.GetString());
  else
    acutPrintf("\n读绕行段坡度表失败!");
  if (reader.readRefused) return 0;

  // 5. Structures; a table without rows of this section leaves the list
  // empty, a refused table stops the import.
  if (reader.ReadDetourTables(path, label + "绕行段大中桥", section)) TakeBridges(reader, target->bridges, onDetour);
  if (reader.readRefused) return 0;
  if (reader.ReadDetourTables(path, label + "绕行段隧道", section)) TakeTunnels(reader, target->tunnels, onDetour);
  if (reader.readRefused) return 0;
  if (reader.ReadDetourTables(path, label + "绕行段车站", section)) TakeStations(reader, target->stations, onDetour);
  if (reader.readRefused) return 0;

  // 6. Standards.
  LoadLineDesignStandards(path, label, section, target);

  // 7. Sections.
  if (readFillCutTables && !ReadDetourFillCutTables(side == -1 ? "左线" : "右线", section, target)) return 0;
  return 1;
}
