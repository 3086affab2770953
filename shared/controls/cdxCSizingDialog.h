#pragma once
// cdxCSizingDialog: a dialog the user can resize. Its controls are placed by
// the resizing layout (SizingLayout.h) it derives from; a size grip sits in
// the lower-right corner when asked for.

#include "controls/SizingLayout.h"
#include "mfc/dialog.h"

class cdxCSizingDialog : public CDialog, public SizingLayout {
 public:
  // `mode`: bit 0 allows horizontal, bit 1 vertical resizing; `createGrip`:
  // a size grip in the lower-right corner.
  explicit cdxCSizingDialog(UINT templateId, CWnd* parent = nullptr, int mode = 3, BOOL createGrip = TRUE);
  ~cdxCSizingDialog() override;

  // The dialog's base initialisation, then the layout for this window with
  // `mode` and `createGrip`; a non-zero `growPercent` enlarges the window by
  // that much. Answers the base initialisation's result.
  BOOL InitSizing(int growPercent, int mode, BOOL createGrip);
  // Widens and heightens the window by `percent` of its size, half on each side.
  void GrowWindow(int percent);
  // The rectangle GrowWindow gives `window` (the same when the result is empty).
  static CRect GrownRect(const CRect& window, int percent);

  BOOL OnInitDialog() override;

  int m_nSizingMode;
  int m_bCreateGrip;

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()
};
