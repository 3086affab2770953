#pragma once
// Scheme databases for the table-store tests: a fresh database with the
// navigator's tables in a temporary folder, and the statements of the tables
// that other modules create for themselves.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "XLDataBase.h"
#include "fixtures/scheme_db.h"
#include "win/transcript.h"

namespace xldb_test {

// 横断面数量表 as the scheme database class creates it.
inline const char* const kQuantityTableSql =
    "create table 横断面数量表(序号 INTEGER IDENTITY,中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,"
    "断面性质 integer,填面积 DOUBLE PRECISION,改良土面积 DOUBLE PRECISION,渗水土面积 DOUBLE PRECISION,"
    "清表土面积 DOUBLE PRECISION,挖方面积 DOUBLE PRECISION,I类挖方面积 DOUBLE PRECISION,"
    "II类挖方面积 DOUBLE PRECISION,III类挖方面积 DOUBLE PRECISION,IV类挖方面积 DOUBLE PRECISION,"
    "V类挖方面积 DOUBLE PRECISION,VI类挖方面积 DOUBLE PRECISION,左用地宽 DOUBLE PRECISION,"
    "右用地宽 DOUBLE PRECISION,护肩面积 DOUBLE PRECISION,水沟浆砌面积 DOUBLE PRECISION,"
    "水沟填面积 DOUBLE PRECISION,水沟挖面积 DOUBLE PRECISION,草皮边坡斜长 DOUBLE PRECISION,"
    "挡墙边坡斜长 DOUBLE PRECISION)";

inline const char* const kTechStandardsSql =
    "create table 主要技术标准(ID INTEGER IDENTITY,铁路等级 VARCHAR,正线数目 VARCHAR,轨道类型 VARCHAR,"
    "牵引种类 VARCHAR,速度目标 DOUBLE PRECISION,标准线间距 DOUBLE PRECISION,推荐半径小 DOUBLE PRECISION,"
    "推荐半径大 DOUBLE PRECISION,限制坡度 DOUBLE PRECISION,下行限坡 DOUBLE PRECISION,有效长 DOUBLE PRECISION,"
    "一般最小曲线半径 DOUBLE PRECISION,困难最小曲线半径 DOUBLE PRECISION)";

inline const char* const kWideningSql =
    "create table 曲线加宽(ID INTEGER IDENTITY,r1 DOUBLE PRECISION,r2 DOUBLE PRECISION,jk DOUBLE PRECISION)";

// 地面线表 as the cross-section module creates it (not one of the navigator's tables).
inline const char* const kGroundProfileSql =
    "create table 地面线表(ID INTEGER IDENTITY,中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,"
    "地面高程 DOUBLE PRECISION,附注 VARCHAR)";

// The curve row both the reading and the writing tests store (交点 at N
// 3001.5, E 502.25, R 800, DK1000.5 .. CK1230.8): every column but its number.
inline void ExpectSampleCurve(const CurveRow& c) {
  EXPECT_DOUBLE_EQ(c.x, 3001.5);
  EXPECT_DOUBLE_EQ(c.y, 502.25);
  EXPECT_DOUBLE_EQ(c.deflection, 12.3015);
  EXPECT_DOUBLE_EQ(c.R, 800.0);
  EXPECT_DOUBLE_EQ(c.L1, 60.0);
  EXPECT_DOUBLE_EQ(c.L2, 70.0);
  EXPECT_DOUBLE_EQ(c.T1, 120.1);
  EXPECT_DOUBLE_EQ(c.T2, 121.2);
  EXPECT_DOUBLE_EQ(c.curveLength, 230.3);
  EXPECT_DOUBLE_EQ(c.straightAfter, 45.4);
  EXPECT_STREQ(c.startPrefix, "DK");
  EXPECT_DOUBLE_EQ(c.startChainage, 1000.5);
  EXPECT_STREQ(c.endPrefix, "CK");
  EXPECT_DOUBLE_EQ(c.endChainage, 1230.8);
  EXPECT_DOUBLE_EQ(c.officeBreak, 1.5);
}

// Two fill/cut rows in memory: DK1020 with every column a different value
// (路肩施工宽度, 断面信息 and 附注 as given) and DK1040 whose 路肩施工宽度 is
// too small to be a width, so that it is left empty.
inline void SetFillCutRows(XLDataBase& xl, double buildWidth, int sectionInfo, const char* remark) {
  XLDataBase::AllocRows(xl.fillCuts, xl.fillCutCount, 2);
  FillCutRow& a = xl.fillCuts[0];
  a.prefix = "DK";
  a.chainage = 1020;
  a.groundElevation = 98.5;
  a.designGrade = -3.5;
  a.shoulderDesignElevation = 101.25;
  a.verticalOrdinate = 0.125;
  a.centreLift = 0.05;
  a.centreHeight = 2.75;
  a.shoulderBuildElevation = 101.3;
  a.widening = 0.2;
  a.rightWidening = 0.3;
  a.shoulderBuildWidth = buildWidth;
  a.leftSpacing = 4.4;
  a.rightSpacing = 5.5;
  a.separationWidth = 6.6;
  a.sectionInfo = sectionInfo;
  a.remark = remark;
  FillCutRow& b = xl.fillCuts[1];
  b.prefix = "DK";
  b.chainage = 1040;
  b.shoulderBuildWidth = 0.000001;
}

// One empty scheme database with the navigator's 36 tables, kept in the build
// folder and copied for each test (making it takes a while). It is made again
// when the test program is newer than it.
class SchemeDbMaster {
 public:
  static const std::string& Path() {
    static SchemeDbMaster master;
    return master.m_path;
  }

