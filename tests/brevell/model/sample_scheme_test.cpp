// The plan's loader and model on the sample project's scheme database (made
// by the sample-project program): every table the loader knows reads as many
// records as the table holds rows, and the base line the model computes from
// 曲线表 meets the key-point chainages, tangents and curve lengths stored in
// that table (worked out by the sample's own design, not by this module).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "XLDataBase.h"
#include "fixtures/scheme_db.h"
#include "geometry/GeoFunctions.h"
#include "brevell/sample_project_support.h"

namespace {

class SampleScheme : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    m_db = plantest::SampleDatabase(error);
    ASSERT_FALSE(m_db.empty()) << error;
  }
  std::vector<std::vector<std::string>> Query(const std::string& sql) {
    std::string error;
    auto rows = fixtures::QueryRows(m_db, sql, &error);
    EXPECT_TRUE(error.empty()) << error;
    return rows;
  }
  size_t RowCount(const std::string& table) {
    const auto rows = Query("select count(*) from " + table);
    return rows.empty() ? 0 : static_cast<size_t>(std::atoi(rows[0][0].c_str()));
  }
  // The base line and its breaks, read by the loader into the model.
  void LoadBaseLine(XLDataBase& loader, AlignmentModel& model) {
    loader.LoadSchemeTables(m_db.c_str(), "曲线表", false);
    loader.LoadSchemeTables(m_db.c_str(), "断链表", false);
    model.LoadBaseLine(loader.intersectionPoints.data(), static_cast<int>(loader.intersectionPoints.size()));
    model.SetBaseBreakTable(static_cast<int>(loader.breaks.size()), loader.breaks.data());
  }
  std::string m_db;
};

TEST_F(SampleScheme, EveryTableReadsAllItsRows) {
  XLDataBase loader;
  struct Table {
    const char* name;
    size_t (*count)(const XLDataBase&);
  };
  const Table tables[] = {
      {"曲线表", [](const XLDataBase& l) { return l.curves.size(); }},
      {"断链表", [](const XLDataBase& l) { return l.breaks.size(); }},
      {"左线曲线表", [](const XLDataBase& l) { return l.sideCurves.size(); }},
      {"右线曲线表", [](const XLDataBase& l) { return l.sideCurves.size(); }},
      {"左线断链表", [](const XLDataBase& l) { return l.sideBreaks.size(); }},
      {"右线断链表", [](const XLDataBase& l) { return l.sideBreaks.size(); }},
      // No tunnel of the sample has a blank end, so every row stays.
      {"隧道", [](const XLDataBase& l) { return l.tunnels.size(); }},
      {"左线绕行段隧道", [](const XLDataBase& l) { return l.tunnels.size(); }},
      {"大中桥", [](const XLDataBase& l) { return l.bridges.size(); }},
      {"右线绕行段大中桥", [](const XLDataBase& l) { return l.bridges.size(); }},
      {"小桥涵", [](const XLDataBase& l) { return l.culverts.size(); }},
      {"左线绕行段小桥涵", [](const XLDataBase& l) { return l.culverts.size(); }},
      {"车站", [](const XLDataBase& l) { return l.stations.size(); }},
      {"水准点表", [](const XLDataBase& l) { return l.benchMarks.size(); }},
      {"右线绕行段水准点表", [](const XLDataBase& l) { return l.benchMarks.size(); }},
      {"导线表", [](const XLDataBase& l) { return l.traverse.size(); }},
      {"左线绕行段导线表", [](const XLDataBase& l) { return l.traverse.size(); }},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.name);
    loader.LoadSchemeTables(m_db.c_str(), t.name, false);
    const size_t rows = RowCount(t.name);
    EXPECT_GT(rows, 0u);
    EXPECT_EQ(t.count(loader), rows);
    if (std::string(t.name) == "曲线表") {
      EXPECT_EQ(loader.intersectionPoints.size(), rows);
    }
  }

  // The bridges' texts against their row, formatted here: prefix, kilometres,
  // "+", metres with two decimals and three integer digits.
  loader.LoadSchemeTables(m_db.c_str(), "大中桥", false);
  const auto rows = Query("select 桥梁名称, 中心里程冠号, 中心里程数, 起点里程冠号, 起点里程数, 线数, 100年水位高程 from 大中桥 order by ID");
  ASSERT_EQ(loader.bridges.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const BridgeRecord& b = loader.bridges[i];
    auto text = [](const std::string& prefix, const std::string& value) {
      const double v = std::atof(value.c_str());
      const int km = static_cast<int>(std::floor(v / 1000.0));
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%s%d+%06.2f", prefix.c_str(), km, v - 1000.0 * km);
      return std::string(buffer);
    };
    EXPECT_EQ(b.name.GetString(), rows[i][0]);
    EXPECT_EQ(b.centreText, text(rows[i][1], rows[i][2]));
    EXPECT_EQ(b.startText, text(rows[i][3], rows[i][4]));
    EXPECT_EQ(b.trackCount, std::atoi(rows[i][5].c_str()));
    EXPECT_EQ(std::atof(b.waterLevel.GetString()), std::atof(rows[i][6].c_str()));
  }
}

