// The plan's scheme loader (XLDataBase::LoadSchemeTables) on small scheme
// databases made here: what each table's records hold, the cuts it makes
// (flood levels, detour numbers, over-long texts), the tunnel filter, the
// bounded counts, and what an empty or missing table and a bad database do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XLDataBase.h"
#include "fixtures/scheme_db.h"
#include "project/SchemeValues.h"
#include "win/transcript.h"

namespace {

class SchemeLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fixtures::MakeTempFolder("plan-loader");
    m_db = m_dir + "/方案1.mdb";
    std::string error;
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
  }
  void TearDown() override { fixtures::RemoveFolder(m_dir); }

  void Fill(const char* table, const std::vector<fixtures::Row>& rows) {
    std::string error;
    ASSERT_TRUE(fixtures::FillTable(m_db, table, rows, &error)) << error;
  }
  // Loads a table, returning what was shown.
  std::string Load(const char* table) {
    platform::TranscriptCapture shown;
    m_loader.LoadSchemeTables(m_db.c_str(), table, false);
    return shown.text();
  }

  std::string m_dir;
  std::string m_db;
  XLDataBase m_loader;
};

TEST(SchemeValues, FloodLevelKeepsTwoDecimals) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {{"123.4567", "123.45"}, {"123.4", "123.4"}, {".75", ".75"},    {"123", "123"},
               {"", ""},               {"0.75000000", "0.75"}, {"12.34", "12.34"}};
  for (const auto& c : cases) EXPECT_STREQ(CutToTwoDecimals(c.text).GetString(), c.expected) << c.text;
}

