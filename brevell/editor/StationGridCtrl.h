#pragma once
// CStationGridCtrl: the grid of the plan module's table editor. On the
// shared table grid (coded lists, the Enter walk with its "冠号" carry and
// the appended row, the flag-block preview of station rows) it adds what the
// plan does with a click: the flag-block check of the focus cell and, while
// the track flag of the plan state is set, the track display: the drawing
// zoomed (PZOOM, sent to the command line) to the window of the clicked row
// (TrackWindow.h).
//
// The flag blocks are "<plug-in folder>\dwg\<name>.dwg"; the preview they
// show in is the one of the editor registered for the table (车站,
// 左线绕行段车站 or 右线绕行段车站). The plan model is read at each click, so
// a model made again by the settings dialog is the one followed.

#include "controls/TableGridCtrl.h"
#include "geometry/BAS_DRAW_FUN.h"

class CStationGridCtrl : public CTableGridCtrl, public BAS_DRAW_FUN {
 public:
  CStationGridCtrl();
  ~CStationGridCtrl() override;

  // Zooms the drawing to the focus row's window (nothing when the row gives
  // none): the corners go to the plan state, the grid is disabled while the
  // command line takes the focus and "PZOOM\n" is sent, then enabled again.
  // Returns whether PZOOM was sent.
  bool TrackTableRowInDrawing();

  CWnd* FlagBlockPreview() override;
  CString FlagBlockFolder() override;

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint point);

  DECLARE_MESSAGE_MAP()
};
