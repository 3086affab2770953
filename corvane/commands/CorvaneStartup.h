#pragma once
// The module's start-up and unload: the library entry, the registration of
// the five entity classes of a drawn section and of the nine commands of
// group "Pyxen", and the unload that takes all of it away again.

#include "arx/ArxStartup.h"
#include "win/wintypes.h"

// The command group of the module.
inline constexpr const char* kCorvaneCommandGroup = "Pyxen";

// The library entry: the extension-library start-up (ArxStartup.h).
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
const ExtensionModuleState& CorvaneExtensionModule();

// Registers the dialog templates, the classes HdmText, DesignLine, EarthLine,
// LTGOU and JSGOU (in this order, then the class hierarchy is built) and the
// nine commands HDMDES, CALTSF, CALTWB, CALHDMDMX, FINDDM, DRAWHDM, EDITBP,
// SAVEFILE and PRINTHDM (flags ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET).
void InitApplication();

// Removes the command group, frees the baseline designer's tables, closes the
// section browser, takes every reactor of the drawn design lines off its line
// and deletes it (ReleaseSectionReactors: a line that cannot be opened now is
// tried again as an erased object; a reactor still held is deleted all the
// same, which takes it off its line), empties the design-line list and
// deletes the five classes (their entities become proxies).
void UnloadApplication();
