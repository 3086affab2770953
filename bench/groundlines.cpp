// The ground lines of CALTWB on the sample project (a double-track line of
// about 20 km, its terrain model a triangulation of survey points on a 20 m
// grid, 60 m a side): every station of 填挖表 (one every 20 m) gets its
// section interpolated from the terrain model and stored in
// 横断面地面线表.
//
//   BM_BaselineGroundLines: the whole step (read 填挖表, interpolate every
//     section, rewrite the table in one transaction), as CALTWB runs it.
//   BM_SectionProfiles: the interpolation alone (both sides of every
//     station: the terrain profile and its pairs), without the database.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "GroundLines.h"
#include "ProjectFiles.h"
#include "SampleProject.h"
#include "TerrainModel.h"
#include "crt/paths.h"
#include "project/ModulePath.h"
#include "win/transcript.h"

namespace {

namespace fs = std::filesystem;

// The install folder beside this program's folder (bin/../install).
std::string InstallFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return (exe.parent_path().parent_path() / "install").string();
}

struct SampleRun {
  fs::path root;
  std::string db;
  std::string error;
  std::vector<LinePoint> centres;  // of every station of 填挖表
  std::vector<double> grounds;
  CrossSectionDesigner designer;

  SampleRun() {
    platform::setTranscriptSink([](std::string_view) {});
    char pattern[] = "/tmp/bench-groundlines-XXXXXX";
    root = ::mkdtemp(pattern);
    sample::ProjectOptions options;
    options.folder = (root / "SAMPLE").string();
    options.installFolder = InstallFolder();
    std::vector<std::string> summary;
    if (!sample::MakeSampleProject(options, summary, error)) return;
    fs::create_directories(root / "install");
    project_files::WriteWorkdir((root / "install").string(), platform::toWindowsPath(options.folder), "", &error);
    const CString module(platform::toWindowsPath((root / "install" / "corvane.arx").string()).c_str());
    SetModulePathSource([module] { return module; });
    db = (root / "SAMPLE" / "data" / "方案1.mdb").string();
    designer.lineKind = "单线";
    if (!designer.ReadSchemeAlignment(db.c_str(), 0, 0) || !g_TerrainModel.Load()) {
      error = "the sample project cannot be read";
      return;
    }
    // A first run lists the stations (and makes the table).
    std::vector<StationGroundLine> stations;
    if (!designer.InterpolateBaselineGroundLines(designer.baseline->StartMileage(), designer.baseline->EndMileage(),
                                                 &stations)) {
      error = "the ground lines were not written";
      return;
    }
    for (const StationGroundLine& s : stations) {
      char text[kChainageTextSize] = {};
      ChainageText3Decimals(s.prefix, s.chainage, text, sizeof text);
      LinePoint p{};
      p.mileage = BreakTableChainageToMileage(text, designer.breakCount, designer.breaks);
      BAS_DRAW_FUN::PointAtMileage(designer.baseline->elements, designer.baseline->elementCount, p);
      centres.push_back(p);
      grounds.push_back(s.ground);
    }
  }
  ~SampleRun() {
    g_TerrainModel.Close();
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

SampleRun& Run() {
  static SampleRun run;
  return run;
}

void BM_BaselineGroundLines(benchmark::State& state) {
  SampleRun& run = Run();
  if (!run.error.empty()) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  const double start = run.designer.baseline->StartMileage();
  const double end = run.designer.baseline->EndMileage();
  for (auto _ : state) {
    if (!run.designer.InterpolateBaselineGroundLines(start, end)) {
      state.SkipWithError("the ground lines were not written");
      return;
    }
  }
  state.counters["sections"] = static_cast<double>(run.centres.size());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(run.centres.size()));
}

void BM_SectionProfiles(benchmark::State& state) {
  SampleRun& run = Run();
  if (!run.error.empty()) {
    state.SkipWithError(run.error.c_str());
    return;
  }
  size_t points = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < run.centres.size(); ++i) {
      const LinePoint& c = run.centres[i];
      for (int side : {-1, 1}) {
        const double a = c.bearing + side * 1.5707963267948966;
        const std::vector<PairXY> line = SideGroundLine(g_TerrainModel, c.x, c.y, c.x + 60.0 * std::cos(a),
                                                        c.y + 60.0 * std::sin(a), 60.0, run.grounds[i], 100);
        points += line.size();
        benchmark::DoNotOptimize(line.data());
      }
    }
  }
  state.counters["sections"] = static_cast<double>(run.centres.size());
  state.counters["points/side"] =
      static_cast<double>(points) / static_cast<double>(2 * run.centres.size() * state.iterations());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(run.centres.size()));
}

BENCHMARK(BM_BaselineGroundLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionProfiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
