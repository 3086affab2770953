#pragma once
// CTableGridCtrl: the grid of the table editors (the plan's structure table
// editor and the navigator's table editor), on which each module's station
// grid builds. It holds one table of a scheme database as the editors show
// it: a fixed header row with the field names ("行号" in the corner), a fixed
// column of row numbers, one row per record.
//
// What it adds to the grid:
// - a hidden column: a column removed from the grid whose values stay with
//   their rows (kept with the row-number cell), so that a save writes them
//   back; rows added later have none;
// - adding rows at the focus row and deleting the selected rows, with the
//   row numbers rewritten ("%d");
// - the lists of the coded columns, chosen by the header (TableCodes.h), in
//   the grid's in-place list: the navigator's selects the first item that
//   begins with the cell's text (ASCII case ignored);
// - the keys: Ctrl+A/C/V/X, Tab and Shift+Tab wrapping between rows, the
//   arrows, Page Up/Down, Home/End to the first/last data row, Delete; Enter
//   walks the cells in the plan's build (AdvanceOnEnter);
// - the chainage-prefix ("冠号") carry and the appended row: the plan's
//   Enter walk and the navigator's walk after each edit (AdvanceAfterEdit);
// - the flag-block preview of station rows: the drawing
//   "<folder>\dwg\<name>.dwg" shown in a drawing-preview control when the
//   file is there, the control hidden when it is not;
// - the rows as loaded: each data row keyed by the record it was loaded from
//   (0 for a row added since), the key moving with the row's content, so
//   that a save can tell a cell as loaded from one that was edited;
// - the numeric columns (the fields the database holds numbers in): an edit
//   of such a cell whose text is no number (CellNumber.h) is refused as it
//   ends, with a message naming the column; the cell keeps its text and its
//   editor opens again over it with the refused text (Esc there gives the
//   cell back as it was);
// - whether the grid changed since its load or last save: an edited or
//   pasted cell, rows added or deleted.
//
// Each module's grid derives from it and answers the virtual hooks (which
// preview control, which folder, what happens after a key).

#include <set>
#include <utility>
#include <vector>

#include "controls/DwgThumbnail.h"
#include "controls/TableCodes.h"
#include "grid/ComboGridCtrl.h"

class CTableGridCtrl : public CComboGridCtrl {
 public:
  explicit CTableGridCtrl(EditorBuild build = ThisEditorBuild());
  ~CTableGridCtrl() override;

  EditorBuild Build() const { return m_build; }

  // The table shown (the editor sets it before loading).
  void SetTableName(const CString& table) { m_strTableName = table; }
  const CString& GetTableName() const { return m_strTableName; }

  // ---- the table's layout ----
  // Empties the grid and lays it out for `records` records of `fields`
  // fields: records + 1 rows, `fields` columns, one fixed row and column,
  // "行号" in the corner, empty cells, background RGB(255, 255, 224).
  void LayOutTable(int records, int fields);
  // Writes "%d\n" of each data row's number into column 0 (as at load) and
  // keys row r by record r (the r-th record read).
  void NumberRowsAsLoaded();
  // The record a data row was loaded from (1 for the first), 0 for a row
  // added since the load or outside the grid.
  int RowKey(int row) const;
  // Rewrites the row numbers "%d" from `fromRow` to the last row.
  void RenumberRows(int fromRow);
  // The header text of a column (row 0); empty outside the grid.
  CString HeaderText(int col) const;
  // Whether a data row holds text in a column after the fixed one (a cell
  // of blanks only counts as empty).
  bool RowHasContent(int row) const;

  // ---- numbers ----
  // The fields that hold numbers (indexed by field; a field past the end
  // holds text).
  void SetNumericFields(std::vector<bool> numeric) { m_numericFields = std::move(numeric); }
  bool IsNumericField(int field) const {
    return field >= 0 && static_cast<size_t>(field) < m_numericFields.size() &&
           m_numericFields[static_cast<size_t>(field)];
  }
  bool IsNumericColumn(int col) const { return col >= GetFixedColumnCount() && IsNumericField(FieldOfColumn(col)); }
  // Whether `text` may stand in cell column `col`: any text in a text
  // column; in a numeric column an empty (or blank) text or one that, its
  // code taken for a coded text, reads as a number.
  bool AcceptsText(int col, const CString& text) const;

