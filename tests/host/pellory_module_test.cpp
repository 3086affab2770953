// The ground-line input module (pellory.arx of the install folder) as the
// host loads it: its command HDMDMX, its LISP function "hdmdmx", and its
// unload.
#include <string>

#include "arx/edlisp.h"
#include "host_fixture.h"

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

  // (hdmdmx) does nothing and returns no value.
  ASSERT_TRUE(platform::isLispFunctionDefined("hdmdmx"));
  std::string result = "unset", error;
  EXPECT_TRUE(platform::invokeLispFunction("hdmdmx", nullptr, &result, &error)) << error;
  EXPECT_EQ(result, "");
  EXPECT_EQ(error, "");

  ASSERT_TRUE(platform::unloadModule(module));
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("HDMDMX"), nullptr);
  EXPECT_FALSE(platform::isLispFunctionDefined("hdmdmx"));
  EXPECT_EQ(platform::runCommand("HDMDMX"), RTERROR);
}

}  // namespace
