// The script's cell words on a grid in a dialog.
#include "grid_support.h"

#include "grid/ComboGridCtrl.h"
#include "win/userinput.h"

namespace gridtest {
namespace {

constexpr UINT kTemplate = 720;
constexpr int kGrid = 1010;

void registerGridTemplate() {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      Control("", kGrid, GRIDCTRL_CLASSNAME, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 180, 100),
      EditText(1011, 5, 110, 60, 14),
      DefPushButton("OK", IDOK, 100, 130, 40, 14),
      PushButton("Cancel", IDCANCEL, 150, 130, 40, 14),
  };
  static const platform::DialogResource dialogs[] = {
      {kTemplate, "表格", WS_POPUP | WS_CAPTION, 0, nullptr, 0, 0, 0, 200, 150, controls},
  };
  platform::registerResources({.dialogs = dialogs});
}

class CGridDlg : public CDialog {
 public:
  CGridDlg() : CDialog(kTemplate) {}
  CComboGridCtrl m_grid;
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_GridCtrl(pDX, kGrid, m_grid);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_grid.SetRowCount(60);
    m_grid.SetColumnCount(3);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    CStringArray items;
    items.Add("1-一般隧道");
    items.Add("2-明洞");
    m_grid.SetColumnChoices(2, items);
    m_grid.SetItemText(5, 1, "locked");
    m_grid.SetItemReadOnly(5, 1, TRUE);
    return TRUE;
  }
};

class GridScriptTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    registerGridTemplate();
    ASSERT_TRUE(CGridCtrl::RegisterWindowClass());
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    pump();
  }
  void TearDown() override {
    if (dlg.GetSafeHwnd()) dlg.DestroyWindow();
    GridTest::TearDown();
  }
  bool play(const std::string& line, std::string& error) {
    std::vector<std::string> words;
    if (!platform::splitWords(line, words, error)) return false;
    return platform::playWords(dlg.m_hWnd, words, error);
  }
  CGridDlg dlg;
};

TEST_F(GridScriptTest, CellWordsClickTypeAndChoose) {
  std::string error;
  ASSERT_TRUE(play("1010[2,1]", error)) << error;
  EXPECT_EQ(dlg.m_grid.GetFocusCell(), CCellID(2, 1));
  EXPECT_EQ(CWnd::GetFocus(), &dlg.m_grid);

  ASSERT_TRUE(play("1010[2,1]=5.5 1010[3,1]=\"a b\" 1010[3,2]=2-明洞", error)) << error;
  EXPECT_EQ(dlg.m_grid.GetItemText(2, 1), "5.5");
  EXPECT_EQ(dlg.m_grid.GetItemText(3, 1), "a b");
  EXPECT_EQ(dlg.m_grid.GetItemText(3, 2), "2-明洞");
  EXPECT_EQ(dlg.m_grid.GetEditWindow(), nullptr);
  EXPECT_EQ(CWnd::GetFocus(), &dlg.m_grid);

  // A row far below is scrolled into view first.
  ASSERT_TRUE(play("1010[55,1]=far", error)) << error;
  EXPECT_EQ(dlg.m_grid.GetItemText(55, 1), "far");
  EXPECT_GT(dlg.m_grid.GetScrollPosition().y, 0);

  // A right click shows no menu in this build and changes nothing.
  ASSERT_TRUE(play("1010[2,1]:right", error)) << error;
  EXPECT_EQ(dlg.m_grid.GetItemText(2, 1), "5.5");
}

TEST_F(GridScriptTest, CellWordsThatCannotBePlayedSayWhy) {
  struct Case {
    const char* line;
    const char* error;
  } cases[] = {
      {"1010[99,1]", "control 1010 has no cell 99,1"},
      {"1010[1,1", "a cell is written <ctl>[row,column]"},
      {"1010[x,1]", "a cell is written <ctl>[row,column]"},
      {"1010[5,1]=x", "cell 5,1 of control 1010 opened no editor"},
      {"1010[3,2]=9-none", "offers no item \"9-none\""},
      {"1010[2,1]:left", "a cell takes =<text> or :right"},
      {"1011[1,1]", "control 1011 has no cell 1,1"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(play(c.line, error)) << c.line;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
    dlg.m_grid.SetFocus();
    pump();
  }
  EXPECT_EQ(dlg.m_grid.GetItemText(5, 1), "locked");
}

}  // namespace
}  // namespace gridtest
