#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "crt/gbk.h"
#include "mfc/cstring.h"

namespace {

TEST(GbkTest, LengthCountsAsciiOneAndOtherCharactersTwo) {
  struct Case {
    std::string text;
    int length;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"abc", 3},
      {"单线", 4},
      {"K1+200左线", 10},
      {"é", 2},                  // two bytes of UTF-8, two of GBK
      {"\xF0\x9F\x98\x80", 2},   // a character outside the first plane
      {"\xB5\xA5", 2},           // GBK bytes left unconverted count as themselves
      {"a\xE5\x8D", 3},          // a cut sequence: each stray byte counts one
  };
  for (const Case& c : cases) EXPECT_EQ(GbkLength(c.text), c.length) << c.text;
  EXPECT_EQ(GbkLength(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(GbkLength(CString("横断面设计")), 10);
}

TEST(GbkTest, CutAtACharacterBoundary) {
  struct Case {
    std::string text;
    size_t maxGbk;
    std::string cut;
  };
  const std::vector<Case> cases = {
      {"单线abc", 0, ""},      {"单线abc", 1, ""},          {"单线abc", 2, "单"},
      {"单线abc", 3, "单"},    {"单线abc", 5, "单线a"},     {"单线abc", 100, "单线abc"},
      {"a单", 2, "a"},         {"a单", 3, "a单"},           {"", 5, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::cutToGbkLength(c.text, c.maxGbk), c.cut) << c.text << " / " << c.maxGbk;
    EXPECT_EQ(platform::utf8BytesWithinGbk(c.text, c.maxGbk), c.cut.size()) << c.text << " / " << c.maxGbk;
  }
}

TEST(GbkTest, BoundedCopyIntoAFixedBuffer) {
  struct Case {
    std::string src;
    size_t dstSize;
    size_t maxGbk;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"横断面设计", 8, SIZE_MAX, "横断"},  // a third character needs 9 bytes + terminator
      {"横断面设计", 100, 5, "横断"},       // the GBK limit cuts first
      {"横断面设计", 100, 6, "横断面"},
      {"abc", 1, SIZE_MAX, ""},
      {"abc", 4, SIZE_MAX, "abc"},
      {"abcd", 4, SIZE_MAX, "abc"},
      {"单", 3, SIZE_MAX, ""},
      {"K12+345", 20, 4, "K12+"},
  };
  for (const Case& c : cases) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    size_t n = platform::copyTextBounded(buffer, c.dstSize, c.src, c.maxGbk);
    EXPECT_EQ(std::string(buffer), c.expected) << c.src << " / " << c.dstSize << " / " << c.maxGbk;
    EXPECT_EQ(n, c.expected.size());
    EXPECT_EQ(buffer[c.dstSize], '#') << "wrote past the buffer";
  }
  EXPECT_EQ(platform::copyTextBounded(nullptr, 10, "abc"), 0u);
}

TEST(GbkTest, GbkOffsetToUtf8Offset) {
  const std::string text = "a单线b";  // GBK: a(0) 单(1,2) 线(3,4) b(5); UTF-8: a(0) 单(1) 线(4) b(7)
  struct Case {
    size_t gbk;
    size_t utf8;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 4}, {4, 4}, {5, 7}, {6, 8}, {100, 8}};
  for (const Case& c : cases) EXPECT_EQ(platform::utf8OffsetOfGbk(text, c.gbk), c.utf8) << c.gbk;
}

TEST(GbkTest, Utf8Validity) {
  struct Case {
    std::string text;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"", true},
      {"abc", true},
      {"单线", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xC0\x80", false},          // overlong
      {"\xE0\x80\x80", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xE5\x8D", false},          // cut short
      {"\x80", false},              // stray continuation byte
      {"\xB5\xA5\xCF\xDF", false},  // GBK
  };
  for (const Case& c : cases) EXPECT_EQ(platform::isValidUtf8(c.text), c.valid) << c.text;
}

TEST(GbkTest, Conversions) {
  struct Case {
    std::string utf8;
    std::string gbk;
  };
  const std::vector<Case> cases = {
      {"单线", "\xB5\xA5\xCF\xDF"},
      {"横断面", "\xBA\xE1\xB6\xCF\xC3\xE6"},
      {"标准.mdb", "\xB1\xEA\xD7\xBC.mdb"},
      {"abc\r\n", "abc\r\n"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::utf8ToGbk(c.utf8), c.gbk) << c.utf8;
    EXPECT_EQ(platform::gbkToUtf8(c.gbk), c.utf8) << c.utf8;
  }
  // Characters among ASCII, and bytes that do not convert, also where a run
  // of other bytes begins or ends.
  EXPECT_EQ(platform::utf8ToGbk("K1+200 左线\n单 x"), "K1+200 \xD7\xF3\xCF\xDF\n\xB5\xA5 x");
  EXPECT_EQ(platform::utf8ToGbk("a\xFF" "b"), "a\xFF" "b");
  EXPECT_EQ(platform::utf8ToGbk("\xE5\x8D" "a\xE5" "单\xE5\x8D"), "\xE5\x8D" "a\xE5\xB5\xA5\xE5\x8D");
  EXPECT_EQ(platform::gbkToUtf8("\xB5\xA5\xFF"), "单\xEF\xBF\xBD");
  EXPECT_EQ(platform::gbkToUtf8("\xB5"), "\xEF\xBF\xBD");
  // Unknown encoding: valid UTF-8 stays, anything else is GBK.
  EXPECT_EQ(platform::decodeFileText("\xEF\xBB\xBF单线"), "单线");
  EXPECT_EQ(platform::decodeFileText("单线"), "单线");
  EXPECT_EQ(platform::decodeFileText("\xB5\xA5\xCF\xDF"), "单线");
}

}  // namespace
