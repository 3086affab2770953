// The designer's life: construction, freeing its tables and lines, the
// section array and the bounds of the arrays filled from tables.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "corvane/data/alignment_support.h"
#include "project/TechParams.h"
#include "win/transcript.h"

namespace {

// Gives every table of a designer one row (two sections), so that freeing
// them shows.
void FillEveryTable(CrossSectionDesigner& d) {
  d.surfaceLayer.Replace(1);
  d.shoulderProtection.Replace(1);
  d.improvedFill.Replace(1);
  d.excavationClass.Replace(1);
  for (SideStandards* s : {&d.leftStandards, &d.rightStandards}) {
    s->limitWidth.Replace(1);
    s->landWidening.Replace(1);
    s->topsoil.Replace(1);
    s->groundWidth.Replace(1);
    s->embankmentSlopes.Replace(1);
    s->cuttingSlopes.Replace(1);
    s->sideDitch.Replace(1);
    s->drainageDitch.Replace(1);
    s->topDitch.Replace(1);
  }
  d.AllocateSections(2);
  d.sections[0].designLines[0].append(AcGePoint3d(1, 2, 0));
  d.sections[1].groundBlocks.resize(2);
  d.quantities.Replace(2);
  d.trackSegments.Replace(1);
  d.bridges.Replace(1);
  d.tunnels.Replace(1);
  d.stations.Replace(1);
  d.gradeTable.Replace(3);
  XLDataBase::AllocRows(d.xlDataBase.fillCuts, d.xlDataBase.fillCutCount, 4);
}

// Every table is empty: no rows and count 0.
template <class Table>
::testing::AssertionResult IsEmptyTable(const Table& t, const char* name) {
  if (t.count == 0 && t.rows == nullptr) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << " holds count " << t.count;
}

void ExpectAllFreed(const CrossSectionDesigner& d) {
  EXPECT_TRUE(IsEmptyTable(d.surfaceLayer, "基床表层厚度"));
  EXPECT_TRUE(IsEmptyTable(d.shoulderProtection, "护肩宽度"));
  EXPECT_TRUE(IsEmptyTable(d.improvedFill, "填改良土"));
  EXPECT_TRUE(IsEmptyTable(d.excavationClass, "挖方分类"));
  for (const SideStandards* s : {&d.leftStandards, &d.rightStandards}) {
    EXPECT_TRUE(IsEmptyTable(s->limitWidth, "横断面限制宽度"));
    EXPECT_TRUE(IsEmptyTable(s->landWidening, "用地加宽"));
    EXPECT_TRUE(IsEmptyTable(s->topsoil, "清表土厚度"));
    EXPECT_TRUE(IsEmptyTable(s->groundWidth, "地面线内插宽"));
    EXPECT_TRUE(IsEmptyTable(s->embankmentSlopes, "路堤边坡"));
    EXPECT_TRUE(IsEmptyTable(s->cuttingSlopes, "路堑边坡"));
    EXPECT_TRUE(IsEmptyTable(s->sideDitch, "侧沟"));
    EXPECT_TRUE(IsEmptyTable(s->drainageDitch, "排水沟"));
    EXPECT_TRUE(IsEmptyTable(s->topDitch, "天沟"));
  }
  EXPECT_EQ(d.SectionCount(), 0);
  EXPECT_TRUE(IsEmptyTable(d.quantities, "quantities"));
  EXPECT_TRUE(IsEmptyTable(d.trackSegments, "track structure"));
  EXPECT_TRUE(IsEmptyTable(d.bridges, "bridges"));
  EXPECT_TRUE(IsEmptyTable(d.tunnels, "tunnels"));
  EXPECT_TRUE(IsEmptyTable(d.stations, "stations"));
  EXPECT_TRUE(IsEmptyTable(d.gradeTable, "grade table"));
  EXPECT_EQ(d.xlDataBase.fillCuts, nullptr);
  EXPECT_EQ(d.xlDataBase.fillCutCount, 0);
}

class DesignerLifecycleTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int i = 0; i < kMaxDetourDesigners; ++i) {
      g_LeftDetourDesigners[i].FreeTables();
      g_RightDetourDesigners[i].FreeTables();
    }
    g_LeftDetourCount = 0;
    g_RightDetourCount = 0;
    g_DrawingFactor = 5.0;
  }
  alignment_test::ProjectEnvironment project;
};

