// Text of drawing files: GBK on disk, UTF-8 in memory; colour indexes.
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "arx/dxffile.h"
#include "crt/utf8.h"

namespace platform {

namespace {

void appendEscape(std::string& out, uint32_t unit) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "\\U+%04X", unit & 0xFFFF);
  out += buf;
}

// One converter per direction, opened once.
struct Converter {
  iconv_t cd;
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
  // Converts `in` whole; false when iconv refuses it.
  bool convert(std::string_view in, std::string& out) {
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(in.size() * 4 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.resize(out.size() - dstLeft);
    return true;
  }
};

Converter& toGbk() {
  thread_local Converter c("GBK", "UTF-8");
  return c;
}

Converter& fromGbk() {
  thread_local Converter c("UTF-8", "GBK");
  return c;
}

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Text every character of which GBK holds: converted in one go (GBK keeps
// no state between characters, so this is what converting one character at
// a time gives). False for anything else, which then goes the long way.
bool wholeToGbk(std::string_view text, std::string& out) {
  for (size_t i = 0; i < text.size();) {
    long cp = decodeUtf8(text, i);
    if (cp < 0 || cp == 0xFFFD) return false;
  }
  return toGbk().convert(text, out);
}

}  // namespace

std::string utf8ToDxfGbk(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string out, piece;
  if (wholeToGbk(text, out)) return out;
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t start = i;
    long decoded = decodeUtf8(text, i);
    uint32_t cp = decoded < 0 ? 0xFFFD : static_cast<uint32_t>(decoded);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    if (cp != 0xFFFD && toGbk().convert(text.substr(start, i - start), piece)) {
      out += piece;
    } else if (cp >= 0x10000) {
      uint32_t v = cp - 0x10000;
      appendEscape(out, 0xD800 + (v >> 10));
      appendEscape(out, 0xDC00 + (v & 0x3FF));
    } else {
      appendEscape(out, cp);
    }
  }
  return out;
}

std::string dxfGbkToUtf8(std::string_view text) {
  std::string out, piece;
  out.reserve(text.size() + text.size() / 2);
  uint32_t pendingHigh = 0;
  auto hexAt = [&](size_t pos, uint32_t& v) {
    if (pos + 7 > text.size() || text[pos] != '\\' || (text[pos + 1] != 'U' && text[pos + 1] != 'u') ||
        text[pos + 2] != '+')
      return false;
    v = 0;
    for (size_t k = pos + 3; k < pos + 7; ++k) {
      char c = text[k];
      int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
      if (d < 0) return false;
      v = v * 16 + static_cast<uint32_t>(d);
    }
    return true;
  };
  // A high surrogate waits for its low half; one left without it (and a low
  // half without its high one) reads as U+FFFD rather than vanishing.
  auto dropHigh = [&] {
    if (pendingHigh) appendUtf8(out, 0xFFFD);
    pendingHigh = 0;
  };
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    uint32_t v;
    if (c == '\\' && hexAt(i, v)) {
      i += 7;
      if (v >= 0xD800 && v < 0xDC00) {
        dropHigh();
        pendingHigh = v;
        continue;
      }
      if (v >= 0xDC00 && v < 0xE000 && pendingHigh) {
        appendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (v - 0xDC00));
        pendingHigh = 0;
        continue;
      }
      dropHigh();
      appendUtf8(out, v);
      continue;
    }
    dropHigh();
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // A GBK character is a lead byte 0x81..0xFE and a trail byte.
    if (i + 1 < text.size() && c >= 0x81 && c <= 0xFE && fromGbk().convert(text.substr(i, 2), piece)) {
      out += piece;
      i += 2;
    } else if (fromGbk().convert(text.substr(i, 1), piece)) {  // single-byte characters of the code page
      out += piece;
      ++i;
    } else {
      appendUtf8(out, 0xFFFD);
      ++i;
    }
  }
  dropHigh();
  return out;
}

unsigned colorIndexToRgb(int index) {
  static const unsigned base[10] = {0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                                    0x0000FF, 0xFF00FF, 0x000000, 0x808080, 0xC0C0C0};
  if (index < 1 || index > 255) return 0x000000;
  if (index < 10) return base[index];
  if (index >= 250) {
    // Six greys from dark to light.
    static const unsigned greys[6] = {0x333333, 0x505050, 0x696969, 0x828282, 0xBEBEBE, 0xFFFFFF};
    return greys[index - 250];
  }
  // 10..249: 24 hues 15 degrees apart; within a hue, five brightness steps,
  // each full and half saturated.
  int hueStep = index / 10 - 1;
  int shade = index % 10;
  double value = 1.0 - 0.175 * (shade / 2);
  double sat = (shade % 2 == 0) ? 1.0 : 0.5;
  double h = hueStep * 15.0 / 60.0;
  int sector = static_cast<int>(h) % 6;
  double f = h - std::floor(h);
  double p = value * (1 - sat), q = value * (1 - sat * f), t = value * (1 - sat * (1 - f));
  double r, g, b;
  switch (sector) {
    case 0: r = value; g = t; b = p; break;
    case 1: r = q; g = value; b = p; break;
    case 2: r = p; g = value; b = t; break;
    case 3: r = p; g = q; b = value; break;
    case 4: r = t; g = p; b = value; break;
    default: r = value; g = p; b = q; break;
  }
  auto byte = [](double x) { return static_cast<unsigned>(std::lround(std::clamp(x, 0.0, 1.0) * 255)); };
  return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

}  // namespace platform
