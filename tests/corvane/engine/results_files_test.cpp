// The result files as groups in a project's data folder: the main line's and
// the detours' files written from the designers and read back, the
// excavation classes set on the way, the files that cannot be opened, and
// the 3D line data (BJPT extents, Zx3d/Yx3d section lines, bribase piers).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "corvane/engine/results_support.h"
#include "win/transcript.h"

namespace {

using results_test::ReadText;
using results_test::ResultProject;
using results_test::SetLine;
using results_test::WriteText;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The numbers of a text, in order.
std::vector<double> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<double> out;
  double v = 0.0;
  while (in >> v) out.push_back(v);
  return out;
}

// Sections at the given mileages with a cut area each and a land take.
void AddSections(CrossSectionDesigner& d, const std::vector<std::pair<double, double>>& mileageAndCut) {
  d.AllocateSections(static_cast<int>(mileageAndCut.size()));
  for (size_t i = 0; i < mileageAndCut.size(); ++i) {
    SectionRecord& r = d.sections[i];
    r.mileage = mileageAndCut[i].first;
    std::snprintf(r.label, sizeof r.label, "DK0+%03d.000", static_cast<int>(r.mileage));
    std::strcpy(r.prefix, "DK");
    r.chainage = r.mileage;
    r.areas.cut = mileageAndCut[i].second;
    r.areas.fill = 1.0 + i;
    r.leftLandTake = 10.0;  // from the crown, 0.5 right of the line
    r.rightLandTake = 11.0;
    r.crownOffset[0] = 0.5;
    r.groundBlocks.assign(1, GroundBlock());
    SetLine(r, -1, {{0, 0.2}, {0, 0.2}, {-3, 0.1}, {-3, 0.1}, {-3.5, 0}});
  }
}

void SetClasses(CrossSectionDesigner& d, std::initializer_list<double> percents, double endMileage = 100000.0) {
  ExcavationClassEntry* row = d.excavationClass.Replace(1);
  row->endMileage = endMileage;
  int k = 0;
  for (double p : percents) row->percent[k++] = p;
}

class ResultGroupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    m_db = m_project.Folder() + "/data/S1.mdb";
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
  }
  ResultProject m_project;
  std::string m_db;
};

TEST_F(ResultGroupsTest, MainLineGroupWritesCountsRecordsLandFilesAndQuantityRows) {
  CrossSectionDesigner d;
  d.schemeDatabasePath = m_db.c_str();
  AddSections(d, {{100.0, 10.0}, {120.0, 0.0}, {140.0, 4.0}});
  SetClasses(d, {50.0, 30.0, 21.5});  // 101.5 %: one warning for the whole group
  platform::TranscriptCapture capture;
  d.SaveResultFiles();

  EXPECT_EQ(Count(capture.text(), "挖方分类数据有误, 百分比超过100, 请查错!"), 1);
  const size_t a = capture.text().find("正在更新HdmResultData文件.... ");
  const size_t b = capture.text().find("正在更新一线面积文件.... ");
  const size_t c = capture.text().find("正在更新一线占地宽文件.... ");
  const size_t e = capture.text().find("正在更新一线总体用地图文件.... ");
  ASSERT_NE(e, std::string::npos) << capture.text();
  EXPECT_TRUE(a < b && b < c && c < e);
  EXPECT_EQ(Count(capture.text(), "\nOK"), 3);

  // The class areas: 50 %, 30 % and 21.5 % of each cut.
  EXPECT_NEAR(d.sections[0].areas.excavationClass[0], 5.0, 1e-9);
  EXPECT_NEAR(d.sections[0].areas.excavationClass[2], 2.15, 1e-9);
  EXPECT_NEAR(d.sections[2].areas.excavationClass[1], 1.2, 1e-9);

  const std::string results = ReadText(m_project.File("HdmResultData"));
  const std::string areas = ReadText(m_project.File("HdmDetailArea"));
  EXPECT_EQ(results.substr(0, 3), "3\n\n");
  EXPECT_EQ(areas.substr(0, 2), "3\n");
  EXPECT_EQ(Count(results, "\n-1 0 0 "), 3 * 4);  // four sides a section, no ditches
  EXPECT_EQ(ReadText(m_project.File("ZdkData")).substr(0, 2), "3\n");
  EXPECT_EQ(ReadText(m_project.File("PMZTT")).substr(0, 2), "3\n");

  const auto rows = fixtures::QueryRows(m_db, "select 中桩里程冠号, 中桩里程数, 挖方面积, I类挖方面积, III类挖方面积, 填面积, 左用地宽, 右用地宽 from 横断面数量表 order by 序号");
  ASSERT_EQ(rows.size(), 3u);
  // The land widths from the line to the boundary: 10 - 0.5 and 11 + 0.5.
  EXPECT_EQ(rows[0], (std::vector<std::string>{"DK", "100", "10", "5", "2.15", "1", "9.5", "11.5"}));
  EXPECT_EQ(rows[2][1], "140");

  // Read back into a fresh designer.
  CrossSectionDesigner back;
  back.lineKind = "单线";
  ASSERT_EQ(back.ReadSectionResults(), 1);
  ASSERT_EQ(back.ReadSectionAreas(), 1);
  ASSERT_EQ(back.SectionCount(), 3);
  EXPECT_DOUBLE_EQ(back.sections[2].mileage, 140.0);
  EXPECT_DOUBLE_EQ(back.sections[2].areas.cut, 4.0);
  EXPECT_DOUBLE_EQ(back.sections[1].areas.fill, 2.0);
  EXPECT_EQ(back.sections[0].designLines[0].length(), 5);
  EXPECT_DOUBLE_EQ(back.sections[1].leftLandTake, 10.0);
}

