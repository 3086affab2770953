#pragma once
// CDialog: a dialog made from a template of the running module's resources
// (win/resources.h).
//
// DoModal disables the parent's top-level window, creates the dialog, runs
// its modal loop (answered from the script: win/userinput.h) until EndDialog
// or the dialog's destruction from any depth, and destroys it; it returns the
// EndDialog result, or -1 when the template is missing or the dialog was
// destroyed without one. Create makes a modeless dialog (shown when its
// template has WS_VISIBLE, else by ShowWindow); its EndDialog only hides it.
//
// OnInitDialog (the base fills the controls with UpdateData(FALSE)) returns
// TRUE for the dialog manager to give the focus to the first control that
// takes it, FALSE when it set the focus itself; the dialog opens either way.
// OnOK reads the controls (UpdateData(TRUE)) and ends the dialog with IDOK
// only when that succeeds; OnCancel ends it with IDCANCEL.

#include "mfc/wnd.h"

class PLATFORM_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);

  virtual INT_PTR DoModal();
  using CWnd::Create;
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL Create(LPCTSTR templateName, CWnd* parent = nullptr);
  void EndDialog(int result);

  void SetDefID(UINT id);
  DWORD GetDefID() const;
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL PreTranslateMessage(MSG* msg) override;

  UINT m_nIDHelp = 0;  // the template id
  CWnd* m_pParentWnd = nullptr;

 protected:
  virtual void PreInitDialog();
  LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

  INT_PTR m_nModalResult = -1;

 private:
  // Creates the window from the template (modal: under `parent`'s top-level window).
  HWND CreateFromTemplate(HWND parent);

  DECLARE_MESSAGE_MAP()
};
