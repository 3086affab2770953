// How the grid paints itself: the four areas of cells in their order, the
// grid lines, and the inside of a fixed and a normal cell.
#include <algorithm>
#include <cstring>

#include "grid/GridCtrl.h"
#include "grid/MemDC.h"

void CGridCtrl::OnPaint() {
  CPaintDC dc(this);
  if (m_bDoubleBuffer) {
    // Drawn off screen and copied once, so a half-drawn grid is never seen.
    CMemDC memDC(&dc);
    OnDraw(&memDC);
  } else {
    OnDraw(&dc);
  }
}

LRESULT CGridCtrl::OnEraseBkgnd(WPARAM, LPARAM) {
  // The grid paints every pixel itself.
  return TRUE;
}

int CGridCtrl::FirstVisibleRow() const {
  return m_RowTops.firstStartingAt(m_arRowHeights, m_nFixedRows, m_nRows, RowTop(m_nFixedRows) + m_nVScrollPos);
}

int CGridCtrl::FirstVisibleCol() const {
  return m_ColLefts.firstStartingAt(m_arColWidths, m_nFixedCols, m_nCols, ColLeft(m_nFixedCols) + m_nHScrollPos);
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect) const {
  CRect client;
  if (m_hWnd)
    GetClientRect(&client);
  else
    client.SetRect(0, 0, static_cast<int>(GetVirtualWidth()), static_cast<int>(GetVirtualHeight()));
  long fixedHeight = GetFixedRowHeight();
  long fixedWidth = GetFixedColumnWidth();
  int firstRow = FirstVisibleRow();
  int firstCol = FirstVisibleCol();
  // Grid space of the screen's last pixel row and column.
  long shiftY = RowTop(firstRow) - fixedHeight;
  long shiftX = ColLeft(firstCol) - fixedWidth;
  int lastRow = std::min(m_nRows - 1, RowAt(client.bottom - 1 + shiftY));
  int lastCol = std::min(m_nCols - 1, ColAt(client.right - 1 + shiftX));
  if (client.bottom <= fixedHeight) lastRow = firstRow - 1;
  if (client.right <= fixedWidth) lastCol = firstCol - 1;
  if (pRect) {
    pRect->left = fixedWidth;
    pRect->top = fixedHeight;
    pRect->right = lastCol >= firstCol ? ColLeft(lastCol + 1) - shiftX - 1 : fixedWidth - 1;
    pRect->bottom = lastRow >= firstRow ? RowTop(lastRow + 1) - shiftY - 1 : fixedHeight - 1;
  }
  return CCellRange(firstRow, firstCol, lastRow, lastCol);
}

CCellID CGridCtrl::GetTopleftNonFixedCell() const {
  CCellRange visible = GetVisibleNonFixedCellRange();
  return CCellID(visible.GetMinRow(), visible.GetMinCol());
}

void CGridCtrl::OnDraw(CDC* pDC) {
  CRect clip;
  if (pDC->GetClipBox(&clip) == ERROR) return;

  CRect client;
  if (m_hWnd)
    GetClientRect(&client);
  else
    client = clip;
  CRect visRect;
  CCellRange visible = GetVisibleNonFixedCellRange(&visRect);

  // The areas outside the cells: right of the last column and below the last row.
  long right = std::max<long>(visRect.right + 1, GetFixedColumnWidth());
  long bottom = std::max<long>(visRect.bottom + 1, GetFixedRowHeight());
  if (m_nCols <= m_nFixedCols) right = GetFixedColumnWidth();
  if (m_nRows <= m_nFixedRows) bottom = GetFixedRowHeight();
  if (right < client.right) pDC->FillSolidRect(right, client.top, client.right - right, client.Height(), m_crBkColour);
  if (bottom < client.bottom)
    pDC->FillSolidRect(client.left, bottom, std::min<long>(right, client.right) - client.left, client.bottom - bottom,
                       m_crBkColour);

  int fixedRowHeight = GetFixedRowHeight();
  int fixedColWidth = GetFixedColumnWidth();
  int minVisibleRow = visible.GetMinRow();
  int minVisibleCol = visible.GetMinCol();
  int maxVisibleRow = visible.GetMaxRow();
  int maxVisibleCol = visible.GetMaxCol();

  // One band of cells: rows rowFrom..rowTo from `top` down, columns
  // colFrom..colTo from `left` on; with `clipped` the rows and columns
  // outside the clip box are skipped and the loops stop past it.
  auto drawBand = [&](int rowFrom, int rowTo, int top, int colFrom, int colTo, int left, bool fixed, bool clipped) {
    CRect rect;
    rect.bottom = top - 1;
    for (int row = rowFrom; row <= rowTo; ++row) {
      rect.top = rect.bottom + 1;
      rect.bottom = rect.top + GetRowHeight(row) - 1;
      if (clipped && rect.top >= clip.bottom) break;
      if (clipped && rect.bottom < clip.top) continue;
      rect.right = left - 1;
      for (int col = colFrom; col <= colTo; ++col) {
        rect.left = rect.right + 1;
        rect.right = rect.left + GetColumnWidth(col) - 1;
        if (clipped && rect.left >= clip.right) break;
        if (clipped && rect.right < clip.left) continue;
        if (fixed)
          DrawFixedCell(pDC, row, col, rect);
        else
          DrawCell(pDC, row, col, rect);
      }
    }
  };
  // The top-left corner, the fixed columns of the visible rows, the fixed
  // rows over the visible columns, the visible non-fixed cells.
  drawBand(0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0, true, false);
  drawBand(minVisibleRow, maxVisibleRow, fixedRowHeight, 0, m_nFixedCols - 1, 0, true, true);
  drawBand(0, m_nFixedRows - 1, 0, minVisibleCol, maxVisibleCol, fixedColWidth, true, true);
  drawBand(minVisibleRow, maxVisibleRow, fixedRowHeight, minVisibleCol, maxVisibleCol, fixedColWidth, false, true);

  // The grid lines of the non-fixed cells.
  CPen pen;
  if (pen.CreatePen(PS_SOLID, 0, m_crGridColour)) {
    CPen* oldPen = pDC->SelectObject(&pen);
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
      int x = fixedColWidth;
      for (int col = minVisibleCol; col <= maxVisibleCol; ++col) {
        x += GetColumnWidth(col);
        pDC->MoveTo(x - 1, fixedRowHeight);
        pDC->LineTo(x - 1, visRect.bottom + 1);
      }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
      int y = fixedRowHeight;
      for (int row = minVisibleRow; row <= maxVisibleRow; ++row) {
        y += GetRowHeight(row);
        pDC->MoveTo(fixedColWidth, y - 1);
        pDC->LineTo(visRect.right + 1, y - 1);
      }
    }
    pDC->SelectObject(oldPen);
  }
  pDC->SelectStockObject(NULL_PEN);
}

