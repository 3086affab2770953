// The resizing layout of a dialog and its size grip.
#include "controls/SizingLayout.h"

#include <algorithm>

#include "mfc/dc.h"
#include "win/sysparams.h"

// ---- the size grip ----

BEGIN_MESSAGE_MAP(cdxCSizeIconCtrl, CScrollBar)
  ON_WM_PAINT()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL cdxCSizeIconCtrl::Create(CWnd* parent, UINT id) {
  if (!parent || !parent->GetSafeHwnd()) return FALSE;
  CRect client;
  parent->GetClientRect(&client);
  // A child size box aligned to the lower-right corner of that rectangle.
  return CScrollBar::Create(WS_CHILD | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN, client, parent, id);
}

bool cdxCSizeIconCtrl::Showing() const {
  CWnd* parent = GetParent();
  return parent && (!parent->IsZoomed() || !m_bHideWhenMaximised);
}

void cdxCSizeIconCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect r;
  GetClientRect(&r);
  dc.FillSolidRect(&r, GetSysColor(COLOR_3DFACE));
  if (!Showing()) return;
  // The grip: three pairs of diagonal lines, light over shadow, ending in the
  // lower-right corner.
  CPen light(PS_SOLID, 1, GetSysColor(COLOR_3DHIGHLIGHT));
  CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
  CPen* old = dc.SelectObject(&shadow);
  for (int k = 0; k < 3; ++k) {
    int d = 4 * k + 3;
    for (int line = 0; line < 2; ++line) {
      dc.SelectObject(line == 0 ? &light : &shadow);
      int e = d - line;
      if (e <= 0 || e > std::min(r.Width(), r.Height())) continue;
      dc.MoveTo(r.right - e, r.bottom);
      dc.LineTo(r.right, r.bottom - e);
    }
  }
  dc.SelectObject(old);
}

BOOL cdxCSizeIconCtrl::OnSetCursor(CWnd*, UINT hitTest, UINT) {
  if (Showing()) SetCursor(hitTest == HTCLIENT ? LoadCursor(nullptr, IDC_SIZENWSE) : nullptr);
  return TRUE;
}

// ---- entries ----

SizingLayoutEntry::SizingLayoutEntry(SizingLayout* layout, HWND control, BYTE left, BYTE right, BYTE top,
                                     BYTE bottom, const CRect& reference)
    : m_pLayout(layout),
      m_hWnd(control),
      m_nLeft(left),
      m_nRight(right),
      m_nTop(top),
      m_nBottom(bottom),
      m_rcReference(reference) {}

SizingLayoutEntry::~SizingLayoutEntry() {
  while (m_pOwners) {
    SizingLayoutOwner* next = m_pOwners->m_pNext;
    delete m_pOwners;
    m_pOwners = next;
  }
}

namespace {

// Keeps the z-order and the activation and copies no bits.
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;

void place(HWND wnd, const CRect& r) {
  if (IsWindow(wnd)) SetWindowPos(wnd, nullptr, r.left, r.top, r.Width(), r.Height(), kPlaceFlags);
}

}  // namespace

void SizingLayoutEntry::AddWindow(CWnd* wnd) {
  if (!wnd || !wnd->GetSafeHwnd()) return;
  auto* node = new SizingLayoutOwner;
  node->m_hWnd = wnd->GetSafeHwnd();
  node->m_pNext = m_pOwners;
  m_pOwners = node;
  place(node->m_hWnd, m_rcReference);
}

CRect SizingLayoutEntry::Place(const CRect& reference, int left, int right, int top, int bottom, int dx, int dy) {
  return CRect(reference.left + left * dx / 100, reference.top + top * dy / 100, reference.right + right * dx / 100,
               reference.bottom + bottom * dy / 100);
}

void SizingLayoutEntry::Apply(int dx, int dy) {
  CRect r = Place(m_rcReference, m_nLeft, m_nRight, m_nTop, m_nBottom, dx, dy);
  place(m_hWnd, r);
  for (SizingLayoutOwner* o = m_pOwners; o; o = o->m_pNext) place(o->m_hWnd, r);
}

// ---- the layout ----

SizingLayout::~SizingLayout() { RemoveAll(); }

SizingLayoutEntry* SizingLayout::AddControl(CWnd* control, BYTE left, BYTE right, BYTE top, BYTE bottom) {
  if (!m_pWnd || !m_pWnd->GetSafeHwnd() || !control || !control->GetSafeHwnd()) return nullptr;
  CRect r;
  control->GetWindowRect(&r);
  m_pWnd->ScreenToClient(&r);
  auto* entry = new SizingLayoutEntry(this, control->GetSafeHwnd(), left, right, top, bottom, r);
  entry->m_pNext = m_pHead;
  if (m_pHead) m_pHead->m_pPrev = entry;
  m_pHead = entry;
  return entry;
}

