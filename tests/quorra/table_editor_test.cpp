// The navigator's table editor opened from the scheme tree: loading with the
// codes shown, the rows added and deleted, the count of rows to add checked,
// the save (the hidden 车站类型 kept, to the database the editor was opened
// on), the prefix carry and appended row, the coded lists, the flag-block
// preview, closing and opening again, the question before an editor with
// changes closes or gives way, and a text that is no number refused.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "NavigatorState.h"
#include "StationGridCtrl.h"
#include "TableEditorDlg.h"
#include "TableEditors.h"
#include "crt/paths.h"
#include "fixtures/scheme_db.h"
#include "navigator_fixture.h"
#include "win/answers.h"
#include "win/clipboard.h"
#include "win/transcript.h"
#include "win/userinput.h"
#include "win/winhost.h"

namespace navigatortest {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class TableEditorTest : public NavigatorTest {
 protected:
  // A project with scheme databases `names` (b current), the tree open and
  // `fill` run on b's database before any editor opens.
  void Open(const std::vector<std::string>& names = {"b.mdb"}) {
    MakeProject("b");
    for (const std::string& n : names) AddDatabase(n);
    OpenTree();
  }
  // Schemes a and b, each with one tunnel (甲隧 in a, 乙隧 in b), and the
  // editor of b's tunnels opened from the tree.
  CTableEditorDlg* EditTunnelsOfTwoSchemes() {
    Open({"a.mdb", "b.mdb"});
    EXPECT_TRUE(fixtures::FillTable(DataFile("a.mdb"), "隧道", {{"甲隧", "DK", "1", "DK", "2", "1", "1", nullptr}}));
    EXPECT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1", "DK", "2", "1", "1", nullptr}}));
    return Edit("b/输入数据/插旗/基线/隧道", "隧道");
  }
  // Double-clicks a table node; the editor of that table.
  CTableEditorDlg* Edit(const std::string& path, const char* table) {
    EXPECT_EQ(Play({"206:dbl=" + path}), "");
    return OpenedTableEditorOf(table);
  }
  // Plays words on an editor, brought to the top first as a click on its title would.
  static std::string PlayOn(CTableEditorDlg* editor, const std::vector<std::string>& words) {
    std::string error;
    editor->BringWindowToTop();
    editor->SetActiveWindow();
    if (!platform::playWords(editor->GetSafeHwnd(), words, error)) return error.empty() ? "failed" : error;
    return {};
  }
  // Runs SQL the database layer does not take (a table renamed) on b's database.
  void Sqlite(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DataFile("b.mdb").c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  Rows Query(const std::string& db, const std::string& sql) { return fixtures::QueryRows(DataFile(db), sql); }
  // b's 隧道 holds 乙隧 and 丙隧 (starting at the given chainages), and the
  // database refuses any new row named 坏, as a constraint of its own would.
  void TunnelsRefusingABadName(const char* firstStart, const char* secondStart) {
    Sqlite("drop trigger if exists refuse");
    Sqlite("delete from 隧道");
    ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道",
                                    {{"乙隧", "DK", firstStart, "DK", "2", "1", "1", nullptr},
                                     {"丙隧", "DK", secondStart, "DK", "4", "1", "1", nullptr}}));
    Sqlite("CREATE TRIGGER refuse BEFORE INSERT ON 隧道 WHEN NEW.隧道名称 = '坏' "
           "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  }
  static std::vector<std::string> Column(CStationGridCtrl& grid, int col) {
    std::vector<std::string> texts;
    for (int r = 0; r < grid.GetRowCount(); ++r) texts.push_back(grid.GetItemText(r, col).GetString());
    return texts;
  }
};

TEST_F(TableEditorTest, OneRowAddedToAnEmptyTableGivesRowsOneAndTwo) {
  Open();
  CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(editor, nullptr);
  CStationGridCtrl& grid = editor->Grid();
  // An empty table: the header row with its field columns, "行号" first.
  ASSERT_EQ(grid.GetRowCount(), 1);
  ASSERT_EQ(grid.GetColumnCount(), 9);
  EXPECT_STREQ(grid.GetItemText(0, 0).GetString(), "行号");
  EXPECT_STREQ(grid.GetItemText(0, 1).GetString(), "隧道名称");
  EXPECT_FALSE(editor->GetDlgItem(IDC_EDITOR_DELETE)->IsWindowEnabled());
  EXPECT_EQ(PlayOn(editor, {"8011"}), "");
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"行号", "1", "2"}));
  EXPECT_EQ(grid.GetFocusCell().row, 2);
  EXPECT_EQ(grid.GetFocusCell().col, 1);
  EXPECT_TRUE(editor->GetDlgItem(IDC_EDITOR_DELETE)->IsWindowEnabled());
  // Enter and Esc never close the editor.
  EXPECT_EQ(PlayOn(editor, {"{Enter}", "{Esc}"}), "");
  EXPECT_EQ(OpenedTableEditorOf("隧道"), editor);
  // Rows deleted to the last: the delete button is disabled.
  EXPECT_EQ(PlayOn(editor, {"8003[1,1]", "8021", "8003[1,1]", "8021"}), "");
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_FALSE(editor->GetDlgItem(IDC_EDITOR_DELETE)->IsWindowEnabled());
}

