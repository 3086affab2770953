// A window's standard scroll bars: shown and hidden with their range (the
// WS_HSCROLL and WS_VSCROLL style bits), the client area giving them room and
// the window told its new size once; a WM_SIZE handler that sets the ranges
// again; ShowScrollBar; the bars in the window's picture (arrows, track, thumb
// at its position, the disabled look); and the mouse on them (arrows, page
// clicks and a thumb drag told to the window as WM_HSCROLL and WM_VSCROLL).
#include <string>
#include <vector>

#include "gdi_support.h"
#include "win/gdiimage.h"
#include "win/sysparams.h"
#include "win/winpaint.h"
#include "window_support.h"

namespace {

using gditest::kFace;

constexpr int kBar = 17;                                  // the bars' width (SM_CXVSCROLL)
constexpr COLORREF kTrack = RGB(234, 232, 228);           // the scroll-bar colour and white, half each
constexpr COLORREF kArrow = RGB(0, 0, 0);                 // COLOR_BTNTEXT
constexpr COLORREF kGreyArrow = RGB(128, 128, 128);       // COLOR_GRAYTEXT
constexpr COLORREF kClient = RGB(255, 255, 255);          // the test windows' class brush
constexpr int kWidth = 200, kHeight = 100;                // the test window, no border
constexpr POINT kAt{100, 50};                             // its place on the screen

std::vector<std::string> g_log;
// What the window's WM_SIZE does: nothing, set its ranges for a content of
// g_content (a page of its client size), or show its horizontal bar when it is
// hidden and hide it when it is shown.
enum class OnSize { Nothing, SetRanges, Flip };
OnSize g_onSize = OnSize::Nothing;
SIZE g_content{0, 0};

// Each range with a page of the client size as it is at that moment.
void setRanges(HWND hwnd) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  RECT client{};
  GetClientRect(hwnd, &client);
  si.nMax = g_content.cy - 1;
  si.nPage = static_cast<UINT>(client.bottom);
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  GetClientRect(hwnd, &client);
  si.nMax = g_content.cx - 1;
  si.nPage = static_cast<UINT>(client.right);
  SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
}

LRESULT CALLBACK scrollingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: {
      int cx = LOWORD(lParam), cy = HIWORD(lParam);
      g_log.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
      if (g_onSize == OnSize::SetRanges) setRanges(hwnd);
      if (g_onSize == OnSize::Flip)
        ShowScrollBar(hwnd, SB_HORZ, (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_HSCROLL) ? FALSE : TRUE);
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      std::string e = msg == WM_HSCROLL ? "h " : "v ";
      e += std::to_string(LOWORD(wParam));
      if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION) e += " " + std::to_string(HIWORD(wParam));
      g_log.push_back(e);
      return 0;
    }
    case WM_LBUTTONDOWN: g_log.push_back("lbuttondown"); return 0;
    case WM_LBUTTONUP: g_log.push_back("lbuttonup"); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

const char* scrollingClass() {
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, "TestScrolling", &wc)) {
    wc.lpfnWndProc = &scrollingProc;
    wc.lpszClassName = "TestScrolling";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClass(&wc);
  }
  return "TestScrolling";
}

SIZE clientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

DWORD barStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL); }

class ScrollBars : public windowtest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    g_log.clear();
    g_onSize = OnSize::Nothing;
    m_hwnd = CreateWindowEx(0, scrollingClass(), "scrolling", WS_POPUP | WS_VISIBLE, kAt.x, kAt.y, kWidth, kHeight,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(m_hwnd);
    g_log.clear();
  }
  void TearDown() override {
    g_onSize = OnSize::Nothing;
    WindowTest::TearDown();
  }
  int setInfo(int bar, int min, int max, UINT page, UINT extra = 0) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | extra;
    si.nMin = min;
    si.nMax = max;
    si.nPage = page;
    return SetScrollInfo(m_hwnd, bar, &si, TRUE);
  }
  // Presses the left button at a point of the window (window coordinates),
  // moves it by `drag` along the way and releases it; pumped.
  void press(POINT pt, std::vector<POINT> moves = {}) {
    POINT s{kAt.x + pt.x, kAt.y + pt.y};
    platform::postMouseInput(WM_LBUTTONDOWN, s);
    for (POINT m : moves) {
      s = POINT{kAt.x + m.x, kAt.y + m.y};
      platform::postMouseInput(WM_MOUSEMOVE, s);
    }
    platform::postMouseInput(WM_LBUTTONUP, s);
    platform::pumpMessages();
  }
  HWND m_hwnd = nullptr;
};

