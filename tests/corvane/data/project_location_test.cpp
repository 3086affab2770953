// Locating the project and the current scheme.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "crt/paths.h"
#include "fixtures/project_fixture.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "win/transcript.h"

namespace {

const char* const kNoProject = "您还没有设定项目名称!";
const char* const kNoScheme = "您还没有指定设计方案名称!";

size_t MessageCount(const platform::TranscriptCapture& capture) {
  size_t count = 0;
  for (size_t at = capture.text().find("by default]"); at != std::string::npos;
       at = capture.text().find("by default]", at + 1))
    ++count;
  return count;
}

TEST(InstallFolderTest, UpperCasesThePathAndCutsTheModuleFileName) {
  struct Case {
    const char* modulePath;
    const char* folder;
  } cases[] = {
      {"c:\\tools\\corvane.arx", "C:\\TOOLS"},
      {"Z:\\opt\\suite\\install\\CORVANE.ARX", "Z:\\OPT\\SUITE\\INSTALL"},
      {"D:\\线路\\Corvane.Arx", "D:\\线路"},
      // Shipped under another name: nothing to cut.
      {"C:\\tools\\other.arx", "C:\\TOOLS\\OTHER.ARX"},
  };
  for (const Case& c : cases) EXPECT_EQ(InstallFolderOf(c.modulePath), c.folder) << c.modulePath;

  EXPECT_STREQ(ModuleFileName(), "\\CORVANE.ARX");
  ModulePathSource previous = SetModulePathSource([] { return CString("c:\\tools\\corvane.arx"); });
  EXPECT_EQ(ModulePath(), "c:\\tools\\corvane.arx");
  EXPECT_EQ(InstallFolder(), "C:\\TOOLS");
  SetModulePathSource(previous);
}

TEST(InstallFolderTest, DefaultModulePathIsThisProgramInWindowsForm) {
  ModulePathSource previous = SetModulePathSource({});
  CString path = ModulePath();
  SetModulePathSource(previous);
  ASSERT_GE(path.GetLength(), 3);
  EXPECT_EQ(path.Left(3), "Z:\\");
  CString upper = path;
  upper.MakeUpper();
  EXPECT_NE(upper.Find("TEST-CORVANE"), -1) << path.GetString();
}

TEST(DollarToSpaceTest, EveryDollarBecomesABlank) {
  struct Case {
    const char* stored;
    const char* folder;
  } cases[] = {
      {"D:\\My$Project", "D:\\My Project"},
      {"D:\\$a$$b$", "D:\\ a  b "},
      {"", ""},
      {"D:\\Plain", "D:\\Plain"},
  };
  CString saved = g_ProjectFolder;
  for (const Case& c : cases) {
    g_ProjectFolder = c.stored;
    DollarToSpaceInProjectPath();
    EXPECT_EQ(g_ProjectFolder, c.folder);
  }
  g_ProjectFolder = saved;
}

// One install folder on drive C and one project folder on drive D, with the
// module reporting its path in lower case as a user's installation may.
class ReadProjectAndSchemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetModulePathSource([this] {
      std::string path = m_install.windowsPath("INSTALL\\corvane.arx");
      for (char& ch : path) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      return CString(path);
    });
    std::filesystem::create_directories(installDir());
    g_ProjectFolder = "unset";
    g_SchemeName = "previous";
  }
  void TearDown() override { SetModulePathSource(m_previous); }

  std::string installDir() const { return m_install.linuxPath("INSTALL"); }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

