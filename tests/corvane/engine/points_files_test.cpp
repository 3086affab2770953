// The point files BJPT and RXDBJPT, the extents file 3DFW and the hole
// outlines file Hole. The designer's line is the single-track fixture's
// baseline (straight, due north from N 0, E 0), so a section at mileage ML
// with its design lines ending 8 m out has its edge points at (ML, -8) and
// (ML, 8).

#include <filesystem>

#include "corvane/engine/earthwork_support.h"
#include "corvane/data/import_support.h"

namespace {

using earthwork_test::Lines;
using earthwork_test::ReadText;
using earthwork_test::Words;

class PointFilesTest : public import_test::SchemeImportTest {
 protected:
  void SetUp() override {
    SchemeImportTest::SetUp();
    std::string error;
    ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
    ASSERT_EQ(ReadProjectAndScheme(), 1);
    d.lineKind = "单线";
    ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), 0, 0), 1);
  }
  void TearDown() override {
    g_ProjectFolder.Empty();
    g_SchemeName.Empty();
    SchemeImportTest::TearDown();
  }

  std::string DataFile(const std::string& name) const { return m_projects.linuxPath("P/data/" + name + ".S1"); }

  // A section at ML whose left and right design lines end `outer` m from the
  // centre, 2 m below it; `right` false leaves the right side without a line.
  static SectionRecord Designed(double ML, int code = 0, double outer = 8.0, bool right = true) {
    SectionRecord s;
    s.mileage = ML;
    s.leftCode = code;
    const double xs[] = {0.0, 3.0, 3.0, 3.0, outer};
    const double ys[] = {0.0, 0.0, 0.0, 0.0, -2.0};
    for (int i = 0; i < 5; ++i) {
      s.designLines[0].append(AcGePoint3d(-xs[i], ys[i], 0.0));
      if (right) s.designLines[1].append(AcGePoint3d(xs[i], ys[i], 0.0));
    }
    s.referenceElevation[0] = 100.0;
    return s;
  }

  CrossSectionDesigner d;
};

TEST_F(PointFilesTest, PointFileExtentsAndHoleOfOneStretch) {
  d.sections = {Designed(100), Designed(200), Designed(300, 0, 6.0, false)};
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.SavePointFiles(), 1);

  // BJPT: three point lines, mileage, codes, left then right edge point.
  const std::vector<std::string> bjpt = Lines(ReadText(DataFile("BJPT")));
  ASSERT_EQ(bjpt.size(), 4u);
  EXPECT_EQ(bjpt[0], "3");
  EXPECT_EQ(bjpt[1], "100.000000 0 0 100.000000 -8.000000 98.000000 100.000000 8.000000 98.000000 ");
  EXPECT_EQ(bjpt[3], "300.000000 0 0 300.000000 -6.000000 98.000000 0.000000 0.000000 0.000000 ");

  // 3DFW: least x and y, greatest x and y, first and last mileage; the unset
  // right point of 300 widens nothing.
  EXPECT_EQ(ReadText(DataFile("3DFW")), "100.000 -8.000 300.000 8.000 100.000 300.000\n");

  // Hole: one stretch of 200 m; along the left edge (3 points), back along
  // the right one (2 points: 300 has none).
  const std::vector<std::string> hole = Lines(ReadText(DataFile("Hole")));
  const std::vector<std::string> expected = {"1",
                                             "5",
                                             "100.000000 -8.000000 98.000000",
                                             "200.000000 -8.000000 98.000000",
                                             "300.000000 -6.000000 98.000000",
                                             "200.000000 8.000000 98.000000",
                                             "100.000000 8.000000 98.000000"};
  EXPECT_EQ(hole, expected);
  // A single-line design writes no RXDBJPT.
  EXPECT_FALSE(std::filesystem::exists(DataFile("RXDBJPT")));
  EXPECT_FALSE(transcript.contains("无法打开"));
}

TEST_F(PointFilesTest, StaleDetourPointFileOfAnEarlierDesignAddsNoHoles) {
  // RXDBJPT left by a double-line design: one left detour with a stretch.
  fixtures::writeTextFile(DataFile("RXDBJPT"),
                          "1 0\n2\n10 0 0 10 -5 1 10 5 1 \n90 0 0 90 -5 1 90 5 1 \n");
  d.sections = {Designed(100), Designed(200)};
  ASSERT_EQ(d.SavePointFiles(), 1);
  EXPECT_EQ(Lines(ReadText(DataFile("Hole")))[0], "1");
  // Read on purpose, the same file gives its hole after BJPT's.
  ASSERT_EQ(d.LoadPointFile(), 1);
  ASSERT_EQ(d.LoadDetourPointFile(), 1);
  ASSERT_EQ(d.holes.size(), 2u);
  EXPECT_DOUBLE_EQ(d.holes[1].firstEdge[1].x, 90.0);
}

