// The editor's input functions, answered through the prompt queue.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "arx/arx.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace {

class Prompts : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::clearPromptTokens();
    const ads_point last = {1, 2, 0};
    platform::setLastPoint(last);
  }
  void TearDown() override {
    platform::clearPromptTokens();
    platform::clearAnswers();
    acedInitGet(0, nullptr);
  }
  static void answers(const std::vector<std::string>& tokens) {
    for (const std::string& t : tokens) platform::queuePromptToken(t);
  }
  platform::TranscriptCapture transcript;
};

struct PointCase {
  const char* name;
  std::vector<std::string> tokens;
  int rc;
  double x, y, z;
  const char* shown;  // a message the prompt showed, or ""
};

TEST_F(Prompts, GetPointReadsAbsoluteRelativeAndPolarInput) {
  // The last point is (1, 2, 0) before every case.
  const PointCase cases[] = {
      {"2D point", {"12.5,-3"}, RTNORM, 12.5, -3, 0, ""},
      {"3D point", {"1,2,3"}, RTNORM, 1, 2, 3, ""},
      {"signs and exponent", {"+1.5,1e1"}, RTNORM, 1.5, 10, 0, ""},
      {"relative", {"@3,4"}, RTNORM, 4, 6, 0, ""},
      {"relative 3D", {"@2,1,5"}, RTNORM, 3, 3, 5, ""},
      {"the last point", {"@"}, RTNORM, 1, 2, 0, ""},
      {"polar from the origin", {"5<90"}, RTNORM, 0, 5, 0, ""},
      {"relative polar", {"@10<180"}, RTNORM, -9, 2, 0, ""},
      {"Enter", {""}, RTNONE, 0, 0, 0, ""},
      {"bad then good", {"abc", "3,3"}, RTNORM, 3, 3, 0, "Invalid point."},
      {"four values then Enter", {"1,2,3,4", ""}, RTNONE, 0, 0, 0, "Invalid point."},
      {"empty value", {"1,,2"}, RTCAN, 0, 0, 0, "Invalid point."},
      {"not finite", {"nan,1"}, RTCAN, 0, 0, 0, "Invalid point."},
      {"no answer", {}, RTCAN, 0, 0, 0, "*Cancel*"},
  };
  for (const PointCase& c : cases) {
    SetUp();
    transcript.clear();
    answers(c.tokens);
    ads_point p = {0, 0, 0};
    EXPECT_EQ(acedGetPoint(nullptr, "Point: ", p), c.rc) << c.name;
    if (c.rc == RTNORM) {
      EXPECT_NEAR(p[0], c.x, 1e-12) << c.name;
      EXPECT_NEAR(p[1], c.y, 1e-12) << c.name;
      EXPECT_NEAR(p[2], c.z, 1e-12) << c.name;
      ads_point last;
      platform::lastPoint(last);
      EXPECT_NEAR(last[0], c.x, 1e-12) << c.name << ": the point given becomes the last point";
    }
    EXPECT_TRUE(transcript.contains(c.shown)) << c.name << "\n" << transcript.text();
  }
}

struct NumberCase {
  const char* name;
  int initFlags;
  std::vector<std::string> tokens;
  int rc;
  double value;  // the result, or the untouched start value for RTNONE/RTCAN
  const char* shown;
};

TEST_F(Prompts, GetRealChecksNumbersAndRestrictions) {
  const NumberCase cases[] = {
      {"number", 0, {"2.75"}, RTNORM, 2.75, ""},
      {"negative", 0, {"-3"}, RTNORM, -3, ""},
      {"Enter keeps the default", 0, {""}, RTNONE, 99, ""},
      {"text then number", 0, {"x", "4"}, RTNORM, 4, "Requires numeric value."},
      {"trailing junk", 0, {"4m", "5"}, RTNORM, 5, "Requires numeric value."},
      {"no negative", RSG_NONEG, {"-1", "2"}, RTNORM, 2, "Value must be positive."},
      {"no zero", RSG_NOZERO, {"0", "5"}, RTNORM, 5, "Value must be nonzero."},
      {"no Enter", RSG_NONULL, {"", "1"}, RTNORM, 1, "Requires a value."},
  };
  for (const NumberCase& c : cases) {
    SetUp();
    transcript.clear();
    answers(c.tokens);
    acedInitGet(c.initFlags, nullptr);
    double v = 99;
    EXPECT_EQ(acedGetReal("Real: ", &v), c.rc) << c.name;
    EXPECT_DOUBLE_EQ(v, c.value) << c.name;
    EXPECT_TRUE(transcript.contains(c.shown)) << c.name << "\n" << transcript.text();
  }
}

