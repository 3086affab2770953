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
  std::optional<std::string> answer = takeAnswer("msg", fits);
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
