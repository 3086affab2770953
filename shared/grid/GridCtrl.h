#pragma once
// CGridCtrl: the spreadsheet-like grid window every table of the suite is
// shown and edited in. Cells with text, format, colours and state; fixed
// header rows and columns; a focus cell and a selection; in-place editing
// (GridEdit.cpp, InPlaceEdit.h); clipboard and drag and drop, as a target and
// as a source, and the Edit commands' update handlers (GridClipboard.cpp);
// mouse, keyboard and scrolling (GridInput.cpp); painting (GridDraw.cpp).
// A column may limit the characters its cells take from the user.
//
// Per-module variants, chosen when the module is compiled:
// - PELLORY_BUILD: the ground-point table of the ground-line input palette
//   (GridPointTable.cpp) and the row menu on a right click;
// - BREVELL_BUILD, QUORRA_BUILD: the wheel and the vertical scroll bar move
//   by quarter and whole visible pages (GRID_PAGE_SCROLLING).
//
// Positions: a row's top is the sum of the heights above it. Non-fixed cells
// are shifted by the scroll position (pixels); fixed rows and columns stay.
// The tops and lefts are kept as running sums, recomputed after a size
// changes, so that finding the rows on screen costs a binary search.

#include <memory>
#include <unordered_map>
#include <vector>

#include "grid/GridCell.h"
#include "grid/TitleTip.h"
#include "mfc/afxole.h"
#include "mfc/dc.h"
#include "win/userinput.h"

#if defined(BREVELL_BUILD) || defined(QUORRA_BUILD)
#define GRID_PAGE_SCROLLING 1
#endif

#define GRIDCTRL_CLASSNAME "MFCGridCtrl"
// The in-place editor's control id.
#define IDC_INPLACE_CONTROL 8

// Grid lines.
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// Edit-menu commands and the row commands of the ground-point table's menu.
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_GRID_INSERT_ROW_BEFORE 21
#define ID_GRID_INSERT_ROW_AFTER 23
#define ID_GRID_DELETE_ROWS 17

class CGridCtrl;
class CImageList;

// The grid's OLE drop target.
class CGridDropTarget : public platform::DropTarget {
 public:
  CGridDropTarget() = default;
  ~CGridDropTarget() override;
  BOOL Register(CGridCtrl* grid);
  virtual void Revoke();
  DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
  void OnDragLeave(CWnd* wnd);
  DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

  // The window system's side.
  DROPEFFECT DragEnter(HWND window, COleDataObject& data, DWORD keyState, POINT point) override;
  DROPEFFECT DragOver(HWND window, COleDataObject& data, DWORD keyState, POINT point) override;
  void DragLeave(HWND window) override;
  BOOL Drop(HWND window, COleDataObject& data, DROPEFFECT effect, POINT point) override;
  DROPEFFECT DragScroll(HWND window, DWORD keyState, POINT point) override;

  CGridCtrl* m_pGridCtrl = nullptr;

 private:
  HWND m_hRegistered = nullptr;
};

// What a mouse gesture is doing.
enum GridMouseMode {
  MOUSE_NOTHING = 0,
  MOUSE_SELECT_ALL,
  MOUSE_SELECT_COL,
  MOUSE_SELECT_ROW,
  MOUSE_SELECT_CELLS,
  MOUSE_SCROLLING_CELLS,
  MOUSE_OVER_ROW_DIVIDE,
  MOUSE_SIZING_ROW,
  MOUSE_OVER_COL_DIVIDE,
  MOUSE_SIZING_COL,
  MOUSE_PREPARE_EDIT,
  MOUSE_PREPARE_DRAG,
  MOUSE_DRAGGING
};

#ifdef PELLORY_BUILD
// The ground-point table of one side of a ground line.
#define GRID_MAX_POINTS 200
struct GridGroundPoint {
  double dist;
  double value;
};
#endif

