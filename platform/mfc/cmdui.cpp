// Command updates: CCmdUI and the updates of a popup menu's items.
#include "mfc/cmdui.h"

#include "mfc/menu.h"

void CCmdUI::Enable(BOOL on) {
  m_bEnableChanged = TRUE;
  m_bEnabled = on;
  if (m_pMenu) {
    if (m_pSubMenu) return;  // a submenu's item stands for no command
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    m_pOther->EnableWindow(on);
  }
}

void CCmdUI::SetCheck(int check) {
  m_nCheck = check;
  if (m_pMenu && !m_pSubMenu)
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  else if (m_pOther)
    m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(LPCTSTR text) {
  if (!text) return;
  if (m_pMenu && !m_pSubMenu) {
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
  } else if (m_pOther) {
    m_pOther->SetWindowText(text);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  if (!target) return FALSE;
  m_bContinueRouting = FALSE;
  BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (handled && m_bContinueRouting) handled = FALSE;
  if (!handled && disableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info;
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
  }
  return handled;
}

void CWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  if (sysMenu || !popup || !popup->GetSafeHmenu()) return;
  CCmdUI state;
  state.m_pMenu = popup;
  state.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    UINT id = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
    // Separators (0) and submenus (-1) stand for no command.
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    state.m_nID = id;
    state.m_pSubMenu = nullptr;
    state.m_bEnableChanged = FALSE;
    state.DoUpdate(this, FALSE);
    // A handler may have changed the menu: the count is read again.
    state.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
  }
}
