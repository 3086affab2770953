// Loading the terrain model: missing and damaged files give a message naming
// the file and leave nothing open; a damaged network cannot hold a search.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "TerrainModel.h"
#include "fixtures/project_fixture.h"
#include "project/ModulePath.h"
#include "corvane/data/terrain_fixture.h"
#include "win/transcript.h"

namespace {

using terrain_test::CellAt;
using terrain_test::NeighbourAt;
using terrain_test::OpenDescriptors;
using terrain_test::PointTriangleAt;
using terrain_test::PointXAt;
using terrain_test::PointYAt;
using terrain_test::PointZAt;
using terrain_test::ProjectFolder;
using terrain_test::VertexAt;

// Loads a model that must be refused; checks the message names `file` and that
// the model reports the substitute elevation with nothing left open.
void ExpectRefused(const ProjectFolder& folder, const std::string& file, const std::string& text) {
  TerrainModel model;
  model.SetSubstituteElevation(77.5);
  int before = OpenDescriptors();
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(model.LoadFromFolder(folder.root().c_str()));
  EXPECT_TRUE(transcript.contains(text)) << transcript.text();
  if (!file.empty()) {
    EXPECT_TRUE(transcript.contains("\\PMAP\\" + file)) << transcript.text();
  }
  EXPECT_FALSE(model.IsLoaded());
  EXPECT_FALSE(model.ModelPresent());
  EXPECT_EQ(model.ElevationAt(110, 30), 77.5);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(TerrainLoad, LoadsTheHandNetworkAndClosesEverything) {
  ProjectFolder folder;
  folder.WriteHand();
  int before = OpenDescriptors();
  {
    TerrainModel model;
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_TRUE(model.ModelPresent());
    EXPECT_EQ(model.PointCount(), 6);
    EXPECT_EQ(model.TriangleCount(), 5);
    EXPECT_EQ(model.Rows(), 9);
    EXPECT_EQ(model.Cols(), 3);
    // Loading again releases the first load.
    int once = OpenDescriptors();
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
    EXPECT_EQ(OpenDescriptors(), once);
    model.Close();
    EXPECT_EQ(OpenDescriptors(), before);
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  }  // the destructor releases a model still loaded
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(TerrainLoad, MissingFiles) {
  const char* kNoModel = "未构建数字地面模型，无法内插地面线，地面高程均所给高程平均值处理!";
  struct MissingCase {
    const char* file;
    const char* text;
  };
  const MissingCase cases[] = {
      {"PtIndex.idx", kNoModel},
      {"Point.xyz", "无法打开数模文件"},
      {"TIN.tri", "无法打开数模文件"},
      {"Grid.idx", "无法打开数模文件"},
  };
  for (const MissingCase& c : cases) {
    SCOPED_TRACE(c.file);
    ProjectFolder folder;
    folder.WriteHand();
    std::filesystem::remove(folder.file(c.file));
    ExpectRefused(folder, c.file == std::string("PtIndex.idx") ? "" : c.file, c.text);
  }
}

TEST(TerrainLoad, DamagedFiles) {
  struct DamageCase {
    const char* what;
    const char* file;  // the file the message names
    std::function<void(const ProjectFolder&)> damage;
  };
  const DamageCase cases[] = {
      {"index without numbers", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "six points\r\n"); }},
      {"index with no points", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "0\r\n0 0 800 200\r\n"); }},
      {"extent upside down", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "6\r\n800 0 0 200\r\n"); }},
      {"extent too large for any grid", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "6\r\n0 0 1e300 1e300\r\n"); }},
      {"more points counted than stored", "Point.xyz",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "7\r\n0 0 800 200\r\n"); }},
      {"a point record cut short", "Point.xyz",
       [](const ProjectFolder& f) { f.Truncate("Point.xyz", 1); }},
      {"no point records", "Point.xyz", [](const ProjectFolder& f) { f.Truncate("Point.xyz", 240); }},
      {"a point's triangle out of range", "Point.xyz",
       [](const ProjectFolder& f) { f.PatchInt("Point.xyz", PointTriangleAt(3), 5); }},
      {"a point's triangle below -1", "Point.xyz",
       [](const ProjectFolder& f) { f.PatchInt("Point.xyz", PointTriangleAt(3), -2); }},
      {"a point's triangle without that point", "Point.xyz",
       [](const ProjectFolder& f) { f.PatchInt("Point.xyz", PointTriangleAt(0), 4); }},
      {"a triangle record cut short", "TIN.tri",
       [](const ProjectFolder& f) { f.Truncate("TIN.tri", 3); }},
      {"a vertex beyond the points", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", VertexAt(2, 1), 6); }},
      {"a negative vertex", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", VertexAt(0, 0), -1); }},
      {"a neighbour beyond the triangles", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", NeighbourAt(4, 2), 5); }},
      {"a neighbour below -1", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", NeighbourAt(1, 0), -7); }},
      {"a grid point beyond the points", "Grid.idx",
       [](const ProjectFolder& f) { f.PatchInt("Grid.idx", CellAt(25), 6); }},
      {"a grid point below -1", "Grid.idx",
       [](const ProjectFolder& f) { f.PatchInt("Grid.idx", CellAt(1), -2); }},
      {"a grid cut short", "Grid.idx", [](const ProjectFolder& f) { f.Truncate("Grid.idx", 16); }},
      {"an extent wider than the grid", "Grid.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "6\r\n0 0 1000 200\r\n"); }},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.what);
    ProjectFolder folder;
    folder.WriteHand();
    c.damage(folder);
    ExpectRefused(folder, c.file, "已损坏");
  }
}

TEST(TerrainLoad, FailedLoadReleasesTheModelLoadedBefore) {
  ProjectFolder good("_good");
  good.WriteHand();
  ProjectFolder bad("_bad");
  bad.WriteHand();
  bad.PatchInt("TIN.tri", VertexAt(4, 1), 99);
  int before = OpenDescriptors();
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(good.root().c_str()));
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(model.LoadFromFolder(bad.root().c_str()));
  EXPECT_FALSE(model.IsLoaded());
  EXPECT_EQ(model.LocateTriangle(110, 30), -1);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(TerrainLoad, ModelFilesAreNotWritten) {
  ProjectFolder folder;
  folder.WriteHand();
  auto points = folder.Read("Point.xyz");
  auto triangles = folder.Read("TIN.tri");
  {
    TerrainModel model;
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
    EXPECT_NEAR(model.ElevationAt(20, 150), 112.5, 1e-9);
  }
  EXPECT_EQ(folder.Read("Point.xyz"), points);
  EXPECT_EQ(folder.Read("TIN.tri"), triangles);
}

// Numbers and links of the network are checked at load, in one pass: points
// and heights that are not finite, points outside the range of the index file
// and links that do not make a network (a triangle its own neighbour, links
// that are not returned, or returned across another edge, corners that turn
// clockwise) each refuse the model, naming the file and what is wrong.
TEST(TerrainLoad, DamagedNumbersAndLinksAreRefusedWithTheirReason) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct DamageCase {
    const char* what;
    const char* file;
    std::function<void(const ProjectFolder&)> damage;
    const char* reason;
  };
  const DamageCase cases[] = {
      {"an x that is NaN", "Point.xyz", [&](const ProjectFolder& f) { f.PatchDouble("Point.xyz", PointXAt(2), nan); },
       "第2个点的坐标或高程不是有限的数"},
      {"a height that is infinite", "Point.xyz",
       [&](const ProjectFolder& f) { f.PatchDouble("Point.xyz", PointZAt(5), -inf); }, "第5个点的坐标或高程不是有限的数"},
      {"a point beyond the index range", "Point.xyz",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "6\r\n0 0 700 200\r\n"); },
       "第4个点(800.000, 100.000)在索引文件的范围之外"},
      {"a range that is not finite", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "6\r\n0 0 nan 200\r\n"); }, "范围不是有限的数"},
      {"a count beyond an int", "PtIndex.idx",
       [](const ProjectFolder& f) { f.ReplaceText("PtIndex.idx", "99999999999\r\n0 0 800 200\r\n"); },
       "点数太大"},
      {"C is its own neighbour across P3-P5", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", NeighbourAt(2, 0), 2); }, "第2个三角形是它自己的相邻三角形"},
      {"A names C across P1-P5, C does not name A", "TIN.tri",
       [](const ProjectFolder& f) { f.PatchInt("TIN.tri", NeighbourAt(0, 0), 2); },
       "第0个三角形与相邻的第2个三角形互不相连"},
      {"A names D across P1-P5 and B across P5-P0", "TIN.tri",
       [](const ProjectFolder& f) {
         f.PatchInt("TIN.tri", NeighbourAt(0, 0), 3);
         f.PatchInt("TIN.tri", NeighbourAt(0, 1), 1);
       },
       "第0个三角形与相邻的第3个三角形互不相连"},
      {"A turns clockwise (P0, P5, P1)", "TIN.tri",
       [](const ProjectFolder& f) {
         f.PatchInt("TIN.tri", VertexAt(0, 1), 5);
         f.PatchInt("TIN.tri", VertexAt(0, 2), 1);
       },
       "第0个三角形的顶点不是逆时针排列"},
      {"A has no area (P5 moved onto P0-P1)", "TIN.tri",
       [](const ProjectFolder& f) {
         f.PatchDouble("Point.xyz", PointXAt(5), 100.0);
         f.PatchDouble("Point.xyz", PointYAt(5), 0.0);
       },
       "第0个三角形的顶点不是逆时针排列"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.what);
    ProjectFolder folder;
    folder.WriteHand();
    c.damage(folder);
    ExpectRefused(folder, c.file, c.reason);
  }
}

