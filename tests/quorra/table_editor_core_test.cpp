// The table editors' shared core: coded columns, the strict reading of a
// cell's number, the editor grid (rows, the hidden column, the prefix carry
// and appended rows, the lists, the flag-block preview, the refusal of a
// text that is no number in a numeric column, what counts as a change) and
// the load and save of a table (values not edited saved as loaded, texts
// that are no numbers never written). Both builds' rules are checked here,
// by the build parameter the core takes.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "arx/activex.h"
#include "controls/CellNumber.h"
#include "controls/TableCodes.h"
#include "controls/TableGridCtrl.h"
#include "controls/TableStore.h"
#include "crt/paths.h"
#include "fixtures/scheme_db.h"
#include "project/SchemeValues.h"
#include "win/textmetrics.h"
#include "win/transcript.h"
#include "win/winhost.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

// How many message boxes a transcript shows (each closes "... by default]").
int MessageBoxes(const std::string& text) {
  int count = 0;
  for (size_t at = text.find("by default]"); at != std::string::npos; at = text.find("by default]", at + 1)) ++count;
  return count;
}

// ---- coded columns -------------------------------------------------------------------

struct DisplayCase {
  EditorBuild build;
  const char* table;
  const char* field;
  const char* value;
  bool coded;
  const char* shown;
};

TEST(TableCodes, ShownTextOfCodedFields) {
  const DisplayCase cases[] = {
      {EditorBuild::Navigator, "隧道", "插旗方式", "1", true, "1-一般隧道"},
      {EditorBuild::Navigator, "隧道", "插旗方式", "0", true, "0-明洞"},
      {EditorBuild::Navigator, "隧道", "插旗方式", "9", true, "9"},
      {EditorBuild::Plan, "左线绕行段隧道", "插旗方式", "1", true, "1-一般隧道"},
      {EditorBuild::Navigator, "小桥涵", "插旗方式", "9", true, ""},
      {EditorBuild::Navigator, "小桥涵", "插旗方式", "7", true, "7-自动化平交"},
      {EditorBuild::Plan, "右线绕行段小桥涵", "插旗方式", "3", true, "3-无看守平交"},
      {EditorBuild::Navigator, "小桥涵", "用途", "1", true, "1-灌溉"},
      {EditorBuild::Navigator, "小桥涵", "用途", "3", true, ""},
      {EditorBuild::Plan, "小桥涵", "用途", "1", false, ""},
      {EditorBuild::Navigator, "车站", "插旗方式", "1", false, ""},
      {EditorBuild::Navigator, "隧道", "线数", "1", false, ""},
  };
  for (const DisplayCase& c : cases) {
    CString shown;
    EXPECT_EQ(CodedFieldText(c.build, c.table, c.field, c.value, shown), c.coded) << c.table << c.field << c.value;
    if (c.coded) {
      EXPECT_STREQ(shown.GetString(), c.shown) << c.table << c.field << c.value;
    }
  }
}

struct StoredCase {
  EditorBuild build;
  const char* table;
  const char* cell;
  const char* stored;
};

TEST(TableCodes, StoredTextOfCells) {
  const StoredCase cases[] = {
      {EditorBuild::Navigator, "隧道", "1-一般隧道", "1"},     {EditorBuild::Plan, "隧道", "0-明洞", "0"},
      {EditorBuild::Navigator, "隧道", "0-普通", "0-普通"},    {EditorBuild::Navigator, "小桥涵", "3-无看守平交", "3"},
      {EditorBuild::Navigator, "小桥涵", "2-排洪", "2"},       {EditorBuild::Plan, "小桥涵", "2-排洪", "2-排洪"},
      {EditorBuild::Navigator, "车站", "1-一般隧道", "1-一般隧道"}, {EditorBuild::Navigator, "小桥涵", "", ""},
      {EditorBuild::Navigator, "小桥涵", "1-普通", "1-普通"},
  };
  for (const StoredCase& c : cases)
    EXPECT_STREQ(StoredCellText(c.build, c.table, c.cell).GetString(), c.stored) << c.table << c.cell;
}

TEST(TableCodes, HiddenStationColumns) {
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Navigator, "车站"), 8);
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Navigator, "左线绕行段车站"), 9);
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Plan, "车站"), 4);
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Plan, "右线绕行段车站"), 5);
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Navigator, "隧道"), -1);
  EXPECT_EQ(HiddenStationColumn(EditorBuild::Navigator, "车站x"), -1);
}

struct ListCase {
  EditorBuild build;
  const char* header;
  const char* left;
  int count;  // -1: no list
  const char* first;
  const char* last;
  DWORD style;
};

TEST(TableCodes, ListsByHeader) {
  const ListCase cases[] = {
      {EditorBuild::Navigator, "插旗方式", "用途", 8, "0-普通", "7-自动化平交", CBS_DROPDOWN},
      {EditorBuild::Navigator, "插旗方式", "终点里程数", 2, "0-明洞", "1-一般隧道", CBS_DROPDOWN},
      {EditorBuild::Plan, "插旗方式", "用途", 8, "0-普通", "7-自动化平交", CBS_SORT | CBS_DROPDOWNLIST},
      {EditorBuild::Plan, "插旗方式", "终点里程数", 2, "1-一般隧道", "0-明洞", CBS_SORT | CBS_DROPDOWNLIST},
      {EditorBuild::Navigator, "插旗方式", "附注", -1, "", "", 0},
      {EditorBuild::Navigator, "用途", "交角", 3, "0-交通", "2-排洪", CBS_DROPDOWN},
      {EditorBuild::Plan, "用途", "交角", -1, "", "", 0},
      {EditorBuild::Navigator, "插旗图块名", "车站类型", 27, "乘降所01", "中间站17", CBS_DROPDOWN},
      {EditorBuild::Plan, "插旗图块名", "车站类型", 27, "乘降所01", "中间站17", CBS_SIMPLE},
      {EditorBuild::Navigator, "车站类型", "终点里程数", 2, "0", "1", CBS_DROPDOWN},
      {EditorBuild::Plan, "车站类型", "终点里程数", 2, "1", "0", CBS_DROPDOWNLIST},
      {EditorBuild::Navigator, "填料类型", "", 2, "0-土", "1-石", CBS_DROPDOWN},
      {EditorBuild::Navigator, "附注", "插旗方式", -1, "", "", 0},
  };
  for (const ListCase& c : cases) {
    CStringArray items;
    DWORD style = 0;
    const bool listed = CodeListForHeader(c.build, c.header, c.left, items, style);
    ASSERT_EQ(listed, c.count >= 0) << c.header << "/" << c.left;
    if (!listed) continue;
    ASSERT_EQ(items.GetSize(), c.count) << c.header;
    EXPECT_STREQ(items[0].GetString(), c.first) << c.header;
    EXPECT_STREQ(items[c.count - 1].GetString(), c.last) << c.header;
    EXPECT_EQ(style, c.style) << c.header;
  }
  EXPECT_STREQ(FlagBlockNames()[10].GetString(), "中间站01");
  EXPECT_STREQ(FlagBlockNames()[9].GetString(), "线路所02");
}

