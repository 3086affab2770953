// The slope and width dialog (EDITBP).

#include "SlopeWidthDlg.h"

#include <cstdlib>

#include "mfc/app.h"
#include "mfc/ddx.h"
#include "resources/CorvaneResources.h"

using namespace corvane_rc;

namespace {
CString Number(const char* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

constexpr int kColumnWidth = 70;
constexpr int kRowHeight = 20;
}  // namespace

void CSlopeGradeGrid::SelectWholeRows(const std::set<int>& rows) {
  ResetSelection();
  for (int r : rows)
    if (r >= GetFixedRowCount() && r < GetRowCount())
      for (int c = 0; c < GetColumnCount(); ++c) SetSelectedCell(r, c, true);
  if (GetSafeHwnd()) Invalidate();
}

CSlopeWidthDlg::CSlopeWidthDlg(CWnd* parent) : CDialog(kSlopeWidthDlg, parent) {}

CString CSlopeWidthDlg::CellText(int row, int column) const {
  if (row < 0 || row >= GridRowCount() || column < 0 || column >= kColumns) return CString();
  return m_grid.GetItemText(row, column);
}

void CSlopeWidthDlg::SetCellText(int row, int column, const CString& text) {
  if (row < 1 || row >= GridRowCount() || column < 0 || column >= kColumns) return;
  m_grid.SetItemText(row, column, text.GetString());
  if (m_grid.GetSafeHwnd()) m_grid.RedrawCell(row, column);
}

void CSlopeWidthDlg::SelectRows(const std::set<int>& rows) { m_grid.SelectWholeRows(rows); }

std::set<int> CSlopeWidthDlg::SelectedRows() const {
  std::set<int> rows;
  for (int r = 1; r < GridRowCount(); ++r)
    for (int c = 0; c < kColumns; ++c)
      if (m_grid.IsCellSelected(r, c)) {
        rows.insert(r);
        break;
      }
  return rows;
}

void CSlopeWidthDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_GridCtrl(pDX, kSwGrid, m_grid);
  DDX_Text(pDX, kSwWidth, m_width);
}

void CSlopeWidthDlg::SizeRow(int row) {
  m_grid.SetRowHeight(row, kRowHeight);
  for (int c = 0; c < kColumns; ++c) m_grid.SetColumnWidth(c, kColumnWidth);
}

BOOL CSlopeWidthDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDefID(kSwOk);
  if (m_rowCount < 0) m_rowCount = 0;
  if (m_rowCount > kMaxGrades) m_rowCount = kMaxGrades;
  // A grid of the grades and a fixed header row; a showing starts afresh.
  m_grid.SetRowCount(0);
  m_grid.SetColumnCount(kColumns);
  m_grid.SetRowCount(m_rowCount + 1);
  m_grid.SetFixedRowCount(1);
  const char* header[kColumns] = {"边坡级数", "边坡系数", "限制高(m)", "平台宽(m)"};
  for (int c = 0; c < kColumns; ++c) m_grid.SetItemText(0, c, header[c]);
  for (int i = 1; i <= m_rowCount; ++i) {
    CString number;
    number.Format("%d", i);
    m_grid.SetItemText(i, 0, number.GetString());
    m_grid.SetItemText(i, 1, Number("%0.2lf", m_ratio[i - 1]).GetString());
    m_grid.SetItemText(i, 2, Number("%0.2lf", m_height[i - 1]).GetString());
    m_grid.SetItemText(i, 3, Number("%0.2lf", m_berm[i - 1]).GetString());
  }
  // The last grade reaches to the top of the slope.
  if (m_rowCount > 0) m_grid.SetItemText(m_rowCount, 2, Number("%0.2lf", 100.0).GetString());
  for (int r = 0; r <= m_rowCount; ++r) SizeRow(r);
  m_grid.ResetSelectedRange();
  SetScope(kSwCurrentSection);
  return TRUE;
}