TEST_F(TableEditorTest, TheCountOfRowsToAddLiesBetweenOneAndAHundredThousand) {
  Open();
  CTableEditorDlg* editor = Edit("b/输入数据/平面/基线/曲线表", "曲线表");
  ASSERT_NE(editor, nullptr);
  const struct {
    const char* count;
    int rowsAfter;
    const char* message;
  } cases[] = {
      {"0", 1, "Please enter an integer between 1 and 100000."},
      {"100001", 1, "Please enter an integer between 1 and 100000."},
      {"x", 1, "Please enter an integer."},
      {"1", 3, nullptr},
      {"3", 6, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    platform::TranscriptCapture transcript;
    EXPECT_EQ(PlayOn(editor, {std::string("235=") + c.count, "8011"}), "");
    EXPECT_EQ(editor->Grid().GetRowCount(), c.rowsAfter);
    if (c.message) {
      EXPECT_NE(transcript.text().find(c.message), std::string::npos) << transcript.text();
    } else {
      EXPECT_EQ(transcript.text().find("Please enter"), std::string::npos) << transcript.text();
    }
  }
}

TEST_F(TableEditorTest, TheHiddenStationTypeIsKeptThroughASave) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "车站",
                                  {{"甲站", "DK", "100", "DK", "50", "DK", "150", "1", "中间站01", nullptr},
                                   {"乙站", "DK", "900", "DK", "850", "DK", "950", "0", "区段站02", nullptr}}));
  CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/车站", "车站");
  ASSERT_NE(editor, nullptr);
  CStationGridCtrl& grid = editor->Grid();
  ASSERT_EQ(grid.GetColumnCount(), 10);
  EXPECT_STREQ(grid.GetItemText(0, 8).GetString(), "插旗图块名");
  EXPECT_STREQ(grid.GetItemText(1, 8).GetString(), "中间站01");
  // A name changed, a row added after the last and typed, saved.
  EXPECT_EQ(PlayOn(editor, {"8003[1,1]=甲站新", "8003[2,1]", "8011", "8003[3,1]=丙站", "3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 车站名称, 车站类型, 插旗图块名 from 车站 order by ID"),
            (Rows{{"甲站新", "1", "中间站01"}, {"乙站", "0", "区段站02"}, {"丙站", "NULL", "NULL"}}));
}

TEST_F(TableEditorTest, CodedColumnsShowTheirMeaningAndOfferTheirLists) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "小桥涵",
                                  {{"DK", "10", "1-2m", "5", "5", "90", "1", "9", nullptr}}));
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"一号", "DK", "1", "DK", "2", "1", "2", nullptr}}));
  const struct {
    const char* path;
    const char* table;
    int col;
    const char* shown;
    int items;
  } cases[] = {
      {"b/输入数据/插旗/基线/小桥涵", "小桥涵", 7, "1-灌溉", 3},
      {"b/输入数据/插旗/基线/小桥涵", "小桥涵", 8, "", 8},
      {"b/输入数据/插旗/基线/隧道", "隧道", 6, "1-一般隧道", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.table) + " " + std::to_string(c.col));
    CTableEditorDlg* editor = Edit(c.path, c.table);
    ASSERT_NE(editor, nullptr);
    CStationGridCtrl& grid = editor->Grid();
    EXPECT_STREQ(grid.GetItemText(1, c.col).GetString(), c.shown);
    const std::string cell = "8003[1," + std::to_string(c.col) + "]";
    EXPECT_EQ(PlayOn(editor, {cell, cell}), "");
    CComboBox* list = grid.OpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCount(), c.items);
    EXPECT_EQ(PlayOn(editor, {"{Esc}"}), "");
  }
  // A choice typed into the 用途 list is stored as its code; 插旗方式, whose
  // code 9 is outside its list and shows empty, was opened and left with Esc,
  // not edited: it keeps its code.
  CTableEditorDlg* culverts = OpenedTableEditorOf("小桥涵");
  EXPECT_EQ(PlayOn(culverts, {"8003[1,7]=2-排洪", "3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 用途, 插旗方式 from 小桥涵"), (Rows{{"2", "9"}}));
}

