// Device contexts: state, saving, clipping, origins, and the drawing calls,
// each turned into one GdiOp for the DC's back ends.
#include <algorithm>
#include <cstring>
#include <utility>

#include "crt/utf8.h"
#include "win/gdi_internal.h"
#include "win/rect.h"
#include "win/sysparams.h"
#include "win/textmetrics.h"

namespace platform::gdi {

namespace {

void countSelection(HGDIOBJ h, int delta) {
  if (Object* o = findObject(h)) o->selections += delta;
}

void countState(const DCState& s, int delta) {
  countSelection(s.pen, delta);
  countSelection(s.brush, delta);
  countSelection(s.font, delta);
  countSelection(s.bitmap, delta);
}

RECT opBounds(const GdiOp& op) {
  switch (op.kind) {
    case GdiOp::kPolyline:
    case GdiOp::kPolygon: {
      if (op.points.empty()) return RECT{0, 0, 0, 0};
      RECT r{op.points[0].x, op.points[0].y, op.points[0].x, op.points[0].y};
      for (const POINT& p : op.points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
      }
      int grow = std::max(1, op.pen.width) / 2 + 1;
      InflateRect(&r, grow, grow);
      return r;
    }
    case GdiOp::kText: {
      RECT r = op.box;
      if (op.options & ETO_OPAQUE) UnionRect(&r, &r, &op.optionRect);
      return r;
    }
    case GdiOp::kPixel: return RECT{op.position.x, op.position.y, op.position.x + 1, op.position.y + 1};
    default: return op.rect;
  }
}

}  // namespace

const LOGFONT& fontOf(DC& dc) {
  if (Object* o = findObject(dc.state.font, OBJ_FONT)) return o->font;
  return findObject(GetStockObject(SYSTEM_FONT), OBJ_FONT)->font;
}

GdiPen penOf(DC& dc) {
  if (Object* o = findObject(dc.state.pen, OBJ_PEN)) return o->pen;
  return GdiPen{};
}

GdiBrush brushOf(DC& dc) {
  if (Object* o = findObject(dc.state.brush, OBJ_BRUSH)) return o->brush;
  return GdiBrush{};
}

POINT logicalOffset(const DC& dc) {
  return POINT{dc.state.viewportOrg.x - dc.state.windowOrg.x, dc.state.viewportOrg.y - dc.state.windowOrg.y};
}

POINT deviceOffset(const DC& dc) {
  POINT o = logicalOffset(dc);
  return POINT{o.x + dc.origin.x, o.y + dc.origin.y};
}

POINT toDevice(const DC& dc, int x, int y) {
  POINT o = deviceOffset(dc);
  return POINT{x + o.x, y + o.y};
}

RECT toDevice(const DC& dc, const RECT& r) {
  POINT o = deviceOffset(dc);
  return RECT{r.left + o.x, r.top + o.y, r.right + o.x, r.bottom + o.y};
}

Surface* surfaceOf(DC& dc) {
  if (dc.image) return dc.image.get();
  if (!dc.memory) return nullptr;
  Object* o = findObject(dc.state.bitmap, OBJ_BITMAP);
  return o ? o->bitmap.get() : nullptr;
}

uintptr_t targetOf(DC& dc, HDC handle) {
  if (dc.image || !dc.memory) return dc.imageId ? dc.imageId : reinterpret_cast<uintptr_t>(handle);
  return reinterpret_cast<uintptr_t>(dc.state.bitmap);
}

RECT boundsOf(DC& dc) {
  RECT all{0, 0, dc.width, dc.height};
  if (Surface* s = surfaceOf(dc)) all = RECT{0, 0, s->width(), s->height()};
  if (!dc.hasVisible) return all;
  RECT r;
  if (!IntersectRect(&r, &all, &dc.visible)) return RECT{0, 0, 0, 0};
  return r;
}

RECT deviceClip(DC& dc) {
  RECT b = boundsOf(dc);
  if (!dc.state.hasClip) return b;
  RECT r;
  IntersectRect(&r, &b, &dc.state.clip);
  return r;
}

void emit(HDC handle, DC& dc, GdiOp& op) {
  op.target = targetOf(dc, handle);
  op.clip = deviceClip(dc);
  op.offset = deviceOffset(dc);
  RECT bounds = opBounds(op), meet;
  op.visible = IntersectRect(&meet, &bounds, &op.clip) != FALSE;
  if (op.visible)
    if (Surface* s = surfaceOf(dc)) drawOnSurface(*s, op);
  if (dc.recorder) dc.recorder->draw(op);
}

}  // namespace platform::gdi

