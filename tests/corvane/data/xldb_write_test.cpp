// Writing the alignment, structure and fill/cut tables back from memory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "XLDataBase.h"
#include "corvane/data/xldb_support.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using xldb_test::SchemeDbTest;

struct XLDataBaseWriteTest : SchemeDbTest {
  XLDataBase xl;
  int Write(const char* table) { return xl.WriteTable(path.c_str(), table); }
  int Read(const char* table) { return xl.ReadTable(path.c_str(), table); }

  void SetTunnels() {
    XLDataBase::AllocRows(xl.tunnels, xl.tunnelCount, 2);
    xl.tunnels[0].name = "青山隧道";
    xl.tunnels[0].startPrefix = "DK";
    xl.tunnels[0].startChainage = 1234.5;
    xl.tunnels[0].endPrefix = "CK";
    xl.tunnels[0].endChainage = 2050.25;
    xl.tunnels[0].flagStyle = "1";
    xl.tunnels[1].name = "白水隧道";
    xl.tunnels[1].startPrefix = "CK";
    xl.tunnels[1].startChainage = 3000;
    xl.tunnels[1].endPrefix = "CK";
    xl.tunnels[1].endChainage = 3100;
    xl.tunnels[1].flagStyle = "0";
  }
  void SetFillCuts() {
    xldb_test::SetFillCutRows(xl, 0.1, 3, "换边路基,三线并行");
    xl.fillCuts[1].groundElevation = 99.75;
  }
};

TEST_F(XLDataBaseWriteTest, FillCutRowsGoToTheirColumnsAndReadBack) {
  Fill("填挖表", {{"AK", "1", "2"}});  // replaced
  SetFillCuts();
  ASSERT_EQ(Write("填挖表"), 1);
  EXPECT_EQ(xl.fillCuts, nullptr);
  EXPECT_EQ(xl.fillCutCount, 0);
  const Rows rows = Query("select * from 填挖表 order by ID");
  ASSERT_EQ(rows.size(), 2u);
  // ID aside: 加桩里程冠号 .. 附注 in the table's order.
  EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 1, rows[0].end()),
            (std::vector<std::string>{"DK", "1020", "98.5", "-3.5", "101.25", "0.125", "0.05", "2.75", "101.3", "0.2",
                                      "0.3", "0.1", "4.4", "5.5", "6.6", "3", "换边路基,三线并行"}));
  EXPECT_EQ(rows[1][12], "NULL");  // 路肩施工宽度 0.000001 is left empty

  ASSERT_EQ(Read("填挖表"), 1);
  ASSERT_EQ(xl.fillCutCount, 2);
  EXPECT_STREQ(xl.fillCuts[1].prefix, "DK");
  EXPECT_DOUBLE_EQ(xl.fillCuts[1].chainage, 1040.0);
  EXPECT_DOUBLE_EQ(xl.fillCuts[1].groundElevation, 99.75);
}

TEST_F(XLDataBaseWriteTest, CurvesAndBreaksReadBackAsWritten) {
  XLDataBase::AllocRows(xl.curves, xl.curveWriteCount, 2);
  xl.curves[0] = CurveRow{0, 3000, 500, 0, 0, 1000, 0, 0, 0, 0, 120, "DK", "DK", 1000, 1000, 0};
  xl.curves[1] = CurveRow{1, 3001.5, 502.25, 12.3015, 800, 60, 70, 120.1, 121.2, 230.3, 45.4, "DK", "CK",
                          1000.5, 1230.8, 1.5};
  xl.breakCount = 3;
  xl.breaks[0] = ChainBreakRow{0, 0, "DK", "DK"};
  xl.breaks[1] = ChainBreakRow{1000, 20, "DK", "DK"};
  xl.breaks[2] = ChainBreakRow{5000, -9.5, "DK", "AK"};
  ASSERT_EQ(Write("曲线表"), 1);
  ASSERT_EQ(Write("断链表"), 1);
  EXPECT_EQ(xl.curves, nullptr);
  EXPECT_EQ(xl.breakCount, 3);  // the inline break rows stay

  // 等号右里程数 = before + length, the relation the mileage conversions read.
  EXPECT_EQ(Query("select 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数, 断链长度 from 断链表 order by ID"),
            (Rows{{"DK", "0", "DK", "0", "0"}, {"DK", "1000", "DK", "1020", "20"}, {"DK", "5000", "AK", "4990.5", "-9.5"}}));

  XLDataBase back;
  ASSERT_EQ(back.ReadTable(path.c_str(), "曲线表"), 1);
  ASSERT_EQ(back.curveCount, 2);
  const CurveRow& c = back.curves[1];
  EXPECT_EQ(c.number, 1);
  xldb_test::ExpectSampleCurve(c);
  ASSERT_EQ(back.ReadTable(path.c_str(), "断链表"), 1);
  ASSERT_EQ(back.breakCount, 3);
  EXPECT_STREQ(back.breaks[2].prefixAfter, "AK");
  EXPECT_DOUBLE_EQ(back.breaks[2].before, 5000.0);
  EXPECT_DOUBLE_EQ(back.breaks[2].length, -9.5);
}

