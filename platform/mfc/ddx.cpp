#include "mfc/ddx.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "crt/gbk.h"
#include "mfc/app.h"
#include "win/resources.h"
#include "win/transcript.h"

namespace {

// The class library's prompts, in the platform's string table.
struct Prompts {
  Prompts() {
    const platform::StringResource strings[] = {
        {AFX_IDP_PARSE_INT, "Please enter an integer."},
        {AFX_IDP_PARSE_REAL, "Please enter a number."},
        {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
        {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
        {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
        {AFX_IDP_PARSE_RADIO_BUTTON, "Please select a button."},
        {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
        {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
    };
    platform::registerResources({.strings = strings});
  }
};
const Prompts g_prompts;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

CString windowText(HWND hwnd) {
  int n = ::GetWindowTextLength(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = ::GetWindowText(hwnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return CString(std::move(s));
}

bool parseWhole(std::string_view text, long long minVal, long long maxVal, long long& value) {
  std::string_view s = trimmed(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && value >= minVal && value <= maxVal;
}

bool parseReal(std::string_view text, double& value) {
  std::string_view s = trimmed(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

void prompt(UINT id) { AfxMessageBox(id, MB_ICONEXCLAMATION); }

template <typename T>
void exchangeWhole(CDataExchange* pDX, int id, T& value, long long minVal, long long maxVal, UINT failId,
                   const char* format) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareEditCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!parseWhole(windowText(h).view(), minVal, maxVal, v)) {
      prompt(failId);
      pDX->Fail();
      return;
    }
    value = static_cast<T>(v);
  } else {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    AfxSetWindowText(h, buf);
  }
}

template <typename T>
void exchangeReal(CDataExchange* pDX, int id, T& value, int digits) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareEditCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate) {
    double v = 0;
    if (!parseReal(windowText(h).view(), v) ||
        (sizeof(T) == sizeof(float) && std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))) {
      prompt(AFX_IDP_PARSE_REAL);
      pDX->Fail();
      return;
    }
    value = static_cast<T>(v);
  } else {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(value));
    AfxSetWindowText(h, buf);
  }
}

void failRange(CDataExchange* pDX, UINT id, const char* low, const char* high) {
  if (!pDX->m_bSaveAndValidate) return;  // filling with a value out of range is not checked
  CString text;
  AfxFormatString2(text, id, low, high);
  AfxMessageBox(text, MB_ICONEXCLAMATION);
  pDX->Fail();
}

template <typename T>
void checkWhole(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format) {
  if (pDX->m_bFailed || (value >= minVal && value <= maxVal)) return;
  char low[32], high[32];
  std::snprintf(low, sizeof low, format, minVal);
  std::snprintf(high, sizeof high, format, maxVal);
  failRange(pDX, AFX_IDP_PARSE_INT_RANGE, low, high);
}

void checkReal(CDataExchange* pDX, double value, double minVal, double maxVal, int digits) {
  if (pDX->m_bFailed || (value >= minVal && value <= maxVal)) return;
  char low[64], high[64];
  std::snprintf(low, sizeof low, "%.*g", digits, minVal);
  std::snprintf(high, sizeof high, "%.*g", digits, maxVal);
  failRange(pDX, AFX_IDP_PARSE_REAL_RANGE, low, high);
}

bool isRadio(HWND h) { return (::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0; }

}  // namespace

CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}

HWND CDataExchange::PrepareCtrl(int id) {
  HWND h = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
  if (!h) {
    platform::transcriptLine("[window system] dialog data exchange: no control " + std::to_string(id));
    Fail();
    return nullptr;
  }
  m_idLastControl = h;
  m_bEditLastControl = FALSE;
  return h;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND h = PrepareCtrl(id);
  if (h) m_bEditLastControl = TRUE;
  return h;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl && ::IsWindow(m_idLastControl)) {
    // Back to the field that failed.
    if (m_bEditLastControl) ::SendMessage(m_idLastControl, EM_SETSEL, 0, -1);
    ::SetFocus(m_idLastControl);
  }
  m_bFailed = TRUE;
}

void AfxSetWindowText(HWND hwnd, LPCTSTR text) {
  if (!hwnd) return;
  if (windowText(hwnd) != (text ? text : "")) ::SetWindowText(hwnd, text);
}

void AfxFormatString1(CString& out, UINT id, LPCTSTR s1) { AfxFormatString2(out, id, s1, ""); }

void AfxFormatString2(CString& out, UINT id, LPCTSTR s1, LPCTSTR s2) {
  CString pattern;
  pattern.LoadString(id);
  std::string result;
  std::string_view p = pattern.view();
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '%' && i + 1 < p.size() && (p[i + 1] == '1' || p[i + 1] == '2')) {
      const char* s = p[i + 1] == '1' ? s1 : s2;
      result += s ? s : "";
      ++i;
    } else {
      result += p[i];
    }
  }
  out = CString(std::move(result));
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareEditCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate)
    value = windowText(h);
  else
    AfxSetWindowText(h, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  exchangeWhole(pDX, id, value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), AFX_IDP_PARSE_INT,
                "%d");
}
void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
  exchangeWhole(pDX, id, value, 0, std::numeric_limits<UINT>::max(), AFX_IDP_PARSE_UINT, "%u");
}
void DDX_Text(CDataExchange* pDX, int id, long& value) {
  exchangeWhole(pDX, id, value, std::numeric_limits<long>::min(), std::numeric_limits<long>::max(), AFX_IDP_PARSE_INT,
                "%ld");
}
void DDX_Text(CDataExchange* pDX, int id, short& value) {
  exchangeWhole(pDX, id, value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max(), AFX_IDP_PARSE_INT,
                "%hd");
}
void DDX_Text(CDataExchange* pDX, int id, BYTE& value) {
  exchangeWhole(pDX, id, value, 0, 255, AFX_IDP_PARSE_BYTE, "%u");
}
void DDX_Text(CDataExchange* pDX, int id, float& value) { exchangeReal(pDX, id, value, 6); }
void DDX_Text(CDataExchange* pDX, int id, double& value) { exchangeReal(pDX, id, value, 15); }

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessage(h, BM_GETCHECK, 0, 0));
  else
    ::SendMessage(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate) value = -1;
  int index = 0;
  do {
    if (isRadio(h)) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessage(h, BM_GETCHECK, 0, 0) != BST_UNCHECKED) value = index;
      } else {
        ::SendMessage(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    h = ::GetWindow(h, GW_HWNDNEXT);
  } while (h && !(::GetWindowLongPtr(h, GWL_STYLE) & WS_GROUP));
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate) {
    value = windowText(h);
  } else if (::SendMessage(h, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) ==
             CB_ERR) {
    AfxSetWindowText(h, value);
  }
}

