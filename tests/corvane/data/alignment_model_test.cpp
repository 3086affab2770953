// The alignment model: elements and key points built from an IP table, the
// curve checks, the break table, and the inputs it refuses.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "corvane/data/alignment_support.h"
#include "geometry/ElementState.h"
#include "geometry/GeoFunctions.h"
#include "win/transcript.h"

namespace {

using namespace alignment_test;

struct Point {
  double x, y;
};
Point Along(Point p, double distance, double bearingDegrees) {
  return {p.x + distance * std::cos(Radians(bearingDegrees)), p.y + distance * std::sin(Radians(bearingDegrees))};
}
double Distance(Point a, double x, double y) { return std::hypot(a.x - x, a.y - y); }

class AlignmentModelTest : public ::testing::Test {
 protected:
  std::unique_ptr<AlignmentModel> Build(const std::vector<IpRecord>& ips, const char* prefix = "AK") {
    auto model = std::make_unique<AlignmentModel>();
    built = model->CreateFromRecords(static_cast<int>(ips.size()), ips.data(), prefix, "JD");
    return model;
  }
  ProjectEnvironment project;
  int built = -1;
};

// Four legs of 1000, 1200, 1000 and 800 m with bearings 0°, 30°, 10° and 35°:
// a curve with equal transitions (R 800, 100 + 100), a reverse curve without
// transitions (R 1000) and a curve with unequal transitions (R 600, 60 + 120).
// The line starts at mileage 500.
struct SampleLine {
  Point ip[5];
  std::vector<IpRecord> records;
  CurveByHand c1 = Curve(Radians(30), 800, 100, 100);
  CurveByHand c2 = Curve(Radians(20), 1000, 0, 0);
  CurveByHand c3 = Curve(Radians(25), 600, 60, 120);
  double ZH1, HY1, YH1, HZ1, ZH2, HZ2, ZH3, HY3, YH3, HZ3, end;

