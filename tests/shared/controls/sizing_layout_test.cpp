// The resizing layout: its arithmetic as tables, and a resizable dialog
// driven through its window messages and its size grip.
#include <gtest/gtest.h>

#include <string>

#include "controls/cdxCSizingDialog.h"
#include "shared/controls/dialog_support.h"
#include "win/textmetrics.h"
#include "win/winhost.h"
#include "win/winpaint.h"

namespace {

using dialogtest::childRect;
using dialogtest::windowRect;

// ---- the arithmetic ----

struct ChangeCase {
  const char* what;
  CRect window, client;
  CSize reference, minimum;
  CSize expected;
};

TEST(SizingLayoutArithmetic, SizeChangeFollowsTheClientAboveTheMinimum) {
  const ChangeCase cases[] = {
      // 42 = 292 - 250, 23 = 173 - 150.
      {"grown", CRect(0, 0, 300, 200), CRect(0, 0, 292, 173), CSize(250, 150), CSize(10, 10), CSize(42, 23)},
      {"shrunk above a small minimum", CRect(0, 0, 200, 100), CRect(0, 0, 192, 73), CSize(250, 150), CSize(10, 10),
       CSize(-58, -77)},
      // 58 short of a 258-pixel minimum: 192 + 58 - 250 = 0; 123 + 27 - 150 = 0.
      {"below the minimum: as at the minimum", CRect(0, 0, 200, 150), CRect(0, 0, 192, 123), CSize(250, 150),
       CSize(258, 177), CSize(0, 0)},
      // Width 240 < 258: 232 + 18 - 250 = 0; height above its minimum: 223 - 150.
      {"below the minimum in width only", CRect(0, 0, 240, 250), CRect(0, 0, 232, 223), CSize(250, 150),
       CSize(258, 177), CSize(0, 73)},
      {"unchanged", CRect(10, 10, 268, 187), CRect(0, 0, 250, 150), CSize(250, 150), CSize(258, 177), CSize(0, 0)},
  };
  for (const ChangeCase& c : cases)
    EXPECT_EQ(SizingLayout::SizeChange(c.window, c.client, c.reference, c.minimum), c.expected) << c.what;
}

struct PlaceCase {
  const char* what;
  int left, right, top, bottom;
  int dx, dy;
  CRect expected;
};

TEST(SizingLayoutArithmetic, PercentAnchorsPlaceAControl) {
  const CRect reference(10, 20, 110, 70);
  const PlaceCase cases[] = {
      {"stretches", 0, 100, 0, 100, 42, 23, CRect(10, 20, 152, 93)},
      {"follows the lower-right corner", 100, 100, 100, 100, 42, 23, CRect(52, 43, 152, 93)},
      {"stays", 0, 0, 0, 0, 42, 23, CRect(10, 20, 110, 70)},
      // 50 * 43 / 100 = 21 (integer division).
      {"half way, rounded down", 50, 50, 0, 0, 43, 23, CRect(31, 20, 131, 70)},
      // 33 * 10 / 100 = 3.
      {"a third", 33, 33, 33, 33, 10, 10, CRect(13, 23, 113, 73)},
      // 50 * -58 / 100 = -29; 50 * -20 / 100 = -10.
      {"shrinking", 50, 100, 50, 100, -58, -20, CRect(-19, 10, 52, 50)},
  };
  for (const PlaceCase& c : cases)
    EXPECT_EQ(SizingLayoutEntry::Place(reference, c.left, c.right, c.top, c.bottom, c.dx, c.dy), c.expected)
        << c.what;
}

struct LimitCase {
  const char* what;
  int mode;
  CSize maximum;
  POINT minTrack, maxTrack;
};

TEST(SizingLayoutArithmetic, TrackingLimitsFollowTheMode) {
  const CSize minimum(258, 177);
  const LimitCase cases[] = {
      {"both ways, no maximum", 3, CSize(0, 0), {258, 177}, {1000, 800}},
      {"width only", 1, CSize(0, 0), {258, 177}, {1000, 177}},
      {"height only", 2, CSize(0, 0), {258, 177}, {258, 800}},
      {"neither", 0, CSize(0, 0), {258, 177}, {258, 177}},
      {"both ways with a maximum", 3, CSize(400, 300), {258, 177}, {400, 300}},
      {"width only with a maximum", 1, CSize(400, 300), {258, 177}, {400, 177}},
  };
  for (const LimitCase& c : cases) {
    MINMAXINFO info{};
    info.ptMaxTrackSize = POINT{1000, 800};
    SizingLayout::TrackingLimits(&info, c.mode, minimum, c.maximum);
    EXPECT_EQ(info.ptMinTrackSize.x, c.minTrack.x) << c.what;
    EXPECT_EQ(info.ptMinTrackSize.y, c.minTrack.y) << c.what;
    EXPECT_EQ(info.ptMaxTrackSize.x, c.maxTrack.x) << c.what;
    EXPECT_EQ(info.ptMaxTrackSize.y, c.maxTrack.y) << c.what;
  }
}

TEST(SizingLayoutArithmetic, GrowWidensByHalvesOnEachSide) {
  struct Case {
    CRect window;
    int percent;
    CRect expected;
  };
  const Case cases[] = {
      // 10% of 300 x 200: 30 x 20, 15 and 10 on each side.
      {CRect(100, 100, 400, 300), 10, CRect(85, 90, 415, 310)},
      // 10% of 250 x 150: 25 x 15; 12 left and 13 right, 7 up and 8 down.
      {CRect(0, 0, 250, 150), 10, CRect(-12, -7, 263, 158)},
      {CRect(0, 0, 250, 150), 0, CRect(0, 0, 250, 150)},
      // An empty result leaves the window as it was.
      {CRect(100, 100, 400, 300), -100, CRect(100, 100, 400, 300)},
  };
  for (const Case& c : cases) EXPECT_EQ(cdxCSizingDialog::GrownRect(c.window, c.percent), c.expected);
}

// ---- a dialog ----

constexpr UINT kTemplate = 730;
constexpr int kList = 1101;
constexpr int kLabel = 1102;

void registerTemplate() {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      EditText(kList, 5, 5, 180, 100, ES_MULTILINE),
      LText("表格", kLabel, 5, 112, 60, 10),
      DefPushButton("OK", IDOK, 140, 130, 50, 14),
  };
  static const platform::DialogResource dialogs[] = {
      {kTemplate, "可调整大小", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, nullptr, 0, 0, 0, 200, 150, controls},
  };
  platform::registerResources({.dialogs = dialogs});
}