TEST_F(ResultGroupsTest, SharesOfExactlyOneHundredAndOnePercentRaiseNoWarning) {
  CrossSectionDesigner d;
  d.schemeDatabasePath = m_db.c_str();
  AddSections(d, {{100.0, 10.0}});
  SetClasses(d, {60.0, 41.0});
  platform::TranscriptCapture capture;
  d.SaveResultFiles();
  EXPECT_FALSE(capture.contains("挖方分类数据有误"));
  EXPECT_NEAR(d.sections[0].areas.excavationClass[1], 4.1, 1e-9);
}

TEST_F(ResultGroupsTest, GroupThatCannotOpenItsFilesWritesNothing) {
  CrossSectionDesigner d;
  AddSections(d, {{100.0, 1.0}});
  const CString folder = g_ProjectFolder;
  g_ProjectFolder = (m_project.Folder() + "/nowhere").c_str();
  platform::TranscriptCapture capture;
  d.SaveResultFiles();
  d.SaveDetourResultFiles();
  g_ProjectFolder = folder;
  EXPECT_EQ(Count(capture.text(), "无法打开CRSFORM文件!"), 2);
  EXPECT_FALSE(capture.contains("正在更新一线占地宽文件"));
  EXPECT_FALSE(capture.contains("正在更新绕行段占地宽文件"));
}

TEST_F(ResultGroupsTest, DetourGroupWithoutDetoursWritesTheTwoCountsOnly) {
  g_BaselineDesigner.SaveDetourResultFiles();
  for (const char* name : {"HdmRXDResultData", "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT"})
    EXPECT_EQ(ReadText(m_project.File(name)), "0 0\n") << name;
}

