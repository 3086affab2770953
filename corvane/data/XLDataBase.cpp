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

// The chainage texts of a bridge or station row from its prefixes and numbers.
void SetCentredSpanTexts(CentredSpanRow& row) {
  ChainageText3Decimals(row.centrePrefix, row.centreChainage, row.centreText);
  ChainageText3Decimals(row.startPrefix, row.startChainage, row.startText);
  ChainageText3Decimals(row.endPrefix, row.endChainage, row.endText);
}

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

long XLDataBase::ColumnIndex(const char* name) {
  const long count = recordset.GetFieldCount();
  for (long i = 0; i < count; ++i) {
    if (recordset.GetFieldName(i) == name) return i;
  }
  return -1;
}

// ---- Checked numbers -------------------------------------------------------------

void XLDataBase::BeginChecks(const CString& tableName) {
  readRefused = false;
  m_numbers.Begin(tableName);
}

double XLDataBase::NeededNumber(long index) { return m_numbers.NeededAt(recordset, index); }
double XLDataBase::NeededNumberByName(const char* name) { return m_numbers.NeededByName(recordset, name); }
double XLDataBase::OptionalNumber(long index) { return m_numbers.OptionalAt(recordset, index); }
double XLDataBase::OptionalNumberByName(const char* name) { return m_numbers.OptionalByName(recordset, name); }

// ---- ReadTable ------------------------------------------------------------------

int XLDataBase::ReadTable(CString path, CString tableName) {
  BeginChecks(tableName);
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
  return EndChecks(tableName);
}

int XLDataBase::EndChecks(const CString& tableName) {
  readRefused = m_numbers.Refused();
  if (!readRefused) return 1;
  // Nothing of a refused table stays to be built from.
  auto is = [&](const char* kind) { return tableName.Find(kind) >= 0; };
  if (is("隧道")) FreeRows(tunnels, tunnelCount);
  if (is("大中桥")) FreeRows(bridges, bridgeCount);
  if (is("车站")) FreeRows(stations, stationCount);
  if (is("轨道结构")) FreeRows(trackStructures, trackStructureCount);
  if (tableName == "断链表") breakCount = 0;
  if (tableName == "曲线表") {
    FreeRows(curves, curveWriteCount);
    curveCount = 0;
  }
  if (tableName != "曲线表" && is("曲线表")) FreeRows(sideCurves, sideCurveCount);
  if (tableName != "断链表" && is("断链表")) FreeRows(sideBreaks, sideBreakCount);
  if (is("坡度表")) FreeRows(grades, gradeCount);
  if (tableName == "地面线表") FreeRows(groundProfiles, groundProfileCount);
  if (is("填挖表")) FreeRows(fillCuts, fillCutCount);
  if (tableName == "横断面数量表") FreeRows(quantities, quantityCount);
  if (tableName == "曲线加宽") FreeRows(widenings, wideningCount);
  return 0;
}

// ---- Readers of one table ---------------------------------------------------------
//
// Positions are those of the main tables; a detour table has 绕行段编号 in
// column 1, so its readers pass an offset of 1.

void XLDataBase::ReadTunnels(int offset) {
  if (!m_numbers.RequireColumnCount(recordset, 6 + offset, "插旗方式")) return;
  ReadRows(recordset, tunnels, tunnelCount, m_numbers, [&](TunnelRow& row) {
    row.name = ColumnText(1 + offset);
    row.startPrefix = ColumnText(2 + offset);
    row.startChainage = NeededNumber(3 + offset);
    row.endPrefix = ColumnText(4 + offset);
    row.endChainage = NeededNumber(5 + offset);
    row.flagStyle = ColumnText(6 + offset);
    ChainageText3Decimals(row.startPrefix, row.startChainage, row.startText);
    ChainageText3Decimals(row.endPrefix, row.endChainage, row.endText);
    return true;
  });
}

void XLDataBase::ReadCentredSpan(CentredSpanRow& row, int offset) {
  row.name = ColumnText(1 + offset);
  row.centrePrefix = ColumnText(2 + offset);
  row.centreChainage = OptionalNumber(3 + offset);
  row.startPrefix = ColumnText(4 + offset);
  row.startChainage = NeededNumber(5 + offset);
  row.endPrefix = ColumnText(6 + offset);
  row.endChainage = NeededNumber(7 + offset);
}

void XLDataBase::ReadBridges(int offset) {
  if (!m_numbers.RequireColumnCount(recordset, 11 + offset, "100年水位高程")) return;
  ReadRows(recordset, bridges, bridgeCount, m_numbers, [&](BridgeRow& row) {
    ReadCentredSpan(row, offset);
    row.span = ColumnText(8 + offset);
    row.totalLength = OptionalNumber(10 + offset);
    row.floodLevel = CutToTwoDecimals(ColumnText(11 + offset));
    SetCentredSpanTexts(row);
    return true;
  });
}

