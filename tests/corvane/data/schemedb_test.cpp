// The scheme database object: line tables, chainage ranges and remarks of the
// lines, their break tables, and the rewrite of 横断面数量表.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SchemeDatabase.h"
#include "fixtures/scheme_db.h"
#include "corvane/data/schemedb_support.h"
#include "win/transcript.h"

namespace {

using schemedb_test::MessageCount;
using Rows = std::vector<std::vector<std::string>>;

class SchemeDatabaseTest : public schemedb_test::SchemeProject {
 protected:
  void SetUp() override {
    SchemeProject::SetUp();
    m_scheme.databasePath = m_db.c_str();
  }
  SchemeDatabase m_scheme;
};

TEST_F(SchemeDatabaseTest, OpenLineTableSelectsTheRowsOfTheCurrentLine) {
  // Grade rows stand in for any table with the two line columns.
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "create table 线路表(ID INTEGER identity,线路性质 INTEGER,"
                                              "绕行段编号 INTEGER,数值 DOUBLE PRECISION)"));
  ASSERT_TRUE(fixtures::FillTable(m_db, "线路表", {{"0", "-1", "1"}, {"-1", "0", "2"}, {"-1", "0", "3"},
                                                        {"-1", "1", "4"}, {"1", "0", "5"}}));
  struct Case {
    int line, detour;
    const char* query;
    std::vector<std::string> values;  // empty: no rows
  };
  const Case cases[] = {
      {0, -1, "select * from 线路表 where 线路性质=0 and 绕行段编号=-1", {"1.00000000"}},
      {-1, 0, "select * from 线路表 where 线路性质=-1 and 绕行段编号=0", {"2.00000000", "3.00000000"}},
      {1, 0, "select * from 线路表 where 线路性质=1 and 绕行段编号=0", {"5.00000000"}},
      {1, 1, "select * from 线路表 where 线路性质=1 and 绕行段编号=1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    m_scheme.currentLine = c.line;
    m_scheme.detourNumber = c.detour;
    platform::TranscriptCapture capture;
    const int result = m_scheme.OpenLineTable(m_db.c_str(), "线路表");
    EXPECT_EQ(m_scheme.queryText, c.query);
    EXPECT_EQ(MessageCount(capture.text()), 0u) << capture.text();
    if (c.values.empty()) {
      EXPECT_EQ(result, 0);
      EXPECT_FALSE(m_scheme.connection.IsOpen());
      EXPECT_EQ(m_scheme.recordset.GetState(), 0);
      continue;
    }
    ASSERT_EQ(result, 1);
    std::vector<std::string> values;
    for (; !m_scheme.recordset.IsEOF(); m_scheme.recordset.MoveNext()) {
      CString text;
      m_scheme.recordset.GetValueText(text, 3);
      values.push_back(text.GetString());
    }
    EXPECT_EQ(values, c.values);
    m_scheme.recordset.Close();
    m_scheme.connection.Close();
  }
  // A missing table answers 0 without a message, like an empty selection.
  platform::TranscriptCapture capture;
  EXPECT_EQ(m_scheme.OpenLineTable(m_db.c_str(), "没有这张表"), 0);
  EXPECT_FALSE(m_scheme.connection.IsOpen());
  EXPECT_EQ(MessageCount(capture.text()), 0u) << capture.text();
}

TEST_F(SchemeDatabaseTest, ChainageRangesOfEveryLine) {
  struct Case {
    int line, detour;
    const char* start;
    const char* end;
  };
  const Case cases[] = {
      {0, -1, "DK0+100.000", "DK5+123.400"},  // first break's after, last break's before
      {0, 7, "DK0+100.000", "DK5+123.400"},   // the baseline ignores the detour number
      {-1, 0, "ZK1+200.500", "ZK2+300.250"},  // number before of the first and last rows
      {-1, 1, "ZK3+000", "ZK4+100.000"},
      {1, 0, "YK0+800.000", "YK1+500.750"},
      {1, 1, "k0+000", "k10+000"},  // a detour without breaks
      {-1, 5, "k0+000", "k10+000"},
      {2, 0, "untouched", "untouched"},  // no such line: the buffers stay
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << " detour " << c.detour);
    char start[kChainageTextSize] = "untouched";
    char end[kChainageTextSize] = "untouched";
    platform::TranscriptCapture capture;
    m_scheme.GetChainageRange(c.line, c.detour, start, end);
    EXPECT_STREQ(start, c.start);
    EXPECT_STREQ(end, c.end);
    EXPECT_EQ(MessageCount(capture.text()), 0u) << capture.text();
  }
  // The dialogs call the side-line range directly.
  char start[kChainageTextSize] = "-";
  char end[kChainageTextSize] = "-";
  EXPECT_TRUE(m_scheme.GetLineChainageRange("左线断链表", 1, start, end));
  EXPECT_STREQ(start, "ZK3+000");
  EXPECT_STREQ(end, "ZK4+100.000");
  EXPECT_FALSE(m_scheme.GetLineChainageRange("右线断链表", 1, start, end));
  EXPECT_STREQ(start, "ZK3+000");  // a failed lookup leaves the buffers
}

