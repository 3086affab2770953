// Image lists: a count of images of one size. What the images look like is
// kept by the bitmaps and icons they were made from; a list records how many
// images it holds, so that the controls can place their icons.
#include <map>
#include <memory>

#include "arx/rxdynlink.h"
#include "win/commctrl.h"
#include "win/winhost.h"
#include "win/wingdi.h"

namespace {

struct ImageList {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  int count = 0;
  platform::LoadedModule* module = nullptr;  // whose code made it
};

std::map<uintptr_t, std::unique_ptr<ImageList>>& lists() {
  static std::map<uintptr_t, std::unique_ptr<ImageList>> all;
  return all;
}

// A module's lists go with it.
void releaseModuleLists(platform::LoadedModule* module) {
  auto& all = lists();
  for (auto it = all.begin(); it != all.end();) it = it->second->module == module ? all.erase(it) : std::next(it);
}

ImageList* listOf(HIMAGELIST h) {
  auto it = lists().find(reinterpret_cast<uintptr_t>(h));
  return it == lists().end() ? nullptr : it->second.get();
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

BOOL ImageList_Destroy(HIMAGELIST list) { return lists().erase(reinterpret_cast<uintptr_t>(list)) ? TRUE : FALSE; }

int ImageList_Add(HIMAGELIST h, HBITMAP image, HBITMAP) {
  ImageList* list = listOf(h);
  if (!list) return -1;
  int images = 1;
  BITMAP bm{};
  if (image && GetObject(image, sizeof bm, &bm) == sizeof bm && bm.bmWidth >= list->cx) images = bm.bmWidth / list->cx;
  int first = list->count;
  list->count += images;
  return first;
}

int ImageList_AddMasked(HIMAGELIST h, HBITMAP image, COLORREF) { return ImageList_Add(h, image, nullptr); }

int ImageList_AddIcon(HIMAGELIST h, HICON) {
  ImageList* list = listOf(h);
  if (!list) return -1;
  return list->count++;
}

int ImageList_GetImageCount(HIMAGELIST h) {
  ImageList* list = listOf(h);
  return list ? list->count : 0;
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
  if (!list || index >= list->count) return FALSE;
  list->count = index < 0 ? 0 : list->count - 1;
  return TRUE;
}
