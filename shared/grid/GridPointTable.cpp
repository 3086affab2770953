// The ground-point table of the ground-line build of the grid: rows of
// horizontal distance (column 0), height difference (column 1) and elevation
// (column 2) entered one after the other; an edit of one value column
// recomputes the other from the base elevation, Enter walks through the
// input cells and grows the table, and the row commands insert and delete
// rows.
#include "grid/GridCtrl.h"

#ifdef PELLORY_BUILD

#include <algorithm>
#include <cstdlib>

#include "mfc/menu.h"

namespace {
constexpr COLORREF kComputedColour = 0xCFE8CC;  // background of the computed column
constexpr int kNewRowHeight = 20;

CString twoDecimals(double v) {
  CString s;
  s.Format("%.2f", v);
  return s;
}
}  // namespace

void CGridCtrl::ClearPointTable() {
  m_nPointMode = 0;
  m_dBaseElevation = 0;
  m_nPointCount = 0;
  for (GridGroundPoint& p : m_Points) p = GridGroundPoint{0, 0};
}

void CGridCtrl::FillPointRows() {
  int count = std::clamp(m_nPointCount, 0, GRID_MAX_POINTS);
  for (int i = 0; i < count; ++i) {
    int row = i + 1;
    const GridGroundPoint& p = m_Points[i];
    SetItemText(row, 0, twoDecimals(p.dist));
    if (m_nPointMode != 0) {
      SetItemText(row, 1, twoDecimals(p.value - m_dBaseElevation));
      SetItemText(row, 2, twoDecimals(p.value));
    } else {
      SetItemText(row, 1, twoDecimals(p.value));
      SetItemText(row, 2, twoDecimals(p.value + m_dBaseElevation));
    }
  }
}

void CGridCtrl::RecalcPartnerColumn(int nRow, int nCol) {
  double v = std::atof(GetItemText(nRow, nCol));
  CString s;
  if (nCol == 1) {
    s.Format("%.2lf", v + m_dBaseElevation);
    SetItemText(nRow, 2, s);
    RedrawCell(nRow, 2);
  } else if (nCol == 2) {
    s.Format("%.2lf", v - m_dBaseElevation);
    SetItemText(nRow, 1, s);
    RedrawCell(nRow, 1);
  }
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
  if (!GetCell(nRow, nCol)) return;
  // What the user brought in is cut to the column's limit.
  if (GetItemText(nRow, nCol) != str) str = LimitColumnText(nCol, str);
  if (GetItemText(nRow, nCol) != str) {
    SetModified(TRUE, nRow, nCol);
    SetItemText(nRow, nCol, str);
  }
  if (nCol == 1 || nCol == 2) RecalcPartnerColumn(nRow, nCol);
}

void CGridCtrl::AdvanceOnEnter() {
  CCellID focus = m_idCurrentCell;
  if (!IsValid(focus)) return;
  int r = focus.row, c = focus.col;
  if (c == 0) {
    SetFocusCell(r, m_nPointMode != 0 ? 2 : 1);
  } else {
    if (r + 1 == m_nRows - 1) {
      // One row always stays below the row being entered.
      InsertRow(nullptr, r + 1);
      SetRowHeight(r + 1, kNewRowHeight);
      int computed = c == 1 ? 2 : 1;
      SetItemReadOnly(r + 1, computed, TRUE);
      SetItemBkColour(r + 1, computed, kComputedColour);
    }
    if (r + 1 < m_nRows) SetFocusCell(r + 1, 0);
  }
  EnsureVisible(m_idCurrentCell);
  if (m_hWnd) Invalidate();
}

void CGridCtrl::RecalcFocusRowValue() {
  CCellID focus = m_idCurrentCell;
  if (!IsValid(focus) || focus.col != 1) return;
  if (m_nPointMode != 0)
    SetItemText(focus.row, 1, twoDecimals(std::atof(GetItemText(focus.row, 2)) - m_dBaseElevation));
  else
    SetItemText(focus.row, 2, twoDecimals(std::atof(GetItemText(focus.row, 1)) + m_dBaseElevation));
  if (m_hWnd) Invalidate();
}

namespace {
// A row the row commands insert: the default height and a read-only computed column.
void markInsertedRow(CGridCtrl& grid, int row) {
  grid.SetRowHeight(row, kNewRowHeight);
  if (grid.GetColumnCount() > 2) {
    grid.SetItemReadOnly(row, 2, TRUE);
    grid.SetItemBkColour(row, 2, kComputedColour);
  }
}
}  // namespace

void CGridCtrl::OnInsertRowBefore() {
  CCellID focus = m_idCurrentCell;
  if (IsValid(focus)) {
    int row = InsertRow(nullptr, focus.row);
    if (row >= 0) markInsertedRow(*this, row);
  } else {
    InsertRow(nullptr, -1);
  }
  if (m_hWnd) Invalidate();
}

void CGridCtrl::OnInsertRowAfter() {
  CCellID focus = m_idCurrentCell;
  if (IsValid(focus) && focus.row + 1 < m_nRows) {
    int row = InsertRow(nullptr, focus.row + 1);
    if (row >= 0) markInsertedRow(*this, row);
  }
  if (m_hWnd) Invalidate();
}

void CGridCtrl::OnDeleteRows() {
  CCellRange range = GetSelectedCellRange();
  if (!IsValid(range)) return;
  // From the bottom up, so that every row of the range goes and no other.
  for (int row = range.GetMaxRow(); row >= range.GetMinRow(); --row) DeleteRow(row);
  if (m_hWnd) Invalidate();
}

void CGridCtrl::OnContextMenu(CWnd*, CPoint point) { ShowRowMenu(point); }

void CGridCtrl::ShowRowMenu(CPoint point) {
  // Menu resource 19 of the running module ("增加行" > "之前增加" 21, "之后增加"
  // 23; "删除行" 17): its first submenu at the point, owned by the grid, whose
  // command handlers take the choice. A module without the menu shows none.
  CMenu menu;
  if (!menu.LoadMenu(19)) return;
  CMenu* rows = menu.GetSubMenu(0);
  if (!rows) return;
  rows->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

#endif  // PELLORY_BUILD
