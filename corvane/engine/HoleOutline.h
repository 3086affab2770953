#pragma once
// The outline of a stretch of roadbed between structures, as the 3D model
// cuts it out of the terrain: the points of its first edge (the left edge
// points of the stretch, in line order) and of its second edge (the right
// edge points). The Hole file writes an outline along the first edge and back
// along the second.

#include <vector>

#include "DesignerRows.h"

// A designer keeps at most this many outlines.
constexpr int kMaxHoles = 1000;

struct HoleOutline {
  std::vector<PlanPoint> firstEdge;
  std::vector<PlanPoint> secondEdge;
};
