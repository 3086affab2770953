#pragma once
// Numbers as text: formatting (printf family, CString::Format) and parsing
// (scanf family, atof, strtod) follow the "C" locale whatever the user's
// locale is: a point before the decimals, no thousands grouping.
//
// libplatform sets the "C" locale for the thread that loads it (the program's
// main thread) as that thread's own locale, so a later setlocale() by anyone
// does not change how numbers read and print there. Another thread that
// formats or parses numbers calls useCLocaleOnThisThread() first.
//
// Rounding: printf rounds a value to the decimals asked for by the value the
// double really holds, so 2.675 (held as 2.67499999...) prints "%.2f" as
// "2.67" on every platform. Only an exact binary tie (a value that lies exactly
// halfway, such as 0.125 printed with "%.2f") may round differently here and
// in the Windows C run time: this platform's C library rounds it to even
// ("0.12"), and this platform's result is the one that stands. No result of
// the system and no test depends on how such a tie rounds.

#include "platform_api.h"

namespace platform {

// Makes the "C" locale the calling thread's own locale.
PLATFORM_API void useCLocaleOnThisThread();

}  // namespace platform
