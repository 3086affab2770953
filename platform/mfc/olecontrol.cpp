#include "mfc/olecontrol.h"

#include <cstdarg>
#include <cstdio>

#include "mfc/wnd.h"

namespace platform {
std::string classIdText(const GUID& id) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", id.Data1, id.Data2, id.Data3,
                id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return text;
}
}  // namespace platform

BOOL CWnd::CreateControl(const GUID& clsid, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                         UINT id) {
  std::string cls = platform::classIdText(clsid);
  WNDCLASS wc{};
  if (!::GetClassInfo(nullptr, cls.c_str(), &wc)) return FALSE;
  return CreateEx(0, cls.c_str(), windowName, style | WS_CHILD, rect, parent, id);
}

void CWnd::SetProperty(LONG dispid, unsigned int type, ...) {
  VARIANT v;
  VariantInit(&v);
  va_list ap;
  va_start(ap, type);
  switch (type) {
    case VT_BSTR: {
      const char* text = va_arg(ap, const char*);
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocString(text ? text : "");
      break;
    }
    case VT_I2:
      v.vt = VT_I2;
      v.iVal = static_cast<SHORT>(va_arg(ap, int));
      break;
    case VT_I4:
      v.vt = VT_I4;
      v.lVal = va_arg(ap, LONG);
      break;
    case VT_BOOL:
      v.vt = VT_BOOL;
      v.boolVal = va_arg(ap, int) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_R4:
      v.vt = VT_R4;
      v.fltVal = static_cast<FLOAT>(va_arg(ap, double));
      break;
    case VT_R8:
      v.vt = VT_R8;
      v.dblVal = va_arg(ap, double);
      break;
    default: break;
  }
  va_end(ap);
  if (v.vt != VT_EMPTY) SendMessage(AXM_SETPROPERTY, static_cast<WPARAM>(dispid), reinterpret_cast<LPARAM>(&v));
  VariantClear(&v);
}

void CWnd::GetProperty(LONG dispid, unsigned short type, void* value) const {
  if (!value) return;
  VARIANT got, as;
  VariantInit(&got);
  VariantInit(&as);
  SendMessage(AXM_GETPROPERTY, static_cast<WPARAM>(dispid), reinterpret_cast<LPARAM>(&got));
  bool ok = got.vt != VT_EMPTY && VariantChangeType(&as, &got, 0, type) == S_OK;
  switch (type) {
    case VT_BSTR: *static_cast<CString*>(value) = ok && as.bstrVal ? as.bstrVal : ""; break;
    case VT_I2: *static_cast<SHORT*>(value) = ok ? as.iVal : 0; break;
    case VT_I4: *static_cast<LONG*>(value) = ok ? as.lVal : 0; break;
    case VT_BOOL: *static_cast<BOOL*>(value) = ok && as.boolVal ? TRUE : FALSE; break;
    case VT_R4: *static_cast<FLOAT*>(value) = ok ? as.fltVal : 0.0f; break;
    case VT_R8: *static_cast<DOUBLE*>(value) = ok ? as.dblVal : 0.0; break;
    default: break;
  }
  VariantClear(&as);
  VariantClear(&got);
}
