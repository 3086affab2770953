#pragma once
// The project of the design and drawing benchmarks: a generated 100-km
// double-track scheme with 5,000 sections every 20 m and one detour section,
// in a temporary folder that the module's workdir names. The transcript is
// silenced while the benchmarks run.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "crt/paths.h"
#include "fixtures/project_fixture.h"
#include "fixtures/run_schemes.h"
#include "mfc/cstring.h"
#include "project/ModulePath.h"
#include "win/transcript.h"

namespace bench_project {

constexpr double kLength = 100000.0;
constexpr double kInterval = 20.0;  // 5,001 sections

struct LongSchemeProject {
  std::filesystem::path folder;  // holds install/ and P/
  std::string database;

  LongSchemeProject() {
    platform::setTranscriptSink([](std::string_view) {});
    char pattern[] = "/tmp/bench-design-XXXXXX";
    folder = ::mkdtemp(pattern);
    const std::string install = (folder / "install").string();
    const std::string project = (folder / "P").string();
    std::filesystem::create_directories(install);
    std::filesystem::create_directories(project + "/data");
    const std::string modulePath = platform::toWindowsPath(install + "/corvane.arx");
    SetModulePathSource([modulePath] { return CString(modulePath.c_str()); });
    fixtures::writeWorkdir(install, platform::toWindowsPath(project));
    fixtures::writeProjectFile(project, "S1");
    fixtures::TechParamsData data;
    data.speed = 200;
    data.lineKind = 2;
    data.param2 = 5.0f;
    data.subgradeThickness = 0.6f;
    data.singleSpacing[0] = 7.0f;
    data.singleSpacing[1] = 7.6f;
    data.doubleSpacing[0] = 12.0f;
    data.doubleSpacing[1] = 12.4f;
    fixtures::writeTechParamsFile(project + "/data/jishucanshu.dat", data);
    database = project + "/data/S1.mdb";
    std::string error;
    if (!fixtures::BuildLongDoubleTrackScheme(database, kLength, kInterval, &error)) {
      std::fprintf(stderr, "the scheme could not be made: %s\n", error.c_str());
      std::exit(1);
    }
  }
  ~LongSchemeProject() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  LongSchemeProject(const LongSchemeProject&) = delete;
  LongSchemeProject& operator=(const LongSchemeProject&) = delete;
};

}  // namespace bench_project
