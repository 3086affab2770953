// CALTWB on the double-track fixture scheme (project P, scheme S1, line kind
// 2): baseline north along x from DK0 to DK4+000 without breaks; grades DK0
// 100 m, DK2+000 110 m (R 15000: tangent 75 m, ordinate 75² / 30000 =
// 0.1875 m at DK2+000), DK4+000 100 m; 填挖表 stations DK 100, 600, 1000, 2500,
// 3650 with 地面高程 100 + c/1000; the left line 5 m left of the baseline, in
// its detour 35 m left at DK1+000; the right line 5 m right, 20 m right at
// DK2+500 in its detour; 左地面线内插宽 of the baseline 30 m, the right one the
// default 60 m.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "GroundLines.h"
#include "corvane/data/interp_support.h"
#include "fixtures/run_command.h"
#include "platform/test_support.h"

namespace {

using interp_test::ReadGroundTable;
using interp_test::StoredRow;

struct Row {
  double chainage, ground, grade, design, ordinate, fill, leftSpacing, rightSpacing;
};

std::vector<Row> ReadFillCut(const std::string& db) {
  std::string error;
  const auto rows = fixtures::QueryRows(
      db, "select 加桩里程数,地面高程,设计坡度,路肩设计高程,竖曲线纵距,中心填挖高度,左线间距,右线间距 from 填挖表 order by ID",
      &error);
  EXPECT_EQ(error, "");
  std::vector<Row> out;
  for (const auto& r : rows) {
    auto n = [&](size_t i) { return std::atof(r[i].c_str()); };
    out.push_back({n(0), n(1), n(2), n(3), n(4), n(5), n(6), n(7)});
  }
  return out;
}

size_t CountRows(const std::string& db, const std::string& sql) {
  std::string error;
  return fixtures::QueryRows(db, sql, &error).size();
}

class FillCutCommand : public interp_test::SchemeWithTerrain {
 protected:
  void SetUp() override {
    SchemeWithTerrain::SetUp();
    BuildDouble();
  }
  void FlatTerrain() {
    interp_test::WritePlaneTerrain(m_dir, -100.0, 4100.0, -200.0, 200.0, 250.0, 0.0, 0.0);
  }
  static FillCutCommandOptions Options(int source, double interval, int interpolate) {
    FillCutCommandOptions o;
    o.stationSource = source;
    o.interval = interval;
    o.interpolateGroundLines = interpolate;
    return o;
  }
  void ExpectFixtureFillCut() {
    const std::vector<Row> rows = ReadFillCut(m_db);
    ASSERT_EQ(rows.size(), 5u);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].design, fixtures::FixtureGroundElevation(rows[i].chainage) + 1.5);
  }
  void ExpectFixtureGroundLines() {
    const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
    ASSERT_EQ(rows.size(), 10u);
    for (const StoredRow& row : rows)
      EXPECT_TRUE(interp_test::SamePoints(row.points, fixtures::FixtureGroundPoints(row.chainage, row.side == "左" ? -1 : 1)));
  }
};