  // ---- changes ----
  // Whether a cell was edited, cut, pasted or emptied, or rows were added
  // or deleted, since the load or the last ClearChanges.
  bool HasChanges() const { return GetModified() != FALSE; }
  // Whether the loaded value of a row's field shows as an empty cell (a code
  // outside its column's list): emptying that cell unsets the value, a change.
  // `key` is the row's RowKey. Cleared by LayOutTable.
  void SetValueShownEmpty(int key, int field, bool shownEmpty);
  bool EmptyingChangesCell(int nRow, int nCol) const override;
  void ClearChanges() { SetModified(FALSE); }
  // Ends the edit in progress; false when its text was refused (or a
  // refused text waits to be edited again), so the cell is not what the
  // user typed.
  bool FinishEditing();
  // Drops the refused edit that waits to be opened again: the cell stays as
  // it was, as Esc in its editor leaves it.
  void CancelRefusedEdit();

  // ---- the hidden column ----
  // Removes grid column `col`, keeping each data row's text of it with the
  // row. -1 or a column outside the grid: nothing is hidden.
  void HideColumnKeepingValues(int col);
  // The column hidden (its index before it was removed), -1 when none.
  int HiddenColumn() const { return m_nHiddenColumn; }
  // The hidden text of a data row (empty for a row added since the load).
  CString HiddenValue(int row) const;
  // The field a grid column is stored in: the columns from the hidden one on
  // lie one field further.
  int FieldOfColumn(int col) const { return m_nHiddenColumn >= 0 && col >= m_nHiddenColumn ? col + 1 : col; }

  // ---- rows ----
  // What adding rows to a grid of only its header row does.
  enum class HeaderOnlyAdd {
    BelowHeader,  // the rows go below the header: `count` empty rows 1..count, focus on row 1
    SeedOneRow,   // the navigator's: one empty row first, then the insertion at row 1
  };
  // Adds `count` rows at the focus row (nothing without a focus cell): the
  // rows are inserted headed "NEW", the numbers rewritten from there, the
  // cells of the row after the focus row moved into it and that row emptied;
  // the focus goes to the row after, column 1. "行号" is written to the corner.
  // Returns whether rows were added.
  bool AddRows(int count, HeaderOnlyAdd headerOnly);
  // Deletes the rows of the selection (never the header), rewrites the
  // numbers from the first deleted position and selects the row now there
  // (the last row when the deleted ones were last), focus in column 1.
  // Returns whether data rows remain; false also when nothing was selected
  // and none remain.
  bool DeleteSelectedRows();
  // Moves the content of row `from` (cells after the fixed column and the
  // hidden value) into row `to`; row `from` is left empty (its cells
  // `fill`).
  void MoveRowContent(int from, int to, LPCTSTR fill = "");

  // ---- walking the cells ----
  // The plan's Enter: see the .cpp. Returns whether the focus moved.
  bool AdvanceOnEnter();
  // The navigator's step after an edit of (row, col) ended.
  void AdvanceAfterEdit(int row, int col);
  // Whether Enter walks the cells (the plan's build) and whether the
  // navigator's walk follows each edit: both by the build.
  bool EnterAdvances() const { return m_build == EditorBuild::Plan; }
  bool AdvancesAfterEdit() const { return m_build == EditorBuild::Navigator; }

