// The whole plan of the sample project (made by the sample-project program)
// at 1:2000, drawn as the settings dialog's OK and the structure commands
// draw it: the base line and both side lines with their break tables, the
// plan, then every structure table of the three lines.
//
// Checked against positions worked out here from the tables themselves
// (the sample's own design, not this module): each kilometre mark on a
// straight of the base line lies at its chainage's mileage, found through
// the two chain breaks of the sample (DK28+356.42 = DK28+500, a short chain
// of 143.58 m, and DK40+318.55 = D1K40+250, a long chain of 68.55 m), on the
// tangent from the IP before it; the base line's structures lie within their
// chainages. The drawing is saved as DXF and read back with ezdxf, and an
// SVG of it is written beside it to look at (test-tmp/plan_sample/).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "arx/dxffile.h"
#include "XLDataBase.h"
#include "fixtures/scheme_db.h"
#include "brevell/plan_drawing_support.h"
#include "brevell/sample_project_support.h"

namespace {

using namespace plantest;
namespace fs = std::filesystem;

// Mileage of a base-line chainage of the sample, by its chain breaks.
double SampleMileage(const std::string& prefix, double chainage) {
  if (prefix == "D1K") return chainage - 143.58 + 68.55;
  return chainage <= 28356.42 ? chainage : chainage - 143.58;
}

double Number(const std::string& text) { return std::atof(text.c_str()); }

class SamplePlan : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    drawbasetest::DrawingTest::SetUp();
    std::string error;
    m_db = SampleDatabase(error);
    ASSERT_FALSE(m_db.empty()) << error;
    m_module = std::make_unique<drawbasetest::ModulePathScope>(RAIL_INSTALL_DIR, "brevell.arx");
  }
  void TearDown() override {
    m_module.reset();
    drawbasetest::DrawingTest::TearDown();
  }

  // The plan as the settings dialog draws it at 1:2000 (text height 4 and
  // centre-line width 0.7 on paper, hectometre marks, direction 从左往右),
  // then the structures of the three lines as their commands draw them.
  void Draw(AlignmentModel& model) {
    XLDataBase loader;
    const CString path = m_db.c_str();
    loader.LoadSchemeTables(path, "曲线表", false);
    loader.LoadSchemeTables(path, "断链表", false);
    model.LoadBaseLine(loader.intersectionPoints.data(), static_cast<int>(loader.intersectionPoints.size()));
    model.SetBaseBreakTable(static_cast<int>(loader.breaks.size()), loader.breaks.data());
    Settings(model, 2.0, 8.0, -1);
    model.settings.chainageMarkInterval = 100;
    model.settings.detourOffset = 4.0;
    model.CreatePlanLayers();
    for (int line : {kLeftLine, kRightLine}) {
      loader.Clear();
      loader.LoadSchemeTables(path, line < 0 ? "左线曲线表" : "右线曲线表", false);
      loader.LoadSchemeTables(path, line < 0 ? "左线断链表" : "右线断链表", false);
      model.LoadSideLine(line, loader.sideCurves.data(), static_cast<int>(loader.sideCurves.size()));
      if (line < 0) {
        model.SetLeftBreakTable(loader.sideBreaks.data(), static_cast<int>(loader.sideBreaks.size()));
      } else {
        model.SetRightBreakTable(loader.sideBreaks.data(), static_cast<int>(loader.sideBreaks.size()));
      }
    }
    model.PrepareLines();
    model.DrawPlan();

    for (int line : {kBaseLine, kLeftLine, kRightLine}) {
      const std::string form = line < 0 ? "左线绕行段" : line > 0 ? "右线绕行段" : "";
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "大中桥").c_str(), false);
      for (const BridgeRecord& r : loader.bridges) model.DrawBridge(BridgeCall::FromRecord(r, line));
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "小桥涵").c_str(), false);
      for (const CulvertRecord& r : loader.culverts) model.DrawCulverts(CulvertCall::FromRecord(r, line));
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "水准点表").c_str(), false);
      for (const BenchMarkRecord& r : loader.benchMarks) model.DrawBenchMarks(BenchMarkCall::FromRecord(r, line));
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "隧道").c_str(), false);
      for (const TunnelRecord& r : loader.tunnels) model.DrawTunnel(TunnelCall::FromRecord(r, line));
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "车站").c_str(), false);
      for (const StationRecord& r : loader.stations) {
        model.DrawStations(r.centreText, r.name.GetString(), r.flagBlockName.GetString(), line,
                           line == kBaseLine ? -1 : r.detourIndex);
      }
      loader.Clear();
      loader.LoadSchemeTables(path, (form + "导线表").c_str(), false);
      std::vector<double> N, E, elevations, bearings;
      std::vector<CString> names;
      for (const TraverseRecord& r : loader.traverse) {
        N.push_back(r.N);
        E.push_back(r.E);
        elevations.push_back(r.elevation);
        bearings.push_back(r.bearing);
        names.push_back(r.station);
      }
      if (!N.empty()) {
        model.DrawTraverse(static_cast<int>(N.size()), N.data(), E.data(), names.data(), elevations.data(),
                           bearings.data(), line);
      }
    }
    model.PrepareTunnels(fixtures::ConnectionString(m_db).c_str());
  }

  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    std::string error;
    auto rows = fixtures::QueryRows(m_db, sql, &error);
    EXPECT_TRUE(error.empty()) << error;
    return rows;
  }

  std::string m_db;

 private:
  std::unique_ptr<drawbasetest::ModulePathScope> m_module;
};