TEST_F(DesignerLifecycleTest, ConstructionSetsTheDrawingFactorAndStartsEmpty) {
  // A quantity sheet with a merged range, as the earthwork run leaves it.
  sheet::Application app;
  ASSERT_TRUE(app.Start());
  sheet::Workbook book = app.GetWorkbooks().Add((std::string(RAIL_INSTALL_DIR) + "/lib/路基数量表.xlt").c_str());
  sheet::Range merged = book.GetWorksheets().GetItem("路基数量表").GetRange("c4", "Q4");
  ASSERT_TRUE(merged.Merge());
  g_LastMergedRange = merged;
  ASSERT_TRUE(g_LastMergedRange.IsValid());
  g_DrawingFactor = 1000.0 / 200.0 + 1.0;
  {
    CrossSectionDesigner d;
    EXPECT_EQ(g_DrawingFactor, 5.0);
    EXPECT_FALSE(g_LastMergedRange.IsValid());
    EXPECT_TRUE(merged.IsValid());  // the sheet itself is not touched
    EXPECT_EQ(d.scaleDenominator, 200.0);
    EXPECT_EQ(d.drawRequest, 1);
    EXPECT_EQ(d.roundingMode, 2);
    EXPECT_EQ(d.addTrackHeight, 0);
    EXPECT_EQ(d.sectionsDrawn, 0);
    EXPECT_EQ(d.threeDData, 0);
    EXPECT_EQ(d.sheetOrigin.x, 0.0);
    EXPECT_EQ(d.sheetOrigin.y, 0.0);
    EXPECT_EQ(d.baseline, nullptr);
    EXPECT_EQ(d.leftLine, nullptr);
    EXPECT_EQ(d.rightLine, nullptr);
    EXPECT_EQ(d.gradePointCount, 0);
    EXPECT_TRUE(d.planBoundary.empty());
    ExpectAllFreed(d);
    g_DrawingFactor = 2.5;  // a drawing dialog ran
  }
  // Destroying a designer leaves the factor alone; the next construction sets it again.
  EXPECT_EQ(g_DrawingFactor, 2.5);
  CrossSectionDesigner again;
  EXPECT_EQ(g_DrawingFactor, 5.0);
  app.Quit();
}

TEST_F(DesignerLifecycleTest, FreeTablesEmptiesEveryTableAndMayRunTwice) {
  CrossSectionDesigner d;
  FillEveryTable(d);
  d.gradePointCount = 3;
  d.breakCount = 2;
  d.FreeTables();
  ExpectAllFreed(d);
  // The inline tables are kept.
  EXPECT_EQ(d.gradePointCount, 3);
  EXPECT_EQ(d.breakCount, 2);
  d.FreeTables();
  ExpectAllFreed(d);
}

TEST_F(DesignerLifecycleTest, FreeAllLinesFreesTheDetourDesignersInUseAndTheModels) {
  struct Case {
    const char* name;
    int leftCount, rightCount;
  } cases[] = {{"no detours", 0, 0}, {"one left, two right", 1, 2}};
  for (const Case& c : cases) {
    CrossSectionDesigner d;
    FillEveryTable(d);
    d.SetBaselineModel(new AlignmentModel());
    d.SetLeftLine(new SideLineModel());
    d.SetRightLine(new SideLineModel());
    for (int i = 0; i < 3; ++i) {
      FillEveryTable(g_LeftDetourDesigners[i]);
      FillEveryTable(g_RightDetourDesigners[i]);
    }
    g_LeftDetourCount = c.leftCount;
    g_RightDetourCount = c.rightCount;

    d.FreeAllLines();
    ExpectAllFreed(d);
    EXPECT_EQ(d.baseline, nullptr) << c.name;
    EXPECT_EQ(d.leftLine, nullptr) << c.name;
    EXPECT_EQ(d.rightLine, nullptr) << c.name;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(g_LeftDetourDesigners[i].SectionCount() == 0, i < c.leftCount) << c.name << " left " << i;
      EXPECT_EQ(g_RightDetourDesigners[i].SectionCount() == 0, i < c.rightCount) << c.name << " right " << i;
      EXPECT_EQ(g_LeftDetourDesigners[i].shoulderProtection.count == 0, i < c.leftCount) << c.name;
    }
    d.FreeAllLines();  // a second time finds nothing to free
    ExpectAllFreed(d);
    TearDown();
  }
}

