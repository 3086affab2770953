// The values the table editor works out before it saves 水准点表 and 导线表,
// on a base line whose points are worked out by hand: a straight line from
// (N 0, E 0) towards (N 300, E 400), bearing a with cos a = 0.6 and sin a =
// 0.8, its mileage and chainage from 1000 ("K"): the point at mileage m is
// N = 0.6·(m − 1000), E = 0.8·(m − 1000); right of the line is the direction
// (cos(a + π/2), sin(a + π/2)) = (−0.8, 0.6).

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../plan_drawing_support.h"
#include "brevell/editor/SaveCompletion.h"
#include "geometry/GeoFunctions.h"

namespace {

using namespace plantest;

class SaveCompletion : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    model = std::make_unique<AlignmentModel>();
    const IntersectionPoint ips[] = {Ip(0, 0, 0, 1000.0), Ip(1, 3000, 4000)};
    model->LoadBaseLine(ips, 2);
    const BreakRecord breaks[] = {Break(1000, 0, "K", "K"), Break(6000, 0, "K", "K")};
    model->SetBaseBreakTable(2, breaks);
    model->PrepareLines();
  }
  void TearDown() override {
    model.reset();
    DrawingTest::TearDown();
  }
  static RowTableCells BenchMarks(std::vector<std::vector<CString>> rows) {
    RowTableCells t;
    t.headers = {"行号",       "水准点编号", "高程",  "里程冠号",       "里程数",
                 "距中线距离", "坐标N",      "坐标E", "位置材料的描述", "附注"};
    t.rows = std::move(rows);
    return t;
  }
  std::unique_ptr<AlignmentModel> model;
};

CString F3(double v) {
  CString s;
  s.Format("%.3lf", v);
  return s;
}

TEST_F(SaveCompletion, BenchMarkCoordinatesFromChainageAndOffset) {
  struct Case {
    double chainage, offset;
  };
  const Case cases[] = {{1000.0, 0.0}, {1500.0, 20.0}, {2250.5, -12.25}, {4321.0, 3.0}};
  std::vector<std::vector<CString>> rows;
  for (const Case& c : cases) rows.push_back({"1", "BM", "10", "K", F3(c.chainage), F3(c.offset), "", "", "", ""});
  // A row with one of the two coordinates keeps none of them: both are worked out.
  rows.push_back({"5", "BM", "", "K", "2000", "10", "99", "", "", ""});
  RowTableCells t = BenchMarks(rows);
  CompleteBenchMarks(*model, t);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const double m = cases[i].chainage - 1000.0, d = cases[i].offset;
    EXPECT_EQ(t.Text(int(i) + 1, "坐标N"), F3(0.6 * m - 0.8 * d)) << i;
    EXPECT_EQ(t.Text(int(i) + 1, "坐标E"), F3(0.8 * m + 0.6 * d)) << i;
  }
  EXPECT_EQ(t.Text(5, "坐标N"), F3(0.6 * 1000 - 0.8 * 10));
  EXPECT_EQ(t.Text(5, "坐标E"), F3(0.8 * 1000 + 0.6 * 10));
}

TEST_F(SaveCompletion, BenchMarkChainageAndOffsetFromCoordinates) {
  // Points at mileage 1000 + m, d right of the line.
  struct Case {
    double m, d;
  };
  const Case cases[] = {{500.0, 20.0}, {1250.0, -7.5}, {10.0, 0.0}};
  std::vector<std::vector<CString>> rows;
  for (const Case& c : cases)
    rows.push_back({"1", "BM", "", "", "", "", F3(0.6 * c.m - 0.8 * c.d), F3(0.8 * c.m + 0.6 * c.d), "", ""});
  RowTableCells t = BenchMarks(rows);
  CompleteBenchMarks(*model, t);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(t.Text(int(i) + 1, "里程冠号"), "K") << i;
    EXPECT_NEAR(std::atof(t.Text(int(i) + 1, "里程数")), 1000.0 + cases[i].m, 0.0015) << i;
    EXPECT_NEAR(std::atof(t.Text(int(i) + 1, "距中线距离")), cases[i].d, 0.0015) << i;
  }
}

TEST_F(SaveCompletion, BenchMarkRowsLeftAsTheyAre) {
  const std::vector<std::vector<CString>> rows = {
      {"1", "", "", "", "", "", "", "", "", ""},                    // empty
      {"2", "BM", "", "K", "1500", "", "", "", "", ""},             // no offset, no coordinates
      {"3", "BM", "", "K", "1500", "5", "1.000", "2.000", "", ""},  // everything there
      {"4", "BM", "", "K", "9999", "5", "", "", "", ""},            // chainage off the line
  };
  RowTableCells t = BenchMarks(rows);
  CompleteBenchMarks(*model, t);
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) EXPECT_EQ(t.rows[r][c], rows[r][c]) << r << "," << c;
}

CString F9(double v) {
  CString s;
  s.Format("%.9f", v);
  return s;
}

// The packed bearing and the length of a leg, by hand from its differences.
CString LegBearing(double dN, double dE) {
  double b = std::atan2(dE, dN);
  if (b < 0) b += 2 * kPi;
  CString s;
  s.Format("%.4lf", RadiansToDms(b));
  return s;
}

