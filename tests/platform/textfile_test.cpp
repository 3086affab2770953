#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "crt/textfile.h"
#include "platform/test_support.h"

namespace {

using testsupport::namesIn;
using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

// GBK bytes of the characters used below (from the GB 2312 table).
const std::string kDan = "\xB5\xA5";         // 单
const std::string kXian = "\xCF\xDF";        // 线
const std::string kZuo = "\xD7\xF3";         // 左
const std::string kMingCheng = "\xC3\xFB\xB3\xC6";  // 名称
const std::string kXin = "\xD0\xC2";         // 新

std::string readAllText(FILE* f) {
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
  return text;
}

std::optional<std::string> readThroughLayer(const std::string& path) {
  FILE* f = platform::openFile(path.c_str(), "r");
  if (!f) return std::nullopt;
  std::string text = readAllText(f);
  std::fclose(f);
  return text;
}

TEST(TextFileTest, WritingPutsGbkAndCrlfOnDisk) {
  struct Case {
    const char* what;
    std::string text;
    std::string disk;
  };
  const std::vector<Case> cases = {
      {"the example", "单线\n", kDan + kXian + "\r\n"},
      {"no line end at the end", "a\nb", "a\r\nb"},
      {"nothing written", "", ""},
      {"a CR written by the program is kept", "K1+200\r\n", "K1+200\r\r\n"},
      {"mixed text", "左线 12.500\n\n", kZuo + kXian + " 12.500\r\n\r\n"},
  };
  TempFolder tmp;
  for (const Case& c : cases) {
    const std::string path = tmp / "out.txt";
    FILE* f = platform::openFile(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << c.what;
    std::fputs(c.text.c_str(), f);
    EXPECT_EQ(std::fclose(f), 0) << c.what;
    EXPECT_EQ(readBytes(path), c.disk) << c.what;
    EXPECT_EQ(readThroughLayer(path), c.text) << c.what << " (read back)";
  }
}

TEST(TextFileTest, ReadingTakesUtf8OrGbkWithCrlfOrLf) {
  struct Case {
    const char* what;
    std::string disk;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"GBK with CRLF", kDan + kXian + "\r\n", "单线\n"},
      {"GBK with LF", kDan + kXian + "\n", "单线\n"},
      {"UTF-8 with CRLF", "单线\r\n", "单线\n"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF单线\n", "单线\n"},
      {"ASCII without a last line end", "abc", "abc"},
      {"a CR alone is kept", "a\rb\r\n", "a\rb\n"},
      {"an empty file", "", ""},
      {"a byte that is not GBK", kDan + "\xFF", "单\xEF\xBF\xBD"},
  };
  TempFolder tmp;
  for (const Case& c : cases) {
    const std::string path = tmp / "in.txt";
    writeBytes(path, c.disk);
    EXPECT_EQ(readThroughLayer(path), c.text) << c.what;
    EXPECT_EQ(readBytes(path), c.disk) << c.what << ": reading leaves the file as it was";
  }
}

TEST(TextFileTest, ScanfAndFgetsOverCrlf) {
  TempFolder tmp;
  const std::string path = tmp / "data.txt";
  writeBytes(path, "3\r\n1.5 -2.25e1\r\n" + kMingCheng + " 7\r\nlast");
  FILE* f = platform::openFile(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  int count = 0;
  double a = 0, b = 0;
  char name[32] = {};
  int n = 0;
  ASSERT_EQ(std::fscanf(f, "%d", &count), 1);
  ASSERT_EQ(std::fscanf(f, "%lf%lf", &a, &b), 2);
  ASSERT_EQ(std::fscanf(f, "%31s %d", name, &n), 2);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, -22.5);
  EXPECT_STREQ(name, "名称");
  EXPECT_EQ(n, 7);

  std::rewind(f);
  std::vector<std::string> lines;
  char line[64];
  while (std::fgets(line, sizeof line, f)) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"3\n", "1.5 -2.25e1\n", "名称 7\n", "last"}));
  EXPECT_TRUE(std::feof(f));

  EXPECT_EQ(std::fseek(f, 0, SEEK_SET), 0);
  int chars = 0;
  while (std::fgetc(f) != EOF) ++chars;
  EXPECT_EQ(chars, 2 + 12 + 9 + 4);  // UTF-8 bytes, one per line end
  EXPECT_TRUE(std::feof(f));
  EXPECT_EQ(std::fclose(f), 0);
}

