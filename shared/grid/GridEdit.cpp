// The grid's side of in-place editing: starting an edit over a cell, storing
// the text an editor hands back, and going on by the key that ended it.
#include <algorithm>

#include "grid/GridCtrl.h"
#include "grid/InPlaceEdit.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, UINT nChar) {
  EnsureVisible(nRow, nCol);
  if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol) || !IsCellVisible(nRow, nCol)) return;
  CRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return;
  SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT);
  GV_ITEM item;
  item.row = nRow;
  item.col = nCol;
  item.mask = GVIF_TEXT | GVIF_FORMAT;
  if (!GetItem(&item)) return;
  DWORD style = ES_LEFT;
  if (item.nFormat & DT_RIGHT)
    style = ES_RIGHT;
  else if (item.nFormat & DT_CENTER)
    style = ES_CENTER;
  // The editor covers the cell's pixels exactly, as far as the grid shows
  // them (a cell wider than the grid gets an editor as wide as the grid).
  CRect editRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
  CRect client;
  GetClientRect(&client);
  editRect.right = std::min(editRect.right, std::max(client.right, editRect.left + 1));
  editRect.bottom = std::min(editRect.bottom, std::max(client.bottom, editRect.top + 1));
  CWnd* editor =
      CreateInPlaceEditControl(editRect, style, IDC_INPLACE_CONTROL, nRow, nCol, item.szText, static_cast<int>(nChar));
  // The editor takes no more than the column does.
  if (auto* edit = dynamic_cast<CInPlaceEdit*>(editor))
    edit->SetMaxChars(GetColumnTextLimit(nCol), RefusesLongerText(nCol));
}

CWnd* CGridCtrl::CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                          LPCTSTR szText, int nChar) {
  CRect r = rect;
  auto* editor = new CInPlaceEdit(this, r, dwStyle, nID, nRow, nCol, szText, static_cast<UINT>(nChar));
  if (!editor->GetSafeHwnd()) {
    delete editor;
    return nullptr;
  }
  m_hEditWnd = editor->GetSafeHwnd();
  return editor;
}

CWnd* CGridCtrl::GetEditWindow() const {
  if (!m_hEditWnd || !::IsWindow(m_hEditWnd)) return nullptr;
  return CWnd::FromHandle(m_hEditWnd);
}

void CGridCtrl::EndEditing() {
  if (!m_hWnd || !m_hEditWnd || !::IsWindow(m_hEditWnd)) return;
  HWND focus = ::GetFocus();
  // The editor (or the field inside a list) has the focus: taking it ends the edit.
  if (focus == m_hEditWnd || ::IsChild(m_hEditWnd, focus)) SetFocus();
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  auto* info = reinterpret_cast<GV_DISPINFO*>(pNMHDR);
  GV_ITEM* item = &info->item;
  if (pNMHDR->hwndFrom == m_hEditWnd) m_hEditWnd = nullptr;
  OnEndEditCell(item->row, item->col, item->szText);
  RedrawCell(item->row, item->col);
  SendMessageToParent(item->row, item->col, GVN_ENDLABELEDIT);
  UINT key = static_cast<UINT>(item->lParam);
  if (key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN)) {
    OnKeyDown(key, 1, 0);
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, key);
  }
}

#ifndef PELLORY_BUILD
void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
  if (GetItemText(nRow, nCol) != str) {
    // A column that refuses a longer text keeps the cell as it was.
    if (RefusesLongerText(nCol) && !FitsColumnLimit(nCol, str)) {
      OnLongTextRefused(nRow, nCol);
      return;
    }
    // What the user brought in is cut to the column's limit; a text left as
    // it was stays whole.
    str = LimitColumnText(nCol, str);
    SetItemText(nRow, nCol, str);
    SetModified(TRUE, nRow, nCol);
  }
}
#endif
