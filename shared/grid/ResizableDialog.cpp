// The resizable dialog base of the ground-line input.
#include "grid/ResizableDialog.h"

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CResizableDialog::CResizableDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CResizableDialog::~CResizableDialog() { m_layout.RemoveAll(); }

BOOL CResizableDialog::OnInitDialog() {
  BOOL result = CDialog::OnInitDialog();
  bool child = (GetStyle() & WS_CHILD) != 0;
  m_layout.Init(this, 3, child ? FALSE : TRUE);
  CRect window;
  GetWindowRect(&window);
  m_layout.SetMinSize(CSize(window.Width(), window.Height()));
  return result;
}

namespace {

bool validAnchor(CSize a) { return a.cx >= 0 && a.cx <= 100 && a.cy >= 0 && a.cy <= 100; }

}  // namespace

BOOL CResizableDialog::AddAnchor(CWnd* wnd, CSize topLeft, CSize bottomRight) {
  if (bottomRight == NOANCHOR) bottomRight = topLeft;
  if (!validAnchor(topLeft) || !validAnchor(bottomRight)) return FALSE;
  SizingLayoutEntry* entry =
      m_layout.AddControl(wnd, static_cast<BYTE>(topLeft.cx), static_cast<BYTE>(bottomRight.cx),
                          static_cast<BYTE>(topLeft.cy), static_cast<BYTE>(bottomRight.cy));
  return entry ? TRUE : FALSE;
}

BOOL CResizableDialog::AddAnchor(UINT id, CSize topLeft, CSize bottomRight) {
  if (!GetSafeHwnd()) return FALSE;
  return AddAnchor(GetDlgItem(static_cast<int>(id)), topLeft, bottomRight);
}

void CResizableDialog::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (m_layout.m_pWnd && type != SIZE_MINIMIZED) m_layout.Reposition(TRUE);
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
  CDialog::OnGetMinMaxInfo(info);
  m_layout.FillMinMaxInfo(info);
}

void CResizableDialog::OnDestroy() {
  m_layout.RemoveAll();
  CDialog::OnDestroy();
}
