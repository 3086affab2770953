// The host's windows used by modules: a menu found only in the module that
// has it, a palette set and a dock bar docked in the main frame, resized,
// closed, and gone with their module at its unload; the tree words in a
// script line that acts on the bar's dialog.
#include "arx/acui.h"
#include "host_fixture.h"
#include "mfc/afxwin.h"
#include "win/winhost.h"
#include "win/winmenu.h"

namespace {

class HostWindows : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    platform::resetWindowing();
  }
  void TearDown() override {
    HostTest::TearDown();
    platform::resetWindowing();
  }
};

TEST_F(HostWindows, ALoadedMenuIsFoundOnlyInItsOwnModule) {
  load("tm_hostwin");
  load("tm_hostwin_b");
  ASSERT_TRUE(platform::queueAnswerLine("@menu 增加行/之后增加"));
  EXPECT_EQ(platform::runCommand("HWA_MENU"), RTNORM);
  EXPECT_NE(at("hw a: menu chose 23"), std::string::npos) << transcript.text();
  EXPECT_NE(at("[menu] 增加行/之后增加 (23)"), std::string::npos);
  // The other module has no menu 19, though a loaded module has one.
  EXPECT_EQ(platform::runCommand("HWB_MENU"), RTNORM);
  EXPECT_NE(at("hw b: no menu 19"), std::string::npos) << transcript.text();
  // Nor has the host's own code.
  EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCE(19)), nullptr);
  // Without an answer the menu is dismissed.
  EXPECT_EQ(platform::runCommand("HWA_MENU"), RTNORM);
  EXPECT_NE(at("[menu] [dismissed: no answer]"), std::string::npos);
  EXPECT_NE(at("hw a: menu chose 0"), std::string::npos);
  EXPECT_EQ(platform::menuCount(), 0u);  // the command's menu went with its CMenu
}

TEST_F(HostWindows, APaletteSetAndADockBarDockResizeAndGoWithTheirModule) {
  load("tm_hostwin");
  CMDIFrameWnd* frame = acedGetAcadFrame();
  ASSERT_NE(frame, nullptr);
  HWND frameWindow = frame->m_hWnd;
  EXPECT_EQ(platform::runCommand("HWA_PALETTE"), RTNORM);
  // Docked on the left: as tall as the dock (the frame's inner area) and as
  // wide as its palette's dialog, 500, in its 3-pixel frame; its maximum of
  // 400 x 400 holds only while it floats. The palette fills it below the title.
  const int dockHeight = frame->GetInnerRect().Height();
  EXPECT_NE(at("hw a: palette set 506x" + std::to_string(dockHeight) + " in 59420, palette 500x" +
               std::to_string(dockHeight - 6 - 20) + ","),
            std::string::npos)
      << transcript.text();
  EXPECT_NE(at("1 palette(s), input dialog shown"), std::string::npos) << transcript.text();
  EXPECT_EQ(platform::runCommand("HWA_BAR"), RTNORM);
  EXPECT_NE(at("hw a: bar create"), std::string::npos) << transcript.text();
  EXPECT_NE(at("hw a: bar in 59420, tool id {45D8E5DE-AA69-4611-8FEB-B2A6BEE8FB47}"), std::string::npos)
      << transcript.text();
  // The bar sits right of the palette set, with its own width and the frame's height.
  ASSERT_EQ(frame->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).size(), 2u);
  CControlBar* bar = frame->GetDockedBars(AFX_IDW_DOCKBAR_LEFT)[1];
  CRect barRect;
  bar->GetWindowRect(&barRect);
  CRect frameClient;
  frame->GetClientRect(&frameClient);
  frame->ClientToScreen(&frameClient);
  EXPECT_EQ(barRect.left, frameClient.left + 506);
  EXPECT_EQ(barRect.Width(), 200);
  EXPECT_EQ(platform::dockControlBarCount(), 2u);
  EXPECT_EQ(frame->GetInnerRect().left, 706);

  // Made wider: the derived class hears WM_SIZE and the size change.
  transcript.clear();
  EXPECT_EQ(platform::runCommand("HWA_RESIZE"), RTNORM);
  EXPECT_NE(at("hw a: bar size 260x"), std::string::npos) << transcript.text();
  EXPECT_NE(at("hw a: bar size changed 260x"), std::string::npos) << transcript.text();
  EXPECT_LT(at("hw a: bar size 260x"), at("hw a: bar size changed 260x"));
  // Docked, it keeps its minimum height and the width its dialog needs.
  EXPECT_NE(at("hw a: palette set asked 50x50, got 506x100"), std::string::npos) << transcript.text();
  EXPECT_EQ(frame->GetInnerRect().left, 506 + 260);

  // The tree in the bar's dialog answers a script's words.
  transcript.clear();
  platform::RunResult r = platform::runScriptText("> 961 206=方案1/输入数据/曲线表 206:dbl=方案1/输入数据/曲线表\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_NE(at("hw a: tree click"), std::string::npos) << transcript.text();
  EXPECT_NE(at("hw a: tree open [曲线表]"), std::string::npos) << transcript.text();

  // Its close command asks the bar, which lets its child go, and hides it.
  transcript.clear();
  EXPECT_EQ(platform::runCommand("HWA_CLOSE"), RTNORM);
  EXPECT_NE(at("hw a: bar syscommand F060"), std::string::npos) << transcript.text();
  EXPECT_NE(at("hw a: tree dialog deleted"), std::string::npos) << transcript.text();
  EXPECT_NE(at("hw a: bar hidden, child gone"), std::string::npos) << transcript.text();

  // The module leaves both to the host: they go at its unload, while its code is there.
  transcript.clear();
  std::string why;
  ASSERT_TRUE(platform::unloadModule("tm_hostwin", &why)) << why;
  size_t unload = at("hw a: unload");
  EXPECT_NE(unload, std::string::npos);
  for (const char* gone : {"hw a: bar deleted", "hw a: palette set deleted", "hw a: palette deleted",
                           "hw a: input dialog deleted"}) {
    EXPECT_NE(at(gone), std::string::npos) << gone << "\n" << transcript.text();
    EXPECT_GT(at(gone), unload) << gone;
  }
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_EQ(platform::menuCount(), 0u);
  EXPECT_TRUE(platform::templateWindows(960).empty());
  EXPECT_TRUE(platform::templateWindows(961).empty());
  EXPECT_TRUE(frame->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).empty());
  // The frame stays, with its view and command line only.
  EXPECT_TRUE(IsWindow(frameWindow));
  EXPECT_EQ(platform::windowCount(), 3u);
  EXPECT_EQ(frame->GetInnerRect().left, 0);
}

TEST_F(HostWindows, EveryPaletteCommandMakesANewSet) {
  load("tm_hostwin");
  EXPECT_EQ(platform::runCommand("HWA_PALETTE"), RTNORM);
  EXPECT_EQ(platform::runCommand("HWA_PALETTE"), RTNORM);
  EXPECT_EQ(platform::dockControlBarCount(), 2u);
  EXPECT_EQ(acedGetAcadFrame()->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).size(), 2u);
  EXPECT_EQ(platform::templateWindows(960).size(), 2u);
  std::string why;
  ASSERT_TRUE(platform::unloadModule("tm_hostwin", &why)) << why;
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_TRUE(platform::templateWindows(960).empty());
}

}  // namespace
