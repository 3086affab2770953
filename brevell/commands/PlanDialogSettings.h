#pragma once
// The settings of the plan settings dialog (CPlanSettingsDlg), as its
// controls show them, with their defaults; and the .pmcs file that keeps 21 of
// them, one value per line:
//
//    1 database path        8 left-line IP prefix   15 bench marks (1 / -1)
//    2 start chainage       9 right-line IP prefix  16 all culverts (1 / -1)
//    3 end chainage        10 chainage precision    17 curve-label position
//    4 drawing mode (0/1)  11 bridges (1 / -1)      18 chainage style
//    5 direction (0/1)     12 tunnels (1 / -1)      19 text height
//    6 plot scale          13 stations (1 / -1)     20 centre-line width
//    7 base-line IP prefix 14 traverse (1 / -1)     21 colour (0 黑白, 1 彩图)
//
// The two numbers are written "%lf" (six decimals), or in as many
// significant digits as give the value back when six decimals do not (a text
// height of 1e-7), so that saved settings always load again. A line holding a
// NUL byte is refused as damaged.
//
// Each value is a whole line, so a text with blanks (a database path under
// "D:\My Projects") keeps them; a file written one word per line by earlier
// versions reads the same. Every line is read bounded: a value longer than its
// setting holds, a number that does not read, or a file of fewer lines is
// refused with a message naming the file and the line, and nothing is changed.

#include "mfc/cstring.h"

struct PlanDialogSettings {
  // Longest texts a .pmcs line may hold, in GBK bytes (a Chinese character 2).
  static constexpr int kPathGbkMax = 259;
  static constexpr int kChainageGbkMax = 79;
  static constexpr int kPrefixGbkMax = 19;
  static constexpr int kChoiceGbkMax = 31;  // scale, precision, label position, chainage style

  CString databasePath;      // edit 217
  int showDatabase = 0;      // check 233 显示数据库
  CString startChainage;     // edit 2031
  CString endChainage;       // edit 2041
  int direction = 0;         // radios 207 从左往右 (0) / 2081 从右往左 (1)
  CString chainageStyle = "百米标";  // combo 2253
  int drawingMode = 0;       // radios 2191 创建新图 (0) / 2201 编辑原图 (1)
  CString basePrefix = "JD";    // edit 2051
  CString leftPrefix = "ZJD";   // edit 209
  CString rightPrefix = "YJD";  // edit 210
  CString labelPosition = "曲线内侧";  // combo 246
  CString plotScale = "2000";  // combo 249 (takes a typed value)
  double centerlineWidth = 0.7;  // edit 251, paper units
  double textHeight = 4.0;       // edit 250, paper units
  CString chainagePrecision = "2位";    // combo 2161
  CString flagPrecision = "2位";        // combo 257
  CString deflectionPrecision = "0位";  // combo 256
  CString benchLevelPrecision = "3位";  // combo 258
  int bridges = 0;           // check 2261 大中桥
  int benchMarks = 0;        // check 2304 水准点
  int allCulverts = 0;       // check 2312 全部小桥涵
  int crossingCulverts = 0;  // check 2313 立交涵
  int stations = 0;          // check 2281 车站
  int tunnels = 0;           // check 2271 隧道
  int traverse = 0;          // check 2293 导线
  int colour = 0;            // radios 260 黑白 (0) / 259 彩图 (1)
  double markSpacing = 1000.0;
  int chainageDigits = 2;
};

// Writes the 21 lines to `path` ("w+"). False, after the message box
// "不能建立此文件，保存失败!", when the file cannot be created or written.
bool SavePlanSettingsFile(const CString& path, const PlanDialogSettings& settings);

// Reads the 21 lines of `path` into `settings` (a structure box is ticked
// when its number is above 0); the crossing-culvert and show-database boxes
// and the flag, deflection and bench-level precisions keep their values.
// False, with `settings` unchanged, when the file cannot be opened
// ("不能访问此文件，读取失败!") or a line is refused (a message naming the
// file and the line).
bool LoadPlanSettingsFile(const CString& path, PlanDialogSettings& settings);
