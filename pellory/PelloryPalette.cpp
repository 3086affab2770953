// The palette of HDMDMX, recorded until the platform has palette sets.

#include "PelloryPalette.h"

namespace {

// The palette-set style: auto roll-up, properties menu, close button and
// editable name (2 + 4 + 8 + 16); the palette's: editable name.
constexpr unsigned long kPaletteSetStyle = 30;
constexpr unsigned long kPaletteStyle = 1;

std::vector<GroundLinePaletteRequest>& Requests() {
  static std::vector<GroundLinePaletteRequest> requests;
  return requests;
}

}  // namespace

void CreateGroundLinePalette() {
  GroundLinePaletteRequest request;
  request.setCaption = "Selvic - 地面线录入对话框";
  request.paletteName = "地面线对话框";
  request.setStyle = kPaletteSetStyle;
  request.paletteStyle = kPaletteStyle;
  Requests().push_back(request);
}

const std::vector<GroundLinePaletteRequest>& GroundLinePaletteRequests() { return Requests(); }

void CloseGroundLinePalettes() { Requests().clear(); }
