#pragma once
// SchemeDatabase: the cross-section module's access object for the scheme
// database of a project. It opens a table filtered to one line, finds the
// start and end chainage of a line from its chainage-break table, reads the
// remark of a detour section, rewrites the section quantity table 横断面数量表
// from its quantity rows, and holds the rows of the 21 design-standard tables
// (DesignStandards.h) that ReadDesignStandards fills.
//
// Callers set currentLine, detourNumber and databasePath before they call.
// Every operation opens the connection on databasePath and closes it again
// before it returns, except OpenLineTable after it answered 1 (the caller
// reads the rows and closes).
//
// Messages (message boxes): "连接数据库失败!" when the database cannot be
// opened; "数据库没有打开或已经关闭!" when OpenLineTable finds the connection
// closed after opening it.

#include <cstddef>

#include "DesignStandards.h"
#include "TableNumbers.h"
#include "ado/AdoWrapper.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

// One row of 横断面数量表.
struct QuantityResultRow {
  CString stakePrefix;                  // 中桩里程冠号
  double stakeMileage = 0.0;            // 中桩里程数
  int sectionKind = 0;                  // 断面性质
  double fillArea = 0.0;                // 填面积
  double improvedSoilArea = 0.0;        // 改良土面积
  double permeableSoilArea = 0.0;       // 渗水土面积
  double strippedTopsoilArea = 0.0;     // 清表土面积
  double cutClassArea[6] = {};          // I类挖方面积 … VI类挖方面积
  double cutArea = 0.0;                 // 挖方面积
  double leftLandWidth = 0.0;           // 左用地宽
  double rightLandWidth = 0.0;          // 右用地宽
  double shoulderProtectionArea = 0.0;  // 护肩面积
  double ditchFillArea = 0.0;           // 水沟填面积
  double ditchCutArea = 0.0;            // 水沟挖面积
  double ditchMasonryArea = 0.0;        // 水沟浆砌面积
  double turfSlopeLength = 0.0;         // 草皮边坡斜长
  double wallSlopeLength = 0.0;         // 挡墙边坡斜长
};

// The name of the section quantity table and the statement that creates it
// (23 columns; 序号 is the identity column).
extern const char* const kQuantityTableName;
extern const char* const kQuantityTableCreateSql;

class SchemeDatabase : public BAS_DRAW_FUN {
 public:
  static constexpr int kMaxBreaks = 50;

  SchemeDatabase();
  ~SchemeDatabase() override;
  SchemeDatabase(const SchemeDatabase&) = delete;
  SchemeDatabase& operator=(const SchemeDatabase&) = delete;

  // Opens the connection on databasePath. False after the message
  // "连接数据库失败!".
  bool Connect();

  // Opens the connection on `path` and selects the rows of `tableName` whose
  // 线路性质 and 绕行段编号 equal currentLine and detourNumber (the query text
  // is kept in queryText). 1 when there is at least one row: the recordset is
  // then open on the first row and the caller reads and closes. 0 when the
  // database cannot be opened ("连接数据库失败!"), the table is missing or the
  // line has no rows; recordset and connection are then closed.
  int OpenLineTable(CString path, CString tableName);

  // True when `name` equals (byte for byte) an entry of tableNames, which
  // RebuildQuantityTable fills from the database before it looks for
  // 横断面数量表.
  bool HasTableName(CString name);

  // Loads the current line's chainage-break table into breaks / breakCount:
  // for the baseline (line 0) the table 断链表; for the left (-1) and right
  // (1) line the rows of 左线断链表 or 右线断链表 whose 编号 is detourNumber,
  // each as one break (its length the number after minus the number before).
  // At most kMaxBreaks are kept; more are noted on the command line. A line
  // whose table has no rows gets breakCount 0; any other line changes nothing.
  void LoadBreakTables();

  // Start and end chainage texts of the baseline from the break table
  // `tableName`: start = the prefix after the first break with its number
  // before plus its length; end = the prefix before the last break with its
  // number before. False when the table cannot be read or has no rows.
  bool GetBaselineChainageRange(CString tableName, char* start, char* end, size_t size = kChainageTextSize);

  // Start and end chainage texts of detour section `detour` of a side line
  // from its break table (左线断链表 or 右线断链表): the number before of the
  // section's first and last rows, each with its prefix. False when the
  // database cannot be opened or the section has no rows.
  bool GetLineChainageRange(CString tableName, int detour, char* start, char* end, size_t size = kChainageTextSize);

