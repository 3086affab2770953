// ADODB.Connection over an SQLite database file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "arx/edcmdline.h"
#include "com/ado_impl.h"
#include "crt/ascii.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace platform::ado {
namespace {

// Database files whose integrity check passed, by path, as they were then.
// The check reads the whole file, so a file unchanged since is not checked
// again on every connection.
struct CheckedFiles {
  std::mutex mutex;
  std::map<std::string, FileIdentity> files;
};

CheckedFiles& checkedFiles() {
  static CheckedFiles* files = new CheckedFiles();  // lives for the whole process
  return *files;
}

bool checkedBefore(const std::string& path, const FileIdentity& file) {
  CheckedFiles& c = checkedFiles();
  std::lock_guard<std::mutex> lock(c.mutex);
  auto it = c.files.find(path);
  return it != c.files.end() && it->second == file;
}

void rememberChecked(const std::string& path, const FileIdentity& file) {
  CheckedFiles& c = checkedFiles();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.files[path] = file;
}

std::atomic<long> g_integrityChecks{0};

// What SQLite's quick integrity check finds wrong with the open database
// ("" when it finds nothing): its first report.
std::string integrityFault(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr) != SQLITE_OK) {
    std::string msg = sqlite3_errmsg(db);
    sqlite3_finalize(st);
    return msg;
  }
  std::string result;
  int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(st, 0);
    result = text ? reinterpret_cast<const char*>(text) : "";
  } else {
    result = sqlite3_errmsg(db);
  }
  sqlite3_finalize(st);
  return result == "ok" ? std::string() : result;
}

// Handles of connections closed a moment ago, kept open by file. SQLite
// reads a database's whole schema on every new handle, which costs more than
// most queries; the system opens and closes its scheme database around every
// table it reads, so a closed connection leaves its handle here for the next
// open of the same file, as an OLE DB provider pools its sessions. A kept
// handle holds no lock and no transaction. It is taken again only by the
// process that kept it, in the same mode, for the very file it was opened on
// and unchanged since (identity, size and times): a file written by anything
// else, or put in the path's place while the handle was open, gets a fresh
// handle. A handle whose session holds state of its own (attached databases,
// temporary tables) is not kept. Its page cache is let go when it is kept, so the
// rows are read from the file again as by a fresh handle.
struct IdleHandle {
  std::string path;
  bool readOnly;
  FileIdentity file;
  sqlite3* db;
};

struct IdleHandles {
  static constexpr size_t kMax = 4;
  std::mutex mutex;
  pid_t owner = ::getpid();
  std::vector<IdleHandle> handles;  // the most recently kept last
};

IdleHandles& idleHandles() {
  static IdleHandles* handles = new IdleHandles();  // lives for the whole process
  return *handles;
}

// A kept handle of `path` for a connection opening it in `readOnly` mode,
// the file being as `file` says; null when there is none. Kept handles of the
// file that do not fit are closed.
sqlite3* takeIdleHandle(const std::string& path, bool readOnly, const FileIdentity& file) {
  IdleHandles& idle = idleHandles();
  std::lock_guard<std::mutex> lock(idle.mutex);
  if (idle.owner != ::getpid()) return nullptr;  // a forked child leaves its parent's handles alone
  sqlite3* found = nullptr;
  for (size_t i = idle.handles.size(); i-- > 0;) {
    IdleHandle& h = idle.handles[i];
    if (h.path != path) continue;
    if (!found && h.readOnly == readOnly && h.file == file) found = h.db;
    else sqlite3_close_v2(h.db);
    idle.handles.erase(idle.handles.begin() + static_cast<long>(i));
  }
  return found;
}

// Whether the session of `db` holds anything beyond the main database: a
// database attached to it or a temporary table, view or trigger. The next
// connection would find them, so such a handle is not kept.
bool sessionHasState(sqlite3* db) {
  bool state = false;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA database_list", -1, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return true;
  }
  while (sqlite3_step(st) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(st, 1);
    std::string n = name ? reinterpret_cast<const char*>(name) : "";
    if (n != "main" && n != "temp") state = true;
  }
  sqlite3_finalize(st);
  if (state) return true;
  if (sqlite3_prepare_v2(db, "SELECT count(*) FROM temp.sqlite_master", -1, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return true;
  }
  state = sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int64(st, 0) != 0;
  sqlite3_finalize(st);
  return state;
}

