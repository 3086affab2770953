// The fast number formatting of the drawing files gives the very characters
// printf gives for the same format: a table of awkward doubles, each written
// both ways (printf is the independent reference here).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
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

}  // namespace
