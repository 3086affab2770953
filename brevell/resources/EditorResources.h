#pragma once
// The table editor's template (2251) and the icons of its buttons.

#include "win/winuser.h"

enum TableEditorIds : int {
  IDD_TABLE_EDITOR = 2251,
  IDC_EDITOR_GRID = 2003,    // the station grid
  IDC_EDITOR_DELETE = 2021,  // "删除": delete the selected rows
  IDC_EDITOR_ADD = 2011,     // "添加": add rows
  IDC_EDITOR_SAVE = 3,       // "保存"
  IDC_EDITOR_QUIT = 4,       // "不存入数据库退出"
  IDC_EDITOR_REDRAW = 232,   // "刷新图形": save, then the table's IN* command
  IDC_EDITOR_IMPORT = 252,   // "从文件导入导线数据" (导线表 only)
  IDC_EDITOR_TRACK = 235,    // check: follow the clicked row in the drawing
  IDC_EDITOR_PREVIEW = 240,  // the drawing preview of a station's flag block
  IDC_EDITOR_ROWS = 255,     // edit: the number of rows to add
  IDI_EDITOR_DELETE = 2012,
  IDI_EDITOR_ADD = 2053,
  IDI_EDITOR_SAVE = 2033,
  IDI_EDITOR_QUIT = 2022,
  IDI_EDITOR_REDRAW = 2083,
};

// Registers the template and the icons under the running module.
void RegisterTableEditorResources();
