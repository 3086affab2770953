#include "arx/edcmdline.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <utility>

#include "arx/edcommand.h"
#include "arx/edlisp.h"
#include "arx/edscript.h"
#include "arx/edterminal.h"
#include "arx/prompt_input.h"
#include "arx/rxdynlink.h"
#include "crt/ascii.h"
#include "crt/textfile.h"
#include "win/answers.h"
#include "win/terminal.h"
#include "win/transcript.h"
#include "win/userinput.h"
#include "win/winhost.h"

namespace platform {
namespace {

struct LineState {
  ScriptReader reader;
  bool running = false;          // a script run is under way
  bool failed = false;           // ... and is to end with `error`
  bool quit = false;             // ... and QUIT ended it
  std::string error;             // the first error of the run (the last one outside a run)
  unsigned errorSerial = 0;      // counts errors, so a caller can see whether one happened
  unsigned cancelSerial = 0;     // counts prompts cancelled for want of a command's answers
  std::vector<std::string> commands;  // running commands, innermost last
  unsigned long commandSerial = 0;    // top-level commands begun
  std::vector<int> boundaries;   // answer sources of acedCommand, innermost last
  std::deque<std::string> pending;     // strings sent to the command line
  std::deque<std::string> testTokens;  // answers queued by queuePromptToken
  std::vector<int> scripts;            // sources read by SCRIPT, outermost first
  // The next token is the first of a line just typed at the terminal, which
  // the transcript has already (the line, or the terminal's echo).
  bool justTyped = false;
  CommandTimer timer;
};

// Scripts run by SCRIPT from other scripts: a script that runs itself, or two
// that run each other, would nest without end.
constexpr size_t kMaxScriptNesting = 16;

LineState& state() {
  static LineState* s = new LineState();  // lives for the whole process
  return *s;
}

void fail(const std::string& message) {
  LineState& st = state();
  ++st.errorSerial;
  if (!(st.running && st.failed)) st.error = message;
  if (st.running) st.failed = true;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\n' || s.front() == '\r' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\n' || s.back() == '\r' || s.back() == '\t'))
    s.remove_suffix(1);
  return std::string(s);
}

std::string numberText(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::to_string(v);
}

std::string pointText(const double* p, int dims) {
  if (!p) return "0,0";
  std::string s = numberText(p[0]);
  for (int i = 1; i < dims; ++i) s.append(",").append(numberText(p[i]));
  return s;
}

bool hasExtension(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  size_t dot = name.rfind('.');
  return dot != std::string_view::npos && dot > 0;
}

bool isCommandForm(const ScriptToken& t) { return !t.items.empty() && lowerAscii(t.items[0].text) == "command"; }

// Puts the items of a (command ...) form in front of the input.
bool pushFormTokens(const ScriptToken& t) {
  std::vector<std::string> tokens;
  for (size_t i = 1; i < t.items.size(); ++i) {
    const LispAtom& a = t.items[i];
    if (a.kind == LispAtom::Symbol) {
      fail(t.where + ": only strings and numbers can be given to command: " + a.text);
      return false;
    }
    tokens.push_back(a.text);
  }
  state().reader.pushTokens(t.where, std::move(tokens));
  return true;
}

void flushPending() {
  LineState& st = state();
  while (!st.pending.empty()) {
    st.reader.pushFront("sent string", std::move(st.pending.back()), true);
    st.pending.pop_back();
  }
}

void invokeCommand(const AcEdCommand* cmd, const std::string& typed, bool shown) {
  LineState& st = state();
  // The command may remove itself while it runs: keep what is needed.
  AcRxFunctionPtr function = cmd->functionAddr();
  LoadedModule* module = cmd->module();
  std::string name = cmd->globalName();
  if (!shown) transcriptLine("Command: " + typed);
  if (st.commands.empty()) ++st.commandSerial;
  st.commands.push_back(name);
  bool threw = false;
  try {
    ModuleCallScope scope(module);
    function();
  } catch (...) {
    // Nothing may leave a module by an exception; the host goes on safely.
    threw = true;
  }
  st.commands.pop_back();
  if (threw) fail("command " + name + " ended with an exception");
}

