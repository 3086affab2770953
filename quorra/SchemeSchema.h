#pragma once
// The scheme database schema: making sure a scheme database holds the 36
// alignment, profile and structure tables (see SchemeTables.h).

#include <functional>

#include "SchemeTables.h"
#include "ado/AdoWrapper.h"
#include "mfc/collections.h"

// The creating statement of table `index` (0 to 35) of the schema's order;
// empty for an index outside it.
CString SchemeCreateStatement(int index);

// Reads the table names of the open database from its column schema rowset:
// each name lower-cased (ASCII letters only) and listed once. The list is
// emptied first; a database error leaves it as far as it got. FALSE when the
// connection is not open.
BOOL ReadSchemeTableNames(CAdoConnection& connection, CStringArray& names);

// For each of the 36 tables in order: when `names` holds its name (byte for
// byte) nothing is done, otherwise its statement is run through the
// connection's Execute (a failing statement shows its error there and the
// next table follows). `onTable(index, created)` is called for every table,
// present or created, so that a caller can list it. Returns the number of
// statements run.
int CreateMissingSchemeTables(CAdoConnection& connection, const CStringArray& names,
                              const std::function<void(int index, bool created)>& onTable = {});
