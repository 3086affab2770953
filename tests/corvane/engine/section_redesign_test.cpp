// The re-design of one section after an edit of its drawn design line: which
// sections and sides are redone (the note's kind picks the single-line or the
// double-line variant; sections inside structures are left alone), and what
// the record and the line take from it.
#include <gtest/gtest.h>

#include <vector>

#include "CrossSectionDesigner.h"
#include "drivers_support.h"

namespace {

using drivers_test::MakeLevelDesigner;

constexpr double kF = 5.0;

// The test's frame: origin (1000, 500), factor 5, reference 100, base 95.
SectionFrame Frame() {
  SectionFrame f;
  f.originX = 1000.0;
  f.originY = 500.0;
  f.factor = kF;
  f.referenceElevation = 100.0;
  f.baseElevation = 95.0;
  return f;
}

AcGePoint3d Drawn(const SectionFrame& f, double x, double y) {
  return AcGePoint3d(f.originX + f.factor * x, (f.referenceElevation + y - f.baseElevation) * f.factor + f.originY, 0);
}

// The drawn design line of side `side` of section 0, with its slope start
// (and the slope beyond it) dragged one metre outwards.
DesignLineData DraggedLine(const CrossSectionDesigner& d, int side) {
  const SectionRecord& r = d.sections[0];
  const SectionFrame f = Frame();
  DesignLineData line;
  const AcGePoint3dArray& points = r.designLines[SideIndex(side)];
  for (int j = 0; j < points.length(); ++j) line.vertices.push_back(Drawn(f, points[j].x, points[j].y));
  const double outwards = side < 0 ? -kF : kF;
  for (size_t j = 2; j < line.vertices.size(); ++j) line.vertices[j].x += outwards;
  line.SetFrame(f);
  line.SetFormCode(r.formCode[SideIndex(side)]);
  line.embankment.count = 1;
  line.embankment.ratio[0] = 1.5;
  line.embankment.height[0] = 100.0;
  line.cutting = line.embankment;
  line.side = side;
  return line;
}

TEST(SectionRedesignTest, TheVariantAndTheStructuresDecideWhatIsRedone) {
  struct Case {
    const char* what;
    bool doubleLine;
    int leftCode, rightCode;
    int noteKind;
    int side;
    int row;
    int result;
  };
  const std::vector<Case> cases = {
      {"single line, right side", false, 0, 0, 1, 1, 0, 1},
      {"single line, left side", false, 0, 0, 1, -1, 0, 1},
      {"single line in a station", false, kStationInside, 0, 1, 1, 0, 0},
      {"single line in a bridge", false, kBridgeInside, 0, 1, 1, 0, 0},
      {"double line, the right track's outer side", true, 0, 0, 2, 2, 0, 1},
      {"double line, the left track's outer side", true, 0, 0, 2, -1, 0, 1},
      {"double line, an inner side is not redone", true, 0, 0, 2, 1, 0, 0},
      {"double line, one track in a bridge", true, kBridgeInside, 0, 2, 2, 0, 1},
      {"double line, both tracks in structures", true, kBridgeInside, kTunnelInside, 2, 2, 0, 0},
      {"a single-line note on a second-track side", true, 0, 0, 1, 2, 0, 0},
      {"a row outside the sections", false, 0, 0, 1, 1, 7, 0},
      {"a negative row", false, 0, 0, 1, 1, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner d;
    MakeLevelDesigner(d, c.doubleLine ? "双线" : "单线", 102.0, {500.0, 520.0});
    SectionRecord& r = d.sections[0];
    if (c.doubleLine) {
      r.leftLineOffset = -12.0;
      d.DesignDoubleSection(0, 0, -12.0, 0.0, 0, 0, -1, -1);
    } else {
      d.DesignSingleSection(0, 1, 0.0, 0.0);
    }
    r.leftCode = c.leftCode;
    r.rightCode = c.rightCode;
    const SectionRecord before = r;
    DesignLineData line = DraggedLine(d, c.side);
    const DesignLineData dragged = line;
    SectionDitchData ditch, topDitch;
    SectionNoteData note;
    note.kind = c.noteKind;
    EXPECT_EQ(d.RedesignEditedSection(c.row, line, nullptr, ditch, topDitch, nullptr, note), c.result);
    if (c.result == 0) {
      // Nothing changes: the line keeps the drag, the record its design.
      ASSERT_EQ(line.vertices.size(), dragged.vertices.size());
      for (size_t j = 0; j < line.vertices.size(); ++j) EXPECT_EQ(line.vertices[j], dragged.vertices[j]);
      EXPECT_EQ(r.leftLandTake, before.leftLandTake);
      EXPECT_EQ(r.rightLandTake, before.rightLandTake);
      EXPECT_EQ(r.areas.fill, before.areas.fill);
      continue;
    }
    // By hand, on level ground 2 m below the formation: the shoulder moves
    // from 3.5 to 4.5 m and the 1:1.5 slope reaches the ground 3 m further,
    // at 7.5 m from the track's centre; no land widening is added.
    const int k = SideIndex(c.side);
    const double outwards = c.side < 0 ? -1.0 : 1.0;
    EXPECT_NEAR(c.side < 0 ? r.leftLandTake : r.rightLandTake, 7.5, 1e-9);
    // The note measures from the section's centre line: the left track of
    // the double line stands 12 m left of it.
    const double trackOffset = c.doubleLine && c.side < 0 ? 12.0 : 0.0;
    EXPECT_NEAR(note.landTake[c.side < 0 ? 0 : 1], 7.5 + trackOffset, 1e-9);
    EXPECT_NEAR(r.roadbedTop[k][3].x, 4.5, 1e-9);
    ASSERT_EQ(r.designLines[k].length(), 6);
    EXPECT_NEAR(r.designLines[k][5].x, 7.5 * outwards, 1e-9);
    EXPECT_NEAR(r.designLines[k][5].y, 0.0, 1e-9);
    // The line is rebuilt from the record: the toe drawn at 7.5 m, ground level.
    ASSERT_EQ(line.vertices.size(), 6u);
    EXPECT_NEAR(line.vertices[5].x, 1000.0 + kF * 7.5 * outwards, 1e-9);
    EXPECT_NEAR(line.vertices[5].y, (100.0 - 95.0) * kF + 500.0, 1e-9);
    EXPECT_NEAR(line.vertices[0].x, 1000.0, 1e-9);
    EXPECT_EQ(line.vertices[0].y, line.vertices[1].y);
    // The slope-leg geometry follows the new slope start.
    EXPECT_EQ(line.geometry.slopeStart[0][0], line.vertices[4].x);
    // The record's totals are the sums of its parts again.
    EXPECT_NEAR(r.fillTotal, r.areas.fillParts.left + r.areas.fillParts.middle + r.areas.fillParts.right, 1e-9);
    EXPECT_NEAR(note.fillTotal, r.fillTotal, 1e-9);
  }
}

}  // namespace
