// cadhost: the command-line drawing editor. It loads the modules from the
// install folder, runs the script made of the --script files and --run lines
// (pumping the window system's messages after each line), and unloads every
// module, with its windows, at the end. Everything shown goes to stdout; why a
// run could not go on goes to stderr, with exit status 1.
//
// With no script and a terminal on its input (or with --interactive) it is a
// command line a person types into: each line read is run as the script's
// lines are, and what nothing queued answers is asked at the terminal; an
// error is shown and the next line is read.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "arx/arx.h"
#include "arx/edterminal.h"
#include "crt/textfile.h"
#include "win/winhost.h"
#include "drawing_options.h"
#include "options.h"
#include "win/answers.h"
#include "win/terminal.h"
#include "win/transcript.h"
#include "win/winpaint.h"

namespace {

int failWith(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "cadhost: %s\n", message.c_str());
  return 1;
}

// The script's sources in order: each --script file (read as a text file) and
// each --run line.
bool readScript(const HostOptions& options, std::vector<platform::ScriptInput>& script, std::string& error) {
  int runs = 0;
  for (const ScriptItem& item : options.script) {
    if (!item.isFile) {
      script.push_back({"--run[" + std::to_string(++runs) + "]", item.value + "\n"});
      continue;
    }
    FILE* f = platform::openFile(item.value.c_str(), "r");
    if (!f) {
      error = "cannot read script file " + item.value + ": " + std::strerror(errno);
      return false;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    script.push_back({item.value, std::move(text)});
  }
  return true;
}

// One line of the standard input, without its line end; false at its end.
bool readInputLine(std::string& line) {
  std::fflush(stdout);
  line.clear();
  char buf[4096];
  while (std::fgets(buf, sizeof buf, stdin)) {
    line += buf;
    if (!line.empty() && line.back() == '\n') {
      line.pop_back();
      return true;
    }
  }
  return !line.empty();
}

void printTime(const std::string& what, double seconds) {
  std::fprintf(stderr, "time %s %.3f\n", what.c_str(), seconds);
}

int run(const HostOptions& options) {
  // A person at a terminal, when no script is given.
  const bool terminal = options.interactive || (options.script.empty() && isatty(STDIN_FILENO));
  if (!options.install.empty()) {
    std::error_code ec;
    platform::setInstallFolder(std::filesystem::absolute(options.install, ec).lexically_normal().string());
  }
  std::vector<platform::ScriptInput> script;
  std::string error;
  if (!readScript(options, script, error)) return failWith(error);
  if (!options.pictures.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(options.pictures, ec);
    if (ec || !std::filesystem::is_directory(options.pictures))
      return failWith("cannot make the picture folder " + options.pictures);
    platform::setPictureFolder(std::filesystem::absolute(options.pictures, ec).lexically_normal().string());
  }

  for (const std::string& module : options.modules) {
    auto started = std::chrono::steady_clock::now();
    if (!platform::loadModule(module, &error)) {
      platform::unloadAllModules();
      return failWith(error);
    }
    if (options.times)
      printTime("load " + module, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
  if (options.times) platform::setCommandTimer(&printTime);

  int status = 0;
  // The drawing is opened once the modules are there, so that their custom
  // objects come back as themselves.
  if (!options.openDrawing.empty() && !openDrawing(options.openDrawing, error)) status = failWith(error);

  if (status == 0 && terminal) {
    // The terminal echoes what is typed unless the input was made a terminal
    // by the option only.
    platform::setTerminal(&readInputLine, isatty(STDIN_FILENO) != 0);
    platform::runTerminal([](const std::string& why) { platform::transcriptLine("cadhost: " + why); });
    platform::setTerminal({}, false);
  } else if (status == 0) {
    platform::RunResult result = platform::runScript(script);
    if (!result.ok) status = failWith(result.error);
  }
  // An answer no question took was written for a question that never came:
  // the script did not run as written.
  if (status == 0 && platform::pendingAnswers() > 0) {
    std::string unused;
    for (const std::string& line : platform::pendingAnswerLines()) unused += "\n  " + line;
    status = failWith(std::to_string(platform::pendingAnswers()) + " answer(s) left unused at the end of the script:" +
                      unused);
  }

  // The drawing is saved after a script that ran to its end (QUIT included).
  if (status == 0 && !options.saveDrawing.empty() && !saveDrawing(options.saveDrawing, error))
    status = failWith(error);
  if (status == 0 && !options.exportSvg.empty() && !exportSvg(options.exportSvg, options.svgScale, error))
    status = failWith(error);

  platform::setCommandTimer({});
  platform::unloadAllModules();
  // The host's own windows go last.
  platform::resetWindowing();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  HostOptions options;
  std::string error;
  if (!parseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "cadhost: %s\n%s", error.c_str(), usageText());
    return 1;
  }
  if (options.help) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  return run(options);
}