// Stations every 100 m over a terrain model flat at 250 m: 填挖表 gets 41
// stations with the terrain's elevation and the design of the grade line, the
// ground lines are level at the stations' own elevation, and both detour
// sections get their tables and ground lines.
TEST_F(FillCutCommand, GeneratedStationsFromTheTerrainModel) {
  FlatTerrain();
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.CmdFillCutTables(Options(kStationsGenerated, 100.0, 1)), 1);
  EXPECT_TRUE(transcript.contains("填挖表计算完毕"));

  const std::vector<Row> rows = ReadFillCut(m_db);
  ASSERT_EQ(rows.size(), 41u);
  struct Expected {
    size_t index;
    double design, grade, ordinate, leftSpacing, rightSpacing;
  };
  for (const Expected e : {Expected{0, 100.00, 5.0, 0.0, -5.0, 5.0}, Expected{10, 105.00, 5.0, 0.0, -35.0, 5.0},
                           Expected{20, 109.81, 5.0, -0.19, -5.0, 5.0}, Expected{25, 107.50, -5.0, 0.0, -5.0, 20.0},
                           Expected{40, 100.00, -5.0, 0.0, -5.0, 5.0}}) {
    SCOPED_TRACE(e.index);
    const Row& r = rows[e.index];
    EXPECT_NEAR(r.chainage, 100.0 * e.index, 1e-6);
    EXPECT_NEAR(r.ground, 250.0, 1e-9);
    EXPECT_NEAR(r.design, e.design, 1e-9);
    EXPECT_NEAR(r.fill, e.design - 250.0, 1e-9);
    EXPECT_NEAR(r.grade, e.grade, 1e-9);
    EXPECT_NEAR(r.ordinate, e.ordinate, 1e-9);
    EXPECT_NEAR(r.leftSpacing, e.leftSpacing, 1e-6);
    EXPECT_NEAR(r.rightSpacing, e.rightSpacing, 1e-6);
  }

  const std::vector<StoredRow> lines = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(lines.size(), 82u);
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    const bool left = i % 2 == 0;
    EXPECT_NEAR(lines[i].chainage, 100.0 * (i / 2), 1e-6);
    EXPECT_EQ(lines[i].side, left ? "左" : "右");
    EXPECT_NEAR(lines[i].points.back().first, left ? 30.0 : 60.0, 1e-6);
    for (const auto& p : lines[i].points) EXPECT_NEAR(p.second, 0.0, 1e-6);
  }

  for (const char* line : {"左线", "右线"}) {
    SCOPED_TRACE(line);
    const std::string fillCut = std::string(line) + "绕行段填挖表";
    const size_t stations = CountRows(m_db, "select ID from " + fillCut + " where 绕行段编号=0");
    EXPECT_GT(stations, 10u);
    EXPECT_EQ(CountRows(m_db, "select ID from " + fillCut + " where 绕行段编号=0 and 地面高程=250"), stations);
    const std::vector<StoredRow> detourLines = ReadGroundTable(m_db, std::string(line) + "绕行段横断面地面线表", 0);
    EXPECT_EQ(detourLines.size(), 2 * stations);
  }
}

// Without a terrain model, generated stations and ground lines cannot be
// had: the command says so and writes nothing.
TEST_F(FillCutCommand, NoTerrainModelWritesNothing) {
  struct Case {
    int source;
    int interpolate;
    const char* message;
  };
  for (const Case c : {Case{kStationsGenerated, 0, "没有数字地面模型，不能计算桩号系列！"},
                       Case{kStationsExisting, 1, "没有数字地面模型，不能内插横断面地面线！"}}) {
    SCOPED_TRACE(c.source);
    CrossSectionDesigner d;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.CmdFillCutTables(Options(c.source, 100.0, c.interpolate)), 0);
    EXPECT_TRUE(transcript.contains(c.message));
    EXPECT_FALSE(transcript.contains("填挖表计算完毕"));
    ExpectFixtureFillCut();
    ExpectFixtureGroundLines();
  }
}

// A source other than 0, 1 and 2 is refused before anything is read.
TEST_F(FillCutCommand, UnknownSourceIsRefused) {
  FlatTerrain();
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.CmdFillCutTables(Options(7, 100.0, 1)), 0);
  EXPECT_TRUE(transcript.contains("桩号来源7无效"));
  ExpectFixtureFillCut();
  ExpectFixtureGroundLines();
}