// The base line computed here meets the sample's 曲线表: the chainage of each
// curve's ZH and HZ (起点里程, 终点里程 with their prefixes), its tangents,
// length and signed deflection; the first row's start and the last row's end.
TEST_F(SampleScheme, BaseLineMeetsTheCurveTable) {
  XLDataBase loader;
  AlignmentModel model;
  LoadBaseLine(loader, model);
  const PlanLine& line = model.Line(kBaseLine);
  const int n = line.pointCount;
  ASSERT_EQ(n, static_cast<int>(loader.curves.size()));
  ASSERT_GE(n, 3);
  EXPECT_EQ(line.lastComputedCurve, n - 2);

  auto expectChainage = [&](double mileage, const CString& prefix, double chainage, const char* what) {
    char computedPrefix[kChainPrefixSize];
    const double computed = model.MileageToChainage(mileage, computedPrefix);
    EXPECT_NEAR(computed, chainage, 2e-3) << what;
    EXPECT_STREQ(computedPrefix, prefix.GetString()) << what;
  };
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    const PlanCurveRecord& row = loader.curves[i];
    const CurveKeyPoints& k = line.areas.keyPoints[i];
    expectChainage(k.ZH, row.startPrefix, row.startMileage, "ZH");
    if (i == 0 || i == n - 1) continue;
    expectChainage(k.HZ, row.endPrefix, row.endMileage, "HZ");
    EXPECT_NEAR(k.T1, row.T1, 2e-3);
    EXPECT_NEAR(k.T2, row.T2, 2e-3);
    EXPECT_NEAR(k.L, row.curveLength, 2e-3);
    EXPECT_NEAR(k.turn * DmsToDegrees(k.deflection), DmsToDegrees(row.deflection), 1.0 / 3600.0);
  }
  // The line ends at its last IP.
  const ElementRecord& end = line.areas.elements[line.elementCount];
  EXPECT_NEAR(end.x, loader.intersectionPoints[n - 1].N, 1e-3);
  EXPECT_NEAR(end.y, loader.intersectionPoints[n - 1].E, 1e-3);
}

// The side lines of the sample: the left line runs 4 m beside the base line
// with one detour segment (rows of 交点属性 1), the right line lies on the
// base line (spacing 0) apart from its detour segment. So the left line has
// three sections (beside, detour, beside) and every record visited; the right
// line one section, its detour, and only the detour's records visited.
TEST_F(SampleScheme, SideLinesSegmentsAndSections) {
  XLDataBase loader;
  AlignmentModel model;
  LoadBaseLine(loader, model);

  const struct {
    int code;
    const char* curves;
    const char* breaks;
    size_t sections;
    bool allVisited;
  } sides[] = {{kLeftLine, "左线曲线表", "左线断链表", 3, true}, {kRightLine, "右线曲线表", "右线断链表", 1, false}};
  for (const auto& side : sides) {
    SCOPED_TRACE(side.curves);
    loader.LoadSchemeTables(m_db.c_str(), side.curves, false);
    loader.LoadSchemeTables(m_db.c_str(), side.breaks, false);
    model.LoadSideLine(side.code, loader.sideCurves.data(), static_cast<int>(loader.sideCurves.size()));
    model.SetSideBreakTable(side.code, loader.sideBreaks.data(), static_cast<int>(loader.sideBreaks.size()));

    // The detour rows, by position in the table.
    const auto kinds = Query(std::string("select 交点属性 from ") + side.curves + " order by ID");
    int first = -1, last = -1;
    for (int i = 0; i < static_cast<int>(kinds.size()); ++i) {
      if (kinds[i][0] != "1") continue;
      if (first < 0) first = i;
      last = i;
    }
    ASSERT_GE(first, 0);
    EXPECT_EQ(model.SegmentCount(side.code), 1);
    int segmentFirst, segmentLast;
    ASSERT_TRUE(model.SegmentRange(side.code, 0, segmentFirst, segmentLast));
    EXPECT_EQ(segmentFirst, first);
    EXPECT_EQ(segmentLast, last);
    int breakFirst, breakLast;
    ASSERT_TRUE(model.BreakRange(side.code, 0, breakFirst, breakLast));
    EXPECT_EQ(breakFirst, 0);
    EXPECT_EQ(breakLast, static_cast<int>(RowCount(side.breaks)) - 1);

    model.PrepareLines();
    const PlanLine& line = model.Line(side.code);
    EXPECT_EQ(line.sections.size(), side.sections);
    for (int i = 0; i < static_cast<int>(line.records.size()); ++i) {
      const bool detour = i >= first && i <= last;
      EXPECT_EQ(line.records[i].visited, side.allVisited || detour ? 1 : 0) << i;
    }
    // The whole base line maps onto the whole side line (both start and end
    // side by side).
    EXPECT_NEAR(line.range.start, line.StartMileage(), 0.2);
    EXPECT_NEAR(line.range.end, line.EndMileage(), 0.2);
  }
}

}  // namespace