resbuf* atomsToArgs(const std::vector<LispAtom>& items, std::string& error) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (size_t i = 1; i < items.size(); ++i) {
    const LispAtom& a = items[i];
    resbuf* rb = nullptr;
    switch (a.kind) {
      case LispAtom::String:
        rb = acutNewRb(RTSTR);
        if (rb) rb->resval.rstring = acutNewString(a.text.c_str());
        break;
      case LispAtom::Integer:
        if (a.integer >= -32768 && a.integer <= 32767) {
          rb = acutNewRb(RTSHORT);
          if (rb) rb->resval.rint = static_cast<short>(a.integer);
        } else {
          rb = acutNewRb(RTLONG);
          if (rb) rb->resval.rlong = static_cast<long>(a.integer);
        }
        break;
      case LispAtom::Real:
        rb = acutNewRb(RTREAL);
        if (rb) rb->resval.rreal = a.real;
        break;
      case LispAtom::Symbol: {
        std::string s = lowerAscii(a.text);
        if (s == "nil") rb = acutNewRb(RTNIL);
        else if (s == "t") rb = acutNewRb(RTT);
        else error = "unknown symbol " + a.text;
        break;
      }
    }
    if (!rb) {
      if (error.empty()) error = "out of memory";
      acutRelRb(head);
      return nullptr;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

void callLisp(const std::string& function, const std::vector<LispAtom>& items, const std::string& shown,
              const std::string& where) {
  LineState& st = state();
  std::string error;
  resbuf* args = atomsToArgs(items, error);
  if (!error.empty()) {
    fail(where + ": " + error);
    return;
  }
  transcriptLine("Command: " + shown);
  st.commands.push_back(function);
  std::string result;
  bool ok = invokeLispFunction(function, args, &result, &error);
  st.commands.pop_back();
  acutRelRb(args);
  if (!ok) {
    transcriptLine("; error: " + error);
    fail(where + ": " + error);
  } else if (!result.empty()) {
    transcriptLine(result);
  }
}

void runWord(const ScriptToken& t, bool shown) {
  std::string name = t.text;
  while (name.size() > 1 && (name[0] == '_' || name[0] == '.' || name[0] == '\'')) name.erase(0, 1);
  if (const AcEdCommand* cmd = commandStack()->findCommand(name.c_str())) {
    invokeCommand(cmd, t.text, shown);
    return;
  }
  if (isLispFunctionDefined("c:" + name)) {
    callLisp("c:" + name, {LispAtom{}}, t.text, t.where);
    return;
  }
  // At a terminal the error that ends the line is shown, which says the same:
  // it is said once.
  if (!hasTerminal()) transcriptLine("Unknown command \"" + t.text + "\".");
  fail(t.where + ": unknown command \"" + t.text + "\"");
}

void runForm(const ScriptToken& t) {
  if (isCommandForm(t)) {
    pushFormTokens(t);
    return;
  }
  callLisp(t.items[0].text, t.items, t.text, t.where);
}

void runWindowAction(const ScriptToken& t) {
  transcriptLine("> " + t.text);
  std::string error;
  if (!runWindowLine(t.text, error)) fail(t.where + ": " + error);
}

// The answers taken before `unused`, each with the question that took it:
// those of its own line, and those from the line of the last message box that
// took an answer on (a box that took an answer meant for another, such as a
// refusal taking the OK of a completion box, leaves a later answer untaken).
// Empty when there are none.
std::string answersTakenBefore(const Answer& unused) {
  const std::vector<TakenAnswer> taken = takenAnswers();
  auto firstOfLine = [&](size_t i) {
    const int group = taken[i].answer.group;
    if (group == 0) return i;
    for (size_t j = 0; j < i; ++j)
      if (taken[j].answer.group == group) return j;
    return i;
  };
  size_t from = taken.size();
  for (size_t i = 0; i < taken.size() && unused.group != 0; ++i) {
    if (taken[i].answer.group == unused.group) {
      from = i;
      break;
    }
  }
  for (size_t i = taken.size(); i-- > 0;) {
    if (taken[i].answer.kind == "msg") {
      from = std::min(from, firstOfLine(i));
      break;
    }
  }
  std::string text;
  for (size_t i = from; i < taken.size(); ++i) {
    const TakenAnswer& t = taken[i];
    text += "\n  " + (t.answer.where.empty() ? std::string() : t.answer.where + ": ") + "\"" +
            answerLineText(t.answer) + "\" by " + (t.takenBy.empty() ? "a question" : t.takenBy);
  }
  return text;
}

// Answers written under lines already run that no question took.
bool answersTaken() {
  std::vector<Answer> left = queuedAnswers();
  if (left.empty()) return true;
  const Answer& a = left.front();
  std::string message =
      (a.where.empty() ? std::string() : a.where + ": ") + "the answer \"" + answerLineText(a) + "\" was never taken";
  const std::string before = answersTakenBefore(a);
  if (!before.empty()) message += "; the answers taken before it:" + before;
  fail(message);
  return false;
}

// Runs what the next token at the top level asks for (within `boundary` when
// given). False when the input is used up or is bad.
bool step(int boundary) {
  LineState& st = state();
  bool topLevel = boundary == 0 && st.commands.empty();
  if (st.commands.empty()) flushPending();
  // Before the next line of the script: every answer written so far was for
  // the lines that ran.
  if (topLevel && st.running && st.reader.nextIsFromScript() && !answersTaken()) return false;
  ScriptToken t = st.reader.next(boundary);
  bool typed = std::exchange(st.justTyped, false);
  auto started = std::chrono::steady_clock::now();
  switch (t.kind) {
    case ScriptToken::End: return false;
    case ScriptToken::Error: fail(t.where + ": " + t.text); return false;
    case ScriptToken::Enter: return true;
    case ScriptToken::Word: runWord(t, typed); break;
    case ScriptToken::Form: runForm(t); break;
    case ScriptToken::Window:
      if (!topLevel) {
        fail(t.where + ": a window action cannot run inside a command: > " + t.text);
        return false;
      }
      runWindowAction(t);
      break;
  }
  if (topLevel) {
    pumpMessages();
    if (st.timer) {
      std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
      st.timer(t.kind == ScriptToken::Window ? "> " + t.text : t.text, took.count());
    }
  }
  return true;
}

int runTokens(std::vector<std::string> tokens) {
  LineState& st = state();
  if (tokens.empty()) return RTNORM;
  unsigned errors = st.errorSerial;
  unsigned cancels = st.cancelSerial;
  int id = st.reader.pushTokens("command answers", std::move(tokens));
  st.boundaries.push_back(id);
  while (!st.failed && !st.quit && st.errorSerial == errors && step(id)) {
  }
  st.boundaries.pop_back();
  st.reader.dropThrough(id);
  if (st.errorSerial != errors) return RTERROR;
  if (st.cancelSerial != cancels) return RTCAN;
  return RTNORM;
}

// --- the host's own commands -------------------------------------------------------

void cmdScript() {
  std::string name;
  if (readPromptToken("Enter script file name: ", name) != RTNORM) return;
  std::string file = hasExtension(name) ? name : name + ".scr";
  LineState& st = state();
  // The scripts still being read are the ones this one nests in.
  std::erase_if(st.scripts, [&](int id) { return !st.reader.contains(id); });
  if (st.scripts.size() >= kMaxScriptNesting) {
    transcriptLine("Scripts nested too deeply at \"" + file + "\".");
    fail("SCRIPT: scripts nested more than " + std::to_string(kMaxScriptNesting) + " deep at \"" + file +
         "\" (a script that runs itself, or scripts that run each other)");
    return;
  }
  FILE* f = openFile(file.c_str(), "r");
  if (!f) {
    transcriptLine("Cannot read script file \"" + file + "\".");
    fail("SCRIPT: cannot read script file \"" + file + "\"");
    return;
  }
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  st.scripts.push_back(st.reader.pushFront(file, std::move(text)));
}

void cmdQuit() { state().quit = true; }

// Lets the host's clock run, so that timers fall due (the pump delivers them
// when the command has ended).
void cmdDelay() {
  std::string token;
  if (readPromptToken("Enter delay time (in milliseconds): ", token) != RTNORM) return;
  long long ms = -1;
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), ms);
  if (ec != std::errc() || end != token.data() + token.size() || ms < 0 || ms > 0x7FFFFFFF) {
    transcriptLine("Requires a whole number of milliseconds.");
    fail("DELAY: \"" + token + "\" is no number of milliseconds");
    return;
  }
  advanceClock(static_cast<DWORD>(ms));
}

