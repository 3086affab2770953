// A table editor's grid takes from the user no more than each field stores.
#include <gtest/gtest.h>

#include <string>

#include "controls/TableGridCtrl.h"
#include "controls/TableStore.h"
#include "crt/paths.h"
#include "fixtures/scheme_db.h"
#include "win/clipboard.h"
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
    // The columns by their headers: VARCHAR fields (the provider's 255),
    // DOUBLE PRECISION mileages 32 characters.
    struct Case {
      const char* header;
      int limit;
    } cases[] = {{"隧道名称", 255}, {"插旗方式", 255}, {"起点里程数", 32}, {"终点里程数", 32}};
    for (const Case& c : cases) {
      SCOPED_TRACE(c.header);
      int col = -1;
      for (int j = 1; j < grid.GetColumnCount(); ++j)
        if (grid.GetItemText(0, j) == c.header) col = j;
      ASSERT_GE(col, 0);
      EXPECT_EQ(grid.GetColumnTextLimit(col), c.limit);
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