// Keeps the handle of a connection that closes, opened on `path` when the
// file was as `opened` says. It is closed instead when it is in a statement
// or a transaction, its session holds state of its own, or the path no longer
// names the file, unchanged, that it was opened on (a file renamed into its
// place leaves the handle on the old one).
void keepIdleHandle(const std::string& path, bool readOnly, const FileIdentity& opened, sqlite3* db) {
  struct stat st;
  IdleHandles& idle = idleHandles();
  std::unique_lock<std::mutex> lock(idle.mutex);
  if (idle.owner != ::getpid() || !sqlite3_get_autocommit(db) || sqlite3_next_stmt(db, nullptr) != nullptr ||
      sessionHasState(db) || ::stat(path.c_str(), &st) != 0 || !(FileIdentity::of(st) == opened)) {
    lock.unlock();
    sqlite3_close_v2(db);
    return;
  }
  sqlite3_db_release_memory(db);
  std::vector<sqlite3*> closing;
  for (size_t i = idle.handles.size(); i-- > 0;) {
    if (idle.handles[i].path != path) continue;
    closing.push_back(idle.handles[i].db);
    idle.handles.erase(idle.handles.begin() + static_cast<long>(i));
  }
  if (idle.handles.size() >= IdleHandles::kMax) {
    closing.push_back(idle.handles.front().db);
    idle.handles.erase(idle.handles.begin());
  }
  idle.handles.push_back(IdleHandle{path, readOnly, opened, db});
  lock.unlock();
  for (sqlite3* h : closing) sqlite3_close_v2(h);
}

// A database that another program holds locked. Waiting for it would make a
// command that opens it again and again wait minutes; so the first open or
// write that finds it locked says so and ends the run (the command stops
// asking), and every later one within the same command fails at once,
// without a word more.
struct LockedDatabase {
  std::mutex mutex;
  std::string path;
  unsigned long command = 0;
  bool known = false;
};

LockedDatabase& lockedDatabase() {
  static LockedDatabase* locked = new LockedDatabase();  // lives for the whole process
  return *locked;
}

// True when `path` was found locked by the command that runs now.
bool lockedInThisCommand(const std::string& path) {
  LockedDatabase& l = lockedDatabase();
  std::lock_guard<std::mutex> lock(l.mutex);
  return l.known && !activeCommandName().empty() && l.command == commandSerial() && l.path == path;
}

// Notes that `path` is locked; true when this is the first time within the
// running command (outside a command: every time).
bool noteLocked(const std::string& path) {
  LockedDatabase& l = lockedDatabase();
  std::lock_guard<std::mutex> lock(l.mutex);
  const bool inCommand = !activeCommandName().empty();
  const bool first = !(inCommand && l.known && l.command == commandSerial() && l.path == path);
  l.known = inCommand;
  l.path = path;
  l.command = commandSerial();
  return first;
}

// How long an open waits for a lock that another connection holds: a
// writer's commit takes milliseconds; a program that keeps the database
// locked keeps it for good.
constexpr int kOpenWaitMs = 2000;

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Reads "key=value;key=value" (values may be quoted) into lower-case keys.
std::vector<std::pair<std::string, std::string>> parseConnectionString(const std::string& s) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t i = 0;
  while (i < s.size()) {
    size_t eq = s.find('=', i);
    if (eq == std::string::npos) break;
    std::string key = lowerAscii(trim(s.substr(i, eq - i)));
    size_t v = eq + 1;
    while (v < s.size() && (s[v] == ' ' || s[v] == '\t')) ++v;
    std::string value;
    if (v < s.size() && (s[v] == '"' || s[v] == '\'')) {
      char q = s[v];
      size_t close = s.find(q, v + 1);
      if (close == std::string::npos) close = s.size();
      value = s.substr(v + 1, close - v - 1);
      i = s.find(';', close);
      i = i == std::string::npos ? s.size() : i + 1;
    } else {
      size_t semi = s.find(';', v);
      if (semi == std::string::npos) semi = s.size();
      value = trim(s.substr(v, semi - v));
      i = semi + 1;
    }
    out.emplace_back(key, value);
  }
  return out;
}

