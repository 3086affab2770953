// The chainage marks of the plan (DrawMainChainageMarks and
// DrawDetourChainageMarks) on straight lines due north, where every mark's
// place is worked out by hand: the point at mileage m of a base line
// starting at (0, 0) with start mileage m0 is drawn at (0, m − m0); the
// marks' side +1 is +X (east), −1 is −X.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "PlanLayers.h"
#include "brevell/plan_drawing_support.h"
#include "win/transcript.h"

namespace {

using namespace plantest;

const char* const kChainageLayer = "里程";

class ChainageMarks : public drawbasetest::DrawingTest {
 protected:
  // k = 2, h = 5, the direction as given; chainage digits 2, label factor 0.7.
  void Draw(double start, double length, const std::vector<BreakRecord>& breaks, double interval, int side,
            int direction, double k = 2.0) {
    Settings(model, k, 5.0, direction);
    StraightBaseLine(model, start, length, breaks);
    model.PrepareLines();
    model.DrawMainChainageMarks(interval, side, 2, -direction);
  }
  AlignmentModel model;
};

// The texts of a break, its tick and the box of its hectometre. The line runs
// from K12+000 (mileage 12000) 2000 m north; the break 12345 = 12380 (a short
// chain of 35 m) lies at mileage 12345, so the line ends at K14+035.
//   text 2 " =K12+380.00 短链 35.00 m" is 25 GBK characters: the tick is
//   25·h·f = 87.5 long, the box's ticks 1.2 times that (105) at the
//   hundreds round the break, K12+300 (mileage 12300) and K12+400
//   (12345 + 20 = 12365): 65 m apart. The box's inner line stands at
//   105 − 10k = 85; its text at the middle of the four corners (95, 332.5).
//   Direction −1: text 1 at mileage 12345 − 0.2h = 12344, text 2 at
//   12345 + 1.2h = 12351; direction +1: 12339 and 12346. Both 2k + h = 9
//   east of the line.
TEST_F(ChainageMarks, ABreakItsTextsTickAndBox) {
  struct Case {
    int direction;
    double firstY, secondY;
    AcDb::TextHorzMode mode;
    double rotation, boxRotation;
  };
  const Case cases[] = {
      {-1, 344.0, 351.0, AcDb::kTextRight, kPi, kPi / 2.0},
      {1, 339.0, 346.0, AcDb::kTextLeft, 0.0, 1.5 * kPi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    SetUp();
    model.InitPlanDefaults();
    Draw(12000, 2000, {Break(12000, 0, "K", "K"), Break(12345, 35, "K", "K"), Break(14035, 0, "K", "K")}, 100, 1,
         c.direction);
    const LayerContents marks = Contents(kChainageLayer);

    const auto before = marks.TextsReading("  K12+345.00");
    const auto after = marks.TextsReading(" =K12+380.00 短链 35.00 m");
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(Near(before[0].anchor, AcGePoint3d(9, c.firstY, 0))) << Str(before[0].anchor);
    EXPECT_TRUE(Near(after[0].anchor, AcGePoint3d(9, c.secondY, 0))) << Str(after[0].anchor);
    EXPECT_EQ(before[0].mode, c.mode);
    EXPECT_TRUE(SameAngle(before[0].rotation, c.rotation));
    EXPECT_TRUE(SameAngle(after[0].rotation, c.rotation));

    auto hasLine = [&](AcGePoint3d a, AcGePoint3d b) {
      for (const LineItem& l : marks.lines) {
        if ((Near(l.from, a) && Near(l.to, b)) || (Near(l.from, b) && Near(l.to, a))) return true;
      }
      return false;
    };
    EXPECT_TRUE(hasLine({0, 345, 0}, {87.5, 345, 0}));  // the break tick
    EXPECT_TRUE(hasLine({0, 300, 0}, {105, 300, 0}));   // the box: ticks at K12+300 and K12+400
    EXPECT_TRUE(hasLine({0, 365, 0}, {105, 365, 0}));
    EXPECT_TRUE(hasLine({105, 300, 0}, {105, 365, 0}));  // its outer and inner line
    EXPECT_TRUE(hasLine({85, 300, 0}, {85, 365, 0}));
    const auto box = marks.TextsReading("65.00");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_TRUE(Near(box[0].anchor, AcGePoint3d(95, 332.5, 0))) << Str(box[0].anchor);
    EXPECT_TRUE(SameAngle(box[0].rotation, c.boxRotation));
    TearDown();
  }
}

// The break text and box by the break's length, each on a line from
// K12+000 with one inner break at mileage 12300 or 12345.
//   12345 = 12309.8 (a long chain of 35.2): " 长链 35.20 m"; the hundreds
//     K12+300 (mileage 12300) and K12+400 (12345 + 90.2): 135.2 m apart, so
//     the box reads 135.20.
//   12300 = 12345: the box runs from the break point (K12+300, 12300) to
//     K12+400 (12300 + 55): 55.00.
//   12345 = 12345 (no length): neither text nor " m".
// At k = 29 only the break texts and tick remain: no box.
TEST_F(ChainageMarks, BreakTextsAndBoxesByLength) {
  struct Case {
    const char* name;
    double before, length, k;
    const char* text;
    const char* box;  // nullptr: none
    double boxFrom, boxTo;
  };
  const Case cases[] = {
      {"long chain", 12345, -35.2, 2, " =K12+309.80 长链 35.20 m", "135.20", 300, 435.2},
      {"from a whole hundred", 12300, 45, 2, " =K12+345.00 短链 45.00 m", "55.00", 300, 355},
      {"no length", 12345, 0, 2, " =K12+345.00", "100.00", 300, 400},
      {"k = 29: no box", 12345, 35, 29, " =K12+380.00 短链 35.00 m", nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    model.InitPlanDefaults();
    const double end = 12000 + 2000 + c.length;
    Draw(12000, 2000, {Break(12000, 0, "K", "K"), Break(c.before, c.length, "K", "K"), Break(end, 0, "K", "K")}, 100, 1,
         -1, c.k);
    const LayerContents marks = Contents(kChainageLayer);
    EXPECT_EQ(marks.TextsReading(c.text).size(), 1u);
    if (c.box == nullptr) {
      // A box's text is a length alone.
      for (const TextItem& t : marks.texts) {
        EXPECT_FALSE(t.text.find('.') != std::string::npos &&
                     t.text.find_first_not_of("0123456789.") == std::string::npos)
            << t.text;
      }
    } else {
      const auto box = marks.TextsReading(c.box);
      ASSERT_EQ(box.size(), 1u);
      EXPECT_NEAR(box[0].anchor.y, (c.boxFrom + c.boxTo) / 2.0, 1e-6);
    }
    TearDown();
  }
}

// The labels of the marks by interval, on lines with the prefix K and no
// inner break: the hundreds digit, "5" for the odd 500 m marks and (5000 m
// marks) the odd 5 km marks, the prefix and kilometres at whole kilometres.
// Each label stands 1.5k + 0.5·(characters)·f·h east of its mark.
TEST_F(ChainageMarks, MarkLabelsByInterval) {
  struct Mark {
    double chainage;
    const char* label;
  };
  struct Case {
    double interval, start, end;
    std::vector<Mark> marks;
  };
  const Case cases[] = {
      {100, 12750, 13250, {{12800, "8"}, {12900, "9"}, {13000, "K13"}, {13100, "1"}, {13200, "2"}}},
      {500, 12000, 13600, {{12500, "5"}, {13000, "K13"}, {13500, "5"}}},
      {1000, 12000, 14500, {{13000, "K13"}, {14000, "K14"}}},
      {5000, 12000, 31000, {{15000, "5"}, {20000, "K20"}, {25000, "5"}, {30000, "K30"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    SetUp();
    model.InitPlanDefaults();
    Draw(c.start, c.end - c.start, {}, c.interval, 1, -1);
    const LayerContents marks = Contents(kChainageLayer);
    size_t labels = 0;
    for (const TextItem& t : marks.texts) {
      if (t.text.find('+') == std::string::npos) ++labels;  // the start and end labels carry a chainage
    }
    EXPECT_EQ(labels, c.marks.size());
    for (const Mark& m : c.marks) {
      const auto found = marks.TextsReading(m.label);
      const double x = 3.0 + 0.5 * std::string(m.label).size() * 0.7 * 5.0;
      bool placed = false;
      for (const TextItem& t : found) placed = placed || Near(t.anchor, AcGePoint3d(x, m.chainage - c.start, 0));
      EXPECT_TRUE(placed) << m.label << " at " << m.chainage;
    }
  }
}

// Kilometre style (5000): a stretch from 12 345 to 31 000 gets ticks of 0.4h
// (2) at every whole kilometre from 13 000 to 31 000, labelled at 15 000,
// 20 000, 25 000 and 30 000.
TEST_F(ChainageMarks, KilometreStyleTicks) {
  Draw(12345, 31000 - 12345, {}, 5000, 1, -1);
  const LayerContents marks = Contents(kChainageLayer);
  std::vector<double> ticks;
  for (const LineItem& l : marks.lines) {
    if (std::fabs(l.to.x - l.from.x - 2.0) < 1e-9 && std::fabs(l.from.x) < 1e-9) ticks.push_back(l.from.y + 12345);
  }
  std::sort(ticks.begin(), ticks.end());
  std::vector<double> expected;
  for (double c = 13000; c <= 31000; c += 1000) expected.push_back(c);
  ASSERT_EQ(ticks.size(), expected.size());
  for (size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], expected[i], 1e-6);
}

// The start and end labels: a tick of (the longer text's characters + 8)·h
// east of the line's ends, the texts at its middle h·f back and on along
// the line. "= QD K12+000.00" has 15 characters: a tick of 115 at the start;
// "ZD K14+000.00" 13: 105 at the end.
TEST_F(ChainageMarks, StartAndEndLabels) {
  Draw(12000, 2000, {Break(12000, 0, "K", "K"), Break(14000, 0, "K", "K")}, 100, 1, -1);
  const LayerContents marks = Contents(kChainageLayer);
  struct Label {
    const char* text;
    AcGePoint3d at;
  };
  const Label labels[] = {{"  K12+000.00", {57.5, -3.5, 0}},
                          {"= QD K12+000.00", {57.5, 3.5, 0}},
                          {"ZD K14+000.00", {52.5, 2000 - 3.5, 0}},
                          {"= K14+000.00", {52.5, 2000 + 3.5, 0}}};
  for (const Label& l : labels) {
    const auto found = marks.TextsReading(l.text);
    ASSERT_EQ(found.size(), 1u) << l.text;
    EXPECT_TRUE(Near(found[0].anchor, l.at)) << l.text << Str(found[0].anchor);
    EXPECT_EQ(found[0].mode, AcDb::kTextMid);
  }
}

// Break tables too short for what they carry, a zero interval and values
// far off the line: notes on the command line, nothing that is not a finite
// number in the drawing, and the walk keeps to the line.
TEST_F(ChainageMarks, ShortTablesAndZeroIntervalsAreSkipped) {
  const double huge = 1e300;
  struct Case {
    const char* name;
    std::vector<BreakRecord> breaks;
    double interval;
    const char* note;  // nullptr: none expected
    size_t entities;   // at least this many drawn
  };
  const Case cases[] = {
      {"one record", {Break(12000, 0, "K", "K")}, 100, nullptr, 2},
      {"zero interval", {Break(12000, 0, "K", "K"), Break(14000, 0, "K", "K")}, 0, "里程标间隔", 4},
      {"a value far off", {Break(12000, 0, "K", "K"), Break(huge, 0, "K", "K")}, 100, nullptr, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    model.InitPlanDefaults();
    platform::TranscriptCapture transcript;
    Settings(model, 2.0, 5.0, -1);
    StraightBaseLine(model, 12000, 2000);
    model.SetBaseBreakTable(static_cast<int>(c.breaks.size()), c.breaks.data());
    model.PrepareLines();
    model.DrawMainChainageMarks(c.interval, 1, 2, 1);
    if (c.note != nullptr) {
      EXPECT_TRUE(transcript.contains(c.note)) << transcript.text();
    }
    const LayerContents marks = Contents(kChainageLayer);
    EXPECT_GE(marks.count, c.entities);
    for (const TextItem& t : marks.texts) EXPECT_TRUE(std::isfinite(t.anchor.x) && std::isfinite(t.anchor.y));
    for (const LineItem& l : marks.lines) EXPECT_TRUE(std::isfinite(l.from.x + l.from.y + l.to.x + l.to.y));
    TearDown();
  }

  // No break at all: nothing but the note.
  SetUp();
  platform::TranscriptCapture transcript;
  AlignmentModel empty;
  Settings(empty, 2.0, 5.0, -1);
  const IntersectionPoint ips[] = {Ip(0, 0, 0, 12000), Ip(1, 2000, 0)};
  empty.LoadBaseLine(ips, 2);
  empty.PrepareLines();
  empty.DrawMainChainageMarks(100, 1, 2, 1);
  EXPECT_TRUE(transcript.contains("断链表没有记录")) << transcript.text();
  EXPECT_EQ(Contents(kChainageLayer).count, 0u);
}

// ---- A detour segment -------------------------------------------------------------------

// A left line 10 m west of a base line running north from K12+000 for
// 1000 m; its one detour segment is chained on its own from ZK12+000 with a
// short chain ZK12+300 = ZK12+345 at segment mileage 300, and rejoins the
// base line at ZK13+045 = K13+000 at segment mileage 1000 (where the base
// line is at K13+000: a long chain of 45 m closes the segment). The
// segment's own elements run due north from (0, −10) (drawn at X = −10).
// Marks stand on the left (side −1: −X).
class DetourMarks : public drawbasetest::DrawingTest {
 protected:
  void Draw(double k, double detourOffset) {
    Settings(model, k, 5.0, -1);
    model.settings.detourOffset = detourOffset;
    StraightBaseLine(model, 12000, 1000);
    StraightSideLine(model, kLeftLine, -10, 1000, kSideDetour, 12000);
    const PlanBreakRecord breaks[] = {SideBreak(0, "K", 12000, "ZK", 12000, "甲"),
                                      SideBreak(0, "ZK", 12300, "ZK", 12345), SideBreak(0, "ZK", 13045, "K", 13000)};
    model.SetLeftBreakTable(breaks, 3);
    model.PrepareLines();
    const IntersectionPoint ips[] = {Ip(0, 0, -10, 0), Ip(1, 1000, -10)};
    model.BuildPlanElements(ips, 2, areas, count);
    const std::vector<PlanBreakRecord>& resolved = model.Line(kLeftLine).breaks;
    model.DrawDetourChainageMarks(100, -1, 2, 1, areas.elements.data(), count, resolved.data(),
                                  static_cast<int>(resolved.size()), kLeftLine);
  }
  AlignmentModel model;
  PlanElementAreas areas;
  int count = 0;
};

// The leave and join labels, the break's texts centred 2k + half their
// length west of the line, and the marks' labels 2k + 0.5·(characters)·f·h
// west: ZK12+100 at segment mileage 100 reads "1", ZK12+400 (after the
// short chain) at 300 + 55 = 355 reads "4", ZK13+000 at 955 reads "ZK13".
TEST_F(DetourMarks, LabelsOfASegment) {
  Draw(2.0, 4.0);
  const LayerContents marks = Contents("左线绕行段里程");
  EXPECT_EQ(marks.TextsReading(" = 甲 左线绕行起点 ZK12+000.00").size(), 1u);
  EXPECT_EQ(marks.TextsReading("  K12+000.00").size(), 1u);
  EXPECT_EQ(marks.TextsReading("  12.0 左线绕行终点 ZK13+045.00").size(), 1u);
  EXPECT_EQ(marks.TextsReading(" = ZK13+000.00 长链 45.00 m").size(), 1u);

  const auto after = marks.TextsReading(" =ZK12+345.00 短链 45.00 m");
  ASSERT_EQ(after.size(), 1u);
  // 26 characters: 2k + 13h = 69 west of the line (X = −10), at 300 + 1.2h.
  EXPECT_TRUE(Near(after[0].anchor, AcGePoint3d(-10 - 69, 306, 0))) << Str(after[0].anchor);
  EXPECT_EQ(after[0].mode, AcDb::kTextCenter);

  struct Mark {
    const char* label;
    double y;
  };
  for (const Mark& m : {Mark{"1", 100}, Mark{"4", 355}, Mark{"ZK13", 955}}) {
    const double x = -10 - (4.0 + 0.5 * std::string(m.label).size() * 0.7 * 5.0);
    bool placed = false;
    for (const TextItem& t : marks.TextsReading(m.label)) placed = placed || Near(t.anchor, AcGePoint3d(x, m.y, 0));
    EXPECT_TRUE(placed) << m.label;
  }
}

// Above k = 9.9 the marks stand a further s·k/2 out: at k = 10 and s = 4, 20
// more to the west; the ticks of the marks start there.
TEST_F(DetourMarks, MovedOutAtSmallScales) {
  Draw(10.0, 4.0);
  const LayerContents marks = Contents("左线绕行段里程");
  size_t ticks = 0;
  for (const LineItem& l : marks.lines) {
    if (std::fabs(l.from.y - 100) < 1e-6 && std::fabs(l.from.x - (-30)) < 1e-6) {
      ++ticks;
      EXPECT_NEAR(l.to.x, -30 - 0.4 * 5.0, 1e-6);  // a mark's tick is 0.4h long
    }
  }
  EXPECT_EQ(ticks, 1u);
}

}  // namespace
