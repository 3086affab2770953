#pragma once
// A cell of the grid, the item description that sets or reads several of its
// attributes at once, and the cell identifier and cell range the grid works
// with.

#include "mfc/afxwin.h"
#include "win/wingdi.h"

// Cell state bits.
#define GVIS_FOCUSED 0x0001
#define GVIS_SELECTED 0x0002
#define GVIS_DROPHILITED 0x0004
#define GVIS_READONLY 0x0008
#define GVIS_MODIFIED 0x0020

// Item description mask bits: which attributes are copied.
#define GVIF_TEXT 0x01
#define GVIF_IMAGE 0x02
#define GVIF_PARAM 0x04
#define GVIF_STATE 0x08
#define GVIF_BKCLR 0x10
#define GVIF_FGCLR 0x20
#define GVIF_FORMAT 0x40

// A colour that stands for the grid's default.
#define CLR_DEFAULT 0xFF000000

class CGridCell : public CObject {
  DECLARE_DYNAMIC(CGridCell)

 public:
  CGridCell() = default;

  UINT state = 0;
  UINT nFormat = 0;
  CString szText;
  int iImage = -1;
  COLORREF crBkClr = CLR_DEFAULT;
  COLORREF crFgClr = CLR_DEFAULT;
  LOGFONT lfFont{};
  LPARAM lParam = 0;
};

struct GV_ITEM {
  int row = 0;
  int col = 0;
  UINT mask = 0;
  UINT state = 0;
  UINT nFormat = 0;
  CString szText;
  int iImage = -1;
  COLORREF crBkClr = CLR_DEFAULT;
  COLORREF crFgClr = CLR_DEFAULT;
  LPARAM lParam = 0;
};

// A cell by row and column; (-1, -1) is no cell.
class CCellID {
 public:
  explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}
  int row;
  int col;
  bool IsValid() const { return row >= 0 && col >= 0; }
  bool operator==(const CCellID& other) const { return row == other.row && col == other.col; }
  bool operator!=(const CCellID& other) const { return !(*this == other); }
};

// Rows minRow..maxRow and columns minCol..maxCol, both ends included.
class CCellRange {
 public:
  explicit CCellRange(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1)
      : m_nMinRow(minRow), m_nMinCol(minCol), m_nMaxRow(maxRow), m_nMaxCol(maxCol) {}
  void Set(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1) {
    m_nMinRow = minRow, m_nMinCol = minCol, m_nMaxRow = maxRow, m_nMaxCol = maxCol;
  }
  bool IsValid() const { return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 &&
                                m_nMinRow <= m_nMaxRow && m_nMinCol <= m_nMaxCol; }
  bool InRange(int row, int col) const {
    return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
  }
  bool InRange(const CCellID& id) const { return InRange(id.row, id.col); }
  int Count() const { return IsValid() ? GetRowSpan() * GetColSpan() : 0; }
  int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
  int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }
  CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
  int GetMinRow() const { return m_nMinRow; }
  int GetMinCol() const { return m_nMinCol; }
  int GetMaxRow() const { return m_nMaxRow; }
  int GetMaxCol() const { return m_nMaxCol; }
  void SetMinRow(int v) { m_nMinRow = v; }
  void SetMinCol(int v) { m_nMinCol = v; }
  void SetMaxRow(int v) { m_nMaxRow = v; }
  void SetMaxCol(int v) { m_nMaxCol = v; }
  bool operator==(const CCellRange& o) const {
    return m_nMinRow == o.m_nMinRow && m_nMinCol == o.m_nMinCol && m_nMaxRow == o.m_nMaxRow && m_nMaxCol == o.m_nMaxCol;
  }

 private:
  int m_nMinRow, m_nMinCol, m_nMaxRow, m_nMaxCol;
};

// Notifications to the grid's parent (WM_NOTIFY): an edit begins, an edit ends.
#define GVN_BEGINLABELEDIT (-105)
#define GVN_ENDLABELEDIT (-106)

struct NM_GRIDVIEW {
  NMHDR hdr;
  int iRow;
  int iColumn;
};

// What an in-place editor sends the grid when it ends: the cell, its text
// (GVIF_TEXT) and the key that ended the edit (GVIF_PARAM).
struct GV_DISPINFO {
  NMHDR hdr;
  GV_ITEM item;
};
