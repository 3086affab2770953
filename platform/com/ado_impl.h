#pragma once
// The ADO objects over SQLite (see com/ado.h for what they do).

#include <sqlite3.h>
#include <sys/stat.h>

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "com/ado.h"
#include "com/jetsql.h"

namespace platform::ado {

// Reference counting and QueryInterface of one interface.
template <class I>
class ComObject : public I {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IUnknown::iid || riid == IDispatch::iid || riid == I::iid) {
      *object = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  ~ComObject() override = default;

 private:
  ULONG m_refs = 1;  // the creator's reference
};

// What tells one database file from another and a changed file from the one
// it was: its device and inode, size, and times of change.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified {};
  struct timespec changed {};

  static FileIdentity of(const struct stat& st) {
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  }
  bool operator==(const FileIdentity& o) const {
    return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec;
  }
};

struct ErrorRecord {
  HRESULT number = S_OK;
  std::string description;
  std::string sqlState;
  LONG nativeError = 0;
  std::string source;
};

class ErrorsImpl : public ComObject<Errors> {
 public:
  HRESULT get_Count(LONG* value) override;
  HRESULT get_Item(VARIANT index, Error** item) override;
  HRESULT Clear() override;
  void set(ErrorRecord record);

 private:
  std::vector<ErrorRecord> m_list;
};

// Reports a failure: sets the thread's error info and returns `hr`.
HRESULT raise(HRESULT hr, const std::string& description);
// Binds a value to a statement parameter by its storage type.
void bindVariant(sqlite3_stmt* stmt, int parameter, const VARIANT& value);

// A column of a table as SQLite keeps it.
struct TableColumn {
  std::string name;
  jet::ColumnType type;
  bool notNull = false;
};

class RecordsetImpl;

class ConnectionImpl : public ComObject<_Connection> {
 public:
  ConnectionImpl();
  ~ConnectionImpl() override;

  HRESULT get_ConnectionString(BSTR* value) override;
  HRESULT put_ConnectionString(BSTR value) override;
  HRESULT get_ConnectionTimeout(LONG* seconds) override;
  HRESULT put_ConnectionTimeout(LONG seconds) override;
  HRESULT get_State(LONG* state) override;
  HRESULT get_Errors(Errors** errors) override;
  HRESULT Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) override;
  HRESULT Close() override;
  HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** result) override;
  HRESULT OpenSchema(SchemaEnum schema, VARIANT restrictions, VARIANT schemaId, _Recordset** result) override;
  HRESULT BeginTrans(LONG* level) override;
  HRESULT CommitTrans() override;
  HRESULT RollbackTrans() override;
  HRESULT Cancel() override;

  // ---- services of the recordsets ----
  bool isOpen() const { return m_db != nullptr; }
  sqlite3* db() const {
    resumeWaiting();
    return m_db;
  }
  // Records a database failure in Errors and the thread's error info.
  HRESULT fail(HRESULT hr, const std::string& description, const char* sqlState, LONG nativeError = 0);
  // A failure reported by SQLite, described as Jet would describe it.
  HRESULT failSqlite(int rc, const std::string& message);
  HRESULT failClosed();
  // Runs a statement that returns no rows.
  HRESULT exec(const char* sql);
  // After a statement that may have committed: a commit of this connection
  // to a file no one else changed since leaves the file known sound as it
  // now is, so the next open of it needs no new integrity check.
  void afterCommit();
  // The stored name and columns of `table` (found without regard to ASCII
  // case); DB_E_NOTABLE when there is none.
  HRESULT tableColumns(const std::string& table, std::string& storedName, std::vector<TableColumn>& columns);
  // Runs a parsed statement that returns no rows.
  HRESULT run(const jet::Statement& st, LONG* affected);

  // Transactions: a stack of savepoints, each owned by the user (BeginTrans)
  // or by a recordset's write unit.
  int beginEntry(RecordsetImpl* owner);
  HRESULT releaseEntry(int id);
  HRESULT rollbackEntry(int id);
  // Marks the user transactions open below the top as failed.
  void doomUserTransactions(const std::string& reason);

  void attach(RecordsetImpl* rs);
  void detach(RecordsetImpl* rs);

 private:
  struct Entry {
    int id = 0;
    RecordsetImpl* owner = nullptr;  // null for a user transaction
    bool released = false;
    bool doomed = false;
    std::string doomReason;
  };
  // Closes the handle; `keepHandle` keeps it for the next open of the same
  // file when nothing of it is still running.
  void closeDatabase(bool keepHandle = false);
  // The database is locked by another program: said once per command (see
  // ado_connection.cpp), the run ended.
  HRESULT failLocked(LONG native);
  bool m_lockedReported = false;  // the last failure was a lock, already said
  // After a lock the connection's statements stop waiting for the rest of
  // that command; the next command's statements wait again.
  void resumeWaiting() const;
  mutable bool m_waitDropped = false;
  mutable unsigned long m_waitDroppedIn = 0;  // the command serial it was dropped in
  HRESULT releaseTop();
  void rowsRemoved(const std::string& table, bool dropped);
  HRESULT openDatabase(const std::string& given, const std::string& path);
  int userLevel() const;

  sqlite3* m_db = nullptr;
  std::string m_connectionString;
  std::string m_path;  // as given in Data Source
  std::string m_file;  // the file it names
  FileIdentity m_opened;  // that file as it was when it was opened, or after this connection's last commit
  // The file passed its integrity check, and nothing but this connection's
  // commits has changed it since: each commit then leaves it known sound.
  bool m_sound = false;
  bool m_committed = false;  // a commit since the last afterCommit
  static int commitHook(void* connection);
  bool m_readOnly = false;
  bool m_readOnlyReported = false;
  LONG m_timeout = 15;
  ErrorsImpl* m_errors;
  std::vector<RecordsetImpl*> m_recordsets;
  std::vector<Entry> m_stack;
  int m_nextEntry = 1;
};

