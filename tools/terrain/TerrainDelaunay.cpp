#include "TerrainDelaunay.h"

#include <functional>
#include <unordered_map>
#include <utility>

namespace terrain {
namespace {

struct PairHash {
  size_t operator()(const std::pair<double, double>& p) const {
    size_t h = std::hash<double>()(p.first);
    return h ^ (std::hash<double>()(p.second) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
  }
};

}  // namespace

bool BuildDelaunay(const std::vector<SurveyPoint>& points, TinDelaunay& dt, std::string& error) {
  dt.clear();
  std::vector<TinKernel::Point_2> located;
  located.reserve(points.size());
  std::unordered_map<std::pair<double, double>, int32_t, PairHash> index;
  index.reserve(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    located.emplace_back(points[i].x, points[i].y);
    index.emplace(std::make_pair(points[i].x, points[i].y), static_cast<int32_t>(i));
  }
  // The range insertion sorts the points along a space-filling curve first.
  dt.insert(located.begin(), located.end());
  if (dt.dimension() < 2) {
    error = points.size() < 3 ? "fewer than three points cannot make a terrain model"
                              : "all points lie on one line: they make no terrain model";
    return false;
  }
  for (auto v = dt.finite_vertices_begin(); v != dt.finite_vertices_end(); ++v)
    v->info() = index.at(std::make_pair(v->point().x(), v->point().y()));
  return true;
}

std::vector<TinTriangle> TrianglesOf(const TinDelaunay& dt) {
  std::vector<TinTriangle> triangles;
  triangles.reserve(dt.number_of_faces());
  for (auto f = dt.finite_faces_begin(); f != dt.finite_faces_end(); ++f) {
    TinTriangle t;
    // CGAL keeps faces counter-clockwise in (x, y).
    for (int k = 0; k < 3; ++k) t.vertex[k] = f->vertex(k)->info();
    triangles.push_back(t);
  }
  return triangles;
}

bool MakeTerrainFiles(std::vector<SurveyPoint> points, const std::string& folder,
                      TerrainSummary& summary, std::vector<std::string>& notes, std::string& error) {
  notes = DropDuplicatePoints(points);
  TinDelaunay dt;
  if (!BuildDelaunay(points, dt, error)) return false;
  return WriteTerrainFiles(folder, points, TrianglesOf(dt), &summary, error);
}

bool MakeTerrain(const std::string& pointsFile, const std::string& folder, TerrainSummary& summary,
                 std::vector<std::string>& notes, std::string& error) {
  std::vector<SurveyPoint> points;
  if (!ReadSurveyFile(pointsFile, points, error)) return false;
  return MakeTerrainFiles(std::move(points), folder, summary, notes, error);
}

}  // namespace terrain
