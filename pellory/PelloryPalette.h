#pragma once
// The palette of HDMDMX: a palette set "Selvic - 地面线录入对话框" docked on
// the left of the host frame, holding the palette "地面线对话框", which holds
// the ground-line input dialog (template 6, modeless, 500 × 800 at (0, 0)).
// Every run of HDMDMX makes a new set; they all close when the module unloads.
//
// The host's palette sets and the dialog's window are not part of the
// platform yet, so CreateGroundLinePalette only records what it is asked
// for: one GroundLinePaletteRequest per call, in order. Once palette sets
// exist, it makes the set (style WS_OVERLAPPED | WS_DLGFRAME, rectangle
// (0, 0, 500, 550), the host frame as parent, palette-set style 30, size
// between (100, 100) and (400, 400)), the palette (WS_CHILD | WS_VISIBLE,
// palette style 1, white background) and its dialog, adds the palette,
// docks the set on the left (only), restores its left dock-bar state, shows
// it at full opacity; ClosePelloryPalettes then destroys them.

#include <vector>

#include "mfc/cstring.h"

struct GroundLinePaletteRequest {
  CString setCaption;        // "Selvic - 地面线录入对话框"
  CString paletteName;       // "地面线对话框"
  int left = 0, top = 0, right = 500, bottom = 550;  // the set's first rectangle
  unsigned long setStyle = 0;    // palette-set style bits
  unsigned long paletteStyle = 0;
  int dialogTemplate = 6;
  bool dockLeft = true;
};

// What HDMDMX asks for: one palette set with its palette and input dialog.
void CreateGroundLinePalette();
// The requests made since the module loaded (or the last close), in order.
const std::vector<GroundLinePaletteRequest>& GroundLinePaletteRequests();
// Closes every palette set the module made (at unload).
void CloseGroundLinePalettes();
