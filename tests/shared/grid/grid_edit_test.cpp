// In-place editing: how an edit starts by its first key, the keys that end
// it, the widening of the editor, the notifications, and the drop-down list.
#include "grid_support.h"

#include "grid/ComboGridCtrl.h"
#include "grid/InPlaceEdit.h"

namespace gridtest {
namespace {

class GridEditTest : public GridTest {
 protected:
  CGridCtrl& gridWithValue() {
    CGridCtrl& g = makeGrid(4, 4, 300, 200);
    g.SetItemText(1, 1, "12.50");
    g.SetItemText(1, 2, "3.00");
    g.SetFocus();
    g.SetFocusCell(1, 1);
    pump();
    return g;
  }
  std::pair<int, int> editorSelection() {
    CWnd* editor = grid->GetEditWindow();
    if (!editor) return {-1, -1};
    int start = 0, end = 0;
    static_cast<CEdit*>(editor)->GetSel(start, end);
    return {start, end};
  }
};

TEST_F(GridEditTest, FirstCharDecidesTheTextAndTheSelection) {
  struct Case {
    UINT first;
    const char* text;
    int selStart, selEnd;
  } cases[] = {
      {VK_LBUTTON, "12.50", 5, 5},  // a click: the caret after the last character
      {VK_RETURN, "12.50", 5, 5},
      {VK_BACK, "12.5", 4, 4},  // backspace replayed
      {VK_TAB, "12.50", 0, 5},  // the whole text selected
      {VK_SPACE, "12.50", 0, 5},
      {VK_LEFT, "12.50", 0, 5},
      {VK_HOME, "12.50", 0, 5},
      {'7', "7", 1, 1},  // any other key replaces the text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "first char " << c.first);
    CGridCtrl& g = gridWithValue();
    g.OnEditCell(1, 1, c.first);
    pump();
    EXPECT_EQ(editorText(), c.text);
    EXPECT_EQ(editorSelection(), std::make_pair(c.selStart, c.selEnd));
    g.SetFocus();
    pump();
  }
}

TEST_F(GridEditTest, TypingADigitStartsAnEditHoldingOnlyThatDigit) {
  CGridCtrl& g = gridWithValue();
  key('7');
  EXPECT_EQ(editorText(), "7");
  EXPECT_EQ(editorSelection(), std::make_pair(1, 1));
  key(VK_RETURN);
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  EXPECT_EQ(g.GetItemText(1, 1), "7");
  EXPECT_TRUE(g.GetModified(1, 1));
  // Enter starts no further edit, and the focus is back on the grid.
  EXPECT_EQ(CWnd::GetFocus(), &g);
  std::vector<std::string> notes = {"-105 1,1", "-106 1,1"};
  EXPECT_EQ(parent.log, notes);
}

TEST_F(GridEditTest, ExitKeysEndTheEditAndTabAndArrowsGoOn) {
  struct Case {
    UINT vk;
    bool startedByKey;
    CCellID focusAfter;
    bool newEdit;
    const char* stored;
  } cases[] = {
      {VK_TAB, true, CCellID(1, 2), true, "9"},
      {VK_RIGHT, true, CCellID(1, 2), true, "9"},  // started by a key: a plain arrow ends the edit
      {VK_DOWN, true, CCellID(2, 1), true, "9"},
      {VK_RETURN, true, CCellID(1, 1), false, "9"},
      {VK_ESCAPE, true, CCellID(1, 1), false, "12.50"},  // Esc restores the text
      {VK_RIGHT, false, CCellID(1, 1), false, "12.50"},  // started by a click: the arrow moves the caret
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.vk << (c.startedByKey ? " after typing" : " after a click"));
    CGridCtrl& g = gridWithValue();
    parent.log.clear();
    if (c.startedByKey)
      key('9');
    else
      g.OnEditCell(1, 1, VK_LBUTTON);
    pump();
    ASSERT_NE(g.GetEditWindow(), nullptr);
    key(c.vk);
    if (!c.startedByKey) {
      // The edit is still open; Ctrl+arrow ends it.
      EXPECT_NE(g.GetEditWindow(), nullptr);
      keyWith(VK_CONTROL, c.vk);
    }
    EXPECT_EQ(g.GetItemText(1, 1), c.stored);
    EXPECT_EQ(g.GetFocusCell(), c.startedByKey ? c.focusAfter : CCellID(1, 2));
    if (c.newEdit) {
      // The next cell is edited with its whole text selected.
      EXPECT_NE(g.GetEditWindow(), nullptr);
      ASSERT_GE(parent.log.size(), 3u);
      EXPECT_EQ(parent.log[0], "-105 1,1");
      EXPECT_EQ(parent.log[1], "-106 1,1");
      EXPECT_EQ(parent.log[2], "-105 " + std::to_string(c.focusAfter.row) + "," + std::to_string(c.focusAfter.col));
    } else if (c.startedByKey) {
      EXPECT_EQ(g.GetEditWindow(), nullptr);
      std::vector<std::string> notes = {"-105 1,1", "-106 1,1"};
      EXPECT_EQ(parent.log, notes);
    }
    g.SetFocus();
    pump();
  }
}

TEST_F(GridEditTest, ClickOnTheFocusCellEditsAndAClickElsewhereEndsWithNoExitKey) {
  CGridCtrl& g = gridWithValue();
  click(CPoint(75, 30));  // the focus cell (1, 1)
  ASSERT_NE(g.GetEditWindow(), nullptr);
  EXPECT_EQ(editorText(), "12.50");
  EXPECT_EQ(editorSelection(), std::make_pair(5, 5));
  click(CPoint(125, 70));  // cell (3, 2)
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  EXPECT_EQ(g.GetFocusCell(), CCellID(3, 2));
  EXPECT_EQ(g.GetItemText(1, 1), "12.50");
  EXPECT_FALSE(g.GetModified(1, 1));  // stored unchanged
}

TEST_F(GridEditTest, TypingPastTheCellWidensTheEditorUpToTheGridsEdge) {
  struct Case {
    int col;
    const char* typed;
    int width;
  } cases[] = {
      {1, "abcd", 50},        // 4 characters and two blanks: 36 pixels fit in 50
      {1, "abcdefghij", 72},  // 10 + 2 characters of 6 pixels
      {2, "abcdefghij", 60},  // from 100: no further than the grid's right edge at 160
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    CGridCtrl& g = makeGrid(3, 3, 160, 100);
    g.SetFocus();
    g.SetFocusCell(1, c.col);
    for (const char* p = c.typed; *p; ++p) key(static_cast<UINT>(*p - 'a' + 'A'));
    CWnd* editor = g.GetEditWindow();
    ASSERT_NE(editor, nullptr);
    CRect rect;
    editor->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), c.width);
    g.SetFocus();
    pump();
  }
}