TEST_F(ResultGroupsTest, DetourGroupWritesHeadLinesAndClassesOnlyTheDetoursOwnStretch) {
  ASSERT_EQ(SetDetourDesignerCount(-1, 1), 1);
  CrossSectionDesigner& left = g_LeftDetourDesigners[0];
  // The separated stretch on the detour's own line runs from sml2 = 611 to
  // eml2 = 1604 (the third values of the third and fourth head triples).
  // Sections at its start less 0.01 (kept), inside, at its end (classed
  // again), and beyond it at the detour's end E1 (kept).
  AddSections(left, {{611.0 - 0.01, 10.0}, {1000.0, 10.0}, {1604.0, 10.0}, {1703.37, 10.0}});
  left.sections[0].areas.excavationClass[0] = 7.0;
  left.sections[3].areas.excavationClass[0] = 8.0;
  SetClasses(left, {100.0});
  left.segment = DetourMileages{500.0, 520.0, 610.0, 1700.0, 1690.0, 1600.0};
  left.segmentOnDetour = DetourMileages{500.0, 520.5, 611.0, 1703.37, 1693.0, 1604.0};
  left.detourIndex = 0;
  left.detourSide = -1;
  platform::TranscriptCapture capture;
  g_BaselineDesigner.SaveDetourResultFiles();
  EXPECT_TRUE(capture.contains("\nOK!"));

  const std::string results = ReadText(m_project.File("HdmRXDResultData"));
  EXPECT_EQ(results.substr(0, results.find("4\n\n")),
            "1 0\n"
            "500.000 520.000 610.000 1600.000 1690.000 1700.000 "
            "500.000 520.500 611.000 1604.000 1693.000 1703.370 0 -1\n");
  EXPECT_EQ(ReadText(m_project.File("HdmRXDDetailArea")).substr(0, 6), "1 0\n4\n");
  EXPECT_EQ(ReadText(m_project.File("RXDZdkData")).substr(0, 6), "1 0\n4\n");
  EXPECT_DOUBLE_EQ(left.sections[0].areas.excavationClass[0], 7.0);
  EXPECT_DOUBLE_EQ(left.sections[1].areas.excavationClass[0], 10.0);
  EXPECT_DOUBLE_EQ(left.sections[2].areas.excavationClass[0], 10.0);
  EXPECT_DOUBLE_EQ(left.sections[3].areas.excavationClass[0], 8.0);

  // A double line reads the detours back with their stretches.
  detour_test::ResetDetourDesigners();
  CrossSectionDesigner back;
  back.lineKind = "双线";
  AddSections(g_BaselineDesigner, {});
  ASSERT_EQ(back.ReadSectionResults(), 0);  // the main-line files were not written
  g_BaselineDesigner.schemeDatabasePath = m_db.c_str();
  g_BaselineDesigner.SaveResultFiles();
  ASSERT_EQ(back.ReadSectionResults(), 1);
  ASSERT_EQ(back.ReadSectionAreas(), 1);
  ASSERT_EQ(g_LeftDetourCount, 1);
  EXPECT_EQ(g_RightDetourCount, 0);
  EXPECT_DOUBLE_EQ(left.segment.eml2, 1600.0);
  EXPECT_DOUBLE_EQ(left.segmentOnDetour.E1, 1703.37);
  EXPECT_EQ(left.detourSide, -1);
  ASSERT_EQ(left.SectionCount(), 4);
  EXPECT_DOUBLE_EQ(left.sections[1].mileage, 1000.0);
  EXPECT_DOUBLE_EQ(left.sections[1].areas.cut, 10.0);
}

TEST_F(ResultGroupsTest, SingleLineReadBackIgnoresADetourFileOfAnEarlierDesign) {
  WriteText(m_project.File("HdmResultData"), "0\n");
  WriteText(m_project.File("HdmRXDResultData"), "1 0\n1 2 3 4 5 6 7 8 9 10 11 12 0 -1\n0\n");
  CrossSectionDesigner back;
  back.lineKind = "单线";
  ASSERT_EQ(back.ReadSectionResults(), 1);
  EXPECT_EQ(g_LeftDetourCount, 0);
}