// True when the process may write to `path` and its permission bits allow a
// write at all (a read-only file or folder stays read-only for every user,
// as a read-only file does on the platform the system comes from).
bool writable(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return ::access(path.c_str(), W_OK) == 0;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string tableNameIn(const std::string& message, const char* prefix) {
  std::string rest = message.substr(std::strlen(prefix));
  if (!rest.empty() && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  return rest;
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

ConnectionImpl::ConnectionImpl() : m_errors(new ErrorsImpl()) {}

ConnectionImpl::~ConnectionImpl() {
  if (m_db) Close();
  m_errors->Release();
}

HRESULT ConnectionImpl::get_ConnectionString(BSTR* value) {
  if (!value) return E_POINTER;
  *value = SysAllocStringByteLen(m_connectionString.data(), static_cast<UINT>(m_connectionString.size()));
  return S_OK;
}

HRESULT ConnectionImpl::put_ConnectionString(BSTR value) {
  if (m_db) return raise(adErrObjectOpen, "Operation is not allowed when the object is open.");
  m_connectionString = value ? value : "";
  return S_OK;
}

HRESULT ConnectionImpl::get_ConnectionTimeout(LONG* seconds) {
  if (!seconds) return E_POINTER;
  *seconds = m_timeout;
  return S_OK;
}

HRESULT ConnectionImpl::put_ConnectionTimeout(LONG seconds) {
  if (seconds < 0) return raise(adErrInvalidArgument, "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.");
  m_timeout = seconds;
  if (m_db) sqlite3_busy_timeout(m_db, static_cast<int>(seconds) * 1000);
  return S_OK;
}

HRESULT ConnectionImpl::get_State(LONG* state) {
  if (!state) return E_POINTER;
  *state = m_db ? adStateOpen : adStateClosed;
  return S_OK;
}

HRESULT ConnectionImpl::get_Errors(Errors** errors) {
  if (!errors) return E_POINTER;
  m_errors->AddRef();
  *errors = m_errors;
  return S_OK;
}

HRESULT ConnectionImpl::fail(HRESULT hr, const std::string& description, const char* sqlState, LONG nativeError) {
  m_errors->set(ErrorRecord{hr, description, sqlState ? sqlState : "", nativeError, ""});
  return raise(hr, description);
}

HRESULT ConnectionImpl::failClosed() {
  return raise(adErrObjectClosed, "Operation is not allowed when the object is closed.");
}

HRESULT ConnectionImpl::failSqlite(int rc, const std::string& message) {
  int primary = rc & 0xff;
  LONG native = rc;
  if (startsWith(message, "no such table: ")) {
    return fail(DB_E_NOTABLE,
                "The Microsoft Jet database engine cannot find the input table or query '" +
                    tableNameIn(message, "no such table: ") + "'. Make sure it exists and that its name is spelled correctly.",
                "42S02", native);
  }
  if (startsWith(message, "table ") && message.find("already exists") != std::string::npos) {
    std::string name = message.substr(6, message.find(" already exists") - 6);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    return fail(DB_E_ERRORSINCOMMAND, "Table '" + name + "' already exists.", "42S01", native);
  }
  if (startsWith(message, "no such column: ")) {
    return fail(DB_E_PARAMNOTOPTIONAL,
                "No value given for one or more required parameters (unknown field '" +
                    tableNameIn(message, "no such column: ") + "').",
                "07002", native);
  }
  if (primary == SQLITE_READONLY || (m_readOnly && primary == SQLITE_CANTOPEN)) {
    std::string text = "Cannot update. Database or object is read-only: the file '" + m_path +
                       "' or its folder is not writable.";
    if (!m_readOnlyReported) {
      m_readOnlyReported = true;
      transcriptLine(text);
    }
    return fail(E_FAIL, text, "HY000", native);
  }
  if (primary == SQLITE_CONSTRAINT) {
    if (message.find("NOT NULL") != std::string::npos)
      return fail(DB_E_INTEGRITYVIOLATION,
                  "The field '" + tableNameIn(message, "NOT NULL constraint failed: ") +
                      "' cannot contain a Null value because the Required property for this field is set to True.",
                  "23000", native);
    return fail(DB_E_INTEGRITYVIOLATION,
                "The changes you requested to the table were not successful because they would create duplicate values in the index, primary key, or relationship.",
                "23000", native);
  }
  if (primary == SQLITE_BUSY) return failLocked(native);
  if (primary == SQLITE_LOCKED)
    return fail(E_FAIL, "Could not update; currently locked ('" + m_path + "').", "HY000", native);
  if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
    return fail(E_FAIL, "Unrecognized database format '" + m_path + "'.", "HY000", native);
  if (primary == SQLITE_FULL || primary == SQLITE_IOERR)
    return fail(E_FAIL, "Disk or network error writing '" + m_path + "': " + message, "HY000", native);
  if (primary == SQLITE_ERROR && message.find("syntax error") != std::string::npos)
    return fail(DB_E_ERRORSINCOMMAND, "Syntax error in query expression: " + message, "42000", native);
  return fail(E_FAIL, message, "HY000", native);
}

HRESULT ConnectionImpl::failLocked(LONG native) {
  const std::string text = "The database '" + m_path +
                           "' is in use by another program, which holds it locked: close it there, then run the "
                           "command again.";
  if (noteLocked(m_file)) {
    transcriptLine(text);
    const std::string command = activeCommandName();
    if (!command.empty() && scriptRunning()) endRunWithError(command + " stopped: " + text);
  }
  // Later statements of this connection in this command do not wait for it
  // either.
  if (m_db) {
    sqlite3_busy_timeout(m_db, 0);
    m_waitDropped = true;
    m_waitDroppedIn = commandSerial();
  }
  m_lockedReported = true;
  return fail(E_FAIL, text, "HY000", native);
}

void ConnectionImpl::resumeWaiting() const {
  if (!m_waitDropped || commandSerial() == m_waitDroppedIn) return;
  m_waitDropped = false;
  if (m_db) sqlite3_busy_timeout(m_db, static_cast<int>(m_timeout) * 1000);
}

HRESULT ConnectionImpl::exec(const char* sql) {
  resumeWaiting();
  char* msg = nullptr;
  int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &msg);
  afterCommit();
  if (rc == SQLITE_OK) return S_OK;
  std::string text = msg ? msg : sqlite3_errmsg(m_db);
  sqlite3_free(msg);
  return failSqlite(sqlite3_extended_errcode(m_db), text);
}

HRESULT ConnectionImpl::Open(BSTR connectionString, BSTR, BSTR, LONG) {
  if (m_db) return raise(adErrObjectOpen, "Operation is not allowed when the object is open.");
  if (connectionString && *connectionString) m_connectionString = connectionString;
  std::string provider, source;
  for (const auto& [key, value] : parseConnectionString(m_connectionString)) {
    if (key == "provider") provider = value;
    else if (key == "data source") source = value;
  }
  std::string p = lowerAscii(provider);
  if (!p.empty() && !startsWith(p, "microsoft.jet.oledb") && !startsWith(p, "microsoft.ace.oledb")) {
    HRESULT hr = fail(adErrProviderNotFound, "Provider cannot be found. It may not be properly installed ('" + provider + "').",
                      "IM002");
    transcriptLine(std::string("数据库连接失败: ") + "Provider cannot be found ('" + provider + "').");
    return hr;
  }
  if (source.empty()) {
    HRESULT hr = fail(E_FAIL, "The connection string names no database file (Data Source).", "HY000");
    transcriptLine("数据库连接失败: the connection string names no database file (Data Source).");
    return hr;
  }
  m_lockedReported = false;
  HRESULT hr = openDatabase(source, resolvePath(source));
  if (FAILED(hr) && !m_lockedReported) {
    std::string description;
    errorInfo(hr, &description, nullptr);
    transcriptLine("数据库连接失败: " + description);
  }
  return hr;
}

HRESULT ConnectionImpl::openDatabase(const std::string& given, const std::string& path) {
  m_path = given;
  m_readOnly = false;
  m_readOnlyReported = false;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0)
    return fail(E_FAIL, "Could not find file '" + given + "'.", "HY000", errno);
  const std::string cannotOpen = "The Microsoft Jet database engine cannot open the file '" + given +
                                 "'. It is already opened exclusively by another user, or you need permission to view its data.";
  if (!S_ISREG(st.st_mode)) return fail(E_FAIL, cannotOpen, "HY000");

  // Look at the header before SQLite sees the file, so that a file of any
  // other kind is never touched.
  unsigned char header[100] = {};
  size_t got = 0;
  if (FILE* f = openFile(path.c_str(), "rb")) {
    got = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
  } else {
    return fail(E_FAIL, cannotOpen, "HY000", errno);
  }
  if (got == 0)
    return fail(E_FAIL, "Unrecognized database format '" + given + "': the file is empty, not an SQLite database.",
                "HY000");
  if (got >= 19 && (std::memcmp(header + 4, "Standard Jet DB", 15) == 0 ||
                    std::memcmp(header + 4, "Standard ACE DB", 15) == 0))
    return fail(E_FAIL,
                "'" + given + "' is a Microsoft Access (Jet) database; scheme databases here are SQLite databases, so the file cannot be opened.",
                "HY000");
  if (got < 16 || std::memcmp(header, "SQLite format 3", 16) != 0)
    return fail(E_FAIL, "Unrecognized database format '" + given + "': the file is not an SQLite database.", "HY000");

  m_readOnly = !writable(path) || !writable(folderOf(path));
  m_file = path;
  m_opened = FileIdentity::of(st);
  sqlite3* db = takeIdleHandle(path, m_readOnly, m_opened);
  if (!db) {
    int flags = (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
      std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
      sqlite3_close(db);
      return fail(E_FAIL, cannotOpen + " (" + msg + ")", "HY000", rc);
    }
  }
  m_db = db;
  sqlite3_extended_result_codes(m_db, 1);
  // A quoted name is always a name: an unknown one is an error, never a text.
  sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  const bool locked = lockedInThisCommand(path);
  sqlite3_busy_timeout(m_db, locked ? 0 : std::min(static_cast<int>(m_timeout) * 1000, kOpenWaitMs));
  // Reading the schema proves the file is a database.
  int rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if ((rc & 0xff) == SQLITE_BUSY) {
    HRESULT hr = failLocked(rc);
    closeDatabase();
    return hr;
  }
  sqlite3_busy_timeout(m_db, locked ? 0 : static_cast<int>(m_timeout) * 1000);
  m_waitDropped = locked;
  m_waitDroppedIn = commandSerial();
  if (rc != SQLITE_OK) {
    std::string msg = sqlite3_errmsg(m_db);
    closeDatabase();
    return fail(E_FAIL, "Unrecognized database format '" + given + "' (" + msg + ").", "HY000", rc);
  }
  // And its integrity check that its tables are sound: a damaged database
  // is refused whole rather than showing its damaged tables as missing.
  if (!checkedBefore(path, m_opened)) {
    ++g_integrityChecks;
    std::string fault = integrityFault(m_db);
    if (!fault.empty()) {
      closeDatabase();
      return fail(E_FAIL, "The database '" + given + "' is damaged: its integrity check reports \"" + fault + "\".",
                  "HY000", SQLITE_CORRUPT);
    }
    rememberChecked(path, m_opened);
  }
  m_sound = true;
  m_committed = false;
  sqlite3_commit_hook(m_db, &ConnectionImpl::commitHook, this);
  return S_OK;
}

// Called by SQLite as a commit of this connection begins, the file locked for
// it: when the file is no longer as this connection last knew it (another
// program wrote to it, or put another file in its place), the commit does not
// make it known sound.
int ConnectionImpl::commitHook(void* connection) {
  auto* self = static_cast<ConnectionImpl*>(connection);
  struct stat st;
  if (self->m_sound && (::stat(self->m_file.c_str(), &st) != 0 || !(FileIdentity::of(st) == self->m_opened)))
    self->m_sound = false;
  self->m_committed = true;
  return 0;  // the commit goes on
}

void ConnectionImpl::afterCommit() {
  if (!m_db || !m_committed || !sqlite3_get_autocommit(m_db)) return;
  m_committed = false;
  if (!m_sound) return;
  struct stat st;
  if (::stat(m_file.c_str(), &st) != 0) {
    m_sound = false;
    return;
  }
  m_opened = FileIdentity::of(st);
  rememberChecked(m_file, m_opened);
}

long integrityChecksMade() { return g_integrityChecks.load(); }

void ConnectionImpl::closeDatabase(bool keepHandle) {
  if (!m_db) return;
  if (!m_stack.empty()) {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_stack.clear();
    keepHandle = false;
  }
  afterCommit();
  sqlite3_commit_hook(m_db, nullptr, nullptr);
  m_sound = false;
  if (keepHandle) keepIdleHandle(m_file, m_readOnly, m_opened, m_db);
  else sqlite3_close_v2(m_db);
  m_db = nullptr;
}

HRESULT ConnectionImpl::Close() {
  if (!m_db) return failClosed();
  std::vector<RecordsetImpl*> open = m_recordsets;
  for (RecordsetImpl* rs : open) rs->connectionClosing();
  closeDatabase(true);
  return S_OK;
}

void ConnectionImpl::attach(RecordsetImpl* rs) {
  m_recordsets.push_back(rs);
  AddRef();
}

void ConnectionImpl::detach(RecordsetImpl* rs) {
  for (size_t i = 0; i < m_recordsets.size(); ++i) {
    if (m_recordsets[i] == rs) {
      m_recordsets.erase(m_recordsets.begin() + static_cast<long>(i));
      Release();
      return;
    }
  }
}

HRESULT ConnectionImpl::tableColumns(const std::string& table, std::string& storedName,
                                     std::vector<TableColumn>& columns) {
  columns.clear();
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE", -1, &st,
                     nullptr);
  sqlite3_bind_text(st, 1, table.data(), static_cast<int>(table.size()), SQLITE_STATIC);
  bool found = false;
  int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) {
    storedName = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    found = true;
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return failSqlite(rc, sqlite3_errmsg(m_db));
  if (!found) return failSqlite(SQLITE_ERROR, "no such table: " + table);

  std::string sql = "PRAGMA table_info(" + jet::quoteName(storedName) + ")";
  sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr);
  struct Raw {
    std::string name, type;
    bool notNull;
    int pk;
  };
  std::vector<Raw> raw;
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* type = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
    raw.push_back(Raw{reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), type ? type : "",
                      sqlite3_column_int(st, 3) != 0, sqlite3_column_int(st, 5)});
  }
  sqlite3_finalize(st);
  int keys = 0;
  for (const Raw& r : raw) keys += r.pk > 0;
  for (const Raw& r : raw) {
    bool rowidAlias = keys == 1 && r.pk == 1 && lowerAscii(r.type) == "integer";
    columns.push_back(TableColumn{r.name, jet::typeFromDeclared(r.type, rowidAlias), r.notNull});
  }
  return S_OK;
}

