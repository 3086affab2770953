// The text files the cross-section module reads back, and the binary
// technical-parameter file, through the platform's text-file layer (GBK or
// UTF-8, CRLF or LF): the input is cut at each byte 0x1E into the files
// ylex, HdmResultData, HdmDetailArea, HdmRXDResultData, HdmRXDDetailArea,
// BJPT, RXDBJPT (of scheme S1) and jishucanshu.dat of a scratch project, then
// the project files `workdir` (of the install folder) and `project` (of the
// project folder), which are then read as the commands read them. A project
// file the input does not reach is written whole (naming the scratch project
// and scheme S1), so that most inputs reach the readers of the data files.
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

fs::path g_root;
fs::path g_project;
std::string g_workdir;  // the sound content of the project files
const std::string kProject = "S1\r\n";

void Write(const fs::path& path, std::string_view bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  g_root = fs::temp_directory_path() / ("rail-fuzz-textfiles-" + std::to_string(getpid()));
  g_project = g_root / "P";
  fs::create_directories(g_project / "data");
  const CString module(platform::toWindowsPath((g_root / "corvane.arx").string()).c_str());
  SetModulePathSource([module] { return module; });
  g_workdir = platform::toWindowsPath(g_project.string()) + "\r\n";
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
  // The project files: what is left of the input, or their sound content.
  struct ProjectFile {
    fs::path path;
    const std::string& sound;
  };
  for (const ProjectFile& file : {ProjectFile{g_root / "workdir", g_workdir}, ProjectFile{g_project / "project", kProject}}) {
    if (from > input.size()) {
      Write(file.path, file.sound);
      continue;
    }
    const size_t cut = std::min(input.find('\x1e', from), input.size());
    Write(file.path, input.substr(from, cut - from));
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
