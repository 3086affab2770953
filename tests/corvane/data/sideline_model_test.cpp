// The side-line model: IPs placed beside the baseline, the line built from
// them, its detour sections and their ranges on the baseline.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "SideLineModel.h"
#include "corvane/data/alignment_support.h"
#include "win/transcript.h"

namespace {

using namespace alignment_test;

double DistanceToLine(double px, double py, double x1, double y1, double x2, double y2) {
  return std::fabs((x2 - x1) * (py - y1) - (y2 - y1) * (px - x1)) / std::hypot(x2 - x1, y2 - y1);
}

SideCurveRow Tied(int baselineIp, double spacing, double R = 0) {
  SideCurveRow row;
  row.kind = 0;
  row.baselineIp = baselineIp;
  row.spacing = spacing;
  row.R = R;
  return row;
}
SideCurveRow Own(int kind, double x, double y, double R = 0) {
  SideCurveRow row;
  row.kind = kind;
  row.x = x;
  row.y = y;
  row.R = R;
  return row;
}
SideBreakRow Point(int number, double before, double after) {
  SideBreakRow row;
  row.number = number;
  row.before = before;
  row.after = after;
  row.prefixBefore = "AK";
  row.prefixAfter = "AK";
  return row;
}

class SideLineModelTest : public ::testing::Test {
 protected:
  // The baseline: north 1000 m from (0, 0), a right-hand curve R 2000
  // through 20°, then 1000 m on.
  void BuildCurvedBaseline() {
    ipBend[0] = 1000 + 1000 * std::cos(Radians(20));
    ipBend[1] = 1000 * std::sin(Radians(20));
    const std::vector<IpRecord> ips = {
        {0, 0, 0, 0, 0, 0}, {1, 1000, 0, 0, 2000, 0}, {2, ipBend[0], ipBend[1], 0, 0, 0}};
    ASSERT_EQ(baseline->CreateFromRecords(3, ips.data(), "AK", "JD"), 1);
  }
  // The baseline: 3000 m north from (0, 0).
  void BuildStraightBaseline() {
    const std::vector<IpRecord> ips = {{0, 0, 0, 0, 0, 0}, {1, 3000, 0, 0, 0, 0}};
    ASSERT_EQ(baseline->CreateFromRecords(2, ips.data(), "AK", "JD"), 1);
  }
  // A right line 5 m off the straight baseline with one detour: IPs at
  // (1000, 5), (1500, 45), (2000, 5), each R 1000.
  std::vector<SideCurveRow> DetourRows() {
    return {Tied(0, 5), Own(1, 1000, 5, 1000), Own(1, 1500, 45, 1000), Own(1, 2000, 5, 1000), Tied(1, 5)};
  }

