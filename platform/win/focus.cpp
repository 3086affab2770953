// The keyboard focus, the active window and the mouse capture.
//
// SetFocus sends WM_KILLFOCUS (naming the new window) to the window that
// loses the focus before WM_SETFOCUS (naming the old one) to the window that
// gains it; a handler of WM_KILLFOCUS that moves the focus elsewhere wins.
#include "win/window_internal.h"

namespace platform::win {
namespace {

struct FocusState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
};

FocusState& state() {
  static FocusState s;
  return s;
}

// A remembered window, forgotten once it is gone.
HWND alive(HWND& remembered) {
  if (remembered && !IsWindow(remembered)) remembered = nullptr;
  return remembered;
}

}  // namespace

void forgetWindowFocus(HWND hwnd) {
  FocusState& s = state();
  if (s.focus && isSelfOrDescendant(hwnd, s.focus)) s.focus = nullptr;
  if (s.capture && isSelfOrDescendant(hwnd, s.capture)) s.capture = nullptr;
  if (s.active == hwnd) s.active = nullptr;
}

}  // namespace platform::win

using namespace platform::win;

HWND SetFocus(HWND hwnd) {
  FocusState& s = state();
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  HWND old = s.focus;
  if (hwnd == old) return old;
  s.focus = hwnd;
  if (old && IsWindow(old)) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && s.focus == hwnd && IsWindow(hwnd)) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return alive(state().focus); }

HWND SetActiveWindow(HWND hwnd) {
  FocusState& s = state();
  HWND top = hwnd ? topLevelOf(hwnd) : nullptr;
  if (hwnd && !top) return nullptr;
  HWND old = alive(s.active);
  if (top == old) return old;
  s.active = top;
  if (old) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(old)) SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top));
  }
  if (top && s.active == top && IsWindow(top)) {
    SendMessage(top, WM_NCACTIVATE, TRUE, 0);
    if (IsWindow(top)) SendMessage(top, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
  }
  return old;
}

HWND GetActiveWindow() { return alive(state().active); }

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND hwnd) {
  FocusState& s = state();
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  HWND old = alive(s.capture);
  s.capture = hwnd;
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  FocusState& s = state();
  HWND old = alive(s.capture);
  s.capture = nullptr;
  if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return alive(state().capture); }
