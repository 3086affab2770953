// The .pmcs settings file: 21 whole lines, so a database path with blanks
// comes back; a file of single words written by earlier versions loads; an
// over-long value, a short file or a bad number is refused with a message and
// changes nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "PlanDialogSettings.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace {

namespace fs = std::filesystem;

class PlanSettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::path(::testing::TempDir()) /
            ("pmcs_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "my settings");
  }
  void TearDown() override {
    fs::remove_all(m_dir);
    platform::clearAnswers();
  }
  // The lines of a file as the program wrote it (CRLF line ends).
  static std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  // Every saved setting set away from its default.
  static PlanDialogSettings Changed() {
    PlanDialogSettings s;
    s.databasePath = "D:\\My Projects\\线路 A\\data\\方案1.mdb";
    s.startChainage = "DK25+000.000";
    s.endChainage = "D1K45+221.859";
    s.drawingMode = 1;
    s.direction = 1;
    s.plotScale = "10000";
    s.basePrefix = "JD";
    s.leftPrefix = "ZJD";
    s.rightPrefix = "单线铁路";
    s.chainagePrecision = "3位";
    s.bridges = 1;
    s.tunnels = 0;
    s.stations = 1;
    s.traverse = 0;
    s.benchMarks = 1;
    s.allCulverts = 1;
    s.labelPosition = "曲线右侧";
    s.chainageStyle = "五百米标";
    s.textHeight = 3.5;
    s.centerlineWidth = 0.25;
    s.colour = 1;
    return s;
  }
  fs::path m_dir;
  platform::TranscriptCapture transcript;
};

TEST_F(PlanSettingsFile, SavesTwentyOneLines) {
  const fs::path file = m_dir / "my settings" / "a.pmcs";
  ASSERT_TRUE(SavePlanSettingsFile(file.c_str(), Changed()));
  // GBK on disk; the lines compared here are ASCII or compared by length.
  const std::vector<std::string> lines = Lines(file);
  ASSERT_EQ(lines.size(), 21u);
  const std::vector<std::pair<int, std::string>> expected = {
      {2, "DK25+000.000"}, {3, "D1K45+221.859"}, {4, "1"},  {5, "1"},  {6, "10000"}, {7, "JD"}, {8, "ZJD"},
      {11, "1"},           {12, "-1"},           {13, "1"}, {14, "-1"}, {15, "1"},    {16, "1"},
      {19, "3.500000"},    {20, "0.250000"},     {21, "1"},
  };
  for (const auto& [line, text] : expected) EXPECT_EQ(lines[line - 1], text) << "line " << line;
}

TEST_F(PlanSettingsFile, RoundTripKeepsBlanksAndLeavesTheOtherSettings) {
  const fs::path file = m_dir / "my settings" / "a.pmcs";
  const PlanDialogSettings saved = Changed();
  ASSERT_TRUE(SavePlanSettingsFile(file.c_str(), saved));
  PlanDialogSettings loaded;  // defaults, with the settings the file does not hold changed
  loaded.crossingCulverts = 1;
  loaded.showDatabase = 1;
  loaded.flagPrecision = "4位";
  loaded.deflectionPrecision = "3位";
  loaded.benchLevelPrecision = "6位";
  ASSERT_TRUE(LoadPlanSettingsFile(file.c_str(), loaded)) << transcript.text();
  EXPECT_EQ(loaded.databasePath, saved.databasePath);
  EXPECT_EQ(loaded.startChainage, saved.startChainage);
  EXPECT_EQ(loaded.endChainage, saved.endChainage);
  EXPECT_EQ(loaded.drawingMode, 1);
  EXPECT_EQ(loaded.direction, 1);
  EXPECT_EQ(loaded.plotScale, "10000");
  EXPECT_EQ(loaded.rightPrefix, "单线铁路");
  EXPECT_EQ(loaded.chainagePrecision, "3位");
  EXPECT_EQ(loaded.bridges, 1);
  EXPECT_EQ(loaded.tunnels, 0);
  EXPECT_EQ(loaded.stations, 1);
  EXPECT_EQ(loaded.traverse, 0);
  EXPECT_EQ(loaded.benchMarks, 1);
  EXPECT_EQ(loaded.allCulverts, 1);
  EXPECT_EQ(loaded.labelPosition, "曲线右侧");
  EXPECT_EQ(loaded.chainageStyle, "五百米标");
  EXPECT_DOUBLE_EQ(loaded.textHeight, 3.5);
  EXPECT_DOUBLE_EQ(loaded.centerlineWidth, 0.25);
  EXPECT_EQ(loaded.colour, 1);
  // Not in the file: as they were.
  EXPECT_EQ(loaded.crossingCulverts, 1);
  EXPECT_EQ(loaded.showDatabase, 1);
  EXPECT_EQ(loaded.flagPrecision, "4位");
  EXPECT_EQ(loaded.deflectionPrecision, "3位");
  EXPECT_EQ(loaded.benchLevelPrecision, "6位");
}

