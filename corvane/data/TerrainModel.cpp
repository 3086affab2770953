#include "TerrainModel.h"

#include <sys/mman.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "TableNumbers.h"
#include "TerrainProject.h"
#include "arx/edoutput.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "win/filemap.h"

TerrainModel g_TerrainModel;

namespace {

// A point or vertex lies on an edge when the orientation is at least this.
constexpr double kOnEdge = -1e-8;
// Segment parameters this close beyond 0 or 1 still count as a crossing.
constexpr double kParamSlack = 1e-9;
// Two profile nodes closer than this in x, y and z alike are one node.
constexpr double kNodeMerge = 0.1;
// Grids beyond this many cells are taken for a damaged index file.
constexpr double kMaxGridCells = 1 << 27;
// The finer grid in memory: about this many points to a cell (a cell about
// the size of a triangle), and never more cells than this.
constexpr double kFinePointsPerCell = 0.5;
constexpr double kMaxFineCells = 1 << 24;
// The steps a walk on the finer grid may take: from a cell's centre to a
// point of the cell takes a few on any sound network.
constexpr int kFineWalkSteps = 256;
// A point at least this far inside each edge of a triangle (as EdgeSide
// measures it) lies in no other: the search from the file's grid finds that
// same triangle, whichever way it comes. Nearer an edge the answer is left to
// that search, so both ways give one triangle and one elevation.
constexpr double kSureInside = 1e-6;

// Twice the signed area of (a, p, b): positive when a, p, b turn counter-clockwise.
inline double Orient(double ax, double ay, double px, double py, double bx, double by) {
  return ax * (py - by) + px * (by - ay) + bx * (ay - py);
}

// Orient after moving the mean of the three points to the origin, which keeps
// the products small for survey coordinates in the millions.
inline double OrientCentred(double ax, double ay, double px, double py, double bx, double by) {
  double mx = (ax + px + bx) / 3.0;
  double my = (ay + py + by) / 3.0;
  return Orient(ax - mx, ay - my, px - mx, py - my, bx - mx, by - my);
}

// The side of p against the edge a -> b (positive on the left), centred on the
// edge's midpoint. PointInTriangle and the walk both decide with it, so they agree.
inline double EdgeSide(const TerrainModel::PointRecord& a, const TerrainModel::PointRecord& b,
                       double px, double py) {
  double mx = (a.x + b.x) / 2.0;
  double my = (a.y + b.y) / 2.0;
  return Orient(a.x - mx, a.y - my, b.x - mx, b.y - my, px - mx, py - my);
}

// Whether p lies in the triangle p0 p1 p2 (counter-clockwise) by at least
// `margin` on each edge's side (a negative margin takes points just outside).
inline bool InsideBy(const TerrainModel::PointRecord& p0, const TerrainModel::PointRecord& p1,
                     const TerrainModel::PointRecord& p2, double px, double py, double margin) {
  return EdgeSide(p0, p1, px, py) >= margin && EdgeSide(p1, p2, px, py) >= margin &&
         EdgeSide(p2, p0, px, py) >= margin;
}

// Starts loading the neighbours of a triangle the search is in: the next step
// goes to one of them, and the network is too large for the caches.
inline void PrefetchNeighbours(const TerrainModel::TriangleRecord* triangles,
                               const TerrainModel::TriangleRecord& t) {
  for (int k = 0; k < 3; ++k)
    if (t.neighbour[k] >= 0) __builtin_prefetch(&triangles[t.neighbour[k]]);
}

// Starts loading the corners of the triangle the search goes to next.
inline void PrefetchCorners(const TerrainModel::TriangleRecord* triangles,
                            const TerrainModel::PointRecord* points, int triangle) {
  if (triangle < 0) return;
  const TerrainModel::TriangleRecord& t = triangles[triangle];
  for (int k = 0; k < 3; ++k) __builtin_prefetch(&points[t.vertex[k]]);
}

inline bool NodesMerge(const TerrainNode* n, double x, double y, double z) {
  return std::fabs(n->x - x) < kNodeMerge && std::fabs(n->y - y) < kNodeMerge &&
         std::fabs(n->z - z) < kNodeMerge;
}

TerrainNode* NewNode(double x, double y, double z) {
  TerrainNode* n = new TerrainNode{};
  n->x = x;
  n->y = y;
  n->z = z;
  return n;
}

// Where the segment a -> b meets the segment p -> q: s along a -> b, u along
// p -> q, both in [0, 1] (with a little slack). Parallel segments do not meet.
bool SegmentsCross(double ax, double ay, double bx, double by, double px, double py, double qx,
                   double qy, double& s, double& u) {
  double dx = bx - ax, dy = by - ay;
  double ex = qx - px, ey = qy - py;
  double denom = dx * ey - dy * ex;
  // Parallel (or nearly: sine of the angle below 1e-12), or a segment of no length.
  if (!(denom * denom > 1e-24 * (dx * dx + dy * dy) * (ex * ex + ey * ey))) return false;
  double wx = px - ax, wy = py - ay;
  s = (wx * ey - wy * ex) / denom;
  u = (wx * dy - wy * dx) / denom;
  if (s < -kParamSlack || s > 1.0 + kParamSlack || u < -kParamSlack || u > 1.0 + kParamSlack)
    return false;
  s = std::fmin(1.0, std::fmax(0.0, s));
  return true;
}

void CloseIfOpen(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}

}  // namespace