TEST_F(ResultGroupsTest, DamagedCountsAreReportedWithTheFileName) {
  struct Case {
    const char* file;
    const char* text;
    const char* lineKind;
  };
  const Case cases[] = {
      {"HdmResultData", "-3\n", "单线"},
      {"HdmResultData", "2\n\n1.000 1 1", "单线"},
      {"HdmRXDResultData", "101 0\n", "双线"},
      {"HdmResultData", "99999999999\n", "单线"},
      {"HdmResultData", "1\n\nnan 1 1", "单线"},
      {"HdmResultData", "1\n\n-inf 1 1", "单线"},
      {"HdmRXDResultData", "1 1e999\n", "双线"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteText(m_project.File("HdmResultData"), "0\n");
    WriteText(m_project.File(c.file), c.text);
    CrossSectionDesigner back;
    back.lineKind = c.lineKind;
    platform::TranscriptCapture capture;
    EXPECT_EQ(back.ReadSectionResults(), 0);
    EXPECT_TRUE(capture.contains(std::string(c.file) + "文件已损坏")) << capture.text();
  }
  std::remove(m_project.File("HdmDetailArea").c_str());
  CrossSectionDesigner back;
  platform::TranscriptCapture capture;
  EXPECT_EQ(back.ReadSectionAreas(), 0);
  EXPECT_TRUE(capture.contains("无法打开HdmDetailArea文件!"));
}

// ---- 3D line data ----------------------------------------------------------------------------

TEST(PointRecordTest, ExtentsWidenOnlyByCoordinatesAboveOneMillimetre) {
  const std::string dir = fixtures::MakeTempFolder("bjpt");
  CrossSectionDesigner d;  // no baseline: the boundary records stay as set here
  d.planBoundary = {{100.0, {0.0005, 2000.0, 50.0}, {-0.002, 0.0, 51.0}, -3, 0},
                    {120.0, {300.0, 0.0009, 52.0}, {310.0, 2500.0, 53.0}, 0, 1}};
  d.planMinX = d.planMinY = 999999999.0;
  d.planMaxX = d.planMaxY = -999999999.0;
  const std::string path = dir + "/BJPT.S1";
  FILE* fp = platform::openFile(path.c_str(), "w");
  ASSERT_NE(fp, nullptr);
  EXPECT_EQ(d.WritePointRecord(fp), 5100);
  std::fclose(fp);
  EXPECT_EQ(ReadText(path),
            "2\n"
            "100.000000 -3 0 0.000500 2000.000000 50.000000 -0.002000 0.000000 51.000000 \n"
            "120.000000 0 1 300.000000 0.000900 52.000000 310.000000 2500.000000 53.000000 \n");
  EXPECT_DOUBLE_EQ(d.planMinX, -0.002);
  EXPECT_DOUBLE_EQ(d.planMaxX, 310.0);
  EXPECT_DOUBLE_EQ(d.planMinY, 2000.0);
  EXPECT_DOUBLE_EQ(d.planMaxY, 2500.0);
  fixtures::RemoveFolder(dir);
}

TEST(SectionLine3DTest, RoadbedAndVaultPointsLieAlongTheNormalsOfTheBearing) {
  const std::string dir = fixtures::MakeTempFolder("zx3d");
  CrossSectionDesigner d;
  d.halfDistance1 = 3.0;
  d.halfDistance2 = 6.0;
  d.AllocateSections(1);
  SectionRecord& r = d.sections[0];
  r.mileage = 250.0;
  r.formCode[0] = 0.0;
  r.formCode[1] = 1.0;
  r.shoulderDesignElevation = 50.0;
  r.crownOffset[0] = -2.5;
  const std::string path = dir + "/3d.txt";
  FILE* fp = platform::openFile(path.c_str(), "w");
  ASSERT_NE(fp, nullptr);
  // Bearing 0: the left normal points to −y, the right one to +y.
  d.Write3DSectionLine(fp, PlanPoint{100.0, 200.0, 0.0}, 0.0, 0, false);
  d.Write3DSectionLine(fp, PlanPoint{100.0, 200.0, 0.0}, 0.0, 0, true);
  std::fclose(fp);
  const std::string text = ReadText(path);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), "250.000 0.000 1.000 100.000 200.000 50.000 0.000000 0 -2.500 0.000 8 8\n");
  const std::vector<double> v = Numbers(text);
  // Roadbed: 12 head values, 16 points; then the vault: 12 head values, 20 points.
  ASSERT_EQ(v.size(), 12u + 16 * 3 + 12 + 20 * 3);
  const double roadbed[8][2] = {{0, 50.35}, {1.8, 50.35}, {2.15, 50.0}, {3.0, 50.0},
                                {3.0, 49.8}, {2.0, 49.5}, {2.0, 47.5}, {0, 47.5}};
  for (int side = 0; side < 2; ++side) {
    for (int j = 0; j < 8; ++j) {
      const size_t at = 12 + (side * 8 + j) * 3;
      SCOPED_TRACE(at);
      EXPECT_NEAR(v[at], 100.0, 1e-6);
      EXPECT_NEAR(v[at + 1], 200.0 + (side == 0 ? -1 : 1) * roadbed[j][0], 1e-6);
      EXPECT_NEAR(v[at + 2], roadbed[j][1], 1e-6);
    }
  }
  const size_t vault = 12 + 48;
  EXPECT_EQ(v[vault + 10], 10.0);
  // cos and sin of 0°, 18°, 36°, 54°, 72°, 90° times 6, the circle's centre
  // 4.25 above the shoulder.
  const double arc[6][2] = {{6.0, 54.25},           {5.7063391, 56.1041020}, {4.8541020, 57.7767115},
                            {3.5267115, 59.1041020}, {1.8541020, 59.9563391}, {0.0, 60.25}};
  const double start[4][2] = {{0, 50.35}, {1.8, 50.35}, {2.15, 50.0}, {6.0, 50.0}};
  for (int side = 0; side < 2; ++side) {
    for (int j = 0; j < 10; ++j) {
      const size_t at = vault + 12 + (side * 10 + j) * 3;
      const double* p = j < 4 ? start[j] : arc[j - 4];
      SCOPED_TRACE(at);
      EXPECT_NEAR(v[at + 1], 200.0 + (side == 0 ? -1 : 1) * p[0], 1e-5);
      EXPECT_NEAR(v[at + 2], p[1], 1e-5);
    }
  }
  fixtures::RemoveFolder(dir);
}

