#include "project/GbkText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

CString GbkBytesToUtf8(const char* bytes, size_t size) {
  if (!bytes) return CString();
  size_t len = strnlen(bytes, size);
  const unsigned char* u = reinterpret_cast<const unsigned char*>(bytes);
  if (platform::isValidUtf8(std::string_view(bytes, len))) return CString(bytes, static_cast<int>(len));

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