TerrainModel::TerrainModel() = default;

TerrainModel::~TerrainModel() { Close(); }

bool TerrainModel::Load() {
  m_cellSize = 100;
  CString folder = TerrainProjectFolder();
  acutPrintf("正在导入数模数据文件,请稍候...\n");
  return LoadFromFolder(folder);
}

bool TerrainModel::LoadFromFolder(const char* projectFolder) {
  // Whatever was loaded before goes first, so a failed load leaves nothing
  // mapped and the model reports no ground.
  Close();
  m_cellSize = 100;
  m_modelPresent = 0;
  CString folder(projectFolder ? projectFolder : "");
  CString indexPath = folder + "\\PMAP\\PtIndex.idx";
  if (!ReadIndexFile(indexPath)) return false;

  CString pointPath = folder + "\\PMAP\\Point.xyz";
  uint64_t pointBytes = 0;
  if (!MapFile(pointPath, m_pointFile, m_pointMapping, m_pointView, pointBytes)) return false;
  if (pointBytes < static_cast<uint64_t>(m_pointCount) * sizeof(PointRecord)) {
    CString reason;
    reason.Format("点数%d与文件长度%llu不符", m_pointCount,
                  static_cast<unsigned long long>(pointBytes));
    return Fail(pointPath, reason);
  }
  m_points = static_cast<const PointRecord*>(m_pointView);

  CString trianglePath = folder + "\\PMAP\\TIN.tri";
  uint64_t triangleBytes = 0;
  if (!MapFile(trianglePath, m_triangleFile, m_triangleMapping, m_triangleView, triangleBytes))
    return false;
  if (triangleBytes % sizeof(TriangleRecord) != 0 ||
      triangleBytes / sizeof(TriangleRecord) > 0x7FFFFFFF) {
    return Fail(trianglePath, "文件长度不是三角形记录长度的整数倍");
  }
  m_triangleCount = static_cast<int>(triangleBytes / sizeof(TriangleRecord));
  m_triangles = static_cast<const TriangleRecord*>(m_triangleView);
  if (!CheckTriangles(trianglePath) || !CheckPoints(pointPath) || !CheckTopology(trianglePath)) return false;

  CString gridPath = folder + "\\PMAP\\Grid.idx";
  if (!ReadGridFile(gridPath) || !CheckGrid(gridPath)) return false;
  BuildFineGrid();

  m_modelPresent = 1;
  m_loaded = 1;
  return true;
}

bool TerrainModel::Fail(const CString& path, const char* reason) {
  Close();
  m_modelPresent = 0;
  CString text;
  if (reason)
    text.Format("数模文件%s已损坏(%s)，不能内插地面线!", path.GetString(), reason);
  else
    text.Format("无法打开数模文件%s，不能内插地面线!", path.GetString());
  AfxMessageBox(text);
  return false;
}

namespace {

// Reads the next blank-separated word of a text file; false at the end of the
// file or for a word longer than any number the index file holds.
bool ReadWord(FILE* f, std::string& word) {
  char buffer[80] = {};
  if (std::fscanf(f, "%79s", buffer) != 1) return false;
  word = buffer;
  return word.size() < sizeof buffer - 1;
}

}  // namespace

