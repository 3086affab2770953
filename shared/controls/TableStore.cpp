// Reading a table into an editor's grid and writing it back (TableStore.h).
#include "controls/TableStore.h"

#include <algorithm>

#include "arx/edoutput.h"
#include "controls/CellNumber.h"
#include "mfc/app.h"

namespace {

constexpr const char* kConnectionPrefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// The field types that hold numbers.
bool IsNumericType(long type) {
  switch (type) {
    case adSmallInt:
    case adInteger:
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case 16:  // tiny integer
    case adUnsignedTinyInt:
    case 18:  // unsigned small integer
    case 19:  // unsigned integer
    case adBigInt:
    case 21:  // unsigned big integer
    case adNumeric:
    case 139:  // variable-length numeric
      return true;
    default:
      return false;
  }
}

// A value that writes nothing: empty, NULL or an empty text.
bool IsEmptyValue(const VARIANT& value) {
  return value.vt == VT_EMPTY || value.vt == VT_NULL || (value.vt == VT_BSTR && SysStringByteLen(value.bstrVal) == 0);
}

bool IsBlankText(const CString& text) { return CString(text).Trim(" \t").IsEmpty(); }

// The characters a cell of a field takes from the user: a text field's size,
// no limit for a memo, and in a number field as many as a number may have
// (CellNumber.h). A longer text is cut to a text field's size, but refused
// whole by a number field: a number's first characters are another number.
void SetFieldTextLimit(CTableGridCtrl& grid, int col, long type, long definedSize) {
  if (type == adVarWChar || type == adWChar) {
    grid.SetColumnTextLimit(col, definedSize > 0 ? static_cast<int>(definedSize) : 255);
  } else if (type == adLongVarWChar || type == adBSTR || type == adVariant || type == adEmpty) {
    grid.SetColumnTextLimit(col, 0);
  } else {
    grid.SetColumnTextLimit(col, kMostCellNumberChars, CGridCtrl::OverLimit::Refuse);
  }
}

}  // namespace

