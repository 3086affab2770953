// Rectangles exclude their right and bottom edges; intersections and unions of
// empty rectangles are empty.
#include <gtest/gtest.h>

#include "mfc/atltypes.h"

namespace {

struct RectCase {
  const char* name;
  RECT a, b;
  BOOL intersects;
  RECT intersection;
  RECT unionRect;
};

TEST(RectTest, IntersectionAndUnion) {
  const RectCase cases[] = {
      {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}, {0, 0, 20, 20}},
      {"touching edges do not intersect", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, {0, 0, 20, 10}},
      {"inside", {0, 0, 10, 10}, {2, 3, 4, 5}, TRUE, {2, 3, 4, 5}, {0, 0, 10, 10}},
      {"empty one leaves the other", {0, 0, 0, 10}, {1, 1, 3, 3}, FALSE, {0, 0, 0, 0}, {1, 1, 3, 3}},
      {"both empty", {5, 5, 5, 5}, {7, 7, 6, 8}, FALSE, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.name);
    CRect out(99, 99, 99, 99);
    EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.intersects);
    EXPECT_TRUE(out == c.intersection) << out.left << "," << out.top << "," << out.right << "," << out.bottom;
    CRect u(99, 99, 99, 99);
    EXPECT_EQ(UnionRect(&u, &c.a, &c.b), IsRectEmpty(&c.unionRect) ? FALSE : TRUE);
    EXPECT_TRUE(u == c.unionRect);
  }
}

TEST(RectTest, PointsOnTheRightAndBottomEdgesAreOutside) {
  const CRect r(0, 0, 10, 5);
  EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
  EXPECT_TRUE(r.PtInRect(CPoint(9, 4)));
  EXPECT_FALSE(r.PtInRect(CPoint(10, 4)));
  EXPECT_FALSE(r.PtInRect(CPoint(9, 5)));
  EXPECT_FALSE(r.PtInRect(CPoint(-1, 0)));
}

TEST(RectTest, MfcRectArithmetic) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  r.DeflateRect(1, 2, 3, 4);
  EXPECT_TRUE(r == CRect(11, 22, 107, 66));
  r.OffsetRect(CPoint(-11, -22));
  EXPECT_TRUE(r == CRect(0, 0, 96, 44));
  r.BottomRight() = CPoint(5, 6);
  EXPECT_TRUE(r == CRect(0, 0, 5, 6));
  CRect flipped(10, 10, 0, 0);
  EXPECT_TRUE(flipped.IsRectEmpty());
  flipped.NormalizeRect();
  EXPECT_TRUE(flipped == CRect(0, 0, 10, 10));
  // A packed mouse position holds signed words.
  const CPoint p(static_cast<LPARAM>(MAKELONG(-5, 7)));
  EXPECT_EQ(p, CPoint(-5, 7));
  EXPECT_EQ(CPoint(3, 4) - CPoint(1, 1), CSize(2, 3));
}

}  // namespace
