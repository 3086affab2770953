// EDITBP: slope editing of the drawn design lines.

#include "SlopeEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CrossSectionDesigner.h"
#include "DesignLine.h"
#include "DesignLineReactor.h"
#include "DesignerGlobals.h"
#include "SectionReactorLists.h"
#include "arx/adscodes.h"
#include "arx/selection.h"
#include "dialogs/SlopeWidthDlg.h"

int g_LastEditedSection = -1;

namespace {

bool InsideStructure(int code) { return code == 1 || code == 2 || code == 6; }

double Distance(const double a[2], const double b[2]) { return std::hypot(b[0] - a[0], b[1] - a[1]); }

CrossSectionDesigner* DesignerOf(int lineCode, int detourIndex) {
  if (lineCode == 0) return &g_BaselineDesigner;
  if (lineCode == -1 || lineCode == 1) return DetourDesigner(lineCode, detourIndex);
  return nullptr;
}

// Writes the grades into the table the line's form code selects.
void ApplySlopeGradesToLine(DesignLine& line, const SlopeGradeEdit& grades) {
  DesignLineData& data = line.Edit();
  SlopeGradeArrays& table = data.IsEmbankmentTable() ? data.embankment : data.cutting;
  const int count = std::clamp(grades.count, 0, kMaxSlopeGrades);
  table.count = count;
  for (int i = 0; i < count; ++i) {
    table.ratio[i] = grades.ratio[i];
    table.height[i] = grades.height[i];
    table.bermWidth[i] = grades.berm[i];
  }
}

// Moves the slope start along the line from A so that the formation is
// `width` wide (nothing when either width is 0); with `vertexToo` the
// fifth vertex follows (only a line with more than four vertices has one).
void ScaleFormationWidth(DesignLineData& data, double width, bool vertexToo) {
  SlopeLegGeometry& g = data.geometry;
  const double old = Distance(g.pointA, g.slopeStart[0]);
  // A line without a formation, or a width of 0 (or one that is no number),
  // leaves the start point where it is.
  if (!(old > 0.0) || !(width > 0.0) || !std::isfinite(width)) return;
  const double x = g.pointA[0] + (g.slopeStart[0][0] - g.pointA[0]) * width / old;
  const double y = g.pointA[1] + (g.slopeStart[0][1] - g.pointA[1]) * width / old;
  for (double* copy : g.slopeStart) {
    copy[0] = x;
    copy[1] = y;
  }
  if (vertexToo && data.vertices.size() > 4) {
    data.vertices[4].x = x;
    data.vertices[4].y = y;
  }
}

// Whether section `s` belongs to the run of a line of side `side` with form
// code `value` (main line: the side must have a slope).
bool LikeOnMainLine(const SectionRecord& s, int side, double value) {
  const int k = SideIndex(side);
  if (k < 0) return false;
  return s.pointCount[k] > 4 && std::fabs(s.formCode[k] - value) <= 0.1;
}

}  // namespace

bool FindSlopeEditScope(AcDbObjectId lineId, bool wholeLine, int& first, int& last, int& section) {
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, lineId, AcDb::kForRead) != Acad::eOk) return false;
  DesignLine* line = DesignLine::cast(object);
  if (line == nullptr) {
    object->close();
    return false;
  }
  const DesignLineData data = line->Data();
  line->close();

  CrossSectionDesigner* d = DesignerOf(data.lineCode, data.detourIndex);
  if (d == nullptr) return false;
  const std::vector<SectionRecord>& s = d->sections;
  const int count = static_cast<int>(s.size());
  int found = -1;
  for (int i = 0; i < count && found < 0; ++i)
    if (std::fabs(s[static_cast<size_t>(i)].mileage - data.chainage) < 0.01) found = i;
  if (found < 0) return false;
  section = found;
  if (wholeLine) {
    first = 0;
    last = count - 1;
    return true;
  }
  const bool main = data.lineCode == 0;
  // The main line starts beside the found section; a detour at it.
  auto belongs = [&](const SectionRecord& r, bool& passOver) {
    passOver = main ? InsideStructure(r.leftCode) && InsideStructure(r.rightCode) : InsideStructure(r.leftCode);
    if (passOver) return true;
    if (main) return LikeOnMainLine(r, data.side, data.formCode);
    const int k = SideIndex(data.side);
    if (data.side == -1 || data.side == 1) return std::fabs(r.formCode[k] - data.formCode) <= 0.1;
    return true;  // any other side never ends a detour's run
  };
  first = 0;
  for (int j = main ? found - 1 : found; j >= 0; --j) {
    bool passOver = false;
    if (!belongs(s[static_cast<size_t>(j)], passOver)) {
      first = j + 1;
      break;
    }
  }
  last = count - 1;
  for (int j = main ? found + 1 : found; j < count; ++j) {
    bool passOver = false;
    if (!belongs(s[static_cast<size_t>(j)], passOver)) {
      last = j - 1;
      break;
    }
  }
  return true;
}

