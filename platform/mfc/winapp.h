#pragma once
// The application object of the host (CWinApp) and the class library's
// application-wide services: the main window, the running module's instance
// and resources.

#include "mfc/cmdtarget.h"

class CWnd;

class PLATFORM_API CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR appName = nullptr);

  CWnd* m_pMainWnd = nullptr;  // set by the host when it has a main window
  LPCTSTR m_pszAppName;

  // Icons and cursors of the running module's resources, then the platform's.
  HICON LoadIcon(UINT id) const;
  HICON LoadIcon(LPCTSTR name) const;
  HICON LoadStandardIcon(LPCTSTR name) const;
  HCURSOR LoadCursor(UINT id) const;
  HCURSOR LoadStandardCursor(LPCTSTR name) const;
};

// The host's application object.
PLATFORM_API CWinApp* AfxGetApp();
// The host's main window (null until the host makes one).
PLATFORM_API CWnd* AfxGetMainWnd();
// The instance of the module whose code runs (the host's own when none):
// resources are looked up there, then in the platform's.
PLATFORM_API HINSTANCE AfxGetInstanceHandle();
PLATFORM_API HINSTANCE AfxGetResourceHandle();