TEST_F(SchemeDatabaseTest, BaselineRangeNeedsABreakTableWithRows) {
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 断链表"));
  char start[kChainageTextSize] = "-";
  char end[kChainageTextSize] = "-";
  EXPECT_FALSE(m_scheme.GetBaselineChainageRange("断链表", start, end));
  m_scheme.GetChainageRange(0, -1, start, end);
  EXPECT_STREQ(start, "k0+000");
  EXPECT_STREQ(end, "k10+000");
}

TEST_F(SchemeDatabaseTest, RemarksOfDetourSections) {
  struct Case {
    const char* table;
    int detour;
    const char* remark;
  };
  const Case cases[] = {
      {"左线断链表", 0, "左线绕行段一"},  // the first row's remark
      {"左线断链表", 1, " "},             // NULL
      {"右线断链表", 0, " "},             // empty
      {"右线断链表", 3, "before"},        // no rows: unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.table << " " << c.detour);
    CString remark = "before";
    m_scheme.GetLineRemark(c.table, c.detour, remark);
    EXPECT_EQ(remark, c.remark);
    EXPECT_FALSE(m_scheme.connection.IsOpen());
  }
}

TEST_F(SchemeDatabaseTest, BreakTableOfTheCurrentLine) {
  struct Break {
    double before, length;
    const char* prefixBefore;
    const char* prefixAfter;
  };
  struct Case {
    int line, detour;
    std::vector<Break> breaks;
  };
  const Case cases[] = {
      {0, -1, {{100, 0, "DK", "DK"}, {2000, 50, "DK", "DK"}, {5123.4, 0, "DK", "DK"}}},
      {-1, 0, {{1200.5, 0, "ZK", "ZK"}, {2300.25, 10, "ZK", "ZK"}}},
      {1, 0, {{800, 0, "YK", "YK"}, {1500.75, 0, "YK", "YK"}}},
      {1, 4, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << " detour " << c.detour);
    m_scheme.breakCount = 99;
    m_scheme.currentLine = c.line;
    m_scheme.detourNumber = c.detour;
    m_scheme.LoadBreakTables();
    ASSERT_EQ(m_scheme.breakCount, static_cast<int>(c.breaks.size()));
    for (size_t i = 0; i < c.breaks.size(); ++i) {
      EXPECT_DOUBLE_EQ(m_scheme.breaks[i].before, c.breaks[i].before) << i;
      EXPECT_DOUBLE_EQ(m_scheme.breaks[i].length, c.breaks[i].length) << i;
      EXPECT_STREQ(m_scheme.breaks[i].prefixBefore, c.breaks[i].prefixBefore) << i;
      EXPECT_STREQ(m_scheme.breaks[i].prefixAfter, c.breaks[i].prefixAfter) << i;
    }
  }
  // Another line code changes nothing.
  m_scheme.currentLine = 3;
  m_scheme.LoadBreakTables();
  EXPECT_EQ(m_scheme.breakCount, 0);
}

TEST_F(SchemeDatabaseTest, SideLineBreakTableKeepsFiftyRows) {
  std::vector<fixtures::Row> rows;
  std::vector<std::string> numbers;
  for (int i = 0; i < 52; ++i) numbers.push_back(std::to_string(100 * (i + 1)));
  for (const std::string& n : numbers) rows.push_back({"2", "ZK", n.c_str(), "ZK", n.c_str(), nullptr});
  ASSERT_TRUE(fixtures::FillTable(m_db, "左线断链表", rows));
  m_scheme.currentLine = -1;
  m_scheme.detourNumber = 2;
  platform::TranscriptCapture capture;
  m_scheme.LoadBreakTables();
  EXPECT_EQ(m_scheme.breakCount, 50);
  EXPECT_DOUBLE_EQ(m_scheme.breaks[49].before, 5000.0);
  EXPECT_TRUE(capture.contains("左线断链表")) << capture.text();
}

