#pragma once
// The navigator's station grid: the grid of every table editor of the
// navigator (the shared editor grid, CTableGridCtrl, in the navigator's
// build). Its coded lists include 用途 and take typed text, selecting the
// first item that begins with the cell's text; each edit that ends walks on
// (the "冠号" prefix carried into an empty prefix cell, a row appended after
// the last cell of the last row); a station table's grid shows the flag block
// of its 插旗图块名 cell in the preview of the current station editor
// (`<install>\dwg\<name>.dwg`): a click into the grid makes its editor the
// current station editor, and so does a choice in the open list.

#include "controls/TableGridCtrl.h"

class CStationGridCtrl : public CTableGridCtrl {
 public:
  CStationGridCtrl();
  ~CStationGridCtrl() override;

  CWnd* FlagBlockPreview() override;
  CString FlagBlockFolder() override;
  void OnAfterKey(bool focusMoved) override;
  void OnListSelectionChanged() override;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

 private:
  // In a station table: this table's editor becomes the current station editor.
  bool MakeStationEditorCurrent();

  DECLARE_MESSAGE_MAP()
};
