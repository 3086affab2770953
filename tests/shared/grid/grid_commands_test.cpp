// The Edit-menu commands of the grid as a menu the grid owns shows them: each
// item enabled by the grid's rule when the menu opens.
#include "grid_support.h"

#include <functional>

#include "mfc/menu.h"
#include "win/answers.h"

namespace gridtest {
namespace {

class GridCommandsTest : public GridTest {
 protected:
  // A popup menu of the four commands.
  HMENU editMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, ID_EDIT_SELECT_ALL, "全选");
    AppendMenu(menu, MF_STRING, ID_EDIT_COPY, "复制");
    AppendMenu(menu, MF_STRING, ID_EDIT_CUT, "剪切");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, ID_EDIT_PASTE, "粘贴");
    return menu;
  }
  static bool enabled(HMENU menu, UINT id) { return !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)); }
};

TEST_F(GridCommandsTest, EachEditCommandIsEnabledByItsRuleWhenTheMenuOpens) {
  struct Case {
    const char* name;
    std::function<void(CGridCtrl&)> setUp;
    bool selectAll, copy, cut, paste;
  } cases[] = {
      {"nothing selected, no focus, empty clipboard", [](CGridCtrl&) {}, true, false, false, false},
      {"cells selected, focus on an editable cell, text on the clipboard",
       [](CGridCtrl& g) {
         g.SetSelectedRange(1, 1, 2, 2);
         g.SetFocusCell(1, 1);
         platform::setClipboardText("x");
       },
       true, true, true, true},
      {"the grid read-only",
       [](CGridCtrl& g) {
         g.SetSelectedRange(1, 1, 2, 2);
         g.SetFocusCell(1, 1);
         g.SetEditable(FALSE);
         platform::setClipboardText("x");
       },
       true, true, false, false},
      {"the focus cell read-only",
       [](CGridCtrl& g) {
         g.SetSelectedRange(1, 1, 1, 1);
         g.SetFocusCell(2, 2);
         g.SetItemReadOnly(2, 2, TRUE);
         platform::setClipboardText("x");
       },
       true, true, true, false},
      {"no text on the clipboard",
       [](CGridCtrl& g) {
         g.SetSelectedRange(1, 1, 1, 1);
         g.SetFocusCell(1, 1);
       },
       true, true, true, false},
      {"selection not allowed",
       [](CGridCtrl& g) {
         g.SetFocusCell(1, 1);
         g.EnableSelection(FALSE);
         platform::setClipboardText("x");
       },
       false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridCtrl& g = makeGrid(3, 3);
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    c.setUp(g);
    HMENU menu = editMenu();
    // What the window system sends the owner as its popup menu opens.
    g.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(enabled(menu, ID_EDIT_SELECT_ALL), c.selectAll);
    EXPECT_EQ(enabled(menu, ID_EDIT_COPY), c.copy);
    EXPECT_EQ(enabled(menu, ID_EDIT_CUT), c.cut);
    EXPECT_EQ(enabled(menu, ID_EDIT_PASTE), c.paste);
    DestroyMenu(menu);
  }
}

TEST_F(GridCommandsTest, AChosenItemRunsItsCommandInTheGrid) {
  CGridCtrl& g = makeGrid(3, 3);
  HMENU menu = editMenu();
  platform::queueAnswer("menu", std::to_string(ID_EDIT_SELECT_ALL));
  ASSERT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 0, 0, 0, g.GetSafeHwnd(), nullptr));
  // Nothing was selected when the menu opened.
  EXPECT_FALSE(enabled(menu, ID_EDIT_COPY));
  EXPECT_TRUE(enabled(menu, ID_EDIT_SELECT_ALL));
  pump();
  EXPECT_EQ(g.GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
  DestroyMenu(menu);
}

TEST_F(GridCommandsTest, AnUpdateRouteAsksOnlyTheHandlersThereAre) {
  // A command with no update handler keeps its item's state; the route can
  // also be asked whether a command has a handler at all.
  CGridCtrl& g = makeGrid(3, 3);
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING | MF_GRAYED, 4711, "other");
  AppendMenu(menu, MF_STRING, ID_EDIT_COPY, "复制");
  g.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  EXPECT_FALSE(enabled(menu, 4711));
  EXPECT_FALSE(enabled(menu, ID_EDIT_COPY));
  CCmdUI ui;
  ui.m_nID = 4711;
  EXPECT_FALSE(ui.DoUpdate(&g, FALSE));
  EXPECT_FALSE(ui.m_bEnableChanged);
  // Disabled when the target has no command handler for it either.
  EXPECT_FALSE(ui.DoUpdate(&g, TRUE));
  EXPECT_TRUE(ui.m_bEnableChanged);
  EXPECT_FALSE(ui.m_bEnabled);
  CCmdUI copy;
  copy.m_nID = ID_EDIT_COPY;
  EXPECT_TRUE(copy.DoUpdate(&g, TRUE));
  EXPECT_FALSE(copy.m_bEnabled);
  DestroyMenu(menu);
}

}  // namespace
}  // namespace gridtest
