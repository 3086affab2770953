#pragma once
// The digital terrain model: a triangulated irregular network of surveyed
// points with a coarse grid index, read from four files in the folder PMAP of
// the project folder (written by a program outside the system, which the
// system never writes):
//
// - "PtIndex.idx" (text): point count, xmin, ymin, xmax, ymax;
// - "Point.xyz": one 40-byte record per point (PointRecord);
// - "TIN.tri": one 28-byte record per triangle (TriangleRecord);
// - "Grid.idx": rows x cols cells of 16 bytes, row-major, the first int32 the
//   index of a point lying in the cell or -1.
//
// Coordinates are plane survey coordinates: x the first, y the second. Every
// triangle's vertices run counter-clockwise in the (x, y) plane, and the
// neighbour k of a triangle lies across the edge opposite its vertex k (the
// edge from vertex k+1 to vertex k+2); -1 on the hull.
//
// Point.xyz and TIN.tri are mapped read-only and privately; the grid is read
// into memory. The file's grid leaves about a hundred points to a cell on a
// dense survey, so the load also lays a finer grid over the network in memory
// (a few points to a cell), each cell naming the triangle that holds its
// centre: a point is then found from there in a few steps. Every index of the files is checked when the model is loaded,
// and so are the numbers (finite, the points within the index file's range)
// and the links of the network (counter-clockwise triangles whose neighbours
// link back across the same edge), so a damaged model is refused with a
// message instead of being followed.

#include <cstdint>
#include <vector>

#include "mfc/cstring.h"
#include "win/wintypes.h"

// One node of a ground profile (GroundLineAlong): a point of the segment and
// the ground elevation there. Nodes are allocated with new (zero-filled) and
// freed by the caller with delete, or all at once with TerrainModel::FreeGroundLine.
struct TerrainNode {
  double x;
  double y;
  double z;
  TerrainNode* next;
};

class TerrainModel {
 public:
  // A record of "Point.xyz".
  struct PointRecord {
    double x;
    double y;
    double z;
    int32_t triangle;  // a triangle that has this point as a vertex, or -1
    int32_t unused[3];
  };
  // A record of "TIN.tri". The highest byte of flags (byte 27 of the record)
  // set to 'N' marks a triangle to be ignored.
  struct TriangleRecord {
    int32_t vertex[3];
    int32_t neighbour[3];
    int32_t flags;
  };
  static_assert(sizeof(PointRecord) == 40, "a point record is 40 bytes");
  static_assert(sizeof(TriangleRecord) == 28, "a triangle record is 28 bytes");

  // The elevation of ElevationAt outside the network (or in an ignored triangle).
  static constexpr double kOutsideElevation = -100.0;
  // The z of a profile end that has no ground value.
  static constexpr double kNoGround = -100000.0;

  TerrainModel();
  // Releases whatever is still mapped.
  virtual ~TerrainModel();
  TerrainModel(const TerrainModel&) = delete;
  TerrainModel& operator=(const TerrainModel&) = delete;

  // Loads the model of the current project (its folder PMAP). False, with a
  // message, when there is no model or its files cannot be used.
  bool Load();
  // Loads the model from "<projectFolder>\PMAP\" (Windows or Linux form).
  bool LoadFromFolder(const char* projectFolder);
  // Unmaps the files, closes every handle and frees the grid.
  void Close();

  // Ground elevation at (x, y): the substitute elevation when no model is
  // present, kOutsideElevation outside the network or in an ignored triangle.
  double ElevationAt(double x, double y) const;
  // The triangle holding (x, y), or -1.
  int LocateTriangle(double x, double y) const;
  // The number of the first non-empty grid cell looked at from (row, col), or -1.
  int NearestFilledCell(int row, int col) const;
  // 1 when (x, y) lies in the triangle or on its edges, else 0.
  int PointInTriangle(int triangle, double x, double y) const;
  // z at (x, y) on the plane through the triangle's three vertices.
  double PlaneElevation(double x, double y, int triangle) const;
  // The ground profile along the segment a -> b, from a to b; null (count 0)
  // when neither end is in the network. End nodes without ground carry kNoGround.
  TerrainNode* GroundLineAlong(double ax, double ay, double bx, double by, int& outCount) const;
  static void FreeGroundLine(TerrainNode* head);

