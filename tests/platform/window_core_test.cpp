// The window system's core: handles, the tree of windows, sent and posted
// messages, the order in which the pump takes its messages, timers on the
// stepped clock, focus, capture, the keyboard state and coordinates.
#include <set>

#include "window_support.h"

namespace {

using windowtest::makeWindow;
using windowtest::messageLog;
using WindowCore = windowtest::WindowTest;

TEST_F(WindowCore, HandlesAreNeverUsedTwice) {
  std::set<HWND> seen;
  for (int i = 0; i < 20; ++i) {
    HWND w = makeWindow("W");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(seen.insert(w).second) << "handle used twice";
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(SendMessage(w, WM_USER, 1, 0), 0);
    EXPECT_FALSE(PostMessage(w, WM_USER, 1, 0));
  }
  EXPECT_EQ(platform::windowCount(), 0u);
}

TEST_F(WindowCore, DestroyingAWindowEndsItsChildrenBetweenItsLastTwoMessages) {
  HWND p = makeWindow("P");
  HWND a = makeWindow("A", p, 1);
  makeWindow("A1", a, 2);
  makeWindow("B", p, 3);
  HWND owned = CreateWindowEx(0, windowtest::loggingClass(), "O", WS_POPUP, 0, 0, 10, 10, a, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(owned), p);  // a popup's owner is the top-level window of the window given
  messageLog().clear();
  DestroyWindow(p);
  EXPECT_EQ(messageLog(),
            (std::vector<std::string>{"O destroy", "O ncdestroy", "P destroy", "A destroy", "A1 destroy",
                                      "A1 ncdestroy", "A ncdestroy", "B destroy", "B ncdestroy", "P ncdestroy"}));
  EXPECT_EQ(platform::windowCount(), 0u);
}

TEST_F(WindowCore, SentMessagesRunAtOncePostedOnesWhenThePumpRuns) {
  HWND w = makeWindow("W");
  HWND gone = makeWindow("G");
  platform::pumpMessages();
  messageLog().clear();
  PostMessage(w, WM_USER, 1, 0);
  PostMessage(gone, WM_USER, 9, 0);
  SendMessage(w, WM_USER, 2, 0);
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"W user 2"}));
  DestroyWindow(gone);
  messageLog().clear();
  EXPECT_EQ(platform::pumpMessages(), 1);  // the message to the window that went is dropped
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"W user 1"}));
}

TEST_F(WindowCore, ThePumpTakesPostedMessagesThenInputThenPaintingThenTimers) {
  HWND w = makeWindow("W");
  SetFocus(w);
  platform::pumpMessages();
  SetTimer(w, 5, 10, nullptr);
  platform::advanceClock(10);
  messageLog().clear();
  platform::postKeyInput('A', true);
  platform::postKeyInput('A', false);
  PostMessage(w, WM_USER, 1, 0);
  InvalidateRect(w, nullptr, TRUE);
  platform::pumpMessages();
  EXPECT_EQ(messageLog(),
            (std::vector<std::string>{"W user 1", "W keydown 65", "W char 97", "W keyup 65", "W paint", "W timer 5"}));
}

TEST_F(WindowCore, TimersFallDueOnlyWhenTheClockIsStepped) {
  DWORD start = GetTickCount();
  HWND w = makeWindow("W");
  platform::pumpMessages();
  messageLog().clear();
  ASSERT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
  static int procCalls = 0;
  procCalls = 0;
  UINT_PTR free = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++procCalls; });
  ASSERT_NE(free, 0u);
  platform::pumpMessages();
  platform::advanceClock(99);
  platform::pumpMessages();
  EXPECT_TRUE(messageLog().empty());
  EXPECT_EQ(procCalls, 1);
  platform::advanceClock(1);
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"W timer 7"}));
  // Time that covers several periods gives one message.
  platform::advanceClock(350);
  platform::pumpMessages();
  EXPECT_EQ(messageLog().size(), 2u);
  EXPECT_EQ(procCalls, 2);
  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_FALSE(KillTimer(w, 7));
  KillTimer(nullptr, free);
  platform::advanceClock(1000);
  platform::pumpMessages();
  EXPECT_EQ(messageLog().size(), 2u);
  EXPECT_EQ(procCalls, 2);
  // A window's timers go with it.
  SetTimer(w, 8, 10, nullptr);
  DestroyWindow(w);
  messageLog().clear();
  platform::advanceClock(20);
  EXPECT_EQ(platform::pumpMessages(), 0);
  EXPECT_EQ(GetTickCount() - start, 1470u);
}

TEST_F(WindowCore, FocusLeavesOneWindowBeforeItComesToTheNext) {
  HWND p = makeWindow("P");
  HWND a = makeWindow("A", p, 1);
  HWND b = makeWindow("B", p, 2);
  SetFocus(a);
  messageLog().clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"A killfocus to B", "B setfocus from A"}));
  // A window that is disabled loses the focus; one that is destroyed too.
  messageLog().clear();
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"B killfocus to none"}));
  SetFocus(a);
  DestroyWindow(a);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowCore, TheKeyboardStateChangesAsThePumpTakesTheKeys) {
  HWND w = makeWindow("W");
  SetFocus(w);
  platform::pumpMessages();
  messageLog().clear();
  platform::postKeyInput(VK_CONTROL, true);
  platform::postKeyInput('V', true);
  platform::postKeyInput('V', false);
  platform::postKeyInput(VK_CONTROL, false);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);  // nothing taken yet
  ASSERT_TRUE(platform::pumpOne());
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  platform::pumpMessages();
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  // Ctrl+V makes the character 22.
  EXPECT_EQ(messageLog(),
            (std::vector<std::string>{"W keydown 17", "W keydown 86", "W char 22", "W keyup 86", "W keyup 17"}));
  struct Case {
    std::vector<UINT> down;  // keys held, in order
    UINT key;
    int ch;  // the character, 0 for none
  } cases[] = {
      {{}, 'A', 'a'},     {{VK_SHIFT}, 'A', 'A'}, {{}, '7', '7'},   {{VK_SHIFT}, '7', '&'}, {{}, VK_RETURN, '\r'},
      {{}, VK_TAB, '\t'}, {{}, VK_ESCAPE, 27},    {{}, VK_NEXT, 0}, {{}, VK_SPACE, ' '},    {{}, VK_OEM_PERIOD, '.'},
  };
  for (const Case& c : cases) {
    messageLog().clear();
    for (UINT k : c.down) platform::postKeyInput(k, true);
    platform::postKeyInput(c.key, true);
    platform::postKeyInput(c.key, false);
    for (UINT k : c.down) platform::postKeyInput(k, false);
    platform::pumpMessages();
    std::string chars;
    for (const std::string& e : messageLog())
      if (e.rfind("W char ", 0) == 0) chars += e.substr(7) + ";";
    EXPECT_EQ(chars, c.ch ? std::to_string(c.ch) + ";" : "") << "key " << c.key;
  }
}

