#include "arx/palettes.h"

#include <algorithm>

#include "mfc/dc.h"
#include "win/sysparams.h"

IMPLEMENT_DYNAMIC(CAdUiPalette, CWnd)
IMPLEMENT_DYNAMIC(CAdUiPaletteSet, CAdUiDockControlBar)

BEGIN_MESSAGE_MAP(CAdUiPaletteSet, CAdUiDockControlBar)
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_GETMINMAXINFO()
ON_WM_SYSCOMMAND()
ON_MESSAGE(WM_WINDOWPOSCHANGING, &CAdUiPaletteSet::OnWindowPosChanging)
END_MESSAGE_MAP()

namespace {
// The set's title bar, above its palettes; a rolled-up set keeps only this.
constexpr int kTitleHeight = 20;
}

// --- CAdUiPalette ----------------------------------------------------------------------

CAdUiPalette::CAdUiPalette() = default;
CAdUiPalette::~CAdUiPalette() = default;

BOOL CAdUiPalette::Create(DWORD style, LPCTSTR name, CAdUiPaletteSet* parent, DWORD paletteStyle) {
  if (!parent || !parent->m_hWnd) return FALSE;
  m_name = name ? name : "";
  m_paletteStyle = paletteStyle;
  CRect r;
  parent->GetClientRect(&r);
  return CWnd::Create(nullptr, name, style | WS_CHILD, r, parent, 0);
}

BOOL CAdUiPalette::Load(IUnknown*) { return TRUE; }
BOOL CAdUiPalette::Save(IUnknown*) { return TRUE; }
BOOL CAdUiPalette::CanFrameworkTakeFocus() { return TRUE; }

void CAdUiPalette::PostNcDestroy() { delete this; }

// --- CAdUiPaletteSet -------------------------------------------------------------------

CAdUiPaletteSet::CAdUiPaletteSet(int flags) : CAdUiDockControlBar(flags) { m_bAutoDelete = true; }
CAdUiPaletteSet::~CAdUiPaletteSet() = default;

BOOL CAdUiPaletteSet::Create(LPCTSTR name, DWORD style, const RECT& rect, CWnd* parent, DWORD paletteSetStyle) {
  m_setStyle = paletteSetStyle;
  return CAdUiDockControlBar::Create(nullptr, name, (style & ~WS_VISIBLE) | WS_CLIPCHILDREN, rect, parent, 0);
}

CString CAdUiPaletteSet::GetName() const {
  CString name;
  GetWindowText(name);
  return name;
}

void CAdUiPaletteSet::SetName(LPCTSTR name) { SetWindowText(name); }

int CAdUiPaletteSet::AddPalette(CAdUiPalette* palette) {
  if (!m_hWnd || !palette || !palette->m_hWnd) return -1;
  if (std::find(m_palettes.begin(), m_palettes.end(), palette->m_hWnd) != m_palettes.end()) return -1;
  if (::GetParent(palette->m_hWnd) != m_hWnd) ::SetParent(palette->m_hWnd, m_hWnd);
  palette->m_set = this;
  m_palettes.push_back(palette->m_hWnd);
  if (!m_active || !::IsWindow(m_active)) m_active = palette->m_hWnd;
  layoutPalettes();
  return static_cast<int>(m_palettes.size()) - 1;
}

BOOL CAdUiPaletteSet::RemovePalette(CAdUiPalette* palette) {
  if (!palette) return FALSE;
  auto it = std::find(m_palettes.begin(), m_palettes.end(), palette->m_hWnd);
  if (it == m_palettes.end()) return FALSE;
  m_palettes.erase(it);
  palette->m_set = nullptr;
  if (m_active == palette->m_hWnd) m_active = m_palettes.empty() ? nullptr : m_palettes.front();
  layoutPalettes();
  return TRUE;
}

int CAdUiPaletteSet::GetPaletteCount() const {
  return static_cast<int>(std::count_if(m_palettes.begin(), m_palettes.end(), [](HWND h) { return ::IsWindow(h); }));
}

CAdUiPalette* CAdUiPaletteSet::GetPalette(int index) const {
  int i = 0;
  for (HWND h : m_palettes) {
    if (!::IsWindow(h)) continue;
    if (i++ == index) return dynamic_cast<CAdUiPalette*>(CWnd::FromHandlePermanent(h));
  }
  return nullptr;
}

BOOL CAdUiPaletteSet::SetActivePalette(CAdUiPalette* palette) {
  if (!palette || std::find(m_palettes.begin(), m_palettes.end(), palette->m_hWnd) == m_palettes.end()) return FALSE;
  m_active = palette->m_hWnd;
  layoutPalettes();
  return TRUE;
}

CAdUiPalette* CAdUiPaletteSet::GetActivePalette() const {
  return m_active && ::IsWindow(m_active) ? dynamic_cast<CAdUiPalette*>(CWnd::FromHandlePermanent(m_active)) : nullptr;
}

BOOL CAdUiPaletteSet::SetOpacity(int opacity) {
  if (opacity < 0 || opacity > 100) return FALSE;
  m_opacity = opacity;
  return TRUE;
}

