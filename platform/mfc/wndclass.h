#pragma once
// AfxRegisterWndClass: a window class with the given style, cursor, brush
// and icon, registered (once) for the module whose code runs, named after
// them ("Afx:<style>:<cursor>:<brush>:<icon>" in hexadecimal). The windows of
// the class are handled by the objects created on them.

#include "win/winuser.h"

PLATFORM_API LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                        HICON icon = nullptr);
