// XLDataBase of the ground-line input: construction, the connection and the
// table lister.

#include "XLDataBase.h"

#include "mfc/app.h"
#include "project/TableList.h"

XLDataBase::XLDataBase() { recordset.SetAdoConnection(&connection); }

XLDataBase::~XLDataBase() {
  recordset.Close();
  connection.Close();
}

bool XLDataBase::Connect(const CString& path) {
  recordset.Close();
  connection.Close();
  if (!connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path, -1)) {
    AfxMessageBox("连接数据库失败!");
    return false;
  }
  return true;
}

int XLDataBase::ListTableNames() { return ::ListTableNames(connection, tableNames); }

bool XLDataBase::HasTableName(CString name) { return ::HasTableName(tableNames, name.GetString()); }
