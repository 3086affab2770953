// The plan module brevell.arx loaded as the editor loads it, over a sample
// project made by the sample-project program (in a folder whose name has a
// blank, named by an install folder's workdir): its commands in group VENK,
// the guard before DEZERORUR, DEZERORUR answered from the answer queue, the
// structure commands, and an unload that leaves no window; then the same as
// a cadhost script whose saved drawing is read back with ezdxf.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "arx/arx.h"
#include "cadhost_run.h"
#include "sample_install.h"
#include "crt/paths.h"
#include "fixtures/run_command.h"
#include "fixtures/scheme_db.h"
#include "win/answers.h"
#include "win/transcript.h"
#include "arx/dockbar.h"
#include "win/winhost.h"

namespace {

namespace fs = std::filesystem;

SampleInstall* g_sample = nullptr;

std::vector<std::vector<std::string>> Rows(const std::string& sql) {
  std::string error;
  auto rows = fixtures::QueryRows(g_sample->Database(), sql, &error);
  EXPECT_TRUE(error.empty()) << error;
  return rows;
}

// The lines INTUN prints for the sample's 隧道, worked out from its rows:
// both chainages ("<prefix><km>+<metres to 2 decimals>"), the name, the kind
// (插旗方式's number) to one decimal and the 附注 number.
std::vector<std::string> TunnelLines() {
  auto chainage = [](const std::string& prefix, double v) {
    const int km = static_cast<int>(v / 1000.0);
    char text[64];
    std::snprintf(text, sizeof text, "%s%d+%06.2f", prefix.c_str(), km, v - km * 1000.0);
    return std::string(text);
  };
  std::vector<std::string> lines;
  for (const auto& r : Rows("select 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 隧道名称, 插旗方式, 附注 "
                            "from 隧道 order by ID")) {
    char line[256];
    std::snprintf(line, sizeof line, "%s,%s,%s,%.1f,%d", chainage(r[0], std::atof(r[1].c_str())).c_str(),
                  chainage(r[2], std::atof(r[3].c_str())).c_str(), r[4].c_str(), std::atof(r[5].c_str()),
                  std::atoi(r[6].c_str()));
    lines.push_back(line);
  }
  return lines;
}

size_t EntitiesOnLayer(const char* layer) {
  size_t count = 0;
  AcDbBlockTableRecord* ms = nullptr;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return 0;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    if (it->getEntity(e, AcDb::kForRead) != Acad::eOk) continue;
    if (std::string(e->layer()) == layer) ++count;
    e->close();
  }
  delete it;
  ms->close();
  return count;
}

class BrevellModule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_sample = new SampleInstall("brevell_module"); }
  static void TearDownTestSuite() {
    delete g_sample;
    g_sample = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(g_sample->error.empty()) << g_sample->error;
    platform::setCurrentDrawing(nullptr);
    platform::setInstallFolder(g_sample->install.string());
  }
  void TearDown() override {
    platform::unloadAllModules();
    platform::clearAnswers();
    platform::resetWindowing();
    platform::setInstallFolder(RAIL_INSTALL_DIR);
    platform::setCurrentDrawing(nullptr);
  }
  platform::TranscriptCapture transcript;
};

TEST_F(BrevellModule, LoadsRunsItsCommandsAndUnloadsWithNoWindowLeft) {
  // The editor's own windows (its frame, where the dock bar docks) are there first.
  ASSERT_NE(acedGetAcadFrame(), nullptr);
  const size_t hostWindows = platform::windowCount();
  std::string error;
  ASSERT_TRUE(platform::loadModule("brevell", &error)) << error;
  EXPECT_EQ(acedRegCmds->commandsOf("VENK").size(), 20u);

  EXPECT_EQ(platform::runCommand("INSBR"), RTNORM);
  EXPECT_TRUE(transcript.contains("请先初始化!"));

  platform::queueAnswer("2001", "233=1 2261=1 249=5000 IDOK");
  EXPECT_EQ(platform::runCommand("DEZERORUR"), RTNORM);
  EXPECT_EQ(platform::pendingAnswers(), 0u);
  EXPECT_EQ(platform::dockControlBarCount(), 1u);  // 显示数据库 was ticked
  EXPECT_GT(EntitiesOnLayer("里程"), 0u);
  const size_t bridges = EntitiesOnLayer("大中桥");
  EXPECT_GT(bridges, 0u);
  EXPECT_EQ(EntitiesOnLayer("隧道"), 0u);

  transcript.clear();
  EXPECT_EQ(platform::runCommand("INBMBR"), RTNORM);
  EXPECT_EQ(EntitiesOnLayer("大中桥"), bridges);  // erased and drawn again
  EXPECT_EQ(platform::runCommand("INTUN"), RTNORM);
  for (const std::string& line : TunnelLines()) EXPECT_TRUE(transcript.contains(line)) << line;
  EXPECT_GT(EntitiesOnLayer("隧道"), 0u);
  EXPECT_EQ(platform::runCommand("IDX"), RTNORM);
  EXPECT_GT(EntitiesOnLayer("导线"), 0u);

  // The dialog's windows are gone with the dialog; the module's go with it.
  ASSERT_TRUE(platform::unloadModule("brevell", &error)) << error;
  EXPECT_EQ(platform::windowCount(), hostWindows);
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_FALSE(acedRegCmds->hasGroup("VENK"));
  EXPECT_EQ(platform::findDialogTemplate(2001), nullptr);

  // Loaded again, it starts from nothing.
  ASSERT_TRUE(platform::loadModule("brevell", &error)) << error;
  transcript.clear();
  EXPECT_EQ(platform::runCommand("INTUN"), RTNORM);
  EXPECT_TRUE(transcript.contains("请先初始化!"));
}