void CSlopeWidthDlg::SetScope(int id) {
  CheckDlgButton(kSwCurrentSection, id == kSwCurrentSection ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kSwWorkPoint, id == kSwWorkPoint ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kSwWholeLine, id == kSwWholeLine ? BST_CHECKED : BST_UNCHECKED);
  m_currentSection = id == kSwCurrentSection;
  m_workPoint = id == kSwWorkPoint;
  m_wholeLine = id == kSwWholeLine;
}

void CSlopeWidthDlg::OnCurrentSection() { SetScope(kSwCurrentSection); }
void CSlopeWidthDlg::OnWorkPoint() { SetScope(kSwWorkPoint); }
void CSlopeWidthDlg::OnWholeLine() { SetScope(kSwWholeLine); }

void CSlopeWidthDlg::Renumber(int from) {
  for (int r = from < 1 ? 1 : from; r < GridRowCount(); ++r) {
    CString number;
    number.Format("%d", r);
    m_grid.SetItemText(r, 0, number.GetString());
  }
  if (m_grid.GetSafeHwnd()) m_grid.Invalidate();
}

void CSlopeWidthDlg::OnAdd() {
  if (GridRowCount() - 1 >= kMaxGrades) {
    AfxMessageBox("边坡最多30级，不能再添加!");
    return;
  }
  int at = 1;
  if (GridRowCount() > 1) {
    const std::set<int> selected = SelectedRows();
    if (selected.empty()) return;
    at = *selected.begin() + 1;
  }
  m_grid.InsertRow(" ", at);
  for (int c = 1; c < kColumns; ++c) m_grid.SetItemText(at, c, " ");
  SizeRow(at);
  Renumber(at);
  SelectRows({at});
}

void CSlopeWidthDlg::OnDelete() {
  const std::set<int> selected = SelectedRows();  // the header is never among them
  if (selected.empty()) return;
  const int first = *selected.begin();
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) m_grid.DeleteRow(*it);
  Renumber(1);
  const int at = first < GridRowCount() ? first : GridRowCount() - 1;
  SelectRows(at >= 1 ? std::set<int>{at} : std::set<int>{});
}

void CSlopeWidthDlg::OnOK() {
  // A cell still being typed in counts.
  m_grid.EndEditing();
  if (!UpdateData(TRUE)) return;
  m_rowCount = GridRowCount() - 1;
  if (m_rowCount > kMaxGrades) m_rowCount = kMaxGrades;
  for (int i = 1; i <= m_rowCount; ++i) {
    m_ratio[i - 1] = std::atof(m_grid.GetItemText(i, 1).GetString());
    m_height[i - 1] = std::atof(m_grid.GetItemText(i, 2).GetString());
    m_berm[i - 1] = std::atof(m_grid.GetItemText(i, 3).GetString());
  }
  EndDialog(IDOK);
}

void CSlopeWidthDlg::OnOkButton() { OnOK(); }
void CSlopeWidthDlg::OnCancelButton() { OnCancel(); }

BEGIN_MESSAGE_MAP(CSlopeWidthDlg, CDialog)
  ON_BN_CLICKED(kSwCurrentSection, &CSlopeWidthDlg::OnCurrentSection)
  ON_BN_CLICKED(kSwWorkPoint, &CSlopeWidthDlg::OnWorkPoint)
  ON_BN_CLICKED(kSwWholeLine, &CSlopeWidthDlg::OnWholeLine)
  ON_BN_CLICKED(kSwAdd, &CSlopeWidthDlg::OnAdd)
  ON_BN_CLICKED(kSwDelete, &CSlopeWidthDlg::OnDelete)
  ON_BN_CLICKED(kSwOk, &CSlopeWidthDlg::OnOkButton)
  ON_BN_CLICKED(kSwCancel, &CSlopeWidthDlg::OnCancelButton)
END_MESSAGE_MAP()
