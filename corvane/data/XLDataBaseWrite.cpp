// XLDataBase: rewriting the alignment, structure and fill/cut tables from
// memory (WriteTable), and the write transaction that both writers share.

#include <algorithm>
#include <cmath>
#include <iterator>

#include "XLDataBase.h"
#include "XLDataBaseRows.h"
#include "mfc/app.h"

namespace {

enum TableKind {
  kIntersections,
  kCurves,
  kBreaks,
  kGrades,
  kGroundProfiles,
  kBridges,
  kStations,
  kTunnels,
  kFillCuts,
};

struct WrittenTable {
  const char* name;
  const char* columns;  // the column list a missing table is created with
};

// In the order the names are looked up.
const WrittenTable kWrittenTables[] = {
    {"交点表",
     "ID INTEGER IDENTITY,交点号 VARCHAR ,坐标N VARCHAR, 坐标E VARCHAR, 前缓和曲线长 VARCHAR, 半径 VARCHAR, "
     "后缓和曲线长 VARCHAR"},
    {"曲线表",
     "ID INTEGER IDENTITY,"
     "交点号 VARCHAR,"
     "坐标N DOUBLE PRECISION,"
     "坐标E DOUBLE PRECISION,"
     "偏角 DOUBLE PRECISION,"
     "曲线半径 DOUBLE PRECISION,"
     "前缓和曲线 DOUBLE PRECISION,"
     "后缓和曲线 DOUBLE PRECISION,"
     "前切线长 DOUBLE PRECISION,"
     "后切线长 DOUBLE PRECISION,"
     "曲线长 DOUBLE PRECISION,"
     "夹直线长 DOUBLE PRECISION,"
     "起点里程冠号 VARCHAR,"
     "起点里程 DOUBLE PRECISION,"
     "终点里程冠号 VARCHAR,"
     "终点里程 DOUBLE PRECISION,"
     "内业断链 DOUBLE PRECISION,"
     "附注 VARCHAR"},
    {"断链表",
     "ID INTEGER IDENTITY,"
     "等号左里程冠号 VARCHAR,"
     "等号左里程数 DOUBLE PRECISION,"
     "等号右里程冠号 VARCHAR,"
     "等号右里程数 DOUBLE PRECISION,"
     "断链长度 DOUBLE PRECISION,"
     "附注 VARCHAR"},
    {"坡度表",
     "ID INTEGER IDENTITY,"
     "变坡点里程冠号 VARCHAR,"
     "变坡点里程数 DOUBLE PRECISION,"
     "设计高程 DOUBLE PRECISION,"
     "坡度 DOUBLE PRECISION,"
     "坡长 DOUBLE PRECISION,"
     "竖曲线半径 DOUBLE PRECISION,"
     "竖曲线长度 DOUBLE PRECISION,"
     "附注 VARCHAR"},
    {"地面线表",
     "ID INTEGER IDENTITY,"
     "中桩里程冠号 VARCHAR,"
     "中桩里程数 DOUBLE PRECISION,"
     "地面高程 DOUBLE PRECISION,"
     "附注 VARCHAR"},
    {"大中桥",
     "ID INTEGER IDENTITY,"
     "桥梁名称 VARCHAR,"
     "中桩里程冠号 VARCHAR,"
     "中桩里程数 DOUBLE PRECISION,"
     "起点里程冠号 VARCHAR,"
     "起点里程数 DOUBLE PRECISION,"
     "终点里程冠号 VARCHAR,"
     "终点里程数 DOUBLE PRECISION,"
     "孔跨式样 VARCHAR,"
     "线数 VARCHAR,"
     "桥全长 DOUBLE PRECISION,"
     "100年水位高程 VARCHAR,"
     "附注 VARCHAR"},
    {"车站",
     "ID INTEGER IDENTITY,"
     "车站名称 VARCHAR,"
     "站房中心里程冠号 VARCHAR,"
     "站房中心里程数 DOUBLE PRECISION,"
     "起点里程冠号 VARCHAR,"
     "起点里程数 DOUBLE PRECISION,"
     "终点里程冠号 VARCHAR,"
     "终点里程数 DOUBLE PRECISION,"
     "车站类型 VARCHAR,"
     "插旗图块名 VARCHAR,"
     "附注 VARCHAR"},
    {"隧道",
     "ID INTEGER IDENTITY,"
     "隧道名称 VARCHAR,"
     "起点里程冠号 VARCHAR,"
     "起点里程数 DOUBLE PRECISION,"
     "终点里程冠号 VARCHAR,"
     "终点里程数 DOUBLE PRECISION,"
     "插旗方式 VARCHAR,"
     "附注 VARCHAR"},
    {"填挖表",
     "ID INTEGER IDENTITY,"
     "加桩里程冠号 VARCHAR,"
     "加桩里程数 DOUBLE PRECISION,"
     "地面高程 DOUBLE PRECISION, "
     "设计坡度  DOUBLE PRECISION, "
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
     "附注 VARCHAR"},
};

int FindWrittenTable(const CString& name) {
  for (int kind = 0; kind < static_cast<int>(std::size(kWrittenTables)); ++kind) {
    if (name == kWrittenTables[kind].name) return kind;
  }
  return -1;
}

CString RealText(const char* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

int Bounded(int count, int capacity) { return std::clamp(count, 0, capacity); }

}  // namespace

// ---- The write transaction -----------------------------------------------------

bool XLDataBase::BeginWrite(const CString& tableName, const char* createColumns, const CString& deleteSql) {
  if (connection.BeginTrans() < 0) {
    FailWrite(tableName, "无法开始数据库事务");
    return false;
  }
  if (!HasTableName(tableName)) {
    CString create = "create table " + tableName + "(" + createColumns + ")";
    if (!connection.ExecuteWhenOpen(create)) {
      FailWrite(tableName, "无法创建该表");
      return false;
    }
  }
  if (!connection.ExecuteWhenOpen(deleteSql)) {
    FailWrite(tableName, "无法删除表中原有的记录");
    return false;
  }
  sqlText = "select * from " + tableName;
  if (recordset.Open(sqlText, adCmdText, adOpenDynamic, adLockOptimistic) < 0) {
    FailWrite(tableName, "无法打开该表");
    return false;
  }
  return true;
}

bool XLDataBase::CommitWrite() {
  recordset.Close();
  return connection.CommitTrans() != FALSE;
}

int XLDataBase::FailWrite(const CString& tableName, const char* reason) {
  const CString detail = connection.GetLastErrorDescription();
  recordset.Close();
  connection.RollbackTrans();
  connection.Close();
  CString text;
  text.Format("写%s失败: %s!\n表中原有的记录保留不变。", tableName.GetString(), reason);
  if (!detail.IsEmpty()) text += "\n" + detail;
  AfxMessageBox(text);
  return 0;
}

void XLDataBase::PutText(long index, const CString& text) { recordset.PutCollectByIndex(index, _variant_t(text)); }

void XLDataBase::PutNumber(long index, double value) { recordset.PutCollectByIndex(index, _variant_t(value)); }

void XLDataBase::PutCentredSpan(const CentredSpanRow& row) {
  PutText(1, row.name);
  PutText(2, row.centrePrefix);
  PutNumber(3, row.centreChainage);
  PutText(4, row.startPrefix);
  PutNumber(5, row.startChainage);
  PutText(6, row.endPrefix);
  PutNumber(7, row.endChainage);
}

// ---- WriteTable -------------------------------------------------------------------

int XLDataBase::WriteTable(CString path, CString tableName) {
  if (!Connect(path)) return 0;
  RefreshTableNames();
  const int kind = FindWrittenTable(tableName);
  if (kind < 0) {
    CloseAll();
    return 1;
  }
  if (!CheckOpen()) return 0;
  bool hasRows = true;
  const int count = RowCountToWrite(kind, hasRows);
  if (count > 0 && !hasRows) return FailWrite(tableName, "内存中没有要写入的记录");
  if (!BeginWrite(tableName, kWrittenTables[kind].columns, "delete from " + tableName)) return 0;
  for (int i = 0; i < count; ++i) {
    if (!recordset.AddNew()) return FailWrite(tableName, "写入记录出错");
    PutText(0, IntText(i));
    PutRow(kind, i);
  }
  if (!recordset.Update()) return FailWrite(tableName, "写入记录出错");
  if (!CommitWrite()) return FailWrite(tableName, "无法提交写入的记录");
  FreeWrittenRows(kind);
  CloseAll();
  return 1;
}

int XLDataBase::RowCountToWrite(int kind, bool& hasRows) {
  hasRows = true;
  switch (kind) {
    case kIntersections: return Bounded(curveCount, kMaxIntersections);
    case kBreaks: return Bounded(breakCount, kMaxBreaks);
    case kCurves: hasRows = curves != nullptr; return std::max(curveWriteCount, 0);
    case kGrades: hasRows = grades != nullptr; return std::max(gradeCount, 0);
    case kGroundProfiles: hasRows = groundProfiles != nullptr; return std::max(groundProfileCount, 0);
    case kBridges: hasRows = bridges != nullptr; return std::max(bridgeCount, 0);
    case kStations: hasRows = stations != nullptr; return std::max(stationCount, 0);
    case kTunnels: hasRows = tunnels != nullptr; return std::max(tunnelCount, 0);
    case kFillCuts: hasRows = fillCuts != nullptr; return std::max(fillCutCount, 0);
    default: return 0;
  }
}

void XLDataBase::PutRow(int kind, int i) {
  switch (kind) {
    case kIntersections: {
      const IntersectionRow& row = intersections[i];
      PutText(1, RealText("%0.0lf", row.number));
      PutText(2, RealText("%0.3lf", row.x));
      PutText(3, RealText("%0.3lf", row.y));
      PutText(4, RealText("%0.0lf", row.L1));
      PutText(5, RealText("%0.0lf", row.R));
      PutText(6, RealText("%0.0lf", row.L2));
      break;
    }
    case kCurves: {
      const CurveRow& row = curves[i];
      PutText(1, IntText(row.number));
      const double numbers[] = {row.x,  row.y,  row.deflection,  row.R,           row.L1,
                                row.L2, row.T1, row.T2,          row.curveLength, row.straightAfter};
      long column = 2;
      for (double value : numbers) PutNumber(column++, value);
      PutText(12, row.startPrefix);
      PutNumber(13, row.startChainage);
      PutText(14, row.endPrefix);
      PutNumber(15, row.endChainage);
      PutNumber(16, row.officeBreak);
      break;
    }
    case kBreaks: {
      const ChainBreakRow& row = breaks[i];
      PutText(1, row.prefixBefore);
      PutNumber(2, row.before);
      PutText(3, row.prefixAfter);
      PutNumber(4, row.before + row.length);
      PutNumber(5, row.length);
      break;
    }
    case kGrades: {
      const GradeRow& row = grades[i];
      PutText(1, row.prefix);
      PutNumber(2, row.chainage);
      PutNumber(3, row.elevation);
      PutNumber(4, row.grade);
      PutNumber(5, row.gradeLength);
      PutNumber(6, row.verticalRadius);
      PutNumber(7, row.verticalLength);
      break;
    }
    case kGroundProfiles: {
      const GroundProfileRow& row = groundProfiles[i];
      PutText(1, row.prefix);
      PutNumber(2, row.chainage);
      PutNumber(3, row.elevation);
      break;
    }
    case kBridges: {
      const BridgeRow& row = bridges[i];
      PutCentredSpan(row);
      PutText(8, row.span);
      PutText(9, "1");
      PutNumber(10, row.totalLength);
      PutText(11, row.floodLevel);
      break;
    }
    case kStations: {
      const StationRow& row = stations[i];
      PutCentredSpan(row);
      PutNumber(8, row.stationType);
      if (row.flagBlockName.IsEmpty()) PutNumber(9, row.flagBlock);
      else PutText(9, row.flagBlockName);
      break;
    }
    case kTunnels: {
      const TunnelRow& row = tunnels[i];
      PutText(1, row.name);
      PutText(2, row.startPrefix);
      PutNumber(3, row.startChainage);
      PutText(4, row.endPrefix);
      PutNumber(5, row.endChainage);
      PutText(6, row.flagStyle);
      break;
    }
    case kFillCuts: {
      const FillCutRow& row = fillCuts[i];
      PutText(1, row.prefix);
      const double numbers[] = {row.chainage,       row.groundElevation, row.designGrade,
                                row.shoulderDesignElevation, row.verticalOrdinate, row.centreLift,
                                row.centreHeight,   row.shoulderBuildElevation, row.widening,
                                row.rightWidening};
      long column = 2;
      for (double value : numbers) PutNumber(column++, value);
      if (std::fabs(row.shoulderBuildWidth) > 1e-5) PutNumber(12, row.shoulderBuildWidth);
      PutNumber(13, row.leftSpacing);
      PutNumber(14, row.rightSpacing);
      PutNumber(15, row.separationWidth);
      PutText(16, IntText(row.sectionInfo));
      PutText(17, row.remark);
      break;
    }
    default: break;
  }
}

void XLDataBase::FreeWrittenRows(int kind) {
  switch (kind) {
    case kCurves:
      // curveCount stays: it is also the number of intersection rows.
      FreeRows(curves, curveWriteCount);
      break;
    case kGrades: FreeRows(grades, gradeCount); break;
    case kGroundProfiles: FreeRows(groundProfiles, groundProfileCount); break;
    case kBridges: FreeRows(bridges, bridgeCount); break;
    case kStations: FreeRows(stations, stationCount); break;
    case kTunnels: FreeRows(tunnels, tunnelCount); break;
    case kFillCuts: FreeRows(fillCuts, fillCutCount); break;
    default: break;  // 交点表 and 断链表 are held inline and kept
  }
}
