// Scroll bars: the range, page and position of a window's standard bars
// (SB_HORZ, SB_VERT) and of a scroll-bar control (SB_CTL); a standard bar
// that appears and disappears with its range, taking its room from the client
// area; its parts (arrows, track, thumb); and the mouse on it (arrow, page and
// thumb presses told to the window as WM_HSCROLL and WM_VSCROLL).
#include <algorithm>

#include "win/window_internal.h"

namespace platform::win {
namespace {

// Frame changes a window's scroll bars may make inside the WM_SIZE of
// another of its own (counted per window). A window whose WM_SIZE sets its
// ranges again comes back here; one whose bars keep appearing and
// disappearing with its size stops here.
constexpr int kMaxNestedFrameChanges = 8;

// The smallest thumb that is drawn and dragged.
constexpr int kMinThumb = 8;

ScrollState* scrollOf(HWND hwnd, int bar) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  if (bar == SB_CTL || bar == SB_HORZ) return &w->scroll[0];
  if (bar == SB_VERT) return &w->scroll[1];
  return nullptr;
}

bool isWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

DWORD styleOf(int bar) {
  if (bar == SB_HORZ) return WS_HSCROLL;
  if (bar == SB_VERT) return WS_VSCROLL;
  return bar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL : 0;
}

// The last position the thumb can take: the one that shows the last page.
int lastPosition(const ScrollState& s) {
  long long top = static_cast<long long>(s.max) - (s.page > 0 ? static_cast<long long>(s.page) - 1 : 0);
  return static_cast<int>(std::max<long long>(top, s.min));
}

int clampPos(const ScrollState& s, int pos) { return std::clamp(pos, s.min, lastPosition(s)); }

// Whether the range holds more than one page: with a page, more units than
// the page; without one, more than one position.
bool needsScrolling(const ScrollState& s) {
  if (s.page > 0) return static_cast<long long>(s.max) - s.min + 1 > static_cast<long long>(s.page);
  return s.max > s.min;
}

// The frame is painted again with the bar's new state at the next paint.
void redrawFrame(HWND hwnd, BOOL redraw) {
  if (redraw) invalidateFrame(hwnd);
}

// Sets or clears the style bits of standard bars. When the frame changes the
// window learns its new client size (WM_SIZE) and is painted again, as after
// SetWindowPos with SWP_FRAMECHANGED.
void showBars(HWND hwnd, DWORD bits, bool show) {
  Window* w = find(hwnd);
  if (!w || !bits) return;
  DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return;
  w->style = style;
  if (w->nestedFrameChanges >= kMaxNestedFrameChanges) {
    InvalidateRect(hwnd, nullptr, TRUE);
    return;
  }
  ++w->nestedFrameChanges;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The window may have gone in its WM_SIZE.
  if ((w = find(hwnd)) != nullptr) --w->nestedFrameChanges;
}

// After a standard bar's range changed: shown when the range needs scrolling,
// else hidden; with `keepShown` (SIF_DISABLENOSCROLL) shown but disabled.
void followRange(HWND hwnd, int bar, bool keepShown) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s || !isWindowBar(bar)) return;
  bool needed = needsScrolling(*s);
  if (needed)
    s->disabled = false;
  else if (keepShown)
    s->disabled = true;
  showBars(hwnd, styleOf(bar), needed || keepShown);
}

// Position <-> thumb offset on the track, rounded to the nearest.
long long roundedDiv(long long a, long long b) { return b > 0 ? (a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b)) : 0; }

// --- the press ------------------------------------------------------------------------------

enum class Part { None, LineBefore, LineAfter, PageBefore, PageAfter, Thumb };

struct Press {
  HWND hwnd = nullptr;
  int bar = SB_HORZ;
  Part part = Part::None;
  int grab = 0;  // the mouse's offset from the thumb's start along the bar
};

Press& press() {
  static Press p;
  return p;
}

