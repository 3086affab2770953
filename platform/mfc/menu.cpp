#include "mfc/menu.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
// The objects FromHandle made, by menu; dropped when their menu is gone.
std::map<HMENU, std::unique_ptr<CMenu>>& borrowed() {
  static std::map<HMENU, std::unique_ptr<CMenu>> objects;
  return objects;
}
}  // namespace

CMenu::~CMenu() {
  if (!m_borrowed) DestroyMenu();
}

BOOL CMenu::Attach(HMENU menu) {
  if (m_hMenu || !menu) return FALSE;
  m_hMenu = menu;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenu(nullptr, MAKEINTRESOURCE(id))); }
BOOL CMenu::LoadMenu(LPCTSTR name) { return Attach(::LoadMenu(nullptr, name)); }

BOOL CMenu::DestroyMenu() {
  HMENU menu = Detach();
  return menu ? ::DestroyMenu(menu) : FALSE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrSubmenu, LPCTSTR text) {
  return ::AppendMenu(m_hMenu, flags, idOrSubmenu, text);
}
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCTSTR text) {
  return ::InsertMenu(m_hMenu, position, flags, idOrSubmenu, text);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCTSTR text) {
  return ::ModifyMenu(m_hMenu, position, flags, idOrSubmenu, text);
}
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
BOOL CMenu::RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
UINT CMenu::CheckMenuItem(UINT item, UINT check) { return static_cast<UINT>(::CheckMenuItem(m_hMenu, item, check)); }
UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable));
}
CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
int CMenu::GetMenuString(UINT item, LPTSTR buffer, int size, UINT flags) const {
  return ::GetMenuString(m_hMenu, item, buffer, size, flags);
}
int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
  int n = ::GetMenuString(m_hMenu, item, nullptr, 0, flags);
  std::string buffer(static_cast<size_t>(n) + 1, '\0');
  int got = ::GetMenuString(m_hMenu, item, buffer.data(), n + 1, flags);
  text = buffer.c_str();
  return got;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, platform::afx::hwndOf(owner), rect);
}

CMenu* CMenu::FromHandle(HMENU menu) {
  if (!menu || !::IsMenu(menu)) return nullptr;
  auto& objects = borrowed();
  // Objects of menus that are gone go first (a menu handle is never used again).
  for (auto it = objects.begin(); it != objects.end();)
    it = ::IsMenu(it->first) ? std::next(it) : objects.erase(it);
  auto& slot = objects[menu];
  if (!slot) {
    slot = std::make_unique<CMenu>();
    slot->m_hMenu = menu;
    slot->m_borrowed = true;
  }
  return slot.get();
}
