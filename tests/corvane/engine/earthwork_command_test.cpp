// The earthwork command (CALTSF) from end to end on the fixture schemes:
// the result files of a design are written, a designer built for the command
// reads them back, and the quantity files and the roadbed quantity sheet are
// checked; the saved workbook is read with openpyxl (Debian's
// python3-openpyxl, run with /usr/bin/python3).
//
// The single-track fixture line runs due north with a short chain DK0+600 =
// DK0+650 (a chainage c ≥ 650 lies at mileage c − 50), the bridge 一号桥
// DK0+200 .. DK0+250 (mileage 200 .. 250) and the tunnel 一号隧道 DK0+800 ..
// DK0+900 (mileage 750 .. 850).

#include <filesystem>
#include <fstream>

#include "corvane/engine/earthwork_support.h"
#include "corvane/data/import_support.h"

namespace {

using earthwork_test::Lines;
using earthwork_test::ReadText;
using earthwork_test::Section;
using earthwork_test::Words;

class EarthworkCommandTest : public import_test::SchemeImportTest {
 protected:
  void SetUp() override {
    SchemeImportTest::SetUp();
    std::filesystem::create_directories(m_install.linuxPath("lib"));
    std::filesystem::copy_file(std::string(RAIL_INSTALL_DIR) + "/lib/路基数量表.xlt",
                               m_install.linuxPath("lib/路基数量表.xlt"));
  }
  void TearDown() override {
    SetExcelInteractive(0);
    g_ProjectFolder.Empty();
    g_SchemeName.Empty();
    SchemeImportTest::TearDown();
  }
  std::string DataFile(const std::string& name) const { return m_projects.linuxPath("P/data/" + name + ".S1"); }

  // The double-track scheme designed with both its detours, its result files
  // saved, and the detour designers emptied as a new command finds them.
  void DoubleTrackDesign() {
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
    ASSERT_EQ(ReadProjectAndScheme(), 1);
    {
      CrossSectionDesigner design;
      design.lineKind = "双线";
      ASSERT_EQ(design.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);
      design.SaveResultFiles();
      design.SaveDetourResultFiles();
    }
    fixtures::writeTextFile(DataFile("ylex"), "双线");
    import_test::ResetDetourDesigners();
  }

  // The last design of the single-track scheme: sections at these mileages
  // with fill areas 10, 20, ... 90 (and the other areas from them), saved as
  // HdmResultData and HdmDetailArea, and ylex.
  void SingleTrackDesign() {
    std::string error;
    ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
    ASSERT_EQ(ReadProjectAndScheme(), 1);
    CrossSectionDesigner design;
    design.lineKind = "单线";
    ASSERT_EQ(design.ReadSchemeAlignment(m_dbWindows.c_str(), 0, 0), 1);
    const double mileages[] = {0, 100, 300, 500, 700, 900, 950, 1000, 1100};
    for (size_t i = 0; i < std::size(mileages); ++i)
      design.sections.push_back(Section(mileages[i], 0, 10.0 * static_cast<double>(i + 1)));
    design.SaveResultFiles();
    ASSERT_EQ(Lines(ReadText(DataFile("HdmResultData")))[0], "9");
    fixtures::writeTextFile(DataFile("ylex"), "单线");
  }

  // Checks the saved workbook with openpyxl: `cells` as "A3": value pairs
  // (JSON), the merged ranges given.
  void CheckWorkbook(const std::string& cells, const std::string& merged) {
    if (std::system("/usr/bin/python3 -c 'import openpyxl' > /dev/null 2>&1") != 0)
      GTEST_SKIP() << "python3-openpyxl is not installed";
    const std::string workbook = DataFile("路基数量表") + ".xlsx";
    ASSERT_TRUE(std::filesystem::is_regular_file(workbook));
    const std::string json = m_projects.linuxPath("expect.json");
    std::ofstream(json) << "{\"workbook\": \"" << workbook << "\", \"sheet\": \"路基数量表\", \"cells\": {" << cells
                        << "}, \"merged\": [" << merged << "]}";
    std::string output;
    const int status = fixtures::RunCommand(std::string("/usr/bin/python3 ") + RAIL_SOURCE_DIR +
                                                "/tests/corvane/engine/qsheet_check_openpyxl.py '" + json + "'",
                                            &output);
    EXPECT_EQ(status, 0) << output;
  }
};

TEST_F(EarthworkCommandTest, WholeLineFilesAndSheet) {
  SingleTrackDesign();
  CrossSectionDesigner caltsf;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 1);
  EXPECT_TRUE(transcript.contains("土石方数量计算完毕,开始填写数据"));

