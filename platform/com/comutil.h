#pragma once
// Helpers over the COM value types: _bstr_t, _variant_t, the COM error
// _com_error and the interface smart pointer _com_ptr_t.
//
// The platform's interfaces report failures by HRESULT and never throw; the
// error description of the latest failure on this thread is kept (as COM's
// error info is) and a _com_error made from that HRESULT carries it. The
// conversions of _variant_t throw _com_error, as the class library's do; code
// that calls them catches the error itself.

#include <string>
#include <utility>

#include "com/comdef.h"
#include "com/variant.h"
#include "mfc/cstring.h"

namespace platform {
// The error info of this thread: set by a failing platform object, read by
// _com_error. Setting it with a null description clears it.
PLATFORM_API void setErrorInfo(HRESULT hr, const char* description, const char* source);
PLATFORM_API bool errorInfo(HRESULT hr, std::string* description, std::string* source);
PLATFORM_API void clearErrorInfo();
// A short standard text for a result code ("Unspecified error", ...).
PLATFORM_API std::string errorMessageOf(HRESULT hr);
}  // namespace platform

class PLATFORM_API _com_error {
 public:
  explicit _com_error(HRESULT hr);
  _com_error(HRESULT hr, const char* description, const char* source = "");
  HRESULT Error() const { return m_hr; }
  HRESULT WCode() const { return m_hr; }
  // The description the failing object gave; empty when it gave none.
  const char* Description() const { return m_description.c_str(); }
  const char* Source() const { return m_source.c_str(); }
  // The standard text of the result code.
  const char* ErrorMessage() const { return m_message.c_str(); }

 private:
  HRESULT m_hr;
  std::string m_description;
  std::string m_source;
  std::string m_message;
};

[[noreturn]] inline void _com_issue_error(HRESULT hr) { throw _com_error(hr); }

// A BSTR owner. Copies share nothing: each holds its own BSTR.
class _bstr_t {
 public:
  _bstr_t() = default;
  _bstr_t(const char* s) : m_b(SysAllocString(s)) {}
  _bstr_t(const CString& s) : m_b(SysAllocStringByteLen(s.GetString(), static_cast<UINT>(s.GetLength()))) {}
  _bstr_t(const std::string& s) : m_b(SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size()))) {}
  // Takes `b` over (copy = false) or copies it.
  _bstr_t(BSTR b, bool copy) : m_b(copy ? SysAllocStringByteLen(b, SysStringByteLen(b)) : b) {}
  _bstr_t(const _bstr_t& o) : m_b(o.m_b ? SysAllocStringByteLen(o.m_b, SysStringByteLen(o.m_b)) : nullptr) {}
  _bstr_t(_bstr_t&& o) noexcept : m_b(std::exchange(o.m_b, nullptr)) {}
  _bstr_t& operator=(const _bstr_t& o) {
    if (this != &o) {
      _bstr_t t(o);
      std::swap(m_b, t.m_b);
    }
    return *this;
  }
  _bstr_t& operator=(_bstr_t&& o) noexcept {
    std::swap(m_b, o.m_b);
    return *this;
  }
  _bstr_t& operator=(const char* s) {
    _bstr_t t(s);
    std::swap(m_b, t.m_b);
    return *this;
  }
  ~_bstr_t() { SysFreeString(m_b); }

  operator const char*() const { return m_b ? m_b : ""; }
  operator BSTR() const { return m_b; }
  BSTR GetBSTR() const { return m_b; }
  BSTR copy() const { return SysAllocStringByteLen(m_b, SysStringByteLen(m_b)); }
  unsigned length() const { return SysStringByteLen(m_b); }
  void Attach(BSTR b) {
    SysFreeString(m_b);
    m_b = b;
  }
  BSTR Detach() { return std::exchange(m_b, nullptr); }
  // Frees the text and gives the address to fill (for out-parameters).
  BSTR* GetAddress() {
    SysFreeString(m_b);
    m_b = nullptr;
    return &m_b;
  }
  bool operator!() const { return m_b == nullptr; }
  bool operator==(const char* s) const { return std::string_view(*this) == std::string_view(s ? s : ""); }
  bool operator!=(const char* s) const { return !(*this == s); }

 private:
  BSTR m_b = nullptr;
};

