#pragma once
// XLDataBase: the scheme-database access of the ground-line input. It reads
// the ground-line and rock-layer tables into lists of earthline records, and
// the second-line break and construction-line tables for the line names; it
// writes the rock-layer tables from its rock-layer list. (The cross-section
// module has a class of the same name with other members; the two never meet
// in one program.)
//
// Use from the input dialog:
//
//   XLDataBase db;
//   db.ReadGroundLineTables(path, "用户左线绕行段横断面岩层线表", "绕行段编号=2");
//   ... edit db.rockLayers (db.rockLayerCount == db.rockLayers.GetSize()) ...
//   db.WriteRockLayerTable(path, "用户左线绕行段横断面岩层线表", "绕行段编号=2");
//   db.WriteRockLayerTable(path, "左线绕行段横断面岩层线表", "绕行段编号=2");  // a converted copy
//
// Every call opens the object's connection afresh on the database it is given
// and leaves it open; messages go to message boxes (and the command line for
// the notes of a read). Table names are compared byte for byte.

#include <memory>

#include "GroundTables.h"
#include "ado/AdoWrapper.h"
#include "earthline.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"

struct RockLayerRow;

// One row of 二线断链表.
struct SecondLineBreakRecord {
  static constexpr int kLineNameGbkMax = 51;  // the stored field holds 51 GBK bytes
  char lineName[2 * (kLineNameGbkMax + 1)] = {};  // 线路名, cut to fit
  int lineNumber = 0;                              // 线路编号
  CString detourName;                              // 绕行段名
  double before = 0.0;                             // 等号左里程数
  double after = 0.0;                              // 等号右里程数
  CString prefixBefore;                            // 等号左里程冠号
  CString prefixAfter;                             // 等号右里程冠号
};

// One row of 施工便线信息表; every name is cut to fit its field.
struct ConstructionLineRecord {
  static constexpr int kNameGbkMax = 49;       // 线路名 and 内部线路名
  static constexpr int kEndNameGbkMax = 255;   // 起始线路名 and 终止线路名
  char lineName[2 * (kNameGbkMax + 1)] = {};
  char internalName[2 * (kNameGbkMax + 1)] = {};
  char startLineName[2 * (kEndNameGbkMax + 1)] = {};
  char endLineName[2 * (kEndNameGbkMax + 1)] = {};
};

class XLDataBase {
 public:
  XLDataBase();
  virtual ~XLDataBase();
  XLDataBase(const XLDataBase&) = delete;
  XLDataBase& operator=(const XLDataBase&) = delete;

  // Runs "select * from <table> [where <filter>] Order By ID" on the database
  // at `path` (the filter is a condition without "where", such as
  // "绕行段编号=2"; empty for all rows) and reads the rows by the table's name:
  // - a ground-line table (横断面地面线表 and its detour tables): one record
  //   per row into groundLines, layer 0 and rock type 2;
  // - a user rock-layer table (用户横断面岩层线表 and its detour tables): one
  //   record per row into rockLayers; 岩层性质 "普通土" gives rock type 2
  //   (in the baseline and the detour tables), any other text is read as an
  //   integer;
  // - 二线断链表 into secondLineBreaks, 施工便线信息表 into constructionLines
  //   (by column name);
  // - any other table: nothing is read.
  // A row fills the side its 左或右 names ("左" or "右"; another value fills
  // no side) with 地面点数 points; a count above 100 is cut to 100 with a note
  // on the command line naming the table and the station. The list of the
  // table's kind (and its count) is emptied before the query, the other lists
  // stay as they were. Returns 1 when the query gave at least one row, 0 when
  // it gave none (a missing or empty table; the list stays empty) or the
  // database cannot be opened ("连接数据库失败!").
  int ReadGroundLineTables(CString path, CString tableName, CString filter);

  // Rewrites the rows of a rock-layer table (one of the six) from
  // records 0 .. rockLayerCount − 1 of rockLayers: the rows that match
  // `condition` are deleted ("绕行段编号=<n>" on a detour table, empty on a
  // baseline table: all rows), or the table is created when the database
  // lacks it, and each pair of records (see RockLayerRows.h) is appended as
  // its left and right row. The delete and the append are one transaction: a
  // failure keeps the rows the table held and is shown with the reason.
  // After a design table (no "用户" prefix) "成功写入数据库" is shown. A
  // station and layer with a side too long to store (more than 100 points
  // with its centre point) is written with neither side and named in a
  // message; no success message follows then. A list with a value the
  // design cannot read (CheckRockLayerValues) writes nothing.
  // Returns 1 when the rows were written, 0 otherwise (callers may ignore
  // it). The list is not changed.
  int WriteRockLayerTable(CString path, CString tableName, CString condition);

  // True when records 0 .. rockLayerCount − 1 hold only values the design
  // reads (RecordChecks.h) for `tableName`; otherwise false, after one
  // message naming the table and each record at fault (the first ten).
  bool CheckRockLayerValues(const CString& tableName);

  // Appends the table names of the open connection to tableNames (never
  // clears it); 1 when the connection was open.
  int ListTableNames();
  // True when `name` equals an entry of tableNames byte for byte.
  bool HasTableName(CString name);

  // ---- Database access ----------------------------------------------------
  CAdoConnection connection;
  CString sqlText;  // the last query text
  CAdoRecordSet recordset;
  CStringArray tableNames;

  // ---- Records --------------------------------------------------------------
  earthline working;          // the record the input dialog edits
  EarthLineList rockLayers;   // from the user rock-layer tables; written by WriteRockLayerTable
  EarthLineList groundLines;  // from the ground-line tables
  int rockLayerCount = 0;     // records in use in rockLayers (kept equal to its size)
  int groundLineCount = 0;    // records in use in groundLines

  std::unique_ptr<SecondLineBreakRecord[]> secondLineBreaks;  // null when none
  int secondLineBreakCount = 0;
  std::unique_ptr<ConstructionLineRecord[]> constructionLines;  // null when none
  int constructionLineCount = 0;

 private:
  // Closes the recordset and the connection and opens the connection on
  // `path`; false, after "连接数据库失败!", when it cannot be opened.
  bool Connect(const CString& path);

  // Readers of one table; the recordset is open on at least one row.
  void ReadPointRows(const CString& tableName, const GroundTable& table, EarthLineList& list, int& count);
  void ReadSecondLineBreaks();
  void ReadConstructionLines();

  // Writing: the transaction that deletes (or creates) and appends, and the
  // failure that rolls it back.
  bool BeginRewrite(const CString& tableName, const GroundTable& table, const CString& condition);
  int FailWrite(const CString& tableName, const char* reason);
  void PutRow(const GroundTable& table, const RockLayerRow& row);
};
