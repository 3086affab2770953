#include "mfc/dialog.h"

#include "mfc/winapp.h"
#include "win/transcript.h"
#include "win/winhost.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

namespace {
UINT idOf(LPCTSTR name) { return name && IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) : 0; }
}  // namespace

CDialog::CDialog() = default;
CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}
CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_nIDHelp(idOf(templateName)), m_pParentWnd(parent) {}

HWND CDialog::CreateFromTemplate(HWND parent) {
  std::shared_ptr<const platform::DialogTemplate> tmpl = platform::findDialogTemplate(m_nIDHelp);
  if (!tmpl) {
    platform::transcriptLine("[window system] no dialog template " + std::to_string(m_nIDHelp));
    return nullptr;
  }
  HookWindowCreate();
  HWND hwnd = platform::createDialogFromTemplate(*tmpl, parent, nullptr, 0);
  if (!hwnd) {
    if (!UnhookWindowCreate()) PostNcDestroy();
    return nullptr;
  }
  return hwnd;
}

INT_PTR CDialog::DoModal() {
  CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  HWND owner = parent && parent->m_hWnd ? ::GetAncestor(parent->m_hWnd, GA_ROOT) : nullptr;
  bool enableOwner = owner && ::IsWindowEnabled(owner);
  if (enableOwner) ::EnableWindow(owner, FALSE);
  m_nModalResult = -1;
  INT_PTR result = -1;
  HWND hwnd = CreateFromTemplate(owner);
  if (hwnd) {
    result = platform::runModalDialog(hwnd);
    if (::IsWindow(hwnd)) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (enableOwner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  if (hwnd && ::IsWindow(hwnd)) {
    if (owner && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
    // The object may delete itself with its window: nothing of it is read after.
    ::DestroyWindow(hwnd);
  } else if (owner && ::IsWindow(owner) && !::GetActiveWindow()) {
    ::SetActiveWindow(owner);
  }
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDHelp = templateId;
  m_pParentWnd = parent;
  return CreateFromTemplate(platform::afx::hwndOf(parent)) ? TRUE : FALSE;
}

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) { return Create(idOf(templateName), parent); }

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  if (m_hWnd) ::EndDialog(m_hWnd, result);
}

void CDialog::SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
void CDialog::NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}

void CDialog::PreInitDialog() {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
  // The members go into the controls.
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (CWnd::PreTranslateMessage(msg)) return TRUE;
  // The dialog manager takes the keyboard and mouse input of the dialog.
  bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
  bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
  if (!key && !mouse) return FALSE;
  return IsDialogMessage(msg);
}