// Running sums of row heights (column widths): where each row starts, and
// which row lies at a position, by binary search. Recomputed after a change.
class GridOffsets {
 public:
  void invalidate() { m_valid = false; }
  // The sum of the sizes before `i` (clamped to 0 .. size count).
  long start(const std::vector<UINT>& sizes, int i) const;
  // The first index whose end lies past `pos` (the count when none does).
  int indexAt(const std::vector<UINT>& sizes, long pos) const;
  // The first index of from .. to - 1 that starts at or past `pos` (`to` when none does).
  int firstStartingAt(const std::vector<UINT>& sizes, int from, int to, long pos) const;

 private:
  const std::vector<long>& sums(const std::vector<UINT>& sizes) const;
  mutable std::vector<long> m_sums;
  mutable bool m_valid = false;
};

class CGridCtrl : public CWnd {
  DECLARE_DYNCREATE(CGridCtrl)

 public:
  explicit CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
  ~CGridCtrl() override;

  using CWnd::Create;
  BOOL Create(const RECT& rect, CWnd* parent, UINT nID, DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);
  static BOOL RegisterWindowClass();

#ifdef PELLORY_BUILD
  // Ground-point table (first members of this build's grid).
  int m_nPointMode = 0;        // 0: values are height differences; non-zero: elevations
  double m_dBaseElevation = 0;  // the elevation a height difference of 0 stands for
  int m_nPointCount = 0;       // 0 .. GRID_MAX_POINTS
  GridGroundPoint m_Points[GRID_MAX_POINTS]{};
  void ClearPointTable();
  void FillPointRows();
  void AdvanceOnEnter();
  void RecalcFocusRowValue();
  afx_msg void OnInsertRowBefore();
  afx_msg void OnInsertRowAfter();
  afx_msg void OnDeleteRows();
  // Writes the partner column (2 from 1, 1 from 2) of a row from the base elevation.
  void RecalcPartnerColumn(int nRow, int nCol);
#endif

  // ---- counts ----
  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  int GetFixedRowCount() const { return m_nFixedRows; }
  int GetFixedColumnCount() const { return m_nFixedCols; }
  BOOL SetRowCount(int nRows = 10);
  BOOL SetColumnCount(int nCols = 10);
  BOOL SetFixedRowCount(int nFixedRows = 1);
  BOOL SetFixedColumnCount(int nFixedCols = 1);

