// The cross-section sheets of the sample project (tools/sample), designed
// once for the suite as a user does it: CALTWB (the ground lines of the
// existing stations from the terrain model), then HDMDES on the module's
// baseline designer with drawing asked for. Then the drawing run of DRAWHDM
// and PRINTHDM over all of it or over chosen ranges, the drawing saved and
// read back by ezdxf (Debian's python3-ezdxf, run with /usr/bin/python3),
// one sheet as SVG, and SAVEFILE before and after a drawing.
//
// What each drawn section must give is counted from the design's records by
// the drawing's rules: a section inside a bridge or tunnel (codes 1, 2) is
// not drawn; a single-line section gives 9 custom entities (two design
// lines, two ground lines, two ditches of each kind, the note), a
// double-line one 15 (two more design lines and four more ditches); each
// gets two reactors; each second-line offset that is drawn (above 0.001,
// not on a side whose line has left on a detour, not in a single-line
// design) gives a mark line and a dimension of five lines. A detour's
// sections are drawn within its separated stretch.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GroundLines.h"
#include "SectionDrawingChoice.h"
#include "TerrainModel.h"
#include "arx/dxffile.h"
#include "corvane/commands/entity_support.h"
#include "corvane/commands/sheet_support.h"
#include "corvane/engine/samplerun_support.h"
#include "fixtures/run_command.h"
#include "win/transcript.h"

