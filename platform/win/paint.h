#pragma once
// Painting helpers of the window manager's side: DrawText with its format
// flags, 3D edges, rectangle fills and frames.
//
// DrawText (`count` -1: up to the zero byte) lays the text out in `rect`:
// - DT_SINGLELINE: one line (line breaks in the text are dropped); DT_VCENTER
//   and DT_BOTTOM place it vertically (top + (height - line height) / 2,
//   bottom - line height). Without it the text breaks at CR LF, LF and CR, and
//   with DT_WORDBREAK also where a line would pass the rectangle's width:
//   after a run of blanks (which is dropped) or beside a Chinese character; a
//   word wider than the rectangle stays whole.
// - DT_LEFT, DT_CENTER (left + (width - line width) / 2), DT_RIGHT, per line.
// - '&' marks the next character to be underlined and "&&" stands for '&',
//   unless DT_NOPREFIX.
// - DT_EXPANDTABS: a tab moves to the next multiple of 8 average character
//   widths from the rectangle's left (DT_TABSTOP: bits 8..15 of the format
//   give the count instead of 8); without it a tab is a blank.
// - DT_END_ELLIPSIS: a line wider than the rectangle ends with "..." after as
//   many of its characters as fit with it.
// - The text is clipped to the rectangle unless DT_NOCLIP; the background
//   mode and colours of the DC apply as for TextOut.
// - DT_CALCRECT draws nothing: it sets the rectangle's right to left + the
//   widest line (of the whole text: no ellipsis) and its bottom to top + the
//   height of the lines.
// Every text has at least one line (an empty text is one empty line). The
// result is the height of the lines, or with DT_VCENTER / DT_BOTTOM on a
// single line the distance from the rectangle's top to the line's bottom; 0
// on failure.

#include "win/wingdi.h"

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000

// DrawEdge: which edges and of what kind.
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)

#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

PLATFORM_API int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
inline int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  return DrawTextA(dc, text, count, rect, format);
}
// Draws the edges `flags` names, one pixel of each kind from the outside in:
// raised outer: 3D light top-left, 3D dark shadow bottom-right; raised inner:
// highlight / shadow; sunken outer: shadow / highlight; sunken inner: dark
// shadow / light. BF_FLAT draws each line in the shadow colour, BF_MONO in the
// window-frame colour; BF_MIDDLE fills the inside with the face colour;
// BF_ADJUST shrinks `rect` to the inside.
PLATFORM_API BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
// Fills with a brush; a brush value 1 .. 31 is a system colour index + 1.
PLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// A one-pixel frame in the brush's colour.
PLATFORM_API int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
// Inverts the pixels of the rectangle.
PLATFORM_API BOOL InvertRect(HDC dc, const RECT* rect);
// A one-pixel frame drawn by inverting the pixels (drawn twice it is gone).
PLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);

namespace platform {
// Fills with a colour and leaves that colour as the DC's background colour
// (the class library's FillSolidRect).
PLATFORM_API BOOL fillSolidRect(HDC dc, const RECT* rect, COLORREF color);
}  // namespace platform
