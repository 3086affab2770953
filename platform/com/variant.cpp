// VARIANT, BSTR and the automation conversions between value types.
#include "com/variant.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "crt/ascii.h"

namespace {

// A BSTR is allocated as [uint32 byte length][bytes][0]; the pointer handed
// out points at the bytes.
constexpr size_t kPrefix = sizeof(uint32_t);

uint32_t* headerOf(BSTR s) { return reinterpret_cast<uint32_t*>(s - kPrefix); }

// Day number (days since 1899-12-30) of a civil date, proleptic Gregorian.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  // 693959 is the day number of 1899-12-30 counted from 0000-03-01.
  return era * 146097 + static_cast<long long>(doe) - 693959 + 60;
}

void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 693959 - 60;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

constexpr double kMinDate = -657434.0;          // 0100-01-01
constexpr double kMaxDate = 2958465.999994213;  // 9999-12-31 23:59:59

bool isIntegerType(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_INT: case VT_UINT: case VT_I8: case VT_UI8:
      return true;
    default:
      return false;
  }
}

bool isNumericType(VARTYPE vt) {
  return isIntegerType(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DECIMAL ||
         vt == VT_DATE || vt == VT_BOOL;
}

// The value of a numeric variant as a double (exact for every integer the
// database holds).
double numericValue(const VARIANT& v) {
  switch (v.vt) {
    case VT_I1: return v.cVal;
    case VT_UI1: return v.bVal;
    case VT_I2: return v.iVal;
    case VT_UI2: return v.uiVal;
    case VT_I4: return v.lVal;
    case VT_UI4: return v.ulVal;
    case VT_INT: return v.intVal;
    case VT_UINT: return v.uintVal;
    case VT_I8: return static_cast<double>(v.llVal);
    case VT_UI8: return static_cast<double>(v.ullVal);
    case VT_R4: return v.fltVal;
    case VT_R8: return v.dblVal;
    case VT_CY: return static_cast<double>(v.cyVal.int64) / 10000.0;
    case VT_DATE: return v.date;
    case VT_BOOL: return v.boolVal ? -1.0 : 0.0;
    case VT_DECIMAL: {
      double d = 0;
      VarR8FromDec(&v.decVal, &d);
      return d;
    }
    default: return 0;
  }
}

// Rounds half to even, as the automation conversions to integers do.
double roundHalfEven(double x) {
  double r = std::nearbyint(x);  // default rounding mode is to nearest, ties to even
  return r;
}

HRESULT toInteger(double x, double lo, double hi, long long& out) {
  if (!std::isfinite(x)) return DISP_E_OVERFLOW;
  double r = roundHalfEven(x);
  if (r < lo || r > hi) return DISP_E_OVERFLOW;
  out = static_cast<long long>(r);
  return S_OK;
}

std::string trimBlanks(const char* text) {
  std::string s = text ? text : "";
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// Reads a date text: "YYYY-MM-DD", "YYYY/MM/DD" or "M/D/YYYY", optionally
// followed by "HH:MM" or "HH:MM:SS".
bool parseDate(const char* text, DATE& out) {
  std::string s = trimBlanks(text);
  int a = 0, b = 0, c = 0, hh = 0, mm = 0, ss = 0, n = 0;
  char s1 = 0, s2 = 0;
  if (std::sscanf(s.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &n) != 5 || s1 != s2 ||
      (s1 != '-' && s1 != '/'))
    return false;
  std::string rest = s.substr(static_cast<size_t>(n));
  int year, month, day;
  if (a > 31) { year = a; month = b; day = c; }
  else { month = a; day = b; year = c; }
  size_t t = rest.find_first_not_of(" \t");
  if (t != std::string::npos) {
    int m2 = 0;
    int got = std::sscanf(rest.c_str() + t, "%d:%d:%d%n", &hh, &mm, &ss, &m2);
    if (got < 2) return false;
    if (got == 2) ss = 0;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 100 || year > 9999 || hh < 0 || hh > 23 ||
      mm < 0 || mm > 59 || ss < 0 || ss > 59)
    return false;
  SYSTEMTIME st{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                static_cast<WORD>(hh), static_cast<WORD>(mm), static_cast<WORD>(ss), 0};
  return SystemTimeToVariantTime(&st, &out) != 0;
}

std::string dateText(DATE d) {
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(d, &st)) return "";
  char buf[64];
  if (st.wHour == 0 && st.wMinute == 0 && st.wSecond == 0)
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
  else
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
  return buf;
}

// The shortest text of `value` with at most `digits` significant digits.
std::string numberText(double value, int digits) {
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", digits, value);
  return buf;
}

HRESULT textOf(const VARIANT& src, USHORT flags, std::string& out) {
  switch (src.vt) {
    case VT_EMPTY: out.clear(); return S_OK;
    case VT_BSTR: out.assign(src.bstrVal ? src.bstrVal : "", SysStringByteLen(src.bstrVal)); return S_OK;
    case VT_I8: out = std::to_string(src.llVal); return S_OK;
    case VT_UI8: out = std::to_string(src.ullVal); return S_OK;
    case VT_R8: out = numberText(src.dblVal, 15); return S_OK;
    case VT_R4: out = numberText(src.fltVal, 7); return S_OK;
    case VT_DECIMAL: case VT_CY: out = numberText(numericValue(src), 15); return S_OK;
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL) out = src.boolVal ? "True" : "False";
      else out = src.boolVal ? "-1" : "0";
      return S_OK;
    case VT_DATE:
      out = dateText(src.date);
      return out.empty() ? DISP_E_OVERFLOW : S_OK;
    default:
      if (isIntegerType(src.vt)) {
        out = std::to_string(static_cast<long long>(numericValue(src)));
        return S_OK;
      }
      return DISP_E_TYPEMISMATCH;
  }
}