namespace {

using sheet_test::CountByType;
using sheet_test::ModelSpace;
using sheet_test::SheetEntity;

bool InBridgeOrTunnel(int code) { return code == kBridgeInside || code == kTunnelInside; }

// What a drawing of every section of a design must hold.
struct Expected {
  int singles = 0;  // single-line sections drawn (the detours' among them)
  int doubles = 0;  // double-line sections drawn
  int marks = 0;    // second-line marks
  int Sections() const { return singles + doubles; }
  int DesignLines() const { return 2 * singles + 4 * doubles; }
};

int MarksOf(double left, double right) { return (std::fabs(left) > 0.001) + (std::fabs(right) > 0.001); }

// The baseline's sections with start - 0.01 < ML < end + 0.01, and with
// `detours` every detour's separated stretch.
Expected ExpectedSheet(const CrossSectionDesigner& d, double start, double end, bool detours) {
  Expected e;
  for (const SectionRecord& r : d.sections) {
    if (!(start - 0.01 < r.mileage && r.mileage < end + 0.01)) continue;
    if (InBridgeOrTunnel(r.leftCode) || (r.kind == 2 && InBridgeOrTunnel(r.rightCode))) continue;
    ++(r.kind == 2 ? e.doubles : e.singles);
    double offsets[2] = {r.leftLineOffset, r.rightLineOffset};
    if (r.kind == 1)
      for (int side : {-1, 1})
        for (const CrossSectionDesigner* detour : DetourDesignersInUse(side))
          if (detour->segment.sml2 - 0.1 < r.mileage && r.mileage < detour->segment.eml2 + 0.1)
            offsets[side < 0 ? 0 : 1] = 0.0;
    if (d.lineKind == "单线") offsets[0] = offsets[1] = 0.0;
    e.marks += MarksOf(offsets[0], offsets[1]);
  }
  if (!detours || d.lineKind != "双线") return e;
  for (const CrossSectionDesigner* detour : DetourDesignersInUse()) {
    for (const SectionRecord& r : detour->sections) {
      if (!(detour->segmentOnDetour.sml2 - 0.01 < r.mileage && r.mileage < detour->segmentOnDetour.eml2 + 0.01))
        continue;
      if (InBridgeOrTunnel(r.leftCode)) continue;
      ++e.singles;
      e.marks += MarksOf(r.leftLineOffset, r.rightLineOffset);
    }
  }
  return e;
}

int CountOr0(const std::map<std::string, int>& counts, const char* type) {
  const auto it = counts.find(type);
  return it == counts.end() ? 0 : it->second;
}

int TextsStartingWith(const std::vector<SheetEntity>& sheet, const std::string& prefix) {
  int n = 0;
  for (const SheetEntity& e : sheet)
    if (e.type == "AcDbText" && e.text.rfind(prefix, 0) == 0) ++n;
  return n;
}

// The custom entities, reactors, design-line entries and plain marks of a
// drawing run with custom entities against the design's count.
void ExpectCustomSheet(const std::vector<SheetEntity>& sheet, const Expected& e, size_t reactors, size_t lines) {
  const auto counts = CountByType(sheet);
  EXPECT_EQ(CountOr0(counts, "DesignLine"), e.DesignLines());
  EXPECT_EQ(CountOr0(counts, "EarthLine"), 2 * e.Sections());
  EXPECT_EQ(CountOr0(counts, "LTGOU"), e.DesignLines());
  EXPECT_EQ(CountOr0(counts, "JSGOU"), e.DesignLines());
  EXPECT_EQ(CountOr0(counts, "HdmText"), e.Sections());
  EXPECT_EQ(reactors, 2u * static_cast<size_t>(e.Sections()));
  EXPECT_EQ(lines, static_cast<size_t>(e.DesignLines()));
  EXPECT_EQ(static_cast<int>(sheet_test::CentreLines(sheet).size()), e.Sections() + e.marks);
  EXPECT_EQ(CountOr0(counts, "AcDbLine"), 5 * e.marks);
  EXPECT_EQ(TextsStartingWith(sheet, "路基面宽 "), e.Sections());
}

struct Suite {
  fixtures::DriveScratch install{'C'};
  fixtures::DriveScratch projects{'D'};
  ModulePathSource previous;
  bool ready = false;
  std::vector<SheetEntity> designRunSheet;  // what HDMDES drew
  size_t designRunReactors = 0;
  size_t designRunLines = 0;
};

class SectionSheetSampleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_suite = new Suite;
    entity_test::RegisterSectionEntityClasses();
    detour_test::ResetDetourDesigners();
    platform::setCurrentDrawing(nullptr);
    sample::ProjectOptions options;
    options.folder = s_suite->projects.linuxPath("SAMPLE");
    std::string error;
    if (!samplerun_test::MakeSampleProject(options, s_suite->projects.windowsPath("SAMPLE"), s_suite->install,
                                           &s_suite->previous, &error))
      return;
    FillCutCommandOptions caltwb;
    caltwb.stationSource = kStationsExisting;
    caltwb.interpolateGroundLines = 1;
    {
      CrossSectionDesigner command;
      if (command.CmdFillCutTables(caltwb) != 1) return;
    }
    g_TerrainModel.Close();
    AutoDesignOptions hdmdes;
    hdmdes.lineKind = "双线";
    hdmdes.draw = 1;
    if (g_BaselineDesigner.CmdAutoDesign(hdmdes, 1) != 1) return;
    s_suite->designRunSheet = ModelSpace();
    s_suite->designRunReactors = SectionReactorList.size();
    s_suite->designRunLines = DesignLineList.size();
    s_suite->ready = true;
  }
  static void TearDownTestSuite() {
    ReleaseSectionReactors();
    SectionEntityTable.clear();
    LeftDetourEntityList.clear();
    RightDetourEntityList.clear();
    platform::setCurrentDrawing(nullptr);
    g_BaselineDesigner.FreeAllLines();
    g_BaselineDesigner.sections.clear();
    detour_test::ResetDetourDesigners();
    SetModulePathSource(s_suite->previous);
    entity_test::UnregisterSectionEntityClasses();
    g_DrawingFactor = 5.0;
    delete s_suite;
    s_suite = nullptr;
  }
  void SetUp() override {
    if (!s_suite->ready) GTEST_FAIL() << "the sample project could not be made and designed";
    ReleaseSectionReactors();
    platform::setCurrentDrawing(nullptr);
  }
  static CrossSectionDesigner& Design() { return g_BaselineDesigner; }
  static std::string DataFolder() { return s_suite->projects.linuxPath("SAMPLE/data"); }
  static std::string Scratch(const std::string& name) { return s_suite->projects.linuxPath(name); }

  static Suite* s_suite;
};

Suite* SectionSheetSampleTest::s_suite = nullptr;

TEST_F(SectionSheetSampleTest, TheDesignRunDrawsEverySectionWithItsEntitiesAndReactors) {
  const CrossSectionDesigner& d = Design();
  ASSERT_GT(d.SectionCount(), 500);
  const Expected e = ExpectedSheet(d, d.sections.front().mileage, d.sections.back().mileage, true);
  // The sample has both kinds of sections, second lines and a detour on each side.
  EXPECT_GT(e.singles, 0);
  EXPECT_GT(e.doubles, 0);
  EXPECT_GT(e.marks, 0);
  ASSERT_GT(g_LeftDetourCount, 0);
  ASSERT_GT(g_RightDetourCount, 0);
  ExpectCustomSheet(s_suite->designRunSheet, e, s_suite->designRunReactors, s_suite->designRunLines);
  for (const SheetEntity& entity : s_suite->designRunSheet) EXPECT_EQ(entity.layer, "Hdm") << entity.type;
  EXPECT_EQ(d.sectionsDrawn, 1);
  EXPECT_EQ(d.drawnByDesignRun, 1);
}

