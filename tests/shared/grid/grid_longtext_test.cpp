// Long texts in cells: what a column takes from the user is cut to its limit
// (typed, pasted, put in by a script's cell word), a stored text left as it
// was stays whole, and showing a long text costs what the cell, the tip or
// the editor shows of it, not the text's length.
#include "grid_support.h"

#include "fixtures/counting_measure.h"
#include "grid/MemDC.h"
#include "win/answers.h"
#include "win/gdiimage.h"
#include "win/userinput.h"

namespace gridtest {
namespace {

using fixtures::CountingMeasure;

std::string repeated(const std::string& piece, size_t times) {
  std::string s;
  s.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) s += piece;
  return s;
}

class GridLongTextTest : public GridTest {
 protected:
  // Starts an edit of the focus cell (1, 1) by typing `first`.
  void typeInto(CGridCtrl& g, UINT first) {
    g.SetFocus();
    g.SetFocusCell(1, 1);
    key(first);
  }
};

TEST_F(GridLongTextTest, APasteIsCutToEachColumnsLimit) {
  // Column 1 takes `limit` characters, column 2 has no limit.
  struct Case {
    const char* name;
    int limit;
    std::string text;
    std::string cell1, cell2;
  } cases[] = {
      {"100,000 characters into a text(255) column", 255, repeated("a", 100000), repeated("a", 255), ""},
      {"no limit", 0, repeated("a", 100000), repeated("a", 100000), ""},
      {"Chinese characters count as one each", 3, "甲乙丙丁", "甲乙丙", ""},
      {"each cell by its own column", 2, "abc\tdefgh", "ab", "defgh"},
      {"a text within the limit", 5, "abcde", "abcde", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridCtrl& g = makeGrid(3, 3);
    ASSERT_TRUE(g.SetColumnTextLimit(1, c.limit));
    ASSERT_TRUE(platform::setClipboardText(c.text));
    g.SetFocusCell(1, 1);
    g.OnEditPaste();
    EXPECT_EQ(g.GetItemText(1, 1).GetLength(), static_cast<int>(c.cell1.size()));
    EXPECT_EQ(g.GetItemText(1, 1), c.cell1.c_str());
    EXPECT_EQ(g.GetItemText(1, 2), c.cell2.c_str());
  }
}

// A column that refuses a longer text (a number's first characters are
// another number) takes it whole or not at all, however it comes in.
TEST_F(GridLongTextTest, AColumnThatRefusesLongerTextsNeverCutsThem) {
  struct Case {
    const char* name;
    std::string text;
    std::string cell1;  // column 1 (limit 10, refusing) after the paste
    std::string cell2;  // column 2 (no limit)
  } cases[] = {
      {"a text within the limit", "1.25e+30", "1.25e+30", ""},
      {"a text of the limit", "1234567890", "1234567890", ""},
      {"one character more", "12345678901", "old", ""},
      {"the other cells of the line still go in", "12345678901\t7", "old", "7"},
      {"Chinese characters count as one each", "甲乙丙丁戊己庚辛壬癸", "甲乙丙丁戊己庚辛壬癸", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridCtrl& g = makeGrid(3, 3);
    ASSERT_TRUE(g.SetColumnTextLimit(1, 10, CGridCtrl::OverLimit::Refuse));
    EXPECT_TRUE(g.RefusesLongerText(1));
    EXPECT_FALSE(g.RefusesLongerText(2));
    g.SetItemText(1, 1, "old");
    ASSERT_TRUE(platform::setClipboardText(c.text));
    g.SetFocusCell(1, 1);
    g.OnEditPaste();
    EXPECT_EQ(g.GetItemText(1, 1), c.cell1.c_str());
    EXPECT_EQ(g.GetItemText(1, 2), c.cell2.c_str());
    EXPECT_EQ(g.GetModified(1, 1) != FALSE, c.cell1 != "old");
  }
  // Typed and pasted into the editor: a character past the limit is refused,
  // a paste past it refused whole; an edit ended with a longer text (a
  // program's text) leaves the cell as it was.
  CGridCtrl& g = makeGrid(3, 3);
  ASSERT_TRUE(g.SetColumnTextLimit(1, 10, CGridCtrl::OverLimit::Refuse));
  typeInto(g, '1');
  for (int i = 0; i < 12; ++i) key('2');
  EXPECT_EQ(editorText(), "1" + repeated("2", 9));
  for (int i = 0; i < 5; ++i) key(VK_BACK);
  ASSERT_TRUE(platform::setClipboardText("3456789"));
  keyWith(VK_CONTROL, 'V');
  EXPECT_EQ(editorText(), "1" + repeated("2", 4));
  ASSERT_TRUE(platform::setClipboardText("34567"));
  keyWith(VK_CONTROL, 'V');
  EXPECT_EQ(editorText(), "1222234567");
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1), "1222234567");
  g.OnEndEditCell(1, 1, "12345678901");
  EXPECT_EQ(g.GetItemText(1, 1), "1222234567");
}

TEST_F(GridLongTextTest, ColumnLimitsFollowTheirColumns) {
  CGridCtrl& g = makeGrid(3, 4);
  EXPECT_FALSE(g.SetColumnTextLimit(4, 10));
  EXPECT_FALSE(g.SetColumnTextLimit(1, -1));
  ASSERT_TRUE(g.SetColumnTextLimit(2, 7));
  EXPECT_EQ(g.GetColumnTextLimit(2), 7);
  g.InsertColumn("new", DT_CENTER, 1);
  EXPECT_EQ(g.GetColumnTextLimit(1), 0);
  EXPECT_EQ(g.GetColumnTextLimit(3), 7);
  g.DeleteColumn(1);
  EXPECT_EQ(g.GetColumnTextLimit(2), 7);
  EXPECT_EQ(g.GetColumnTextLimit(9), 0);
}

TEST_F(GridLongTextTest, TypingStopsAtTheColumnsLimit) {
  CGridCtrl& g = makeGrid(3, 3);
  g.SetColumnTextLimit(1, 20);
  typeInto(g, 'A');
  for (int i = 0; i < 29; ++i) key('B');
  EXPECT_EQ(editorText(), "a" + repeated("b", 19));
  // A paste into the editor stops there too.
  key(VK_BACK);
  key(VK_BACK);
  ASSERT_TRUE(platform::setClipboardText(repeated("c", 100000)));
  keyWith(VK_CONTROL, 'V');
  EXPECT_EQ(editorText(), "a" + repeated("b", 17) + "cc");
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1), ("a" + repeated("b", 17) + "cc").c_str());
}

