// The drawing-preview wrapper (DwgThumbnail.h).
#include "controls/DwgThumbnail.h"

void CDwgThumbnail::SetSrc(LPCTSTR path) {
  if (GetSafeHwnd()) SetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, path);
}

CString CDwgThumbnail::GetSrc() const {
  CString path;
  if (GetSafeHwnd()) GetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, &path);
  return path;
}