void DDX_CBStringExact(CDataExchange* pDX, int id, CString& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate) {
    value = windowText(h);
    return;
  }
  LRESULT index =
      ::SendMessage(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
  if (index == CB_ERR)
    AfxSetWindowText(h, value);
  else
    ::SendMessage(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(id);
  if (!h) return;
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(h, CB_GETCURSEL, 0, 0));
  else
    ::SendMessage(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->m_bFailed || control.m_hWnd) return;
  HWND h = pDX->m_pDlgWnd ? ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id) : nullptr;
  if (h && !control.SubclassWindow(h)) {
    platform::transcriptLine("[window system] dialog data exchange: control " + std::to_string(id) +
                             " cannot be taken over");
    pDX->Fail();
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  checkWhole(pDX, value, minVal, maxVal, "%d");
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  checkWhole(pDX, value, minVal, maxVal, "%u");
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  checkWhole(pDX, value, minVal, maxVal, "%ld");
}
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal) {
  checkWhole(pDX, value, minVal, maxVal, "%u");
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal) {
  checkWhole(pDX, static_cast<int>(value), static_cast<int>(minVal), static_cast<int>(maxVal), "%d");
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  checkWhole(pDX, static_cast<unsigned>(value), static_cast<unsigned>(minVal), static_cast<unsigned>(maxVal), "%u");
}
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal) {
  checkReal(pDX, value, minVal, maxVal, 6);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
  checkReal(pDX, value, minVal, maxVal, 15);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int count) {
  if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || GbkLength(value.view()) <= count) return;
  CString text;
  AfxFormatString1(text, AFX_IDP_PARSE_STRING_SIZE, std::to_string(count).c_str());
  AfxMessageBox(text, MB_ICONEXCLAMATION);
  pDX->Fail();
}
