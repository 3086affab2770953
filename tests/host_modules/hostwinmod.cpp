// A test module of the host's windows, built twice (HOSTWIN_TAG a and b; only
// a has the menu resource 19): a popup menu loaded from the module's own
// resources, a palette set holding a palette with a dialog (as the ground-line
// input makes it), and a dock bar holding a dialog with a tree (as the
// navigator makes it). It leaves its palette set and its bar to the host at
// unload.
#include <string>

#include "arx/acui.h"
#include "arx/arx.h"
#include "mfc/afxwin.h"

#define HW_STR2(x) #x
#define HW_STR(x) HW_STR2(x)
#define HW_TAG HW_STR(HOSTWIN_TAG)

namespace {

constexpr UINT kInputTemplate = 960, kTreeTemplate = 961, kTreeId = 206;

std::string name(const char* suffix) {
  std::string n = std::string("HW") + HW_TAG + "_" + suffix;
  for (char& c : n)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return n;
}

void registerResources() {
  using namespace platform::rc;
  static const platform::DialogControlResource input[] = {EditText(962, 10, 10, 100, 14)};
  static const platform::DialogControlResource tree[] = {
      Control("", kTreeId, WC_TREEVIEW, TVS_HASBUTTONS | TVS_LINESATROOT | WS_TABSTOP, 0, 0, 100, 200)};
  static const platform::DialogResource dialogs[] = {
      {kInputTemplate, "地面线", WS_CHILD, 0, "宋体", 9, 0, 0, 200, 300, input},
      {kTreeTemplate, "方案树", WS_CHILD, 0, "宋体", 9, 0, 0, 101, 221, tree},
  };
#if HOSTWIN_MENU
  // The grid's context menu: the first submenu of resource 19.
  static const platform::MenuItemResource items[] = {{"表格", 0, MF_POPUP | MF_END},
                                                     {"增加行", 0, MF_POPUP},
                                                     {"之前增加", 21, 0},
                                                     {"之后增加", 23, MF_END},
                                                     {"删除行", 17, MF_END}};
  static const platform::MenuResource menus[] = {{19, items}};
  platform::registerResources({.dialogs = dialogs, .menus = menus});
#else
  platform::registerResources({.dialogs = dialogs});
#endif
}

void HwMenu() {
  CMenu menu;
  if (!menu.LoadMenu(19)) {
    acutPrintf("hw %s: no menu 19\n", HW_TAG);
    return;
  }
  CMenu* sub = menu.GetSubMenu(0);
  UINT chosen = static_cast<UINT>(sub->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 10, 10, acedGetAcadFrame()));
  acutPrintf("hw %s: menu chose %u\n", HW_TAG, chosen);
}

// --- the palette ----------------------------------------------------------------------

class CInputDlg : public CDialog {
 public:
  CInputDlg(CWnd* parent) : CDialog(kInputTemplate, parent) {}
  ~CInputDlg() override { acutPrintf("hw %s: input dialog deleted\n", HW_TAG); }
};

class CMyPalette : public CAdUiPalette {
 public:
  ~CMyPalette() override {
    delete m_dlg;
    acutPrintf("hw %s: palette deleted\n", HW_TAG);
  }
  void CreateInputDialog() {
    m_dlg = new CInputDlg(this);
    m_dlg->Create(kInputTemplate, this);
    m_dlg->SetWindowPos(nullptr, 0, 0, 500, 800, SWP_SHOWWINDOW);
    m_dlg->ShowWindow(SW_SHOWNORMAL);
  }
  CInputDlg* m_dlg = nullptr;
};

class CMyPaletteSet : public CAdUiPaletteSet {
 public:
  ~CMyPaletteSet() override { acutPrintf("hw %s: palette set deleted\n", HW_TAG); }
  void GetMinimumSize(CSize& size) override { size = CSize(100, 100); }
  void GetMaximumSize(CSize& size) override { size = CSize(400, 400); }
};

CMyPaletteSet* g_lastSet = nullptr;

void HwPalette() {
  CMyPaletteSet* set = new CMyPaletteSet;
  set->Create("Selvic - 地面线录入对话框", WS_OVERLAPPED | WS_DLGFRAME, CRect(0, 0, 500, 550), acedGetAcadFrame(),
              PSS_AUTO_ROLLUP | PSS_PROPERTIES_MENU | PSS_CLOSE_BUTTON | PSS_EDIT_NAME);
  CMyPalette* palette = new CMyPalette;
  palette->Create(WS_CHILD | WS_VISIBLE, "地面线对话框", set, PS_EDIT_NAME);
  palette->CreateInputDialog();
  set->AddPalette(palette);
  set->EnableDocking(CBRS_ALIGN_LEFT);
  set->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT);
  acedGetAcadFrame()->DockControlBar(set, AFX_IDW_DOCKBAR_LEFT);
  acedGetAcadFrame()->ShowControlBar(set, TRUE, FALSE);
  if (set->GetOpacity() != 100) set->SetOpacity(100);
  g_lastSet = set;
  CRect r;
  set->GetWindowRect(&r);
  CRect p;
  palette->GetWindowRect(&p);
  acutPrintf("hw %s: palette set %dx%d in %u, palette %dx%d, %d palette(s), input dialog %s\n", HW_TAG, r.Width(),
             r.Height(), set->GetDockBarID(), p.Width(), p.Height(), set->GetPaletteCount(),
             palette->m_dlg->IsWindowVisible() ? "shown" : "hidden");
}

// --- the dock bar ---------------------------------------------------------------------

