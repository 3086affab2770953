// The grid's focus cell, selection, scrolling, mouse and keyboard.
//
// Mouse: a press on a cell makes it the focus cell and starts a selection
// that follows the mouse (with the button held outside the cells the grid
// scrolls towards the mouse on a timer); Shift extends the selection from its
// anchor, Ctrl adds to it. A press on the focus cell, released there, starts
// an edit. A press on a fixed-row cell selects its column, on a fixed-column
// cell its row, on the corner everything; in list mode with sorting on, a
// header click sorts by its column (again: the other way). A press near the
// right border of a header cell (or the bottom border of a row header)
// drags that border. With drag and drop on, a press on a selected cell that
// then moves the mouse a few pixels drags the selection's text to wherever it
// is released (GridClipboard.cpp); released before that, the press does what
// it does without drag and drop.
//
// Keys: arrows, Tab and Shift+Tab (wrapping to the next or previous row),
// Page Up/Down by a screen of rows, Home/End to the first or last column
// (with Ctrl the first or last cell). Shift extends the selection; otherwise
// the focus cell alone is selected (its row in list mode). Delete empties an
// editable focus cell; Ctrl+A, C, V, X select all, copy, paste and cut; a
// typed character, Backspace or Enter starts an edit of the focus cell.

#include <algorithm>
#include <cstdlib>

#include "grid/GridCtrl.h"
#include "win/sysparams.h"

namespace {
constexpr UINT_PTR kAutoScrollTimer = 0x4744;  // the auto-scroll timer's id
bool keyDown(int vk) { return GetKeyState(vk) < 0; }
}  // namespace

// ---- focus and selection -------------------------------------------------------------

CCellID CGridCtrl::SetFocusCell(CCellID cell) {
  CCellID previous = m_idCurrentCell;
  if (cell == previous) return previous;
  if (CGridCell* old = GetCell(previous.row, previous.col)) {
    old->state &= ~static_cast<UINT>(GVIS_FOCUSED);
    RedrawCell(previous);
  }
  if (!IsValid(cell)) cell = CCellID(-1, -1);
  m_idCurrentCell = cell;
  if (CGridCell* now = GetCell(cell.row, cell.col)) {
    now->state |= GVIS_FOCUSED;
    RedrawCell(cell);
  }
  return previous;
}

void CGridCtrl::SetFocusCellId(int nRow, int nCol) {
  SetFocusCell(nRow, nCol);
  if (IsValid(nRow, nCol)) EnsureVisible(nRow, nCol);
}

void CGridCtrl::SetSelectedCell(int nRow, int nCol, bool selected) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return;
  if (selected) {
    cell->state |= GVIS_SELECTED;
    m_SelectedCellMap[CellKey(nRow, nCol)] = CCellID(nRow, nCol);
  } else {
    cell->state &= ~static_cast<UINT>(GVIS_SELECTED);
    m_SelectedCellMap.erase(CellKey(nRow, nCol));
  }
}

void CGridCtrl::ResetSelection() {
  for (auto& [key, id] : m_SelectedCellMap)
    if (CGridCell* cell = GetCell(id.row, id.col)) cell->state &= ~static_cast<UINT>(GVIS_SELECTED);
  m_SelectedCellMap.clear();
}

void CGridCtrl::ResetSelectedRange() {
  bool had = !m_SelectedCellMap.empty();
  ResetSelection();
  m_PrevSelectedCellMap.clear();
  if (had && m_hWnd) Invalidate();
}

CCellRange CGridCtrl::GetSelectedCellRange() const {
  CCellRange range(m_nRows, m_nCols, -1, -1);
  for (const auto& [key, id] : m_SelectedCellMap) {
    range.SetMinRow(std::min(range.GetMinRow(), id.row));
    range.SetMinCol(std::min(range.GetMinCol(), id.col));
    range.SetMaxRow(std::max(range.GetMaxRow(), id.row));
    range.SetMaxCol(std::max(range.GetMaxCol(), id.col));
  }
  return range;
}

CCellRange CGridCtrl::GetCellRange() const { return CCellRange(0, 0, m_nRows - 1, m_nCols - 1); }

