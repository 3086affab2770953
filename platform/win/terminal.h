#pragma once
// A person at a terminal (cadhost's terminal mode): asked for what nothing
// queued answers (a prompt past the line typed, a message box, a dialog). With
// no terminal set nothing ever waits: scripts and tests never have one.

#include <functional>
#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// Reads one line without its line end; false when the input has ended.
using TerminalReader = std::function<bool(std::string& line)>;

// `echoes`: the terminal shows what is typed, so the transcript (when it goes
// to the screen) does not repeat it. An empty `read` takes the terminal away.
PLATFORM_API void setTerminal(TerminalReader read, bool echoes);
PLATFORM_API bool hasTerminal();
// Shows `prompt`, reads a line and puts it on the transcript. False when there
// is no terminal or its input has ended.
PLATFORM_API bool readTerminalLine(std::string_view prompt, std::string& line);
// The number of the last line read from the terminal (commands, prompt
// answers, words and buttons alike, from 1), so that a message can name it.
PLATFORM_API int terminalLineNumber();

// A line typed at a terminal, with its line end: written to the transcript
// unless `shownByTerminal` (the terminal echoed it onto the screen, where the
// transcript goes when no sink is installed).
PLATFORM_API void transcriptTyped(std::string_view line, bool shownByTerminal);

}  // namespace platform