class CTreeDlg : public CDialog {
 public:
  CTreeDlg() : CDialog(kTreeTemplate) {}
  ~CTreeDlg() override { acutPrintf("hw %s: tree dialog deleted\n", HW_TAG); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    CTreeCtrl* tree = static_cast<CTreeCtrl*>(GetDlgItem(kTreeId));
    HTREEITEM scheme = tree->InsertItem("方案1");
    HTREEITEM input = tree->InsertItem("输入数据", scheme);
    tree->InsertItem("曲线表", input);
    tree->Expand(scheme, TVE_EXPAND);
    return TRUE;
  }
  afx_msg void OnTreeClick(NMHDR*, LRESULT* result) {
    *result = 0;
    acutPrintf("hw %s: tree click\n", HW_TAG);
  }
  afx_msg void OnTreeDblClk(NMHDR*, LRESULT* result) {
    *result = 0;
    CTreeCtrl* tree = static_cast<CTreeCtrl*>(GetDlgItem(kTreeId));
    acutPrintf("hw %s: tree open [%s]\n", HW_TAG, tree->GetItemText(tree->GetSelectedItem()).GetString());
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeDlg, CDialog)
  ON_NOTIFY(NM_CLICK, kTreeId, &CTreeDlg::OnTreeClick)
  ON_NOTIFY(NM_DBLCLK, kTreeId, &CTreeDlg::OnTreeDblClk)
END_MESSAGE_MAP()

class CMyDockControlBar : public CAdUiDockControlBar {
 public:
  CMyDockControlBar() : CAdUiDockControlBar(1) {}
  ~CMyDockControlBar() override { acutPrintf("hw %s: bar deleted\n", HW_TAG); }

  BOOL Create(CWnd* parent, LPCTSTR title) {
    CString cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
    if (!CAdUiDockControlBar::Create(cls, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 200, 400),
                                     parent, 0))
      return FALSE;
    static const CLSID toolId{0x45D8E5DE, 0xAA69, 0x4611, {0x8F, 0xEB, 0xB2, 0xA6, 0xBE, 0xE8, 0xFB, 0x47}};
    SetToolID(&toolId);
    return TRUE;
  }
  BOOL OnClosing() override {
    delete m_child;
    m_child = nullptr;
    return CAdUiDockControlBar::OnClosing();
  }
  void SizeChanged(CRect* rect, BOOL floating, int) override {
    acutPrintf("hw %s: bar size changed %dx%d%s\n", HW_TAG, rect->Width(), rect->Height(), floating ? " floating" : "");
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CAdUiDockControlBar::OnCreate(cs) == -1) return -1;
    m_child = new CTreeDlg;
    m_child->Create(kTreeTemplate, this);
    m_child->MoveWindow(0, 0, 200, 400);
    m_child->ShowWindow(SW_SHOW);
    acutPrintf("hw %s: bar create\n", HW_TAG);
    return 0;
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CAdUiDockControlBar::OnSize(type, cx, cy);
    acutPrintf("hw %s: bar size %dx%d\n", HW_TAG, cx, cy);
    if (m_child) m_child->MoveWindow(1, 2, cx, cy);
  }
  afx_msg void OnSysCommand(UINT id, LPARAM lParam) {
    acutPrintf("hw %s: bar syscommand %04X\n", HW_TAG, id);
    CAdUiDockControlBar::OnSysCommand(id, lParam);
  }
  CTreeDlg* m_child = nullptr;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMyDockControlBar, CAdUiDockControlBar)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CMyDockControlBar* g_bar = nullptr;

void HwBar() {
  if (g_bar) {
    g_bar->OnClosing();
    delete g_bar;
    g_bar = nullptr;
  }
  g_bar = new CMyDockControlBar;
  g_bar->Create(acedGetAcadFrame(), "方案数据库");
  g_bar->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  g_bar->SetWindowText("方案数据库");
  g_bar->RestoreControlBar(AFX_IDW_DOCKBAR_LEFT, nullptr);
  acedGetAcadFrame()->ShowControlBar(g_bar, TRUE, FALSE);
  acutPrintf("hw %s: bar in %u, tool id %s\n", HW_TAG, g_bar->GetDockBarID(),
             platform::classIdText(g_bar->GetToolID()).c_str());
}

// The bar is made wider and closed by its close command (it hides).
void HwBarResize() {
  if (!g_bar) return;
  CRect r;
  g_bar->GetWindowRect(&r);
  g_bar->SetWindowPos(nullptr, 0, 0, 260, r.Height(), SWP_NOMOVE | SWP_NOZORDER);
  if (g_lastSet) {
    g_lastSet->SetWindowPos(nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    g_lastSet->GetWindowRect(&r);
    acutPrintf("hw %s: palette set asked 50x50, got %dx%d\n", HW_TAG, r.Width(), r.Height());
  }
  acedGetAcadFrame()->RecalcLayout();
}

void HwBarClose() {
  if (!g_bar) return;
  g_bar->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  acutPrintf("hw %s: bar %s, child %s\n", HW_TAG, g_bar->IsWindowVisible() ? "shown" : "hidden",
             g_bar->m_child ? "kept" : "gone");
}

void addCommands() {
  std::string group = name("GROUP");
  struct Entry {
    const char* suffix;
    AcRxFunctionPtr fn;
  } const commands[] = {{"MENU", &HwMenu},       {"PALETTE", &HwPalette}, {"BAR", &HwBar},
                        {"RESIZE", &HwBarResize}, {"CLOSE", &HwBarClose}};
  for (const Entry& e : commands) {
    std::string n = name(e.suffix);
    acedRegCmds->addCommand(group.c_str(), n.c_str(), n.c_str(), ACRX_CMD_MODAL, e.fn);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      registerResources();
      addCommands();
      break;
    case AcRx::kUnloadAppMsg:
      // Leaves its palette set and its bar to the host.
      acutPrintf("hw %s: unload\n", HW_TAG);
      acedRegCmds->removeGroup(name("GROUP").c_str());
      break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
