#pragma once
// The dock bar "方案数据库" with the project tree of the scheme's tables
// (CSchemeTreeDlg inside the shared CMyDockControlBar).
//
// The settings dialog's OK calls ShowProjectDockBar: with `show` it closes any
// dock bar there is and opens a new one docked on the left (it may dock left
// or right only), with the module's resources current while it is made;
// without it, it closes the one there is. Unload calls CloseProjectDockBar.

// Opens the dock bar (closing an earlier one), or closes it when `show` is false.
void ShowProjectDockBar(bool show);
// Closes the dock bar, when there is one, and frees it.
void CloseProjectDockBar();

#define PROJECT_DOCK_BAR_TITLE "方案数据库"
