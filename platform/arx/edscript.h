#pragma once
// The script reader: turns script text (script files, --run lines, strings
// sent to the command line) into the tokens the command line consumes.
//
// The grammar, as the host's scripts are read:
// - Text is read line by line (a CR before a LF is dropped).
// - A line whose first non-blank character is '@' is an answer line: it is
//   queued on the answer queue (platform::queueAnswerLine, with the line's
//   place) as soon as the reader comes to the start of that line, before the
//   token that ended the line before it is handed out (also when that line is
//   in the next source), so answers written under a command are there when the
//   command asks. It gives no token.
// - A line whose first non-blank character is '>' is one Window token: the
//   rest of the line, blanks trimmed (an action on an open window).
// - Every other line is cut into tokens: every blank (space or tab) and the
//   line end close the token before them. So one blank separates two tokens,
//   and two blanks in a row, a blank at the end of a line and an empty line
//   each give an empty token, which is Enter.
// - A token that is exactly ";" is Enter too.
// - A token that begins with '"' runs to the next '"' on the same line, blanks
//   included, without escapes; the quotes are not part of it ("" is Enter).
// - A token that begins with '(' is a LISP form: it runs to the matching ')',
//   over blanks and lines, with strings in it written "..." with the escapes
//   \\ \" \n \r \t \e and \ooo (octal). Its items are strings, numbers and
//   symbols; nested lists are not accepted.
// - A token ends at a blank or line end, which is used up with it; after a
//   quoted string or a form a following blank or line end is used up the same
//   way.
//
// Sources are read one after the other; a source pushed to the front (a script
// run by SCRIPT, a string sent to the command line, the arguments of a
// (command ...) form or of acedCommand) is read before the rest.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform_api.h"

namespace platform {

struct LispAtom {
  enum Kind { String, Integer, Real, Symbol } kind = Symbol;
  std::string text;  // the string's value, or the number or symbol as written
  long long integer = 0;
  double real = 0.0;
};

struct ScriptToken {
  enum Kind { End, Word, Enter, Form, Window, Error } kind = End;
  std::string text;             // Word: the token; Form: the form as written; Window: the line after '>';
                                // Error: the reason
  bool quoted = false;          // Word: written in quotes
  std::vector<LispAtom> items;  // Form: its items (the first is the function)
  std::string where;            // "<source>:<line>" where the token began
};

class PLATFORM_API ScriptReader {
 public:
  // Adds a source behind the ones already there; its first line is numbered
  // `firstLine` (a line typed at a terminal: its number in the session).
  int append(std::string name, std::string text, int firstLine = 1);
  // Adds a source in front of all others. Returns its id. A transient source
  // (a string sent to the command line) is not part of the script: answers
  // written in the script serve the questions it raises too.
  int pushFront(std::string name, std::string text, bool transient = false);
  // Adds ready-made tokens in front ("" is Enter; no other token is special).
  int pushTokens(std::string name, std::vector<std::string> tokens);

  // The next token. With `boundary` (a source id), reading stops with End when
  // that source is used up or gone instead of going on to the sources behind it.
  ScriptToken next(int boundary = 0);
  bool contains(int id) const;
  // True when the next token comes from the script itself (not from a
  // transient source or ready-made tokens).
  bool nextIsFromScript() const;
  // Drops the source `id` with every source in front of it (what is left of
  // a command's answers when it ended early).
  void dropThrough(int id);
  bool empty() const { return m_sources.empty(); }
  void clear() {
    m_sources.clear();
    m_tokenRead = false;
  }

 private:
  struct Source {
    int id = 0;
    std::string name;
    bool isTokens = false;
    bool transient = false;
    std::string text;
    size_t pos = 0;
    int line = 1;
    bool atLineStart = true;
    std::vector<std::string> tokens;
    size_t index = 0;
  };
  static bool exhausted(const Source& s);
  // Queues the answer lines at the current line start; false on a bad one.
  // An answer line before the first command (no line above it to answer) is
  // refused when `tokenRead` is false.
  static bool takeAnswerLines(Source& s, ScriptToken& error, bool tokenRead);
  // The same for the line after a token and, when its source ends there, for
  // the first lines of the sources behind it (they are one script).
  bool takeAnswerLinesAhead(ScriptToken& error);
  static ScriptToken readToken(Source& s);
  static ScriptToken readForm(Source& s, const std::string& where);
  static bool readWindowLine(Source& s, ScriptToken& t);
  static void endToken(Source& s);
  std::deque<Source> m_sources;
  int m_nextId = 1;
  bool m_tokenRead = false;  // a command, form or window line has been read
};

// Parses a LISP form "(name item ...)": false with the reason in `error`.
PLATFORM_API bool parseLispForm(std::string_view form, std::vector<LispAtom>& items, std::string& error);

}  // namespace platform
