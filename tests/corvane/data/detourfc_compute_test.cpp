// The fill/cut table of a detour section computed from its stations, on the
// left detour 0 of the double-track fixture scheme: its line runs from ZK0+500
// (mileage 500, no break inside) to ZK1+703.372 through curves of R 1000 m
// without transitions, whose ends lie at 625.417, 774.307, 827.379, 976.269,
// 1227.103, 1375.993, 1429.065 and 1577.955; grades ZK0+500 100 m, ZK1+000
// 104 m (R 8000), ZK1+703.372 100 m; bridge ZK0+600 .. 650; tunnel ZK0+800 ..
// 900; 左线绕行段填挖表 stations ZK 500, 600, 625, 650, 700, 800, 850, 900,
// 1000 with 地面高程 100 + c/1000; rock layers (two) at ZK0+700 only;
// 地面线内插宽 25 m on the left, the default 60 m on the right.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "GroundLines.h"
#include "corvane/data/interp_support.h"

namespace {

using interp_test::ReadGroundTable;
using interp_test::StoredRow;

// A stored row of 左线绕行段填挖表.
struct Row {
  std::string prefix;
  double chainage, ground, grade, design, ordinate, lift, fill, build, widening;
  std::string remark;
};

std::vector<Row> ReadDetourFillCut(const std::string& db, int detour) {
  std::string error;
  const auto rows = fixtures::QueryRows(
      db,
      "select 加桩里程冠号,加桩里程数,地面高程,设计坡度,路肩设计高程,竖曲线纵距,中心抬降值,中心填挖高度,路肩施工高程,"
      "曲线加宽,附注 from 左线绕行段填挖表 where 绕行段编号=" +
          std::to_string(detour) + " order by ID",
      &error);
  EXPECT_EQ(error, "");
  std::vector<Row> out;
  for (const auto& r : rows) {
    auto n = [&](size_t i) { return std::atof(r[i].c_str()); };
    out.push_back({r[0], n(1), n(2), n(3), n(4), n(5), n(6), n(7), n(8), n(9), r[10]});
  }
  return out;
}

// The design values of a station on the grade: 100 + 0.008 (c − 500) up to
// the vertical curve at ZK1+000 (tangent length |Δ| R / 200 = 54.748 m with
// Δ = (−4 / 703.372 − 0.008) × 100 %), where the ordinate is
// −54.748² / (2 × 8000) = −0.18733; all rounded to centimetres, the grade to
// 0.1 ‰.
struct Expected {
  double chainage, ground, design, fill, ordinate;
};
const std::vector<Expected> kExpected = {
    {500, 100.50, 100.00, -0.50, 0.0},  {600, 100.60, 100.80, 0.20, 0.0},  {625, 100.63, 101.00, 0.38, 0.0},
    {650, 100.65, 101.20, 0.55, 0.0},   {700, 100.70, 101.60, 0.90, 0.0},  {800, 100.80, 102.40, 1.60, 0.0},
    {850, 100.85, 102.80, 1.95, 0.0},   {900, 100.90, 103.20, 2.30, 0.0},  {1000, 101.00, 103.81, 2.81, -0.19}};

class DetourFillCut : public interp_test::SchemeWithTerrain {
 protected:
  void SetUp() override {
    SchemeWithTerrain::SetUp();
    BuildDouble();
    Import(command, "双线");
    ASSERT_EQ(g_LeftDetourCount, 1);
    detour = DetourDesigner(-1, 0);
  }
  void ExpectRows(const std::vector<Row>& rows, const std::vector<Expected>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(expected[i].chainage);
      EXPECT_EQ(rows[i].prefix, "ZK");
      EXPECT_NEAR(rows[i].chainage, expected[i].chainage, 1e-9);
      EXPECT_NEAR(rows[i].ground, expected[i].ground, 1e-9);
      EXPECT_NEAR(rows[i].design, expected[i].design, 1e-9);
      EXPECT_NEAR(rows[i].build, expected[i].design, 1e-9);
      EXPECT_NEAR(rows[i].fill, expected[i].fill, 1e-9);
      EXPECT_NEAR(rows[i].grade, 8.0, 1e-9);
      EXPECT_NEAR(rows[i].ordinate, expected[i].ordinate, 1e-9);
      EXPECT_EQ(rows[i].lift, 0.0);
      EXPECT_EQ(rows[i].widening, 0.0);
      EXPECT_EQ(rows[i].remark, "单线路基");
    }
  }
  size_t StoredCount() { return ReadDetourFillCut(m_db, 0).size(); }

  CrossSectionDesigner command;
  CrossSectionDesigner* detour = nullptr;
};

// Source 1 recomputes the design of the stations of the table and keeps their
// chainages; the ground elevations come back at the design precision.
TEST_F(DetourFillCut, ExistingStationsAreRecomputed) {
  platform::TranscriptCapture transcript;
  ASSERT_EQ(command.ComputeDetourFillCutTables(0, kStationsExisting, 0.0, "左线", 0, detour), 1);
  ExpectRows(ReadDetourFillCut(m_db, 0), kExpected);
  EXPECT_TRUE(transcript.contains("绕行段填挖表计算完毕"));
  EXPECT_TRUE(transcript.contains("计算左线绕行段填挖表"));
}

// Source 0 lists each measured station once, although it has two layers.
TEST_F(DetourFillCut, MeasuredStationsGiveOneRowEach) {
  ASSERT_EQ(command.ComputeDetourFillCutTables(0, kStationsMeasured, 0.0, "左线", 0, detour), 1);
  ExpectRows(ReadDetourFillCut(m_db, 0), {{700, 100.70, 101.60, 0.90, 0.0}});
}

