#pragma once
// VARIANT and BSTR, the value types that cross the database interface.
//
// A BSTR here holds UTF-8 text (OLECHAR is char): it points at the first
// character, is preceded by its byte length and followed by a zero byte, so it
// can be handed to anything that takes a C string. Text needs no code-page
// conversion on its way to or from the database.
//
// Conversions between value types (VariantChangeType) follow the automation
// rules: numbers round half to even when they become integers, texts are read
// as numbers with optional blanks, sign, decimal point and exponent, a number
// becomes the shortest text of 15 significant digits ("1", "1.5", "1E+20").

#include <cstdint>

#include "com/comdef.h"

typedef char OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* LPOLESTR;
typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef double DATE;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM : unsigned short {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_VECTOR = 0x1000,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

// Currency: a 64-bit integer of ten-thousandths.
struct CY {
  LONGLONG int64;
};

// Decimal: a 96-bit magnitude (Hi32:Lo64) divided by 10^scale, with a sign
// byte (0x80 negative).
struct DECIMAL {
  USHORT wReserved;
  BYTE scale;
  BYTE sign;
  ULONG Hi32;
  ULONGLONG Lo64;
};
#define DECIMAL_NEG ((BYTE)0x80)

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    char* pszVal;
    wchar_t* pwszVal;
    void* byref;
    DECIMAL decVal;
  };
};
typedef VARIANT VARIANTARG;
typedef VARIANT* LPVARIANT;

// Flags of VariantChangeTypeEx.
#define VARIANT_NOVALUEPROP 0x1
#define VARIANT_ALPHABOOL 0x2

// BSTR allocation. A null BSTR is the empty text.
PLATFORM_API BSTR SysAllocString(const OLECHAR* text);
PLATFORM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
PLATFORM_API BSTR SysAllocStringByteLen(const char* text, UINT length);
PLATFORM_API void SysFreeString(BSTR text);
PLATFORM_API UINT SysStringLen(BSTR text);
PLATFORM_API UINT SysStringByteLen(BSTR text);
PLATFORM_API int SysReAllocString(BSTR* text, const OLECHAR* newText);

// VARIANT management. VariantClear frees what the variant owns (its BSTR, its
// interface reference) and leaves it VT_EMPTY.
PLATFORM_API void VariantInit(VARIANT* v);
PLATFORM_API HRESULT VariantClear(VARIANT* v);
PLATFORM_API HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Converts `src` to type `vt` into `dest` (which may be `src`). On failure
// DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW and `dest` is left as it was.
PLATFORM_API HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);
PLATFORM_API HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, ULONG lcid, USHORT flags,
                                         VARTYPE vt);

// Single conversions used by the above.
PLATFORM_API HRESULT VarR8FromStr(const OLECHAR* text, ULONG lcid, ULONG flags, DOUBLE* out);
PLATFORM_API HRESULT VarBstrFromR8(DOUBLE value, ULONG lcid, ULONG flags, BSTR* out);
PLATFORM_API HRESULT VarBstrFromR4(FLOAT value, ULONG lcid, ULONG flags, BSTR* out);
PLATFORM_API HRESULT VarR8FromDec(const DECIMAL* value, DOUBLE* out);
PLATFORM_API HRESULT VarDecFromR8(DOUBLE value, DECIMAL* out);

// Dates: days since 1899-12-30, the fraction being the time of day.
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
// FALSE for a date outside the years 100 to 9999.
PLATFORM_API INT VariantTimeToSystemTime(DATE time, SYSTEMTIME* out);
PLATFORM_API INT SystemTimeToVariantTime(const SYSTEMTIME* in, DATE* out);
