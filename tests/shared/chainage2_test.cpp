// Two-decimal chainage texts, typed chainages, angle texts and the conversion
// of a chainage text into continuous mileage through a break table.

#include <gtest/gtest.h>

#include <string>

#include "geometry/BAS_DRAW_FUN.h"
#include "win/transcript.h"

namespace {

TEST(Chainage2Text, TwoDecimalChainages) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {1234.5, "DK1+234.50"},
      {1005.25, "DK1+005.25"},
      {2000.0, "DK2+000"},        // a whole kilometre has no decimals
      {1000.000004, "DK1+000"},   // within 5e-6 of it
      {1999.999999, "DK2+000"},   // from below too
      {1000.004, "DK1+000.00"},
      {0.0, "DK0+000"},
      {7.5, "DK0+007.50"},
      {99.5, "DK0+099.50"},
      {1009.996, "DK1+010.00"},   // rounds up to ten metres: padded as such
      {1099.996, "DK1+100.00"},
      {1999.996, "DK2+000.00"},   // rounds to the next kilometre
      {1999.994, "DK1+999.99"},
      {1999.995, "DK1+999.99"},   // stored just below the half
      {123456789.125, "DK123456+789.12"},
      {-50.0, "DK-0+050.00"},
      {-1234.5, "DK-1+234.50"},
      {-2000.0, "DK-2+000"},
      {-0.001, "DK0+000.00"},     // rounds to zero: no sign
  };
  for (const auto& c : cases) {
    char text[40];
    BAS_DRAW_FUN::ChainageToText(CString("DK"), c.value, text);
    EXPECT_STREQ(text, c.text) << c.value;
  }
  // The buffer bounds the text, at a character boundary.
  char small[7];
  BAS_DRAW_FUN::ChainageToText(CString("左线K"), 1234.5, small);
  EXPECT_STREQ(small, "左线");
}

TEST(Chainage2Text, ChainagesWithTheHostFormat) {
  const BAS_DRAW_FUN base;
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1234.5, 2, "K1+234.50"},
      {1234.5, 0, "K1+234"},      // 1234.5 is exact: printf rounds the tie to even
      {1005.0, 3, "K1+005.000"},
      {1999.95, 2, "K1+999.95"},  // keeps its kilometre
      {1999.95, 1, "K2+000.0"},   // rounds into the next kilometre
      {999.9996, 3, "K1+000.000"},
      {12.3456, 1, "K0+012.3"},
      {-75.25, 2, "K-0+075.25"},
  };
  for (const auto& c : cases) {
    char text[40];
    EXPECT_STREQ(base.FormatChainageWithPrecision("K", c.value, c.decimals, text), c.text) << c.value;
    EXPECT_EQ(BAS_DRAW_FUN::FormatChainageCString("K", CString(std::to_string(c.value)), c.decimals), c.text)
        << c.value;
  }
  EXPECT_EQ(BAS_DRAW_FUN::FormatChainageCString("AK", "1999.95", 2), "AK1+999.95");
  EXPECT_EQ(BAS_DRAW_FUN::FormatChainageCString("AK", "abc", 2), "AK0+000.00");

  char real[16];
  base.FormatReal(3.14159, 3, real);
  EXPECT_STREQ(real, "3.142");
  base.FormatReal(2.5, -4, real);
  EXPECT_STREQ(real, "2");
}

TEST(Chainage2Text, TypedChainages) {
  const struct {
    const char* text;
    double value;
    const char* prefix;
  } cases[] = {
      {"K1+234.567", 1234.567, "K"},
      {"DK12 + 345.6", 12345.6, "DK"},
      {" AK 1 + 001 ", 1001.0, " AK"},
      {"AK1234.5", 1234.5, "AK"},      // without "+" everything after the prefix
      {"1+500", 1500.0, ""},           // without a prefix
      {"k2+100", 2100.0, "k"},
      {"ZDK3+050.25", 3050.25, "ZDK"},
      {"K0+000.0005", 0.0, "K"},       // cut to whole millimetres
      {"K1+234.5679", 1234.567, "K"},
      {"1.001", 1.001, ""},            // a millimetre is not lost to the binary form
      {"K0+000.123", 0.123, "K"},
      {"K9999+999.999", 9999999.999, "K"},
      {"左线K1+000", 1000.0, "左线K"},
      {"K-0+050", -50.0, "K"},
      {"", 0.0, ""},
  };
  for (const auto& c : cases) {
    double value = -1;
    char prefix[40] = "junk";
    ParseChainageText(c.text, value, prefix);
    EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    EXPECT_STREQ(prefix, c.prefix) << c.text;
  }
  // A prefix longer than the caller's buffer is cut at a character boundary.
  double value;
  char small[5];
  ParseChainageText("左线绕行K2+000", value, small);
  EXPECT_STREQ(small, "左");
  EXPECT_DOUBLE_EQ(value, 2000.0);

  EXPECT_EQ(FindLastCharNoCase("AK1+k2", 'K'), 5);
  EXPECT_EQ(FindLastCharNoCase("AK1+k2", 'a'), 1);
  EXPECT_EQ(FindLastCharNoCase("123", 'K'), 0);
  EXPECT_EQ(FindLastCharNoCase(nullptr, 'K'), 0);
}

