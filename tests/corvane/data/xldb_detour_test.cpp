// The detour tables: reading one detour section's rows, and replacing one
// section's rows of a detour fill/cut table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XLDataBase.h"
#include "corvane/data/xldb_support.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using fixtures::Row;
using xldb_test::SchemeDbTest;

struct XLDataBaseDetourTest : SchemeDbTest {
  XLDataBase xl;
  int Read(const char* table, int detour) { return xl.ReadDetourTables(path.c_str(), table, detour); }
  int Write(const char* table, int detour) { return xl.WriteDetourFillCutTable(path.c_str(), table, detour); }

  // Fill/cut rows in memory, every field a different value.
  void SetFillCutRows() { xldb_test::SetFillCutRows(xl, 7.1, 5, "左线绕行，路肩分离"); }
};

TEST_F(XLDataBaseDetourTest, GradesOfOneDetourSectionOnly) {
  // 绕行段编号, 变坡点里程冠号, 变坡点里程数, 设计高程, 坡度, 坡长, 竖曲线半径
  Fill("左线绕行段坡度表", {{"1", "ZK", "100", "90"},
                            {"2", "ZK", "200", "91.5", "2", "100", "8000"},
                            {"1", "ZK", "150", "92"},
                            {"2", "YK", "300", "93.25", "-1", "100", "0"}});
  ASSERT_EQ(Read("左线绕行段坡度表", 2), 1);
  ASSERT_EQ(xl.gradeCount, 2);
  EXPECT_STREQ(xl.grades[0].prefix, "ZK");
  EXPECT_DOUBLE_EQ(xl.grades[0].chainage, 200.0);
  EXPECT_DOUBLE_EQ(xl.grades[0].elevation, 91.5);
  EXPECT_DOUBLE_EQ(xl.grades[0].verticalRadius, 8000.0);
  EXPECT_STREQ(xl.grades[1].prefix, "YK");
  EXPECT_DOUBLE_EQ(xl.grades[1].chainage, 300.0);
  EXPECT_DOUBLE_EQ(xl.grades[1].elevation, 93.25);
}

TEST_F(XLDataBaseDetourTest, StructuresAreReadOneColumnLaterThanInTheMainTables) {
  // 绕行段编号, 隧道名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 插旗方式, 线数
  Fill("右线绕行段隧道", {{"1", "右线一号隧道", "YK", "2100", "YK", "2350.5", "1", "1"}});
  // 绕行段编号, 桥梁名称, 中心里程冠号, 中心里程数, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数,
  // 孔跨式样, 线数, 桥全长, 100年水位高程
  Fill("右线绕行段大中桥", {{"1", "右线特大桥", "YK", "3000", "YK", "2900", "YK", "3100", "5-32m", "2", "200",
                             "345.678"}});
  ASSERT_EQ(Read("右线绕行段隧道", 1), 1);
  ASSERT_EQ(xl.tunnelCount, 1);
  EXPECT_STREQ(xl.tunnels[0].name, "右线一号隧道");
  EXPECT_STREQ(xl.tunnels[0].startPrefix, "YK");
  EXPECT_DOUBLE_EQ(xl.tunnels[0].startChainage, 2100.0);
  EXPECT_DOUBLE_EQ(xl.tunnels[0].endChainage, 2350.5);
  EXPECT_STREQ(xl.tunnels[0].startText, "YK2+100.000");
  EXPECT_STREQ(xl.tunnels[0].endText, "YK2+350.500");

  ASSERT_EQ(Read("右线绕行段大中桥", 1), 1);
  ASSERT_EQ(xl.bridgeCount, 1);
  const BridgeRow& b = xl.bridges[0];
  EXPECT_STREQ(b.name, "右线特大桥");
  EXPECT_DOUBLE_EQ(b.centreChainage, 3000.0);
  EXPECT_DOUBLE_EQ(b.startChainage, 2900.0);
  EXPECT_DOUBLE_EQ(b.endChainage, 3100.0);
  EXPECT_STREQ(b.span, "5-32m");
  EXPECT_STREQ(b.floodLevel, "345.67");  // from 100年水位高程, not from 线数
  EXPECT_STREQ(b.centreText, "YK3+000");
}

TEST_F(XLDataBaseDetourTest, StationsWithoutStartOrEndChainageArePassedOver) {
  // 绕行段编号, 车站名称, 站房中心里程冠号, 站房中心里程数, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数,
  // 车站类型, 插旗图块名
  Fill("左线绕行段车站", {{"0", "甲站", "ZK", "500", "ZK", "400", "ZK", "600", "1", "2"},
                          {"0", "乙站", "ZK", "900", "ZK", "800", "ZK", nullptr, "0", "1"},
                          {"0", "丙站", "ZK", "1500", "ZK", nullptr, "ZK", "1600", "0", "1"},
                          {"0", "丁站", "ZK", "2500", "ZK", "2400.25", "ZK", "2600", "0", "4"}});
  ASSERT_EQ(Read("左线绕行段车站", 0), 1);
  ASSERT_EQ(xl.stationCount, 2);
  EXPECT_STREQ(xl.stations[0].name, "甲站");
  EXPECT_DOUBLE_EQ(xl.stations[0].stationType, 1.0);
  EXPECT_DOUBLE_EQ(xl.stations[0].flagBlock, 2.0);
  EXPECT_STREQ(xl.stations[1].name, "丁站");
  EXPECT_STREQ(xl.stations[1].startText, "ZK2+400.250");
  EXPECT_DOUBLE_EQ(xl.stations[1].flagBlock, 4.0);
}