HRESULT ConnectionImpl::run(const jet::Statement& st, LONG* affected) {
  if (affected) *affected = 0;
  std::string sql;
  std::vector<_variant_t> params;
  switch (st.kind) {
    case jet::StatementKind::CreateTable: {
      bool counterSeen = false;
      sql = "CREATE TABLE " + jet::quoteName(st.table) + " (";
      for (size_t i = 0; i < st.columns.size(); ++i) {
        bool alias = st.columns[i].type.kind == jet::Kind::Counter && !counterSeen;
        counterSeen = counterSeen || alias;
        sql += (i ? ", " : "") + jet::sqliteColumnDefinition(st.columns[i], alias);
      }
      sql += ")";
      break;
    }
    case jet::StatementKind::DropTable:
      sql = "DROP TABLE " + jet::quoteName(st.table);
      break;
    case jet::StatementKind::Delete:
      sql = "DELETE FROM " + jet::quoteName(st.table);
      if (!st.where.empty()) sql += " WHERE " + st.where;
      break;
    case jet::StatementKind::Insert:
    case jet::StatementKind::Update: {
      std::string stored;
      std::vector<TableColumn> cols;
      HRESULT hr = tableColumns(st.table, stored, cols);
      if (FAILED(hr)) return hr;
      std::vector<std::string> targets = st.targetColumns;
      if (targets.empty())
        for (const TableColumn& c : cols) targets.push_back(c.name);
      if (targets.size() != st.values.size())
        return fail(DB_E_ERRORSINCOMMAND, "Number of query values and destination fields are not the same.", "21S01");
      std::string setList, names, values;
      for (size_t i = 0; i < targets.size(); ++i) {
        const TableColumn* col = nullptr;
        for (const TableColumn& c : cols)
          if (jet::sameName(c.name, targets[i])) col = &c;
        if (!col)
          return fail(DB_E_ERRORSINCOMMAND,
                      "The INSERT INTO statement contains the following unknown field name: '" + targets[i] +
                          "'. Make sure you have typed the name correctly, and try the operation again.",
                      "42S22");
        std::string value;
        if (st.values[i].literal) {
          _variant_t converted;
          if (FAILED(jet::convertForColumn(st.values[i].value, col->type, converted)))
            return fail(DB_E_CANTCONVERTVALUE, "Data type mismatch in criteria expression (field '" + col->name + "').",
                        "22018");
          params.push_back(converted);
          value = "?";
        } else {
          value = st.values[i].sql;
        }
        names += (i ? ", " : "") + jet::quoteName(col->name);
        values += (i ? ", " : "") + value;
        setList += (i ? ", " : "") + jet::quoteName(col->name) + " = " + value;
      }
      if (st.kind == jet::StatementKind::Insert)
        sql = "INSERT INTO " + jet::quoteName(stored) + " (" + names + ") VALUES (" + values + ")";
      else
        sql = "UPDATE " + jet::quoteName(stored) + " SET " + setList + (st.where.empty() ? "" : " WHERE " + st.where);
      break;
    }
    case jet::StatementKind::Select:
      return E_UNEXPECTED;
  }
  sqlite3_stmt* stmt = nullptr;
  resumeWaiting();
  int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr);
  if (rc != SQLITE_OK) return failSqlite(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db));
  for (size_t i = 0; i < params.size(); ++i) bindVariant(stmt, static_cast<int>(i) + 1, params[i]);
  rc = sqlite3_step(stmt);
  sqlite3_finalize(stmt);
  afterCommit();
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) return failSqlite(sqlite3_extended_errcode(m_db), sqlite3_errmsg(m_db));
  if (affected) *affected = sqlite3_changes(m_db);
  if (st.kind == jet::StatementKind::Delete) rowsRemoved(st.table, false);
  if (st.kind == jet::StatementKind::DropTable) rowsRemoved(st.table, true);
  return S_OK;
}

