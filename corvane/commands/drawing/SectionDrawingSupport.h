#pragma once
// What the drawing runs of the baseline and of the detours share: the
// ground of a section seen from one of its tracks, block by block, as the
// section builders take it, and the texts of the section sheet.

#include <vector>

#include "SectionDrawing.h"
#include "SectionRecord.h"
#include "arx/dbid.h"
#include "arx/gegeometry.h"

namespace section_drawing {

// Text heights of the sheet, in drawing factors: the chainage of a section
// and a structure's label, and the values.
inline constexpr double kLabelHeight = 0.6;
inline constexpr double kValueHeight = 0.4;

// The ground-line records of a section seen from one track, with each
// block's value (the ground's elevation at the track's centre).
struct GroundLines {
  std::vector<GroundLineRecord> records;
  std::vector<double> values;
};

// The ground of every block of `r` seen from the centre of track `track`
// (0 the first, 1 the second), into `out` (emptied first).
void CollectGroundLines(const SectionRecord& r, int track, GroundLines& out);

// The sheet's text of a section's formation width: "路基面宽 <metres>".
CString FormationWidthText(double width);

// A text of the sheet centred at `at` in text style "宋体", on `layer`.
AcDbObjectId AppendSheetText(const AcGePoint3d& at, const char* text, double height, AcDbObjectId layer);

}  // namespace section_drawing
