// The sample project from its ground lines to the roadbed quantity sheet, as a
// user runs it: CALTWB (ground lines of the existing stations from the
// terrain model), HDMDES on the baseline designer, SAVEFILE, then CALTSF on a
// designer built for it. The saved workbook is read with openpyxl (Debian's
// python3-openpyxl, run with /usr/bin/python3) and checked against the
// quantity files of the same run: each line's "合计" row against the fill
// volumes summed from its file, against the sums of its kilometre rows, and
// the baseline's structure rows against the scheme's structures.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DesignRunOptions.h"
#include "GroundLines.h"
#include "corvane/engine/earthwork_support.h"
#include "corvane/engine/record_fields.h"
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

// Re-designs the left side of section 0 of `d` from its design line drawn
// in a frame of factor 5, with the grades given.
int RedesignLeftSide(CrossSectionDesigner& d, const SlopeGradeArrays& embankment, const SlopeGradeArrays& cutting) {
  const SectionRecord& r = d.sections.front();
  SectionFrame f;
  f.factor = 5.0;
  f.referenceElevation = r.referenceElevation[0];
  f.baseElevation = r.referenceElevation[0] - 10.0;
  DesignLineData line;
  const AcGePoint3dArray& points = r.designLines[SideIndex(-1)];
  for (int j = 0; j < points.length(); ++j) {
    const PairXY p = f.ToDrawing(PairXY{points[j].x, points[j].y});
    line.vertices.emplace_back(p.x, p.y, 0.0);
  }
  line.SetFrame(f);
  line.SetFormCode(r.formCode[SideIndex(-1)]);
  line.embankment = embankment;
  line.cutting = cutting;
  line.side = -1;
  SectionDitchData ditch, topDitch;
  SectionNoteData note;
  note.kind = r.kind;
  return d.RedesignEditedSection(0, line, nullptr, ditch, topDitch, nullptr, note);
}

// The outermost point of a section's left side, from the left track's
// centre: the end of its design line, or of the drainage or top ditch beyond.
double OutermostLeft(const SectionRecord& r) {
  const int k = SideIndex(-1);
  double x = r.designLines[k].isEmpty() ? 0.0 : -r.designLines[k].last().x;
  if (r.ditchKind[k] == kDitchDrainage && r.drainageDitchCount[k] > 0)
    x = -r.drainageDitch[k][r.drainageDitchCount[k] - 1].x;
  if (r.ditchKind[k] == kDitchTop && r.topDitchCount[k] > 0) x = -r.topDitch[k][r.topDitchCount[k] - 1].x;
  return x;
}