TEST_F(TableEditorTest, AnEditOfTheLastCellRepeatsThePrefixInTheAppendedRow) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "断链表", {{"DK", "100", "D1K", "120", "20", nullptr}}));
  CTableEditorDlg* editor = Edit("b/输入数据/平面/基线/断链表", "断链表");
  ASSERT_NE(editor, nullptr);
  CStationGridCtrl& grid = editor->Grid();
  EXPECT_EQ(PlayOn(editor, {"8003[1,6]=甲"}), "");
  ASSERT_EQ(grid.GetRowCount(), 3);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"等号左里程冠号", "DK", "DK"}));
  EXPECT_EQ(Column(grid, 6), (std::vector<std::string>{"附注", "甲", " "}));
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"行号", "1", "2"}));
  EXPECT_EQ(grid.GetFocusCell().row, 2);
  EXPECT_EQ(grid.GetFocusCell().col, 1);
  // Typing on walks right; the next prefix cell is carried down from above.
  EXPECT_EQ(PlayOn(editor, {"8003[2,1]=DK", "8003[2,2]=300"}), "");
  EXPECT_STREQ(grid.GetItemText(2, 3).GetString(), "D1K");
  EXPECT_EQ(grid.GetFocusCell().col, 3);
  EXPECT_EQ(PlayOn(editor, {"3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 等号左里程冠号, 等号左里程数, 等号右里程冠号, 附注 from 断链表 order by ID"),
            (Rows{{"DK", "100", "D1K", "甲"}, {"DK", "300", "D1K", "NULL"}}));
}

TEST_F(TableEditorTest, ClosingAndOpeningAgainGivesANewEditor) {
  Open();
  CTableEditorDlg* first = Edit("b/输入数据/平面/左线/左线断链表", "左线断链表");
  ASSERT_NE(first, nullptr);
  const HWND window = first->GetSafeHwnd();
  EXPECT_EQ(PlayOn(first, {"4"}), "");
  EXPECT_EQ(OpenedTableEditorCount(), 0);
  EXPECT_FALSE(::IsWindow(window));
  CTableEditorDlg* second = Edit("b/输入数据/平面/左线/左线断链表", "左线断链表");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->GetSafeHwnd(), window);
  EXPECT_TRUE(::IsWindow(second->GetSafeHwnd()));
  // The window's own close does the same.
  const HWND secondWindow = second->GetSafeHwnd();
  EXPECT_EQ(PlayOn(second, {"close"}), "");
  EXPECT_EQ(OpenedTableEditorCount(), 0);
  EXPECT_FALSE(::IsWindow(secondWindow));
}

