// The sample project designed end to end. Its scheme carries the station
// lists of the baseline and of the detours; their ground lines, which the
// ground-line commands take from the terrain model, are taken here from the
// same terrain model along each section's normal, every 5 m out to 60 m.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "TerrainModel.h"
#include "crt/paths.h"
#include "corvane/engine/drivers_support.h"
#include "fixtures/project_fixture.h"
#include "fixtures/section_schemes.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "corvane/engine/results_support.h"
#include "corvane/engine/samplerun_support.h"
#include "win/transcript.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;

// The ground-line rows of the stations of a fill/cut table: the terrain along
// the normal of `model` at each station, relative to the centre.
std::vector<fixtures::CrossSectionRow> GroundRowsFromTerrain(const std::string& db, const std::string& fillCut,
                                                             int detour, const AlignmentModel& model,
                                                             const TerrainModel& terrain) {
  std::string sql = "select 加桩里程冠号, 加桩里程数 from " + fillCut;
  if (detour >= 0) sql += " where 绕行段编号=" + std::to_string(detour);
  std::vector<fixtures::CrossSectionRow> rows;
  for (const auto& station : fixtures::QueryRows(db, sql + " order by ID")) {
    const double value = std::atof(station[1].c_str());
    char text[kChainageTextSize];
    ChainageText3Decimals(station[0].c_str(), value, text);
    LinePoint p{};
    p.mileage = BreakTableChainageToMileage(text, model.breakCount, model.breaks);
    if (BAS_DRAW_FUN::PointAtMileage(model.elements, model.elementCount, p) < 0) continue;
    const double centre = terrain.ElevationAt(p.x, p.y);
    for (int side : {-1, 1}) {
      fixtures::CrossSectionRow r;
      r.detour = detour;
      r.prefix = station[0];
      r.chainage = value;
      r.ground = centre;
      r.side = side < 0 ? "左" : "右";
      const double direction = p.bearing + side * kHalfPi;
      for (int k = 0; k <= 12; ++k) {
        const double s = 5.0 * k;
        const double z = terrain.ElevationAt(p.x + s * std::cos(direction), p.y + s * std::sin(direction));
        r.points.emplace_back(s, z - centre);
      }
      rows.push_back(std::move(r));
    }
  }
  return rows;
}

class SampleProjectRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drivers_test::ResetDetourDesigners();
    m_folder = fixtures::MakeTempFolder("sample");
    sample::ProjectOptions options;
    options.folder = m_folder + "/project";
    std::string error;
    ASSERT_TRUE(samplerun_test::MakeSampleProject(options, platform::toWindowsPath(options.folder), m_install,
                                                  &m_previous, &error))
        << error;
    ASSERT_EQ(ReadProjectAndScheme(), 1);
    m_db = options.folder + "/data/" + std::string(g_SchemeName.GetString()) + ".mdb";
    m_data = options.folder + "/data/";
  }
  void TearDown() override {
    drivers_test::ResetDetourDesigners();
    SetModulePathSource(m_previous);
    fixtures::RemoveFolder(m_folder);
  }

  // Ground lines of the baseline and of every detour from the terrain model.
  void AddGroundLines() {
    CrossSectionDesigner lines;
    lines.lineKind = "双线";
    ASSERT_EQ(lines.ReadSchemeAlignment(platform::toWindowsPath(m_db).c_str(), 0, 0), 1);
    TerrainModel terrain;
    ASSERT_TRUE(terrain.LoadFromFolder(platform::toWindowsPath(m_folder + "/project").c_str()));
    std::string error;
    ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false,
                                               GroundRowsFromTerrain(m_db, "填挖表", -1, *lines.baseline, terrain),
                                               true, &error))
        << error;
    for (int side : {-1, 1}) {
      const std::string label = side < 0 ? "左线" : "右线";
      std::vector<fixtures::CrossSectionRow> rows;
      const int count = side < 0 ? g_LeftDetourCount : g_RightDetourCount;
      for (int i = 0; i < count; ++i) {
        const CrossSectionDesigner* detour = DetourDesigner(side, i);
        ASSERT_NE(detour->baseline, nullptr);
        const auto some = GroundRowsFromTerrain(m_db, label + "绕行段填挖表", i, *detour->baseline, terrain);
        rows.insert(rows.end(), some.begin(), some.end());
      }
      ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, label + "绕行段横断面地面线表", true, rows, true, &error))
          << error;
    }
    lines.FreeAllLines();
  }

  std::string m_folder, m_db, m_data;
  fixtures::DriveScratch m_install{'C'};
  ModulePathSource m_previous;
};

