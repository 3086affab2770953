// Elevations and ground profiles of the hand-made network of terrain_fixture.h;
// every expected value is worked by hand from the triangles' planes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TerrainModel.h"
#include "corvane/data/terrain_fixture.h"
#include "win/transcript.h"

namespace {

using terrain_test::ProjectFolder;

class TerrainHandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.WriteHand();
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  }
  ProjectFolder folder;
  TerrainModel model;
};

struct ElevationCase {
  const char* what;
  double x, y;
  int triangle;  // -1: outside
  double z;
};

TEST_F(TerrainHandTest, ElevationsOnTheTrianglesPlanes) {
  const ElevationCase cases[] = {
      // Triangle 0 is a triangle like any other.
      {"inside A (triangle 0)", 110, 30, 0, 126.0},
      {"inside B", 190, 60, 1, 129.0},
      {"inside C, from P5 turning two triangles", 140, 90, 2, 136.5},
      {"inside E, from P1 turning back at the hull", 250, 40, 4, 121.5},
      {"inside E", 650, 80, 4, 105.5},
      {"empty cell 300 m from any point", 500, 100, 4, 115.0},
      {"empty cell, walk from P4 across E, B, C to D", 20, 150, 3, 112.5},
      {"empty cell, walk from P4 across E, B to C", 100, 180, 2, 126.0},
      {"vertex P5", 150, 50, -2, 140.0},
      {"vertex P4 on the grid's last row", 800, 100, 4, 100.0},
      {"vertex P0 at the grid's origin", 0, 0, 0, 100.0},
  };
  for (const ElevationCase& c : cases) {
    SCOPED_TRACE(c.what);
    int t = model.LocateTriangle(c.x, c.y);
    if (c.triangle >= 0) {
      EXPECT_EQ(t, c.triangle);
    }
    ASSERT_GE(t, 0);
    EXPECT_EQ(model.PointInTriangle(t, c.x, c.y), 1);
    EXPECT_NEAR(model.ElevationAt(c.x, c.y), c.z, 1e-9);
  }
}

TEST_F(TerrainHandTest, PointsOnEdgesBelongToATriangleOfTheEdge) {
  struct EdgeCase {
    const char* what;
    double x, y;
    int t1, t2;
    double z;
  };
  const EdgeCase cases[] = {
      {"inner edge P1-P5 between A and B", 175, 25, 0, 1, 130.0},
      {"inner edge P1-P2 between B and E", 200, 100, 1, 4, 130.0},
      {"inner edge P3-P5 between C and D", 75, 125, 2, 3, 125.0},
      {"hull edge P0-P1 of A", 100, 0, 0, 0, 110.0},
      {"hull edge P2-P4 of E", 500, 150, 4, 4, 120.0},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.what);
    int t = model.LocateTriangle(c.x, c.y);
    EXPECT_TRUE(t == c.t1 || t == c.t2) << t;
    EXPECT_EQ(model.PointInTriangle(c.t1, c.x, c.y), 1);
    EXPECT_EQ(model.PointInTriangle(c.t2, c.x, c.y), 1);
    EXPECT_NEAR(model.ElevationAt(c.x, c.y), c.z, 1e-9);
  }
}

TEST_F(TerrainHandTest, PointsOutsideTheNetwork) {
  const ElevationCase cases[] = {
      {"before xmin, still in the first row", -10, 50, -1, 0},
      {"a row before the grid", -150, 50, -1, 0},
      {"beyond the grid's last row", 900, 100, -1, 0},
      {"inside the extent, beyond the hull edge P2-P4", 400, 190, -1, 0},
      {"beyond the last column", 50, 250.5, -1, 0},
      {"below the hull edge P1-P4: turning both ways around P1 ends at the hull", 300, -10, -1, 0},
      {"far away", 1e12, -1e12, -1, 0},
      {"not a number", std::nan(""), 10, -1, 0},
  };
  for (const ElevationCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(model.LocateTriangle(c.x, c.y), -1);
    EXPECT_EQ(model.ElevationAt(c.x, c.y), TerrainModel::kOutsideElevation);
  }
}

TEST_F(TerrainHandTest, PointInTriangleAndPlaneOfOneTriangle) {
  // D = (P3, P0, P5): z = 100 + 0.25 x + 0.05 y, anywhere on its plane.
  EXPECT_NEAR(model.PlaneElevation(1000, -400, 3), 100 + 250 - 20, 1e-9);
  EXPECT_EQ(model.PointInTriangle(3, 20, 150), 1);
  EXPECT_EQ(model.PointInTriangle(3, 110, 30), 0);
  EXPECT_EQ(model.PointInTriangle(5, 20, 150), 0);
  EXPECT_EQ(model.PointInTriangle(-1, 20, 150), 0);
  EXPECT_EQ(model.PlaneElevation(20, 150, 5), TerrainModel::kOutsideElevation);
}

