// The plan drawing's entity makers, read back through the drawing database:
// lines, polylines, texts, layers, end ticks and clipped polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"

namespace {

using drawbasetest::DrawingTest;
using drawbasetest::EntityFacts;
using drawbasetest::FactsOf;
using drawbasetest::ModelSpaceIds;
using drawbasetest::Reader;

constexpr double kTol = 1e-9;
constexpr double kPi = std::numbers::pi;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0.0); }

AcGePoint2dArray Points(std::initializer_list<AcGePoint2d> points) {
  AcGePoint2dArray array;
  for (const AcGePoint2d& p : points) array.append(p);
  return array;
}

void ExpectPoint(const AcGePoint3d& actual, double x, double y, const char* what) {
  EXPECT_NEAR(actual.x, x, 1e-7) << what;
  EXPECT_NEAR(actual.y, y, 1e-7) << what;
}

// Start and end of the lines of model space, in drawing order.
struct Segment {
  double x1, y1, x2, y2;
};
std::vector<Segment> ModelSpaceSegments() {
  std::vector<Segment> segments;
  for (AcDbObjectId id : ModelSpaceIds()) {
    Reader<AcDbLine> line(id);
    if (!line) continue;
    segments.push_back({line->startPoint().x, line->startPoint().y, line->endPoint().x, line->endPoint().y});
  }
  return segments;
}

void ExpectSegments(const std::vector<Segment>& actual, const std::vector<Segment>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(actual[i].x1, expected[i].x1, 1e-7) << "segment " << i;
    EXPECT_NEAR(actual[i].y1, expected[i].y1, 1e-7) << "segment " << i;
    EXPECT_NEAR(actual[i].x2, expected[i].x2, 1e-7) << "segment " << i;
    EXPECT_NEAR(actual[i].y2, expected[i].y2, 1e-7) << "segment " << i;
  }
}

class PlanMakers : public DrawingTest {};

// ---- Lines ----------------------------------------------------------------

TEST_F(PlanMakers, LinesTakeTheirLayerColourWeightAndLineType) {
  struct Case {
    const char* layer;
    int colour;
    int lineWeight;
    const char* linetype;
    EntityFacts expected;
  };
  const Case cases[] = {
      // null layer: layer "0"; colour -1 and weight -1 are by layer; no line type
      {nullptr, -1, -1, nullptr, {"AcDbLine", "0", 256, -1, "ByLayer"}},
      // a new layer is created; a type of acadiso.lin is loaded and set
      {"交点连线", 3, 50, "DASHED", {"AcDbLine", "交点连线", 3, 50, "DASHED"}},
      // "CONTINUOUS" is in every drawing already (names compare without case)
      {"里程", 1, 0, "CONTINUOUS", {"AcDbLine", "里程", 1, 0, "Continuous"}},
      // a type in neither file leaves the line by layer
      {"里程", 130, 0, "NOSUCHTYPE", {"AcDbLine", "里程", 130, 0, "ByLayer"}},
      // the line maker reads acadiso.lin only: the rail type is not found
      {"里程", 5, -1, "TUNNELMIDLINE", {"AcDbLine", "里程", 5, -1, "ByLayer"}},
  };
  double x = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.layer + "/" + (c.linetype ? c.linetype : "none"));
    const AcDbObjectId id =
        BAS_DRAW_FUN::MakeLine(P(x, 1), P(x + 3, 5), c.colour, c.lineWeight, c.layer, c.linetype);
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(FactsOf(id), c.expected);
    Reader<AcDbLine> line(id);
    ExpectPoint(line->startPoint(), x, 1, "start");
    ExpectPoint(line->endPoint(), x + 3, 5, "end");
    x += 10;
  }
  EXPECT_EQ(drawbasetest::LayerCount("里程"), 1);
  EXPECT_FALSE(drawbasetest::HasLinetype("TUNNELMIDLINE"));
}

TEST_F(PlanMakers, AnExistingLayerIsReusedWithItsColour) {
  const AcDbObjectId layer = drawbasetest::AddTestLayer("交点", 4);
  BAS_DRAW_FUN::MakeLine(P(0, 0), P(1, 1), -1, -1, "交点", nullptr);
  BAS_DRAW_FUN::MakeLine(P(0, 0), P(2, 2), -1, -1, "交点", nullptr);
  EXPECT_EQ(drawbasetest::LayerCount("交点"), 1);
  Reader<AcDbLayerTableRecord> record(layer);
  EXPECT_EQ(record->colorIndex(), 4);
}

