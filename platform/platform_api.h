#pragma once
// Every class and function that libplatform offers to the modules is marked
// PLATFORM_API. The modules are compiled with hidden visibility; marking the
// platform's declarations keeps their vtables, type information and entry
// points shared with the one copy in libplatform.
#define PLATFORM_API __attribute__((visibility("default")))
