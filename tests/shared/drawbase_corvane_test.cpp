// The cross-section build's drawing members, read back through the drawing
// database against hand values: layers, polylines, marks, lines, texts and
// their styles, level marks, dimension lines, erasing a layer by command,
// and the drawing saved as DXF and read back by ezdxf.
#include <gtest/gtest.h>

#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"
#include "win/transcript.h"

namespace {

using drawbasetest::AddTestLine;
using drawbasetest::DrawingTest;
using drawbasetest::EntityFacts;
using drawbasetest::FactsOf;
using drawbasetest::ModelSpaceIds;
using drawbasetest::ModelSpaceLayers;
using drawbasetest::Reader;
using drawbasetest::StyleFacts;
using drawbasetest::StyleOf;

constexpr double kTol = 1e-9;
constexpr double kHalfPi = std::numbers::pi / 2;

AcGePoint3d P(double x, double y, double z = 0.0) { return AcGePoint3d(x, y, z); }

void ExpectPoint(const AcGePoint3d& actual, const AcGePoint3d& expected, const char* what) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9) << what;
  EXPECT_NEAR(actual.y, expected.y, 1e-9) << what;
  EXPECT_NEAR(actual.z, expected.z, 1e-9) << what;
}

void ExpectLine(AcDbObjectId id, const AcGePoint3d& a, const AcGePoint3d& b) {
  Reader<AcDbLine> line(id);
  ASSERT_TRUE(line);
  ExpectPoint(line->startPoint(), a, "start");
  ExpectPoint(line->endPoint(), b, "end");
}

class CorvaneDrawing : public DrawingTest {};

// ---- Layers and plain entities -------------------------------------------

TEST_F(CorvaneDrawing, LayersAreMadeOnceAndKeepTheirProperties) {
  const AcDbObjectId hdm = BAS_DRAW_FUN::GetOrAddLayer("Hdm");
  ASSERT_FALSE(hdm.isNull());
  EXPECT_EQ(BAS_DRAW_FUN::GetOrAddLayer("HDM"), hdm);  // names compare without case
  EXPECT_EQ(drawbasetest::LayerCount("Hdm"), 1);
  const AcDbObjectId blue = drawbasetest::AddTestLayer("地面线", 5);
  EXPECT_EQ(BAS_DRAW_FUN::GetOrAddLayer("地面线"), blue);
  Reader<AcDbLayerTableRecord> layer(blue);
  EXPECT_EQ(layer->colorIndex(), 5);
  EXPECT_EQ(BAS_DRAW_FUN::GetOrAddLayer(nullptr), drawbasetest::LayerIdOf("0"));
  EXPECT_TRUE(BAS_DRAW_FUN::GetOrAddLayer("a<b").isNull());  // no layer can have that name
}

TEST_F(CorvaneDrawing, LinesTakeTheirLayerColourWeightAndLineType) {
  struct Case {
    const char* layer;
    int colour;
    int lineWeight;
    const char* linetype;
    EntityFacts expected;
  };
  const Case cases[] = {
      {nullptr, -1, -1, nullptr, {"AcDbLine", "0", 256, -1, "ByLayer"}},
      {"Hdm", 1, 30, "HIDDEN", {"AcDbLine", "Hdm", 1, 30, "HIDDEN"}},
      {"Hdm", 7, 0, "NOSUCHTYPE", {"AcDbLine", "Hdm", 7, 0, "ByLayer"}},
  };
  double x = 0;
  for (const Case& c : cases) {
    const AcDbObjectId id = BAS_DRAW_FUN::AddLineEntity(P(x, 1), P(x + 2, 3), c.colour, c.lineWeight, c.layer, c.linetype);
    EXPECT_EQ(FactsOf(id), c.expected);
    ExpectLine(id, P(x, 1), P(x + 2, 3));
    x += 5;
  }
  EXPECT_EQ(drawbasetest::LayerCount("Hdm"), 1);
}

