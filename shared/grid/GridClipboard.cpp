// Cell texts to and from the clipboard, and text dropped on a cell.
//
// The clipboard text of a selection: its rows one per line ("\n", none after
// the last), the cells of a row separated by tabs; an empty selected cell
// gives one blank, a cell of the range that is not selected nothing.
//
// Pasting cuts each line into tokens at tabs and commas (a run of them is
// one separator) and writes them to the cells to the right of the target,
// one line per row. A read-only cell keeps its text and its token is dropped,
// so the columns stay aligned; text past the last row or column is dropped.
// A token longer than its column takes is cut there, or, in a column that
// refuses longer texts, not taken (the cell kept, OnLongTextRefused told).
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "grid/GridCtrl.h"
#include "mfc/memfile.h"
#include "mfc/treectrl.h"
#include "win/globalmem.h"

// ---- copy and cut ----------------------------------------------------------------------

COleDataSource* CGridCtrl::CopyTextFromGrid() {
  CCellRange selection = GetSelectedCellRange();
  if (!IsValid(selection)) return nullptr;
  CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 4096);
  for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); ++row) {
    for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); ++col) {
      if (const CGridCell* cell = GetCell(row, col); cell && (cell->state & GVIS_SELECTED)) {
        const CString& text = cell->szText.IsEmpty() ? CString(" ") : cell->szText;
        file.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
      }
      if (col != selection.GetMaxCol()) file.Write("\t", 1);
    }
    if (row != selection.GetMaxRow()) file.Write("\n", 1);
  }
  file.Write("", 1);
  HGLOBAL block = file.Detach();
  if (!block) return nullptr;
  auto* source = new COleDataSource;
  source->CacheGlobalData(CF_TEXT, block);
  return source;
}

void CGridCtrl::CutSelectedText() {
  if (!IsEditable()) return;
  std::vector<CCellID> cells;
  cells.reserve(m_SelectedCellMap.size());
  for (const auto& [key, id] : m_SelectedCellMap) cells.push_back(id);
  for (const CCellID& id : cells) {
    CGridCell* cell = GetCell(id.row, id.col);
    if (!cell || (cell->state & GVIS_READONLY)) continue;
    // A cell that was empty is not changed by the cut; one edited before
    // keeps its mark.
    const bool changes = EmptyingChangesCell(id.row, id.col) || GetModified(id.row, id.col);
    SendMessageToParent(id.row, id.col, GVN_BEGINLABELEDIT);
    // Emptying clears the state too: the cell leaves the selection.
    m_SelectedCellMap.erase(CellKey(id.row, id.col));
    EmptyCell(cell, id.row, id.col);
    if (changes) SetModified(TRUE, id.row, id.col);
    SendMessageToParent(id.row, id.col, GVN_ENDLABELEDIT);
  }
  if (m_hWnd) Invalidate();
}

void CGridCtrl::OnEditCopy() {
  if (COleDataSource* source = CopyTextFromGrid()) source->SetClipboard();
}

void CGridCtrl::OnEditCut() {
  if (!IsEditable()) return;
  COleDataSource* source = CopyTextFromGrid();
  if (!source) return;
  source->SetClipboard();
  CutSelectedText();
}

void CGridCtrl::OnEditSelectAll() {
  if (m_bEnableSelection) SelectAllCells();
}

BOOL CGridCtrl::CanCopy() const { return GetSelectedCount() > 0 && IsValid(GetSelectedCellRange()); }
BOOL CGridCtrl::CanCut() const { return IsEditable() && CanCopy(); }
BOOL CGridCtrl::CanPaste() const {
  return IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell) && IsClipboardFormatAvailable(CF_TEXT);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(CanSelectAll()); }
void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(CanCopy()); }
void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI) { pCmdUI->Enable(CanCut()); }
void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(CanPaste()); }

// ---- paste -------------------------------------------------------------------------------