TEST(BridgeBaseTest, PiersFromTheSpanTableWithinTheSectionsOfTheLine) {
  const std::string dir = fixtures::MakeTempFolder("bribase");
  CrossSectionDesigner d;
  d.lineKind = "双线";  // no detours: two tracks on every pier
  d.SetBaselineModel(new AlignmentModel());
  const IpRecord ips[2] = {{0, 0, 0, 0, 0, 0}, {1, 1000, 0, 0, 0, 0}};
  ASSERT_EQ(d.baseline->CreateFromRecords(2, ips, "DK", "JD"), 1);
  const GradePoint points[2] = {{0.0, 50.0, 0.0, 0.0}, {1000.0, 50.0, 0.0, 0.0}};
  d.SetGradePoints(2, points, "坡度表");
  d.BuildGradeTable();
  AddSections(d, {{100.0, 0.0}, {200.0, 0.0}});
  ASSERT_EQ(d.AddBridgeSpan(2, 24.0), 1);
  ASSERT_EQ(d.AddBridgeSpan(3, 32.0), 1);
  const std::string path = dir + "/bribase.txt";
  FILE* fp = platform::openFile(path.c_str(), "w");
  ASSERT_NE(fp, nullptr);
  int lines = 0;
  d.WriteBridgeBaseLines(100.0, fp, lines, 0);
  std::fclose(fp);
  // The last entry first: 132, 164, 196; then the first entry less one span:
  // 220, beyond the last section + 0.1.
  EXPECT_EQ(lines, 3);
  const std::vector<double> v = Numbers(ReadText(path));
  ASSERT_EQ(v.size(), 18u);
  const double piers[3] = {132.0, 164.0, 196.0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(v[i * 6], piers[i], 1e-6);
    EXPECT_NEAR(v[i * 6 + 1], piers[i], 1e-6);  // north along the straight line
    EXPECT_NEAR(v[i * 6 + 2], 0.0, 1e-6);
    EXPECT_NEAR(v[i * 6 + 3], 48.0, 1e-6);      // 2 m below the grade line
    EXPECT_NEAR(v[i * 6 + 4], 0.0, 1e-6);
    EXPECT_EQ(v[i * 6 + 5], 2.0);
  }
  fixtures::RemoveFolder(dir);
}

}  // namespace
