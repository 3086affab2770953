// The sample project's ground lines carried through the ground-line input
// and designed from what it writes: CALTWB and CALHDMDMX give the baseline's
// ground lines (横断面地面线表, full precision) and the ground-line file
// data\方案1.dmx (three decimals); the ground-line input (its own program,
// bin/pellory-tables, as the two modules never share one) imports the file
// and writes 用户横断面岩层线表 and 横断面岩层线表; HDMDES then designs.
//
// Reference run: HDMDES before the import, when the scheme has no row of
// 横断面岩层线表, reads the ground lines of 横断面地面线表. Second run: layer 0
// of 横断面岩层线表 replaces each section's ground line. The section areas
// agree within what the file's rounding (0.0005 m on every offset, height
// and centre elevation, over at most 2 × 60 m of ground) can move them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "DesignRunOptions.h"
#include "GroundLines.h"
#include "corvane/data/interp_support.h"
#include "corvane/engine/samplerun_support.h"
#include "fixtures/run_command.h"
#include "fixtures/scheme_db.h"
#include "win/transcript.h"

namespace {

class PelloryDmxDesign : public ::testing::Test {
 protected:
  void SetUp() override {
    interp_test::ResetDetourDesigners();
    std::string error;
    ASSERT_TRUE(samplerun_test::MakeSampleProjectIn(m_projects, m_install, &m_previous, &error)) << error;
  }
  void TearDown() override {
    g_TerrainModel.Close();
    interp_test::ResetDetourDesigners();
    SetModulePathSource(m_previous);
  }

  struct Areas {
    double mileage, fill, cut;
  };
  static std::vector<Areas> Design() {
    CrossSectionDesigner design;
    AutoDesignOptions hdmdes;
    hdmdes.lineKind = "双线";
    EXPECT_EQ(design.CmdAutoDesign(hdmdes), 1);
    std::vector<Areas> areas;
    for (const SectionRecord& r : design.sections) areas.push_back({r.mileage, r.areas.fill, r.areas.cut});
    design.FreeAllLines();
    interp_test::ResetDetourDesigners();
    return areas;
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

TEST_F(PelloryDmxDesign, TheImportedFileDesignsAsTheGroundLineTable) {
  const std::string db = m_projects.linuxPath("SAMPLE/data/方案1.mdb");
  const std::string dmx = m_projects.linuxPath("SAMPLE/data/方案1.dmx");
  {
    FillCutCommandOptions caltwb;
    caltwb.stationSource = kStationsExisting;
    caltwb.interpolateGroundLines = 1;
    CrossSectionDesigner command;
    ASSERT_EQ(command.CmdFillCutTables(caltwb), 1);
    command.FreeAllLines();
  }
  {
    CrossSectionDesigner command;
    ASSERT_EQ(command.CmdInterpolateGroundLines("", "", m_projects.windowsPath("SAMPLE\\data\\方案1.dmx").c_str()), 1);
    command.FreeAllLines();
  }
  g_TerrainModel.Close();
  ASSERT_TRUE(std::filesystem::is_regular_file(dmx));
  std::string error;
  const auto rockRows = fixtures::QueryRows(db, "select count(*) from 横断面岩层线表", &error);
  ASSERT_TRUE(!error.empty() || rockRows.at(0).at(0) == "0") << "the reference run must read 横断面地面线表 alone";

  const std::vector<Areas> reference = Design();
  ASSERT_GT(reference.size(), 100u);

  std::string output;
  ASSERT_EQ(fixtures::RunCommand(std::string(PELLORY_TABLES_PROGRAM) + " import '" + db + "' '" + dmx + "'", &output),
            0)
      << output;
  EXPECT_NE(output.find("成功导入文件"), std::string::npos) << output;
  EXPECT_NE(output.find("成功写入数据库"), std::string::npos) << output;
  error.clear();
  const auto ground = fixtures::QueryRows(db, "select count(*) from 横断面地面线表", &error);
  const auto rock = fixtures::QueryRows(db, "select count(*) from 横断面岩层线表 where 层号=0", &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(rock.at(0).at(0), ground.at(0).at(0));  // one row per station and side, as the ground-line table

  std::vector<Areas> imported;
  {
    platform::TranscriptCapture transcript;
    imported = Design();
    EXPECT_FALSE(transcript.contains("没有横断面岩层线表记录"));
    EXPECT_FALSE(transcript.contains("找不到对应的横断面"));
  }
  ASSERT_EQ(imported.size(), reference.size());
  int earthwork = 0;
  double largest = 0.0;
  const double tolerance = 2 * 60.0 * 0.0005 + 2 * 60.0 * 0.0005;  // heights and the centre elevation
  for (size_t i = 0; i < reference.size(); ++i) {
    SCOPED_TRACE(reference[i].mileage);
    EXPECT_NEAR(imported[i].mileage, reference[i].mileage, 1e-6);
    EXPECT_NEAR(imported[i].fill, reference[i].fill, tolerance);
    EXPECT_NEAR(imported[i].cut, reference[i].cut, tolerance);
    if (reference[i].fill + reference[i].cut > 1.0) ++earthwork;
    largest = std::max({largest, std::fabs(imported[i].fill - reference[i].fill),
                        std::fabs(imported[i].cut - reference[i].cut)});
  }
  EXPECT_GT(earthwork, 500);  // the comparison is over sections with earthwork
  std::printf("largest area difference %.4f m2 over %d sections with earthwork\n", largest, earthwork);
}

}  // namespace
