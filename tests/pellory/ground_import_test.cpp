// The text import of ground lines: the token layout, the ends of a side,
// overwriting on a second import, the order of stations and layers, the
// pairs, and files outside the layout, which change nothing.
#include <gtest/gtest.h>

#include <string>

#include "RecordPairs.h"
#include "fixtures/project_fixture.h"
#include "input_support.h"

namespace {

using inputtest::InPairs;
using inputtest::SideOf;
using Points = std::vector<std::pair<double, double>>;

const char* const kExample =
    "基线\n"
    "DK12+345.00 101.25 1\n"
    "1 2.5 0.3 6.0 -0.4 999 3.0 0.2 999\n"
    "999\n";

class Import : public inputtest::InputTest {
 protected:
  // Writes `text` as a text file (GBK with CRLF, as the Windows programs do)
  // and imports it.
  void ImportText(const std::string& text, const char* name = "ground.txt") {
    const std::string path = m_dir + "/" + name;
    fixtures::writeTextFile(path, text);
    platform::queueAnswer("file", path);
    input.OnImportText();
  }
  bool Said(const char* what) const { return transcript.text().find(what) != std::string::npos; }
};

TEST_F(Import, TheExampleFileGivesOneStationWithItsTwoSides) {
  ImportText(kExample);
  EXPECT_TRUE(Said("成功导入文件"));
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  const earthline& left = input.db.rockLayers[0];
  EXPECT_STREQ(left.prefix.GetString(), "DK");
  EXPECT_DOUBLE_EQ(left.chainage, 12345.0);
  EXPECT_DOUBLE_EQ(left.elevation, 101.25);
  EXPECT_EQ(left.layer, 0);
  EXPECT_EQ(left.rockType, 1);
  EXPECT_TRUE(left.detourNumber.IsEmpty());
  EXPECT_EQ(SideOf(left, true), (Points{{2.5, 0.3}, {6.0, -0.4}}));
  EXPECT_EQ(SideOf(input.db.rockLayers[1], false), (Points{{3.0, 0.2}}));
  ASSERT_EQ(input.stationList.GetSize(), 1);
  EXPECT_STREQ(input.stationList[0].GetString(), "DK12+345.00");
  // The line name goes to the top of the list and is chosen.
  ASSERT_EQ(input.lineNames.GetSize(), 2);
  EXPECT_STREQ(input.lineNames[0].GetString(), "基线");
  EXPECT_EQ(input.lineNameSelection, 0);
  EXPECT_EQ(input.importedLines, 1);
}

TEST_F(Import, ADistanceWithinOneCentimetreOf999EndsTheSide) {
  struct Case {
    const char* side;
    Points left, right;
  };
  const Case cases[] = {
      {"1 2 0.5 998.995 3 0.1 999", {{2, 0.5}}, {{3, 0.1}}},
      {"1 2 0.5 999.01 3 0.1 999", {{2, 0.5}}, {{3, 0.1}}},
      {"1 2 0.5 998.98 0.7 999 3 0.1 999", {{2, 0.5}, {998.98, 0.7}}, {{3, 0.1}}},
      {"1 999 3 0.1 999", {}, {{3, 0.1}}},  // an empty left side keeps its record in the pair
      {"1 2 0.5 999 999", {{2, 0.5}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    input.importedLines = 0;  // every file a new line
    ImportText(std::string("基线\nK0+010 100 1\n") + c.side + "\n999\n");
    ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
    EXPECT_EQ(SideOf(input.db.rockLayers[0], true), c.left);
    EXPECT_EQ(SideOf(input.db.rockLayers[1], false), c.right);
    EXPECT_TRUE(InPairs(input.db.rockLayers));
    EXPECT_EQ(input.stationList.GetSize(), 1);
  }
}

TEST_F(Import, ASecondImportOfTheLineOverwritesItsStations) {
  ImportText(kExample);
  ImportText(kExample);
  EXPECT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_EQ(input.lineNames.GetSize(), 2);  // the name is known now
  EXPECT_EQ(input.importedLines, 1);
  // New points for the station (0.005 m off: the same station) and a new station before it.
  ImportText("基线\nDK12+345.005 101.25 1\n1 4 1 999 5 2 999\nDK12+300 100 1\n2 1 1 999 1 1 999\n999\n");
  ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
  EXPECT_DOUBLE_EQ(input.db.rockLayers[0].chainage, 12300.0);
  EXPECT_EQ(SideOf(input.db.rockLayers[2], true), (Points{{4, 1}}));
  EXPECT_EQ(SideOf(input.db.rockLayers[3], false), (Points{{5, 2}}));
  EXPECT_EQ(input.stationList.GetSize(), 2);
  // Another line's file empties the list first.
  ImportText("左线第12绕行段\nDK1+000 90 1\n2 1 1 999 1 1 999\n999\n");
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_STREQ(input.db.rockLayers[0].detourNumber.GetString(), "12");
  EXPECT_STREQ(input.lineNames[0].GetString(), "左线第12绕行段");
  EXPECT_EQ(input.importedLines, 2);
}

TEST_F(Import, StationsComeInChainageOrderAndLayersAscending) {
  ImportText(
      "基线\n"
      "K0+200 100 1\n2 1 1 999 1 1 999\n"
      "K0+100 100 3\n2 1 1 999 1 1 999\n3 2 2 999 2 2 999\n4 3 3 999 3 3 999\n"
      "999\n");
  ASSERT_EQ(input.db.rockLayers.GetSize(), 8);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  const double chainages[] = {100, 100, 100, 200};
  const int layers[] = {0, 1, 2, 0};
  const int rocks[] = {2, 3, 4, 2};
  for (int p = 0; p < 4; ++p) {
    EXPECT_DOUBLE_EQ(input.db.rockLayers[2 * p].chainage, chainages[p]) << p;
    EXPECT_EQ(input.db.rockLayers[2 * p].layer, layers[p]) << p;
    EXPECT_EQ(input.db.rockLayers[2 * p + 1].rockType, rocks[p]) << p;
  }
  ASSERT_EQ(input.stationList.GetSize(), 2);
  EXPECT_STREQ(input.stationList[0].GetString(), "K0+100.00");
}

// A long chain break repeats chainages under the next prefix: DK40+260 and
// D1K40+260 are two stations, in the list, in the station list and in the
// rows written (the sample project has three of them).
TEST_F(Import, TheTwoStationsOfALongChainStayApart) {
  ImportText(
      "基线\n"
      "DK40+260 100 1\n2 5 1 999 999\n"
      "D1K40+260 120 1\n2 6 2 999 7 3 999\n"
      "999\n");
  ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  ASSERT_EQ(input.stationList.GetSize(), 2);
  EXPECT_STREQ(input.stationList[0].GetString(), "DK40+260.00");
  EXPECT_STREQ(input.stationList[1].GetString(), "D1K40+260.00");
  input.OnWriteDatabase();
  const auto rows = Query("select 中桩里程冠号, 左或右, 地面点数, 点2距中桩距离 from 横断面岩层线表 order by ID");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"DK", "右", "1", "NULL"}));  // its empty side: the centre point
  EXPECT_EQ(rows[3], (std::vector<std::string>{"D1K", "右", "2", "7"}));
  // The query of each shows its own points.
  input.stationSelection = 1;
  input.OnQuery();
  EXPECT_STREQ(input.elevationText.GetString(), "120.00");
  EXPECT_EQ(input.rightCount, 1);
}

