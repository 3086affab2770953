#pragma once
// CPelloryDlg: the ground-line input dialog (template 6), a modeless child of
// the palette that HDMDMX opens. The window of a GroundLineInput: it shows
// the model's texts, lists and point grids, copies what the user typed back
// into the model before each operation (the grids' rows included, so that a
// save, a write, a pick or a drawing sees them) and shows the model again
// after it (the grids filled from their point tables after a query, a pick or
// a reset).
//
// The two point grids are the ground-line build of CGridCtrl: column 0 the
// distance, column 1 the height difference, column 2 the elevation. The
// elevation type decides which of the two value columns is typed into (高差:
// column 1, 高程: column 2); the other is computed from the centre elevation
// and shaded read-only. The headers name what each column holds.
//
// PageUp saves the record; PageDown walks the focus: chainage edit,
// elevation edit, left grid (row 1, column 0), right grid, back to the
// chainage edit. The controls keep their places when the dialog is resized;
// the two side groups and their grids share the width and fill the height.

#include <map>

#include "GroundLineInput.h"
#include "grid/GridCtrl.h"
#include "mfc/afxwin.h"

class CPelloryDlg : public CDialog {
 public:
  explicit CPelloryDlg(CWnd* parent = nullptr);
  ~CPelloryDlg() override;

  BOOL Create(UINT templateId, CWnd* parent) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // Enter never closes the dialog.
  void OnOK() override {}
  void OnCancel() override;

  GroundLineInput& Input() { return m_input; }
  CGridCtrl& LeftGrid() { return m_leftGrid; }
  CGridCtrl& RightGrid() { return m_rightGrid; }
  int FocusStep() const { return m_nFocusStep; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  afx_msg void OnSaveRecord();
  afx_msg void OnDeleteRecord();
  afx_msg void OnQuery();
  afx_msg void OnStationSpin(NMHDR* nm, LRESULT* result);
  afx_msg void OnWriteDatabase();
  afx_msg void OnChooseDatabase();
  afx_msg void OnImportText();
  afx_msg void OnPick();
  afx_msg void OnDraw();
  afx_msg void OnBaseLine();
  afx_msg void OnLeftDetour();
  afx_msg void OnRightDetour();
  afx_msg void OnLineNameDropDown();
  afx_msg void OnLineNameSelChange();
  afx_msg void OnLineNameCloseUp();
  afx_msg void OnChainageFocus();
  afx_msg void OnElevationFocus();
  afx_msg void OnElevationChange();
  afx_msg void OnScaleChange();
  afx_msg void OnHeightDifferenceMode();
  afx_msg void OnElevationMode();
  afx_msg void OnSize(UINT type, int cx, int cy);

 private:
  // Copies the window's values into the model (texts, radios, list choices,
  // the rows of both grids).
  void Pull();
  // Shows the model's values (lists, texts, radios, both grids).
  void Push();
  // Runs one operation of the model between a Pull and a Push.
  template <typename Op>
  void Run(Op op);
  // Switches the line kind by `op`, offering to save the line being left.
  void SwitchLine(void (GroundLineInput::*op)());
  // Switches the elevation type (0 高差, 1 高程).
  void SetElevationType(int type);
  void ShowGrid(CGridCtrl& grid, const PointGrid& points);
  void ReadGrid(CGridCtrl& grid, PointGrid& points) const;
  void FillList(int id, const CStringArray& items, int selection);
  void FocusChainage();
  void FocusGrid(CGridCtrl& grid);
  void Layout(int cx, int cy);

  GroundLineInput m_input;
  CGridCtrl m_rightGrid;
  CGridCtrl m_leftGrid;
  int m_nFocusStep = 1;
  bool m_pushing = false;  // the window is being filled: its change notes are not input
  bool m_ready = false;    // set up: sizes are laid out from here on
  CRect m_initialClient;   // the client area of the template
  std::map<int, CRect> m_templateRects;  // where the growing controls lie in the template
  DECLARE_MESSAGE_MAP()
};