TEST_F(CorvaneDrawing, Polyline2dRunsThroughThePointsAtElevationZero) {
  AcGePoint3dArray points;
  points.append(P(0, 0, 5));
  points.append(P(10, 0, 7));
  points.append(P(10, 10));
  const AcDbObjectId id = BAS_DRAW_FUN::AddPolyline2d(points, 0.2, 0.4, 1, "Hdm");
  EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDb2dPolyline", "Hdm", 1, -1, "ByLayer"}));
  Reader<AcDb2dPolyline> pl(id);
  EXPECT_EQ(pl->polyType(), AcDb::k2dSimplePoly);
  EXPECT_FALSE(pl->isClosed());
  EXPECT_EQ(pl->elevation(), 0.0);
  EXPECT_NEAR(pl->defaultStartWidth(), 0.2, kTol);
  EXPECT_NEAR(pl->defaultEndWidth(), 0.4, kTol);
  ASSERT_EQ(pl->numVertices(), 3);
  const AcGePoint3d expected[] = {P(0, 0), P(10, 0), P(10, 10)};
  const std::vector<drawbasetest::Vertex2d> vertices = drawbasetest::Polyline2dVertices(*pl);
  ASSERT_EQ(vertices.size(), 3u);
  for (size_t i = 0; i < vertices.size(); ++i) {
    ExpectPoint(vertices[i].position, expected[i], "vertex");
    EXPECT_EQ(vertices[i].bulge, 0.0);
  }
  AcGePoint3dArray one;
  one.append(P(1, 1));
  EXPECT_TRUE(BAS_DRAW_FUN::AddPolyline2d(one, 0, 0, 1, "Hdm").isNull());
  EXPECT_EQ(ModelSpaceIds().size(), 1u);
}

TEST_F(CorvaneDrawing, MarkTriangleStandsOnItsApex) {
  struct Case {
    AcGePoint3d p;
    double size;
    AcGePoint3d left, right;
  };
  const Case cases[] = {
      {P(10, 20), 2, P(9.8, 20.3), P(10.2, 20.3)},
      {P(-5, 1, 3), 10, P(-6, 2.5, 3), P(-4, 2.5, 3)},
  };
  for (const Case& c : cases) {
    const AcDbObjectId id = BAS_DRAW_FUN::AddMarkTriangle(c.p, c.size, 6);
    EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbSolid", "0", 6, -1, "ByLayer"}));
    Reader<AcDbSolid> solid(id);
    AcGePoint3d corners[4];
    for (Adesk::UInt16 i = 0; i < 4; ++i) solid->getPointAt(i, corners[i]);
    ExpectPoint(corners[0], c.p, "apex");
    ExpectPoint(corners[1], c.left, "left");
    ExpectPoint(corners[2], c.right, "right");
    ExpectPoint(corners[3], c.p, "apex again");
  }
}

// ---- Texts ------------------------------------------------------------------

