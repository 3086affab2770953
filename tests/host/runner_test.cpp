// Scripts run against the test modules: prompts answered from the script,
// command strings sent while a command runs, the host's own commands and the
// ways a run ends.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "host_fixture.h"

namespace {

class Runner : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    load("tm_alpha");
    transcript.clear();
  }
  // Positions of `parts` on the transcript, each after the one before.
  bool inOrder(std::initializer_list<std::string> parts) const {
    size_t from = 0;
    for (const std::string& p : parts) {
      size_t pos = transcript.text().find(p, from);
      if (pos == std::string::npos) return false;
      from = pos + p.size();
    }
    return true;
  }
};

TEST_F(Runner, PromptsTakeTheScriptsTokens) {
  struct Case {
    const char* name;
    const char* script;
    const char* point;
    const char* real;
    const char* text;
    const char* count;
  } cases[] = {
      {"one answer a line, Enter for the defaults", "ALPHA_ASK\n12.5,-3\n\n\"two words\"\n\n",
       "point rc=5100 12.500,-3.000,0.000", "real rc=5000 2.500", "string rc=5100 [two words]", "int rc=5000 7"},
      {"answers on the command's line", "alpha_ask 1,1 4.5 name 3\n", "point rc=5100 1.000,1.000,0.000",
       "real rc=5100 4.500", "string rc=5100 [name]", "int rc=5100 3"},
      {"semicolons for Enter", "ALPHA_ASK @2,2\n;\n\"\"\n;\n", "point rc=5100 2.000,2.000,0.000",
       "real rc=5000 2.500", "string rc=5100 []", "int rc=5000 7"},
      {"a command form answers too", "ALPHA_ASK\n(command \"1,2\" \"\" \"nm\" 4)\n",
       "point rc=5100 1.000,2.000,0.000", "real rc=5000 2.500", "string rc=5100 [nm]", "int rc=5100 4"},
  };
  for (const auto& c : cases) {
    transcript.clear();
    const ads_point origin = {0, 0, 0};
    platform::setLastPoint(origin);
    platform::RunResult r = platform::runScriptText(c.script);
    EXPECT_TRUE(r.ok) << c.name << ": " << r.error;
    EXPECT_TRUE(inOrder({c.point, c.real, c.text, c.count})) << c.name << "\n" << transcript.text();
  }
}

TEST_F(Runner, PromptAnswersAreShownAfterTheirPrompts) {
  platform::runScriptText("ALPHA_ASK\n12.5,-3\n\n\"two words\"\n\n");
  EXPECT_TRUE(inOrder({"Command: ALPHA_ASK\n", "Point: 12.5,-3\n", "Real <2.5>: \n", "Name: two words\n",
                       "Count <7>: \n"}))
      << transcript.text();
}

TEST_F(Runner, ACommandSentWhileACommandRunsRunsAfterIt) {
  platform::RunResult r = platform::runScriptText("ALPHA_SEND\nALPHA_HELLO\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(inOrder({"Command: ALPHA_SEND", "tm alpha: sent", "Command: ALPHA_HELLO",
                       "hello from alpha, call 1", "Command: ALPHA_HELLO", "hello from alpha, call 2"}))
      << transcript.text();
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
}

TEST_F(Runner, AStringSentOutsideARunWaitsForTheNextOne) {
  acDocManager->sendStringToExecute(curDoc(), "ALPHA_HELLO\n");
  EXPECT_EQ(platform::pendingCommandStrings(), 1u);
  EXPECT_EQ(at("hello"), std::string::npos);
  EXPECT_TRUE(platform::runScriptText("").ok);
  EXPECT_NE(at("hello from alpha, call 1"), std::string::npos);
  EXPECT_EQ(acDocManager->sendStringToExecute(nullptr, "X\n"), Acad::eInvalidInput);
}

