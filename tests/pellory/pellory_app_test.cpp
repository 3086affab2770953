// The application object of the ground-line input, run in this program with
// the module's table entries: the messages it answers, the HDMDMX command of
// group "Pellory", the LISP function "hdmdmx" and the palettes HDMDMX asks
// for. (The module as the host loads it: tests/host/pellory_module_test.cpp.)
#include <gtest/gtest.h>

#include "PelloryApp.h"
#include "PelloryPalette.h"
#include "arx/arx.h"
#include "win/transcript.h"

namespace {

class PelloryAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseGroundLinePalettes();
    platform::ArxAppTables tables;
    tables.commandsBegin = commands;
    tables.commandsEnd = commands + 2;
    tables.functionsBegin = functions;
    tables.functionsEnd = functions + 2;
    app.SetTables(tables);
  }
  void TearDown() override {
    if (acedRegCmds->lookupGlobalCmd("HDMDMX")) app.EntryPoint(AcRx::kUnloadAppMsg, nullptr);
    CloseGroundLinePalettes();
  }
  // Null slots, as the linker may leave them, are skipped.
  ArxCommandEntry* commands[2] = {nullptr, &g_PelloryHdmdmxCommand};
  AdsFunctionEntry* functions[2] = {&g_PelloryHdmdmxFunction, nullptr};
  CPelloryApp app;
  platform::TranscriptCapture transcript;
};

TEST_F(PelloryAppTest, StartUpRegistersHdmdmxAndEachRunAsksForANewPalette) {
  ASSERT_EQ(app.EntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  const AcEdCommand* command = acedRegCmds->lookupGlobalCmd("HDMDMX");
  ASSERT_NE(command, nullptr);
  EXPECT_STREQ(command->groupName(), "Pellory");
  EXPECT_STREQ(command->localName(), "HDMDMX");
  EXPECT_EQ(command->commandFlags(), ACRX_CMD_TRANSPARENT);

  EXPECT_EQ(platform::runCommand("HDMDMX"), RTNORM);
  EXPECT_EQ(platform::runCommand("hdmdmx"), RTNORM);
  const std::vector<GroundLinePaletteRequest>& requests = GroundLinePaletteRequests();
  ASSERT_EQ(requests.size(), 2u);  // no single-instance guard: two sets
  for (const GroundLinePaletteRequest& r : requests) {
    EXPECT_STREQ(r.setCaption.GetString(), "Selvic - 地面线录入对话框");
    EXPECT_STREQ(r.paletteName.GetString(), "地面线对话框");
    EXPECT_EQ(r.setStyle, 30u);
    EXPECT_EQ(r.paletteStyle, 1u);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 550);
    EXPECT_EQ(r.dialogTemplate, 6);
    EXPECT_TRUE(r.dockLeft);
  }

  // Unload removes the command and closes the palettes.
  ASSERT_EQ(app.EntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("HDMDMX"), nullptr);
  EXPECT_TRUE(GroundLinePaletteRequests().empty());
  EXPECT_EQ(platform::runCommand("HDMDMX"), RTERROR);
}

TEST_F(PelloryAppTest, DrawingsDefineHdmdmxAndOtherMessagesDoNothing) {
  ASSERT_EQ(app.EntryPoint(AcRx::kLoadDwgMsg, nullptr), AcRx::kRetOK);
  EXPECT_TRUE(platform::isLispFunctionDefined("hdmdmx"));
  ASSERT_EQ(app.EntryPoint(AcRx::kUnloadDwgMsg, nullptr), AcRx::kRetOK);
  EXPECT_FALSE(platform::isLispFunctionDefined("hdmdmx"));
  // Codes 6 to 15, 0, and codes above 15: 0, nothing registered, nothing asked.
  for (int code : {0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 99}) {
    EXPECT_EQ(app.EntryPoint(static_cast<AcRx::AppMsgCode>(code), nullptr), AcRx::kRetOK) << code;
  }
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("HDMDMX"), nullptr);
  EXPECT_TRUE(GroundLinePaletteRequests().empty());
  EXPECT_EQ(transcript.text(), "");
}

}  // namespace
