#pragma once
// XLDataBase: the plan module's reader of one scheme database. Each call of
// LoadSchemeTables connects, reads one table into the record array of its
// kind and closes again; between calls the object holds only records.
//
// This is the plan module's own class; the cross-section module has a table
// store of the same name (corvane/data/XLDataBase.h) that reads and writes other
// tables. Each module links only its own.
//
// The three forms of a structure table (base line, 左线绕行段, 右线绕行段)
// share one array, so loading one form replaces the records of the other.
// A table with no rows empties its array. Counts are bounded (kMax*): the
// rows beyond are left out with a message naming the table, and a text longer
// than its fixed field is cut at a character boundary with one message per
// table load.

#include <vector>

#include "PlanRecords.h"
#include "SchemeRecords.h"
#include "ado/AdoWrapper.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

class XLDataBase : public BAS_DRAW_FUN {
 public:
  static constexpr int kMaxCurveRows = 10000;      // 曲线表, 左线曲线表, 右线曲线表
  static constexpr int kMaxBreakRows = 1000;       // 断链表, 左线断链表, 右线断链表
  static constexpr int kMaxStructureRows = 20000;  // each structure table

  XLDataBase();
  ~XLDataBase() override;
  XLDataBase(const XLDataBase&) = delete;
  XLDataBase& operator=(const XLDataBase&) = delete;

  // Reads table `tableName` of the scheme database at `path` (or, with
  // `isConnectionString`, of the connection string `path`) into its array:
  //   隧道 / 左线绕行段隧道 / 右线绕行段隧道        -> tunnels
  //   大中桥 and its detour forms                  -> bridges
  //   小桥涵 and its detour forms                  -> culverts
  //   水准点表 and its detour forms                -> benchMarks
  //   导线表 and its detour forms                  -> traverse
  //   车站 and its detour forms                    -> stations
  //   曲线表                                       -> curves and intersectionPoints
  //   断链表                                       -> breaks
  //   左线曲线表, 右线曲线表                       -> sideCurves
  //   左线断链表, 右线断链表                       -> sideBreaks
  // Names are compared byte for byte; any other name reads nothing.
  // A database that cannot be opened: "连接数据库失败!" (message box), arrays
  // unchanged. A query that fails (a missing table): "没有记录!" on the
  // command line, arrays unchanged. A table without rows: "没有记录!" and its
  // array emptied. Tunnels whose start or end is blank (prefix "", " " or
  // "  " with a mileage below 0.1) are left out. True when the database
  // could be opened.
  bool LoadSchemeTables(const CString& path, const CString& tableName, bool isConnectionString);

  // Empties every record array.
  void Clear();

  // The table lister: appends the names of the tables of the open connection
  // to tableNames (never cleared); 1 when the connection was open.
  int ListTableNames();
  // True when `name` equals, byte for byte, an entry of tableNames.
  bool HasTableName(const CString& name) const;

  // ---- Records (in the order the database returned the rows) -------------
  std::vector<TraverseRecord> traverse;
  std::vector<StationRecord> stations;
  std::vector<BenchMarkRecord> benchMarks;
  std::vector<TunnelRecord> tunnels;
  std::vector<BridgeRecord> bridges;
  std::vector<CulvertRecord> culverts;
  std::vector<PlanCurveRecord> curves;
  // One per curve row: number (交点号), N, E, L1, R, L2.
  std::vector<IntersectionPoint> intersectionPoints;
  std::vector<BreakRecord> breaks;
  std::vector<SideLineRecord> sideCurves;
  std::vector<PlanBreakRecord> sideBreaks;

  // ---- Database access (open only during a load) ----------------------------
  CAdoConnection connection;
  CString sqlText;  // the last query: "select * from " and the table name
  CAdoRecordSet recordset;
  CStringArray tableNames;

 private:
  enum class TableKind { kNone, kTunnel, kBridge, kCulvert, kBenchMark, kTraverse, kStation, kCurve, kBreak,
                         kSideCurve, kSideBreak };
  struct TableInfo {
    TableKind kind;
    bool detour;  // a 左线绕行段/右线绕行段 form (绕行段编号 is read)
  };
  static TableInfo Recognise(const CString& tableName);

  void EmptyArrayOf(TableKind kind);
  void ReadTable(TableKind kind, bool detour);

  // Walks the rows from the first into `records` (at most `limit`; more are
  // reported): `fill` fills one record from the current row and returns false
  // for a row that is left out (its slot takes the next row).
  template <class Record, class Fill>
  void ReadRows(std::vector<Record>& records, int limit, Fill fill);

  // Columns of the current row: a text ("" for a null or a missing column)
  // and a number (atof of the text).
  CString Text(const char* column);
  CString TextAt(long index);
  double Number(const char* column);
  double NumberAt(long index);
  int DetourIndex();

  // Copies `text` into a fixed field of `gbkWidth` GBK bytes (terminator
  // included), noting a cut.
  void CopyField(char* field, size_t fieldSize, size_t gbkWidth, const char* text);
  // Writes the chainage text of a prefix and a mileage into a fixed field.
  void ChainageField(char* field, size_t fieldSize, size_t gbkWidth, const CString& prefix, double mileage);

  CString m_table;     // the table being read, for the messages
  int m_row = 0;       // its row being read (0-based)
  bool m_cut = false;  // a text of this load has been cut (reported once)
};
