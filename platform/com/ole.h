#pragma once
// OLE's start and end for a thread, and the words of drag and drop.
//
// OleInitialize counts: the first call on a thread answers S_OK, every
// further call S_FALSE ("already initialised"); each successful call is
// matched by one OleUninitialize, and the last one ends OLE on the thread.
// OleUninitialize without a matching call does nothing.

#include "com/comdef.h"

typedef DWORD DROPEFFECT;

#define DROPEFFECT_NONE 0u
#define DROPEFFECT_COPY 1u
#define DROPEFFECT_MOVE 2u
#define DROPEFFECT_LINK 4u
#define DROPEFFECT_SCROLL 0x80000000u

// What a drag source answers while a drag lasts.
#define DRAGDROP_S_DROP 0x00040100L
#define DRAGDROP_S_CANCEL 0x00040101L
#define DRAGDROP_S_USEDEFAULTCURSORS 0x00040102L

// Key and button state of mouse and drag messages.
#ifndef MK_LBUTTON
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#endif

PLATFORM_API HRESULT OleInitialize(LPVOID reserved);
PLATFORM_API void OleUninitialize();

namespace platform {
// True while OLE is initialised on the calling thread.
PLATFORM_API bool oleInitialized();
}  // namespace platform