const BuiltinCommand g_script("SCRIPT", &cmdScript);
const BuiltinCommand g_quit("QUIT", &cmdQuit);
const BuiltinCommand g_delay("DELAY", &cmdDelay);

}  // namespace

// --- prompts --------------------------------------------------------------------------

int readPromptToken(const char* prompt, std::string& token) {
  LineState& st = state();
  std::string shown = prompt ? prompt : "";
  if (!shown.empty()) transcriptWrite(shown);
  token.clear();
  if (!st.testTokens.empty()) {
    token = std::move(st.testTokens.front());
    st.testTokens.pop_front();
    transcriptWrite(token + "\n");
    return token.empty() ? RTNONE : RTNORM;
  }
  if (st.failed) {
    transcriptWrite("*Cancel*\n");
    return RTCAN;
  }
  int boundary = st.boundaries.empty() ? 0 : st.boundaries.back();
  for (;;) {
    ScriptToken t = st.reader.next(boundary);
    bool typed = std::exchange(st.justTyped, false);
    switch (t.kind) {
      case ScriptToken::End: {
        // At a terminal the answer is the next line typed (the prompt is
        // shown already).
        std::string line;
        if (!boundary && hasTerminal() && readTerminalLine("", line)) {
          st.reader.append("terminal", line + "\n", terminalLineNumber());
          st.justTyped = true;
          continue;
        }
        transcriptWrite("*Cancel*\n");
        if (boundary) {
          ++st.cancelSerial;
          return RTCAN;
        }
        std::string what = trimmed(shown);
        std::string message = what.empty() ? "no answer left for a prompt" : "no answer left for the prompt \"" + what + "\"";
        if (!st.commands.empty()) message += " of command " + st.commands.back();
        fail(message);
        return RTCAN;
      }
      case ScriptToken::Error:
        transcriptWrite("*Cancel*\n");
        fail(t.where + ": " + t.text);
        return RTCAN;
      case ScriptToken::Enter:
        if (!typed) transcriptWrite("\n");
        return RTNONE;
      case ScriptToken::Word:
        token = t.text;
        if (!typed) transcriptWrite(token + "\n");
        return RTNORM;
      case ScriptToken::Window:
        transcriptWrite("*Cancel*\n");
        fail(t.where + ": a window action cannot answer a prompt: > " + t.text);
        return RTCAN;
      case ScriptToken::Form:
        if (isCommandForm(t)) {
          if (!pushFormTokens(t)) {
            transcriptWrite("*Cancel*\n");
            return RTCAN;
          }
          continue;
        }
        transcriptWrite("*Cancel*\n");
        fail(t.where + ": a function call cannot answer a prompt: " + t.text);
        return RTCAN;
    }
  }
}

