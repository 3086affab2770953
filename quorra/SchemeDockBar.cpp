// The navigator's dock bar (SchemeDockBar.h).

#include "SchemeDockBar.h"

#include "NavigatorStartup.h"
#include "arx/apdocman.h"
#include "mfc/wndclass.h"

namespace {

// {45D8E5DE-AA69-4611-8FEB-B2A6BEE8FB47}
constexpr CLSID kToolId{0x45D8E5DE, 0xAA69, 0x4611, {0x8F, 0xEB, 0xB2, 0xA6, 0xBE, 0xE8, 0xFB, 0x47}};

// The module's resources current while it lives.
class ModuleResources {
 public:
  ModuleResources() { acDocManagerPtr()->pushResourceHandle(QuorraExtensionModule().instance); }
  ~ModuleResources() { acDocManagerPtr()->popResourceHandle(); }
  ModuleResources(const ModuleResources&) = delete;
  ModuleResources& operator=(const ModuleResources&) = delete;
};

}  // namespace

BEGIN_MESSAGE_MAP(CSchemeDockBar, CAdUiDockControlBar)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CSchemeDockBar::CSchemeDockBar() : CAdUiDockControlBar(0) {}

CSchemeDockBar::~CSchemeDockBar() { delete m_child; }

BOOL CSchemeDockBar::Create(CWnd* parent, LPCTSTR title) {
  LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
  if (!CAdUiDockControlBar::Create(windowClass, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 200, 400),
                                   parent, 0))
    return FALSE;
  SetToolID(&kToolId);
  return TRUE;
}

int CSchemeDockBar::OnCreate(LPCREATESTRUCT cs) {
  if (CAdUiDockControlBar::OnCreate(cs) == -1) return -1;
  ModuleResources resources;
  m_child = new CSchemeTreeDlg;
  m_child->Create(CSchemeTreeDlg::IDD, this);
  m_child->MoveWindow(0, 0, 200, 400);
  return 0;
}

void CSchemeDockBar::OnSize(UINT type, int cx, int cy) {
  CAdUiDockControlBar::OnSize(type, cx, cy);
  if (m_child == nullptr || !::IsWindow(m_child->m_hWnd)) return;
  CRect client;
  GetClientRect(&client);
  m_child->MoveWindow(1, 2, client.Width(), client.Height());
  if (::IsWindow(m_child->Tree().m_hWnd)) m_child->Tree().MoveWindow(1, 2, client.Width() - 5, client.Height() - 20);
}

void CSchemeDockBar::OnSysCommand(UINT id, LPARAM lParam) { CAdUiDockControlBar::OnSysCommand(id, lParam); }

void CSchemeDockBar::SizeChanged(CRect* rect, BOOL floating, int flags) {
  CAdUiDockControlBar::SizeChanged(rect, floating, flags);
  if (rect == nullptr || m_child == nullptr || !::IsWindow(m_child->m_hWnd)) return;
  ModuleResources resources;
  m_child->SetWindowPos(nullptr, rect->left, rect->top, rect->Width(), rect->Height(), SWP_NOZORDER);
}

BOOL CSchemeDockBar::OnClosing() {
  delete m_child;
  m_child = nullptr;
  return CAdUiDockControlBar::OnClosing();
}