TEST_F(PointFilesTest, DesignerWithoutSectionsWritesNoExtents) {
  // An earlier design's plan boundary stays in the designer's list.
  d.sections = {Designed(100), Designed(200)};
  d.BuildPointRecord();
  ASSERT_FALSE(d.planBoundary.empty());
  d.sections.clear();
  fixtures::writeTextFile(DataFile("Hole"), "earlier");
  ASSERT_EQ(d.SavePointFiles(), 1);
  EXPECT_EQ(ReadText(DataFile("BJPT")), "0\n");
  EXPECT_EQ(ReadText(DataFile("3DFW")), "");
  EXPECT_EQ(ReadText(DataFile("Hole")), "earlier");  // no holes: an earlier Hole stays
}

TEST_F(PointFilesTest, ExtentsThatNoPointWidensStayAtTheirResetValues) {
  // Sections without design lines: their point lines hold unset points only.
  SectionRecord a, b;
  a.mileage = 100.0;
  b.mileage = 250.5;
  d.sections = {a, b};
  ASSERT_EQ(d.SavePointFiles(), 1);
  EXPECT_EQ(Lines(ReadText(DataFile("BJPT")))[0], "2");
  EXPECT_EQ(ReadText(DataFile("3DFW")),
            "999999999.000 999999999.000 -999999999.000 -999999999.000 100.000 250.500\n");
}

TEST_F(PointFilesTest, ExtentsLineFollowsTheDialogFlags) {
  d.sections = {Designed(100), Designed(200)};
  struct Case {
    int flag6, flag9, flag10;
    bool written;
  } cases[] = {{1, 0, 0, true}, {0, 1, 1, true}, {1, 1, 0, false}, {1, 0, 1, false}};
  for (const Case& c : cases) {
    d.flags[5] = c.flag6;
    d.flags[8] = c.flag9;
    d.flags[9] = c.flag10;
    ASSERT_EQ(d.SavePointFiles(), 1);
    EXPECT_EQ(ReadText(DataFile("3DFW")).empty(), !c.written) << c.flag6 << c.flag9 << c.flag10;
  }
}

// A file that cannot be opened ends the point files with an alert; those
// written before it stay.
struct BlockedCase {
  const char* file;
  const char* message;
  const char* lineKind;
  const char* writtenBefore;
};

class BlockedPointFile : public PointFilesTest, public ::testing::WithParamInterface<BlockedCase> {};

TEST_P(BlockedPointFile, EndsTheFilesWithAnAlert) {
  const BlockedCase& c = GetParam();
  std::filesystem::create_directories(DataFile(c.file));  // a folder in the file's place
  d.lineKind = c.lineKind;
  d.sections = {Designed(100), Designed(200)};
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.SavePointFiles(), 0);
  EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
  if (c.writtenBefore[0] != '\0') {
    EXPECT_NE(ReadText(DataFile(c.writtenBefore)), "<missing>");
  }
}

INSTANTIATE_TEST_SUITE_P(PointFiles, BlockedPointFile,
                         ::testing::Values(BlockedCase{"BJPT", "无法打开BJPT文件!", "单线", ""},
                                           BlockedCase{"RXDBJPT", "无法打开RXDBJPT文件!", "双线", "BJPT"},
                                           BlockedCase{"3DFW", "无法打开3DFW文件!", "单线", "BJPT"},
                                           BlockedCase{"Hole", "无法打开HOLE文件!", "单线", "3DFW"}),
                         [](const auto& info) { return std::string(info.param.file); });

// ---- Reading point records into hole outlines ------------------------------

// Point lines "ML code"; the edge points lie at (ML, -5) and (ML, 5) unless
// `unset` names the mileage whose left point is unset.
std::string Record(const std::vector<std::pair<double, int>>& points, double unset = -1.0) {
  std::string text = std::to_string(points.size()) + "\n";
  for (const auto& [ml, code] : points) {
    char line[160];
    const double leftX = ml == unset ? 0.005 : ml;
    std::snprintf(line, sizeof line, "%f %d 0 %f -5 1 %f 5 1 \n", ml, code, leftX, ml);
    text += line;
  }
  return text;
}

struct HoleCase {
  const char* name;
  std::vector<std::pair<double, int>> points;
  double unset;
  // Per hole: the mileages of its first and of its second edge.
  std::vector<std::pair<std::vector<double>, std::vector<double>>> holes;
};

class HolesFromPoints : public PointFilesTest, public ::testing::WithParamInterface<HoleCase> {};