// The stations of the table, recomputed without ground lines (no terrain
// model needed): chainages and order stay, elevations come to centimetres,
// the design and the spacings to the side lines are worked out again; the
// ground-line tables are not touched.
TEST_F(FillCutCommand, ExistingStationsWithoutGroundLines) {
  CrossSectionDesigner d;
  ASSERT_EQ(d.CmdFillCutTables(Options(kStationsExisting, 0.0, 0)), 1);
  const std::vector<Row> rows = ReadFillCut(m_db);
  struct Expected {
    double chainage, ground, design, leftSpacing, rightSpacing;
  };
  const std::vector<Expected> expected = {{100, 100.10, 100.50, -5, 5},
                                          {600, 100.60, 103.00, -5, 5},
                                          {1000, 101.00, 105.00, -35, 5},
                                          {2500, 102.50, 107.50, -5, 20},
                                          {3650, 103.65, 101.75, -5, 5}};
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(expected[i].chainage);
    EXPECT_NEAR(rows[i].chainage, expected[i].chainage, 1e-9);
    EXPECT_NEAR(rows[i].ground, expected[i].ground, 1e-9);
    EXPECT_NEAR(rows[i].design, expected[i].design, 1e-9);
    EXPECT_NEAR(rows[i].fill, expected[i].design - expected[i].ground, 1e-9);
    EXPECT_NEAR(rows[i].leftSpacing, expected[i].leftSpacing, 1e-6);
    EXPECT_NEAR(rows[i].rightSpacing, expected[i].rightSpacing, 1e-6);
  }
  ExpectFixtureGroundLines();
  EXPECT_EQ(CountRows(m_db, "select ID from 左线绕行段填挖表 where 绕行段编号=0"), 9u);
  EXPECT_EQ(CountRows(m_db, "select ID from 右线绕行段填挖表 where 绕行段编号=0"), 5u);
}

// Ground lines over part of the line: the stations of DK0+500 .. DK2+600 get
// new (level) lines; DK0+100 and DK3+650 keep theirs, in place.
TEST_F(FillCutCommand, PartialRangeOfGroundLines) {
  FlatTerrain();
  CrossSectionDesigner d;
  FillCutCommandOptions o = Options(kStationsExisting, 0.0, 1);
  o.startChainage = "DK0+500";
  o.endChainage = "DK2+600";
  ASSERT_EQ(d.CmdFillCutTables(o), 1);
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(rows.size(), 10u);
  const double order[] = {100, 600, 1000, 2500, 3650};
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].chainage, order[i / 2]);
    EXPECT_EQ(rows[i].side, i % 2 == 0 ? "左" : "右");
    const bool kept = rows[i].chainage == 100 || rows[i].chainage == 3650;
    const bool fixturePoints =
        interp_test::SamePoints(rows[i].points, fixtures::FixtureGroundPoints(rows[i].chainage, i % 2 == 0 ? -1 : 1));
    EXPECT_EQ(fixturePoints, kept);
    if (!kept) {
      for (size_t k = 1; k < rows[i].points.size(); ++k)
        EXPECT_NEAR(rows[i].ground + rows[i].points[k].second, 250.0, 1e-6);
    }
  }
}

// A station of 填挖表 beyond the line's end (DK4+000, the last row of 断链表)
// keeps its row in 填挖表 but can get no ground line: CALTWB says so, naming
// it, instead of leaving it out unsaid; the stations on the line get theirs.
TEST_F(FillCutCommand, AStationBeyondTheLinesEndIsNamed) {
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "insert into 填挖表 (加桩里程冠号, 加桩里程数, 地面高程) values ('DK', 4200, 104.2)",
                                   &error))
      << error;
  FlatTerrain();
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.CmdFillCutTables(Options(kStationsExisting, 0.0, 1)), 1);
  EXPECT_TRUE(transcript.contains("基线: 填挖表中有1个桩号在断链表所定的线路终点DK4+000之后"
                                  "(DK4+200.000～DK4+200.000), 不在线路上, 没有内插地面线\n基线横断面地面线数据"))
      << transcript.text();
  EXPECT_EQ(ReadFillCut(m_db).size(), 6u);
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(rows.size(), 10u);
  for (const StoredRow& row : rows) EXPECT_LT(row.chainage, 4000.0);
}

