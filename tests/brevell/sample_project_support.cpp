// The sample project of the plan's tests (sample_project_support.h).

#include "sample_project_support.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "fixtures/run_command.h"

namespace plantest {

namespace fs = std::filesystem;

std::string SampleDatabase(std::string& error) {
  const std::string program = std::string(RAIL_BINARY_DIR) + "/bin/sample-project";
  struct stat built {};
  if (::stat(program.c_str(), &built) != 0) {
    error = "no " + program;
    return "";
  }
  const fs::path base = fs::path(RAIL_BINARY_DIR) / "test-tmp";
  const std::string stem = "plan_sample_";
  const fs::path folder = base / (stem + std::to_string(built.st_mtim.tv_sec) + "_" + std::to_string(built.st_size));
  const fs::path database = folder / "data" / "方案1.mdb";
  std::error_code ec;
  fs::create_directories(base, ec);
  const int lock = ::open((base / "plan_sample.lock").c_str(), O_CREAT | O_RDWR, 0644);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  if (!fs::exists(folder / "sample-project.txt", ec)) {
    for (const fs::directory_entry& e : fs::directory_iterator(base, ec)) {
      if (e.path().filename().string().rfind(stem, 0) == 0) fs::remove_all(e.path(), ec);
    }
    const fs::path part = base / (stem + "part" + std::to_string(::getpid()));
    std::string output;
    const int status =
        fixtures::RunCommand("'" + program + "' --install '" + RAIL_INSTALL_DIR + "' '" + part.string() + "'", &output);
    if (status == 0) fs::rename(part, folder, ec);
    if (status != 0 || ec) {
      error = "sample-project failed: " + output + ec.message();
      fs::remove_all(part, ec);
    }
  }
  if (lock >= 0) ::close(lock);
  return error.empty() ? database.string() : "";
}

}  // namespace plantest