TEST_F(Runner, AMissingAnswerEndsTheRunNamingThePrompt) {
  platform::RunResult r = platform::runScriptText("ALPHA_ASK\n12.5,-3\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "no answer left for the prompt \"Real <2.5>:\" of command ALPHA_ASK");
  // The command's later prompts are cancelled at once.
  EXPECT_TRUE(inOrder({"Real <2.5>: *Cancel*\n", "real rc=-5002", "Name: *Cancel*\n", "string rc=-5002"}))
      << transcript.text();
  EXPECT_EQ(platform::runError(), r.error);
}

TEST_F(Runner, RunsEndAtTheFirstErrorWithItsPlace) {
  struct Case {
    const char* name;
    const char* script;
    const char* error;
    int hellos;  // how many ALPHA_HELLO ran
  } cases[] = {
      {"unknown command", "ALPHA_HELLO\nNOSUCH\nALPHA_HELLO\n", "s.scr:2: unknown command \"NOSUCH\"", 1},
      {"unknown function", "(nosuchfn 1)\nALPHA_HELLO\n", "s.scr:1: no function definition: nosuchfn", 0},
      {"bad answer line", "ALPHA_HELLO\n@msg PERHAPS\nALPHA_HELLO\n", "s.scr:2: '@msg' takes a button", 0},
      {"unbalanced form", "ALPHA_HELLO\n(command \"x\"\n", "s.scr:2: unbalanced parenthesis", 1},
      {"function call at a prompt", "ALPHA_ASK\n(tmalpha)\n", "s.scr:2: a function call cannot answer a prompt", 0},
      {"exception out of a command", "ALPHA_THROW\nALPHA_HELLO\n", "command ALPHA_THROW ended with an exception", 0},
      {"symbol given to command", "(command \"ALPHA_HELLO\" foo)\n", "only strings and numbers", 0},
  };
  for (const auto& c : cases) {
    transcript.clear();
    platform::RunResult r = platform::runScriptText(c.script, "s.scr");
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.name << ": " << r.error;
    size_t hellos = 0;
    for (size_t p = at("hello from alpha"); p != std::string::npos;
         p = transcript.text().find("hello from alpha", p + 1))
      ++hellos;
    EXPECT_EQ(hellos, static_cast<size_t>(c.hellos)) << c.name << "\n" << transcript.text();
  }
}

TEST_F(Runner, CommandNamesTakeThePrefixesOfTheCommandLine) {
  platform::RunResult r = platform::runScriptText("_ALPHA_HELLO\n'alpha_hi\n._Alpha_Hello\n(command \"alpha_hello\")\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_NE(at("call 4"), std::string::npos) << transcript.text();
}

TEST_F(Runner, LispFormsCallFunctionsAndShowTheirValue) {
  platform::RunResult r = platform::runScriptText("(tmalpha 1 2.5 \"a b\")\n(c:alpha_lisp)\nALPHA_LISP\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(inOrder({"Command: (tmalpha 1 2.5 \"a b\")\n", "\n\"i:1;r:2.5;s:a b;\"\n", "lisp command ran",
                       "Command: ALPHA_LISP", "lisp command ran"}))
      << transcript.text();
}

TEST_F(Runner, AnswerLinesAnswerTheCommandAboveThem) {
  platform::RunResult r = platform::runScriptText("ALPHA_BOX\n@msg IDNO\nALPHA_BOX\nALPHA_BOX\n@msg IDYES\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(inOrder({"[tm] 继续? [IDNO]", "box 7", "[tm] 继续? [IDYES by default]", "box 6", "[tm] 继续? [IDYES]",
                       "box 6"}))
      << transcript.text();
}

TEST_F(Runner, KeywordPrompts) {
  EXPECT_TRUE(platform::runScriptText("ALPHA_KWORD\nup\nx\n").ok);
  EXPECT_TRUE(inOrder({"Invalid option keyword.", "kword rc=5100 [eXit]"})) << transcript.text();
}

TEST_F(Runner, AcedCommandCancelsPromptsBeyondItsAnswers) {
  platform::RunResult r = platform::runScriptText("ALPHA_CMD\nALPHA_HELLO\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(inOrder({"Command: ALPHA_CMD", "Command: ALPHA_ASK", "point rc=5100 1.500,-2.000,0.000",
                       "real rc=5100 4.250", "string rc=5100 [two words]", "Count <7>: *Cancel*",
                       "int rc=-5002 7", "acedCommand rc=-5002", "Command: ALPHA_HELLO"}))
      << transcript.text();
}

