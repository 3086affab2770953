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

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(platform::afx::hwndOf(wnd)) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(platform::afx::hwndOf(wnd)) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}
