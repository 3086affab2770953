// The editor's main frame with its drawing view and its command line. They
// are the platform's own windows, made when first asked for (and again after
// a reset of the window system took them), never a module's.
#include "arx/acui.h"
#include "arx/rxdynlink.h"

namespace {

struct HostWindows {
  CMDIFrameWnd frame;
  CView view;
  CControlBar commandLine;
};

// Never freed: the objects outlive every window (the window system's tables
// may be gone before static objects are destroyed).
HostWindows& host() {
  static HostWindows* windows = new HostWindows;
  return *windows;
}

constexpr int kFrameWidth = 1920, kFrameHeight = 1040, kCommandLineHeight = 80;

HostWindows& ensureWindows() {
  HostWindows& h = host();
  if (h.frame.m_hWnd && ::IsWindow(h.frame.m_hWnd)) return h;
  platform::ModuleCallScope platformScope(nullptr);
  if (h.frame.m_hWnd) h.frame.Detach();
  if (h.view.m_hWnd) h.view.Detach();
  if (h.commandLine.m_hWnd) h.commandLine.Detach();
  h.frame.CreateEx(0, nullptr, "AutoCAD", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kFrameWidth,
                   kFrameHeight, nullptr, nullptr);
  h.view.CreateEx(WS_EX_CLIENTEDGE, nullptr, "Drawing1.dwg", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, h.frame.m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)));
  h.commandLine.CreateEx(0, nullptr, "命令行", WS_CHILD | WS_VISIBLE, 0, 0, kFrameWidth, kCommandLineHeight,
                         h.frame.m_hWnd, nullptr);
  h.frame.SetActiveView(&h.view);
  h.frame.EnableDocking(CBRS_ALIGN_ANY);  // the editor docks bars on every side
  h.commandLine.EnableDocking(CBRS_ALIGN_BOTTOM);
  h.frame.DockControlBar(&h.commandLine, AFX_IDW_DOCKBAR_BOTTOM);
  return h;
}

}  // namespace

CMDIFrameWnd* acedGetAcadFrame() { return &ensureWindows().frame; }
CView* acedGetAcadDwgView() { return &ensureWindows().view; }
CWnd* acedGetAcadDockCmdLine() { return &ensureWindows().commandLine; }