// The number a source variant stands for, for a numeric destination.
HRESULT numberOf(const VARIANT& src, VARTYPE target, double& out) {
  if (src.vt == VT_EMPTY) { out = 0; return S_OK; }
  if (isNumericType(src.vt)) { out = numericValue(src); return S_OK; }
  if (src.vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
  const char* text = src.bstrVal ? src.bstrVal : "";
  if (target == VT_BOOL) {
    std::string t = platform::lowerAscii(trimBlanks(text));
    if (t == "true" || t == "yes" || t == "on") { out = -1; return S_OK; }
    if (t == "false" || t == "no" || t == "off") { out = 0; return S_OK; }
  }
  if (target == VT_DATE) {
    DATE d;
    if (parseDate(text, d)) { out = d; return S_OK; }
  }
  return VarR8FromStr(text, 0, 0, &out);
}

}  // namespace

BSTR SysAllocStringByteLen(const char* text, UINT length) {
  char* block = static_cast<char*>(std::malloc(kPrefix + length + 1));
  if (!block) return nullptr;
  uint32_t len = length;
  std::memcpy(block, &len, sizeof len);
  if (text) std::memcpy(block + kPrefix, text, length);
  else std::memset(block + kPrefix, 0, length);
  block[kPrefix + length] = '\0';
  return block + kPrefix;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) { return SysAllocStringByteLen(text, length); }

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringByteLen(text, static_cast<UINT>(std::strlen(text)));
}

void SysFreeString(BSTR text) {
  if (text) std::free(text - kPrefix);
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  uint32_t len;
  std::memcpy(&len, headerOf(text), sizeof len);
  return len;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text); }