using namespace platform::gdi;
using platform::GdiOp;

namespace {

int regionType(const RECT& r) { return IsRectEmpty(&r) ? NULLREGION : SIMPLEREGION; }

// The DC and its handle for a drawing call; null (with the error set) for a
// handle that names no DC.
DC* dcOf(HDC handle) {
  DC* dc = findDC(handle);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return dc;
}

}  // namespace

RECT platform::gdi::normalized(int l, int t, int r, int b) {
  return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// ---- device contexts ----

HDC CreateCompatibleDC(HDC like) {
  DC* base = nullptr;
  if (like && !(base = dcOf(like))) return nullptr;
  auto dc = std::make_unique<DC>();
  dc->memory = true;
  dc->recorder = base ? base->recorder : nullptr;
  HDC h = addDC(std::move(dc));
  DC* made = findDC(h);
  made->state.bitmap = stockBitmap();
  countState(made->state, +1);
  return h;
}

BOOL DeleteDC(HDC handle) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  countState(dc->state, -1);
  removeDC(handle);
  return TRUE;
}

int SaveDC(HDC handle) {
  DC* dc = dcOf(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int level) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  long index = level < 0 ? static_cast<long>(dc->saved.size()) + level : static_cast<long>(level) - 1;
  if (level == 0 || index < 0 || index >= static_cast<long>(dc->saved.size())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DCState restored = dc->saved[static_cast<size_t>(index)];
  dc->saved.resize(static_cast<size_t>(index));
  // Objects deleted since the save give way to the stock ones; a bitmap that
  // another DC holds now is not taken from it.
  if (!findObject(restored.pen, OBJ_PEN)) restored.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  if (!findObject(restored.brush, OBJ_BRUSH)) restored.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  if (!findObject(restored.font, OBJ_FONT)) restored.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  if (dc->memory && restored.bitmap != dc->state.bitmap) {
    Object* bm = findObject(restored.bitmap, OBJ_BITMAP);
    if (!bm || (bm->selections > 0 && !bm->stock)) restored.bitmap = dc->state.bitmap;
  }
  countState(dc->state, -1);
  dc->state = restored;
  countState(dc->state, +1);
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  if (!dcOf(handle)) return 0;
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
  }
}

// ---- selection ----

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DC* dc = dcOf(handle);
  if (!dc) return nullptr;
  Object* o = findObject(object);
  if (!o) return invalidHandle<HGDIOBJ>(nullptr);
  HGDIOBJ* slot = nullptr;
  switch (o->type) {
    case OBJ_PEN: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.pen); break;
    case OBJ_BRUSH: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.brush); break;
    case OBJ_FONT: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.font); break;
    case OBJ_BITMAP:
      // Only a memory DC takes a bitmap, and a bitmap goes into one DC.
      if (!dc->memory) return invalidHandle<HGDIOBJ>(nullptr);
      if (object == dc->state.bitmap) return object;
      if (!o->stock && o->selections > 0) return invalidHandle<HGDIOBJ>(nullptr);
      slot = reinterpret_cast<HGDIOBJ*>(&dc->state.bitmap);
      break;
    case OBJ_REGION:
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(handle, reinterpret_cast<HRGN>(object))));
    default: return invalidHandle<HGDIOBJ>(nullptr);
  }
  HGDIOBJ previous = *slot;
  if (previous != object) {
    countSelection(previous, -1);
    countSelection(object, +1);
    *slot = object;
  }
  return previous;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DC* dc = dcOf(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->memory ? dc->state.bitmap : nullptr;
    default: return nullptr;
  }
}

// ---- clipping and coordinates ----

