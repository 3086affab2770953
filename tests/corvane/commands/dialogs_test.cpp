// The dialogs of the cross-section commands, answered as a person would
// through the answer queue: the design dialog's line kind and reserved-line
// radios and its origin pick, the ground-line dialog's output file and
// browse, the option dialogs' hand-over to the command bodies, and the slope
// dialog's rows; the templates' radio groups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "arx/prompt_input.h"
#include "dialogs/AutoDesignDlg.h"
#include "dialogs/CommandOptionDlgs.h"
#include "dialogs/ExtractGroundLineDlg.h"
#include "dialogs/SlopeWidthDlg.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"
#include "fixtures/project_fixture.h"
#include "resources/CorvaneResources.h"
#include "win/answers.h"
#include "win/resources.h"
#include "win/transcript.h"

namespace {

class CorvaneDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterCorvaneResources();
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("P"));
    fixtures::writeProjectFile(m_projects.linuxPath("P"), "S1");
    WriteLineKind(1);
  }
  void TearDown() override {
    SetModulePathSource(m_previous);
    platform::clearAnswers();
    platform::clearPromptTokens();
  }
  void WriteLineKind(int kind) {
    fixtures::TechParamsData data;
    data.speed = 160;
    data.lineKind = static_cast<int16_t>(kind);
    fixtures::writeTechParamsFile(m_projects.linuxPath("P/data/jishucanshu.dat"), data);
  }
  static void Answer(const std::string& line) {
    std::string error;
    ASSERT_TRUE(platform::queueAnswerLine(line, &error)) << error;
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

TEST_F(CorvaneDialogs, AutoDesignLineKindAndReservedLineRadios) {
  struct Case {
    const char* name;
    int techKind;        // the line-kind code of the technical parameters
    const char* words;   // what the person does
    const char* kind;    // the line kind read
    int reserved;
    int mode;
    const char* chosen;  // the line kind the design stores
  } const cases[] = {
      {"single line: radios off", 1, "IDOK", "单线", 0, 0, "单线"},
      {"double line: radios off", 2, "IDOK", "双线", 0, 0, "双线"},
      {"reserved line starts as double", 3, "IDOK", "预留二线", 1, 2, "双线"},
      {"reserved line designed as single", 3, "275 IDOK", "预留二线", 1, 1, "单线"},
      {"reserved line: single, then double again", 0, "275 276 IDOK", "预留二线", 1, 2, "双线"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteLineKind(c.techKind);
    Answer(std::string("@2005 ") + c.words);
    CAutoDesignDlg dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.m_lineKind.GetString(), c.kind);
    EXPECT_EQ(dialog.m_reserved, c.reserved);
    EXPECT_EQ(dialog.m_designMode, c.mode);
    EXPECT_STREQ(dialog.ChosenLineKind().GetString(), c.chosen);
    EXPECT_EQ(dialog.m_schemePath, CString(m_projects.windowsPath("P\\data\\S1.mdb").c_str()));
    const AutoDesignOptions o = dialog.Options();
    EXPECT_EQ(o.reservedLineFlag, c.reserved);
    EXPECT_EQ(o.reservedLineChoice, c.mode);
    EXPECT_EQ(platform::pendingAnswers(), 0u);
  }
}

TEST_F(CorvaneDialogs, AutoDesignPickTruncatesTowardZeroOnlyWhenDrawing) {
  struct Case {
    const char* words;
    const char* point;  // the point given at the prompt, or none
    double x, y;
    int draw;
    double scale;
  } const cases[] = {
      {"210=1 2132 IDOK", "1234.9,-56.7", 1234.0, -56.0, 1, 200.0},
      {"210=1 2132 IDOK", "-0.9,99.99", 0.0, 99.0, 1, 200.0},
      {"210=1 216=500 2132 IDOK", "7.5,8.5", 7.0, 8.0, 1, 500.0},  // the typed scale stays
      {"2132 IDOK", nullptr, 0.0, 0.0, 0, 200.0},  // not drawing: no pick
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    Answer(std::string("@2005 ") + c.words);
    if (c.point) platform::queuePromptToken(c.point);
    CAutoDesignDlg dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const AutoDesignOptions o = dialog.Options();
    EXPECT_EQ(o.originX, c.x);
    EXPECT_EQ(o.originY, c.y);
    EXPECT_EQ(o.draw, c.draw);
    EXPECT_EQ(o.scaleDenominator, c.scale);
  }
}

TEST_F(CorvaneDialogs, AutoDesignBrowseTakesASchemeDatabase) {
  struct Case {
    const char* file;
    std::string expected;
  } const cases[] = {
      {"\"D:\\OTHER\\B\"", "D:\\OTHER\\B.mdb"},  // the default extension
      {"\"D:\\OTHER\\B.mdb\"", "D:\\OTHER\\B.mdb"},
      {"cancel", m_projects.windowsPath("P\\data\\S1.mdb")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Answer("@2005 2002 IDOK");
    Answer(std::string("@file ") + c.file);
    CAutoDesignDlg dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::string(dialog.m_schemePath.GetString()), c.expected);
  }
}

TEST_F(CorvaneDialogs, AutoDesignWithoutAProjectOpensEmpty) {
  std::remove(m_install.linuxPath("workdir").c_str());
  Answer("@2005 IDOK");
  Answer("@msg IDOK");
  CAutoDesignDlg dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.m_schemePath.IsEmpty());
  EXPECT_TRUE(dialog.m_lineKind.IsEmpty());
  EXPECT_EQ(dialog.m_designMode, 0);
}