TEST_F(TableEditorTest, AnEditorSavesToTheDatabaseItWasOpenedOn) {
  Open({"a.mdb", "b.mdb"});
  CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(editor, nullptr);
  // Another scheme made current after the editor opened.
  EXPECT_EQ(Play({"206=a/输入数据"}), "");
  EXPECT_EQ(std::string(g_SchemeDatabasePath.GetString()), ProjectWindowsUpper() + "\\data\\a.mdb");
  EXPECT_EQ(PlayOn(editor, {"8011", "8003[1,1]=三号", "3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{"三号"}}));
  EXPECT_EQ(Query("a.mdb", "select count(*) from 隧道"), (Rows{{"0"}}));
}

TEST_F(TableEditorTest, AnotherSchemesTableOpensItsOwnEditor) {
  CTableEditorDlg* first = EditTunnelsOfTwoSchemes();
  ASSERT_NE(first, nullptr);
  const HWND firstWindow = first->GetSafeHwnd();
  EXPECT_STREQ(first->Grid().GetItemText(1, 1).GetString(), "乙隧");
  // The same table of scheme a: b's editor closes, a's opens on a's database.
  CTableEditorDlg* second = Edit("a/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(::IsWindow(firstWindow));
  EXPECT_EQ(OpenedTableEditorCount(), 1);
  EXPECT_EQ(std::string(second->DatabasePath().GetString()), ProjectWindowsUpper() + "\\data\\a.mdb");
  EXPECT_STREQ(second->Grid().GetItemText(1, 1).GetString(), "甲隧");
  // Scheme a's again: the open editor is brought forward.
  EXPECT_EQ(Edit("a/输入数据/插旗/基线/隧道", "隧道"), second);
  EXPECT_TRUE(::IsWindow(second->GetSafeHwnd()));
}

TEST_F(TableEditorTest, ATableThatDidNotLoadCannotBeSaved) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1", "DK", "2", "1", "1", nullptr}}));
  Sqlite("alter table 隧道 rename to 隧道_away");
  CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(editor->GetDlgItem(IDC_EDITOR_SAVE)->IsWindowEnabled());
  Sqlite("alter table 隧道_away rename to 隧道");
  EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{"乙隧"}}));
}

TEST_F(TableEditorTest, TheFlagBlockOfAStationRowShowsInTheCurrentStationEditor) {
  fs::create_directories(m_install / "dwg");
  fs::copy_file(fs::path(RAIL_INSTALL_DIR) / "dwg" / "中间站01.dwg", m_install / "dwg" / "中间站01.dwg");
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "车站",
                                  {{"甲站", "DK", "100", "DK", "50", "DK", "150", "1", "中间站01", nullptr},
                                   {"乙站", "DK", "900", "DK", "850", "DK", "950", "0", "中间站05", nullptr}}));
  CTableEditorDlg* stations = Edit("b/输入数据/插旗/基线/车站", "车站");
  CTableEditorDlg* left = Edit("b/输入数据/插旗/左线/左线绕行段车站", "左线绕行段车站");
  ASSERT_NE(stations, nullptr);
  ASSERT_NE(left, nullptr);
  CDwgThumbnail* preview = nullptr;
  const struct {
    const char* word;
    bool shown;
  } cases[] = {
      {"8003[1,8]", true},   // 中间站01 is there
      {"8003[2,8]", false},  // 中间站05 is not
      {"8003[1,8]", true},
      {"8003[1,1]", false},  // another column
      {"{Right}", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(PlayOn(stations, {c.word}), "");
    EXPECT_EQ(CurrentStationEditor(), stations);
    preview = stations->Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->IsWindowVisible() != FALSE, c.shown);
  }
  EXPECT_EQ(PlayOn(stations, {"8003[1,8]"}), "");
  std::string src = preview->GetSrc().GetString();
  EXPECT_NE(src.find("\\dwg\\中间站01.dwg"), std::string::npos) << src;
  // A choice in the open list of a 插旗图块名 cell shows that block.
  EXPECT_EQ(PlayOn(stations, {"8003[2,8]", "8003[2,8]"}), "");
  CComboBox* list = stations->Grid().OpenList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetCount(), 27);
  // The cell's 中间站05 is selected; 中间站01 is item 10.
  EXPECT_EQ(list->GetCurSel(), list->FindStringExact(-1, "中间站05"));
  EXPECT_FALSE(preview->IsWindowVisible());
  list->SetCurSel(10);
  stations->Grid().SendMessage(WM_COMMAND, MAKEWPARAM(8, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list->GetSafeHwnd()));
  EXPECT_TRUE(preview->IsWindowVisible());
  EXPECT_EQ(PlayOn(stations, {"{Esc}"}), "");
  // A click into the other station grid makes its editor the current one.
  EXPECT_EQ(PlayOn(left, {"8003[0,1]"}), "");
  EXPECT_EQ(CurrentStationEditor(), left);
}