namespace {

bool isSeparator(char c) { return c == '\t' || c == ',' || c == '\n'; }
bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The tokens of one line: cut at tabs and commas, empty tokens dropped, each trimmed.
std::vector<std::string> lineTokens(const std::string& line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSeparator(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !isSeparator(line[i])) ++i;
    if (i == start) break;
    std::string token = line.substr(start, i - start);
    size_t b = 0, e = token.size();
    while (b < e && isTrimmed(token[b])) ++b;
    while (e > b && isTrimmed(token[e - 1])) --e;
    tokens.push_back(token.substr(b, e - b));
  }
  return tokens;
}

}  // namespace

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* pDataObject) {
  if (!IsValid(cell) || !IsCellEditable(cell) || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT)) return FALSE;
  HGLOBAL block = pDataObject->GetGlobalData(CF_TEXT);
  if (!block) return FALSE;
  std::string text;
  if (const char* p = static_cast<const char*>(GlobalLock(block))) {
    size_t size = GlobalSize(block);
    // The text ends at its first zero byte or at the block's end.
    text.assign(p, strnlen(p, size));
    GlobalUnlock(block);
  }
  GlobalFree(block);

  // Lines end at "\n"; a line end at the very end starts no further line.
  std::vector<std::string> lines;
  size_t from = 0;
  while (from <= text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) {
      if (from < text.size()) lines.push_back(text.substr(from));
      break;
    }
    lines.push_back(text.substr(from, end - from));
    from = end + 1;
  }

  int row = cell.row;
  // The first cell whose text was refused as too long for its column.
  CCellID refused;
  for (const std::string& line : lines) {
    if (row >= m_nRows) break;
    std::vector<std::string> tokens = lineTokens(line.empty() ? std::string(" ") : line);
    int col = cell.col;
#ifdef PELLORY_BUILD
    bool wroteDifference = false, wroteElevation = false;
#endif
    for (const std::string& token : tokens) {
      if (col >= m_nCols) break;
      CGridCell* target = GetCell(row, col);
      const CString tokenText(token.c_str(), static_cast<int>(token.size()));
      if (target && !(target->state & GVIS_READONLY) && RefusesLongerText(col) && !FitsColumnLimit(col, tokenText)) {
        // Too long for a column that refuses what it cannot take whole: the
        // cell keeps its text, the columns stay aligned.
        if (!refused.IsValid()) refused = CCellID(row, col);
      } else if (target && !(target->state & GVIS_READONLY)) {
        SendMessageToParent(row, col, GVN_BEGINLABELEDIT);
        SetItemText(row, col, LimitColumnText(col, tokenText));
        SetModified(TRUE, row, col);
        SendMessageToParent(row, col, GVN_ENDLABELEDIT);
        SetSelectedCell(row, col, false);
#ifdef PELLORY_BUILD
        if (col == 1) wroteDifference = true;
        if (col == 2) wroteElevation = true;
#endif
      }
      ++col;
    }
#ifdef PELLORY_BUILD
    // The ground-point table keeps its partner columns in step with what was pasted.
    if (row >= m_nFixedRows && m_nCols > 2) {
      if (wroteDifference && !wroteElevation)
        RecalcPartnerColumn(row, 1);
      else if (wroteElevation && !wroteDifference)
        RecalcPartnerColumn(row, 2);
    }
#endif
    ++row;
  }
  if (m_hWnd) Invalidate();
  if (refused.IsValid()) OnLongTextRefused(refused.row, refused.col);
  return TRUE;
}

void CGridCtrl::OnEditPaste() {
  if (!IsEditable()) return;
  CCellID cell = m_idCurrentCell;
  if (!IsValid(cell)) cell = GetSelectedCellRange().GetTopLeft();
  if (!IsValid(cell)) return;
  COleDataObject data;
  data.AttachClipboard();
  PasteTextToGrid(cell, &data);
}

// ---- drag and drop ---------------------------------------------------------------------------

namespace {
DROPEFFECT effectFor(DWORD keyState) { return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }
}  // namespace

