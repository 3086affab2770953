// Tool tips (class "tooltips_class32"): the tools of a window with their
// texts. Nothing pops up on a screen; the control keeps which tool's tip
// would show, from the mouse messages relayed to it (TTM_RELAYEVENT) while
// it is active.
#include <algorithm>
#include <cstring>

#include "crt/gbk.h"
#include "win/commctrl.h"
#include "win/window_internal.h"
#include "win/controls_internal.h"

namespace platform::win {
namespace {

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::string text;
};

struct ToolTipData : ControlData {
  std::vector<Tool> tools;
  bool active = true;
  const Tool* shown = nullptr;
};

ToolTipData* tipOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<ToolTipData*>(w->control.get()) : nullptr;
}

std::vector<Tool>::iterator findTool(ToolTipData& d, const TOOLINFO& ti) {
  return std::find_if(d.tools.begin(), d.tools.end(),
                      [&](const Tool& t) { return t.hwnd == ti.hwnd && t.id == ti.uId; });
}

// The tool under a point of the screen.
const Tool* toolAt(ToolTipData& d, POINT screen) {
  for (const Tool& t : d.tools) {
    if (!IsWindow(t.hwnd)) continue;
    if (t.flags & TTF_IDISHWND) {
      HWND tool = reinterpret_cast<HWND>(t.id);
      RECT r;
      if (IsWindow(tool) && GetWindowRect(tool, &r) && PtInRect(&r, screen)) return &t;
      continue;
    }
    POINT pt = screen;
    ScreenToClient(t.hwnd, &pt);
    if (PtInRect(&t.rect, pt)) return &t;
  }
  return nullptr;
}

LRESULT toolTipProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<ToolTipData>();
  ToolTipData* d = tipOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  const TOOLINFO* ti = reinterpret_cast<const TOOLINFO*>(lParam);
  switch (msg) {
    case TTM_ADDTOOL: {
      if (!ti) return FALSE;
      d->shown = nullptr;
      auto it = findTool(*d, *ti);
      if (it == d->tools.end()) it = d->tools.insert(d->tools.end(), Tool{});
      it->flags = ti->uFlags;
      it->hwnd = ti->hwnd;
      it->id = ti->uId;
      it->rect = ti->rect;
      it->text = ti->lpszText && ti->lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(ti->lpszText) ? ti->lpszText
                                                                                                     : "";
      if (ti->lpszText && ti->lpszText != LPSTR_TEXTCALLBACK && IS_INTRESOURCE(ti->lpszText)) {
        char buffer[256] = "";
        LoadString(ti->hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(ti->lpszText)), buffer, sizeof buffer);
        it->text = buffer;
      }
      return TRUE;
    }
    case TTM_DELTOOL: {
      if (!ti) return 0;
      d->shown = nullptr;
      auto it = findTool(*d, *ti);
      if (it != d->tools.end()) d->tools.erase(it);
      return 0;
    }
    case TTM_NEWTOOLRECT: {
      if (!ti) return 0;
      auto it = findTool(*d, *ti);
      if (it != d->tools.end()) it->rect = ti->rect;
      return 0;
    }
    case TTM_UPDATETIPTEXT: {
      if (!ti) return 0;
      auto it = findTool(*d, *ti);
      if (it != d->tools.end()) it->text = ti->lpszText && ti->lpszText != LPSTR_TEXTCALLBACK ? ti->lpszText : "";
      return 0;
    }
    case TTM_GETTEXT: {
      TOOLINFO* out = reinterpret_cast<TOOLINFO*>(lParam);
      if (!out || !out->lpszText) return 0;
      auto it = findTool(*d, *out);
      std::string text = it == d->tools.end() ? std::string() : it->text;
      // The buffer is wParam bytes (80 when not given, as callers size it).
      size_t size = wParam ? static_cast<size_t>(wParam) : 80;
      return static_cast<LRESULT>(copyTextBounded(out->lpszText, size, text));
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(d->tools.size());
    case TTM_ACTIVATE:
      d->active = wParam != 0;
      if (!d->active) d->shown = nullptr;
      return 0;
    case TTM_POP: d->shown = nullptr; return 0;
    case TTM_SETDELAYTIME: return 0;
    case TTM_RELAYEVENT: {
      const MSG* m = reinterpret_cast<const MSG*>(lParam);
      if (!m) return 0;
      if (m->message >= WM_MOUSEFIRST && m->message <= WM_MOUSELAST && m->message != WM_MOUSEMOVE) {
        d->shown = nullptr;  // a press hides the tip
        return 0;
      }
      if (m->message != WM_MOUSEMOVE || !d->active) return 0;
      POINT pt{GET_X_LPARAM(m->lParam), GET_Y_LPARAM(m->lParam)};
      ClientToScreen(m->hwnd, &pt);
      d->shown = toolAt(*d, pt);
      return 0;
    }
    case TTM_GETSHOWNTOOL: return d->shown ? static_cast<LRESULT>(d->shown->id) : 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

WNDPROC toolTipProc() { return &toolTipProcImpl; }

}  // namespace platform::win