TEST_F(SampleProjectRunTest, DoubleTrackSampleIsDesignedAndReadBack) {
  AddGroundLines();
  CrossSectionDesigner d;
  AutoDesignOptions options;
  options.lineKind = "双线";
  options.threeD = 1;
  platform::TranscriptCapture capture;
  ASSERT_EQ(d.CmdAutoDesign(options), 1);
  ASSERT_GT(d.SectionCount(), 500);
  EXPECT_EQ(results_test::ReadText(m_data + "ylex." + g_SchemeName.GetString()), "双线");

  // The detours give transition and separated sections; every section
  // outside a bridge or tunnel is designed on both outer sides.
  int relations[4] = {};
  for (const SectionRecord& r : d.sections) {
    ASSERT_GE(r.lineRelation, 1);
    ASSERT_LE(r.lineRelation, 3);
    ++relations[r.lineRelation];
    const bool skipped = r.leftCode == kBridgeInside || r.leftCode == kTunnelInside ||
                         (r.kind == 2 && (r.rightCode == kBridgeInside || r.rightCode == kTunnelInside));
    if (skipped) continue;
    EXPECT_FALSE(r.designLines[SideIndex(-1)].isEmpty()) << r.label;
    EXPECT_FALSE(r.designLines[SideIndex(r.kind == 2 ? 2 : 1)].isEmpty()) << r.label;
    EXPECT_GT(r.leftLandTake, 0.0) << r.label;
    EXPECT_NEAR(r.areas.fill, r.areas.fillParts.left + r.areas.fillParts.middle + r.areas.fillParts.right, 1e-9);
  }
  EXPECT_GT(relations[1], 0);
  EXPECT_GT(relations[2], 0);
  EXPECT_GT(relations[3], 0);
  ASSERT_GT(g_LeftDetourCount + g_RightDetourCount, 0);

  // Every file of the run, the 3D data among them.
  for (const char* name : {"HdmResultData", "HdmDetailArea", "ZdkData", "PMZTT", "HdmRXDResultData",
                           "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT", "BJPT", "RXDBJPT", "3DFW", "Zx3d", "Yx3d", "bribase"})
    EXPECT_TRUE(std::filesystem::exists(m_data + name + "." + g_SchemeName.GetString())) << name;

  CrossSectionDesigner back;
  back.lineKind = "双线";
  ASSERT_EQ(back.ReadSectionResults(), 1);
  ASSERT_EQ(back.ReadSectionAreas(), 1);
  ASSERT_EQ(back.SectionCount(), d.SectionCount());
  for (int i = 0; i < d.SectionCount(); ++i) {
    const SectionRecord& a = d.sections[static_cast<size_t>(i)];
    const SectionRecord& b = back.sections[static_cast<size_t>(i)];
    EXPECT_NEAR(b.mileage, a.mileage, 5e-4);
    EXPECT_EQ(b.lineRelation, a.lineRelation);
    EXPECT_NEAR(b.rightLandTake, a.rightLandTake, 5e-4);
    EXPECT_NEAR(b.areas.cut, a.areas.cut, 5e-4);
    EXPECT_EQ(b.designLines[3].length(), a.designLines[3].length());
  }
}

}  // namespace