// A count that is known only at the end is written as "%10d" first and
// rewritten after a rewind; the lines after it stay.
TEST(TextFileTest, CountRewrittenAfterRewindKeepsTheRest) {
  TempFolder tmp;
  const std::string path = tmp / "Zx3d.main";
  FILE* f = platform::openFile(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fprintf(f, "%10d\n", 0);
  for (int i = 1; i <= 3; ++i) std::fprintf(f, "%s %d\n", "左线", i);
  std::rewind(f);
  std::fprintf(f, "%10d", 3);
  ASSERT_EQ(std::fclose(f), 0);
  const std::string line = kZuo + kXian;
  EXPECT_EQ(readBytes(path), "         3\r\n" + line + " 1\r\n" + line + " 2\r\n" + line + " 3\r\n");

  // The same with "w+" over more lines than one stream buffer holds, read
  // back through the same stream.
  f = platform::openFile(path.c_str(), "w+");
  ASSERT_NE(f, nullptr);
  const int lines = 20000;  // about 300 KB
  std::fprintf(f, "%10d\n", 0);
  for (int i = 0; i < lines; ++i) std::fprintf(f, "%d 单线 %.3f\n", i, i * 0.5);
  std::rewind(f);
  std::fprintf(f, "%10d", lines);
  std::rewind(f);
  int count = 0;
  ASSERT_EQ(std::fscanf(f, "%d", &count), 1);
  EXPECT_EQ(count, lines);
  ASSERT_EQ(std::fclose(f), 0);

  std::optional<std::string> text = readThroughLayer(path);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 11), "     20000\n");
  EXPECT_EQ(text->substr(11, 15), "0 单线 0.000\n");
  const std::string last = "19999 单线 9999.500\n";
  ASSERT_GE(text->size(), last.size());
  EXPECT_EQ(text->substr(text->size() - last.size()), last);
  EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), lines + 1);
}

TEST(TextFileTest, Modes) {
  struct Case {
    const char* mode;
    std::optional<std::string> before;  // disk bytes before, nullopt: no file
    const char* write;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"r", std::string("单\n"), "", "单\n"},  // not written: UTF-8 stays UTF-8
      {"w", std::string("old\r\n"), "新\n", kXin + "\r\n"},
      {"wt", std::string("old\r\n"), "x\n", "x\r\n"},
      {"w", std::nullopt, "", ""},
      {"a", std::string("a\r\n"), "b\n", "a\r\nb\r\n"},
      {"a", std::string("单\n"), "线\n", kDan + "\r\n" + kXian + "\r\n"},
      {"a", std::nullopt, "z\n", "z\r\n"},
      {"a", std::string("keep\r\n"), "", "keep\r\n"},
      {"r+", std::string("abc\r\nd\r\n"), "X", "Xbc\r\nd\r\n"},
      {"w+", std::string("abc"), "Q\n", "Q\r\n"},
      {"a+", std::string("ab\r\n"), "c\n", "ab\r\nc\r\n"},
  };
  TempFolder tmp;
  for (const Case& c : cases) {
    const std::string path = tmp / "m.txt";
    std::filesystem::remove(path);
    if (c.before) writeBytes(path, *c.before);
    FILE* f = platform::openFile(path.c_str(), c.mode);
    ASSERT_NE(f, nullptr) << c.mode;
    if (*c.write) std::fputs(c.write, f);
    EXPECT_EQ(std::fclose(f), 0) << c.mode;
    EXPECT_EQ(readBytes(path), c.after) << c.mode << " over " << c.before.value_or("(no file)");
  }
}

TEST(TextFileTest, AppendPlusReadsFromTheStartAndWritesAtTheEnd) {
  TempFolder tmp;
  const std::string path = tmp / "ap.txt";
  writeBytes(path, "ab\r\n");
  FILE* f = platform::openFile(path.c_str(), "a+");
  ASSERT_NE(f, nullptr);
  char line[16];
  ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
  EXPECT_STREQ(line, "ab\n");
  std::fseek(f, 0, SEEK_SET);
  std::fputs("c\n", f);  // still at the end
  std::rewind(f);
  EXPECT_EQ(readAllText(f), "ab\nc\n");
  EXPECT_EQ(std::fclose(f), 0);
}

