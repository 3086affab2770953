// A test module with dialogs: a modal dialog whose buttons ask further
// questions (a file dialog and a message box, a point, a string sent to the
// command line), a modal dialog whose OK can fail, and a modeless dialog that
// runs a timer, gets a posted message and deletes itself. It registers its
// resources and a window class of its own at start-up and leaves its windows
// for the host to clean up at unload.
#include <cstdio>

#include "arx/arx.h"
#include "mfc/afxwin.h"

namespace {

constexpr UINT kAskTemplate = 900, kModelessTemplate = 910, kStrictTemplate = 920;
constexpr UINT kOwnString = 5001;
constexpr const char* kClassName = "TmDlgClass";

void registerResources() {
  using namespace platform::rc;
  static const platform::DialogControlResource ask[] = {
      EditText(901, 10, 10, 100, 14, ES_AUTOHSCROLL),
      AutoCheckBox("绘图", 902, 10, 30, 50, 10),
      ComboBox(903, 10, 45, 100, 60, CBS_DROPDOWNLIST),
      PushButton("浏览...", 904, 120, 10, 50, 14),
      PushButton("拾取 >", 905, 120, 30, 50, 14),
      PushButton("发送", 906, 120, 50, 50, 14),
      DefPushButton("OK", IDOK, 60, 80, 50, 14),
      PushButton("Cancel", IDCANCEL, 120, 80, 50, 14),
      // Labels: above the edit, above the combo box, and left of edit 907
      // (which has the combo box's label above it too: the one on its row wins).
      LText("姓名", -1, 10, 1, 40, 8),
      LText("类别", -1, 65, 35, 40, 8),
      LText("终止里程", -1, 10, 64, 40, 8),
      EditText(907, 55, 62, 55, 12),
  };
  static const platform::DialogControlResource modeless[] = {
      EditText(911, 10, 10, 100, 14),
      PushButton("关闭", 912, 10, 30, 50, 14),
      PushButton("发送", 913, 70, 30, 50, 14),
  };
  static const platform::DialogControlResource strict[] = {
      EditText(921, 10, 10, 60, 14),
      DefPushButton("OK", IDOK, 10, 30, 50, 14),
      PushButton("Cancel", IDCANCEL, 70, 30, 50, 14),
  };
  static const platform::DialogResource dialogs[] = {
      {kAskTemplate, "测试对话框", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, "宋体", 9, 0, 0, 180, 100, ask},
      {kModelessTemplate, "无模式", WS_POPUP | WS_CAPTION, 0, "宋体", 9, 20, 20, 130, 50, modeless},
      {kStrictTemplate, "严格", DS_MODALFRAME | WS_POPUP | WS_CAPTION, 0, "宋体", 9, 0, 0, 130, 50, strict},
  };
  static const platform::StringResource strings[] = {{kOwnString, "模块的"}};
  platform::registerResources({.dialogs = dialogs, .strings = strings});
}

class CAskDlg : public CDialog {
 public:
  CAskDlg() : CDialog(kAskTemplate) {}
  CString m_name = "无名";
  int m_draw = 0;
  CString m_choice;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 901, m_name);
    DDX_Check(pDX, 902, m_draw);
    DDX_CBString(pDX, 903, m_choice);
  }
  BOOL OnInitDialog() override {
    CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(903));
    for (const char* item : {"甲", "乙", "丙"}) combo->AddString(item);
    return CDialog::OnInitDialog();
  }
  // A file dialog, then a message box.
  afx_msg void OnBrowse() {
    CFileDialog file(TRUE, "mdb", "D:\\proj\\data\\A.mdb", OFN_CREATEPROMPT, "方案数据库(*.mdb)|*.mdb||", this);
    if (file.DoModal() != IDOK) {
      acutPrintf("dlg: browse cancelled\n");
      return;
    }
    int answer = MessageBox("覆盖?", "tm", MB_YESNO);
    acutPrintf("dlg: browse [%s] answer %d\n", file.GetPathName().GetString(), answer);
  }
  // A point from the drawing.
  afx_msg void OnPick() {
    ads_point p = {0, 0, 0};
    int rc = acedGetPoint(nullptr, "\n请在屏幕上采集绘图原点", p);
    acutPrintf("dlg: picked rc=%d %.3f,%.3f\n", rc, p[0], p[1]);
  }
  // A command line sent while the dialog is open.
  afx_msg void OnSend() {
    acDocManager->sendStringToExecute(acDocManager->curDocument(), "DLG_HELLO\n", false, false, true);
    acutPrintf("dlg: sent\n");
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAskDlg, CDialog)
  ON_BN_CLICKED(904, &CAskDlg::OnBrowse)
  ON_BN_CLICKED(905, &CAskDlg::OnPick)
  ON_BN_CLICKED(906, &CAskDlg::OnSend)