TEST_F(SamplePlan, WholePlanAt2000) {
  AlignmentModel model;
  Draw(model);

  // ---- Kilometre marks on the base line's straights ----
  struct Ip {
    double N, E, T2, zh, hz;  // hz, zh: mileages of the curve's HZ and ZH
  };
  std::vector<Ip> ips;
  for (const auto& r : Rows("select 坐标N, 坐标E, 后切线长, 起点里程冠号, 起点里程, 终点里程冠号, 终点里程 "
                            "from 曲线表 order by ID")) {
    ips.push_back({Number(r[0]), Number(r[1]), Number(r[2]), SampleMileage(r[3], Number(r[4])),
                   SampleMileage(r[5], Number(r[6]))});
  }
  ASSERT_GE(ips.size(), 3u);
  const LayerContents marks = Contents("里程");
  int checked = 0;
  for (int km = 26; km <= 45; ++km) {
    const std::string prefix = km * 1000.0 > 40318.55 ? "D1K" : "DK";
    const std::string label = prefix + std::to_string(km);
    SCOPED_TRACE(label);
    EXPECT_EQ(marks.TextsReading(label).size(), 1u);
    const double m = SampleMileage(prefix, km * 1000.0);
    for (size_t j = 0; j + 1 < ips.size(); ++j) {
      if (m < ips[j].hz || m > ips[j + 1].zh) continue;  // on the straight after IP j only
      const double legN = ips[j + 1].N - ips[j].N;
      const double legE = ips[j + 1].E - ips[j].E;
      const double leg = std::hypot(legN, legE);
      const double along = ips[j].T2 + (m - ips[j].hz);
      const AcGePoint3d at(ips[j].E + along * legE / leg, ips[j].N + along * legN / leg, 0);
      bool ticked = false;
      for (const LineItem& l : marks.lines) ticked = ticked || Near(l.from, at, 5e-3);
      EXPECT_TRUE(ticked) << "no tick at " << Str(at);
      ++checked;
    }
  }
  EXPECT_GE(checked, 8);

  // ---- The base line's structures within their chainages ----
  auto withinOne = [&](double m, const std::vector<std::pair<double, double>>& ranges, double allowance) {
    for (const auto& [from, to] : ranges) {
      if (m >= from - allowance && m <= to + allowance) return true;
    }
    return false;
  };
  auto rangesOf = [&](const std::string& table) {
    std::vector<std::pair<double, double>> ranges;
    for (const auto& r : Rows("select 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数 from " + table)) {
      ranges.emplace_back(SampleMileage(r[0], Number(r[1])), SampleMileage(r[2], Number(r[3])));
    }
    return ranges;
  };
  struct Kind {
    const char* layer;
    const char* table;
  };
  for (const Kind& k : {Kind{"隧道", "隧道"}, Kind{"大中桥", "大中桥"}}) {
    SCOPED_TRACE(k.layer);
    const auto ranges = rangesOf(k.table);
    ASSERT_FALSE(ranges.empty());
    const LayerContents layer = Contents(k.layer);
    EXPECT_GE(layer.polylines.size(), 4 * ranges.size());
    for (const PolylineItem& p : layer.polylines) {
      // The outline's wings reach 1.5k beyond the ends.
      for (const AcGePoint3d& v : p.points) EXPECT_TRUE(withinOne(model.ProjectOnBaseLine(v.y, v.x), ranges, 3.1));
    }
  }
  std::vector<std::pair<double, double>> culverts;
  for (const auto& r : Rows("select 中心里程冠号, 中心里程数 from 小桥涵")) {
    const double m = SampleMileage(r[0], Number(r[1]));
    culverts.emplace_back(m, m);
  }
  const LayerContents culvertLayer = Contents("小桥涵");
  EXPECT_EQ(culvertLayer.lines.size(), culverts.size());
  for (const LineItem& l : culvertLayer.lines) {
    EXPECT_TRUE(withinOne(model.ProjectOnBaseLine(l.from.y, l.from.x), culverts, 0.01)) << Str(l.from);
  }
  const auto stations = Rows("select 站房中心里程冠号, 站房中心里程数 from 车站 order by ID");
  const LayerContents stationLayer = Contents("车站");
  ASSERT_EQ(stationLayer.inserts.size(), stations.size());
  for (size_t i = 0; i < stations.size(); ++i) {
    const AcGePoint3d& p = stationLayer.inserts[i].position;
    EXPECT_NEAR(model.ProjectOnBaseLine(p.y, p.x), SampleMileage(stations[i][0], Number(stations[i][1])), 0.01);
  }
  const auto benchMarks = Rows("select 坐标N, 坐标E from 水准点表 order by ID");
  const LayerContents benchLayer = Contents("水准点");
  ASSERT_EQ(benchLayer.inserts.size(), benchMarks.size());
  for (size_t i = 0; i < benchMarks.size(); ++i) {
    EXPECT_TRUE(Near(benchLayer.inserts[i].position, {Number(benchMarks[i][1]), Number(benchMarks[i][0]), 0}));
  }
  // The side lines' own structures and chainage marks are there too.
  for (const char* layer : {"左线绕行段隧道", "右线绕行段大中桥", "左线绕行段里程", "右线绕行段里程", "左线路中线",
                            "右线路中线", "导线", "左线绕行段导线", "特征点位置", "左线间距"}) {
    EXPECT_GT(Contents(layer).count, 0u) << layer;
  }

  // ---- Saved, read back with ezdxf, and drawn as SVG ----
  const fs::path out = fs::path(RAIL_BINARY_DIR) / "test-tmp" / "plan_sample";
  fs::create_directories(out);
  const std::string dxf = (out / "plan.dxf").string();
  ASSERT_EQ(db()->saveAs(dxf.c_str()), Acad::eOk);
  ASSERT_EQ(platform::exportSvg(*db(), (out / "plan.svg").string()), Acad::eOk);
  EXPECT_GT(fs::file_size(out / "plan.svg"), 10000u);
  if (!drawbasetest::EzdxfAvailable()) GTEST_SKIP() << "no ezdxf for /usr/bin/python3";
  const std::vector<std::string> lines = drawbasetest::EzdxfReadBack(dxf);
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "audit"), std::vector<std::string>{"audit\t0"});
  EXPECT_EQ(drawbasetest::WithPrefix(lines, "entity").size(), drawbasetest::ModelSpaceIds().size());
  size_t groups = drawbasetest::WithPrefix(lines, "group").size();
  EXPECT_GE(groups, ips.size() - 2);  // one per curve of the base line at least
}

}  // namespace
