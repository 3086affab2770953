// Provisional resolver: separators and the Z: drive only (replaced by the full
// resolver with drive folders and case-insensitive matching).
#include "crt/paths.h"

#include <cstdlib>

namespace platform {

std::string driveFolder(char drive) {
  const char* root = std::getenv("CADHOST_DRIVE_ROOT");
  std::string base = root && *root ? root : "/tmp/cadhost-drives";
  return base + "/" + static_cast<char>(drive >= 'a' && drive <= 'z' ? drive - 'a' + 'A' : drive);
}

std::string resolvePath(std::string_view path) {
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.size() >= 2 && p[1] == ':') {
    char d = p[0];
    std::string rest = p.substr(2);
    if (d == 'Z' || d == 'z') return rest.empty() ? "/" : rest;
    return driveFolder(d) + rest;
  }
  return p;
}

std::string toWindowsPath(std::string_view linuxPath) {
  std::string p(linuxPath);
  bool absolute = !p.empty() && p[0] == '/';
  for (char& c : p)
    if (c == '/') c = '\\';
  return absolute ? "Z:" + p : p;
}

}  // namespace platform
