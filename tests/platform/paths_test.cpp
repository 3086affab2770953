#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "crt/paths.h"
#include "crt/textfile.h"
#include "platform/test_support.h"

namespace {

using testsupport::ScopedCwd;
using testsupport::ScopedEnv;
using testsupport::TempFolder;

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string backslashed(std::string s) {
  std::replace(s.begin(), s.end(), '/', '\\');
  return s;
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
  return s;
}

// A drive root and an install folder with a few files, under a temporary folder.
class PathsTest : public ::testing::Test {
 protected:
  PathsTest() : m_env("CADHOST_DRIVE_ROOT", m_tmp / "drives") {
    testsupport::writeBytes(m_tmp / "drives/D/proj/data/A.mdb", "x");
    testsupport::writeBytes(m_tmp / "drives/D/proj/project", "main\r\n");
    testsupport::writeBytes(m_tmp / "drives/D/proj/dup/ABC", "1");
    testsupport::writeBytes(m_tmp / "drives/D/proj/dup/abc", "2");
    testsupport::writeBytes(m_tmp / "drives/D/proj/dup/Abc2", "3");
    std::filesystem::create_directories(m_tmp / "drives/D/proj/sub");
    testsupport::writeBytes(m_tmp / "install/corvane.arx", "module");
  }
  // Expands {drives} and {tmp} in an expected path.
  std::string expand(const std::string& s) const {
    return replaceAll(replaceAll(s, "{drives}", m_tmp / "drives"), "{tmp}", m_tmp.path());
  }

  TempFolder m_tmp;
  ScopedEnv m_env;
};

TEST_F(PathsTest, ResolvesWindowsAndLinuxForms) {
  struct Case {
    const char* what;
    std::string input;
    std::string expected;
  };
  const std::string tmpUpper = upper(backslashed(m_tmp.path()));
  const std::vector<Case> cases = {
      {"backslashes and a drive", "D:\\proj\\data\\A.mdb", "{drives}/D/proj/data/A.mdb"},
      {"slashes and a lower-case drive", "d:/proj/data/A.mdb", "{drives}/D/proj/data/A.mdb"},
      {"components in another case", "D:\\PROJ\\DATA\\a.MDB", "{drives}/D/proj/data/A.mdb"},
      {"\\data\\ appended to a folder", "D:\\proj\\\\data\\\\A.mdb", "{drives}/D/proj/data/A.mdb"},
      {"trailing separator", "D:\\proj\\data\\", "{drives}/D/proj/data"},
      {"'..' and '.'", "D:\\proj\\sub\\..\\data\\.\\A.mdb", "{drives}/D/proj/data/A.mdb"},
      {"'..' above the drive root", "D:\\..\\..\\proj", "{drives}/D/proj"},
      {"upper-case name finds the lower-case file", "D:\\proj\\PROJECT", "{drives}/D/proj/project"},
      {"a name that exists as written wins", "D:\\proj\\dup\\abc", "{drives}/D/proj/dup/abc"},
      {"of several matches the first in byte order", "D:\\proj\\dup\\aBc", "{drives}/D/proj/dup/ABC"},
      {"a new file keeps the case as written", "D:\\proj\\New.TXT", "{drives}/D/proj/New.TXT"},
      {"a missing folder stays as written", "D:\\PROJ\\Missing\\Data\\X.txt", "{drives}/D/proj/Missing/Data/X.txt"},
      {"'..' out of a missing folder matches again", "D:\\nothere\\..\\PROJ\\DATA", "{drives}/D/proj/data"},
      {"another drive", "c:\\tmp.scr", "{drives}/C/tmp.scr"},
      {"drive without a separator", "D:proj\\data", "{drives}/D/proj/data"},
      {"a drive's root", "D:\\", "{drives}/D"},
      {"Z: is the Linux root", "Z:\\", "/"},
      {"upper-cased Windows form of a Linux path", "Z:" + tmpUpper + "\\INSTALL\\CORVANE.ARX",
       "{tmp}/install/corvane.arx"},
      {"a Linux path in another case", m_tmp.path() + "/INSTALL/Corvane.arx", "{tmp}/install/corvane.arx"},
      {"a Linux path that does not exist", "/no/such/Folder", "/no/such/Folder"},
      {"a path without drive but with backslashes", backslashed(m_tmp.path()) + "\\install",
       "{tmp}/install"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::resolvePath(c.input), expand(c.expected)) << c.what;
}

TEST_F(PathsTest, RelativePathsStayRelative) {
  testsupport::writeBytes(m_tmp / "lib/x", "");
  std::filesystem::create_directories(m_tmp / "work");
  ScopedCwd cwd(m_tmp / "work");
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"..\\LIB\\X", "../lib/x"}, {"..\\lib\\new.txt", "../lib/new.txt"}, {".", "."},
      {"a\\..", "."},             {"..\\..\\", "../.."},                  {"new\\File", "new/File"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::resolvePath(c.input), c.expected) << c.input;
}

TEST_F(PathsTest, DriveFolderIsMadeWhenUsed) {
  EXPECT_FALSE(testsupport::exists(m_tmp / "drives/E"));
  EXPECT_EQ(platform::resolvePath("e:\\x.dat"), m_tmp / "drives/E/x.dat");
  EXPECT_TRUE(std::filesystem::is_directory(m_tmp / "drives/E"));
  EXPECT_FALSE(testsupport::exists(m_tmp / "drives/E/x.dat"));
}

TEST_F(PathsTest, OpeningGoesThroughTheResolver) {
  // Reading "PROJECT" reads the file "project".
  FILE* f = platform::openFile("D:\\PROJ\\PROJECT", "r");
  ASSERT_NE(f, nullptr);
  char word[32] = {};
  EXPECT_EQ(std::fscanf(f, "%31s", word), 1);
  EXPECT_STREQ(word, "main");
  EXPECT_EQ(std::fclose(f), 0);

  // Writing "PROJECT" rewrites "project" and makes no second file.
  f = platform::openFile("D:\\proj\\PROJECT", "w");
  ASSERT_NE(f, nullptr);
  std::fputs("other\n", f);
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(testsupport::readBytes(m_tmp / "drives/D/proj/project"), "other\r\n");
  EXPECT_FALSE(testsupport::exists(m_tmp / "drives/D/proj/PROJECT"));

  // A file in a missing folder cannot be made, and the folder is not made either.
  errno = 0;
  EXPECT_EQ(platform::openFile("D:\\proj\\Missing\\x.txt", "w"), nullptr);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(testsupport::exists(m_tmp / "drives/D/proj/Missing"));
}

TEST(PathsInstallFolder, UpperCasedModulePathFindsTheBuiltModule) {
  const std::string module = std::string(RAIL_INSTALL_DIR) + "/corvane.arx";
  if (!testsupport::exists(module)) GTEST_SKIP() << "the corvane module is not built";
  // What a module does with its own path: upper-case it and cut at the name.
  std::string windows = upper(platform::toWindowsPath(RAIL_INSTALL_DIR)) + "\\CORVANE.ARX";
  EXPECT_EQ(windows.substr(0, 3), "Z:\\");
  EXPECT_EQ(platform::resolvePath(windows), module);
}

TEST(PathsDriveRoot, ComesFromTheEnvironment) {
  struct Case {
    const char* what;
    std::optional<std::string> driveRoot, xdg, home;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"CADHOST_DRIVE_ROOT", "/srv/drives/", "/xdg", "/home/u", "/srv/drives"},
      {"XDG_DATA_HOME", std::nullopt, "/xdg", "/home/u", "/xdg/cadhost/drives"},
      {"empty CADHOST_DRIVE_ROOT", "", "/xdg/", "/home/u", "/xdg/cadhost/drives"},
      {"HOME", std::nullopt, std::nullopt, "/home/u", "/home/u/.local/share/cadhost/drives"},
      {"a relative XDG_DATA_HOME is ignored", std::nullopt, "rel", "/home/u",
       "/home/u/.local/share/cadhost/drives"},
  };
  for (const Case& c : cases) {
    ScopedEnv a("CADHOST_DRIVE_ROOT", c.driveRoot), b("XDG_DATA_HOME", c.xdg), h("HOME", c.home);
    EXPECT_EQ(platform::driveRoot(), c.expected) << c.what;
    EXPECT_EQ(platform::driveFolder('d'), c.expected + "/D") << c.what;
    EXPECT_EQ(platform::driveFolder('Z'), "/") << c.what;
  }
}

