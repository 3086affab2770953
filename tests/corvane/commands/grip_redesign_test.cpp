// A grip drag of a drawn design line, given as a cadhost script, on a section
// designed by the engine: the reactor has the section re-designed from the
// moved vertices, and the design line, its ditches and the note come out as
// the side design gives them; a section inside a bridge, and a line that no
// designer owns, are left as the user made them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SlopeEdit.h"
#include "arx/edcmdline.h"
#include "arx/prompt_input.h"
#include "drawn_section.h"
#include "resources/CorvaneResources.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace {

using namespace entity_test;

struct Snapshot {
  DesignLineData line;
  SectionDitchData gou, jsgou;
  SectionNoteData note;
};

class GripRedesignTest : public SectionEntityTest {
 protected:
  Snapshot Take(const DrawnSection& s, int i) {
    Snapshot out;
    DesignLine* line = Open<DesignLine>(s.line[i]);
    out.line = line->Data();
    line->close();
    LTGOU* gou = Open<LTGOU>(s.gou[i]);
    out.gou = gou->Data();
    gou->close();
    JSGOU* js = Open<JSGOU>(s.jsgou[i]);
    out.jsgou = js->Data();
    js->close();
    HdmText* note = Open<HdmText>(s.note);
    out.note = note->Data();
    note->close();
    return out;
  }
};

void ExpectPoints(const std::vector<AcGePoint3d>& got, const std::vector<AcGePoint3d>& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t k = 0; k < want.size(); ++k) {
    EXPECT_NEAR(got[k].x, want[k].x, 1e-9) << what << " point " << k;
    EXPECT_NEAR(got[k].y, want[k].y, 1e-9) << what << " point " << k;
  }
}

// The drawn points of a side's local points (x outwards).
std::vector<AcGePoint3d> DrawnSide(const SectionFrame& f, int side, const PairXY* points, int count) {
  std::vector<AcGePoint3d> out;
  for (int j = 0; j < count; ++j)
    if (std::fabs(points[j].x) > 0.0001) out.push_back(DrawnAt(f, side * points[j].x, points[j].y));
  return out;
}