// Each total of a record is the sum of its parts, the cut total that of its
// rock classes too.
void ExpectPartsAddUp(const SectionRecord& r) {
  const SectionAreas& a = r.areas;
  auto sum = [](const AreaTriple& t) { return t.left + t.middle + t.right; };
  EXPECT_NEAR(a.fill, sum(a.fillParts), 1e-9);
  EXPECT_NEAR(a.cut, sum(a.cutParts), 1e-9);
  EXPECT_NEAR(a.surfaceLayer, sum(a.surfaceLayerParts), 1e-9);
  EXPECT_NEAR(a.topsoil, sum(a.topsoilParts), 1e-9);
  EXPECT_NEAR(a.improvedSoil, sum(a.improvedSoilParts), 1e-9);
  EXPECT_NEAR(a.shoulderLayer, sum(a.shoulderLayerParts), 1e-9);
  EXPECT_NEAR(a.ditchLining, sum(a.ditchLiningParts), 1e-9);
  EXPECT_NEAR(a.retainingWallLength, sum(a.retainingWallParts), 1e-9);
  EXPECT_NEAR(a.turfLength, sum(a.turfParts), 1e-9);
  EXPECT_NEAR(a.ditchFill, a.ditchFillLeft + a.ditchFillRight, 1e-9);
  EXPECT_NEAR(a.ditchCut, a.ditchCutLeft + a.ditchCutRight, 1e-9);
  EXPECT_NEAR(r.fillTotal, a.fill, 1e-9);
  EXPECT_NEAR(r.cutTotal, a.cut, 1e-9);
  double classes = 0.0;
  for (double c : a.rockClass) classes += c;
  EXPECT_NEAR(classes, a.cut, 1e-9);
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

  // The first section's left slope edited, as the workflow's grip drag has
  // it re-designed: first with the design's own grades, which changes
  // nothing, then with every grade flatter by 0.5 (1:m becomes 1:(m + 0.5)).
  SectionRecord& edited = design.sections.front();
  const SectionRecord designed = edited;
  const SideStandardsAt st = design.LookupSideStandards(-1, edited.mileage);
  ASSERT_EQ(RedesignLeftSide(design, st.embankment, st.cutting), 1);
  record_fields::ExpectSame(edited, designed, 1e-9);
  EXPECT_NEAR(edited.leftLandTake - OutermostLeft(edited), st.fillWidening, 1e-9);
  SlopeGradeArrays embankment = st.embankment, cutting = st.cutting;
  for (int k = 0; k < kMaxSlopeGrades; ++k) {
    embankment.ratio[k] += 0.5;
    cutting.ratio[k] += 0.5;
  }
  ASSERT_EQ(RedesignLeftSide(design, embankment, cutting), 1);
  ASSERT_GT(std::fabs(edited.areas.cut - designed.areas.cut) + std::fabs(edited.areas.fill - designed.areas.fill),
            0.1);
  ExpectPartsAddUp(edited);
  // The land take is still the outermost point plus the widening (1 m).
  EXPECT_NEAR(edited.leftLandTake - OutermostLeft(edited), st.fillWidening, 1e-9);
  EXPECT_NEAR(st.fillWidening, 1.0, 1e-9);
  EXPECT_NEAR(st.cutWidening, 1.0, 1e-9);
  {
    platform::TranscriptCapture transcript;
    ASSERT_EQ(design.SaveDesignResults(), 1);
    EXPECT_TRUE(transcript.contains("3D OK!\n"));
  }
  for (const char* name : {"BJPT", "RXDBJPT", "3DFW", "Hole", "Zx3d", "Yx3d", "bribase"})
    EXPECT_TRUE(std::filesystem::is_regular_file(DataFile(name))) << name;

  // The saved records of the edited section agree with it: its area record
  // (HdmDetailArea, the first after the count) and its line in ZdkData's
  // left block, whole metres rounded up.
  {
    const std::vector<std::string> area = earthwork_test::Words(earthwork_test::ReadText(DataFile("HdmDetailArea")));
    ASSERT_GT(area.size(), 51u);
    const auto A = [&area](int n) { return std::atof(area[static_cast<size_t>(n + 2)].c_str()); };  // A1 .. A48
    EXPECT_NEAR(A(1), edited.areas.fill, 5e-4);
    EXPECT_NEAR(A(5), edited.areas.cut, 5e-4);
    double classes = 0.0;
    for (int k = 0; k < 6; ++k) {
      EXPECT_NEAR(A(9 + k), edited.areas.rockClass[k], 5e-4) << "class " << k + 1;
      classes += A(9 + k);
    }
    EXPECT_NEAR(classes, A(5), 6 * 5e-4);
    EXPECT_NEAR(A(2) + A(3) + A(4), A(1), 3 * 5e-4);
    EXPECT_NEAR(A(6) + A(7) + A(8), A(5), 3 * 5e-4);
    const std::vector<std::string> zdk = earthwork_test::Lines(earthwork_test::ReadText(DataFile("ZdkData")));
    ASSERT_GT(zdk.size(), 1u);
    const std::vector<std::string> line = earthwork_test::Words(zdk[1]);
    ASSERT_EQ(line.size(), 5u);
    EXPECT_EQ(line[0], edited.label);
    EXPECT_EQ(std::atoi(line[1].c_str()), static_cast<int>(std::ceil(edited.LeftLandWidth() - 1e-3)));
  }

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
  // tsfjsb: every section's cut volume is the sum of its volumes by rock
  // class (each written to 0.01), the edited section's areas among them.
  {
    const std::vector<std::string> words = earthwork_test::Words(earthwork_test::ReadText(DataFile("tsfjsb")));
    ASSERT_GT(words.size(), 3u);
    const size_t record = 25 + 23;  // the section's areas, then its volumes
    const size_t count = static_cast<size_t>(std::atoi(words[2].c_str()));
    ASSERT_EQ(words.size(), 3 + count * record);
    bool sawEdited = false;
    for (size_t i = 0; i < count; ++i) {
      const auto value = [&](size_t k) { return std::atof(words[3 + i * record + k].c_str()); };
      if (std::fabs(value(0) - edited.mileage) < 5e-4) {
        sawEdited = true;
        EXPECT_NEAR(value(5), edited.areas.cut, 0.005);
      }
      double classes = 0.0;
      for (size_t k = 0; k < 6; ++k) classes += value(25 + 5 + 2 * k);
      EXPECT_NEAR(classes, value(25 + 4), 7 * 0.005) << "the section at " << value(0);
    }
    EXPECT_TRUE(sawEdited);
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