  // ---- the flag-block preview ----
  // "<folder>\dwg\<name>.dwg".
  static CString FlagBlockPath(const CString& folder, const CString& name);
  // Shows the drawing `path` in `preview` when the file is there, else hides
  // the preview. Returns whether it shows. A null preview: false.
  static bool ShowDrawingIn(CWnd* preview, const CString& path);
  // The focus cell's check: in a station table, a focus cell under
  // 插旗图块名 turns the preview on and shows its block; any other cell hides
  // the preview.
  void CheckFlagBlockCell();
  // Shows block `name` (empty: the open list's current selection) when the
  // preview is on; hides the preview when its file is missing.
  void ShowFlagBlock(const CString& name);
  void ShowFlagBlockOfSelection() { ShowFlagBlock(CString()); }
  // The preview control the flag block shows in (null: none) and the folder
  // the dwg folder lies in; each module answers these.
  virtual CWnd* FlagBlockPreview() { return nullptr; }
  virtual CString FlagBlockFolder() { return CString(); }

  // ---- the grid's virtuals ----
  CWnd* CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol, LPCTSTR szText,
                                 int nChar) override;
  void OnEndEditCell(int nRow, int nCol, CString str) override;
  // The list a cell offers (false: plain text edit); by default the coded
  // lists of TableCodes.h by the column's header.
  virtual bool GetCodeList(int nRow, int nCol, CStringArray& items, DWORD& style);
  BOOL GetCellChoices(int nRow, int nCol, CStringArray& items, DWORD& style) override;
  // The item a list selects first for a cell's text: the navigator's the
  // first item that begins with the text (ASCII case ignored; an empty text
  // the first item), the plan's the item equal to the text. -1: none.
  int InitialListItem(const CStringArray& items, const CString& text) const;
  // The open in-place list (null when none).
  CComboBox* OpenList() const;

  // After a key the grid handled with a focus cell: `focusMoved` tells
  // whether the focus cell changed. Default: the flag-block check when it
  // moved.
  virtual void OnAfterKey(bool focusMoved);
  // A choice in the open list changed (its CBN_SELCHANGE). Default: nothing.
  virtual void OnListSelectionChanged() {}

  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnListSelChange();
  afx_msg LRESULT OnReopenRefusedEdit(WPARAM, LPARAM);

 protected:
  // Inserts `count` rows headed `heading` before row `at` (at the end for
  // the row count), all at once.
  void InsertRowsAt(int at, int count, LPCTSTR heading);
  // The cells of the focus key step of Home and End: the first and last data
  // row, the column kept.
  void MoveFocusTo(CCellID cell, UINT nChar);
  // Copies the text of the cell above into (row, col) when it is empty (or a
  // single blank), its header contains "冠号" and the row above is a data row.
  void CarryPrefixDown(int row, int col);
  // Appends a row at the end the way both walks do: "NEW" inserted before
  // the last row, numbers rewritten, the last row's content moved up, the
  // new last row filled with `fill`, the prefix of column 1 kept in both
  // rows when `keepPrefix`; focus on column 1 of the last row.
  void AppendRowAtEnd(LPCTSTR fill, bool keepPrefix);

  // An edit's text refused: the message naming the column, and the editor
  // opened again (posted, as the old editor is still closing).
  void RefuseEdit(int row, int col, const CString& text);
  // A pasted or dropped text too long for its column: the message naming
  // the column and how many characters it takes.
  void OnLongTextRefused(int nRow, int nCol) override;

  EditorBuild m_build;
  CString m_strTableName;
  std::vector<bool> m_numericFields;
  // The refused edit waiting to be opened again (row -1: none), and whether
  // an edit was refused since FinishEditing began.
  int m_nRefusedRow = -1, m_nRefusedCol = -1;
  CString m_strRefusedText;
  bool m_bReopening = false;
  bool m_bEditRefused = false;
  int m_nHiddenColumn = -1;
  // The data rows of the last load (row keys 1 .. this).
  int m_nLoadedRows = 0;
  // The (row key, field) of the loaded values shown as empty cells.
  std::set<std::pair<int, int>> m_valuesShownEmpty;
  // Hidden values by row key (index key - 1); the key is the item data of
  // a row's column-0 cell.
  std::vector<CString> m_hiddenValues;
  bool m_bPreviewOn = false;
  HWND m_hList = nullptr;
  UINT m_nLastEditKey = 0;
  bool m_bSwallowReturnChar = false;

  DECLARE_MESSAGE_MAP()
};