TEST_F(Prompts, GetIntTakesWholeNumbersOfTheEditorsRange) {
  const NumberCase cases[] = {
      {"integer", 0, {"42"}, RTNORM, 42, ""},
      {"smallest", 0, {"-32768"}, RTNORM, -32768, ""},
      {"largest", 0, {"32767"}, RTNORM, 32767, ""},
      {"fraction", 0, {"1.5", "2"}, RTNORM, 2, "Requires an integer value."},
      {"too large", 0, {"40000", "3"}, RTNORM, 3, "Requires an integer between -32768 and 32767."},
      {"Enter", 0, {""}, RTNONE, 99, ""},
      {"no zero", RSG_NOZERO, {"0", "-2"}, RTNORM, -2, "Value must be nonzero."},
  };
  for (const NumberCase& c : cases) {
    SetUp();
    transcript.clear();
    answers(c.tokens);
    acedInitGet(c.initFlags, nullptr);
    int v = 99;
    EXPECT_EQ(acedGetInt("Int: ", &v), c.rc) << c.name;
    EXPECT_EQ(v, static_cast<int>(c.value)) << c.name;
    EXPECT_TRUE(transcript.contains(c.shown)) << c.name << "\n" << transcript.text();
  }
}

TEST_F(Prompts, GetDistTakesANumberOrPoints) {
  const ads_point origin = {0, 0, 0};
  struct DistCase {
    const char* name;
    bool withBase;
    int flags;
    std::vector<std::string> tokens;
    int rc;
    double value;
  } cases[] = {
      {"number", true, 0, {"2.5"}, RTNORM, 2.5},
      {"point from the base", true, 0, {"3,4"}, RTNORM, 5},
      {"3D distance", true, 0, {"3,4,12"}, RTNORM, 13},
      {"flat distance", true, RSG_2D, {"3,4,12"}, RTNORM, 5},
      {"two points without base", false, 0, {"1,1", "7,9"}, RTNORM, 10},
      {"negative refused", true, RSG_NONEG, {"-2", "2"}, RTNORM, 2},
      {"Enter", true, 0, {""}, RTNONE, 99},
  };
  for (const DistCase& c : cases) {
    SetUp();
    answers(c.tokens);
    acedInitGet(c.flags, nullptr);
    double v = 99;
    EXPECT_EQ(acedGetDist(c.withBase ? origin : nullptr, "Distance: ", &v), c.rc) << c.name;
    EXPECT_DOUBLE_EQ(v, c.value) << c.name;
  }
}

TEST_F(Prompts, GetStringIsBoundedByItsBuffer) {
  char buf[ACED_INPUT_BUFFER];
  answers({"two words", "", std::string(132, 'x'), std::string(133, 'y')});
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTNORM);
  EXPECT_STREQ(buf, "two words");
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTNORM);  // Enter is an empty string
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTNORM);
  EXPECT_EQ(std::string(buf), std::string(132, 'x'));
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTERROR);  // 133 bytes do not fit with the zero
  EXPECT_TRUE(transcript.contains("String too long."));

  char small[4];
  answers({"abc", "abcd"});
  EXPECT_EQ(acedGetString(0, "Name: ", small, sizeof small), RTNORM);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(acedGetString(0, "Name: ", small, sizeof small), RTERROR);
  EXPECT_STREQ(small, "abc");  // a refused answer leaves the buffer alone
  EXPECT_EQ(acedGetString(0, "Name: ", small, sizeof small), RTCAN);
}

