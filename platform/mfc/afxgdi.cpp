// GDI objects of the class library.
#include "mfc/afxgdi.h"

#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "mfc/dc.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

// Objects that own their handles, and temporary wrappers of the others.
struct Maps {
  std::unordered_map<HGDIOBJ, CGdiObject*> owners;
  std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;
};

Maps& maps() {
  static auto* m = new Maps;
  return *m;
}

template <typename T>
T* typedFromHandle(HGDIOBJ handle, DWORD type) {
  if (!handle || ::GetObjectType(handle) != type) return nullptr;
  return static_cast<T*>(CGdiObject::FromHandle(handle));
}

}  // namespace

namespace platform {
void deleteTemporaryGdiObjects() {
  for (auto& [handle, object] : maps().temporary) object->m_hObject = nullptr;
  maps().temporary.clear();
}
}  // namespace platform

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
  if (!handle) return nullptr;
  Maps& m = maps();
  if (auto it = m.owners.find(handle); it != m.owners.end()) return it->second;
  if (auto it = m.temporary.find(handle); it != m.temporary.end()) return it->second.get();
  std::unique_ptr<CGdiObject> wrapper;
  switch (::GetObjectType(handle)) {
    case OBJ_PEN: wrapper = std::make_unique<CPen>(); break;
    case OBJ_BRUSH: wrapper = std::make_unique<CBrush>(); break;
    case OBJ_FONT: wrapper = std::make_unique<CFont>(); break;
    case OBJ_BITMAP: wrapper = std::make_unique<CBitmap>(); break;
    case OBJ_REGION: wrapper = std::make_unique<CRgn>(); break;
    default: wrapper = std::make_unique<CGdiObject>(); break;
  }
  wrapper->m_hObject = handle;
  CGdiObject* raw = wrapper.get();
  m.temporary.emplace(handle, std::move(wrapper));
  return raw;
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
  if (!handle || m_hObject) return FALSE;
  m_hObject = handle;
  maps().owners[handle] = this;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  if (h) {
    auto it = maps().owners.find(h);
    if (it != maps().owners.end() && it->second == this) maps().owners.erase(it);
  }
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  // A temporary wrapper never deletes the handle.
  auto it = maps().owners.find(m_hObject);
  if (it == maps().owners.end() || it->second != this) {
    m_hObject = nullptr;
    return FALSE;
  }
  HGDIOBJ h = m_hObject;
  if (!::DeleteObject(h)) return FALSE;
  Detach();
  return TRUE;
}

int CGdiObject::GetObject(int size, LPVOID buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
UINT CGdiObject::GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }
BOOL CGdiObject::CreateStockObject(int which) {
  HGDIOBJ h = ::GetStockObject(which);
  if (!h || m_hObject) return FALSE;
  m_hObject = h;  // stock objects are nobody's to delete
  return TRUE;
}

// ---- pens ----

CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
CPen* CPen::FromHandle(HPEN pen) { return typedFromHandle<CPen>(pen, OBJ_PEN); }
BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
BOOL CPen::CreatePenIndirect(LPLOGPEN pen) { return Attach(::CreatePenIndirect(pen)); }
int CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }

// ---- brushes ----

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return typedFromHandle<CBrush>(brush, OBJ_BRUSH); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
int CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }

// ---- fonts ----

CFont* CFont::FromHandle(HFONT font) { return typedFromHandle<CFont>(font, OBJ_FONT); }
BOOL CFont::CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirectA(font)); }
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName) {
  return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                              outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}
BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* /*dc*/) {
  LOGFONT lf{};
  lf.lfHeight = -MulDiv(pointSize, 96, 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (faceName) {
    // Cut at the last whole character that fits.
    std::string face(faceName);
    if (face.size() > LF_FACESIZE - 1) face.resize(LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, face.data(), face.size());
  }
  return CreateFontIndirect(&lf);
}
int CFont::GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }

// ---- bitmaps ----

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return typedFromHandle<CBitmap>(bitmap, OBJ_BITMAP); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}
int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

// ---- regions ----

CRgn* CRgn::FromHandle(HRGN region) { return typedFromHandle<CRgn>(region, OBJ_REGION); }
BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
  return Attach(::CreateRectRgn(left, top, right, bottom));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
void CRgn::SetRectRgn(int left, int top, int right, int bottom) {
  ::SetRectRgn(*this, left, top, right, bottom);
}
void CRgn::SetRectRgn(LPCRECT rect) {
  if (rect) SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}
int CRgn::GetRgnBox(LPRECT rect) const { return ::GetRgnBox(*this, rect); }
