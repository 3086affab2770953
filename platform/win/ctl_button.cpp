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
#include "win/controls_internal.h"
#include "win/window_internal.h"

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
    case WM_PAINT:
      if (kind != BS_OWNERDRAW) return DefWindowProc(hwnd, msg, wParam, lParam);
      paintOwnerDrawnButton(hwnd);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

struct StaticData : ControlData {
  HANDLE image = nullptr;
  UINT imageType = IMAGE_ICON;
};

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
