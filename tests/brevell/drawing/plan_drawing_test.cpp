// The plan drawing's key-point labels, spacing marks and traverse, and the
// whole plan (DrawPlan) by the side lines present and the scale.
//
// The curve of these tests is that of plan_curve_labels_test: legs north to
// IP 1 at (N 1000, E 0) and on at 20°, R = 1000; with transitions of 100 its
// key points lie at ZH 773.604, HY 873.604, YH 1122.670 and HZ 1222.670
// (T = 226.396, plan_elements_test); without transitions ZH = 823.673 and
// HZ = 1172.739 (T = 176.327).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "brevell/plan_drawing_support.h"

namespace {

using namespace plantest;

double Deg(double d) { return d * kPi / 180.0; }

AcGePoint3d Along(const AcGePoint3d& p, double d, double b) {
  return AcGePoint3d(p.x + d * std::sin(b), p.y + d * std::cos(b), 0);
}

class WholePlan : public drawbasetest::DrawingTest {
 protected:
  // The base line of the curve, and a left line the same 5 m further west
  // (records of `kind` with spacing −5), when asked.
  void Curve(AlignmentModel& model, double L, bool left = false, int kind = 0) {
    const IntersectionPoint ips[] = {Ip(0, 0, 0, 0), Ip(1, 1000, 0, L, 1000, L),
                                     Ip(2, 1000 + 1000 * std::cos(Deg(20)), 1000 * std::sin(Deg(20)))};
    model.LoadBaseLine(ips, 3);
    const BreakRecord breaks[] = {Break(0, 0, "K", "K"), Break(model.Line(kBaseLine).EndMileage(), 0, "K", "K")};
    model.SetBaseBreakTable(2, breaks);
    if (left) {
      SideLineRecord records[3];
      for (int i = 0; i < 3; ++i) {
        records[i].N = ips[i].N;
        records[i].E = ips[i].E - 5;
        records[i].kind = kind;
        records[i].spacing = -5;
        records[i].secondLineIp = i;
      }
      records[1].R = 1000;
      records[1].L1 = records[1].L2 = L;
      model.LoadLeftLine(records, 3);
    }
    model.PrepareLines();
  }
};

// ---- Key points --------------------------------------------------------------------------

// Each key point a tick of 10h across the line (by the turn: to the right)
// and its name with the metres of its chainage at the tick's middle, h·f
// back along the line (flip +1); from k = 10 on without HY and YH.
TEST_F(WholePlan, KeyPointLabels) {
  const double T = 226.396;
  const AcGePoint3d hz = Along(AcGePoint3d(0, 1000, 0), T, Deg(20));
  struct Label {
    const char* text;
    AcGePoint3d foot;  // nullptr-like: checked only when x is finite
    double bearing;
  };
  struct Case {
    double k;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {2, {"ZH +773.60", "HY +873.60", "YH +122.67", "HZ +222.67"}},
      {10, {"ZH +773.60", "HZ +222.67"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    SetUp();
    AlignmentModel model;
    Settings(model, c.k, 5.0, -1);
    Curve(model, 100);
    model.DrawKeyPointLabels(0, 1, kBaseLine);
    const LayerContents layer = Contents("特征点位置");
    std::vector<std::string> texts;
    for (const TextItem& t : layer.texts) texts.push_back(t.text);
    EXPECT_EQ(texts, c.texts);
    // ZH on the first straight and HZ on the last, with their ticks.
    for (const Label& l : {Label{"ZH +773.60", {0, 773.604, 0}, 0.0}, Label{"HZ +222.67", hz, Deg(20)}}) {
      const AcGePoint3d top = Along(l.foot, 50, l.bearing + kPi / 2);
      bool ticked = false;
      for (const LineItem& t : layer.lines) ticked = ticked || (Near(t.from, l.foot, 2e-3) && Near(t.to, top, 2e-3));
      EXPECT_TRUE(ticked) << l.text;
      const AcGePoint3d middle((l.foot.x + top.x) / 2, (l.foot.y + top.y) / 2, 0);
      const auto text = layer.TextsReading(l.text);
      ASSERT_EQ(text.size(), 1u);
      EXPECT_TRUE(Near(text[0].anchor, Along(middle, 3.5, l.bearing + kPi), 2e-3)) << Str(text[0].anchor);
      EXPECT_TRUE(SameAngle(text[0].rotation, kPi - l.bearing));
    }
    TearDown();
  }
}

// Above k = 9.9 a side line's key points stand where the side line is drawn:
// the left line s·k/2 to its left (k = 10, s = 4: 20 west of it).
TEST_F(WholePlan, SideLineKeyPointsWhereTheLineIsDrawn) {
  AlignmentModel model;
  Settings(model, 10.0, 5.0, -1);
  model.settings.detourOffset = 4.0;
  Curve(model, 100, true, kSideDetour);
  model.DrawKeyPointLabels(-1, 1, kLeftLine);
  const LayerContents layer = Contents("左线特征点位置");
  ASSERT_FALSE(layer.lines.empty());
  EXPECT_NEAR(layer.lines[0].from.x, -5 - 20, 1e-6);  // ZH on the left line's first straight
  EXPECT_NEAR(layer.lines[0].from.y, 773.604, 2e-3);
}

// Above k = 9.9 a side line labels the key points of its detour curves
// only. Of two curves without transitions (ZY, YZ), the first a parallel
// IP and the second a detour IP, only the second's ZY and YZ are labelled:
// its ZY belongs to it (not to the curve before), and its YZ, the last
// curve's, to it too.
TEST_F(WholePlan, SideLineKeyPointsOfDetourCurves) {
  AlignmentModel model;
  Settings(model, 10.0, 5.0, -1);
  StraightBaseLine(model, 0, 5000);
  const double N[] = {0, 1000, 1000 + 1000 * std::cos(Deg(20)), 2000 + 1000 * std::cos(Deg(20))};
  const double E[] = {-5, -5, -5 + 1000 * std::sin(Deg(20)), -5 + 1000 * std::sin(Deg(20))};
  const int kinds[] = {0, 0, kSideDetour, 0};
  SideLineRecord records[4];
  for (int i = 0; i < 4; ++i) {
    records[i].N = N[i];
    records[i].E = E[i];
    records[i].kind = kinds[i];
    records[i].spacing = -5;
    records[i].R = i == 1 || i == 2 ? 1000 : 0;
  }
  model.LoadLeftLine(records, 4);
  model.PrepareLines();
  model.DrawKeyPointLabels(-1, 1, kLeftLine);
  std::vector<std::string> names;
  for (const TextItem& t : Contents("左线特征点位置").texts) names.push_back(t.text.substr(0, 2));
  EXPECT_EQ(names, (std::vector<std::string>{"ZY", "YZ"}));
}

// ---- Spacing marks ------------------------------------------------------------------------

// Between two side-line records a dimension line across to the base line in
// the middle of the straight between them, with the spacing beside it: h·f
// back along the line and its length·h·f out (west, away from the base
// line). No mark between two records of one detour segment.
TEST_F(WholePlan, SpacingMarks) {
  struct Case {
    int kind;
    size_t marks;
  };
  for (const Case& c : {Case{0, 1}, Case{kSideDetour, 0}}) {
    SCOPED_TRACE(c.kind);
    SetUp();
    AlignmentModel model;
    Settings(model, 2.0, 5.0, -1);
    StraightBaseLine(model, 0, 1000);
    StraightSideLine(model, kLeftLine, -5, 1000, c.kind);
    model.PrepareLines();
    model.DrawLineSpacing(kLeftLine, 1);
    model.DrawLineSpacing(7, 1);  // no such side line: nothing
    const LayerContents layer = Contents("左线间距");
    EXPECT_EQ(layer.texts.size(), c.marks);
    if (c.marks == 0) {
      EXPECT_EQ(layer.count, 0u);
    } else {
      EXPECT_EQ(layer.texts[0].text, "-5.00");
      EXPECT_TRUE(Near(layer.texts[0].anchor, {-5 - 5 * 5 * 0.7, 500 - 3.5, 0})) << Str(layer.texts[0].anchor);
      EXPECT_TRUE(SameAngle(layer.texts[0].rotation, 0.0));
      bool joined = false;
      for (const LineItem& l : layer.lines) joined = joined || (Near(l.from, {-5, 500, 0}) && Near(l.to, {0, 500, 0}));
      EXPECT_TRUE(joined);
      EXPECT_EQ(layer.lines.size(), 5u);  // the line and two ticks at each end
    }
    TearDown();
  }
}

// ---- Traverse ----------------------------------------------------------------------------

// Three points north and then east of (0, 0): at the inner point (a right
// turn of 90°) the two texts lie outside the turn, towards −45°, 0.5k + h
// and 0.5k + 2.5h out (direction setting −1: the name the farther one); at
// the first point square to the first leg; each leg's bearing 1.25h to its
// right; a circle of 0.5k at each point; the legs stop at the inner circle.
TEST_F(WholePlan, Traverse) {
  AlignmentModel model;
  Settings(model, 2.0, 5.0, -1);
  const double N[] = {0, 100, 100};
  const double E[] = {0, 0, 100};
  const CString names[] = {"DX1", "DX2", "DX3"};
  const double values[] = {10, 20, 30};
  const double legs[] = {0.0, 90.0};
  model.DrawTraverse(3, N, E, names, values, legs, kBaseLine);
  const LayerContents layer = Contents("导线");
  EXPECT_EQ(layer.circles.size(), 3u);
  for (const CircleItem& c : layer.circles) EXPECT_NEAR(c.radius, 1.0, 1e-12);
  ASSERT_EQ(layer.lines.size(), 2u);
  EXPECT_TRUE(Near(layer.lines[0].to, {0, 99, 0}));
  EXPECT_TRUE(Near(layer.lines[1].from, {1, 100, 0}));

  const AcGePoint3d inner(0, 100, 0);
  EXPECT_TRUE(Near(layer.TextsReading("DX2").at(0).anchor, Along(inner, 13.5, -kPi / 4)));
  EXPECT_TRUE(Near(layer.TextsReading("20.000").at(0).anchor, Along(inner, 6, -kPi / 4)));
  EXPECT_TRUE(SameAngle(layer.TextsReading("DX2").at(0).rotation, kPi / 4));
  EXPECT_TRUE(Near(layer.TextsReading("DX1").at(0).anchor, {13.5, 0, 0}));
  EXPECT_TRUE(Near(layer.TextsReading("10.000").at(0).anchor, {6, 0, 0}));
  const auto leg = layer.TextsReading("0%%d00'00.00\"");
  ASSERT_EQ(leg.size(), 1u);
  EXPECT_TRUE(Near(leg[0].anchor, {6.25, 50, 0}));
  EXPECT_TRUE(SameAngle(leg[0].rotation, kPi / 2));
}

// ---- The whole plan -----------------------------------------------------------------------

// The side of the base line's marks and the detour label side by the side
// lines present: only the left line, both +1; only the right line, both −1.
TEST_F(WholePlan, MarkSidesBySideLines) {
  struct Case {
    int line;  // the side line present
    int side;
  };
  for (const Case& c : {Case{kLeftLine, 1}, Case{kRightLine, -1}}) {
    SCOPED_TRACE(c.line);
    SetUp();
    AlignmentModel model;
    Settings(model, 2.0, 5.0, -1);
    StraightBaseLine(model, 0, 1000);
    StraightSideLine(model, c.line, 5 * c.line, 1000);
    model.DrawPlan();
    EXPECT_EQ(model.settings.directionSetting, c.side);
    const auto label = Contents("里程").TextsReading("5");
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(label[0].anchor.x > 0, c.side > 0);
    TearDown();
  }
}

// A side line's IPs: at k = 9.9 drawn where the curve's tangents moved
// s·k/2 aside cross (whatever the IP's kind); at k = 10 only IPs of detour
// segments. From k = 9.9 on no spacing marks. Without transitions the moved
// IP lies 19.8/cos 10° from the left line's IP outside the curve.
TEST_F(WholePlan, SideLineIpsBySmallScales) {
  struct Case {
    double k;
    int kind;
    size_t circles;
    size_t spacingMarks;
  };
  const Case cases[] = {{9.8, 0, 1, 2}, {9.9, 0, 1, 0}, {10, 0, 0, 0}, {10, kSideDetour, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    SetUp();
    AlignmentModel model;
    Settings(model, c.k, 5.0, -1);
    model.settings.detourOffset = 4.0;
    Curve(model, 0, true, c.kind);
    model.DrawPlan();
    const LayerContents ips = Contents("左线交点");
    EXPECT_EQ(ips.circles.size(), c.circles);
    EXPECT_EQ(Contents("左线间距").texts.size(), c.spacingMarks);
    if (c.circles == 1) {
      const AcGePoint3d ip(-5, 1000, 0);
      const double shift = c.k >= 9.9 ? 2.0 * c.k / std::cos(Deg(10)) : 0.0;
      EXPECT_TRUE(Near(ips.circles[0].centre, Along(ip, shift, Deg(100) + kPi), 1e-6)) << Str(ips.circles[0].centre);
      EXPECT_NEAR(ips.circles[0].radius, c.k, 1e-12);
    }
    TearDown();
  }
}

}  // namespace
