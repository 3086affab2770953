// The plan module's table editor over a copy of the sample scheme, opened
// from the project tree after DEZERORUR: one editor per table, the plan's
// display rules in the grid, the viewed tables, adding and deleting rows,
// the save (the hidden 起点里程冠号 kept, codes back, one transaction), the
// track display and PZOOM, the station grid's keys, lists and flag-block
// preview, the traverse import, and unload with editors open; the values
// saved as loaded, a text that is no number refused, and the question before
// an editor with changes is replaced, closed or unloaded.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../plan_commands_support.h"
#include "arx/ArxStartup.h"
#include "arx/activex.h"
#include "arx/arx.h"
#include "arx/edcmdline.h"
#include "PlanCommands.h"
#include "SchemeTreeDlg.h"
#include "brevell/editor/TableEditorDlg.h"
#include "brevell/resources/EditorResources.h"
#include "brevell/resources/PlanResources.h"
#include "fixtures/run_command.h"
#include "fixtures/scheme_db.h"
#include "crt/paths.h"
#include "win/answers.h"
#include "win/clipboard.h"
#include "win/userinput.h"
#include "win/winhost.h"
#include "win/winpaint.h"

namespace {

using namespace plantest;
namespace fs = std::filesystem;

class TableEditor : public PlanCommandTest {
 protected:
  void SetUp() override {
    PlanCommandTest::SetUp();
    if (HasFatalFailure()) return;
    DrawPlan();
    ASSERT_NE(ThePlanState().dockBar, nullptr);
    ASSERT_NE(ThePlanState().model, nullptr);
  }
  // The plan drawn, its commands registered, as a test starts with it (and
  // again after a test unloads the module's state).
  void DrawPlan() {
    RegisterPlanCommands();
    AnswerDialog("233=1 IDOK");
    CmdDrawPlan();
  }
  // Gives the first bridge back the name it had before the case renamed it.
  void RenameFirstBridge(const std::string& name) {
    Sqlite("update 大中桥 set 桥梁名称 = '" + name + "' where ID = (select min(ID) from 大中桥)");
  }
  void TearDown() override {
    platform::clearPendingCommandStrings();
    RemoveCommandGroup(kPlanCommandGroup);
    PlanCommandTest::TearDown();
  }

  // Opens a table's editor by a double-click on its node ("基线/插旗/大中桥").
  CTableEditorDlg* Open(const std::string& path) {
    std::string error;
    EXPECT_TRUE(platform::runWindowLine("2163 2062:dbl=方案名称：方案1/" + path, error)) << error;
    const std::string table = path.substr(path.rfind('/') + 1);
    const int slot = TableEditorSlot(table.c_str());
    EXPECT_GE(slot, 0) << table;
    return slot < 0 ? nullptr : dynamic_cast<CTableEditorDlg*>(ThePlanState().tableEditors[slot]);
  }
  static void Play(CTableEditorDlg* editor, const std::vector<std::string>& words) {
    std::string error;
    EXPECT_TRUE(platform::playWords(editor->m_hWnd, words, error)) << error;
  }
  static std::string Cell(CTableEditorDlg* e, int r, int c) { return e->Grid().GetItemText(r, c).GetString(); }
  static int Column(CTableEditorDlg* e, const char* header) {
    for (int c = 0; c < e->Grid().GetColumnCount(); ++c)
      if (e->Grid().GetItemText(0, c) == header) return c;
    return -1;
  }
  // The row numbers of column 0, without the line end of a loaded row.
  static std::vector<std::string> RowNumbers(CTableEditorDlg* e) {
    std::vector<std::string> numbers;
    for (int r = 1; r < e->Grid().GetRowCount(); ++r) {
      std::string n = Cell(e, r, 0);
      if (!n.empty() && n.back() == '\n') n.pop_back();
      numbers.push_back(n);
    }
    return numbers;
  }
  static std::vector<std::string> Count(int n) {
    std::vector<std::string> numbers;
    for (int i = 1; i <= n; ++i) numbers.push_back(std::to_string(i));
    return numbers;
  }
  // Runs SQL the database layer does not take (a table renamed) on the copied scheme.
  void Sqlite(const std::string& sql) {
    const std::vector<std::string> out = fixtures::OutputLines("sqlite3 '" + m_db + "' \"" + sql + ";\" 2>&1");
    ASSERT_TRUE(out.empty() || (out.size() == 1 && out[0].empty())) << out.front();
  }
  static bool Enabled(CTableEditorDlg* e, int id) { return ::IsWindowEnabled(::GetDlgItem(e->m_hWnd, id)); }
  static bool Visible(CTableEditorDlg* e, int id) { return ::IsWindowVisible(::GetDlgItem(e->m_hWnd, id)); }
};

TEST_F(TableEditor, OpensFromTheTreeAndReopeningLeavesOneEditorPerTable) {
  CTableEditorDlg* first = Open("基线/插旗/大中桥");
  ASSERT_NE(first, nullptr);
  const HWND firstWindow = first->m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(firstWindow));
  CString title;
  first->GetWindowText(title);
  EXPECT_EQ(title, CString("大中桥"));
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 1u);

  // Opened again: the old editor is gone, one new one stands in its slot.
  CTableEditorDlg* second = Open("基线/插旗/大中桥");
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(::IsWindow(firstWindow));
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 1u);

  // Enter on a table node opens it too; a group node opens nothing.
  auto* tree = static_cast<CSchemeTreeDlg*>(ThePlanState().dockBar->GetChildDialog());
  std::string error;
  for (const char* path : {"方案名称：方案1/基线/插旗/隧道", "方案名称：方案1/基线/插旗"}) {
    ASSERT_TRUE(platform::playWords(tree->m_hWnd, {std::string("2062=") + path}, error)) << error;
    MSG msg{::GetDlgItem(tree->m_hWnd, IDC_SCHEME_TREE), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(tree->PreTranslateMessage(&msg));
  }
  EXPECT_NE(ThePlanState().tableEditors[TableEditorSlot("隧道")], nullptr);
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 2u);

  // Enter and Esc in the editor go to the grid and never close it.
  for (UINT key : {VK_RETURN, VK_ESCAPE}) {
    MSG msg{second->Grid().m_hWnd, WM_KEYDOWN, key, 0, 0, {0, 0}};
    EXPECT_TRUE(second->PreTranslateMessage(&msg));
    EXPECT_TRUE(second->IsWindowVisible()) << key;
  }
  // 不存入数据库退出 closes it; the tree opens it again.
  // (brought to the front first, as a click on its title would)
  ::SetWindowPos(second->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(platform::runWindowLine("2251 \"大中桥\" 4", error)) << error;
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 1u);
  ASSERT_NE(Open("基线/插旗/大中桥"), nullptr);
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 2u);
}

