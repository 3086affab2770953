// The table editor's template and icons (EditorResources.h).

#include "EditorResources.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "arx/activex.h"
#include "grid/GridCtrl.h"
#include "win/resources.h"

namespace {

constexpr int kIcon = 16;
using IconPixels = std::array<uint32_t, kIcon * kIcon>;

// An icon drawn by a rule: `ink(x, y)` gives the colour of a pixel, 0 for
// transparent.
template <class Ink>
IconPixels Draw(Ink ink) {
  IconPixels p{};
  for (int y = 0; y < kIcon; ++y)
    for (int x = 0; x < kIcon; ++x) p[static_cast<size_t>(y * kIcon + x)] = ink(x, y);
  return p;
}

// 删除: a red cross.
const IconPixels& DeleteIcon() {
  static const IconPixels p = Draw([](int x, int y) -> uint32_t {
    const bool on = (x >= 2 && x <= 13 && y >= 2 && y <= 13) && (std::abs(x - y) <= 1 || std::abs(x + y - 15) <= 1);
    return on ? 0xFFD02020u : 0u;
  });
  return p;
}

// 添加: a green plus.
const IconPixels& AddIcon() {
  static const IconPixels p = Draw([](int x, int y) -> uint32_t {
    const bool bar = (y >= 7 && y <= 8 && x >= 2 && x <= 13) || (x >= 7 && x <= 8 && y >= 2 && y <= 13);
    return bar ? 0xFF20A020u : 0u;
  });
  return p;
}

// 保存: a blue disk with its label.
const IconPixels& SaveIcon() {
  static const IconPixels p = Draw([](int x, int y) -> uint32_t {
    if (x < 2 || x > 13 || y < 2 || y > 13) return 0u;
    if (x >= 5 && x <= 10 && y >= 2 && y <= 5) return 0xFFE0E0E0u;   // the shutter
    if (x >= 4 && x <= 11 && y >= 9 && y <= 13) return 0xFFFFFFFFu;  // the label
    return 0xFF2050C0u;
  });
  return p;
}

// 不存入数据库退出: a grey door with an arrow out.
const IconPixels& QuitIcon() {
  static const IconPixels p = Draw([](int x, int y) -> uint32_t {
    if (x >= 2 && x <= 7 && y >= 2 && y <= 13) return (x == 2 || x == 7 || y == 2 || y == 13) ? 0xFF606060u : 0u;
    if (y >= 7 && y <= 8 && x >= 8 && x <= 13) return 0xFFC08000u;
    if (std::abs(y - 7.5) + (13 - x) <= 3.5 && x >= 10) return 0xFFC08000u;
    return 0u;
  });
  return p;
}

// 刷新图形: a green ring, open at the top right.
const IconPixels& RedrawIcon() {
  static const IconPixels p = Draw([](int x, int y) -> uint32_t {
    const double dx = x - 7.5, dy = y - 7.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r < 4.0 || r > 6.2) return 0u;
    if (dx > 0 && dy < 0 && dx > -dy * 0.4) return 0u;
    return 0xFF20A040u;
  });
  return p;
}

}  // namespace

void RegisterTableEditorResources() {
  using namespace platform::rc;
  // The icon buttons have no caption: their tool tips name them.
  static const platform::DialogControlResource kControls[] = {
      Control("", IDC_EDITOR_ADD, "Button", BS_OWNERDRAW | WS_TABSTOP, 6, 5, 22, 16),
      EditText(IDC_EDITOR_ROWS, 30, 6, 28, 13, ES_NUMBER | ES_AUTOHSCROLL),
      LText("行", IDC_STATIC, 60, 8, 10, 8),
      Control("", IDC_EDITOR_DELETE, "Button", BS_OWNERDRAW | WS_TABSTOP, 72, 5, 22, 16),
      Control("", IDC_EDITOR_SAVE, "Button", BS_OWNERDRAW | WS_TABSTOP, 98, 5, 22, 16),
      Control("", IDC_EDITOR_REDRAW, "Button", BS_OWNERDRAW | WS_TABSTOP, 124, 5, 22, 16),
      Control("", IDC_EDITOR_QUIT, "Button", BS_OWNERDRAW | WS_TABSTOP, 150, 5, 22, 16),
      AutoCheckBox("跟踪显示", IDC_EDITOR_TRACK, 180, 8, 48, 10),
      PushButton("从文件导入导线数据", IDC_EDITOR_IMPORT, 232, 5, 84, 16),
      Control("", IDC_EDITOR_GRID, GRIDCTRL_CLASSNAME, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 6, 26, 318, 196),
      Control("", IDC_EDITOR_PREVIEW, DWGTHUMBNAIL_CLASSID, WS_CHILD | WS_BORDER, 330, 26, 88, 88),
  };
  static const platform::DialogResource kDialogs[] = {
      {IDD_TABLE_EDITOR, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
       "宋体", 9, 0, 0, 424, 228, kControls},
  };
  static const platform::IconResource kIcons[] = {
      {IDI_EDITOR_DELETE, kIcon, kIcon, DeleteIcon()}, {IDI_EDITOR_ADD, kIcon, kIcon, AddIcon()},
      {IDI_EDITOR_SAVE, kIcon, kIcon, SaveIcon()},     {IDI_EDITOR_QUIT, kIcon, kIcon, QuitIcon()},
      {IDI_EDITOR_REDRAW, kIcon, kIcon, RedrawIcon()},
  };
  platform::registerResources({.dialogs = kDialogs, .icons = kIcons});
}