TEST_P(HolesFromPoints, SplitsTheEdgesIntoStretches) {
  const HoleCase& c = GetParam();
  fixtures::writeTextFile(DataFile("BJPT"), Record(c.points, c.unset));
  d.holes.resize(3);  // outlines of an earlier read go
  ASSERT_EQ(d.LoadPointFile(), 1);
  ASSERT_EQ(d.holes.size(), c.holes.size());
  for (size_t h = 0; h < c.holes.size(); ++h) {
    std::vector<double> first, second;
    for (const PlanPoint& p : d.holes[h].firstEdge) first.push_back(p.x);
    for (const PlanPoint& p : d.holes[h].secondEdge) second.push_back(p.x);
    EXPECT_EQ(first, c.holes[h].first) << "hole " << h;
    EXPECT_EQ(second, c.holes[h].second) << "hole " << h;
  }
}

INSTANTIATE_TEST_SUITE_P(
    PointRecords, HolesFromPoints,
    ::testing::Values(
        HoleCase{"OpenLine", {{10, 0}, {20, 0}, {30, 0}}, -1, {{{10, 20, 30}, {10, 20, 30}}}},
        // The first bridge point after open line is its start (closing the
        // stretch), the last before open line its end (opening the next).
        HoleCase{"Bridge",
                 {{10, 0}, {20, 0}, {30, 1}, {40, 1}, {50, 1}, {60, 0}, {70, 0}},
                 -1,
                 {{{10, 20, 30}, {10, 20, 30}}, {{50, 60, 70}, {50, 60, 70}}}},
        HoleCase{"TunnelCodesAsWritten",
                 {{10, 0}, {20, -4}, {30, 2}, {40, 4}, {50, 0}},
                 -1,
                 {{{10, 20}, {10, 20}}, {{40, 50}, {40, 50}}}},
        HoleCase{"StationsJoinTheStretch", {{10, 0}, {20, -5}, {30, 6}, {40, 5}}, -1, {{{10, 20, 30, 40},
                                                                                   {10, 20, 30, 40}}}},
        HoleCase{"StretchOfOneMetreIsNoHole", {{10, 0}, {11, 1}, {12, 1}, {20, 0}, {30, 0}}, -1,
                 {{{12, 20, 30}, {12, 20, 30}}}},
        HoleCase{"UnsetPointLeftOut", {{10, 0}, {20, 0}, {30, 0}}, 20, {{{10, 30}, {10, 20, 30}}}},
        HoleCase{"NoPoints", {}, -1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PointFilesTest, CountsReadBackAreBoundedByWhatFollowsAndByTheArrays) {
  // A count beyond the lines present: the lines present are read.
  fixtures::writeTextFile(DataFile("BJPT"), "999999999\n10 0 0 10 -5 1 10 5 1 \n30 0 0 30 -5 1 30 5 1 \n");
  ASSERT_EQ(d.LoadPointFile(), 1);
  EXPECT_EQ(d.holes.size(), 1u);
  fixtures::writeTextFile(DataFile("BJPT"), "-7\n10 0 0 10 -5 1 10 5 1 \n");
  ASSERT_EQ(d.LoadPointFile(), 1);
  EXPECT_TRUE(d.holes.empty());

  // Detour records: 600 stretches each (at most 500 a record), three
  // records: at most 1000 outlines in all. Detour counts far beyond the
  // arrays read only the records present.
  std::vector<std::pair<double, int>> points;
  for (int k = 0; k < 600; ++k) {
    const double a = 10.0 * k;
    points.insert(points.end(), {{a + 1, 0}, {a + 3, 0}, {a + 5, 1}, {a + 7, 1}});
  }
  const std::string record = Record(points);
  fixtures::writeTextFile(DataFile("RXDBJPT"), "2000000 1\n" + record + record + record);
  d.holes.clear();
  ASSERT_EQ(d.LoadDetourPointFile(), 1);
  EXPECT_EQ(d.holes.size(), static_cast<size_t>(kMaxHoles));
}

TEST_F(PointFilesTest, MissingPointFilesOnReading) {
  platform::TranscriptCapture transcript;
  d.holes.resize(2);
  EXPECT_EQ(d.LoadPointFile(), 0);
  EXPECT_TRUE(transcript.contains("Cannot open "));
  EXPECT_TRUE(transcript.contains("BJPT.S1 file"));
  EXPECT_EQ(d.holes.size(), 2u);  // left as they were
  transcript.clear();
  EXPECT_EQ(d.LoadDetourPointFile(), 0);
  EXPECT_EQ(transcript.text(), "");  // the usual case of a single line: no message
}

}  // namespace