// Source 2 lists a station every 100 m of chainage, the line's end, the ends
// of every curve and of the bridge and tunnel; the ground comes from the
// terrain model (250 m everywhere), or is 0 without one.
TEST_F(DetourFillCut, GeneratedStationsTakeCurveAndStructurePoints) {
  std::vector<double> expected = {625.417195, 650.0,       774.307142,  827.379016,  976.268963,
                                  1227.103352, 1375.993300, 1429.065173, 1577.955121, 1703.372316};
  for (int c = 500; c <= 1700; c += 100) expected.push_back(c);
  std::sort(expected.begin(), expected.end());
  for (bool withTerrain : {true, false}) {
    SCOPED_TRACE(withTerrain);
    if (withTerrain) {
      interp_test::WritePlaneTerrain(m_dir, -100.0, 4100.0, -200.0, 200.0, 250.0, 0.0, 0.0);
      LoadTerrain();
    } else {
      g_TerrainModel.Close();
    }
    ASSERT_EQ(command.ComputeDetourFillCutTables(0, kStationsGenerated, 100.0, "左线", 0, detour), 1);
    const std::vector<Row> rows = ReadDetourFillCut(m_db, 0);
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(expected[i]);
      // The two ends lie on the breaks to and from the baseline; which
      // prefix they take is the break table's business.
      if (i > 0 && i + 1 < rows.size()) {
        EXPECT_EQ(rows[i].prefix, "ZK");
      }
      EXPECT_NEAR(rows[i].chainage, expected[i], 1e-5);
      EXPECT_EQ(rows[i].ground, withTerrain ? 250.0 : 0.0);
      EXPECT_EQ(rows[i].remark, "");
    }
  }
}

// A source other than 0, 1 or 2, or generated stations without a positive
// interval, are refused with a message; the table keeps its rows.
TEST_F(DetourFillCut, BadSourceOrIntervalIsRefused) {
  struct Case {
    int source;
    double interval;
    const char* message;
  };
  for (const Case c : {Case{3, 20.0, "桩号来源3无效"}, Case{-1, 20.0, "桩号来源-1无效"},
                       Case{kStationsGenerated, 0.0, "桩号间距0.000无效"}}) {
    SCOPED_TRACE(c.source);
    platform::TranscriptCapture transcript;
    EXPECT_EQ(command.ComputeDetourFillCutTables(1, c.source, c.interval, "左线", 0, detour), 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_EQ(StoredCount(), 9u);
  }
}

// A detour section without rows in the source table writes nothing.
TEST_F(DetourFillCut, SectionWithoutStationsWritesNothing) {
  platform::TranscriptCapture transcript;
  EXPECT_EQ(command.ComputeDetourFillCutTables(1, kStationsMeasured, 0.0, "右线", 0, DetourDesigner(1, 0)), 0);
  EXPECT_TRUE(transcript.contains("没有右线绕行段横断面岩层线表记录"));
  std::string error;
  EXPECT_EQ(fixtures::QueryRows(m_db, "select ID from 右线绕行段填挖表", &error).size(), 5u);
}

// With the ground lines asked for, the detour's rows of 左线绕行段横断面地面线表
// are rewritten for its stations (left 25 m, right 60 m wide, flat at the
// terrain's 250 m); rows of another detour section stay. Without, the table
// is left alone.
TEST_F(DetourFillCut, GroundLinesFollowWhenAsked) {
  interp_test::WritePlaneTerrain(m_dir, -100.0, 4100.0, -200.0, 200.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  fixtures::CrossSectionRow other;
  other.detour = 1;
  other.prefix = "ZK";
  other.chainage = 5000;
  other.ground = 90;
  other.side = "左";
  other.points = {{0, 0}, {3, 0.5}};
  std::string error;
  ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "左线绕行段横断面地面线表", true, {other}, false, &error)) << error;
  const std::vector<StoredRow> before = ReadGroundTable(m_db, "左线绕行段横断面地面线表", 0);

  ASSERT_EQ(command.ComputeDetourFillCutTables(0, kStationsExisting, 0.0, "左线", 0, detour), 1);
  const std::vector<StoredRow> untouched = ReadGroundTable(m_db, "左线绕行段横断面地面线表", 0);
  ASSERT_EQ(untouched.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(untouched[i].points, before[i].points);

  platform::TranscriptCapture transcript;
  ASSERT_EQ(command.ComputeDetourFillCutTables(1, kStationsExisting, 0.0, "左线", 0, detour), 1);
  EXPECT_TRUE(transcript.contains("横断面地面线数据已保存在数据库中!"));
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "左线绕行段横断面地面线表", 0);
  ASSERT_EQ(rows.size(), 2 * kExpected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const bool left = i % 2 == 0;
    EXPECT_EQ(rows[i].side, left ? "左" : "右");
    EXPECT_NEAR(rows[i].chainage, kExpected[i / 2].chainage, 1e-9);
    EXPECT_NEAR(rows[i].ground, kExpected[i / 2].ground, 1e-9);
    ASSERT_GE(rows[i].count, 2);
    EXPECT_NEAR(rows[i].points.back().first, left ? 25.0 : 60.0, 1e-6);
    for (size_t k = 1; k < rows[i].points.size(); ++k)
      EXPECT_NEAR(rows[i].ground + rows[i].points[k].second, 250.0, 1e-6);
  }
  const std::vector<StoredRow> others = ReadGroundTable(m_db, "左线绕行段横断面地面线表", 1);
  ASSERT_EQ(others.size(), 1u);
  EXPECT_EQ(others[0].chainage, 5000);
  EXPECT_EQ(others[0].points, other.points);
}

}  // namespace