TEST_F(TableEditor, ShowsTheTableByThePlansRules) {
  CTableEditorDlg* e = Open("基线/插旗/隧道");
  ASSERT_NE(e, nullptr);
  const auto rows = Rows("select 隧道名称, 起点里程数, 插旗方式 from 隧道 order by ID");
  ASSERT_FALSE(rows.empty());
  ASSERT_EQ(e->Grid().GetRowCount(), static_cast<int>(rows.size()) + 1);
  EXPECT_EQ(Cell(e, 0, 0), "行号");
  const std::vector<std::string> headers = {"隧道名称",   "起点里程冠号", "起点里程数", "终点里程冠号",
                                            "终点里程数", "插旗方式",     "线数",       "附注"};
  for (size_t c = 0; c < headers.size(); ++c) EXPECT_EQ(Cell(e, 0, int(c) + 1), headers[c]);
  EXPECT_EQ(Cell(e, 1, 0), "1\n");
  for (size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(Cell(e, int(r) + 1, 1), rows[r][0]);
    // Two decimals in the sample: three shown.
    char value[64];
    std::snprintf(value, sizeof value, "%.3f", std::atof(rows[r][1].c_str()));
    EXPECT_EQ(Cell(e, int(r) + 1, 3), value);
    EXPECT_EQ(rows[r][2], "1");
    EXPECT_EQ(Cell(e, int(r) + 1, 6), "1-一般隧道");
  }
  EXPECT_EQ(e->Grid().GetBkColor(), static_cast<COLORREF>(0xE0FFFF));
}

TEST_F(TableEditor, CurveAndBreakTablesAreOnlyViewedAndOnly导线表Imports) {
  struct Case {
    const char* path;
    bool edits;
    bool imports;
  } const cases[] = {
      {"基线/平面/曲线表", false, false},
      {"基线/平面/断链表", false, false},
      {"基线/插旗/大中桥", true, false},
      {"基线/插旗/导线表", true, true},
  };
  for (const Case& c : cases) {
    CTableEditorDlg* e = Open(c.path);
    ASSERT_NE(e, nullptr) << c.path;
    for (int id : {IDC_EDITOR_REDRAW, IDC_EDITOR_ADD, IDC_EDITOR_DELETE, IDC_EDITOR_SAVE})
      EXPECT_EQ(Enabled(e, id), c.edits) << c.path << " " << id;
    EXPECT_TRUE(Enabled(e, IDC_EDITOR_QUIT)) << c.path;
    EXPECT_EQ(Visible(e, IDC_EDITOR_IMPORT), c.imports) << c.path;
    EXPECT_FALSE(Visible(e, IDC_EDITOR_PREVIEW)) << c.path;
  }
}

