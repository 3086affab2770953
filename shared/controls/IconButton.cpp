// The icon button of the table editors.
#include "controls/IconButton.h"

#include "mfc/dc.h"
#include "mfc/winapp.h"
#include "win/paint.h"
#include "win/resources.h"
#include "win/sysparams.h"

BEGIN_MESSAGE_MAP(CIconButton, CButton)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CIconButton::~CIconButton() { ReleaseIcons(); }

void CIconButton::ReleaseIcons() {
  if (m_hIcon) DestroyIcon(m_hIcon);
  if (m_hHoverIcon) DestroyIcon(m_hHoverIcon);
  m_hIcon = m_hHoverIcon = nullptr;
}

void CIconButton::OnDestroy() {
  // The tool tip is owned by the button's top-level window: it goes with the button.
  if (m_ToolTip.GetSafeHwnd()) m_ToolTip.DestroyWindow();
  CButton::OnDestroy();
}

void CIconButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  // The button draws itself.
  ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

BOOL CIconButton::SetIcons(UINT normalIconId, UINT hoverIconId) {
  ReleaseIcons();
  HINSTANCE instance = AfxGetInstanceHandle();
  m_hIcon = LoadIcon(instance, MAKEINTRESOURCE(normalIconId));
  if (hoverIconId) m_hHoverIcon = LoadIcon(instance, MAKEINTRESOURCE(hoverIconId));
  if (GetSafeHwnd()) Invalidate();
  return m_hIcon ? TRUE : FALSE;
}

void CIconButton::SetTooltipText(LPCTSTR text, BOOL activate) {
  if (!text || !GetSafeHwnd()) return;
  if (!m_ToolTip.GetSafeHwnd()) {
    if (!m_ToolTip.Create(this)) return;
    m_ToolTip.AddTool(this, text);
  } else {
    m_ToolTip.UpdateTipText(text, this);
  }
  m_ToolTip.Activate(activate);
}

BOOL CIconButton::PreTranslateMessage(MSG* msg) {
  if (msg && m_ToolTip.GetSafeHwnd() && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST)
    m_ToolTip.RelayEvent(msg);
  return CButton::PreTranslateMessage(msg);
}

void CIconButton::OnMouseMove(UINT flags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  bool inside = client.PtInRect(point) != 0;
  if (inside != m_bHover) {
    m_bHover = inside;
    // While the mouse is over the button it keeps the mouse, to see it leave
    // (unless a press already holds it).
    if (inside && !(flags & (MK_LBUTTON | MK_RBUTTON)) && GetCapture() != this) SetCapture();
    if (!inside && GetCapture() == this && !(flags & MK_LBUTTON)) ReleaseCapture();
    Invalidate(FALSE);
  }
  Default();
}

void CIconButton::OnCaptureChanged(CWnd* wnd) {
  Default();
  if (wnd != this && m_bHover && !(GetState() & BST_PUSHED)) {
    CPoint pt;
    GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt)) {
      m_bHover = false;
      Invalidate(FALSE);
    }
  }
}

void CIconButton::OnPaint() {
  CPaintDC dc(this);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
  dis.itemAction = ODA_DRAWENTIRE;
  UINT state = GetState();
  if (state & BST_PUSHED) dis.itemState |= ODS_SELECTED;
  if (state & BST_FOCUS) dis.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled()) dis.itemState |= ODS_DISABLED;
  if (m_bHover) dis.itemState |= ODS_HOTLIGHT;
  dis.hwndItem = m_hWnd;
  dis.hDC = dc.GetSafeHdc();
  GetClientRect(&dis.rcItem);
  DrawItem(&dis);
}

namespace {

// Draws an icon's pixels with their top-left at (x, y): a pixel shows when
// it is more opaque than not; greyed, lighter, when `disabled`.
void drawIcon(CDC& dc, int x, int y, HICON icon, bool disabled) {
  auto picture = platform::iconOf(icon);
  if (!picture) return;
  size_t n = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
  if (picture->argb.size() < n) {
    // An icon without pixels: its frame, so that it can be seen.
    CRect r(x, y, x + picture->width, y + picture->height);
    CBrush frame(GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    dc.FrameRect(&r, &frame);
    return;
  }
  for (int row = 0; row < picture->height; ++row) {
    for (int col = 0; col < picture->width; ++col) {
      uint32_t p = picture->argb[static_cast<size_t>(row) * static_cast<size_t>(picture->width) + col];
      if ((p >> 24) < 128) continue;
      int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (disabled) {
        int grey = (r * 30 + g * 59 + b * 11) / 100;
        r = g = b = 128 + grey / 2;
      }
      dc.SetPixel(x + col, y + row, RGB(r, g, b));
    }
  }
}

}  // namespace

void CIconButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (!dis) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  if (!dc) return;
  CRect r(dis->rcItem);
  bool pressed = (dis->itemState & ODS_SELECTED) != 0;
  bool disabled = (dis->itemState & ODS_DISABLED) != 0;
  dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
  CRect edge = r;
  dc->DrawEdge(&edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  int shift = pressed ? 1 : 0;

  CString caption;
  GetWindowText(caption);
  HICON icon = CurrentIcon();
  auto picture = platform::iconOf(icon);
  int iconW = picture ? picture->width : 0, iconH = picture ? picture->height : 0;
  CRect content = r;
  content.DeflateRect(3, 3);
  int textW = 0;
  if (!caption.IsEmpty()) {
    CRect measure(0, 0, 0, 0);
    dc->DrawText(caption, &measure, DT_SINGLELINE | DT_CALCRECT);
    textW = measure.Width();
  }
  int gap = iconW && textW ? 4 : 0;
  int x = content.left + (content.Width() - iconW - gap - textW) / 2 + shift;
  if (icon) drawIcon(*dc, x, content.top + (content.Height() - iconH) / 2 + shift, icon, disabled);
  if (textW) {
    CRect text(x + iconW + gap, content.top + shift, content.right + shift, content.bottom + shift);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    dc->DrawText(caption, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  if (dis->itemState & ODS_FOCUS) {
    CRect focus = r;
    focus.DeflateRect(3, 3);
    dc->DrawFocusRect(&focus);
  }
}
