// cadhost run as a program: its command line, its transcript and its exit status.
#include "cadhost_run.h"
#include "host_fixture.h"

namespace {

using cadhostrun::Outcome;
using Cadhost = cadhostrun::CadhostTest;

TEST_F(Cadhost, RunsTheKestrowStandIn) {
  Outcome r = run({"--load", "kestrow", "--run", "QUIB"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Command: QUIB\nKestrow stand-in: QUIB ran.\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(Cadhost, ModulesThatCannotLoadEndTheRun) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--load", "nosuch"}, "cadhost: cannot load module \"nosuch\": no such file "},
      {{"--install", testModules, "--load", "tm_noentry"},
       "cadhost: cannot load module \"tm_noentry\": no entry point acrxEntryPoint"},
      {{"--install", testModules, "--load", "tm_failinit"},
       "cadhost: cannot load module \"tm_failinit\": its initialisation failed"},
      {{"--install", testModules, "--load", "tm_alpha", "--load", "tm_clash"}, "Class mismatch: TmThing_alpha"},
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST_F(Cadhost, ScriptFilesAndRunLinesAreOneScript) {
  // A script file in GBK with CR LF line ends, as the users' editors write it.
  std::string script = file("a.scr", "ALPHA_ASK\r\n12.5,-3\r\n\r\n\"\xC0\xEF\xB3\xCC two\"\r\n");  // 里程
  Outcome r = run({"--install", testModules, "--load", "tm_alpha", "--script", script, "--run", "8", "--run",
               "ALPHA_BOX", "--run", "@msg IDNO"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("tm alpha: point rc=5100 12.500,-3.000,0.000\n"
                       "Real <2.5>: \n"
                       "tm alpha: real rc=5000 2.500\n"
                       "Name: 里程 two\n"
                       "tm alpha: string rc=5100 [里程 two]\n"
                       "Count <7>: 8\n"
                       "tm alpha: int rc=5100 8\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("box 7"), std::string::npos) << r.out;
  // Every module is unloaded at the end.
  EXPECT_EQ(r.out.substr(r.out.size() - 40), "tm alpha: message 4\ntm alpha: message 2\n");
}

TEST_F(Cadhost, AMissingAnswerEndsTheRunWithItsMessage) {
  Outcome r = run({"--install", testModules, "--load", "tm_alpha", "--run", "ALPHA_ASK 1,1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "cadhost: no answer left for the prompt \"Real <2.5>:\" of command ALPHA_ASK\n");
  EXPECT_NE(r.out.find("tm alpha: message 2"), std::string::npos);  // unloaded all the same
}

TEST_F(Cadhost, UnknownCommandsNameTheirPlace) {
  Outcome r = run({"--install", testModules, "--load", "tm_alpha", "--run", "ALPHA_HELLO", "--run", "ALPHA_HELLO FROB"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "cadhost: --run[2]:1: unknown command \"FROB\"\n");
}

TEST_F(Cadhost, TheNavigatorsWayOfStartingKestrow) {
  // Load by the module's Windows path from within a command, then the form it sends.
  std::string kestrow = windowsFormOf(std::string(RAIL_INSTALL_DIR) + "/kestrow.arx");
  Outcome r = run({"--install", testModules, "--load", "tm_alpha", "--run", "ALPHA_LOAD \"" + kestrow + "\"", "--run",
               "(command \"quib\")"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("tm alpha: load rc=5100\nCommand: quib\nKestrow stand-in: QUIB ran.\n"), std::string::npos)
      << r.out;
}

TEST_F(Cadhost, CommandLineMistakes) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"--frob"}, 1, "cadhost: unknown option --frob\nusage: cadhost"},
      {{"--load"}, 1, "cadhost: option --load needs a value\n"},
      {{"--svg-scale", "1:0"}, 1,
       "cadhost: option --svg-scale needs a plot scale, N or 1:N with N a positive number: 1:0\n"},
      {{"--svg-scale=abc"}, 1,
       "cadhost: option --svg-scale needs a plot scale, N or 1:N with N a positive number: abc\n"},
      {{"--svg-scale", "2000", "--run=QUIT"}, 0, ""},
      {{"--script", "/nonexistent/x.scr"}, 1, "cadhost: cannot read script file /nonexistent/x.scr"},
      {{"--help"}, 0, ""},
      {{"--run=QUIT", "--run", "NOSUCH"}, 0, ""},
      {{}, 0, ""},
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
  }
  EXPECT_NE(run({"--help"}).out.find("usage: cadhost [--install DIR]"), std::string::npos);
}

}  // namespace