// ---- 横断面数量表 -------------------------------------------------------------

QuantityResultRow Quantity(const char* prefix, double mileage, int kind, double base) {
  QuantityResultRow q;
  q.stakePrefix = prefix;
  q.stakeMileage = mileage;
  q.sectionKind = kind;
  q.fillArea = base + 1;
  q.improvedSoilArea = base + 2;
  q.permeableSoilArea = base + 3;
  q.strippedTopsoilArea = base + 4;
  for (int c = 0; c < 6; ++c) q.cutClassArea[c] = base + 11 + c;  // I .. VI: +11 .. +16
  q.cutArea = base + 5;
  q.leftLandWidth = base + 21;
  q.rightLandWidth = base + 22;
  q.shoulderProtectionArea = base + 23;
  q.ditchFillArea = base + 24;
  q.ditchCutArea = base + 25;
  q.ditchMasonryArea = base + 26;
  q.turfSlopeLength = base + 27;
  q.wallSlopeLength = base + 28;
  return q;
}

void SetQuantities(SchemeDatabase& scheme, const std::vector<QuantityResultRow>& rows) {
  QuantityResultRow* out = scheme.SetQuantityRowCount(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) out[i] = rows[i];
}

Rows QuantityTable(const std::string& db) {
  return fixtures::QueryRows(db, "select * from 横断面数量表");
}

TEST_F(SchemeDatabaseTest, QuantityTableIsCreatedAndWrittenInOrder) {
  SetQuantities(m_scheme, {Quantity("DK", 1200, 0, 100), Quantity("DK", 1100.5, 2, 200)});
  platform::TranscriptCapture capture;
  ASSERT_EQ(m_scheme.RebuildQuantityTable(), 1);
  EXPECT_EQ(MessageCount(capture.text()), 0u) << capture.text();

  // Columns in the order of the created table.
  const Rows columns = fixtures::QueryRows(
      m_db, "select 序号,中桩里程冠号,中桩里程数,断面性质,填面积,改良土面积,渗水土面积,清表土面积,挖方面积,"
            "I类挖方面积,II类挖方面积,III类挖方面积,IV类挖方面积,V类挖方面积,VI类挖方面积,左用地宽,右用地宽,"
            "护肩面积,水沟浆砌面积,水沟填面积,水沟挖面积,草皮边坡斜长,挡墙边坡斜长 from 横断面数量表");
  const Rows expected = {
      {"1", "DK", "1200", "0", "101", "102", "103", "104", "105", "111", "112", "113", "114", "115", "116", "121",
       "122", "123", "126", "124", "125", "127", "128"},
      {"2", "DK", "1100.5", "2", "201", "202", "203", "204", "205", "211", "212", "213", "214", "215", "216", "221",
       "222", "223", "226", "224", "225", "227", "228"},
  };
  EXPECT_EQ(columns, expected);
  // Exactly those 23 columns.
  const Rows all = QuantityTable(m_db);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].size(), 23u);
}

TEST_F(SchemeDatabaseTest, EveryRebuildNumbersFromOne) {
  SetQuantities(m_scheme, {Quantity("DK", 1000, 0, 0), Quantity("DK", 1020, 0, 0), Quantity("DK", 1040, 0, 0)});
  ASSERT_EQ(m_scheme.RebuildQuantityTable(), 1);
  SetQuantities(m_scheme, {Quantity("AK", 500, 1, 0), Quantity("AK", 520, 1, 0)});
  ASSERT_EQ(m_scheme.RebuildQuantityTable(), 1);
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 序号,中桩里程冠号,中桩里程数 from 横断面数量表"),
            (Rows{{"1", "AK", "500"}, {"2", "AK", "520"}}));

  // No rows: the table stays, empty.
  SetQuantities(m_scheme, {});
  ASSERT_EQ(m_scheme.RebuildQuantityTable(), 1);
  std::string error;
  EXPECT_TRUE(QuantityTable(m_db).empty());
  fixtures::QueryRows(m_db, "select * from 横断面数量表", &error);
  EXPECT_TRUE(error.empty()) << error;
}