TEST_F(TableEditorTest, AnEditorWithChangesAsksBeforeItCloses) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1", "DK", "2", "1", "1", nullptr}}));
  // How the editor is closed, the answer queued (none: the default), and what follows.
  const struct {
    const char* close;
    const char* answer;
    bool closed;
    const char* name;  // the name in the table after
  } cases[] = {
      {"4", "IDYES", true, "改名隧"},      {"4", "IDNO", true, "乙隧"},        {"4", "IDCANCEL", false, "乙隧"},
      {"close", nullptr, true, "改名隧"},  {"close", "IDNO", true, "乙隧"},    {"close", "IDCANCEL", false, "乙隧"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.close) + " " + (c.answer ? c.answer : "default"));
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    const HWND window = editor->GetSafeHwnd();
    EXPECT_EQ(PlayOn(editor, {"8003[1,1]=改名隧"}), "");
    EXPECT_TRUE(editor->HasChanges());
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer));
    }
    platform::TranscriptCapture transcript;
    EXPECT_EQ(PlayOn(editor, {c.close}), "");
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_NE(transcript.text().find("隧道已修改，是否保存？"), std::string::npos) << transcript.text();
    EXPECT_EQ(::IsWindow(window) == FALSE, c.closed);
    EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{c.name}}));
    if (!c.closed) {
      // Kept with its changes; 否 closes it now.
      EXPECT_EQ(OpenedTableEditorOf("隧道"), editor);
      EXPECT_STREQ(editor->Grid().GetItemText(1, 1).GetString(), "改名隧");
      ASSERT_TRUE(platform::queueAnswerLine("@msg IDNO"));
      EXPECT_TRUE(editor->CloseEditor());
    }
    Sqlite("update 隧道 set 隧道名称 = '乙隧'");
  }
  // Without changes, or after a save: closed at once, nothing asked.
  using Words = std::vector<std::string>;
  for (const Words& words : {Words{}, Words{"8003[1,1]=丙隧", "3"}}) {
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(PlayOn(editor, words), "");
    platform::TranscriptCapture transcript;
    EXPECT_EQ(PlayOn(editor, {"4"}), "");
    EXPECT_EQ(OpenedTableEditorCount(), 0);
    EXPECT_EQ(transcript.text().find("是否保存"), std::string::npos) << transcript.text();
  }
}

TEST_F(TableEditorTest, AnEditorWithChangesAsksBeforeAnotherSchemesTableReplacesIt) {
  CTableEditorDlg* first = EditTunnelsOfTwoSchemes();
  ASSERT_NE(first, nullptr);
  // An editor is told by its window: a new editor may take the old one's
  // address, but window handles are never used twice.
  const HWND firstWindow = first->GetSafeHwnd();
  EXPECT_EQ(PlayOn(first, {"8003[1,1]=改名隧"}), "");
  // 取消: b's editor stays with its change, a's does not open.
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDCANCEL"));
  EXPECT_EQ(Edit("a/输入数据/插旗/基线/隧道", "隧道"), first);
  EXPECT_EQ(platform::pendingAnswers(), 0u);
  EXPECT_EQ(OpenedTableEditorCount(), 1);
  EXPECT_STREQ(first->Grid().GetItemText(1, 1).GetString(), "改名隧");
  EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{"乙隧"}}));
  // 是: b's change saved, then a's editor opens on a's database.
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDYES"));
  CTableEditorDlg* second = Edit("a/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->GetSafeHwnd(), firstWindow);
  EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{"改名隧"}}));
  EXPECT_STREQ(second->Grid().GetItemText(1, 1).GetString(), "甲隧");
}

TEST_F(TableEditorTest, UnloadAsksWhetherToSaveAnEditorWithChanges) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1", "DK", "2", "1", "1", nullptr}}));
  // The answer at unload (none: the default 是) and the name saved.
  const struct {
    const char* answer;
    const char* name;
  } cases[] = {{"IDNO", "乙隧"}, {nullptr, "改名隧"}};
  for (const auto& c : cases) {
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(PlayOn(editor, {"8003[1,1]=改名隧"}), "");
    // The question has no 取消 there: an answer 取消 is not taken.
    ASSERT_TRUE(platform::queueAnswerLine("@msg IDCANCEL"));
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer));
    }
    platform::TranscriptCapture transcript;
    CloseAllTableEditors();
    EXPECT_EQ(platform::pendingAnswerLines(), (std::vector<std::string>{"@msg IDCANCEL"}));
    platform::clearAnswers();
    EXPECT_EQ(OpenedTableEditorCount(), 0);
    EXPECT_NE(transcript.text().find("隧道已修改，是否保存？"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道"), (Rows{{c.name}}));
  }
}

