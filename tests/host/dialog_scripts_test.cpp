// Dialogs and windows driven by cadhost scripts: answers to nested questions,
// prompts and sent strings inside a dialog, window lines, the clock, and the
// ways a run fails.
#include "cadhost_run.h"

namespace {

using cadhostrun::Outcome;

struct FailedRun {
  std::string script;
  std::string error;  // what stderr holds after "cadhost: <script file>"
};

class DialogScripts : public cadhostrun::CadhostTest {
 protected:
  Outcome runScript(const std::string& text) {
    return run({"--install", testModules, "--load", "tm_dialogs", "--script", file("s.scr", text)});
  }
  // Each script fails with its error.
  void expectFailures(const std::vector<FailedRun>& cases) {
    for (const FailedRun& c : cases) {
      Outcome r = runScript(c.script);
      EXPECT_EQ(r.status, 1) << c.script;
      EXPECT_EQ(r.err, "cadhost: " + (m_dir / "s.scr").string() + c.error) << c.script;
    }
  }
};

using cadhostrun::count;
using cadhostrun::inOrder;

TEST_F(DialogScripts, AModalDialogAsksAFileDialogThatAsksAMessageBox) {
  Outcome r = runScript("DLG_ASK\n"
                        "@900 901=张三 902=1 903=乙 904 IDOK\n"
                        "@file \"D:\\proj\\data\\B\"\n"
                        "@msg IDNO\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"Command: DLG_ASK\n", "[测试对话框] 901=张三 902=1 903=乙 904 IDOK\n",
                              "[Open] D:\\proj\\data\\B.mdb\n", "[tm] 覆盖? [IDNO]\n",
                              "dlg: browse [D:\\proj\\data\\B.mdb] answer 7\n",
                              "dlg: result 1 name [张三] draw 1 choice [乙]\n"}))
      << r.out;
}

TEST_F(DialogScripts, APromptInsideAHandlerReadsTheNextLineOfTheScript) {
  Outcome r = runScript("DLG_ASK\n"
                        "@900 902=1 905 IDOK\n"
                        "1234.9,-56.7\n"
                        "DLG_HELLO\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"请在屏幕上采集绘图原点1234.9,-56.7\n", "dlg: picked rc=5100 1234.900,-56.700\n",
                              "dlg: result 1 name [无名] draw 1", "Command: DLG_HELLO\n", "dlg: hello\n"}))
      << r.out;
}

TEST_F(DialogScripts, AStringSentFromADialogRunsWhenItsCommandEndsBeforeTheNextLine) {
  Outcome r = runScript("DLG_ASK\n"
                        "@900 906 IDOK\n"
                        "DLG_STRINGS\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"dlg: sent\n", "dlg: result 1", "Command: DLG_HELLO\n", "dlg: hello\n",
                              "Command: DLG_STRINGS\n"}))
      << r.out;
}

TEST_F(DialogScripts, AFailingOKWithNothingQueuedEndsInCancelAndAFailedRun) {
  Outcome r = run({"--install", testModules, "--load", "tm_dialogs", "--run", "DLG_STRICT", "--run", "DLG_HELLO"}, 60);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_EQ(r.err, "cadhost: dialog 920 \"严格\" is still open after its default button\n");
  EXPECT_TRUE(inOrder(r.out, {"[严格] [IDOK by default]\n",
                              "[cadhost] Please enter an integer between 1 and 10. [IDOK by default]\n",
                              "[严格] [IDCANCEL]\n", "dlg: strict result 2 count 0\n"}))
      << r.out;
  EXPECT_EQ(r.out.find("dlg: hello"), std::string::npos);  // the run ends there
}

TEST_F(DialogScripts, AnAnswerThatNoQuestionTakesFailsTheRunNamingItsLine) {
  expectFailures({
      {"DLG_HELLO\n@msg IDYES\nDLG_HELLO\n", ":2: the answer \"@msg IDYES\" was never taken\n"},
      {"DLG_HELLO\nDLG_HELLO\n@900 IDOK\n", ":3: the answer \"@900 IDOK\" was never taken\n"},
      // Answers taken by dialogs alone, on other lines: nothing more to say.
      {"DLG_ASK\n@900 IDOK\nDLG_HELLO\n@msg IDOK\n", ":4: the answer \"@msg IDOK\" was never taken\n"},
  });
}