TEST_F(TableEditor, ASaveOf车站KeepsEveryStartPrefixAndTunnelsGoBackToTheirCodes) {
  const auto before = Rows("select 车站名称, 起点里程冠号, 起点里程数, 插旗图块名 from 车站 order by ID");
  ASSERT_GE(before.size(), 2u);
  for (const auto& r : before) ASSERT_FALSE(r[1].empty());
  CTableEditorDlg* e = Open("基线/插旗/车站");
  ASSERT_NE(e, nullptr);
  // The grid hides 起点里程冠号: column 4 is 起点里程数.
  EXPECT_EQ(Column(e, "起点里程冠号"), -1);
  EXPECT_EQ(Cell(e, 0, 4), "起点里程数");
  Play(e, {"2003[1,1]=新站名", "3"});
  const auto after = Rows("select 车站名称, 起点里程冠号, 起点里程数, 插旗图块名 from 车站 order by ID");
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after[0][0], "新站名");
  for (size_t r = 0; r < before.size(); ++r) {
    EXPECT_EQ(after[r][1], before[r][1]) << r;
    EXPECT_DOUBLE_EQ(std::atof(after[r][2].c_str()), std::atof(before[r][2].c_str())) << r;
    EXPECT_EQ(after[r][3], before[r][3]) << r;
  }

  const auto tunnels = Rows("select 插旗方式 from 隧道 order by ID");
  CTableEditorDlg* t = Open("基线/插旗/隧道");
  ASSERT_NE(t, nullptr);
  Play(t, {"3"});
  EXPECT_EQ(Rows("select 插旗方式 from 隧道 order by ID"), tunnels);
}

TEST_F(TableEditor, ADetourStationTableKeepsItsStartPrefixInColumn5) {
  Execute(
      "insert into 左线绕行段车站 (绕行段编号, 车站名称, 站房中心里程冠号, 站房中心里程数, 起点里程冠号, 起点里程数) "
      "values (0, '甲站', 'ZK', 100, 'ZAK', 50)");
  Execute(
      "insert into 左线绕行段车站 (绕行段编号, 车站名称, 站房中心里程冠号, 站房中心里程数, 起点里程冠号, 起点里程数) "
      "values (0, '乙站', 'ZK', 900, 'ZBK', 850)");
  CTableEditorDlg* e = Open("左线/插旗/左线绕行段车站");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Column(e, "起点里程冠号"), -1);
  EXPECT_EQ(Cell(e, 0, 5), "起点里程数");
  e->Grid().SetItemText(2, 2, "丙站");
  Play(e, {"3"});
  EXPECT_EQ(Rows("select 车站名称, 起点里程冠号, 起点里程数 from 左线绕行段车站 order by ID"),
            (std::vector<std::vector<std::string>>{{"甲站", "ZAK", "50"}, {"丙站", "ZBK", "850"}}));
}

