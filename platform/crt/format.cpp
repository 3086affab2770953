#include "crt/format.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>
#include <sys/types.h>

namespace platform {
namespace {

// Widths and precisions beyond these are left to the C library.
constexpr int kMaxWidth = 4096;
constexpr int kMaxPrecision = 100;

struct Spec {
  bool left = false;   // '-'
  bool plus = false;   // '+'
  bool space = false;  // ' '
  bool zero = false;   // '0'
  int width = 0;
  int precision = -1;  // -1: none given
};

// Reads digits at `p` into `value` (false when they pass `limit`).
bool readNumber(const char*& p, int limit, int& value) {
  value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p - '0');
    if (value > limit) return false;
    ++p;
  }
  return true;
}

// `sign` and `body` padded to the width as printf pads them; zeros go after
// the sign when `zeroFill`.
void appendPadded(std::string& out, std::string_view sign, std::string_view body, const Spec& spec, bool zeroFill) {
  size_t length = sign.size() + body.size();
  size_t fill = static_cast<size_t>(spec.width) > length ? static_cast<size_t>(spec.width) - length : 0;
  if (spec.left) {
    out.append(sign);
    out.append(body);
    out.append(fill, ' ');
  } else if (zeroFill) {
    out.append(sign);
    out.append(fill, '0');
    out.append(body);
  } else {
    out.append(fill, ' ');
    out.append(sign);
    out.append(body);
  }
}

std::string_view signOf(bool negative, const Spec& spec) {
  if (negative) return "-";
  if (spec.plus) return "+";
  if (spec.space) return " ";
  return "";
}

void appendInteger(std::string& out, unsigned long long magnitude, bool negative, bool isSigned, const Spec& spec) {
  char digits[24];
  auto r = std::to_chars(digits, digits + sizeof digits, magnitude);
  std::string_view sign = isSigned ? signOf(negative, spec) : std::string_view();
  appendPadded(out, sign, std::string_view(digits, static_cast<size_t>(r.ptr - digits)), spec,
               spec.zero && !spec.left);
}

// The digits of |value| with `decimals` decimals, when they follow from the
// double product |value| * 10^decimals: that product is within half a unit
// in its last place of the exact one, so unless it lies that close to a
// half it rounds to the same integer. False otherwise (and for products
// too large for the test), leaving the value to the exact conversion.
bool quickFixedDigits(double value, int decimals, char* text, size_t& length) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  static constexpr double kLimit = 4503599627370496.0;  // 2^52: a unit in the last place stays below 1
  static constexpr double kUlp = 2.3e-16;                // above 2^-52, the last place relative to the value
  if (decimals >= static_cast<int>(std::size(kPowers))) return false;
  const double scaled = std::fabs(value) * kPowers[decimals];
  if (!(scaled < kLimit)) return false;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;  // exact
  if (std::fabs(fraction - 0.5) <= scaled * kUlp) return false;
  const auto units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
  char digits[24];
  auto r = std::to_chars(digits, digits + sizeof digits, units);
  size_t count = static_cast<size_t>(r.ptr - digits);
  const size_t places = static_cast<size_t>(decimals);
  // At least one digit before the point.
  size_t zeros = count <= places ? places + 1 - count : 0;
  length = 0;
  for (size_t i = 0; i < zeros + count; ++i) {
    if (places > 0 && i == zeros + count - places) text[length++] = '.';
    text[length++] = i < zeros ? '0' : digits[i - zeros];
  }
  return true;
}

// False when the value is left to the C library.
bool appendFixed(std::string& out, double value, const Spec& spec) {
  if (!std::isfinite(value)) return false;
  const int decimals = spec.precision < 0 ? 6 : spec.precision;
  const bool negative = std::signbit(value);  // also -0.0, as printf writes it
  // The longest text: 309 integer digits, the point and the decimals.
  char text[320 + kMaxPrecision];
  size_t length;
  if (!quickFixedDigits(value, decimals, text, length)) {
    auto r = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return false;
    length = static_cast<size_t>(r.ptr - text);
  }
  if (spec.width == 0 && !spec.plus && !spec.space) {
    // No padding and at most a minus: the text goes on in one piece.
    if (negative) out += '-';
    out.append(text, length);
    return true;
  }
  appendPadded(out, signOf(negative, spec), std::string_view(text, length), spec, spec.zero && !spec.left);
  return true;
}

enum class Length { None, Long, LongLong, Size, Max, Diff };

