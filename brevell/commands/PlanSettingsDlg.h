#pragma once
// CPlanSettingsDlg: the modal dialog 2001 "线路平面初始化" that DEZERORUR
// runs. The user picks the scheme database, the chainage range and the plot
// settings; OK builds a new plan model from the database's curve and break
// tables (and those of the left and right lines when the project has them),
// creates the plan layers, draws the plan when 创建新图 is chosen, opens or
// closes the dock bar of the project tree, and writes the scale file
// <workdir>\DATA\SCALE.<scheme>. The settings can be saved to and loaded from
// a .pmcs file (PlanDialogSettings.h).
//
// Changing the database path (edit 217) sets the module's connection text at
// once, reads the range from the break table and resets the plot defaults;
// the dialog does the same when it opens with a database path, as its own fill
// of edit 217 sends no change notification.

#include <vector>

#include "AlignmentModel.h"
#include "PlanDialogSettings.h"
#include "XLDataBase.h"
#include "mfc/afxwin.h"

class CPlanSettingsDlg : public CDialog {
 public:
  // `startChainage` and `endChainage` seed the range texts (the break table
  // replaces them when the dialog opens with a database).
  CPlanSettingsDlg(const CString& startChainage = "", const CString& endChainage = "", CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;

  afx_msg void OnChangeDatabasePath();
  afx_msg void OnBrowseDatabase();
  afx_msg void OnScaleSelChange();
  afx_msg void OnScaleEditChange();
  afx_msg void OnAllCulverts();
  afx_msg void OnCrossingCulverts();
  afx_msg void LoadSettingsFile();
  afx_msg void SaveSettingsFile();
  afx_msg void OnHelp();

  // Reads 断链表 through the dialog's open connection: the range texts from
  // its first and last rows (BreakRowChainageText).
  void ReadChainageBreaks();

  PlanDialogSettings m_settings;
  CString m_workdir;  // the project folder named by the install folder's workdir
  CString m_scheme;   // the scheme named by the project's file `project`

 private:
  // The line mode of the technical parameters decides the side-line prefix
  // edits (and, with `setPrefixes`, their texts) and the label-position combo.
  void ApplyLineMode(bool setPrefixes);
  void ResetPlotDefaults();
  void FillComboLists();
  // The chainage style the scale suggests, shown in its combo box.
  void ShowStyleForScale(const CString& scaleText);
  CString DefaultFile(const char* extension) const;
  // False, with a message, for a plot scale, text height, centre-line width
  // or range text the plan cannot be drawn with.
  bool SettingsCanBeDrawn() const;
  // False, with a message, when the range runs backwards or lies wholly off
  // the base line of `model` (its intersection points and breaks loaded).
  bool RangeLiesOnLine(const AlignmentModel& model) const;

  struct BreakRow {
    CString prefixBefore, prefixAfter, valueBefore, length;
  };
  std::vector<BreakRow> m_breakRows;
  XLDataBase m_loader;

  DECLARE_MESSAGE_MAP()
};
