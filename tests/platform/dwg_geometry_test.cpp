// Geometry of entities: intersections (and their order), extents, transforms,
// text alignment, polyline conversion; the matrix and vector classes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

#include "dwg_fixture.h"

namespace {

using dwgtest::DrawingTest;
constexpr double kPi = std::numbers::pi;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0); }

std::unique_ptr<AcDbEntity> line(double x1, double y1, double x2, double y2) {
  return std::make_unique<AcDbLine>(P(x1, y1), P(x2, y2));
}

std::unique_ptr<AcDbEntity> lw(std::vector<AcGePoint2d> pts, std::vector<double> bulges = {}, bool closed = false) {
  auto p = std::make_unique<AcDbPolyline>();
  for (size_t i = 0; i < pts.size(); ++i)
    p->addVertexAt(static_cast<unsigned>(i), pts[i], i < bulges.size() ? bulges[i] : 0.0);
  p->setClosed(closed);
  return p;
}

std::unique_ptr<AcDbEntity> poly2d(std::vector<AcGePoint3d> pts) {
  AcGePoint3dArray arr;
  for (const auto& p : pts) arr.append(p);
  return std::make_unique<AcDb2dPolyline>(AcDb::k2dSimplePoly, arr);
}

// A 2-D polyline at an elevation, closed or not, with a bulge per vertex.
std::unique_ptr<AcDbEntity> poly2d(std::vector<AcGePoint3d> pts, double elevation, bool closed,
                                   std::vector<double> bulges) {
  AcGePoint3dArray arr;
  for (const auto& p : pts) arr.append(p);
  AcGeDoubleArray b;
  for (double v : bulges) b.append(v);
  return std::make_unique<AcDb2dPolyline>(AcDb::k2dSimplePoly, arr, elevation, closed, 0.0, 0.0, &b);
}

struct IntersectCase {
  const char* what;
  std::function<std::unique_ptr<AcDbEntity>()> self, other;
  AcDb::Intersect mode;
  std::vector<AcGePoint3d> expected;  // in the stated order
};

