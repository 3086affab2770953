// The plan drawing's helpers that work on the drawing as a whole: erasing a
// layer, groups, block drawings, rotation and zoom.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"
#include "win/transcript.h"

namespace {

using drawbasetest::AddTestLine;
using drawbasetest::DrawingTest;
using drawbasetest::ModelSpaceIds;
using drawbasetest::ModelSpaceLayers;
using drawbasetest::Reader;

constexpr double kPi = std::numbers::pi;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0.0); }

class PlanDrawing : public DrawingTest {};

// ---- Erasing a layer ---------------------------------------------------------

TEST_F(PlanDrawing, ErasingALayerRemovesExactlyItsEntities) {
  const std::vector<std::string> all = {"里程", "里程", "里程1", "J.D", "J-D", "JD#", "JD1"};
  struct Case {
    const char* erase;
    std::vector<std::string> remaining;
  };
  // Layer names that are wild-card patterns in a selection filter select
  // only their own layer; layer names compare without case.
  const Case cases[] = {
      {"里程", {"里程1", "J.D", "J-D", "JD#", "JD1"}},
      {"J.D", {"里程", "里程", "里程1", "J-D", "JD#", "JD1"}},
      {"JD#", {"里程", "里程", "里程1", "J.D", "J-D", "JD1"}},
      {"jd1", {"里程", "里程", "里程1", "J.D", "J-D", "JD#"}},
      {"*", all},
      {"J?D", all},
      {"JD", all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.erase);
    platform::setCurrentDrawing(nullptr);
    double x = 0;
    for (const std::string& layer : all) AddTestLine(layer.c_str(), x++);
    BAS_DRAW_FUN::EraseLayerEntities(c.erase);
    EXPECT_EQ(ModelSpaceLayers(), c.remaining);
  }
  EXPECT_EQ(platform::openSelectionSets(), 0);
}

TEST_F(PlanDrawing, ErasingShowsTheProgressMeterOnlyWhenThereIsSomething) {
  AddTestLine("导线", 0);
  AddTestLine("导线", 1);
  AddTestLine("水准点", 2);
  {
    platform::TranscriptCapture transcript;
    BAS_DRAW_FUN::EraseLayerEntities("车站");  // a layer the drawing lacks
    BAS_DRAW_FUN::EraseLayerEntities("水准点");
    BAS_DRAW_FUN::EraseLayerEntities("水准点");  // now empty
    EXPECT_EQ(transcript.text().find("正在删除车站层"), std::string::npos);
    const size_t first = transcript.text().find("正在删除水准点层");
    ASSERT_NE(first, std::string::npos) << transcript.text();
    EXPECT_EQ(transcript.text().find("正在删除水准点层", first + 1), std::string::npos) << transcript.text();
    EXPECT_EQ(transcript.text().find("sname free error"), std::string::npos);
  }
  EXPECT_EQ(ModelSpaceLayers(), (std::vector<std::string>{"导线", "导线"}));
  BAS_DRAW_FUN::DeleteLayerContents(CString("导线"));
  EXPECT_TRUE(ModelSpaceIds().empty());
  EXPECT_EQ(platform::openSelectionSets(), 0);
}

TEST_F(PlanDrawing, ErasingSkipsWhatCannotBeOpened) {
  const AcDbObjectId held = AddTestLine("隧道", 0);
  AddTestLine("隧道", 1);
  AcDbEntity* reader = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(reader, held, AcDb::kForRead), Acad::eOk);
  BAS_DRAW_FUN::EraseLayerEntities("隧道");
  reader->close();
  const std::vector<AcDbObjectId> left = ModelSpaceIds();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0], held);
}

// ---- Groups -------------------------------------------------------------------

TEST_F(PlanDrawing, AGroupHoldsTheEntitiesUnderItsName) {
  AcDbObjectIdArray ids;
  ids.append(BAS_DRAW_FUN::MakeLine(P(0, 0), P(1, 0), -1, -1, "交点", nullptr));
  ids.append(AcDbObjectId::kNull);  // not an entity: left out
  ids.append(BAS_DRAW_FUN::MakeText(P(0, 0), "R--800", 0, 2, -1, 1, "交点"));
  const AcDbObjectId group = BAS_DRAW_FUN::MakeGroup("JD3", ids);
  ASSERT_FALSE(group.isNull());
  {
    Reader<AcDbGroup> g(group);
    AcDbObjectIdArray members;
    g->allEntityIds(members);
    ASSERT_EQ(members.length(), 2);
    EXPECT_EQ(members[0], ids[0]);
    EXPECT_EQ(members[1], ids[2]);
    EXPECT_STREQ(g->name(), "JD3");
  }
  // Drawing the curve again replaces its group.
  AcDbObjectIdArray again;
  again.append(ids[0]);
  const AcDbObjectId second = BAS_DRAW_FUN::MakeGroup("JD3", again);
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db()->getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
  AcDbObjectId found;
  EXPECT_EQ(groups->getAt("JD3", found), Acad::eOk);
  EXPECT_EQ(groups->numEntries(), 1u);
  groups->close();
  EXPECT_EQ(found, second);
  EXPECT_TRUE(BAS_DRAW_FUN::MakeGroup(nullptr, ids).isNull());
}