  ProjectEnvironment project;
  std::unique_ptr<AlignmentModel> baseline = std::make_unique<AlignmentModel>();
  std::unique_ptr<SideLineModel> side = std::make_unique<SideLineModel>();
  double ipBend[2] = {0, 0};
};

TEST_F(SideLineModelTest, TiedIpsLieBesideTheBaseline) {
  BuildCurvedBaseline();
  for (double spacing : {4.0, 5.0, -3.0}) {
    const std::vector<SideCurveRow> rows = {Tied(0, spacing), Tied(1, spacing, 2000 - spacing),
                                            Tied(2, spacing)};
    ASSERT_EQ(side->Create(baseline.get(), 3, rows.data(), 0, "YJD"), 1) << spacing;
    // The ends square to the baseline's end legs, the inner IP on the
    // bisector of the legs at the spacing from both.
    EXPECT_NEAR(side->ips[0].x, 0, 1e-9);
    EXPECT_NEAR(side->ips[0].y, spacing, 1e-9);
    EXPECT_NEAR(side->ips[1].x, 1000 - spacing * std::tan(Radians(10)), 1e-9) << spacing;
    EXPECT_NEAR(side->ips[1].y, spacing, 1e-9) << spacing;
    EXPECT_NEAR(DistanceToLine(side->ips[1].x, side->ips[1].y, 0, 0, 1000, 0), std::fabs(spacing), 1e-9);
    EXPECT_NEAR(DistanceToLine(side->ips[1].x, side->ips[1].y, 1000, 0, ipBend[0], ipBend[1]), std::fabs(spacing),
                1e-9);
    EXPECT_NEAR(side->ips[2].x, ipBend[0] + spacing * std::cos(Radians(110)), 1e-9);
    EXPECT_NEAR(side->ips[2].y, ipBend[1] + spacing * std::sin(Radians(110)), 1e-9);
    EXPECT_EQ(side->ips[1].number, 1.0);
    EXPECT_STREQ(side->ipPrefix, "YJD");
  }
}

TEST_F(SideLineModelTest, ParallelLineIsConcentricAndMapsAtItsSpacing) {
  BuildCurvedBaseline();
  const std::vector<SideCurveRow> rows = {Tied(0, 5), Tied(1, 5, 1995), Tied(2, 5)};
  platform::TranscriptCapture capture;
  ASSERT_EQ(side->Create(baseline.get(), 3, rows.data(), 0, "YJD"), 1);
  // The concentric curve starts square beside the baseline's ZY.
  const double alpha = Radians(20);
  const double zy = 1000 - 2000 * std::tan(alpha / 2);
  const double yz = zy + 1995 * alpha;
  const double end = yz + 1000 - 2000 * std::tan(alpha / 2);
  EXPECT_NEAR(side->curves[1].ZH, zy, 1e-6);
  EXPECT_NEAR(side->curves[1].HZ, yz, 1e-6);
  EXPECT_NEAR(side->EndMileage(), end, 1e-6);
  // Built on the default break table, closed at the line's end.
  ASSERT_EQ(side->breakCount, 2);
  EXPECT_EQ(side->breaks[0].before, 0.0);
  EXPECT_STREQ(side->breaks[0].prefixAfter, "AK");
  EXPECT_NEAR(side->breaks[1].before, end, 1e-6);
  EXPECT_STREQ(side->breaks[1].prefixBefore, "AK");

  struct Case {
    double baseMileage, sideMileage;
  } cases[] = {{500, 500}, {zy + 2000 * alpha / 2, zy + 1995 * alpha / 2}, {zy + 2000 * alpha + 300, yz + 300}};
  for (const Case& c : cases) {
    double offset, mileage, x, y;
    EXPECT_EQ(BAS_DRAW_FUN::MileageOnOtherLine(c.baseMileage, baseline->elements, baseline->elementCount,
                                               side->elements, side->elementCount, offset, mileage, x, y),
              1);
    EXPECT_NEAR(offset, 5, 1e-6) << c.baseMileage;
    EXPECT_NEAR(mileage, c.sideMileage, 1e-3) << c.baseMileage;
  }
  // The inner IP's curve is 5α shorter than the baseline's over the same range.
  EXPECT_NEAR(side->sideIps[1].lengthDifference, 100 - 5 * alpha, 1e-3);
  EXPECT_EQ(side->sideIps[0].lengthDifference, 0.0);
  EXPECT_EQ(side->sideIps[2].lengthDifference, 0.0);
}

TEST_F(SideLineModelTest, LengthDifferenceByKind) {
  BuildCurvedBaseline();
  const double alpha = Radians(20);
  const SideCurveRow parallelIp = Own(0, 1000 - 5 * std::tan(alpha / 2), 5, 1995);
  struct Case {
    const char* name;
    SideCurveRow inner;
    double spacing;  // of the end IPs
    double difference;
  } cases[] = {
      {"tied", Tied(1, 5, 1995), 5, 100 - 5 * alpha},
      {"kind 2 given by coordinates", Own(2, parallelIp.x, parallelIp.y, 1995), 5, 100 - 5 * alpha},
      {"kind 4", Own(4, parallelIp.x, parallelIp.y, 1995), 5, 100 - 5 * alpha},
      {"kind 1", Own(1, parallelIp.x, parallelIp.y, 1995), 5, 0},
      // On the baseline itself the lengths agree.
      {"kind 3 on the baseline", Own(3, 1000, 0, 2000), 0, 0},
      {"tied on the baseline", Tied(1, 0, 2000), 0, 0},
  };
  for (const Case& c : cases) {
    const std::vector<SideCurveRow> rows = {Tied(0, c.spacing), c.inner, Tied(2, c.spacing)};
    ASSERT_EQ(side->Create(baseline.get(), 3, rows.data(), 0, "YJD"), 1) << c.name;
    EXPECT_NEAR(side->sideIps[1].lengthDifference, c.difference, 1e-3) << c.name;
  }
}

TEST_F(SideLineModelTest, TiedIpWithoutSpacingTakesTheBaselineIp) {
  BuildCurvedBaseline();
  const std::vector<SideCurveRow> rows = {Tied(0, 5), Tied(1, 0, 2000), Tied(2, 0)};
  ASSERT_EQ(side->Create(baseline.get(), 3, rows.data(), 0, "ZJD"), 1);
  EXPECT_EQ(side->ips[1].x, 1000.0);
  EXPECT_EQ(side->ips[1].y, 0.0);
  EXPECT_EQ(side->ips[2].x, ipBend[0]);
  EXPECT_EQ(side->ips[2].y, ipBend[1]);

  // A tie to no baseline IP keeps the row's coordinates and is reported.
  std::vector<SideCurveRow> bad = {Tied(0, 5), Tied(7, 5, 1995), Tied(2, 5)};
  bad[1].x = 1001;
  bad[1].y = 6;
  platform::TranscriptCapture capture;
  ASSERT_EQ(side->Create(baseline.get(), 3, bad.data(), 10, "ZJD"), 1);
  EXPECT_TRUE(capture.contains("ZJD11号交点对应的一线交点号7不存在")) << capture.text();
  EXPECT_EQ(side->ips[1].x, 1001.0);
  EXPECT_EQ(side->ips[1].y, 6.0);
  EXPECT_EQ(side->ips[1].number, 11.0);
}

TEST_F(SideLineModelTest, RowsBeyondTheTablesAreRefused) {
  BuildStraightBaseline();
  std::vector<SideCurveRow> rows(101, Tied(0, 5));
  platform::TranscriptCapture capture;
  EXPECT_EQ(side->Create(baseline.get(), 101, rows.data(), 0, "ZJD"), 0);
  EXPECT_TRUE(capture.contains("ZJD线路交点数101超出范围(2~100)")) << capture.text();
  EXPECT_FALSE(side->IsBuilt());
  EXPECT_EQ(side->Create(nullptr, 2, rows.data(), 0, "ZJD"), 0);

  const std::vector<SideCurveRow> line = DetourRows();
  ASSERT_EQ(side->Create(baseline.get(), 5, line.data(), 0, "ZJD"), 1);
  const std::vector<SideBreakRow> two = {Point(0, 800, 800), Point(0, 2200, 2200)};
  ASSERT_EQ(side->SetDetourPoints(two.data(), 2), 1);
  std::vector<SideBreakRow> many(301, Point(0, 800, 800));
  capture.clear();
  EXPECT_EQ(side->SetDetourPoints(many.data(), 301), 0);
  EXPECT_TRUE(capture.contains("ZJD线路断链数301超出范围(0~300)")) << capture.text();
  EXPECT_EQ(side->detourPointCount, 2);
  EXPECT_EQ(side->breakCount, 2);
  EXPECT_EQ(side->detourPoints[1].before, 2200.0);

  // Sixty points fit the detour table; the break count stays within the
  // break table.
  std::vector<SideBreakRow> sixty;
  for (int i = 0; i < 60; ++i) sixty.push_back(Point(i / 2, 100 + 10 * i, 100 + 10 * i));
  ASSERT_EQ(side->SetDetourPoints(sixty.data(), 60), 1);
  EXPECT_EQ(side->detourPointCount, 60);
  EXPECT_EQ(side->breakCount, AlignmentModel::kMaxBreaks);
  side->SetBreakCountFromRows(-3);
  EXPECT_EQ(side->breakCount, 0);
  // A rebuild with fewer than two break records leaves the table alone.
  EXPECT_EQ(side->BuildLineElements(), 1);
}

TEST_F(SideLineModelTest, SectionsAndTheirPointsAreCounted) {
  struct Case {
    std::vector<int> kinds;
    int count;
    std::vector<std::pair<int, int>> ranges;
  } cases[] = {
      {{0, 1, 1, 0, 1, 0, 1}, 3, {{1, 2}, {4, 4}, {6, 6}}},
      {{1, 1, 0, 0}, 1, {{0, 1}}},
      {{0, 2, 3, 4, 0}, 0, {}},
  };
  for (const Case& c : cases) {
    SideLineModel model;
    model.ipCount = static_cast<int>(c.kinds.size());
    for (size_t i = 0; i < c.kinds.size(); ++i) model.sideIps[i].kind = c.kinds[i];
    EXPECT_EQ(model.DetourCount(), c.count);
    for (size_t s = 0; s < c.ranges.size(); ++s) {
      int first = -5, last = -5;
      model.DetourIpRange(static_cast<int>(s), first, last);
      EXPECT_EQ(first, c.ranges[s].first) << "section " << s;
      EXPECT_EQ(last, c.ranges[s].second) << "section " << s;
    }
    int first = -5, last = -5;
    model.DetourIpRange(c.count, first, last);
    EXPECT_EQ(first, -5);
    EXPECT_EQ(last, -5);
  }

  // Detour points by number: the first run of a number counts.
  SideLineModel model;
  std::vector<SideBreakRow> rows;
  for (int number : {0, 0, 1, 1, 1, 2, 0}) rows.push_back(Point(number, 0, 0));
  ASSERT_EQ(model.SetDetourPoints(rows.data(), static_cast<int>(rows.size())), 1);
  struct Range {
    int section, first, last;
  } ranges[] = {{0, 0, 1}, {1, 2, 4}, {2, 5, 5}, {3, -1, -1}, {-1, -1, -1}};
  for (const Range& r : ranges) {
    int first = 99, last = 99;
    model.DetourPointRange(r.section, first, last);
    EXPECT_EQ(first, r.first) << "section " << r.section;
    EXPECT_EQ(last, r.last) << "section " << r.section;
  }
}

// The side line of DetourRows by hand: legs of 1000, d, d and 1000 m
// (d = |(500, 40)|), deflections θ, 2θ and θ (θ = atan 40/500), R 1000.
struct DetourByHand {
  double theta = std::atan2(40.0, 500.0);
  double d = std::hypot(500.0, 40.0);
  double T1 = 1000 * std::tan(theta / 2), T2 = 1000 * std::tan(theta);
  double HZ3 = (1000 - T1) + 1000 * theta + (d - T1 - T2) + 2000 * theta + (d - T2 - T1) + 1000 * theta;
  // Mileage on the side line of the point (x, 5) after the detour.
  double After(double x) const { return HZ3 + x - (2000 + T1); }
};

TEST_F(SideLineModelTest, DetourPointsAndRangesOnTheBaseline) {
  BuildStraightBaseline();
  const std::vector<SideCurveRow> rows = DetourRows();
  ASSERT_EQ(side->Create(baseline.get(), 5, rows.data(), 0, "YJD"), 1);
  const DetourByHand hand;
  EXPECT_NEAR(side->curves[3].HZ, hand.HZ3, 1e-6);

  struct Case {
    const char* name;
    double startBefore, endAfter;
    double startMileage, endMileage;  // on the side line
    double baseStart, baseEnd;
  } cases[] = {
      {"inside the line", 800, 2200, 800, hand.After(2200), 800, 2200},
      // Within 5 m of the baseline's ends the range takes the ends.
      {"near both ends", 3, 2996, 3, hand.After(2996), 0, 3000},
  };
  for (const Case& c : cases) {
    const std::vector<SideBreakRow> points = {Point(0, c.startBefore, c.startBefore), Point(0, c.endAfter, c.endAfter)};
    ASSERT_EQ(side->SetDetourPoints(points.data(), 2), 1) << c.name;
    EXPECT_EQ(side->breakCount, 2) << c.name;
    EXPECT_NEAR(side->detourPoints[0].mileage, c.startMileage, 1e-6) << c.name;
    EXPECT_NEAR(side->detourPoints[1].mileage, c.endMileage, 1e-6) << c.name;
    double start, end;
    side->DetourRangeOnBaseline(0, start, end);
    EXPECT_NEAR(start, c.baseStart, 1e-6) << c.name;
    EXPECT_NEAR(end, c.baseEnd, 1e-6) << c.name;
  }

  const std::vector<SideBreakRow> points = {Point(0, 800, 800), Point(0, 2200, 2200)};
  ASSERT_EQ(side->SetDetourPoints(points.data(), 2), 1);
  struct Find {
    double mileage;
    int section;
  } finds[] = {{799, -1}, {800, 0}, {1500, 0}, {2200, 0}, {2201, -1}};
  for (const Find& f : finds) EXPECT_EQ(side->FindDetourAtMileage(f.mileage), f.section) << f.mileage;
  double start = 0, end = 0;
  side->DetourRangeOnBaseline(1, start, end);
  EXPECT_EQ(start, -1.0);
  EXPECT_EQ(end, -1.0);
}

TEST_F(SideLineModelTest, DetourIntersectionLists) {
  BuildStraightBaseline();
  const DetourByHand hand;
  const std::vector<SideBreakRow> points = {Point(0, 800, 800), Point(0, 2200, 2200)};
  struct Case {
    const char* name;
    int firstKind;
    std::vector<IpRecord> records;
  } cases[] = {
      {"inner section",
       0,
       {{1, 800, 5, 0, 0, 0}, {2, 1000, 5, 0, 1000, 0}, {3, 1500, 45, 0, 1000, 0}, {4, 2000, 5, 0, 1000, 0},
        {5, 2200, 5, 0, 0, 0}}},
      // A section that begins at the line's first IP has no start point.
      {"section from the first IP",
       1,
       {{1, 0, 5, 0, 0, 0}, {2, 1000, 5, 0, 1000, 0}, {3, 1500, 45, 0, 1000, 0}, {4, 2000, 5, 0, 1000, 0},
        {5, 2200, 5, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    std::vector<SideCurveRow> rows = DetourRows();
    if (c.firstKind == 1) rows[0] = Own(1, 0, 5);
    ASSERT_EQ(side->Create(baseline.get(), 5, rows.data(), 0, "YJD"), 1) << c.name;
    ASSERT_EQ(side->SetDetourPoints(points.data(), 2), 1) << c.name;
    EXPECT_NEAR(side->detourPoints[1].mileage, hand.After(2200), 1e-6) << c.name;
    IpRecord records[SideLineModel::kMaxDetourIps];
    int count = -1;
    ASSERT_EQ(side->DetourIntersectionList(0, records, SideLineModel::kMaxDetourIps, count), 1) << c.name;
    ASSERT_EQ(count, static_cast<int>(c.records.size())) << c.name;
    for (int k = 0; k < count; ++k) {
      const IpRecord& got = records[k];
      const IpRecord& want = c.records[k];
      EXPECT_EQ(got.number, want.number) << c.name << " " << k;
      EXPECT_NEAR(got.x, want.x, 1e-6) << c.name << " " << k;
      EXPECT_NEAR(got.y, want.y, 1e-6) << c.name << " " << k;
      EXPECT_EQ(got.R, want.R) << c.name << " " << k;
      EXPECT_EQ(got.L1, want.L1) << c.name << " " << k;
    }
    // Not enough room: nothing is written past it.
    platform::TranscriptCapture capture;
    EXPECT_EQ(side->DetourIntersectionList(0, records, 3, count), 0) << c.name;
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(capture.contains("超出所给空间3")) << capture.text();
  }
  // A detour section with its IP list becomes an alignment model of its own.
  IpRecord records[SideLineModel::kMaxDetourIps];
  int count = 0;
  ASSERT_EQ(side->DetourIntersectionList(0, records, SideLineModel::kMaxDetourIps, count), 1);
  AlignmentModel section;
  ASSERT_EQ(section.CreateFromRecords(count, records, "AK", side->ipPrefix), 1);
  EXPECT_NEAR(section.EndMileage(), hand.After(2200), 1e-6);
}

}  // namespace
