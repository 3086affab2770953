#include "SchemeDatabase.h"

#include <algorithm>
#include <cstdlib>

#include "XLDataBase.h"
#include "arx/edoutput.h"
#include "mfc/app.h"
#include "project/GbkText.h"
#include "project/TableList.h"

const char* const kQuantityTableName = "横断面数量表";

const char* const kQuantityTableCreateSql =
    "create table 横断面数量表("
    "序号 INTEGER IDENTITY,"
    "中桩里程冠号 VARCHAR,"
    "中桩里程数 DOUBLE PRECISION,"
    "断面性质 integer,"
    "填面积 DOUBLE PRECISION,"
    "改良土面积 DOUBLE PRECISION,"
    "渗水土面积 DOUBLE PRECISION,"
    "清表土面积 DOUBLE PRECISION,"
    "挖方面积 DOUBLE PRECISION,"
    "I类挖方面积 DOUBLE PRECISION,"
    "II类挖方面积 DOUBLE PRECISION,"
    "III类挖方面积 DOUBLE PRECISION,"
    "IV类挖方面积 DOUBLE PRECISION,"
    "V类挖方面积 DOUBLE PRECISION,"
    "VI类挖方面积 DOUBLE PRECISION,"
    "左用地宽 DOUBLE PRECISION,"
    "右用地宽 DOUBLE PRECISION,"
    "护肩面积 DOUBLE PRECISION,"
    "水沟浆砌面积 DOUBLE PRECISION,"
    "水沟填面积 DOUBLE PRECISION,"
    "水沟挖面积 DOUBLE PRECISION,"
    "草皮边坡斜长 DOUBLE PRECISION,"
    "挡墙边坡斜长 DOUBLE PRECISION"
    ")";

namespace {

const char* const kConnectFailed = "连接数据库失败!";
const char* const kNotOpen = "数据库没有打开或已经关闭!";
const char* const kDefaultStart = "k0+000";
const char* const kDefaultEnd = "k10+000";

void CopyText(char* out, size_t size, const char* text) {
  if (out && size > 0) CopyTextBounded(out, size, text, kChainageTextGbkMax);
}

}  // namespace

SchemeDatabase::SchemeDatabase() { recordset.SetAdoConnection(&connection); }

SchemeDatabase::~SchemeDatabase() {
  // The recordset goes before the connection it reads from.
  recordset.Close();
  connection.Close();
}

// ---- Connection -------------------------------------------------------------

bool SchemeDatabase::OpenConnection(const CString& path) {
  recordset.Close();
  connection.Close();
  CString text;
  text.Format("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s", path.GetString());
  if (!connection.Open(text, -1)) {
    AfxMessageBox(kConnectFailed);
    return false;
  }
  return true;
}

bool SchemeDatabase::Connect() { return OpenConnection(databasePath); }

void SchemeDatabase::CloseQuery() {
  recordset.Close();
  connection.Close();
}

int SchemeDatabase::OpenLineTable(CString path, CString tableName) {
  if (!OpenConnection(path)) return 0;
  queryText.Format("select * from %s where 线路性质=%d and 绕行段编号=%d", tableName.GetString(), currentLine,
                   detourNumber);
  if (!connection.IsOpen()) {
    AfxMessageBox(kNotOpen);
    return 0;
  }
  recordset.SetAdoConnection(&connection);
  if (recordset.Open(queryText, adCmdText, adOpenDynamic, adLockOptimistic) == 1) return 1;
  CloseQuery();
  return 0;
}

bool SchemeDatabase::HasTableName(CString name) { return ::HasTableName(tableNames, name); }

// ---- Cells of the current row ---------------------------------------------------

CString SchemeDatabase::CellText(long position) {
  CString text;
  if (!recordset.GetValueText(text, position)) text.Empty();
  return text;
}

double SchemeDatabase::CellNumber(long position) { return numbers.OptionalAt(recordset, position); }

