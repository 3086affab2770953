#pragma once
// Files opened as the Windows C runtime opens them. Every file the system reads
// or writes is opened here, through the path resolver (crt/paths.h).
//
// Text mode (a mode without 'b'): in memory the text is UTF-8 with LF line
// ends; on disk it is GB18030/GBK with CRLF. Reading takes a file that is valid
// UTF-8 (with or without a byte-order mark) as UTF-8 and any other as GBK
// (bytes that are not GBK read as U+FFFD), with CRLF or LF line ends (a CR
// that is not followed by LF is kept). Writing turns every LF into CRLF and
// the text into GB18030, whatever the file held before.
//
// The FILE* is an ordinary stream: fprintf, fscanf, fgets, fputs, fgetc, feof,
// fread, fwrite, rewind, fseek and ftell work on it, over the UTF-8 text (so
// positions count UTF-8 bytes with one byte per line end; seeking to the start
// or to a position ftell gave is what the system does). The whole file is held
// in memory while it is open. Rewriting the head of the file after a rewind
// (a "%10d" count written last) keeps the rest.
//
// What was written reaches the disk, converted, at fclose, and only then (an
// fflush succeeds and leaves the disk alone, so a writer must close): the
// content is written to a temporary file beside the file, which then takes the
// file's place, so the file is at every moment either what it was before or
// the whole new content (a process killed before fclose leaves it as it was; a
// count written into the head after the body is never seen without the body
// or the body without it). A file that "w" or "a" makes is not there before
// fclose; its folder must exist and be writable at the open. fclose returns
// EOF, with errno set, when the file could not be written (the old file
// stays).
//
// A temporary file is named ".<name>.<process id>.<6 random characters>.tmp";
// one left by a process that was killed is removed at the next write of the
// same file.
//
// Modes: "r" (must exist), "w" (empties), "a" (every write at the end), and
// "r+", "w+", "a+" (reading too); 't' is accepted and changes nothing.
//
// Binary mode ('b' in the mode): the file is opened untouched, as fopen does,
// on the resolved path.

#include <cstdio>
#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// Opens `path` (Windows or Linux form) with a C mode. Returns nullptr, with
// errno set, when the file cannot be opened (ENOENT for a missing file or
// folder, EISDIR for a folder, EINVAL for a mode that is not one of the above).
PLATFORM_API FILE* openFile(const char* path, const char* mode);

// Replaces the file at `path` (Windows or Linux form) by `bytes` as above: the
// old file stays until the new content is complete. `durable` also has the
// content on the disk itself (fsync) before it takes the file's place, and the
// folder after. A file that may not be written (write-protected) is refused
// with EACCES and left as it was. A replaced file keeps its permissions; a new
// one gets 0666 less the umask. False, with errno set, when it could not be
// written.
PLATFORM_API bool replaceFile(const char* path, std::string_view bytes, bool durable = false);

// Makes a temporary file beside `target` (a Linux path), named as above, for a
// writer of its own that renames it over the target when complete (or removes
// it). Its descriptor (close-on-exec), with its path in `temp`; -1 with errno
// set when it cannot be made.
PLATFORM_API int createTemporaryFile(const std::string& target, std::string& temp);

// True for the name (without folder) of a temporary file that replaceFile
// writes: never a result of its own.
PLATFORM_API bool isTemporaryFile(std::string_view name);

// The in-memory text of the bytes of a text file (encoding detected as above,
// CRLF to LF), and the bytes written to disk for an in-memory text.
PLATFORM_API std::string textFromDisk(std::string_view bytes);
PLATFORM_API std::string textToDisk(std::string_view text);

}  // namespace platform
