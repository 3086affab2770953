#pragma once
// Designers for the section-driver, double-line and run tests, set up in
// code: a flat grade line, the half-distances, plain standards (one slope
// grade each way, a limit width, no ditches, no layers) and sections over
// flat ground, so that the geometry can be followed by hand.

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "corvane/data/detour_support.h"

namespace drivers_test {

constexpr double kWa = 3.0;  // shoulder distance of cuttings and low fills
constexpr double kWb = 3.5;  // shoulder distance of embankments

// Embankment 1:1.5 and cutting 1:1, each one grade of 20 m; a limit width of
// 50 m on both sides; every other table empty.
inline void SetPlainStandards(CrossSectionDesigner& d, double embankmentRatio = 1.5, double cuttingRatio = 1.0) {
  for (int side : {-1, 1}) {
    SideStandards& s = d.Standards(side);
    StandardValueEntry* limit = s.limitWidth.Replace(1);
    limit->endMileage = 1e9;
    limit->value = 50.0;
    SlopeGradesEntry* fill = s.embankmentSlopes.Replace(1);
    fill->endMileage = 1e9;
    fill->gradeCount = 1;
    fill->grades[0] = SlopeGrade{embankmentRatio, 20.0, 0.0, 0.0};
    SlopeGradesEntry* cut = s.cuttingSlopes.Replace(1);
    cut->endMileage = 1e9;
    cut->gradeCount = 1;
    cut->grades[0] = SlopeGrade{cuttingRatio, 20.0, 0.0, 0.0};
  }
}

// A level grade line at `elevation` from mileage 0 to 10000.
inline void SetLevelGrade(CrossSectionDesigner& d, double elevation) {
  const GradePoint points[2] = {{0.0, elevation, 0.0, 0.0}, {10000.0, elevation, 0.0, 0.0}};
  d.SetGradePoints(2, points, "坡度表");
  d.BuildGradeTable();
}

// A ground block of level ground `dy` below the centre, 60 m a side.
inline GroundBlock LevelBlock(int layer, int rockType, double dy = 0.0) {
  GroundBlock b;
  b.layer = layer;
  b.rockType = rockType;
  b.leftCount = b.rightCount = 2;
  b.left[0] = b.right[0] = PairXY{0.0, dy};
  b.left[1] = b.right[1] = PairXY{60.0, dy};
  return b;
}

// A designer of line kind `lineKind` with the half-distances, the plain
// standards and the level grade line at `elevation`, and sections at the
// mileages over level ground at 100 m (ground line only, rock type 2).
inline void MakeLevelDesigner(CrossSectionDesigner& d, const char* lineKind, double elevation,
                              std::initializer_list<double> mileages) {
  d.lineKind = lineKind;
  d.halfDistance1 = kWa;
  d.halfDistance2 = kWb;
  d.bridgeLandTakeMargin = 8.0;
  SetPlainStandards(d);
  SetLevelGrade(d, elevation);
  d.AllocateSections(static_cast<int>(mileages.size()));
  int i = 0;
  for (double m : mileages) {
    SectionRecord& r = d.sections[static_cast<size_t>(i++)];
    r.mileage = m;
    std::snprintf(r.label, sizeof r.label, "DK%d+%03d.000", static_cast<int>(m) / 1000, static_cast<int>(m) % 1000);
    r.groundElevation = 100.0;
    r.groundBlocks = {LevelBlock(0, 2)};
  }
}

// The (x, y) points of one design line of a record.
inline std::vector<std::pair<double, double>> LineOf(const SectionRecord& r, int side) {
  std::vector<std::pair<double, double>> out;
  const AcGePoint3dArray& line = r.designLines[SideIndex(side)];
  for (int j = 0; j < line.length(); ++j) out.emplace_back(line[j].x, line[j].y);
  return out;
}

inline void ExpectLine(const SectionRecord& r, int side, std::initializer_list<std::pair<double, double>> points) {
  const auto got = LineOf(r, side);
  ASSERT_EQ(got.size(), points.size()) << "side " << side;
  size_t j = 0;
  for (const auto& p : points) {
    EXPECT_NEAR(got[j].first, p.first, 1e-6) << "side " << side << " point " << j;
    EXPECT_NEAR(got[j].second, p.second, 1e-6) << "side " << side << " point " << j;
    ++j;
  }
}

using detour_test::ResetDetourDesigners;

}  // namespace drivers_test
