#pragma once
// earthline: one ground line (layer 0) or one rock-layer line (layer 1 and
// up) of one cross-section station, with up to 100 points on each side of
// the centre stake, and the record lists the ground-line input keeps them in.
//
// A point is (distance from the centre stake, height difference to the centre
// elevation) as the tables store it; while the input dialog edits a record it
// may hold the forms the user chose (distances from the previous point,
// elevations), which the dialog converts before it writes the design tables.
//
// A record read from a table holds one side only (one row per station and
// side). The dialog and the text import keep each station and layer as a
// left record (left points only) followed by its right partner (right points
// only); the table writer does not rely on that adjacency (see
// XLDataBase::WriteRockLayerTable).
//
// Only the first leftCount / rightCount points of a side are meaningful; the
// others are zero or left over from earlier contents. A count is never above
// kEarthPointsMax in a record that this module filled; code that takes a
// count from elsewhere bounds it first.

#include <cstdint>

#include "mfc/collections.h"
#include "mfc/cstring.h"

// Points a record holds per side (and point pairs a table row holds).
inline constexpr int kEarthPointsMax = 100;

// The rock type (岩层性质) of "普通土", ordinary soil: the type of every ground
// line (layer 0) read from a ground-line table.
inline constexpr int kRockTypeOrdinarySoil = 2;

// Chainages of one station differ by less than this (metres).
inline constexpr double kSameStationTolerance = 0.01;

struct EarthPoint {
  double distance = 0.0;  // 距中桩距离
  double height = 0.0;    // 与中桩高程差
};

// A new record has empty texts and every number 0. Copying is member-wise:
// both texts, the numbers and all 100 + 100 points, whatever the counts say.
struct earthline {
  CString prefix;        // 中桩里程冠号, the chainage prefix
  CString detourNumber;  // 绕行段编号 as text; empty on the baseline
  double chainage = 0.0;   // 中桩里程数, metres after the prefix
  double elevation = 0.0;  // 地面高程 at the centre stake
  int32_t leftCount = 0;   // valid left points, 0 .. kEarthPointsMax
  int32_t rightCount = 0;  // valid right points, 0 .. kEarthPointsMax
  int32_t layer = 0;       // 层号: 0 the ground line, 1 and up rock layers
  int32_t rockType = 0;    // 岩层性质
  EarthPoint left[kEarthPointsMax] = {};   // from the centre outward
  EarthPoint right[kEarthPointsMax] = {};  // from the centre outward
};

// A station is its chainage prefix (trimmed, ASCII letters without case) and
// its chainage within kSameStationTolerance: across a long chain break the
// same chainage comes twice, once with each prefix (DK40+260, D1K40+260).
bool IsSameStation(const CString& prefixA, double chainageA, const CString& prefixB, double chainageB);

// The ordered list of whole records: SetSize(n) adds new (empty) records or
// destroys the cut ones, InsertAt(i, record, 1) inserts a copy before i (i
// equal to the size appends), RemoveAt(i) removes one, RemoveAll empties it.
using EarthLineList = CArray<earthline, const earthline&>;
