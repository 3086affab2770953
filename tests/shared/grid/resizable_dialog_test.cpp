// CResizableDialog: controls anchored to points of the dialog follow its size.
#include <gtest/gtest.h>

#include <string>

#include "grid/ResizableDialog.h"
#include "shared/controls/dialog_support.h"
#include "win/textmetrics.h"
#include "win/winhost.h"
#include "win/winpaint.h"

namespace {

using dialogtest::childRect;
using dialogtest::moved;

constexpr UINT kTemplate = 731;
constexpr int kLeftGrid = 1201, kRightGrid = 1202, kStore = 1203, kTitle = 1204, kCentre = 1205;

void registerTemplate(DWORD extraStyle = 0) {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      LText("左侧", kTitle, 5, 5, 40, 10),
      EditText(kLeftGrid, 5, 20, 90, 100, ES_MULTILINE),
      EditText(kRightGrid, 105, 20, 90, 100, ES_MULTILINE),
      PushButton("保存", kStore, 145, 128, 50, 14),
      PushButton("中", kCentre, 80, 128, 40, 14),
  };
  static platform::DialogResource dialogs[] = {
      {kTemplate, "地面线输入", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, nullptr, 0, 0, 0, 200, 150, controls},
  };
  dialogs[0].style = extraStyle == WS_CHILD ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  platform::registerResources({.dialogs = dialogs});
}

// Two grids side by side, each taking half the new width; the store button
// in the lower-right corner, a button centred at the bottom, the title
// where it is.
class GroundDialog : public CResizableDialog {
 public:
  GroundDialog() : CResizableDialog(kTemplate) {}
  BOOL OnInitDialog() override {
    CResizableDialog::OnInitDialog();
    anchored[0] = AddAnchor(kLeftGrid, TOP_LEFT, CSize(50, 100));
    anchored[1] = AddAnchor(kRightGrid, CSize(50, 0), BOTTOM_RIGHT);
    anchored[2] = AddAnchor(kStore, BOTTOM_RIGHT);
    anchored[3] = AddAnchor(kCentre, BOTTOM_CENTER);
    rejected[0] = AddAnchor(9999, TOP_LEFT);
    rejected[1] = AddAnchor(kTitle, CSize(101, 0));
    return TRUE;
  }
  BOOL anchored[4]{};
  BOOL rejected[2]{TRUE, TRUE};
};

class ResizableDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::resetWindowing(); }
  void TearDown() override { platform::resetWindowing(); }
};

TEST_F(ResizableDialogTest, AnchoredControlsFollowTheDialog) {
  registerTemplate();
  GroundDialog dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  for (BOOL ok : dlg.anchored) EXPECT_TRUE(ok);
  for (BOOL ok : dlg.rejected) EXPECT_FALSE(ok);
  CRect left0 = childRect(dlg, kLeftGrid), right0 = childRect(dlg, kRightGrid), store0 = childRect(dlg, kStore),
        centre0 = childRect(dlg, kCentre), title0 = childRect(dlg, kTitle);
  CRect win0;
  dlg.GetWindowRect(&win0);
  // The dialog cannot be made smaller than it opened.
  EXPECT_EQ(dlg.GetMinTrackSize(), CSize(win0.Width(), win0.Height()));
  MINMAXINFO info{};
  dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, win0.Width());
  EXPECT_EQ(info.ptMinTrackSize.y, win0.Height());

  // 100 wider, 41 taller: half of 100 is 50, half of 41 is 20.
  dlg.SetWindowPos(nullptr, 0, 0, win0.Width() + 100, win0.Height() + 41, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(childRect(dlg, kLeftGrid), moved(left0, 0, 0, 50, 41));
  EXPECT_EQ(childRect(dlg, kRightGrid), moved(right0, 50, 0, 100, 41));
  EXPECT_EQ(childRect(dlg, kStore), moved(store0, 100, 41, 100, 41));
  EXPECT_EQ(childRect(dlg, kCentre), moved(centre0, 50, 41, 50, 41));
  EXPECT_EQ(childRect(dlg, kTitle), title0);
  ASSERT_NE(dlg.GetLayout().GetSizeGrip(), nullptr);

  // Minimised, nothing moves.
  dlg.ShowWindow(SW_MINIMIZE);
  dlg.SetWindowPos(nullptr, 0, 0, win0.Width() + 10, win0.Height() + 10, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(childRect(dlg, kStore), moved(store0, 100, 41, 100, 41));
  dlg.ShowWindow(SW_RESTORE);
  EXPECT_EQ(childRect(dlg, kStore), moved(store0, 10, 10, 10, 10));

  // Smaller than it opened: laid out as at its opening size.
  dlg.SetWindowPos(nullptr, 0, 0, win0.Width() - 40, win0.Height() - 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(childRect(dlg, kStore), store0);
  EXPECT_EQ(childRect(dlg, kLeftGrid), left0);

  platform::FixedTextMetricsScope fixed;
  dlg.SetWindowPos(nullptr, 0, 0, win0.Width() + 160, win0.Height() + 60, SWP_NOMOVE | SWP_NOZORDER);
  platform::pumpMessages();
  std::string path = std::string(RAIL_TEST_TMPDIR) + "/resized-resizable-dialog.png";
  EXPECT_TRUE(platform::saveWindowPicture(dlg.m_hWnd, path));
  dlg.DestroyWindow();
}

TEST_F(ResizableDialogTest, AChildDialogHasNoGrip) {
  registerTemplate(WS_CHILD);
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "palette", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr));
  GroundDialog dlg;
  ASSERT_TRUE(dlg.Create(kTemplate, &host));
  EXPECT_EQ(dlg.GetLayout().GetSizeGrip(), nullptr);
  CRect store0 = childRect(dlg, kStore);
  CRect win0;
  dlg.GetWindowRect(&win0);
  dlg.SetWindowPos(nullptr, 0, 0, win0.Width() + 30, win0.Height() + 20, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(childRect(dlg, kStore), moved(store0, 30, 20, 30, 20));
  dlg.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
