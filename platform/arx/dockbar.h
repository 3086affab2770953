#pragma once
// The editor's dock control bars: CAdUiDockControlBar (and its other name,
// CAcUiDockControlBar), a control bar that a module makes as a child of the
// main frame with a window class of its own, docks on the frame's sides or
// floats, and carries a tool id.
//
// Its window's messages reach the derived class as for any window (WM_CREATE,
// WM_SIZE, WM_SYSCOMMAND ...); after every change of its size the bar also
// calls SizeChanged with its new client rectangle. Closing the bar (its close
// command, WM_CLOSE) asks OnClosing; when that agrees, the bar is hidden.
//
// A bar belongs to the module whose code made it. One that the module has
// not deleted when it is unloaded is deleted then, before the module's code
// goes (the modules make their bars with new).

#include "com/comdef.h"
#include "mfc/frame.h"

class PLATFORM_API CAdUiDockControlBar : public CControlBar {
  DECLARE_DYNAMIC(CAdUiDockControlBar)

 public:
  explicit CAdUiDockControlBar(int flags = 0);
  ~CAdUiDockControlBar() override;

  // Creates the bar's window, a child of `parent` (the main frame).
  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0,
              CCreateContext* context = nullptr) override;
  void SetToolID(const CLSID* id);
  const CLSID& GetToolID() const { return m_toolId; }
  bool HasToolID() const { return m_hasToolId; }
  // Docks the bar in `dockBarId` of its frame (AFX_IDW_DOCKBAR_FLOAT: it
  // floats, at `rect` when given). No state is saved between runs, so this
  // is where a bar goes the first time.
  virtual BOOL RestoreControlBar(UINT dockBarId = AFX_IDW_DOCKBAR_FLOAT, CRect* rect = nullptr);
  // Whether the bar may close (the derived class lets go of its children here).
  virtual BOOL OnClosing();
  // After each change of size: the new client rectangle.
  virtual void SizeChanged(CRect* rect, BOOL floating, int flags);
  int GetFlags() const { return m_flags; }
  // Whether the object goes with its window (the host owns it).
  bool DeletesItself() const { return m_bAutoDelete; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnClose();
  // Set by classes whose objects the host owns: deleted when their window goes.
  bool m_bAutoDelete = false;

 private:
  int m_flags = 0;
  CLSID m_toolId{};
  bool m_hasToolId = false;

  DECLARE_MESSAGE_MAP()
};

using CAcUiDockControlBar = CAdUiDockControlBar;

namespace platform {
// The dock bars (and palette sets) alive, for tests.
PLATFORM_API size_t dockControlBarCount();
}  // namespace platform