TEST(TextFileTest, OpenFailures) {
  TempFolder tmp;
  std::filesystem::create_directories(tmp / "folder");
  struct Case {
    const char* what;
    std::string path;
    const char* mode;
    int error;
  };
  const std::vector<Case> cases = {
      {"a missing file read", tmp / "none.txt", "r", ENOENT},
      {"a missing file updated", tmp / "none.txt", "r+", ENOENT},
      {"a missing file read in binary", tmp / "none.txt", "rb", ENOENT},
      {"a file in a missing folder", tmp / "nofolder/x.txt", "w", ENOENT},
      {"a folder", tmp / "folder", "r", EISDIR},
      {"a mode that is none", tmp / "x.txt", "q", EINVAL},
      {"an empty mode", tmp / "x.txt", "", EINVAL},
      {"an empty path", "", "r", ENOENT},
  };
  for (const Case& c : cases) {
    errno = 0;
    EXPECT_EQ(platform::openFile(c.path.c_str(), c.mode), nullptr) << c.what;
    EXPECT_EQ(errno, c.error) << c.what;
  }
  errno = 0;
  EXPECT_EQ(platform::openFile(nullptr, "r"), nullptr);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(testsupport::exists(tmp / "x.txt"));
  EXPECT_FALSE(testsupport::exists(tmp / "nofolder"));
}