TEST_F(GridLongTextTest, AScriptsCellWordIsCutToTheColumnsLimit) {
  CGridCtrl& g = makeGrid(3, 3);
  g.SetColumnTextLimit(1, 255);
  std::string error;
  ASSERT_TRUE(platform::playWords(parent.GetSafeHwnd(), {"100[1,1]=" + repeated("d", 100000)}, error)) << error;
  EXPECT_EQ(g.GetItemText(1, 1), repeated("d", 255).c_str());
}

TEST_F(GridLongTextTest, AStoredTextLongerThanTheLimitIsKeptUntilTheUserChangesIt) {
  CGridCtrl& g = makeGrid(3, 3);
  g.SetColumnTextLimit(1, 5);
  g.SetItemText(1, 1, "abcdefgh");
  g.SetFocus();
  g.SetFocusCell(1, 1);
  key(VK_RETURN);  // opens the editor on the text, caret at its end
  EXPECT_EQ(editorText(), "abcdefgh");
  key('X');  // refused: the text is past the limit already
  EXPECT_EQ(editorText(), "abcdefgh");
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1), "abcdefgh");
  EXPECT_FALSE(g.GetModified(1, 1));
  key(VK_RETURN);
  key(VK_BACK);
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1), "abcde");
}

TEST_F(GridLongTextTest, ShowingALongTextCostsWhatTheCellShows) {
  // A grid painted with a 10-character cell and again with a
  // 100,000-character one, in each format a cell may have: the text measured
  // differs by no more than a cell's worth.
  const UINT formats[] = {0, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                          DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS};
  for (UINT format : formats) {
    SCOPED_TRACE(testing::Message() << "format " << format);
    size_t measured[2] = {0, 0};
    for (int longText = 0; longText < 2; ++longText) {
      CGridCtrl& g = makeGrid(3, 3);
      g.SetItemFormat(1, 1, format);
      g.SetItemText(1, 1, repeated("x", longText ? 100000 : 10).c_str());
      CDC dc;
      dc.Attach(platform::createImageDC(300, 200));
      CountingMeasure counting;
      platform::TextMeasureScope scope(counting);
      g.OnDraw(&dc);
      measured[longText] = counting.bytes;
    }
    EXPECT_LT(measured[1], measured[0] + 1000) << measured[0] << " bytes for 10 characters";
  }
}

TEST_F(GridLongTextTest, TheTipAndTheEditorOfALongTextCostWhatTheyShow) {
  CGridCtrl& g = makeGrid(3, 3);
  g.SetItemText(1, 1, repeated("y", 100000).c_str());
  g.SetFocus();
  pump();
  CountingMeasure counting;
  platform::TextMeasureScope scope(counting);
  // The mouse rests on the cell: the tip shows, no wider than the screen.
  CRect cell;
  g.GetCellRect(1, 1, &cell);
  POINT over{cell.left + 10, cell.top + 10};
  g.ClientToScreen(&over);
  platform::postMouseInput(WM_MOUSEMOVE, over);
  pump();
  ASSERT_TRUE(g.GetTitleTip().IsVisible());
  CRect tip;
  g.GetTitleTip().GetWindowRect(&tip);
  EXPECT_LE(tip.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LT(counting.bytes, 20000u);
  // Edited: the editor is no wider than the grid, and typing a character at
  // the end of the text measures no more than the editor shows.
  counting.bytes = 0;
  g.SetFocus();
  g.SetFocusCell(1, 1);
  key(VK_RETURN);
  CWnd* editor = g.GetEditWindow();
  ASSERT_TRUE(editor);
  CRect editRect, client;
  editor->GetWindowRect(&editRect);
  g.GetClientRect(&client);
  EXPECT_LE(editRect.Width(), client.Width());
  key('Z');
  EXPECT_LT(counting.bytes, 20000u);
  key(VK_RETURN);
  EXPECT_EQ(g.GetItemText(1, 1).GetLength(), 100001);
}

}  // namespace
}  // namespace gridtest
