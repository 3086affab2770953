// XLDataBase of the plan module: the connection, the table lister and
// LoadSchemeTables, which reads one curve, break or structure table.

#include "XLDataBase.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "arx/edoutput.h"
#include "mfc/app.h"
#include "project/GbkText.h"
#include "project/SchemeValues.h"
#include "project/TableList.h"

namespace {

const char kConnectPrefix[] = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// A tunnel end is blank when its prefix is one of these and its mileage is
// below kBlankMileage.
bool IsBlankPrefix(const CString& prefix) { return prefix == "" || prefix == " " || prefix == "  "; }
constexpr double kBlankMileage = 0.1;

// The leading integer of a text (atoi), held within the 16-bit range.
short LeadingShort(const CString& text) {
  const long value = std::strtol(text.GetString(), nullptr, 10);
  if (value > std::numeric_limits<short>::max()) return std::numeric_limits<short>::max();
  if (value < std::numeric_limits<short>::min()) return std::numeric_limits<short>::min();
  return static_cast<short>(value);
}

}  // namespace

XLDataBase::XLDataBase() { recordset.SetAdoConnection(&connection); }

XLDataBase::~XLDataBase() {
  Clear();
  recordset.Close();
  connection.Close();
}

void XLDataBase::Clear() {
  traverse.clear();
  stations.clear();
  benchMarks.clear();
  tunnels.clear();
  bridges.clear();
  culverts.clear();
  curves.clear();
  intersectionPoints.clear();
  breaks.clear();
  sideCurves.clear();
  sideBreaks.clear();
}

int XLDataBase::ListTableNames() { return ::ListTableNames(connection, tableNames); }

bool XLDataBase::HasTableName(const CString& name) const { return ::HasTableName(tableNames, name.GetString()); }

// ---- Which table ---------------------------------------------------------------

XLDataBase::TableInfo XLDataBase::Recognise(const CString& tableName) {
  // In the order in which the names are tested.
  struct Name {
    const char* base;
    TableKind kind;
  };
  static const Name kStructureTables[] = {
      {"隧道", TableKind::kTunnel},      {"大中桥", TableKind::kBridge},   {"小桥涵", TableKind::kCulvert},
      {"水准点表", TableKind::kBenchMark}, {"导线表", TableKind::kTraverse}, {"车站", TableKind::kStation},
  };
  for (const Name& n : kStructureTables) {
    if (tableName == n.base) return {n.kind, false};
    if (tableName == CString("左线绕行段") + n.base || tableName == CString("右线绕行段") + n.base) {
      return {n.kind, true};
    }
  }
  if (tableName == "曲线表") return {TableKind::kCurve, false};
  if (tableName == "断链表") return {TableKind::kBreak, false};
  if (tableName == "左线曲线表" || tableName == "右线曲线表") return {TableKind::kSideCurve, false};
  if (tableName == "左线断链表" || tableName == "右线断链表") return {TableKind::kSideBreak, false};
  return {TableKind::kNone, false};
}

void XLDataBase::EmptyArrayOf(TableKind kind) {
  switch (kind) {
    case TableKind::kTunnel: tunnels.clear(); break;
    case TableKind::kBridge: bridges.clear(); break;
    case TableKind::kCulvert: culverts.clear(); break;
    case TableKind::kBenchMark: benchMarks.clear(); break;
    case TableKind::kTraverse: traverse.clear(); break;
    case TableKind::kStation: stations.clear(); break;
    case TableKind::kCurve:
      curves.clear();
      intersectionPoints.clear();
      break;
    case TableKind::kBreak: breaks.clear(); break;
    case TableKind::kSideCurve: sideCurves.clear(); break;
    case TableKind::kSideBreak: sideBreaks.clear(); break;
    case TableKind::kNone: break;
  }
}

// ---- LoadSchemeTables -------------------------------------------------------------