void CGridCtrl::SetSelectedRange(const CCellRange& range, BOOL bForceRepaint) {
  SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(), bForceRepaint);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint) {
  if (!m_bEnableSelection) return;
  ResetSelection();
  // What a Ctrl gesture started with stays selected.
  for (const auto& [key, id] : m_PrevSelectedCellMap) SetSelectedCell(id.row, id.col, true);
  if (nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= nMinRow && nMaxCol >= nMinCol) {
    nMaxRow = std::min(nMaxRow, m_nRows - 1);
    nMaxCol = std::min(nMaxCol, m_nCols - 1);
    for (int r = nMinRow; r <= nMaxRow; ++r)
      for (int c = nMinCol; c <= nMaxCol; ++c) SetSelectedCell(r, c, true);
  }
  if (m_hWnd) {
    Invalidate();
    if (bForceRepaint) UpdateWindow();
  }
}

void CGridCtrl::SelectAllCells() {
  if (!m_bEnableSelection) return;
  m_PrevSelectedCellMap.clear();
  SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectColumns(CCellID currentCell) {
  if (!m_bEnableSelection || currentCell.col < m_nFixedCols) return;
  int from = std::max(m_SelectionStartCell.col, m_nFixedCols);
  SetSelectedRange(m_nFixedRows, std::min(from, currentCell.col), m_nRows - 1, std::max(from, currentCell.col));
}

void CGridCtrl::SelectRows(CCellID currentCell) {
  if (!m_bEnableSelection || currentCell.row < m_nFixedRows) return;
  int from = std::max(m_SelectionStartCell.row, m_nFixedRows);
  if (m_bListMode && m_bSingleRowSelection) from = currentCell.row;
  SetSelectedRange(std::min(from, currentCell.row), m_nFixedCols, std::max(from, currentCell.row), m_nCols - 1);
}

void CGridCtrl::SelectCells(CCellID currentCell) {
  if (!m_bEnableSelection) return;
  int row = std::max(currentCell.row, m_nFixedRows), col = std::max(currentCell.col, m_nFixedCols);
  if (!IsValid(row, col)) return;
  CCellID start = m_SelectionStartCell;
  if (!IsValid(start)) start = CCellID(row, col);
  SetSelectedRange(std::min(start.row, row), std::min(start.col, col), std::max(start.row, row),
                   std::max(start.col, col));
}

void CGridCtrl::OnSelecting(const CCellID& currentCell) {
  if (!m_bEnableSelection) return;
  switch (m_MouseMode) {
    case MOUSE_SELECT_ALL: SelectAllCells(); break;
    case MOUSE_SELECT_COL: SelectColumns(currentCell); break;
    case MOUSE_SELECT_ROW: SelectRows(currentCell); break;
    case MOUSE_SELECT_CELLS:
      if (m_bListMode)
        SelectRows(currentCell);
      else
        SelectCells(currentCell);
      break;
  }
}

// ---- scrolling -------------------------------------------------------------------------

int CGridCtrl::VisibleNonFixedHeight() const {
  if (!m_hWnd) return 0;
  CRect client;
  GetClientRect(&client);
  return std::max(0, client.Height() - GetFixedRowHeight());
}

int CGridCtrl::VisibleNonFixedWidth() const {
  if (!m_hWnd) return 0;
  CRect client;
  GetClientRect(&client);
  return std::max(0, client.Width() - GetFixedColumnWidth());
}

void CGridCtrl::ResetScrollBars() {
  if (!m_hWnd) return;
  long contentHeight = GetVirtualHeight() - GetFixedRowHeight();
  long contentWidth = GetVirtualWidth() - GetFixedColumnWidth();
  // The largest position shows the last row (column) at the bottom (right).
  auto largest = [](const GridOffsets& offsets, const std::vector<UINT>& sizes, int fixed, int count,
                    long visible) -> int {
    long end = offsets.start(sizes, count), base = offsets.start(sizes, fixed);
    if (end - base <= visible) return 0;
    return static_cast<int>(offsets.start(sizes, offsets.firstStartingAt(sizes, fixed, count, end - visible)) - base);
  };
  m_nVScrollMax = contentHeight > 0 ? largest(m_RowTops, m_arRowHeights, m_nFixedRows, m_nRows, VisibleNonFixedHeight()) : 0;
  m_nHScrollMax = contentWidth > 0 ? largest(m_ColLefts, m_arColWidths, m_nFixedCols, m_nCols, VisibleNonFixedWidth()) : 0;
  m_nVScrollPos = std::clamp(m_nVScrollPos, 0, m_nVScrollMax);
  m_nHScrollPos = std::clamp(m_nHScrollPos, 0, m_nHScrollMax);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = m_nVScrollMax > 0 ? m_nVScrollMax + VisibleNonFixedHeight() - 1 : 0;
  si.nPage = m_nVScrollMax > 0 ? static_cast<UINT>(VisibleNonFixedHeight()) : 0;
  si.nPos = m_nVScrollPos;
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
  si.nMax = m_nHScrollMax > 0 ? m_nHScrollMax + VisibleNonFixedWidth() - 1 : 0;
  si.nPage = m_nHScrollMax > 0 ? static_cast<UINT>(VisibleNonFixedWidth()) : 0;
  si.nPos = m_nHScrollPos;
  ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
}

void CGridCtrl::SetScrollPosition(int x, int y) {
  x = std::clamp(x, 0, m_nHScrollMax);
  y = std::clamp(y, 0, m_nVScrollMax);
  if (x == m_nHScrollPos && y == m_nVScrollPos) return;
  m_TitleTip.Hide();
  m_nHScrollPos = x;
  m_nVScrollPos = y;
  if (m_hWnd) {
    ::SetScrollPos(m_hWnd, SB_HORZ, x, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, y, TRUE);
    Invalidate();
  }
}

// The message carries 16 bits of the position; a grid taller (wider) than
// that takes the rest from the bar's tracked position.
int CGridCtrl::ThumbPosition(int bar, UINT nPos) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  if (m_hWnd && ::GetScrollInfo(m_hWnd, bar, &si) && (static_cast<UINT>(si.nTrackPos) & 0xFFFF) == (nPos & 0xFFFF))
    return si.nTrackPos;
  return static_cast<int>(static_cast<short>(nPos));
}

