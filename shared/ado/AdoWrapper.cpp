#include "ado/AdoWrapper.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <string>

#include "mfc/app.h"
#include "win/msgbox.h"

namespace {

// printf's "%.<decimals>f" (the exact decimal value rounded), without its
// cost: the same digits, from the shortest exact conversion of the library.
CString fixedText(double value, int decimals) {
  char buf[400];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) {
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return CString(buf);
  }
  return CString(std::string_view(buf, static_cast<size_t>(result.ptr - buf)));
}

CString integerText(long long value) {
  char buf[16];
  auto result = std::to_chars(buf, buf + sizeof buf, static_cast<int>(value));
  return CString(std::string_view(buf, static_cast<size_t>(result.ptr - buf)));
}

// UTF-8 of a wide string.
CString wideText(const wchar_t* w) {
  std::string out;
  for (; w && *w; ++w) {
    unsigned long c = static_cast<unsigned long>(*w);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return CString(out);
}

CString dateText(DATE date) {
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(date, &st)) return CString("Invalid DateTime");
  std::tm tm{};
  tm.tm_year = st.wYear - 1900;
  tm.tm_mon = st.wMonth - 1;
  tm.tm_mday = st.wDay;
  tm.tm_hour = st.wHour;
  tm.tm_min = st.wMinute;
  tm.tm_sec = st.wSecond;
  tm.tm_wday = st.wDayOfWeek;
  char buf[64];
  if (std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm) == 0) return CString("Invalid DateTime");
  return CString(buf);
}

const VARIANT& missing() { return vtMissingValue(); }

}  // namespace

CString AdoVariantToText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY: return CString();
    case VT_NULL: return CString("NULL");
    case VT_I2: return integerText(value.iVal);
    case VT_I4:
    case VT_UI8:
    case VT_INT:
    case VT_VOID: return integerText(value.lVal);
    case VT_UI2: return integerText(value.uiVal);
    case VT_UI4:
    case VT_UINT: return integerText(static_cast<LONG>(value.ulVal));
    case VT_I8: return integerText(static_cast<int32_t>(static_cast<uint32_t>(value.llVal)));
    case VT_R4: return fixedText(static_cast<double>(value.fltVal), 4);
    case VT_R8: return fixedText(value.dblVal, 8);
    case VT_DECIMAL: {
      double d = 0;
      VarR8FromDec(&value.decVal, &d);
      return fixedText(d, 4);
    }
    case VT_DATE: return dateText(value.date);
    case VT_BSTR: return CString(std::string_view(value.bstrVal ? value.bstrVal : "", SysStringByteLen(value.bstrVal)));
    case VT_LPSTR: return CString(value.pszVal ? value.pszVal : "");
    case VT_LPWSTR: return wideText(value.pwszVal);
    case VT_BOOL: return CString(value.boolVal ? "TRUE" : "FALSE");
    default: return CString("UN_KNOW");
  }
}

// ---- CAdoConnection -------------------------------------------------------------

CAdoConnection::CAdoConnection() = default;

CAdoConnection::~CAdoConnection() {
  Close();
  m_pConnection.Release();
}

BOOL CAdoConnection::Open(LPCTSTR connectionString, long options) {
  m_strConnect = connectionString;
  _ConnectionPtr fresh;
  if (FAILED(fresh.CreateInstance("ADODB.Connection", nullptr, CLSCTX_ALL))) return FALSE;
  m_pConnection = fresh;
  _bstr_t text(m_strConnect), empty("");
  return SUCCEEDED(m_pConnection->Open(text, empty, empty, static_cast<LONG>(options)));
}

BOOL CAdoConnection::Close() {
  if (!m_pConnection) return FALSE;
  LONG state = adStateClosed;
  if (FAILED(m_pConnection->get_State(&state)) || state != adStateOpen) return FALSE;
  return SUCCEEDED(m_pConnection->Close());
}

BOOL CAdoConnection::IsOpen() {
  if (!m_pConnection) return FALSE;
  LONG state = adStateClosed;
  return SUCCEEDED(m_pConnection->get_State(&state)) && state == adStateOpen;
}

