#pragma once
// The palette of HDMDMX: a palette set "Selvic - 地面线录入对话框" docked on
// the left of the host frame (style WS_OVERLAPPED | WS_DLGFRAME, first
// rectangle (0, 0, 500, 550), palette-set style 30, size between (100, 100)
// and (400, 400) while it floats; docked it is as tall as the dock and as wide
// as the dialog), holding the palette "地面线对话框" (WS_CHILD | WS_VISIBLE,
// palette style 1, controls on white), which holds the ground-line input
// dialog (template 6, modeless, 500 x 800 at (0, 0) when made, then filling
// the palette but never narrower than 500). Every run of HDMDMX
// makes a new set; the host owns them, and they all close when the module
// unloads, while its code is still there.

#include <vector>

#include "arx/palettes.h"
#include "mfc/afxgdi.h"

class CPelloryDlg;

class CMyPalette : public CAdUiPalette {
 public:
  CMyPalette();
  ~CMyPalette() override;
  // The input dialog as the palette's child, 500 x 800 at (0, 0), shown.
  void CreateInputDialog();
  CPelloryDlg* InputDialog() const { return m_dlg; }
  // True exactly while the set floats.
  BOOL CanFrameworkTakeFocus() override;
  BOOL Load(IUnknown* state) override;

 protected:
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  afx_msg void OnSize(UINT type, int cx, int cy);

 private:
  CBrush m_background;
  CPelloryDlg* m_dlg = nullptr;
  DECLARE_MESSAGE_MAP()
};

class CMyPaletteSet : public CAdUiPaletteSet {
 public:
  CMyPaletteSet();
  ~CMyPaletteSet() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void GetMinimumSize(CSize& size) override;
  void GetMaximumSize(CSize& size) override;
};

// What HDMDMX does: one new palette set with its palette and input dialog.
void CreateGroundLinePalette();
// The palette sets made since the module loaded that are still open, oldest first.
std::vector<CMyPaletteSet*> GroundLinePaletteSets();
// The input dialog of a set (null when it has none).
CPelloryDlg* InputDialogOf(CMyPaletteSet* set);
// Closes every palette set the module made (at unload).
void CloseGroundLinePalettes();