void CAdUiPaletteSet::GetMinimumSize(CSize& size) { size = CSize(0, 0); }
void CAdUiPaletteSet::GetMaximumSize(CSize& size) { size = CSize(0x7FFF, 0x7FFF); }

BOOL CAdUiPaletteSet::RollUp() {
  if (!m_hWnd || !IsFloating() || m_rolledUp) return FALSE;
  CRect r;
  GetWindowRect(&r);
  m_unrolledHeight = r.Height();
  m_rolledUp = true;
  SetWindowPos(nullptr, 0, 0, r.Width(), kTitleHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  layoutPalettes();
  return TRUE;
}

BOOL CAdUiPaletteSet::RollOut() {
  if (!m_hWnd || !m_rolledUp) return FALSE;
  m_rolledUp = false;
  CRect r;
  GetWindowRect(&r);
  SetWindowPos(nullptr, 0, 0, r.Width(), m_unrolledHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  layoutPalettes();
  return TRUE;
}

// The active palette fills the client area; the others are hidden.
void CAdUiPaletteSet::layoutPalettes() {
  m_palettes.erase(std::remove_if(m_palettes.begin(), m_palettes.end(), [](HWND h) { return !::IsWindow(h); }),
                   m_palettes.end());
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int height = std::max(0, static_cast<int>(client.Height()) - kTitleHeight);
  for (HWND h : m_palettes) {
    bool shown = h == m_active && !m_rolledUp;
    if (shown)
      ::SetWindowPos(h, nullptr, 0, kTitleHeight, client.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
      ::ShowWindow(h, SW_HIDE);
  }
}

void CAdUiPaletteSet::OnSize(UINT type, int cx, int cy) {
  CAdUiDockControlBar::OnSize(type, cx, cy);
  layoutPalettes();
}

// The face colour behind the palettes and, on top, the title bar with the
// set's name in the classic caption colours.
void CAdUiPaletteSet::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  CRect title(0, 0, client.Width(), std::min<int>(kTitleHeight, client.Height()));
  dc.FillSolidRect(&title, GetSysColor(COLOR_ACTIVECAPTION));
  CFont font;
  LOGFONT lf = platform::messageFont();
  lf.lfWeight = FW_BOLD;
  font.CreateFontIndirect(&lf);
  CFont* old = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(GetSysColor(COLOR_CAPTIONTEXT));
  CRect text = title;
  text.left += 4;
  dc.DrawText(GetName(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  dc.SelectObject(old);
}

void CAdUiPaletteSet::OnGetMinMaxInfo(MINMAXINFO* info) {
  CAdUiDockControlBar::OnGetMinMaxInfo(info);
  if (!info) return;
  CSize low, high;
  GetMinimumSize(low);
  GetMaximumSize(high);
  info->ptMinTrackSize = POINT{low.cx, low.cy};
  info->ptMaxTrackSize = POINT{high.cx, high.cy};
}

LRESULT CAdUiPaletteSet::OnWindowPosChanging(WPARAM, LPARAM lParam) {
  WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  if (!pos || (pos->flags & SWP_NOSIZE)) return 0;
  if (m_rolledUp) {
    pos->cy = kTitleHeight;
    return 0;
  }
  CSize low, high;
  GetMinimumSize(low);
  GetMaximumSize(high);
  const UINT dock = GetDockBarID();
  if (dock == 0 || IsFloating()) {
    // A floating set keeps within its minimum and maximum size.
    pos->cx = std::clamp<int>(pos->cx, low.cx, std::max(low.cx, high.cx));
    pos->cy = std::clamp<int>(pos->cy, low.cy, std::max(low.cy, high.cy));
    return 0;
  }
  // Docked, the dock decides: the set takes the length of its side and keeps
  // only its minimum. Across a left or right dock it is at least as wide as
  // the palette it shows needs, so that nothing of the palette is cut off.
  pos->cx = std::max<int>(pos->cx, low.cx);
  pos->cy = std::max<int>(pos->cy, low.cy);
  if (dock == AFX_IDW_DOCKBAR_LEFT || dock == AFX_IDW_DOCKBAR_RIGHT) pos->cx = std::max(pos->cx, dockedWidth());
  return 0;
}

// The window width that shows the whole of the active palette: the right edge
// of its rightmost visible child, plus the set's frame.
int CAdUiPaletteSet::dockedWidth() const {
  if (!m_hWnd || !m_active || !::IsWindow(m_active)) return 0;
  int right = 0;
  for (HWND child = ::GetWindow(m_active, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    RECT r;
    ::GetWindowRect(child, &r);
    POINT corner{r.right, r.top};
    ::ScreenToClient(m_active, &corner);
    right = std::max<int>(right, corner.x);
  }
  if (right <= 0) return 0;
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  return right + std::max(0, static_cast<int>(window.Width() - client.Width()));
}

void CAdUiPaletteSet::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == SC_CLOSE && !(m_setStyle & PSS_CLOSE_BUTTON)) return;
  CAdUiDockControlBar::OnSysCommand(id, lParam);
}

BOOL CAdUiPaletteSet::OnClosing() { return (m_setStyle & PSS_CLOSE_BUTTON) != 0; }
