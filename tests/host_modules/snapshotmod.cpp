// A test module that copies a folder while a script runs: SNAPSHOT <from>
// <to> copies the folder <from> (all of it, recursively) to <to>, replacing
// what is there. Scripts use it to keep the state of a project after each
// step of a longer run.
//
// KILLS <project> <before> <into> <count> <seed> runs what follows it in the
// script, up to the next KILLSEND, in child processes forked from this one,
// killing them at random moments: the first child runs to KILLSEND (its time
// is the step's time); each of the next <count> is killed (SIGKILL) after a
// time drawn uniformly from [0, the step's time] by a generator seeded with
// <seed>. After each child the project folder is copied to <into>/<i> and
// then put back as the folder <before> holds it (a file is rewritten in place,
// so handles this process keeps open see it as it was). Then this process
// runs the step itself. A step whose first child changes nothing in the
// project is not run again. A child ends at KILLSEND; this process passes it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <thread>

#include "arx/arx.h"

namespace {

namespace fs = std::filesystem;

bool g_child = false;

std::string readWhole(const fs::path& p) {
  std::string bytes;
  if (FILE* f = std::fopen(p.c_str(), "rb")) {
    std::error_code ec;
    bytes.resize(static_cast<size_t>(fs::file_size(p, ec)));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
  }
  return bytes;
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ea, eb;
  return fs::file_size(a, ea) == fs::file_size(b, eb) && !ea && !eb && readWhole(a) == readWhole(b);
}

std::set<fs::path> filesUnder(const fs::path& root) {
  std::set<fs::path> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_regular_file()) files.insert(fs::relative(it->path(), root));
  return files;
}

bool sameFolders(const fs::path& a, const fs::path& b) {
  std::set<fs::path> files = filesUnder(a);
  if (files != filesUnder(b)) return false;
  for (const fs::path& f : files)
    if (!sameFile(a / f, b / f)) return false;
  return true;
}

// Puts `project` back as `before` holds it: files that are not there go
// first (a database's journal before the database is touched), then each
// file that differs is rewritten in place.
void restore(const fs::path& project, const fs::path& before) {
  std::set<fs::path> keep = filesUnder(before);
  std::error_code ec;
  for (const fs::path& f : filesUnder(project))
    if (!keep.count(f)) fs::remove(project / f, ec);
  for (const fs::path& f : keep) {
    if (fs::exists(project / f) && sameFile(project / f, before / f)) continue;
    const std::string want = readWhole(before / f);
    fs::create_directories((project / f).parent_path(), ec);
    std::ofstream out(project / f, std::ios::binary | std::ios::trunc);
    out.write(want.data(), static_cast<std::streamsize>(want.size()));
  }
}

// Replaces folder `to` by a copy of `from`; the error, empty when it copied.
std::string copyFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::remove_all(to, ec);
  fs::create_directories(to, ec);
  if (!ec) fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  return ec ? ec.message() : std::string();
}

void Kills() {
  char project[ACED_INPUT_BUFFER] = "", before[ACED_INPUT_BUFFER] = "", into[ACED_INPUT_BUFFER] = "";
  char seedText[ACED_INPUT_BUFFER] = "";
  int count = 0;
  if (acedGetString(0, "Project folder: ", project) != RTNORM) return;
  if (acedGetString(0, "Its state before the step: ", before) != RTNORM) return;
  if (acedGetString(0, "Keep the states in: ", into) != RTNORM) return;
  if (acedGetInt("Children to kill: ", &count) != RTNORM || count < 0 || count > 100) return;
  if (acedGetString(0, "Seed: ", seedText) != RTNORM) return;
  std::mt19937_64 random(std::strtoull(seedText, nullptr, 10));
  double stepMs = 0;
  for (int i = 0; i <= count; ++i) {
    // Kill times as fractions of the step's time: the same seed draws the same moments.
    const double fraction = i == 0 ? 1.0 : std::uniform_real_distribution<double>(0.0, 1.0)(random);
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
      acutPrintf("kills: cannot fork\n");
      return;
    }
    if (child == 0) {
      g_child = true;
      return;  // the child runs the step
    }
    int status = 0;
    if (i == 0) {
      waitpid(child, &status, 0);
      stepMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      acutPrintf("kills: the step ran whole in %.0f ms (status %d)\n", stepMs, status);
    } else {
      const double delay = fraction * stepMs;
      std::this_thread::sleep_until(start + std::chrono::duration<double, std::milli>(delay));
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      acutPrintf("kills: child %d killed %.3f of the way through (%.0f ms)%s\n", i, fraction, delay,
                 WIFSIGNALED(status) ? "" : ", it had ended");
    }
    const fs::path copy = fs::path(into) / std::to_string(i);
    const std::string error = copyFolder(project, copy);
    if (!error.empty()) acutPrintf("kills: cannot copy %s to %s: %s\n", project, copy.c_str(), error.c_str());
    const bool nothingStored = i == 0 && sameFolders(project, before);
    restore(project, before);
    if (nothingStored) {
      acutPrintf("kills: the step stores nothing\n");
      break;
    }
  }
}

void KillsEnd() {
  if (g_child) {
    std::fflush(nullptr);
    _exit(0);
  }
}

void Snapshot() {
  char from[ACED_INPUT_BUFFER] = "", to[ACED_INPUT_BUFFER] = "";
  if (acedGetString(0, "Copy folder: ", from) != RTNORM) return;
  if (acedGetString(0, "To folder: ", to) != RTNORM) return;
  const std::string error = copyFolder(from, to);
  if (!error.empty()) acutPrintf("snapshot: cannot copy %s to %s: %s\n", from, to, error.c_str());
  else acutPrintf("snapshot: %s\n", to);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acedRegCmds->addCommand("TM_SNAPSHOT", "SNAPSHOT", "SNAPSHOT", ACRX_CMD_MODAL, &Snapshot);
      acedRegCmds->addCommand("TM_SNAPSHOT", "KILLS", "KILLS", ACRX_CMD_MODAL, &Kills);
      acedRegCmds->addCommand("TM_SNAPSHOT", "KILLSEND", "KILLSEND", ACRX_CMD_MODAL, &KillsEnd);
      break;
    case AcRx::kUnloadAppMsg: acedRegCmds->removeGroup("TM_SNAPSHOT"); break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
