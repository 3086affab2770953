#pragma once
// A project for the scheme-database tests: the install folder's workdir, the
// project file, the technical-parameter file and a scheme database S1 with
// the 36 scheme tables and these chainage breaks:
//
//   断链表 (baseline): DK100 = DK100; DK2000 = DK2050 (a short chain of 50 m);
//     DK5123.4 = DK5123.4. The baseline runs from DK0+100.000 to DK5+123.400.
//   左线断链表: detour 0: ZK1200.5 (附注 "左线绕行段一"), ZK2300.25 = ZK2310.25;
//     detour 1: ZK3000, ZK4100 (附注 NULL).
//   右线断链表: detour 0: YK800 (附注 ""), YK1500.75. No detour 1.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fixtures/project_fixture.h"
#include "fixtures/scheme_db.h"
#include "project/ModulePath.h"
#include "project/TechParams.h"
#include "win/transcript.h"

namespace schemedb_test {

// Message boxes shown (each ends with its button).
inline size_t MessageCount(const std::string& transcript) {
  size_t count = 0;
  for (size_t at = transcript.find(" by default]"); at != std::string::npos;
       at = transcript.find(" by default]", at + 1))
    ++count;
  return count;
}

class SchemeProject : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("P"));
    fixtures::writeProjectFile(m_projects.linuxPath("P"), "S1");
    WriteTechParams(0.65f);
    std::string error;
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
    ASSERT_TRUE(fixtures::FillTable(m_db, "断链表",
                                         {{"DK", "100", "DK", "100", "0"},
                                          {"DK", "2000", "DK", "2050", "50"},
                                          {"DK", "5123.4", "DK", "5123.4", "0"}},
                                         &error))
        << error;
    ASSERT_TRUE(fixtures::FillTable(m_db, "左线断链表",
                                         {{"0", "ZK", "1200.5", "ZK", "1200.5", "左线绕行段一"},
                                          {"0", "ZK", "2300.25", "ZK", "2310.25", nullptr},
                                          {"1", "ZK", "3000", "ZK", "3000", nullptr},
                                          {"1", "ZK", "4100", "ZK", "4100", nullptr}},
                                         &error))
        << error;
    ASSERT_TRUE(fixtures::FillTable(m_db, "右线断链表",
                                         {{"0", "YK", "800", "YK", "800", ""}, {"0", "YK", "1500.75", "YK", "1500.75", ""}},
                                         &error))
        << error;
  }
  void TearDown() override {
    SetModulePathSource(m_previous);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }

  // jishucanshu.dat with the given subgrade surface-layer thickness and
  // design speed 200.
  void WriteTechParams(float subgrade) {
    fixtures::TechParamsData data;
    data.speed = 200;
    data.subgradeThickness = subgrade;
    fixtures::writeTechParamsFile(m_projects.linuxPath("P/data/jishucanshu.dat"), data);
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
  const std::string m_db = m_projects.linuxPath("P/data/S1.mdb");
};

}  // namespace schemedb_test
