#pragma once
// The module's own path, and the install folder found from it: the path
// upper-cased with the module's own file name cut out.

#include <functional>

#include "mfc/cstring.h"

// The module's file name as the install-folder rule cuts it, upper-case and
// with its leading backslash: "\CORVANE.ARX", "\PELLORY.ARX", "\BREVELL.ARX",
// "\TAMSEL.ARX" (the navigator ships as tamsel.arx).
const char* ModuleFileName();

// Full path of the loaded module in the Windows form ("Z:\...\corvane.arx").
CString ModulePath();

// Where ModulePath() comes from. By default the host's acedGetAppName (or,
// outside a loaded module, the file that holds this code); a test may put another source
// in place. An empty source restores the default. Returns the previous one.
using ModulePathSource = std::function<CString()>;
ModulePathSource SetModulePathSource(ModulePathSource source);

// The install folder: the module path upper-cased (ASCII letters), with every
// occurrence of ModuleFileName() removed. Worked out on each call.
CString InstallFolder();
// The same rule applied to a given module path.
CString InstallFolderOf(const CString& modulePath);