// Load finds the project through the install folder's workdir: the model of
// the project it names, or the no-model message when the project has none.
TEST(TerrainLoad, LoadsTheModelOfTheCurrentProject) {
  fixtures::DriveScratch install('C');
  fixtures::DriveScratch projects('D');
  ModulePathSource previous =
      SetModulePathSource([&] { return CString(install.windowsPath("corvane.arx")); });
  fixtures::writeWorkdir(install.linuxPath(), projects.windowsPath("Line 1"));
  fixtures::writeProjectFile(projects.linuxPath("Line 1"), "S1");
  std::string error;
  ASSERT_TRUE(terrain::WriteTerrainFiles(projects.linuxPath("Line 1/PMAP"), terrain_test::HandPoints(),
                                         terrain_test::HandTriangles(), nullptr, error));
  TerrainModel model;
  {
    platform::TranscriptCapture transcript;
    ASSERT_TRUE(model.Load());
    EXPECT_TRUE(transcript.contains("正在导入数模数据文件,请稍候..."));
    EXPECT_NEAR(model.ElevationAt(20, 150), 112.5, 1e-9);
  }
  std::filesystem::remove_all(projects.linuxPath("Line 1/PMAP"));
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(model.Load());
  EXPECT_TRUE(transcript.contains("未构建数字地面模型，无法内插地面线，地面高程均所给高程平均值处理!"));
  EXPECT_FALSE(model.IsLoaded());
  SetModulePathSource(previous);
}

}  // namespace