void CGridCtrl::ScrollBy(int dx, int dy) { SetScrollPosition(m_nHScrollPos + dx, m_nVScrollPos + dy); }

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
  if (!IsValid(nRow, nCol) || !m_hWnd) return;
  int x = m_nHScrollPos, y = m_nVScrollPos;
  long fixedHeight = GetFixedRowHeight(), fixedWidth = GetFixedColumnWidth();
  if (nRow >= m_nFixedRows) {
    int first = FirstVisibleRow();
    if (nRow < first) {
      y = static_cast<int>(RowTop(nRow) - fixedHeight);
    } else {
      // The first row from which the row's bottom still fits on screen.
      int top = m_RowTops.firstStartingAt(m_arRowHeights, m_nFixedRows, nRow, RowTop(nRow + 1) - VisibleNonFixedHeight());
      if (top > first) y = static_cast<int>(RowTop(top) - fixedHeight);
    }
  }
  if (nCol >= m_nFixedCols) {
    int first = FirstVisibleCol();
    if (nCol < first) {
      x = static_cast<int>(ColLeft(nCol) - fixedWidth);
    } else {
      int left = m_ColLefts.firstStartingAt(m_arColWidths, m_nFixedCols, nCol, ColLeft(nCol + 1) - VisibleNonFixedWidth());
      if (left > first) x = static_cast<int>(ColLeft(left) - fixedWidth);
    }
  }
  // A position past the largest one still shows the cell: the largest shows the last rows.
  SetScrollPosition(std::min(x, m_nHScrollMax), std::min(y, m_nVScrollMax));
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol) const {
  if (!IsValid(nRow, nCol) || !m_hWnd) return FALSE;
  CRect client, rect;
  GetClientRect(&client);
  if (!GetCellRect(nRow, nCol, &rect)) return FALSE;
  if (nRow >= m_nFixedRows && rect.top < GetFixedRowHeight()) return FALSE;
  if (nCol >= m_nFixedCols && rect.left < GetFixedColumnWidth()) return FALSE;
  return rect.top < client.bottom && rect.left < client.right;
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
#ifdef GRID_PAGE_SCROLLING
  if (GetFocus() != this) SetFocus();
  m_TitleTip.Hide();
#endif
  int first = FirstVisibleRow();
  int page = VisibleNonFixedHeight();
  switch (nSBCode) {
    case SB_LINEUP:
      if (first > m_nFixedRows) ScrollBy(0, -GetRowHeight(first - 1));
      break;
    case SB_LINEDOWN:
      if (first < m_nRows) {
#ifdef GRID_PAGE_SCROLLING
        ScrollBy(0, 8 * GetRowHeight(first));
#else
        ScrollBy(0, GetRowHeight(first));
#endif
      }
      break;
    case SB_PAGEUP: ScrollBy(0, -page); break;
    case SB_PAGEDOWN: ScrollBy(0, page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetScrollPosition(m_nHScrollPos, ThumbPosition(SB_VERT, nPos)); break;
    case SB_TOP: SetScrollPosition(m_nHScrollPos, 0); break;
    case SB_BOTTOM: SetScrollPosition(m_nHScrollPos, m_nVScrollMax); break;
    default: break;
  }
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  int first = FirstVisibleCol();
  int page = VisibleNonFixedWidth();
  switch (nSBCode) {
    case SB_LINELEFT:
      if (first > m_nFixedCols) ScrollBy(-GetColumnWidth(first - 1), 0);
      break;
    case SB_LINERIGHT:
      if (first < m_nCols) ScrollBy(GetColumnWidth(first), 0);
      break;
    case SB_PAGELEFT: ScrollBy(-page, 0); break;
    case SB_PAGERIGHT: ScrollBy(page, 0); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetScrollPosition(ThumbPosition(SB_HORZ, nPos), m_nVScrollPos); break;
    case SB_LEFT: SetScrollPosition(0, m_nVScrollPos); break;
    case SB_RIGHT: SetScrollPosition(m_nHScrollMax, m_nVScrollPos); break;
    default: break;
  }
}

BOOL CGridCtrl::OnMouseWheel(UINT, short zDelta, CPoint) {
#ifdef GRID_PAGE_SCROLLING
  // A quarter of the visible rows per turn, whatever its size.
  if (GetFocus() != this) SetFocus();
  m_TitleTip.Hide();
  int quarter = VisibleNonFixedHeight() / 4;
  if (zDelta > 0)
    SetScrollPosition(m_nHScrollPos, std::max(0, m_nVScrollPos - quarter));
  else
    SetScrollPosition(m_nHScrollPos, std::min(m_nVScrollMax, m_nVScrollPos + quarter));
#else
  // The user's wheel setting: rows per notch.
  int notches = zDelta / WHEEL_DELTA;
  if (notches == 0) notches = zDelta > 0 ? 1 : -1;
  int lines = std::abs(notches) * std::max(1, m_nRowsPerWheelNotch);
  for (int i = 0; i < lines; ++i) OnVScroll(notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0, nullptr);
#endif
  return TRUE;
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  EndEditing();
  ResetScrollBars();
}

// ---- the mouse ---------------------------------------------------------------------

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck) const {
  CCellID cell;
  if (point.x < 0 || point.y < 0) return cell;
  long fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
  int col, row;
  if (point.x < fixedWidth) {
    if (!bAllowFixedCellCheck) return cell;
    col = ColAt(point.x);
  } else {
    col = ColAt(point.x - fixedWidth + ColLeft(FirstVisibleCol()));
  }
  if (point.y < fixedHeight) {
    if (!bAllowFixedCellCheck) return cell;
    row = RowAt(point.y);
  } else {
    row = RowAt(point.y - fixedHeight + RowTop(FirstVisibleRow()));
  }
  if (row >= m_nRows || col >= m_nCols) return CCellID(-1, -1);
  return CCellID(row, col);
}