END_MESSAGE_MAP()

class CStrictDlg : public CDialog {
 public:
  CStrictDlg() : CDialog(kStrictTemplate) {}
  int m_count = 0;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 921, m_count);
    DDV_MinMaxInt(pDX, m_count, 1, 10);
  }
};

// Deletes itself when its window is gone.
class CModelessDlg : public CDialog {
 public:
  CModelessDlg() : CDialog(kModelessTemplate) {}
  ~CModelessDlg() override { acutPrintf("dlg: modeless deleted\n"); }

  void PostNcDestroy() override { delete this; }
  afx_msg void OnTimer(UINT_PTR id) { acutPrintf("dlg: tick %u\n", static_cast<unsigned>(id)); }
  LRESULT OnApp(WPARAM wParam, LPARAM) {
    acutPrintf("dlg: app message %u\n", static_cast<unsigned>(wParam));
    return 0;
  }
  afx_msg void OnTextChange() {
    CString text;
    GetDlgItemText(911, text);
    acutPrintf("dlg: modeless text [%s]\n", text.GetString());
  }
  // Posts itself a message, then ends: the message is never delivered.
  afx_msg void OnCloseButton() {
    PostMessage(WM_APP, 2);
    DestroyWindow();
  }
  afx_msg void OnSend() {
    acDocManager->sendStringToExecute(acDocManager->curDocument(), "DLG_HELLO\n", false, false, true);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModelessDlg, CDialog)
  ON_WM_TIMER()
  ON_MESSAGE(WM_APP, &CModelessDlg::OnApp)
  ON_EN_CHANGE(911, &CModelessDlg::OnTextChange)
  ON_BN_CLICKED(912, &CModelessDlg::OnCloseButton)
  ON_BN_CLICKED(913, &CModelessDlg::OnSend)
END_MESSAGE_MAP()

LRESULT CALLBACK plainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) acutPrintf("dlg: plain window gone\n");
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void registerClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &plainWindowProc;
  wc.lpszClassName = kClassName;
  RegisterClass(&wc);
}

void DlgAsk() {
  CAskDlg dlg;
  INT_PTR result = dlg.DoModal();
  acutPrintf("dlg: result %d name [%s] draw %d choice [%s]\n", static_cast<int>(result), dlg.m_name.GetString(),
             dlg.m_draw, dlg.m_choice.GetString());
}

void DlgStrict() {
  CStrictDlg dlg;
  INT_PTR result = dlg.DoModal();
  acutPrintf("dlg: strict result %d count %d\n", static_cast<int>(result), dlg.m_count);
}

void DlgHello() { acutPrintf("dlg: hello\n"); }

// A modeless dialog with a timer and a posted message, and a window of the
// module's own class.
void DlgOpen() {
  CModelessDlg* dlg = new CModelessDlg;
  if (!dlg->Create(kModelessTemplate)) return;
  dlg->ShowWindow(SW_SHOW);
  dlg->SetTimer(1, 100);
  dlg->PostMessage(WM_APP, 1);
  CreateWindowEx(0, kClassName, "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  acutPrintf("dlg: opened\n");
}

void DlgName() {
  char name[ACED_INPUT_BUFFER] = "";
  int rc = acedGetString(1, "Name: ", name);
  acutPrintf("dlg: name rc=%d [%s]\n", rc, name);
}

// The module's own string, and one of another module's string table.
void DlgStrings() {
  CString own, other;
  BOOL a = own.LoadString(kOwnString);
  BOOL b = other.LoadString(4711);
  acutPrintf("dlg: strings %d [%s] %d [%s]\n", a, own.GetString(), b, other.GetString());
}

void addCommands() {
  AcEdCommandStack* stack = acedRegCmds;
  struct Entry {
    const char* name;
    AcRxFunctionPtr fn;
  } const commands[] = {{"DLG_ASK", &DlgAsk},   {"DLG_STRICT", &DlgStrict}, {"DLG_HELLO", &DlgHello},
                        {"DLG_OPEN", &DlgOpen}, {"DLG_NAME", &DlgName},     {"DLG_STRINGS", &DlgStrings}};
  for (const Entry& e : commands) stack->addCommand("TM_DIALOGS", e.name, e.name, ACRX_CMD_MODAL, e.fn);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      registerResources();
      registerClass();
      addCommands();
      break;
    case AcRx::kUnloadAppMsg:
      // The module leaves its windows, timers and class to the host.
      acutPrintf("dlg: unload\n");
      acedRegCmds->removeGroup("TM_DIALOGS");
      break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
