// The cross-section ground-line tables: their creation (layout and column
// positions) and the reading of their rows into the sections, matched by
// station and side.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SectionTables.h"
#include "corvane/data/import_support.h"

namespace {

using import_test::PointsOf;
using import_test::SectionTablesTest;
using import_test::Stake;
using fixtures::GroundPoints;

// The column names of a table, in order.
std::vector<std::string> ColumnsOf(const std::string& db, const std::string& table) {
  CAdoConnection connection;
  CAdoRecordSet rs(&connection);
  std::vector<std::string> names;
  if (!connection.Open(fixtures::ConnectionString(db).c_str(), -1)) return names;
  rs.Open(("select * from " + table).c_str());
  for (long i = 0; i < rs.GetFieldCount(); ++i) names.emplace_back(rs.GetFieldName(i).GetString());
  rs.Close();
  connection.Close();
  return names;
}

using GroundLineCreateTest = SectionTablesTest;

TEST_F(GroundLineCreateTest, TablesHaveTheHundredPairsAtTheirPositions) {
  const std::string connect = fixtures::ConnectionString(m_db);
  ASSERT_TRUE(d.connection.Open(connect.c_str(), -1));
  EXPECT_TRUE(d.CreateGroundLineTable());
  EXPECT_TRUE(d.CreateDetourGroundLineTable("左线"));
  d.connection.Close();

  struct Case {
    std::string table;
    int shift;  // 1 for the detour table's 绕行段编号
  };
  for (const Case& c : {Case{"横断面地面线表", 0}, Case{"左线绕行段横断面地面线表", 1}}) {
    SCOPED_TRACE(c.table);
    const std::vector<std::string> columns = ColumnsOf(m_db, c.table);
    ASSERT_EQ(columns.size(), 207u + c.shift);
    EXPECT_EQ(columns[0], "ID");
    if (c.shift) {
      EXPECT_EQ(columns[1], "绕行段编号");
    }
    const std::vector<std::string> head = {"中桩里程冠号", "中桩里程数", "地面高程", "左或右", "地面点数"};
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(columns[1 + c.shift + i], head[i]);
    for (int k : {1, 2, 50, 100}) {
      EXPECT_EQ(columns[6 + 2 * (k - 1) + c.shift], "点" + std::to_string(k) + "距中桩距离");
      EXPECT_EQ(columns[7 + 2 * (k - 1) + c.shift], "点" + std::to_string(k) + "与中桩高程差");
    }
    EXPECT_EQ(columns[206 + c.shift], "附注");
  }
}

TEST_F(GroundLineCreateTest, AnExistingTableIsKeptAndAStaleListDoesNotHideAMissingOne) {
  const std::string connect = fixtures::ConnectionString(m_db);
  ASSERT_TRUE(d.connection.Open(connect.c_str(), -1));
  ASSERT_TRUE(d.CreateGroundLineTable());
  d.connection.Close();
  GroundRows({Side("DK", 100, "左", {{0, 0}})}, false);

  // Again, with the table present: nothing is created or deleted.
  ASSERT_TRUE(d.connection.Open(connect.c_str(), -1));
  EXPECT_TRUE(d.CreateGroundLineTable());
  // A list that names a table the database does not have any more.
  d.xlDataBase.tableNames.RemoveAll();
  d.xlDataBase.tableNames.Add("右线绕行段横断面地面线表");
  EXPECT_TRUE(d.CreateDetourGroundLineTable("右线"));
  d.connection.Close();
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 中桩里程数 from 横断面地面线表").size(), 1u);
  EXPECT_EQ(ColumnsOf(m_db, "右线绕行段横断面地面线表").size(), 208u);
}

TEST_F(GroundLineCreateTest, NoTableWithoutAnOpenConnection) {
  EXPECT_FALSE(d.CreateGroundLineTable());
  EXPECT_TRUE(ColumnsOf(m_db, "横断面地面线表").empty());
}

TEST(GroundLineCreateSql, StatementTextOfTheBaselineTable) {
  const std::string sql = GroundLineTableCreateSql("横断面地面线表", false).GetString();
  EXPECT_EQ(sql.rfind("create table 横断面地面线表(ID INTEGER IDENTITY,中桩里程冠号 VARCHAR,", 0), 0u);
  EXPECT_NE(sql.find("地面点数 integer,点1距中桩距离 DOUBLE PRECISION,点1与中桩高程差 DOUBLE PRECISION,点2距"),
            std::string::npos);
  EXPECT_NE(sql.find("点100与中桩高程差 DOUBLE PRECISION,附注 VARCHAR)"), std::string::npos);
  const std::string detour = GroundLineTableCreateSql("左线绕行段横断面地面线表", true).GetString();
  EXPECT_EQ(detour.rfind("create table 左线绕行段横断面地面线表(ID INTEGER IDENTITY,绕行段编号 INTEGER,中桩", 0), 0u);
}

// ---- Reading -----------------------------------------------------------------------

using GroundLineReadTest = SectionTablesTest;

GroundPoints Ramp(int n, double step, double slope) {
  GroundPoints points;
  for (int k = 0; k < n; ++k) points.emplace_back(step * k, slope * k);
  return points;
}

TEST_F(GroundLineReadTest, EachSideLandsInBlockZeroOfItsStation) {
  FillCut({{"DK", 100}, {"DK", 120}});
  GroundRows({Side("DK", 100, "左", {{0, 0}, {2.5, -0.25}, {6, -0.75}}),
              Side("DK", 100, "右", {{0, 0}, {3, 0.5}}),
              Side("DK", 120, "左", Ramp(100, 1.0, 0.01)),
              Side("DK", 120, "右", Ramp(100, 2.0, -0.02))});
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(d.SectionCount(), 2);
  for (const SectionRecord& s : d.sections) {
    ASSERT_EQ(s.GroundBlockCount(), 1);
    EXPECT_EQ(s.groundBlocks[0].layer, 0);
    EXPECT_EQ(s.groundBlocks[0].rockType, 2);
  }
  EXPECT_EQ(PointsOf(d.sections[0].groundBlocks[0], -1), (GroundPoints{{0, 0}, {2.5, -0.25}, {6, -0.75}}));
  EXPECT_EQ(PointsOf(d.sections[0].groundBlocks[0], 1), (GroundPoints{{0, 0}, {3, 0.5}}));
  // All 100 pairs, the last from the columns before 附注.
  const GroundBlock& full = d.sections[1].groundBlocks[0];
  ASSERT_EQ(full.leftCount, 100);
  ASSERT_EQ(full.rightCount, 100);
  EXPECT_DOUBLE_EQ(full.left[99].x, 99.0);
  EXPECT_DOUBLE_EQ(full.left[99].y, 0.99);
  EXPECT_DOUBLE_EQ(full.right[57].x, 114.0);
  EXPECT_DOUBLE_EQ(full.right[57].y, -1.14);
  // The baseline keeps the fill/cut table's ground elevation.
  EXPECT_DOUBLE_EQ(d.sections[1].groundElevation, 100.12);
}

TEST_F(GroundLineReadTest, PointCountsAreBoundedToTheTable) {
  FillCut({{"DK", 100}, {"DK", 200}});
  GroundRows({Side("DK", 100, "左", Ramp(100, 1.0, 0.1), 120),  // 120 declared, 100 stored
              Side("DK", 100, "右", {{0, 0}, {1, 1}}, -3),
              Side("DK", 200, "左", {{0, 0}, {4, 0.4}}),
              Side("DK", 200, "右", {{0, 0}, {5, 0.5}})});
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  EXPECT_EQ(d.sections[0].groundBlocks[0].leftCount, 100);
  EXPECT_DOUBLE_EQ(d.sections[0].groundBlocks[0].left[99].y, 9.9);
  EXPECT_EQ(d.sections[0].groundBlocks[0].rightCount, 0);
  EXPECT_NE(transcript.text().find("地面点数120超过100"), std::string::npos);
  // The next station is read as it stands.
  EXPECT_EQ(PointsOf(d.sections[1].groundBlocks[0], -1), (GroundPoints{{0, 0}, {4, 0.4}}));
}

// Rows are matched by station and side, never by position.
TEST_F(GroundLineReadTest, RowsFindTheirStationsWhateverTheirOrder) {
  struct Case {
    const char* name;
    std::vector<fixtures::CrossSectionRow> rows;
    // Expected left and right second points of the three stations; (-1, -1)
    // for a side left empty.
    std::vector<std::pair<double, double>> left, right;
  };
  auto row = [](double chainage, const char* side, double x) {
    return SectionTablesTest::Side("DK", chainage, side, {{0, 0}, {x, x / 10}});
  };
  const std::vector<Case> cases = {
      {"in order", {row(100, "左", 1), row(100, "右", 2), row(200, "左", 3), row(200, "右", 4), row(300, "左", 5),
                    row(300, "右", 6)},
       {{1, 0.1}, {3, 0.3}, {5, 0.5}}, {{2, 0.2}, {4, 0.4}, {6, 0.6}}},
      {"a lone left row", {row(100, "左", 1), row(100, "右", 2), row(200, "左", 3), row(300, "左", 5),
                           row(300, "右", 6)},
       {{1, 0.1}, {3, 0.3}, {5, 0.5}}, {{2, 0.2}, {-1, -1}, {6, 0.6}}},
      {"a lone right row", {row(100, "右", 2), row(200, "左", 3), row(200, "右", 4), row(300, "左", 5),
                            row(300, "右", 6)},
       {{-1, -1}, {3, 0.3}, {5, 0.5}}, {{2, 0.2}, {4, 0.4}, {6, 0.6}}},
      {"right before left, stations shuffled", {row(300, "右", 6), row(300, "左", 5), row(100, "右", 2),
                                                row(200, "右", 4), row(100, "左", 1), row(200, "左", 3)},
       {{1, 0.1}, {3, 0.3}, {5, 0.5}}, {{2, 0.2}, {4, 0.4}, {6, 0.6}}},
      {"a station the fill/cut table lacks", {row(100, "左", 1), row(100, "右", 2), row(150, "左", 9),
                                              row(150, "右", 9), row(200, "左", 3), row(200, "右", 4),
                                              row(300, "左", 5), row(300, "右", 6)},
       {{1, 0.1}, {3, 0.3}, {5, 0.5}}, {{2, 0.2}, {4, 0.4}, {6, 0.6}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    FillCut({{"DK", 100}, {"DK", 200}, {"DK", 300}});
    GroundRows(c.rows);
    ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
    ASSERT_EQ(d.SectionCount(), 3);
    for (int i = 0; i < 3; ++i) {
      for (int side : {-1, 1}) {
        const auto expected = (side < 0 ? c.left : c.right)[static_cast<size_t>(i)];
        const GroundPoints got = PointsOf(d.sections[static_cast<size_t>(i)].groundBlocks[0], side);
        if (expected.first < 0) {
          EXPECT_TRUE(got.empty()) << "station " << i << " side " << side;
        } else {
          ASSERT_EQ(got.size(), 2u) << "station " << i << " side " << side;
          EXPECT_DOUBLE_EQ(got[1].first, expected.first);
          EXPECT_DOUBLE_EQ(got[1].second, expected.second);
        }
      }
    }
  }
}

TEST_F(GroundLineReadTest, RepeatedChainagesOfALongChainAndPrefixesAreKeptApart) {
  // DK0+560 occurs twice (a long chain), AK0+560 once.
  FillCut({{"DK", 540}, {"DK", 560}, {"DK", 580}, {"DK", 560}, {"AK", 560}});
  auto row = [](const char* prefix, double chainage, const char* side, double x) {
    return SectionTablesTest::Side(prefix, chainage, side, {{0, 0}, {x, 0}});
  };
  GroundRows({row("DK", 540, "左", 1), row("DK", 540, "右", 1), row("DK", 560, "左", 2), row("DK", 560, "右", 2),
              row("DK", 580, "左", 3), row("DK", 580, "右", 3), row("DK", 560, "左", 4), row("DK", 560, "右", 4),
              row("AK", 560, "左", 5), row("AK", 560, "右", 5)});
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(d.SectionCount(), 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const GroundBlock& b = d.sections[static_cast<size_t>(i)].groundBlocks[0];
    ASSERT_EQ(b.leftCount, 2);
    ASSERT_EQ(b.rightCount, 2);
    EXPECT_DOUBLE_EQ(b.left[1].x, i + 1.0);
    EXPECT_DOUBLE_EQ(b.right[1].x, i + 1.0);
  }
}

TEST_F(GroundLineReadTest, UnknownSidesAndStrayRowsAreReportedAndLeftOut) {
  FillCut({{"DK", 100}});
  GroundRows({Side("DK", 100, "左", {{0, 0}, {1, 0}}), Side("DK", 100, "中", {{0, 0}, {9, 9}}),
              Side("DK", 100, "右", {{0, 0}, {2, 0}}), Side("DK", 100, "右", {{0, 0}, {8, 8}}),
              Side("DK", 900, "左", {{0, 0}, {7, 7}})});
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  EXPECT_EQ(PointsOf(d.sections[0].groundBlocks[0], -1), (GroundPoints{{0, 0}, {1, 0}}));
  EXPECT_EQ(PointsOf(d.sections[0].groundBlocks[0], 1), (GroundPoints{{0, 0}, {2, 0}}));
  EXPECT_NE(transcript.text().find("横断面地面线表有1行的左或右"), std::string::npos);
  EXPECT_NE(transcript.text().find("横断面地面线表有2行找不到对应的横断面"), std::string::npos);
}

TEST_F(GroundLineReadTest, SectionsWithoutRowsKeepAnEmptyGroundLine) {
  FillCut({{"DK", 100}, {"DK", 200}});
  GroundRows({Side("DK", 200, "左", {{0, 0}, {1, 0}}), Side("DK", 200, "右", {{0, 0}, {1, 0}})});
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(d.sections[0].GroundBlockCount(), 1);
  EXPECT_EQ(d.sections[0].groundBlocks[0].leftCount, 0);
  EXPECT_EQ(d.sections[0].groundBlocks[0].rightCount, 0);
  EXPECT_EQ(d.sections[1].groundBlocks[0].leftCount, 2);
}

}  // namespace
