// Reading the scheme's tables into the table store's row tables.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "XLDataBase.h"
#include "corvane/data/xldb_support.h"

namespace {

using fixtures::Row;
using xldb_test::SchemeDbTest;

struct XLDataBaseReadTest : SchemeDbTest {
  XLDataBase xl;
  int Read(const char* table) { return xl.ReadTable(path.c_str(), table); }
};

TEST_F(XLDataBaseReadTest, TunnelsTakeNamesChainagesFlagStyleAndTexts) {
  // 隧道名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 插旗方式, 线数
  Fill("隧道", {{"青山隧道", "DK", "1234.5", "DK", "2050", "1", "2"},
                {"白水隧道", "K", "12003.25", "AK", "12010", "0", nullptr},
                {"无冠号隧道", nullptr, "1234.5", "", "1300", nullptr, nullptr}});
  ASSERT_EQ(Read("隧道"), 1);
  ASSERT_EQ(xl.tunnelCount, 3);
  const TunnelRow& a = xl.tunnels[0];
  EXPECT_STREQ(a.name, "青山隧道");
  EXPECT_STREQ(a.startPrefix, "DK");
  EXPECT_DOUBLE_EQ(a.startChainage, 1234.5);
  EXPECT_STREQ(a.endPrefix, "DK");
  EXPECT_DOUBLE_EQ(a.endChainage, 2050.0);
  EXPECT_STREQ(a.flagStyle, "1");
  EXPECT_STREQ(a.startText, "DK1+234.500");
  EXPECT_STREQ(a.endText, "DK2+050.000");
  EXPECT_STREQ(xl.tunnels[1].startText, "K12+003.250");
  EXPECT_STREQ(xl.tunnels[1].endText, "AK12+010.000");
  // A null prefix is no prefix, not the text "NULL".
  EXPECT_STREQ(xl.tunnels[2].startPrefix, "");
  EXPECT_STREQ(xl.tunnels[2].startText, "1+234.500");
  EXPECT_STREQ(xl.tunnels[2].flagStyle, "");
}

TEST_F(XLDataBaseReadTest, BridgesTakeCentreStartEndSpanLengthAndFloodLevel) {
  // 桥梁名称, 中心里程冠号, 中心里程数, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数,
  // 孔跨式样, 线数, 桥全长, 100年水位高程
  Fill("大中桥", {{"大河特大桥", "DK", "1500", "DK", "1400", "CK", "1600.5", "3-32m", "2", "200.5", "123.4567"}});
  ASSERT_EQ(Read("大中桥"), 1);
  ASSERT_EQ(xl.bridgeCount, 1);
  const BridgeRow& b = xl.bridges[0];
  EXPECT_STREQ(b.name, "大河特大桥");
  EXPECT_STREQ(b.centrePrefix, "DK");
  EXPECT_DOUBLE_EQ(b.centreChainage, 1500.0);
  EXPECT_STREQ(b.startPrefix, "DK");
  EXPECT_DOUBLE_EQ(b.startChainage, 1400.0);
  EXPECT_STREQ(b.endPrefix, "CK");
  EXPECT_DOUBLE_EQ(b.endChainage, 1600.5);
  EXPECT_STREQ(b.span, "3-32m");
  EXPECT_DOUBLE_EQ(b.totalLength, 200.5);
  EXPECT_STREQ(b.floodLevel, "123.45");  // cut after two decimals, not rounded
  EXPECT_STREQ(b.centreText, "DK1+500.000");
  EXPECT_STREQ(b.startText, "DK1+400.000");
  EXPECT_STREQ(b.endText, "CK1+600.500");
}

struct FloodCase {
  const char* stored;  // 100年水位高程 as text (nullptr: NULL)
  const char* read;
};

class FloodLevelTest : public XLDataBaseReadTest, public ::testing::WithParamInterface<FloodCase> {};

TEST_P(FloodLevelTest, KeepsTwoDecimalsAfterAPointThatIsNotFirst) {
  // The cross-section module's own 大中桥 keeps the flood level as text.
  Sql("drop table 大中桥");
  Sql("create table 大中桥(ID INTEGER IDENTITY,桥梁名称 VARCHAR,中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,"
      "起点里程冠号 VARCHAR,起点里程数 DOUBLE PRECISION,终点里程冠号 VARCHAR,终点里程数 DOUBLE PRECISION,"
      "孔跨式样 VARCHAR,线数 VARCHAR,桥全长 DOUBLE PRECISION,100年水位高程 VARCHAR,附注 VARCHAR)");
  Fill("大中桥", {{"桥", "DK", "10", "DK", "5", "DK", "15", "1-10m", "1", "10", GetParam().stored}});
  ASSERT_EQ(Read("大中桥"), 1);
  ASSERT_EQ(xl.bridgeCount, 1);
  EXPECT_STREQ(xl.bridges[0].floodLevel, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(Texts, FloodLevelTest,
                         ::testing::Values(FloodCase{"123.4567", "123.45"}, FloodCase{"7.5", "7.5"},
                                           FloodCase{"45.678", "45.67"}, FloodCase{"88", "88"},
                                           FloodCase{".125", ".125"}, FloodCase{nullptr, ""}));

TEST_F(XLDataBaseReadTest, StationsWithoutStartChainageArePassedOver) {
  // 车站名称, 站房中心里程冠号, 站房中心里程数, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数,
  // 车站类型, 插旗图块名
  Fill("车站", {{"甲站", "DK", "3000", "DK", "2800", "DK", "3200", "1", "中间站01"},
                {"乙站", "DK", "5000", "DK", nullptr, "DK", "5200", "0", "2"},
                {"丙站", "AK", "8000", "AK", "7900.125", "AK", "8100", "0", "3"}});
  ASSERT_EQ(Read("车站"), 1);
  ASSERT_EQ(xl.stationCount, 2);
  const StationRow& a = xl.stations[0];
  EXPECT_STREQ(a.name, "甲站");
  EXPECT_STREQ(a.centrePrefix, "DK");
  EXPECT_DOUBLE_EQ(a.centreChainage, 3000.0);
  EXPECT_DOUBLE_EQ(a.startChainage, 2800.0);
  EXPECT_DOUBLE_EQ(a.endChainage, 3200.0);
  EXPECT_DOUBLE_EQ(a.stationType, 1.0);
  EXPECT_DOUBLE_EQ(a.flagBlock, 0.0);  // a block name is no number
  EXPECT_STREQ(a.flagBlockName, "中间站01");
  EXPECT_STREQ(a.centreText, "DK3+000");
  EXPECT_STREQ(a.startText, "DK2+800.000");
  const StationRow& c = xl.stations[1];
  EXPECT_STREQ(c.name, "丙站");
  EXPECT_DOUBLE_EQ(c.flagBlock, 3.0);
  EXPECT_STREQ(c.startText, "AK7+900.125");
  EXPECT_STREQ(c.endText, "AK8+100.000");
}

TEST_F(XLDataBaseReadTest, BreaksTakeBeforeLengthAndPrefixesByName) {
  // 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数, 断链长度; 等号右里程数 is not read.
  Fill("断链表", {{"DK", "0", "DK", "0", "0"},
                  {"DK", "1000", "DK", "9999", "20"},
                  {"DK", "5000", "AK", "4990.5", "-9.5"}});
  ASSERT_EQ(Read("断链表"), 1);
  ASSERT_EQ(xl.breakCount, 3);
  EXPECT_DOUBLE_EQ(xl.breaks[1].before, 1000.0);
  EXPECT_DOUBLE_EQ(xl.breaks[1].length, 20.0);
  EXPECT_STREQ(xl.breaks[2].prefixBefore, "DK");
  EXPECT_STREQ(xl.breaks[2].prefixAfter, "AK");
  EXPECT_DOUBLE_EQ(xl.breaks[2].before, 5000.0);
  EXPECT_DOUBLE_EQ(xl.breaks[2].length, -9.5);
}

TEST_F(XLDataBaseReadTest, BreakPrefixesAreBoundedToSevenGbkBytes) {
  Fill("断链表", {{"ABCDEFGHIJ", "0", "一二三四五", "0", "0"}, {"一二三A", "100", "DK", "100", "0"}});
  ASSERT_EQ(Read("断链表"), 1);
  ASSERT_EQ(xl.breakCount, 2);
  EXPECT_STREQ(xl.breaks[0].prefixBefore, "ABCDEFG");
  EXPECT_STREQ(xl.breaks[0].prefixAfter, "一二三");  // 6 GBK bytes: a fourth character would make 8
  EXPECT_STREQ(xl.breaks[1].prefixBefore, "一二三A");  // exactly 7
}

TEST_F(XLDataBaseReadTest, MoreThanFiftyBreaksKeepTheFirstFiftyAndSaySo) {
  std::vector<std::string> values;
  for (int i = 0; i < 53; ++i) values.push_back(std::to_string(i * 100));
  std::vector<Row> rows;
  for (const std::string& v : values) rows.push_back({"DK", v.c_str(), "DK", v.c_str(), "0"});
  Fill("断链表", rows);
  ASSERT_EQ(Read("断链表"), 1);
  EXPECT_EQ(xl.breakCount, 50);
  EXPECT_DOUBLE_EQ(xl.breaks[0].before, 0.0);
  EXPECT_DOUBLE_EQ(xl.breaks[49].before, 4900.0);
  EXPECT_TRUE(transcript.contains("断链表的记录超过50条")) << transcript.text();
}

TEST_F(XLDataBaseReadTest, CurvesTakeEveryColumnAndCountIntoTheCurveCount) {
  // 交点号, 坐标N, 坐标E, 偏角, 曲线半径, 前缓和曲线, 后缓和曲线, 前切线长, 后切线长, 曲线长, 夹直线长,
  // 起点里程冠号, 起点里程, 终点里程冠号, 终点里程, 内业断链
  Fill("曲线表", {{"0", "3000", "500", "0", "0", "1000", "0", "0", "0", "0", "0", "DK", "1000", "DK", "1000", "0"},
                  {"3", "3001.5", "502.25", "12.3015", "800", "60", "70", "120.1", "121.2", "230.3", "45.4", "DK",
                   "1000.5", "CK", "1230.8", "1.5"},
                  {"JD4", "3100", "600", "0", "0", "0", "0", "0", "0", "0", "0", "CK", "1300", "CK", "1300", "0"}});
  ASSERT_EQ(Read("曲线表"), 1);
  ASSERT_EQ(xl.curveCount, 3);
  EXPECT_EQ(xl.curveWriteCount, 0);  // set by the user only
  const CurveRow& c = xl.curves[1];
  EXPECT_EQ(c.number, 3);
  xldb_test::ExpectSampleCurve(c);
  EXPECT_EQ(xl.curves[2].number, 0);  // "JD4" is no number
}

TEST_F(XLDataBaseReadTest, SideCurvesRoundTheirNumbersAndShareOneTable) {
  // 交点属性, 二线交点号, 一线交点号, 线间距, 坐标N, 坐标E, 曲线半径, 前缓和曲线, 后缓和曲线, 内业断链
  Fill("左线曲线表", {{"1", "2.9999", "2.998", "5.3", "100", "200", "1200", "80", "90", "0"},
                      {"0", "3", "4", "5", "101", "201", "0", "0", "0", "0"}});
  Fill("右线曲线表", {{"2", "7", "8", "-4.6", "300", "400", "2000", "100", "110", "0"}});
  ASSERT_EQ(Read("左线曲线表"), 1);
  ASSERT_EQ(xl.sideCurveCount, 2);
  const SideCurveRow& s = xl.sideCurves[0];
  EXPECT_EQ(s.kind, 1);
  EXPECT_EQ(s.secondLineIp, 3);  // 2.9999 + 0.001 truncated
  EXPECT_EQ(s.baselineIp, 2);    // 2.998 + 0.001 truncated
  EXPECT_DOUBLE_EQ(s.spacing, 5.3);
  EXPECT_DOUBLE_EQ(s.x, 100.0);
  EXPECT_DOUBLE_EQ(s.y, 200.0);
  EXPECT_DOUBLE_EQ(s.R, 1200.0);
  EXPECT_DOUBLE_EQ(s.L1, 80.0);
  EXPECT_DOUBLE_EQ(s.L2, 90.0);

  ASSERT_EQ(Read("右线曲线表"), 1);
  ASSERT_EQ(xl.sideCurveCount, 1);
  EXPECT_EQ(xl.sideCurves[0].kind, 2);
  EXPECT_DOUBLE_EQ(xl.sideCurves[0].spacing, -4.6);
}

TEST_F(XLDataBaseReadTest, SideCurveNumbersOutsideTheIntRangeAreHeldAtItsEnds) {
  // A damaged row: 交点属性 far above, 二线交点号 far below the int range, 一线交点号 empty
  // (a text that is no number refuses the table: table_numbers_test.cpp).
  Fill("左线曲线表", {{"1e20", "-1e20", nullptr, "5", "100", "200", "1200", "80", "90", "0"}});
  ASSERT_EQ(Read("左线曲线表"), 1);
  ASSERT_EQ(xl.sideCurveCount, 1);
  EXPECT_EQ(xl.sideCurves[0].kind, 2147483647);
  EXPECT_EQ(xl.sideCurves[0].secondLineIp, -2147483647 - 1);
  EXPECT_EQ(xl.sideCurves[0].baselineIp, 0);
  EXPECT_DOUBLE_EQ(xl.sideCurves[0].R, 1200.0);
}

TEST_F(XLDataBaseReadTest, SideBreaksTakeTheirColumnsByPosition) {
  // 编号, 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数, 附注
  Fill("左线断链表", {{"0.9995", "DK", "1000", "ZK", "1000.5", "起点"}, {"2.998", "DK", "3000", "ZK", "2990", nullptr}});
  ASSERT_EQ(Read("左线断链表"), 1);
  ASSERT_EQ(xl.sideBreakCount, 2);
  const SideBreakRow& b = xl.sideBreaks[0];
  EXPECT_EQ(b.number, 1);
  EXPECT_STREQ(b.prefixBefore, "DK");
  EXPECT_DOUBLE_EQ(b.before, 1000.0);
  EXPECT_STREQ(b.prefixAfter, "ZK");
  EXPECT_DOUBLE_EQ(b.after, 1000.5);
  EXPECT_STREQ(b.remark, "起点");
  EXPECT_EQ(xl.sideBreaks[1].number, 2);
  EXPECT_STREQ(xl.sideBreaks[1].remark, "");
}

TEST_F(XLDataBaseReadTest, GradesGroundProfileAndFillCutTakeTheirColumnsByName) {
  // 变坡点里程冠号, 变坡点里程数, 设计高程, 坡度, 坡长, 竖曲线半径, 竖曲线长度
  Fill("坡度表", {{"DK", "0", "100.5", nullptr, nullptr, "3", "0"}, {"DK", "1200", "103.1", "2.5", "1200", "10000", "50"}});
  Sql(xldb_test::kGroundProfileSql);
  Fill("地面线表", {{"DK", "1100", "97.25"}});
  // 加桩里程冠号, 加桩里程数, 地面高程, 设计坡度
  Fill("填挖表", {{"DK", "1020", "98.75", "3"}});

  ASSERT_EQ(Read("坡度表"), 1);
  ASSERT_EQ(xl.gradeCount, 2);
  const GradeRow& g = xl.grades[1];
  EXPECT_STREQ(g.prefix, "DK");
  EXPECT_DOUBLE_EQ(g.chainage, 1200.0);
  EXPECT_DOUBLE_EQ(g.elevation, 103.1);
  EXPECT_DOUBLE_EQ(g.grade, 2.5);
  EXPECT_DOUBLE_EQ(g.gradeLength, 1200.0);
  EXPECT_DOUBLE_EQ(g.verticalRadius, 10000.0);
  EXPECT_DOUBLE_EQ(g.verticalLength, 50.0);

  ASSERT_EQ(Read("地面线表"), 1);
  ASSERT_EQ(xl.groundProfileCount, 1);
  EXPECT_STREQ(xl.groundProfiles[0].prefix, "DK");
  EXPECT_DOUBLE_EQ(xl.groundProfiles[0].chainage, 1100.0);
  EXPECT_DOUBLE_EQ(xl.groundProfiles[0].elevation, 97.25);

  ASSERT_EQ(Read("填挖表"), 1);
  ASSERT_EQ(xl.fillCutCount, 1);
  EXPECT_STREQ(xl.fillCuts[0].prefix, "DK");
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].chainage, 1020.0);
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].groundElevation, 98.75);
  EXPECT_DOUBLE_EQ(xl.fillCuts[0].designGrade, 0.0);  // the design fields are the computation's
}