TEST_F(Import, AFileOutsideTheLayoutChangesNothing) {
  std::string longToken(300, '1');
  struct Case {
    const char* what;
    std::string text;
  };
  std::string tooMany = "基线\nK0+010 100 1\n1";
  for (int k = 1; k <= 101; ++k) tooMany += " " + std::to_string(k) + " 0.5";
  tooMany += " 999 999\n999\n";
  const Case cases[] = {
      {"more than 100 pairs", tooMany},
      {"truncated in a side", "基线\nK0+010 100 1\n1 2 0.5 3"},
      {"truncated before the end", "基线\nK0+010 100 1\n1 2 0.5 999 3 0.1 999\n"},
      {"not a number", "基线\nK0+010 100 1\n1 2 abc 999 999\n999\n"},
      {"not an integer layer count", "基线\nK0+010 100 1.5\n1 999 999\n999\n"},
      {"a negative layer count", "基线\nK0+010 100 -1\n999\n"},
      {"a token too long", "基线\nK0+010 100 1\n1 " + longToken + " 0.5 999 999\n999\n"},
      {"not a detour label", "方案线\nK0+010 100 1\n1 999 999\n999\n"},
      {"an empty file", ""},
      // A line name and the end mark alone: importing nothing would leave
      // the line without stations, and its next write would empty its tables.
      {"no station", "基线\r\n999\r\n"},
      {"an infinite chainage", "基线\nDKinf 100 1\n1 999 999\n999\n"},
      {"a chainage beyond the doubles", "基线\nDK1e400 100 1\n1 999 999\n999\n"},
      {"a chainage that is no number", "基线\nDKnan 100 1\n1 999 999\n999\n"},
      {"a station that is no chainage", "基线\nabc 100 1\n1 999 999\n999\n"},
      {"a chainage with letters after it", "基线\nDK1+000abc 100 1\n1 999 999\n999\n"},
      {"a prefix without a number", "基线\nDK 100 1\n1 999 999\n999\n"},
      {"an infinite elevation", "基线\nK0+010 1e999 1\n1 999 999\n999\n"},
      {"rock type 0", "基线\nK0+010 100 1\n0 2 0.5 999 999\n999\n"},
      {"rock type 99", "基线\nK0+010 100 1\n99 2 0.5 999 999\n999\n"},
      {"rock type -7", "基线\nK0+010 100 1\n-7 2 0.5 999 999\n999\n"},
      {"more layers than a station holds", "基线\nK0+010 100 21\n999\n"},
  };
  ImportText(kExample);
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    transcript.clear();
    ImportText(c.text, "bad.txt");
    EXPECT_TRUE(Said("不符合地面线文件的格式")) << transcript.text();
    EXPECT_TRUE(Said("bad.txt"));
    EXPECT_FALSE(Said("成功导入文件"));
    EXPECT_EQ(input.db.rockLayers.GetSize(), 2);
    EXPECT_EQ(SideOf(input.db.rockLayers[0], true), (Points{{2.5, 0.3}, {6.0, -0.4}}));
    EXPECT_EQ(input.lineNames.GetSize(), 2);
    EXPECT_EQ(input.importedLines, 1);
    EXPECT_EQ(input.stationList.GetSize(), 1);
  }
}

