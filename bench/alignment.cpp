// Building alignment models and station lists.
//
// The line: 400 IPs on legs of 800 m turning alternately 20° right and left,
// every inner IP a curve of R 1000 with transitions of 80 m. A model holds at
// most 200 IPs, so the 400-IP line is built as two models of 200 IPs.
// The station list: every 20 m over 100 km of a 200-IP model, with the curve
// key points and 100 bridges merged in.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "crt/paths.h"
#include "project/ModulePath.h"
#include "scratch_folder.h"

namespace {

// An install folder whose `workdir` names a project with its `project`
// file, so that every model reset reads them without a message (the project
// has no technical-parameter file, which is read without a message).
class BenchProject {
 public:
  BenchProject() {
    root_ = scratch_.path();
    std::filesystem::create_directories(root_ / "install");
    std::filesystem::create_directories(root_ / "project");
    Write(root_ / "install" / "workdir", (root_ / "project").string() + "\n");
    Write(root_ / "project" / "project", "S1\n");
    const std::string module = platform::toWindowsPath((root_ / "install" / "corvane.arx").string());
    previous_ = SetModulePathSource([module] { return CString(module); });
  }
  ~BenchProject() {
    SetModulePathSource(previous_);
  }

 private:
  static void Write(const std::filesystem::path& path, const std::string& text) {
    if (FILE* f = std::fopen(path.c_str(), "w")) {
      std::fputs(text.c_str(), f);
      std::fclose(f);
    }
  }
  ScratchFolder scratch_{"bench-alignment"};  // removed after the members below
  std::filesystem::path root_;
  ModulePathSource previous_;
};

std::vector<IpRecord> Zigzag(int n) {
  std::vector<IpRecord> ips;
  double x = 3500000, y = 500000;
  for (int i = 0; i < n; ++i) {
    const bool inner = i > 0 && i < n - 1;
    ips.push_back({static_cast<double>(i), x, y, inner ? 80.0 : 0.0, inner ? 1000.0 : 0.0, inner ? 80.0 : 0.0});
    const double bearing = (i % 2 ? -10.0 : 10.0) * std::numbers::pi / 180.0;
    x += 800 * std::cos(bearing);
    y += 800 * std::sin(bearing);
  }
  return ips;
}

void BM_Build400IpLineAsTwoModels(benchmark::State& state) {
  BenchProject project;
  const std::vector<IpRecord> ips = Zigzag(400);
  auto first = std::make_unique<AlignmentModel>();
  auto second = std::make_unique<AlignmentModel>();
  for (auto _ : state) {
    benchmark::DoNotOptimize(first->CreateFromRecords(200, ips.data(), "AK", "JD"));
    benchmark::DoNotOptimize(second->CreateFromRecords(200, ips.data() + 200, "AK", "JD"));
  }
  if (!first->IsBuilt() || !second->IsBuilt()) state.SkipWithError("not built");
}
BENCHMARK(BM_Build400IpLineAsTwoModels)->Unit(benchmark::kMillisecond);

void BM_BuildLineElements200Ips(benchmark::State& state) {
  BenchProject project;
  const std::vector<IpRecord> ips = Zigzag(200);
  auto model = std::make_unique<AlignmentModel>();
  model->CreateFromRecords(200, ips.data(), "AK", "JD");
  for (auto _ : state) benchmark::DoNotOptimize(model->BuildLineElements());
}
BENCHMARK(BM_BuildLineElements200Ips)->Unit(benchmark::kMillisecond);

void BM_StationList20mOver100km(benchmark::State& state) {
  BenchProject project;
  const std::vector<IpRecord> ips = Zigzag(200);
  auto model = std::make_unique<AlignmentModel>();
  model->CreateFromRecords(200, ips.data(), "AK", "JD");
  std::vector<MileageRange> bridges;
  for (int i = 0; i < 100; ++i) bridges.push_back({i * 1000.0 + 310.5, i * 1000.0 + 420.25});
  for (auto _ : state) {
    model->BuildStationList(20, 0, 100000);
    model->InsertCurvePoints();
    model->InsertStructurePoints(static_cast<int>(bridges.size()), bridges.data(), 'B');
    benchmark::DoNotOptimize(model->stationCount);
  }
  state.counters["stations"] = model->stationCount;
}
BENCHMARK(BM_StationList20mOver100km)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
