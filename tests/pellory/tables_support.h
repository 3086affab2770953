#pragma once
// Shared pieces of the ground-line input's table tests: a scheme database in
// a temporary folder with a table store on it, earthline records made from
// compact point lists, and the rows of a table read back as text.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "XLDataBase.h"
#include "fixtures/scheme_db.h"
#include "win/transcript.h"

namespace pellorytest {

using Points = std::vector<std::pair<double, double>>;
using Rows = std::vector<std::vector<std::string>>;

// One side of a record: (distance, height) pairs from the centre outward.
inline void SetSide(earthline& record, bool left, const Points& points) {
  EarthPoint* out = left ? record.left : record.right;
  for (size_t k = 0; k < points.size() && k < static_cast<size_t>(kEarthPointsMax); ++k)
    out[k] = {points[k].first, points[k].second};
  (left ? record.leftCount : record.rightCount) = static_cast<int>(points.size());
}

// A record of station `chainage` (prefix DK, elevation 100 + chainage / 1000)
// with the given sides.
inline earthline Record(double chainage, int layer, const Points& left, const Points& right,
                        const char* detour = "", int rockType = 2) {
  earthline r;
  r.prefix = "DK";
  r.detourNumber = detour;
  r.chainage = chainage;
  r.elevation = 100.0 + chainage / 1000.0;
  r.layer = layer;
  r.rockType = rockType;
  SetSide(r, true, left);
  SetSide(r, false, right);
  return r;
}

// The points of one side of a record.
inline Points SideOf(const earthline& r, bool left) {
  Points out;
  const EarthPoint* points = left ? r.left : r.right;
  for (int k = 0; k < (left ? r.leftCount : r.rightCount); ++k) out.emplace_back(points[k].distance, points[k].height);
  return out;
}

// A scheme database (the navigator's tables) and a table store; the
// transcript is collected.
class TablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fixtures::MakeTempFolder("pellory_tables");
    m_db = m_dir + "/S1.mdb";
    std::string error;
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
  }
  void TearDown() override {
    xl.recordset.Close();
    xl.connection.Close();
    fixtures::RemoveFolder(m_dir);
  }

  void Sql(const std::string& sql) {
    std::string error;
    ASSERT_TRUE(fixtures::ExecuteSql(m_db, sql, &error)) << error;
  }
  void Fill(const std::string& table, const std::vector<fixtures::Row>& rows) {
    std::string error;
    ASSERT_TRUE(fixtures::FillTable(m_db, table, rows, &error)) << error;
  }
  Rows Query(const std::string& sql) {
    std::string error;
    Rows rows = fixtures::QueryRows(m_db, sql, &error);
    EXPECT_EQ(error, "") << sql;
    return rows;
  }

  // Puts `records` in the rock-layer list and writes `table`.
  int Write(const std::vector<earthline>& records, const char* table, const char* condition = "") {
    xl.rockLayers.SetSize(static_cast<INT_PTR>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) xl.rockLayers[static_cast<INT_PTR>(i)] = records[i];
    xl.rockLayerCount = static_cast<int>(records.size());
    return xl.WriteRockLayerTable(m_db.c_str(), table, condition);
  }
  int Read(const char* table, const char* filter = "") { return xl.ReadGroundLineTables(m_db.c_str(), table, filter); }

  std::string m_dir;
  std::string m_db;
  XLDataBase xl;
  platform::TranscriptCapture transcript;
};

}  // namespace pellorytest
