// XLDataBase: construction, the connection, the table lister and the reading
// of the scheme's tables (ReadTable).

#include "XLDataBase.h"

#include <cstdlib>

#include "XLDataBaseRows.h"
#include "arx/edoutput.h"
#include "mfc/app.h"
#include "project/SchemeValues.h"
#include "project/TableList.h"

namespace {

const char kConnectPrefix[] = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

}  // namespace

XLDataBase::XLDataBase() { recordset.SetAdoConnection(&connection); }

XLDataBase::~XLDataBase() {
  FreeRows(tunnels, tunnelCount);
  FreeRows(bridges, bridgeCount);
  FreeRows(stations, stationCount);
  FreeRows(grades, gradeCount);
  FreeRows(groundProfiles, groundProfileCount);
  FreeRows(curves, curveWriteCount);
  FreeRows(fillCuts, fillCutCount);
  FreeRows(quantities, quantityCount);
  FreeRows(trackStructures, trackStructureCount);
  FreeRows(sideCurves, sideCurveCount);
  FreeRows(sideBreaks, sideBreakCount);
  FreeRows(widenings, wideningCount);
  recordset.Close();
  connection.Close();
}

// ---- Connection -------------------------------------------------------------

bool XLDataBase::Connect(const CString& path) {
  recordset.Close();
  connection.Close();
  CString text = kConnectPrefix;
  text += path;
  if (!connection.Open(text, -1)) {
    AfxMessageBox("连接数据库失败!");
    return false;
  }
  return true;
}

bool XLDataBase::CheckOpen() {
  if (connection.IsOpen()) return true;
  acedAlert("数据库没有打开或已经关闭!");
  return false;
}

void XLDataBase::CloseAll() {
  recordset.Close();
  connection.Close();
}

bool XLDataBase::OpenRows(const CString& noRowsText) {
  if (!CheckOpen()) return false;
  if (recordset.Open(sqlText, adCmdText, adOpenDynamic, adLockOptimistic) != 1) {
    acutPrintf("%s", noRowsText.GetString());
    CloseAll();
    return false;
  }
  recordset.MoveFirst();
  return true;
}

// ---- Table lister -------------------------------------------------------------

int XLDataBase::ListTableNames() { return ::ListTableNames(connection, tableNames); }

bool XLDataBase::HasTableName(CString name) { return ::HasTableName(tableNames, name.GetString()); }

void XLDataBase::RefreshTableNames() {
  tableNames.RemoveAll();
  ListTableNames();
}

// ---- Columns of the current row -------------------------------------------------

// A null field is no text: it reads as "" rather than as the text "NULL",
// so that an empty prefix stays empty in the chainage texts.
CString XLDataBase::ColumnText(long index) {
  CString text;
  if (!recordset.GetValueText(text, index) || text == "NULL") text.Empty();
  return text;
}

CString XLDataBase::ColumnTextByName(const char* name) {
  CString text;
  if (!recordset.GetValueTextByName(text, name) || text == "NULL") text.Empty();
  return text;
}

double XLDataBase::ColumnNumber(long index) { return std::atof(ColumnText(index).GetString()); }

double XLDataBase::ColumnNumberByName(const char* name) { return std::atof(ColumnTextByName(name).GetString()); }

long XLDataBase::ColumnIndex(const char* name) {
  const long count = recordset.GetFieldCount();
  for (long i = 0; i < count; ++i) {
    if (recordset.GetFieldName(i) == name) return i;
  }
  return -1;
}

// ---- ReadTable ------------------------------------------------------------------

int XLDataBase::ReadTable(CString path, CString tableName) {
  if (!Connect(path)) return 0;
  sqlText = "select * from " + tableName;
  if (!OpenRows("没有记录!\n")) return 0;
  if (tableName == "隧道") {
    ReadTunnels(0);
  } else if (tableName == "基线轨道结构" || tableName == "左线轨道结构" || tableName == "右线轨道结构") {
    ReadTrackStructures();
  } else if (tableName == "大中桥") {
    ReadBridges(0);
  } else if (tableName == "车站") {
    ReadStations(0, false);
  } else if (tableName == "断链表") {
    ReadBreaks(tableName);
  } else if (tableName == "曲线表") {
    ReadCurves();
  } else if (tableName == "左线曲线表" || tableName == "右线曲线表") {
    ReadSideCurves();
  } else if (tableName == "左线断链表" || tableName == "右线断链表") {
    ReadSideBreaks();
  } else if (tableName == "坡度表") {
    ReadGrades(true);
  } else if (tableName == "地面线表") {
    ReadGroundProfiles();
  } else if (tableName == "填挖表") {
    ReadFillCuts();
  } else if (tableName == "横断面数量表") {
    ReadQuantities();
  } else if (tableName == "主要技术标准") {
    ReadTechStandards();
  } else if (tableName == "曲线加宽") {
    ReadWidenings();
  }
  CloseAll();
  return 1;
}

