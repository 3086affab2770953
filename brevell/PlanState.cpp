// The plan module's state (PlanState.h).

#include "PlanState.h"

namespace {

PlanState* g_state = nullptr;

}  // namespace

void PlanState::SetModel(AlignmentModel* newModel) {
  if (model != newModel) delete model;
  model = newModel;
}

PlanState& ThePlanState() {
  if (!g_state) g_state = new PlanState();
  return *g_state;
}

void FreePlanState() {
  if (!g_state) return;
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

CString SchemeConnectionText(const CString& databasePath) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + databasePath;
}
