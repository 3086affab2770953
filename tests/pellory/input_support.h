#pragma once
// Shared pieces of the tests of the ground-line input's dialog logic: a
// scheme database in a scratch folder with a GroundLineInput on it, grid
// rows typed by the test, the rows of a table read back, and questions
// answered as a user would.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "GroundLineInput.h"
#include "fixtures/scheme_db.h"
#include "fixtures/section_schemes.h"
#include "arx/prompt_input.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace inputtest {

using Typed = std::vector<std::pair<const char*, const char*>>;  // (distance, value) texts

// Types `rows` into a grid (the other rows stay empty).
inline void Type(PointGrid& grid, const Typed& rows) {
  if (grid.rows.size() < rows.size()) grid.rows.resize(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) grid.rows[i] = {rows[i].first, rows[i].second};
}

// The points of one side of a record.
inline std::vector<std::pair<double, double>> SideOf(const earthline& r, bool left) {
  std::vector<std::pair<double, double>> out;
  const EarthPoint* p = left ? r.left : r.right;
  for (int k = 0; k < (left ? r.leftCount : r.rightCount); ++k) out.emplace_back(p[k].distance, p[k].height);
  return out;
}

// Every record stands in a pair: a left record (no right points) and its
// right partner (no left points) of one chainage, layer and detour.
inline ::testing::AssertionResult InPairs(const EarthLineList& list) {
  if (list.GetSize() % 2 != 0) return ::testing::AssertionFailure() << "odd size " << list.GetSize();
  for (INT_PTR i = 0; i < list.GetSize(); i += 2) {
    const earthline& l = list[i];
    const earthline& r = list[i + 1];
    if (l.rightCount != 0 || r.leftCount != 0 || l.chainage != r.chainage || l.layer != r.layer ||
        l.detourNumber != r.detourNumber)
      return ::testing::AssertionFailure() << "pair " << i / 2 << " at " << l.chainage << " / " << r.chainage;
  }
  return ::testing::AssertionSuccess();
}

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fixtures::MakeTempFolder("pellory_input");
    m_db = m_dir + "/S1.mdb";
    std::string error;
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
    input.dbPath = m_db.c_str();
    input.lineNames.Add("基线");
    input.lineNameSelection = 0;
    input.lineNameText = "基线";
    input.rockTypeSelection = 0;
  }
  void TearDown() override {
    input.db.recordset.Close();
    input.db.connection.Close();
    input.connection.Close();
    platform::clearAnswers();
    platform::clearPromptTokens();
    fixtures::RemoveFolder(m_dir);
  }

  // Types a station and its two sides and saves it.
  void Save(const char* chainage, const char* elevation, const Typed& left, const Typed& right,
            const char* layer = "0") {
    input.chainageText = chainage;
    input.SetElevationText(elevation);
    input.layerText = layer;
    Type(input.leftGrid, left);
    Type(input.rightGrid, right);
    input.OnSaveRecord();
  }
  // Chooses the station list's entry with this text (false when it has none).
  bool Choose(const char* station) {
    for (INT_PTR i = 0; i < input.stationList.GetSize(); ++i)
      if (input.stationList[i] == station) {
        input.stationSelection = static_cast<int>(i);
        return true;
      }
    return false;
  }

 public:
  std::vector<std::vector<std::string>> Query(const std::string& sql) {
    std::string error;
    auto rows = fixtures::QueryRows(m_db, sql, &error);
    EXPECT_EQ(error, "") << sql;
    return rows;
  }

 protected:
  std::string m_dir, m_db;
  GroundLineInput input;
  platform::TranscriptCapture transcript;
};

}  // namespace inputtest
