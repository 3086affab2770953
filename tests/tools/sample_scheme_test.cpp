// The sample scheme read back as the scheme import reads it: the baseline
// model from 曲线表 and 断链表, the side lines from their curve and break
// tables, and the detour sections' own lines, checked against the design
// worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "SideLineModel.h"
#include "XLDataBase.h"
#include "project/BreakTable.h"
#include "project/ChainageText.h"
#include "sample_support.h"
#include "win/transcript.h"

namespace {

using namespace sample_test;

class SampleSchemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SharedProject::Get().Made()) << SharedProject::Get().Error();
    // The models read the project's technical parameters when they are made.
    location = std::make_unique<ProjectLocation>(SharedProject::Get().Folder());
    db = SharedProject::Get().Database().c_str();
    baseline = std::make_unique<AlignmentModel>();
    left = std::make_unique<SideLineModel>();
    right = std::make_unique<SideLineModel>();
  }

  // The baseline as the import builds it: the curve rows as intersection
  // points (the first row's entry transition is the start mileage), then the
  // break table, then the elements again.
  void BuildBaseline(AlignmentModel& model) {
    XLDataBase tables;
    ASSERT_EQ(tables.ReadTable(db, "曲线表"), 1);
    std::vector<IpRecord> ips;
    for (int i = 0; i < tables.curveCount; ++i) {
      const CurveRow& r = tables.curves[i];
      ips.push_back({static_cast<double>(i), r.x, r.y, r.L1, r.R, r.L2});
    }
    ASSERT_EQ(model.CreateFromRecords(static_cast<int>(ips.size()), ips.data(), "AK", "JD"), 1);
    ASSERT_EQ(tables.ReadTable(db, "断链表"), 1);
    ASSERT_EQ(model.SetBreakTable(tables.breakCount, tables.breaks), 1);
    ASSERT_EQ(model.BuildLineElements(), 1);
  }

  // A side line as the import builds it, with its detour points.
  void BuildSide(const AlignmentModel& baseline, SideLineModel& side, const char* curves, const char* breaks,
                 const char* prefix) {
    XLDataBase tables;
    ASSERT_EQ(tables.ReadTable(db, curves), 1);
    ASSERT_EQ(side.Create(const_cast<AlignmentModel*>(&baseline), tables.sideCurveCount, tables.sideCurves, 0, prefix),
              1);
    ASSERT_EQ(tables.ReadTable(db, breaks), 1);
    ASSERT_EQ(side.SetDetourPoints(tables.sideBreaks, tables.sideBreakCount), 1);
  }

  // The signed offset of the side line from the baseline at a baseline mileage.
  static double OffsetAt(const AlignmentModel& baseline, const SideLineModel& side, double mileage) {
    double offset, otherMileage, x, y;
    EXPECT_EQ(BAS_DRAW_FUN::MileageOnOtherLine(mileage, baseline.elements, baseline.elementCount, side.elements,
                                               side.elementCount, offset, otherMileage, x, y),
              1);
    return offset;
  }

  std::unique_ptr<ProjectLocation> location;
  CString db;
  std::unique_ptr<AlignmentModel> baseline;
  std::unique_ptr<SideLineModel> left;
  std::unique_ptr<SideLineModel> right;
};