// ---- a cell's number ---------------------------------------------------------------------

TEST(CellNumber, OnlyAWholeFiniteDecimalNumberReads) {
  const struct {
    const char* text;
    bool reads;
    double value;
  } cases[] = {
      {"3385364.60849", true, 3385364.60849},
      {"-12", true, -12.0},
      {"+0.5", true, 0.5},
      {".5", true, 0.5},
      {"5.", true, 5.0},
      {"1.7683751e-06", true, 1.7683751e-06},
      {"2E3", true, 2000.0},
      {" \t12.5 ", true, 12.5},
      {"abc", false, 0},
      {"nan", false, 0},
      {"NaN", false, 0},
      {"inf", false, 0},
      {"-infinity", false, 0},
      {"1e999", false, 0},
      {"12abc", false, 0},
      {"1,5", false, 0},
      {"0x10", false, 0},
      {".", false, 0},
      {"-", false, 0},
      {"1e", false, 0},
      {"1e+", false, 0},
      {"1.2.3", false, 0},
      {"1 2", false, 0},
      {"--1", false, 0},
      {"１２", false, 0},  // full-width digits
      {"", false, 0},
      {"  ", false, 0},
  };
  for (const auto& c : cases) {
    double value = -1.0;
    EXPECT_EQ(ReadsAsCellNumber(c.text, value), c.reads) << "[" << c.text << "]";
    EXPECT_DOUBLE_EQ(value, c.value) << "[" << c.text << "]";
  }
}

// A number's text is bounded: no number a person writes reaches the bound.
TEST(CellNumber, ATextLongerThanTheBoundIsNoNumber) {
  ASSERT_EQ(kMostCellNumberChars, 400);
  const struct {
    std::string text;
    bool reads;
    double value;
  } cases[] = {
      {"1.2345678901234567890123456789e+30", true, 1.2345678901234567890123456789e+30},
      {"1." + std::string(398, '0'), true, 1.0},           // 400 characters
      {std::string(399, '0') + "7", true, 7.0},           // 400 characters
      {std::string(400, '0') + "7", false, 0},            // 401
      {"  " + std::string(399, '0') + "7\t", true, 7.0},  // blanks around do not count
      {std::string(100000, '1'), false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size());
    double value = -1.0;
    EXPECT_EQ(ReadsAsCellNumber(c.text.c_str(), value), c.reads);
    EXPECT_DOUBLE_EQ(value, c.value);
  }
}

// ---- the grid ----------------------------------------------------------------------------

// A grid with a preview and a flag-block folder of its own.
class PreviewGrid : public CTableGridCtrl {
 public:
  using CTableGridCtrl::CTableGridCtrl;
  CWnd* FlagBlockPreview() override { return preview; }
  CString FlagBlockFolder() override { return folder; }
  CWnd* preview = nullptr;
  CString folder;
};

class TableGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "grid parent", WS_POPUP | WS_VISIBLE, 0, 0, 700, 400, nullptr, nullptr));
  }
  void TearDown() override {
    grid.reset();
    if (parent.GetSafeHwnd()) parent.DestroyWindow();
    platform::resetWindowing();
  }
  // A grid laid out with `headers` (after the row-number column) and data
  // rows of texts.
  PreviewGrid& MakeGrid(EditorBuild build, const std::vector<const char*>& headers, const Rows& rows,
                        const char* table = "断链表") {
    grid = std::make_unique<PreviewGrid>(build);
    EXPECT_TRUE(grid->Create(CRect(0, 0, 680, 380), &parent, 100, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    grid->SetTableName(table);
    grid->LayOutTable(static_cast<int>(rows.size()), static_cast<int>(headers.size()) + 1);
    for (size_t c = 0; c < headers.size(); ++c) grid->SetItemText(0, static_cast<int>(c) + 1, headers[c]);
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].size(); ++c)
        grid->SetItemText(static_cast<int>(r) + 1, static_cast<int>(c) + 1, rows[r][c].c_str());
    grid->NumberRowsAsLoaded();
    return *grid;
  }
  // Every row's texts, the row-number column first.
  Rows Texts() const {
    Rows rows;
    for (int r = 0; r < grid->GetRowCount(); ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < grid->GetColumnCount(); ++c) row.push_back(grid->GetItemText(r, c).GetString());
      rows.push_back(row);
    }
    return rows;
  }
  void ExpectFocus(int row, int col) const {
    EXPECT_EQ(grid->GetFocusCell().row, row);
    EXPECT_EQ(grid->GetFocusCell().col, col);
  }

  platform::FixedTextMetricsScope metrics;
  CWnd parent;
  std::unique_ptr<PreviewGrid> grid;
};

TEST_F(TableGridTest, OneRowAddedToAnEmptyTableGivesRowsOneAndTwo) {
  // The navigator's rule: the empty grid first gets one row, then the
  // insertion at that row adds the second.
  MakeGrid(EditorBuild::Navigator, {"隧道名称", "起点里程冠号"}, {});
  ASSERT_TRUE(grid->AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow));
  EXPECT_EQ(Texts(), (Rows{{"行号", "隧道名称", "起点里程冠号"}, {"1", "", ""}, {"2", "", ""}}));
  ExpectFocus(2, 1);
}

TEST_F(TableGridTest, RowsAddedToAHeaderOnlyGridGoBelowTheHeader) {
  MakeGrid(EditorBuild::Plan, {"桥梁名称", "中心里程冠号"}, {});
  ASSERT_TRUE(grid->AddRows(3, CTableGridCtrl::HeaderOnlyAdd::BelowHeader));
  EXPECT_EQ(Texts(), (Rows{{"行号", "桥梁名称", "中心里程冠号"}, {"1", "", ""}, {"2", "", ""}, {"3", "", ""}}));
  ExpectFocus(1, 1);
}

struct AddCase {
  const char* name;
  int focusRow;
  int count;
  Rows expected;  // column 1 of every row, the header first
  int focusAfter;
};

TEST_F(TableGridTest, RowsAddedAtTheFocusRow) {
  const AddCase cases[] = {
      // One row: the focus row's content stays, an empty row follows it.
      {"one row", 2, 1, {{"桩号"}, {"a"}, {"b"}, {""}, {"c"}}, 3},
      // Two rows: the rows go in before the focus row, whose content stays.
      {"two rows", 2, 2, {{"桩号"}, {"a"}, {""}, {""}, {"b"}, {"c"}}, 3},
      {"at the last row", 3, 1, {{"桩号"}, {"a"}, {"b"}, {"c"}, {""}}, 4},
  };
  for (const AddCase& c : cases) {
    MakeGrid(EditorBuild::Navigator, {"桩号"}, {{"a"}, {"b"}, {"c"}});
    grid->SetFocusCell(c.focusRow, 1);
    ASSERT_TRUE(grid->AddRows(c.count, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow)) << c.name;
    Rows texts = Texts();
    ASSERT_EQ(texts.size(), c.expected.size()) << c.name;
    for (size_t r = 0; r < texts.size(); ++r) {
      EXPECT_EQ(texts[r][1], c.expected[r][0]) << c.name << " row " << r;
      if (r > 0) {
        EXPECT_EQ(std::atoi(texts[r][0].c_str()), static_cast<int>(r)) << c.name << " number of row " << r;
      }
    }
    ExpectFocus(c.focusAfter, 1);
  }
  // Without a focus cell nothing is added.
  MakeGrid(EditorBuild::Navigator, {"桩号"}, {{"a"}});
  EXPECT_FALSE(grid->AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow));
  EXPECT_EQ(grid->GetRowCount(), 2);
}