TEST_F(DesignerLifecycleTest, ReplacingAModelDeletesTheOldOne) {
  CrossSectionDesigner d;
  d.SetBaselineModel(new AlignmentModel());
  d.SetBaselineModel(new AlignmentModel());  // the sanitizer reports a leak if the first stays
  AlignmentModel* kept = d.baseline;
  d.SetBaselineModel(kept);
  EXPECT_EQ(d.baseline, kept);
}

TEST_F(DesignerLifecycleTest, SectionsGrowByInsertionAndCopyTheirNeighbour) {
  CrossSectionDesigner d;
  ASSERT_EQ(d.AllocateSections(3), 1);
  for (int i = 0; i < 3; ++i) {
    d.sections[i].mileage = 100.0 * i;
    d.sections[i].groundBlocks.resize(1);
    d.sections[i].groundBlocks[0].leftCount = i;
    d.sections[i].designLines[1].append(AcGePoint3d(i, 0, 0));
  }
  // A copy of section 1 goes in before it, as where a structure end is added.
  ASSERT_EQ(d.InsertSection(1, d.sections[1]), 1);
  ASSERT_EQ(d.SectionCount(), 4);
  const double mileages[] = {0, 100, 100, 200};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d.sections[i].mileage, mileages[i]) << i;
  // The copy owns its ground blocks and design lines.
  d.sections[1].groundBlocks[0].leftCount = 99;
  d.sections[1].designLines[1][0].x = 99;
  EXPECT_EQ(d.sections[2].groundBlocks[0].leftCount, 1);
  EXPECT_EQ(d.sections[2].designLines[1][0].x, 1.0);
  // At the end.
  ASSERT_EQ(d.InsertSection(4, d.sections[3]), 1);
  EXPECT_EQ(d.sections[4].mileage, 200.0);
  EXPECT_EQ(d.SectionCount(), 5);

  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.InsertSection(6, d.sections[0]), 0);
  EXPECT_EQ(d.InsertSection(-1, d.sections[0]), 0);
  EXPECT_TRUE(transcript.contains("插入横断面的位置6超出范围(0---5)"));
  EXPECT_EQ(d.SectionCount(), 5);
  EXPECT_EQ(d.AllocateSections(CrossSectionDesigner::kMaxSections + 1), 0);
  EXPECT_EQ(d.AllocateSections(-2), 0);
  EXPECT_EQ(d.SectionCount(), 5);  // refused counts keep the sections
  EXPECT_TRUE(transcript.contains("横断面数-2超出范围"));
}

TEST_F(DesignerLifecycleTest, GradePointsBeyondTheProfileRoomAreLeftOut) {
  CrossSectionDesigner d;
  std::vector<GradePoint> points(CrossSectionDesigner::kMaxGradePoints + 20);
  for (size_t i = 0; i < points.size(); ++i) points[i] = {100.0 * i, 50.0, 0.0, 7.0};
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.SetGradePoints(static_cast<int>(points.size()), points.data(), "左线绕行段坡度表"), 500);
  EXPECT_EQ(d.gradePointCount, 500);
  EXPECT_EQ(d.gradePoints[499].mileage, 49900.0);
  EXPECT_TRUE(transcript.contains("左线绕行段坡度表有520个变坡点，超过500个，只取前500个"));

  transcript.clear();
  EXPECT_EQ(d.SetGradePoints(3, points.data(), "坡度表"), 3);
  EXPECT_EQ(d.gradePoints[3].mileage, 0.0);  // the point after the last is zeroed
  EXPECT_EQ(d.gradePoints[3].spare, 0.0);
  EXPECT_EQ(transcript.text(), "");
}