// ---- Readers of one table ---------------------------------------------------------
//
// Positions are those of the main tables; a detour table has 绕行段编号 in
// column 1, so its readers pass an offset of 1.

void XLDataBase::ReadTunnels(int offset) {
  ReadRows(recordset, tunnels, tunnelCount, [&](TunnelRow& row) {
    row.name = ColumnText(1 + offset);
    row.startPrefix = ColumnText(2 + offset);
    row.startChainage = ColumnNumber(3 + offset);
    row.endPrefix = ColumnText(4 + offset);
    row.endChainage = ColumnNumber(5 + offset);
    row.flagStyle = ColumnText(6 + offset);
    ChainageText3Decimals(row.startPrefix, row.startChainage, row.startText);
    ChainageText3Decimals(row.endPrefix, row.endChainage, row.endText);
    return true;
  });
}

void XLDataBase::ReadBridges(int offset) {
  ReadRows(recordset, bridges, bridgeCount, [&](BridgeRow& row) {
    row.name = ColumnText(1 + offset);
    row.centrePrefix = ColumnText(2 + offset);
    row.centreChainage = ColumnNumber(3 + offset);
    row.startPrefix = ColumnText(4 + offset);
    row.startChainage = ColumnNumber(5 + offset);
    row.endPrefix = ColumnText(6 + offset);
    row.endChainage = ColumnNumber(7 + offset);
    row.span = ColumnText(8 + offset);
    row.totalLength = ColumnNumber(10 + offset);
    row.floodLevel = CutToTwoDecimals(ColumnText(11 + offset));
    ChainageText3Decimals(row.centrePrefix, row.centreChainage, row.centreText);
    ChainageText3Decimals(row.startPrefix, row.startChainage, row.startText);
    ChainageText3Decimals(row.endPrefix, row.endChainage, row.endText);
    return true;
  });
}

void XLDataBase::ReadStations(int offset, bool needEnd) {
  ReadRows(recordset, stations, stationCount, [&](StationRow& row) {
    // A station without a start chainage (or, in a detour table, without an
    // end chainage) is passed over.
    if (ColumnText(5 + offset).IsEmpty()) return false;
    if (needEnd && ColumnText(7 + offset).IsEmpty()) return false;
    row.name = ColumnText(1 + offset);
    row.centrePrefix = ColumnText(2 + offset);
    row.centreChainage = ColumnNumber(3 + offset);
    row.startPrefix = ColumnText(4 + offset);
    row.startChainage = ColumnNumber(5 + offset);
    row.endPrefix = ColumnText(6 + offset);
    row.endChainage = ColumnNumber(7 + offset);
    row.stationType = ColumnNumber(8 + offset);
    row.flagBlockName = ColumnText(9 + offset);
    row.flagBlock = std::atof(row.flagBlockName.GetString());
    ChainageText3Decimals(row.centrePrefix, row.centreChainage, row.centreText);
    ChainageText3Decimals(row.startPrefix, row.startChainage, row.startText);
    ChainageText3Decimals(row.endPrefix, row.endChainage, row.endText);
    return true;
  });
}

void XLDataBase::ReadTrackStructures() {
  // The navigator names the height column 结构高度, the older tables 结构高度(mm).
  long height = ColumnIndex("结构高度(mm)");
  if (height < 0) height = ColumnIndex("结构高度");
  ReadRows(recordset, trackStructures, trackStructureCount, [&](TrackStructureRow& row) {
    row.endChainage = ColumnTextByName("分段终里程");
    row.structureType = ColumnTextByName("结构类型");
    row.height = height >= 0 ? ColumnNumber(height) : 0.0;
    return true;
  });
}

void XLDataBase::ReadBreaks(const CString& tableName) {
  int count = 0;
  while (!recordset.IsEOF() && count < kMaxBreaks) {
    ChainBreakRow& row = breaks[count];
    SetBreakPrefixes(row, ColumnTextByName("等号左里程冠号").GetString(),
                     ColumnTextByName("等号右里程冠号").GetString());
    row.before = ColumnNumberByName("等号左里程数");
    row.length = ColumnNumberByName("断链长度");
    ++count;
    if (!recordset.MoveNext()) break;
  }
  breakCount = count;
  if (count == kMaxBreaks && !recordset.IsEOF()) {
    acutPrintf("\n%s的记录超过%d条,只读入了前%d条!\n", tableName.GetString(), kMaxBreaks, kMaxBreaks);
  }
}

void XLDataBase::ReadCurves() {
  ReadRows(recordset, curves, curveCount, [&](CurveRow& row) {
    row.number = std::atoi(ColumnTextByName("交点号").GetString());
    row.x = ColumnNumberByName("坐标N");
    row.y = ColumnNumberByName("坐标E");
    row.L1 = ColumnNumberByName("前缓和曲线");
    row.R = ColumnNumberByName("曲线半径");
    row.L2 = ColumnNumberByName("后缓和曲线");
    row.startPrefix = ColumnTextByName("起点里程冠号");
    row.startChainage = ColumnNumberByName("起点里程");
    row.endPrefix = ColumnTextByName("终点里程冠号");
    row.endChainage = ColumnNumberByName("终点里程");
    row.deflection = ColumnNumberByName("偏角");
    row.T1 = ColumnNumberByName("前切线长");
    row.T2 = ColumnNumberByName("后切线长");
    row.curveLength = ColumnNumberByName("曲线长");
    row.straightAfter = ColumnNumberByName("夹直线长");
    row.officeBreak = ColumnNumberByName("内业断链");
    return true;
  });
}

