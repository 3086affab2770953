#pragma once
// The option dialogs of CALTWB (205 "计算填挖表"), CALTSF (2484
// "土石方数量计算表参数") and of the drawing run of DRAWHDM and PRINTHDM
// (2463 "绘线路"). Each starts from the choices the command bodies take
// (FillCutCommandOptions, EarthworkChoice, SectionDrawingChoice), proposes
// the baseline's chainage range from the scheme's "断链表", and hands the
// choices back after OK.

#include "EarthworkRows.h"
#include "GroundLines.h"
#include "SectionDrawingChoice.h"
#include "mfc/afxwin.h"

class CFillCutOptionsDlg : public CDialog {
 public:
  explicit CFillCutOptionsDlg(CWnd* parent = nullptr);
  FillCutCommandOptions m_options;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
};

class CEarthworkDlg : public CDialog {
 public:
  explicit CEarthworkDlg(CWnd* parent = nullptr);
  EarthworkChoice m_choice;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnScope();
  DECLARE_MESSAGE_MAP()

 private:
  int m_range = 0;  // radio 2485 (0 whole line) / 2486 (1 range)
  int m_baseline = 1, m_left = 1, m_right = 1;
  void EnableRange();
};

class CDrawLinesDlg : public CDialog {
 public:
  explicit CDrawLinesDlg(CWnd* parent = nullptr);
  SectionDrawingChoice m_choice;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnAll();
  afx_msg void OnPick();
  DECLARE_MESSAGE_MAP()

 private:
  int m_all = 1, m_baseline = 1, m_left = 0, m_right = 0;
  int m_leftNumber = 1, m_rightNumber = 1;  // detours numbered from 1 in the dialog
  void EnableLines();
};