SizingLayoutEntry* SizingLayout::AddControl(UINT id, BYTE left, BYTE right, BYTE top, BYTE bottom) {
  if (!m_pWnd || !m_pWnd->GetSafeHwnd()) return nullptr;
  return AddControl(m_pWnd->GetDlgItem(static_cast<int>(id)), left, right, top, bottom);
}

void SizingLayout::Init(CWnd* wnd, int mode, BOOL createGrip, const CSize* size) {
  m_pWnd = wnd;
  m_nMode = mode;
  CRect client(0, 0, 0, 0);
  if (wnd && wnd->GetSafeHwnd()) wnd->GetClientRect(&client);
  m_cxRef = size ? size->cx : client.Width();
  m_cyRef = size ? size->cy : client.Height();
  m_cxMin = size ? size->cx : 10;
  m_cyMin = size ? size->cy : 10;
  m_cxMax = m_cyMax = 0;
  // A direction the window may not be resized in keeps the window's size:
  // its tracking range is the minimum alone, and a 10-pixel minimum would
  // fold the window up at the first drag of the grip.
  CRect window(0, 0, 0, 0);
  if (!size && wnd && wnd->GetSafeHwnd()) {
    wnd->GetWindowRect(&window);
    if (!(mode & 1)) m_cxMin = std::max(m_cxMin, static_cast<int>(window.Width()));
    if (!(mode & 2)) m_cyMin = std::max(m_cyMin, static_cast<int>(window.Height()));
  }
  if (createGrip && wnd && wnd->GetSafeHwnd() && !m_pGrip) {
    auto* grip = new cdxCSizeIconCtrl;
    if (grip->Create(wnd, static_cast<UINT>(m_nGripID))) {
      m_pGrip = grip;
      AddControl(grip, 100, 100, 100, 100);
      grip->ShowWindow(SW_SHOW);
    } else {
      delete grip;
    }
  }
}

CSize SizingLayout::SizeChange(const CRect& window, const CRect& client, CSize reference, CSize minimum) {
  int right = client.right + std::max(0, static_cast<int>(minimum.cx - window.Width()));
  int bottom = client.bottom + std::max(0, static_cast<int>(minimum.cy - window.Height()));
  return CSize(right - reference.cx - client.left, bottom - reference.cy - client.top);
}

void SizingLayout::Reposition(BOOL repaint) {
  if (!m_pWnd || !m_pWnd->GetSafeHwnd()) return;
  CRect client, window;
  m_pWnd->GetClientRect(&client);
  m_pWnd->GetWindowRect(&window);
  CSize d = SizeChange(window, client, CSize(m_cxRef, m_cyRef), CSize(m_cxMin, m_cyMin));
  for (SizingLayoutEntry* e = m_pHead; e; e = e->m_pNext) e->Apply(d.cx, d.cy);
  // The whole dialog, its controls with it (a control that only moved is
  // not invalidated by its move), redrawn at once.
  if (repaint && m_pWnd->IsWindowVisible())
    m_pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SizingLayout::TrackingLimits(MINMAXINFO* info, int mode, CSize minimum, CSize maximum) {
  if (!info) return;
  info->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
  if (!(mode & 1))
    info->ptMaxTrackSize.x = minimum.cx;
  else if (maximum.cx)
    info->ptMaxTrackSize.x = maximum.cx;
  if (!(mode & 2))
    info->ptMaxTrackSize.y = minimum.cy;
  else if (maximum.cy)
    info->ptMaxTrackSize.y = maximum.cy;
}

void SizingLayout::FillMinMaxInfo(MINMAXINFO* info) const {
  if (!m_pWnd || !m_pWnd->GetSafeHwnd()) return;
  TrackingLimits(info, m_nMode, CSize(m_cxMin, m_cyMin), CSize(m_cxMax, m_cyMax));
}

void SizingLayout::RemoveAll() {
  while (m_pHead) {
    SizingLayoutEntry* next = m_pHead->m_pNext;
    delete m_pHead;
    m_pHead = next;
  }
  if (m_pGrip) {
    if (m_pGrip->GetSafeHwnd()) m_pGrip->DestroyWindow();
    delete m_pGrip;
    m_pGrip = nullptr;
  }
  m_pWnd = nullptr;
}
