// The sample project's terrain model and its station lists: the model answers
// the intended ground in the corridor, the ground suits the structures and the
// grade line, and 填挖表 lists the stations the design commands start from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "SampleScheme.h"
#include "TerrainModel.h"
#include "XLDataBase.h"
#include "project/BreakTable.h"
#include "sample_support.h"
#include "win/transcript.h"

namespace {

using namespace sample_test;

// The straight grade line of 坡度表 (vertical curves change it by a few
// centimetres at most).
class GradeLine {
 public:
  GradeLine() {
    for (const auto& r : Rows("select 变坡点里程冠号, 变坡点里程数, 设计高程 from 坡度表 order by ID"))
      m_points.push_back({HandMileage(r[0], std::stod(r[1])), std::stod(r[2])});
  }
  double At(double mileage) const {
    for (size_t i = 1; i < m_points.size(); ++i) {
      if (mileage > m_points[i].first) continue;
      const auto& a = m_points[i - 1];
      const auto& b = m_points[i];
      return a.second + (b.second - a.second) * (mileage - a.first) / (b.first - a.first);
    }
    return m_points.back().second;
  }

 private:
  std::vector<std::pair<double, double>> m_points;
};

class SampleTerrainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SharedProject::Get().Made()) << SharedProject::Get().Error();
    location = std::make_unique<ProjectLocation>(SharedProject::Get().Folder());
    platform::TranscriptCapture quiet;
    ASSERT_TRUE(terrain.LoadFromFolder(SharedProject::Get().Folder().c_str()));
    // The baseline as the import builds it, for points along the line.
    baseline = std::make_unique<AlignmentModel>();
    XLDataBase tables;
    const CString db = SharedProject::Get().Database().c_str();
    ASSERT_EQ(tables.ReadTable(db, "曲线表"), 1);
    std::vector<IpRecord> ips;
    for (int i = 0; i < tables.curveCount; ++i) {
      const CurveRow& r = tables.curves[i];
      ips.push_back({static_cast<double>(i), r.x, r.y, r.L1, r.R, r.L2});
    }
    ASSERT_EQ(baseline->CreateFromRecords(static_cast<int>(ips.size()), ips.data(), "DK", "JD"), 1);
  }
  void TearDown() override { terrain.Close(); }

  LinePoint Point(double mileage, double offset = 0.0) const {
    LinePoint p{};
    p.mileage = mileage;
    EXPECT_GE(BAS_DRAW_FUN::PointAtMileage(baseline->elements, baseline->elementCount, p), 1);
    p.x += offset * std::cos(p.bearing + alignment_test::kPi / 2);
    p.y += offset * std::sin(p.bearing + alignment_test::kPi / 2);
    return p;
  }
  double GroundAt(double mileage) const {
    const LinePoint p = Point(mileage);
    return terrain.ElevationAt(p.x, p.y);
  }

  std::unique_ptr<ProjectLocation> location;
  TerrainModel terrain;
  std::unique_ptr<AlignmentModel> baseline;
};

TEST_F(SampleTerrainTest, ModelAnswersTheIntendedGroundInTheCorridor) {
  // The ground the program meant, from its own description of it.
  sample::SampleScheme scheme;
  std::string error;
  ASSERT_TRUE(scheme.Build(sample::kStationInterval, error)) << error;
  const sample::Ground& ground = scheme.GroundModel();

  double worst = 0.0, sum = 0.0;
  int n = 0, close = 0;
  for (double m = baseline->StartMileage(); m <= baseline->EndMileage(); m += 250.0) {
    for (double offset : {-250.0, -100.0, -30.0, 0.0, 30.0, 100.0, 250.0}) {
      const LinePoint p = Point(m, offset);
      const double z = terrain.ElevationAt(p.x, p.y);
      ASSERT_GT(z, 0.0) << "no ground at mileage " << m << ", offset " << offset;
      const double d = std::fabs(z - ground.Elevation(p.x, p.y));
      worst = std::max(worst, d);
      sum += d;
      close += d < 0.1 ? 1 : 0;
      ++n;
    }
  }
  // Planes over a 20 m mesh of a smooth ground: centimetres, up to a metre
  // in the narrow creek.
  EXPECT_LT(sum / n, 0.03);
  EXPECT_GT(close, n * 95 / 100);
  EXPECT_LT(worst, 1.0);
  // Far from the corridor there is no ground.
  const LinePoint far = Point(30000.0, -3000.0);
  EXPECT_EQ(terrain.ElevationAt(far.x, far.y), TerrainModel::kOutsideElevation);
}

