#pragma once
// Win32 files and file mappings: CreateFileA, ReadFile, GetFileSize,
// CopyFileA, CreateFileMappingA, MapViewOfFile, UnmapViewOfFile and CloseHandle.
//
// Paths go through the path resolver (Windows or Linux form). A handle is a
// small number kept in the platform's handle table, so a stale or foreign
// handle is refused with ERROR_INVALID_HANDLE instead of being followed.
//
// - Share modes are accepted and not enforced (Linux has no share locks).
// - A mapping name is accepted and ignored: every mapping belongs to the caller
//   alone and is never shared with another process or another caller by name.
// - A mapping keeps its file open by itself, and a view stays valid after the
//   mapping and file handles are closed, until UnmapViewOfFile.
// - View offsets must be multiples of the allocation granularity (65536).
// - PAGE_READONLY / FILE_MAP_READ gives a read-only view (writing to it
//   faults); PAGE_READWRITE with FILE_MAP_WRITE writes through to the file;
//   PAGE_WRITECOPY or FILE_MAP_COPY gives a private copy-on-write view.

#include "win/wintypes.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u

#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_WRITECOPY 0x08u

#define FILE_MAP_COPY 0x0001u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_FILE_EXISTS 80
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INVALID_ADDRESS 487
#define ERROR_FILE_INVALID 1006
#define ERROR_MAPPED_ALIGNMENT 1132

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

// Opens or creates a file. INVALID_HANDLE_VALUE on failure (GetLastError says why).
PLATFORM_API HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                                DWORD flagsAndAttributes, HANDLE templateFile);
// Reads up to `toRead` bytes from the file position; TRUE with fewer bytes (0 at
// the end) when the file ends first. Only synchronous reads (`overlapped` null).
PLATFORM_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read,
                           LPOVERLAPPED overlapped);
// The size of the file: the low 32 bits as the result, the high 32 bits in
// *sizeHigh when given. INVALID_FILE_SIZE with an error on failure.
PLATFORM_API DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
// Copies a file. With `failIfExists` an existing `newFile` is kept and the
// copy fails (ERROR_FILE_EXISTS); otherwise it is replaced, but only once the
// whole copy has been written beside it. FALSE with GetLastError on failure:
// ERROR_FILE_NOT_FOUND for a missing source, ERROR_PATH_NOT_FOUND for a
// missing target folder.
PLATFORM_API BOOL CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists);
#define CopyFile CopyFileA
// A mapping of an open file (a file of length 0 cannot be mapped). Null on failure.
PLATFORM_API HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security,
                                       DWORD protect, DWORD maximumSizeHigh,
                                       DWORD maximumSizeLow, LPCSTR name);
// A view of a mapping; `bytes` 0 maps from the offset to the end. Null on failure.
PLATFORM_API LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh,
                                  DWORD offsetLow, SIZE_T bytes);
PLATFORM_API BOOL UnmapViewOfFile(LPCVOID baseAddress);
// Closes a file or mapping handle.
PLATFORM_API BOOL CloseHandle(HANDLE object);

PLATFORM_API DWORD GetLastError();
PLATFORM_API void SetLastError(DWORD error);
