#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "mfc/afx.h"
#include "crt/paths.h"
#include "platform/test_support.h"

namespace {

using testsupport::readBytes;
using testsupport::ScopedEnv;
using testsupport::TempFolder;
using testsupport::writeBytes;

// A project's data folder on drive D:.
class FilesTest : public ::testing::Test {
 protected:
  FilesTest() : m_env("CADHOST_DRIVE_ROOT", m_tmp / "drives") {
    writeBytes(data("A.mdb"), "12345");
    writeBytes(data("b.MDB"), "");
    writeBytes(data("c.txt"), "abc");
    writeBytes(data("标准.mdb"), "");
    std::filesystem::create_directories(data("Sub"));
  }
  std::string data(const std::string& name) const { return m_tmp / ("drives/D/proj/data/" + name); }

  struct Found {
    std::string name, path, title;
    bool directory, dots;
  };
  static std::vector<Found> findAll(const char* pattern, BOOL* started = nullptr) {
    std::vector<Found> found;
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    if (started) *started = more;
    while (more) {
      more = finder.FindNextFile();
      found.push_back({finder.GetFileName().str(), finder.GetFilePath().str(), finder.GetFileTitle().str(),
                       finder.IsDirectory() != FALSE, finder.IsDots() != FALSE});
    }
    return found;
  }
  static std::vector<std::string> names(const std::vector<Found>& found) {
    std::vector<std::string> n;
    for (const Found& f : found) n.push_back(f.name);
    return n;
  }

  TempFolder m_tmp;
  ScopedEnv m_env;
};

TEST_F(FilesTest, FindFileWithWildcards) {
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"D:\\proj\\data\\*.mdb", {"A.mdb", "b.MDB", "标准.mdb"}},
      {"D:\\PROJ\\DATA\\*.MDB", {"A.mdb", "b.MDB", "标准.mdb"}},
      {"D:\\proj\\\\data\\\\*.*", {".", "..", "A.mdb", "b.MDB", "c.txt", "Sub", "标准.mdb"}},
      {"D:\\proj\\data\\*", {".", "..", "A.mdb", "b.MDB", "c.txt", "Sub", "标准.mdb"}},
      {"D:\\proj\\data\\?.mdb", {"A.mdb", "b.MDB"}},
      {"D:\\proj\\data\\c.*", {"c.txt"}},
      {"D:\\proj\\data\\SUB", {"Sub"}},
      {"D:\\proj\\data\\nothing*", {}},
      {"D:\\proj\\nofolder\\*.*", {}},
      {"D:\\proj\\data\\", {}},
  };
  for (const Case& c : cases) {
    BOOL started = FALSE;
    std::vector<Found> found = findAll(c.pattern, &started);
    EXPECT_EQ(names(found), c.names) << c.pattern;
    EXPECT_EQ(started != FALSE, !c.names.empty()) << c.pattern;
  }
}

TEST_F(FilesTest, FoundFilesInTheFormAskedFor) {
  std::vector<Found> found = findAll("D:\\proj\\\\data\\\\*.*");
  ASSERT_EQ(found.size(), 7u);
  EXPECT_TRUE(found[0].dots && found[0].directory);
  EXPECT_TRUE(found[1].dots && found[1].directory);
  EXPECT_EQ(found[2].path, "D:\\proj\\data\\A.mdb");
  EXPECT_EQ(found[2].title, "A");
  EXPECT_FALSE(found[2].directory);
  EXPECT_EQ(found[5].name, "Sub");
  EXPECT_TRUE(found[5].directory);
  EXPECT_FALSE(found[5].dots);
  EXPECT_EQ(found[6].path, "D:\\proj\\data\\标准.mdb");
  EXPECT_EQ(found[6].title, "标准");

  // A Linux path gives Linux paths.
  std::vector<Found> linux = findAll((m_tmp / "drives/D/proj/data/*.txt").c_str());
  ASSERT_EQ(linux.size(), 1u);
  EXPECT_EQ(linux[0].path, data("c.txt"));

  // The current folder, with no name: Windows form.
  testsupport::ScopedCwd cwd(data(""));
  std::vector<Found> here = findAll(nullptr);
  ASSERT_EQ(here.size(), 7u);
  EXPECT_EQ(here[4].path, platform::toWindowsPath(data("c.txt")));

  // The files found open through their paths.
  CFile file;
  ASSERT_TRUE(file.Open(here[2].path.c_str(), CFile::modeRead));
  EXPECT_EQ(file.GetLength(), 5u);
}

TEST_F(FilesTest, FinderStateBeforeAndAfter) {
  CFileFind finder;
  EXPECT_EQ(finder.GetFileName(), "");
  ASSERT_TRUE(finder.FindFile("D:\\proj\\data\\c.txt"));
  EXPECT_EQ(finder.GetFileName(), "");  // not moved to a file yet
  EXPECT_FALSE(finder.FindNextFile());  // the only one
  EXPECT_EQ(finder.GetFileName(), "c.txt");
  EXPECT_EQ(finder.GetLength(), 3u);
  EXPECT_EQ(finder.GetRoot(), "D:\\proj\\data");
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFileName(), "c.txt");
  finder.Close();
  EXPECT_EQ(finder.GetFileName(), "");
  EXPECT_FALSE(finder.IsDirectory());
}

