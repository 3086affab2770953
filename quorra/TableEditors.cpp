// The navigator's table editors (TableEditors.h).
#include "TableEditors.h"

#include <array>

#include "NavigatorState.h"
#include "SchemeTables.h"
#include "TableEditorDlg.h"
#include "arx/edoutput.h"

namespace {

std::array<CTableEditorDlg*, scheme_tables::kTableCount>& Slots() {
  static std::array<CTableEditorDlg*, scheme_tables::kTableCount> slots{};
  return slots;
}

CTableEditorDlg*& StationEditor() {
  static CTableEditorDlg* editor = nullptr;
  return editor;
}

}  // namespace

BOOL OpenTableEditor(int index, const CString& databasePath) {
  if (index < 0 || index >= scheme_tables::kTableCount) return FALSE;
  CTableEditorDlg*& slot = Slots()[static_cast<size_t>(index)];
  // An editor of the same table in another scheme's database gives way to
  // one on the database asked for (it clears its slot as it closes), after
  // the question when it has changes: kept, it is brought forward and
  // nothing opens.
  if (slot != nullptr && slot->DatabasePath().CompareNoCase(databasePath) != 0 && !slot->CloseEditor()) {
    slot->ShowWindow(SW_SHOW);
    slot->SetActiveWindow();
    slot->BringWindowToTop();
    return FALSE;
  }
  if (slot != nullptr) {
    slot->ShowWindow(SW_SHOW);
    slot->SetActiveWindow();
    slot->BringWindowToTop();
    return TRUE;
  }
  auto* editor = new CTableEditorDlg(scheme_tables::kTables[index].name, databasePath);
  slot = editor;
  if (!editor->Create(CTableEditorDlg::IDD, acedGetAcadFrame())) {
    slot = nullptr;
    delete editor;
    return FALSE;
  }
  editor->ShowWindow(SW_SHOW);
  editor->SetActiveWindow();
  return TRUE;
}

CTableEditorDlg* OpenedTableEditor(int index) {
  if (index < 0 || index >= scheme_tables::kTableCount) return nullptr;
  return Slots()[static_cast<size_t>(index)];
}

CTableEditorDlg* OpenedTableEditorOf(const CString& table) { return OpenedTableEditor(SchemeTableIndex(table)); }

int OpenedTableEditorCount() {
  int count = 0;
  for (CTableEditorDlg* editor : Slots()) count += editor ? 1 : 0;
  return count;
}

void ForgetTableEditor(const CTableEditorDlg* editor) {
  if (editor == nullptr) return;
  for (CTableEditorDlg*& slot : Slots())
    if (slot == editor) slot = nullptr;
  if (StationEditor() == editor) StationEditor() = nullptr;
}

void CloseAllTableEditors() {
  StationEditor() = nullptr;
  for (CTableEditorDlg*& slot : Slots()) {
    CTableEditorDlg* editor = slot;
    slot = nullptr;
    // Its window goes, and with its last message the editor itself; its
    // changes are saved or dropped as the answer to the question says (a
    // save that fails is told in the transcript).
    if (editor != nullptr) {
      if (editor->GetSafeHwnd()) {
        editor->ConfirmClose(false);
        editor->DestroyEditor();
      } else {
        delete editor;
      }
    }
  }
}

CTableEditorDlg* CurrentStationEditor() { return StationEditor(); }
void SetCurrentStationEditor(CTableEditorDlg* editor) { StationEditor() = editor; }
