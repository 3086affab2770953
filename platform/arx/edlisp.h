#pragma once
// LISP functions that modules define. A module defines a function with
// acedDefun(name, number) while it handles kLoadDwgMsg; a "(name arg ...)" form
// on the command line then invokes it: the host sends the module kInvkSubrMsg,
// the module asks acedGetFunCode() which of its functions is meant and
// acedGetArgs() for the arguments, and sets the result with one of the
// acedRet... functions. A handler registered with acedRegFunc is called
// directly instead. A function named "c:NAME" also runs as the command NAME.

#include <string>
#include <string_view>

#include "arx/adscodes.h"

PLATFORM_API int acedDefun(const char* name, int funcNumber);
PLATFORM_API int acedUndef(const char* name, int funcNumber);
PLATFORM_API int acedRegFunc(int (*handler)(), int funcNumber);
// The number of the function being invoked (RTERROR outside an invocation).
PLATFORM_API int acedGetFunCode();
// The arguments of the function being invoked; the host owns the list.
PLATFORM_API resbuf* acedGetArgs();

PLATFORM_API int acedRetVoid();
PLATFORM_API int acedRetNil();
PLATFORM_API int acedRetT();
PLATFORM_API int acedRetInt(int value);
PLATFORM_API int acedRetReal(ads_real value);
PLATFORM_API int acedRetStr(const char* value);
PLATFORM_API int acedRetPoint(const ads_point value);
PLATFORM_API int acedRetName(const ads_name value, int type);
PLATFORM_API int acedRetList(const resbuf* list);
PLATFORM_API int acedRetVal(const resbuf* value);

// Strings handed out by the host (acedGetFileD's result) are freed with these.
PLATFORM_API char* acutNewString(const char* text);
PLATFORM_API void acutDelString(char*& text);

namespace platform {

PLATFORM_API bool isLispFunctionDefined(std::string_view name);
// Invokes a LISP function as a "(name arg ...)" form does. `resultText` gets
// the result as the command line shows it ("" when the function returned no
// value). Returns false, with the reason in `error`, when no function of that
// name is defined or the function reports an error.
PLATFORM_API bool invokeLispFunction(std::string_view name, const resbuf* args, std::string* resultText,
                                     std::string* error);
// A value or list as the command line shows it: nil, T, 5, 1.5, "text", (1.0 2.0 0.0).
PLATFORM_API std::string lispValueText(const resbuf* value);
// A deep copy of a list (strings copied).
PLATFORM_API resbuf* copyResbufList(const resbuf* list);

}  // namespace platform