CloseAnswer AskToSaveChanges(const CString& table, bool mayStay) {
  const int answer =
      AfxMessageBox(table + "已修改，是否保存？", (mayStay ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION | MB_DEFBUTTON1);
  if (answer == IDNO) return CloseAnswer::Discard;
  if (answer == IDCANCEL && mayStay) return CloseAnswer::Stay;
  return CloseAnswer::Save;
}

bool ConfirmEditorClose(CTableGridCtrl& grid, const CString& table, bool mayStay, const std::function<bool()>& save) {
  // A cell still in its editor counts once its edit has ended.
  if (!grid.FinishEditing()) {
    // The refused text is open again in its editor for the user to mend.
    if (mayStay) return false;
    grid.CancelRefusedEdit();
  }
  if (!grid.HasChanges()) return true;
  switch (AskToSaveChanges(table, mayStay)) {
    case CloseAnswer::Save:
      // A save that left rows unwritten (the database refused them) keeps
      // the grid changed: it holds their only copy, so it is no save here.
      if (save() && !grid.HasChanges()) return true;
      if (mayStay) return false;
      // The editor goes all the same: say so where it stays to be read.
      acutPrintf("\n编辑器对表 %s 的修改没有保存。\n", table.GetString());
      return true;
    case CloseAnswer::Discard: return true;
    case CloseAnswer::Stay: return false;
  }
  return false;
}

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

bool CTableStore::IsNumericField(long field) const {
  return field >= 0 && static_cast<size_t>(field) < m_numericFields.size() &&
         m_numericFields[static_cast<size_t>(field)];
}

BOOL CTableStore::Load(CTableGridCtrl& grid, const TableLoadOptions& options) {
  m_loaded = false;
  if (!OpenTable()) return FALSE;
  grid.SetTableName(m_table);
  const long fields = std::max(0L, m_recordset.GetFieldCount());
  const long records = std::max(0L, RecordCount());
  m_recordset.MoveFirst();
  CStringArray names;
  m_numericFields.assign(static_cast<size_t>(fields), false);
  for (long j = 0; j < fields; ++j) {
    names.Add(m_recordset.GetFieldName(j));
    m_numericFields[static_cast<size_t>(j)] = IsNumericType(m_recordset.GetFieldType(j));
  }
  m_loadedValues.clear();
  m_loadedTexts.clear();

  grid.SetRedraw(FALSE);
  grid.LayOutTable(static_cast<int>(records), static_cast<int>(fields));
  for (long j = 1; j < fields; ++j) grid.SetItemText(0, static_cast<int>(j), names[j]);
  for (long j = 1; j < fields; ++j)
    SetFieldTextLimit(grid, static_cast<int>(j), m_recordset.GetFieldType(j), m_recordset.GetFieldDefinedSize(j));
  acedSetStatusBarProgressMeter("正在导入数据", 0, 100);
  // The navigator counts one step more than there are records; the plan as many.
  const long steps = options.build == EditorBuild::Navigator ? records + 1 : std::max(1L, records);
  long k = 0;  // the records read
  while (k < records && !m_recordset.IsEOF()) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(k * 100 / steps));
    const int row = static_cast<int>(k) + 1;
    std::vector<_variant_t> values(static_cast<size_t>(fields));
    std::vector<CString> texts(static_cast<size_t>(fields));
    for (long j = 1; j < fields; ++j) {
      _variant_t read;
      m_recordset.GetValueVariant(read, j);
      const CString value = AdoVariantToText(read);
      CString shown = options.display ? options.display(m_table, names[j], value)
                                      : CodedCellDisplay(options.build, m_table, names[j], value);
      if (shown == "NULL") shown.Empty();
      grid.SetItemText(row, static_cast<int>(j), shown);
      grid.SetValueShownEmpty(row, static_cast<int>(j), shown.IsEmpty() && !IsEmptyValue(read));
      values[static_cast<size_t>(j)] = std::move(read);
      texts[static_cast<size_t>(j)] = shown;
    }
    m_loadedValues.push_back(std::move(values));
    m_loadedTexts.push_back(std::move(texts));
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
  grid.SetNumericFields(m_numericFields);
  grid.ClearChanges();
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

bool CTableStore::CellValue(const CTableGridCtrl& grid, const TableSaveOptions& options, int row, int col,
                            long field, _variant_t& value, bool& refused) const {
  refused = false;
  value.Clear();
  const CString text = grid.GetItemText(row, col);
  // A cell as it was loaded: the value read, not the text shown for it. A
  // value that shows empty (a code outside its column's list) is kept too,
  // unless the user emptied the cell: only an edit may unset a value.
  const int key = grid.RowKey(row);
  if (key > 0 && static_cast<size_t>(key) <= m_loadedTexts.size()) {
    const std::vector<CString>& texts = m_loadedTexts[static_cast<size_t>(key - 1)];
    const bool asLoaded = static_cast<size_t>(field) < texts.size() && texts[static_cast<size_t>(field)] == text;
    if (asLoaded && !(IsBlankText(text) && grid.GetModified(row, col))) {
      const _variant_t& loaded = m_loadedValues[static_cast<size_t>(key - 1)][static_cast<size_t>(field)];
      if (IsEmptyValue(loaded)) return false;
      value = loaded;
      return true;
    }
  }
  // A cell of blanks (the filler of an appended row) is empty too: not written.
  if (IsBlankText(text)) return false;
  const CString stored = StoredCellText(options.build, m_table, text);
  if (IsBlankText(stored)) return false;
  if (!IsNumericField(field)) {
    value = _variant_t(stored.GetString());
    return true;
  }
  double number = 0.0;
  if (!ReadsAsCellNumber(stored, number)) {
    refused = true;
    return false;
  }
  value = _variant_t(number);
  return true;
}

bool CTableStore::RowIsWritten(const CTableGridCtrl& grid, const TableSaveOptions& options, int row) const {
  if (grid.RowHasContent(row)) return true;
  // A loaded row that shows nothing may still hold values shown empty.
  if (grid.RowKey(row) <= 0) return false;
  for (int c = grid.GetFixedColumnCount(); c < grid.GetColumnCount(); ++c) {
    _variant_t value;
    bool refused = false;
    if (CellValue(grid, options, row, c, grid.FieldOfColumn(c), value, refused)) return true;
  }
  return false;
}

CTableStore::GridCell CTableStore::FirstRefusedCell(const CTableGridCtrl& grid,
                                                   const TableSaveOptions& options) const {
  for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r) {
    if (!RowIsWritten(grid, options, r)) continue;
    for (int c = grid.GetFixedColumnCount(); c < grid.GetColumnCount(); ++c) {
      _variant_t value;
      bool refused = false;
      CellValue(grid, options, r, c, grid.FieldOfColumn(c), value, refused);
      if (refused) return GridCell{r, c};
    }
  }
  return GridCell{};
}

CString CTableStore::CellName(const CTableGridCtrl& grid, const GridCell& cell) {
  CString name;
  const CString text = grid.GetItemText(cell.row, cell.col);
  // A text longer than any number is told by its length, not shown.
  if (text.GetLength() > kMostCellNumberChars)
    name.Format("第 %d 行“%s”列 %d 个字节长的文字", cell.row, grid.HeaderText(cell.col).GetString(), text.GetLength());
  else
    name.Format("第 %d 行“%s”列的“%s”", cell.row, grid.HeaderText(cell.col).GetString(), text.GetString());
  return name;
}

