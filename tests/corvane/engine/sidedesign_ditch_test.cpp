// Placement of the drainage ditch beyond the toe of a fill, against hand
// geometry. The ditch row: d0 = 2.0 m of berm falling 4 % (0.04 as the lookup
// gives it) towards the ditch, depth 0.6, bottom 0.4, walls 1:1, so the top
// width is 1.6 and the outer top lies d0 + 1.6 beyond the toe, on the ground.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CrossSectionDesigner.h"

namespace {

using Points = std::vector<PairXY>;

DrainageDitchStandard Row() {
  DrainageDitchStandard d;
  d.type = 1;
  d.distance = 2.0;
  d.crossSlope = 0.04;
  d.depth = 0.6;
  d.bottomWidth = 0.4;
  d.innerRatio = d.outerRatio = 1.0;
  d.liningThickness = 0.3;
  return d;
}

Points Line(double grade) {
  Points g;
  for (double x : {0.0, 5.0, 10.0, 15.0, 20.0, 60.0}) g.push_back({x, grade * x});
  return g;
}

// A 5 m fill, 1:1.5, shoulder at (3.5, 5), toe on the ground.
Points FillTo(double toeX, double toeY) {
  return {{0, 5.14}, {0, 5.14}, {3.5, 5}, {3.5, 5}, {3.5, 5}, {toeX, toeY}};
}

struct DitchCase {
  std::string name;
  Points design, ground;
  double ditchLevel;
  int result;
  Points ditch;
};

// Toes on ground falling 3 % and 10 %: 5 − (x − 3.5) / 1.5 = −g x.
const double kToe3 = (5 + 3.5 / 1.5) / (1 / 1.5 - 0.03);
const double kToe10 = (5 + 3.5 / 1.5) / (1 / 1.5 - 0.1);
// Where the berm from the inner top (kToe3 + 2, outer top level) rising 4 %
// inwards meets the slope's line.
const double kOuter3 = -0.03 * (kToe3 + 3.6);
const double kBerm3 = (5 + 3.5 / 1.5 - kOuter3 - 0.04 * (kToe3 + 2)) / (1 / 1.5 - 0.04);

const DitchCase kCases[] = {
    // Flat ground: outer top (14.6, 0), bottom 13.6 .. 14.0 at −0.6, inner top
    // (13, 0); the berm y = 0.04 (13 − x) meets the slope y = 5 − (x − 3.5) / 1.5
    // above the toe, at x = 6.813333 / 0.626667.
    {"flat ground", FillTo(11, 0), Line(0), 104.32, 1,
     {{6.813333333 / 0.626666667, 0.04 * (13 - 6.813333333 / 0.626666667)}, {13, 0}, {13.6, -0.6}, {14, -0.6},
      {14.6, 0}}},
    // Ground falling 3 %: the outer top sinks to (15.118325, −0.453550) and the
    // berm passes below the toe (11.518325, −0.345550); the slope is carried
    // down to meet it at (11.563005, −0.375337): six points, the toe first.
    {"gently falling ground", FillTo(kToe3, -0.03 * kToe3), Line(-0.03), 104.32, 1,
     {{kToe3, -0.03 * kToe3},
      {kBerm3, kOuter3 + 0.04 * (kToe3 + 2 - kBerm3)},
      {kToe3 + 2, kOuter3},
      {kToe3 + 2.6, kOuter3 - 0.6},
      {kToe3 + 3.0, kOuter3 - 0.6},
      {kToe3 + 3.6, kOuter3}}},
    // Ground falling 10 % (steeper than 4 %): no ditch.
    {"ground falling away", FillTo(kToe10, -0.1 * kToe10), Line(-0.1), 104.32, 4, {}},
    // The slope's line never meets the ground line, which ends at 5.
    {"ground not met", FillTo(11, 0), {{0, 0}, {5, 0}}, 104.32, 0, {}},
    {"no slope", {{0, 5.14}, {0, 5.14}, {3.5, 5}, {3.5, 5}, {3.5, 5}}, Line(0), 104.32, 0, {}},
    // Six points whose last leg is flat and meets rising ground at its own level.
    {"low fill of six points", {{0, 1.14}, {0, 1.14}, {3.5, 1}, {3.5, 1}, {3.5, 1}, {6, 1}},
     {{0, 0}, {4, 0}, {6, 1}, {10, 3}}, 104.32, 3, {}},
    // A flat berm at 4.5 meets ground rising to 5: at 104.5 it is above the
    // ditch level 104.32: no room ...
    {"berm above the ditch level", {{0, 5.14}, {0, 5.14}, {3.5, 5}, {3.5, 5}, {3.5, 5}, {4.25, 4.5}, {4.7, 4.5}},
     {{0, 4}, {4.4, 4}, {5, 5}, {30, 5}}, 104.32, 3, {}},
    // ... below a ditch level of 104.6 the ditch is built; its berm never
    // meets the flat leg inwards, so it starts at the toe.
    {"berm below the ditch level", {{0, 5.14}, {0, 5.14}, {3.5, 5}, {3.5, 5}, {3.5, 5}, {4.25, 4.5}, {4.7, 4.5}},
     {{0, 4}, {4.4, 4}, {5, 5}, {30, 5}}, 104.6, 1, {{4.7, 4.5}, {6.7, 5}, {7.3, 4.4}, {7.7, 4.4}, {8.3, 5}}},
    // A vertical wall down to the ground: the berm rises 2 × 4 % = 0.08 to it.
    {"vertical wall", FillTo(3.5, 0), Line(0), 104.32, 1, {{3.5, 0.08}, {5.5, 0}, {6.1, -0.6}, {6.5, -0.6}, {7.1, 0}}},
};

class DrainageDitchCases : public ::testing::TestWithParam<DitchCase> {};

TEST_P(DrainageDitchCases, PlacesTheDitch) {
  const DitchCase& c = GetParam();
  PairXY out[kDrainageDitchPoints] = {};
  int count = -1;
  const int result = CrossSectionDesigner::PlaceDrainageDitch(
      c.ditchLevel, 100.0, Row(), static_cast<int>(c.design.size()), c.design.data(),
      static_cast<int>(c.ground.size()), c.ground.data(), count, out);
  EXPECT_EQ(result, c.result);
  ASSERT_EQ(count, static_cast<int>(c.ditch.size()));
  for (int i = 0; i < count; ++i) {
    EXPECT_NEAR(out[i].x, c.ditch[i].x, 1e-6) << i;
    EXPECT_NEAR(out[i].y, c.ditch[i].y, 1e-6) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(SideDesign, DrainageDitchCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DitchCase>& info) {
                           std::string n;
                           for (char ch : info.param.name) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return n;
                         });

}  // namespace
