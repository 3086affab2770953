// The tree control: its items and their order, what the mouse and the keys
// do and tell the parent (NM_CLICK before the selection moves, TVN_SELCHANGED
// after it), where a point lies (HitTest), and the script's tree words.
#include "mfc/afxwin.h"
#include "win/canvas.h"
#include "win/commctrl.h"
#include "win/textmetrics.h"
#include "win/userinput.h"
#include "win/winpaint.h"
#include "window_support.h"

namespace {

using windowtest::WindowTest;

constexpr int kTreeId = 206;

// The parent writes down what the tree tells it, with the caret item's text
// at that moment (and, for a right click, the item under the cursor).
std::vector<std::string>& told() {
  static std::vector<std::string> log;
  return log;
}

std::string itemText(HWND tree, HTREEITEM item) {
  if (!item) return "none";
  char text[64] = "";
  TVITEM it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = text;
  it.cchTextMax = sizeof text;
  SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it));
  return text;
}

std::string caretText(HWND tree) {
  return itemText(tree, reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    HWND tree = hdr->hwndFrom;
    switch (hdr->code) {
      case NM_CLICK: told().push_back("click caret=" + caretText(tree)); break;
      case NM_DBLCLK: told().push_back("dblclk caret=" + caretText(tree)); break;
      case NM_RETURN: told().push_back("return caret=" + caretText(tree)); break;
      case NM_RCLICK: {
        // Where the user clicked, as a handler reads it.
        POINT cursor;
        GetCursorPos(&cursor);
        DWORD pos = GetMessagePos();
        POINT message{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
        ScreenToClient(tree, &cursor);
        TVHITTESTINFO info{};
        info.pt = cursor;
        SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        ScreenToClient(tree, &message);
        bool same = message.x == cursor.x && message.y == cursor.y;
        told().push_back("rclick hit=" + itemText(tree, info.hItem) + ((info.flags & TVHT_ONITEM) ? " on item" : "") +
                         (same ? "" : " (message position differs)") + " caret=" + caretText(tree));
        break;
      }
      case TVN_SELCHANGED: {
        const NMTREEVIEW* nm = reinterpret_cast<const NMTREEVIEW*>(lParam);
        told().push_back("selchanged " + itemText(tree, nm->itemOld.hItem) + " -> " +
                         itemText(tree, nm->itemNew.hItem) + " action=" + std::to_string(nm->action));
        break;
      }
      case TVN_ITEMEXPANDED: {
        const NMTREEVIEW* nm = reinterpret_cast<const NMTREEVIEW*>(lParam);
        told().push_back(std::string(nm->action == TVE_EXPAND ? "expanded " : "collapsed ") +
                         itemText(tree, nm->itemNew.hItem));
        break;
      }
      case TVN_KEYDOWN:
        told().push_back("keydown " + std::to_string(reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey));
        break;
      default: break;
    }
    return 0;
  }
  if (msg == WM_CONTEXTMENU) {
    told().push_back("contextmenu");
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class Tree : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    told().clear();
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, "TreeTestParent", &wc)) {
      wc.lpfnWndProc = &parentProc;
      wc.lpszClassName = "TreeTestParent";
      RegisterClass(&wc);
    }
    parent = CreateWindowEx(0, "TreeTestParent", "parent", WS_POPUP | WS_VISIBLE, 100, 100, 400, 400, nullptr,
                            nullptr, nullptr, nullptr);
    tree = CreateWindowEx(0, WC_TREEVIEW, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, 0, 0, 300,
                          200, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)), nullptr, nullptr);
  }
  void TearDown() override {
    told().clear();
    WindowTest::TearDown();
  }
  HTREEITEM add(const char* text, HTREEITEM under = TVI_ROOT, HTREEITEM after = TVI_LAST) {
    TVINSERTSTRUCT in{};
    in.hParent = under;
    in.hInsertAfter = after;
    in.item.mask = TVIF_TEXT;
    in.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&in)));
  }
  // The scheme tree's shape: 技术标准, and 方案1 with 输入数据 > 平面 > 基线, 插旗.
  void buildSchemeTree() {
    add("技术标准");
    HTREEITEM scheme = add("方案1");
    HTREEITEM input = add("输入数据", scheme);
    HTREEITEM plan = add("平面", input);
    add("基线", plan);
    add("插旗", input);
  }
  bool play(const std::string& word, std::string& error) { return platform::playWords(parent, {word}, error); }
  HWND parent = nullptr;
  HWND tree = nullptr;
};

