#pragma once
// The plan module's resources: the dialog templates, registered by the
// module's start-up under the module's own handle.
//
// Template 2001 "线路平面初始化" is the plan settings dialog (CPlanSettingsDlg);
// template 2163 the project tree (CSchemeTreeDlg) with its menu and images;
// template 2251 the table editor (EditorResources.h).

#include "win/winuser.h"

// Template and control ids of the plan settings dialog.
enum PlanSettingsIds : int {
  IDD_PLAN_SETTINGS = 2001,
  IDC_DATABASE_PATH = 217,       // edit: the scheme database
  IDC_BROWSE_DATABASE = 2181,    // "浏览…"
  IDC_SHOW_DATABASE = 233,       // check 显示数据库
  IDC_START_CHAINAGE = 2031,     // edit
  IDC_END_CHAINAGE = 2041,       // edit
  IDC_LEFT_TO_RIGHT = 207,       // radio 从左往右 (first of its group)
  IDC_RIGHT_TO_LEFT = 2081,      // radio 从右往左
  IDC_CHAINAGE_STYLE = 2253,     // combo (list)
  IDC_NEW_DRAWING = 2191,        // radio 创建新图 (first of its group)
  IDC_EDIT_DRAWING = 2201,       // radio 编辑原图
  IDC_BASE_PREFIX = 2051,        // edit
  IDC_LEFT_PREFIX = 209,         // edit
  IDC_RIGHT_PREFIX = 210,        // edit
  IDC_LABEL_POSITION = 246,      // combo (list)
  IDC_PLOT_SCALE = 249,          // combo (drop-down: takes a typed value)
  IDC_CENTERLINE_WIDTH = 251,    // edit
  IDC_TEXT_HEIGHT = 250,         // edit
  IDC_CHAINAGE_PRECISION = 2161, // combo (list)
  IDC_FLAG_PRECISION = 257,      // combo (list)
  IDC_DEFLECTION_PRECISION = 256,  // combo (list)
  IDC_BENCH_PRECISION = 258,     // combo (list)
  IDC_BRIDGES = 2261,            // check 大中桥
  IDC_BENCH_MARKS = 2304,        // check 水准点
  IDC_ALL_CULVERTS = 2312,       // check 全部小桥涵
  IDC_CROSSING_CULVERTS = 2313,  // check 立交涵
  IDC_STATIONS = 2281,           // check 车站
  IDC_TUNNELS = 2271,            // check 隧道
  IDC_TRAVERSE = 2293,           // check 导线
  IDC_BLACK_WHITE = 260,         // radio 黑白 (first of its group)
  IDC_COLOUR = 259,              // radio 彩图
  IDC_LOAD_SETTINGS = 2211,      // "浏览…": load a .pmcs file
  IDC_SAVE_SETTINGS = 2221,      // "保存…": save a .pmcs file
  IDC_PLAN_HELP = 2241,          // help
};

// The project tree dialog (CSchemeTreeDlg) in the dock bar "方案数据库".
enum SchemeTreeIds : int {
  IDD_SCHEME_TREE = 2163,        // child dialog, 101 x 221
  IDC_SCHEME_TREE = 2062,        // the tree
  IDB_SCHEME_TREE_IMAGES = 2192, // two 16 x 16 images side by side: a node, a selected node
  IDR_SCHEME_TREE_MENU = 2164,   // the right-click menu (its first submenu)
  ID_SCHEME_TREE_HINT = 2316,    // "用左键双击打开"
  ID_SCHEME_TREE_IGNORED_FIRST = 2314,  // commands 2314 .. 2414 do nothing
  ID_SCHEME_TREE_IGNORED_LAST = 2414,
  ID_SCHEME_TREE_OPEN_FIRST = 2315,     // commands 2315 .. 2415 open the selected table
  ID_SCHEME_TREE_OPEN_LAST = 2415,
};

// Registers the module's resources under the module whose code runs.
void RegisterPlanResources();
