#pragma once
// Handle values. Every kind of handle the platform hands out (files and
// mappings, GDI objects and device contexts, global memory, windows) takes its
// value from this one counter, so two handles of different kinds never have
// the same value and a handle value is never given out twice in a process: a
// stale or foreign handle is found in no table and refused, never mistaken
// for another object.

#include <cstdint>

#include "platform_api.h"

namespace platform {

// A new handle value: non-zero, a multiple of 4, never returned before.
PLATFORM_API uintptr_t newHandleValue();

}  // namespace platform