TEST_F(XLDataBaseWriteTest, GradesAndGroundProfileReadBackAndAreGoneFromMemory) {
  XLDataBase::AllocRows(xl.grades, xl.gradeCount, 2);
  xl.grades[0] = GradeRow{"DK", 0, 100.5, 3, 0, 0, 0};
  xl.grades[1] = GradeRow{"DK", 1200, 103.1, 10000, 50, 2.5, 1200};
  XLDataBase::AllocRows(xl.groundProfiles, xl.groundProfileCount, 1);
  xl.groundProfiles[0] = GroundProfileRow{"DK", 1100, 97.25};
  ASSERT_EQ(Write("坡度表"), 1);
  ASSERT_EQ(Write("地面线表"), 1);  // not one of the navigator's tables: created here
  EXPECT_EQ(xl.grades, nullptr);
  EXPECT_EQ(xl.gradeCount, 0);  // nothing left to index
  EXPECT_EQ(xl.groundProfileCount, 0);

  EXPECT_EQ(Query("select 变坡点里程冠号, 变坡点里程数, 设计高程, 坡度, 坡长, 竖曲线半径, 竖曲线长度, 附注 from 坡度表 "
                  "order by ID"),
            (Rows{{"DK", "0", "100.5", "0", "0", "3", "0", "NULL"},
                  {"DK", "1200", "103.1", "2.5", "1200", "10000", "50", "NULL"}}));
  EXPECT_EQ(Query("select 中桩里程冠号, 中桩里程数, 地面高程, 附注 from 地面线表"), (Rows{{"DK", "1100", "97.25", "NULL"}}));
  ASSERT_EQ(Read("地面线表"), 1);
  ASSERT_EQ(xl.groundProfileCount, 1);
  EXPECT_DOUBLE_EQ(xl.groundProfiles[0].elevation, 97.25);
}

