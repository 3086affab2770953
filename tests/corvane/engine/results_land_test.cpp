// The land files of a line: ZdkData (land-take widths, a left and a right
// block) and PMZTT (plan land use, one line a section), against texts worked
// out by hand.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "corvane/engine/results_support.h"

namespace {

using results_test::ReadText;
using results_test::SetLine;

class LandFilesTest : public results_test::RecordFilesTest {
 protected:
  LandFilesTest() : RecordFilesTest("land") {}
};

struct LandRow {
  const char* label;
  int kind;
  double left, right;            // land-take distances, from the crown of each side
  double leftOffset, rightOffset;  // line offsets
  double leftCrown, rightCrown;    // crown offsets (the second track's on a double-line section)
  int leftCode, rightCode;
};

// The widths are whole metres rounded up from the line to the boundary,
// which stands at the crown offset plus the land-take distance.
TEST_F(LandFilesTest, LandWidthBlocksLeaveOutNarrowSidesAndTunnelMiddlesAndCountWhatTheyWrite) {
  const LandRow rows[] = {
      {"DK0+000", 1, 12.3, 11.2, 0.0, 0.0, 0.0, 0.0, 0, 0},
      {"DK0+020", 1, 0.005, 9.0, 0.0, 0.0, 0.0, 0.0, -4, 0},  // no left land take; tunnel start
      {"DK0+040", 1, 5.0, 5.0, 0.0, 0.0, 0.0, 0.0, 2, 0},     // first inside the tunnel
      {"DK0+060", 1, 5.0, 5.0, 0.0, 0.0, 0.0, 0.0, 2, 0},     // left out
      {"DK0+080", 1, 5.0, 5.0, 0.0, 0.0, 0.0, 0.0, 2, 0},     // last inside the tunnel
      {"DK0+100", 1, 7.5, 7.5, 0.0, 0.0, 0.0, 0.0, 4, 0},
      // One roadbed over the line and a left line 5 m off: its crown midway.
      // Left 6 + 2.5 = 8.5 -> 9; right 6 - 2.5 = 3.5 -> 4.
      {"DK0+120", 1, 6.0, 6.0, -5.0, 0.0, -2.5, 0.0, 0, 0},
      {"DK0+140", 1, 4.0, 4.0, 0.0, 0.0, 0.0, 0.0, -3, 0},      // a code on its own is written as 0
      {"DK0+160", 2, 20.0, 18.0, -5.0, 5.0, -5.0, 5.0, 0, 2},   // the right line in a tunnel
      {"DK0+180", 2, 20.0, 18.0, -5.0, 5.0, -5.0, 5.0, 0, 2},
      // Double track, the line the left track: right 10 + 4.4 = 14.4 -> 15.
      {"DK0+200", 2, 10.0, 10.0, 0.0, 4.4, 0.0, 4.4, 0, 0},
      // A detour's transition, the roadbed spanning the line and the detour
      // 25 m to the left, crown at -12.5: left 20 + 12.5 -> 33, right 7.5 -> 8.
      {"DK0+220", 1, 20.0, 20.0, -25.0, 0.0, -12.5, 0.0, 0, 0},
      // A curve widened on the right moves the crown 0.25 right: 6.75 -> 7, 7.25 -> 8.
      {"DK0+240", 1, 7.0, 7.0, 0.0, 0.0, 0.25, 0.0, 0, 0},
      // The crown 12 m right of the line: the left boundary 5 - 12 = -7 is on
      // the right, so no land on the left (0); right 10 + 12 = 22.
      {"DK0+260", 1, 5.0, 10.0, 0.0, 0.0, 12.0, 0.0, 0, 0},
      // The crown 12.5 m left: right 10 - 12.5 = -2.5 -> 0; left 5 + 12.5 = 17.5 -> 18.
      {"DK0+280", 1, 5.0, 10.0, 0.0, 0.0, -12.5, 0.0, 0, 0},
  };
  CrossSectionDesigner d;
  d.AllocateSections(static_cast<int>(std::size(rows)));
  for (size_t i = 0; i < std::size(rows); ++i) {
    SectionRecord& r = d.sections[i];
    std::strcpy(r.label, rows[i].label);
    r.kind = rows[i].kind;
    r.leftLandTake = rows[i].left;
    r.rightLandTake = rows[i].right;
    r.leftLineOffset = rows[i].leftOffset;
    r.rightLineOffset = rows[i].rightOffset;
    r.crownOffset[0] = rows[i].leftCrown;
    r.crownOffset[1] = rows[i].rightCrown;
    r.leftCode = rows[i].leftCode;
    r.rightCode = rows[i].rightCode;
  }
  const std::string text =
      Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteLandWidthLine(fp); });
  EXPECT_EQ(text,
            "13\n"
            "DK0+000 13.000 1 0 0\n"
            "DK0+040 0.000 1 22 0\n"
            "DK0+080 0.000 1 22 0\n"
            "DK0+100 8.000 1 23 0\n"
            "DK0+120 9.000 1 0 0\n"
            "DK0+140 4.000 1 0 0\n"
            "DK0+160 25.000 2 0 22\n"
            "DK0+180 25.000 2 0 22\n"
            "DK0+200 10.000 2 0 0\n"
            "DK0+220 33.000 1 0 0\n"
            "DK0+240 7.000 1 0 0\n"
            "DK0+260 0.000 1 0 0\n"
            "DK0+280 18.000 1 0 0\n"
            "14\n"
            "DK0+000 12.000 1 0 0\n"
            "DK0+020 9.000 1 21 0\n"
            "DK0+040 0.000 1 22 0\n"
            "DK0+080 0.000 1 22 0\n"
            "DK0+100 8.000 1 23 0\n"
            "DK0+120 4.000 1 0 0\n"
            "DK0+140 4.000 1 0 0\n"
            "DK0+160 0.000 2 0 22\n"
            "DK0+180 0.000 2 0 22\n"
            "DK0+200 15.000 2 0 0\n"
            "DK0+220 8.000 1 0 0\n"
            "DK0+240 8.000 1 0 0\n"
            "DK0+260 22.000 1 0 0\n"
            "DK0+280 0.000 1 0 0\n");
  // The record's own boundary distances, as the quantity table and the note take them.
  EXPECT_DOUBLE_EQ(d.sections[6].LeftLandWidth(), 8.5);
  EXPECT_DOUBLE_EQ(d.sections[6].RightLandWidth(), 3.5);
  EXPECT_DOUBLE_EQ(d.sections[10].RightLandWidth(), 14.4);
  EXPECT_DOUBLE_EQ(d.sections[11].LeftLandWidth(), 32.5);
}