void ApplySlopeToSectionRange(AcDbObjectId lineId, int first, int last, const SlopeGradeEdit& grades) {
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, lineId, AcDb::kForRead) != Acad::eOk) return;
  DesignLine* edited = DesignLine::cast(object);
  if (edited == nullptr) {
    object->close();
    return;
  }
  const DesignLineData e = edited->Data();
  edited->close();
  const double width = Distance(e.geometry.pointA, e.geometry.slopeStart[0]);
  CrossSectionDesigner* d = DesignerOf(e.lineCode, e.detourIndex);
  if (d == nullptr) return;
  const int count = static_cast<int>(d->sections.size());
  first = std::max(first, 0);
  last = std::min(last, count - 1);

  const std::vector<DesignLineEntry> entries = DesignLineList;
  for (const DesignLineEntry& entry : entries) {
    // Lines of the same kind and, for a detour, of the same detour designer.
    if (entry.lineCode != e.lineCode || (e.lineCode != 0 && entry.detourIndex != e.detourIndex)) continue;
    if (entry.sideCode != e.side) continue;
    for (int j = first; j <= last; ++j) {
      if (std::fabs(d->sections[static_cast<size_t>(j)].mileage - entry.chainage) >= 0.1) continue;
      AcDbObject* o = nullptr;
      if (acdbOpenObject(o, entry.designLine, AcDb::kForWrite) != Acad::eOk) return;
      DesignLine* line = DesignLine::cast(o);
      if (line != nullptr) {
        if (e.lineCode == 0) line->UpdateSlopeTable();
        ScaleFormationWidth(line->Edit(), width, false);
        ApplySlopeGradesToLine(*line, grades);
        g_LastEditedSection = j;
      }
      o->close();
      break;
    }
  }
}

void ApplySlopeEdit(const SlopeEditScope& scope, AcDbObjectId lineId, const SlopeGradeEdit& grades) {
  const SectionRedesignPause pause;
  int first = 0, last = -1, section = -1;
  if (scope.currentSection) {
    if (FindSlopeEditScope(lineId, true, first, last, section)) g_LastEditedSection = section;
    AcDbObject* o = nullptr;
    if (acdbOpenObject(o, lineId, AcDb::kForWrite) != Acad::eOk) return;
    if (DesignLine* line = DesignLine::cast(o)) ApplySlopeGradesToLine(*line, grades);
    o->close();
  } else if (scope.workPoint) {
    if (FindSlopeEditScope(lineId, false, first, last, section)) ApplySlopeToSectionRange(lineId, first, last, grades);
  } else if (scope.wholeLine) {
    if (FindSlopeEditScope(lineId, true, first, last, section)) ApplySlopeToSectionRange(lineId, first, last, grades);
  }
}

void OnCmdEDITBP() {
  ads_name name;
  ads_point picked;
  if (acedEntSel("\n请选择要修改的边坡...", name, picked) != RTNORM) return;
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk) return;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForRead) != Acad::eOk) return;
  DesignLine* picked_line = DesignLine::cast(object);
  if (picked_line == nullptr) {
    object->close();
    return;
  }
  // The table shown is the one the line's legs give now; it is stored only
  // when the edit is confirmed.
  DesignLine shown;
  shown.Edit() = picked_line->Data();
  picked_line->close();
  shown.UpdateSlopeTable();
  const DesignLineData& data = shown.Data();
  const SlopeLegGeometry& g = data.geometry;
  const double oldWidth = Distance(g.pointA, g.slopeStart[0]);
  const SlopeGradeArrays& table = data.IsEmbankmentTable() ? data.embankment : data.cutting;

  CSlopeWidthDlg dialog;
  dialog.m_rowCount = std::clamp(table.count, 0, CSlopeWidthDlg::kMaxGrades);
  for (int i = 0; i < dialog.m_rowCount; ++i) {
    dialog.m_ratio[i] = table.ratio[i];
    dialog.m_height[i] = table.height[i];
    dialog.m_berm[i] = table.bermWidth[i];
  }
  dialog.m_width.Format("%0.2f", oldWidth);
  if (dialog.DoModal() != IDOK) return;

  const double width = std::atof(dialog.m_width.GetString());
  // The edited lines keep the edit: their reactors re-design nothing.
  const SectionRedesignPause pause;
  if (acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk) return;
  DesignLine* line = DesignLine::cast(object);
  if (line == nullptr) {
    object->close();
    return;
  }
  line->UpdateSlopeTable();
  ScaleFormationWidth(line->Edit(), width, true);
  line->close();

  SlopeEditScope scope;
  scope.currentSection = dialog.m_currentSection != 0;
  scope.workPoint = dialog.m_workPoint != 0;
  scope.wholeLine = dialog.m_wholeLine != 0;
  SlopeGradeEdit grades{dialog.m_rowCount, dialog.m_ratio, dialog.m_height, dialog.m_berm};
  ApplySlopeEdit(scope, id, grades);
}
