#pragma once
// CSlopeWidthDlg: the dialog of EDITBP (resource 2532 "修改边坡及路面宽"):
// the slope grades of one side of a section as a table of rows (a header row,
// then one row per grade: number, slope ratio, limiting height, berm width),
// the formation width and the scope of the change.
//
// The table is the shared grid on control 286 (a script edits a grade with
// `286[r,c]=text`); its first row is the fixed header. 添加 and 删除 act on
// the grid's rows: a row counts as selected when any of its cells is. OK and
// Cancel are the buttons 259 and 260; Enter and Esc reach them as the
// dialog's OK and Cancel.

#include <set>

#include "grid/GridCtrl.h"
#include "mfc/afxwin.h"

// The grid of the slope dialog: the shared grid, able to select whole rows.
class CSlopeGradeGrid : public CGridCtrl {
 public:
  // Selects every cell of the rows given (others are cleared).
  void SelectWholeRows(const std::set<int>& rows);
};

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

  CSlopeGradeGrid m_grid;  // 286

  // The grid's rows: row 0 is the header; cells are texts. They stay
  // readable after the dialog has closed.
  int GridRowCount() const { return m_grid.GetRowCount(); }
  CString CellText(int row, int column) const;
  void SetCellText(int row, int column, const CString& text);
  // Selects the rows (the header never); an empty set selects none.
  void SelectRows(const std::set<int>& rows);
  // The rows with a selected cell, the header never among them.
  std::set<int> SelectedRows() const;

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
  void Renumber(int from);
  void SetScope(int id);
  // Sizes row `row` and every column as the dialog lays them out.
  void SizeRow(int row);
};
