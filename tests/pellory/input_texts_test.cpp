// The station texts of the ground-line input and the detour number of a
// detour line's label.
#include <gtest/gtest.h>

#include "InputTexts.h"

namespace {

TEST(StationTexts, KilometresPlusMetresWithTwoDecimals) {
  struct Case {
    const char* prefix;
    double chainage;
    const char* text;
  };
  const Case cases[] = {
      {"DK", 12005.5, "DK12+005.50"}, {"DK", 12045.5, "DK12+045.50"}, {"DK", 12345.5, "DK12+345.50"},
      {"K", 5.5, "K0+005.50"},        {"K", 1234.5, "K1+234.50"},     {"DK", 12000.0, "DK12+000.00"},
      {"", 0.0, "0+000.00"},          // rounded to centimetres first: never "+1000.00"
      {"D1K", 12999.996, "D1K13+000.00"}, {"K", -50.25, "K-0+050.25"},
  };
  for (const Case& c : cases) EXPECT_STREQ(StationText(c.prefix, c.chainage).GetString(), c.text) << c.chainage;
}

TEST(StationTexts, ATextIsReadAsAStationOnlyWhenItsNumberIsAFiniteNumber) {
  struct Case {
    const char* text;
    bool station;
    const char* prefix;
    double chainage;  // metres, cut to whole millimetres
  };
  const Case cases[] = {
      {"DK12+345.67", true, "DK", 12345.67},
      {"DK12+345.6789", true, "DK", 12345.678},
      {"dk 1 + 234.5", true, "dk", 1234.5},
      {"D1K40+260.000", true, "D1K", 40260.0},
      {"K-0+050.000", true, "K", -50.0},
      {"DK25+000", true, "DK", 25000.0},
      {"1234.5", true, "", 1234.5},
      {"DKinf", false, "", 0.0},
      {"DK1e400", false, "", 0.0},
      {"DKnan", false, "", 0.0},
      {"abc", false, "", 0.0},
      {"DK", false, "", 0.0},
      {"DK1+000abc", false, "", 0.0},
      {"DK1+2+3", false, "", 0.0},
      {"DK1e306", false, "", 0.0},  // finite, but not in millimetres
      {"", false, "", 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CString prefix = "old";
    double chainage = -1.0;
    EXPECT_EQ(ReadStationText(c.text, prefix, chainage), c.station);
    EXPECT_STREQ(prefix.GetString(), c.station ? c.prefix : "old");
    EXPECT_NEAR(chainage, c.station ? c.chainage : -1.0, 1e-9);
  }
}

TEST(DetourLabels, TheWholeNumberBetweenTheOrdinalAndTheDetourWord) {
  struct Case {
    const char* name;
    bool label;
    int number;
  };
  const Case cases[] = {
      {"左线第3绕行段", true, 3},
      {"右线第12绕行段", true, 12},      // more than one digit: not the byte at offset 6
      {"左线第0绕行段 老路改线", true, 0},  // the remark after the label
      {"  左线第105绕行段", true, 105},
      {"基线", false, 0},
      {"左线第绕行段", false, 0},          // no number
      {"左线第3段", false, 0},             // no detour word after the number
      {"左线第x3绕行段", false, 0},
      {"左线第99999999999绕行段", false, 0},  // too large for the number
      {"", false, 0},
  };
  for (const Case& c : cases) {
    int number = -1;
    EXPECT_EQ(DetourNumberOfLabel(c.name, number), c.label) << c.name;
    if (c.label) {
      EXPECT_EQ(number, c.number) << c.name;
    }
  }
  EXPECT_STREQ(DetourText(12).GetString(), "12");
}

}  // namespace
