#pragma once
// CExtractGroundLineDlg: the dialog of CALHDMDMX (template 206
// "提取横断面地面线"): the chainage range and the output file of the ground
// lines interpolated from the terrain model.

#include "mfc/afxwin.h"

class CExtractGroundLineDlg : public CDialog {
 public:
  CExtractGroundLineDlg(CWnd* parent, const CString& startChainage, const CString& endChainage);

  CString m_endChainage;    // 224
  CString m_startChainage;  // 225
  CString m_outputPath;     // 223

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnBrowse();
  DECLARE_MESSAGE_MAP()
};
