#pragma once
// What the earthwork command is asked to compute, and the volume sums of one
// row of the roadbed quantity sheet.

#include "DesignerRows.h"
#include "mfc/cstring.h"

class CrossSectionDesigner;

// The continuous mileage of a chainage text on a designer's line, through
// its alignment model's break table (its own when it has no model).
double LineChainageToMileage(const CrossSectionDesigner& d, const char* chainageText);

// The choices of the earthwork command (CALTSF).
struct EarthworkChoice {
  // Lines of a range run (bits): the baseline, the left line's and the right
  // line's detour sections.
  enum Lines { kBaseline = 1, kLeftDetours = 2, kRightDetours = 4, kAllLines = 7 };

  // 1: every line over its whole length (the baseline, then every left and
  // every right detour section). 0: the range from startText to endText on
  // the lines named by `lines`; the chainage texts are turned into mileage
  // through each line's own break table.
  int wholeLine = 1;
  CString startText;
  CString endText;
  int lines = kAllLines;
};

// The quantities of one row of the quantity sheet (cubic metres; the two
// slope protections in square metres).
struct EarthworkSums {
  double fill = 0.0;
  double rockClass[6] = {};
  double improvedSoil = 0.0;
  double surfaceLayer = 0.0;
  double topsoil = 0.0;
  double ditchFill = 0.0;
  double ditchCut = 0.0;
  double shoulderLayer = 0.0;
  double ditchLining = 0.0;
  double retainingWall = 0.0;
  double turf = 0.0;

  // Adds a section's volumes, or another row's sums.
  void Add(const EarthworkQuantityRecord& q);
  void Add(const EarthworkSums& s);
};
