// The settings dialog 2001 over a copy of the sample scheme: it opens with
// the range of the break table in its controls, its OK gives the plan model
// the settings chosen, draws the plan (or not) and writes the scale file; the
// line mode of the project decides the side-line prefixes; a .pmcs file saved
// from it keeps a path with blanks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "PlanSettingsDlg.h"
#include "brevell/resources/PlanResources.h"
#include "brevell/plan_commands_support.h"
#include "win/answers.h"

namespace {

using namespace plantest;
namespace fs = std::filesystem;

// Notes what the controls show when the dialog is cancelled.
class ShownSettingsDlg : public CPlanSettingsDlg {
 public:
  void OnCancel() override {
    for (int id : {IDC_DATABASE_PATH, IDC_START_CHAINAGE, IDC_END_CHAINAGE, IDC_LEFT_PREFIX, IDC_RIGHT_PREFIX,
                   IDC_PLOT_SCALE, IDC_CHAINAGE_STYLE}) {
      CString text;
      GetDlgItemText(id, text);
      shown[id] = text.GetString();
      enabled[id] = GetDlgItem(id)->IsWindowEnabled();
    }
    CPlanSettingsDlg::OnCancel();
  }
  std::map<int, std::string> shown;
  std::map<int, bool> enabled;
};

using PlanSettingsDialog = PlanCommandTest;

TEST_F(PlanSettingsDialog, OpensWithTheRangeOfTheBreakTableInItsControls) {
  AnswerDialog("IDCANCEL");
  ShownSettingsDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  // The sample's 断链表 runs from DK 25000 to D1K 45221.859.
  EXPECT_EQ(dlg.shown[IDC_DATABASE_PATH], m_dbWindows);
  EXPECT_EQ(dlg.shown[IDC_START_CHAINAGE], "DK25+000.000");
  EXPECT_EQ(dlg.shown[IDC_END_CHAINAGE], "D1K45+221.859");
  EXPECT_EQ(dlg.shown[IDC_LEFT_PREFIX], "ZJD");  // the sample has left and right lines
  EXPECT_EQ(dlg.shown[IDC_RIGHT_PREFIX], "YJD");
  EXPECT_TRUE(dlg.enabled[IDC_LEFT_PREFIX]);
  EXPECT_EQ(dlg.shown[IDC_PLOT_SCALE], "2000");
  EXPECT_EQ(dlg.shown[IDC_CHAINAGE_STYLE], "百米标");
  // The connection text is set as soon as the path is there, even after Cancel.
  EXPECT_EQ(std::string(ThePlanState().connection.GetString()),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + m_dbWindows);
  EXPECT_EQ(ThePlanState().model, nullptr);
}

TEST_F(PlanSettingsDialog, ASingleLineProjectLocksTheSidePrefixes) {
  SetLineKind(1);
  AnswerDialog("IDCANCEL");
  ShownSettingsDlg dlg;
  dlg.DoModal();
  EXPECT_EQ(dlg.shown[IDC_LEFT_PREFIX], "单线铁路");
  EXPECT_EQ(dlg.shown[IDC_RIGHT_PREFIX], "单线铁路");
  EXPECT_FALSE(dlg.enabled[IDC_LEFT_PREFIX]);
  EXPECT_FALSE(dlg.enabled[IDC_RIGHT_PREFIX]);
}

TEST_F(PlanSettingsDialog, ScaleChangesTheChainageStyle) {
  struct Case {
    const char* words;
    const char* style;
  };
  const Case cases[] = {
      {"249=10000", "公里标"},       {"249=500000", "二十五公里标"}, {"249=100000", "十公里标"},
      {"249:=30000", "五公里标"},    {"249:=5001", "百米标"},        {"249=20000 2253=五百米标", "五百米标"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    AnswerDialog(std::string(c.words) + " IDCANCEL");
    ShownSettingsDlg dlg;
    dlg.DoModal();
    EXPECT_EQ(dlg.shown[IDC_CHAINAGE_STYLE], c.style);
  }
}

TEST_F(PlanSettingsDialog, OkGivesTheModelItsSettings) {
  // s = scale / 1000; text height and width × s; direction −1 for 从左往右;
  // 黑白 1; the label side; the mark interval of the style.
  struct Case {
    const char* words;
    double s, textHeight, width;
    int direction;
    bool blackAndWhite;
    double interval;
    int chainageDigits;
  };
  const Case cases[] = {
      {"249=5000 250=3 251=0.5 2081=1", 5.0, 15.0, 2.5, 1, true, 100, 2},
      {"249=10000 259=1 2161=3位", 10.0, 40.0, 7.0, -1, false, 1000, 3},
      {"249:=2500 250=2 2253=五百米标 207=1", 2.5, 5.0, 1.75, -1, true, 500, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    AnswerDialog(std::string(c.words) + " 2201=1 IDOK");  // 编辑原图: no drawing
    CPlanSettingsDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK) << transcript.text();
    const AlignmentModel* model = ThePlanState().model;
    ASSERT_NE(model, nullptr);
    const PlanSettings& p = model->settings;
    EXPECT_DOUBLE_EQ(p.scaleFactor, c.s);
    EXPECT_DOUBLE_EQ(p.textHeight, c.textHeight);
    EXPECT_DOUBLE_EQ(p.centerlineWidth, c.width);
    EXPECT_EQ(p.direction, c.direction);
    EXPECT_EQ(p.directionSetting, c.direction);
    EXPECT_EQ(p.blackAndWhite, c.blackAndWhite);
    EXPECT_DOUBLE_EQ(p.chainageMarkInterval, c.interval);
    EXPECT_EQ(p.chainageDigits, c.chainageDigits);
    EXPECT_EQ(p.labelSide, 0);
    EXPECT_EQ(std::string(p.startChainage), "DK25+000.000");
    EXPECT_EQ(std::string(p.endChainage), "D1K45+221.859");
    // The sample has a left and a right line (line kind 2).
    EXPECT_TRUE(model->Line(kLeftLine).loaded);
    EXPECT_TRUE(model->Line(kRightLine).loaded);
    EXPECT_FALSE(p.sideLineMode);
    EXPECT_TRUE(drawbasetest::ModelSpaceIds().empty());  // 编辑原图 draws nothing
  }
}

TEST_F(PlanSettingsDialog, LabelSideAndSingleLine) {
  SetLineKind(1);
  const std::pair<const char*, int> cases[] = {{"曲线左侧", -1}, {"曲线右侧", 1}, {"曲线内侧", 0}};
  for (const auto& [position, side] : cases) {
    SCOPED_TRACE(position);
    AnswerDialog(std::string("246=") + position + " 2201=1 IDOK");
    CPlanSettingsDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_NE(ThePlanState().model, nullptr);
    EXPECT_EQ(ThePlanState().model->settings.labelSide, side);
    EXPECT_FALSE(ThePlanState().model->Line(kLeftLine).loaded);  // no side line on a single line
  }
}

TEST_F(PlanSettingsDialog, OkDrawsThePlanAndWritesTheScaleFile) {
  SetLineKind(3);
  AnswerDialog("249=5000 IDOK");
  CPlanSettingsDlg dlg;
  ASSERT_EQ(dlg.DoModal(), IDOK);
  ASSERT_NE(ThePlanState().model, nullptr);
  EXPECT_TRUE(ThePlanState().model->settings.sideLineMode);  // line kind 3
  EXPECT_EQ(ThePlanState().schemeName, "方案1");
  EXPECT_TRUE(transcript.contains(m_dbWindows));
  EXPECT_GT(Contents("里程").count, 0u);
  EXPECT_GT(Contents("线路中线").count, 0u);
  std::ifstream scale(m_project / "data" / "SCALE.方案1", std::ios::binary);
  std::string line;
  std::getline(scale, line);
  EXPECT_EQ(line, "5000\r");
  // The structures are drawn by the commands, not by the dialog.
  EXPECT_EQ(Contents("大中桥").count, 0u);
}

// A value the plan cannot be drawn with keeps the dialog open with its
// message; the next answer's OK then builds the plan. The sample's base line
// runs from DK25+000 to D1K45+222.
TEST_F(PlanSettingsDialog, ValuesThePlanCannotBeDrawnWithKeepTheDialogOpen) {
  struct Case {
    const char* words;
    const char* message;
  };
  const Case cases[] = {
      {"249:=abc", "出图比例abc不是正数!"},
      {"249:=0", "出图比例0不是正数!"},
      {"249:=-2000", "出图比例-2000不是正数!"},
      {"249:=inf", "出图比例inf不是正数!"},
      {"249:=nan", "出图比例nan不是正数!"},
      {"249:=2000abc", "出图比例2000abc不是正数!"},
      {"249:=1e308", "出图比例1:1e308不在1:100到1:500000之间!"},
      {"249:=1", "出图比例1:1不在1:100到1:500000之间!"},
      {"249:=0.5", "出图比例1:0.5不在1:100到1:500000之间!"},
      {"249:=99", "出图比例1:99不在1:100到1:500000之间!"},
      {"249:=500001", "出图比例1:500001不在1:100到1:500000之间!"},
      {"250=0", "字高0应大于0且不大于100(毫米)!"},
      {"250=-4", "字高-4应大于0且不大于100(毫米)!"},
      {"250=1e300", "字高1e+300应大于0且不大于100(毫米)!"},
      {"251=-0.1", "中线宽度-0.1应在0到10(毫米)之间!"},
      {"251=11", "中线宽度11应在0到10(毫米)之间!"},
      {"2031=abc", "起始里程\"abc\"不是里程!"},
      {"2041=DK1e400", "终止里程\"DK1e400\"不是里程!"},
      {"2031=DK30+000 2041=DK26+000", "起始里程DK30+000在终止里程DK26+000之后!"},
      {"2031=DK1+000 2041=DK2+000", "绘图范围DK1+000～DK2+000不在线路上!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    transcript.clear();
    AnswerDialog(std::string(c.words) + " IDOK");
    AnswerDialog("249=2000 250=4 251=0.7 2031=DK25+000 2041=DK26+000 2201=1 IDOK");
    CPlanSettingsDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    ASSERT_NE(ThePlanState().model, nullptr);
    EXPECT_DOUBLE_EQ(ThePlanState().model->settings.scaleFactor, 2.0);
  }
  // The extremes of the range are scales like any other.
  for (const char* scale : {"100", "500000"}) {
    SCOPED_TRACE(scale);
    AnswerDialog(std::string("249:=") + scale + " 2201=1 IDOK");
    CPlanSettingsDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(ThePlanState().model->settings.scaleFactor, std::atof(scale) * 0.001);
  }
}

// A database that cannot be opened is no scheme: its OK writes no scale file
// for it (SCALE.none beside the project's own).
TEST_F(PlanSettingsDialog, ADatabaseThatCannotBeOpenedGetsNoScaleFile) {
  AnswerDialog("217=\"" + platform::toWindowsPath((m_project / "data" / "none.mdb").string()) + "\" 2201=1 IDOK");
  CPlanSettingsDlg dlg;
  dlg.DoModal();
  EXPECT_TRUE(transcript.contains("连接数据库失败!")) << transcript.text();
  EXPECT_FALSE(fs::exists(m_project / "data" / "SCALE.none"));
}

TEST_F(PlanSettingsDialog, CulvertBoxesExcludeEachOther) {
  struct Case {
    const char* words;
    int all, crossing;
  };
  const Case cases[] = {{"2312=1 2313=1", 0, 1}, {"2313=1 2312=1", 1, 0}, {"2312=1", 1, 0}, {"2313=1", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    AnswerDialog(std::string(c.words) + " 2201=1 IDOK");
    CPlanSettingsDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_settings.allCulverts, c.all);
    EXPECT_EQ(dlg.m_settings.crossingCulverts, c.crossing);
  }
}

TEST_F(PlanSettingsDialog, SettingsSavedAndLoadedThroughTheDialog) {
  const fs::path folder = m_dir / "my settings";
  fs::create_directories(folder);
  const std::string file = platform::toWindowsPath((folder / "a.pmcs").string());
  // Saved with the scale 10000 and the bridges ticked ...
  AnswerDialog("249=10000 2261=1 2221 IDCANCEL");
  platform::queueAnswer("file", file);
  {
    CPlanSettingsDlg dlg;
    dlg.DoModal();
  }
  ASSERT_TRUE(fs::exists(folder / "a.pmcs")) << transcript.text();
  // ... loaded into a dialog that opened with the defaults.
  AnswerDialog("2211 2201=1 IDOK");
  platform::queueAnswer("file", file);
  CPlanSettingsDlg dlg;
  ASSERT_EQ(dlg.DoModal(), IDOK) << transcript.text();
  EXPECT_EQ(dlg.m_settings.plotScale, "10000");
  EXPECT_EQ(dlg.m_settings.bridges, 1);
  EXPECT_EQ(std::string(dlg.m_settings.databasePath.GetString()), m_dbWindows);  // the blank of "my proj" kept
  EXPECT_DOUBLE_EQ(ThePlanState().model->settings.scaleFactor, 10.0);
}

TEST_F(PlanSettingsDialog, DatabasePathChangesThatFail) {
  struct Case {
    const char* words;
    const char* message;
    const char* connection;  // the connection text after it
  };
  const Case cases[] = {
      {"217=", "未指定数据库!", nullptr},
      {"217=Z:\\nowhere\\甲.mdb", "数据库连接失败，确认Z:\\nowhere\\甲.mdb是否在当前路径下!",
       "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Z:\\nowhere\\甲.mdb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    transcript.clear();
    AnswerDialog(std::string(c.words) + " IDCANCEL");
    CPlanSettingsDlg dlg;
    dlg.DoModal();
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    if (c.connection) {
      EXPECT_EQ(std::string(ThePlanState().connection.GetString()), c.connection);
    }
    EXPECT_EQ(ThePlanState().model, nullptr);
  }
}

}  // namespace

namespace {

TEST_F(PlanSettingsDialog, ASettingsFileNamingAnotherDatabaseMovesTheConnection) {
  PlanDialogSettings saved;
  saved.databasePath = "D:\\other projects\\data\\方案2.mdb";
  saved.plotScale = "5000";
  const fs::path file = m_dir / "other.pmcs";
  ASSERT_TRUE(SavePlanSettingsFile(file.c_str(), saved));
  AnswerDialog("2211 IDCANCEL");
  platform::queueAnswer("file", platform::toWindowsPath(file.string()));
  ShownSettingsDlg dlg;
  dlg.DoModal();
  EXPECT_EQ(dlg.shown[IDC_DATABASE_PATH], "D:\\other projects\\data\\方案2.mdb");
  EXPECT_EQ(dlg.shown[IDC_PLOT_SCALE], "5000");
  // The structure commands read the database the plan would be drawn from.
  EXPECT_EQ(std::string(ThePlanState().connection.GetString()),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\other projects\\data\\方案2.mdb");
}

}  // namespace