TEST_F(CorvaneDrawing, TextsMakeTheirStyleAndAlignByMode) {
  using Maker = AcDbObjectId (*)(const AcGePoint3d&, const char*, double, double, int, int, const char*);
  struct Case {
    const char* name;
    Maker maker;
    int mode;
    const char* style;
    AcDb::TextHorzMode horizontal;
    StyleFacts styleFacts;
  };
  const Case cases[] = {
      {"left", &BAS_DRAW_FUN::AddTextEntity, 1, "hztxt", AcDb::kTextLeft, {"hztxt", "hztxt", "", "hztxt", 134, 2, 0.7}},
      {"centre", &BAS_DRAW_FUN::AddTextEntity, 2, "hztxt", AcDb::kTextCenter, {"hztxt", "hztxt", "", "hztxt", 134, 2, 0.7}},
      {"middle is right", &BAS_DRAW_FUN::AddTextEntity, 3, "hztxt", AcDb::kTextRight,
       {"hztxt", "hztxt", "", "hztxt", 134, 2, 0.7}},
      {"big font", &BAS_DRAW_FUN::AddTextEntityBigFont, 0, "txt", AcDb::kTextRight,
       {"txt", "txt", "gbcbig.shx", "txt", 134, 2, 0.7}},
      {"wide", &BAS_DRAW_FUN::AddTextEntityWide, 1, "宋体", AcDb::kTextLeft, {"宋体", "宋体", "", "宋体", 134, 2, 0.8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AcGePoint3d at(3, 4, 0);
    const AcDbObjectId id = c.maker(at, "K1+234.500", 0.3, 2.5, 4, c.mode, c.style);
    EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbText", "0", 4, -1, "ByLayer"}));
    Reader<AcDbText> text(id);
    EXPECT_EQ(text->horizontalMode(), c.horizontal);
    ExpectPoint(c.horizontal == AcDb::kTextLeft ? text->position() : text->alignmentPoint(), at, "anchor");
    EXPECT_STREQ(text->textString(), "K1+234.500");
    EXPECT_NEAR(text->rotation(), 0.3, kTol);
    EXPECT_NEAR(text->height(), 2.5, kTol);
    const StyleFacts style = StyleOf(text->textStyle());
    EXPECT_EQ(style.name, c.styleFacts.name);
    EXPECT_EQ(style.fileName, c.styleFacts.fileName);
    EXPECT_EQ(style.bigFont, c.styleFacts.bigFont);
    EXPECT_EQ(style.typeface, c.styleFacts.typeface);
    EXPECT_EQ(style.charset, c.styleFacts.charset);
    EXPECT_EQ(style.pitchAndFamily, c.styleFacts.pitchAndFamily);
    EXPECT_NEAR(style.xScale, c.styleFacts.xScale, kTol);
    EXPECT_EQ(drawbasetest::TextStyleCount(c.style), 1);
  }
}

TEST_F(CorvaneDrawing, AnExistingStyleIsUsedAsItIs) {
  AcDbTextStyleTable* table = nullptr;
  db()->getTextStyleTable(table, AcDb::kForWrite);
  auto* record = new AcDbTextStyleTableRecord();
  record->setName("romanc");
  record->setFileName("romanc.shx");
  AcDbObjectId existing;
  table->add(existing, record);
  record->close();
  table->close();

  const AcDbObjectId id = BAS_DRAW_FUN::AddTextEntityWide(P(0, 0), "1.5", 0, 1, -1, 2, "ROMANC");
  Reader<AcDbText> text(id);
  EXPECT_EQ(text->textStyle(), existing);
  EXPECT_EQ(drawbasetest::TextStyleCount("romanc"), 1);
  const StyleFacts style = StyleOf(existing);
  EXPECT_EQ(style.fileName, "romanc.shx");
  EXPECT_NEAR(style.xScale, 1.0, kTol);
  // Without a style name the text keeps the drawing's current style.
  const AcDbObjectId plain = BAS_DRAW_FUN::AddTextEntity(P(0, 0), nullptr, 0, 1, -1, 1, nullptr);
  Reader<AcDbText> plainText(plain);
  EXPECT_EQ(plainText->textStyle(), db()->textstyle());
  EXPECT_STREQ(plainText->textString(), "");
}

// ---- Level marks and dimension lines --------------------------------------------

TEST_F(CorvaneDrawing, LevelMarkIsATriangleWithItsTextAbove) {
  BAS_DRAW_FUN::DrawLevelMark(P(5, 5), 4, 6, "123.45");
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 2u);
  Reader<AcDbSolid> solid(ids[0]);
  AcGePoint3d left, right;
  solid->getPointAt(1, left);
  solid->getPointAt(2, right);
  ExpectPoint(left, P(4.6, 5.6), "left corner");
  ExpectPoint(right, P(5.4, 5.6), "right corner");
  EXPECT_EQ(solid->colorIndex(), 6);
  Reader<AcDbText> text(ids[1]);
  EXPECT_EQ(text->horizontalMode(), AcDb::kTextLeft);
  ExpectPoint(text->position(), P(5, 6), "text");
  EXPECT_NEAR(text->height(), 0.8, kTol);
  EXPECT_EQ(text->colorIndex(), 6);
  EXPECT_STREQ(text->textString(), "123.45");
  EXPECT_EQ(StyleOf(text->textStyle()).name, "romanc");
}

TEST_F(CorvaneDrawing, DimensionLinesHaveBarsTicksAndTheirValue) {
  struct Case {
    const char* name;
    AcGePoint3d p1, p2;
    double height;
    // bar and tick at p1, bar and tick at p2
    AcGePoint3d bar1a, bar1b, tick1a, tick1b, bar2a, bar2b, tick2a, tick2b;
    AcGePoint3d textAt;
    double rotation;
  };
  const Case cases[] = {
      {"horizontal", P(0, 0), P(20, 0.005), 2,
       P(0, -1), P(0, 1), P(-0.25, -0.5), P(0.25, 0.5),
       P(20, -0.995), P(20, 1.005), P(19.75, -0.495), P(20.25, 0.505),
       P(10, 0.5025), 0.0},
      {"vertical", P(0, 0), P(0, 10), 1,
       P(1, 0), P(-1, 0), P(0.5, -0.25), P(-0.5, 0.25),
       P(1, 10), P(-1, 10), P(0.5, 9.75), P(-0.5, 10.25),
       P(-0.25, 5), kHalfPi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::setCurrentDrawing(nullptr);
    BAS_DRAW_FUN::DrawDimensionLine(c.p1, c.p2, c.height, 3, "Hdm", "20.00");
    const std::vector<AcDbObjectId> ids = ModelSpaceIds();
    ASSERT_EQ(ids.size(), 6u);
    ExpectLine(ids[0], c.p1, c.p2);
    ExpectLine(ids[1], c.bar1a, c.bar1b);
    ExpectLine(ids[2], c.tick1a, c.tick1b);
    ExpectLine(ids[3], c.bar2a, c.bar2b);
    ExpectLine(ids[4], c.tick2a, c.tick2b);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(FactsOf(ids[i]), (EntityFacts{"AcDbLine", "Hdm", 3, -1, "ByLayer"}));
    EXPECT_EQ(FactsOf(ids[5]), (EntityFacts{"AcDbText", "Hdm", 3, -1, "ByLayer"}));
    Reader<AcDbText> text(ids[5]);
    EXPECT_EQ(text->horizontalMode(), AcDb::kTextCenter);
    ExpectPoint(text->alignmentPoint(), c.textAt, "text");
    EXPECT_NEAR(text->rotation(), c.rotation, kTol);
    EXPECT_NEAR(text->height(), c.height, kTol);
    const StyleFacts style = StyleOf(text->textStyle());
    EXPECT_EQ(style.name, "宋体");
    EXPECT_NEAR(style.xScale, 0.8, kTol);
  }
}

TEST_F(CorvaneDrawing, DimensionLineOnALayerGivenById) {
  const AcDbObjectId hdm = BAS_DRAW_FUN::GetOrAddLayer("Hdm");
  BAS_DRAW_FUN::DrawDimensionLine(P(0, 0), P(4, 0), 1, -1, hdm, "4.00");
  EXPECT_EQ(ModelSpaceLayers(), std::vector<std::string>(6, "Hdm"));
}

// ---- Erasing a layer by command ----------------------------------------------------

TEST_F(CorvaneDrawing, ErasingALayerByCommandRemovesExactlyItsEntities) {
  for (const char* layer : {"Hdm", "0", "Hdm", "Hdm1", "H-m", "Hdm"}) AddTestLine(layer, 0);
  {
    platform::TranscriptCapture transcript;
    BAS_DRAW_FUN::EraseLayerByCommand("hdm");
    EXPECT_FALSE(transcript.contains("fail to run ads_ssget function.")) << transcript.text();
  }
  EXPECT_EQ(ModelSpaceLayers(), (std::vector<std::string>{"0", "Hdm1", "H-m"}));
  // A layer with nothing on it: the selection fails and says so; so does a
  // name whose wild cards would match another layer.
  for (const char* layer : {"Hdm", "H.m", "没有"}) {
    platform::TranscriptCapture transcript;
    BAS_DRAW_FUN::EraseLayerByCommand(layer);
    EXPECT_EQ(transcript.text(), "\nfail to run ads_ssget function.") << layer;
  }
  EXPECT_EQ(ModelSpaceLayers(), (std::vector<std::string>{"0", "Hdm1", "H-m"}));
  EXPECT_EQ(platform::openSelectionSets(), 0);
}

// ---- DXF read-back -------------------------------------------------------------------

TEST_F(CorvaneDrawing, EveryEntityReadsBackWithEzdxf) {
  if (!drawbasetest::EzdxfAvailable()) GTEST_SKIP() << "python3-ezdxf is not installed";
  AcGePoint3dArray ground;
  ground.append(P(0, 0));
  ground.append(P(-5, 1));
  ground.append(P(-10, 0.5));
  BAS_DRAW_FUN::AddPolyline2d(ground, 0, 0, 2, "Hdm");
  BAS_DRAW_FUN::AddLineEntity(P(0, 0), P(0, 8), 1, 30, "Hdm", "CENTER");
  BAS_DRAW_FUN::DrawLevelMark(P(0, 8), 5, 6, "设计高程 123.45");
  BAS_DRAW_FUN::AddTextEntityBigFont(P(0, -3), "K1+234.500", 0, 1, 3, 2, "hztxt");
  BAS_DRAW_FUN::DrawDimensionLine(P(-10, -2), P(0, -2), 1, 4, "Hdm", "10.00");

  const std::string file = (m_dir / "section.dxf").string();
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  const std::vector<std::string> lines = drawbasetest::EzdxfReadBack(file);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "audit"), std::vector<std::string>{"audit\t0"});
  const std::vector<std::string> expected = {
      "entity\tPOLYLINE\tHdm\t2\tBYLAYER\t3\t0.0000,0.0000\t-5.0000,1.0000\t-10.0000,0.5000",
      "entity\tLINE\tHdm\t1\tCENTER\t0.0000,0.0000\t0.0000,8.0000",
      "entity\tSOLID\t0\t6\tBYLAYER\t0.0000,8.0000\t-0.5000,8.7500\t0.5000,8.7500\t0.0000,8.0000",
      "entity\tTEXT\t0\t6\tBYLAYER\t设计高程 123.45\tromanc\t0\t0\t0.0000,9.2500\t1.0000\t0.0000\t1.0000",
      "entity\tTEXT\t0\t3\tBYLAYER\tK1+234.500\thztxt\t1\t0\t0.0000,-3.0000\t1.0000\t0.0000\t1.0000",
      "entity\tLINE\tHdm\t4\tBYLAYER\t-10.0000,-2.0000\t0.0000,-2.0000",
      "entity\tLINE\tHdm\t4\tBYLAYER\t-10.0000,-3.0000\t-10.0000,-1.0000",
      "entity\tLINE\tHdm\t4\tBYLAYER\t-10.2500,-2.5000\t-9.7500,-1.5000",
      "entity\tLINE\tHdm\t4\tBYLAYER\t0.0000,-3.0000\t0.0000,-1.0000",
      "entity\tLINE\tHdm\t4\tBYLAYER\t-0.2500,-2.5000\t0.2500,-1.5000",
      "entity\tTEXT\tHdm\t4\tBYLAYER\t10.00\t宋体\t1\t0\t-5.0000,-1.7500\t1.0000\t0.0000\t1.0000",
  };
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "entity"), expected);
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "style\thztxt"),
            std::vector<std::string>{"style\thztxt\thztxt\tgbcbig.shx\t0.7000"});
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "style\t宋体"), std::vector<std::string>{"style\t宋体\t宋体\t\t0.8000"});
}

}  // namespace
