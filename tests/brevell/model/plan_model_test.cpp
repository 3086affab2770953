// The plan model: defaults and setters, the loaders, where a mileage lies on
// a curve, the drawing range from the start and end chainage, the base line's
// chainage conversions and the small list helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "win/transcript.h"

namespace {

constexpr double kPi = std::numbers::pi;
double Deg(double degrees) { return degrees * kPi / 180.0; }

// The line of one curve with transitions (R = 1000, L1 = L2 = 100, +20°,
// legs of 1000 m) from the start mileage `start`. By hand (see the element
// tests): ZH = start + 773.604, HY = + 873.604, YH = + 1122.670,
// HZ = + 1222.670, end = + 1996.274.
std::vector<IntersectionPoint> OneCurveLine(double start) {
  return {{0, 0.0, 0.0, start, 0.0, 0.0},
          {1, 1000.0, 0.0, 100.0, 1000.0, 100.0},
          {2, 1000.0 + 1000.0 * std::cos(Deg(20)), 1000.0 * std::sin(Deg(20)), 0.0, 0.0, 0.0}};
}

TEST(PlanModel, StartsWithItsDefaults) {
  const AlignmentModel model;
  const PlanSettings& s = model.settings;
  EXPECT_EQ(s.direction, -1);
  EXPECT_FALSE(s.blackAndWhite);
  EXPECT_EQ(s.labelFactor, 0.7);
  EXPECT_EQ(s.centerlineWidth, 0.7);
  EXPECT_EQ(s.benchLevelDigits, 3);
  EXPECT_EQ(s.chainageDigits, 2);
  EXPECT_EQ(s.deflectionDigits, 0);
  EXPECT_EQ(s.flagDigits, 2);
  EXPECT_EQ(s.directionSetting, 0);
  EXPECT_EQ(s.spare, 1);
  EXPECT_EQ(s.textHeight, 5.0);
  EXPECT_EQ(s.tickLength, 18.0);
  EXPECT_STREQ(s.startChainage, "");
  EXPECT_STREQ(s.endChainage, "");
  EXPECT_FALSE(s.sideLineMode);
  EXPECT_EQ(s.labelSide, 0);
  EXPECT_STREQ(model.Line(kBaseLine).prefix, "JD");
  EXPECT_STREQ(model.Line(kLeftLine).prefix, "ZJD");
  EXPECT_STREQ(model.Line(kRightLine).prefix, "YJD");
  for (int code : {kBaseLine, kLeftLine, kRightLine}) {
    EXPECT_EQ(model.Line(code).pointCount, 0);
    EXPECT_FALSE(model.Line(code).loaded);
    EXPECT_TRUE(model.IpLayerId(code).isNull());
  }
  EXPECT_EQ(model.BaseBreakCount(), 0);
}

TEST(PlanModel, SettersBoundTheirTexts) {
  AlignmentModel model;
  // Prefixes hold 19 GBK bytes: 10 Chinese characters are cut to 9.
  model.SetIpPrefix(kLeftLine, "左左左左左左左左左左");
  EXPECT_STREQ(model.Line(kLeftLine).prefix, "左左左左左左左左左");
  model.SetIpPrefix(kRightLine, "RJD");
  EXPECT_STREQ(model.Line(kRightLine).prefix, "RJD");
  // Chainage texts hold 79 GBK bytes.
  const std::string longText(100, '9');
  model.SetStartChainage(longText.c_str());
  EXPECT_EQ(std::strlen(model.settings.startChainage), 79u);
  model.SetEndChainage("DK12+345.6");
  EXPECT_STREQ(model.settings.endChainage, "DK12+345.6");
  // The direction setting resets the working direction, which is set after it.
  model.SetDirection(1);
  model.SetDirectionSetting(1);
  EXPECT_EQ(model.settings.direction, -1);
  EXPECT_EQ(model.settings.directionSetting, 1);
  model.SetDirection(1);
  EXPECT_EQ(model.settings.direction, 1);
  // A break table of no records leaves the one set before.
  const BreakRecord breaks[] = {{0, 0, "DK", "DK"}, {500, 20, "DK", "DK"}};
  model.SetBaseBreakTable(2, breaks);
  model.SetBaseBreakTable(0, breaks);
  EXPECT_EQ(model.BaseBreakCount(), 2);
  EXPECT_EQ(model.BaseBreaks()[1].length, 20.0);
}

TEST(PlanModel, LoadersBuildTheirLines) {
  AlignmentModel model;
  const std::vector<IntersectionPoint> base = OneCurveLine(0.0);
  model.LoadBaseLine(base.data(), 0);  // nothing
  EXPECT_EQ(model.Line(kBaseLine).pointCount, 0);
  model.LoadBaseLine(base.data(), 3);
  const PlanLine& line = model.Line(kBaseLine);
  EXPECT_EQ(line.pointCount, 3);
  EXPECT_EQ(line.elementCount, 6);
  EXPECT_EQ(line.lastComputedCurve, 1);
  EXPECT_NEAR(line.EndMileage(), 1996.274, 1e-3);
  EXPECT_NEAR(model.lineLength, 1996.274, 1e-3);

  // A side line: the records' N, E, L1, R, L2, numbered by index.
  std::vector<SideLineRecord> records(3);
  for (int i = 0; i < 3; ++i) {
    records[i].N = base[i].N;
    records[i].E = base[i].E - 5.0;
    records[i].L1 = base[i].L1;
    records[i].R = base[i].R;
    records[i].L2 = base[i].L2;
    records[i].kind = 1;
  }
  records[0].L1 = 40.0;  // the start mileage
  model.LoadLeftLine(records.data(), 3);
  const PlanLine& left = model.Line(kLeftLine);
  EXPECT_TRUE(left.loaded);
  EXPECT_FALSE(model.Line(kRightLine).loaded);
  ASSERT_EQ(left.pointCount, 3);
  EXPECT_EQ(left.points[2].number, 2.0);
  EXPECT_EQ(left.points[1].R, 1000.0);
  EXPECT_EQ(left.records[1].kind, 1);
  EXPECT_NEAR(left.StartMileage(), 40.0, 1e-12);
  EXPECT_NEAR(left.EndMileage(), 40.0 + 1996.274, 1e-3);
}

// Where a mileage lies on the one-curve line: the curve whose previous curve
// ends at or before it, and the zone against that curve's key points
// (ZH 773.604, HY 873.604, YH 1122.670, HZ 1222.670).
TEST(PlanModel, ZoneOfAMileage) {
  AlignmentModel model;
  const std::vector<IntersectionPoint> base = OneCurveLine(0.0);
  model.LoadBaseLine(base.data(), 3);
  struct Case {
    double mileage;
    int curve, zone;
  };
  const Case cases[] = {
      {-5.0, 0, kZoneBeforeCurve},   {0.0, 1, kZoneBeforeCurve},    {773.6, 1, kZoneBeforeCurve},
      {800.0, 1, kZoneEntering},     {873.6, 1, kZoneEntering},     {873.7, 1, kZoneArc},
      {1122.6, 1, kZoneArc},         {1122.7, 1, kZoneAfterArc},    {1222.6, 1, kZoneAfterArc},
      {1222.7, 2, kZoneBeforeCurve}, {1996.0, 2, kZoneBeforeCurve},
  };
  for (const Case& c : cases) {
    int curve = -1, zone = -1;
    model.LocateMileage(kBaseLine, c.mileage, curve, zone);
    EXPECT_EQ(curve, c.curve) << c.mileage;
    EXPECT_EQ(zone, c.zone) << c.mileage;
  }
}

// The drawing range of the base line. The one-curve line starts at mileage
// 1000 (DK1+000) and has a short chain DK1+500 = DK1+600, so a chainage after
// it lies 100 m before its value: DK2+000 is mileage 1900. Key points: ZH
// 1773.604, HY 1873.604, YH 2122.670, HZ 2222.670, end 2996.274.
TEST(PlanModel, DrawingRangeFromTheChainages) {
  struct Case {
    const char* startText;
    const char* endText;
    double start, end;
    int startCurve, startZone, endCurve, endZone, firstCurve, lastCurve;
  };
  const Case cases[] = {
      // within the line: the end on the arc
      {"DK1+200", "DK2+000", 1200.0, 1900.0, 1, 0, 1, 2, 1, 1},
      // empty texts: the whole line; the end within 2 m of the line's end
      {"", "", 1000.0, 2996.274, 1, 0, 2, 0, 1, 1},
      // before the line's start: its start; the end before the curve
      {"DK0+500", "DK1+700", 1000.0, 1600.0, 1, 0, 1, 0, 1, 0},
      // beyond the line's end: its end
      {"DK1+950", "DK9+000", 1850.0, 2996.274, 1, 1, 2, 0, 1, 1},
      // after the curve, not within 2 m of the end
      {"DK2+400", "DK3+090", 2300.0, 2990.0, 2, 0, 2, 0, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.startText) + " " + c.endText);
    AlignmentModel model;
    const std::vector<IntersectionPoint> base = OneCurveLine(1000.0);
    model.LoadBaseLine(base.data(), 3);
    const BreakRecord breaks[] = {{1000, 0, "DK", "DK"}, {1500, 100, "DK", "DK"}, {3096.274, 0, "DK", "DK"}};
    model.SetBaseBreakTable(3, breaks);
    model.SetStartChainage(c.startText);
    model.SetEndChainage(c.endText);
    model.PrepareLines();
    const DrawingRange& r = model.Line(kBaseLine).range;
    EXPECT_NEAR(r.start, c.start, 1e-3);
    EXPECT_NEAR(r.end, c.end, 1e-3);
    EXPECT_EQ(r.startCurve, c.startCurve);
    EXPECT_EQ(r.startZone, c.startZone);
    EXPECT_EQ(r.endCurve, c.endCurve);
    EXPECT_EQ(r.endZone, c.endZone);
    EXPECT_EQ(r.firstCurve, c.firstCurve);
    EXPECT_EQ(r.lastCurve, c.lastCurve);
  }
}

