#include "TerrainDelaunay.h"

#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/hilbert_sort.h>
#include <CGAL/property_map.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <numeric>
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

void SortSpatially(std::vector<SurveyPoint>& points) {
  std::vector<TinKernel::Point_2> located;
  located.reserve(points.size());
  for (const SurveyPoint& p : points) located.emplace_back(p.x, p.y);
  std::vector<std::size_t> order(points.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  using Traits = CGAL::Spatial_sort_traits_adapter_2<
      TinKernel, CGAL::Pointer_property_map<TinKernel::Point_2>::type>;
  CGAL::hilbert_sort(order.begin(), order.end(), Traits(CGAL::make_property_map(located)));
  std::vector<SurveyPoint> sorted;
  sorted.reserve(points.size());
  for (std::size_t i : order) sorted.push_back(points[i]);
  points.swap(sorted);
}

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
  auto lowest = [](const TinTriangle& t) { return std::min({t.vertex[0], t.vertex[1], t.vertex[2]}); };
  std::stable_sort(triangles.begin(), triangles.end(),
                   [&](const TinTriangle& a, const TinTriangle& b) { return lowest(a) < lowest(b); });
  return triangles;
}

bool MakeTerrainFiles(std::vector<SurveyPoint> points, const std::string& folder,
                      TerrainSummary& summary, std::vector<std::string>& notes, std::string& error) {
  notes = DropDuplicatePoints(points);
  SortSpatially(points);
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
