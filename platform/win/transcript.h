#pragma once
// The transcript: everything the system shows a user (command-line output,
// message boxes, alerts, the progress meter) becomes UTF-8 text on it, so a
// run reads as one log. It goes to stdout unless a sink is installed (tests
// install one to read what was shown).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform_api.h"

namespace platform {

using TranscriptSink = std::function<void(std::string_view)>;

// Writes text as it is (the command line's printf output: a line can be built
// in several writes).
PLATFORM_API void transcriptWrite(std::string_view text);
// Writes one whole line: starts a new line first when the last write left one
// open, and ends it. Carriage returns are dropped and continuation lines are
// indented by two blanks.
PLATFORM_API void transcriptLine(std::string_view line);
// The last `count` lines of the transcript, oldest first (at most 64 are
// kept): a line still open (a prompt waiting for its answer) is the last.
// Carriage returns are left out. The command line's window shows these.
PLATFORM_API std::vector<std::string> transcriptLastLines(size_t count);
// Installs a sink (nullptr restores stdout); returns the previous one.
PLATFORM_API TranscriptSink setTranscriptSink(TranscriptSink sink);

// Collects the transcript while it lives (for tests).
class PLATFORM_API TranscriptCapture {
 public:
  TranscriptCapture();
  ~TranscriptCapture();
  TranscriptCapture(const TranscriptCapture&) = delete;
  TranscriptCapture& operator=(const TranscriptCapture&) = delete;
  const std::string& text() const { return m_text; }
  bool contains(std::string_view what) const { return m_text.find(what) != std::string::npos; }
  void clear() { m_text.clear(); }

 private:
  std::string m_text;
  TranscriptSink m_previous;
};

// The status-bar progress meter, shown on the transcript as lines
// "[进度] <label> <n>%" at every tenth of the range and at its end.
PLATFORM_API void progressBegin(std::string_view label, int minPos, int maxPos);
PLATFORM_API void progressSet(int pos);
PLATFORM_API void progressEnd();

}  // namespace platform
