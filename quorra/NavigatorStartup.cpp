// Start-up and unload of the navigator (NavigatorStartup.h).

#include "NavigatorStartup.h"

#include "NavigatorState.h"
#include "SchemeTreeDlg.h"
#include "controls/MyDockControlBar.h"
#include "arx/acui.h"
#include "arx/apdocman.h"
#include "project/ModulePath.h"
#include "resources/QuorraResources.h"

namespace {

ExtensionModuleState g_extension;
CMyDockControlBar* g_dockBar = nullptr;

// The bar's child: the scheme tree (template 2161) made under the bar.
CDialog* MakeSchemeTree(CWnd* bar) {
  auto* tree = new CSchemeTreeDlg;
  if (!tree->Create(CSchemeTreeDlg::IDD, bar)) {
    delete tree;
    return nullptr;
  }
  return tree;
}

// Closes the dock bar as its close command would (deleting the tree) and
// deletes it.
void CloseSchemeDockBar() {
  if (g_dockBar == nullptr) return;
  g_dockBar->OnClosing();
  delete g_dockBar;
  g_dockBar = nullptr;
}

}  // namespace

BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) { return ExtensionLibraryEntry(g_extension, instance, reason); }

const ExtensionModuleState& QuorraExtensionModule() { return g_extension; }

CSchemeTreeDlg* SchemeTree() {
  return g_dockBar ? static_cast<CSchemeTreeDlg*>(g_dockBar->GetChildDialog()) : nullptr;
}

void InitApplication() {
  ResetNavigatorState();
  g_InstallFolder = InstallFolder();
  RegisterQuorraResources();
  RegisterArxCommand(kQuorraCommandGroup, "QUORRA", "QUORRA", ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET,
                     &OnCmdQuorra, -1);
  RegisterArxCommand(kTreeCommandGroup, "TREE", "TREE", ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, &OnCmdTree, -1);
  acedGetAcadFrame()->EnableDocking(CBRS_ALIGN_ANY);
}

void UnloadApplication() {
  RemoveCommandGroup(kQuorraCommandGroup);
  RemoveCommandGroup(kTreeCommandGroup);
  CloseSchemeDockBar();
  // The table editors go with the module too: none may outlive its code.
  ResetNavigatorState();
}

void OnCmdQuorra() {}

void OnCmdTree() {
  AcApDocManager* documents = acDocManagerPtr();
  documents->pushResourceHandle(g_extension.instance);
  struct PopResources {
    AcApDocManager* documents;
    ~PopResources() { documents->popResourceHandle(); }
  } pop{documents};

  CloseSchemeDockBar();
  g_dockBar = new CMyDockControlBar(&MakeSchemeTree, IDC_SCHEME_TREE);
  CMDIFrameWnd* frame = acedGetAcadFrame();
  if (!g_dockBar->Create(frame, kSchemeDockBarTitle)) {
    // A bar without a window cannot dock or show: it goes at once.
    delete g_dockBar;
    g_dockBar = nullptr;
    return;
  }
  g_dockBar->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  g_dockBar->SetWindowText(kSchemeDockBarTitle);
  g_dockBar->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT, nullptr);
  frame->ShowControlBar(g_dockBar, TRUE, FALSE);
}