int CGridCtrl::MouseOverColumnResizeArea(CPoint point) const {
  if (!m_bAllowColumnResize || point.y >= GetFixedRowHeight()) return -1;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) return -1;
  CRect rect;
  GetCellRect(cell, &rect);
  if (point.x >= rect.right + 1 - m_nResizeCaptureRange) return cell.col;
  if (point.x < rect.left + m_nResizeCaptureRange && cell.col > 0) return cell.col - 1;
  return -1;
}

int CGridCtrl::MouseOverRowResizeArea(CPoint point) const {
  if (!m_bAllowRowResize || point.x >= GetFixedColumnWidth()) return -1;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) return -1;
  CRect rect;
  GetCellRect(cell, &rect);
  if (point.y >= rect.bottom + 1 - m_nResizeCaptureRange) return cell.row;
  if (point.y < rect.top + m_nResizeCaptureRange && cell.row > 0) return cell.row - 1;
  return -1;
}

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  if (GetFocus() != this) SetFocus();
  m_LeftClickDownPoint = point;
  m_LastMousePoint = point;
  m_LeftClickDownCell = GetCellFromPt(point);
  if (!IsValid(m_LeftClickDownCell)) return;
  SetCapture();

  int col = MouseOverColumnResizeArea(point);
  if (col >= 0) {
    m_MouseMode = MOUSE_SIZING_COL;
    m_nResizeIndex = col;
    return;
  }
  int row = MouseOverRowResizeArea(point);
  if (row >= 0) {
    m_MouseMode = MOUSE_SIZING_ROW;
    m_nResizeIndex = row;
    return;
  }

  const CCellID cell = m_LeftClickDownCell;
  // With drag and drop on, a press on a selected cell may begin a drag of the
  // selection: what the press does otherwise waits for the release.
  if (m_bAllowDragAndDrop && !(nFlags & MK_SHIFT) && !IsCellFixed(cell.row, cell.col) &&
      IsCellSelected(cell.row, cell.col)) {
    m_MouseMode = MOUSE_PREPARE_DRAG;
    m_nPressFlags = nFlags;
    return;
  }
  PressCell(nFlags);
}

