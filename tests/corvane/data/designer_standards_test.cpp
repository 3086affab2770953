// A designer loaded with the standards of a fixture scheme: the baseline's
// own tables through its break table, a detour section's through its model,
// the default rows of lines without rows, and the lookups on the result.
//
// The scheme (schemedb_support.h) has the baseline breaks DK100 = DK100,
// DK2000 = DK2050 and DK5123.4: continuous mileage = chainage up to DK2000,
// chainage − 50 after it; the baseline runs from DK0+100.000 (100) to
// DK5+123.400 (5073.4). Detour 0 of the left line runs from ZK1+200.500 to
// ZK2+300.250; its model's breaks make those chainages its mileages. The
// subgrade surface layer of the technical parameters is 0.65 m, so a default
// side ditch is 0.85 deep.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "fixtures/scheme_db.h"
#include "fixtures/standards_db.h"
#include "corvane/data/schemedb_support.h"
#include "win/transcript.h"

namespace {

using schemedb_test::MessageCount;

class DesignerStandardsTest : public schemedb_test::SchemeProject {
 protected:
  void SetUp() override {
    SchemeProject::SetUp();
    std::string error;
    ASSERT_TRUE(fixtures::CreateDesignStandardTables(m_db, 32, &error)) << error;
    Fill("护肩宽度", {{"0", "-1", "DK", "1500", "0.5"},
                      {"-1", "0", "ZK", "2000", "0.45"},  // the left line's detour 0
                      {"0", "-1", "DK", "3000", "0.6"}});
    Fill("清表土厚度", {{"0", "-1", "DK", "1000", "0.3"}});
    Fill("左路堤边坡", {{"0", "-1", "DK", "4000", "2", "1.5", "8", "1", "4", "1.75", "10", "2", "0", "9", "9", "9", "9"}});
    Fill("挖方分类", {{"0", "-1", "DK", "2500", "10", "20", "30", "40", "0", "0"}});
    Fill("右用地加宽", {{"0", "-1", "DK", "1200", "2.5", "3.5"}, {"0", "-1", "DK", "2100", "1.5", "2"}});

    baseline.breakCount = 3;
    const BreakRecord breaks[] = {{100, 0, "DK", "DK"}, {2000, 50, "DK", "DK"}, {5123.4, 0, "DK", "DK"}};
    std::copy(breaks, breaks + 3, baseline.breaks);
    baseline.schemeDatabasePath = m_db.c_str();
  }

  void Fill(const char* table, const std::vector<fixtures::Row>& rows) {
    std::string error;
    ASSERT_TRUE(fixtures::FillTable(m_db, table, rows, &error)) << table << ": " << error;
  }

  // A detour designer whose model carries the detour's chainages.
  void GiveModel(CrossSectionDesigner& detour) {
    detour.SetBaselineModel(new AlignmentModel());
    const BreakRecord breaks[] = {{1200.5, 0, "ZK", "ZK"}, {2300.25, 10, "ZK", "ZK"}};
    ASSERT_EQ(detour.baseline->SetBreakTable(2, breaks), 1);
  }

