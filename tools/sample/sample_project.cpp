// sample-project [options] DIR: makes the sample project of the demo and the
// end-to-end tests in the folder DIR (see SampleProject.h).
//
//   --install DIR    the install folder (default: install/ beside the folder of
//                    this program): its lib/标准.mdb is the template database
//   --workdir        also point the install folder's workdir at the project
//   --scheme NAME    the scheme's name (default 方案1)
//   --interval M     cross-sections every M metres of chainage (default 20)
//   --replace        make the project again in a folder that holds one
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleProject.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: sample-project [--install DIR] [--workdir] [--scheme NAME] [--interval M] [--replace] DIR\n");
  return 2;
}

std::string DefaultInstallFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) self = std::filesystem::absolute(argv0, ec);
  return (self.parent_path().parent_path() / "install").string();
}

}  // namespace

int main(int argc, char** argv) {
  sample::ProjectOptions options;
  options.installFolder = DefaultInstallFolder(argv[0]);
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--install" && hasValue) {
      options.installFolder = argv[++i];
    } else if (arg == "--scheme" && hasValue) {
      options.scheme = argv[++i];
    } else if (arg == "--interval" && hasValue) {
      char* end = nullptr;
      options.interval = std::strtod(argv[++i], &end);
      if (end == argv[i] || *end != '\0') return Usage();
    } else if (arg == "--workdir") {
      options.setWorkdir = true;
    } else if (arg == "--replace") {
      options.replace = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      rest.push_back(arg);
    }
  }
  if (rest.size() != 1) return Usage();
  options.folder = rest[0];

  std::vector<std::string> summary;
  std::string error;
  if (!sample::MakeSampleProject(options, summary, error)) {
    std::fprintf(stderr, "sample-project: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& line : summary) std::printf("%s\n", line.c_str());
  return 0;
}