  // tsfjsb: the nine sections and the four structure ends added at 200, 250
  // (bridge) and 750, 850 (tunnel), from the first mileage to the last.
  const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
  ASSERT_EQ(lines.size(), 1u + 13 * 3);
  EXPECT_EQ(lines[0], "0.000 1100.000         13");
  std::vector<std::string> mileages;
  for (size_t i = 1; i < lines.size(); i += 3) mileages.push_back(Words(lines[i])[0]);
  EXPECT_EQ(mileages, (std::vector<std::string>{"0.000", "100.000", "200.000", "250.000", "300.000", "500.000",
                                                "700.000", "750.000", "850.000", "900.000", "950.000", "1000.000",
                                                "1100.000"}));
  // The bridge end takes nothing from the bridge: volumes all 0.
  EXPECT_EQ(Words(lines[1 + 3 * 3 + 1])[0], "0.00");
  // A single line has no detour sections.
  EXPECT_EQ(ReadText(DataFile("rxdtsfjsb")), "0 0\n");

  // The sheet: kilometre rows with the labels made again from the mileages
  // through the break table, a row for each structure, and the total. Fill
  // volumes by hand: 0 → 200: (20+10)/2·100 + 20·100 = 3500; 250 → 750:
  // 30·50 + (40+30)/2·200 + (50+40)/2·200 + 50·50 = 20000; 850 → 950:
  // 60·50 + (70+60)/2·50 = 6250; 950 → 1100: (80+70)/2·50 + (90+80)/2·100 = 12250.
  CheckWorkbook(
      "\"A3\": \"DK0+000\", \"B3\": \"DK0+200.000\", \"E3\": 3500,"
      "\"A4\": \"DK0+200.000\", \"B4\": \"DK0+250.000\", \"C4\": \"一号桥\","
      "\"A5\": \"DK0+250.000\", \"B5\": \"DK0+800.000\", \"E5\": 20000,"
      "\"A6\": \"DK0+800.000\", \"B6\": \"DK0+900.000\", \"C6\": \"一号隧道\","
      "\"A7\": \"DK0+900.000\", \"B7\": \"DK1+000\", \"E7\": 6250,"
      "\"A8\": \"DK1+000\", \"B8\": \"DK1+150.000\", \"E8\": 12250,"
      "\"A9\": \"合计\", \"B9\": null, \"E9\": 42000, \"A10\": null",
      "\"C4:Q4\", \"C6:Q6\"");
}

TEST_F(EarthworkCommandTest, ChosenRangeOfTheBaseline) {
  SingleTrackDesign();
  CrossSectionDesigner caltsf;
  EarthworkChoice choice;
  choice.wholeLine = 0;
  choice.startText = "DK0+300";
  choice.endText = "DK1+000";  // mileage 950, past the short chain
  choice.lines = EarthworkChoice::kBaseline;
  ASSERT_EQ(caltsf.CmdEarthworkToExcel(choice), 1);
  const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
  ASSERT_EQ(lines.size(), 1u + 7 * 3);
  EXPECT_EQ(lines[0], "300.000 950.000          7");
  EXPECT_EQ(ReadText(DataFile("rxdtsfjsb")), "");  // no detour line chosen, no count line
  // 300 → 750: (40+30)/2·200 + (50+40)/2·200 + 50·50; 850 → 950 as above.
  CheckWorkbook(
      "\"A3\": \"DK0+300.000\", \"B3\": \"DK0+800.000\", \"E3\": 18500,"
      "\"A4\": \"DK0+800.000\", \"C4\": \"一号隧道\","
      "\"A5\": \"DK0+900.000\", \"B5\": \"DK1+000\", \"E5\": 6250,"
      "\"A6\": \"合计\", \"E6\": 24750",
      "\"C4:Q4\"");
}

