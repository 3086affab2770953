#pragma once
// A dialog for the tests of the class library's windows: template 700 with an
// edit, two combo boxes, a check box, two radio buttons, an up-down with its
// buddy, a number edit and OK/Cancel; the dialog writes down every command
// and notification it gets, and exchanges its members with the controls.

#include <string>
#include <vector>

#include "mfc/afxwin.h"
#include "window_support.h"

namespace dialogtest {

constexpr UINT kTemplate = 700;
constexpr int kButton3 = 3, kEdit = 1001, kList = 1002, kCombo = 1003, kCheck = 1004, kRadio0 = 1005, kRadio1 = 1006,
              kBuddy = 1007, kUpDown = 1008, kCount = 1009, kRatio = 1012;

inline void registerTemplate() {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      PushButton("Three", kButton3, 10, 10, 40, 14),
      EditText(kEdit, 10, 30, 80, 14, ES_AUTOHSCROLL),
      ComboBox(kList, 100, 30, 80, 100, CBS_DROPDOWNLIST | WS_VSCROLL),
      ComboBox(kCombo, 100, 50, 80, 100, CBS_DROPDOWN | WS_VSCROLL),
      AutoCheckBox("Check", kCheck, 10, 50, 50, 10),
      GroupBox("Group", -1, 5, 60, 110, 20),
      AutoRadioButton("R0", kRadio0, 10, 65, 40, 10, WS_GROUP),
      AutoRadioButton("R1", kRadio1, 60, 65, 40, 10),
      EditText(kBuddy, 10, 85, 40, 14, WS_GROUP),
      UpDown(kUpDown, 50, 85, 10, 14, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS),
      EditText(kCount, 10, 105, 40, 14),
      EditText(kRatio, 60, 105, 40, 14),
      DefPushButton("OK", IDOK, 100, 130, 40, 14),
      PushButton("Cancel", IDCANCEL, 150, 130, 40, 14),
  };
  static const platform::DialogResource dialogs[] = {
      {kTemplate, "测试", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, "宋体", 9, 0, 0, 200, 160, controls},
  };
  platform::registerResources({.dialogs = dialogs});
}

inline std::string command(int id, int code) { return "command " + std::to_string(id) + " " + std::to_string(code); }
inline std::string notify(int id, int code, int delta) {
  return "notify " + std::to_string(id) + " " + std::to_string(code) + " " + std::to_string(delta);
}

class CLogDlg : public CDialog {
 public:
  CLogDlg() : CDialog(kTemplate) {}

  std::vector<std::string> log;
  CString m_text = "init";
  int m_pick = 0;
  CString m_typed;
  int m_check = 0;
  int m_radio = 0;
  int m_count = 5;
  double m_ratio = 0.7;
  bool m_okWithoutData = false;  // OnOK ends the dialog without reading the controls
  bool m_refuseSteps = false;    // UDN_DELTAPOS answers "no"
  bool m_setFocusItself = false; // OnInitDialog puts the focus on the count and answers FALSE
  bool m_consumePageDown = false;
  int m_focusAtCancel = 0;
  int m_focusAfterOk = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kEdit, m_text);
    DDX_CBIndex(pDX, kList, m_pick);
    DDX_CBString(pDX, kCombo, m_typed);
    DDX_Check(pDX, kCheck, m_check);
    DDX_Radio(pDX, kRadio0, m_radio);
    DDX_Text(pDX, kCount, m_count);
    DDV_MinMaxInt(pDX, m_count, 1, 100000);
    DDX_Text(pDX, kRatio, m_ratio);
  }

  BOOL OnInitDialog() override {
    CComboBox* list = static_cast<CComboBox*>(GetDlgItem(kList));
    for (const char* item : {"Alpha", "Beta", "Gamma"}) list->AddString(item);
    CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(kCombo));
    for (const char* item : {"One", "Two"}) combo->AddString(item);
    CDialog::OnInitDialog();
    if (m_setFocusItself) {
      GetDlgItem(kCount)->SetFocus();
      return FALSE;
    }
    return TRUE;
  }

  void OnOK() override {
    log.push_back("OnOK");
    if (m_okWithoutData) {
      EndDialog(IDOK);
      return;
    }
    CDialog::OnOK();
    m_focusAfterOk = focusId();
  }

  void OnCancel() override {
    CWnd* focus = GetFocus();
    m_focusAtCancel = focus ? focus->GetDlgCtrlID() : 0;
    CDialog::OnCancel();
  }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    log.push_back(command(LOWORD(wParam), HIWORD(wParam)));
    return CDialog::OnCommand(wParam, lParam);
  }

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
    int delta = nm->code == UDN_DELTAPOS ? reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta : 0;
    log.push_back(notify(static_cast<int>(nm->idFrom), static_cast<int>(nm->code), delta));
    if (m_refuseSteps && nm->code == UDN_DELTAPOS) {
      *result = 1;
      return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
  }

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_NEXT) {
      log.push_back("pretranslate PageDown at " + std::to_string(::GetDlgCtrlID(msg->hwnd)));
      if (m_consumePageDown) return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
  }

  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar*) {
    log.push_back("vscroll " + std::to_string(code) + " " + std::to_string(static_cast<short>(pos)));
  }

  int focusId() const {
    HWND f = ::GetFocus();
    return f ? ::GetDlgCtrlID(f) : 0;
  }

  DECLARE_MESSAGE_MAP()
};

class DialogTest : public windowtest::WindowTest {
 protected:
  void SetUp() override {
    windowtest::WindowTest::SetUp();
    registerTemplate();
  }
};

}  // namespace dialogtest
