// The application object of the ground-line input, run in this program with
// the module's table entries: the messages it answers, the HDMDMX command of
// group "Pellory", the LISP function "hdmdmx" and the palettes HDMDMX opens. (The module as the host loads it: tests/host/pellory_module_test.cpp.)
#include <gtest/gtest.h>

#include "PelloryApp.h"
#include "PelloryDlg.h"
#include "PelloryPalette.h"
#include "arx/arx.h"
#include "win/transcript.h"
#include "win/winhost.h"

namespace {

class PelloryAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
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
    platform::resetWindowing();
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
  const std::vector<CMyPaletteSet*> sets = GroundLinePaletteSets();
  ASSERT_EQ(sets.size(), 2u);  // no single-instance guard: two sets
  EXPECT_NE(sets[0], sets[1]);
  for (CMyPaletteSet* set : sets) {
    EXPECT_STREQ(set->GetName().GetString(), "Selvic - 地面线录入对话框");
    EXPECT_EQ(set->GetPaletteSetStyle(), 30u);
    EXPECT_EQ(set->GetDockBarID(), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_TRUE(set->IsWindowVisible());
    EXPECT_EQ(set->GetOpacity(), 100);
    CSize low, high;
    set->GetMinimumSize(low);
    set->GetMaximumSize(high);
    EXPECT_EQ(low, CSize(100, 100));
    EXPECT_EQ(high, CSize(400, 400));
    ASSERT_EQ(set->GetPaletteCount(), 1);
    EXPECT_STREQ(set->GetPalette(0)->GetName().GetString(), "地面线对话框");
    EXPECT_EQ(set->GetPalette(0)->GetPaletteStyle(), 1u);
    CPelloryDlg* dlg = InputDialogOf(set);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->GetParent(), set->GetPalette(0));
    EXPECT_TRUE(dlg->IsWindowVisible());
    // Docked, the set is as tall as the dock (the frame's area between its
    // top and the command line) and as wide as the dialog; the maximum holds
    // for the floating set only. The dialog, made 500 x 800, fills the palette.
    CRect setRect, setClient, paletteClient, r;
    set->GetWindowRect(&setRect);
    set->GetClientRect(&setClient);
    set->GetPalette(0)->GetClientRect(&paletteClient);
    EXPECT_EQ(setRect.Height(), acedGetAcadFrame()->GetInnerRect().Height());
    EXPECT_GT(setRect.Height(), 800);
    EXPECT_EQ(setClient.Width(), 500);
    dlg->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 500);
    EXPECT_EQ(r.Height(), paletteClient.Height());
    EXPECT_EQ(paletteClient.Width(), 500);
  }
  // Floating, the set keeps within its maximum again; the dialog keeps its
  // width (the set shows its left part).
  CMyPaletteSet* first = sets[0];
  acedGetAcadFrame()->FloatControlBar(first, CPoint(100, 100));
  first->SetWindowPos(nullptr, 0, 0, 700, 900, SWP_NOMOVE | SWP_NOZORDER);
  CRect floating;
  first->GetWindowRect(&floating);
  EXPECT_EQ(floating.Width(), 400);
  EXPECT_EQ(floating.Height(), 400);
  CRect dialogRect;
  InputDialogOf(first)->GetWindowRect(&dialogRect);
  EXPECT_EQ(dialogRect.Width(), 500);
  EXPECT_EQ(platform::templateWindows(6).size(), 2u);

  // Unload removes the command and closes the palettes.
  ASSERT_EQ(app.EntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("HDMDMX"), nullptr);
  EXPECT_TRUE(GroundLinePaletteSets().empty());
  EXPECT_TRUE(platform::templateWindows(6).empty());
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
  EXPECT_TRUE(GroundLinePaletteSets().empty());
  EXPECT_EQ(transcript.text(), "");
}

}  // namespace