void queuePromptToken(std::string_view token) { state().testTokens.emplace_back(token); }
void clearPromptTokens() { state().testTokens.clear(); }

// --- runs ----------------------------------------------------------------------------------

RunResult runScript(const std::vector<ScriptInput>& inputs) {
  LineState& st = state();
  if (st.running) return RunResult{false, false, "a script is running already"};
  st.running = true;
  st.failed = false;
  st.quit = false;
  st.error.clear();
  st.reader.clear();
  st.boundaries.clear();
  st.scripts.clear();
  for (const ScriptInput& in : inputs) st.reader.append(in.name, in.text, in.firstLine);
  while (!st.failed && !st.quit && step(0)) {
  }
  if (!st.failed && !st.quit) answersTaken();
  RunResult result{!st.failed, st.quit, st.failed ? st.error : std::string()};
  st.reader.clear();
  st.pending.clear();
  clearAnswers();
  st.running = false;
  st.failed = false;
  return result;
}

RunResult runScriptText(std::string_view text, std::string_view name) {
  return runScript({ScriptInput{std::string(name), std::string(text)}});
}

bool scriptRunning() { return state().running; }

void runTerminal(const std::function<void(const std::string&)>& showError) {
  for (;;) {
    std::string line;
    if (!readTerminalLine("Command: ", line)) return;
    state().justTyped = true;
    RunResult r = runScript({ScriptInput{"terminal", line + "\n", terminalLineNumber()}});
    state().justTyped = false;
    if (!r.ok && showError) showError(r.error);
    if (r.quit) return;
  }
}

void setCommandTimer(CommandTimer timer) { state().timer = std::move(timer); }

std::string activeCommandName() { return state().commands.empty() ? std::string() : state().commands.back(); }

void endRunWithError(const std::string& message) { fail(message); }

unsigned long commandSerial() { return state().commandSerial; }

bool runHasFailed() { return state().running && state().failed; }

std::string runError() { return state().error; }

