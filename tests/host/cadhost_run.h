#pragma once
// cadhost run as a program by the tests: its command line, its standard input,
// its transcript (stdout), its messages (stderr) and its exit status. A run that does not end
// within its time is killed (status 128 + 9).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace cadhostrun {

struct Outcome {
  int status = -1;
  std::string out, err;
};

inline std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// True when each of `parts` shows in `text`, one after the other.
inline bool inOrder(const std::string& text, const std::vector<std::string>& parts) {
  size_t at = 0;
  for (const std::string& p : parts) {
    at = text.find(p, at);
    if (at == std::string::npos) return false;
    at += p.size();
  }
  return true;
}

// How many times `part` shows in `text` (overlapping showings counted).
inline size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class CadhostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::path(::testing::TempDir()) /
            ("cadhost-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  // `input` is its standard input (a file of that text: never a terminal).
  Outcome run(const std::vector<std::string>& args, int seconds = 120, const std::string& input = {}) {
    std::string program = std::string(RAIL_BINARY_DIR) + "/bin/cadhost";
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::filesystem::path in = m_dir / "stdin", out = m_dir / "stdout", err = m_dir / "stderr";
    std::ofstream(in, std::ios::binary) << input;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    Outcome r;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      for (int waited = 0;; ++waited) {
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (waited >= seconds * 10) {
          kill(pid, SIGKILL);
          waitpid(pid, &status, 0);
          break;
        }
        timespec tenth{0, 100000000};
        nanosleep(&tenth, nullptr);
      }
      r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
  }
  std::string file(const std::string& name, const std::string& text) {
    std::filesystem::path p = m_dir / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::filesystem::path m_dir;
  const std::string testModules = RAIL_TEST_MODULE_DIR;
};

}  // namespace cadhostrun
