#pragma once
// Text in two encodings: UTF-8 in memory, GBK (GB18030) in the files and
// drawings the system shares with its Windows users.
//
// Widths and byte counts. Where the system counts the bytes of a text (a text
// width for drawing, the size of a fixed buffer, an offset into a label) it
// counts GBK bytes: an ASCII character is one byte, every other character two.
// `GbkLength` gives that count for UTF-8 text without converting it. A byte
// that is not part of valid UTF-8 counts as one (so GBK bytes that slipped into
// memory unconverted keep their own length).
//
// Conversions. `utf8ToGbk` and `gbkToUtf8` convert whole texts with the C
// library's iconv (GB18030, the superset of GBK, so every character has a
// form). `gbkToUtf8` replaces a byte sequence that is not GBK by U+FFFD;
// `utf8ToGbk` passes a byte that is not UTF-8 through unchanged, so text that
// already was GBK is not lost.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// Length of the valid UTF-8 sequence that starts `text` (1 to 4), or 0 when it
// does not start with one (an empty text, a stray continuation byte, an
// overlong form, a surrogate, a code point past U+10FFFF, a cut sequence).
PLATFORM_API size_t utf8SequenceLength(std::string_view text);
// True when the whole text is valid UTF-8.
PLATFORM_API bool isValidUtf8(std::string_view text);

// GBK byte count of UTF-8 text (ASCII 1, any other character 2).
PLATFORM_API int GbkLength(std::string_view text);
PLATFORM_API int GbkLength(const char* text);

// UTF-8 byte count of the longest leading part of `text` that takes at most
// `maxGbkBytes` GBK bytes; the cut falls on a character boundary.
PLATFORM_API size_t utf8BytesWithinGbk(std::string_view text, size_t maxGbkBytes);
// That leading part itself.
PLATFORM_API std::string_view cutToGbkLength(std::string_view text, size_t maxGbkBytes);
// Copies the leading part of `src` into the fixed buffer `dst` of `dstSize`
// bytes: at most `maxGbkBytes` GBK bytes, at most dstSize - 1 bytes of UTF-8,
// cut at a character boundary, always terminated (when dstSize > 0). Returns
// the number of bytes copied (without the terminator).
PLATFORM_API size_t copyTextBounded(char* dst, size_t dstSize, std::string_view src,
                                    size_t maxGbkBytes = SIZE_MAX);
// The UTF-8 byte offset of the character that covers GBK byte `gbkOffset` of
// `text` (a GBK offset that falls on the second byte of a Chinese character
// gives that character's start); text.size() when the offset is past the end.
PLATFORM_API size_t utf8OffsetOfGbk(std::string_view text, size_t gbkOffset);

// Whole-text conversions (see above for bytes that do not convert).
PLATFORM_API std::string utf8ToGbk(std::string_view utf8);
PLATFORM_API std::string gbkToUtf8(std::string_view gbk);
// Text read from a file whose encoding is not known: valid UTF-8 (a leading
// byte-order mark dropped) stays as it is, anything else is taken as GBK.
PLATFORM_API std::string decodeFileText(std::string_view bytes);

}  // namespace platform

using platform::GbkLength;
