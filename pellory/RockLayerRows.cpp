// Pairs of earthline records and the rows they give in a rock-layer table.

#include "RockLayerRows.h"

#include <algorithm>
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

// The points of one side of a pair (none for an empty side) and whether its
// row needs the centre point in front of them.
struct SidePoints {
  const EarthPoint* points = nullptr;
  int count = 0;
  bool centre = true;
  bool Fits() const { return count + (centre ? 1 : 0) <= kEarthPointsMax; }
};

SidePoints PointsOf(const earthline* side, bool left) {
  SidePoints s;
  if (side == nullptr) return s;
  s.count = left ? side->leftCount : side->rightCount;
  s.points = left ? side->left : side->right;
  s.centre = s.count <= 0 || s.points[0].distance != 0.0;
  return s;
}

// Adds the row of one side of a pair; `head` gives the row its head values
// and `id`, `side` its points.
void AddRow(std::vector<RockLayerRow>& rows, const PairSide& head, bool left, const SidePoints& side,
            double centreHeight) {
  RockLayerRow row;
  row.id = head.id;
  row.record = head.record;
  row.left = left;
  row.points.reserve(static_cast<size_t>(std::max(side.count, 0)) + 1);
  if (side.centre) row.points.push_back({0.0, centreHeight});
  for (int k = 0; k < side.count; ++k) row.points.push_back(side.points[k]);
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

std::vector<RockLayerRow> BuildRockLayerRows(const earthline* records, int count, std::vector<RefusedPair>& refused) {
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
    // An empty side is written with the head values of the side that has points.
    const PairSide& present = left.record != nullptr ? left : right;
    const SidePoints leftPoints = PointsOf(left.record, true), rightPoints = PointsOf(right.record, false);
    if (!leftPoints.Fits() || !rightPoints.Fits()) {
      refused.push_back({present.record, leftPoints.count, rightPoints.count, !leftPoints.Fits(), !rightPoints.Fits()});
      continue;
    }
    const double centreHeight = record.layer == 0 ? 0.0 : PairCentreHeight(left.record, right.record);
    AddRow(rows, left.record != nullptr ? left : present, true, leftPoints, centreHeight);
    AddRow(rows, right.record != nullptr ? right : present, false, rightPoints, centreHeight);
  }
  return rows;
}
