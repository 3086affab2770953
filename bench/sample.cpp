// The sample-project program's speed: the whole project made into a folder
// (scheme, database, terrain model), and its two big parts on their own.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SampleDesign.h"
#include "SampleProject.h"
#include "SampleScheme.h"
#include "TerrainDelaunay.h"
#include "scratch_folder.h"
#include "win/transcript.h"

namespace fs = std::filesystem;

namespace {

fs::path InstallFolder() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "install";
}

// A path in the bench's own temporary folder.
fs::path Scratch(const char* name) {
  static ScratchFolder folder("bench-sample");
  return folder.path() / name;
}

void BM_WholeProject(benchmark::State& state) {
  sample::ProjectOptions options;
  options.folder = Scratch("project").string();
  options.installFolder = InstallFolder().string();
  options.replace = true;
  for (auto _ : state) {
    std::vector<std::string> summary;
    std::string error;
    if (!sample::MakeSampleProject(options, summary, error)) state.SkipWithError(error.c_str());
  }
  fs::remove_all(options.folder);
}
BENCHMARK(BM_WholeProject)->Unit(benchmark::kMillisecond)->Iterations(3);

// Without a project the models say so on the transcript; the timing does not
// need the technical parameters.
struct Quiet {
  Quiet() { previous = platform::setTranscriptSink([](std::string_view) {}); }
  ~Quiet() { platform::setTranscriptSink(previous); }
  platform::TranscriptSink previous;
};

// The scheme alone.
void BM_Scheme(benchmark::State& state) {
  Quiet quiet;
  for (auto _ : state) {
    sample::SampleScheme scheme;
    std::string error;
    if (!scheme.Build(sample::kStationInterval, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(scheme.Tables().size());
  }
}
BENCHMARK(BM_Scheme)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TerrainModel(benchmark::State& state) {
  Quiet quiet;
  sample::SampleScheme scheme;
  std::string error;
  if (!scheme.Build(sample::kStationInterval, error)) state.SkipWithError(error.c_str());
  const std::vector<terrain::SurveyPoint> points = scheme.TerrainPoints();
  const fs::path folder = Scratch("terrain");
  for (auto _ : state) {
    terrain::TerrainSummary summary;
    std::vector<std::string> notes;
    if (!terrain::MakeTerrainFiles(points, folder.string(), summary, notes, error)) state.SkipWithError(error.c_str());
  }
  state.counters["points"] = static_cast<double>(points.size());
  fs::remove_all(folder);
}
BENCHMARK(BM_TerrainModel)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
