// The database wrapper against raw SQLite: 10,000 rows of the 207-column
// ground-line table written through AddNew, PutCollectByIndex and Update and
// read back through GetValueText, beside the same rows written and read with
// prepared statements in one transaction.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ado/AdoWrapper.h"

namespace {

constexpr int kRows = 10000;
constexpr int kPairs = 100;
constexpr int kColumns = 207;  // ID, five head columns, 200 pair columns, the remark

// The create statement of 横断面地面线表, column by column.
std::string createStatement() {
  std::string sql = "create table 横断面地面线表(ID INTEGER IDENTITY,";
  sql += "中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,地面高程 DOUBLE PRECISION,左或右 VARCHAR,地面点数 integer,";
  for (int k = 1; k <= kPairs; ++k) {
    sql += "点" + std::to_string(k) + "距中桩距离 DOUBLE PRECISION,";
    sql += "点" + std::to_string(k) + "与中桩高程差 DOUBLE PRECISION,";
  }
  return sql + "附注 VARCHAR)";
}

// The values of one row, as the interpolation writes them: texts for the
// chainage and the elevation as read from the fill/cut table, doubles for the
// pairs.
struct RowValues {
  CString id, chainage, elevation;
  const char* side;
  double pairs[2 * kPairs];
};

struct Bench {
  std::string dir;
  std::string path;
  std::vector<RowValues> rows;

  Bench() {
    char pattern[] = "/tmp/bench-ado-XXXXXX";
    dir = ::mkdtemp(pattern);
    path = dir + "/方案1.mdb";
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    rows.resize(kRows);
    for (int i = 0; i < kRows; ++i) {
      RowValues& r = rows[static_cast<size_t>(i)];
      r.id.Format("%d", i);
      r.chainage.Format("%.3f", 1000.0 + 10.0 * (i / 2));
      r.elevation.Format("%.3f", 500.0 + 0.01 * i);
      r.side = i % 2 ? "右" : "左";
      for (int j = 0; j < 2 * kPairs; ++j) r.pairs[j] = (j % 2 ? -0.013 : 1.7) * (j / 2 + 1) + 0.001 * i;
    }
    CAdoConnection conn;
    conn.Open(connection().c_str(), -1);
    conn.Execute(createStatement().c_str());
    conn.Close();
  }
  ~Bench() { std::filesystem::remove_all(dir); }
  std::string connection() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path; }
};

Bench& bench() {
  static Bench b;
  return b;
}

void writeWithWrapper() {
  Bench& b = bench();
  CAdoConnection conn;
  conn.Open(b.connection().c_str(), -1);
  conn.Execute("delete from 横断面地面线表");
  CAdoRecordSet rs(&conn);
  rs.Open("select * from 横断面地面线表 order by ID", adCmdText, adOpenDynamic, adLockOptimistic);
  for (const RowValues& r : b.rows) {
    rs.AddNew();
    rs.PutCollectByIndex(0, r.id);
    rs.PutCollectByIndex(1, _variant_t("DK"));
    rs.PutCollectByIndex(2, r.chainage);
    rs.PutCollectByIndex(3, r.elevation);
    rs.PutCollectByIndex(4, _variant_t(r.side));
    rs.PutCollectByIndex(5, _variant_t(kPairs));
    for (int j = 0; j < 2 * kPairs; ++j) rs.PutCollectByIndex(6 + j, _variant_t(r.pairs[j]));
  }
  rs.Update();
  rs.Close();
  conn.Close();
}

void writeWithSqlite() {
  Bench& b = bench();
  sqlite3* db = nullptr;
  sqlite3_open_v2(b.path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_exec(db, "DELETE FROM 横断面地面线表", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  std::string sql = "INSERT INTO 横断面地面线表 VALUES (NULL";
  for (int c = 1; c < kColumns; ++c) sql += ",?";
  sql += ")";
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
  for (const RowValues& r : b.rows) {
    sqlite3_bind_text(insert, 1, "DK", 2, SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, r.chainage, r.chainage.GetLength(), SQLITE_STATIC);
    sqlite3_bind_text(insert, 3, r.elevation, r.elevation.GetLength(), SQLITE_STATIC);
    sqlite3_bind_text(insert, 4, r.side, -1, SQLITE_STATIC);
    sqlite3_bind_int(insert, 5, kPairs);
    for (int j = 0; j < 2 * kPairs; ++j) sqlite3_bind_double(insert, 6 + j, r.pairs[j]);
    sqlite3_bind_null(insert, kColumns - 1);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

size_t readWithWrapper() {
  Bench& b = bench();
  CAdoConnection conn;
  conn.Open(b.connection().c_str(), -1);
  CAdoRecordSet rs(&conn);
  size_t bytes = 0;
  if (rs.Open("select * from 横断面地面线表") == 1) {
    CString text;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
      for (long c = 0; c < kColumns; ++c) {
        rs.GetValueText(text, c);
        bytes += static_cast<size_t>(text.GetLength());
      }
    }
  }
  rs.Close();
  conn.Close();
  return bytes;
}

// The same texts the wrapper gives: "%d" integers, "%.8f" reals, "NULL".
size_t readWithSqlite(bool asText) {
  Bench& b = bench();
  sqlite3* db = nullptr;
  sqlite3_open_v2(b.path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM 横断面地面线表", -1, &select, nullptr);
  size_t bytes = 0;
  char buf[512];
  std::string text;
  double sum = 0;
  while (sqlite3_step(select) == SQLITE_ROW) {
    for (int c = 0; c < kColumns; ++c) {
      switch (sqlite3_column_type(select, c)) {
        case SQLITE_INTEGER:
          if (asText) text.assign(buf, static_cast<size_t>(std::snprintf(buf, sizeof buf, "%d", sqlite3_column_int(select, c))));
          else sum += sqlite3_column_int(select, c);
          break;
        case SQLITE_FLOAT:
          if (asText) text.assign(buf, static_cast<size_t>(std::snprintf(buf, sizeof buf, "%.8f", sqlite3_column_double(select, c))));
          else sum += sqlite3_column_double(select, c);
          break;
        case SQLITE_NULL: text = "NULL"; break;
        default:
          text.assign(reinterpret_cast<const char*>(sqlite3_column_text(select, c)),
                      static_cast<size_t>(sqlite3_column_bytes(select, c)));
          break;
      }
      bytes += text.size();
    }
  }
  benchmark::DoNotOptimize(sum);
  sqlite3_finalize(select);
  sqlite3_close(db);
  return bytes;
}

void BM_WriteWrapper(benchmark::State& state) {
  for (auto _ : state) writeWithWrapper();
  state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_WriteRawSqlite(benchmark::State& state) {
  for (auto _ : state) writeWithSqlite();
  state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_ReadWrapper(benchmark::State& state) {
  writeWithSqlite();
  for (auto _ : state) benchmark::DoNotOptimize(readWithWrapper());
  state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_ReadRawSqliteAsText(benchmark::State& state) {
  writeWithSqlite();
  for (auto _ : state) benchmark::DoNotOptimize(readWithSqlite(true));
  state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_ReadRawSqliteBinary(benchmark::State& state) {
  writeWithSqlite();
  for (auto _ : state) benchmark::DoNotOptimize(readWithSqlite(false));
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_WriteWrapper)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteRawSqlite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadWrapper)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadRawSqliteAsText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadRawSqliteBinary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
