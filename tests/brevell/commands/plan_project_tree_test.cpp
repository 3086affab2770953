// The dock bar "方案数据库" and its project tree over a copy of the sample
// scheme: DEZERORUR with 显示数据库 ticked shows one bar, docked on the left,
// whose tree lists the scheme's name, the three lines with their 平面 and 插旗
// groups and, under them, exactly the tables the database has; the tree's
// commands (double-click, Enter, the right-click menu and the two command
// ranges, of which the first matched wins); closing the bar and its size.
// Pictures of dialog 2001 and of the bar are left in the test folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstring>
#include <set>

#include "arx/arx.h"
#include "PlanCommands.h"
#include "PlanSettingsDlg.h"
#include "ProjectDockBar.h"
#include "SchemeTreeDlg.h"
#include "brevell/resources/PlanResources.h"
#include "fixtures/scheme_db.h"
#include "brevell/plan_commands_support.h"
#include "win/answers.h"
#include "win/commctrl.h"
#include "win/userinput.h"
#include "win/winhost.h"
#include "win/winpaint.h"

namespace {

using namespace plantest;
namespace fs = std::filesystem;

// A node of the tree: its text and its children, in order.
struct Node {
  std::string text;
  std::vector<Node> children;
  bool operator==(const Node&) const = default;
};

std::vector<Node> Children(const CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<Node> out;
  for (HTREEITEM h = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h))
    out.push_back(Node{tree.GetItemText(h).GetString(), Children(tree, h)});
  return out;
}

// The tree the scheme should show, from the tables the database file has
// (read with SQLite itself) and the node list of the project tree.
Node ExpectedTree(const std::set<std::string>& tables) {
  struct Line {
    const char* name;
    std::vector<std::string> plan, flags;
  };
  const Line lines[] = {
      {"基线", {"曲线表", "断链表"}, {"大中桥", "隧道", "小桥涵", "车站", "水准点表", "导线表"}},
      {"左线", {"左线曲线表", "左线断链表"}, {}},
      {"右线", {"右线曲线表", "右线断链表"}, {}},
  };
  Node root{"方案名称：方案1", {}};
  for (const Line& l : lines) {
    std::vector<std::string> flags = l.flags;
    if (flags.empty()) {
      const std::string side = std::string(l.name) + "绕行段";
      for (const char* t : {"大中桥", "隧道", "小桥涵", "车站", "水准点表", "导线表"}) flags.push_back(side + t);
    }
    Node line{l.name, {Node{"平面", {}}, Node{"插旗", {}}}};
    for (const std::string& t : l.plan)
      if (tables.count(t)) line.children[0].children.push_back(Node{t, {}});
    for (const std::string& t : flags)
      if (tables.count(t)) line.children[1].children.push_back(Node{t, {}});
    root.children.push_back(line);
  }
  return root;
}

// The tree dialog that notes which editors it would open.
class NotingTreeDlg : public CSchemeTreeDlg {
 public:
  explicit NotingTreeDlg(CWnd* parent) : CSchemeTreeDlg(parent) {}
  std::vector<std::string> opened;

 protected:
  void OpenEditorFor(int slot, const CString& tableName) override {
    opened.push_back(std::to_string(slot) + " " + tableName.GetString());
  }
};

// The settings dialog that leaves a picture of itself as its OK is clicked.
class PictureSettingsDlg : public CPlanSettingsDlg {
 public:
  explicit PictureSettingsDlg(std::string file) : m_file(std::move(file)) {}
  bool saved = false;

 protected:
  void OnOK() override {
    saved = platform::saveWindowPicture(m_hWnd, m_file);
    CPlanSettingsDlg::OnOK();
  }

 private:
  std::string m_file;
};

class ProjectTree : public PlanCommandTest {
 protected:
  // The tables of the tree that the database has: those a query can read.
  std::set<std::string> Tables() {
    std::set<std::string> names;
    for (const char* t : kTableEditorNames) {
      std::string error;
      fixtures::QueryRows(m_db, std::string("select count(*) from [") + t + "]", &error);
      if (error.empty()) names.insert(t);
    }
    return names;
  }
  // DEZERORUR confirmed with 显示数据库 ticked (or not).
  void RunSettings(bool show) {
    AnswerDialog(std::string("233=") + (show ? "1" : "0") + " IDOK");
    CmdDrawPlan();
    EXPECT_EQ(platform::pendingAnswers(), 0u);
  }
  static HWND TreeOf(CMyDockControlBar* bar) {
    if (!bar || !bar->GetChildDialog()) return nullptr;
    return ::GetDlgItem(bar->GetChildDialog()->m_hWnd, IDC_SCHEME_TREE);
  }
};

