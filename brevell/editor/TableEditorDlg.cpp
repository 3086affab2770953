// The plan module's table editor (TableEditorDlg.h).

#include "TableEditorDlg.h"

#include "PlanCellText.h"
#include "PlanState.h"
#include "SaveCompletion.h"
#include "TableCells.h"
#include "TrackWindow.h"
#include "TraverseImport.h"
#include "arx/apdocman.h"
#include "arx/CommandLine.h"
#include "arx/edinput.h"
#include "arx/edlisp.h"
#include "arx/edoutput.h"
#include "crt/textfile.h"
#include "mfc/ddx.h"
#include "project/ProjectLocation.h"
#include "resources/EditorResources.h"

namespace {

// The rows one click of 添加 may add at most.
constexpr int kMostRowsToAdd = 100000;

struct RedrawOf {
  const char* table;
  const char* command;
};

const RedrawOf kRedraw[] = {
    {"大中桥", "INBMBR\n"}, {"左线绕行段大中桥", "INLXBMBR\n"}, {"右线绕行段大中桥", "INRXBMBR\n"},
    {"隧道", "INTUN\n"},    {"左线绕行段隧道", "INLXTUN\n"},    {"右线绕行段隧道", "INRXTUN\n"},
    {"小桥涵", "INSBR\n"},  {"左线绕行段小桥涵", "INLXSBR\n"},  {"右线绕行段小桥涵", "INRXSBR\n"},
    {"车站", "INSTA\n"},    {"左线绕行段车站", "INLXSTA\n"},    {"右线绕行段车站", "INRXSTA\n"},
    {"水准点表", "INBM\n"}, {"左线绕行段水准点表", "INLXBM\n"}, {"右线绕行段水准点表", "INRXBM\n"},
    {"导线表", "INDX\n"},   {"左线绕行段导线表", "INLXDX\n"},   {"右线绕行段导线表", "INRXDX\n"},
};

}  // namespace

BEGIN_MESSAGE_MAP(CTableEditorDlg, cdxCSizingDialog)
ON_BN_CLICKED(IDC_EDITOR_REDRAW, &CTableEditorDlg::OnRefreshDrawing)
ON_BN_CLICKED(IDC_EDITOR_IMPORT, &CTableEditorDlg::ImportTraverseFile)
ON_BN_CLICKED(IDC_EDITOR_ADD, &CTableEditorDlg::OnAddRows)
ON_BN_CLICKED(IDC_EDITOR_DELETE, &CTableEditorDlg::OnDeleteRows)
ON_BN_CLICKED(IDC_EDITOR_SAVE, &CTableEditorDlg::OnSave)
ON_BN_CLICKED(IDC_EDITOR_QUIT, &CTableEditorDlg::OnCloseWithoutSaving)
ON_BN_CLICKED(IDC_EDITOR_TRACK, &CTableEditorDlg::OnTrackToggled)
END_MESSAGE_MAP()

CTableEditorDlg::CTableEditorDlg(const CString& tableName, CWnd* parent)
    : cdxCSizingDialog(IDD_TABLE_EDITOR, parent, 3, TRUE), m_strTableName(tableName) {
  ThePlanState().trackFlag = 0;
  m_store.SetTable(tableName);
}

CTableEditorDlg::~CTableEditorDlg() {
  if (GetSafeHwnd()) DestroyWindow();
}

bool CTableEditorDlg::IsStructureTable() const { return !RedrawCommand().IsEmpty(); }

CString CTableEditorDlg::RedrawCommand() const {
  for (const RedrawOf& r : kRedraw) {
    if (m_strTableName == r.table) return r.command;
  }
  return CString();
}