void ConnectionImpl::rowsRemoved(const std::string& table, bool dropped) {
  std::vector<RecordsetImpl*> open = m_recordsets;
  for (RecordsetImpl* rs : open)
    if (jet::sameName(rs->baseTable(), table)) rs->baseRowsRemoved(m_db, dropped);
}

HRESULT ConnectionImpl::Execute(BSTR commandText, VARIANT* recordsAffected, LONG, _Recordset** result) {
  if (result) *result = nullptr;
  if (recordsAffected) {
    VariantClear(recordsAffected);
    recordsAffected->vt = VT_I4;
    recordsAffected->lVal = 0;
  }
  if (!m_db) return failClosed();
  jet::Statement st;
  std::string error;
  if (!jet::parseStatement(commandText ? commandText : "", st, error))
    return fail(DB_E_ERRORSINCOMMAND, error, "42000");
  if (st.kind == jet::StatementKind::Select) {
    RecordsetImpl* rs = new RecordsetImpl();
    HRESULT hr = rs->openSelect(this, st, adLockReadOnly);
    if (FAILED(hr) || !result) {
      rs->Release();
      return hr;
    }
    if (recordsAffected) recordsAffected->lVal = -1;
    *result = rs;
    return S_OK;
  }
  LONG affected = 0;
  HRESULT hr = run(st, &affected);
  if (SUCCEEDED(hr) && recordsAffected) recordsAffected->lVal = affected;
  return hr;
}

