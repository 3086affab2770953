// make-terrain: reading surveyed points, the files it writes (checked field by
// field against the hand-made network) and the Delaunay networks it makes
// (checked against a plane and against CGAL's own point location).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TerrainDelaunay.h"
#include "TerrainModel.h"
#include "corvane/data/terrain_fixture.h"

namespace {

using terrain::SurveyPoint;
using terrain::TinTriangle;
using terrain_test::ProjectFolder;

int32_t IntAt(const std::vector<unsigned char>& b, size_t at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return static_cast<int32_t>(u);
}

double DoubleAt(const std::vector<unsigned char>& b, size_t at) {
  uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(b[at + i]) << (8 * i);
  double d;
  std::memcpy(&d, &u, sizeof d);
  return d;
}

TEST(SurveyText, ReadsPointsAndNamesTheBadLine) {
  std::vector<SurveyPoint> points;
  std::string error;
  ASSERT_TRUE(terrain::ParseSurveyText("1 2 3\n\n# a remark\n 4.5\t-5e2  6\r\n7 8 9", "pts.txt",
                                       points, error))
      << error;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[1].x, 4.5);
  EXPECT_EQ(points[1].y, -500.0);
  EXPECT_EQ(points[1].z, 6.0);
  EXPECT_EQ(points[1].line, 4);
  EXPECT_EQ(points[2].line, 5);

