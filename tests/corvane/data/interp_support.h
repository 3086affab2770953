#pragma once
// Shared pieces of the ground-line and fill/cut tests: terrain models made of
// a regular grid over a function z(x, y), the rows of a ground-line table read
// back, and a scheme with a terrain model and a designer on it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "TerrainFiles.h"
#include "TerrainModel.h"
#include "corvane/data/detour_support.h"
#include "project/ModulePath.h"
#include "project/TechParams.h"
#include "fixtures/project_fixture.h"
#include "fixtures/scheme_db.h"
#include "fixtures/section_schemes.h"
#include "win/transcript.h"

namespace interp_test {

using Height = std::function<double(double x, double y)>;

// A terrain model in `<projectFolder>/PMAP`: the points of a grid, x from
// xmin to xmax in `xs` steps, y from ymin to ymax in steps of `dy`, z = h(x, y),
// each grid cell cut into two triangles. A function that is linear in every
// cell is reproduced exactly by the model.
inline void WriteGridTerrain(const std::string& projectFolder, const std::vector<double>& xs, double ymin,
                             double ymax, double dy, const Height& h) {
  const int ny = static_cast<int>(std::lround((ymax - ymin) / dy)) + 1;
  const int nx = static_cast<int>(xs.size());
  std::vector<terrain::SurveyPoint> points;
  for (int i = 0; i < nx; ++i)
    for (int j = 0; j < ny; ++j) {
      const double y = ymin + j * dy;
      points.push_back({xs[static_cast<size_t>(i)], y, h(xs[static_cast<size_t>(i)], y), 0});
    }
  std::vector<terrain::TinTriangle> triangles;
  auto at = [ny](int i, int j) { return static_cast<int32_t>(i * ny + j); };
  for (int i = 0; i + 1 < nx; ++i)
    for (int j = 0; j + 1 < ny; ++j) {
      terrain::TinTriangle a, b;
      a.vertex[0] = at(i, j), a.vertex[1] = at(i + 1, j), a.vertex[2] = at(i + 1, j + 1);
      b.vertex[0] = at(i, j), b.vertex[1] = at(i + 1, j + 1), b.vertex[2] = at(i, j + 1);
      triangles.push_back(a);
      triangles.push_back(b);
    }
  std::string error;
  ASSERT_TRUE(terrain::WriteTerrainFiles(projectFolder + "/PMAP", points, triangles, nullptr, error)) << error;
}

// A plane z = a + bx·x + by·y over the rectangle, on a 100 m grid.
inline void WritePlaneTerrain(const std::string& projectFolder, double xmin, double xmax, double ymin, double ymax,
                              double a, double bx, double by) {
  std::vector<double> xs;
  for (double x = xmin; x <= xmax + 1e-9; x += 100.0) xs.push_back(x);
  WriteGridTerrain(projectFolder, xs, ymin, ymax, 100.0, [=](double x, double y) { return a + bx * x + by * y; });
}

// One row of a ground-line table as stored.
struct StoredRow {
  int detour = -1;
  std::string prefix;
  double chainage = 0.0;
  double ground = 0.0;
  std::string side;
  int count = 0;
  std::vector<std::pair<double, double>> points;  // the first `count` pairs
  bool nullAfterCount = true;                     // the pair after the last is empty
};

// The rows of a ground-line table in ID order (detour rows only with
// `detour` >= 0 in a detour table).
inline std::vector<StoredRow> ReadGroundTable(const std::string& db, const std::string& table, int detour = -1) {
  const bool detourTable = table != "横断面地面线表";
  std::string sql = "select ";
  if (detourTable) sql += "绕行段编号,";
  sql += "中桩里程冠号,中桩里程数,地面高程,左或右,地面点数";
  for (int k = 1; k <= 100; ++k)
    sql += ",点" + std::to_string(k) + "距中桩距离,点" + std::to_string(k) + "与中桩高程差";
  sql += " from " + table;
  if (detourTable && detour >= 0) sql += " where 绕行段编号=" + std::to_string(detour);
  sql += " order by ID";
  std::string error;
  const auto rows = fixtures::QueryRows(db, sql, &error);
  EXPECT_EQ(error, "");
  std::vector<StoredRow> out;
  for (const auto& r : rows) {
    StoredRow s;
    size_t c = 0;
    if (detourTable) s.detour = std::atoi(r[c++].c_str());
    s.prefix = r[c++];
    s.chainage = std::atof(r[c++].c_str());
    s.ground = std::atof(r[c++].c_str());
    s.side = r[c++];
    s.count = std::atoi(r[c++].c_str());
    for (int k = 0; k < 100; ++k, c += 2) {
      if (k < s.count)
        s.points.emplace_back(std::atof(r[c].c_str()), std::atof(r[c + 1].c_str()));
      else if (k == s.count)
        s.nullAfterCount = r[c] == "NULL" && r[c + 1] == "NULL";
    }
    out.push_back(s);
  }
  return out;
}

// True when two point lists agree to `tolerance`.
inline bool SamePoints(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b,
                       double tolerance = 1e-9) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k)
    if (std::fabs(a[k].first - b[k].first) > tolerance || std::fabs(a[k].second - b[k].second) > tolerance)
      return false;
  return true;
}

// The rows of one station and side.
inline const StoredRow* FindRow(const std::vector<StoredRow>& rows, double chainage, const std::string& side) {
  for (const StoredRow& r : rows)
    if (std::fabs(r.chainage - chainage) < 1e-6 && r.side == side) return &r;
  return nullptr;
}

using detour_test::ResetDetourDesigners;

// A project: the install folder's workdir names the project folder P, whose
// project file names scheme S1; the scheme database P\data\S1.mdb is built
// from one of the fixture schemes, and a terrain model goes to P\PMAP. The
// technical parameters give line kind `lineKind` (1 single, 2 double line).
class SchemeWithTerrain : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDetourDesigners();
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx").c_str()); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("P"));
    fixtures::writeProjectFile(m_projects.linuxPath("P"), "S1");
    m_dir = m_projects.linuxPath("P");
    m_db = m_projects.linuxPath("P/data/S1.mdb");
    std::filesystem::create_directories(m_dir + "/data");
  }
  void TearDown() override {
    g_TerrainModel.Close();
    g_TerrainModel.SetSubstituteElevation(0.0);
    ResetDetourDesigners();
    SetModulePathSource(m_previous);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }

  void WriteTechParams(int lineKind) {
    fixtures::TechParamsData data;
    data.speed = 200;
    data.lineKind = static_cast<int16_t>(lineKind);
    data.param2 = 5.0f;
    data.singleSpacing[0] = 7.0f;
    data.singleSpacing[1] = 7.6f;
    data.doubleSpacing[0] = 12.0f;
    data.doubleSpacing[1] = 12.4f;
    fixtures::writeTechParamsFile(m_projects.linuxPath("P/data/jishucanshu.dat"), data);
  }
  void BuildSingle() {
    WriteTechParams(1);
    std::string error;
    ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
  }
  void BuildDouble() {
    WriteTechParams(2);
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
  }
  // Imports the scheme's alignment, breaks, grades and standards into `d`.
  void Import(CrossSectionDesigner& d, const char* lineKind) {
    d.lineKind = lineKind;
    ASSERT_EQ(d.ReadSchemeAlignment(m_db.c_str(), 0, 0), 1);
  }
  void LoadTerrain() { ASSERT_TRUE(g_TerrainModel.LoadFromFolder(m_dir.c_str())); }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
  std::string m_dir;  // the project folder
  std::string m_db;
};

}  // namespace interp_test
