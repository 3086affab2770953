// The plan build's grid: the wheel moves a quarter of the visible rows and the
// scroll bar's line down eight rows.
#include "shared/grid/grid_support.h"

namespace gridtest {
namespace {

class PageScrollingTest : public GridTest {};

TEST_F(PageScrollingTest, WheelMovesAQuarterOfTheVisibleHeightWithinTheEnds) {
  CGridCtrl& g = makeGrid(50, 3, 300, 200);  // 180 pixels below the header
  ASSERT_EQ(g.GetVScrollMax(), 800);
  struct Step {
    short delta;
    int position;
  } steps[] = {
      {-WHEEL_DELTA, 45},      // away from the user is up; towards is down by 180 / 4
      {-3 * WHEEL_DELTA, 90},  // the size of the turn does not matter
      {WHEEL_DELTA, 45},
      {WHEEL_DELTA, 0},
      {WHEEL_DELTA, 0},  // never above the first row
  };
  for (const Step& s : steps) {
    g.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(s.delta)), 0);
    EXPECT_EQ(g.GetScrollPosition().y, s.position) << "delta " << s.delta;
  }
  for (int i = 0; i < 30; ++i) g.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(g.GetScrollPosition().y, 800);  // never past the last row
  EXPECT_EQ(CWnd::GetFocus(), &g);           // the wheel gives the grid the focus
}

TEST_F(PageScrollingTest, ScrollBarLinesAndPages) {
  CGridCtrl& g = makeGrid(50, 3, 300, 200);
  struct Step {
    UINT code;
    int position;
  } steps[] = {
      {SB_LINEDOWN, 160},  // eight rows of 20
      {SB_LINEUP, 140},    // back by the row above the first on screen
      {SB_PAGEDOWN, 320},
      {SB_PAGEUP, 140},
      {SB_BOTTOM, 800},
      {SB_PAGEDOWN, 800},
      {SB_TOP, 0},
      {SB_LINEUP, 0},
  };
  for (const Step& s : steps) {
    g.SendMessage(WM_VSCROLL, MAKEWPARAM(s.code, 0), 0);
    EXPECT_EQ(g.GetScrollPosition().y, s.position) << "code " << s.code;
  }
}

}  // namespace
}  // namespace gridtest
