// The thread's error info, _com_error, object creation by ProgID, and the
// small ADO objects (Errors/Error, Fields/Field).
#include <cstdio>
#include <cstring>

#include "com/ado_impl.h"
#include "crt/ascii.h"

namespace platform {
namespace {

struct ThreadErrorInfo {
  bool set = false;
  HRESULT hr = S_OK;
  std::string description;
  std::string source;
};

ThreadErrorInfo& threadErrorInfo() {
  thread_local ThreadErrorInfo info;
  return info;
}

// "ADODB.Connection", optionally followed by a version ".6.0".
bool progIdIs(const char* progId, const char* name) {
  size_t n = std::strlen(name);
  if (!startsWithNoCase(progId, name)) return false;
  for (const char* p = progId + n; *p; ++p)
    if (*p != '.' && !(*p >= '0' && *p <= '9')) return false;
  return progId[n] == '\0' || progId[n] == '.';
}

}  // namespace

void setErrorInfo(HRESULT hr, const char* description, const char* source) {
  ThreadErrorInfo& info = threadErrorInfo();
  info.set = description != nullptr;
  info.hr = hr;
  info.description = description ? description : "";
  info.source = source ? source : "";
}

bool errorInfo(HRESULT hr, std::string* description, std::string* source) {
  const ThreadErrorInfo& info = threadErrorInfo();
  if (!info.set || info.hr != hr) return false;
  if (description) *description = info.description;
  if (source) *source = info.source;
  return true;
}

void clearErrorInfo() { threadErrorInfo() = ThreadErrorInfo{}; }

std::string errorMessageOf(HRESULT hr) {
  switch (hr) {
    case S_OK: return "No error";
    case E_FAIL: return "Unspecified error";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_POINTER: return "Invalid pointer";
    case E_OUTOFMEMORY: return "Out of memory";
    case E_INVALIDARG: return "The parameter is incorrect";
    case DISP_E_TYPEMISMATCH: return "Type mismatch";
    case DISP_E_OVERFLOW: return "Out of present range";
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    default: {
      char buf[48];
      std::snprintf(buf, sizeof buf, "Unknown error 0x%08X", static_cast<unsigned>(hr));
      return buf;
    }
  }
}

HRESULT createInstanceByProgId(const char* progId, IUnknown* outer, DWORD, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!progId) return CO_E_CLASSSTRING;
  if (outer) return CLASS_E_NOAGGREGATION;
  IUnknown* created = nullptr;
  if (progIdIs(progId, "ADODB.Connection")) created = new ado::ConnectionImpl();
  else if (progIdIs(progId, "ADODB.Recordset")) created = new ado::RecordsetImpl();
  else return REGDB_E_CLASSNOTREG;
  HRESULT hr = created->QueryInterface(riid, object);
  created->Release();
  return hr;
}

}  // namespace platform

_com_error::_com_error(HRESULT hr) : m_hr(hr), m_message(platform::errorMessageOf(hr)) {
  platform::errorInfo(hr, &m_description, &m_source);
}

_com_error::_com_error(HRESULT hr, const char* description, const char* source)
    : m_hr(hr), m_description(description ? description : ""), m_source(source ? source : ""),
      m_message(platform::errorMessageOf(hr)) {}

namespace platform::ado {

namespace {
constexpr const char* kSource = "Microsoft JET Database Engine";

class ErrorImpl : public ComObject<Error> {
 public:
  explicit ErrorImpl(ErrorRecord r) : m_r(std::move(r)) {}
  HRESULT get_Number(LONG* value) override { return put(value, m_r.number); }
  HRESULT get_Description(BSTR* value) override { return text(value, m_r.description); }
  HRESULT get_SQLState(BSTR* value) override { return text(value, m_r.sqlState); }
  HRESULT get_NativeError(LONG* value) override { return put(value, m_r.nativeError); }
  HRESULT get_Source(BSTR* value) override { return text(value, m_r.source); }

 private:
  static HRESULT put(LONG* out, LONG v) {
    if (!out) return E_POINTER;
    *out = v;
    return S_OK;
  }
  static HRESULT text(BSTR* out, const std::string& s) {
    if (!out) return E_POINTER;
    *out = SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size()));
    return S_OK;
  }
  ErrorRecord m_r;
};

