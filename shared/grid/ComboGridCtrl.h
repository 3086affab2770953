#pragma once
// CComboGridCtrl: a grid whose columns may offer a list of choices. A cell of
// such a column is edited in a CInPlaceList (a drop-down list, or a drop-down
// with an edit field); other cells in the grid's ordinary edit.

#include <map>
#include <vector>

#include "grid/GridCtrl.h"

class CComboGridCtrl : public CGridCtrl {
 public:
  explicit CComboGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0)
      : CGridCtrl(nRows, nCols, nFixedRows, nFixedCols) {}

  // Column `nCol` offers `items`; `style` CBS_DROPDOWNLIST (choose only) or
  // CBS_DROPDOWN (choose or type).
  void SetColumnChoices(int nCol, const CStringArray& items, DWORD style = CBS_DROPDOWNLIST);
  void ClearColumnChoices(int nCol);

  CWnd* CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol, LPCTSTR szText,
                                 int nChar) override;
  // The choices a cell offers (false: the cell is edited as text).
  virtual BOOL GetCellChoices(int nRow, int nCol, CStringArray& items, DWORD& style);

 private:
  struct Choices {
    std::vector<CString> items;
    DWORD style;
  };
  std::map<int, Choices> m_choices;
};
