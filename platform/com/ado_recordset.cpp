// ADODB.Recordset over SQLite: the rows of a query held in memory, the
// writes made through the connection in units committed by Update.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "com/ado_impl.h"
#include "crt/ascii.h"

namespace platform::ado {
namespace {

const char* const kNoCurrent =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.";
const char* const kClosed = "Operation is not allowed when the object is closed.";
const char* const kNotUpdatable =
    "Current Recordset does not support updating. This may be a limitation of the provider, or of the selected locktype.";

// The value of a result column in its natural variant type.
void naturalValue(sqlite3_stmt* stmt, int col, VARIANT& out) {
  VariantInit(&out);
  switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_NULL: out.vt = VT_NULL; break;
    case SQLITE_INTEGER: {
      sqlite3_int64 v = sqlite3_column_int64(stmt, col);
      if (v >= INT32_MIN && v <= INT32_MAX) {
        out.vt = VT_I4;
        out.lVal = static_cast<LONG>(v);
      } else {
        out.vt = VT_R8;
        out.dblVal = static_cast<double>(v);
      }
      break;
    }
    case SQLITE_FLOAT:
      out.vt = VT_R8;
      out.dblVal = sqlite3_column_double(stmt, col);
      break;
    default:
      out.vt = VT_BSTR;
      out.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(sqlite3_column_blob(stmt, col)),
                                          static_cast<UINT>(sqlite3_column_bytes(stmt, col)));
      break;
  }
}

// The value of a result column typed by the field's declared type.
void typedValue(sqlite3_stmt* stmt, int col, jet::Kind kind, VARIANT& out) {
  int t = sqlite3_column_type(stmt, col);
  if (t == SQLITE_NULL) {
    out.vt = VT_NULL;
    return;
  }
  switch (kind) {
    case jet::Kind::Double:
      if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        out.vt = VT_R8;
        out.dblVal = sqlite3_column_double(stmt, col);
        return;
      }
      break;
    case jet::Kind::Counter:
    case jet::Kind::Long:
      if (t == SQLITE_INTEGER) {
        sqlite3_int64 v = sqlite3_column_int64(stmt, col);
        if (v >= INT32_MIN && v <= INT32_MAX) {
          out.vt = VT_I4;
          out.lVal = static_cast<LONG>(v);
          return;
        }
      }
      break;
    case jet::Kind::Text:
    case jet::Kind::Memo:
      if (t == SQLITE_TEXT) {
        out.vt = VT_BSTR;
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
        out.bstrVal = SysAllocStringByteLen(text, static_cast<UINT>(sqlite3_column_bytes(stmt, col)));
        return;
      }
      break;
    default:
      break;
  }
  VARIANT natural;
  naturalValue(stmt, col, natural);
  if (kind == jet::Kind::Variant) {
    out = natural;
    return;
  }
  VARTYPE target = jet::variantTypeOf(kind);
  VARIANT converted;
  VariantInit(&converted);
  if (SUCCEEDED(VariantChangeType(&converted, &natural, target == VT_BSTR ? VARIANT_ALPHABOOL : 0, target))) {
    VariantClear(&natural);
    out = converted;
  } else {
    out = natural;  // a value some other program stored: shown as it is
  }
}

std::string valueText(const VARIANT& v) {
  if (v.vt == VT_BSTR) return v.bstrVal ? v.bstrVal : "";
  VARIANT t;
  VariantInit(&t);
  if (SUCCEEDED(VariantChangeType(&t, &v, VARIANT_ALPHABOOL, VT_BSTR))) {
    std::string s = t.bstrVal ? t.bstrVal : "";
    VariantClear(&t);
    return s;
  }
  return "(a value of type " + std::to_string(v.vt) + ")";
}

}  // namespace

void bindVariant(sqlite3_stmt* stmt, int p, const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: sqlite3_bind_null(stmt, p); break;
    case VT_BSTR:
      sqlite3_bind_text(stmt, p, v.bstrVal ? v.bstrVal : "", static_cast<int>(SysStringByteLen(v.bstrVal)),
                        SQLITE_STATIC);
      break;
    case VT_I2: sqlite3_bind_int(stmt, p, v.iVal); break;
    case VT_I4: sqlite3_bind_int(stmt, p, v.lVal); break;
    case VT_UI1: sqlite3_bind_int(stmt, p, v.bVal); break;
    case VT_BOOL: sqlite3_bind_int(stmt, p, v.boolVal ? -1 : 0); break;
    case VT_R4: sqlite3_bind_double(stmt, p, v.fltVal); break;
    case VT_R8: sqlite3_bind_double(stmt, p, v.dblVal); break;
    case VT_DATE: sqlite3_bind_double(stmt, p, v.date); break;
    case VT_CY: sqlite3_bind_double(stmt, p, static_cast<double>(v.cyVal.int64) / 10000.0); break;
    case VT_DECIMAL: {
      double d = 0;
      VarR8FromDec(&v.decVal, &d);
      sqlite3_bind_double(stmt, p, d);
      break;
    }
    default: {
      VARIANT d;
      VariantInit(&d);
      if (SUCCEEDED(VariantChangeType(&d, &v, 0, VT_R8))) sqlite3_bind_double(stmt, p, d.dblVal);
      else sqlite3_bind_null(stmt, p);
      break;
    }
  }
}

