#include "project/TableList.h"

#include <cstring>

int ListTableNames(CAdoConnection& connection, CStringArray& names) {
  if (!connection.IsOpen()) return 0;
  CAdoRecordSet schema;
  _RecordsetPtr rows = connection.OpenSchema(adSchemaColumns);
  if (!rows) return 1;
  schema.SetRecordset(rows);
  CString previous;
  while (!schema.IsEOF()) {
    CString name;
    if (!schema.GetValueTextByName(name, "TABLE_NAME")) break;
    if (name != previous) {
      names.Add(name);
      previous = name;
    }
    if (!schema.MoveNext()) break;
  }
  schema.Close();
  return 1;
}

bool HasTableName(const CStringArray& names, const char* name) {
  if (!name) return false;
  for (INT_PTR i = 0; i < names.GetSize(); ++i) {
    if (std::strcmp(names[i].GetString(), name) == 0) return true;
  }
  return false;
}
