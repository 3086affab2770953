// The plan module's state (PlanState.h).

#include "PlanState.h"

#include <cstring>

#include "editor/TableEditorDlg.h"

namespace {

PlanState* g_state = nullptr;

}  // namespace

void PlanState::SetModel(AlignmentModel* newModel) {
  if (model != newModel) delete model;
  model = newModel;
}

void PlanState::CloseDockBar() {
  CMyDockControlBar* bar = dockBar;
  if (!bar) return;
  dockBar = nullptr;
  bar->OnClosing();
  if (bar->GetSafeHwnd()) bar->DestroyWindow();
  delete bar;
}

PlanState& ThePlanState() {
  if (!g_state) g_state = new PlanState();
  return *g_state;
}

void FreePlanState() {
  if (!g_state) return;
  // Editors with unsaved changes ask first (是 saves, 否 drops them; an edit
  // refused there is dropped, a save that fails is told in the transcript),
  // while the plan model that a save completes rows from is still there.
  for (CWnd* editor : g_state->tableEditors)
    if (auto* open = dynamic_cast<CTableEditorDlg*>(editor)) open->ConfirmClose(false);
  g_state->CloseDockBar();
  for (CWnd*& editor : g_state->tableEditors) {
    if (!editor) continue;
    if (editor->GetSafeHwnd()) editor->DestroyWindow();
    delete editor;
    editor = nullptr;
  }
  g_state->SetModel(nullptr);
  delete g_state;
  g_state = nullptr;
}

int TableEditorSlot(const char* tableName) {
  if (!tableName) return -1;
  for (int i = 0; i < PlanState::kTableEditorCount; ++i) {
    if (std::strcmp(kTableEditorNames[i], tableName) == 0) return i;
  }
  return -1;
}

namespace {

constexpr char kConnectionPrefix[] = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

}  // namespace

CString SchemeConnectionText(const CString& databasePath) { return CString(kConnectionPrefix) + databasePath; }

CString DatabasePathOfConnection(const CString& connection) {
  const int length = static_cast<int>(sizeof kConnectionPrefix) - 1;
  if (connection.Left(length) == kConnectionPrefix) return connection.Mid(length);
  return connection;
}
