// Image lists: images of one size. A list records how many images it holds,
// so that the controls can place their icons; the images added from bitmaps
// keep a copy of their pixels (the bitmap stays the caller's), icons only
// their place. One image at a time can be the drag image, which follows the
// drag (ImageList_DragMove).
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "arx/rxdynlink.h"
#include "win/commctrl.h"
#include "win/winhost.h"
#include "win/wingdi.h"

namespace {

struct ImageList {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  platform::LoadedModule* module = nullptr;  // whose code made it
  // The pixels of each image added from a bitmap (null for an icon's place):
  // one entry an image.
  std::vector<HBITMAP> pictures;
  int count() const { return static_cast<int>(pictures.size()); }
  COLORREF mask = CLR_NONE;
  ~ImageList() {
    for (HBITMAP b : pictures)
      if (b) DeleteObject(b);
  }
};

// The drag image: which image, its hot spot, where it is, whether it shows.
struct DragImage {
  HIMAGELIST list = nullptr;
  int index = -1;
  POINT hotSpot{0, 0};
  POINT at{0, 0};  // on the screen
  bool shown = false;
  HWND lock = nullptr;  // the window DragEnter named (its coordinates), null: the screen
};

// (x, y) of the lock window (its window rectangle's top-left is 0, 0) on the screen.
bool toScreen(HWND lock, int x, int y, POINT& at) {
  at = POINT{x, y};
  if (!lock) return true;
  RECT r;
  if (!GetWindowRect(lock, &r)) return false;
  at.x += r.left;
  at.y += r.top;
  return true;
}

DragImage& dragImage() {
  static DragImage d;
  return d;
}

std::map<uintptr_t, std::unique_ptr<ImageList>>& lists() {
  static std::map<uintptr_t, std::unique_ptr<ImageList>> all;
  return all;
}

// A module's lists go with it.
void releaseModuleLists(platform::LoadedModule* module) {
  auto& all = lists();
  if (auto it = all.find(reinterpret_cast<uintptr_t>(dragImage().list)); it != all.end() && it->second->module == module)
    dragImage() = DragImage{};
  for (auto it = all.begin(); it != all.end();) it = it->second->module == module ? all.erase(it) : std::next(it);
}

ImageList* listOf(HIMAGELIST h) {
  auto it = lists().find(reinterpret_cast<uintptr_t>(h));
  return it == lists().end() ? nullptr : it->second.get();
}

// A copy of the cx x cy piece of `image` that starts at x.
HBITMAP copyPiece(HBITMAP image, int x, int cx, int cy) {
  HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
  HBITMAP copy = from && to ? CreateCompatibleBitmap(from, cx, cy) : nullptr;
  if (copy) {
    HGDIOBJ oldFrom = SelectObject(from, image);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, cx, cy, from, x, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (from) DeleteDC(from);
  if (to) DeleteDC(to);
  return copy;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  static uintptr_t serial = 0;
  static const bool hooked = (platform::addModuleReleaseHook(&releaseModuleLists), true);
  (void)hooked;
  auto list = std::make_unique<ImageList>();
  list->module = platform::currentModule();
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  uintptr_t key = ++serial;
  lists().emplace(key, std::move(list));
  return reinterpret_cast<HIMAGELIST>(key);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  if (dragImage().list == list) dragImage() = DragImage{};
  return lists().erase(reinterpret_cast<uintptr_t>(list)) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST h, HBITMAP image, HBITMAP) {
  ImageList* list = listOf(h);
  if (!list) return -1;
  int images = 1;
  BITMAP bm{};
  bool isBitmap = image && GetObject(image, sizeof bm, &bm) == sizeof bm;
  if (isBitmap && bm.bmWidth >= list->cx) images = bm.bmWidth / list->cx;
  int first = list->count();
  list->pictures.resize(static_cast<size_t>(first + images), nullptr);
  if (isBitmap)
    for (int k = 0; k < images; ++k)
      list->pictures[static_cast<size_t>(first + k)] = copyPiece(image, k * list->cx, list->cx, list->cy);
  return first;
}

int ImageList_AddMasked(HIMAGELIST h, HBITMAP image, COLORREF mask) {
  int first = ImageList_Add(h, image, nullptr);
  if (ImageList* list = listOf(h); list && first >= 0) list->mask = mask;
  return first;
}

int ImageList_AddIcon(HIMAGELIST h, HICON) {
  ImageList* list = listOf(h);
  if (!list) return -1;
  list->pictures.push_back(nullptr);
  return list->count() - 1;
}

BOOL ImageList_GetImageInfo(HIMAGELIST h, int index, IMAGEINFO* info) {
  ImageList* list = listOf(h);
  if (!list || !info || index < 0 || index >= list->count()) return FALSE;
  *info = IMAGEINFO{};
  info->hbmImage = list->pictures[static_cast<size_t>(index)];
  info->rcImage = RECT{0, 0, list->cx, list->cy};
  return TRUE;
}

COLORREF ImageList_GetBkColor(HIMAGELIST h) {
  ImageList* list = listOf(h);
  return list ? list->mask : CLR_NONE;
}

// ---- the drag image ----

BOOL ImageList_BeginDrag(HIMAGELIST h, int index, int dxHotspot, int dyHotspot) {
  ImageList* list = listOf(h);
  if (!list || index < 0 || index >= list->count()) return FALSE;
  DragImage d;
  d.list = h;
  d.index = index;
  d.hotSpot = POINT{dxHotspot, dyHotspot};
  dragImage() = d;
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  DragImage& d = dragImage();
  if (!d.list) return FALSE;
  POINT at;
  if (!toScreen(lock, x, y, at)) return FALSE;
  d.lock = lock;
  d.at = at;
  d.shown = true;
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  DragImage& d = dragImage();
  if (!d.list || !d.shown) return FALSE;
  POINT at;
  if (!toScreen(d.lock, x, y, at)) return FALSE;
  d.at = at;
  return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
  DragImage& d = dragImage();
  if (!d.list) return FALSE;
  d.shown = false;
  return TRUE;
}

void ImageList_EndDrag() { dragImage() = DragImage{}; }

HIMAGELIST ImageList_GetDragImage(POINT* at, POINT* hotSpot) {
  const DragImage& d = dragImage();
  if (!d.list || !d.shown) return nullptr;
  if (at) *at = d.at;
  if (hotSpot) *hotSpot = d.hotSpot;
  return d.list;
}

int platform::dragImageIndex() { return dragImage().shown ? dragImage().index : -1; }

int ImageList_GetImageCount(HIMAGELIST h) {
  ImageList* list = listOf(h);
  return list ? list->count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST h, int* cx, int* cy) {
  ImageList* list = listOf(h);
  if (!list) return FALSE;
  if (cx) *cx = list->cx;
  if (cy) *cy = list->cy;
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST h, int index) {
  ImageList* list = listOf(h);
  if (!list || index >= list->count()) return FALSE;
  auto& pictures = list->pictures;
  if (index < 0) {
    for (HBITMAP b : pictures)
      if (b) DeleteObject(b);
    pictures.clear();
  } else {
    if (pictures[static_cast<size_t>(index)]) DeleteObject(pictures[static_cast<size_t>(index)]);
    pictures.erase(pictures.begin() + index);
  }
  // A drag image of this list follows its picture, or ends with it.
  if (DragImage& d = dragImage(); d.list == h) {
    if (index < 0 || d.index == index) d = DragImage{};
    else if (d.index > index) --d.index;
  }
  return TRUE;
}
