// The plan's element computation (AlignmentModel::BuildPlanElements) on lines
// worked by hand: key points, element lists, the end of the line, the curve
// warnings and the early end at an IP without a radius.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "win/transcript.h"

namespace {

constexpr double kPi = std::numbers::pi;
double Deg(double degrees) { return degrees * kPi / 180.0; }

// An IP (N, E) reached from `from` by `length` metres along `bearingDeg`.
IntersectionPoint Ahead(const IntersectionPoint& from, double length, double bearingDeg, double R = 0.0,
                        double L1 = 0.0, double L2 = 0.0) {
  return {from.number + 1,
          from.N + length * std::cos(Deg(bearingDeg)),
          from.E + length * std::sin(Deg(bearingDeg)),
          L1,
          R,
          L2};
}

struct Built {
  std::vector<CurveKeyPoints> keyPoints;
  std::vector<ElementRecord> elements;
  int count = 0;
  double lineLength = 0.0;
  std::string shown;
};

Built Build(const std::vector<IntersectionPoint>& ips) {
  AlignmentModel model;
  PlanElementAreas areas;
  Built b;
  platform::TranscriptCapture capture;
  const int returned = model.BuildPlanElements(ips.data(), static_cast<int>(ips.size()), areas, b.count);
  EXPECT_EQ(returned, b.count);
  b.keyPoints = areas.keyPoints;
  b.elements = areas.elements;
  b.lineLength = model.lineLength;
  b.shown = capture.text();
  return b;
}

// The key points ZH, HY, YH, HZ of one record.
struct Mileages {
  double ZH, HY, YH, HZ;
};

void ExpectKeyPoints(const CurveKeyPoints& k, const Mileages& m, double tol, const std::string& what) {
  EXPECT_NEAR(k.ZH, m.ZH, tol) << what << " ZH";
  EXPECT_NEAR(k.HY, m.HY, tol) << what << " HY";
  EXPECT_NEAR(k.YH, m.YH, tol) << what << " YH";
  EXPECT_NEAR(k.HZ, m.HZ, tol) << what << " HZ";
}

// ---- Curves by hand -------------------------------------------------------------

// One curve of deflection +20° between two legs of 1000 m, R = 1000, from
// the start mileage 0: IPs (0, 0), (1000, 0), (1000 + 1000·cos 20°,
// 1000·sin 20°).
//   no transitions: T = R·tan 10° = 176.327, L = R·α = 349.066,
//     ZH = HY = 1000 − T = 823.673, YH = HZ = 823.673 + 349.066 = 1172.739,
//     end = 1172.739 + 1000 − T = 1996.412;
//   L1 = L2 = 100: p = L²/24R − L⁴/2688R³ = 0.41663, m = L/2 − L³/240R² =
//     49.99583, T = (R + p)·tan 10° + m = 226.396, L = 200 + R·(α − 0.1) =
//     449.066, ZH = 773.604, HY = 873.604, YH = 1122.670, HZ = 1222.670,
//     end = 1222.670 + 773.604 = 1996.274.
TEST(PlanElements, OneCurveWorkedByHand) {
  struct Case {
    const char* name;
    double transition;
    double T, L;
    Mileages curve;
    double end;
    std::vector<int> types;  // element types of records 1 .. count − 1
  };
  const Case cases[] = {
      {"no transitions", 0.0, 176.327, 349.066, {823.673, 823.673, 1172.739, 1172.739}, 1996.412, {1, 2, 1}},
      {"transitions of 100 m",
       100.0,
       226.396,
       449.066,
       {773.604, 873.604, 1122.670, 1222.670},
       1996.274,
       {1, 3, 2, 4, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
    const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, 1000.0, c.transition, c.transition);
    const IntersectionPoint end = Ahead(ip1, 1000.0, 20.0);
    const Built b = Build({start, ip1, end});

    const CurveKeyPoints& k = b.keyPoints[1];
    EXPECT_NEAR(k.deflection, 20.0, 1e-9);  // packed 20°00'00"
    EXPECT_EQ(k.turn, 1.0);
    EXPECT_NEAR(k.T1, c.T, 1e-3);
    EXPECT_NEAR(k.T2, c.T, 1e-3);
    EXPECT_NEAR(k.L, c.L, 1e-3);
    ExpectKeyPoints(b.keyPoints[0], {0, 0, 0, 0}, 1e-12, "start");
    ExpectKeyPoints(k, c.curve, 1e-3, "curve");
    ExpectKeyPoints(b.keyPoints[2], {c.end, c.end, c.end, c.end}, 1e-3, "end");
    EXPECT_NEAR(b.lineLength, c.end, 1e-3);

    ASSERT_EQ(b.count, static_cast<int>(c.types.size()) + 1);
    EXPECT_EQ(b.elements[0].type, 10.0);
    EXPECT_EQ(b.elements[0].p4, 0.0);  // the start mileage
    for (size_t i = 0; i < c.types.size(); ++i) EXPECT_EQ(b.elements[i + 1].type, c.types[i]) << "record " << i + 1;
    // The first straight runs from the start point to ZH.
    EXPECT_NEAR(b.elements[1].p1, c.curve.ZH, 1e-3);
    EXPECT_NEAR(b.elements[1].mileage, 0.0, 1e-12);
    EXPECT_NEAR(b.elements[1].bearing, 0.0, 1e-12);
    // The record after the last holds the end of the line: the last IP,
    // along the second leg.
    const ElementRecord& last = b.elements[b.count];
    EXPECT_NEAR(last.x, 1000.0 + 1000.0 * std::cos(Deg(20)), 1e-4);
    EXPECT_NEAR(last.y, 1000.0 * std::sin(Deg(20)), 1e-4);
    EXPECT_NEAR(last.bearing, Deg(20), 1e-9);
    EXPECT_NEAR(last.mileage, c.end, 1e-3);
    EXPECT_TRUE(b.shown.empty()) << b.shown;
  }
}

TEST(PlanElements, TwoPointsGiveOneStraight) {
  // From (0, 0) to (300, 400): 500 m at 53.130°; start mileage 100.
  const Built b = Build({{0, 0.0, 0.0, 100.0, 0.0, 0.0}, {1, 300.0, 400.0, 0.0, 0.0, 0.0}});
  ASSERT_EQ(b.count, 2);
  EXPECT_EQ(b.elements[1].type, 1.0);
  EXPECT_NEAR(b.elements[1].p1, 500.0, 1e-9);
  EXPECT_NEAR(b.elements[1].bearing, std::atan2(400.0, 300.0), 1e-9);
  ExpectKeyPoints(b.keyPoints[0], {100, 100, 100, 100}, 1e-9, "start");
  ExpectKeyPoints(b.keyPoints[1], {600, 600, 600, 600}, 1e-9, "end");
  EXPECT_NEAR(b.lineLength, 500.0, 1e-9);
  EXPECT_NEAR(b.elements[2].x, 300.0, 1e-9);
  EXPECT_NEAR(b.elements[2].y, 400.0, 1e-9);
  EXPECT_NEAR(b.elements[2].mileage, 600.0, 1e-9);
}

// Turns by the sign of the deflection: across north (bearings 350° then
// 10°) the deflection is +20°; a right curve then a left one turn +1, −1.
// R = 500: T = 500·tan 10° = 88.163, L = 174.533; ZH1 = 1000 − 88.163 =
// 911.837, HZ1 = 1086.369, ZH2 = HZ1 + 1000 − 2T = 1910.042, HZ2 =
// 2084.575, end = HZ2 + 1000 − T = 2996.412.
TEST(PlanElements, TurnFollowsTheDeflection) {
  {
    SCOPED_TRACE("across north");
    const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
    const IntersectionPoint ip1 = Ahead(start, 1000.0, 350.0, 1000.0);
    const Built b = Build({start, ip1, Ahead(ip1, 1000.0, 10.0)});
    EXPECT_NEAR(b.keyPoints[1].deflection, 20.0, 1e-9);
    EXPECT_EQ(b.keyPoints[1].turn, 1.0);
    EXPECT_NEAR(b.keyPoints[1].ZH, 823.673, 1e-3);
    EXPECT_NEAR(b.elements[1].bearing, Deg(350), 1e-9);
  }
  {
    SCOPED_TRACE("right then left");
    const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
    const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, 500.0);
    const IntersectionPoint ip2 = Ahead(ip1, 1000.0, 20.0, 500.0);
    const Built b = Build({start, ip1, ip2, Ahead(ip2, 1000.0, 0.0)});
    EXPECT_EQ(b.keyPoints[1].turn, 1.0);
    EXPECT_EQ(b.keyPoints[2].turn, -1.0);
    ExpectKeyPoints(b.keyPoints[1], {911.837, 911.837, 1086.369, 1086.369}, 1e-3, "right curve");
    ExpectKeyPoints(b.keyPoints[2], {1910.042, 1910.042, 2084.575, 2084.575}, 1e-3, "left curve");
    EXPECT_NEAR(b.keyPoints[3].ZH, 2996.412, 1e-3);
    // The arcs carry their turn.
    ASSERT_EQ(b.count, 6);
    EXPECT_EQ(b.elements[2].p4, 1.0);
    EXPECT_EQ(b.elements[4].p4, -1.0);
  }
}

// Two curves of R = 1000 and 20° whose tangents meet (the leg between them is
// 2T = 352.654): the straight between them has no length and is left out,
// and the second curve starts where the first ends (HZ1 = ZH2 = 1172.739;
// HZ2 = 1172.739 + 349.066 = 1521.805; end = 1521.805 + 823.673 = 2345.478).
TEST(PlanElements, StraightWithoutLengthIsLeftOut) {
  const double twoT = 2.0 * 1000.0 * std::tan(Deg(10));
  const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
  const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, 1000.0);
  const IntersectionPoint ip2 = Ahead(ip1, twoT, 20.0, 1000.0);
  const Built b = Build({start, ip1, ip2, Ahead(ip2, 1000.0, 0.0)});
  ASSERT_EQ(b.count, 5);  // start, straight, arc, arc, straight
  const double types[] = {10, 1, 2, 2, 1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(b.elements[i].type, types[i]) << "record " << i;
  EXPECT_NEAR(b.keyPoints[1].HZ, 1172.739, 1e-3);
  EXPECT_NEAR(b.keyPoints[2].ZH, 1172.739, 1e-3);
  EXPECT_NEAR(b.keyPoints[2].HZ, 1521.805, 1e-3);
  EXPECT_NEAR(b.keyPoints[3].ZH, 2345.478, 1e-3);
  EXPECT_NEAR(b.elements[5].mileage, 2345.478, 1e-3);
}

// The two warnings, at their thresholds. A quarter turn (IPs (0, 0),
// (1000, 0), (1000, 1000)) without transitions has the arc R·π/2: R = 20/(π/2)
// gives 20.000 m, no warning; R = 19.999/(π/2) gives 19.999 m. Transitions of
// 400 m on R = 1000 and 20° overlap: L = 800 + 1000·(0.349066 − 0.4) = 749.066.
TEST(PlanElements, WarningsAtTheirThresholds) {
  struct Case {
    const char* name;
    double R, L1, L2, deflectionDeg;
    const char* expected;  // "" when nothing is shown
  };
  const Case cases[] = {
      {"arc of 20 m", 20.0 / (kPi / 2.0), 0, 0, 90, ""},
      {"arc of 19.999 m", 19.999 / (kPi / 2.0), 0, 0, 90, "\n 1号曲线的(R=    12.7)圆曲线长L=    19.999 不足20m "},
      {"overlapping transitions", 1000, 400, 400, 20,
       "\n 1号曲线 前后缓和曲线重叠：缓长L1+L2=   800.000>大于曲线长L=   749.066 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
    const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, c.R, c.L1, c.L2);
    const Built b = Build({start, ip1, Ahead(ip1, 1000.0, c.deflectionDeg)});
    EXPECT_EQ(b.shown, c.expected);
  }
  // The overlapping curve still has its elements; its arc ends before it begins.
  const IntersectionPoint start{0, 0.0, 0.0, 0.0, 0.0, 0.0};
  const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, 1000, 400, 400);
  const Built b = Build({start, ip1, Ahead(ip1, 1000.0, 20)});
  EXPECT_NEAR(b.keyPoints[1].YH - b.keyPoints[1].HY, 749.066 - 800.0, 1e-3);
  ASSERT_EQ(b.count, 5);  // start, straight, two clothoids, straight: no arc of negative length
  EXPECT_EQ(b.elements[2].type, 3.0);
  EXPECT_EQ(b.elements[3].type, 4.0);
}

