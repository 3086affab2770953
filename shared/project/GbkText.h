#pragma once
// Byte counts of texts as the stored records count them, and bounded copies
// into fixed text buffers.
//
// Texts are UTF-8 in memory, but the records and files of the system size
// their text fields in GBK bytes, where an ASCII character takes one byte and
// every other character two. A field that holds N GBK bytes is given 2 × N
// bytes here, which is enough for any UTF-8 text of N GBK bytes; the copy into
// it stops at whichever limit comes first and never splits a character.

#include <cstddef>

#include "crt/gbk.h"
#include "mfc/cstring.h"

// GBK bytes of a UTF-8 text (ASCII 1, every other character 2).
inline size_t GbkWidth(const char* text) { return text ? static_cast<size_t>(platform::GbkLength(text)) : 0; }

// Copies `src` into `dst` (room for `dstSize` bytes with the terminator),
// keeping whole characters only, at most `gbkLimit` GBK bytes and at most
// dstSize − 1 bytes. Always terminates `dst` when dstSize > 0. Returns the
// number of bytes copied.
inline size_t CopyTextBounded(char* dst, size_t dstSize, const char* src, size_t gbkLimit) {
  return platform::copyTextBounded(dst, dstSize, src ? src : "", gbkLimit);
}

// Reads a text stored as GBK bytes (at most `size` bytes, up to the first NUL)
// into UTF-8. Bytes that already form valid UTF-8 are taken as they are; a
// byte that is neither becomes '?'. A double-byte character cut by `size` is
// dropped.
CString GbkBytesToUtf8(const char* bytes, size_t size);
