#include "NavigatorState.h"

#include "TableEditors.h"
#include "project/ProjectLocation.h"

CString g_InstallFolder;
CString g_SchemeDatabasePath;

CString SchemeConnectionString(const CString& databasePath) {
  return CString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + databasePath;
}

CString SchemeDatabasePathOf(const CString& scheme) {
  CString path;
  path.Format("%s\\data\\%s.mdb", g_ProjectFolder.GetString(), scheme.GetString());
  return path;
}

int SchemeTableIndex(const CString& name) {
  for (int i = 0; i < scheme_tables::kTableCount; ++i)
    if (name == scheme_tables::kTables[i].name) return i;
  return -1;
}

void ResetNavigatorState() {
  g_InstallFolder.Empty();
  g_SchemeDatabasePath.Empty();
  CloseAllTableEditors();
}