TEST(PathsWindowsForm, OfLinuxPaths) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"/opt/suite/install/corvane.arx", "Z:\\opt\\suite\\install\\corvane.arx"},
      {"/", "Z:\\"},
      {"data/x.mdb", "data\\x.mdb"},
      {"D:\\proj", "D:\\proj"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::toWindowsPath(c.input), c.expected) << c.input;

  TempFolder tmp;
  testsupport::writeBytes(tmp / "Mixed Case/file.TXT", "");
  EXPECT_EQ(platform::resolvePath(platform::toWindowsPath(tmp / "Mixed Case/file.TXT")), tmp / "Mixed Case/file.TXT");
}

TEST(PathsFullPath, WorkedOutWithoutTheDisk) {
  TempFolder tmp;
  ScopedCwd cwd(tmp.path());
  const std::string winCwd = "Z:" + backslashed(tmp.path());
  struct Case {
    std::string input;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"D:\\proj\\\\data\\..\\x", "D:\\proj\\x"},
      {"D:", "D:\\"},
      {"d:proj", "d:\\proj"},
      {"\\opt\\suite", "Z:\\opt\\suite"},
      {"data\\A.mdb", winCwd + "\\data\\A.mdb"},
      {"/opt//suite/./x/../y", "/opt/suite/y"},
      {"rel/a", tmp.path() + "/rel/a"},
      {"/..", "/"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::fullPath(c.input), c.expected) << c.input;
  EXPECT_TRUE(platform::isWindowsFormPath("D:x"));
  EXPECT_TRUE(platform::isWindowsFormPath("data\\x"));
  EXPECT_FALSE(platform::isWindowsFormPath("/opt/x"));
  EXPECT_TRUE(platform::isWindowsFormPath("x:"));
}

TEST(PathsWildcard, MatchesAsTheFileSearchDoes) {
  struct Case {
    const char* mask;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.mdb", "A.mdb", true},       {"*.mdb", "b.MDB", true},      {"*.mdb", "a.mdb.bak", false},
      {"*.mdb", "mdb", false},        {"*.*", "Makefile", true},     {"*.*", "a.b", true},
      {"*.*", ".", true},             {"*", "x", true},              {"?.mdb", "单.mdb", true},
      {"??.mdb", "单.mdb", false},    {"a*b*c", "aXbYbc", true},     {"a*b*c", "aXbYbcd", false},
      {"data", "DATA", true},         {"x.*", "x", true},            {"*x", "单x", true},
      {"", "", true},                 {"", "a", false},              {"标准.*", "标准.mdb", true},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::wildcardMatch(c.mask, c.name), c.matches) << c.mask << " / " << c.name;
}

}  // namespace
