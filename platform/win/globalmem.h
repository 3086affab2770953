#pragma once
// Global memory blocks: the memory that clipboard data and OLE data are handed
// over in.
//
// - GMEM_FIXED (0) gives a block whose handle is its address; GMEM_MOVEABLE
//   gives a handle that GlobalLock turns into the address (locks are
//   counted). GMEM_ZEROINIT clears the block; GMEM_SHARE / GMEM_DDESHARE are
//   accepted and change nothing (every block belongs to the one process).
// - A moveable block of 0 bytes has a handle but no memory: GlobalLock
//   answers NULL for it, GlobalSize 0.
// - GlobalSize is the size asked for (never rounded up).
// - A handle that names no block is refused (ERROR_INVALID_HANDLE) and never
//   followed; so is a block the clipboard holds, which only the clipboard
//   frees.
// - Blocks are limited to 1 GiB.

#include "win/filemap.h"
#include "win/wintypes.h"

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GMEM_MODIFY 0x0080u
#define GMEM_SHARE 0x2000u
#define GMEM_DDESHARE 0x2000u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define ERROR_NOT_LOCKED 158

// A new block (NULL with ERROR_NOT_ENOUGH_MEMORY when it cannot be had).
PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Resizes a block, keeping its content (new bytes are zero with
// GMEM_ZEROINIT). A locked moveable block keeps its address unless the
// flags say GMEM_MOVEABLE; when it would have to move, NULL.
PLATFORM_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// NULL when freed; the handle itself when it names no block (or one the
// clipboard holds).
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);
PLATFORM_API LPVOID GlobalLock(HGLOBAL block);
// TRUE while the block stays locked; FALSE when the last lock went (last
// error 0) or it was not locked (ERROR_NOT_LOCKED).
PLATFORM_API BOOL GlobalUnlock(HGLOBAL block);
// The block's size (0 for a handle that names none).
PLATFORM_API SIZE_T GlobalSize(HGLOBAL block);

namespace platform {
// True when the handle names a live block.
PLATFORM_API bool isGlobalBlock(HGLOBAL block);
// A new moveable block holding a copy of `block` (NULL when that names none).
PLATFORM_API HGLOBAL copyGlobalBlock(HGLOBAL block);
// Marks a block as held by the clipboard (GlobalFree then refuses it) or
// gives it back.
PLATFORM_API void setGlobalBlockHeld(HGLOBAL block, bool held);
}  // namespace platform
