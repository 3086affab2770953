// The drawing of designed sections on a sheet, over level-ground designers
// whose geometry can be followed by hand (drivers_support.h): one section
// drawn as custom entities with reactors or as plain entities, the centre
// line and second-line marks, the sheet places, the range, the structure
// labels, the section entity table over several runs, and the line type.
//
// The hand values: ground level at 100, grade line at 102 (fill 2 m: both
// shoulders at the embankment distance 3.5, crown 102 + 0.04 × 3.5 =
// 102.14) or at 98 (cut: shoulders at 3.0, crown 98.12); factor 5; sheet
// origin (0, 0). The first section of a column stands at x = 30 + 60 × 5 =
// 330 (60 m of ground on its left), y = 55; a fill section is (102.14 −
// 100) × 5 = 10.7 high, the next one 10.7 + 16 × 5 = 90.7 higher up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "SectionDrawing.h"
#include "arx/edcmdline.h"
#include "corvane/commands/drawn_section.h"
#include "corvane/commands/entity_support.h"
#include "corvane/commands/sheet_support.h"
#include "corvane/engine/drivers_support.h"
#include "win/transcript.h"

namespace {

using entity_test::SectionEntityTest;
using sheet_test::CountByType;
using sheet_test::ModelSpace;
using sheet_test::SheetEntity;

constexpr double kFirstX = 330.0;
constexpr double kFirstY = 55.0;
constexpr double kFillHeight = 10.7;
constexpr double kPitch = kFillHeight + 80.0;

// Single-line sections at `mileages` over level ground, designed with the
// grade line at `elevation`, each with its centre fill height.
void MakeDesigned(CrossSectionDesigner& d, const char* lineKind, double elevation,
                  std::initializer_list<double> mileages) {
  drivers_test::MakeLevelDesigner(d, lineKind, elevation, mileages);
  for (int i = 0; i < d.SectionCount(); ++i) {
    d.sections[static_cast<size_t>(i)].centreFillHeight = elevation - 100.0;
    d.DesignSingleSection(i, 1, 0.0, 0.0);
  }
}

std::vector<std::string> Labels(const std::vector<SheetEntity>& sheet) {
  std::vector<std::string> out;
  for (const SheetEntity& e : sheet)
    if (e.type == "AcDbText" && e.text.rfind("DK", 0) == 0 && e.text.find('-') == std::string::npos)
      out.push_back(e.text);
  return out;
}

class SectionDrawingTest : public SectionEntityTest {
 protected:
  void TearDown() override {
    DesignLineList.clear();
    SectionEntityTest::TearDown();
  }
};

TEST_F(SectionDrawingTest, ASingleLineSectionIsDrawnAsCustomEntitiesWithTwoReactors) {
  CrossSectionDesigner d;
  MakeDesigned(d, "单线", 102.0, {100.0, 200.0, 300.0});
  CrossSectionDesigner::PrepareSectionSheet();
  d.DrawBaseSections(100.0, 300.0, 1);

  // Per section two design lines, two ground lines, two ditches of each kind
  // and the note, all on layer "Hdm"; two reactors and two line entries.
  const std::vector<SheetEntity> sheet = ModelSpace();
  const auto counts = CountByType(sheet);
  EXPECT_EQ(counts.at("DesignLine"), 6);
  EXPECT_EQ(counts.at("EarthLine"), 6);
  EXPECT_EQ(counts.at("LTGOU"), 6);
  EXPECT_EQ(counts.at("JSGOU"), 6);
  EXPECT_EQ(counts.at("HdmText"), 3);
  for (const SheetEntity& e : sheet) EXPECT_EQ(e.layer, "Hdm") << e.type;
  ASSERT_EQ(SectionReactorList.size(), 6u);
  ASSERT_EQ(DesignLineList.size(), 6u);

  // Each reactor names the section's ground lines, then its line's side's
  // drainage ditch (LTGOU) and top ditch (JSGOU), then the note.
  for (const SectionReactorEntry& entry : SectionReactorList) {
    DesignLine* line = Open<DesignLine>(entry.designLine);
    const int side = line->Data().side;
    line->close();
    const DesignLineReactor& r = *entry.reactor;
    for (const auto& [id, wanted] : {std::pair{r.LEarthObjId, -1}, std::pair{r.REarthObjId, 1}}) {
      EarthLine* earth = Open<EarthLine>(id);
      ASSERT_NE(earth, nullptr);
      EXPECT_EQ(earth->Data().side, wanted);
      earth->close();
    }
    LTGOU* gou = Open<LTGOU>(r.m_GouObjId);
    ASSERT_NE(gou, nullptr);
    EXPECT_EQ(gou->Data().side, side);
    gou->close();
    JSGOU* jsgou = Open<JSGOU>(r.m_JSgouId);
    ASSERT_NE(jsgou, nullptr);
    EXPECT_EQ(jsgou->Data().side, side);
    jsgou->close();
    HdmText* note = Open<HdmText>(r.m_NoteId);
    ASSERT_NE(note, nullptr);
    note->close();
  }

  // The first section's lines in its frame: centre at (330, 55), ground at
  // the centre as reference and base; the crown 2.14 m up, the left
  // shoulder 3.5 m out; the line keeps the section's identity.
  const DesignLineEntry& first = DesignLineList[0];
  EXPECT_DOUBLE_EQ(first.chainage, 100.0);
  EXPECT_EQ(first.sideCode, -1);
  EXPECT_EQ(first.lineCode, 0);
  EXPECT_EQ(first.detourIndex, -1);
  DesignLine* left = Open<DesignLine>(first.designLine);
  const DesignLineData& data = left->Data();
  const SectionFrame frame = data.Frame();
  EXPECT_NEAR(frame.originX, kFirstX, 1e-9);
  EXPECT_NEAR(frame.originY, kFirstY, 1e-9);
  EXPECT_NEAR(frame.factor, 5.0, 1e-12);
  EXPECT_NEAR(frame.referenceElevation, 100.0, 1e-9);
  EXPECT_NEAR(frame.baseElevation, 100.0, 1e-9);
  ASSERT_GE(data.vertices.size(), 5u);
  EXPECT_NEAR(data.vertices[1].x, kFirstX, 1e-9);
  EXPECT_NEAR(data.vertices[1].y, kFirstY + kFillHeight, 1e-9);
  EXPECT_NEAR(data.vertices[4].x, kFirstX - 17.5, 1e-9);
  EXPECT_NEAR(data.vertices[4].y, kFirstY + 10.0, 1e-9);
  EXPECT_EQ(data.sectionRow, 0);
  EXPECT_EQ(data.entityTable, 0);
  EXPECT_EQ(data.embankment.count, 1);
  EXPECT_DOUBLE_EQ(data.embankment.ratio[0], 1.5);

  // The section entity table: two rows per section, the first holding this
  // very line with its companions.
  ASSERT_EQ(SectionEntityTable.size(), 6u);
  const SectionEntitySlot& row = SectionEntityTable[0];
  EXPECT_EQ(row.entity[kRoleDesignLine], static_cast<AcDbEntity*>(left));
  for (const AcDbEntity* e : row.entity) EXPECT_NE(e, nullptr);
  EXPECT_EQ(row.entity[kRoleNote], SectionEntityTable[1].entity[kRoleNote]);
  left->close();

  // The sections stand one above the other in the column.
  DesignLine* third = Open<DesignLine>(DesignLineList[4].designLine);
  EXPECT_NEAR(third->Data().Frame().originY, kFirstY + 2 * kPitch, 1e-9);
  third->close();
}

// The drawn section's reactor names its companions in the order it opens
// them, and the section entity table holds them: a grip drag of the right
// design line by 1 m re-designs that side, on level ground all of it 1 m
// further out.
TEST_F(SectionDrawingTest, AGripDragOnADrawnSectionRedesignsIt) {
  CrossSectionDesigner& d = g_BaselineDesigner;
  MakeDesigned(d, "单线", 102.0, {100.0, 200.0});
  CrossSectionDesigner::PrepareSectionSheet();
  d.DrawBaseSections(100.0, 200.0, 1);
  const double before = d.sections[1].rightLandTake;
  ASSERT_GT(before, 3.5);
  const DesignLineEntry right = DesignLineList[3];
  ASSERT_EQ(right.sideCode, 1);
  ASSERT_DOUBLE_EQ(right.chainage, 200.0);

  platform::TranscriptCapture shown;
  const platform::RunResult run = platform::runScriptText(entity_test::DragSlopeStart(right.designLine, 5.0), "grip");
  ASSERT_TRUE(run.ok) << run.error << shown.text();
  EXPECT_FALSE(shown.contains("Sorry")) << shown.text();
  EXPECT_FALSE(shown.contains("failed")) << shown.text();
  EXPECT_NEAR(d.sections[1].rightLandTake, before + 1.0, 1e-9);
  EXPECT_NEAR(d.sections[0].rightLandTake, before, 1e-9);
  // The note drawn with the section shows it, from the centre line: the
  // crown's offset plus the distance.
  for (const SectionReactorEntry& entry : SectionReactorList) {
    if (entry.designLine != right.designLine) continue;
    HdmText* note = Open<HdmText>(entry.reactor->m_NoteId);
    EXPECT_NEAR(note->Data().landTake[1], d.sections[1].crownOffset[0] + before + 1.0, 1e-9);
    note->close();
  }
}

// The formation width written under a section ("路基面宽", 3.5 + 3.5 m by
// hand) follows a grip drag that re-designs it: the right slope start 1 m
// out makes it 8 m, then the left one 1 m out 9 m. The other section's
// width stays as drawn.
TEST_F(SectionDrawingTest, AGripDragRewritesTheFormationWidthUnderTheSection) {
  CrossSectionDesigner& d = g_BaselineDesigner;
  MakeDesigned(d, "单线", 102.0, {100.0, 200.0});
  CrossSectionDesigner::PrepareSectionSheet();
  d.DrawBaseSections(100.0, 200.0, 1);
  ASSERT_EQ(sheet_test::TextsReading(ModelSpace(), "路基面宽 7.000").size(), 2u);
  const struct {
    size_t line;  // in DesignLineList: section 200's left (2) and right (3) line
    double dx;
    const char* width;
  } drags[] = {{3, 5.0, "路基面宽 8.000"}, {2, -5.0, "路基面宽 9.000"}};
  for (const auto& drag : drags) {
    SCOPED_TRACE(drag.width);
    const DesignLineEntry entry = DesignLineList[drag.line];
    ASSERT_DOUBLE_EQ(entry.chainage, 200.0);
    platform::TranscriptCapture shown;
    const platform::RunResult run =
        platform::runScriptText(entity_test::DragSlopeStart(entry.designLine, drag.dx), "grip");
    ASSERT_TRUE(run.ok) << run.error << shown.text();
    const std::vector<SheetEntity> sheet = ModelSpace();
    const auto now = sheet_test::TextsReading(sheet, drag.width);
    ASSERT_EQ(now.size(), 1u);
    EXPECT_NEAR(now[0].place.x, kFirstX, 1e-9);
    EXPECT_NEAR(now[0].place.y, kFirstY + kPitch - 17.5, 1e-9);
    // Section 100's text, below, is as it was drawn.
    const auto other = sheet_test::TextsReading(sheet, "路基面宽 7.000");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_NEAR(other[0].place.y, kFirstY - 17.5, 1e-9);
  }
}

TEST_F(SectionDrawingTest, TheTextsUnderASectionAndItsNote) {
  CrossSectionDesigner d;
  MakeDesigned(d, "单线", 102.0, {100.0});
  CrossSectionDesigner::PrepareSectionSheet();
  d.DrawBaseSections(100.0, 100.0, 1);
  const std::vector<SheetEntity> sheet = ModelSpace();
  // Chainage, formation width (3.5 + 3.5) and the centre's design level
  // (100 + 2), centred on the centre line below the section.
  struct Row {
    const char* text;
    double y;
  };
  for (const Row& row : {Row{"DK0+100.000", kFirstY - 12.5}, Row{"路基面宽 7.000", kFirstY - 17.5},
                         Row{"设计高程 102.000", kFirstY - 21.0}}) {
    const auto found = sheet_test::TextsReading(sheet, row.text);
    ASSERT_EQ(found.size(), 1u) << row.text;
    EXPECT_NEAR(found[0].place.x, kFirstX, 1e-9) << row.text;
    EXPECT_NEAR(found[0].place.y, row.y, 1e-9) << row.text;
  }
  // The note below them, with the centre fill height.
  for (const SheetEntity& e : sheet) {
    if (e.type != "HdmText") continue;
    HdmText* note = Open<HdmText>(e.id);
    EXPECT_NEAR(note->Data().position.x, kFirstX - 12.5, 1e-9);
    EXPECT_NEAR(note->Data().position.y, kFirstY - 26.0, 1e-9);
    EXPECT_NEAR(note->Data().textHeight, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(note->Data().centreFillHeight, 2.0);
    EXPECT_EQ(note->Data().kind, 1);
    note->close();
  }
}

TEST_F(SectionDrawingTest, PrintingDrawsTheSameSectionsAsPlainEntitiesOnly) {
  CrossSectionDesigner d;
  MakeDesigned(d, "单线", 102.0, {100.0, 200.0, 300.0});
  CrossSectionDesigner::PrepareSectionSheet();
  d.DrawBaseSections(100.0, 300.0, 0);

  const std::vector<SheetEntity> sheet = ModelSpace();
  for (const char* custom : {"DesignLine", "EarthLine", "LTGOU", "JSGOU", "HdmText"})
    EXPECT_EQ(CountByType(sheet).count(custom), 0u) << custom;
  EXPECT_TRUE(SectionReactorList.empty());
  EXPECT_TRUE(DesignLineList.empty());
  // The table keeps nothing of the entities that were deleted after drawing.
  for (const SectionEntitySlot& row : SectionEntityTable)
    for (const AcDbEntity* e : row.entity) EXPECT_EQ(e, nullptr);
  EXPECT_EQ(Labels(sheet), (std::vector<std::string>{"DK0+100.000", "DK0+200.000", "DK0+300.000"}));

  // The design lines in colour 1 (with their shoulder marks), the ground in
  // colour 0, the note's lines in colour 3; each ground line runs 60 m out
  // from the centre.
  int designLines = 0, groundLines = 0, noteLines = 0;
  for (const SheetEntity& e : sheet) {
    EXPECT_EQ(e.layer, "Hdm");
    if (e.type == "AcDbPolyline" && e.colour == 1 && e.points.size() > 3) ++designLines;
    if (e.type == "AcDbPolyline" && e.colour == 0) {
      ++groundLines;
      ASSERT_FALSE(e.points.empty());
      EXPECT_NEAR(std::fabs(e.points.back().x - e.points.front().x), 300.0, 1e-9);
    }
    if (e.type == "AcDbText" && e.colour == 3) ++noteLines;
  }
  EXPECT_EQ(designLines, 6);
  EXPECT_EQ(groundLines, 6);
  EXPECT_EQ(noteLines, 15);
}

// The centre line and the second-line marks by the section's fill or cut
// and its offsets.
TEST_F(SectionDrawingTest, CentreLineAndSecondLineMarks) {
  struct Row {
    const char* lineKind;
    double elevation;  // of the grade line: fill at 102, cut at 98
    double left, right;  // second-line offsets
    double top;          // the ground at the centre on the sheet
    double y1, y2;       // the centre line's ends
    std::vector<double> marks;        // x of each mark, in drawing order
    std::vector<std::string> values;  // their dimension texts
  };
  // A cut section's lowest level is its formation (98): the ground at the
  // centre stands (100 - 98) x 5 = 10 above the sheet place.
  const Row rows[] = {
      {"双线", 102.0, 0.0, 0.0, kFirstY, kFirstY - 10, kFirstY + 20, {}, {}},
      {"双线", 98.0, 0.0, 0.0, kFirstY + 10, kFirstY + 20, kFirstY - 10, {}, {}},
      {"双线", 102.0, 0.001, -0.001, kFirstY, kFirstY - 10, kFirstY + 20, {}, {}},
      {"双线", 102.0, -0.0011, 0.0, kFirstY, kFirstY - 10, kFirstY + 20, {kFirstX - 0.0055}, {"0.001"}},
      {"双线", 102.0, -5.0, 4.5, kFirstY, kFirstY - 10, kFirstY + 20, {kFirstX - 25, kFirstX + 22.5}, {"5.000", "4.500"}},
      {"单线", 102.0, -5.0, 4.5, kFirstY, kFirstY - 10, kFirstY + 20, {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.lineKind) + " " + std::to_string(row.left) + " " + std::to_string(row.right));
    platform::setCurrentDrawing(nullptr);
    CrossSectionDesigner d;
    MakeDesigned(d, row.lineKind, row.elevation, {100.0});
    d.sections[0].leftLineOffset = row.left;
    d.sections[0].rightLineOffset = row.right;
    CrossSectionDesigner::PrepareSectionSheet();
    d.DrawBaseSections(100.0, 100.0, 0);
    const std::vector<SheetEntity> sheet = ModelSpace();

    const std::vector<SheetEntity> lines = sheet_test::CentreLines(sheet);
    ASSERT_EQ(lines.size(), 1 + row.marks.size());
    for (size_t k = 0; k < lines.size(); ++k) {
      const double x = k == 0 ? kFirstX : row.marks[k - 1];
      ASSERT_EQ(lines[k].points.size(), 2u);
      EXPECT_NEAR(lines[k].points[0].x, x, 1e-9);
      EXPECT_NEAR(lines[k].points[1].x, x, 1e-9);
      EXPECT_NEAR(lines[k].points[0].y, row.y1, 1e-9);
      EXPECT_NEAR(lines[k].points[1].y, row.y2, 1e-9);
    }
    // Each mark's dimension: its value midway between the two lines, 0.25
    // of its 2-unit height above the dimension line at the ground + 5.
    for (size_t k = 0; k < row.values.size(); ++k) {
      const auto found = sheet_test::TextsReading(sheet, row.values[k]);
      ASSERT_EQ(found.size(), 1u) << row.values[k];
      EXPECT_NEAR(found[0].place.x, (kFirstX + row.marks[k]) / 2, 1e-9);
      EXPECT_NEAR(found[0].place.y, row.top + 5.0 + 0.5, 1e-9);
    }
    int dimensionLines = 0;
    for (const SheetEntity& e : sheet)
      if (e.type == "AcDbLine") ++dimensionLines;
    EXPECT_EQ(dimensionLines, 5 * static_cast<int>(row.marks.size()));
    EXPECT_DOUBLE_EQ(d.sections[0].leftLineOffset, row.left);
    EXPECT_DOUBLE_EQ(d.sections[0].rightLineOffset, row.right);
  }
}

TEST_F(SectionDrawingTest, OnlyTheSectionsWithinTheRangeAreDrawn) {
  struct Row {
    double start, end;
    std::vector<std::string> drawn;
  };
  const Row rows[] = {
      {100.01, 300.0, {"DK0+200.000", "DK0+300.000"}},
      {100.005, 299.995, {"DK0+100.000", "DK0+200.000", "DK0+300.000"}},
      {100.0, 299.99, {"DK0+100.000", "DK0+200.000"}},
      {150.0, 250.0, {"DK0+200.000"}},
      {310.0, 400.0, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.start) + " .. " + std::to_string(row.end));
    platform::setCurrentDrawing(nullptr);
    CrossSectionDesigner d;
    MakeDesigned(d, "单线", 102.0, {100.0, 200.0, 300.0});
    d.DrawBaseSections(row.start, row.end, 0);
    EXPECT_EQ(Labels(ModelSpace()), row.drawn);
  }
}

// The detour drawing tags each section it reaches with the side code and
// the detour index, on the section's own record. A section outside the
// user's range keeps the tags it had (here those of another detour); one
// inside the range but outside the detour's own stretch is tagged and not
// drawn. The drawing of every detour of a side tags every section.
TEST_F(SectionDrawingTest, DetourDrawingTagsEachSectionItReaches) {
  struct Row {
    const char* what;
    double mileage;
    int sideCode, detourIndex;  // after the range drawing of left detour 2
    bool drawn;
  };
  const std::vector<Row> rows = {
      {"before the range", 100.0, 1, 5, false},
      {"in the range, before the detour's stretch", 250.0, -1, 2, false},
      {"in the range and the stretch", 350.0, -1, 2, true},
      {"after the range", 450.0, 1, 5, false},
  };
  drivers_test::ResetDetourDesigners();
  CrossSectionDesigner base;
  CrossSectionDesigner& d = g_LeftDetourDesigners[2];
  MakeDesigned(d, "单线", 102.0, {100.0, 250.0, 350.0, 450.0});
  for (SectionRecord& r : d.sections) {
    r.sideCode = 1;  // as a drawing of right detour 5 left them
    r.detourIndex = 5;
  }
  platform::setCurrentDrawing(nullptr);
  base.DrawDetourSectionsInRange(g_LeftDetourDesigners, 2, 200.0, 400.0, 300.0, 500.0, "左", 0.0, 0.0, 0);
  const std::vector<std::string> labels = Labels(ModelSpace());
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.what);
    const SectionRecord& r = d.sections[i];
    ASSERT_EQ(r.mileage, row.mileage);
    EXPECT_EQ(r.sideCode, row.sideCode);
    EXPECT_EQ(r.detourIndex, row.detourIndex);
    EXPECT_EQ(std::count(labels.begin(), labels.end(), std::string(r.label)), row.drawn ? 1 : 0);
  }

  // Every detour of the right side: all its sections tagged, those of its
  // stretch drawn.
  CrossSectionDesigner& right = g_RightDetourDesigners[0];
  MakeDesigned(right, "单线", 102.0, {100.0, 250.0, 350.0, 450.0});
  right.segmentOnDetour.sml2 = 300.0;
  right.segmentOnDetour.eml2 = 500.0;
  platform::setCurrentDrawing(nullptr);
  base.DrawAllDetourSections(g_RightDetourDesigners, 1, "右", 0);
  const std::vector<std::string> drawn = Labels(ModelSpace());
  EXPECT_EQ(drawn, (std::vector<std::string>{"DK0+350.000", "DK0+450.000"}));
  for (const SectionRecord& r : right.sections) {
    EXPECT_EQ(r.sideCode, 1) << r.label;
    EXPECT_EQ(r.detourIndex, 0) << r.label;
  }
  drivers_test::ResetDetourDesigners();
}