class TableDialog : public cdxCSizingDialog {
 public:
  explicit TableDialog(int mode) : cdxCSizingDialog(kTemplate, nullptr, mode, TRUE) {}
  BOOL OnInitDialog() override {
    BOOL result = InitSizing(0, m_nSizingMode, m_bCreateGrip);
    AddControl(kList, 0, 100, 0, 100);
    AddControl(IDOK, 100, 100, 100, 100);
    // The label stays where it is (not registered).
    return result;
  }
};

class SizingDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    registerTemplate();
  }
  void TearDown() override { platform::resetWindowing(); }

  static void resize(CWnd& w, int cx, int cy) {
    w.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

TEST_F(SizingDialogTest, ControlsFollowTheirAnchorsAndMinimisingMovesNothing) {
  TableDialog dlg(3);
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  CRect list0 = childRect(dlg, kList), ok0 = childRect(dlg, IDOK), label0 = childRect(dlg, kLabel);
  CRect win0 = windowRect(dlg);
  ASSERT_NE(dlg.GetSizeGrip(), nullptr);
  EXPECT_EQ(dlg.GetSizeGrip()->GetDlgCtrlID(), 0xEA20);
  EXPECT_TRUE(dlg.GetSizeGrip()->IsWindowVisible());
  CRect grip0 = childRect(dlg, 0xEA20);
  CRect client0;
  dlg.GetClientRect(&client0);
  EXPECT_EQ(grip0.right, client0.right);
  EXPECT_EQ(grip0.bottom, client0.bottom);

  resize(dlg, win0.Width() + 60, win0.Height() + 40);
  EXPECT_EQ(childRect(dlg, kList), CRect(list0.left, list0.top, list0.right + 60, list0.bottom + 40));
  EXPECT_EQ(childRect(dlg, IDOK), CRect(ok0.left + 60, ok0.top + 40, ok0.right + 60, ok0.bottom + 40));
  EXPECT_EQ(childRect(dlg, kLabel), label0);
  EXPECT_EQ(childRect(dlg, 0xEA20), CRect(grip0.left + 60, grip0.top + 40, grip0.right + 60, grip0.bottom + 40));

  // Minimised, a change of size moves nothing; restored, the layout catches up.
  dlg.ShowWindow(SW_MINIMIZE);
  resize(dlg, win0.Width() + 100, win0.Height() + 10);
  EXPECT_EQ(childRect(dlg, IDOK), CRect(ok0.left + 60, ok0.top + 40, ok0.right + 60, ok0.bottom + 40));
  dlg.ShowWindow(SW_RESTORE);
  EXPECT_EQ(childRect(dlg, IDOK), CRect(ok0.left + 100, ok0.top + 10, ok0.right + 100, ok0.bottom + 10));

  // Below the minimum the controls stay where the minimum puts them.
  dlg.SetMinSize(CSize(win0.Width(), win0.Height()));
  resize(dlg, win0.Width() - 50, win0.Height() - 30);
  EXPECT_EQ(childRect(dlg, kList), list0);
  EXPECT_EQ(childRect(dlg, IDOK), ok0);
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_pHead, nullptr);
  EXPECT_EQ(dlg.GetSizeGrip(), nullptr);
}

