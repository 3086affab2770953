#pragma once
// The rows of a table as the editor's completions and its track display read
// and write them: data rows 1 .. RowCount(), columns found by their header
// text. The editor's grid is one (GridTableCells); a test may give rows of
// its own (RowTableCells).

#include <vector>

#include "mfc/cstring.h"

class CGridCtrl;

class TableCells {
 public:
  virtual ~TableCells() = default;
  // The number of data rows (rows 1 .. RowCount()).
  virtual int RowCount() const = 0;
  // The column headed `header`, -1 when there is none.
  virtual int ColumnOf(const char* header) const = 0;
  virtual int ColumnCount() const = 0;
  // The text of a cell; empty for a row or column that is not there.
  virtual CString Text(int row, int column) const = 0;
  // Writes a cell; nothing for a row or column that is not there.
  virtual void SetText(int row, int column, const CString& text) = 0;

  // The text of a cell by its column's header.
  CString Text(int row, const char* header) const { return Text(row, ColumnOf(header)); }
  void SetText(int row, const char* header, const CString& text) { SetText(row, ColumnOf(header), text); }
  // True when the cell's whole text (blanks around it allowed) reads as a
  // number: an empty cell, or one holding "abc" or "12abc", does not.
  bool HoldsNumber(int row, const char* header) const;
  // The number the cell holds; 0 when it holds none (see HoldsNumber).
  double Number(int row, const char* header) const;
  // True when some column but the row number (column 0) holds more than blanks.
  bool RowHasText(int row) const;
};

// The rows of the editor's grid: row 0 holds the headers.
class GridTableCells : public TableCells {
 public:
  explicit GridTableCells(CGridCtrl& grid) : m_grid(grid) {}
  int RowCount() const override;
  int ColumnOf(const char* header) const override;
  int ColumnCount() const override;
  CString Text(int row, int column) const override;
  void SetText(int row, int column, const CString& text) override;
  using TableCells::SetText;
  using TableCells::Text;

 private:
  CGridCtrl& m_grid;
};

// Rows held here: `headers` the column headers, `rows[r - 1]` data row r.
class RowTableCells : public TableCells {
 public:
  std::vector<CString> headers;
  std::vector<std::vector<CString>> rows;

  int RowCount() const override { return static_cast<int>(rows.size()); }
  int ColumnOf(const char* header) const override;
  int ColumnCount() const override { return static_cast<int>(headers.size()); }
  CString Text(int row, int column) const override;
  void SetText(int row, int column, const CString& text) override;
  using TableCells::SetText;
  using TableCells::Text;
};