TEST_F(TableEditorTest, ATextThatIsNoNumberStaysInItsCellsEditor) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1.5", "DK", "2", "1", "1", nullptr}}));
  CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
  ASSERT_NE(editor, nullptr);
  CStationGridCtrl& grid = editor->Grid();
  platform::TranscriptCapture transcript;
  EXPECT_EQ(PlayOn(editor, {"8003[1,3]=abc"}), "");
  EXPECT_NE(transcript.text().find("“起点里程数”列只能填数值"), std::string::npos) << transcript.text();
  EXPECT_STREQ(grid.GetItemText(1, 3).GetString(), "1.50000000");
  // The cell's editor is open again with the text; a save ends it, refused again.
  ASSERT_NE(grid.GetEditWindow(), nullptr);
  EXPECT_EQ(PlayOn(editor, {"3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 起点里程数 from 隧道"), (Rows{{"1.5"}}));
  EXPECT_FALSE(editor->HasChanges());
  // Esc gives the cell back; a number is taken and saved.
  EXPECT_EQ(PlayOn(editor, {"{Esc}"}), "");
  EXPECT_EQ(grid.GetEditWindow(), nullptr);
  EXPECT_EQ(PlayOn(editor, {"8003[1,3]=2.25", "3"}), "");
  EXPECT_EQ(Query("b.mdb", "select 起点里程数 from 隧道"), (Rows{{"2.25"}}));
}

// A save that could not write every row (the database refused one) has
// deleted that row's record: the grid holds its only copy, so the editor
// does not close, nor give way to another scheme's editor.
TEST_F(TableEditorTest, ASaveThatLeavesARowUnwrittenKeepsTheEditorOpen) {
  const struct {
    const char* close;  // the words that close ("" : another scheme's editor asked for)
    const char* answer;
  } cases[] = {{"4", "IDYES"}, {"close", nullptr}, {"", "IDYES"}};
  Open({"a.mdb", "b.mdb"});
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.close) + " " + (c.answer ? c.answer : "default"));
    ASSERT_NO_FATAL_FAILURE(TunnelsRefusingABadName("1", "3"));
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    const HWND window = editor->GetSafeHwnd();
    EXPECT_EQ(PlayOn(editor, {"8003[2,1]=坏"}), "");
    if (c.answer) {
      ASSERT_TRUE(platform::queueAnswerLine(std::string("@msg ") + c.answer));
    }
    platform::TranscriptCapture transcript;
    if (*c.close) {
      EXPECT_EQ(PlayOn(editor, {c.close}), "");
    } else {
      EXPECT_EQ(Edit("a/输入数据/插旗/基线/隧道", "隧道"), editor);
    }
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_NE(transcript.text().find("隧道已修改，是否保存？"), std::string::npos) << transcript.text();
    EXPECT_NE(transcript.text().find("以下行不能写入"), std::string::npos) << transcript.text();
    // The rows the database took are saved; the refused one stays in the editor.
    EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道 order by ID"), (Rows{{"乙隧"}}));
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(OpenedTableEditorOf("隧道"), editor);
    EXPECT_EQ(OpenedTableEditorCount(), 1);
    EXPECT_TRUE(editor->HasChanges());
    EXPECT_STREQ(editor->Grid().GetItemText(2, 1).GetString(), "坏");
    // Mended, it saves whole and closes.
    EXPECT_EQ(PlayOn(editor, {"8003[2,1]=丁隧"}), "");
    ASSERT_TRUE(platform::queueAnswerLine("@msg IDYES"));
    EXPECT_TRUE(editor->CloseEditor());
    EXPECT_EQ(Query("b.mdb", "select 隧道名称 from 隧道 order by ID"), (Rows{{"乙隧"}, {"丁隧"}}));
  }
}

