#pragma once
// The registry, read from a file of the user's configuration: the file named
// by $CADHOST_REGISTRY, else $XDG_CONFIG_HOME/cadhost/registry.ini, else
// ~/.config/cadhost/registry.ini. A missing file is an empty registry.
//
// The file is read when a key is opened (a key keeps what the file held
// then). It is written like this:
//
//   ; a comment (also '#')
//   [HKEY_CURRENT_USER\Control Panel\Desktop]
//   WheelScrollLines=5
//   Count=dword:0000000a
//   @=the key's default value
//
// A section names a key from its root (HKEY_CURRENT_USER or HKCU,
// HKEY_LOCAL_MACHINE or HKLM, HKEY_CLASSES_ROOT or HKCR, HKEY_USERS or HKU);
// the keys above it exist too. A value is text (REG_SZ; one pair of double
// quotes around it is removed) or, written "dword:" and up to 8 hexadecimal
// digits, a REG_DWORD. Key and value names ignore ASCII case. Lines of any
// other form are reported on the transcript with the file and line number,
// and skipped. Writing is not offered: nothing in the system writes.

#include <string>

#include "win/filemap.h"
#include "win/wintypes.h"

typedef DWORD REGSAM;
typedef HKEY* PHKEY;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

#define KEY_QUERY_VALUE 0x0001
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

#define ERROR_MORE_DATA 234

// Opens `subKey` (null or "" for `key` itself) under an open or predefined
// key. ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when there is no such key,
// ERROR_INVALID_HANDLE for a key that is not open.
PLATFORM_API LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
inline LONG RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return RegOpenKeyExA(key, subKey, options, access, result);
}
// Reads a value (null or "" names the key's default value). A text comes
// with its terminating zero. With `data` null, *size receives the size
// needed; with a buffer smaller than the value, ERROR_MORE_DATA and the size
// needed. ERROR_FILE_NOT_FOUND when the key has no such value.
PLATFORM_API LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                   LPDWORD size);
inline LONG RegQueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
  return RegQueryValueExA(key, name, reserved, type, data, size);
}
PLATFORM_API LONG RegCloseKey(HKEY key);

namespace platform {
// The file the registry is read from.
PLATFORM_API std::string registryFile();
// The rows a wheel notch scrolls: HKEY_CURRENT_USER\Control Panel\Desktop
// "WheelScrollLines", its text read as a decimal number (a REG_DWORD as it
// is), 3 when the key or the value is missing.
PLATFORM_API int wheelScrollLines();
}  // namespace platform
