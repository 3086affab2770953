// XLDataBase::ReadGroundLineTables of the ground-line input: the query, the
// ground-line and user rock-layer rows by column position into their lists,
// bounded point counts, and the second-line break and construction-line
// tables by column name.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fixtures/section_schemes.h"
#include "tables_support.h"

namespace {

using fixtures::CrossSectionRow;
using pellorytest::Points;
using pellorytest::SideOf;
using pellorytest::TablesTest;

CrossSectionRow GroundRow(int detour, const char* prefix, double chainage, const char* side, Points points) {
  return fixtures::SideRow(prefix, chainage, side, std::move(points), detour);
}

// Summary of a record: detour text, chainage, left and right counts.
struct Summary {
  std::string detour;
  double chainage;
  int leftCount, rightCount;
  bool operator==(const Summary&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Summary& s) {
  return out << "{'" << s.detour << "' " << s.chainage << " L" << s.leftCount << " R" << s.rightCount << "}";
}
std::vector<Summary> Summaries(const EarthLineList& list) {
  std::vector<Summary> out;
  for (INT_PTR i = 0; i < list.GetSize(); ++i)
    out.push_back({list[i].detourNumber.GetString(), list[i].chainage, list[i].leftCount, list[i].rightCount});
  return out;
}

class GroundLineReadTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    std::string error;
    ASSERT_TRUE(fixtures::AppendGroundLineRows(
        m_db, "横断面地面线表", false,
        {GroundRow(-1, "DK", 100, "左", {{0, 0}, {2.5, 0.3}, {6, -0.4}}),
         GroundRow(-1, "DK", 100, "右", {{0, 0}, {4, 1}}), GroundRow(-1, "DK", 120, "左", {{0, 0}}),
         GroundRow(-1, "DK", 120, "右", {})},
        true, &error))
        << error;
    std::vector<CrossSectionRow> detourRows;
    for (int detour : {1, 2, 3})
      for (double c : {500.0 + 100 * detour, 520.0 + 100 * detour})
        for (const char* side : {"左", "右"}) detourRows.push_back(GroundRow(detour, "ZK", c, side, {{0, 0}, {3, 0.5}}));
    ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "左线绕行段横断面地面线表", true, detourRows, true, &error)) << error;
    Sql(fixtures::GroundLineTableSql("右线绕行段横断面地面线表", true));
  }
};

