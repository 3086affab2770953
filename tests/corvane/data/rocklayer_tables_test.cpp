// The designer's scheme-table openers and the rock-layer tables read into
// the sections' ground blocks, matched by station, side and layer.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "corvane/data/import_support.h"

namespace {

using fixtures::GroundPoints;
using import_test::PointsOf;
using import_test::SectionTablesTest;

const GroundPoints kSurface = {{0, 0}, {6, 0.4}, {15, 1.1}};
const GroundPoints kRock = {{0, -2}, {8, -2.4}};
const GroundPoints kDeep = {{0, -5}, {9, -5.5}, {20, -6}};

// Three stations with their ground lines (second point (1, 0) on both sides).
class RockLayerTest : public SectionTablesTest {
 protected:
  void SetUp() override {
    SectionTablesTest::SetUp();
    FillCut({{"DK", 100}, {"DK", 200}, {"DK", 300}});
    std::vector<fixtures::CrossSectionRow> rows;
    for (double c : {100.0, 200.0, 300.0})
      for (const char* side : {"左", "右"}) rows.push_back(Side("DK", c, side, {{0, 0}, {1, 0}}));
    GroundRows(rows);
  }

  // Both sides of one layer.
  static std::vector<fixtures::CrossSectionRow> Both(double chainage, int layer, int rockType,
                                                     const GroundPoints& points) {
    return {Layer("DK", chainage, layer, rockType, "左", points), Layer("DK", chainage, layer, rockType, "右", points)};
  }
  static std::vector<fixtures::CrossSectionRow> Cat(std::vector<std::vector<fixtures::CrossSectionRow>> parts) {
    std::vector<fixtures::CrossSectionRow> out;
    for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }

  // Layer numbers, rock types and left points of a section's blocks.
  std::vector<int> LayersOf(int i) const {
    std::vector<int> out;
    for (const GroundBlock& b : d.sections[static_cast<size_t>(i)].groundBlocks) out.push_back(b.layer);
    return out;
  }
  bool HasGroundLineOnly(int i) const {
    const SectionRecord& s = d.sections[static_cast<size_t>(i)];
    return s.GroundBlockCount() == 1 && PointsOf(s.groundBlocks[0], -1) == GroundPoints{{0, 0}, {1, 0}} &&
           s.groundBlocks[0].rockType == 2;
  }
};

TEST_F(RockLayerTest, TheLayersOfAStationReplaceItsGroundLineLayerZeroFirst) {
  RockRows(Cat({Both(200, 0, 2, kSurface), Both(200, 1, 4, kRock), Both(200, 2, 5, kDeep)}));
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  EXPECT_TRUE(HasGroundLineOnly(0));
  EXPECT_TRUE(HasGroundLineOnly(2));
  ASSERT_EQ(LayersOf(1), (std::vector<int>{0, 1, 2}));
  const auto& blocks = d.sections[1].groundBlocks;
  EXPECT_EQ(blocks[0].rockType, 2);
  EXPECT_EQ(blocks[1].rockType, 4);
  EXPECT_EQ(blocks[2].rockType, 5);
  EXPECT_EQ(PointsOf(blocks[0], -1), kSurface);
  EXPECT_EQ(PointsOf(blocks[0], 1), kSurface);
  EXPECT_EQ(PointsOf(blocks[1], 1), kRock);
  EXPECT_EQ(PointsOf(blocks[2], -1), kDeep);
}

TEST_F(RockLayerTest, RowsAreMatchedByStationSideAndLayerWhateverTheirOrder) {
  struct Case {
    const char* name;
    std::vector<fixtures::CrossSectionRow> rows;
    std::vector<std::vector<int>> layers;  // per station; {} keeps the ground line
  };
  const std::vector<Case> cases = {
      // Station 300 before station 100: no station is lost.
      {"stations in another order", Cat({Both(300, 0, 2, kSurface), Both(300, 1, 3, kRock), Both(100, 0, 2, kSurface),
                                         Both(100, 1, 4, kRock)}),
       {{0, 1}, {}, {0, 1}}},
      // Layer 1 listed before layer 0, right rows before left rows.
      {"layers and sides in another order",
       {Layer("DK", 200, 1, 4, "右", kRock), Layer("DK", 200, 1, 4, "左", kRock), Layer("DK", 200, 0, 2, "右", kSurface),
        Layer("DK", 200, 0, 2, "左", kSurface)},
       {{}, {0, 1}, {}}},
      // Within 0.001 m of the station; 0.002 m off is none.
      {"chainage tolerance", Cat({Both(100.0005, 0, 2, kSurface), Both(100.0005, 1, 4, kRock), Both(300.002, 0, 2,
                                                                                                     kSurface)}),
       {{0, 1}, {}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    RockRows(c.rows);
    ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
    for (int i = 0; i < 3; ++i) {
      if (c.layers[static_cast<size_t>(i)].empty()) {
        EXPECT_TRUE(HasGroundLineOnly(i)) << "station " << i;
      } else {
        EXPECT_EQ(LayersOf(i), c.layers[static_cast<size_t>(i)]) << "station " << i;
      }
    }
  }
}

TEST_F(RockLayerTest, ALoneRightRowGivesALayerWithRightPointsOnly) {
  RockRows(Cat({Both(200, 0, 2, kSurface), {Layer("DK", 200, 1, 6, "右", kRock)}, Both(300, 0, 2, kDeep)}));
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(LayersOf(1), (std::vector<int>{0, 1}));
  const GroundBlock& rock = d.sections[1].groundBlocks[1];
  EXPECT_EQ(rock.leftCount, 0);
  EXPECT_EQ(PointsOf(rock, 1), kRock);
  EXPECT_EQ(rock.rockType, 6);
  // The station after it is not shifted.
  ASSERT_EQ(LayersOf(2), (std::vector<int>{0}));
  EXPECT_EQ(PointsOf(d.sections[2].groundBlocks[0], -1), kDeep);
}

TEST_F(RockLayerTest, AStationWithoutLayerZeroKeepsItsGroundLineFirst) {
  RockRows(Both(300, 1, 4, kRock));
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(LayersOf(2), (std::vector<int>{0, 1}));
  EXPECT_EQ(PointsOf(d.sections[2].groundBlocks[0], -1), (GroundPoints{{0, 0}, {1, 0}}));
  EXPECT_EQ(d.sections[2].groundBlocks[0].rockType, 2);
  EXPECT_EQ(PointsOf(d.sections[2].groundBlocks[1], -1), kRock);
}

TEST_F(RockLayerTest, MoreThanTwentyLayersAndMoreThanAHundredPointsAreRefused) {
  std::vector<fixtures::CrossSectionRow> rows;
  for (int layer = 0; layer < 22; ++layer) {
    auto both = Both(100, layer, 1 + layer % 6, {{0, -layer * 1.0}, {5, -layer * 1.0}});
    rows.insert(rows.end(), both.begin(), both.end());
  }
  GroundPoints many;
  for (int k = 0; k < 100; ++k) many.emplace_back(k * 0.5, -0.01 * k);
  auto wide = Layer("DK", 300, 0, 2, "左", many);
  wide.declaredCount = 150;
  rows.push_back(wide);
  RockRows(rows);
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(d.sections[0].GroundBlockCount(), 20);
  EXPECT_EQ(d.sections[0].groundBlocks[19].layer, 19);
  EXPECT_DOUBLE_EQ(d.sections[0].groundBlocks[19].right[1].y, -19.0);
  EXPECT_TRUE(transcript.contains("岩层超过20层"));
  EXPECT_EQ(d.sections[2].groundBlocks[0].leftCount, 100);
  EXPECT_DOUBLE_EQ(d.sections[2].groundBlocks[0].left[99].x, 49.5);
  EXPECT_TRUE(transcript.contains("地面点数150超过100"));
}

TEST_F(RockLayerTest, OpenersSelectTheRowsOfTheirQuery) {
  RockRows(Cat({Both(100, 0, 2, kSurface), Both(100, 1, 4, kRock), Both(200, 0, 2, kSurface)}));
  RockRows({Layer("DK", 500, 0, 2, "左", kSurface, 0), Layer("DK", 500, 0, 2, "右", kSurface, 0),
            Layer("DK", 600, 0, 2, "左", kSurface, 1), Layer("DK", 600, 1, 3, "左", kRock, 1),
            Layer("DK", 700, 0, 2, "左", kSurface, 1), Layer("DK", 700, 0, 2, "右", kSurface, 1)},
           true, "左线绕行段横断面岩层线表");
  struct Case {
    const char* name;
    std::function<int()> open;
    std::vector<double> chainages;  // rows listed, in order; empty: the open fails
  };
  const std::vector<Case> cases = {
      {"each measured station once", [&] { return d.OpenSchemeTable("横断面岩层线表", true); }, {100, 200}},
      {"all rows", [&] { return d.OpenSchemeTable("横断面岩层线表", false); }, {100, 100, 100, 100, 200, 200}},
      {"one detour", [&] { return d.OpenDetourTable("左线绕行段横断面岩层线表", 1, false); }, {600, 600, 700, 700}},
      {"one detour's stations", [&] { return d.OpenDetourTable("左线绕行段横断面岩层线表", 1, true); }, {600, 700}},
      {"a detour without rows", [&] { return d.OpenDetourTable("左线绕行段横断面岩层线表", 7, false); }, {}},
      {"a missing table", [&] { return d.OpenSchemeTable("不存在的表", false); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::TranscriptCapture transcript;
    const int opened = c.open();
    ASSERT_EQ(opened, c.chainages.empty() ? 0 : 1);
    if (!opened) {
      EXPECT_TRUE(transcript.contains("没有"));
      EXPECT_FALSE(d.connection.IsOpen());
      continue;
    }
    std::vector<double> listed;
    for (; !d.recordSet.IsEOF(); d.recordSet.MoveNext()) {
      CString text;
      d.recordSet.GetValueTextByName(text, "中桩里程数");
      listed.push_back(std::atof(text.GetString()));
    }
    EXPECT_EQ(listed, c.chainages);
    d.recordSet.Close();
    d.connection.Close();
  }
}

}  // namespace