RecordsetImpl::RecordsetImpl() = default;

RecordsetImpl::~RecordsetImpl() {
  if (m_open) Close();
  discardEdit();
  clearRows();
}

// ---- Opening and closing -------------------------------------------------------

HRESULT RecordsetImpl::Open(VARIANT source, VARIANT connection, CursorTypeEnum, LockTypeEnum lockType,
                            LONG options) {
  if (m_open) return raise(adErrObjectOpen, "Operation is not allowed when the object is open.");
  ConnectionImpl* conn = nullptr;
  if ((connection.vt == VT_DISPATCH || connection.vt == VT_UNKNOWN) && connection.punkVal) {
    _Connection* c = nullptr;
    if (SUCCEEDED(connection.punkVal->QueryInterface(uuidOf<_Connection>(), reinterpret_cast<void**>(&c)))) {
      conn = dynamic_cast<ConnectionImpl*>(c);
      c->Release();
    }
  }
  if (!conn || !conn->isOpen())
    return raise(adErrInvalidConnection,
                 "The connection cannot be used to perform this operation. It is either closed or invalid in this context.");
  if (source.vt != VT_BSTR)
    return raise(adErrInvalidArgument, "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.");
  std::string text = source.bstrVal ? source.bstrVal : "";
  if (options == adCmdTable || options == adCmdTableDirect) text = "select * from [" + text + "]";
  jet::Statement st;
  std::string error;
  if (!jet::parseStatement(text, st, error)) return conn->fail(DB_E_ERRORSINCOMMAND, error, "42000");
  if (st.kind != jet::StatementKind::Select) return conn->run(st, nullptr);  // a command: no rows
  return openSelect(conn, st, lockType);
}