  CrossSectionDesigner baseline;
};

template <class Entry>
std::string EndOf(const OwnedRowArray<Entry>& t, int i) {
  return t.rows[i].endText;
}

TEST_F(DesignerStandardsTest, BaselineTablesByMileage) {
  platform::TranscriptCapture transcript;
  baseline.LoadBaselineDesignStandards();
  EXPECT_EQ(MessageCount(transcript.text()), 0u) << transcript.text();

  // Rows of the line, in their order, with their mileages.
  const auto& shoulder = baseline.shoulderProtection;
  ASSERT_EQ(shoulder.count, 2);
  EXPECT_EQ(EndOf(shoulder, 0), "DK1+500.000");
  EXPECT_DOUBLE_EQ(shoulder.rows[0].endMileage, 1500);
  EXPECT_EQ(shoulder.rows[0].value, 0.5);
  EXPECT_EQ(EndOf(shoulder, 1), "DK3+000");
  EXPECT_DOUBLE_EQ(shoulder.rows[1].endMileage, 2950);
  EXPECT_EQ(shoulder.rows[1].value, 0.6);

  const auto& slopes = baseline.leftStandards.embankmentSlopes;
  ASSERT_EQ(slopes.count, 1);
  EXPECT_DOUBLE_EQ(slopes.rows[0].endMileage, 3950);
  ASSERT_EQ(slopes.rows[0].gradeCount, 2);
  EXPECT_EQ(slopes.rows[0].grades[1].ratio, 1.75);
  EXPECT_EQ(slopes.rows[0].grades[1].bermWidth, 2.0);
  EXPECT_EQ(slopes.rows[0].grades[0].fourth, 4.0);
  EXPECT_EQ(slopes.rows[0].grades[2].ratio, 0.0);  // the third grade's columns are not read

  const auto& classes = baseline.excavationClass;
  ASSERT_EQ(classes.count, 1);
  EXPECT_DOUBLE_EQ(classes.rows[0].endMileage, 2450);
  EXPECT_EQ(classes.rows[0].percent[3], 40.0);

  const auto& widening = baseline.rightStandards.landWidening;
  ASSERT_EQ(widening.count, 2);
  EXPECT_EQ(widening.rows[1].fillWidening, 1.5);
  EXPECT_EQ(widening.rows[1].cutWidening, 2.0);
  // The right widening table is not the left one: the left has its default.
  ASSERT_EQ(baseline.leftStandards.landWidening.count, 1);
  EXPECT_EQ(baseline.leftStandards.landWidening.rows[0].fillWidening, 1.0);

  // 清表土厚度 fills both sides from the same rows.
  for (const SideStandards* s : {&baseline.leftStandards, &baseline.rightStandards}) {
    ASSERT_EQ(s->topsoil.count, 1);
    EXPECT_EQ(EndOf(s->topsoil, 0), "DK1+000");
    EXPECT_DOUBLE_EQ(s->topsoil.rows[0].endMileage, 1000);
    EXPECT_EQ(s->topsoil.rows[0].value, 0.3);
  }
}

TEST_F(DesignerStandardsTest, DefaultRowsSpanTheWholeLine) {
  baseline.LoadBaselineDesignStandards();
  // One row to the end of the line for every table without rows of the line.
  const auto& side = baseline.leftStandards.sideDitch;
  ASSERT_EQ(side.count, 1);
  EXPECT_EQ(EndOf(side, 0), "DK5+123.400");
  EXPECT_DOUBLE_EQ(side.rows[0].endMileage, 5073.4);
  EXPECT_EQ(side.rows[0].bottomWidth, 0.4);
  EXPECT_DOUBLE_EQ(side.rows[0].depth, 0.85);
  EXPECT_EQ(side.rows[0].innerRatio, 1.0);
  EXPECT_EQ(side.rows[0].outerRatio, 1.0);
  EXPECT_EQ(side.rows[0].liningThickness, 0.3);

  const auto& drainage = baseline.rightStandards.drainageDitch;
  ASSERT_EQ(drainage.count, 1);
  EXPECT_EQ(drainage.rows[0].type, 1);
  const DrainageDitchEntry& e = drainage.rows[0];
  const double values[] = {e.distance, e.crossSlope, e.bottomWidth, e.depth, e.innerRatio, e.outerRatio,
                           e.liningThickness};
  const double positions6to12[] = {2.0, 4.0, 0.4, 0.6, 1.0, 1.0, 0.3};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], positions6to12[i]) << i;

  // Top ditches carry both ends of the line; the two sides differ in order.
  struct TopCase {
    const SideStandards* side;
    double width, depth;
  } tops[] = {{&baseline.leftStandards, 0.4, 0.6}, {&baseline.rightStandards, 0.6, 0.4}};
  for (const TopCase& c : tops) {
    ASSERT_EQ(c.side->topDitch.count, 1);
    const TopDitchEntry& t = c.side->topDitch.rows[0];
    EXPECT_EQ(std::string(t.startText), "DK0+100.000");
    EXPECT_DOUBLE_EQ(t.startMileage, 100);
    EXPECT_DOUBLE_EQ(t.endMileage, 5073.4);
    EXPECT_EQ(t.atStart.offset, 2.0);
    EXPECT_EQ(t.atStart.bottomWidth, c.width);
    EXPECT_EQ(t.atStart.depth, c.depth);
    EXPECT_EQ(t.atEnd.bottomWidth, c.width);
    EXPECT_EQ(t.innerRatio, 1.0);
    EXPECT_EQ(t.liningThickness, 0.3);
  }
  const auto& cutting = baseline.rightStandards.cuttingSlopes;
  ASSERT_EQ(cutting.count, 1);
  ASSERT_EQ(cutting.rows[0].gradeCount, 3);
  EXPECT_EQ(cutting.rows[0].grades[1].ratio, 1.25);
  EXPECT_EQ(cutting.rows[0].grades[2].height, 100.0);
  ASSERT_EQ(baseline.improvedFill.count, 1);
  EXPECT_DOUBLE_EQ(baseline.improvedFill.rows[0].startMileage, 100);
  EXPECT_DOUBLE_EQ(baseline.improvedFill.rows[0].endMileage, 5073.4);
  EXPECT_DOUBLE_EQ(baseline.surfaceLayer.rows[0].value, 0.65);
}