void XLDataBase::ReadStations(int offset, bool needEnd) {
  if (!m_numbers.RequireColumnCount(recordset, 9 + offset, "插旗图块名")) return;
  ReadRows(recordset, stations, stationCount, m_numbers, [&](StationRow& row) {
    // A station without a start chainage (or, in a detour table, without an
    // end chainage) is passed over.
    if (ColumnText(5 + offset).IsEmpty()) return false;
    if (needEnd && ColumnText(7 + offset).IsEmpty()) return false;
    ReadCentredSpan(row, offset);
    row.stationType = ColumnNumber(8 + offset);
    row.flagBlockName = ColumnText(9 + offset);
    row.flagBlock = std::atof(row.flagBlockName.GetString());
    SetCentredSpanTexts(row);
    return true;
  });
}

void XLDataBase::ReadTrackStructures() {
  // The navigator names the height column 结构高度, the older tables 结构高度(mm).
  long height = ColumnIndex("结构高度(mm)");
  if (height < 0) height = ColumnIndex("结构高度");
  ReadRows(recordset, trackStructures, trackStructureCount, m_numbers, [&](TrackStructureRow& row) {
    row.endChainage = ColumnTextByName("分段终里程");
    row.structureType = ColumnTextByName("结构类型");
    row.height = height >= 0 ? OptionalNumber(height) : 0.0;
    return true;
  });
}

void XLDataBase::ReadBreaks(const CString& tableName) {
  if (!m_numbers.RequireColumns(recordset, {"等号左里程数", "断链长度"})) return;
  int count = 0;
  while (!recordset.IsEOF() && count < kMaxBreaks && !m_numbers.Refused()) {
    m_numbers.SetRow(count + 1);
    ChainBreakRow& row = breaks[count];
    SetBreakPrefixes(row, ColumnTextByName("等号左里程冠号").GetString(),
                     ColumnTextByName("等号右里程冠号").GetString());
    row.before = NeededNumberByName("等号左里程数");
    row.length = NeededNumberByName("断链长度");
    ++count;
    if (!recordset.MoveNext()) break;
  }
  breakCount = count;
  if (count == kMaxBreaks && !recordset.IsEOF()) {
    acutPrintf("\n%s的记录超过%d条,只读入了前%d条!\n", tableName.GetString(), kMaxBreaks, kMaxBreaks);
  }
}

void XLDataBase::ReadCurves() {
  // The alignment is built from the coordinates, radii and transitions: a
  // table without one of them is refused before any row is read.
  if (!m_numbers.RequireColumns(recordset, {"坐标N", "坐标E", "曲线半径", "前缓和曲线", "后缓和曲线"})) return;
  ReadRows(recordset, curves, curveCount, m_numbers, [&](CurveRow& row) {
    row.number = std::atoi(ColumnTextByName("交点号").GetString());
    row.x = NeededNumberByName("坐标N");
    row.y = NeededNumberByName("坐标E");
    row.L1 = CurveLength(OptionalNumberByName("前缓和曲线"), "前缓和曲线");
    row.R = CurveRadius(OptionalNumberByName("曲线半径"), "曲线半径");
    row.L2 = CurveLength(OptionalNumberByName("后缓和曲线"), "后缓和曲线");
    row.startPrefix = ColumnTextByName("起点里程冠号");
    row.startChainage = OptionalNumberByName("起点里程");
    row.endPrefix = ColumnTextByName("终点里程冠号");
    row.endChainage = OptionalNumberByName("终点里程");
    row.deflection = OptionalNumberByName("偏角");
    row.T1 = OptionalNumberByName("前切线长");
    row.T2 = OptionalNumberByName("后切线长");
    row.curveLength = OptionalNumberByName("曲线长");
    row.straightAfter = OptionalNumberByName("夹直线长");
    row.officeBreak = OptionalNumberByName("内业断链");
    return true;
  });
}

void XLDataBase::ReadSideCurves() {
  if (!m_numbers.RequireColumnCount(recordset, 9, "后缓和曲线")) return;
  ReadRows(recordset, sideCurves, sideCurveCount, m_numbers, [&](SideCurveRow& row) {
    row.kind = RoundedInt(OptionalNumber(1));
    row.secondLineIp = RoundedInt(OptionalNumber(2));
    row.baselineIp = RoundedInt(OptionalNumber(3));
    row.spacing = OptionalNumber(4);
    row.x = NeededNumber(5);
    row.y = NeededNumber(6);
    row.R = CurveRadius(OptionalNumber(7), "曲线半径");
    row.L1 = CurveLength(OptionalNumber(8), "前缓和曲线");
    row.L2 = CurveLength(OptionalNumber(9), "后缓和曲线");
    return true;
  });
}