  // The texts for any line: line 0 the baseline (断链表), -1 the left line
  // (左线断链表) and 1 the right line (右线断链表) with `detour`; when that
  // answers false, "k0+000" and "k10+000". Any other line leaves both buffers
  // as they are.
  void GetChainageRange(int line, int detour, char* start, char* end, size_t size = kChainageTextSize);

  // The remark (附注) of detour section `detour` from the first of its rows in
  // `tableName`; " " when it is empty or NULL. Unchanged when the section has
  // no rows or the database cannot be opened.
  void GetLineRemark(CString tableName, int detour, CString& remark);

  // Replaces the rows of 横断面数量表 (created when missing) by the quantity
  // rows, numbering 序号 from 1. The old rows are deleted and the new ones
  // written in one transaction: when anything fails the table keeps the rows
  // it held, a message box names the database, and the result is 0. 1 after
  // a successful rewrite.
  int RebuildQuantityTable();

  // Reads design-standard table `tableName` (one of kDesignStandardTables)
  // for currentLine and detourNumber into its rows, replacing what they held;
  // a line without rows gets the table's default row. A name that is none of
  // the 21 reads nothing. Always 1.
  int ReadDesignStandards(CString tableName);

  // Reads the technical-parameter file of the project and keeps its subgrade
  // surface-layer thickness (as the shortest decimal of the stored float) and
  // design speed; the first 基床表层厚度 row, when there is one, takes the
  // thickness. Always true.
  bool LoadTechParams();

  // Replaces the quantity rows by `n` empty rows for the caller to fill.
  QuantityResultRow* SetQuantityRowCount(int n) { return quantities.Replace(n); }

  // ---- Design-standard rows (side index: kLeftSide, kRightSide) ----------
  OwnedRowArray<StandardValueRow> sectionWidthLimit[2];  // 左/右横断面限制宽度
  OwnedRowArray<LandWideningRow> landWidening[2];        // 左/右用地加宽
  OwnedRowArray<StandardValueRow> topsoilStripping;      // 清表土厚度
  OwnedRowArray<StandardValueRow> groundLineWidth[2];    // 左/右地面线内插宽
  OwnedRowArray<SlopeGradesRow> embankmentSlopes[2];     // 左/右路堤边坡
  OwnedRowArray<SlopeGradesRow> cuttingSlopes[2];        // 左/右路堑边坡
  OwnedRowArray<SideDitchRow> sideDitches[2];            // 左/右侧沟
  OwnedRowArray<DrainageDitchRow> drainageDitches[2];    // 左/右排水沟
  OwnedRowArray<TopDitchRow> topDitches[2];              // 左/右天沟
  OwnedRowArray<ImprovedFillRow> improvedFill;           // 填改良土
  OwnedRowArray<StandardValueRow> subgradeSurface;       // 基床表层厚度
  OwnedRowArray<StandardValueRow> shoulderProtection;    // 护肩宽度
  OwnedRowArray<ExcavationClassRow> excavationClasses;   // 挖方分类

  // Set by LoadTechParams.
  double techSubgradeThickness = 0.0;
  double techDesignSpeed = 0.0;

  // The current line's chainage-break table (LoadBreakTables).
  int breakCount = 0;
  BreakRecord breaks[kMaxBreaks];

  // The rows RebuildQuantityTable writes.
  OwnedRowArray<QuantityResultRow> quantities;

  int currentLine = 0;    // -1 left line, 0 baseline, 1 right line (线路性质)
  int detourNumber = -1;  // 绕行段编号; -1 for the baseline

  CAdoConnection connection;
  CString queryText;  // the query of the last OpenLineTable
  CAdoRecordSet recordset;
  CStringArray tableNames;
  CString databasePath;

 private:
  // Opens the connection on `path` ("连接数据库失败!" when it cannot).
  bool OpenConnection(const CString& path);
  // Closes the recordset and the connection.
  void CloseQuery();

  // Cells of the current row: the text ("" when it cannot be read), and the
  // text as a number checked by `numbers` (an empty cell reads as 0; a text
  // that is no finite number refuses the table being read), or as an integer
  // held within the int range.
  CString CellText(long position);
  double CellNumber(long position);
  int CellInteger(long position);
  TableNumbers numbers;
  // A chainage key from the prefix at `position` and the number after it.
  void ReadKey(ChainageKey& key, long position);

  // Reads one design-standard table into `target`: the line's rows, or one
  // default row made by `makeDefault(row, startText, endText)`.
  template <class Row, class ReadRow, class MakeDefault>
  void ReadStandardTable(const char* tableName, OwnedRowArray<Row>& target, ReadRow readRow,
                         MakeDefault makeDefault);
  void ReadSlopeRow(SlopeGradesRow& row, const char* tableName, int rowNumber);
};
