#pragma once
// The options of an automatic design run (HDMDES), as the design dialog
// hands them over when it closes with OK.

#include "mfc/cstring.h"

struct AutoDesignOptions {
  // The scheme database; empty for the current scheme's
  // (<project>\data\<scheme>.mdb).
  CString schemeDatabasePath;
  // The project's line-count word: "单线", "双线" or "预留二线".
  CString lineKind = "单线";
  // For a reserved second line: set to design it by `reservedLineChoice`,
  // 1 as "单线", 2 as "双线" (any other choice keeps lineKind).
  int reservedLineFlag = 0;
  int reservedLineChoice = 0;
  // Draw the sections after the design, at this scale and origin (the
  // earlier drawing on layer "Hdm" is erased first).
  int draw = 0;
  double scaleDenominator = 200.0;
  double originX = 0.0;
  double originY = 0.0;
  // Write the 3D line data (point files, 3D section lines, pier lines).
  int threeD = 0;
};
