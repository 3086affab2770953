// The ground-line extraction dialog (CALHDMDMX).

#include "ExtractGroundLineDlg.h"

#include "DialogSupport.h"
#include "mfc/ddx.h"
#include "project/ProjectLocation.h"
#include "resources/CorvaneResources.h"

using namespace corvane_rc;

CExtractGroundLineDlg::CExtractGroundLineDlg(CWnd* parent, const CString& startChainage,
                                             const CString& endChainage)
    : CDialog(kExtractGroundDlg, parent), m_endChainage(endChainage), m_startChainage(startChainage) {}

void CExtractGroundLineDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, kEgEnd, m_endChainage);
  DDX_Text(pDX, kEgStart, m_startChainage);
  DDX_Text(pDX, kEgOutput, m_outputPath);
}

BOOL CExtractGroundLineDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!ReadProjectAndScheme()) return FALSE;
  m_outputPath = g_ProjectFolder + "\\data\\" + g_SchemeName + ".dmx";
  UpdateData(FALSE);
  return TRUE;
}

void CExtractGroundLineDlg::OnBrowse() {
  CString path;
  if (!BrowseSchemeFile(this, "dmx", "方案数据库(*.dmx)|*.dmx||", path)) return;
  UpdateData(TRUE);
  m_outputPath = path;
  UpdateData(FALSE);
}

BEGIN_MESSAGE_MAP(CExtractGroundLineDlg, CDialog)
  ON_BN_CLICKED(kEgBrowse, &CExtractGroundLineDlg::OnBrowse)
END_MESSAGE_MAP()
