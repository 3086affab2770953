// The ground-line input module (pellory.arx of the install folder) as the
// host loads it: its command HDMDMX with its palettes, its LISP function
// "hdmdmx", and its unload, which closes the palettes.
#include <string>

#include "arx/acui.h"
#include "arx/edlisp.h"
#include "host_fixture.h"
#include "win/winhost.h"

namespace {

using PelloryModule = HostTest;

TEST_F(PelloryModule, HdmdmxRunsAsOftenAsAskedAndGoesWithTheModule) {
  const std::string module = std::string(RAIL_INSTALL_DIR) + "/pellory.arx";
  load(module.c_str());
  const AcEdCommand* command = acedRegCmds->lookupGlobalCmd("HDMDMX");
  ASSERT_NE(command, nullptr);
  EXPECT_STREQ(command->groupName(), "Pellory");
  EXPECT_EQ(command->commandFlags(), ACRX_CMD_TRANSPARENT);
  EXPECT_STREQ(platform::moduleName(command->module()), "pellory");
  EXPECT_EQ(platform::runCommand("HDMDMX"), RTNORM);
  EXPECT_EQ(platform::runCommand("HDMDMX"), RTNORM);
  // Two palette sets docked on the left, each with its input dialog.
  EXPECT_EQ(platform::dockControlBarCount(), 2u);
  EXPECT_EQ(acedGetAcadFrame()->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).size(), 2u);
  ASSERT_EQ(platform::templateWindows(6).size(), 2u);
  // The grids' row menu is the module's own.
  platform::RunResult r = platform::runScriptText("> 6 #1 43[1,0] 43[1,0]:right\n@menu 增加行/之后增加\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_NE(at("[menu] 增加行/之后增加 (23)"), std::string::npos) << transcript.text();

  // (hdmdmx) does nothing and returns no value.
  ASSERT_TRUE(platform::isLispFunctionDefined("hdmdmx"));
  std::string result = "unset", error;
  EXPECT_TRUE(platform::invokeLispFunction("hdmdmx", nullptr, &result, &error)) << error;
  EXPECT_EQ(result, "");
  EXPECT_EQ(error, "");

  ASSERT_TRUE(platform::unloadModule(module));
  // The palettes went with the module, while its code was there.
  EXPECT_TRUE(platform::templateWindows(6).empty());
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_TRUE(acedGetAcadFrame()->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).empty());
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("HDMDMX"), nullptr);
  EXPECT_FALSE(platform::isLispFunctionDefined("hdmdmx"));
  EXPECT_EQ(platform::runCommand("HDMDMX"), RTERROR);
}

}  // namespace