// The side lines take the base range along the base line's normals. Base:
// a straight north from (0, 0) to (1000, 0); the left line 5 m west of it,
// the right line 5 m east, both from mileage 0. The base range 100 .. 900
// is 100 .. 900 on the left line and 100.1 .. 899.9 on the right line.
TEST(PlanModel, SideLinesTakeTheBaseRange) {
  AlignmentModel model;
  const IntersectionPoint base[] = {{0, 0, 0, 0, 0, 0}, {1, 1000, 0, 0, 0, 0}};
  model.LoadBaseLine(base, 2);
  auto side = [](double E) {
    std::vector<SideLineRecord> r(2);
    r[1].N = 1000.0;
    r[0].E = r[1].E = E;
    return r;
  };
  const std::vector<SideLineRecord> left = side(-5.0), right = side(5.0);
  model.LoadLeftLine(left.data(), 2);
  model.LoadRightLine(right.data(), 2);
  const BreakRecord breaks[] = {{0, 0, "K", "K"}, {1000, 0, "K", "K"}};
  model.SetBaseBreakTable(2, breaks);
  model.SetStartChainage("K0+100");
  model.SetEndChainage("K0+900");
  model.PrepareLines();
  EXPECT_NEAR(model.Line(kLeftLine).range.start, 100.0, 1e-6);
  EXPECT_NEAR(model.Line(kLeftLine).range.end, 900.0, 1e-6);
  EXPECT_NEAR(model.Line(kRightLine).range.start, 100.1, 1e-6);
  EXPECT_NEAR(model.Line(kRightLine).range.end, 899.9, 1e-6);

  // The mapping itself: the spacing is signed along the base line's normal
  // to the right.
  double mileage, spacing;
  LinePoint point;
  EXPECT_EQ(model.MapMileageToSideLine(kLeftLine, 300.0, mileage, spacing, point), 1);
  EXPECT_NEAR(mileage, 300.0, 1e-6);
  EXPECT_NEAR(spacing, -5.0, 1e-6);
  EXPECT_NEAR(point.y, -5.0, 1e-6);
  EXPECT_EQ(model.MapMileageToSideLine(kBaseLine, 300.0, mileage, spacing, point), 0);
  EXPECT_EQ(mileage, -1.0);

  // Points and projections.
  LinePoint at{};
  at.mileage = 250.0;
  EXPECT_EQ(model.PointOnLine(kRightLine, at), 1);
  EXPECT_NEAR(at.x, 250.0, 1e-9);
  EXPECT_NEAR(at.y, 5.0, 1e-9);
  at.mileage = 2000.0;
  EXPECT_EQ(model.PointOnLine(kBaseLine, at), -9);
  EXPECT_NEAR(model.ProjectOnBaseLine(420.0, 33.0), 420.0, 1e-6);
}

