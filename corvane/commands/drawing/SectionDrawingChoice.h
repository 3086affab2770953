#pragma once
// The choices of the drawing dialog (绘线路) for the drawing run of DRAWHDM
// and PRINTHDM (CrossSectionDesigner::CmdDrawSections).

#include "mfc/cstring.h"

struct SectionDrawingChoice {
  // 1: every section of the baseline and, for a double-line design, of every
  // detour (the lines and ranges below are not read); 0: the lines chosen
  // below over their ranges.
  int drawAll = 1;
  // Where the sheet starts, and the scale 1:scaleDenominator (the drawing
  // factor becomes 1000 / scaleDenominator; it must be above 0).
  double originX = 0.0;
  double originY = 0.0;
  double scaleDenominator = 200.0;
  // The lines to draw, each over a range of chainage texts of its own line
  // ("DK12+345.678"; an empty text stands for the line's first or last
  // section). A detour is chosen by its index on its side (from 0); its
  // sheet starts 500 × the drawing factor above (left) or below (right)
  // the origin.
  bool baseline = true;
  CString baselineStart;
  CString baselineEnd;
  bool leftDetour = false;
  int leftIndex = 0;
  CString leftStart;
  CString leftEnd;
  bool rightDetour = false;
  int rightIndex = 0;
  CString rightStart;
  CString rightEnd;
};
