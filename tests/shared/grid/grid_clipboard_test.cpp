// Cell texts to and from the clipboard, and text dropped on a cell.
#include "grid_support.h"

#include <cstring>
#include <map>

#include "win/globalmem.h"

namespace gridtest {
namespace {

HGLOBAL textBlock(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

// The whole CF_TEXT block of a data source, zero bytes included.
std::string blockText(COleDataSource& source) {
  HGLOBAL block = source.block(CF_TEXT);
  if (!block) return "<none>";
  std::string text(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
  GlobalUnlock(block);
  return text;
}

class GridClipboardTest : public GridTest {
 protected:
  // Rows 1..3 and columns 0..2 hold "keep"; one fixed row, no fixed column.
  CGridCtrl& filledGrid() {
    CGridCtrl& g = makeGrid(4, 3, 300, 200, 1, 0);
    for (int r = 1; r < 4; ++r)
      for (int c = 0; c < 3; ++c) g.SetItemText(r, c, "keep");
    return g;
  }
};

TEST_F(GridClipboardTest, CopiedTextHasTabsBetweenCellsAndLineBreaksBetweenRows) {
  CGridCtrl& g = filledGrid();
  g.SetItemText(1, 0, "a");
  g.SetItemText(1, 1, "");
  g.SetItemText(1, 2, "c");
  g.SetItemText(2, 0, "d");
  g.SetItemText(2, 1, "e");
  g.SetItemText(2, 2, "f");
  g.SetSelectedRange(1, 0, 2, 2);
  std::unique_ptr<COleDataSource> source(g.CopyTextFromGrid());
  ASSERT_TRUE(source);
  EXPECT_EQ(blockText(*source), std::string("a\t \tc\nd\te\tf\0", 12));
  // A cell of the range that is not selected gives nothing; its tabs stay.
  g.SetItemState(2, 1, g.GetItemState(2, 1) & ~GVIS_SELECTED);
  source.reset(g.CopyTextFromGrid());
  EXPECT_EQ(blockText(*source), std::string("a\t \tc\nd\t\tf\0", 11));
}

TEST_F(GridClipboardTest, NothingIsCopiedWithoutASelection) {
  CGridCtrl& g = filledGrid();
  EXPECT_EQ(g.CopyTextFromGrid(), nullptr);
  EXPECT_FALSE(g.CanCopy());
  EXPECT_FALSE(g.CanCut());
}

TEST_F(GridClipboardTest, PasteCutsLinesIntoTokensForTheCellsToTheRight) {
  struct Case {
    const char* name;
    std::string text;
    CCellID target;
    std::map<std::pair<int, int>, std::string> changed;  // every other cell keeps "keep"
    bool pasted;
  } cases[] = {
      {"comma, empty line, third number", "1.5,2.5\n\n3", CCellID(1, 0),
       {{{1, 0}, "1.5"}, {{1, 1}, "2.5"}, {{2, 0}, ""}, {{3, 0}, "3"}}, true},
      {"two commas are one separator", "a,,b", CCellID(1, 0), {{{1, 0}, "a"}, {{1, 1}, "b"}}, true},
      {"tabs, CR LF and a trailing line end", "a\tb\r\nc\td\r\n", CCellID(1, 0),
       {{{1, 0}, "a"}, {{1, 1}, "b"}, {{2, 0}, "c"}, {{2, 1}, "d"}}, true},
      {"blanks trimmed, a run of tabs", "  x \t\t y ", CCellID(1, 1), {{{1, 1}, "x"}, {{1, 2}, "y"}}, true},
      {"past the last row", "x\ny\nz", CCellID(3, 0), {{{3, 0}, "x"}}, true},
      {"past the last column", "p\tq\tr", CCellID(2, 2), {{{2, 2}, "p"}}, true},
      {"outside the grid", "x", CCellID(4, 0), {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridCtrl& g = filledGrid();
    ASSERT_TRUE(platform::setClipboardText(c.text));
    COleDataObject data;
    data.AttachClipboard();
    EXPECT_EQ(g.PasteTextToGrid(c.target, &data) != FALSE, c.pasted);
    for (int r = 1; r < 4; ++r)
      for (int col = 0; col < 3; ++col) {
        auto it = c.changed.find({r, col});
        std::string expected = it == c.changed.end() ? "keep" : it->second;
        EXPECT_EQ(g.GetItemText(r, col), expected.c_str()) << "cell " << r << "," << col;
        EXPECT_EQ(g.GetModified(r, col) != FALSE, it != c.changed.end()) << "cell " << r << "," << col;
      }
  }
}

TEST_F(GridClipboardTest, PasteSkipsReadOnlyCellsAndStartsNowhereReadOnly) {
  CGridCtrl& g = filledGrid();
  g.SetItemReadOnly(1, 1, TRUE);
  ASSERT_TRUE(platform::setClipboardText("a\tb\tc"));
  g.SetFocusCell(1, 0);
  g.OnEditPaste();
  EXPECT_EQ(g.GetItemText(1, 0), "a");
  EXPECT_EQ(g.GetItemText(1, 1), "keep");  // read-only: its token is dropped
  EXPECT_EQ(g.GetItemText(1, 2), "c");
  g.SetFocusCell(1, 1);
  EXPECT_FALSE(g.CanPaste());
  g.OnEditPaste();
  EXPECT_EQ(g.GetItemText(1, 1), "keep");
  EXPECT_EQ(g.GetItemText(1, 2), "c");
}

TEST_F(GridClipboardTest, PasteNotifiesEachCellAndClearsItsSelection) {
  CGridCtrl& g = filledGrid();
  g.SetSelectedRange(1, 0, 1, 1);
  ASSERT_TRUE(platform::setClipboardText("x\ty"));
  g.SetFocusCell(1, 0);
  parent.log.clear();
  g.OnEditPaste();
  std::vector<std::string> notes = {"-105 1,0", "-106 1,0", "-105 1,1", "-106 1,1"};
  EXPECT_EQ(parent.log, notes);
  EXPECT_FALSE(g.IsCellSelected(1, 0));
  EXPECT_FALSE(g.IsCellSelected(1, 1));
}

TEST_F(GridClipboardTest, CutEmptiesTheSelectedCellsThatAreNotReadOnly) {
  CGridCtrl& g = filledGrid();
  g.SetItemReadOnly(2, 1, TRUE);
  g.SetSelectedRange(1, 1, 2, 2);
  g.OnEditCut();
  EXPECT_EQ(platform::clipboardText().value_or("<none>"), "keep\tkeep\nkeep\tkeep");
  EXPECT_EQ(g.GetItemText(1, 1), "");
  EXPECT_EQ(g.GetItemText(1, 2), "");
  EXPECT_EQ(g.GetItemText(2, 2), "");
  EXPECT_EQ(g.GetItemText(2, 1), "keep");
  EXPECT_EQ(g.GetItemText(1, 0), "keep");
  EXPECT_TRUE(g.GetModified(1, 1));
  EXPECT_FALSE(g.GetModified(2, 1));
}

TEST_F(GridClipboardTest, ControlKeysSelectCopyAndPaste) {
  CGridCtrl& g = filledGrid();
  g.SetItemText(3, 2, "last");
  g.SetFocus();
  g.SetFocusCell(1, 0);
  keyWith(VK_CONTROL, 'A');
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(1, 0, 3, 2));
  keyWith(VK_CONTROL, 'C');
  EXPECT_EQ(platform::clipboardText().value_or("<none>"), "keep\tkeep\tkeep\nkeep\tkeep\tkeep\nkeep\tkeep\tlast");
  ASSERT_TRUE(platform::setClipboardText("v"));
  g.SetFocusCell(2, 1);
  keyWith(VK_CONTROL, 'V');
  EXPECT_EQ(g.GetItemText(2, 1), "v");
  g.SetSelectedRange(3, 2, 3, 2);
  keyWith(VK_CONTROL, 'X');
  EXPECT_EQ(g.GetItemText(3, 2), "");
  EXPECT_EQ(platform::clipboardText().value_or("<none>"), "last");
}

TEST_F(GridClipboardTest, DropWithAndWithoutCtrl) {
  CGridCtrl& g = filledGrid();
  g.SetItemReadOnly(2, 1, TRUE);
  COleDataSource source;
  source.CacheGlobalData(CF_TEXT, textBlock("dropped"));
  struct Case {
    bool allowed;
    POINT at;
    DWORD keys;
    DROPEFFECT effect;
  } cases[] = {
      {true, {75, 30}, MK_CONTROL, DROPEFFECT_COPY},  // cell (1, 1)
      {true, {75, 30}, 0, DROPEFFECT_MOVE},
      {true, {75, 50}, 0, DROPEFFECT_NONE},  // read-only cell (2, 1)
      {false, {75, 30}, 0, DROPEFFECT_NONE},  // drag and drop is off
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y << " keys " << c.keys);
    g.EnableDragAndDrop(c.allowed);
    platform::DragSession drag(source, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(drag.MoveTo(g.GetSafeHwnd(), c.at, c.keys), c.effect);
    if (c.effect != DROPEFFECT_NONE) {
      EXPECT_TRUE(g.GetItemState(1, 1) & GVIS_DROPHILITED);
    }
    drag.Cancel();
    EXPECT_FALSE(g.GetItemState(1, 1) & GVIS_DROPHILITED);
  }
  g.EnableDragAndDrop(TRUE);
  platform::DragSession drag(source, DROPEFFECT_COPY | DROPEFFECT_MOVE);
  drag.MoveTo(g.GetSafeHwnd(), POINT{125, 30}, MK_CONTROL);
  EXPECT_EQ(drag.Drop(), DROPEFFECT_COPY);
  EXPECT_EQ(g.GetItemText(1, 2), "dropped");
  EXPECT_FALSE(g.GetItemState(1, 2) & GVIS_DROPHILITED);
}

}  // namespace
}  // namespace gridtest