TEST_F(LandFilesTest, LandWidthOfADesignerWithoutSectionsIsTwoEmptyBlocks) {
  CrossSectionDesigner d;
  EXPECT_EQ(Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteLandWidthLine(fp); }), "0\n0\n");
}

TEST_F(LandFilesTest, LandUseLinesTakeRoadbedOuterAndDitchPointsOfTheOuterSides) {
  CrossSectionDesigner d;
  d.AllocateSections(2);

  // A single-line roadbed over the line and a left line 5 m off: its design
  // lines are drawn from its crown, midway at -2.5.
  SectionRecord& s = d.sections[0];
  std::strcpy(s.label, "DK1+000");
  s.kind = 1;
  s.leftLineOffset = -5.0;
  s.crownOffset[0] = -2.5;
  s.referenceElevation[0] = 100.0;
  SetLine(s, -1, {{0, 0.2}, {0, 0.2}, {-3.0, 0.1}, {-3.0, 0.1}, {-3.5, 0.0}, {-6.0, -1.5}, {-9.0, -1.5}});
  SetLine(s, 1,
          {{0, 0.2}, {0, 0.2}, {3, 0.1}, {3, 0.1}, {3.5, 0}, {4.0, -0.6}, {4.5, -0.6}, {5.0, 0}, {5.5, 0}, {8, 1.5}});
  s.formCode[SideIndex(1)] = 1.0;  // a cut: the outer point is offset − |x|
  s.ditchKind[SideIndex(-1)] = 1;
  s.drainageDitchCount[SideIndex(-1)] = 5;
  const double lx[5] = {-9.0, -9.5, -10.0, -10.6, -11.1};
  const double ly[5] = {-1.5, -1.5, -2.3, -2.3, -1.5};
  for (int j = 0; j < 5; ++j) s.drainageDitch[SideIndex(-1)][j] = PairXY{lx[j], ly[j]};

  // A double-line section: the right-side values come from side +2, the
  // right-line offset and the second reference elevation.
  SectionRecord& t = d.sections[1];
  std::strcpy(t.label, "DK1+020");
  t.kind = 2;
  t.leftLineOffset = -5.0;
  t.rightLineOffset = 4.6;
  t.crownOffset[0] = -5.0;  // a double-line section's crowns are its lines'
  t.crownOffset[1] = 4.6;
  t.leftCode = -3;
  t.rightCode = 3;
  t.referenceElevation[0] = 100.0;
  t.referenceElevation[1] = 99.5;
  SetLine(t, -1, {{0, 0.2}, {0, 0.2}, {-3.0, 0.1}, {-7.25, -1.0}});  // fewer than 5 points: roadbed point 0
  t.formCode[SideIndex(-1)] = 1.0;                                    // the left outer point negated
  t.ditchKind[SideIndex(-1)] = 2;
  SetLine(t, 1, {{0, 0}, {0, 0}, {100, 0}, {100, 0}, {100, 0}});  // the inner side: not used
  t.formCode[SideIndex(1)] = 1.0;
  SetLine(t, 2, {{0, 0.2}, {0, 0.2}, {2.8, 0.1}, {2.8, 0.1}, {3.3, 0.0}, {7.0, -1.0}});
  t.ditchKind[SideIndex(2)] = 1;
  t.drainageDitchCount[SideIndex(2)] = 6;
  const double rx[6] = {7.0, 7.5, 8.0, 8.4, 9.0, 9.6};
  const double ry[6] = {-1.0, -1.0, -1.2, -1.8, -1.8, -1.2};
  for (int j = 0; j < 6; ++j) t.drainageDitch[SideIndex(2)][j] = PairXY{rx[j], ry[j]};

  const std::string text = Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteLandUseLine(fp); });
  // Single: roadbed 3.5 + 2.5, 3.5 − 2.5; outer 9 + 2.5, −2.5 − 8 (a cut);
  // ditch centre |(−10.6 − 10.0) / 2| + 2.5 at 100 − 2.3.
  // Double: roadbed 0 (4 points), 3.3 + 4.6; outer −(7.25 + 5), 7.0 + 4.6;
  // ditch centre (9.0 + 8.4) / 2 + 4.6 at 99.5 − 1.8.
  EXPECT_EQ(text,
            "2\n"
            "DK1+000 1 0 0 6.000 1.000 11.500 -10.500 12.800 -1.000 97.700 -1.000\n"
            "DK1+020 2 11 13 0.000 7.900 -12.250 11.600 -1.000 13.300 -1.000 97.700\n");
}

}  // namespace