TEST(TerrainIgnoredTriangle, FlaggedTriangleHasNoGround) {
  ProjectFolder folder;
  auto triangles = terrain_test::HandTriangles();
  triangles[2].flags = terrain::kIgnoredTriangle;  // C
  folder.Write(terrain_test::HandPoints(), triangles);
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  EXPECT_EQ(model.ElevationAt(140, 90), TerrainModel::kOutsideElevation);
  EXPECT_NEAR(model.ElevationAt(20, 150), 112.5, 1e-9);  // D, reached across C
  EXPECT_NEAR(model.ElevationAt(190, 60), 129.0, 1e-9);

  // From C (no ground) to D: the walk runs back from D and ends at C.
  // The crossing of the edge P3-P5 (y = 200 - x) is at s = 3/11 from D's end.
  int count = 0;
  TerrainNode* line = model.GroundLineAlong(100, 180, 20, 150, count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(line->z, TerrainModel::kNoGround);
  const TerrainNode* mid = line->next;
  EXPECT_NEAR(mid->x, 20 + 80 * 3.0 / 11, 1e-9);
  EXPECT_NEAR(mid->y, 150 + 30 * 3.0 / 11, 1e-9);
  EXPECT_NEAR(mid->z, 140 + (mid->x - 150) / 5, 1e-9);
  EXPECT_NEAR(mid->next->z, 112.5, 1e-9);
  TerrainModel::FreeGroundLine(line);
}

struct Node {
  double x, y, z;
};

struct ProfileCase {
  const char* what;
  double ax, ay, bx, by;
  std::vector<Node> nodes;
};

TEST_F(TerrainHandTest, GroundProfilesAlongSegments) {
  const double N = TerrainModel::kNoGround;
  const ProfileCase cases[] = {
      {"across D, C, B into E",
       20, 100, 500, 100,
       {{20, 100, 110}, {100, 100, 130}, {500.0 / 3, 100, 140}, {200, 100, 130}, {500, 100, 115}}},
      {"the same backwards",
       500, 100, 20, 100,
       {{500, 100, 115}, {200, 100, 130}, {500.0 / 3, 100, 140}, {100, 100, 130}, {20, 100, 110}}},
      {"through the vertex P5",
       20, 50, 300, 50,
       {{20, 50, 107.5}, {150, 50, 140}, {200, 50, 125}, {300, 50, 120}}},
      {"ending on the inner vertex P5", 20, 50, 150, 50, {{20, 50, 107.5}, {150, 50, 140}}},
      {"ending on the edge P1-P2", 300, 100, 200, 100, {{300, 100, 125}, {200, 100, 130}}},
      {"starting on the vertex P5",
       150, 50, 300, 50,
       {{150, 50, 140}, {200, 50, 125}, {300, 50, 120}}},
      {"inside one triangle", 300, 100, 400, 110, {{300, 100, 125}, {400, 110, 121}}},
      {"inside one triangle, ends closer than 0.1", 300, 100, 300.05, 100.05, {{300, 100, 125}}},
      {"b outside", 500, 110, 900, 110, {{500, 110, 116}, {740, 110, 104}, {900, 110, N}}},
      {"a outside", 900, 110, 500, 110, {{900, 110, N}, {740, 110, 104}, {500, 110, 116}}},
      {"a outside before the hull edge P0-P3",
       -50, 100, 20, 100,
       {{-50, 100, N}, {0, 100, 105}, {20, 100, 110}}},
  };
  for (const ProfileCase& c : cases) {
    SCOPED_TRACE(c.what);
    int count = -1;
    TerrainNode* line = model.GroundLineAlong(c.ax, c.ay, c.bx, c.by, count);
    ASSERT_EQ(count, static_cast<int>(c.nodes.size()));
    const TerrainNode* n = line;
    for (const Node& e : c.nodes) {
      ASSERT_NE(n, nullptr);
      EXPECT_NEAR(n->x, e.x, 1e-9);
      EXPECT_NEAR(n->y, e.y, 1e-9);
      EXPECT_NEAR(n->z, e.z, 1e-9);
      n = n->next;
    }
    EXPECT_EQ(n, nullptr);
    TerrainModel::FreeGroundLine(line);
  }
}

TEST_F(TerrainHandTest, NoProfileWhenBothEndsAreOutside) {
  for (auto [ax, ay, bx, by] : {std::tuple{900.0, 100.0, 950.0, 120.0},
                                std::tuple{-50.0, 100.0, 900.0, 100.0}}) {
    int count = -1;
    EXPECT_EQ(model.GroundLineAlong(ax, ay, bx, by, count), nullptr);
    EXPECT_EQ(count, 0);
  }
}

TEST_F(TerrainHandTest, NearestFilledCellLooksUpTheColumnFirst) {
  // Filled: 0 (P0), 2 (P3), 3 (P5), 6 (P1), 8 (P2), 25 (P4); 3 columns.
  struct CellCase {
    int row, col, cell;
  };
  const CellCase cases[] = {
      {0, 1, 25},  // up column 1 to row 8
      {5, 0, 6},   // column 0: nothing above, row 2 below
      {5, 2, 8},   // column 2: row 2 below
      {8, 0, 6},   // last row: only below
      {2, 0, 3},   // a filled cell looks past itself: row 1 below holds P5
  };
  for (const CellCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.row << "," << c.col);
    EXPECT_EQ(model.NearestFilledCell(c.row, c.col), c.cell);
  }
}

