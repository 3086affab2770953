// COleDropTarget on a window of the class library: registered and revoked,
// its handlers called with the window's object, the default effects (a copy
// with Ctrl, a move without) and a drop or a leave at a point of the window.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mfc/afxole.h"
#include "mfc/afxwin.h"
#include "window_support.h"

namespace {

// Keeps the calls it had; takes dropped text.
class LogTarget : public COleDropTarget {
 public:
  std::vector<std::string> log;
  std::string dropped;
  CWnd* seen = nullptr;

  DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keys, CPoint p) override {
    seen = wnd;
    log.push_back("enter " + std::to_string(p.x) + "," + std::to_string(p.y));
    return COleDropTarget::OnDragEnter(wnd, data, keys, p);
  }
  DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keys, CPoint p) override {
    log.push_back("over");
    return COleDropTarget::OnDragOver(wnd, data, keys, p);
  }
  void OnDragLeave(CWnd*) override { log.push_back("leave"); }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint) override {
    log.push_back("drop " + std::to_string(effect));
    HGLOBAL block = data->GetGlobalData(CF_TEXT);
    if (!block) return FALSE;
    dropped = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return TRUE;
  }
};

std::unique_ptr<COleDataSource> textSource(const char* text) {
  auto s = std::make_unique<COleDataSource>();
  size_t n = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
  std::memcpy(GlobalLock(block), text, n);
  GlobalUnlock(block);
  s->CacheGlobalData(CF_TEXT, block);
  return s;
}

class DropTarget : public windowtest::WindowTest {};

TEST_F(DropTarget, ADropWithCtrlCopiesWithoutItMovesAndALeaveDropsNothing) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "grid", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  LogTarget target;
  ASSERT_TRUE(target.Register(&wnd));
  LogTarget second;
  EXPECT_FALSE(second.Register(&wnd)) << "one drop target a window";
  struct Case {
    const char* what;
    DWORD keys;
    bool release;
    DROPEFFECT effect;
    std::vector<std::string> log;
    std::string dropped;
  };
  const Case cases[] = {
      {"Ctrl held: a copy", MK_LBUTTON | MK_CONTROL, true, DROPEFFECT_COPY, {"enter 30,40", "over", "drop 1"}, "1\t2"},
      {"no Ctrl: a move", MK_LBUTTON, true, DROPEFFECT_MOVE, {"enter 30,40", "over", "drop 2"}, "1\t2"},
      {"given up over the window", MK_LBUTTON, false, DROPEFFECT_MOVE, {"enter 30,40", "over", "leave"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    target.log.clear();
    target.dropped.clear();
    auto data = textSource("1\t2");
    EXPECT_EQ(platform::dragOnto(*data, wnd.m_hWnd, POINT{30, 40}, c.keys, c.release), c.effect);
    EXPECT_EQ(target.log, c.log);
    EXPECT_EQ(target.dropped, c.dropped);
    EXPECT_EQ(target.seen, &wnd) << "the handlers get the window's own object";
  }
  // Revoked, the window takes no drop.
  target.Revoke();
  target.log.clear();
  auto data = textSource("x");
  EXPECT_EQ(platform::dragOnto(*data, wnd.m_hWnd, POINT{1, 1}, MK_CONTROL, true), DROPEFFECT_NONE);
  EXPECT_TRUE(target.log.empty());
  EXPECT_TRUE(second.Register(&wnd)) << "free for another target";
  wnd.DestroyWindow();
}

TEST_F(DropTarget, TheDefaultsAnswerCopyOrMoveAndTakeNoDrop) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "plain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  COleDropTarget target;
  ASSERT_TRUE(target.Register(&wnd));
  auto data = textSource("x");
  EXPECT_EQ(platform::dragOnto(*data, wnd.m_hWnd, POINT{5, 5}, MK_CONTROL, false), DROPEFFECT_COPY);
  EXPECT_EQ(platform::dragOnto(*data, wnd.m_hWnd, POINT{5, 5}, 0, false), DROPEFFECT_MOVE);
  EXPECT_EQ(platform::dragOnto(*data, wnd.m_hWnd, POINT{5, 5}, 0, true), DROPEFFECT_NONE) << "OnDrop takes nothing";
  EXPECT_EQ(target.OnDragScroll(&wnd, MK_CONTROL, CPoint(1, 1)), DROPEFFECT_NONE);
  wnd.DestroyWindow();
}

}  // namespace
