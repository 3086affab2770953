#pragma once
// The record list of the ground-line input kept in pairs: each station and
// layer is a left record (left points only) at an even index followed by its
// right partner (right points only) at the next index. A side without points
// is still there, as a record with no points, so that everything that steps
// through the list two records at a time (the station list, the sorts, the
// table writer) always finds the two sides of one station and layer together.

#include "earthline.h"
#include "mfc/collections.h"

// A copy of `record` with no points on either side (its head values kept).
earthline EmptyPartnerOf(const earthline& record);

// Regroups a list into pairs. A record with left points only (or none) takes
// as its partner the first later record of the same station (IsSameStation),
// layer and trimmed detour text that holds
// right points only; a record holding both sides is split in two; a side
// without a partner gets an empty one. The order of the first records is kept.
void MakePairs(EarthLineList& list);

// The index of the left record of the pair of this station (IsSameStation)
// and layer, -1 when there is none. With `detour` the trimmed detour texts
// must be equal too; without it they take no part.
int FindPair(const EarthLineList& list, const CString& prefix, double chainage, int layer, const CString* detour);

// Where a new pair goes: before the first pair whose key chainage + 0.01 ×
// layer exceeds this one's by more than 0.001; the end when there is none.
int PairInsertIndex(const EarthLineList& list, double chainage, int layer);

// Puts `left` and `right` at pair index `at` (an even index up to the size).
void InsertPair(EarthLineList& list, int at, const earthline& left, const earthline& right);

// Sorts the pairs by the key chainage + layerWeight × layer of their first
// record; pairs of equal keys keep their order, both records move together.
void SortPairs(EarthLineList& list, double layerWeight);

// The station texts of a list: the first record of each pair, skipped when
// an earlier record is of the same station (IsSameStation).
void StationTexts(const EarthLineList& list, CStringArray& out);