int CAdoConnection::Execute(CString commandText) {
  if (!IsOpen()) return 0;
  _variant_t affected;
  _RecordsetPtr rows;
  HRESULT hr = m_pConnection->Execute(_bstr_t(commandText), &affected, adCmdText, &rows);
#if !defined(CORVANE_BUILD)
  if (FAILED(hr)) {
    _com_error e(hr);
    AfxMessageBox(*e.Description() ? e.Description() : e.ErrorMessage());
  }
#else
  (void)hr;  // the cross-section module runs its statements silently
#endif
  return 0;
}

BOOL CAdoConnection::ExecuteWhenOpen(LPCTSTR commandText) {
  if (!IsOpen()) return FALSE;
  _variant_t affected;
  _RecordsetPtr rows;
  return SUCCEEDED(m_pConnection->Execute(_bstr_t(commandText), &affected, adCmdText, &rows));
}

_RecordsetPtr CAdoConnection::OpenSchema(long schemaId) {
  if (!m_pConnection) return nullptr;
  _RecordsetPtr rows;
  if (FAILED(m_pConnection->OpenSchema(static_cast<SchemaEnum>(schemaId), missing(), missing(), &rows))) return nullptr;
  return rows;
}

_ConnectionPtr CAdoConnection::GetConnectionPtr() { return m_pConnection; }

BOOL CAdoConnection::SetConnectionTimeout(long seconds) {
  return m_pConnection && SUCCEEDED(m_pConnection->put_ConnectionTimeout(static_cast<LONG>(seconds)));
}

long CAdoConnection::BeginTrans() {
  LONG level = -1;
  if (!m_pConnection || FAILED(m_pConnection->BeginTrans(&level))) return -1;
  return level;
}

BOOL CAdoConnection::CommitTrans() { return m_pConnection && SUCCEEDED(m_pConnection->CommitTrans()); }

BOOL CAdoConnection::RollbackTrans() { return m_pConnection && SUCCEEDED(m_pConnection->RollbackTrans()); }

HRESULT CAdoConnection::Cancel() { return m_pConnection ? m_pConnection->Cancel() : E_POINTER; }

CString CAdoConnection::GetErrorsText() {
  CString text;
  if (!m_pConnection) return text;
  ErrorsPtr errors;
  LONG count = 0;
  if (FAILED(m_pConnection->get_Errors(&errors)) || FAILED(errors->get_Count(&count))) return text;
  for (LONG i = 0; i < count; ++i) {
    ErrorPtr error;
    if (FAILED(errors->get_Item(_variant_t(static_cast<long>(i)), &error))) break;
    _bstr_t description, state, source;
    LONG native = 0;
    error->get_Description(description.GetAddress());
    error->get_SQLState(state.GetAddress());
    error->get_NativeError(&native);
    error->get_Source(source.GetAddress());
    text.AppendFormat("Description: %s\r\n\r\nState: %s, Native: %d, Source: %s\r\n", static_cast<const char*>(description),
                      static_cast<const char*>(state), static_cast<int>(native), static_cast<const char*>(source));
  }
  return text;
}

CString CAdoConnection::GetLastErrorDescription() {
  ErrorsPtr errors;
  LONG count = 0;
  if (!m_pConnection || FAILED(m_pConnection->get_Errors(&errors)) || !errors || FAILED(errors->get_Count(&count)) ||
      count <= 0)
    return CString();
  ErrorPtr error;
  if (FAILED(errors->get_Item(_variant_t(static_cast<long>(count - 1)), &error)) || !error) return CString();
  _bstr_t description;
  if (FAILED(error->get_Description(description.GetAddress()))) return CString();
  return CString(static_cast<const char*>(description));
}

// ---- CAdoRecordSet ----------------------------------------------------------------

CAdoRecordSet::CAdoRecordSet() : m_pConnection(nullptr) {}

CAdoRecordSet::CAdoRecordSet(CAdoConnection* pConnection) : m_pConnection(pConnection) {}

CAdoRecordSet::~CAdoRecordSet() {
  Close();
  m_pRecordset.Release();
}

void CAdoRecordSet::SetAdoConnection(CAdoConnection* pConnection) { m_pConnection = pConnection; }