void CTableEditorDlg::DoDataExchange(CDataExchange* pDX) {
  cdxCSizingDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_EDITOR_GRID, m_grid);
  DDX_Control(pDX, IDC_EDITOR_DELETE, m_delete);
  DDX_Control(pDX, IDC_EDITOR_ADD, m_add);
  DDX_Control(pDX, IDC_EDITOR_SAVE, m_save);
  DDX_Control(pDX, IDC_EDITOR_QUIT, m_quit);
  DDX_Control(pDX, IDC_EDITOR_REDRAW, m_redraw);
  DDX_Control(pDX, IDC_EDITOR_IMPORT, m_import);
  DDX_Check(pDX, IDC_EDITOR_TRACK, m_bTrack);
  DDX_Control(pDX, IDC_EDITOR_PREVIEW, m_preview);
  DDX_Text(pDX, IDC_EDITOR_ROWS, m_nRowsToAdd);
}

BOOL CTableEditorDlg::OnInitDialog() {
  InitSizing(0, m_nSizingMode, m_bCreateGrip);
  m_preview.ShowWindow(SW_HIDE);
  m_bTrack = 0;
  UpdateData(FALSE);
  m_grid.SetTableName(m_strTableName);

  const struct {
    CIconButton& button;
    UINT icon;
    const char* tip;
  } buttons[] = {
      {m_delete, IDI_EDITOR_DELETE, "删除"},     {m_add, IDI_EDITOR_ADD, "添加"},
      {m_save, IDI_EDITOR_SAVE, "保存"},         {m_quit, IDI_EDITOR_QUIT, "不存入数据库退出"},
      {m_redraw, IDI_EDITOR_REDRAW, "刷新图形"}, {m_import, 0, "从文件导入导线数据"},
  };
  for (const auto& b : buttons) {
    if (b.icon) b.button.SetIcons(b.icon);
    b.button.SetTooltipText(b.tip);
  }
  m_import.ShowWindow(m_strTableName == "导线表" ? SW_SHOW : SW_HIDE);
  if (!IsStructureTable()) {
    for (CWnd* w : {static_cast<CWnd*>(&m_redraw), static_cast<CWnd*>(&m_add), static_cast<CWnd*>(&m_delete),
                    static_cast<CWnd*>(&m_save)})
      w->EnableWindow(FALSE);
  }

  SetWindowText(m_strTableName);
  // The editor keeps the database it loaded from, whatever the plan's
  // settings make current later.
  m_store.SetDatabasePath(DatabasePathOfConnection(ThePlanState().connection));
  TableLoadOptions load;
  load.build = EditorBuild::Plan;
  load.display = &PlanCellText;
  // The grid's own background (light yellow) is the plan's too.
  m_store.Load(m_grid, load);
  // A grid without the whole table is never written back.
  if (!m_store.Loaded()) {
    for (CWnd* w : {static_cast<CWnd*>(&m_redraw), static_cast<CWnd*>(&m_add), static_cast<CWnd*>(&m_save)})
      w->EnableWindow(FALSE);
  }
  AddControl(IDC_EDITOR_GRID, 0, 100, 0, 100);
  return TRUE;
}

BOOL CTableEditorDlg::OpenTable() {
  return m_store.OpenTable();
}

BOOL CTableEditorDlg::PreTranslateMessage(MSG* msg) {
  if (DispatchEditorDialogKey(msg)) return TRUE;
  return cdxCSizingDialog::PreTranslateMessage(msg);
}

void CTableEditorDlg::OnCancel() {
  if (ConfirmClose(true)) CloseEditor();
}

void CTableEditorDlg::CloseEditor() {
  cdxCSizingDialog::OnCancel();
  if (GetSafeHwnd()) DestroyWindow();
}

// 不存入数据库退出: as its name says, no question.
void CTableEditorDlg::OnCloseWithoutSaving() { CloseEditor(); }

bool CTableEditorDlg::ConfirmClose(bool mayStay) {
  // A viewed table, or one that did not load whole, is never saved: there
  // is nothing to ask.
  if (!GetSafeHwnd() || !IsStructureTable() || !m_store.Loaded()) return true;
  return ConfirmEditorClose(m_grid, m_strTableName, mayStay, [this] { return SaveToDatabase() != FALSE; });
}

