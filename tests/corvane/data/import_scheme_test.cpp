// The import of a whole scheme into the designers: the single-track and the
// double-track fixture schemes (section_schemes.h gives their data), their
// failures, and a second import into the same designers.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "corvane/data/import_support.h"

namespace {

using fixtures::GroundPoints;
using fixtures::Station;
using import_test::PointsOf;
using import_test::SchemeImportTest;

std::vector<int> CodesOf(const CrossSectionDesigner& d) {
  std::vector<int> codes;
  for (const SectionRecord& s : d.sections) codes.push_back(s.leftCode);
  return codes;
}

// Each section in `stations` order (a station listed twice where the import
// doubles it) has its fill/cut values and, unless it is `rockStation`, the
// fixture's ground line as its only block; the rock station has layers 0 and 1.
void ExpectStations(const CrossSectionDesigner& d, const std::vector<Station>& stations, double rockStation,
                    int rockType, double (*mileageOf)(double)) {
  ASSERT_EQ(d.SectionCount(), static_cast<int>(stations.size()));
  for (size_t i = 0; i < stations.size(); ++i) {
    const Station& st = stations[i];
    SCOPED_TRACE(std::string(st.prefix) + std::to_string(st.chainage));
    const SectionRecord& s = d.sections[i];
    EXPECT_STREQ(s.prefix, st.prefix);
    EXPECT_DOUBLE_EQ(s.chainage, st.chainage);
    EXPECT_NEAR(s.mileage, mileageOf(st.chainage), 1e-6);
    EXPECT_NEAR(s.groundElevation, fixtures::FixtureGroundElevation(st.chainage), 1e-9);
    if (st.chainage == rockStation) {
      ASSERT_EQ(s.GroundBlockCount(), 2);
      EXPECT_EQ(s.groundBlocks[0].layer, 0);
      EXPECT_EQ(PointsOf(s.groundBlocks[0], -1), fixtures::kRockSurface);
      EXPECT_EQ(PointsOf(s.groundBlocks[0], 1), fixtures::kRockSurface);
      EXPECT_EQ(s.groundBlocks[1].layer, 1);
      EXPECT_EQ(s.groundBlocks[1].rockType, rockType);
      EXPECT_EQ(PointsOf(s.groundBlocks[1], 1), fixtures::kRockLayer1);
    } else {
      ASSERT_EQ(s.GroundBlockCount(), 1);
      EXPECT_EQ(s.groundBlocks[0].rockType, 2);
      for (int side : {-1, 1}) {
        const GroundPoints expected = fixtures::FixtureGroundPoints(st.chainage, side);
        const GroundPoints got = PointsOf(s.groundBlocks[0], side);
        ASSERT_EQ(got.size(), expected.size()) << side;
        for (size_t k = 0; k < got.size(); ++k) {
          EXPECT_NEAR(got[k].first, expected[k].first, 1e-6);
          EXPECT_NEAR(got[k].second, expected[k].second, 1e-6);
        }
      }
    }
  }
}

double Same(double c) { return c; }
// The single-track scheme's short chain DK0+600 = DK0+650.
double SingleTrackMileage(double c) { return c >= 650 ? c - 50 : c; }

TEST_F(SchemeImportTest, SingleTrackScheme) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  d.lineKind = "单线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);
  EXPECT_EQ(std::string(d.schemeDatabasePath.GetString()), m_dbWindows);

  // Alignment and breaks.
  ASSERT_NE(d.baseline, nullptr);
  ASSERT_TRUE(d.baseline->IsBuilt());
  EXPECT_DOUBLE_EQ(d.baseline->StartMileage(), 0.0);
  EXPECT_NEAR(d.baseline->EndMileage(), 1100.0, 1e-9);
  ASSERT_EQ(d.breakCount, 3);
  EXPECT_DOUBLE_EQ(d.breaks[1].before, 600.0);
  EXPECT_DOUBLE_EQ(d.breaks[1].length, 50.0);
  EXPECT_DOUBLE_EQ(d.breaks[2].before, 1150.0);
  EXPECT_EQ(d.leftLine, nullptr);
  EXPECT_EQ(d.rightLine, nullptr);
  EXPECT_EQ(g_LeftDetourCount, 0);
  EXPECT_EQ(g_RightDetourCount, 0);

