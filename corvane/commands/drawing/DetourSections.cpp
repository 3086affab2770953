// The sections of the detours (绕行段) on their own sheets: one detour over
// a chosen range, or every detour of a side; and where a baseline mileage
// lies on the side lines.
//
// A detour designer designs the separated stretch of its detour (the rest
// stands on the baseline's roadbed and is drawn with the baseline's
// sections), so its own stretch for drawing is sml2 .. eml2 on its line.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "SectionDrawing.h"
#include "SectionDrawingSupport.h"
#include "SectionEntityTable.h"
#include "arx/edoutput.h"

namespace {

bool IsLeftLabel(const char* label) { return label != nullptr && std::strcmp(label, "左") == 0; }

std::vector<DetourEntityEntry>& EntityListOf(bool left) { return left ? LeftDetourEntityList : RightDetourEntityList; }

// Empties a side's list and sizes it to `entries` entries. What it held is
// only forgotten: the entities of a drawing run belong to the drawing, and
// a printing run's were deleted as it drew.
void ResetEntityList(std::vector<DetourEntityEntry>& list, size_t entries) {
  list.clear();
  list.resize(entries);
}

void OpenEntry(std::vector<DetourEntityEntry>& list, int index, const CrossSectionDesigner& d) {
  DetourEntityEntry& entry = list[static_cast<size_t>(index)];
  entry.detourIndex = index;
  entry.slots.assign(2 * d.sections.size(), SectionEntitySlot());
}

bool InBridgeOrTunnel(int code) { return code == kBridgeInside || code == kTunnelInside; }

// What one detour's drawing run tests.
struct DetourRun {
  bool useRange = false;  // a user's range (DrawDetourSectionsInRange)
  double start = 0.0;
  double end = 0.0;
  double detourStart = 0.0;  // the detour's own stretch
  double detourEnd = 0.0;
  bool printMileages = false;
};

// Draws the sections of detour `index` of one side (`d`, its sheet origin
// set) as `run` says.
void DrawDetour(CrossSectionDesigner& d, int index, bool left, const DetourRun& run, int flag) {
  SectionDrawing drawing;
  char title[64];
  std::snprintf(title, sizeof title, "正在绘制%s绕行段横断面", left ? "左" : "右");
  acedSetStatusBarProgressMeter(title, 0, 100);
  d.LayoutSections();
  const int sideCode = left ? -1 : 1;

  const int count = d.SectionCount();
  section_drawing::GroundLines ground;
  for (int i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(i * 100 / count);
    SectionRecord& r = d.sections[static_cast<size_t>(i)];
    const double ML = r.mileage;
    if (run.useRange && !(run.start - 0.01 < ML && ML < run.end + 0.01)) continue;
    // Every section the run reaches is tagged with its side and detour
    // index, drawn or not (outside the detour's own stretch it is not).
    r.sideCode = sideCode;
    r.detourIndex = index;
    if (run.printMileages) acutPrintf("%f %f %f \n", ML, run.detourStart, run.detourEnd);
    if (!(run.detourStart - 0.01 < ML && ML < run.detourEnd + 0.01)) continue;

    if (InBridgeOrTunnel(r.leftCode)) {
      // One label, however many ways the section before asks for it.
      const SectionRecord& previous = d.sections[static_cast<size_t>(i > 0 ? i - 1 : 0)];
      if (i >= 2 && (previous.leftCode == kStructureNone || previous.leftCode == kBridgeStart ||
                     previous.leftCode == kTunnelStart))
        d.DrawStructureLabel(i, AcGePoint3d(previous.labelX, previous.labelY, 0.0));
      continue;
    }

    section_drawing::CollectGroundLines(r, 0, ground);
    if (!d.BuildDesignLineEntity(drawing, i, ground.values, ground.records, sideCode, index + 1)) continue;
    drawing.values.centreFillHeight = r.centreFillHeight;
    drawing.values.centreGroundElevation = r.groundElevation;
    drawing.values.structureCode = r.leftCode;
    drawing.values.secondLineOffset[0] = r.leftLineOffset;
    drawing.values.secondLineOffset[1] = r.rightLineOffset;
    drawing.BuildSection(flag);
  }
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
}

}  // namespace

void CrossSectionDesigner::DrawDetourSectionsInRange(CrossSectionDesigner* designers, int index, double start,
                                                     double end, double detourStart, double detourEnd,
                                                     const char* label, double x, double y, int flag) {
  if (designers == nullptr || index < 0 || index >= kMaxDetourDesigners) return;
  const bool left = IsLeftLabel(label);
  CrossSectionDesigner& d = designers[index];
  d.sheetOrigin = AcGePoint3d(x, y, 0.0);
  std::vector<DetourEntityEntry>& list = EntityListOf(left);
  ResetEntityList(list, static_cast<size_t>(index) + 1);
  OpenEntry(list, index, d);
  DetourRun run;
  run.useRange = true;
  run.start = start;
  run.end = end;
  run.detourStart = detourStart;
  run.detourEnd = detourEnd;
  DrawDetour(d, index, left, run, flag);
}

void CrossSectionDesigner::DrawAllDetourSections(CrossSectionDesigner* designers, int count, const char* label,
                                                 int flag) {
  if (designers == nullptr) return;
  count = std::clamp(count, 0, kMaxDetourDesigners);
  const bool left = IsLeftLabel(label);
  std::vector<DetourEntityEntry>& list = EntityListOf(left);
  ResetEntityList(list, 2 * static_cast<size_t>(count));
  for (int j = 0; j < count; ++j) OpenEntry(list, j, designers[j]);

  const double rise = (left ? 500.0 : -500.0) * g_DrawingFactor;
  for (int j = 0; j < count; ++j) {
    CrossSectionDesigner& d = designers[j];
    // The detour's sheet stands beside the baseline section at which its
    // separated stretch starts (the first at or after it, else the last).
    AcGePoint3d origin = sheetOrigin;
    if (!sections.empty()) {
      auto at = std::find_if(sections.begin(), sections.end(),
                             [&d](const SectionRecord& s) { return s.mileage > d.segment.sml2 - 0.001; });
      const SectionRecord& base = at != sections.end() ? *at : sections.back();
      origin = AcGePoint3d(base.sheetX, base.sheetY, 0.0);
    }
    d.sheetOrigin = AcGePoint3d(origin.x, origin.y + rise, 0.0);
    DetourRun run;
    run.detourStart = d.segmentOnDetour.sml2;
    run.detourEnd = d.segmentOnDetour.eml2;
    run.printMileages = true;
    DrawDetour(d, j, left, run, flag);
  }
}

void CrossSectionDesigner::MileagesOnSideLines(double ML, double& leftML, double& rightML) const {
  leftML = rightML = ML;
  if (baseline == nullptr || !baseline->IsBuilt()) return;
  LinePoint p{};
  p.mileage = ML;
  if (PointAtMileage(baseline->elements, baseline->elementCount, p) < 0) return;
  int relation = 0, leftIndex = -1, rightIndex = -1, leftFlag = 0, rightFlag = 0;
  FindDetourAtChainage(ML, relation, leftIndex, rightIndex, leftFlag, rightFlag);
  // The foot of the baseline point on the line of the detour that holds ML.
  auto foot = [&p](const SideLineModel* line, double& out) {
    if (line == nullptr || !line->IsBuilt()) return;
    const double m = MileageOfPointOnElements(line->elements, line->elementCount, p.x, p.y);
    if (m >= 0.0) out = m;
  };
  if (leftFlag) foot(leftLine, leftML);
  if (rightFlag) foot(rightLine, rightML);
}
