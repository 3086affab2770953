// The plan commands' fixture (plan_commands_support.h).

#include "plan_commands_support.h"

#include <fstream>

#include "brevell/resources/PlanResources.h"
#include "crt/paths.h"
#include "fixtures/scheme_db.h"
#include "sample_project_support.h"
#include "win/answers.h"
#include "win/winhost.h"

namespace plantest {

namespace fs = std::filesystem;

void PlanCommandTest::SetUp() {
  drawbasetest::DrawingTest::SetUp();
  std::string error;
  const std::string sample = SampleDatabase(error);
  ASSERT_FALSE(sample.empty()) << error;
  m_project = m_dir / "my proj";
  m_install = m_dir / "install";
  fs::create_directories(m_project / "data");
  fs::create_directories(m_install);
  const fs::path sampleData = fs::path(sample).parent_path();
  fs::copy_file(sample, m_project / "data" / "方案1.mdb");
  fs::copy_file(sampleData / "jishucanshu.dat", m_project / "data" / "jishucanshu.dat");
  std::ofstream(m_project / "project") << "方案1\r\n";
  std::string workdir = platform::toWindowsPath(m_project.string());
  for (char& c : workdir) {
    if (c == ' ') c = '$';
  }
  std::ofstream(m_install / "workdir") << workdir << "\r\n";
  fs::create_directory_symlink(fs::path(RAIL_INSTALL_DIR) / "dwg", m_install / "dwg");
  m_db = (m_project / "data" / "方案1.mdb").string();
  m_dbWindows = platform::toWindowsPath(m_project.string()) + "\\data\\方案1.mdb";
  m_module = std::make_unique<drawbasetest::ModulePathScope>(m_install, "brevell.arx");
  RegisterPlanResources();
}

void PlanCommandTest::TearDown() {
  FreePlanState();
  platform::resetWindowing();
  platform::clearAnswers();
  m_module.reset();
  drawbasetest::DrawingTest::TearDown();
}

std::vector<std::vector<std::string>> PlanCommandTest::Rows(const std::string& sql) {
  std::string error;
  auto rows = fixtures::QueryRows(m_db, sql, &error);
  EXPECT_TRUE(error.empty()) << error;
  return rows;
}

void PlanCommandTest::Execute(const std::string& sql) {
  std::string error;
  EXPECT_TRUE(fixtures::ExecuteSql(m_db, sql, &error)) << error;
}

void PlanCommandTest::SetLineKind(short kind) {
  // Block B starts after the 12-byte header and the 256-byte block A; the
  // line kind is its 16-bit value at byte 28.
  std::fstream file(m_project / "data" / "jishucanshu.dat", std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(12 + 256 + 28);
  const char bytes[2] = {static_cast<char>(kind & 0xFF), static_cast<char>((kind >> 8) & 0xFF)};
  file.write(bytes, 2);
}

void PlanCommandTest::AnswerDialog(const std::string& words) { platform::queueAnswer("2001", words); }

}  // namespace plantest
