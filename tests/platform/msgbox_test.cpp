#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/app.h"
#include "win/answers.h"
#include "win/msgbox.h"
#include "win/transcript.h"

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::clearAnswers(); }
  void TearDown() override { platform::clearAnswers(); }
};

TEST_F(MessageBoxTest, AnsweredFromTheQueueOrByDefault) {
  struct Case {
    const char* what;
    UINT type;
    std::vector<const char*> queued;
    int result;
    const char* shown;
    size_t left;
  };
  const std::vector<Case> cases = {
      {"answered from the queue", MB_YESNO | MB_ICONQUESTION, {"@msg IDNO"}, IDNO,
       "[提示] 是否覆盖已有的设计结果? [IDNO]\n", 0},
      {"no answer: the first button", MB_OK, {}, IDOK, "[提示] 是否覆盖已有的设计结果? [IDOK by default]\n", 0},
      {"no answer: the default button", MB_YESNO | MB_DEFBUTTON2, {}, IDNO,
       "[提示] 是否覆盖已有的设计结果? [IDNO by default]\n", 0},
      {"an answer that does not fit stays queued", MB_OKCANCEL, {"@msg IDYES"}, IDOK,
       "[提示] 是否覆盖已有的设计结果? [IDOK by default]\n", 1},
      {"the first answer that fits is taken", MB_OKCANCEL, {"@msg IDYES", "@msg IDCANCEL", "@msg IDOK"}, IDCANCEL,
       "[提示] 是否覆盖已有的设计结果? [IDCANCEL]\n", 2},
      {"a default button past the buttons", MB_OK | MB_DEFBUTTON3, {}, IDOK,
       "[提示] 是否覆盖已有的设计结果? [IDOK by default]\n", 0},
      {"retry and cancel", MB_RETRYCANCEL, {"@msg IDRETRY"}, IDRETRY, "[提示] 是否覆盖已有的设计结果? [IDRETRY]\n", 0},
  };
  for (const Case& c : cases) {
    platform::clearAnswers();
    for (const char* line : c.queued) ASSERT_TRUE(platform::queueAnswerLine(line)) << line;
    platform::TranscriptCapture shown;
    EXPECT_EQ(MessageBoxA(nullptr, "是否覆盖已有的设计结果?", "提示", c.type), c.result) << c.what;
    EXPECT_EQ(shown.text(), c.shown) << c.what;
    EXPECT_EQ(platform::pendingAnswers(), c.left) << c.what;
  }
}

TEST_F(MessageBoxTest, CaptionsAndQueueOrder) {
  platform::TranscriptCapture shown;
  EXPECT_EQ(AfxMessageBox("数据库连接失败，确认数据库是否存在!"), IDOK);
  EXPECT_EQ(MessageBox(nullptr, "text", nullptr, MB_OK), IDOK);
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDYES"));
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDNO"));
  EXPECT_EQ(AfxMessageBox("first?", MB_YESNO), IDYES);
  EXPECT_EQ(AfxMessageBox("second?", MB_YESNO), IDNO);
  EXPECT_EQ(shown.text(),
            "[cadhost] 数据库连接失败，确认数据库是否存在! [IDOK by default]\n"
            "[Error] text [IDOK by default]\n"
            "[cadhost] first? [IDYES]\n"
            "[cadhost] second? [IDNO]\n");
}

