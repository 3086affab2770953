#pragma once
// The table editors that the scheme tree opens, one per table of the scheme
// schema. The editor dialog itself is not built yet: OpenTableEditor is the
// one place that opens it, and for now it keeps the request in the table's
// slot. Each request keeps the database it was opened on, so the editor
// works on that scheme whatever is listed or made current afterwards; a table
// asked for again while its editor is open only brings that editor forward.

#include "mfc/cstring.h"

struct TableEditorRequest {
  CString table;         // the table's name
  CString databasePath;  // "<project>\data\<scheme>.mdb" it was opened on
  int activations = 0;   // how often it was brought forward since
};

// Opens the editor of scheme table `index` (0 to 35) on `databasePath`, or
// brings forward the one open already. FALSE for an index outside the schema.
BOOL OpenTableEditor(int index, const CString& databasePath);
// The open editor of table `index`; null when it has none.
const TableEditorRequest* OpenedTableEditor(int index);
// How many table editors are open.
int OpenedTableEditorCount();
// Closes every editor (at unload).
void ForgetTableEditorRequests();