TEST(IntersectWithTest, PointsComeAlongThisEntity) {
  const double s = std::sqrt(2.0);
  const IntersectCase cases[] = {
      {"crossing lines", [] { return line(0, 0, 10, 0); }, [] { return line(5, -5, 5, 5); }, AcDb::kOnBothOperands,
       {P(5, 0)}},
      {"line through a circle, from its start",
       [] { return line(0, 0, 10, 0); },
       [] { return std::make_unique<AcDbCircle>(P(5, 0), AcGeVector3d::kZAxis, 2); }, AcDb::kOnBothOperands,
       {P(3, 0), P(7, 0)}},
      {"the same line drawn the other way",
       [] { return line(10, 0, 0, 0); },
       [] { return std::make_unique<AcDbCircle>(P(5, 0), AcGeVector3d::kZAxis, 2); }, AcDb::kOnBothOperands,
       {P(7, 0), P(3, 0)}},
      {"circle: counter-clockwise from angle 0",
       [] { return std::make_unique<AcDbCircle>(P(0, 0), AcGeVector3d::kZAxis, 5); },
       [] { return line(-10, 3, 10, 3); }, AcDb::kOnBothOperands, {P(4, 3), P(-4, 3)}},
      {"tangent line touches once",
       [] { return std::make_unique<AcDbCircle>(P(0, 0), AcGeVector3d::kZAxis, 2); },
       [] { return line(-5, 2, 5, 2); }, AcDb::kOnBothOperands, {P(0, 2)}},
      {"arc of the first quadrant",
       [] { return std::make_unique<AcDbArc>(P(0, 0), 5, 0, kPi / 2); },
       [] { return line(-10, 3, 10, 3); }, AcDb::kOnBothOperands, {P(4, 3)}},
      {"arc extended to its circle",
       [] { return std::make_unique<AcDbArc>(P(0, 0), 5, 0, kPi / 2); },
       [] { return line(-10, 3, 10, 3); }, AcDb::kExtendThis, {P(4, 3), P(-4, 3)}},
      {"short line misses", [] { return line(0, 0, 1, 0); }, [] { return line(5, -1, 5, 1); },
       AcDb::kOnBothOperands, {}},
      {"short line extended", [] { return line(0, 0, 1, 0); }, [] { return line(5, -1, 5, 1); }, AcDb::kExtendThis,
       {P(5, 0)}},
      {"argument extended", [] { return line(5, -1, 5, 1); }, [] { return line(0, 0, 1, 0); }, AcDb::kExtendArg,
       {P(5, 0)}},
      {"parallel lines", [] { return line(0, 0, 10, 0); }, [] { return line(0, 1, 10, 1); }, AcDb::kExtendBoth, {}},
      {"overlapping lines give no point", [] { return line(0, 0, 10, 0); }, [] { return line(5, 0, 15, 0); },
       AcDb::kOnBothOperands, {}},
      {"through a polyline vertex: once",
       [] { return lw({{0, 0}, {10, 0}, {10, 10}}); }, [] { return line(5, -5, 15, 5); }, AcDb::kOnBothOperands,
       {P(10, 0)}},
      {"polyline crossed twice, segment by segment",
       [] { return lw({{0, 0}, {10, 0}, {10, 10}}); }, [] { return line(2, -2, 12, 8); }, AcDb::kOnBothOperands,
       {P(4, 0), P(10, 6)}},
      {"polyline met at its end points in the order of its segments",
       [] { return lw({{0, 0}, {10, 10}, {20, 0}}); }, [] { return line(0, 5, 20, 5); }, AcDb::kOnBothOperands,
       {P(5, 5), P(15, 5)}},
      {"bulged segment (half circle through (0,-5))",
       [] { return lw({{-5, 0}, {5, 0}}, {1.0}); }, [] { return line(0, -10, 0, 10); }, AcDb::kOnBothOperands,
       {P(0, -5)}},
      {"two 2-D polylines (the inner slopes)",
       [] { return poly2d({P(0, 0), P(10, 10)}); }, [] { return poly2d({P(0, 10), P(10, 0)}); },
       AcDb::kOnBothOperands, {P(5, 5)}},
      {"closed 2-D polyline: its closing segment too, in the order of its segments",
       [] { return poly2d({P(0, 0), P(10, 0), P(10, 10), P(0, 10)}, 0.0, true, {0, 0, 0, 0}); },
       [] { return line(-5, 5, 15, 5); }, AcDb::kOnBothOperands, {P(10, 5), P(0, 5)}},
      {"open 2-D polyline: no closing segment",
       [] { return poly2d({P(0, 0), P(10, 0), P(10, 10), P(0, 10)}, 0.0, false, {0, 0, 0, 0}); },
       [] { return line(-5, 5, 15, 5); }, AcDb::kOnBothOperands, {P(10, 5)}},
      {"2-D polyline with a bulged segment (half circle through (0,-5))",
       [] { return poly2d({P(-5, 0), P(5, 0)}, 0.0, false, {1.0, 0.0}); }, [] { return line(0, -10, 0, 10); },
       AcDb::kOnBothOperands, {P(0, -5)}},
      {"2-D polyline at an elevation of 3 crossing a line in the plane",
       [] { return poly2d({P(0, 0), P(10, 10)}, 3.0, false, {0, 0}); }, [] { return line(0, 10, 10, 0); },
       AcDb::kOnBothOperands, {P(5, 5)}},
      {"polylines are not extended",
       [] { return poly2d({P(0, 0), P(1, 1)}); }, [] { return poly2d({P(0, 10), P(10, 0)}); }, AcDb::kExtendBoth, {}},
      {"two circles", [] { return std::make_unique<AcDbCircle>(P(0, 0), AcGeVector3d::kZAxis, 5); },
       [] { return std::make_unique<AcDbCircle>(P(6, 0), AcGeVector3d::kZAxis, 5); }, AcDb::kOnBothOperands,
       {P(3, 4), P(3, -4)}},
      {"circle and a clipping line of a clipped polyline",
       [s] { return std::make_unique<AcDbCircle>(P(10, 10), AcGeVector3d::kZAxis, s); },
       [] { return line(0, 0, 10, 10); }, AcDb::kOnBothOperands, {P(9, 9)}},
  };
  for (const IntersectCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto a = c.self();
    auto b = c.other();
    AcGePoint3dArray pts;
    ASSERT_EQ(a->intersectWith(b.get(), c.mode, pts), Acad::eOk);
    ASSERT_EQ(pts.length(), static_cast<int>(c.expected.size()));
    for (int i = 0; i < pts.length(); ++i) {
      EXPECT_NEAR(pts[i].x, c.expected[static_cast<size_t>(i)].x, 1e-9) << "point " << i;
      EXPECT_NEAR(pts[i].y, c.expected[static_cast<size_t>(i)].y, 1e-9) << "point " << i;
    }
  }
}

