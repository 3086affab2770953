// The size box: a scroll-bar control with SBS_SIZEBOX or SBS_SIZEGRIP, the
// grip in a resizable window's lower-right corner. Made with
// SBS_SIZEBOXBOTTOMRIGHTALIGN it takes the system's scroll-bar size in the
// lower-right corner of the rectangle it was created with (top-left with
// SBS_SIZEBOXTOPLEFTALIGN). Dragging it with the left button resizes the
// top-level window it lies in, within the sizes that window allows
// (WM_GETMINMAXINFO).
#include <algorithm>

#include "win/commctrl.h"
#include "win/controls_internal.h"
#include "win/sysparams.h"
#include "win/window_internal.h"

#ifndef SBS_SIZEBOXTOPLEFTALIGN
#define SBS_SIZEBOXTOPLEFTALIGN 0x0002L
#endif

namespace platform::win {
namespace {

struct SizeBoxData : ControlData {
  bool dragging = false;
  POINT start{};
  SIZE startSize{};
};

void resizeTo(HWND grip, SizeBoxData& d, POINT screen) {
  HWND top = topLevelOf(grip);
  if (!top || top == grip) return;
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN) + 2 * GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYSCREEN) + 2 * GetSystemMetrics(SM_CYFRAME)};
  SendMessage(top, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  int cx = d.startSize.cx + (screen.x - d.start.x);
  int cy = d.startSize.cy + (screen.y - d.start.y);
  cx = std::max<int>(cx, mmi.ptMinTrackSize.x);
  cy = std::max<int>(cy, mmi.ptMinTrackSize.y);
  if (mmi.ptMaxTrackSize.x > 0) cx = std::min<int>(cx, mmi.ptMaxTrackSize.x);
  if (mmi.ptMaxTrackSize.y > 0) cy = std::min<int>(cy, mmi.ptMaxTrackSize.y);
  SetWindowPos(top, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool sizeBoxMessage(HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  Window* w = find(hwnd);
  if (!w || !(w->style & (SBS_SIZEBOX | SBS_SIZEGRIP))) return false;
  if (!w->control) w->control = std::make_unique<SizeBoxData>();
  SizeBoxData* d = dynamic_cast<SizeBoxData*>(w->control.get());
  if (!d) return false;
  result = 0;
  switch (msg) {
    case WM_CREATE: {
      const CREATESTRUCT* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (!cs || !(w->style & SBS_SIZEBOX)) return true;
      int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
      if (w->style & SBS_SIZEBOXBOTTOMRIGHTALIGN)
        SetWindowPos(hwnd, nullptr, cs->x + cs->cx - cx, cs->y + cs->cy - cy, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
      else if (w->style & SBS_SIZEBOXTOPLEFTALIGN)
        SetWindowPos(hwnd, nullptr, cs->x, cs->y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
      return true;
    }
    case WM_LBUTTONDOWN: {
      HWND top = topLevelOf(hwnd);
      RECT r;
      if (!top || top == hwnd || !GetWindowRect(top, &r)) return true;
      GetCursorPos(&d->start);
      d->startSize = SIZE{r.right - r.left, r.bottom - r.top};
      d->dragging = true;
      SetCapture(hwnd);
      return true;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      if (!d->dragging) return true;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      resizeTo(hwnd, *d, pt);
      if (msg == WM_LBUTTONUP) {
        if ((w = find(hwnd)) != nullptr && (d = dynamic_cast<SizeBoxData*>(w->control.get())) != nullptr)
          d->dragging = false;
        if (GetCapture() == hwnd) ReleaseCapture();
      }
      return true;
    }
    case WM_CAPTURECHANGED: d->dragging = false; return true;
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, IDC_SIZENWSE));
      result = TRUE;
      return true;
    default: return false;
  }
}

}  // namespace platform::win

namespace platform {

LRESULT drawOwnerDrawnButton(HWND button, HDC dc, UINT action) {
  win::Window* w = win::find(button);
  if (!w || !w->parent) return 0;
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(w->id);
  dis.itemID = 0;
  dis.itemAction = action;
  UINT state = static_cast<UINT>(SendMessage(button, BM_GETSTATE, 0, 0));
  if (state & BST_PUSHED) dis.itemState |= ODS_SELECTED;
  if (state & BST_FOCUS) dis.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(button)) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = button;
  dis.hDC = dc;
  GetClientRect(button, &dis.rcItem);
  return SendMessage(w->parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

}  // namespace platform
