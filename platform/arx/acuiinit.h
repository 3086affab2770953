#pragma once
// The host's user-interface library (dialogs, palettes and dock bars of the
// host's own look). A module that uses it calls InitAcUiDLL once from its
// library start-up; on this platform the library needs no resources of its
// own, so the call only records that the running module asked for it.

#include "platform_api.h"

PLATFORM_API void InitAcUiDLL();

namespace platform {
// How many times InitAcUiDLL was called in this process.
PLATFORM_API int acUiInitCount();
}  // namespace platform
