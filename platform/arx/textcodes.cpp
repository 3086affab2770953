#include "arx/textcodes.h"

namespace platform {

std::vector<TextRun> shownTextRuns(std::string_view text) {
  std::vector<TextRun> runs;
  TextRun current;
  auto flush = [&] {
    if (!current.text.empty()) runs.push_back(current);
    current.text.clear();
  };
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, 2, "%%") != 0 || i + 2 >= text.size()) {
      current.text += text[i++];
      continue;
    }
    const char code = text[i + 2];
    switch (code) {
      case 'd': case 'D': current.text += "\u00B0"; break;
      case 'c': case 'C': current.text += "\u2300"; break;
      case 'p': case 'P': current.text += "\u00B1"; break;
      case '%': current.text += '%'; break;
      case 'u': case 'U':
        flush();
        current.underline = !current.underline;
        break;
      case 'o': case 'O':
        flush();
        current.overline = !current.overline;
        break;
      default:
        // Not a code: the two percent signs stay, the character after them
        // is read on its own (it may start a code itself).
        current.text += "%%";
        i += 2;
        continue;
    }
    i += 3;
  }
  flush();
  return runs;
}

std::string shownText(std::string_view text) {
  std::string out;
  for (const TextRun& run : shownTextRuns(text)) out += run.text;
  return out;
}

}  // namespace platform
