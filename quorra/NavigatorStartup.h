#pragma once
// The navigator's start-up and unload: the library entry, its resources, the
// command groups "TAMSEL" (QUORRA, which does nothing) and "QUORRASHU"
// (TREE, the dock bar with the scheme tree), and the unload that takes the
// commands, the dock bar and every window of the module away again.

#include "arx/ArxStartup.h"
#include "win/wintypes.h"

inline constexpr const char* kQuorraCommandGroup = "TAMSEL";
inline constexpr const char* kTreeCommandGroup = "QUORRASHU";
// The title of the dock bar.
inline constexpr const char* kSchemeDockBarTitle = "方案数据库";

// The library entry: the extension-library start-up (ArxStartup.h).
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
const ExtensionModuleState& QuorraExtensionModule();

// Finds the install folder, registers the resources and the two commands
// (flags ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET) and lets bars dock on
// every side of the editor's main frame.
void InitApplication();
// Removes both command groups, closes and deletes the dock bar and the table
// editors, and forgets the navigator's state.
void UnloadApplication();

void OnCmdQuorra();  // QUORRA: nothing
// TREE: closes the dock bar there is and opens a new one, docked on the left
// (it may dock left or right), with a freshly built scheme tree.
void OnCmdTree();

class CSchemeTreeDlg;
// The scheme tree of the dock bar now open (null when none).
CSchemeTreeDlg* SchemeTree();
