// CopyFile: a copy that replaces its target only once complete, and the
// errors of a missing source, a missing target folder and a kept target.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "crt/paths.h"
#include "crt/textfile.h"
#include "platform/test_support.h"
#include "win/filemap.h"

namespace {

using testsupport::readBytes;
using testsupport::ScopedEnv;
using testsupport::TempFolder;
using testsupport::writeBytes;

TEST(CopyFile, CopiesReplacesOrReportsWhyNot) {
  TempFolder tmp;
  ScopedEnv env("CADHOST_DRIVE_ROOT", tmp / "drives");
  writeBytes(tmp / "drives/D/lib/标准.mdb", "template");
  std::filesystem::create_directories(tmp / "drives/D/proj/data");

  struct Case {
    const char* from;
    const char* to;
    BOOL failIfExists;
    const char* existing;  // the target's content before (nullptr: none)
    BOOL result;
    DWORD error;
    const char* after;  // the target's content after (nullptr: none)
  } const cases[] = {
      {"D:\\lib\\标准.mdb", "D:\\proj\\data\\方案1.mdb", FALSE, nullptr, TRUE, ERROR_SUCCESS, "template"},
      {"D:\\LIB\\标准.MDB", "D:\\proj\\DATA\\a.mdb", FALSE, "old rows", TRUE, ERROR_SUCCESS, "template"},
      {"D:\\lib\\标准.mdb", "D:\\proj\\data\\b.mdb", TRUE, "old rows", FALSE, ERROR_FILE_EXISTS, "old rows"},
      {"D:\\lib\\missing.mdb", "D:\\proj\\data\\c.mdb", FALSE, nullptr, FALSE, ERROR_FILE_NOT_FOUND, nullptr},
      {"D:\\lib\\标准.mdb", "D:\\other\\data\\d.mdb", FALSE, nullptr, FALSE, ERROR_PATH_NOT_FOUND, nullptr},
      {"", "D:\\proj\\data\\e.mdb", FALSE, nullptr, FALSE, ERROR_INVALID_PARAMETER, nullptr},
  };
  for (const Case& c : cases) {
    const std::string target = platform::resolvePath(c.to);
    if (c.existing) writeBytes(target, c.existing);
    SetLastError(12345);
    EXPECT_EQ(CopyFile(c.from, c.to, c.failIfExists), c.result) << c.to;
    EXPECT_EQ(GetLastError(), c.error) << c.to;
    if (c.after) {
      EXPECT_EQ(readBytes(target), c.after) << c.to;
    } else {
      EXPECT_FALSE(std::filesystem::exists(target)) << c.to;
    }
  }
  // No half-written copy is left beside a target.
  for (const auto& e : std::filesystem::directory_iterator(tmp / "drives/D/proj/data"))
    EXPECT_FALSE(platform::isTemporaryFile(e.path().filename().string())) << e.path();
}

}  // namespace
