// The resizable dialog base of the table editors.
#include "controls/cdxCSizingDialog.h"

BEGIN_MESSAGE_MAP(cdxCSizingDialog, CDialog)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

cdxCSizingDialog::cdxCSizingDialog(UINT templateId, CWnd* parent, int mode, BOOL createGrip)
    : CDialog(templateId, parent), m_nSizingMode(mode), m_bCreateGrip(createGrip) {}

cdxCSizingDialog::~cdxCSizingDialog() { RemoveAll(); }

BOOL cdxCSizingDialog::InitSizing(int growPercent, int mode, BOOL createGrip) {
  BOOL result = CDialog::OnInitDialog();
  Init(this, mode, createGrip);
  if (growPercent) GrowWindow(growPercent);
  return result;
}

BOOL cdxCSizingDialog::OnInitDialog() { return InitSizing(10, m_nSizingMode, m_bCreateGrip); }

CRect cdxCSizingDialog::GrownRect(const CRect& window, int percent) {
  int w = percent * window.Width() / 100, h = percent * window.Height() / 100;
  CRect r(window.left - w / 2, window.top - h / 2, window.right + (w - w / 2), window.bottom + (h - h / 2));
  return r.IsRectEmpty() ? window : r;
}

void cdxCSizingDialog::GrowWindow(int percent) {
  if (!GetSafeHwnd()) return;
  CRect window;
  GetWindowRect(&window);
  CRect grown = GrownRect(window, percent);
  if (grown == window) return;
  // A child window's rectangle is given in its parent's client coordinates.
  if ((GetStyle() & WS_CHILD) && GetParent()) GetParent()->ScreenToClient(&grown);
  MoveWindow(&grown);
}

void cdxCSizingDialog::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (m_pWnd && m_pWnd->GetSafeHwnd() && type != SIZE_MINIMIZED) Reposition(TRUE);
}

void cdxCSizingDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
  CDialog::OnGetMinMaxInfo(info);
  FillMinMaxInfo(info);
}

void cdxCSizingDialog::OnDestroy() {
  RemoveAll();
  CDialog::OnDestroy();
}
