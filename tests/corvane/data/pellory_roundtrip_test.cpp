// The tables this module and the ground-line input (Pellory) share, carried
// from one to the other: ground lines interpolated here are read by the
// ground-line input, and rock-layer tables written by the ground-line input
// are read by this module's scheme import. The ground-line input's code runs
// in its own program (bin/pellory-tables), since both modules define
// classes of the same names.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/run_command.h"
#include "corvane/data/import_support.h"
#include "corvane/data/interp_support.h"

namespace {

using fixtures::GroundPoints;
using import_test::PointsOf;

// A record as the ground-line input prints and reads it.
struct PelloryRecord {
  std::string prefix, detour;
  double chainage = 0, elevation = 0;
  int layer = 0, rockType = 2;
  GroundPoints left, right;
};

// A record of one station and layer (elevation 100 + chainage / 1000).
PelloryRecord Record(double chainage, int layer, int rockType, GroundPoints left, GroundPoints right,
                     const char* prefix = "DK", const char* detour = "-") {
  PelloryRecord r;
  r.prefix = prefix;
  r.detour = detour;
  r.chainage = chainage;
  r.elevation = 100.0 + chainage / 1000.0;
  r.layer = layer;
  r.rockType = rockType;
  r.left = std::move(left);
  r.right = std::move(right);
  return r;
}

std::string RecordLine(const PelloryRecord& r) {
  std::ostringstream out;
  out.precision(17);
  out << "record " << r.prefix << ' ' << r.detour << ' ' << r.chainage << ' ' << r.elevation << ' ' << r.layer << ' '
      << r.rockType;
  for (const GroundPoints* side : {&r.left, &r.right}) {
    out << ' ' << side->size();
    for (const auto& p : *side) out << ' ' << p.first << ' ' << p.second;
  }
  return out.str();
}

bool ParseRecord(const std::string& line, PelloryRecord& r) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> word >> r.prefix >> r.detour >> r.chainage >> r.elevation >> r.layer >> r.rockType)) return false;
  for (GroundPoints* side : {&r.left, &r.right}) {
    size_t count = 0;
    if (!(in >> count)) return false;
    side->resize(count);
    for (auto& p : *side)
      if (!(in >> p.first >> p.second)) return false;
  }
  return true;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Runs the ground-line input's program; its exit status, what it printed in
// *output.
int RunPellory(const std::string& mode, const std::string& db, const std::string& table, const std::string& filter,
               std::string* output, const std::string& input = "") {
  std::string command = std::string(PELLORY_TABLES_PROGRAM) + " " + mode + " " + Quoted(db) + " " + Quoted(table) +
                        " " + Quoted(filter);
  if (!input.empty()) command += " < " + Quoted(input);
  return fixtures::RunCommand(command, output);
}

// Writes `records` to a rock-layer table through the ground-line input.
void PelloryWrites(const std::string& dir, const std::string& db, const std::string& table,
                   const std::string& condition, const std::vector<PelloryRecord>& records) {
  const std::string input = dir + "/records.txt";
  {
    std::ofstream out(input);
    for (const PelloryRecord& r : records) out << RecordLine(r) << '\n';
  }
  std::string output;
  ASSERT_EQ(RunPellory("write", db, table, condition, &output, input), 0) << output;
}

bool Near(const GroundPoints& a, const GroundPoints& b, double tolerance = 1e-9) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k)
    if (std::fabs(a[k].first - b[k].first) > tolerance || std::fabs(a[k].second - b[k].second) > tolerance)
      return false;
  return true;
}

class PelloryRoundTrip : public interp_test::SchemeWithTerrain {
 protected:
  // The section of station `chainage` (the first one when it is doubled).
  static const SectionRecord& At(const CrossSectionDesigner& d, double chainage) {
    for (const SectionRecord& s : d.sections)
      if (std::fabs(s.chainage - chainage) < 1e-9) return s;
    ADD_FAILURE() << "no section at " << chainage;
    return d.sections.front();
  }
  // True when the section holds the fixture's own ground line only.
  static bool HasFixtureGroundLine(const SectionRecord& s) {
    return s.GroundBlockCount() == 1 && s.groundBlocks[0].layer == 0 &&
           Near(PointsOf(s.groundBlocks[0], -1), fixtures::FixtureGroundPoints(s.chainage, -1)) &&
           Near(PointsOf(s.groundBlocks[0], 1), fixtures::FixtureGroundPoints(s.chainage, 1));
  }
};

// Ground lines interpolated over a terrain that falls across the line are
// read by the ground-line input row by row: one record per row, its side
// filled from the row's points, layer 0 and rock type 2.
TEST_F(PelloryRoundTrip, GroundLinesWrittenHereAreReadByTheGroundLineInput) {
  BuildSingle();
  CrossSectionDesigner d;
  Import(d, "单线");
  interp_test::WritePlaneTerrain(m_dir, -100.0, 1300.0, -100.0, 100.0, 200.0, 0.0, 0.1);
  LoadTerrain();
  ASSERT_EQ(d.InterpolateBaselineGroundLines(0.0, 1100.0), 1);
  const std::vector<interp_test::StoredRow> rows = interp_test::ReadGroundTable(m_db, "横断面地面线表");
  ASSERT_EQ(rows.size(), 20u);

  std::string output;
  ASSERT_EQ(RunPellory("read", m_db, "横断面地面线表", "", &output), 0) << output;
  std::vector<PelloryRecord> records;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("record ", 0) != 0) continue;
    PelloryRecord r;
    ASSERT_TRUE(ParseRecord(line, r)) << line;
    records.push_back(r);
  }
  ASSERT_EQ(records.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(std::to_string(rows[i].chainage) + rows[i].side);
    const PelloryRecord& r = records[i];
    EXPECT_EQ(r.prefix, rows[i].prefix);
    EXPECT_EQ(r.detour, "-");
    EXPECT_NEAR(r.chainage, rows[i].chainage, 1e-8);
    EXPECT_NEAR(r.elevation, rows[i].ground, 1e-8);
    EXPECT_EQ(r.layer, 0);
    EXPECT_EQ(r.rockType, 2);
    const bool left = rows[i].side == "左";
    EXPECT_TRUE(Near(left ? r.left : r.right, rows[i].points, 1e-8));
    EXPECT_TRUE((left ? r.right : r.left).empty());
  }
}