TEST_F(PlanSettingsFile, OldSingleWordFileLoads) {
  // As the earlier writer left it: one word a line, an empty value as an
  // empty line, 0 for a box that was never ticked.
  const fs::path file = m_dir / "old.pmcs";
  Write(file,
        "D:\\proj\\data\\A.mdb\r\nDK1+000\r\n\r\n0\r\n1\r\n5000\r\nJD\r\nZJD\r\nYJD\r\n2位\r\n"
        "0\r\n1\r\n-1\r\n-1\r\n2\r\n-1\r\n曲线内侧\r\n公里标\r\n4.000000\r\n0.700000\r\n0\r\n");
  PlanDialogSettings s;
  s.endChainage = "was here";
  ASSERT_TRUE(LoadPlanSettingsFile(file.c_str(), s)) << transcript.text();
  EXPECT_EQ(s.databasePath, "D:\\proj\\data\\A.mdb");
  EXPECT_EQ(s.startChainage, "DK1+000");
  EXPECT_EQ(s.endChainage, "");
  EXPECT_EQ(s.direction, 1);
  EXPECT_EQ(s.plotScale, "5000");
  EXPECT_EQ(s.chainagePrecision, "2位");
  EXPECT_EQ(s.bridges, 0);  // 0 leaves the box clear
  EXPECT_EQ(s.tunnels, 1);
  EXPECT_EQ(s.benchMarks, 1);  // any number above 0 ticks it
  EXPECT_EQ(s.chainageStyle, "公里标");
  EXPECT_DOUBLE_EQ(s.textHeight, 4.0);
}

