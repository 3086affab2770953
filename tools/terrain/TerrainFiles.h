#pragma once
// The terrain model's files, as the terrain model of the cross-section module
// reads them from a project's PMAP folder:
//
// - "PtIndex.idx" (text): the point count, then xmin ymin xmax ymax;
// - "Point.xyz": 40 bytes a point: double x, y, z at bytes 0, 8, 16, int32 at
//   byte 24 the index of a triangle that has the point as a vertex (-1 none),
//   bytes 28 to 39 zero;
// - "TIN.tri": 28 bytes a triangle: int32 vertices P0 P1 P2 (counter-clockwise
//   in the (x, y) plane: orient(P0, P1, P2) > 0 with x the first coordinate),
//   int32 neighbours N0 N1 N2 where Nk lies across the edge opposite Pk (from
//   P(k+1) to P(k+2)), -1 on the hull; int32 flags, whose highest byte 'N' marks
//   a triangle to be ignored;
// - "Grid.idx": rows x cols cells of 16 bytes, row-major, 100 m square, rows
//   along x and columns along y; the first int32 is the index of the point of
//   the cell nearest its centre (-1 for a cell without points), the other 12
//   bytes zero. rows = int((xmax - xmin)/100 + 0.001) + 1, the same for cols
//   along y, and the cell of (x, y) is int((x - xmin)/100 + 0.001),
//   int((y - ymin)/100 + 0.001).
//
// All numbers little-endian. x and y are the plane survey coordinates in
// metres (x north, y east), z the elevation.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace terrain {

struct SurveyPoint {
  double x = 0;
  double y = 0;
  double z = 0;
  int line = 0;  // the line of the points file it came from (0: made by code)
};

struct TinTriangle {
  int32_t vertex[3] = {0, 0, 0};
  int32_t flags = 0;
};

// The flags value of a triangle that the model ignores.
constexpr int32_t kIgnoredTriangle = static_cast<int32_t>(static_cast<uint32_t>('N') << 24);

struct TerrainSummary {
  int points = 0;
  int triangles = 0;
  int rows = 0;
  int cols = 0;
};

// Reads surveyed points, one "x y z" a line separated by blanks or tabs; blank
// lines and lines starting with '#' are skipped. `name` names the text in
// messages ("<name>:<line>: ...").
bool ParseSurveyText(std::string_view text, const std::string& name,
                     std::vector<SurveyPoint>& points, std::string& error);
bool ReadSurveyFile(const std::string& path, std::vector<SurveyPoint>& points, std::string& error);

// Drops every point whose (x, y) repeats an earlier point's; returns one note
// for each point dropped.
std::vector<std::string> DropDuplicatePoints(std::vector<SurveyPoint>& points);

// Writes the four files into `folder` (made when missing) from the points and
// triangles over them. Triangles given clockwise are turned; a flat triangle,
// an index out of range, or an edge shared by more than two triangles (or by
// two overlapping ones) is refused with a message and nothing is written.
bool WriteTerrainFiles(const std::string& folder, const std::vector<SurveyPoint>& points,
                       std::vector<TinTriangle> triangles, TerrainSummary* summary,
                       std::string& error);

}  // namespace terrain
