#pragma once
// The path resolver. The system builds paths the Windows way
// ("<project>\data\<scheme>.mdb"); every file access goes through here.
//
// - '\' and '/' both separate components; repeated separators count as one
//   ("D:\proj\" joined to "\data\" is "D:\proj\data\"), "." is dropped and ".."
//   takes back the component before it (above the root it stays at the root);
// - the drive "Z:" is the Linux root; any other drive letter maps to a folder
//   under the drive root, so "D:\proj" is "<root>/D/proj". The drive root is
//   $CADHOST_DRIVE_ROOT, or, when that is unset or empty, the folder
//   "cadhost/drives" under the user's data directory ($XDG_DATA_HOME, else
//   ~/.local/share). A drive's folder is made when a path on it is resolved,
//   as a drive always exists on the system the paths come from;
// - "D:foo" (no separator after the colon) is taken as "D:\foo";
// - a component that does not exist as written is matched case-insensitively
//   (ASCII letters only) against the folder's entries, so "PROJECT" finds
//   "project" and "Z:\OPT\SUITE" finds "/opt/suite"; when several entries
//   match, the first in byte order is taken. A component that matches nothing
//   stays as written, and so does everything after it: a new file is created
//   with the case as written, and a path into a missing folder resolves to
//   that missing folder (opening it then fails, as it would on Windows);
// - a path without a drive is taken as it is: an absolute Linux path, or a
//   path relative to the current folder (the result then stays relative).

#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// The Linux path of a Windows-form or Linux path ("" for "").
PLATFORM_API std::string resolvePath(std::string_view path);
// The Windows form ("Z:\opt\suite\...") of an absolute Linux path; a relative
// path has its '/' turned into '\'. A path already in Windows form is kept.
PLATFORM_API std::string toWindowsPath(std::string_view linuxPath);
// The folder that stands for drive letter `drive` ("/" for Z:). It is not
// made here.
PLATFORM_API std::string driveFolder(char drive);
// The drive root folder (see above).
PLATFORM_API std::string driveRoot();

// True when `path` is written the Windows way: it starts with a drive letter
// and a colon, or it holds a backslash.
PLATFORM_API bool isWindowsFormPath(std::string_view path);
// The full path of `path`, worked out without touching the disk (as the
// Windows run time's full-path function does): relative paths are taken from
// the current folder, repeated separators collapse, "." and ".." are applied.
// A path in Windows form gives a Windows-form result ("D:\proj\data",
// "Z:\home\u\x" for a relative one, "D:\" for a drive's root); any other gives
// an absolute Linux path.
PLATFORM_API std::string fullPath(std::string_view path);

// Matches a file name against a wildcard mask as the Windows file search does:
// '*' any run of characters, '?' one character, ASCII letters without regard
// to case, and a mask ending in ".*" also matching names without an extension
// ("*.*" matches every name).
PLATFORM_API bool wildcardMatch(std::string_view mask, std::string_view name);

}  // namespace platform
