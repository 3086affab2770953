#include "mfc/winapp.h"

#include "arx/rxdynlink.h"
#include "mfc/app.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

CWinApp::CWinApp(LPCTSTR appName) : m_pszAppName(appName ? appName : AfxGetAppName()) {}

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(id)); }
HICON CWinApp::LoadIcon(LPCTSTR name) const { return ::LoadIcon(AfxGetInstanceHandle(), name); }
HICON CWinApp::LoadStandardIcon(LPCTSTR name) const { return ::LoadIcon(nullptr, name); }
HCURSOR CWinApp::LoadCursor(UINT id) const { return ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(id)); }
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const { return ::LoadCursor(nullptr, name); }

CWinApp* AfxGetApp() {
  static CWinApp* app = new CWinApp();  // lives for the whole process
  return app;
}

CWnd* AfxGetMainWnd() { return AfxGetApp()->m_pMainWnd; }

HINSTANCE AfxGetInstanceHandle() { return platform::moduleInstance(platform::currentModule()); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
