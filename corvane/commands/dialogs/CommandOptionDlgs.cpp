// The option dialogs of CALTWB, CALTSF and the drawing run.

#include "CommandOptionDlgs.h"

#include "DialogSupport.h"
#include "mfc/ddx.h"
#include "resources/CorvaneResources.h"

using namespace corvane_rc;

// ---- 205: CALTWB ----------------------------------------------------------------

CFillCutOptionsDlg::CFillCutOptionsDlg(CWnd* parent) : CDialog(kFillCutDlg, parent) {}

void CFillCutOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, kFcMeasured, m_options.stationSource);
  DDX_Text(pDX, kFcInterval, m_options.interval);
  DDX_Check(pDX, kFcInterpolate, m_options.interpolateGroundLines);
  DDX_Text(pDX, kFcStart, m_options.startChainage);
  DDX_Text(pDX, kFcEnd, m_options.endChainage);
}

BOOL CFillCutOptionsDlg::OnInitDialog() {
  BaselineRangeFromBreakTable(m_options.startChainage, m_options.endChainage);
  return CDialog::OnInitDialog();
}

// ---- 2484: CALTSF ---------------------------------------------------------------

CEarthworkDlg::CEarthworkDlg(CWnd* parent) : CDialog(kEarthworkDlg, parent) {}

void CEarthworkDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, kEwWhole, m_range);
  DDX_Text(pDX, kEwStart, m_choice.startText);
  DDX_Text(pDX, kEwEnd, m_choice.endText);
  DDX_Check(pDX, kEwBaseline, m_baseline);
  DDX_Check(pDX, kEwLeft, m_left);
  DDX_Check(pDX, kEwRight, m_right);
  if (pDX->m_bSaveAndValidate) {
    m_choice.wholeLine = m_range == 0 ? 1 : 0;
    m_choice.lines = (m_baseline ? EarthworkChoice::kBaseline : 0) | (m_left ? EarthworkChoice::kLeftDetours : 0) |
                     (m_right ? EarthworkChoice::kRightDetours : 0);
  }
}

BOOL CEarthworkDlg::OnInitDialog() {
  m_range = m_choice.wholeLine ? 0 : 1;
  m_baseline = (m_choice.lines & EarthworkChoice::kBaseline) != 0;
  m_left = (m_choice.lines & EarthworkChoice::kLeftDetours) != 0;
  m_right = (m_choice.lines & EarthworkChoice::kRightDetours) != 0;
  BaselineRangeFromBreakTable(m_choice.startText, m_choice.endText);
  CDialog::OnInitDialog();
  EnableRange();
  return TRUE;
}

void CEarthworkDlg::EnableRange() {
  const BOOL range = IsDlgButtonChecked(kEwRange) == BST_CHECKED;
  for (int id : {kEwStart, kEwEnd, kEwBaseline, kEwLeft, kEwRight}) GetDlgItem(id)->EnableWindow(range);
}

void CEarthworkDlg::OnScope() { EnableRange(); }

BEGIN_MESSAGE_MAP(CEarthworkDlg, CDialog)
  ON_BN_CLICKED(kEwWhole, &CEarthworkDlg::OnScope)
  ON_BN_CLICKED(kEwRange, &CEarthworkDlg::OnScope)
END_MESSAGE_MAP()

// ---- 2463: the drawing run --------------------------------------------------------

CDrawLinesDlg::CDrawLinesDlg(CWnd* parent) : CDialog(kDrawLinesDlg, parent) {}

void CDrawLinesDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, kDlAll, m_all);
  DDX_Text(pDX, kDlOriginX, m_choice.originX);
  DDV_MinMaxDouble(pDX, m_choice.originX, -kMaxOrigin, kMaxOrigin);
  DDX_Text(pDX, kDlOriginY, m_choice.originY);
  DDV_MinMaxDouble(pDX, m_choice.originY, -kMaxOrigin, kMaxOrigin);
  DDX_Text(pDX, kDlScale, m_choice.scaleDenominator);
  DDV_MinMaxDouble(pDX, m_choice.scaleDenominator, 1.0, kMaxScaleDenominator);
  DDX_Check(pDX, kDlBaseline, m_baseline);
  DDX_Text(pDX, kDlBaseStart, m_choice.baselineStart);
  DDX_Text(pDX, kDlBaseEnd, m_choice.baselineEnd);
  DDX_Check(pDX, kDlLeft, m_left);
  DDX_Text(pDX, kDlLeftIndex, m_leftNumber);
  DDV_MinMaxInt(pDX, m_leftNumber, 1, 100);
  DDX_Text(pDX, kDlLeftStart, m_choice.leftStart);
  DDX_Text(pDX, kDlLeftEnd, m_choice.leftEnd);
  DDX_Check(pDX, kDlRight, m_right);
  DDX_Text(pDX, kDlRightIndex, m_rightNumber);
  DDV_MinMaxInt(pDX, m_rightNumber, 1, 100);
  DDX_Text(pDX, kDlRightStart, m_choice.rightStart);
  DDX_Text(pDX, kDlRightEnd, m_choice.rightEnd);
  if (pDX->m_bSaveAndValidate) {
    m_choice.drawAll = m_all;
    m_choice.baseline = m_baseline != 0;
    m_choice.leftDetour = m_left != 0;
    m_choice.rightDetour = m_right != 0;
    m_choice.leftIndex = m_leftNumber - 1;
    m_choice.rightIndex = m_rightNumber - 1;
  }
}

BOOL CDrawLinesDlg::OnInitDialog() {
  m_all = m_choice.drawAll;
  m_baseline = m_choice.baseline;
  m_left = m_choice.leftDetour;
  m_right = m_choice.rightDetour;
  m_leftNumber = m_choice.leftIndex + 1;
  m_rightNumber = m_choice.rightIndex + 1;
  BaselineRangeFromBreakTable(m_choice.baselineStart, m_choice.baselineEnd);
  CDialog::OnInitDialog();
  EnableLines();
  return TRUE;
}

void CDrawLinesDlg::EnableLines() {
  const BOOL chosen = IsDlgButtonChecked(kDlAll) != BST_CHECKED;
  for (int id : {kDlBaseline, kDlBaseStart, kDlBaseEnd, kDlLeft, kDlLeftIndex, kDlLeftStart, kDlLeftEnd, kDlRight,
                 kDlRightIndex, kDlRightStart, kDlRightEnd})
    GetDlgItem(id)->EnableWindow(chosen);
}

void CDrawLinesDlg::OnAll() { EnableLines(); }

void CDrawLinesDlg::OnPick() {
  if (!UpdateData(TRUE)) return;
  double x = 0.0, y = 0.0;
  if (PickOriginWhileHidden(*this, "\n请在屏幕上采集绘图原点", x, y)) {
    m_choice.originX = x;
    m_choice.originY = y;
  }
  UpdateData(FALSE);
}

BEGIN_MESSAGE_MAP(CDrawLinesDlg, CDialog)
  ON_BN_CLICKED(kDlAll, &CDrawLinesDlg::OnAll)
  ON_BN_CLICKED(kDlPick, &CDrawLinesDlg::OnPick)
END_MESSAGE_MAP()
