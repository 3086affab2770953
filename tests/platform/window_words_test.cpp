// Script words as the messages a user's input makes, modal dialogs answered
// from the answer queue, and dialog data exchange.
#include "arx/edcmdline.h"
#include "dialog_support.h"
#include "win/userinput.h"

namespace {

using namespace dialogtest;
using Words = DialogTest;

struct WordCase {
  const char* word;
  std::vector<std::string> messages;  // what the dialog hears, in order
  const char* error;                  // the word's failure (part of the reason), or null
  int focusAfter;                     // the control with the focus afterwards (0: not looked at)
};

TEST_F(Words, EachWordIsTheMessagesOfAUsersInput) {
  const WordCase cases[] = {
      {"1001=abc", {command(kEdit, EN_SETFOCUS), command(kEdit, EN_UPDATE), command(kEdit, EN_CHANGE)}, nullptr, kEdit},
      {"1001=\"a b\"", {command(kEdit, EN_SETFOCUS), command(kEdit, EN_UPDATE), command(kEdit, EN_CHANGE)}, nullptr, 0},
      {"1002=Beta",
       {command(kList, CBN_SETFOCUS), command(kList, CBN_DROPDOWN), command(kList, CBN_SELCHANGE),
        command(kList, CBN_CLOSEUP)},
       nullptr, kList},
      {"1003=Two",
       {command(kCombo, CBN_SETFOCUS), command(kCombo, CBN_DROPDOWN), command(kCombo, CBN_SELCHANGE),
        command(kCombo, CBN_CLOSEUP)},
       nullptr, 0},
      {"1003:=xyz", {command(kCombo, CBN_SETFOCUS), command(kCombo, CBN_EDITUPDATE), command(kCombo, CBN_EDITCHANGE)},
       nullptr, 0},
      {"1004=1", {command(kCheck, BN_CLICKED)}, nullptr, kCheck},
      {"1004=0", {}, nullptr, kButton3},  // already clear: nothing to click
      {"1006=1", {command(kRadio1, BN_CLICKED)}, nullptr, kRadio1},
      // A radio button is not cleared by clicking it.
      {"1005=0", {command(kRadio0, BN_CLICKED)}, "control 1005 did not become 0", 0},
      // The step is asked for, written into the buddy (which tells its change), then told.
      {"1008=+1",
       {notify(kUpDown, static_cast<int>(UDN_DELTAPOS), 1), command(kBuddy, EN_UPDATE), command(kBuddy, EN_CHANGE),
        "vscroll 4 1", "vscroll 8 0"},
       nullptr, kButton3},
      {"1008=-2",
       {notify(kUpDown, static_cast<int>(UDN_DELTAPOS), -1), command(kBuddy, EN_UPDATE), command(kBuddy, EN_CHANGE),
        "vscroll 4 0", "vscroll 8 0", notify(kUpDown, static_cast<int>(UDN_DELTAPOS), -1), command(kBuddy, EN_UPDATE),
        command(kBuddy, EN_CHANGE), "vscroll 4 0", "vscroll 8 0"},
       nullptr, 0},
      {"{Enter}", {command(kButton3, BN_CLICKED)}, nullptr, kButton3},  // Enter on a push button clicks it
      {"{Tab}", {command(kEdit, EN_SETFOCUS)}, nullptr, kEdit},
      {"{Shift+Tab}", {}, nullptr, IDCANCEL},  // back round the end of the tab order
      {"{Esc}", {command(IDCANCEL, BN_CLICKED)}, nullptr, 0},
      {"close", {command(IDCANCEL, BN_CLICKED)}, nullptr, 0},
      {"IDOK", {command(IDOK, BN_CLICKED), "OnOK"}, nullptr, 0},
      {"3", {command(kButton3, BN_CLICKED)}, nullptr, kButton3},
      {"wait=500", {}, nullptr, kButton3},
      {"9999", {}, "there is no control 9999", 0},
      {"3=1", {}, "control 3 is a button: it takes no value", 0},
      {"1002:=x", {}, "control 1002 has no edit field", 0},
      {"1002=Delta", {}, "control 1002 has no item \"Delta\"", 0},
      {"1008=7", {}, "control 1008 takes =+n or =-n", 0},
      {"{Ctrl+Nope}", {}, "unknown key \"Nope\"", 0},
      {"frob", {}, "unknown word", 0},
  };
  for (const WordCase& c : cases) {
    CLogDlg dlg;
    ASSERT_TRUE(dlg.Create(kTemplate));
    dlg.ShowWindow(SW_SHOW);
    platform::pumpMessages();
    ASSERT_EQ(dlg.focusId(), kButton3);
    dlg.log.clear();
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(platform::splitWords(c.word, words, error)) << c.word;
    bool ok = platform::playWords(dlg.m_hWnd, words, error);
    EXPECT_EQ(ok, c.error == nullptr) << c.word << ": " << error;
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.word << ": " << error;
    }
    EXPECT_EQ(dlg.log, c.messages) << c.word;
    if (c.focusAfter) {
      EXPECT_EQ(dlg.focusId(), c.focusAfter) << c.word;
    }
    dlg.DestroyWindow();
  }
}

