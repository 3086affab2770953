#pragma once
// CAdoConnection and CAdoRecordSet: the small wrapper through which every
// module reaches its scheme databases.
//
// The wrapper swallows database failures and reports them through its
// results (FALSE, 0, -1 or a null pointer); only two messages exist: the
// disconnection message of the field readers and the error description of
// Execute (silent in the cross-section module's build).
//
// Differences between the modules' builds (chosen at compile time):
// - CORVANE_BUILD: Execute shows no message on a failure.
// - BREVELL_BUILD, QUORRA_BUILD: PutCollectByIndex writes nothing for an
//   empty text; in QUORRA_BUILD it returns TRUE after a write (and when there
//   is no recordset object) and FALSE when the text was empty or the write
//   failed. In the other builds its result is always 0 and carries no meaning.

#include "com/ado.h"
#include "com/comutil.h"
#include "mfc/cstring.h"

// The text of a field value by its VARIANT type: "" empty, "NULL" null, "%d"
// integers, "%.4f" float and decimal, "%.8f" double, the date as
// "%Y-%m-%d %H:%M:%S" ("Invalid DateTime" when it has none), the text of a
// string, "TRUE"/"FALSE" booleans, "UN_KNOW" any other type.
CString AdoVariantToText(const VARIANT& value);

class CAdoConnection {
 public:
  CAdoConnection();
  virtual ~CAdoConnection();
  CAdoConnection(const CAdoConnection&) = delete;
  CAdoConnection& operator=(const CAdoConnection&) = delete;

  // Stores the text, makes a new connection object in place of the old one
  // and opens it ("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>";
  // callers pass -1 as options). TRUE when the connection is open.
  BOOL Open(LPCTSTR connectionString, long options = adConnectUnspecified);
  // TRUE only when an open connection was closed.
  BOOL Close();
  BOOL IsOpen();
  // Runs the text when the connection is open; always 0.
  int Execute(CString commandText);
  // Runs the text only when the connection is open; a failure is caught and
  // not shown. TRUE when it ran without error.
  BOOL ExecuteWhenOpen(LPCTSTR commandText);
  // The schema rowset (adSchemaColumns 4, adSchemaTables 20); null on a failure.
  _RecordsetPtr OpenSchema(long schemaId);
  _ConnectionPtr GetConnectionPtr();

  BOOL SetConnectionTimeout(long seconds);
  // The new nesting level; -1 on a failure.
  long BeginTrans();
  BOOL CommitTrans();
  BOOL RollbackTrans();
  HRESULT Cancel();
  // "Description: ...\r\n\r\nState: ..., Native: ..., Source: ...\r\n" per
  // error of the connection; empty when there is none.
  CString GetErrorsText();
  // The description of the connection's last error; empty when there is none.
  CString GetLastErrorDescription();

  CString m_strConnect;          // the last text passed to Open
  _ConnectionPtr m_pConnection;  // null until the first Open
};

class CAdoRecordSet {
 public:
  CAdoRecordSet();
  explicit CAdoRecordSet(CAdoConnection* pConnection);
  virtual ~CAdoRecordSet();
  CAdoRecordSet(const CAdoRecordSet&) = delete;
  CAdoRecordSet& operator=(const CAdoRecordSet&) = delete;

  // Makes `pConnection` the connection that Open opens its source on.
  void SetAdoConnection(CAdoConnection* pConnection);

  // Opens `source` on the owning connection (callers pass options 1 = text,
  // cursor 2 = dynamic, lock 3 = optimistic). 1 when there is a current row,
  // 0 when the result is empty, -1 without connection or on a failure.
  int Open(LPCTSTR source, long options = adCmdText, long cursorType = adOpenDynamic,
           long lockType = adLockOptimistic);
  // TRUE when there is nothing open to close or the close succeeded.
  BOOL Close();
  // Closes the current recordset and takes `recordset` as its own; returns it.
  _RecordsetPtr SetRecordset(_RecordsetPtr recordset);

  BOOL MoveFirst();
  BOOL MoveLast();
  BOOL MoveNext();
  BOOL MovePrevious();
  // Moves `count` rows, from the first row when `fromFirst` is 1.
  BOOL Move(long count, BOOL fromFirst = FALSE);
  // TRUE past the last row, and also without a recordset object, on a closed
  // recordset or on a failure, so that every "until EOF" loop ends.
  BOOL IsEOF();
  // TRUE before the first row; likewise TRUE when there is no row to be on.
  BOOL IsBOF();

  BOOL AddNew();
  BOOL Update();
  BOOL CancelUpdate();
  BOOL Delete(long affect = adAffectCurrent);
  BOOL CancelBatch(long affect = adAffectAll);
  // Sets field `index` of the current row (see the build differences above).
  BOOL PutCollectByIndex(long index, const _variant_t& value);

  // Counts the rows by walking them; leaves the cursor at the end (callers
  // move to the first row again). 0 on a failure.
  long GetRecordCount();
  // The same walk without the first MoveLast.
  long CountRecords();

  long GetFieldCount();  // -1 on a failure
  CString GetFieldName(long index);
  // Reads field `index` (or the field named `name`) of the current row as
  // text. FALSE for a bad index, past the last row, or on a failure; on a
  // closed recordset the disconnection message is shown.
  BOOL GetValueText(CString& text, long index);
  BOOL GetValueTextByName(CString& text, LPCTSTR name);
  BOOL GetValueVariant(_variant_t& value, long index);

  FieldsPtr GetFields();
  FieldPtr GetField(long index);
  long GetFieldAttributes(long index);   // -1 on a failure
  long GetFieldDefinedSize(long index);  // -1 on a failure
  long GetFieldActualSize(long index);   // -1 on a failure
  long GetFieldType(long index);         // 0 on a failure
  long GetState();                       // 0 on a failure
  long GetStatus();                      // 0 on a failure
  HRESULT Cancel();
  CString GetErrorsText();

  CAdoConnection* m_pConnection;  // not owned
  _RecordsetPtr m_pRecordset;     // null until Open or SetRecordset
  CString m_strText;

 private:
  // Shows the disconnection message when there is no open recordset.
  BOOL CheckConnected();
  long WalkToEnd();
};
