// Buttons (class "Button": push buttons, check boxes, radio buttons, group
// boxes), static controls (class "Static") and scroll-bar controls (class
// "ScrollBar").
//
// A button is clicked by a press and a release of the left mouse button over
// it (or of the space bar while it has the focus): the press takes the focus
// and the capture; the release over the button changes an automatic check box
// or radio button and then tells the parent BN_CLICKED.
#include <algorithm>

#include "crt/ascii.h"
#include "win/classic.h"
#include "win/commctrl.h"
#include "win/controls_internal.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

struct ButtonData : ControlData {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  HANDLE image[2] = {nullptr, nullptr};
};

ButtonData* buttonOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<ButtonData*>(w->control.get()) : nullptr;
}

DWORD kindOf(const Window& w) { return w.style & BS_TYPEMASK; }

// Clears the other automatic radio buttons of the group `hwnd` belongs to.
void clearGroupRadios(HWND hwnd) {
  Window* w = find(hwnd);
  Window* parent = w ? find(w->parent) : nullptr;
  if (!parent) return;
  const std::vector<HWND>& siblings = parent->children;
  auto at = std::find(siblings.begin(), siblings.end(), hwnd);
  if (at == siblings.end()) return;
  // The group runs from the control marked WS_GROUP at or before this one to
  // the one before the next WS_GROUP.
  auto first = at;
  while (first != siblings.begin()) {
    Window* f = find(*first);
    if (f && (f->style & WS_GROUP)) break;
    --first;
  }
  std::vector<HWND> group;
  for (auto it = first; it != siblings.end(); ++it) {
    Window* g = find(*it);
    if (!g) continue;
    if (it != first && (g->style & WS_GROUP)) break;
    group.push_back(*it);
  }
  for (HWND h : group) {
    Window* g = find(h);
    if (h != hwnd && g && equalNoCase(g->cls->name, "Button") && kindOf(*g) == BS_AUTORADIOBUTTON)
      SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// What a click does to the button before the parent hears of it.
void clickState(HWND hwnd) {
  Window* w = find(hwnd);
  ButtonData* d = buttonOf(hwnd);
  if (!w || !d) return;
  switch (kindOf(*w)) {
    case BS_AUTOCHECKBOX:
      SendMessage(hwnd, BM_SETCHECK, d->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTO3STATE: SendMessage(hwnd, BM_SETCHECK, (d->check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON:
      SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
      clearGroupRadios(hwnd);
      break;
    default: break;
  }
}

void release(HWND hwnd, bool click) {
  ButtonData* d = buttonOf(hwnd);
  if (!d || !d->pushed) return;
  d->pushed = false;
  InvalidateRect(hwnd, nullptr, FALSE);
  if (!click) return;
  clickState(hwnd);
  if (IsWindow(hwnd)) notifyParent(hwnd, BN_CLICKED);
}

bool isCheckKind(DWORD kind) {
  return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE ||
         kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

// A group box: an etched frame from the middle of its text's line down, the
// text near its top left on the parent's background. Inside it nothing is
// painted: the controls it groups show through.
void paintGroupBox(HWND hwnd, HDC dc, const Window& w, const RECT& client, HBRUSH brush) {
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (w.text.empty()) return;
  RECT text{client.left + 8, client.top, client.right - 8, client.top + tm.tmHeight};
  RECT measured = text;
  DrawTextA(dc, w.text.c_str(), -1, &measured, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  RECT back{text.left - 2, text.top, std::min(text.right, measured.right) + 2, text.bottom};
  FillRect(dc, &back, brush);
  classic::setTextState(hwnd, dc);
  DrawTextA(dc, w.text.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// A check box or radio button: its box or circle at the left, vertically
// centred, and its text to the right.
void paintCheck(HWND hwnd, HDC dc, const Window& w, const ButtonData& d, const RECT& client, HBRUSH brush) {
  FillRect(dc, &client, brush);
  DWORD kind = kindOf(w);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  POINT box{client.left, client.top + (client.bottom - client.top - 13) / 2};
  if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
    classic::drawRadio(dc, POINT{box.x, box.y + 1}, d.check == BST_CHECKED, enabled);
  else
    classic::drawCheckBox(dc, box, d.check, enabled);
  RECT text{client.left + 17, client.top, client.right, client.bottom};
  UINT format = (w.style & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
  classic::setTextState(hwnd, dc);
  DrawTextA(dc, w.text.c_str(), -1, &text, DT_LEFT | format);
  if (GetFocus() == hwnd && !w.text.empty()) {
    RECT focus = text;
    DrawTextA(dc, w.text.c_str(), -1, &focus, DT_LEFT | format | DT_CALCRECT);
    if (!(w.style & BS_MULTILINE)) OffsetRect(&focus, 0, (text.bottom - text.top - (focus.bottom - focus.top)) / 2);
    InflateRect(&focus, 1, 1);
    // Within the control, so that all four sides show around a text as tall as it.
    RECT room{text.left - 1, client.top, client.right, client.bottom};
    IntersectRect(&focus, &focus, &room);
    DrawFocusRect(dc, &focus);
  }
}

// A push button: a raised frame (sunken while pushed; with the black frame
// of the dialog's default button), its text centred, a focus frame inside.
void paintPush(HWND hwnd, HDC dc, const Window& w, const ButtonData& d, const RECT& client) {
  bool isDefault = kindOf(w) == BS_DEFPUSHBUTTON;
  classic::drawPushFrame(dc, client, d.pushed, isDefault);
  RECT text = client;
  if (d.pushed) OffsetRect(&text, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  classic::setTextState(hwnd, dc);
  UINT format = DT_CENTER | ((w.style & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER));
  DrawTextA(dc, w.text.c_str(), -1, &text, format);
  if (GetFocus() == hwnd) {
    RECT focus = client;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void paintButton(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  Window* w = find(hwnd);
  ButtonData* d = buttonOf(hwnd);
  if (w && d) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD kind = kindOf(*w);
    bool push = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_PUSHBOX || kind == BS_USERBUTTON;
    HBRUSH brush = classic::prepareControl(hwnd, dc, push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    SetBkMode(dc, TRANSPARENT);
    if ((w = find(hwnd)) != nullptr && (d = buttonOf(hwnd)) != nullptr) {
      if (kind == BS_GROUPBOX)
        paintGroupBox(hwnd, dc, *w, client, brush);
      else if (isCheckKind(kind))
        paintCheck(hwnd, dc, *w, *d, client, brush);
      else if (push)
        paintPush(hwnd, dc, *w, *d, client);
      else if (kind == BS_OWNERDRAW)
        drawOwnerDrawnButton(hwnd, dc, ODA_DRAWENTIRE);  // its owner draws it
    }
  }
}

LRESULT buttonProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<ButtonData>();
  ButtonData* d = buttonOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  DWORD kind = kindOf(*w);
  switch (msg) {
    case BM_GETCHECK: return d->check;
    case BM_SETCHECK:
      if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_GROUPBOX || kind == BS_OWNERDRAW) return 0;
      d->check = static_cast<UINT>(wParam) & 3;
      if (d->check == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE) d->check = BST_CHECKED;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case BM_GETSTATE: return d->check | (d->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      d->pushed = wParam != 0;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case BM_CLICK:
      SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      if (IsWindow(hwnd)) SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_SETIMAGE: {
      int i = wParam == IMAGE_ICON ? 1 : 0;
      HANDLE old = d->image[i];
      d->image[i] = reinterpret_cast<HANDLE>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(d->image[wParam == IMAGE_ICON ? 1 : 0]);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (kind == BS_GROUPBOX) return 0;
      if (msg == WM_LBUTTONDBLCLK && (w->style & BS_NOTIFY)) notifyParent(hwnd, BN_DOUBLECLICKED);
      if (!IsWindow(hwnd)) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!(d = buttonOf(hwnd))) return 0;
      d->pushed = true;
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      if (kind == BS_GROUPBOX) return 0;
      bool pushed = d->pushed;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      GetClientRect(hwnd, &client);
      d->pushed = false;  // so that losing the capture does not count as a release
      if (GetCapture() == hwnd) ReleaseCapture();
      if (!(d = buttonOf(hwnd))) return 0;
      d->pushed = pushed;
      release(hwnd, PtInRect(&client, pt) != FALSE);
      return 0;
    }
    case WM_CAPTURECHANGED: release(hwnd, false); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && kind != BS_GROUPBOX) {
        d->pushed = true;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) release(hwnd, true);
      return 0;
    case WM_CHAR: return 0;
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      if (w->style & BS_NOTIFY) notifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      release(hwnd, false);
      if (!IsWindow(hwnd)) return 0;
      InvalidateRect(hwnd, nullptr, FALSE);
      if ((w = find(hwnd)) != nullptr && (w->style & BS_NOTIFY)) notifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      switch (kind) {
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
    case WM_NCHITTEST:
      if (kind == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_PAINT: paintButton(hwnd); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

struct StaticData : ControlData {
  HANDLE image = nullptr;
  UINT imageType = IMAGE_ICON;
};

// A static control: its text (aligned and wrapped by its style) on the
// parent's background, or the rectangle, frame or etched line it stands for.
void paintStatic(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  HBRUSH brush = classic::prepareControl(hwnd, dc, WM_CTLCOLORSTATIC);
  Window* w = find(hwnd);
  if (w) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD type = w->style & SS_TYPEMASK;
    switch (type) {
      case SS_BLACKRECT: FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
      case SS_GRAYRECT: FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW)); break;
      case SS_WHITERECT: FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW)); break;
      case SS_BLACKFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
      case SS_GRAYFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW)); break;
      case SS_WHITEFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOW)); break;
      case SS_ETCHEDHORZ: DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP); break;
      case SS_ETCHEDVERT: DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT); break;
      case SS_ETCHEDFRAME: DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT); break;
      case SS_ICON:
      case SS_BITMAP:
      case SS_OWNERDRAW: FillRect(dc, &client, brush); break;
      default: {
        FillRect(dc, &client, brush);
        UINT format = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
        if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)
          format |= DT_SINGLELINE;
        else
          format |= DT_WORDBREAK;
        if (w->style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
        if (w->style & SS_NOPREFIX) format |= DT_NOPREFIX;
        SetBkMode(dc, TRANSPARENT);
        classic::setTextState(hwnd, dc);
        DrawTextA(dc, w->text.c_str(), -1, &client, format);
        break;
      }
    }
    if (w->style & SS_SUNKEN) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  }
}

LRESULT staticProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<StaticData>();
  StaticData* d = dynamic_cast<StaticData*>(w->control.get());
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  bool notify = (w->style & SS_NOTIFY) != 0;
  switch (msg) {
    case STM_SETICON:
    case STM_SETIMAGE: {
      HANDLE old = d->image;
      d->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? static_cast<LPARAM>(wParam) : lParam);
      d->imageType = msg == STM_SETICON ? IMAGE_ICON : static_cast<UINT>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON: return reinterpret_cast<LRESULT>(d->imageType == IMAGE_ICON ? d->image : nullptr);
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(d->imageType == wParam ? d->image : nullptr);
    case WM_LBUTTONUP:
      if (notify) notifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (notify) notifyParent(hwnd, STN_DBLCLK);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      if (notify) notifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
      return 0;
    case WM_NCHITTEST: return notify ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_PAINT: paintStatic(hwnd); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// A scroll-bar control keeps its range and position in the window's
// horizontal scroll state (SB_CTL).
LRESULT scrollBarProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT sized = 0;
  if (sizeBoxMessage(hwnd, msg, wParam, lParam, sized)) return sized;
  switch (msg) {
    case SBM_SETPOS: return SetScrollPos(hwnd, SB_CTL, static_cast<int>(wParam), static_cast<BOOL>(lParam));
    case SBM_GETPOS: return GetScrollPos(hwnd, SB_CTL);
    case SBM_SETRANGE: return SetScrollRange(hwnd, SB_CTL, static_cast<int>(wParam), static_cast<int>(lParam), FALSE);
    case SBM_GETRANGE:
      return GetScrollRange(hwnd, SB_CTL, reinterpret_cast<LPINT>(wParam), reinterpret_cast<LPINT>(lParam));
    case SBM_SETSCROLLINFO:
      return SetScrollInfo(hwnd, SB_CTL, reinterpret_cast<LPCSCROLLINFO>(lParam), static_cast<BOOL>(wParam));
    case SBM_GETSCROLLINFO: return GetScrollInfo(hwnd, SB_CTL, reinterpret_cast<LPSCROLLINFO>(lParam));
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

WNDPROC buttonProc() { return &buttonProcImpl; }
WNDPROC staticProc() { return &staticProcImpl; }
WNDPROC scrollBarProc() { return &scrollBarProcImpl; }

}  // namespace platform::win