HRESULT ConnectionImpl::OpenSchema(SchemaEnum schema, VARIANT, VARIANT, _Recordset** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  if (!m_db) return failClosed();
  if (schema != adSchemaTables && schema != adSchemaColumns)
    return raise(adErrFeatureNotAvailable, "Object or provider is not capable of performing requested operation.");

  std::vector<std::string> tables;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(m_db,
                     "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                     "ORDER BY rowid",
                     -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);

  auto textField = [](const char* name) {
    FieldInfo f;
    f.name = name;
    f.type = {jet::Kind::Text, 255, false};
    return f;
  };
  auto numberField = [](const char* name, jet::Kind kind) {
    FieldInfo f;
    f.name = name;
    f.type = {kind, 0, false};
    return f;
  };
  auto null = [] {
    _variant_t v;
    v.vt = VT_NULL;
    return v;
  };
  std::vector<FieldInfo> fields = {textField("TABLE_CATALOG"), textField("TABLE_SCHEMA"), textField("TABLE_NAME")};
  std::vector<std::vector<_variant_t>> rows;
  if (schema == adSchemaTables) {
    fields.push_back(textField("TABLE_TYPE"));
    for (const std::string& t : tables) rows.push_back({null(), null(), _variant_t(t), _variant_t("TABLE")});
  } else {
    fields.push_back(textField("COLUMN_NAME"));
    fields.push_back(numberField("ORDINAL_POSITION", jet::Kind::Long));
    fields.push_back(numberField("IS_NULLABLE", jet::Kind::YesNo));
    fields.push_back(numberField("DATA_TYPE", jet::Kind::Short));
    fields.push_back(numberField("CHARACTER_MAXIMUM_LENGTH", jet::Kind::Long));
    for (const std::string& t : tables) {
      std::string stored;
      std::vector<TableColumn> cols;
      if (FAILED(tableColumns(t, stored, cols))) return E_FAIL;
      for (size_t i = 0; i < cols.size(); ++i) {
        const TableColumn& c = cols[i];
        bool nullable = !c.notNull && c.type.kind != jet::Kind::Counter;
        _variant_t length = null();
        if (c.type.kind == jet::Kind::Text || c.type.kind == jet::Kind::Memo)
          length = _variant_t(static_cast<long>(jet::definedSizeOf(c.type)));
        rows.push_back({null(), null(), _variant_t(stored), _variant_t(c.name), _variant_t(static_cast<long>(i + 1)),
                        _variant_t(nullable), _variant_t(static_cast<short>(jet::adoTypeOf(c.type))), length});
      }
    }
  }
  RecordsetImpl* rs = new RecordsetImpl();
  rs->openMemory(std::move(fields), std::move(rows));
  *result = rs;
  return S_OK;
}