TEST_F(TableGridTest, DeletedRowsAreRenumberedAndTheHeaderStays) {
  MakeGrid(EditorBuild::Navigator, {"桩号"}, {{"a"}, {"b"}, {"c"}, {"d"}});
  grid->SetSelectedRange(2, 1, 3, 1);
  EXPECT_TRUE(grid->DeleteSelectedRows());
  EXPECT_EQ(Texts(), (Rows{{"行号", "桩号"}, {"1\n", "a"}, {"2", "d"}}));
  ExpectFocus(2, 1);
  // The last rows deleted: the row now last is selected.
  grid->SetSelectedRange(2, 1, 2, 1);
  EXPECT_TRUE(grid->DeleteSelectedRows());
  ExpectFocus(1, 1);
  // A selection reaching into the header deletes the data rows only.
  grid->SetSelectedRange(0, 1, 1, 1);
  EXPECT_FALSE(grid->DeleteSelectedRows());
  EXPECT_EQ(Texts(), (Rows{{"行号", "桩号"}}));
}

TEST_F(TableGridTest, HiddenValuesStayWithTheirRows) {
  MakeGrid(EditorBuild::Navigator, {"名称", "类型", "附注"}, {{"a", "0", "x"}, {"b", "1", "y"}, {"c", "2", "z"}},
           "车站");
  grid->HideColumnKeepingValues(2);
  EXPECT_EQ(grid->GetColumnCount(), 3);
  EXPECT_EQ(grid->HiddenColumn(), 2);
  EXPECT_EQ(grid->FieldOfColumn(1), 1);
  EXPECT_EQ(grid->FieldOfColumn(2), 3);
  // A row added before b: b and c keep their values, the new row has none.
  grid->SetFocusCell(1, 1);
  grid->AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
  EXPECT_STREQ(grid->GetItemText(1, 1).GetString(), "a");
  EXPECT_STREQ(grid->HiddenValue(1).GetString(), "0");
  EXPECT_STREQ(grid->HiddenValue(2).GetString(), "");
  EXPECT_STREQ(grid->HiddenValue(3).GetString(), "1");
  EXPECT_STREQ(grid->HiddenValue(4).GetString(), "2");
  grid->SetSelectedRange(1, 1, 1, 2);
  grid->DeleteSelectedRows();
  EXPECT_STREQ(grid->GetItemText(2, 1).GetString(), "b");
  EXPECT_STREQ(grid->HiddenValue(2).GetString(), "1");
  EXPECT_STREQ(grid->HiddenValue(3).GetString(), "2");
  EXPECT_STREQ(grid->GetItemText(3, 1).GetString(), "c");
  // Outside the grid, and a column that is not there: nothing.
  EXPECT_STREQ(grid->HiddenValue(9).GetString(), "");
  grid->HideColumnKeepingValues(7);
  EXPECT_EQ(grid->HiddenColumn(), 2);
}

TEST_F(TableGridTest, AnEditOfTheLastCellOfABreakTableAppendsARowWithThePrefix) {
  MakeGrid(EditorBuild::Navigator, {"等号左里程冠号", "等号左里程数", "等号右里程冠号", "等号右里程数", "断链长度", "附注"},
           {{"DK", "100", "DK", "120", "20", "a"}, {"D1K", "200", "DK", "210", "10", "b"}});
  grid->AdvanceAfterEdit(2, 6);
  EXPECT_EQ(Texts(), (Rows{{"行号", "等号左里程冠号", "等号左里程数", "等号右里程冠号", "等号右里程数", "断链长度", "附注"},
                           {"1\n", "DK", "100", "DK", "120", "20", "a"},
                           {"2", "D1K", "200", "DK", "210", "10", "b"},
                           {"3", "D1K", " ", " ", " ", " ", " "}}));
  ExpectFocus(3, 1);
}

TEST_F(TableGridTest, ThePrefixIsCarriedDownAfterAnEdit) {
  MakeGrid(EditorBuild::Navigator, {"隧道名称", "起点里程冠号", "起点里程数"},
           {{"甲", "DK", "10"}, {"乙", "", ""}, {"丙", "CK", ""}});
  // Row 2: the empty prefix after the edited name takes the one above.
  grid->AdvanceAfterEdit(2, 1);
  EXPECT_STREQ(grid->GetItemText(2, 2).GetString(), "DK");
  ExpectFocus(2, 2);
  // A filled prefix is kept.
  grid->AdvanceAfterEdit(3, 1);
  EXPECT_STREQ(grid->GetItemText(3, 2).GetString(), "CK");
  // Row 1 takes nothing from the header.
  grid->SetItemText(1, 2, "");
  grid->AdvanceAfterEdit(1, 1);
  EXPECT_STREQ(grid->GetItemText(1, 2).GetString(), "");
  // The last column of a row that is not the last: the next row's first cell.
  grid->AdvanceAfterEdit(1, 3);
  ExpectFocus(2, 1);
}

TEST_F(TableGridTest, EnterInTheLastCellOfThePlanGridAppendsAnEmptyRow) {
  const struct {
    const char* firstHeader;
    const char* kept;
  } cases[] = {{"等号左里程冠号", "D1K"}, {"交点号", ""}, {"起点里程冠号", ""}};
  for (const auto& c : cases) {
    MakeGrid(EditorBuild::Plan, {c.firstHeader, "附注"}, {{"DK", "a"}, {"D1K", "b"}});
    grid->SetFocusCell(2, 2);
    EXPECT_TRUE(grid->AdvanceOnEnter());
    ASSERT_EQ(grid->GetRowCount(), 4) << c.firstHeader;
    EXPECT_STREQ(grid->GetItemText(2, 1).GetString(), "D1K");
    EXPECT_STREQ(grid->GetItemText(2, 2).GetString(), "b");
    EXPECT_STREQ(grid->GetItemText(3, 0).GetString(), "3");
    EXPECT_STREQ(grid->GetItemText(3, 1).GetString(), c.kept) << c.firstHeader;
    EXPECT_STREQ(grid->GetItemText(3, 2).GetString(), "");
    ExpectFocus(3, 1);
  }
  // Enter elsewhere: one cell right, the empty prefix taking the one above.
  MakeGrid(EditorBuild::Plan, {"桥梁名称", "中心里程冠号"}, {{"a", "DK"}, {"b", ""}});
  grid->SetFocusCell(2, 1);
  EXPECT_TRUE(grid->AdvanceOnEnter());
  EXPECT_STREQ(grid->GetItemText(2, 2).GetString(), "DK");
  ExpectFocus(2, 2);
}

