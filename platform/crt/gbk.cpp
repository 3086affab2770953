#include "crt/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// One iconv descriptor per direction and thread (a descriptor carries state,
// and opening one costs more than a short conversion).
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; at a byte sequence that does not convert, `onBad` appends
  // what stands for it and says how many input bytes it consumed.
  template <class OnBad>
  std::string run(std::string_view in, OnBad onBad) {
    std::string out;
    runInto(out, in, onBad);
    return out;
  }

  // The same, appended to `out`.
  template <class OnBad>
  void runInto(std::string& out, std::string_view in, OnBad onBad) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      out.append(in);  // no converter on this system: keep the bytes
      return;
    }
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    size_t used = out.size();
    out.resize(used + in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
      char* dst = out.data() + used;
      size_t dstLeft = out.size() - used;
      size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
      used = out.size() - dstLeft;
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL: a sequence that does not convert (or is cut short).
      std::string stand;
      size_t consumed = onBad(std::string_view(src, srcLeft), stand);
      consumed = std::max<size_t>(1, std::min(consumed, srcLeft));
      if (out.size() - used < stand.size()) out.resize(used + stand.size() + in.size());
      std::memcpy(out.data() + used, stand.data(), stand.size());
      used += stand.size();
      src += consumed;
      srcLeft -= consumed;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
  }

 private:
  iconv_t m_cd;
};

Converter& toGbk() {
  thread_local Converter c("GB18030", "UTF-8");
  return c;
}

Converter& fromGbk() {
  thread_local Converter c("UTF-8", "GB18030");
  return c;
}

// GBK bytes of the character (or stray byte) at the start of `text`, and the
// UTF-8 bytes it takes.
struct CharWidth {
  size_t utf8Bytes;
  size_t gbkBytes;
};

CharWidth firstCharWidth(std::string_view text) {
  size_t n = utf8SequenceLength(text);
  if (n == 0) return {1, 1};  // a stray byte counts as itself
  return {n, n == 1 ? size_t{1} : size_t{2}};
}

}  // namespace

size_t utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  unsigned char c = p[0];
  if (c < 0x80) return 1;
  size_t n;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;  // continuation byte, C0/C1 (overlong) or F5..FF
  }
  if (text.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return n;
}

bool isValidUtf8(std::string_view text) {
  while (!text.empty()) {
    size_t n = utf8SequenceLength(text);
    if (n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

int GbkLength(std::string_view text) {
  size_t total = 0;
  while (!text.empty()) {
    CharWidth w = firstCharWidth(text);
    total += w.gbkBytes;
    text.remove_prefix(w.utf8Bytes);
  }
  return static_cast<int>(std::min<size_t>(total, INT32_MAX));
}

int GbkLength(const char* text) { return text ? GbkLength(std::string_view(text)) : 0; }

size_t utf8BytesWithinGbk(std::string_view text, size_t maxGbkBytes) {
  size_t bytes = 0;
  size_t gbk = 0;
  while (bytes < text.size()) {
    CharWidth w = firstCharWidth(text.substr(bytes));
    if (gbk + w.gbkBytes > maxGbkBytes) break;
    gbk += w.gbkBytes;
    bytes += w.utf8Bytes;
  }
  return bytes;
}

std::string_view cutToGbkLength(std::string_view text, size_t maxGbkBytes) {
  return text.substr(0, utf8BytesWithinGbk(text, maxGbkBytes));
}

size_t copyTextBounded(char* dst, size_t dstSize, std::string_view src, size_t maxGbkBytes) {
  if (!dst || dstSize == 0) return 0;
  std::string_view part = cutToGbkLength(src, maxGbkBytes);
  size_t n = 0;
  // Also within the buffer, again at a character boundary.
  while (n < part.size()) {
    size_t w = firstCharWidth(part.substr(n)).utf8Bytes;
    if (n + w > dstSize - 1) break;
    n += w;
  }
  std::memmove(dst, part.data(), n);
  dst[n] = '\0';
  return n;
}

size_t utf8OffsetOfGbk(std::string_view text, size_t gbkOffset) {
  size_t bytes = 0;
  size_t gbk = 0;
  while (bytes < text.size()) {
    CharWidth w = firstCharWidth(text.substr(bytes));
    if (gbkOffset < gbk + w.gbkBytes) return bytes;
    gbk += w.gbkBytes;
    bytes += w.utf8Bytes;
  }
  return text.size();
}

std::string utf8ToGbk(std::string_view utf8) {
  // ASCII is the same in both and is never part of a longer UTF-8 sequence,
  // so only the runs of other bytes go through the converter.
  auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 8);
  auto p = utf8.begin();
  while (p != utf8.end()) {
    auto other = std::find_if_not(p, utf8.end(), isAscii);
    out.append(p, other);
    p = std::find_if(other, utf8.end(), isAscii);
    if (other != p)
      toGbk().runInto(out, std::string_view(&*other, static_cast<size_t>(p - other)),
                      [](std::string_view bad, std::string& stand) {
                        stand.assign(1, bad.front());
                        return size_t{1};
                      });
  }
  return out;
}

std::string gbkToUtf8(std::string_view gbk) {
  return fromGbk().run(gbk, [](std::string_view, std::string& stand) {
    stand = "\xEF\xBF\xBD";  // U+FFFD
    return size_t{1};
  });
}

std::string decodeFileText(std::string_view bytes) {
  std::string_view body = bytes;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  if (isValidUtf8(body)) return std::string(body);
  return gbkToUtf8(bytes);
}

}  // namespace platform
