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
}  // namespace

CSlopeWidthDlg::CSlopeWidthDlg(CWnd* parent) : CDialog(kSlopeWidthDlg, parent) {}

CString CSlopeWidthDlg::CellText(int row, int column) const {
  if (row < 0 || row >= GridRowCount() || column < 0 || column >= kColumns) return CString();
  return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void CSlopeWidthDlg::SetCellText(int row, int column, const CString& text) {
  if (row < 1 || row >= GridRowCount() || column < 0 || column >= kColumns) return;
  m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
}

void CSlopeWidthDlg::SelectRows(const std::set<int>& rows) {
  m_selected.clear();
  for (int r : rows)
    if (r >= 1 && r < GridRowCount()) m_selected.insert(r);
}

void CSlopeWidthDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, kSwWidth, m_width);
}

BOOL CSlopeWidthDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDefID(kSwOk);
  if (m_rowCount < 0) m_rowCount = 0;
  if (m_rowCount > kMaxGrades) m_rowCount = kMaxGrades;
  m_rows.assign(static_cast<size_t>(m_rowCount) + 1, Row(kColumns, CString(" ")));
  m_rows[0] = {"边坡级数", "边坡系数", "限制高(m)", "平台宽(m)"};
  for (int i = 1; i <= m_rowCount; ++i) {
    Row& row = m_rows[static_cast<size_t>(i)];
    row[0].Format("%d", i);
    row[1] = Number("%0.2lf", m_ratio[i - 1]);
    row[2] = Number("%0.2lf", m_height[i - 1]);
    row[3] = Number("%0.2lf", m_berm[i - 1]);
  }
  // The last grade reaches to the top of the slope.
  if (m_rowCount > 0) m_rows.back()[2] = Number("%0.2lf", 100.0);
  m_selected.clear();
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
  for (int r = from < 1 ? 1 : from; r < GridRowCount(); ++r) m_rows[static_cast<size_t>(r)][0].Format("%d", r);
}

void CSlopeWidthDlg::OnAdd() {
  if (GridRowCount() - 1 >= kMaxGrades) {
    AfxMessageBox("边坡最多30级，不能再添加!");
    return;
  }
  if (GridRowCount() == 1) {
    m_rows.push_back(Row(kColumns, CString(" ")));
    m_rows[1][0] = "1";
    m_selected = {1};
    return;
  }
  if (m_selected.empty()) return;
  const int r = *m_selected.begin();
  m_rows.insert(m_rows.begin() + r + 1, Row(kColumns, CString(" ")));
  Renumber(r + 1);
  m_selected = {r + 1};
}

void CSlopeWidthDlg::OnDelete() {
  if (m_selected.empty()) return;
  const int first = *m_selected.begin();
  for (auto it = m_selected.rbegin(); it != m_selected.rend(); ++it)
    m_rows.erase(m_rows.begin() + *it);  // the header is never among them
  Renumber(1);
  m_selected.clear();
  const int at = first < GridRowCount() ? first : GridRowCount() - 1;
  if (at >= 1) m_selected.insert(at);
}

void CSlopeWidthDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  m_rowCount = GridRowCount() - 1;
  if (m_rowCount > kMaxGrades) m_rowCount = kMaxGrades;
  for (int i = 1; i <= m_rowCount; ++i) {
    const Row& row = m_rows[static_cast<size_t>(i)];
    m_ratio[i - 1] = std::atof(row[1].GetString());
    m_height[i - 1] = std::atof(row[2].GetString());
    m_berm[i - 1] = std::atof(row[3].GetString());
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
