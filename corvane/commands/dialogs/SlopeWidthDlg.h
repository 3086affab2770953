#pragma once
// CSlopeWidthDlg: the dialog of EDITBP (resource 2532 "修改边坡及路面宽"):
// the slope grades of one side of a section as a table of rows (a header row,
// then one row per grade: number, slope ratio, limiting height, berm width),
// the formation width and the scope of the change.
//
// The table is kept as a row model (text cells and the selected rows) in the
// layout of the grid control 286 that shows it; the grid is put over it
// without changing the dialog's logic. OK and Cancel are the buttons 259 and
// 260; Enter and Esc reach them as the dialog's OK and Cancel.

#include <set>
#include <string>
#include <vector>

#include "mfc/afxwin.h"

class CSlopeWidthDlg : public CDialog {
 public:
  static constexpr int kMaxGrades = 30;
  static constexpr int kColumns = 4;

  explicit CSlopeWidthDlg(CWnd* parent = nullptr);

  CString m_width;  // 288
  int m_rowCount = 0;  // grades in use
  double m_ratio[kMaxGrades] = {};
  double m_height[kMaxGrades] = {};
  double m_berm[kMaxGrades] = {};
  BYTE m_currentSection = 0;  // 282
  BYTE m_workPoint = 0;       // 283
  BYTE m_wholeLine = 0;       // 284

  // The row model: row 0 is the header; cells are texts.
  int GridRowCount() const { return static_cast<int>(m_rows.size()); }
  CString CellText(int row, int column) const;
  void SetCellText(int row, int column, const CString& text);
  // Selects the rows (the header never); an empty set selects none.
  void SelectRows(const std::set<int>& rows);
  const std::set<int>& SelectedRows() const { return m_selected; }

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  afx_msg void OnCurrentSection();
  afx_msg void OnWorkPoint();
  afx_msg void OnWholeLine();
  afx_msg void OnAdd();
  afx_msg void OnDelete();
  afx_msg void OnOkButton();
  afx_msg void OnCancelButton();
  DECLARE_MESSAGE_MAP()

 private:
  using Row = std::vector<CString>;
  std::vector<Row> m_rows;
  std::set<int> m_selected;
  void Renumber(int from);
  void SetScope(int id);
};