TEST_F(GridEditTest, NoEditStartsOnReadOnlyCellsOrAReadOnlyGrid) {
  CGridCtrl& g = gridWithValue();
  g.SetItemReadOnly(1, 1, TRUE);
  g.OnEditCell(1, 1, VK_LBUTTON);
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  g.SetItemReadOnly(1, 1, FALSE);
  g.SetEditable(FALSE);
  g.OnEditCell(1, 1, VK_LBUTTON);
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  g.SetEditable(TRUE);
  g.OnEditCell(9, 9, VK_LBUTTON);
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  EXPECT_TRUE(parent.log.empty());
}

TEST_F(GridEditTest, EditorAlignmentFollowsTheCellFormat) {
  struct Case {
    UINT format;
    DWORD style;
  } cases[] = {{DT_RIGHT, ES_RIGHT}, {DT_CENTER, ES_CENTER}, {DT_LEFT, ES_LEFT}, {DT_RIGHT | DT_CENTER, ES_RIGHT}};
  for (const Case& c : cases) {
    CGridCtrl& g = gridWithValue();
    g.SetItemFormat(1, 1, c.format);
    g.OnEditCell(1, 1, VK_LBUTTON);
    ASSERT_NE(g.GetEditWindow(), nullptr);
    EXPECT_EQ(g.GetEditWindow()->GetStyle() & (ES_RIGHT | ES_CENTER), c.style) << "format " << c.format;
    EXPECT_EQ(g.GetEditWindow()->GetDlgCtrlID(), IDC_INPLACE_CONTROL);
    g.SetFocus();
    pump();
  }
}

