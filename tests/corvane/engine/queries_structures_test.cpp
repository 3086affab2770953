// Structures at a mileage: the class code with its end codes, the row that
// holds a mileage, the excavation-class row, the file codes and the angle
// normalisation.

#include <gtest/gtest.h>

#include <numbers>

#include "CrossSectionDesigner.h"

namespace {

void SetRows(OwnedRowArray<StructureRow>& list, std::initializer_list<std::pair<double, double>> ranges) {
  StructureRow* rows = list.Replace(static_cast<int>(ranges.size()));
  for (const auto& [start, end] : ranges) {
    rows->startMileage = start;
    rows->endMileage = end;
    ++rows;
  }
}

class StructureQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A bridge 1000-1200 with a tunnel starting at its end, a second bridge,
    // a station.
    SetRows(d.bridges, {{1000, 1200}, {3000, 3100}});
    SetRows(d.tunnels, {{1200, 1500}});
    SetRows(d.stations, {{2000, 2300}});
  }
  CrossSectionDesigner d;
};

TEST_F(StructureQueriesTest, ClassOfAMileage) {
  struct Case {
    double ML;
    int code;
  } cases[] = {
      {999.0, kStructureNone},
      {999.995, kBridgeStart},  // within 0.01 of the start
      {1000.0, kBridgeStart},
      {1000.011, kBridgeInside},
      {1199.989, kBridgeInside},
      {1200.0, kBridgeEnd},     // the bridge is tested before the tunnel that starts there
      {1200.009, kBridgeEnd},
      {1200.011, kTunnelInside},
      {1500.0, kTunnelEnd},
      {1500.0099, kTunnelEnd},
      {1500.02, kStructureNone},
      {2000.0, kStationStart},
      {2150.0, kStationInside},
      {2299.995, kStationEnd},
      {3050.0, kBridgeInside},  // the second bridge
      {3100.0, kBridgeEnd},
  };
  for (const Case& c : cases) EXPECT_EQ(d.ClassifyChainage(c.ML), c.code) << c.ML;
  CrossSectionDesigner empty;
  EXPECT_EQ(empty.ClassifyChainage(1000.0), kStructureNone);
}

TEST_F(StructureQueriesTest, RowsThatHoldAMileage) {
  struct Case {
    double ML;
    int bridge, tunnel, station;
    bool inStation;
  } cases[] = {
      {999.98, -1, -1, -1, false},
      {999.995, 0, -1, -1, false},
      {1100, 0, -1, -1, false},
      {1200, 0, 0, -1, false},  // the end of one, the start of the other
      {1300, -1, 0, -1, false},
      {1999.995, -1, -1, 0, true},
      {2300.009, -1, -1, 0, true},
      {2300.011, -1, -1, -1, false},
      {3000, 1, -1, -1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(d.FindStructureIndex(c.ML), c.bridge) << c.ML;
    EXPECT_EQ(d.FindTunnelIndex(c.ML), c.tunnel) << c.ML;
    EXPECT_EQ(d.FindStationIndex(c.ML), c.station) << c.ML;
    EXPECT_EQ(d.IsInStation(c.ML), c.inStation) << c.ML;
  }
  CrossSectionDesigner empty;
  EXPECT_EQ(empty.FindStructureIndex(1100), -1);
  EXPECT_EQ(empty.FindTunnelIndex(1300), -1);
  EXPECT_EQ(empty.FindStationIndex(2100), -1);
  EXPECT_FALSE(empty.IsInStation(2100));
}

TEST_F(StructureQueriesTest, ExcavationClassRowByEndMileage) {
  ExcavationClassEntry* rows = d.excavationClass.Replace(2);
  rows[0].endMileage = 1000;
  rows[1].endMileage = 2000;
  struct Case {
    double ML, tolerance;
    int row;
  } cases[] = {
      {500, 0.001, 0},     {1000, 0.001, 0}, {1000.0009, 0.001, 0}, {1000.0011, 0.001, 1},
      {1999, 0.001, 1},    {2500, 0.001, 1},  // past the end: the last row
      {1000.05, 0.1, 0},   {1000.11, 0.1, 1},  // the tolerance of the detour quantities
  };
  for (const Case& c : cases) EXPECT_EQ(d.FindExcavationClassRow(c.ML, c.tolerance), c.row) << c.ML;
  CrossSectionDesigner empty;
  EXPECT_EQ(empty.FindExcavationClassRow(500), -1);
}

TEST(StructureFileCodesTest, CodesBothWays) {
  struct Case {
    int code, fileCode;
  } cases[] = {{0, 0},   {-3, 11}, {1, 12}, {3, 13}, {-4, 21},
               {2, 22},  {4, 23},  {-5, 31}, {6, 32}, {5, 33}};
  for (const Case& c : cases) {
    EXPECT_EQ(StructureCodeToFileCode(c.code), c.fileCode) << c.code;
    EXPECT_EQ(FileCodeToStructureCode(c.fileCode), c.code) << c.fileCode;
  }
  EXPECT_EQ(StructureCodeToFileCode(7), 0);
  EXPECT_EQ(StructureCodeToFileCode(-1), 0);
  EXPECT_EQ(FileCodeToStructureCode(14), 0);
  EXPECT_EQ(FileCodeToStructureCode(-11), 0);
}

TEST(NormalizeAngleTest, OneTurnAtMost) {
  const double twoPi = 2 * std::numbers::pi;
  struct Case {
    double angle, normal;
  } cases[] = {
      {-0.5, twoPi - 0.5}, {0.0, 0.0}, {3.0, 3.0}, {twoPi, 0.0}, {7.0, 7.0 - twoPi},
      {-7.0, -7.0 + twoPi},  // only one turn is added
  };
  for (const Case& c : cases) EXPECT_NEAR(NormalizeAngle(c.angle), c.normal, 1e-15) << c.angle;
}

}  // namespace
