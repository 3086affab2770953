// Pairs of earthline records and the rows they give in a rock-layer table.

#include "RockLayerRows.h"

#include <cmath>

namespace {

bool HasLeft(const earthline& r) { return r.leftCount > 0; }
bool HasRight(const earthline& r) { return r.rightCount > 0; }

CString Trimmed(CString text) {
  text.Trim();
  return text;
}

// The same station, layer and detour section.
bool SameLine(const earthline& a, const earthline& b) {
  return IsSameStation(a.prefix, a.chainage, b.prefix, b.chainage) && a.layer == b.layer &&
         Trimmed(a.detourNumber) == Trimmed(b.detourNumber);
}

// One side of a pair: the record it comes from (null for an empty side) and
// that record's position.
struct PairSide {
  const earthline* record = nullptr;
  int id = 0;
};

// Adds the row of one side of a pair; `head` gives the row its head values
// and `id`, `side` its points (null: the side is empty).
void AddRow(std::vector<RockLayerRow>& rows, std::vector<RefusedSide>& refused, const PairSide& head, bool left,
            const earthline* side, double centreHeight) {
  const int count = side == nullptr ? 0 : (left ? side->leftCount : side->rightCount);
  const EarthPoint* points = side == nullptr ? nullptr : (left ? side->left : side->right);
  const bool centre = count == 0 || points[0].distance != 0.0;
  if (count + (centre ? 1 : 0) > kEarthPointsMax) {
    refused.push_back({side, left, count});
    return;
  }
  RockLayerRow row;
  row.id = head.id;
  row.record = head.record;
  row.left = left;
  row.points.reserve(static_cast<size_t>(count) + 1);
  if (centre) row.points.push_back({0.0, centreHeight});
  for (int k = 0; k < count; ++k) row.points.push_back(points[k]);
  rows.push_back(std::move(row));
}

}  // namespace

double PairCentreHeight(const earthline* leftRecord, const earthline* rightRecord) {
  const bool hasLeft = leftRecord != nullptr && HasLeft(*leftRecord);
  const bool hasRight = rightRecord != nullptr && HasRight(*rightRecord);
  if (!hasLeft && !hasRight) return 0.0;
  if (!hasRight) return leftRecord->left[0].height;
  if (!hasLeft) return rightRecord->right[0].height;
  const double d0 = leftRecord->left[0].distance, h0 = leftRecord->left[0].height;
  const double dR = rightRecord->right[0].distance, hR = rightRecord->right[0].height;
  const double nearer = std::fabs(d0) <= std::fabs(dR) ? h0 : hR;
  const double span = d0 + dR;
  if (span == 0.0) return nearer;
  const double v = h0 + (hR - h0) * d0 / span;
  return std::isfinite(v) ? v : nearer;
}

std::vector<RockLayerRow> BuildRockLayerRows(const earthline* records, int count, std::vector<RefusedSide>& refused) {
  std::vector<RockLayerRow> rows;
  if (records == nullptr || count <= 0) return rows;
  std::vector<bool> used(static_cast<size_t>(count), false);
  for (int i = 0; i < count; ++i) {
    if (used[static_cast<size_t>(i)]) continue;
    used[static_cast<size_t>(i)] = true;
    const earthline& record = records[i];
    PairSide left, right;
    if (HasLeft(record)) left = {&record, i};
    if (HasRight(record)) right = {&record, i};
    if (left.record == nullptr && right.record == nullptr) continue;
    // A one-sided record's partner: the first later record of the same line
    // that holds the other side only.
    for (int j = i + 1; j < count && (left.record == nullptr || right.record == nullptr); ++j) {
      const earthline& other = records[j];
      if (used[static_cast<size_t>(j)] || !SameLine(record, other)) continue;
      if (left.record == nullptr && HasLeft(other) && !HasRight(other)) {
        left = {&other, j};
        used[static_cast<size_t>(j)] = true;
      } else if (right.record == nullptr && HasRight(other) && !HasLeft(other)) {
        right = {&other, j};
        used[static_cast<size_t>(j)] = true;
      }
    }
    const double centreHeight = record.layer == 0 ? 0.0 : PairCentreHeight(left.record, right.record);
    // An empty side is written with the head values of the side that has points.
    const PairSide& present = left.record != nullptr ? left : right;
    AddRow(rows, refused, left.record != nullptr ? left : present, true, left.record, centreHeight);
    AddRow(rows, refused, right.record != nullptr ? right : present, false, right.record, centreHeight);
  }
  return rows;
}
