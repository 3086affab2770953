#pragma once
// CResizableDialog: a dialog base whose controls follow the dialog's size by
// anchors. An anchor is a point of the dialog given in percent of its width
// and height (TOP_LEFT is 0, 0; BOTTOM_RIGHT 100, 100): a control's top-left
// corner keeps its distance to one anchor and its bottom-right corner to
// another, so a control anchored TOP_LEFT / BOTTOM_RIGHT stretches with the
// dialog and one anchored BOTTOM_RIGHT alone moves with the lower-right
// corner. The placing is the resizing layout's (controls/SizingLayout.h).
//
// OnInitDialog sets the layout up and runs first in the derived dialog's
// OnInitDialog; the dialog then cannot be made smaller than it opened. A
// dialog that is not a child window gets a size grip in the lower-right
// corner. Minimising moves nothing.

#include "controls/SizingLayout.h"
#include "mfc/dialog.h"

inline const CSize TOP_LEFT(0, 0);
inline const CSize TOP_CENTER(50, 0);
inline const CSize TOP_RIGHT(100, 0);
inline const CSize MIDDLE_LEFT(0, 50);
inline const CSize MIDDLE_CENTER(50, 50);
inline const CSize MIDDLE_RIGHT(100, 50);
inline const CSize BOTTOM_LEFT(0, 100);
inline const CSize BOTTOM_CENTER(50, 100);
inline const CSize BOTTOM_RIGHT(100, 100);
// The bottom-right anchor of AddAnchor when the control keeps its size.
inline const CSize NOANCHOR(-1, -1);

class CResizableDialog : public CDialog {
 public:
  explicit CResizableDialog(UINT templateId, CWnd* parent = nullptr);
  ~CResizableDialog() override;

  BOOL OnInitDialog() override;

  // Anchors the control `id` (or the window `wnd`) by its top-left and
  // bottom-right corners; NOANCHOR for the second keeps the control's size.
  // FALSE for a control that is not there or an anchor outside 0..100.
  BOOL AddAnchor(UINT id, CSize topLeft, CSize bottomRight = NOANCHOR);
  BOOL AddAnchor(CWnd* wnd, CSize topLeft, CSize bottomRight = NOANCHOR);
  // Tracking limits of the window (the maximum 0 x 0: none).
  void SetMinTrackSize(CSize size) { m_layout.SetMinSize(size); }
  void SetMaxTrackSize(CSize size) { m_layout.SetMaxSize(size); }
  CSize GetMinTrackSize() const { return m_layout.GetMinSize(); }
  SizingLayout& GetLayout() { return m_layout; }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnDestroy();

  SizingLayout m_layout;

  DECLARE_MESSAGE_MAP()
};
