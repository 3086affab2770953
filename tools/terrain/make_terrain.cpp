// make-terrain POINTS OUTDIR: triangulates surveyed points ("x y z" a line, x
// north and y east) and writes the terrain model files PtIndex.idx, Point.xyz,
// TIN.tri and Grid.idx into OUTDIR (a project's PMAP folder).
#include <cstdio>
#include <string>
#include <vector>

#include "TerrainDelaunay.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-terrain POINTS OUTDIR\n");
    return 2;
  }
  terrain::TerrainSummary summary;
  std::vector<std::string> notes;
  std::string error;
  bool ok = terrain::MakeTerrain(argv[1], argv[2], summary, notes, error);
  for (const std::string& note : notes) std::fprintf(stderr, "make-terrain: %s\n", note.c_str());
  if (!ok) {
    std::fprintf(stderr, "make-terrain: %s\n", error.c_str());
    return 1;
  }
  std::printf("make-terrain: %d points, %d triangles, grid of %d x %d cells in %s\n", summary.points,
              summary.triangles, summary.rows, summary.cols, argv[2]);
  return 0;
}