TEST_F(XLDataBaseWriteTest, StructuresReadBackAsWritten) {
  SetTunnels();
  XLDataBase::AllocRows(xl.bridges, xl.bridgeCount, 1);
  BridgeRow& b = xl.bridges[0];
  b.name = "大河特大桥";
  b.centrePrefix = "DK";
  b.centreChainage = 1500;
  b.startPrefix = "DK";
  b.startChainage = 1400;
  b.endPrefix = "CK";
  b.endChainage = 1600.5;
  b.span = "3-32m";
  b.floodLevel = "123.45";
  b.totalLength = 200.5;
  XLDataBase::AllocRows(xl.stations, xl.stationCount, 2);
  xl.stations[1].name = "乙站";
  xl.stations[1].startChainage = 5000;
  xl.stations[1].flagBlockName = "区段站02";
  StationRow& s = xl.stations[0];
  s.name = "甲站";
  s.centrePrefix = "DK";
  s.centreChainage = 3000;
  s.startPrefix = "DK";
  s.startChainage = 2800;
  s.endPrefix = "DK";
  s.endChainage = 3200;
  s.stationType = 1;
  s.flagBlock = 2;
  ASSERT_EQ(Write("隧道"), 1);
  ASSERT_EQ(Write("大中桥"), 1);
  ASSERT_EQ(Write("车站"), 1);
  EXPECT_EQ(xl.tunnels, nullptr);
  EXPECT_EQ(xl.bridges, nullptr);
  EXPECT_EQ(xl.stations, nullptr);

  EXPECT_EQ(Query("select 隧道名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 插旗方式 from 隧道 order by ID"),
            (Rows{{"青山隧道", "DK", "1234.5", "CK", "2050.25", "1"}, {"白水隧道", "CK", "3000", "CK", "3100", "0"}}));
  // Every bridge is written with 线数 1.
  EXPECT_EQ(Query("select 桥梁名称, 中心里程冠号, 中心里程数, 起点里程数, 终点里程冠号, 终点里程数, 孔跨式样, 线数, 桥全长, "
                  "100年水位高程 from 大中桥"),
            (Rows{{"大河特大桥", "DK", "1500", "1400", "CK", "1600.5", "3-32m", "1", "200.5", "123.45"}}));
  // A flag block's name is written as it is; a flag block given as a number as that number.
  EXPECT_EQ(Query("select 车站名称, 站房中心里程数, 起点里程数, 终点里程数, 车站类型, 插旗图块名 from 车站 order by ID"),
            (Rows{{"甲站", "3000", "2800", "3200", "1", "2"}, {"乙站", "0", "5000", "0", "0", "区段站02"}}));

  ASSERT_EQ(Read("隧道"), 1);
  ASSERT_EQ(xl.tunnelCount, 2);
  EXPECT_STREQ(xl.tunnels[0].startText, "DK1+234.500");
  EXPECT_STREQ(xl.tunnels[0].endText, "CK2+050.250");
  EXPECT_STREQ(xl.tunnels[0].flagStyle, "1");
  ASSERT_EQ(Read("大中桥"), 1);
  ASSERT_EQ(xl.bridgeCount, 1);
  EXPECT_STREQ(xl.bridges[0].floodLevel, "123.45");
  EXPECT_DOUBLE_EQ(xl.bridges[0].totalLength, 200.5);
  EXPECT_STREQ(xl.bridges[0].endText, "CK1+600.500");
  ASSERT_EQ(Read("车站"), 1);
  ASSERT_EQ(xl.stationCount, 2);
  EXPECT_DOUBLE_EQ(xl.stations[0].stationType, 1.0);
  EXPECT_DOUBLE_EQ(xl.stations[0].flagBlock, 2.0);
  EXPECT_STREQ(xl.stations[1].flagBlockName, "区段站02");
}

TEST_F(XLDataBaseWriteTest, IntersectionsCreateTheirTableAndWriteRoundedTexts) {
  xl.curveCount = 2;
  xl.intersections[0] = IntersectionRow{0, 3000.12345, 500.5, 1000, 0, 0};
  xl.intersections[1] = IntersectionRow{1, 3500, 800.0004, 60.4, 1200.6, 70.6};
  ASSERT_EQ(Write("交点表"), 1);
  EXPECT_EQ(Query("select 交点号, 坐标N, 坐标E, 前缓和曲线长, 半径, 后缓和曲线长 from 交点表 order by ID"),
            (Rows{{"0", "3000.123", "500.500", "1000", "0", "0"}, {"1", "3500.000", "800.000", "60", "1201", "71"}}));
  EXPECT_EQ(xl.curveCount, 2);  // the inline rows stay
}

TEST_F(XLDataBaseWriteTest, WritingAgainLeavesExactlyTheNewRowsAndZeroRowsEmptyTheTable) {
  SetTunnels();
  ASSERT_EQ(Write("隧道"), 1);
  XLDataBase::AllocRows(xl.tunnels, xl.tunnelCount, 1);
  xl.tunnels[0].name = "新隧道";
  ASSERT_EQ(Write("隧道"), 1);
  EXPECT_EQ(Query("select 隧道名称 from 隧道"), (Rows{{"新隧道"}}));
  ASSERT_EQ(Write("隧道"), 1);  // no rows in memory now
  EXPECT_EQ(Query("select 隧道名称 from 隧道"), Rows{});
}

TEST_F(XLDataBaseWriteTest, AnUnknownTableNameWritesNothing) {
  Fill("标尺", {{"DK1+000", "100"}});
  EXPECT_EQ(Write("标尺"), 1);
  EXPECT_EQ(Write("交点"), 1);
  EXPECT_EQ(Query("select 里程, 高程 from 标尺"), (Rows{{"DK1+000", "100"}}));
  std::string error;
  fixtures::QueryRows(path, "select * from 交点", &error);
  EXPECT_NE(error, "");  // not created
}

