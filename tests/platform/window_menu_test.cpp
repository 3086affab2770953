// Popup menus answered from the answer queue (by command and by path, and
// dismissed), menus loaded from resources, and the small controls: tool tips,
// owner-drawn buttons and the size box.
#include "arx/edcmdline.h"
#include "arx/edcommand.h"
#include "mfc/afxwin.h"
#include "win/commctrl.h"
#include "win/sysparams.h"
#include "win/winmenu.h"
#include "window_support.h"

namespace {

using windowtest::makeWindow;
using windowtest::messageLog;
using windowtest::WindowTest;

// The owner writes down the menu messages and commands it gets.
LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITMENUPOPUP:
      messageLog().push_back("initmenupopup " + std::to_string(GetMenuItemCount(reinterpret_cast<HMENU>(wParam))));
      return 0;
    case WM_COMMAND: messageLog().push_back("command " + std::to_string(LOWORD(wParam))); return 0;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      messageLog().push_back("drawitem " + std::to_string(d->CtlType) + " " + std::to_string(d->CtlID) + " " +
                             std::to_string(d->itemAction) + " " + std::to_string(d->itemState) + " " +
                             std::to_string(d->rcItem.right) + "x" + std::to_string(d->rcItem.bottom) +
                             (d->hDC ? "" : " no dc"));
      return TRUE;
    }
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{150, 120};
      return 0;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

class Menus : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, "MenuTestOwner", &wc)) {
      wc.lpfnWndProc = &ownerProc;
      wc.lpszClassName = "MenuTestOwner";
      RegisterClass(&wc);
    }
    owner = CreateWindowEx(0, "MenuTestOwner", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  }
  // The ground-line grid's context menu: 增加行 > (之前增加 21, 之后增加 23), 删除行 17.
  HMENU gridMenu() {
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 21, "之前增加");
    AppendMenu(sub, MF_STRING, 23, "之后增加(&A)");
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "增加行");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, 17, "删除行");
    return menu;
  }
  HWND owner = nullptr;
};

TEST_F(Menus, APopupMenuTakesItsAnswerByCommandOrPathAndIsDismissedWithoutOne) {
  struct Case {
    const char* answer;  // null: nothing queued
    UINT flags;
    int returned;
    std::vector<std::string> owner;  // what the owner hears (after the pump)
    const char* transcript;
  } const cases[] = {
      {"@menu 17", TPM_RETURNCMD, 17, {"initmenupopup 3"}, "[menu] 删除行 (17)"},
      {"@menu 23", TPM_RETURNCMD, 23, {"initmenupopup 3", "initmenupopup 2"}, "[menu] 增加行/之后增加 (23)"},
      {"@menu 增加行/之前增加", TPM_RETURNCMD, 21, {"initmenupopup 3", "initmenupopup 2"},
       "[menu] 增加行/之前增加 (21)"},
      // Without TPM_RETURNCMD the choice is posted to the owner as a command.
      {"@menu 删除行", TPM_RIGHTBUTTON, TRUE, {"initmenupopup 3", "command 17"}, "[menu] 删除行 (17)"},
      {"@menu cancel", TPM_RETURNCMD, 0, {"initmenupopup 3"}, "[menu] [dismissed]"},
      {nullptr, TPM_RETURNCMD, 0, {"initmenupopup 3"}, "[menu] [dismissed: no answer]"},
      {nullptr, 0, TRUE, {"initmenupopup 3"}, "[menu] [dismissed: no answer]"},
  };
  for (const Case& c : cases) {
    HMENU menu = gridMenu();
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(c.answer));
    }
    messageLog().clear();
    transcript.clear();
    EXPECT_EQ(TrackPopupMenu(menu, c.flags, 150, 150, 0, owner, nullptr), c.returned) << (c.answer ? c.answer : "-");
    platform::pumpMessages();
    EXPECT_EQ(messageLog(), c.owner) << (c.answer ? c.answer : "-");
    EXPECT_NE(transcript.text().find(c.transcript), std::string::npos) << transcript.text();
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    DestroyMenu(menu);
  }
  EXPECT_EQ(platform::menuCount(), 0u);  // the submenus went with their menus
}