TEST_F(GroundLineReadTest, TheQuerySelectsItsRowsInIdOrder) {
  struct Case {
    const char* table;
    const char* filter;
    int result;
    std::string sql;
    std::vector<Summary> records;
  };
  const std::vector<Case> cases = {
      {"横断面地面线表", "", 1, "select * from 横断面地面线表 Order By ID",
       {{"", 100, 3, 0}, {"", 100, 0, 2}, {"", 120, 1, 0}, {"", 120, 0, 0}}},
      {"左线绕行段横断面地面线表", "绕行段编号=2", 1,
       "select * from 左线绕行段横断面地面线表 where 绕行段编号=2 Order By ID",
       {{"2", 700, 2, 0}, {"2", 700, 0, 2}, {"2", 720, 2, 0}, {"2", 720, 0, 2}}},
      {"左线绕行段横断面地面线表", "绕行段编号=7", 0,
       "select * from 左线绕行段横断面地面线表 where 绕行段编号=7 Order By ID", {}},
      // The table exists but holds no row.
      {"右线绕行段横断面地面线表", "", 0, "select * from 右线绕行段横断面地面线表 Order By ID", {}},
      {"不存在的表", "", 0, "select * from 不存在的表 Order By ID", {}},
  };
  const std::vector<Summary> before = {{"", 1, 0, 0}, {"", 2, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    // Whatever the list held before, a ground-line table's records replace it.
    xl.groundLines.SetSize(2);
    xl.groundLines[0].chainage = 1;
    xl.groundLines[1].chainage = 2;
    xl.groundLineCount = 2;
    EXPECT_EQ(Read(c.table, c.filter), c.result);
    EXPECT_EQ(std::string(xl.sqlText.GetString()), c.sql);
    const bool groundTable = std::string(c.table) != "不存在的表";
    EXPECT_EQ(Summaries(xl.groundLines), groundTable ? c.records : before);
    EXPECT_EQ(xl.groundLineCount, static_cast<int>(groundTable ? c.records.size() : before.size()));
  }
}

TEST_F(GroundLineReadTest, ABaselineRowFillsItsSideFromColumnsSixToEleven) {
  Sql("delete from 横断面地面线表");
  // Columns 1 to 11: prefix, chainage, elevation, side, count, then three points.
  Fill("横断面地面线表", {{"DK", "1234.5", "101.25", "左", "3", "2.5", "0.3", "6", "-0.4", "9", "-1.2"},
                          {"DK", "1234.5", "101.25", "右", "1", "4.5", "0.7"}});
  ASSERT_EQ(Read("横断面地面线表"), 1);
  ASSERT_EQ(xl.groundLines.GetSize(), 2);
  const earthline& left = xl.groundLines[0];
  EXPECT_STREQ(left.prefix.GetString(), "DK");
  EXPECT_STREQ(left.detourNumber.GetString(), "");
  EXPECT_DOUBLE_EQ(left.chainage, 1234.5);
  EXPECT_DOUBLE_EQ(left.elevation, 101.25);
  EXPECT_EQ(left.layer, 0);
  EXPECT_EQ(left.rockType, 2);
  EXPECT_EQ(SideOf(left, true), (Points{{2.5, 0.3}, {6, -0.4}, {9, -1.2}}));
  EXPECT_EQ(left.rightCount, 0);
  const earthline& right = xl.groundLines[1];
  EXPECT_EQ(right.leftCount, 0);
  EXPECT_EQ(SideOf(right, false), (Points{{4.5, 0.7}}));
}

TEST_F(GroundLineReadTest, PointCountsAndSidesAreBounded) {
  Sql("delete from 横断面地面线表");
  Points many;
  for (int k = 0; k < 100; ++k) many.emplace_back(0.5 * k, -0.01 * k);
  struct Case {
    const char* side;
    int declared;
    int left, right;  // counts read
  };
  const Case cases[] = {
      {"左", 150, 100, 0},  // cut to 100 with a note
      {"右", 100, 0, 100},
      {"左", -3, 0, 0},
      {"中", 4, 0, 0},  // neither side
  };
  std::vector<CrossSectionRow> rows;
  for (const Case& c : cases) {
    CrossSectionRow r = GroundRow(-1, "DK", 100, c.side, many);
    r.declaredCount = c.declared;
    rows.push_back(r);
  }
  std::string error;
  ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false, rows, false, &error)) << error;
  ASSERT_EQ(Read("横断面地面线表"), 1);
  ASSERT_EQ(xl.groundLines.GetSize(), 4);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const earthline& r = xl.groundLines[static_cast<INT_PTR>(i)];
    EXPECT_EQ(r.leftCount, cases[i].left);
    EXPECT_EQ(r.rightCount, cases[i].right);
  }
  EXPECT_DOUBLE_EQ(xl.groundLines[0].left[99].distance, 49.5);
  EXPECT_TRUE(transcript.contains("横断面地面线表 DK0+100.00 左侧: 地面点数150超过100")) << transcript.text();
}

// ---- User rock-layer tables -----------------------------------------------------------

class RockLayerReadTest : public TablesTest {
 protected:
  // The user tables of an earlier build keep 岩层性质 as a text column, so
  // that "普通土" can be stored.
  void CreateTextRockTypeTable(const char* table, bool detour) {
    std::string sql = fixtures::RockLayerTableSql(table, detour);
    const std::string integer = "岩层性质 INTEGER";
    sql.replace(sql.find(integer), integer.size(), "岩层性质 VARCHAR");
    Sql(sql);
  }
};