TEST(TerrainGrid, RowsColumnsAndTheRowFallback) {
  // One triangle (0,0) (250,0) (0,250): x 0..250 gives 3 rows (2.5 + 0.001
  // truncated, plus 1), and column 1 (y 100..200) holds no point.
  ProjectFolder folder;
  std::vector<terrain::SurveyPoint> points = {{0, 0, 10, 0}, {250, 0, 10, 0}, {0, 250, 10, 0}};
  std::vector<terrain::TinTriangle> triangles(1);
  triangles[0].vertex[0] = 0;
  triangles[0].vertex[1] = 1;
  triangles[0].vertex[2] = 2;
  folder.Write(points, triangles);
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  EXPECT_EQ(model.Rows(), 3);
  EXPECT_EQ(model.Cols(), 3);
  // Filled: (0,0) = cell 0, (0,2) = cell 2, (2,0) = cell 6.
  EXPECT_EQ(model.NearestFilledCell(0, 1), 2);  // column 1 empty: along row 0, right first
  EXPECT_EQ(model.NearestFilledCell(1, 1), 0);  // row 1 empty too: the whole grid from cell 0
  EXPECT_EQ(model.NearestFilledCell(1, 2), 2);  // column 2: row 0 below
  EXPECT_NEAR(model.ElevationAt(120, 120), 10.0, 1e-9);

  points[1].x = 300;
  ProjectFolder wider("_wider");
  wider.Write(points, triangles);
  ASSERT_TRUE(model.LoadFromFolder(wider.root().c_str()));
  EXPECT_EQ(model.Rows(), 4);  // 0..300: 3.001 truncated, plus 1
}

// An L-shaped network whose corner Q3 (100, 100) turns 270 degrees: from its
// first triangle the turn towards (80, 160) starts the wrong way, meets the
// hull and goes back round the other way. Every point lies on z = 10 + x + 2y.
TEST(TerrainConcave, TurnsBackAtTheHullAroundAReflexCorner) {
  std::vector<terrain::SurveyPoint> points = {{0, 0, 0, 0},     {200, 0, 0, 0},   {200, 100, 0, 0},
                                              {100, 100, 0, 0}, {100, 200, 0, 0}, {0, 200, 0, 0}};
  for (auto& p : points) p.z = 10 + p.x + 2 * p.y;
  const int32_t v[4][3] = {{3, 1, 2}, {3, 0, 1}, {3, 5, 0}, {3, 4, 5}};
  std::vector<terrain::TinTriangle> triangles(4);
  for (int t = 0; t < 4; ++t)
    for (int k = 0; k < 3; ++k) triangles[t].vertex[k] = v[t][k];
  ProjectFolder folder;
  folder.Write(points, triangles);
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  EXPECT_EQ(model.LocateTriangle(80, 160), 3);
  EXPECT_NEAR(model.ElevationAt(80, 160), 10 + 80 + 320, 1e-9);
  EXPECT_EQ(model.LocateTriangle(150, 150), -1);  // in the notch
  EXPECT_EQ(model.ElevationAt(150, 150), TerrainModel::kOutsideElevation);
}

