// The icon button: its icons, its hover state, its tool tip and its picture.
#include <gtest/gtest.h>

#include <cstdint>

#include "controls/IconButton.h"
#include "mfc/dc.h"
#include "win/gdiimage.h"
#include "win/resources.h"
#include "win/sysparams.h"
#include "win/winhost.h"

namespace {

constexpr UINT kNormalIcon = 905, kHoverIcon = 906;
constexpr int kButton = 1301;

void registerIcons() {
  // 2 x 2 icons: opaque red and opaque blue, each with one transparent pixel.
  static const uint32_t red[] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0x00000000};
  static const uint32_t blue[] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0x00000000};
  static const platform::IconResource icons[] = {{kNormalIcon, 2, 2, red}, {kHoverIcon, 2, 2, blue}};
  platform::registerResources({.icons = icons});
}

class IconButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    registerIcons();
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "editor", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 40), &parent, kButton));
  }
  void TearDown() override {
    if (button.GetSafeHwnd()) button.DestroyWindow();
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
    platform::resetWindowing();
  }
  // The button drawn on a 40 x 30 picture with the state bits `state`.
  COLORREF pixelAfterDrawing(UINT state, int x, int y) {
    CDC dc;
    dc.Attach(platform::createImageDC(40, 30));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemState = state;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = dc.GetSafeHdc();
    dis.rcItem = RECT{0, 0, 40, 30};
    button.DrawItem(&dis);
    return dc.GetPixel(x, y);
  }
  CWnd parent;
  CIconButton button;
};

TEST_F(IconButtonTest, IconsAndTheirPicture) {
  EXPECT_FALSE(button.SetIcons(999));
  EXPECT_EQ(button.GetNormalIcon(), nullptr);
  ASSERT_TRUE(button.SetIcons(kNormalIcon, kHoverIcon));
  ASSERT_NE(button.GetNormalIcon(), nullptr);
  ASSERT_NE(button.GetHoverIcon(), nullptr);
  // The face inside a 3-pixel border is 34 x 24: the 2 x 2 icon's corner at
  // 3 + (34 - 2) / 2 = 19, 3 + (24 - 2) / 2 = 14.
  EXPECT_EQ(pixelAfterDrawing(0, 19, 14), RGB(255, 0, 0));
  EXPECT_EQ(pixelAfterDrawing(0, 20, 15), GetSysColor(COLOR_BTNFACE));  // the transparent pixel
  // Pressed, the icon moves one pixel right and down.
  EXPECT_EQ(pixelAfterDrawing(ODS_SELECTED, 20, 15), RGB(255, 0, 0));
  EXPECT_EQ(pixelAfterDrawing(ODS_SELECTED, 19, 14), GetSysColor(COLOR_BTNFACE));
  // Disabled, greyed: red (30% of 255 = 76) becomes 128 + 76 / 2 = 166 in each channel.
  EXPECT_EQ(pixelAfterDrawing(ODS_DISABLED, 19, 14), RGB(166, 166, 166));
}

TEST_F(IconButtonTest, TheHoverIconWhileTheMouseIsOver) {
  ASSERT_TRUE(button.SetIcons(kNormalIcon, kHoverIcon));
  EXPECT_EQ(button.CurrentIcon(), button.GetNormalIcon());
  CPoint inside(20, 20);
  button.ClientToScreen(&inside);
  platform::postMouseInput(WM_MOUSEMOVE, inside);
  platform::pumpMessages();
  EXPECT_TRUE(button.IsHovering());
  EXPECT_EQ(button.CurrentIcon(), button.GetHoverIcon());
  EXPECT_EQ(pixelAfterDrawing(0, 19, 14), RGB(0, 0, 255));
  CPoint outside(200, 150);
  platform::postMouseInput(WM_MOUSEMOVE, outside);
  platform::pumpMessages();
  EXPECT_FALSE(button.IsHovering());
  EXPECT_EQ(button.CurrentIcon(), button.GetNormalIcon());
  // Without a hover icon the normal one stays.
  ASSERT_TRUE(button.SetIcons(kNormalIcon));
  platform::postMouseInput(WM_MOUSEMOVE, inside);
  platform::pumpMessages();
  EXPECT_EQ(button.CurrentIcon(), button.GetNormalIcon());
}

TEST_F(IconButtonTest, TheToolTipTextAndItsSwitch) {
  EXPECT_EQ(button.GetToolTip(), nullptr);
  button.SetTooltipText("删除一行");
  CToolTipCtrl* tip = button.GetToolTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->GetToolCount(), 1);
  CString text;
  tip->GetText(text, &button);
  EXPECT_EQ(text, "删除一行");
  button.SetTooltipText("保存", FALSE);
  EXPECT_EQ(tip->GetToolCount(), 1);
  tip->GetText(text, &button);
  EXPECT_EQ(text, "保存");
  // The tip goes with the button, not with the window that owns it.
  HWND tipWindow = tip->m_hWnd;
  button.DestroyWindow();
  EXPECT_FALSE(IsWindow(tipWindow));
}

TEST_F(IconButtonTest, AClickStillReachesTheParent) {
  class Parent : public CWnd {
   public:
    int clicks = 0;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
      if (LOWORD(wParam) == kButton && HIWORD(wParam) == BN_CLICKED) ++clicks;
      return TRUE;
    }
  };
  button.DestroyWindow();
  parent.DestroyWindow();
  Parent owner;
  ASSERT_TRUE(owner.CreateEx(0, nullptr, "editor", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 40), &owner, kButton));
  ASSERT_TRUE(button.SetIcons(kNormalIcon, kHoverIcon));
  CPoint pt(20, 20);
  button.ClientToScreen(&pt);
  platform::postMouseInput(WM_MOUSEMOVE, pt);
  platform::postMouseInput(WM_LBUTTONDOWN, pt);
  platform::postMouseInput(WM_LBUTTONUP, pt);
  platform::pumpMessages();
  EXPECT_EQ(owner.clicks, 1);
  button.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