// "普通土" is ordinary soil (2) in every user table: a detour table read as
// rock type 0 could never be written again, its rows being refused.
TEST_F(RockLayerReadTest, RockTypeOrdinarySoilIsTwoInEveryUserTable) {
  CreateTextRockTypeTable("用户横断面岩层线表", false);
  CreateTextRockTypeTable("用户左线绕行段横断面岩层线表", true);
  CreateTextRockTypeTable("用户右线绕行段横断面岩层线表", true);
  // From 中桩里程冠号 on: prefix, chainage, elevation, layer, rock type, side, count, point 1.
  Fill("用户横断面岩层线表", {{"DK", "100", "101", "0", "普通土", "左", "1", "2", "0.5"},
                              {"DK", "100", "101", "1", "4", "右", "1", "3", "-2"}});
  Fill("用户左线绕行段横断面岩层线表", {{"1", "ZK", "600", "99", "0", "普通土", "左", "1", "2", "0.5"},
                                        {"1", "ZK", "600", "99", "2", "5", "右", "1", "3", "-2"}});
  Fill("用户右线绕行段横断面岩层线表", {{"3", "YK", "700", "98", "1", "3", "左", "1", "2", "0.5"},
                                        {"3", "YK", "700", "98", "0", "普通土", "右", "1", "3", "-2"}});
  struct Case {
    const char* table;
    std::vector<int> layers, rockTypes;
    std::string detour;
  };
  const Case cases[] = {
      {"用户横断面岩层线表", {0, 1}, {2, 4}, ""},
      {"用户左线绕行段横断面岩层线表", {0, 2}, {2, 5}, "1"},
      {"用户右线绕行段横断面岩层线表", {1, 0}, {3, 2}, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    ASSERT_EQ(Read(c.table), 1);
    ASSERT_EQ(xl.rockLayerCount, 2);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(xl.rockLayers[i].layer, c.layers[static_cast<size_t>(i)]);
      EXPECT_EQ(xl.rockLayers[i].rockType, c.rockTypes[static_cast<size_t>(i)]);
      EXPECT_EQ(std::string(xl.rockLayers[i].detourNumber.GetString()), c.detour);
    }
    EXPECT_EQ(SideOf(xl.rockLayers[0], true), (Points{{2, 0.5}}));
    EXPECT_EQ(SideOf(xl.rockLayers[1], false), (Points{{3, -2}}));
  }
}

TEST_F(RockLayerReadTest, EachReadReplacesOnlyTheListOfItsKind) {
  Sql(fixtures::RockLayerTableSql("用户横断面岩层线表", false));
  Fill("用户横断面岩层线表", {{"DK", "300", "101", "1", "3", "左", "1", "2", "0.5"}});
  std::string error;
  ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false,
                                             {GroundRow(-1, "DK", 100, "左", {{0, 0}}),
                                              GroundRow(-1, "DK", 100, "右", {{0, 0}})},
                                             true, &error))
      << error;
  xl.rockLayers.SetSize(3);
  xl.rockLayerCount = 3;
  ASSERT_EQ(Read("横断面地面线表"), 1);
  EXPECT_EQ(xl.groundLineCount, 2);
  EXPECT_EQ(xl.rockLayerCount, 3);
  EXPECT_EQ(xl.rockLayers.GetSize(), 3);
  ASSERT_EQ(Read("用户横断面岩层线表"), 1);
  EXPECT_EQ(Summaries(xl.rockLayers), (std::vector<Summary>{{"", 300, 1, 0}}));
  EXPECT_EQ(xl.rockLayerCount, 1);
  EXPECT_EQ(Summaries(xl.groundLines), (std::vector<Summary>{{"", 100, 1, 0}, {"", 100, 0, 1}}));
  // An empty table empties its list and reports no rows.
  Sql("delete from 用户横断面岩层线表");
  EXPECT_EQ(Read("用户横断面岩层线表"), 0);
  EXPECT_EQ(xl.rockLayers.GetSize(), 0);
  EXPECT_EQ(xl.rockLayerCount, 0);
  EXPECT_EQ(xl.groundLineCount, 2);
}

