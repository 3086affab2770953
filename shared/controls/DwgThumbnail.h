#pragma once
// CDwgThumbnail: the wrapper of the drawing-preview control the table editors
// show flag blocks in (the host's ActiveX control, arx/activex.h). Its one
// property the editors use is the drawing's path, property 3.

#include "arx/activex.h"
#include "mfc/wnd.h"

class CDwgThumbnail : public CWnd {
 public:
  // The drawing shown (property 3).
  void SetSrc(LPCTSTR path);
  CString GetSrc() const;
};