  // Grades: the settings row is the first point, without a curve.
  ASSERT_EQ(d.gradePointCount, 3);
  EXPECT_DOUBLE_EQ(d.gradePoints[0].mileage, 0.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[0].elevation, 100.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[0].radius, 0.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[1].mileage, 300.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[1].radius, 10000.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[2].mileage, 1100.0);
  EXPECT_DOUBLE_EQ(d.gradePoints[3].mileage, 0.0);
  EXPECT_EQ(d.gradeTable.count, 4);
  // 1 % up from 100 m: 100.05 at 5 m (no curve at the start point).
  EXPECT_NEAR(d.GradeLineElevation(5.0), 100.05, 1e-12);

  // Structures and track structure.
  ASSERT_EQ(d.bridges.count, 1);
  EXPECT_DOUBLE_EQ(d.bridges.rows[0].startMileage, 200.0);
  EXPECT_DOUBLE_EQ(d.bridges.rows[0].endMileage, 250.0);
  EXPECT_STREQ(d.bridges.rows[0].startText, "DK0+200.000");
  EXPECT_EQ(std::string(d.bridges.rows[0].name.GetString()), "一号桥");
  EXPECT_EQ(std::string(d.bridges.rows[0].remark.GetString()), "2-24m");
  ASSERT_EQ(d.tunnels.count, 1);
  EXPECT_DOUBLE_EQ(d.tunnels.rows[0].startMileage, 750.0);
  EXPECT_DOUBLE_EQ(d.tunnels.rows[0].endMileage, 850.0);
  EXPECT_EQ(d.stations.count, 0);
  ASSERT_EQ(d.trackSegments.count, 1);
  EXPECT_DOUBLE_EQ(d.trackSegments.rows[0].endMileage, 1100.0);
  EXPECT_DOUBLE_EQ(d.trackSegments.rows[0].heightMm, 766.0);

  // Half-distances of a single line: 7.0 / 2 and 7.6 / 2 (as 32-bit floats).
  EXPECT_NEAR(d.halfDistance1, 3.5, 1e-6);
  EXPECT_NEAR(d.halfDistance2, 3.8, 1e-6);
  EXPECT_GE(d.leftStandards.groundWidth.count, 1);

  // Sections with their ground lines and the rock layers of DK0+400.
  ExpectStations(d, fixtures::kSingleStations, 400, 4, SingleTrackMileage);
  EXPECT_EQ(CodesOf(d), (std::vector<int>{0, -3, 1, 3, 0, 0, -4, 2, 4, 0}));
  EXPECT_STREQ(d.sections[5].label, "DK0+700.000");
  EXPECT_DOUBLE_EQ(d.sections[5].shoulderDesignElevation, fixtures::FixtureGroundElevation(700) + 1.5);
  EXPECT_EQ(d.sections[5].sectionInfo, 1);
}