  struct BadCase {
    const char* text;
    const char* message;
  };
  const BadCase cases[] = {
      {"1 2\n", "pts.txt:1: expected three numbers \"x y z\", found \"1 2\""},
      {"1 2 3\n4 5 6 7\n", "pts.txt:2:"},
      {"1 2 3\n\n1 2 x\n", "pts.txt:3:"},
      {"1,2,3\n", "pts.txt:1:"},
      {"1 2 nan\n", "pts.txt:1:"},
      {"1 2 1e999\n", "pts.txt:1:"},
      {"1 2 3z\n", "pts.txt:1:"},
      {"# only a remark\n\n", "pts.txt: no points"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_FALSE(terrain::ParseSurveyText(c.text, "pts.txt", points, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(SurveyText, RepeatedPointsAreDroppedWithTheirLines) {
  std::vector<SurveyPoint> points = {
      {0, 0, 1, 1}, {5, 5, 2, 2}, {0, 0, 3, 3}, {9, 1, 4, 4}, {5, 5, 5, 5}, {0, 0, 6, 6}};
  std::vector<std::string> notes = terrain::DropDuplicatePoints(points);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].line, 1);
  EXPECT_EQ(points[1].line, 2);
  EXPECT_EQ(points[2].line, 4);
  ASSERT_EQ(notes.size(), 3u);
  std::set<std::string> expected = {"point of line 3 repeats the point of line 1: dropped",
                                    "point of line 6 repeats the point of line 1: dropped",
                                    "point of line 5 repeats the point of line 2: dropped"};
  EXPECT_EQ(std::set<std::string>(notes.begin(), notes.end()), expected);
}

TEST(TerrainFilesWriter, HandNetworkFieldByField) {
  ProjectFolder folder;
  // Triangle B given clockwise, as (P1, P5, P2): the writer turns it to (P1, P2, P5).
  auto triangles = terrain_test::HandTriangles();
  std::swap(triangles[1].vertex[1], triangles[1].vertex[2]);
  folder.Write(terrain_test::HandPoints(), triangles);

  std::ifstream index(folder.file("PtIndex.idx"));
  int count = 0;
  double xmin, ymin, xmax, ymax;
  index >> count >> xmin >> ymin >> xmax >> ymax;
  EXPECT_EQ(count, 6);
  EXPECT_EQ(xmin, 0.0);
  EXPECT_EQ(ymin, 0.0);
  EXPECT_EQ(xmax, 800.0);
  EXPECT_EQ(ymax, 200.0);

  auto pts = folder.Read("Point.xyz");
  ASSERT_EQ(pts.size(), 6u * 40);
  const int pointTriangle[6] = {0, 0, 1, 2, 4, 0};  // the first triangle with the point
  for (int p = 0; p < 6; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(DoubleAt(pts, 40 * p), terrain_test::HandPoints()[p].x);
    EXPECT_EQ(DoubleAt(pts, 40 * p + 8), terrain_test::HandPoints()[p].y);
    EXPECT_EQ(DoubleAt(pts, 40 * p + 16), terrain_test::HandPoints()[p].z);
    EXPECT_EQ(IntAt(pts, 40 * p + 24), pointTriangle[p]);
    for (int k = 28; k < 40; ++k) EXPECT_EQ(pts[40 * p + k], 0);
  }

  // Neighbour k across the edge opposite vertex k, worked out from the drawing.
  const int32_t expected[5][7] = {
      {0, 1, 5, 1, 3, -1, 0},  {1, 2, 5, 2, 0, 4, 0}, {2, 3, 5, 3, 1, -1, 0},
      {3, 0, 5, 0, 2, -1, 0},  {1, 4, 2, -1, 1, -1, 0}};
  auto tin = folder.Read("TIN.tri");
  ASSERT_EQ(tin.size(), 5u * 28);
  for (int t = 0; t < 5; ++t)
    for (int f = 0; f < 7; ++f) EXPECT_EQ(IntAt(tin, 28 * t + 4 * f), expected[t][f]) << t << "," << f;

  auto grid = folder.Read("Grid.idx");
  ASSERT_EQ(grid.size(), 27u * 16);
  for (int c = 0; c < 27; ++c) {
    int want = c == 0 ? 0 : c == 2 ? 3 : c == 3 ? 5 : c == 6 ? 1 : c == 8 ? 2 : c == 25 ? 4 : -1;
    EXPECT_EQ(IntAt(grid, 16 * c), want) << c;
    for (int k = 4; k < 16; ++k) EXPECT_EQ(grid[16 * c + k], 0);
  }
}

TEST(TerrainFilesWriter, RefusesBrokenNetworks) {
  auto points = terrain_test::HandPoints();
  points.push_back({400, 60, 0, 0});  // 6: inside E
  struct BadCase {
    const char* what;
    std::vector<std::vector<int32_t>> triangles;
    const char* message;
  };
  const BadCase cases[] = {
      {"a vertex out of range", {{0, 1, 7}}, "triangle 0: vertex 7 out of range"},
      {"a flat triangle", {{0, 1, 1}}, "triangle 0 is flat"},
      {"an edge of three triangles", {{1, 4, 2}, {1, 2, 5}, {1, 2, 6}}, "more than two triangles"},
      {"overlapping triangles", {{1, 4, 2}, {1, 6, 2}}, "overlap"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<TinTriangle> triangles;
    for (const auto& v : c.triangles) {
      TinTriangle t;
      for (int k = 0; k < 3; ++k) t.vertex[k] = v[k];
      triangles.push_back(t);
    }
    ProjectFolder folder(std::to_string(&c - cases));
    std::string error;
    EXPECT_FALSE(terrain::WriteTerrainFiles(folder.file("").string(), points, triangles, nullptr, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.file("TIN.tri")));
  }
}

// Surveyed points on the plane z = 50 + 0.02 x - 0.03 y over 0..1000 by
// 0..600, the four corners among them: every query inside has the plane's z.
double Plane(double x, double y) { return 50 + 0.02 * x - 0.03 * y; }

std::vector<SurveyPoint> PlanePoints(int n) {
  std::vector<SurveyPoint> points = {{0, 0, 0, 1}, {1000, 0, 0, 2}, {0, 600, 0, 3}, {1000, 600, 0, 4}};
  uint64_t state = 12345;
  auto next = [&state]() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  for (int i = 0; i < n; ++i) points.push_back({next() * 1000, next() * 600, 0, 5 + i});
  for (SurveyPoint& p : points) p.z = Plane(p.x, p.y);
  return points;
}

class DelaunayNetworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    points = PlanePoints(400);
    std::vector<std::string> notes;
    std::string error;
    ASSERT_TRUE(terrain::MakeTerrainFiles(points, folder.file("").string(), summary, notes, error))
        << error;
    EXPECT_TRUE(notes.empty());
    ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  }
  std::vector<SurveyPoint> points;
  ProjectFolder folder;
  terrain::TerrainSummary summary;
  TerrainModel model;
};

TEST_F(DelaunayNetworkTest, FilesHoldAConsistentNetwork) {
  EXPECT_EQ(summary.points, 404);
  EXPECT_EQ(summary.rows, 11);  // 1000 / 100 + 1
  EXPECT_EQ(summary.cols, 7);
  // A triangulation of n points with h on a convex hull has 2n - 2 - h triangles;
  // the hull holds the four corners and any points exactly on its sides (none here).
  EXPECT_EQ(summary.triangles, 2 * 404 - 2 - 4);
  auto tin = folder.Read("TIN.tri");
  auto pts = folder.Read("Point.xyz");
  auto xy = [&](int p) { return std::pair(DoubleAt(pts, 40 * p), DoubleAt(pts, 40 * p + 8)); };
  for (int t = 0; t < summary.triangles; ++t) {
    int v[3], n[3];
    for (int k = 0; k < 3; ++k) {
      v[k] = IntAt(tin, 28 * t + 4 * k);
      n[k] = IntAt(tin, 28 * t + 12 + 4 * k);
    }
    auto [x0, y0] = xy(v[0]);
    auto [x1, y1] = xy(v[1]);
    auto [x2, y2] = xy(v[2]);
    ASSERT_GT((x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0), 0) << t;
    for (int k = 0; k < 3; ++k) {
      if (n[k] < 0) continue;
      // The neighbour holds the edge opposite vertex k, and sees t back across it.
      std::set<int> edge = {v[(k + 1) % 3], v[(k + 2) % 3]};
      int back = -1;
      for (int j = 0; j < 3; ++j) {
        std::set<int> other = {IntAt(tin, 28 * n[k] + 4 * ((j + 1) % 3)),
                               IntAt(tin, 28 * n[k] + 4 * ((j + 2) % 3))};
        if (other == edge) back = IntAt(tin, 28 * n[k] + 12 + 4 * j);
      }
      EXPECT_EQ(back, t) << t << "," << k;
    }
  }
  for (int p = 0; p < summary.points; ++p) {
    int t = IntAt(pts, 40 * p + 24);
    ASSERT_GE(t, 0);
    std::set<int> vertices = {IntAt(tin, 28 * t), IntAt(tin, 28 * t + 4), IntAt(tin, 28 * t + 8)};
    EXPECT_TRUE(vertices.count(p)) << p;
  }
  auto grid = folder.Read("Grid.idx");
  for (int c = 0; c < summary.rows * summary.cols; ++c) {
    int p = IntAt(grid, 16 * c);
    if (p < 0) continue;
    auto [x, y] = xy(p);
    EXPECT_EQ(static_cast<int>(x / 100 + 0.001) * summary.cols + static_cast<int>(y / 100 + 0.001), c);
  }
}

TEST_F(DelaunayNetworkTest, ElevationsAgreeWithThePlaneAndWithCgal) {
  terrain::TinDelaunay dt;
  std::string error;
  ASSERT_TRUE(terrain::BuildDelaunay(points, dt, error));
  uint64_t state = 777;
  auto next = [&state]() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  // make-terrain writes the points in its own order: compare corners by place.
  auto tin = folder.Read("TIN.tri");
  auto pts = folder.Read("Point.xyz");
  for (int i = 0; i < 2000; ++i) {
    double x = next() * 1000, y = next() * 600;
    int t = model.LocateTriangle(x, y);
    ASSERT_GE(t, 0) << x << "," << y;
    EXPECT_NEAR(model.ElevationAt(x, y), Plane(x, y), 1e-9);
    auto face = dt.locate(terrain::TinKernel::Point_2(x, y));
    std::set<std::pair<double, double>> cgal, ours;
    for (int k = 0; k < 3; ++k) {
      cgal.emplace(face->vertex(k)->point().x(), face->vertex(k)->point().y());
      int v = IntAt(tin, 28 * t + 4 * k);
      ours.emplace(DoubleAt(pts, 40 * v), DoubleAt(pts, 40 * v + 8));
    }
    EXPECT_EQ(ours, cgal) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{-0.5, 300.0}, std::pair{500.0, 600.5}, std::pair{1000.5, 10.0}})
    EXPECT_EQ(model.ElevationAt(x, y), TerrainModel::kOutsideElevation);
}

TEST_F(DelaunayNetworkTest, ProfilesLieOnThePlaneInOrder) {
  struct Segment {
    double ax, ay, bx, by;
  };
  const Segment segments[] = {{10, 10, 990, 590}, {500, 5, 500, 595}, {123, 456, 130, 450},
                              {900, 100, 20, 580}, {1, 599, 999, 1}};
  for (const Segment& s : segments) {
    SCOPED_TRACE(::testing::Message() << s.ax << "," << s.ay << " -> " << s.bx << "," << s.by);
    int count = 0;
    TerrainNode* line = model.GroundLineAlong(s.ax, s.ay, s.bx, s.by, count);
    ASSERT_GE(count, 2);
    double length = std::hypot(s.bx - s.ax, s.by - s.ay);
    double last = -1;
    int seen = 0;
    const TerrainNode* end = nullptr;
    for (const TerrainNode* n = line; n; n = n->next, ++seen) {
      double along = std::hypot(n->x - s.ax, n->y - s.ay);
      double off = std::fabs((s.bx - s.ax) * (n->y - s.ay) - (s.by - s.ay) * (n->x - s.ax)) / length;
      EXPECT_LT(off, 1e-6);
      EXPECT_GT(along, last);
      EXPECT_NEAR(n->z, Plane(n->x, n->y), 1e-6);
      last = along;
      end = n;
    }
    EXPECT_EQ(seen, count);
    EXPECT_EQ(line->x, s.ax);
    EXPECT_EQ(end->x, s.bx);
    EXPECT_EQ(end->y, s.by);
    TerrainModel::FreeGroundLine(line);
  }
}

TEST(MakeTerrainFiles, PointsThatMakeNoNetwork) {
  struct BadCase {
    std::vector<SurveyPoint> points;
    const char* message;
  };
  const BadCase cases[] = {
      {{{0, 0, 1, 1}, {10, 0, 1, 2}}, "fewer than three points"},
      {{{0, 0, 1, 1}, {10, 10, 1, 2}, {20, 20, 1, 3}, {30, 30, 1, 4}}, "all points lie on one line"},
      {{{0, 0, 1, 1}, {10, 0, 1, 2}, {0, 0, 5, 3}}, "fewer than three points"},
  };
  for (const BadCase& c : cases) {
    ProjectFolder folder(std::to_string(&c - cases));
    terrain::TerrainSummary summary;
    std::vector<std::string> notes;
    std::string error;
    EXPECT_FALSE(terrain::MakeTerrainFiles(c.points, folder.file("").string(), summary, notes, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

// The program itself: its output on a good file, and its message on a bad one.
std::string RunMakeTerrain(const std::string& args, int& status) {
  std::string out = ::testing::TempDir() + "make_terrain_output.txt";
  std::string command = std::string(RAIL_BINARY_DIR) + "/bin/make-terrain " + args + " > " + out + " 2>&1";
  status = std::system(command.c_str());
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  std::remove(out.c_str());
  return text.str();
}

TEST(MakeTerrainProgram, WritesTheModelOrNamesTheBadLine) {
  ProjectFolder folder;
  std::string good = folder.root() + "/good.txt";
  std::ofstream(good) << "0 0 100\n200 0 120\n200 200 140\n0 200 110\n150 50 140\n0 0 99\n";
  int status = 0;
  std::string output = RunMakeTerrain(good + " " + folder.root() + "/PMAP", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("point of line 6 repeats the point of line 1: dropped"), std::string::npos) << output;
  EXPECT_NE(output.find("5 points, 4 triangles, grid of 3 x 3 cells"), std::string::npos) << output;
  TerrainModel model;
  ASSERT_TRUE(model.LoadFromFolder(folder.root().c_str()));
  // P5 inside the square forces the four triangles to P5; (110, 30) lies in
  // (P0, P1, P5), the plane z = 100 + 0.1 x + 0.5 y.
  EXPECT_NEAR(model.ElevationAt(110, 30), 126.0, 1e-9);

  std::string bad = folder.root() + "/bad.txt";
  std::ofstream(bad) << "0 0 100\n200 0 120\n200 200\n";
  output = RunMakeTerrain(bad + " " + folder.root() + "/OUT", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("bad.txt:3: expected three numbers"), std::string::npos) << output;
  EXPECT_FALSE(std::filesystem::exists(folder.root() + "/OUT/TIN.tri"));

  output = RunMakeTerrain("", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("usage: make-terrain POINTS OUTDIR"), std::string::npos);
}

}  // namespace
