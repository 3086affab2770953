#pragma once
// Messages that a run may give once per station: the first few are shown on
// the command line, the rest only counted, and the count is shown when the
// run ends, so that a fault met at every station names a few of them and
// never floods the transcript.

#include "arx/edoutput.h"
#include "mfc/cstring.h"

class RepeatedMessages {
 public:
  static constexpr int kShown = 5;

  // `summary` is shown at the end when more than kShown were given: a
  // printf text with one %d, the number of messages in all.
  explicit RepeatedMessages(const char* summary) : m_summary(summary) {}
  RepeatedMessages(const RepeatedMessages&) = delete;
  RepeatedMessages& operator=(const RepeatedMessages&) = delete;
  ~RepeatedMessages() { Finish(); }

  // Shows `text` (a line of its own) while fewer than kShown have been shown.
  void Add(const CString& text) {
    if (m_count++ < kShown) acutPrintf("\n%s", text.GetString());
  }
  int Count() const { return m_count; }
  // Shows the count of a run that gave more than were shown (once).
  void Finish() {
    if (m_count > kShown) {
      CString text;
      text.Format(m_summary, m_count);
      acutPrintf("\n%s(只显示了前%d条)", text.GetString(), kShown);
    }
    m_count = 0;
  }

 private:
  const char* m_summary;
  int m_count = 0;
};