TEST_F(XLDataBaseDetourTest, ASectionWithoutRowsSaysSoAndKeepsTheRowsReadBefore) {
  Fill("左线绕行段车站", {{"0", "甲站", "ZK", "500", "ZK", "400", "ZK", "600", "1", "2"}});
  ASSERT_EQ(Read("左线绕行段车站", 0), 1);
  transcript.clear();
  EXPECT_EQ(Read("左线绕行段车站", 1), 0);
  EXPECT_TRUE(transcript.contains("左线绕行段车站没有记录!")) << transcript.text();
  ASSERT_EQ(xl.stationCount, 1);
  EXPECT_STREQ(xl.stations[0].name, "甲站");
}

TEST_F(XLDataBaseDetourTest, FillCutRowsAreReadByName) {
  // 绕行段编号, 加桩里程冠号, 加桩里程数, 地面高程
  Fill("右线绕行段填挖表", {{"4", "YK", "220", "88.5"}, {"5", "YK", "240", "89.5"}});
  ASSERT_EQ(Read("右线绕行段填挖表", 5), 1);
  ASSERT_EQ(xl.fillCutCount, 1);
  EXPECT_STREQ(xl.fillCuts[0].prefix, "YK");
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].chainage, 240.0);
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].groundElevation, 89.5);
}

TEST_F(XLDataBaseDetourTest, WritingOneSectionReplacesOnlyItsRowsColumnByName) {
  // The navigator's detour fill/cut table: 14 columns, without 右曲线加宽, 左线间距, 右线间距,
  // 路肩分离限宽 and 断面信息.
  Fill("右线绕行段填挖表", {{"1", "YK", "100", "90"}, {"2", "YK", "200", "91"}, {"3", "YK", "300", "92"}});
  SetFillCutRows();
  ASSERT_EQ(Write("右线绕行段填挖表", 3), 1);
  EXPECT_EQ(xl.fillCuts, nullptr);
  EXPECT_EQ(xl.fillCutCount, 0);

  EXPECT_EQ(Query("select 绕行段编号, 加桩里程数 from 右线绕行段填挖表 where 绕行段编号<3 order by ID"),
            (Rows{{"1", "100"}, {"2", "200"}}));
  const Rows written = Query(
      "select 绕行段编号, 加桩里程冠号, 加桩里程数, 地面高程, 设计坡度, 路肩设计高程, 竖曲线纵距, 中心抬降值, "
      "中心填挖高度, 路肩施工高程, 曲线加宽, 路肩施工宽度, 附注 from 右线绕行段填挖表 where 绕行段编号=3 order by ID");
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0], (std::vector<std::string>{"3", "DK", "1020", "98.5", "-3.5", "101.25", "0.125", "0.05",
                                                  "2.75", "101.3", "0.2", "7.1", "左线绕行，路肩分离"}));
  EXPECT_EQ(written[1][2], "1040");
  EXPECT_EQ(written[1][11], "NULL");  // 路肩施工宽度 of 0.000001 stays empty
}

TEST_F(XLDataBaseDetourTest, AMissingDetourTableIsCreatedWithTheDetourNumberSecond) {
  Sql("drop table 左线绕行段填挖表");
  SetFillCutRows();
  ASSERT_EQ(Write("左线绕行段填挖表", 0), 1);
  const Rows rows = Query("select * from 左线绕行段填挖表 order by ID");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "0", "DK", "1020", "98.5", "-3.5", "101.25", "0.125", "0.05",
                                               "2.75", "101.3", "0.2", "0.3", "7.1", "4.4", "5.5", "6.6", "5",
                                               "左线绕行，路肩分离"}));
}

TEST_F(XLDataBaseDetourTest, AFailedWriteKeepsTheStoredRowsAndSaysWhy) {
  // A detour fill/cut table without the section column: the section's rows cannot be deleted.
  Sql("drop table 左线绕行段填挖表");
  Sql("create table 左线绕行段填挖表(ID INTEGER IDENTITY,加桩里程冠号 VARCHAR,加桩里程数 DOUBLE PRECISION)");
  Fill("左线绕行段填挖表", {{"ZK", "10"}, {"ZK", "20"}});
  SetFillCutRows();
  EXPECT_EQ(Write("左线绕行段填挖表", 1), 0);
  EXPECT_TRUE(transcript.contains("写左线绕行段填挖表失败")) << transcript.text();
  EXPECT_EQ(Query("select 加桩里程冠号, 加桩里程数 from 左线绕行段填挖表 order by ID"),
            (Rows{{"ZK", "10"}, {"ZK", "20"}}));
  ASSERT_EQ(xl.fillCutCount, 2);  // the rows stay in memory
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].chainage, 1020.0);
}

}  // namespace