// An invisible 2-D polyline meets nothing.
TEST(IntersectWithTest, InvisiblePolylinesMeetNothing) {
  auto polyline = poly2d({P(0, 0), P(10, 0), P(10, 10)}, 0.0, false, {0, 0, 0});
  auto crossing = line(2, -2, 12, 8);
  AcGePoint3dArray pts;
  ASSERT_EQ(polyline->intersectWith(crossing.get(), AcDb::kOnBothOperands, pts), Acad::eOk);
  ASSERT_EQ(pts.length(), 2);  // (4, 0) and (10, 6)
  ASSERT_EQ(polyline->setVisibility(AcDb::kInvisible), Acad::eOk);
  pts.setLogicalLength(0);
  ASSERT_EQ(polyline->intersectWith(crossing.get(), AcDb::kOnBothOperands, pts), Acad::eOk);
  EXPECT_EQ(pts.length(), 0);
}

TEST(GeomExtentsTest, BoxesOfPlainEntities) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<AcDbEntity>()> make;
    AcGePoint3d min, max;
  };
  const Case cases[] = {
      {"line", [] { return line(3, 4, -1, 2); }, P(-1, 2), P(3, 4)},
      {"circle", [] { return std::make_unique<AcDbCircle>(P(1, 1), AcGeVector3d::kZAxis, 2); }, P(-1, -1), P(3, 3)},
      {"quarter arc", [] { return std::make_unique<AcDbArc>(P(0, 0), 5, 0, kPi / 2); }, P(0, 0), P(5, 5)},
      {"arc over the top", [] { return std::make_unique<AcDbArc>(P(0, 0), 2, kPi / 4, 3 * kPi / 4); },
       P(-std::sqrt(2.0), std::sqrt(2.0)), P(std::sqrt(2.0), 2)},
      // Text: half the height per GBK byte, times the width factor.
      {"ASCII text", [] { return std::make_unique<AcDbText>(P(0, 0), "AB", AcDbObjectId(), 2.0, 0.0); }, P(0, 0),
       P(2, 2)},
      {"Chinese text, width factor 0.7",
       [] {
         auto t = std::make_unique<AcDbText>(P(10, 0), "里程", AcDbObjectId(), 2.0, 0.0);
         t->setWidthFactor(0.7);
         return t;
       },
       P(10, 0), P(12.8, 2)},
      {"half-circle polyline", [] { return lw({{-5, 0}, {5, 0}}, {1.0}); }, P(-5, -5), P(5, 0)},
      // The closing segment (2,0)-(0,0) bulged by 1: a half circle about (1,0) through (1,1).
      {"closed polyline, its closing segment bulged", [] { return lw({{0, 0}, {2, 0}}, {0.0, 1.0}, true); }, P(0, 0),
       P(2, 1)},
      // (2,0)-(2,2) bulged by 1: counter-clockwise about (2,1), through (3,1); by -1 through (1,1).
      {"open polyline, the middle segment bulged", [] { return lw({{0, 0}, {2, 0}, {2, 2}}, {0.0, 1.0}); }, P(0, 0),
       P(3, 2)},
      {"open polyline, the middle segment bulged inwards", [] { return lw({{0, 0}, {2, 0}, {2, 2}}, {0.0, -1.0}); },
       P(0, 0), P(2, 2)},
      {"open polyline, a bulge on its last vertex bends nothing", [] { return lw({{0, 0}, {2, 0}}, {0.0, 1.0}); },
       P(0, 0), P(2, 0)},
      {"polyline of one vertex", [] { return lw({{3, 4}}, {1.0}, true); }, P(3, 4), P(3, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto e = c.make();
    AcDbExtents ext;
    ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.minPoint().x, c.min.x, 1e-9);
    EXPECT_NEAR(ext.minPoint().y, c.min.y, 1e-9);
    EXPECT_NEAR(ext.maxPoint().x, c.max.x, 1e-9);
    EXPECT_NEAR(ext.maxPoint().y, c.max.y, 1e-9);
  }
}

