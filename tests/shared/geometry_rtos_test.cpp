// The host's real-to-string conversion as the chainage and angle texts use it.

#include <gtest/gtest.h>

#include <string>

#include "arx/rtos.h"

namespace {

TEST(GeometryRToS, DecimalModeKeepsTrailingZeros) {
  const struct {
    double value;
    int unit, precision;
    const char* text;
  } cases[] = {
      {1.5, 2, 2, "1.50"},          // trailing zeros stay
      {2.0, 2, 0, "2"},             // no decimals, no point
      {1005.0, 2, 3, "1005.000"},
      {1234.5678, 2, 3, "1234.568"},
      {1234.5678, 2, 0, "1235"},
      {-12.25, 2, 1, "-12.2"},      // 12.25 is exact: printf rounds the tie to even
      {-0.004, 2, 2, "0.00"},       // rounds to zero: no minus sign
      {3.14159, -1, -1, "3.1416"},  // the drawing's units and precision: decimal, 4
      {1.0, 2, 12, "1.00000000"},   // at most 8 decimals
      {1234.56, 1, 3, "1.235E+03"},
      {0.5, 1, 2, "5.00E-01"},
  };
  for (const auto& c : cases) {
    char text[64] = "junk";
    EXPECT_EQ(acdbRToS(c.value, c.unit, c.precision, text), RTNORM) << c.text;
    EXPECT_STREQ(text, c.text);
  }
}

TEST(GeometryRToS, RefusesOtherUnitsAndBoundsTheBuffer) {
  char text[16] = "junk";
  EXPECT_EQ(acdbRToS(1.5, 4, 2, text), RTERROR);  // architectural units are not written
  EXPECT_STREQ(text, "");

  char small[6];
  EXPECT_EQ(acdbRToS(123456.789, 2, 3, small), RTERROR);
  EXPECT_STREQ(small, "12345");

  char* pointer = text;
  EXPECT_EQ(acdbRToS(7.25, 2, 2, pointer, sizeof text), RTNORM);
  EXPECT_STREQ(text, "7.25");
  EXPECT_EQ(acdbRToS(7.25, 2, 2, nullptr, 10), RTERROR);
}

}  // namespace
