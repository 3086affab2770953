#pragma once
// The ActiveX controls the host installs (see mfc/olecontrol.h for how a
// control is hosted): the drawing preview, which shows the drawing whose path
// is its property 3 (a text). What it shows is painted from that file
// (arx/preview.h). A dialog template's control of the class
// DWGTHUMBNAIL_CLASSID makes one, as CWnd::CreateControl with its class id does.

#include "mfc/olecontrol.h"

#define DWGTHUMBNAIL_CLASSID "{4D318A33-5A8E-11D0-873F-0000C06B6F77}"
#define DWGTHUMBNAIL_DISPID_PATH 3

namespace platform {
// The class id of the drawing preview.
PLATFORM_API const GUID& drawingPreviewClassId();
// The path a preview shows (its property 3), empty for any other window.
PLATFORM_API std::string drawingPreviewPath(HWND preview);
}  // namespace platform
