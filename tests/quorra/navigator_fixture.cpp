#include "navigator_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "NavigatorStartup.h"
#include "NavigatorState.h"
#include "SchemeTreeDlg.h"
#include "arx/arx.h"
#include "crt/paths.h"
#include "fixtures/run_command.h"
#include "project/ModulePath.h"
#include "win/answers.h"
#include "win/userinput.h"

namespace navigatortest {

void NavigatorTest::SetUp() {
  m_root = fs::path(RAIL_TEST_TMPDIR) /
           ("navigator_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(m_root);
  m_install = m_root / "install";
  m_project = m_root / "my proj";
  fs::create_directories(m_install / "lib");
  fs::create_directories(m_project);
  fs::copy_file(fs::path(RAIL_INSTALL_DIR) / "lib" / "标准.mdb", m_install / "lib" / "标准.mdb");
  fs::create_symlink(fs::path(RAIL_INSTALL_DIR) / "kestrow.arx", m_install / "kestrow.arx");
  // The workdir names the project with its blank written as '$'.
  std::string project = platform::toWindowsPath(m_project.string());
  for (char& c : project)
    if (c == ' ') c = '$';
  std::ofstream(m_install / "workdir") << project << "\r\n";
  const std::string modulePath = platform::toWindowsPath((m_install / "tamsel.arx").string());
  SetModulePathSource([modulePath] { return CString(modulePath.c_str()); });
  InitApplication();
}

void NavigatorTest::TearDown() {
  UnloadApplication();
  platform::unloadAllModules();
  platform::clearAnswers();
  platform::clearPendingCommandStrings();
  SetModulePathSource({});
  fs::remove_all(m_root);
}

void NavigatorTest::MakeProject(const char* scheme, bool withData) {
  // LF alone: a file the navigator rewrites ends in CR LF.
  if (scheme) std::ofstream(m_project / "project") << scheme << "\n";
  if (withData) fs::create_directories(m_project / "data");
}

void NavigatorTest::AddDatabase(const std::string& name) {
  fs::copy_file(m_install / "lib" / "标准.mdb", m_project / "data" / name);
}

void NavigatorTest::AddTextFile(const std::string& name, const std::string& text) {
  std::ofstream(m_project / "data" / name) << text;
}

std::string NavigatorTest::ProjectWindowsUpper() const {
  std::string path = platform::toWindowsPath(m_project.string());
  for (char& c : path)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return path;
}

std::string NavigatorTest::ProjectFileText() const {
  std::ifstream in(m_project / "project", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void NavigatorTest::OpenTree() { OnCmdTree(); }

HWND NavigatorTest::TreeDialog() const {
  CSchemeTreeDlg* tree = SchemeTree();
  return tree ? tree->m_hWnd : nullptr;
}

CTreeCtrl* NavigatorTest::Tree() const {
  CSchemeTreeDlg* tree = SchemeTree();
  return tree ? &tree->Tree() : nullptr;
}

std::vector<std::string> NavigatorTest::Roots() const {
  std::vector<std::string> roots;
  CTreeCtrl* tree = Tree();
  if (!tree) return roots;
  for (HTREEITEM item = tree->GetRootItem(); item; item = tree->GetNextSiblingItem(item))
    roots.push_back(tree->GetItemText(item).GetString());
  return roots;
}

std::vector<std::string> NavigatorTest::TablesUnder(const std::string& root) const {
  std::vector<std::string> tables;
  CTreeCtrl* tree = Tree();
  if (!tree) return tables;
  HTREEITEM scheme = tree->GetRootItem();
  while (scheme && root != tree->GetItemText(scheme).GetString()) scheme = tree->GetNextSiblingItem(scheme);
  if (!scheme) return tables;
  // Depth first, in order: the leaves are the tables.
  std::vector<HTREEITEM> stack{tree->GetChildItem(scheme)};
  while (!stack.empty()) {
    HTREEITEM item = stack.back();
    stack.pop_back();
    if (!item) continue;
    stack.push_back(tree->GetNextSiblingItem(item));
    if (HTREEITEM child = tree->GetChildItem(item))
      stack.push_back(child);
    else
      tables.push_back(tree->GetItemText(item).GetString());
  }
  return tables;
}

std::string NavigatorTest::Play(const std::vector<std::string>& words) const {
  std::string error;
  if (!platform::playWords(TreeDialog(), words, error)) return error.empty() ? "failed" : error;
  return {};
}

int NavigatorTest::TableCount(const std::string& path) const {
  // Read by sqlite3 itself, past the platform's database layer.
  const std::vector<std::string> lines =
      fixtures::OutputLines("sqlite3 -batch '" + path + "' \"select count(*) from sqlite_master where type = 'table'\"");
  return lines.empty() ? -1 : std::atoi(lines[0].c_str());
}

}  // namespace navigatortest
