// The settings dialog's rules: the chainage style a plot scale suggests, the
// marks' interval of a style, the curve-label side and the range text of a
// break row. Expected values are those the dialog's tables give.

#include <gtest/gtest.h>

#include <string>

#include "PlanSettingsRules.h"

namespace {

TEST(PlanSettingsRules, ScaleGivesChainageStyle) {
  struct Case {
    const char* scale;
    const char* style;
  };
  const Case cases[] = {
      {"1000", "百米标"},     {"2000", "百米标"},     {"5000", "百米标"},       {"5001", "百米标"},
      {"5002", "公里标"},     {"10000", "公里标"},    {"20001", "公里标"},      {"30000", "五公里标"},
      {"50001", "五公里标"},  {"100000", "十公里标"}, {"200001", "十公里标"},   {"200002", "二十五公里标"},
      {"500000", "二十五公里标"}, {"", "百米标"},     {"abc", "百米标"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(ChainageStyleForScale(c.scale).GetString()), c.style) << "scale " << c.scale;
  }
}

TEST(PlanSettingsRules, StyleGivesMarkInterval) {
  struct Case {
    const char* style;
    double interval;
  };
  const Case cases[] = {
      {"百米标", 100},     {"公里标", 1000},       {"五公里标", 5000}, {"十公里标", 10000},
      {"二十五公里标", 25000}, {"五百米标", 500}, {"", 500},          {"公里", 500},
  };
  for (const Case& c : cases) EXPECT_EQ(ChainageMarkInterval(c.style), c.interval) << c.style;
}

TEST(PlanSettingsRules, LabelPositionGivesSide) {
  EXPECT_EQ(CurveLabelSide("曲线左侧"), -1);
  EXPECT_EQ(CurveLabelSide("曲线右侧"), 1);
  EXPECT_EQ(CurveLabelSide("曲线内侧"), 0);
  EXPECT_EQ(CurveLabelSide(""), 0);
}

TEST(PlanSettingsRules, BreakRowChainageText) {
  struct Case {
    const char* prefix;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"DK", 1234.5, "DK1+234.500"},
      {"DK", 25000.0, "DK25+000.000"},
      {"D1K", 45221.859, "D1K45+221.859"},
      {"AK", 5.0, "AK0+005.000"},
      {"K", 0.0, "K0+000.000"},
      // Within 0.1 mm below a kilometre: the kilometre itself.
      {"DK", 1999.99995, "DK2+000.000"},
      {"", 999.0, "0+999.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(BreakRowChainageText(c.prefix, c.value).GetString()), c.text) << c.value;
  }
}

}  // namespace