// A combo grid that writes down the selection changes its lists report.
class ListGrid : public CComboGridCtrl {
 public:
  ListGrid(int rows, int cols, int fixedRows, int fixedCols) : CComboGridCtrl(rows, cols, fixedRows, fixedCols) {}
  int changes = 0;
  CString lastChoice;
  void OnListChange() {
    ++changes;
    if (CWnd* list = GetDlgItem(IDC_INPLACE_CONTROL)) {
      auto* combo = static_cast<CComboBox*>(list);
      if (combo->GetCurSel() >= 0) combo->GetLBText(combo->GetCurSel(), lastChoice);
    }
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ListGrid, CComboGridCtrl)
  ON_CBN_SELCHANGE(IDC_INPLACE_CONTROL, &ListGrid::OnListChange)
END_MESSAGE_MAP()

TEST_F(GridEditTest, DropDownListReportsASelectionChangeAndStoresTheChoice) {
  auto& g = makeGrid<ListGrid>(4, 3, 300, 200);
  CStringArray items;
  items.Add("1-一般隧道");
  items.Add("2-明洞");
  items.Add("3-棚洞");
  g.SetColumnChoices(2, items);
  g.SetItemText(1, 2, "2-明洞");
  g.SetFocus();
  g.SetFocusCell(1, 2);
  g.OnEditCell(1, 2, VK_LBUTTON);
  pump();
  CWnd* list = g.GetEditWindow();
  ASSERT_NE(list, nullptr);
  auto* combo = static_cast<CComboBox*>(list);
  EXPECT_EQ(combo->GetCurSel(), 1);  // the cell's text is chosen
  EXPECT_EQ(combo->GetCount(), 3);
  // A user's Down key in the list picks the next item.
  key(VK_DOWN);
  EXPECT_GE(g.changes, 1);
  EXPECT_EQ(g.lastChoice, "3-棚洞");
  key(VK_RETURN);
  EXPECT_EQ(g.GetEditWindow(), nullptr);
  EXPECT_EQ(g.GetItemText(1, 2), "3-棚洞");
  // Columns without choices are edited as text.
  g.OnEditCell(1, 1, VK_LBUTTON);
  ASSERT_NE(g.GetEditWindow(), nullptr);
  char cls[32] = "";
  GetClassName(g.GetEditWindow()->GetSafeHwnd(), cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  g.SetFocus();
  pump();
}

TEST_F(GridEditTest, DropDownListIsWideEnoughForItsWidestChoice) {
  auto& g = makeGrid<ListGrid>(4, 3, 300, 200);
  CStringArray items;
  items.Add("a");
  items.Add("abcdefghijklmnop");  // 16 characters of 6 pixels
  g.SetColumnChoices(1, items);
  g.SetFocus();
  g.OnEditCell(1, 1, VK_LBUTTON);
  CWnd* list = g.GetEditWindow();
  ASSERT_NE(list, nullptr);
  CRect rect;
  list->GetWindowRect(&rect);
  // The widest choice, two blanks and a vertical scroll bar.
  EXPECT_EQ(rect.Width(), 16 * 6 + 2 * 6 + GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(static_cast<CComboBox*>(list)->GetDroppedWidth(), rect.Width());
  g.SetFocus();
  pump();
}

}  // namespace
}  // namespace gridtest