TEST_F(XLDataBaseReadTest, QuantitiesPutTheRockClassesInRecordOrder) {
  Sql(xldb_test::kQuantityTableSql);
  // 中桩里程冠号 .. 右用地宽: the table's column order (IV before V and VI).
  Fill("横断面数量表", {{"DK", "1050", "2", "1.1", "2.2", "3.3", "4.4", "5.5", "6.6", "7.7", "8.8", "9.9", "10.1",
                         "11.1", "12.2", "13.3"}});
  ASSERT_EQ(Read("横断面数量表"), 1);
  ASSERT_EQ(xl.quantityCount, 1);
  const QuantityRow& q = xl.quantities[0];
  EXPECT_STREQ(q.prefix, "DK");
  EXPECT_DOUBLE_EQ(q.chainage, 1050.0);
  EXPECT_EQ(q.sectionKind, 2);
  EXPECT_DOUBLE_EQ(q.fillArea, 1.1);
  EXPECT_DOUBLE_EQ(q.improvedArea, 2.2);
  EXPECT_DOUBLE_EQ(q.drainArea, 3.3);
  EXPECT_DOUBLE_EQ(q.stripArea, 4.4);
  EXPECT_DOUBLE_EQ(q.cutArea, 5.5);
  EXPECT_DOUBLE_EQ(q.cutI, 6.6);
  EXPECT_DOUBLE_EQ(q.cutII, 7.7);
  EXPECT_DOUBLE_EQ(q.cutIII, 8.8);
  EXPECT_DOUBLE_EQ(q.cutIV, 9.9);
  EXPECT_DOUBLE_EQ(q.cutV, 10.1);
  EXPECT_DOUBLE_EQ(q.cutVI, 11.1);
  EXPECT_DOUBLE_EQ(q.leftLandWidth, 12.2);
  EXPECT_DOUBLE_EQ(q.rightLandWidth, 13.3);
}

