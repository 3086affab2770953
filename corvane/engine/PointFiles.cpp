// The 3D point files of a design: BJPT (the baseline's edge points), RXDBJPT
// (those of the detour sections), 3DFW (the plan extents and the chainage
// range) and Hole (the outlines of the stretches of roadbed between
// structures, read back from the point files).

#include <algorithm>
#include <cstdio>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "ResultFileAccess.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"

namespace {

constexpr double kNoLeast = 999999999.0;
constexpr double kNoGreatest = -999999999.0;

void ResetExtents(CrossSectionDesigner& d) {
  d.planMinX = d.planMinY = kNoLeast;
  d.planMaxX = d.planMaxY = kNoGreatest;
}

// The point record of a designer; one without sections has no points (the
// plan boundary of an earlier design is not written again).
void WritePoints(CrossSectionDesigner& d, FILE* f) {
  if (d.sections.empty()) d.planBoundary.clear();
  d.WritePointRecord(f);
}

bool WriteHoles(const std::vector<HoleOutline>& holes) {
  FILE* f = OpenResultFile("Hole", "w");
  if (f == nullptr) {
    acedAlert("无法打开HOLE文件!");
    return false;
  }
  platform::printToFile(f, "%d\n", static_cast<int>(holes.size()));
  for (const HoleOutline& hole : holes) {
    // Along the first edge, then back along the second.
    platform::printToFile(f, "%d\n", static_cast<int>(hole.firstEdge.size() + hole.secondEdge.size()));
    for (const PlanPoint& p : hole.firstEdge) platform::printToFile(f, "%lf %lf %lf\n", p.x, p.y, p.z);
    for (auto p = hole.secondEdge.rbegin(); p != hole.secondEdge.rend(); ++p)
      platform::printToFile(f, "%lf %lf %lf\n", p->x, p->y, p->z);
  }
  return CloseResultFile(f, "Hole");
}

}  // namespace

void CrossSectionDesigner::FreeHoles() {
  holes.clear();
  holes.shrink_to_fit();
}

int CrossSectionDesigner::SavePointFiles() {
  ResetExtents(*this);

  // BJPT: the baseline's record.
  FILE* f = OpenResultFileOrAlert("BJPT", "w");
  if (f == nullptr) return 0;
  WritePoints(*this, f);
  if (!CloseResultFile(f, "BJPT")) return 0;

  // RXDBJPT: every detour section's record, left ones first.
  const bool doubleLine = lineKind == "双线";
  if (doubleLine) {
    f = OpenResultFileOrAlert("RXDBJPT", "w");
    if (f == nullptr) return 0;
    const std::vector<CrossSectionDesigner*> left = DetourDesignersInUse(-1);
    const std::vector<CrossSectionDesigner*> right = DetourDesignersInUse(1);
    platform::printToFile(f, "%d %d\n", static_cast<int>(left.size()), static_cast<int>(right.size()));
    for (const std::vector<CrossSectionDesigner*>* designers : {&left, &right}) {
      for (CrossSectionDesigner* detour : *designers) {
        ResetExtents(*detour);
        WritePoints(*detour, f);
      }
    }
    if (!CloseResultFile(f, "RXDBJPT")) return 0;
  }

  // 3DFW: the baseline's plan extents and chainage range. The design
  // dialogs' flags can leave it empty; so does a designer without sections.
  f = OpenResultFileOrAlert("3DFW", "w");
  if (f == nullptr) return 0;
  const bool extents = (flags[8] == 0 && flags[9] == 0) || flags[5] == 0;
  if (extents && !sections.empty())
    platform::printToFile(f, "%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", planMinX, planMinY, planMaxX, planMaxY,
                 sections.front().mileage, sections.back().mileage);
  if (!CloseResultFile(f, "3DFW")) return 0;

  // Hole: the outlines the point files give. RXDBJPT belongs to a double-line
  // design only; one left by an earlier design is not read.
  LoadPointFile();
  if (doubleLine) LoadDetourPointFile();
  if (!holes.empty() && !WriteHoles(holes)) return 0;
  return 1;
}

int CrossSectionDesigner::LoadPointFile() {
  const CString path = ResultFilePath("BJPT");
  FILE* f = platform::openFile(path, "r");
  if (f == nullptr) {
    CString text;
    text.Format("Cannot open %s file\n", path.GetString());
    AfxMessageBox(text);
    return 0;
  }
  holes.clear();
  ReadPointRecords(f);
  std::fclose(f);
  return 1;
}

int CrossSectionDesigner::LoadDetourPointFile() {
  FILE* f = OpenResultFile("RXDBJPT", "r");
  if (f == nullptr) return 0;  // the usual case of a single-line design
  int left = 0, right = 0;
  if (ReadResultInt(f, left) && ReadResultInt(f, right)) {
    // The counts are those of detour designers: at most kMaxDetourDesigners a side.
    const int records = std::clamp(left, 0, kMaxDetourDesigners) + std::clamp(right, 0, kMaxDetourDesigners);
    for (int i = 0; i < records && !std::feof(f); ++i) ReadPointRecords(f);
  }
  std::fclose(f);
  return 1;
}
