// The automatic design run (HDMDES) over a generated 100-km double-track
// scheme with 5,000 sections every 20 m and one detour section: the import of
// the scheme, the detour stretches, the design of every section and of the
// detour, and the result files, as one run.
#include <benchmark/benchmark.h>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "long_scheme_project.h"

namespace {

void BM_DesignRun(benchmark::State& state) {
  static bench_project::LongSchemeProject project;
  AutoDesignOptions options;
  options.schemeDatabasePath = platform::toWindowsPath(project.database).c_str();
  options.lineKind = "双线";
  int sections = 0, detourSections = 0;
  for (auto _ : state) {
    CrossSectionDesigner d;
    if (d.CmdAutoDesign(options) != 1) {
      state.SkipWithError("the design run failed");
      break;
    }
    sections = d.SectionCount();
    detourSections = g_LeftDetourCount > 0 ? g_LeftDetourDesigners[0].SectionCount() : 0;
    d.FreeAllLines();
  }
  state.counters["sections"] = sections;
  state.counters["detour_sections"] = detourSections;
}
BENCHMARK(BM_DesignRun)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
