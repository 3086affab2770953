#pragma once
// XLDataBase: the table store of the cross-section module. One object holds,
// as in-memory row tables, the alignment, structure and result tables of one
// scheme database and moves them between the file and memory one table at a
// time: ReadTable reads a table by name, ReadDetourTables the rows of one
// detour section, WriteTable and WriteDetourFillCutTable write rows back.
//
// Every operation opens the object's connection on the database it is given
// ("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path) and closes it again
// before it returns; between calls the object holds only rows.
//
// Row tables are public and read directly by the users: each is a heap array
// and its row count (the break and intersection tables are inline arrays).
// Reading a table replaces its array whole; a read that finds no rows leaves
// the table as it was. FreeRows and AllocRows keep array and count together:
// after FreeRows a table has no array and a count of 0. A null field reads as
// an empty text (and as 0 where a number is read).

#include "SchemeRows.h"
#include "TableNumbers.h"
#include "ado/AdoWrapper.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"

class XLDataBase : public BAS_DRAW_FUN {
 public:
  static constexpr int kMaxBreaks = 50;          // rows of the break table
  static constexpr int kMaxIntersections = 200;  // rows of the intersection table

  XLDataBase();
  ~XLDataBase() override;
  XLDataBase(const XLDataBase&) = delete;
  XLDataBase& operator=(const XLDataBase&) = delete;

  // Reads table `tableName` of the database at `path` into its row table:
  // 隧道; 基线轨道结构, 左线轨道结构, 右线轨道结构 (one row table); 大中桥; 车站;
  // 断链表; 曲线表; 左线曲线表, 右线曲线表 (one row table); 左线断链表,
  // 右线断链表 (one row table); 坡度表; 地面线表; 填挖表; 横断面数量表;
  // 主要技术标准 (the technical-standard members); 曲线加宽.
  // 1 after reading, also for a name that is none of these (nothing read).
  // 0 when the database cannot be opened ("连接数据库失败!"), or the table is
  // missing or has no rows ("没有记录!" on the command line); the row tables
  // are then as they were. At most kMaxBreaks breaks are read; more are
  // reported on the command line and left out.
  //
  // Numbers are checked: a column the reader needs and the table lacks (the
  // coordinates of 曲线表, 设计高程 of 坡度表, 地面高程 of 填挖表, ...), an
  // empty field where a value is needed, and a text that is no finite number
  // refuse the table before anything is built from it: a message box names
  // table, row and column, readRefused is set, the table's rows are freed and
  // the result is 0.
  int ReadTable(CString path, CString tableName);

  // Reads the rows of detour section `detour` (column 绕行段编号, in ID order)
  // of one detour table into the row table of its kind: 左线绕行段隧道 and
  // 右线绕行段隧道 the tunnel rows; ...大中桥 the bridge rows; ...车站 the
  // station rows; ...坡度表 the grade rows; ...填挖表 the fill/cut rows.
  // Results and messages as ReadTable ("<table>没有记录!" when the section has
  // no rows); 1 for any other name (nothing read).
  int ReadDetourTables(CString path, CString tableName, int detour);

  // Replaces every row of table `tableName` by the rows of its row table:
  // 交点表 (the intersection rows, curveCount of them), 曲线表 (the curve
  // rows, curveWriteCount of them), 断链表, 坡度表, 地面线表, 大中桥, 车站,
  // 隧道, 填挖表. A missing table is created first. Deleting the old rows and
  // writing the new ones is one transaction: when any step fails, a message
  // box says which table and why, the table keeps the rows it held, the row
  // table stays in memory and the result is 0. After a successful write the
  // row table is freed (except the inline 交点表 and 断链表 tables) and 1 is
  // returned; 1 also for a name that is none of the nine (nothing written).
  // A count above 0 without rows is refused (0, table untouched). Both
  // writers empty tableNames and list the tables of the database they write,
  // as they were before the write.
  int WriteTable(CString path, CString tableName);