// The ground-line input stores DK0+200 with an empty right side, DK0+225 with
// a ground line and a rock layer, and nothing at DK0+400 (which had rock
// layers before). The import gives each station its own lines: the empty
// side is the centre point alone, and the stations after DK0+200 are not
// shifted.
TEST_F(PelloryRoundTrip, RockLayersWrittenByTheGroundLineInputAreReadByTheImport) {
  BuildSingle();
  const std::vector<PelloryRecord> records = {
      Record(200, 0, 2, {{3, 0.5}, {8, 1.0}}, {}),
      Record(200, 0, 2, {}, {}),
      Record(225, 0, 2, {{2, -0.3}}, {{4, 0.6}}),
      // A rock layer starting on the centre at the left: its centre height is -1.5 on both rows.
      Record(225, 1, 5, {{0, -1.5}, {6, -2.0}}, {}),
      Record(225, 1, 5, {}, {{5, -1.0}}),
  };
  PelloryWrites(m_dir, m_db, "横断面岩层线表", "", records);

  CrossSectionDesigner d;
  d.lineKind = "单线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_db.c_str(), 1, 1), 1);
  ASSERT_EQ(d.SectionCount(), static_cast<int>(fixtures::kSingleStations.size()));

  const SectionRecord& s200 = At(d, 200);
  ASSERT_EQ(s200.GroundBlockCount(), 1);
  EXPECT_EQ(PointsOf(s200.groundBlocks[0], -1), (GroundPoints{{0, 0}, {3, 0.5}, {8, 1.0}}));
  EXPECT_EQ(PointsOf(s200.groundBlocks[0], 1), (GroundPoints{{0, 0}}));

  const SectionRecord& s225 = At(d, 225);
  ASSERT_EQ(s225.GroundBlockCount(), 2);
  EXPECT_EQ(s225.groundBlocks[0].layer, 0);
  EXPECT_EQ(s225.groundBlocks[0].rockType, 2);
  EXPECT_EQ(PointsOf(s225.groundBlocks[0], -1), (GroundPoints{{0, 0}, {2, -0.3}}));
  EXPECT_EQ(PointsOf(s225.groundBlocks[0], 1), (GroundPoints{{0, 0}, {4, 0.6}}));
  EXPECT_EQ(s225.groundBlocks[1].layer, 1);
  EXPECT_EQ(s225.groundBlocks[1].rockType, 5);
  EXPECT_EQ(PointsOf(s225.groundBlocks[1], -1), (GroundPoints{{0, -1.5}, {6, -2.0}}));
  EXPECT_EQ(PointsOf(s225.groundBlocks[1], 1), (GroundPoints{{0, -1.5}, {5, -1.0}}));

  for (double other : {100.0, 250.0, 400.0, 700.0, 1100.0}) {
    SCOPED_TRACE(other);
    EXPECT_TRUE(HasFixtureGroundLine(At(d, other)));
  }
}

// The same through a detour table (绕行段编号 in column 1): the left line's
// detour 0, whose rows ZK0+700 had rock layers before.
TEST_F(PelloryRoundTrip, DetourRockLayersWrittenByTheGroundLineInputAreReadByTheImport) {
  BuildDouble();
  const std::vector<PelloryRecord> records = {
      Record(625, 0, 2, {}, {}, "ZK", "0"),
      Record(625, 0, 2, {}, {{2.5, 0.25}, {7, 0.5}}, "ZK", "0"),
  };
  PelloryWrites(m_dir, m_db, "左线绕行段横断面岩层线表", "绕行段编号=0", records);

  CrossSectionDesigner d;
  d.lineKind = "双线";
  ASSERT_EQ(d.ReadSchemeAlignment(m_db.c_str(), 1, 1), 1);
  ASSERT_EQ(g_LeftDetourCount, 1);
  const CrossSectionDesigner& left = g_LeftDetourDesigners[0];
  const SectionRecord& s625 = At(left, 625);
  ASSERT_EQ(s625.GroundBlockCount(), 1);
  EXPECT_EQ(PointsOf(s625.groundBlocks[0], -1), (GroundPoints{{0, 0}}));
  EXPECT_EQ(PointsOf(s625.groundBlocks[0], 1), (GroundPoints{{0, 0}, {2.5, 0.25}, {7, 0.5}}));
  for (double other : {500.0, 650.0, 700.0, 1000.0}) {
    SCOPED_TRACE(other);
    EXPECT_TRUE(HasFixtureGroundLine(At(left, other)));
  }
}

}  // namespace
