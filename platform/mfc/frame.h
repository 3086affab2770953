#pragma once
// Frame windows and their control bars: CFrameWnd (CMDIFrameWnd) lays out
// the control bars docked on its four sides around its client area, CControlBar
// is a bar that docks on the sides its docking style allows, or floats; CView
// is a view in a frame.
//
// A frame places its visible docked bars when RecalcLayout runs (docking,
// showing and hiding a bar run it too): the bars on the top and bottom take
// the frame's client width and their own height, those on the left and right
// the height left between them and their own width; what remains is the
// view's. A bar that moves or changes size hears of it as any window does
// (WM_WINDOWPOSCHANGED, WM_SIZE).

#include <vector>

#include "mfc/wnd.h"

// The dock bars of a frame, by side.
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#define AFX_IDW_PANE_FIRST 0xE900

// Docking styles (EnableDocking) and bar styles.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_FLOAT_MULTI 0x0004L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_SIZE_DYNAMIC 0x0040L

class CFrameWnd;

class PLATFORM_API CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  CControlBar();
  ~CControlBar() override;

  // The sides it may dock on (CBRS_ALIGN_*); 0: it only floats.
  void EnableDocking(DWORD dockStyle);
  DWORD GetDockingStyle() const { return m_dwDockStyle; }
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD style) { m_dwStyle = style; }
  BOOL IsFloating() const;
  // The dock bar it lies in (AFX_IDW_DOCKBAR_LEFT ...), AFX_IDW_DOCKBAR_FLOAT
  // when it floats, 0 before it was docked or floated.
  UINT GetDockBarID() const { return m_dockBarId; }
  BOOL IsVisible() const;
  CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
  CFrameWnd* m_pDockSite = nullptr;

 protected:
  afx_msg void OnDestroy();

 private:
  friend class CFrameWnd;
  UINT m_dockBarId = 0;

  DECLARE_MESSAGE_MAP()
};

class PLATFORM_API CFrameWnd : public CWnd {
  DECLARE_DYNAMIC(CFrameWnd)

 public:
  CFrameWnd();
  ~CFrameWnd() override;

  // Adds sides that bars may dock on (CBRS_ALIGN_*).
  void EnableDocking(DWORD dockStyle);
  DWORD GetDockingSides() const { return m_dockSides; }
  // Docks the bar in dock bar `dockBarId` (0: the first side, of top, bottom,
  // left and right, that both the bar and the frame allow). A bar that may
  // dock on none of the sides asked for floats.
  void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
  // The bar floats with its top left at `point` (screen).
  void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = CBRS_ALIGN_TOP);
  void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
  virtual void RecalcLayout(BOOL notify = TRUE);
  // The bars docked in `dockBarId`, in docking order.
  std::vector<CControlBar*> GetDockedBars(UINT dockBarId) const;
  // The client area that the docked bars leave (client coordinates).
  CRect GetInnerRect() const;
  void SetActiveView(CWnd* view) { m_view = view ? view->m_hWnd : nullptr; }
  // With its window the frame lets go of its bars and docking sides.
  void PostNcDestroy() override;

 private:
  friend class CControlBar;
  void forget(CControlBar* bar);
  DWORD m_dockSides = 0;
  std::vector<HWND> m_bars;  // docked and floating bars, in docking order
  HWND m_view = nullptr;
  CRect m_inner;
};

class PLATFORM_API CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNAMIC(CMDIFrameWnd)
};

class PLATFORM_API CView : public CWnd {
  DECLARE_DYNAMIC(CView)
};