int CAdoRecordSet::Open(LPCTSTR source, long options, long cursorType, long lockType) {
  if (!m_pConnection) return -1;
  if (!m_pRecordset && FAILED(m_pRecordset.CreateInstance("ADODB.Recordset", nullptr, CLSCTX_ALL))) return -1;
  _ConnectionPtr connection = m_pConnection->GetConnectionPtr();
  _variant_t active(static_cast<IDispatch*>(connection.GetInterfacePtr()), true);
  HRESULT hr = m_pRecordset->Open(_variant_t(source), active, static_cast<CursorTypeEnum>(cursorType),
                                  static_cast<LockTypeEnum>(lockType), static_cast<LONG>(options));
  if (FAILED(hr)) return -1;
  VARIANT_BOOL eof = VARIANT_TRUE;
  if (FAILED(m_pRecordset->get_EOF(&eof))) return -1;
  return eof ? 0 : 1;
}

BOOL CAdoRecordSet::Close() {
  if (!m_pRecordset) return TRUE;
  LONG state = adStateClosed;
  if (FAILED(m_pRecordset->get_State(&state))) return FALSE;
  if (state == adStateClosed) return TRUE;
  return SUCCEEDED(m_pRecordset->Close());
}

_RecordsetPtr CAdoRecordSet::SetRecordset(_RecordsetPtr recordset) {
  Close();
  m_pRecordset = recordset;
  return m_pRecordset;
}

BOOL CAdoRecordSet::MoveFirst() { return m_pRecordset && SUCCEEDED(m_pRecordset->MoveFirst()); }
BOOL CAdoRecordSet::MoveLast() { return m_pRecordset && SUCCEEDED(m_pRecordset->MoveLast()); }
BOOL CAdoRecordSet::MoveNext() { return m_pRecordset && SUCCEEDED(m_pRecordset->MoveNext()); }
BOOL CAdoRecordSet::MovePrevious() { return m_pRecordset && SUCCEEDED(m_pRecordset->MovePrevious()); }

BOOL CAdoRecordSet::Move(long count, BOOL fromFirst) {
  if (!m_pRecordset) return FALSE;
  if (fromFirst == 1) MoveFirst();
  return SUCCEEDED(m_pRecordset->Move(static_cast<LONG>(count), missing()));
}

BOOL CAdoRecordSet::IsEOF() {
  VARIANT_BOOL eof = VARIANT_TRUE;
  if (!m_pRecordset || FAILED(m_pRecordset->get_EOF(&eof))) return TRUE;
  return eof != 0;
}

BOOL CAdoRecordSet::IsBOF() {
  VARIANT_BOOL bof = VARIANT_TRUE;
  if (!m_pRecordset || FAILED(m_pRecordset->get_BOF(&bof))) return TRUE;
  return bof != 0;
}

BOOL CAdoRecordSet::AddNew() { return m_pRecordset && SUCCEEDED(m_pRecordset->AddNew(missing(), missing())); }
BOOL CAdoRecordSet::Update() { return m_pRecordset && SUCCEEDED(m_pRecordset->Update(missing(), missing())); }
BOOL CAdoRecordSet::CancelUpdate() { return m_pRecordset && SUCCEEDED(m_pRecordset->CancelUpdate()); }

BOOL CAdoRecordSet::Delete(long affect) {
  return m_pRecordset && SUCCEEDED(m_pRecordset->Delete(static_cast<AffectEnum>(affect)));
}

BOOL CAdoRecordSet::CancelBatch(long affect) {
  return m_pRecordset && SUCCEEDED(m_pRecordset->CancelBatch(static_cast<AffectEnum>(affect)));
}

BOOL CAdoRecordSet::PutCollectByIndex(long index, const _variant_t& value) {
#if defined(BREVELL_BUILD) || defined(QUORRA_BUILD)
  // An empty text is not written: the field keeps what it holds.
  if (value.vt == VT_BSTR && SysStringByteLen(value.bstrVal) == 0) return FALSE;
#endif
#if defined(QUORRA_BUILD)
  if (!m_pRecordset) return TRUE;
  return SUCCEEDED(m_pRecordset->put_Collect(_variant_t(index), value));
#else
  if (m_pRecordset) m_pRecordset->put_Collect(_variant_t(index), value);
  return 0;
#endif
}

long CAdoRecordSet::WalkToEnd() {
  long count = 0;
  while (!IsEOF()) {
    if (!MoveNext()) return 0;
    ++count;
  }
  return count;
}