TEST(TransformTest, EntitiesFollowRotationAndScaling) {
  AcGeMatrix3d quarter = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, P(1, 0));
  AcDbLine l(P(1, 0), P(2, 0));
  ASSERT_EQ(l.transformBy(quarter), Acad::eOk);
  EXPECT_TRUE(l.startPoint().isEqualTo(P(1, 0)));
  EXPECT_TRUE(l.endPoint().isEqualTo(P(1, 1), AcGeTol()));
  EXPECT_NEAR(l.endPoint().x, 1, 1e-12);
  EXPECT_NEAR(l.endPoint().y, 1, 1e-12);

  AcDbText t(P(1, 0), "K1", AcDbObjectId(), 2.5, 0);
  ASSERT_EQ(t.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis)), Acad::eOk);
  EXPECT_NEAR(t.position().x, 0, 1e-12);
  EXPECT_NEAR(t.position().y, 1, 1e-12);
  EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(t.height(), 2.5);

  AcDbCircle c(P(1, 1), AcGeVector3d::kZAxis, 1);
  ASSERT_EQ(c.transformBy(AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_TRUE(c.center().isEqualTo(P(2, 2)));
  EXPECT_DOUBLE_EQ(c.radius(), 2);

  // A mirror turns an arc round: its ends swap.
  AcDbArc a(P(0, 0), 1, 0, kPi / 2);
  ASSERT_EQ(a.transformBy(AcGeMatrix3d::mirroring(P(0, 0), AcGeVector3d::kXAxis)), Acad::eOk);
  EXPECT_NEAR(a.startAngle(), kPi / 2, 1e-12);
  EXPECT_NEAR(a.endAngle(), kPi, 1e-12);

  // A block reference turns about the base point.
  AcDbBlockReference r(P(5, 0), AcDbObjectId());
  ASSERT_EQ(r.transformBy(AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis)), Acad::eOk);
  EXPECT_NEAR(r.position().x, -5, 1e-12);
  EXPECT_NEAR(r.rotation(), kPi, 1e-12);
}

TEST(TextAlignmentTest, AlignedTextIsPlacedFromItsAlignmentPoint) {
  // "AB" at height 2: 2 units wide. Right alignment at (10, 0) starts at (8, 0);
  // centre at (10, 0) starts at (9, 0); middle also lifts by half the height.
  struct Case {
    AcDb::TextHorzMode mode;
    AcGePoint3d start;
  };
  const Case cases[] = {{AcDb::kTextRight, P(8, 0)}, {AcDb::kTextCenter, P(9, 0)}, {AcDb::kTextMid, P(9, -1)}};
  for (const Case& c : cases) {
    AcDbText t;
    t.setTextString("AB");
    t.setHeight(2);
    t.setHorizontalMode(c.mode);
    t.setAlignmentPoint(P(10, 0));
    EXPECT_FALSE(t.isDefaultAlignment());
    EXPECT_NEAR(t.position().x, c.start.x, 1e-12) << c.mode;
    EXPECT_NEAR(t.position().y, c.start.y, 1e-12) << c.mode;
    EXPECT_TRUE(t.alignmentPoint().isEqualTo(P(10, 0)));
  }
  // Left alignment keeps its insertion point.
  AcDbText left(P(3, 4), "X");
  EXPECT_TRUE(left.isDefaultAlignment());
  EXPECT_TRUE(left.position().isEqualTo(P(3, 4)));
}

class PolylineTest : public DrawingTest {};

TEST_F(PolylineTest, VerticesWidthsAndIndexChecks) {
  AcDbPolyline p;
  EXPECT_EQ(p.addVertexAt(1, AcGePoint2d(0, 0)), Acad::eInvalidIndex);
  p.setConstantWidth(0.5);
  ASSERT_EQ(p.addVertexAt(0, AcGePoint2d(0, 0)), Acad::eOk);
  ASSERT_EQ(p.addVertexAt(1, AcGePoint2d(10, 0), 0.25), Acad::eOk);
  ASSERT_EQ(p.addVertexAt(1, AcGePoint2d(5, 5)), Acad::eOk);  // inserted in the middle
  AcGePoint2d q;
  ASSERT_EQ(p.getPointAt(1, q), Acad::eOk);
  EXPECT_EQ(q, AcGePoint2d(5, 5));
  EXPECT_EQ(p.getPointAt(3, q), Acad::eInvalidIndex);
  double w = 0;
  EXPECT_EQ(p.getConstantWidth(w), Acad::eOk);
  EXPECT_DOUBLE_EQ(w, 0.5);
  p.setWidthsAt(2, 1, 2);
  EXPECT_EQ(p.getConstantWidth(w), Acad::eInvalidInput);
}