  // Replaces the rows of detour section `detour` of the detour fill/cut table
  // `tableName` by the fill/cut rows, creating the table when it is missing.
  // Values go to the columns of their names; a column the table lacks is left
  // out. Rows of other detour sections stay. One transaction, results and
  // messages as WriteTable; the fill/cut rows are freed after a success.
  int WriteDetourFillCutTable(CString path, CString tableName, int detour);

  // Appends the names of the tables of the open connection to tableNames
  // (never clears it). 1 when the connection was open, 0 otherwise.
  int ListTableNames();
  // True when `name` equals (byte for byte) an entry of tableNames.
  bool HasTableName(CString name);

  // Frees a row table: no array, count 0.
  template <class Row>
  static void FreeRows(Row*& rows, int& count) {
    delete[] rows;
    rows = nullptr;
    count = 0;
  }
  // Replaces a row table by `n` default rows (none when n <= 0); count = n.
  template <class Row>
  static Row* AllocRows(Row*& rows, int& count, int n) {
    FreeRows(rows, count);
    if (n > 0) {
      rows = new Row[static_cast<size_t>(n)]();
      count = n;
    }
    return rows;
  }

  // ---- Row tables ---------------------------------------------------------
  TunnelRow* tunnels = nullptr;
  int tunnelCount = 0;
  BridgeRow* bridges = nullptr;
  int bridgeCount = 0;
  // Rows without a start chainage are not stored, so stationCount may be
  // below the length of the array.
  StationRow* stations = nullptr;
  int stationCount = 0;

  ChainBreakRow breaks[kMaxBreaks];
  int breakCount = 0;

  IntersectionRow intersections[kMaxIntersections];
  // The number of curve rows read from 曲线表, and the number of intersection
  // rows that writing 交点表 writes.
  int curveCount = 0;

  GradeRow* grades = nullptr;
  int gradeCount = 0;
  GroundProfileRow* groundProfiles = nullptr;
  int groundProfileCount = 0;
  // Curve rows; their count after reading is curveCount. curveWriteCount is
  // the number that writing 曲线表 writes (set by the user).
  CurveRow* curves = nullptr;
  int curveWriteCount = 0;
  FillCutRow* fillCuts = nullptr;
  int fillCutCount = 0;
  QuantityRow* quantities = nullptr;
  int quantityCount = 0;
  TrackStructureRow* trackStructures = nullptr;
  int trackStructureCount = 0;

  // 主要技术标准 (the last row read).
  CString railwayClass;    // 铁路等级
  CString mainTrackCount;  // 正线数目
  CString trackType;       // 轨道类型
  CString tractionType;    // 牵引种类
  double targetSpeed = 0.0;           // 速度目标
  double standardSpacing = 0.0;       // 标准线间距
  double recommendedRadiusMin = 0.0;  // 推荐半径小
  double recommendedRadiusMax = 0.0;  // 推荐半径大
  double rulingGrade = 0.0;           // 限制坡度
  double downRulingGrade = 0.0;       // 下行限坡
  double usefulLength = 0.0;          // 有效长
  double generalMinRadius = 0.0;      // 一般最小曲线半径
  double hardMinRadius = 0.0;         // 困难最小曲线半径

  SideCurveRow* sideCurves = nullptr;
  int sideCurveCount = 0;
  SideBreakRow* sideBreaks = nullptr;
  int sideBreakCount = 0;
  WideningRow* widenings = nullptr;
  int wideningCount = 0;

  // Set when the last ReadTable or ReadDetourTables refused its table (see
  // ReadTable); a caller tells a refused table from one without rows by it.
  bool readRefused = false;

  // ---- Database access (opened per call) ----------------------------------
  CAdoConnection connection;
  CString sqlText;   // the last SQL text built
  CString sqlText2;  // kept empty
  CAdoRecordSet recordset;
  CStringArray tableNames;  // filled by ListTableNames