TEST_F(SizingDialogTest, TheGripResizesWithinTheTrackingLimits) {
  struct Case {
    int mode;
    CSize maximum;
    CSize drag;
    CSize expectedGrowth;
  };
  const Case cases[] = {
      {3, CSize(0, 0), CSize(80, 60), CSize(80, 60)},
      // Width only: the height keeps the window's.
      {1, CSize(0, 0), CSize(80, 60), CSize(80, 0)},
      {2, CSize(0, 0), CSize(80, 60), CSize(0, 60)},
      // A maximum 30 wider and 20 taller than the window stops the drag there.
      {3, CSize(30, 20), CSize(80, 60), CSize(30, 20)},
  };
  for (const Case& c : cases) {
    TableDialog dlg(c.mode);
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    CRect win0 = windowRect(dlg);
    if (c.maximum.cx) dlg.SetMaxSize(CSize(win0.Width() + c.maximum.cx, win0.Height() + c.maximum.cy));
    cdxCSizeIconCtrl* grip = dlg.GetSizeGrip();
    ASSERT_NE(grip, nullptr);
    CRect g = windowRect(*grip);
    CPoint start(g.left + 2, g.top + 2);
    SetCursorPos(start.x, start.y);
    grip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    CPoint end(start.x + c.drag.cx, start.y + c.drag.cy);
    SetCursorPos(end.x, end.y);
    CPoint local = end;
    grip->ScreenToClient(&local);
    grip->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
    CRect win1 = windowRect(dlg);
    EXPECT_EQ(win1.Width() - win0.Width(), c.expectedGrowth.cx) << "mode " << c.mode;
    EXPECT_EQ(win1.Height() - win0.Height(), c.expectedGrowth.cy) << "mode " << c.mode;
    dlg.DestroyWindow();
  }
}

TEST_F(SizingDialogTest, APictureOfAResizedDialog) {
  platform::FixedTextMetricsScope fixed;
  TableDialog dlg(3);
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  dlg.SetDlgItemText(kList, "这一栏随对话框伸展");
  CRect win0 = windowRect(dlg);
  resize(dlg, win0.Width() + 120, win0.Height() + 80);
  platform::pumpMessages();
  std::string path = std::string(RAIL_TEST_TMPDIR) + "/resized-sizing-dialog.png";
  EXPECT_TRUE(platform::saveWindowPicture(dlg.m_hWnd, path));
  dlg.DestroyWindow();
}

}  // namespace