TEST_F(ReadProjectAndSchemeTest, ReadsFirstWordsAndTurnsDollarsIntoBlanks) {
  fixtures::writeWorkdir(installDir(), m_projects.windowsPath("Rail Work\\Line1"), " more words");
  fixtures::writeProjectFile(m_projects.linuxPath("Rail Work/Line1"), "方案一", "project");

  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadProjectAndScheme(), 1);
  EXPECT_EQ(g_ProjectFolder, CString(m_projects.windowsPath("Rail Work\\Line1")));
  EXPECT_EQ(g_SchemeName, "方案一");
  EXPECT_EQ(MessageCount(capture), 0u) << capture.text();

  EXPECT_EQ(SchemeDatabasePath(), CString(m_projects.windowsPath("Rail Work\\Line1\\data\\方案一.mdb")));
  EXPECT_EQ(ResultFilePath("HdmResultData"),
            CString(m_projects.windowsPath("Rail Work\\Line1\\data\\HdmResultData.方案一")));
  EXPECT_EQ(TechParamsFilePath(), CString(m_projects.windowsPath("Rail Work\\Line1\\data\\jishucanshu.dat")));
}

TEST_F(ReadProjectAndSchemeTest, AcceptsALinuxProjectFolder) {
  std::string folder = m_projects.linuxPath("linux proj");
  fixtures::writeWorkdir(installDir(), folder);
  fixtures::writeProjectFile(folder, "S1");
  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadProjectAndScheme(), 1);
  EXPECT_EQ(g_ProjectFolder, CString(folder));
  EXPECT_EQ(g_SchemeName, "S1");
  EXPECT_EQ(MessageCount(capture), 0u);
}

TEST_F(ReadProjectAndSchemeTest, FindsTheNavigatorsUpperCaseProjectFile) {
  std::filesystem::create_directories(m_projects.linuxPath("P"));
  fixtures::writeTextFile(m_projects.linuxPath("P/Probe"), "x");
  if (!std::filesystem::exists(platform::resolvePath(m_projects.windowsPath("p\\probe"))))
    GTEST_SKIP() << "the path resolver does not match names without case yet";
  fixtures::writeWorkdir(installDir(), m_projects.windowsPath("P"));
  fixtures::writeProjectFile(m_projects.linuxPath("P"), "NAV", "PROJECT");
  EXPECT_EQ(ReadProjectAndScheme(), 1);
  EXPECT_EQ(g_SchemeName, "NAV");
}

struct FailureCase {
  const char* name;
  bool writeWorkdir;
  const char* workdirText;  // the whole file, when written
  bool makeFolder;
  bool writeProject;
  const char* projectText;
  const char* message;
  bool folderSet;  // the project folder stays set (else it is empty)
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ReadProjectAndSchemeFailureTest : public ReadProjectAndSchemeTest,
                                        public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ReadProjectAndSchemeFailureTest, ShowsItsMessageAndGivesZero) {
  const FailureCase& c = GetParam();
  std::string folder = m_projects.windowsPath("Proj");
  if (c.writeWorkdir)
    fixtures::writeTextFile(installDir() + "/workdir", c.workdirText ? c.workdirText : folder + "\n");
  if (c.makeFolder) std::filesystem::create_directories(m_projects.linuxPath("Proj"));
  if (c.writeProject) fixtures::writeTextFile(m_projects.linuxPath("Proj/project"), c.projectText);

  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadProjectAndScheme(), 0);
  EXPECT_EQ(MessageCount(capture), 1u) << capture.text();
  EXPECT_TRUE(capture.contains(c.message)) << capture.text();
  EXPECT_EQ(g_ProjectFolder, c.folderSet ? CString(folder) : CString());
  EXPECT_EQ(g_SchemeName, "previous");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadProjectAndSchemeFailureTest,
    ::testing::Values(FailureCase{"MissingWorkdir", false, nullptr, true, true, "S\n", kNoProject, false},
                      FailureCase{"EmptyWorkdir", true, " \n\n", true, true, "S\n", kNoProject, false},
                      FailureCase{"MissingProjectFile", true, nullptr, true, false, "", kNoScheme, true},
                      FailureCase{"MissingProjectFolder", true, nullptr, false, false, "", kNoScheme, true},
                      FailureCase{"EmptyProjectFile", true, nullptr, true, true, "  \n", kNoScheme, true}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