  bool IsLoaded() const { return m_loaded != 0; }
  bool ModelPresent() const { return m_modelPresent != 0; }
  double SubstituteElevation() const { return m_substituteElevation; }
  void SetSubstituteElevation(double z) { m_substituteElevation = z; }
  int PointCount() const { return m_pointCount; }
  int TriangleCount() const { return m_triangleCount; }
  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }
  // The grid cell number of (x, y), or -1 outside the grid.
  int CellOf(double x, double y) const;

 private:
  bool Fail(const CString& path, const char* reason);
  bool ReadIndexFile(const CString& path);
  bool MapFile(const CString& path, HANDLE& file, HANDLE& mapping, const void*& view,
               uint64_t& size);
  bool ReadGridFile(const CString& path);
  bool CheckTriangles(const CString& path);
  bool CheckPoints(const CString& path);
  bool CheckTopology(const CString& path);
  bool CheckGrid(const CString& path);
  bool IsIgnored(int triangle) const;
  int RotateAround(int vertex, int triangle, double x, double y) const;
  // At most maxSteps steps (-1 after them); every triangle when maxSteps < 0.
  int WalkTowards(int triangle, int anchor, double x, double y, int maxSteps = -1) const;
  int NextAlongSegment(int triangle, int from, double ax, double ay, double bx, double by,
                       double& lastT, double& cx, double& cy, double& cz) const;
  // The search from the file's grid (a point of the cell, the turn around it
  // and the walk on).
  int LocateFromGrid(double x, double y) const;
  // The triangle holding (x, y) found from the finer grid, or -1 when that
  // grid cannot tell it for sure (no triangle for the cell, a walk that does
  // not arrive, or (x, y) so near an edge that the search from the file's
  // grid may take the triangle on its other side).
  int LocateFromFineGrid(double x, double y) const;
  // Frees the finer grid: lookups go through the file's grid alone.
  void DropFineGrid();
  void BuildFineGrid();

  // A cell of the finer grid: the triangle holding its centre (-1 when none
  // was found) and that triangle's corners, so that a point is tested
  // against it without waiting for the triangle's record.
  struct FineCell {
    int32_t triangle;
    int32_t vertex[3];
  };
  // The finer grid: m_fineRows x m_fineCols cells of m_fineSize, from (m_xmin,
  // m_ymin), row-major (rows along x, as the file's grid).
  std::vector<FineCell> m_fineGrid;
  int m_fineRows = 0;
  int m_fineCols = 0;
  double m_fineSize = 0.0;

  int m_pointCount = 0;
  const PointRecord* m_points = nullptr;
  BYTE m_modelPresent = 0;
  double m_substituteElevation = 0.0;
  HANDLE m_pointFile = nullptr;
  HANDLE m_pointMapping = nullptr;
  HANDLE m_triangleFile = nullptr;
  HANDLE m_triangleMapping = nullptr;
  HANDLE m_gridFile = nullptr;
  const void* m_pointView = nullptr;
  const void* m_triangleView = nullptr;
  int m_rows = 0;
  int m_cols = 0;
  double m_xmin = 0.0;
  double m_ymin = 0.0;
  double m_xmax = 0.0;
  double m_ymax = 0.0;
  int m_cellSize = 100;
  int32_t* m_grid = nullptr;  // the first int32 of each cell of "Grid.idx"
  const TriangleRecord* m_triangles = nullptr;
  int m_triangleCount = 0;
  int m_loaded = 0;
};

// The model of the running module, loaded by the commands that need it.
extern TerrainModel g_TerrainModel;
