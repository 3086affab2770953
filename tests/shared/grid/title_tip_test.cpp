// The title tip: shown over a cell too narrow for its text, hidden again,
// and the input that reaches it passed on to the grid.
#include "grid_support.h"

#include "grid/TitleTip.h"
#include "win/sysparams.h"
#include "win/userinput.h"

namespace gridtest {
namespace {

class TitleTipTest : public GridTest {
 protected:
  // Forty rows (more than the grid shows), three columns; cell (1, 1) holds 21 characters (126 pixels in
  // the test metrics) in a 50-pixel column, cell (2, 1) two. The grid has
  // the focus (with no focus anywhere, whatever reaches the tip hides it).
  CGridCtrl& filled() {
    CGridCtrl& g = makeGrid(40, 3);
    g.SetItemText(1, 1, "a long text in a cell");
    g.SetItemText(2, 1, "ab");
    g.SetFocus();
    return g;
  }
  void moveTo(CPoint gridPt) {
    grid->ClientToScreen(&gridPt);
    platform::postMouseInput(WM_MOUSEMOVE, gridPt);
    pump();
  }
};

TEST_F(TitleTipTest, ShowsTheWholeTextOverACellTooNarrowForIt) {
  CGridCtrl& g = filled();
  CTitleTip& tip = g.GetTitleTip();
  ASSERT_TRUE(tip.GetSafeHwnd());
  char cls[32] = "";
  GetClassName(tip.m_hWnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "ZTitleTip");
  EXPECT_FALSE(tip.IsVisible());

  // Cell (1, 1) spans x 50..99, y 20..39 of the grid.
  moveTo(CPoint(60, 30));
  ASSERT_TRUE(tip.IsVisible());
  EXPECT_EQ(tip.GetText(), "a long text in a cell");
  CRect tipRect;
  tip.GetWindowRect(&tipRect);
  CPoint corner(50, 20);
  g.ClientToScreen(&corner);
  EXPECT_EQ(tipRect.TopLeft(), corner);
  EXPECT_EQ(tipRect.Height(), 20);
  EXPECT_EQ(tipRect.Width(), 126 + 2 * (g.GetMargin() + 1) + 2 * GetSystemMetrics(SM_CXBORDER));

  // A cell whose text fits shows none; leaving the cell hides the tip.
  moveTo(CPoint(60, 50));
  EXPECT_FALSE(tip.IsVisible());
  moveTo(CPoint(60, 30));
  EXPECT_TRUE(tip.IsVisible());
  moveTo(CPoint(150, 30));
  EXPECT_FALSE(tip.IsVisible());

  // Scrolling hides it.
  moveTo(CPoint(60, 30));
  ASSERT_TRUE(tip.IsVisible());
  g.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_GT(g.GetScrollPosition().y, 0);
  EXPECT_FALSE(tip.IsVisible());
}

TEST_F(TitleTipTest, TheTipGoesWithTheGrid) {
  CGridCtrl& g = filled();
  HWND tip = g.GetTitleTip().m_hWnd;
  ASSERT_TRUE(IsWindow(tip));
  // The tip is owned by the grid's top-level window, which outlives the grid.
  g.DestroyWindow();
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(TitleTipTest, NoTipWhenTitleTipsAreOff) {
  auto g = std::make_unique<CGridCtrl>(4, 3, 1, 1);
  g->EnableTitleTips(FALSE);
  ASSERT_TRUE(g->Create(CRect(0, 0, 300, 200), &parent, 101, WS_CHILD | WS_VISIBLE));
  EXPECT_FALSE(g->GetTitleTip().GetSafeHwnd());
  grid = std::move(g);
}

TEST_F(TitleTipTest, AClickOnTheTipGoesToTheCellUnderIt) {
  CGridCtrl& g = filled();
  CTitleTip& tip = g.GetTitleTip();
  // The tip over cell (1, 1) reaches over cell (1, 2) (x 100..149): a press
  // on it goes to the grid's cell under it.
  struct Case {
    CPoint at;
    CCellID cell;
  };
  const Case cases[] = {{CPoint(60, 30), CCellID(1, 1)}, {CPoint(120, 25), CCellID(1, 2)}};
  for (const Case& c : cases) {
    moveTo(CPoint(60, 30));
    ASSERT_TRUE(tip.IsVisible());
    CPoint pt = c.at;
    g.ClientToScreen(&pt);
    EXPECT_EQ(WindowFromPoint(pt), tip.m_hWnd);
    platform::postMouseInput(WM_LBUTTONDOWN, pt);
    platform::postMouseInput(WM_LBUTTONUP, pt);
    pump();
    EXPECT_FALSE(tip.IsVisible());
    EXPECT_EQ(g.GetFocusCell(), c.cell);
    EXPECT_EQ(CWnd::GetFocus(), &g);
  }
}

TEST_F(TitleTipTest, AKeyOnTheTipHidesItAndGoesToTheGrid) {
  CGridCtrl& g = filled();
  g.SetFocusCell(1, 1);
  CTitleTip& tip = g.GetTitleTip();
  moveTo(CPoint(60, 30));
  ASSERT_TRUE(tip.IsVisible());
  tip.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
  pump();
  EXPECT_FALSE(tip.IsVisible());
  EXPECT_EQ(g.GetFocusCell(), CCellID(2, 1));
}

}  // namespace
}  // namespace gridtest
