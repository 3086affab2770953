// Ground lines of the baseline stations interpolated from the terrain model
// into 横断面地面线表, on the single-track fixture scheme: baseline north
// along x (E 0), a short chain DK0+600 = DK0+650 (DK c ≥ 650 lies at
// mileage c − 50), 填挖表 stations DK 100, 200, 225, 250, 400, 700, 800, 850,
// 900, 1100 with 地面高程 100 + c/1000, and ground-line rows for each of them
// (fixtures::FixtureGroundPoints). 地面线内插宽 is the default 60 m a side.
// Left of the line is -y, right +y.

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

const std::vector<double> kStations = {100, 200, 225, 250, 400, 700, 800, 850, 900, 1100};

double MileageOf(double chainage) { return chainage >= 650.0 ? chainage - 50.0 : chainage; }

class InterpBaseline : public interp_test::SchemeWithTerrain {
 protected:
  void SetUp() override {
    SchemeWithTerrain::SetUp();
    BuildSingle();
    Import(d, "单线");
  }

  // The stored rows must hold every station twice, left then right, in
  // the order of 填挖表.
  static void ExpectFillCutOrder(const std::vector<StoredRow>& rows) {
    ASSERT_EQ(rows.size(), 2 * kStations.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].chainage, kStations[i / 2]) << i;
      EXPECT_EQ(rows[i].side, i % 2 == 0 ? "左" : "右") << i;
      EXPECT_EQ(rows[i].prefix, "DK");
      EXPECT_NEAR(rows[i].ground, fixtures::FixtureGroundElevation(kStations[i / 2]), 1e-9);
    }
  }

  // True when the row holds the fixture's own points of its station.
  static bool HoldsFixturePoints(const StoredRow& row) {
    return row.count == static_cast<int>(row.points.size()) &&
           interp_test::SamePoints(row.points, fixtures::FixtureGroundPoints(row.chainage, row.side == "左" ? -1 : 1));
  }

  // True when every point after the centre lies at `elevation(side, offset)`
  // and the side reaches 60 m.
  template <class Elevation>
  static bool OnTerrain(const StoredRow& row, Elevation elevation) {
    if (row.count < 2 || row.points.front() != std::make_pair(0.0, 0.0)) return false;
    if (std::fabs(row.points.back().first - 60.0) > 1e-6) return false;
    const int side = row.side == "左" ? -1 : 1;
    for (size_t k = 1; k < row.points.size(); ++k)
      if (std::fabs(row.ground + row.points[k].second - elevation(side, row.points[k].first, row.chainage)) > 1e-6)
        return false;
    return true;
  }

  CrossSectionDesigner d;
};

// The stations' points lie on the terrain: flat at 250 m; across the line
// (z = 200 + 0.1 y, so 200 − 0.1 d on the left and 200 + 0.1 d on the
// right); and along it (z = 200 + 0.02 x, x the station's mileage, which
// runs 50 m behind the chainage after the short chain).
TEST_F(InterpBaseline, StationsGetTheTerrainAcrossTheirSection) {
  struct Case {
    const char* name;
    double a, bx, by;
  };
  for (const Case c : {Case{"flat", 250.0, 0.0, 0.0}, Case{"across", 200.0, 0.0, 0.1},
                       Case{"along", 200.0, 0.02, 0.0}}) {
    SCOPED_TRACE(c.name);
    interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, c.a, c.bx, c.by);
    LoadTerrain();
    ASSERT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 1);
    const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
    ExpectFillCutOrder(rows);
    for (const StoredRow& row : rows) {
      EXPECT_TRUE(OnTerrain(row, [&](int side, double offset, double chainage) {
        return c.a + c.bx * MileageOf(chainage) + c.by * side * offset;
      })) << row.chainage << row.side;
    }
    g_TerrainModel.Close();
  }
}

