#pragma once
// Dialog data exchange and validation: DoDataExchange binds members to the
// controls of a dialog; UpdateData(FALSE) fills the controls from the
// members, UpdateData(TRUE) reads them back and validates.
//
// Reading a number that does not parse (blanks around it allowed, nothing
// else), or a value outside a DDV_ range, shows the class library's message
// box, gives the focus back to that control (selecting an edit's text) and
// fails the exchange: the DDX and DDV calls after it do nothing and
// UpdateData answers FALSE. Filling a control sets a text only when it
// differs. Numbers are written as the class library writes them: integers
// "%d", doubles "%.15g", floats "%.6g", with a decimal point whatever the
// locale.

#include "mfc/cstring.h"
#include "mfc/wnd.h"

// The class library's prompts (its string table; a module may register its
// own texts under these ids).
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_RADIO_BUTTON 0xF115
#define AFX_IDP_PARSE_BYTE 0xF116
#define AFX_IDP_PARSE_UINT 0xF117

class PLATFORM_API CDataExchange {
 public:
  CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_idLastControl = nullptr;  // the control of the last DDX call
  BOOL m_bEditLastControl = FALSE;
  BOOL m_bFailed = FALSE;  // a check failed: the rest of the exchange does nothing

  // The control `id` of the dialog (a missing one fails the exchange).
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Fails the exchange; when reading, the focus goes back to the last control.
  void Fail();
};

PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, CString& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, int& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, UINT& value);  // also DWORD
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, long& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, short& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, BYTE& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, float& value);
PLATFORM_API void DDX_Text(CDataExchange* pDX, int id, double& value);
// A check box: 0, 1 (or 2, indeterminate).
PLATFORM_API void DDX_Check(CDataExchange* pDX, int id, int& value);
// A group of radio buttons starting at `id` (WS_GROUP): the index of the
// checked one, -1 for none.
PLATFORM_API void DDX_Radio(CDataExchange* pDX, int id, int& value);
// A combo box's text (filling selects the first item that begins with the
// value, else sets the text); Exact: an item equal to it.
PLATFORM_API void DDX_CBString(CDataExchange* pDX, int id, CString& value);
PLATFORM_API void DDX_CBStringExact(CDataExchange* pDX, int id, CString& value);
PLATFORM_API void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// Subclasses the control `id` with `control` (once).
PLATFORM_API void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Validation while reading (filling only warns nothing).
PLATFORM_API void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
PLATFORM_API void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
PLATFORM_API void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
PLATFORM_API void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
PLATFORM_API void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
PLATFORM_API void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
PLATFORM_API void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
PLATFORM_API void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
// At most `count` characters, counted as the system's text is (a Chinese
// character counts two).
PLATFORM_API void DDV_MaxChars(CDataExchange* pDX, const CString& value, int count);

// Sets a window's text only when it differs.
PLATFORM_API void AfxSetWindowText(HWND hwnd, LPCTSTR text);
// A text with %1 (and %2) replaced.
PLATFORM_API void AfxFormatString1(CString& out, UINT id, LPCTSTR s1);
PLATFORM_API void AfxFormatString2(CString& out, UINT id, LPCTSTR s1, LPCTSTR s2);
