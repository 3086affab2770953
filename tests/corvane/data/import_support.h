#pragma once
// Shared pieces of the section-table and import tests: a scheme database in
// a temporary folder, a designer whose sections come from it, and a project
// (workdir, project file, technical parameters) for the whole-scheme imports.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "corvane/data/detour_support.h"
#include "fixtures/project_fixture.h"
#include "fixtures/scheme_db.h"
#include "fixtures/section_schemes.h"
#include "project/ModulePath.h"
#include "project/TechParams.h"
#include "win/transcript.h"

namespace import_test {

using detour_test::ResetDetourDesigners;

// A station of a fill/cut table of the small test databases: prefix,
// chainage; the other values follow from the chainage (ground elevation
// 100 + chainage / 1000).
struct Stake {
  std::string prefix;
  double chainage;
};

// A scheme database with 填挖表 (one row per stake) and an empty ground-line
// table, and a designer on it whose break table runs DK0 .. DK10000 without
// a break (so a DK chainage is its own mileage).
class SectionTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fixtures::MakeTempFolder("sections");
    m_db = m_dir + "/S1.mdb";
    std::string error;
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
    d.schemeDatabasePath = m_db.c_str();
    d.breakCount = 2;
    SetBreakPrefixes(d.breaks[0], "DK", "DK");
    SetBreakPrefixes(d.breaks[1], "DK", "DK");
    d.breaks[1].before = 10000.0;
  }
  void TearDown() override { fixtures::RemoveFolder(m_dir); }

  void FillCut(const std::vector<Stake>& stakes, const char* table = "填挖表", int detour = -1) {
    std::vector<std::string> texts;
    texts.reserve(stakes.size() * 3);
    std::vector<fixtures::Row> rows;
    for (const Stake& s : stakes) {
      texts.push_back(std::to_string(s.chainage));
      texts.push_back(std::to_string(100.0 + s.chainage / 1000.0));
      texts.push_back(std::to_string(detour));
      fixtures::Row row;
      if (detour >= 0) row.push_back(texts[texts.size() - 1].c_str());
      row.push_back(s.prefix.c_str());
      row.push_back(texts[texts.size() - 3].c_str());
      row.push_back(texts[texts.size() - 2].c_str());
      rows.push_back(row);
    }
    std::string error;
    ASSERT_TRUE(fixtures::FillTable(m_db, table, rows, &error)) << error;
  }

  // A ground-line row of one side; `points` from (0, 0).
  static fixtures::CrossSectionRow Side(const std::string& prefix, double chainage, const char* side,
                                        fixtures::GroundPoints points, std::optional<int> declared = {},
                                        int detour = -1) {
    fixtures::CrossSectionRow r = fixtures::SideRow(prefix, chainage, side, std::move(points), detour);
    r.declaredCount = declared;
    return r;
  }

  void GroundRows(const std::vector<fixtures::CrossSectionRow>& rows, bool create = true) {
    std::string error;
    ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "横断面地面线表", false, rows, create, &error)) << error;
  }

  // A rock-layer row of one side.
  static fixtures::CrossSectionRow Layer(const std::string& prefix, double chainage, int layer, int rockType,
                                         const char* side, fixtures::GroundPoints points, int detour = -1) {
    fixtures::CrossSectionRow r = Side(prefix, chainage, side, std::move(points), {}, detour);
    r.layer = layer;
    r.rockType = rockType;
    return r;
  }

  void RockRows(const std::vector<fixtures::CrossSectionRow>& rows, bool create = true,
                const char* table = "横断面岩层线表") {
    std::string error;
    const bool detour = std::string(table) != "横断面岩层线表";
    ASSERT_TRUE(fixtures::AppendRockLayerRows(m_db, table, detour, rows, create, &error)) << error;
  }

  std::string m_dir;
  std::string m_db;
  CrossSectionDesigner d;
};

// The points of one side of a ground block as (distance, height) pairs.
inline fixtures::GroundPoints PointsOf(const GroundBlock& block, int side) {
  fixtures::GroundPoints out;
  const int count = side < 0 ? block.leftCount : block.rightCount;
  const PairXY* pairs = side < 0 ? block.left : block.right;
  for (int i = 0; i < count; ++i) out.emplace_back(pairs[i].x, pairs[i].y);
  return out;
}

// A project for the whole-scheme imports: the install folder's workdir, the
// project file naming scheme S1, the technical parameters (single-line
// spacings 7.0 and 7.6, double-line spacings 12.0 and 12.4 with reference
// value 5.0, speed 200) and the scheme database path.
class SchemeImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("P"));
    fixtures::writeProjectFile(m_projects.linuxPath("P"), "S1");
    fixtures::writeTechParamsFile(m_projects.linuxPath("P/data/jishucanshu.dat"), TechParams());
    ResetDetourDesigners();
  }
  // The technical parameters of the project (line kind 0).
  static fixtures::TechParamsData TechParams() {
    fixtures::TechParamsData data;
    data.speed = 200;
    data.param2 = 5.0f;
    data.subgradeThickness = 0.6f;
    data.singleSpacing[0] = 7.0f;
    data.singleSpacing[1] = 7.6f;
    data.doubleSpacing[0] = 12.0f;
    data.doubleSpacing[1] = 12.4f;
    return data;
  }
  void TearDown() override {
    ResetDetourDesigners();
    SetModulePathSource(m_previous);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
  const std::string m_db = m_projects.linuxPath("P/data/S1.mdb");
  const std::string m_dbWindows = m_projects.windowsPath("P\\data\\S1.mdb");
};

}  // namespace import_test