TEST(TextFileTest, BinaryModeIsUntouched) {
  TempFolder tmp;
  const std::string path = tmp / "b.dat";
  FILE* f = platform::openFile(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("单线\n", f);
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(readBytes(path), "\xE5\x8D\x95\xE7\xBA\xBF\n");

  writeBytes(path, kDan + "\r\n");
  f = platform::openFile(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(readAllText(f), kDan + "\r\n");
  EXPECT_EQ(std::fclose(f), 0);
}

TEST(TextFileTest, ExistingFileStaysUntilTheNewContentIsWritten) {
  TempFolder tmp;
  const std::string path = tmp / "result.txt";
  writeBytes(path, "old\r\n");
  FILE* f = platform::openFile(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(readBytes(path), "old\r\n");
  std::fputs("单线\n", f);
  EXPECT_EQ(readBytes(path), "old\r\n");  // still in the stream
  // A flush leaves the disk alone: the file is replaced at fclose only.
  ASSERT_EQ(std::fflush(f), 0);
  EXPECT_EQ(readBytes(path), "old\r\n");
  EXPECT_EQ(readThroughLayer(path), "old\n");
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(readBytes(path), kDan + kXian + "\r\n");

  // A new file is not there, not even empty, before it is closed.
  const std::string fresh = tmp / "fresh.txt";
  f = platform::openFile(fresh.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("x\n", f);
  ASSERT_EQ(std::fflush(f), 0);
  EXPECT_FALSE(testsupport::exists(fresh));
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(readBytes(fresh), "x\r\n");
}

// A count written last into the head of the file (a count of 0 first, the
// body, a rewind, then the count): whatever moment the writer stops at before
// fclose, the file on disk is the old one, and after fclose the new one whole.
TEST(TextFileTest, CountWrittenAfterTheBodyIsNeverSeenApart) {
  TempFolder tmp;
  const std::string path = tmp / "tsfjsb.main";
  writeBytes(path, "         1\r\nold\r\n");
  struct Moment {
    const char* what;
    int stopAfter;  // the writer's steps done before it stops: 1 count 0, 2 body, 3 rewind, 4 count, 5 fclose
    std::string disk;
  };
  const std::string old = "         1\r\nold\r\n";
  const std::string whole = "         2\r\na\r\nb\r\n";
  const std::vector<Moment> moments = {
      {"after the open", 0, old},          {"after the count of 0", 1, old}, {"after the body", 2, old},
      {"after the rewind", 3, old},        {"after the count", 4, old},      {"after fclose", 5, whole},
  };
  for (const Moment& m : moments) {
    writeBytes(path, old);
    // The writer runs in a child that ends at once (as if killed) at its moment.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FILE* f = platform::openFile(path.c_str(), "w");
      if (!f) _exit(2);
      if (m.stopAfter >= 1) std::fprintf(f, "%10d\n", 0);
      if (m.stopAfter >= 2) std::fputs("a\nb\n", f);
      if (m.stopAfter >= 3) std::rewind(f);
      if (m.stopAfter >= 4) std::fprintf(f, "%10d", 2);
      if (m.stopAfter >= 5 && std::fclose(f) != 0) _exit(3);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << m.what;
    EXPECT_EQ(readBytes(path), m.disk) << m.what;
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.path())) ++files;
    EXPECT_EQ(files, 1) << m.what;
  }
}

// A temporary file left by a writer that was killed while it wrote is named
// as one, and goes at the next write of the same file; one of a process
// that still runs, or of another file, stays.
TEST(TextFileTest, TemporaryFilesOfKilledWritersAreRemoved) {
  TempFolder tmp;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(getppid());
  const std::string path = tmp / "RXDBJPT.main";
  struct Left {
    std::string name;
    bool stays;
  };
  const std::vector<Left> left = {
      {".RXDBJPT.main." + dead + ".aB3xYz.tmp", false},
      {".RXDBJPT.main." + alive + ".Qq0000.tmp", true},
      {".BJPT.main." + dead + ".aB3xYz.tmp", true},  // another file's: removed when that one is written
      {".RXDBJPT.main.aB3xYz", true},                // not of our naming: left alone
  };
  for (const Left& l : left) writeBytes(tmp / l.name, "partial");
  FILE* f = platform::openFile(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("1\n", f);
  ASSERT_EQ(std::fclose(f), 0);
  EXPECT_EQ(readBytes(path), "1\r\n");
  for (const Left& l : left) EXPECT_EQ(testsupport::exists(tmp / l.name), l.stays) << l.name;
}

TEST(TextFileTest, TemporaryFileNames) {
  struct Case {
    std::string name;
    bool temporary;
  };
  const std::vector<Case> cases = {
      {".HdmResultData.main.1234.aB3xYz.tmp", true},
      {".平面.dxf.77.000000.tmp", true},
      {".x.1.abcdef.tmp", true},
      {"HdmResultData.main", false},
      {".HdmResultData.main.aB3xYz", false},         // no process id
      {".HdmResultData.main.12a4.aB3xYz.tmp", false},  // not a number
      {".HdmResultData.main.1234.aB3x.tmp", false},    // too few random characters
      {".HdmResultData.main.1234.aB3xYz", false},      // no .tmp
      {"..1234.aB3xYz.tmp", false},                    // no name
      {"a.1234.aB3xYz.tmp", false},                    // not hidden
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::isTemporaryFile(c.name), c.temporary) << c.name;
}

// Any file replaced whole: a write the disk refuses leaves the old bytes.
TEST(TextFileTest, ReplaceFileKeepsTheOldFileWhenTheWriteFails) {
  TempFolder tmp;
  struct Case {
    const char* what;
    std::string path;
    std::string bytes;
    long limit;  // the largest file the process may write, 0: none
    bool ok;
    std::string after;
  };
  const std::string old = "0\nSECTION\n";
  const std::vector<Case> cases = {
      {"a drawing replaced", tmp / "plan.dxf", std::string(3000, 'd'), 0, true, std::string(3000, 'd')},
      {"a drawing the disk refuses", tmp / "plan.dxf", std::string(3000, 'e'), 1000, false, old},
      {"a drawing written durably", tmp / "sheet.svg", "<svg/>", 0, true, "<svg/>"},
      {"a folder that is missing", tmp / "none/plan.dxf", "x", 0, false, ""},
      {"an empty name", "", "x", 0, false, ""},
  };
  for (const Case& c : cases) {
    if (!c.path.empty() && testsupport::exists(std::filesystem::path(c.path).parent_path()))
      writeBytes(c.path, old);
    bool ok = false;
    {
      testsupport::ScopedFileSizeLimit limit(c.limit);
      ASSERT_TRUE(limit.ok());
      ok = platform::replaceFile(c.path.c_str(), c.bytes, std::string(c.what).find("durably") != std::string::npos);
    }
    EXPECT_EQ(ok, c.ok) << c.what;
    if (!c.after.empty()) {
      EXPECT_EQ(readBytes(c.path), c.after) << c.what;
    }
  }
  EXPECT_EQ(namesIn(tmp.path()), (std::vector<std::string>{"plan.dxf", "sheet.svg"}));  // no temporary file
}

// A file that may not be written (mode 0444 in a folder that may be) is not
// replaced, though a rename could: the write is refused with EACCES and the
// file stays as it was, with no temporary file beside it. Permissions do not
// bind the superuser, so a test run as root writes as "nobody"; each case
// runs in a child, which answers by its exit status.
TEST(TextFileTest, AWriteProtectedFileIsNotReplaced) {
  struct Case {
    const char* what;
    mode_t mode;
    bool throughLink;  // written through a symbolic link to it
    bool textStream;   // through openFile's stream rather than replaceFile
    bool replaced;
  };
  const std::vector<Case> cases = {
      {"a write-protected file", 0444, false, false, false},
      {"a write-protected file through a link", 0444, true, false, false},
      {"a file only its group may write", 0464, false, false, false},
      {"a file its owner may write", 0644, false, false, true},
      {"a file its owner may write, through a link", 0644, true, false, true},
      {"a writable file through a text stream", 0644, false, true, true},
  };
  enum Status { kAsExpected = 0, kWrongResult, kWrongError, kChanged, kTemporaryLeft, kCannotDrop, kSetUp };
  TempFolder tmp;
  ASSERT_EQ(chmod(tmp.path().c_str(), 0777), 0);  // the folder may be written by anyone
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = tmp / "plan.dxf";
    const std::string link = tmp / "link.dxf";
    std::filesystem::remove(file);
    std::filesystem::remove(link);
    std::fflush(stdout);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(kCannotDrop);
      const std::string old = "0\nSECTION\n";
      writeBytes(file, old);
      if (chmod(file.c_str(), c.mode) != 0) _exit(kSetUp);
      if (c.throughLink && symlink(file.c_str(), link.c_str()) != 0) _exit(kSetUp);
      const std::string& path = c.throughLink ? link : file;
      errno = 0;
      bool ok;
      if (c.textStream) {
        FILE* f = platform::openFile(path.c_str(), "w");
        ok = f && std::fputs("new\n", f) >= 0 && std::fclose(f) == 0;
      } else {
        ok = platform::replaceFile(path.c_str(), "new\r\n", true);
      }
      const int error = errno;
      if (ok != c.replaced) _exit(kWrongResult);
      if (!ok && error != EACCES) _exit(kWrongError);
      if (readBytes(file) != (c.replaced ? std::string("new\r\n") : old)) _exit(kChanged);
      for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        if (platform::isTemporaryFile(e.path().filename().string())) _exit(kTemporaryLeft);
      _exit(kAsExpected);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotDrop) GTEST_SKIP() << "running as root and cannot write as another user";
    EXPECT_EQ(WEXITSTATUS(status), kAsExpected)
        << "1 wrong result, 2 not EACCES, 3 the file changed, 4 a temporary file left, 6 set-up failed";
  }
}

// A new file gets 0666 less the umask (not a fixed mode); a file replaced
// keeps its own mode whatever the umask.
TEST(TextFileTest, PermissionsOfNewAndReplacedFiles) {
  struct Case {
    const char* what;
    mode_t umask;
    std::optional<mode_t> before;  // the existing file's mode; nullopt: no file
    bool textStream;
    mode_t after;
  };
  const std::vector<Case> cases = {
      {"new, umask 077", 077, std::nullopt, false, 0600},
      {"new, umask 022", 022, std::nullopt, false, 0644},
      {"new, umask 002", 002, std::nullopt, false, 0664},
      {"new, umask 027", 027, std::nullopt, false, 0640},
      {"new, umask 000", 000, std::nullopt, false, 0666},
      {"new through a text stream, umask 077", 077, std::nullopt, true, 0600},
      {"existing 0640, umask 077", 077, 0640, false, 0640},
      {"existing 0640, umask 000", 000, 0640, false, 0640},
      {"existing 0600, umask 022", 022, 0600, false, 0600},
      {"existing 0664 through a text stream, umask 077", 077, 0664, true, 0664},
  };
  TempFolder tmp;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = tmp / "sheet.svg";
    std::filesystem::remove(path);
    if (c.before) {
      writeBytes(path, "old");
      ASSERT_EQ(chmod(path.c_str(), *c.before), 0);
    }
    const mode_t saved = umask(c.umask);
    bool ok;
    if (c.textStream) {
      FILE* f = platform::openFile(path.c_str(), "w");
      ok = f && std::fclose(f) == 0;
    } else {
      ok = platform::replaceFile(path.c_str(), "<svg/>");
    }
    umask(saved);
    ASSERT_TRUE(ok);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.after) << std::oct << (st.st_mode & 07777);
  }
}

// The disk refuses the new content (here: a file-size limit): fclose reports
// the failure and the old file is left whole, with no temporary file behind.
TEST(TextFileTest, FailedWriteIsReportedAndKeepsTheOldFile) {
  TempFolder tmp;
  const std::string path = tmp / "HdmResultData.main";
  writeBytes(path, "old\r\n");
  FILE* f = platform::openFile(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(std::string(5000, 'x').c_str(), f);

  int closed = 0;
  int error = 0;
  {
    testsupport::ScopedFileSizeLimit limit(1000);
    ASSERT_TRUE(limit.ok());
    errno = 0;
    closed = std::fclose(f);
    error = errno;
  }

  EXPECT_EQ(closed, EOF);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(readBytes(path), "old\r\n");
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(TextFileTest, ConversionHelpers) {
  EXPECT_EQ(platform::textToDisk("单线\n"), kDan + kXian + "\r\n");
  EXPECT_EQ(platform::textFromDisk(kDan + kXian + "\r\n"), "单线\n");
  EXPECT_EQ(platform::textFromDisk("\xEF\xBB\xBF" "a\r\n"), "a\n");
}

}  // namespace
