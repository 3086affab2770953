// The grid's construction, window, dimensions, sizes and cell accessors.
#include "grid/GridCtrl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "com/ole.h"
#include "crt/utf8.h"
#include "mfc/app.h"
#include "mfc/ddx.h"
#include "mfc/treectrl.h"
#include "mfc/winapp.h"
#include "win/registry.h"
#include "win/transcript.h"

IMPLEMENT_DYNAMIC(CGridCell, CObject)
IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_SIZE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_LBUTTONDBLCLK()
  ON_MESSAGE(WM_ERASEBKGND, &CGridCtrl::OnEraseBkgnd)
  ON_COMMAND(ID_EDIT_SELECT_ALL, &CGridCtrl::OnEditSelectAll)
  ON_COMMAND(ID_EDIT_COPY, &CGridCtrl::OnEditCopy)
  ON_COMMAND(ID_EDIT_CUT, &CGridCtrl::OnEditCut)
  ON_COMMAND(ID_EDIT_PASTE, &CGridCtrl::OnEditPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &CGridCtrl::OnUpdateEditSelectAll)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CGridCtrl::OnUpdateEditCopy)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CGridCtrl::OnUpdateEditCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CGridCtrl::OnUpdateEditPaste)
  ON_WM_SETCURSOR()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_CAPTURECHANGED()
#ifdef PELLORY_BUILD
  ON_COMMAND(ID_GRID_INSERT_ROW_BEFORE, &CGridCtrl::OnInsertRowBefore)
  ON_COMMAND(ID_GRID_INSERT_ROW_AFTER, &CGridCtrl::OnInsertRowAfter)
  ON_COMMAND(ID_GRID_DELETE_ROWS, &CGridCtrl::OnDeleteRows)
#endif
  ON_WM_MOUSEWHEEL()
  ON_MESSAGE(WM_SETFONT, &CGridCtrl::OnSetFont)
  ON_MESSAGE(WM_GETFONT, &CGridCtrl::OnGetFont)
  ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_CONTROL, &CGridCtrl::OnEndInPlaceEdit)
  ON_WM_RBUTTONDOWN()
  ON_MESSAGE(WM_SCRIPT_CELL, &CGridCtrl::OnScriptCell)
END_MESSAGE_MAP()

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols) {
  RegisterWindowClass();
  if (!platform::oleInitialized()) {
    if (FAILED(OleInitialize(nullptr)))
      AfxMessageBox("OLE initialization failed. Make sure that the OLE libraries are the correct version");
    else
      m_bMustUninitOLE = TRUE;
  }
  m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
  m_crWindowColour = GetSysColor(COLOR_WINDOW);
  m_cr3DFace = GetSysColor(COLOR_3DFACE);
  m_crShadow = GetSysColor(COLOR_3DSHADOW);
  m_crGridColour = RGB(192, 192, 192);
  m_nRowsPerWheelNotch = platform::wheelScrollLines();
  m_Logfont = platform::messageFont();
  SetRowCount(nRows);
  SetColumnCount(nCols);
  SetFixedRowCount(nFixedRows);
  SetFixedColumnCount(nFixedCols);
  m_crTextColour = m_crWindowText;
  m_crFixedTextColour = m_crWindowText;
  m_crTextBkColour = m_crWindowColour;
  m_crBkColour = m_crShadow;
  m_crFixedBkColour = m_cr3DFace;
  m_SelectedCellMap.clear();
  m_PrevSelectedCellMap.clear();
}

CGridCtrl::~CGridCtrl() {
  DeleteAllItems();
  if (m_TitleTip.GetSafeHwnd()) m_TitleTip.DestroyWindow();
  if (m_hWnd) DestroyWindow();
  m_Font.DeleteObject();
  if (m_bMustUninitOLE) OleUninitialize();
}

BOOL CGridCtrl::RegisterWindowClass() {
  WNDCLASS wc;
  HINSTANCE instance = AfxGetInstanceHandle();
  if (GetClassInfo(instance, GRIDCTRL_CLASSNAME, &wc)) return TRUE;
  wc = WNDCLASS{};
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_3DFACE + 1));
  wc.lpszClassName = GRIDCTRL_CLASSNAME;
  if (!RegisterClass(&wc)) {
    platform::transcriptLine("The grid's window class could not be registered");
    return FALSE;
  }
  return TRUE;
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* parent, UINT nID, DWORD dwStyle) {
  if (!CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, parent, nID)) return FALSE;
  m_DropTarget.Register(this);
  m_arRowHeights.assign(static_cast<size_t>(m_nRows), static_cast<UINT>(m_nDefCellHeight));
  m_arColWidths.assign(static_cast<size_t>(m_nCols), static_cast<UINT>(m_nDefCellWidth));
  InvalidateSizes();
  CreateFontFromLogfont();
  if (m_bTitleTips) m_TitleTip.Create(this);
  ResetScrollBars();
  return TRUE;
}