void CGridCtrl::PressCell(UINT nFlags) {
  const CCellID cell = m_LeftClickDownCell;
  bool ctrl = (nFlags & MK_CONTROL) != 0, shift = (nFlags & MK_SHIFT) != 0;
  if (cell == m_idCurrentCell && !IsCellFixed(cell.row, cell.col) && !ctrl && !shift) {
    m_MouseMode = MOUSE_PREPARE_EDIT;
    return;
  }
  m_PrevSelectedCellMap.clear();
  if (ctrl) m_PrevSelectedCellMap = m_SelectedCellMap;

  if (cell.row < m_nFixedRows && cell.col < m_nFixedCols) {
    m_MouseMode = MOUSE_SELECT_ALL;
    OnSelecting(cell);
  } else if (cell.row < m_nFixedRows) {
    if (m_bListMode && m_bSortOnClick) {
      m_MouseMode = MOUSE_NOTHING;
      return;
    }
    m_MouseMode = MOUSE_SELECT_COL;
    if (!shift || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
    if (m_nRows > m_nFixedRows) SetFocusCell(std::max(FirstVisibleRow(), m_nFixedRows), cell.col);
    OnSelecting(cell);
  } else if (cell.col < m_nFixedCols) {
    m_MouseMode = MOUSE_SELECT_ROW;
    if (!shift || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
    if (m_nCols > m_nFixedCols) SetFocusCell(cell.row, std::max(FirstVisibleCol(), m_nFixedCols));
    OnSelecting(cell);
  } else {
    m_MouseMode = MOUSE_SELECT_CELLS;
    if (!shift || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
    SetFocusCell(cell);
    OnSelecting(cell);
  }
}

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  m_LastMousePoint = point;
  if (!(nFlags & MK_LBUTTON)) {
    if (MouseOverColumnResizeArea(point) >= 0)
      m_MouseMode = MOUSE_OVER_COL_DIVIDE;
    else if (MouseOverRowResizeArea(point) >= 0)
      m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
    else if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
      m_MouseMode = MOUSE_NOTHING;
    if (m_MouseMode == MOUSE_NOTHING) ShowTitleTip(point);
    return;
  }
  switch (m_MouseMode) {
    case MOUSE_PREPARE_DRAG: {
      // Out of the drag rectangle around the press: the drag begins.
      int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
      if (std::abs(point.x - m_LeftClickDownPoint.x) > cx || std::abs(point.y - m_LeftClickDownPoint.y) > cy)
        OnBeginDrag();
      break;
    }
    case MOUSE_PREPARE_EDIT: {
      CCellID cell = GetCellFromPt(point);
      if (cell == m_LeftClickDownCell) return;
      m_MouseMode = MOUSE_SELECT_CELLS;
      m_SelectionStartCell = m_LeftClickDownCell;
      [[fallthrough]];
    }
    case MOUSE_SELECT_ALL:
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
      CCellID cell = GetCellFromPt(point);
      if (IsValid(cell)) {
        if (m_MouseMode == MOUSE_SELECT_CELLS && !IsCellFixed(cell.row, cell.col)) SetFocusCell(cell);
        OnSelecting(cell);
      }
      CheckAutoScroll(point);
      break;
    }
    case MOUSE_SIZING_COL: {
      CRect rect;
      if (GetCellRect(0, m_nResizeIndex, &rect)) {
        SetColumnWidth(m_nResizeIndex, std::max(0, static_cast<int>(point.x - rect.left)));
        ResetScrollBars();
        Invalidate();
      }
      break;
    }
    case MOUSE_SIZING_ROW: {
      CRect rect;
      if (GetCellRect(m_nResizeIndex, 0, &rect)) {
        SetRowHeight(m_nResizeIndex, std::max(0, static_cast<int>(point.y - rect.top)));
        ResetScrollBars();
        Invalidate();
      }
      break;
    }
    default: break;
  }
}

void CGridCtrl::ShowTitleTip(CPoint point) {
  if (!m_bTitleTips || !m_TitleTip.GetSafeHwnd()) return;
  CCellID cell = GetCellFromPt(point);
  CRect rect;
  const CGridCell* pCell = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr;
  // No tip while a cell is being edited.
  if (!pCell || GetEditWindow() || !GetCellRect(cell.row, cell.col, &rect)) {
    m_TitleTip.Hide();
    return;
  }
  // The cell's text area: inside a one-pixel border, with the margin on each side.
  CRect area(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
  bool fixed = IsCellFixed(cell.row, cell.col);
  COLORREF bk = fixed ? EffectiveBkColour(cell.row, cell.col) : CLR_DEFAULT;
  if (!m_TitleTip.Show(area, pCell->szText, m_nMargin + 1, &area, &pCell->lfFont, EffectiveFgColour(cell.row, cell.col), bk))
    m_TitleTip.Hide();
}

void CGridCtrl::CheckAutoScroll(CPoint point) {
  CRect client;
  GetClientRect(&client);
  bool outside = point.y >= client.bottom || point.y < GetFixedRowHeight() || point.x >= client.right ||
                 point.x < GetFixedColumnWidth();
  if (outside && !m_nTimerID) m_nTimerID = SetTimer(kAutoScrollTimer, m_nTimerInterval);
  if (!outside) StopAutoScroll();
}

void CGridCtrl::StopAutoScroll() {
  if (m_nTimerID) KillTimer(m_nTimerID);
  m_nTimerID = 0;
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != m_nTimerID || !m_nTimerID) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  if (m_MouseMode < MOUSE_SELECT_ALL || m_MouseMode > MOUSE_SCROLLING_CELLS) {
    StopAutoScroll();
    return;
  }
  CPoint pt = m_LastMousePoint;
  CRect client;
  GetClientRect(&client);
  if (pt.y >= client.bottom)
    OnVScroll(SB_LINEDOWN, 0, nullptr);
  else if (pt.y < GetFixedRowHeight())
    OnVScroll(SB_LINEUP, 0, nullptr);
  if (pt.x >= client.right)
    OnHScroll(SB_LINERIGHT, 0, nullptr);
  else if (pt.x < GetFixedColumnWidth())
    OnHScroll(SB_LINELEFT, 0, nullptr);
  // The selection reaches the cell at the edge the mouse lies beyond.
  CPoint inside(std::clamp<long>(pt.x, GetFixedColumnWidth(), client.right - 1),
                std::clamp<long>(pt.y, GetFixedRowHeight(), client.bottom - 1));
  CCellID cell = GetCellFromPt(inside);
  if (IsValid(cell)) {
    if (m_MouseMode == MOUSE_SELECT_CELLS) SetFocusCell(cell);
    OnSelecting(cell);
  }
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  int mode = m_MouseMode;
  m_MouseMode = MOUSE_NOTHING;
  if (mode == MOUSE_PREPARE_DRAG) {
    // No drag came of the press: it does now what it waited to do.
    PressCell(m_nPressFlags);
    mode = m_MouseMode;
    m_MouseMode = MOUSE_NOTHING;
  }
  StopAutoScroll();
  if (GetCapture() == this) ReleaseCapture();
  m_PrevSelectedCellMap.clear();
  CCellID cell = GetCellFromPt(point);
  switch (mode) {
    case MOUSE_PREPARE_EDIT:
      if (cell == m_LeftClickDownCell) OnEditCell(cell.row, cell.col, VK_LBUTTON);
      break;
    case MOUSE_SIZING_COL:
    case MOUSE_SIZING_ROW:
      ResetScrollBars();
      Invalidate();
      break;
    case MOUSE_NOTHING:
      if (IsValid(m_LeftClickDownCell) && cell == m_LeftClickDownCell) {
        CCellID clicked = cell;
        if (clicked.row < m_nFixedRows && clicked.col >= m_nFixedCols) OnFixedRowClick(clicked);
      }
      break;
    case MOUSE_SELECT_ROW:
      if (cell == m_LeftClickDownCell) OnFixedColumnClick(cell);
      break;
    default: break;
  }
}

void CGridCtrl::OnFixedRowClick(CCellID& cell) {
  if (!IsValid(cell) || !m_bListMode || !m_bSortOnClick) return;
  BOOL ascending = cell.col == m_SortColumn ? !m_bAscending : TRUE;
  SortTextItems(cell.col, ascending);
}

void CGridCtrl::OnFixedColumnClick(CCellID&) {}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  int col = MouseOverColumnResizeArea(point);
  if (col >= 0) {
    AutoSizeColumn(col);
    return;
  }
  CCellID cell = GetCellFromPt(point);
  if (IsValid(cell) && !IsCellFixed(cell.row, cell.col)) {
    m_MouseMode = MOUSE_NOTHING;
    if (GetCapture() == this) ReleaseCapture();
    SetFocusCell(cell);
    OnEditCell(cell.row, cell.col, VK_LBUTTON);
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT) {
    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_SIZING_COL) {
      ::SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
      return TRUE;
    }
    if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE || m_MouseMode == MOUSE_SIZING_ROW) {
      ::SetCursor(LoadCursor(nullptr, IDC_SIZENS));
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) {
    StopAutoScroll();
    if (m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE) m_MouseMode = MOUSE_NOTHING;
  }
  CWnd::OnCaptureChanged(pWnd);
}

void CGridCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  CPoint screen = point;
  ClientToScreen(&screen);
  OnContextMenu(this, screen);
  CWnd::OnRButtonDown(nFlags, point);
}

#ifndef PELLORY_BUILD
void CGridCtrl::OnContextMenu(CWnd*, CPoint) {
  // Only the ground-line build has a row menu.
}
#endif

// ---- the keyboard --------------------------------------------------------------------

UINT CGridCtrl::OnGetDlgCode() {
  UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (m_bHandleTabKey) code |= DLGC_WANTTAB;
#ifdef PELLORY_BUILD
  // Enter walks the ground-point table.
  code |= DLGC_WANTALLKEYS;
#endif
  return code;
}

CCellID CGridCtrl::GetNextFocus(UINT nChar, BOOL shift, BOOL ctrl) const {
  CCellID next = m_idCurrentCell;
  int firstRow = m_nFixedRows, lastRow = m_nRows - 1, firstCol = m_nFixedCols, lastCol = m_nCols - 1;
  int page = 1;
  if (m_hWnd) {
    CCellRange visible = GetVisibleNonFixedCellRange();
    page = std::max(1, visible.GetMaxRow() - visible.GetMinRow());
  }
  switch (nChar) {
    case VK_DOWN: next.row = std::min(lastRow, next.row + 1); break;
    case VK_UP: next.row = std::max(firstRow, next.row - 1); break;
    case VK_RIGHT: next.col = std::min(lastCol, next.col + 1); break;
    case VK_LEFT: next.col = std::max(firstCol, next.col - 1); break;
    case VK_NEXT: next.row = std::min(lastRow, next.row + page); break;
    case VK_PRIOR: next.row = std::max(firstRow, next.row - page); break;
    case VK_HOME:
      next.col = firstCol;
      if (ctrl) next.row = firstRow;
      break;
    case VK_END:
      next.col = lastCol;
      if (ctrl) next.row = lastRow;
      break;
    case VK_TAB:
      if (shift) {
        if (next.col > firstCol) {
          --next.col;
        } else if (next.row > firstRow) {
          --next.row;
          next.col = lastCol;
        }
      } else {
        if (next.col < lastCol) {
          ++next.col;
        } else if (next.row < lastRow) {
          ++next.row;
          next.col = firstCol;
        }
      }
      break;
    default: break;
  }
  return next;
}

