// The traverse survey file that the table editor of 导线表 imports: any bytes
// as that file. Every station read gives a row of the eight columns; the
// start station's row and the last station's name-only row hold "0" where
// there is no value; every other row holds numbers in the columns of numbers
// (右角 and 方位角 packed, 距离, 纬距, 经距, 高程, 里程), as the table's save
// reads them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "brevell/editor/TraverseImport.h"
#include "controls/CellNumber.h"
#include "crt/textfile.h"
#include "fuzz/scratch_input.h"
#include "win/transcript.h"

namespace {

std::filesystem::path g_file;

[[noreturn]] void Fail(const char* what, size_t row, int column, const CString& text) {
  std::fprintf(stderr, "%s: row %zu column %d \"%s\"\n", what, row, column, text.GetString());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  const auto dir = FuzzScratchFolder("traverse");
  g_file = dir / "traverse.txt";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFuzzInput(g_file, data, size);
  FILE* file = platform::openFile(g_file.c_str(), "r");
  if (!file) return 0;
  const std::vector<TraverseImportRow> rows = ReadTraverseFile(file, g_file.c_str());
  std::fclose(file);
  for (size_t r = 0; r < rows.size(); ++r) {
    const TraverseImportRow& row = rows[r];
    // The start station and a name-only last station: "0" in every column
    // but the name (and the start's bearing).
    bool nameOnly = r == 0;
    if (r + 1 == rows.size() && r > 0) {
      nameOnly = true;
      for (int c = 1; c < TraverseImportRow::kColumns; ++c) nameOnly = nameOnly && row.cells[c] == "0";
    }
    for (int c = 1; c < TraverseImportRow::kColumns; ++c) {
      if (nameOnly && !(r == 0 && c == 2)) {
        if (row.cells[c] != "0") Fail("a station without data has a value", r, c, row.cells[c]);
        continue;
      }
      if (r == 0) continue;  // the start's bearing is taken as written
      double value = 0;
      if (!ReadsAsCellNumber(row.cells[c], value)) Fail("an imported value is no number", r, c, row.cells[c]);
    }
  }
  return 0;
}