TEST_F(WindowCore, MouseInputGoesToTheWindowUnderThePointOrToTheCapture) {
  HWND p = makeWindow("P", nullptr, 0, RECT{100, 100, 300, 200});
  HWND a = makeWindow("A", p, 1, RECT{0, 0, 50, 50});
  HWND b = makeWindow("B", p, 2, RECT{60, 0, 110, 50});
  platform::pumpMessages();
  messageLog().clear();
  platform::postMouseInput(WM_LBUTTONDOWN, POINT{110, 110});  // on A
  platform::postMouseInput(WM_LBUTTONDOWN, POINT{170, 110});  // on B
  platform::postMouseInput(WM_LBUTTONDOWN, POINT{250, 180});  // on P itself
  platform::postMouseInput(WM_LBUTTONDOWN, POINT{500, 500});  // on nothing: lost
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"A lbuttondown", "B lbuttondown", "P lbuttondown"}));
  messageLog().clear();
  SetCapture(b);
  platform::postMouseInput(WM_LBUTTONUP, POINT{110, 110});
  platform::pumpMessages();
  ReleaseCapture();
  EnableWindow(a, FALSE);
  platform::postMouseInput(WM_LBUTTONDOWN, POINT{110, 110});  // a disabled window takes no input
  platform::pumpMessages();
  EXPECT_EQ(logWithoutPaint(), (std::vector<std::string>{"B lbuttonup", "B capturechanged"}));
}

TEST_F(WindowCore, PointsMapBetweenClientAreasAndTheScreen) {
  HWND plain = makeWindow("P", nullptr, 0, RECT{100, 200, 300, 300});
  HWND child = makeWindow("C", plain, 1, RECT{10, 20, 60, 40});
  HWND framed = CreateWindowEx(0, windowtest::loggingClass(), "F", WS_POPUP | WS_BORDER, 50, 60, 120, 80, nullptr,
                               nullptr, nullptr, nullptr);
  struct Case {
    HWND from, to;
    POINT in, out;
  } cases[] = {
      {child, nullptr, {0, 0}, {110, 220}}, {child, nullptr, {5, -5}, {115, 215}}, {nullptr, child, {110, 220}, {0, 0}},
      {child, plain, {1, 2}, {11, 22}},     {framed, nullptr, {0, 0}, {51, 61}},   {plain, framed, {0, 0}, {49, 139}},
  };
  for (const Case& c : cases) {
    POINT pt = c.in;
    MapWindowPoints(c.from, c.to, &pt, 1);
    EXPECT_EQ(pt.x, c.out.x);
    EXPECT_EQ(pt.y, c.out.y);
  }
  RECT r;
  GetClientRect(framed, &r);
  EXPECT_EQ(r.right, 118);  // the border takes a pixel on each side
  EXPECT_EQ(r.bottom, 78);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 110);
  EXPECT_EQ(r.bottom, 240);
  EXPECT_EQ(WindowFromPoint(POINT{115, 225}), child);
  EXPECT_EQ(ChildWindowFromPoint(plain, POINT{15, 25}), child);
}

TEST_F(WindowCore, AWindowThatNeedsPaintingIsPaintedOnceWhenNothingElseWaits) {
  HWND w = makeWindow("W");
  HWND hidden = makeWindow("H", nullptr, 0, RECT{0, 0, 10, 10}, 0);
  InvalidateRect(hidden, nullptr, TRUE);
  messageLog().clear();
  platform::pumpMessages();
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"W paint"}));  // a hidden window is not painted
  RECT part{1, 1, 5, 5}, update;
  InvalidateRect(w, &part, FALSE);
  EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_TRUE(EqualRect(&update, &part));
  ValidateRect(w, nullptr);
  messageLog().clear();
  EXPECT_EQ(platform::pumpMessages(), 0);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);  // at once, without the pump
  EXPECT_EQ(messageLog(), (std::vector<std::string>{"W paint"}));
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  // What painting takes: the rectangle, whether to erase first; then the window is painted.
  InvalidateRect(w, &part, FALSE);
  InvalidateRect(w, &part, TRUE);
  bool erase = false;
  RECT taken;
  ASSERT_TRUE(platform::takePaintUpdate(w, &taken, &erase));
  EXPECT_TRUE(EqualRect(&taken, &part));
  EXPECT_TRUE(erase);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  ASSERT_TRUE(platform::takePaintUpdate(w, &taken, &erase));
  EXPECT_EQ(taken.right, 100);  // nothing invalid: the whole client area
  EXPECT_FALSE(erase);
}

}  // namespace