TEST_F(SchemeImportTest, DoubleTrackSchemeWithADetourOnEachSide) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  d.lineKind = "双线";
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);

  // The baseline designer: (12.0 - 5.0) / 2 and (12.4 - 5.0) / 2.
  EXPECT_NEAR(d.halfDistance1, 3.5, 1e-6);
  EXPECT_NEAR(d.halfDistance2, 3.7, 1e-6);
  ASSERT_NE(d.leftLine, nullptr);
  ASSERT_NE(d.rightLine, nullptr);
  EXPECT_EQ(d.leftLine->DetourCount(), 1);
  ASSERT_EQ(g_LeftDetourCount, 1);
  ASSERT_EQ(g_RightDetourCount, 1);
  ExpectStations(d, fixtures::kDoubleStations, -1, 0, Same);
  EXPECT_EQ(CodesOf(d), (std::vector<int>{0, 0, 0, 0, 1}));
  EXPECT_DOUBLE_EQ(d.sections[0].leftLineOffset, -5.0);
  EXPECT_DOUBLE_EQ(d.sections[0].rightLineOffset, 5.0);
  ASSERT_EQ(d.leftStandards.groundWidth.count, 1);
  EXPECT_DOUBLE_EQ(d.leftStandards.groundWidth.rows[0].value, 30.0);

  // The left detour: its own line from ZK0+500 to ZK1+703.372, designed as a single line.
  const CrossSectionDesigner& left = g_LeftDetourDesigners[0];
  EXPECT_EQ(std::string(left.lineKind.GetString()), "单线");
  EXPECT_NEAR(left.halfDistance1, 3.5, 1e-6);
  EXPECT_NEAR(left.halfDistance2, 3.8, 1e-6);
  ASSERT_NE(left.baseline, nullptr);
  ASSERT_TRUE(left.baseline->IsBuilt());
  EXPECT_EQ(left.baseline->ipCount, 6);
  EXPECT_NEAR(left.baseline->StartMileage(), 500.0, 1e-9);
  EXPECT_NEAR(left.baseline->EndMileage(), 1703.372, 0.001);
  ASSERT_EQ(left.baseline->breakCount, 2);
  EXPECT_DOUBLE_EQ(left.baseline->breaks[0].before, 500.0);
  EXPECT_DOUBLE_EQ(left.baseline->breaks[0].length, 0.0);
  EXPECT_STREQ(left.baseline->breaks[0].prefixAfter, "ZK");
  EXPECT_DOUBLE_EQ(left.baseline->breaks[1].before, 1703.372);
  EXPECT_NEAR(left.baseline->breaks[1].length, -3.372, 1e-9);
  // The section's start: its point and its chainage agree.
  LinePoint start{};
  start.mileage = 500.0;
  ASSERT_GE(BAS_DRAW_FUN::PointAtMileage(left.baseline->elements, left.baseline->elementCount, start), 0);
  EXPECT_NEAR(start.x, 500.0, 1e-6);
  EXPECT_NEAR(start.y, -5.0, 1e-6);
  ASSERT_EQ(left.gradePointCount, 3);
  EXPECT_DOUBLE_EQ(left.gradePoints[0].mileage, 500.0);
  EXPECT_DOUBLE_EQ(left.gradePoints[0].radius, 0.0);
  EXPECT_DOUBLE_EQ(left.gradePoints[1].elevation, 104.0);
  EXPECT_DOUBLE_EQ(left.gradePoints[1].radius, 8000.0);
  ASSERT_EQ(left.bridges.count, 1);
  EXPECT_DOUBLE_EQ(left.bridges.rows[0].startMileage, 600.0);
  ASSERT_EQ(left.tunnels.count, 1);
  EXPECT_DOUBLE_EQ(left.tunnels.rows[0].endMileage, 900.0);
  ASSERT_EQ(left.trackSegments.count, 1);
  EXPECT_NEAR(left.trackSegments.rows[0].endMileage, 1700.0, 1e-9);
  ASSERT_EQ(left.leftStandards.groundWidth.count, 1);
  EXPECT_DOUBLE_EQ(left.leftStandards.groundWidth.rows[0].value, 25.0);
  EXPECT_NEAR(left.leftStandards.groundWidth.rows[0].endMileage, 1703.372, 1e-9);
  // Its sections: those at the bridge and tunnel ends doubled, rock layers at ZK0+700.
  const std::vector<Station> leftDoubled = {{"ZK", 500}, {"ZK", 600}, {"ZK", 600}, {"ZK", 625}, {"ZK", 650},
                                            {"ZK", 650}, {"ZK", 700}, {"ZK", 800}, {"ZK", 800}, {"ZK", 850},
                                            {"ZK", 900}, {"ZK", 900}, {"ZK", 1000}};
  ExpectStations(left, leftDoubled, 700, 3, Same);
  EXPECT_EQ(CodesOf(left), (std::vector<int>{0, -3, 1, 1, 1, 3, 0, -4, 2, 2, 2, 4, 0}));

  // The right detour: no grade rows (reported), its structures and sections all the same.
  const CrossSectionDesigner& right = g_RightDetourDesigners[0];
  EXPECT_TRUE(transcript.contains("读绕行段坡度表失败!"));
  EXPECT_EQ(right.gradePointCount, 0);
  ASSERT_NE(right.baseline, nullptr);
  EXPECT_NEAR(right.baseline->StartMileage(), 2200.0, 1e-9);
  ASSERT_EQ(right.bridges.count, 1);
  EXPECT_DOUBLE_EQ(right.bridges.rows[0].endMileage, 2550.0);
  EXPECT_EQ(right.tunnels.count, 0);
  const std::vector<Station> rightDoubled = {{"YK", 2200}, {"YK", 2500}, {"YK", 2500}, {"YK", 2525},
                                             {"YK", 2550}, {"YK", 2550}, {"YK", 2700}};
  ExpectStations(right, rightDoubled, -1, 0, Same);
  EXPECT_EQ(CodesOf(right), (std::vector<int>{0, -3, 1, 1, 1, 3, 0}));

  // Design elevations of the three lines. At 600 the baseline rises 0.5 % from
  // 100 m (103.0); the left line lies in its detour at its own mileage 600,
  // where the detour's grade rises 0.8 % from 100 m (100.8). At 2500 the right
  // detour has no grades, so the baseline's 110 - 0.5 % × 500 = 107.5 serves.
  struct Case {
    double ML, baseline, left, right;
  };
  for (const Case& c : {Case{600, 103.0, 100.8, 103.0}, Case{2500, 107.5, 107.5, 107.5}}) {
    SCOPED_TRACE(c.ML);
    double b = 0, l = 0, r = 0;
    d.DesignElevationsAt(false, c.ML, b, l, r);
    EXPECT_NEAR(b, c.baseline, 1e-9);
    EXPECT_NEAR(l, c.left, 1e-9);
    EXPECT_NEAR(r, c.right, 1e-9);
    d.DesignElevationsAt(true, c.ML, b, l, r);
    EXPECT_NEAR(l, c.baseline, 1e-9);
    EXPECT_NEAR(r, c.baseline, 1e-9);
  }
}

