// Jet SQL as the system sends it, and values typed by the declared column
// type, through the ADO objects.
#include <gtest/gtest.h>

#include "platform/ado_support.h"

namespace {

using ado_test::TestDb;
using Rows = std::vector<std::vector<std::string>>;
using Col = std::vector<std::string>;

// What a put of `value` into a column declared `type` stores, as Jet stores it.
struct PutCase {
  const char* type;
  _variant_t value;
  bool accepted;
  VARTYPE vt;        // of the value read back (VT_NULL when refused)
  _variant_t stored;  // expected value, compared by vt
};

bool sameValue(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_NULL: return true;
    case VT_I2: return a.iVal == b.iVal;
    case VT_I4: return a.lVal == b.lVal;
    case VT_UI1: return a.bVal == b.bVal;
    case VT_R4: return a.fltVal == b.fltVal;
    case VT_R8: return a.dblVal == b.dblVal;
    case VT_DATE: return a.date == b.date;
    case VT_BOOL: return a.boolVal == b.boolVal;
    case VT_CY: return a.cyVal.int64 == b.cyVal.int64;
    case VT_BSTR: return std::string(a.bstrVal ? a.bstrVal : "") == (b.bstrVal ? b.bstrVal : "");
    default: return false;
  }
}

_variant_t null() {
  _variant_t v;
  v.vt = VT_NULL;
  return v;
}

_variant_t currency(long long tenThousandths) {
  _variant_t v;
  v.vt = VT_CY;
  v.cyVal.int64 = tenThousandths;
  return v;
}

TEST(AdoSqlTest, PutsAreConvertedByTheDeclaredTypeAndReadBackTyped) {
  const std::string longText(3000, 'x');
  const PutCase cases[] = {
      {"INTEGER", _variant_t("12"), true, VT_I4, _variant_t(12)},
      {"integer", _variant_t(3.7), true, VT_I4, _variant_t(4)},
      {"long", _variant_t(" -8 "), true, VT_I4, _variant_t(-8)},
      {"INTEGER", _variant_t("1e10"), false, VT_NULL, null()},
      {"INTEGER", _variant_t(""), false, VT_NULL, null()},
      {"smallint", _variant_t("-5"), true, VT_I2, _variant_t(static_cast<short>(-5))},
      {"byte", _variant_t(200), true, VT_UI1, _variant_t(static_cast<unsigned char>(200))},
      {"byte", _variant_t(300), false, VT_NULL, null()},
      {"single", _variant_t("1.5"), true, VT_R4, _variant_t(1.5f)},
      {"DOUBLE PRECISION", _variant_t("1.50000000"), true, VT_R8, _variant_t(1.5)},
      {"DOUBLE PRECISION", _variant_t(2), true, VT_R8, _variant_t(2.0)},
      {"DOUBLE PRECISION", _variant_t("-0.25"), true, VT_R8, _variant_t(-0.25)},
      {"DOUBLE PRECISION", _variant_t("abc"), false, VT_NULL, null()},
      {"DOUBLE PRECISION", _variant_t(""), false, VT_NULL, null()},
      {"float", _variant_t(1.25), true, VT_R8, _variant_t(1.25)},
      {"DOUBLE PRECISION", _variant_t(-1234.56789012345), true, VT_R8, _variant_t(-1234.56789012345)},
      {"DOUBLE PRECISION", _variant_t(0.1), true, VT_R8, _variant_t(0.1)},
      {"VARCHAR", _variant_t(1.5), true, VT_BSTR, _variant_t("1.5")},
      {"VARCHAR", _variant_t(1.0), true, VT_BSTR, _variant_t("1")},
      {"varchar", _variant_t(3), true, VT_BSTR, _variant_t("3")},
      {"text(10)", _variant_t(longText), true, VT_BSTR, _variant_t(longText)},  // any length
      {"memo", _variant_t("左线绕行段"), true, VT_BSTR, _variant_t("左线绕行段")},
      {"yesno", _variant_t("True"), true, VT_BOOL, _variant_t(true)},
      {"bit", _variant_t(0), true, VT_BOOL, _variant_t(false)},
      {"currency", _variant_t(1.23456), true, VT_CY, currency(12346)},
      {"datetime", _variant_t("2024-02-29 12:00:00"), true, VT_DATE, _variant_t(45351.5, VT_DATE)},
      {"VARCHAR", null(), true, VT_NULL, null()},
  };
  TestDb db;
  int n = 0;
  for (const PutCase& c : cases) {
    std::string table = std::to_string(n++);
    table.insert(0, 1, 't');
    SCOPED_TRACE(table + " " + c.type);
    std::string create = "create table ";
    create.append(table).append(" (ID counter, v ").append(c.type).append(", other VARCHAR)");
    ASSERT_EQ(db.exec(create), S_OK);
    _RecordsetPtr rs = db.open("select * from " + table);
    ASSERT_TRUE(rs);
    ASSERT_EQ(ado_test::addNew(rs), S_OK);
    EXPECT_EQ(SUCCEEDED(ado_test::put(rs, 1, c.value)), c.accepted);
    ASSERT_EQ(ado_test::put(rs, 2, _variant_t("kept")), S_OK);  // the row keeps its other fields
    ASSERT_EQ(ado_test::update(rs), S_OK);
    rs->Close();

    rs = db.open("select * from " + table);
    ASSERT_TRUE(rs);
    ASSERT_FALSE(ado_test::eof(rs));
    _variant_t v = ado_test::cell(rs, 1);
    EXPECT_EQ(v.vt, c.vt);
    EXPECT_TRUE(sameValue(v, c.stored));
    EXPECT_STREQ(ado_test::cell(rs, "other").bstrVal, "kept");
    EXPECT_EQ(ado_test::cell(rs, 0L).lVal, 1);
  }
}

