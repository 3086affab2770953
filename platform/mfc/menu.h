#pragma once
// CMenu over the menus of win/winmenu.h. A CMenu destroys the menu it holds
// when it goes (unless detached); the submenus GetSubMenu gives are objects
// that only point at their menu (the parent menu owns it).

#include <map>
#include <memory>

#include "mfc/wnd.h"
#include "win/winmenu.h"

class PLATFORM_API CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // Menu resource `id` of the running module, else of the platform; FALSE
  // when neither has it.
  BOOL LoadMenu(UINT id);
  BOOL LoadMenu(LPCTSTR name);
  BOOL DestroyMenu();
  BOOL Attach(HMENU menu);
  HMENU Detach();

  BOOL AppendMenu(UINT flags, UINT_PTR idOrSubmenu = 0, LPCTSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu = 0, LPCTSTR text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu = 0, LPCTSTR text = nullptr);
  BOOL DeleteMenu(UINT position, UINT flags);
  BOOL RemoveMenu(UINT position, UINT flags);
  UINT CheckMenuItem(UINT item, UINT check);
  UINT EnableMenuItem(UINT item, UINT enable);
  CMenu* GetSubMenu(int position) const;
  int GetMenuItemCount() const;
  UINT GetMenuItemID(int position) const;
  UINT GetMenuState(UINT item, UINT flags) const;
  int GetMenuString(UINT item, CString& text, UINT flags) const;
  int GetMenuString(UINT item, LPTSTR buffer, int size, UINT flags) const;
  // Opens the menu as a popup for `owner` (see win/winmenu.h).
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

  // An object for a menu that is not this object's own (it does not destroy
  // it); it lives as long as the menu.
  static CMenu* FromHandle(HMENU menu);

 private:
  bool m_borrowed = false;
};
