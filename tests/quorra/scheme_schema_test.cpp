// The scheme database schema and the navigator's build of the wrapper.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <filesystem>
#include <sstream>

#include "SchemeSchema.h"
#include "fixtures/run_command.h"
#include "fixtures/scheme_db.h"
#include "win/transcript.h"

namespace {

using Lines = std::vector<std::string>;

// The layouts as the schema describes them: column names in order, without ID
// and without the detour number.
const std::map<char, std::string>& layouts() {
  static const std::map<char, std::string> l = {
      {'A', "交点号 坐标N 坐标E 偏角 曲线半径 前缓和曲线 后缓和曲线 前切线长 后切线长 曲线长 夹直线长 起点里程冠号 起点里程 "
            "终点里程冠号 终点里程 内业断链 附注"},
      {'B', "等号左里程冠号 等号左里程数 等号右里程冠号 等号右里程数 断链长度 附注"},
      {'C', "交点属性 二线交点号 一线交点号 线间距 坐标N 坐标E 曲线半径 前缓和曲线 后缓和曲线 内业断链 附注"},
      {'D', "编号 等号左里程冠号 等号左里程数 等号右里程冠号 等号右里程数 附注"},
      {'E', "变坡点里程冠号 变坡点里程数 设计高程 坡度 坡长 竖曲线半径 竖曲线长度 附注"},
      {'F', "分段终里程 结构类型 结构高度"},
      {'G', "里程 高程"},
      {'H', "隧道名称 起点里程冠号 起点里程数 终点里程冠号 终点里程数 插旗方式 线数 附注"},
      {'I', "中心里程冠号 中心里程数 孔跨式样 左横向长度 右横向长度 交角 用途 插旗方式 附注"},
      {'J', "车站名称 站房中心里程冠号 站房中心里程数 起点里程冠号 起点里程数 终点里程冠号 终点里程数 车站类型 插旗图块名 附注"},
      {'K', "桥梁名称 中心里程冠号 中心里程数 起点里程冠号 起点里程数 终点里程冠号 终点里程数 孔跨式样 线数 桥全长 100年水位高程 附注"},
      {'L', "水准点编号 高程 里程冠号 里程数 距中线距离 坐标N 坐标E 位置材料的描述 附注"},
      {'M', "桩号 右角 方位角 距离 纬距 经距 高程 里程"},
      {'N', "加桩里程冠号 加桩里程数 地面高程 设计坡度 路肩设计高程 竖曲线纵距 中心抬降值 中心填挖高度 路肩施工高程 曲线加宽 "
            "右曲线加宽 路肩施工宽度 左线间距 右线间距 路肩分离限宽 断面信息 附注"},
      {'n', "加桩里程冠号 加桩里程数 地面高程 设计坡度 路肩设计高程 竖曲线纵距 中心抬降值 中心填挖高度 路肩施工高程 曲线加宽 "
            "路肩施工宽度 附注"},
  };
  return l;
}

struct Expected {
  const char* table;
  char layout;
  bool detour;
  int columns;  // the count the schema states
};

// The 36 tables in the order of the schema.
const Expected kExpected[] = {
    {"曲线表", 'A', false, 18},          {"断链表", 'B', false, 7},           {"左线曲线表", 'C', false, 12},
    {"左线断链表", 'D', false, 7},       {"右线曲线表", 'C', false, 12},      {"右线断链表", 'D', false, 7},
    {"坡度表", 'E', false, 9},           {"基线轨道结构", 'F', false, 4},     {"标尺", 'G', false, 3},
    {"左线绕行段坡度表", 'E', true, 10}, {"左线轨道结构", 'F', false, 4},     {"左线绕行段标尺", 'G', true, 4},
    {"右线绕行段坡度表", 'E', true, 10}, {"右线轨道结构", 'F', false, 4},     {"右线绕行段标尺", 'G', true, 4},
    {"隧道", 'H', false, 9},             {"小桥涵", 'I', false, 10},          {"车站", 'J', false, 11},
    {"大中桥", 'K', false, 13},          {"水准点表", 'L', false, 10},        {"导线表", 'M', false, 9},
    {"左线绕行段隧道", 'H', true, 10},   {"左线绕行段小桥涵", 'I', true, 11}, {"左线绕行段车站", 'J', true, 12},
    {"左线绕行段大中桥", 'K', true, 14}, {"左线绕行段水准点表", 'L', true, 11}, {"左线绕行段导线表", 'M', true, 10},
    {"右线绕行段隧道", 'H', true, 10},   {"右线绕行段小桥涵", 'I', true, 11}, {"右线绕行段车站", 'J', true, 12},
    {"右线绕行段大中桥", 'K', true, 14}, {"右线绕行段水准点表", 'L', true, 11}, {"右线绕行段导线表", 'M', true, 10},
    {"填挖表", 'N', false, 18},          {"左线绕行段填挖表", 'n', true, 14}, {"右线绕行段填挖表", 'n', true, 14},
};

// "table|column" for every column of every table, in order.
Lines expectedColumns() {
  Lines out;
  for (const Expected& e : kExpected) {
    Lines cols = {"ID"};
    if (e.detour) cols.push_back("绕行段编号");
    std::istringstream words(layouts().at(e.layout));
    for (std::string w; words >> w;) cols.push_back(w);
    EXPECT_EQ(static_cast<int>(cols.size()), e.columns) << e.table;
    for (const std::string& c : cols) out.push_back(std::string(e.table) + "|" + c);
  }
  return out;
}

Lines runSqlite3(const std::string& path, const std::string& sql) {
  return fixtures::OutputLines("sqlite3 -batch -separator '|' '" + path + "' \"" + sql + "\"");
}

struct SchemaTest : ::testing::Test {
  std::string dir = fixtures::MakeTempFolder("schema");
  std::string path = dir + "/方案1.mdb";
  CAdoConnection conn;
  void SetUp() override {
    // A new scheme database is a copy of the empty template.
    std::filesystem::copy_file(fixtures::TemplateDatabasePath(), path);
    ASSERT_TRUE(conn.Open(fixtures::ConnectionString(path).c_str(), -1));
  }
  void TearDown() override {
    conn.Close();
    fixtures::RemoveFolder(dir);
  }
  Lines schemaColumns() {
    Lines out;
    CAdoRecordSet rs(&conn);
    rs.SetRecordset(conn.OpenSchema(adSchemaColumns));
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
      CString table, column;
      rs.GetValueTextByName(table, "TABLE_NAME");
      rs.GetValueTextByName(column, "COLUMN_NAME");
      out.push_back(std::string(table) + "|" + std::string(column));
    }
    return out;
  }
};

