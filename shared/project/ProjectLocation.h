#pragma once
// The project and scheme that every command works in. Neither is chosen in
// the module: the file `workdir` in the install folder names the project folder
// (its blanks written as '$'), and the file `project` in the project folder
// names the current scheme. Both are read afresh each time a path is needed.

#include "mfc/cstring.h"

// Project folder: the first word of `workdir` with every '$' turned into a
// blank; empty after a failed read.
extern CString g_ProjectFolder;
// Current scheme: the first word of `project`.
extern CString g_SchemeName;

// Opens a text file and reads its first blank-delimited word (empty when it
// has none); false, leaving `word` as it was, when it cannot be opened.
bool ReadWordOfFile(const CString& path, CString& word);

// Replaces every '$' of g_ProjectFolder by a blank.
void DollarToSpaceInProjectPath();

// Reads the project folder from "<install>\workdir" and the scheme name from
// "<project>\project". Returns 1 when both were read. Otherwise 0 after a
// message box: "您还没有设定项目名称!" when `workdir` is missing or names no
// folder (the project folder is then empty), "您还没有指定设计方案名称!" when
// `project` cannot be opened or names no scheme (the project folder stays set
// and the scheme name keeps its previous value).
int ReadProjectAndScheme();

// Paths built from the state.
// "<project>\data\<scheme>.mdb"
CString SchemeDatabasePath();
// "<project>\data\<name>.<scheme>" (result and work files)
CString ResultFilePath(const char* name);
// "<project>\data\jishucanshu.dat"
CString TechParamsFilePath();
