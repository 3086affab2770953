// The command handlers of the module.

#include "CorvaneCommands.h"

#include <memory>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "ResultFileAccess.h"
#include "dialogs/AutoDesignDlg.h"
#include "dialogs/CommandOptionDlgs.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/ExtractGroundLineDlg.h"
#include "dialogs/SectionBrowserDlg.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"

namespace {

// Runs `body` on a designer made for it, with detour designers of its own;
// the designers and the lines they read go when the body ends, and the
// module's design (the baseline designer that HDMDES filled and its detour
// designers) is as it was before, so that DRAWHDM, PRINTHDM and SAVEFILE
// still find every section of it.
template <class Body>
void WithFreshDesigner(Body body) {
  RunDetourDesigners detours;
  auto designer = std::make_unique<CrossSectionDesigner>();
  body(*designer);
  designer->FreeAllLines();
}

}  // namespace

void OnCmdHDMDES() {
  CAutoDesignDlg dialog;
  if (dialog.DoModal() != IDOK) return;
  // The browser shows the sections of the designer that the run replaces.
  CloseSectionBrowser();
  g_BaselineDesigner.CmdAutoDesign(dialog.Options(), 1);
}

void OnCmdCALTSF() {
  if (!ReadProjectAndScheme()) return;
  CString lineKind;
  if (!ReadLineKindFile(lineKind)) {
    AfxMessageBox("请先进行横断面设计!");
    return;
  }
  CEarthworkDlg dialog;
  if (dialog.DoModal() != IDOK) return;
  WithFreshDesigner([&](CrossSectionDesigner& d) { d.CmdEarthworkToExcel(dialog.m_choice); });
}

void OnCmdCALTWB() {
  CFillCutOptionsDlg dialog;
  if (dialog.DoModal() != IDOK) return;
  WithFreshDesigner([&](CrossSectionDesigner& d) { d.CmdFillCutTables(dialog.m_options); });
}

void OnCmdCALHDMDMX() {
  CString start, end;
  BaselineRangeFromBreakTable(start, end);
  CExtractGroundLineDlg dialog(nullptr, start, end);
  if (dialog.DoModal() != IDOK) return;
  WithFreshDesigner([&](CrossSectionDesigner& d) {
    d.CmdInterpolateGroundLines(dialog.m_startChainage, dialog.m_endChainage, dialog.m_outputPath);
  });
}

void OnCmdFINDDM() { OpenSectionBrowser(); }

namespace {
void DrawingRun(int flag) {
  CDrawLinesDlg dialog;
  if (dialog.DoModal() != IDOK) return;
  g_BaselineDesigner.CmdDrawSections(dialog.m_choice, flag);
}
}  // namespace

void OnCmdDRAWHDM() { DrawingRun(1); }
void OnCmdPRINTHDM() { DrawingRun(0); }

void OnCmdSAVEFILE() {
  CrossSectionDesigner& d = g_BaselineDesigner;
  if (d.baseline == nullptr || d.SectionCount() == 0 || !d.sectionsDesigned) {
    AfxMessageBox("没有设计横断面", MB_OK);
    return;
  }
  d.SaveDesignResults();
}