TEST_F(CorvaneDialogs, GroundLineOutputFileAndBrowse) {
  struct Case {
    const char* words;
    const char* file;      // the file dialog's answer, or none
    std::string expected;  // the output path handed back
  } const cases[] = {
      {"IDOK", nullptr, m_projects.windowsPath("P\\data\\S1.dmx")},
      {"2221 IDOK", "D:\\OUT\\lines", "D:\\OUT\\lines.dmx"},  // the default extension
      {"2221 IDOK", "D:\\OUT\\lines.txt", "D:\\OUT\\lines.txt"},
      {"2221 IDOK", "cancel", m_projects.windowsPath("P\\data\\S1.dmx")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    Answer(std::string("@206 ") + c.words);
    if (c.file) Answer(std::string("@file ") + (std::strcmp(c.file, "cancel") ? "\"" + std::string(c.file) + "\"" : "cancel"));
    CExtractGroundLineDlg dialog(nullptr, "DK1+000", "DK2+000");
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::string(dialog.m_outputPath.GetString()), c.expected);
    EXPECT_STREQ(dialog.m_startChainage.GetString(), "DK1+000");
    EXPECT_STREQ(dialog.m_endChainage.GetString(), "DK2+000");
  }
}

TEST_F(CorvaneDialogs, OptionDialogsHandTheirChoicesToTheCommands) {
  Answer("@205 2051=1 2055=0 2054=50 IDOK");
  CFillCutOptionsDlg fillCut;
  ASSERT_EQ(fillCut.DoModal(), IDOK);
  EXPECT_EQ(fillCut.m_options.stationSource, kStationsMeasured);
  EXPECT_EQ(fillCut.m_options.interpolateGroundLines, 0);
  EXPECT_EQ(fillCut.m_options.interval, 50.0);

  Answer("@2484 2486=1 2490=0 2487=DK1+000 IDOK");
  CEarthworkDlg earthwork;
  ASSERT_EQ(earthwork.DoModal(), IDOK);
  EXPECT_EQ(earthwork.m_choice.wholeLine, 0);
  EXPECT_EQ(earthwork.m_choice.lines, EarthworkChoice::kBaseline | EarthworkChoice::kRightDetours);
  EXPECT_STREQ(earthwork.m_choice.startText.GetString(), "DK1+000");

  // Detours are numbered from 1 in the dialog, from 0 in the drawing run.
  Answer("@2463 2464=0 2472=1 2473=2 2467=500 IDOK");
  CDrawLinesDlg drawing;
  ASSERT_EQ(drawing.DoModal(), IDOK);
  EXPECT_EQ(drawing.m_choice.drawAll, 0);
  EXPECT_TRUE(drawing.m_choice.baseline);
  EXPECT_TRUE(drawing.m_choice.leftDetour);
  EXPECT_EQ(drawing.m_choice.leftIndex, 1);
  EXPECT_FALSE(drawing.m_choice.rightDetour);
  EXPECT_EQ(drawing.m_choice.scaleDenominator, 500.0);
}

