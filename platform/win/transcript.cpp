#include "win/transcript.h"

#include "win/terminal.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>

namespace platform {
namespace {

struct TranscriptState {
  std::mutex mutex;
  TranscriptSink sink;
  bool atLineStart = true;
  // Progress meter.
  std::string label;
  int minPos = 0;
  int maxPos = 100;
  int lastTenth = -1;
  bool meterOn = false;
  // The last lines shown, for the command line's window: whole lines and the
  // one still open.
  std::deque<std::string> lines;
  std::string openLine;
};

constexpr size_t kKeptLines = 64;
constexpr size_t kKeptLineBytes = 4096;

void keep(TranscriptState& s, std::string_view text) {
  for (char c : text) {
    if (c == '\n') {
      s.lines.push_back(std::move(s.openLine));
      s.openLine.clear();
      if (s.lines.size() > kKeptLines) s.lines.pop_front();
    } else if (c != '\r' && s.openLine.size() < kKeptLineBytes) {
      s.openLine += c;
    }
  }
}

TranscriptState& state() {
  static TranscriptState s;
  return s;
}

void emit(TranscriptState& s, std::string_view text) {
  if (text.empty()) return;
  keep(s, text);
  if (s.sink) {
    s.sink(text);
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  s.atLineStart = text.back() == '\n';
}

void emitLine(TranscriptState& s, std::string_view line) {
  std::string out;
  if (!s.atLineStart) out += '\n';
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\r') continue;
    out += c;
    if (c == '\n' && i + 1 < line.size()) out += "  ";
  }
  if (out.empty() || out.back() != '\n') out += '\n';
  emit(s, out);
}

}  // namespace

void transcriptWrite(std::string_view text) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  emit(s, text);
}

void transcriptLine(std::string_view line) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  emitLine(s, line);
}

void transcriptTyped(std::string_view line, bool shownByTerminal) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (shownByTerminal && !s.sink) {
    keep(s, std::string(line) + "\n");
    s.atLineStart = true;
    return;
  }
  emit(s, std::string(line) + "\n");
}

std::vector<std::string> transcriptLastLines(size_t count) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  std::vector<std::string> out;
  const bool open = !s.openLine.empty();
  const size_t whole = std::min(s.lines.size(), count - (open && count > 0 ? 1 : 0));
  out.assign(s.lines.end() - static_cast<std::ptrdiff_t>(whole), s.lines.end());
  if (open && count > 0) out.push_back(s.openLine);
  return out;
}

TranscriptSink setTranscriptSink(TranscriptSink sink) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  TranscriptSink old = std::move(s.sink);
  s.sink = std::move(sink);
  s.atLineStart = true;
  return old;
}

TranscriptCapture::TranscriptCapture() {
  m_previous = setTranscriptSink([this](std::string_view t) { m_text.append(t); });
}

TranscriptCapture::~TranscriptCapture() { setTranscriptSink(std::move(m_previous)); }

void progressBegin(std::string_view label, int minPos, int maxPos) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.label = label;
  s.minPos = minPos;
  s.maxPos = maxPos > minPos ? maxPos : minPos + 1;
  s.lastTenth = -1;
  s.meterOn = true;
}

void progressSet(int pos) {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (!s.meterOn) return;
  if (pos < s.minPos) pos = s.minPos;
  if (pos > s.maxPos) pos = s.maxPos;
  long long percent = (static_cast<long long>(pos) - s.minPos) * 100 / (s.maxPos - s.minPos);
  int tenth = static_cast<int>(percent / 10);
  if (tenth <= s.lastTenth) return;
  s.lastTenth = tenth;
  std::string line = "[进度] ";
  if (!s.label.empty()) line += s.label + " ";
  line += std::to_string(tenth * 10) + "%";
  emitLine(s, line);
}

void progressEnd() {
  TranscriptState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.meterOn = false;
  s.label.clear();
  s.lastTenth = -1;
}

}  // namespace platform
