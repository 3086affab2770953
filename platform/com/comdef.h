#pragma once
// The component-object basics the system is written against: result codes,
// interface identifiers, IUnknown/IDispatch and creation of an object by its
// ProgID ("ADODB.Connection", "ADODB.Recordset").
//
// Objects are reference counted as COM objects are; the only objects there
// are the platform's own (the ADO objects), created in-process.

#include <cstdint>

#include "win/wintypes.h"

typedef LONG HRESULT;
typedef LONG SCODE;

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define MAKE_HRESULT(sev, fac, code) \
  ((HRESULT)(((uint32_t)(sev) << 31) | ((uint32_t)(fac) << 16) | ((uint32_t)(code))))

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_ABORT ((HRESULT)0x80004004L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)

// Server contexts of object creation (all are served in-process here).
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

// Every interface names its identifier as `Interface::iid`; `uuidOf<I>()`
// stands for the compiler's __uuidof.
template <class I>
const IID& uuidOf() {
  return I::iid;
}

struct PLATFORM_API IUnknown {
  static constexpr IID iid = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

struct PLATFORM_API IDispatch : IUnknown {
  static constexpr IID iid = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
};

// COM is initialised by the host; these are kept for code that calls them.
PLATFORM_API HRESULT CoInitialize(LPVOID reserved);
PLATFORM_API HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
PLATFORM_API void CoUninitialize();

namespace platform {
// Creates the object registered under `progId` ("ADODB.Connection",
// "ADODB.Recordset"; a version suffix such as ".6.0" is accepted) and returns
// its interface `riid` in `*object`. REGDB_E_CLASSNOTREG for an unknown ProgID,
// CLASS_E_NOAGGREGATION when `outer` is given.
PLATFORM_API HRESULT createInstanceByProgId(const char* progId, IUnknown* outer, DWORD context, REFIID riid,
                                            void** object);
}  // namespace platform