// A command that opens the grid's menu with one item disabled.
HMENU g_menu = nullptr;
HWND g_owner = nullptr;
void openMenuCommand() {
  UINT chosen = static_cast<UINT>(TrackPopupMenu(g_menu, TPM_RETURNCMD, 0, 0, 0, g_owner, nullptr));
  messageLog().push_back("chosen " + std::to_string(chosen));
}

TEST_F(Menus, AnAnswerThatNamesNoChoiceFailsTheScriptAndAnUnusedOneToo) {
  struct Case {
    const char* answer;
    const char* error;  // null: the run goes through
  } const cases[] = {
      {"@menu 23", nullptr},
      {"@menu 99", "script:2: @menu 99: the menu has no command 99"},
      {"@menu 增加行/中间增加", "the menu has no item \"中间增加\" under \"增加行\""},
      {"@menu 增加行", "\"增加行\" opens a submenu: name an item in it"},
      {"@menu 删除行", "\"删除行\" is disabled"},
      {"@menu 17", "\"删除行\" is disabled"},
  };
  acedRegCmds->addCommand("MENUTEST", "MENUTEST_OPEN", "MENUTEST_OPEN", ACRX_CMD_MODAL, &openMenuCommand);
  g_owner = owner;
  for (const Case& c : cases) {
    g_menu = gridMenu();
    EnableMenuItem(g_menu, 17, MF_BYCOMMAND | MF_GRAYED);
    messageLog().clear();
    platform::RunResult r = platform::runScriptText(std::string("MENUTEST_OPEN\n") + c.answer + "\n");
    EXPECT_EQ(r.ok, c.error == nullptr) << c.answer;
    if (c.error) {
      EXPECT_NE(r.error.find(c.error), std::string::npos) << c.answer << ": " << r.error;
    }
    EXPECT_EQ(messageLog().back(), c.error ? "chosen 0" : "chosen 23") << c.answer;
    DestroyMenu(g_menu);
    platform::clearAnswers();
  }
  // An answer that no menu takes fails the run as any answer does.
  platform::RunResult r = platform::runScriptText("DELAY 1\n@menu 17\n");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("@menu 17"), std::string::npos) << r.error;
  acedRegCmds->removeGroup("MENUTEST");
  platform::clearAnswers();
}

TEST_F(Menus, AnswerLinesOfMenusAreCheckedWhenRead) {
  std::string error;
  EXPECT_FALSE(platform::queueAnswerLine("@menu", &error));
  EXPECT_NE(error.find("'@menu' takes a command id"), std::string::npos) << error;
  EXPECT_TRUE(platform::queueAnswerLine("@menu 编辑/删除行", &error)) << error;
  EXPECT_EQ(platform::pendingAnswerLines(), (std::vector<std::string>{"@menu 编辑/删除行"}));
}

