// The navigator's table editor (TableEditorDlg.h).
#include "TableEditorDlg.h"

#include "TableEditors.h"
#include "arx/acui.h"
#include "arx/CommandLine.h"
#include "arx/edoutput.h"
#include "mfc/app.h"
#include "mfc/ddx.h"

namespace {

constexpr const char* kGradeNote =
    "注：第一行“竖曲线半径”表示设计标高小数位数；“竖曲线长度”表示\n坡度设计类型：0－路肩坡,1－轨面坡；“附注”表示坡度值小数位数。";

}  // namespace

BEGIN_MESSAGE_MAP(CTableEditorDlg, cdxCSizingDialog)
  ON_BN_CLICKED(IDC_EDITOR_ADD, &CTableEditorDlg::OnAddRows)
  ON_BN_CLICKED(IDC_EDITOR_DELETE, &CTableEditorDlg::OnDeleteRows)
  ON_BN_CLICKED(IDC_EDITOR_SAVE, &CTableEditorDlg::OnSave)
  ON_BN_CLICKED(IDC_EDITOR_CLOSE, &CTableEditorDlg::OnCloseButton)
END_MESSAGE_MAP()

CTableEditorDlg::CTableEditorDlg(const CString& table, const CString& databasePath, CWnd* parent)
    : cdxCSizingDialog(IDD, parent), m_strTableName(table), m_store(table, databasePath) {}

CTableEditorDlg::~CTableEditorDlg() { ForgetTableEditor(this); }

void CTableEditorDlg::DoDataExchange(CDataExchange* pDX) {
  cdxCSizingDialog::DoDataExchange(pDX);
  DDX_GridCtrl(pDX, IDC_EDITOR_GRID, m_grid);
  DDX_Control(pDX, IDC_EDITOR_PREVIEW, m_preview);
  DDX_Control(pDX, IDC_EDITOR_DELETE, m_btnDelete);
  DDX_Control(pDX, IDC_EDITOR_ADD, m_btnAdd);
  DDX_Text(pDX, IDC_EDITOR_ROWS, m_nRowsToAdd);
  DDV_MinMaxInt(pDX, m_nRowsToAdd, 1, 100000);
}

void CTableEditorDlg::SetUpButton(CIconButton& button, UINT icon, const char* caption) {
  button.SetIcons(icon);
  button.SetTooltipText(caption);
}

BOOL CTableEditorDlg::OnInitDialog() {
  InitSizing(0, m_nSizingMode, m_bCreateGrip);
  m_preview.ShowWindow(SW_HIDE);

  m_btnSave.SubclassDlgItem(IDC_EDITOR_SAVE, this);
  m_btnClose.SubclassDlgItem(IDC_EDITOR_CLOSE, this);
  SetUpButton(m_btnAdd, IDI_EDITOR_ADD, "添加");
  SetUpButton(m_btnDelete, IDI_EDITOR_DELETE, "删除");
  SetUpButton(m_btnSave, IDI_EDITOR_SAVE, "保存");
  SetUpButton(m_btnClose, IDI_EDITOR_CLOSE, "取消");

  SetWindowText(m_strTableName);

  CWnd* note = GetDlgItem(IDC_EDITOR_NOTE);
  if (m_strTableName.Find("曲线表") >= 0) {
    note->ShowWindow(SW_SHOW);
  } else if (m_strTableName.Find("坡度表") >= 0) {
    note->SetWindowText(kGradeNote);
    note->ShowWindow(SW_SHOW);
  } else {
    note->ShowWindow(SW_HIDE);
  }

  LoadTable();
  PlaceOverDrawing();
  // The grid grows with the dialog; what lies beside and below it moves with
  // the edges it sits at.
  AddControl(&m_grid, 0, 100, 0, 100);
  AddControl(IDC_EDITOR_PREVIEW, 100, 100, 0, 0);
  AddControl(IDC_EDITOR_NOTE, 0, 0, 100, 100);
  for (UINT id : {IDC_EDITOR_ROWS, IDC_EDITOR_ROWS_LABEL, IDC_EDITOR_ADD, IDC_EDITOR_DELETE, IDC_EDITOR_SAVE,
                  IDC_EDITOR_CLOSE})
    AddControl(id, 100, 100, 100, 100);
  return TRUE;
}

void CTableEditorDlg::PlaceOverDrawing() {
  // The editor opens at the top left of the drawing view, beside the docked
  // bars, so that the scheme tree stays in reach.
  CWnd* view = acedGetAcadDwgView();
  if (view == nullptr || !view->GetSafeHwnd()) return;
  CRect area;
  view->GetWindowRect(&area);
  SetWindowPos(nullptr, area.left + 8, area.top + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTableEditorDlg::LoadTable() {
  TableLoadOptions options;
  options.build = EditorBuild::Navigator;
  // An unopenable table leaves the grid empty.
  m_store.Load(m_grid, options);
  m_grid.SetTableName(m_strTableName);
  m_btnDelete.EnableWindow(m_grid.GetRowCount() > m_grid.GetFixedRowCount());
  // A grid without the whole table is never written back.
  m_btnSave.EnableWindow(m_store.Loaded());
}

BOOL CTableEditorDlg::PreTranslateMessage(MSG* msg) {
  if (DispatchEditorDialogKey(msg)) return TRUE;
  return cdxCSizingDialog::PreTranslateMessage(msg);
}

void CTableEditorDlg::OnAddRows() {
  if (!UpdateData(TRUE)) return;
  if (m_grid.AddRows(m_nRowsToAdd, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow)) m_btnDelete.EnableWindow(TRUE);
}

void CTableEditorDlg::OnDeleteRows() {
  if (!m_grid.DeleteSelectedRows()) m_btnDelete.EnableWindow(FALSE);
}

void CTableEditorDlg::OnSave() { SaveTable(); }

BOOL CTableEditorDlg::SaveTable() {
  TableSaveOptions options;
  options.build = EditorBuild::Navigator;
  return m_store.Save(m_grid, options);
}

bool CTableEditorDlg::ConfirmClose(bool mayStay) {
  // A table that did not load whole is never saved: there is nothing to ask.
  if (!GetSafeHwnd() || !m_store.Loaded()) return true;
  return ConfirmEditorClose(m_grid, m_strTableName, mayStay, [this] { return SaveTable() != FALSE; });
}

void CTableEditorDlg::OnOK() {
  // Enter goes to the grid (PreTranslateMessage); nothing closes the editor but its close.
}

void CTableEditorDlg::OnCancel() { CloseEditor(); }

void CTableEditorDlg::OnCloseButton() { CloseEditor(); }

bool CTableEditorDlg::CloseEditor() {
  if (!GetSafeHwnd()) return true;
  if (!ConfirmClose(true)) return false;
  ForgetTableEditor(this);
  EnableWindow(FALSE);
  FocusCommandLine();
  DestroyEditor();
  return true;
}

void CTableEditorDlg::DestroyEditor() {
  ForgetTableEditor(this);
  RemoveAll();
  DestroyWindow();
}

void CTableEditorDlg::PostNcDestroy() {
  cdxCSizingDialog::PostNcDestroy();
  delete this;
}