bool TerrainModel::ReadIndexFile(const CString& path) {
  FILE* f = platform::openFile(path, "r");
  if (!f) {
    m_modelPresent = 0;
    AfxMessageBox("未构建数字地面模型，无法内插地面线，地面高程均所给高程平均值处理!");
    return false;
  }
  std::string words[5];
  bool read = true;
  for (std::string& w : words) read = read && ReadWord(f, w);
  std::fclose(f);
  if (!read) return Fail(path, "读不到点数和范围");
  long long count = 0;
  auto [end, ec] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), count);
  if (ec != std::errc() || end != words[0].data() + words[0].size()) return Fail(path, "读不到点数和范围");
  if (count <= 0) return Fail(path, "点数不是正数");
  if (count > 0x7FFFFFFF) return Fail(path, "点数太大");
  double range[4];
  for (int i = 0; i < 4; ++i)
    if (!ParseFiniteNumber(CString(words[i + 1].c_str()), range[i])) return Fail(path, "范围不是有限的数");
  const double xmin = range[0], ymin = range[1], xmax = range[2], ymax = range[3];
  if (xmax < xmin || ymax < ymin) return Fail(path, "范围不对");
  double rows = std::floor((xmax - xmin) / 100.0 + 0.001) + 1.0;
  double cols = std::floor((ymax - ymin) / 100.0 + 0.001) + 1.0;
  if (!(rows * cols <= kMaxGridCells)) return Fail(path, "范围太大");
  m_pointCount = static_cast<int>(count);
  m_xmin = xmin;
  m_ymin = ymin;
  m_xmax = xmax;
  m_ymax = ymax;
  m_rows = static_cast<int>(rows);
  m_cols = static_cast<int>(cols);
  return true;
}

bool TerrainModel::MapFile(const CString& path, HANDLE& file, HANDLE& mapping,
                           const void*& view, uint64_t& size) {
  // Read-only, and private to this process: the model never writes its files.
  file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    file = nullptr;
    return Fail(path, nullptr);
  }
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return Fail(path, nullptr);
  size = (static_cast<uint64_t>(high) << 32) | low;
  if (size == 0) return Fail(path, "文件是空的");
  mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!mapping) return Fail(path, nullptr);
  view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (!view) return Fail(path, nullptr);
  return true;
}

bool TerrainModel::ReadGridFile(const CString& path) {
  m_gridFile = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (m_gridFile == INVALID_HANDLE_VALUE) {
    m_gridFile = nullptr;
    return Fail(path, nullptr);
  }
  const size_t cells = static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols);
  const uint64_t need = static_cast<uint64_t>(cells) * 16;
  DWORD high = 0;
  DWORD low = GetFileSize(m_gridFile, &high);
  uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
  if (size < need) {
    CString reason;
    reason.Format("文件比%d行%d列的格网短", m_rows, m_cols);
    return Fail(path, reason);
  }
  std::vector<unsigned char> bytes(static_cast<size_t>(need));
  uint64_t done = 0;
  while (done < need) {
    DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(need - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(m_gridFile, bytes.data() + done, chunk, &got, nullptr) || got == 0)
      return Fail(path, "读取失败");
    done += got;
  }
  m_grid = new int32_t[cells];
  for (size_t c = 0; c < cells; ++c) {
    const unsigned char* p = bytes.data() + c * 16;
    m_grid[c] = static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                     (static_cast<uint32_t>(p[2]) << 16) |
                                     (static_cast<uint32_t>(p[3]) << 24));
  }
  return true;
}

bool TerrainModel::CheckTriangles(const CString& path) {
  CString reason;
  for (int t = 0; t < m_triangleCount; ++t) {
    const TriangleRecord& tri = m_triangles[t];
    for (int k = 0; k < 3; ++k) {
      if (tri.vertex[k] < 0 || tri.vertex[k] >= m_pointCount) {
        reason.Format("第%d个三角形的顶点号%d超出范围", t, tri.vertex[k]);
        return Fail(path, reason);
      }
      if (tri.neighbour[k] < -1 || tri.neighbour[k] >= m_triangleCount) {
        reason.Format("第%d个三角形的相邻三角形号%d超出范围", t, tri.neighbour[k]);
        return Fail(path, reason);
      }
    }
  }
  return true;
}