bool XLDataBase::LoadSchemeTables(const CString& path, const CString& tableName, bool isConnectionString) {
  recordset.Close();
  if (connection.IsOpen()) connection.Close();
  const CString connect = isConnectionString ? path : CString(kConnectPrefix) + path;
  if (!connection.Open(connect, -1)) {
    AfxMessageBox("连接数据库失败!");
    return false;
  }
  sqlText = "select * from " + tableName;
  if (!connection.IsOpen()) {
    acedAlert("数据库没有打开或已经关闭!");
    return false;
  }
  recordset.SetAdoConnection(&connection);
  const TableInfo table = Recognise(tableName);
  const int opened = recordset.Open(sqlText, adCmdText, adOpenDynamic, adLockOptimistic);
  if (opened != 1) {
    acutPrintf("没有记录!\n");
    // A table that holds no rows now has no records; a query that failed
    // (no such table) leaves the arrays as they were.
    if (opened == 0) EmptyArrayOf(table.kind);
  } else {
    recordset.MoveFirst();
    m_table = tableName;
    m_cut = false;
    ReadTable(table.kind, table.detour);
  }
  recordset.Close();
  connection.Close();
  return true;
}

// ---- Columns of the current row -------------------------------------------------

// A null value reads as an empty text, so that an absent prefix stays empty in
// the chainage texts.
CString XLDataBase::Text(const char* column) {
  CString text;
  if (!recordset.GetValueTextByName(text, column) || text == "NULL") text.Empty();
  return text;
}

CString XLDataBase::TextAt(long index) {
  CString text;
  if (!recordset.GetValueText(text, index) || text == "NULL") text.Empty();
  return text;
}

double XLDataBase::Number(const char* column) { return std::atof(Text(column).GetString()); }

double XLDataBase::NumberAt(long index) { return std::atof(TextAt(index).GetString()); }

int XLDataBase::DetourIndex() { return RoundedInt(Number("绕行段编号")); }

void XLDataBase::CopyField(char* field, size_t fieldSize, size_t gbkWidth, const char* text) {
  const char* source = text != nullptr ? text : "";
  const size_t copied = CopyTextBounded(field, fieldSize, source, gbkWidth - 1);
  if (copied < std::strlen(source) && !m_cut) {
    m_cut = true;
    acutPrintf("\n%s第%d行的文字\"%s\"超过%d个字节,已截断为\"%s\"!\n", m_table.GetString(), m_row + 1, source,
               static_cast<int>(gbkWidth - 1), field);
  }
}

void XLDataBase::ChainageField(char* field, size_t fieldSize, size_t gbkWidth, const CString& prefix,
                               double mileage) {
  // Room for the prefix and any number the text may show.
  std::string text(static_cast<size_t>(prefix.GetLength()) + 400, '\0');
  ChainageToText(prefix, mileage, text.data(), text.size());
  CopyField(field, fieldSize, gbkWidth, text.c_str());
}

// ---- Readers --------------------------------------------------------------------------

template <class Record, class Fill>
void XLDataBase::ReadRows(std::vector<Record>& records, int limit, Fill fill) {
  long count = recordset.GetRecordCount();
  if (count > limit) {
    acutPrintf("\n%s的记录超过%d条,只读入了前%d条!\n", m_table.GetString(), limit, limit);
    count = limit;
  }
  records.assign(static_cast<size_t>(count > 0 ? count : 0), Record{});
  recordset.MoveFirst();
  size_t stored = 0;
  for (m_row = 0; stored < records.size() && !recordset.IsEOF(); ++m_row) {
    if (fill(records[stored])) ++stored;
    if (!recordset.MoveNext()) break;
  }
  records.resize(stored);
}