// One field of a recordset.
struct FieldInfo {
  std::string name;
  jet::ColumnType type;
  int tableColumn = -1;  // the column written by an update; -1 when computed
  bool identity = false;
  bool notNull = false;
};

class RecordsetImpl;

// The Fields collection of a recordset: part of the recordset, it shares the
// recordset's reference count.
class FieldsImpl : public Fields {
 public:
  explicit FieldsImpl(RecordsetImpl* rs) : m_rs(rs) {}
  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT get_Count(LONG* value) override;
  HRESULT get_Item(VARIANT index, Field** item) override;

 private:
  RecordsetImpl* m_rs;
};

class RecordsetImpl : public ComObject<_Recordset> {
 public:
  RecordsetImpl();
  ~RecordsetImpl() override;

  HRESULT Open(VARIANT source, VARIANT connection, CursorTypeEnum cursorType, LockTypeEnum lockType,
               LONG options) override;
  HRESULT Close() override;
  HRESULT get_State(LONG* state) override;
  HRESULT get_Status(LONG* status) override;
  HRESULT get_EditMode(EditModeEnum* mode) override;
  HRESULT get_EOF(VARIANT_BOOL* value) override;
  HRESULT get_BOF(VARIANT_BOOL* value) override;
  HRESULT get_RecordCount(LONG* count) override;
  HRESULT get_Fields(Fields** fields) override;
  HRESULT get_Collect(VARIANT index, VARIANT* value) override;
  HRESULT put_Collect(VARIANT index, VARIANT value) override;
  HRESULT MoveFirst() override;
  HRESULT MoveLast() override;
  HRESULT MoveNext() override;
  HRESULT MovePrevious() override;
  HRESULT Move(LONG numRecords, VARIANT start) override;
  HRESULT AddNew(VARIANT fieldList, VARIANT values) override;
  HRESULT Update(VARIANT fields, VARIANT values) override;
  HRESULT CancelUpdate() override;
  HRESULT Delete(AffectEnum affect) override;
  HRESULT CancelBatch(AffectEnum affect) override;
  HRESULT Cancel() override;

