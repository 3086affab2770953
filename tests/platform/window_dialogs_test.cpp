// The dialog manager's keyboard through the pump, the PreTranslateMessage
// walk, message-map order, the combo box's lists, the up-down's steps and
// dialog templates in dialog units.
#include "dialog_support.h"
#include "win/resources.h"
#include "win/userinput.h"

namespace {

using namespace dialogtest;
using Dialogs = DialogTest;

std::string play(CWnd& dlg, const std::string& line) {
  std::vector<std::string> words;
  std::string error;
  if (!platform::splitWords(line, words, error)) return error;
  platform::playWords(dlg.m_hWnd, words, error);
  return error;
}

// An edit that claims every key (as an in-place editor does) and writes down
// what it gets; losing the focus ends it.
class CClaimingEdit : public CEdit {
 public:
  std::vector<std::string>* log = nullptr;
  bool claim = true;
  afx_msg UINT OnGetDlgCode() { return claim ? DLGC_WANTALLKEYS : CEdit::OnGetDlgCode(); }
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags) {
    log->push_back("edit keydown " + std::to_string(ch) + (GetKeyState(VK_CONTROL) < 0 ? " with Ctrl" : ""));
    CEdit::OnKeyDown(ch, repeat, flags);
  }
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags) {
    log->push_back("edit char " + std::to_string(ch));
    CEdit::OnChar(ch, repeat, flags);
  }
  afx_msg void OnKillFocus(CWnd* newWnd) {
    CEdit::OnKillFocus(newWnd);
    log->push_back("edit ends, focus to " + std::to_string(newWnd ? newWnd->GetDlgCtrlID() : 0));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClaimingEdit, CEdit)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

class CClaimDlg : public CLogDlg {
 public:
  CClaimingEdit edit;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kEdit, edit);
    CLogDlg::DoDataExchange(pDX);
  }
};

struct KeyCase {
  const char* words;
  bool claimed;                       // the edit claims every key
  std::vector<std::string> messages;  // commands to the dialog and what the edit got
};

TEST_F(Dialogs, EnterAndEscGoToTheDefaultAndCancelButtonsUnlessTheControlClaimsThem) {
  const KeyCase cases[] = {
      // The dialog ends (a modeless one is hidden, taking the focus with it).
      {"{Enter}", false, {command(IDOK, BN_CLICKED), "OnOK", "edit ends, focus to 0"}},
      {"{Esc}", false, {command(IDCANCEL, BN_CLICKED), "edit ends, focus to 0"}},
      {"{Enter}", true, {"edit keydown 13", "edit char 13"}},
      {"{Esc}", true, {"edit keydown 27", "edit char 27"}},
      {"{Ctrl+V}", true, {"edit keydown 17 with Ctrl", "edit keydown 86 with Ctrl", "edit char 22"}},
  };
  for (const KeyCase& c : cases) {
    CClaimDlg dlg;
    dlg.edit.log = &dlg.log;
    dlg.edit.claim = c.claimed;
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    dlg.edit.SetFocus();
    platform::pumpMessages();
    dlg.log.clear();
    EXPECT_EQ(play(dlg, c.words), "") << c.words;
    std::vector<std::string> heard;
    for (const std::string& m : dlg.log)
      if (m.rfind("command " + std::to_string(kEdit), 0) != 0) heard.push_back(m);  // the edit's own notifications aside
    EXPECT_EQ(heard, c.messages) << c.words << (c.claimed ? " claimed" : "");
    dlg.DestroyWindow();
  }
}

TEST_F(Dialogs, KeysInAChildControlReachTheParentsPreTranslateMessage) {
  CClaimDlg dlg;
  dlg.edit.log = &dlg.log;
  dlg.m_consumePageDown = true;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  dlg.edit.SetFocus();
  platform::pumpMessages();
  dlg.log.clear();
  EXPECT_EQ(play(dlg, "{PageDown}"), "");
  // The dialog took the key before the edit (which claims every key) saw it.
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"pretranslate PageDown at 1001"}));
  dlg.m_consumePageDown = false;
  dlg.log.clear();
  EXPECT_EQ(play(dlg, "{PageDown}"), "");
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"pretranslate PageDown at 1001", "edit keydown 34"}));
  dlg.DestroyWindow();
}

