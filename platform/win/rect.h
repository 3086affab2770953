#pragma once
// The rectangle and point functions of the window system. A rectangle holds its
// left and top edges and excludes its right and bottom edges; it is empty when
// it has no width or no height.

#include "win/wintypes.h"

PLATFORM_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
PLATFORM_API BOOL SetRectEmpty(LPRECT rect);
PLATFORM_API BOOL CopyRect(LPRECT dst, const RECT* src);
PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
PLATFORM_API BOOL EqualRect(const RECT* a, const RECT* b);
PLATFORM_API BOOL PtInRect(const RECT* rect, POINT pt);
PLATFORM_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
PLATFORM_API BOOL InflateRect(LPRECT rect, int dx, int dy);
// Both return FALSE, with an empty *dst, when the result is empty.
PLATFORM_API BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
PLATFORM_API BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