void CGridCtrl::OnDestroy() {
  // The title tip is owned by the grid's top-level window: it goes with the grid.
  if (m_TitleTip.GetSafeHwnd()) m_TitleTip.DestroyWindow();
  CWnd::OnDestroy();
}

void CGridCtrl::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  CreateFontFromLogfont();
  if (!m_DropTarget.m_pGridCtrl) m_DropTarget.Register(this);
  if (m_bTitleTips) m_TitleTip.Create(this);
  ResetScrollBars();
}

void CGridCtrl::CreateFontFromLogfont() {
  CFont font;
  if (!font.CreateFontIndirect(&m_Logfont)) return;
  SetFont(&font, FALSE);
}

void DDX_GridCtrl(CDataExchange* pDX, int nIDC, CGridCtrl& rControl) {
  if (rControl.GetSafeHwnd()) return;
  HWND control = pDX->PrepareCtrl(nIDC);
  if (!control || !rControl.SubclassWindow(control)) pDX->Fail();
}

// ---- fonts ----------------------------------------------------------------------

void CGridCtrl::SetFont(CFont* pFont, BOOL bRedraw) {
  if (!pFont || !pFont->GetSafeHandle()) return;
  LOGFONT lf;
  if (!pFont->GetLogFont(&lf)) return;
  m_Logfont = lf;
  m_Font.DeleteObject();
  m_Font.CreateFontIndirect(&m_Logfont);
  // The cell margin follows the font: half an average character.
  CDC dc;
  if (dc.CreateCompatibleDC(nullptr)) {
    CFont* old = dc.SelectObject(&m_Font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_nMargin = std::max<int>(1, static_cast<int>(tm.tmAveCharWidth) / 2);
    dc.SelectObject(old);
  }
  if (bRedraw && m_hWnd) Invalidate();
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM lParam) {
  CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(hFont));
  if (font) SetFont(font, lParam != 0);
  return 0;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_Font.GetSafeHandle()); }

void CGridCtrl::OnSysColorChange() {
  // Colours the owner left at the system's follow the system's new ones.
  auto follow = [](COLORREF& colour, COLORREF& remembered, int index) {
    COLORREF now = GetSysColor(index);
    if (colour == remembered) colour = now;
    remembered = now;
  };
  COLORREF text = m_crWindowText;
  follow(m_crTextColour, text, COLOR_WINDOWTEXT);
  follow(m_crFixedTextColour, m_crWindowText, COLOR_WINDOWTEXT);
  follow(m_crTextBkColour, m_crWindowColour, COLOR_WINDOW);
  follow(m_crFixedBkColour, m_cr3DFace, COLOR_3DFACE);
  follow(m_crBkColour, m_crShadow, COLOR_3DSHADOW);
  if (m_hWnd) Invalidate();
}

// ---- counts -----------------------------------------------------------------------

BOOL CGridCtrl::SetRowCount(int nRows) {
  if (nRows < 0) return FALSE;
  if (nRows == m_nRows) return TRUE;
  EndEditing();
  if (nRows < m_nFixedRows) m_nFixedRows = nRows;
  int old = m_nRows;
  if (nRows < old) {
    for (int r = nRows; r < old; ++r)
      for (int c = 0; c < m_nCols; ++c)
        if (CGridCell* cell = GetCell(r, c)) EmptyCell(cell, r, c);
    m_RowData.resize(static_cast<size_t>(nRows));
    m_arRowHeights.resize(static_cast<size_t>(nRows));
    m_nRows = nRows;
  } else {
    m_RowData.reserve(static_cast<size_t>(nRows));
    m_arRowHeights.resize(static_cast<size_t>(nRows), static_cast<UINT>(m_nDefCellHeight));
    for (int r = old; r < nRows; ++r) {
      m_RowData.push_back(std::make_unique<GridRow>());
      m_nRows = r + 1;
      GridRow& row = *m_RowData.back();
      row.resize(static_cast<size_t>(m_nCols));
      for (int c = 0; c < m_nCols; ++c) row[static_cast<size_t>(c)].reset(CreateCell(r, c));
    }
  }
  m_nRows = nRows;
  if (m_idCurrentCell.row >= m_nRows) SetFocusCell(-1, -1);
  ResetSelectedRange();
  LayoutChanged();
  return TRUE;
}