TEST_F(SchemaTest, ANewSchemeDatabaseGetsAll36TablesInOnePass) {
  CStringArray names;
  ASSERT_TRUE(ReadSchemeTableNames(conn, names));
  EXPECT_EQ(names.GetSize(), 0);
  std::vector<int> listed;
  EXPECT_EQ(CreateMissingSchemeTables(conn, names, [&](int i, bool created) {
              EXPECT_TRUE(created);
              listed.push_back(i);
            }),
            36);
  ASSERT_EQ(listed.size(), 36u);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(listed[static_cast<size_t>(i)], i);

  const Lines expected = expectedColumns();
  EXPECT_EQ(schemaColumns(), expected);
  conn.Close();
  EXPECT_EQ(runSqlite3(path, "select m.name, p.name from sqlite_master m join pragma_table_info(m.name) p "
                             "where m.type = 'table' order by m.rowid, p.cid"),
            expected);
  EXPECT_EQ(runSqlite3(path, "PRAGMA integrity_check"), Lines{"ok"});

  // Each ID numbers new rows by itself; the other columns take their types.
  ASSERT_TRUE(fixtures::FillTable(path, "小桥涵", {{"DK", "1200.5", "1-4m", "10", "12", "90", "1", "0", nullptr},
                                                      {"DK", "1300", "1-6m", "abc", nullptr, "90", "2", "7", "附注"}}));
  const std::vector<Lines> rows = fixtures::QueryRows(path, "select ID, 中心里程数, 左横向长度, 用途, 附注 from 小桥涵");
  EXPECT_EQ(rows, (std::vector<Lines>{{"1", "1200.5", "10", "1", "NULL"}, {"2", "1300", "NULL", "2", "附注"}}));
}

