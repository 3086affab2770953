#pragma once
// Text metrics: how wide a text is and how tall a font's lines are. Every DC
// measures through the one TextMeasure in force, so DrawText, text extents and
// what the image back end draws agree.
//
// - Pango (the default): the font the LOGFONT names, with the Chinese font of
//   the system as fallback, at the LOGFONT's pixel height.
// - Fixed (tests, and cadhost when CADHOST_FIXED_TEXT_METRICS is set to a
//   non-empty value other than "0"): widths that are the same on every machine.
//   With H the character height (|lfHeight|, 12 when lfHeight is 0) and
//   n = max(1, H / 2): a character below U+0080 is n pixels wide, any other 2n;
//   tmHeight = H, tmAscent = H - H / 5, tmDescent = H / 5, no leading,
//   tmAveCharWidth = n, tmMaxCharWidth = 2n.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/wingdi.h"

namespace platform {

class PLATFORM_API TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // The width and height of one line of UTF-8 text.
  virtual SIZE extent(const LOGFONT& font, std::string_view text) = 0;
  virtual TEXTMETRIC metrics(const LOGFONT& font) = 0;
  // True when the glyphs are placed by the widths above (fixed metrics): the
  // image back end then draws each character at its own advance.
  virtual bool placesEachCharacter() const { return false; }
};

// The measure in force.
PLATFORM_API TextMeasure& textMeasure();
// Switches between the fixed and the pango metrics.
PLATFORM_API void useFixedTextMetrics(bool fixed);
PLATFORM_API bool fixedTextMetrics();

// The fixed metrics themselves, whatever is in force.
PLATFORM_API TextMeasure& fixedTextMeasure();

// Puts `measure` in force while it lives (tests: a measure that counts what
// is laid out). Scopes nest.
class PLATFORM_API TextMeasureScope {
 public:
  explicit TextMeasureScope(TextMeasure& measure);
  ~TextMeasureScope();
  TextMeasureScope(const TextMeasureScope&) = delete;
  TextMeasureScope& operator=(const TextMeasureScope&) = delete;

 private:
  TextMeasure* m_previous;
};

// The longest prefix of `text` (whole characters; its length in bytes) of
// which `fits` holds, where `fits` holds of every prefix of a prefix it holds
// of (a width that grows with the text). Prefixes are tried growing from a few
// characters, doubling, then halving the gap, so the cost follows the length
// of the prefix found, not the length of the text: what a text shows in a
// box is found without laying out what lies past the box.
PLATFORM_API size_t longestFittingPrefix(std::string_view text, const std::function<bool(std::string_view)>& fits);
// The prefix of `text` that covers `width` pixels in `font`: the longest that
// fits and the character that crosses the edge (the whole text when it fits).
PLATFORM_API std::string_view coveringPrefix(const LOGFONT& font, std::string_view text, int width);

// Turns the fixed metrics on while it lives (tests).
class PLATFORM_API FixedTextMetricsScope {
 public:
  FixedTextMetricsScope();
  ~FixedTextMetricsScope();
  FixedTextMetricsScope(const FixedTextMetricsScope&) = delete;
  FixedTextMetricsScope& operator=(const FixedTextMetricsScope&) = delete;

 private:
  bool m_previous;
};

// The advance of each character (code point) of `text` under the measure in
// force; a byte that is no valid UTF-8 counts as one character.
PLATFORM_API std::vector<int> characterAdvances(const LOGFONT& font, std::string_view text);
// How many characters of `text` the fonts of the system cannot show (pango's
// unknown glyphs), whatever the measure in force.
PLATFORM_API int unknownGlyphCount(const LOGFONT& font, std::string_view text);
// The family list pango is given for a LOGFONT: its face, then the Chinese
// fonts of the system, then sans-serif.
PLATFORM_API std::string pangoFamilies(const LOGFONT& font);

}  // namespace platform