TEST_F(RockLayerReadTest, AMissingDatabaseIsReported) {
  xl.rockLayers.SetSize(2);
  xl.rockLayerCount = 2;
  EXPECT_EQ(xl.ReadGroundLineTables((m_dir + "/不存在.mdb").c_str(), "用户横断面岩层线表", ""), 0);
  EXPECT_TRUE(transcript.contains("连接数据库失败!")) << transcript.text();
  EXPECT_EQ(xl.rockLayerCount, 2);
}

// ---- Line-name tables ----------------------------------------------------------------

TEST_F(TablesTest, SecondLineBreaksAndConstructionLinesAreReadByNameAndCutToFit) {
  Sql("create table 二线断链表(ID INTEGER IDENTITY,线路名 VARCHAR,线路编号 DOUBLE PRECISION,绕行段名 VARCHAR,"
      "等号左里程冠号 VARCHAR,等号左里程数 DOUBLE PRECISION,等号右里程冠号 VARCHAR,等号右里程数 DOUBLE PRECISION)");
  std::string longName;  // 30 characters, 60 GBK bytes: 25 of them fit the 51-byte field
  for (int i = 0; i < 30; ++i) longName += "线";
  Fill("二线断链表", {{"二线", "2.9", "左线第1绕行段", "DK", "1000.5", "ZK", "1010.25"},
                      {longName.c_str(), "-1", nullptr, nullptr, "2000", "ZK", "2000"}});
  ASSERT_EQ(Read("二线断链表"), 1);
  ASSERT_EQ(xl.secondLineBreakCount, 2);
  const SecondLineBreakRecord& first = xl.secondLineBreaks[0];
  EXPECT_STREQ(first.lineName, "二线");
  EXPECT_EQ(first.lineNumber, 2);
  EXPECT_STREQ(first.detourName.GetString(), "左线第1绕行段");
  EXPECT_STREQ(first.prefixBefore.GetString(), "DK");
  EXPECT_DOUBLE_EQ(first.before, 1000.5);
  EXPECT_STREQ(first.prefixAfter.GetString(), "ZK");
  EXPECT_DOUBLE_EQ(first.after, 1010.25);
  std::string cut;
  for (int i = 0; i < 25; ++i) cut += "线";
  EXPECT_EQ(std::string(xl.secondLineBreaks[1].lineName), cut);
  EXPECT_EQ(xl.secondLineBreaks[1].lineNumber, -1);
  EXPECT_STREQ(xl.secondLineBreaks[1].detourName.GetString(), "");

  Sql("create table 施工便线信息表(ID INTEGER IDENTITY,线路名 VARCHAR,内部线路名 VARCHAR,起始线路名 VARCHAR,"
      "终止线路名 VARCHAR)");
  const std::string longEnd(300, 'A');
  Fill("施工便线信息表", {{"便线1", "BX1", "基线", longEnd.c_str()}});
  ASSERT_EQ(Read("施工便线信息表"), 1);
  ASSERT_EQ(xl.constructionLineCount, 1);
  const ConstructionLineRecord& line = xl.constructionLines[0];
  EXPECT_STREQ(line.lineName, "便线1");
  EXPECT_STREQ(line.internalName, "BX1");
  EXPECT_STREQ(line.startLineName, "基线");
  EXPECT_EQ(std::string(line.endLineName), std::string(255, 'A'));
  // Reading again replaces the array; the other table's records stay.
  Sql("delete from 二线断链表");
  Fill("二线断链表", {{"三线", "3", nullptr, "DK", "1", "DK", "2"}});
  ASSERT_EQ(Read("二线断链表"), 1);
  ASSERT_EQ(xl.secondLineBreakCount, 1);
  EXPECT_STREQ(xl.secondLineBreaks[0].lineName, "三线");
  EXPECT_EQ(xl.constructionLineCount, 1);
}

}  // namespace
