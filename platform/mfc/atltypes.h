#pragma once
// CPoint, CSize and CRect: the class library's value types over POINT, SIZE
// and RECT. They convert to the Win32 structures and pointers where a Win32
// function takes one, so a CRect can be passed as an LPRECT.

#include <utility>

#include "win/rect.h"

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int x, int y) : SIZE{x, y} {}
  CSize(SIZE s) : SIZE(s) {}
  CSize(POINT p) : SIZE{p.x, p.y} {}
  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  // Two of a kind compare without a conversion either way round, so C++20's
  // reversed candidates are no rival to these.
  bool operator==(const CSize& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const CSize& s) const { return !(*this == s); }
  void operator+=(SIZE s) { cx += s.cx, cy += s.cy; }
  void operator-=(SIZE s) { cx -= s.cx, cy -= s.cy; }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x0, int y0) : POINT{x0, y0} {}
  CPoint(POINT p) : POINT(p) {}
  CPoint(SIZE s) : POINT{s.cx, s.cy} {}
  // A packed lParam of a mouse message: x in the low word, y in the high word,
  // both signed.
  explicit CPoint(LPARAM packed) : POINT{(SHORT)LOWORD(packed), (SHORT)HIWORD(packed)} {}
  void Offset(int dx, int dy) { x += dx, y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  void SetPoint(int x0, int y0) { x = x0, y = y0; }
  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  bool operator==(const CPoint& p) const { return x == p.x && y == p.y; }
  bool operator!=(const CPoint& p) const { return !(*this == p); }
  void operator+=(SIZE s) { Offset(s); }
  void operator-=(SIZE s) { Offset(-s.cx, -s.cy); }
  void operator+=(POINT p) { Offset(p); }
  void operator-=(POINT p) { Offset(-p.x, -p.y); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}
  CRect(const RECT* r) : RECT(r ? *r : RECT{0, 0, 0, 0}) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  BOOL EqualRect(LPCRECT r) const { return ::EqualRect(this, r); }

  void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT r) { ::CopyRect(this, r); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
  void OffsetRect(SIZE s) { ::OffsetRect(this, s.cx, s.cy); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(SIZE s) { ::InflateRect(this, s.cx, s.cy); }
  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void InflateRect(LPCRECT r) { InflateRect(r->left, r->top, r->right, r->bottom); }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void DeflateRect(SIZE s) { ::InflateRect(this, -s.cx, -s.cy); }
  void DeflateRect(int l, int t, int r, int b) { left += l, top += t, right -= r, bottom -= b; }
  void DeflateRect(LPCRECT r) { DeflateRect(r->left, r->top, r->right, r->bottom); }
  void MoveToX(int x) { right += x - left, left = x; }
  void MoveToY(int y) { bottom += y - top, top = y; }
  void MoveToXY(int x, int y) { MoveToX(x), MoveToY(y); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }

  bool operator==(const RECT& r) const { return ::EqualRect(this, &r); }
  bool operator!=(const RECT& r) const { return !::EqualRect(this, &r); }
  bool operator==(const CRect& r) const { return ::EqualRect(this, &r); }
  bool operator!=(const CRect& r) const { return !::EqualRect(this, &r); }
  void operator+=(POINT p) { OffsetRect(p); }
  void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
  void operator&=(const RECT& r) { ::IntersectRect(this, this, &r); }
  void operator|=(const RECT& r) { ::UnionRect(this, this, &r); }
  CRect operator&(const RECT& r) const {
    CRect out;
    ::IntersectRect(&out, this, &r);
    return out;
  }
  CRect operator|(const RECT& r) const {
    CRect out;
    ::UnionRect(&out, this, &r);
    return out;
  }
};