BOOL CTableStore::WriteRows(CTableGridCtrl& grid, const TableSaveOptions& options, const std::vector<int>& skip,
                            std::vector<int>& failed, GridCell& refused) {
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
  // Puts one value; the database's refusal of it ends the save.
  auto put = [this](long field, const _variant_t& value) {
    return m_recordset.m_pRecordset && SUCCEEDED(m_recordset.m_pRecordset->put_Collect(_variant_t(field), value));
  };
  for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r) {
    if (!RowIsWritten(grid, options, r)) continue;
    if (std::find(skip.begin(), skip.end(), r) != skip.end()) continue;
    if (!m_recordset.AddNew()) {
      failed.push_back(r);
      continue;
    }
    for (int c = 0; c < grid.GetColumnCount(); ++c) {
      const long field = grid.FieldOfColumn(c);
      if (field >= fields) continue;
      _variant_t value;
      bool refusedText = false;
      // The row number is offered to the first field (ID).
      if (c < grid.GetFixedColumnCount())
        value = _variant_t(static_cast<long>(r));
      else if (!CellValue(grid, options, r, c, field, value, refusedText) && !refusedText)
        continue;
      if (refusedText || !put(field, value)) {
        m_recordset.CancelUpdate();
        refused = GridCell{r, c};
        return FALSE;
      }
    }
    // The hidden column's value as it was loaded; none in a row added since.
    const int key = grid.RowKey(r);
    if (hidden >= 0 && hidden < fields && key > 0 && static_cast<size_t>(key) <= m_loadedValues.size()) {
      const _variant_t& kept = m_loadedValues[static_cast<size_t>(key - 1)][static_cast<size_t>(hidden)];
      if (!IsEmptyValue(kept) && !put(hidden, kept)) {
        m_recordset.CancelUpdate();
        refused = GridCell{r, 0};
        return FALSE;
      }
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
  // A text refused as its edit ended: the message has named the column.
  if (!grid.FinishEditing()) return FALSE;
  if (!m_loaded) {
    // The grid does not hold the whole table: writing it would lose rows.
    ReportSaveFailure("表没有完整读入编辑器。");
    return FALSE;
  }
  // A text its field cannot take (typed before, pasted): nothing is written.
  const GridCell refused = FirstRefusedCell(grid, options);
  if (refused.row >= 0) {
    ReportSaveFailure(CellName(grid, refused) + "不是数值。");
    return FALSE;
  }
  if (!WriteGrid(grid, options)) return FALSE;
  // The grid is the table now (unless rows were skipped, which it still holds).
  if (m_failedRows.empty()) {
    RememberSavedCells(grid, options);
    grid.ClearChanges();
  }
  return TRUE;
}

void CTableStore::RememberSavedCells(CTableGridCtrl& grid, const TableSaveOptions& options) {
  // An edited cell of a loaded row now stands as it was saved: a later save
  // that finds it unedited writes what this one wrote (an unset value stays
  // unset once its edit mark is cleared).
  for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r) {
    const int key = grid.RowKey(r);
    if (key <= 0 || static_cast<size_t>(key) > m_loadedTexts.size()) continue;
    std::vector<CString>& texts = m_loadedTexts[static_cast<size_t>(key - 1)];
    std::vector<_variant_t>& values = m_loadedValues[static_cast<size_t>(key - 1)];
    for (int c = grid.GetFixedColumnCount(); c < grid.GetColumnCount(); ++c) {
      const long field = grid.FieldOfColumn(c);
      if (field < 0 || static_cast<size_t>(field) >= texts.size() || !grid.GetModified(r, c)) continue;
      _variant_t value;
      bool refused = false;
      if (!CellValue(grid, options, r, c, field, value, refused)) value.Clear();
      values[static_cast<size_t>(field)] = value;
      texts[static_cast<size_t>(field)] = grid.GetItemText(r, c);
      grid.SetValueShownEmpty(key, static_cast<int>(field), texts[static_cast<size_t>(field)].IsEmpty() && !IsEmptyValue(value));
    }
  }
}

BOOL CTableStore::WriteGrid(CTableGridCtrl& grid, const TableSaveOptions& options) {
  if (!OpenTable()) return FALSE;
  // A value the database refuses ends the save, nothing written.
  auto refusedValue = [&](const GridCell& cell) {
    const CString reason = m_connection.GetLastErrorDescription();
    m_connection.RollbackTrans();
    CloseTable();
    CString what = cell.col > 0 ? CellName(grid, cell) : CString();
    if (cell.col <= 0) what.Format("第 %d 行的值", cell.row);
    ReportSaveFailure(what + "不能存入数据库。" + (reason.IsEmpty() ? CString() : "\n" + reason));
    return FALSE;
  };
  std::vector<int> failed;
  GridCell refused;
  if (!WriteRows(grid, options, {}, failed, refused)) {
    if (refused.row >= 0) return refusedValue(refused);
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
      contentRows += RowIsWritten(grid, options, r) ? 1 : 0;
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
    if (!WriteRows(grid, options, m_failedRows, again, refused)) {
      if (refused.row >= 0) return refusedValue(refused);
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
