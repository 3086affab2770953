// The up-down control (class "msctls_updown32"): two arrows that step a
// position within a range. A press on an arrow asks the parent first
// (WM_NOTIFY UDN_DELTAPOS with the position and the step; a non-zero answer
// refuses the step), then moves the position, writes it into the buddy window
// (UDS_SETBUDDYINT) and tells the parent WM_VSCROLL (WM_HSCROLL with UDS_HORZ)
// SB_THUMBPOSITION; the release tells it SB_ENDSCROLL.
//
// The arrow towards the upper end of the range (the top one, or the right one
// with UDS_HORZ) steps by +1 when the upper end is the larger number, else by
// -1. A new control's range runs from 100 (lower) to 0 (upper).
#include <algorithm>
#include <cstdio>

#include "win/classic.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

struct UpDownData : ControlData {
  int lower = 100;
  int upper = 0;
  int pos = 0;
  int base = 10;
  HWND buddy = nullptr;
  bool pressed = false;
};

UpDownData* dataOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<UpDownData*>(w->control.get()) : nullptr;
}

std::string formatted(const Window& w, const UpDownData& d, int pos) {
  char buf[32];
  if (d.base == 16) {
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(pos));
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%d", pos);
  std::string s = buf;
  if (!(w.style & UDS_NOTHOUSANDS)) {
    size_t digits = s.size() - (s[0] == '-' ? 1 : 0);
    for (size_t i = s.size(); digits > 3; digits -= 3) {
      i -= 3;
      s.insert(i, ",");
    }
  }
  return s;
}

void writeBuddy(HWND hwnd) {
  Window* w = find(hwnd);
  UpDownData* d = dataOf(hwnd);
  if (!w || !d || !(w->style & UDS_SETBUDDYINT) || !IsWindow(d->buddy)) return;
  SetWindowText(d->buddy, formatted(*w, *d, d->pos).c_str());
}

int clampToRange(const UpDownData& d, int pos) {
  int lo = std::min(d.lower, d.upper), hi = std::max(d.lower, d.upper);
  return std::clamp(pos, lo, hi);
}

