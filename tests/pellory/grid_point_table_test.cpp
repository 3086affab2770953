// The ground-point table of the ground-line build of the grid.
#include "resources/PelloryResources.h"
#include "shared/grid/grid_support.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace gridtest {
namespace {

constexpr COLORREF kComputed = 0xCFE8CC;

class PointTableTest : public GridTest {
 protected:
  // Header row and `rows` - 1 entry rows of distance, difference, elevation.
  CGridCtrl& table(int rows, int mode, double base) {
    CGridCtrl& g = makeGrid(rows, 3, 300, 400, 1, 0);
    g.ClearPointTable();
    g.m_nPointMode = mode;
    g.m_dBaseElevation = base;
    for (int r = 1; r < rows; ++r) {
      g.SetItemReadOnly(r, 2, TRUE);
      g.SetItemBkColour(r, 2, kComputed);
    }
    return g;
  }
};

TEST_F(PointTableTest, ClearedTableIsAllZero) {
  CGridCtrl& g = table(4, 1, 5);
  g.m_nPointCount = 3;
  g.m_Points[2] = {1, 2};
  g.ClearPointTable();
  EXPECT_EQ(g.m_nPointMode, 0);
  EXPECT_EQ(g.m_dBaseElevation, 0);
  EXPECT_EQ(g.m_nPointCount, 0);
  for (const GridGroundPoint& p : g.m_Points) {
    EXPECT_EQ(p.dist, 0);
    EXPECT_EQ(p.value, 0);
  }
}

TEST_F(PointTableTest, FillWritesDistanceDifferenceAndElevation) {
  struct Case {
    int mode;
    double value;
    const char *difference, *elevation;
  } cases[] = {
      {0, -1.5, "-1.50", "98.50"},  // values are differences
      {1, 97.25, "-2.75", "97.25"},  // values are elevations
      {7, 100.0, "0.00", "100.00"},  // any non-zero mode: elevations
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    CGridCtrl& g = table(5, c.mode, 100);
    g.SetItemText(3, 0, "untouched");
    g.m_nPointCount = 2;
    g.m_Points[0] = {0, c.value};
    g.m_Points[1] = {12.345, c.value};
    g.FillPointRows();
    EXPECT_EQ(g.GetItemText(1, 0), "0.00");
    EXPECT_EQ(g.GetItemText(2, 0), "12.35");  // 12.345 is stored a little above: rounds up
    EXPECT_EQ(g.GetItemText(1, 1), c.difference);
    EXPECT_EQ(g.GetItemText(1, 2), c.elevation);
    EXPECT_EQ(g.GetItemText(3, 0), "untouched");  // rows beyond the count stay
  }
}

TEST_F(PointTableTest, AnEditOfOneValueColumnRecomputesTheOther) {
  struct Case {
    int col;
    const char* text;
    int partner;
    const char* expected;
  } cases[] = {
      {1, "-1.5", 2, "98.50"},
      {2, "101.25", 1, "1.25"},
      {2, "abc", 1, "-100.00"},  // no number reads 0
      {1, "2.5m", 2, "102.50"},  // read as far as it is a number
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CGridCtrl& g = table(5, 0, 100);
    g.OnEndEditCell(3, c.col, c.text);
    EXPECT_EQ(g.GetItemText(3, c.col), c.text);
    EXPECT_TRUE(g.GetModified(3, c.col));
    EXPECT_EQ(g.GetItemText(3, c.partner), c.expected);
  }
  CGridCtrl& g = table(5, 0, 100);
  g.OnEndEditCell(3, 0, "7");  // the distance is only stored
  EXPECT_EQ(g.GetItemText(3, 1), "");
  EXPECT_EQ(g.GetItemText(3, 2), "");
}

TEST_F(PointTableTest, EnterWalksTheInputCells) {
  struct Case {
    int mode;
    CCellID from, to;
  } cases[] = {
      {0, CCellID(2, 0), CCellID(2, 1)},
      {0, CCellID(2, 1), CCellID(3, 0)},
      {1, CCellID(2, 0), CCellID(2, 2)},
      {1, CCellID(2, 2), CCellID(3, 0)},
  };
  for (const Case& c : cases) {
    CGridCtrl& g = table(10, c.mode, 100);
    g.SetFocusCell(c.from);
    g.AdvanceOnEnter();
    EXPECT_EQ(g.GetFocusCell(), c.to) << "mode " << c.mode << " from " << c.from.row << "," << c.from.col;
    EXPECT_EQ(g.GetRowCount(), 10);
  }
}

TEST_F(PointTableTest, EnterOnTheRowAboveTheLastGrowsTheTable) {
  struct Case {
    int col;
    int readOnlyCol;
  } cases[] = {{1, 2}, {2, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.col);
    CGridCtrl& g = table(10, c.col == 2 ? 1 : 0, 100);
    g.SetItemText(9, 0, "last");
    g.SetFocusCell(8, c.col);
    g.AdvanceOnEnter();
    EXPECT_EQ(g.GetRowCount(), 11);
    EXPECT_EQ(g.GetFocusCell(), CCellID(9, 0));
    EXPECT_EQ(g.GetItemText(10, 0), "last");  // the former row 9
    EXPECT_EQ(g.GetItemText(9, 0), "");
    EXPECT_EQ(g.GetRowHeight(9), 20);
    EXPECT_TRUE(g.GetItemState(9, c.readOnlyCol) & GVIS_READONLY);
    EXPECT_EQ(g.GetItemBkColour(9, c.readOnlyCol), kComputed);
    EXPECT_FALSE(g.GetItemState(9, 0) & GVIS_READONLY);
  }
}

TEST_F(PointTableTest, TypingAndEnterStoreTheValueAndMoveOn) {
  CGridCtrl& g = table(3, 0, 100);
  g.SetFocus();
  g.SetFocusCell(1, 0);
  key('5');
  key(VK_RETURN);  // distance stored, on to the difference
  EXPECT_EQ(g.GetItemText(1, 0), "5");
  EXPECT_EQ(g.GetFocusCell(), CCellID(1, 1));
  key('2');
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1), "2");
  EXPECT_EQ(g.GetItemText(1, 2), "102.00");
  EXPECT_EQ(g.GetFocusCell(), CCellID(2, 0));
  // Row 1 was the one above the last: a row was added before the last.
  EXPECT_EQ(g.GetRowCount(), 4);
}