TEST_F(DesignerLifecycleTest, TablesOfFixedRoomRefuseWhatDoesNotFit) {
  CrossSectionDesigner d;
  std::vector<BreakRecord> breaks(51);
  for (size_t i = 0; i < breaks.size(); ++i) breaks[i].before = 1000.0 * i;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.SetBreakTable(3, breaks.data()), 1);
  EXPECT_EQ(d.breakCount, 3);
  EXPECT_EQ(d.breaks[2].before, 2000.0);
  EXPECT_EQ(d.SetBreakTable(51, breaks.data()), 0);
  EXPECT_EQ(d.SetBreakTable(-1, breaks.data()), 0);
  EXPECT_EQ(d.breakCount, 3);  // as it was
  EXPECT_TRUE(transcript.contains("断链表有51个断链，超出范围(0---50)"));
  EXPECT_EQ(d.SetBreakTable(50, breaks.data()), 1);

  for (int i = 0; i < CrossSectionDesigner::kMaxBridgeSpans; ++i) ASSERT_EQ(d.AddBridgeSpan(i + 1, 20.0), 1);
  EXPECT_EQ(d.AddBridgeSpan(3, 32.0), 0);
  EXPECT_EQ(d.bridgeSpanCount, 100);
  EXPECT_EQ(d.bridgeSpans[99].count, 100);
  EXPECT_TRUE(transcript.contains("桥梁孔跨超过100组"));
}

TEST_F(DesignerLifecycleTest, HalfDistancesOfTheSecondLine) {
  // Single-line spacings 4 and 5, double-line spacings 9 and 10, reference 4.5.
  fixtures::TechParamsData data;
  data.param2 = 4.5f;
  data.singleSpacing[0] = 4.0f;
  data.singleSpacing[1] = 5.0f;
  data.doubleSpacing[0] = 9.0f;
  data.doubleSpacing[1] = 10.0f;
  const std::vector<unsigned char> bytes = fixtures::techParamsBytes(data);
  std::memcpy(g_TechBlockB, bytes.data() + kTechHeaderSize + kTechBlockASize, kTechBlockBSize);
  struct Case {
    const char* kind;
    double h1, h2;
  } cases[] = {{"单线", 2.0, 2.5}, {"双线", 2.25, 2.75}, {"预留二线", 2.25, 2.75}};
  for (const Case& c : cases) {
    CrossSectionDesigner d;
    d.lineKind = c.kind;
    d.SetHalfSpacings();
    EXPECT_EQ(d.halfDistance1, c.h1) << c.kind;
    EXPECT_EQ(d.halfDistance2, c.h2) << c.kind;
  }
  std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
}

TEST_F(DesignerLifecycleTest, DetourDesignerCountsStayWithinTheArrays) {
  platform::TranscriptCapture transcript;
  EXPECT_EQ(SetDetourDesignerCount(-1, 3), 1);
  EXPECT_EQ(SetDetourDesignerCount(1, 100), 1);
  EXPECT_EQ(SetDetourDesignerCount(-1, 101), 0);
  EXPECT_EQ(SetDetourDesignerCount(1, -1), 0);
  EXPECT_EQ(g_LeftDetourCount, 3);
  EXPECT_EQ(g_RightDetourCount, 100);
  EXPECT_TRUE(transcript.contains("左线有101个绕行段，超过了100个"));
  EXPECT_EQ(DetourDesigner(-1, 2), &g_LeftDetourDesigners[2]);
  EXPECT_EQ(DetourDesigner(-1, 3), nullptr);
  EXPECT_EQ(DetourDesigner(1, 99), &g_RightDetourDesigners[99]);
  EXPECT_EQ(DetourDesigner(1, -1), nullptr);
}

}  // namespace
