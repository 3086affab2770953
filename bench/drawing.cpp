// The drawing of the designed sections (DRAWHDM: custom entities, each
// section's outer design lines with a reactor) of the 5,000-section scheme
// of the design benchmark, and the DXF save of the drawing it makes. The
// scheme is designed once (HDMDES on the module's baseline designer); each
// drawing run starts on an empty drawing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "SectionDrawingChoice.h"
#include "SectionReactorLists.h"
#include "arx/dbdatabase.h"
#include "corvane/commands/entity_classes.h"
#include "long_scheme_project.h"

namespace {

// The scheme designed, the section classes registered.
bench_project::LongSchemeProject& DesignedProject() {
  static bench_project::LongSchemeProject project;
  static const bool designed = [] {
    entity_test::RegisterSectionEntityClasses();
    AutoDesignOptions options;
    options.schemeDatabasePath = platform::toWindowsPath(project.database).c_str();
    options.lineKind = "双线";
    return g_BaselineDesigner.CmdAutoDesign(options) == 1;
  }();
  if (!designed) {
    std::fprintf(stderr, "the scheme could not be designed\n");
    std::exit(1);
  }
  return project;
}

long EntityCount() {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* ms = nullptr;
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return 0;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  long n = 0;
  for (; !it->done(); it->step()) ++n;
  delete it;
  ms->close();
  return n;
}

void BM_DrawSections(benchmark::State& state) {
  DesignedProject();
  long entities = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DetachSectionReactors();
    platform::setCurrentDrawing(nullptr);
    state.ResumeTiming();
    if (g_BaselineDesigner.CmdDrawSections(SectionDrawingChoice{}, 1) != 1) {
      state.SkipWithError("the drawing run failed");
      break;
    }
  }
  entities = EntityCount();
  state.counters["sections"] = g_BaselineDesigner.SectionCount();
  state.counters["entities"] = static_cast<double>(entities);
  state.counters["reactors"] = static_cast<double>(SectionReactorList.size());
}
BENCHMARK(BM_DrawSections)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveDrawing(benchmark::State& state) {
  const bench_project::LongSchemeProject& project = DesignedProject();
  DetachSectionReactors();
  platform::setCurrentDrawing(nullptr);
  g_BaselineDesigner.CmdDrawSections(SectionDrawingChoice{}, 1);
  const std::string file = (project.folder / "sections.dxf").string();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  for (auto _ : state) {
    if (db->saveAs(file.c_str()) != Acad::eOk) {
      state.SkipWithError("the drawing could not be saved");
      break;
    }
  }
  state.counters["entities"] = static_cast<double>(EntityCount());
  state.counters["megabytes"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  ReleaseSectionReactors();
}
BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