TEST_F(SectionSheetSampleTest, DrawhdmLaysTheSectionsOutAndLabelsTheBridges) {
  CrossSectionDesigner& d = Design();
  // Two sections whose offsets are too small to be second lines.
  int small = -1;
  for (int i = 0; i < d.SectionCount() && small < 0; ++i) {
    const SectionRecord& r = d.sections[static_cast<size_t>(i)];
    if (r.kind == 1 && r.leftCode == 0 && r.lineRelation == 1) small = i;
  }
  ASSERT_GE(small, 0);
  SectionRecord& tiny = d.sections[static_cast<size_t>(small)];
  const double kept[2] = {tiny.leftLineOffset, tiny.rightLineOffset};
  tiny.leftLineOffset = 0.001;
  tiny.rightLineOffset = -0.0005;

  SectionDrawingChoice choice;
  choice.originX = 100.0;
  choice.originY = 200.0;
  ASSERT_EQ(d.CmdDrawSections(choice, 1), 1);
  const std::vector<SheetEntity> sheet = ModelSpace();
  const Expected e = ExpectedSheet(d, d.sections.front().mileage, d.sections.back().mileage, true);
  ExpectCustomSheet(sheet, e, SectionReactorList.size(), DesignLineList.size());
  EXPECT_DOUBLE_EQ(tiny.leftLineOffset, 0.001);
  tiny.leftLineOffset = kept[0];
  tiny.rightLineOffset = kept[1];

  // Every design line is drawn in the frame of its track at its section's
  // place on the sheet.
  const double f = g_DrawingFactor;
  EXPECT_DOUBLE_EQ(f, 5.0);
  int checked = 0;
  for (const SheetEntity& entity : sheet) {
    if (entity.type != "DesignLine") continue;
    DesignLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, entity.id, AcDb::kForRead), Acad::eOk);
    const DesignLineData& data = line->Data();
    const CrossSectionDesigner* owner = data.lineCode == 0 ? &d : DetourDesigner(data.lineCode, data.detourIndex);
    ASSERT_NE(owner, nullptr);
    ASSERT_LT(data.sectionRow, owner->SectionCount());
    const SectionRecord& r = owner->sections[static_cast<size_t>(data.sectionRow)];
    const int track = data.side == -2 || data.side == 2 ? 1 : 0;
    const SectionFrame frame = data.Frame();
    EXPECT_NEAR(frame.originX, r.sheetX + f * r.crownOffset[track], 1e-6);
    EXPECT_NEAR(frame.originY, r.sheetY, 1e-9);
    EXPECT_NEAR(frame.baseElevation, r.minElevation, 1e-9);
    EXPECT_DOUBLE_EQ(data.chainage, r.mileage);
    line->close();
    ++checked;
  }
  EXPECT_EQ(checked, e.DesignLines());
  // The baseline's first section stands in the first column.
  EXPECT_NEAR(d.sections[0].sheetY, 200.0 + 55.0, 1e-9);

  // Each detour's sheet: 500 x the factor above (left) or below (right) the
  // baseline section at which its separated stretch starts.
  for (int side : {-1, 1}) {
    for (const CrossSectionDesigner* detour : DetourDesignersInUse(side)) {
      const SectionRecord* base = &d.sections.back();
      for (const SectionRecord& r : d.sections)
        if (r.mileage > detour->segment.sml2 - 0.001) {
          base = &r;
          break;
        }
      EXPECT_NEAR(detour->sheetOrigin.x, base->sheetX, 1e-9);
      EXPECT_NEAR(detour->sheetOrigin.y, base->sheetY - side * 500.0 * f, 1e-9);
      ASSERT_GT(detour->SectionCount(), 0);
      EXPECT_NEAR(detour->sections[0].sheetY, detour->sheetOrigin.y + 55.0, 1e-9);
    }
  }

  // A bridge's first section after a drawn one (at the bridge's start or
  // before it) is labelled above that one.
  int labelled = 0;
  for (int i = 2; i < d.SectionCount(); ++i) {
    const SectionRecord& r = d.sections[static_cast<size_t>(i)];
    const SectionRecord& before = d.sections[static_cast<size_t>(i - 1)];
    if (r.kind != 1 || r.leftCode != kBridgeInside || before.kind != 1) continue;
    if (before.leftCode != kStructureNone && before.leftCode != kBridgeStart) continue;
    const StructureRow* bridge = nullptr;
    for (int k = 0; k < d.bridges.count && bridge == nullptr; ++k)
      if (d.bridges.rows[k].startMileage - 0.001 < r.mileage && r.mileage < d.bridges.rows[k].endMileage + 0.001)
        bridge = &d.bridges.rows[k];
    ASSERT_NE(bridge, nullptr) << r.label;
    const std::string text = std::string(bridge->startText) + "-" + bridge->endText + bridge->name.GetString();
    const auto found = sheet_test::TextsReading(sheet, text);
    ASSERT_EQ(found.size(), 1u) << text;
    EXPECT_NEAR(found[0].place.x, before.labelX, 1e-9);
    EXPECT_NEAR(found[0].place.y, before.labelY, 1e-9);
    EXPECT_GT(before.labelY, before.sheetY);
    ++labelled;
  }
  EXPECT_GT(labelled, 0);
}

