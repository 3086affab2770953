#pragma once
// What the editor shows: command-line output, alerts and the status-bar
// progress meter, all on the transcript; and the editor's main windows.

#include "platform_api.h"

class CWnd;
class CView;
class CMDIFrameWnd;

// printf formats, written to the command line (the transcript) as they are.
PLATFORM_API int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// An alert: a message box captioned "AutoCAD" with an OK button (answered by
// "@msg IDOK" like any message box). Returns RTNORM.
PLATFORM_API int acedAlert(const char* message);

// The status-bar progress meter, shown as progress lines on the transcript.
// Return 0 (the position is clamped to the range).
PLATFORM_API int acedSetStatusBarProgressMeter(const char* label, int minPos, int maxPos);
PLATFORM_API int acedSetStatusBarProgressMeterPos(int pos);
PLATFORM_API void acedRestoreStatusBar();

// The editor's main frame, drawing view and docked command line (see
// arx/acui.h, which declares what they can do).
PLATFORM_API CMDIFrameWnd* acedGetAcadFrame();
PLATFORM_API CView* acedGetAcadDwgView();
PLATFORM_API CWnd* acedGetAcadDockCmdLine();