void tellWindow(HWND hwnd, int bar, int code, int pos = 0) {
  SendMessage(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

int along(const RECT& r, bool vertical) { return vertical ? r.top : r.left; }
int lengthOf(const RECT& r, bool vertical) { return vertical ? r.bottom - r.top : r.right - r.left; }
int along(POINT p, bool vertical) { return vertical ? p.y : p.x; }

// A screen point in window coordinates.
POINT inWindow(HWND hwnd, POINT screenPt) {
  RECT r{0, 0, 0, 0};
  GetWindowRect(hwnd, &r);
  return POINT{screenPt.x - r.left, screenPt.y - r.top};
}

void endPress() {
  Press p = press();
  press() = Press{};
  if (!IsWindow(p.hwnd)) return;
  // The thumb's last place is told while the track position (SIF_TRACKPOS) still holds it.
  if (p.part == Part::Thumb)
    if (ScrollState* s = scrollOf(p.hwnd, p.bar)) tellWindow(p.hwnd, p.bar, SB_THUMBPOSITION, s->track);
  if (ScrollState* s = scrollOf(p.hwnd, p.bar)) {
    s->tracking = false;
    redrawFrame(p.hwnd, TRUE);
  }
  if (GetCapture() == p.hwnd) ReleaseCapture();
  if (IsWindow(p.hwnd)) tellWindow(p.hwnd, p.bar, SB_ENDSCROLL);
}

// The thumb follows the mouse along the track; the window hears each new position.
void dragThumb(POINT screenPt) {
  Press& p = press();
  Window* w = find(p.hwnd);
  ScrollState* s = scrollOf(p.hwnd, p.bar);
  ScrollBarParts parts;
  if (!w || !s || !scrollBarParts(*w, p.bar, parts) || !parts.hasThumb) return;
  bool v = parts.vertical;
  POINT pt = inWindow(p.hwnd, screenPt);
  int room = lengthOf(parts.track, v) - lengthOf(parts.thumb, v);
  int offset = std::clamp(along(pt, v) - p.grab - along(parts.track, v), 0, std::max(0, room));
  long long span = static_cast<long long>(lastPosition(*s)) - s->min;
  int pos = clampPos(*s, static_cast<int>(s->min + roundedDiv(offset * span, room)));
  if (pos == s->track) return;
  s->track = pos;
  redrawFrame(p.hwnd, TRUE);
  tellWindow(p.hwnd, p.bar, SB_THUMBTRACK, pos);
}

}  // namespace

bool scrollBarParts(const Window& w, int bar, ScrollBarParts& out) {
  if (!isWindowBar(bar) || !(w.style & styleOf(bar)) || w.scrollStyleForPart) return false;
  const ScrollState& s = w.scroll[bar == SB_VERT ? 1 : 0];
  RECT c = clientArea(w);
  bool v = bar == SB_VERT;
  out = ScrollBarParts{};
  out.vertical = v;
  out.disabled = s.disabled;
  out.bar = v ? RECT{c.right, c.top, c.right + kScrollBarSize, c.bottom}
              : RECT{c.left, c.bottom, c.right, c.bottom + kScrollBarSize};
  // The arrows are square, sharing the bar between them when it is shorter than two.
  int length = lengthOf(out.bar, v);
  int arrow = std::min(kScrollBarSize, length / 2);
  out.lineBefore = out.lineAfter = out.track = out.bar;
  if (v) {
    out.lineBefore.bottom = out.bar.top + arrow;
    out.lineAfter.top = out.bar.bottom - arrow;
    out.track.top = out.lineBefore.bottom;
    out.track.bottom = out.lineAfter.top;
  } else {
    out.lineBefore.right = out.bar.left + arrow;
    out.lineAfter.left = out.bar.right - arrow;
    out.track.left = out.lineBefore.right;
    out.track.right = out.lineAfter.left;
  }
  if (s.disabled || !needsScrolling(s)) return true;
  // The thumb's length is the page's share of the range (a square without a page).
  int trackLength = lengthOf(out.track, v);
  long long units = static_cast<long long>(s.max) - s.min + 1;
  int thumb = s.page > 0 ? static_cast<int>(roundedDiv(static_cast<long long>(trackLength) * s.page, units))
                         : kScrollBarSize;
  thumb = std::max(thumb, kMinThumb);
  if (thumb > trackLength) return true;
  long long span = static_cast<long long>(lastPosition(s)) - s.min;
  int at = s.tracking ? s.track : s.pos;
  int offset = static_cast<int>(roundedDiv((static_cast<long long>(at) - s.min) * (trackLength - thumb), span));
  offset = std::clamp(offset, 0, trackLength - thumb);
  out.thumb = out.track;
  if (v) {
    out.thumb.top = out.track.top + offset;
    out.thumb.bottom = out.thumb.top + thumb;
  } else {
    out.thumb.left = out.track.left + offset;
    out.thumb.right = out.thumb.left + thumb;
  }
  out.hasThumb = true;
  return true;
}

LRESULT scrollBarHitTest(const Window& w, POINT screenPt) {
  POINT pt = inWindow(w.handle, screenPt);
  for (int bar : {SB_VERT, SB_HORZ}) {
    ScrollBarParts parts;
    if (scrollBarParts(w, bar, parts) && PtInRect(&parts.bar, pt)) return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
  }
  return 0;
}

void scrollBarButtonDown(HWND hwnd, int hit, POINT screenPt) {
  int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  // A press still going on ends first: the messages it sends may change the
  // bar, so its parts are taken after.
  if (press().hwnd) endPress();
  Window* w = find(hwnd);
  ScrollBarParts parts;
  if (!w || !scrollBarParts(*w, bar, parts) || parts.disabled) return;
  POINT pt = inWindow(hwnd, screenPt);
  bool v = parts.vertical;
  Press p;
  p.hwnd = hwnd;
  p.bar = bar;
  if (PtInRect(&parts.lineBefore, pt))
    p.part = Part::LineBefore;
  else if (PtInRect(&parts.lineAfter, pt))
    p.part = Part::LineAfter;
  else if (!parts.hasThumb)
    return;  // nothing to scroll
  else if (PtInRect(&parts.thumb, pt))
    p.part = Part::Thumb, p.grab = along(pt, v) - along(parts.thumb, v);
  else
    p.part = along(pt, v) < along(parts.thumb, v) ? Part::PageBefore : Part::PageAfter;
  press() = p;
  SetCapture(hwnd);
  switch (p.part) {
    case Part::LineBefore: tellWindow(hwnd, bar, SB_LINEUP); break;
    case Part::LineAfter: tellWindow(hwnd, bar, SB_LINEDOWN); break;
    case Part::PageBefore: tellWindow(hwnd, bar, SB_PAGEUP); break;
    case Part::PageAfter: tellWindow(hwnd, bar, SB_PAGEDOWN); break;
    case Part::Thumb:
      if (ScrollState* s = scrollOf(hwnd, bar)) {
        s->track = s->pos;
        s->tracking = true;
        redrawFrame(hwnd, TRUE);
      }
      break;
    case Part::None: break;
  }
}

bool scrollBarTrackMouse(const MSG& msg) {
  Press& p = press();
  if (!p.hwnd || msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) return false;
  if (!IsWindow(p.hwnd) || GetCapture() != p.hwnd) {
    // The window went or another took the mouse: the press ends where it stood.
    endPress();
    return false;
  }
  switch (msg.message) {
    case WM_MOUSEMOVE:
      if (p.part == Part::Thumb) dragThumb(msg.pt);
      break;
    case WM_LBUTTONUP:
      if (p.part == Part::Thumb) dragThumb(msg.pt);
      endPress();
      break;
    default: break;
  }
  return true;
}

}  // namespace platform::win