// ---- Block drawings ------------------------------------------------------------

TEST_F(PlanDrawing, ABlockDrawingIsInsertedUnderItsFileName) {
  // The block drawing: a circle and a line on layer "BM".
  auto* circle = new AcDbCircle(P(0, 0), AcGeVector3d::kZAxis, 1.5);
  auto* line = new AcDbLine(P(0, 0), P(0, 3));
  ASSERT_EQ(drawbasetest::SaveBlockDrawing((m_dir / "31014.dxf").string(), {circle, line}), Acad::eOk);
  const std::string folder = platform::toWindowsPath(m_dir.string()) + "\\";
  const AcDbObjectId block = BAS_DRAW_FUN::InsertDwgAsBlock(folder.c_str(), "31014.dwg");
  ASSERT_FALSE(block.isNull());
  {
    Reader<AcDbBlockTableRecord> record(block);
    EXPECT_STREQ(record->name(), "31014.dwg");
    EXPECT_EQ(record->entityStubs().size(), 2u);
  }
  EXPECT_TRUE(ModelSpaceIds().empty());  // only the definition is made
  // A block reference of it draws in model space.
  auto* ref = new AcDbBlockReference(P(10, 20), block);
  EXPECT_FALSE(BAS_DRAW_FUN::AddToModelSpace(ref).isNull());

  EXPECT_TRUE(BAS_DRAW_FUN::InsertDwgAsBlock(folder.c_str(), "missing.dwg").isNull());
  EXPECT_TRUE(BAS_DRAW_FUN::InsertDwgAsBlock(folder.c_str(), nullptr).isNull());
}

// ---- Rotation and zoom ----------------------------------------------------------

TEST_F(PlanDrawing, EntitiesTurnAboutTheBasePoint) {
  AcDbObjectIdArray ids;
  ids.append(BAS_DRAW_FUN::MakeLine(P(10, 0), P(20, 0), -1, -1, nullptr, nullptr));
  ids.append(BAS_DRAW_FUN::MakeText(P(12, 1), "BM1", 0.25, 1, -1, 1, nullptr));
  const AcDbObjectId erased = BAS_DRAW_FUN::MakeLine(P(0, 0), P(1, 0), -1, -1, nullptr, nullptr);
  {
    AcDbEntity* e = nullptr;
    acdbOpenAcDbEntity(e, erased, AcDb::kForWrite);
    e->erase();
    e->close();
  }
  ids.append(erased);  // cannot be opened: skipped
  BAS_DRAW_FUN::RotateEntities(ids, P(10, 0), kPi / 2);
  Reader<AcDbLine> line(ids[0]);
  EXPECT_NEAR(line->startPoint().x, 10, 1e-9);
  EXPECT_NEAR(line->startPoint().y, 0, 1e-9);
  EXPECT_NEAR(line->endPoint().x, 10, 1e-9);
  EXPECT_NEAR(line->endPoint().y, 10, 1e-9);
  Reader<AcDbText> text(ids[1]);
  EXPECT_NEAR(text->position().x, 9, 1e-9);  // (12,1) about (10,0): (10 - 1, 0 + 2)
  EXPECT_NEAR(text->position().y, 2, 1e-9);
  EXPECT_NEAR(text->rotation(), 0.25 + kPi / 2, 1e-9);
}

TEST_F(PlanDrawing, ZoomWindowShowsTheBoxWidenedBy50) {
  struct Case {
    AcGePoint2d a, b;
    double cx, cy, width, height;
  };
  const Case cases[] = {
      {{0, 0}, {100, 40}, 50, 20, 200, 140},
      {{100, 40}, {0, 0}, 50, 20, 200, 140},
      {{-10, 30}, {20, -50}, 5, -10, 130, 180},
  };
  for (const Case& c : cases) {
    BAS_DRAW_FUN::ZoomWindow(c.a, c.b);
    AcDbViewportTable* table = nullptr;
    ASSERT_EQ(db()->getViewportTable(table, AcDb::kForRead), Acad::eOk);
    AcDbViewportTableRecord* active = nullptr;
    ASSERT_EQ(table->getAt("*Active", active, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_NEAR(active->centerPoint().x, c.cx, 1e-9);
    EXPECT_NEAR(active->centerPoint().y, c.cy, 1e-9);
    EXPECT_NEAR(active->width(), c.width, 1e-9);
    EXPECT_NEAR(active->height(), c.height, 1e-9);
    active->close();
  }
}

TEST(BoundingBox, OfFourPoints) {
  AcGePoint2d lowerLeft, upperRight;
  BoundingBoxOf4Points({3, -1}, {-2, 5}, {7, 2}, {0, 0}, lowerLeft, upperRight);
  EXPECT_EQ(lowerLeft, AcGePoint2d(-2, -1));
  EXPECT_EQ(upperRight, AcGePoint2d(7, 5));
}

}  // namespace