BOOL CGridCtrl::SetColumnCount(int nCols) {
  if (nCols < 0) return FALSE;
  if (nCols == m_nCols) return TRUE;
  EndEditing();
  if (nCols < m_nFixedCols) m_nFixedCols = nCols;
  int old = m_nCols;
  m_nCols = nCols;
  m_arColWidths.resize(static_cast<size_t>(nCols), static_cast<UINT>(m_nDefCellWidth));
  m_arColTextLimits.resize(static_cast<size_t>(nCols), 0);
  for (int r = 0; r < m_nRows; ++r) {
    GridRow& row = *m_RowData[static_cast<size_t>(r)];
    for (int c = nCols; c < old; ++c)
      if (CGridCell* cell = row[static_cast<size_t>(c)].get()) EmptyCell(cell, r, c);
    row.resize(static_cast<size_t>(nCols));
    for (int c = old; c < nCols; ++c) row[static_cast<size_t>(c)].reset(CreateCell(r, c));
  }
  if (m_idCurrentCell.col >= m_nCols) SetFocusCell(-1, -1);
  ResetSelectedRange();
  LayoutChanged();
  return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows) {
  if (nFixedRows < 0) return FALSE;
  if (nFixedRows > m_nRows && !SetRowCount(nFixedRows)) return FALSE;
  if (m_idCurrentCell.row < nFixedRows) SetFocusCell(-1, -1);
  m_nFixedRows = nFixedRows;
  LayoutChanged();
  return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols) {
  if (nFixedCols < 0) return FALSE;
  if (nFixedCols > m_nCols && !SetColumnCount(nFixedCols)) return FALSE;
  if (m_idCurrentCell.col < nFixedCols) SetFocusCell(-1, -1);
  m_nFixedCols = nFixedCols;
  LayoutChanged();
  return TRUE;
}

// ---- sizes --------------------------------------------------------------------------

const std::vector<long>& GridOffsets::sums(const std::vector<UINT>& sizes) const {
  if (!m_valid) {
    m_sums.resize(sizes.size() + 1);
    long sum = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
      m_sums[i] = sum;
      sum += static_cast<long>(sizes[i]);
    }
    m_sums[sizes.size()] = sum;
    m_valid = true;
  }
  return m_sums;
}

long GridOffsets::start(const std::vector<UINT>& sizes, int i) const {
  const std::vector<long>& v = sums(sizes);
  return v[static_cast<size_t>(std::clamp(i, 0, static_cast<int>(sizes.size())))];
}

int GridOffsets::indexAt(const std::vector<UINT>& sizes, long pos) const {
  const std::vector<long>& v = sums(sizes);
  return static_cast<int>(std::upper_bound(v.begin() + 1, v.end(), pos) - (v.begin() + 1));
}

int GridOffsets::firstStartingAt(const std::vector<UINT>& sizes, int from, int to, long pos) const {
  const std::vector<long>& v = sums(sizes);
  return static_cast<int>(std::lower_bound(v.begin() + from, v.begin() + to, pos) - v.begin());
}

long CGridCtrl::RowTop(int nRow) const { return m_RowTops.start(m_arRowHeights, nRow); }
long CGridCtrl::ColLeft(int nCol) const { return m_ColLefts.start(m_arColWidths, nCol); }
int CGridCtrl::RowAt(long y) const { return m_RowTops.indexAt(m_arRowHeights, y); }
int CGridCtrl::ColAt(long x) const { return m_ColLefts.indexAt(m_arColWidths, x); }

void CGridCtrl::LayoutChanged() {
  InvalidateSizes();
  if (m_hWnd) {
    ResetScrollBars();
    Invalidate();
  }
}

int CGridCtrl::GetRowHeight(int nRow) const {
  if (nRow < 0 || nRow >= static_cast<int>(m_arRowHeights.size())) return -1;
  return static_cast<int>(m_arRowHeights[static_cast<size_t>(nRow)]);
}

int CGridCtrl::GetColumnWidth(int nCol) const {
  if (nCol < 0 || nCol >= static_cast<int>(m_arColWidths.size())) return -1;
  return static_cast<int>(m_arColWidths[static_cast<size_t>(nCol)]);
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height) {
  if (nRow < 0 || nRow >= static_cast<int>(m_arRowHeights.size()) || height < 0) return FALSE;
  m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(height);
  m_RowTops.invalidate();
  return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width) {
  if (nCol < 0 || nCol >= static_cast<int>(m_arColWidths.size()) || width < 0) return FALSE;
  m_arColWidths[static_cast<size_t>(nCol)] = static_cast<UINT>(width);
  m_ColLefts.invalidate();
  return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const { return static_cast<int>(RowTop(m_nFixedRows)); }
int CGridCtrl::GetFixedColumnWidth() const { return static_cast<int>(ColLeft(m_nFixedCols)); }
long CGridCtrl::GetVirtualHeight() const { return RowTop(static_cast<int>(m_arRowHeights.size())); }
long CGridCtrl::GetVirtualWidth() const { return ColLeft(static_cast<int>(m_arColWidths.size())); }

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) const {
  if (!IsValid(nRow, nCol) || nRow >= static_cast<int>(m_arRowHeights.size()) ||
      nCol >= static_cast<int>(m_arColWidths.size()))
    return FALSE;
  // Non-fixed cells start at the first row and column the scroll position shows.
  p->x = ColLeft(nCol);
  if (nCol >= m_nFixedCols) p->x += ColLeft(m_nFixedCols) - ColLeft(FirstVisibleCol());
  p->y = RowTop(nRow);
  if (nRow >= m_nFixedRows) p->y += RowTop(m_nFixedRows) - RowTop(FirstVisibleRow());
  return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect) const {
  POINT origin;
  if (!GetCellOrigin(nRow, nCol, &origin)) return FALSE;
  pRect->left = origin.x;
  pRect->top = origin.y;
  pRect->right = origin.x + GetColumnWidth(nCol) - 1;
  pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
  return TRUE;
}