TEST_F(ProjectTree, ListsTheGroupsAndTheTablesTheSchemeHas) {
  // The full sample, then the sample without a table of each group.
  const std::vector<std::string> drops[] = {{}, {"水准点表", "左线断链表", "右线绕行段隧道"}};
  for (const std::vector<std::string>& drop : drops) {
    for (const std::string& t : drop) Execute("drop table [" + t + "]");
    RunSettings(true);
    CMyDockControlBar* bar = ThePlanState().dockBar;
    ASSERT_NE(bar, nullptr);
    HWND tree = TreeOf(bar);
    ASSERT_NE(tree, nullptr);
    const std::set<std::string> tables = Tables();
    for (const std::string& t : drop) EXPECT_EQ(tables.count(t), 0u) << t;
    const CTreeCtrl& control = static_cast<CSchemeTreeDlg*>(bar->GetChildDialog())->m_tree;
    EXPECT_EQ(control.m_hWnd, tree);
    EXPECT_EQ(Children(control, nullptr), std::vector<Node>{ExpectedTree(tables)}) << drop.size();
    // Only the root is open at first.
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    EXPECT_TRUE(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) & TVIS_EXPANDED);
  }
  // The sample has every table of the base line.
  EXPECT_EQ(Tables().count("导线表"), 1u);
}

TEST_F(ProjectTree, TheBarIsOneDockedLeftWithItsTitleToolIdAndTheTreeSizedToIt) {
  RunSettings(true);
  CMyDockControlBar* first = ThePlanState().dockBar;
  ASSERT_NE(first, nullptr);
  RunSettings(true);  // a second OK replaces the bar
  CMyDockControlBar* bar = ThePlanState().dockBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(platform::dockControlBarCount(), 1u);
  EXPECT_EQ(bar->GetDockBarID(), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(bar->GetDockingStyle(), static_cast<DWORD>(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT));
  CString title;
  bar->GetWindowText(title);
  EXPECT_EQ(title, CString("方案数据库"));
  ASSERT_TRUE(bar->HasToolID());
  EXPECT_EQ(std::memcmp(&bar->GetToolID(), &CMyDockControlBar::kToolId, sizeof(CLSID)), 0);
  EXPECT_TRUE(bar->IsWindowVisible());

  // A size of 180 x 300: the tree at (1, 2), 5 narrower and 20 lower than the
  // client; the dialog over the client.
  bar->MoveWindow(0, 0, 180, 300, TRUE);
  CRect client;
  bar->GetClientRect(&client);
  CRect dialog, tree;
  bar->GetChildDialog()->GetWindowRect(&dialog);
  bar->ScreenToClient(&dialog);
  EXPECT_EQ(dialog, CRect(0, 0, client.Width(), client.Height()));
  ::GetWindowRect(TreeOf(bar), &tree);
  bar->GetChildDialog()->ScreenToClient(&tree);
  EXPECT_EQ(tree, CRect(1, 2, 1 + client.Width() - 5, 2 + client.Height() - 20));

  // OK with the box clear closes it.
  RunSettings(false);
  EXPECT_EQ(ThePlanState().dockBar, nullptr);
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
}

TEST_F(ProjectTree, CommandsReachTheFirstMatchingRangeAndTablesOpenByDoubleClickOrEnter) {
  ThePlanState().connection = SchemeConnectionText(m_dbWindows);
  ThePlanState().schemeName = "方案1";
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 500),
                            nullptr, 0));
  NotingTreeDlg dlg(&host);
  ASSERT_TRUE(dlg.Create(IDD_SCHEME_TREE, &host));
  std::string error;
  auto play = [&](const std::string& word) {
    EXPECT_TRUE(platform::playWords(dlg.m_hWnd, {word}, error)) << word << ": " << error;
  };
  play("2062=方案名称：方案1/基线/插旗/隧道");
  ASSERT_TRUE(dlg.opened.empty());

  struct Case {
    UINT command;
    std::vector<std::string> opened;
  } const cases[] = {
      {2316, {}},  // the menu's hint: in 2314 .. 2414, which is matched first
      {2314, {}},
      {2414, {}},
      {2415, {"9 隧道"}},  // the only one left of 2315 .. 2415
  };
  for (const Case& c : cases) {
    dlg.opened.clear();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
    EXPECT_EQ(dlg.opened, c.opened) << c.command;
  }

  // The right-click menu shows its hint; choosing it opens nothing.
  dlg.opened.clear();
  ASSERT_TRUE(platform::queueAnswerLine("@menu 用左键双击打开", &error)) << error;
  play("2062:right=方案名称：方案1/基线/插旗/大中桥");
  EXPECT_EQ(platform::pendingAnswers(), 0u) << "the menu was shown";
  EXPECT_TRUE(dlg.opened.empty());

  // Double-click opens a table, not a group.
  play("2062:dbl=方案名称：方案1/左线/平面/左线曲线表");
  play("2062:dbl=方案名称：方案1/基线/平面");
  EXPECT_EQ(dlg.opened, std::vector<std::string>{"2 左线曲线表"});

  // Every key-down is consumed; Enter opens the selected table, Escape closes nothing.
  struct Key {
    const char* path;
    UINT key;
    std::vector<std::string> opened;
  } const keys[] = {
      {"方案名称：方案1/基线/平面", VK_RETURN, {}},
      {"方案名称：方案1/基线/插旗/隧道", VK_RETURN, {"9 隧道"}},
      {"方案名称：方案1/右线/插旗/右线绕行段导线表", VK_RETURN, {"23 右线绕行段导线表"}},
      {"方案名称：方案1/基线/插旗/隧道", VK_ESCAPE, {}},
  };
  for (const Key& k : keys) {
    dlg.opened.clear();
    play(std::string("2062=") + k.path);
    MSG msg{::GetDlgItem(dlg.m_hWnd, IDC_SCHEME_TREE), WM_KEYDOWN, k.key, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&msg)) << k.path;
    EXPECT_EQ(dlg.opened, k.opened) << k.path;
  }
  EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
  dlg.DestroyWindow();
  host.DestroyWindow();
}

