#pragma once
// The sample project of the plan's tests, made by the sample-project program.

#include <string>

namespace plantest {

// The sample project, made once per build of the sample-project program (in
// the build's test scratch folder, under a lock, kept for the next test
// processes); its scheme database, or "" with the reason in `error`.
std::string SampleDatabase(std::string& error);

}  // namespace plantest
