#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sheet_support.h"
#include "platform/test_support.h"
#include "sheet/workbook.h"

namespace {

using testsupport::namesIn;
using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

// Runs a save in a child process under a restriction the test cannot undo in
// its own process (another user, a file-size limit). The child's exit status:
// 0 the save was refused with a message naming the file, 1 it succeeded,
// 2 it was refused without naming the file, 3 the restriction could not be set.
int saveInChild(sheet::WorkbookModel& book, const std::string& path, const std::function<bool()>& restrict) {
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    if (!restrict()) _exit(3);
    std::string error;
    bool saved = book.saveAs(path, &error);
    _exit(saved ? 1 : error.find(path) != std::string::npos ? 0 : 2);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A save that fails keeps the workbook saved before and leaves no temporary
// file behind.
TEST(SheetSaveFailure, AFailedSaveKeepsTheOldFile) {
  // Permissions bind every user but the superuser: drop to "nobody".
  auto asNobody = [] { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); };
  struct Case {
    const char* name;
    mode_t folderMode;
    mode_t fileMode;
    std::function<bool()> restrict;
  } cases[] = {
      {"read-only folder", 0555, 0644, asNobody},
      // The folder would let a rename replace it: the file's own mode refuses.
      {"write-protected file", 0777, 0444, asNobody},
      {"disk full while writing", 0755, 0644,
       [] {
         signal(SIGXFSZ, SIG_IGN);
         rlimit limit{1024, 1024};  // the new file cannot grow past 1 KiB
         return setrlimit(RLIMIT_FSIZE, &limit) == 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder tmp;
    chmod(tmp.path().c_str(), 0755);
    std::string folder = tmp / "data";
    std::string path = folder + "/路基数量表.A.xlsx";
    const std::string old = "the workbook saved the last time";
    writeBytes(path, old);

    std::string error;
    std::unique_ptr<sheet::WorkbookModel> book = sheet::WorkbookModel::open(sheettest::templatePath(), &error);
    ASSERT_TRUE(book) << error;
    sheet::WorksheetModel* ws = book->sheet("路基数量表", &error);
    ASSERT_TRUE(ws) << error;
    ws->setText({3, 1}, "DK0+000");

    chmod(folder.c_str(), c.folderMode);
    chmod(path.c_str(), c.fileMode);
    int status = saveInChild(*book, path, c.restrict);
    chmod(folder.c_str(), 0755);
    chmod(path.c_str(), 0644);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"路基数量表.A.xlsx"});

    // Without the restriction the same save goes through.
    ASSERT_TRUE(book->saveAs(path, &error)) << error;
    EXPECT_EQ(readBytes(path).substr(0, 2), "PK");
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"路基数量表.A.xlsx"});
  }
}

}  // namespace
