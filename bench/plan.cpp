// The plan drawing: the whole plan of a 100-km double-track scheme at 1:2000
// with its structures (BM_DrawPlan), and the DXF save of that drawing
// (BM_SavePlanDxf). The counter "entities" is the number of entities the
// plan puts into model space.
//
// The scheme, made here: a base line of 42 IPs on legs of 2500 m turning
// alternately 12° right and left, every curve R 2500 with transitions of
// 120 m, chained from DK0+000 with a short chain of 100 m at DK50+000; the
// second track as the left line 5 m beside it, its IPs 10 to 13 a detour
// segment chained on its own (ZDK). Structures every few kilometres: 20
// tunnels of 600 m, 33 bridges of 160 m, 250 culverts, 10 stations, 50
// bench marks, and a traverse of 135 points; the tunnels' centre-line
// stretches drawn as the tunnel commands draw them.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "arx/arx.h"
#include "AlignmentModel.h"
#include "PlanLayers.h"
#include "crt/paths.h"
#include "project/ModulePath.h"
#include "scratch_folder.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kIps = 42;
constexpr double kLeg = 2500.0;
constexpr double kDeflection = 12.0 * kPi / 180.0;
constexpr double kRadius = 2500.0;
constexpr double kTransition = 120.0;
constexpr double kSpacing = 5.0;
constexpr double kBreakAt = 50000.0;  // DK50+000 = DK50+100
constexpr double kBreakLength = 100.0;

std::string Chainage(const char* prefix, double value) {
  char text[64];
  BAS_DRAW_FUN::ChainageToText(CString(prefix), value, text);
  return text;
}

// The base line's IPs and the left line's records 5 m to its left.
void Lines(std::vector<IntersectionPoint>& base, std::vector<SideLineRecord>& left) {
  double N = 3500000.0, E = 500000.0, bearing = 0.9;
  std::vector<double> legs;  // the bearing of the leg from IP i to IP i + 1
  for (int i = 0; i < kIps; ++i) {
    const bool inner = i > 0 && i < kIps - 1;
    base.push_back({static_cast<double>(i), N, E,
                    i == 0  ? 0.0
                    : inner ? kTransition
                            : 0.0,
                    inner ? kRadius : 0.0, inner ? kTransition : 0.0});
    if (inner) bearing += i % 2 == 0 ? kDeflection : -kDeflection;
    legs.push_back(bearing);
    N += kLeg * std::cos(bearing);
    E += kLeg * std::sin(bearing);
  }
  for (int i = 0; i < kIps; ++i) {
    const double in = legs[i > 0 ? i - 1 : 0];
    const double out = legs[i < kIps - 1 ? i : kIps - 2];
    const double alpha = out - in;
    const double mean = in + alpha / 2.0;
    const double d = kSpacing / std::cos(alpha / 2.0);
    SideLineRecord r;
    r.kind = i >= 10 && i <= 13 ? 1 : 0;
    r.secondLineIp = i;
    r.firstLineIp = i;
    r.N = base[i].N + d * std::cos(mean - kPi / 2.0);
    r.E = base[i].E + d * std::sin(mean - kPi / 2.0);
    r.L1 = base[i].L1;
    r.R = base[i].R > 0.0 ? base[i].R + (alpha > 0.0 ? kSpacing : -kSpacing) : 0.0;
    r.L2 = base[i].L2;
    r.spacing = -kSpacing;
    left.push_back(r);
  }
}

double ChainageOf(double mileage) { return mileage < kBreakAt ? mileage : mileage + kBreakLength; }

// The scheme loaded into a model as the settings dialog loads it, at 1:2000.
void Load(AlignmentModel& model) {
  std::vector<IntersectionPoint> base;
  std::vector<SideLineRecord> left;
  Lines(base, left);
  model.LoadBaseLine(base.data(), kIps);
  const double end = model.Line(kBaseLine).EndMileage();
  BreakRecord breaks[3];
  breaks[0].before = 0.0;
  breaks[1].before = kBreakAt;
  breaks[1].length = kBreakLength;
  breaks[2].before = ChainageOf(end);
  for (BreakRecord& b : breaks) SetBreakPrefixes(b, "DK", "DK");
  model.SetBaseBreakTable(3, breaks);
  model.settings.scaleFactor = 2.0;
  model.settings.textHeight = 8.0;
  model.settings.centerlineWidth = 1.4;
  model.settings.chainageMarkInterval = 100.0;
  model.SetDirectionSetting(-1);
  model.SetDirection(-1);
  model.settings.detourOffset = kSpacing;
  model.LoadLeftLine(left.data(), kIps);
  // The detour segment from 200 m after IP 9's curve to 200 m before IP 14's.
  const double from = ChainageOf(model.Line(kBaseLine).areas.keyPoints[9].HZ + 200.0);
  const double to = ChainageOf(model.Line(kBaseLine).areas.keyPoints[14].ZH - 200.0);
  PlanBreakRecord detour[2];
  detour[0] = {0, "甲", from, from, 0.0, "DK", "ZDK"};
  detour[1] = {0, "", to, to, 0.0, "ZDK", "DK"};
  model.SetLeftBreakTable(detour, 2);
}

