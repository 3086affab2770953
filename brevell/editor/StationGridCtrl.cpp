// The plan module's table grid (StationGridCtrl.h).

#include "StationGridCtrl.h"

#include "PlanState.h"
#include "TableCells.h"
#include "TableEditorDlg.h"
#include "TrackWindow.h"
#include "arx/CommandLine.h"
#include "arx/apdocman.h"
#include "arx/edoutput.h"
#include "project/ModulePath.h"

BEGIN_MESSAGE_MAP(CStationGridCtrl, CTableGridCtrl)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CStationGridCtrl::CStationGridCtrl() : CTableGridCtrl(EditorBuild::Plan) {}

CStationGridCtrl::~CStationGridCtrl() = default;

void CStationGridCtrl::OnLButtonDown(UINT flags, CPoint point) {
  CTableGridCtrl::OnLButtonDown(flags, point);
  CheckFlagBlockCell();
  if (ThePlanState().trackFlag) TrackTableRowInDrawing();
}

bool CStationGridCtrl::TrackTableRowInDrawing() {
  PlanState& state = ThePlanState();
  if (!state.model) return false;
  const CCellID focus = GetFocusCell();
  if (focus.row < GetFixedRowCount()) return false;
  GridTableCells cells(*this);
  AcGePoint2d first, second;
  if (!TrackWindow(*state.model, GetTableName(), cells, focus.row, first, second)) return false;
  state.zoomCorners[0] = first;
  state.zoomCorners[1] = second;
  EnableWindow(FALSE);
  FocusCommandLine();
  acDocManager->sendStringToExecute(curDoc(), "PZOOM\n", false, false, true);
  EnableWindow(TRUE);
  return true;
}

CWnd* CStationGridCtrl::FlagBlockPreview() {
  const CString& table = GetTableName();
  if (!IsStationTable(table)) return nullptr;
  const int slot = TableEditorSlot(table);
  if (slot < 0) return nullptr;
  auto* editor = dynamic_cast<CTableEditorDlg*>(ThePlanState().tableEditors[slot]);
  return editor ? editor->Preview() : nullptr;
}

CString CStationGridCtrl::FlagBlockFolder() { return InstallFolder(); }
