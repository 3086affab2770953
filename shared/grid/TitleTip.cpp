// The title tip of the grid.
#include "grid/TitleTip.h"

#include <algorithm>
#include <string_view>

#include "mfc/afxgdi.h"
#include "mfc/dc.h"
#include "mfc/winapp.h"
#include "win/sysparams.h"
#include "win/textmetrics.h"
#include "win/transcript.h"

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CTitleTip::~CTitleTip() {
  if (GetSafeHwnd()) DestroyWindow();
}

BOOL CTitleTip::RegisterWindowClass() {
  WNDCLASS wc;
  HINSTANCE instance = AfxGetInstanceHandle();
  if (GetClassInfo(instance, TITLETIP_CLASSNAME, &wc)) return TRUE;
  wc = WNDCLASS{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = ::DefWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_INFOBK + 1));
  wc.lpszClassName = TITLETIP_CLASSNAME;
  if (!RegisterClass(&wc)) {
    platform::transcriptLine("The title tip's window class could not be registered");
    return FALSE;
  }
  return TRUE;
}

BOOL CTitleTip::Create(CWnd* parent) {
  if (!parent || !parent->GetSafeHwnd() || !RegisterWindowClass()) return FALSE;
  if (GetSafeHwnd()) return TRUE;
  m_pParentWnd = parent;
  return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TITLETIP_CLASSNAME, nullptr, WS_BORDER | WS_POPUP, 0, 0, 0, 0,
                  parent->GetSafeHwnd(), nullptr);
}

bool CTitleTip::IsVisible() const { return GetSafeHwnd() && (GetStyle() & WS_VISIBLE); }

void CTitleTip::Hide() {
  if (IsVisible()) ShowWindow(SW_HIDE);
}

BOOL CTitleTip::Show(CRect rectTitle, LPCTSTR text, int xoffset, LPRECT hoverRect, const LOGFONT* font,
                     COLORREF textColour, COLORREF bkColour) {
  if (!GetSafeHwnd() || !m_pParentWnd || !m_pParentWnd->GetSafeHwnd() || rectTitle.IsRectEmpty()) return FALSE;
  CString newText(text ? text : "");
  CRect hover = hoverRect ? CRect(*hoverRect) : rectTitle;
  if (IsVisible() && newText == m_strText && hover == m_rectHover) return TRUE;
  Hide();
  if (newText.IsEmpty()) return FALSE;
  m_strText = newText;
  m_rectHover = hover;
  m_nMargin = xoffset;
  m_crText = textColour;
  m_crBk = bkColour;
  m_hasFont = font != nullptr;
  if (font) m_font = *font;

  // The text's width in the font it is shown in. The tip reaches the right
  // edge of the screen at most, so no more of the text is measured than the
  // screen can show.
  int frame = 2 * GetSystemMetrics(SM_CXBORDER);
  CPoint origin = rectTitle.TopLeft();
  m_pParentWnd->ClientToScreen(&origin);
  int room = std::max<int>(rectTitle.Width(), GetSystemMetrics(SM_CXSCREEN) - origin.x) - 2 * xoffset - frame;
  room = std::max(room, 0);
  CClientDC dc(m_pParentWnd);
  CFont f;
  CFont* old = nullptr;
  if (m_hasFont && f.CreateFontIndirect(&m_font)) old = dc.SelectObject(&f);
  std::string_view all(m_strText.GetString(), static_cast<size_t>(m_strText.GetLength()));
  size_t fit = platform::longestFittingPrefix(all, [&](std::string_view p) {
    return dc.GetTextExtent(CString(p.data(), static_cast<int>(p.size()))).cx <= room;
  });
  int textWidth = fit == all.size() ? static_cast<int>(dc.GetTextExtent(m_strText).cx) : room + 1;
  if (old) dc.SelectObject(old);
  if (textWidth + 2 * xoffset <= rectTitle.Width()) return FALSE;
  int width = std::min(textWidth, room) + 2 * xoffset + frame;

  CRect tip(rectTitle.left, rectTitle.top, rectTitle.left + width, rectTitle.bottom);
  m_pParentWnd->ClientToScreen(&tip);
  SetWindowPos(&wndTopMost, tip.left, tip.top, tip.Width(), tip.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  return TRUE;
}

void CTitleTip::OnPaint() {
  CPaintDC dc(this);
  CRect r;
  GetClientRect(&r);
  COLORREF bk = m_crBk == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : m_crBk;
  COLORREF fg = m_crText == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : m_crText;
  dc.FillSolidRect(&r, bk);
  CFont f;
  CFont* old = nullptr;
  if (m_hasFont && f.CreateFontIndirect(&m_font)) old = dc.SelectObject(&f);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(fg);
  CRect text = r;
  text.left += m_nMargin;
  dc.DrawText(m_strText, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (old) dc.SelectObject(old);
}

void CTitleTip::OnMouseMove(UINT, CPoint point) {
  // The mouse over the tip: hide when it leaves the hover rectangle.
  if (!m_pParentWnd) return;
  ClientToScreen(&point);
  m_pParentWnd->ScreenToClient(&point);
  if (!m_rectHover.PtInRect(point)) Hide();
}

BOOL CTitleTip::PreTranslateMessage(MSG* msg) {
  if (!msg || !m_pParentWnd || !m_pParentWnd->GetSafeHwnd()) return CWnd::PreTranslateMessage(msg);
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Hide();
      m_pParentWnd->PostMessage(msg->message, msg->wParam, msg->lParam);
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      POINT pt{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
      ::ClientToScreen(msg->hwnd, &pt);
      Hide();
      HWND under = ::WindowFromPoint(pt);
      if (!under || under == m_hWnd) under = m_pParentWnd->GetSafeHwnd();
      LRESULT hit = ::SendMessage(under, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
      if (hit == HTCLIENT) {
        POINT client = pt;
        ::ScreenToClient(under, &client);
        ::SendMessage(under, msg->message, msg->wParam, MAKELPARAM(client.x, client.y));
      } else {
        UINT nc = msg->message == WM_LBUTTONDOWN   ? WM_NCLBUTTONDOWN
                  : msg->message == WM_RBUTTONDOWN ? WM_NCRBUTTONDOWN
                                                   : WM_NCMBUTTONDOWN;
        ::SendMessage(under, nc, static_cast<WPARAM>(hit), MAKELPARAM(pt.x, pt.y));
      }
      return TRUE;
    }
    default: break;
  }
  if (CWnd::GetFocus()) return CWnd::PreTranslateMessage(msg);
  Hide();
  return FALSE;
}