TEST_F(Tree, ClickDoubleClickAndRightClickFromWordsTellTheParentInTheUsersOrder) {
  buildSchemeTree();
  struct Case {
    const char* word;
    std::vector<std::string> told;
  } const cases[] = {
      // The parents open first; the click is told while the old item is still the caret.
      {"206=方案1/输入数据/平面",
       {"expanded 方案1", "expanded 输入数据", "click caret=none", "selchanged none -> 平面 action=1"}},
      // The first click of a double click moves the selection; the double click then opens the item.
      {"206:dbl=方案1/输入数据/插旗",
       {"click caret=平面", "selchanged 平面 -> 插旗 action=1", "dblclk caret=插旗"}},
      {"206:dbl=方案1/输入数据/平面",
       {"click caret=插旗", "selchanged 插旗 -> 平面 action=1", "dblclk caret=平面", "expanded 平面"}},
      // A right click leaves the selection; the cursor is on the item clicked; unhandled, it asks for a context menu.
      {"206:right=技术标准", {"rclick hit=技术标准 on item caret=平面", "contextmenu"}},
      // Clicking the caret item again tells the click and moves nothing.
      {"206=方案1/输入数据/平面", {"click caret=平面"}},
  };
  for (const Case& c : cases) {
    told().clear();
    std::string error;
    EXPECT_TRUE(play(c.word, error)) << c.word << ": " << error;
    EXPECT_EQ(told(), c.told) << c.word;
  }
  EXPECT_EQ(GetFocus(), tree);
}

TEST_F(Tree, AWordThatNamesNoItemFailsAndSaysWhere) {
  buildSchemeTree();
  struct Case {
    const char* word;
    const char* error;
  } const cases[] = {
      {"206=方案2", "tree control 206 has no item \"方案2\" at its top"},
      {"206=方案1/输入数据/纵断面", "tree control 206 has no item \"纵断面\" under \"方案1/输入数据\""},
      {"206:dbl=", "tree control 206 takes a path of item texts"},
      {"1:right=方案1", "there is no control 1"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(play(c.word, error)) << c.word;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.word << ": " << error;
  }
  EXPECT_TRUE(told().empty());
}

TEST_F(Tree, HitTestTellsWhichPartOfWhichRowAPointIsOn) {
  platform::FixedTextMetricsScope fixed;
  HTREEITEM a = add("a");
  add("bb", a);
  SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
  // Rows of 18 pixels, indent steps of 19 (one more at the root with
  // TVS_LINESATROOT); "a" (level 0) has its button at 0..19 and its label
  // from 21, 6 + 4 pixels wide; "bb" (level 1, no button) has its label at
  // 40..56. The client area is 300 x 200.
  struct Case {
    POINT pt;
    UINT flags;
    const char* item;
  } const cases[] = {
      {{5, 5}, TVHT_ONITEMBUTTON, "a"},  {{25, 5}, TVHT_ONITEMLABEL, "a"},  {{40, 5}, TVHT_ONITEMRIGHT, "a"},
      {{10, 20}, TVHT_ONITEMINDENT, "bb"}, {{45, 30}, TVHT_ONITEMLABEL, "bb"}, {{60, 30}, TVHT_ONITEMRIGHT, "bb"},
      {{5, 40}, TVHT_NOWHERE, "none"},   {{-1, 5}, TVHT_TOLEFT, "none"},      {{5, -1}, TVHT_ABOVE, "none"},
      {{5, 200}, TVHT_BELOW, "none"},    {{300, 5}, TVHT_TORIGHT, "none"},
  };
  for (const Case& c : cases) {
    TVHITTESTINFO info{};
    info.pt = c.pt;
    HTREEITEM hit = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.flags, c.flags) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(itemText(tree, hit), c.item) << c.pt.x << "," << c.pt.y;
  }
  // With an image list the icon comes before the label.
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR4, 2, 1));
  CTreeCtrl* ctl = static_cast<CTreeCtrl*>(CWnd::FromHandle(tree));
  ctl->SetImageList(&images, TVSIL_NORMAL);
  UINT flags = 0;
  EXPECT_EQ(ctl->HitTest(CPoint(25, 5), &flags), a);
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMICON));
  EXPECT_EQ(ctl->HitTest(CPoint(40, 5), &flags), a);  // label at 19 + 16 + 2 = 37
  EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMLABEL));
  CRect label;
  ASSERT_TRUE(ctl->GetItemRect(a, &label, TRUE));
  EXPECT_EQ(label, CRect(37, 0, 47, 18));
  // A collapsed parent hides its child: no rectangle.
  ctl->Expand(a, TVE_COLLAPSE);
  HTREEITEM bb = ctl->GetChildItem(a);
  EXPECT_FALSE(ctl->GetItemRect(bb, &label, FALSE));
  ctl->SetImageList(nullptr, TVSIL_NORMAL);
}

