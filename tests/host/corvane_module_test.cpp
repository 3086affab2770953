// Corvane loaded into the host: its start-up registers the five classes of a
// drawn section and the nine commands of group "Pyxen"; its unload takes them
// away again (with or without a working drawing), and a second load registers
// the same again. SAVEFILE before any design and FINDDM twice.
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "host_fixture.h"
#include "win/winhost.h"

namespace {

const std::string kCorvane = std::string(RAIL_INSTALL_DIR) + "/corvane.arx";

class CorvaneModule : public HostTest {
 protected:
  void loadCorvane() {
    std::string error;
    ASSERT_TRUE(platform::loadModule(kCorvane, &error)) << error;
  }
  void unloadCorvane() {
    std::string error;
    ASSERT_TRUE(platform::unloadModule("corvane", &error)) << error;
  }
  static std::vector<std::string> pyxenCommands() {
    std::vector<std::string> names;
    for (const AcEdCommand* c : acedRegCmds->commandsOf("Pyxen")) {
      EXPECT_EQ(c->commandFlags(), ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET) << c->globalName();
      EXPECT_STREQ(c->globalName(), c->localName());
      names.push_back(c->globalName());
    }
    return names;
  }
  void expectRegistered() {
    const std::vector<std::string> expected = {"HDMDES",  "CALTSF", "CALTWB",   "CALHDMDMX", "FINDDM",
                                               "DRAWHDM", "EDITBP", "SAVEFILE", "PRINTHDM"};
    EXPECT_EQ(pyxenCommands(), expected);
    struct ClassRow {
      const char* name;
      const char* dxf;
      int proxyFlags;
    } const classes[] = {{"HdmText", "0", 0x3ff},
                         {"DesignLine", "DESIGNLINE", 0},
                         {"EarthLine", "EarthLine", 0},
                         {"LTGOU", "LTGOU", 0},
                         {"JSGOU", "JSGOU", 0}};
    for (const ClassRow& row : classes) {
      AcRxClass* c = AcRxClass::cast(acrxClassDictionary->at(row.name));
      ASSERT_NE(c, nullptr) << row.name;
      EXPECT_STREQ(c->dxfName(), row.dxf) << row.name;
      EXPECT_EQ(c->proxyFlags(), row.proxyFlags) << row.name;
      EXPECT_STREQ(c->appName(), "\"Corvane\"") << row.name;
      EXPECT_EQ(c->dwgVersion(), 25) << row.name;
      EXPECT_EQ(c->maintenanceVersion(), 76) << row.name;
      ASSERT_NE(c->myParent(), nullptr) << row.name;
      EXPECT_STREQ(c->myParent()->name(), "AcDbEntity") << row.name;
    }
  }
  static void expectGone() {
    EXPECT_FALSE(acedRegCmds->hasGroup("Pyxen"));
    for (const char* name : {"HdmText", "DesignLine", "EarthLine", "LTGOU", "JSGOU"})
      EXPECT_EQ(acrxClassDictionary->at(name), nullptr) << name;
  }
};

TEST_F(CorvaneModule, LoadUnloadAndLoadAgainRegisterTheSameCommandsAndClasses) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    loadCorvane();
    expectRegistered();
    EXPECT_EQ(at("Class mismatch"), std::string::npos) << transcript.text();
    unloadCorvane();
    expectGone();
  }
}

TEST_F(CorvaneModule, UnloadWithoutAWorkingDrawingStillTakesEverythingAway) {
  loadCorvane();
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  unloadCorvane();
  acdbHostApplicationServices()->setWorkingDatabase(drawing);
  expectGone();
  loadCorvane();
  expectRegistered();
}

TEST_F(CorvaneModule, SaveFileBeforeAnyDesignSaysSoAndSavesNothing) {
  loadCorvane();
  ASSERT_EQ(platform::runCommand("SAVEFILE"), RTNORM);
  EXPECT_NE(at("没有设计横断面"), std::string::npos) << transcript.text();
  EXPECT_EQ(at("3D OK!"), std::string::npos) << transcript.text();
}

TEST_F(CorvaneModule, FindDmTwiceLeavesOneBrowserAndUnloadClosesIt) {
  loadCorvane();
  ASSERT_EQ(platform::runCommand("FINDDM"), RTNORM);
  const std::vector<HWND> first = platform::templateWindows(2222);
  ASSERT_EQ(first.size(), 1u);
  char caption[64] = "";
  GetWindowText(first[0], caption, sizeof caption);
  EXPECT_STREQ(caption, "横断面追踪显示");
  ASSERT_EQ(platform::runCommand("FINDDM"), RTNORM);
  const std::vector<HWND> second = platform::templateWindows(2222);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NE(second[0], first[0]);
  EXPECT_FALSE(IsWindow(first[0]));
  unloadCorvane();
  EXPECT_TRUE(platform::templateWindows(2222).empty());
  EXPECT_FALSE(IsWindow(second[0]));
}

}  // namespace