TEST_F(DesignerStandardsTest, LookupsOnTheLoadedTables) {
  baseline.LoadBaselineDesignStandards();
  struct Case {
    double ML, shoulder, fillWidening;
    int classRow;
  } cases[] = {
      // 护肩宽度 ends at 1500 and 2950, 右用地加宽 at 1200 and DK2+100 = 2050.
      {100, 0.5, 2.5, 0},       {1200, 0.5, 2.5, 0},      {1200.0009, 0.5, 2.5, 0}, {1500, 0.5, 1.5, 0},
      {1500.0005, 0.5, 1.5, 0}, {1500.01, 0.6, 1.5, 0},   {2050, 0.6, 1.5, 0},
      {2950, 0.6, 1.5, 0},      {4000, 0.6, 1.5, 0},  // past the ends: the last rows
  };
  for (const Case& c : cases) {
    const auto& s = baseline.shoulderProtection;
    EXPECT_EQ(CrossSectionDesigner::GetShoulderWidth(c.ML, s.count, s.rows), c.shoulder) << c.ML;
    const auto& w = baseline.Standards(1).landWidening;
    double fill, cut;
    CrossSectionDesigner::GetLandWidening(c.ML, w.count, w.rows, fill, cut);
    EXPECT_EQ(fill, c.fillWidening) << c.ML;
    EXPECT_EQ(baseline.FindExcavationClassRow(c.ML), c.classRow) << c.ML;
  }
  const auto& side = baseline.Standards(-1).sideDitch;
  double width, a, b, c, d, e;
  CrossSectionDesigner::GetSideDitch(3000, side.count, side.rows, width, a, b, c, d, e);
  EXPECT_DOUBLE_EQ(width, (1.0 + 1.0) * 0.85 + 0.4);
  double m[kMaxSlopeGrades], h[kMaxSlopeGrades], bw[kMaxSlopeGrades], bs[kMaxSlopeGrades];
  const auto& slopes = baseline.Standards(-1).embankmentSlopes;
  EXPECT_EQ(CrossSectionDesigner::GetSlopeGrades(3000, slopes.count, slopes.rows, m, h, bw, bs), 2);
  EXPECT_EQ(h[0], 8.0);
  EXPECT_EQ(bs[0], 4.0);
}

TEST_F(DesignerStandardsTest, DetourSectionOfTheLeftLine) {
  CrossSectionDesigner detour;
  GiveModel(detour);
  platform::TranscriptCapture transcript;
  baseline.LoadLineDesignStandards(m_db.c_str(), "左线", 0, &detour);
  EXPECT_EQ(MessageCount(transcript.text()), 0u) << transcript.text();
  EXPECT_EQ(baseline.schemeDb.currentLine, -1);
  EXPECT_EQ(baseline.schemeDb.detourNumber, 0);

  // Its own row, converted through its model's breaks.
  ASSERT_EQ(detour.shoulderProtection.count, 1);
  EXPECT_EQ(EndOf(detour.shoulderProtection, 0), "ZK2+000");
  EXPECT_DOUBLE_EQ(detour.shoulderProtection.rows[0].endMileage, 2000);
  EXPECT_EQ(detour.shoulderProtection.rows[0].value, 0.45);
  // Every table without rows for it: one row over its own range.
  ASSERT_EQ(detour.leftStandards.topDitch.count, 1);
  EXPECT_EQ(std::string(detour.leftStandards.topDitch.rows[0].startText), "ZK1+200.500");
  EXPECT_DOUBLE_EQ(detour.leftStandards.topDitch.rows[0].startMileage, 1200.5);
  EXPECT_EQ(EndOf(detour.leftStandards.topDitch, 0), "ZK2+300.250");
  EXPECT_DOUBLE_EQ(detour.leftStandards.topDitch.rows[0].endMileage, 2300.25);
  ASSERT_EQ(detour.rightStandards.topsoil.count, 1);
  EXPECT_DOUBLE_EQ(detour.rightStandards.topsoil.rows[0].endMileage, 2300.25);
  EXPECT_EQ(detour.rightStandards.topsoil.rows[0].value, 0.0);
  // The baseline designer's own tables are untouched.
  EXPECT_EQ(baseline.shoulderProtection.count, 0);

  // "一线" with a detour number other than -1 keeps the line last given.
  CrossSectionDesigner again;
  GiveModel(again);
  baseline.LoadLineDesignStandards(m_db.c_str(), "一线", 5, &again);
  EXPECT_EQ(baseline.schemeDb.currentLine, -1);
  ASSERT_EQ(again.shoulderProtection.count, 1);
  EXPECT_EQ(again.shoulderProtection.rows[0].value, 0.45);
  // "一线" with -1 is the baseline.
  baseline.LoadLineDesignStandards(m_db.c_str(), "一线", -1, &again);
  EXPECT_EQ(baseline.schemeDb.currentLine, 0);
  EXPECT_EQ(again.shoulderProtection.count, 2);
}

TEST_F(DesignerStandardsTest, ATargetWithoutModelUsesItsOwnBreaks) {
  CrossSectionDesigner detour;
  detour.breakCount = 2;
  detour.breaks[0] = {1000, 0, "ZK", "ZK"};
  detour.breaks[1] = {3000, 0, "ZK", "ZK"};
  baseline.LoadLineDesignStandards(m_db.c_str(), "左线", 0, &detour);
  ASSERT_EQ(detour.shoulderProtection.count, 1);
  EXPECT_DOUBLE_EQ(detour.shoulderProtection.rows[0].endMileage, 1000 + (2000 - 1000));
  baseline.LoadLineDesignStandards(m_db.c_str(), "左线", 0, nullptr);  // nothing to load into
}

}  // namespace
