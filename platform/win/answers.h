#pragma once
// The answer queue: every modal question (a message box, a file dialog, a
// dialog) takes its answer from here. Scripts queue answers as lines that begin
// with '@'; tests queue them through the same functions.
//
//   @msg IDYES                  the next message box that has that button
//   @file "D:\proj\data\A.dmx"  the next file dialog (quotes optional)
//   @file cancel                the next file dialog is cancelled
//   @menu <id or a/b/c>         the next popup menu: the item of that command,
//                               or the item a path of item texts names
//   @menu cancel                the next popup menu is dismissed
//   @<id> <word>...             the next modal dialog made from template <id>:
//                               its words, played as user input (win/userinput.h)
//   @<kind> <text>              any other kind
//
// Any other form ("@mgs IDNO", "@foo") is refused.
//
// A question takes the earliest queued answer of its kind that fits it; with
// none, it takes its default and the transcript says so. In a script run an
// answer that no question takes fails the run, naming the line it came from.
// The answers taken are kept, each with the question that took it (until the
// queue is cleared), so that such a failure can say where the answers before
// it went: a message box that took an answer meant for another one.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform_api.h"

namespace platform {

struct Answer {
  std::string kind;   // "msg", "file", "menu", or a dialog's template id
  std::string text;   // the rest of the line, blanks trimmed
  std::string where;  // "<source>:<line>" of a script's answer line, else empty
  int group = 0;      // the answers written under one script line share a group (0: none)
};

// An answer as a question took it.
struct TakenAnswer {
  Answer answer;
  std::string takenBy;  // the question: "message box [提示] ...", "dialog 205 [计算填挖表]", ...
};

// A new group for the answers written under one script line.
PLATFORM_API int newAnswerGroup();

// Parses one '@' line and queues it. Returns false, with the reason in `error`,
// for a line that is not an answer ("@" alone, an unknown button name, a
// malformed file answer).
PLATFORM_API bool queueAnswerLine(std::string_view line, std::string* error = nullptr, std::string where = {},
                                  int group = 0);
PLATFORM_API void queueAnswer(std::string kind, std::string text, std::string where = {}, int group = 0);
// Takes the earliest answer of `kind` for which `fits` is true (all of that
// kind when `fits` is empty); `takenBy` names the question that takes it.
PLATFORM_API std::optional<std::string> takeAnswer(std::string_view kind,
                                                   const std::function<bool(std::string_view)>& fits = {},
                                                   std::string_view takenBy = {});
PLATFORM_API std::optional<Answer> takeAnswerEntry(std::string_view kind, std::string_view takenBy = {});
// The answers taken since the queue was last cleared, in the order taken.
PLATFORM_API std::vector<TakenAnswer> takenAnswers();
// An answer as it was written ("@msg IDNO", "@file \"D:\\a.dmx\"").
PLATFORM_API std::string answerLineText(const Answer& answer);
PLATFORM_API size_t pendingAnswers();
// The answers still queued, as lines ("@msg IDNO"), earliest first.
PLATFORM_API std::vector<std::string> pendingAnswerLines();
// The answers still queued, oldest first.
PLATFORM_API std::vector<Answer> queuedAnswers();
PLATFORM_API void clearAnswers();

// A file dialog's answer: nothing queued, a path, or cancelled.
struct FileAnswer {
  bool answered = false;
  bool cancelled = false;
  std::string path;
};
PLATFORM_API FileAnswer takeFileAnswer(std::string_view takenBy = {});

// A file dialog as a user answers it: takes the next "@file" answer; with none,
// `defaultPath` when there is one, else it is cancelled. A name without an
// extension gets "." + `ext` (when given). The transcript shows
// "[caption] <path>" ("[by default]" after it when nothing was queued) or
// "[caption] [cancel]" ("[cancel by default]"). The path chosen, or nothing
// when cancelled.
PLATFORM_API std::optional<std::string> answerFileDialog(std::string_view caption, std::string_view defaultPath,
                                                         std::string_view ext);

// Button ids by name ("IDOK" -> 1); 0 for an unknown name.
PLATFORM_API int buttonIdFromName(std::string_view name);
PLATFORM_API const char* buttonName(int id);

}  // namespace platform