void XLDataBase::ReadSideBreaks() {
  if (!m_numbers.RequireColumnCount(recordset, 6, "附注")) return;
  ReadRows(recordset, sideBreaks, sideBreakCount, m_numbers, [&](SideBreakRow& row) {
    row.number = RoundedInt(OptionalNumber(1));
    row.prefixBefore = ColumnText(2);
    row.before = NeededNumber(3);
    row.prefixAfter = ColumnText(4);
    row.after = NeededNumber(5);
    row.remark = ColumnText(6);
    return true;
  });
}

void XLDataBase::ReadGrades(bool withLength) {
  if (!m_numbers.RequireColumns(recordset, {"变坡点里程数", "设计高程"})) return;
  ReadRows(recordset, grades, gradeCount, m_numbers, [&](GradeRow& row) {
    row.prefix = ColumnTextByName("变坡点里程冠号");
    row.chainage = NeededNumberByName("变坡点里程数");
    row.elevation = NeededNumberByName("设计高程");
    row.verticalRadius = OptionalNumberByName("竖曲线半径");
    if (withLength) row.verticalLength = OptionalNumberByName("竖曲线长度");
    row.grade = OptionalNumberByName("坡度");
    row.gradeLength = OptionalNumberByName("坡长");
    return true;
  });
}

template <class Row>
void XLDataBase::ReadGroundPoints(Row*& rows, int& count, const char* prefixColumn, const char* chainageColumn,
                                  double Row::*elevation) {
  if (!m_numbers.RequireColumns(recordset, {chainageColumn, "地面高程"})) return;
  ReadRows(recordset, rows, count, m_numbers, [&](Row& row) {
    row.prefix = ColumnTextByName(prefixColumn);
    row.chainage = NeededNumberByName(chainageColumn);
    row.*elevation = NeededNumberByName("地面高程");
    return true;
  });
}

void XLDataBase::ReadGroundProfiles() {
  ReadGroundPoints(groundProfiles, groundProfileCount, "中桩里程冠号", "中桩里程数", &GroundProfileRow::elevation);
}

void XLDataBase::ReadFillCuts() {
  ReadGroundPoints(fillCuts, fillCutCount, "加桩里程冠号", "加桩里程数", &FillCutRow::groundElevation);
}

void XLDataBase::ReadQuantities() {
  if (!m_numbers.RequireColumnCount(recordset, 16, "右用地宽")) return;
  ReadRows(recordset, quantities, quantityCount, m_numbers, [&](QuantityRow& row) {
    row.prefix = ColumnText(1);
    row.chainage = NeededNumber(2);
    row.sectionKind = std::atoi(ColumnText(3).GetString());
    double* const inOrder[] = {&row.fillArea, &row.improvedArea, &row.drainArea, &row.stripArea,
                               &row.cutArea,  &row.cutI,         &row.cutII,     &row.cutIII,
                               &row.cutIV,    &row.cutV,         &row.cutVI,     &row.leftLandWidth,
                               &row.rightLandWidth};
    long column = 4;
    for (double* field : inOrder) *field = OptionalNumber(column++);
    return true;
  });
}

void XLDataBase::ReadTechStandards() {
  while (!recordset.IsEOF() && !m_numbers.Refused()) {
    m_numbers.SetRow(m_numbers.Row() + 1);
    railwayClass = ColumnTextByName("铁路等级");
    mainTrackCount = ColumnTextByName("正线数目");
    trackType = ColumnTextByName("轨道类型");
    tractionType = ColumnTextByName("牵引种类");
    targetSpeed = OptionalNumberByName("速度目标");
    standardSpacing = OptionalNumberByName("标准线间距");
    recommendedRadiusMin = OptionalNumberByName("推荐半径小");
    recommendedRadiusMax = OptionalNumberByName("推荐半径大");
    rulingGrade = OptionalNumberByName("限制坡度");
    downRulingGrade = OptionalNumberByName("下行限坡");
    usefulLength = OptionalNumberByName("有效长");
    generalMinRadius = OptionalNumberByName("一般最小曲线半径");
    hardMinRadius = OptionalNumberByName("困难最小曲线半径");
    if (!recordset.MoveNext()) break;
  }
}

void XLDataBase::ReadWidenings() {
  if (!m_numbers.RequireColumns(recordset, {"r1", "r2", "jk"})) return;
  ReadRows(recordset, widenings, wideningCount, m_numbers, [&](WideningRow& row) {
    row.r1 = NeededNumberByName("r1");
    row.r2 = NeededNumberByName("r2");
    row.jk = NeededNumberByName("jk");
    return true;
  });
}
