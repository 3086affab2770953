// Image DCs, recording DCs and PNG files of pictures.
#include "win/gdiimage.h"

#include <cerrno>
#include <cstring>

#include "crt/textfile.h"
#include "win/gdi_internal.h"
#include "win/handles.h"
#include "win/pngfile.h"
#include "win/transcript.h"

namespace platform {

using namespace gdi;

namespace {

bool savePng(Surface* surface, const std::string& path) {
  if (!surface || !surface->valid()) {
    transcriptLine("Cannot write " + path + ": there is no picture to save");
    return false;
  }
  cairo_surface_flush(surface->cairo());
  std::string png = encodeRgbPng(surface->pixels());
  if (png.empty()) {
    transcriptLine("Cannot write " + path + ": the picture cannot be encoded");
    return false;
  }
  // The picture takes the file's place only once it is written whole. It is
  // not synced to the disk before the rename: a picture is made again by the
  // next run, and a workflow writes dozens of them.
  if (!replaceFile(path.c_str(), png, false)) {
    transcriptLine("Cannot write " + path + ": " + std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace

HDC createImageDC(int width, int height, GdiRecorder* recorder) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      static_cast<long long>(width) * height > (1LL << 26)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto dc = std::make_unique<DC>();
  dc->image = std::make_shared<Surface>(width, height);
  if (!dc->image->valid()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  dc->imageId = newHandleValue();
  dc->width = width;
  dc->height = height;
  dc->recorder = recorder;
  HDC h = addDC(std::move(dc));
  return h;
}

HDC createImageView(HDC imageDC) {
  DC* base = findDC(imageDC);
  if (!base || !base->image) return invalidHandle<HDC>(nullptr);
  auto dc = std::make_unique<DC>();
  dc->image = base->image;
  dc->imageId = base->imageId;
  dc->width = base->width;
  dc->height = base->height;
  dc->recorder = base->recorder;
  return addDC(std::move(dc));
}

HDC createRecordingDC(int width, int height, GdiRecorder& recorder) {
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto dc = std::make_unique<DC>();
  dc->imageId = newHandleValue();
  dc->width = width;
  dc->height = height;
  dc->recorder = &recorder;
  return addDC(std::move(dc));
}

uintptr_t drawingTarget(HDC handle) {
  DC* dc = findDC(handle);
  return dc ? targetOf(*dc, handle) : 0;
}

bool imageSize(HDC handle, int& width, int& height) {
  DC* dc = findDC(handle);
  Surface* s = dc ? surfaceOf(*dc) : nullptr;
  if (!s) return false;
  width = s->width();
  height = s->height();
  return true;
}

bool saveImagePng(HDC handle, const std::string& path) {
  DC* dc = findDC(handle);
  return savePng(dc ? surfaceOf(*dc) : nullptr, path);
}

bool saveBitmapPng(HBITMAP bitmap, const std::string& path) {
  Object* o = findObject(bitmap, OBJ_BITMAP);
  return savePng(o ? o->bitmap.get() : nullptr, path);
}

}  // namespace platform
