#pragma once
// The sample project (tools/sample) as the end-to-end tests of the commands
// use it: made in a folder, with the module of an install folder pointing its
// workdir at it.

#include <string>
#include <vector>

#include "SampleProject.h"
#include "fixtures/project_fixture.h"
#include "project/ModulePath.h"

namespace samplerun_test {

// Makes the sample project in options.folder (its Windows path
// `windowsFolder`) with the build's standards, then makes the module run as
// <install>\corvane.arx, whose workdir names the project. The module path
// source in use before goes to *previous. False, with the reason in *error,
// when the project cannot be made (the module path is left as it was).
inline bool MakeSampleProject(sample::ProjectOptions& options, const std::string& windowsFolder,
                              const fixtures::DriveScratch& install, ModulePathSource* previous, std::string* error) {
  options.installFolder = RAIL_INSTALL_DIR;
  std::vector<std::string> summary;
  if (!sample::MakeSampleProject(options, summary, *error)) return false;
  *previous = SetModulePathSource([&install] { return CString(install.windowsPath("corvane.arx").c_str()); });
  fixtures::writeWorkdir(install.linuxPath(), windowsFolder);
  return true;
}

// The same with the project in `projects`\SAMPLE (the default options).
inline bool MakeSampleProjectIn(const fixtures::DriveScratch& projects, const fixtures::DriveScratch& install,
                                ModulePathSource* previous, std::string* error) {
  sample::ProjectOptions options;
  options.folder = projects.linuxPath("SAMPLE");
  return MakeSampleProject(options, projects.windowsPath("SAMPLE"), install, previous, error);
}

}  // namespace samplerun_test
