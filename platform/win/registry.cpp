// The registry over a file of the user's configuration.
#include "win/registry.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "crt/ascii.h"
#include "crt/textfile.h"
#include "win/handles.h"
#include "win/transcript.h"

namespace {

struct Value {
  DWORD type = REG_SZ;
  std::string text;  // REG_SZ
  DWORD number = 0;  // REG_DWORD
};

// Keys by their full path in upper case ("HKEY_CURRENT_USER\CONTROL PANEL"),
// values by their name in upper case.
using Keys = std::map<std::string, std::map<std::string, Value>>;

struct OpenKey {
  std::string path;
  std::shared_ptr<const Keys> keys;
};

std::unordered_map<uintptr_t, OpenKey>& openKeys() {
  static auto* keys = new std::unordered_map<uintptr_t, OpenKey>;
  return *keys;
}

std::string upper(std::string s) {
  for (char& c : s) c = platform::asciiUpper(c);
  return s;
}

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

const char* rootName(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
  if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (key == HKEY_USERS) return "HKEY_USERS";
  return nullptr;
}

// A key path with its root spelled out, separators single, no end separator.
std::string normalKeyPath(const std::string& path) {
  std::string p = upper(path);
  std::string out;
  for (char c : p) {
    if (c == '/') c = '\\';
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  size_t cut = out.find('\\');
  std::string root = out.substr(0, cut), rest = cut == std::string::npos ? "" : out.substr(cut);
  if (root == "HKCU") root = "HKEY_CURRENT_USER";
  if (root == "HKLM") root = "HKEY_LOCAL_MACHINE";
  if (root == "HKCR") root = "HKEY_CLASSES_ROOT";
  if (root == "HKU") root = "HKEY_USERS";
  return root + rest;
}

void report(const std::string& file, int line, const std::string& what) {
  platform::transcriptLine(file + " line " + std::to_string(line) + ": " + what + ", skipped");
}

std::shared_ptr<const Keys> loadKeys() {
  auto keys = std::make_shared<Keys>();
  std::string file = platform::registryFile();
  FILE* f = platform::openFile(file.c_str(), "r");
  if (!f) return keys;
  std::string current;
  char buf[4096];
  int lineNo = 0;
  std::string line;
  while (std::fgets(buf, sizeof buf, f)) {
    line += buf;
    if (!line.empty() && line.back() != '\n' && !std::feof(f)) continue;  // a long line goes on
    ++lineNo;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    std::string t = trim(line);
    line.clear();
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      if (t.back() != ']' || t.size() < 3) {
        report(file, lineNo, "a key name without its closing ']'");
        current.clear();
        continue;
      }
      current = normalKeyPath(t.substr(1, t.size() - 2));
      std::string root = current.substr(0, current.find('\\'));
      if (root != "HKEY_CURRENT_USER" && root != "HKEY_LOCAL_MACHINE" && root != "HKEY_CLASSES_ROOT" &&
          root != "HKEY_USERS") {
        report(file, lineNo, "the key \"" + t + "\" is under no root key");
        current.clear();
        continue;
      }
      // The key and every key above it exist.
      for (std::string k = current;;) {
        (*keys)[k];
        size_t cut = k.rfind('\\');
        if (cut == std::string::npos) break;
        k = k.substr(0, cut);
      }
      continue;
    }
    size_t eq = t.find('=');
    if (eq == std::string::npos || current.empty()) {
      report(file, lineNo, current.empty() ? "a value outside any key" : "a line that is not name=value");
      continue;
    }
    std::string name = trim(t.substr(0, eq));
    std::string text = trim(t.substr(eq + 1));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    if (name == "@") name.clear();
    Value v;
    if (text.size() > 6 && upper(text.substr(0, 6)) == "DWORD:") {
      std::string digits = text.substr(6);
      char* end = nullptr;
      unsigned long n = std::strtoul(digits.c_str(), &end, 16);
      if (digits.empty() || digits.size() > 8 || *end) {
        report(file, lineNo, "the value \"" + text + "\" is no dword of up to 8 hexadecimal digits");
        continue;
      }
      v.type = REG_DWORD;
      v.number = static_cast<DWORD>(n);
    } else {
      if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
      v.text = text;
    }
    (*keys)[current][upper(name)] = v;
  }
  std::fclose(f);
  return keys;
}

// The path of a predefined or open key and the keys it reads (a predefined
// key reads the file now); false for a key that is neither.
bool keyOf(HKEY key, std::string& path, std::shared_ptr<const Keys>& keys) {
  if (const char* root = rootName(key)) {
    path = root;
    keys = loadKeys();
    return true;
  }
  auto it = openKeys().find(reinterpret_cast<uintptr_t>(key));
  if (it == openKeys().end()) return false;
  path = it->second.path;
  keys = it->second.keys;
  return true;
}

}  // namespace

namespace platform {

std::string registryFile() {
  if (const char* f = std::getenv("CADHOST_REGISTRY"); f && *f) return f;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/cadhost/registry.ini";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/cadhost/registry.ini";
}

int wheelScrollLines() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 3;
  char buf[128] = {};
  DWORD size = sizeof buf, type = 0;
  LONG rc = RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, reinterpret_cast<LPBYTE>(buf), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return 3;
  if (type == REG_DWORD) {
    DWORD n = 0;
    std::memcpy(&n, buf, sizeof n);
    return static_cast<int>(n);
  }
  buf[sizeof buf - 1] = 0;
  return std::atoi(buf);
}

}  // namespace platform

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM /*access*/, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string base;
  std::shared_ptr<const Keys> keys;
  if (!keyOf(key, base, keys)) return ERROR_INVALID_HANDLE;
  std::string path = normalKeyPath(base + "\\" + (subKey ? subKey : ""));
  // A root key exists always; any other when the file holds it.
  if (path.find('\\') != std::string::npos && !keys->count(path)) return ERROR_FILE_NOT_FOUND;
  uintptr_t id = platform::newHandleValue();
  openKeys().emplace(id, OpenKey{path, keys});
  *result = reinterpret_cast<HKEY>(id);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data, LPDWORD size) {
  std::shared_ptr<const Keys> keys;
  std::string path;
  if (!keyOf(key, path, keys)) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  auto k = keys->find(path);
  if (k == keys->end()) return ERROR_FILE_NOT_FOUND;
  auto v = k->second.find(upper(name ? name : ""));
  if (v == k->second.end()) return ERROR_FILE_NOT_FOUND;
  const Value& value = v->second;
  if (type) *type = value.type;
  const void* bytes = value.type == REG_DWORD ? static_cast<const void*>(&value.number) : value.text.c_str();
  DWORD needed = value.type == REG_DWORD ? sizeof(DWORD) : static_cast<DWORD>(value.text.size() + 1);
  if (!size) return ERROR_SUCCESS;
  if (!data) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, bytes, needed);
  *size = needed;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  if (rootName(key)) return ERROR_SUCCESS;
  return openKeys().erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