TEST_F(Tree, ItemsKeepTheirOrderDataAndParents) {
  CTreeCtrl* ctl = static_cast<CTreeCtrl*>(CWnd::FromHandle(tree));
  HTREEITEM root = ctl->InsertItem("root", 0, 1);
  HTREEITEM b = ctl->InsertItem("b", root);
  HTREEITEM a = ctl->InsertItem("a", root, TVI_FIRST);
  HTREEITEM c = ctl->InsertItem("C", root, TVI_SORT);  // sorted without regard to case: after b
  HTREEITEM ab = ctl->InsertItem("ab", root, a);        // after a
  ctl->SetItemData(c, 42);
  std::vector<std::string> order;
  for (HTREEITEM i = ctl->GetChildItem(root); i; i = ctl->GetNextSiblingItem(i))
    order.push_back(ctl->GetItemText(i).GetString());
  EXPECT_EQ(order, (std::vector<std::string>{"a", "ab", "b", "C"}));
  EXPECT_EQ(ctl->GetParentItem(ab), root);
  EXPECT_EQ(ctl->GetParentItem(root), nullptr);
  EXPECT_EQ(ctl->GetRootItem(), root);
  EXPECT_EQ(ctl->GetPrevSiblingItem(b), ab);
  EXPECT_EQ(ctl->GetItemData(c), 42u);
  EXPECT_TRUE(ctl->ItemHasChildren(root));
  EXPECT_FALSE(ctl->ItemHasChildren(a));
  int image = -1, selected = -1;
  EXPECT_TRUE(ctl->GetItemImage(root, image, selected));
  EXPECT_EQ(image, 0);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(ctl->GetCount(), 5u);
  // The caret item goes with its item; handles are never used again.
  EXPECT_TRUE(ctl->SelectItem(b));
  EXPECT_EQ(ctl->GetSelectedItem(), b);
  EXPECT_TRUE(ctl->GetItemState(root, TVIS_EXPANDED));  // selecting opened its parent
  EXPECT_TRUE(ctl->DeleteItem(b));
  EXPECT_EQ(ctl->GetSelectedItem(), nullptr);
  EXPECT_EQ(ctl->GetItemText(b), CString(""));
  EXPECT_FALSE(ctl->DeleteItem(b));
  EXPECT_TRUE(ctl->DeleteAllItems());
  EXPECT_EQ(ctl->GetCount(), 0u);
  HTREEITEM again = ctl->InsertItem("again");
  EXPECT_NE(again, b);
  EXPECT_NE(again, root);
}