// ---- Transactions -------------------------------------------------------------

int ConnectionImpl::userLevel() const {
  int n = 0;
  for (const Entry& e : m_stack) n += e.owner == nullptr && !e.released;
  return n;
}

int ConnectionImpl::beginEntry(RecordsetImpl* owner) {
  int id = m_nextEntry++;
  std::string sql = "SAVEPOINT sp" + std::to_string(id);
  if (FAILED(exec(sql.c_str()))) return -1;
  Entry e;
  e.id = id;
  e.owner = owner;
  m_stack.push_back(e);
  return id;
}

HRESULT ConnectionImpl::releaseEntry(int id) {
  for (Entry& e : m_stack)
    if (e.id == id) e.released = true;
  return releaseTop();
}

// Releases the released entries on the top of the stack; the last release
// commits.
HRESULT ConnectionImpl::releaseTop() {
  while (!m_stack.empty() && m_stack.back().released) {
    int id = m_stack.back().id;
    std::string sql = "RELEASE sp" + std::to_string(id);
    HRESULT hr = exec(sql.c_str());
    if (FAILED(hr)) {
      std::string description;
      errorInfo(hr, &description, nullptr);
      m_stack.back().released = false;
      rollbackEntry(id);
      return fail(hr, description, "HY000");
    }
    m_stack.pop_back();
    std::vector<RecordsetImpl*> open = m_recordsets;
    if (m_stack.empty()) {
      for (RecordsetImpl* rs : open) rs->allCommitted();
    } else {
      for (RecordsetImpl* rs : open) rs->entryReleased(id, m_stack.back().id);
    }
  }
  return S_OK;
}

