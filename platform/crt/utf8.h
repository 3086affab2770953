#pragma once
// One character at a time of UTF-8 text: decoding with full validation and
// encoding that never writes an invalid sequence.

#include <string>
#include <string_view>

namespace platform {

// Decodes one UTF-8 sequence at `s[i]`; returns the code point and advances i,
// or returns -1 (and advances by one byte) for a byte that starts no valid
// sequence (overlong forms, surrogates and values past U+10FFFF included).
inline long decodeUtf8(std::string_view s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    ++i;
    return c;
  }
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0 || c > 0xF4 || i + static_cast<size_t>(extra) >= s.size()) {
    ++i;
    return -1;
  }
  long cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  static constexpr long minimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += static_cast<size_t>(extra) + 1;
  return cp;
}

// Appends the UTF-8 form of `cp`; a value that is no character (negative, a
// surrogate, past U+10FFFF) is written as U+FFFD.
inline void appendUtf8(std::string& out, long cp) {
  if (cp < 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace platform
