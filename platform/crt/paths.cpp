#include "crt/paths.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "crt/gbk.h"
#include "crt/ascii.h"

namespace platform {
namespace {

bool isSep(char c) { return c == '/' || c == '\\'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool hasDrive(std::string_view p) { return p.size() >= 2 && isAsciiLetter(p[0]) && p[1] == ':'; }

std::vector<std::string_view> components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && isSep(path[i])) ++i;
    size_t start = i;
    while (i < path.size() && !isSep(path[i])) ++i;
    if (i > start) parts.push_back(path.substr(start, i - start));
  }
  return parts;
}

// Applies "." and ".." to components (".." above the root stays at the root
// for an absolute path and is kept for a relative one).
std::vector<std::string> normalized(const std::vector<std::string_view>& parts, bool relative) {
  std::vector<std::string> out;
  for (std::string_view c : parts) {
    if (c == ".") continue;
    if (c == "..") {
      if (!out.empty() && out.back() != "..")
        out.pop_back();
      else if (relative)
        out.emplace_back("..");
      continue;
    }
    out.emplace_back(c);
  }
  return out;
}

std::string joined(const std::vector<std::string>& parts, char sep) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) s += sep;
    s += parts[i];
  }
  return s;
}

// `base` ("/", a drive folder, or "" for a relative path) followed by `parts`.
std::string compose(const std::string& base, const std::vector<std::string>& parts) {
  std::string rest = joined(parts, '/');
  if (base.empty()) return rest.empty() ? "." : rest;
  if (rest.empty()) return base;
  return base.back() == '/' ? base + rest : base + "/" + rest;
}

bool existsAsWritten(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of folder `dir` whose name equals `name` without regard to ASCII
// case; the first in byte order when there are several, "" when none.
std::string findNoCase(const std::string& dir, std::string_view name) {
  DIR* d = opendir(dir.c_str());
  if (!d) return {};
  std::string best;
  while (dirent* e = readdir(d)) {
    std::string_view entry(e->d_name);
    if (entry == "." || entry == "..") continue;
    if (equalNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
  }
  closedir(d);
  return best;
}

std::string stripTrailingSeparators(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd pw;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return "/tmp";
}

std::string currentFolder() {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::current_path(ec);
  return ec ? std::string("/") : p.string();
}

size_t charLength(std::string_view s, size_t at) {
  return std::max<size_t>(1, utf8SequenceLength(s.substr(at)));
}

bool matchMask(std::string_view mask, std::string_view name) {
  size_t m = 0;
  size_t n = 0;
  size_t starMask = std::string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = ++m;
      starName = n;
      continue;
    }
    if (m < mask.size() && mask[m] == '?') {
      ++m;
      n += charLength(name, n);
      continue;
    }
    if (m < mask.size() && asciiLower(mask[m]) == asciiLower(name[n])) {
      ++m;
      ++n;
      continue;
    }
    if (starMask == std::string_view::npos) return false;
    // Let the last '*' take one more character and try again from there.
    starName += charLength(name, starName);
    m = starMask;
    n = starName;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

std::string driveRoot() {
  if (const char* root = std::getenv("CADHOST_DRIVE_ROOT"); root && *root) return stripTrailingSeparators(root);
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    data = stripTrailingSeparators(xdg);
  else
    data = stripTrailingSeparators(homeFolder()) + "/.local/share";
  if (data == "/") data.clear();
  return data + "/cadhost/drives";
}

std::string driveFolder(char drive) {
  char d = asciiUpper(drive);
  if (d == 'Z') return "/";
  return driveRoot() + "/" + d;
}

std::string resolvePath(std::string_view path) {
  if (path.empty()) return {};
  std::string base;
  std::string_view rest = path;
  bool relative = false;
  if (hasDrive(path)) {
    base = driveFolder(path[0]);
    rest.remove_prefix(2);
    if (base != "/") {
      std::error_code ec;
      std::filesystem::create_directories(base, ec);  // a drive always exists
    }
  } else if (isSep(path[0])) {
    base = "/";
  } else {
    relative = true;
  }

  std::vector<std::string> out;
  bool matching = true;  // false below a component that does not exist
  for (std::string_view c : components(rest)) {
    if (c == ".") continue;
    if (c == "..") {
      if (!out.empty() && out.back() != "..")
        out.pop_back();
      else if (relative)
        out.emplace_back("..");
      matching = isDirectory(compose(base, out));
      continue;
    }
    if (!matching) {
      out.emplace_back(c);
      continue;
    }
    std::string dir = compose(base, out);
    std::string asWritten(c);
    if (existsAsWritten(dir.back() == '/' ? dir + asWritten : dir + "/" + asWritten)) {
      out.push_back(std::move(asWritten));
      continue;
    }
    std::string found = findNoCase(dir, c);
    if (found.empty()) {
      out.push_back(std::move(asWritten));
      matching = false;
    } else {
      out.push_back(std::move(found));
    }
  }
  if (relative && out.empty()) return ".";
  return compose(base, out);
}

std::string toWindowsPath(std::string_view linuxPath) {
  std::string p(linuxPath);
  bool absolute = !p.empty() && p[0] == '/';
  std::replace(p.begin(), p.end(), '/', '\\');
  return absolute ? "Z:" + p : p;
}

bool isWindowsFormPath(std::string_view path) {
  return hasDrive(path) || path.find('\\') != std::string_view::npos;
}

std::string fullPath(std::string_view path) {
  if (isWindowsFormPath(path)) {
    std::string drive = "Z:";
    std::string rest;
    if (hasDrive(path)) {
      drive = std::string(path.substr(0, 2));
      rest = path.substr(2);
    } else if (!path.empty() && isSep(path[0])) {
      rest = path;
    } else {
      rest = currentFolder() + "/" + std::string(path);
    }
    return drive + "\\" + joined(normalized(components(rest), false), '\\');
  }
  std::string rest = (!path.empty() && path[0] == '/') ? std::string(path) : currentFolder() + "/" + std::string(path);
  std::string full(1, '/');
  full += joined(normalized(components(rest), false), '/');
  return full;
}

bool wildcardMatch(std::string_view mask, std::string_view name) {
  if (matchMask(mask, name)) return true;
  // "name.*" also matches "name": the extension is optional.
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*")
    return matchMask(mask.substr(0, mask.size() - 2), name);
  return false;
}

}  // namespace platform