TEST_F(SchemeImportTest, WithoutSectionTablesOnlyTheLinesAreRead) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  d.lineKind = "双线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 0, 0), 1);
  EXPECT_EQ(d.SectionCount(), 0);
  ASSERT_EQ(g_LeftDetourCount, 1);
  EXPECT_EQ(g_LeftDetourDesigners[0].SectionCount(), 0);
  EXPECT_EQ(g_LeftDetourDesigners[0].gradePointCount, 3);
}

TEST_F(SchemeImportTest, ARequiredTableWithoutRowsEndsTheImport) {
  struct Case {
    const char* sql;
    const char* message;
  };
  for (const Case& c : {Case{"delete from 曲线表", "读曲线表失败"},
                        // One IP makes no line.
                        Case{"delete from 曲线表 where 交点号='JD1'", "读曲线表失败"},
                        Case{"delete from 断链表", "读断链表失败"}, Case{"delete from 坡度表", "读坡度表失败!"},
                        Case{"delete from 右线绕行段填挖表", "没有右线绕行段填挖表记录"}}) {
    SCOPED_TRACE(c.sql);
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
    ASSERT_TRUE(fixtures::ExecuteSql(m_db, c.sql, &error)) << error;
    CrossSectionDesigner d;
    d.lineKind = "双线";
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 0);
    EXPECT_TRUE(transcript.contains(c.message));
  }
}

TEST_F(SchemeImportTest, ASecondImportKeepsNothingOfTheFirst) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  d.lineKind = "双线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);
  ASSERT_EQ(d.bridges.count, 1);

  // The same scheme as a single line, after its bridges were removed.
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 大中桥", &error)) << error;
  d.lineKind = "单线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 1, 1), 1);
  EXPECT_EQ(d.bridges.count, 0);
  EXPECT_EQ(d.leftLine, nullptr);
  EXPECT_EQ(d.rightLine, nullptr);
  EXPECT_EQ(g_LeftDetourCount, 0);
  EXPECT_EQ(g_RightDetourCount, 0);
  EXPECT_EQ(CodesOf(d), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_NEAR(d.halfDistance2, 3.8, 1e-6);
}

}  // namespace
