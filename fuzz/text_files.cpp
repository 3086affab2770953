// The text files the cross-section module reads back, and the binary
// technical-parameter file, through the platform's text-file layer (GBK or
// UTF-8, CRLF or LF): the input is cut at each byte 0x1E into the files
// ylex, HdmResultData, HdmDetailArea, HdmRXDResultData, HdmRXDDetailArea,
// BJPT, RXDBJPT (of scheme S1) and jishucanshu.dat of a scratch project, which
// are then read as the commands read them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "crt/paths.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"
#include "win/transcript.h"

namespace {

namespace fs = std::filesystem;

const char* const kFiles[] = {"ylex.S1",         "HdmResultData.S1", "HdmDetailArea.S1", "HdmRXDResultData.S1",
                              "HdmRXDDetailArea.S1", "BJPT.S1",          "RXDBJPT.S1",       "jishucanshu.dat"};

fs::path g_project;

void Write(const fs::path& path, std::string_view bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  const fs::path root = fs::temp_directory_path() / ("rail-fuzz-textfiles-" + std::to_string(getpid()));
  g_project = root / "P";
  fs::create_directories(g_project / "data");
  const CString module(platform::toWindowsPath((root / "corvane.arx").string()).c_str());
  SetModulePathSource([module] { return module; });
  Write(root / "workdir", platform::toWindowsPath(g_project.string()) + "\r\n");
  Write(g_project / "project", "S1\r\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t from = 0;
  for (const char* name : kFiles) {
    const fs::path path = g_project / "data" / name;
    if (from > input.size()) {  // the input ended before this file: it is missing
      std::error_code ec;
      fs::remove(path, ec);
      continue;
    }
    const size_t cut = std::min(input.find('\x1e', from), input.size());
    Write(path, input.substr(from, cut - from));
    from = cut + 1;
  }
  ReadProjectAndScheme();
  ReadTechParams();
  LineKindOfScheme();
  LookupParamStepTable(800.0);

  CrossSectionDesigner d;
  d.lineKind = input.substr(0, 6) == std::string_view("双线") ? "双线" : "单线";
  if (d.ReadSectionResults()) d.ReadSectionAreas();
  d.LoadPointFile();
  d.LoadDetourPointFile();
  d.FreeAllLines();
  return 0;
}
