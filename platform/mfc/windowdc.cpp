// The DCs of a window: CPaintDC, CClientDC, CWindowDC.
#include "mfc/dc.h"
#include "mfc/wnd.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(platform::afx::hwndOf(wnd)) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
  if (m_hDC) {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
  }
}

namespace platform::afx {

ReleasedDC::ReleasedDC(HWND hwnd, HDC dc) : m_hWnd(hwnd) { Attach(dc); }

ReleasedDC::~ReleasedDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

}  // namespace platform::afx

CClientDC::CClientDC(CWnd* wnd) : ReleasedDC(platform::afx::hwndOf(wnd), ::GetDC(platform::afx::hwndOf(wnd))) {}

CWindowDC::CWindowDC(CWnd* wnd) : ReleasedDC(platform::afx::hwndOf(wnd), ::GetWindowDC(platform::afx::hwndOf(wnd))) {}