// An answer never taken: the error also says where the answers before it
// went, those of its own line and those from the line of the last message box
// that took one on, so that a box that took an answer meant for another is
// named. {s} stands for the script's path.
TEST_F(DialogScripts, AnAnswerNeverTakenNamesTheQuestionsThatTookTheAnswersBeforeIt) {
  const std::string dialog = " by dialog 900 [测试对话框]";
  const std::string file = " by file dialog [Open]";
  const std::string box = " by message box [tm] 覆盖?";
  const FailedRun cases[] = {
      // Its own line: the dialog took the first answer, the second waits for
      // a file dialog that never came.
      {"DLG_ASK\n@900 IDOK\n@file \"D:\\x.mdb\"\n",
       ":3: the answer \"@file \"D:\\x.mdb\"\" was never taken; the answers taken before it:\n"
       "  {s}:2: \"@900 IDOK\"" + dialog + "\n"},
      // A message box on an earlier line took the IDNO; the later line's
      // answer waits in vain: every answer from that box's line on is named.
      {"DLG_ASK\n@900 904 IDOK\n@file \"D:\\proj\\data\\B\"\n@msg IDNO\nDLG_ASK\n@900 IDOK\n"
       "DLG_HELLO\n@msg IDOK\n",
       ":8: the answer \"@msg IDOK\" was never taken; the answers taken before it:\n"
       "  {s}:2: \"@900 904 IDOK\"" + dialog + "\n  {s}:3: \"@file \"D:\\proj\\data\\B\"\"" + file +
       "\n  {s}:4: \"@msg IDNO\"" + box + "\n  {s}:6: \"@900 IDOK\"" + dialog + "\n"},
      // The box's line is the failing one: it is listed once.
      {"DLG_ASK\n@900 904 IDOK\n@file \"D:\\proj\\data\\B\"\n@msg IDYES\n@msg IDOK\n",
       ":5: the answer \"@msg IDOK\" was never taken; the answers taken before it:\n"
       "  {s}:2: \"@900 904 IDOK\"" + dialog + "\n  {s}:3: \"@file \"D:\\proj\\data\\B\"\"" + file +
       "\n  {s}:4: \"@msg IDYES\"" + box + "\n"},
  };
  const std::string path = (m_dir / "s.scr").string();
  for (const FailedRun& c : cases) {
    std::string expected = c.error;
    for (size_t at = expected.find("{s}"); at != std::string::npos; at = expected.find("{s}", at))
      expected.replace(at, 3, path);
    Outcome r = runScript(c.script);
    EXPECT_EQ(r.status, 1) << c.script;
    EXPECT_EQ(r.err, "cadhost: " + path + expected) << c.script;
  }
}

TEST_F(DialogScripts, WindowLinesActOnAnOpenModelessWindowInTurn) {
  Outcome r = runScript("DLG_OPEN\n"
                        "> 910 911=abc\n"
                        "> 910 913\n"
                        "DLG_STRINGS\n"
                        "> 910 912\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"Command: DLG_OPEN\n", "dlg: opened\n", "dlg: app message 1\n", "> 910 911=abc\n",
                              "dlg: modeless text [abc]\n", "> 910 913\n", "Command: DLG_HELLO\n", "dlg: hello\n",
                              "Command: DLG_STRINGS\n", "dlg: strings 1 [模块的] 0 []\n", "> 910 912\n",
                              "dlg: modeless deleted\n", "dlg: unload\n", "dlg: plain window gone\n"}))
      << r.out;
  // The message the dialog posted itself as it ended never reaches it.
  EXPECT_EQ(r.out.find("dlg: app message 2"), std::string::npos);
}

TEST_F(DialogScripts, WindowLinesThatCannotActFailTheRun) {
  expectFailures({
      {"DLG_HELLO\n> 910 911=x\n", ":2: no window 910 is open\n"},
      {"DLG_OPEN\nDLG_NAME\n> 910 911=x\n", ":3: a window action cannot answer a prompt: > 910 911=x\n"},
      {"DLG_OPEN\nDLG_OPEN\n> 910 #2 911=second\n> 910 911=x\n",
       ":4: 2 windows 910 are open: name one by \"caption\" or #n\n"},
      {"DLG_OPEN\n> 910 \"无模式\" 9999\n", ":2: word \"9999\": there is no control 9999\n"},
      {"DLG_OPEN\n> x 1\n", ":2: '>' names a window by its dialog template id, not \"x\"\n"},
      {"DLG_OPEN\n> 910 #x 911=x\n", ":2: #n counts the open windows from 1\n"},
      {"DLG_OPEN\n> 910 #2 911=x\n", ":2: no window 910 #2 is open\n"},
      {"DLG_OPEN\n> 910 \"别的\" 911=x\n", ":2: no window 910 \"别的\" is open\n"},
  });
  Outcome r = runScript("DLG_OPEN\nDLG_OPEN\n> 910 #2 911=second\n");
  EXPECT_EQ(count(r.out, "dlg: modeless text [second]"), 1u) << r.out;
}

TEST_F(DialogScripts, TimersRunOnlyWhenTheScriptLetsTheClockRun) {
  Outcome r = runScript("DLG_OPEN\n"
                        "DELAY 250\n"
                        "DELAY 99\n"
                        "DELAY 1\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // 250 ms cover two periods of 100 ms and give one tick; the next comes 100 ms later.
  EXPECT_EQ(count(r.out, "dlg: tick 1"), 2u) << r.out;
  EXPECT_TRUE(inOrder(r.out, {"(in milliseconds): 250\n", "dlg: tick 1\n", "(in milliseconds): 99\n",
                              "(in milliseconds): 1\n", "dlg: tick 1\n"}))
      << r.out;
  Outcome bad = run({"--run", "DELAY soon"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "cadhost: DELAY: \"soon\" is no number of milliseconds\n");
}

}  // namespace