TEST_F(SchemeDatabaseTest, QuantityTableKeepsItsLayoutWhenPresent) {
  // A table that is already there (with rows of an earlier run) is emptied
  // and rewritten, never created again.
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, std::string(kQuantityTableCreateSql)));
  ASSERT_TRUE(fixtures::FillTable(m_db, "横断面数量表", {{"OLD", "1"}, {"OLD", "2"}}));
  SetQuantities(m_scheme, {Quantity("DK", 10, 0, 0)});
  ASSERT_EQ(m_scheme.RebuildQuantityTable(), 1);
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 序号,中桩里程冠号 from 横断面数量表"), (Rows{{"1", "DK"}}));
  EXPECT_TRUE(m_scheme.HasTableName("横断面数量表"));
  EXPECT_FALSE(m_scheme.HasTableName("横断面数量"));
}

TEST_F(SchemeDatabaseTest, FailedRebuildKeepsTheOldRows) {
  // A table whose stake mileage is a key refuses the third row (a repeated
  // mileage) after the old rows were deleted and two new ones written.
  std::string sql = kQuantityTableCreateSql;
  sql.replace(sql.find("中桩里程数 DOUBLE PRECISION"), std::string("中桩里程数 DOUBLE PRECISION").size(),
              "中桩里程数 DOUBLE PRECISION UNIQUE");
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, sql));
  ASSERT_TRUE(fixtures::FillTable(m_db, "横断面数量表", {{"OLD", "1"}, {"OLD", "2"}}));

  SetQuantities(m_scheme, {Quantity("DK", 10, 0, 0), Quantity("DK", 20, 0, 0), Quantity("DK", 10, 0, 0)});
  platform::TranscriptCapture capture;
  EXPECT_EQ(m_scheme.RebuildQuantityTable(), 0);
  EXPECT_TRUE(capture.contains("写入" + m_db + "的横断面数量表失败,表中原有的数据未作改动!")) << capture.text();
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 序号,中桩里程冠号,中桩里程数 from 横断面数量表"),
            (Rows{{"1", "OLD", "1"}, {"2", "OLD", "2"}}));
  EXPECT_FALSE(m_scheme.connection.IsOpen());

  // The same object writes again once the rows are sound.
  SetQuantities(m_scheme, {Quantity("DK", 10, 0, 0)});
  EXPECT_EQ(m_scheme.RebuildQuantityTable(), 1);
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 中桩里程冠号 from 横断面数量表"), (Rows{{"DK"}}));
}

TEST_F(SchemeDatabaseTest, MissingDatabaseIsReportedByEveryOperation) {
  m_scheme.databasePath = (m_db + ".none").c_str();
  const std::string message = "连接数据库失败!";
  char start[kChainageTextSize] = "-";
  char end[kChainageTextSize] = "-";
  {
    platform::TranscriptCapture capture;
    EXPECT_FALSE(m_scheme.Connect());
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
  {
    platform::TranscriptCapture capture;
    EXPECT_EQ(m_scheme.OpenLineTable(m_scheme.databasePath, "左路堤边坡"), 0);
    EXPECT_EQ(MessageCount(capture.text()), 1u) << capture.text();
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
  {
    platform::TranscriptCapture capture;
    EXPECT_FALSE(m_scheme.GetLineChainageRange("左线断链表", 0, start, end));
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
  {
    // The defaults follow the message.
    platform::TranscriptCapture capture;
    m_scheme.GetChainageRange(-1, 0, start, end);
    EXPECT_STREQ(start, "k0+000");
    EXPECT_STREQ(end, "k10+000");
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
  {
    platform::TranscriptCapture capture;
    CString remark = "kept";
    m_scheme.GetLineRemark("左线断链表", 0, remark);
    EXPECT_EQ(remark, "kept");
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
  {
    platform::TranscriptCapture capture;
    SetQuantities(m_scheme, {Quantity("DK", 10, 0, 0)});
    EXPECT_EQ(m_scheme.RebuildQuantityTable(), 0);
    EXPECT_EQ(MessageCount(capture.text()), 1u) << capture.text();
    EXPECT_TRUE(capture.contains(message)) << capture.text();
  }
}

}  // namespace