// Formats `format` into `out`; false at the first thing left to the C
// library (out then holds part of the text).
bool appendQuick(std::string& out, const char* format, va_list args) {
  const char* p = format;
  while (*p) {
    const char* percent = std::strchr(p, '%');
    if (!percent) {
      out.append(p);
      break;
    }
    out.append(p, static_cast<size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out += '%';
      ++p;
      continue;
    }
    Spec spec;
    for (bool flag = true; flag;) {
      switch (*p) {
        case '-': spec.left = true; break;
        case '+': spec.plus = true; break;
        case ' ': spec.space = true; break;
        case '0': spec.zero = true; break;
        default: flag = false; continue;
      }
      ++p;
    }
    if (!readNumber(p, kMaxWidth, spec.width)) return false;
    if (*p == '.') {
      ++p;
      if (!readNumber(p, kMaxPrecision, spec.precision)) return false;
    }
    Length length = Length::None;
    switch (*p) {
      case 'l':
        ++p;
        length = Length::Long;
        if (*p == 'l') {
          ++p;
          length = Length::LongLong;
        }
        break;
      case 'z': ++p; length = Length::Size; break;
      case 'j': ++p; length = Length::Max; break;
      case 't': ++p; length = Length::Diff; break;
      default: break;
    }
    const char conversion = *p++;
    switch (conversion) {
      case 'd':
      case 'i': {
        if (spec.precision >= 0) return false;
        long long v;
        switch (length) {
          case Length::None: v = va_arg(args, int); break;
          case Length::Long: v = va_arg(args, long); break;
          case Length::LongLong: v = va_arg(args, long long); break;
          case Length::Size: v = va_arg(args, ssize_t); break;
          case Length::Max: v = va_arg(args, intmax_t); break;
          case Length::Diff: v = va_arg(args, ptrdiff_t); break;
        }
        unsigned long long magnitude = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        appendInteger(out, magnitude, v < 0, true, spec);
        break;
      }
      case 'u': {
        if (spec.precision >= 0) return false;
        unsigned long long v;
        switch (length) {
          case Length::None: v = va_arg(args, unsigned); break;
          case Length::Long: v = va_arg(args, unsigned long); break;
          case Length::LongLong: v = va_arg(args, unsigned long long); break;
          case Length::Size: v = va_arg(args, size_t); break;
          case Length::Max: v = va_arg(args, uintmax_t); break;
          case Length::Diff: v = static_cast<unsigned long long>(va_arg(args, ptrdiff_t)); break;
        }
        appendInteger(out, v, false, false, spec);
        break;
      }
      case 'f':
      case 'F':
        if (length != Length::None && length != Length::Long) return false;
        if (!appendFixed(out, va_arg(args, double), spec)) return false;
        break;
      case 's': {
        if (length != Length::None || spec.zero) return false;
        const char* s = va_arg(args, const char*);
        if (!s) return false;
        size_t n = spec.precision >= 0 ? strnlen(s, static_cast<size_t>(spec.precision)) : std::strlen(s);
        appendPadded(out, "", std::string_view(s, n), spec, false);
        break;
      }
      case 'c': {
        if (length != Length::None || spec.zero || spec.precision >= 0) return false;
        char c = static_cast<char>(static_cast<unsigned char>(va_arg(args, int)));
        appendPadded(out, "", std::string_view(&c, 1), spec, false);
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

int appendFormatV(std::string& out, const char* format, va_list args) {
  if (!format) return -1;
  const size_t start = out.size();
  va_list copy;
  va_copy(copy, args);
  bool done = appendQuick(out, format, args);
  int result;
  if (done) {
    result = static_cast<int>(out.size() - start);
  } else {
    out.resize(start);
    char small[256];
    va_list again;
    va_copy(again, copy);
    int n = std::vsnprintf(small, sizeof small, format, again);
    va_end(again);
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
      out.append(small, static_cast<size_t>(n));
    } else if (n >= 0) {
      out.resize(start + static_cast<size_t>(n) + 1);
      std::vsnprintf(out.data() + start, static_cast<size_t>(n) + 1, format, copy);
      out.resize(start + static_cast<size_t>(n));
    }
    result = n;
  }
  va_end(copy);
  return result;
}

void appendFixedNumber(std::string& out, double value, int decimals) {
  Spec spec;
  spec.precision = decimals < 0 ? 0 : decimals > kMaxPrecision ? kMaxPrecision : decimals;
  if (!appendFixed(out, value, spec)) appendFormat(out, "%.*f", spec.precision, value);
}

void appendIntegerNumber(std::string& out, long long value) {
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  appendInteger(out, magnitude, value < 0, true, Spec());
}

int appendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = appendFormatV(out, format, args);
  va_end(args);
  return n;
}

int printToFile(FILE* file, const char* format, ...) {
  thread_local std::string text;
  text.clear();
  va_list args;
  va_start(args, format);
  int n = appendFormatV(text, format, args);
  va_end(args);
  if (n < 0) return n;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) return -1;
  return n;
}

}  // namespace platform
