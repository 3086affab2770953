#include "project/GbkText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// Length of the UTF-8 character that starts at `s` (with `left` bytes
// available), or 0 when the bytes there do not form a valid character.
size_t Utf8CharLength(const unsigned char* s, size_t left) {
  if (left == 0) return 0;
  unsigned char c = s[0];
  if (c < 0x80) return 1;
  size_t n;
  unsigned int min;
  if ((c & 0xE0) == 0xC0) {
    n = 2;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    n = 3;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (left < n) return 0;
  unsigned int cp = c & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool IsValidUtf8(const unsigned char* s, size_t size) {
  for (size_t i = 0; i < size;) {
    size_t n = Utf8CharLength(s + i, size - i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace

size_t GbkWidth(const char* text) {
  if (!text) return 0;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
  size_t left = std::strlen(text);
  size_t width = 0;
  while (left > 0) {
    size_t n = Utf8CharLength(s, left);
    if (n == 0) n = 1;  // a stray byte counts as one wide character
    width += (n == 1 && s[0] < 0x80) ? 1 : 2;
    s += n;
    left -= n;
  }
  return width;
}

size_t CopyTextBounded(char* dst, size_t dstSize, const char* src, size_t gbkLimit) {
  if (!dst || dstSize == 0) return 0;
  size_t used = 0;
  if (src) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(src);
    size_t left = std::strlen(src);
    size_t width = 0;
    while (left > 0) {
      size_t n = Utf8CharLength(s + used, left);
      if (n == 0) n = 1;
      size_t w = (n == 1 && s[used] < 0x80) ? 1 : 2;
      if (used + n > dstSize - 1 || width + w > gbkLimit) break;
      used += n;
      width += w;
      left -= n;
    }
    std::memcpy(dst, src, used);
  }
  dst[used] = '\0';
  return used;
}

CString GbkBytesToUtf8(const char* bytes, size_t size) {
  if (!bytes) return CString();
  size_t len = strnlen(bytes, size);
  const unsigned char* u = reinterpret_cast<const unsigned char*>(bytes);
  if (IsValidUtf8(u, len)) return CString(bytes, static_cast<int>(len));

  std::string out;
  iconv_t cd = iconv_open("UTF-8", "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // Without a converter keep the ASCII part readable.
    for (size_t i = 0; i < len; ++i) out += u[i] < 0x80 ? static_cast<char>(u[i]) : '?';
    return CString(out);
  }
  std::string in(bytes, len);
  char* inPtr = in.data();
  size_t inLeft = len;
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    if (errno == EINVAL) break;  // a character cut by the end of the field
    out += '?';                  // EILSEQ: a byte that is no GBK character
    ++inPtr;
    --inLeft;
  }
  iconv_close(cd);
  return CString(out);
}