  // ---- sizes ----
  int GetRowHeight(int nRow) const;
  BOOL SetRowHeight(int row, int height);
  int GetColumnWidth(int nCol) const;
  BOOL SetColumnWidth(int col, int width);
  int GetFixedRowHeight() const;
  int GetFixedColumnWidth() const;
  long GetVirtualWidth() const;
  long GetVirtualHeight() const;
  int GetDefaultRowHeight() const { return m_nDefCellHeight; }
  int GetDefaultColumnWidth() const { return m_nDefCellWidth; }
  BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p) const;
  BOOL GetCellRect(int nRow, int nCol, LPRECT pRect) const;
  BOOL GetCellRect(const CCellID& cell, LPRECT pRect) const { return GetCellRect(cell.row, cell.col, pRect); }
  BOOL GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect) const;
  BOOL AutoSizeRow(int nRow);
  BOOL AutoSizeColumn(int nCol);
  void AutoSizeRows();
  void AutoSizeColumns();
  void AutoSize();
  void AutoSizeAllCells();
  void ExpandColumnsToFit();

  // ---- what a column takes from the user ----
  // What a column does with a longer text the user brings in.
  enum class OverLimit {
    Cut,     // cut to the limit (a text's first characters are still a text)
    Refuse,  // not taken at all, the cell kept as it was (a number cut is another number)
  };
  // The most characters a cell of column `nCol` takes from the user: typed in
  // its editor (the editor takes no more), pasted or dropped (each cell's text
  // cut there, or for OverLimit::Refuse not taken: OnLongTextRefused). 0: no
  // limit (the default). Texts the program sets are never cut, so that
  // nothing already stored is lost. FALSE outside the grid or for a negative
  // count.
  BOOL SetColumnTextLimit(int nCol, int nMaxChars, OverLimit over = OverLimit::Cut);
  int GetColumnTextLimit(int nCol) const;
  // Whether column `nCol` refuses a longer text rather than cutting it.
  bool RefusesLongerText(int nCol) const;
  // Whether `text` lies within column `nCol`'s limit.
  bool FitsColumnLimit(int nCol, const CString& text) const;
  // `text` cut to column `nCol`'s limit (whole characters); whole in a column
  // that refuses longer texts.
  CString LimitColumnText(int nCol, const CString& text) const;
  // A text the user brought into (nRow, nCol) was refused as longer than its
  // column takes; the cell kept its text. Called once for a paste or drop
  // (its first refused cell). Default: a beep.
  virtual void OnLongTextRefused(int nRow, int nCol);
  // Whether emptying cell (nRow, nCol) (Delete, Cut) changes it, so that it
  // is marked modified. Default: when it holds text.
  virtual bool EmptyingChangesCell(int nRow, int nCol) const { return !GetItemText(nRow, nCol).IsEmpty(); }

  // ---- rows and columns ----
  int InsertColumn(LPCTSTR strHeading, UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
  int InsertRow(LPCTSTR strHeading, int nRow = -1);
  BOOL DeleteColumn(int nColumn);
  BOOL DeleteRow(int nRow);
  BOOL DeleteNonFixedRows();
  BOOL DeleteAllItems();
  int RemoveColumn(int nColumn);

  // ---- colours and appearance ----
  void SetTextColor(COLORREF clr) { m_crTextColour = clr; }
  COLORREF GetTextColor() const { return m_crTextColour; }
  void SetTextBkColor(COLORREF clr) { m_crTextBkColour = clr; }
  COLORREF GetTextBkColor() const { return m_crTextBkColour; }
  void SetBkColor(COLORREF clr) { m_crBkColour = clr; }
  COLORREF GetBkColor() const { return m_crBkColour; }
  void SetFixedTextColor(COLORREF clr) { m_crFixedTextColour = clr; }
  COLORREF GetFixedTextColor() const { return m_crFixedTextColour; }
  void SetFixedBkColor(COLORREF clr) { m_crFixedBkColour = clr; }
  COLORREF GetFixedBkColor() const { return m_crFixedBkColour; }
  void SetGridColor(COLORREF clr) { m_crGridColour = clr; }
  COLORREF GetGridColor() const { return m_crGridColour; }
  void SetGridLines(int nWhichLines = GVL_BOTH);
  int GetGridLines() const { return m_nGridLines; }
  void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
  BOOL IsEditable() const { return m_bEditable; }
  void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
  BOOL GetModified(int nRow = -1, int nCol = -1) const;
  void SetListMode(BOOL bEnableListMode = TRUE);
  BOOL GetListMode() const { return m_bListMode; }
  void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
  BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
  void EnableSelection(BOOL bEnable = TRUE);
  BOOL IsSelectable() const { return m_bEnableSelection; }
  void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
  BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
  void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
  BOOL GetRowResize() const { return m_bAllowRowResize; }
  void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
  BOOL GetColumnResize() const { return m_bAllowColumnResize; }
  void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
  BOOL GetHeaderSort() const { return m_bSortOnClick; }
  void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
  BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
  void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
  BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
  void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
  CTitleTip& GetTitleTip() { return m_TitleTip; }
  BOOL GetTitleTips() const { return m_bTitleTips; }
  void SetImageList(CImageList* pList) { m_pImageList = pList; }
  CImageList* GetImageList() const { return m_pImageList; }
  int GetMargin() const { return m_nMargin; }
  const LOGFONT& GetLogFont() const { return m_Logfont; }
  CFont* GetFont() { return m_Font.GetSafeHandle() ? &m_Font : nullptr; }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
  BOOL IsDrawingAllowed() const { return m_bAllowDraw; }
  int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }
  int GetTimerInterval() const { return static_cast<int>(m_nTimerInterval); }
  int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
  int GetMouseMode() const { return m_MouseMode; }
  int GetSortColumn() const { return m_SortColumn; }
  BOOL GetSortAscending() const { return m_bAscending; }

  // ---- cells ----
  CGridCell* GetCell(int nRow, int nCol) const;
  BOOL IsValid(int nRow, int nCol) const { return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols; }
  BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
  BOOL IsValid(const CCellRange& range) const;
  BOOL GetItem(GV_ITEM* pItem) const;
  BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
  LPARAM GetItemData(int nRow, int nCol) const;
  BOOL SetItemImage(int nRow, int nCol, int iImage);
  int GetItemImage(int nRow, int nCol) const;
  BOOL SetItemState(int nRow, int nCol, UINT state);
  UINT GetItemState(int nRow, int nCol) const;
  BOOL SetItemFormat(int nRow, int nCol, UINT nFormat);
  UINT GetItemFormat(int nRow, int nCol) const;
  BOOL SetItemBkColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemBkColour(int nRow, int nCol) const;
  BOOL SetItemFgColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
  COLORREF GetItemFgColour(int nRow, int nCol) const;
  BOOL SetItemFont(int nRow, int nCol, const LOGFONT* lf);
  const LOGFONT* GetItemFont(int nRow, int nCol) const;
  BOOL SetItemReadOnly(int nRow, int nCol, BOOL bReadOnly = TRUE);
  BOOL IsItemEditing(int nRow, int nCol) const;
  BOOL IsCellEditable(int nRow, int nCol) const;
  BOOL IsCellEditable(const CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }
  BOOL IsCellSelected(int nRow, int nCol) const;
  BOOL IsCellVisible(int nRow, int nCol) const;
  BOOL IsCellFixed(int nRow, int nCol) const { return nRow < m_nFixedRows || nCol < m_nFixedCols; }
  BOOL IsCellEmpty(int nRow, int nCol) const;
  // The colours a cell is drawn with, its own or the grid's defaults.
  COLORREF EffectiveBkColour(int nRow, int nCol) const;
  COLORREF EffectiveFgColour(int nRow, int nCol) const;

  // ---- focus, selection, scrolling ----
  CCellID GetFocusCell() const { return m_idCurrentCell; }
  CCellID SetFocusCell(CCellID cell);
  CCellID SetFocusCell(int nRow, int nCol) { return SetFocusCell(CCellID(nRow, nCol)); }
  // Sets the focus cell and scrolls it into view.
  void SetFocusCellId(int nRow, int nCol);
  CCellRange GetSelectedCellRange() const;
  int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
  void SetSelectedRange(const CCellRange& range, BOOL bForceRepaint = FALSE);
  void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE);
  void ResetSelectedRange();
  void SelectAllCells();
  void SelectColumns(CCellID currentCell);
  void SelectRows(CCellID currentCell);
  void SelectCells(CCellID currentCell);
  CCellRange GetCellRange() const;
  CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr) const;
  CCellID GetTopleftNonFixedCell() const;
  CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE) const;
  void EnsureVisible(int nRow, int nCol);
  void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }
  CPoint GetScrollPosition() const { return CPoint(m_nHScrollPos, m_nVScrollPos); }
  void SetScrollPosition(int x, int y);
  int GetVScrollMax() const { return m_nVScrollMax; }
  int GetHScrollMax() const { return m_nHScrollMax; }
  void ResetScrollBars();

  // ---- sorting ----
  BOOL SortTextItems(int nCol, BOOL bAscending);

  // ---- drawing ----
  BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
  BOOL RedrawCell(const CCellID& cell, CDC* pDC = nullptr) { return RedrawCell(cell.row, cell.col, pDC); }
  BOOL RedrawRow(int row);
  BOOL RedrawColumn(int col);

  // ---- editing ----
  // Ends the in-place edit in progress, if any.
  void EndEditing();
  // The in-place editor's window, null when none is open.
  CWnd* GetEditWindow() const;

  // ---- the grid's own virtual operations ----
  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL SetItem(const GV_ITEM* pItem);
  virtual BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
  virtual CString GetItemText(int nRow, int nCol) const;
  virtual void CutSelectedText();
  virtual COleDataSource* CopyTextFromGrid();
  virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* pDataObject);
  virtual void OnEditCut();
  virtual void OnEditCopy();
  virtual void OnEditPaste();
  virtual void OnEditSelectAll();
  // Printing is not done: these keep their places and do nothing.
  virtual void OnBeginPrinting(CDC* pDC, void* pInfo);
  virtual void OnPrint(CDC* pDC, void* pInfo);
  virtual void OnEndPrinting(CDC* pDC, void* pInfo);
  virtual void PrintColumnHeadings(CDC* pDC, void* pInfo);
  virtual void PrintHeader(CDC* pDC, void* pInfo);
  virtual void PrintFooter(CDC* pDC, void* pInfo);
  virtual CImageList* CreateDragImage(CPoint* pHotSpot);
  virtual void OnFixedColumnClick(CCellID& cell);
  virtual void OnFixedRowClick(CCellID& cell);
  virtual CSize GetCellTextExtent(int nRow, int nCol, CDC* pDC = nullptr);
  virtual void OnEndEditCell(int nRow, int nCol, CString str);
  virtual void OnEditCell(int nRow, int nCol, UINT nChar);
  virtual CWnd* CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                         LPCTSTR szText, int nChar);
  virtual void OnDraw(CDC* pDC);
  virtual BOOL DrawFixedCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk = FALSE);
  virtual BOOL DrawCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk = FALSE);
  virtual CGridCell* CreateCell(int nRow, int nCol);
  virtual void EmptyCell(CGridCell* pCell, int nRow, int nCol);

  // ---- message handlers ----
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg LRESULT OnEraseBkgnd(WPARAM hdc, LPARAM lParam);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnSysColorChange();
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);
  afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  // The row menu of a right click: menu 19 in the ground-line build, nothing
  // in the others.
  virtual void OnContextMenu(CWnd* pWnd, CPoint point);
