#pragma once
// Values of scheme-table rows as the table readers take them: numbers read as
// text (strictly) and turned into integers, and texts cut to a number of decimals.
// A value read from a table may be anything, so every conversion is held
// within the range of its result.

#include <cmath>
#include <cstdlib>
#include <limits>

#include "mfc/cstring.h"

// A real truncated toward zero, held within the int range; NaN gives 0.
inline int TruncatedInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// A count or number column read as a real: 0.001 is added before the
// truncation, so 2.9999999 gives 3 and 2.998 gives 2.
inline int RoundedInt(double value) { return TruncatedInt(value + 0.001); }

// True when the whole text (blanks around it allowed) reads as a finite
// number, which goes to `value`; an empty text, or one with anything after
// its number ("12abc"), does not.
inline bool ReadsAsNumber(const char* text, double& value) {
  value = 0.0;
  if (text == nullptr) return false;
  char* end = nullptr;
  const double read = std::strtod(text, &end);
  if (end == text) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !std::isfinite(read)) return false;
  value = read;
  return true;
}

// A text kept to `digits` decimals: with a point at position p > 0, only the
// first `digits` characters after it remain (a shorter text stays whole, and
// so does one whose point is its first character). Characters, not bytes: a
// cut never splits a character.
inline CString CutDecimals(const CString& text, int digits) {
  const int point = text.Find('.');
  if (point < 1) return text;
  const char* s = text.GetString();
  int at = point + 1;
  for (int kept = 0; kept < digits && s[at] != '\0'; ++kept) {
    ++at;
    while ((static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
  }
  return text.Left(at);
}

// A flood-level text kept to two decimals.
inline CString CutToTwoDecimals(const CString& text) { return CutDecimals(text, 2); }