TEST_F(ProjectTree, ADatabaseThatCannotBeOpenedLeavesAnEmptyTreeWithAMessage) {
  ThePlanState().connection = SchemeConnectionText(m_dbWindows + ".missing");
  ShowProjectDockBar(true);
  CMyDockControlBar* bar = ThePlanState().dockBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(transcript.contains("连接数据库失败!"));
  HWND tree = TreeOf(bar);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 0);
}

TEST_F(ProjectTree, UnloadClosesTheBarAndItsTree) {
  RunSettings(true);
  ASSERT_NE(ThePlanState().dockBar, nullptr);
  HWND barWindow = ThePlanState().dockBar->m_hWnd;
  HWND dialog = ThePlanState().dockBar->GetChildDialog()->m_hWnd;
  UnloadApplication();
  EXPECT_FALSE(::IsWindow(barWindow));
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_FALSE(acedRegCmds->hasGroup(kPlanCommandGroup));
}

TEST_F(ProjectTree, PicturesOfTheSettingsDialogAndOfTheBarWithItsTree) {
  const fs::path folder = fs::path(RAIL_TEST_TMPDIR) / "brevell-pictures";
  fs::create_directories(folder);
  const fs::path settings = folder / "dialog-2001.png", barFile = folder / "dock-bar-tree.png";
  fs::remove(settings);
  fs::remove(barFile);
  AnswerDialog("233=1 IDOK");
  PictureSettingsDlg dlg(settings.string());
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(dlg.saved);
  CMyDockControlBar* bar = ThePlanState().dockBar;
  ASSERT_NE(bar, nullptr);
  std::string error;
  ASSERT_TRUE(platform::playWords(bar->GetChildDialog()->m_hWnd, {"2062=方案名称：方案1/基线/插旗/隧道"}, error))
      << error;
  ASSERT_TRUE(platform::saveWindowPicture(bar->m_hWnd, barFile.string()));
  EXPECT_GT(fs::file_size(settings), 1000u);
  EXPECT_GT(fs::file_size(barFile), 1000u);

  // The bar's picture shows the tree's texts (dark pixels) on the window colour,
  // and the selected 隧道 on the highlight colour.
  HDC picture = platform::renderWindowPicture(bar->m_hWnd);
  ASSERT_TRUE(picture);
  int highlight = 0, dark = 0;
  CRect r;
  bar->GetWindowRect(&r);
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) {
      COLORREF c = GetPixel(picture, x, y);
      if (c == RGB(10, 36, 106)) ++highlight;
      if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) ++dark;
    }
  }
  DeleteDC(picture);
  EXPECT_GT(highlight, 20);
  EXPECT_GT(dark, 50);
}

}  // namespace