TEST_F(TableGridTest, KeysWalkTheCells) {
  MakeGrid(EditorBuild::Navigator, {"a", "b", "c"}, {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
  const struct {
    int row, col;
    UINT key;
    int toRow, toCol;
  } cases[] = {
      {1, 3, VK_TAB, 2, 1}, {3, 3, VK_TAB, 3, 3}, {2, 2, VK_HOME, 1, 2},   {2, 2, VK_END, 3, 2},
      {2, 2, VK_UP, 1, 2},  {2, 2, VK_LEFT, 2, 1}, {1, 1, VK_LEFT, 1, 1}, {3, 3, VK_DOWN, 3, 3},
  };
  for (const auto& c : cases) {
    grid->SetFocusCell(c.row, c.col);
    grid->SendMessage(WM_KEYDOWN, c.key, 0);
    EXPECT_EQ(grid->GetFocusCell().row, c.toRow) << c.key << " from " << c.row << "," << c.col;
    EXPECT_EQ(grid->GetFocusCell().col, c.toCol) << c.key << " from " << c.row << "," << c.col;
  }
  grid->SetFocusCell(2, 2);
  grid->SendMessage(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_STREQ(grid->GetItemText(2, 2).GetString(), "");
  EXPECT_TRUE(grid->GetModified(2, 2));
}

TEST_F(TableGridTest, TheListSelectsTheFirstItemBeginningWithTheCellText) {
  CStringArray items;
  for (const char* s : {"0-普通", "1-上立交", "Abc", "abd"}) items.Add(s);
  MakeGrid(EditorBuild::Navigator, {"a"}, {});
  const struct {
    const char* text;
    int navigator, plan;
  } cases[] = {{"1", 1, -1}, {"", 0, -1}, {"AB", 2, -1}, {"abd", 3, 3}, {"x", -1, -1}, {"1-上立交", 1, 1}};
  for (const auto& c : cases) EXPECT_EQ(grid->InitialListItem(items, c.text), c.navigator) << c.text;
  MakeGrid(EditorBuild::Plan, {"a"}, {});
  for (const auto& c : cases) EXPECT_EQ(grid->InitialListItem(items, c.text), c.plan) << c.text;
}

TEST_F(TableGridTest, ADropDownListKeepsACodeItDoesNotHold) {
  // The plan's tunnel 插旗方式 list has no edit field: a code outside it
  // cannot be shown, and ending the edit without a choice keeps it.
  const struct {
    const char* cell;
    const char* chosen;  // null: no choice made
    const char* after;
  } cases[] = {
      {"9", nullptr, "9"},
      {"1-一般隧道", nullptr, "1-一般隧道"},
      {"9", "0-明洞", "0-明洞"},
      {"", nullptr, ""},
  };
  for (const auto& c : cases) {
    MakeGrid(EditorBuild::Plan, {"隧道名称", "终点里程数", "插旗方式"}, {{"甲", "100", c.cell}}, "隧道");
    grid->SetFocusCell(1, 3);
    grid->OnEditCell(1, 3, VK_LBUTTON);
    CComboBox* list = grid->OpenList();
    ASSERT_NE(list, nullptr) << c.cell;
    if (c.chosen) list->SetCurSel(list->FindStringExact(-1, c.chosen));
    grid->EndEditing();
    EXPECT_STREQ(grid->GetItemText(1, 3).GetString(), c.after) << c.cell;
  }
}

TEST_F(TableGridTest, TheFlagBlockShowsWhenItsDrawingIsThere) {
  const fs::path folder = fs::path(RAIL_TEST_TMPDIR) / ("flagblocks_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "dwg");
  std::ofstream(folder / "dwg" / "中间站01.dwg") << "0\nEOF\n";
  CDwgThumbnail preview;
  ASSERT_TRUE(preview.CreateControl(platform::drawingPreviewClassId(), "", WS_CHILD, CRect(0, 0, 60, 60), &parent, 230));
  MakeGrid(EditorBuild::Navigator, {"车站名称", "插旗图块名", "附注"},
           {{"甲", "中间站01", ""}, {"乙", "中间站02", ""}, {"丙", "..\\中间站01", ""}}, "车站");
  grid->preview = &preview;
  grid->folder = platform::toWindowsPath(folder.string()).c_str();
  const struct {
    int row, col;
    bool shown;
  } cases[] = {{1, 2, true}, {2, 2, false}, {1, 2, true}, {1, 3, false}, {1, 2, true}, {3, 2, false}};
  for (const auto& c : cases) {
    grid->SetFocusCell(c.row, c.col);
    grid->CheckFlagBlockCell();
    EXPECT_EQ(preview.IsWindowVisible() != FALSE, c.shown) << c.row << "," << c.col;
  }
  grid->SetFocusCell(1, 2);
  grid->CheckFlagBlockCell();
  EXPECT_EQ(std::string(preview.GetSrc().GetString()), platform::toWindowsPath(folder.string()) + "\\dwg\\中间站01.dwg");
  // Another table than a station table shows nothing.
  grid->SetTableName("隧道");
  preview.ShowWindow(SW_HIDE);
  grid->CheckFlagBlockCell();
  EXPECT_FALSE(preview.IsWindowVisible());
  preview.DestroyWindow();
  fs::remove_all(folder);
}

TEST_F(TableGridTest, ATextThatIsNoNumberIsRefusedWhenItsEditEnds) {
  // Column 2 holds numbers (field 2), the others text.
  const struct {
    const char* typed;
    bool taken;
  } cases[] = {
      {"abc", false},  {"12abc", false}, {"1,5", false}, {"0x10", false}, {"nan", false},
      {"inf", false},  {"1e999", false}, {".", false},   {"１２", false},
      {"-7.25", true}, {" 12 ", true},   {"", true},     {"1e3", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    MakeGrid(EditorBuild::Navigator, {"等号左里程冠号", "等号左里程数", "附注"}, {{"DK", "100.5", "a"}});
    grid->SetNumericFields({true, false, true, false});
    platform::TranscriptCapture transcript;
    grid->SetFocusCell(1, 2);
    grid->OnEditCell(1, 2, VK_LBUTTON);
    CWnd* editor = grid->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    editor->SetWindowText(c.typed);
    EXPECT_EQ(grid->FinishEditing(), c.taken);
    const bool named = transcript.text().find("“等号左里程数”列只能填数值") != std::string::npos;
    EXPECT_EQ(named, !c.taken) << transcript.text();
    if (c.taken) {
      EXPECT_STREQ(grid->GetItemText(1, 2).GetString(), c.typed);
      EXPECT_TRUE(grid->HasChanges());
      continue;
    }
    // The cell keeps its value; its editor opens again with the text refused.
    EXPECT_STREQ(grid->GetItemText(1, 2).GetString(), "100.5");
    EXPECT_FALSE(grid->HasChanges());
    platform::pumpMessages();
    editor = grid->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    CString shown;
    editor->GetWindowText(shown);
    EXPECT_STREQ(shown.GetString(), c.typed);
    ExpectFocus(1, 2);
    // Esc there gives the cell back as it was.
    editor->SendMessage(WM_CHAR, VK_ESCAPE, 0);
    platform::pumpMessages();
    EXPECT_EQ(grid->GetEditWindow(), nullptr);
    EXPECT_STREQ(grid->GetItemText(1, 2).GetString(), "100.5");
    EXPECT_TRUE(grid->FinishEditing());
  }
  // A text column takes any text.
  MakeGrid(EditorBuild::Navigator, {"等号左里程冠号", "等号左里程数", "附注"}, {{"DK", "100.5", "a"}});
  grid->SetNumericFields({true, false, true, false});
  grid->SetFocusCell(1, 3);
  grid->OnEditCell(1, 3, VK_LBUTTON);
  ASSERT_NE(grid->GetEditWindow(), nullptr);
  grid->GetEditWindow()->SetWindowText("abc");
  EXPECT_TRUE(grid->FinishEditing());
  EXPECT_STREQ(grid->GetItemText(1, 3).GetString(), "abc");
}

// An edit that ends with the cell's text as it was changes nothing and is
// taken, even where the text is no number (stored so by another program).
TEST_F(TableGridTest, AnEditEndedWithTheTextUnchangedIsTaken) {
  const struct {
    const char* stored;
    const char* ended;
    bool taken;
    const char* cell;
  } cases[] = {
      {"abc", "abc", true, "abc"},       {"1,5", "1,5", true, "1,5"},  {"abc", "abd", false, "abc"},
      {"abc", "7.5", true, "7.5"},       {"100.5", "100.5", true, "100.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " -> " + c.ended);
    // A column after the edited one: the navigator's walk moves there (the
    // last cell's edit would append a row).
    MakeGrid(EditorBuild::Navigator, {"等号左里程冠号", "等号左里程数", "附注"}, {{"DK", c.stored, "a"}});
    grid->SetNumericFields({true, false, true, false});
    grid->ClearChanges();
    platform::TranscriptCapture transcript;
    grid->SetFocusCell(1, 2);
    grid->OnEditCell(1, 2, VK_LBUTTON);
    ASSERT_NE(grid->GetEditWindow(), nullptr);
    grid->GetEditWindow()->SetWindowText(c.ended);
    EXPECT_EQ(grid->FinishEditing(), c.taken);
    EXPECT_EQ(transcript.text().find("只能填数值") == std::string::npos, c.taken) << transcript.text();
    EXPECT_STREQ(grid->GetItemText(1, 2).GetString(), c.cell);
    EXPECT_EQ(grid->HasChanges(), std::string(c.stored) != c.cell);
    if (!c.taken) grid->CancelRefusedEdit();
    platform::pumpMessages();
  }
}

TEST_F(TableGridTest, EditsAndRowsAddedOrDeletedAreChanges) {
  using Action = void (*)(PreviewGrid&);
  const struct {
    const char* name;
    Action action;
    bool changes;
  } cases[] = {
      {"nothing", [](PreviewGrid&) {}, false},
      {"an edit to the same text", [](PreviewGrid& g) { g.OnEndEditCell(1, 1, "a"); }, false},
      {"an edit", [](PreviewGrid& g) { g.OnEndEditCell(1, 1, "x"); }, true},
      {"a cell emptied by Delete",
       [](PreviewGrid& g) {
         g.SetFocusCell(1, 1);
         g.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
       },
       true},
      {"a row added",
       [](PreviewGrid& g) {
         g.SetFocusCell(1, 1);
         g.AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
       },
       true},
      {"a row deleted",
       [](PreviewGrid& g) {
         g.SetSelectedRange(1, 1, 1, 1);
         g.DeleteSelectedRows();
       },
       true},
      {"a row appended after the last cell", [](PreviewGrid& g) { g.AdvanceAfterEdit(2, 2); }, true},
      {"changes cleared",
       [](PreviewGrid& g) {
         g.OnEndEditCell(1, 1, "x");
         g.ClearChanges();
       },
       false},
      {"an empty cell given Delete",
       [](PreviewGrid& g) {
         g.SetFocusCell(1, 2);
         g.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
       },
       false},
      {"empty cells cut",
       [](PreviewGrid& g) {
         g.SetSelectedRange(1, 2, 2, 2);
         g.CutSelectedText();
       },
       false},
      {"a cell with text cut among empty ones",
       [](PreviewGrid& g) {
         g.SetSelectedRange(1, 1, 1, 2);
         g.CutSelectedText();
       },
       true},
  };
  for (const auto& c : cases) {
    MakeGrid(EditorBuild::Navigator, {"桩号", "附注"}, {{"a", ""}, {"b", ""}});
    grid->ClearChanges();
    c.action(*grid);
    EXPECT_EQ(grid->HasChanges(), c.changes) << c.name;
  }
}

// ---- load and save ------------------------------------------------------------------------

class TableStoreTest : public TableGridTest {
 protected:
  void SetUp() override {
    TableGridTest::SetUp();
    m_dir = fixtures::MakeTempFolder("table_store");
    m_db = m_dir + "/方案1.mdb";
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db));
  }
  void TearDown() override {
    TableGridTest::TearDown();
    fixtures::RemoveFolder(m_dir);
  }
  CTableStore Store(const char* table) const {
    return CTableStore(table, platform::toWindowsPath(m_db).c_str());
  }
  PreviewGrid& EmptyGrid(EditorBuild build) {
    grid = std::make_unique<PreviewGrid>(build);
    EXPECT_TRUE(grid->Create(CRect(0, 0, 680, 380), &parent, 100, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    return *grid;
  }
  // A store that has read its table whole (into a grid of its own), as an
  // editor's has before any save.
  void LoadWhole(CTableStore& store, EditorBuild build = EditorBuild::Navigator) {
    PreviewGrid scratch(build);
    EXPECT_TRUE(scratch.Create(CRect(0, 0, 300, 200), &parent, 101, WS_CHILD));
    TableLoadOptions load;
    load.build = build;
    EXPECT_TRUE(store.Load(scratch, load));
    EXPECT_TRUE(store.Loaded());
    scratch.DestroyWindow();
  }
  Rows Query(const std::string& sql) const { return fixtures::QueryRows(m_db, sql); }
  // Runs SQL on the database file directly (what the ADO layer does not take: triggers).
  void Sqlite(const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_db.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }

  std::string m_dir, m_db;
};

TEST_F(TableStoreTest, ATunnelTableShowsItsCodesAndStoresThemBack) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"一号", "DK", "100", "DK", "200", "1", "2", nullptr},
                                                 {"二号", "DK", "300", "DK", "400", "9", nullptr, "x"}}));
  PreviewGrid& g = EmptyGrid(EditorBuild::Navigator);
  CTableStore store = Store("隧道");
  ASSERT_TRUE(store.Load(g));
  EXPECT_EQ(g.GetRowCount(), 3);
  EXPECT_EQ(g.GetColumnCount(), 9);
  EXPECT_STREQ(g.GetItemText(0, 0).GetString(), "行号");
  EXPECT_STREQ(g.GetItemText(0, 6).GetString(), "插旗方式");
  EXPECT_STREQ(g.GetItemText(1, 0).GetString(), "1\n");
  EXPECT_STREQ(g.GetItemText(1, 6).GetString(), "1-一般隧道");
  EXPECT_STREQ(g.GetItemText(2, 6).GetString(), "9");
  EXPECT_STREQ(g.GetItemText(1, 8).GetString(), "");  // NULL
  EXPECT_STREQ(g.GetTableName().GetString(), "隧道");
  ASSERT_TRUE(store.Save(g));
  EXPECT_EQ(Query("select 隧道名称, 插旗方式, 线数, 附注 from 隧道 order by ID"),
            (Rows{{"一号", "1", "2", "NULL"}, {"二号", "9", "NULL", "x"}}));
}

// A code outside its column's list shows empty, but the cell is not what
// the user made empty: a save keeps the stored code ("9" of 插旗方式 here)
// until the user edits that cell. Emptying it (Delete) unsets it, for good;
// choosing a code stores that code; rows added above move it with its row.
TEST_F(TableStoreTest, ACulvertCodeOutsideTheListIsKeptUntilItsCellIsEdited) {
  const std::vector<fixtures::Row> table = {{"DK", "10", "1-2m", "5", "5", "90", "1", "9", "a"},
                                            {"DK", "20", "1-3m", "5", "5", "90", "7", "3", nullptr},
                                            {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "9"}};
  using Action = void (*)(PreviewGrid&);
  const struct {
    const char* what;
    Action action;
    Rows stored;  // 中心里程数, 用途, 插旗方式, 附注 after a first and a second save
  } cases[] = {
      {"nothing edited", [](PreviewGrid&) {}, Rows{{"10", "1", "9", "a"}, {"20", "7", "3", "NULL"}, {"NULL", "NULL", "9", "NULL"}}},
      {"another cell of the row edited", [](PreviewGrid& g) { g.OnEndEditCell(1, 9, "b"); },
       Rows{{"10", "1", "9", "b"}, {"20", "7", "3", "NULL"}, {"NULL", "NULL", "9", "NULL"}}},
      {"the cell emptied by Delete",
       [](PreviewGrid& g) {
         g.SetFocusCell(1, 8);
         g.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
       },
       Rows{{"10", "1", "NULL", "a"}, {"20", "7", "3", "NULL"}, {"NULL", "NULL", "9", "NULL"}}},
      {"a code chosen", [](PreviewGrid& g) { g.OnEndEditCell(1, 8, "4-左看守平交"); },
       Rows{{"10", "1", "4", "a"}, {"20", "7", "3", "NULL"}, {"NULL", "NULL", "9", "NULL"}}},
      {"a row added above it",
       [](PreviewGrid& g) {
         g.SetFocusCell(1, 1);
         g.AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
       },
       Rows{{"10", "1", "9", "a"}, {"20", "7", "3", "NULL"}, {"NULL", "NULL", "9", "NULL"}}},
  };
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (build == EditorBuild::Plan ? " (plan)" : " (navigator)"));
      Sqlite("delete from 小桥涵");
      ASSERT_TRUE(fixtures::FillTable(m_db, "小桥涵", table));
      PreviewGrid& g = EmptyGrid(build);
      CTableStore store = Store("小桥涵");
      TableLoadOptions load;
      load.build = build;
      ASSERT_TRUE(store.Load(g, load));
      // The navigator shows 用途 with its meaning, and "7" (outside its
      // list) empty; the plan shows 用途 as it stands.
      EXPECT_STREQ(g.GetItemText(1, 7).GetString(), build == EditorBuild::Navigator ? "1-灌溉" : "1");
      EXPECT_STREQ(g.GetItemText(2, 7).GetString(), build == EditorBuild::Navigator ? "" : "7");
      EXPECT_STREQ(g.GetItemText(1, 8).GetString(), "");
      EXPECT_STREQ(g.GetItemText(2, 8).GetString(), "3-无看守平交");
      c.action(g);
      TableSaveOptions save;
      save.build = build;
      ASSERT_TRUE(store.Save(g, save));
      const char* sql = "select 中心里程数, 用途, 插旗方式, 附注 from 小桥涵 order by ID";
      EXPECT_EQ(Query(sql), c.stored);
      // Saved again without an edit: the table stays as the first save left it.
      ASSERT_TRUE(store.Save(g, save));
      EXPECT_EQ(Query(sql), c.stored);
    }
  }
}

