// XLDataBase: the detour tables. Each holds the rows of every detour section
// of one line, numbered in column 绕行段编号 (column 1).

#include <cmath>
#include <iterator>

#include "XLDataBase.h"
#include "XLDataBaseRows.h"

namespace {

// The column list a missing detour fill/cut table is created with.
const char kDetourFillCutColumns[] =
    "ID INTEGER IDENTITY,"
    "绕行段编号 INTEGER,"
    "加桩里程冠号 VARCHAR,"
    "加桩里程数 DOUBLE PRECISION,"
    "地面高程 DOUBLE PRECISION, "
    "设计坡度 DOUBLE PRECISION, "
    "路肩设计高程 DOUBLE PRECISION,"
    "竖曲线纵距 DOUBLE PRECISION,"
    "中心抬降值 DOUBLE PRECISION,"
    "中心填挖高度 DOUBLE PRECISION,"
    "路肩施工高程 DOUBLE PRECISION,"
    "曲线加宽 DOUBLE PRECISION,"
    "右曲线加宽 DOUBLE PRECISION,"
    "路肩施工宽度 DOUBLE PRECISION,"
    "左线间距 DOUBLE PRECISION,"
    "右线间距 DOUBLE PRECISION,"
    "路肩分离限宽 DOUBLE PRECISION,"
    "断面信息 VARCHAR,"
    "附注 VARCHAR";

// The columns a detour fill/cut row is written to, by name. The navigator's
// detour fill/cut tables lack some of them; those values are left out.
enum DetourColumn {
  kId,
  kDetour,
  kPrefix,
  kChainage,
  kGround,
  kDesignGrade,
  kShoulderDesign,
  kVerticalOrdinate,
  kCentreLift,
  kCentreHeight,
  kShoulderBuild,
  kWidening,
  kRightWidening,
  kBuildWidth,
  kLeftSpacing,
  kRightSpacing,
  kSeparation,
  kSectionInfo,
  kRemark,
  kDetourColumnCount
};

const char* const kDetourColumnNames[kDetourColumnCount] = {
    "ID",           "绕行段编号",   "加桩里程冠号", "加桩里程数",   "地面高程",     "设计坡度",     "路肩设计高程",
    "竖曲线纵距",   "中心抬降值",   "中心填挖高度", "路肩施工高程", "曲线加宽",     "右曲线加宽",   "路肩施工宽度",
    "左线间距",     "右线间距",     "路肩分离限宽", "断面信息",     "附注"};

}  // namespace

// ---- ReadDetourTables -------------------------------------------------------------

int XLDataBase::ReadDetourTables(CString path, CString tableName, int detour) {
  BeginChecks(tableName);
  if (!Connect(path)) return 0;
  sqlText.Format("select * from %s where 绕行段编号=%d order by ID", tableName.GetString(), detour);
  if (!OpenRows(tableName + "没有记录!\n")) return 0;
  if (tableName == "左线绕行段隧道" || tableName == "右线绕行段隧道") {
    ReadTunnels(1);
  } else if (tableName == "左线绕行段大中桥" || tableName == "右线绕行段大中桥") {
    ReadBridges(1);
  } else if (tableName == "左线绕行段车站" || tableName == "右线绕行段车站") {
    ReadStations(1, true);
  } else if (tableName == "左线绕行段坡度表" || tableName == "右线绕行段坡度表") {
    ReadGrades(false);
  } else if (tableName == "左线绕行段填挖表" || tableName == "右线绕行段填挖表") {
    ReadFillCuts();
  }
  CloseAll();
  return EndChecks(tableName);
}

// ---- WriteDetourFillCutTable ---------------------------------------------------------

int XLDataBase::WriteDetourFillCutTable(CString path, CString tableName, int detour) {
  if (!Connect(path)) return 0;
  RefreshTableNames();
  if (!CheckOpen()) return 0;
  const int count = fillCutCount > 0 ? fillCutCount : 0;
  if (count > 0 && !fillCuts) return FailWrite(tableName, "内存中没有要写入的记录");
  CString deleteSql;
  deleteSql.Format("delete from %s where 绕行段编号=%d", tableName.GetString(), detour);
  if (!BeginWrite(tableName, kDetourFillCutColumns, deleteSql)) return 0;

  long column[kDetourColumnCount];
  for (int c = 0; c < kDetourColumnCount; ++c) column[c] = ColumnIndex(kDetourColumnNames[c]);
  auto putText = [&](int c, const CString& text) {
    if (column[c] >= 0) PutText(column[c], text);
  };
  auto putNumber = [&](int c, double value) {
    if (column[c] >= 0) PutNumber(column[c], value);
  };

  for (int i = 0; i < count; ++i) {
    const FillCutRow& row = fillCuts[i];
    if (!recordset.AddNew()) return FailWrite(tableName, "写入记录出错");
    putText(kId, IntText(i));
    putText(kDetour, IntText(detour));
    putText(kPrefix, row.prefix);
    putNumber(kChainage, row.chainage);
    putNumber(kGround, row.groundElevation);
    putNumber(kDesignGrade, row.designGrade);
    putNumber(kShoulderDesign, row.shoulderDesignElevation);
    putNumber(kVerticalOrdinate, row.verticalOrdinate);
    putNumber(kCentreLift, row.centreLift);
    putNumber(kCentreHeight, row.centreHeight);
    putNumber(kShoulderBuild, row.shoulderBuildElevation);
    putNumber(kWidening, row.widening);
    putNumber(kRightWidening, row.rightWidening);
    if (std::fabs(row.shoulderBuildWidth) > 1e-5) putNumber(kBuildWidth, row.shoulderBuildWidth);
    putNumber(kLeftSpacing, row.leftSpacing);
    putNumber(kRightSpacing, row.rightSpacing);
    putNumber(kSeparation, row.separationWidth);
    putText(kSectionInfo, IntText(row.sectionInfo));
    putText(kRemark, row.remark);
  }
  if (!recordset.Update()) return FailWrite(tableName, "写入记录出错");
  if (!CommitWrite()) return FailWrite(tableName, "无法提交写入的记录");
  FreeRows(fillCuts, fillCutCount);
  CloseAll();
  return 1;
}
