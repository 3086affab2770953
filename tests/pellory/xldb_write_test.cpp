// XLDataBase::WriteRockLayerTable of the ground-line input: the tables it
// creates, the rows it appends (centre points, pairs with an empty side),
// the condition delete of a detour table, and failures that keep the rows
// stored before.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "GroundTables.h"
#include "fixtures/section_schemes.h"
#include "tables_support.h"

namespace {

using pellorytest::Points;
using pellorytest::Record;
using pellorytest::Rows;
using pellorytest::SideOf;
using pellorytest::TablesTest;

// The column names of a table, in order.
std::vector<std::string> ColumnNames(const std::string& db, const char* table) {
  CAdoConnection connection;
  std::vector<std::string> names;
  if (!connection.Open(("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db).c_str(), -1)) return names;
  CAdoRecordSet rows(&connection);
  if (rows.Open((std::string("select * from ") + table).c_str()) < 0) return names;
  for (long i = 0; i < rows.GetFieldCount(); ++i) names.push_back(rows.GetFieldName(i).GetString());
  rows.Close();
  connection.Close();
  return names;
}

// The names of a rock-layer table written out: ID, [绕行段编号], the head
// columns, 点1距中桩距离 .. 点100与中桩高程差, 附注.
std::vector<std::string> ExpectedColumns(bool detour) {
  std::vector<std::string> names = {"ID"};
  if (detour) names.push_back("绕行段编号");
  for (const char* head : {"中桩里程冠号", "中桩里程数", "地面高程", "层号", "岩层性质", "左或右", "地面点数"})
    names.push_back(head);
  for (int k = 1; k <= 100; ++k) {
    names.push_back("点" + std::to_string(k) + "距中桩距离");
    names.push_back("点" + std::to_string(k) + "与中桩高程差");
  }
  names.push_back("附注");
  return names;
}

// Side, count and the first three points of each row of the baseline design table.
const char* const kRowQuery =
    "select 中桩里程数, 层号, 左或右, 地面点数, 点1距中桩距离, 点1与中桩高程差, 点2距中桩距离, 点2与中桩高程差, "
    "点3距中桩距离, 点3与中桩高程差 from 横断面岩层线表 order by ID";

using WriteTest = TablesTest;

TEST_F(WriteTest, TheCreateTextIsTheTableLayout) {
  const std::string sql = RockLayerTableCreateSql("横断面岩层线表", false).GetString();
  const std::string head =
      "create table 横断面岩层线表(ID INTEGER IDENTITY,中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,"
      "地面高程 DOUBLE PRECISION,层号 INTEGER,岩层性质 INTEGER,左或右 VARCHAR,地面点数 INTEGER,"
      "点1距中桩距离 DOUBLE PRECISION,点1与中桩高程差 DOUBLE PRECISION,点2距中桩距离 DOUBLE PRECISION,";
  const std::string tail = ",点100距中桩距离 DOUBLE PRECISION,点100与中桩高程差 DOUBLE PRECISION,附注 VARCHAR)";
  EXPECT_EQ(sql.substr(0, head.size()), head);
  ASSERT_GE(sql.size(), tail.size());
  EXPECT_EQ(sql.substr(sql.size() - tail.size()), tail);
  // 209 column definitions: 208 commas between them.
  EXPECT_EQ(std::count(sql.begin(), sql.end(), ','), 208);
  const std::string detour = RockLayerTableCreateSql("左线绕行段横断面岩层线表", true).GetString();
  const std::string detourHead = "create table 左线绕行段横断面岩层线表(ID INTEGER IDENTITY,绕行段编号 INTEGER,中桩里程冠号";
  EXPECT_EQ(detour.substr(0, detourHead.size()), detourHead);
  EXPECT_EQ(std::count(detour.begin(), detour.end(), ','), 209);
}

TEST_F(WriteTest, AnEmptyListCreatesTheMissingTableAndOnlyADesignTableReportsSuccess) {
  struct Case {
    const char* table;
    bool detour;
    bool reportsSuccess;
  };
  const Case cases[] = {
      {"横断面岩层线表", false, true},
      {"用户横断面岩层线表", false, false},
      {"左线绕行段横断面岩层线表", true, true},
      {"用户右线绕行段横断面岩层线表", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    transcript.clear();
    EXPECT_EQ(Write({}, c.table, c.detour ? "绕行段编号=1" : ""), 1);
    EXPECT_EQ(ColumnNames(m_db, c.table), ExpectedColumns(c.detour));
    EXPECT_EQ(transcript.contains("成功写入数据库"), c.reportsSuccess) << transcript.text();
    EXPECT_TRUE(Query(std::string("select * from ") + c.table).empty());
  }
}

TEST_F(WriteTest, RowsCarryTheCentrePointWhereTheFirstPointIsOffTheCentre) {
  struct Case {
    const char* name;
    std::vector<earthline> records;
    Rows rows;
  };
  const std::vector<Case> cases = {
      {"ground line, first point off the centre",
       {Record(100, 0, {{2.5, 0.3}, {5.0, -0.1}}, {}), Record(100, 0, {}, {{3.0, 0.2}})},
       {{"100", "0", "左", "3", "0", "0", "2.5", "0.3", "5", "-0.1"},
        {"100", "0", "右", "2", "0", "0", "3", "0.2", "NULL", "NULL"}}},
      {"first point exactly on the centre",
       {Record(100, 0, {{0.0, 0.4}, {4.0, 0.1}}, {}), Record(100, 0, {}, {{0.0, 0.4}, {3.0, 0.2}})},
       {{"100", "0", "左", "2", "0", "0.4", "4", "0.1", "NULL", "NULL"},
        {"100", "0", "右", "2", "0", "0.4", "3", "0.2", "NULL", "NULL"}}},
      // v = 1 + (2 − 1) × 4 / (4 + 6) = 1.4 on both rows.
      {"rock-layer pair",
       {Record(100, 1, {{4.0, 1.0}, {8.0, 0.5}}, {}), Record(100, 1, {}, {{6.0, 2.0}})},
       {{"100", "1", "左", "3", "0", "1.4", "4", "1", "8", "0.5"},
        {"100", "1", "右", "2", "0", "1.4", "6", "2", "NULL", "NULL"}}},
      // The empty right side is a row with its centre point; station 120 keeps its own rows.
      {"an empty right side",
       {Record(100, 0, {{2.5, 0.3}}, {}), Record(100, 0, {}, {}), Record(120, 0, {{1.5, 0.1}}, {}),
        Record(120, 0, {}, {{2.0, -0.2}})},
       {{"100", "0", "左", "2", "0", "0", "2.5", "0.3", "NULL", "NULL"},
        {"100", "0", "右", "1", "0", "0", "NULL", "NULL", "NULL", "NULL"},
        {"120", "0", "左", "2", "0", "0", "1.5", "0.1", "NULL", "NULL"},
        {"120", "0", "右", "2", "0", "0", "2", "-0.2", "NULL", "NULL"}}},
      {"a pair without points", {Record(100, 0, {}, {}), Record(100, 0, {}, {})}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Write(c.records, "横断面岩层线表"), 1);
    EXPECT_EQ(Query(kRowQuery), c.rows);
  }
}

TEST_F(WriteTest, HeadColumnsAndTheLastPointGoWhereTheTableHasThem) {
  Points hundred;  // 100 points from the centre: all fit
  for (int k = 0; k < 100; ++k) hundred.emplace_back(0.5 * k, -0.25 * k);
  earthline left = Record(1234.5, 2, hundred, {}, "3", 5);
  left.prefix = "ZK";
  left.elevation = 88.75;
  earthline right = Record(1234.5, 2, {}, {{1.0, 2.0}}, "3", 5);
  right.prefix = "zk ";  // the same station: prefixes compare trimmed, without case
  ASSERT_EQ(Write({left, right}, "左线绕行段横断面岩层线表", "绕行段编号=3"), 1);
  EXPECT_EQ(Query("select 绕行段编号, 中桩里程冠号, 中桩里程数, 地面高程, 层号, 岩层性质, 左或右, 地面点数, "
                  "点100距中桩距离, 点100与中桩高程差, 附注 from 左线绕行段横断面岩层线表 order by ID"),
            (Rows{{"3", "ZK", "1234.5", "88.75", "2", "5", "左", "100", "49.5", "-24.75", "NULL"},
                  {"3", "zk ", "1234.5", "101.2345", "2", "5", "右", "2", "NULL", "NULL", "NULL"}}));
}

// A station whose one side is too long for its row is left out with both
// its sides (the design would otherwise read it with one side), named in the
// message; the other stations are written.
TEST_F(WriteTest, ASideTooLongLeavesOutItsPartnerAndIsNamed) {
  Points offCentre;  // 100 points, the first off the centre: 101 with the centre point
  for (int k = 0; k < 100; ++k) offCentre.emplace_back(1.0 + k, 0.0);
  ASSERT_EQ(Write({Record(100, 0, offCentre, {}), Record(100, 0, {}, {{3.0, 0.2}}), Record(120, 0, {{1, 0}}, {}),
                   Record(120, 0, {}, {{2, 0}})},
                  "横断面岩层线表"),
            1);
  EXPECT_EQ(Query("select 中桩里程数, 左或右 from 横断面岩层线表 order by ID"), (Rows{{"120", "左"}, {"120", "右"}}));
  EXPECT_TRUE(transcript.contains("两侧都未写入横断面岩层线表")) << transcript.text();
  EXPECT_TRUE(transcript.contains("DK0+100.00 层0: 左侧100个点")) << transcript.text();
  EXPECT_FALSE(transcript.contains("成功写入数据库"));
}

// Values the design cannot read are refused before anything is written: the
// rows the table held stay, and the message names the table, the station,
// the layer and the field.
TEST_F(WriteTest, ValuesTheDesignCannotReadWriteNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    earthline record;  // the left record of station 100 (its right partner is good)
    const char* table;
    const char* message;
  };
  auto with = [](auto change) {
    earthline r = Record(100, 0, {{2.5, 0.3}}, {});
    change(r);
    return r;
  };
  const std::vector<Case> cases = {
      {"an infinite chainage", with([&](earthline& r) { r.chainage = inf; }), "横断面岩层线表",
       "DKinf 层0 左侧: 中桩里程数不是有限的数"},
      {"a chainage that is no number", with([&](earthline& r) { r.chainage = nan; }), "横断面岩层线表",
       "中桩里程数不是有限的数"},
      {"an infinite centre elevation", with([&](earthline& r) { r.elevation = inf; }), "用户横断面岩层线表",
       "DK0+100.00 层0 左侧: 地面高程不是有限的数"},
      {"rock type 0", with([](earthline& r) { r.rockType = 0; }), "横断面岩层线表",
       "DK0+100.00 层0 左侧: 岩层性质0不是已知的岩性(1到6)"},
      {"rock type 7", with([](earthline& r) { r.rockType = 7; }), "横断面岩层线表", "岩层性质7不是已知的岩性"},
      {"rock type -7", with([](earthline& r) { r.rockType = -7; }), "横断面岩层线表", "岩层性质-7不是已知的岩性"},
      {"a negative layer", with([](earthline& r) { r.layer = -1; }), "横断面岩层线表", "层号-1不在0到19之间"},
      {"layer 20", with([](earthline& r) { r.layer = 20; }), "横断面岩层线表", "层号20不在0到19之间"},
      {"a distance that is no number", with([&](earthline& r) { r.left[0].distance = nan; }), "横断面岩层线表",
       "DK0+100.00 层0: 左侧第1点的距中桩距离不是有限的数"},
      {"an infinite height", with([&](earthline& r) { r.left[0].height = -inf; }), "横断面岩层线表",
       "左侧第1点的与中桩高程差不是有限的数"},
      {"a negative count", with([](earthline& r) { r.leftCount = -3; }), "横断面岩层线表",
       "左侧地面点数-3不在0到100之间"},
      {"a detour number that is no number", with([](earthline& r) { r.detourNumber = "二"; }),
       "左线绕行段横断面岩层线表", "DK0+100.00 层0 左侧: 绕行段编号\"二\"不是整数"},
  };
  // Each table holds one row before; nothing may change it.
  for (const char* table : {"横断面岩层线表", "用户横断面岩层线表", "左线绕行段横断面岩层线表"}) {
    Sql(fixtures::RockLayerTableSql(table, std::string(table).find("绕行段") != std::string::npos));
    Sql(std::string("insert into ") + table + "(中桩里程冠号, 中桩里程数) values ('DK', 50)");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transcript.clear();
    const char* detour = std::string(c.table).find("绕行段") != std::string::npos ? "1" : "";
    earthline left = c.record;
    if (left.detourNumber.IsEmpty()) left.detourNumber = detour;
    const std::vector<earthline> records = {Record(80, 0, {{1, 0}}, {}, detour), Record(80, 0, {}, {{1, 0}}, detour),
                                            left, Record(100, 0, {}, {{3.0, 0.2}}, detour)};
    EXPECT_EQ(Write(records, c.table), 0);
    EXPECT_TRUE(transcript.contains(std::string("写") + c.table + "失败: 1条记录的数值不能存入")) << transcript.text();
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_FALSE(transcript.contains("成功写入数据库"));
    EXPECT_EQ(Query(std::string("select 中桩里程冠号, 中桩里程数 from ") + c.table), (Rows{{"DK", "50"}}));
  }
}

// A refused record is named by its table, station, layer and side: the
// side it holds points on (the row the user finds it in when querying the
// station), both for a record of both sides, and for a record without
// points the side it stands for is unknown.
TEST_F(WriteTest, ARefusedRecordIsNamedByItsStationLayerAndSide) {
  struct Case {
    const char* name;
    earthline record;
    const char* message;
  };
  const Case cases[] = {
      {"a left record", Record(100, 0, {{2, 0.5}}, {}, "", 0), "DK0+100.00 层0 左侧: 岩层性质0不是已知的岩性(1到6)"},
      {"a right record", Record(100, 3, {}, {{2, 0.5}}, "", 0), "DK0+100.00 层3 右侧: 岩层性质0不是已知的岩性(1到6)"},
      {"a record of both sides", Record(1234.5, 1, {{2, 0.5}}, {{3, 1}}, "", 7),
       "DK1+234.50 层1 两侧: 岩层性质7不是已知的岩性(1到6)"},
      {"a record without points", Record(100, 0, {}, {}, "", 0),
       "DK0+100.00 层0 无地面点的一侧: 岩层性质0不是已知的岩性(1到6)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transcript.clear();
    EXPECT_EQ(Write({Record(80, 0, {{1, 0}}, {}), Record(80, 0, {}, {{1, 0}}), c.record}, "用户横断面岩层线表"), 0);
    EXPECT_TRUE(transcript.contains("写用户横断面岩层线表失败: 1条记录的数值不能存入, 未写入任何记录:"))
        << transcript.text();
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_TRUE(transcript.contains("查询所列的桩号和层, 改正后保存记录")) << transcript.text();
  }
}

TEST_F(WriteTest, AConditionReplacesTheRowsOfOneDetourOnly) {
  const char* table = "右线绕行段横断面岩层线表";
  for (const char* detour : {"1", "2", "3"}) {
    const std::string condition = std::string("绕行段编号=") + detour;
    ASSERT_EQ(Write({Record(100, 0, {{1, 0}}, {}, detour), Record(100, 0, {}, {{1, 0}}, detour)}, table,
                    condition.c_str()),
              1);
  }
  ASSERT_EQ(Write({Record(200, 0, {{2, 0}}, {}, "2"), Record(200, 0, {}, {{2, 0}}, "2"),
                   Record(220, 0, {{2, 0}}, {}, "2"), Record(220, 0, {}, {{2, 0}}, "2")},
                  table, "绕行段编号=2"),
            1);
  EXPECT_EQ(Query("select 绕行段编号, 中桩里程数, 左或右 from 右线绕行段横断面岩层线表 order by 绕行段编号, ID"),
            (Rows{{"1", "100", "左"},
                  {"1", "100", "右"},
                  {"2", "200", "左"},
                  {"2", "200", "右"},
                  {"2", "220", "左"},
                  {"2", "220", "右"},
                  {"3", "100", "左"},
                  {"3", "100", "右"}}));
}

TEST_F(WriteTest, WritingTheSameListTwiceGivesTheSameRowsAndLeavesTheListAsItWas) {
  const std::vector<earthline> records = {Record(100, 0, {{2.5, 0.3}}, {}), Record(100, 0, {}, {}),
                                          Record(100, 1, {{4, 1}}, {}), Record(100, 1, {}, {{6, 2}})};
  ASSERT_EQ(Write(records, "用户横断面岩层线表"), 1);
  const Rows first = Query("select * from 用户横断面岩层线表 order by ID");
  ASSERT_EQ(xl.WriteRockLayerTable(m_db.c_str(), "用户横断面岩层线表", ""), 1);
  const Rows second = Query("select * from 用户横断面岩层线表 order by ID");
  ASSERT_EQ(first.size(), 4u);
  ASSERT_EQ(second.size(), 4u);
  for (size_t i = 0; i < first.size(); ++i)  // all columns but the numbered ID
    EXPECT_EQ(std::vector<std::string>(first[i].begin() + 1, first[i].end()),
              std::vector<std::string>(second[i].begin() + 1, second[i].end()));
  ASSERT_EQ(xl.rockLayerCount, 4);
  EXPECT_EQ(xl.rockLayers[1].rightCount, 0);
  EXPECT_EQ(SideOf(xl.rockLayers[3], false), (Points{{6, 2}}));
  // Read back, the records come in pairs again: the empty side as its centre point.
  ASSERT_EQ(Read("用户横断面岩层线表"), 1);
  ASSERT_EQ(xl.rockLayerCount, 4);
  EXPECT_EQ(SideOf(xl.rockLayers[0], true), (Points{{0, 0}, {2.5, 0.3}}));
  EXPECT_EQ(SideOf(xl.rockLayers[1], false), (Points{{0, 0}}));
  EXPECT_EQ(SideOf(xl.rockLayers[2], true), (Points{{0, 1.4}, {4, 1}}));
  EXPECT_EQ(SideOf(xl.rockLayers[3], false), (Points{{0, 1.4}, {6, 2}}));
}

// ---- Failures keep what was stored ------------------------------------------------------

TEST_F(WriteTest, AFailedWriteKeepsTheRowsStoredBefore) {
  const std::vector<earthline> records = {Record(100, 0, {{2.5, 0.3}}, {}), Record(100, 0, {}, {{3, 0.2}})};
  const std::string notNull = [] {
    std::string sql = fixtures::RockLayerTableSql("横断面岩层线表", false);
    return sql.replace(sql.rfind(")"), 1, " NOT NULL)");  // 附注 must be given, and the writer never gives it
  }();
  std::string fewer = fixtures::GroundLineTableSql("横断面岩层线表", false);  // 207 columns
  struct Case {
    const char* name;
    std::string createSql;  // empty: the navigator's database as it is
    std::string path;       // empty: the test database
    const char* table;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"a row the table refuses", notNull, "", "横断面岩层线表", "写横断面岩层线表失败: 写入记录出错"},
      {"a table of another layout", fewer, "", "横断面岩层线表", "写横断面岩层线表失败: 该表有207列, 应有209列"},
      {"a table that is no rock-layer table", notNull, "", "横断面地面线表", "写横断面地面线表失败: 不是岩层线表"},
      {"a missing database", notNull, "/不存在.mdb", "横断面岩层线表", "连接数据库失败!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    transcript.clear();
    Sql(c.createSql);
    Sql("create table 横断面地面线表(ID INTEGER IDENTITY,中桩里程冠号 VARCHAR,附注 VARCHAR)");
    Sql("insert into 横断面岩层线表(中桩里程冠号, 中桩里程数, 附注) values ('DK', 50, '旧')");
    Fill("横断面地面线表", {{"DK", "旧"}});
    xl.rockLayers.SetSize(2);
    xl.rockLayers[0] = records[0];
    xl.rockLayers[1] = records[1];
    xl.rockLayerCount = 2;
    const std::string path = c.path.empty() ? m_db : m_dir + c.path;
    EXPECT_EQ(xl.WriteRockLayerTable(path.c_str(), c.table, ""), 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_FALSE(transcript.contains("成功写入数据库"));
    EXPECT_EQ(Query("select 中桩里程冠号, 中桩里程数 from 横断面岩层线表"), (Rows{{"DK", "50"}}));
    EXPECT_EQ(Query("select 中桩里程冠号, 附注 from 横断面地面线表"), (Rows{{"DK", "旧"}}));
  }
}

}  // namespace