TEST_F(XLDataBaseReadTest, TechStandardsKeepTheLastRowAndWideningsEveryRow) {
  Sql(xldb_test::kTechStandardsSql);
  Fill("主要技术标准", {{"I级", "单线", "重型", "电力", "120", "4", "800", "1200", "6", "5", "650", "800", "600"},
                        {"II级", "双线", "次重型", "内燃", "160", "4.2", "1000", "1600", "9", "7", "850", "1200", "1000"}});
  Sql(xldb_test::kWideningSql);
  Fill("曲线加宽", {{"0", "600", "0.4"}, {"600", "1000", "0.3"}});

  ASSERT_EQ(Read("主要技术标准"), 1);
  EXPECT_STREQ(xl.railwayClass, "II级");
  EXPECT_STREQ(xl.mainTrackCount, "双线");
  EXPECT_STREQ(xl.trackType, "次重型");
  EXPECT_STREQ(xl.tractionType, "内燃");
  EXPECT_DOUBLE_EQ(xl.targetSpeed, 160.0);
  EXPECT_DOUBLE_EQ(xl.standardSpacing, 4.2);
  EXPECT_DOUBLE_EQ(xl.recommendedRadiusMin, 1000.0);
  EXPECT_DOUBLE_EQ(xl.recommendedRadiusMax, 1600.0);
  EXPECT_DOUBLE_EQ(xl.rulingGrade, 9.0);
  EXPECT_DOUBLE_EQ(xl.downRulingGrade, 7.0);
  EXPECT_DOUBLE_EQ(xl.usefulLength, 850.0);
  EXPECT_DOUBLE_EQ(xl.generalMinRadius, 1200.0);
  EXPECT_DOUBLE_EQ(xl.hardMinRadius, 1000.0);

  ASSERT_EQ(Read("曲线加宽"), 1);
  ASSERT_EQ(xl.wideningCount, 2);
  EXPECT_DOUBLE_EQ(xl.widenings[1].r1, 600.0);
  EXPECT_DOUBLE_EQ(xl.widenings[1].r2, 1000.0);
  EXPECT_DOUBLE_EQ(xl.widenings[1].jk, 0.3);
}