void XLDataBase::ReadSideCurves() {
  ReadRows(recordset, sideCurves, sideCurveCount, [&](SideCurveRow& row) {
    row.kind = RoundedInt(ColumnNumber(1));
    row.secondLineIp = RoundedInt(ColumnNumber(2));
    row.baselineIp = RoundedInt(ColumnNumber(3));
    row.spacing = ColumnNumber(4);
    row.x = ColumnNumber(5);
    row.y = ColumnNumber(6);
    row.R = ColumnNumber(7);
    row.L1 = ColumnNumber(8);
    row.L2 = ColumnNumber(9);
    return true;
  });
}

void XLDataBase::ReadSideBreaks() {
  ReadRows(recordset, sideBreaks, sideBreakCount, [&](SideBreakRow& row) {
    row.number = RoundedInt(ColumnNumber(1));
    row.prefixBefore = ColumnText(2);
    row.before = ColumnNumber(3);
    row.prefixAfter = ColumnText(4);
    row.after = ColumnNumber(5);
    row.remark = ColumnText(6);
    return true;
  });
}

void XLDataBase::ReadGrades(bool withLength) {
  ReadRows(recordset, grades, gradeCount, [&](GradeRow& row) {
    row.prefix = ColumnTextByName("变坡点里程冠号");
    row.chainage = ColumnNumberByName("变坡点里程数");
    row.elevation = ColumnNumberByName("设计高程");
    row.verticalRadius = ColumnNumberByName("竖曲线半径");
    if (withLength) row.verticalLength = ColumnNumberByName("竖曲线长度");
    row.grade = ColumnNumberByName("坡度");
    row.gradeLength = ColumnNumberByName("坡长");
    return true;
  });
}

void XLDataBase::ReadGroundProfiles() {
  ReadRows(recordset, groundProfiles, groundProfileCount, [&](GroundProfileRow& row) {
    row.prefix = ColumnTextByName("中桩里程冠号");
    row.chainage = ColumnNumberByName("中桩里程数");
    row.elevation = ColumnNumberByName("地面高程");
    return true;
  });
}

void XLDataBase::ReadFillCuts() {
  ReadRows(recordset, fillCuts, fillCutCount, [&](FillCutRow& row) {
    row.prefix = ColumnTextByName("加桩里程冠号");
    row.chainage = ColumnNumberByName("加桩里程数");
    row.groundElevation = ColumnNumberByName("地面高程");
    return true;
  });
}

void XLDataBase::ReadQuantities() {
  ReadRows(recordset, quantities, quantityCount, [&](QuantityRow& row) {
    row.prefix = ColumnText(1);
    row.chainage = ColumnNumber(2);
    row.sectionKind = std::atoi(ColumnText(3).GetString());
    double* const inOrder[] = {&row.fillArea, &row.improvedArea, &row.drainArea, &row.stripArea,
                               &row.cutArea,  &row.cutI,         &row.cutII,     &row.cutIII,
                               &row.cutIV,    &row.cutV,         &row.cutVI,     &row.leftLandWidth,
                               &row.rightLandWidth};
    long column = 4;
    for (double* field : inOrder) *field = ColumnNumber(column++);
    return true;
  });
}

void XLDataBase::ReadTechStandards() {
  while (!recordset.IsEOF()) {
    railwayClass = ColumnTextByName("铁路等级");
    mainTrackCount = ColumnTextByName("正线数目");
    trackType = ColumnTextByName("轨道类型");
    tractionType = ColumnTextByName("牵引种类");
    targetSpeed = ColumnNumberByName("速度目标");
    standardSpacing = ColumnNumberByName("标准线间距");
    recommendedRadiusMin = ColumnNumberByName("推荐半径小");
    recommendedRadiusMax = ColumnNumberByName("推荐半径大");
    rulingGrade = ColumnNumberByName("限制坡度");
    downRulingGrade = ColumnNumberByName("下行限坡");
    usefulLength = ColumnNumberByName("有效长");
    generalMinRadius = ColumnNumberByName("一般最小曲线半径");
    hardMinRadius = ColumnNumberByName("困难最小曲线半径");
    if (!recordset.MoveNext()) break;
  }
}

void XLDataBase::ReadWidenings() {
  ReadRows(recordset, widenings, wideningCount, [&](WideningRow& row) {
    row.r1 = ColumnNumberByName("r1");
    row.r2 = ColumnNumberByName("r2");
    row.jk = ColumnNumberByName("jk");
    return true;
  });
}
