#pragma once
// The path resolver. The system builds paths the Windows way
// ("<project>\data\<scheme>.mdb"); every file access goes through here.
//
// - '\' and '/' both separate components;
// - the drive "Z:" is the Linux root; any other drive letter maps to a folder
//   under the drive root (CADHOST_DRIVE_ROOT, or a folder under the user's data
//   directory), so "D:\proj" is "<root>/D/proj";
// - a component that does not exist as written is matched case-insensitively
//   (ASCII letters), so "PROJECT" finds "project";
// - a path without a drive is taken as it is (relative or a Linux path).

#include <string>
#include <string_view>

#include "platform_api.h"

namespace platform {

// The Linux path of a Windows-form or Linux path.
PLATFORM_API std::string resolvePath(std::string_view path);
// The Windows form ("Z:\opt\suite\...") of an absolute Linux path; a relative
// path has its '/' turned into '\'.
PLATFORM_API std::string toWindowsPath(std::string_view linuxPath);
// The folder that stands for drive letter `drive` (not for Z:).
PLATFORM_API std::string driveFolder(char drive);

}  // namespace platform
