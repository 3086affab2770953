// The database wrapper as the cross-section module builds it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ado/AdoWrapper.h"
#include "fixtures/scheme_db.h"
#include "mfc/collections.h"
#include "win/transcript.h"

namespace {

const char* const kDisconnected = "[提示] 数据库可能已经断开,";

struct WrapperTest : ::testing::Test {
  std::string dir = fixtures::MakeTempFolder("wrapper");
  std::string path = dir + "/方案1.mdb";
  CAdoConnection conn;

  void SetUp() override {
    std::filesystem::copy_file(fixtures::TemplateDatabasePath(), path);
    ASSERT_TRUE(conn.Open(fixtures::ConnectionString(path).c_str(), -1));
    conn.Execute("create table 值 (ID INTEGER identity,名称 VARCHAR,双 DOUBLE PRECISION,单 single,是否 yesno,"
                 "字节 byte,整 INTEGER)");
  }
  void TearDown() override {
    conn.Close();
    fixtures::RemoveFolder(dir);
  }
  // One row of 值 through the writers' pattern: AddNew, puts by position, Update.
  void addRow(const _variant_t& name, const _variant_t& d, const _variant_t& s, const _variant_t& b,
              const _variant_t& byte, const _variant_t& i) {
    CAdoRecordSet rs(&conn);
    ASSERT_GE(rs.Open("select * from 值"), 0);
    ASSERT_TRUE(rs.AddNew());
    rs.PutCollectByIndex(0, _variant_t("77"));  // offered to ID, which numbers itself
    rs.PutCollectByIndex(1, name);
    rs.PutCollectByIndex(2, d);
    rs.PutCollectByIndex(3, s);
    rs.PutCollectByIndex(4, b);
    rs.PutCollectByIndex(5, byte);
    rs.PutCollectByIndex(6, i);
    ASSERT_TRUE(rs.Update());
    ASSERT_TRUE(rs.Close());
  }
};

TEST_F(WrapperTest, OpenReportsRowsEmptyOrFailure) {
  CAdoRecordSet unbound;
  EXPECT_EQ(unbound.Open("select * from 值"), -1);  // no connection: nothing created
  EXPECT_FALSE(unbound.m_pRecordset);

  CAdoRecordSet rs(&conn);
  EXPECT_EQ(rs.Open("select * from 值"), 0);  // an empty result is 0, not -1
  EXPECT_TRUE(rs.Close());
  addRow("a", 1.5, 1.5, true, 7, 3);
  EXPECT_EQ(rs.Open("select * from 值"), 1);
  EXPECT_TRUE(rs.Close());
  EXPECT_EQ(rs.Open("select * from 没有的表"), -1);
  EXPECT_EQ(rs.Open("select * from 值 where"), -1);

  CAdoConnection closed;
  CAdoRecordSet onClosed(&closed);
  EXPECT_EQ(onClosed.Open("select * from 值"), -1);
}

TEST_F(WrapperTest, CloseOfWhatIsNotOpen) {
  CAdoConnection never;
  EXPECT_FALSE(never.Close());  // never opened
  EXPECT_FALSE(never.IsOpen());
  CAdoConnection other;
  ASSERT_TRUE(other.Open(fixtures::ConnectionString(path).c_str(), -1));
  EXPECT_TRUE(other.IsOpen());
  EXPECT_TRUE(other.Close());
  EXPECT_FALSE(other.Close());  // already closed

  CAdoRecordSet rs(&conn);
  EXPECT_TRUE(rs.Close());  // no recordset object yet
  rs.Open("select * from 值");
  EXPECT_TRUE(rs.Close());
  EXPECT_TRUE(rs.Close());  // already closed
}

TEST_F(WrapperTest, ReadingFieldsAtTheEdges) {
  addRow("左线", 1.5, 1.5, true, 7, 3);
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 1);
  ASSERT_EQ(rs.GetFieldCount(), 7);
  struct Case {
    const char* what;
    long index;
    BOOL ok;
    const char* text;
  };
  const Case cases[] = {
      {"ID numbered by the table", 0, TRUE, "1"},
      {"text", 1, TRUE, "左线"},
      {"double 1.5", 2, TRUE, "1.50000000"},
      {"float 1.5", 3, TRUE, "1.5000"},
      {"boolean", 4, TRUE, "TRUE"},
      {"1-byte integer", 5, TRUE, "UN_KNOW"},
      {"integer", 6, TRUE, "3"},
      {"index equal to the field count", 7, FALSE, "unchanged"},
      {"negative index", -1, FALSE, "unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::TranscriptCapture shown;
    CString text("unchanged");
    EXPECT_EQ(rs.GetValueText(text, c.index), c.ok);
    EXPECT_EQ(text, c.text);
    EXPECT_FALSE(shown.contains(kDisconnected));  // no message
  }
  CString text;
  EXPECT_TRUE(rs.GetValueTextByName(text, "双"));
  EXPECT_EQ(text, "1.50000000");
  EXPECT_FALSE(rs.GetValueTextByName(text, "没有的列"));
  EXPECT_EQ(rs.GetFieldName(1), "名称");
  EXPECT_EQ(rs.GetFieldName(9), "");
  EXPECT_EQ(rs.GetFieldType(2), adDouble);
  EXPECT_EQ(rs.GetFieldDefinedSize(1), 255);
  EXPECT_EQ(rs.GetFieldActualSize(1), 6);
  EXPECT_EQ(rs.GetFieldAttributes(9), -1);
  _variant_t raw;
  EXPECT_TRUE(rs.GetValueVariant(raw, 2));
  EXPECT_EQ(raw.vt, VT_R8);

  // Past the last row: FALSE, no message.
  rs.MoveNext();
  ASSERT_TRUE(rs.IsEOF());
  platform::TranscriptCapture shown;
  EXPECT_FALSE(rs.GetValueText(text, 1));
  EXPECT_FALSE(shown.contains(kDisconnected));

  // On a closed recordset the disconnection message appears even for a valid index.
  rs.Close();
  EXPECT_FALSE(rs.GetValueText(text, 1));
  EXPECT_TRUE(shown.contains(kDisconnected));
  shown.clear();
  EXPECT_FALSE(rs.GetValueTextByName(text, "名称"));
  EXPECT_TRUE(shown.contains(kDisconnected));
}

TEST_F(WrapperTest, NullAndRefusedPutsReadAsNull) {
  // A text that is no number is refused by the numeric columns; the row keeps the rest.
  addRow("b", "abc", "", "x", 300, "4.5");
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 1);
  const char* expected[] = {"1", "b", "NULL", "NULL", "NULL", "NULL", "4"};
  for (long i = 0; i < 7; ++i) {
    CString text;
    EXPECT_TRUE(rs.GetValueText(text, i));
    EXPECT_EQ(text, expected[i]) << i;
  }
}

