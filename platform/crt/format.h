#pragma once
// printf formatting without most of its cost. The system writes its result
// files and texts with printf formats, mostly decimals ("%0.3lf", "%lf"),
// integers and texts; the C library formats every decimal through
// multi-precision arithmetic. These functions give exactly the bytes printf
// gives ("C" locale, crt/numeric.h), doing the common conversions themselves:
//
//   %d %i %u (no length, l, ll, z, j, t), %f %F (no length or l), %s, %c, %%
//   with the flags '-', '+', ' ', '0', a width and (decimals and texts) a
//   precision.
//
// A format with anything else (another conversion or length, '#', '*', a
// null text, a precision on an integer, a value that is not finite, a very
// large width or precision) is formatted whole by the C library.

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform_api.h"

namespace platform {

// Appends the formatted text to `out`; the number of bytes appended, or -1
// (nothing appended) when the C library refuses the format.
PLATFORM_API int appendFormatV(std::string& out, const char* format, va_list args);
PLATFORM_API int appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The text printf gives for "%.<decimals>f" of `value` (decimals 0 to 100)
// and for "%lld" of `value`, appended without reading a format: for records
// of many numbers.
PLATFORM_API void appendFixedNumber(std::string& out, double value, int decimals);
PLATFORM_API void appendIntegerNumber(std::string& out, long long value);

// fprintf: the formatted text written to `file`; the number of bytes written,
// or a negative number on a failure.
PLATFORM_API int printToFile(FILE* file, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace platform
