// The automatic design dialog (HDMDES).

#include "AutoDesignDlg.h"

#include "DialogSupport.h"
#include "mfc/ddx.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"
#include "resources/CorvaneResources.h"

using namespace corvane_rc;

CAutoDesignDlg::CAutoDesignDlg(CWnd* parent) : CDialog(kAutoDesignDlg, parent) {}

void CAutoDesignDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, kAdSchemePath, m_schemePath);
  DDX_Check(pDX, kAdDraw, m_draw);
  DDX_Text(pDX, kAdScale, m_scale);
  // The scale and the origin place the drawing: checked when it is drawn, as
  // the drawing run checks its own (a scale of 0 or less would leave the
  // last one in use; an origin beyond a billion metres collapses every point).
  if (m_draw) DDV_MinMaxInt(pDX, m_scale, 1, kMaxScaleDenominator);
  DDX_Text(pDX, kAdOriginY, m_originY);
  if (m_draw) DDV_MinMaxDouble(pDX, m_originY, -kMaxOrigin, kMaxOrigin);
  DDX_Text(pDX, kAdOriginX, m_originX);
  if (m_draw) DDV_MinMaxDouble(pDX, m_originX, -kMaxOrigin, kMaxOrigin);
  DDX_Check(pDX, kAd3D, m_threeD);
}

BOOL CAutoDesignDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_single = static_cast<CButton*>(GetDlgItem(kAdSingle));
  m_double = static_cast<CButton*>(GetDlgItem(kAdDouble));
  if (!ReadProjectAndScheme()) return FALSE;
  m_schemePath = SchemeDatabasePath();
  ReadTechParams();
  const int kind = TechLineKind();
  m_lineKind = kind == 1 ? "单线" : kind == 2 ? "双线" : "预留二线";
  const BOOL reserved = m_lineKind == "预留二线";
  GetDlgItem(kAdReservedGroup)->EnableWindow(reserved);
  m_single->EnableWindow(reserved);
  m_double->EnableWindow(reserved);
  if (reserved) {
    m_double->SetCheck(BST_CHECKED);
    m_single->SetCheck(BST_UNCHECKED);
    m_reserved = 1;
    m_designMode = 2;
  }
  EnableOriginAndScale(FALSE);
  UpdateData(FALSE);
  return TRUE;
}

void CAutoDesignDlg::EnableOriginAndScale(BOOL enable) {
  for (int id : {kAdOriginX, kAdOriginY, kAdScale}) GetDlgItem(id)->EnableWindow(enable);
}

void CAutoDesignDlg::OnDraw() {
  m_draw = !m_draw;
  EnableOriginAndScale(m_draw ? TRUE : FALSE);
}

void CAutoDesignDlg::OnThreeD() { m_threeD = !m_threeD; }

void CAutoDesignDlg::OnSingle() {
  m_single->SetCheck(BST_CHECKED);
  m_double->SetCheck(BST_UNCHECKED);
  m_designMode = 1;
}

void CAutoDesignDlg::OnDouble() {
  m_double->SetCheck(BST_CHECKED);
  m_single->SetCheck(BST_UNCHECKED);
  m_designMode = 2;
}

void CAutoDesignDlg::OnPick() {
  if (!m_draw) return;
  // What was typed in the other fields is kept across the pick.
  if (!UpdateData(TRUE)) return;
  double x = 0.0, y = 0.0;
  if (PickOriginWhileHidden(*this, "\n请在屏幕上采集绘图原点", x, y)) {
    m_originX = x;
    m_originY = y;
  }
  UpdateData(FALSE);
}

void CAutoDesignDlg::OnBrowse() {
  CString path;
  if (!BrowseSchemeFile(this, "mdb", "方案数据库(*.mdb)|*.mdb||", path)) return;
  UpdateData(TRUE);
  m_schemePath = path;
  UpdateData(FALSE);
}

CString CAutoDesignDlg::ChosenLineKind() const {
  if (m_reserved && m_designMode == 1) return "单线";
  if (m_reserved && m_designMode == 2) return "双线";
  return m_lineKind;
}

AutoDesignOptions CAutoDesignDlg::Options() const {
  AutoDesignOptions o;
  o.schemeDatabasePath = m_schemePath;
  o.lineKind = m_lineKind.IsEmpty() ? CString("单线") : m_lineKind;
  o.reservedLineFlag = m_reserved;
  o.reservedLineChoice = m_designMode;
  o.draw = m_draw;
  o.scaleDenominator = m_scale;
  o.originX = m_originX;
  o.originY = m_originY;
  o.threeD = m_threeD;
  return o;
}

BEGIN_MESSAGE_MAP(CAutoDesignDlg, CDialog)
  ON_BN_CLICKED(kAdDraw, &CAutoDesignDlg::OnDraw)
  ON_BN_CLICKED(kAd3D, &CAutoDesignDlg::OnThreeD)
  ON_BN_CLICKED(kAdSingle, &CAutoDesignDlg::OnSingle)
  ON_BN_CLICKED(kAdDouble, &CAutoDesignDlg::OnDouble)
  ON_BN_CLICKED(kAdPick, &CAutoDesignDlg::OnPick)
  ON_BN_CLICKED(kAdBrowse, &CAutoDesignDlg::OnBrowse)
END_MESSAGE_MAP()
