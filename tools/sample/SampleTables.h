#pragma once
// The scheme database of the sample project: a copy of the empty template with
// the 36 tables of the navigator's schema, filled with the scheme's rows.

#include <string>
#include <vector>

#include "SampleScheme.h"

namespace sample {

// Copies the template database to `dbPath` (which must not exist), creates
// the 36 tables with the navigator's statements and appends the rows of
// `tables` (columns by name), all in one transaction. False, with the reason
// (naming the table and column at fault), when anything fails; the file is
// then removed.
bool WriteSchemeDatabase(const std::string& templatePath, const std::string& dbPath, const std::vector<Table>& tables,
                         std::string& error);

}  // namespace sample
