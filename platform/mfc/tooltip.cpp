#include "mfc/tooltip.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

TOOLINFO toolOf(CWnd* wnd, LPCRECT rect, UINT_PTR id) {
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = platform::afx::hwndOf(wnd);
  if (!rect && id == 0) {
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
  } else {
    ti.uId = id;
    if (rect) ti.rect = *rect;
  }
  return ti;
}

}  // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  return CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, 0, 0, 0, 0, platform::afx::hwndOf(parent), nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect, UINT_PTR id) {
  if (!wnd) return FALSE;
  TOOLINFO ti = toolOf(wnd, rect, id);
  ti.lpszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT rect, UINT_PTR id) {
  CString text;
  text.LoadString(textId);
  return AddTool(wnd, text.GetString(), rect, id);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id) {
  TOOLINFO ti = toolOf(wnd, nullptr, id);
  SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR id) {
  TOOLINFO ti = toolOf(wnd, nullptr, id);
  ti.lpszText = const_cast<LPSTR>(text);
  SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR id) const {
  char buffer[1024] = "";
  TOOLINFO ti = toolOf(wnd, nullptr, id);
  ti.lpszText = buffer;
  SendMessage(TTM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(&ti));
  text = buffer;
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
void CToolTipCtrl::RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
void CToolTipCtrl::SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, 0, static_cast<LPARAM>(delay)); }
void CToolTipCtrl::Pop() { SendMessage(TTM_POP); }
