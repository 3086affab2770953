// The window the track display zooms to for a row of each table, on a base
// line due north from (0, 0) whose mileage and chainage start at 1000 ("K"),
// so that the point at chainage c is drawn at (0, c − 1000), its right side
// +X; the plan's scale factor s = 2. Corners worked out by hand.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../plan_drawing_support.h"
#include "brevell/editor/TrackWindow.h"

namespace {

using namespace plantest;

struct Window {
  double x1, y1, x2, y2;
};

struct TrackCase {
  const char* table;
  std::vector<CString> headers;
  std::vector<CString> row;
  std::optional<Window> window;  // none: the row gives no window
};

class TrackWindowTest : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    model = std::make_unique<AlignmentModel>();
    StraightBaseLine(*model, 1000.0, 5000.0);
    model->settings.scaleFactor = 2.0;
    model->PrepareLines();
  }
  void TearDown() override {
    model.reset();
    DrawingTest::TearDown();
  }
  std::unique_ptr<AlignmentModel> model;
};

const std::vector<CString> kTunnel = {"行号",       "隧道名称", "起点里程冠号", "起点里程数", "终点里程冠号",
                                      "终点里程数", "插旗方式", "线数",         "附注"};
const std::vector<CString> kBridge = {"行号",       "桥梁名称",      "中心里程冠号", "中心里程数", "起点里程冠号",
                                      "起点里程数", "终点里程冠号",  "终点里程数",   "孔跨式样",   "线数",
                                      "桥全长",     "100年水位高程", "附注"};
const std::vector<CString> kCulvert = {"行号",       "中心里程冠号", "中心里程数", "孔跨式样", "左横向长度",
                                       "右横向长度", "交角",         "用途",       "插旗方式", "附注"};
// The station grid without its hidden 起点里程冠号.
const std::vector<CString> kStation = {"行号",         "车站名称",   "站房中心里程冠号", "站房中心里程数", "起点里程数",
                                       "终点里程冠号", "终点里程数", "车站类型",         "插旗图块名",     "附注"};
const std::vector<CString> kBench = {"行号",       "水准点编号", "高程",  "里程冠号",       "里程数",
                                     "距中线距离", "坐标N",      "坐标E", "位置材料的描述", "附注"};
const std::vector<CString> kTraverse = {"行号", "桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"};
const std::vector<CString> kDetourTraverse = {"行号", "绕行段编号", "桩号", "右角", "方位角",
                                              "距离", "纬距",       "经距", "高程", "里程"};
const std::vector<CString> kCurve = {"行号", "交点号", "坐标N", "坐标E", "偏角", "曲线半径"};
const std::vector<CString> kDetourCurve = {"行号", "交点属性", "二线交点号", "一线交点号", "线间距", "坐标N", "坐标E"};
const std::vector<CString> kBreak = {"行号",         "等号左里程冠号", "等号左里程数", "等号右里程冠号",
                                     "等号右里程数", "断链长度",       "附注"};

