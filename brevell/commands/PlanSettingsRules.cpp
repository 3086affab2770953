// The plan settings dialog's rules (PlanSettingsRules.h).

#include "PlanSettingsRules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "project/SchemeValues.h"

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

CString PlotScaleProblem(const char* scaleText) {
  const CString text(scaleText ? scaleText : "");
  double v = 0.0;
  if (!ReadsAsNumber(text.GetString(), v) || !(v > 0.0)) return "出图比例" + text + "不是正数!";
  if (v < kMinPlotScale || v > kMaxPlotScale) {
    CString problem;
    problem.Format("出图比例1:%s不在1:%.0f到1:%.0f之间!", text.GetString(), kMinPlotScale, kMaxPlotScale);
    return problem;
  }
  return CString();
}

CString TextHeightProblem(double height) {
  if (height > 0.0 && height <= kMaxTextHeight) return CString();
  CString problem;
  problem.Format("字高%g应大于0且不大于%.0f(毫米)!", height, kMaxTextHeight);
  return problem;
}

CString CenterlineWidthProblem(double width) {
  if (width >= 0.0 && width <= kMaxCenterlineWidth) return CString();
  CString problem;
  problem.Format("中线宽度%g应在0到%.0f(毫米)之间!", width, kMaxCenterlineWidth);
  return problem;
}

bool IsChainagePrecision(const char* text) {
  for (const char* item : {"1位", "2位", "3位", "4位"})
    if (std::strcmp(text ? text : "", item) == 0) return true;
  return false;
}
