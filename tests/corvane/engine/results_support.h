#pragma once
// Shared pieces of the result-file tests: a scratch project whose data folder
// takes the result files, text files written and read through the system's
// file opener, and designers filled with hand-made section records.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "corvane/data/detour_support.h"
#include "crt/textfile.h"
#include "fixtures/scheme_db.h"
#include "project/ProjectLocation.h"

namespace results_test {

// The whole text of a file, as the system reads it (UTF-8, LF).
inline std::string ReadText(const std::string& path) {
  FILE* fp = platform::openFile(path.c_str(), "r");
  if (fp == nullptr) return "<missing>";
  std::string text;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, fp)) > 0) text.append(buffer, n);
  std::fclose(fp);
  return text;
}

inline void WriteText(const std::string& path, const std::string& text) {
  FILE* fp = platform::openFile(path.c_str(), "w");
  ASSERT_NE(fp, nullptr) << path;
  std::fputs(text.c_str(), fp);
  std::fclose(fp);
}

// A project folder (its data folder made) that the result files of scheme
// "S1" go to while the object lives; the detour designers are emptied before
// and after.
class ResultProject {
 public:
  ResultProject() {
    m_dir = fixtures::MakeTempFolder("results");
    std::filesystem::create_directories(m_dir + "/data");
    m_previousFolder = g_ProjectFolder;
    m_previousScheme = g_SchemeName;
    g_ProjectFolder = m_dir.c_str();
    g_SchemeName = "S1";
    detour_test::ResetDetourDesigners();
  }
  ~ResultProject() {
    detour_test::ResetDetourDesigners();
    g_ProjectFolder = m_previousFolder;
    g_SchemeName = m_previousScheme;
    fixtures::RemoveFolder(m_dir);
  }
  ResultProject(const ResultProject&) = delete;
  ResultProject& operator=(const ResultProject&) = delete;

  // The path of result file `name` of the scheme.
  std::string File(const std::string& name) const { return m_dir + "/data/" + name + ".S1"; }
  std::string Folder() const { return m_dir; }

 private:
  std::string m_dir;
  CString m_previousFolder;
  CString m_previousScheme;
};

// A scratch folder for one test's record files, and the text a writer of
// section records puts into a file there.
class RecordFilesTest : public ::testing::Test {
 protected:
  explicit RecordFilesTest(std::string prefix) : m_prefix(std::move(prefix)) {}
  void SetUp() override { m_dir = fixtures::MakeTempFolder(m_prefix); }
  void TearDown() override { fixtures::RemoveFolder(m_dir); }

  // Writes `d` with `write` and returns the text.
  template <class Write>
  std::string Written(const CrossSectionDesigner& d, Write write) {
    const std::string path = m_dir + "/out.txt";
    FILE* fp = platform::openFile(path.c_str(), "w");
    EXPECT_NE(fp, nullptr);
    write(d, fp);
    std::fclose(fp);
    return ReadText(path);
  }

  std::string m_prefix;
  std::string m_dir;
};

// Appends (x, y) points to a design line.
inline void SetLine(SectionRecord& r, int side, std::initializer_list<std::pair<double, double>> points) {
  const int k = SideIndex(side);
  r.designLines[k].removeAll();
  for (const auto& p : points) r.designLines[k].append(AcGePoint3d(p.first, p.second, 0.0));
  r.pointCount[k] = r.designLines[k].length();
  r.lastIndex[k] = r.pointCount[k] - 1;
}

}  // namespace results_test