#ifdef PELLORY_BUILD
  // Shows the row menu (menu resource 19) at a screen point.
  void ShowRowMenu(CPoint point);
#endif
  afx_msg LRESULT OnScriptCell(WPARAM wParam, LPARAM lParam);
  // The enabling rules of the Edit-menu commands, and their update handlers.
  BOOL CanSelectAll() const { return m_bEnableSelection; }
  BOOL CanCopy() const;
  BOOL CanCut() const;
  BOOL CanPaste() const;
  afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);

  // Drag and drop. With drag and drop on, a press on a selected cell that
  // moves the mouse out of the drag rectangle (SM_CXDRAG, SM_CYDRAG around
  // the press) drags the selection's text (OnBeginDrag); a press released
  // before that does what a press and release do without drag and drop.
  void OnBeginDrag();
  DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  void OnDragLeave();
  BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  CCellID GetLastDragOverCell() const { return m_LastDragOverCell; }

  // A script's cell word: scrolls (row, col) into view and gives the screen
  // point at its centre; false outside the grid.
  bool ScriptCellPoint(int nRow, int nCol, POINT& screenPt);

 protected:
  void PreSubclassWindow() override;

  // Notifies the parent (WM_NOTIFY) with the cell.
  LRESULT SendMessageToParent(int nRow, int nCol, int nMessage);
  void ResetSelection();
  void SetSelectedCell(int nRow, int nCol, bool selected);
  CCellID GetNextFocus(UINT nChar, BOOL shift, BOOL ctrl) const;
  void MoveFocusByKey(UINT nChar);
  void OnSelecting(const CCellID& currentCell);
  // What a left press on m_LeftClickDownCell does (focus, selection, the
  // mouse mode) with the keys of `nFlags`.
  void PressCell(UINT nFlags);
  void CheckAutoScroll(CPoint point);
  // Shows the title tip over the cell at `point` when its text does not fit
  // (hides it otherwise).
  void ShowTitleTip(CPoint point);
  void StopAutoScroll();
  int MouseOverRowResizeArea(CPoint point) const;
  int MouseOverColumnResizeArea(CPoint point) const;
  void ScrollBy(int dx, int dy);
  // Where a dragged thumb stands: the bar's whole tracked position when its
  // low 16 bits are the message's, else the message's 16-bit position.
  int ThumbPosition(int bar, UINT nPos) const;
  int VisibleNonFixedHeight() const;
  int VisibleNonFixedWidth() const;
  // The first row (column) at or after `from` whose bottom (right) passes `y` (`x`) in grid space.
  int RowAt(long y) const;
  int ColAt(long x) const;
  // The first non-fixed row (column) on screen: the first whose top lies at or
  // past the scroll position; the picture scrolls by whole rows and columns.
  int FirstVisibleRow() const;
  int FirstVisibleCol() const;
  long RowTop(int nRow) const;
  long ColLeft(int nCol) const;
  void InvalidateSizes() {
    m_RowTops.invalidate();
    m_ColLefts.invalidate();
  }
  // After a change of counts or sizes: the sums, the scroll bars and the picture.
  void LayoutChanged();
  void CreateFontFromLogfont();

  // Settings and state.
  COLORREF m_crTextColour, m_crTextBkColour, m_crBkColour, m_crFixedTextColour, m_crFixedBkColour, m_crGridColour;
  COLORREF m_crWindowText, m_crWindowColour, m_cr3DFace, m_crShadow;
  int m_nGridLines = GVL_BOTH;
  BOOL m_bEditable = TRUE;
  BOOL m_bModified = FALSE;
  BOOL m_bAllowDragAndDrop = FALSE;
  BOOL m_bListMode = FALSE;
  BOOL m_bSingleRowSelection = FALSE;
  BOOL m_bAllowDraw = TRUE;
  BOOL m_bEnableSelection = TRUE;
  BOOL m_bSortOnClick = TRUE;
  BOOL m_bHandleTabKey = TRUE;
  BOOL m_bDoubleBuffer = TRUE;
  BOOL m_bTitleTips = TRUE;
  int m_nRows = 0, m_nFixedRows = 0, m_nCols = 0, m_nFixedCols = 0;
  std::vector<UINT> m_arRowHeights, m_arColWidths;
  // The text limit of each column (0: none), negative for a column that
  // refuses a longer text (OverLimit::Refuse); kept in step with the columns.
  std::vector<int> m_arColTextLimits;
  int m_nMargin = 0;
  int m_nDefCellWidth = 50;
  int m_nDefCellHeight = 20;
  int m_nVScrollMax = 0, m_nHScrollMax = 0;
  int m_nVScrollPos = 0, m_nHScrollPos = 0;
  LOGFONT m_Logfont{};
  CFont m_Font, m_PrinterFont;
  CImageList* m_pImageList = nullptr;
  using GridRow = std::vector<std::unique_ptr<CGridCell>>;
  std::vector<std::unique_ptr<GridRow>> m_RowData;
  int m_MouseMode = MOUSE_NOTHING;
  CPoint m_LeftClickDownPoint, m_LastMousePoint;
  CCellID m_idCurrentCell, m_LeftClickDownCell, m_SelectionStartCell;
  UINT_PTR m_nTimerID = 0;
  UINT m_nTimerInterval = 25;
  int m_nResizeCaptureRange = 3;
  BOOL m_bAllowRowResize = TRUE, m_bAllowColumnResize = TRUE;
  int m_nRowsPerWheelNotch = 3;
  // Selected cells by a key of row and column (64 bits, so that no row
  // number is cut off).
  std::unordered_map<uint64_t, CCellID> m_SelectedCellMap, m_PrevSelectedCellMap;
  CTitleTip m_TitleTip;
  BOOL m_bMustUninitOLE = FALSE;
  CCellID m_LastDragOverCell;
  CGridDropTarget m_DropTarget;
  BOOL m_bAscending = TRUE;
  int m_SortColumn = -1;
  // Running sums of the row heights and column widths.
  GridOffsets m_RowTops, m_ColLefts;
  // The row or column being resized, and where the drag began.
  int m_nResizeIndex = -1;
  // The keys of a press whose gesture waits to tell a drag from a click.
  UINT m_nPressFlags = 0;
  HWND m_hEditWnd = nullptr;

  static uint64_t CellKey(int row, int col) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(col)) << 32) | static_cast<uint32_t>(row);
  }

  DECLARE_MESSAGE_MAP()
};

// Subclasses the dialog's control `nIDC` as the grid, when the grid has no window yet.
void DDX_GridCtrl(CDataExchange* pDX, int nIDC, CGridCtrl& rControl);