TEST_F(SampleSchemeTest, BaselineHasTheDesignedLengthCurvesAndChainages) {
  platform::TranscriptCapture transcript;
  BuildBaseline(*baseline);
  // The curves are clear of each other and their arcs long enough: no
  // warning while the line is built.
  EXPECT_EQ(transcript.text(), "");

  const HandLine hand = HandBaseline();
  ASSERT_EQ(baseline->ipCount, sample::kCurveCount + 2);
  EXPECT_NEAR(baseline->StartMileage(), 25000.0, 1e-9);
  EXPECT_NEAR(baseline->EndMileage(), hand.end, 0.005);
  EXPECT_NEAR(baseline->lineLength, hand.end - 25000.0, 0.005);
  EXPECT_GT(baseline->lineLength, 19500.0);
  EXPECT_LT(baseline->lineLength, 20500.0);
  for (int t = 1; t <= sample::kCurveCount; ++t) {
    SCOPED_TRACE("curve " + std::to_string(t));
    const sample::CurveDesign& c = sample::kCurves[t - 1];
    EXPECT_GE(c.R, 800.0);
    EXPECT_LE(c.R, 5000.0);
    EXPECT_EQ(baseline->ips[t].R, c.R);
    EXPECT_EQ(baseline->ips[t].L1, c.L);
    EXPECT_EQ(baseline->ips[t].L2, c.L);
    EXPECT_NEAR(baseline->curves[t].ZH, hand.curves[t - 1].ZH, 0.005);
    EXPECT_NEAR(baseline->curves[t].HZ, hand.curves[t - 1].HZ, 0.005);
    EXPECT_EQ(baseline->curves[t].turn, c.deflectionDms > 0 ? 1.0 : -1.0);
  }
  // The end of the line in chainage: the short chain adds 143.58 m, the long
  // chain takes 68.55 m off and the prefix becomes D1K.
  const BreakRecord& end = baseline->breaks[baseline->breakCount - 1];
  EXPECT_STREQ(end.prefixBefore, "D1K");
  EXPECT_NEAR(end.before, hand.end + 143.58 - 68.55, 0.005);
}

TEST_F(SampleSchemeTest, CurveTableColumnsAgreeWithTheHandCurves) {
  const HandLine hand = HandBaseline();
  const auto rows = Rows("select 交点号, 坐标N, 坐标E, 前切线长, 曲线长, 起点里程冠号, 起点里程, 终点里程冠号, 终点里程 "
                         "from 曲线表 order by ID");
  ASSERT_EQ(rows.size(), hand.x.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(rows[i][0], std::to_string(i));
    EXPECT_NEAR(std::stod(rows[i][1]), hand.x[i], 0.002);
    EXPECT_NEAR(std::stod(rows[i][2]), hand.y[i], 0.002);
    if (i == 0 || i + 1 == rows.size()) continue;
    const HandCurve& c = hand.curves[i - 1];
    EXPECT_NEAR(std::stod(rows[i][3]), c.T, 0.002);
    EXPECT_NEAR(std::stod(rows[i][4]), c.L, 0.002);
    std::string prefix;
    const double zh = HandChainage(c.ZH, prefix);
    EXPECT_EQ(rows[i][5], prefix);
    EXPECT_NEAR(std::stod(rows[i][6]), zh, 0.005);
    const double hz = HandChainage(c.HZ, prefix);
    EXPECT_EQ(rows[i][7], prefix);
    EXPECT_NEAR(std::stod(rows[i][8]), hz, 0.005);
  }
}

TEST_F(SampleSchemeTest, SideLinesRunAtTheirSpacingAndLeaveItInOneDetourEach) {
  BuildBaseline(*baseline);
  platform::TranscriptCapture transcript;
  BuildSide(*baseline, *left, "左线曲线表", "左线断链表", "ZJD");
  BuildSide(*baseline, *right, "右线曲线表", "右线断链表", "YJD");
  EXPECT_EQ(transcript.text(), "");

  struct Case {
    const char* name;
    const SideLineModel* side;
    const sample::DetourDesign& design;
  };
  const Case cases[] = {{"left", left.get(), sample::kLeftDetour}, {"right", right.get(), sample::kRightDetour}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const sample::DetourDesign& d = c.design;
    ASSERT_EQ(c.side->DetourCount(), 1);
    int first = -1, last = -1;
    c.side->DetourIpRange(0, first, last);
    EXPECT_EQ(last - first, 3);  // four points of their own
    // The detour's ends on the baseline are the designed chainages.
    const double start = HandMileage("DK", d.startChainage);
    const double end = HandMileage("DK", d.endChainage);
    double s, e;
    c.side->DetourRangeOnBaseline(0, s, e);
    EXPECT_NEAR(s, start, 0.01);
    EXPECT_NEAR(e, end, 0.01);
    EXPECT_EQ(c.side->FindDetourAtMileage((start + end) / 2.0), 0);
    EXPECT_EQ(c.side->FindDetourAtMileage(start - 100.0), -1);
    EXPECT_EQ(c.side->FindDetourAtMileage(end + 100.0), -1);

    // Outside the detour the line keeps its spacing, on straights and on
    // curves (the middle of curve 4, of radius 800); in the detour's middle
    // it stands `detourOffset` off.
    const double curve4 = (baseline->curves[4].ZH + baseline->curves[4].HZ) / 2.0;
    for (double m : {25100.0, 30300.0, curve4, 44500.0}) EXPECT_NEAR(OffsetAt(*baseline, *c.side, m), d.baseOffset, 0.01) << m;
    EXPECT_NEAR(OffsetAt(*baseline, *c.side, (start + end) / 2.0), d.detourOffset, 0.01);
  }
}