// Delete on an empty cell changes it only where the cell stands for a loaded
// value shown empty (a code outside its list): emptying it unsets the value.
TEST_F(TableStoreTest, DeleteChangesAnEmptyCellOnlyWhereItShowsAValueEmpty) {
  const std::vector<fixtures::Row> table = {{"DK", "10", "1-2m", "5", "5", "90", "1", "9", nullptr}};
  const struct {
    EditorBuild build;
    int col;
    bool changes;
    const char* what;
  } cases[] = {
      {EditorBuild::Navigator, 8, true, "插旗方式 9, outside its list"},
      {EditorBuild::Plan, 8, true, "插旗方式 9, outside its list"},
      {EditorBuild::Navigator, 9, false, "附注 NULL"},
      {EditorBuild::Plan, 9, false, "附注 NULL"},
      {EditorBuild::Navigator, 7, false, "用途 1, shown by its meaning (Delete empties it: a change)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Sqlite("delete from 小桥涵");
    ASSERT_TRUE(fixtures::FillTable(m_db, "小桥涵", table));
    PreviewGrid& g = EmptyGrid(c.build);
    CTableStore store = Store("小桥涵");
    TableLoadOptions load;
    load.build = c.build;
    ASSERT_TRUE(store.Load(g, load));
    g.SetFocusCell(1, c.col);
    const bool empty = g.GetItemText(1, c.col).IsEmpty();
    g.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(g.HasChanges(), c.changes || !empty);
    // Once emptied and saved, the value is gone: Delete there again changes nothing.
    ASSERT_TRUE(store.Save(g, TableSaveOptions{c.build, true}));
    EXPECT_FALSE(g.HasChanges());
    g.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(g.HasChanges());
    // Nor does a cut of it.
    g.SetSelectedRange(1, c.col, 1, c.col);
    g.CutSelectedText();
    EXPECT_FALSE(g.HasChanges());
  }
}

TEST_F(TableStoreTest, TheHiddenStationColumnIsKeptThroughASave) {
  ASSERT_TRUE(fixtures::FillTable(
      m_db, "车站", {{"甲站", "DK", "100", "CK", "50", "DK", "150", "1", "中间站01", nullptr},
                     {"乙站", "DK", "900", "AK", "850", "DK", "950", "0", "区段站02", "b"}}));
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    PreviewGrid& g = EmptyGrid(build);
    CTableStore store = Store("车站");
    TableLoadOptions load;
    load.build = build;
    ASSERT_TRUE(store.Load(g, load));
    EXPECT_EQ(g.GetColumnCount(), 10);
    EXPECT_EQ(g.HiddenColumn(), build == EditorBuild::Navigator ? 8 : 4);
    // A name changed and (the first time) a row added at the end; every row saved.
    g.SetItemText(2, 1, "乙站改");
    if (g.GetRowCount() == 3) {
      g.SetFocusCell(2, 1);
      g.AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
      g.SetItemText(3, 1, "丙站");
    }
    TableSaveOptions save;
    save.build = build;
    ASSERT_TRUE(store.Save(g, save));
  }
  // The added row's kept values are empty: not written, their fields keep the default.
  EXPECT_EQ(Query("select 车站名称, 起点里程冠号, 车站类型, 插旗图块名 from 车站 order by ID"),
            (Rows{{"甲站", "CK", "1", "中间站01"}, {"乙站改", "AK", "0", "区段站02"}, {"丙站", "NULL", "NULL", "NULL"}}));
}