TEST_F(SchemaTest, ExistingTablesAreLeftAsTheyAre) {
  // A 坡度表 of another module, with other columns, and a table of its own.
  conn.Execute("create table 坡度表 (ID INTEGER IDENTITY,变坡点里程数 DOUBLE PRECISION)");
  conn.Execute("create table 横断面数量表 (序号 INTEGER IDENTITY,填面积 DOUBLE PRECISION)");
  CStringArray names;
  ASSERT_TRUE(ReadSchemeTableNames(conn, names));
  ASSERT_EQ(names.GetSize(), 2);
  EXPECT_EQ(names[0], "坡度表");
  int created = 0;
  EXPECT_EQ(CreateMissingSchemeTables(conn, names, [&](int i, bool made) {
              created += made;
              if (i == 6) {
                EXPECT_FALSE(made);
              }
            }),
            35);
  EXPECT_EQ(created, 35);
  Lines columns = schemaColumns();
  EXPECT_EQ(columns.size(), expectedColumns().size() - 9 + 2 + 2);
  EXPECT_EQ(columns[0], "坡度表|ID");
  EXPECT_EQ(columns[1], "坡度表|变坡点里程数");

  // A second pass finds everything present and runs nothing.
  ASSERT_TRUE(ReadSchemeTableNames(conn, names));
  EXPECT_EQ(names.GetSize(), 37);
  EXPECT_EQ(CreateMissingSchemeTables(conn, names), 0);
}

TEST(SchemeStatementTest, StatementsAreBuiltAsTheSchemaWritesThem) {
  for (int i = 0; i < 36; ++i) {
    const Expected& e = kExpected[i];
    SCOPED_TRACE(e.table);
    std::string sql(SchemeCreateStatement(i));
    bool upper = e.layout == 'I' || e.layout == 'J';  // the culvert and station families
    std::string head = std::string(upper ? "CREATE TABLE " : "create table ") + e.table + " (ID INTEGER identity,";
    if (e.detour) head += "绕行段编号 INTEGER,";
    EXPECT_EQ(sql.substr(0, head.size()), head);
    EXPECT_EQ(sql.back(), ')');
    EXPECT_EQ(sql.find(", ,"), std::string::npos);
  }
  EXPECT_NE(std::string(SchemeCreateStatement(3)).find(",等号左里程冠号 varchar,"), std::string::npos);
  EXPECT_EQ(std::string(SchemeCreateStatement(1)).find("编号 DOUBLE"), std::string::npos);
  EXPECT_EQ(SchemeCreateStatement(36), "");
  EXPECT_EQ(SchemeCreateStatement(-1), "");
}

// ---- The navigator's build of the wrapper ---------------------------------------------

TEST_F(SchemaTest, PutCollectByIndexSkipsEmptyTextsAndReportsWrites) {
  conn.Execute(SchemeCreateStatement(0));  // 曲线表
  CAdoRecordSet none;
  EXPECT_TRUE(none.PutCollectByIndex(1, _variant_t("JD1")));  // no recordset object
  EXPECT_FALSE(none.PutCollectByIndex(1, _variant_t("")));

  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 曲线表 order by ID"), 0);
  ASSERT_TRUE(rs.AddNew());
  struct Case {
    long index;
    _variant_t value;
    BOOL result;
  };
  const Case cases[] = {
      {1, _variant_t("JD1"), TRUE},
      {2, _variant_t("3000.25"), TRUE},
      {3, _variant_t(""), FALSE},     // empty: nothing written
      {4, _variant_t("abc"), FALSE},  // refused by a double column
      {17, _variant_t(""), FALSE},
      {99, _variant_t("x"), FALSE},  // no such field
  };
  for (const Case& c : cases) EXPECT_EQ(rs.PutCollectByIndex(c.index, c.value), c.result) << c.index;
  ASSERT_TRUE(rs.Update());
  rs.Close();
  const std::vector<Lines> rows = fixtures::QueryRows(path, "select 交点号, 坐标N, 坐标E, 偏角, 附注 from 曲线表");
  EXPECT_EQ(rows, (std::vector<Lines>{{"JD1", "3000.25", "NULL", "NULL", "NULL"}}));
}

TEST_F(SchemaTest, ExecuteShowsTheErrorDescription) {
  conn.Execute(SchemeCreateStatement(6));
  platform::TranscriptCapture shown;
  conn.Execute(SchemeCreateStatement(6));  // exists already
  EXPECT_TRUE(shown.contains("Table '坡度表' already exists.")) << shown.text();
}

}  // namespace
