#pragma once
// The ADO objects: Connection, Recordset, Fields/Field and Errors/Error, over
// SQLite. Created by ProgID ("ADODB.Connection", "ADODB.Recordset") through
// _com_ptr_t::CreateInstance.
//
// A connection opens "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>"
// (the path through the path resolver); the file must exist and be an SQLite
// database. The SQL accepted is the Jet SQL the system sends: create/drop
// table with Jet's column types, select [distinct] ... [where] [order by],
// delete, insert and update, with bracketed names and names beginning with a
// digit. Field values come back typed by the column's declared type (double
// VT_R8, long VT_I4, text VT_BSTR, NULL VT_NULL, ...).
//
// A recordset holds the rows of its query from the moment it is opened and
// writes what it adds, changes or deletes through its connection. The writes
// of a recordset form one unit: from the first write after the last Update up
// to the next Update, which commits them (into the connection's transaction
// when BeginTrans opened one). A write that fails rolls the unit back and
// refuses the unit's further writes; Update then reports the failure and the
// table holds the rows it held before the unit. Closing a recordset with an
// uncommitted unit rolls the unit back. A failed write inside BeginTrans also
// makes CommitTrans roll the transaction back (and report it).
//
// Every method returns an HRESULT; a failure also sets the thread's error
// info (see _com_error) and, for database failures, the connection's Errors.

#include "com/comdef.h"
#include "com/comutil.h"
#include "com/variant.h"

enum CursorTypeEnum {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3
};
enum LockTypeEnum {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4
};
enum CommandTypeEnum {
  adCmdUnspecified = -1,
  adCmdText = 1,
  adCmdTable = 2,
  adCmdStoredProc = 4,
  adCmdUnknown = 8,
  adCmdFile = 256,
  adCmdTableDirect = 512
};
enum ExecuteOptionEnum { adOptionUnspecified = -1, adExecuteNoRecords = 128 };
enum ObjectStateEnum {
  adStateClosed = 0,
  adStateOpen = 1,
  adStateConnecting = 2,
  adStateExecuting = 4,
  adStateFetching = 8
};
enum AffectEnum { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3, adAffectAllChapters = 4 };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };
enum RecordStatusEnum {
  adRecOK = 0,
  adRecNew = 1,
  adRecModified = 2,
  adRecDeleted = 4,
  adRecUnmodified = 8
};
enum DataTypeEnum {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adBoolean = 11,
  adVariant = 12,
  adDecimal = 14,
  adUnsignedTinyInt = 17,
  adBigInt = 20,
  adWChar = 130,
  adNumeric = 131,
  adVarWChar = 202,
  adLongVarWChar = 203
};
enum FieldAttributeEnum {
  adFldUnspecified = -1,
  adFldMayDefer = 0x2,
  adFldUpdatable = 0x4,
  adFldUnknownUpdatable = 0x8,
  adFldFixed = 0x10,
  adFldIsNullable = 0x20,
  adFldMayBeNull = 0x40,
  adFldLong = 0x80,
  adFldRowID = 0x100,
  adFldRowVersion = 0x200,
  adFldKeyColumn = 0x8000
};
enum SchemaEnum { adSchemaColumns = 4, adSchemaTables = 20 };
enum ConnectOptionEnum { adConnectUnspecified = -1, adAsyncConnect = 16 };

// ADO's own result codes (the provider's are the E_* and DB_E_* codes).
#define adErrInvalidArgument ((HRESULT)0x800A0BB9L)
#define adErrNoCurrentRecord ((HRESULT)0x800A0BCDL)
#define adErrIllegalOperation ((HRESULT)0x800A0C93L)
#define adErrFeatureNotAvailable ((HRESULT)0x800A0CB3L)
#define adErrItemNotFound ((HRESULT)0x800A0CC1L)
#define adErrObjectClosed ((HRESULT)0x800A0E78L)
#define adErrObjectOpen ((HRESULT)0x800A0E79L)
#define adErrProviderNotFound ((HRESULT)0x800A0E7AL)
#define adErrInvalidConnection ((HRESULT)0x800A0E7DL)
#define adErrNoTransaction ((HRESULT)0x800A0CAEL)
#define DB_E_PARAMNOTOPTIONAL ((HRESULT)0x80040E10L)
#define DB_E_ERRORSINCOMMAND ((HRESULT)0x80040E14L)
#define DB_E_CANTCONVERTVALUE ((HRESULT)0x80040E07L)
#define DB_E_ERRORSOCCURRED ((HRESULT)0x80040E21L)
#define DB_E_INTEGRITYVIOLATION ((HRESULT)0x80040E2FL)
#define DB_E_NOTABLE ((HRESULT)0x80040E37L)
#define DB_E_READONLY ((HRESULT)0x80040E53L)

struct _Recordset;
struct Fields;
struct Field;
struct Errors;
struct Error;

struct PLATFORM_API Error : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x01}};
  virtual HRESULT get_Number(LONG* value) = 0;
  virtual HRESULT get_Description(BSTR* value) = 0;
  virtual HRESULT get_SQLState(BSTR* value) = 0;
  virtual HRESULT get_NativeError(LONG* value) = 0;
  virtual HRESULT get_Source(BSTR* value) = 0;
};