int SchemeDatabase::CellInteger(long position) {
  const double value = CellNumber(position);
  return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

void SchemeDatabase::ReadKey(ChainageKey& key, long position) {
  key.prefix = CellText(position);
  key.number = CellNumber(position + 1);
  ChainageText3Decimals(key.prefix, key.number, key.text, sizeof key.text);
}

// ---- Chainage ranges and remarks --------------------------------------------------

bool SchemeDatabase::GetBaselineChainageRange(CString tableName, char* start, char* end, size_t size) {
  XLDataBase table;
  if (!table.ReadTable(databasePath, tableName) || table.breakCount <= 0) return false;
  const int last = std::min(table.breakCount, XLDataBase::kMaxBreaks) - 1;
  const BreakRecord& first = table.breaks[0];
  const BreakRecord& final = table.breaks[last];
  char text[kChainageTextSize];
  ChainageText3Decimals(first.prefixAfter, first.before + first.length, text, sizeof text);
  CopyText(start, size, text);
  ChainageText3Decimals(final.prefixBefore, final.before, text, sizeof text);
  CopyText(end, size, text);
  return true;
}

bool SchemeDatabase::GetLineChainageRange(CString tableName, int detour, char* start, char* end, size_t size) {
  if (!Connect()) return false;
  recordset.SetAdoConnection(&connection);
  CString sql;
  sql.Format("select * from %s where 编号=%d", tableName.GetString(), detour);
  numbers.Begin(tableName);
  bool found = recordset.Open(sql, adCmdText, adOpenDynamic, adLockOptimistic) == 1;
  if (found) {
    ChainageKey key;
    recordset.MoveFirst();
    ReadKey(key, 2);
    CopyText(start, size, key.text);
    recordset.MoveLast();
    ReadKey(key, 2);
    CopyText(end, size, key.text);
    found = !numbers.Refused();
  }
  CloseQuery();
  return found;
}

void SchemeDatabase::GetChainageRange(int line, int detour, char* start, char* end, size_t size) {
  bool found;
  if (line == 0) found = GetBaselineChainageRange("断链表", start, end, size);
  else if (line == -1) found = GetLineChainageRange("左线断链表", detour, start, end, size);
  else if (line == 1) found = GetLineChainageRange("右线断链表", detour, start, end, size);
  else return;
  if (!found) {
    CopyText(start, size, kDefaultStart);
    CopyText(end, size, kDefaultEnd);
  }
}

void SchemeDatabase::GetLineRemark(CString tableName, int detour, CString& remark) {
  if (!Connect()) return;
  recordset.SetAdoConnection(&connection);
  CString sql;
  sql.Format("select 编号,附注 from %s where 编号=%d", tableName.GetString(), detour);
  if (recordset.Open(sql, adCmdText, adOpenDynamic, adLockOptimistic) == 1) {
    recordset.MoveFirst();
    CString text;
    if (!recordset.GetValueTextByName(text, "附注")) text.Empty();
    remark = text.IsEmpty() || text == "NULL" ? CString(" ") : text;
  }
  CloseQuery();
}

// ---- Break table of the current line ------------------------------------------------

void SchemeDatabase::LoadBreakTables() {
  if (currentLine == 0) {
    XLDataBase table;
    table.ReadTable(databasePath, "断链表");
    breakCount = std::clamp(table.breakCount, 0, kMaxBreaks);
    for (int i = 0; i < breakCount; ++i) breaks[i] = table.breaks[i];
    return;
  }
  if (currentLine != -1 && currentLine != 1) return;

  const char* tableName = currentLine == -1 ? "左线断链表" : "右线断链表";
  breakCount = 0;
  if (!Connect()) return;
  recordset.SetAdoConnection(&connection);
  CString sql;
  sql.Format("select * from %s where 编号=%d", tableName, detourNumber);
  if (recordset.Open(sql, adCmdText, adOpenDynamic, adLockOptimistic) == 1) {
    recordset.MoveFirst();
    int rows = 0;
    for (; !recordset.IsEOF(); recordset.MoveNext(), ++rows) {
      if (rows >= kMaxBreaks) continue;  // counted for the note below
      CString before, beforeNumber, after, afterNumber;
      recordset.GetValueTextByName(before, "等号左里程冠号");
      recordset.GetValueTextByName(beforeNumber, "等号左里程数");
      recordset.GetValueTextByName(after, "等号右里程冠号");
      recordset.GetValueTextByName(afterNumber, "等号右里程数");
      BreakRecord& record = breaks[rows];
      record = BreakRecord();
      record.before = std::atof(beforeNumber);
      record.length = std::atof(afterNumber) - record.before;
      SetBreakPrefixes(record, before, after);
    }
    breakCount = std::min(rows, kMaxBreaks);
    if (rows > kMaxBreaks)
      acutPrintf("\n%s中%d号绕行段的断链超过%d条,只读入了前%d条!\n", tableName, detourNumber, kMaxBreaks, kMaxBreaks);
  }
  CloseQuery();
}

// ---- 横断面数量表 -------------------------------------------------------------------

int SchemeDatabase::RebuildQuantityTable() {
  if (!Connect()) return 0;
  tableNames.RemoveAll();
  ListTableNames(connection, tableNames);

  // Emptying the table and writing the new rows is one transaction, so that a
  // failure on the way leaves the rows the table held.
  bool ok = connection.BeginTrans() >= 0;
  // A create that fails (a table the list missed) is not an error: the delete
  // below fails when there is no table to write.
  if (ok && !HasTableName(kQuantityTableName)) connection.ExecuteWhenOpen(kQuantityTableCreateSql);
  if (ok) ok = connection.ExecuteWhenOpen(CString("delete from ") + kQuantityTableName);
  recordset.SetAdoConnection(&connection);
  if (ok) ok = recordset.Open(CString("select * from ") + kQuantityTableName, adCmdText, adOpenDynamic,
                              adLockOptimistic) >= 0;
  for (int i = 0; ok && i < quantities.count; ++i) {
    const QuantityResultRow& q = quantities.rows[i];
    if (!recordset.AddNew()) {
      ok = false;
      break;
    }
    // Columns 4 to 22, in the order of the table.
    const double reals[19] = {q.fillArea,         q.improvedSoilArea, q.permeableSoilArea, q.strippedTopsoilArea,
                              q.cutArea,          q.cutClassArea[0],  q.cutClassArea[1],   q.cutClassArea[2],
                              q.cutClassArea[3],  q.cutClassArea[4],  q.cutClassArea[5],   q.leftLandWidth,
                              q.rightLandWidth,   q.shoulderProtectionArea, q.ditchMasonryArea, q.ditchFillArea,
                              q.ditchCutArea,     q.turfSlopeLength,  q.wallSlopeLength};
    recordset.PutCollectByIndex(0, _variant_t(static_cast<long>(i + 1)));
    recordset.PutCollectByIndex(1, _variant_t(q.stakePrefix.GetString()));
    recordset.PutCollectByIndex(2, _variant_t(q.stakeMileage));
    recordset.PutCollectByIndex(3, _variant_t(static_cast<long>(q.sectionKind)));
    for (long c = 0; c < 19; ++c) recordset.PutCollectByIndex(4 + c, _variant_t(reals[c]));
  }
  if (ok && quantities.count > 0) ok = recordset.Update();
  recordset.Close();
  if (ok) ok = connection.CommitTrans();
  else connection.RollbackTrans();
  connection.Close();

  if (!ok) {
    CString text;
    text.Format("写入%s的%s失败,表中原有的数据未作改动!", databasePath.GetString(), kQuantityTableName);
    AfxMessageBox(text);
    return 0;
  }
  return 1;
}