TEST_F(PlanSettingsFile, RefusedFilesChangeNothing) {
  const std::string good =
      "D:\\p\\A.mdb\nK0\nK9\n0\n0\n2000\nJD\nZJD\nYJD\n2位\n1\n1\n1\n1\n1\n1\n曲线内侧\n百米标\n4\n0.7\n0\n";
  auto replaced = [&](int line, const std::string& text) {
    std::istringstream in(good);
    std::string out, l;
    for (int i = 1; std::getline(in, l); ++i) out += (i == line ? text : l) + "\n";
    return out;
  };
  struct Case {
    const char* name;
    std::string content;
    const char* message;  // part of the message box's text
  };
  const Case cases[] = {
      {"long path", replaced(1, "D:\\" + std::string(300, 'a')), "第1行的值过长(最多259字节)"},
      {"long prefix", replaced(7, std::string(10, 'J') + "交点交点交点"), "第7行的值过长(最多19字节)"},
      {"long line", replaced(2, std::string(5000, 'K')), "第2行过长"},
      {"short file", good.substr(0, good.find("曲线内侧")), "只有16行,应有21行"},
      {"bad number", replaced(19, "四"), "第19行不是数值"},
      {"not finite", replaced(20, "inf"), "第20行不是数值"},
      {"bad box", replaced(12, "1x"), "第12行不是整数"},
      {"bad mode", replaced(4, "2"), "第4行不是0或1"},
      {"empty file", "", "只有0行"},
      {"precision far too fine", replaced(10, "99位"), "第10行: 里程精度99位不是1位、2位、3位或4位"},
      {"scale of 1:1", replaced(6, "1"), "第6行: 出图比例1:1不在1:100到1:500000之间"},
      {"scale no number", replaced(6, "abc"), "第6行: 出图比例abc不是正数"},
      {"text height 0", replaced(19, "0"), "第19行: 字高0应大于0且不大于100(毫米)"},
      {"text height huge", replaced(19, "1e300"), "第19行: 字高1e+300应大于0且不大于100(毫米)"},
      {"negative width", replaced(20, "-1"), "第20行: 中线宽度-1应在0到10(毫米)之间"},
      // A NUL byte would cut the value unseen (and a number after it would
      // still read): the line is damaged.
      {"NUL in a text", replaced(2, std::string("DK1\v\0+000", 9)), "第2行含有空字符(0)"},
      {"NUL after a number", replaced(11, std::string("1\0x", 3)), "第11行含有空字符(0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = m_dir / "bad.pmcs";
    Write(file, c.content);
    PlanDialogSettings s;
    s.databasePath = "unchanged";
    transcript.clear();
    EXPECT_FALSE(LoadPlanSettingsFile(file.c_str(), s));
    EXPECT_EQ(s.databasePath, "unchanged");
    EXPECT_EQ(s.bridges, 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_TRUE(transcript.contains(file.string())) << transcript.text();
  }
}

TEST_F(PlanSettingsFile, NumbersAreSavedSoThatTheyLoadAgain) {
  // Six decimals when they give the value back, as the file always had them;
  // else the fewest significant digits (15 to 17) that do.
  const struct {
    double value;
    const char* line;
  } cases[] = {
      {3.5, "3.500000"},
      {0.7, "0.700000"},
      {100.0, "100.000000"},
      {1e-7, "1e-07"},
      {1e-30, "1e-30"},
      {4.1234567, "4.1234567"},
      {0.0000005, "5e-07"},
      {2.0 / 3.0, "0.6666666666666666"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const fs::path file = m_dir / "numbers.pmcs";
    PlanDialogSettings s;
    s.textHeight = c.value;
    s.centerlineWidth = 0.25;
    ASSERT_TRUE(SavePlanSettingsFile(file.c_str(), s));
    const std::vector<std::string> lines = Lines(file);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[18], c.line);
    EXPECT_EQ(lines[19], "0.250000");
    PlanDialogSettings loaded;
    ASSERT_TRUE(LoadPlanSettingsFile(file.c_str(), loaded)) << transcript.text();
    EXPECT_EQ(loaded.textHeight, c.value);
  }
}

TEST_F(PlanSettingsFile, AGbkFileThatIsAlsoUtf8LoadsAsWritten) {
  // Saved with ASCII texts, the file's only Chinese is 位 of "3位" (GBK CE BB),
  // which is also UTF-8 ("λ"): it loads as the GBK it was written in.
  const fs::path file = m_dir / "ambiguous.pmcs";
  PlanDialogSettings saved;
  saved.databasePath = "D:\\p\\A.mdb";
  saved.chainagePrecision = "3位";
  saved.labelPosition = "left";
  saved.chainageStyle = "km";
  ASSERT_TRUE(SavePlanSettingsFile(file.c_str(), saved));
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(bytes.find("\r\n3\xCE\xBB\r\n"), std::string::npos);
  PlanDialogSettings loaded;
  ASSERT_TRUE(LoadPlanSettingsFile(file.c_str(), loaded)) << transcript.text();
  EXPECT_EQ(loaded.chainagePrecision, "3位");
  EXPECT_EQ(loaded.labelPosition, "left");
  EXPECT_EQ(loaded.chainageStyle, "km");
  EXPECT_EQ(transcript.text(), "");

  // The same settings written as UTF-8 by hand load as UTF-8, Chinese texts and all.
  Write(file, "D:\\p\\A.mdb\nK0\nK9\n0\n0\n2000\nJD\nZJD\nYJD\n3位\n1\n1\n1\n1\n1\n1\n曲线内侧\n百米标\n4\n0.7\n0\n");
  ASSERT_TRUE(LoadPlanSettingsFile(file.c_str(), loaded)) << transcript.text();
  EXPECT_EQ(loaded.chainagePrecision, "3位");
  EXPECT_EQ(loaded.labelPosition, "曲线内侧");
  EXPECT_EQ(loaded.chainageStyle, "百米标");
}

TEST_F(PlanSettingsFile, MissingFilesAreReported) {
  PlanDialogSettings s;
  EXPECT_FALSE(LoadPlanSettingsFile((m_dir / "none.pmcs").c_str(), s));
  EXPECT_TRUE(transcript.contains("不能访问此文件，读取失败!"));
  EXPECT_FALSE(SavePlanSettingsFile((m_dir / "no folder" / "a.pmcs").c_str(), s));
  EXPECT_TRUE(transcript.contains("不能建立此文件，保存失败!"));
}

}  // namespace