TEST_F(SectionSheetSampleTest, PrinthdmDrawsTheSameSectionsWithoutCustomEntitiesOrReactors) {
  CrossSectionDesigner& d = Design();
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.CmdDrawSections(SectionDrawingChoice{}, 0), 1);
  EXPECT_TRUE(transcript.contains("横断面图绘制完成！"));
  const std::vector<SheetEntity> sheet = ModelSpace();
  const auto counts = CountByType(sheet);
  for (const char* custom : {"DesignLine", "EarthLine", "LTGOU", "JSGOU", "HdmText"})
    EXPECT_EQ(CountOr0(counts, custom), 0) << custom;
  EXPECT_TRUE(SectionReactorList.empty());
  EXPECT_TRUE(DesignLineList.empty());
  const Expected e = ExpectedSheet(d, d.sections.front().mileage, d.sections.back().mileage, true);
  EXPECT_EQ(TextsStartingWith(sheet, "路基面宽 "), e.Sections());
  EXPECT_EQ(static_cast<int>(sheet_test::CentreLines(sheet).size()), e.Sections() + e.marks);
  // The notes' lines in colour 3: five a section.
  int noteLines = 0;
  for (const SheetEntity& entity : sheet)
    if (entity.type == "AcDbText" && entity.colour == 3) ++noteLines;
  EXPECT_EQ(noteLines, 5 * e.Sections());
}

TEST_F(SectionSheetSampleTest, ChosenRangesGoOnTheirSheets) {
  CrossSectionDesigner& d = Design();
  ASSERT_GT(d.SectionCount(), 40);
  SectionDrawingChoice choice;
  choice.drawAll = 0;
  choice.originX = 1000.0;
  choice.originY = 2000.0;
  choice.scaleDenominator = 500.0;
  choice.baselineStart = d.sections[30].label;  // given the wrong way round
  choice.baselineEnd = d.sections[10].label;
  choice.leftDetour = true;
  choice.rightDetour = true;
  ASSERT_EQ(d.CmdDrawSections(choice, 1), 1);
  EXPECT_DOUBLE_EQ(g_DrawingFactor, 2.0);

  const std::vector<SheetEntity> sheet = ModelSpace();
  Expected e = ExpectedSheet(d, d.sections[10].mileage, d.sections[30].mileage, false);
  for (int side : {-1, 1}) {
    CrossSectionDesigner* detour = DetourDesigner(side, 0);
    ASSERT_NE(detour, nullptr);
    // The detour's sheet beside the origin; its sections within its stretch.
    EXPECT_NEAR(detour->sheetOrigin.x, 1000.0, 1e-9);
    EXPECT_NEAR(detour->sheetOrigin.y, 2000.0 - side * 1000.0, 1e-9);
    for (const SectionRecord& r : detour->sections)
      if (detour->segmentOnDetour.sml2 - 0.01 < r.mileage && r.mileage < detour->segmentOnDetour.eml2 + 0.01 &&
          !InBridgeOrTunnel(r.leftCode)) {
        ++e.singles;
        e.marks += MarksOf(r.leftLineOffset, r.rightLineOffset);
      }
    // Only the chosen detour has an entry in its side's list.
    const std::vector<DetourEntityEntry>& list = side < 0 ? LeftDetourEntityList : RightDetourEntityList;
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].slots.size(), 2 * detour->sections.size());
  }
  ExpectCustomSheet(sheet, e, SectionReactorList.size(), DesignLineList.size());
  g_DrawingFactor = 5.0;
}