// An edit whose text is refused ("不是数值") as the editor closes keeps the
// editor open on it: nothing asked, nothing saved.
TEST_F(TableEditorTest, AnEditRefusedAtTheCloseKeepsTheEditorOpen) {
  Open();
  ASSERT_TRUE(fixtures::FillTable(DataFile("b.mdb"), "隧道", {{"乙隧", "DK", "1.5", "DK", "2", "1", "1", nullptr}}));
  for (const char* close : {"4", "close"}) {
    SCOPED_TRACE(close);
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    const HWND window = editor->GetSafeHwnd();
    EXPECT_EQ(PlayOn(editor, {"8003[1,1]=改名隧", "8003[1,3]=1,5"}), "");
    ASSERT_NE(editor->Grid().GetEditWindow(), nullptr);
    platform::TranscriptCapture transcript;
    EXPECT_EQ(PlayOn(editor, {close}), "");
    EXPECT_NE(transcript.text().find("“起点里程数”列只能填数值，“1,5”不是数值"), std::string::npos)
        << transcript.text();
    EXPECT_EQ(transcript.text().find("是否保存"), std::string::npos) << transcript.text();
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(OpenedTableEditorOf("隧道"), editor);
    EXPECT_STREQ(editor->Grid().GetItemText(1, 1).GetString(), "改名隧");
    EXPECT_EQ(Query("b.mdb", "select 隧道名称, 起点里程数 from 隧道"), (Rows{{"乙隧", "1.5"}}));
    // Esc gives the cell back; the close then asks, and 否 drops the rename.
    EXPECT_EQ(PlayOn(editor, {"{Esc}"}), "");
    ASSERT_TRUE(platform::queueAnswerLine("@msg IDNO"));
    EXPECT_EQ(PlayOn(editor, {close}), "");
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_FALSE(::IsWindow(window));
  }
}

// At unload the editor cannot stay: an edit refused there is dropped (as Esc
// drops it) so that 是 saves the valid edits; a save that still fails is
// told in the transcript.
TEST_F(TableEditorTest, UnloadSavesTheValidEditsAndTellsASaveThatFailed) {
  Open();
  using Words = std::vector<std::string>;
  const struct {
    const char* what;
    Words words;           // played on the editor after 隧道名称 is renamed
    const char* pasted;    // pasted into 起点里程数 (null: nothing)
    bool refusedRow;       // a second row the database refuses
    Rows table;            // 隧道名称, 起点里程数 after
    bool toldNotSaved;
  } cases[] = {
      {"an open edit refused", Words{"8003[1,3]=1,5"}, nullptr, false, Rows{{"改名隧", "1.5"}, {"丙隧", "3.5"}}, false},
      {"a pasted text that is no number", Words{}, "abc", false, Rows{{"乙隧", "1.5"}, {"丙隧", "3.5"}}, true},
      {"a row the database refuses", Words{}, nullptr, true, Rows{{"改名隧", "1.5"}}, true},
      {"nothing refused", Words{}, nullptr, false, Rows{{"改名隧", "1.5"}, {"丙隧", "3.5"}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_FATAL_FAILURE(TunnelsRefusingABadName("1.5", "3.5"));
    CTableEditorDlg* editor = Edit("b/输入数据/插旗/基线/隧道", "隧道");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(PlayOn(editor, {"8003[1,1]=改名隧"}), "");
    if (c.refusedRow) {
      EXPECT_EQ(PlayOn(editor, {"8003[2,1]=坏"}), "");
    }
    if (c.pasted) {
      ASSERT_TRUE(platform::setClipboardText(c.pasted));
      editor->Grid().SetFocusCell(1, 3);
      editor->Grid().OnEditPaste();
    }
    if (!c.words.empty()) {
      EXPECT_EQ(PlayOn(editor, c.words), "");
    }
    platform::TranscriptCapture transcript;
    CloseAllTableEditors();  // the question's default: 是
    platform::pumpMessages();
    EXPECT_EQ(OpenedTableEditorCount(), 0);
    EXPECT_NE(transcript.text().find("隧道已修改，是否保存？"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("b.mdb", "select 隧道名称, 起点里程数 from 隧道 order by ID"), c.table);
    EXPECT_EQ(transcript.text().find("编辑器对表 隧道 的修改没有保存") != std::string::npos, c.toldNotSaved)
        << transcript.text();
  }
}

}  // namespace
}  // namespace navigatortest