// Inputs that cannot be designed from stop the command before anything is
// written: a curve table without a coordinate column, a design elevation that
// is no number, a fill/cut station without ground, a technical parameter file
// that is missing or damaged. 填挖表 and the ground lines stay as they were.
TEST_F(FillCutCommand, DamagedInputsStopTheCommandBeforeAnythingIsWritten) {
  const std::string techFile = m_projects.linuxPath("P/data/jishucanshu.dat");
  auto sqlite = [this](const std::string& sql) {
    std::string out;
    ASSERT_EQ(fixtures::RunCommand("sqlite3 '" + m_db + "' \"" + sql + "\"", &out), 0) << out;
  };
  struct Case {
    const char* name;
    std::function<void()> damage;
    const char* message;
  };
  const Case cases[] = {
      {"curve table without 坐标N", [&] { sqlite("alter table 曲线表 drop column 坐标N"); },
       "表曲线表缺少列\"坐标N\", 该表不能读入!"},
      {"a design elevation that is a word", [&] { sqlite("update 坡度表 set 设计高程='x' where ID=(select min(ID) from 坡度表)"); },
       "表坡度表第1行\"设计高程\"列的\"x\"不是有限的数, 该表不能读入!"},
      {"a station without ground", [&] { sqlite("update 填挖表 set 地面高程=NULL where 加桩里程数=1000"); },
       "表填挖表第3行\"地面高程\"列没有值, 该表不能读入!"},
      {"no technical parameters", [&] { std::filesystem::remove(techFile); },
       "没有技术参数文件"},
      {"technical parameters with a spacing that is not finite",
       [&] {
         fixtures::TechParamsData data;
         data.lineKind = 2;
         data.doubleSpacing[1] = std::numeric_limits<float>::quiet_NaN();
         fixtures::writeTechParamsFile(techFile, data);
       },
       "已损坏(双线线间距(右)不是有限的数), 未读入"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(m_db);
    BuildDouble();
    FlatTerrain();
    c.damage();
    CrossSectionDesigner d;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.CmdFillCutTables(Options(kStationsExisting, 0.0, 1)), 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_FALSE(transcript.contains("填挖表计算完毕"));
    ExpectFixtureFillCut();
    ExpectFixtureGroundLines();
  }
}

// A scheme database whose integrity check fails (a page of 填挖表's tree
// damaged) is refused as damaged, naming the file: the command fails, says
// nothing of a finished table and leaves the file's bytes as they were.
TEST_F(FillCutCommand, ADamagedSchemeDatabaseStopsTheCommandWritingNothing) {
  FlatTerrain();
  std::string error;
  ASSERT_TRUE(fixtures::DamageTableTree(m_db, "填挖表", &error)) << error;
  const std::string before = testsupport::readBytes(m_db);
  for (const FillCutCommandOptions& options : {Options(kStationsExisting, 0.0, 1), Options(kStationsGenerated, 100.0, 0)}) {
    SCOPED_TRACE(options.stationSource);
    CrossSectionDesigner d;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.CmdFillCutTables(options), 0);
    EXPECT_TRUE(transcript.contains("S1.mdb' is damaged: its integrity check reports")) << transcript.text();
    EXPECT_FALSE(transcript.contains("填挖表计算完毕"));
    EXPECT_TRUE(testsupport::readBytes(m_db) == before) << "the scheme database was changed";
  }
}

// Stations generated off the terrain model take its outside marker as ground
// and are reported with their line: the first five by name, then the count.
TEST_F(FillCutCommand, StationsOffTheTerrainModelAreReported) {
  interp_test::WritePlaneTerrain(m_dir, 950.0, 4100.0, -200.0, 200.0, 250.0, 0.0, 0.0);
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.CmdFillCutTables(Options(kStationsGenerated, 100.0, 0)), 1);
  for (const char* station : {"DK0+000", "DK0+100.000", "DK0+200.000", "DK0+300.000", "DK0+400.000"})
    EXPECT_TRUE(transcript.contains(std::string("基线 ") + station + " 在数字地面模型范围之外, 地面高程取-100.0"))
        << station << "\n" << transcript.text();
  EXPECT_FALSE(transcript.contains("基线 DK0+500.000 在数字地面模型范围之外"));
  // The detours' own stations are reported under their line.
  EXPECT_TRUE(transcript.contains("左线绕行段0 DK0+500.000 在数字地面模型范围之外")) << transcript.text();
  EXPECT_TRUE(transcript.contains("基线有10个桩号在数字地面模型范围之外, 其地面高程为-100.0(只显示了前5条)"))
      << transcript.text();
  const std::vector<Row> rows = ReadFillCut(m_db);
  ASSERT_EQ(rows.size(), 41u);
  EXPECT_EQ(rows[9].ground, -100.0);
  EXPECT_EQ(rows[10].ground, 250.0);
}

}  // namespace
