#pragma once
// The editor's input functions. Each shows its prompt on the transcript and
// takes its answer from the running script (platform::readPromptToken); an
// answer that does not fit is reported and the prompt asks again (taking the
// next token), as the editor does when a user mistypes.
//
// Results: RTNORM with the value; RTNONE for Enter (unless acedInitGet forbade
// it); RTKWORD when the answer is one of the keywords set by acedInitGet (or
// any text with RSG_OTHER), which acedGetInput then gives; RTCAN when no
// answer is left; RTERROR for a bad call.
//
// Answers: a point "x,y" or "x,y,z", "@dx,dy[,dz]" relative to the last point,
// "@" for the last point, "d<a" or "@d<a" in polar form (a in degrees); numbers
// as C writes them ("12.5", "-3", "1e3"). Text longer than a buffer holds is
// refused with RTERROR, never cut.

#include <cstddef>

#include "arx/adscodes.h"

// The room acedGetString, acedGetKword and acedGetInput assume in a buffer
// given without its size (132 bytes of text and the terminating zero).
#define ACED_INPUT_BUFFER 133

PLATFORM_API int acedInitGet(int flags, const char* keywords);
PLATFORM_API int acedGetPoint(const ads_point base, const char* prompt, ads_point result);
PLATFORM_API int acedGetReal(const char* prompt, ads_real* result);
PLATFORM_API int acedGetInt(const char* prompt, int* result);
PLATFORM_API int acedGetDist(const ads_point base, const char* prompt, ads_real* result);
PLATFORM_API int acedGetString(int cronly, const char* prompt, char* result);
PLATFORM_API int acedGetString(int cronly, const char* prompt, char* result, size_t bufLen);
PLATFORM_API int acedGetKword(const char* prompt, char* result);
PLATFORM_API int acedGetKword(const char* prompt, char* result, size_t bufLen);
PLATFORM_API int acedGetInput(char* result);
PLATFORM_API int acedGetInput(char* result, size_t bufLen);

// The file dialog. Its answer is the script's next "@file" line: a path
// (RTNORM, `result` an RTSTR whose string the caller frees with free() or
// acutDelString; ".ext" is added to a name without extension), or "cancel"
// (RTCAN). With no answer queued the dialog takes `defaultName` when it has
// one, else it is cancelled; the transcript says so.
PLATFORM_API int acedGetFileD(const char* title, const char* defaultName, const char* ext, int flags,
                              resbuf* result);

namespace platform {
// The last point given (the "@" of relative input).
PLATFORM_API void lastPoint(ads_point p);
PLATFORM_API void setLastPoint(const ads_point p);
}  // namespace platform