TEST_F(TableStoreTest, EmptyRowsAreNotSavedAndEmptyCellsKeepTheDefault) {
  PreviewGrid& g = EmptyGrid(EditorBuild::Navigator);
  CTableStore store = Store("断链表");
  ASSERT_TRUE(store.Load(g));
  EXPECT_EQ(g.GetRowCount(), 1);
  EXPECT_EQ(g.GetColumnCount(), 7);
  g.AddRows(3, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
  ASSERT_EQ(g.GetRowCount(), 5);
  g.SetItemText(1, 1, "DK");
  g.SetItemText(1, 2, "1000");
  g.SetItemText(2, 1, " ");  // blanks only
  g.SetItemText(3, 2, "2000");
  ASSERT_TRUE(store.Save(g));
  EXPECT_EQ(Query("select ID, 等号左里程冠号, 等号左里程数, 附注 from 断链表 order by ID"),
            (Rows{{"1", "DK", "1000", "NULL"}, {"2", "NULL", "2000", "NULL"}}));
}

TEST_F(TableStoreTest, ARowThatCannotBeAddedIsSkippedAndReported) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"旧", "DK", "1", "DK", "2", "0", "1", nullptr}}));
  Sqlite("CREATE TRIGGER refuse BEFORE INSERT ON 隧道 WHEN NEW.隧道名称 = '坏' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    CTableStore store = Store("隧道");
    LoadWhole(store, build);
    MakeGrid(build, {"隧道名称", "起点里程冠号"}, {{"甲", "DK"}, {"坏", "DK"}, {"乙", "DK"}, {"坏", ""}}, "隧道");
    TableSaveOptions save;
    save.build = build;
    platform::TranscriptCapture transcript;
    ASSERT_TRUE(store.Save(*grid, save));
    EXPECT_EQ(store.FailedRows(), (std::vector<int>{2, 4}));
    EXPECT_EQ(Query("select 隧道名称, 起点里程冠号 from 隧道 order by ID"), (Rows{{"甲", "DK"}, {"乙", "DK"}}));
    // One message lists every refused row.
    EXPECT_NE(transcript.text().find("2, 4"), std::string::npos) << transcript.text();
    EXPECT_EQ(MessageBoxes(transcript.text()), 1) << transcript.text();
  }
}

