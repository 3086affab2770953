#pragma once
// CDC: a device context of the class library. It owns the DC it created or
// was attached to and deletes it when destroyed; FromHandle answers a
// temporary wrapper that never deletes its DC. The selection calls answer
// the object replaced as a wrapper (FromHandle), as the class library does.
//
// The window's DCs (CPaintDC, CClientDC, CWindowDC) draw on the window's
// picture (win/winpaint.h): CPaintDC between BeginPaint and EndPaint,
// CClientDC and CWindowDC between GetDC (GetWindowDC) and ReleaseDC.

#include "mfc/afxgdi.h"
#include "mfc/cstring.h"
#include "win/winpaint.h"

class CWnd;

class PLATFORM_API CDC : public CObject {
  DECLARE_DYNAMIC(CDC)

 public:
  CDC() = default;
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  BOOL m_bPrinting = FALSE;

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC dc);
  BOOL Attach(HDC dc);
  HDC Detach();
  BOOL DeleteDC();
  // A memory DC like `dc` (null: like the screen).
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL IsPrinting() const { return m_bPrinting; }

  int SaveDC();
  BOOL RestoreDC(int savedDC);
  int GetDeviceCaps(int index) const;

  // ---- objects ----
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  CGdiObject* SelectObject(CGdiObject* object);
  // A region sets the clip; the answer is the region type.
  int SelectObject(CRgn* region);
  CGdiObject* SelectStockObject(int which);
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;

  // ---- attributes ----
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  UINT SetTextAlign(UINT align);
  UINT GetTextAlign() const;
  int SetPolyFillMode(int mode);

  // ---- clipping and coordinates ----
  int GetClipBox(LPRECT rect) const;
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect);
  int SelectClipRgn(CRgn* region);
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint GetViewportOrg() const;
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  CPoint GetWindowOrg() const;
  CPoint OffsetWindowOrg(int dx, int dy);
  void LPtoDP(LPPOINT points, int count = 1) const;
  void LPtoDP(LPRECT rect) const;
  void DPtoLP(LPPOINT points, int count = 1) const;
  void DPtoLP(LPRECT rect) const;

  // ---- lines and figures ----
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  CPoint GetCurrentPosition() const;
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL Polyline(const POINT* points, int count);
  BOOL Polygon(const POINT* points, int count);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(LPCRECT rect);
  void FillRect(LPCRECT rect, CBrush* brush);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void InvertRect(LPCRECT rect);
  void DrawFocusRect(LPCRECT rect);
  // Fills with a colour, which stays the DC's background colour.
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  // A one-pixel frame: top and left edges in the first colour, right and
  // bottom edges (with the corners they share with the others) in the second.
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
  COLORREF SetPixel(int x, int y, COLORREF color);

  // ---- text ----
  int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  BOOL TextOut(int x, int y, LPCTSTR text, int count);
  BOOL TextOut(int x, int y, const CString& text);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT advances);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT advances);
  CSize GetTextExtent(LPCTSTR text, int count) const;
  CSize GetTextExtent(const CString& text) const;
  BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
};

// The DC of a window's paint: BeginPaint at construction, EndPaint at
// destruction (a WM_PAINT handler's).
class PLATFORM_API CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)

 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd = nullptr;
};

namespace platform::afx {
// A DC of a window that is released (ReleaseDC) when the object goes.
class PLATFORM_API ReleasedDC : public CDC {
 public:
  ~ReleasedDC() override;

 protected:
  ReleasedDC(HWND hwnd, HDC dc);
  HWND m_hWnd = nullptr;
};
}  // namespace platform::afx

// The DC of a window's client area while the object lives.
class PLATFORM_API CClientDC : public platform::afx::ReleasedDC {
  DECLARE_DYNAMIC(CClientDC)

 public:
  explicit CClientDC(CWnd* wnd);
};

// The DC of a window's whole rectangle (frame included) while the object lives.
class PLATFORM_API CWindowDC : public platform::afx::ReleasedDC {
  DECLARE_DYNAMIC(CWindowDC)

 public:
  explicit CWindowDC(CWnd* wnd);
};

namespace platform {
// Frees the temporary CDC wrappers FromHandle made.
PLATFORM_API void deleteTemporaryDCs();
}  // namespace platform
