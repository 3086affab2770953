// The navigator's resources (QuorraResources.h).

#include "QuorraResources.h"

#include <array>
#include <cstdint>

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

}  // namespace

void RegisterQuorraResources() {
  using namespace platform::rc;
  static const platform::DialogControlResource kTree[] = {
      Control("", IDC_SCHEME_TREE, WC_TREEVIEW,
              TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 0,
              100, 210),
  };
  static const platform::DialogResource kDialogs[] = {
      {IDD_SCHEME_TREE, "方案数据库", WS_CHILD | WS_VISIBLE, 0, "宋体", 9, 0, 0, 101, 221, kTree},
  };
  static const platform::IconResource kIcons[] = {
      {IDB_SCHEME_TREE_IMAGES, 32, 16, NodeImages()},
  };
  platform::registerResources({.dialogs = kDialogs, .icons = kIcons});
}
