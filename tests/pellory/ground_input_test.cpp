// The ground-line input's dialog logic over a scheme database: saving,
// querying and deleting stations with their tolerances, the record list in
// pairs, the scale, the line names of detours, and the two tables a write
// gives (the user table as entered, the design table converted once).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "InputTexts.h"
#include "RecordPairs.h"
#include "fixtures/project_fixture.h"
#include "input_support.h"
#include "shared/drawbase_support.h"

namespace {

using inputtest::InPairs;
using inputtest::InputTest;
using inputtest::SideOf;
using Points = std::vector<std::pair<double, double>>;

using InputRecords = InputTest;

TEST_F(InputRecords, SaveReplacesAStationWithinOneCentimetreAndAddsOneBeyond) {
  Save("DK1+000", "100", {{"2", "0.5"}}, {{"3", "0.2"}});
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  struct Case {
    const char* chainage;
    int records, stations;
  };
  const Case cases[] = {
      {"DK1+000.008", 2, 1},  // 0.008 from the stored one: the same station, replaced
      {"DK1+000.019", 4, 2},  // 0.011 from it (now at 1000.008): a new station
      {"DK0+999.5", 6, 3},    // before the first: inserted in chainage order
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chainage);
    Save(c.chainage, "100", {{"4", "1.5"}}, {{"6", "-1"}});
    EXPECT_EQ(input.db.rockLayers.GetSize(), c.records);
    EXPECT_EQ(input.stationList.GetSize(), c.stations);
    EXPECT_TRUE(InPairs(input.db.rockLayers));
  }
  EXPECT_EQ(SideOf(input.db.rockLayers[2], true), (Points{{4, 1.5}}));  // the first station, replaced
  EXPECT_EQ(input.db.rockLayers[2].chainage, 1000.008);
  EXPECT_STREQ(input.stationList[0].GetString(), "DK0+999.50");
  EXPECT_STREQ(input.stationList[1].GetString(), "DK1+000.01");  // 1000.008 as the list shows it
  EXPECT_STREQ(input.stationList[2].GetString(), "DK1+000.02");
  EXPECT_EQ(input.db.rockLayerCount, 6);
  // The texts stay for the next station; the grids are reset to 10 rows.
  EXPECT_STREQ(input.chainageText.GetString(), "DK0+999.5");
  EXPECT_EQ(input.leftGrid.rows.size(), 10u);
  EXPECT_TRUE(input.leftGrid.rows[0].distance.IsEmpty());
}

TEST_F(InputRecords, ASideWithoutPointsKeepsItsEmptyPartnerInThePair) {
  Save("DK1+100", "100", {}, {{"3", "0.2"}, {"5", "0.4"}});
  Save("DK1+050", "100", {{"2", "-0.5"}}, {});
  Save("DK1+050", "100", {{"2", "-0.5"}}, {}, "1");  // layer 1 of the same station after layer 0
  ASSERT_EQ(input.db.rockLayers.GetSize(), 6);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  const EarthLineList& list = input.db.rockLayers;
  EXPECT_EQ(list[0].chainage, 1050.0);
  EXPECT_EQ(list[2].layer, 1);
  EXPECT_EQ(list[4].leftCount, 0);
  EXPECT_EQ(SideOf(list[5], false), (Points{{3, 0.2}, {5, 0.4}}));
  EXPECT_EQ(input.stationList.GetSize(), 2);
  // Nothing typed where nothing is stored: nothing is stored, no station added.
  Save("DK2+000", "100", {}, {});
  EXPECT_EQ(input.db.rockLayers.GetSize(), 6);
  EXPECT_EQ(input.stationList.GetSize(), 2);
}

TEST_F(InputRecords, ASaveKeepsTheHundredPointsNearestTheCentreAndSaysSo) {
  std::vector<std::string> texts;
  for (int k = 1; k <= 101; ++k) texts.push_back(std::to_string(k));
  inputtest::Typed rows;
  for (const std::string& t : texts) rows.emplace_back(t.c_str(), "0.5");
  Save("DK1+000", "100", rows, {});
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_EQ(input.db.rockLayers[0].leftCount, 100);
  EXPECT_EQ(input.db.rockLayers[0].left[99].distance, 100.0);
  EXPECT_NE(transcript.text().find("左侧有101个地面点"), std::string::npos);
}

TEST_F(InputRecords, SaveNeedsTheChainageTheElevationAndTheLineName) {
  struct Case {
    const char* chainage;
    const char* elevation;
    const char* lineName;
    const char* message;
  };
  const Case cases[] = {{"", "100", "基线", "请输入里程！"},
                        {"DK1+000", "", "基线", "请输入高程!"},
                        {"DK1+000", "100", "  ", "请输入线路名!"}};
  for (const Case& c : cases) {
    transcript.clear();
    input.lineNameText = c.lineName;
    Save(c.chainage, c.elevation, {{"2", "0.5"}}, {});
    EXPECT_NE(transcript.text().find(c.message), std::string::npos) << c.message;
    EXPECT_EQ(input.db.rockLayers.GetSize(), 0);
  }
}