TEST(AdoVariantToTextTest, EachTypeCodeHasItsText) {
  auto make = [](VARTYPE vt, auto set) {
    _variant_t v;
    v.vt = vt;
    set(v);
    return v;
  };
  struct Case {
    const char* what;
    _variant_t value;
    const char* text;
  };
  const Case cases[] = {
      {"empty", _variant_t(), ""},
      {"null", make(VT_NULL, [](VARIANT&) {}), "NULL"},
      {"boolean true", _variant_t(true), "TRUE"},
      {"boolean false", _variant_t(false), "FALSE"},
      {"1-byte integer", _variant_t(static_cast<unsigned char>(7)), "UN_KNOW"},
      {"signed 1-byte integer", make(VT_I1, [](VARIANT& v) { v.cVal = 7; }), "UN_KNOW"},
      {"2-byte integer", _variant_t(static_cast<short>(-7)), "-7"},
      {"4-byte integer", _variant_t(123456), "123456"},
      {"8-byte integer: its low 4 bytes", make(VT_I8, [](VARIANT& v) { v.llVal = 0x100000005LL; }), "5"},
      {"unsigned 4-byte", make(VT_UI4, [](VARIANT& v) { v.ulVal = 4294967295u; }), "-1"},
      {"double 1.5", _variant_t(1.5), "1.50000000"},
      {"double -0.125", _variant_t(-0.125), "-0.12500000"},
      {"float 1.5", _variant_t(1.5f), "1.5000"},
      {"double halfway between two texts", _variant_t(0.001953125), "0.00195312"},  // 2^-9: to the even digit
      {"float halfway between two texts", _variant_t(0.03125f), "0.0312"},
      {"large double", _variant_t(1e20), "100000000000000000000.00000000"},
      {"decimal", make(VT_DECIMAL, [](VARIANT& v) { VarDecFromR8(2.25, &v.decVal); }), "2.2500"},
      {"date", _variant_t(45351.5, VT_DATE), "2024-02-29 12:00:00"},
      {"date out of range", _variant_t(1e7, VT_DATE), "Invalid DateTime"},
      {"text", _variant_t("右线绕行段"), "右线绕行段"},
      {"currency", make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 15000; }), "UN_KNOW"},
      {"error", make(VT_ERROR, [](VARIANT& v) { v.scode = 0; }), "UN_KNOW"},
      {"by reference", make(VT_I4 | VT_BYREF, [](VARIANT& v) { v.byref = nullptr; }), "UN_KNOW"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AdoVariantToText(c.value), c.text);
  }
}

TEST_F(WrapperTest, RecordCountsWalkToTheEnd) {
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 0);
  EXPECT_EQ(rs.GetRecordCount(), 0);
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_EQ(rs.CountRecords(), 0);
  rs.Close();
  for (int i = 0; i < 3; ++i) addRow("r", i, i, false, i, i);
  ASSERT_EQ(rs.Open("select * from 值"), 1);
  EXPECT_EQ(rs.GetRecordCount(), 3);
  EXPECT_TRUE(rs.IsEOF());  // callers move first again
  EXPECT_TRUE(rs.MoveFirst());
  EXPECT_EQ(rs.CountRecords(), 3);
  EXPECT_TRUE(rs.Move(2, TRUE));
  CString text;
  rs.GetValueText(text, 0);
  EXPECT_EQ(text, "3");
}

