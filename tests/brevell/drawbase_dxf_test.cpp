// A plan drawing made with the helpers, saved as DXF and read back by ezdxf
// (Debian's python3-ezdxf, run with /usr/bin/python3).
#include <gtest/gtest.h>

#include <numbers>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/drawbase_support.h"

namespace {

using drawbasetest::DrawingTest;
using drawbasetest::WithPrefix;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0.0); }

class PlanDxf : public DrawingTest {};

TEST_F(PlanDxf, EveryEntityOfTheHelpersReadsBack) {
  if (!drawbasetest::EzdxfAvailable()) GTEST_SKIP() << "python3-ezdxf is not installed";
  drawbasetest::ModulePathScope module(RAIL_INSTALL_DIR, "brevell.arx");

  // A block drawing for the bench-mark symbol.
  ASSERT_EQ(drawbasetest::SaveBlockDrawing((m_dir / "31014.dxf").string(),
                                           {new AcDbCircle(P(0, 0), AcGeVector3d::kZAxis, 1.0)}),
            Acad::eOk);

  BAS_DRAW_FUN::AddLayerRecord("线路中线", 130, -1, "CONTINUOUS");
  BAS_DRAW_FUN::MakeLine(P(0, 0), P(10, 0), 1, 50, "线路中线", "DASHED");
  AcGePoint2dArray tangent;
  tangent.append(AcGePoint2d(0, 0));
  tangent.append(AcGePoint2d(5, 5));
  tangent.append(AcGePoint2d(10, 0));
  BAS_DRAW_FUN::MakePolyline(tangent, -1, -1, "交点连线", "CONTINUOUS");
  BAS_DRAW_FUN::MakeWidePolyline(tangent, 0.5, 3, "隧道", "TUNNELMIDLINE", 2.0);
  BAS_DRAW_FUN::MakeTwoPointPolyline(P(0, 20), P(30, 20), 0.25, -1, "大中桥", "CONTINUOUS", 1.0);
  AcDbObjectIdArray label;
  label.append(BAS_DRAW_FUN::MakeText(P(1, 2), "JD1", 0, 2.5, -1, 1, "交点"));
  label.append(BAS_DRAW_FUN::MakeText(P(3, 4), "R--800", std::numbers::pi / 2, 2.5, 2, 2, "交点"));
  label.append(BAS_DRAW_FUN::MakeTextFromCString(P(5, 6), CString("里程 K1+200"), 0, 2.5, -1, 3, "里程"));
  label.append(BAS_DRAW_FUN::MakeText(P(7, 8), "T--120.50", 0, 2.5, -1, 9, "交点"));
  BAS_DRAW_FUN::MakeGroup("JD1", label);
  AcGePoint2dArray traverse;
  traverse.append(AcGePoint2d(0, 40));
  traverse.append(AcGePoint2d(10, 40));
  traverse.append(AcGePoint2d(10, 50));
  BAS_DRAW_FUN::DrawPolylineClipped(traverse, 1.0, -1, -1, "导线", nullptr, false);
  BAS_DRAW_FUN::DrawEndTicks(P(0, 60), P(0, 70), 1.0, 5, 0, "左线间距", "CONTINUOUS");
  const std::string folder = platform::toWindowsPath(m_dir.string()) + "\\";
  const AcDbObjectId block = BAS_DRAW_FUN::InsertDwgAsBlock(folder.c_str(), "31014.dwg");
  ASSERT_FALSE(block.isNull());
  auto* ref = new AcDbBlockReference(P(50, 50), block);
  ref->setLayer(BAS_DRAW_FUN::AddLayerRecord("水准点", 1, 0));
  BAS_DRAW_FUN::AddToModelSpace(ref);

  const std::string file = (m_dir / "plan.dxf").string();
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  const std::vector<std::string> lines = drawbasetest::EzdxfReadBack(file);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(WithPrefix(lines, "audit"), std::vector<std::string>{"audit\t0"});

  const std::vector<std::string> expected = {
      "entity\tLINE\t线路中线\t1\tDASHED\t0.0000,0.0000\t10.0000,0.0000",
      "entity\tLWPOLYLINE\t交点连线\t256\tCONTINUOUS\t3\t1.0000\t0.0000,0.0000,0.0000,0.0000\t"
      "5.0000,5.0000,0.0000,0.0000\t10.0000,0.0000,0.0000,0.0000",
      "entity\tLWPOLYLINE\t隧道\t3\tTUNNELMIDLINE\t3\t2.0000\t0.0000,0.0000,0.5000,0.5000\t"
      "5.0000,5.0000,0.5000,0.5000\t10.0000,0.0000,0.5000,0.5000",
      "entity\tLWPOLYLINE\t大中桥\t256\tCONTINUOUS\t2\t1.0000\t0.0000,20.0000,0.2500,0.2500\t"
      "30.0000,20.0000,0.2500,0.2500",
      "entity\tTEXT\t交点\t256\tBYLAYER\tJD1\tPMBZ\t0\t0\t1.0000,2.0000\t2.5000\t0.0000\t0.7000",
      "entity\tTEXT\t交点\t2\tBYLAYER\tR--800\tPMBZ\t1\t0\t3.0000,4.0000\t2.5000\t90.0000\t0.7000",
      "entity\tTEXT\t里程\t256\tBYLAYER\t里程 K1+200\tPMBZ\t4\t0\t5.0000,6.0000\t2.5000\t0.0000\t0.7000",
      "entity\tTEXT\t交点\t256\tBYLAYER\tT--120.50\tPMBZ\t2\t0\t7.0000,8.0000\t2.5000\t0.0000\t0.7000",
      // the traverse legs stop 1.0 short of the inner point (10, 40)
      "entity\tLINE\t导线\t256\tBYLAYER\t0.0000,40.0000\t9.0000,40.0000",
      "entity\tLINE\t导线\t256\tBYLAYER\t10.0000,41.0000\t10.0000,50.0000",
      // end ticks of a segment running north: outward south at (0,60), north at (0,70)
      "entity\tLINE\t左线间距\t5\tCONTINUOUS\t0.0000,60.0000\t0.0000,59.0000",
      "entity\tLINE\t左线间距\t5\tCONTINUOUS\t0.0000,60.0000\t-0.0927,59.7147",
      "entity\tLINE\t左线间距\t5\tCONTINUOUS\t0.0000,70.0000\t0.0000,71.0000",
      "entity\tLINE\t左线间距\t5\tCONTINUOUS\t0.0000,70.0000\t0.0927,70.2853",
      "entity\tINSERT\t水准点\t256\tBYLAYER\t31014.dwg\t50.0000,50.0000",
  };
  EXPECT_EQ(WithPrefix(lines, "entity"), expected);
  EXPECT_EQ(WithPrefix(lines, "group"), std::vector<std::string>{"group\tJD1\t4"});
  EXPECT_EQ(WithPrefix(lines, "block\t31014.dwg"), std::vector<std::string>{"block\t31014.dwg\t1"});
  const std::vector<std::string> styles = WithPrefix(lines, "style\tPMBZ");
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_TRUE(styles[0].ends_with("\t0.7000")) << styles[0];
}

}  // namespace
