// The sample project from its ground lines to the roadbed quantity sheet, as a
// user runs it: CALTWB (ground lines of the existing stations from the
// terrain model), HDMDES on the baseline designer, SAVEFILE, then CALTSF on a
// designer built for it. The saved workbook is read with openpyxl (Debian's
// python3-openpyxl, run with /usr/bin/python3) and checked against the
// quantity files of the same run: each line's "合计" row against the fill
// volumes summed from its file, against the sums of its kilometre rows, and
// the baseline's structure rows against the scheme's structures.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DesignRunOptions.h"
#include "GroundLines.h"
#include "corvane/engine/earthwork_support.h"
#include "corvane/data/interp_support.h"
#include "corvane/engine/samplerun_support.h"

namespace {

std::string JsonText(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

class EarthworkSampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    interp_test::ResetDetourDesigners();
    sample::ProjectOptions options;
    options.folder = m_projects.linuxPath("SAMPLE");
    std::string error;
    ASSERT_TRUE(samplerun_test::MakeSampleProject(options, m_projects.windowsPath("SAMPLE"), m_install, &m_previous,
                                                  &error))
        << error;
    std::filesystem::create_directories(m_install.linuxPath("lib"));
    std::filesystem::copy_file(std::string(RAIL_INSTALL_DIR) + "/lib/路基数量表.xlt",
                               m_install.linuxPath("lib/路基数量表.xlt"));
  }
  void TearDown() override {
    SetExcelInteractive(0);
    g_BaselineDesigner.FreeAllLines();
    g_TerrainModel.Close();
    interp_test::ResetDetourDesigners();
    SetModulePathSource(m_previous);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }
  std::string DataFile(const std::string& name) const {
    return m_projects.linuxPath("SAMPLE/data/" + name + ".方案1");
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

TEST_F(EarthworkSampleTest, DesignSaveAndQuantitySheetOfTheSampleProject) {
  if (std::system("/usr/bin/python3 -c 'import openpyxl' > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-openpyxl is not installed";

  // CALTWB: the ground lines of the stations the sample's tables hold.
  {
    FillCutCommandOptions caltwb;
    caltwb.stationSource = kStationsExisting;
    caltwb.interpolateGroundLines = 1;
    CrossSectionDesigner command;
    ASSERT_EQ(command.CmdFillCutTables(caltwb), 1);
  }
  g_TerrainModel.Close();

  // HDMDES and SAVEFILE on the module's baseline designer.
  CrossSectionDesigner& design = g_BaselineDesigner;
  AutoDesignOptions hdmdes;
  hdmdes.lineKind = "双线";
  ASSERT_EQ(design.CmdAutoDesign(hdmdes), 1);
  ASSERT_GT(design.SectionCount(), 100);
  const double first = design.sections.front().mileage;
  const double last = design.sections.back().mileage;
  {
    platform::TranscriptCapture transcript;
    ASSERT_EQ(design.SaveDesignResults(), 1);
    EXPECT_TRUE(transcript.contains("3D OK!\n"));
  }
  for (const char* name : {"BJPT", "RXDBJPT", "3DFW", "Hole", "Zx3d", "Yx3d", "bribase"})
    EXPECT_TRUE(std::filesystem::is_regular_file(DataFile(name))) << name;

  // The baseline's structures that lie between its first and last section,
  // in line order: each gets a row of its own in the sheet.
  std::vector<const StructureRow*> structures;
  for (const OwnedRowArray<StructureRow>* list : {&design.bridges, &design.tunnels, &design.stations})
    for (int i = 0; i < list->count; ++i)
      if (list->rows[i].startMileage > first + 0.01 && list->rows[i].endMileage < last - 0.01)
        structures.push_back(&list->rows[i]);
  std::sort(structures.begin(), structures.end(),
            [](const StructureRow* a, const StructureRow* b) { return a->startMileage < b->startMileage; });
  ASSERT_GE(structures.size(), 2u);
  std::string names;
  for (const StructureRow* s : structures) names += (names.empty() ? "" : ", ") + JsonText(s->name.GetString());

  // CALTSF over the whole line, on a designer of its own.
  {
    CrossSectionDesigner caltsf;
    platform::TranscriptCapture transcript;
    ASSERT_EQ(caltsf.CmdEarthworkToExcel(EarthworkChoice{}), 1);
    EXPECT_TRUE(transcript.contains("路基数量表.方案1.xlsx")) << transcript.text();
  }
  const std::string workbook = DataFile("路基数量表") + ".xlsx";
  ASSERT_TRUE(std::filesystem::is_regular_file(workbook));
  const std::string json = m_projects.linuxPath("expect.json");
  std::ofstream(json) << "{\"workbook\": " << JsonText(workbook) << ", \"sheet\": \"路基数量表\", \"tsfjsb\": "
                      << JsonText(DataFile("tsfjsb")) << ", \"rxdtsfjsb\": " << JsonText(DataFile("rxdtsfjsb"))
                      << ", \"structures\": [" << names << "]}";
  std::string output;
  const int status = fixtures::RunCommand(
      std::string("/usr/bin/python3 ") + RAIL_SOURCE_DIR + "/tests/corvane/engine/qsheet_sample_openpyxl.py '" + json + "'",
      &output);
  EXPECT_EQ(status, 0) << output;
}

}  // namespace
