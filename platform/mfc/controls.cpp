#include "mfc/controls.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

// FromHandle makes temporary objects of these kinds for the standard controls.
struct Kinds {
  Kinds() {
    platform::afx::registerTemporaryKind("Edit", []() -> CWnd* { return new CEdit; });
    platform::afx::registerTemporaryKind("Button", []() -> CWnd* { return new CButton; });
    platform::afx::registerTemporaryKind("Static", []() -> CWnd* { return new CStatic; });
    platform::afx::registerTemporaryKind("ComboBox", []() -> CWnd* { return new CComboBox; });
    platform::afx::registerTemporaryKind(UPDOWN_CLASS, []() -> CWnd* { return new CSpinButtonCtrl; });
    platform::afx::registerTemporaryKind("ScrollBar", []() -> CWnd* { return new CScrollBar; });
  }
};
const Kinds g_kinds;

}  // namespace

// --- CEdit ------------------------------------------------------------------------------

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("Edit", nullptr, style, rect, parent, id);
}
void CEdit::GetSel(int& start, int& end) const {
  DWORD a = 0, b = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  start = static_cast<int>(a);
  end = static_cast<int>(b);
}
DWORD CEdit::GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
void CEdit::SetSel(int start, int end, BOOL noScroll) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
  if (!noScroll) SendMessage(EM_SCROLLCARET);
}
void CEdit::SetSel(DWORD selection, BOOL noScroll) {
  SetSel(static_cast<short>(LOWORD(selection)), static_cast<short>(HIWORD(selection)), noScroll);
}
void CEdit::ReplaceSel(LPCTSTR text, BOOL canUndo) {
  SendMessage(EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}
void CEdit::SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) {
  return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly)));
}
BOOL CEdit::GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
void CEdit::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(modified)); }
int CEdit::GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
int CEdit::LineIndex(int line) const { return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); }
int CEdit::LineLength(int line) const {
  return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(line)));
}
int CEdit::GetLine(int index, LPTSTR buffer, int maxLength) const {
  if (!buffer || maxLength < 2) return 0;
  *reinterpret_cast<WORD*>(buffer) = static_cast<WORD>(maxLength);
  return static_cast<int>(SendMessage(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CEdit::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
void CEdit::SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, 3, MAKELONG(left, right)); }

// --- CButton ----------------------------------------------------------------------------

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("Button", caption, style, rect, parent, id);
}
int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL highlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight)); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }
HICON CButton::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP)); }

// --- CStatic ----------------------------------------------------------------------------

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("Static", text, style, rect, parent, id);
}
HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }

// --- CComboBox --------------------------------------------------------------------------

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("ComboBox", nullptr, style, rect, parent, id);
}
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int select) {
  return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(select)));
}
int CComboBox::AddString(LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::InsertString(int index, LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetLBText(int index, LPTSTR buffer) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}
void CComboBox::GetLBText(int index, CString& text) const {
  int n = GetLBTextLen(index);
  if (n < 0) {
    text.Empty();
    return;
  }
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetLBText(index, s.data());
  s.resize(static_cast<size_t>(n));
  text = CString(std::move(s));
}
int CComboBox::GetLBTextLen(int index) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
}
int CComboBox::FindString(int startAfter, LPCTSTR text) const {
  return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return static_cast<int>(
      SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::SelectString(int startAfter, LPCTSTR text) {
  return static_cast<int>(
      SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
}
int CComboBox::SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
void* CComboBox::GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
void CComboBox::GetDroppedControlRect(LPRECT rect) const {
  SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(rect));
}
int CComboBox::SetItemHeight(int index, UINT height) {
  return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), static_cast<LPARAM>(height)));
}
int CComboBox::GetItemHeight(int index) const {
  return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
}
int CComboBox::SetDroppedWidth(UINT width) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, width)); }
int CComboBox::GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
BOOL CComboBox::LimitText(int max) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(max))); }
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))));
}
void CComboBox::SetHorizontalExtent(UINT extent) { SendMessage(CB_SETHORIZONTALEXTENT, extent); }
UINT CComboBox::GetHorizontalExtent() const { return static_cast<UINT>(SendMessage(CB_GETHORIZONTALEXTENT)); }
int CComboBox::SetTopIndex(int index) {
  return static_cast<int>(SendMessage(CB_SETTOPINDEX, static_cast<WPARAM>(index)));
}
int CComboBox::GetTopIndex() const { return static_cast<int>(SendMessage(CB_GETTOPINDEX)); }
void CComboBox::Clear() { SendMessage(WM_CLEAR); }
void CComboBox::Copy() { SendMessage(WM_COPY); }
void CComboBox::Cut() { SendMessage(WM_CUT); }
void CComboBox::Paste() { SendMessage(WM_PASTE); }

// --- CSpinButtonCtrl --------------------------------------------------------------------

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(UPDOWN_CLASS, nullptr, style, rect, parent, id);
}
void CSpinButtonCtrl::SetRange(short lower, short upper) {
  SendMessage(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
}
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  DWORD r = static_cast<DWORD>(SendMessage(UDM_GETRANGE));
  lower = static_cast<short>(HIWORD(r));
  upper = static_cast<short>(LOWORD(r));
}
void CSpinButtonCtrl::SetRange32(int lower, int upper) {
  SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
int CSpinButtonCtrl::SetPos(int pos) {
  return static_cast<short>(LOWORD(SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(pos), 0))));
}
int CSpinButtonCtrl::GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS)); }
int CSpinButtonCtrl::SetPos32(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
int CSpinButtonCtrl::GetPos32(BOOL* error) const {
  return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
  return FromHandle(
      reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(platform::afx::hwndOf(buddy)))));
}
CWnd* CSpinButtonCtrl::GetBuddy() const { return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
int CSpinButtonCtrl::SetBase(int base) { return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(base))); }
UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(SendMessage(UDM_GETBASE)); }

// --- CScrollBar -------------------------------------------------------------------------

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("ScrollBar", nullptr, style, rect, parent, id);
}
int CScrollBar::GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
int CScrollBar::SetScrollPos(int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
void CScrollBar::GetScrollRange(LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos); }
void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) {
  ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
}
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw) {
  ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
  return TRUE;
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) {
  if (!info) return FALSE;
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, SB_CTL, info);
}
