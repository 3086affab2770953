// The windows of a loaded module: they answer in the module's scope, find the
// module's own resources and classes, delete themselves safely, and go with
// the module when it is unloaded, with its timers, posted messages and class.
#include "host_fixture.h"
#include "mfc/afxwin.h"
#include "win/userinput.h"
#include "win/winhost.h"

namespace {

class ModuleWindows : public HostTest {
 protected:
  void TearDown() override {
    HostTest::TearDown();
    platform::resetWindowing();
  }
  HWND openModeless() {
    EXPECT_EQ(platform::runCommand("DLG_OPEN"), RTNORM);
    std::vector<HWND> open = platform::templateWindows(910);
    EXPECT_FALSE(open.empty());
    return open.empty() ? nullptr : open.back();
  }
};

TEST_F(ModuleWindows, AWindowThatDeletesItselfInItsClickHandlerGetsNothingAfterwards) {
  load("tm_dialogs");
  HWND dlg = openModeless();
  ASSERT_NE(dlg, nullptr);
  platform::pumpMessages();
  EXPECT_NE(at("dlg: app message 1"), std::string::npos);
  std::string error;
  // Its handler posts it a message, destroys it and the object deletes itself.
  EXPECT_TRUE(platform::playWords(dlg, {"912"}, error)) << error;
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_NE(at("dlg: modeless deleted"), std::string::npos);
  EXPECT_FALSE(PostMessage(dlg, WM_APP, 3, 0));
  EXPECT_EQ(SendMessage(dlg, WM_APP, 4, 0), 0);
  platform::pumpMessages();
  EXPECT_EQ(at("dlg: app message 2"), std::string::npos);
  EXPECT_EQ(at("dlg: app message 3"), std::string::npos);
  EXPECT_EQ(at("dlg: app message 4"), std::string::npos);
}

TEST_F(ModuleWindows, UnloadTakesTheModulesWindowsTimersMessagesAndClassAndLoadingAgainWorks) {
  load("tm_dialogs");
  HWND dlg = openModeless();  // a dialog open, its timer running, a message posted to it
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(platform::runCommand("DLG_HELLO") == RTNORM);  // the command line runs; nothing is pumped yet
  size_t windows = platform::windowCount();
  EXPECT_GE(windows, 2u);  // the dialog with its controls, and the window of the module's class
  transcript.clear();
  std::string why;
  ASSERT_TRUE(platform::unloadModule("tm_dialogs", &why)) << why;
  // The module's own clean-up runs first, then its windows go while its code is there.
  size_t unload = at("dlg: unload"), deleted = at("dlg: modeless deleted"), plain = at("dlg: plain window gone");
  EXPECT_NE(unload, std::string::npos);
  EXPECT_LT(unload, deleted);
  EXPECT_LT(unload, plain);
  EXPECT_EQ(platform::windowCount(), 0u);
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_TRUE(platform::templateWindows(910).empty());
  // Nothing reaches the unloaded code: not the posted message, not the timer.
  platform::advanceClock(1000);
  EXPECT_EQ(platform::pumpMessages(), 0);
  EXPECT_EQ(at("dlg: app message"), std::string::npos);
  EXPECT_EQ(at("dlg: tick"), std::string::npos);
  // Its class and its resources are gone.
  WNDCLASS wc;
  EXPECT_FALSE(GetClassInfo(nullptr, "TmDlgClass", &wc));
  EXPECT_EQ(platform::findDialogTemplate(910), nullptr);

  load("tm_dialogs");
  transcript.clear();
  HWND again = openModeless();
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, dlg);  // handles are not used again
  platform::pumpMessages();
  platform::advanceClock(100);
  platform::pumpMessages();
  EXPECT_NE(at("dlg: app message 1"), std::string::npos);
  EXPECT_NE(at("dlg: tick 1"), std::string::npos);
}

TEST_F(ModuleWindows, AModulesResourcesAndClassesAreItsOwn) {
  load("tm_app");  // has a string 4711 in its table
  load("tm_dialogs");
  transcript.clear();
  EXPECT_EQ(platform::runCommand("DLG_STRINGS"), RTNORM);
  // The module finds its own string, and not another module's.
  EXPECT_NE(at("dlg: strings 1 [模块的] 0 []"), std::string::npos) << transcript.text();
  // The host's code finds neither.
  CString s;
  EXPECT_FALSE(s.LoadString(5001));
  EXPECT_EQ(platform::findDialogTemplate(900), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "TmDlgClass", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  // The module's window runs in the module's scope: its handler finds the module's string.
  HWND dlg = openModeless();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(platform::windowModule(dlg), platform::windowModule(GetDlgItem(dlg, 911)));
  EXPECT_NE(platform::windowModule(dlg), nullptr);
}

}  // namespace