int SysReAllocString(BSTR* text, const OLECHAR* newText) {
  if (!text) return FALSE;
  BSTR fresh = SysAllocString(newText ? newText : "");
  if (!fresh) return FALSE;
  SysFreeString(*text);
  *text = fresh;
  return TRUE;
}

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(static_cast<void*>(v), 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_POINTER;
  switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstrVal); break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (v->punkVal) v->punkVal->Release();
      break;
    default: break;
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_POINTER;
  if (dest == src) return S_OK;
  if ((src->vt & (VT_ARRAY | VT_VECTOR)) != 0) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (src->vt == VT_BSTR && src->bstrVal) {
    copy.bstrVal = SysAllocStringByteLen(src->bstrVal, SysStringByteLen(src->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
    src->punkVal->AddRef();
  }
  VariantClear(dest);
  *dest = copy;
  return S_OK;
}

HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, ULONG, USHORT flags, VARTYPE vt) {
  return VariantChangeType(dest, src, flags, vt);
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
  if (!dest || !src) return E_POINTER;
  if (src->vt == vt) return VariantCopy(dest, src);
  if ((src->vt & (VT_ARRAY | VT_BYREF | VT_VECTOR)) != 0) return DISP_E_BADVARTYPE;

  VARIANT result;
  VariantInit(&result);
  result.vt = vt;

  if (vt == VT_EMPTY) {
    result.vt = VT_EMPTY;
  } else if (vt == VT_NULL) {
    if (src->vt != VT_NULL && src->vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
  } else if (src->vt == VT_NULL) {
    return DISP_E_TYPEMISMATCH;
  } else if (vt == VT_BSTR) {
    std::string text;
    HRESULT hr = textOf(*src, flags, text);
    if (FAILED(hr)) return hr;
    result.bstrVal = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
    if (!result.bstrVal) return E_OUTOFMEMORY;
  } else if (isNumericType(vt)) {
    double x = 0;
    HRESULT hr = numberOf(*src, vt, x);
    if (FAILED(hr)) return hr;
    long long n = 0;
    switch (vt) {
      case VT_I1: hr = toInteger(x, -128, 127, n); result.cVal = static_cast<CHAR>(n); break;
      case VT_UI1: hr = toInteger(x, 0, 255, n); result.bVal = static_cast<BYTE>(n); break;
      case VT_I2: hr = toInteger(x, -32768, 32767, n); result.iVal = static_cast<SHORT>(n); break;
      case VT_UI2: hr = toInteger(x, 0, 65535, n); result.uiVal = static_cast<USHORT>(n); break;
      case VT_I4:
      case VT_INT: hr = toInteger(x, -2147483648.0, 2147483647.0, n); result.lVal = static_cast<LONG>(n); break;
      case VT_UI4:
      case VT_UINT: hr = toInteger(x, 0, 4294967295.0, n); result.ulVal = static_cast<ULONG>(n); break;
      case VT_I8:
        if (src->vt == VT_UI8 || src->vt == VT_I8) { result.llVal = src->llVal; break; }
        hr = toInteger(x, -9223372036854775808.0, 9223372036854774784.0, n);
        result.llVal = n;
        break;
      case VT_UI8:
        if (src->vt == VT_UI8 || src->vt == VT_I8) { result.ullVal = src->ullVal; break; }
        hr = toInteger(x, 0, 18446744073709549568.0, n);
        result.ullVal = static_cast<ULONGLONG>(n);
        break;
      case VT_R4:
        if (std::isfinite(x) && std::fabs(x) > FLT_MAX) hr = DISP_E_OVERFLOW;
        result.fltVal = static_cast<FLOAT>(x);
        break;
      case VT_R8: result.dblVal = x; break;
      case VT_CY:
        hr = toInteger(x * 10000.0, -9.2e18, 9.2e18, n);
        result.cyVal.int64 = n;
        break;
      case VT_DECIMAL: hr = VarDecFromR8(x, &result.decVal); break;
      case VT_DATE:
        if (!(x >= kMinDate && x <= kMaxDate + 1)) hr = DISP_E_OVERFLOW;
        result.date = x;
        break;
      case VT_BOOL: result.boolVal = x != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
      default: hr = DISP_E_TYPEMISMATCH; break;
    }
    if (FAILED(hr)) return hr;
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  VariantClear(dest);  // also when dest is src: result no longer refers to it
  *dest = result;
  return S_OK;
}

HRESULT VarR8FromStr(const OLECHAR* text, ULONG, ULONG, DOUBLE* out) {
  if (!out) return E_POINTER;
  std::string s = trimBlanks(text);
  // Grammar: [+-] digits (with ',' between digit groups) [. digits] [(e|E|d|D) [+-] digits]
  std::string clean;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
  int mantissaDigits = 0;
  while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || s[i] == ',')) {
    if (s[i] == ',') {
      // A group separator stands only between digits.
      if (mantissaDigits == 0 || i + 1 >= s.size() || !(s[i + 1] >= '0' && s[i + 1] <= '9'))
        return DISP_E_TYPEMISMATCH;
    } else {
      clean += s[i];
      ++mantissaDigits;
    }
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    clean += s[i++];
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      clean += s[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return DISP_E_TYPEMISMATCH;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    clean += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean += s[i++];
    int expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      clean += s[i++];
      ++expDigits;
    }
    if (expDigits == 0) return DISP_E_TYPEMISMATCH;
  }
  if (i != s.size()) return DISP_E_TYPEMISMATCH;
  const char* first = clean.c_str();
  if (*first == '+') ++first;
  double value = 0;
  auto res = std::from_chars(first, clean.c_str() + clean.size(), value);
  if (res.ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (res.ec != std::errc()) return DISP_E_TYPEMISMATCH;
  *out = value;
  return S_OK;
}

HRESULT VarBstrFromR8(DOUBLE value, ULONG, ULONG, BSTR* out) {
  if (!out) return E_POINTER;
  std::string t = numberText(value, 15);
  *out = SysAllocStringByteLen(t.data(), static_cast<UINT>(t.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT VarBstrFromR4(FLOAT value, ULONG, ULONG, BSTR* out) {
  if (!out) return E_POINTER;
  std::string t = numberText(value, 7);
  *out = SysAllocStringByteLen(t.data(), static_cast<UINT>(t.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT VarR8FromDec(const DECIMAL* value, DOUBLE* out) {
  if (!value || !out) return E_POINTER;
  unsigned __int128 m = (static_cast<unsigned __int128>(value->Hi32) << 64) | value->Lo64;
  double d = static_cast<double>(m);
  for (int i = 0; i < value->scale; ++i) d /= 10.0;
  *out = (value->sign & DECIMAL_NEG) ? -d : d;
  return S_OK;
}

HRESULT VarDecFromR8(DOUBLE value, DECIMAL* out) {
  if (!out) return E_POINTER;
  if (!std::isfinite(value) || std::fabs(value) >= 7.9228162514264337593e28) return DISP_E_OVERFLOW;
  DECIMAL dec{};
  double a = std::fabs(value);
  if (a != 0) {
    // Keep 15 significant digits, as many decimals as that leaves (at most 28).
    int exponent = static_cast<int>(std::floor(std::log10(a)));
    int scale = 14 - exponent;
    if (scale < 0) scale = 0;
    if (scale > 28) scale = 28;
    long double scaled = a;
    for (int i = 0; i < scale; ++i) scaled *= 10.0L;
    unsigned __int128 m = static_cast<unsigned __int128>(std::nearbyint(scaled));
    while (scale > 0 && m % 10 == 0) {
      m /= 10;
      --scale;
    }
    dec.scale = static_cast<BYTE>(scale);
    dec.Hi32 = static_cast<ULONG>(m >> 64);
    dec.Lo64 = static_cast<ULONGLONG>(m);
    dec.sign = value < 0 ? DECIMAL_NEG : 0;
  }
  *out = dec;
  return S_OK;
}

INT VariantTimeToSystemTime(DATE time, SYSTEMTIME* out) {
  if (!out || !(time >= kMinDate && time <= kMaxDate + 0.99999)) return FALSE;
  // The whole part counts days; the fraction is the time of day, also for
  // dates before 1899-12-30.
  double whole = std::trunc(time);
  double fraction = std::fabs(time - whole);
  long long seconds = std::llround(fraction * 86400.0);
  long long day = static_cast<long long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += time < 0 ? -1 : 1;
  }
  long long y;
  unsigned m, d;
  civilFromDays(day, y, m, d);
  if (y < 100 || y > 9999) return FALSE;
  out->wYear = static_cast<WORD>(y);
  out->wMonth = static_cast<WORD>(m);
  out->wDay = static_cast<WORD>(d);
  out->wDayOfWeek = static_cast<WORD>(((day % 7) + 7 + 6) % 7);  // 1899-12-30 was a Saturday
  out->wHour = static_cast<WORD>(seconds / 3600);
  out->wMinute = static_cast<WORD>(seconds / 60 % 60);
  out->wSecond = static_cast<WORD>(seconds % 60);
  out->wMilliseconds = 0;
  return TRUE;
}

INT SystemTimeToVariantTime(const SYSTEMTIME* in, DATE* out) {
  if (!in || !out || in->wYear < 100 || in->wYear > 9999 || in->wMonth < 1 || in->wMonth > 12 || in->wDay < 1 ||
      in->wDay > 31)
    return FALSE;
  long long day = daysFromCivil(in->wYear, in->wMonth, in->wDay);
  double fraction = (in->wHour * 3600.0 + in->wMinute * 60.0 + in->wSecond + in->wMilliseconds / 1000.0) / 86400.0;
  *out = day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
  return TRUE;
}

HRESULT CoInitialize(LPVOID) { return S_OK; }
HRESULT CoInitializeEx(LPVOID, DWORD) { return S_OK; }
void CoUninitialize() {}
