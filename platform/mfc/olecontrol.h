#pragma once
// Hosted ActiveX controls as the class library sees them: a control is a
// child window of a class named by its class id in text
// ("{4D318A33-5A8E-11D0-873F-0000C06B6F77}"), whose properties are reached by
// dispatch id through two messages (CWnd::SetProperty and GetProperty send
// them). The controls themselves are installed by the host (arx/activex.h).

#include <string>

#include "com/comdef.h"
#include "com/variant.h"
#include "win/winuser.h"

// wParam the dispatch id, lParam a VARIANT*. Set: TRUE when the control took
// it. Get: the property is copied into the VARIANT (VT_EMPTY when the control
// has no such property); TRUE when it has it.
#define AXM_SETPROPERTY (WM_USER + 0x7001)
#define AXM_GETPROPERTY (WM_USER + 0x7002)

namespace platform {
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
PLATFORM_API std::string classIdText(const GUID& id);
}  // namespace platform