void CGridCtrl::OnBeginDrag() {
  if (!m_bAllowDragAndDrop) return;
  std::unique_ptr<COleDataSource> source(CopyTextFromGrid());
  if (!source) {
    m_MouseMode = MOUSE_NOTHING;
    return;
  }
  m_MouseMode = MOUSE_DRAGGING;
  m_TitleTip.Hide();
  // The focus cell's picture goes with the mouse, the mouse at its lower-right corner.
  CPoint hotSpot;
  std::unique_ptr<CImageList> image(CreateDragImage(&hotSpot));
  if (image) {
    CPoint screen = m_LastMousePoint;
    ClientToScreen(&screen);
    image->BeginDrag(0, hotSpot);
    CImageList::DragEnter(nullptr, screen);
  }
  HWND self = m_hWnd;
  DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  if (image) {
    CImageList::DragLeave(nullptr);
    CImageList::EndDrag();
  }
  if (!::IsWindow(self)) return;
  // The drag took the button's release: the gesture ends here.
  m_MouseMode = MOUSE_NOTHING;
  if (GetCapture() == this) ReleaseCapture();
  // A move takes the text away as Cut does. The cells a drop on this grid
  // wrote have left the selection, so they keep what was dropped.
  if (effect == DROPEFFECT_MOVE) CutSelectedText();
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!m_bAllowDragAndDrop || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
  m_LastDragOverCell = GetCellFromPt(point);
  if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell)) return DROPEFFECT_NONE;
  if (CGridCell* cell = GetCell(m_LastDragOverCell.row, m_LastDragOverCell.col)) cell->state |= GVIS_DROPHILITED;
  RedrawCell(m_LastDragOverCell);
  return effectFor(dwKeyState);
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
  if (!m_bAllowDragAndDrop || !IsEditable() || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
    return DROPEFFECT_NONE;
  CCellID cell = GetCellFromPt(point);
  auto clearLast = [this] {
    if (CGridCell* last = GetCell(m_LastDragOverCell.row, m_LastDragOverCell.col)) {
      last->state &= ~static_cast<UINT>(GVIS_DROPHILITED);
      RedrawCell(m_LastDragOverCell);
    }
  };
  if (!IsValid(cell)) {
    clearLast();
    m_LastDragOverCell = CCellID(-1, -1);
    return DROPEFFECT_NONE;
  }
  if (!IsCellEditable(cell)) return DROPEFFECT_NONE;
  if (cell != m_LastDragOverCell) {
    clearLast();
    m_LastDragOverCell = cell;
    if (CGridCell* now = GetCell(cell.row, cell.col)) now->state |= GVIS_DROPHILITED;
    RedrawCell(cell);
  }
  return effectFor(dwKeyState);
}

void CGridCtrl::OnDragLeave() {
  if (CGridCell* last = GetCell(m_LastDragOverCell.row, m_LastDragOverCell.col)) {
    last->state &= ~static_cast<UINT>(GVIS_DROPHILITED);
    RedrawCell(m_LastDragOverCell);
  }
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT, CPoint) {
  if (!m_bAllowDragAndDrop || !IsCellEditable(m_LastDragOverCell)) return FALSE;
  m_MouseMode = MOUSE_NOTHING;
  OnDragLeave();
  return PasteTextToGrid(m_LastDragOverCell, pDataObject);
}

// ---- the drop target -----------------------------------------------------------------------

CGridDropTarget::~CGridDropTarget() { Revoke(); }

BOOL CGridDropTarget::Register(CGridCtrl* grid) {
  if (!grid || !grid->GetSafeHwnd()) return FALSE;
  if (!platform::registerDropTarget(grid->GetSafeHwnd(), this)) return FALSE;
  m_pGridCtrl = grid;
  m_hRegistered = grid->GetSafeHwnd();
  return TRUE;
}

void CGridDropTarget::Revoke() {
  m_pGridCtrl = nullptr;
  if (m_hRegistered) platform::revokeDropTarget(m_hRegistered);
  m_hRegistered = nullptr;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) {
  if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragEnter(data, keyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) {
  if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragOver(data, keyState, point);
}

BOOL CGridDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) {
  if (!m_pGridCtrl || wnd != m_pGridCtrl) return FALSE;
  return m_pGridCtrl->OnDrop(data, effect, point);
}

void CGridDropTarget::OnDragLeave(CWnd* wnd) {
  if (m_pGridCtrl && wnd == m_pGridCtrl) m_pGridCtrl->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint) {
  if (!m_pGridCtrl || wnd != m_pGridCtrl) return DROPEFFECT_NONE;
  return effectFor(keyState);
}

DROPEFFECT CGridDropTarget::DragEnter(HWND window, COleDataObject& data, DWORD keyState, POINT point) {
  return OnDragEnter(CWnd::FromHandle(window), &data, keyState, CPoint(point));
}
DROPEFFECT CGridDropTarget::DragOver(HWND window, COleDataObject& data, DWORD keyState, POINT point) {
  return OnDragOver(CWnd::FromHandle(window), &data, keyState, CPoint(point));
}
void CGridDropTarget::DragLeave(HWND window) { OnDragLeave(CWnd::FromHandle(window)); }
BOOL CGridDropTarget::Drop(HWND window, COleDataObject& data, DROPEFFECT effect, POINT point) {
  return OnDrop(CWnd::FromHandle(window), &data, effect, CPoint(point));
}
DROPEFFECT CGridDropTarget::DragScroll(HWND window, DWORD keyState, POINT point) {
  return OnDragScroll(CWnd::FromHandle(window), keyState, CPoint(point));
}