struct KwordCase {
  const char* name;
  int flags;
  const char* keywords;
  std::vector<std::string> tokens;
  int rc;
  const char* result;
};

TEST_F(Prompts, GetKwordMatchesWholeKeywordsAndTheirCapitals) {
  const KwordCase cases[] = {
      {"leading capital", 0, "Left Right eXit", {"l"}, RTNORM, "Left"},
      {"longer prefix", 0, "Left Right eXit", {"LEF"}, RTNORM, "Left"},
      {"other keyword", 0, "Left Right eXit", {"ri"}, RTNORM, "Right"},
      {"inner capital", 0, "Left Right eXit", {"x"}, RTNORM, "eXit"},
      {"whole word", 0, "Left Right eXit", {"EXIT"}, RTNORM, "eXit"},
      {"start of an inner-capital keyword", 0, "Left Right eXit", {"e", "r"}, RTNORM, "Right"},
      {"two leading capitals", 0, "LType Color", {"L", "lty"}, RTNORM, "LType"},
      {"too long", 0, "LType", {"LTYPEX", "LT"}, RTNORM, "LType"},
      {"all capitals need the whole word", 0, "YES NO", {"Y", "yes"}, RTNORM, "YES"},
      {"Enter", 0, "Left Right", {""}, RTNONE, ""},
      {"Enter refused", RSG_NONULL, "Left Right", {"", "R"}, RTNORM, "Right"},
      {"any text", RSG_OTHER, "Left", {"whatever"}, RTNORM, "whatever"},
      {"no answer left", 0, "Left", {"up"}, RTCAN, ""},
  };
  for (const KwordCase& c : cases) {
    SetUp();
    answers(c.tokens);
    acedInitGet(c.flags, c.keywords);
    char buf[ACED_INPUT_BUFFER] = "";
    EXPECT_EQ(acedGetKword("Option: ", buf), c.rc) << c.name;
    if (c.rc != RTCAN) {
      EXPECT_STREQ(buf, c.result) << c.name;
    }
  }
}

TEST_F(Prompts, KeywordsAnswerValuePromptsThroughGetInput) {
  char input[ACED_INPUT_BUFFER] = "";
  ads_point p;
  answers({"u"});
  acedInitGet(0, "Undo Close");
  EXPECT_EQ(acedGetPoint(nullptr, "Next point or [Undo/Close]: ", p), RTKWORD);
  EXPECT_EQ(acedGetInput(input), RTNORM);
  EXPECT_STREQ(input, "Undo");

  double v;
  answers({"free text"});
  acedInitGet(RSG_OTHER, nullptr);
  EXPECT_EQ(acedGetReal("Real: ", &v), RTKWORD);
  EXPECT_EQ(acedGetInput(input), RTNORM);
  EXPECT_STREQ(input, "free text");
  char tiny[3];
  EXPECT_EQ(acedGetInput(tiny, sizeof tiny), RTERROR);
}

TEST_F(Prompts, RestrictionsHoldForOneCallOnly) {
  answers({"", "", "3"});
  acedInitGet(RSG_NONULL, nullptr);
  double v = 0;
  EXPECT_EQ(acedGetReal("Real: ", &v), RTNORM);  // the first Enter was refused
  EXPECT_DOUBLE_EQ(v, 3);
  answers({""});
  EXPECT_EQ(acedGetReal("Real: ", &v), RTNONE);
}

TEST_F(Prompts, PromptAndAnswerAreShown) {
  answers({"12.5,-3"});
  ads_point p;
  acedGetPoint(nullptr, "\n指定点: ", p);
  EXPECT_EQ(transcript.text(), "\n指定点: 12.5,-3\n");
}

struct FileCase {
  const char* name;
  const char* answerLine;  // "" for none
  const char* defaultName;
  const char* ext;
  int rc;
  const char* path;
  const char* shown;
};

