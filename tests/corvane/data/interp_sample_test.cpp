// CALTWB on the sample project (a double-track line of about 20 km through
// rolling ground with two detour sections, its terrain model a triangulation
// of survey points on a 20 m grid): the fill/cut tables and the ground lines
// of the baseline and of both detour sections come from the terrain model and
// lie on the sample's ground to within the triangulation's error.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "GroundLines.h"
#include "SampleScheme.h"
#include "corvane/data/interp_support.h"
#include "corvane/engine/samplerun_support.h"

namespace {

using interp_test::ReadGroundTable;
using interp_test::StoredRow;

// Linear interpolation over 20 m triangles of the sample's ground: the rolling
// country comes within a few centimetres, the flanks and tops of its hills
// within some decimetres. A point of a section placed on the wrong side or at
// the wrong offset would miss by metres over most of the line (cross slopes
// of 1 to 2 %).
constexpr double kCentreTolerance = 0.5;
constexpr double kPointTolerance = 1.0;
constexpr double kCloseTolerance = 0.2;  // all but 1 % of the points
// The terrain model drops a profile's end when it lies within 0.1 m (in x and
// in y) of the point before it.
constexpr double kEndShortfall = 0.15;

struct Station {
  std::string prefix;
  double chainage;
  double ground;
};

std::vector<Station> ReadStations(const std::string& db, const std::string& table, int detour) {
  std::string sql = "select 加桩里程冠号,加桩里程数,地面高程 from " + table;
  if (detour >= 0) sql += " where 绕行段编号=" + std::to_string(detour);
  sql += " order by ID";
  std::string error;
  std::vector<Station> out;
  for (const auto& r : fixtures::QueryRows(db, sql, &error))
    out.push_back({r[0], std::atof(r[1].c_str()), std::atof(r[2].c_str())});
  EXPECT_EQ(error, "");
  return out;
}

class SampleProjectRun : public ::testing::Test {
 protected:
  void SetUp() override {
    interp_test::ResetDetourDesigners();
    sample::ProjectOptions options;
    options.folder = m_projects.linuxPath("SAMPLE");
    std::string error;
    ASSERT_TRUE(samplerun_test::MakeSampleProject(options, m_projects.windowsPath("SAMPLE"), m_install, &m_previous,
                                                  &error))
        << error;
    m_db = m_projects.linuxPath("SAMPLE/data/方案1.mdb");
    ASSERT_TRUE(m_scheme.Build(options.interval, error)) << error;
  }
  void TearDown() override {
    g_TerrainModel.Close();
    interp_test::ResetDetourDesigners();
    SetModulePathSource(m_previous);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }

  // Checks the stations of one line's fill/cut table and its ground lines
  // against the sample's ground, placing them on `model`.
  void CheckLine(const AlignmentModel& model, const std::string& fillCutTable, const std::string& groundTable,
                 int detour) {
    SCOPED_TRACE(fillCutTable);
    const std::vector<Station> stations = ReadStations(m_db, fillCutTable, detour);
    ASSERT_GT(stations.size(), 20u);
    const std::vector<StoredRow> lines = ReadGroundTable(m_db, groundTable, detour);
    ASSERT_EQ(lines.size(), 2 * stations.size());
    const sample::Ground& ground = m_scheme.GroundModel();
    int points = 0, far = 0;
    for (size_t i = 0; i < stations.size(); ++i) {
      const Station& s = stations[i];
      char text[kChainageTextSize] = {};
      ChainageText3Decimals(s.prefix.c_str(), s.chainage, text, sizeof text);
      SCOPED_TRACE(text);
      LinePoint p{};
      p.mileage = model.ChainageToMileage(text, model.breakCount);
      ASSERT_GT(BAS_DRAW_FUN::PointAtMileage(model.elements, model.elementCount, p), 0);
      EXPECT_NEAR(s.ground, ground.Elevation(p.x, p.y), kCentreTolerance);
      for (int side : {-1, 1}) {
        const StoredRow& row = lines[2 * i + (side < 0 ? 0 : 1)];
        EXPECT_EQ(row.side, side < 0 ? "左" : "右");
        EXPECT_NEAR(row.chainage, s.chainage, 1e-6);
        ASSERT_GE(row.count, 2);
        EXPECT_LE(row.count, 100);
        EXPECT_LE(row.points.back().first, 60.0 + 1e-9);
        EXPECT_GE(row.points.back().first, 60.0 - kEndShortfall);
        const double angle = p.bearing + side * 1.5707963267948966;
        for (size_t k = 1; k < row.points.size(); ++k) {
          const double d = row.points[k].first;
          const double miss = std::fabs(row.ground + row.points[k].second -
                                        ground.Elevation(p.x + d * std::cos(angle), p.y + d * std::sin(angle)));
          EXPECT_LE(miss, kPointTolerance) << side << " " << d;
          ++points;
          if (miss > kCloseTolerance) ++far;
        }
      }
    }
    EXPECT_LE(far * 100, points) << far << " of " << points << " points miss the ground by more than " << kCloseTolerance;
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
  std::string m_db;
  sample::SampleScheme m_scheme;
};

TEST_F(SampleProjectRun, FillCutTablesAndGroundLinesFromTheTerrainModel) {
  FillCutCommandOptions options;
  options.stationSource = kStationsGenerated;
  options.interval = 50.0;
  options.interpolateGroundLines = 1;
  {
    CrossSectionDesigner command;
    platform::TranscriptCapture transcript;
    ASSERT_EQ(command.CmdFillCutTables(options), 1);
    EXPECT_TRUE(transcript.contains("填挖表计算完毕"));
    EXPECT_TRUE(transcript.contains("基线横断面地面线数据已保存在数据库中!"));
  }
  // The lines as the scheme holds them, for placing the stations.
  CrossSectionDesigner lines;
  lines.lineKind = "双线";
  ASSERT_EQ(lines.ReadSchemeAlignment(m_db.c_str(), 0, 0), 1);
  ASSERT_EQ(g_LeftDetourCount, 1);
  ASSERT_EQ(g_RightDetourCount, 1);
  CheckLine(*lines.baseline, "填挖表", "横断面地面线表", -1);
  CheckLine(*DetourDesigner(-1, 0)->baseline, "左线绕行段填挖表", "左线绕行段横断面地面线表", 0);
  CheckLine(*DetourDesigner(1, 0)->baseline, "右线绕行段填挖表", "右线绕行段横断面地面线表", 0);
}

}  // namespace