TEST_F(TableEditor, AddedAndDeletedRowsAreNumberedAndAHeaderOnlyGridGrowsBelowItsHeader) {
  const auto bridges = Rows("select 桥梁名称 from 大中桥 order by ID");
  const int n = static_cast<int>(bridges.size());
  ASSERT_GE(n, 2);
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  // Three rows at row 1: inserted before it, the focus on the row after the
  // first new one (one row alone would leave row 1 in place, below).
  Play(e, {"2003[1,1]", "255=3", "2011"});
  ASSERT_EQ(e->Grid().GetRowCount(), n + 4);
  EXPECT_EQ(RowNumbers(e), Count(n + 3));
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(Cell(e, r, 1), "") << r;
  EXPECT_EQ(Cell(e, 4, 1), bridges[0][0]);
  EXPECT_EQ(Cell(e, 5, 1), bridges[1][0]);
  EXPECT_EQ(Cell(e, 0, 0), "行号");
  EXPECT_EQ(e->Grid().GetFocusCell().row, 2);
  // Deleting them again numbers the rows 1 .. n.
  e->Grid().SetSelectedRange(1, 0, 3, e->Grid().GetColumnCount() - 1);
  Play(e, {"2021"});
  EXPECT_EQ(RowNumbers(e), Count(n));
  EXPECT_EQ(Cell(e, 1, 1), bridges[0][0]);
  EXPECT_TRUE(Enabled(e, IDC_EDITOR_DELETE));
  // One row at row 1: row 1 stays, an empty row 2 follows.
  Play(e, {"2003[1,1]", "255=1", "2011"});
  EXPECT_EQ(RowNumbers(e), Count(n + 1));
  EXPECT_EQ(Cell(e, 1, 1), bridges[0][0]);
  EXPECT_EQ(Cell(e, 2, 1), "");
  EXPECT_EQ(Cell(e, 3, 1), bridges[1][0]);
  // Deleting every row disables 删除; adding enables it again.
  e->Grid().SetSelectedRange(1, 0, n + 1, e->Grid().GetColumnCount() - 1);
  Play(e, {"2021"});
  EXPECT_EQ(e->Grid().GetRowCount(), 1);
  EXPECT_FALSE(Enabled(e, IDC_EDITOR_DELETE));

  // An empty table: its header row, then three rows below it.
  Execute("delete from 大中桥");
  e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->Grid().GetRowCount(), 1);
  Play(e, {"255=3", "2011"});
  ASSERT_EQ(e->Grid().GetRowCount(), 4);
  EXPECT_EQ(Cell(e, 0, 0), "行号");
  EXPECT_EQ(Cell(e, 0, 1), "桥梁名称");
  EXPECT_EQ(RowNumbers(e), Count(3));
  EXPECT_TRUE(Enabled(e, IDC_EDITOR_DELETE));
  // Rows without text are not written; a named one is.
  e->Grid().SetItemText(2, 1, "新桥");
  Play(e, {"3"});
  const auto saved = Rows("select 桥梁名称 from 大中桥");
  EXPECT_EQ(saved, (std::vector<std::vector<std::string>>{{"新桥"}}));
}

TEST_F(TableEditor, ASaveThatFailsKeepsTheOldRowsWithAMessage) {
  const auto before = Rows("select * from 大中桥 order by ID");
  // The database refuses one name, so the save fails after its delete.
  const std::vector<std::string> out =
      fixtures::OutputLines("sqlite3 '" + m_db +
                            "' \"create trigger refuse before insert on 大中桥 when new.桥梁名称 = '拒绝' "
                            "begin select raise(abort, 'refused'); end;\" 2>&1");
  ASSERT_TRUE(out.empty() || (out.size() == 1 && out[0].empty())) << out.front();
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  transcript.clear();
  e->Grid().SetItemText(2, 1, "拒绝");
  Play(e, {"3"});
  EXPECT_EQ(Rows("select * from 大中桥 order by ID"), before);
  EXPECT_TRUE(transcript.contains("大中桥")) << transcript.text();
  // 刷新图形 after a failed save sends nothing.
  platform::clearPendingCommandStrings();
  Play(e, {"232"});
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
}

TEST_F(TableEditor, AnEditorSavesToItsOwnSchemeAfterAnotherIsPicked) {
  // A second scheme database, made current after the editor opened.
  const fs::path other = fs::path(m_db).parent_path() / "方案2.mdb";
  fs::copy_file(m_db, other);
  const auto otherBefore = fixtures::QueryRows(other.string(), "select * from 大中桥 order by ID");
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  const CString own = DatabasePathOfConnection(ThePlanState().connection);
  ThePlanState().connection = SchemeConnectionText(platform::toWindowsPath(other.string()).c_str());
  e->Grid().SetItemText(1, 1, "改名桥");
  Play(e, {"3"});
  EXPECT_EQ(Rows("select 桥梁名称 from 大中桥 order by ID").front().front(), "改名桥");
  EXPECT_EQ(fixtures::QueryRows(other.string(), "select * from 大中桥 order by ID"), otherBefore);
  // 刷新图形: saved to its own scheme again, the drawing (of the other) not redrawn.
  e->Grid().SetItemText(1, 1, "再改名桥");
  platform::clearPendingCommandStrings();
  transcript.clear();
  Play(e, {"232"});
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
  EXPECT_TRUE(transcript.contains("不能刷新图形")) << transcript.text();
  EXPECT_EQ(Rows("select 桥梁名称 from 大中桥 order by ID").front().front(), "再改名桥");
  EXPECT_EQ(fixtures::QueryRows(other.string(), "select * from 大中桥 order by ID"), otherBefore);
  // Its own scheme current again: the redraw goes.
  ThePlanState().connection = SchemeConnectionText(own);
  Play(e, {"232"});
  EXPECT_EQ(platform::pendingCommandStrings(), 1u);
}

