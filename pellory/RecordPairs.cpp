// The record list in left/right pairs.

#include "RecordPairs.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "InputTexts.h"

namespace {

CString Trimmed(const CString& text) {
  CString t = text;
  t.Trim();
  return t;
}

bool SamePlace(const earthline& a, const earthline& b) {
  return IsSameStation(a.prefix, a.chainage, b.prefix, b.chainage) && a.layer == b.layer &&
         Trimmed(a.detourNumber) == Trimmed(b.detourNumber);
}

bool LeftOnly(const earthline& r) { return r.leftCount > 0 && r.rightCount <= 0; }
bool RightOnly(const earthline& r) { return r.rightCount > 0 && r.leftCount <= 0; }

}  // namespace

earthline EmptyPartnerOf(const earthline& record) {
  earthline empty;
  empty.prefix = record.prefix;
  empty.detourNumber = record.detourNumber;
  empty.chainage = record.chainage;
  empty.elevation = record.elevation;
  empty.layer = record.layer;
  empty.rockType = record.rockType;
  return empty;
}

void MakePairs(EarthLineList& list) {
  const int n = static_cast<int>(list.GetSize());
  std::vector<bool> taken(static_cast<size_t>(n), false);
  EarthLineList paired;
  for (int i = 0; i < n; ++i) {
    if (taken[static_cast<size_t>(i)]) continue;
    taken[static_cast<size_t>(i)] = true;
    const earthline& r = list[i];
    if (r.leftCount > 0 && r.rightCount > 0) {
      earthline left = r, right = r;
      left.rightCount = 0;
      right.leftCount = 0;
      paired.Add(left);
      paired.Add(right);
      continue;
    }
    const bool right = RightOnly(r);
    int partner = -1;
    for (int j = i + 1; j < n && partner < 0; ++j) {
      if (taken[static_cast<size_t>(j)] || !SamePlace(list[j], r)) continue;
      if (right ? LeftOnly(list[j]) : RightOnly(list[j])) partner = j;
    }
    const earthline other = partner >= 0 ? list[partner] : EmptyPartnerOf(r);
    if (partner >= 0) taken[static_cast<size_t>(partner)] = true;
    paired.Add(right ? other : r);
    paired.Add(right ? r : other);
  }
  list.RemoveAll();
  list.Append(paired);
}

int FindPair(const EarthLineList& list, const CString& prefix, double chainage, int layer, const CString* detour) {
  const CString wanted = detour ? Trimmed(*detour) : CString();
  for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2) {
    const earthline& r = list[i];
    if (!IsSameStation(r.prefix, r.chainage, prefix, chainage) || r.layer != layer) continue;
    if (detour && Trimmed(r.detourNumber) != wanted) continue;
    return static_cast<int>(i);
  }
  return -1;
}

int PairInsertIndex(const EarthLineList& list, double chainage, int layer) {
  const double key = chainage + 0.01 * layer;
  INT_PTR i = 0;
  for (; i + 1 < list.GetSize(); i += 2)
    if (list[i].chainage + 0.01 * list[i].layer > key + 0.001) break;
  return static_cast<int>(i);
}

void InsertPair(EarthLineList& list, int at, const earthline& left, const earthline& right) {
  at = std::clamp(at, 0, static_cast<int>(list.GetSize()));
  list.InsertAt(at, right, 1);
  list.InsertAt(at, left, 1);
}

void SortPairs(EarthLineList& list, double layerWeight) {
  const int pairs = static_cast<int>(list.GetSize() / 2);
  std::vector<int> order(static_cast<size_t>(pairs));
  for (int p = 0; p < pairs; ++p) order[static_cast<size_t>(p)] = p;
  auto key = [&](int p) { return list[2 * p].chainage + layerWeight * list[2 * p].layer; };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  EarthLineList sorted;
  for (int p : order) {
    sorted.Add(list[2 * p]);
    sorted.Add(list[2 * p + 1]);
  }
  for (INT_PTR i = 2 * pairs; i < list.GetSize(); ++i) sorted.Add(list[i]);  // an odd record stays last
  list.RemoveAll();
  list.Append(sorted);
}

void StationTexts(const EarthLineList& list, CStringArray& out) {
  out.RemoveAll();
  for (INT_PTR i = 0; i < list.GetSize(); i += 2) {
    bool seen = false;
    for (INT_PTR j = 0; j < i && !seen; ++j)
      seen = IsSameStation(list[j].prefix, list[j].chainage, list[i].prefix, list[i].chainage);
    if (!seen) out.Add(StationText(list[i].prefix, list[i].chainage));
  }
}
