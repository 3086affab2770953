#include "mfc/frame.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

DWORD sideStyle(UINT dockBarId) {
  switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    default: return 0;
  }
}

}  // namespace

// --- CControlBar -----------------------------------------------------------------------

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  if (m_pDockSite) m_pDockSite->forget(this);
}

void CControlBar::EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }

BOOL CControlBar::IsFloating() const { return m_dockBarId == AFX_IDW_DOCKBAR_FLOAT; }

BOOL CControlBar::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) ? TRUE : FALSE; }

void CControlBar::OnDestroy() {
  // The frame closes the gap the bar leaves.
  if (CFrameWnd* site = m_pDockSite) {
    site->forget(this);
    if (site->m_hWnd && ::IsWindow(site->m_hWnd)) site->RecalcLayout();
  }
  CWnd::OnDestroy();
}

// --- CFrameWnd -------------------------------------------------------------------------

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() {
  for (HWND h : m_bars)
    if (auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(h))) bar->m_pDockSite = nullptr;
}

void CFrameWnd::PostNcDestroy() {
  for (HWND h : m_bars)
    if (auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(h))) forget(bar);
  m_bars.clear();
  m_dockSides = 0;
  m_view = nullptr;
  m_inner = CRect();
  CWnd::PostNcDestroy();
}

void CFrameWnd::EnableDocking(DWORD dockStyle) { m_dockSides |= dockStyle & CBRS_ALIGN_ANY; }

void CFrameWnd::forget(CControlBar* bar) {
  if (bar->m_hWnd) m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar->m_hWnd), m_bars.end());
  bar->m_pDockSite = nullptr;
  bar->m_dockBarId = 0;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT) {
  if (!bar || !bar->m_hWnd) return;
  DWORD allowed = bar->m_dwDockStyle & m_dockSides;
  if (dockBarId == 0) {
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
      if (allowed & sideStyle(id)) {
        dockBarId = id;
        break;
      }
  }
  if (!(allowed & sideStyle(dockBarId))) {
    CRect r;
    bar->GetWindowRect(&r);
    FloatControlBar(bar, CPoint(r.left, r.top));
    return;
  }
  bar->m_pDockSite = this;
  bar->m_dockBarId = dockBarId;
  m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar->m_hWnd), m_bars.end());
  m_bars.push_back(bar->m_hWnd);
  if (::GetParent(bar->m_hWnd) != m_hWnd || !(bar->GetStyle() & WS_CHILD)) {
    bar->ModifyStyle(WS_POPUP, WS_CHILD);
    ::SetParent(bar->m_hWnd, m_hWnd);
  }
  bar->m_dwStyle = (bar->m_dwStyle & ~CBRS_ALIGN_ANY) | sideStyle(dockBarId);
  RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style) {
  if (!bar || !bar->m_hWnd) return;
  bar->m_pDockSite = this;
  bar->m_dockBarId = AFX_IDW_DOCKBAR_FLOAT;
  m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar->m_hWnd), m_bars.end());
  m_bars.push_back(bar->m_hWnd);
  bar->m_dwStyle = (bar->m_dwStyle & ~CBRS_ALIGN_ANY) | (style & CBRS_ALIGN_ANY);
  CPoint at = point;
  if (bar->GetStyle() & WS_CHILD) ScreenToClient(&at);
  bar->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL) {
  if (!bar || !bar->m_hWnd) return;
  bar->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
  RecalcLayout();
}

std::vector<CControlBar*> CFrameWnd::GetDockedBars(UINT dockBarId) const {
  std::vector<CControlBar*> out;
  for (HWND h : m_bars)
    if (auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(h)))
      if (bar->m_dockBarId == dockBarId) out.push_back(bar);
  return out;
}

CRect CFrameWnd::GetInnerRect() const { return m_inner; }

void CFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd) return;
  CRect area;
  GetClientRect(&area);
  // Places a bar and answers the size it took: a bar may keep itself
  // smaller than offered (its maximum size), and the view takes the rest.
  auto place = [](CControlBar* bar, int x, int y, int cx, int cy) {
    bar->SetWindowPos(nullptr, x, y, std::max(0, cx), std::max(0, cy), SWP_NOZORDER | SWP_NOACTIVATE);
    CRect taken;
    bar->GetWindowRect(&taken);
    return taken.Size();
  };
  for (UINT side : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM}) {
    for (CControlBar* bar : GetDockedBars(side)) {
      if (!bar->IsVisible()) continue;
      CRect r;
      bar->GetWindowRect(&r);
      int h = std::min<int>(r.Height(), area.Height());
      if (side == AFX_IDW_DOCKBAR_TOP) {
        area.top += place(bar, area.left, area.top, area.Width(), h).cy;
      } else {
        area.bottom -= place(bar, area.left, area.bottom - h, area.Width(), h).cy;
      }
    }
  }
  for (UINT side : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
    for (CControlBar* bar : GetDockedBars(side)) {
      if (!bar->IsVisible()) continue;
      CRect r;
      bar->GetWindowRect(&r);
      int w = std::min<int>(r.Width(), area.Width());
      if (side == AFX_IDW_DOCKBAR_LEFT) {
        area.left += place(bar, area.left, area.top, w, area.Height()).cx;
      } else {
        area.right -= place(bar, area.right - w, area.top, w, area.Height()).cx;
      }
    }
  }
  m_inner = area;
  if (m_view && ::IsWindow(m_view))
    ::SetWindowPos(m_view, nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}
