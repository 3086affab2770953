#pragma once
// The class library's application-level services used by the modules.

#include "mfc/cstring.h"
#include "win/msgbox.h"

namespace platform {
// The name the application's message boxes carry as caption ("cadhost" unless
// the host sets another).
PLATFORM_API void setApplicationName(const char* name);
PLATFORM_API const char* applicationName();
}  // namespace platform

PLATFORM_API const char* AfxGetAppName();
// A message box captioned with the application's name.
PLATFORM_API int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// A message box whose text is the string-table entry `promptId`.
PLATFORM_API int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);