TEST_F(SectionDrawingTest, AStructureIsLabelledOnceAfterTheLastSectionBeforeIt) {
  struct Row {
    const char* what;
    std::vector<int> inside;  // sections inside the structure
    int code;                 // their structure code
    int labelAfter;           // the section whose label place it takes; -1 none
    const char* label;
  };
  const Row rows[] = {
      {"bridge", {2, 3}, kBridgeInside, 1, "DK0+240.000-DK0+460.000清水河大桥"},
      {"tunnel", {4}, kTunnelInside, 3, "DK0+480.000-DK0+520.000青龙山隧道"},
      {"bridge at the second section", {1}, kBridgeInside, -1, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    platform::setCurrentDrawing(nullptr);
    CrossSectionDesigner d;
    MakeDesigned(d, "单线", 102.0, {100.0, 200.0, 300.0, 400.0, 500.0, 600.0});
    StructureRow* bridge = d.bridges.Replace(1);
    *bridge = StructureRow{240.0, 460.0, "DK0+240.000", "DK0+460.000", "清水河大桥", ""};
    if (row.inside == std::vector<int>{1}) *bridge = StructureRow{150.0, 250.0, "DK0+150.000", "DK0+250.000", "小桥", ""};
    StructureRow* tunnel = d.tunnels.Replace(1);
    *tunnel = StructureRow{480.0, 520.0, "DK0+480.000", "DK0+520.000", "青龙山隧道", ""};
    for (int i : row.inside) d.sections[static_cast<size_t>(i)].leftCode = row.code;
    d.DrawBaseSections(100.0, 600.0, 0);

    const std::vector<SheetEntity> sheet = ModelSpace();
    std::vector<SheetEntity> labels;
    for (const SheetEntity& e : sheet)
      if (e.type == "AcDbText" && e.text.find('-') != std::string::npos) labels.push_back(e);
    // The sections inside are not drawn.
    EXPECT_EQ(Labels(sheet).size(), 6 - row.inside.size());
    if (row.labelAfter < 0) {
      EXPECT_TRUE(labels.empty());
      continue;
    }
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, row.label);
    EXPECT_EQ(labels[0].layer, "Hdm");
    // Above the section before the structure: 4 x 5 above its top.
    const SectionRecord& before = d.sections[static_cast<size_t>(row.labelAfter)];
    EXPECT_NEAR(labels[0].place.x, before.sheetX, 1e-9);
    EXPECT_NEAR(labels[0].place.y, before.sheetY + kFillHeight + 20.0, 1e-9);
  }
}

