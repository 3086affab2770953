// The navigator's station grid (StationGridCtrl.h).
#include "StationGridCtrl.h"

#include "NavigatorState.h"
#include "TableEditorDlg.h"
#include "TableEditors.h"

BEGIN_MESSAGE_MAP(CStationGridCtrl, CTableGridCtrl)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CStationGridCtrl::CStationGridCtrl() : CTableGridCtrl(EditorBuild::Navigator) {}

CStationGridCtrl::~CStationGridCtrl() = default;

CWnd* CStationGridCtrl::FlagBlockPreview() {
  CTableEditorDlg* editor = CurrentStationEditor();
  return editor ? editor->Preview() : nullptr;
}

CString CStationGridCtrl::FlagBlockFolder() { return g_InstallFolder; }

void CStationGridCtrl::OnAfterKey(bool) { CheckFlagBlockCell(); }

bool CStationGridCtrl::MakeStationEditorCurrent() {
  if (!IsStationTable(GetTableName())) return false;
  SetCurrentStationEditor(OpenedTableEditorOf(GetTableName()));
  return true;
}

void CStationGridCtrl::OnListSelectionChanged() {
  if (MakeStationEditorCurrent()) ShowFlagBlockOfSelection();
}

void CStationGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  CTableGridCtrl::OnLButtonDown(nFlags, point);
  if (MakeStationEditorCurrent()) CheckFlagBlockCell();
}
