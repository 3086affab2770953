// cadhost as a command line a person types into (the terminal mode, forced by
// --interactive so that a pipe stands for the terminal): commands and prompt
// answers read line by line, a dialog with nothing queued listed and answered
// by typed words, a message box by a typed button, and errors that end only
// the line they came from.
#include "cadhost_run.h"

namespace {

using cadhostrun::Outcome;

class Terminal : public cadhostrun::CadhostTest {
 protected:
  Outcome type(const std::string& input) {
    return run({"--install", testModules, "--load", "tm_dialogs", "--interactive"}, 60, input);
  }
};

using cadhostrun::count;
using cadhostrun::inOrder;

TEST_F(Terminal, CommandsAndPromptAnswersAreReadLineByLine) {
  // The name is not on the command's line: the prompt reads the next line.
  Outcome r = type("DLG_NAME\nPeter\nDLG_HELLO\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"Command: DLG_NAME\n", "Name: Peter\n", "dlg: name rc=5100 [Peter]\n",
                              "Command: DLG_HELLO\n", "dlg: hello\n", "Command: \n"}))
      << r.out;
  // Each command shows once: the line typed is the transcript's.
  EXPECT_EQ(r.out.find("Command: DLG_NAME"), r.out.rfind("Command: DLG_NAME")) << r.out;
}

TEST_F(Terminal, ADialogListsItsControlsAndTakesTypedWords) {
  // Words that leave the dialog open, a word it cannot take, then Enter: its
  // default button (OK).
  Outcome r = type("DLG_ASK\n901=abc 902=1\n903=丁\n903=乙\n\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // The empty choice selects the first item whose text begins with it: 甲.
  // An edit or a combo box shows its label: the static text left of it on its
  // row (907), else the one above it (901, 903); a combo box its items.
  const std::string listed = "[测试对话框] dialog 900, words for it (Enter: IDOK):\n";
  EXPECT_TRUE(inOrder(r.out, {listed, "  901 edit [姓名] = \"无名\"\n", "  902 check \"绘图\" = 0\n",
                              "  903 combo [类别] = \"甲\" items \"甲\" \"乙\" \"丙\"\n", "  904 button \"浏览...\"\n",
                              "  905 button \"拾取 >\"\n", "  906 button \"发送\"\n", "  1 button \"OK\"\n",
                              "  2 button \"Cancel\"\n", "  907 edit [终止里程] = \"\"\n", "Words: 901=abc 902=1\n",
                              // Listed again with the values the words set.
                              listed, "  901 edit [姓名] = \"abc\"\n", "  902 check \"绘图\" = 1\n", "Words: 903=丁\n",
                              // The slip: the error and the one control, not the list.
                              "  word \"903=丁\": control 903 has no item \"丁\"\n",
                              "  903 combo [类别] = \"甲\" items \"甲\" \"乙\" \"丙\"\n", "Words: 903=乙\n", listed,
                              "  903 combo [类别] = \"乙\" items \"甲\" \"乙\" \"丙\"\n", "Words: \n",
                              "dlg: result 1 name [abc] draw 1 choice [乙]\n"}))
      << r.out;
}

// What a person types and what the terminal shows: each row's input, the
// lines that must show in that order, and how often the dialog's full list
// and an error may show.
TEST_F(Terminal, TypedLinesAndWhatTheyShow) {
  const std::string listed = "[测试对话框] dialog 900, words for it (Enter: IDOK):\n";
  struct Row {
    std::string typed;
    std::vector<std::string> shown;
    size_t lists;   // times the dialog's controls are listed
    size_t errors;  // lines naming an unknown command
  };
  const Row rows[] = {
      // An unknown command is reported once, naming the line typed.
      {"FROB\nDLG_HELLO\n", {"Command: FROB\n", "cadhost: terminal:1: unknown command \"FROB\"\n", "dlg: hello\n"}, 0, 1},
      {"DLG_HELLO\n\nFROB\n", {"dlg: hello\n", "cadhost: terminal:3: unknown command \"FROB\"\n"}, 0, 1},
      // The lines a dialog and a prompt read count too.
      {"DLG_ASK\n901=x\n\nDLG_NAME\nPeter\nFROB\n",
       {"Words: 901=x\n", "dlg: result 1 name [x]", "Name: Peter\n", "cadhost: terminal:6: unknown command \"FROB\"\n"},
       2,
       1},
      // A word for no control: its error alone, then the words are asked again.
      {"DLG_ASK\n999=1\nIDCANCEL\n",
       {"Words: 999=1\n", "  word \"999=1\": there is no control 999\nWords: IDCANCEL\n", "dlg: result 2 "},
       1,
       0},
      // A value an edit does not take is no slip; a check box's is: its line.
      {"DLG_ASK\n902=7\nIDCANCEL\n",
       {"Words: 902=7\n", "  word \"902=7\": ", "\n  902 check \"绘图\" = 0\nWords: IDCANCEL\n"},
       1,
       0},
      // A line of words that cannot be split: its error, asked again.
      {"DLG_ASK\n901=\"ab\n901=ab IDOK\n",
       {"Words: 901=\"ab\n", "  a quote is not closed in \"901=\"ab\"\nWords: 901=ab IDOK\n", "dlg: result 1 name [ab]"},
       1,
       0},
  };
  for (const Row& row : rows) {
    Outcome r = type(row.typed);
    EXPECT_EQ(r.status, 0) << row.typed << r.err;
    EXPECT_TRUE(inOrder(r.out, row.shown)) << row.typed << "\n" << r.out;
    EXPECT_EQ(count(r.out, listed), row.lists) << row.typed << "\n" << r.out;
    EXPECT_EQ(count(r.out, "nknown command"), row.errors) << row.typed << "\n" << r.out;
  }
}

TEST_F(Terminal, AMessageBoxListsItsButtonsAndTakesATypedOne) {
  // Browse: the file dialog takes its default path, then the message box asks;
  // a name that is no button of it is asked again.
  Outcome r = type("DLG_ASK\n904\nIDOK\nIDNO\nIDCANCEL\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"Words: 904\n", "[tm] 覆盖?\n", "  buttons: IDYES IDNO (Enter: IDYES)\n",
                              "Button: IDOK\n", "\"IDOK\" is not a button of this box\n", "Button: IDNO\n",
                              "[tm] 覆盖? [IDNO]\n", "answer 7\n", "Words: IDCANCEL\n", "dlg: result 2 "}))
      << r.out;
}