// The network's links, in one pass over the triangles (the points are known
// to be finite): every triangle turns counter-clockwise, is not its own
// neighbour, and each neighbour links back to it across the same edge, run
// the other way. A network damaged there would send the searches astray.
bool TerrainModel::CheckTopology(const CString& path) {
  CString reason;
  for (int t = 0; t < m_triangleCount; ++t) {
    const TriangleRecord& tri = m_triangles[t];
    const PointRecord& a = m_points[tri.vertex[0]];
    const PointRecord& b = m_points[tri.vertex[1]];
    const PointRecord& c = m_points[tri.vertex[2]];
    if (!(OrientCentred(a.x, a.y, b.x, b.y, c.x, c.y) > 0.0)) {
      reason.Format("第%d个三角形的顶点不是逆时针排列", t);
      return Fail(path, reason);
    }
    for (int k = 0; k < 3; ++k) {
      const int n = tri.neighbour[k];
      if (n < 0) continue;
      if (n == t) {
        reason.Format("第%d个三角形是它自己的相邻三角形", t);
        return Fail(path, reason);
      }
      const TriangleRecord& other = m_triangles[n];
      const int from = tri.vertex[(k + 1) % 3], to = tri.vertex[(k + 2) % 3];
      int back = -1;
      for (int j = 0; j < 3; ++j)
        if (other.neighbour[j] == t) back = j;
      if (back < 0 || other.vertex[(back + 1) % 3] != to || other.vertex[(back + 2) % 3] != from) {
        reason.Format("第%d个三角形与相邻的第%d个三角形互不相连", t, n);
        return Fail(path, reason);
      }
    }
  }
  return true;
}

bool TerrainModel::CheckPoints(const CString& path) {
  CString reason;
  // The range of the index file holds every point (a little rounding aside).
  const double slack = 0.001;
  for (int p = 0; p < m_pointCount; ++p) {
    const PointRecord& point = m_points[p];
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
      reason.Format("第%d个点的坐标或高程不是有限的数", p);
      return Fail(path, reason);
    }
    if (point.x < m_xmin - slack || point.x > m_xmax + slack || point.y < m_ymin - slack ||
        point.y > m_ymax + slack) {
      reason.Format("第%d个点(%.3f, %.3f)在索引文件的范围之外", p, point.x, point.y);
      return Fail(path, reason);
    }
    int t = point.triangle;
    if (t < -1 || t >= m_triangleCount) {
      reason.Format("第%d个点的三角形号%d超出范围", p, t);
      return Fail(path, reason);
    }
    if (t >= 0) {
      const TriangleRecord& tri = m_triangles[t];
      if (tri.vertex[0] != p && tri.vertex[1] != p && tri.vertex[2] != p) {
        reason.Format("第%d个点不是第%d个三角形的顶点", p, t);
        return Fail(path, reason);
      }
    }
  }
  return true;
}

bool TerrainModel::CheckGrid(const CString& path) {
  CString reason;
  const int cells = m_rows * m_cols;
  for (int c = 0; c < cells; ++c) {
    if (m_grid[c] < -1 || m_grid[c] >= m_pointCount) {
      reason.Format("第%d个格网的点号%d超出范围", c, m_grid[c]);
      return Fail(path, reason);
    }
  }
  return true;
}

void TerrainModel::Close() {
  if (m_pointView) UnmapViewOfFile(m_pointView);
  if (m_triangleView) UnmapViewOfFile(m_triangleView);
  m_pointView = nullptr;
  m_triangleView = nullptr;
  CloseIfOpen(m_pointFile);
  CloseIfOpen(m_pointMapping);
  CloseIfOpen(m_triangleFile);
  CloseIfOpen(m_triangleMapping);
  CloseIfOpen(m_gridFile);
  delete[] m_grid;
  m_grid = nullptr;
  DropFineGrid();
  m_points = nullptr;
  m_triangles = nullptr;
  m_pointCount = 0;
  m_triangleCount = 0;
  m_rows = 0;
  m_cols = 0;
  m_loaded = 0;
}

bool TerrainModel::IsIgnored(int triangle) const {
  return (static_cast<uint32_t>(m_triangles[triangle].flags) >> 24) == 'N';
}

int TerrainModel::CellOf(double x, double y) const {
  if (m_rows <= 0 || m_cols <= 0) return -1;
  double fr = (x - m_xmin) / m_cellSize + 0.001;
  double fc = (y - m_ymin) / m_cellSize + 0.001;
  // Truncation towards zero, as the grid was laid out with.
  if (!(fr > -1.0 && fr < m_rows) || !(fc > -1.0 && fc < m_cols)) return -1;
  return static_cast<int>(fr) * m_cols + static_cast<int>(fc);
}

int TerrainModel::NearestFilledCell(int row, int col) const {
  if (!m_grid) return -1;
  if (row >= 0 && row < m_rows && col >= 0 && col < m_cols) {
    for (int r = row + 1; r < m_rows; ++r)
      if (m_grid[r * m_cols + col] != -1) return r * m_cols + col;
    for (int r = row - 1; r >= 0; --r)
      if (m_grid[r * m_cols + col] != -1) return r * m_cols + col;
    for (int c = col + 1; c < m_cols; ++c)
      if (m_grid[row * m_cols + c] != -1) return row * m_cols + c;
    for (int c = col - 1; c >= 0; --c)
      if (m_grid[row * m_cols + c] != -1) return row * m_cols + c;
  }
  const int cells = m_rows * m_cols;
  for (int c = 0; c < cells; ++c)
    if (m_grid[c] != -1) return c;
  return -1;
}