void CTableEditorDlg::OnTrackToggled() {
  UpdateData(TRUE);
  ThePlanState().trackFlag = m_bTrack;
}

void CTableEditorDlg::OnAddRows() {
  if (!UpdateData(TRUE)) return;
  m_bTrack = 0;
  ThePlanState().trackFlag = 0;
  UpdateData(FALSE);
  if (m_nRowsToAdd < 1) return;
  // A count read from the edit is bounded before it sizes the grid.
  const int count = m_nRowsToAdd > kMostRowsToAdd ? kMostRowsToAdd : m_nRowsToAdd;
  if (m_grid.AddRows(count, CTableGridCtrl::HeaderOnlyAdd::BelowHeader) && IsStructureTable())
    m_delete.EnableWindow(TRUE);
  m_grid.Invalidate();
}

void CTableEditorDlg::OnDeleteRows() {
  if (!m_grid.DeleteSelectedRows()) m_delete.EnableWindow(FALSE);
  m_grid.Invalidate();
}

void CTableEditorDlg::OnSave() { SaveToDatabase(); }

BOOL CTableEditorDlg::SaveToDatabase() {
  // The curve and break tables are only viewed: nothing reaches the database.
  if (!IsStructureTable()) return FALSE;
  if (!m_grid.FinishEditing()) return FALSE;
  if (const AlignmentModel* model = ThePlanState().model) {
    GridTableCells cells(m_grid);
    if (m_strTableName == "水准点表") CompleteBenchMarks(*model, cells);
    if (m_strTableName == "导线表") CompleteTraverse(*model, cells);
  }
  TableSaveOptions save;
  save.build = EditorBuild::Plan;
  save.skipFailedRows = false;
  return m_store.Save(m_grid, save);
}

void CTableEditorDlg::OnRefreshDrawing() {
  const CString command = RedrawCommand();
  if (command.IsEmpty()) return;
  // The drawing follows the table only when the table holds the grid.
  if (!SaveToDatabase()) return;
  // The redraw reads the plan's current database: another scheme's than the
  // one this editor saved to would draw that scheme's table.
  if (DatabasePathOfConnection(ThePlanState().connection).CompareNoCase(m_store.DatabasePath()) != 0) {
    AfxMessageBox("表 " + m_strTableName + " 已保存到 " + m_store.DatabasePath() +
                  "，但图形现在使用的是另一个方案数据库，不能刷新图形!");
    return;
  }
  FocusCommandLine();
  acDocManager->sendStringToExecute(curDoc(), command, false, false, true);
}

void CTableEditorDlg::ImportTraverseFile() {
  CString folder;
  if (!g_ProjectFolder.IsEmpty()) folder = g_ProjectFolder + "\\DATA\\" + g_SchemeName;
  resbuf result{};
  if (acedGetFileD("请输入导线表文件名", folder, "", 6, &result) != RTNORM) return;
  if (result.restype != RTSTR || !result.resval.rstring) return;
  const CString name = result.resval.rstring;
  acutDelString(result.resval.rstring);
  acutPrintf("%s\n", name.GetString());
  FILE* file = platform::openFile(name, "r");
  if (!file) return;
  const std::vector<TraverseImportRow> rows = ReadTraverseFile(file, name);
  std::fclose(file);
  GridTableCells cells(m_grid);
  for (const TraverseImportRow& row : rows) {
    // Each station one row more at the end of the grid.
    if (m_grid.GetRowCount() > 1) m_grid.SetFocusCell(m_grid.GetRowCount() - 1, 1);
    if (!m_grid.AddRows(1, CTableGridCtrl::HeaderOnlyAdd::BelowHeader)) break;
    const int r = m_grid.GetRowCount() - 1;
    for (int c = 0; c < TraverseImportRow::kColumns; ++c) cells.SetText(r, c + 1, row.cells[c]);
  }
  m_grid.AutoSizeAllCells();
  m_grid.Invalidate();
}