// ---- Polylines --------------------------------------------------------------

TEST_F(PlanMakers, PolylinesHaveTheirVerticesWidthsAndLineTypes) {
  // The install folder is the one of this module's file: a rail type found
  // only there proves the folder is cut from the module path.
  const std::filesystem::path install = m_dir / "Suite";
  std::filesystem::create_directories(install / "lib");
  {
    FILE* f = std::fopen((install / "lib" / "rail.lin").string().c_str(), "w");
    std::fputs("*SUITEONLY,Suite line type\nA,5,-2\n", f);
    std::fclose(f);
  }
  drawbasetest::ModulePathScope module(install, "brevell.arx");

  struct Case {
    const char* name;
    AcDbObjectId id;
    EntityFacts facts;
    double width;  // at every vertex
    double linetypeScale;
  };
  const AcGePoint2dArray three = Points({{0, 0}, {10, 0}, {10, 5}});
  const Case cases[] = {
      {"plain", BAS_DRAW_FUN::MakePolyline(three, 2, 18, "交点连线", "CONTINUOUS"),
       {"AcDbPolyline", "交点连线", 2, 18, "Continuous"}, 0.0, 1.0},
      {"acadiso type", BAS_DRAW_FUN::MakeWidePolyline(three, 0.8, -1, "线路中线", "CENTER", 2.5),
       {"AcDbPolyline", "线路中线", 256, -1, "CENTER"}, 0.8, 2.5},
      {"rail type", BAS_DRAW_FUN::MakeWidePolyline(three, 0.35, 1, "左线路中线", "SUITEONLY", 10.0),
       {"AcDbPolyline", "左线路中线", 1, -1, "SUITEONLY"}, 0.35, 10.0},
      {"unknown type", BAS_DRAW_FUN::MakeWidePolyline(three, 1.5, 3, "隧道", "NOWHERE", 1.0),
       {"AcDbPolyline", "隧道", 3, -1, "ByLayer"}, 1.5, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.id.isNull());
    EXPECT_EQ(FactsOf(c.id), c.facts);
    Reader<AcDbPolyline> pl(c.id);
    ASSERT_EQ(pl->numVerts(), 3u);
    EXPECT_FALSE(pl->isClosed());
    EXPECT_NEAR(pl->linetypeScale(), c.linetypeScale, kTol);
    const double xs[] = {0, 10, 10}, ys[] = {0, 0, 5};
    for (unsigned int i = 0; i < 3; ++i) {
      AcGePoint2d p;
      double bulge = 1, start = -1, end = -1;
      pl->getPointAt(i, p);
      pl->getBulgeAt(i, bulge);
      pl->getWidthsAt(i, start, end);
      EXPECT_NEAR(p.x, xs[i], kTol);
      EXPECT_NEAR(p.y, ys[i], kTol);
      EXPECT_EQ(bulge, 0.0);
      EXPECT_NEAR(start, c.width, kTol);
      EXPECT_NEAR(end, c.width, kTol);
    }
  }
}

TEST_F(PlanMakers, ARailLineTypeComesFromTheInstallFoldersRailFile) {
  // The installed lib\rail.lin holds the tunnel centre line; acadiso.lin does not.
  drawbasetest::ModulePathScope module(RAIL_INSTALL_DIR, "brevell.arx");
  ASSERT_EQ(db()->loadLineTypeFile("TUNNELMIDLINE", "acadiso.lin"), Acad::eUndefinedLineType);
  const AcDbObjectId id =
      BAS_DRAW_FUN::MakeTwoPointPolyline(AcGePoint3d(1, 2, 7), AcGePoint3d(4, 6, 9), 0.5, -1, "隧道", "TUNNELMIDLINE", 2.0);
  EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbPolyline", "隧道", 256, -1, "TUNNELMIDLINE"}));
  Reader<AcDbPolyline> pl(id);
  ASSERT_EQ(pl->numVerts(), 2u);
  AcGePoint2d a, b;
  pl->getPointAt(0, a);
  pl->getPointAt(1, b);
  EXPECT_EQ(a, AcGePoint2d(1, 2));
  EXPECT_EQ(b, AcGePoint2d(4, 6));
  EXPECT_EQ(pl->elevation(), 0.0);
  double width = 0;
  EXPECT_EQ(pl->getConstantWidth(width), Acad::eOk);
  EXPECT_NEAR(width, 0.5, kTol);
}

