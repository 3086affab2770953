#pragma once
// Small helpers of the platform tests: a temporary folder, raw file bytes,
// environment variables, the current folder and a file-size limit set for one
// test.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the test temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "rail-platform-XXXXXX";
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a temporary folder";
    m_path = std::filesystem::canonical(pattern).string();
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& rel) const { return m_path + "/" + rel; }

 private:
  std::string m_path;
};

// Raw bytes of a file (the test's own view of the disk, not through the platform).
inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// The names of the entries of a folder, sorted: what a write left there,
// temporary files included.
inline std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Sets (or, with nullopt, unsets) an environment variable while it lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = getenv(name)) m_old = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (m_old)
      setenv(m_name.c_str(), m_old->c_str(), 1);
    else
      unsetenv(m_name.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string m_name;
  std::optional<std::string> m_old;
};

// Makes `folder` the current folder while it lives.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::string& folder) : m_old(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~ScopedCwd() {
    std::error_code ec;
    std::filesystem::current_path(m_old, ec);
  }
  ScopedCwd(const ScopedCwd&) = delete;
  ScopedCwd& operator=(const ScopedCwd&) = delete;

 private:
  std::filesystem::path m_old;
};

// While it lives, no file this process writes grows past `bytes` (0: no new
// limit): a write past it fails with EFBIG instead of raising SIGXFSZ, which
// is how the tests make a disk refuse a write at a chosen point.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(size_t bytes) {
    m_ok = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
    m_oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (m_ok && bytes) {
      struct rlimit small = m_saved;
      small.rlim_cur = static_cast<rlim_t>(bytes);
      m_ok = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    signal(SIGXFSZ, m_oldHandler);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
  // Whether the limit could be set.
  bool ok() const { return m_ok; }

 private:
  struct rlimit m_saved {};
  void (*m_oldHandler)(int) = SIG_DFL;
  bool m_ok = false;
};

}  // namespace testsupport