// A range that is no range of the line is refused before anything is
// written: the files of the last run stay as they were.
TEST_F(EarthworkCommandTest, ARangeWithoutSectionsWritesNothing) {
  SingleTrackDesign();
  {
    CrossSectionDesigner caltsf;
    ASSERT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 1);
  }
  const std::string tsfjsb = ReadText(DataFile("tsfjsb"));
  const std::string detours = ReadText(DataFile("rxdtsfjsb"));
  const std::string sheet = ReadText(DataFile("路基数量表") + ".xlsx");
  // A text of digits alone that reads as no finite number.
  const std::string huge = "DK" + std::string(400, '9');
  const std::string nonFinite = "终止里程\"" + huge + "\"不是里程, 土石方数量未计算!";
  struct Case {
    const char* start;
    const char* end;
    const char* message;
  };
  const Case cases[] = {
      {"abc", "def", "起始里程\"abc\"不是里程, 土石方数量未计算!"},
      {"DK0+100", "DK1e400", "终止里程\"DK1e400\"不是里程, 土石方数量未计算!"},
      {"DK0+100", "", "终止里程\"\"不是里程, 土石方数量未计算!"},
      {"DK0+100", huge.c_str(), nonFinite.c_str()},
      {"DK1+000", "DK0+300", "起始里程DK1+000在终止里程DK0+300之后, 土石方数量未计算!"},
      {"DK5+000", "DK6+000", "里程范围DK5+000～DK6+000内没有横断面, 土石方数量未计算!"},
      {"DK0+110", "DK0+190", "里程范围DK0+110～DK0+190内没有横断面, 土石方数量未计算!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + ".." + c.end);
    CrossSectionDesigner caltsf;
    EarthworkChoice choice;
    choice.wholeLine = 0;
    choice.startText = c.start;
    choice.endText = c.end;
    choice.lines = EarthworkChoice::kBaseline;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(caltsf.CmdEarthworkToExcel(choice), 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_EQ(ReadText(DataFile("tsfjsb")), tsfjsb);
    EXPECT_EQ(ReadText(DataFile("rxdtsfjsb")), detours);
    EXPECT_EQ(ReadText(DataFile("路基数量表") + ".xlsx"), sheet);
    EXPECT_EQ(caltsf.baseline, nullptr);  // every line freed
  }
}

TEST_F(EarthworkCommandTest, DoubleLineWritesABlockForEachDetour) {
  ASSERT_NO_FATAL_FAILURE(DoubleTrackDesign());

  CrossSectionDesigner caltsf;
  ASSERT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 1);
  const std::vector<std::string> lines = Lines(ReadText(DataFile("rxdtsfjsb")));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "1 1");
  EXPECT_EQ(lines[1], "-1 0");
  size_t right = 0;
  for (size_t i = 2; i < lines.size(); ++i)
    if (lines[i] == "1 0") right = i;
  EXPECT_GT(right, 3u) << "no block of the right detour";
  // The command's end frees every line it read.
  EXPECT_EQ(DetourDesigner(-1, 0)->SectionCount(), 0);
  EXPECT_EQ(caltsf.SectionCount(), 0);
}