TEST_F(Words, WordsLeaveTheirValuesInTheControlsAndOnlyDataExchangeTakesThemToMembers) {
  CLogDlg dlg;
  ASSERT_TRUE(dlg.Create(kTemplate));
  dlg.ShowWindow(SW_SHOW);
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(platform::splitWords("1001=\"D:\\my proj\\a.mdb\" 1002=Gamma 1003:=typed 1004=1 1006=1 1009=42 1012=1e3",
                                   words, error));
  ASSERT_TRUE(platform::playWords(dlg.m_hWnd, words, error)) << error;
  EXPECT_EQ(dlg.m_text, "init");  // untouched until data exchange
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_text, "D:\\my proj\\a.mdb");
  EXPECT_EQ(dlg.m_pick, 2);
  EXPECT_EQ(dlg.m_typed, "typed");
  EXPECT_EQ(dlg.m_check, 1);
  EXPECT_EQ(dlg.m_radio, 1);
  EXPECT_EQ(dlg.m_count, 42);
  EXPECT_DOUBLE_EQ(dlg.m_ratio, 1000.0);
  // The other way: members into the controls, numbers as the class library writes them.
  dlg.m_count = -7;
  dlg.m_ratio = 0.1;
  dlg.m_radio = 0;
  EXPECT_TRUE(dlg.UpdateData(FALSE));  // a value out of range is not checked when filling
  CString text;
  dlg.GetDlgItemText(kCount, text);
  EXPECT_EQ(text, "-7");
  dlg.GetDlgItemText(kRatio, text);
  EXPECT_EQ(text, "0.1");
  EXPECT_EQ(dlg.IsDlgButtonChecked(kRadio0), 1u);
  EXPECT_EQ(dlg.IsDlgButtonChecked(kRadio1), 0u);
}

TEST_F(Words, AModalDialogTakesItsAnswersAndValuesReachMembersOnlyThroughDataExchange) {
  {
    CLogDlg dlg;
    platform::queueAnswer("700", "1001=typed 1009=7 IDOK");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, "typed");
    EXPECT_EQ(dlg.m_count, 7);
    EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
  }
  {
    CLogDlg dlg;
    dlg.m_okWithoutData = true;  // an OnOK without UpdateData keeps the constructor's values
    platform::queueAnswer("700", "1001=typed 1009=7 IDOK");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, "init");
    EXPECT_EQ(dlg.m_count, 5);
  }
  EXPECT_TRUE(transcript.contains("[测试] 1001=typed 1009=7 IDOK\n"));
  EXPECT_EQ(platform::pendingAnswers(), 0u);
}

