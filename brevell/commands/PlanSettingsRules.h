#pragma once
// The rules by which the plan settings dialog turns its choices into plan
// settings: the chainage style that a plot scale suggests, the metres between
// chainage marks of a style, the curve-label side of a label position, and
// the chainage text of a break-table row that seeds the drawing range.

#include "mfc/cstring.h"

// The chainage styles, in the order the dialog lists them.
inline constexpr const char* kChainageStyles[] = {"百米标", "五百米标", "公里标", "五公里标", "十公里标", "二十五公里标"};

// The style a plot-scale denominator (the combo box's text, read with atof)
// suggests: above 200001 "二十五公里标", above 50001 "十公里标", above 20001
// "五公里标", above 5001 "公里标", else "百米标".
CString ChainageStyleForScale(const char* scaleText);

// Metres between chainage marks: 百米标 100, 公里标 1000, 五公里标 5000,
// 十公里标 10000, 二十五公里标 25000, any other text (五百米标 among them) 500.
double ChainageMarkInterval(const char* style);

// The plan model's curve-label side: −1 "曲线左侧", +1 "曲线右侧", 0 any other text.
int CurveLabelSide(const char* labelPosition);

// The chainage text of a break row: the prefix, the kilometres
// (trunc(V·0.001 + 0.0001)) and '+' with the metres to three decimals
// (V − km·1000 written as the last three digits and decimals of +1000):
// 1234.5 with prefix DK is "DK1+234.500".
CString BreakRowChainageText(const char* prefix, double value);

// The plot-scale denominators a plan is drawn at, 1:100 to 1:500000 (the last
// item of the dialog's list): at 1:1 a plan of a line takes gigabytes and
// minutes, and a scale that is not finite draws nothing.
inline constexpr double kMinPlotScale = 100.0;
inline constexpr double kMaxPlotScale = 500000.0;
// The paper sizes of the texts and the centre line, in millimetres: a text
// height above 0 and at most 100, a line width from 0 to 10.
inline constexpr double kMaxTextHeight = 100.0;
inline constexpr double kMaxCenterlineWidth = 10.0;

// Why a plot-scale text cannot be drawn at, or "" when it can: it must read
// wholly as a number within [kMinPlotScale, kMaxPlotScale].
CString PlotScaleProblem(const char* scaleText);
// Why a text height or a centre-line width cannot be drawn with, or "".
CString TextHeightProblem(double height);
CString CenterlineWidthProblem(double width);
// True when `text` is one of the chainage-precision items "1位" to "4位".
bool IsChainagePrecision(const char* text);