BOOL CGridCtrl::GetCellRangeRect(const CCellRange& range, LPRECT lpRect) const {
  if (!IsValid(range)) return FALSE;
  RECT a, b;
  if (!GetCellRect(range.GetMinRow(), range.GetMinCol(), &a) || !GetCellRect(range.GetMaxRow(), range.GetMaxCol(), &b))
    return FALSE;
  *lpRect = RECT{a.left, a.top, b.right, b.bottom};
  return TRUE;
}

CSize CGridCtrl::GetCellTextExtent(int nRow, int nCol, CDC* pDC) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return CSize(0, 0);
  CDC scratch;
  if (!pDC) {
    if (!scratch.CreateCompatibleDC(nullptr)) return CSize(0, 0);
    pDC = &scratch;
  }
  CFont font;
  CFont* old = nullptr;
  if (font.CreateFontIndirect(&cell->lfFont)) old = pDC->SelectObject(&font);
  RECT r{0, 0, 0, 0};
  UINT format = (cell->nFormat | DT_CALCRECT | DT_NOPREFIX) & ~(DT_END_ELLIPSIS);
  pDC->DrawText(cell->szText.IsEmpty() ? CString(" ") : cell->szText, &r, format);
  if (old) pDC->SelectObject(old);
  return CSize(r.right - r.left + 2 * m_nMargin + 1, r.bottom - r.top + 3);
}

BOOL CGridCtrl::AutoSizeColumn(int nCol) {
  if (nCol < 0 || nCol >= m_nCols) return FALSE;
  int width = 0;
  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return FALSE;
  for (int r = 0; r < m_nRows; ++r) width = std::max<int>(width, GetCellTextExtent(r, nCol, &dc).cx);
  SetColumnWidth(nCol, width);
  if (m_hWnd) {
    ResetScrollBars();
    Invalidate();
  }
  return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow) {
  if (nRow < 0 || nRow >= m_nRows) return FALSE;
  int height = 0;
  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return FALSE;
  for (int c = 0; c < m_nCols; ++c) height = std::max<int>(height, GetCellTextExtent(nRow, c, &dc).cy);
  SetRowHeight(nRow, height);
  if (m_hWnd) {
    ResetScrollBars();
    Invalidate();
  }
  return TRUE;
}

void CGridCtrl::AutoSizeColumns() {
  for (int c = 0; c < m_nCols; ++c) AutoSizeColumn(c);
}

void CGridCtrl::AutoSizeRows() {
  for (int r = 0; r < m_nRows; ++r) AutoSizeRow(r);
}

void CGridCtrl::AutoSize() { AutoSizeAllCells(); }

void CGridCtrl::AutoSizeAllCells() {
  // The grid measures on a DC of its own, like the screen, with the cells' fonts.
  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return;
  std::fill(m_arRowHeights.begin(), m_arRowHeights.end(), 0u);
  std::fill(m_arColWidths.begin(), m_arColWidths.end(), 0u);
  for (int r = 0; r < m_nRows; ++r)
    for (int c = 0; c < m_nCols; ++c) {
      CSize size = GetCellTextExtent(r, c, &dc);
      UINT& w = m_arColWidths[static_cast<size_t>(c)];
      UINT& h = m_arRowHeights[static_cast<size_t>(r)];
      w = std::max<UINT>(w, static_cast<UINT>(std::max<LONG>(0, size.cx)));
      h = std::max<UINT>(h, static_cast<UINT>(std::max<LONG>(0, size.cy)));
    }
  LayoutChanged();
}

void CGridCtrl::ExpandColumnsToFit() {
  if (!m_hWnd || m_nCols <= m_nFixedCols) return;
  CRect client;
  GetClientRect(&client);
  long extra = client.Width() - GetVirtualWidth();
  if (extra <= 0) return;
  int n = m_nCols - m_nFixedCols;
  for (int c = m_nFixedCols; c < m_nCols; ++c)
    SetColumnWidth(c, GetColumnWidth(c) + static_cast<int>(extra / n) + (c - m_nFixedCols < extra % n ? 1 : 0));
  ResetScrollBars();
  Invalidate();
}

// ---- rows and columns -----------------------------------------------------------