TEST_F(ScrollBars, ABarIsShownWhenItsRangeNeedsScrollingAndHiddenWhenItFits) {
  // A click on the up (left) arrow: told to the window when the bar is shown
  // and enabled, ignored when it is disabled, the window's own click when the
  // bar is hidden.
  const std::vector<std::string> scrolls = {"h 0", "h 8"}, scrollsUp = {"v 0", "v 8"}, ignored = {},
                                 clicked = {"lbuttondown", "lbuttonup"};
  struct Case {
    const char* what;
    int bar;
    int min, max;
    UINT page;
    UINT extra;   // more SCROLLINFO mask bits
    DWORD style;  // the bar's style bit when shown, else 0
    const std::vector<std::string>& click;
  };
  const Case cases[] = {
      {"300 units, a page of 200", SB_HORZ, 0, 299, 200, 0, WS_HSCROLL, scrolls},
      {"200 units, a page of 200: fits exactly", SB_HORZ, 0, 199, 200, 0, 0, clicked},
      {"201 units, a page of 200", SB_HORZ, 0, 200, 200, 0, WS_HSCROLL, scrolls},
      {"100 units, a page of 200", SB_HORZ, 0, 99, 200, 0, 0, clicked},
      {"no page, positions 0 to 10", SB_HORZ, 0, 10, 0, 0, WS_HSCROLL, scrolls},
      {"no page, one position", SB_HORZ, 5, 5, 0, 0, 0, clicked},
      {"vertical, 150 units, a page of 100", SB_VERT, 0, 149, 100, 0, WS_VSCROLL, scrollsUp},
      {"vertical, fits", SB_VERT, 10, 59, 100, 0, 0, clicked},
      {"fits, kept shown but disabled", SB_HORZ, 0, 199, 200, SIF_DISABLENOSCROLL, WS_HSCROLL, ignored},
      {"needs scrolling, kept shown and enabled", SB_HORZ, 0, 299, 200, SIF_DISABLENOSCROLL, WS_HSCROLL, scrolls},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // From a bar of the other state: hidden before a case that shows, shown before one that hides.
    ShowScrollBar(m_hwnd, c.bar, c.style ? FALSE : TRUE);
    EnableScrollBar(m_hwnd, c.bar, ESB_ENABLE_BOTH);
    setInfo(c.bar, c.min, c.max, c.page, c.extra);
    EXPECT_EQ(barStyle(m_hwnd), c.style);
    SIZE client = clientSize(m_hwnd);
    EXPECT_EQ(client.cx, kWidth - ((c.style & WS_VSCROLL) ? kBar : 0));
    EXPECT_EQ(client.cy, kHeight - ((c.style & WS_HSCROLL) ? kBar : 0));
    g_log.clear();
    press(c.bar == SB_HORZ ? POINT{5, kHeight - 8} : POINT{kWidth - 8, 5});
    EXPECT_EQ(g_log, c.click);
  }
}

