// Compiled into every test program: its scratch folder is the build's own
// (RAIL_TEST_TMPDIR), so that two builds running their tests at once never
// share a folder under /tmp. A TEST_TMPDIR set by the caller stays.
#include <cstdlib>

namespace {
const bool kScratchFolderSet = [] {
  setenv("TEST_TMPDIR", RAIL_TEST_TMPDIR "/", 0);
  return true;
}();
}  // namespace