int GetClipBox(HDC handle, LPRECT rect) {
  DC* dc = dcOf(handle);
  if (!dc || !rect) return ERROR;
  RECT clip = deviceClip(*dc);
  POINT o = deviceOffset(*dc);
  *rect = RECT{clip.left - o.x, clip.top - o.y, clip.right - o.x, clip.bottom - o.y};
  if (IsRectEmpty(&clip)) *rect = RECT{0, 0, 0, 0};
  return regionType(clip);
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DC* dc = dcOf(handle);
  if (!dc) return ERROR;
  RECT r = toDevice(*dc, normalized(left, top, right, bottom));
  RECT current = dc->state.hasClip ? dc->state.clip : boundsOf(*dc);
  IntersectRect(&dc->state.clip, &current, &r);
  dc->state.hasClip = true;
  return regionType(deviceClip(*dc));
}

int SelectClipRgn(HDC handle, HRGN region) {
  DC* dc = dcOf(handle);
  if (!dc) return ERROR;
  if (!region) {
    dc->state.hasClip = false;
    return regionType(deviceClip(*dc));
  }
  Object* o = findObject(reinterpret_cast<HGDIOBJ>(region), OBJ_REGION);
  if (!o) return invalidHandle(ERROR);
  dc->state.clip = o->region;
  OffsetRect(&dc->state.clip, dc->origin.x, dc->origin.y);
  dc->state.hasClip = true;
  return regionType(deviceClip(*dc));
}

namespace {

BOOL setOrigin(HDC handle, POINT DCState::*which, int x, int y, bool relative, LPPOINT previous) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  POINT& p = dc->state.*which;
  if (previous) *previous = p;
  p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
  return TRUE;
}

BOOL getOrigin(HDC handle, POINT DCState::*which, LPPOINT origin) {
  DC* dc = dcOf(handle);
  if (!dc || !origin) return FALSE;
  *origin = dc->state.*which;
  return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return setOrigin(dc, &DCState::viewportOrg, x, y, false, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) { return getOrigin(dc, &DCState::viewportOrg, origin); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
  return setOrigin(dc, &DCState::viewportOrg, dx, dy, true, previous);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return setOrigin(dc, &DCState::windowOrg, x, y, false, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) { return getOrigin(dc, &DCState::windowOrg, origin); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
  return setOrigin(dc, &DCState::windowOrg, dx, dy, true, previous);
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
  DC* dc = dcOf(handle);
  if (!dc || (!points && count > 0) || count < 0) return FALSE;
  POINT o = logicalOffset(*dc);
  for (int i = 0; i < count; ++i) points[i] = POINT{points[i].x + o.x, points[i].y + o.y};
  return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
  DC* dc = dcOf(handle);
  if (!dc || (!points && count > 0) || count < 0) return FALSE;
  POINT o = logicalOffset(*dc);
  for (int i = 0; i < count; ++i) points[i] = POINT{points[i].x - o.x, points[i].y - o.y};
  return TRUE;
}

// ---- attributes ----

COLORREF SetTextColor(HDC handle, COLORREF color) {
  DC* dc = dcOf(handle);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->state.textColor, color & 0xFFFFFF);
}
COLORREF GetTextColor(HDC handle) {
  DC* dc = dcOf(handle);
  return dc ? dc->state.textColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC handle, COLORREF color) {
  DC* dc = dcOf(handle);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->state.bkColor, color & 0xFFFFFF);
}
COLORREF GetBkColor(HDC handle) {
  DC* dc = dcOf(handle);
  return dc ? dc->state.bkColor : CLR_INVALID;
}
int SetBkMode(HDC handle, int mode) {
  DC* dc = dcOf(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->state.bkMode, mode);
}
int GetBkMode(HDC handle) {
  DC* dc = dcOf(handle);
  return dc ? dc->state.bkMode : 0;
}
UINT SetTextAlign(HDC handle, UINT align) {
  DC* dc = dcOf(handle);
  if (!dc) return static_cast<UINT>(-1);  // GDI_ERROR
  return std::exchange(dc->state.textAlign, align);
}
UINT GetTextAlign(HDC handle) {
  DC* dc = dcOf(handle);
  return dc ? dc->state.textAlign : static_cast<UINT>(-1);
}
int SetPolyFillMode(HDC handle, int mode) {
  DC* dc = dcOf(handle);
  if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
  return std::exchange(dc->state.polyFillMode, mode);
}
int GetPolyFillMode(HDC handle) {
  DC* dc = dcOf(handle);
  return dc ? dc->state.polyFillMode : 0;
}