TEST_F(XLDataBaseReadTest, TrackStructureHeightIsReadUnderEitherName) {
  // The navigator's tables name the height 结构高度.
  Fill("基线轨道结构", {{"DK1+500", "有砟", "766"}, {"DK9+000", "无砟", "512"}});
  ASSERT_EQ(Read("基线轨道结构"), 1);
  ASSERT_EQ(xl.trackStructureCount, 2);
  EXPECT_STREQ(xl.trackStructures[0].endChainage, "DK1+500");
  EXPECT_STREQ(xl.trackStructures[0].structureType, "有砟");
  EXPECT_DOUBLE_EQ(xl.trackStructures[0].height, 766.0);
  EXPECT_DOUBLE_EQ(xl.trackStructures[1].height, 512.0);

  // An older table names it 结构高度(mm); the three tables share one row table.
  Sql("drop table 左线轨道结构");
  Sql("create table 左线轨道结构(ID INTEGER IDENTITY,分段终里程 VARCHAR,结构类型 VARCHAR,[结构高度(mm)] DOUBLE PRECISION)");
  Fill("左线轨道结构", {{"ZK2+000", "无砟", "480"}});
  ASSERT_EQ(Read("左线轨道结构"), 1);
  ASSERT_EQ(xl.trackStructureCount, 1);
  EXPECT_STREQ(xl.trackStructures[0].endChainage, "ZK2+000");
  EXPECT_DOUBLE_EQ(xl.trackStructures[0].height, 480.0);
}