TEST_F(PointTableTest, PasteSkipsTheComputedColumnAndRecomputesIt) {
  CGridCtrl& g = table(4, 0, 100);
  ASSERT_TRUE(platform::setClipboardText("5\t-2\t999\n10\t-3.5\n"));
  g.SetFocusCell(1, 0);
  g.OnEditPaste();
  EXPECT_EQ(g.GetItemText(1, 0), "5");
  EXPECT_EQ(g.GetItemText(1, 1), "-2");
  EXPECT_EQ(g.GetItemText(1, 2), "98.00");
  EXPECT_EQ(g.GetItemText(2, 1), "-3.5");
  EXPECT_EQ(g.GetItemText(2, 2), "96.50");
  EXPECT_EQ(g.GetItemText(3, 2), "");
}

TEST_F(PointTableTest, RowCommandsInsertAndDeleteRows) {
  CGridCtrl& g = table(5, 0, 100);
  for (int r = 1; r < 5; ++r) g.SetItemText(r, 0, CString(std::to_string(r).c_str()));
  // Without a selection nothing is deleted.
  g.SendMessage(WM_COMMAND, ID_GRID_DELETE_ROWS);
  EXPECT_EQ(g.GetRowCount(), 5);
  g.SetFocusCell(2, 1);
  g.SendMessage(WM_COMMAND, ID_GRID_INSERT_ROW_BEFORE);
  EXPECT_EQ(g.GetRowCount(), 6);
  EXPECT_EQ(g.GetItemText(2, 0), "");
  EXPECT_EQ(g.GetItemText(3, 0), "2");
  EXPECT_EQ(g.GetFocusCell(), CCellID(3, 1));
  EXPECT_TRUE(g.GetItemState(2, 2) & GVIS_READONLY);
  EXPECT_EQ(g.GetItemBkColour(2, 2), kComputed);
  g.SendMessage(WM_COMMAND, ID_GRID_INSERT_ROW_AFTER);
  EXPECT_EQ(g.GetRowCount(), 7);
  EXPECT_EQ(g.GetItemText(4, 0), "");
  EXPECT_EQ(g.GetItemText(5, 0), "3");
  g.SetSelectedRange(4, 0, 5, 2);
  g.SendMessage(WM_COMMAND, ID_GRID_DELETE_ROWS);
  EXPECT_EQ(g.GetRowCount(), 5);
  EXPECT_EQ(g.GetItemText(3, 0), "2");
  EXPECT_EQ(g.GetItemText(4, 0), "4");
  // After the last row nothing is inserted; without a focus cell a row is appended.
  g.SetFocusCell(4, 0);
  g.SendMessage(WM_COMMAND, ID_GRID_INSERT_ROW_AFTER);
  EXPECT_EQ(g.GetRowCount(), 5);
  g.SetFocusCell(-1, -1);
  g.SendMessage(WM_COMMAND, ID_GRID_INSERT_ROW_BEFORE);
  EXPECT_EQ(g.GetRowCount(), 6);
  EXPECT_EQ(g.GetItemText(4, 0), "4");
}

TEST_F(PointTableTest, FocusRowValueIsRecomputedByTheMode) {
  CGridCtrl& g = table(4, 1, 100);
  g.SetItemText(2, 1, "0");
  g.SetItemText(2, 2, "97.5");
  g.SetFocusCell(2, 1);
  g.RecalcFocusRowValue();
  EXPECT_EQ(g.GetItemText(2, 1), "-2.50");
  g.m_nPointMode = 0;
  g.SetItemText(2, 1, "1");
  g.RecalcFocusRowValue();
  EXPECT_EQ(g.GetItemText(2, 2), "101.00");
}

// A right click tracks the first submenu of menu 19, owned by the grid, whose
// command the grid then carries out; without menu 19 in the module's
// resources no menu shows.
TEST_F(PointTableTest, TheRightClickShowsMenu19WhenTheModuleHasIt) {
  CGridCtrl& g = table(4, 0, 0);
  g.SetFocusCell(1, 0);
  platform::TranscriptCapture transcript;
  const LPARAM at = MAKELPARAM(10, 30);
  g.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
  g.SendMessage(WM_RBUTTONUP, 0, at);
  EXPECT_FALSE(transcript.contains("[menu]")) << transcript.text();
  EXPECT_EQ(g.GetRowCount(), 4);

  RegisterPelloryResources();
  ASSERT_TRUE(platform::queueAnswerLine("@menu 增加行/之后增加"));
  g.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
  g.SendMessage(WM_RBUTTONUP, 0, at);
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);  // the chosen command
  EXPECT_TRUE(transcript.contains("[menu] 增加行/之后增加 (23)")) << transcript.text();
  EXPECT_EQ(g.GetRowCount(), 5);
  platform::clearAnswers();
}

}  // namespace
}  // namespace gridtest