TEST_F(Tree, KeysAreToldFirstAndMoveTheCaret) {
  buildSchemeTree();
  CTreeCtrl* ctl = static_cast<CTreeCtrl*>(CWnd::FromHandle(tree));
  std::string error;
  ASSERT_TRUE(play("206=技术标准", error)) << error;
  told().clear();
  ASSERT_TRUE(play("{Down}", error)) << error;
  ASSERT_TRUE(play("{Right}", error)) << error;  // opens 方案1
  ASSERT_TRUE(play("{Enter}", error)) << error;
  EXPECT_EQ(told(), (std::vector<std::string>{"keydown 40", "selchanged 技术标准 -> 方案1 action=2", "keydown 39",
                                              "expanded 方案1", "keydown 13", "return caret=方案1"}));
  EXPECT_EQ(ctl->GetItemText(ctl->GetSelectedItem()), CString("方案1"));
}

// The tree's own paint, with the test metrics (a Chinese character 12 pixels
// wide and high, a digit 6): rows 18 pixels high, 19 pixels of indent a level
// (one more at the root with TVS_LINESATROOT), the label 2 pixels after the
// indent and its text 2 pixels into it, vertically centred. The caret item's
// label is filled with the highlight colour while the tree has the focus, in
// the face colour without it when the tree keeps its selection shown, and
// not at all otherwise.
TEST_F(Tree, PaintsItsShownItemsAtTheirRowsAndIndentWithTheSelectionHighlighted) {
  platform::FixedTextMetricsScope fixed;
  buildSchemeTree();
  HTREEITEM scheme = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  scheme = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(scheme)));
  HTREEITEM input = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                            reinterpret_cast<LPARAM>(scheme)));
  HTREEITEM plan = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                           reinterpret_cast<LPARAM>(input)));
  SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(scheme));
  SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(input));
  SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(plan));
  SetFocus(tree);

  struct Row {
    const char* text;
    int x, y;
  } const rows[] = {
      {"技术标准", 19 + 4, 0 + 3}, {"方案1", 19 + 4, 18 + 3}, {"输入数据", 38 + 4, 36 + 3},
      {"平面", 57 + 4, 54 + 3},    {"插旗", 57 + 4, 72 + 3},  // 基线 is under the closed 平面
  };
  const RECT planLabel{57 + 2, 54 + 1, 57 + 2 + 24 + 4, 72 - 1};
  const COLORREF kHighlight = RGB(10, 36, 106), kFace = RGB(212, 208, 200);

  struct Case {
    const char* what;
    bool focus;
    bool showSelAlways;
    bool filled;
    COLORREF fill;
  } const cases[] = {
      {"focused", true, false, true, kHighlight},
      {"unfocused, selection kept shown", false, true, true, kFace},
      {"unfocused", false, false, false, 0},
  };
  for (const Case& c : cases) {
    LONG_PTR style = GetWindowLongPtr(tree, GWL_STYLE);
    SetWindowLongPtr(tree, GWL_STYLE, c.showSelAlways ? (style | TVS_SHOWSELALWAYS) : (style & ~TVS_SHOWSELALWAYS));
    SetFocus(c.focus ? tree : parent);
    platform::GdiRecorder rec;
    platform::recordWindowPaint(tree, &rec);
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
    platform::recordWindowPaint(tree, nullptr);

    std::vector<const platform::GdiOp*> texts;
    for (const platform::GdiOp& op : rec.ops())
      if (op.kind == platform::GdiOp::kText) texts.push_back(&op);
    ASSERT_EQ(texts.size(), std::size(rows)) << c.what;
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i]->text, rows[i].text) << c.what;
      EXPECT_EQ(texts[i]->position.x, rows[i].x) << rows[i].text;
      EXPECT_EQ(texts[i]->position.y, rows[i].y) << rows[i].text;
    }
    int labelFills = 0;
    for (const platform::GdiOp& op : rec.ops()) {
      if (op.kind != platform::GdiOp::kFillRect || !EqualRect(&op.rect, &planLabel)) continue;
      ++labelFills;
      EXPECT_EQ(op.brush.color, c.fill) << c.what;
    }
    EXPECT_EQ(labelFills, c.filled ? 1 : 0) << c.what;
    // The selected text is drawn in the highlight text colour only when highlighted.
    EXPECT_EQ(texts[3]->textColor, c.fill == kHighlight ? RGB(255, 255, 255) : RGB(0, 0, 0)) << c.what;
  }
}

}  // namespace
