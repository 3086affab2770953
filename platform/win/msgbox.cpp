#include "win/msgbox.h"

#include <optional>
#include <string>
#include <vector>

#include "win/answers.h"
#include "win/terminal.h"
#include "win/transcript.h"

namespace platform {
namespace {

std::vector<int> buttonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

// A message box put to the person at the terminal: its text and buttons are
// listed and a button name is read (an empty line takes the default). Nothing
// when the terminal's input has ended.
std::optional<std::string> askTerminal(const char* text, const char* caption, const std::vector<int>& buttons,
                                       size_t def) {
  std::string line = "[";
  line += caption ? caption : "Error";
  line += "] ";
  line += text ? text : "";
  transcriptLine(line);
  std::string list = "  buttons:";
  for (int b : buttons) list += std::string(" ") + buttonName(b);
  list += std::string(" (Enter: ") + buttonName(buttons[def]) + ")";
  transcriptLine(list);
  for (;;) {
    std::string typed;
    if (!readTerminalLine("Button: ", typed)) return std::nullopt;
    std::string_view word = typed;
    while (!word.empty() && (word.front() == ' ' || word.front() == '\t')) word.remove_prefix(1);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.remove_suffix(1);
    if (word.empty()) return std::string(buttonName(buttons[def]));
    int id = buttonIdFromName(word);
    for (int b : buttons)
      if (b == id) return std::string(word);
    transcriptLine("  \"" + std::string(word) + "\" is not a button of this box");
  }
}

// The box as an error names it: "message box [caption] text", the text on one
// line and cut after 80 bytes (at a character's start).
std::string takerName(const char* text, const char* caption) {
  std::string flat;
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == '\r') continue;
    if (*p == '\n' || *p == '\t') {
      if (!flat.empty() && flat.back() != ' ') flat += ' ';
      continue;
    }
    flat += *p;
  }
  constexpr size_t kMost = 80;
  if (flat.size() > kMost) {
    size_t cut = kMost;
    while (cut > 0 && (static_cast<unsigned char>(flat[cut]) & 0xC0) == 0x80) --cut;
    flat = flat.substr(0, cut) + "...";
  }
  return std::string("message box [") + (caption ? caption : "Error") + "] " + flat;
}

}  // namespace

int showMessageBox(const char* text, const char* caption, UINT type) {
  std::vector<int> buttons = buttonsOf(type);
  size_t def = (type & MB_DEFMASK) >> 8;
  if (def >= buttons.size()) def = 0;

  auto fits = [&](std::string_view answer) {
    int id = buttonIdFromName(answer);
    for (int b : buttons)
      if (b == id) return true;
    return false;
  };
  std::optional<std::string> answer = takeAnswer("msg", fits, takerName(text, caption));
  if (!answer && hasTerminal()) answer = askTerminal(text, caption, buttons, def);
  int result = answer ? buttonIdFromName(*answer) : buttons[def];

  std::string line = "[";
  line += caption ? caption : "Error";
  line += "] ";
  line += text ? text : "";
  line += answer ? " [" : " [";
  line += buttonName(result);
  line += answer ? "]" : " by default]";
  transcriptLine(line);
  return result;
}

}  // namespace platform

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  return platform::showMessageBox(text, caption, type);
}
