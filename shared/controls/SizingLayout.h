#pragma once
// The resizing layout of a dialog: each registered control keeps its
// distance to chosen edges of the dialog by percentages of the change of the
// client size since the layout was set up; a size grip can sit in the
// lower-right corner; the window is kept within a minimum (and optionally a
// maximum) tracking size.
//
// With the reference client size (RW, RH), the window rectangle W and the
// client rectangle C, the change is
//   dx = C.right + max(0, minimum width - W.width) - RW - C.left
// (and the same for dy): below its minimum the window lays out as if it had
// its minimum size. A control with reference rectangle (L, T, R, B) and
// percentages (pl, pr, pt, pb) goes to
//   (L + pl*dx/100, T + pt*dy/100, R + pr*dx/100, B + pb*dy/100)
// in integer arithmetic. 0, 100, 0, 100 stretches a control with the dialog;
// 100, 100, 100, 100 moves it with the lower-right corner.

#include "mfc/controls.h"
#include "mfc/wnd.h"

class SizingLayout;

// The size grip: a size-box scroll bar in the parent's lower-right corner
// that resizes the top-level window when dragged.
class cdxCSizeIconCtrl : public CScrollBar {
 public:
  cdxCSizeIconCtrl() = default;
  // A child size box with id `id` in the lower-right corner of the parent's
  // client area; FALSE when it cannot be made.
  BOOL Create(CWnd* parent, UINT id);

  BYTE m_bCapture = 0;
  BYTE m_bHideWhenMaximised = 1;

  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

 private:
  // Whether the grip shows: it has a parent, and the parent is not
  // maximised or the grip shows even then.
  bool Showing() const;

  DECLARE_MESSAGE_MAP()
};

// A further window placed with an entry (a list node).
struct SizingLayoutOwner {
  HWND m_hWnd = nullptr;
  SizingLayoutOwner* m_pNext = nullptr;
};

class SizingLayoutEntryBase {
 public:
  virtual ~SizingLayoutEntryBase() = default;
  // Places the entry's windows for a size change of (dx, dy).
  virtual void Apply(int dx, int dy) = 0;
};

// One registered control.
class SizingLayoutEntry : public SizingLayoutEntryBase {
 public:
  SizingLayoutEntry(SizingLayout* layout, HWND control, BYTE left, BYTE right, BYTE top, BYTE bottom,
                    const CRect& reference);
  ~SizingLayoutEntry() override;
  SizingLayoutEntry(const SizingLayoutEntry&) = delete;
  SizingLayoutEntry& operator=(const SizingLayoutEntry&) = delete;

  // Adds a window placed with this entry and puts it at the reference rectangle now.
  void AddWindow(CWnd* wnd);
  void Apply(int dx, int dy) override;
  // Where a reference rectangle goes for a size change of (dx, dy).
  static CRect Place(const CRect& reference, int left, int right, int top, int bottom, int dx, int dy);

  SizingLayout* m_pLayout;
  SizingLayoutEntry* m_pNext = nullptr;
  SizingLayoutEntry* m_pPrev = nullptr;
  SizingLayoutOwner* m_pOwners = nullptr;
  HWND m_hWnd;
  BYTE m_nLeft, m_nRight, m_nTop, m_nBottom;
  CRect m_rcReference;
};

class SizingLayout {
 public:
  SizingLayout() = default;
  virtual ~SizingLayout();
  SizingLayout(const SizingLayout&) = delete;
  SizingLayout& operator=(const SizingLayout&) = delete;

  // Registers a control with its four percentages; its reference is its
  // present rectangle in the window's client coordinates. Null without a
  // window or control.
  virtual SizingLayoutEntry* AddControl(CWnd* control, BYTE left, BYTE right, BYTE top, BYTE bottom);
  SizingLayoutEntry* AddControl(UINT id, BYTE left, BYTE right, BYTE top, BYTE bottom);

  // Sets the layout up for `wnd`: mode bit 0 allows horizontal, bit 1
  // vertical resizing; the reference size is `size` or the present client
  // size; the minimum `size` or 10 x 10 (in a direction that may not be
  // resized, without `size`: the window's present size); no maximum. With `createGrip` the
  // size grip is made and moves with the lower-right corner.
  void Init(CWnd* wnd, int mode, BOOL createGrip, const CSize* size = nullptr);
  // Applies the present size change to every entry; with `repaint` a
  // visible window is redrawn at once.
  void Reposition(BOOL repaint);
  // The tracking limits of the window (nothing before Init).
  void FillMinMaxInfo(MINMAXINFO* info) const;
  // Deletes every entry and the grip, and forgets the window.
  void RemoveAll();

  void SetMinSize(CSize size) { m_cxMin = size.cx, m_cyMin = size.cy; }
  void SetMaxSize(CSize size) { m_cxMax = size.cx, m_cyMax = size.cy; }
  CSize GetMinSize() const { return CSize(m_cxMin, m_cyMin); }
  CSize GetMaxSize() const { return CSize(m_cxMax, m_cyMax); }
  cdxCSizeIconCtrl* GetSizeGrip() const { return m_pGrip; }

  // The size change of a window with window rectangle `window` and client
  // rectangle `client`, for a reference client size and a minimum size.
  static CSize SizeChange(const CRect& window, const CRect& client, CSize reference, CSize minimum);
  // The tracking limits for a mode, minimum and maximum, over what `info` holds.
  static void TrackingLimits(MINMAXINFO* info, int mode, CSize minimum, CSize maximum);

  SizingLayoutEntry* m_pHead = nullptr;
  CWnd* m_pWnd = nullptr;
  int m_cxRef = 0, m_cyRef = 0;
  int m_cxMin = 10, m_cyMin = 10;
  int m_cxMax = 0, m_cyMax = 0;
  int m_nMode = 3;
  cdxCSizeIconCtrl* m_pGrip = nullptr;
  int m_nGripID = 0xEA20;
};