// The lines of a range run each read the range on their own chainage: the
// baseline through its break table, a detour section through its own. The
// double-track fixture: baseline sections at DK0+100, 0+600, 1+000, 2+500,
// 3+650 (mileage = chainage); the left detour ZK0+500 .. ZK1+703.372 with
// sections at ZK0+500 .. ZK1+000 (mileage = chainage, the bridge ZK0+600 ..
// 0+650 and the tunnel ZK0+800 .. 0+900); the right detour from YK2+200
// (sections YK2+200 .. 2+700). A range that holds a section of no chosen
// line is refused and writes nothing; one that holds sections of a detour
// alone gives that detour's block.
TEST_F(EarthworkCommandTest, EachChosenLineReadsTheRangeOnItsOwnChainage) {
  ASSERT_NO_FATAL_FAILURE(DoubleTrackDesign());

  constexpr int kBaseline = EarthworkChoice::kBaseline;
  constexpr int kLeft = EarthworkChoice::kLeftDetours;
  constexpr int kAll = EarthworkChoice::kAllLines;
  const char* kOffTheLine = "在线路上没有其位置";
  struct Case {
    const char* what;
    const char* start;
    const char* end;
    int lines;
    int result;
    const char* baselineHead;  // tsfjsb's first line, or "" when it is not written
    const char* detourBlocks;  // the block heads of rxdtsfjsb ("side index|start end;..."), or "-" when not written
    const char* message;       // a message shown, or ""
    bool quiet;                // no text is looked for on a line it does not belong to
  };
  const Case cases[] = {
      {"the baseline alone", "DK0+500", "DK1+000", kBaseline, 1, "500.000 1000.000          2", "", "", true},
      {"the detours alone, on the left detour's chainage", "ZK0+650", "ZK0+750", kLeft, 1, "",
       "-1 0|650.000 750.000;", "", true},
      {"every line, a range with left-detour sections only", "ZK0+650", "ZK0+750", kAll, 1, "",
       "-1 0|650.000 750.000;", "", false},
      {"every line, nothing on any", "ZK1+100", "ZK1+200", kAll, 0, "", "-",
       "里程范围ZK1+100～ZK1+200内没有横断面, 土石方数量未计算!", false},
      {"the detours alone, backwards on the detour", "ZK0+900", "ZK0+700", kLeft, 0, "", "-",
       "起始里程ZK0+900在终止里程ZK0+700之后, 土石方数量未计算!", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(DataFile("tsfjsb"));
    std::filesystem::remove(DataFile("rxdtsfjsb"));
    std::filesystem::remove(DataFile("路基数量表") + ".xlsx");
    CrossSectionDesigner caltsf;
    EarthworkChoice choice;
    choice.wholeLine = 0;
    choice.startText = c.start;
    choice.endText = c.end;
    choice.lines = c.lines;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(caltsf.CmdEarthworkToExcel(choice), c.result);
    if (*c.message) {
      EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    }
    // A text typed on the left detour's chainage is looked for on the
    // baseline (and the right detour) only when they are chosen.
    if (c.quiet) {
      EXPECT_FALSE(transcript.contains(kOffTheLine)) << transcript.text();
    }
    if (*c.baselineHead) {
      const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines[0], c.baselineHead);
    } else {
      EXPECT_FALSE(std::filesystem::exists(DataFile("tsfjsb")));
    }
    if (std::string(c.detourBlocks) == "-") {
      EXPECT_FALSE(std::filesystem::exists(DataFile("rxdtsfjsb")));
      EXPECT_FALSE(std::filesystem::exists(DataFile("路基数量表") + ".xlsx"));
      continue;
    }
    // The block heads: a line "side index" followed by the range line.
    const std::vector<std::string> lines = Lines(ReadText(DataFile("rxdtsfjsb")));
    std::string heads;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == "-1 0" || lines[i] == "1 0") heads += lines[i] + "|" + lines[i + 1] + ";";
    EXPECT_EQ(heads, c.detourBlocks);
  }
}

TEST_F(EarthworkCommandTest, RefusesToRunBeforeADesign) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner caltsf;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 0);
  EXPECT_TRUE(transcript.contains("请先进行横断面设计!"));
  EXPECT_FALSE(std::filesystem::exists(DataFile("tsfjsb")));
}

// A ylex that holds no line kind is no design: the command stops with its
// message, saying what the file holds.
TEST_F(EarthworkCommandTest, YlexWithoutALineKindStopsTheCommand) {
  struct Case {
    const char* ylex;
    const char* shown;  // what the command line says of it, or ""
  };
  const Case cases[] = {{"", ""}, {"三线", "中的线路类型\"三线\"不是单线、双线或预留二线"},
                        {"double", "中的线路类型\"double\"不是单线、双线或预留二线"}};
  SingleTrackDesign();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ylex);
    fixtures::writeTextFile(DataFile("ylex"), c.ylex);
    std::filesystem::remove(DataFile("tsfjsb"));
    CrossSectionDesigner caltsf;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 0);
    EXPECT_TRUE(transcript.contains("请先进行横断面设计!"));
    EXPECT_TRUE(transcript.contains(c.shown)) << transcript.text();
    EXPECT_FALSE(std::filesystem::exists(DataFile("tsfjsb")));
  }
}

TEST_F(EarthworkCommandTest, MissingResultFilesStopTheCommand) {
  SingleTrackDesign();
  std::filesystem::remove(DataFile("HdmDetailArea"));
  CrossSectionDesigner caltsf;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 0);
  EXPECT_TRUE(transcript.contains("HdmDetailArea"));
  EXPECT_FALSE(std::filesystem::exists(DataFile("tsfjsb")));
  EXPECT_EQ(caltsf.baseline, nullptr);  // every line freed
}

}  // namespace