struct ExchangeCase {
  const char* typed;  // into the count (an int between 1 and 100000)
  bool ok;
  int value;            // the member afterwards (a number out of range is read before it is checked)
  const char* message;  // the message box, or null
};

TEST_F(Words, NumbersThatDoNotParseOrFallOutOfRangeShowTheirMessageAndKeepTheDialogOpen) {
  const ExchangeCase cases[] = {
      {"42", true, 42, nullptr},
      {"\"  42  \"", true, 42, nullptr},
      {"+3", true, 3, nullptr},
      {"12x", false, 5, "Please enter an integer."},
      {"\"\"", false, 5, "Please enter an integer."},
      {"4.5", false, 5, "Please enter an integer."},
      {"99999999999", false, 5, "Please enter an integer."},
      {"0", false, 0, "Please enter an integer between 1 and 100000."},
      {"100001", false, 100001, "Please enter an integer between 1 and 100000."},
  };
  for (const ExchangeCase& c : cases) {
    transcript.clear();
    CLogDlg dlg;
    // A second answer with the same count closes it when the first failed.
    platform::queueAnswer("700", std::string("1009=") + c.typed + " IDOK");
    INT_PTR result = dlg.DoModal();
    EXPECT_EQ(result, c.ok ? IDOK : IDCANCEL) << c.typed;
    EXPECT_EQ(dlg.m_count, c.value) << c.typed;
    if (!c.ok) {
      EXPECT_TRUE(transcript.contains(std::string("[cadhost] ") + c.message + " [IDOK by default]")) << transcript.text();
      EXPECT_EQ(dlg.m_focusAfterOk, kCount) << c.typed;  // the failed field has the focus back
      EXPECT_NE(platform::runError().find("dialog 700 \"测试\" is still open after its answers"), std::string::npos)
          << platform::runError();
    }
  }
}

TEST_F(Words, ADialogWithoutAnswersTakesItsDefaultButton) {
  CLogDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(transcript.contains("[测试] [IDOK by default]\n")) << transcript.text();
  EXPECT_EQ(dlg.m_count, 5);
}

TEST_F(Words, ADialogLeftOpenTakesTheNextAnswerAndWordsLeftAfterItClosesAreAnError) {
  {
    CLogDlg dlg;
    platform::queueAnswer("700", "1001=one");
    platform::queueAnswer("700", "1009=9 IDOK");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, "one");
    EXPECT_EQ(dlg.m_count, 9);
  }
  {
    CLogDlg dlg;
    platform::queueAnswer("700", "IDOK 1001=late", "s.scr:3");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(platform::runError(), "s.scr:3: dialog 700 closed before the words \"1001=late\"");
  }
  {
    CLogDlg dlg;
    // The words after the one that fails are dropped, not reported as left over.
    platform::queueAnswer("700", "1001=x frob 1009=4", "s.scr:7");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(platform::runError(),
              "s.scr:7: dialog 700 \"测试\" cannot take its answer: word \"frob\": unknown word");
  }
}

TEST_F(Words, InitialisationThatSetsTheFocusItselfStillOpensTheDialog) {
  CLogDlg dlg;
  dlg.m_setFocusItself = true;
  platform::queueAnswer("700", "{Esc}");
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_focusAtCancel, kCount);  // not moved to the first control
}

// A dialog that destroys itself from inside its modal loop.
class CVanishingDlg : public CLogDlg {
 public:
  void OnOK() override { DestroyWindow(); }
};

TEST_F(Words, AModalLoopEndsWhenItsDialogIsDestroyed) {
  CVanishingDlg dlg;
  platform::queueAnswer("700", "IDOK");
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(platform::windowCount(), 0u);
}

// The two ways a dialog's own filling may meet its change handlers.
class CFillDlg : public CDialog {
 public:
  explicit CFillDlg(UINT id) : CDialog(id) {}
  CString m_chainage, m_elevation, m_path = "D:\\a.mdb", m_connection;
  int m_changes = 0;
  bool m_nested = false;
  BOOL m_nestedResult = TRUE;

