// The terrain loader: the input holds the four files of a terrain model
// (PtIndex.idx, Point.xyz, TIN.tri, Grid.idx), each after a 4-byte
// little-endian length; they are written to a scratch PMAP folder and loaded.
// A model that loads is asked for elevations and profiles across its range.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "TerrainModel.h"
#include "win/transcript.h"

namespace {

namespace fs = std::filesystem;

const char* const kFiles[] = {"PtIndex.idx", "Point.xyz", "TIN.tri", "Grid.idx"};
fs::path g_project;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  g_project = fs::temp_directory_path() / ("rail-fuzz-terrain-" + std::to_string(getpid()));
  fs::create_directories(g_project / "PMAP");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  for (const char* name : kFiles) {
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= (at + i < size ? uint32_t{data[at + i]} : 0u) << (8 * i);
    at = std::min(at + 4, size);
    const size_t take = std::min<size_t>(length, size - at);
    if (FILE* f = std::fopen((g_project / "PMAP" / name).c_str(), "wb")) {
      std::fwrite(data + at, 1, take, f);
      std::fclose(f);
    }
    at += take;
  }
  TerrainModel model;
  if (model.LoadFromFolder(g_project.c_str())) {
    // A few points and profiles over the model's grid, inside and beyond it.
    const double span = 100.0 * (model.Rows() + 1);
    const double xs[] = {-50.0, 0.0, 37.5, span / 3, span, span + 80.0};
    for (double x : xs)
      for (double y : xs) {
        model.ElevationAt(x, y);
        int count = 0;
        TerrainModel::FreeGroundLine(model.GroundLineAlong(x, y, span - x, y / 2, count));
      }
  }
  return 0;
}