// ---- Tables that give nothing ------------------------------------------------------

struct KeptCase {
  const char* table;                          // read from the empty database
  std::function<int(const XLDataBase&)> count;  // the row count that must stay
  std::function<std::string(const XLDataBase&)> first;  // a value of the first row
};

class EmptyTableTest : public XLDataBaseReadTest, public ::testing::WithParamInterface<KeptCase> {};

TEST_P(EmptyTableTest, GivesZeroAndKeepsTheRowsReadBefore) {
  // Rows read from another database first.
  Fill("隧道", {{"青山隧道", "DK", "1", "DK", "2"}});
  Fill("断链表", {{"DK", "0", "DK", "0", "0"}, {"DK", "500", "DK", "510", "10"}});
  Fill("坡度表", {{"DK", "0", "100.5", nullptr, nullptr, "3", "0"}});
  Fill("车站", {{"甲站", "DK", "3000", "DK", "2800", "DK", "3200", "1", "2"}});
  for (const char* t : {"隧道", "断链表", "坡度表", "车站"}) ASSERT_EQ(Read(t), 1);
  const int before = GetParam().count(xl);
  const std::string firstBefore = GetParam().first(xl);

  const std::string empty = MakeDatabase("空方案");
  transcript.clear();
  EXPECT_EQ(xl.ReadTable(empty.c_str(), GetParam().table), 0);
  EXPECT_TRUE(transcript.contains("没有记录!")) << transcript.text();
  EXPECT_EQ(GetParam().count(xl), before);
  EXPECT_EQ(GetParam().first(xl), firstBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, EmptyTableTest,
    ::testing::Values(
        KeptCase{"隧道", [](const XLDataBase& x) { return x.tunnelCount; },
                 [](const XLDataBase& x) { return std::string(x.tunnels[0].name); }},
        KeptCase{"断链表", [](const XLDataBase& x) { return x.breakCount; },
                 [](const XLDataBase& x) { return std::to_string(x.breaks[1].length); }},
        KeptCase{"坡度表", [](const XLDataBase& x) { return x.gradeCount; },
                 [](const XLDataBase& x) { return std::to_string(x.grades[0].elevation); }},
        // A table the database does not have: the query fails.
        KeptCase{"车站缺", [](const XLDataBase& x) { return x.stationCount; },
                 [](const XLDataBase& x) { return std::string(x.stations[0].name); }}));

TEST_F(XLDataBaseReadTest, AnUnknownTableNameReadsNothingAndSucceeds) {
  Fill("标尺", {{"DK1+000", "100"}});
  Fill("隧道", {{"青山隧道", "DK", "1", "DK", "2"}});
  ASSERT_EQ(Read("隧道"), 1);
  EXPECT_EQ(Read("标尺"), 1);
  EXPECT_EQ(xl.tunnelCount, 1);
  EXPECT_STREQ(xl.tunnels[0].name, "青山隧道");
}

TEST_F(XLDataBaseReadTest, AMissingDatabaseFileIsReportedAndGivesZero) {
  EXPECT_EQ(xl.ReadTable((dir + "/不存在.mdb").c_str(), "隧道"), 0);
  EXPECT_TRUE(transcript.contains("连接数据库失败!")) << transcript.text();
  EXPECT_EQ(xl.tunnels, nullptr);
}

}  // namespace