TEST_F(Terminal, AnErrorEndsOnlyItsLine) {
  Outcome r = type("FROB\nDLG_HELLO\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.out, {"cadhost: terminal:1: unknown command \"FROB\"\n", "Command: DLG_HELLO\n", "dlg: hello\n"}))
      << r.out;
  // Said once: the command line's own "Unknown command" is not repeated.
  EXPECT_EQ(r.out.find("Unknown command"), std::string::npos) << r.out;
}

TEST_F(Terminal, TheEndOfTheInputEndsTheRunAndAnOpenDialogTakesItsDefault) {
  // The input ends with the dialog open: its default button, as in a script.
  Outcome r = type("DLG_ASK\n901=xy");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("dlg: result 1 name [xy]"), std::string::npos) << r.out;
}

TEST_F(Terminal, OnlyATerminalOrTheOptionMakesTheTerminalMode) {
  // No script and an input that is no terminal: nothing is read, nothing waits.
  Outcome r = run({"--install", testModules, "--load", "tm_dialogs"}, 60, "DLG_HELLO\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("dlg: hello"), std::string::npos) << r.out;
  // A script never asks the terminal: the dialog takes its default button.
  r = run({"--install", testModules, "--load", "tm_dialogs", "--run", "DLG_ASK"}, 60, "901=no\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("[测试对话框] [IDOK by default]"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("dlg: result 1 name [无名]"), std::string::npos) << r.out;
  r = run({"--interactive", "--run", "QUIT"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cadhost: --interactive cannot go with --script or --run\n"), std::string::npos) << r.err;
}

TEST_F(Terminal, TimesGoToStderrOnePerCommand) {
  Outcome r = run({"--install", testModules, "--load", "tm_dialogs", "--times", "--run", "DLG_HELLO", "--run",
                   "DLG_NAME x"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(inOrder(r.err, {"time load tm_dialogs ", "time DLG_HELLO ", "time DLG_NAME "})) << r.err;
}

}  // namespace
