// The user's whole scripted workflow (tools/workflow.scr) over the sample
// project, run as a user runs it: cadhost with the four modules loaded, in the
// project's folder, each run over a fresh copy of the project. The time is the
// whole run (the program's start, the modules' loads, every command, the
// unloads); the counters split it by command, as cadhost --times reports it
// ("load <module>" and each command of the script, in seconds; a command
// that runs more than once is summed).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_folder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

fs::path BinFolder() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

// Runs a program with stdout and stderr to files; its exit status (-1 when it
// could not start).
int Spawn(const std::vector<std::string>& args, const fs::path& out, const fs::path& err, const fs::path& folder = {}) {
  std::vector<std::string> all = args;
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid;
  int status = -1;
  if (posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    waitpid(pid, &status, 0);
    status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  return status;
}

// The sample project made once; every run starts from a copy of it.
struct Project {
  ScratchFolder folder{"bench-workflow"};
  fs::path scratch = folder.path();
  fs::path base = scratch / "base";
  std::string error;

  Project() {
    fs::create_directories(base);
    setenv("CADHOST_DRIVE_ROOT", (scratch / "drives").c_str(), 1);
    fs::copy(BinFolder().parent_path() / "install", scratch / "install", fs::copy_options::recursive);
    if (Spawn({(BinFolder() / "sample-project").string(), "--install", (scratch / "install").string(), "--workdir",
               (scratch / "sample").string()},
              scratch / "sample.log", scratch / "sample.err") != 0) {
      error = "sample-project failed (" + (scratch / "sample.err").string() + ")";
      return;
    }
    for (const char* name : {"install", "sample"})
      fs::copy(scratch / name, base / name, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }

  void Fresh() {
    for (const char* name : {"install", "sample", "drives", "pictures"}) {
      fs::remove_all(scratch / name);
      if (fs::exists(base / name))
        fs::copy(base / name, scratch / name, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
  }
};

void BM_Workflow(benchmark::State& state) {
  static Project project;
  if (!project.error.empty()) {
    state.SkipWithError(project.error.c_str());
    return;
  }
  const fs::path script = fs::path(RAIL_SOURCE_DIR) / "tools" / "workflow.scr";
  const fs::path err = project.scratch / "times";
  std::map<std::string, double> split;
  for (auto _ : state) {
    state.PauseTiming();
    project.Fresh();
    state.ResumeTiming();
    int status = Spawn({(BinFolder() / "cadhost").string(), "--install", (project.scratch / "install").string(),
                        "--load", "tamsel", "--load", "brevell", "--load", "corvane", "--load", "pellory", "--times",
                        "--pictures", (project.scratch / "pictures").string(), "--script", script.string()},
                       project.scratch / "workflow.log", err, project.scratch / "sample");
    if (status != 0) {
      state.SkipWithError(("cadhost failed: see " + (project.scratch / "workflow.log").string()).c_str());
      break;
    }
    // "time <command> <seconds>" lines; a command that runs twice counts twice.
    std::ifstream in(err);
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("time ", 0) != 0) continue;
      size_t cut = line.rfind(' ');
      std::string what = line.substr(5, cut - 5);
      split[what] += std::atof(line.c_str() + cut + 1);
    }
  }
  for (const auto& [what, seconds] : split)
    state.counters[what] = benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Workflow)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