TEST_F(WrapperTest, EndOfRowsIsTrueWheneverThereIsNoRowToRead) {
  // Every "until EOF" loop must end: without a recordset object, on a closed
  // recordset and after a failure.
  CAdoRecordSet none(&conn);
  EXPECT_TRUE(none.IsEOF());
  EXPECT_TRUE(none.IsBOF());
  int steps = 0;
  while (!none.IsEOF() && steps < 10) {
    none.MoveNext();
    ++steps;
  }
  EXPECT_EQ(steps, 0);
  EXPECT_EQ(none.GetRecordCount(), 0);
  EXPECT_EQ(none.CountRecords(), 0);
  EXPECT_EQ(none.GetFieldCount(), -1);
  EXPECT_EQ(none.GetState(), 0);
  EXPECT_FALSE(none.MoveFirst());
  EXPECT_FALSE(none.AddNew());

  addRow("a", 1, 1, true, 1, 1);
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 1);
  EXPECT_FALSE(rs.IsEOF());
  EXPECT_EQ(rs.GetState(), adStateOpen);
  rs.Close();
  EXPECT_TRUE(rs.IsEOF());
  EXPECT_EQ(rs.Open("select * from nowhere"), -1);  // a failed open leaves it closed
  EXPECT_TRUE(rs.IsEOF());
}

TEST_F(WrapperTest, ExecuteIsSilentInThisBuild) {
  platform::TranscriptCapture shown;
  EXPECT_EQ(conn.Execute("create table 值 (ID counter)"), 0);  // exists already
  EXPECT_EQ(conn.Execute("this is no statement"), 0);
  EXPECT_EQ(shown.text(), "");
  EXPECT_NE(conn.GetErrorsText().Find("Description: "), -1);
  EXPECT_NE(conn.GetErrorsText().Find("State: 42000, Native: 0, Source: "), -1);
  EXPECT_FALSE(conn.ExecuteWhenOpen("drop table nowhere"));
  EXPECT_TRUE(conn.ExecuteWhenOpen("drop table 值"));
  CAdoConnection closed;
  EXPECT_FALSE(closed.ExecuteWhenOpen("drop table 值"));
  EXPECT_EQ(closed.Execute("drop table 值"), 0);
}

TEST_F(WrapperTest, PutCollectByIndexResultCarriesNoMeaningHere) {
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 0);
  ASSERT_TRUE(rs.AddNew());
  EXPECT_EQ(rs.PutCollectByIndex(1, _variant_t("")), 0);  // an empty text is written here
  EXPECT_EQ(rs.PutCollectByIndex(2, _variant_t(2.5)), 0);
  ASSERT_TRUE(rs.Update());
  CString text;
  rs.GetValueText(text, 1);
  EXPECT_EQ(text, "");
  CAdoRecordSet none;
  EXPECT_EQ(none.PutCollectByIndex(1, _variant_t("x")), 0);
}

TEST_F(WrapperTest, SchemaAndTransactionsThroughTheWrapper) {
  CAdoRecordSet cols(&conn);
  ASSERT_TRUE(cols.SetRecordset(conn.OpenSchema(adSchemaColumns)));
  CStringArray names;
  for (cols.MoveFirst(); !cols.IsEOF(); cols.MoveNext()) {
    CString table, column;
    ASSERT_TRUE(cols.GetValueTextByName(table, "TABLE_NAME"));
    ASSERT_TRUE(cols.GetValueTextByName(column, "COLUMN_NAME"));
    names.Add(table + "." + column);
  }
  ASSERT_EQ(names.GetSize(), 7);
  EXPECT_EQ(names[0], "值.ID");
  EXPECT_EQ(names[6], "值.整");
  CAdoConnection closed;
  EXPECT_FALSE(closed.OpenSchema(adSchemaColumns));

  addRow("old", 1, 1, true, 1, 1);
  EXPECT_EQ(conn.BeginTrans(), 1);
  conn.Execute("delete from 值");
  addRow("new", 2, 2, true, 2, 2);
  EXPECT_TRUE(conn.RollbackTrans());
  CAdoRecordSet rs(&conn);
  ASSERT_EQ(rs.Open("select * from 值"), 1);
  EXPECT_EQ(rs.GetRecordCount(), 1);
  rs.MoveFirst();
  CString text;
  rs.GetValueText(text, 1);
  EXPECT_EQ(text, "old");
  EXPECT_FALSE(conn.CommitTrans());
  EXPECT_TRUE(conn.SetConnectionTimeout(5));
  EXPECT_EQ(closed.BeginTrans(), -1);
}

}  // namespace
