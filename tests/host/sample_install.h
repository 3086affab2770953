#pragma once
// The sample project and an install folder for it, for the tests that load a
// module over it: the build's install folder linked entry by entry, with a
// workdir of its own naming the project (in a folder whose name has a blank),
// made by the sample-project program.

#include <unistd.h>

#include <filesystem>
#include <string>

#include "fixtures/run_command.h"

struct SampleInstall {
  std::filesystem::path root, install, project;
  std::string error;

  // `name` names the scratch folder under the test folder.
  explicit SampleInstall(const std::string& name) {
    namespace fs = std::filesystem;
    root = fs::path(RAIL_TEST_TMPDIR) / (name + "_" + std::to_string(::getpid()));
    install = root / "install";
    project = root / "my proj";
    fs::remove_all(root);
    fs::create_directories(install);
    for (const fs::directory_entry& e : fs::directory_iterator(RAIL_INSTALL_DIR)) {
      if (e.path().filename() != "workdir") fs::create_symlink(e.path(), install / e.path().filename());
    }
    std::string output;
    const std::string command = "'" + std::string(RAIL_BINARY_DIR) + "/bin/sample-project' --install '" +
                                install.string() + "' --workdir '" + project.string() + "'";
    if (fixtures::RunCommand(command, &output) != 0) error = "sample-project failed: " + output;
  }
  ~SampleInstall() { std::filesystem::remove_all(root); }
  SampleInstall(const SampleInstall&) = delete;
  SampleInstall& operator=(const SampleInstall&) = delete;
  // The sample's scheme database.
  std::string Database() const { return (project / "data" / "方案1.mdb").string(); }
};
