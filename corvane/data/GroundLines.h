#pragma once
// Cross-section ground lines from the terrain model, the fill/cut commands
// CALTWB and CALHDMDMX, and the ground-line file (".dmx") that CALHDMDMX
// writes for the ground-line palette.
//
// A ground line is stored side by side as (offset from the centre, ground
// elevation minus the station's centre ground elevation) pairs, the first
// always (0, 0); a table row holds at most kTablePointPairs (100) of them.

#include <vector>

#include "SchemeRows.h"
#include "SectionRecord.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

class CrossSectionDesigner;
class TerrainModel;

// One station whose ground line was interpolated: the station as the fill/cut
// table gives it and its ground line (layer 0, rock type 2).
struct StationGroundLine {
  CString prefix;          // 加桩里程冠号
  double chainage = 0.0;   // 加桩里程数
  double ground = 0.0;     // 地面高程: the elevation the heights refer to
  GroundBlock block;
};

// Where the stations of a fill/cut table come from.
enum StationSource {
  kStationsMeasured = 0,   // the measured stations of the rock-layer table (layer 0, left rows)
  kStationsExisting = 1,   // the stations already in the fill/cut table
  kStationsGenerated = 2,  // every `interval` metres, with curve key points and structure ends
};

// The parameters of CALTWB.
struct FillCutCommandOptions {
  int stationSource = kStationsGenerated;
  double interval = 20.0;          // source 2: metres between regular stations
  int interpolateGroundLines = 1;  // also interpolate the ground lines
  // The baseline stations whose ground lines are interpolated, as chainage
  // texts ("DK1+200"); empty: the start or the end of the line. 填挖表 itself
  // always covers the whole line.
  CString startChainage;
  CString endChainage;
};

// The ground line of one side: the profile of the terrain model from the
// centre (x, y) to (endX, endY), as pairs from (0, 0). A profile point without
// ground (z below -1000) takes the centre's elevation. Without a loaded model,
// or when the model gives no point, the side is (0, 0), (width, 0). More than
// `maxPoints` points are thinned to that many (ThinProfile). `offModel`, when
// given, is set when a point of the side had no ground from the loaded model.
std::vector<PairXY> SideGroundLine(const TerrainModel& model, double x, double y, double endX, double endY,
                                   double width, double centreGround, int maxPoints, bool* offModel = nullptr);

// Thins a polyline to `maxPoints` points (at least 2) by taking out, one at a
// time, the inner point that spans the smallest triangle with its two
// neighbours (ties: the first in order): straight runs go first and the ends
// and the sharpest breaks stay. Points keep their order. Returns the count.
int ThinProfile(std::vector<PairXY>& points, int maxPoints);

// Writes the ground-line file: the line name, then for each station its
// chainage text, centre elevation, the layer count 1, the rock type, the left
// pairs ended by 999 and the right pairs ended by 999, and 999 after the last
// station (the text layout the ground-line palette imports). A point whose
// offset would read as the end mark (within 0.01 of 999) is left out. False,
// with a message naming the file, when it cannot be written.
bool WriteGroundLineFile(const CString& path, const CString& lineName, const std::vector<StationGroundLine>& stations);

// ---- The fill/cut rows of one line (internal to the fill/cut commands) ------

// What a fill/cut computation takes its stations from and how it marks them.
struct FillCutJob {
  int stationSource = kStationsGenerated;
  double interval = 20.0;
  CString measuredTable;   // source 0: the line's rock-layer table
  CString fillCutTable;    // source 1: the line's fill/cut table
  int detourNumber = -1;   // the detour section; -1 for the baseline tables
  CString lineName;        // a detour's line in messages ("左线绕行段"), before its number
  int roadbedType = 0;     // the roadbed type the line-offset query starts from
  bool lineSpacings = false;  // fill 左线间距 and 右线间距 from the side lines
  CString progressText;
};

// False, after a message box, for a source other than 0, 1 and 2, or an
// interval not above 0 for source 2.
bool CheckStationSource(int stationSource, double interval);
// The break table a line's chainages go through: its alignment model's, or
// the designer's own when it has no model.
int LineBreakCount(const CrossSectionDesigner& line);
const BreakRecord* LineBreaks(const CrossSectionDesigner& line);
// 左线间距 and 右线间距 of a baseline row: the signed distances to the left and
// right lines along the normal at ML (0 without that line).
void FillLineSpacings(const CrossSectionDesigner& line, double ML, FillCutRow& row);
// Lists the stations of `line` by the job's source (sources 0 and 1 through
// the openers of `runner`), computes a fill/cut row at each on `line` and
// puts the rows into runner's table store (xlDataBase.fillCuts). 0, with the
// opener's or the station list's message, when no list could be made; the
// store is then untouched.
int BuildFillCutRows(CrossSectionDesigner& runner, CrossSectionDesigner& line, const FillCutJob& job);