TEST_F(MessageBoxTest, AnswerLines) {
  struct Valid {
    const char* line;
    const char* kind;
    const char* text;
  };
  const std::vector<Valid> valid = {
      {"@msg IDYES", "msg", "IDYES"},
      {"  @msg   IDCANCEL \r\n", "msg", "IDCANCEL"},
      {"@file \"D:\\proj\\data\\A.dmx\"", "file", "path:D:\\proj\\data\\A.dmx"},
      {"@file \"D:\\my proj\\x.dmx\"", "file", "path:D:\\my proj\\x.dmx"},
      {"@file D:\\proj\\x.dmx", "file", "path:D:\\proj\\x.dmx"},
      {"@file cancel", "file", "cancel"},
      {"@file \"cancel\"", "file", "path:cancel"},  // quoted: a file named cancel
      {"@2001 1001=abc IDOK", "2001", "1001=abc IDOK"},
  };
  for (const Valid& c : valid) {
    platform::clearAnswers();
    std::string error;
    EXPECT_TRUE(platform::queueAnswerLine(c.line, &error)) << c.line << ": " << error;
    std::optional<std::string> taken = platform::takeAnswer(c.kind);
    ASSERT_TRUE(taken) << c.line;
    EXPECT_EQ(*taken, c.text) << c.line;
  }

  const char* invalid[] = {
      "",  "msg IDOK", "@", "@ msg IDOK", "@msg", "@msg IDMAYBE", "@msg idyes", "@msg IDYES IDNO",
      "@file", "@file \"D:\\x.dmx", "@file \"\"",
  };
  for (const char* line : invalid) {
    platform::clearAnswers();
    std::string error;
    EXPECT_FALSE(platform::queueAnswerLine(line, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
    EXPECT_EQ(platform::pendingAnswers(), 0u) << line;
  }
}

TEST_F(MessageBoxTest, FileAnswers) {
  platform::FileAnswer none = platform::takeFileAnswer();
  EXPECT_FALSE(none.answered);
  ASSERT_TRUE(platform::queueAnswerLine("@file \"D:\\proj\\data\\A.dmx\""));
  ASSERT_TRUE(platform::queueAnswerLine("@file cancel"));
  platform::queueAnswer("file", "Z:\\tmp\\b.dmx");  // queued by a test directly
  platform::FileAnswer a = platform::takeFileAnswer();
  EXPECT_TRUE(a.answered);
  EXPECT_FALSE(a.cancelled);
  EXPECT_EQ(a.path, "D:\\proj\\data\\A.dmx");
  platform::FileAnswer b = platform::takeFileAnswer();
  EXPECT_TRUE(b.answered);
  EXPECT_TRUE(b.cancelled);
  platform::FileAnswer c = platform::takeFileAnswer();
  EXPECT_TRUE(c.answered);
  EXPECT_FALSE(c.cancelled);
  EXPECT_EQ(c.path, "Z:\\tmp\\b.dmx");
}

TEST_F(MessageBoxTest, EachTakenAnswerKeepsTheQuestionThatTookIt) {
  // A box's text on one line (line ends and tabs a blank), cut to at most 80
  // bytes at a character's start: "填挖表 第1行 没有值 " is 28 bytes, each
  // character after it 3, so 17 of them fit (79 bytes); a file dialog by its
  // caption; an answer no question took is not listed.
  const std::string text = "填挖表\r\n第1行\t没有值\n一二三四五六七八九十一二三四五六七八九十";
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDOK", nullptr, "s.scr:3", 7));
  ASSERT_TRUE(platform::queueAnswerLine("@file \"D:\\a.dmx\"", nullptr, "s.scr:4", 7));
  ASSERT_TRUE(platform::queueAnswerLine("@msg IDNO", nullptr, "s.scr:5", 7));
  platform::TranscriptCapture shown;
  EXPECT_EQ(MessageBoxA(nullptr, text.c_str(), "提示", MB_OK), IDOK);
  EXPECT_EQ(platform::answerFileDialog("Open", "", "dmx").value_or(""), "D:\\a.dmx");
  EXPECT_EQ(MessageBoxA(nullptr, "short", nullptr, MB_OK), IDOK);  // IDNO does not fit: by default

  const std::vector<platform::TakenAnswer> taken = platform::takenAnswers();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].takenBy, "message box [提示] 填挖表 第1行 没有值 一二三四五六七八九十一二三四五六七...");
  EXPECT_EQ(platform::answerLineText(taken[0].answer), "@msg IDOK");
  EXPECT_EQ(taken[0].answer.where, "s.scr:3");
  EXPECT_EQ(taken[0].answer.group, 7);
  EXPECT_EQ(taken[1].takenBy, "file dialog [Open]");
  EXPECT_EQ(platform::answerLineText(taken[1].answer), "@file \"D:\\a.dmx\"");
  platform::clearAnswers();
  EXPECT_TRUE(platform::takenAnswers().empty());
}

}  // namespace