TEST_F(TableEditor, ATableThatDidNotLoadCannotBeSaved) {
  const auto before = Rows("select * from 大中桥 order by ID");
  // The table is not there while the editor loads; it is back by the save.
  Sqlite("alter table 大中桥 rename to 大中桥_away");
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  Sqlite("alter table 大中桥_away rename to 大中桥");
  for (int id : {IDC_EDITOR_SAVE, IDC_EDITOR_REDRAW, IDC_EDITOR_ADD}) EXPECT_FALSE(Enabled(e, id)) << id;
  transcript.clear();
  EXPECT_FALSE(e->SaveToDatabase());
  EXPECT_TRUE(transcript.contains("表 大中桥 没有保存")) << transcript.text();
  EXPECT_EQ(Rows("select * from 大中桥 order by ID"), before);
}

TEST_F(TableEditor, TheTrackDisplayStoresTheRowsWindowAndSendsPzoom) {
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  // The window of each table's row is worked out by hand in track_window_test;
  // here: it is stored, square, and PZOOM shows it widened by 50 on every side.
  platform::clearPendingCommandStrings();
  Play(e, {"2003[2,2]"});  // the switch is off: nothing
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
  Play(e, {"235=1"});
  EXPECT_EQ(ThePlanState().trackFlag, 1);
  Play(e, {"2003[2,2]"});
  EXPECT_EQ(platform::pendingCommandStrings(), 1u);
  const AcGePoint2d* corners = ThePlanState().zoomCorners;
  const double width = corners[1].x - corners[0].x;
  EXPECT_GT(width, 0.0);
  EXPECT_NEAR(corners[1].y - corners[0].y, width, 1e-6);
  EXPECT_TRUE(e->Grid().IsWindowEnabled());
  // The string runs PZOOM: the view is the window widened by 50 on every side.
  platform::runScriptText("");
  AcDbViewportTable* table = nullptr;
  ASSERT_EQ(db()->getViewportTable(table, AcDb::kForRead), Acad::eOk);
  AcDbViewportTableRecord* active = nullptr;
  ASSERT_EQ(table->getAt("*Active", active, AcDb::kForRead), Acad::eOk);
  table->close();
  EXPECT_NEAR(active->centerPoint().x, (corners[0].x + corners[1].x) / 2, 1e-6);
  EXPECT_NEAR(active->centerPoint().y, (corners[0].y + corners[1].y) / 2, 1e-6);
  EXPECT_NEAR(active->width(), width + 100, 1e-6);
  EXPECT_NEAR(active->height(), width + 100, 1e-6);
  active->close();
  // A row whose chainage lies beyond the line: nothing is sent.
  e->Grid().SetItemText(1, 3, "999999");
  platform::clearPendingCommandStrings();
  Play(e, {"2003[1,2]"});
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
  // 添加 clears the switch.
  Play(e, {"2011"});
  EXPECT_EQ(ThePlanState().trackFlag, 0);
}

TEST_F(TableEditor, EnterCarriesThePrefixDownAndAppendsARowAtTheLastCell) {
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  const int n = e->Grid().GetRowCount() - 1;
  const int last = e->Grid().GetColumnCount() - 1;
  // Enter in the last cell of the last row: a new empty last row, numbered.
  const std::string lastName = Cell(e, n, 1);
  Play(e, {"2003[" + std::to_string(n) + "," + std::to_string(last) + "]", "{Enter}"});
  ASSERT_EQ(e->Grid().GetRowCount(), n + 2);
  EXPECT_EQ(RowNumbers(e), Count(n + 1));
  EXPECT_EQ(Cell(e, n, 1), lastName);
  for (int c = 1; c <= last; ++c) EXPECT_EQ(Cell(e, n + 1, c), "") << c;
  EXPECT_EQ(e->Grid().GetFocusCell().row, n + 1);
  EXPECT_EQ(e->Grid().GetFocusCell().col, 1);
  // Enter into the empty 中心里程冠号 cell copies the prefix above; a filled one stays.
  Play(e, {"{Enter}"});
  EXPECT_EQ(e->Grid().GetFocusCell().col, 2);
  EXPECT_EQ(Cell(e, n + 1, 2), Cell(e, n, 2));
  EXPECT_FALSE(Cell(e, n, 2).empty());
  e->Grid().SetItemText(n + 1, 4, "AK");
  Play(e, {"2003[" + std::to_string(n + 1) + ",3]", "{Enter}"});
  EXPECT_EQ(Cell(e, n + 1, 4), "AK");
}

