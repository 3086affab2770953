#pragma once
// What the navigator keeps from load to unload: the install folder, the
// current scheme database path and the table editors asked for. The project
// folder and the current scheme name are the shared project globals
// (g_ProjectFolder, g_SchemeName of project/ProjectLocation.h).

#include "SchemeTables.h"
#include "mfc/cstring.h"

// The folder the module was loaded from (upper-cased, the module's own file
// name cut off); set at start-up.
extern CString g_InstallFolder;
// The current scheme database, "<project>\data\<scheme>.mdb"; empty until
// the scheme tree has found or made one.
extern CString g_SchemeDatabasePath;

// The connection text of a scheme database file.
CString SchemeConnectionString(const CString& databasePath);
// "<project>\data\<scheme>.mdb" of the current project folder.
CString SchemeDatabasePathOf(const CString& scheme);

// Index (0 to 35) of the scheme table named exactly `name`; -1 for any other text.
int SchemeTableIndex(const CString& name);

// Forgets everything kept (at unload, and before a new load).
void ResetNavigatorState();