TEST_F(FilesTest, StdioFileTextMode) {
  {
    CStdioFile out;
    ASSERT_TRUE(out.Open("D:\\proj\\data\\Notes.txt", CFile::modeCreate | CFile::modeWrite));
    out.WriteString("单线\n");
    out.WriteString("\n");
    out.WriteString(std::string(1500, 'x').c_str());
    out.WriteString("\n左线");
    out.Close();
  }
  const std::string disk = readBytes(data("Notes.txt"));
  EXPECT_EQ(disk, "\xB5\xA5\xCF\xDF\r\n\r\n" + std::string(1500, 'x') + "\r\n\xD7\xF3\xCF\xDF");

  CStdioFile in("d:\\PROJ\\DATA\\notes.TXT", CFile::modeRead);
  CString line;
  std::vector<std::string> lines;
  while (in.ReadString(line)) lines.push_back(line.str());
  EXPECT_EQ(lines, (std::vector<std::string>{"单线", "", std::string(1500, 'x'), "左线"}));
  EXPECT_FALSE(in.ReadString(line));
  EXPECT_EQ(line, "");

  in.SeekToBegin();
  char buffer[8];
  ASSERT_NE(in.ReadString(buffer, 4), nullptr);
  EXPECT_STREQ(buffer, "单");  // three bytes and the terminator
  ASSERT_NE(in.ReadString(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "线\n");  // the line end is kept
  EXPECT_EQ(in.GetFileName(), "notes.TXT");
  EXPECT_EQ(in.GetFileTitle(), "notes");
  EXPECT_EQ(in.GetFilePath(), "d:\\PROJ\\DATA\\notes.TXT");
  in.Close();

  // Create without truncation writes at the end.
  CStdioFile more;
  ASSERT_TRUE(more.Open("D:\\proj\\data\\c.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
  more.WriteString("\n新");
  more.Close();
  EXPECT_EQ(readBytes(data("c.txt")), "abc\r\n\xD0\xC2");
}

TEST_F(FilesTest, BinaryFile) {
  CFile f;
  ASSERT_TRUE(f.Open("D:\\proj\\data\\blob.dat", CFile::modeCreate | CFile::modeReadWrite));
  const char bytes[] = "\x01\x02\n\r\x00\xFF";
  f.Write(bytes, 6);
  EXPECT_EQ(f.GetLength(), 6u);
  EXPECT_EQ(f.GetPosition(), 6u);
  EXPECT_EQ(f.Seek(2, CFile::begin), 2u);
  char back[8] = {};
  EXPECT_EQ(f.Read(back, 8), 4u);
  EXPECT_EQ(std::memcmp(back, bytes + 2, 4), 0);
  EXPECT_EQ(f.Seek(-1, CFile::end), 5u);
  f.Close();
  EXPECT_EQ(readBytes(data("blob.dat")), std::string(bytes, 6));

  // modeCreate|modeNoTruncate keeps the file; writing starts at its beginning.
  ASSERT_TRUE(f.Open("D:\\proj\\data\\blob.dat", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
  f.Write("AB", 2);
  f.Close();
  EXPECT_EQ(readBytes(data("blob.dat")), std::string("AB\n\r\x00\xFF", 6));
}

TEST_F(FilesTest, Failures) {
  CFile f;
  CFileException error;
  EXPECT_FALSE(f.Open("D:\\proj\\data\\none.dat", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName, "D:\\proj\\data\\none.dat");
  char message[256];
  EXPECT_TRUE(error.GetErrorMessage(message, sizeof message));
  EXPECT_STREQ(message, "找不到文件: D:\\proj\\data\\none.dat");
  char small[8];
  EXPECT_TRUE(error.GetErrorMessage(small, sizeof small));
  EXPECT_STREQ(small, "找不");  // bounded, whole characters only

  int cause = -1;
  try {
    CStdioFile thrower("D:\\proj\\nofolder\\x.txt", CFile::modeCreate | CFile::modeWrite);
  } catch (CFileException* e) {
    cause = e->m_cause;
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CFile)));
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::fileNotFound);

  // Reading a file that is not open.
  cause = -1;
  try {
    char b[4];
    f.Read(b, 4);
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::invalidFile);

  struct Errno {
    int value;
    int cause;
  };
  const Errno map[] = {{ENOENT, CFileException::fileNotFound}, {EACCES, CFileException::accessDenied},
                       {ENOSPC, CFileException::diskFull},     {ENOTDIR, CFileException::badPath},
                       {EMFILE, CFileException::tooManyOpenFiles}, {0, CFileException::none},
                       {EPROTO, CFileException::genericException}};
  for (const Errno& m : map) EXPECT_EQ(CFileException::ErrnoToException(m.value), m.cause) << m.value;
}

TEST_F(FilesTest, RemoveAndRename) {
  CFile::Rename("D:\\proj\\data\\C.TXT", "D:\\proj\\data\\Renamed.txt");
  EXPECT_FALSE(testsupport::exists(data("c.txt")));
  EXPECT_EQ(readBytes(data("Renamed.txt")), "abc");
  CFile::Remove("d:\\proj\\data\\RENAMED.TXT");
  EXPECT_FALSE(testsupport::exists(data("Renamed.txt")));
  int cause = -1;
  try {
    CFile::Remove("D:\\proj\\data\\Renamed.txt");
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(cause, CFileException::fileNotFound);
}

}  // namespace
