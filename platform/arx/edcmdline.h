#pragma once
// The command line: runs scripts (see arx/edscript.h for how they are read),
// hands prompt answers to the running command, runs the commands that modules
// send (acedCommand, sendStringToExecute) and the host's own commands SCRIPT
// and QUIT.
//
// At the top level a token names a command (global or local name, any case;
// a leading '_', '.' or '\'' is ignored), or a LISP function "c:NAME"; an
// Enter does nothing. "(command item ...)" puts its items in front of the
// input as tokens (numbers as written, "" as Enter); "(name item ...)" calls
// the LISP function `name`. A line "> <window> <word>..." acts on an open
// modeless window (win/userinput.h) when its turn comes, like a command.
//
// After each command, form or '>' line at the top level the pump dispatches
// the messages that are waiting (win/winhost.h); then the strings sent to the
// command line run, before the next line of the script is read. Strings sent
// while a command or a modal dialog runs wait for that.
//
// A run ends with an error (exit status 1 for cadhost) at an unknown command
// or LISP function, at a prompt that finds no answer left, at a bad answer
// line or form, at a '>' line that cannot act (or that comes while a prompt
// waits), at an answer line that no question took (named by its line), at a
// dialog that its answers leave open, and at a script file that cannot be
// read; QUIT ends it at once without an error.
//
// The host's own command DELAY lets the clock run by the milliseconds given,
// so that timers fall due.

#include <string>
#include <string_view>
#include <vector>

#include "arx/adscodes.h"

namespace platform {

struct ScriptInput {
  std::string name;  // shown in messages ("--run", a file name)
  std::string text;
  int firstLine = 1;  // the number of its first line in messages
};

struct RunResult {
  bool ok = true;     // the script ran to its end (or to QUIT)
  bool quit = false;  // QUIT ended it
  std::string error;  // why it ended early: "<source>:<line>: <reason>"
};

// Runs the inputs as one script, in order. Strings sent to the command line
// before the run are read first.
PLATFORM_API RunResult runScript(const std::vector<ScriptInput>& inputs);
PLATFORM_API RunResult runScriptText(std::string_view text, std::string_view name = "script");
PLATFORM_API bool scriptRunning();

// The global name of the innermost running command ("" when none runs).
PLATFORM_API std::string activeCommandName();
// Counts the top-level commands run so far: a command's own serial while it
// runs (what it calls runs under the same one).
PLATFORM_API unsigned long commandSerial();
// Ends the running script with an error (a built-in command that cannot go on).
PLATFORM_API void endRunWithError(const std::string& message);
// True once the running script is to end with an error.
PLATFORM_API bool runHasFailed();
// The error of the running or the last run ("" when none).
PLATFORM_API std::string runError();

// Queues text for the command line; it is read when the running command has
// ended (at once, before the next token, when none runs).
PLATFORM_API void sendCommandString(std::string_view text);
PLATFORM_API size_t pendingCommandStrings();
PLATFORM_API void clearPendingCommandStrings();

// Runs one command by name outside a script, with `answers` as its prompt
// answers ("" is Enter); prompts beyond them are cancelled. RTNORM, RTERROR for
// an unknown command, RTCAN when a prompt was cancelled.
PLATFORM_API int runCommand(std::string_view name, const std::vector<std::string>& answers = {});

// How an entity or selection-set name travels as a prompt answer (acedCommand
// with RTENAME or RTPICKS): "<ename:1a2b:0>" / "<picks:3:0>".
PLATFORM_API std::string nameToken(int type, const ads_name name);
// Reads such a token back; false when `token` is not one.
PLATFORM_API bool parseNameToken(std::string_view token, int& type, ads_name name);

}  // namespace platform

// Runs a command with its answers given as (type, value) pairs ended by RTNONE
// (or 0): RTSTR const char* ("" is Enter), RTREAL/RTANG/RTORINT double (angles
// in radians, passed on in degrees), RTSHORT int, RTLONG long, RTPOINT/
// RT3DPOINT ads_point, RTENAME/RTPICKS ads_name. Prompts of the command beyond
// the answers given are cancelled. RTNORM, RTERROR (unknown command or value
// type), RTCAN (a prompt was cancelled).
PLATFORM_API int acedCommand(int rtype, ...);
PLATFORM_API int acedCmd(const resbuf* rb);