HRESULT ConnectionImpl::rollbackEntry(int id) {
  size_t k = 0;
  while (k < m_stack.size() && m_stack[k].id != id) ++k;
  if (k == m_stack.size()) return S_OK;
  std::set<int> ids;
  for (size_t i = k; i < m_stack.size(); ++i) ids.insert(m_stack[i].id);
  std::string sp = "sp" + std::to_string(id);
  sqlite3_exec(m_db, ("ROLLBACK TO " + sp).c_str(), nullptr, nullptr, nullptr);
  sqlite3_exec(m_db, ("RELEASE " + sp).c_str(), nullptr, nullptr, nullptr);
  m_stack.erase(m_stack.begin() + static_cast<long>(k), m_stack.end());
  std::vector<RecordsetImpl*> open = m_recordsets;
  for (RecordsetImpl* rs : open) rs->entriesRolledBack(ids);
  return releaseTop();
}

void ConnectionImpl::doomUserTransactions(const std::string& reason) {
  for (Entry& e : m_stack) {
    if (e.owner == nullptr && !e.doomed) {
      e.doomed = true;
      e.doomReason = reason;
    }
  }
}

HRESULT ConnectionImpl::BeginTrans(LONG* level) {
  if (level) *level = -1;
  if (!m_db) return failClosed();
  if (beginEntry(nullptr) < 0) return E_FAIL;
  if (level) *level = userLevel();
  return S_OK;
}

HRESULT ConnectionImpl::CommitTrans() {
  if (!m_db) return failClosed();
  for (size_t i = m_stack.size(); i-- > 0;) {
    Entry& e = m_stack[i];
    if (e.owner || e.released) continue;
    if (e.doomed) {
      std::string reason = e.doomReason;
      rollbackEntry(e.id);
      return fail(E_FAIL, "The transaction was rolled back, because a write inside it failed: " + reason, "HY000");
    }
    return releaseEntry(e.id);
  }
  return fail(adErrNoTransaction, "You tried to commit or rollback a transaction without first beginning a transaction.",
              "25000");
}

HRESULT ConnectionImpl::RollbackTrans() {
  if (!m_db) return failClosed();
  for (size_t i = m_stack.size(); i-- > 0;) {
    if (m_stack[i].owner || m_stack[i].released) continue;
    return rollbackEntry(m_stack[i].id);
  }
  return fail(adErrNoTransaction, "You tried to commit or rollback a transaction without first beginning a transaction.",
              "25000");
}

HRESULT ConnectionImpl::Cancel() { return S_OK; }

}  // namespace platform::ado