// Typed values that are no finite number (atof would store Inf or NaN, or 0
// for a text that is no number) are refused with a message naming the
// field, and nothing is stored.
TEST_F(InputRecords, TypedValuesThatAreNoFiniteNumberAreRefused) {
  struct Case {
    const char* what;
    const char* chainage;
    const char* elevation;
    inputtest::Typed left, right;
    const char* layer;
    int rockTypeSelection;
    int elevationType;
    const char* message;
  };
  const inputtest::Typed good = {{"2", "0.5"}};
  const Case cases[] = {
      {"an infinite elevation", "DK1+000", "1e999", good, good, "0", 0, 0, "中桩高程\"1e999\"不是有限的数, 未保存!"},
      {"an elevation that is no number", "DK1+000", "nan", good, good, "0", 0, 0, "中桩高程\"nan\"不是有限的数"},
      {"an elevation with letters", "DK1+000", "100m", good, good, "0", 0, 0, "中桩高程\"100m\"不是有限的数"},
      {"an infinite chainage", "DKinf", "100", good, good, "0", 0, 0, "中桩里程\"DKinf\"不是里程"},
      {"a chainage beyond the doubles", "DK1e400", "100", good, good, "0", 0, 0, "中桩里程\"DK1e400\"不是里程"},
      {"a chainage that is no number", "DKnan", "100", good, good, "0", 0, 0, "中桩里程\"DKnan\"不是里程"},
      {"a chainage without digits", "abc", "100", good, good, "0", 0, 0, "中桩里程\"abc\"不是里程"},
      {"a distance that is no number", "DK1+000", "100", {{"2", "0.5"}, {"nan", "0.1"}}, good, "0", 0, 0,
       "左侧第2行的平距\"nan\"不是有限的数"},
      {"an infinite height difference", "DK1+000", "100", good, {{"3", "1e999"}}, "0", 0, 0,
       "右侧第1行的高差\"1e999\"不是有限的数"},
      {"an elevation in the grid that is no number", "DK1+000", "100", {{"2", "inf"}}, good, "0", 0, 1,
       "左侧第1行的高程\"inf\"不是有限的数"},
      {"a distance without its value", "DK1+000", "100", good, {{"3", ""}}, "0", 0, 0, "右侧第1行没有高差"},
      {"a layer out of range", "DK1+000", "100", good, good, "20", 0, 0, "层号\"20\"不是0到19的整数"},
      {"no rock type chosen", "DK1+000", "100", good, good, "0", -1, 0, "请选择岩性, 未保存!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    transcript.clear();
    input.leftGrid.Reset(GroundLineInput::kGridRows);
    input.rightGrid.Reset(GroundLineInput::kGridRows);
    input.SetElevationType(c.elevationType);
    input.rockTypeSelection = c.rockTypeSelection;
    Save(c.chainage, c.elevation, c.left, c.right, c.layer);
    EXPECT_NE(transcript.text().find(c.message), std::string::npos) << transcript.text();
    EXPECT_EQ(input.db.rockLayers.GetSize(), 0);
    EXPECT_EQ(input.stationList.GetSize(), 0);
  }
  // The same save with its values mended is stored.
  input.SetElevationType(0);
  input.rockTypeSelection = 0;
  Save("DK1+000", "100", {{"2", "0.5"}}, {{"3", "-0.25"}});
  EXPECT_EQ(input.db.rockLayers.GetSize(), 2);
}

TEST_F(InputRecords, QueryShowsTheStationWithinOneCentimetreInTheCurrentForms) {
  input.rockTypeSelection = 2;
  Save("DK12+005.5", "101.254", {{"2.5", "0.3"}, {"6", "-0.4"}}, {{"3", "0.2"}});
  input.rockTypeSelection = 0;
  input.chainageText.Empty();
  input.elevationText.Empty();
  ASSERT_TRUE(Choose("DK12+005.50"));
  input.OnQuery();
  EXPECT_STREQ(input.chainageText.GetString(), "DK12+005.50");
  EXPECT_STREQ(input.elevationText.GetString(), "101.25");
  EXPECT_EQ(input.rockTypeSelection, 2);
  EXPECT_EQ(input.leftCount, 2);
  EXPECT_EQ(input.rightCount, 1);
  ASSERT_EQ(input.leftGrid.rows.size(), 3u);  // two points and one spare row
  EXPECT_STREQ(input.leftGrid.rows[1].distance.GetString(), "6.00");
  EXPECT_STREQ(input.leftGrid.rows[1].value.GetString(), "-0.40");
  EXPECT_TRUE(input.leftGrid.rows[2].distance.IsEmpty());
  EXPECT_DOUBLE_EQ(input.rightGrid.baseElevation, 101.25);
  // A station text 0.009 off still finds the record (tolerance 0.01); 0.011 does not.
  input.stationList[0] = "DK12+005.509";
  input.OnQuery();
  EXPECT_EQ(input.leftCount, 2);
  input.stationList[0] = "DK12+005.511";
  input.OnQuery();
  EXPECT_EQ(input.leftCount, 0);
  EXPECT_TRUE(input.leftGrid.rows[0].distance.IsEmpty());
}

TEST_F(InputRecords, DeleteTakesBothSidesWithinATenthOfAMillimetre) {
  const earthline a = [] {
    earthline r;
    r.prefix = "DK";
    r.chainage = 1000.0;
    r.leftCount = 1;
    r.left[0] = {2, 0.5};
    return r;
  }();
  earthline near = a;
  near.chainage = 1000.0005;  // one station for the list, another one for the delete
  for (const earthline& r : {a, near}) InsertPair(input.db.rockLayers, static_cast<int>(input.db.rockLayers.GetSize()), r, EmptyPartnerOf(r));
  StationTexts(input.db.rockLayers, input.stationList);
  ASSERT_EQ(input.stationList.GetSize(), 1);
  ASSERT_TRUE(Choose("DK1+000.00"));

  platform::queueAnswer("msg", "IDNO");
  input.OnDeleteRecord();
  EXPECT_EQ(input.db.rockLayers.GetSize(), 4);

  platform::queueAnswer("msg", "IDYES");
  input.OnDeleteRecord();
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_EQ(input.db.rockLayers[0].chainage, 1000.0005);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  EXPECT_EQ(input.stationList.GetSize(), 1);
  EXPECT_TRUE(input.chainageText.IsEmpty());
}

TEST_F(InputRecords, ScaleEntriesGiveTheirFactor) {
  struct Case {
    const char* text;
    double factor;
  };
  for (const Case c : {Case{"500", 0.5}, Case{"1000", 1.0}, Case{"2000", 2.0}, Case{"1", 0.001}}) {
    input.SetScaleText(c.text);
    EXPECT_DOUBLE_EQ(input.scaleFactor, c.factor) << c.text;
  }
}

TEST_F(InputRecords, StationSpinStepsThroughTheStationsAndQueries) {
  Save("DK1+000", "100", {{"2", "0.5"}}, {});
  Save("DK1+020", "101", {{"2", "0.7"}}, {});
  input.stationSelection = 0;
  input.OnStationSpin(+1);
  EXPECT_EQ(input.stationSelection, 1);
  EXPECT_STREQ(input.elevationText.GetString(), "101.00");
  input.OnStationSpin(+1);  // stays on the last
  EXPECT_EQ(input.stationSelection, 1);
  input.OnStationSpin(-1);
  EXPECT_STREQ(input.elevationText.GetString(), "100.00");
}

// ---- Writing -----------------------------------------------------------------------------

// The points of the rows of a design or user table, in ID order (point 1,
// the centre point the writer adds, left out).
std::vector<Points> RowPoints(InputTest& t, const char* table, int points) {
  std::string sql = "select 地面点数";
  for (int k = 2; k <= points + 1; ++k)
    sql += ", 点" + std::to_string(k) + "距中桩距离, 点" + std::to_string(k) + "与中桩高程差";
  std::vector<Points> out;
  for (const auto& row : t.Query(sql + " from " + table + " order by ID")) {
    Points p;
    for (int k = 0; k < points && 2 + 2 * k < static_cast<int>(row.size()); ++k)
      p.emplace_back(std::atof(row[1 + 2 * k].c_str()), std::atof(row[2 + 2 * k].c_str()));
    out.push_back(p);
  }
  return out;
}

TEST_F(InputRecords, WriteConvertsTheEnteredValuesOncePerMode) {
  struct Case {
    const char* mode;
    int reference, elevationType;
    inputtest::Typed left;
    Points design;
  };
  // Centre elevation 100; every case enters the same ground: (2, 0.5), (5, -0.25), (10, 1).
  const Case cases[] = {
      {"相对中桩 高差", 0, 0, {{"2", "0.5"}, {"5", "-0.25"}, {"10", "1"}}, {{2, 0.5}, {5, -0.25}, {10, 1}}},
      {"相对前点 高差", 1, 0, {{"2", "0.5"}, {"3", "-0.75"}, {"5", "1.25"}}, {{2, 0.5}, {5, -0.25}, {10, 1}}},
      {"相对中桩 高程", 0, 1, {{"2", "100.5"}, {"5", "99.75"}, {"10", "101"}}, {{2, 0.5}, {5, -0.25}, {10, 1}}},
      {"相对前点 高程", 1, 1, {{"2", "100.5"}, {"3", "99.75"}, {"5", "101"}}, {{2, 0.5}, {5, -0.25}, {10, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    input.db.rockLayers.RemoveAll();
    input.reference = c.reference;
    input.SetElevationType(c.elevationType);
    Save("DK1+000", "100", c.left, {});
    input.OnWriteDatabase();
    const std::vector<Points> design = RowPoints(*this, "横断面岩层线表", 3);
    ASSERT_EQ(design.size(), 2u);  // the left row and its right partner
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(design[0][k].first, c.design[k].first, 1e-9) << k;
      EXPECT_NEAR(design[0][k].second, c.design[k].second, 1e-9) << k;
    }
    // The user table keeps the values as entered; the list stays entered too.
    const std::vector<Points> user = RowPoints(*this, "用户横断面岩层线表", 3);
    ASSERT_EQ(user.size(), 2u);
    EXPECT_NEAR(user[0][1].second, std::atof(c.left[1].second), 1e-9);
    EXPECT_NEAR(input.db.rockLayers[0].left[1].height, std::atof(c.left[1].second), 1e-12);
  }
  EXPECT_NE(transcript.text().find("成功写入数据库"), std::string::npos);
}

TEST_F(InputRecords, ElevationsWrittenReadBackAndWrittenAgainGiveTheSameGround) {
  input.SetElevationType(1);
  Save("DK1+000", "100", {{"2", "100.5"}, {"5", "99.75"}}, {{"3", "101"}});
  input.OnWriteDatabase();
  // The user table holds the centre point as an elevation too.
  const auto user = Query("select 地面点数, 点1距中桩距离, 点1与中桩高程差, 点2与中桩高程差 from 用户横断面岩层线表 order by ID");
  ASSERT_EQ(user.size(), 2u);
  EXPECT_EQ(user[0], (std::vector<std::string>{"3", "0", "100", "100.5"}));
  const char* design = "select 地面点数, 点1与中桩高程差, 点2与中桩高程差, 点3与中桩高程差 from 横断面岩层线表 order by ID";
  const auto first = Query(design);
  EXPECT_EQ(first[0], (std::vector<std::string>{"3", "0", "0.5", "-0.25"}));
  EXPECT_EQ(first[1], (std::vector<std::string>{"2", "0", "1", "NULL"}));
  // The line read again from the user table and written again: the same design rows.
  platform::queueAnswer("msg", "IDNO");  // 是否保存基线?
  input.OnBaseLine();
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  input.OnWriteDatabase();
  EXPECT_EQ(Query(design), first);
}

// A station and layer is stored with both its sides or not at all, in the
// user table and the design table alike, whatever the forms the points
// were entered in.
TEST_F(InputRecords, AStationTooLongForItsRowIsLeftOutOfBothTables) {
  for (int elevationType : {0, 1}) {
    SCOPED_TRACE(elevationType);
    input.db.rockLayers.RemoveAll();
    input.SetElevationType(elevationType);
    const char* value = elevationType == 0 ? "0.5" : "100.5";
    std::vector<std::string> distances;
    for (int k = 1; k <= 100; ++k) distances.push_back(std::to_string(k));  // the first off the centre
    inputtest::Typed hundred;
    for (const std::string& d : distances) hundred.emplace_back(d.c_str(), value);
    Save("DK1+000", "100", hundred, {{"3", value}});
    Save("DK1+020", "100", {{"2", value}}, {{"3", value}});
    ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
    transcript.clear();
    input.OnWriteDatabase();
    EXPECT_NE(transcript.text().find("DK1+000.00 层0: 左侧100个点"), std::string::npos) << transcript.text();
    for (const char* table : {"用户横断面岩层线表", "横断面岩层线表"}) {
      SCOPED_TRACE(table);
      EXPECT_EQ(Query(std::string("select 中桩里程数, 左或右 from ") + table + " order by ID"),
                (std::vector<std::vector<std::string>>{{"1020", "左"}, {"1020", "右"}}));
      EXPECT_NE(transcript.text().find(std::string("两侧都未写入") + table + ":"), std::string::npos)
          << transcript.text();
    }
  }
}

// A value the design cannot read, in the records read from a user table,
// refuses the write before either table is touched: the rows they held stay.
TEST_F(InputRecords, AValueTheDesignCannotReadLeavesBothTablesAsTheyWere) {
  Save("DK1+000", "100", {{"2", "0.5"}}, {{"3", "-0.25"}});
  Save("DK1+020", "100", {{"2", "0.5"}}, {{"3", "-0.25"}});
  input.OnWriteDatabase();
  const std::string rows = "select 中桩里程数, 左或右, 岩层性质 from ";
  const auto user = Query(rows + "用户横断面岩层线表 order by ID");
  const auto design = Query(rows + "横断面岩层线表 order by ID");
  ASSERT_EQ(user.size(), 4u);
  ASSERT_EQ(design.size(), 4u);
  struct Case {
    const char* what;
    void (*spoil)(earthline&);
    const char* message;
  };
  const Case cases[] = {
      {"rock type 0", [](earthline& r) { r.rockType = 0; }, "岩层性质0不是已知的岩性"},
      {"an infinite point", [](earthline& r) { r.left[0].distance = std::numeric_limits<double>::infinity(); }, "左侧第1点的距中桩距离不是有限的数"},
      // Entered from the previous point, two large finite distances sum to
      // an infinite one in the design table only: the user table is kept too.
      {"a sum beyond the doubles", [](earthline& r) {
         r.leftCount = 2;
         r.left[0].distance = 1.5e308;
         r.left[1].distance = 1.5e308;
       },
       "写横断面岩层线表失败: 1条记录的数值不能存入"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    transcript.clear();
    input.reference = 1;
    ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
    const earthline kept = input.db.rockLayers[2];
    c.spoil(input.db.rockLayers[2]);
    input.OnWriteDatabase();
    EXPECT_NE(transcript.text().find(c.message), std::string::npos) << transcript.text();
    EXPECT_EQ(transcript.text().find("成功写入数据库"), std::string::npos);
    EXPECT_EQ(Query(rows + "用户横断面岩层线表 order by ID"), user);
    EXPECT_EQ(Query(rows + "横断面岩层线表 order by ID"), design);
    input.db.rockLayers[2] = kept;
    input.reference = 0;
  }
}

// ---- Detours ----------------------------------------------------------------------------

TEST_F(InputRecords, ADetourOfTenOrMoreWritesItsOwnRowsOnly) {
  input.lineKind = GroundLineInput::kLeftDetour;
  input.lineNames.RemoveAll();
  input.lineNames.Add("左线第12绕行段 ");
  input.lineNameSelection = 0;
  input.lineNameText = "左线第12绕行段 ";
  Save("DK3+000", "90", {{"2", "0.5"}}, {{"2", "0.5"}});
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_STREQ(input.db.rockLayers[0].detourNumber.GetString(), "12");
  // Rows of detour 1 are there before and stay.
  std::string error;
  ASSERT_TRUE(fixtures::AppendRockLayerRows(m_db, "左线绕行段横断面岩层线表", true,
                                            {fixtures::SideRow("DK", 3000, "左", {{0, 0}, {4, 1}}, 1)}, true, &error))
      << error;
  input.OnWriteDatabase();
  const auto rows = Query("select 绕行段编号, 左或右 from 左线绕行段横断面岩层线表 order by 绕行段编号, ID");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[1][0], "12");
  EXPECT_EQ(rows[2][0], "12");
  EXPECT_EQ(Query("select * from 用户左线绕行段横断面岩层线表 where 绕行段编号=12").size(), 2u);

  // A line name that is no detour label is refused where a detour is needed.
  input.lineNameText = "左线第一绕行段";
  transcript.clear();
  Save("DK3+100", "90", {{"2", "0.5"}}, {});
  EXPECT_NE(transcript.text().find("不是绕行段名"), std::string::npos);
  EXPECT_EQ(input.db.rockLayers.GetSize(), 2);
}

TEST_F(InputRecords, LeavingADetourWithYesWritesThatDetourOnly) {
  input.lineKind = GroundLineInput::kLeftDetour;
  input.lineNameText = "左线第2绕行段";
  Save("DK3+000", "90", {{"2", "0.5"}}, {{"2", "0.5"}});
  platform::queueAnswer("msg", "IDYES");
  input.OnBaseLine();
  EXPECT_NE(transcript.text().find("是否保存左线第2绕行段?"), std::string::npos);
  EXPECT_EQ(Query("select * from 左线绕行段横断面岩层线表 where 绕行段编号=2").size(), 2u);
  std::string error;
  const auto baseRows = fixtures::QueryRows(m_db, "select * from 横断面岩层线表", &error);
  EXPECT_TRUE(baseRows.empty());  // missing or empty: not touched
  EXPECT_EQ(input.lineKind, GroundLineInput::kBaseLine);
  EXPECT_STREQ(input.lineNameText.GetString(), "基线");
  EXPECT_EQ(input.db.rockLayers.GetSize(), 0);  // the base line has no records yet
}

TEST_F(InputRecords, ALeftDetourListsTheLabelsOfItsBreakTableAndReadsTheFirst) {
  std::string error;
  for (const char* values : {"(0, NULL)", "(0, NULL)", "(1, '老路')"})
    ASSERT_TRUE(fixtures::ExecuteSql(m_db, std::string("insert into 左线断链表 (编号, 附注) values ") + values, &error))
        << error;
  ASSERT_TRUE(fixtures::AppendGroundLineRows(m_db, "左线绕行段横断面地面线表", true,
                                             {fixtures::SideRow("DK", 500, "左", {{0, 0}, {3, 1}}, 0),
                                              fixtures::SideRow("DK", 500, "右", {{0, 0}, {3, -1}}, 0),
                                              fixtures::SideRow("DK", 600, "左", {{0, 0}, {3, 1}}, 1)},
                                             true, &error))
      << error;
  platform::queueAnswer("msg", "IDNO");  // leaving the base line: not saved
  input.OnLeftDetour();
  ASSERT_EQ(input.lineNames.GetSize(), 2);
  EXPECT_STREQ(input.lineNames[0].GetString(), "左线第0绕行段 ");
  EXPECT_STREQ(input.lineNames[1].GetString(), "左线第1绕行段老路");
  // No user rows: the ground-line rows of detour 0 are merged, in pairs.
  ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
  EXPECT_TRUE(InPairs(input.db.rockLayers));
  EXPECT_STREQ(input.db.rockLayers[0].detourNumber.GetString(), "0");
  ASSERT_EQ(input.stationList.GetSize(), 1);
  EXPECT_STREQ(input.stationList[0].GetString(), "DK0+500.00");
}

// ---- Leaving a line with a save that is refused ---------------------------------------------

// The values of a record that a switch must keep: its head and its points.
std::string RecordText(const earthline& r) {
  std::string text = std::string(r.prefix.GetString()) + "|" + r.detourNumber.GetString();
  char head[160];
  std::snprintf(head, sizeof head, "|%.17g|%.17g|%d|%d|%d|%d", r.chainage, r.elevation, r.layer, r.rockType,
                r.leftCount, r.rightCount);
  text += head;
  for (bool left : {true, false})
    for (const auto& [d, h] : SideOf(r, left)) {
      std::snprintf(head, sizeof head, "|%.17g,%.17g", d, h);
      text += head;
    }
  return text;
}

std::vector<std::string> RecordTexts(const EarthLineList& list) {
  std::vector<std::string> out;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) out.push_back(RecordText(list[i]));
  return out;
}

// The line a switch starts from, and how the switch is made.
struct LineSwitch {
  const char* name;
  int kind;                          // the line kind held before
  std::vector<const char*> names;    // the line-name list
  int current;                       // the line held: its place in the list
  void (*act)(GroundLineInput&);     // the switch
  int kindAfter;                     // the line kind after a switch that goes on
  const char* nameAfter;             // the line name after it
  const char* userTable;             // the user table of the line held
  const char* heldRows;              // the condition of its rows
  const char* rowsAfter;             // the user rows of the line switched to (none when null)
};

const LineSwitch kSwitches[] = {
    {"基线 to 左绕行段", GroundLineInput::kBaseLine, {"基线"}, 0, [](GroundLineInput& in) { in.OnLeftDetour(); },
     GroundLineInput::kLeftDetour, "", "用户横断面岩层线表", "", nullptr},
    {"基线 to 右绕行段", GroundLineInput::kBaseLine, {"基线"}, 0, [](GroundLineInput& in) { in.OnRightDetour(); },
     GroundLineInput::kRightDetour, "", "用户横断面岩层线表", "", nullptr},
    {"左线第2绕行段 to 基线", GroundLineInput::kLeftDetour, {"左线第2绕行段"}, 0,
     [](GroundLineInput& in) { in.OnBaseLine(); }, GroundLineInput::kBaseLine, "基线", "用户左线绕行段横断面岩层线表",
     " where 绕行段编号=2", "select * from 用户横断面岩层线表"},
    // The list was dropped down on detour 1 and closed up on detour 2: the
    // list's choice changed before the offer.
    {"左线第1绕行段 to 左线第2绕行段 by the list", GroundLineInput::kLeftDetour, {"左线第1绕行段", "左线第2绕行段"}, 0,
     [](GroundLineInput& in) {
       in.OnLineNameDropDown();
       in.lineNameSelection = 1;
       in.lineNameText = in.lineNames[1];
       in.OnLineNameCloseUp();
     },
     GroundLineInput::kLeftDetour, "左线第2绕行段", "用户左线绕行段横断面岩层线表",
     " where 绕行段编号=1", "select * from 用户左线绕行段横断面岩层线表 where 绕行段编号=2"},
};

// What makes a record of the line held unsavable: a value the checks refuse.
struct Spoil {
  const char* name;
  void (*spoil)(earthline&);
  const char* message;
};

const Spoil kSpoils[] = {
    {"rock type 0", [](earthline& r) { r.rockType = 0; }, "层0 左侧: 岩层性质0不是已知的岩性(1到6)"},
    {"an infinite point", [](earthline& r) { r.left[0].height = std::numeric_limits<double>::infinity(); },
     "层0: 左侧第1点的与中桩高程差不是有限的数"},
};

class LeavingALine : public InputTest {
 protected:
  // Holds line `s` with two stations written to its tables, then edits them
  // unwritten: a point changed and `spoil` planted in the second station.
  void HoldEditedLine(const LineSwitch& s, const Spoil& spoil) {
    input.lineKind = s.kind;
    input.lineNames.RemoveAll();
    for (const char* name : s.names) input.lineNames.Add(name);
    input.lineNameSelection = s.current;
    input.lineNameText = input.lineNames[s.current];
    input.db.rockLayers.RemoveAll();
    Save("DK1+000", "100", {{"2", "0.5"}}, {{"3", "-0.25"}});
    Save("DK1+020", "100", {{"2", "0.5"}}, {{"3", "-0.25"}});
    ASSERT_TRUE(input.OnWriteDatabase());
    ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
    input.db.rockLayers[0].left[0].height = 0.75;
    spoil.spoil(input.db.rockLayers[2]);
  }
  std::vector<std::vector<std::string>> TableRows(const std::string& table, const char* condition) {
    return Query("select * from " + table + condition + " order by ID");
  }
};

// A Yes to "是否保存…?" whose save is refused keeps the line, its name and its
// records as typed, and writes nothing; a No switches, the edits given up.
TEST_F(LeavingALine, ARefusedSaveKeepsTheLineAndItsRecords) {
  for (const LineSwitch& s : kSwitches) {
    for (const Spoil& spoil : kSpoils) {
      SCOPED_TRACE(std::string(s.name) + ", " + spoil.name);
      HoldEditedLine(s, spoil);
      const std::string designTable = std::string(s.userTable).substr(std::string("用户").size());
      const auto user = TableRows(s.userTable, s.heldRows), design = TableRows(designTable, s.heldRows);
      ASSERT_EQ(user.size(), 4u);
      const std::vector<std::string> edited = RecordTexts(input.db.rockLayers);
      const CString held = input.lineNameText;

      transcript.clear();
      platform::queueAnswer("msg", "IDYES");
      s.act(input);
      EXPECT_TRUE(transcript.contains(std::string("是否保存") + held.GetString() + "?")) << transcript.text();
      EXPECT_TRUE(transcript.contains("未写入任何记录")) << transcript.text();
      EXPECT_TRUE(transcript.contains(spoil.message)) << transcript.text();
      EXPECT_EQ(input.lineKind, s.kind);
      EXPECT_STREQ(input.lineNameText.GetString(), held.GetString());
      EXPECT_EQ(input.lineNameSelection, s.current);
      EXPECT_EQ(RecordTexts(input.db.rockLayers), edited);
      EXPECT_EQ(input.db.rockLayerCount, 4);
      ASSERT_EQ(input.stationList.GetSize(), 2);
      EXPECT_STREQ(input.stationList[1].GetString(), "DK1+020.00");
      EXPECT_EQ(TableRows(s.userTable, s.heldRows), user);
      EXPECT_EQ(TableRows(designTable, s.heldRows), design);

      transcript.clear();
      platform::queueAnswer("msg", "IDNO");
      s.act(input);
      EXPECT_EQ(input.lineKind, s.kindAfter);
      EXPECT_STREQ(input.lineNameText.GetString(), s.nameAfter);
      // The records are those the line switched to holds in its user table
      // (the cases before wrote some), none of them edited.
      const size_t after = s.rowsAfter ? Query(s.rowsAfter).size() : 0u;
      EXPECT_EQ(input.db.rockLayers.GetSize(), static_cast<INT_PTR>(after));
      for (INT_PTR i = 0; i < input.db.rockLayers.GetSize(); ++i) {
        EXPECT_EQ(input.db.rockLayers[i].rockType, 1) << i;
        for (const auto& point : SideOf(input.db.rockLayers[i], true)) {
          EXPECT_TRUE(std::isfinite(point.second)) << i;
          EXPECT_NE(point.second, 0.75) << i;
        }
      }
      EXPECT_FALSE(transcript.contains("未写入任何记录"));
      EXPECT_EQ(TableRows(s.userTable, s.heldRows), user);
      EXPECT_EQ(TableRows(designTable, s.heldRows), design);
    }
  }
}

// A table that cannot be written (a design table of another layout) is a
// save that did not happen too: the line stays.
TEST_F(LeavingALine, ATableThatCannotBeWrittenKeepsTheLine) {
  HoldEditedLine(kSwitches[0], kSpoils[0]);
  input.db.rockLayers[2].rockType = 3;  // every value fits
  std::string error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "drop table 横断面岩层线表", &error)) << error;
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "create table 横断面岩层线表 (ID INTEGER, 附注 VARCHAR)", &error)) << error;
  const std::vector<std::string> edited = RecordTexts(input.db.rockLayers);
  platform::queueAnswer("msg", "IDYES");
  input.OnLeftDetour();
  EXPECT_TRUE(transcript.contains("写横断面岩层线表失败")) << transcript.text();
  EXPECT_EQ(input.lineKind, GroundLineInput::kBaseLine);
  EXPECT_STREQ(input.lineNameText.GetString(), "基线");
  EXPECT_EQ(RecordTexts(input.db.rockLayers), edited);
}

