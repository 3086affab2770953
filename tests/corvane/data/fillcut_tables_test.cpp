// The fill/cut tables read into section records, with their ground lines,
// rock layers and structure codes; the detour read with the sections at
// structure ends doubled.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvane/data/import_support.h"

namespace {

using fixtures::GroundPoints;
using import_test::PointsOf;
using import_test::SectionTablesTest;

StructureRow Range(double start, double end) {
  StructureRow row;
  row.startMileage = start;
  row.endMileage = end;
  return row;
}

void SetRanges(OwnedRowArray<StructureRow>& list, std::vector<std::pair<double, double>> ranges) {
  list.Replace(static_cast<int>(ranges.size()));
  for (size_t i = 0; i < ranges.size(); ++i) list.rows[i] = Range(ranges[i].first, ranges[i].second);
}

using FillCutReadTest = SectionTablesTest;

TEST_F(FillCutReadTest, EveryColumnReachesItsField) {
  // A short chain DK0+600 = DK0+650: DK0+700 lies at mileage 650.
  d.breakCount = 3;
  SetBreakPrefixes(d.breaks[1], "DK", "DK");
  d.breaks[1].before = 600;
  d.breaks[1].length = 50;
  SetBreakPrefixes(d.breaks[2], "DK", "DK");
  d.breaks[2].before = 10000;
  // From 加桩里程冠号: prefix, chainage, ground, 设计坡度, 路肩设计高程, 竖曲线纵距,
  // 中心抬降值, 中心填挖高度, 路肩施工高程, 曲线加宽, 右曲线加宽, 路肩施工宽度,
  // 左线间距, 右线间距, 路肩分离限宽, 断面信息.
  std::string error;
  ASSERT_TRUE(fixtures::FillTable(m_db, "填挖表",
                                  {{"DK", "700", "312.25", "-3.5", "314.75", "0.01", "0", "2.5", "314.8", "0.15",
                                    "0.25", "0", "-4.6", "5.2", "11.5", "7"},
                                   {"ABCDEFGHIJ", "120.5", "1", nullptr, "2", nullptr, nullptr, "1", nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
                                   {nullptr, "130", "1"}},
                                  &error))
      << error;
  GroundRows({Side("DK", 700, "左", {{0, 0}})});
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  ASSERT_EQ(d.SectionCount(), 3);
  const SectionRecord& s = d.sections[0];
  EXPECT_STREQ(s.prefix, "DK");
  EXPECT_DOUBLE_EQ(s.chainage, 700.0);
  EXPECT_STREQ(s.label, "DK0+700.000");
  EXPECT_DOUBLE_EQ(s.mileage, 650.0);
  EXPECT_DOUBLE_EQ(s.groundElevation, 312.25);
  EXPECT_DOUBLE_EQ(s.shoulderDesignElevation, 314.75);
  EXPECT_DOUBLE_EQ(s.centreFillHeight, 2.5);
  EXPECT_DOUBLE_EQ(s.curveWidening, 0.15);
  EXPECT_DOUBLE_EQ(s.rightCurveWidening, 0.25);
  EXPECT_DOUBLE_EQ(s.leftLineOffset, -4.6);
  EXPECT_DOUBLE_EQ(s.rightLineOffset, 5.2);
  EXPECT_DOUBLE_EQ(s.separationWidth, 11.5);
  EXPECT_EQ(s.sectionInfo, 7);
  EXPECT_EQ(s.kind, 1);
  EXPECT_DOUBLE_EQ(d.bridgeLandTakeMargin, 8.0);
  // A prefix is kept to 7 characters; a null prefix is none, not "NULL".
  EXPECT_STREQ(d.sections[1].prefix, "ABCDEFG");
  EXPECT_STREQ(d.sections[1].label, "ABCDEFG0+120.500");
  EXPECT_STREQ(d.sections[2].prefix, "");
  EXPECT_STREQ(d.sections[2].label, "0+130.000");
}

TEST_F(FillCutReadTest, StructureCodesOfTheBaselineAreSetButNotDoubled) {
  SetRanges(d.bridges, {{200, 250}});
  SetRanges(d.tunnels, {{400, 500}});
  FillCut({{"DK", 100}, {"DK", 200}, {"DK", 225}, {"DK", 250}, {"DK", 400}, {"DK", 450}, {"DK", 500}});
  GroundRows({Side("DK", 100, "左", {{0, 0}})});
  ASSERT_EQ(d.ReadBaselineSectionTables(), 1);
  std::vector<int> codes;
  for (const SectionRecord& s : d.sections) codes.push_back(s.leftCode);
  EXPECT_EQ(codes, (std::vector<int>{0, -3, 1, 3, -4, 2, 4}));
}

TEST_F(FillCutReadTest, FailuresKeepWhatWasRead) {
  struct Case {
    const char* name;
    bool fillCutRows;
    bool groundTable;
    int result;
    int sections;
  };
  for (const Case& c : {Case{"no fill/cut rows", false, true, 0, 0}, Case{"no ground-line table", true, false, 0, 2},
                        Case{"no rock-layer table", true, true, 1, 2}}) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.fillCutRows) FillCut({{"DK", 100}, {"DK", 200}});
    if (c.groundTable) GroundRows({Side("DK", 200, "左", {{0, 0}, {3, 1}})});
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.ReadBaselineSectionTables(), c.result);
    ASSERT_EQ(d.SectionCount(), c.sections);
    if (c.sections > 0) {
      EXPECT_DOUBLE_EQ(d.sections[1].mileage, 200.0);
      EXPECT_DOUBLE_EQ(d.sections[1].groundElevation, 100.2);
    }
    if (!c.fillCutRows) {
      EXPECT_TRUE(transcript.contains("没有填挖表记录"));
    }
    if (!c.groundTable) {
      EXPECT_TRUE(transcript.contains("没有横断面地面线表记录"));
    }
    if (c.result == 1) {
      EXPECT_EQ(PointsOf(d.sections[1].groundBlocks[0], -1), (GroundPoints{{0, 0}, {3, 1}}));
    }
  }
}