TEST_F(PolylineTest, ConvertToTakesOverTheIdWithLinetypeGeneration) {
  auto* p = new AcDbPolyline();
  p->addVertexAt(0, AcGePoint2d(0, 0), 0, 0.35, 0.35);
  p->addVertexAt(1, AcGePoint2d(10, 0), 0.5, 0.35, 0.35);
  p->addVertexAt(2, AcGePoint2d(20, 5), 0, 0.35, 0.35);
  p->setPlinegen(true);
  p->setColorIndex(4);
  AcDbObjectId id = add(p);
  AcDbHandle before = id.handle();

  AcDbPolyline* lwp = nullptr;
  ASSERT_EQ(acdbOpenObject(lwp, id, AcDb::kForWrite), Acad::eOk);
  AcDb2dPolyline* heavy = nullptr;
  ASSERT_EQ(lwp->convertTo(heavy, true), Acad::eOk);
  delete lwp;  // out of the database now
  EXPECT_EQ(heavy->objectId(), id);
  EXPECT_TRUE(heavy->isLinetypeGenerationOn());
  heavy->close();

  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  AcDb2dPolyline* h = AcDb2dPolyline::cast(e);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->handle(), before);
  EXPECT_EQ(h->colorIndex(), 4);
  AcDbObjectIterator* it = h->vertexIterator();
  std::vector<AcGePoint3d> pts;
  std::vector<double> bulges;
  for (it->start(); !it->done(); it->step()) {
    AcDb2dVertex* v = nullptr;
    ASSERT_EQ(h->openVertex(v, it->objectId(), AcDb::kForRead), Acad::eOk);
    pts.push_back(h->vertexPosition(*v));
    bulges.push_back(v->bulge());
    EXPECT_DOUBLE_EQ(v->startWidth(), 0.35);
    v->close();
  }
  delete it;
  e->close();
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_TRUE(pts[2].isEqualTo(P(20, 5)));
  EXPECT_EQ(bulges, (std::vector<double>{0, 0.5, 0}));
  EXPECT_EQ(dwgtest::modelSpaceIds(db()).size(), 1u);
}

TEST(GeMatrixTest, RotationInverseAndComposition) {
  AcGeMatrix3d r = AcGeMatrix3d::rotation(kPi / 3, AcGeVector3d::kZAxis, P(2, 1));
  AcGeMatrix3d back = r.inverse();
  AcGePoint3d p(5, -3, 2);
  AcGePoint3d q = back * (r * p);
  EXPECT_NEAR(q.x, 5, 1e-12);
  EXPECT_NEAR(q.y, -3, 1e-12);
  EXPECT_NEAR(q.z, 2, 1e-12);
  // The centre stays where it is; a point 1 away turns by 60 degrees.
  EXPECT_TRUE((r * P(2, 1)).isEqualTo(P(2, 1)));
  AcGePoint3d t = r * P(3, 1);
  EXPECT_NEAR(t.x, 2.5, 1e-12);
  EXPECT_NEAR(t.y, 1 + std::sqrt(3.0) / 2, 1e-12);
  EXPECT_NEAR(r.det(), 1, 1e-12);
  EXPECT_NEAR(AcGeMatrix3d::scaling(2).det(), 8, 1e-12);
  EXPECT_TRUE(r.isUniScaledOrtho());
  // a * b applies b first.
  AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0)) * AcGeMatrix3d::scaling(3);
  EXPECT_TRUE((m * P(1, 1)).isEqualTo(P(4, 3)));
  EXPECT_NEAR(AcGeVector2d(0, -1).angle(), 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d::kYAxis, -AcGeVector3d::kZAxis), 3 * kPi / 2, 1e-12);
}

}  // namespace