long CAdoRecordSet::GetRecordCount() {
  if (!MoveLast() || !MoveFirst()) return 0;
  return WalkToEnd();
}

long CAdoRecordSet::CountRecords() {
  if (!MoveFirst()) return 0;
  return WalkToEnd();
}

FieldsPtr CAdoRecordSet::GetFields() {
  FieldsPtr fields;
  if (!m_pRecordset || FAILED(m_pRecordset->get_Fields(&fields))) return nullptr;
  return fields;
}

FieldPtr CAdoRecordSet::GetField(long index) {
  FieldsPtr fields = GetFields();
  FieldPtr field;
  if (!fields || FAILED(fields->get_Item(_variant_t(index), &field))) return nullptr;
  return field;
}

long CAdoRecordSet::GetFieldCount() {
  FieldsPtr fields = GetFields();
  LONG count = 0;
  if (!fields || FAILED(fields->get_Count(&count))) return -1;
  return count;
}

CString CAdoRecordSet::GetFieldName(long index) {
  FieldPtr field = GetField(index);
  _bstr_t name;
  if (!field || FAILED(field->get_Name(name.GetAddress()))) return CString();
  return CString(static_cast<const char*>(name));
}

BOOL CAdoRecordSet::CheckConnected() {
  LONG state = adStateClosed;
  if (m_pRecordset && SUCCEEDED(m_pRecordset->get_State(&state)) && state != adStateClosed) return TRUE;
  MessageBoxA(nullptr, "数据库可能已经断开,\r\n请重新连接、然后重试.", "提示", MB_ICONINFORMATION);
  return FALSE;
}

BOOL CAdoRecordSet::GetValueText(CString& text, long index) {
  if (index < 0 || index >= GetFieldCount()) return FALSE;
  if (!CheckConnected() || IsEOF()) return FALSE;
  _variant_t value;
  if (FAILED(m_pRecordset->get_Collect(_variant_t(index), &value))) return FALSE;
  text = AdoVariantToText(value);
  return TRUE;
}

BOOL CAdoRecordSet::GetValueTextByName(CString& text, LPCTSTR name) {
  if (!CheckConnected() || IsEOF()) return FALSE;
  _variant_t value;
  if (FAILED(m_pRecordset->get_Collect(_variant_t(name), &value))) return FALSE;
  text = AdoVariantToText(value);
  return TRUE;
}

BOOL CAdoRecordSet::GetValueVariant(_variant_t& value, long index) {
  if (index < 0 || index >= GetFieldCount()) return FALSE;
  if (!CheckConnected() || IsEOF()) return FALSE;
  _variant_t read;
  if (FAILED(m_pRecordset->get_Collect(_variant_t(index), &read))) return FALSE;
  value = read;
  return TRUE;
}

long CAdoRecordSet::GetFieldAttributes(long index) {
  FieldPtr field = GetField(index);
  LONG value = 0;
  return field && SUCCEEDED(field->get_Attributes(&value)) ? value : -1;
}

long CAdoRecordSet::GetFieldDefinedSize(long index) {
  FieldPtr field = GetField(index);
  LONG value = 0;
  return field && SUCCEEDED(field->get_DefinedSize(&value)) ? value : -1;
}

long CAdoRecordSet::GetFieldActualSize(long index) {
  FieldPtr field = GetField(index);
  LONG value = 0;
  return field && SUCCEEDED(field->get_ActualSize(&value)) ? value : -1;
}

long CAdoRecordSet::GetFieldType(long index) {
  FieldPtr field = GetField(index);
  DataTypeEnum type = adEmpty;
  return field && SUCCEEDED(field->get_Type(&type)) ? type : 0;
}

long CAdoRecordSet::GetState() {
  LONG state = 0;
  return m_pRecordset && SUCCEEDED(m_pRecordset->get_State(&state)) ? state : 0;
}

long CAdoRecordSet::GetStatus() {
  LONG status = 0;
  return m_pRecordset && SUCCEEDED(m_pRecordset->get_Status(&status)) ? status : 0;
}

HRESULT CAdoRecordSet::Cancel() { return m_pRecordset ? m_pRecordset->Cancel() : E_POINTER; }

CString CAdoRecordSet::GetErrorsText() { return m_pConnection ? m_pConnection->GetErrorsText() : CString(); }