// SAVEFILE after a drawing writes what SAVEFILE writes without one: the
// drawing changes nothing of the design.
TEST_F(SectionSheetSampleTest, SavefileAfterDrawingWritesTheSameResultFiles) {
  CrossSectionDesigner& d = Design();
  auto snapshot = []() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder())) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".mdb" || name.rfind("ylex", 0) == 0) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[name] = bytes.str();
    }
    return files;
  };
  ASSERT_EQ(d.SaveDesignResults(), 1);
  const auto before = snapshot();
  ASSERT_TRUE(before.count("HdmResultData.方案1"));
  ASSERT_TRUE(before.count("HdmRXDResultData.方案1"));
  for (int flag : {1, 0}) {
    SCOPED_TRACE(flag);
    ASSERT_EQ(d.CmdDrawSections(SectionDrawingChoice{}, flag), 1);
    ASSERT_EQ(d.SaveDesignResults(), 1);
    const auto after = snapshot();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before) {
      ASSERT_TRUE(after.count(name)) << name;
      EXPECT_TRUE(after.at(name) == bytes) << name << " differs";
    }
  }
}

TEST_F(SectionSheetSampleTest, TheSavedSheetReadsBackInEzdxf) {
  if (std::system("/usr/bin/python3 -c 'import ezdxf' > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-ezdxf is not installed";
  CrossSectionDesigner& d = Design();
  // One sheet: the baseline's first forty sections.
  SectionDrawingChoice choice;
  choice.drawAll = 0;
  choice.baselineStart = d.sections[0].label;
  choice.baselineEnd = d.sections[39].label;
  ASSERT_EQ(d.CmdDrawSections(choice, 1), 1);
  const Expected e = ExpectedSheet(d, d.sections[0].mileage, d.sections[39].mileage, false);
  ASSERT_GT(e.Sections(), 10);

  const std::string saved = Scratch("sheet.dxf");
  const std::string view = Scratch("sheet-view.dxf");
  ASSERT_EQ(entity_test::Drawing()->saveAs(saved.c_str()), Acad::eOk);
  ASSERT_EQ(platform::exportViewDxf(*entity_test::Drawing(), view), Acad::eOk);
  // An SVG of the sheet to look at, kept beside the test's other files.
  const std::string svg = std::string(::testing::TempDir()) + "/corvane-section-sheet.svg";
  ASSERT_EQ(platform::exportSvg(*entity_test::Drawing(), svg), Acad::eOk);
  EXPECT_GT(std::filesystem::file_size(svg), 1000u);

  std::string printed;  // what the script printed, shown with a failure
  auto readBack = [&printed](const std::string& file) {
    std::map<std::string, int> values;
    const auto lines = fixtures::OutputLines("/usr/bin/python3 " + std::string(RAIL_SOURCE_DIR) +
                                             "/tests/corvane/commands/section_sheet_ezdxf.py '" + file +
                                             "' '路基面宽 '");
    printed.clear();
    for (const std::string& line : lines) {
      printed += line + "\n";
      const size_t tab = line.rfind('\t');
      if (tab != std::string::npos) values[line.substr(0, tab)] = std::atoi(line.c_str() + tab + 1);
    }
    return values;
  };
  // The drawing as saved: clean, the custom entities under their own types
  // (ezdxf reads no layer of a type it does not know), the plain ones on
  // "Hdm".
  const auto savedValues = readBack(saved);
  SCOPED_TRACE(printed);
  ASSERT_TRUE(savedValues.count("audit")) << "ezdxf did not read " << saved;
  EXPECT_EQ(savedValues.at("audit"), 0);
  EXPECT_EQ(savedValues.at("type\tDESIGNLINE"), e.DesignLines());
  EXPECT_EQ(savedValues.at("type\tEARTHLINE"), 2 * e.Sections());
  EXPECT_EQ(savedValues.at("type\tLTGOU"), e.DesignLines());
  EXPECT_EQ(savedValues.at("type\tJSGOU"), e.DesignLines());
  EXPECT_EQ(savedValues.at("type\tHDMTEXT"), e.Sections());
  const int plain = savedValues.at("type\tLINE") + savedValues.at("type\tLWPOLYLINE") + savedValues.at("type\tTEXT");
  EXPECT_EQ(savedValues.at("layer\tHdm"), plain);
  EXPECT_EQ(static_cast<int>(ModelSpace().size()), plain + 3 * e.DesignLines() + 3 * e.Sections());
  EXPECT_EQ(savedValues.at("prefix\t路基面宽 "), e.Sections());

  // The export for viewing: the custom entities exploded into polylines and
  // texts, the notes' five lines among them.
  const auto viewValues = readBack(view);
  SCOPED_TRACE(printed);
  ASSERT_TRUE(viewValues.count("audit")) << "ezdxf did not read " << view;
  EXPECT_EQ(viewValues.at("audit"), 0);
  for (const char* custom : {"type\tDESIGNLINE", "type\tEARTHLINE", "type\tLTGOU", "type\tJSGOU", "type\tHDMTEXT"})
    EXPECT_EQ(viewValues.count(custom), 0u) << custom;
  EXPECT_GT(viewValues.at("type\tLWPOLYLINE"), 0);
  EXPECT_EQ(viewValues.at("prefix\t路基面宽 "), e.Sections());
  int all = 0;
  for (const auto& [key, value] : viewValues)
    if (key.rfind("type\t", 0) == 0) all += value;
  EXPECT_EQ(viewValues.at("layer\tHdm"), all);
}

TEST_F(SectionSheetSampleTest, MileagesOnTheSideLinesAreTheFeetOfTheBaselinePoints) {
  const CrossSectionDesigner& d = Design();
  ASSERT_NE(d.leftLine, nullptr);
  ASSERT_NE(d.rightLine, nullptr);
  int onDetour[2] = {};
  for (const SectionRecord& r : d.sections) {
    double leftML = 0.0, rightML = 0.0;
    d.MileagesOnSideLines(r.mileage, leftML, rightML);
    int relation = 0, li = -1, ri = -1, lf = 0, rf = 0;
    d.FindDetourAtChainage(r.mileage, relation, li, ri, lf, rf);
    LinePoint b{};
    b.mileage = r.mileage;
    ASSERT_GE(BAS_DRAW_FUN::PointAtMileage(d.baseline->elements, d.baseline->elementCount, b), 0);
    for (int side : {-1, 1}) {
      const double got = side < 0 ? leftML : rightML;
      if (!(side < 0 ? lf : rf)) {
        EXPECT_DOUBLE_EQ(got, r.mileage) << r.label;
        continue;
      }
      ++onDetour[side < 0 ? 0 : 1];
      // The foot: the line from it to the baseline point is square to the
      // side line there.
      const SideLineModel& line = side < 0 ? *d.leftLine : *d.rightLine;
      LinePoint s{};
      s.mileage = got;
      ASSERT_GE(BAS_DRAW_FUN::PointAtMileage(line.elements, line.elementCount, s), 0) << r.label;
      const double dx = b.x - s.x, dy = b.y - s.y;
      const double along = dx * std::cos(s.bearing) + dy * std::sin(s.bearing);
      EXPECT_NEAR(along, 0.0, 1e-3) << r.label;
    }
  }
  EXPECT_GT(onDetour[0], 0);
  EXPECT_GT(onDetour[1], 0);
}

TEST_F(SectionSheetSampleTest, DrawhdmReadsTheLastDesignBackWhenTheDesignerHoldsNone) {
  CrossSectionDesigner fresh;
  ASSERT_EQ(fresh.CmdDrawSections(SectionDrawingChoice{}, 1), 1);
  ASSERT_EQ(fresh.SectionCount(), Design().SectionCount());
  EXPECT_EQ(fresh.sectionsDesigned, 1);
  EXPECT_STREQ(fresh.sections[5].label, Design().sections[5].label);
  const Expected e = ExpectedSheet(fresh, fresh.sections.front().mileage, fresh.sections.back().mileage, true);
  EXPECT_EQ(e.Sections(),
            ExpectedSheet(Design(), Design().sections.front().mileage, Design().sections.back().mileage, true)
                .Sections());
  ExpectCustomSheet(ModelSpace(), e, SectionReactorList.size(), DesignLineList.size());
  ReleaseSectionReactors();
}

}  // namespace
