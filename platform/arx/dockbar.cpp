#include "arx/dockbar.h"

#include <algorithm>
#include <vector>

#include "arx/rxdynlink.h"
#include "win/winhost.h"

IMPLEMENT_DYNAMIC(CAdUiDockControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CAdUiDockControlBar, CControlBar)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

struct LiveBar {
  CAdUiDockControlBar* bar;
  platform::LoadedModule* module;
};

std::vector<LiveBar>& liveBars() {
  static std::vector<LiveBar> bars;
  return bars;
}

// What a module leaves: its bars are deleted (or, for those the host owns,
// destroyed, which deletes them).
void releaseModuleBars(platform::LoadedModule* module) {
  while (true) {
    auto& bars = liveBars();
    auto it = std::find_if(bars.begin(), bars.end(), [&](const LiveBar& b) { return b.module == module; });
    if (it == bars.end()) return;
    CAdUiDockControlBar* bar = it->bar;
    bars.erase(it);
    platform::ModuleCallScope scope(module);
    if (bar->DeletesItself() && bar->m_hWnd && ::IsWindow(bar->m_hWnd)) {
      bar->DestroyWindow();
      continue;
    }
    delete bar;
  }
}

struct Registration {
  Registration() { platform::addModuleReleaseHook(&releaseModuleBars); }
};

}  // namespace

CAdUiDockControlBar::CAdUiDockControlBar(int flags) : m_flags(flags) {
  static const Registration once;
  liveBars().push_back(LiveBar{this, platform::currentModule()});
}

CAdUiDockControlBar::~CAdUiDockControlBar() {
  auto& bars = liveBars();
  bars.erase(std::remove_if(bars.begin(), bars.end(), [this](const LiveBar& b) { return b.bar == this; }), bars.end());
}

BOOL CAdUiDockControlBar::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                                 UINT id, CCreateContext* context) {
  if (!parent) return FALSE;
  m_pDockSite = dynamic_cast<CFrameWnd*>(parent);
  return CControlBar::Create(className, windowName, style | WS_CHILD, rect, parent, id, context);
}

void CAdUiDockControlBar::SetToolID(const CLSID* id) {
  m_hasToolId = id != nullptr;
  m_toolId = id ? *id : CLSID{};
}

BOOL CAdUiDockControlBar::RestoreControlBar(UINT dockBarId, CRect* rect) {
  if (!m_hWnd) return FALSE;
  CFrameWnd* frame = m_pDockSite ? m_pDockSite : dynamic_cast<CFrameWnd*>(GetParent());
  if (!frame) return FALSE;
  if (dockBarId == AFX_IDW_DOCKBAR_FLOAT) {
    CRect r;
    GetWindowRect(&r);
    if (rect) r = *rect;
    frame->FloatControlBar(this, CPoint(r.left, r.top));
    return TRUE;
  }
  frame->DockControlBar(this, dockBarId, rect);
  return GetDockBarID() == dockBarId;
}

BOOL CAdUiDockControlBar::OnClosing() { return TRUE; }

void CAdUiDockControlBar::SizeChanged(CRect*, BOOL, int) {}

int CAdUiDockControlBar::OnCreate(LPCREATESTRUCT cs) { return CControlBar::OnCreate(cs); }

void CAdUiDockControlBar::OnClose() {
  // The bar is hidden, not destroyed: its module keeps it.
  if (!OnClosing() || !m_hWnd) return;
  if (m_pDockSite)
    m_pDockSite->ShowControlBar(this, FALSE, FALSE);
  else
    ShowWindow(SW_HIDE);
}

LRESULT CAdUiDockControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND self = m_hWnd;
  LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
  if (message == WM_SIZE && wParam != SIZE_MINIMIZED && self && CWnd::FromHandlePermanent(self) == this) {
    CRect client;
    GetClientRect(&client);
    SizeChanged(&client, IsFloating(), 0);
  }
  return result;
}

void CAdUiDockControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

namespace platform {
size_t dockControlBarCount() { return liveBars().size(); }
}  // namespace platform