TEST_F(PlanMakers, APolylineNeedsTwoPoints) {
  EXPECT_TRUE(BAS_DRAW_FUN::MakePolyline(Points({{1, 1}}), -1, -1, nullptr, nullptr).isNull());
  EXPECT_TRUE(BAS_DRAW_FUN::MakeWidePolyline(AcGePoint2dArray(), 1.0, -1, nullptr, nullptr, 1.0).isNull());
  EXPECT_TRUE(ModelSpaceIds().empty());
}

// ---- Texts ------------------------------------------------------------------

TEST_F(PlanMakers, TextsAreAlignedByTheirMode) {
  struct Case {
    int mode;
    AcDb::TextHorzMode horizontal;
    bool atPosition;  // the given point is the insertion point (else the alignment point)
  };
  const Case cases[] = {
      {1, AcDb::kTextLeft, true},    {2, AcDb::kTextCenter, false}, {3, AcDb::kTextMid, false},
      {4, AcDb::kTextRight, false},  {0, AcDb::kTextRight, false},  {-1, AcDb::kTextRight, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const AcGePoint3d at(100 + c.mode, 50, 0);
    const AcDbObjectId id = BAS_DRAW_FUN::MakeText(at, "JD12", 0.5, 3.0, 2, c.mode, "交点");
    EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbText", "交点", 2, -1, "ByLayer"}));
    Reader<AcDbText> text(id);
    EXPECT_EQ(text->horizontalMode(), c.horizontal);
    EXPECT_EQ(text->verticalMode(), AcDb::kTextBase);
    ExpectPoint(c.atPosition ? text->position() : text->alignmentPoint(), at.x, at.y, "anchor");
    EXPECT_STREQ(text->textString(), "JD12");
    EXPECT_NEAR(text->rotation(), 0.5, kTol);
    EXPECT_NEAR(text->height(), 3.0, kTol);
    EXPECT_NEAR(text->widthFactor(), 0.7, kTol);
  }
  EXPECT_EQ(drawbasetest::TextStyleCount("PMBZ"), 1);
}

TEST_F(PlanMakers, TextsUseThePlanStyleMadeOnce) {
  const AcDbObjectId a = BAS_DRAW_FUN::MakeText(P(0, 0), "K1+200", 0, 2, -1, 1, nullptr);
  const AcDbObjectId b = BAS_DRAW_FUN::MakeTextFromCString(P(0, 5), CString("里程"), kPi / 2, 2, -1, 3, "里程");
  EXPECT_EQ(drawbasetest::TextStyleCount("PMBZ"), 1);
  const AcDbObjectId style = BAS_DRAW_FUN::GetPlanTextStyle();
  Reader<AcDbText> ta(a), tb(b);
  EXPECT_EQ(ta->textStyle(), style);
  EXPECT_EQ(tb->textStyle(), style);
  EXPECT_STREQ(tb->textString(), "里程");
  EXPECT_EQ(FactsOf(a).layer, "0");
  const drawbasetest::StyleFacts facts = drawbasetest::StyleOf(style);
  EXPECT_EQ(facts.name, "PMBZ");
  EXPECT_EQ(facts.typeface, "宋体");
  EXPECT_EQ(facts.charset, 134);
  EXPECT_EQ(facts.pitchAndFamily, 2);
  EXPECT_NEAR(facts.xScale, 0.7, kTol);
}

TEST_F(PlanMakers, AnExistingPlanStyleIsKeptAsItIs) {
  AcDbTextStyleTable* table = nullptr;
  db()->getTextStyleTable(table, AcDb::kForWrite);
  auto* record = new AcDbTextStyleTableRecord();
  record->setName("pmbz");
  record->setFileName("txt.shx");
  record->setXScale(1.0);
  AcDbObjectId existing;
  table->add(existing, record);
  record->close();
  table->close();

  EXPECT_EQ(BAS_DRAW_FUN::GetPlanTextStyle(), existing);
  const AcDbObjectId id = BAS_DRAW_FUN::MakeText(P(0, 0), "x", 0, 1, -1, 1, nullptr);
  Reader<AcDbText> text(id);
  EXPECT_EQ(text->textStyle(), existing);
  EXPECT_EQ(drawbasetest::TextStyleCount("PMBZ"), 1);
  const drawbasetest::StyleFacts facts = drawbasetest::StyleOf(existing);
  EXPECT_EQ(facts.fileName, "txt.shx");
  EXPECT_NEAR(facts.xScale, 1.0, kTol);
}

// ---- Layers -----------------------------------------------------------------

TEST_F(PlanMakers, LayerRecordsGetColourAndWeightNewOrExisting) {
  const AcDbObjectId existing = drawbasetest::AddTestLayer("大中桥", 7);
  struct Case {
    const char* name;
    int colour;
    int lineWeight;
    const char* linetype;
    int expectedColour;
    AcDb::LineWeight expectedWeight;
    const char* expectedLinetype;
  };
  const Case cases[] = {
      {"交点", 130, -1, "CONTINUOUS", 130, AcDb::kLnWtByLwDefault, "Continuous"},
      {"大中桥", 5, 50, nullptr, 5, AcDb::kLnWt050, nullptr},
      {"导线", 1, 0, "DASHED", 1, AcDb::kLnWt000, "DASHED"},
      // a colour that no layer can have leaves the layer's own
      {"车站", 0, 0, nullptr, 7, AcDb::kLnWt000, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AcDbObjectId id = BAS_DRAW_FUN::AddLayerRecord(c.name, c.colour, c.lineWeight, c.linetype);
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(id, drawbasetest::LayerIdOf(c.name));
    EXPECT_EQ(drawbasetest::LayerCount(c.name), 1);
    Reader<AcDbLayerTableRecord> layer(id);
    EXPECT_EQ(layer->colorIndex(), c.expectedColour);
    EXPECT_EQ(layer->lineWeight(), c.expectedWeight);
    if (c.expectedLinetype) {
      Reader<AcDbLinetypeTableRecord> type(layer->linetypeObjectId());
      EXPECT_STREQ(type->name(), c.expectedLinetype);
    }
  }
  EXPECT_EQ(drawbasetest::LayerIdOf("大中桥"), existing);
  // The text-object form updates the same record.
  EXPECT_EQ(BAS_DRAW_FUN::AddLayerWithColor(CString("大中桥"), 1, 0), existing);
  Reader<AcDbLayerTableRecord> layer(existing);
  EXPECT_EQ(layer->colorIndex(), 1);
  EXPECT_EQ(layer->lineWeight(), AcDb::kLnWt000);
}

// ---- End ticks --------------------------------------------------------------

TEST_F(PlanMakers, EndTicksPointOutwardAtBothEnds) {
  // Segment (0,0)-(10,0) runs east: bearing π/2. At (10,0) the tick runs east
  // by s = 2 and the barb 0.6 long at bearing 0.6π: (0.6·sin 108°, 0.6·cos 108°).
  // At (0,0) the outward bearing is 3π/2 and the barb's 1.6π.
  const double s108 = 0.95105651629515357, c108 = -0.30901699437494740;
  BAS_DRAW_FUN::DrawEndTicks(P(0, 0), P(10, 0), 2.0, 4, 0, "左线间距", "CONTINUOUS");
  ExpectSegments(ModelSpaceSegments(), {{0, 0, -2, 0},
                                        {0, 0, -0.6 * s108, -0.6 * c108},
                                        {10, 0, 12, 0},
                                        {10, 0, 10 + 0.6 * s108, 0.6 * c108}});
  for (AcDbObjectId id : ModelSpaceIds()) {
    EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbLine", "左线间距", 4, 0, "Continuous"}));
  }
}

TEST_F(PlanMakers, EndTicksOfASlantedSegment) {
  // (0,0)-(3,4): bearing atan2(3, 4); the outward unit at (3,4) is (0.6, 0.8).
  BAS_DRAW_FUN::DrawEndTicks(P(0, 0), P(3, 4), 5.0, -1, -1, nullptr, nullptr);
  const std::vector<Segment> s = ModelSpaceSegments();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_NEAR(s[0].x2, -3, 1e-9);
  EXPECT_NEAR(s[0].y2, -4, 1e-9);
  EXPECT_NEAR(s[2].x2, 6, 1e-9);
  EXPECT_NEAR(s[2].y2, 8, 1e-9);
  // The barb is 1.5 long and 18° from the tick, turned towards growing bearing
  // (clockwise in the drawing).
  const double barbAngle = std::atan2(s[3].y2 - 4, s[3].x2 - 3);
  EXPECT_NEAR(std::hypot(s[3].x2 - 3, s[3].y2 - 4), 1.5, 1e-9);
  EXPECT_NEAR(barbAngle, std::atan2(0.8, 0.6) - 0.1 * kPi, 1e-9);
}

// ---- Clipped polylines --------------------------------------------------------

TEST_F(PlanMakers, ClippedPolylinesStopAtTheCircles) {
  struct Case {
    const char* name;
    AcGePoint2dArray points;
    double radius;
    bool cutEnds;
    std::vector<Segment> expected;
  };
  const Case cases[] = {
      // a curve's tangent lines A-IP-C: only the intersection point is cut out
      {"inner only", Points({{0, 0}, {10, 0}, {10, 10}}), 2, false, {{0, 0, 8, 0}, {10, 2, 10, 10}}},
      {"with ends", Points({{0, 0}, {10, 0}, {10, 10}}), 2, true, {{2, 0, 8, 0}, {10, 2, 10, 8}}},
      // 3-4-5 legs: the cut of 1 is (0.6, 0.8) along each leg
      {"slanted", Points({{0, 0}, {3, 4}, {6, 0}}), 1, false, {{0, 0, 2.4, 3.2}, {3.6, 3.2, 6, 0}}},
      // traverse of four points, every inner point cut
      {"traverse",
       Points({{0, 0}, {0, 10}, {10, 10}, {10, 20}}),
       0.5,
       false,
       {{0, 0, 0, 9.5}, {0.5, 10, 9.5, 10}, {10, 10.5, 10, 20}}},
      // a leg wholly inside the circles draws nothing
      {"short leg", Points({{0, 0}, {1, 0}, {1, 5}}), 2, false, {{1, 2, 1, 5}}},
      {"two points", Points({{0, 0}, {5, 0}}), 1, false, {{0, 0, 5, 0}}},
      {"two points cut", Points({{0, 0}, {5, 0}}), 1, true, {{1, 0, 4, 0}}},
      {"no radius", Points({{0, 0}, {5, 0}, {5, 5}}), 0, true, {{0, 0, 5, 0}, {5, 0, 5, 5}}},
      {"one point", Points({{3, 3}}), 1, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::setCurrentDrawing(nullptr);
    BAS_DRAW_FUN::DrawPolylineClipped(c.points, c.radius, -1, -1, "交点连线", nullptr, c.cutEnds);
    ExpectSegments(ModelSpaceSegments(), c.expected);
    for (AcDbObjectId id : ModelSpaceIds()) {
      EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbLine", "交点连线", 256, -1, "ByLayer"}));
    }
  }
}

// ---- Model space ----------------------------------------------------------------

TEST_F(PlanMakers, AppendingClosesTheEntityAndKeepsNothingRefused) {
  auto* line = new AcDbLine(P(0, 0), P(1, 0));
  const AcDbObjectId id = BAS_DRAW_FUN::AddToModelSpace(line);
  ASSERT_FALSE(id.isNull());
  AcDbEntity* reopened = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(reopened, id, AcDb::kForWrite), Acad::eOk);  // closed by the append
  // An entity of the drawing cannot be appended again: it stays as it is.
  EXPECT_TRUE(BAS_DRAW_FUN::AddToModelSpace(reopened).isNull());
  EXPECT_FALSE(reopened->isWriteEnabled());
  EXPECT_EQ(ModelSpaceIds().size(), 1u);
  EXPECT_TRUE(BAS_DRAW_FUN::AddToModelSpace(nullptr).isNull());
  // Without a drawing the new entity is refused and freed (the sanitizer
  // would report a leak).
  platform::closeCurrentDrawing();
  EXPECT_TRUE(BAS_DRAW_FUN::AddToModelSpace(new AcDbLine(P(0, 0), P(1, 0))).isNull());
  EXPECT_TRUE(BAS_DRAW_FUN::MakeLine(P(0, 0), P(1, 1), 1, 0, "L", nullptr).isNull());
  EXPECT_TRUE(BAS_DRAW_FUN::MakeText(P(0, 0), "t", 0, 1, 1, 1, "L").isNull());
}

}  // namespace