// ---- lines and figures ----

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
  DC* dc = dcOf(handle);
  if (!dc || !position) return FALSE;
  *position = dc->state.position;
  return TRUE;
}

namespace {

BOOL drawPoints(HDC handle, GdiOp::Kind kind, const POINT* points, int count) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  if (!points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  GdiOp op;
  op.kind = kind;
  op.pen = penOf(*dc);
  if (kind == GdiOp::kPolygon) {
    op.brush = brushOf(*dc);
    op.fillMode = dc->state.polyFillMode;
  }
  for (int i = 0; i < count; ++i) op.points.push_back(toDevice(*dc, points[i].x, points[i].y));
  emit(handle, *dc, op);
  return TRUE;
}

BOOL drawFigure(HDC handle, GdiOp::Kind kind, int left, int top, int right, int bottom) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  GdiOp op;
  op.kind = kind;
  op.pen = penOf(*dc);
  op.brush = brushOf(*dc);
  op.rect = toDevice(*dc, normalized(left, top, right, bottom));
  emit(handle, *dc, op);
  return TRUE;
}

}  // namespace

BOOL LineTo(HDC handle, int x, int y) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  POINT pts[2] = {dc->state.position, POINT{x, y}};
  BOOL ok = drawPoints(handle, GdiOp::kPolyline, pts, 2);
  dc->state.position = POINT{x, y};
  return ok;
}

BOOL Polyline(HDC dc, const POINT* points, int count) { return drawPoints(dc, GdiOp::kPolyline, points, count); }
BOOL Polygon(HDC dc, const POINT* points, int count) { return drawPoints(dc, GdiOp::kPolygon, points, count); }

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return drawFigure(dc, GdiOp::kRectangle, left, top, right, bottom);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return drawFigure(dc, GdiOp::kEllipse, left, top, right, bottom);
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  GdiOp op;
  op.kind = GdiOp::kFillRect;
  op.rop = rop;
  switch (rop) {
    case PATCOPY:
    case PATINVERT: op.brush = brushOf(*dc); break;
    case BLACKNESS: op.brush = platform::GdiBrush{BS_SOLID, 0}; break;
    case WHITENESS: op.brush = platform::GdiBrush{BS_SOLID, 0xFFFFFF}; break;
    case DSTINVERT: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  op.rect = toDevice(*dc, normalized(x, y, x + width, y + height));
  emit(handle, *dc, op);
  return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
  if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND && rop != SRCINVERT)
    return PatBlt(dst, x, y, width, height, rop);
  DC* dc = dcOf(dst);
  DC* from = dcOf(src);
  if (!dc || !from) return FALSE;
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  GdiOp op;
  op.kind = GdiOp::kBlit;
  op.rop = rop;
  op.rect = toDevice(*dc, RECT{x, y, x + width, y + height});
  op.sourceRect = toDevice(*from, RECT{xSrc, ySrc, xSrc + width, ySrc + height});
  op.sourceTarget = targetOf(*from, src);
  platform::PixelImage pixels;
  if (Surface* s = surfaceOf(*from)) {
    pixels = s->pixels();
    op.source = &pixels;
  }
  emit(dst, *dc, op);
  op.source = nullptr;
  return TRUE;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DC* dc = dcOf(handle);
  if (!dc) return CLR_INVALID;
  Surface* s = surfaceOf(*dc);
  POINT p = toDevice(*dc, x, y);
  RECT clip = deviceClip(*dc);
  if (!s || !PtInRect(&clip, p)) return CLR_INVALID;
  platform::PixelImage img = s->pixels();
  uint32_t v = img.pixels[static_cast<size_t>(p.y) * static_cast<size_t>(img.stride) + static_cast<size_t>(p.x)];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DC* dc = dcOf(handle);
  if (!dc) return CLR_INVALID;
  GdiOp op;
  op.kind = GdiOp::kPixel;
  op.position = toDevice(*dc, x, y);
  op.textColor = color & 0xFFFFFF;
  emit(handle, *dc, op);
  return op.visible ? op.textColor : CLR_INVALID;
}

