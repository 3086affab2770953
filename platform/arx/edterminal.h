#pragma once
// The command line as a person types into it, and the time each command takes
// (cadhost's terminal mode and its --times).

#include <functional>
#include <string>

#include "platform_api.h"

namespace platform {

// With a terminal set (win/terminal.h): reads a line at the prompt "Command: "
// and runs it as a script (arx/edcmdline.h); a prompt its commands raise
// beyond that line reads the next lines, and dialogs and message boxes with
// nothing queued ask the terminal. An error ends that line only: `showError`
// gets it and the next line is read. Ends at the end of the input or at QUIT.
PLATFORM_API void runTerminal(const std::function<void(const std::string&)>& showError);

// Called after each command, form or '>' line at the top level (with the
// messages it left pumped) with what ran and how long it took, in seconds of
// the wall clock; an empty function stops it.
using CommandTimer = std::function<void(const std::string& what, double seconds)>;
PLATFORM_API void setCommandTimer(CommandTimer timer);

}  // namespace platform
