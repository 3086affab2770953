// CDC.
#include "mfc/dc.h"

#include <memory>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

std::unordered_map<HDC, std::unique_ptr<CDC>>& temporaries() {
  static auto* t = new std::unordered_map<HDC, std::unique_ptr<CDC>>;
  return *t;
}

}  // namespace

namespace platform {
void deleteTemporaryDCs() {
  for (auto& [dc, wrapper] : temporaries()) wrapper->Detach();
  temporaries().clear();
}
}  // namespace platform

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc) {
  if (!dc) return nullptr;
  auto& t = temporaries();
  if (auto it = t.find(dc); it != t.end()) return it->second.get();
  auto wrapper = std::make_unique<CDC>();
  wrapper->m_hDC = wrapper->m_hAttribDC = dc;
  CDC* raw = wrapper.get();
  t.emplace(dc, std::move(wrapper));
  return raw;
}

BOOL CDC::Attach(HDC dc) {
  if (!dc || m_hDC) return FALSE;
  m_hDC = m_hAttribDC = dc;
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return dc;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int savedDC) { return ::RestoreDC(m_hDC, savedDC); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

// ---- objects ----

CPen* CDC::SelectObject(CPen* pen) {
  return pen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* brush) {
  return brush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
  return font ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject))) : nullptr;
}
CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return object ? CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject)) : nullptr;
}
int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }
CGdiObject* CDC::SelectStockObject(int which) {
  HGDIOBJ stock = ::GetStockObject(which);
  return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

// ---- attributes ----

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
UINT CDC::SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hDC); }
int CDC::SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }

// ---- clipping and coordinates ----

int CDC::GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}
int CDC::IntersectClipRect(LPCRECT rect) {
  return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}
int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region ? HRGN(*region) : nullptr); }

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetViewportOrg() const {
  POINT p{0, 0};
  ::GetViewportOrgEx(m_hDC, &p);
  return p;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  POINT old{0, 0};
  ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
  return old;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetWindowOrg() const {
  POINT p{0, 0};
  ::GetWindowOrgEx(m_hDC, &p);
  return p;
}
CPoint CDC::OffsetWindowOrg(int dx, int dy) {
  POINT old{0, 0};
  ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
  return old;
}
void CDC::LPtoDP(LPPOINT points, int count) const { ::LPtoDP(m_hDC, points, count); }
void CDC::LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::DPtoLP(LPPOINT points, int count) const { ::DPtoLP(m_hDC, points, count); }
void CDC::DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }

// ---- lines and figures ----

CPoint CDC::MoveTo(int x, int y) {
  POINT old{0, 0};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetCurrentPosition() const {
  POINT p{0, 0};
  ::GetCurrentPositionEx(m_hDC, &p);
  return p;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
BOOL CDC::Rectangle(LPCRECT r) { return r ? Rectangle(r->left, r->top, r->right, r->bottom) : FALSE; }
BOOL CDC::Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(m_hDC, left, top, right, bottom); }
BOOL CDC::Ellipse(LPCRECT r) { return r ? Ellipse(r->left, r->top, r->right, r->bottom) : FALSE; }
void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FillRect(m_hDC, rect, *brush);
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FrameRect(m_hDC, rect, *brush);
}
void CDC::InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  platform::fillSolidRect(m_hDC, rect, color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (rect) Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  return ::PatBlt(m_hDC, x, y, width, height, rop);
}
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
}
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }

// ---- text ----

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
  return ::DrawTextA(m_hDC, text, count, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return DrawText(text.GetString(), text.GetLength(), rect, format);
}
BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
BOOL CDC::TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT advances) {
  return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, advances);
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT advances) {
  return ExtTextOut(x, y, options, rect, text.GetString(), static_cast<UINT>(text.GetLength()), advances);
}
CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  SIZE s{0, 0};
  ::GetTextExtentPoint32A(m_hDC, text, count, &s);
  return s;
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
