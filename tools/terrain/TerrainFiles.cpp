#include "TerrainFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <tuple>

namespace terrain {
namespace {

constexpr double kCell = 100.0;
constexpr double kMaxGridCells = 1 << 27;

bool ParseNumber(std::string_view token, double& value) {
  std::string s(token);
  errno = 0;
  char* end = nullptr;
  value = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && !s.empty() && std::isfinite(value);
}

std::string Shown(std::string_view line) {
  std::string s(line.substr(0, 60));
  if (line.size() > 60) s += "...";
  return s;
}

// Twice the signed area of a, b, c, computed about their mean.
double Orient(const SurveyPoint& a, const SurveyPoint& b, const SurveyPoint& c) {
  double mx = (a.x + b.x + c.x) / 3.0, my = (a.y + b.y + c.y) / 3.0;
  double ax = a.x - mx, ay = a.y - my, bx = b.x - mx, by = b.y - my, cx = c.x - mx, cy = c.y - my;
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

void PutInt(std::vector<unsigned char>& out, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

void PutDouble(std::vector<unsigned char>& out, double v) {
  uint64_t u = 0;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size,
               std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = path.string() + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = std::fclose(f) == 0 && ok;
  if (!ok) error = path.string() + ": writing failed";
  return ok;
}

// Neighbours across the edge opposite each vertex, from the shared edges.
bool FindNeighbours(const std::vector<TinTriangle>& triangles, std::vector<int32_t>& neighbours,
                    std::string& error) {
  struct Edge {
    int32_t lo, hi, triangle, k;
    bool forward;  // the triangle runs lo -> hi along it
  };
  std::vector<Edge> edges;
  edges.reserve(triangles.size() * 3);
  for (size_t t = 0; t < triangles.size(); ++t) {
    for (int k = 0; k < 3; ++k) {
      int32_t a = triangles[t].vertex[(k + 1) % 3], b = triangles[t].vertex[(k + 2) % 3];
      edges.push_back({std::min(a, b), std::max(a, b), static_cast<int32_t>(t), k, a < b});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& e, const Edge& f) {
    return std::tie(e.lo, e.hi, e.triangle) < std::tie(f.lo, f.hi, f.triangle);
  });
  neighbours.assign(triangles.size() * 3, -1);
  for (size_t i = 0; i < edges.size();) {
    size_t j = i;
    while (j < edges.size() && edges[j].lo == edges[i].lo && edges[j].hi == edges[i].hi) ++j;
    const std::string name =
        "edge " + std::to_string(edges[i].lo) + "-" + std::to_string(edges[i].hi);
    if (j - i > 2) {
      error = name + " belongs to more than two triangles";
      return false;
    }
    if (j - i == 2) {
      const Edge& e = edges[i];
      const Edge& f = edges[i + 1];
      if (e.forward == f.forward) {
        error = name + ": triangles " + std::to_string(e.triangle) + " and " +
                std::to_string(f.triangle) + " overlap";
        return false;
      }
      neighbours[e.triangle * 3 + e.k] = f.triangle;
      neighbours[f.triangle * 3 + f.k] = e.triangle;
    }
    i = j;
  }
  return true;
}

}  // namespace

bool ParseSurveyText(std::string_view text, const std::string& name,
                     std::vector<SurveyPoint>& points, std::string& error) {
  points.clear();
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    if (tokens.empty() || tokens[0][0] == '#') continue;
    SurveyPoint p;
    p.line = lineNo;
    if (tokens.size() != 3 || !ParseNumber(tokens[0], p.x) || !ParseNumber(tokens[1], p.y) ||
        !ParseNumber(tokens[2], p.z)) {
      error = name + ":" + std::to_string(lineNo) + ": expected three numbers \"x y z\", found \"" +
              Shown(line) + "\"";
      return false;
    }
    points.push_back(p);
  }
  if (points.empty()) {
    error = name + ": no points";
    return false;
  }
  return true;
}

bool ReadSurveyFile(const std::string& path, std::vector<SurveyPoint>& points, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return false;
  }
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return ParseSurveyText(text, path, points, error);
}

std::vector<std::string> DropDuplicatePoints(std::vector<SurveyPoint>& points) {
  std::vector<size_t> order(points.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::tie(points[a].x, points[a].y) < std::tie(points[b].x, points[b].y);
  });
  std::vector<bool> drop(points.size(), false);
  std::vector<std::string> notes;
  // Each run of equal (x, y) keeps its first point (stable sort: the earliest).
  for (size_t i = 0; i < order.size();) {
    size_t j = i + 1;
    while (j < order.size() && points[order[j]].x == points[order[i]].x &&
           points[order[j]].y == points[order[i]].y) {
      drop[order[j]] = true;
      const SurveyPoint& kept = points[order[i]];
      const SurveyPoint& gone = points[order[j]];
      notes.push_back("point of line " + std::to_string(gone.line) + " repeats the point of line " +
                      std::to_string(kept.line) + ": dropped");
      ++j;
    }
    i = j;
  }
  size_t out = 0;
  for (size_t i = 0; i < points.size(); ++i)
    if (!drop[i]) points[out++] = points[i];
  points.resize(out);
  return notes;
}

