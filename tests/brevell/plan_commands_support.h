#pragma once
// The fixture of the plan commands' tests: a copy of the sample project's
// scheme in a folder whose name has a blank ("my proj"), an install folder
// whose workdir names it (the blank written as '$') and whose dwg/ is the
// build's, the module path pointing into it, the plan's dialog templates
// registered, and the plan state freed after each test.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PlanState.h"
#include "plan_drawing_support.h"
#include "win/transcript.h"

namespace plantest {

class PlanCommandTest : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Rows of a query on the copied scheme.
  std::vector<std::vector<std::string>> Rows(const std::string& sql);
  void Execute(const std::string& sql);
  // Sets the line kind of the copied technical parameters.
  void SetLineKind(short kind);
  // Queues the answer of the next settings dialog: its words.
  static void AnswerDialog(const std::string& words);

  std::filesystem::path m_project;  // ".../my proj"
  std::filesystem::path m_install;
  std::string m_db;                 // the copied scheme database (Linux path)
  std::string m_dbWindows;          // the same in the Windows form the dialog shows
  platform::TranscriptCapture transcript;

 private:
  std::unique_ptr<drawbasetest::ModulePathScope> m_module;
};

}  // namespace plantest