// ---- Detour sections ------------------------------------------------------------------

class DetourFillCutTest : public SectionTablesTest {
 protected:
  void SetUp() override {
    SectionTablesTest::SetUp();
    target.breakCount = 2;
    SetBreakPrefixes(target.breaks[0], "ZK", "ZK");
    SetBreakPrefixes(target.breaks[1], "ZK", "ZK");
    target.breaks[1].before = 10000.0;
    SetRanges(target.bridges, {{100, 150}});
    SetRanges(target.tunnels, {{300, 400}});
    SetRanges(target.stations, {{500, 600}});
  }

  void DetourGround(const std::vector<fixtures::CrossSectionRow>& rows) {
    std::string error;
    ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "左线绕行段横断面地面线表", true, rows, true, &error)) << error;
  }

  CrossSectionDesigner target;
};

TEST_F(DetourFillCutTest, SectionsAtStructureEndsAreDoubled) {
  const std::vector<double> stations = {50, 100, 120, 150, 300, 400, 500};
  std::vector<import_test::Stake> stakes;
  std::vector<fixtures::CrossSectionRow> ground;
  for (double c : stations) {
    stakes.push_back({"ZK", c});
    for (const char* side : {"左", "右"}) {
      auto row = Side("ZK", c, side, {{0, 0}, {c / 100, 1}}, {}, 3);
      row.ground = 200.0 + c;  // the detour takes the ground-line table's elevation
      ground.push_back(row);
    }
  }
  FillCut(stakes, "左线绕行段填挖表", 3);
  FillCut({{"ZK", 50}, {"ZK", 75}}, "左线绕行段填挖表", 2);  // another detour's rows
  DetourGround(ground);

  ASSERT_EQ(d.ReadDetourFillCutTables("左线", 3, &target), 1);
  struct Expected {
    double chainage;
    int code;
  };
  const std::vector<Expected> expected = {{50, 0},  {100, -3}, {100, 1}, {120, 1}, {150, 1}, {150, 3},
                                          {300, -4}, {300, 2},  {400, 2}, {400, 4}, {500, -5}};
  ASSERT_EQ(target.SectionCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const SectionRecord& s = target.sections[i];
    EXPECT_DOUBLE_EQ(s.chainage, expected[i].chainage);
    EXPECT_DOUBLE_EQ(s.mileage, expected[i].chainage);
    EXPECT_EQ(s.leftCode, expected[i].code);
    EXPECT_DOUBLE_EQ(s.groundElevation, 200.0 + expected[i].chainage);
    ASSERT_EQ(s.GroundBlockCount(), 1);
    EXPECT_DOUBLE_EQ(s.groundBlocks[0].right[1].x, expected[i].chainage / 100);
  }
  // The designer that ran the read has no sections of its own.
  EXPECT_EQ(d.SectionCount(), 0);
}

TEST_F(DetourFillCutTest, ADetourWithoutTwoGroundRowsFails) {
  FillCut({{"ZK", 50}, {"ZK", 100}}, "左线绕行段填挖表", 0);
  DetourGround({Side("ZK", 50, "左", {{0, 0}, {1, 0}}, {}, 0), Side("ZK", 50, "右", {{0, 0}, {1, 0}}, {}, 1)});
  EXPECT_EQ(d.ReadDetourFillCutTables("左线", 0, &target), 0);
  // The fill/cut values stay.
  ASSERT_EQ(target.SectionCount(), 2);
  EXPECT_DOUBLE_EQ(target.sections[1].mileage, 100.0);
  EXPECT_EQ(d.ReadDetourFillCutTables("左线", 5, &target), 0);
}

}  // namespace