// A file of a line name and 999 alone imported as success and emptied the
// record list, so that the next write emptied both tables of the line.
TEST_F(Import, AFileWithoutStationsLeavesTheTablesAsTheyWere) {
  input.rockTypeSelection = 0;
  Save("DK1+000", "100", {{"2", "0.5"}}, {{"3", "0.2"}});
  input.OnWriteDatabase();
  ImportText("基线\r\n999\r\n");
  EXPECT_TRUE(Said("文件中没有桩号")) << transcript.text();
  EXPECT_FALSE(Said("成功导入文件"));
  input.OnWriteDatabase();
  EXPECT_EQ(Query("select count(*) from 用户横断面岩层线表"), (std::vector<std::vector<std::string>>{{"2"}}));
  EXPECT_EQ(Query("select count(*) from 横断面岩层线表"), (std::vector<std::vector<std::string>>{{"2"}}));
}

// The reason of a refusal names what is wrong and where.
TEST_F(Import, ARefusedFileSaysWhy) {
  struct Case {
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {"基线\n999\n", "文件中没有桩号"},
      {"基线\nDKinf 100 1\n1 999 999\n999\n", "第2个词\"DKinf\"不是桩号"},
      {"基线\nabc 100 1\n1 999 999\n999\n", "第2个词\"abc\"不是桩号"},
      {"基线\nK0+010 100 2\n2 999 999\n99 999 999\n999\n", "桩号K0+010第1层的岩层性质99不是已知的岩性(1到6)"},
      {"基线\nK0+010 100 21\n999\n", "桩号K0+010的层数21不在0到20之间"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    transcript.clear();
    ImportText(c.text);
    EXPECT_TRUE(Said(c.reason)) << transcript.text();
    EXPECT_EQ(input.db.rockLayers.GetSize(), 0);
    EXPECT_EQ(input.lineNames.GetSize(), 1);
  }
  // Twenty layers, rock types 1 and 6, and a chainage before the start are taken.
  std::string twenty = "基线\nK-0+050.000 100 20\n";
  for (int l = 0; l < 20; ++l) twenty += (l % 2 == 0 ? "1" : "6") + std::string(" 2 0.5 999 3 0.1 999\n");
  ImportText(twenty + "999\n");
  EXPECT_TRUE(Said("成功导入文件")) << transcript.text();
  ASSERT_EQ(input.db.rockLayers.GetSize(), 40);
  EXPECT_DOUBLE_EQ(input.db.rockLayers[0].chainage, -50.0);
  EXPECT_EQ(input.db.rockLayers[38].layer, 19);
  EXPECT_EQ(input.db.rockLayers[38].rockType, 6);
}

TEST_F(Import, ACancelledChoiceOrAMissingFileImportsNothing) {
  platform::queueAnswer("file", "cancel");
  input.OnImportText();
  EXPECT_TRUE(Said("文件读取失败!"));
  platform::queueAnswer("file", m_dir + "/missing.txt");
  input.OnImportText();
  EXPECT_TRUE(Said("cannot open text"));
  EXPECT_EQ(input.lineNames.GetSize(), 1);
}

// A file as the cross-section module's CALHDMDMX writes it (GBK, CRLF, three
// decimals, the centre point first) imports and writes the design table
// with the centre point as given.
TEST_F(Import, AGroundLineFileOfTheCrossSectionModuleIsWrittenBack) {
  ImportText(
      "基线\n"
      "DK12+345.678 101.250 1\n"
      "2\n"
      " 0.000 0.000 2.500 0.300 6.000 -0.400 999\n"
      " 0.000 0.000 3.000 0.200 999\n"
      "999\n",
      "方案1.dmx");
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_DOUBLE_EQ(input.db.rockLayers[0].chainage, 12345.678);
  EXPECT_EQ(input.db.rockLayers[0].rockType, 2);
  EXPECT_STREQ(input.stationList[0].GetString(), "DK12+345.68");
  input.OnWriteDatabase();
  const auto rows = Query(
      "select 左或右, 地面点数, 点1距中桩距离, 点1与中桩高程差, 点3距中桩距离, 点3与中桩高程差, 中桩里程数 "
      "from 横断面岩层线表 order by ID");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "左");
  EXPECT_EQ(rows[0][1], "3");  // the centre point of the file, no second one
  EXPECT_DOUBLE_EQ(std::atof(rows[0][2].c_str()), 0.0);
  EXPECT_DOUBLE_EQ(std::atof(rows[0][4].c_str()), 6.0);
  EXPECT_DOUBLE_EQ(std::atof(rows[0][5].c_str()), -0.4);
  EXPECT_EQ(rows[1][0], "右");
  EXPECT_EQ(rows[1][1], "2");
  EXPECT_DOUBLE_EQ(std::atof(rows[1][6].c_str()), 12345.678);
}

}  // namespace
