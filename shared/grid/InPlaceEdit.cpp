// The in-place editors of the grid.
#include "grid/InPlaceEdit.h"

#include <algorithm>
#include <string_view>

#include "crt/utf8.h"
#include "mfc/dc.h"
#include "win/textmetrics.h"

namespace {

bool isArrow(UINT key) { return key >= VK_LEFT && key <= VK_DOWN; }

// What the key that started an edit does to the editor's text: the caret at
// the end or the whole text selected, and whether the key is then replayed
// as a character (it replaces the selection; a backspace removes the last
// character). Tab and blank select the whole text of an edit, but are
// replayed into a list's field.
struct FirstCharEffect {
  bool selectAll;
  bool replay;
};
FirstCharEffect firstCharEffect(UINT ch, bool tabAndBlankReplay) {
  if (ch == VK_LBUTTON || ch == VK_RETURN) return {false, false};
  if (ch == VK_BACK) return {false, true};
  if (ch >= VK_PRIOR && ch <= VK_DOWN) return {true, false};
  if ((ch == VK_TAB || ch == VK_SPACE) && !tabAndBlankReplay) return {true, false};
  return {true, true};
}

// Sends the end-of-edit notification of an editor to `to`.
void notifyEnd(CWnd* editor, CWnd* to, int row, int col, UINT exitKey) {
  CString text;
  editor->GetWindowText(text);
  GV_DISPINFO info{};
  info.hdr.hwndFrom = editor->GetSafeHwnd();
  info.hdr.idFrom = static_cast<UINT_PTR>(editor->GetDlgCtrlID());
  info.hdr.code = static_cast<UINT>(GVN_ENDLABELEDIT);
  info.item.mask = GVIF_TEXT | GVIF_PARAM;
  info.item.row = row;
  info.item.col = col;
  info.item.szText = text;
  info.item.lParam = static_cast<LPARAM>(exitKey);
  to->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

// The width of `text` in the font of window `wnd`, or `cap` + 1 when it is
// wider than `cap`: only the characters up to the cap are measured, so a long
// text costs what an editor can show of it.
int textWidthUpTo(CWnd* wnd, const CString& text, int cap) {
  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return 0;
  HFONT font = reinterpret_cast<HFONT>(wnd->SendMessage(WM_GETFONT));
  CFont* old = font ? dc.SelectObject(CFont::FromHandle(font)) : nullptr;
  std::string_view all(text.GetString(), static_cast<size_t>(text.GetLength()));
  int width = cap + 1;
  size_t fit = platform::longestFittingPrefix(all, [&](std::string_view p) {
    return dc.GetTextExtent(CString(p.data(), static_cast<int>(p.size()))).cx <= cap;
  });
  if (fit == all.size()) width = dc.GetTextExtent(text).cx;
  if (old) dc.SelectObject(old);
  return width;
}

int characterCount(const CString& text) {
  std::string_view s(text.GetString(), static_cast<size_t>(text.GetLength()));
  int n = 0;
  for (size_t i = 0; i < s.size(); ++n) platform::decodeUtf8(s, i);
  return n;
}

// `text` cut to `count` whole characters.
CString firstCharacters(const CString& text, int count) {
  std::string_view s(text.GetString(), static_cast<size_t>(text.GetLength()));
  size_t end = 0;
  for (int n = 0; n < count && end < s.size(); ++n) platform::decodeUtf8(s, end);
  return CString(text.GetString(), static_cast<int>(end));
}

}  // namespace

// ---- CInPlaceEdit ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
  ON_WM_KILLFOCUS()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           CString sInitText, UINT nFirstChar)
    : m_nRow(nRow), m_nColumn(nColumn), m_sInitText(sInitText), m_bExitOnArrows(nFirstChar != VK_LBUTTON),
      m_Rect(rect) {
  DWORD style = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_CHILD | dwStyle;
  if (!Create(style, rect, pParent, nID)) return;
  HFONT font = reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT));
  if (font) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowText(sInitText);
  SetFocus();
  int length = sInitText.GetLength();
  FirstCharEffect effect = firstCharEffect(nFirstChar, false);
  if (effect.selectAll)
    SetSel(0, -1);
  else
    SetSel(length, length);
  if (effect.replay) SendMessage(WM_CHAR, nFirstChar);
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg) {
  // No menu accelerators while editing.
  if (pMsg->message == WM_SYSCHAR) return TRUE;
  return CEdit::PreTranslateMessage(pMsg);
}

