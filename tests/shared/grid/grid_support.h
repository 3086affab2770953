#pragma once
// Helpers of the grid's tests: a parent window that writes down the grid's
// notifications, and a fixture with a grid in it, the fixed text metrics
// (a character of the grid's 12-pixel font is 6 pixels wide, a line 12 tall)
// and no window, message or clipboard left from another test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/GridCtrl.h"
#include "win/clipboard.h"
#include "win/textmetrics.h"
#include "win/winhost.h"

namespace gridtest {

// Writes down "<code> <row>,<col>" for every grid notification it gets.
class NotifyLog : public CWnd {
 public:
  std::vector<std::string> log;
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
    auto* nm = reinterpret_cast<NM_GRIDVIEW*>(lParam);
    log.push_back(std::to_string(static_cast<int>(nm->hdr.code)) + " " + std::to_string(nm->iRow) + "," +
                  std::to_string(nm->iColumn));
    if (result) *result = 0;
    return TRUE;
  }
};

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "grid parent", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr));
  }
  void TearDown() override {
    grid.reset();
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
    platform::resetWindowing();
  }
  // A grid of `rows` x `cols` (one fixed row and column), 50 x 20 pixel
  // cells, in a child window of `width` x `height` at (0, 0).
  template <class Grid = CGridCtrl>
  Grid& makeGrid(int rows, int cols, int width = 300, int height = 200, int fixedRows = 1, int fixedCols = 1) {
    auto g = std::make_unique<Grid>(rows, cols, fixedRows, fixedCols);
    Grid& ref = *g;
    EXPECT_TRUE(ref.Create(CRect(0, 0, width, height), &parent, 100, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    grid = std::move(g);
    return ref;
  }
  void pump() { platform::pumpMessages(); }
  // Key-down and key-up of `vk` to the focus window, pumped.
  void key(UINT vk) {
    platform::postKeyInput(vk, true);
    platform::postKeyInput(vk, false);
    pump();
  }
  void keyWith(UINT modifier, UINT vk) {
    platform::postKeyInput(modifier, true);
    platform::postKeyInput(vk, true);
    platform::postKeyInput(vk, false);
    platform::postKeyInput(modifier, false);
    pump();
  }
  // A left click at a point of the grid's client area, pumped.
  void click(CPoint pt, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    grid->ClientToScreen(&pt);
    platform::postMouseInput(down, pt);
    platform::postMouseInput(up, pt);
    pump();
  }
  std::string editorText() {
    CWnd* editor = grid->GetEditWindow();
    if (!editor) return "<no editor>";
    CString text;
    editor->GetWindowText(text);
    return text.GetString();
  }

  platform::FixedTextMetricsScope metrics;
  NotifyLog parent;
  std::unique_ptr<CGridCtrl> grid;
};

}  // namespace gridtest
