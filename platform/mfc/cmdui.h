#pragma once
// CCmdUI: what a command's update handler (ON_UPDATE_COMMAND_UI) is given to
// enable, check or name the user-interface item that stands for the command.
//
// The class library asks the update handlers of a popup menu's items as the
// menu opens: the window that owns the menu hears WM_INITMENUPOPUP and, unless
// its message map takes that message itself, CWnd::OnInitMenuPopup runs
// DoUpdate for each command item of the popup against the owner. An item whose
// command has no update handler keeps its state (the owner's command handler
// decides what happens when it is chosen).
//
//   BEGIN_MESSAGE_MAP(CMyGrid, CWnd)
//     ON_COMMAND(ID_EDIT_COPY, &CMyGrid::OnEditCopy)
//     ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CMyGrid::OnUpdateEditCopy)
//   END_MESSAGE_MAP()
//   void CMyGrid::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }

#include "mfc/cmdtarget.h"

class CMenu;

class PLATFORM_API CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  // The command asked about, and where its item is: a menu item (its menu and
  // position), or another window that stands for it (a dialog's button).
  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  CWnd* m_pOther = nullptr;
  UINT m_nIndexMax = 0;

  // What the handler answers. Each is done on the menu item (or window) at
  // once; an item that is neither is only recorded.
  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCTSTR text);
  // The handler leaves the question to the next target of the route.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks `target` (its OnCmdMsg with CN_UPDATE_COMMAND_UI). When no update
  // handler answers and `disableIfNoHandler`, the item is enabled only when
  // the target has a handler of the command itself. TRUE when a handler
  // answered.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

  // Whether a handler called Enable, and what it gave (for an item that is
  // no menu item or window, and for tests).
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bEnabled = TRUE;
  int m_nCheck = -1;  // -1: not set
  BOOL m_bContinueRouting = FALSE;
};