// A scale or an origin a section drawing cannot be placed with keeps the
// dialog open with the range it must lie in; the next answer's OK closes it.
// The design dialog checks them only when it draws.
TEST_F(CorvaneDialogs, DrawingPlacementsOutOfRangeKeepTheDialogOpen) {
  struct Case {
    const char* bad;       // answer whose OK is refused
    const char* good;      // answer whose OK closes the dialog
    const char* message;   // "" when the bad answer is taken
  };
  const Case cases[] = {
      {"@2005 210 216=0 IDOK", "@2005 216=200 IDOK", "Please enter an integer between 1 and 100000."},
      {"@2005 210 216=-20 IDOK", "@2005 216=200 IDOK", "Please enter an integer between 1 and 100000."},
      {"@2005 210 214=1e308 IDOK", "@2005 214=0 IDOK", "Please enter a number between -1000000000 and 1000000000."},
      {"@2005 210 215=-1e10 IDOK", "@2005 215=0 IDOK", "Please enter a number between -1000000000 and 1000000000."},
      {"@2005 210 216=0 210 IDOK", nullptr, ""},  // not drawn after all: the scale is not used
      {"@2463 2465=1e308 IDOK", "@2463 2465=0 IDOK", "Please enter a number between -1000000000 and 1000000000."},
      {"@2463 2466=-1e308 IDOK", "@2463 2466=0 IDOK", "Please enter a number between -1000000000 and 1000000000."},
      {"@2463 2467=0 IDOK", "@2463 2467=200 IDOK", "Please enter a number between 1 and 100000."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bad);
    platform::TranscriptCapture transcript;
    Answer(c.bad);
    if (c.good) Answer(c.good);
    const bool design = std::strncmp(c.bad, "@2005", 5) == 0;
    if (design) {
      CAutoDesignDlg dialog;
      EXPECT_EQ(dialog.DoModal(), IDOK);
    } else {
      CDrawLinesDlg dialog;
      EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    if (*c.message) {
      EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    } else {
      EXPECT_FALSE(transcript.contains("Please enter")) << transcript.text();
    }
  }
}

// ---- The slope and width dialog ------------------------------------------------------

void FillThreeGrades(CSlopeWidthDlg& dialog) {
  dialog.m_rowCount = 3;
  const double ratio[3] = {1.5, 1.75, 2.0}, height[3] = {8.0, 10.0, 12.0}, berm[3] = {2.0, 2.0, 0.0};
  for (int i = 0; i < 3; ++i) {
    dialog.m_ratio[i] = ratio[i];
    dialog.m_height[i] = height[i];
    dialog.m_berm[i] = berm[i];
  }
  dialog.m_width = "7.30";
}

TEST_F(CorvaneDialogs, SlopeDialogShowsTheGradesAndEnterAndEscReachOkAndCancel) {
  Answer("@2532 {Enter}");
  CSlopeWidthDlg dialog;
  FillThreeGrades(dialog);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  ASSERT_EQ(dialog.GridRowCount(), 4);
  const char* header[4] = {"边坡级数", "边坡系数", "限制高(m)", "平台宽(m)"};
  for (int c = 0; c < 4; ++c) EXPECT_STREQ(dialog.CellText(0, c).GetString(), header[c]);
  EXPECT_STREQ(dialog.CellText(2, 0).GetString(), "2");
  EXPECT_STREQ(dialog.CellText(2, 1).GetString(), "1.75");
  EXPECT_STREQ(dialog.CellText(3, 2).GetString(), "100.00");  // the last grade reaches the top
  EXPECT_EQ(dialog.m_rowCount, 3);
  EXPECT_EQ(dialog.m_height[2], 100.0);
  EXPECT_EQ(dialog.m_currentSection, 1);
  EXPECT_STREQ(dialog.m_width.GetString(), "7.30");

  Answer("@2532 284 288=9 {Esc}");
  CSlopeWidthDlg cancelled;
  FillThreeGrades(cancelled);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_STREQ(cancelled.m_width.GetString(), "7.30");

  struct Scope {
    const char* words;
    int current, workPoint, whole;
  } const scopes[] = {{"283 259", 0, 1, 0}, {"284 259", 0, 0, 1}, {"284 282 259", 1, 0, 0}};
  for (const Scope& s : scopes) {
    SCOPED_TRACE(s.words);
    Answer(std::string("@2532 ") + s.words);
    CSlopeWidthDlg d;
    FillThreeGrades(d);
    ASSERT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(d.m_currentSection, s.current);
    EXPECT_EQ(d.m_workPoint, s.workPoint);
    EXPECT_EQ(d.m_wholeLine, s.whole);
  }
}

TEST_F(CorvaneDialogs, SlopeDialogRowsAreNumberedAfterAddAndDelete) {
  CSlopeWidthDlg dialog;
  FillThreeGrades(dialog);
  ASSERT_TRUE(dialog.Create(corvane_rc::kSlopeWidthDlg));
  auto numbers = [&] {
    std::string all;
    for (int r = 0; r < dialog.GridRowCount(); ++r) all += std::string(dialog.CellText(r, 0).GetString()) + "|";
    return all;
  };
  dialog.SelectRows({1});
  dialog.OnAdd();  // a row after row 1
  EXPECT_EQ(numbers(), "边坡级数|1|2|3|4|");
  EXPECT_STREQ(dialog.CellText(2, 1).GetString(), " ");
  EXPECT_STREQ(dialog.CellText(3, 1).GetString(), "1.75");
  EXPECT_EQ(dialog.SelectedRows(), std::set<int>{2});

  dialog.SelectRows({0, 2, 4});  // the header is never selected
  EXPECT_EQ(dialog.SelectedRows(), (std::set<int>{2, 4}));
  dialog.OnDelete();
  EXPECT_EQ(numbers(), "边坡级数|1|2|");
  EXPECT_STREQ(dialog.CellText(2, 1).GetString(), "1.75");
  EXPECT_EQ(dialog.SelectedRows(), std::set<int>{2});

  dialog.SelectRows({1, 2});
  dialog.OnDelete();  // every grade: the header stays
  EXPECT_EQ(numbers(), "边坡级数|");
  dialog.OnAdd();  // with only the header: row 1
  EXPECT_EQ(numbers(), "边坡级数|1|");
  dialog.SelectRows({1});
  dialog.OnDelete();
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.GridRowCount(), 1);
}

