// The rows a rock-layer table receives for a record list: sides paired by
// station, layer and detour (not by their place in the list), empty sides
// written as a centre point, the centre height of a rock-layer pair, and the
// pairs left out for a side too long for its row.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "RockLayerRows.h"
#include "tables_support.h"

namespace {

using pellorytest::Points;
using pellorytest::Record;

// A row as the test compares it.
struct Row {
  int id;
  const char* side;  // "左" or "右"
  double chainage;
  int layer;
  std::string detour;
  Points points;
  // Points compared within 1e-12.
  bool operator==(const Row& o) const {
    if (id != o.id || std::string(side) != o.side || chainage != o.chainage || layer != o.layer ||
        detour != o.detour || points.size() != o.points.size())
      return false;
    for (size_t k = 0; k < points.size(); ++k)
      if (std::fabs(points[k].first - o.points[k].first) > 1e-12 ||
          std::fabs(points[k].second - o.points[k].second) > 1e-12)
        return false;
    return true;
  }
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
  out << "{id " << r.id << " " << r.side << " " << r.chainage << " layer " << r.layer << " detour '" << r.detour
      << "' points";
  for (const auto& p : r.points) out << " (" << p.first << ", " << p.second << ")";
  return out << "}";
}

std::vector<Row> RowsOf(const std::vector<earthline>& records, std::vector<RefusedPair>& refused) {
  std::vector<Row> out;
  for (const RockLayerRow& r : BuildRockLayerRows(records.data(), static_cast<int>(records.size()), refused)) {
    Row row{r.id, r.left ? "左" : "右", r.record->chainage, r.record->layer, r.record->detourNumber.GetString(), {}};
    for (const EarthPoint& p : r.points) row.points.emplace_back(p.distance, p.height);
    out.push_back(row);
  }
  return out;
}

const Points kLeft = {{2.5, 0.3}, {5.0, -0.1}};
const Points kRight = {{3.0, 0.2}};
const Points kNone = {};

TEST(RockLayerRows, SidesArePairedByStationLayerAndDetour) {
  struct Case {
    const char* name;
    std::vector<earthline> records;
    std::vector<Row> rows;
  };
  const std::vector<Case> cases = {
      {"a left record and its right partner",
       {Record(100, 0, kLeft, kNone), Record(100, 0, kNone, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}}, {1, "右", 100, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      // The empty right side is written as its centre point; the next station keeps its own rows.
      {"an empty right side",
       {Record(100, 0, kLeft, kNone), Record(100, 0, kNone, kNone), Record(120, 0, kLeft, kNone),
        Record(120, 0, kNone, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {0, "右", 100, 0, "", {{0, 0}}},
        {2, "左", 120, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {3, "右", 120, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      {"a right side without a left record",
       {Record(100, 0, kNone, kRight), Record(120, 0, kLeft, kNone)},
       {{0, "左", 100, 0, "", {{0, 0}}},
        {0, "右", 100, 0, "", {{0, 0}, {3.0, 0.2}}},
        {1, "左", 120, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {1, "右", 120, 0, "", {{0, 0}}}}},
      {"a pair without points writes nothing", {Record(100, 0, kNone, kNone), Record(100, 0, kNone, kNone)}, {}},
      {"one record with both sides",
       {Record(100, 0, kLeft, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}}, {0, "右", 100, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      {"partners apart in the list",
       {Record(100, 0, kLeft, kNone), Record(100, 1, kLeft, kNone), Record(100, 1, kNone, kRight),
        Record(100, 0, kNone, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {3, "右", 100, 0, "", {{0, 0}, {3.0, 0.2}}},
        // Rock layer 1: v = 0.3 + (0.2 − 0.3) × 2.5 / 5.5.
        {1, "左", 100, 1, "", {{0, 0.3 - 0.1 * 2.5 / 5.5}, {2.5, 0.3}, {5.0, -0.1}}},
        {2, "右", 100, 1, "", {{0, 0.3 - 0.1 * 2.5 / 5.5}, {3.0, 0.2}}}}},
      {"the right record first",
       {Record(100, 0, kNone, kRight), Record(100, 0, kLeft, kNone)},
       {{1, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}}, {0, "右", 100, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      {"detour sections apart",
       {Record(100, 0, kLeft, kNone, "1"), Record(100, 0, kNone, kRight, "2"), Record(100, 0, kNone, kRight, " 1 ")},
       {{0, "左", 100, 0, "1", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {2, "右", 100, 0, " 1 ", {{0, 0}, {3.0, 0.2}}},
        {1, "左", 100, 0, "2", {{0, 0}}},
        {1, "右", 100, 0, "2", {{0, 0}, {3.0, 0.2}}}}},
      // Chainages within 0.01 m are one station; 0.02 m apart are two.
      {"one station within 0.01 m",
       {Record(100, 0, kLeft, kNone), Record(100.005, 0, kNone, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}}, {1, "右", 100.005, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      {"two stations 0.02 m apart",
       {Record(100, 0, kLeft, kNone), Record(100.02, 0, kNone, kRight)},
       {{0, "左", 100, 0, "", {{0, 0}, {2.5, 0.3}, {5.0, -0.1}}},
        {0, "右", 100, 0, "", {{0, 0}}},
        {1, "左", 100.02, 0, "", {{0, 0}}},
        {1, "右", 100.02, 0, "", {{0, 0}, {3.0, 0.2}}}}},
      // A first point exactly on the centre gets no centre point.
      {"first points on the centre",
       {Record(100, 0, {{0.0, 0.4}, {4.0, 0.1}}, kNone), Record(100, 0, kNone, {{0.0, 0.4}})},
       {{0, "左", 100, 0, "", {{0.0, 0.4}, {4.0, 0.1}}}, {1, "右", 100, 0, "", {{0.0, 0.4}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RefusedPair> refused;
    EXPECT_EQ(RowsOf(c.records, refused), c.rows);
    EXPECT_TRUE(refused.empty());
  }
}

TEST(RockLayerRows, CentreHeightOfARockLayerPair) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    Points left, right;  // first points of the two sides ({} for an empty side)
    double v;
  };
  const Case cases[] = {
      // 1 + (2 − 1) × 4 / (4 + 6)
      {"worked pair", {{4.0, 1.0}}, {{6.0, 2.0}}, 1.4},
      {"left first point on the centre", {{0.0, 1.2}}, {{6.0, 2.0}}, 1.2},
      {"right first point on the centre", {{4.0, 1.0}}, {{0.0, 2.0}}, 2.0},
      {"both on the centre", {{0.0, 1.2}}, {{0.0, 0.8}}, 1.2},
      {"distances that sum to 0", {{-2.0, 1.0}}, {{2.0, 3.0}}, 1.0},
      {"no left side", {}, {{6.0, 2.0}}, 2.0},
      {"no right side", {{4.0, 1.0}}, {}, 1.0},
      {"no side", {}, {}, 0.0},
      {"a distance that is no finite number", {{inf, 1.0}}, {{2.0, 3.0}}, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const earthline left = Record(100, 1, c.left, {});
    const earthline right = Record(100, 1, {}, c.right);
    const double v = PairCentreHeight(&left, &right);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(v, c.v, 1e-12);
  }
}

TEST(RockLayerRows, EachPairHasItsOwnCentreHeight) {
  // Pair 100 puts v = 1.4 before its left points; pair 120 starts on the
  // centre, so its right row takes its own left height 3.0, not 1.4.
  std::vector<RefusedPair> refused;
  const std::vector<Row> rows = RowsOf({Record(100, 1, {{4.0, 1.0}}, {}), Record(100, 1, {}, {{6.0, 2.0}}),
                                        Record(120, 1, {{0.0, 3.0}, {5.0, 2.5}}, {}), Record(120, 1, {}, {{5.0, 4.0}})},
                                       refused);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (Row{0, "左", 100, 1, "", {{0, 1.4}, {4.0, 1.0}}}));
  EXPECT_EQ(rows[1], (Row{1, "右", 100, 1, "", {{0, 1.4}, {6.0, 2.0}}}));
  EXPECT_EQ(rows[2], (Row{2, "左", 120, 1, "", {{0.0, 3.0}, {5.0, 2.5}}}));
  EXPECT_EQ(rows[3], (Row{3, "右", 120, 1, "", {{0, 3.0}, {5.0, 4.0}}}));
}

// A station and layer goes to the table with both its sides or not at all:
// a side too long for its row leaves its partner out too, and the pairs
// around it are written as they are.
TEST(RockLayerRows, ASideTooLongLeavesOutItsWholeStationAndLayer) {
  Points offCentre, fromCentre;
  for (int k = 0; k < 100; ++k) {
    offCentre.emplace_back(1.0 + k, -0.01 * k);
    fromCentre.emplace_back(1.0 * k, -0.01 * k);
  }
  const Points ninetyNine(offCentre.begin(), offCentre.end() - 1);
  struct Case {
    const char* name;
    Points left, right;          // the sides of station 100, layer 1
    int leftCount, rightCount;   // counts set on the records (-1: as filled)
    bool leftTooLong, rightTooLong;
    size_t leftRowPoints, rightRowPoints;  // points of the two rows when the pair is written
  };
  const Case cases[] = {
      {"100 points off the centre on the left", offCentre, kRight, -1, -1, true, false, 0, 0},
      {"100 points off the centre on the right", kLeft, offCentre, -1, -1, false, true, 0, 0},
      {"both sides too long", offCentre, offCentre, -1, -1, true, true, 0, 0},
      {"a count above what a record holds", fromCentre, kRight, 150, -1, true, false, 0, 0},
      {"100 points from the centre", fromCentre, kRight, -1, -1, false, false, 100, 2},
      {"99 points off the centre", ninetyNine, ninetyNine, -1, -1, false, false, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<earthline> records = {Record(80, 1, kLeft, {}),    Record(80, 1, {}, kRight),
                                      Record(100, 1, c.left, {}),  Record(100, 1, {}, c.right),
                                      Record(120, 1, kLeft, {}),   Record(120, 1, {}, kRight)};
    if (c.leftCount >= 0) records[2].leftCount = c.leftCount;
    if (c.rightCount >= 0) records[3].rightCount = c.rightCount;
    std::vector<RefusedPair> refused;
    const std::vector<Row> rows = RowsOf(records, refused);
    const bool leftOut = c.leftTooLong || c.rightTooLong;
    ASSERT_EQ(rows.size(), leftOut ? 4u : 6u);
    // The stations around it keep both their rows.
    EXPECT_EQ(rows.front().chainage, 80);
    EXPECT_EQ(rows.back().chainage, 120);
    EXPECT_EQ(rows[rows.size() - 2].chainage, 120);
    if (leftOut) {
      ASSERT_EQ(refused.size(), 1u);
      EXPECT_EQ(refused[0].record->chainage, 100);
      EXPECT_EQ(refused[0].record->layer, 1);
      EXPECT_EQ(refused[0].leftTooLong, c.leftTooLong);
      EXPECT_EQ(refused[0].rightTooLong, c.rightTooLong);
      EXPECT_EQ(refused[0].leftCount, records[2].leftCount);
      EXPECT_EQ(refused[0].rightCount, records[3].rightCount);
      for (const Row& row : rows) EXPECT_NE(row.chainage, 100);
    } else {
      EXPECT_TRUE(refused.empty());
      EXPECT_EQ(rows[2].points.size(), c.leftRowPoints);
      EXPECT_EQ(rows[3].points.size(), c.rightRowPoints);
    }
  }
}

}  // namespace
