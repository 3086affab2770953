// Provisional: opens the resolved path without conversion (replaced by the
// text-mode layer).
#include "crt/textfile.h"

#include <string>

#include "crt/paths.h"

namespace platform {

FILE* openFile(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  std::string m;
  for (const char* c = mode; *c; ++c)
    if (*c != 't') m += *c;
  return std::fopen(resolvePath(path).c_str(), m.c_str());
}

}  // namespace platform
