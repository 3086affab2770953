#include "win/msgbox.h"

#include <string>
#include <vector>

#include "win/answers.h"
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