int CGridCtrl::InsertColumn(LPCTSTR strHeading, UINT nFormat, int nColumn) {
  if (nColumn > m_nCols) return -1;
  EndEditing();
  if (nColumn < 0) nColumn = m_nCols;
  ResetSelectedRange();
  m_arColWidths.insert(m_arColWidths.begin() + nColumn, static_cast<UINT>(m_nDefCellWidth));
  m_arColTextLimits.resize(static_cast<size_t>(m_nCols), 0);
  m_arColTextLimits.insert(m_arColTextLimits.begin() + nColumn, 0);
  ++m_nCols;
  for (int r = 0; r < m_nRows; ++r) {
    GridRow& row = *m_RowData[static_cast<size_t>(r)];
    row.insert(row.begin() + nColumn, nullptr);
    row[static_cast<size_t>(nColumn)].reset(CreateCell(r, nColumn));
  }
  if (m_nRows > 0 && GetCell(0, nColumn)) {
    GetCell(0, nColumn)->nFormat = nFormat;
    GetCell(0, nColumn)->szText = strHeading ? strHeading : "";
  }
  if (m_idCurrentCell.IsValid() && m_idCurrentCell.col >= nColumn) {
    SetFocusCell(-1, -1);
  }
  LayoutChanged();
  return nColumn;
}

int CGridCtrl::InsertRow(LPCTSTR strHeading, int nRow) {
  if (nRow > m_nRows) return -1;
  EndEditing();
  if (nRow < 0) nRow = m_nRows;
  ResetSelectedRange();
  CCellID focus = m_idCurrentCell;
  if (focus.IsValid()) SetFocusCell(-1, -1);
  m_arRowHeights.insert(m_arRowHeights.begin() + nRow, static_cast<UINT>(m_nDefCellHeight));
  m_RowData.insert(m_RowData.begin() + nRow, std::make_unique<GridRow>());
  ++m_nRows;
  GridRow& row = *m_RowData[static_cast<size_t>(nRow)];
  row.resize(static_cast<size_t>(m_nCols));
  for (int c = 0; c < m_nCols; ++c) row[static_cast<size_t>(c)].reset(CreateCell(nRow, c));
  if (m_nCols > 0 && strHeading) row[0]->szText = strHeading;
  // The row positions change before the focus cell is drawn again.
  InvalidateSizes();
  if (focus.IsValid()) {
    if (focus.row >= nRow) ++focus.row;
    SetFocusCell(focus);
  }
  LayoutChanged();
  return nRow;
}

BOOL CGridCtrl::DeleteColumn(int nColumn) {
  if (nColumn < 0 || nColumn >= m_nCols) return FALSE;
  return RemoveColumn(nColumn) == 0;
}

int CGridCtrl::RemoveColumn(int nColumn) {
  if (nColumn < 0 || nColumn >= m_nCols) return 0;
  EndEditing();
  ResetSelectedRange();
  for (int r = 0; r < m_nRows; ++r) {
    GridRow* row = m_RowData[static_cast<size_t>(r)].get();
    if (!row) break;
    if (CGridCell* cell = (*row)[static_cast<size_t>(nColumn)].get()) EmptyCell(cell, r, nColumn);
    row->erase(row->begin() + nColumn);
  }
  m_arColWidths.erase(m_arColWidths.begin() + nColumn);
  if (nColumn < static_cast<int>(m_arColTextLimits.size())) m_arColTextLimits.erase(m_arColTextLimits.begin() + nColumn);
  --m_nCols;
  if (nColumn < m_nFixedCols) --m_nFixedCols;
  if (m_idCurrentCell.col == nColumn) {
    m_idCurrentCell = CCellID(-1, -1);
  } else if (m_idCurrentCell.col > nColumn) {
    --m_idCurrentCell.col;
  }
  LayoutChanged();
  return 0;
}

