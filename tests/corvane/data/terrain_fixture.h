#pragma once
// A small hand-made terrain network and a project folder to load it from.
//
//   x (north) up to 800, y (east) 0..200. Points:
//     0 P0 (0, 0, 100)     1 P1 (200, 0, 120)   2 P2 (200, 200, 140)
//     3 P3 (0, 200, 110)   4 P4 (800, 100, 100) 5 P5 (150, 50, 140)
//   Triangles (counter-clockwise in (x, y)) and their planes, worked by hand:
//     0 A (P0, P1, P5)  z = 100 + 0.1 x + 0.5 y
//     1 B (P1, P2, P5)  z = 180 - 0.3 x + 0.1 y
//     2 C (P2, P3, P5)  z = 120 + 0.15 x - 0.05 y
//     3 D (P3, P0, P5)  z = 100 + 0.25 x + 0.05 y
//     4 E (P1, P4, P2)  z = 130 - 0.05 x + 0.1 y
//   Grid: 9 rows (x 0..800) by 3 columns (y 0..200). Filled cells: (0,0) P0,
//   (0,2) P3, (1,0) P5, (2,0) P1, (2,2) P2, (8,1) P4; column 1 holds only P4, so
//   a query there starts 300 m or more away and walks across the network.

#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TerrainFiles.h"

namespace terrain_test {

inline std::vector<terrain::SurveyPoint> HandPoints() {
  return {{0, 0, 100, 0},   {200, 0, 120, 0},  {200, 200, 140, 0},
          {0, 200, 110, 0}, {800, 100, 100, 0}, {150, 50, 140, 0}};
}

inline std::vector<terrain::TinTriangle> HandTriangles() {
  std::vector<terrain::TinTriangle> t(5);
  const int32_t v[5][3] = {{0, 1, 5}, {1, 2, 5}, {2, 3, 5}, {3, 0, 5}, {1, 4, 2}};
  for (int i = 0; i < 5; ++i)
    for (int k = 0; k < 3; ++k) t[i].vertex[k] = v[i][k];
  return t;
}

// A project folder under the test's temporary folder; the model goes to PMAP.
class ProjectFolder {
 public:
  explicit ProjectFolder(const std::string& suffix = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name() + suffix;
    for (char& c : name)
      if (c == '/') c = '_';
    m_root = std::filesystem::path(::testing::TempDir()) / ("terrain_" + name);
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directories(m_root / "PMAP");
  }
  ~ProjectFolder() { std::filesystem::remove_all(m_root); }
  ProjectFolder(const ProjectFolder&) = delete;
  ProjectFolder& operator=(const ProjectFolder&) = delete;

  std::string root() const { return m_root.string(); }
  std::filesystem::path file(const std::string& name) const { return m_root / "PMAP" / name; }

  void Write(const std::vector<terrain::SurveyPoint>& points,
             const std::vector<terrain::TinTriangle>& triangles) const {
    std::string error;
    ASSERT_TRUE(terrain::WriteTerrainFiles((m_root / "PMAP").string(), points, triangles, nullptr, error))
        << error;
  }
  void WriteHand() const { Write(HandPoints(), HandTriangles()); }

  std::vector<unsigned char> Read(const std::string& name) const {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(file(name).c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return bytes;
  }
  void Replace(const std::string& name, const std::vector<unsigned char>& bytes) const {
    std::FILE* f = std::fopen(file(name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  void ReplaceText(const std::string& name, const std::string& text) const {
    Replace(name, std::vector<unsigned char>(text.begin(), text.end()));
  }
  // Sets the little-endian int32 at `offset` of the file.
  void PatchInt(const std::string& name, size_t offset, int32_t value) const {
    std::vector<unsigned char> bytes = Read(name);
    ASSERT_LE(offset + 4, bytes.size());
    for (int i = 0; i < 4; ++i)
      bytes[offset + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
    Replace(name, bytes);
  }
  // Sets the little-endian double at `offset` of the file.
  void PatchDouble(const std::string& name, size_t offset, double value) const {
    std::vector<unsigned char> bytes = Read(name);
    ASSERT_LE(offset + 8, bytes.size());
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<unsigned char>(bits >> (8 * i));
    Replace(name, bytes);
  }
  void Truncate(const std::string& name, size_t less) const {
    std::vector<unsigned char> bytes = Read(name);
    bytes.resize(bytes.size() > less ? bytes.size() - less : 0);
    Replace(name, bytes);
  }

 private:
  std::filesystem::path m_root;
};

// Offsets of the fields of the model's records.
inline size_t PointTriangleAt(int point) { return 40u * point + 24; }
inline size_t PointXAt(int point) { return 40u * point; }
inline size_t PointYAt(int point) { return 40u * point + 8; }
inline size_t PointZAt(int point) { return 40u * point + 16; }
inline size_t VertexAt(int triangle, int k) { return 28u * triangle + 4u * k; }
inline size_t NeighbourAt(int triangle, int k) { return 28u * triangle + 12 + 4u * k; }
inline size_t FlagsAt(int triangle) { return 28u * triangle + 24; }
inline size_t CellAt(int cell) { return 16u * cell; }

// The number of file descriptors open in this process.
inline int OpenDescriptors() {
  int n = 0;
  DIR* d = opendir("/proc/self/fd");
  if (!d) return -1;
  while (readdir(d)) ++n;
  closedir(d);
  return n;
}

}  // namespace terrain_test
