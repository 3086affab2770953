// The dock bar that hosts a module's scheme tree dialog (MyDockControlBar.h).

#include "controls/MyDockControlBar.h"

#include "arx/apdocman.h"
#include "mfc/wndclass.h"

IMPLEMENT_DYNAMIC(CMyDockControlBar, CAdUiDockControlBar)

BEGIN_MESSAGE_MAP(CMyDockControlBar, CAdUiDockControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SYSCOMMAND()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// {45D8E5DE-AA69-4611-8FEB-B2A6BEE8FB47}
const CLSID CMyDockControlBar::kToolId = {0x45D8E5DE, 0xAA69, 0x4611, {0x8F, 0xEB, 0xB2, 0xA6, 0xBE, 0xE8, 0xFB, 0x47}};

namespace {

// The module's resources are current while the bar makes or moves its child.
class ResourceScope {
 public:
  ResourceScope() { acDocManager->pushResourceHandle(AfxGetInstanceHandle()); }
  ~ResourceScope() { acDocManager->popResourceHandle(); }
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;
};

}  // namespace

CMyDockControlBar::CMyDockControlBar(ChildMaker makeChild, int treeId, int flags)
    : CAdUiDockControlBar(flags), m_makeChild(makeChild), m_treeId(treeId) {}

// A bar deleted without being closed (the module unloading) still lets go of
// its child, so no dialog outlives it.
CMyDockControlBar::~CMyDockControlBar() { DeleteChild(); }

void CMyDockControlBar::DeleteChild() {
  CDialog* child = m_pChildDlg;
  m_pChildDlg = nullptr;
  if (!child) return;
  if (child->GetSafeHwnd()) child->DestroyWindow();
  delete child;
}

BOOL CMyDockControlBar::Create(CWnd* parent, LPCTSTR title) {
  LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
  CRect rect(0, 0, 200, 400);
  if (!CAdUiDockControlBar::Create(className, title, kStyle, rect, parent, 0)) return FALSE;
  SetToolID(&kToolId);
  return TRUE;
}

int CMyDockControlBar::OnCreate(LPCREATESTRUCT cs) {
  if (CAdUiDockControlBar::OnCreate(cs) == -1) return -1;
  ResourceScope resources;
  DeleteChild();
  m_pChildDlg = m_makeChild ? m_makeChild(this) : nullptr;
  if (m_pChildDlg && m_pChildDlg->GetSafeHwnd()) m_pChildDlg->MoveWindow(0, 0, 200, 400, TRUE);
  return 0;
}

void CMyDockControlBar::SizeChanged(CRect* rect, BOOL, int) {
  if (!rect || !m_pChildDlg || !m_pChildDlg->GetSafeHwnd()) return;
  ResourceScope resources;
  m_pChildDlg->SetWindowPos(nullptr, rect->left, rect->top, rect->Width(), rect->Height(), SWP_NOZORDER);
}

void CMyDockControlBar::OnSize(UINT type, int cx, int cy) {
  CAdUiDockControlBar::OnSize(type, cx, cy);
  if (!m_pChildDlg || !m_pChildDlg->GetSafeHwnd()) return;
  m_pChildDlg->MoveWindow(1, 2, cx, cy, TRUE);
  if (CWnd* tree = m_pChildDlg->GetDlgItem(m_treeId)) tree->MoveWindow(1, 2, cx - 5, cy - 20, TRUE);
}

void CMyDockControlBar::OnSysCommand(UINT id, LPARAM lParam) { CAdUiDockControlBar::OnSysCommand(id, lParam); }

// The bar's class has no brush: the bar fills its own background in the face
// colour, so a bar without a child (or around it) is not left unpainted.
BOOL CMyDockControlBar::OnEraseBkgnd(CDC* dc) {
  if (!dc) return FALSE;
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

BOOL CMyDockControlBar::OnClosing() {
  DeleteChild();
  return CAdUiDockControlBar::OnClosing();
}