TEST_F(Dialogs, AClickOnOKFirstEndsTheEditThatHasTheFocus) {
  CClaimDlg dlg;
  dlg.edit.log = &dlg.log;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  dlg.edit.SetFocus();
  platform::pumpMessages();
  dlg.log.clear();
  EXPECT_EQ(play(dlg, "IDOK"), "");
  EXPECT_EQ(dlg.log, (std::vector<std::string>{command(kEdit, EN_KILLFOCUS), "edit ends, focus to 1",
                                               command(IDOK, BN_CLICKED), "OnOK"}));
  dlg.DestroyWindow();
}

TEST_F(Dialogs, TabAndArrowsMoveTheFocusInTabOrderAndWithinAGroup) {
  CLogDlg dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  platform::pumpMessages();
  struct Step {
    const char* words;
    int focus;
  } steps[] = {
      {"{Tab}", kEdit},        {"{Tab}", kList},      {"{Shift+Tab}", kEdit}, {"1006=1 {Left}", kRadio0},
      {"{Right}", kRadio1},    {"{Right}", kRadio0},  {"{Tab}", kRadio1},     {"{Tab}", kBuddy},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(play(dlg, s.words), "") << s.words;
    EXPECT_EQ(dlg.focusId(), s.focus) << s.words;
  }
  // An arrow in a group of automatic radio buttons checks the one it comes to.
  EXPECT_EQ(dlg.IsDlgButtonChecked(kRadio0), 1u);
  EXPECT_EQ(dlg.IsDlgButtonChecked(kRadio1), 0u);
  dlg.DestroyWindow();
}

// Two overlapping command ranges and a derived class's own entry.
class CRangeDlg : public CDialog {
 public:
  CRangeDlg() : CDialog(kTemplate) {}
  std::vector<std::string> log;
  afx_msg void OnConsumed(UINT id) { log.push_back("consumed " + std::to_string(id)); }
  afx_msg void OnOpen(UINT id) { log.push_back("open " + std::to_string(id)); }
  afx_msg void OnNotified(UINT id, NMHDR* nm, LRESULT* result) {
    log.push_back("notified " + std::to_string(id) + " " + std::to_string(static_cast<int>(nm->code)));
    *result = 7;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRangeDlg, CDialog)
  ON_COMMAND_RANGE(2314, 2414, &CRangeDlg::OnConsumed)
  ON_COMMAND_RANGE(2315, 2415, &CRangeDlg::OnOpen)
  ON_NOTIFY_RANGE(NM_DBLCLK, 2000, 2100, &CRangeDlg::OnNotified)
END_MESSAGE_MAP()

class CDerivedRangeDlg : public CRangeDlg {
 public:
  afx_msg void OnOwn() { log.push_back("derived 2320"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedRangeDlg, CRangeDlg)
  ON_COMMAND(2320, &CDerivedRangeDlg::OnOwn)
END_MESSAGE_MAP()

TEST_F(Dialogs, AMessageGoesToTheFirstEntryThatTakesItTheClassBeforeItsBases) {
  CDerivedRangeDlg dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  for (WORD id : {2313, 2314, 2316, 2414, 2415, 2320}) dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"consumed 2314", "consumed 2316", "consumed 2414", "open 2415",
                                               "derived 2320"}));
  NMHDR nm{dlg.m_hWnd, 2062, static_cast<UINT>(NM_DBLCLK)};
  dlg.log.clear();
  EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 2062, reinterpret_cast<LPARAM>(&nm)), 7);
  nm.code = static_cast<UINT>(NM_CLICK);
  EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 2062, reinterpret_cast<LPARAM>(&nm)), 0);
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"notified 2062 -3"}));
  dlg.DestroyWindow();
}