// Closing: a Yes whose write is refused keeps the dialog open (false); a No,
// or a Yes that writes, lets it close.
TEST_F(LeavingALine, ClosingWaitsForAWriteThatWasRefused) {
  struct Case {
    const char* name;
    const char* answer;
    bool mended;
    bool closes;
  };
  const Case cases[] = {
      {"Yes, refused", "IDYES", false, false},
      {"No", "IDNO", false, true},
      {"Yes, mended", "IDYES", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HoldEditedLine(kSwitches[0], kSpoils[0]);
    if (c.mended) input.db.rockLayers[2].rockType = 3;
    const std::vector<std::string> edited = RecordTexts(input.db.rockLayers);
    platform::queueAnswer("msg", c.answer);
    EXPECT_EQ(input.OnCancel(), c.closes);
    EXPECT_EQ(RecordTexts(input.db.rockLayers), edited);
    EXPECT_EQ(Query("select * from 用户横断面岩层线表 where 岩层性质=3").size(), c.mended ? 1u : 0u);
  }
}

// A station an earlier version stored without a rock type (岩层性质 0) is
// refused by name, and queried and saved again it can be written.
TEST_F(InputRecords, AStoredStationWithoutARockTypeIsNamedAndCanBeMended) {
  std::string error;
  std::vector<fixtures::CrossSectionRow> rows = {fixtures::SideRow("DK", 1000, "左", {{2, 0.5}}),
                                                 fixtures::SideRow("DK", 1000, "右", {{3, -0.25}}),
                                                 fixtures::SideRow("DK", 1020, "左", {{2, 0.5}}),
                                                 fixtures::SideRow("DK", 1020, "右", {{3, -0.25}})};
  for (size_t i = 0; i < rows.size(); ++i) rows[i].rockType = i < 2 ? 2 : 0;
  ASSERT_TRUE(fixtures::AppendRockLayerRows(m_db, "用户横断面岩层线表", false, rows, true, &error)) << error;
  platform::queueAnswer("msg", "IDNO");
  input.OnBaseLine();
  ASSERT_EQ(input.db.rockLayers.GetSize(), 4);

  EXPECT_FALSE(input.OnWriteDatabase());
  EXPECT_TRUE(transcript.contains("写用户横断面岩层线表失败: 2条记录的数值不能存入")) << transcript.text();
  EXPECT_TRUE(transcript.contains("DK1+020.00 层0 左侧: 岩层性质0不是已知的岩性(1到6)")) << transcript.text();
  EXPECT_TRUE(transcript.contains("DK1+020.00 层0 右侧: 岩层性质0不是已知的岩性(1到6)")) << transcript.text();

  // The query of the station shows no rock type chosen, whatever was shown
  // before: a save asks for one.
  input.rockTypeSelection = 4;
  ASSERT_TRUE(Choose("DK1+020.00"));
  input.layerText = "0";
  input.OnQuery();
  EXPECT_EQ(input.rockTypeSelection, -1);
  transcript.clear();
  input.OnSaveRecord();
  EXPECT_TRUE(transcript.contains("请选择岩性, 未保存!")) << transcript.text();
  input.rockTypeSelection = 2;  // Ⅲ
  input.OnSaveRecord();
  ASSERT_EQ(input.db.rockLayers.GetSize(), 4);
  EXPECT_EQ(input.db.rockLayers[2].rockType, 3);
  EXPECT_EQ(input.db.rockLayers[3].rockType, 3);
  EXPECT_TRUE(input.OnWriteDatabase());
  EXPECT_EQ(Query("select 中桩里程数, 左或右, 岩层性质 from 用户横断面岩层线表 order by ID"),
            (std::vector<std::vector<std::string>>{
                {"1000", "左", "2"}, {"1000", "右", "2"}, {"1020", "左", "3"}, {"1020", "右", "3"}}));
  // A query of a station of a known rock type shows it.
  ASSERT_TRUE(Choose("DK1+000.00"));
  input.OnQuery();
  EXPECT_EQ(input.rockTypeSelection, 1);
}

// ---- Set-up -----------------------------------------------------------------------------

TEST_F(InputRecords, StartUpMergesTheGroundLineTableInChainageAndLayerOrder) {
  const std::filesystem::path install = std::filesystem::path(m_dir) / "install";
  const std::filesystem::path project = std::filesystem::path(m_dir) / "proj";
  std::filesystem::create_directories(install);
  std::filesystem::create_directories(project / "data");
  std::filesystem::copy_file(m_db, project / "data" / "S1.mdb");
  fixtures::writeWorkdir(install.string(), project.string());
  fixtures::writeProjectFile(project.string(), "S1");
  const std::string db = (project / "data" / "S1.mdb").string();
  std::string error;
  ASSERT_TRUE(fixtures::AppendGroundLineRows(db, "横断面地面线表", false,
                                             {fixtures::SideRow("DK", 1020, "左", {{0, 0}, {5, 1}}),
                                              fixtures::SideRow("DK", 1020, "右", {{0, 0}, {5, 2}}),
                                              fixtures::SideRow("DK", 1000, "右", {{0, 0}, {4, 1}})},  // one side only
                                             true, &error))
      << error;
  drawbasetest::ModulePathScope module(install, "PELLORY.ARX");
  GroundLineInput fresh;
  ASSERT_TRUE(fresh.Initialise());
  ASSERT_EQ(fresh.stationList.GetSize(), 2);
  EXPECT_STREQ(fresh.stationList[0].GetString(), "DK1+000.00");
  EXPECT_STREQ(fresh.stationList[1].GetString(), "DK1+020.00");
  ASSERT_EQ(fresh.db.rockLayers.GetSize(), 4);
  EXPECT_TRUE(InPairs(fresh.db.rockLayers));
  EXPECT_EQ(fresh.db.rockLayers[0].leftCount, 0);  // the missing left side: an empty partner
  EXPECT_EQ(fresh.db.rockLayers[3].rightCount, 2);
  EXPECT_STREQ(fresh.lineNameText.GetString(), "基线");
  fresh.db.connection.Close();
}

}  // namespace
