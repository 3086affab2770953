// Script words and dialog answers on the plan module's settings dialog: the
// input is the lines of a script written under the command DEZERORUR, of
// which the answer lines (`@2001 <words>`, `@file ...`, `@msg ...`) and the
// window lines (`> 2163 <words>`, `> 2251 <words>` on the project tree and the
// table editors that the dialog's OK opens) are played, through the same
// command line and user-input code as cadhost's. The module is the real
// brevell.arx of the install folder, loaded as cadhost loads it, over a
// sample project of its own (made at start by the sample-project program).
//
// Each input is one session: the scheme database is put back as it was, the
// module is loaded, the script runs, the module is unloaded (closing its
// windows and freeing its plan) and the drawing is thrown away. The library
// itself stays mapped between sessions (it is opened once more here, never to
// be unmapped), so that the fuzzer's coverage counters in it stay valid.
//
// The words may name files. A line is left out when it could reach a file
// outside the scratch folder: the drive Z: (the Linux root), a path that
// starts at a root or climbs with "..". Other drives lie under a drive root in
// the scratch folder (D:\traverse.txt is a traverse file for 导线表's import),
// and relative paths under its working folder.
#include <dlfcn.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "arx/edcmdline.h"
#include "arx/prompt_input.h"
#include "arx/rxdynlink.h"
#include "arx/dbdatabase.h"
#include "crt/paths.h"
#include "win/answers.h"
#include "win/transcript.h"
#include "win/winhost.h"