  SampleLine() {
    ip[0] = {0, 0};
    ip[1] = Along(ip[0], 1000, 0);
    ip[2] = Along(ip[1], 1200, 30);
    ip[3] = Along(ip[2], 1000, 10);
    ip[4] = Along(ip[3], 800, 35);
    records = {{0, ip[0].x, ip[0].y, 500, 0, 0},
               {1, ip[1].x, ip[1].y, 100, 800, 100},
               {2, ip[2].x, ip[2].y, 0, 1000, 0},
               {3, ip[3].x, ip[3].y, 60, 600, 120},
               {4, ip[4].x, ip[4].y, 0, 0, 0}};
    ZH1 = 500 + 1000 - c1.T1;
    HY1 = ZH1 + 100;
    HZ1 = ZH1 + c1.L;
    YH1 = HZ1 - 100;
    ZH2 = HZ1 + 1200 - c1.T2 - c2.T1;
    HZ2 = ZH2 + c2.L;
    ZH3 = HZ2 + 1000 - c2.T2 - c3.T1;
    HY3 = ZH3 + 60;
    HZ3 = ZH3 + c3.L;
    YH3 = HZ3 - 120;
    end = HZ3 + 800 - c3.T2;
  }
};

TEST_F(AlignmentModelTest, ResetTakesTheTechnicalParametersAndTheDefaultTable) {
  AlignmentModel model;
  EXPECT_EQ(model.speed, 160.0);
  EXPECT_EQ(model.nameText, "测试线");
  EXPECT_EQ(model.param2, 4.5);
  EXPECT_STREQ(model.ipPrefix, "JD");
  EXPECT_EQ(model.ipCount, 0);
  ASSERT_EQ(model.breakCount, 2);
  EXPECT_EQ(model.breaks[1].before, 9000000.0);
  char prefix[kChainPrefixSize];
  for (double m : {0.0, 1234.5, 8999999.0}) {
    EXPECT_DOUBLE_EQ(model.MileageToChainage(m, prefix, model.breakCount), m);
    EXPECT_STREQ(prefix, "AK");
  }
}

TEST_F(AlignmentModelTest, KeyPointsOfCurvesWithAndWithoutTransitions) {
  SampleLine line;
  platform::TranscriptCapture capture;
  auto model = Build(line.records);
  ASSERT_EQ(built, 1);
  EXPECT_EQ(capture.text().find("号曲线"), std::string::npos) << capture.text();

  ASSERT_EQ(model->ipCount, 5);
  struct Row {
    int ip;
    double ZH, HY, YH, HZ, turn;
  } rows[] = {
      {0, 500, 500, 500, 500, 0},
      {1, line.ZH1, line.HY1, line.YH1, line.HZ1, 1},
      {2, line.ZH2, line.ZH2, line.HZ2, line.HZ2, -1},
      {3, line.ZH3, line.HY3, line.YH3, line.HZ3, 1},
      {4, line.end, line.end, line.end, line.end, 0},
  };
  for (const Row& r : rows) {
    const CurveRecord& c = model->curves[r.ip];
    EXPECT_NEAR(c.ZH, r.ZH, 1e-6) << "IP " << r.ip;
    EXPECT_NEAR(c.HY, r.HY, 1e-6) << "IP " << r.ip;
    EXPECT_NEAR(c.YH, r.YH, 1e-6) << "IP " << r.ip;
    EXPECT_NEAR(c.HZ, r.HZ, 1e-6) << "IP " << r.ip;
    EXPECT_EQ(c.turn, r.turn) << "IP " << r.ip;
  }
  EXPECT_NEAR(model->curves[1].T1, line.c1.T1, 1e-6);
  EXPECT_NEAR(model->curves[1].T2, line.c1.T2, 1e-6);
  EXPECT_NEAR(model->curves[3].T1, line.c3.T1, 1e-6);
  EXPECT_NEAR(model->curves[3].T2, line.c3.T2, 1e-6);
  EXPECT_NEAR(model->curves[2].T1, 1000 * std::tan(Radians(10)), 1e-6);
  EXPECT_NEAR(model->curves[2].L, 1000 * Radians(20), 1e-6);
  EXPECT_NEAR(model->curves[1].alpha, Radians(30), 1e-9);
  EXPECT_NEAR(model->lineLength, line.end - 500, 1e-6);
  EXPECT_NEAR(model->StartMileage(), 500, 1e-12);
  EXPECT_NEAR(model->EndMileage(), line.end, 1e-6);
}

TEST_F(AlignmentModelTest, ElementListOfTheSampleLine) {
  SampleLine line;
  auto model = Build(line.records);
  ASSERT_EQ(built, 1);
  struct Row {
    int type;
    double mileage, turn;
  } rows[] = {
      {10, 500, 0},      {1, 500, 0},       {3, line.ZH1, 1},  {2, line.HY1, 1},
      {4, line.YH1, 1},  {1, line.HZ1, 0},  {2, line.ZH2, -1}, {1, line.HZ2, 0},
      {3, line.ZH3, 1},  {2, line.HY3, 1},  {4, line.YH3, 1},  {1, line.HZ3, 0},
  };
  ASSERT_EQ(model->elementCount, 12);
  for (int k = 0; k < 12; ++k) {
    const PlacedElement& e = model->elements[k];
    EXPECT_EQ(static_cast<int>(e.type + 0.01), rows[k].type) << "record " << k;
    EXPECT_NEAR(e.mileage, rows[k].mileage, 1e-6) << "record " << k;
    if (rows[k].type != 1 && rows[k].type != 10) {
      EXPECT_EQ(e.p4, rows[k].turn) << "record " << k;
    }
  }
  // The start record: the first IP, the first leg's bearing (packed degrees
  // in the element, radians in the state), the start mileage.
  const PlacedElement& start = model->elements[0];
  EXPECT_EQ(start.p1, 0.0);
  EXPECT_EQ(start.p2, 0.0);
  EXPECT_NEAR(start.p3, 0.0, 1e-12);
  EXPECT_EQ(start.p4, 500.0);
  // Clothoids A = sqrt(L·R), arcs R and their circular length.
  EXPECT_NEAR(model->elements[2].p1, std::sqrt(100.0 * 800), 1e-9);
  EXPECT_NEAR(model->elements[3].p2, line.c1.L - 200, 1e-6);
  EXPECT_NEAR(model->elements[8].p1, std::sqrt(60.0 * 600), 1e-9);
  EXPECT_NEAR(model->elements[10].p1, std::sqrt(120.0 * 600), 1e-9);
  EXPECT_NEAR(model->elements[6].p2, 1000 * Radians(20), 1e-6);
  // The record after the last holds the end of the line: the last IP.
  const PlacedElement& end = model->elements[12];
  EXPECT_NEAR(end.x, line.ip[4].x, 1e-6);
  EXPECT_NEAR(end.y, line.ip[4].y, 1e-6);
  EXPECT_NEAR(end.bearing, Radians(35), 1e-9);
  EXPECT_NEAR(end.mileage, line.end, 1e-6);
}

TEST_F(AlignmentModelTest, EveryCurveWalksFromItsTangentPointToTheNext) {
  SampleLine line;
  auto model = Build(line.records);
  ASSERT_EQ(built, 1);
  // Curve start (first element of the curve), curve end (element after its
  // last) and the tangent points and bearings found from the IPs.
  struct Row {
    int first, last, ip;
    double T1, T2, inBearing, outBearing;
  } rows[] = {
      {2, 4, 1, line.c1.T1, line.c1.T2, 0, 30},
      {6, 6, 2, line.c2.T1, line.c2.T2, 30, 10},
      {8, 10, 3, line.c3.T1, line.c3.T2, 10, 35},
  };
  for (const Row& r : rows) {
    const PlacedElement& first = model->elements[r.first];
    const Point zh = Along(line.ip[r.ip], -r.T1, r.inBearing);
    EXPECT_NEAR(Distance(zh, first.x, first.y), 0.0, 1e-6) << "IP " << r.ip;
    EXPECT_NEAR(first.bearing, Radians(r.inBearing), 1e-9) << "IP " << r.ip;

    const PlacedElement& last = model->elements[r.last];
    LinePoint hz{};
    BAS_DRAW_FUN::PointOnElementAtDistance(StartStateOf(last), hz, ElementLength(last), last);
    const Point expected = Along(line.ip[r.ip], r.T2, r.outBearing);
    EXPECT_NEAR(Distance(expected, hz.x, hz.y), 0.0, 1e-5) << "IP " << r.ip;
    EXPECT_NEAR(hz.bearing, Radians(r.outBearing), 1e-9) << "IP " << r.ip;
    // A curve ends on the straight's infinite radius after an exit
    // transition, on its own radius without one.
    EXPECT_EQ(hz.radius, r.ip == 2 ? 1000.0 : kInfiniteRadius) << "IP " << r.ip;
    // The straight after the curve starts where the walk ends.
    const PlacedElement& straight = model->elements[r.last + 1];
    EXPECT_NEAR(Distance(expected, straight.x, straight.y), 0.0, 1e-6) << "IP " << r.ip;
  }
  // A point of the reverse curve lies R from its centre, right of the ZY.
  const Point zy = Along(line.ip[2], -line.c2.T1, 30);
  const Point centre = Along(zy, 1000, 30 - 90);
  LinePoint middle{};
  middle.mileage = (line.ZH2 + line.HZ2) / 2;
  ASSERT_EQ(BAS_DRAW_FUN::PointAtMileage(model->elements, model->elementCount, middle), 2);
  EXPECT_NEAR(Distance(centre, middle.x, middle.y), 1000.0, 1e-6);
  EXPECT_NEAR(middle.bearing, Radians(20), 1e-9);
  // The circular part of the last curve starts at radius R, turned by the
  // entry transition's angle L1 / 2R.
  EXPECT_EQ(model->elements[9].radius, 600.0);
  EXPECT_NEAR(model->elements[9].bearing, Radians(10) + 60.0 / 1200.0, 1e-9);
}

TEST_F(AlignmentModelTest, TwoIpsMakeOneStraight) {
  auto model = Build({{0, 100, 200, 0, 0, 0}, {1, 400, 600, 0, 0, 0}});
  ASSERT_EQ(built, 1);
  ASSERT_EQ(model->elementCount, 2);
  EXPECT_EQ(model->elements[1].type, 1.0);
  EXPECT_DOUBLE_EQ(model->elements[1].p1, 500.0);
  EXPECT_DOUBLE_EQ(model->lineLength, 500.0);
  EXPECT_NEAR(model->elements[2].x, 400, 1e-9);
  EXPECT_NEAR(model->elements[2].y, 600, 1e-9);
  EXPECT_NEAR(model->elements[1].bearing, std::atan2(400.0, 300.0), 1e-12);
}

TEST_F(AlignmentModelTest, CurveChecksPrintTheirWarnings) {
  struct Case {
    const char* name;
    std::vector<IpRecord> ips;
    std::vector<const char*> messages;
    std::vector<int> types;
  } cases[] = {
      {"short circular part",
       {{0, 0, 0, 0, 0, 0},
        {1, 1000, 0, 50, 500, 50},
        {2, 1000 + 1000 * std::cos(0.12), 1000 * std::sin(0.12), 0, 0, 0}},
       {"\n 1号曲线的(R=   500.0)圆曲线长L=    10.000 不足20m "},
       {10, 1, 3, 2, 4, 1}},
      {"transitions overlap",
       {{0, 0, 0, 0, 0, 0},
        {1, 1000, 0, 100, 500, 100},
        {2, 1000 + 1000 * std::cos(0.15), 1000 * std::sin(0.15), 0, 0, 0}},
       {"\n1号曲线 前后缓和曲线重叠：缓长L1+L2=   200.000>大于曲线长L=   175.000 "},
       {10, 1, 3, 4, 1}},
      {"tangents overlap",
       {{0, 0, 0, 0, 0, 0},
        {1, 1000, 0, 0, 1000, 0},
        {2, 1000 + 100 * std::cos(Radians(30)), 100 * std::sin(Radians(30)), 0, 1000, 0},
        {3, 2000 + 100 * std::cos(Radians(30)), 100 * std::sin(Radians(30)), 0, 0, 0}},
       // G = 100 - 2 · 1000 · tan 15°
       {"\n 1号曲线起点ZH/ZY距前一曲线HZ/ZY距离=-435.898     超过前一曲线HZ/YZ不合法 "},
       {10, 1, 2, 2, 1}},
  };
  for (const Case& c : cases) {
    platform::TranscriptCapture capture;
    auto model = Build(c.ips);
    EXPECT_EQ(built, 1) << c.name;
    for (const char* message : c.messages) EXPECT_TRUE(capture.contains(message)) << c.name << ": " << capture.text();
    ASSERT_EQ(model->elementCount, static_cast<int>(c.types.size())) << c.name;
    for (size_t k = 0; k < c.types.size(); ++k)
      EXPECT_EQ(static_cast<int>(model->elements[k].type + 0.01), c.types[k]) << c.name << " record " << k;
  }
}

TEST_F(AlignmentModelTest, BreakTableConvertsAndTakesTheEndChainage) {
  SampleLine line;
  auto model = Build(line.records);
  ASSERT_EQ(built, 1);
  ASSERT_EQ(model->breakCount, 2);
  EXPECT_EQ(model->breaks[0].before, 500.0);
  EXPECT_STREQ(model->breaks[0].prefixBefore, "AK");
  EXPECT_NEAR(model->breaks[1].before, line.end, 1e-6);
  EXPECT_STREQ(model->breaks[1].prefixAfter, "AK");

  // A short chain of 50 m at AK2+000, after which the chainage reads DK.
  BreakRecord table[3] = {{500, 0, "AK", "AK"}, {2000, 50, "AK", "DK"}, {0, 0, "", ""}};
  ASSERT_EQ(model->SetBreakTable(3, table), 1);
  ASSERT_EQ(model->BuildLineElements(), 1);
  EXPECT_NEAR(model->breaks[2].before, line.end + 50, 1e-6);
  EXPECT_STREQ(model->breaks[2].prefixBefore, "DK");
  EXPECT_STREQ(model->breaks[2].prefixAfter, "DK");

  struct Case {
    double mileage, chainage;
    const char* prefix;
  } cases[] = {{600, 600, "AK"}, {1999, 1999, "AK"}, {2500, 2550, "DK"}, {line.end, line.end + 50, "DK"}};
  for (const Case& c : cases) {
    char prefix[kChainPrefixSize];
    EXPECT_NEAR(model->MileageToChainage(c.mileage, prefix, model->breakCount), c.chainage, 1e-6) << c.mileage;
    EXPECT_STREQ(prefix, c.prefix) << c.mileage;
  }
  EXPECT_NEAR(model->ChainageToMileage("DK2+550", model->breakCount), 2500, 1e-9);
  EXPECT_NEAR(model->ChainageToMileage("AK1+200.5", model->breakCount), 1200.5, 1e-9);
}

TEST_F(AlignmentModelTest, SetBreakKeepsToTheCountAndMovesTheStart) {
  AlignmentModel model;
  struct Case {
    int index;
    int result;
  } cases[] = {{-1, 0}, {0, 1}, {1, 1}, {2, 0}, {50, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(model.SetBreak(c.index, 100, 20, "CK", "DK"), c.result) << "index " << c.index;
  EXPECT_EQ(model.breaks[0].before, 100.0);
  EXPECT_STREQ(model.breaks[0].prefixAfter, "DK");
  EXPECT_EQ(model.ips[0].L1, 120.0);
  EXPECT_EQ(model.breaks[2].before, 0.0);
  // A prefix too long for its field is cut to seven bytes.
  ASSERT_EQ(model.SetBreak(1, 5, 0, "ABCDEFGHIJ", "K"), 1);
  EXPECT_STREQ(model.breaks[1].prefixBefore, "ABCDEFG");
}

// Alternate ±20° deflections on legs of 800 m, curves R 1000 with 80 m
// transitions.
std::vector<IpRecord> Zigzag(int n) {
  std::vector<IpRecord> ips;
  double x = 0, y = 0, bearing = 0;
  for (int i = 0; i < n; ++i) {
    const bool inner = i > 0 && i < n - 1;
    ips.push_back({static_cast<double>(i), x, y, inner ? 80.0 : 0.0, inner ? 1000.0 : 0.0, inner ? 80.0 : 0.0});
    bearing = i % 2 ? Radians(-10) : Radians(10);
    x += 800 * std::cos(bearing);
    y += 800 * std::sin(bearing);
  }
  return ips;
}

TEST_F(AlignmentModelTest, InputBeyondTheModelsRoomIsRefused) {
  struct Case {
    const char* name;
    int n;
    int result;
    const char* message;
  } cases[] = {
      {"room for 200 IPs", 200, 1, nullptr},
      {"201 IPs", 201, 0, "线路交点数201超出范围(2~200)"},
      {"one IP", 1, 0, "线路交点数1超出范围(2~200)"},
  };
  for (const Case& c : cases) {
    platform::TranscriptCapture capture;
    auto model = Build(Zigzag(c.n));
    EXPECT_EQ(built, c.result) << c.name;
    EXPECT_EQ(model->IsBuilt(), c.result == 1) << c.name;
    if (c.message) {
      EXPECT_TRUE(capture.contains(c.message)) << c.name << ": " << capture.text();
      EXPECT_EQ(model->ipCount, 0) << c.name;
    }
  }
  // 200 IPs: 198 curves of four elements, the first and last straights.
  auto model = Build(Zigzag(200));
  EXPECT_EQ(model->elementCount, 1 + 198 * 4 + 1);

  AlignmentModel table;
  std::vector<BreakRecord> breaks(51, BreakRecord{});
  for (int i = 0; i < 51; ++i) breaks[i].before = 1000.0 * i;
  platform::TranscriptCapture capture;
  EXPECT_EQ(table.SetBreakTable(51, breaks.data()), 0);
  EXPECT_TRUE(capture.contains("断链数51超出范围(1~50)")) << capture.text();
  EXPECT_EQ(table.breakCount, 2);
  EXPECT_EQ(table.breaks[1].before, 9000000.0);
  EXPECT_EQ(table.SetBreakTable(0, breaks.data()), 0);
  EXPECT_EQ(table.SetBreakTable(50, breaks.data()), 1);
  EXPECT_EQ(table.breakCount, 50);
  EXPECT_EQ(table.breaks[49].before, 49000.0);
}

TEST_F(AlignmentModelTest, InnerIpWithoutRadiusIsRefusedByName) {
  SampleLine line;
  line.records[1].R = 0;
  line.records[3].R = -5;
  platform::TranscriptCapture capture;
  auto model = Build(line.records);
  EXPECT_EQ(built, 0);
  EXPECT_TRUE(capture.contains("JD1号交点的曲线半径R=0.000不大于0")) << capture.text();
  EXPECT_TRUE(capture.contains("JD3号交点的曲线半径R=-5.000不大于0")) << capture.text();
  EXPECT_FALSE(model->IsBuilt());
  EXPECT_EQ(model->elementCount, 0);
  EXPECT_EQ(model->lineLength, 0.0);
  LinePoint p{};
  p.mileage = 600;
  EXPECT_EQ(BAS_DRAW_FUN::PointAtMileage(model->elements, model->elementCount, p), -9);

  // The end IPs carry no radius; they are not checked.
  line.records[1].R = 800;
  line.records[3].R = 600;
  line.records[4].R = -1;
  Build(line.records);
  EXPECT_EQ(built, 1);
}

}  // namespace