TEST_F(Runner, AcedCommandOutsideARun) {
  const ads_point p = {3, 4, 0};
  EXPECT_EQ(acedCommand(RTSTR, "ALPHA_ASK", RTPOINT, p, RTSTR, "", RTSTR, "a b", RTSHORT, 9, RTNONE), RTNORM);
  EXPECT_TRUE(inOrder({"point rc=5100 3.000,4.000,0.000", "real rc=5000 2.500", "string rc=5100 [a b]",
                       "int rc=5100 9"}))
      << transcript.text();
  EXPECT_EQ(acedCommand(RTSTR, "NOSUCH", RTNONE), RTERROR);
  EXPECT_EQ(platform::runError(), "command answers: unknown command \"NOSUCH\"");
  EXPECT_EQ(acedCommand(RTLB, RTNONE), RTERROR);
  EXPECT_EQ(acedCommand(RTNONE), RTNORM);
  resbuf* list = acutBuildList(RTSTR, "ALPHA_HELLO", RTNONE);
  EXPECT_EQ(acedCmd(list), RTNORM);
  acutRelRb(list);
  EXPECT_NE(at("hello from alpha, call 1"), std::string::npos);
}

TEST_F(Runner, NamesTravelAsTokens) {
  const ads_name ss = {0x3a, 0};
  std::string token = platform::nameToken(RTPICKS, ss);
  EXPECT_EQ(token, "<picks:3a:0>");
  int type = 0;
  ads_name back = {0, 0};
  ASSERT_TRUE(platform::parseNameToken(token, type, back));
  EXPECT_EQ(type, RTPICKS);
  EXPECT_EQ(back[0], 0x3a);
  for (const char* bad : {"<picks:3a>", "picks:3a:0", "<other:1:2>", "<ename:zz:0>", "<ename::0>"})
    EXPECT_FALSE(platform::parseNameToken(bad, type, back)) << bad;
}

TEST_F(Runner, QuitEndsTheScriptWithoutAnError) {
  platform::RunResult r = platform::runScriptText("ALPHA_HELLO\nQUIT\nALPHA_HELLO\nNOSUCH\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.quit);
  EXPECT_NE(at("call 1"), std::string::npos);
  EXPECT_EQ(at("call 2"), std::string::npos);
}

// The SCRIPT command reads its file through the path resolver; each test has
// its own drive folders.
class ScriptCommand : public Runner {
 protected:
  void SetUp() override {
    Runner::SetUp();
    const char* old = std::getenv("CADHOST_DRIVE_ROOT");
    m_oldRoot = old ? old : "";
    m_hadRoot = old != nullptr;
    m_root = std::filesystem::path(::testing::TempDir()) /
             ("host-drives-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(m_root / "C");
    setenv("CADHOST_DRIVE_ROOT", m_root.c_str(), 1);
  }
  void TearDown() override {
    if (m_hadRoot) setenv("CADHOST_DRIVE_ROOT", m_oldRoot.c_str(), 1);
    else unsetenv("CADHOST_DRIVE_ROOT");
    std::filesystem::remove_all(m_root);
    Runner::TearDown();
  }
  void write(const std::string& relative, const std::string& text) {
    std::ofstream(m_root / relative, std::ios::binary) << text;
  }
  std::filesystem::path m_root;
  std::string m_oldRoot;
  bool m_hadRoot = false;
};

TEST_F(ScriptCommand, RunsTheFileTheModulesSendBeforeTheRestOfTheScript) {
  write("C/tmp.scr", "ALPHA_ASK 5,6 1 zoom 2\r\nALPHA_HELLO\r\n");
  // Exactly what the cross-section module sends to zoom.
  platform::sendCommandString("(command \"script\" \"c:\\\\tmp\")\n");
  platform::RunResult r = platform::runScriptText("ALPHA_HELLO\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(inOrder({"Command: script", "Enter script file name: c:\\tmp\n", "point rc=5100 5.000,6.000,0.000",
                       "string rc=5100 [zoom]", "call 1", "call 2"}))
      << transcript.text();
}

