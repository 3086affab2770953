// The host's own commands on windows and the clipboard, for scripts:
// CLIPTEXT puts a text on the clipboard (what a later {Ctrl+V} pastes) and
// PICTURES saves a picture of every dialog and window open now.
#include <string>
#include <string_view>

#include "arx/edcmdline.h"
#include "arx/edcommand.h"
#include "arx/prompt_input.h"
#include "win/clipboard.h"
#include "win/transcript.h"
#include "win/winpaint.h"

namespace platform {
namespace {

// A script's text with its escapes: \t a tab, \n a line break, \r a carriage
// return, \\ a backslash; any other backslash stands for itself (a Windows
// path keeps its backslashes).
std::string unescapeScriptText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    switch (text[i + 1]) {
      case 't': out += '\t'; ++i; break;
      case 'n': out += '\n'; ++i; break;
      case 'r': out += '\r'; ++i; break;
      case '\\': out += '\\'; ++i; break;
      default: out += c; break;
    }
  }
  return out;
}

void cmdClipText() {
  std::string token;
  int rc = readPromptToken("Text for the clipboard: ", token);
  if (rc == RTCAN) return;
  if (!setClipboardText(unescapeScriptText(token))) {
    transcriptLine("The clipboard is open elsewhere.");
    endRunWithError("CLIPTEXT: the clipboard is open elsewhere");
  }
}

void cmdPictures() {
  int saved = saveOpenWindowPictures();
  std::string folder = pictureFolder().empty() ? "." : pictureFolder();
  transcriptLine(std::to_string(saved) + " picture(s) saved in " + folder);
}

const BuiltinCommand g_clipText("CLIPTEXT", &cmdClipText);
const BuiltinCommand g_pictures("PICTURES", &cmdPictures);

}  // namespace
}  // namespace platform