TEST_F(Menus, ItemsKeepTheirStatesAndALoadedMenuComesFromTheResources) {
  static const platform::MenuItemResource items[] = {
      {"增加行", 0, MF_POPUP},          {"之前增加", 21, 0}, {"之后增加", 23, MF_END},
      {"删除行", 17, MF_END},
  };
  static const platform::MenuResource menus[] = {{19, items}};
  platform::registerResources({.menus = menus});
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(19));
  ASSERT_EQ(menu.GetMenuItemCount(), 2);
  CMenu* sub = menu.GetSubMenu(0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetMenuItemCount(), 2);
  EXPECT_EQ(sub->GetMenuItemID(1), 23u);
  EXPECT_EQ(menu.GetMenuItemID(0), static_cast<UINT>(-1));  // a submenu
  EXPECT_EQ(menu.GetMenuItemID(1), 17u);
  CString text;
  menu.GetMenuString(23, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString("之后增加"));
  EXPECT_EQ(menu.CheckMenuItem(21, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(MF_UNCHECKED));
  EXPECT_EQ(menu.GetMenuState(21, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(menu.EnableMenuItem(0, MF_BYPOSITION | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(menu.CheckMenuItem(999, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(-1));
  // A menu that is not in the resources is none.
  CMenu missing;
  EXPECT_FALSE(missing.LoadMenu(20));
  EXPECT_EQ(missing.GetSubMenu(0), nullptr);
  EXPECT_FALSE(TrackPopupMenu(missing.m_hMenu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
  menu.DestroyMenu();
  EXPECT_EQ(platform::menuCount(), 0u);
}

TEST_F(Menus, AToolTipKnowsItsToolsAndShowsTheOneUnderTheMouse) {
  HWND button = CreateWindowEx(0, "Button", "删除", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 50, 20, owner,
                               reinterpret_cast<HMENU>(2021), nullptr, nullptr);
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(CWnd::FromHandle(owner)));
  ASSERT_TRUE(tip.AddTool(CWnd::FromHandle(button), "删除"));
  CRect area(100, 100, 150, 150);
  ASSERT_TRUE(tip.AddTool(CWnd::FromHandle(owner), "区域", &area, 7));
  EXPECT_EQ(tip.GetToolCount(), 2);
  CString text;
  tip.GetText(text, CWnd::FromHandle(button));
  EXPECT_EQ(text, CString("删除"));
  tip.UpdateTipText("删除行", CWnd::FromHandle(button));
  tip.GetText(text, CWnd::FromHandle(button));
  EXPECT_EQ(text, CString("删除行"));
  auto moveTo = [&](HWND over, int x, int y) {
    MSG m{over, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, POINT{0, 0}};
    tip.RelayEvent(&m);
    return static_cast<UINT_PTR>(tip.SendMessage(TTM_GETSHOWNTOOL));
  };
  EXPECT_EQ(moveTo(button, 5, 5), reinterpret_cast<UINT_PTR>(button));
  EXPECT_EQ(moveTo(owner, 120, 120), 7u);
  EXPECT_EQ(moveTo(owner, 200, 10), 0u);
  tip.Activate(FALSE);
  EXPECT_EQ(moveTo(button, 5, 5), 0u);
}

TEST_F(Menus, AnOwnerDrawnButtonIsDrawnByItsParent) {
  HWND button = CreateWindowEx(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 40, 24, owner,
                               reinterpret_cast<HMENU>(3), nullptr, nullptr);
  platform::pumpMessages();
  messageLog().clear();
  InvalidateRect(button, nullptr, TRUE);
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"drawitem 4 3 1 0 40x24"}));
  messageLog().clear();
  // Pressed: drawn selected and focused, then told as a click when released.
  POINT centre{100 + 30, 100 + 22};
  platform::postMouseInput(WM_LBUTTONDOWN, centre);
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"drawitem 4 3 1 17 40x24"}));
  messageLog().clear();
  platform::postMouseInput(WM_LBUTTONUP, centre);
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"command 3", "drawitem 4 3 1 16 40x24"}));
}

TEST_F(Menus, TheSizeBoxSitsInTheCornerAndResizesItsWindowWithinItsLimits) {
  RECT client;
  GetClientRect(owner, &client);
  HWND grip = CreateWindowEx(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                             client.left, client.top, client.right, client.bottom, owner,
                             reinterpret_cast<HMENU>(0xEA20), nullptr, nullptr);
  int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  RECT r;
  GetWindowRect(grip, &r);
  EXPECT_EQ(r.right, 100 + client.right);
  EXPECT_EQ(r.bottom, 100 + client.bottom);
  EXPECT_EQ(r.right - r.left, cx);
  EXPECT_EQ(r.bottom - r.top, cy);
  // Dragged 30 right and 20 down: the window grows by as much.
  POINT at{r.left + cx / 2, r.top + cy / 2};
  platform::postMouseInput(WM_LBUTTONDOWN, at);
  platform::postMouseInput(WM_MOUSEMOVE, POINT{at.x + 30, at.y + 20});
  platform::postMouseInput(WM_LBUTTONUP, POINT{at.x + 30, at.y + 20});
  platform::pumpMessages();
  RECT w;
  GetWindowRect(owner, &w);
  EXPECT_EQ(w.right - w.left, 330);
  EXPECT_EQ(w.bottom - w.top, 220);
  // Dragged far up and left: no smaller than the window's minimum (150 x 120).
  GetWindowRect(grip, &r);
  at = POINT{r.left + cx / 2, r.top + cy / 2};
  platform::postMouseInput(WM_LBUTTONDOWN, at);
  platform::postMouseInput(WM_LBUTTONUP, POINT{at.x - 1000, at.y - 1000});
  platform::pumpMessages();
  GetWindowRect(owner, &w);
  EXPECT_EQ(w.right - w.left, 150);
  EXPECT_EQ(w.bottom - w.top, 120);
}

}  // namespace
