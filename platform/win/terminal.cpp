#include "win/terminal.h"

#include <utility>

#include "win/transcript.h"

namespace platform {
namespace {

struct Terminal {
  TerminalReader read;
  bool echoes = false;
  int lines = 0;
};

Terminal& terminal() {
  static Terminal t;
  return t;
}

}  // namespace

void setTerminal(TerminalReader read, bool echoes) {
  terminal().read = std::move(read);
  terminal().echoes = echoes;
  terminal().lines = 0;
}

int terminalLineNumber() { return terminal().lines; }

bool hasTerminal() { return static_cast<bool>(terminal().read); }

bool readTerminalLine(std::string_view prompt, std::string& line) {
  line.clear();
  Terminal& t = terminal();
  if (!t.read) return false;
  if (!prompt.empty()) transcriptWrite(prompt);
  if (!t.read(line)) {
    line.clear();
    transcriptTyped("", false);
    return false;
  }
  ++t.lines;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  transcriptTyped(line, t.echoes);
  return true;
}

}  // namespace platform
