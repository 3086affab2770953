// Picking ground points from the drawing (a polyline drawn as a ground line,
// a line, a text) and drawing the ground line of the two grids with its
// elevation mark and chainage text. Entities are picked by the prompt
// answers a script gives: "#<handle>" and "x,y".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GroundLineInput.h"
#include "arx/arx.h"
#include "arx/prompt_input.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "input_support.h"
#include "shared/drawbase_support.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace {

using Points = std::vector<std::pair<double, double>>;

class Pick : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    input.SetElevationText("100");
    input.SetScaleText("1000");
  }
  void TearDown() override {
    platform::clearPromptTokens();
    platform::clearAnswers();
    DrawingTest::TearDown();
  }
  static std::string HandleOf(AcDbObjectId id) {
    char h[20];
    id.handle().getIntoAsciiBuffer(h, sizeof h);
    return std::string("#") + h;
  }
  static AcDbObjectId Polyline(const Points& vertices) {
    auto* pl = new AcDbPolyline();
    for (size_t i = 0; i < vertices.size(); ++i)
      pl->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(vertices[i].first, vertices[i].second));
    return BAS_DRAW_FUN::AddToModelSpace(pl);
  }
  // Picks the entity, answering the centre point when one is asked for.
  void PickEntity(AcDbObjectId id, const char* centre = nullptr) {
    platform::queuePromptToken(HandleOf(id));
    if (centre) platform::queuePromptToken(centre);
    input.OnPick();
  }
  // The points a grid's rows show.
  static Points Shown(const PointGrid& grid) {
    Points out;
    for (const PointGrid::Row& row : grid.rows)
      if (!row.distance.IsEmpty()) out.emplace_back(std::atof(row.distance.GetString()), std::atof(row.value.GetString()));
    return out;
  }
  GroundLineInput input;
  platform::TranscriptCapture transcript;
};

void ExpectPoints(const Points& actual, const Points& expected, const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t k = 0; k < actual.size(); ++k) {
    EXPECT_NEAR(actual[k].first, expected[k].first, 1e-9) << what << " " << k;
    EXPECT_NEAR(actual[k].second, expected[k].second, 1e-9) << what << " " << k;
  }
}