// An inner IP whose radius is 0 or less ends the line at the end of the
// curve before it; the IP is named by its number. The first curve is that of
// the one-curve case (HZ = 1172.739); IP 7 has no radius.
TEST(PlanElements, AnIpWithoutRadiusEndsTheLineAtTheCurveBefore) {
  const IntersectionPoint start{5, 0.0, 0.0, 0.0, 0.0, 0.0};
  const IntersectionPoint ip1 = Ahead(start, 1000.0, 0.0, 1000.0);
  IntersectionPoint ip2 = Ahead(ip1, 1000.0, 20.0, 0.0);
  ip2.number = 7;
  const IntersectionPoint ip3 = Ahead(ip2, 1000.0, 0.0, 800.0);
  const Built b = Build({start, ip1, ip2, ip3, Ahead(ip3, 500.0, 30.0)});
  EXPECT_NE(b.shown.find("7号交点的曲线半径R=0.000不大于0"), std::string::npos) << b.shown;
  EXPECT_NEAR(b.lineLength, 1172.739, 1e-3);
  ExpectKeyPoints(b.keyPoints[1], {823.673, 823.673, 1172.739, 1172.739}, 1e-3, "curve 1");
  for (int j = 2; j < 5; ++j) {
    ExpectKeyPoints(b.keyPoints[j], {1172.739, 1172.739, 1172.739, 1172.739}, 1e-3, "after the stop");
  }
  // Start, straight, arc and the (empty) closing element; the end of the line
  // is the end of the arc.
  ASSERT_EQ(b.count, 4);
  EXPECT_EQ(b.elements[3].type, 0.0);
  EXPECT_NEAR(b.elements[4].mileage, 1172.739, 1e-3);
  EXPECT_NEAR(b.elements[4].bearing, Deg(20), 1e-9);
  // The arc ends on the second leg, T = 176.327 after IP 1.
  EXPECT_NEAR(b.elements[4].x, 1000.0 + 176.327 * std::cos(Deg(20)), 1e-3);
  EXPECT_NEAR(b.elements[4].y, 176.327 * std::sin(Deg(20)), 1e-3);
}

