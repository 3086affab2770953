#pragma once
// The Delaunay triangulation of surveyed points (CGAL), and the terrain files
// made from it.

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_hierarchy_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <string>
#include <vector>

#include "TerrainFiles.h"

namespace terrain {

using TinKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
// Each vertex keeps the index of its point.
using TinVertexBase = CGAL::Triangulation_vertex_base_with_info_2<int32_t, TinKernel>;
using TinHierarchyVertexBase = CGAL::Triangulation_hierarchy_vertex_base_2<TinVertexBase>;
using TinDataStructure = CGAL::Triangulation_data_structure_2<
    TinHierarchyVertexBase, CGAL::Triangulation_face_base_2<TinKernel>>;
using TinDelaunayBase = CGAL::Delaunay_triangulation_2<TinKernel, TinDataStructure>;
// A Delaunay triangulation with CGAL's hierarchy for fast point location.
using TinDelaunay = CGAL::Triangulation_hierarchy_2<TinDelaunayBase>;

// Puts the points in the order of a Hilbert curve, so that points near each
// other on the ground lie near each other in the files (and in memory).
void SortSpatially(std::vector<SurveyPoint>& points);
// Triangulates the points (their (x, y) must all differ: see DropDuplicatePoints).
// False with a message when they do not span a plane (fewer than three, or all
// on one line).
bool BuildDelaunay(const std::vector<SurveyPoint>& points, TinDelaunay& dt, std::string& error);
// The finite triangles of the triangulation over the indices of the points,
// ordered by their lowest vertex index.
std::vector<TinTriangle> TrianglesOf(const TinDelaunay& dt);

// Triangulates the points and writes the four terrain files into `folder`.
// Repeated points are dropped first (`notes` receives one line each) and the
// rest written in Hilbert order.
bool MakeTerrainFiles(std::vector<SurveyPoint> points, const std::string& folder,
                      TerrainSummary& summary, std::vector<std::string>& notes, std::string& error);
// The same from a points file ("x y z" a line).
bool MakeTerrain(const std::string& pointsFile, const std::string& folder, TerrainSummary& summary,
                 std::vector<std::string>& notes, std::string& error);

}  // namespace terrain
