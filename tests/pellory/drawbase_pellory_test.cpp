// The ground-line build's drawing base: the append to model space, and the
// install folder cut from this build's own module file name.
#include <gtest/gtest.h>

#include <cstdio>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"

namespace {

using drawbasetest::DrawingTest;
using drawbasetest::EntityFacts;
using drawbasetest::FactsOf;

class PelloryDrawing : public DrawingTest {};

TEST_F(PelloryDrawing, AppendsToModelSpace) {
  auto* text = new AcDbText(AcGePoint3d(1, 2, 0), "K1+200", AcDbObjectId::kNull, 1.0, 0.0);
  const AcDbObjectId id = BAS_DRAW_FUN::AddToModelSpace(text);
  ASSERT_FALSE(id.isNull());
  EXPECT_EQ(drawbasetest::ModelSpaceIds(), std::vector<AcDbObjectId>{id});
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);  // the append closed it
  entity->close();
}

TEST_F(PelloryDrawing, RailLineTypesComeFromThisModulesFolder) {
  std::filesystem::create_directories(m_dir / "lib");
  FILE* f = std::fopen((m_dir / "lib" / "rail.lin").string().c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("*GROUNDONLY,Ground line\nA,3,-1\n", f);
  std::fclose(f);
  drawbasetest::ModulePathScope module(m_dir, "pellory.arx");
  AcGePoint2dArray points;
  points.append(AcGePoint2d(0, 0));
  points.append(AcGePoint2d(5, 0));
  const AcDbObjectId id = BAS_DRAW_FUN::MakeWidePolyline(points, 0.1, 2, "地面线", "GROUNDONLY", 1.0);
  EXPECT_EQ(FactsOf(id), (EntityFacts{"AcDbPolyline", "地面线", 2, -1, "GROUNDONLY"}));
}

}  // namespace