using namespace platform::win;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s || !info) return 0;
  if (info->fMask & SIF_RANGE) s->min = info->nMin, s->max = info->nMax;
  if (info->fMask & SIF_PAGE) s->page = info->nPage;
  if (info->fMask & SIF_POS) s->pos = info->nPos;
  s->pos = clampPos(*s, s->pos);
  int pos = s->pos;
  redrawFrame(hwnd, redraw);
  if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL))
    followRange(hwnd, bar, (info->fMask & SIF_DISABLENOSCROLL) != 0);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s || !info) return FALSE;
  if (info->fMask & SIF_RANGE) info->nMin = s->min, info->nMax = s->max;
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->tracking ? s->track : s->pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s) return 0;
  int old = s->pos;
  s->pos = clampPos(*s, pos);
  redrawFrame(hwnd, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollState* s = scrollOf(hwnd, bar);
  return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s) return FALSE;
  s->min = minPos;
  s->max = maxPos;
  s->pos = clampPos(*s, s->pos);
  redrawFrame(hwnd, redraw);
  followRange(hwnd, bar, false);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  ScrollState* s = scrollOf(hwnd, bar);
  if (!s) return FALSE;
  if (minPos) *minPos = s->min;
  if (maxPos) *maxPos = s->max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  DWORD bits = styleOf(bar);
  if (!bits) return FALSE;
  showBars(hwnd, bits, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (!IsWindow(hwnd)) return FALSE;
  for (int b : {SB_HORZ, SB_VERT, SB_CTL}) {
    bool chosen = static_cast<int>(bar) == b || (bar == SB_BOTH && b != SB_CTL);
    if (!chosen) continue;
    if (ScrollState* s = scrollOf(hwnd, b)) s->disabled = arrows == ESB_DISABLE_BOTH;
  }
  redrawFrame(hwnd, TRUE);
  return TRUE;
}