TEST_F(TrackWindowTest, EachTableItsWindow) {
  const TrackCase cases[] = {
      // Tunnels: start − 30·s to end + 30·s.
      {"隧道", kTunnel, {"1", "T", "K", "1500", "K", "1800", "", "", ""}, Window{0, 440, 0, 860}},
      {"隧道", kTunnel, {"1", "T", "K", "1500", "K", "9800", "", "", ""}, std::nullopt},  // end beyond the line
      // Bridges: the centre ± (0.8 × 桥全长 + 10·s) = ± 100.
      {"大中桥", kBridge, {"1", "B", "K", "2000", "", "", "", "", "", "", "100", "", ""}, Window{-100, 900, 100, 1100}},
      {"大中桥", kBridge, {"1", "B", "K", "999", "", "", "", "", "", "", "100", "", ""}, std::nullopt},
      {"大中桥", kBridge, {"1", "B", "K", "", "", "", "", "", "", "", "100", "", ""}, std::nullopt},
      // Culverts ± 20·s, stations ± 60·s.
      {"小桥涵", kCulvert, {"1", "K", "2500", "", "", "", "", "", "", ""}, Window{-40, 1460, 40, 1540}},
      {"车站", kStation, {"1", "S", "K", "3000", "", "", "", "", "", ""}, Window{-120, 1880, 120, 2120}},
      // Bench marks: by coordinates, else the chainage moved by the offset.
      {"水准点表", kBench, {"1", "BM", "", "K", "1200", "5", "123", "45", "", ""}, Window{5, 83, 85, 163}},
      {"水准点表", kBench, {"1", "BM", "", "K", "1200", "5", "", "", "", ""}, Window{-35, 160, 45, 240}},
      {"水准点表", kBench, {"1", "BM", "", "K", "1200", "-5", "0", "0", "", ""}, Window{-45, 160, 35, 240}},
      {"水准点表", kBench, {"1", "BM", "", "K", "7000", "5", "", "", "", ""}, std::nullopt},
      // Traverse: (经距, 纬距) ± 20·s, none near the origin; detour layouts by their headers.
      {"导线表", kTraverse, {"1", "A", "", "", "", "300", "20", "", ""}, Window{-20, 260, 60, 340}},
      {"导线表", kTraverse, {"1", "A", "", "", "", "0.05", "0.09", "", ""}, std::nullopt},
      {"左线绕行段导线表",
       kDetourTraverse,
       {"1", "1", "A", "", "", "", "300", "20", "", ""},
       Window{-20, 260, 60, 340}},
      // A segment number that is no int is held in range: the window comes from the coordinates.
      {"左线绕行段导线表", kDetourTraverse, {"1", "1e20", "A", "", "", "", "300", "20", "", ""}, Window{-20, 260, 60, 340}},
      // Curve tables ± 500, not scaled.
      {"曲线表", kCurve, {"1", "JD1", "100", "200", "", ""}, Window{-300, -400, 700, 600}},
      {"右线曲线表", kDetourCurve, {"1", "", "", "", "", "100", "200"}, Window{-300, -400, 700, 600}},
      // Breaks: the chainage before the break ± 20·s.
      {"断链表", kBreak, {"1", "K", "2200", "K", "2200", "0", ""}, Window{-40, 1160, 40, 1240}},
      // A table that is none of the editor's.
      {"坡度表", kBreak, {"1", "K", "2200", "K", "2200", "0", ""}, std::nullopt},
  };
  for (const TrackCase& c : cases) {
    RowTableCells cells;
    cells.headers = c.headers;
    cells.rows = {c.row};
    AcGePoint2d a(-1, -1), b(-1, -1);
    const bool got = TrackWindow(*model, c.table, cells, 1, a, b);
    const std::string what = std::string(c.table) + " " + c.row[2].GetString() + " " + c.row[3].GetString();
    ASSERT_EQ(got, c.window.has_value()) << what;
    if (!got) continue;
    EXPECT_NEAR(a.x, c.window->x1, 1e-6) << what;
    EXPECT_NEAR(a.y, c.window->y1, 1e-6) << what;
    EXPECT_NEAR(b.x, c.window->x2, 1e-6) << what;
    EXPECT_NEAR(b.y, c.window->y2, 1e-6) << what;
  }
}

TEST_F(TrackWindowTest, ADetourSegmentNumberOutOfRangeGivesNoWindow) {
  // A detour chainage row on the left line (which has no elements here)
  // whatever its segment number: no window, and no overflow on the way.
  const std::vector<CString> headers = {"行号", "绕行段编号", "中心里程冠号", "中心里程数", "孔跨式样",
                                        "左横向长度", "右横向长度", "交角", "用途", "插旗方式", "附注"};
  for (const char* segment : {"1e20", "nan", "-5", "2147483647"}) {
    RowTableCells cells;
    cells.headers = headers;
    cells.rows = {{"1", segment, "K", "2500", "", "", "", "", "", "", ""}};
    AcGePoint2d a, b;
    EXPECT_FALSE(TrackWindow(*model, "左线绕行段小桥涵", cells, 1, a, b)) << segment;
  }
  // The detour chainage of the last int segment on a left line that is not
  // there: no segment is searched and no point is found.
  EXPECT_LT(model->ChainageToLeftDistance("K2500", INT_MAX), 0.0);
}

TEST_F(TrackWindowTest, NoRowNoWindow) {
  RowTableCells cells;
  cells.headers = kCulvert;
  cells.rows = {{"1", "K", "2500", "", "", "", "", "", "", ""}};
  AcGePoint2d a, b;
  EXPECT_FALSE(TrackWindow(*model, "小桥涵", cells, 0, a, b));
  EXPECT_FALSE(TrackWindow(*model, "小桥涵", cells, 2, a, b));
}

TEST(PlanTableFamily, ByExactName) {
  EXPECT_EQ(FamilyOfTable("隧道"), PlanTableFamily::kTunnel);
  EXPECT_EQ(FamilyOfTable("右线绕行段水准点表"), PlanTableFamily::kBenchMark);
  EXPECT_EQ(FamilyOfTable("左线断链表"), PlanTableFamily::kBreak);
  EXPECT_EQ(FamilyOfTable("隧道2"), PlanTableFamily::kNone);
  EXPECT_EQ(LineOfTable("左线绕行段车站"), kLeftLine);
  EXPECT_EQ(LineOfTable("右线曲线表"), kRightLine);
  EXPECT_EQ(LineOfTable("车站"), kBaseLine);
}

}  // namespace
