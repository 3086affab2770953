#pragma once
// GDI: device contexts, pens, brushes, fonts, bitmaps and rectangular regions.
//
// A device context (DC) draws into a surface: a memory DC into the bitmap
// selected into it, an image DC (win/gdiimage.h) into its own picture. Every
// drawing call is turned into one drawing operation in device coordinates with
// the clip, pen, brush, font and colours in force (win/canvas.h) and handed to
// the DC's back ends: the surface, drawn through cairo and pango, and, when the
// DC has one, a recorder that tests read back. Text is measured through one
// text-metrics interface (win/textmetrics.h): pango, or fixed widths in tests.
//
// Handles are checked: a handle that names no object, or an object of the
// wrong kind, is refused (the call answers 0/FALSE/NULL and GetLastError says
// ERROR_INVALID_HANDLE) and is never followed. An object selected into a DC
// cannot be deleted (DeleteObject answers FALSE); deleting a stock object does
// nothing and answers TRUE. A bitmap can be selected into one DC at a time.
//
// Coordinates: device = logical - window origin + viewport origin (the text
// mapping mode only). The clip is one rectangle, kept in device coordinates:
// the whole surface until IntersectClipRect or SelectClipRgn narrows it.
//
// Where this differs from the system's GDI: every bitmap is 24-bit colour
// (a bitmap made compatible with a fresh memory DC too); wide pens draw inside
// the figure's frame; clip regions are rectangles; text is UTF-8.

#include "win/filemap.h"
#include "win/wintypes.h"

typedef struct HRGN__* HRGN;
typedef struct HPALETTE__* HPALETTE;

// ---- object types (GetObjectType, GetCurrentObject) ----
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// ---- stock objects ----
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// ---- pens ----
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // x is the width
  COLORREF lopnColor;
};

// ---- brushes ----
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};

// ---- fonts ----
// Face names are UTF-8: the buffer holds 15 Chinese characters and the
// terminating zero, as the system's holds them in its own code page.
#define LF_FACESIZE 48

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134

#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

// The height: negative is the character height (the em), positive the cell
// height (character plus internal leading), 0 a default height; in pixels.
struct LOGFONT {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONT LOGFONTA;
typedef LOGFONT* LPLOGFONT;

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRIC TEXTMETRICA;
typedef TEXTMETRIC* LPTEXTMETRIC;

// ---- bitmaps ----
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

// ---- raster operations (BitBlt, PatBlt) ----
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define PATCOPY 0x00F00021u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// ---- regions and clipping ----
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)

// ---- colours, modes, text alignment ----
#define CLR_INVALID 0xFFFFFFFFu
#define TRANSPARENT 1
#define OPAQUE 2
#define ALTERNATE 1
#define WINDING 2

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// ---- device capabilities ----
#define TECHNOLOGY 2
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define DT_RASDISPLAY 1

// ---- device contexts ----
// A memory DC (its surface is the bitmap selected into it: a 1 x 1 stock
// bitmap at first). It keeps the recorder of `like` when `like` has one, so
// what is drawn off screen is recorded too. `like` may be NULL.
PLATFORM_API HDC CreateCompatibleDC(HDC like);
PLATFORM_API BOOL DeleteDC(HDC dc);
// Saves the DC's state (objects, colours, modes, origins, clip, position);
// answers the level (1, 2, ...), 0 on failure.
PLATFORM_API int SaveDC(HDC dc);
// Restores the state saved at `level` (a negative level counts back from the
// last save) and drops the saves above it.
PLATFORM_API BOOL RestoreDC(HDC dc, int level);
PLATFORM_API int GetDeviceCaps(HDC dc, int index);

// ---- objects ----
PLATFORM_API HGDIOBJ GetStockObject(int which);
// Selects a pen, brush, font or bitmap (memory DCs only) and answers the one
// it replaces; selecting a region sets the clip and answers the region type.
PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
PLATFORM_API DWORD GetObjectType(HGDIOBJ object);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONT, BITMAP) into
// `buffer` when it holds `size` bytes at least; answers the bytes copied (the
// size needed when buffer is null), 0 on failure.
PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
inline int GetObject(HGDIOBJ object, int size, LPVOID buffer) { return GetObjectA(object, size, buffer); }

PLATFORM_API HPEN CreatePen(int style, int width, COLORREF color);
PLATFORM_API HPEN CreatePenIndirect(const LOGPEN* pen);
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
// Solid and null brushes (hatched brushes are not made: NULL).
PLATFORM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
PLATFORM_API HFONT CreateFontIndirectA(const LOGFONT* font);
inline HFONT CreateFontIndirect(const LOGFONT* font) { return CreateFontIndirectA(font); }
PLATFORM_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                               DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                               DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                        DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                        DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                     outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
}
// A colour bitmap of width x height pixels, white at first (NULL for a size
// that is not positive or too large).
PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rect);
PLATFORM_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
PLATFORM_API int GetRgnBox(HRGN region, LPRECT rect);

// ---- clipping and coordinates ----
// The clip rectangle in logical coordinates; answers the region type.
PLATFORM_API int GetClipBox(HDC dc, LPRECT rect);
PLATFORM_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// A rectangular region (device coordinates) becomes the clip; NULL removes it.
PLATFORM_API int SelectClipRgn(HDC dc, HRGN region);
PLATFORM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
PLATFORM_API BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
PLATFORM_API BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
PLATFORM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
PLATFORM_API BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
PLATFORM_API BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
PLATFORM_API BOOL LPtoDP(HDC dc, LPPOINT points, int count);
PLATFORM_API BOOL DPtoLP(HDC dc, LPPOINT points, int count);

// ---- attributes ----
PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetTextColor(HDC dc);
PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC dc);
PLATFORM_API int SetBkMode(HDC dc, int mode);
PLATFORM_API int GetBkMode(HDC dc);
PLATFORM_API UINT SetTextAlign(HDC dc, UINT align);
PLATFORM_API UINT GetTextAlign(HDC dc);
PLATFORM_API int SetPolyFillMode(HDC dc, int mode);
PLATFORM_API int GetPolyFillMode(HDC dc);

// ---- lines and figures ----
PLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
PLATFORM_API BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);
// A line from the current position up to (not including) (x, y), which
// becomes the current position.
PLATFORM_API BOOL LineTo(HDC dc, int x, int y);
PLATFORM_API BOOL Polyline(HDC dc, const POINT* points, int count);
PLATFORM_API BOOL Polygon(HDC dc, const POINT* points, int count);
// Outlined with the pen, filled with the brush; the figure covers left ..
// right - 1 and top .. bottom - 1.
PLATFORM_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
PLATFORM_API BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
// The colour of a pixel of the DC's surface (CLR_INVALID outside it or the
// clip, or for a DC that only records).
PLATFORM_API COLORREF GetPixel(HDC dc, int x, int y);
PLATFORM_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

// ---- text ----
// `count` -1 takes the text up to its zero byte.
PLATFORM_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutA(dc, x, y, text, count); }
// `advances`, when given, holds one advance per character (code point) of
// the text.
PLATFORM_API BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                              const INT* advances);
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                       const INT* advances) {
  return ExtTextOutA(dc, x, y, options, rect, text, count, advances);
}
PLATFORM_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32A(dc, text, count, size);
}
PLATFORM_API BOOL GetTextMetricsA(HDC dc, LPTEXTMETRIC metrics);
inline BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC metrics) { return GetTextMetricsA(dc, metrics); }

// number * numerator / denominator, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit.
PLATFORM_API int MulDiv(int number, int numerator, int denominator);