void XLDataBase::ReadTable(TableKind kind, bool detour) {
  switch (kind) {
    case TableKind::kTunnel:
      ReadRows(tunnels, kMaxStructureRows, [&](TunnelRecord& r) {
        r = TunnelRecord{};
        r.name = Text("隧道名称");
        r.startPrefix = Text("起点里程冠号");
        r.endPrefix = Text("终点里程冠号");
        r.flagMode = Text("插旗方式");
        r.startMileage = Number("起点里程数");
        r.endMileage = Number("终点里程数");
        r.noteNumber = LeadingShort(Text("附注"));
        if (detour) r.detourIndex = DetourIndex();
        ChainageField(r.startText, sizeof r.startText, TunnelRecord::kStartTextGbk, r.startPrefix, r.startMileage);
        ChainageField(r.endText, sizeof r.endText, TunnelRecord::kEndTextGbk, r.endPrefix, r.endMileage);
        const bool blankStart = IsBlankPrefix(r.startPrefix) && r.startMileage < kBlankMileage;
        const bool blankEnd = IsBlankPrefix(r.endPrefix) && r.endMileage < kBlankMileage;
        return !(blankStart || blankEnd);
      });
      break;
    case TableKind::kBridge:
      ReadRows(bridges, kMaxStructureRows, [&](BridgeRecord& r) {
        r = BridgeRecord{};
        r.name = Text("桥梁名称");
        r.startPrefix = Text("起点里程冠号");
        r.endPrefix = Text("终点里程冠号");
        r.centrePrefix = Text("中心里程冠号");
        r.centreMileage = Number("中心里程数");
        r.startMileage = Number("起点里程数");
        r.endMileage = Number("终点里程数");
        r.span = Text("孔跨式样");
        r.waterLevel = Text("100年水位高程");
        r.fullLength = Number("桥全长");
        r.trackCount = RoundedInt(Number("线数"));
        if (detour) r.detourIndex = DetourIndex();
        r.waterLevel = CutToTwoDecimals(r.waterLevel);
        ChainageField(r.centreText, sizeof r.centreText, BridgeRecord::kCentreTextGbk, r.centrePrefix,
                      r.centreMileage);
        ChainageField(r.startText, sizeof r.startText, BridgeRecord::kTextGbk, r.startPrefix, r.startMileage);
        ChainageField(r.endText, sizeof r.endText, BridgeRecord::kTextGbk, r.endPrefix, r.endMileage);
        return true;
      });
      break;
    case TableKind::kCulvert:
      ReadRows(culverts, kMaxStructureRows, [&](CulvertRecord& r) {
        r = CulvertRecord{};
        r.centrePrefix = Text("中心里程冠号");
        r.centreMileage = Number("中心里程数");
        r.span = Text("孔跨式样");
        r.leftLength = Number("左横向长度");
        r.rightLength = Number("右横向长度");
        r.crossingAngle = Number("交角");
        r.use = Number("用途");
        r.flagMode = Number("插旗方式");
        r.note = Text("附注");
        // The schema's culvert tables have no outlet levels: a missing column reads as 0.
        r.leftOutletLevel = Number("左涵口标高");
        r.rightOutletLevel = Number("右涵口标高");
        if (detour) r.detourIndex = DetourIndex();
        return true;
      });
      break;
    case TableKind::kBenchMark:
      ReadRows(benchMarks, kMaxStructureRows, [&](BenchMarkRecord& r) {
        r = BenchMarkRecord{};
        r.number = Text("水准点编号");
        r.prefix = Text("里程冠号");
        r.elevation = Number("高程");
        r.mileage = Number("里程数");
        r.offset = Number("距中线距离");
        r.N = Number("坐标N");
        r.E = Number("坐标E");
        if (detour) r.detourIndex = DetourIndex();
        return true;
      });
      break;
    case TableKind::kTraverse:
      ReadRows(traverse, kMaxStructureRows, [&](TraverseRecord& r) {
        r = TraverseRecord{};
        r.station = Text("桩号");
        r.elevation = Number("高程");
        r.N = Number("纬距");
        r.E = Number("经距");
        r.bearing = Number("方位角");
        if (detour) r.detourIndex = DetourIndex();
        return true;
      });
      break;
    case TableKind::kStation:
      ReadRows(stations, kMaxStructureRows, [&](StationRecord& r) {
        r = StationRecord{};
        r.centrePrefix = Text("站房中心里程冠号");
        r.name = Text("车站名称");
        r.flagBlockName = Text("插旗图块名");
        r.centreMileage = Number("站房中心里程数");
        if (detour) r.detourIndex = DetourIndex();
        ChainageField(r.centreText, sizeof r.centreText, StationRecord::kTextGbk, r.centrePrefix, r.centreMileage);
        return true;
      });
      break;
    case TableKind::kCurve:
      ReadRows(curves, kMaxCurveRows, [&](PlanCurveRecord& r) {
        r = PlanCurveRecord{};
        r.ipNumber = TruncatedInt(Number("交点号"));
        r.N = Number("坐标N");
        r.E = Number("坐标E");
        r.deflection = Number("偏角");
        r.R = Number("曲线半径");
        r.L1 = Number("前缓和曲线");
        r.L2 = Number("后缓和曲线");
        r.T1 = Number("前切线长");
        r.T2 = Number("后切线长");
        r.curveLength = Number("曲线长");
        r.startPrefix = Text("起点里程冠号");
        r.endPrefix = Text("终点里程冠号");
        r.startMileage = Number("起点里程");
        r.endMileage = Number("终点里程");
        r.officeBreak = Number("内业断链");
        return true;
      });
      intersectionPoints.resize(curves.size());
      for (size_t i = 0; i < curves.size(); ++i) {
        const PlanCurveRecord& c = curves[i];
        intersectionPoints[i] = IntersectionPoint{static_cast<double>(c.ipNumber), c.N, c.E, c.L1, c.R, c.L2};
      }
      break;
    case TableKind::kBreak:
      ReadRows(breaks, kMaxBreakRows, [&](BreakRecord& r) {
        r = BreakRecord{};
        r.before = Number("等号左里程数");
        r.length = Number("断链长度");
        CopyField(r.prefixBefore, sizeof r.prefixBefore, kChainPrefixGbkMax + 1, Text("等号左里程冠号").GetString());
        CopyField(r.prefixAfter, sizeof r.prefixAfter, kChainPrefixGbkMax + 1, Text("等号右里程冠号").GetString());
        return true;
      });
      break;
    case TableKind::kSideCurve:
      // By position: 1 交点属性, 2 二线交点号, 3 一线交点号, 4 线间距, 5 坐标N,
      // 6 坐标E, 7 曲线半径, 8 前缓和曲线, 9 后缓和曲线, 10 内业断链.
      ReadRows(sideCurves, kMaxCurveRows, [&](SideLineRecord& r) {
        r = SideLineRecord{};
        r.kind = TruncatedInt(NumberAt(1));
        r.secondLineIp = TruncatedInt(NumberAt(2));
        r.N = NumberAt(5);
        r.E = NumberAt(6);
        r.L1 = NumberAt(8);
        r.R = NumberAt(7);
        r.L2 = NumberAt(9);
        r.firstLineIp = TruncatedInt(NumberAt(3));
        r.spacing = NumberAt(4);
        r.officeBreak = NumberAt(10);
        return true;
      });
      break;
    case TableKind::kSideBreak:
      // By position: 1 编号, 2 等号左里程冠号, 3 等号左里程数, 4 等号右里程冠号,
      // 5 等号右里程数, 6 附注.
      ReadRows(sideBreaks, kMaxBreakRows, [&](PlanBreakRecord& r) {
        r = PlanBreakRecord{};
        r.segment = RoundedInt(NumberAt(1));
        r.text = TextAt(6);
        r.before = NumberAt(3);
        r.after = NumberAt(5);
        r.prefixBefore = TextAt(2);
        r.prefixAfter = TextAt(4);
        return true;
      });
      break;
    case TableKind::kNone:
      break;
  }
}