HRESULT RecordsetImpl::openSelect(ConnectionImpl* conn, const jet::Statement& st, LockTypeEnum lockType) {
  std::string stored;
  std::vector<TableColumn> cols;
  HRESULT hr = conn->tableColumns(st.table, stored, cols);
  if (FAILED(hr)) return hr;

  std::vector<FieldInfo> fields;
  std::vector<std::string> selectList;
  const std::string qual = jet::quoteName(st.alias.empty() ? stored : st.alias);
  bool aggregate = false;
  int expressions = 0;
  for (const jet::SelectItem& item : st.items) {
    aggregate = aggregate || item.aggregate;
    if (item.star) {
      for (size_t c = 0; c < cols.size(); ++c) {
        fields.push_back(FieldInfo{cols[c].name, cols[c].type, static_cast<int>(c),
                                   cols[c].type.kind == jet::Kind::Counter, cols[c].notNull});
        selectList.push_back(qual + "." + jet::quoteName(cols[c].name));
      }
    } else if (item.plain) {
      size_t c = 0;
      while (c < cols.size() && !jet::sameName(cols[c].name, item.column)) ++c;
      if (c == cols.size()) return conn->failSqlite(SQLITE_ERROR, "no such column: " + item.column);
      fields.push_back(FieldInfo{item.alias.empty() ? cols[c].name : item.alias, cols[c].type, static_cast<int>(c),
                                 cols[c].type.kind == jet::Kind::Counter, cols[c].notNull});
      selectList.push_back(item.sql);
    } else {
      FieldInfo f;
      f.name = item.alias.empty() ? "Expr" + std::to_string(1000 + expressions) : item.alias;
      ++expressions;
      fields.push_back(f);
      selectList.push_back(item.sql);
    }
  }
  bool updatable = !st.distinct && st.top < 0 && !aggregate && lockType != adLockReadOnly;

  std::string sql = st.distinct ? "SELECT DISTINCT " : "SELECT ";
  if (updatable) sql += qual + ".rowid";
  for (size_t i = 0; i < selectList.size(); ++i) sql += (i || updatable ? ", " : "") + selectList[i];
  sql += " FROM " + jet::quoteName(stored);
  if (!st.alias.empty()) sql += " AS " + jet::quoteName(st.alias);
  if (!st.where.empty()) sql += " WHERE " + st.where;
  // Without an order the rows come in the order they were stored.
  if (!st.orderBy.empty()) sql += " ORDER BY " + st.orderBy;
  else if (updatable) sql += " ORDER BY " + qual + ".rowid";
  if (st.top >= 0) sql += " LIMIT " + std::to_string(st.top);

  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(conn->db(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    return conn->failSqlite(sqlite3_extended_errcode(conn->db()), sqlite3_errmsg(conn->db()));

  clearRows();
  m_fields = std::move(fields);
  m_byName.clear();
  for (size_t i = 0; i < m_fields.size(); ++i) m_byName.emplace(lowerAscii(m_fields[i].name), static_cast<long>(i));
  m_updatable = updatable;
  m_table = stored;
  hr = fetch(stmt, updatable);
  sqlite3_finalize(stmt);
  if (FAILED(hr)) {
    clearRows();
    return conn->failSqlite(sqlite3_extended_errcode(conn->db()), sqlite3_errmsg(conn->db()));
  }
  m_conn = conn;
  conn->attach(this);
  m_open = true;
  m_pos = 0;
  return S_OK;
}

HRESULT RecordsetImpl::fetch(sqlite3_stmt* stmt, bool withRowid) {
  const size_t n = m_fields.size();
  const int offset = withRowid ? 1 : 0;
  std::vector<jet::Kind> kinds(n);
  for (size_t f = 0; f < n; ++f) kinds[f] = m_fields[f].type.kind;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    RowMeta meta;
    if (withRowid) meta.rowid = sqlite3_column_int64(stmt, 0);
    VARIANT* cells = appendRow();
    for (size_t f = 0; f < n; ++f) typedValue(stmt, static_cast<int>(f) + offset, kinds[f], cells[f]);
    m_rows.push_back(meta);
  }
  m_visible = static_cast<long>(m_rows.size());
  return rc == SQLITE_DONE ? S_OK : E_FAIL;
}

void RecordsetImpl::openMemory(std::vector<FieldInfo> fields, std::vector<std::vector<_variant_t>> rows) {
  clearRows();
  m_fields = std::move(fields);
  m_byName.clear();
  for (size_t i = 0; i < m_fields.size(); ++i) m_byName.emplace(lowerAscii(m_fields[i].name), static_cast<long>(i));
  for (auto& row : rows) {
    VARIANT* cells = appendRow();
    for (size_t f = 0; f < m_fields.size(); ++f) {
      VariantInit(&cells[f]);
      if (f < row.size()) cells[f] = row[f].Detach();
    }
    m_rows.push_back(RowMeta{});
  }
  m_visible = static_cast<long>(m_rows.size());
  m_updatable = false;
  m_table.clear();
  m_open = true;
  m_pos = 0;
}

void RecordsetImpl::clearRows() {
  truncateRows(0);
  m_rows.clear();
  for (Undo& u : m_undo)
    for (VARIANT& v : u.cells) VariantClear(&v);
  m_undo.clear();
  m_visible = 0;
  m_pos = 0;
}

namespace {

// Row blocks of one size, kept when freed (up to 64 MiB) for the next
// rowset: reading a large table again then reuses memory instead of asking
// the system for fresh pages each time.
constexpr size_t kBlockCells = 65536 / sizeof(VARIANT);
constexpr size_t kPoolLimit = 1024;  // blocks

std::vector<VARIANT*>& blockPool() {
  static std::vector<VARIANT*>* pool = new std::vector<VARIANT*>();  // lives as long as the process
  return *pool;
}

std::mutex& blockPoolLock() {
  static std::mutex lock;
  return lock;
}

VARIANT* takeBlock(size_t cells) {
  if (cells <= kBlockCells) {
    std::lock_guard<std::mutex> guard(blockPoolLock());
    std::vector<VARIANT*>& pool = blockPool();
    if (!pool.empty()) {
      VARIANT* block = pool.back();
      pool.pop_back();
      return block;
    }
    cells = kBlockCells;
  }
  return static_cast<VARIANT*>(::operator new(cells * sizeof(VARIANT)));
}

void giveBlock(VARIANT* block, size_t cells) {
  std::lock_guard<std::mutex> guard(blockPoolLock());
  std::vector<VARIANT*>& pool = blockPool();
  if (cells <= kBlockCells && pool.size() < kPoolLimit) pool.push_back(block);
  else ::operator delete(block);
}

}  // namespace

// Rows per block: as many as fit in one pooled block, at least one.
size_t RecordsetImpl::blockRows() const {
  return std::max<size_t>(1, kBlockCells / std::max<size_t>(m_fields.size(), 1));
}

VARIANT* RecordsetImpl::appendRow() {
  const size_t n = std::max<size_t>(m_fields.size(), 1);
  if (m_blocks.empty() || m_blockUsed == blockRows()) {
    // Not cleared: whoever takes a row writes every field of it.
    m_blocks.push_back(takeBlock(blockRows() * n));
    m_blockUsed = 0;
  }
  VARIANT* row = m_blocks.back() + m_blockUsed++ * n;
  m_cells.push_back(row);
  return row;
}

void RecordsetImpl::truncateRows(size_t row) {
  while (m_cells.size() > row) {
    VARIANT* cells = m_cells.back();
    for (size_t f = 0; f < m_fields.size(); ++f) VariantClear(&cells[f]);
    m_cells.pop_back();
    if (--m_blockUsed == 0) {
      giveBlock(m_blocks.back(), blockRows() * std::max<size_t>(m_fields.size(), 1));
      m_blocks.pop_back();
      m_blockUsed = m_blocks.empty() ? 0 : blockRows();
    }
  }
}

void RecordsetImpl::discardEdit() {
  for (VARIANT& v : m_edit) VariantClear(&v);
  m_edit.clear();
  m_dirty.clear();
  m_editMode = adEditNone;
}

HRESULT RecordsetImpl::Close() {
  if (!m_open) return raise(adErrObjectClosed, kClosed);
  discardEdit();
  if (m_unit >= 0 && m_conn) m_conn->rollbackEntry(m_unit);  // an unfinished unit is not kept
  connectionClosing();  // the rest is what a closing connection does to it
  return S_OK;
}

void RecordsetImpl::connectionClosing() {
  discardEdit();
  m_unit = -1;  // the connection rolls back what is not committed
  m_unitFailure = S_OK;
  clearRows();
  if (m_insert) {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
  }
  m_open = false;
  if (ConnectionImpl* c = std::exchange(m_conn, nullptr)) c->detach(this);
}

// ---- Position -----------------------------------------------------------------

HRESULT RecordsetImpl::needOpen() const { return m_open ? S_OK : raise(adErrObjectClosed, kClosed); }

bool RecordsetImpl::hasCurrent() const {
  return m_pos >= 0 && m_pos < static_cast<long>(m_rows.size()) && !m_rows[static_cast<size_t>(m_pos)].gone;
}

HRESULT RecordsetImpl::needCurrent() {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (m_editMode == adEditAdd || hasCurrent()) return S_OK;
  return raise(adErrNoCurrentRecord, kNoCurrent);
}

long RecordsetImpl::firstVisible(long from) const {
  long n = static_cast<long>(m_rows.size());
  for (long i = std::max(from, 0L); i < n; ++i)
    if (!m_rows[static_cast<size_t>(i)].gone) return i;
  return n;
}

long RecordsetImpl::lastVisible(long from) const {
  for (long i = std::min(from, static_cast<long>(m_rows.size()) - 1); i >= 0; --i)
    if (!m_rows[static_cast<size_t>(i)].gone) return i;
  return -1;
}

HRESULT RecordsetImpl::get_EOF(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  bool eof = m_editMode != adEditAdd && (m_pos >= static_cast<long>(m_rows.size()) || m_visible == 0);
  *value = eof ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT RecordsetImpl::get_BOF(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  bool bof = m_editMode != adEditAdd && (m_pos < 0 || m_visible == 0);
  *value = bof ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT RecordsetImpl::MoveFirst() {
  HRESULT hr = needOpen();
  if (FAILED(hr) || FAILED(hr = savePending())) return hr;
  if (m_visible == 0) return raise(adErrNoCurrentRecord, kNoCurrent);
  m_pos = firstVisible(0);
  return S_OK;
}

HRESULT RecordsetImpl::MoveLast() {
  HRESULT hr = needOpen();
  if (FAILED(hr) || FAILED(hr = savePending())) return hr;
  if (m_visible == 0) return raise(adErrNoCurrentRecord, kNoCurrent);
  m_pos = lastVisible(static_cast<long>(m_rows.size()) - 1);
  return S_OK;
}

HRESULT RecordsetImpl::MoveNext() { return Move(1, vtMissingValue()); }
HRESULT RecordsetImpl::MovePrevious() { return Move(-1, vtMissingValue()); }

HRESULT RecordsetImpl::Move(LONG numRecords, VARIANT start) {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (!isMissing(start)) return raise(adErrFeatureNotAvailable, "Bookmarks are not supported.");
  if (FAILED(hr = savePending())) return hr;
  const long n = static_cast<long>(m_rows.size());
  if (numRecords == 0) return hasCurrent() ? S_OK : raise(adErrNoCurrentRecord, kNoCurrent);
  if (numRecords > 0) {
    if (m_pos >= n || m_visible == 0) return raise(adErrNoCurrentRecord, kNoCurrent);
    for (LONG k = 0; k < numRecords && m_pos < n; ++k) m_pos = firstVisible(m_pos + 1);
  } else {
    if (m_pos < 0 || m_visible == 0) return raise(adErrNoCurrentRecord, kNoCurrent);
    for (LONG k = 0; k > numRecords && m_pos >= 0; --k) m_pos = lastVisible(m_pos - 1);
  }
  return S_OK;
}

HRESULT RecordsetImpl::get_RecordCount(LONG* count) {
  if (!count) return E_POINTER;
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  *count = m_visible;
  return S_OK;
}

HRESULT RecordsetImpl::get_State(LONG* state) {
  if (!state) return E_POINTER;
  *state = m_open ? adStateOpen : adStateClosed;
  return S_OK;
}

HRESULT RecordsetImpl::get_Status(LONG* status) {
  if (!status) return E_POINTER;
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (m_editMode == adEditAdd) {
    *status = adRecNew;
    return S_OK;
  }
  if (m_pos >= 0 && m_pos < static_cast<long>(m_rows.size()) && m_rows[static_cast<size_t>(m_pos)].gone) {
    *status = adRecDeleted;
    return S_OK;
  }
  if (FAILED(hr = needCurrent())) return hr;
  *status = m_editMode == adEditInProgress ? adRecModified : m_rows[static_cast<size_t>(m_pos)].status;
  return S_OK;
}

HRESULT RecordsetImpl::get_EditMode(EditModeEnum* mode) {
  if (!mode) return E_POINTER;
  *mode = m_editMode;
  return S_OK;
}

// ---- Fields -------------------------------------------------------------------

HRESULT RecordsetImpl::get_Fields(Fields** fields) {
  if (!fields) return E_POINTER;
  m_fieldsObject.AddRef();
  *fields = &m_fieldsObject;
  return S_OK;
}

HRESULT RecordsetImpl::fieldIndex(const VARIANT& index, long& out) {
  long n = static_cast<long>(m_fields.size());
  if (index.vt == VT_BSTR) {
    auto it = m_byName.find(lowerAscii(index.bstrVal ? index.bstrVal : ""));
    if (it != m_byName.end()) {
      out = it->second;
      return S_OK;
    }
  } else {
    long i = -1;
    if (index.vt == VT_I4) {
      i = index.lVal;
    } else {
      VARIANT v;
      VariantInit(&v);
      if (SUCCEEDED(VariantChangeType(&v, &index, 0, VT_I4))) i = v.lVal;
    }
    if (i >= 0 && i < n) {
      out = i;
      return S_OK;
    }
  }
  return raise(adErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

HRESULT RecordsetImpl::get_Collect(VARIANT index, VARIANT* value) {
  if (!value) return E_POINTER;
  VariantInit(value);
  HRESULT hr = needOpen();
  long f = 0;
  if (FAILED(hr) || FAILED(hr = fieldIndex(index, f))) return hr;
  return readField(f, value);
}

HRESULT RecordsetImpl::put_Collect(VARIANT index, VARIANT value) {
  HRESULT hr = needOpen();
  long f = 0;
  if (FAILED(hr) || FAILED(hr = fieldIndex(index, f))) return hr;
  return writeField(f, value);
}

HRESULT RecordsetImpl::readField(long f, VARIANT* value) {
  if (!value) return E_POINTER;
  VariantInit(value);
  HRESULT hr = needCurrent();
  if (FAILED(hr)) return hr;
  if (m_editMode != adEditNone) return VariantCopy(value, &m_edit[static_cast<size_t>(f)]);
  return VariantCopy(value, &rowCells(static_cast<size_t>(m_pos))[f]);
}

HRESULT RecordsetImpl::actualSize(long f, LONG* size) {
  VARIANT v;
  HRESULT hr = readField(f, &v);
  if (FAILED(hr)) return hr;
  if (v.vt == VT_NULL) *size = 0;
  else if (v.vt == VT_BSTR) *size = static_cast<LONG>(SysStringByteLen(v.bstrVal));
  else *size = jet::definedSizeOf(m_fields[static_cast<size_t>(f)].type);
  VariantClear(&v);
  return S_OK;
}

HRESULT RecordsetImpl::refuseWrite(const char*) { return raise(adErrFeatureNotAvailable, kNotUpdatable); }

HRESULT RecordsetImpl::writeField(long f, const VARIANT& value) {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (!m_updatable) return refuseWrite("put");
  const FieldInfo& fi = m_fields[static_cast<size_t>(f)];
  if (fi.identity) return S_OK;  // numbered by the database: a put is ignored
  if (fi.tableColumn < 0)
    return raise(adErrFeatureNotAvailable, "Field '" + fi.name + "' is computed and cannot be updated.");
  if (m_editMode == adEditNone) {
    if (FAILED(hr = needCurrent())) return hr;
    const size_t n = m_fields.size();
    m_edit.assign(n, VARIANT{});
    m_dirty.assign(n, 0);
    VARIANT* row = rowCells(static_cast<size_t>(m_pos));
    for (size_t i = 0; i < n; ++i) VariantCopy(&m_edit[i], &row[i]);
    m_editMode = adEditInProgress;
  }
  // A double into a double column, the most common write, is stored as it is
  // (what the conversion would make of it) without a round of copies.
  if (value.vt == VT_R8 && fi.type.kind == jet::Kind::Double) {
    VARIANT& slot = m_edit[static_cast<size_t>(f)];
    if (slot.vt != VT_R8 && slot.vt != VT_NULL && slot.vt != VT_EMPTY) VariantClear(&slot);
    slot.vt = VT_R8;
    slot.dblVal = value.dblVal;
    m_dirty[static_cast<size_t>(f)] = 1;
    return S_OK;
  }
  _variant_t converted;
  hr = jet::convertForColumn(value, fi.type, converted);
  if (FAILED(hr)) {
    return m_conn->fail(DB_E_ERRORSOCCURRED,
                        "Multiple-step operation generated errors: the value '" + valueText(value) +
                            "' cannot be stored in the field '" + fi.name + "' (" + jet::jetTypeName(fi.type.kind) + ").",
                        "22018");
  }
  VARIANT& slot = m_edit[static_cast<size_t>(f)];
  VariantClear(&slot);
  slot = converted.Detach();
  m_dirty[static_cast<size_t>(f)] = 1;
  return S_OK;
}

// ---- Writing ------------------------------------------------------------------

HRESULT RecordsetImpl::AddNew(VARIANT fieldList, VARIANT) {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (!m_updatable) return refuseWrite("AddNew");
  if (!isMissing(fieldList) && fieldList.vt != VT_EMPTY)
    return raise(adErrFeatureNotAvailable, "AddNew with field lists is not supported.");
  if (FAILED(hr = savePending())) return hr;
  const size_t n = m_fields.size();
  m_edit.assign(n, VARIANT{});
  for (VARIANT& v : m_edit) v.vt = VT_NULL;
  m_dirty.assign(n, 0);
  m_posBeforeAdd = m_pos;
  m_editMode = adEditAdd;
  return S_OK;
}

HRESULT RecordsetImpl::savePending() {
  if (m_editMode == adEditNone) return S_OK;
  if (m_unitFailure != S_OK) {
    discardEdit();
    return raise(m_unitFailure, m_unitFailureText);
  }
  return m_editMode == adEditAdd ? insertRow() : updateRow();
}

HRESULT RecordsetImpl::beginUnit() {
  if (m_unitFailure != S_OK) return raise(m_unitFailure, m_unitFailureText);
  if (m_unit >= 0) return S_OK;
  int id = m_conn->beginEntry(this);
  if (id < 0) return E_FAIL;
  m_unit = id;
  return S_OK;
}

// A write of the unit failed: the unit is rolled back, its further writes are
// refused until Update reports the failure, and a surrounding user
// transaction can no longer be committed.
HRESULT RecordsetImpl::unitFailure(HRESULT hr) {
  std::string description;
  errorInfo(hr, &description, nullptr);
  discardEdit();
  if (m_unit >= 0) {
    m_conn->doomUserTransactions(description);
    m_conn->rollbackEntry(m_unit);
  }
  m_unit = -1;
  m_unitFailure = hr;
  m_unitFailureText = description;
  return m_conn->fail(hr, description, "HY000");
}

HRESULT RecordsetImpl::prepareInsert() {
  if (m_insert) return S_OK;
  // One parameter per table column the recordset shows, the counter aside.
  std::string stored;
  std::vector<TableColumn> cols;
  HRESULT hr = m_conn->tableColumns(m_table, stored, cols);
  if (FAILED(hr)) return hr;
  std::string names, params;
  std::vector<int> used;
  m_insertFields.clear();
  for (size_t f = 0; f < m_fields.size(); ++f) {
    const FieldInfo& fi = m_fields[f];
    if (fi.tableColumn < 0 || fi.identity) continue;
    if (std::find(used.begin(), used.end(), fi.tableColumn) != used.end()) continue;
    if (fi.tableColumn >= static_cast<int>(cols.size()))
      return m_conn->fail(E_FAIL, "The table '" + m_table + "' was changed since the recordset was opened.", "HY000");
    used.push_back(fi.tableColumn);
    names += (names.empty() ? "" : ", ") + jet::quoteName(cols[static_cast<size_t>(fi.tableColumn)].name);
    params += params.empty() ? "?" : ", ?";
    m_insertFields.push_back(static_cast<long>(f));
  }
  std::string sql = m_insertFields.empty()
                        ? "INSERT INTO " + jet::quoteName(stored) + " DEFAULT VALUES"
                        : "INSERT INTO " + jet::quoteName(stored) + " (" + names + ") VALUES (" + params + ")";
  if (sqlite3_prepare_v2(m_conn->db(), sql.c_str(), -1, &m_insert, nullptr) != SQLITE_OK) {
    m_insert = nullptr;
    return m_conn->failSqlite(sqlite3_extended_errcode(m_conn->db()), sqlite3_errmsg(m_conn->db()));
  }
  return S_OK;
}

HRESULT RecordsetImpl::insertRow() {
  HRESULT hr = beginUnit();
  if (FAILED(hr)) {
    discardEdit();
    return hr;
  }
  if (FAILED(hr = prepareInsert())) return unitFailure(hr);
  for (size_t p = 0; p < m_insertFields.size(); ++p)
    bindVariant(m_insert, static_cast<int>(p) + 1, m_edit[static_cast<size_t>(m_insertFields[p])]);
  int rc = sqlite3_step(m_insert);
  sqlite3_reset(m_insert);
  sqlite3_clear_bindings(m_insert);
  m_conn->afterCommit();
  if (rc != SQLITE_DONE)
    return unitFailure(m_conn->failSqlite(sqlite3_extended_errcode(m_conn->db()), sqlite3_errmsg(m_conn->db())));
  sqlite3_int64 rowid = sqlite3_last_insert_rowid(m_conn->db());
  for (size_t f = 0; f < m_fields.size(); ++f) {
    if (m_fields[f].identity) {
      VariantClear(&m_edit[f]);
      m_edit[f].vt = VT_I4;
      m_edit[f].lVal = static_cast<LONG>(rowid);
    }
  }
  // The new row joins the rows, after the last.
  VARIANT* cells = appendRow();
  std::copy(m_edit.begin(), m_edit.end(), cells);  // the values move into the row
  m_edit.clear();
  m_dirty.clear();
  m_editMode = adEditNone;
  RowMeta meta;
  meta.rowid = rowid;
  meta.status = adRecOK;
  m_rows.push_back(meta);
  ++m_visible;
  m_pos = static_cast<long>(m_rows.size()) - 1;
  m_undo.push_back(Undo{m_unit, UndoKind::Insert, m_rows.size() - 1, meta, {}});
  return S_OK;
}

HRESULT RecordsetImpl::updateRow() {
  std::string set;
  std::vector<long> changed;
  std::string stored;
  std::vector<TableColumn> cols;
  for (size_t f = 0; f < m_fields.size(); ++f) {
    if (m_dirty[f] && m_fields[f].tableColumn >= 0 && !m_fields[f].identity) changed.push_back(static_cast<long>(f));
  }
  if (changed.empty()) {
    discardEdit();
    return S_OK;
  }
  HRESULT hr = beginUnit();
  if (FAILED(hr)) {
    discardEdit();
    return hr;
  }
  if (FAILED(hr = m_conn->tableColumns(m_table, stored, cols))) return unitFailure(hr);
  for (long f : changed) {
    size_t c = static_cast<size_t>(m_fields[static_cast<size_t>(f)].tableColumn);
    if (c >= cols.size()) return unitFailure(m_conn->fail(E_FAIL, "The table '" + m_table + "' was changed.", "HY000"));
    set += (set.empty() ? "" : ", ") + jet::quoteName(cols[c].name) + " = ?";
  }
  std::string sql = "UPDATE " + jet::quoteName(stored) + " SET " + set + " WHERE rowid = ?";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(m_conn->db(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    return unitFailure(m_conn->failSqlite(sqlite3_extended_errcode(m_conn->db()), sqlite3_errmsg(m_conn->db())));
  int p = 1;
  for (long f : changed) bindVariant(stmt, p++, m_edit[static_cast<size_t>(f)]);
  RowMeta& meta = m_rows[static_cast<size_t>(m_pos)];
  sqlite3_bind_int64(stmt, p, meta.rowid);
  int rc = sqlite3_step(stmt);
  sqlite3_finalize(stmt);
  m_conn->afterCommit();
  if (rc != SQLITE_DONE)
    return unitFailure(m_conn->failSqlite(sqlite3_extended_errcode(m_conn->db()), sqlite3_errmsg(m_conn->db())));
  if (sqlite3_changes(m_conn->db()) == 0)
    return unitFailure(m_conn->fail(E_FAIL, "The record to be changed no longer exists in '" + m_table + "'.", "HY000"));
  // The row takes the edited values; its old values are kept for a rollback.
  Undo u{m_unit, UndoKind::Modify, static_cast<size_t>(m_pos), meta, {}};
  VARIANT* row = rowCells(static_cast<size_t>(m_pos));
  for (size_t f = 0; f < m_fields.size(); ++f) std::swap(row[f], m_edit[f]);
  u.cells = std::move(m_edit);
  m_edit.clear();
  m_dirty.clear();
  m_editMode = adEditNone;
  meta.status = adRecOK;
  m_undo.push_back(std::move(u));
  return S_OK;
}

HRESULT RecordsetImpl::Update(VARIANT fields, VARIANT) {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (!isMissing(fields) && fields.vt != VT_EMPTY)
    return raise(adErrFeatureNotAvailable, "Update with field lists is not supported.");
  if (!m_updatable) return m_editMode == adEditNone ? S_OK : refuseWrite("Update");
  hr = savePending();
  if (m_unitFailure != S_OK) {
    HRESULT failure = m_unitFailure;
    std::string text = "Nothing was written since the last update, because a write failed: " + m_unitFailureText;
    m_unitFailure = S_OK;
    m_unitFailureText.clear();
    return m_conn->fail(failure, text, "HY000");
  }
  if (FAILED(hr)) return hr;
  if (m_unit >= 0) {
    int id = m_unit;
    m_unit = -1;
    return m_conn->releaseEntry(id);
  }
  return S_OK;
}

HRESULT RecordsetImpl::CancelUpdate() {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (m_editMode == adEditAdd) m_pos = m_posBeforeAdd;
  discardEdit();
  return S_OK;
}

HRESULT RecordsetImpl::CancelBatch(AffectEnum) { return CancelUpdate(); }

HRESULT RecordsetImpl::Cancel() { return S_OK; }

HRESULT RecordsetImpl::Delete(AffectEnum affect) {
  HRESULT hr = needOpen();
  if (FAILED(hr)) return hr;
  if (!m_updatable) return refuseWrite("Delete");
  if (affect != adAffectCurrent) return raise(adErrFeatureNotAvailable, "Only the current record can be deleted.");
  if (m_editMode == adEditAdd) return CancelUpdate();
  discardEdit();
  if (FAILED(hr = needCurrent())) return hr;
  bool ownUnit = m_unit < 0;
  if (FAILED(hr = beginUnit())) return hr;
  RowMeta& meta = m_rows[static_cast<size_t>(m_pos)];
  std::string sql = "DELETE FROM " + jet::quoteName(m_table) + " WHERE rowid = ?";
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(m_conn->db(), sql.c_str(), -1, &stmt, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_bind_int64(stmt, 1, meta.rowid);
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    m_conn->afterCommit();
  }
  if (rc != SQLITE_DONE) {
    hr = m_conn->failSqlite(sqlite3_extended_errcode(m_conn->db()), sqlite3_errmsg(m_conn->db()));
    if (!ownUnit) return unitFailure(hr);
    std::string description;
    errorInfo(hr, &description, nullptr);
    m_conn->rollbackEntry(m_unit);
    m_unit = -1;
    return m_conn->fail(hr, description, "HY000");
  }
  m_undo.push_back(Undo{m_unit, UndoKind::Delete, static_cast<size_t>(m_pos), meta, {}});
  meta.gone = true;
  meta.status = adRecDeleted;
  --m_visible;
  if (ownUnit) {
    // A delete outside a pending unit is kept at once.
    int id = m_unit;
    m_unit = -1;
    return m_conn->releaseEntry(id);
  }
  return S_OK;
}

// ---- Notifications of the connection --------------------------------------------

void RecordsetImpl::undo(Undo& u) {
  switch (u.kind) {
    case UndoKind::Insert: {
      // Inserted rows are undone newest first, so the row is the last one.
      truncateRows(u.row);
      m_rows.resize(u.row);
      if (!u.meta.gone) --m_visible;
      break;
    }
    case UndoKind::Modify: {
      VARIANT* row = rowCells(u.row);
      for (size_t f = 0; f < m_fields.size(); ++f) {
        VariantClear(&row[f]);
        row[f] = u.cells[f];  // the old values return to the row
      }
      u.cells.clear();
      m_rows[u.row] = u.meta;
      break;
    }
    case UndoKind::Delete:
      if (m_rows[u.row].gone && !u.meta.gone) ++m_visible;
      m_rows[u.row] = u.meta;
      break;
  }
}

void RecordsetImpl::entriesRolledBack(const std::set<int>& ids) {
  if (ids.count(m_unit)) m_unit = -1;
  bool touched = false;
  while (!m_undo.empty() && ids.count(m_undo.back().entry)) {
    Undo u = std::move(m_undo.back());
    m_undo.pop_back();
    undo(u);  // takes over the cells of a modification
    touched = true;
  }
  if (touched) {
    long n = static_cast<long>(m_rows.size());
    if (m_editMode == adEditInProgress && !hasCurrent()) discardEdit();
    if (m_pos > n) m_pos = n;
    if (m_posBeforeAdd > n) m_posBeforeAdd = n;
  }
}

void RecordsetImpl::entryReleased(int id, int parentId) {
  for (Undo& u : m_undo)
    if (u.entry == id) u.entry = parentId;
  if (m_unit == id) m_unit = -1;
}

void RecordsetImpl::allCommitted() {
  for (Undo& u : m_undo)
    for (VARIANT& v : u.cells) VariantClear(&v);
  m_undo.clear();
  m_unit = -1;
}

void RecordsetImpl::baseRowsRemoved(sqlite3* db, bool dropped) {
  if (!m_open || !m_updatable || m_rows.empty()) return;
  std::unordered_set<sqlite3_int64> present;
  if (!dropped) {
    std::string sql = "SELECT rowid FROM " + jet::quoteName(m_table);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return;
    while (sqlite3_step(stmt) == SQLITE_ROW) present.insert(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
  }
  for (RowMeta& meta : m_rows) {
    if (!meta.gone && !present.count(meta.rowid)) {
      meta.gone = true;
      meta.status = adRecDeleted;
      --m_visible;
    }
  }
  if (m_editMode == adEditInProgress && !hasCurrent()) discardEdit();
}

}  // namespace platform::ado
