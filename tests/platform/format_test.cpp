#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "crt/format.h"
#include "platform/test_support.h"

namespace {

// What the C library's snprintf makes of the same format and arguments: the
// formatter must give exactly its bytes.
template <class... Args>
std::string libraryText(const char* format, Args... args) {
  int n = std::snprintf(nullptr, 0, format, args...);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<size_t>(n));
  return text;
}

template <class... Args>
std::string quickText(const char* format, Args... args) {
  std::string text = "head:";  // appended after what is there
  int n = platform::appendFormat(text, format, args...);
  EXPECT_EQ(n, static_cast<int>(text.size()) - 5) << format;
  return text.substr(5);
}

// Hand-made texts: what printf writes by its definition.
TEST(FormatTest, CommonConversionsGiveThePrintfText) {
  struct Row {
    std::string got;
    const char* expected;
  };
  const Row rows[] = {
      {quickText("%0.3lf %0.3lf ", 1.0005, -2.25), "1.000 -2.250 "},  // 1.0005 is held below the tie
      {quickText("%.2f", 0.125), "0.12"},                             // an exact tie rounds to even
      {quickText("%.2f", 0.375), "0.38"},
      {quickText("%.0lf", 2.5), "2"},
      {quickText("%.0f", 3.5), "4"},
      {quickText("%lf", 512345.1234567), "512345.123457"},            // six decimals by default
      {quickText("%.3f", -0.0), "-0.000"},
      {quickText("%.3f", -0.0004), "-0.000"},                         // printf keeps the sign
      {quickText("%8.2f|%-8.2f|%08.2f", -3.14159, 2.5, -2.5), "   -3.14|2.50    |-0002.50"},
      {quickText("%+.1f % .1f %+d % d", 1.25, 1.25, 7, 7), "+1.2  1.2 +7  7"},
      {quickText("%10d|%-5d|%05d|%d", 42, -3, -42, INT_MIN), "        42|-3   |-0042|-2147483648"},
      {quickText("%ld %lld %u %zu", -5L, LLONG_MIN, 4000000000u, static_cast<size_t>(17)),
       "-5 -9223372036854775808 4000000000 17"},
      {quickText("%s|%6s|%-6s|%.2s|%c|%3c", "左线", "ab", "ab", "abc", 'x', 'y'), "左线|    ab|ab    |ab|x|  y"},
      {quickText("100%% %d%%", 5), "100% 5%"},
      {quickText("no conversion"), "no conversion"},
      // Left to the C library: other conversions, lengths, flags and values.
      {quickText("%g %e %x", 0.25, 1.5, 255), "0.25 1.500000e+00 ff"},
      {quickText("%5.3d|%#x|%*d", 7, 255, 4, 1), "  007|0xff|   1"},
      {quickText("%.1f %f", 1.0, INFINITY), "1.0 inf"},
      {quickText("%.2f %s", 1.0, static_cast<const char*>(nullptr)), "1.00 (null)"},
      {quickText("%hd %hhu", 70000, 300), "4464 44"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.expected);
}

// Many values through the formats the system writes, against the C library.
TEST(FormatTest, DecimalsAndIntegersMatchTheCLibrary) {
  std::mt19937_64 random(20261211);
  std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, 0.0005, 0.0015, 1e-7, 123456789.987654321, -987.6545,
                                DBL_MAX, -DBL_MAX, DBL_MIN, 5e-324, 1e22, 9.999999999};
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double any;
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) values.push_back(any);
    values.push_back(static_cast<double>(static_cast<int64_t>(random() % 2000000000) - 1000000000) /
                     static_cast<double>(1u << (random() % 14)));
    values.push_back(static_cast<double>(random() % 100000000) / 1000.0 + 0.0005);
  }
  const char* doubleFormats[] = {"%0.3lf", "%0.2lf", "%.0lf", "%lf", "%.3f", "%12.4f", "%-9.1f|", "%+010.3f", "% f"};
  for (double v : values) {
    for (const char* format : doubleFormats) {
      ASSERT_EQ(quickText(format, v), libraryText(format, v)) << format << " " << v;
    }
  }
  const int ints[] = {0, 1, -1, 9, 10, 99, -100, 123456, INT_MAX, INT_MIN};
  const char* intFormats[] = {"%d", "%10d", "%-4d|", "%05d", "%+d", "% d", "%u"};
  for (int v : ints) {
    for (const char* format : intFormats) EXPECT_EQ(quickText(format, v), libraryText(format, v)) << format << " " << v;
  }
}

TEST(FormatTest, TheFileFormWritesTheSameText) {
  testsupport::TempFolder tmp;
  std::string path = tmp / "numbers.txt";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(platform::printToFile(f, "%s %0.3lf %10d\n", "K12", 12.3456, 7), 22);
  EXPECT_EQ(platform::printToFile(f, "%g\n", 0.5), 4);  // through the C library
  std::fclose(f);
  EXPECT_EQ(testsupport::readBytes(path), "K12 12.346          7\n0.5\n");
}

}  // namespace