// The section entity table is sized to the design of each run: a second
// design with more sections draws every one of them, and the entities of the
// first drawing stay with the drawing (closing it frees each once).
TEST_F(SectionDrawingTest, DesignAndDrawTwiceTheSecondTimeWithMoreSections) {
  CrossSectionDesigner d;
  MakeDesigned(d, "单线", 102.0, {100.0, 200.0});
  d.DrawBaseSections(100.0, 200.0, 1);
  EXPECT_EQ(SectionEntityTable.size(), 4u);
  d.DrawBaseSections(100.0, 200.0, 0);  // a printing run in between

  MakeDesigned(d, "单线", 102.0, {100.0, 200.0, 300.0, 400.0, 500.0});
  DetachSectionReactors();
  d.DrawBaseSections(100.0, 500.0, 1);
  ASSERT_EQ(SectionEntityTable.size(), 10u);
  for (const SectionEntitySlot& row : SectionEntityTable)
    for (const AcDbEntity* e : row.entity) EXPECT_NE(e, nullptr);
  EXPECT_EQ(d.runCounter, 3);
  EXPECT_EQ(SectionReactorList.size(), 10u);
  EXPECT_EQ(CountByType(ModelSpace()).at("DesignLine"), 4 + 10);
  // The last section's line finds its row.
  DesignLine* last = Open<DesignLine>(DesignLineList.back().designLine);
  EXPECT_EQ(FindSectionEntitySlot(0, 4, 1)->entity[kRoleDesignLine], static_cast<AcDbEntity*>(last));
  last->close();
  ReleaseSectionReactors();
  platform::setCurrentDrawing(nullptr);
}