// A VARIANT owner. Integers become VT_I4 (a `long` too, as on the platform the
// system was written for), reals VT_R8, texts VT_BSTR.
class _variant_t : public VARIANT {
 public:
  _variant_t() { VariantInit(this); }
  _variant_t(const VARIANT& v) {
    VariantInit(this);
    VariantCopy(this, &v);
  }
  _variant_t(const _variant_t& v) : _variant_t(static_cast<const VARIANT&>(v)) {}
  _variant_t(_variant_t&& v) noexcept : VARIANT(v) { VariantInit(&v); }
  _variant_t(short s, VARTYPE vt = VT_I2) { setInteger(s, vt); }
  _variant_t(int i, VARTYPE vt = VT_I4) { setInteger(i, vt); }
  _variant_t(long i, VARTYPE vt = VT_I4) { setInteger(i, vt); }
  _variant_t(long long i) {
    VariantInit(this);
    vt = VT_I8;
    llVal = i;
  }
  _variant_t(unsigned char b) {
    VariantInit(this);
    vt = VT_UI1;
    bVal = b;
  }
  _variant_t(float f) {
    VariantInit(this);
    vt = VT_R4;
    fltVal = f;
  }
  _variant_t(double d, VARTYPE vtSrc = VT_R8) {
    VariantInit(this);
    vt = vtSrc == VT_DATE ? VT_DATE : VT_R8;
    dblVal = d;
  }
  _variant_t(bool b) {
    VariantInit(this);
    vt = VT_BOOL;
    boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  }
  _variant_t(const char* s) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(s ? s : "");
  }
  _variant_t(const CString& s) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocStringByteLen(s.GetString(), static_cast<UINT>(s.GetLength()));
  }
  _variant_t(const std::string& s) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size()));
  }
  _variant_t(const _bstr_t& s) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = s.copy();
  }
  // An interface in a variant (VT_DISPATCH or VT_UNKNOWN); adds a reference
  // when `addRef`.
  _variant_t(IDispatch* p, bool addRef = true) {
    VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = p;
    if (p && addRef) p->AddRef();
  }
  _variant_t(IUnknown* p, bool addRef = true) {
    VariantInit(this);
    vt = VT_UNKNOWN;
    punkVal = p;
    if (p && addRef) p->AddRef();
  }
  ~_variant_t() { VariantClear(this); }

  _variant_t& operator=(const _variant_t& v) {
    if (this != &v) VariantCopy(this, &v);
    return *this;
  }
  _variant_t& operator=(const VARIANT& v) {
    if (this != &v) VariantCopy(this, &v);
    return *this;
  }
  _variant_t& operator=(_variant_t&& v) noexcept {
    std::swap(static_cast<VARIANT&>(*this), static_cast<VARIANT&>(v));
    return *this;
  }

  void Clear() { VariantClear(this); }
  // Converts in place; throws _com_error when the value cannot be converted.
  void ChangeType(VARTYPE type, const _variant_t* src = nullptr) {
    HRESULT hr = VariantChangeType(this, src ? src : this, 0, type);
    if (FAILED(hr)) _com_issue_error(hr);
  }
  void Attach(VARIANT& v) {
    VariantClear(this);
    static_cast<VARIANT&>(*this) = v;
    VariantInit(&v);
  }
  VARIANT Detach() {
    VARIANT v = *this;
    VariantInit(this);
    return v;
  }
  VARIANT& GetVARIANT() { return *this; }
  VARIANT* GetAddress() {
    VariantClear(this);
    return this;
  }

  // Conversions (throw _com_error when impossible, as the class library's do).
  operator short() const { return convert(VT_I2).iVal; }
  operator int() const { return convert(VT_I4).lVal; }
  operator long() const { return convert(VT_I4).lVal; }
  operator float() const { return convert(VT_R4).fltVal; }
  operator double() const { return convert(VT_R8).dblVal; }
  operator bool() const { return convert(VT_BOOL).boolVal != 0; }
  operator _bstr_t() const {
    _variant_t t = convert(VT_BSTR);
    return _bstr_t(t.bstrVal, true);
  }

 private:
  void setInteger(long long i, VARTYPE type) {
    VariantInit(this);
    if (type == VT_I2) {
      vt = VT_I2;
      iVal = static_cast<SHORT>(i);
    } else {
      vt = VT_I4;
      lVal = static_cast<LONG>(i);
    }
  }
  _variant_t convert(VARTYPE type) const {
    _variant_t t;
    HRESULT hr = VariantChangeType(&t, this, 0, type);
    if (FAILED(hr)) _com_issue_error(hr);
    return t;
  }
};

// The "missing" argument (VT_ERROR with DISP_E_PARAMNOTFOUND).
inline const VARIANT& vtMissingValue() {
  static const VARIANT missing = [] {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
  }();
  return missing;
}
#define vtMissing (_variant_t(vtMissingValue()))

inline bool isMissing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// Smart pointer to an interface: holds one reference.
template <class I>
class _com_ptr_t {
 public:
  _com_ptr_t() = default;
  _com_ptr_t(std::nullptr_t) {}
  _com_ptr_t(I* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  _com_ptr_t(I* p, bool addRef) : m_p(p) {
    if (m_p && addRef) m_p->AddRef();
  }
  _com_ptr_t(const _com_ptr_t& o) : _com_ptr_t(o.m_p) {}
  _com_ptr_t(_com_ptr_t&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
  ~_com_ptr_t() { Release(); }
  _com_ptr_t& operator=(const _com_ptr_t& o) {
    _com_ptr_t t(o);
    std::swap(m_p, t.m_p);
    return *this;
  }
  _com_ptr_t& operator=(_com_ptr_t&& o) noexcept {
    std::swap(m_p, o.m_p);
    return *this;
  }
  _com_ptr_t& operator=(I* p) {
    _com_ptr_t t(p);
    std::swap(m_p, t.m_p);
    return *this;
  }
  _com_ptr_t& operator=(std::nullptr_t) {
    Release();
    return *this;
  }

  // Creates the object registered under `progId` in place of the held one.
  HRESULT CreateInstance(const char* progId, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
    Release();
    void* p = nullptr;
    HRESULT hr = platform::createInstanceByProgId(progId, outer, context, uuidOf<I>(), &p);
    if (SUCCEEDED(hr)) m_p = static_cast<I*>(p);
    return hr;
  }

  void Release() {
    if (m_p) std::exchange(m_p, nullptr)->Release();
  }
  void Attach(I* p) {
    Release();
    m_p = p;
  }
  I* Detach() { return std::exchange(m_p, nullptr); }
  I* GetInterfacePtr() const { return m_p; }
  I* operator->() const { return m_p; }
  operator I*() const { return m_p; }
  bool operator!() const { return m_p == nullptr; }
  // Releases the held reference and gives the address to fill (out-parameters).
  I** operator&() {
    Release();
    return &m_p;
  }

 private:
  I* m_p = nullptr;
};
