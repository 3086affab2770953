// Saving and opening a large drawing as DXF, and its SVG plot: 100,000 mixed entities (lines, texts with
// Chinese, lightweight polylines with bulges and widths, circles, arcs) on a
// few layers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dxffile.h"
#include "scratch_folder.h"

namespace {

AcDbDatabase* buildDrawing(int count) {
  auto* db = new AcDbDatabase(true);
  AcDbLayerTable* lt = nullptr;
  db->getLayerTable(lt, AcDb::kForWrite);
  AcDbObjectId layers[4];
  const char* names[4] = {"里程", "线路中线", "隧道", "Hdm"};
  for (int i = 0; i < 4; ++i) {
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(names[i]);
    rec->setColorIndex(static_cast<Adesk::UInt16>(i + 1));
    lt->add(layers[i], rec);
    rec->close();
  }
  lt->close();
  AcDbBlockTableRecord* ms = nullptr;
  acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite);
  for (int i = 0; i < count; ++i) {
    double x = i * 1.25, y = (i % 97) * 3.5;
    AcDbEntity* e;
    switch (i % 5) {
      case 0:
        e = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 10.5, y + 3.25, 0));
        break;
      case 1: {
        char text[64];
        std::snprintf(text, sizeof text, "DK%d+%03d.50 里程", i / 1000, i % 1000);
        auto* t = new AcDbText(AcGePoint3d(x, y, 0), text, AcDbObjectId(), 2.5, 0.5);
        t->setWidthFactor(0.7);
        e = t;
        break;
      }
      case 2: {
        auto* p = new AcDbPolyline(5);
        for (unsigned k = 0; k < 5; ++k) p->addVertexAt(k, AcGePoint2d(x + k * 2.0, y + (k % 2) * 1.5), k == 2 ? 0.25 : 0, 0.35, 0.35);
        e = p;
        break;
      }
      case 3:
        e = new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, 0.5 + (i % 7));
        break;
      default:
        e = new AcDbArc(AcGePoint3d(x, y, 0), 2.0, 0.1 * (i % 30), 3.0);
        break;
    }
    e->setLayer(layers[i % 4]);
    if (i % 3 == 0) e->setColorIndex(static_cast<Adesk::UInt16>(1 + i % 255));
    ms->appendAcDbEntity(e);
    e->close();
  }
  ms->close();
  return db;
}

AcDbDatabase* drawing() {
  static AcDbDatabase* db = buildDrawing(100000);
  return db;
}

void BM_SaveDxf100k(benchmark::State& state) {
  AcDbDatabase* db = drawing();
  ScratchFolder folder("bench-dxf");
  const std::string file = folder.file("save_100k.dxf");
  for (auto _ : state) {
    Acad::ErrorStatus es = platform::writeDxf(*db, file);
    if (es != Acad::eOk) state.SkipWithError("save failed");
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
}
BENCHMARK(BM_SaveDxf100k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenDxf100k(benchmark::State& state) {
  AcDbDatabase* db = drawing();
  ScratchFolder folder("bench-dxf");
  const std::string file = folder.file("open_100k.dxf");
  platform::writeDxf(*db, file);
  for (auto _ : state) {
    AcDbDatabase back(false);
    std::string error;
    if (platform::readDxf(back, file, error) != Acad::eOk) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_OpenDxf100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same drawing as an SVG plot at 1:500 (page by page), built in memory.
void BM_SvgOfDrawing100k(benchmark::State& state) {
  AcDbDatabase* db = drawing();
  platform::SvgOptions options;
  options.plotScale = 500;
  size_t bytes = 0;
  for (auto _ : state) bytes = platform::svgOfModelSpace(*db, options).size();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SvgOfDrawing100k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
