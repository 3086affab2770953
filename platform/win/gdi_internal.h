#pragma once
// The GDI's objects and device contexts (inside the platform only).

#include <cairo.h>

#include <memory>
#include <string_view>
#include <vector>

#include "win/canvas.h"

namespace platform::gdi {

// The pixels of a bitmap, kept as a cairo image (24-bit colour).
class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  bool valid() const { return m_surface != nullptr; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  cairo_surface_t* cairo() { return m_surface; }
  // The pixels for direct reading and writing: call dirty() after writing.
  PixelImage pixels();
  void dirty();

 private:
  int m_width;
  int m_height;
  cairo_surface_t* m_surface = nullptr;
  unsigned char* m_buffer = nullptr;  // the pixels, from a pool of buffers (gdiobjects.cpp)
  size_t m_bytes = 0;
};

struct Object {
  DWORD type = 0;  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
  bool stock = false;
  int selections = 0;  // DCs that have it selected now
  GdiPen pen;
  GdiBrush brush;
  LOGFONT font{};
  RECT region{0, 0, 0, 0};
  std::shared_ptr<Surface> bitmap;
};

struct DCState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;  // memory DCs
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT textAlign = 0;
  int polyFillMode = ALTERNATE;
  POINT position{0, 0};
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  bool hasClip = false;
  RECT clip{0, 0, 0, 0};  // device coordinates
};

struct DC {
  bool memory = false;
  DCState state;
  std::vector<DCState> saved;
  // An image DC draws into its own surface; a recording DC has none and only
  // records, on a surface of `width` x `height`.
  std::shared_ptr<Surface> image;
  uintptr_t imageId = 0;
  int width = 0;
  int height = 0;
  GdiRecorder* recorder = nullptr;
  // A window's DC: where the window's client area (or, for GetWindowDC, its
  // window rectangle) lies on the picture, and the part of the picture it may
  // draw on (the window within its parents; the update rectangle for a paint).
  // Logical and device coordinates are the window's; the picture's are
  // device coordinates moved by `origin`.
  HWND window = nullptr;
  POINT origin{0, 0};
  bool hasVisible = false;
  RECT visible{0, 0, 0, 0};
};

Object* findObject(HGDIOBJ handle, DWORD type = 0);
DC* findDC(HDC handle);
// Registers a new DC with the stock pen, brush and font selected.
HDC addDC(std::unique_ptr<DC> dc);
void removeDC(HDC handle);
// The 1 x 1 bitmap a new memory DC holds (selected into any number of DCs).
HBITMAP stockBitmap();
// The surface a DC draws on (null for a DC that only records), its id
// (target of the ops) and its size.
Surface* surfaceOf(DC& dc);
uintptr_t targetOf(DC& dc, HDC handle);
RECT boundsOf(DC& dc);
// Device clip in force: the clip rectangle within the surface.
RECT deviceClip(DC& dc);
POINT deviceOffset(const DC& dc);
// Logical to device coordinates as the DC's user sees them (without a
// window's place on its picture).
POINT logicalOffset(const DC& dc);
// The DC's selected font, pen and brush (stock ones when a handle went stale).
const LOGFONT& fontOf(DC& dc);
GdiPen penOf(DC& dc);
GdiBrush brushOf(DC& dc);
POINT toDevice(const DC& dc, int x, int y);
RECT toDevice(const DC& dc, const RECT& r);
RECT normalized(int left, int top, int right, int bottom);
// The width of a run of text in the DC's font; `out`, when given, receives
// the per-character advances the run is drawn with (empty: drawn whole).
int textRunWidth(DC& dc, std::string_view text, const INT* advances, std::vector<int>* out);
// Draws a run of text with its cell's top-left corner at `topLeft`
// (logical), whatever the text alignment; `rect` is ExtTextOut's.
void textRun(HDC handle, DC& dc, POINT topLeft, std::string_view text, UINT options, const RECT* rect,
             const INT* advances);
// Fills in the op's target, clip, offset and visibility and hands it to the
// DC's back ends.
void emit(HDC handle, DC& dc, GdiOp& op);
// Draws `op` on a surface (the image back end).
void drawOnSurface(Surface& surface, const GdiOp& op);
// Sets the last error to ERROR_INVALID_HANDLE and answers `result`.
template <typename T>
T invalidHandle(T result) {
  SetLastError(ERROR_INVALID_HANDLE);
  return result;
}

}  // namespace platform::gdi