TEST(SchemeValues, TextsReadAsNumbersOnlyWhole) {
  const struct {
    const char* text;
    bool reads;
    double value;
  } cases[] = {{"12.5", true, 12.5}, {" 12 ", true, 12.0}, {"1e3", true, 1000.0}, {"-3.25\t", true, -3.25},
               {"abc", false, 0.0},  {"12abc", false, 0.0}, {"", false, 0.0},      {"   ", false, 0.0},
               {"1 2", false, 0.0},  {"inf", false, 0.0},   {"nan", false, 0.0},   {"1e999", false, 0.0}};
  for (const auto& c : cases) {
    double value = -1.0;
    EXPECT_EQ(ReadsAsNumber(c.text, value), c.reads) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  double value = -1.0;
  EXPECT_FALSE(ReadsAsNumber(nullptr, value));
}

TEST(SchemeValues, DecimalsCutBetweenCharacters) {
  const struct {
    const char* text;
    int digits;
    const char* expected;
  } cases[] = {{"1.23456", 4, "1.2345"}, {"1.2", 4, "1.2"}, {"7.", 3, "7."}, {".5", 0, ".5"},
               {"12.3号桥", 2, "12.3号"}, {"1.5", 0, "1."}};
  for (const auto& c : cases) EXPECT_STREQ(CutDecimals(c.text, c.digits).GetString(), c.expected) << c.text;
}

TEST(SchemeValues, NumbersBecomeIntegersWithinRange) {
  const struct {
    double value;
    int rounded;    // + 0.001, truncated
    int truncated;  // truncated
  } cases[] = {{2.9999999, 3, 2}, {2.5, 2, 2}, {2.998, 2, 2}, {-1.0, -0, -1}, {-1.5, -1, -1},
               {1e12, 2147483647, 2147483647}, {-1e12, -2147483647 - 1, -2147483647 - 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(RoundedInt(c.value), c.rounded) << c.value;
    EXPECT_EQ(TruncatedInt(c.value), c.truncated) << c.value;
  }
  EXPECT_EQ(RoundedInt(std::nan("")), 0);
}

TEST_F(SchemeLoader, BridgesWithTheirTextsAndDetourIndex) {
  // 桥梁名称 中心冠号 中心 起点冠号 起点 终点冠号 终点 孔跨 线数 全长 100年水位 附注
  Fill("大中桥", {{"清河大桥", "DK", "1234.5", "DK", "1200", "DK", "1269", "3-32m简支梁", "2", "69", "123.4567", nullptr},
                  {"中桥", "DK", "2000", "DK", "1990", "DK", "2010", "1-20m", "1", "20", "0.75", nullptr},
                  {"无水位桥", "K", "12345.678", "K", "12300", "K", "12391.356", "1-16m", nullptr, "91.36", nullptr,
                   nullptr}});
  EXPECT_EQ(Load("大中桥"), "");
  ASSERT_EQ(m_loader.bridges.size(), 3u);
  const BridgeRecord& b = m_loader.bridges[0];
  EXPECT_EQ(b.detourIndex, -1);
  EXPECT_STREQ(b.name.GetString(), "清河大桥");
  EXPECT_STREQ(b.centreText, "DK1+234.50");
  EXPECT_STREQ(b.startText, "DK1+200.00");
  EXPECT_STREQ(b.endText, "DK1+269.00");
  EXPECT_STREQ(b.span.GetString(), "3-32m简支梁");
  EXPECT_EQ(b.trackCount, 2);
  EXPECT_EQ(b.fullLength, 69.0);
  EXPECT_STREQ(b.waterLevel.GetString(), "123.45");  // the double 123.4567 read as "123.45670000"
  EXPECT_STREQ(m_loader.bridges[1].centreText, "DK2+000");
  EXPECT_STREQ(m_loader.bridges[1].waterLevel.GetString(), "0.75");
  EXPECT_STREQ(m_loader.bridges[2].centreText, "K12+345.68");
  EXPECT_STREQ(m_loader.bridges[2].endText, "K12+391.36");
  EXPECT_STREQ(m_loader.bridges[2].waterLevel.GetString(), "");
  EXPECT_EQ(m_loader.bridges[2].trackCount, 0);

  // A detour form replaces the base-line bridges; 绕行段编号 + 0.001, truncated.
  Fill("左线绕行段大中桥", {{"2.9999999", "绕行桥一", "DK", "3000"}, {"2.5", "绕行桥二", "DK", "3500"}});
  EXPECT_EQ(Load("左线绕行段大中桥"), "");
  ASSERT_EQ(m_loader.bridges.size(), 2u);
  EXPECT_EQ(m_loader.bridges[0].detourIndex, 3);
  EXPECT_EQ(m_loader.bridges[1].detourIndex, 2);
  EXPECT_STREQ(m_loader.bridges[1].name.GetString(), "绕行桥二");
}

// Tunnels whose start or end is blank (prefix "", " " or "  " and mileage
// below 0.1) are left out; a prefix DK with a mileage of 0.05 is no blank.
TEST_F(SchemeLoader, TunnelsWithBlankEndsAreLeftOut) {
  // 隧道名称 起点冠号 起点 终点冠号 终点 插旗方式 线数 附注
  Fill("隧道", {{"一号隧道", "DK", "500", "DK", "900", "1", "1", "12号"},
                {"空起点", " ", "0.05", "DK", "900", "1", "1", nullptr},
                {"DK起点", "DK", "0.05", "DK", "900", "0", "1", "99999"},
                {"空终点", "DK", "500", "  ", "0", "1", "1", nullptr},
                {"全空", nullptr, nullptr, nullptr, nullptr, "1", "1", nullptr},
                {"冠号空", "", "120", "", "300", "1", "1", "-7"}});
  Load("隧道");
  const struct {
    const char* name;
    const char* start;
    const char* end;
    const char* flag;
    short note;
  } expected[] = {{"一号隧道", "DK0+500.00", "DK0+900.00", "1", 12},
                  {"DK起点", "DK0+000.05", "DK0+900.00", "0", 32767},
                  {"冠号空", "0+120.00", "0+300.00", "1", -7}};
  ASSERT_EQ(m_loader.tunnels.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TunnelRecord& t = m_loader.tunnels[i];
    EXPECT_STREQ(t.name.GetString(), expected[i].name);
    EXPECT_STREQ(t.startText, expected[i].start);
    EXPECT_STREQ(t.endText, expected[i].end);
    EXPECT_STREQ(t.flagMode.GetString(), expected[i].flag);
    EXPECT_EQ(t.noteNumber, expected[i].note);
  }
}

TEST_F(SchemeLoader, CulvertsStationsBenchMarksAndTraverse) {
  // 中心冠号 中心 孔跨 左长 右长 交角 用途 插旗方式 附注
  Fill("右线绕行段小桥涵", {{"1", "DK", "1500", "1-1.5m圆涵", "10.5", "9.5", "90", "1", "2", "填高3.2m"}});
  Load("右线绕行段小桥涵");
  ASSERT_EQ(m_loader.culverts.size(), 1u);
  const CulvertRecord& c = m_loader.culverts[0];
  EXPECT_EQ(c.detourIndex, 1);
  EXPECT_STREQ(c.centrePrefix.GetString(), "DK");
  EXPECT_EQ(c.centreMileage, 1500.0);
  EXPECT_EQ(c.leftLength, 10.5);
  EXPECT_EQ(c.rightLength, 9.5);
  EXPECT_EQ(c.crossingAngle, 90.0);
  EXPECT_EQ(c.use, 1.0);
  EXPECT_EQ(c.flagMode, 2.0);
  EXPECT_STREQ(c.note.GetString(), "填高3.2m");
  // The schema has no outlet levels: they read as 0.
  EXPECT_EQ(c.leftOutletLevel, 0.0);
  EXPECT_EQ(c.rightOutletLevel, 0.0);

  // 车站名称 站房中心冠号 站房中心 起点冠号 起点 终点冠号 终点 车站类型 插旗图块名 附注
  Fill("车站", {{"青山站", "DK", "5432.1", "DK", "5000", "DK", "5800", "1", "中间站07", nullptr}});
  Load("车站");
  ASSERT_EQ(m_loader.stations.size(), 1u);
  EXPECT_STREQ(m_loader.stations[0].name.GetString(), "青山站");
  EXPECT_STREQ(m_loader.stations[0].flagBlockName.GetString(), "中间站07");
  EXPECT_STREQ(m_loader.stations[0].centreText, "DK5+432.10");
  EXPECT_EQ(m_loader.stations[0].centreMileage, 5432.1);

  // 水准点编号 高程 里程冠号 里程数 距中线距离 坐标N 坐标E 描述 附注
  Fill("水准点表", {{"BM1", "105.352", "DK", "800", "-45", "3500.5", "2100.25", "线路左侧", nullptr}});
  Load("水准点表");
  ASSERT_EQ(m_loader.benchMarks.size(), 1u);
  const BenchMarkRecord& m = m_loader.benchMarks[0];
  EXPECT_STREQ(m.number.GetString(), "BM1");
  EXPECT_EQ(m.elevation, 105.352);
  EXPECT_EQ(m.mileage, 800.0);
  EXPECT_EQ(m.offset, -45.0);
  EXPECT_EQ(m.N, 3500.5);
  EXPECT_EQ(m.E, 2100.25);

  // 桩号 右角 方位角 距离 纬距 经距 高程 里程
  Fill("导线表", {{"DX1", nullptr, "45.3015", "100", "3000.1", "2000.2", "99.5", "0"}});
  Load("导线表");
  ASSERT_EQ(m_loader.traverse.size(), 1u);
  EXPECT_STREQ(m_loader.traverse[0].station.GetString(), "DX1");
  EXPECT_EQ(m_loader.traverse[0].bearing, 45.3015);
  EXPECT_EQ(m_loader.traverse[0].N, 3000.1);
  EXPECT_EQ(m_loader.traverse[0].E, 2000.2);
  EXPECT_EQ(m_loader.traverse[0].elevation, 99.5);
  EXPECT_EQ(m_loader.traverse[0].detourIndex, -1);
}

TEST_F(SchemeLoader, CurveAndBreakTables) {
  // 交点号 N E 偏角 R 前缓 后缓 前切 后切 曲线长 夹直线 起点冠号 起点 终点冠号 终点 内业断链 附注
  Fill("曲线表", {{"0", "1000", "2000", nullptr, nullptr, "25000", nullptr},
                  {"1", "1800", "2600", "-12.3045", "1200", "80", "90", "150", "151", "300", "500", "DK", "25600",
                   "DK", "25900", "0.5", "左偏"},
                  {"2", "2500", "2700"}});
  Load("曲线表");
  ASSERT_EQ(m_loader.curves.size(), 3u);
  const PlanCurveRecord& c = m_loader.curves[1];
  EXPECT_EQ(c.ipNumber, 1);
  EXPECT_EQ(c.deflection, -12.3045);
  EXPECT_EQ(c.T2, 151.0);
  EXPECT_EQ(c.curveLength, 300.0);
  EXPECT_STREQ(c.startPrefix.GetString(), "DK");
  EXPECT_EQ(c.endMileage, 25900.0);
  EXPECT_EQ(c.officeBreak, 0.5);
  ASSERT_EQ(m_loader.intersectionPoints.size(), 3u);
  const IntersectionPoint expected[] = {
      {0, 1000, 2000, 25000, 0, 0}, {1, 1800, 2600, 80, 1200, 90}, {2, 2500, 2700, 0, 0, 0}};
  for (int i = 0; i < 3; ++i) {
    const IntersectionPoint& p = m_loader.intersectionPoints[i];
    EXPECT_EQ(p.number, expected[i].number);
    EXPECT_EQ(p.N, expected[i].N);
    EXPECT_EQ(p.E, expected[i].E);
    EXPECT_EQ(p.L1, expected[i].L1);
    EXPECT_EQ(p.R, expected[i].R);
    EXPECT_EQ(p.L2, expected[i].L2);
  }

  // 交点属性 二线交点号 一线交点号 线间距 N E R 前缓 后缓 内业断链 附注
  Fill("左线曲线表", {{"1", "4", "3", "-4.6", "1800", "2595", "1195.4", "80", "90", "0.25", "绕行"}});
  Load("左线曲线表");
  ASSERT_EQ(m_loader.sideCurves.size(), 1u);
  const SideLineRecord& s = m_loader.sideCurves[0];
  EXPECT_EQ(s.visited, 0);
  EXPECT_EQ(s.kind, 1);
  EXPECT_EQ(s.secondLineIp, 4);
  EXPECT_EQ(s.firstLineIp, 3);
  EXPECT_EQ(s.spacing, -4.6);
  EXPECT_EQ(s.N, 1800.0);
  EXPECT_EQ(s.E, 2595.0);
  EXPECT_EQ(s.R, 1195.4);
  EXPECT_EQ(s.L1, 80.0);
  EXPECT_EQ(s.L2, 90.0);
  EXPECT_EQ(s.spare, 0.0);
  EXPECT_EQ(s.officeBreak, 0.25);

  // 编号 左冠号 左里程 右冠号 右里程 附注
  Fill("右线断链表", {{"0.9999999", "DK", "3000", "YDK", "3000.5", "绕行起点"}, {"1", "YDK", "3800", "DK", "3790", nullptr}});
  Load("右线断链表");
  ASSERT_EQ(m_loader.sideBreaks.size(), 2u);
  const PlanBreakRecord& b = m_loader.sideBreaks[0];
  EXPECT_EQ(b.segment, 1);
  EXPECT_STREQ(b.text.GetString(), "绕行起点");
  EXPECT_EQ(b.before, 3000.0);
  EXPECT_EQ(b.after, 3000.5);
  EXPECT_EQ(b.mileage, 0.0);
  EXPECT_STREQ(b.prefixBefore.GetString(), "DK");
  EXPECT_STREQ(b.prefixAfter.GetString(), "YDK");
  EXPECT_STREQ(m_loader.sideBreaks[1].text.GetString(), "");
}

// Texts longer than their fixed fields are cut at a character boundary, and
// each table load says so once.
TEST_F(SchemeLoader, OverLongTextsAreCutAndReportedOnce) {
  // Break prefixes hold 7 GBK bytes: "DKABCDEFG" keeps 7 letters, five
  // Chinese characters (10 bytes) keep three (6 bytes).
  Fill("断链表", {{"DKABCDEFG", "100", "左线绕行段", "100", "0", nullptr}, {"DK", "900", "DK", "900", "0", nullptr}});
  std::string shown = Load("断链表");
  ASSERT_EQ(m_loader.breaks.size(), 2u);
  EXPECT_STREQ(m_loader.breaks[0].prefixBefore, "DKABCDE");
  EXPECT_STREQ(m_loader.breaks[0].prefixAfter, "左线绕");
  EXPECT_STREQ(m_loader.breaks[1].prefixBefore, "DK");
  EXPECT_EQ(m_loader.breaks[1].before, 900.0);
  size_t reports = 0;
  for (size_t at = shown.find("已截断"); at != std::string::npos; at = shown.find("已截断", at + 1)) ++reports;
  EXPECT_EQ(reports, 1u) << shown;
  EXPECT_NE(shown.find("断链表第1行"), std::string::npos) << shown;

  // Chainage texts: the start field holds 79 GBK bytes, so 60 letters and
  // "0+500.00" fit; the end field holds 85, so of 45 Chinese characters (90
  // bytes) and the number 42 characters remain.
  const std::string prefix(60, 'A');
  std::string chinese;
  for (int i = 0; i < 45; ++i) chinese += "隧";
  Fill("隧道", {{"长冠号", prefix.c_str(), "500", chinese.c_str(), "900", "1", "1", nullptr},
                {"第二", prefix.c_str(), "600", "DK", "900", "1", "1", nullptr}});
  shown = Load("隧道");
  ASSERT_EQ(m_loader.tunnels.size(), 2u);
  EXPECT_STREQ(m_loader.tunnels[0].startText, (prefix + "0+500.00").c_str());  // 68 bytes: whole
  std::string endKept;
  for (int i = 0; i < 42; ++i) endKept += "隧";
  EXPECT_STREQ(m_loader.tunnels[0].endText, endKept.c_str());
  reports = 0;
  for (size_t at = shown.find("已截断"); at != std::string::npos; at = shown.find("已截断", at + 1)) ++reports;
  EXPECT_EQ(reports, 1u) << shown;
}

TEST_F(SchemeLoader, CountsAreBounded) {
  fixtures::RowTexts keep;
  std::vector<fixtures::Row> rows;
  for (int i = 0; i <= XLDataBase::kMaxBreakRows; ++i) {
    rows.push_back({"K", keep.Keep(std::to_string(i * 10)), "K", keep.Keep(std::to_string(i * 10)), "0", nullptr});
  }
  Fill("断链表", rows);
  const std::string shown = Load("断链表");
  EXPECT_EQ(m_loader.breaks.size(), static_cast<size_t>(XLDataBase::kMaxBreakRows));
  EXPECT_EQ(m_loader.breaks.back().before, 10.0 * (XLDataBase::kMaxBreakRows - 1));
  EXPECT_NE(shown.find("断链表的记录超过1000条"), std::string::npos) << shown;
}

TEST_F(SchemeLoader, EmptyMissingAndUnknownTables) {
  Fill("车站", {{"甲站", "DK", "100"}, {"乙站", "DK", "200"}});
  Fill("导线表", {{"DX1"}});
  Load("车站");
  Load("导线表");
  ASSERT_EQ(m_loader.stations.size(), 2u);

  // A table that holds no rows now: its records go, the others stay.
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 车站"));
  EXPECT_EQ(Load("车站"), "没有记录!\n");
  EXPECT_TRUE(m_loader.stations.empty());
  EXPECT_EQ(m_loader.traverse.size(), 1u);

  // A table that is not there: the query fails and the records stay.
  Fill("左线绕行段车站", {{"0", "丙站", "DK", "300"}});
  Load("左线绕行段车站");
  ASSERT_EQ(m_loader.stations.size(), 1u);
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "drop table 右线绕行段车站"));
  EXPECT_EQ(Load("右线绕行段车站"), "没有记录!\n");
  EXPECT_EQ(m_loader.stations.size(), 1u);

  // A name of no reader reads nothing.
  Fill("坡度表", {{"DK", "0"}});
  EXPECT_EQ(Load("坡度表"), "");
  EXPECT_EQ(m_loader.stations.size(), 1u);

  // A database that cannot be opened.
  platform::TranscriptCapture shown;
  m_loader.LoadSchemeTables((m_dir + "/没有.mdb").c_str(), "车站", false);
  EXPECT_TRUE(shown.contains("连接数据库失败!")) << shown.text();
  EXPECT_EQ(m_loader.stations.size(), 1u);

  // A full connection string, flagged as such, is used as it is.
  Fill("水准点表", {{"BM7", "1"}});
  m_loader.LoadSchemeTables(fixtures::ConnectionString(m_db).c_str(), "水准点表", true);
  ASSERT_EQ(m_loader.benchMarks.size(), 1u);
  EXPECT_STREQ(m_loader.benchMarks[0].number.GetString(), "BM7");
  EXPECT_FALSE(m_loader.connection.IsOpen());

  m_loader.Clear();
  EXPECT_TRUE(m_loader.stations.empty());
  EXPECT_TRUE(m_loader.traverse.empty());
  EXPECT_TRUE(m_loader.benchMarks.empty());
}

}  // namespace
