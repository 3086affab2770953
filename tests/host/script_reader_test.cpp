// The script reader: how script text becomes command-line tokens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx/edscript.h"
#include "win/answers.h"

namespace {

using platform::LispAtom;
using platform::ScriptReader;
using platform::ScriptToken;

// One token as the cases below write it: a word as itself, a quoted word as
// 'text', Enter as <>, a form as {item|item|...}, an error as !.
std::string show(const ScriptToken& t) {
  switch (t.kind) {
    case ScriptToken::Word: return t.quoted ? "'" + t.text + "'" : t.text;
    case ScriptToken::Enter: return "<>";
    case ScriptToken::Form: {
      std::string s = "{";
      for (size_t i = 0; i < t.items.size(); ++i) s += (i ? "|" : "") + t.items[i].text;
      return s + "}";
    }
    case ScriptToken::Window: return ">" + t.text;
    case ScriptToken::Error: return "!";
    case ScriptToken::End: return "$";
  }
  return "?";
}

std::vector<std::string> tokensOf(const std::string& text) {
  ScriptReader reader;
  reader.append("t", text);
  std::vector<std::string> out;
  for (int guard = 0; guard < 100; ++guard) {
    ScriptToken t = reader.next();
    if (t.kind == ScriptToken::End) break;
    out.push_back(show(t));
    if (t.kind == ScriptToken::Error) break;
  }
  return out;
}

struct TokenCase {
  const char* name;
  std::string text;
  std::vector<std::string> tokens;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class ScriptTokens : public ::testing::TestWithParam<TokenCase> {
 protected:
  void TearDown() override { platform::clearAnswers(); }
};

TEST_P(ScriptTokens, AreReadAsTheHostReadsScripts) {
  const TokenCase& c = GetParam();
  EXPECT_EQ(tokensOf(c.text), c.tokens) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ScriptTokens,
    ::testing::Values(
        TokenCase{"one command", "QUIB\n", {"QUIB"}},
        TokenCase{"last line without line end", "QUIB", {"QUIB"}},
        TokenCase{"blank at line end is Enter", "LINE 0,0 100,50 \n", {"LINE", "0,0", "100,50", "<>"}},
        TokenCase{"empty line is Enter", "A\n\nB\n", {"A", "<>", "B"}},
        TokenCase{"two blanks give an Enter", "A  B", {"A", "<>", "B"}},
        TokenCase{"tab separates", "A\tB", {"A", "B"}},
        TokenCase{"lone semicolon is Enter", "A\n;\nB", {"A", "<>", "B"}},
        TokenCase{"comment lines give nothing", "// a note\nA\n  // another, indented\n//\nB // no comment",
                  {"A", "B", "//", "no", "comment"}},
        TokenCase{"a comment as the last line", "A\n// the end", {"A"}},
        TokenCase{"semicolon inside a token is text", "a;b", {"a;b"}},
        TokenCase{"CR LF line ends", "A\r\nB\r\n", {"A", "B"}},
        TokenCase{"quoted string keeps blanks", "TEXT \"two words\" x", {"TEXT", "'two words'", "x"}},
        TokenCase{"quoted backslashes stay", "\"D:\\proj\\a b.dmx\"", {"'D:\\proj\\a b.dmx'"}},
        TokenCase{"empty quotes are Enter", "\"\"\nB", {"<>", "B"}},
        TokenCase{"quoted semicolon is text", "\";\"", {"';'"}},
        TokenCase{"unterminated quote", "\"open\nB", {"!"}},
        TokenCase{"text after closing quote", "\"ab\"cd", {"!"}},
        TokenCase{"command form with escapes", "(command \"script\" \"c:\\\\tmp\")\n",
                  {"{command|script|c:\\tmp}"}},
        TokenCase{"form then next line", "(command \"quib\")\nNEXT", {"{command|quib}", "NEXT"}},
        TokenCase{"form over several lines", "(command\n \"A\"\n)\nB", {"{command|A}", "B"}},
        TokenCase{"parenthesis inside a string", "(command \"a)b\")", {"{command|a)b}"}},
        TokenCase{"escaped quote inside a string", "(f \"say \\\"hi\\\"\")", {"{f|say \"hi\"}"}},
        TokenCase{"two forms back to back", "(command \"x\")(command \"y\")", {"{command|x}", "{command|y}"}},
        TokenCase{"nested list refused", "(foo (1 2))", {"!"}},
        TokenCase{"unbalanced form", "(foo \"a\"\nB", {"!"}},
        TokenCase{"answer line gives no token", "QUIB\n@msg IDYES\nNEXT\n", {"QUIB", "NEXT"}},
        // Above it no line raises a question it could answer.
        TokenCase{"answer line before any command refused", "@msg IDYES\nQUIB\n", {"!"}},
        TokenCase{"answer line after comments and Enter refused", "// c\n\n@msg IDYES\nQUIB\n", {"!"}},
        TokenCase{"bad answer line", "QUIB\n@msg MAYBE\n", {"!"}},
        TokenCase{"window line is one token", "QUIB\n> 2251 \"隧道\" 2011 219=\"a b\"  \nNEXT",
                  {"QUIB", ">2251 \"隧道\" 2011 219=\"a b\"", "NEXT"}},
        TokenCase{"window line after blanks", "  > 6 {PageDown}\n", {">6 {PageDown}"}},
        TokenCase{"greater sign inside a line is text", "A >B\n", {"A", ">B"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(ScriptLispForm, ItemsAreTypedAsWritten) {
  std::vector<LispAtom> items;
  std::string error;
  ASSERT_TRUE(platform::parseLispForm("(foo 12 -3 2.5 1e3 \"s t\" nil)", items, error)) << error;
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[0].kind, LispAtom::Symbol);
  EXPECT_EQ(items[1].kind, LispAtom::Integer);
  EXPECT_EQ(items[1].integer, 12);
  EXPECT_EQ(items[2].integer, -3);
  EXPECT_EQ(items[3].kind, LispAtom::Real);
  EXPECT_DOUBLE_EQ(items[3].real, 2.5);
  EXPECT_EQ(items[4].kind, LispAtom::Real);
  EXPECT_DOUBLE_EQ(items[4].real, 1000.0);
  EXPECT_EQ(items[5].kind, LispAtom::String);
  EXPECT_EQ(items[5].text, "s t");
  EXPECT_EQ(items[6].kind, LispAtom::Symbol);
  EXPECT_EQ(items[6].text, "nil");
}

TEST(ScriptLispForm, StringEscapes) {
  std::vector<LispAtom> items;
  std::string error;
  ASSERT_TRUE(platform::parseLispForm(R"((f "a\\b" "q\"" "n\nt\tr\r" "\101\60" "\x"))", items, error)) << error;
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[1].text, "a\\b");
  EXPECT_EQ(items[2].text, "q\"");
  EXPECT_EQ(items[3].text, "n\nt\tr\r");
  EXPECT_EQ(items[4].text, "A0");  // octal 101 is 'A', 60 is '0'
  EXPECT_EQ(items[5].text, "x");
}

TEST(ScriptLispForm, MalformedFormsAreRefused) {
  const char* bad[] = {"()", "(\"name first\")", "(f \"open)", "(f) x", "f"};
  for (const char* text : bad) {
    std::vector<LispAtom> items;
    std::string error;
    EXPECT_FALSE(platform::parseLispForm(text, items, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(ScriptReaderSources, AnswerLinesAreQueuedBeforeTheCommandAboveThemRuns) {
  platform::clearAnswers();
  ScriptReader reader;
  reader.append("t", "CMD\n@msg IDYES\n// the file it asks for\n@file \"D:\\a.dmx\"\nNEXT\n");
  ScriptToken t = reader.next();
  EXPECT_EQ(t.text, "CMD");
  EXPECT_EQ(platform::pendingAnswers(), 2u);  // both lines under CMD are there when CMD runs, a comment between
  EXPECT_EQ(reader.next().text, "NEXT");
  std::vector<platform::Answer> queued = platform::queuedAnswers();
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[0].where, "t:2");  // an answer names its line
  EXPECT_EQ(queued[1].where, "t:4");
  EXPECT_EQ(platform::takeAnswer("msg").value_or(""), "IDYES");
  platform::clearAnswers();
}

TEST(ScriptReaderSources, SentStringsAreNotPartOfTheScript) {
  ScriptReader reader;
  reader.append("s.scr", "A\nB\n");
  EXPECT_TRUE(reader.nextIsFromScript());
  EXPECT_EQ(reader.next().text, "A");
  reader.pushFront("sent string", "S\n", true);
  EXPECT_FALSE(reader.nextIsFromScript());
  EXPECT_EQ(reader.next().text, "S");
  EXPECT_TRUE(reader.nextIsFromScript());
  reader.pushTokens("args", {"T"});
  EXPECT_FALSE(reader.nextIsFromScript());
  EXPECT_EQ(reader.next().text, "T");
  EXPECT_EQ(reader.next().text, "B");
  EXPECT_FALSE(reader.nextIsFromScript());
}

TEST(ScriptReaderSources, AnswerLinesOfTheNextSourceBelongToTheLastCommand) {
  platform::clearAnswers();
  ScriptReader reader;
  reader.append("--run[1]", "BOX\n");
  reader.append("--run[2]", "@msg IDNO\n");
  reader.append("--run[3]", "NEXT\n");
  EXPECT_EQ(reader.next().text, "BOX");
  EXPECT_EQ(platform::pendingAnswers(), 1u);
  EXPECT_EQ(reader.next().text, "NEXT");
  platform::clearAnswers();
}

TEST(ScriptReaderSources, LineNumbersFollowFormsOverSeveralLines) {
  ScriptReader reader;
  reader.append("s.scr", "A\n(command\n\"x\")\nB\n");
  EXPECT_EQ(reader.next().where, "s.scr:1");
  EXPECT_EQ(reader.next().where, "s.scr:2");
  EXPECT_EQ(reader.next().where, "s.scr:4");
}

TEST(ScriptReaderSources, PushedSourcesComeFirstAndSourcesFollowEachOther) {
  ScriptReader reader;
  reader.append("a", "A1 A2\n");
  reader.append("b", "B1\n");
  EXPECT_EQ(reader.next().text, "A1");
  reader.pushFront("sent", "S1\n");
  reader.pushTokens("args", {"T1", ""});
  std::vector<std::string> rest;
  for (ScriptToken t = reader.next(); t.kind != ScriptToken::End; t = reader.next()) rest.push_back(show(t));
  EXPECT_EQ(rest, (std::vector<std::string>{"'T1'", "<>", "S1", "A2", "B1"}));
}

TEST(ScriptReaderSources, BoundaryStopsAtTheEndOfItsSource) {
  ScriptReader reader;
  reader.append("script", "AFTER\n");
  int id = reader.pushTokens("args", {"ONE"});
  EXPECT_EQ(reader.next(id).text, "ONE");
  EXPECT_EQ(reader.next(id).kind, ScriptToken::End);  // not AFTER
  EXPECT_FALSE(reader.contains(id));
  EXPECT_EQ(reader.next(id).kind, ScriptToken::End);
  EXPECT_EQ(reader.next().text, "AFTER");
}

TEST(ScriptReaderSources, DropThroughRemovesWhatIsLeftOfASourceAndWhatCameInFront) {
  ScriptReader reader;
  reader.append("script", "KEEP\n");
  int id = reader.pushTokens("args", {"X", "Y"});
  reader.pushFront("nested", "Z\n");
  reader.dropThrough(id);
  EXPECT_EQ(reader.next().text, "KEEP");
  EXPECT_EQ(reader.next().kind, ScriptToken::End);
}

}  // namespace
