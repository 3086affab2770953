#pragma once
// The editors a grid lays over a cell while it is edited: CInPlaceEdit (a
// single-line edit), CInPlaceList (a combo box offering a list of choices,
// used by CComboGridCtrl) and CComboEdit (the edit field inside such a list).
//
// An editor is made on the heap by the grid as its child with id 8, takes the
// focus, and ends when it loses the focus: it then sends the grid a WM_NOTIFY
// (code -106, the cell, its text and the key that ended it: 0 when the focus
// went elsewhere by a click), closes its window and deletes itself. Its exit
// keys only give the focus back to the grid.

#include "grid/GridCell.h"
#include "mfc/collections.h"

class CInPlaceEdit : public CEdit {
 public:
  CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, CString sInitText,
               UINT nFirstChar);
  ~CInPlaceEdit() override = default;

  void EndEdit();
  int GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nColumn; }
  UINT GetExitKey() const { return m_nLastChar; }
  // The most characters the user may bring the text to (0: no limit): a
  // character typed past it is refused, a paste cut there (or, with
  // `refuseLonger`, refused whole: the text stays as before the paste). A
  // longer text the edit began with is left as it is until the user shortens it.
  void SetMaxChars(int nMaxChars, bool refuseLonger = false);
  int GetMaxChars() const { return m_nMaxChars; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();

 protected:
  void PostNcDestroy() override;

 private:
  int m_nRow;
  int m_nColumn;
  CString m_sInitText;
  UINT m_nLastChar = 0;
  BOOL m_bExitOnArrows;
  CRect m_Rect;
  bool m_bEnded = false;
  int m_nMaxChars = 0;
  bool m_bRefuseLonger = false;

  DECLARE_MESSAGE_MAP()
};

class CInPlaceList;

class CComboEdit : public CEdit {
 public:
  BOOL PreTranslateMessage(MSG* pMsg) override;
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);

 private:
  CWnd* OwningList() const;
  DECLARE_MESSAGE_MAP()
};

class CInPlaceList : public CComboBox {
 public:
  CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, const CStringArray& Items,
               CString sInitText, UINT nFirstChar);
  ~CInPlaceList() override = default;

  void EndEdit();
  int GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nCol; }
  UINT GetExitKey() const { return m_nLastChar; }

  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);

  CComboEdit m_edit;

 protected:
  void PostNcDestroy() override;

 private:
  CString m_sInitText;
  int m_nNumLines = 4;
  int m_nRow;
  int m_nCol;
  UINT m_nLastChar = 0;
  BOOL m_bExitOnArrows = FALSE;
  bool m_bEnded = false;

  DECLARE_MESSAGE_MAP()
};
