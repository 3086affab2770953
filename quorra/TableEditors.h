#pragma once
// The table editors the scheme tree opens: at most one per table of the
// scheme schema, each kept in its table's slot from its opening until it
// closes (the editor clears its slot itself) or the module unloads (every
// editor still open is destroyed then, so that none outlives the module's
// code). Each editor works on the database it was opened with.
//
// The module also keeps the name of the table whose editor opened last
// (the current table name) and the current station editor: the station
// editor whose preview shows the flag block of its grid.

#include "mfc/cstring.h"

class CTableEditorDlg;

// Opens the editor of scheme table `index` (0 to 35) on `databasePath`, shown
// under the editor's main window, or brings forward the one open already on
// the same database; one open on another database is closed as by its close
// button (asking first when it has changes) and a new one opened. FALSE for
// an index outside the schema, an editor that could not be made, or an open
// editor kept by the answer to the question (it is brought forward).
BOOL OpenTableEditor(int index, const CString& databasePath);
// The open editor of table `index`; null when it has none.
CTableEditorDlg* OpenedTableEditor(int index);
// The open editor of the table named `table`; null when it has none.
CTableEditorDlg* OpenedTableEditorOf(const CString& table);
// How many table editors are open.
int OpenedTableEditorCount();
// Clears every slot and module pointer that holds `editor` (as it closes).
void ForgetTableEditor(const CTableEditorDlg* editor);
// Destroys every open editor (at unload), one with changes after the
// question with 是 (save) and 否 only.
void CloseAllTableEditors();

// The station editor whose preview shows flag blocks; null when none.
CTableEditorDlg* CurrentStationEditor();
void SetCurrentStationEditor(CTableEditorDlg* editor);
