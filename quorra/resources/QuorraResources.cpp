// The navigator's resources (QuorraResources.h).

#include "QuorraResources.h"

#include <array>
#include <cstdint>

#include "arx/activex.h"
#include "grid/GridCtrl.h"
#include "win/commctrl.h"
#include "win/resources.h"

namespace {

// Two 16 × 16 images side by side: a closed book for a node (0) and an open,
// highlighted one for the selected node (1), drawn from a few rectangles.
const std::array<uint32_t, 32 * 16>& NodeImages() {
  static const std::array<uint32_t, 32 * 16> pixels = [] {
    std::array<uint32_t, 32 * 16> p{};
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 32; ++x) {
        const int ix = x % 16;
        const bool selected = x >= 16;
        uint32_t colour = 0;  // transparent
        if (ix >= 2 && ix <= 13 && y >= 2 && y <= 13) {
          const bool edge = ix == 2 || ix == 13 || y == 2 || y == 13;
          if (edge) {
            colour = 0xFF404040u;
          } else if (ix == 4) {
            colour = selected ? 0xFF0050A0u : 0xFF806020u;  // the spine
          } else {
            colour = selected ? 0xFFFFF080u : 0xFFE8D8A8u;  // the pages
          }
        }
        p[static_cast<size_t>(y * 32 + x)] = colour;
      }
    }
    return p;
  }();
  return pixels;
}

// A 16 x 16 button icon drawn by `inside(x, y)` in `colour` on a transparent ground.
template <class Shape>
std::array<uint32_t, 16 * 16> ButtonIcon(uint32_t colour, Shape inside) {
  std::array<uint32_t, 16 * 16> p{};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) p[static_cast<size_t>(y * 16 + x)] = inside(x, y) ? colour : 0u;
  return p;
}

// 添加: a plus; 删除: a minus; 保存: a disk; 取消: a cross.
const std::array<uint32_t, 16 * 16>& AddIcon() {
  static const auto icon = ButtonIcon(0xFF008000u, [](int x, int y) {
    return (x >= 7 && x <= 8 && y >= 2 && y <= 13) || (y >= 7 && y <= 8 && x >= 2 && x <= 13);
  });
  return icon;
}
const std::array<uint32_t, 16 * 16>& DeleteIcon() {
  static const auto icon = ButtonIcon(0xFFC00000u, [](int x, int y) { return y >= 7 && y <= 8 && x >= 2 && x <= 13; });
  return icon;
}
const std::array<uint32_t, 16 * 16>& SaveIcon() {
  static const auto icon = ButtonIcon(0xFF204080u, [](int x, int y) {
    const bool frame = x >= 2 && x <= 13 && y >= 2 && y <= 13;
    const bool label = x >= 5 && x <= 10 && y >= 3 && y <= 6;
    return frame && !label;
  });
  return icon;
}
const std::array<uint32_t, 16 * 16>& CloseIcon() {
  static const auto icon = ButtonIcon(0xFF800000u, [](int x, int y) {
    return x >= 2 && x <= 13 && y >= 2 && y <= 13 && ((x - y <= 1 && y - x <= 1) || (x + y >= 14 && x + y <= 16));
  });
  return icon;
}

}  // namespace

void RegisterQuorraResources() {
  using namespace platform::rc;
  static const platform::DialogControlResource kTree[] = {
      Control("", IDC_SCHEME_TREE, WC_TREEVIEW,
              TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 0,
              100, 210),
  };
  // The table editor: the grid with the preview beside it, the note, the
  // count of rows to add and the four buttons below.
  static const platform::DialogControlResource kEditor[] = {
      Control("", IDC_EDITOR_GRID, GRIDCTRL_CLASSNAME, WS_TABSTOP | WS_BORDER, 7, 7, 346, 170),
      Control("", IDC_EDITOR_PREVIEW, DWGTHUMBNAIL_CLASSID, 0, 360, 7, 93, 80),
      LText("注: 第一个交点的前缓和曲线长输入线路的起始里程", IDC_EDITOR_NOTE, 7, 182, 230, 22),
      EditText(IDC_EDITOR_ROWS, 245, 186, 36, 13),
      LText("行", IDC_EDITOR_ROWS_LABEL, 284, 188, 12, 10),
      PushButton("添加", IDC_EDITOR_ADD, 300, 182, 36, 22),
      PushButton("删除", IDC_EDITOR_DELETE, 338, 182, 36, 22),
      PushButton("保存", IDC_EDITOR_SAVE, 376, 182, 36, 22),
      PushButton("取消", IDC_EDITOR_CLOSE, 414, 182, 36, 22),
  };
  static const platform::DialogResource kDialogs[] = {
      {IDD_SCHEME_TREE, "方案数据库", WS_CHILD | WS_VISIBLE, 0, "宋体", 9, 0, 0, 101, 221, kTree},
      {IDD_TABLE_EDITOR, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
       "宋体", 9, 0, 0, 460, 210, kEditor},
  };
  static const platform::IconResource kIcons[] = {
      {IDB_SCHEME_TREE_IMAGES, 32, 16, NodeImages()},
      {IDI_EDITOR_ADD, 16, 16, AddIcon()},
      {IDI_EDITOR_DELETE, 16, 16, DeleteIcon()},
      {IDI_EDITOR_SAVE, 16, 16, SaveIcon()},
      {IDI_EDITOR_CLOSE, 16, 16, CloseIcon()},
  };
  platform::registerResources({.dialogs = kDialogs, .icons = kIcons});
}