TEST(PlanElements, FewerThanTwoPointsBuildNothing) {
  const IntersectionPoint one{0, 10.0, 20.0, 0.0, 0.0, 0.0};
  for (int n : {0, 1}) {
    AlignmentModel model;
    PlanElementAreas areas;
    int count = -1;
    EXPECT_EQ(model.BuildPlanElements(&one, n, areas, count), 0) << n;
    EXPECT_EQ(count, 0) << n;
  }
}

// The end of each element is the start of the next: the mileages add up the
// element lengths (a line with transitions and two curves).
TEST(PlanElements, ElementStatesFollowOneAnother) {
  const IntersectionPoint start{0, 0.0, 0.0, 250.0, 0.0, 0.0};
  const IntersectionPoint ip1 = Ahead(start, 1500.0, 30.0, 1200.0, 120.0, 80.0);
  const IntersectionPoint ip2 = Ahead(ip1, 1800.0, 55.0, 900.0, 60.0, 60.0);
  const Built b = Build({start, ip1, ip2, Ahead(ip2, 1300.0, 10.0)});
  ASSERT_EQ(b.count, 10);
  for (int i = 1; i < b.count; ++i) {
    const double length = ElementLength(b.elements[i]);
    EXPECT_NEAR(b.elements[i + 1].mileage - b.elements[i].mileage, length, 1e-9) << "record " << i;
  }
  // Each curve's key points are element starts.
  EXPECT_NEAR(b.elements[2].mileage, b.keyPoints[1].ZH, 1e-6);
  EXPECT_NEAR(b.elements[3].mileage, b.keyPoints[1].HY, 1e-6);
  EXPECT_NEAR(b.elements[4].mileage, b.keyPoints[1].YH, 1e-6);
  EXPECT_NEAR(b.elements[5].mileage, b.keyPoints[1].HZ, 1e-6);
  // The line ends at the last IP on the last leg's bearing.
  EXPECT_NEAR(b.elements[10].x, Ahead(ip2, 1300.0, 10.0).N, 1e-4);
  EXPECT_NEAR(b.elements[10].y, Ahead(ip2, 1300.0, 10.0).E, 1e-4);
  EXPECT_NEAR(b.elements[10].bearing, Deg(10), 1e-9);
}

}  // namespace