namespace {

// Draws a cell's text in its rectangle, with the cell's font when it is not the grid's.
void drawCellText(CDC* pDC, const CGridCell& cell, const LOGFONT& gridFont, CFont* gridFontObject, CRect rect,
                  int margin) {
  if (cell.szText.IsEmpty()) return;
  CFont own;
  CFont* font = gridFontObject;
  if (std::memcmp(&cell.lfFont, &gridFont, sizeof(LOGFONT)) != 0 && own.CreateFontIndirect(&cell.lfFont)) font = &own;
  CFont* old = font ? pDC->SelectObject(font) : nullptr;
  // The text gets the width the cell's sizing reserves for it (its text, the
  // margins and one pixel): the cell less its inset and margins, up to the
  // grid line. A text that fits its auto-sized cell is never cut.
  rect.DeflateRect(margin, 0);
  rect.right += 2;
  rect.bottom += 1;
  pDC->DrawText(cell.szText, &rect, cell.nFormat | DT_NOPREFIX);
  if (old) pDC->SelectObject(old);
}

}  // namespace

BOOL CGridCtrl::DrawFixedCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL) {
  if (!m_bAllowDraw) return FALSE;
  const CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  int width = rect.Width() + 1, height = rect.Height() + 1;
  if (width <= 0 || height <= 0) return TRUE;
  pDC->FillSolidRect(rect.left, rect.top, width, height, EffectiveBkColour(nRow, nCol));
  // A raised edge: light at the top and left, shadow at the right and bottom.
  pDC->Draw3dRect(rect.left, rect.top, width, height, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW));
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(EffectiveFgColour(nRow, nCol));
  CRect text = rect;
  text.DeflateRect(1, 1);
  drawCellText(pDC, *cell, m_Logfont, GetFont(), text, m_nMargin);
  return TRUE;
}

BOOL CGridCtrl::DrawCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL) {
  if (!m_bAllowDraw) return FALSE;
  const CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  int width = rect.Width() + 1, height = rect.Height() + 1;
  if (width <= 0 || height <= 0) return TRUE;
  COLORREF bk = EffectiveBkColour(nRow, nCol);
  COLORREF fg = EffectiveFgColour(nRow, nCol);
  bool focused = (cell->state & GVIS_FOCUSED) != 0;
  bool highlighted = !focused && (cell->state & (GVIS_SELECTED | GVIS_DROPHILITED)) != 0;
  if (highlighted) {
    bk = GetSysColor(COLOR_HIGHLIGHT);
    fg = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  pDC->FillSolidRect(rect.left, rect.top, width, height, bk);
  if (focused) {
    // The focus cell keeps its colours and gets a frame in its text colour.
    CBrush frame(fg);
    CRect r(rect.left, rect.top, rect.right, rect.bottom);
    pDC->FrameRect(&r, &frame);
  }
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(fg);
  CRect text = rect;
  text.DeflateRect(1, 1);
  drawCellText(pDC, *cell, m_Logfont, GetFont(), text, m_nMargin);
  return TRUE;
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC*) {
  if (!m_hWnd || !m_bAllowDraw) return FALSE;
  CRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return FALSE;
  rect.right += 1;
  rect.bottom += 1;
  InvalidateRect(&rect, FALSE);
  return TRUE;
}

BOOL CGridCtrl::RedrawRow(int row) {
  if (!m_hWnd || row < 0 || row >= m_nRows) return FALSE;
  CRect client, cell;
  GetClientRect(&client);
  if (!GetCellRect(row, 0, &cell)) return FALSE;
  CRect r(client.left, cell.top, client.right, cell.bottom + 1);
  InvalidateRect(&r, FALSE);
  return TRUE;
}

BOOL CGridCtrl::RedrawColumn(int col) {
  if (!m_hWnd || col < 0 || col >= m_nCols) return FALSE;
  CRect client, cell;
  GetClientRect(&client);
  if (!GetCellRect(0, col, &cell)) return FALSE;
  CRect r(cell.left, client.top, cell.right + 1, client.bottom);
  InvalidateRect(&r, FALSE);
  return TRUE;
}