// The base line's chainage conversions through its break table: DK0+000,
// a short chain DK1+000 = DK1+050 and a long chain DK2+000 = D1K1+980
// (−20 m), the line ending at D1K3+000. Mileages: the short chain at 1000,
// the long chain at 1000 + 2000 − 1050 = 1950, the end at 1950 + 3000 − 1980
// = 2970.
TEST(PlanModel, BaseChainageAndMileage) {
  AlignmentModel model;
  const BreakRecord breaks[] = {
      {0, 0, "DK", "DK"}, {1000, 50, "DK", "DK"}, {2000, -20, "DK", "D1K"}, {3000, 0, "D1K", "D1K"}};
  model.SetBaseBreakTable(4, breaks);
  struct Case {
    double mileage;
    const char* prefix;
    double chainage;
    const char* text;
  };
  const Case cases[] = {
      {500.0, "DK", 500.0, "DK0+500"},
      {1200.0, "DK", 1250.0, "DK1+250"},
      {1960.0, "D1K", 1990.0, "D1K1+990"},
      {2500.0, "D1K", 2530.0, "D1K2+530"},
  };
  for (const Case& c : cases) {
    char prefix[kChainPrefixSize];
    EXPECT_NEAR(model.MileageToChainage(c.mileage, prefix), c.chainage, 1e-9) << c.mileage;
    EXPECT_STREQ(prefix, c.prefix) << c.mileage;
    platform::TranscriptCapture shown;
    EXPECT_NEAR(model.ChainageToMileage(c.text), c.mileage, 1e-9) << c.text;
    EXPECT_TRUE(shown.text().empty()) << shown.text();
  }
  // A chainage beyond every stretch of its prefix lies nowhere.
  platform::TranscriptCapture shown;
  EXPECT_NEAR(model.ChainageToMileage("DK5+000"), 5000.0, 1e-9);
  EXPECT_TRUE(shown.contains("在线路上没有其位置")) << shown.text();
  // With one prefix throughout, the chainages of a long chain's overlap
  // (K0+980 .. K1+000) lie at two places.
  AlignmentModel same;
  const BreakRecord overlap[] = {{0, 0, "K", "K"}, {1000, -20, "K", "K"}, {2000, 0, "K", "K"}};
  same.SetBaseBreakTable(3, overlap);
  shown.clear();
  same.ChainageToMileage("K0+990");
  EXPECT_TRUE(shown.contains("在线路上有多个位置")) << shown.text();
}