TEST(AdoSqlTest, BracketedNamesAndNamesBeginningWithDigits) {
  TestDb db;
  ASSERT_EQ(db.exec("create table 大中桥 (ID INTEGER identity,桥梁名称 VARCHAR,100年水位高程 DOUBLE PRECISION,"
                    "[孔 跨] VARCHAR,2号 INTEGER)"),
            S_OK);
  ASSERT_EQ(db.exec("insert into 大中桥 (桥梁名称, 100年水位高程, [孔 跨], 2号) values ('一号桥', 123.5, '3-32m', 7)"), S_OK);
  _RecordsetPtr rs = db.open("select [100年水位高程], 2号, [孔 跨] from [大中桥] where 100年水位高程>100");
  ASSERT_TRUE(rs);
  ASSERT_FALSE(ado_test::eof(rs));
  EXPECT_DOUBLE_EQ(ado_test::cell(rs, "100年水位高程").dblVal, 123.5);
  EXPECT_EQ(ado_test::cell(rs, "2号").lVal, 7);
  EXPECT_STREQ(ado_test::cell(rs, 2L).bstrVal, "3-32m");
  FieldPtr f;
  FieldsPtr fields;
  rs->get_Fields(&fields);
  fields->get_Item(_variant_t(0L), &f);
  _bstr_t name;
  f->get_Name(name.GetAddress());
  EXPECT_STREQ(static_cast<const char*>(name), "100年水位高程");
}

// The queries of the system over one table of fill/cut-like rows.
TEST(AdoSqlTest, QueriesAsTheSystemSendsThem) {
  TestDb db;
  ASSERT_EQ(db.exec("create table 岩层 (ID INTEGER IDENTITY,线路性质 INTEGER,绕行段编号 INTEGER,层号 INTEGER,"
                    "左或右 VARCHAR,编号 DOUBLE PRECISION,附注 VARCHAR)"),
            S_OK);
  const char* rows[] = {
      "-1, 0, 0, '左', 0, 'a'", "-1, 0, 0, '右', 0, 'b'", "-1, 1, 0, '左', 1, 'c'",
      "0, -1, 1, '左', 1, 'O''Brien'", "1, 0, 0, 'ABC', 2.5, NULL",
  };
  for (const char* r : rows)
    ASSERT_EQ(db.exec(std::string("insert into 岩层 (线路性质,绕行段编号,层号,左或右,编号,附注) values (") + r + ")"), S_OK);

  struct Query {
    const char* sql;
    Col firstColumn;  // the first column of every row, in order, as text
  };
  const Query queries[] = {
      {"select * from 岩层", {"1", "2", "3", "4", "5"}},
      {"SELECT * FROM 岩层 ORDER BY ID DESC", {"5", "4", "3", "2", "1"}},
      {"select * from 岩层 where 线路性质=-1 and 绕行段编号=0", {"1", "2"}},
      {"select * from 岩层 where 线路性质=-1 and 绕行段编号=0 and 层号=0 and 左或右='左' order by ID", {"1"}},
      {"select * from 岩层 where 绕行段编号=1 order by ID", {"3"}},
      {"select * from 岩层 where 附注='O''Brien'", {"4"}},
      {"select * from 岩层 where 左或右='abc'", {"5"}},  // text compares without ASCII case
      {"select * from 岩层 where 编号>=1 and 编号<2.5 Order By ID", {"3", "4"}},
      {"select * from 岩层 where 附注 is null", {"5"}},
      {"select * from 岩层 where not (层号=0) or 编号=2.5", {"4", "5"}},
      {"select distinct 编号 from 岩层", {"0", "1", "2.5"}},
      {"select 编号,附注 from 岩层 where 编号=1", {"1", "1"}},
      {"select count(*) from 岩层 where 线路性质=-1", {"3"}},
      {"select top 2 * from 岩层 order by ID", {"1", "2"}},
      {"select * from 岩层 where 左或右 like '左*'", {"1", "3", "4"}},
      {"select * from 岩层 where 线路性质 in (0, 1)", {"4", "5"}},
      {"select * from 岩层 where 编号 between 1 and 2;", {"3", "4"}},
  };
  for (const Query& q : queries) {
    SCOPED_TRACE(q.sql);
    std::string error;
    Rows got = db.committed(q.sql);
    EXPECT_EQ(ado_test::column(got, 0), q.firstColumn);
  }

  _RecordsetPtr distinct = db.open("select distinct 编号 from 岩层");
  ASSERT_TRUE(distinct);
  EXPECT_EQ(ado_test::cell(distinct, 0L).vt, VT_R8);  // keeps the column's type
  EXPECT_EQ(ado_test::put(distinct, 0, _variant_t(1.0)), adErrFeatureNotAvailable);  // not updatable
}

