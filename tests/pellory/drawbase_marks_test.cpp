// The ground-line build's own drawing members, read back through the drawing
// database against hand values: texts in a style named by their font, the
// elevation mark (its triangle is the cross-section build's mark triangle,
// tested there), and the 2d polyline of a ground line.
#include <gtest/gtest.h>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"

namespace {

using drawbasetest::DrawingTest;
using drawbasetest::EntityFacts;
using drawbasetest::FactsOf;
using drawbasetest::ModelSpaceIds;
using drawbasetest::Reader;
using drawbasetest::StyleFacts;
using drawbasetest::StyleOf;

AcGePoint3d P(double x, double y, double z = 0.0) { return AcGePoint3d(x, y, z); }

void ExpectPoint(const AcGePoint3d& actual, const AcGePoint3d& expected, const char* what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
  EXPECT_NEAR(actual.z, expected.z, 1e-9) << what;
}

using PelloryMarks = DrawingTest;

TEST_F(PelloryMarks, TextsMakeTheirStyleOnceAndAlignByMode) {
  struct Case {
    int mode;
    AcDb::TextHorzMode horizontal;
  };
  const Case cases[] = {{1, AcDb::kTextLeft}, {2, AcDb::kTextCenter}, {3, AcDb::kTextRight}, {0, AcDb::kTextRight}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const AcGePoint3d at(3, 4, 0);
    const AcDbObjectId id = BAS_DRAW_FUN::MakeTextWithStyle(at, "DK1+234.50", 0.3, 2.5, 3, c.mode, "黑体");
    EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbText", "0", 3, -1, "ByLayer"}));
    Reader<AcDbText> text(id);
    EXPECT_EQ(text->horizontalMode(), c.horizontal);
    ExpectPoint(c.horizontal == AcDb::kTextLeft ? text->position() : text->alignmentPoint(), at, "anchor");
    EXPECT_STREQ(text->textString(), "DK1+234.50");
    EXPECT_NEAR(text->rotation(), 0.3, 1e-12);
    EXPECT_NEAR(text->height(), 2.5, 1e-12);
    const StyleFacts style = StyleOf(text->textStyle());
    EXPECT_EQ(style.name, "黑体");
    EXPECT_EQ(style.fileName, "黑体");
    EXPECT_EQ(style.typeface, "黑体");
    EXPECT_EQ(style.charset, 134);
    EXPECT_EQ(style.pitchAndFamily, 2);
    EXPECT_NEAR(style.xScale, 0.8, 1e-12);
    EXPECT_EQ(drawbasetest::TextStyleCount("黑体"), 1);
  }
}

TEST_F(PelloryMarks, ElevationMarkOfSizeTwoHasItsTextHalfAUnitAbove) {
  const AcDbObjectId textId = BAS_DRAW_FUN::DrawElevationMark(P(7, 3), 1.0, "101.25", 6, 2, 2.0, 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[1], textId);
  // The triangle stands on its apex and spans y 3 .. 3.3, 0.4 wide at its top.
  Reader<AcDbSolid> solid(ids[0]);
  AcGePoint3d corners[4];
  for (Adesk::UInt16 i = 0; i < 4; ++i) solid->getPointAt(i, corners[i]);
  ExpectPoint(corners[0], P(7, 3), "apex");
  ExpectPoint(corners[1], P(6.8, 3.3), "left");
  ExpectPoint(corners[2], P(7.2, 3.3), "right");
  ExpectPoint(corners[3], P(7, 3), "apex again");
  EXPECT_EQ(FactsOf(ids[0]), (EntityFacts{"AcDbSolid", "0", 6, -1, "ByLayer"}));
  Reader<AcDbText> text(textId);
  EXPECT_EQ(text->horizontalMode(), AcDb::kTextLeft);
  ExpectPoint(text->position(), P(7, 3.5), "text");
  EXPECT_NEAR(text->height(), 1.0, 1e-12);
  EXPECT_NEAR(text->rotation(), 0.0, 1e-12);
  EXPECT_EQ(text->colorIndex(), 2);
  EXPECT_STREQ(text->textString(), "101.25");
  EXPECT_EQ(StyleOf(text->textStyle()).name, "宋体");
}

TEST_F(PelloryMarks, Polyline2dRunsThroughTheVerticesOnTheGivenLayer) {
  const AcDbObjectId layer = drawbasetest::AddTestLayer("地面线", 3);
  AcGePoint3dArray vertices;
  vertices.append(P(0, 0.6));
  vertices.append(P(-2, 0.4));
  vertices.append(P(-6, 1.0, 2.0));
  const AcDbObjectId id = BAS_DRAW_FUN::MakePolyline2d(vertices, 0, 0.1, 0.2, layer);
  EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDb2dPolyline", "地面线", 0, -1, "ByLayer"}));
  Reader<AcDb2dPolyline> pl(id);
  EXPECT_EQ(pl->polyType(), AcDb::k2dSimplePoly);
  EXPECT_FALSE(pl->isClosed());
  EXPECT_NEAR(pl->defaultStartWidth(), 0.1, 1e-12);
  EXPECT_NEAR(pl->defaultEndWidth(), 0.2, 1e-12);
  const AcGePoint3d expected[] = {P(0, 0.6), P(-2, 0.4), P(-6, 1.0)};
  const std::vector<drawbasetest::Vertex2d> drawn = drawbasetest::Polyline2dVertices(*pl);
  ASSERT_EQ(drawn.size(), 3u);
  for (size_t i = 0; i < drawn.size(); ++i) {
    ExpectPoint(drawn[i].position, expected[i], "vertex");
    EXPECT_EQ(drawn[i].bulge, 0.0);
  }
  // Without a layer the polyline goes on the current layer; one vertex makes none.
  EXPECT_EQ(FactsOf(BAS_DRAW_FUN::MakePolyline2d(vertices, 1, 0, 0, AcDbObjectId::kNull)).layer, "0");
  AcGePoint3dArray one;
  one.append(P(1, 1));
  EXPECT_TRUE(BAS_DRAW_FUN::MakePolyline2d(one, 0, 0, 0, layer).isNull());
  EXPECT_EQ(ModelSpaceIds().size(), 2u);
}

}  // namespace