// Without a model the load says so, the stand-in elevation becomes the mean
// of the stations' elevations (100 + 5525 / 10 / 1000) and every side is the
// level line (0, 0), (60, 0).
TEST_F(InterpBaseline, WithoutTerrainModelEverySideIsLevel) {
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(g_TerrainModel.LoadFromFolder(m_dir.c_str()));
  EXPECT_TRUE(transcript.contains("未构建数字地面模型，无法内插地面线，地面高程均所给高程平均值处理!"));
  ASSERT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 1);
  EXPECT_NEAR(g_TerrainModel.SubstituteElevation(), 100.5525, 1e-9);
  EXPECT_NEAR(g_TerrainModel.ElevationAt(500.0, 3.0), 100.5525, 1e-9);
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ExpectFillCutOrder(rows);
  for (const StoredRow& row : rows) {
    ASSERT_EQ(row.count, 2);
    EXPECT_EQ(row.points[0], std::make_pair(0.0, 0.0));
    EXPECT_EQ(row.points[1], std::make_pair(60.0, 0.0));
    EXPECT_TRUE(row.nullAfterCount);
  }
  EXPECT_TRUE(transcript.contains("基线横断面地面线数据已保存在数据库中!"));
}

// A run over DK0+200 .. DK0+400 rewrites those four stations only. The rows
// of the other stations keep their points, and the table comes back in the
// order of 填挖表 although it held the rows in reverse order, with two rows of
// a station that 填挖表 does not have (DK0+555), which go.
TEST_F(InterpBaseline, PartialRunKeepsOtherStationsInFillCutOrder) {
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 横断面地面线表", &error)) << error;
  std::vector<fixtures::CrossSectionRow> reversed;
  for (auto it = kStations.rbegin(); it != kStations.rend(); ++it)
    for (int side : {1, -1}) {
      fixtures::CrossSectionRow r;
      r.prefix = "DK";
      r.chainage = *it;
      r.ground = fixtures::FixtureGroundElevation(*it);
      r.side = side < 0 ? "左" : "右";
      r.points = fixtures::FixtureGroundPoints(*it, side);
      reversed.push_back(r);
      if (*it == 400) {
        fixtures::CrossSectionRow orphan = r;
        orphan.chainage = 555;
        reversed.push_back(orphan);
      }
    }
  ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false, reversed, false, &error)) << error;

  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.InterpolateBaselineGroundLines(200.0, 400.0), 1);
  EXPECT_TRUE(transcript.contains("横断面地面线表中有2行的桩号不在填挖表中, 已删除"));

  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ExpectFillCutOrder(rows);
  for (const StoredRow& row : rows) {
    const bool inRange = row.chainage >= 200 && row.chainage <= 400;
    if (inRange)
      EXPECT_TRUE(OnTerrain(row, [](int, double, double) { return 250.0; })) << row.chainage << row.side;
    else
      EXPECT_TRUE(HoldsFixturePoints(row)) << row.chainage << row.side;
  }
}

// A station 0.01 m outside the range is left alone; one 0.009 m outside is
// interpolated.
TEST_F(InterpBaseline, RangeTakesStationsWithinOneCentimetre) {
  struct Case {
    double start, end;
    bool station200New, station400New;
  };
  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  for (const Case c : {Case{200.01, 399.991, false, true}, Case{199.991, 399.99, true, false}}) {
    SCOPED_TRACE(c.start);
    std::string error;
    ASSERT_TRUE(fixtures::ExecuteSql(m_db, "drop table 横断面地面线表", &error)) << error;
    std::vector<fixtures::CrossSectionRow> rows;
    for (double s : kStations)
      for (int side : {-1, 1}) {
        fixtures::CrossSectionRow r;
        r.prefix = "DK";
        r.chainage = s;
        r.ground = fixtures::FixtureGroundElevation(s);
        r.side = side < 0 ? "左" : "右";
        r.points = fixtures::FixtureGroundPoints(s, side);
        rows.push_back(r);
      }
    ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false, rows, true, &error)) << error;
    ASSERT_EQ(d.InterpolateBaselineGroundLines(c.start, c.end), 1);
    const std::vector<StoredRow> stored = ReadGroundTable(m_db, "横断面地面线表");
    ExpectFillCutOrder(stored);
    for (const StoredRow& row : stored) {
      bool expectNew = row.chainage > 200 && row.chainage < 400;
      if (row.chainage == 200) expectNew = c.station200New;
      if (row.chainage == 400) expectNew = c.station400New;
      EXPECT_EQ(HoldsFixturePoints(row), !expectNew) << row.chainage << row.side;
    }
  }
}