TEST(Chainage2Text, AngleTexts) {
  const struct {
    double dms;
    int decimals;
    const char* text;
  } cases[] = {
      {12.3015, 0, "12%%d30'15\""},
      {12.29, 0, "12%%d29'00\""},           // 29 minutes, not 28'60"
      {12.3015, 2, "12%%d30'15.00\""},
      {5.0203, 1, "5%%d02'03.0\""},
      {30.5960, 0, "31%%d00'00\""},          // 60 seconds carry twice
      {10.595996, 1, "11%%d00'00.0\""},      // 59.96" rounds to a whole minute
      {10.595996, 2, "10%%d59'59.96\""},
      {0.0, 0, "0%%d00'00\""},
      {-12.3015, 0, "-12%%d30'15\""},
      {359.5959, 0, "359%%d59'59\""},
  };
  for (const auto& c : cases) {
    char text[40];
    BAS_DRAW_FUN::FormatDmsAngle(c.dms, c.decimals, text);
    EXPECT_STREQ(text, c.text) << c.dms;
  }
}

BreakRecord Break(double before, double length, const char* prefixBefore, const char* prefixAfter) {
  BreakRecord record;
  record.before = before;
  record.length = length;
  SetBreakPrefixes(record, prefixBefore, prefixAfter);
  return record;
}

// Start at AK0+000; a short chain of 50 m at AK1+000 = BK1+050; a long chain
// of 30 m at BK3+000 = CK2+970; the end at CK5+000.
// Mileages of the breaks: 0, 1000, 2950, 4980.
const BreakRecord kBreaks[] = {
    Break(0, 0, "AK", "AK"),
    Break(1000, 50, "AK", "BK"),
    Break(3000, -30, "BK", "CK"),
    Break(5000, 0, "CK", "CK"),
};

TEST(Chainage2Mileage, ConvertsThroughTheBreakTable) {
  const struct {
    const char* text;
    double mileage;
  } cases[] = {
      {"AK0+500", 500},
      {"ak0+500", 500},          // prefixes compare without case
      {" AK 0 + 500", 500},      // and trimmed
      {"AK1+000", 1000},
      {"BK1+050", 1000},
      {"BK1+100", 1050},
      {"BK2+980", 2930},         // before the long chain
      {"CK2+980", 2960},         // after it
      {"CK4+999.5", 4979.5},
      {"CK5+100", 5080},         // beyond the end
  };
  for (const auto& c : cases) {
    platform::TranscriptCapture capture;
    EXPECT_NEAR(BAS_DRAW_FUN::ChainageTextToMileage(c.text, 4, kBreaks), c.mileage, 1e-9) << c.text;
    EXPECT_EQ(capture.text(), "") << c.text;
  }
}

TEST(Chainage2Mileage, ReportsUnreliableChainages) {
  platform::TranscriptCapture capture;
  // No stretch has this prefix: the value itself, with a message.
  EXPECT_EQ(BAS_DRAW_FUN::ChainageTextToMileage("ZK1+000", 4, kBreaks), 1000.0);
  EXPECT_TRUE(capture.contains("系统发现ZK1+000在线路上没有其位置，可能是短链或断链表数据有问题")) << capture.text();
  capture.clear();

  // The same prefix on both sides of a long chain: two places, the later wins.
  const BreakRecord sameSides[] = {
      Break(0, 0, "K", "K"), Break(3000, -30, "K", "K"), Break(5000, 0, "K", "K")};
  EXPECT_NEAR(BAS_DRAW_FUN::ChainageTextToMileage("K2+980", 3, sameSides), 3010.0, 1e-9);
  EXPECT_TRUE(capture.contains("系统发现K2+980在线路上有多个位置，可能是断链表数据有问题")) << capture.text();
  capture.clear();

  // The prefix after break 1 disagrees with the prefix before break 2: a
  // chainage with the latter converts, with a warning naming both.
  const BreakRecord mismatch[] = {
      Break(0, 0, "AK", "AK"), Break(1000, 50, "AK", "BK"), Break(3000, -30, "XK", "CK"),
      Break(5000, 0, "CK", "CK")};
  EXPECT_NEAR(BAS_DRAW_FUN::ChainageTextToMileage("XK2+000", 4, mismatch), 1950.0, 1e-9);
  EXPECT_TRUE(capture.contains("第1个断链的断后里程冠号BK与第2个断链的断前里程冠号XK不一致,")) << capture.text();
  EXPECT_TRUE(capture.contains("他将导致XK2+000的计算不可靠")) << capture.text();
  EXPECT_FALSE(capture.contains("没有其位置"));
  capture.clear();

  // Before the first break, with its prefix before.
  const BreakRecord lateStart[] = {Break(500, 20, "AK", "AK"), Break(5000, 0, "AK", "AK")};
  EXPECT_NEAR(BAS_DRAW_FUN::ChainageTextToMileage("AK0+200", 2, lateStart), 220.0, 1e-9);
  // One record only: the stretch after it.
  EXPECT_NEAR(BAS_DRAW_FUN::ChainageTextToMileage("AK0+800", 1, lateStart), 800.0, 1e-9);
  EXPECT_EQ(capture.text(), "");

  // No table at all: the value itself.
  EXPECT_EQ(BAS_DRAW_FUN::CheckChainageBreakPrefixes("AK0+800", 0, nullptr), 800.0);
}

}  // namespace