TEST_F(Prompts, FileDialogTakesTheScriptsFileAnswer) {
  const FileCase cases[] = {
      {"path", "@file \"D:\\proj\\data\\A.mdb\"", "", "mdb", RTNORM, "D:\\proj\\data\\A.mdb", "A.mdb"},
      {"extension added", "@file \"D:\\proj\\data\\A\"", "", "dmx", RTNORM, "D:\\proj\\data\\A.dmx", "A.dmx"},
      {"dot in a folder only", "@file \"D:\\p.q\\A\"", "", "pmcs", RTNORM, "D:\\p.q\\A.pmcs", "A.pmcs"},
      {"cancelled", "@file cancel", "D:\\x.mdb", "mdb", RTCAN, "", "[cancel]"},
      {"default name", "", "D:\\proj\\DATA\\s.pmcs", "pmcs", RTNORM, "D:\\proj\\DATA\\s.pmcs", "[by default]"},
      {"no default", "", "", "mdb", RTCAN, "", "[cancel by default]"},
  };
  for (const FileCase& c : cases) {
    platform::clearAnswers();
    transcript.clear();
    if (*c.answerLine) {
      ASSERT_TRUE(platform::queueAnswerLine(c.answerLine)) << c.name;
    }
    resbuf rb{};
    EXPECT_EQ(acedGetFileD("请输入文件名", c.defaultName, c.ext, 0, &rb), c.rc) << c.name;
    if (c.rc == RTNORM) {
      ASSERT_EQ(rb.restype, RTSTR) << c.name;
      EXPECT_STREQ(rb.resval.rstring, c.path) << c.name;
      acutDelString(rb.resval.rstring);
    } else {
      EXPECT_NE(rb.restype, RTSTR) << c.name;
    }
    EXPECT_TRUE(transcript.contains(c.shown)) << c.name << "\n" << transcript.text();
    EXPECT_TRUE(transcript.contains("[请输入文件名]")) << c.name;
  }
  EXPECT_EQ(acedGetFileD("t", "", "", 0, nullptr), RTERROR);
}

TEST(EditorOutput, PrintfAlertsAndTheMeterGoToTheTranscript) {
  platform::TranscriptCapture transcript;
  EXPECT_EQ(acutPrintf("%s%d+%0.3lf", "DK", 12, 345.6789), 12);
  acutPrintf("\n");
  platform::queueAnswerLine("@msg IDOK");
  EXPECT_EQ(acedAlert("无法打开CRSFORM文件!"), RTNORM);
  EXPECT_EQ(acedSetStatusBarProgressMeter("内插横断面地面线", 0, 100), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(50), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(100), 0);
  acedRestoreStatusBar();
  EXPECT_EQ(transcript.text(),
            "DK12+345.679\n"
            "[AutoCAD] 无法打开CRSFORM文件! [IDOK]\n"
            "[进度] 内插横断面地面线 50%\n"
            "[进度] 内插横断面地面线 100%\n");
  EXPECT_EQ(platform::pendingAnswers(), 0u);
}

// Answers whose point or distance leaves the range of a double are refused
// like any answer that is no point, and the prompt asks again.
TEST_F(Prompts, AnswersBeyondTheRangeOfADoubleAreRefused) {
  const ads_point far = {1.5e308, 0, 0};
  platform::setLastPoint(far);
  answers({"@1e308,0", "3,3"});
  ads_point p = {0, 0, 0};
  EXPECT_EQ(acedGetPoint(nullptr, "Point: ", p), RTNORM);
  EXPECT_EQ(p[0], 3.0);
  EXPECT_TRUE(transcript.contains("Invalid point.")) << transcript.text();

  transcript.clear();
  answers({"-1.5e308,0", "1.5e308,0", "5"});
  double d = 0;
  EXPECT_EQ(acedGetDist(nullptr, "Distance: ", &d), RTNORM);
  EXPECT_EQ(d, 5.0);  // 3e308 between the two points is no distance
  EXPECT_TRUE(transcript.contains("Requires numeric distance or second point.")) << transcript.text();
}

}  // namespace
