// The rows of a table by column header (TableCells.h).

#include "TableCells.h"

#include "grid/GridCtrl.h"
#include "project/SchemeValues.h"

namespace {

bool HoldsText(CString text) {
  text.Trim();
  return !text.IsEmpty();
}

}  // namespace

bool TableCells::HoldsNumber(int row, const char* header) const {
  double value = 0.0;
  return ReadsAsNumber(Text(row, header), value);
}

double TableCells::Number(int row, const char* header) const {
  double value = 0.0;
  ReadsAsNumber(Text(row, header), value);
  return value;
}

bool TableCells::RowHasText(int row) const {
  for (int c = 1; c < ColumnCount(); ++c) {
    if (HoldsText(Text(row, c))) return true;
  }
  return false;
}

int GridTableCells::RowCount() const { return m_grid.GetRowCount() > 0 ? m_grid.GetRowCount() - 1 : 0; }

int GridTableCells::ColumnOf(const char* header) const {
  if (!header || m_grid.GetRowCount() < 1) return -1;
  for (int c = 0; c < m_grid.GetColumnCount(); ++c) {
    if (m_grid.GetItemText(0, c) == header) return c;
  }
  return -1;
}

int GridTableCells::ColumnCount() const { return m_grid.GetColumnCount(); }

CString GridTableCells::Text(int row, int column) const {
  if (row < 1 || !m_grid.IsValid(row, column)) return CString();
  return m_grid.GetItemText(row, column);
}

void GridTableCells::SetText(int row, int column, const CString& text) {
  if (row < 1 || !m_grid.IsValid(row, column)) return;
  m_grid.SetItemText(row, column, text);
}

int RowTableCells::ColumnOf(const char* header) const {
  if (!header) return -1;
  for (size_t c = 0; c < headers.size(); ++c) {
    if (headers[c] == header) return static_cast<int>(c);
  }
  return -1;
}

CString RowTableCells::Text(int row, int column) const {
  if (row < 1 || row > RowCount() || column < 0) return CString();
  const std::vector<CString>& r = rows[row - 1];
  return column < static_cast<int>(r.size()) ? r[column] : CString();
}

void RowTableCells::SetText(int row, int column, const CString& text) {
  if (row < 1 || row > RowCount() || column < 0 || column >= ColumnCount()) return;
  std::vector<CString>& r = rows[row - 1];
  if (static_cast<int>(r.size()) < ColumnCount()) r.resize(ColumnCount());
  r[column] = text;
}