int TerrainModel::PointInTriangle(int triangle, double x, double y) const {
  if (!m_triangles || triangle < 0 || triangle >= m_triangleCount) return 0;
  const TriangleRecord& t = m_triangles[triangle];
  const PointRecord& p0 = m_points[t.vertex[0]];
  const PointRecord& p1 = m_points[t.vertex[1]];
  const PointRecord& p2 = m_points[t.vertex[2]];
  return InsideBy(p0, p1, p2, x, y, kOnEdge) ? 1 : 0;
}

double TerrainModel::PlaneElevation(double x, double y, int triangle) const {
  if (!m_triangles || triangle < 0 || triangle >= m_triangleCount) return kOutsideElevation;
  const TriangleRecord& t = m_triangles[triangle];
  const PointRecord& p0 = m_points[t.vertex[0]];
  const PointRecord& p1 = m_points[t.vertex[1]];
  const PointRecord& p2 = m_points[t.vertex[2]];
  // z = z0 + a (x - x0) + b (y - y0); a and b by Cramer's rule from the two edges at p0.
  double x1 = p1.x - p0.x, y1 = p1.y - p0.y, z1 = p1.z - p0.z;
  double x2 = p2.x - p0.x, y2 = p2.y - p0.y, z2 = p2.z - p0.z;
  double det = x1 * y2 - x2 * y1;
  if (det == 0.0) return (p0.z + p1.z + p2.z) / 3.0;  // a flat triangle has no plane
  double a = (z1 * y2 - z2 * y1) / det;
  double b = (x1 * z2 - x2 * z1) / det;
  return p0.z + a * (x - p0.x) + b * (y - p0.y);
}

// Turns around `vertex` from `triangle` to the triangle whose corner at the
// vertex faces (x, y). With i the vertex's place in a triangle, neighbour i+1
// lies counter-clockwise around the vertex and neighbour i+2 clockwise; the
// turn goes the way the first corner's test points (counter-clockwise when
// (x, y) lies beyond its second side, else clockwise) and, on reaching the
// hull, the other way from `triangle`. -1 when both ways end at the hull, or
// after as many steps as there are triangles (a damaged network cannot hold it).
int TerrainModel::RotateAround(int vertex, int triangle, double x, double y) const {
  const PointRecord& v = m_points[vertex];
  int t = triangle;
  int turn = 0;
  bool turnedBack = false;
  for (int step = 0; step <= m_triangleCount; ++step) {
    const TriangleRecord& tri = m_triangles[t];
    PrefetchNeighbours(m_triangles, tri);
    int i = tri.vertex[0] == vertex ? 0 : tri.vertex[1] == vertex ? 1 : tri.vertex[2] == vertex ? 2 : -1;
    if (i < 0) return -1;
    const PointRecord& a = m_points[tri.vertex[(i + 1) % 3]];
    const PointRecord& b = m_points[tri.vertex[(i + 2) % 3]];
    double h = OrientCentred(v.x, v.y, x, y, a.x, a.y);
    double e = OrientCentred(v.x, v.y, x, y, b.x, b.y);
    if (!(h > 0 || e < 0)) return t;
    if (turn == 0) turn = e < 0 ? 1 : 2;
    t = tri.neighbour[(i + turn) % 3];
    if (t < 0) {
      if (turnedBack) return -1;
      turnedBack = true;
      turn = 3 - turn;
      const TriangleRecord& first = m_triangles[triangle];
      int j = first.vertex[0] == vertex ? 0 : first.vertex[1] == vertex ? 1 : 2;
      t = first.neighbour[(j + turn) % 3];
      if (t < 0) return -1;
    }
  }
  return -1;
}

