// The designed sections of the baseline on the sheet, and the labels of the
// structures in which no section is drawn.

#include <cmath>
#include <cstdio>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "SectionDrawing.h"
#include "SectionDrawingSupport.h"
#include "SectionEntityTable.h"
#include "arx/edoutput.h"
#include "geometry/DrawSupport.h"

namespace {

bool InBridgeOrTunnel(int code) { return code == kBridgeInside || code == kTunnelInside; }
bool InAnyStructure(int code) { return InBridgeOrTunnel(code) || code == kStationInside; }

// The second-line offsets a single-line section shows: none on a side whose
// line has left on a detour there (within 0.1 of the separated stretch of a
// detour of that side), none at all in a single-line design. A copy: the
// section's record keeps its offsets as designed.
void OffsetsToDraw(const CrossSectionDesigner& d, const SectionRecord& r, double offsets[2]) {
  offsets[0] = r.leftLineOffset;
  offsets[1] = r.rightLineOffset;
  if (r.kind == 1) {
    for (int side : {-1, 1})
      for (const CrossSectionDesigner* detour : DetourDesignersInUse(side))
        if (detour->segment.sml2 - 0.1 < r.mileage && r.mileage < detour->segment.eml2 + 0.1) {
          offsets[side < 0 ? 0 : 1] = 0.0;
          break;
        }
  }
  if (d.lineKind == "单线") offsets[0] = offsets[1] = 0.0;
}

// Whether a section inside a bridge or tunnel gets the structure label at
// the previous section's label place: from the third section on, after a
// section in none, or at a structure's start, that was not left out.
bool LabelAfter(const SectionRecord& previous, bool previousDrawn, int index) {
  if (index < 2) return false;
  if (previous.kind == 2)
    return previousDrawn && (!InAnyStructure(previous.leftCode) || !InAnyStructure(previous.rightCode));
  return previous.leftCode == kStructureNone || previous.leftCode == kBridgeStart || previous.leftCode == kTunnelStart;
}

}  // namespace

void CrossSectionDesigner::PrepareSectionSheet() {
  AcDbDatabase* db = drawsupport::WorkingDatabase();
  if (db == nullptr || db->loadLineTypeFile("DASHDOTX2", "acadiso.lin") != Acad::eOk)
    acutPrintf("加载DASHDOTX2线形失败!\n");
  GetOrAddLayer("Hdm");
}

int CrossSectionDesigner::DrawAllSections(int flag) {
  PrepareSectionSheet();
  if (SectionCount() > 0) DrawBaseSections(sections.front().mileage, sections.back().mileage, flag);
  if (lineKind != "双线") return 1;
  if (g_LeftDetourCount > 0) DrawAllDetourSections(DetourDesignerArray(-1), g_LeftDetourCount, "左", flag);
  if (g_RightDetourCount > 0) DrawAllDetourSections(DetourDesignerArray(1), g_RightDetourCount, "右", flag);
  return 1;
}

void CrossSectionDesigner::DrawBaseSections(double start, double end, int flag) {
  SectionDrawing drawing;
  LayoutSections();
  acedSetStatusBarProgressMeter("正在绘制基线横断面", 0, 100);
  // Every run sizes the table to this design's sections. Its entries of an
  // earlier run are only forgotten: the entities a drawing run appended
  // belong to the drawing, and a printing run's were deleted as it drew.
  SectionEntityTable.assign(2 * sections.size(), SectionEntitySlot());
  ++runCounter;

  const int count = SectionCount();
  std::vector<bool> drawn(sections.size(), false);
  section_drawing::GroundLines ground;
  for (int i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(i * 100 / count);
    const SectionRecord& r = sections[static_cast<size_t>(i)];
    if (!(start - 0.01 < r.mileage && r.mileage < end + 0.01)) continue;
    const bool doubleLine = r.kind == 2;

    // Inside a bridge or tunnel nothing is drawn; the first such section
    // after a drawn one labels the structure.
    if (InBridgeOrTunnel(r.leftCode) || (doubleLine && InBridgeOrTunnel(r.rightCode))) {
      const SectionRecord& previous = sections[static_cast<size_t>(i > 0 ? i - 1 : 0)];
      if (LabelAfter(previous, i > 0 && drawn[static_cast<size_t>(i - 1)], i))
        DrawStructureLabel(i, AcGePoint3d(previous.labelX, previous.labelY, 0.0));
      continue;
    }

    // The ground block by block, seen from the first track's centre (a
    // double-line section's from the second track's).
    section_drawing::CollectGroundLines(r, doubleLine ? 1 : 0, ground);
    if (!BuildDesignLineEntity(drawing, i, ground.values, ground.records, doubleLine ? 2 : 0, 0)) continue;
    if (doubleLine) BuildDesignLineEntityForRange(drawing, i, ground.values.front());
    drawing.values.centreFillHeight = r.centreFillHeight;
    drawing.values.centreGroundElevation = r.groundElevation;
    drawing.values.structureCode = r.leftCode;
    OffsetsToDraw(*this, r, drawing.values.secondLineOffset);
    drawing.BuildSection(flag);
    drawn[static_cast<size_t>(i)] = true;
  }
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
}

bool CrossSectionDesigner::DrawStructureLabel(int index, const AcGePoint3d& at) const {
  if (index < 0 || index >= SectionCount()) return false;
  const double ML = sections[static_cast<size_t>(index)].mileage;
  for (const OwnedRowArray<StructureRow>* list : {&bridges, &tunnels, &stations}) {
    for (int k = 0; k < list->count; ++k) {
      const StructureRow& s = list->rows[k];
      if (!(s.startMileage - 0.001 < ML && ML < s.endMileage + 0.001)) continue;
      char text[256];
      std::snprintf(text, sizeof text, "%s-%s%s", s.startText, s.endText, s.name.GetString());
      section_drawing::AppendSheetText(at, text, section_drawing::kLabelHeight * g_DrawingFactor,
                                       GetOrAddLayer("Hdm"));
      return true;
    }
  }
  return false;
}