TEST_F(TableEditor, CodedColumnsOfferTheirListsAndTheFlagBlockPreviewFollowsTheFocus) {
  struct ListCase {
    const char* path;
    const char* header;
    int items;
  } const lists[] = {{"基线/插旗/小桥涵", "插旗方式", 8}, {"基线/插旗/隧道", "插旗方式", 2}};
  for (const ListCase& c : lists) {
    CTableEditorDlg* e = Open(c.path);
    ASSERT_NE(e, nullptr);
    const std::string cell = "2003[1," + std::to_string(Column(e, c.header)) + "]";
    Play(e, {cell, cell});  // a click on the focus cell starts the edit
    CComboBox* list = e->Grid().OpenList();
    ASSERT_NE(list, nullptr) << c.path;
    EXPECT_EQ(list->GetCount(), c.items) << c.path;
    e->Grid().EndEditing();
  }

  CTableEditorDlg* e = Open("基线/插旗/车站");
  ASSERT_NE(e, nullptr);
  const int block = Column(e, "插旗图块名");
  ASSERT_GT(block, 0);
  const std::string name = Cell(e, 1, block);
  ASSERT_FALSE(name.empty());
  const std::string blockCell = "2003[1," + std::to_string(block) + "]";
  Play(e, {blockCell});
  ASSERT_NE(e->Preview(), nullptr);
  EXPECT_TRUE(e->Preview()->IsWindowVisible());
  const std::string shown = platform::drawingPreviewPath(e->Preview()->m_hWnd);
  EXPECT_NE(shown.find("\\dwg\\" + name + ".dwg"), std::string::npos) << shown;
  // The focus leaves the column: hidden.
  Play(e, {"2003[1,1]"});
  EXPECT_FALSE(e->Preview()->IsWindowVisible());
  // A block whose drawing is missing: hidden.
  e->Grid().SetItemText(1, block, "不存在的块");
  Play(e, {blockCell});
  EXPECT_FALSE(e->Preview()->IsWindowVisible());
}

TEST_F(TableEditor, TheTraverseFileFillsRowsBelowTheHeader) {
  Execute("delete from 导线表");
  const fs::path file = m_dir / "traverse.txt";
  {
    std::ofstream out(file);
    for (int i = 1; i <= 21; ++i) out << "h" << i << (i % 7 ? " " : "\n");
    out << "D0 30-15-00\nD1 180-00-10 1000 2000 10 1500 31-00-00 120.5\nD2 181-00-00\n";
  }
  CTableEditorDlg* e = Open("基线/插旗/导线表");
  ASSERT_NE(e, nullptr);
  std::string error;
  ASSERT_TRUE(platform::queueAnswerLine("@file \"" + platform::toWindowsPath(file.string()) + "\"", &error)) << error;
  Play(e, {"252"});
  EXPECT_EQ(platform::pendingAnswers(), 0u);
  ASSERT_EQ(e->Grid().GetRowCount(), 4);
  EXPECT_EQ(Cell(e, 0, 1), "桩号");
  EXPECT_EQ(RowNumbers(e), Count(3));
  const std::vector<std::vector<std::string>> expected = {
      {"D0", "0", "30.1500", "0", "0", "0", "0", "0"},
      {"D1", "180.0010", "31.0000", "120.5000", "1000.000", "2000.000", "10.0000", "1500.0000"},
      {"D2", "0", "0", "0", "0", "0", "0", "0"},
  };
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 8; ++c) EXPECT_EQ(Cell(e, r + 1, c + 1), expected[r][c]) << r << "," << c;
}

TEST_F(TableEditor, UnloadDestroysEveryOpenEditor) {
  for (const char* path : {"基线/插旗/大中桥", "基线/插旗/车站", "基线/平面/曲线表"}) ASSERT_NE(Open(path), nullptr);
  EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 3u);
  UnloadApplication();
  EXPECT_TRUE(platform::templateWindows(IDD_TABLE_EDITOR).empty());
  for (CWnd* editor : ThePlanState().tableEditors) EXPECT_EQ(editor, nullptr);
  RegisterPlanCommands();  // the fixture removes the group again
}