TEST_F(SectionDrawingTest, TheCentreLineTypeIsLoadedOnceAndItsFailureSaid) {
  platform::TranscriptCapture capture;
  CrossSectionDesigner d;
  MakeDesigned(d, "单线", 102.0, {100.0});
  for (int run = 0; run < 2; ++run) d.DrawAllSections(1);
  EXPECT_FALSE(capture.contains("加载DASHDOTX2线形失败!"));
  AcDbLinetypeTable* table = nullptr;
  ASSERT_EQ(entity_test::Drawing()->getLinetypeTable(table), Acad::eOk);
  EXPECT_TRUE(table->has("DASHDOTX2"));
  table->close();

  // A drawing saved and opened again keeps the type and loads nothing.
  const std::string file = ::testing::TempDir() + "section_linetype.dxf";
  ASSERT_EQ(entity_test::Drawing()->saveAs(file.c_str()), Acad::eOk);
  ReleaseSectionReactors();
  auto* reopened = new AcDbDatabase(false);
  ASSERT_EQ(reopened->readDwgFile(file.c_str()), Acad::eOk);
  platform::setCurrentDrawing(reopened);
  CrossSectionDesigner::PrepareSectionSheet();
  EXPECT_FALSE(capture.contains("加载DASHDOTX2线形失败!"));

  // Without a drawing the type cannot be loaded: said once.
  platform::closeCurrentDrawing();
  CrossSectionDesigner::PrepareSectionSheet();
  EXPECT_NE(capture.text().find("加载DASHDOTX2线形失败!"), std::string::npos);
  platform::setCurrentDrawing(nullptr);
}

