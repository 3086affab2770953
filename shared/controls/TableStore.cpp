// Reading a table into an editor's grid and writing it back (TableStore.h).
#include "controls/TableStore.h"

#include <algorithm>

#include "arx/edoutput.h"
#include "mfc/app.h"

namespace {

constexpr const char* kConnectionPrefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// The characters a cell of a field takes from the user: a text field's size,
// enough for any number in a number field, no limit for a memo.
int FieldTextLimit(long type, long definedSize) {
  if (type == adVarWChar || type == adWChar) return definedSize > 0 ? static_cast<int>(definedSize) : 255;
  if (type == adLongVarWChar || type == adBSTR || type == adVariant || type == adEmpty) return 0;
  return 32;
}

}  // namespace

CString CodedCellDisplay(EditorBuild build, const CString& table, const CString& field, const CString& value) {
  CString shown;
  if (CodedFieldText(build, table, field, value, shown)) return shown;
  return value;
}

BOOL DispatchEditorDialogKey(MSG* msg) {
  if (msg == nullptr || msg->message != WM_KEYDOWN || (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE))
    return FALSE;
  ::TranslateMessage(msg);
  ::DispatchMessage(msg);
  return TRUE;
}

// ---- opening ----------------------------------------------------------------------------

BOOL CTableStore::OpenTable() {
  m_recordset.Close();
  m_connection.Close();
  if (!m_connection.Open(CString(kConnectionPrefix) + m_databasePath, -1)) {
    AfxMessageBox("连接数据库失败!");
    return FALSE;
  }
  m_sql = "select * from " + m_table + " order by ID";
  if (!m_connection.IsOpen()) {
    AfxMessageBox("数据库没有打开或已经关闭!");
    return FALSE;
  }
  m_recordset.SetAdoConnection(&m_connection);
  if (m_recordset.Open(m_sql, adCmdText, adOpenDynamic, adLockOptimistic) < 0) {
    acedAlert("connectDBS Failed!");
    m_connection.Close();
    return FALSE;
  }
  return TRUE;
}

void CTableStore::CloseTable() {
  m_recordset.Close();
  m_connection.Close();
}

// ---- loading ------------------------------------------------------------------------------

BOOL CTableStore::Load(CTableGridCtrl& grid, const TableLoadOptions& options) {
  m_loaded = false;
  if (!OpenTable()) return FALSE;
  grid.SetTableName(m_table);
  const long fields = std::max(0L, m_recordset.GetFieldCount());
  const long records = std::max(0L, RecordCount());
  m_recordset.MoveFirst();
  CStringArray names;
  for (long j = 0; j < fields; ++j) names.Add(m_recordset.GetFieldName(j));

  grid.SetRedraw(FALSE);
  grid.LayOutTable(static_cast<int>(records), static_cast<int>(fields));
  for (long j = 1; j < fields; ++j) grid.SetItemText(0, static_cast<int>(j), names[j]);
  for (long j = 1; j < fields; ++j)
    grid.SetColumnTextLimit(static_cast<int>(j),
                            FieldTextLimit(m_recordset.GetFieldType(j), m_recordset.GetFieldDefinedSize(j)));
  acedSetStatusBarProgressMeter("正在导入数据", 0, 100);
  // The navigator counts one step more than there are records; the plan as many.
  const long steps = options.build == EditorBuild::Navigator ? records + 1 : std::max(1L, records);
  long k = 0;  // the records read
  while (k < records && !m_recordset.IsEOF()) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(k * 100 / steps));
    const int row = static_cast<int>(k) + 1;
    for (long j = 1; j < fields; ++j) {
      CString value;
      m_recordset.GetValueText(value, j);
      CString shown = options.display ? options.display(m_table, names[j], value)
                                      : CodedCellDisplay(options.build, m_table, names[j], value);
      if (shown == "NULL") shown.Empty();
      grid.SetItemText(row, static_cast<int>(j), shown);
    }
    ++k;
    if (!m_recordset.MoveNext()) break;
  }
  // A walk cut short, or a count that fell short of the records (a failed
  // count reads 0), leaves the grid without some of the table's rows: a save
  // of it would delete them, so the store stays unloaded.
  const bool walkedToEnd = m_recordset.IsEOF();
  CloseTable();
  m_loaded = k == records && walkedToEnd;
  if (!m_loaded) {
    CString message;
    message.Format("表 %s 只读入了 %ld 行（共 %ld 行），不能保存!", m_table.GetString(), k, records);
    AfxMessageBox(message);
  }
  // Rows the walk did not reach (a table that changed under it) go.
  while (grid.GetRowCount() > std::max<long>(1, k + 1)) grid.DeleteRow(grid.GetRowCount() - 1);
  grid.NumberRowsAsLoaded();

  grid.HideColumnKeepingValues(HiddenStationColumn(options.build, m_table));
  grid.SetRedraw(TRUE);
  grid.AutoSizeAllCells();
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
  return TRUE;
}