BOOL CGridCtrl::DeleteRow(int nRow) {
  if (nRow < 0 || nRow >= m_nRows) return FALSE;
  EndEditing();
  ResetSelectedRange();
  GridRow& row = *m_RowData[static_cast<size_t>(nRow)];
  for (int c = 0; c < m_nCols; ++c)
    if (CGridCell* cell = row[static_cast<size_t>(c)].get()) EmptyCell(cell, nRow, c);
  m_RowData.erase(m_RowData.begin() + nRow);
  m_arRowHeights.erase(m_arRowHeights.begin() + nRow);
  --m_nRows;
  if (nRow < m_nFixedRows) --m_nFixedRows;
  if (m_idCurrentCell.row == nRow) {
    m_idCurrentCell = CCellID(-1, -1);
  } else if (m_idCurrentCell.row > nRow) {
    --m_idCurrentCell.row;
  }
  LayoutChanged();
  return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows() {
  int fixed = m_nFixedRows;
  return SetRowCount(fixed);
}

BOOL CGridCtrl::DeleteAllItems() {
  EndEditing();
  ResetSelectedRange();
  m_idCurrentCell = CCellID(-1, -1);
  m_RowData.clear();
  m_arRowHeights.clear();
  m_arColWidths.clear();
  m_arColTextLimits.clear();
  m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
  m_nVScrollPos = m_nHScrollPos = 0;
  m_SortColumn = -1;
  LayoutChanged();
  return TRUE;
}

// ---- what a column takes from the user ----------------------------------------

BOOL CGridCtrl::SetColumnTextLimit(int nCol, int nMaxChars, OverLimit over) {
  if (nCol < 0 || nCol >= m_nCols || nMaxChars < 0) return FALSE;
  m_arColTextLimits.resize(static_cast<size_t>(m_nCols), 0);
  m_arColTextLimits[static_cast<size_t>(nCol)] = over == OverLimit::Refuse ? -nMaxChars : nMaxChars;
  return TRUE;
}

int CGridCtrl::GetColumnTextLimit(int nCol) const {
  if (nCol < 0 || nCol >= m_nCols || nCol >= static_cast<int>(m_arColTextLimits.size())) return 0;
  return std::abs(m_arColTextLimits[static_cast<size_t>(nCol)]);
}

bool CGridCtrl::RefusesLongerText(int nCol) const {
  if (nCol < 0 || nCol >= m_nCols || nCol >= static_cast<int>(m_arColTextLimits.size())) return false;
  return m_arColTextLimits[static_cast<size_t>(nCol)] < 0;
}

bool CGridCtrl::FitsColumnLimit(int nCol, const CString& text) const {
  const int limit = GetColumnTextLimit(nCol);
  // Fewer bytes than the limit are fewer characters too.
  if (limit <= 0 || text.GetLength() <= limit) return true;
  std::string_view s(text.GetString(), static_cast<size_t>(text.GetLength()));
  size_t end = 0;
  for (int n = 0; n < limit && end < s.size(); ++n) platform::decodeUtf8(s, end);
  return end >= s.size();
}

void CGridCtrl::OnLongTextRefused(int, int) { MessageBeep(0); }

CString CGridCtrl::LimitColumnText(int nCol, const CString& text) const {
  int limit = GetColumnTextLimit(nCol);
  // Fewer bytes than the limit are fewer characters too.
  if (limit <= 0 || text.GetLength() <= limit || RefusesLongerText(nCol)) return text;
  std::string_view s(text.GetString(), static_cast<size_t>(text.GetLength()));
  size_t end = 0;
  for (int n = 0; n < limit && end < s.size(); ++n) platform::decodeUtf8(s, end);
  return CString(text.GetString(), static_cast<int>(end));
}

// ---- cells --------------------------------------------------------------------------

CGridCell* CGridCtrl::CreateCell(int nRow, int nCol) {
  auto* cell = new (std::nothrow) CGridCell;
  if (!cell) return nullptr;
  if (nRow > 0 && nCol >= 0 && nCol < m_nCols)
    if (CGridCell* above = GetCell(nRow - 1, nCol)) cell->nFormat = above->nFormat;
  cell->lfFont = m_Logfont;
  return cell;
}

void CGridCtrl::EmptyCell(CGridCell* pCell, int, int) {
  if (!pCell) return;
  pCell->state = 0;
  pCell->szText.Empty();
}

CGridCell* CGridCtrl::GetCell(int nRow, int nCol) const {
  if (!IsValid(nRow, nCol) || nRow >= static_cast<int>(m_RowData.size())) return nullptr;
  const GridRow* row = m_RowData[static_cast<size_t>(nRow)].get();
  if (!row || nCol >= static_cast<int>(row->size())) return nullptr;
  return (*row)[static_cast<size_t>(nCol)].get();
}

BOOL CGridCtrl::IsValid(const CCellRange& range) const {
  return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 && range.GetMaxCol() >= 0 &&
         range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols && range.GetMinRow() <= range.GetMaxRow() &&
         range.GetMinCol() <= range.GetMaxCol();
}

BOOL CGridCtrl::SetItem(const GV_ITEM* pItem) {
  if (!pItem) return FALSE;
  CGridCell* cell = GetCell(pItem->row, pItem->col);
  if (!cell) return FALSE;
  if (pItem->mask & GVIF_TEXT) SetItemText(pItem->row, pItem->col, pItem->szText);
  if (pItem->mask & GVIF_PARAM) cell->lParam = pItem->lParam;
  if (pItem->mask & GVIF_IMAGE) cell->iImage = pItem->iImage;
  if (pItem->mask & GVIF_STATE) cell->state = pItem->state;
  if (pItem->mask & GVIF_FORMAT) cell->nFormat = pItem->nFormat;
  if (pItem->mask & GVIF_BKCLR) cell->crBkClr = pItem->crBkClr;
  if (pItem->mask & GVIF_FGCLR) cell->crFgClr = pItem->crFgClr;
  return TRUE;
}

BOOL CGridCtrl::GetItem(GV_ITEM* pItem) const {
  if (!pItem) return FALSE;
  const CGridCell* cell = GetCell(pItem->row, pItem->col);
  if (!cell) return FALSE;
  if (pItem->mask & GVIF_TEXT) pItem->szText = GetItemText(pItem->row, pItem->col);
  if (pItem->mask & GVIF_PARAM) pItem->lParam = cell->lParam;
  if (pItem->mask & GVIF_IMAGE) pItem->iImage = cell->iImage;
  if (pItem->mask & GVIF_STATE) pItem->state = cell->state;
  if (pItem->mask & GVIF_FORMAT) pItem->nFormat = cell->nFormat;
  if (pItem->mask & GVIF_BKCLR) pItem->crBkClr = cell->crBkClr;
  if (pItem->mask & GVIF_FGCLR) pItem->crFgClr = cell->crFgClr;
  return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->szText = str ? str : "";
  return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->szText : CString();
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->lParam = lParam;
  return TRUE;
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->lParam : 0;
}

BOOL CGridCtrl::SetItemImage(int nRow, int nCol, int iImage) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->iImage = iImage;
  return TRUE;
}

