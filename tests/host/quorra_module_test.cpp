// The navigator tamsel.arx loaded as the editor loads it, over the sample
// project made by the sample-project program (in a folder whose name has a
// blank, named by an install folder's workdir): its two command groups, TREE
// and its dock bar, TREE again, unload with the bar open, load again; then a
// cadhost script with TREE, tree words and the pictures of what is open.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "arx/acui.h"
#include "arx/arx.h"
#include "cadhost_run.h"
#include "sample_install.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "fixtures/run_command.h"
#include "fixtures/scheme_db.h"
#include "win/answers.h"
#include "win/resources.h"
#include "win/transcript.h"
#include "win/userinput.h"
#include "win/winhost.h"

namespace {

namespace fs = std::filesystem;

SampleInstall* g_sample = nullptr;

constexpr UINT kTreeTemplate = 2161;

std::string WindowTitle(const CWnd* window) {
  CString title;
  window->GetWindowText(title);
  return title.GetString();
}
std::string FrameTitle() { return WindowTitle(acedGetAcadFrame()); }

// The dock bars docked on the left of the main frame.
std::vector<CControlBar*> LeftBars() { return acedGetAcadFrame()->GetDockedBars(AFX_IDW_DOCKBAR_LEFT); }

class QuorraModule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_sample = new SampleInstall("quorra_module"); }
  static void TearDownTestSuite() {
    delete g_sample;
    g_sample = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(g_sample->error.empty()) << g_sample->error;
    platform::setInstallFolder(g_sample->install.string());
  }
  void TearDown() override {
    platform::unloadAllModules();
    platform::clearAnswers();
    platform::clearPendingCommandStrings();
    platform::resetWindowing();
    platform::setInstallFolder(RAIL_INSTALL_DIR);
  }
  platform::TranscriptCapture transcript;
};

TEST_F(QuorraModule, TreeDocksTheSchemeTreeAndUnloadTakesItAway) {
  acedGetAcadFrame();  // the editor's own windows, there before the module
  const size_t windowsBefore = platform::windowCount();
  std::string error;
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(platform::loadModule("tamsel", &error)) << error;
    ASSERT_EQ(acedRegCmds->commandsOf("TAMSEL").size(), 1u);
    ASSERT_EQ(acedRegCmds->commandsOf("QUORRASHU").size(), 1u);
    EXPECT_STREQ(acedRegCmds->commandsOf("TAMSEL")[0]->globalName(), "QUORRA");
    EXPECT_STREQ(acedRegCmds->commandsOf("QUORRASHU")[0]->globalName(), "TREE");

    transcript.clear();
    EXPECT_EQ(platform::runCommand("QUORRA"), RTNORM);
    EXPECT_EQ(platform::templateWindows(kTreeTemplate).size(), 0u);
    EXPECT_EQ(platform::dockControlBarCount(), 0u);

    // TREE twice: one bar, docked on the left, holding one freshly built tree.
    for (int tree = 1; tree <= 2; ++tree) {
      EXPECT_EQ(platform::runCommand("TREE"), RTNORM);
      EXPECT_EQ(platform::dockControlBarCount(), 1u);
      ASSERT_EQ(LeftBars().size(), 1u);
      EXPECT_EQ(WindowTitle(LeftBars()[0]), "方案数据库");
      ASSERT_EQ(platform::templateWindows(kTreeTemplate).size(), 1u);
    }
    // The sample's one scheme, current: `project` names it.
    ASSERT_TRUE(platform::runWindowLine("2161 206=方案1/输入数据/插旗/基线/车站", error)) << error;
    // The frame's title: the project folder as the navigator names it
    // (upper-cased) with the scheme's database.
    std::string upper = platform::toWindowsPath(g_sample->project.string());
    for (char& c : upper)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    upper += "\\data\\方案1.mdb";
    EXPECT_EQ(FrameTitle(), upper);

    // Unloading with the bar open: the bar, its tree and the commands go.
    ASSERT_TRUE(platform::unloadModule("tamsel", &error)) << error;
    EXPECT_EQ(platform::dockControlBarCount(), 0u);
    EXPECT_EQ(platform::templateWindows(kTreeTemplate).size(), 0u);
    EXPECT_TRUE(LeftBars().empty());
    EXPECT_FALSE(acedRegCmds->hasGroup("TAMSEL"));
    EXPECT_FALSE(acedRegCmds->hasGroup("QUORRASHU"));
    EXPECT_EQ(platform::findDialogTemplate(kTreeTemplate), nullptr);
    EXPECT_EQ(platform::windowCount(), windowsBefore) << "every window of the module is gone";
  }
  // Unloading without a bar only removes the groups.
  ASSERT_TRUE(platform::loadModule("tamsel", &error)) << error;
  ASSERT_TRUE(platform::unloadModule("tamsel", &error)) << error;
  EXPECT_FALSE(acedRegCmds->hasGroup("QUORRASHU"));
  EXPECT_EQ(platform::runCommand("TREE"), RTERROR);
}

class QuorraScript : public cadhostrun::CadhostTest {
 protected:
  static void SetUpTestSuite() { g_sample = new SampleInstall("quorra_module"); }
  static void TearDownTestSuite() {
    delete g_sample;
    g_sample = nullptr;
  }
};

TEST_F(QuorraScript, TreeOverTheSampleProjectWithItsWordsAndPictures) {
  ASSERT_TRUE(g_sample->error.empty()) << g_sample->error;
  // The pictures stay in the test folder, for looking at.
  const fs::path pictures = fs::path(RAIL_TEST_TMPDIR) / "quorra_tree";
  fs::remove_all(pictures);
  fs::create_directories(pictures);
  const std::string script = file("tree.scr",
                                  "QUORRA\n"
                                  "TREE\n"
                                  "> 2161 206=方案1/输入数据/平面/基线/曲线表\n"
                                  "> 2161 206:dbl=方案1/输入数据/插旗/基线/车站\n"
                                  "> 2161 206:dbl=技术标准\n"
                                  "> 2161 206:dbl=技术标准\n"
                                  "TREE\n"
                                  "PICTURES\n");
  const cadhostrun::Outcome r = run({"--install", g_sample->install.string(), "--load", "tamsel", "--script", script,
                                     "--pictures", pictures.string()});
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  size_t quib = 0;
  for (size_t at = r.out.find("Kestrow stand-in: QUIB ran."); at != std::string::npos;
       at = r.out.find("Kestrow stand-in: QUIB ran.", at + 1))
    ++quib;
  EXPECT_EQ(quib, 2u) << r.out;
  // PROJECT still names the sample's scheme.
  EXPECT_EQ(platform::textFromDisk(cadhostrun::slurp(g_sample->project / "project")), "方案1\n");
  // The main frame's picture, with the dock bar docked on its left.
  size_t pngs = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(pictures))
    if (e.path().extension() == ".png" && fs::file_size(e.path()) > 0) ++pngs;
  EXPECT_GE(pngs, 1u);
}

}  // namespace