TEST(AdoSqlTest, DeleteDropAndTheirFailures) {
  TestDb db;
  ASSERT_EQ(db.exec("create table T (ID counter, 绕行段编号 INTEGER, v VARCHAR)"), S_OK);
  for (int i = 0; i < 6; ++i)
    ASSERT_EQ(db.exec("insert into T (绕行段编号, v) values (" + std::to_string(i % 3) + ", 'r')"), S_OK);
  LONG affected = 0;
  EXPECT_EQ(db.exec("delete from T where 绕行段编号=1", &affected), S_OK);
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(db.exec(" delete from T where 绕行段编号=2", &affected), S_OK);  // a leading blank
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(db.exec("delete * from T", &affected), S_OK);
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(db.exec("drop table T"), S_OK);

  struct Failure {
    const char* sql;
    HRESULT hr;
    const char* mentions;
  };
  const Failure failures[] = {
      {"select * from T", DB_E_NOTABLE, "'T'"},
      {"delete from Nowhere", DB_E_NOTABLE, "Nowhere"},
      {"create table 坡度表 (ID counter, 坡度 DOUBLE PRECISION)", S_OK, ""},
      {"create table 坡度表 (ID counter)", DB_E_ERRORSINCOMMAND, "Table '坡度表' already exists."},
      {"create table X (a DOUBLE PRECISE)", DB_E_ERRORSINCOMMAND, "field definition"},
      {"create table X (ID counter, ID2 counter)", DB_E_ERRORSINCOMMAND, "AutoNumber"},
      {"select * from 坡度表 where 坡度 = ", DB_E_ERRORSINCOMMAND, "query expression"},
      {"select * from 坡度表 where 坡度x = 1", DB_E_PARAMNOTOPTIONAL, "坡度x"},
      {"selekt * from 坡度表", DB_E_ERRORSINCOMMAND, "Invalid SQL statement"},
      {"select * from 坡度表 where 附注='open", DB_E_ERRORSINCOMMAND, "string"},
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.sql);
    HRESULT hr = db.exec(f.sql);
    EXPECT_EQ(hr, f.hr);
    if (FAILED(hr)) {
      EXPECT_NE(ado_test::errorText(hr).find(f.mentions), std::string::npos) << ado_test::errorText(hr);
      // The connection's Errors tell the same.
      ErrorsPtr errors;
      db.conn->get_Errors(&errors);
      LONG count = 0;
      errors->get_Count(&count);
      ASSERT_EQ(count, 1);
      ErrorPtr e;
      errors->get_Item(_variant_t(0L), &e);
      _bstr_t description, state, source;
      e->get_Description(description.GetAddress());
      e->get_SQLState(state.GetAddress());
      e->get_Source(source.GetAddress());
      EXPECT_EQ(std::string(description), ado_test::errorText(hr));
      EXPECT_EQ(state.length(), 5u);
      EXPECT_GT(source.length(), 0u);
    }
  }
}

TEST(AdoSqlTest, RowsKeepInsertionOrderAndTheCounterCountsOnFromTheLargest) {
  TestDb db;
  ASSERT_EQ(db.exec("create table Q (序号 INTEGER IDENTITY, v DOUBLE PRECISION)"), S_OK);
  _RecordsetPtr rs = db.open("select * from Q");
  for (double v : {3.0, 1.0, 2.0}) {
    ASSERT_EQ(ado_test::addNew(rs), S_OK);
    EXPECT_EQ(ado_test::put(rs, 0, _variant_t("99")), S_OK);  // a put to the counter is ignored
    ASSERT_EQ(ado_test::put(rs, 1, _variant_t(v)), S_OK);
  }
  ASSERT_EQ(ado_test::update(rs), S_OK);
  EXPECT_EQ(ado_test::cell(rs, 0L).lVal, 3);  // the saved row knows its number
  rs->Close();
  EXPECT_EQ(db.committed("select * from Q"), (Rows{{"1", "3"}, {"2", "1"}, {"3", "2"}}));

  ASSERT_EQ(db.exec("delete from Q where 序号=2"), S_OK);
  ASSERT_EQ(db.exec("insert into Q (v) values (4)"), S_OK);
  EXPECT_EQ(ado_test::column(db.committed("select * from Q"), 0), (Col{"1", "3", "4"}));

  // An emptied table numbers its next row 1, as the quantity table's rebuild expects.
  ASSERT_EQ(db.exec("delete from Q"), S_OK);
  rs = db.open("select * from Q");
  ASSERT_EQ(ado_test::addNew(rs), S_OK);
  ASSERT_EQ(ado_test::put(rs, 1, _variant_t(5.0)), S_OK);
  ASSERT_EQ(ado_test::update(rs), S_OK);
  rs->Close();
  EXPECT_EQ(db.committed("select * from Q"), (Rows{{"1", "5"}}));
}

}  // namespace