TEST_F(ScrollBars, SetScrollRangeShowsAndHidesAsItsRangeAsks) {
  SetScrollRange(m_hwnd, SB_VERT, 0, 40, TRUE);
  EXPECT_EQ(barStyle(m_hwnd), static_cast<DWORD>(WS_VSCROLL));
  SetScrollRange(m_hwnd, SB_VERT, 0, 0, TRUE);
  EXPECT_EQ(barStyle(m_hwnd), 0u);
  // A scroll-bar control keeps its range without any style bit.
  HWND control = CreateWindowEx(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, kBar, m_hwnd, nullptr, nullptr,
                                nullptr);
  ASSERT_TRUE(control);
  SetScrollRange(control, SB_CTL, 0, 40, TRUE);
  EXPECT_EQ(barStyle(control), 0u);
  int lo = -1, hi = -1;
  EXPECT_TRUE(GetScrollRange(control, SB_CTL, &lo, &hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 40);
}

TEST_F(ScrollBars, TheClientAreaGivesTheBarItsRoomAndTheWindowHearsItsNewSizeOnce) {
  setInfo(SB_HORZ, 0, 399, 200);
  EXPECT_EQ(g_log, std::vector<std::string>{"size 200x83"});
  // The same range again, and a position: nothing changes, nothing is said.
  g_log.clear();
  setInfo(SB_HORZ, 0, 399, 200);
  SetScrollPos(m_hwnd, SB_HORZ, 50, TRUE);
  EXPECT_TRUE(g_log.empty());
  setInfo(SB_VERT, 0, 99, 50);
  EXPECT_EQ(g_log, std::vector<std::string>{"size 183x83"});
  // Both go when their ranges fit.
  g_log.clear();
  setInfo(SB_HORZ, 0, 99, 200);
  setInfo(SB_VERT, 0, 0, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"size 183x100", "size 200x100"}));
  EXPECT_EQ(barStyle(m_hwnd), 0u);
}