void sendCommandString(std::string_view text) { state().pending.emplace_back(text); }
size_t pendingCommandStrings() { return state().pending.size(); }
void clearPendingCommandStrings() { state().pending.clear(); }

int runCommand(std::string_view name, const std::vector<std::string>& answers) {
  std::vector<std::string> tokens;
  tokens.emplace_back(name);
  tokens.insert(tokens.end(), answers.begin(), answers.end());
  return runTokens(std::move(tokens));
}

std::string nameToken(int type, const ads_name name) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "<%s:%lx:%lx>", type == RTPICKS ? "picks" : "ename",
                static_cast<unsigned long>(name ? name[0] : 0), static_cast<unsigned long>(name ? name[1] : 0));
  return buf;
}

bool parseNameToken(std::string_view token, int& type, ads_name name) {
  if (token.size() < 3 || token.front() != '<' || token.back() != '>') return false;
  token = token.substr(1, token.size() - 2);
  size_t c1 = token.find(':');
  if (c1 == std::string_view::npos) return false;
  size_t c2 = token.find(':', c1 + 1);
  if (c2 == std::string_view::npos) return false;
  std::string_view kind = token.substr(0, c1);
  if (kind == "ename") type = RTENAME;
  else if (kind == "picks") type = RTPICKS;
  else return false;
  unsigned long v[2] = {0, 0};
  std::string_view parts[2] = {token.substr(c1 + 1, c2 - c1 - 1), token.substr(c2 + 1)};
  for (int i = 0; i < 2; ++i) {
    if (parts[i].empty()) return false;
    auto [end, ec] = std::from_chars(parts[i].data(), parts[i].data() + parts[i].size(), v[i], 16);
    if (ec != std::errc() || end != parts[i].data() + parts[i].size()) return false;
  }
  name[0] = static_cast<long>(v[0]);
  name[1] = static_cast<long>(v[1]);
  return true;
}

}  // namespace platform

int acedCommand(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  std::vector<std::string> tokens;
  bool bad = false;
  for (int t = rtype; t != 0 && t != RTNONE && !bad; t = va_arg(ap, int)) {
    switch (t) {
      case RTSTR: {
        const char* s = va_arg(ap, const char*);
        tokens.emplace_back(s ? s : "");
        break;
      }
      case RTREAL:
      case RTORINT: tokens.push_back(platform::numberText(va_arg(ap, double))); break;
      case RTANG: tokens.push_back(platform::numberText(va_arg(ap, double) * 180.0 / M_PI)); break;
      case RTSHORT: tokens.push_back(std::to_string(va_arg(ap, int))); break;
      case RTLONG: tokens.push_back(std::to_string(va_arg(ap, long))); break;
      case RTPOINT: tokens.push_back(platform::pointText(va_arg(ap, const double*), 2)); break;
      case RT3DPOINT: tokens.push_back(platform::pointText(va_arg(ap, const double*), 3)); break;
      case RTENAME:
      case RTPICKS: tokens.push_back(platform::nameToken(t, va_arg(ap, const long*))); break;
      default: bad = true;
    }
  }
  va_end(ap);
  if (bad) return RTERROR;
  return platform::runTokens(std::move(tokens));
}

int acedCmd(const resbuf* rb) {
  std::vector<std::string> tokens;
  for (; rb; rb = rb->rbnext) {
    switch (rb->restype) {
      case RTSTR: tokens.emplace_back(rb->resval.rstring ? rb->resval.rstring : ""); break;
      case RTREAL:
      case RTORINT: tokens.push_back(platform::numberText(rb->resval.rreal)); break;
      case RTANG: tokens.push_back(platform::numberText(rb->resval.rreal * 180.0 / M_PI)); break;
      case RTSHORT: tokens.push_back(std::to_string(rb->resval.rint)); break;
      case RTLONG: tokens.push_back(std::to_string(rb->resval.rlong)); break;
      case RTPOINT: tokens.push_back(platform::pointText(rb->resval.rpoint, 2)); break;
      case RT3DPOINT: tokens.push_back(platform::pointText(rb->resval.rpoint, 3)); break;
      case RTENAME:
      case RTPICKS: tokens.push_back(platform::nameToken(rb->restype, rb->resval.rlname)); break;
      case RTNONE: break;
      default: return RTERROR;
    }
  }
  return platform::runTokens(std::move(tokens));
}