bool WriteTerrainFiles(const std::string& folder, const std::vector<SurveyPoint>& points,
                       std::vector<TinTriangle> triangles, TerrainSummary* summary,
                       std::string& error) {
  const size_t n = points.size();
  if (n == 0 || n > 0x7FFFFFFF || triangles.empty() || triangles.size() > 0x7FFFFFFF / 3) {
    error = "a terrain model needs points and triangles";
    return false;
  }
  for (const SurveyPoint& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      error = "a point has a coordinate that is not a number";
      return false;
    }
  }
  for (size_t t = 0; t < triangles.size(); ++t) {
    TinTriangle& tri = triangles[t];
    for (int32_t v : tri.vertex) {
      if (v < 0 || static_cast<size_t>(v) >= n) {
        error = "triangle " + std::to_string(t) + ": vertex " + std::to_string(v) + " out of range";
        return false;
      }
    }
    double o = Orient(points[tri.vertex[0]], points[tri.vertex[1]], points[tri.vertex[2]]);
    if (o == 0.0) {
      error = "triangle " + std::to_string(t) + " is flat";
      return false;
    }
    if (o < 0) std::swap(tri.vertex[1], tri.vertex[2]);
  }
  std::vector<int32_t> neighbours;
  if (!FindNeighbours(triangles, neighbours, error)) return false;

  std::vector<int32_t> pointTriangle(n, -1);
  for (size_t t = triangles.size(); t-- > 0;)
    for (int32_t v : triangles[t].vertex) pointTriangle[v] = static_cast<int32_t>(t);

  double xmin = points[0].x, xmax = xmin, ymin = points[0].y, ymax = ymin;
  for (const SurveyPoint& p : points) {
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  double rowsD = std::floor((xmax - xmin) / kCell + 0.001) + 1.0;
  double colsD = std::floor((ymax - ymin) / kCell + 0.001) + 1.0;
  if (!(rowsD * colsD <= kMaxGridCells)) {
    error = "the points spread too far for a 100 m grid";
    return false;
  }
  const int rows = static_cast<int>(rowsD), cols = static_cast<int>(colsD);
  std::vector<int32_t> grid(static_cast<size_t>(rows) * cols, -1);
  std::vector<double> best(grid.size(), 0.0);
  for (size_t i = 0; i < n; ++i) {
    if (pointTriangle[i] < 0) continue;  // a point outside every triangle cannot start a search
    const SurveyPoint& p = points[i];
    int row = static_cast<int>((p.x - xmin) / kCell + 0.001);
    int col = static_cast<int>((p.y - ymin) / kCell + 0.001);
    size_t cell = static_cast<size_t>(row) * cols + col;
    double dx = p.x - (xmin + (row + 0.5) * kCell), dy = p.y - (ymin + (col + 0.5) * kCell);
    double d = dx * dx + dy * dy;
    if (grid[cell] < 0 || d < best[cell]) {
      grid[cell] = static_cast<int32_t>(i);
      best[cell] = d;
    }
  }

  std::filesystem::path dir(folder);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);

  char index[200];
  int len = std::snprintf(index, sizeof index, "%zu\r\n%.17g %.17g %.17g %.17g\r\n", n, xmin, ymin,
                          xmax, ymax);
  if (!WriteFile(dir / "PtIndex.idx", index, static_cast<size_t>(len), error)) return false;

  std::vector<unsigned char> bytes;
  bytes.reserve(n * 40);
  for (size_t i = 0; i < n; ++i) {
    PutDouble(bytes, points[i].x);
    PutDouble(bytes, points[i].y);
    PutDouble(bytes, points[i].z);
    PutInt(bytes, pointTriangle[i]);
    for (int k = 0; k < 3; ++k) PutInt(bytes, 0);
  }
  if (!WriteFile(dir / "Point.xyz", bytes.data(), bytes.size(), error)) return false;

  bytes.clear();
  bytes.reserve(triangles.size() * 28);
  for (size_t t = 0; t < triangles.size(); ++t) {
    for (int32_t v : triangles[t].vertex) PutInt(bytes, v);
    for (int k = 0; k < 3; ++k) PutInt(bytes, neighbours[t * 3 + k]);
    PutInt(bytes, triangles[t].flags);
  }
  if (!WriteFile(dir / "TIN.tri", bytes.data(), bytes.size(), error)) return false;

  bytes.clear();
  bytes.reserve(grid.size() * 16);
  for (int32_t p : grid) {
    PutInt(bytes, p);
    for (int k = 0; k < 3; ++k) PutInt(bytes, 0);
  }
  if (!WriteFile(dir / "Grid.idx", bytes.data(), bytes.size(), error)) return false;

  if (summary) *summary = {static_cast<int>(n), static_cast<int>(triangles.size()), rows, cols};
  return true;
}

}  // namespace terrain