// Each radio group of the templates, walked from its first radio to the next
// control marked WS_GROUP, holds its radios and nothing else; the control
// that ends it is named so a group running on into a label or an edit shows.
TEST_F(CorvaneDialogs, RadioGroupsEndAfterTheirLastRadio) {
  struct Row {
    unsigned dialog;
    std::vector<int> radios;
    int endedBy;  // the id of the control after the group (-1: a static text)
    const char* endedByClass;
  };
  const Row rows[] = {
      {corvane_rc::kEarthworkDlg, {corvane_rc::kEwWhole, corvane_rc::kEwRange}, -1, "Static"},
      {corvane_rc::kFillCutDlg,
       {corvane_rc::kFcMeasured, corvane_rc::kFcExisting, corvane_rc::kFcGenerated},
       -1,
       "Static"},
      {corvane_rc::kSlopeWidthDlg,
       {corvane_rc::kSwCurrentSection, corvane_rc::kSwWorkPoint, corvane_rc::kSwWholeLine},
       -1,
       "Static"},
      {corvane_rc::kSectionBrowserDlg, {corvane_rc::kSbOneLine, corvane_rc::kSbAllLines}, corvane_rc::kSbLine,
       "ComboBox"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dialog);
    auto form = platform::findDialogTemplate(row.dialog);
    ASSERT_NE(form, nullptr);
    const auto& controls = form->controls;
    size_t first = 0;
    while (first < controls.size() && controls[first].id != row.radios.front()) ++first;
    ASSERT_LT(first, controls.size());
    EXPECT_TRUE(controls[first].style & WS_GROUP);
    std::vector<int> group{controls[first].id};
    size_t next = first + 1;
    for (; next < controls.size() && !(controls[next].style & WS_GROUP); ++next) {
      group.push_back(controls[next].id);
      EXPECT_EQ(controls[next].style & 0xF, static_cast<DWORD>(BS_AUTORADIOBUTTON)) << controls[next].text;
    }
    EXPECT_EQ(group, row.radios);
    ASSERT_LT(next, controls.size());
    EXPECT_EQ(controls[next].id, row.endedBy);
    EXPECT_EQ(controls[next].className, row.endedByClass);
  }
}

TEST_F(CorvaneDialogs, SlopeDialogHoldsThirtyGradesAtMost) {
  platform::TranscriptCapture transcript;
  Answer("@2532 2622 259");
  CSlopeWidthDlg dialog;
  dialog.m_rowCount = 45;  // more than a drawing may carry
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GridRowCount(), 31);
  EXPECT_EQ(dialog.m_rowCount, 30);
  EXPECT_NE(transcript.text().find("边坡最多30级"), std::string::npos) << transcript.text();
}

}  // namespace