TEST_F(TableEditor, AnEditorWithChangesAsksBeforeTheTreeReplacesIt) {
  const auto before = Rows("select 桥梁名称 from 大中桥 order by ID");
  // The answer to the question and what follows: the name in row 1 of the
  // table after, whether the editor was replaced.
  const struct {
    const char* answer;
    const char* saved;  // null: the table as before
    bool replaced;
  } cases[] = {{"IDCANCEL", nullptr, false}, {"IDNO", nullptr, true}, {"IDYES", "改名桥", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    CTableEditorDlg* first = Open("基线/插旗/大中桥");
    ASSERT_NE(first, nullptr);
    // An editor is told by its window: a new editor may take the old one's
    // address, but window handles are never used twice.
    const HWND firstWindow = first->GetSafeHwnd();
    Play(first, {"2003[1,1]=改名桥"});
    EXPECT_TRUE(first->HasChanges());
    std::string error;
    ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer, &error)) << error;
    transcript.clear();
    CTableEditorDlg* second = Open("基线/插旗/大中桥");
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_TRUE(transcript.contains("大中桥已修改，是否保存？")) << transcript.text();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetSafeHwnd() != firstWindow, c.replaced);
    EXPECT_EQ(platform::templateWindows(IDD_TABLE_EDITOR).size(), 1u);
    auto expected = before;
    if (c.saved) expected[0][0] = c.saved;
    EXPECT_EQ(Rows("select 桥梁名称 from 大中桥 order by ID"), expected);
    if (!c.replaced) {
      EXPECT_EQ(Cell(first, 1, 1), "改名桥");
      Play(first, {"4"});  // 不存入数据库退出: the change dropped
    }
  }
  // Without changes: replaced at once, nothing asked.
  ASSERT_NE(Open("基线/插旗/大中桥"), nullptr);
  transcript.clear();
  ASSERT_NE(Open("基线/插旗/大中桥"), nullptr);
  EXPECT_FALSE(transcript.contains("是否保存")) << transcript.text();
}

TEST_F(TableEditor, TheWindowsCloseAsksAndItsQuitButtonDoesNot) {
  const auto before = Rows("select 桥梁名称 from 大中桥 order by ID");
  // The words that close, the answer queued, whether it closed.
  const struct {
    const char* close;
    const char* answer;
    bool closed;
    bool asked;
  } cases[] = {
      {"close", "IDCANCEL", false, true},
      {"close", "IDNO", true, true},
      {"4", nullptr, true, false},  // 不存入数据库退出
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.close) + " " + (c.answer ? c.answer : ""));
    CTableEditorDlg* e = Open("基线/插旗/大中桥");
    ASSERT_NE(e, nullptr);
    const HWND window = e->m_hWnd;
    Play(e, {"2003[1,1]=改名桥"});
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer));
    }
    transcript.clear();
    Play(e, {c.close});
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_EQ(transcript.contains("大中桥已修改，是否保存？"), c.asked) << transcript.text();
    EXPECT_EQ(::IsWindow(window) == FALSE, c.closed);
    EXPECT_EQ(Rows("select 桥梁名称 from 大中桥 order by ID"), before);
    if (!c.closed) Play(e, {"4"});
  }
}

TEST_F(TableEditor, UnloadAsksWhetherToSaveAnEditorWithChanges) {
  const auto before = Rows("select 桥梁名称 from 大中桥 order by ID");
  // The answer at unload (none: the default 是), and whether the name was saved.
  const struct {
    const char* answer;
    bool saved;
  } cases[] = {{"IDNO", false}, {nullptr, true}};
  for (const auto& c : cases) {
    CTableEditorDlg* e = Open("基线/插旗/大中桥");
    ASSERT_NE(e, nullptr);
    Play(e, {"2003[1,1]=改名桥"});
    ASSERT_NE(Open("基线/平面/曲线表"), nullptr);  // viewed only: never asked
    // Asked with 是 and 否 only: an answer 取消 is not taken.
    ASSERT_TRUE(platform::queueAnswerLine("@msg IDCANCEL"));
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer));
    }
    transcript.clear();
    UnloadApplication();
    EXPECT_EQ(platform::pendingAnswerLines(), (std::vector<std::string>{"@msg IDCANCEL"}));
    platform::clearAnswers();
    EXPECT_TRUE(platform::templateWindows(IDD_TABLE_EDITOR).empty());
    EXPECT_TRUE(transcript.contains("大中桥已修改，是否保存？")) << transcript.text();
    EXPECT_FALSE(transcript.contains("曲线表已修改")) << transcript.text();
    auto expected = before;
    if (c.saved) expected[0][0] = "改名桥";
    EXPECT_EQ(Rows("select 桥梁名称 from 大中桥 order by ID"), expected);
    // Set up again as the fixture did.
    DrawPlan();
    RenameFirstBridge(before[0][0]);
  }
}

