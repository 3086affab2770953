// Opening scheme databases, their failures, the schema rowsets, and the safety
// of what recordsets write.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "fixtures/run_command.h"
#include "platform/ado_support.h"
#include "crt/paths.h"
#include "win/transcript.h"

namespace {

using ado_test::TestDb;
using Rows = std::vector<std::vector<std::string>>;
using Col = std::vector<std::string>;

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

HRESULT openPath(_ConnectionPtr& conn, const std::string& path) {
  conn.CreateInstance("ADODB.Connection");
  return conn->Open(_bstr_t(fixtures::ConnectionString(path)), _bstr_t(""), _bstr_t(""), -1);
}

// The first column of what `sql` answers, as text; {"fails"} when it fails.
Col rowsOf(_ConnectionPtr& conn, const char* sql) {
  _RecordsetPtr rows;
  _variant_t affected;
  Col values;
  if (FAILED(conn->Execute(_bstr_t(sql), &affected, adCmdText, &rows))) return Col{"fails"};
  for (; !ado_test::eof(rows); rows->MoveNext()) values.push_back(ado_test::cell(rows, 0L).bstrVal);
  return values;
}

TEST(AdoConnectionTest, FilesThatAreNoSchemeDatabaseFailClearlyAndStayUntouched) {
  std::string dir = fixtures::MakeTempFolder("ado-open");
  std::string jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  struct Case {
    const char* file;
    std::string content;  // written first unless `create` is false
    bool create;
    const char* mentions;
  };
  const Case cases[] = {
      {"文本.mdb", "ID,名称\r\n1,一号桥\r\n", true, "not an SQLite database"},
      {"Access.mdb", jet, true, "Microsoft Access (Jet) database"},
      {"空.mdb", "", true, "empty"},
      {"缺少.mdb", "", false, "Could not find file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = dir + "/" + c.file;
    if (c.create) std::ofstream(path, std::ios::binary) << c.content;
    platform::TranscriptCapture shown;
    _ConnectionPtr conn;
    HRESULT hr = openPath(conn, path);
    EXPECT_TRUE(FAILED(hr));
    std::string text = ado_test::errorText(hr);
    EXPECT_NE(text.find(c.mentions), std::string::npos) << text;
    EXPECT_NE(text.find(path), std::string::npos) << text;  // names the file
    EXPECT_TRUE(shown.contains(path));                     // and the user sees it
    LONG state = -1;
    conn->get_State(&state);
    EXPECT_EQ(state, adStateClosed);
    if (c.create) EXPECT_EQ(fileBytes(path), c.content);  // untouched
    else EXPECT_FALSE(std::filesystem::exists(path));      // nothing created
  }
  // Neither a folder nor a connection string without a file opens.
  _ConnectionPtr conn;
  EXPECT_TRUE(FAILED(openPath(conn, dir)));
  conn.CreateInstance("ADODB.Connection");
  EXPECT_TRUE(FAILED(conn->Open(_bstr_t("Provider=Microsoft.Jet.OLEDB.4.0"), _bstr_t(""), _bstr_t(""), -1)));
  EXPECT_EQ(conn->Open(_bstr_t("Provider=SQLOLEDB;Data Source=x"), _bstr_t(""), _bstr_t(""), -1), adErrProviderNotFound);
  fixtures::RemoveFolder(dir);
}

// A database whose schema reads but whose tables are damaged fails its
// integrity check when it is opened: it is refused as damaged, naming the file,
// instead of showing its tables as missing; the file stays as it was.
TEST(AdoConnectionTest, DamagedDatabasesAreRefusedAsDamaged) {
  std::string dir = fixtures::MakeTempFolder("ado-damaged");
  struct Case {
    const char* file;
    size_t offset;  // bytes from here on are damaged
    std::string bytes;
  };
  const Case cases[] = {
      {"页面损坏.mdb", 4096 * 5 + 8, std::string(64, '\xFF')},  // inside a page of the table's tree
      {"页头损坏.mdb", 4096 * 7, std::string(12, '\x0D')},       // a page's header
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = dir + "/" + c.file;
    // A table of some 40 pages, made by SQLite's own shell.
    std::string out;
    ASSERT_EQ(fixtures::RunCommand("sqlite3 '" + path +
                                       "' 'create table 表(值 text); with recursive n(i) as (select 1 union all "
                                       "select i+1 from n where i<1500) insert into 表 select printf(\"%0100d\", i) from n;'",
                                   &out),
              0)
        << out;
    std::string good = fileBytes(path);
    ASSERT_GT(good.size(), c.offset + c.bytes.size());
    std::string damaged = good;
    damaged.replace(c.offset, c.bytes.size(), c.bytes);
    std::string error;
    ASSERT_TRUE(fixtures::OverwriteFileBytes(path, c.offset, c.bytes, &error)) << error;
    ASSERT_EQ(fileBytes(path), damaged);
    platform::TranscriptCapture shown;
    _ConnectionPtr conn;
    HRESULT hr = openPath(conn, path);
    EXPECT_TRUE(FAILED(hr));
    std::string text = ado_test::errorText(hr);
    EXPECT_NE(text.find("The database '" + path + "' is damaged: its integrity check reports"), std::string::npos)
        << text;
    EXPECT_TRUE(shown.contains("is damaged")) << shown.text();
    EXPECT_EQ(fileBytes(path), damaged);
    // Mended, it opens again: the check is made afresh for a changed file.
    std::ofstream(path, std::ios::binary) << good;
    _ConnectionPtr again;
    EXPECT_TRUE(SUCCEEDED(openPath(again, path))) << ado_test::errorText(openPath(again, path));
    again->Close();
  }
  fixtures::RemoveFolder(dir);
}

// A file the process itself wrote last, through a connection that had found
// it sound, is not checked again when it is opened; a file another program
// changed after that commit is checked afresh, and a damaged one refused. The
// other program's changes all change the file's size (rows enough for new
// pages, or a page added), so they show whatever the clock's grain.
TEST(AdoConnectionTest, OnlyAFileChangedByOthersSinceOurCommitIsCheckedAgain) {
  const std::string grow =
      "sqlite3 '{}' \"with recursive n(i) as (select 1 union all select i+1 from n where i<300) "
      "insert into 表 select printf('%0100d', i) from n;\"";
  // 64 bytes inside a page of 表's tree overwritten in place, and a page of
  // zeros added after the end (which SQLite passes over).
  const std::string damage =
      "head -c 64 /dev/zero | tr '\\000' '\\377' | dd of='{}' bs=1 seek=20488 conv=notrunc status=none && "
      "head -c 4096 /dev/zero >> '{}'";
  struct Case {
    const char* what;
    std::string whileOpen;   // run after our commit, our connection still open
    std::string afterClose;  // run after our connection closed
    long checks;             // integrity checks made by the next open
    bool damaged;            // the next open refuses the file as damaged
  };
  const Case cases[] = {
      {"only our commit", "", "", 0, false},
      {"rows added by SQLite's shell after our close", "", grow, 1, false},
      {"rows added by SQLite's shell after our commit, ours still open", grow, "", 1, false},
      {"a page damaged after our close", "", damage, 1, true},
      {"a page damaged after our commit, ours still open", damage, "", 1, true},
  };
  auto withPath = [](std::string command, const std::string& path) {
    for (size_t at = command.find("{}"); at != std::string::npos; at = command.find("{}", at + path.size()))
      command.replace(at, 2, path);
    return command;
  };
  std::string dir = fixtures::MakeTempFolder("ado-own-commits");
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir + "/方案" + std::to_string(++n) + ".mdb";
    std::string out;
    // A small table of ours first, then one of some 40 pages ending the file.
    ASSERT_EQ(fixtures::RunCommand("sqlite3 '" + path +
                                       "' \"create table U(v text); create table 表(值 text); with recursive n(i) as "
                                       "(select 1 union all select i+1 from n where i<1500) insert into 表 select "
                                       "printf('%0100d', i) from n;\"",
                                   &out),
              0)
        << out;
    _ConnectionPtr ours;
    ASSERT_EQ(openPath(ours, path), S_OK);
    EXPECT_EQ(rowsOf(ours, "select v from U"), Col{});
    _variant_t affected;
    _RecordsetPtr none;
    ASSERT_EQ(ours->Execute(_bstr_t("insert into U (v) values ('ours')"), &affected, adCmdText, &none), S_OK);
    if (!c.whileOpen.empty()) {
      ASSERT_EQ(fixtures::RunCommand(withPath(c.whileOpen, path), &out), 0) << out;
    }
    ours->Close();
    if (!c.afterClose.empty()) {
      ASSERT_EQ(fixtures::RunCommand(withPath(c.afterClose, path), &out), 0) << out;
    }

    const long before = platform::ado::integrityChecksMade();
    platform::TranscriptCapture shown;
    _ConnectionPtr next;
    HRESULT hr = openPath(next, path);
    EXPECT_EQ(platform::ado::integrityChecksMade() - before, c.checks);
    if (c.damaged) {
      EXPECT_TRUE(FAILED(hr));
      EXPECT_NE(ado_test::errorText(hr).find("is damaged: its integrity check reports"), std::string::npos)
          << ado_test::errorText(hr);
      EXPECT_TRUE(shown.contains("is damaged")) << shown.text();
    } else {
      ASSERT_EQ(hr, S_OK) << ado_test::errorText(hr);
      EXPECT_EQ(rowsOf(next, "select v from U"), Col{"ours"});
      next->Close();
      // Opened again as it is, it is not checked again.
      const long again = platform::ado::integrityChecksMade();
      ASSERT_EQ(openPath(next, path), S_OK);
      EXPECT_EQ(platform::ado::integrityChecksMade(), again);
      next->Close();
    }
  }
  fixtures::RemoveFolder(dir);
}

// A connection opened again on a file it closed sees the file as it is now,
// whoever changed it: another program writing through SQLite, or a file put in
// its place.
TEST(AdoConnectionTest, AReopenedDatabaseShowsWhatOthersChanged) {
  TestDb db;
  ASSERT_EQ(db.exec("create table T (v VARCHAR)"), S_OK);
  ASSERT_EQ(db.exec("insert into T (v) values ('ours')"), S_OK);
  db.conn->Close();
  struct Step {
    const char* what;
    std::string command;  // run by the shell between a close and the next open
    const char* query;
    Col expected;
  };
  const std::string other = db.dir + "/other.mdb";
  const Step steps[] = {
      {"a row and a table added by SQLite's shell",
       "sqlite3 '" + db.path + "' \"insert into T values ('theirs'); create table U (w text); insert into U values ('u');\"",
       "select w from U", {"u"}},
      {"the same file again, unchanged", "true", "select v from T", {"ours", "theirs"}},
      {"another database renamed into its place",
       "sqlite3 '" + other + "' \"create table T (v text); insert into T values ('replaced');\" && mv '" + other +
           "' '" + db.path + "'",
       "select v from T", {"replaced"}},
      {"the table dropped by SQLite's shell", "sqlite3 '" + db.path + "' 'drop table T'", "select v from T", {"fails"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    std::string out;
    ASSERT_EQ(fixtures::RunCommand(step.command, &out), 0) << out;
    _ConnectionPtr conn;
    ASSERT_EQ(openPath(conn, db.path), S_OK);
    EXPECT_EQ(rowsOf(conn, step.query), step.expected);
    conn->Close();
  }
}

// A file put in the path's place while a connection had it open: the
// connection's handle stays on the old file, and the next connection reads the
// new one. Each step runs between the open and the close of one connection.
TEST(AdoConnectionTest, AFileReplacedWhileOpenIsReadAfreshByTheNextConnection) {
  TestDb db;
  ASSERT_EQ(db.exec("create table T (v VARCHAR)"), S_OK);
  ASSERT_EQ(db.exec("insert into T (v) values ('old')"), S_OK);
  db.conn->Close();
  const std::string other = db.dir + "/other.mdb";
  struct Step {
    const char* what;
    std::string command;  // run by the shell while the connection is open
    Col expected;         // what the next connection reads from T
  };
  const Step steps[] = {
      {"nothing done: the same rows", "true", {"old"}},
      {"another database renamed into its place",
       "sqlite3 '" + other + "' \"create table T (v text); insert into T values ('new');\" && mv '" + other + "' '" +
           db.path + "'",
       {"new"}},
      {"and again, a third one", "sqlite3 '" + other + "' \"create table T (v text); insert into T values ('third');\" && mv '" +
                                     other + "' '" + db.path + "'",
       {"third"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    _ConnectionPtr conn;
    ASSERT_EQ(openPath(conn, db.path), S_OK);
    EXPECT_FALSE(rowsOf(conn, "select v from T").empty());
    std::string out;
    ASSERT_EQ(fixtures::RunCommand(step.command, &out), 0) << out;
    conn->Close();
    ASSERT_EQ(openPath(conn, db.path), S_OK);
    EXPECT_EQ(rowsOf(conn, "select v from T"), step.expected);
    conn->Close();
  }
}

TEST(AdoConnectionTest, TheDataSourceGoesThroughThePathResolver) {
  TestDb db;
  ASSERT_EQ(db.exec("create table T (ID counter)"), S_OK);
  db.conn->Close();
  // The Windows form the system builds, upper-cased as the system's paths often are.
  std::string windows = platform::toWindowsPath(db.path);
  for (char& c : windows)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  _ConnectionPtr conn;
  ASSERT_EQ(openPath(conn, windows), S_OK) << windows;
  _RecordsetPtr rows;
  _variant_t affected;
  EXPECT_EQ(conn->Execute(_bstr_t("select * from T"), &affected, adCmdText, &rows), S_OK);
  conn->Close();
  // A missing file on a drive is named as the caller wrote it.
  HRESULT hr = openPath(conn, "D:\\没有的项目\\DATA\\方案1.mdb");
  EXPECT_NE(ado_test::errorText(hr).find("'D:\\没有的项目\\DATA\\方案1.mdb'"), std::string::npos)
      << ado_test::errorText(hr);
}

TEST(AdoConnectionTest, ReadOnlyFolderReadsButRefusesWritesClearly) {
  TestDb db;
  ASSERT_EQ(db.exec("create table T (ID counter, v VARCHAR)"), S_OK);
  ASSERT_EQ(db.exec("insert into T (v) values ('old')"), S_OK);
  db.conn->Close();
  ASSERT_EQ(::chmod(db.dir.c_str(), 0555), 0);

  _ConnectionPtr conn;
  ASSERT_EQ(openPath(conn, db.path), S_OK);
  _variant_t affected;
  _RecordsetPtr rows;
  platform::TranscriptCapture shown;
  // Reading works.
  ASSERT_EQ(conn->Execute(_bstr_t("select * from T"), &affected, adCmdText, &rows), S_OK);
  EXPECT_STREQ(ado_test::cell(rows, 1L).bstrVal, "old");
  // Writing fails, with a message naming the file.
  HRESULT hr = conn->Execute(_bstr_t("delete from T"), &affected, adCmdText, &rows);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_NE(ado_test::errorText(hr).find("read-only"), std::string::npos);
  EXPECT_NE(ado_test::errorText(hr).find(db.path), std::string::npos);
  EXPECT_TRUE(shown.contains(db.path));
  // So does a recordset's write, and Update reports it.
  _RecordsetPtr rs;
  rs.CreateInstance("ADODB.Recordset");
  ASSERT_EQ(rs->Open(_variant_t("select * from T"), _variant_t(static_cast<IDispatch*>(conn)), adOpenDynamic,
                     adLockOptimistic, adCmdText),
            S_OK);
  ASSERT_EQ(ado_test::addNew(rs), S_OK);
  ASSERT_EQ(ado_test::put(rs, 1, _variant_t("new")), S_OK);
  EXPECT_TRUE(FAILED(ado_test::update(rs)));
  rs->Close();
  conn->Close();
  ::chmod(db.dir.c_str(), 0755);
  EXPECT_EQ(db.committed("select v from T"), (Rows{{"old"}}));
}

TEST(AdoConnectionTest, SchemaRowsetsListTablesAndColumnsInOrder) {
  TestDb db;
  ASSERT_EQ(db.exec("create table 断链表 (ID INTEGER identity,等号左里程冠号 VARCHAR,断链长度 DOUBLE PRECISION)"), S_OK);
  ASSERT_EQ(db.exec("create table 标尺 (ID INTEGER identity,里程 text(20),高程 DOUBLE PRECISION)"), S_OK);

  _RecordsetPtr cols;
  ASSERT_EQ(db.conn->OpenSchema(adSchemaColumns, vtMissingValue(), vtMissingValue(), &cols), S_OK);
  Rows got;
  for (; !ado_test::eof(cols); cols->MoveNext()) {
    got.push_back({ado_test::cell(cols, "TABLE_NAME").bstrVal, ado_test::cell(cols, "COLUMN_NAME").bstrVal,
                   std::to_string(ado_test::cell(cols, "ORDINAL_POSITION").lVal),
                   std::to_string(ado_test::cell(cols, "DATA_TYPE").iVal)});
  }
  const Rows expected = {
      {"断链表", "ID", "1", "3"},       {"断链表", "等号左里程冠号", "2", "202"}, {"断链表", "断链长度", "3", "5"},
      {"标尺", "ID", "1", "3"},         {"标尺", "里程", "2", "202"},           {"标尺", "高程", "3", "5"},
  };
  EXPECT_EQ(got, expected);
  EXPECT_EQ(ado_test::put(cols, 2, _variant_t("x")), adErrFeatureNotAvailable);

  _RecordsetPtr tables;
  ASSERT_EQ(db.conn->OpenSchema(adSchemaTables, vtMissingValue(), vtMissingValue(), &tables), S_OK);
  Col names;
  for (; !ado_test::eof(tables); tables->MoveNext()) names.push_back(ado_test::cell(tables, 2L).bstrVal);
  EXPECT_EQ(names, (Col{"断链表", "标尺"}));
}

TEST(AdoConnectionTest, FieldsDescribeTheirColumns) {
  TestDb db;
  ASSERT_EQ(db.exec("create table F (ID counter, a INTEGER, b DOUBLE PRECISION, c text(12), d memo, e yesno, "
                    "f single, g byte, h VARCHAR NOT NULL)"),
            S_OK);
  ASSERT_EQ(db.exec("insert into F (a, b, c, d, e, f, g, h) values (1, 2, '左线', 'm', 0, 1.5, 3, 'h')"), S_OK);
  _RecordsetPtr rs = db.open("select * from F");
  FieldsPtr fields;
  rs->get_Fields(&fields);
  LONG count = 0;
  fields->get_Count(&count);
  ASSERT_EQ(count, 9);
  struct Expect {
    DataTypeEnum type;
    LONG definedSize;
    LONG actualSize;
    LONG attributes;
  };
  const LONG nullable = adFldIsNullable | adFldMayBeNull;
  const Expect expected[] = {
      {adInteger, 4, 4, adFldFixed | adFldKeyColumn},
      {adInteger, 4, 4, adFldFixed | nullable | adFldUpdatable},
      {adDouble, 8, 8, adFldFixed | nullable | adFldUpdatable},
      {adVarWChar, 12, 6, nullable | adFldUpdatable},  // "左线" is 6 bytes of UTF-8
      {adLongVarWChar, 536870910, 1, adFldLong | nullable | adFldUpdatable},
      {adBoolean, 2, 2, adFldFixed | nullable | adFldUpdatable},
      {adSingle, 4, 4, adFldFixed | nullable | adFldUpdatable},
      {adUnsignedTinyInt, 1, 1, adFldFixed | nullable | adFldUpdatable},
      {adVarWChar, 255, 1, adFldUpdatable},
  };
  for (LONG i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    FieldPtr f;
    ASSERT_EQ(fields->get_Item(_variant_t(i), &f), S_OK);
    DataTypeEnum type;
    LONG defined = 0, actual = 0, attributes = 0;
    f->get_Type(&type);
    f->get_DefinedSize(&defined);
    f->get_ActualSize(&actual);
    f->get_Attributes(&attributes);
    EXPECT_EQ(type, expected[i].type);
    EXPECT_EQ(defined, expected[i].definedSize);
    EXPECT_EQ(actual, expected[i].actualSize);
    EXPECT_EQ(attributes, expected[i].attributes);
  }
  FieldPtr missing;
  EXPECT_EQ(fields->get_Item(_variant_t(9L), &missing), adErrItemNotFound);
  EXPECT_EQ(fields->get_Item(_variant_t("nope"), &missing), adErrItemNotFound);
  ASSERT_EQ(fields->get_Item(_variant_t("C"), &missing), S_OK);  // names compare without ASCII case
}

TEST(AdoConnectionTest, CursorMovesAndTheirLimits) {
  TestDb db;
  ASSERT_EQ(db.exec("create table M (ID counter, v INTEGER)"), S_OK);
  _RecordsetPtr empty = db.open("select * from M");
  VARIANT_BOOL bof = 0;
  empty->get_BOF(&bof);
  EXPECT_TRUE(ado_test::eof(empty) && bof);
  EXPECT_EQ(empty->MoveFirst(), adErrNoCurrentRecord);
  EXPECT_EQ(empty->MoveNext(), adErrNoCurrentRecord);
  EXPECT_EQ(ado_test::cell(empty, 1L).vt, VT_EMPTY);  // no current record
  empty->Close();

  for (int v = 10; v <= 40; v += 10) ASSERT_EQ(db.exec("insert into M (v) values (" + std::to_string(v) + ")"), S_OK);
  _RecordsetPtr rs = db.open("select * from M");
  auto value = [&] { return ado_test::cell(rs, 1L).lVal; };
  EXPECT_EQ(value(), 10);
  ASSERT_EQ(rs->MoveLast(), S_OK);
  EXPECT_EQ(value(), 40);
  ASSERT_EQ(rs->MoveNext(), S_OK);
  EXPECT_TRUE(ado_test::eof(rs));
  EXPECT_EQ(rs->MoveNext(), adErrNoCurrentRecord);
  ASSERT_EQ(rs->MovePrevious(), S_OK);
  EXPECT_EQ(value(), 40);
  ASSERT_EQ(rs->Move(-2, vtMissingValue()), S_OK);
  EXPECT_EQ(value(), 20);
  ASSERT_EQ(rs->Move(-5, vtMissingValue()), S_OK);
  rs->get_BOF(&bof);
  EXPECT_TRUE(bof);
  ASSERT_EQ(rs->MoveFirst(), S_OK);
  ASSERT_EQ(rs->Move(1, vtMissingValue()), S_OK);
  EXPECT_EQ(value(), 20);

  // Delete the current row: it stays current until the next move, then is gone.
  LONG status = 0;
  rs->get_Status(&status);
  EXPECT_EQ(status, adRecUnmodified);
  ASSERT_EQ(rs->Delete(adAffectCurrent), S_OK);
  rs->get_Status(&status);
  EXPECT_EQ(status, adRecDeleted);
  ASSERT_EQ(rs->MoveNext(), S_OK);
  EXPECT_EQ(value(), 30);
  LONG count = 0;
  rs->get_RecordCount(&count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ado_test::column(db.committed("select v from M"), 0), (Col{"10", "30", "40"}));

  // Edit a row in place; the edit is kept by Update.
  ASSERT_EQ(ado_test::put(rs, 1, _variant_t("33")), S_OK);
  rs->get_Status(&status);
  EXPECT_EQ(status, adRecModified);
  ASSERT_EQ(ado_test::update(rs), S_OK);
  EXPECT_EQ(ado_test::column(db.committed("select v from M"), 0), (Col{"10", "33", "40"}));

  // Closing the connection closes its recordsets.
  db.conn->Close();
  LONG state = 1;
  rs->get_State(&state);
  EXPECT_EQ(state, adStateClosed);
  EXPECT_EQ(rs->MoveFirst(), adErrObjectClosed);
}

TEST(AdoConnectionTest, ProgIdsAndTimeout) {
  _ConnectionPtr c;
  EXPECT_EQ(c.CreateInstance("ADODB.Connection.6.0"), S_OK);
  _RecordsetPtr r;
  EXPECT_EQ(r.CreateInstance("adodb.recordset"), S_OK);
  EXPECT_EQ(r.CreateInstance("ADODB.Command"), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(c.CreateInstance("ADODB.Recordset"), E_NOINTERFACE);  // not a connection
  ASSERT_EQ(c.CreateInstance("ADODB.Connection"), S_OK);
  LONG timeout = 0;
  c->get_ConnectionTimeout(&timeout);
  EXPECT_EQ(timeout, 15);
  EXPECT_EQ(c->put_ConnectionTimeout(3), S_OK);
  c->get_ConnectionTimeout(&timeout);
  EXPECT_EQ(timeout, 3);
}

// ---- Safety of what recordsets write ------------------------------------------------

struct SafetyTest : ::testing::Test {
  TestDb db;
  void SetUp() override {
    ASSERT_EQ(db.exec("create table 坡度表 (ID INTEGER identity,变坡点里程冠号 VARCHAR NOT NULL,设计高程 DOUBLE PRECISION)"),
              S_OK);
    for (const char* r : {"('DK', 100)", "('DK', 101)", "('DK', 102)"})
      ASSERT_EQ(db.exec(std::string("insert into 坡度表 (变坡点里程冠号, 设计高程) values ") + r), S_OK);
  }
  // Adds one row per value; a null prefix makes the row's save fail.
  void addRows(_Recordset* rs, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes) {
      ado_test::addNew(rs);
      if (p) ado_test::put(rs, 1, _variant_t(p));
      ado_test::put(rs, 2, _variant_t(200.0));
    }
  }
  Rows stored() { return db.committed("select * from 坡度表"); }
  const Rows old = {{"1", "DK", "100"}, {"2", "DK", "101"}, {"3", "DK", "102"}};
};

TEST_F(SafetyTest, WritesOfARecordsetAreCommittedByUpdateOnly) {
  _RecordsetPtr rs = db.open("select * from 坡度表");
  addRows(rs, {"A", "B"});
  ASSERT_EQ(ado_test::addNew(rs), S_OK);  // saves "B" into the unit
  ASSERT_EQ(ado_test::put(rs, 1, _variant_t("C")), S_OK);
  EXPECT_EQ(stored(), old);  // another connection sees nothing yet
  ASSERT_EQ(ado_test::update(rs), S_OK);
  EXPECT_EQ(ado_test::column(stored(), 1), (Col{"DK", "DK", "DK", "A", "B", "C"}));

  // Rows added and closed without an Update are not kept.
  addRows(rs, {"C", "D"});
  rs->Close();
  EXPECT_EQ(stored().size(), 6u);
}

TEST_F(SafetyTest, AFailedWriteRollsTheUnitBack) {
  _RecordsetPtr rs = db.open("select * from 坡度表");
  addRows(rs, {"A", nullptr, "C"});  // the second row lacks its required prefix
  HRESULT hr = ado_test::update(rs);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_NE(ado_test::errorText(hr).find("变坡点里程冠号"), std::string::npos) << ado_test::errorText(hr);
  EXPECT_EQ(stored(), old);
  // The recordset shows the stored rows again and can write anew.
  LONG count = 0;
  rs->get_RecordCount(&count);
  EXPECT_EQ(count, 3);
  addRows(rs, {"E"});
  ASSERT_EQ(ado_test::update(rs), S_OK);
  EXPECT_EQ(stored().size(), 4u);
}

TEST_F(SafetyTest, ATableRewrittenInsideBeginTransKeepsItsOldRowsWhenAWriteFails) {
  struct Case {
    const char* name;
    std::initializer_list<const char*> rows;
    bool rollback;  // RollbackTrans instead of CommitTrans
    bool kept;      // the new rows are stored
  };
  const Case cases[] = {
      {"failure half-way", {"A", "B", nullptr, "D"}, false, false},
      {"rolled back", {"A", "B"}, true, false},
      {"committed", {"A", "B"}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LONG level = 0;
    ASSERT_EQ(db.conn->BeginTrans(&level), S_OK);
    EXPECT_EQ(level, 1);
    _RecordsetPtr rs = db.open("select * from 坡度表 order by ID");
    ASSERT_EQ(db.exec("delete from 坡度表"), S_OK);
    addRows(rs, c.rows);
    ado_test::update(rs);
    HRESULT end = c.rollback ? db.conn->RollbackTrans() : db.conn->CommitTrans();
    EXPECT_EQ(SUCCEEDED(end), c.kept || c.rollback);
    rs->Close();
    if (c.kept) {
      EXPECT_EQ(stored(), (Rows{{"1", "A", "200"}, {"2", "B", "200"}}));
    } else {
      EXPECT_EQ(stored(), old);
    }
  }
  EXPECT_EQ(db.conn->CommitTrans(), adErrNoTransaction);
}

TEST_F(SafetyTest, ARewriteCutShortByTheProcessEndingKeepsTheOldRows) {
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Delete and half of the rewrite, then the process ends without a commit.
    _ConnectionPtr conn;
    if (FAILED(openPath(conn, db.path))) ::_exit(2);
    LONG level = 0;
    conn->BeginTrans(&level);
    _variant_t affected;
    _RecordsetPtr none;
    conn->Execute(_bstr_t("delete from 坡度表"), &affected, adCmdText, &none);
    _RecordsetPtr rs;
    rs.CreateInstance("ADODB.Recordset");
    rs->Open(_variant_t("select * from 坡度表"), _variant_t(static_cast<IDispatch*>(conn)), adOpenDynamic,
             adLockOptimistic, adCmdText);
    addRows(rs, {"A", "B", "C"});
    ado_test::addNew(rs);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(stored(), old);
}

TEST_F(SafetyTest, ARecordsetOpenedBeforeADeleteDoesNotBringTheRowsBack) {
  // The table editors' save: open the table, delete its rows, append the grid.
  _RecordsetPtr rs = db.open("select * from 坡度表 order by ID");
  ASSERT_EQ(db.exec("delete from 坡度表"), S_OK);
  LONG count = -1;
  rs->get_RecordCount(&count);
  EXPECT_EQ(count, 0);
  addRows(rs, {"X", "Y"});
  ASSERT_EQ(ado_test::update(rs), S_OK);
  EXPECT_EQ(stored(), (Rows{{"1", "X", "200"}, {"2", "Y", "200"}}));
  // Walking the recordset shows the new rows only.
  Col seen;
  for (rs->MoveFirst(); !ado_test::eof(rs); rs->MoveNext()) seen.push_back(ado_test::cell(rs, 1L).bstrVal);
  EXPECT_EQ(seen, (Col{"X", "Y"}));
}

}  // namespace