namespace {

namespace fs = std::filesystem;

fs::path g_scratch;
fs::path g_schemeDb;    // the project's scheme database
fs::path g_pristineDb;  // its copy as the sample project made it

[[noreturn]] void SetUpFails(const std::string& why) {
  std::fprintf(stderr, "fuzz-dialog: %s\n", why.c_str());
  std::exit(1);
}

// True when a line may reach no file outside the scratch folder.
bool StaysInScratch(std::string_view line) {
  if (line.find("..") != std::string_view::npos) return false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if ((c == 'z' || c == 'Z') && i + 1 < line.size() && line[i + 1] == ':') return false;
    // A path from the root: a separator at the start of a word, of a value
    // or of a quoted text.
    if ((c == '/' || c == '\\') &&
        (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t' || line[i - 1] == '=' || line[i - 1] == '"'))
      return false;
  }
  return true;
}

// The answer and window lines of the input, each ended by a line end.
std::string PlayedLines(std::string_view input) {
  std::string out;
  size_t from = 0;
  while (from <= input.size()) {
    size_t end = input.find('\n', from);
    if (end == std::string_view::npos) end = input.size();
    std::string_view line = input.substr(from, end - from);
    from = end + 1;
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    if ((line[first] == '@' || line[first] == '>') && StaysInScratch(line) &&
        line.find('\0') == std::string_view::npos && line.find('\r') == std::string_view::npos) {
      out.append(line);
      out += '\n';
    }
  }
  return out;
}

// The program's arguments with their paths made absolute, since the target
// moves into its scratch folder before the fuzzer reads its corpus folders
// and files: the arguments that are no flags, and the flags that name paths.
// The program itself, which the fuzzer starts again to merge, must not be
// renamed here: started by a relative path, the program starts itself again
// by its absolute path first.
void AbsoluteArguments(int argc, char** argv) {
  static std::vector<std::string> kept;
  kept.reserve(static_cast<size_t>(argc));
  const char* const pathFlags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=", "-features_dir=",
                                   "-merge_control_file=", "-seed_inputs=", "-close_fd_mask_file="};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string flag, path = arg;
    if (!arg.empty() && arg[0] == '-') {
      path.clear();
      for (const char* f : pathFlags)
        if (arg.rfind(f, 0) == 0) {
          flag = f;
          path = arg.substr(flag.size());
        }
    }
    if (path.empty() || path[0] == '/') continue;
    // A prefix keeps its last part ("findings/dialog-" is a folder and a start of a name).
    std::error_code ec;
    kept.push_back(flag + (fs::current_path(ec) / path).string());
    argv[i] = kept.back().data();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (argc && argv && *argc > 0) {
    char** args = *argv;
    if (std::strchr(args[0], '/') != nullptr && args[0][0] != '/') {
      const std::string self = fs::absolute(args[0]).string();
      args[0] = const_cast<char*>(self.c_str());
      execv(self.c_str(), args);
      SetUpFails("cannot start " + self + " again");
    }
    AbsoluteArguments(*argc, args);
  }
  // RAIL_FUZZ_TRANSCRIPT=1 shows what the sessions print (to replay an input by hand).
  if (std::getenv("RAIL_FUZZ_TRANSCRIPT") == nullptr)
    platform::setTranscriptSink([](std::string_view) {});
  else
    platform::setTranscriptSink([](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
  std::error_code ec;
  g_scratch = fs::temp_directory_path() / ("rail-fuzz-dialog-" + std::to_string(getpid()));
  fs::remove_all(g_scratch, ec);
  const fs::path install = g_scratch / "install";
  const fs::path project = g_scratch / "project";
  fs::create_directories(install);
  fs::create_directories(g_scratch / "cwd");
  fs::create_directories(g_scratch / "drives");
  setenv("CADHOST_DRIVE_ROOT", (g_scratch / "drives").c_str(), 1);

  // An install folder of this process's own (its workdir names this
  // process's project): the build's files, linked.
  for (const fs::directory_entry& entry : fs::directory_iterator(RAIL_FUZZ_INSTALL_DIR)) {
    const std::string name = entry.path().filename().string();
    if (name == "workdir") continue;
    fs::create_symlink(entry.path(), install / name, ec);
    if (ec) SetUpFails("cannot link " + entry.path().string() + ": " + ec.message());
  }
  const std::string make = std::string("'") + RAIL_FUZZ_BIN_DIR + "/sample-project' --install '" + install.string() +
                           "' --workdir '" + project.string() + "' >/dev/null";
  if (std::system(make.c_str()) != 0) SetUpFails("the sample project could not be made: " + make);
  g_schemeDb = project / "data" / "方案1.mdb";
  g_pristineDb = g_scratch / "pristine.mdb";
  fs::copy_file(g_schemeDb, g_pristineDb, fs::copy_options::overwrite_existing, ec);
  if (ec) SetUpFails("cannot copy " + g_schemeDb.string() + ": " + ec.message());

  // The module stays mapped when it is unloaded after each input.
  const fs::path module = install / "brevell.arx";
  if (!dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE))
    SetUpFails(std::string("cannot open ") + module.string() + ": " + dlerror());
  // A traverse file for the table editor's import to find: D:\traverse.txt.
  fs::create_directories(g_scratch / "drives" / "D");
  if (FILE* f = std::fopen((g_scratch / "drives" / "D" / "traverse.txt").c_str(), "wb")) {
    std::fputs("h1 h2 h3 h4 h5 h6 h7\nh8 h9 h10 h11 h12 h13 h14\nh15 h16 h17 h18 h19 h20 h21\n"
               "A0 45-30-00\nA1 180-00-15 1000.12345 2000.5 10.25 1500 46-00-30 123.45678\n"
               "A2 179-59-45 1085.4 2088.123456 11 1623.45 47-10-05 88\nA3 181-00-00\n",
               f);
    std::fclose(f);
  }
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(g_scratch, ignored);
  });
  if (chdir((g_scratch / "cwd").c_str()) != 0) SetUpFails("cannot enter the scratch folder");
  platform::setInstallFolder(install.string());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::error_code ec;
  fs::copy_file(g_pristineDb, g_schemeDb, fs::copy_options::overwrite_existing, ec);
  std::string error;
  if (!platform::loadModule("brevell", &error)) SetUpFails("brevell does not load: " + error);

  const std::string lines = PlayedLines(std::string_view(reinterpret_cast<const char*>(data), size));
  const platform::RunResult run = platform::runScriptText("DEZERORUR\n" + lines, "fuzz");
  if (!run.ok && std::getenv("RAIL_FUZZ_TRANSCRIPT") != nullptr)
    std::fprintf(stderr, "[run ended: %s]\n", run.error.c_str());

  platform::unloadAllModules();
  platform::clearAnswers();
  platform::clearPromptTokens();
  platform::clearPendingCommandStrings();
  platform::clearMessageQueue();
  platform::setCurrentDrawing(nullptr);
  return 0;
}