TEST_F(ScrollBars, AWmSizeThatSetsTheRangesAgainEndsWhenNothingChanges) {
  struct Case {
    const char* what;
    SIZE content;
    std::vector<std::string> sizes;  // the WM_SIZEs, in order
    DWORD style;
  };
  const std::vector<Case> cases = {
      // The vertical bar narrows the client so much that the width needs a bar too.
      {"tall, a little wide", {190, 150}, {"size 183x100", "size 183x83"}, WS_HSCROLL | WS_VSCROLL},
      {"tall only", {150, 150}, {"size 183x100"}, WS_VSCROLL},
      {"wide only", {300, 50}, {"size 200x83"}, WS_HSCROLL},
      {"fits", {200, 100}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_onSize = OnSize::Nothing;
    ShowScrollBar(m_hwnd, SB_BOTH, FALSE);
    g_log.clear();
    g_onSize = OnSize::SetRanges;
    g_content = c.content;
    setRanges(m_hwnd);
    EXPECT_EQ(g_log, c.sizes);
    EXPECT_EQ(barStyle(m_hwnd), c.style);
  }
}

TEST_F(ScrollBars, AWmSizeThatKeepsTogglingItsBarIsStoppedAfterAFewRounds) {
  g_onSize = OnSize::Flip;
  setInfo(SB_HORZ, 0, 399, 200);
  // Each round shows or hides the bar again; the nesting ends by itself.
  EXPECT_GE(g_log.size(), 2u);
  EXPECT_LE(g_log.size(), 16u);
  EXPECT_TRUE(IsWindow(m_hwnd));
}

TEST_F(ScrollBars, ShowScrollBarSetsAndClearsTheStyleBitsWithTheSameFrameChange) {
  struct Step {
    int bar;
    BOOL show;
    DWORD style;
    std::vector<std::string> sizes;
  };
  const Step steps[] = {
      {SB_BOTH, TRUE, WS_HSCROLL | WS_VSCROLL, {"size 183x83"}},
      {SB_VERT, TRUE, WS_HSCROLL | WS_VSCROLL, {}},  // already shown
      {SB_HORZ, FALSE, WS_VSCROLL, {"size 183x100"}},
      {SB_VERT, FALSE, 0, {"size 200x100"}},
      {SB_HORZ, FALSE, 0, {}},
  };
  for (const Step& s : steps) {
    g_log.clear();
    EXPECT_TRUE(ShowScrollBar(m_hwnd, s.bar, s.show));
    EXPECT_EQ(barStyle(m_hwnd), s.style) << s.bar << " " << s.show;
    EXPECT_EQ(g_log, s.sizes) << s.bar << " " << s.show;
  }
  // A range that needs the bar shows it again.
  setInfo(SB_HORZ, 0, 399, 200);
  EXPECT_EQ(barStyle(m_hwnd), static_cast<DWORD>(WS_HSCROLL));
}

TEST_F(ScrollBars, TheMouseOnABarScrollsByLineByPageAndByDraggingTheThumb) {
  // A horizontal bar y 83..100: arrows x 0..17 and 183..200, a track of 166
  // between; 300 units, a page of 100: the thumb is 166 * 100 / 300 = 55 long,
  // leaving 111 for the positions 0 .. 200.
  setInfo(SB_HORZ, 0, 299, 100);
  const int y = 91;
  struct Case {
    const char* what;
    POINT down;
    std::vector<POINT> moves;
    std::vector<std::string> told;
  };
  const std::vector<Case> cases = {
      {"left arrow", {8, y}, {}, {"h 0", "h 8"}},
      {"right arrow", {191, y}, {}, {"h 1", "h 8"}},
      {"track right of the thumb", {150, y}, {}, {"h 3", "h 8"}},
      // Grabbed 23 into the thumb (17..72), moved 37 right: 37 * 200 / 111 = 66.7.
      {"thumb dragged a third", {40, y}, {{77, y}}, {"h 5 67", "h 4 67", "h 8"}},
      // Past the end the thumb stops at the last position; two moves, two positions.
      {"thumb dragged to the end", {40, y}, {{100, y}, {400, y + 30}}, {"h 5 108", "h 5 200", "h 4 200", "h 8"}},
      {"thumb pressed and let go", {40, y}, {}, {"h 4 0", "h 8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetScrollPos(m_hwnd, SB_HORZ, 0, TRUE);
    g_log.clear();
    press(c.down, c.moves);
    EXPECT_EQ(g_log, c.told);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS | SIF_TRACKPOS;
    ASSERT_TRUE(GetScrollInfo(m_hwnd, SB_HORZ, &si));
    EXPECT_EQ(si.nPos, 0) << "the window moves the position itself";
    EXPECT_EQ(si.nTrackPos, 0) << "no drag goes on";
  }
  // Left of the thumb once it stands at the end; the vertical bar the same way.
  SetScrollPos(m_hwnd, SB_HORZ, 200, TRUE);
  g_log.clear();
  press(POINT{40, y});
  EXPECT_EQ(g_log, (std::vector<std::string>{"h 2", "h 8"}));
  setInfo(SB_VERT, 0, 299, 50);
  g_log.clear();
  press(POINT{kWidth - 8, 5});
  press(POINT{kWidth - 8, 83 - 5});
  EXPECT_EQ(g_log, (std::vector<std::string>{"v 0", "v 8", "v 1", "v 8"}));
  // A click in the client area is the window's own.
  g_log.clear();
  press(POINT{50, 40});
  EXPECT_EQ(g_log, (std::vector<std::string>{"lbuttondown", "lbuttonup"}));
}

TEST_F(ScrollBars, ThePictureShowsTheArrowsTheTrackAndTheThumbAtItsPosition) {
  struct Probe {
    int x, y;
    COLORREF color;
    const char* what;
  };
  struct Case {
    const char* what;
    int pos;
    UINT extra;
    int max;
    std::vector<Probe> probes;
  };
  // The horizontal bar y 83..100; 300 units, a page of 100: a 55-pixel thumb
  // at 17..72 for position 0, at 128..183 for position 200.
  const int y = 91;
  const std::vector<Case> cases = {
      {"at the start", 0, 0, 299,
       {{3, 86, kFace, "the left arrow's face"}, {8, y, kArrow, "its arrow"}, {40, y, kFace, "the thumb's face"},
        {150, y, kTrack, "the track"}, {196, 86, kFace, "the right arrow's face"}, {50, 40, kClient, "the client"}}},
      {"at the end", 200, 0, 299, {{40, y, kTrack, "the track"}, {150, y, kFace, "the thumb's face"}}},
      {"disabled", 0, SIF_DISABLENOSCROLL, 99,
       {{8, y, kGreyArrow, "a grey arrow"}, {40, y, kTrack, "no thumb"}, {150, y, kTrack, "no thumb"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setInfo(SB_HORZ, 0, c.max, 100, c.extra);
    SetScrollPos(m_hwnd, SB_HORZ, c.pos, TRUE);
    HDC picture = platform::renderWindowPicture(m_hwnd);
    ASSERT_TRUE(picture);
    for (const Probe& p : c.probes) EXPECT_EQ(GetPixel(picture, p.x, p.y), p.color) << p.what;
    DeleteDC(picture);
  }
  // With both bars, the square between them is the face colour.
  setInfo(SB_VERT, 0, 299, 50);
  HDC picture = platform::renderWindowPicture(m_hwnd);
  ASSERT_TRUE(picture);
  EXPECT_EQ(GetPixel(picture, kWidth - 8, kHeight - 8), kFace);
  DeleteDC(picture);
}


// A bar changed alone (its position, its enabled state), with nothing else of
// the window to paint, is painted again by the message pump: the window's
// picture as the pump left it shows the change.
TEST_F(ScrollBars, ABarChangedAloneIsPaintedAgainByTheMessagePump) {
  // The horizontal bar y 83..100; 300 units, a page of 100: the thumb at
  // 17..72 for position 0, at 128..183 for position 200.
  const int y = 91;
  struct Probe {
    int x;
    COLORREF color;
    const char* what;
  };
  struct Step {
    const char* what;
    void (*change)(HWND);
    std::vector<Probe> probes;
  };
  const std::vector<Step> steps = {
      {"moved to the end", [](HWND h) { SetScrollPos(h, SB_HORZ, 200, TRUE); },
       {{40, kTrack, "the track where the thumb was"}, {150, kFace, "the thumb"}}},
      {"disabled", [](HWND h) { EnableScrollBar(h, SB_HORZ, ESB_DISABLE_BOTH); },
       {{8, kGreyArrow, "a grey arrow"}, {150, kTrack, "no thumb"}}},
      {"enabled again", [](HWND h) { EnableScrollBar(h, SB_HORZ, ESB_ENABLE_BOTH); },
       {{8, kArrow, "a black arrow"}, {150, kFace, "the thumb"}}},
      {"moved back to the start", [](HWND h) { SetScrollPos(h, SB_HORZ, 0, TRUE); },
       {{40, kFace, "the thumb"}, {150, kTrack, "the track where the thumb was"}}},
  };
  setInfo(SB_HORZ, 0, 299, 100);
  DeleteDC(platform::renderWindowPicture(m_hwnd));
  platform::pumpMessages();
  RECT r{};
  GetWindowRect(m_hwnd, &r);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(m_hwnd);
    platform::pumpMessages();
    // The picture as it stands, without painting it again.
    HDC shown = platform::createImageDC(r.right - r.left, r.bottom - r.top);
    ASSERT_TRUE(shown);
    HDC from = GetWindowDC(m_hwnd);
    BitBlt(shown, 0, 0, r.right - r.left, r.bottom - r.top, from, 0, 0, SRCCOPY);
    ReleaseDC(m_hwnd, from);
    for (const Probe& p : step.probes) EXPECT_EQ(GetPixel(shown, p.x, y), p.color) << p.what;
    DeleteDC(shown);
  }
}


// A combo box's WS_VSCROLL asks for a bar in its drop-down list: the field
// keeps its whole width and shows no bar.
TEST_F(ScrollBars, AComboBoxsScrollStyleIsForItsListNotItsField) {
  RECT clients[2];
  HDC pictures[2];
  for (int i = 0; i < 2; ++i) {
    HWND combo = CreateWindowEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | (i ? WS_VSCROLL : 0), 10,
                                10, 120, 100, m_hwnd, nullptr, nullptr, nullptr);
    ASSERT_TRUE(combo);
    GetClientRect(combo, &clients[i]);
    pictures[i] = platform::renderWindowPicture(combo);
    ASSERT_TRUE(pictures[i]);
    DestroyWindow(combo);
  }
  EXPECT_EQ(clients[1].right, clients[0].right);
  EXPECT_EQ(clients[1].bottom, clients[0].bottom);
  int width = 0, height = 0;
  ASSERT_TRUE(platform::imageSize(pictures[0], width, height));
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (GetPixel(pictures[0], x, y) != GetPixel(pictures[1], x, y)) ++differing;
  EXPECT_EQ(differing, 0) << "the same picture with and without the style";
  for (HDC p : pictures) DeleteDC(p);
}

}  // namespace