int CGridCtrl::GetItemImage(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->iImage : -1;
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  // The selection map follows the selected bit.
  bool selected = (state & GVIS_SELECTED) != 0;
  if (selected != ((cell->state & GVIS_SELECTED) != 0)) {
    if (selected)
      m_SelectedCellMap[CellKey(nRow, nCol)] = CCellID(nRow, nCol);
    else
      m_SelectedCellMap.erase(CellKey(nRow, nCol));
  }
  cell->state = state;
  return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->state : 0;
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, UINT nFormat) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->nFormat = nFormat;
  return TRUE;
}

UINT CGridCtrl::GetItemFormat(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->nFormat : static_cast<UINT>(-1);
}

BOOL CGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF cr) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->crBkClr = cr;
  return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->crBkClr : CLR_DEFAULT;
}

BOOL CGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF cr) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  cell->crFgClr = cr;
  return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? cell->crFgClr : CLR_DEFAULT;
}

COLORREF CGridCtrl::EffectiveBkColour(int nRow, int nCol) const {
  COLORREF own = GetItemBkColour(nRow, nCol);
  if (own != CLR_DEFAULT) return own;
  return IsCellFixed(nRow, nCol) ? m_crFixedBkColour : m_crTextBkColour;
}

COLORREF CGridCtrl::EffectiveFgColour(int nRow, int nCol) const {
  COLORREF own = GetItemFgColour(nRow, nCol);
  if (own != CLR_DEFAULT) return own;
  return IsCellFixed(nRow, nCol) ? m_crFixedTextColour : m_crTextColour;
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* lf) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell || !lf) return FALSE;
  cell->lfFont = *lf;
  return TRUE;
}

const LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell ? &cell->lfFont : &m_Logfont;
}

BOOL CGridCtrl::SetItemReadOnly(int nRow, int nCol, BOOL bReadOnly) {
  CGridCell* cell = GetCell(nRow, nCol);
  if (!cell) return FALSE;
  if (bReadOnly)
    cell->state |= GVIS_READONLY;
  else
    cell->state &= ~static_cast<UINT>(GVIS_READONLY);
  return TRUE;
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell && m_bEditable && !(cell->state & GVIS_READONLY);
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const {
  const CGridCell* cell = GetCell(nRow, nCol);
  return cell && (cell->state & GVIS_SELECTED);
}

BOOL CGridCtrl::IsCellEmpty(int nRow, int nCol) const {
  CString text = GetItemText(nRow, nCol);
  text.Trim(' ');
  return text.IsEmpty();
}

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol) {
  if (nRow >= 0 && nCol >= 0) {
    CGridCell* cell = GetCell(nRow, nCol);
    if (!cell) return;
    if (bModified) {
      cell->state |= GVIS_MODIFIED;
      m_bModified = TRUE;
    } else {
      cell->state &= ~static_cast<UINT>(GVIS_MODIFIED);
    }
    return;
  }
  m_bModified = bModified;
  if (!bModified)
    for (int r = 0; r < m_nRows; ++r)
      for (int c = 0; c < m_nCols; ++c)
        if (CGridCell* cell = GetCell(r, c)) cell->state &= ~static_cast<UINT>(GVIS_MODIFIED);
}

BOOL CGridCtrl::GetModified(int nRow, int nCol) const {
  if (nRow >= 0 && nCol >= 0) return (GetItemState(nRow, nCol) & GVIS_MODIFIED) != 0;
  return m_bModified;
}

void CGridCtrl::SetGridLines(int nWhichLines) {
  m_nGridLines = nWhichLines;
  if (m_hWnd) Invalidate();
}

void CGridCtrl::SetListMode(BOOL bEnableListMode) {
  ResetSelectedRange();
  m_bListMode = bEnableListMode;
  if (m_hWnd) Invalidate();
}