TEST_F(SectionDrawingTest, CastsGiveTheEntityOnlyForItsOwnClass) {
  DesignLine line;
  EarthLine earth;
  LTGOU gou;
  JSGOU jsgou;
  HdmText note;
  AcDbLine plain;
  const AcRxObject* objects[] = {&line, &earth, &gou, &jsgou, &note, &plain, nullptr};
  // Row k: which object each cast gives back (-1: none).
  struct Cast {
    const char* name;
    const AcRxObject* (*cast)(const AcRxObject*);
    int gives;
  };
  const Cast casts[] = {
      {"DesignLine", [](const AcRxObject* o) -> const AcRxObject* { return DesignLine::CastFromObject(o); }, 0},
      {"EarthLine", [](const AcRxObject* o) -> const AcRxObject* { return EarthLine::CastFromObject(o); }, 1},
      {"LTGOU", [](const AcRxObject* o) -> const AcRxObject* { return LTGOU::CastFromObject(o); }, 2},
      {"JSGOU", [](const AcRxObject* o) -> const AcRxObject* { return JSGOU::CastFromObject(o); }, 3},
      {"HdmText", [](const AcRxObject* o) -> const AcRxObject* { return HdmText::CastFromObject(o); }, 4},
  };
  for (const Cast& c : casts)
    for (int k = 0; k < 7; ++k)
      EXPECT_EQ(c.cast(objects[k]), k == c.gives ? objects[k] : nullptr)
          << c.name << " of object " << k;
}

}  // namespace
