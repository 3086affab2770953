// The plan module's dialog templates (PlanResources.h).

#include "PlanResources.h"

#include "EditorResources.h"

#include <array>
#include <cstdint>
#include <span>

#include "win/commctrl.h"
#include "win/resources.h"

namespace {

// The tree's two images, side by side: a closed yellow folder, and the same
// folder opened (lighter) for the selected node; the rest transparent.
std::span<const uint32_t> TreeImagePixels() {
  static const std::array<uint32_t, 32 * 16> pixels = [] {
    std::array<uint32_t, 32 * 16> p{};
    for (int image = 0; image < 2; ++image) {
      uint32_t body = image == 0 ? 0xFFE0C040u : 0xFFF8E080u;
      for (int y = 3; y < 14; ++y) {
        for (int x = 1; x < 15; ++x) {
          bool tab = y < 5 && x > 6;  // the folder's tab is only on the left
          bool edge = y == 3 || y == 13 || x == 1 || x == 14;
          if (tab) continue;
          p[static_cast<size_t>(y * 32 + image * 16 + x)] = edge ? 0xFF806000u : body;
        }
      }
    }
    return p;
  }();
  return pixels;
}

}  // namespace

void RegisterPlanResources() {
  using namespace platform::rc;
  // Rows from the top: the database, the range, the IP prefixes, direction
  // and drawing mode, scale and chainage style, label position and sizes,
  // precisions and colour, the structures to draw, the buttons.
  static const platform::DialogControlResource kSettings[] = {
      LText("方案数据库", IDC_STATIC, 8, 10, 44, 8),
      EditText(IDC_DATABASE_PATH, 54, 8, 216, 13, ES_AUTOHSCROLL),
      PushButton("浏览…", IDC_BROWSE_DATABASE, 276, 7, 44, 14),
      AutoCheckBox("显示数据库", IDC_SHOW_DATABASE, 8, 26, 60, 10),

      LText("起始里程", IDC_STATIC, 8, 44, 40, 8),
      EditText(IDC_START_CHAINAGE, 54, 42, 96, 13, ES_AUTOHSCROLL),
      LText("终止里程", IDC_STATIC, 166, 44, 40, 8),
      EditText(IDC_END_CHAINAGE, 210, 42, 110, 13, ES_AUTOHSCROLL),

      LText("一线冠号", IDC_STATIC, 8, 64, 40, 8),
      EditText(IDC_BASE_PREFIX, 54, 62, 50, 13, ES_AUTOHSCROLL),
      LText("左线冠号", IDC_STATIC, 112, 64, 40, 8),
      EditText(IDC_LEFT_PREFIX, 154, 62, 56, 13, ES_AUTOHSCROLL),
      LText("右线冠号", IDC_STATIC, 218, 64, 40, 8),
      EditText(IDC_RIGHT_PREFIX, 262, 62, 58, 13, ES_AUTOHSCROLL),

      AutoRadioButton("从左往右", IDC_LEFT_TO_RIGHT, 8, 84, 50, 10, WS_GROUP),
      AutoRadioButton("从右往左", IDC_RIGHT_TO_LEFT, 64, 84, 50, 10),
      AutoRadioButton("创建新图", IDC_NEW_DRAWING, 166, 84, 50, 10, WS_GROUP),
      AutoRadioButton("编辑原图", IDC_EDIT_DRAWING, 222, 84, 50, 10),

      LText("出图比例 1:", IDC_STATIC, 8, 104, 44, 8),
      ComboBox(IDC_PLOT_SCALE, 54, 102, 70, 120, CBS_DROPDOWN | WS_VSCROLL | WS_GROUP),
      LText("里程标注", IDC_STATIC, 166, 104, 40, 8),
      ComboBox(IDC_CHAINAGE_STYLE, 210, 102, 80, 100, CBS_DROPDOWNLIST | WS_VSCROLL),

      LText("曲线要素", IDC_STATIC, 8, 124, 44, 8),
      ComboBox(IDC_LABEL_POSITION, 54, 122, 70, 80, CBS_DROPDOWNLIST | WS_VSCROLL),
      LText("字高", IDC_STATIC, 166, 124, 20, 8),
      EditText(IDC_TEXT_HEIGHT, 188, 122, 36, 13, ES_AUTOHSCROLL),
      LText("中线宽度", IDC_STATIC, 236, 124, 38, 8),
      EditText(IDC_CENTERLINE_WIDTH, 278, 122, 42, 13, ES_AUTOHSCROLL),

      LText("里程精度", IDC_STATIC, 8, 144, 40, 8),
      ComboBox(IDC_CHAINAGE_PRECISION, 54, 142, 40, 80, CBS_DROPDOWNLIST | WS_VSCROLL),
      LText("插旗精度", IDC_STATIC, 100, 144, 40, 8),
      ComboBox(IDC_FLAG_PRECISION, 142, 142, 40, 80, CBS_DROPDOWNLIST | WS_VSCROLL),
      LText("偏角精度", IDC_STATIC, 190, 144, 40, 8),
      ComboBox(IDC_DEFLECTION_PRECISION, 232, 142, 40, 80, CBS_DROPDOWNLIST | WS_VSCROLL),
      LText("高程精度", IDC_STATIC, 8, 164, 40, 8),
      ComboBox(IDC_BENCH_PRECISION, 54, 162, 40, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
      AutoRadioButton("黑白", IDC_BLACK_WHITE, 166, 164, 40, 10, WS_GROUP),
      AutoRadioButton("彩图", IDC_COLOUR, 212, 164, 40, 10),

      LText("绘制结构物", IDC_STATIC, 8, 184, 50, 8),
      AutoCheckBox("大中桥", IDC_BRIDGES, 8, 198, 44, 10, WS_GROUP),
      AutoCheckBox("隧道", IDC_TUNNELS, 58, 198, 40, 10),
      AutoCheckBox("车站", IDC_STATIONS, 104, 198, 40, 10),
      AutoCheckBox("导线", IDC_TRAVERSE, 150, 198, 40, 10),
      AutoCheckBox("水准点", IDC_BENCH_MARKS, 196, 198, 44, 10),
      AutoCheckBox("全部小桥涵", IDC_ALL_CULVERTS, 8, 212, 60, 10),
      AutoCheckBox("立交涵", IDC_CROSSING_CULVERTS, 76, 212, 44, 10),

      LText("设置文件", IDC_STATIC, 8, 236, 40, 8),
      PushButton("浏览…", IDC_LOAD_SETTINGS, 50, 232, 40, 14),
      PushButton("保存…", IDC_SAVE_SETTINGS, 94, 232, 40, 14),
      PushButton("帮助", IDC_PLAN_HELP, 166, 232, 44, 14),
      DefPushButton("确定", IDOK, 222, 232, 46, 14),
      PushButton("取消", IDCANCEL, 274, 232, 46, 14),
  };
  static const platform::DialogResource kDialogs[] = {
      {IDD_PLAN_SETTINGS, "线路平面初始化", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, "宋体", 9, 0, 0,
       328, 254, kSettings},
  };

  static const platform::DialogControlResource kTree[] = {
      Control("", IDC_SCHEME_TREE, WC_TREEVIEW,
              TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 0, 101,
              221),
  };
  static const platform::DialogResource kTreeDialogs[] = {
      {IDD_SCHEME_TREE, "", DS_CONTROL | WS_CHILD | WS_VISIBLE, 0, "宋体", 9, 0, 0, 101, 221, kTree},
  };
  // The menu's one submenu is the popup the tree shows.
  static const platform::MenuItemResource kTreeMenu[] = {
      {"方案树", 0, MF_POPUP | MF_END},
      {"用左键双击打开", ID_SCHEME_TREE_HINT, MF_END},
  };
  static const platform::MenuResource kMenus[] = {{IDR_SCHEME_TREE_MENU, kTreeMenu}};
  static const platform::IconResource kIcons[] = {{IDB_SCHEME_TREE_IMAGES, 32, 16, TreeImagePixels()}};
  platform::registerResources({.dialogs = kDialogs});
  platform::registerResources({.dialogs = kTreeDialogs, .menus = kMenus, .icons = kIcons});
  RegisterTableEditorResources();
}
