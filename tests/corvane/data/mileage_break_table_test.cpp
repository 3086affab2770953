// Chainage and continuous mileage through a chainage-break table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "project/BreakTable.h"
#include "win/transcript.h"

namespace {

BreakRecord Break(double before, double length, const char* prefixBefore, const char* prefixAfter) {
  BreakRecord r;
  r.before = before;
  r.length = length;
  SetBreakPrefixes(r, prefixBefore, prefixAfter);
  return r;
}

using Table = std::vector<BreakRecord>;

// The default table of an alignment.
const Table kDefault = {Break(0, 0, "AK", "AK"), Break(9000000.0, 0, "AK", "AK")};
// A short chain of 50 m at AK1+000: breaks at mileage 0, 1000, 2950.
const Table kShort = {Break(0, 0, "AK", "AK"), Break(1000, 50, "AK", "AK"), Break(3000, 0, "AK", "AK")};
// A long chain of 50 m at AK1+000, one prefix: breaks at mileage 0, 1000, 3050.
const Table kLongSame = {Break(0, 0, "AK", "AK"), Break(1000, -50, "AK", "AK"), Break(3000, 0, "AK", "AK")};
// The same long chain with a new prefix after it.
const Table kLongNew = {Break(0, 0, "AK", "AK"), Break(1000, -50, "AK", "BK"), Break(3000, 0, "BK", "BK")};
// Prefixes that change across breaks: mileage 0, 1000, 2950, 4940.
const Table kPrefixes = {Break(0, 0, "AK", "AK"), Break(1000, 50, "AK", "BK"), Break(3000, 10, "CK", "CK"),
                         Break(5000, 0, "CK", "CK")};
// A long chain followed by a break of length 0 with another prefix: mileage 0, 1000, 3050, 4050.
const Table kLongThenZero = {Break(0, 0, "AK", "AK"), Break(1000, -50, "AK", "BK"), Break(3000, 0, "CK", "CK"),
                             Break(4000, 0, "CK", "CK")};
// The line starts at ZK0+100 = AK0+105 (mileage 105): mileage 105, 1000, 2000.
const Table kStart = {Break(100, 5, "ZK", "AK"), Break(1000, 0, "AK", "AK"), Break(2000, 0, "AK", "AK")};
// A break at a chainage that is not a whole metre: mileage 0, 1000.3, 2950.
const Table kFraction = {Break(0, 0, "AK", "AK"), Break(1000.3, 50, "ak", "bk"), Break(3000, 0, "BK", "BK")};
// Prefixes stored in lower case and with blanks.
const Table kUntidy = {Break(0, 0, "ak", "ak"), Break(1000, 50, " ak ", "ak"), Break(3000, 0, "ak", " ak")};
// The prefix after break 1 differs from the prefix before break 2.
const Table kMismatch = {Break(0, 0, "AK", "AK"), Break(1000, 50, "AK", "CK"), Break(3000, 0, "DK", "DK")};
// A table prefix with a trailing blank: the table's prefixes are not trimmed.
const Table kBlankAfter = {Break(0, 0, "AK", "AK "), Break(3000, 0, "AK", "AK")};

// A message box as the transcript shows it (continuation lines indented).
std::string AsShown(const std::string& message) {
  std::string out;
  for (size_t i = 0; i < message.size(); ++i) {
    out += message[i];
    if (message[i] == '\n' && i + 1 < message.size()) out += "  ";
  }
  return out;
}

size_t MessageCount(const platform::TranscriptCapture& capture) {
  size_t count = 0;
  for (size_t at = capture.text().find("by default]"); at != std::string::npos;
       at = capture.text().find("by default]", at + 1))
    ++count;
  return count;
}

struct ToChainageCase {
  const char* name;
  const Table* table;
  double mileage;
  double value;
  const char* prefix;
};

void PrintTo(const ToChainageCase& c, std::ostream* os) { *os << c.name; }

class MileageToChainageTest : public ::testing::TestWithParam<ToChainageCase> {};

TEST_P(MileageToChainageTest, GivesValueAndPrefix) {
  const ToChainageCase& c = GetParam();
  platform::TranscriptCapture capture;
  char prefix[kChainPrefixSize];
  std::memset(prefix, '#', sizeof prefix);
  double value =
      BreakTableMileageToChainage(c.mileage, prefix, static_cast<int>(c.table->size()), c.table->data());
  EXPECT_NEAR(value, c.value, 1e-9);
  EXPECT_STREQ(prefix, c.prefix);
  EXPECT_EQ(MessageCount(capture), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, MileageToChainageTest,
    ::testing::Values(
        ToChainageCase{"DefaultTable", &kDefault, 1234.5, 1234.5, "AK"},
        ToChainageCase{"BeforeShortChain", &kShort, 500, 500, "AK"},
        ToChainageCase{"AtShortChainWholeBefore", &kShort, 1000, 1000, "AK"},
        ToChainageCase{"AfterShortChain", &kShort, 1010, 1060, "AK"},
        ToChainageCase{"AtLastBreak", &kShort, 2950, 3000, "AK"},
        ToChainageCase{"PastLastBreak", &kShort, 3000, 3050, "AK"},
        ToChainageCase{"BeforeStart", &kShort, -10, -10, "AK"},
        ToChainageCase{"BeforeLongChain", &kLongNew, 990, 990, "AK"},
        ToChainageCase{"AtLongChain", &kLongNew, 1000, 1000, "AK"},
        ToChainageCase{"InsideLongChainOverlap", &kLongNew, 1020, 970, "BK"},
        ToChainageCase{"NearerThePreviousBreak", &kPrefixes, 1100, 1150, "BK"},
        ToChainageCase{"NearerTheNextBreak", &kPrefixes, 2900, 2950, "CK"},
        ToChainageCase{"AtBreakWithNewPrefix", &kPrefixes, 2950, 3000, "CK"},
        ToChainageCase{"AfterSecondShortChain", &kPrefixes, 3000, 3060, "CK"},
        ToChainageCase{"OverlapOfLongChainTakesPrefixAfter", &kLongThenZero, 1020, 970, "BK"},
        ToChainageCase{"BeforeZeroBreakTakesItsPrefix", &kLongThenZero, 1100, 1050, "CK"},
        ToChainageCase{"BeforeStartTakesPrefixBefore", &kStart, 50, 45, "ZK"},
        ToChainageCase{"AtStartWholeBefore", &kStart, 105, 100, "ZK"},
        ToChainageCase{"AfterStart", &kStart, 500, 500, "AK"},
        ToChainageCase{"AtBreakOfFractionalChainage", &kFraction, 1000.3, 1050.3, "BK"},
        ToChainageCase{"BetweenBreaksTrimmedAndUpper", &kUntidy, 500, 500, "AK"},
        ToChainageCase{"AtBreakUpperNotTrimmed", &kUntidy, 1000, 1000, " AK "},
        ToChainageCase{"StartUpper", &kUntidy, -10, -10, "AK"},
        ToChainageCase{"PastLastAsStored", &kUntidy, 3000, 3050, " ak"}),
    [](const ::testing::TestParamInfo<ToChainageCase>& info) { return std::string(info.param.name); });

struct ToMileageCase {
  const char* name;
  const Table* table;
  const ChainageLookupRules* rules;
  const char* text;
  double mileage;
  const char* message;  // nullptr: no message box
};

void PrintTo(const ToMileageCase& c, std::ostream* os) { *os << c.name << " " << c.text; }

const ChainageLookupRules* const kFree = &kBreakTableRules;
const ChainageLookupRules* const kModel = &kAlignmentModelRules;

class ChainageToMileageTest : public ::testing::TestWithParam<ToMileageCase> {};

TEST_P(ChainageToMileageTest, GivesMileageAndMessages) {
  const ToMileageCase& c = GetParam();
  platform::TranscriptCapture capture;
  int count = static_cast<int>(c.table->size());
  double mileage = c.rules == kFree ? BreakTableChainageToMileage(c.text, count, c.table->data())
                                    : BreakChainageToMileage(c.text, count, c.table->data(), *c.rules);
  EXPECT_NEAR(mileage, c.mileage, 1e-9);
  if (c.message) {
    EXPECT_EQ(MessageCount(capture), 1u) << capture.text();
    EXPECT_TRUE(capture.contains(AsShown(c.message))) << capture.text();
  } else {
    EXPECT_EQ(MessageCount(capture), 0u) << capture.text();
  }
}

#define NONE_AT(text) "系统发现" text "在线路上没有其位置，可能是短链或断链表数据有问题"
#define SEVERAL_AT(text) "系统发现" text "在线路上有多个位置，可能是断链表数据有问题"

INSTANTIATE_TEST_SUITE_P(
    Tables, ChainageToMileageTest,
    ::testing::Values(
        ToMileageCase{"DefaultTable", &kDefault, kFree, "AK1+234.5", 1234.5, nullptr},
        ToMileageCase{"DefaultTableModel", &kDefault, kModel, "AK1+234.5", 1234.5, nullptr},
        ToMileageCase{"BeforeShortChain", &kShort, kFree, "AK0+500", 500, nullptr},
        ToMileageCase{"AtShortChain", &kShort, kFree, "AK1+000", 1000, nullptr},
        ToMileageCase{"AfterShortChain", &kShort, kFree, "AK1+060", 1010, nullptr},
        ToMileageCase{"AtEnd", &kShort, kFree, "AK3+000", 2950, nullptr},
        ToMileageCase{"PastEnd", &kShort, kFree, "AK3+005", 2955, nullptr},
        ToMileageCase{"PastEndModel", &kShort, kModel, "AK3+005", 2955, nullptr},
        ToMileageCase{"SkippedByShortChain", &kShort, kFree, "AK1+020", 1020, NONE_AT("AK1+020")},
        ToMileageCase{"SkippedByShortChainModel", &kShort, kModel, "AK1+020", 1020, NONE_AT("AK1+020")},
        // Near the last break with a prefix no segment has: the free function
        // gives the last break's mileage silently, the model reports.
        ToMileageCase{"NearLastBreakShortcut", &kShort, kFree, "XK3+000.03", 2950, nullptr},
        ToMileageCase{"NearLastBreakModel", &kShort, kModel, "XK3+000.03", 3000.03, NONE_AT("XK3+000.03")},
        ToMileageCase{"JustPastEndShortcut", &kShort, kFree, "AK3+000.05", 2950, nullptr},
        ToMileageCase{"JustPastEndModel", &kShort, kModel, "AK3+000.05", 2950.05, nullptr},
        ToMileageCase{"UnknownPrefix", &kShort, kFree, "ZK1+500", 1500, NONE_AT("ZK1+500")},
        ToMileageCase{"LongChainOverlapTwice", &kLongSame, kFree, "AK0+980", 1030, SEVERAL_AT("AK0+980")},
        ToMileageCase{"LongChainOverlapTwiceModel", &kLongSame, kModel, "AK0+980", 1030, SEVERAL_AT("AK0+980")},
        ToMileageCase{"LongChainBefore", &kLongNew, kFree, "AK0+970", 970, nullptr},
        ToMileageCase{"LongChainAfter", &kLongNew, kFree, "BK0+970", 1020, nullptr},
        ToMileageCase{"LongChainAfterStart", &kLongNew, kFree, "BK0+950", 1000, nullptr},
        ToMileageCase{"PrefixMismatch", &kMismatch, kFree, "DK1+100", 1050,
                      "第1个断链的断后里程冠号CK与第2个断链的断前里程冠号DK不一致,\n\n它可能导致有关DK1+100的计算不可靠"},
        ToMileageCase{"PrefixMismatchModel", &kMismatch, kModel, "DK1+100", 1050,
                      "第1个断链的断后里程冠号CK与第2个断链的断前里程冠号DK不一致,\n\n他将导致DK1+100的计算不可靠"},
        ToMileageCase{"TablePrefixNotTrimmed", &kBlankAfter, kFree, "AK1+000", 1000,
                      "第0个断链的断后里程冠号AK 与第1个断链的断前里程冠号AK不一致,\n\n它可能导致有关AK1+000的计算不可靠"},
        ToMileageCase{"BeforeStart", &kStart, kFree, "ZK0+050", 55, nullptr},
        ToMileageCase{"BeforeStartModel", &kStart, kModel, "ZK0+050", 55, nullptr},
        // Within 0.1 m past the start with the prefix before the start: the
        // free function takes it, the model does not.
        ToMileageCase{"JustPastStart", &kStart, kFree, "ZK0+100.05", 105.05, nullptr},
        ToMileageCase{"JustPastStartModel", &kStart, kModel, "ZK0+100.05", 100.05, NONE_AT("ZK0+100.05")},
        ToMileageCase{"AfterStart", &kStart, kFree, "AK0+500", 500, nullptr},
        // The text's prefix is trimmed and compared without case; blanks in the
        // number are dropped.
        ToMileageCase{"TextPrefixTrimmedAndFolded", &kDefault, kFree, " ak1+234.5", 1234.5, nullptr},
        ToMileageCase{"BlanksInNumber", &kDefault, kFree, "Ak 1 + 234.5", 1234.5, nullptr},
        ToMileageCase{"NoPlus", &kDefault, kFree, "AK1234.5", 1234.5, nullptr},
        ToMileageCase{"CutToMillimetres", &kDefault, kFree, "AK0+001.0019", 1.001, nullptr},
        ToMileageCase{"TypedMillimetreKept", &kDefault, kFree, "AK0+001.001", 1.001, nullptr},
        ToMileageCase{"UpperTableLowerText", &kUntidy, kFree, "AK1+060", 1010, nullptr}),
    [](const ::testing::TestParamInfo<ToMileageCase>& info) { return std::string(info.param.name); });

TEST(BreakTableRoundTripTest, MileageToChainageAndBack) {
  // Every mileage of the long-chain table with a new prefix comes back.
  for (double mileage : {10.0, 500.0, 999.5, 1000.5, 1020.0, 2000.0, 3049.0, 3100.0}) {
    platform::TranscriptCapture capture;
    char prefix[kChainPrefixSize];
    double value = BreakTableMileageToChainage(mileage, prefix, 3, kLongNew.data());
    char text[kChainageTextSize];
    ChainageText3Decimals(prefix, value, text);
    EXPECT_NEAR(BreakTableChainageToMileage(text, 3, kLongNew.data()), mileage, 1e-9) << text;
    EXPECT_EQ(MessageCount(capture), 0u) << capture.text();
  }
}

TEST(BreakPrefixBoundsTest, PrefixesAreBoundedInGbkBytes) {
  BreakRecord r = Break(1000, 0, "左线绕行AK", "ABCDEFGHIJ");
  // Seven GBK bytes: three Chinese characters (six), the fourth would make eight.
  EXPECT_STREQ(r.prefixBefore, "左线绕");
  EXPECT_STREQ(r.prefixAfter, "ABCDEFG");

  // A field without a terminator is read no further than its size, and the
  // prefix handed out stays within seven GBK bytes and the caller's buffer.
  Table table = {Break(0, 0, "AK", "AK"), Break(1000, 0, "AK", "AK")};
  std::memset(table[1].prefixAfter, 'Q', kChainPrefixSize);
  char prefix[kChainPrefixSize];
  BreakTableMileageToChainage(2000, prefix, 2, table.data());
  EXPECT_STREQ(prefix, "QQQQQQQ");

  Table chinese = {Break(0, 0, "左线AK", "左线AK"), Break(1000, 0, "左线AK", "左线AK")};
  char small[5];
  BreakTableMileageToChainage(500, small, 2, chinese.data(), sizeof small);
  EXPECT_STREQ(small, "左");
}

TEST(BreakTableContractTest, EmptyTableGivesTheValueBack) {
  platform::TranscriptCapture capture;
  char prefix[kChainPrefixSize] = "XX";
  EXPECT_EQ(BreakTableMileageToChainage(123.0, prefix, 0, nullptr), 123.0);
  EXPECT_STREQ(prefix, "");
  EXPECT_NEAR(BreakTableChainageToMileage("AK0+123", 0, nullptr), 123.0, 1e-12);
  EXPECT_EQ(MessageCount(capture), 0u);
}

}  // namespace

namespace {

// A chainage text reads when its kilometres and metres are plain digits: a
// text that does not would convert to 0 or to a number that is not finite.
TEST(ChainageTextReadsTest, OnlyDigitsWithOnePointAndOnePlusRead) {
  struct Case {
    const char* text;
    bool reads;
  };
  const Case cases[] = {
      {"DK25+000", true},     {"DK25+000.5", true}, {"D1K45+222.000", true}, {" DK 25 + 100 ", true},
      {"25+000", true},       {"25000", true},      {"dk1+000", true},       {"K0+000", true},
      {"", false},            {"abc", false},       {"DK", false},           {"DK1e400", false},
      {"DKinf", false},       {"DKnan", false},     {"DK0x10", false},       {"DK25+0+00", false},
      {"DK25+000.1.2", false}, {"DK-1+000", false}, {"DK1,5", false},        {"DK１２+000", false},
      {"DK+", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ChainageTextReads(c.text), c.reads) << c.text;
}

}  // namespace
