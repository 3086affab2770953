// Numbers the design takes from the scheme tables: a column the reader needs
// and the table lacks, an empty field where a value is needed and a text that
// is no finite number refuse the table, with a message naming table, row and
// column; nothing of a refused table is kept.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <string>
#include <vector>

#include "TableNumbers.h"
#include "XLDataBase.h"
#include "corvane/data/xldb_support.h"
#include "fixtures/run_command.h"
#include "win/transcript.h"

namespace {

using fixtures::Row;
using xldb_test::SchemeDbTest;

struct TableNumbersTest : SchemeDbTest {
  XLDataBase xl;
};

// The count of the row table a read of `table` fills.
int RowsOf(const XLDataBase& xl, const std::string& table) {
  if (table == "曲线表") return xl.curveCount;
  if (table == "坡度表") return xl.gradeCount;
  if (table == "填挖表") return xl.fillCutCount;
  if (table == "断链表") return xl.breakCount;
  if (table == "隧道") return xl.tunnelCount;
  if (table == "大中桥") return xl.bridgeCount;
  if (table == "左线曲线表") return xl.sideCurveCount;
  return -1;
}

TEST_F(TableNumbersTest, MissingColumnsEmptyFieldsAndTextsRefuseTheTable) {
  const char* kCurveWithoutN =
      "create table 曲线表(ID INTEGER IDENTITY,交点号 VARCHAR,坐标E DOUBLE PRECISION,曲线半径 DOUBLE PRECISION,"
      "前缓和曲线 DOUBLE PRECISION,后缓和曲线 DOUBLE PRECISION)";
  const char* kGradeWithoutElevation =
      "create table 坡度表(ID INTEGER IDENTITY,变坡点里程冠号 VARCHAR,变坡点里程数 DOUBLE PRECISION,"
      "坡度 DOUBLE PRECISION)";
  const char* kFillCutWithoutGround =
      "create table 填挖表(ID INTEGER IDENTITY,加桩里程冠号 VARCHAR,加桩里程数 DOUBLE PRECISION)";
  const char* kShortBridges = "create table 大中桥(ID INTEGER IDENTITY,桥梁名称 VARCHAR,中心里程冠号 VARCHAR)";
  struct Case {
    const char* name;
    const char* table;
    const char* create;  // the table made anew without a column, or nullptr
    std::vector<Row> rows;  // put as the navigator's grid would
    const char* insert;     // or stored as it stands by another program
    const char* message;
  };
  const Case cases[] = {
      // 交点号, 坐标N, 坐标E, 偏角, 曲线半径, ...
      {"a curve row without 坐标E", "曲线表", nullptr,
       {{"JD0", "100", "200", "0", "0"}, {"JD1", "300", nullptr, "0", "800"}}, nullptr,
       "表曲线表第2行\"坐标E\"列没有值, 该表不能读入!"},
      // 变坡点里程冠号, 变坡点里程数, 设计高程
      {"a word for a design elevation", "坡度表", nullptr, {},
       "insert into 坡度表(变坡点里程冠号,变坡点里程数,设计高程) values('DK',0,'abc')",
       "表坡度表第1行\"设计高程\"列的\"abc\"不是有限的数, 该表不能读入!"},
      {"a ground elevation beyond a double", "填挖表", nullptr, {},
       "insert into 填挖表(加桩里程冠号,加桩里程数,地面高程) values('DK',100,98.5),('DK',120,1e999)",
       "表填挖表第2行\"地面高程\"列的\"inf\"不是有限的数, 该表不能读入!"},
      // 等号左里程冠号, 等号左里程数, 等号右里程冠号, 等号右里程数, 断链长度
      {"an empty break length", "断链表", nullptr, {{"DK", "1000", "DK", "1010", nullptr}}, nullptr,
       "表断链表第1行\"断链长度\"列没有值, 该表不能读入!"},
      // 隧道名称, 起点里程冠号, 起点里程数 (by position)
      {"a start chainage with a unit", "隧道", nullptr, {},
       "insert into 隧道(隧道名称,起点里程冠号,起点里程数,终点里程冠号,终点里程数) values('山','DK','12m','DK',50)",
       "表隧道第1行\"起点里程数\"列的\"12m\"不是有限的数, 该表不能读入!"},
      // 交点属性, 二线交点号, 一线交点号 (by position)
      {"a side-line number that is nan", "左线曲线表", nullptr,
       {{"1", "2", "nan", "5", "100", "200", "1200", "80", "90", "0"}}, nullptr,
       "表左线曲线表第1行\"一线交点号\"列的\"nan\"不是有限的数, 该表不能读入!"},
      // A radius or a transition no line can have: the alignment would hold numbers that are not finite.
      {"a radius of 1e308", "曲线表", nullptr,
       {{"JD0", "100", "200", "0", "0"}, {"JD1", "300", "400", "0", "1e308", "60", "60"}}, nullptr,
       "表曲线表第2行\"曲线半径\"列的1e+308不在-1000000到1000000之间, 该表不能读入!"},
      {"a transition of a million metres", "曲线表", nullptr,
       {{"JD0", "100", "200", "0", "0"}, {"JD1", "300", "400", "0", "800", "1e6", "60"}}, nullptr,
       "表曲线表第2行\"前缓和曲线\"列的1000000不在0到100000之间, 该表不能读入!"},
      {"a negative transition", "曲线表", nullptr,
       {{"JD0", "100", "200", "0", "0"}, {"JD1", "300", "400", "0", "800", "60", "-5"}}, nullptr,
       "表曲线表第2行\"后缓和曲线\"列的-5不在0到100000之间, 该表不能读入!"},
      {"a side-line radius of 1e308", "左线曲线表", nullptr,
       {{"1", "2", "3", "5", "100", "200", "1e308", "80", "90", "0"}}, nullptr,
       "表左线曲线表第1行\"曲线半径\"列的1e+308不在-1000000到1000000之间, 该表不能读入!"},
      // Tables made anew without a column the reader needs.
      {"curve table without 坐标N", "曲线表", kCurveWithoutN, {{"1", "200", "0", "0", "0"}}, nullptr,
       "表曲线表缺少列\"坐标N\", 该表不能读入!"},
      {"grade table without 设计高程", "坡度表", kGradeWithoutElevation, {{"DK", "0", "3"}}, nullptr,
       "表坡度表缺少列\"设计高程\", 该表不能读入!"},
      {"fill/cut table without 地面高程", "填挖表", kFillCutWithoutGround, {{"DK", "100"}}, nullptr,
       "表填挖表缺少列\"地面高程\", 该表不能读入!"},
      {"bridge table cut short", "大中桥", kShortBridges, {{"桥", "DK"}}, nullptr,
       "表大中桥缺少列\"100年水位高程\"(第11列), 该表不能读入!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.create) {
      Sql(std::string("drop table ") + c.table);
      Sql(c.create);
    }
    if (c.insert) {
      // Through SQLite's own shell: the ADO layer refuses a text for a number.
      std::string out;
      ASSERT_EQ(fixtures::RunCommand("sqlite3 '" + path + "' \"" + c.insert + "\"", &out), 0) << out;
    } else {
      Fill(c.table, c.rows);
    }
    platform::TranscriptCapture shown;
    EXPECT_EQ(xl.ReadTable(path.c_str(), c.table), 0);
    EXPECT_TRUE(xl.readRefused);
    EXPECT_TRUE(shown.contains(c.message)) << shown.text();
    EXPECT_EQ(RowsOf(xl, c.table), 0);
    // The same table whole again reads; a table without rows is no refusal.
    Sql(std::string("delete from ") + c.table);
    EXPECT_EQ(xl.ReadTable(path.c_str(), c.table), 0);
    EXPECT_FALSE(xl.readRefused);
  }
}



// A double field reads as its 8-decimal text read back. Halves (odd multiples
// of 1/512 are exact halves of the eighth decimal) go to the even digit.
TEST(RoundedToEightDecimals, TheValueItsTextReadsAs) {
  const struct {
    double value;
    bool worked;
    double expected;
  } cases[] = {
      {0.0, true, 0.0},
      {25000.0, true, 25000.0},
      {1.5, true, 1.5},
      {123.456789012345, true, 123.45678901},
      {123.456789016, true, 123.45678902},
      {-7.999999996, true, -8.0},
      {0.001953125, true, 0.00195312},   // 1/512: 195312.5 units, to even
      {0.005859375, true, 0.00585938},   // 3/512: 585937.5 units, to even
      {-0.001953125, true, -0.00195312},
      {1e-9, true, 0.0},
      // The double nearest is 89999999.9999999851...: its text .99999999 reads back as itself.
      {89999999.99999999, true, 89999999.99999999},
      {9e7, false, 0.0},
      {-1e12, false, 0.0},
      {std::numeric_limits<double>::infinity(), false, 0.0},
      {std::numeric_limits<double>::quiet_NaN(), false, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.value);
    double rounded = 0.0;
    ASSERT_EQ(RoundedToEightDecimals(c.value, rounded), c.worked);
    if (c.worked) {
      EXPECT_EQ(rounded, c.expected);
    }
  }
  // A negative value that rounds to nothing keeps its sign, as "-0.00000000" reads.
  double rounded = 1.0;
  ASSERT_TRUE(RoundedToEightDecimals(-4e-9, rounded));
  EXPECT_EQ(rounded, 0.0);
  EXPECT_TRUE(std::signbit(rounded));
}

// Against the C library's text and its reading, over values of every size
// the tables hold.
TEST(RoundedToEightDecimals, AgreesWithTheCLibrarysText) {
  uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  for (int i = 0; i < 200000; ++i) {
    const double scale = std::pow(10.0, -10.0 + 17.9 * next());
    const double value = (next() < 0.5 ? -1 : 1) * scale * next();
    char text[64];
    std::snprintf(text, sizeof text, "%.8f", value);
    const double expected = std::strtod(text, nullptr);
    double rounded = 0.0;
    ASSERT_TRUE(RoundedToEightDecimals(value, rounded)) << value;
    ASSERT_EQ(std::memcmp(&rounded, &expected, sizeof rounded), 0)
        << std::setprecision(17) << value << " " << text << " " << rounded;
  }
}

}  // namespace