  // ---- services of the connection and the field objects ----
  // Opens a parsed select on `conn`.
  HRESULT openSelect(ConnectionImpl* conn, const jet::Statement& st, LockTypeEnum lockType);
  // Opens rows held in memory (a schema rowset); read-only.
  void openMemory(std::vector<FieldInfo> fields, std::vector<std::vector<_variant_t>> rows);
  // The connection closes: so does the recordset.
  void connectionClosing();
  // Transaction entries were rolled back / released / committed.
  void entriesRolledBack(const std::set<int>& ids);
  void entryReleased(int id, int parentId);
  void allCommitted();
  // Rows of the base table were deleted by a statement of the connection.
  void baseRowsRemoved(sqlite3* db, bool dropped);
  const std::string& baseTable() const { return m_table; }

  bool isOpen() const { return m_open; }
  long fieldCount() const { return static_cast<long>(m_fields.size()); }
  const FieldInfo& field(long i) const { return m_fields[static_cast<size_t>(i)]; }
  HRESULT fieldIndex(const VARIANT& index, long& out);
  HRESULT readField(long f, VARIANT* value);
  HRESULT writeField(long f, const VARIANT& value);
  HRESULT actualSize(long f, LONG* size);

 private:
  enum class UndoKind { Insert, Modify, Delete };
  struct RowMeta {
    sqlite3_int64 rowid = 0;
    bool gone = false;
    LONG status = adRecUnmodified;
  };
  struct Undo {
    int entry;
    UndoKind kind;
    size_t row;
    RowMeta meta;
    std::vector<VARIANT> cells;
  };

  VARIANT* rowCells(size_t row) { return m_cells[row]; }
  // Room for the fields of one more row, after the last.
  VARIANT* appendRow();
  size_t blockRows() const;
  // Frees the fields of the rows from `row` on.
  void truncateRows(size_t row);
  bool hasCurrent() const;
  long firstVisible(long from) const;
  long lastVisible(long from) const;
  HRESULT needOpen() const;
  HRESULT needCurrent();
  HRESULT refuseWrite(const char* what);
  HRESULT savePending();
  HRESULT insertRow();
  HRESULT updateRow();
  HRESULT beginUnit();
  HRESULT unitFailure(HRESULT hr);
  void discardEdit();
  void clearRows();
  void undo(Undo& u);
  HRESULT fetch(sqlite3_stmt* stmt, bool withRowid);
  HRESULT prepareInsert();

  bool m_open = false;
  bool m_updatable = false;
  ConnectionImpl* m_conn = nullptr;  // holds a reference while open
  std::string m_table;               // the base table, empty for other rowsets
  std::vector<FieldInfo> m_fields;
  std::unordered_map<std::string, long> m_byName;  // lower-cased name -> field
  // The fields of each row, kept in blocks of rows so that many rows cost few
  // allocations; rows are added and removed at the end only.
  std::vector<VARIANT*> m_cells;
  std::vector<VARIANT*> m_blocks;
  size_t m_blockUsed = 0;  // rows used in the last block
  std::vector<RowMeta> m_rows;
  long m_visible = 0;  // rows not deleted
  long m_pos = 0;

  EditModeEnum m_editMode = adEditNone;
  std::vector<VARIANT> m_edit;
  std::vector<char> m_dirty;
  long m_posBeforeAdd = 0;

  int m_unit = -1;               // the connection entry of the write unit
  HRESULT m_unitFailure = S_OK;  // a write of the unit failed
  std::string m_unitFailureText;
  std::vector<Undo> m_undo;

  sqlite3_stmt* m_insert = nullptr;
  std::vector<long> m_insertFields;  // field of each insert parameter

  FieldsImpl m_fieldsObject{this};
};

class FieldImpl : public ComObject<Field> {
 public:
  FieldImpl(RecordsetImpl* rs, long index);
  ~FieldImpl() override;
  HRESULT get_Name(BSTR* value) override;
  HRESULT get_Type(DataTypeEnum* value) override;
  HRESULT get_DefinedSize(LONG* value) override;
  HRESULT get_ActualSize(LONG* value) override;
  HRESULT get_Attributes(LONG* value) override;
  HRESULT get_Value(VARIANT* value) override;
  HRESULT put_Value(VARIANT value) override;

 private:
  RecordsetImpl* m_rs;
  long m_index;
};

}  // namespace platform::ado