TEST_F(SampleSchemeTest, DetourSectionsHaveTheirDesignedLengthAndEndChainage) {
  BuildBaseline(*baseline);
  BuildSide(*baseline, *left, "左线曲线表", "左线断链表", "ZJD");
  BuildSide(*baseline, *right, "右线曲线表", "右线断链表", "YJD");
  struct Case {
    const char* breaks;
    const SideLineModel* side;
    const sample::DetourDesign& design;
  };
  const Case cases[] = {{"左线断链表", left.get(), sample::kLeftDetour},
                        {"右线断链表", right.get(), sample::kRightDetour}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.breaks);
    const double length = HandDetourLength(c.design);
    // The section's own line, as the detour import builds it.
    IpRecord records[SideLineModel::kMaxDetourIps];
    int count = 0;
    ASSERT_EQ(c.side->DetourIntersectionList(0, records, SideLineModel::kMaxDetourIps, count), 1);
    EXPECT_EQ(count, 6);
    AlignmentModel section;
    platform::TranscriptCapture transcript;
    ASSERT_EQ(section.CreateFromRecords(count, records, "AK", "ZJD"), 1);
    EXPECT_EQ(transcript.text(), "");
    EXPECT_NEAR(section.lineLength, length, 0.01);
    for (int t = 1; t <= 4; ++t) EXPECT_EQ(section.ips[t].R, sample::kDetourR);

    // Its points: DK start = <prefix> start, and <prefix> (start + length) = DK end.
    const auto rows = Rows(std::string("select 编号, 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数 from ") +
                           c.breaks + " order by ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"0", "DK", Shortest(c.design.startChainage), c.design.prefix,
                                                  Shortest(c.design.startChainage)}));
    EXPECT_EQ(rows[1][0], "0");
    EXPECT_EQ(rows[1][1], c.design.prefix);
    EXPECT_NEAR(std::stod(rows[1][2]), c.design.startChainage + length, 0.01);
    EXPECT_EQ(rows[1][3], "DK");
    EXPECT_EQ(std::stod(rows[1][4]), c.design.endChainage);
  }
}

TEST_F(SampleSchemeTest, TiedSidePointsLieBesideTheBaselineLegs) {
  // The coordinates stored for the points tied to baseline points (which the
  // plan draws from) lie `spacing` off both baseline legs through that point.
  std::vector<double> bx, by;
  for (const auto& row : Rows("select 坐标N, 坐标E from 曲线表 order by ID")) {
    bx.push_back(std::stod(row[0]));
    by.push_back(std::stod(row[1]));
  }
  const auto rows = Rows("select 交点属性, 一线交点号, 线间距, 坐标N, 坐标E from 左线曲线表 order by ID");
  ASSERT_EQ(rows.size(), bx.size() + 4);
  auto offsetFromLeg = [&](int from, double x, double y) {
    const double dx = bx[from + 1] - bx[from], dy = by[from + 1] - by[from];
    // Positive to the right of the leg's direction.
    return (dx * (y - by[from]) - dy * (x - bx[from])) / std::hypot(dx, dy);
  };
  int tied = 0;
  for (const auto& row : rows) {
    if (row[0] != "0") continue;
    ++tied;
    const int b = std::stoi(row[1]);
    const double x = std::stod(row[3]), y = std::stod(row[4]);
    SCOPED_TRACE("baseline point " + row[1]);
    EXPECT_EQ(std::stod(row[2]), -sample::kLineSpacing);
    if (b > 0) {
      EXPECT_NEAR(offsetFromLeg(b - 1, x, y), -sample::kLineSpacing, 0.001);
    }
    if (b + 1 < static_cast<int>(bx.size())) {
      EXPECT_NEAR(offsetFromLeg(b, x, y), -sample::kLineSpacing, 0.001);
    }
  }
  EXPECT_EQ(tied, static_cast<int>(bx.size()));
}