TEST_F(Dialogs, SortedCombosAddInTextOrderAndInsertStringNeverSorts) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  CComboBox sorted, plain;
  ASSERT_TRUE(sorted.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, CRect(0, 0, 100, 200), &parent, 1));
  ASSERT_TRUE(plain.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 30, 100, 200), &parent, 2));
  for (const char* s : {"左线", "基线", "b", "右线", "A"}) {
    sorted.AddString(s);
    plain.AddString(s);
  }
  sorted.InsertString(0, "zz");
  plain.InsertString(1, "zz");
  auto items = [](CComboBox& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.GetCount(); ++i) {
      CString t;
      c.GetLBText(i, t);
      out.push_back(t.str());
    }
    return out;
  };
  // Letters without regard to case, Chinese text in the order of its GBK bytes (by pronunciation).
  EXPECT_EQ(items(sorted), (std::vector<std::string>{"zz", "A", "b", "基线", "右线", "左线"}));
  EXPECT_EQ(items(plain), (std::vector<std::string>{"左线", "zz", "基线", "b", "右线", "A"}));
  EXPECT_EQ(sorted.FindStringExact(-1, "B"), 2);
  EXPECT_EQ(sorted.FindString(-1, "右"), 4);
  EXPECT_EQ(sorted.SelectString(-1, "左"), 5);
  CString text;
  sorted.GetWindowText(text);
  EXPECT_EQ(text, "左线");
  EXPECT_EQ(sorted.DeleteString(0), 5);
  EXPECT_EQ(sorted.GetCurSel(), 4);  // the selection moves with its item
  EXPECT_EQ(sorted.SetCurSel(9), CB_ERR);
  EXPECT_EQ(sorted.GetCurSel(), -1);
  parent.DestroyWindow();
}

TEST_F(Dialogs, AnUpDownStepsWithinItsRangeUnlessTheParentRefuses) {
  CLogDlg dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  CSpinButtonCtrl* spin = static_cast<CSpinButtonCtrl*>(dlg.GetDlgItem(kUpDown));
  spin->SetRange(0, 3);
  spin->SetPos(2);
  CString buddy;
  dlg.GetDlgItemText(kBuddy, buddy);
  EXPECT_EQ(buddy, "2");
  EXPECT_EQ(play(dlg, "1008=+5"), "");
  EXPECT_EQ(spin->GetPos(), 3);  // held at the end of the range
  dlg.m_refuseSteps = true;
  EXPECT_EQ(play(dlg, "1008=-1"), "");
  EXPECT_EQ(spin->GetPos(), 3);
  dlg.m_refuseSteps = false;
  spin->ModifyStyle(0, UDS_WRAP);
  EXPECT_EQ(play(dlg, "1008=+1"), "");
  EXPECT_EQ(spin->GetPos(), 0);  // past the end it wraps
  dlg.GetDlgItemText(kBuddy, buddy);
  EXPECT_EQ(buddy, "0");
  // The buddy is the control before it; the up-down sits at its right edge.
  EXPECT_EQ(spin->GetBuddy()->GetDlgCtrlID(), kBuddy);
  CRect b, u;
  dlg.GetDlgItem(kBuddy)->GetWindowRect(&b);
  spin->GetWindowRect(&u);
  EXPECT_EQ(u.left, b.right);
  EXPECT_EQ(u.top, b.top);
  dlg.DestroyWindow();
}

// A step count of any size: the clicks that have an effect are played (the
// control held at its end, or come round on one that wraps); more than 10000
// clicks within a range that large are refused.
TEST_F(Dialogs, AnUpDownStepCountIsBoundedByItsRange) {
  struct Case {
    int lower, upper, start;
    bool wrap;
    const char* word;
    int pos;            // the position after the word
    const char* error;  // part of the word's failure, or "" when it plays
  };
  const Case cases[] = {
      {0, 3, 2, false, "1008=+2147483647", 3, ""},
      {0, 3, 2, false, "1008=-2147483648", 0, ""},
      {0, 3, 2, false, "1008=+99999", 3, ""},
      {3, 0, 2, false, "1008=+5", 3, ""},  // the range given the other way round
      {0, 3, 2, true, "1008=+9", 3, ""},    // 2 -> 3 -> 0 ... nine clicks: 9 mod 4 = 1 click
      {0, 3, 2, true, "1008=-8", 2, ""},    // two whole turns: where it was
      {0, 3, 2, false, "1008=+2147483648", 2, "takes =+n or =-n"},
      {-2147483647 - 1, 2147483647, 0, false, "1008=+99999", 0, "takes at most 10000 steps"},
      {-2147483647 - 1, 2147483647, 0, false, "1008=-2147483648", 0, "takes at most 10000 steps"},
      {-20000, 20000, 0, false, "1008=+10001", 0, "takes at most 10000 steps"},
      {-20000, 20000, 0, false, "1008=-3", -3, ""},
  };
  for (const Case& c : cases) {
    CLogDlg dlg;
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    CSpinButtonCtrl* spin = static_cast<CSpinButtonCtrl*>(dlg.GetDlgItem(kUpDown));
    spin->SetRange32(c.lower, c.upper);
    spin->SetPos32(c.start);
    if (c.wrap) spin->ModifyStyle(0, UDS_WRAP);
    const std::string error = play(dlg, c.word);
    if (*c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.word << ": " << error;
    } else {
      EXPECT_EQ(error, "") << c.word;
    }
    EXPECT_EQ(spin->GetPos32(), c.pos) << c.word;
    dlg.DestroyWindow();
  }
}