// Walks from `triangle` towards (x, y) along the line from the vertex `anchor`:
// in each triangle the point lies beyond one or two of the edges (edge k being the one opposite vertex k, across which neighbour k
// lies); beyond one, the walk crosses it; beyond two, it crosses the one the
// line leaves by, chosen by which side of the line the two edges' far ends lie.
// Each step crosses an edge the point lies beyond, so on a Delaunay network the
// walk always arrives. -1 when it leaves the network, or after as many steps as
// there are triangles.
int TerrainModel::WalkTowards(int triangle, int anchor, double x, double y, int maxSteps) const {
  const PointRecord& v = m_points[anchor];
  int t = triangle;
  const int steps = maxSteps < 0 ? m_triangleCount : std::min(maxSteps, m_triangleCount);
  for (int step = 0; step <= steps; ++step) {
    const TriangleRecord& tri = m_triangles[t];
    PrefetchNeighbours(m_triangles, tri);
    const PointRecord* p[3] = {&m_points[tri.vertex[0]], &m_points[tri.vertex[1]],
                               &m_points[tri.vertex[2]]};
    // The edge just crossed needs no skipping: its side seen from this triangle
    // is the exact negation of the side that made the walk cross it.
    int beyond[2] = {-1, -1};
    int count = 0;
    for (int k = 0; k < 3 && count < 2; ++k) {
      if (EdgeSide(*p[(k + 1) % 3], *p[(k + 2) % 3], x, y) < kOnEdge) beyond[count++] = k;
    }
    if (count == 0) return t;
    int k = beyond[0];
    if (count == 2) {
      // The edges meet at the third vertex c; the line crosses the edge whose
      // other end lies on the other side of the line from c.
      int c = 3 - beyond[0] - beyond[1];
      double sc = OrientCentred(v.x, v.y, x, y, p[c]->x, p[c]->y);
      double s1 = OrientCentred(v.x, v.y, x, y, p[beyond[1]]->x, p[beyond[1]]->y);
      // Edge beyond[0] runs from c to vertex beyond[1].
      k = (sc > 0) != (s1 > 0) ? beyond[0] : beyond[1];
    }
    int next = tri.neighbour[k];
    if (next < 0) return -1;
    PrefetchCorners(m_triangles, m_points, next);
    t = next;
  }
  return -1;
}

int TerrainModel::LocateFromGrid(double x, double y) const {
  int cell = CellOf(x, y);
  if (cell < 0) return -1;
  int point = m_grid[cell];
  if (point < 0) {
    int filled = NearestFilledCell(cell / m_cols, cell % m_cols);
    if (filled < 0) return -1;
    point = m_grid[filled];
  }
  int start = m_points[point].triangle;
  if (start < 0) return -1;
  int t = RotateAround(point, start, x, y);
  if (t < 0) return -1;
  if (PointInTriangle(t, x, y)) return t;
  return WalkTowards(t, point, x, y);
}

