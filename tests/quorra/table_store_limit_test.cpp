// A table editor's grid takes from the user no more than each field stores:
// a text field's text cut to its size, a number field's text taken whole up
// to the bound of a number's text, refused whole past it.
#include <gtest/gtest.h>

#include <string>

#include "controls/TableGridCtrl.h"
#include "controls/TableStore.h"
#include "crt/paths.h"
#include "fixtures/scheme_db.h"
#include "win/clipboard.h"
#include "win/transcript.h"
#include "win/textmetrics.h"
#include "win/winhost.h"

namespace {

TEST(TableStoreLimits, EachColumnTakesWhatItsFieldStores) {
  platform::resetWindowing();
  platform::FixedTextMetricsScope metrics;
  std::string dir = fixtures::MakeTempFolder("table_limits");
  std::string db = dir + "/方案1.mdb";
  ASSERT_TRUE(fixtures::CreateSchemeDatabase(db));
  ASSERT_TRUE(fixtures::FillTable(db, "隧道", {{"一号", "DK", "100", "DK", "200", "1", "2", nullptr}}));
  {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "editor", WS_POPUP | WS_VISIBLE, 0, 0, 700, 400, nullptr, nullptr));
    CTableGridCtrl grid(EditorBuild::Navigator);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 680, 380), &parent, 100, WS_CHILD | WS_VISIBLE));
    CTableStore store("隧道", platform::toWindowsPath(db).c_str());
    ASSERT_TRUE(store.Load(grid));
    // The columns by their headers: VARCHAR fields (the provider's 255) cut,
    // DOUBLE PRECISION mileages take what a number may have, whole or not at all.
    struct Case {
      const char* header;
      int limit;
      bool refuses;
    } cases[] = {{"隧道名称", 255, false}, {"插旗方式", 255, false}, {"起点里程数", 400, true}, {"终点里程数", 400, true}};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.header);
      int col = -1;
      for (int j = 1; j < grid.GetColumnCount(); ++j)
        if (grid.GetItemText(0, j) == c.header) col = j;
      ASSERT_GE(col, 0);
      EXPECT_EQ(grid.GetColumnTextLimit(col), c.limit);
      EXPECT_EQ(grid.RefusesLongerText(col), c.refuses);
    }
    // Pasted into 起点里程数 (column 3, loaded "100"): never cut into another number.
    struct Paste {
      std::string text;
      std::string cell;
      bool told;  // the message naming the column
    } pastes[] = {
        {"1.2345678901234567890123456789e+30", "1.2345678901234567890123456789e+30", false},
        {"123456789012345678901234567890123", "123456789012345678901234567890123", false},
        {std::string(399, '0') + "7", std::string(399, '0') + "7", false},
        {std::string(400, '0') + "7", "100", true},
        {std::string(100000, '9'), "100", true},
    };
    for (const Paste& p : pastes) {
      SCOPED_TRACE(p.text.size());
      grid.SetItemText(1, 3, "100");
      ASSERT_TRUE(platform::setClipboardText(p.text));
      grid.SetFocusCell(1, 3);
      platform::TranscriptCapture transcript;
      grid.OnEditPaste();
      EXPECT_EQ(grid.GetItemText(1, 3), p.cell.c_str());
      EXPECT_EQ(transcript.text().find("“起点里程数”列最多填 400 个字符") != std::string::npos, p.told)
          << transcript.text();
    }
    // A name pasted of 100,000 characters keeps what the field stores.
    ASSERT_TRUE(platform::setClipboardText(std::string(100000, 'n')));
    grid.SetFocusCell(1, 1);
    grid.OnEditPaste();
    EXPECT_EQ(grid.GetItemText(1, 1).GetLength(), 255);
    grid.DestroyWindow();
    parent.DestroyWindow();
  }
  platform::resetWindowing();
  fixtures::RemoveFolder(dir);
}

}  // namespace