TEST_F(TableStoreTest, ASaveWhoseEveryRowIsRefusedKeepsTheOldRows) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"旧", "DK", "1", "DK", "2", "0", "1", nullptr}}));
  Sqlite("CREATE TRIGGER refuse BEFORE INSERT ON 隧道 WHEN NEW.隧道名称 = '坏' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  CTableStore store = Store("隧道");
  LoadWhole(store);
  // Row 2 has no text and is not written; rows 1 and 3 are refused.
  MakeGrid(EditorBuild::Navigator, {"隧道名称"}, {{"坏"}, {""}, {"坏"}}, "隧道");
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(store.Save(*grid));
  EXPECT_EQ(store.FailedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(Query("select 隧道名称 from 隧道 order by ID"), (Rows{{"旧"}}));
  EXPECT_NE(transcript.text().find("表 隧道 没有保存"), std::string::npos) << transcript.text();
  EXPECT_NE(transcript.text().find("1, 3"), std::string::npos) << transcript.text();
}

TEST_F(TableStoreTest, ASaveAfterAFailedLoadIsRefused) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"旧", "DK", "1", "DK", "2", "0", "1", nullptr}}));
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    // The table is not there while the editor loads; it is back by the save.
    Sqlite("ALTER TABLE 隧道 RENAME TO 隧道_away");
    PreviewGrid& g = EmptyGrid(build);
    CTableStore store = Store("隧道");
    TableLoadOptions load;
    load.build = build;
    platform::TranscriptCapture transcript;
    EXPECT_FALSE(store.Load(g, load));
    EXPECT_FALSE(store.Loaded());
    Sqlite("ALTER TABLE 隧道_away RENAME TO 隧道");
    TableSaveOptions save;
    save.build = build;
    EXPECT_FALSE(store.Save(g, save));
    EXPECT_NE(transcript.text().find("表 隧道 没有保存"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("select 隧道名称 from 隧道 order by ID"), (Rows{{"旧"}}));
  }
}

// A store whose record count fails, as a count reads then: 0.
class UncountedStore : public CTableStore {
 public:
  using CTableStore::CTableStore;

 protected:
  long RecordCount() override { return 0; }
};

TEST_F(TableStoreTest, AFailedCountLeavesTheStoreUnloaded) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"旧一", "DK", "1", "DK", "2", "0", "1", nullptr},
                                                 {"旧二", "DK", "3", "DK", "4", "1", "1", nullptr}}));
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    PreviewGrid& g = EmptyGrid(build);
    UncountedStore store("隧道", platform::toWindowsPath(m_db).c_str());
    TableLoadOptions load;
    load.build = build;
    platform::TranscriptCapture transcript;
    EXPECT_TRUE(store.Load(g, load));
    EXPECT_FALSE(store.Loaded());
    TableSaveOptions save;
    save.build = build;
    EXPECT_FALSE(store.Save(g, save));
    EXPECT_NE(transcript.text().find("表 隧道 没有保存"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("select 隧道名称 from 隧道 order by ID"), (Rows{{"旧一"}, {"旧二"}}));
  }
}

