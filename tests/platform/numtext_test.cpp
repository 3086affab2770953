// The fast number formatting of the drawing files gives the very characters
// printf gives for the same format: a table of awkward doubles, each written
// both ways (printf is the independent reference here).
#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <charconv>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "crt/numtext.h"

namespace {

const std::vector<double>& awkwardValues() {
  static const std::vector<double> values = {
      0.0,
      -0.0,
      1.0,
      -1.0,
      1e-7,
      -1e-7,
      1e15,
      1e16,
      -1e15,
      0.1 + 0.2,
      123456789.123456789,
      -123456789.123456789,
      0.5,
      2.5,
      0.125,
      2.675,
      1.0 / 3.0,
      2.0 / 3.0,
      9.9999999999999,
      99999.9999999999,
      0.000123456789012345,
      1e-5,
      1e-4,
      123456.5,
      1e100,
      -1e-100,
      1.7976931348623157e308,
      -1.7976931348623157e308,
      2.2250738585072014e-308,
      4.9406564584124654e-324,  // the smallest subnormal
      2.5e-310,                 // a subnormal
      -1.23e-315,
      6.02214076e23,
      1e22,
      1e23,
      45.0,
      57.29577951308232,
      359.99999999999994,
      180.00000000000003,
      3.141592653589793,
      521403.2516,
      3412987.0049999999,
      0.005,
      0.015,
      1234.5678,
      std::nextafter(1.0, 2.0),
      std::nextafter(1.0, 0.0),
  };
  return values;
}

std::string viaPrintf(const char* letter, int precision, double v) {
  std::string format = std::string("%.*") + letter;
  char buf[512];
  std::snprintf(buf, sizeof buf, format.c_str(), precision, v);
  return buf;
}

TEST(NumberText, GeneralIsPrintfG) {
  char buf[64];
  for (int precision : {6, 10, 12, 15, 17}) {
    for (double v : awkwardValues()) {
      const std::string fast(buf, platform::formatGeneral(buf, buf + sizeof buf, v, precision));
      EXPECT_EQ(fast, viaPrintf("g", precision, v)) << "%." << precision << "g of " << v;
    }
  }
}

TEST(NumberText, FixedIsPrintfF) {
  char buf[400];
  for (int precision : {0, 2, 3, 4, 6, 9}) {
    for (double v : awkwardValues()) {
      const std::string fast(buf, platform::formatFixed(buf, buf + sizeof buf, v, precision));
      EXPECT_EQ(fast, viaPrintf("f", precision, v)) << "%." << precision << "f of " << v;
    }
  }
}

// Expected texts worked out by hand, so that the table above does not rest
// on printf alone.
TEST(NumberText, KnownTexts) {
  struct Row {
    double v;
    bool fixed;
    int precision;
    const char* text;
  };
  const Row rows[] = {
      {-0.0, false, 15, "-0"},
      {0.1 + 0.2, false, 15, "0.3"},
      {0.1 + 0.2, false, 17, "0.30000000000000004"},
      {1e-7, false, 12, "1e-07"},
      {1e15, false, 15, "1e+15"},
      {1e15, false, 16, "1000000000000000"},
      {123456789.123456789, false, 12, "123456789.123"},
      {123456789.123456789, true, 2, "123456789.12"},
      {2.5, true, 0, "2"},     // a tie goes to even
      {0.125, true, 2, "0.12"},
      {-1e-7, true, 2, "-0.00"},
      {1e300, false, 6, "1e+300"},
      {4.9406564584124654e-324, false, 6, "4.94066e-324"},
  };
  char buf[400];
  for (const Row& r : rows) {
    const std::string fast(buf, r.fixed ? platform::formatFixed(buf, buf + sizeof buf, r.v, r.precision)
                                        : platform::formatGeneral(buf, buf + sizeof buf, r.v, r.precision));
    EXPECT_EQ(fast, r.text) << r.v << " precision " << r.precision;
  }
}

std::string viaToChars(double v) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string shortest(double v) {
  char buf[64];
  return std::string(buf, platform::formatShortest(buf, buf + sizeof buf, v));
}

// The shortest text of a double: the same characters as std::to_chars, for
// the awkward values, for numbers of a few decimals (the quick way) and their
// neighbours, and for numbers around the bounds of the quick way.
TEST(NumberText, ShortestIsToChars) {
  std::vector<double> values = awkwardValues();
  for (double v : {0.1, 0.35, 0.25, 0.7, 0.0999999999999999, 0.09, 1.25, 3.5, 10.5, 99999.0, 100000.0, 120000.0,
                   123456.0, 1e14, 999999999999999.0, 1e15, 9007199254740992.0, 4503599627370496.5, 0.3333333333,
                   12345.678901234, 1234567.891, 0.123456789, 1e5 + 0.5, 2e5, 1.5e9, 1234567890123.0})
    values.push_back(v);
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 200000; ++i) {
    const double scale = std::pow(10.0, static_cast<int>(random() % 10));
    const double v = static_cast<double>(static_cast<int64_t>(random() % 2000000000) - 1000000000) / scale;
    values.push_back(v);
    values.push_back(std::nextafter(v, 1e300));
    values.push_back(std::nextafter(v, -1e300));
    values.push_back(v * 1e6);
    values.push_back(static_cast<double>(random() % 100000) * 0.05);
  }
  for (int i = 0; i < 100000; ++i) {
    uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
  }
  for (double v : values) ASSERT_EQ(shortest(v), viaToChars(v)) << "of " << viaPrintf("g", 17, v);
}

// Texts worked out by hand for the shortest form.
TEST(NumberText, ShortestKnownTexts) {
  const std::pair<double, const char*> rows[] = {
      {1250.0, "1250"},   {-3.5, "-3.5"},    {0.35, "0.35"},       {10000.0, "10000"},     {100000.0, "1e+05"},
      {120000.0, "120000"}, {0.1 + 0.2, "0.30000000000000004"}, {0.0001, "1e-04"}, {1e-05, "1e-05"},
      {2.675, "2.675"},   {123456.5, "123456.5"}, {1e15, "1e+15"},
  };
  for (const auto& [v, text] : rows) EXPECT_EQ(shortest(v), text) << viaPrintf("g", 17, v);
}

}  // namespace