TEST_F(TableEditor, ValuesNotEditedAreSavedAsTheyWereLoaded) {
  // More decimals than the grid shows.
  Sqlite("update 大中桥 set 中心里程数 = 中心里程数 + 0.00049, 桥全长 = 123.45678 where ID = (select min(ID) from 大中桥)");
  const std::string all = "select * from 大中桥 order by ID";
  const auto before = Rows(all);
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Cell(e, 1, Column(e, "桥全长")), "123.456");
  // 保存 and 刷新图形 without an edit: every value to the last digit.
  for (const char* button : {"3", "232"}) {
    Play(e, {button});
    EXPECT_EQ(Rows(all), before) << button;
  }
  // A text that is no number: refused as the edit ends, never written.
  const std::string length = "2003[1," + std::to_string(Column(e, "桥全长")) + "]";
  transcript.clear();
  Play(e, {length + "=12abc"});
  EXPECT_TRUE(transcript.contains("“桥全长”列只能填数值")) << transcript.text();
  EXPECT_EQ(Cell(e, 1, Column(e, "桥全长")), "123.456");
  Play(e, {"3", "{Esc}"});
  EXPECT_EQ(Rows(all), before);
  // An edit takes its text; the other cells keep their values.
  Play(e, {length + "=99.5", "3"});
  const auto lengths = Rows("select 桥全长 from 大中桥 order by ID");
  EXPECT_EQ(lengths[0][0], "99.5");
  for (size_t r = 1; r < lengths.size(); ++r) EXPECT_EQ(Rows(all)[r], before[r]) << r;
}

// An edit whose text is refused as the editor closes keeps it open; at
// unload, where it cannot stay, that edit is dropped as Esc drops it and 是
// saves the valid edits; a save that fails there is told in the transcript.
TEST_F(TableEditor, ARefusedEditKeepsTheEditorAtItsCloseAndIsDroppedAtUnload) {
  const std::string names = "select 桥梁名称, 桥全长 from 大中桥 order by ID";
  const auto before = Rows(names);
  CTableEditorDlg* e = Open("基线/插旗/大中桥");
  ASSERT_NE(e, nullptr);
  const HWND window = e->m_hWnd;
  const std::string length = "2003[1," + std::to_string(Column(e, "桥全长")) + "]";
  Play(e, {"2003[1,1]=改名桥", length + "=1,5"});
  ASSERT_NE(e->Grid().GetEditWindow(), nullptr);
  transcript.clear();
  Play(e, {"close"});
  EXPECT_TRUE(transcript.contains("“桥全长”列只能填数值，“1,5”不是数值")) << transcript.text();
  EXPECT_FALSE(transcript.contains("是否保存")) << transcript.text();
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(Rows(names), before);
  // Unload: the refused edit dropped, the rename saved (the default 是).
  const struct {
    const char* what;
    bool pasted;  // a text that is no number pasted into 桥全长 as well
  } cases[] = {{"an open edit refused", false}, {"a pasted text that is no number", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    e = Open("基线/插旗/大中桥");
    ASSERT_NE(e, nullptr);
    if (e->Grid().GetEditWindow() == nullptr) Play(e, {"2003[1,1]=改名桥", length + "=1,5"});
    if (c.pasted) {
      ASSERT_TRUE(platform::setClipboardText("abc"));
      e->Grid().SetFocusCell(2, Column(e, "桥全长"));
      e->Grid().OnEditPaste();
    }
    transcript.clear();
    UnloadApplication();
    platform::pumpMessages();
    EXPECT_TRUE(platform::templateWindows(IDD_TABLE_EDITOR).empty());
    EXPECT_TRUE(transcript.contains("大中桥已修改，是否保存？")) << transcript.text();
    auto expected = before;
    if (!c.pasted) expected[0][0] = "改名桥";
    EXPECT_EQ(Rows(names), expected);
    EXPECT_EQ(transcript.contains("编辑器对表 大中桥 的修改没有保存"), c.pasted) << transcript.text();
    // Set up again as the fixture did.
    DrawPlan();
    RenameFirstBridge(before[0][0]);
  }
}

TEST_F(TableEditor, APictureOfAnEditor) {
  CTableEditorDlg* e = Open("基线/插旗/车站");
  ASSERT_NE(e, nullptr);
  Play(e, {"2003[1," + std::to_string(Column(e, "插旗图块名")) + "]"});
  const fs::path picture = fs::path(RAIL_TEST_TMPDIR) / "brevell-table-editor.png";
  fs::remove(picture);
  ASSERT_TRUE(platform::saveWindowPicture(e->m_hWnd, picture.string()));
  EXPECT_GT(fs::file_size(picture), 1000u);
}

}  // namespace