TEST_F(GripRedesignTest, DraggedSlopeStartRedesignsTheSideAsTheSideDesignGivesIt) {
  struct Case {
    const char* what;
    double elevation;  // of the grade line: 102 fill, 98 cut
    int side;
    int lineCode, detourIndex, table;
    bool detourDesigner;  // the section is a left detour designer's
    bool staleSlot;       // the table's slot holds other entities
    bool redesigned;
    int ditchKind;  // of the re-designed side
  };
  // On level ground the right fill side gets a drainage ditch, the left one
  // a point symbol at its toe, a cut side its side ditch and a top ditch.
  const std::vector<Case> cases = {
      {"a fill side, right", 102.0, 1, 0, -1, 0, false, false, true, kDitchDrainage},
      {"a fill side, left", 102.0, -1, 0, -1, 0, false, false, true, kDitchNoRoom},
      {"a cut side with side and top ditch", 98.0, 1, 0, -1, 0, false, false, true, kDitchTop},
      {"a left detour's section", 102.0, 1, -1, 0, -1, true, false, true, kDitchDrainage},
      {"a slot left from another drawing", 102.0, 1, 0, -1, 0, false, true, true, kDitchDrainage},
      {"a baseline line with a detour index", 102.0, 1, 0, 3, 0, false, false, false, 0},
      {"a line code of no designer", 102.0, 1, 2, -1, 0, false, false, false, 0},
      {"a detour designer not in use", 102.0, 1, -1, 5, -6, false, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::setCurrentDrawing(nullptr);
    CrossSectionDesigner& d = c.detourDesigner ? g_LeftDetourDesigners[0] : g_BaselineDesigner;
    if (c.detourDesigner) SetDetourDesignerCount(-1, 1);
    MakeDesignedSection(d, c.elevation);
    g_DrawingFactor = 5.0;
    const DrawnSection s = DrawSection(d, 0, c.lineCode, c.detourIndex, c.table);
    const int i = c.side < 0 ? 0 : 1;
    const int k = SideIndex(c.side);
    EarthLine stranger;
    if (c.staleSlot)
      for (SectionEntitySlot& slot : SectionEntityTable) slot.entity[kRoleRightEarth] = &stranger;

    // What the side design gives for the formation one metre wider on this
    // side, worked out before the record changes.
    const SectionRecord before = d.sections[0];
    PairXY top[4];
    for (int j = 0; j < 4; ++j) top[j] = before.roadbedTop[k][j];
    for (int j = 1; j < 4; ++j) top[j].x += 1.0;
    double reference = 0.0;
    std::vector<PairXY> left, right;
    CrossSectionDesigner::GroundProfileFrom(before.crownOffset[0], before.groundElevation,
                                            before.groundBlocks[0].leftCount, before.groundBlocks[0].left,
                                            before.groundBlocks[0].rightCount, before.groundBlocks[0].right,
                                            reference, left, right);
    const std::vector<PairXY>& ground = c.side < 0 ? left : right;
    SideDesign want;
    want.formCode = before.formCode[k];
    d.DesignSide(c.side, kSectionML, 1000.0, reference, static_cast<int>(ground.size()), ground.data(), top, want);
    const Snapshot was = Take(s, i);

    platform::TranscriptCapture shown;
    const platform::RunResult run = platform::runScriptText(DragSlopeStart(s.line[i], 5.0 * c.side), "grip");
    ASSERT_TRUE(run.ok) << run.error << shown.text();
    EXPECT_FALSE(shown.contains("Sorry")) << shown.text();
    EXPECT_FALSE(shown.contains("acdbOpenObject")) << shown.text();
    const Snapshot now = Take(s, i);

    if (!c.redesigned) {
      // The edit stays as the user made it: the slope start and the slope
      // beyond it one metre out; ditches, note and section unchanged.
      std::vector<AcGePoint3d> moved = was.line.vertices;
      for (size_t j = 2; j < moved.size(); ++j) moved[j].x += 5.0 * c.side;
      ExpectPoints(now.line.vertices, moved, "design line");
      ExpectPoints(now.gou.vertices, was.gou.vertices, "drainage ditch");
      ExpectPoints(now.jsgou.vertices, was.jsgou.vertices, "top ditch");
      EXPECT_EQ(now.note.landTake[i], was.note.landTake[i]);
      EXPECT_EQ(d.sections[0].rightLandTake, before.rightLandTake);
      continue;
    }

    // The design line: the side design's points through the frame, vertex 0
    // on the centre line.
    std::vector<AcGePoint3d> line;
    for (const PairXY& p : want.points) line.push_back(DrawnAt(s.frame, c.side * p.x, p.y));
    line[0] = AcGePoint3d(s.frame.originX, line[1].y, 0.0);
    ExpectPoints(now.line.vertices, line, "design line");
    EXPECT_EQ(now.line.formCode, want.formCode);
    // The ditches: the kind on both, the points on the one that shows it.
    EXPECT_EQ(want.ditchKind, c.ditchKind);
    EXPECT_EQ(now.gou.kind, want.ditchKind);
    EXPECT_EQ(now.jsgou.kind, want.ditchKind);
    if (want.ditchKind == kDitchDrainage) {
      ExpectPoints(now.gou.vertices, DrawnSide(s.frame, c.side, want.drainageDitch, want.drainageDitchCount),
                   "drainage ditch");
      EXPECT_EQ(now.gou.outline.size(), 9u);
    }
    if (want.ditchKind == kDitchTop) {
      ExpectPoints(now.jsgou.vertices, DrawnSide(s.frame, c.side, want.topDitch, want.topDitchCount), "top ditch");
      EXPECT_EQ(now.jsgou.outline.size(), 9u);
      EXPECT_EQ(now.line.extraPoints.size(), 9u);  // the side ditch's lining
    }
    if (want.ditchKind == kDitchNoRoom) {
      EXPECT_EQ(now.gou.vertices.size(), 7u);  // the point symbol at the toe
    }
    // The note: this side's land take and areas, the totals.
    EXPECT_NEAR(now.note.landTake[i], want.landTake, 1e-9);
    EXPECT_NEAR(now.note.landTake[1 - i], was.note.landTake[1 - i], 1e-9);
    const AreaTriple& fill = now.note.areas.fillParts;
    EXPECT_NEAR(c.side < 0 ? fill.left : fill.right, want.fillArea, 1e-9);
    EXPECT_NEAR(c.side < 0 ? now.note.areas.cutParts.left : now.note.areas.cutParts.right, want.cutArea, 1e-9);
    EXPECT_NEAR(now.note.fillTotal, fill.left + fill.middle + fill.right, 1e-9);
    EXPECT_NEAR(c.side < 0 ? d.sections[0].leftLandTake : d.sections[0].rightLandTake, want.landTake, 1e-9);
    if (c.elevation > 100.0) {
      // By hand, on level ground 2 m below the shoulder: the slope keeps its
      // 1:1.5 one metre further out, so the land take widens by 1 m; the
      // formation, 2.14 m high at the crown and 2 m at the shoulder, now
      // spans 4.5 m instead of 3.5 m, so the fill grows by (2.14 + 2) / 2.
      EXPECT_NEAR(now.note.landTake[i] - was.note.landTake[i], 1.0, 1e-9);
      if (want.ditchKind == kDitchNoRoom) {
        EXPECT_NEAR(now.note.landTake[i], 7.5, 1e-9);  // 4.5 + 1.5 × 2
      }
      const double fillBefore = c.side < 0 ? was.note.areas.fillParts.left : was.note.areas.fillParts.right;
      EXPECT_NEAR((c.side < 0 ? fill.left : fill.right) - fillBefore, (2.14 + 2.0) / 2, 1e-9);
    }
  }
}

// A section inside a bridge is not re-designed: the line keeps the edit, the
// ditches and the note stay as they were.
TEST_F(GripRedesignTest, ASectionInsideABridgeIsLeftAlone) {
  MakeDesignedSection(g_BaselineDesigner, 102.0);
  g_BaselineDesigner.sections[0].leftCode = kBridgeInside;
  const DrawnSection s = DrawSection(g_BaselineDesigner, 0, 0, -1, 0);
  const Snapshot was = Take(s, 1);
  const double landTake = g_BaselineDesigner.sections[0].rightLandTake;
  platform::TranscriptCapture shown;
  ASSERT_TRUE(platform::runScriptText(DragSlopeStart(s.line[1], 5.0), "grip").ok) << shown.text();
  const Snapshot now = Take(s, 1);
  std::vector<AcGePoint3d> moved = was.line.vertices;
  for (size_t j = 2; j < moved.size(); ++j) moved[j].x += 5.0;
  ExpectPoints(now.line.vertices, moved, "design line");
  ExpectPoints(now.gou.vertices, was.gou.vertices, "drainage ditch");
  EXPECT_EQ(now.gou.kind, was.gou.kind);
  EXPECT_EQ(now.note.landTake[1], was.note.landTake[1]);
  EXPECT_EQ(g_BaselineDesigner.sections[0].rightLandTake, landTake);
}

// EDITBP writes the line it edits without designing the section again: the
// slope start lies where the new width puts it and the ditches, the note and
// the designer's section stay as designed. A grip drag afterwards still
// re-designs the section.
TEST_F(GripRedesignTest, SlopeEditKeepsTheEditWhileAGripDragStillRedesigns) {
  RegisterCorvaneResources();
  MakeDesignedSection(g_BaselineDesigner, 102.0);
  const DrawnSection s = DrawSection(g_BaselineDesigner, 0, 0, -1, 0);
  const Snapshot was = Take(s, 1);
  const double landTake = g_BaselineDesigner.sections[0].rightLandTake;
  const double* a = was.line.geometry.pointA;
  const double* start = was.line.geometry.slopeStart[0];
  const double oldWidth = std::hypot(start[0] - a[0], start[1] - a[1]);
  ASSERT_GT(oldWidth, 0.0);
  // A width 5 wider, as the edit shows it (two decimals).
  char text[40], answer[80];
  std::snprintf(text, sizeof text, "%.2f", oldWidth + 5.0);
  const double width = std::atof(text);
  std::snprintf(answer, sizeof answer, "@2532 288=%s 259", text);
  std::string error;
  platform::queuePromptToken(Pick(s.line[1]));
  ASSERT_TRUE(platform::queueAnswerLine(answer, &error)) << error;
  platform::TranscriptCapture shown;
  OnCmdEDITBP();
  EXPECT_EQ(platform::pendingAnswers(), 0u);

  const Snapshot edited = Take(s, 1);
  // The slope start moved along A→start to the new width, the fifth vertex with it.
  const double x = a[0] + (start[0] - a[0]) * width / oldWidth, y = a[1] + (start[1] - a[1]) * width / oldWidth;
  EXPECT_NEAR(edited.line.geometry.slopeStart[0][0], x, 1e-9);
  EXPECT_NEAR(edited.line.geometry.slopeStart[0][1], y, 1e-9);
  ASSERT_GT(edited.line.vertices.size(), 4u);
  EXPECT_NEAR(edited.line.vertices[4].x, x, 1e-9);
  // Nothing was designed again.
  for (size_t j = 0; j < was.line.vertices.size(); ++j)
    if (j != 4) {
      EXPECT_EQ(edited.line.vertices[j].x, was.line.vertices[j].x) << "vertex " << j;
    }
  ExpectPoints(edited.gou.vertices, was.gou.vertices, "drainage ditch");
  ExpectPoints(edited.jsgou.vertices, was.jsgou.vertices, "top ditch");
  EXPECT_EQ(edited.note.landTake[1], was.note.landTake[1]);
  EXPECT_EQ(g_BaselineDesigner.sections[0].rightLandTake, landTake);
  EXPECT_FALSE(SectionRedesignPause::Active());

  // A grip drag re-designs: the fill side one metre further out takes 1 m more land.
  ASSERT_TRUE(platform::runScriptText(DragSlopeStart(s.line[1], 5.0), "grip").ok) << shown.text();
  const Snapshot dragged = Take(s, 1);
  EXPECT_NE(dragged.note.landTake[1], was.note.landTake[1]);
  EXPECT_NE(g_BaselineDesigner.sections[0].rightLandTake, landTake);
  platform::clearAnswers();
  platform::clearPromptTokens();
}

}  // namespace
