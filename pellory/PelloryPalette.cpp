// The palette of HDMDMX: its set, its palette and their input dialogs.

#include "PelloryPalette.h"

#include <algorithm>

#include "PelloryDlg.h"
#include "arx/acui.h"
#include "arx/arx.h"
#include "resources/PelloryResources.h"

namespace {

// The input dialog's size when made; it is never narrower than that.
constexpr int kDialogWidth = 500, kDialogHeight = 800;

// The palette-set style: auto roll-up, properties menu, close button and
// editable name (2 + 4 + 8 + 16); the palette's: editable name.
constexpr DWORD kPaletteSetStyle = PSS_AUTO_ROLLUP | PSS_PROPERTIES_MENU | PSS_CLOSE_BUTTON | PSS_EDIT_NAME;
constexpr DWORD kPaletteStyle = PS_EDIT_NAME;

// The windows of the sets made, so that the module can close them at unload;
// a set the host closed meanwhile is skipped.
std::vector<HWND>& MadeSets() {
  static std::vector<HWND> sets;
  return sets;
}

}  // namespace

// ---- CMyPalette -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMyPalette, CAdUiPalette)
  ON_WM_CTLCOLOR()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CMyPalette::CMyPalette() { m_background.CreateSolidBrush(RGB(255, 255, 255)); }

CMyPalette::~CMyPalette() {
  delete m_dlg;
  m_background.DeleteObject();
}

void CMyPalette::CreateInputDialog() {
  m_dlg = new CPelloryDlg(this);
  m_dlg->Create(pellory_rc::kInputDlg, this);
  m_dlg->SetWindowPos(nullptr, 0, 0, kDialogWidth, kDialogHeight, SWP_SHOWWINDOW);
  m_dlg->ShowWindow(SW_SHOWNORMAL);
}

// The dialog fills the palette, so that the room the dock gives reaches its
// grids; it keeps its width (a narrower palette shows its left part, and a
// docked set is made wide enough for it).
void CMyPalette::OnSize(UINT type, int cx, int cy) {
  CAdUiPalette::OnSize(type, cx, cy);
  if (m_dlg && m_dlg->m_hWnd && cx > 0 && cy > 0)
    m_dlg->SetWindowPos(nullptr, 0, 0, std::max(cx, kDialogWidth), cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMyPalette::CanFrameworkTakeFocus() {
  CAdUiPaletteSet* set = GetPaletteSet();
  return set && set->IsFloating() ? TRUE : FALSE;
}

BOOL CMyPalette::Load(IUnknown* state) { return CAdUiPalette::Load(state); }

HBRUSH CMyPalette::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  CAdUiPalette::OnCtlColor(dc, wnd, ctlColor);
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(m_background.GetSafeHandle());
}

// ---- CMyPaletteSet ----------------------------------------------------------------------------

CMyPaletteSet::CMyPaletteSet() = default;
CMyPaletteSet::~CMyPaletteSet() {
  auto& sets = MadeSets();
  sets.erase(std::remove(sets.begin(), sets.end(), m_hWnd), sets.end());
}

BOOL CMyPaletteSet::PreTranslateMessage(MSG* msg) {
  // A double click on the set goes to the plain window handling.
  if (msg->message == WM_LBUTTONDBLCLK) return CWnd::PreTranslateMessage(msg);
  return CAdUiPaletteSet::PreTranslateMessage(msg);
}

void CMyPaletteSet::GetMinimumSize(CSize& size) { size = CSize(100, 100); }
void CMyPaletteSet::GetMaximumSize(CSize& size) { size = CSize(400, 400); }

// ---- the command's palette ------------------------------------------------------------------

void CreateGroundLinePalette() {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  auto* set = new CMyPaletteSet;
  if (!set->Create("Selvic - 地面线录入对话框", WS_OVERLAPPED | WS_DLGFRAME, CRect(0, 0, 500, 550), frame,
                   kPaletteSetStyle)) {
    delete set;
    acutPrintf("\n无法建立地面线录入面板。\n");
    return;
  }
  MadeSets().push_back(set->m_hWnd);
  auto* palette = new CMyPalette;
  if (!palette->Create(WS_CHILD | WS_VISIBLE, "地面线对话框", set, kPaletteStyle)) {
    delete palette;
    set->DestroyWindow();
    acutPrintf("\n无法建立地面线录入面板。\n");
    return;
  }
  palette->CreateInputDialog();
  set->AddPalette(palette);
  set->EnableDocking(CBRS_ALIGN_LEFT);
  set->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT);
  if (frame) {
    frame->DockControlBar(set, AFX_IDW_DOCKBAR_LEFT);
    frame->ShowControlBar(set, TRUE, FALSE);
  }
  if (set->GetOpacity() != 100) set->SetOpacity(100);
}

std::vector<CMyPaletteSet*> GroundLinePaletteSets() {
  std::vector<CMyPaletteSet*> sets;
  for (HWND h : MadeSets())
    if (auto* set = dynamic_cast<CMyPaletteSet*>(CWnd::FromHandlePermanent(h)); set && ::IsWindow(h))
      sets.push_back(set);
  return sets;
}

CPelloryDlg* InputDialogOf(CMyPaletteSet* set) {
  if (!set) return nullptr;
  auto* palette = dynamic_cast<CMyPalette*>(set->GetPalette(0));
  return palette ? palette->InputDialog() : nullptr;
}

void CloseGroundLinePalettes() {
  // The frame gives the set's dock place up as the set goes.
  const std::vector<HWND> sets = MadeSets();
  for (HWND h : sets)
    if (::IsWindow(h)) ::DestroyWindow(h);
  MadeSets().clear();
}