TEST(PlanModel, CurveByMiddleAndRangeLists) {
  AlignmentModel model;
  // Two curves: the right-then-left line of R = 500 (middles (911.837 +
  // 1086.369)/2 = 999.103 and (1910.042 + 2084.575)/2 = 1997.309).
  const IntersectionPoint ip0{0, 0, 0, 0, 0, 0};
  const IntersectionPoint ip1{1, 1000, 0, 0, 500, 0};
  const IntersectionPoint ip2{2, 1000 + 1000 * std::cos(Deg(20)), 1000 * std::sin(Deg(20)), 0, 500, 0};
  const IntersectionPoint ip3{3, ip2.N + 1000, ip2.E, 0, 0, 0};
  const IntersectionPoint base[] = {ip0, ip1, ip2, ip3};
  model.LoadBaseLine(base, 4);
  struct Case {
    double mileage;
    bool before;
    int expected;
  };
  const Case cases[] = {{0.0, false, 1},  {999.0, false, 1},  {999.2, false, 2},
                        {999.2, true, 1}, {1997.3, false, 2}, {1997.4, false, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(model.FindCurveByMiddle(kBaseLine, c.mileage, c.before), c.expected) << c.mileage;

  std::vector<MileageRange> ranges;
  AlignmentModel::InsertRangeByMiddle(ranges, 500, 700);   // middle 600
  AlignmentModel::InsertRangeByMiddle(ranges, 100, 300);   // 200
  AlignmentModel::InsertRangeByMiddle(ranges, 800, 1000);  // 900
  AlignmentModel::InsertRangeByMiddle(ranges, 0, 1200);    // 600, after the equal one
  const double starts[] = {100, 500, 0, 800};
  ASSERT_EQ(ranges.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ranges[i].start, starts[i]) << i;
  AlignmentModel::RemoveRanges(ranges, 1, 2);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[1].start, 800.0);
  AlignmentModel::RemoveRanges(ranges, 1, 10);  // bounded to the list
  AlignmentModel::RemoveRanges(ranges, 5, 1);   // nothing
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].start, 100.0);
}

}  // namespace
