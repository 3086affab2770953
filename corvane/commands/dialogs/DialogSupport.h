#pragma once
// What the module's dialogs share: the baseline's chainage range from the
// scheme's break table, the origin picked in the drawing, and the file
// dialog of the "浏览..." buttons.

#include "mfc/afxwin.h"

// The bounds of a section drawing's placement in the dialogs that draw: the
// scale denominator (1:1 to 1:100000) and each origin coordinate (within a
// billion metres of 0, where a double still holds a millimetre).
inline constexpr int kMaxScaleDenominator = 100000;
inline constexpr double kMaxOrigin = 1e9;

// The baseline's start and end chainage texts from "断链表" of the current
// scheme's database (XLDataBase::ReadTable): the start is the ahead prefix of
// the first break with its number plus its length, the end the back prefix of
// the last break with its number. False (texts unchanged) when the table
// cannot be read or has no rows.
bool BaselineRangeFromBreakTable(CString& start, CString& end);

// Hides `dialog`, asks for a point with `prompt` and shows the dialog again.
// The point's X and Y are truncated toward zero to whole numbers. False when
// no point was given.
bool PickOriginWhileHidden(CDialog& dialog, const char* prompt, double& x, double& y);

// An open-file dialog at "<project>\data\<scheme>.<ext>" of the current
// scheme (read from the project's `project` file) with the filter `filter`
// and default extension `ext`, its option flags the create-prompt flag alone.
// True with the chosen path on OK.
bool BrowseSchemeFile(CWnd* parent, const char* ext, const char* filter, CString& path);