// ---- saving --------------------------------------------------------------------------------

void CTableStore::ReportSaveFailure(const CString& reason) {
  CString message;
  message.Format("表 %s 没有保存，数据库中仍是原来的数据!", m_table.GetString());
  if (!reason.IsEmpty()) message += "\n" + reason;
  AfxMessageBox(message);
}

BOOL CTableStore::WriteRows(CTableGridCtrl& grid, const TableSaveOptions& options, const std::vector<int>& skip,
                            std::vector<int>& failed) {
  if (m_connection.BeginTrans() < 0) {
    ReportSaveFailure(m_connection.GetLastErrorDescription());
    return FALSE;
  }
  if (!m_connection.ExecuteWhenOpen("delete from " + m_table)) {
    const CString reason = m_connection.GetLastErrorDescription();
    m_connection.RollbackTrans();
    ReportSaveFailure(reason);
    return FALSE;
  }
  const long fields = m_recordset.GetFieldCount();
  const int hidden = grid.HiddenColumn();
  for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r) {
    if (!grid.RowHasContent(r)) continue;
    if (std::find(skip.begin(), skip.end(), r) != skip.end()) continue;
    if (!m_recordset.AddNew()) {
      failed.push_back(r);
      continue;
    }
    for (int c = 0; c < grid.GetColumnCount(); ++c) {
      const int field = grid.FieldOfColumn(c);
      if (field >= fields) continue;
      CString text = StoredCellText(options.build, m_table, grid.GetItemText(r, c));
      // A cell of blanks (the filler of an appended row) is empty too: not written.
      if (CString(text).Trim(' ').IsEmpty()) continue;
      m_recordset.PutCollectByIndex(field, _variant_t(text));
    }
    // The hidden column's kept value, like any cell: not written when empty.
    if (hidden >= 0 && hidden < fields) {
      const CString kept = grid.HiddenValue(r);
      if (!kept.IsEmpty()) m_recordset.PutCollectByIndex(hidden, _variant_t(kept));
    }
    if (!m_recordset.Update()) {
      m_recordset.CancelUpdate();
      failed.push_back(r);
    }
  }
  return TRUE;
}

BOOL CTableStore::Save(CTableGridCtrl& grid, const TableSaveOptions& options) {
  m_failedRows.clear();
  grid.EndEditing();
  if (!m_loaded) {
    // The grid does not hold the whole table: writing it would lose rows.
    ReportSaveFailure("表没有完整读入编辑器。");
    return FALSE;
  }
  if (!OpenTable()) return FALSE;
  std::vector<int> failed;
  if (!WriteRows(grid, options, {}, failed)) {
    CloseTable();
    return FALSE;
  }
  if (!failed.empty()) {
    // A failed write spoils the transaction: it is undone, and written once
    // more without the rows that failed (or not at all).
    m_connection.RollbackTrans();
    CloseTable();
    if (!options.skipFailedRows) {
      CString reason;
      reason.Format("第 %d 行不能写入。", failed.front());
      ReportSaveFailure(reason);
      return FALSE;
    }
    // No row with text could be written: the table would be emptied.
    int contentRows = 0;
    for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r)
      contentRows += grid.RowHasContent(r) ? 1 : 0;
    CString numbers;
    for (int row : failed) {
      CString number;
      number.Format("%d", row);
      if (!numbers.IsEmpty()) numbers += ", ";
      numbers += number;
    }
    if (static_cast<int>(failed.size()) >= contentRows) {
      m_failedRows = failed;
      ReportSaveFailure("以下行都不能写入: " + numbers);
      return FALSE;
    }
    CString message;
    message.Format("表 %s 的以下行不能写入，没有保存: ", m_table.GetString());
    AfxMessageBox(message + numbers);
    m_failedRows = failed;
    std::vector<int> again;
    if (!OpenTable()) return FALSE;
    if (!WriteRows(grid, options, m_failedRows, again)) {
      CloseTable();
      return FALSE;
    }
    if (!again.empty()) {
      m_connection.RollbackTrans();
      CloseTable();
      CString reason;
      reason.Format("第 %d 行不能写入。", again.front());
      ReportSaveFailure(reason);
      return FALSE;
    }
  }
  if (!m_connection.CommitTrans()) {
    const CString reason = m_connection.GetLastErrorDescription();
    CloseTable();
    ReportSaveFailure(reason);
    return FALSE;
  }
  CloseTable();
  return TRUE;
}