TEST_F(TableStoreTest, AFailedSaveKeepsTheOldRows) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "隧道", {{"旧一", "DK", "1", "DK", "2", "0", "1", nullptr},
                                                 {"旧二", "DK", "3", "DK", "4", "1", "1", nullptr}}));
  const Rows old = {{"旧一"}, {"旧二"}};
  // A row refused when every row must go in: nothing changes.
  Sqlite("CREATE TRIGGER refuse BEFORE INSERT ON 隧道 WHEN NEW.隧道名称 = '坏' "
         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  {
    CTableStore store = Store("隧道");
    LoadWhole(store, EditorBuild::Plan);
    MakeGrid(EditorBuild::Plan, {"隧道名称"}, {{"甲"}, {"坏"}}, "隧道");
    TableSaveOptions save;
    save.skipFailedRows = false;
    platform::TranscriptCapture transcript;
    EXPECT_FALSE(store.Save(*grid, save));
    EXPECT_NE(transcript.text().find("表 隧道 没有保存"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("select 隧道名称 from 隧道 order by ID"), old);
  }
  // The delete refused: nothing changes.
  Sqlite("CREATE TRIGGER keep BEFORE DELETE ON 隧道 BEGIN SELECT RAISE(ABORT, 'kept'); END");
  {
    CTableStore store = Store("隧道");
    LoadWhole(store);
    MakeGrid(EditorBuild::Navigator, {"隧道名称"}, {{"甲"}}, "隧道");
    platform::TranscriptCapture transcript;
    EXPECT_FALSE(store.Save(*grid));
    EXPECT_NE(transcript.text().find("表 隧道 没有保存"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query("select 隧道名称 from 隧道 order by ID"), old);
  }
  // A database that is not there: the connection's message, no file made.
  CTableStore missing("隧道", platform::toWindowsPath(m_dir + "/none.mdb").c_str());
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(missing.Save(*grid));
  EXPECT_FALSE(missing.Load(*grid));
  EXPECT_NE(transcript.text().find("连接数据库失败!"), std::string::npos);
  EXPECT_FALSE(fs::exists(m_dir + "/none.mdb"));
}

TEST_F(TableStoreTest, UneditedCellsAreSavedWithTheValuesTheyWereLoadedWith) {
  // Values the displays cut: the navigator's shows 8 decimals (1.7683751e-06
  // as 0.00000177), the plan's 3.
  ASSERT_TRUE(fixtures::FillTable(m_db, "断链表", {{"DK", "3385364.60849", "D1K", "123.45678", "1.7683751e-06", "甲"},
                                                   {"DK", "-0.000123456789", "D2K", "7", "2.5", nullptr}}));
  const std::string values = "select 等号左里程冠号, 等号左里程数, 等号右里程数, 断链长度, 附注 from 断链表 order by ID";
  const Rows before = Query(values);
  ASSERT_EQ(before[0][1], "3385364.60849");
  const TableCellDisplay cutToThree = [](const CString&, const CString&, const CString& value) {
    double number = 0.0;
    return ReadsAsNumber(value, number) ? CutDecimals(value, 3) : value;
  };
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    SCOPED_TRACE(build == EditorBuild::Navigator ? "navigator" : "plan");
    PreviewGrid& g = EmptyGrid(build);
    CTableStore store = Store("断链表");
    TableLoadOptions load;
    load.build = build;
    if (build == EditorBuild::Plan) load.display = cutToThree;
    ASSERT_TRUE(store.Load(g, load));
    EXPECT_STREQ(g.GetItemText(1, 2).GetString(), build == EditorBuild::Plan ? "3385364.608" : "3385364.60849000");
    if (build == EditorBuild::Navigator) {
      EXPECT_STREQ(g.GetItemText(1, 5).GetString(), "0.00000177");
    }
    TableSaveOptions save;
    save.build = build;
    // Saved without an edit: every value to the last digit.
    ASSERT_TRUE(store.Save(g, save));
    EXPECT_EQ(Query(values), before);
    // Again after one cell edited: only that cell takes its text.
    g.SetItemText(2, 4, "8.125");
    ASSERT_TRUE(store.Save(g, save));
    Rows edited = before;
    edited[1][2] = "8.125";
    EXPECT_EQ(Query(values), edited);
    EXPECT_FALSE(g.HasChanges());
    // Rows moved by an insertion keep their values.
    g.SetFocusCell(1, 1);
    g.AddRows(1, CTableGridCtrl::HeaderOnlyAdd::SeedOneRow);
    ASSERT_TRUE(store.Save(g, save));
    EXPECT_EQ(Query(values), edited);
    Sqlite("update 断链表 set 等号右里程数 = 7 where 等号右里程数 = 8.125");
  }
}

TEST_F(TableStoreTest, ATextThatIsNoNumberIsNeverWrittenIntoANumberField) {
  ASSERT_TRUE(fixtures::FillTable(m_db, "断链表", {{"DK", "100.5", "D1K", "120", "19.5", "甲"},
                                                   {"DK", "200", "D1K", "220", "20", nullptr}}));
  const std::string all = "select 等号左里程冠号, 等号左里程数, 等号右里程数, 断链长度, 附注 from 断链表 order by ID";
  const Rows before = Query(all);
  // A text put into row 2's 等号右里程数 (as a paste does, past the edit's
  // check) and what the save does: refused before anything is written, or
  // the number written.
  const struct {
    const char* text;
    const char* saved;  // null: the save is refused
  } cases[] = {
      {"abc", nullptr}, {"nan", nullptr},  {"inf", nullptr},  {"1e999", nullptr},  {"12abc", nullptr},
      {"1,5", nullptr}, {"0x10", nullptr}, {".", nullptr},    {"１２", nullptr},   {" -7.25 ", "-7.25"},
  };
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(build == EditorBuild::Navigator ? "navigator " : "plan ") + c.text);
      PreviewGrid& g = EmptyGrid(build);
      CTableStore store = Store("断链表");
      TableLoadOptions load;
      load.build = build;
      ASSERT_TRUE(store.Load(g, load));
      g.SetItemText(2, 4, c.text);
      g.SetItemText(1, 6, "乙");  // a text field takes any text
      TableSaveOptions save;
      save.build = build;
      platform::TranscriptCapture transcript;
      EXPECT_EQ(store.Save(g, save) != FALSE, c.saved != nullptr);
      if (!c.saved) {
        EXPECT_EQ(Query(all), before);
        EXPECT_NE(transcript.text().find(std::string("第 2 行“等号右里程数”列的“") + c.text + "”不是数值"),
                  std::string::npos)
            << transcript.text();
        EXPECT_NE(transcript.text().find("表 断链表 没有保存"), std::string::npos) << transcript.text();
        continue;
      }
      Rows saved = before;
      saved[1][2] = c.saved;
      saved[0][4] = "乙";
      EXPECT_EQ(Query(all), saved);
      Sqlite("delete from 断链表");
      ASSERT_TRUE(fixtures::FillTable(m_db, "断链表", {{"DK", "100.5", "D1K", "120", "19.5", "甲"},
                                                       {"DK", "200", "D1K", "220", "20", nullptr}}));
    }
  }
}

TEST_F(TableStoreTest, AValueTheDatabaseCannotTakeEndsTheSaveNamingItsCell) {
  // 用途 holds integers: a number beyond them cannot be stored.
  ASSERT_TRUE(fixtures::FillTable(m_db, "小桥涵", {{"DK", "10", "1-2m", "5", "5", "90", "1", "1", "a"}}));
  const std::string all = "select * from 小桥涵 order by ID";
  const Rows before = Query(all);
  for (EditorBuild build : {EditorBuild::Navigator, EditorBuild::Plan}) {
    PreviewGrid& g = EmptyGrid(build);
    CTableStore store = Store("小桥涵");
    TableLoadOptions load;
    load.build = build;
    ASSERT_TRUE(store.Load(g, load));
    g.SetItemText(1, 7, "1e10");
    TableSaveOptions save;
    save.build = build;
    platform::TranscriptCapture transcript;
    EXPECT_FALSE(store.Save(g, save));
    EXPECT_NE(transcript.text().find("第 1 行“用途”列的“1e10”不能存入数据库"), std::string::npos) << transcript.text();
    EXPECT_EQ(Query(all), before);
  }
}

}  // namespace
