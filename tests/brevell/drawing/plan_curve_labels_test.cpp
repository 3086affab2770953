// The curve-element labels of the plan on one curve laid out by hand: the
// legs run north to IP 1 at (N 1000, E 0) and on at a bearing of 20°, a
// right turn of 20°. The bisector into the curve then has the bearing
// 0 + 10° + 90° = 100°; with no transitions T = R·tan 10°, L = R·20° in
// radians and E = √(T² + R²) − R = R·(1/cos 10° − 1), 15.4266 for R = 1000.
// With transitions of 100 (plan_elements_test): T = 226.396, so that
// a = T − 50 = 176.396 and E = √(a² + R²) − R.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "brevell/plan_drawing_support.h"
#include "win/transcript.h"

namespace {

using namespace plantest;

double Deg(double d) { return d * kPi / 180.0; }

const double kBeta = Deg(100.0);
const AcGePoint3d kIp(0, 1000, 0);

// The drawing point `d` along bearing b from p.
AcGePoint3d Along(const AcGePoint3d& p, double d, double b) {
  return AcGePoint3d(p.x + d * std::sin(b), p.y + d * std::cos(b), 0);
}

class CurveLabels : public drawbasetest::DrawingTest {
 protected:
  // The base line of one curve (R, L1, L2); the side lines given loaded as
  // lines of their own far away (they only have to be there).
  void Curve(AlignmentModel& model, double R, double L1, double L2, bool left = false, bool right = false) {
    const IntersectionPoint ips[] = {Ip(0, 0, 0, 0), Ip(1, 1000, 0, L1, R, L2),
                                     Ip(2, 1000 + 1000 * std::cos(Deg(20)), 1000 * std::sin(Deg(20)))};
    model.LoadBaseLine(ips, 3);
    const BreakRecord breaks[] = {Break(0, 0, "K", "K"), Break(model.Line(kBaseLine).EndMileage(), 0, "K", "K")};
    model.SetBaseBreakTable(2, breaks);
    for (int line : {kLeftLine, kRightLine}) {
      if ((line < 0 && !left) || (line > 0 && !right)) continue;
      StraightSideLine(model, line, 5000 * line, 100);
    }
    model.PrepareLines();
  }
  static std::vector<std::string> TextsOf(const LayerContents& c) {
    std::vector<std::string> texts;
    for (const TextItem& t : c.texts) texts.push_back(t.text);
    return texts;
  }
};

// The block's texts by the curve: the radius whole or with the chainage
// digits, one transition text for equal transitions, two for unequal ones,
// none without.
TEST_F(CurveLabels, BlockTexts) {
  struct Case {
    const char* name;
    double R, L1, L2;
    std::vector<std::string> texts;  // after the name label and the name line
  };
  const Case cases[] = {
      {"no transitions", 1000, 0, 0, {"ay--20%%d00'00\"", "R--1000", "T--176.33", "L--349.07"}},
      {"a radius with decimals", 800.5, 0, 0, {"ay--20%%d00'00\"", "R--800.50", "T--141.15", "L--279.43"}},
      {"equal transitions", 1000, 100, 100, {"ay--20%%d00'00\"", "R--1000", "lo--100", "T--226.40", "L--449.07"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    AlignmentModel model;
    Settings(model, 2.0, 5.0, -1);
    Curve(model, c.R, c.L1, c.L2);
    model.DrawCurveElementLabels(kBaseLine);
    std::vector<std::string> expected = {"JD1", "   JD1"};
    expected.insert(expected.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(TextsOf(Contents("交点")), expected);
    TearDown();
  }
  // Unequal transitions: "l1--100  l2--80" and the two tangents.
  AlignmentModel model;
  Settings(model, 2.0, 5.0, -1);
  Curve(model, 1000, 100, 80);
  model.DrawCurveElementLabels(kBaseLine);
  const std::vector<std::string> texts = TextsOf(Contents("交点"));
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[4], "l1--100  l2--80");
  EXPECT_EQ(texts[5].rfind("T1--", 0), 0u) << texts[5];
  EXPECT_NE(texts[5].find("  T2--"), std::string::npos) << texts[5];
}

// Where the block and the name stand, by the side lines present, the
// direction and the room inside the curve. The block's name line starts
// 0.245·n·h back along the texts' reading direction from the block's point
// P (n = 15, the deflection text's length), and each next line 1.5h lower.
TEST_F(CurveLabels, Placement) {
  const double E = 1000.0 * (1.0 / std::cos(Deg(10)) - 1.0);
  struct Case {
    const char* name;
    double k, h;
    int d;
    bool left, right;
    double along;  // P from the IP along β (negative: along β + π)
    double nameAlong;
  };
  const Case cases[] = {
      {"no side line, direction -1", 2, 5, -1, false, false, E + 160, -6},
      {"no side line, direction +1", 2, 5, 1, false, false, E + 160 + 25, -6},
      {"both side lines, no room inside", 2, 5, -1, true, true, -(60 + 25), -6},
      {"both side lines, room inside", 0.1, 1, -1, true, true, E - 8 - 5, -1.2},
      {"the left line outside the turn", 2, 5, -1, true, false, E + 160, 4 + 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    AlignmentModel model;
    Settings(model, c.k, c.h, c.d);
    Curve(model, 1000, 0, 0, c.left, c.right);
    model.DrawCurveElementLabels(kBaseLine);
    const LayerContents labels = Contents("交点");
    ASSERT_EQ(labels.texts.size(), 6u);

    const int dt = c.d;  // the turn is +1
    const double rotation = dt == -1 ? kPi - kBeta : -kBeta;
    EXPECT_TRUE(SameAngle(labels.texts[0].rotation, rotation));
    const AcGePoint3d name = c.nameAlong < 0 ? Along(kIp, -c.nameAlong, kBeta + kPi) : Along(kIp, c.nameAlong, kBeta);
    EXPECT_TRUE(Near(labels.texts[0].anchor, name, 1e-6)) << Str(labels.texts[0].anchor);

    const AcGePoint3d P = c.along < 0 ? Along(kIp, -c.along, kBeta + kPi) : Along(kIp, c.along, kBeta);
    const double back = 0.245 * 15 * c.h;
    const AcGePoint3d start(P.x - back * std::cos(rotation), P.y - back * std::sin(rotation), 0);
    EXPECT_TRUE(Near(labels.texts[1].anchor, start, 1e-6)) << Str(labels.texts[1].anchor) << " " << Str(start);
    const AcGePoint3d second = Along(start, 1.5 * c.h, dt == -1 ? kBeta : kBeta + kPi);
    EXPECT_TRUE(Near(labels.texts[2].anchor, second, 1e-6)) << Str(labels.texts[2].anchor);
    for (size_t i = 1; i < 6; ++i) EXPECT_EQ(labels.texts[i].mode, AcDb::kTextLeft);
    TearDown();
  }
}

// The block is one group named as the IP (the name label beside the IP is
// not in it).
TEST_F(CurveLabels, OneGroupPerCurve) {
  AlignmentModel model;
  Settings(model, 2.0, 5.0, -1);
  Curve(model, 1000, 0, 0);
  model.DrawCurveElementLabels(kBaseLine);
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db()->getGroupDictionary(groups, AcDb::kForRead), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(groups->getAt("JD1", id), Acad::eOk);
  groups->close();
  drawbasetest::Reader<AcDbGroup> group(id);
  ASSERT_TRUE(group);
  AcDbObjectIdArray members;
  group->allEntityIds(members);
  EXPECT_EQ(members.length(), 5);
}

// At k = 29 and above only the name and the radius remain; the radius text
// starts 0.245·7·h back from P (at k = 29 the P of the full block; above,
// the curve's midpoint E along β) and 1.5h (d × turn = −1) along β. The plan
// drawing leaves the labels out from k = 199 on.
TEST_F(CurveLabels, SmallScales) {
  const double E = 1000.0 * (1.0 / std::cos(Deg(10)) - 1.0);
  struct Case {
    double k;
    double along;
  };
  for (const Case& c : {Case{29, E + 80 * 29}, Case{50, E}}) {
    SCOPED_TRACE(c.k);
    SetUp();
    AlignmentModel model;
    Settings(model, c.k, 5.0, -1);
    Curve(model, 1000, 0, 0);
    model.DrawCurveElementLabels(kBaseLine);
    const LayerContents labels = Contents("交点");
    ASSERT_EQ(TextsOf(labels), (std::vector<std::string>{"JD1", "R--1000"}));
    const double rotation = kPi - kBeta;
    const AcGePoint3d P = Along(kIp, c.along, kBeta);
    const double back = 0.245 * 7 * 5.0;
    const AcGePoint3d start =
        Along(AcGePoint3d(P.x - back * std::cos(rotation), P.y - back * std::sin(rotation), 0), 7.5, kBeta);
    EXPECT_TRUE(Near(labels.texts[1].anchor, start, 1e-6)) << Str(labels.texts[1].anchor);
    TearDown();
  }
  for (double k : {199.0, 29.0}) {
    SCOPED_TRACE(k);
    SetUp();
    AlignmentModel model;
    Settings(model, k, 5.0, -1);
    Curve(model, 1000, 0, 0);
    model.DrawPlan();
    EXPECT_EQ(Contents("交点").texts.size(), k >= 199 ? 0u : 2u);
    EXPECT_EQ(Contents("交点").circles.size(), 1u);  // the IP itself is drawn at every scale
    TearDown();
  }
}

// A side line's curve: labelled only when its record belongs to a section
// and (above k = 9.9) to a detour segment; its name at a right turn 1.2h
// outside; its office break framed after the block when it is above 0.0009.
TEST_F(CurveLabels, SideLineCurves) {
  struct Case {
    const char* name;
    double k;
    int kind;
    double officeBreak;
    size_t texts;  // 0: not labelled
    bool frame;
  };
  const Case cases[] = {
      {"parallel, k 2", 2, 0, 0.0, 6, false},
      {"parallel, k 10", 10, 0, 0.0, 0, false},
      {"detour, k 10", 10, 1, 0.0, 6, false},
      {"an office break of 0.5", 2, 0, 0.5, 7, true},
      {"an office break of 0.0005", 2, 0, 0.0005, 6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    AlignmentModel model;
    Settings(model, c.k, 5.0, -1);
    Curve(model, 1000, 0, 0);
    SideLineRecord records[3];
    const IntersectionPoint& a = model.Line(kBaseLine).points[2];
    const double N[] = {0, 1000, a.N};
    const double E[] = {-5, -5, a.E - 5};
    for (int i = 0; i < 3; ++i) {
      records[i].N = N[i];
      records[i].E = E[i];
      records[i].kind = c.kind;
      records[i].spacing = -5;
      records[i].secondLineIp = i;
    }
    records[1].R = 1000;
    records[1].officeBreak = c.officeBreak;
    model.LoadLeftLine(records, 3);
    model.PrepareLines();
    model.DrawCurveElementLabels(kLeftLine);
    const LayerContents labels = Contents("左线交点");
    EXPECT_EQ(labels.texts.size(), c.texts);
    if (c.texts > 0) {
      EXPECT_EQ(labels.texts[0].text, "ZJD1");
      EXPECT_TRUE(Near(labels.texts[0].anchor, Along(AcGePoint3d(-5, 1000, 0), 6, kBeta + kPi), 1e-6));
    }
    EXPECT_EQ(labels.polylines.size(), c.frame ? 1u : 0u);
    if (c.frame) {
      EXPECT_EQ(labels.texts.back().text, "0.50");
      EXPECT_EQ(labels.polylines[0].points.size(), 5u);
    }
    TearDown();
  }
}

}  // namespace