UINT CInPlaceEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (isArrow(nChar) && (m_bExitOnArrows || GetKeyState(VK_CONTROL) < 0)) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceEdit::SetMaxChars(int nMaxChars, bool refuseLonger) {
  m_nMaxChars = std::max(0, nMaxChars);
  m_bRefuseLonger = refuseLonger;
  if (!m_hWnd) return;
  // The edit itself stops a paste after as many bytes as the characters can
  // take (four a character at most), so that no more is ever copied in.
  int bytes = m_nMaxChars > 0 ? std::max(m_nMaxChars * 4, GetWindowTextLength()) : 0;
  SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(bytes));
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_TAB || nChar == VK_RETURN) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  if (nChar == VK_ESCAPE) {
    SetWindowText(m_sInitText);
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  int before = 0;
  CString now;
  int selStart = 0, selEnd = 0;
  if (m_nMaxChars > 0) {
    GetWindowText(now);
    before = characterCount(now);
    // A character that would bring the text past the limit is refused.
    GetSel(selStart, selEnd);
    int selected = characterCount(CString(now.GetString() + selStart, selEnd - selStart));
    if (nChar >= 0x20 && nChar != 0x7F && before - selected + 1 > m_nMaxChars) {
      MessageBeep(0);
      return;
    }
  }
  CEdit::OnChar(nChar, nRepCnt, nFlags);

  CString text;
  GetWindowText(text);
  if (m_nMaxChars > 0 && characterCount(text) > std::max(m_nMaxChars, before)) {
    if (m_bRefuseLonger) {
      // A paste past the limit is refused whole: the text as it was.
      text = now;
      SetWindowText(text);
      SetSel(selStart, selEnd);
      MessageBeep(0);
    } else {
      // A paste past the limit: cut there, the caret at the end.
      text = firstCharacters(text, std::max(m_nMaxChars, before));
      SetWindowText(text);
      SetSel(text.GetLength(), text.GetLength());
    }
  }

  // Widen to the right while the text (and two blanks) does not fit, up to
  // the grid's right edge.
  CRect rect;
  GetWindowRect(&rect);
  GetParent()->ScreenToClient(&rect);
  CRect parentClient;
  GetParent()->GetClientRect(&parentClient);
  int room = static_cast<int>(parentClient.right - rect.left);
  if (rect.Width() >= room) return;  // as wide as it may be
  int needed = textWidthUpTo(this, text + "  ", room);
  if (needed <= rect.Width()) return;
  int right = std::min<int>(rect.left + needed, parentClient.right);
  if (right > rect.right) MoveWindow(rect.left, rect.top, right - rect.left, rect.Height(), TRUE);
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  EndEdit();
}

void CInPlaceEdit::EndEdit() {
  if (m_bEnded || !m_hWnd) return;
  m_bEnded = true;
  CWnd* owner = GetOwner();
  if (!owner || !owner->GetSafeHwnd()) owner = GetParent();
  if (owner && owner->GetSafeHwnd()) notifyEnd(this, owner, m_nRow, m_nColumn, m_nLastChar);
  PostMessage(WM_CLOSE);
}

void CInPlaceEdit::PostNcDestroy() {
  CEdit::PostNcDestroy();
  delete this;
}

// ---- CComboEdit ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
END_MESSAGE_MAP()

CWnd* CComboEdit::OwningList() const {
  CWnd* owner = GetOwner();
  return owner && owner->GetSafeHwnd() ? owner : GetParent();
}

BOOL CComboEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) {
    // Keys go straight to the field, so no dialog navigation takes them.
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
    return TRUE;
  }
  if (pMsg->message == WM_SYSCHAR) return TRUE;
  return CEdit::PreTranslateMessage(pMsg);
}

void CComboEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (isArrow(nChar) && GetKeyState(VK_CONTROL) < 0 && GetDlgCtrlID() == 1001) {
    if (CWnd* list = OwningList()) list->SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
    return;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CComboEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE) {
    if (CWnd* list = OwningList()) list->SendMessage(WM_KEYUP, nChar, MAKELPARAM(nRepCnt, nFlags));
    return;
  }
  CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CComboEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  if (auto* list = dynamic_cast<CInPlaceList*>(OwningList())) list->EndEdit();
}

// ---- CInPlaceList ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
END_MESSAGE_MAP()

CInPlaceList::CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           const CStringArray& Items, CString sInitText, UINT nFirstChar)
    : m_sInitText(sInitText), m_nRow(nRow), m_nCol(nColumn) {
  int cellHeight = rect.Height();
  CRect dropRect = rect;
  dropRect.bottom += GetSystemMetrics(SM_CYHSCROLL) + m_nNumLines * cellHeight;
  DWORD style = WS_BORDER | WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | dwStyle;
  if (!Create(style, dropRect, pParent, nID)) return;
  for (INT_PTR i = 0; i < Items.GetSize(); ++i) AddString(Items[i]);

  // Wide enough for the widest choice, two blanks and the list's scroll bar.
  CDC dc;
  int needed = 0;
  if (dc.CreateCompatibleDC(nullptr)) {
    HFONT font = reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT));
    CFont* old = font ? dc.SelectObject(CFont::FromHandle(font)) : nullptr;
    int widest = 0;
    for (INT_PTR i = 0; i < Items.GetSize(); ++i) widest = std::max<int>(widest, dc.GetTextExtent(Items[i]).cx);
    needed = widest + 2 * dc.GetTextExtent(" ").cx + GetSystemMetrics(SM_CXVSCROLL);
    if (old) dc.SelectObject(old);
  }
  if (rect.Width() < needed) {
    CRect now;
    GetWindowRect(&now);
    pParent->ScreenToClient(&now);
    MoveWindow(now.left, now.top, needed, now.Height(), TRUE);
  }
  HFONT font = reinterpret_cast<HFONT>(pParent->SendMessage(WM_GETFONT));
  if (font) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetItemHeight(-1, static_cast<UINT>(cellHeight));
  SetDroppedWidth(static_cast<UINT>(std::max(needed, rect.Width())));
  SetHorizontalExtent(0);

  int index = FindStringExact(-1, sInitText);
  if (index >= 0)
    SetCurSel(index);
  else
    SetWindowText(sInitText);

  if ((dwStyle & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) {
    SetFocus();
    return;
  }
  HWND editHwnd = ::GetDlgItem(m_hWnd, 1001);
  if (editHwnd) m_edit.SubclassWindow(editHwnd);
  SetFocus();
  int length = GetWindowTextLength();
  FirstCharEffect effect = firstCharEffect(nFirstChar, true);
  if (effect.selectAll)
    SetEditSel(0, -1);
  else
    SetEditSel(length, length);
  if (effect.replay && m_edit.GetSafeHwnd()) m_edit.SendMessage(WM_CHAR, nFirstChar);
}

void CInPlaceList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (isArrow(nChar) && (m_bExitOnArrows || GetKeyState(VK_CONTROL) < 0)) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE) SetWindowText(m_sInitText);
  if (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  CComboBox::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnKillFocus(CWnd* pNewWnd) {
  CComboBox::OnKillFocus(pNewWnd);
  if (pNewWnd != this && (GetStyle() & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) EndEdit();
}

void CInPlaceList::EndEdit() {
  if (m_bEnded || !m_hWnd) return;
  m_bEnded = true;
  CWnd* owner = GetOwner();
  if (!owner || !owner->GetSafeHwnd()) owner = GetParent();
  if (owner && ::IsWindow(owner->GetSafeHwnd())) notifyEnd(this, owner, m_nRow, m_nCol, m_nLastChar);
  PostMessage(WM_CLOSE);
}

void CInPlaceList::PostNcDestroy() {
  CComboBox::PostNcDestroy();
  delete this;
}
