// CALHDMDMX: the ground lines of a chainage range of the baseline, from the
// terrain model into 横断面地面线表 and into a ground-line file, on the
// single-track fixture scheme (see interp_baseline_test.cpp) in project P,
// scheme S1, with a terrain model z = 200 + 0.1 y (left of the line −y).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corvane/engine/dmx_support.h"
#include "corvane/data/interp_support.h"

namespace {

using interp_test::ReadGroundTable;
using interp_test::StoredRow;

class DmxCommand : public interp_test::SchemeWithTerrain {
 protected:
  void SetUp() override {
    SchemeWithTerrain::SetUp();
    BuildSingle();
  }
  void WriteTerrain() { interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 200.0, 0.0, 0.1); }

  // The file holds exactly `chainages`, in order, each with the rows stored
  // for it; the rows of the other stations are the fixture's.
  void ExpectFileAndTable(const std::string& path, const std::vector<double>& chainages) {
    const dmx_test::File file = dmx_test::ReadFile(path);
    ASSERT_TRUE(file.read) << path;
    EXPECT_EQ(file.lineName, "基线");
    ASSERT_EQ(file.stations.size(), chainages.size());
    const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
    ASSERT_EQ(rows.size(), 20u);
    for (size_t i = 0; i < chainages.size(); ++i) {
      SCOPED_TRACE(chainages[i]);
      const dmx_test::Station& s = file.stations[i];
      EXPECT_EQ(s.prefix, "DK");
      EXPECT_NEAR(s.chainage, chainages[i], 1e-6);
      EXPECT_NEAR(s.elevation, fixtures::FixtureGroundElevation(chainages[i]), 5e-4);
      ASSERT_EQ(s.layers.size(), 1u);
      EXPECT_EQ(s.layers[0].rockType, 2);
      for (int side : {-1, 1}) {
        const StoredRow* row = interp_test::FindRow(rows, chainages[i], side < 0 ? "左" : "右");
        ASSERT_NE(row, nullptr);
        const auto& pairs = side < 0 ? s.layers[0].left : s.layers[0].right;
        ASSERT_EQ(pairs.size(), row->points.size());
        for (size_t k = 0; k < pairs.size(); ++k) {
          EXPECT_NEAR(pairs[k].first, row->points[k].first, 5e-4);
          EXPECT_NEAR(pairs[k].second, row->points[k].second, 5e-4);
          // On the terrain: 200 + 0.1 y at y = side × offset.
          if (k > 0) {
            EXPECT_NEAR(s.elevation + pairs[k].second, 200.0 + 0.1 * side * pairs[k].first, 1e-3);
          }
        }
        EXPECT_NEAR(pairs.back().first, 60.0, 5e-4);
      }
    }
    for (const StoredRow& row : rows) {
      if (std::find(chainages.begin(), chainages.end(), row.chainage) != chainages.end()) continue;
      EXPECT_TRUE(interp_test::SamePoints(row.points, fixtures::FixtureGroundPoints(row.chainage, row.side == "左" ? -1 : 1)))
          << row.chainage;
    }
  }
};

// A range into the default file <project>\data\<scheme>.dmx.
TEST_F(DmxCommand, RangeGoesToTheTableAndTheDefaultFile) {
  WriteTerrain();
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.CmdInterpolateGroundLines("DK0+200", "DK0+400", ""), 1);
  EXPECT_TRUE(transcript.contains("4个横断面的地面线已写入"));
  ExpectFileAndTable(m_dir + "/data/S1.dmx", {200, 225, 250, 400});
}

// A range that is no range of the line is refused before anything is
// written: the file of the last run and the table stay as they were.
TEST_F(DmxCommand, ARangeWithoutStationsLeavesTheFileAsItWas) {
  WriteTerrain();
  const std::string path = m_dir + "/data/S1.dmx";
  fixtures::writeTextFile(path, "the last run's file");
  auto contents = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = contents();
  struct Case {
    const char* start;
    const char* end;
    const char* message;
  };
  const Case cases[] = {
      {"abc", "def", "起始里程\"abc\"不是里程!"},
      {"DK0+100", "DK1e400", "终止里程\"DK1e400\"不是里程!"},
      {"DK0+400", "DK0+200", "起始里程DK0+400在终止里程DK0+200之后!"},
      {"DK5+000", "DK6+000", "里程范围DK5+000～DK6+000不在线路上!"},
      {"DK0+260", "DK0+390", "里程范围DK0+260～DK0+390内没有横断面, 地面线文件未写!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + ".." + c.end);
    CrossSectionDesigner d;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.CmdInterpolateGroundLines(c.start, c.end, ""), 0);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_EQ(contents(), before);
    const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
    ASSERT_EQ(rows.size(), 20u);
    for (const StoredRow& row : rows)
      EXPECT_TRUE(interp_test::SamePoints(row.points,
                                          fixtures::FixtureGroundPoints(row.chainage, row.side == "左" ? -1 : 1)));
  }
}

// Without chainages the whole line goes, here to a file named in the
// Windows form; the stations after the short chain keep their chainages.
TEST_F(DmxCommand, WholeLineToAChosenFile) {
  WriteTerrain();
  CrossSectionDesigner d;
  ASSERT_EQ(d.CmdInterpolateGroundLines("", "", m_projects.windowsPath("P\\data\\全线.dmx").c_str()), 1);
  ExpectFileAndTable(m_dir + "/data/全线.dmx", {100, 200, 225, 250, 400, 700, 800, 850, 900, 1100});
}

// Without a terrain model the command stops with its message: no file, and
// the table keeps its rows.
TEST_F(DmxCommand, NoTerrainModelStopsTheCommand) {
  CrossSectionDesigner d;
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.CmdInterpolateGroundLines("", "", ""), 0);
  EXPECT_TRUE(transcript.contains("没有数字地面模型，不能内插横断面地面线！"));
  EXPECT_FALSE(std::filesystem::exists(m_dir + "/data/S1.dmx"));
  const std::vector<StoredRow> rows = ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(rows.size(), 20u);
  for (const StoredRow& row : rows)
    EXPECT_TRUE(interp_test::SamePoints(row.points, fixtures::FixtureGroundPoints(row.chainage, row.side == "左" ? -1 : 1)));
}

}  // namespace
