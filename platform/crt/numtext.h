#pragma once
// Doubles as text, fast: the same characters as printf's "%.<p>g" and
// "%.<p>f" in the "C" locale (std::to_chars with a precision is defined as
// printf's conversion), without printf's format parsing and locale look-ups.
// The drawing files (DXF, SVG) write millions of numbers through these.
//
// The buffer must hold the longest result: 32 characters for "%.17g" and
// below; for "%.<p>f", 311 + p (a double has at most 309 integer digits).

#include <charconv>
#include <cstddef>

namespace platform {

// As snprintf(first, .., "%.*g", precision, v); returns the end (no NUL).
inline char* formatGeneral(char* first, char* last, double v, int precision) {
  return std::to_chars(first, last, v, std::chars_format::general, precision).ptr;
}

// As snprintf(first, .., "%.*f", precision, v); returns the end (no NUL).
inline char* formatFixed(char* first, char* last, double v, int precision) {
  return std::to_chars(first, last, v, std::chars_format::fixed, precision).ptr;
}

}  // namespace platform
