#pragma once
// GDI objects of the class library: CGdiObject and its pens, brushes, fonts,
// bitmaps and regions. An object owns the handle it created or was attached
// to and deletes it when it is destroyed (DeleteObject). FromHandle answers a
// wrapper of a handle the caller does not own: the object that owns it, or a
// temporary one kept by the library, which never deletes the handle.

#include "mfc/atltypes.h"
#include "mfc/cobject.h"
#include "win/paint.h"
#include "win/sysparams.h"
#include "win/wingdi.h"

class CDC;
typedef LOGPEN* LPLOGPEN;

class PLATFORM_API CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  // The wrapper of a handle (null for a null handle).
  static CGdiObject* FromHandle(HGDIOBJ handle);

  // Takes a handle the object then owns; FALSE for a null handle or when it
  // holds one already.
  BOOL Attach(HGDIOBJ handle);
  HGDIOBJ Detach();
  // Deletes the handle (FALSE when there is none or GDI refuses: an object
  // selected into a DC stays).
  BOOL DeleteObject();
  int GetObject(int size, LPVOID buffer) const;
  UINT GetObjectType() const;
  BOOL CreateStockObject(int which);
};

class PLATFORM_API CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)

 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color);
  static CPen* FromHandle(HPEN pen);
  BOOL CreatePen(int style, int width, COLORREF color);
  BOOL CreatePenIndirect(LPLOGPEN pen);
  int GetLogPen(LOGPEN* pen) const;
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class PLATFORM_API CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF color);
  static CBrush* FromHandle(HBRUSH brush);
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  // A brush of a system colour (the system's own: deleting it does nothing).
  BOOL CreateSysColorBrush(int index);
  int GetLogBrush(LOGBRUSH* brush) const;
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class PLATFORM_API CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  static CFont* FromHandle(HFONT font);
  BOOL CreateFontIndirect(const LOGFONT* font);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCTSTR faceName);
  // A font of `pointSize` tenths of a point at 96 dots per inch.
  BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* font) const;
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class PLATFORM_API CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)

 public:
  static CBitmap* FromHandle(HBITMAP bitmap);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* bitmap) const;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class PLATFORM_API CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)

 public:
  static CRgn* FromHandle(HRGN region);
  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  void SetRectRgn(int left, int top, int right, int bottom);
  void SetRectRgn(LPCRECT rect);
  int GetRgnBox(LPRECT rect) const;
  operator HRGN() const { return reinterpret_cast<HRGN>(m_hObject); }
};

namespace platform {
// Frees the temporary wrappers FromHandle made (the message loop does it
// when idle; the handles stay as they are).
PLATFORM_API void deleteTemporaryGdiObjects();
}  // namespace platform