// The plan and every structure of the scheme.
void Draw(AlignmentModel& model) {
  model.CreatePlanLayers();
  model.PrepareLines();
  model.DrawPlan();
  const double end = ChainageOf(model.Line(kBaseLine).EndMileage());
  auto clear = [](double c) { return c < kBreakAt - 1000.0 || c > kBreakAt + kBreakLength + 1000.0; };
  std::vector<MileageRange> tunnels;
  for (double c = 2500.0; c + 600.0 < end; c += 5000.0) {
    if (!clear(c)) continue;
    TunnelCall t;
    t.startText = Chainage("DK", c).c_str();
    t.endText = Chainage("DK", c + 600.0).c_str();
    t.name = "隧道";
    t.lineCount = 2;
    model.DrawTunnel(t);
    AlignmentModel::InsertRangeByMiddle(tunnels, model.ChainageCStringToDistance(t.startText),
                                        model.ChainageCStringToDistance(t.endText));
  }
  model.DrawTunnelCenterline(tunnels.data(), static_cast<int>(tunnels.size()), kBaseLine);
  for (double c = 1200.0; c + 100.0 < end; c += 3000.0) {
    if (!clear(c)) continue;
    BridgeCall b;
    b.centreText = Chainage("DK", c).c_str();
    b.startText = Chainage("DK", c - 80.0).c_str();
    b.endText = Chainage("DK", c + 80.0).c_str();
    b.length = 160.0;
    b.span = "5-32m简支T梁";
    b.name = "大桥";
    b.lineCount = 2;
    model.DrawBridge(b);
  }
  for (double c = 300.0; c < end; c += 400.0) {
    if (!clear(c)) continue;
    CulvertCall k;
    k.prefix = "DK";
    k.valueText.Format("%lf", c);
    k.span = "1-1.5m圆涵";
    model.DrawCulverts(k);
  }
  const char* const flags[] = {"区段站01", "中间站03", "乘降所01", "线路所02", "辅助所01"};
  int s = 0;
  for (double c = 5000.0; c < end; c += 10000.0, ++s) {
    if (!clear(c)) continue;
    model.DrawStations(Chainage("DK", c).c_str(), "车站", flags[s % 5], kBaseLine, -1);
  }
  BenchMarkCall mark;
  mark.prefix = CString("DK");
  mark.number = CString("BM1");
  mark.offset = 40.0;
  mark.elevation = 100.0;
  for (double c = 800.0; c < end; c += 2000.0) {
    if (!clear(c)) continue;
    mark.value = c;
    model.DrawBenchMarks(mark);
  }
  std::vector<double> N, E, values, legs;
  std::vector<CString> names;
  for (double m = 0.0; m < model.Line(kBaseLine).EndMileage(); m += 750.0) {
    LinePoint p{};
    p.mileage = m;
    model.PointOnLine(kBaseLine, p);
    const double side = names.size() % 2 == 0 ? 60.0 : -60.0;
    N.push_back(p.x + side * std::cos(p.bearing + kPi / 2.0));
    E.push_back(p.y + side * std::sin(p.bearing + kPi / 2.0));
    values.push_back(100.0);
    legs.push_back(45.0);
    names.push_back("DX");
  }
  model.DrawTraverse(static_cast<int>(N.size()), N.data(), E.data(), names.data(), values.data(), legs.data(),
                     kBaseLine);
}

size_t ModelSpaceCount() {
  AcDbBlockTableRecord* ms = nullptr;
  acdbOpenObject(ms, acdbHostApplicationServices()->workingDatabase()->modelSpaceId(), AcDb::kForRead);
  size_t n = 0;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  for (; !it->done(); it->step()) ++n;
  delete it;
  ms->close();
  return n;
}

// The block drawings come from the build's install folder.
void UseInstallFolder() {
  static const CString path = CString(platform::toWindowsPath(RAIL_INSTALL_DIR).c_str()) + "\\brevell.arx";
  SetModulePathSource([] { return path; });
}

void BM_DrawPlan(benchmark::State& state) {
  UseInstallFolder();
  size_t entities = 0;
  for (auto _ : state) {
    state.PauseTiming();
    platform::setCurrentDrawing(nullptr);
    AlignmentModel model;
    Load(model);
    state.ResumeTiming();
    Draw(model);
    state.PauseTiming();
    entities = ModelSpaceCount();
    state.ResumeTiming();
  }
  state.counters["entities"] = static_cast<double>(entities);
}
BENCHMARK(BM_DrawPlan)->Unit(benchmark::kMillisecond);

void BM_SavePlanDxf(benchmark::State& state) {
  UseInstallFolder();
  platform::setCurrentDrawing(nullptr);
  AlignmentModel model;
  Load(model);
  Draw(model);
  ScratchFolder folder("bench-plan");
  const std::string file = folder.file("plan.dxf");
  for (auto _ : state) {
    benchmark::DoNotOptimize(acdbHostApplicationServices()->workingDatabase()->saveAs(file.c_str()));
  }
  state.counters["entities"] = static_cast<double>(ModelSpaceCount());
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
}
BENCHMARK(BM_SavePlanDxf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