 private:
  // Closes what is open and opens the connection on `path`; false, with the
  // message "连接数据库失败!", when it cannot be opened.
  bool Connect(const CString& path);
  // True when the connection is open; otherwise the alert
  // "数据库没有打开或已经关闭!".
  bool CheckOpen();
  void CloseAll();
  // Opens the recordset on sqlText at its first row. False when the
  // connection is not open (CheckOpen's alert) or the query gives no row
  // (`noRowsText` on the command line; everything closed).
  bool OpenRows(const CString& noRowsText);
  // Empties tableNames and lists the tables of the open connection.
  void RefreshTableNames();

  // Columns of the current row as text ("" when it cannot be read) and as
  // numbers (atof: 0 for a text that is no number).
  CString ColumnText(long index);
  CString ColumnTextByName(const char* name);
  double ColumnNumber(long index);
  // Position of the column named `name`, -1 when the recordset has none.
  long ColumnIndex(const char* name);

  // Checked numbers of the current row (see ReadTable). A needed number
  // refuses the table for an empty field; an optional one reads it as 0.
  void BeginChecks(const CString& tableName);
  // 1 when the read was not refused; else frees the rows of `tableName`, 0.
  int EndChecks(const CString& tableName);
  double NeededNumber(long index);
  double NeededNumberByName(const char* name);
  double OptionalNumber(long index);
  double OptionalNumberByName(const char* name);
  // A curve's radius and transition lengths as a line can have them (a radius
  // of 0 or less is read: it ends the curves; longer than these bounds, the
  // alignment's elements overflow to numbers that are not finite).
  static constexpr double kMaxCurveRadius = 1e6;
  static constexpr double kMaxTransitionLength = 1e5;
  double CurveRadius(double value, const char* column) {
    return m_numbers.Within(value, -kMaxCurveRadius, kMaxCurveRadius, column);
  }
  double CurveLength(double value, const char* column) {
    return m_numbers.Within(value, 0.0, kMaxTransitionLength, column);
  }
  TableNumbers m_numbers;  // the checks of the table being read

  // Readers of one table; the recordset is on its first row. `offset` is 1
  // for a detour table (绕行段编号 in column 1), 0 for a main table.
  void ReadTunnels(int offset);
  // Columns 1 to 7 (after `offset`) of a bridge or station row: the name and
  // the centre, start and end chainages.
  void ReadCentredSpan(CentredSpanRow& row, int offset);
  void ReadBridges(int offset);
  void ReadStations(int offset, bool needEnd);
  void ReadTrackStructures();
  void ReadBreaks(const CString& tableName);
  void ReadCurves();
  void ReadSideCurves();
  void ReadSideBreaks();
  void ReadGrades(bool withLength);
  // Rows of a chainage and its ground elevation (地面线表, 填挖表): the
  // prefix and the chainage from the columns named, the elevation (into
  // `elevation`) from 地面高程.
  template <class Row>
  void ReadGroundPoints(Row*& rows, int& count, const char* prefixColumn, const char* chainageColumn,
                        double Row::*elevation);
  void ReadGroundProfiles();
  void ReadFillCuts();
  void ReadQuantities();
  void ReadTechStandards();
  void ReadWidenings();

  // Writing (one transaction per table).
  // Starts the transaction, creates the table when it is missing (with
  // `createColumns`), runs `deleteSql` and opens the table for writing.
  bool BeginWrite(const CString& tableName, const char* createColumns, const CString& deleteSql);
  // Commits what was written; false when the commit fails.
  bool CommitWrite();
  // Rolls the transaction back, closes, says why the table was not written
  // and returns 0.
  int FailWrite(const CString& tableName, const char* reason);
  void PutText(long index, const CString& text);
  void PutNumber(long index, double value);
  // Columns 1 to 7 of a bridge or station row (see ReadCentredSpan).
  void PutCentredSpan(const CentredSpanRow& row);
  // Puts the columns of one row of table `kind` (one of the nine).
  void PutRow(int kind, int i);
  int RowCountToWrite(int kind, bool& hasRows);
  void FreeWrittenRows(int kind);
};