TEST_F(SampleTerrainTest, HillsHoldTheTunnelsValleysTheBridgesAndTheRestIsEarthwork) {
  const GradeLine grade;
  struct Span {
    std::string name;
    bool tunnel;
    double from, to;
  };
  std::vector<Span> spans;
  for (const auto& r : Rows("select 隧道名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数 from 隧道"))
    spans.push_back({r[0], true, HandMileage(r[1], std::stod(r[2])), HandMileage(r[3], std::stod(r[4]))});
  for (const auto& r : Rows("select 桥梁名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数 from 大中桥"))
    spans.push_back({r[0], false, HandMileage(r[1], std::stod(r[2])), HandMileage(r[3], std::stod(r[4]))});
  ASSERT_EQ(spans.size(), 4u);
  for (const Span& s : spans) {
    SCOPED_TRACE(s.name);
    const double mid = (s.from + s.to) / 2.0;
    const double fillMid = grade.At(mid) - GroundAt(mid);
    if (s.tunnel) {
      // Deep under the hill, and the portals where the cutting reaches 12 m.
      EXPECT_GT(-fillMid, 18.0);
      for (double end : {s.from, s.to}) EXPECT_NEAR(grade.At(end) - GroundAt(end), -12.0, 1.5) << end;
    } else {
      // High over the valley, and the abutments on a fill of 5 to 10 m.
      EXPECT_GT(fillMid, 8.0);
      for (double end : {s.from, s.to}) {
        const double fill = grade.At(end) - GroundAt(end);
        EXPECT_GT(fill, 3.0) << end;
        EXPECT_LT(fill, 10.0) << end;
      }
    }
  }
  // Everywhere else the sections are earthwork of a few metres, up to about
  // 15 m, both fill and cut.
  double maxFill = 0.0, maxCut = 0.0;
  for (const auto& r : Rows("select 加桩里程冠号, 加桩里程数, 地面高程 from 填挖表 order by ID")) {
    const double m = HandMileage(r[0], std::stod(r[1]));
    if (std::any_of(spans.begin(), spans.end(), [&](const Span& s) { return m > s.from && m < s.to; })) continue;
    const double fill = grade.At(m) - std::stod(r[2]);
    maxFill = std::max(maxFill, fill);
    maxCut = std::max(maxCut, -fill);
  }
  EXPECT_GT(maxFill, 4.0);
  EXPECT_GT(maxCut, 4.0);
  EXPECT_LE(maxFill, 15.0);
  EXPECT_LE(maxCut, 15.0);
}

TEST_F(SampleTerrainTest, FillCutTableListsTheStationsOfTheLine) {
  XLDataBase tables;
  ASSERT_EQ(tables.ReadTable(SharedProject::Get().Database().c_str(), "断链表"), 1);
  const auto rows = Rows("select 加桩里程冠号, 加桩里程数, 地面高程 from 填挖表 order by ID");
  ASSERT_GT(rows.size(), 1000u);
  // Every station converts through the break table to one place on the line
  // (no message), in order and never more than one interval apart.
  platform::TranscriptCapture transcript;
  std::vector<double> mileages;
  double worstGround = 0.0;
  for (const auto& r : rows) {
    char chainage[kChainageTextSize];
    ChainageText3Decimals(r[0].c_str(), std::stod(r[1]), chainage);
    const double m = BreakTableChainageToMileage(chainage, tables.breakCount, tables.breaks);
    EXPECT_NEAR(m, HandMileage(r[0], std::stod(r[1])), 0.001) << chainage;
    if (!mileages.empty()) {
      EXPECT_GT(m, mileages.back() + 0.0005) << chainage;
      EXPECT_LE(m, mileages.back() + sample::kStationInterval + 0.001) << chainage;
    }
    mileages.push_back(m);
    worstGround = std::max(worstGround, std::fabs(std::stod(r[2]) - GroundAt(m)));
  }
  EXPECT_EQ(transcript.text(), "");
  EXPECT_LT(worstGround, 0.5);
  EXPECT_NEAR(mileages.front(), 25000.0, 1e-6);
  EXPECT_NEAR(mileages.back(), HandBaseline().end, 0.005);

  // It holds the curves' key points, the structures' ends and the chainage
  // right after each break.
  auto holds = [&](double m) {
    return std::any_of(mileages.begin(), mileages.end(), [&](double x) { return std::fabs(x - m) < 0.002; });
  };
  for (const auto& r : Rows("select 起点里程冠号, 起点里程, 终点里程冠号, 终点里程 from 曲线表 order by ID")) {
    EXPECT_TRUE(holds(HandMileage(r[0], std::stod(r[1])))) << r[1];
    EXPECT_TRUE(holds(HandMileage(r[2], std::stod(r[3])))) << r[3];
  }
  for (const char* table : {"隧道", "大中桥", "车站"}) {
    for (const auto& r : Rows(std::string("select 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数 from ") + table)) {
      EXPECT_TRUE(holds(HandMileage(r[0], std::stod(r[1])))) << table << " " << r[1];
      EXPECT_TRUE(holds(HandMileage(r[2], std::stod(r[3])))) << table << " " << r[3];
    }
  }
  EXPECT_TRUE(holds(ShortChainMileage()));
  EXPECT_TRUE(holds(LongChainMileage()));
  EXPECT_EQ(rows[0][0] + rows[0][1], "DK25000");

  // The detours' lists run from their start to their end in their own chainage.
  for (const sample::DetourDesign* d : {&sample::kLeftDetour, &sample::kRightDetour}) {
    const auto detour = Rows(std::string("select 绕行段编号, 加桩里程冠号, 加桩里程数 from ") +
                             (d->side < 0 ? "左线" : "右线") + "绕行段填挖表 order by ID");
    ASSERT_GT(detour.size(), 100u);
    for (const auto& r : detour) {
      EXPECT_EQ(r[0], "0");
      EXPECT_EQ(r[1], d->prefix);
    }
    EXPECT_EQ(std::stod(detour.front()[2]), d->startChainage);
    EXPECT_NEAR(std::stod(detour.back()[2]), d->startChainage + HandDetourLength(*d), 0.01);
  }
}

}  // namespace
