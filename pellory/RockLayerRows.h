#pragma once
// The rows a rock-layer table receives for a list of earthline records
// (one row per side of each station and layer), as XLDataBase::
// WriteRockLayerTable puts them.
//
// Pairs. The two sides of one station and layer are found by what they
// describe, never by their place in the list: a record that holds one side
// only takes as its partner the first later record of the same station
// (IsSameStation: prefix and chainage), the same layer and the same
// detour number (compared trimmed) that holds the other side only. A record
// that holds both sides is a pair by itself. A pair writes its left row,
// then its right row; a pair with one side empty still writes both rows, the
// empty side as a row holding its centre point only. A record without any
// point writes no row (the partner it would have had writes its own pair).
//
// Centre points. A side whose first point lies off the centre stake (a
// distance other than exactly 0.0), and an empty side, get the centre point
// as their first point: distance 0, height difference 0 on the ground line
// (layer 0), and on a rock layer the pair's centre height v, interpolated
// between the first left point (d0, h0) and the first right point (dR, hR):
//   v = h0 + (hR − h0) · d0 / (d0 + dR);
// with d0 + dR = 0 (or a result that is no finite number) v is the height of
// the side whose first point is nearer the centre (the left one on a tie),
// with one side empty the other side's first height, with both empty 0.
//
// A side that would need more than kEarthPointsMax points in its row (100
// points with the first off the centre, or a count above 100) cannot be
// stored, and a station and layer is stored with both its sides or not at
// all: the pair writes neither row and is listed in `refused`.

#include <vector>

#include "earthline.h"

struct RockLayerRow {
  int id = 0;                          // position in the list of the record the side comes from
  const earthline* record = nullptr;   // its head values: prefix, detour, chainage, elevation, layer, rock type
  bool left = true;                    // written "左", else "右"
  std::vector<EarthPoint> points;      // as stored, the centre point first where one is added
};

// A pair left out: its head values, and each side's point count as its
// record gives it, with which of the two is too long for its row.
struct RefusedPair {
  const earthline* record = nullptr;
  int leftCount = 0, rightCount = 0;
  bool leftTooLong = false, rightTooLong = false;
};

// The rows of records 0 .. count − 1, in the order they are written.
std::vector<RockLayerRow> BuildRockLayerRows(const earthline* records, int count, std::vector<RefusedPair>& refused);

// The centre height v of a rock-layer pair (either record may be null for a
// missing side; a record's side counts only when it has points).
double PairCentreHeight(const earthline* leftRecord, const earthline* rightRecord);
