// Three-decimal chainage texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "project/ChainageText.h"
#include "project/GbkText.h"

namespace {

struct TextCase {
  const char* prefix;
  double value;
  const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.prefix << " " << c.value; }

class ChainageText3DecimalsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ChainageText3DecimalsTest, WritesPrefixKilometresAndPaddedMetres) {
  const TextCase& c = GetParam();
  char out[kChainageTextSize];
  std::memset(out, '#', sizeof out);
  ChainageText3Decimals(c.prefix, c.value, out);
  EXPECT_STREQ(out, c.expected) << "value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ChainageText3DecimalsTest,
    ::testing::Values(
        // Ordinary values: metres padded to three integer digits.
        TextCase{"K", 1234.5, "K1+234.500"}, TextCase{"K", 1005.0, "K1+005.000"},
        TextCase{"K", 1050.0, "K1+050.000"}, TextCase{"AK", 0.5, "AK0+000.500"},
        TextCase{"DK", 1234.5678, "DK1+234.568"}, TextCase{"DK", 12345678.9, "DK12345+678.900"},
        TextCase{"", 123.456, "0+123.456"}, TextCase{"左线AK", 1234.5, "左线AK1+234.500"},
        // A whole kilometre has no metres.
        TextCase{"K", 2000.0, "K2+000"}, TextCase{"K", 0.0, "K0+000"},
        // Rounded to millimetres before the padding is chosen: no four-digit
        // metres, no "+1000.000", the carry goes into the kilometre.
        TextCase{"K", 1099.9996, "K1+100.000"}, TextCase{"AK", 9.9996, "AK0+010.000"},
        TextCase{"K", 1009.9996, "K1+010.000"}, TextCase{"K", 1999.9996, "K2+000"},
        TextCase{"K", 1000.0004, "K1+000"}, TextCase{"K", 1000.0006, "K1+000.001"},
        TextCase{"K", 1099.9994, "K1+099.999"},
        // Negative chainages keep their metres and the sign.
        TextCase{"K", -50.0, "K-0+050.000"}, TextCase{"K", -1050.25, "K-1+050.250"},
        TextCase{"K", -1000.0, "K-1+000"}, TextCase{"K", -0.0002, "K0+000"}));

TEST(ChainageText3DecimalsBoundsTest, LongPrefixIsCutNeverTheNumber) {
  char out[kChainageTextSize];
  // 40 ASCII letters: the text keeps 39 GBK bytes, the nine of the number whole.
  ChainageText3Decimals(std::string(40, 'X').c_str(), 1234.5, out);
  EXPECT_EQ(std::string(out), std::string(30, 'X') + "1+234.500");
  EXPECT_EQ(GbkWidth(out), kChainageTextGbkMax);

  // Chinese characters count two GBK bytes each and are never split.
  std::string chinese;
  for (int i = 0; i < 20; ++i) chinese += "线";
  ChainageText3Decimals(chinese.c_str(), 1234.5, out);
  std::string expected;
  for (int i = 0; i < 15; ++i) expected += "线";
  EXPECT_EQ(std::string(out), expected + "1+234.500");

  // A small buffer: the prefix gives way first.
  char small[11];
  ChainageText3Decimals("AK", 1234.5, small, sizeof small);
  EXPECT_STREQ(small, "A1+234.500");
  char tiny[5];
  ChainageText3Decimals("AK", 1234.5, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "1+23");
}

}  // namespace

namespace {

TEST(ChainageBufferTest, CopiesWholeCharactersWithinBothLimits) {
  struct Case {
    const char* src;
    size_t size;
    size_t gbkLimit;
    const char* expected;
  } cases[] = {
      {"AK", 16, 7, "AK"},
      {"左线AK", 16, 7, "左线AK"},     // 6 GBK bytes, 8 bytes
      {"左线AK", 16, 5, "左线A"},      // the GBK limit cuts
      {"左线AK", 8, 7, "左线A"},       // the buffer cuts (7 bytes and the terminator)
      {"左线AK", 6, 7, "左"},          // never half a character
      {"左线绕行段AK", 16, 7, "左线绕"},  // the fourth character would make 8 GBK bytes
      {"", 16, 7, ""},
      {"ABC", 1, 7, ""},
  };
  for (const Case& c : cases) {
    char out[32];
    std::memset(out, '#', sizeof out);
    size_t n = CopyTextBounded(out, c.size, c.src, c.gbkLimit);
    EXPECT_STREQ(out, c.expected) << c.src << " " << c.size << " " << c.gbkLimit;
    EXPECT_EQ(n, std::strlen(c.expected));
  }
  EXPECT_EQ(GbkWidth("AK"), 2u);
  EXPECT_EQ(GbkWidth("左线AK"), 6u);
  EXPECT_EQ(GbkWidth(""), 0u);
}

TEST(ChainageBufferTest, GbkFieldsReadAsUtf8) {
  // "设计" in GBK is C9 E8 BC C6.
  const char designGbk[] = "\xC9\xE8\xBC\xC6";
  EXPECT_EQ(GbkBytesToUtf8(designGbk, 4), "设计");
  EXPECT_EQ(GbkBytesToUtf8(designGbk, 24), "设计");  // stops at the terminator
  EXPECT_EQ(GbkBytesToUtf8(designGbk, 3), "设");     // a character cut by the field's end is dropped
  EXPECT_EQ(GbkBytesToUtf8("DK-350", 24), "DK-350");
  EXPECT_EQ(GbkBytesToUtf8("A\x80Z", 3), "A?Z");      // 0x80 is no GBK lead byte
}

}  // namespace
