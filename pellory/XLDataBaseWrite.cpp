// XLDataBase::WriteRockLayerTable: a rock-layer table rewritten from the
// rock-layer list in one transaction.

#include <algorithm>

#include "InputTexts.h"
#include "RecordChecks.h"
#include "RockLayerRows.h"
#include "XLDataBase.h"
#include "mfc/app.h"

namespace {

CString IntText(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}

// "DK1+234.50 层1: 左侧100个点" for the message about a pair left out.
CString RefusedPairText(const RefusedPair& pair) {
  CString text, side;
  text.Format("%s 层%d:", StationText(pair.record->prefix, pair.record->chainage).GetString(), pair.record->layer);
  if (pair.leftTooLong) {
    side.Format(" 左侧%d个点", pair.leftCount);
    text += side;
  }
  if (pair.rightTooLong) {
    side.Format(" 右侧%d个点", pair.rightCount);
    text += side;
  }
  return text;
}

// Faults listed in one message before the rest are only counted.
constexpr int kFaultsShown = 10;

}  // namespace

int XLDataBase::WriteRockLayerTable(CString path, CString tableName, CString condition) {
  const GroundTable table = ClassifyGroundTable(tableName.GetString());
  if (!table.IsRockLayer()) {
    AfxMessageBox("写" + tableName + "失败: 不是岩层线表!");
    return 0;
  }
  if (!CheckRockLayerValues(tableName)) return 0;
  if (!Connect(path)) return 0;
  ListTableNames();

  std::vector<RefusedPair> refused;
  const int count = std::clamp(rockLayerCount, 0, static_cast<int>(rockLayers.GetSize()));
  const std::vector<RockLayerRow> rows = BuildRockLayerRows(rockLayers.GetData(), count, refused);

  if (!BeginRewrite(tableName, table, condition)) return 0;
  for (const RockLayerRow& row : rows) {
    if (!recordset.AddNew()) return FailWrite(tableName, "写入记录出错");
    PutRow(table, row);
  }
  if (!rows.empty() && !recordset.Update()) return FailWrite(tableName, "写入记录出错");
  recordset.Close();
  if (!connection.CommitTrans()) return FailWrite(tableName, "无法提交写入的记录");

  if (!refused.empty()) {
    CString text;
    text.Format("以下桩号和层有一侧加上中桩点后超过%d个点, 两侧都未写入%s:", kEarthPointsMax,
                tableName.GetString());
    for (const RefusedPair& pair : refused) text += "\n" + RefusedPairText(pair);
    AfxMessageBox(text);
  } else if (table.kind == GroundTableKind::kDesignRockLayer) {
    AfxMessageBox("成功写入数据库");
  }
  return 1;
}

bool XLDataBase::BeginRewrite(const CString& tableName, const GroundTable& table, const CString& condition) {
  if (connection.BeginTrans() < 0) {
    FailWrite(tableName, "无法开始数据库事务");
    return false;
  }
  if (HasTableName(tableName)) {
    CString sql = " delete from " + tableName;
    if (!condition.IsEmpty()) sql += " where " + condition;
    if (!connection.ExecuteWhenOpen(sql)) {
      FailWrite(tableName, "无法删除表中原有的记录");
      return false;
    }
  } else if (!connection.ExecuteWhenOpen(RockLayerTableCreateSql(tableName, table.detour))) {
    FailWrite(tableName, "无法创建该表");
    return false;
  }
  sqlText = "select * from " + tableName;
  recordset.SetAdoConnection(&connection);
  if (recordset.Open(sqlText, adCmdText, adOpenDynamic, adLockOptimistic) < 0) {
    FailWrite(tableName, "无法打开该表");
    return false;
  }
  // The values go by column position: a table of another layout would take
  // them into the wrong columns.
  const long columns = recordset.GetFieldCount();
  if (columns != table.ColumnCount()) {
    CString reason;
    reason.Format("该表有%ld列, 应有%ld列", columns, table.ColumnCount());
    FailWrite(tableName, reason);
    return false;
  }
  return true;
}

int XLDataBase::FailWrite(const CString& tableName, const char* reason) {
  const CString detail = connection.GetLastErrorDescription();
  recordset.Close();
  connection.RollbackTrans();
  CString text;
  text.Format("写%s失败: %s!\n表中原有的记录保留不变。", tableName.GetString(), reason);
  if (!detail.IsEmpty()) text += "\n" + detail;
  AfxMessageBox(text);
  return 0;
}

void XLDataBase::PutRow(const GroundTable& table, const RockLayerRow& row) {
  const earthline& record = *row.record;
  recordset.PutCollectByIndex(0, _variant_t(IntText(row.id)));
  if (table.detour) recordset.PutCollectByIndex(table.DetourColumn(), _variant_t(record.detourNumber));
  recordset.PutCollectByIndex(table.PrefixColumn(), _variant_t(record.prefix));
  recordset.PutCollectByIndex(table.ChainageColumn(), _variant_t(record.chainage));
  recordset.PutCollectByIndex(table.ElevationColumn(), _variant_t(record.elevation));
  recordset.PutCollectByIndex(table.LayerColumn(), _variant_t(static_cast<long>(record.layer)));
  recordset.PutCollectByIndex(table.RockTypeColumn(), _variant_t(static_cast<long>(record.rockType)));
  recordset.PutCollectByIndex(table.SideColumn(), _variant_t(row.left ? "左" : "右"));
  recordset.PutCollectByIndex(table.CountColumn(), _variant_t(IntText(static_cast<int>(row.points.size()))));
  for (size_t k = 0; k < row.points.size(); ++k) {
    const long column = table.DistanceColumn(static_cast<int>(k));
    recordset.PutCollectByIndex(column, _variant_t(row.points[k].distance));
    recordset.PutCollectByIndex(column + 1, _variant_t(row.points[k].height));
  }
}

bool XLDataBase::CheckRockLayerValues(const CString& tableName) {
  const GroundTable table = ClassifyGroundTable(tableName.GetString());
  const int count = std::clamp(rockLayerCount, 0, static_cast<int>(rockLayers.GetSize()));
  CString listed;
  int faults = 0;
  for (int i = 0; i < count; ++i) {
    const CString fault = RecordFault(rockLayers[i], table.detour);
    if (fault.IsEmpty()) continue;
    if (++faults <= kFaultsShown) listed += "\n" + fault;
  }
  if (faults == 0) return true;
  CString text;
  text.Format("写%s失败: %d条记录的数值不能存入, 未写入任何记录:%s", tableName.GetString(), faults,
              listed.GetString());
  if (faults > kFaultsShown) text += "\n……";
  text += "\n表中原有的记录保留不变。查询所列的桩号和层, 改正后保存记录, 即可写入。";
  AfxMessageBox(text);
  return false;
}