TEST_F(ScriptCommand, NamesWithAnExtensionAreTakenAsTheyAre) {
  write("C/run.txt", "ALPHA_HELLO\n");
  platform::RunResult r = platform::runScriptText("SCRIPT \"c:\\run.txt\"\nALPHA_HI\n");
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_NE(at("call 2"), std::string::npos) << transcript.text();
}

TEST_F(ScriptCommand, AMissingFileEndsTheRun) {
  platform::RunResult r = platform::runScriptText("SCRIPT c:\\nothere\nALPHA_HELLO\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "SCRIPT: cannot read script file \"c:\\nothere.scr\"");
  EXPECT_EQ(at("hello"), std::string::npos);
}

TEST_F(ScriptCommand, ErrorsInAScriptFileNameTheFileAndLine) {
  write("C/bad.scr", "ALPHA_HELLO\n\nNOSUCH\n");
  platform::RunResult r = platform::runScriptText("SCRIPT c:\\bad\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "c:\\bad.scr:3: unknown command \"NOSUCH\"");
}

// Scripts that cannot run as written end the run with their reason: scripts
// nested without end (a script that runs itself, two that run each other),
// answer lines of no known form, and an answer a prompt refuses outright.
TEST_F(ScriptCommand, ScriptsThatCannotRunAsWrittenEndTheRun) {
  const std::string nested = "\" (a script that runs itself, or scripts that run each other)";
  const std::string unknownForm = "': an answer line is @msg, @file, @menu or @<dialog id>";
  // A chain of sixteen scripts, each running the next: within the limit.
  std::vector<std::pair<std::string, std::string>> chain;
  for (int i = 1; i <= 16; ++i)
    chain.emplace_back("C/n" + std::to_string(i) + ".scr",
                       i < 16 ? "SCRIPT c:\\n" + std::to_string(i + 1) + "\n" : std::string("ALPHA_HELLO\n"));
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::string script;
    std::string error;  // "" for a run that ends well
  };
  const Case cases[] = {
      {"a script that runs itself", {{"C/loop.scr", "ALPHA_HELLO\nSCRIPT c:\\loop\n"}}, "SCRIPT c:\\loop\nALPHA_HI\n",
       "SCRIPT: scripts nested more than 16 deep at \"c:\\loop.scr" + nested},
      {"two scripts that run each other", {{"C/a.scr", "SCRIPT c:\\b\n"}, {"C/b.scr", "SCRIPT c:\\a\n"}},
       "SCRIPT c:\\a\n", "SCRIPT: scripts nested more than 16 deep at \"c:\\a.scr" + nested},
      {"sixteen nested scripts", chain, "SCRIPT c:\\n1\n", ""},
      {"a misspelt answer", {}, "ALPHA_BOX\n@mgs IDNO\nALPHA_HI\n", "s.scr:2: unknown answer '@mgs" + unknownForm},
      {"an answer of no kind", {}, "@foo\nALPHA_HI\n", "s.scr:1: unknown answer '@foo" + unknownForm},
      {"a name longer than its buffer", {}, "ALPHA_ASK\n1,2\n3\n" + std::string(140, 'x') + "\n4\nALPHA_HI\n",
       "the answer to \"Name:\" is refused (String too long.): \"" + std::string(40, 'x') + "...\", 140 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [file, text] : c.files) write(file, text);
    transcript.clear();
    platform::RunResult r = platform::runScriptText(c.script, "s.scr");
    EXPECT_EQ(r.ok, c.error.empty());
    EXPECT_EQ(r.error, c.error);
    // Nothing after the fault runs.
    if (!c.error.empty()) {
      EXPECT_EQ(at("ALPHA_HI"), std::string::npos) << transcript.text();
    }
    platform::clearAnswers();
  }
}

}  // namespace