  void DoDataExchange(CDataExchange* pDX) override {
    if (m_nested) m_nestedResult = UpdateData(FALSE);
    DDX_Text(pDX, 44, m_chainage);
    DDX_Text(pDX, 45, m_elevation);
    DDX_Text(pDX, 217, m_path);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    // The filling above tells no change handler: the dialog runs it itself.
    OnChangePath();
    return TRUE;
  }
  // A query: new values, then the controls show them.
  afx_msg void OnQuery() {
    m_chainage = "DK1+234.50";
    m_elevation = "101.25";
    UpdateData(FALSE);
  }
  // Reads the values on every change of the elevation.
  afx_msg void OnChangeElevation() {
    ++m_changes;
    UpdateData(TRUE);
  }
  // Reads the path, derives from it and fills the controls again.
  afx_msg void OnChangePath() {
    ++m_changes;
    UpdateData(TRUE);
    m_connection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + m_path;
    m_chainage = "from " + m_path;
    UpdateData(FALSE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFillDlg, CDialog)
  ON_BN_CLICKED(39, &CFillDlg::OnQuery)
  ON_EN_CHANGE(45, &CFillDlg::OnChangeElevation)
  ON_EN_CHANGE(217, &CFillDlg::OnChangePath)
END_MESSAGE_MAP()

void registerFillTemplate() {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      EditText(44, 10, 10, 80, 14), EditText(45, 10, 30, 80, 14), EditText(217, 10, 50, 120, 14),
      PushButton("查询", 39, 10, 70, 40, 14),
  };
  static const platform::DialogResource dialogs[] = {
      {701, "填充", WS_POPUP | WS_CAPTION, 0, nullptr, 0, 0, 0, 150, 100, controls},
  };
  platform::registerResources({.dialogs = dialogs});
}

TEST_F(Words, ADialogsOwnFillingSendsNoChangeNotificationsToIt) {
  registerFillTemplate();
  CFillDlg dlg(701);
  ASSERT_TRUE(dlg.Create(701));
  dlg.ShowWindow(SW_SHOW);
  // The dialog ran its path handler itself, once, and its refill reached no handler.
  EXPECT_EQ(dlg.m_changes, 1);
  EXPECT_EQ(dlg.m_connection, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\a.mdb");
  CString shown;
  dlg.GetDlgItemText(44, shown);
  EXPECT_EQ(shown, "from D:\\a.mdb");
  // A query sets the members and shows them: the elevation's change handler
  // does not run in between to read the controls back over the members.
  std::string error;
  ASSERT_TRUE(platform::playWords(dlg.m_hWnd, {"39"}, error)) << error;
  EXPECT_EQ(dlg.m_changes, 1);
  EXPECT_EQ(dlg.m_chainage, "DK1+234.50");
  dlg.GetDlgItemText(45, shown);
  EXPECT_EQ(shown, "101.25");
  // A user's change tells the handler once.
  ASSERT_TRUE(platform::playWords(dlg.m_hWnd, {"45=99.5"}, error)) << error;
  EXPECT_EQ(dlg.m_changes, 2);
  EXPECT_EQ(dlg.m_elevation, "99.5");
  // The path handler's own refill does not call it again.
  ASSERT_TRUE(platform::playWords(dlg.m_hWnd, {"217=D:\\b.mdb"}, error)) << error;
  EXPECT_EQ(dlg.m_changes, 3);
  EXPECT_EQ(dlg.m_connection, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\b.mdb");
  dlg.GetDlgItemText(44, shown);
  EXPECT_EQ(shown, "from D:\\b.mdb");
  // An UpdateData inside the same window's UpdateData does nothing.
  dlg.m_nested = true;
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_FALSE(dlg.m_nestedResult);
  dlg.DestroyWindow();
}

}  // namespace
