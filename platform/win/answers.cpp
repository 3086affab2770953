#include "win/answers.h"

#include <deque>
#include <mutex>

#include "win/msgbox.h"
#include "win/transcript.h"

namespace platform {
namespace {

struct Queue {
  std::mutex mutex;
  std::deque<Answer> answers;
  std::vector<TakenAnswer> taken;
  int groups = 0;
};

Queue& queue() {
  static Queue q;
  return q;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

struct ButtonName {
  const char* name;
  int id;
};
constexpr ButtonName kButtons[] = {{"IDOK", IDOK},       {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT},
                                   {"IDRETRY", IDRETRY}, {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},
                                   {"IDNO", IDNO}};

// What an answer line may answer: a message box, a file dialog, or a dialog
// by its resource id (a number).
bool isAnswerKind(std::string_view kind) {
  if (kind == "msg" || kind == "file" || kind == "menu") return true;
  return !kind.empty() && kind.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

int buttonIdFromName(std::string_view name) {
  for (const ButtonName& b : kButtons)
    if (name == b.name) return b.id;
  return 0;
}

const char* buttonName(int id) {
  for (const ButtonName& b : kButtons)
    if (id == b.id) return b.name;
  return "?";
}

int newAnswerGroup() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return ++q.groups;
}

bool queueAnswerLine(std::string_view line, std::string* error, std::string where, int group) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  line = trim(line);
  if (line.empty() || line.front() != '@') return fail("an answer line begins with '@'");
  line.remove_prefix(1);
  size_t blank = line.find_first_of(" \t");
  std::string_view kind = line.substr(0, blank);
  std::string_view rest = blank == std::string_view::npos ? std::string_view() : trim(line.substr(blank));
  if (kind.empty()) return fail("an answer line names what it answers after '@'");
  if (!isAnswerKind(kind))
    return fail("unknown answer '@" + std::string(kind) + "': an answer line is @msg, @file, @menu or @<dialog id>");
  if (kind == "msg") {
    if (buttonIdFromName(rest) == 0)
      return fail("'@msg' takes a button: IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY or IDIGNORE");
  } else if (kind == "menu") {
    if (rest.empty()) return fail("'@menu' takes a command id, a path of item texts (编辑/删除行) or the word cancel");
  } else if (kind == "file") {
    if (rest.empty()) return fail("'@file' takes a quoted path or the word cancel");
    if (rest.front() == '"') {
      if (rest.size() < 2 || rest.back() != '"') return fail("'@file' path has no closing quote");
      rest = rest.substr(1, rest.size() - 2);
      if (rest.empty()) return fail("'@file' takes a quoted path or the word cancel");
      queueAnswer("file", "path:" + std::string(rest), std::move(where), group);
      return true;
    }
    if (rest == "cancel") {
      queueAnswer("file", "cancel", std::move(where), group);
      return true;
    }
    queueAnswer("file", "path:" + std::string(rest), std::move(where), group);
    return true;
  }
  queueAnswer(std::string(kind), std::string(rest), std::move(where), group);
  return true;
}

void queueAnswer(std::string kind, std::string text, std::string where, int group) {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.answers.push_back(Answer{std::move(kind), std::move(text), std::move(where), group});
}

std::optional<Answer> takeAnswerEntry(std::string_view kind, std::string_view takenBy) {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  for (auto it = q.answers.begin(); it != q.answers.end(); ++it) {
    if (it->kind != kind) continue;
    Answer a = std::move(*it);
    q.answers.erase(it);
    q.taken.push_back(TakenAnswer{a, std::string(takenBy)});
    return a;
  }
  return std::nullopt;
}

std::vector<TakenAnswer> takenAnswers() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return q.taken;
}

std::string answerLineText(const Answer& a) {
  // A file answer shows as written: its path in quotes.
  std::string text = a.kind == "file" && a.text.rfind("path:", 0) == 0 ? "\"" + a.text.substr(5) + "\"" : a.text;
  return "@" + a.kind + (text.empty() ? "" : " " + text);
}

std::vector<Answer> queuedAnswers() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return std::vector<Answer>(q.answers.begin(), q.answers.end());
}

std::optional<std::string> takeAnswer(std::string_view kind, const std::function<bool(std::string_view)>& fits,
                                      std::string_view takenBy) {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  for (auto it = q.answers.begin(); it != q.answers.end(); ++it) {
    if (it->kind != kind) continue;
    if (fits && !fits(it->text)) continue;
    q.taken.push_back(TakenAnswer{*it, std::string(takenBy)});
    std::string text = std::move(it->text);
    q.answers.erase(it);
    return text;
  }
  return std::nullopt;
}

std::vector<std::string> pendingAnswerLines() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  std::vector<std::string> lines;
  for (const Answer& a : q.answers) lines.push_back(answerLineText(a));
  return lines;
}

size_t pendingAnswers() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return q.answers.size();
}

void clearAnswers() {
  Queue& q = queue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.answers.clear();
  q.taken.clear();
}

FileAnswer takeFileAnswer(std::string_view takenBy) {
  FileAnswer a;
  std::optional<std::string> t = takeAnswer("file", {}, takenBy);
  if (!t) return a;
  a.answered = true;
  // Answer lines queue "cancel" or "path:<path>"; an answer queued directly
  // may be a bare path.
  constexpr std::string_view kPath = "path:";
  if (*t == "cancel") {
    a.cancelled = true;
  } else if (std::string_view(*t).substr(0, kPath.size()) == kPath) {
    a.path = t->substr(kPath.size());
  } else {
    a.path = *t;
  }
  return a;
}

std::optional<std::string> answerFileDialog(std::string_view caption, std::string_view defaultPath,
                                            std::string_view ext) {
  FileAnswer a = takeFileAnswer("file dialog [" + std::string(caption) + "]");
  bool byDefault = !a.answered;
  if (byDefault) {
    if (!defaultPath.empty()) a.path = std::string(defaultPath);
    else a.cancelled = true;
  }
  std::string shown = "[" + std::string(caption) + "] ";
  if (a.cancelled) {
    transcriptLine(shown + (byDefault ? "[cancel by default]" : "[cancel]"));
    return std::nullopt;
  }
  std::string path = a.path;
  if (!ext.empty()) {
    size_t cut = path.find_last_of("/\\");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (name.find('.') == std::string::npos) path.append(".").append(ext);
  }
  transcriptLine(shown + path + (byDefault ? " [by default]" : ""));
  return path;
}

}  // namespace platform