// ---- text ----

namespace {

size_t textLength(LPCSTR text, int count) {
  return count < 0 ? std::strlen(text) : static_cast<size_t>(count);
}

}  // namespace

namespace platform::gdi {

int textRunWidth(DC& dc, std::string_view text, const INT* advances, std::vector<int>* out) {
  TextMeasure& measure = textMeasure();
  const LOGFONT& font = fontOf(dc);
  std::vector<int> adv;
  size_t characters = 0;
  for (size_t i = 0; i < text.size();) {
    decodeUtf8(text, i);
    ++characters;
  }
  if (advances)
    adv.assign(advances, advances + characters);
  else if (measure.placesEachCharacter())
    adv = characterAdvances(font, text);
  int width = 0;
  if (!adv.empty() || characters == 0) {
    for (int a : adv) width += a;
  } else {
    width = measure.extent(font, text).cx;
  }
  if (out) *out = std::move(adv);
  return width;
}

void textRun(HDC handle, DC& dc, POINT topLeft, std::string_view text, UINT options, const RECT* rect,
             const INT* advances) {
  GdiOp op;
  op.kind = GdiOp::kText;
  op.text.assign(text);
  op.font = fontOf(dc);
  op.textColor = dc.state.textColor;
  op.bkColor = dc.state.bkColor;
  op.bkMode = dc.state.bkMode;
  op.options = rect ? (options & (ETO_OPAQUE | ETO_CLIPPED)) : 0;
  if (rect) op.optionRect = toDevice(dc, normalized(rect->left, rect->top, rect->right, rect->bottom));
  TEXTMETRIC tm = textMeasure().metrics(op.font);
  int width = textRunWidth(dc, text, advances, &op.advances);
  op.position = toDevice(dc, topLeft.x, topLeft.y);
  op.box = RECT{op.position.x, op.position.y, op.position.x + width, op.position.y + tm.tmHeight};
  op.baseline = op.position.y + tm.tmAscent;
  emit(handle, dc, op);
}

}  // namespace platform::gdi

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* advances) {
  DC* dc = dcOf(handle);
  if (!dc) return FALSE;
  if (!text && count > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string_view run(text ? text : "", text ? count : 0);
  int width = textRunWidth(*dc, run, advances, nullptr);
  TEXTMETRIC tm = platform::textMeasure().metrics(fontOf(*dc));
  UINT align = dc->state.textAlign;
  POINT at = (align & TA_UPDATECP) ? dc->state.position : POINT{x, y};
  int left = at.x, top = at.y;
  if ((align & TA_CENTER) == TA_CENTER)
    left -= width / 2;
  else if (align & TA_RIGHT)
    left -= width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    top -= tm.tmAscent;
  else if (align & TA_BOTTOM)
    top -= tm.tmHeight;
  if ((align & TA_UPDATECP) && (align & TA_CENTER) != TA_CENTER)
    dc->state.position.x += (align & TA_RIGHT) ? -width : width;
  textRun(handle, *dc, POINT{left, top}, run, options, rect, advances);
  return TRUE;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  if (!text && count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  size_t n = text ? textLength(text, count) : 0;
  return ExtTextOutA(handle, x, y, 0, nullptr, text, static_cast<UINT>(n), nullptr);
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, LPSIZE size) {
  DC* dc = dcOf(handle);
  if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
  *size = platform::textMeasure().extent(fontOf(*dc), std::string_view(text ? text : "", static_cast<size_t>(count)));
  return TRUE;
}

BOOL GetTextMetricsA(HDC handle, LPTEXTMETRIC metrics) {
  DC* dc = dcOf(handle);
  if (!dc || !metrics) return FALSE;
  *metrics = platform::textMeasure().metrics(fontOf(*dc));
  return TRUE;
}
