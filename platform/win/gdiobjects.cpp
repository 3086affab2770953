// GDI objects: pens, brushes, fonts, bitmaps and rectangular regions; the
// table of objects and device contexts; stock objects.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "crt/utf8.h"
#include "win/gdi_internal.h"
#include "win/handles.h"
#include "win/rect.h"
#include "win/sysparams.h"

namespace platform::gdi {

namespace {

struct Tables {
  std::unordered_map<uintptr_t, std::unique_ptr<Object>> objects;
  std::unordered_map<uintptr_t, std::unique_ptr<DC>> dcs;
  std::unordered_map<int, HGDIOBJ> stock;
};

Tables& tables() {
  static Tables* t = new Tables;  // lives to the end of the process: DCs may be freed by static destructors
  return *t;
}

HGDIOBJ addObject(std::unique_ptr<Object> object) {
  uintptr_t id = newHandleValue();
  tables().objects.emplace(id, std::move(object));
  return reinterpret_cast<HGDIOBJ>(id);
}

}  // namespace

namespace {

// Pixel buffers of surfaces that went, kept for the next surfaces of the same
// size: a window painted through an off-screen bitmap makes and drops one of
// its size at every paint, and fresh memory costs the system's page faults
// each time. Up to 64 MB are kept; the pool lives to the end of the process
// (surfaces may be freed by static destructors).
class BufferPool {
 public:
  unsigned char* take(size_t bytes) {
    for (auto it = m_free.begin(); it != m_free.end(); ++it) {
      if (it->first != bytes) continue;
      unsigned char* b = it->second;
      m_free.erase(it);
      m_kept -= bytes;
      return b;
    }
    return static_cast<unsigned char*>(std::malloc(bytes));
  }
  void give(unsigned char* buffer, size_t bytes) {
    if (!buffer) return;
    if (m_kept + bytes > kLimit) {
      std::free(buffer);
      return;
    }
    m_free.emplace_back(bytes, buffer);
    m_kept += bytes;
  }

 private:
  static constexpr size_t kLimit = size_t{64} << 20;
  std::vector<std::pair<size_t, unsigned char*>> m_free;
  size_t m_kept = 0;
};

BufferPool& bufferPool() {
  static BufferPool* pool = new BufferPool;
  return *pool;
}

}  // namespace

Surface::Surface(int width, int height) : m_width(width), m_height(height) {
  if (width <= 0 || height <= 0) return;
  int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  if (stride <= 0 || static_cast<size_t>(height) > std::numeric_limits<size_t>::max() / static_cast<size_t>(stride))
    return;
  m_bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
  m_buffer = bufferPool().take(m_bytes);
  if (!m_buffer) return;
  m_surface = cairo_image_surface_create_for_data(m_buffer, CAIRO_FORMAT_RGB24, width, height, stride);
  if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    bufferPool().give(m_buffer, m_bytes);
    m_buffer = nullptr;
    return;
  }
  // White, as a new window or bitmap is shown.
  cairo_t* cr = cairo_create(m_surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
}

Surface::~Surface() {
  // Only the surface uses the buffer: the cairo contexts drawing on it are
  // gone when a draw ends.
  if (m_surface) cairo_surface_destroy(m_surface);
  bufferPool().give(m_buffer, m_bytes);
}

PixelImage Surface::pixels() {
  PixelImage p;
  if (!m_surface) return p;
  cairo_surface_flush(m_surface);
  p.width = m_width;
  p.height = m_height;
  p.stride = cairo_image_surface_get_stride(m_surface) / 4;
  p.pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(m_surface));
  return p;
}

void Surface::dirty() {
  if (m_surface) cairo_surface_mark_dirty(m_surface);
}

Object* findObject(HGDIOBJ handle, DWORD type) {
  auto& objects = tables().objects;
  auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == objects.end() || (type && it->second->type != type)) return nullptr;
  return it->second.get();
}

DC* findDC(HDC handle) {
  auto& dcs = tables().dcs;
  auto it = dcs.find(reinterpret_cast<uintptr_t>(handle));
  return it == dcs.end() ? nullptr : it->second.get();
}

HDC addDC(std::unique_ptr<DC> dc) {
  dc->state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  dc->state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dc->state.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  uintptr_t id = newHandleValue();
  tables().dcs.emplace(id, std::move(dc));
  return reinterpret_cast<HDC>(id);
}

