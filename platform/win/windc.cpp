// The device contexts of windows: the picture of each top-level window, the
// DCs that draw on it (BeginPaint, GetDC, GetWindowDC), the default painting
// of frames and backgrounds, and pictures of whole windows.
#include <map>
#include <memory>

#include "win/classic.h"
#include "win/gdi_internal.h"
#include "win/gdiimage.h"
#include "win/handles.h"
#include "win/paint.h"
#include "win/sysparams.h"
#include "win/transcript.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

constexpr int kMaxSide = 16384;

struct Picture {
  std::shared_ptr<gdi::Surface> surface;
  uintptr_t id = 0;
  GdiRecorder* recorder = nullptr;
};

std::map<HWND, Picture>& pictures() {
  static auto* p = new std::map<HWND, Picture>;  // lives for the whole process
  return *p;
}

// The picture of a top-level window, made (or made again) at the window's size.
Picture& pictureOf(HWND top) {
  Picture& p = pictures()[top];
  if (!p.id) p.id = newHandleValue();
  RECT r{0, 0, 0, 0};
  GetWindowRect(top, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || static_cast<long long>(w) * h > (1LL << 26)) {
    p.surface.reset();
    return p;
  }
  if (!p.surface || p.surface->width() != w || p.surface->height() != h) {
    auto s = std::make_shared<gdi::Surface>(w, h);
    p.surface = s->valid() ? s : nullptr;
    p.id = newHandleValue();
  }
  return p;
}

// A window's client area (or window rectangle) on its top-level window's picture.
RECT onPicture(HWND hwnd, bool whole, POINT topLeft) {
  RECT r{0, 0, 0, 0};
  if (whole) {
    GetWindowRect(hwnd, &r);
  } else {
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  }
  OffsetRect(&r, -topLeft.x, -topLeft.y);
  return r;
}

}  // namespace

HDC makeWindowDC(HWND hwnd, bool whole, const RECT* clientClip) {
  Window* w = find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HWND top = topLevelOf(hwnd);
  Picture& p = pictureOf(top);
  RECT topRect{0, 0, 0, 0};
  GetWindowRect(top, &topRect);
  POINT topLeft{topRect.left, topRect.top};
  RECT area = onPicture(hwnd, whole, topLeft);
  auto dc = std::make_unique<gdi::DC>();
  dc->image = p.surface;
  dc->imageId = p.id;
  dc->width = p.surface ? p.surface->width() : 0;
  dc->height = p.surface ? p.surface->height() : 0;
  dc->recorder = p.recorder;
  dc->window = hwnd;
  dc->origin = POINT{area.left, area.top};
  RECT visible = area;
  // Never outside the parents' client areas.
  for (Window* a = w; a && (a->style & WS_CHILD) && a->parent; a = find(a->parent)) {
    RECT parent = onPicture(a->parent, false, topLeft);
    IntersectRect(&visible, &visible, &parent);
  }
  if (clientClip) {
    RECT c = *clientClip;
    OffsetRect(&c, dc->origin.x, dc->origin.y);
    IntersectRect(&visible, &visible, &c);
  }
  dc->hasVisible = true;
  dc->visible = visible;
  return gdi::addDC(std::move(dc));
}

void forgetWindowPicture(HWND hwnd) { pictures().erase(hwnd); }

void paintFrameIfNeeded(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w || !w->frameInvalid) return;
  w->frameInvalid = false;
  SendMessage(hwnd, WM_NCPAINT, 1, 0);
}

// The default WM_NCPAINT: border, caption bar and scroll bars.
void defaultFramePaint(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  RECT client = clientArea(*w);
  if (client.left == 0 && client.top == 0 && client.right == w->rect.right - w->rect.left &&
      client.bottom == w->rect.bottom - w->rect.top)
    return;  // no frame
  HDC dc = GetWindowDC(hwnd);
  classic::drawFrame(dc, *w, client);
  ReleaseDC(hwnd, dc);
}

// The default WM_ERASEBKGND: the client area filled with the class brush.
LRESULT defaultErase(HWND hwnd, HDC given) {
  Window* w = find(hwnd);
  if (!w || !w->cls->background) return 0;
  HBRUSH brush = w->cls->background;
  HDC dc = given ? given : GetDC(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  if (!given) ReleaseDC(hwnd, dc);
  return 1;
}

}  // namespace platform::win

using namespace platform::win;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  if (!find(hwnd) || !paint) return nullptr;
  paintFrameIfNeeded(hwnd);
  RECT update;
  bool erase = false;
  if (!platform::takePaintUpdate(hwnd, &update, &erase)) return nullptr;
  HDC dc = makeWindowDC(hwnd, false, &update);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = update;
  paint->fErase = FALSE;
  if (erase && dc) paint->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    // The screen: nothing is shown, so it draws nowhere; it measures text.
    auto dc = std::make_unique<platform::gdi::DC>();
    dc->width = GetSystemMetrics(SM_CXSCREEN);
    dc->height = GetSystemMetrics(SM_CYSCREEN);
    dc->imageId = platform::newHandleValue();
    return platform::gdi::addDC(std::move(dc));
  }
  return makeWindowDC(hwnd, false, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  return makeWindowDC(hwnd, true, nullptr);
}

int ReleaseDC(HWND, HDC dc) {
  platform::gdi::DC* d = platform::gdi::findDC(dc);
  if (!d || d->memory) return 0;
  return DeleteDC(dc) ? 1 : 0;
}

namespace platform {

void recordWindowPaint(HWND hwnd, GdiRecorder* recorder) {
  HWND top = topLevelOf(hwnd);
  if (!top) return;
  pictureOf(top).recorder = recorder;
}

namespace {

// Paints a window through its own messages, then its visible children.
void paintTree(HWND hwnd) {
  if (!IsWindow(hwnd)) return;
  InvalidateRect(hwnd, nullptr, TRUE);
  Window* w = find(hwnd);
  if (!w) return;
  unsigned before = w->invalidations;
  SendMessage(hwnd, WM_PAINT, 0, 0);
  Window* after = find(hwnd);
  if (!after) return;
  // A window whose WM_PAINT painted nothing has its frame drawn all the same.
  paintFrameIfNeeded(hwnd);
  if ((after = find(hwnd)) != nullptr && after->invalid && after->invalidations == before) ValidateRect(hwnd, nullptr);
  after = find(hwnd);
  if (!after) return;
  std::vector<HWND> children = after->children;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Window* c = find(*it);
    if (c && (c->style & WS_VISIBLE)) paintTree(*it);
  }
}

}  // namespace

HDC renderWindowPicture(HWND hwnd) {
  if (!find(hwnd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC picture = createImageDC(r.right - r.left, r.bottom - r.top);
  if (!picture) return nullptr;
  paintTree(hwnd);
  if (!IsWindow(hwnd)) return picture;
  HDC from = GetWindowDC(hwnd);
  BitBlt(picture, 0, 0, r.right - r.left, r.bottom - r.top, from, 0, 0, SRCCOPY);
  ReleaseDC(hwnd, from);
  return picture;
}

bool saveWindowPicture(HWND hwnd, const std::string& path) {
  HDC picture = renderWindowPicture(hwnd);
  if (!picture) {
    transcriptLine("Cannot write " + path + ": the window has no picture");
    return false;
  }
  bool ok = saveImagePng(picture, path);
  DeleteDC(picture);
  return ok;
}

}  // namespace platform