TEST_F(Dialogs, TemplatesAreLaidOutInDialogUnitsOfTheirFont) {
  CLogDlg dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  // 宋体 9 points: 12 pixels high, 6 wide; a dialog unit is a quarter of the
  // width and an eighth of the height.
  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300);   // 200 units
  EXPECT_EQ(client.Height(), 240);  // 160 units
  CRect edit;
  dlg.GetDlgItem(kEdit)->GetWindowRect(&edit);
  dlg.ScreenToClient(&edit);
  EXPECT_EQ(edit, CRect(15, 45, 135, 66));  // (10, 30) 80 x 14 units
  CRect units(10, 30, 90, 44);
  ::MapDialogRect(dlg.m_hWnd, &units);
  EXPECT_EQ(units, edit);
  EXPECT_EQ(platform::dialogTemplateId(dlg.m_hWnd), kTemplate);
  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(caption, "测试");
  dlg.DestroyWindow();
  // A template that is not registered opens nothing.
  CDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_TRUE(transcript.contains("no dialog template 4242"));
}

TEST_F(Dialogs, AChoiceInASimpleComboIsASelectionChangeOnly) {
  CLogDlg host;  // a window to hold the combo box and hear it
  ASSERT_TRUE(host.Create(kTemplate));
  host.ShowWindow(SW_SHOW);
  CComboBox simple;
  ASSERT_TRUE(simple.Create(WS_VISIBLE | WS_TABSTOP | CBS_SIMPLE, CRect(170, 100, 290, 190), &host, 77));
  for (const char* s : {"东", "西"}) simple.AddString(s);
  platform::pumpMessages();
  host.log.clear();
  EXPECT_EQ(play(host, "77=西"), "");
  EXPECT_EQ(host.log, (std::vector<std::string>{command(77, CBN_SETFOCUS), command(77, CBN_SELCHANGE)}));
  CString text;
  simple.GetWindowText(text);
  EXPECT_EQ(text, "西");
  host.DestroyWindow();
}

TEST_F(Dialogs, StringsMenusAndIconsComeFromTheRunningModulesTablesThenThePlatforms) {
  static const uint32_t pixels[] = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000};
  static const platform::IconResource icons[] = {{2012, 2, 2, pixels}};
  static const platform::MenuItemResource items[] = {
      {"增加行", 0, MF_POPUP}, {"之前增加", 21, 0}, {"之后增加", 23, MF_END}, {"删除行", 17, MF_END}};
  static const platform::MenuResource menus[] = {{19, items}};
  platform::registerResources({.menus = menus, .icons = icons});
  HICON icon = AfxGetApp()->LoadIcon(2012);
  ASSERT_NE(icon, nullptr);
  std::shared_ptr<const platform::IconTemplate> shown = platform::iconOf(icon);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->width, 2);
  EXPECT_EQ(shown->argb.size(), 4u);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(platform::iconOf(icon), nullptr);
  EXPECT_EQ(AfxGetApp()->LoadIcon(2013), nullptr);
  EXPECT_NE(AfxGetApp()->LoadStandardIcon(IDI_APPLICATION), nullptr);
  std::shared_ptr<const std::vector<platform::MenuItemTemplate>> menu = platform::findMenuTemplate(19);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->size(), 4u);
  EXPECT_EQ((*menu)[2].text, "之后增加");
  EXPECT_EQ((*menu)[2].id, 23u);
  EXPECT_EQ((*menu)[3].flags, static_cast<UINT>(MF_END));

  platform::registerResourceString(51, "平台的");
  CString s;
  EXPECT_TRUE(s.LoadString(51));
  EXPECT_EQ(s, "平台的");
  char buf[8];
  EXPECT_EQ(LoadString(nullptr, 51, buf, sizeof buf), 6);  // cut to whole characters: 平台 (6 bytes)
  EXPECT_STREQ(buf, "平台");
  EXPECT_FALSE(s.LoadString(52));
}

}  // namespace
