#pragma once
// Values of scheme-table rows as the table readers take them: numbers read as
// text and turned into integers, and the flood-level text cut to two decimals.
// A value read from a table may be anything, so every conversion is held
// within the range of its result.

#include <cmath>
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

// A flood-level text kept to two decimals: with a point at position p > 0,
// only its first p + 3 characters remain (a shorter text stays whole, and so
// does one whose point is its first character).
inline CString CutToTwoDecimals(const CString& text) {
  const int point = text.Find('.');
  if (point > 0 && text.GetLength() > point + 3) return text.Left(point + 3);
  return text;
}