TEST_F(SampleSchemeTest, EveryChainageOfTheTablesFindsOnePlaceOnItsLine) {
  // The baseline's tables convert through 断链表, a detour's through its two
  // points (as the detour import sets them); a chainage found at no place or
  // at two would show a message.
  XLDataBase tables;
  ASSERT_EQ(tables.ReadTable(db, "断链表"), 1);
  std::vector<BreakRecord> base(tables.breaks, tables.breaks + tables.breakCount);
  struct Line {
    std::string prefix;  // table name prefix
    std::vector<BreakRecord> breaks;
  };
  std::vector<Line> lines = {{"", base}};
  for (const char* side : {"左线", "右线"}) {
    const auto points = Rows(std::string("select 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数 from ") +
                             side + "断链表 order by ID");
    ASSERT_EQ(points.size(), 2u);
    std::vector<BreakRecord> breaks(2);
    for (int i = 0; i < 2; ++i) {
      breaks[i].before = std::stod(points[i][1]);
      breaks[i].length = std::stod(points[i][3]) - breaks[i].before;
      SetBreakPrefixes(breaks[i], points[i][0].c_str(), points[i][2].c_str());
    }
    lines.push_back({std::string(side) + "绕行段", breaks});
  }
  struct Column {
    const char* table;
    const char* prefix;
    const char* value;  // a number column, or the chainage text when prefix is empty
  };
  const Column columns[] = {
      {"坡度表", "变坡点里程冠号", "变坡点里程数"}, {"隧道", "起点里程冠号", "起点里程数"},
      {"隧道", "终点里程冠号", "终点里程数"},       {"大中桥", "中心里程冠号", "中心里程数"},
      {"大中桥", "起点里程冠号", "起点里程数"},     {"大中桥", "终点里程冠号", "终点里程数"},
      {"车站", "站房中心里程冠号", "站房中心里程数"}, {"车站", "起点里程冠号", "起点里程数"},
      {"小桥涵", "中心里程冠号", "中心里程数"},     {"水准点表", "里程冠号", "里程数"},
      {"填挖表", "加桩里程冠号", "加桩里程数"},     {"标尺", "", "里程"},
  };
  platform::TranscriptCapture transcript;
  int converted = 0;
  for (const Line& line : lines) {
    for (const Column& c : columns) {
      const std::string table = line.prefix + c.table;
      if (!line.prefix.empty() && table == "右线绕行段车站") continue;
      for (const auto& r : Rows(std::string("select ") + (*c.prefix ? std::string(c.prefix) + ", " : "") + c.value +
                                " from [" + table + "]")) {
        char text[kChainageTextSize];
        if (*c.prefix) {
          ChainageText3Decimals(r[0].c_str(), std::stod(r[1]), text);
        } else {
          std::snprintf(text, sizeof text, "%s", r[0].c_str());
        }
        BreakTableChainageToMileage(text, static_cast<int>(line.breaks.size()), line.breaks.data());
        ++converted;
      }
    }
    // The track structure of a side line is read for its detour section,
    // through the section line's own (stricter) conversion.
    const std::string track = line.prefix.empty() ? "基线轨道结构" : line.prefix.substr(0, 6) + "轨道结构";
    AlignmentModel section;
    ASSERT_EQ(section.SetBreakTable(static_cast<int>(line.breaks.size()), line.breaks.data()), 1);
    for (const auto& r : Rows("select 分段终里程 from " + track)) {
      if (line.prefix.empty()) {
        BreakTableChainageToMileage(r[0].c_str(), static_cast<int>(line.breaks.size()), line.breaks.data());
      } else {
        section.ChainageToMileage(r[0].c_str(), static_cast<int>(line.breaks.size()));
      }
      ++converted;
    }
  }
  EXPECT_GT(converted, 1300);
  EXPECT_EQ(transcript.text(), "");
}

}  // namespace