void CGridCtrl::MoveFocusByKey(UINT nChar) {
  bool shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
  CCellID next = GetNextFocus(nChar, shift, ctrl);
  if (!IsValid(next) || IsCellFixed(next.row, next.col)) return;
  if (next != m_idCurrentCell) SetFocusCell(next);
  EnsureVisible(next);
  if (!m_bEnableSelection) return;
  if (shift && nChar != VK_TAB) {
    m_MouseMode = MOUSE_SELECT_CELLS;
    OnSelecting(next);
    m_MouseMode = MOUSE_NOTHING;
  } else {
    m_SelectionStartCell = next;
    m_PrevSelectedCellMap.clear();
    if (m_bListMode)
      SetSelectedRange(next.row, m_nFixedCols, next.row, m_nCols - 1);
    else
      SetSelectedRange(next.row, next.col, next.row, next.col);
  }
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  bool ctrl = keyDown(VK_CONTROL);
  if (ctrl) {
    switch (nChar) {
      case 'A': OnEditSelectAll(); return;
      case 'C': OnEditCopy(); return;
      case 'V': OnEditPaste(); return;
      case 'X': OnEditCut(); return;
      default: break;
    }
  }
  if (!IsValid(m_idCurrentCell)) {
    // The first key of a grid without a focus cell puts it on the first non-fixed cell.
    bool moves = nChar == VK_DOWN || nChar == VK_UP || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_NEXT ||
                 nChar == VK_PRIOR || nChar == VK_HOME || nChar == VK_END || (nChar == VK_TAB && m_bHandleTabKey);
    if (moves && IsValid(m_nFixedRows, m_nFixedCols)) {
      SetFocusCell(m_nFixedRows, m_nFixedCols);
      EnsureVisible(m_idCurrentCell);
      m_SelectionStartCell = m_idCurrentCell;
      return;
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  switch (nChar) {
    case VK_DELETE:
      if (IsCellEditable(m_idCurrentCell)) {
        CCellID cell = m_idCurrentCell;
        // An empty cell stays as it was: nothing changed.
        const bool changes = EmptyingChangesCell(cell.row, cell.col);
        SendMessageToParent(cell.row, cell.col, GVN_BEGINLABELEDIT);
        SetItemText(cell.row, cell.col, "");
        if (changes) SetModified(TRUE, cell.row, cell.col);
        SendMessageToParent(cell.row, cell.col, GVN_ENDLABELEDIT);
        RedrawCell(cell);
      }
      return;
    case VK_TAB:
      if (!m_bHandleTabKey) break;
      [[fallthrough]];
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END: MoveFocusByKey(nChar); return;
    default: break;
  }
  CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!keyDown(VK_CONTROL) && IsValid(m_idCurrentCell) &&
      (nChar == VK_BACK || nChar == VK_RETURN || (nChar >= 32 && nChar != 127))) {
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, nChar);
    return;
  }
  CWnd::OnChar(nChar, nRepCnt, nFlags);
}

BOOL CGridCtrl::PreTranslateMessage(MSG* pMsg) {
#ifdef PELLORY_BUILD
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) AdvanceOnEnter();
#endif
  return CWnd::PreTranslateMessage(pMsg);
}

// ---- the script's cell words -----------------------------------------------------------

bool CGridCtrl::ScriptCellPoint(int nRow, int nCol, POINT& screenPt) {
  if (!IsValid(nRow, nCol) || !m_hWnd) return false;
  EnsureVisible(nRow, nCol);
  CRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return false;
  screenPt = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(&screenPt);
  return true;
}

LRESULT CGridCtrl::OnScriptCell(WPARAM, LPARAM lParam) {
  auto* query = reinterpret_cast<ScriptCellQuery*>(lParam);
  if (!query) return FALSE;
  return ScriptCellPoint(query->row, query->col, query->screenPt) ? TRUE : FALSE;
}