// The finer grid: each triangle names the cells whose centres it holds (a
// centre on an edge takes either triangle). A cell whose centre no triangle
// holds (beyond the hull) names none. A network whose triangles would take
// far more tests than it has cells and triangles (long slivers across it)
// gets no finer grid: the searches go from the file's grid alone.
void TerrainModel::BuildFineGrid() {
  const double width = m_xmax - m_xmin, height = m_ymax - m_ymin;
  if (m_pointCount <= 0 || m_triangleCount <= 0 || !(width > 0.0) || !(height > 0.0)) return;
  double size = std::sqrt(width * height * kFinePointsPerCell / m_pointCount);
  if (!(size > 0.0) || !std::isfinite(size)) return;
  double rows = std::floor(width / size) + 1.0, cols = std::floor(height / size) + 1.0;
  if (!(rows * cols <= kMaxFineCells)) {
    size *= std::sqrt(rows * cols / kMaxFineCells) * 1.01;
    rows = std::floor(width / size) + 1.0;
    cols = std::floor(height / size) + 1.0;
    if (!(rows * cols <= kMaxFineCells)) return;
  }
  m_fineRows = static_cast<int>(rows);
  m_fineCols = static_cast<int>(cols);
  m_fineSize = size;
  const size_t cells = static_cast<size_t>(m_fineRows) * static_cast<size_t>(m_fineCols);
  // Large pages for the grid where the system gives them: a lookup lands
  // anywhere in it, and small pages would cost a page-table walk each time.
  m_fineGrid.reserve(cells);
  const uintptr_t kLargePage = 2u << 20;
  const uintptr_t from = (reinterpret_cast<uintptr_t>(m_fineGrid.data()) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(m_fineGrid.data() + cells)) & ~(kLargePage - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
  m_fineGrid.assign(cells, FineCell{-1, {0, 0, 0}});

  double budget = 16.0 * (static_cast<double>(cells) + m_triangleCount);
  // The first and last cell index whose centre lies in [low, high] along one axis.
  auto span = [size](double low, double high, double origin, int count, int& first, int& last) {
    const double a = std::ceil((low - origin) / size - 0.5), b = std::floor((high - origin) / size - 0.5);
    first = static_cast<int>(std::max(a, 0.0));
    last = static_cast<int>(std::min(b, count - 1.0));
  };
  for (int t = 0; t < m_triangleCount; ++t) {
    const TriangleRecord& tri = m_triangles[t];
    const PointRecord& p0 = m_points[tri.vertex[0]];
    const PointRecord& p1 = m_points[tri.vertex[1]];
    const PointRecord& p2 = m_points[tri.vertex[2]];
    int r0, r1, c0, c1;
    span(std::min({p0.x, p1.x, p2.x}), std::max({p0.x, p1.x, p2.x}), m_xmin, m_fineRows, r0, r1);
    span(std::min({p0.y, p1.y, p2.y}), std::max({p0.y, p1.y, p2.y}), m_ymin, m_fineCols, c0, c1);
    if (r1 < r0 || c1 < c0) continue;
    budget -= static_cast<double>(r1 - r0 + 1) * (c1 - c0 + 1);
    if (budget < 0.0) {
      DropFineGrid();
      return;
    }
    for (int r = r0; r <= r1; ++r) {
      const double x = m_xmin + (r + 0.5) * size;
      for (int c = c0; c <= c1; ++c) {
        const double y = m_ymin + (c + 0.5) * size;
        if (InsideBy(p0, p1, p2, x, y, 0.0)) {
          FineCell& cell = m_fineGrid[static_cast<size_t>(r) * m_fineCols + c];
          cell.triangle = t;
          for (int k = 0; k < 3; ++k) cell.vertex[k] = tri.vertex[k];
        }
      }
    }
  }
}

void TerrainModel::DropFineGrid() {
  m_fineGrid.clear();
  m_fineGrid.shrink_to_fit();
  m_fineRows = 0;
  m_fineCols = 0;
  m_fineSize = 0.0;
}

int TerrainModel::LocateFromFineGrid(double x, double y) const {
  if (m_fineGrid.empty()) return -1;
  const double fr = (x - m_xmin) / m_fineSize, fc = (y - m_ymin) / m_fineSize;
  if (!(fr >= 0.0 && fr < m_fineRows) || !(fc >= 0.0 && fc < m_fineCols)) return -1;
  const FineCell& cell = m_fineGrid[static_cast<size_t>(fr) * m_fineCols + static_cast<size_t>(fc)];
  int t = cell.triangle;
  if (t < 0) return -1;
  // Mostly the point lies in the cell's own triangle: its corners are tested
  // while its record (wanted for the elevation) loads.
  __builtin_prefetch(&m_triangles[t]);
  const PointRecord* p[3] = {&m_points[cell.vertex[0]], &m_points[cell.vertex[1]], &m_points[cell.vertex[2]]};
  if (!InsideBy(*p[0], *p[1], *p[2], x, y, kSureInside)) {
    t = WalkTowards(t, cell.vertex[0], x, y, kFineWalkSteps);
    if (t < 0) return -1;
    const TriangleRecord& tri = m_triangles[t];
    p[0] = &m_points[tri.vertex[0]];
    p[1] = &m_points[tri.vertex[1]];
    p[2] = &m_points[tri.vertex[2]];
    if (!InsideBy(*p[0], *p[1], *p[2], x, y, kSureInside)) return -1;
  }
  return t;
}

int TerrainModel::LocateTriangle(double x, double y) const {
  if (!m_points || !m_triangles || !m_grid) return -1;
  const int t = LocateFromFineGrid(x, y);
  return t >= 0 ? t : LocateFromGrid(x, y);
}

double TerrainModel::ElevationAt(double x, double y) const {
  if (!m_modelPresent) return m_substituteElevation;
  int t = LocateTriangle(x, y);
  // Every index from 0 up is a triangle; only -1 is outside.
  if (t < 0 || IsIgnored(t)) return kOutsideElevation;
  return PlaneElevation(x, y, t);
}

// The next crossing of the segment a -> b out of `triangle`, not through the
// edge shared with `from` and not behind the crossing at lastT. Returns the
// neighbour across the crossed edge (-1 on the hull) with the crossing point and
// its z interpolated along the edge, or -2 when the segment ends in the triangle.
int TerrainModel::NextAlongSegment(int triangle, int from, double ax, double ay, double bx,
                                   double by, double& lastT, double& cx, double& cy,
                                   double& cz) const {
  const TriangleRecord& tri = m_triangles[triangle];
  PrefetchNeighbours(m_triangles, tri);
  // The side of each corner against the segment's line: an edge whose ends lie
  // strictly on one side cannot be crossed.
  const double dx = bx - ax, dy = by - ay;
  double side[3];
  for (int k = 0; k < 3; ++k) {
    const PointRecord& v = m_points[tri.vertex[k]];
    side[k] = dx * (v.y - ay) - dy * (v.x - ax);
  }
  int best = -1;
  double bestS = -1.0;
  for (int k = 0; k < 3; ++k) {
    if (from >= 0 && tri.neighbour[k] == from) continue;
    double sp = side[(k + 1) % 3], sq = side[(k + 2) % 3];
    if ((sp > 0 && sq > 0) || (sp < 0 && sq < 0)) continue;
    const PointRecord& p = m_points[tri.vertex[(k + 1) % 3]];
    const PointRecord& q = m_points[tri.vertex[(k + 2) % 3]];
    double s = 0, u = 0;
    if (!SegmentsCross(ax, ay, bx, by, p.x, p.y, q.x, q.y, s, u)) continue;
    if (s < lastT - kParamSlack) continue;
    if (s > bestS) {
      bestS = s;
      best = k;
    }
  }
  // Leaving at b itself (b on an edge or corner of the triangle) is not
  // leaving: b is here. Going on would only turn round b's corner.
  if (best < 0 || bestS >= 1.0 - kParamSlack) return -2;
  PrefetchCorners(m_triangles, m_points, tri.neighbour[best]);
  lastT = std::fmax(lastT, bestS);
  cx = ax + bestS * (bx - ax);
  cy = ay + bestS * (by - ay);
  const PointRecord& p = m_points[tri.vertex[(best + 1) % 3]];
  const PointRecord& q = m_points[tri.vertex[(best + 2) % 3]];
  if (std::fabs(q.x - p.x) > 0.01)
    cz = p.z + (q.z - p.z) * (cx - p.x) / (q.x - p.x);
  else if (q.y != p.y)
    cz = p.z + (q.z - p.z) * (cy - p.y) / (q.y - p.y);
  else
    cz = p.z;
  return tri.neighbour[best];
}

TerrainNode* TerrainModel::GroundLineAlong(double ax, double ay, double bx, double by,
                                           int& outCount) const {
  outCount = 0;
  int ta = LocateTriangle(ax, ay);
  TerrainNode* head = nullptr;
  if (ta >= 0 && !IsIgnored(ta)) {
    // From a forwards: every crossing is appended, up to the triangle that
    // holds b. That is the triangle the segment no longer leaves, so the walk
    // finds it; b is searched for from the grid only when the walk ends
    // otherwise (at the hull).
    head = NewNode(ax, ay, PlaneElevation(ax, ay, ta));
    TerrainNode* tail = head;
    int t = ta, from = -1, tb = -1;
    double lastT = 0.0;
    for (int step = 0; step <= m_triangleCount; ++step) {
      double cx = 0, cy = 0, cz = 0;
      int next = NextAlongSegment(t, from, ax, ay, bx, by, lastT, cx, cy, cz);
      if (next == -2) {
        if (PointInTriangle(t, bx, by)) tb = t;
        break;
      }
      if (!NodesMerge(tail, cx, cy, cz)) tail = tail->next = NewNode(cx, cy, cz);
      if (next < 0) break;
      from = t;
      t = next;
    }
    if (tb < 0) tb = LocateTriangle(bx, by);
    double zb = tb >= 0 ? PlaneElevation(bx, by, tb) : kNoGround;
    if (!NodesMerge(tail, bx, by, zb)) tail->next = NewNode(bx, by, zb);
  } else {
    int tb = LocateTriangle(bx, by);
    if (tb < 0) return nullptr;
    // a has no ground: from b backwards, each crossing goes in right after a.
    head = NewNode(ax, ay, kNoGround);
    head->next = NewNode(bx, by, PlaneElevation(bx, by, tb));
    int t = tb, from = -1;
    double lastT = 0.0;
    for (int step = 0; step <= m_triangleCount && !IsIgnored(t); ++step) {
      double cx = 0, cy = 0, cz = 0;
      int next = NextAlongSegment(t, from, bx, by, ax, ay, lastT, cx, cy, cz);
      if (next == -2) break;
      if (!NodesMerge(head->next, cx, cy, cz)) {
        TerrainNode* n = NewNode(cx, cy, cz);
        n->next = head->next;
        head->next = n;
      }
      if (next < 0) break;
      from = t;
      t = next;
    }
  }
  for (TerrainNode* n = head; n; n = n->next) ++outCount;
  return head;
}

void TerrainModel::FreeGroundLine(TerrainNode* head) {
  while (head) {
    TerrainNode* next = head->next;
    delete head;
    head = next;
  }
}