// A terrain whose grid is 0.5 m across the line gives a profile of far more
// than 100 points; it is thinned to 100 pairs, which keep the centre, the
// 60 m end and the breaks of the ground at 10, 25 and 40 m, and the stored
// 地面点数 is the number of pairs written.
TEST_F(InterpBaseline, LongProfileIsThinnedToTheTablesHundredPairs) {
  auto shape = [](double d) {
    if (d <= 10.0) return 0.1 * d;
    if (d <= 25.0) return 1.0 - 0.3 * (d - 10.0);
    if (d <= 40.0) return -3.5 + 0.5 * (d - 25.0);
    return 4.0;
  };
  interp_test::WriteGridTerrain(m_dir, {-100.0, 600.0, 1300.0}, -70.0, 70.0, 0.5,
                                [&](double, double y) { return 200.0 + shape(std::fabs(y)); });
  LoadTerrain();
  int raw = 0;
  TerrainModel::FreeGroundLine(g_TerrainModel.GroundLineAlong(400.0, 0.0, 400.0, -60.0, raw));
  ASSERT_GT(raw, 100);

  std::vector<StationGroundLine> collected;
  ASSERT_EQ(d.InterpolateBaselineGroundLines(399.0, 401.0, &collected), 1);
  ASSERT_EQ(collected.size(), 1u);
  EXPECT_EQ(collected[0].block.leftCount, 100);
  EXPECT_EQ(collected[0].block.rightCount, 100);

  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  for (const char* side : {"左", "右"}) {
    const StoredRow* row = interp_test::FindRow(rows, 400, side);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->count, 100);
    ASSERT_EQ(row->points.size(), 100u);
    std::vector<double> offsets;
    for (size_t k = 0; k < row->points.size(); ++k) {
      offsets.push_back(row->points[k].first);
      if (k > 0) {
        EXPECT_LT(row->points[k - 1].first, row->points[k].first);
        EXPECT_NEAR(row->ground + row->points[k].second, 200.0 + shape(row->points[k].first), 1e-6);
      }
    }
    for (double mustStay : {0.0, 10.0, 25.0, 40.0, 60.0})
      EXPECT_TRUE(std::any_of(offsets.begin(), offsets.end(), [&](double o) { return std::fabs(o - mustStay) < 1e-6; }))
          << side << mustStay;
  }
}

// When the new rows cannot be stored (here 附注 is declared NOT NULL and a new
// row leaves it empty), the delete and everything written are undone: the
// table holds what it held, and the user is told.
TEST_F(InterpBaseline, FailedWriteLeavesTheTableAsItWas) {
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "drop table 横断面地面线表", &error)) << error;
  std::string sql = fixtures::GroundLineTableSql("横断面地面线表", false);
  sql.replace(sql.rfind("附注 VARCHAR"), std::string("附注 VARCHAR").size(), "附注 VARCHAR NOT NULL");
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, sql, &error)) << error;
  std::vector<std::string> texts;
  std::vector<fixtures::Row> rows;
  texts.reserve(kStations.size() * 4);
  for (double s : kStations)
    for (const char* side : {"左", "右"}) {
      texts.push_back(std::to_string(s));
      texts.push_back(std::to_string(fixtures::FixtureGroundElevation(s)));
      fixtures::Row row = {"DK", texts[texts.size() - 2].c_str(), texts.back().c_str(), side, "2", "0", "0", "7.5",
                           "1.25"};
      for (int k = 2; k < 100; ++k) {
        row.push_back(nullptr);
        row.push_back(nullptr);
      }
      row.push_back("手工");
      rows.push_back(row);
    }
  ASSERT_TRUE(fixtures::FillTable(m_db, "横断面地面线表", rows, &error)) << error;
  const std::vector<StoredRow> before = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(before.size(), 20u);

  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.InterpolateBaselineGroundLines(200.0, 400.0), 0);
  EXPECT_TRUE(transcript.contains("地面线表生成不成功"));
  const std::vector<StoredRow> after = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].chainage, before[i].chainage);
    EXPECT_EQ(after[i].side, before[i].side);
    EXPECT_EQ(after[i].points, before[i].points);
  }
}

