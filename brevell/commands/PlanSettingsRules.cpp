// The plan settings dialog's rules (PlanSettingsRules.h).

#include "PlanSettingsRules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

CString ChainageStyleForScale(const char* scaleText) {
  const double v = std::atof(scaleText ? scaleText : "");
  if (v > 200001) return "二十五公里标";
  if (v > 50001) return "十公里标";
  if (v > 20001) return "五公里标";
  if (v > 5001) return "公里标";
  return "百米标";
}

double ChainageMarkInterval(const char* style) {
  struct Row {
    const char* style;
    double interval;
  };
  static constexpr Row kRows[] = {
      {"百米标", 100.0}, {"公里标", 1000.0}, {"五公里标", 5000.0}, {"十公里标", 10000.0}, {"二十五公里标", 25000.0}};
  for (const Row& row : kRows) {
    if (style && std::strcmp(style, row.style) == 0) return row.interval;
  }
  return 500.0;
}

int CurveLabelSide(const char* labelPosition) {
  if (!labelPosition) return 0;
  if (std::strcmp(labelPosition, "曲线左侧") == 0) return -1;
  if (std::strcmp(labelPosition, "曲线右侧") == 0) return 1;
  return 0;
}

CString BreakRowChainageText(const char* prefix, double value) {
  const double km = std::trunc(value * 0.001 + 0.0001);
  CString kmText, metres;
  kmText.Format("%.0f", km);
  metres.Format("%.3f", value - km * 1000.0 + 1000.0);
  if (!metres.IsEmpty()) metres.SetAt(0, '+');
  return CString(prefix ? prefix : "") + kmText + metres;
}
