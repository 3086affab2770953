// The dialog template and the menu of the ground-line input module.

#include "resources/PelloryResources.h"

#include "grid/GridCtrl.h"
#include "win/resources.h"

using namespace pellory_rc;
using namespace platform::rc;

namespace {

constexpr DWORD kDropDown = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;

// 323 x 389 dialog units: the heads of a station above, the two sides' point
// grids below, left beside right.
const platform::DialogControlResource kInput[] = {
    GroupBox("地面点录入", kFrame, 4, 2, 315, 383),
    PushButton("选择数据库", kChooseDatabase, 10, 14, 56, 14),
    PushButton("存入数据库", kWriteDatabase, 70, 14, 56, 14),
    PushButton("导入文件", kImportText, 130, 14, 56, 14),
    PushButton("拾取", kPick, 190, 14, 40, 14),
    PushButton("画图", kDraw, 234, 14, 40, 14),
    AutoRadioButton("基线", kBaseLine, 10, 34, 34, 10, WS_GROUP),
    AutoRadioButton("左绕行段", kLeftDetour, 46, 34, 48, 10),
    AutoRadioButton("右绕行段", kRightDetour, 96, 34, 48, 10),
    LText("线路名", -1, 150, 35, 26, 8),
    ComboBox(kLineName, 178, 32, 136, 100, kDropDown | CBS_SORT | WS_GROUP),
    LText("桩号", -1, 10, 53, 18, 8),
    ComboBox(kStationList, 30, 50, 90, 120, kDropDown),
    UpDown(kStationSpin, 121, 50, 10, 13),
    PushButton("查询", kQuery, 136, 50, 36, 14),
    PushButton("保存记录", kSaveRecord, 176, 50, 44, 14),
    PushButton("删除记录", kDeleteRecord, 224, 50, 44, 14),
    LText("中桩里程", -1, 10, 71, 34, 8),
    EditText(kChainage, 46, 68, 80, 14, ES_AUTOHSCROLL),
    LText("中桩高程", -1, 132, 71, 34, 8),
    EditText(kElevationEdit, 168, 68, 56, 14, ES_AUTOHSCROLL),
    LText("比例", -1, 230, 71, 18, 8),
    LText("1:", -1, 250, 71, 8, 8),
    EditText(kScale, 260, 68, 54, 14, ES_AUTOHSCROLL),
    LText("层号", -1, 10, 89, 18, 8),
    ComboBox(kLayer, 30, 86, 40, 100, kDropList),
    LText("岩性", -1, 78, 89, 18, 8),
    ComboBox(kRockType, 98, 86, 40, 100, kDropList),
    GroupBox("参照点", -1, 10, 104, 148, 26),
    AutoRadioButton("相对中桩", kFromCentreRadio, 16, 115, 60, 10, WS_GROUP),
    AutoRadioButton("相对前点", kFromPreviousRadio, 84, 115, 60, 10),
    GroupBox("高程类型", -1, 166, 104, 148, 26, WS_GROUP),
    AutoRadioButton("高差", kHeightDifferenceRadio, 172, 115, 50, 10, WS_GROUP),
    AutoRadioButton("高程", kElevationRadio, 230, 115, 50, 10),
    GroupBox("左侧", kLeftGroup, 10, 134, 150, 246, WS_GROUP),
    Control("", kLeftGrid, GRIDCTRL_CLASSNAME, WS_BORDER | WS_TABSTOP, 14, 145, 142, 231),
    GroupBox("右侧", kRightGroup, 164, 134, 150, 246),
    Control("", kRightGrid, GRIDCTRL_CLASSNAME, WS_BORDER | WS_TABSTOP, 168, 145, 142, 231),
};

const platform::DialogResource kDialogs[] = {
    {kInputDlg, "地面线录入", WS_CHILD | DS_SETFONT, 0, "宋体", 9, 0, 0, 323, 389, kInput},
};

// The first submenu is the grid's row menu.
const platform::MenuItemResource kRowMenuItems[] = {{"表格", 0, MF_POPUP | MF_END},
                                                    {"增加行", 0, MF_POPUP},
                                                    {"之前增加", ID_GRID_INSERT_ROW_BEFORE, 0},
                                                    {"之后增加", ID_GRID_INSERT_ROW_AFTER, MF_END},
                                                    {"删除行", ID_GRID_DELETE_ROWS, MF_END}};

const platform::MenuResource kMenus[] = {{kRowMenu, kRowMenuItems}};

}  // namespace

void RegisterPelloryResources() { platform::registerResources({.dialogs = kDialogs, .menus = kMenus}); }