// An index VARIANT as a number; -1 when it is not one.
long numericIndex(const VARIANT& index) {
  VARIANT v;
  VariantInit(&v);
  if (index.vt == VT_BSTR || FAILED(VariantChangeType(&v, &index, 0, VT_I4))) return -1;
  return v.lVal;
}

}  // namespace

HRESULT raise(HRESULT hr, const std::string& description) {
  setErrorInfo(hr, description.c_str(), kSource);
  return hr;
}

HRESULT ErrorsImpl::get_Count(LONG* value) {
  if (!value) return E_POINTER;
  *value = static_cast<LONG>(m_list.size());
  return S_OK;
}

HRESULT ErrorsImpl::get_Item(VARIANT index, Error** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  long i = numericIndex(index);
  if (i < 0 || i >= static_cast<long>(m_list.size()))
    return raise(adErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
  *item = new ErrorImpl(m_list[static_cast<size_t>(i)]);
  return S_OK;
}

HRESULT ErrorsImpl::Clear() {
  m_list.clear();
  return S_OK;
}

void ErrorsImpl::set(ErrorRecord record) {
  if (record.source.empty()) record.source = kSource;
  m_list.clear();
  m_list.push_back(std::move(record));
}

// ---- Fields ------------------------------------------------------------------

HRESULT FieldsImpl::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IUnknown::iid || riid == IDispatch::iid || riid == Fields::iid) {
    *object = static_cast<Fields*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FieldsImpl::AddRef() { return m_rs->AddRef(); }
ULONG FieldsImpl::Release() { return m_rs->Release(); }

HRESULT FieldsImpl::get_Count(LONG* value) {
  if (!value) return E_POINTER;
  *value = m_rs->fieldCount();
  return S_OK;
}

HRESULT FieldsImpl::get_Item(VARIANT index, Field** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  long f = 0;
  HRESULT hr = m_rs->fieldIndex(index, f);
  if (FAILED(hr)) return hr;
  *item = new FieldImpl(m_rs, f);
  return S_OK;
}

FieldImpl::FieldImpl(RecordsetImpl* rs, long index) : m_rs(rs), m_index(index) { m_rs->AddRef(); }
FieldImpl::~FieldImpl() { m_rs->Release(); }

HRESULT FieldImpl::get_Name(BSTR* value) {
  if (!value) return E_POINTER;
  const std::string& n = m_rs->field(m_index).name;
  *value = SysAllocStringByteLen(n.data(), static_cast<UINT>(n.size()));
  return S_OK;
}

HRESULT FieldImpl::get_Type(DataTypeEnum* value) {
  if (!value) return E_POINTER;
  *value = jet::adoTypeOf(m_rs->field(m_index).type);
  return S_OK;
}

HRESULT FieldImpl::get_DefinedSize(LONG* value) {
  if (!value) return E_POINTER;
  *value = jet::definedSizeOf(m_rs->field(m_index).type);
  return S_OK;
}

HRESULT FieldImpl::get_ActualSize(LONG* value) {
  if (!value) return E_POINTER;
  return m_rs->actualSize(m_index, value);
}

HRESULT FieldImpl::get_Attributes(LONG* value) {
  if (!value) return E_POINTER;
  const FieldInfo& f = m_rs->field(m_index);
  LONG a = 0;
  jet::Kind k = f.type.kind;
  if (k != jet::Kind::Text && k != jet::Kind::Memo && k != jet::Kind::Variant) a |= adFldFixed;
  if (f.type.fixed) a |= adFldFixed;
  if (k == jet::Kind::Memo) a |= adFldLong;
  if (!f.notNull && !f.identity) a |= adFldIsNullable | adFldMayBeNull;
  if (f.tableColumn >= 0 && !f.identity) a |= adFldUpdatable;
  if (f.identity) a |= adFldKeyColumn;
  *value = a;
  return S_OK;
}

HRESULT FieldImpl::get_Value(VARIANT* value) { return m_rs->readField(m_index, value); }
HRESULT FieldImpl::put_Value(VARIANT value) { return m_rs->writeField(m_index, value); }

}  // namespace platform::ado
