#include "SchemeSchema.h"

CString SchemeCreateStatement(int index) {
  if (index < 0 || index >= scheme_tables::kTableCount) return CString();
  return CString(scheme_tables::CreateStatement(scheme_tables::kTables[index]));
}

BOOL ReadSchemeTableNames(CAdoConnection& connection, CStringArray& names) {
  if (!connection.IsOpen()) return FALSE;
  names.RemoveAll();
  CAdoRecordSet rows(&connection);
  if (!rows.SetRecordset(connection.OpenSchema(adSchemaColumns))) return TRUE;
  // The rowset repeats a table's name once per column: keep one of each run.
  CString last(" ");
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    CString name;
    if (!rows.GetValueTextByName(name, "TABLE_NAME")) break;
    name.MakeLower();
    if (name != last) {
      names.Add(name);
      last = name;
    }
  }
  return TRUE;
}

int CreateMissingSchemeTables(CAdoConnection& connection, const CStringArray& names,
                              const std::function<void(int, bool)>& onTable) {
  int run = 0;
  for (int i = 0; i < scheme_tables::kTableCount; ++i) {
    const char* table = scheme_tables::kTables[i].name;
    bool present = false;
    for (INT_PTR k = 0; k < names.GetSize() && !present; ++k) present = names[k] == table;
    if (!present) {
      connection.Execute(SchemeCreateStatement(i));
      ++run;
    }
    if (onTable) onTable(i, !present);
  }
  return run;
}