void removeDC(HDC handle) { tables().dcs.erase(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace platform::gdi

using namespace platform::gdi;

HGDIOBJ GetStockObject(int which) {
  auto& stock = tables().stock;
  auto it = stock.find(which);
  if (it != stock.end()) return it->second;
  auto o = std::make_unique<Object>();
  o->stock = true;
  auto brush = [&](int style, COLORREF c) {
    o->type = OBJ_BRUSH;
    o->brush = platform::GdiBrush{style, c};
  };
  auto pen = [&](int style, COLORREF c) {
    o->type = OBJ_PEN;
    o->pen = platform::GdiPen{style, 1, c};
  };
  switch (which) {
    case WHITE_BRUSH: brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: brush(BS_NULL, 0); break;
    case WHITE_PEN: pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: pen(PS_SOLID, RGB(0, 0, 0)); break;
    case NULL_PEN: pen(PS_NULL, 0); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      o->type = OBJ_FONT;
      o->font = platform::messageFont();
      o->font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      std::strcpy(o->font.lfFaceName, "monospace");
      break;
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case DEFAULT_GUI_FONT:
      o->type = OBJ_FONT;
      o->font = platform::messageFont();
      break;
    case 1000:  // the 1 x 1 bitmap of a new memory DC
      o->type = OBJ_BITMAP;
      o->bitmap = std::make_shared<Surface>(1, 1);
      break;
    default: return nullptr;
  }
  HGDIOBJ h = addObject(std::move(o));
  stock.emplace(which, h);
  return h;
}

namespace platform::gdi {
HBITMAP stockBitmap() { return static_cast<HBITMAP>(GetStockObject(1000)); }
}  // namespace platform::gdi

DWORD GetObjectType(HGDIOBJ object) {
  if (Object* o = findObject(object)) return o->type;
  if (DC* dc = findDC(reinterpret_cast<HDC>(object))) return dc->memory ? OBJ_MEMDC : OBJ_DC;
  return invalidHandle<DWORD>(0);
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  Object* o = findObject(object);
  if (!o) return invalidHandle(0);
  auto copy = [&](const void* what, int bytes) {
    if (!buffer) return bytes;
    if (size < bytes) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    std::memcpy(buffer, what, static_cast<size_t>(bytes));
    return bytes;
  };
  switch (o->type) {
    case OBJ_PEN: {
      LOGPEN p{static_cast<UINT>(o->pen.style), POINT{o->pen.width, 0}, o->pen.color};
      return copy(&p, sizeof p);
    }
    case OBJ_BRUSH: {
      LOGBRUSH b{static_cast<UINT>(o->brush.style), o->brush.color, 0};
      return copy(&b, sizeof b);
    }
    case OBJ_FONT: return copy(&o->font, sizeof o->font);
    case OBJ_BITMAP: {
      BITMAP bm{0, o->bitmap->width(), o->bitmap->height(), o->bitmap->width() * 4, 1, 32, nullptr};
      return copy(&bm, sizeof bm);
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  Object* o = findObject(object);
  if (!o) return invalidHandle(FALSE);
  if (o->stock) return TRUE;
  // An object still selected into a DC stays: the DC would draw with a
  // freed object.
  if (o->selections > 0) return FALSE;
  tables().objects.erase(reinterpret_cast<uintptr_t>(object));
  return TRUE;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto o = std::make_unique<Object>();
  o->type = OBJ_PEN;
  o->pen = platform::GdiPen{style, std::max(0, width), color & 0xFFFFFF};
  return static_cast<HPEN>(addObject(std::move(o)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto o = std::make_unique<Object>();
  o->type = OBJ_BRUSH;
  o->brush = platform::GdiBrush{BS_SOLID, color & 0xFFFFFF};
  return static_cast<HBRUSH>(addObject(std::move(o)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (brush->lbStyle == BS_NULL) {
    auto o = std::make_unique<Object>();
    o->type = OBJ_BRUSH;
    o->brush = platform::GdiBrush{BS_NULL, 0};
    return static_cast<HBRUSH>(addObject(std::move(o)));
  }
  return CreateSolidBrush(brush->lbColor);
}

HFONT CreateFontIndirectA(const LOGFONT* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto o = std::make_unique<Object>();
  o->type = OBJ_FONT;
  o->font = *font;
  // The face name may come unterminated or cut inside a character: it ends
  // before the first byte that starts no whole UTF-8 character.
  std::string_view face(o->font.lfFaceName, strnlen(o->font.lfFaceName, LF_FACESIZE - 1));
  size_t i = 0;
  while (i < face.size()) {
    size_t start = i;
    if (platform::decodeUtf8(face, i) < 0) {
      i = start;
      break;
    }
  }
  std::memset(o->font.lfFaceName + i, 0, LF_FACESIZE - i);
  return static_cast<HFONT>(addObject(std::move(o)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (dc && !findDC(dc)) return invalidHandle<HBITMAP>(nullptr);
  // At most 16384 pixels a side and 2^26 pixels in all (256 MB).
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      static_cast<long long>(width) * height > (1LL << 26)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto o = std::make_unique<Object>();
  o->type = OBJ_BITMAP;
  o->bitmap = std::make_shared<Surface>(width, height);
  if (!o->bitmap->valid()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBITMAP>(addObject(std::move(o)));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto o = std::make_unique<Object>();
  o->type = OBJ_REGION;
  SetRect(&o->region, std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
  return reinterpret_cast<HRGN>(addObject(std::move(o)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  Object* o = findObject(reinterpret_cast<HGDIOBJ>(region), OBJ_REGION);
  if (!o) return invalidHandle(FALSE);
  SetRect(&o->region, std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
  return TRUE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
  Object* o = findObject(reinterpret_cast<HGDIOBJ>(region), OBJ_REGION);
  if (!o || !rect) return invalidHandle(ERROR);
  if (IsRectEmpty(&o->region)) {
    SetRectEmpty(rect);
    return NULLREGION;
  }
  *rect = o->region;
  return SIMPLEREGION;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long p = static_cast<long long>(number) * numerator;
  long long d = denominator;
  if (d < 0) {
    p = -p;
    d = -d;
  }
  long long q = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(q);
}