void CGridCtrl::EnableSelection(BOOL bEnable) {
  ResetSelectedRange();
  m_bEnableSelection = bEnable;
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars) {
  if (bAllowDraw && !m_bAllowDraw && m_hWnd) {
    if (bResetScrollBars) ResetScrollBars();
    Invalidate();
  }
  m_bAllowDraw = bAllowDraw;
}

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) {
  if (!m_hWnd) return 0;
  NM_GRIDVIEW nm{};
  nm.iRow = nRow;
  nm.iColumn = nCol;
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  nm.hdr.code = static_cast<UINT>(nMessage);
  CWnd* owner = GetOwner();
  if (owner && owner->GetSafeHwnd())
    return owner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  return 0;
}

// ---- sorting ------------------------------------------------------------------------

namespace {

// A cell text as a sort key: numbers by value, before any text; texts by their bytes.
struct SortKey {
  bool number;
  double value;
  const char* text;
};

SortKey makeKey(const CString& text) {
  SortKey k{false, 0, text.GetString()};
  const char* s = k.text;
  while (*s == ' ') ++s;
  if (*s) {
    char* end = nullptr;
    double v = std::strtod(s, &end);
    while (end && *end == ' ') ++end;
    if (end && *end == '\0' && end != s) {
      k.number = true;
      k.value = v;
    }
  }
  return k;
}

bool keyLess(const SortKey& a, const SortKey& b) {
  if (a.number != b.number) return a.number;
  if (a.number) return a.value < b.value;
  return std::strcmp(a.text, b.text) < 0;
}

}  // namespace

BOOL CGridCtrl::SortTextItems(int nCol, BOOL bAscending) {
  if (nCol < 0 || nCol >= m_nCols) return FALSE;
  EndEditing();
  if (m_nRows - m_nFixedRows < 2) {
    m_SortColumn = nCol;
    m_bAscending = bAscending;
    return TRUE;
  }
  CCellID focus = m_idCurrentCell;
  SetFocusCell(-1, -1);
  ResetSelectedRange();
  struct Entry {
    SortKey key;
    size_t index;
  };
  size_t first = static_cast<size_t>(m_nFixedRows);
  size_t n = static_cast<size_t>(m_nRows) - first;
  std::vector<Entry> order(n);
  for (size_t i = 0; i < n; ++i) {
    const CGridCell* cell = (*m_RowData[first + i])[static_cast<size_t>(nCol)].get();
    static const CString empty;
    order[i] = Entry{makeKey(cell ? cell->szText : empty), first + i};
  }
  if (bAscending)
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) { return keyLess(a.key, b.key); });
  else
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) { return keyLess(b.key, a.key); });
  std::vector<std::unique_ptr<GridRow>> rows(n);
  std::vector<UINT> heights(n);
  for (size_t i = 0; i < n; ++i) {
    rows[i] = std::move(m_RowData[order[i].index]);
    heights[i] = m_arRowHeights[order[i].index];
  }
  for (size_t i = 0; i < n; ++i) {
    m_RowData[first + i] = std::move(rows[i]);
    m_arRowHeights[first + i] = heights[i];
  }
  m_RowTops.invalidate();
  m_SortColumn = nCol;
  m_bAscending = bAscending;
  if (focus.IsValid()) SetFocusCell(focus);
  if (m_hWnd) Invalidate();
  return TRUE;
}

// ---- printing: not done -------------------------------------------------------------

void CGridCtrl::OnBeginPrinting(CDC*, void*) {}
void CGridCtrl::OnPrint(CDC*, void*) {}
void CGridCtrl::OnEndPrinting(CDC*, void*) {}
void CGridCtrl::PrintColumnHeadings(CDC*, void*) {}
void CGridCtrl::PrintHeader(CDC*, void*) {}
void CGridCtrl::PrintFooter(CDC*, void*) {}

CImageList* CGridCtrl::CreateDragImage(CPoint* pHotSpot) {
  // The focus cell as it is drawn, on the text background, which is the
  // image's mask colour.
  CRect cellRect;
  if (!IsValid(m_idCurrentCell) || !GetCellRect(m_idCurrentCell, &cellRect)) return nullptr;
  int width = GetColumnWidth(m_idCurrentCell.col), height = GetRowHeight(m_idCurrentCell.row);
  if (width <= 0 || height <= 0) return nullptr;
  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(nullptr) || !bitmap.CreateCompatibleBitmap(&memDC, width, height)) return nullptr;
  CBitmap* old = memDC.SelectObject(&bitmap);
  memDC.FillSolidRect(0, 0, width, height, m_crTextBkColour);
  DrawCell(&memDC, m_idCurrentCell.row, m_idCurrentCell.col, CRect(0, 0, width - 1, height - 1), TRUE);
  memDC.SelectObject(old);
  auto list = std::make_unique<CImageList>();
  if (!list->Create(width, height, ILC_MASK, 1, 1) || list->Add(&bitmap, m_crTextBkColour) < 0) return nullptr;
  if (pHotSpot) *pHotSpot = CPoint(width, height);
  return list.release();
}
