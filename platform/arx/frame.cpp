// The editor's main frame with its drawing view and its command line. They
// are the platform's own windows, made when first asked for (and again after
// a reset of the window system took them), never a module's.
#include <algorithm>

#include "arx/acui.h"
#include "arx/dbdatabase.h"
#include "arx/dbsymtb.h"
#include "arx/preview.h"
#include "arx/rxdynlink.h"
#include "mfc/dc.h"
#include "win/sysparams.h"
#include "win/transcript.h"

namespace {

// The drawing view: model space of the working drawing on white, as the
// active view (the last ZOOM, or the drawing file's) shows it; without one,
// or with one that shows none of the drawing, the whole drawing.
class DrawingView : public CView {
 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    AcGePoint2d center(0, 0);
    double width = 0, height = 0;
    AcDbViewportTable* table = nullptr;
    if (db->getViewportTable(table, AcDb::kForRead) == Acad::eOk) {
      AcDbViewportTableRecord* active = nullptr;
      if (table->getAt("*Active", active, AcDb::kForRead) == Acad::eOk) {
        if (active->isViewSet()) {
          center = active->centerPoint();
          width = active->width();
          height = active->height();
        }
        active->close();
      }
      table->close();
    }
    platform::drawDrawingView(dc.GetSafeHdc(), client, *db, center, width, height);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawingView, CView)
ON_WM_PAINT()
END_MESSAGE_MAP()

// The command line: its last lines that say something, the newest at the
// bottom.
class CommandLine : public CControlBar {
 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    CFont font;
    LOGFONT lf = platform::messageFont();
    font.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int lineHeight = std::max<int>(1, tm.tmHeight);
    const int rows = std::max<int>(1, (client.Height() - 4) / lineHeight);
    // Empty lines (the line ends before each prompt) are left out, so that
    // the window shows what was said.
    std::vector<std::string> lines;
    for (std::string& line : platform::transcriptLastLines(static_cast<size_t>(rows) * 4))
      if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(std::move(line));
    if (lines.size() > static_cast<size_t>(rows)) lines.erase(lines.begin(), lines.end() - rows);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    int y = client.bottom - 2 - lineHeight * static_cast<int>(lines.size());
    for (const std::string& line : lines) {
      std::string shown;
      for (char c : line) shown += c == '\t' ? ' ' : c;
      CRect row(client.left + 4, y, client.right - 4, y + lineHeight);
      dc.DrawText(shown.c_str(), -1, &row, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      y += lineHeight;
    }
    dc.SelectObject(old);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandLine, CControlBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

struct HostWindows {
  CMDIFrameWnd frame;
  DrawingView view;
  CommandLine commandLine;
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