TEST_F(XLDataBaseWriteTest, ATableMissingFromTheNextDatabaseIsCreatedThere) {
  // The table names listed for one database must not stand for the next one.
  xl.curveCount = 1;
  xl.intersections[0] = IntersectionRow{0, 1, 2, 3, 4, 5};
  ASSERT_EQ(Write("交点表"), 1);  // created
  ASSERT_EQ(Write("交点表"), 1);  // listed this time
  ASSERT_TRUE(xl.HasTableName("交点表"));
  const std::string other = MakeDatabase("方案2");
  ASSERT_EQ(xl.WriteTable(other.c_str(), "交点表"), 1);
  EXPECT_EQ(Query("select 坐标N, 坐标E from 交点表", other), (Rows{{"1.000", "2.000"}}));
  EXPECT_FALSE(xl.HasTableName("交点表"));  // the list is that of the database written last
}

// ---- Failures keep what was stored ---------------------------------------------------

TEST_F(XLDataBaseWriteTest, AFailureHalfwayKeepsTheOldRowsAndTheRowsInMemory) {
  // A 填挖表 made elsewhere that requires 路肩施工宽度: the second row has none.
  Sql("drop table 填挖表");
  Sql("create table 填挖表(ID INTEGER IDENTITY,加桩里程冠号 VARCHAR,加桩里程数 DOUBLE PRECISION,地面高程 DOUBLE PRECISION,"
      "设计坡度 DOUBLE PRECISION,路肩设计高程 DOUBLE PRECISION,竖曲线纵距 DOUBLE PRECISION,中心抬降值 DOUBLE PRECISION,"
      "中心填挖高度 DOUBLE PRECISION,路肩施工高程 DOUBLE PRECISION,曲线加宽 DOUBLE PRECISION,右曲线加宽 DOUBLE PRECISION,"
      "路肩施工宽度 DOUBLE PRECISION NOT NULL,左线间距 DOUBLE PRECISION,右线间距 DOUBLE PRECISION,"
      "路肩分离限宽 DOUBLE PRECISION,断面信息 VARCHAR,附注 VARCHAR)");
  Fill("填挖表", {{"AK", "10", "90", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "1"},
                  {"AK", "20", "91", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "1"}});
  SetFillCuts();
  EXPECT_EQ(Write("填挖表"), 0);
  EXPECT_TRUE(transcript.contains("写填挖表失败")) << transcript.text();
  EXPECT_TRUE(transcript.contains("表中原有的记录保留不变")) << transcript.text();
  EXPECT_EQ(Query("select 加桩里程冠号, 加桩里程数 from 填挖表 order by ID"), (Rows{{"AK", "10"}, {"AK", "20"}}));
  ASSERT_EQ(xl.fillCutCount, 2);
  EXPECT_DOUBLE_EQ(xl.fillCuts[1].chainage, 1040.0);
}

TEST_F(XLDataBaseWriteTest, AReadOnlyDatabaseIsReportedAndKeepsItsRows) {
  Fill("隧道", {{"旧隧道", "DK", "1", "DK", "2"}});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  SetTunnels();
  EXPECT_EQ(Write("隧道"), 0);
  EXPECT_TRUE(transcript.contains("写隧道失败")) << transcript.text();
  EXPECT_EQ(Query("select 隧道名称 from 隧道"), (Rows{{"旧隧道"}}));
  EXPECT_EQ(xl.tunnelCount, 2);
  // A table that is missing cannot be created either.
  EXPECT_EQ(Write("交点表"), 0);
  ::chmod(path.c_str(), 0644);
}

TEST_F(XLDataBaseWriteTest, ACountWithoutRowsEmptiesNothing) {
  Fill("隧道", {{"旧隧道", "DK", "1", "DK", "2"}});
  xl.tunnelCount = 2;  // but no rows
  EXPECT_EQ(Write("隧道"), 0);
  EXPECT_TRUE(transcript.contains("写隧道失败")) << transcript.text();
  EXPECT_EQ(Query("select 隧道名称 from 隧道"), (Rows{{"旧隧道"}}));
}

TEST_F(XLDataBaseWriteTest, AMissingDatabaseFileIsReported) {
  SetTunnels();
  EXPECT_EQ(xl.WriteTable((dir + "/不存在.mdb").c_str(), "隧道"), 0);
  EXPECT_TRUE(transcript.contains("连接数据库失败!")) << transcript.text();
  EXPECT_EQ(xl.tunnelCount, 2);
}

}  // namespace
