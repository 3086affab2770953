// The chainage of the side lines: the break mileages worked out when a break
// table is set, a side-line mileage as a chainage, and a chainage as a
// side-line mileage.
//
// The lines: a base line due north from (0, 0), chainage = mileage from
// K10+000 for 5000 m; a side line 5 m west (left) or east (right) of it,
// due north too, its mileage counted from 20000 at N = 0, so that the side
// line's mileage at N is 20000 + N and the base line's 10000 + N. Its two
// records form one detour segment, chained on its own from K11+000
// (ZK11+000) with a short chain ZK11+500 = ZK11+530, back on the base line
// chainage at ZK14+100 = K14+000.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brevell/plan_drawing_support.h"
#include "win/transcript.h"

namespace {

using namespace plantest;

class DetourChainage : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setCurrentDrawing(nullptr);
    StraightBaseLine(model, 10000, 5000);
  }
  void TearDown() override { platform::setCurrentDrawing(nullptr); }
  // The side line `line` with the break table given.
  void SideLine(int line, const std::vector<PlanBreakRecord>& breaks) {
    StraightSideLine(model, line, line < 0 ? -5.0 : 5.0, 5000, kSideDetour, 20000);
    if (line < 0) {
      model.SetLeftBreakTable(breaks.data(), static_cast<int>(breaks.size()));
    } else {
      model.SetRightBreakTable(breaks.data(), static_cast<int>(breaks.size()));
    }
  }
  static std::vector<PlanBreakRecord> Segment() {
    return {SideBreak(0, "K", 11000, "ZK", 11000, "甲"), SideBreak(0, "ZK", 11500, "ZK", 11530),
            SideBreak(0, "ZK", 14100, "K", 14000)};
  }
  AlignmentModel model;
};

// K11+000 lies at N = 1000: side mileage 21000; the short chain 500 m of
// chainage on: 21500; the end by chainage 21500 + 14100 − 11530 = 24070,
// but K14+000 meets the side line at N = 4000 (24000): the closing break
// takes the 70 m, its chainage before becoming 14030.
TEST_F(DetourChainage, BreakMileagesAreWorkedOut) {
  for (int line : {kLeftLine, kRightLine}) {
    SCOPED_TRACE(line);
    SideLine(line, Segment());
    const std::vector<PlanBreakRecord>& breaks = model.Line(line).breaks;
    ASSERT_EQ(breaks.size(), 3u);
    const double mileages[] = {21000, 21500, 24000};
    const double befores[] = {11000, 11500, 14030};
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(breaks[i].mileage, mileages[i], 1e-6) << i;
      EXPECT_NEAR(breaks[i].before, befores[i], 1e-6) << i;
    }
    EXPECT_EQ(line < 0 ? model.ResolveLeftBreakDistances() : model.ResolveRightBreakDistances(), 3);
  }
  // An empty table changes nothing.
  model.SetLeftBreakTable(nullptr, 0);
  EXPECT_EQ(model.Line(kLeftLine).breaks.size(), 3u);
}

// Two segments: each is worked out on its own from its first break.
TEST_F(DetourChainage, EachSegmentFromItsOwnStart) {
  SideLine(kLeftLine, {SideBreak(0, "K", 10500, "ZK", 10500), SideBreak(0, "ZK", 11000, "K", 11000),
                       SideBreak(1, "K", 12000, "YK", 0), SideBreak(1, "YK", 600, "K", 12600)});
  const std::vector<PlanBreakRecord>& breaks = model.Line(kLeftLine).breaks;
  const double mileages[] = {20500, 21000, 22000, 22600};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(breaks[i].mileage, mileages[i], 1e-6) << i;
}

// A side-line mileage as a chainage: inside the segment by its own breaks,
// outside it (and at its closing break) the base line's chainage at the
// foot of the point.
TEST_F(DetourChainage, MileageToChainage) {
  SideLine(kLeftLine, Segment());
  SideLine(kRightLine, Segment());
  struct Case {
    double distance;
    const char* prefix;
    double chainage;
  };
  const Case cases[] = {
      {21200, "ZK", 11200},  // after the first break
      {22000, "ZK", 12030},  // after the short chain: 22000 − 21500 + 11530
      {24000, "K", 14000},   // at the closing break: the base line's
      {20500, "K", 10500},   // before the segment
      {24500, "K", 14500},   // after it
  };
  for (const Case& c : cases) {
    char prefix[kChainPrefixSize];
    EXPECT_NEAR(model.PointToChainage(c.distance, prefix), c.chainage, 1e-6) << c.distance;
    EXPECT_STREQ(prefix, c.prefix) << c.distance;
    EXPECT_NEAR(model.PointToChainageRight(c.distance, prefix), c.chainage, 1e-6) << c.distance;
    EXPECT_STREQ(prefix, c.prefix) << c.distance;
  }
}

// A chainage as a side-line mileage: in a stretch between two breaks of the
// segment (of the segment given, or of any for −1), else the base line's
// mileage carried across.
TEST_F(DetourChainage, ChainageToMileage) {
  SideLine(kLeftLine, Segment());
  struct Case {
    const char* text;
    int segment;
    double distance;
  };
  const Case cases[] = {
      {"ZK11+200", -1, 21200},                          // 11200 − 11000 + 21000
      {"ZK12+030", -1, 22000},                          // 12030 − 11530 + 21500
      {"ZK12+030", 0, 22000},  {"K10+500", -1, 20500},  // in no stretch: the base line's
      {"K14+500", 3, 24500},                            // a segment that does not exist: the base line's
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(model.ChainageToLeftDistance(c.text, c.segment), c.distance, 1e-6) << c.text;
  }
  EXPECT_NEAR(model.ChainageToLineDistance(kBaseLine, "K12+345", -1), 12345, 1e-6);
}

// Two stretches that hold one chainage (a long chain): the first one found
// is kept unless the chainage's prefix is the later break's prefix before.
TEST_F(DetourChainage, ALongChainTakesThePrefixIntoAccount) {
  SideLine(kLeftLine, {SideBreak(0, "K", 11000, "ZK", 11000), SideBreak(0, "YK", 11500, "ZK", 11400),
                       SideBreak(0, "ZK", 14100, "K", 14000)});
  // Stretch 0: ZK11+000 .. 11500 from 21000; stretch 1: ZK11+400 .. from 21500.
  EXPECT_NEAR(model.ChainageToLeftDistance("ZK11+450", -1), 21450, 1e-6);
  EXPECT_NEAR(model.ChainageToLeftDistance("YK11+450", -1), 21550, 1e-6);
}

}  // namespace