struct PLATFORM_API Errors : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x02}};
  virtual HRESULT get_Count(LONG* value) = 0;
  virtual HRESULT get_Item(VARIANT index, Error** item) = 0;
  virtual HRESULT Clear() = 0;
};

struct PLATFORM_API Field : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x03}};
  virtual HRESULT get_Name(BSTR* value) = 0;
  virtual HRESULT get_Type(DataTypeEnum* value) = 0;
  virtual HRESULT get_DefinedSize(LONG* value) = 0;
  virtual HRESULT get_ActualSize(LONG* value) = 0;
  virtual HRESULT get_Attributes(LONG* value) = 0;
  virtual HRESULT get_Value(VARIANT* value) = 0;
  virtual HRESULT put_Value(VARIANT value) = 0;
};

struct PLATFORM_API Fields : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x04}};
  virtual HRESULT get_Count(LONG* value) = 0;
  // `index` is a number (from 0) or a field name (ASCII letters compare
  // without case).
  virtual HRESULT get_Item(VARIANT index, Field** item) = 0;
};

struct PLATFORM_API _Connection : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x05}};
  virtual HRESULT get_ConnectionString(BSTR* value) = 0;
  virtual HRESULT put_ConnectionString(BSTR value) = 0;
  virtual HRESULT get_ConnectionTimeout(LONG* seconds) = 0;
  virtual HRESULT put_ConnectionTimeout(LONG seconds) = 0;
  virtual HRESULT get_State(LONG* state) = 0;
  virtual HRESULT get_Errors(Errors** errors) = 0;
  // An empty connection string uses the one set before.
  virtual HRESULT Open(BSTR connectionString, BSTR userId, BSTR password, LONG options) = 0;
  // Closes the recordsets open on this connection too; an open transaction
  // is rolled back.
  virtual HRESULT Close() = 0;
  // Runs one statement. `recordsAffected` (may be null) receives the count of
  // rows changed; `result` (may be null) receives the rows of a select, or
  // null for other statements.
  virtual HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options, _Recordset** result) = 0;
  // adSchemaTables: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE.
  // adSchemaColumns: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME,
  // ORDINAL_POSITION, IS_NULLABLE, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH;
  // one row per column, tables in the order they were created, columns in
  // table order. Restrictions are not applied.
  virtual HRESULT OpenSchema(SchemaEnum schema, VARIANT restrictions, VARIANT schemaId, _Recordset** result) = 0;
  virtual HRESULT BeginTrans(LONG* level) = 0;
  virtual HRESULT CommitTrans() = 0;
  virtual HRESULT RollbackTrans() = 0;
  virtual HRESULT Cancel() = 0;
};

struct PLATFORM_API _Recordset : IDispatch {
  static constexpr IID iid = {0x7a1b0f01, 0x3c55, 0x4d2e, {0x9b, 0x10, 0x52, 0x61, 0x69, 0x6c, 0x01, 0x06}};
  // `source`: the SQL text (or a table name with adCmdTable); `connection`:
  // the _Connection as VT_DISPATCH or VT_UNKNOWN.
  virtual HRESULT Open(VARIANT source, VARIANT connection, CursorTypeEnum cursorType, LockTypeEnum lockType,
                       LONG options) = 0;
  virtual HRESULT Close() = 0;
  virtual HRESULT get_State(LONG* state) = 0;
  virtual HRESULT get_Status(LONG* status) = 0;
  virtual HRESULT get_EditMode(EditModeEnum* mode) = 0;
  virtual HRESULT get_EOF(VARIANT_BOOL* value) = 0;
  virtual HRESULT get_BOF(VARIANT_BOOL* value) = 0;
  virtual HRESULT get_RecordCount(LONG* count) = 0;
  virtual HRESULT get_Fields(Fields** fields) = 0;
  virtual HRESULT get_Collect(VARIANT index, VARIANT* value) = 0;
  virtual HRESULT put_Collect(VARIANT index, VARIANT value) = 0;
  virtual HRESULT MoveFirst() = 0;
  virtual HRESULT MoveLast() = 0;
  virtual HRESULT MoveNext() = 0;
  virtual HRESULT MovePrevious() = 0;
  virtual HRESULT Move(LONG numRecords, VARIANT start) = 0;
  virtual HRESULT AddNew(VARIANT fieldList, VARIANT values) = 0;
  virtual HRESULT Update(VARIANT fields, VARIANT values) = 0;
  virtual HRESULT CancelUpdate() = 0;
  virtual HRESULT Delete(AffectEnum affect) = 0;
  virtual HRESULT CancelBatch(AffectEnum affect) = 0;
  virtual HRESULT Cancel() = 0;
};

typedef _com_ptr_t<_Connection> _ConnectionPtr;
typedef _com_ptr_t<_Recordset> _RecordsetPtr;
typedef _com_ptr_t<Fields> FieldsPtr;
typedef _com_ptr_t<Field> FieldPtr;
typedef _com_ptr_t<Errors> ErrorsPtr;
typedef _com_ptr_t<Error> ErrorPtr;

namespace platform::ado {
// How many integrity checks of database files this process has made. A file
// is checked when a connection opens it as no connection of the process has
// checked it or last written it; the count shows which opens were checked.
PLATFORM_API long integrityChecksMade();
}  // namespace platform::ado
