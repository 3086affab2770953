// The plan model's left and right lines: detour segments, their break
// records, the IP list of a segment, and the section list with its visited
// flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlignmentModel.h"

namespace {

// A side line zig-zagging round the base line's west side (N, E):
//   r0 (0, −5), r1 (300, −5), r2 (500, −45), r3 (800, −45), r4 (1000, −5),
//   r5 (1300, −5),
// curves of R = 300 at r1 .. r4, start mileage 0; the kinds and spacings as
// given. The first straight runs from (0, −5) to the first curve's ZH
// (about 270 m), the last one from the last curve's HZ to (1300, −5), both
// due north.
std::vector<SideLineRecord> ZigZag(const std::vector<int>& kinds, const std::vector<double>& spacings) {
  const double N[] = {0, 300, 500, 800, 1000, 1300};
  const double E[] = {-5, -5, -45, -45, -5, -5};
  std::vector<SideLineRecord> records(6);
  for (int i = 0; i < 6; ++i) {
    records[i].N = N[i];
    records[i].E = E[i];
    records[i].R = i > 0 && i < 5 ? 300.0 : 0.0;
    records[i].kind = kinds[i];
    records[i].spacing = spacings[i];
  }
  return records;
}

PlanBreakRecord BreakOf(int segment, double mileage) {
  PlanBreakRecord b;
  b.segment = segment;
  b.mileage = mileage;
  return b;
}

std::vector<int> Visited(const PlanLine& line) {
  std::vector<int> flags;
  for (const SideLineRecord& r : line.records) flags.push_back(r.visited);
  return flags;
}

TEST(SideLines, DetourSegmentsAndTheirBreaks) {
  AlignmentModel model;
  // Two segments: records 2, 3 and record 5.
  const std::vector<SideLineRecord> records = ZigZag({0, 0, 1, 1, 0, 1}, {-5, -5, -5, -5, -5, -5});
  model.LoadLeftLine(records.data(), 6);
  const PlanBreakRecord breaks[] = {BreakOf(0, 150), BreakOf(0, 700), BreakOf(1, 1200)};
  model.SetSideBreakTable(kLeftLine, breaks, 3);

  EXPECT_EQ(model.SegmentCount(kLeftLine), 2);
  EXPECT_EQ(model.SegmentCount(kRightLine), 0);
  struct Case {
    int k;
    bool exists;
    int first, last;          // records
    bool hasBreaks;
    int firstBreak, lastBreak;
  };
  const Case cases[] = {
      {0, true, 2, 3, true, 0, 1},
      {1, true, 5, 5, true, 2, 2},
      {2, false, -1, -1, false, -1, -1},
      {-1, false, -1, -1, false, -1, -1},
  };
  for (const Case& c : cases) {
    int first = 7, last = 7;
    EXPECT_EQ(model.SegmentRange(kLeftLine, c.k, first, last), c.exists) << c.k;
    EXPECT_EQ(first, c.first) << c.k;
    EXPECT_EQ(last, c.last) << c.k;
    EXPECT_EQ(model.BreakRange(kLeftLine, c.k, first, last), c.hasBreaks) << c.k;
    EXPECT_EQ(first, c.firstBreak) << c.k;
    EXPECT_EQ(last, c.lastBreak) << c.k;
  }
  const int segmentOf[] = {-1, -1, 0, 0, -1, 1, -1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(model.SegmentOfRecord(kLeftLine, i), segmentOf[i]) << i;
}

// The IP list of segment 0 (records 2 and 3): a start at the side line's
// point at the first break's mileage (150, on the first straight: (150, −5)),
// the two IPs numbered 1 and 2, and an end at the last break's mileage
// + 0.1 m (50 m before the line's end, on the last straight: 49.9 m before
// (1300, −5)).
TEST(SideLines, SegmentPoints) {
  AlignmentModel model;
  const std::vector<SideLineRecord> records = ZigZag({0, 0, 1, 1, 0, 0}, {-5, -5, -5, -5, -5, -5});
  model.LoadLeftLine(records.data(), 6);
  const double end = model.Line(kLeftLine).EndMileage();
  const PlanBreakRecord breaks[] = {BreakOf(0, 150.0), BreakOf(0, end - 50.0)};
  model.SetSideBreakTable(kLeftLine, breaks, 2);

  std::vector<IntersectionPoint> points;
  ASSERT_EQ(model.SegmentPoints(kLeftLine, 0, points), 4);
  ASSERT_EQ(points.size(), 4u);
  const IntersectionPoint expected[] = {
      {0, 150.0, -5.0, 0, 0, 0}, {1, 500.0, -45.0, 0, 300, 0}, {2, 800.0, -45.0, 0, 300, 0},
      {3, 1250.1, -5.0, 0, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(points[i].number, expected[i].number);
    EXPECT_NEAR(points[i].N, expected[i].N, 1e-6);
    EXPECT_NEAR(points[i].E, expected[i].E, 1e-6);
    EXPECT_EQ(points[i].L1, expected[i].L1);
    EXPECT_EQ(points[i].R, expected[i].R);
    EXPECT_EQ(points[i].L2, expected[i].L2);
  }
  // A segment that does not exist, one without breaks, the base line.
  EXPECT_EQ(model.SegmentPoints(kLeftLine, 1, points), -1);
  EXPECT_TRUE(points.empty());
  model.SetSideBreakTable(kLeftLine, std::vector<PlanBreakRecord>{BreakOf(3, 10.0)}.data(), 1);
  EXPECT_EQ(model.SegmentPoints(kLeftLine, 0, points), -1);
  EXPECT_EQ(model.SegmentPoints(kBaseLine, 0, points), -1);

  // The segment's own line starts at mileage 0 at its start point.
  model.SetSideBreakTable(kLeftLine, breaks, 2);
  ASSERT_EQ(model.SegmentPoints(kLeftLine, 0, points), 4);
  PlanElementAreas areas;
  int count = 0;
  model.BuildPlanElements(points.data(), 4, areas, count);
  ASSERT_GT(count, 1);
  EXPECT_EQ(areas.elements[1].mileage, 0.0);
  EXPECT_NEAR(areas.elements[1].x, 150.0, 1e-6);
}

// Sections: stretches drawn as lines of their own. A record of kind 0
// without spacing lies on the base line and belongs to none; a detour
// segment is a section by itself, from its first break's mileage to its
// last's.
TEST(SideLines, SectionsAndVisitedFlags) {
  struct Case {
    const char* name;
    std::vector<int> kinds;
    std::vector<double> spacings;
    std::vector<std::pair<int, int>> sections;  // first and last record of each
    std::vector<int> visited;
  };
  const Case cases[] = {
      {"parallel, detour, parallel", {0, 0, 1, 1, 0, 0}, {-5, -5, -5, -5, -5, -5}, {{0, 1}, {2, 3}, {4, 5}},
       {1, 1, 1, 1, 1, 1}},
      {"on the base line between", {0, 0, 2, 3, 0, 0}, {0, -5, -5, -5, 0, -5}, {{1, 3}, {5, 5}}, {0, 1, 1, 1, 0, 1}},
      {"a detour from the start", {1, 1, 0, 1, 0, 0}, {-5, -5, -5, -5, 0, 0}, {{0, 1}, {2, 2}, {3, 3}},
       {1, 1, 1, 1, 0, 0}},
      {"all on the base line", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {}, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AlignmentModel model;
    const std::vector<SideLineRecord> records = ZigZag(c.kinds, c.spacings);
    model.LoadRightLine(records.data(), 6);
    // The break mileages of the detour segments: 100 + 1000·k and 200 + 1000·k.
    std::vector<PlanBreakRecord> breaks;
    for (int k = 0; k < model.SegmentCount(kRightLine); ++k) {
      breaks.push_back(BreakOf(k, 100.0 + 1000.0 * k));
      breaks.push_back(BreakOf(k, 200.0 + 1000.0 * k));
    }
    if (!breaks.empty()) model.SetSideBreakTable(kRightLine, breaks.data(), static_cast<int>(breaks.size()));
    model.PrepareLines();

    const PlanLine& line = model.Line(kRightLine);
    EXPECT_EQ(Visited(line), c.visited);
    ASSERT_EQ(line.sections.size(), c.sections.size());
    for (size_t s = 0; s < c.sections.size(); ++s) {
      SCOPED_TRACE(s);
      const auto [first, last] = c.sections[s];
      const PlanSection& section = line.sections[s];
      EXPECT_EQ(section.number, static_cast<int>(s));
      const int segment = model.SegmentOfRecord(kRightLine, first);
      if (segment >= 0) {
        EXPECT_EQ(section.start, 100.0 + 1000.0 * segment);
        EXPECT_EQ(section.end, 200.0 + 1000.0 * segment);
      } else {
        EXPECT_EQ(section.start, line.areas.keyPoints[first].ZH);
        EXPECT_EQ(section.end, line.areas.keyPoints[last].HZ);
      }
    }
  }
}

}  // namespace
