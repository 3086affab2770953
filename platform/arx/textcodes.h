#pragma once
// The control codes of drawing texts, as a drawing shows them: %%d a degree
// sign (°), %%c a diameter sign (⌀), %%p a plus-minus sign (±), %%% a percent
// sign, %%u and %%o turn underlining and overlining on and off (each code
// turns its own on where it is off and off where it is on). The letters may
// be of either case. A "%%" followed by anything else, or by nothing, stays
// as it is written.

#include <string>
#include <string_view>
#include <vector>

#include "platform_api.h"

namespace platform {

// A stretch of a shown text with one decoration.
struct TextRun {
  std::string text;  // UTF-8, codes replaced
  bool underline = false;
  bool overline = false;
};

// The runs of `text` as shown, in order; runs without characters are left
// out, so a text of codes only gives no run.
PLATFORM_API std::vector<TextRun> shownTextRuns(std::string_view text);
// The characters of `text` as shown, without the decorations.
PLATFORM_API std::string shownText(std::string_view text);

}  // namespace platform