TEST_F(SaveCompletion, TraverseLegsAndRightAngles) {
  RowTableCells t;
  t.headers = {"行号", "桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"};
  // A(0, 0) -> B(100, 0) due north -> C(100, 100) due east -> D(0, 100) due south.
  t.rows = {
      {"1", "A", "", "", "", "0.000", "0.000", "", ""},
      {"2", "B", "", "", "", "100", "0", "", ""},
      {"3", "C", "", "", "", "100", "100", "", ""},
      {"4", "D", "", "", "", "0", "100", "", ""},
  };
  CompleteTraverse(*model, t);
  EXPECT_EQ(t.Text(1, "方位角"), LegBearing(100, 0));
  EXPECT_EQ(t.Text(2, "方位角"), "90.0000");
  EXPECT_EQ(t.Text(3, "方位角"), "180.0000");
  EXPECT_EQ(t.Text(1, "距离"), "100.0000");
  EXPECT_EQ(t.Text(3, "距离"), "100.0000");
  // The first station's right angle is 0, never read from the header row.
  EXPECT_EQ(t.Text(1, "右角"), "0");
  // At B: 0° + 180° − 90° = 90°; at C: 90° + 180° − 180° = 90°.
  EXPECT_EQ(t.Text(2, "右角"), "90.0000");
  EXPECT_EQ(t.Text(3, "右角"), "90.0000");
  // The last station has no leg.
  EXPECT_EQ(t.Text(4, "方位角"), "");
  EXPECT_EQ(t.Text(4, "右角"), "");
}

TEST_F(SaveCompletion, TraverseRightAngleWithinOneTurnAndKeptValues) {
  RowTableCells t;
  t.headers = {"行号", "桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"};
  // A -> B bearing 30°, B -> C bearing 300°: 30 + 180 − 300 = −90 → 270°.
  const double b1 = 30.0 * kPi / 180.0, b2 = 300.0 * kPi / 180.0;
  const double NB = 100 * std::cos(b1), EB = 100 * std::sin(b1);
  const double NC = NB + 50 * std::cos(b2), EC = EB + 50 * std::sin(b2);
  t.rows = {
      {"1", "A", "7", "", "", "0", "0", "", "5"},
      {"2", "B", "", "", "", F9(NB), F9(EB), "", "5"},
      {"3", "C", "", "", "", F9(NC), F9(EC), "", "5"},
  };
  CompleteTraverse(*model, t);
  EXPECT_EQ(t.Text(1, "右角"), "7");  // a right angle given is kept
  EXPECT_EQ(t.Text(1, "方位角"), "30.0000");
  EXPECT_EQ(t.Text(2, "方位角"), "300.0000");
  EXPECT_EQ(t.Text(2, "距离"), "50.0000");
  EXPECT_EQ(t.Text(2, "右角"), "270.0000");
}

TEST_F(SaveCompletion, TraverseStationsNeedCoordinatesThatReadAsNumbers) {
  // A(0, 0) -> B(纬距 as typed, 经距 0): the leg is worked out only when B's
  // 纬距 reads wholly as a number (its leg then due north).
  const struct {
    const char* north;
    const char* bearing;  // 方位角 of A afterwards ("" when no leg)
    const char* length;   // 距离 of A afterwards
  } cases[] = {
      {"abc", "", ""},           {"", "", ""},           {"12abc", "", ""},
      {" ", "", ""},             {"1e3", "0.0000", "1000.0000"},
      {" 12 ", "0.0000", "12.0000"}, {"-5", "180.0000", "5.0000"},
  };
  for (const auto& c : cases) {
    RowTableCells t;
    t.headers = {"行号", "桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"};
    t.rows = {{"1", "A", "", "", "", "0", "0", "", "1"}, {"2", "B", "", "", "", c.north, "0", "", "1"}};
    CompleteTraverse(*model, t);
    EXPECT_EQ(t.Text(1, "方位角"), c.bearing) << c.north;
    EXPECT_EQ(t.Text(1, "距离"), c.length) << c.north;
  }
}

TEST_F(SaveCompletion, BenchMarkCoordinatesThatDoNotReadAreWorkedOut) {
  // "abc" in 坐标N is no coordinate: the chainage and offset give both.
  RowTableCells t = BenchMarks({{"1", "BM", "", "K", "2000", "10", "abc", "5", "", ""}});
  CompleteBenchMarks(*model, t);
  EXPECT_EQ(t.Text(1, "坐标N"), F3(0.6 * 1000 - 0.8 * 10));
  EXPECT_EQ(t.Text(1, "坐标E"), F3(0.8 * 1000 + 0.6 * 10));
  // Nothing that reads: the row stays as it is.
  RowTableCells u = BenchMarks({{"1", "BM", "", "K", "x2000", "10", "abc", "5", "", ""}});
  CompleteBenchMarks(*model, u);
  EXPECT_EQ(u.Text(1, "坐标N"), "abc");
  EXPECT_EQ(u.Text(1, "里程数"), "x2000");
}

TEST_F(SaveCompletion, TraverseMileageByProjection) {
  RowTableCells t;
  t.headers = {"行号", "桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"};
  // (N 600 − 0.8·10, E 800 + 0.6·10): 10 m right of mileage 2000.
  t.rows = {{"1", "P", "0", "0", "0", "592", "806", "", ""}, {"2", "Q", "", "", "", "", "", "", ""}};
  CompleteTraverse(*model, t);
  EXPECT_NEAR(std::atof(t.Text(1, "里程")), 2000.0, 0.0015);
  EXPECT_EQ(t.Text(2, "里程"), "");
}

}  // namespace
