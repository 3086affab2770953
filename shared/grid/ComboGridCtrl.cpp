// The grid with drop-down lists in some columns.
#include "grid/ComboGridCtrl.h"

#include "grid/InPlaceEdit.h"

void CComboGridCtrl::SetColumnChoices(int nCol, const CStringArray& items, DWORD style) {
  Choices c{{}, style};
  for (INT_PTR i = 0; i < items.GetSize(); ++i) c.items.push_back(items[i]);
  m_choices[nCol] = std::move(c);
}

void CComboGridCtrl::ClearColumnChoices(int nCol) { m_choices.erase(nCol); }

BOOL CComboGridCtrl::GetCellChoices(int nRow, int nCol, CStringArray& items, DWORD& style) {
  if (nRow < GetFixedRowCount()) return FALSE;
  auto it = m_choices.find(nCol);
  if (it == m_choices.end()) return FALSE;
  items.RemoveAll();
  for (const CString& s : it->second.items) items.Add(s);
  style = it->second.style;
  return TRUE;
}

CWnd* CComboGridCtrl::CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                               LPCTSTR szText, int nChar) {
  CStringArray items;
  DWORD style = CBS_DROPDOWNLIST;
  if (!GetCellChoices(nRow, nCol, items, style))
    return CGridCtrl::CreateInPlaceEditControl(rect, dwStyle, nID, nRow, nCol, szText, nChar);
  CRect r = rect;
  auto* list = new CInPlaceList(this, r, style, nID, nRow, nCol, items, szText, static_cast<UINT>(nChar));
  if (!list->GetSafeHwnd()) {
    delete list;
    return nullptr;
  }
  m_hEditWnd = list->GetSafeHwnd();
  return list;
}
