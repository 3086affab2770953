// The dock bar of the project tree (ProjectDockBar.h).

#include "ProjectDockBar.h"

#include "PlanState.h"
#include "SchemeTreeDlg.h"
#include "arx/apdocman.h"
#include "arx/arx.h"
#include "resources/PlanResources.h"

void CloseProjectDockBar() { ThePlanState().CloseDockBar(); }

void ShowProjectDockBar(bool show) {
  if (!show) {
    CloseProjectDockBar();
    return;
  }
  acDocManager->pushResourceHandle(AfxGetInstanceHandle());
  CloseProjectDockBar();
  CMDIFrameWnd* frame = acedGetAcadFrame();
  auto* bar = new CMyDockControlBar(&CSchemeTreeDlg::CreateInDockBar, IDC_SCHEME_TREE);
  ThePlanState().dockBar = bar;
  if (bar->Create(frame, PROJECT_DOCK_BAR_TITLE)) {
    bar->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    bar->SetWindowText(PROJECT_DOCK_BAR_TITLE);
    bar->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT);
    frame->ShowControlBar(bar, TRUE, FALSE);
  }
  acDocManager->popResourceHandle();
}