class BrevellScript : public cadhostrun::CadhostTest {
 protected:
  static void SetUpTestSuite() { g_sample = new SampleInstall("brevell_module"); }
  static void TearDownTestSuite() {
    delete g_sample;
    g_sample = nullptr;
  }
};

TEST_F(BrevellScript, DezerorurThenStructureCommandsOverTheSampleProject) {
  ASSERT_TRUE(g_sample->error.empty()) << g_sample->error;
  const std::string script = file("plan.scr",
                                  "INSTA\n"
                                  "DEZERORUR\n"
                                  "@2001 233=1 2261=1 2253=公里标 IDOK\n"
                                  "INBMBR\n"
                                  "INTUN\n"
                                  "PZOOM\n"
                                  "> 2163 2062=方案名称：方案1/基线/插旗/隧道\n"
                                  "> 2163 2062:dbl=方案名称：方案1/左线/平面/左线曲线表\n"
                                  "> 2163 2062:right=方案名称：方案1/基线/插旗/大中桥\n"
                                  "@menu 用左键双击打开\n"
                                  "> 2163 2062=方案名称：方案1/基线/插旗/隧道\n"
                                  "PICTURES\n");
  const std::string dxf = (m_dir / "plan.dxf").string();
  const fs::path pictures = fs::path(RAIL_TEST_TMPDIR) / "brevell-script-pictures";
  fs::remove_all(pictures);
  const cadhostrun::Outcome r = run({"--install", g_sample->install.string(), "--load", "brevell", "--script", script,
                                     "--save", dxf, "--pictures", pictures.string()});
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  // Pictures of dialog 2001 as it closed and of what was open at PICTURES:
  // the editor's window with the dock bar and its tree.
  std::vector<std::string> pictureNames;
  for (const fs::directory_entry& e : fs::directory_iterator(pictures)) pictureNames.push_back(e.path().filename());
  std::sort(pictureNames.begin(), pictureNames.end());
  auto hasPicture = [&](const std::string& part) {
    return std::any_of(pictureNames.begin(), pictureNames.end(),
                       [&](const std::string& n) { return n.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(hasPicture("-2001-线路平面初始化.png")) << r.out;
  EXPECT_TRUE(hasPicture("-0-AutoCAD.png")) << r.out;  // PICTURES: the frame with the bar docked in it
  EXPECT_NE(r.out.find("请先初始化!"), std::string::npos);
  // The database of the workdir's project, its folder name with its blank.
  EXPECT_NE(r.out.find(platform::toWindowsPath(g_sample->Database())), std::string::npos) << r.out;
  for (const std::string& line : TunnelLines()) EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << line;
  EXPECT_NE(r.out.find("Command: ZOOM"), std::string::npos);

  // Read back with ezdxf: the audit, the texts of each bridge and tunnel on
  // its layer, kilometre marks only (公里标: no hectometre label "1" .. "9").
  const std::string check = file("check.py",
                                 "import sys, ezdxf\n"
                                 "doc = ezdxf.readfile(sys.argv[1])\n"
                                 "auditor = doc.audit()\n"
                                 "print('errors', len(auditor.errors))\n"
                                 "for e in doc.modelspace().query('TEXT'):\n"
                                 "    print('text', e.dxf.layer, e.dxf.text, sep='\\t')\n");
  const std::vector<std::string> lines = fixtures::OutputLines("/usr/bin/python3 '" + check + "' '" + dxf + "'");
  if (!lines.empty() && lines[0].find("No module named") != std::string::npos) GTEST_SKIP() << "no ezdxf";
  EXPECT_EQ(fixtures::WithPrefix(lines, "errors"), std::vector<std::string>{"errors 0"});
  auto hasText = [&](const std::string& layer, const std::string& start) {
    for (const std::string& l : fixtures::WithPrefix(lines, "text\t" + layer + "\t" + start)) {
      if (!l.empty()) return true;
    }
    return false;
  };
  for (const auto& r : Rows("select 桥梁名称 from 大中桥")) EXPECT_TRUE(hasText("大中桥", r[0])) << r[0];
  for (const auto& r : Rows("select 隧道名称 from 隧道")) EXPECT_TRUE(hasText("隧道", r[0])) << r[0];
  EXPECT_TRUE(hasText("里程", "DK30"));
  for (const std::string& l : fixtures::WithPrefix(lines, "text\t里程\t")) {
    const std::string text = l.substr(std::string("text\t里程\t").size());
    EXPECT_FALSE(text.size() == 1 && text[0] >= '1' && text[0] <= '9') << "a hectometre mark " << text;
  }
  EXPECT_FALSE(hasText("车站", ""));  // INSTA ran before the settings: nothing drawn
}

}  // namespace
