// Writing and reading a result file of the usual shape through the text-mode
// layer: a "%10d" count, one line per section with a Chinese label, the count
// rewritten after a rewind.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "crt/textfile.h"

namespace {

std::string& folderName() {
  static std::string folder;
  return folder;
}

void removeFolder() {
  std::error_code ec;
  std::filesystem::remove_all(folderName(), ec);
}

// A temporary folder, removed when the program ends.
std::string benchFolder() {
  if (folderName().empty()) {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/bench-textfile-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    folderName() = pattern;
    std::atexit(removeFolder);
  }
  return folderName();
}

void writeResultFile(const std::string& path, int lines) {
  FILE* f = platform::openFile(path.c_str(), "w");
  std::fprintf(f, "%10d\n", 0);
  for (int i = 0; i < lines; ++i)
    std::fprintf(f, "%d 左线 %.3f %.3f %.3f %.3f\n", i, i * 20.0, 1.5 * i, -2.25, 100.0 + i);
  std::rewind(f);
  std::fprintf(f, "%10d", lines);
  std::fclose(f);
}

void BM_WriteResultFile(benchmark::State& state) {
  const std::string path = benchFolder() + "/HdmResultData.main";
  const int lines = static_cast<int>(state.range(0));
  for (auto _ : state) writeResultFile(path, lines);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_WriteResultFile)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadResultFile(benchmark::State& state) {
  const std::string path = benchFolder() + "/HdmResultData.read";
  const int lines = static_cast<int>(state.range(0));
  writeResultFile(path, lines);
  for (auto _ : state) {
    FILE* f = platform::openFile(path.c_str(), "r");
    int count = 0, index = 0;
    char label[32];
    double a, b, c, d;
    std::fscanf(f, "%d", &count);
    for (int i = 0; i < count; ++i) std::fscanf(f, "%d %31s %lf %lf %lf %lf", &index, label, &a, &b, &c, &d);
    std::fclose(f);
    benchmark::DoNotOptimize(index);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadResultFile)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
