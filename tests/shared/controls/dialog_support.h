#pragma once
// Helpers of the resizable dialogs' tests: where a dialog's control lies in
// the dialog's client area, and a window's rectangle on the screen.

#include "mfc/wnd.h"

namespace dialogtest {

inline CRect childRect(CWnd& dlg, int id) {
  CRect r;
  dlg.GetDlgItem(id)->GetWindowRect(&r);
  dlg.ScreenToClient(&r);
  return r;
}

inline CRect windowRect(CWnd& w) {
  CRect r;
  w.GetWindowRect(&r);
  return r;
}

// `r` with each side moved by the amount given.
inline CRect moved(const CRect& r, int left, int top, int right, int bottom) {
  return CRect(r.left + left, r.top + top, r.right + right, r.bottom + bottom);
}

}  // namespace dialogtest
