#pragma once
// The table lister of a scheme database: the names of the tables of an open
// connection, and the test whether a name is among them.
//
// Each module's table store keeps its own name array and calls these two with
// it (XLDataBase::ListTableNames and XLDataBase::HasTableName).

#include "ado/AdoWrapper.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"

// When `connection` is open, walks its columns schema rowset and appends to
// `names` the TABLE_NAME of each row that differs from the previous row's
// (the first row is compared with ""), so each table is appended once per
// call. The array is not cleared: a second call appends the names again.
// Returns 1 when the connection was open (also when the walk stopped early on
// a database failure), 0 otherwise, leaving `names` as it was.
int ListTableNames(CAdoConnection& connection, CStringArray& names);

// True when `name` equals, byte for byte (case-sensitive), an entry of `names`.
bool HasTableName(const CStringArray& names, const char* name);
