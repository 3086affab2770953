// The navigator's scheme tree over project folders made by code: which
// schemes it lists, the tables it creates, the scheme it makes current,
// clicks and double-clicks, the template copy and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "NavigatorStartup.h"
#include "NavigatorState.h"
#include "SchemeTables.h"
#include "TableEditorDlg.h"
#include "TableEditors.h"
#include "arx/acui.h"
#include "arx/arx.h"
#include "navigator_fixture.h"
#include "project/ProjectLocation.h"
#include "win/transcript.h"

namespace navigatortest {
namespace {

using Texts = std::vector<std::string>;

// The 36 tables in the schema's order, as the tree lists them under a scheme.
Texts SchemaTables() {
  Texts names;
  for (const auto& t : scheme_tables::kTables) names.push_back(t.name);
  return names;
}

// The title of the editor's main window.
std::string FrameTitle() {
  CString title;
  acedGetAcadFrame()->GetWindowText(title);
  return title.GetString();
}

constexpr const char* kNoScheme = "您还没有设计线路方案，现在不能录入或查询数据！";
constexpr const char* kNoProject = "请指定工作目录和方案名称!";

TEST_F(NavigatorTest, BuildingListsTheSchemesAndPicksTheCurrentOne) {
  struct Case {
    const char* name;
    const char* scheme;            // `project` (null: no such file)
    bool dataFolder;
    Texts databases;               // template copies in the data folder
    Texts textFiles;               // files that are no database
    Texts roots;                   // the tree's roots after building
    const char* current;           // the current scheme name after building
    const char* projectFile;       // `project` after building, CR LF when rewritten (null: not there)
    const char* databasePath;      // file of the current database path under the project ("": empty)
    Texts messages;                // texts the transcript shows
    Texts absent;                  // texts it must not show
  } const cases[] = {
      {"project names a scheme without a database: the last listed becomes current", "c", true,
       {"a.mdb", "b.mdb"}, {"notes.txt"}, {"技术标准", "a", "b"}, "b", "b\r\n", "data\\b.mdb", {}, {kNoScheme}},
      {"the scheme's file matched whatever its case", "b", true, {"a.mdb", "B.MDB"}, {"readme.txt"},
       {"技术标准", "a", "B"}, "b", "b\n", "data\\b.mdb", {}, {kNoScheme}},
      {"a file that is no database is not listed", "b", true, {"b.mdb"}, {"x.mdb"}, {"技术标准", "b"}, "b", "b\n",
       "data\\b.mdb", {"连接数据库x失败!"}, {kNoScheme}},
      {"an empty data folder: the template becomes the scheme's database", "c", true, {}, {}, {"技术标准"}, "c",
       "c\n", "data\\c.mdb", {kNoScheme}, {}},
      {"no project file", nullptr, true, {"a.mdb"}, {}, {}, "", nullptr, "", {kNoProject}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    g_SchemeName.Empty();
    MakeProject(c.scheme, c.dataFolder);
    for (const std::string& db : c.databases) AddDatabase(db);
    for (const std::string& f : c.textFiles) AddTextFile(f, "not a database\n");
    platform::TranscriptCapture transcript;
    OpenTree();
    EXPECT_EQ(Roots(), c.roots);
    for (size_t i = 1; i < c.roots.size(); ++i) {
      EXPECT_EQ(TablesUnder(c.roots[i]), SchemaTables()) << c.roots[i];
      EXPECT_EQ(TableCount(DataFile(c.roots[i] == "B" ? "B.MDB" : c.roots[i] + ".mdb")), 36) << c.roots[i];
    }
    EXPECT_EQ(std::string(g_SchemeName.GetString()), c.current);
    if (c.projectFile) {
      EXPECT_EQ(ProjectFileText(), c.projectFile);
    } else {
      EXPECT_FALSE(std::filesystem::exists(m_project / "project"));
    }
    const std::string expectedPath = *c.databasePath ? ProjectWindowsUpper() + "\\" + c.databasePath : "";
    EXPECT_EQ(std::string(g_SchemeDatabasePath.GetString()), expectedPath);
    for (const std::string& m : c.messages) EXPECT_NE(transcript.text().find(m), std::string::npos) << m;
    for (const std::string& m : c.absent) EXPECT_EQ(transcript.text().find(m), std::string::npos) << m;
  }
}

TEST_F(NavigatorTest, TheTemplateCopyMakesTheSchemeListedByTheNextTree) {
  MakeProject("方案2");
  OpenTree();
  ASSERT_TRUE(std::filesystem::exists(DataFile("方案2.mdb")));
  EXPECT_EQ(TableCount(DataFile("方案2.mdb")), 0);  // the template has none of the tables
  EXPECT_EQ(std::string(g_SchemeDatabasePath.GetString()), ProjectWindowsUpper() + "\\data\\方案2.mdb");
  // TREE again: the new scheme is listed, with its 36 tables made.
  OpenTree();
  EXPECT_EQ(Roots(), (Texts{"技术标准", "方案2"}));
  EXPECT_EQ(TableCount(DataFile("方案2.mdb")), 36);
}

TEST_F(NavigatorTest, AMissingDataFolderIsAFailureNamingTheFileNotWritten) {
  MakeProject("c", false);
  platform::TranscriptCapture transcript;
  OpenTree();
  EXPECT_TRUE(Roots().empty());
  const std::string target = ProjectWindowsUpper() + "\\data\\c.mdb";
  EXPECT_NE(transcript.text().find("建立方案数据库 " + target + "!"), std::string::npos) << transcript.text();
  EXPECT_EQ(transcript.text().find(kNoScheme), std::string::npos);
  // No path to a file that is not there is kept as the current database.
  EXPECT_TRUE(g_SchemeDatabasePath.IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(m_project / "data"));
}

TEST_F(NavigatorTest, AMissingTemplateIsAFailureToo) {
  MakeProject("c");
  std::filesystem::remove(m_install / "lib" / "标准.mdb");
  platform::TranscriptCapture transcript;
  OpenTree();
  EXPECT_NE(transcript.text().find("建立方案数据库 " + ProjectWindowsUpper() + "\\data\\c.mdb!"), std::string::npos);
  EXPECT_TRUE(g_SchemeDatabasePath.IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(DataFile("c.mdb")));
}

TEST_F(NavigatorTest, AClickMakesItsSchemeCurrentAndTitlesTheFrame) {
  MakeProject("c");
  AddDatabase("a.mdb");
  AddDatabase("b.mdb");
  AddTextFile("notes.txt", "text");
  OpenTree();
  struct Step {
    const char* word;
    const char* projectFile;
    const char* title;  // under the project folder
  } const steps[] = {
      {"206=a/输入数据/平面/基线/曲线表", "a\r\n", "data\\a.mdb"},
      {"206=b/输入数据/插旗/基线/车站", "b\r\n", "data\\b.mdb"},
      {"206=a", "a\r\n", "data\\a.mdb"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.word);
    EXPECT_EQ(Play({s.word}), "");
    EXPECT_EQ(ProjectFileText(), s.projectFile);
    EXPECT_EQ(FrameTitle(), ProjectWindowsUpper() + "\\" + s.title);
    EXPECT_EQ(std::string(g_SchemeDatabasePath.GetString()), ProjectWindowsUpper() + "\\" + s.title);
  }
}

TEST_F(NavigatorTest, TechnicalStandardsLoadsKestrowAndSendsItsCommandEachTime) {
  MakeProject("b");
  AddDatabase("b.mdb");
  OpenTree();
  const std::string title = FrameTitle();
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(platform::isModuleLoaded("kestrow"));
  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Play({"206:dbl=技术标准"}), "");
    EXPECT_EQ(platform::pendingCommandStrings(), 1u);
    EXPECT_TRUE(platform::isModuleLoaded("kestrow"));
    // What was sent runs the stand-in's command.
    const platform::RunResult run = platform::runScriptText("");
    EXPECT_TRUE(run.ok) << run.error;
    size_t count = 0;
    for (size_t at = transcript.text().find("QUIB ran"); at != std::string::npos;
         at = transcript.text().find("QUIB ran", at + 1))
      ++count;
    EXPECT_EQ(count, static_cast<size_t>(i));
  }
  // The scheme file and the title stay as they were.
  EXPECT_EQ(ProjectFileText(), "b\n");
  EXPECT_EQ(FrameTitle(), title);
}

TEST_F(NavigatorTest, ATableEditorKeepsTheDatabaseItWasOpenedOn) {
  MakeProject("c");
  AddDatabase("a.mdb");
  AddDatabase("b.mdb");
  OpenTree();
  const int station = SchemeTableIndex("车站"), grade = SchemeTableIndex("坡度表");
  const std::string a = ProjectWindowsUpper() + "\\data\\a.mdb", b = ProjectWindowsUpper() + "\\data\\b.mdb";
  struct Step {
    const char* word;
    int editors;             // editors open after it
    int table;               // the editor looked at
    const char* path;        // its database
    bool sameAsBefore;       // the editor open before this step, brought forward
    bool active;             // the editor looked at is the active window
  } const steps[] = {
      {"206:dbl=b/输入数据/插旗/基线/车站", 1, station, b.c_str(), false, true},
      {"206:dbl=b/输入数据/插旗/基线/车站", 1, station, b.c_str(), true, true},
      // Another scheme's 车站: b's editor closes and one on a opens.
      {"206:dbl=a/输入数据/插旗/基线/车站", 1, station, a.c_str(), false, true},
      // The last scheme listed is b: a's grade table is edited in a.
      {"206:dbl=a/输入数据/纵断面/基线/坡度表", 2, grade, a.c_str(), false, true},
      // Group nodes and roots open nothing.
      {"206:dbl=a/输入数据/纵断面", 2, grade, a.c_str(), true, false},
      {"206:dbl=b", 2, grade, a.c_str(), true, false},
  };
  HWND before = nullptr;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.word);
    EXPECT_EQ(Play({s.word}), "");
    EXPECT_EQ(OpenedTableEditorCount(), s.editors);
    CTableEditorDlg* editor = OpenedTableEditor(s.table);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(::IsWindow(editor->GetSafeHwnd()));
    EXPECT_EQ(std::string(editor->TableName().GetString()), scheme_tables::kTables[s.table].name);
    EXPECT_EQ(std::string(editor->DatabasePath().GetString()), s.path);
    if (s.sameAsBefore) {
      EXPECT_EQ(editor->GetSafeHwnd(), before);
    }
    if (s.active) {
      EXPECT_EQ(::GetActiveWindow(), editor->GetSafeHwnd());
    }
    before = editor->GetSafeHwnd();
  }
  EXPECT_EQ(platform::pendingCommandStrings(), 0u);
  // The module's unload destroys them.
  const HWND station_window = OpenedTableEditor(station)->GetSafeHwnd();
  UnloadApplication();
  EXPECT_EQ(OpenedTableEditorCount(), 0);
  EXPECT_FALSE(::IsWindow(station_window));
  EXPECT_FALSE(::IsWindow(before));
}

}  // namespace
}  // namespace navigatortest