TEST(TerrainWithoutModel, SubstituteElevationAndNoProfile) {
  TerrainModel model;
  model.SetSubstituteElevation(123.25);
  EXPECT_EQ(model.ElevationAt(10, 10), 123.25);
  EXPECT_EQ(model.LocateTriangle(10, 10), -1);
  EXPECT_EQ(model.NearestFilledCell(0, 0), -1);
  int count = -1;
  EXPECT_EQ(model.GroundLineAlong(0, 0, 10, 10, count), nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(TerrainHandTest, CloseReleasesTheModel) {
  model.Close();
  EXPECT_FALSE(model.IsLoaded());
  EXPECT_EQ(model.LocateTriangle(110, 30), -1);
  EXPECT_EQ(model.ElevationAt(110, 30), TerrainModel::kOutsideElevation);
  // Loaded again, it answers again.
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  EXPECT_NEAR(model.ElevationAt(110, 30), 126.0, 1e-9);
}

}  // namespace

// A dense network: a square of 61 by 61 points 10 m apart (far more points
// than the file's 100 m grid has cells), each 10 m square cut by its diagonal
// from (i, j) to (i+1, j+1) into the triangles 2s (below the diagonal) and
// 2s+1 (above it), s = 60 i + j. The elevations are no plane: z = 50 + (7 i +
// 3 j^2) mod 11, so every triangle has a plane of its own and a point found
// in the wrong one would show it. Each expected elevation is worked on the
// triangle's corners: on (a, b, c) z = za + u (zb - za) + v (zc - zb), on
// (a, c, d) z = za + u (zc - zd) + v (zd - za), u and v the point's place in
// its square.
TEST(TerrainDense, EveryPointIsFoundInItsOwnTriangle) {
  constexpr int kSide = 60;
  constexpr double kStep = 10.0;
  auto height = [](int i, int j) { return 50.0 + (7 * i + 3 * j * j) % 11; };
  std::vector<terrain::SurveyPoint> points;
  for (int i = 0; i <= kSide; ++i)
    for (int j = 0; j <= kSide; ++j) points.push_back({i * kStep, j * kStep, height(i, j), 0});
  auto id = [](int i, int j) { return i * (kSide + 1) + j; };
  std::vector<terrain::TinTriangle> triangles(2 * kSide * kSide);
  for (int i = 0; i < kSide; ++i)
    for (int j = 0; j < kSide; ++j) {
      const int s = i * kSide + j;
      const int32_t lower[3] = {id(i, j), id(i + 1, j), id(i + 1, j + 1)};
      const int32_t upper[3] = {id(i, j), id(i + 1, j + 1), id(i, j + 1)};
      for (int k = 0; k < 3; ++k) {
        triangles[2 * s].vertex[k] = lower[k];
        triangles[2 * s + 1].vertex[k] = upper[k];
      }
    }
  ProjectFolder folder;
  folder.Write(points, triangles);
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));

  struct Case {
    double x, y;
  };
  std::vector<Case> cases;
  // Points inside squares all over the network, near and far from corners.
  for (int i = 0; i < kSide; i += 7)
    for (int j = 0; j < kSide; j += 5) {
      cases.push_back({i * kStep + 6.5, j * kStep + 2.25});
      cases.push_back({i * kStep + 1.25, j * kStep + 8.75});
      cases.push_back({i * kStep + 9.999, j * kStep + 0.001});
    }
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    const int i = static_cast<int>(c.x / kStep), j = static_cast<int>(c.y / kStep);
    const double u = c.x / kStep - i, v = c.y / kStep - j;
    const double za = height(i, j), zb = height(i + 1, j), zc = height(i + 1, j + 1), zd = height(i, j + 1);
    const bool below = u > v;
    const int s = i * kSide + j;
    EXPECT_EQ(model.LocateTriangle(c.x, c.y), below ? 2 * s : 2 * s + 1);
    const double z = below ? za + u * (zb - za) + v * (zc - zb) : za + u * (zc - zd) + v * (zd - za);
    EXPECT_NEAR(model.ElevationAt(c.x, c.y), z, 1e-9);
  }
  // Points on the edges (the grid lines and the diagonals) and on corners: a
  // triangle of the edge, and the elevation along the edge.
  const struct {
    double x, y, z;
  } onEdges[] = {
      {100.0, 205.0, (height(10, 20) + height(10, 21)) / 2},  // the line x = 100
      {305.0, 400.0, (height(30, 40) + height(31, 40)) / 2},  // the line y = 400
      {255.0, 135.0, (height(25, 13) + height(26, 14)) / 2},  // a diagonal
      {420.0, 310.0, height(42, 31)},                         // a corner
  };
  for (const auto& e : onEdges) {
    SCOPED_TRACE(testing::Message() << "on an edge (" << e.x << ", " << e.y << ")");
    const int t = model.LocateTriangle(e.x, e.y);
    ASSERT_GE(t, 0);
    EXPECT_EQ(model.PointInTriangle(t, e.x, e.y), 1);
    EXPECT_NEAR(model.ElevationAt(e.x, e.y), e.z, 1e-9);
  }
  // Beyond the network.
  EXPECT_EQ(model.LocateTriangle(-0.5, 300.0), -1);
  EXPECT_EQ(model.LocateTriangle(300.0, 600.5), -1);
}
