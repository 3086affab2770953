// The grid's data model: defaults, cells, counts, rows and columns, sizes.
#include "grid_support.h"

#include "win/registry.h"
#include "win/sysparams.h"

namespace gridtest {
namespace {

class GridModelTest : public GridTest {};

TEST_F(GridModelTest, NewGridHasTheDefaultsOfItsSettingsTable) {
  CGridCtrl g(0, 0, 0, 0);
  EXPECT_EQ(g.GetTextColor(), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(g.GetTextBkColor(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(g.GetBkColor(), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(g.GetFixedTextColor(), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(g.GetFixedBkColor(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(g.GetGridColor(), 0xC0C0C0u);
  EXPECT_EQ(g.GetGridLines(), GVL_BOTH);
  EXPECT_TRUE(g.IsEditable());
  EXPECT_FALSE(g.GetDragAndDrop());
  EXPECT_FALSE(g.GetListMode());
  EXPECT_FALSE(g.GetSingleRowSelection());
  EXPECT_TRUE(g.IsDrawingAllowed());
  EXPECT_TRUE(g.IsSelectable());
  EXPECT_TRUE(g.GetHeaderSort());
  EXPECT_TRUE(g.GetHandleTabKey());
  EXPECT_TRUE(g.GetDoubleBuffering());
  EXPECT_TRUE(g.GetTitleTips());
  EXPECT_EQ(g.GetRowCount(), 0);
  EXPECT_EQ(g.GetColumnCount(), 0);
  EXPECT_EQ(g.GetFixedRowCount(), 0);
  EXPECT_EQ(g.GetFixedColumnCount(), 0);
  EXPECT_EQ(g.GetMargin(), 0);
  EXPECT_EQ(g.GetDefaultColumnWidth(), 50);
  EXPECT_EQ(g.GetDefaultRowHeight(), 20);
  EXPECT_EQ(g.GetVScrollMax(), 0);
  EXPECT_EQ(g.GetHScrollMax(), 0);
  EXPECT_EQ(g.GetLogFont().lfHeight, platform::messageFont().lfHeight);
  EXPECT_STREQ(g.GetLogFont().lfFaceName, platform::messageFont().lfFaceName);
  EXPECT_EQ(g.GetImageList(), nullptr);
  EXPECT_EQ(g.GetMouseMode(), MOUSE_NOTHING);
  EXPECT_EQ(g.GetFocusCell(), CCellID(-1, -1));
  EXPECT_EQ(g.GetTimerInterval(), 25);
  EXPECT_EQ(g.GetResizeCaptureRange(), 3);
  EXPECT_TRUE(g.GetRowResize());
  EXPECT_TRUE(g.GetColumnResize());
  EXPECT_EQ(g.GetWheelScrollLines(), platform::wheelScrollLines());
  EXPECT_EQ(g.GetSelectedCount(), 0);
  EXPECT_EQ(g.GetLastDragOverCell(), CCellID(-1, -1));
  EXPECT_TRUE(g.GetSortAscending());
  EXPECT_EQ(g.GetSortColumn(), -1);
  // The bounding range of an empty selection.
  CCellRange none = g.GetSelectedCellRange();
  EXPECT_EQ(none, CCellRange(0, 0, -1, -1));
}

TEST_F(GridModelTest, ConstructorArgumentsSetCountsAndCreateSizesEveryRowAndColumn) {
  CGridCtrl& g = makeGrid(5, 4, 300, 200, 1, 2);
  EXPECT_EQ(g.GetRowCount(), 5);
  EXPECT_EQ(g.GetColumnCount(), 4);
  EXPECT_EQ(g.GetFixedRowCount(), 1);
  EXPECT_EQ(g.GetFixedColumnCount(), 2);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(g.GetRowHeight(r), 20);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(g.GetColumnWidth(c), 50);
  EXPECT_EQ(g.GetFixedRowHeight(), 20);
  EXPECT_EQ(g.GetFixedColumnWidth(), 100);
  // Half an average character of the 12-pixel font (6 pixels).
  EXPECT_EQ(g.GetMargin(), 3);
}

TEST_F(GridModelTest, NewCellAnswersNoImageAndDefaultColours) {
  CGridCtrl g(3, 3, 1, 1);
  EXPECT_EQ(g.GetItemImage(1, 1), -1);
  EXPECT_EQ(g.GetItemBkColour(1, 1), CLR_DEFAULT);
  EXPECT_EQ(g.GetItemFgColour(1, 1), CLR_DEFAULT);
  EXPECT_EQ(g.GetItemFormat(1, 1), 0u);
  EXPECT_EQ(g.GetItemState(1, 1), 0u);
  EXPECT_EQ(g.GetItemData(1, 1), 0);
  EXPECT_EQ(g.GetItemText(1, 1), "");
}

TEST_F(GridModelTest, CreatedCellTakesTheFormatOfTheCellAbove) {
  CGridCtrl g(5, 2, 0, 0);
  g.SetItemFormat(4, 1, 0x25);
  g.SetItemFormat(0, 0, 0x25);
  g.SetRowCount(6);                       // row 5 is created below row 4
  EXPECT_EQ(g.GetItemFormat(5, 1), 0x25u);
  EXPECT_EQ(g.GetItemFormat(5, 0), 0u);  // row 4 of column 0 has format 0
  CGridCell* top = g.CreateCell(0, 0);   // row 0 takes nothing from above
  EXPECT_EQ(top->nFormat, 0u);
  delete top;
}

TEST_F(GridModelTest, ColoursInheritTheGridDefaultUntilACellHasItsOwn) {
  CGridCtrl g(3, 3, 1, 1);
  g.SetTextBkColor(RGB(1, 2, 3));
  g.SetFixedBkColor(RGB(4, 5, 6));
  g.SetTextColor(RGB(7, 8, 9));
  struct Case {
    int row, col;
    COLORREF own;
    COLORREF expectBk;
  } cases[] = {
      {1, 1, CLR_DEFAULT, RGB(1, 2, 3)},  // normal cell: the grid's text background
      {0, 1, CLR_DEFAULT, RGB(4, 5, 6)},  // fixed cell: the grid's fixed background
      {2, 2, 0xCFE8CC, 0xCFE8CC},         // its own colour
      {1, 0, 0x123456, 0x123456},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
    g.SetItemBkColour(c.row, c.col, c.own);
    EXPECT_EQ(g.EffectiveBkColour(c.row, c.col), c.expectBk);
  }
  EXPECT_EQ(g.EffectiveFgColour(1, 1), RGB(7, 8, 9));
  g.SetItemFgColour(1, 1, RGB(200, 0, 0));
  EXPECT_EQ(g.EffectiveFgColour(1, 1), RGB(200, 0, 0));
  g.SetItemFgColour(1, 1, CLR_DEFAULT);  // back to the grid's
  EXPECT_EQ(g.EffectiveFgColour(1, 1), RGB(7, 8, 9));
}

TEST_F(GridModelTest, AccessorsAnswerNothingOutsideTheGrid) {
  CGridCtrl g(3, 3, 1, 1);
  const int outside[][2] = {{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {100, 100}};
  for (const auto& p : outside) {
    SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
    EXPECT_FALSE(g.SetItemText(p[0], p[1], "x"));
    EXPECT_EQ(g.GetItemText(p[0], p[1]), "");
    EXPECT_EQ(g.GetItemImage(p[0], p[1]), -1);
    EXPECT_FALSE(g.SetItemReadOnly(p[0], p[1], TRUE));
    EXPECT_FALSE(g.SetItemBkColour(p[0], p[1], 0));
  }
}

TEST_F(GridModelTest, ItemDescriptionCopiesOnlyTheMaskedAttributes) {
  CGridCtrl g(3, 3, 1, 1);
  GV_ITEM item;
  item.row = 1;
  item.col = 2;
  item.mask = GVIF_TEXT | GVIF_FORMAT;
  item.szText = "head";
  item.nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  item.crBkClr = RGB(9, 9, 9);  // not masked: not copied
  ASSERT_TRUE(g.SetItem(&item));
  EXPECT_EQ(g.GetItemText(1, 2), "head");
  EXPECT_EQ(g.GetItemFormat(1, 2), static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
  EXPECT_EQ(g.GetItemBkColour(1, 2), CLR_DEFAULT);
}

TEST_F(GridModelTest, GridWithoutRowsOrColumnsHasNoFocusCell) {
  CGridCtrl& g = makeGrid(0, 0, 300, 200, 0, 0);
  EXPECT_EQ(g.GetFocusCell(), CCellID(-1, -1));
  g.SetFocusCell(0, 0);
  EXPECT_EQ(g.GetFocusCell(), CCellID(-1, -1));
}

TEST_F(GridModelTest, WindowClassIsRegisteredOnce) {
  EXPECT_TRUE(CGridCtrl::RegisterWindowClass());
  EXPECT_TRUE(CGridCtrl::RegisterWindowClass());
  WNDCLASS wc;
  EXPECT_TRUE(GetClassInfo(AfxGetInstanceHandle(), GRIDCTRL_CLASSNAME, &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
}

TEST_F(GridModelTest, InsertAndDeleteRowsKeepTheFocusOnItsRow) {
  CGridCtrl& g = makeGrid(5, 3);
  for (int r = 1; r < 5; ++r) g.SetItemText(r, 1, CString(std::to_string(r).c_str()));
  g.SetFocusCell(3, 1);
  EXPECT_EQ(g.InsertRow("new", 2), 2);
  EXPECT_EQ(g.GetRowCount(), 6);
  EXPECT_EQ(g.GetItemText(2, 0), "new");
  EXPECT_EQ(g.GetItemText(3, 1), "2");
  EXPECT_EQ(g.GetFocusCell(), CCellID(4, 1));
  EXPECT_TRUE(g.DeleteRow(1));
  EXPECT_EQ(g.GetItemText(1, 0), "new");
  EXPECT_EQ(g.GetFocusCell(), CCellID(3, 1));
  EXPECT_FALSE(g.DeleteRow(6));
  EXPECT_EQ(g.InsertRow("end"), 5);
  EXPECT_EQ(g.GetItemText(5, 0), "end");
}

TEST_F(GridModelTest, RemoveColumnMovesOrClearsTheFocusAndLowersTheFixedCount) {
  struct Case {
    int fixedCols, focusCol, removed;
    int expectCols, expectFixed;
    CCellID expectFocus;
  } cases[] = {
      {1, 3, 3, 3, 1, CCellID(-1, -1)},  // the focus column, the last one: no focus cell
      {1, 3, 1, 3, 1, CCellID(1, 2)},    // left of the focus: the focus moves left
      {2, 3, 0, 3, 1, CCellID(1, 2)},    // left of the fixed boundary: one fixed column less
      {1, 3, 4, 4, 1, CCellID(1, 3)},    // no such column: nothing
      {1, 3, -1, 4, 1, CCellID(1, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "remove " << c.removed);
    CGridCtrl& g = makeGrid(3, 4, 300, 200, 1, c.fixedCols);
    g.SetFocusCell(1, c.focusCol);
    for (int col = 0; col < 4; ++col) g.SetItemText(1, col, CString(std::to_string(col).c_str()));
    EXPECT_EQ(g.RemoveColumn(c.removed), 0);
    EXPECT_EQ(g.GetColumnCount(), c.expectCols);
    EXPECT_EQ(g.GetFixedColumnCount(), c.expectFixed);
    EXPECT_EQ(g.GetFocusCell(), c.expectFocus);
    if (c.removed >= 0 && c.removed < 3) {
      EXPECT_EQ(g.GetItemText(1, c.removed), CString(std::to_string(c.removed + 1).c_str()));
    }
  }
}

TEST_F(GridModelTest, CellOfBlanksIsEmpty) {
  CGridCtrl g(2, 2, 0, 0);
  const struct {
    const char* text;
    bool empty;
  } cases[] = {{"", true}, {"   ", true}, {" x ", false}, {"0", false}};
  for (const auto& c : cases) {
    g.SetItemText(1, 1, c.text);
    EXPECT_EQ(g.IsCellEmpty(1, 1) != FALSE, c.empty) << '"' << c.text << '"';
  }
}

TEST_F(GridModelTest, AutoSizeAllCellsFitsTheWidestAndTallestCell) {
  CGridCtrl& g = makeGrid(3, 2, 300, 200, 1, 0);
  // Fixed metrics: 6 pixels a character, 12 a line; a cell is its text plus
  // a margin of 3 on each side and one pixel, and its lines plus 3.
  g.SetItemText(0, 0, "ab");          // 12 + 7 = 19
  g.SetItemText(1, 0, "abcdef");      // 36 + 7 = 43
  g.SetItemText(2, 1, "x\ny\nz");     // three lines: 36 + 3 = 39 tall, 6 + 7 = 13 wide
  g.SetItemText(0, 1, "");            // an empty cell measures as one blank: 13
  g.AutoSizeAllCells();
  EXPECT_EQ(g.GetColumnWidth(0), 43);
  EXPECT_EQ(g.GetColumnWidth(1), 13);
  EXPECT_EQ(g.GetRowHeight(0), 15);
  EXPECT_EQ(g.GetRowHeight(1), 15);
  EXPECT_EQ(g.GetRowHeight(2), 39);
}

TEST_F(GridModelTest, HeaderClickInListModeSortsAndAgainTheOtherWay) {
  CGridCtrl& g = makeGrid(5, 2, 300, 200, 1, 0);
  g.SetListMode(TRUE);
  const char* texts[] = {"10", "b", "9", "a"};
  for (int r = 1; r < 5; ++r) g.SetItemText(r, 1, texts[r - 1]);
  click(CPoint(75, 10));  // the header of column 1
  // Numbers by value before texts by their bytes.
  EXPECT_EQ(g.GetItemText(1, 1), "9");
  EXPECT_EQ(g.GetItemText(2, 1), "10");
  EXPECT_EQ(g.GetItemText(3, 1), "a");
  EXPECT_EQ(g.GetItemText(4, 1), "b");
  click(CPoint(75, 10));
  EXPECT_EQ(g.GetItemText(1, 1), "b");
  EXPECT_EQ(g.GetItemText(4, 1), "9");
  EXPECT_FALSE(g.GetSortAscending());
}

TEST_F(GridModelTest, HeaderClickOutsideListModeSelectsTheColumn) {
  CGridCtrl& g = makeGrid(4, 3);
  click(CPoint(75, 10));
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(1, 1, 3, 1));
  click(CPoint(25, 50));  // the row header of row 2
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(2, 1, 2, 2));
  click(CPoint(25, 10));  // the corner
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(1, 1, 3, 2));
}

TEST_F(GridModelTest, ClickShiftClickAndKeysMoveFocusAndSelection) {
  CGridCtrl& g = makeGrid(6, 4);
  click(CPoint(75, 30));  // cell (1, 1)
  EXPECT_EQ(g.GetFocusCell(), CCellID(1, 1));
  platform::postKeyInput(VK_SHIFT, true);
  pump();
  CPoint pt(125, 70);  // cell (3, 2)
  g.ClientToScreen(&pt);
  platform::postMouseInput(WM_LBUTTONDOWN, pt);
  platform::postMouseInput(WM_LBUTTONUP, pt);
  platform::postKeyInput(VK_SHIFT, false);
  pump();
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(1, 1, 3, 2));
  EXPECT_EQ(g.GetFocusCell(), CCellID(3, 2));
  struct Step {
    UINT vk;
    CCellID focus;
  } steps[] = {
      {VK_RIGHT, CCellID(3, 3)}, {VK_RIGHT, CCellID(3, 3)}, {VK_TAB, CCellID(4, 1)}, {VK_UP, CCellID(3, 1)},
      {VK_END, CCellID(3, 3)},   {VK_HOME, CCellID(3, 1)},  {VK_NEXT, CCellID(5, 1)}, {VK_PRIOR, CCellID(1, 1)},
  };
  for (const Step& s : steps) {
    key(s.vk);
    EXPECT_EQ(g.GetFocusCell(), s.focus) << "key " << s.vk;
    EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(s.focus.row, s.focus.col, s.focus.row, s.focus.col));
  }
  keyWith(VK_CONTROL, VK_END);
  EXPECT_EQ(g.GetFocusCell(), CCellID(5, 3));
}

TEST_F(GridModelTest, DraggingAColumnBorderResizesTheColumn) {
  CGridCtrl& g = makeGrid(3, 3);
  CPoint from(99, 10), to(130, 10);  // the right border of column 1's header
  g.ClientToScreen(&from);
  g.ClientToScreen(&to);
  platform::postMouseInput(WM_LBUTTONDOWN, from);
  platform::postMouseInput(WM_MOUSEMOVE, to);
  platform::postMouseInput(WM_LBUTTONUP, to);
  pump();
  EXPECT_EQ(g.GetColumnWidth(1), 80);
}

TEST_F(GridModelTest, DragSelectionBelowTheGridScrollsOnTheTimer) {
  CGridCtrl& g = makeGrid(30, 3, 300, 100);  // 4 rows fit below the header
  CPoint down(75, 30), below(75, 150);
  g.ClientToScreen(&down);
  g.ClientToScreen(&below);
  platform::postMouseInput(WM_LBUTTONDOWN, down);
  platform::postMouseInput(WM_MOUSEMOVE, below);
  pump();
  EXPECT_EQ(g.GetScrollPosition().y, 0);
  platform::advanceClock(25 * 3);
  pump();
  EXPECT_GT(g.GetScrollPosition().y, 0);
  EXPECT_GT(g.GetSelectedCellRange().GetMaxRow(), 4);
  platform::postMouseInput(WM_LBUTTONUP, below);
  pump();
}

TEST_F(GridModelTest, WheelNotchScrollsTheUsersLinesAndStopsAtTheEnds) {
  CGridCtrl& g = makeGrid(50, 3, 300, 200);
  int lines = std::max(1, platform::wheelScrollLines());
  g.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(g.GetScrollPosition().y, 20 * lines);
  for (int i = 0; i < 40; ++i) g.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(g.GetScrollPosition().y, g.GetVScrollMax());
  // 49 rows of 20 below a header of 20 in 200 pixels: the last 9 rows show at the end.
  EXPECT_EQ(g.GetVScrollMax(), 20 * 40);
  for (int i = 0; i < 40; ++i) g.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), 0);
  EXPECT_EQ(g.GetScrollPosition().y, 0);
}


TEST_F(GridModelTest, ClicksOnTheScrollBarsScrollTheGrid) {
  // 8 columns and 30 rows of 50 x 20 in 300 x 200: both bars, a client of
  // 283 x 183; the horizontal bar y 183..200 (its right arrow x 266..283), the
  // vertical one x 283..300 (its down arrow y 166..183).
  CGridCtrl& g = makeGrid(30, 8, 300, 200);
  ASSERT_EQ(g.GetStyle() & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL));
  CRect window;
  g.GetWindowRect(&window);
  auto press = [&](CPoint at, CPoint to) {
    at.Offset(window.left, window.top);
    to.Offset(window.left, window.top);
    platform::postMouseInput(WM_LBUTTONDOWN, at);
    if (to != at) platform::postMouseInput(WM_MOUSEMOVE, to);
    platform::postMouseInput(WM_LBUTTONUP, to);
    pump();
  };
  struct Step {
    const char* what;
    CPoint down, up;
    CPoint expected;  // the scroll position after it
  };
  // Page: the rows below the header, 183 - 20. The last positions: the first
  // column (row) from which the rest fits, 200 - 50 and 440 - 20.
  const Step steps[] = {
      {"right arrow: one column", {274, 191}, {274, 191}, {50, 0}},
      {"down arrow: one row", {291, 174}, {291, 174}, {50, 20}},
      {"below the thumb: a page", {291, 150}, {291, 150}, {50, 183}},
      {"the thumb dragged far right", {60, 191}, {400, 191}, {150, 183}},
      {"left arrow: back one column", {8, 191}, {8, 191}, {100, 183}},
  };
  for (const Step& s : steps) {
    press(s.down, s.up);
    EXPECT_EQ(g.GetScrollPosition(), s.expected) << s.what;
  }
  EXPECT_EQ(g.GetHScrollMax(), 150);
  EXPECT_EQ(g.GetVScrollMax(), 420);
}


TEST_F(GridModelTest, AThumbDraggedInATallGridGoesPastWhatSixteenBitsHold) {
  // 2000 rows of 20 pixels: positions up to 39 800 and more, past 32 767.
  CGridCtrl& g = makeGrid(2000, 3, 300, 200);
  ASSERT_GT(g.GetVScrollMax(), 32767);
  CRect window;
  g.GetWindowRect(&window);
  // The vertical bar x 283..300: its thumb (at least 8 long) just below the up arrow.
  CPoint down(window.left + 291, window.top + 17 + 3), along(down.x, window.top + 170), end(down.x, window.top + 400);
  platform::postMouseInput(WM_LBUTTONDOWN, down);
  platform::postMouseInput(WM_MOUSEMOVE, along);
  pump();
  // The thumb's start 150 down a room of 166 - 8: 95 % of the rows.
  EXPECT_GT(g.GetScrollPosition().y, 32767);
  platform::postMouseInput(WM_MOUSEMOVE, end);
  platform::postMouseInput(WM_LBUTTONUP, end);
  pump();
  EXPECT_EQ(g.GetScrollPosition().y, g.GetVScrollMax());
}

}  // namespace
}  // namespace gridtest
