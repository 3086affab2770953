// XLDataBase::ReadGroundLineTables: the ground-line, user rock-layer,
// second-line break and construction-line tables read into the object.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "XLDataBase.h"
#include "arx/edoutput.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "project/GbkText.h"

namespace {

// A number truncated toward zero; no number (NaN) gives 0, and a value
// beyond the int range is held at its end.
int TruncatedInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

// The leading integer of a text (0 when there is none), held within the int
// range.
int IntegerOfText(const CString& text) {
  const long value = std::strtol(text.GetString(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// The field of the current row as text: "" for a null field or one that
// cannot be read.
CString FieldText(CAdoRecordSet& recordset, long index) {
  CString text;
  if (!recordset.GetValueText(text, index) || text == "NULL") text.Empty();
  return text;
}

CString FieldTextByName(CAdoRecordSet& recordset, const char* name) {
  CString text;
  if (!recordset.GetValueTextByName(text, name) || text == "NULL") text.Empty();
  return text;
}

double FieldNumber(CAdoRecordSet& recordset, long index) { return std::atof(FieldText(recordset, index).GetString()); }

double FieldNumberByName(CAdoRecordSet& recordset, const char* name) {
  return std::atof(FieldTextByName(recordset, name).GetString());
}

// Replaces `rows` by `walked` new records (none, null, for 0) and fills them
// from the recordset's rows in order, `fill` taking one row; stops at the end
// of the rows or when the recordset cannot move on.
template <class Record, class Fill>
void ReadNamedRows(CAdoRecordSet& recordset, long walked, std::unique_ptr<Record[]>& rows, int& count, Fill fill) {
  rows.reset();
  count = static_cast<int>(std::clamp<long>(walked, 0, INT_MAX));
  if (count > 0) rows = std::make_unique<Record[]>(static_cast<size_t>(count));
  recordset.MoveFirst();
  for (int i = 0; i < count && !recordset.IsEOF(); ++i) {
    fill(rows[static_cast<size_t>(i)]);
    if (!recordset.MoveNext()) break;
  }
}

}  // namespace

int XLDataBase::ReadGroundLineTables(CString path, CString tableName, CString filter) {
  sqlText = "select * from " + tableName;
  if (!filter.IsEmpty()) sqlText += " where " + filter;
  sqlText += " Order By ID";
  if (!Connect(path)) return 0;
  recordset.SetAdoConnection(&connection);

  const GroundTable table = ClassifyGroundTable(tableName.GetString());
  if (table.kind == GroundTableKind::kUserRockLayer) {
    rockLayerCount = 0;
    rockLayers.RemoveAll();
  } else if (table.IsGroundLine()) {
    groundLineCount = 0;
    groundLines.RemoveAll();
  }

  if (recordset.Open(sqlText, adCmdText, adOpenDynamic, adLockOptimistic) != 1) {
    recordset.Close();
    return 0;
  }
  switch (table.kind) {
    case GroundTableKind::kSecondLineBreaks: ReadSecondLineBreaks(); break;
    case GroundTableKind::kGroundLine: ReadPointRows(tableName, table, groundLines, groundLineCount); break;
    case GroundTableKind::kUserRockLayer: ReadPointRows(tableName, table, rockLayers, rockLayerCount); break;
    case GroundTableKind::kConstructionLines: ReadConstructionLines(); break;
    default: break;  // the design rock-layer tables and any other table are not read here
  }
  recordset.Close();
  return 1;
}

void XLDataBase::ReadPointRows(const CString& tableName, const GroundTable& table, EarthLineList& list, int& count) {
  acedSetStatusBarProgressMeter("读" + tableName, 0, 100);
  const long rows = recordset.CountRecords();
  count = static_cast<int>(std::clamp<long>(rows, 0, INT_MAX));
  list.SetSize(count);
  recordset.MoveFirst();
  for (int i = 0; i < count && !recordset.IsEOF(); ++i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(static_cast<long long>(i) * 100 / count));
    earthline& record = list[i];
    record.detourNumber = table.detour ? FieldText(recordset, table.DetourColumn()) : CString();
    record.prefix = FieldText(recordset, table.PrefixColumn());
    record.chainage = FieldNumber(recordset, table.ChainageColumn());
    record.elevation = FieldNumber(recordset, table.ElevationColumn());
    if (table.IsGroundLine()) {
      record.layer = 0;
      record.rockType = kRockTypeOrdinarySoil;
    } else {
      record.layer = TruncatedInt(FieldNumber(recordset, table.LayerColumn()));
      const CString rockType = FieldText(recordset, table.RockTypeColumn());
      // A text column of an earlier table may hold "普通土", in the baseline
      // and the detour tables alike; the tables are written with numbers.
      record.rockType = rockType == "普通土" ? kRockTypeOrdinarySoil : IntegerOfText(rockType);
    }
    const CString side = FieldText(recordset, table.SideColumn());
    if (side == "左" || side == "右") {
      int points = std::max(TruncatedInt(FieldNumber(recordset, table.CountColumn())), 0);
      if (points > kEarthPointsMax) {
        char station[64] = {};
        BAS_DRAW_FUN::ChainageToText(record.prefix, record.chainage, station);
        acutPrintf("\n%s %s %s侧: 地面点数%d超过%d, 只读入前%d个点\n", tableName.GetString(), station,
                   side.GetString(), points, kEarthPointsMax, kEarthPointsMax);
        points = kEarthPointsMax;
      }
      const bool left = side == "左";
      EarthPoint* pairs = left ? record.left : record.right;
      for (int k = 0; k < points; ++k) {
        pairs[k].distance = FieldNumber(recordset, table.DistanceColumn(k));
        pairs[k].height = FieldNumber(recordset, table.DistanceColumn(k) + 1);
      }
      (left ? record.leftCount : record.rightCount) = points;
    }
    if (!recordset.MoveNext()) break;
  }
  acedRestoreStatusBar();
}

void XLDataBase::ReadSecondLineBreaks() {
  ReadNamedRows(recordset, recordset.CountRecords(), secondLineBreaks, secondLineBreakCount,
                [this](SecondLineBreakRecord& record) {
                  CopyTextBounded(record.lineName, sizeof record.lineName, FieldTextByName(recordset, "线路名"),
                                  SecondLineBreakRecord::kLineNameGbkMax);
                  record.lineNumber = TruncatedInt(FieldNumberByName(recordset, "线路编号"));
                  record.detourName = FieldTextByName(recordset, "绕行段名");
                  record.before = FieldNumberByName(recordset, "等号左里程数");
                  record.after = FieldNumberByName(recordset, "等号右里程数");
                  record.prefixBefore = FieldTextByName(recordset, "等号左里程冠号");
                  record.prefixAfter = FieldTextByName(recordset, "等号右里程冠号");
                });
}

void XLDataBase::ReadConstructionLines() {
  ReadNamedRows(recordset, recordset.GetRecordCount(), constructionLines, constructionLineCount,
                [this](ConstructionLineRecord& record) {
                  auto copy = [this](char* field, size_t size, const char* column, size_t gbkMax) {
                    CopyTextBounded(field, size, FieldTextByName(recordset, column), gbkMax);
                  };
                  copy(record.lineName, sizeof record.lineName, "线路名", ConstructionLineRecord::kNameGbkMax);
                  copy(record.internalName, sizeof record.internalName, "内部线路名",
                       ConstructionLineRecord::kNameGbkMax);
                  copy(record.startLineName, sizeof record.startLineName, "起始线路名",
                       ConstructionLineRecord::kEndNameGbkMax);
                  copy(record.endLineName, sizeof record.endLineName, "终止线路名",
                       ConstructionLineRecord::kEndNameGbkMax);
                });
}