 private:
  SchemeDbMaster() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto program = fs::last_write_time("/proc/self/exe", ec);
    const auto made = fs::last_write_time(m_path, ec);
    if (!ec && made >= program) return;
    const std::string fresh = m_path + "." + std::to_string(::getpid());
    std::string error;
    if (!fixtures::CreateSchemeDatabase(fresh, &error)) {
      ADD_FAILURE() << error;
      return;
    }
    fs::rename(fresh, m_path, ec);  // whole, so a parallel test never sees half a file
    if (ec) ADD_FAILURE() << ec.message();
  }
  std::string m_path = std::string(RAIL_BINARY_DIR) + "/tests/xldb-master.mdb";
};

// A temporary folder holding one scheme database with the navigator's 36
// tables; the transcript is captured for the test's messages.
struct SchemeDbTest : ::testing::Test {
  std::string dir = fixtures::MakeTempFolder("xldb");
  std::string path = dir + "/方案1.mdb";
  platform::TranscriptCapture transcript;

  void SetUp() override { ASSERT_TRUE(CopyMaster(path)); }
  void TearDown() override { fixtures::RemoveFolder(dir); }

  static bool CopyMaster(const std::string& to) {
    std::error_code ec;
    std::filesystem::copy_file(SchemeDbMaster::Path(), to, std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
  }
  // A second database with the 36 tables in the same folder.
  std::string MakeDatabase(const std::string& name) {
    std::string other = dir + "/" + name + ".mdb";
    EXPECT_TRUE(CopyMaster(other));
    return other;
  }
  void Sql(const std::string& sql, const std::string& db = "") {
    std::string error;
    ASSERT_TRUE(fixtures::ExecuteSql(db.empty() ? path : db, sql, &error)) << error;
  }
  void Fill(const std::string& table, const std::vector<fixtures::Row>& rows, const std::string& db = "") {
    std::string error;
    ASSERT_TRUE(fixtures::FillTable(db.empty() ? path : db, table, rows, &error)) << error;
  }
  std::vector<std::vector<std::string>> Query(const std::string& sql, const std::string& db = "") {
    std::string error;
    auto rows = fixtures::QueryRows(db.empty() ? path : db, sql, &error);
    EXPECT_EQ(error, "");
    return rows;
  }
};

}  // namespace xldb_test