// A table the run cannot read back (its identity column is not named ID, so
// "order by ID" fails) is not emptied: the run stops before the delete and
// says so; every row stays.
TEST_F(InterpBaseline, UnreadableTableIsNotEmptied) {
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "drop table 横断面地面线表", &error)) << error;
  std::string sql = fixtures::GroundLineTableSql("横断面地面线表", false);
  sql.replace(sql.find("(ID "), 4, "(编号 ");
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, sql, &error)) << error;
  ASSERT_TRUE(fixtures::FillTable(m_db, "横断面地面线表", {{"DK", "100", "100.1", "左", "2", "0", "0", "7.5", "1.25"},
                                                          {"DK", "100", "100.1", "右", "2", "0", "0", "4", "-0.5"}},
                                  &error, 1))
      << error;
  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 0);
  EXPECT_TRUE(transcript.contains("地面线表生成不成功: 横断面地面线表无法读取原有的记录")) << transcript.text();
  const auto rows = fixtures::QueryRows(m_db, "select 左或右,点2距中桩距离 from 横断面地面线表 order by 编号", &error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "左");
  EXPECT_DOUBLE_EQ(std::atof(rows[0][1].c_str()), 7.5);
  EXPECT_EQ(rows[1][0], "右");
  EXPECT_DOUBLE_EQ(std::atof(rows[1][1].c_str()), 4.0);
}

// Without 填挖表 rows nothing is created, deleted or written.
TEST_F(InterpBaseline, EmptyFillCutTableTouchesNothing) {
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 填挖表", &error)) << error;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 0);
  EXPECT_TRUE(transcript.contains("没有填挖表记录"));
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  EXPECT_EQ(rows.size(), 20u);
  for (const StoredRow& row : rows) EXPECT_TRUE(HoldsFixturePoints(row));
}

}  // namespace

namespace {

// The widths come from 左/右地面线内插宽 by chainage: 20 m on the left up to
// DK0+250 and 45 m after it; on the right a width of -10 m up to DK0+300
// (no length: the side is the centre alone, with a note), then the default
// 60 m of a table without further rows (its last row holds on).
TEST_F(InterpBaseline, WidthsFollowTheStandardsByChainage) {
  std::string error;
  ASSERT_TRUE(fixtures::FillTable(m_db, "左地面线内插宽", {{"0", "-1", "DK", "250", "20"}, {"0", "-1", "DK", "1150", "45"}},
                                  &error))
      << error;
  ASSERT_TRUE(fixtures::FillTable(m_db, "右地面线内插宽", {{"0", "-1", "DK", "300", "-10"}, {"0", "-1", "DK", "1150", "60"}},
                                  &error))
      << error;
  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 1);
  EXPECT_TRUE(transcript.contains("DK0+100.000: 右地面线内插宽-10.000不是正数"));
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ExpectFillCutOrder(rows);
  for (const StoredRow& row : rows) {
    SCOPED_TRACE(row.chainage);
    if (row.side == "左") {
      EXPECT_NEAR(row.points.back().first, row.chainage <= 250 ? 20.0 : 45.0, 1e-6);
    } else if (row.chainage <= 300) {
      ASSERT_EQ(row.count, 1);
      EXPECT_EQ(row.points[0], std::make_pair(0.0, 0.0));
    } else {
      EXPECT_NEAR(row.points.back().first, 60.0, 1e-6);
    }
  }
}

}  // namespace

namespace {

// Stations of 填挖表 beyond the line's end as 断链表 sets it (DK1+150, the
// last row) lie off the line: no ground line can be laid across it there.
// They get none, and the command line names them (how many, the first and
// the last); the stations on the line are interpolated as ever. A run whose
// range stops short of the end does not speak of them.
TEST_F(InterpBaseline, StationsBeyondTheLinesEndAreNamedNotDroppedUnsaid) {
  std::string error;
  for (const char* values : {"'DK', 1400, 101.4", "'DK', 1200, 101.2", "'DK', 1160, 101.16"})
    ASSERT_TRUE(fixtures::ExecuteSql(
        m_db, std::string("insert into 填挖表 (加桩里程冠号, 加桩里程数, 地面高程) values (") + values + ")", &error))
        << error;
  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 250.0, 0.0, 0.0);
  LoadTerrain();
  const char* named =
      "基线: 填挖表中有3个桩号在断链表所定的线路终点DK1+150.000之后(DK1+400.000～DK1+160.000), 不在线路上, "
      "没有内插地面线";
  const struct {
    double start, end;
    bool told;
  } cases[] = {{0.0, 1100.0, true}, {1000.0, 1100.005, true}, {200.0, 400.0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.end);
    platform::TranscriptCapture transcript;
    ASSERT_EQ(d.InterpolateBaselineGroundLines(c.start, c.end), 1);
    EXPECT_EQ(transcript.contains(named), c.told) << transcript.text();
    // The stations on the line, each once a side, and nothing of the others.
    ExpectFillCutOrder(ReadGroundTable(m_db, "横断面地面线表"));
  }
}

}  // namespace
