#pragma once
// CAutoDesignDlg: the dialog of HDMDES (template 2005 "横断面自动设计"): the
// scheme database, how a scheme planned with a reserved second line is
// designed, whether and where the sections are drawn, and whether the 3D
// line data are written. Options() hands the choices to the design run.

#include "DesignRunOptions.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/afxwin.h"

class CAutoDesignDlg : public CDialog, public BAS_DRAW_FUN {
 public:
  explicit CAutoDesignDlg(CWnd* parent = nullptr);

  CString m_schemePath;     // 219
  int m_draw = 0;           // 210
  int m_scale = 200;        // 216: 1 : m_scale
  double m_originY = 0.0;   // 215
  double m_originX = 0.0;   // 214
  int m_threeD = 0;         // 2181
  CButton* m_single = nullptr;  // 275
  CButton* m_double = nullptr;  // 276
  int m_reserved = 0;       // 1: planned with a reserved second line
  int m_designMode = 0;     // 0 none chosen, 1 as single line, 2 as double line
  CString m_lineKind;       // "单线", "双线" or "预留二线"

  // The choices as the design run takes them.
  AutoDesignOptions Options() const;
  // The line kind the design stores: with a reserved second line, design
  // mode 1 gives "单线" and mode 2 "双线"; otherwise the line kind as read.
  CString ChosenLineKind() const;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnDraw();
  afx_msg void OnThreeD();
  afx_msg void OnSingle();
  afx_msg void OnDouble();
  afx_msg void OnPick();
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()

 private:
  void EnableOriginAndScale(BOOL enable);
};
