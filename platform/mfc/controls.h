#pragma once
// The class library's objects of the standard controls: CEdit, CButton,
// CStatic, CComboBox, CSpinButtonCtrl (up-down) and CScrollBar. They keep no
// data of their own: each call is a message to the control (win/winuser.h),
// so a temporary object from FromHandle serves as well as a member object.

#include "mfc/wnd.h"

class PLATFORM_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void GetSel(int& start, int& end) const;
  DWORD GetSel() const;
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void SetSel(DWORD selection, BOOL noScroll = FALSE);
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  void SetLimitText(UINT max);
  void LimitText(int chars = 0) { SetLimitText(static_cast<UINT>(chars)); }
  UINT GetLimitText() const;
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  int GetLineCount() const;
  int LineIndex(int line = -1) const;
  int LineLength(int line = -1) const;
  int GetLine(int index, LPTSTR buffer, int maxLength) const;
  BOOL CanUndo() const;
  BOOL Undo();
  void EmptyUndoBuffer();
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  void SetMargins(UINT left, UINT right);
};

class PLATFORM_API CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(BOOL highlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class PLATFORM_API CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class PLATFORM_API CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int select);
  // Sorted into a CBS_SORT list, else at the end.
  int AddString(LPCTSTR text);
  // At `index` (-1: the end), never sorted.
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetLBText(int index, LPTSTR buffer) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  int SetItemDataPtr(int index, void* data);
  void* GetItemDataPtr(int index) const;
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  void GetDroppedControlRect(LPRECT rect) const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  int SetDroppedWidth(UINT width);
  int GetDroppedWidth() const;
  BOOL LimitText(int max);
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
  void SetHorizontalExtent(UINT extent);
  UINT GetHorizontalExtent() const;
  int SetTopIndex(int index);
  int GetTopIndex() const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class PLATFORM_API CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)

 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(short lower, short upper);
  void GetRange(int& lower, int& upper) const;
  void SetRange32(int lower, int upper);
  void GetRange32(int& lower, int& upper) const;
  int SetPos(int pos);
  int GetPos() const;
  int SetPos32(int pos);
  int GetPos32(BOOL* error = nullptr) const;
  CWnd* SetBuddy(CWnd* buddy);
  CWnd* GetBuddy() const;
  int SetBase(int base);
  UINT GetBase() const;
};

class PLATFORM_API CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)

 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetScrollPos() const;
  int SetScrollPos(int pos, BOOL redraw = TRUE);
  void GetScrollRange(LPINT minPos, LPINT maxPos) const;
  void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
  BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);
};
