// The registry over the user's configuration file, and the wheel-scroll lines
// the grid reads from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/test_support.h"
#include "win/registry.h"
#include "win/sysparams.h"
#include "win/transcript.h"

namespace {

// The grid's own read: open the key, read the value into a 128-byte buffer,
// take it as a decimal number, 3 when either step fails.
int gridWheelLines() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 3;
  char buffer[128];
  DWORD size = sizeof buffer, type = 0;
  LONG rc = RegQueryValueEx(key, "WheelScrollLines", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? std::atoi(buffer) : 3;
}

TEST(Registry, WheelScrollLines) {
  struct Case {
    const char* what;
    const char* file;  // null: no file at all
    int lines;
  };
  const std::string longValue(200, '7');
  const std::vector<Case> cases = {
      {"no file: the default", nullptr, 3},
      {"an empty file", "", 3},
      {"configured", "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\nWheelScrollLines=5\n", 5},
      {"names in another case, CR LF, quotes", "[hkcu\\control panel\\DESKTOP]\r\nwheelscrolllines = \"12\"\r\n", 12},
      {"the key without the value", "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\nOther=1\n", 3},
      {"the value under another key", "[HKEY_CURRENT_USER\\Control Panel\\Mouse]\nWheelScrollLines=9\n", 3},
      {"a value too long for 128 bytes", nullptr, 3},  // file written below
  };
  testsupport::TempFolder tmp;
  std::string file = tmp / "registry.ini";
  testsupport::ScopedEnv env("CADHOST_REGISTRY", file);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(file);
    if (c.file) testsupport::writeBytes(file, c.file);
    if (std::string(c.what).rfind("a value too long", 0) == 0)
      testsupport::writeBytes(file, "[HKCU\\Control Panel\\Desktop]\nWheelScrollLines=" + longValue + "\n");
    EXPECT_EQ(gridWheelLines(), c.lines);
    EXPECT_EQ(platform::wheelScrollLines(), c.lines);
    UINT spi = 0;
    EXPECT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &spi, 0));
    EXPECT_EQ(spi, static_cast<UINT>(c.lines));
  }
}

TEST(Registry, ValuesKeysAndHandles) {
  testsupport::TempFolder tmp;
  std::string file = tmp / "registry.ini";
  testsupport::ScopedEnv env("CADHOST_REGISTRY", file);
  testsupport::writeBytes(file,
                          "; settings\n"
                          "[HKEY_CURRENT_USER\\Software\\铁路\\Grid]\n"
                          "@=默认\n"
                          "Count=dword:0000000a\n"
                          "Bad=dword:xyz\n"
                          "no equals sign\n"
                          "[NOWHERE\\Key]\n"
                          "Lost=1\n");
  platform::TranscriptCapture shown;
  HKEY software = nullptr, grid = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS)
      << "a key above a section exists";
  ASSERT_EQ(RegOpenKeyEx(software, "铁路\\Grid", 0, KEY_READ, &grid), ERROR_SUCCESS);
  // Bad lines are named with the file and skipped.
  EXPECT_TRUE(shown.contains(file + " line 5"));
  EXPECT_TRUE(shown.contains(file + " line 6"));
  EXPECT_TRUE(shown.contains(file + " line 7"));
  EXPECT_TRUE(shown.contains(file + " line 8"));

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(grid, nullptr, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 7u) << "默认 and its zero byte";
  char small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(grid, "", nullptr, &type, reinterpret_cast<LPBYTE>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 7u);
  DWORD count = 0;
  size = sizeof count;
  EXPECT_EQ(RegQueryValueEx(grid, "count", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(count, 10u);
  EXPECT_EQ(RegQueryValueEx(grid, "Bad", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  HKEY missing = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Other", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(RegCloseKey(grid), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(grid), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueEx(grid, "Count", nullptr, &type, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST(Registry, FileOfTheUsersConfiguration) {
  testsupport::ScopedEnv unset("CADHOST_REGISTRY", std::nullopt);
  {
    testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(platform::registryFile(), "/tmp/cfg/cadhost/registry.ini");
  }
  testsupport::ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
  testsupport::ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(platform::registryFile(), "/home/someone/.config/cadhost/registry.ini");
}

}  // namespace
