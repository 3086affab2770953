#pragma once
// Files opened as the Windows C runtime opens them. Every file the system reads
// or writes is opened here, through the path resolver.
//
// Text mode (a mode without 'b'): in memory the text is UTF-8 with LF line
// ends; on disk it is GB18030/GBK with CRLF. Reading takes a file that is valid
// UTF-8 (with or without a byte-order mark) as UTF-8 and any other as GBK, with
// CRLF or LF line ends. The FILE* is an ordinary stream: fprintf, fscanf, fgets,
// fputs, fgetc, feof, rewind and fseek work on it; what was written reaches the
// disk, converted, at fflush and fclose.
//
// Binary mode ('b' in the mode): the file is opened untouched.

#include <cstdio>

#include "platform_api.h"

namespace platform {

// Opens `path` (Windows or Linux form) with a C mode ("r", "w", "a", "r+",
// "w+", "a+", each optionally with "b" or "t"). Returns nullptr, with errno set,
// when the file cannot be opened.
PLATFORM_API FILE* openFile(const char* path, const char* mode);

}  // namespace platform
