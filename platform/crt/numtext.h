#pragma once
// Doubles as text, fast: the same characters as printf's "%.<p>g" and
// "%.<p>f" in the "C" locale (std::to_chars with a precision is defined as
// printf's conversion), without printf's format parsing and locale look-ups.
// The drawing files (DXF, SVG) write millions of numbers through these.
//
// The buffer must hold the longest result: 32 characters for "%.17g" and
// below; for "%.<p>f", 311 + p (a double has at most 309 integer digits).

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>

namespace platform {

// As snprintf(first, .., "%.*g", precision, v); returns the end (no NUL).
inline char* formatGeneral(char* first, char* last, double v, int precision) {
  return std::to_chars(first, last, v, std::chars_format::general, precision).ptr;
}

// As snprintf(first, .., "%.*f", precision, v); returns the end (no NUL).
inline char* formatFixed(char* first, char* last, double v, int precision) {
  return std::to_chars(first, last, v, std::chars_format::fixed, precision).ptr;
}

// As std::to_chars(first, last, v): the shortest text that reads back as v
// (fixed or exponent form, whichever is shorter). Most numbers of a drawing
// are a few decimals at most, and those are written here from an integer:
// for |v| >= 0.1 with d decimals, where d decimals are more than four times
// coarser than the spacing of doubles at v, the integer m = v * 10^d that
// gives v back on division is the only d-decimal number reading back as v,
// and no number with fewer digits is that close; its fixed form is also
// shorter than the exponent form. Anything else goes to std::to_chars.
// The buffer must hold 32 characters.
inline char* formatShortest(char* first, char* last, double v) {
  static constexpr double kPow10[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double a = v < 0 ? -v : v;
  if (a >= 0.1 && a < 1e15) {
    // The spacing of doubles at a: 2^(exponent - 52).
    const uint64_t biased = std::bit_cast<uint64_t>(a) >> 52;
    const double ulp = std::bit_cast<double>((biased - 52) << 52);
    for (int d = 0; d < 10 && ulp * kPow10[d] < 0.25; ++d) {
      const double m = a * kPow10[d];
      if (!(m < 9007199254740992.0)) break;
      const uint64_t u = static_cast<uint64_t>(m);
      if (static_cast<double>(u) != m || m / kPow10[d] != a) continue;
      uint64_t digits = u;
      int decimals = d;
      while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
      }
      int n = 1;  // digits of the integer
      for (uint64_t rest = digits / 10; rest; rest /= 10) ++n;
      if (decimals == 0) {
        // An integer: the exponent form (1e+05) is shorter for many zeros.
        int zeros = 0;
        for (uint64_t rest = digits; rest % 10 == 0 && zeros + 1 < n; rest /= 10) ++zeros;
        const int significant = n - zeros;
        const int exponentForm = significant + (significant > 1 ? 1 : 0) + 2 + (n - 1 >= 100 ? 3 : 2);
        if (n >= exponentForm) break;
      }
      // Written from the last digit back: n digits, a point before the last
      // `decimals` of them, "0." first when all are decimals (|v| < 1).
      char* out = first;
      if (v < 0) *out++ = '-';
      if (n == decimals) {
        *out++ = '0';
        *out++ = '.';
        decimals = 0;  // the digits follow the point as they stand
      }
      char* end = out + n + (decimals > 0 ? 1 : 0);
      char* q = end;
      for (int k = 0; k < n; ++k) {
        if (decimals > 0 && k == decimals) *--q = '.';
        *--q = static_cast<char>('0' + digits % 10);
        digits /= 10;
      }
      return end;
    }
  }
  return std::to_chars(first, last, v).ptr;
}

}  // namespace platform