TEST_F(Pick, APolylineGivesBothSidesFromTheCentreOutwardEitherWayDrawn) {
  // The ground round a centre stake at (100, 50), drawn at 1:1000 (one unit a metre).
  const Points ground = {{75, 48.5}, {87.5, 49.2}, {100, 50}, {106, 50.3}, {115, 50.9}};
  Points reversed = ground;
  std::reverse(reversed.begin(), reversed.end());
  struct Case {
    const char* what;
    Points vertices;
    const char* scale;
    Points left, right;
  };
  const Case cases[] = {
      {"left to right", ground, "1000", {{12.5, -0.8}, {25, -1.5}}, {{6, 0.3}, {15, 0.9}}},
      {"right to left", reversed, "1000", {{12.5, -0.8}, {25, -1.5}}, {{6, 0.3}, {15, 0.9}}},
      {"at 1:500", ground, "500", {{6.25, -0.4}, {12.5, -0.75}}, {{3, 0.15}, {7.5, 0.45}}},
      {"left side only", {{100, 50}, {87.5, 49.2}, {75, 48.5}}, "1000", {{12.5, -0.8}, {25, -1.5}}, {}},
      {"left side only, drawn inward", {{75, 48.5}, {87.5, 49.2}, {100, 50}}, "1000", {{12.5, -0.8}, {25, -1.5}}, {}},
      {"right side only", {{115, 50.9}, {106, 50.3}}, "1000", {}, {{6, 0.3}, {15, 0.9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    input.SetScaleText(c.scale);
    PickEntity(Polyline(c.vertices), "100,50");
    // The centre vertex (distance 0) is not taken.
    ExpectPoints(Shown(input.leftGrid), c.left, "left");
    ExpectPoints(Shown(input.rightGrid), c.right, "right");
    EXPECT_EQ(input.leftGrid.count, static_cast<int>(c.left.size()));
  }
  EXPECT_NE(transcript.text().find("请拾取中心点："), std::string::npos);
}

TEST_F(Pick, PickedPointsTakeTheFormsTheRadiosName) {
  input.SetElevationType(1);  // 高程
  input.reference = 1;        // 相对前点
  PickEntity(Polyline({{75, 48.5}, {87.5, 49.2}, {100, 50}}), "100,50");
  // Elevations (centre 100), distances from the previous point.
  ExpectPoints(Shown(input.leftGrid), {{12.5, 99.2}, {12.5, 98.5}}, "left");
}

TEST_F(Pick, ALineGivesOnePointATextFillsTheLastField) {
  const AcDbObjectId line =
      BAS_DRAW_FUN::AddToModelSpace(new AcDbLine(AcGePoint3d(10, 5, 0), AcGePoint3d(4, 4.2, 0)));
  PickEntity(line, "10.004,5");  // the start point lies within 0.01 of it: the end point is taken
  ASSERT_EQ(input.leftGrid.count, 1);
  EXPECT_NEAR(input.leftGrid.table[0].distance, 6.004, 1e-9);
  EXPECT_NEAR(input.leftGrid.table[0].height, -0.8, 1e-9);
  EXPECT_TRUE(Shown(input.rightGrid).empty());

  struct Case {
    int lastField;
    const CString GroundLineInput::*field;
  };
  const Case cases[] = {{GroundLineInput::kChainageField, &GroundLineInput::chainageText},
                        {GroundLineInput::kElevationField, &GroundLineInput::elevationText},
                        {GroundLineInput::kNoField, &GroundLineInput::lineNameText}};
  for (const Case& c : cases) {
    input.elevationText = "100";
    input.lastField = c.lastField;
    AcDbText* text = new AcDbText(AcGePoint3d(0, 0, 0), "DK1+234.5", AcDbObjectId::kNull, 1.0, 0.0);
    PickEntity(BAS_DRAW_FUN::AddToModelSpace(text));
    EXPECT_STREQ((input.*c.field).GetString(), "DK1+234.5") << c.lastField;
  }
}

TEST_F(Pick, RefusalsLeaveTheGridsReset) {
  // More than the 200 points a grid holds on one side.
  Points many;
  for (int i = 0; i <= 201; ++i) many.emplace_back(100 - i, 50);
  transcript.clear();
  PickEntity(Polyline(many), "100,50");
  EXPECT_NE(transcript.text().find("表格最多放200个点"), std::string::npos);
  EXPECT_EQ(input.leftGrid.count, 0);
  EXPECT_TRUE(Shown(input.leftGrid).empty());

  // No elevation: asked for before any prompt.
  input.elevationText.Empty();
  transcript.clear();
  input.OnPick();
  EXPECT_NE(transcript.text().find("请输入高程！"), std::string::npos);
  EXPECT_EQ(transcript.text().find("请选择实体"), std::string::npos);

  // Nothing picked (Enter).
  input.elevationText = "100";
  platform::queuePromptToken("");
  input.OnPick();
  EXPECT_NE(transcript.text().find("没有选中线路实体!"), std::string::npos);
}

// ---- Drawing ------------------------------------------------------------------------------

class Draw : public Pick {
 protected:
  void DrawAt(const char* point, const inputtest::Typed& left, const inputtest::Typed& right) {
    inputtest::Type(input.leftGrid, left);
    inputtest::Type(input.rightGrid, right);
    platform::queuePromptToken(point);
    input.OnDraw();
  }
  // The vertices of the 2d polylines drawn, in order.
  std::vector<std::vector<AcGePoint3d>> Polylines() {
    std::vector<std::vector<AcGePoint3d>> out;
    for (AcDbObjectId id : drawbasetest::ModelSpaceIds()) {
      drawbasetest::Reader<AcDbEntity> e(id);
      if (!AcDb2dPolyline::cast(&*e)) continue;
      std::vector<AcGePoint3d> v;
      for (const auto& vertex : drawbasetest::Polyline2dVertices(*AcDb2dPolyline::cast(&*e))) v.push_back(vertex.position);
      out.push_back(v);
    }
    return out;
  }
};

void ExpectAt(const AcGePoint3d& p, double x, double y, const char* what) {
  EXPECT_NEAR(p.x, x, 1e-9) << what;
  EXPECT_NEAR(p.y, y, 1e-9) << what;
}

TEST_F(Draw, TheGroundLineWithItsElevationMarkAndChainage) {
  input.chainageText = "DK1+234.50";
  input.elevationText = "101.25";
  DrawAt("10,20", {{"2", "0.4"}, {"6", "1"}}, {{"2", "0.8"}});
  // The centre between the first points: 0.4 + (0.8 − 0.4) · 2 / 4 = 0.6.
  const auto lines = Polylines();
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].size(), 3u);
  ExpectAt(lines[0][0], 10, 20.6, "centre");
  ExpectAt(lines[0][1], 8, 20.4, "left 1");
  ExpectAt(lines[0][2], 4, 21, "left 2");
  ASSERT_EQ(lines[1].size(), 2u);
  ExpectAt(lines[1][1], 12, 20.8, "right 1");

  const std::vector<AcDbObjectId> ids = drawbasetest::ModelSpaceIds();
  ASSERT_EQ(ids.size(), 5u);  // two polylines, the triangle, the elevation, the chainage
  // The mark of size 5: a triangle 1.0 wide and 0.75 high on its apex, the text 1.25 above.
  drawbasetest::Reader<AcDbSolid> solid(ids[2]);
  ASSERT_TRUE(solid);
  AcGePoint3d corner;
  solid->getPointAt(0, corner);
  ExpectAt(corner, 10, 20.6, "apex");
  solid->getPointAt(1, corner);
  ExpectAt(corner, 9.5, 21.35, "left corner");
  solid->getPointAt(2, corner);
  ExpectAt(corner, 10.5, 21.35, "right corner");
  EXPECT_EQ(solid->colorIndex(), 6);
  drawbasetest::Reader<AcDbText> elevation(ids[3]);
  EXPECT_STREQ(elevation->textString(), "101.25");
  ExpectAt(elevation->position(), 10, 21.85, "elevation");
  EXPECT_EQ(elevation->colorIndex(), 2);
  EXPECT_DOUBLE_EQ(elevation->height(), 1.0);
  drawbasetest::Reader<AcDbText> chainage(ids[4]);
  EXPECT_STREQ(chainage->textString(), "DK1+234.50");
  ExpectAt(chainage->position(), 10, 18.6, "chainage");
  EXPECT_EQ(chainage->colorIndex(), 3);
}

TEST_F(Draw, TheCentreHeightNeverComesOutOfADivisionByZero) {
  input.elevationText = "100";
  // Both first points on the centre (as a file of CALHDMDMX gives them): the left one's height.
  DrawAt("0,0", {{"0", "0.3"}, {"4", "1"}}, {{"0", "0.5"}, {"3", "2"}});
  const auto lines = Polylines();
  ASSERT_EQ(lines.size(), 2u);
  ExpectAt(lines[0][0], 0, 0.3, "centre");
  for (const auto& line : lines)
    for (const AcGePoint3d& p : line) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));

  // A value that is no number: nothing is drawn, the user is told.
  const size_t before = drawbasetest::ModelSpaceIds().size();
  transcript.clear();
  DrawAt("0,0", {{"2", "nan"}}, {{"2", "1"}});
  EXPECT_NE(transcript.text().find("未画地面线"), std::string::npos);
  EXPECT_EQ(drawbasetest::ModelSpaceIds().size(), before);
}

TEST_F(Draw, ElevationsAndDistancesFromThePreviousPointAreDrawnAsTheTableHoldsThem) {
  input.SetElevationType(1);
  input.reference = 1;
  input.elevationText = "100";
  DrawAt("0,0", {{"2", "100.4"}, {"4", "101"}}, {{"2", "100.8"}});
  const auto lines = Polylines();
  ASSERT_EQ(lines.size(), 2u);
  ExpectAt(lines[0][0], 0, 0.6, "centre");
  ExpectAt(lines[0][2], -6, 1, "left 2");
}

}  // namespace
