#pragma once
// A project for the navigator made by code: an install folder (its workdir
// naming the project, lib/标准.mdb and Kestrow.arx taken from the build's
// install folder) and a project folder whose data folder holds what a case
// asks for. The module's path is set to "<install>\tamsel.arx", so that the
// navigator finds this install folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mfc/treectrl.h"

namespace navigatortest {

namespace fs = std::filesystem;

class NavigatorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The project's files: `project` holding `scheme` and a line feed (none
  // when null), the data folder made when `withData`.
  void MakeProject(const char* scheme, bool withData = true);
  // A scheme database: the empty template copied under `name`.
  void AddDatabase(const std::string& name);
  // A file that is no database.
  void AddTextFile(const std::string& name, const std::string& text);

  // The project folder as the navigator names it: Windows form, upper-cased.
  std::string ProjectWindowsUpper() const;
  std::string DataFile(const std::string& name) const { return (m_project / "data" / name).string(); }
  std::string ProjectFileText() const;

  // TREE as the command runs it; the scheme tree's dialog and tree control.
  void OpenTree();
  HWND TreeDialog() const;
  CTreeCtrl* Tree() const;
  // The texts of the tree's roots, in order.
  std::vector<std::string> Roots() const;
  // The table nodes (leaves) under the root named `root`.
  std::vector<std::string> TablesUnder(const std::string& root) const;
  // Plays words on the tree dialog; the failure reason, empty when they played.
  std::string Play(const std::vector<std::string>& words) const;
  // The number of tables of a database file.
  int TableCount(const std::string& path) const;

  fs::path m_root, m_install, m_project;
};

}  // namespace navigatortest