// Places the control beside its buddy (UDS_ALIGNRIGHT, UDS_ALIGNLEFT), taking
// its width from the buddy.
void alignToBuddy(HWND hwnd) {
  Window* w = find(hwnd);
  UpDownData* d = dataOf(hwnd);
  if (!w || !d || !(w->style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
  Window* b = find(d->buddy);
  if (!b || b->parent != w->parent) return;
  int width = w->rect.right - w->rect.left;
  RECT br = b->rect;
  if (w->style & UDS_ALIGNRIGHT) {
    br.right -= width;
    w->rect = RECT{br.right, br.top, br.right + width, br.bottom};
  } else {
    br.left += width;
    w->rect = RECT{br.left - width, br.top, br.left, br.bottom};
  }
  MoveWindow(d->buddy, br.left, br.top, br.right - br.left, br.bottom - br.top, TRUE);
}

void step(HWND hwnd, int delta) {
  Window* w = find(hwnd);
  UpDownData* d = dataOf(hwnd);
  if (!w || !d) return;
  NMUPDOWN nm{};
  nm.hdr.hwndFrom = hwnd;
  nm.hdr.idFrom = w->id;
  nm.hdr.code = UDN_DELTAPOS;
  nm.iPos = d->pos;
  nm.iDelta = delta;
  HWND parent = w->parent ? w->parent : w->owner;
  bool vertical = !(w->style & UDS_HORZ);
  if (parent && SendMessage(parent, WM_NOTIFY, w->id, reinterpret_cast<LPARAM>(&nm)) != 0) return;
  if (!(d = dataOf(hwnd)) || !(w = find(hwnd))) return;
  int lo = std::min(d->lower, d->upper), hi = std::max(d->lower, d->upper);
  int pos = d->pos + nm.iDelta;
  if (w->style & UDS_WRAP) {
    if (pos > hi) pos = lo;
    if (pos < lo) pos = hi;
  }
  d->pos = std::clamp(pos, lo, hi);
  writeBuddy(hwnd);
  if (!(d = dataOf(hwnd)) || !parent || !IsWindow(parent)) return;
  SendMessage(parent, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(d->pos)),
              reinterpret_cast<LPARAM>(hwnd));
}

// Two arrow buttons: up over down (left and right side by side with UDS_HORZ).
void paintUpDown(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  Window* w = find(hwnd);
  if (w) {
    RECT client;
    GetClientRect(hwnd, &client);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    RECT a = client, b = client;
    if (w->style & UDS_HORZ) {
      a.right = b.left = client.left + (client.right - client.left) / 2;
      classic::drawArrowButton(dc, a, 2, false, enabled);
      classic::drawArrowButton(dc, b, 3, false, enabled);
    } else {
      a.bottom = b.top = client.top + (client.bottom - client.top) / 2;
      classic::drawArrowButton(dc, a, 0, false, enabled);
      classic::drawArrowButton(dc, b, 1, false, enabled);
    }
  }
}

LRESULT upDownProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<UpDownData>();
  UpDownData* d = dataOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE:
      if (w->style & UDS_AUTOBUDDY) {
        // The buddy is the control before this one in the tab order.
        if (Window* p = find(w->parent)) {
          auto at = std::find(p->children.begin(), p->children.end(), hwnd);
          if (at != p->children.begin() && at != p->children.end()) d->buddy = *(at - 1);
        }
        alignToBuddy(hwnd);
      }
      return 0;
    case UDM_SETRANGE:
      d->upper = static_cast<short>(LOWORD(lParam));
      d->lower = static_cast<short>(HIWORD(lParam));
      d->pos = clampToRange(*d, d->pos);
      return 0;
    case UDM_GETRANGE: return MAKELRESULT(static_cast<WORD>(d->upper), static_cast<WORD>(d->lower));
    case UDM_SETRANGE32:
      d->lower = static_cast<int>(static_cast<INT_PTR>(wParam));
      d->upper = static_cast<int>(lParam);
      d->pos = clampToRange(*d, d->pos);
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = d->lower;
      if (lParam) *reinterpret_cast<int*>(lParam) = d->upper;
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      int old = d->pos;
      int pos = msg == UDM_SETPOS ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam);
      d->pos = clampToRange(*d, pos);
      writeBuddy(hwnd);
      return old;
    }
    case UDM_GETPOS: return MAKELRESULT(static_cast<WORD>(d->pos), 0);
    case UDM_GETPOS32:
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = FALSE;
      return d->pos;
    case UDM_SETBUDDY: {
      HWND old = d->buddy;
      d->buddy = reinterpret_cast<HWND>(wParam);
      alignToBuddy(hwnd);
      return reinterpret_cast<LRESULT>(old);
    }
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(d->buddy);
    case UDM_SETBASE: {
      int old = d->base;
      if (wParam == 10 || wParam == 16) d->base = static_cast<int>(wParam);
      return old;
    }
    case UDM_GETBASE: return d->base;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      RECT client;
      GetClientRect(hwnd, &client);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      bool towardsUpper = (w->style & UDS_HORZ) ? pt.x >= client.right / 2 : pt.y < client.bottom / 2;
      int up = d->upper >= d->lower ? 1 : -1;
      d->pressed = true;
      SetCapture(hwnd);
      step(hwnd, towardsUpper ? up : -up);
      return 0;
    }
    case WM_LBUTTONUP:
      if (!d->pressed) return 0;
      d->pressed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (IsWindow(hwnd) && w->parent)
        SendMessage(w->parent, (w->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
                    reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_CAPTURECHANGED: d->pressed = false; return 0;
    case WM_PAINT: paintUpDown(hwnd); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

WNDPROC upDownProc() { return &upDownProcImpl; }

}  // namespace platform::win
