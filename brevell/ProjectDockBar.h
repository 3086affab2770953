#pragma once
// The dock bar "方案数据库" with the project tree of the scheme's tables.
//
// The settings dialog's OK calls ShowProjectDockBar: with `show` it closes any
// dock bar there is and opens a new one docked on the left (it may dock left
// or right only), with the module's resources current while it is made;
// without it, it closes the one there is. Unload calls CloseProjectDockBar.
//
// The dock bar and its tree are not built yet: both calls do nothing, and the
// OK draws the plan without a dock bar whatever the box 显示数据库 says.

// Opens the dock bar (closing an earlier one), or closes it when `show` is false.
void ShowProjectDockBar(bool show);
// Closes the dock bar, when there is one, and frees it.
void CloseProjectDockBar();
