// The plan module's start-up, DEZERORUR, PZOOM and unload (PlanCommands.h).

#include "PlanCommands.h"

#include "PlanSettingsDlg.h"
#include "PlanState.h"
#include "ProjectDockBar.h"
#include "arx/ArxStartup.h"
#include "arx/arx.h"

const PlanCommandEntry kPlanCommands[20] = {
    {"DEZERORUR", "DEZERORUR", &CmdDrawPlan},
    {"PZOOM", "PZOOM", &CmdPlanZoom},
    {"INBMBR", "INBMBR", &CmdInsertBridges},
    {"INLXBMBR", "INLXBMBR", &CmdInsertLeftDetourBridges},
    {"INRXBMBR", "INRXBMBR", &CmdInsertRightDetourBridges},
    {"INTUN", "INTUN", &CmdInsertTunnels},
    {"INLXTUN", "INLXTUN", &CmdInsertLeftDetourTunnels},
    {"INRXTUN", "INRXTUN", &CmdInsertRightDetourTunnels},
    {"INSTA", "INSTA", &CmdInsertStations},
    {"INLXSTA", "INLXSTA", &CmdInsertLeftDetourStations},
    {"INRXSTA", "INRXSTA", &CmdInsertRightDetourStations},
    {"INSBR", "INSBR", &CmdInsertCulverts},
    {"INLXSBR", "INLXSBR", &CmdInsertLeftDetourCulverts},
    {"INRXSBR", "INRXSBR", &CmdInsertRightDetourCulverts},
    {"INBM", "INBM", &CmdInsertBenchMarks},
    {"INLXBM", "INLXBM", &CmdInsertLeftDetourBenchMarks},
    {"INRXBM", "INRXBM", &CmdInsertRightDetourBenchMarks},
    {"INDX", "IDX", &CmdInsertTraverse},
    {"INLXDX", "INLXDX", &CmdInsertLeftDetourTraverse},
    {"INRXDX", "INRXDX", &CmdInsertRightDetourTraverse},
};

// The module's one place of command registration: transparent, using the
// pick set, no local name from the string table.
void RegisterPlanCommands() {
  for (const PlanCommandEntry& c : kPlanCommands) {
    RegisterArxCommand(kPlanCommandGroup, c.globalName, c.localName, ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET,
                       c.handler, -1);
  }
}

void UnloadApplication() {
  CloseProjectDockBar();
  RemoveCommandGroup(kPlanCommandGroup);
  FreePlanState();
}

namespace {

// A structure routine for the base line and both detour lines, in that order.
struct LineRoutines {
  void (*base)();
  void (*left)();
  void (*right)();
};

void RunForEveryLine(const LineRoutines& r) {
  r.base();
  r.left();
  r.right();
}

}  // namespace

void CmdDrawPlan() {
  CPlanSettingsDlg dialog("", "", nullptr);
  if (dialog.DoModal() != IDOK) return;
  const PlanDialogSettings& s = dialog.m_settings;
  if (s.bridges) RunForEveryLine({&CmdInsertBridges, &CmdInsertLeftDetourBridges, &CmdInsertRightDetourBridges});
  if (s.allCulverts) {
    RunForEveryLine({&CmdInsertCulverts, &CmdInsertLeftDetourCulverts, &CmdInsertRightDetourCulverts});
  } else if (s.crossingCulverts) {
    RunForEveryLine({&DrawCrossingCulverts, &DrawLeftDetourCrossingCulverts, &DrawRightDetourCrossingCulverts});
  }
  if (s.benchMarks) {
    RunForEveryLine({&CmdInsertBenchMarks, &CmdInsertLeftDetourBenchMarks, &CmdInsertRightDetourBenchMarks});
  }
  if (s.tunnels) RunForEveryLine({&CmdInsertTunnels, &CmdInsertLeftDetourTunnels, &CmdInsertRightDetourTunnels});
  if (s.stations) {
    RunForEveryLine({&CmdInsertStations, &CmdInsertLeftDetourStations, &CmdInsertRightDetourStations});
  }
  if (s.traverse) {
    RunForEveryLine({&CmdInsertTraverse, &CmdInsertLeftDetourTraverse, &CmdInsertRightDetourTraverse});
  }
}

void CmdPlanZoom() {
  const PlanState& state = ThePlanState();
  BAS_DRAW_FUN::ZoomWindow(state.zoomCorners[0], state.zoomCorners[1]);
}
