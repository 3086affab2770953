// Menus and the popup menu's choice taken from the script's answers.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>

#include "arx/rxdynlink.h"
#include "crt/gbk.h"
#include "win/answers.h"
#include "win/controls_internal.h"
#include "win/resources.h"
#include "win/transcript.h"
#include "win/window_internal.h"
#include "win/winmenu.h"

namespace platform::win {
namespace {

struct MenuItem {
  UINT flags = 0;  // MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_DEFAULT ...
  UINT id = 0;
  HMENU submenu = nullptr;
  std::string text;
};

struct Menu {
  bool popup = true;
  LoadedModule* module = nullptr;
  std::vector<MenuItem> items;
};

std::map<uintptr_t, std::unique_ptr<Menu>>& menus() {
  static std::map<uintptr_t, std::unique_ptr<Menu>> all;
  return all;
}

Menu* menuOf(HMENU h) {
  auto it = menus().find(reinterpret_cast<uintptr_t>(h));
  return it == menus().end() ? nullptr : it->second.get();
}

HMENU newMenu(bool popup) {
  static uintptr_t serial = 0;
  auto m = std::make_unique<Menu>();
  m->popup = popup;
  m->module = currentModule();
  uintptr_t key = ++serial;
  menus().emplace(key, std::move(m));
  return reinterpret_cast<HMENU>(key);
}

// The item an address names: by position, or by command (searched in the
// submenus too). The menu that holds it comes back in `holder`.
MenuItem* locate(HMENU h, UINT item, UINT flags, Menu** holder = nullptr, size_t* index = nullptr) {
  Menu* m = menuOf(h);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= m->items.size()) return nullptr;
    if (holder) *holder = m;
    if (index) *index = item;
    return &m->items[item];
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (!(it.flags & MF_POPUP) && !(it.flags & MF_SEPARATOR) && it.id == item) {
      if (holder) *holder = m;
      if (index) *index = i;
      return &it;
    }
  }
  for (MenuItem& it : m->items)
    if (it.flags & MF_POPUP)
      if (MenuItem* found = locate(it.submenu, item, flags, holder, index)) return found;
  return nullptr;
}

bool makeItem(UINT flags, UINT_PTR idOrSubmenu, LPCSTR text, MenuItem& out) {
  out = MenuItem{};
  out.flags = flags & ~(MF_BYPOSITION | MF_END);
  if (flags & MF_POPUP) {
    out.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
    if (!menuOf(out.submenu)) return false;
  } else {
    out.id = static_cast<UINT>(idOrSubmenu);
  }
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) out.text = text;
  return true;
}

void destroyMenu(HMENU h) {
  Menu* m = menuOf(h);
  if (!m) return;
  std::vector<HMENU> subs;
  for (const MenuItem& it : m->items)
    if (it.flags & MF_POPUP) subs.push_back(it.submenu);
  menus().erase(reinterpret_cast<uintptr_t>(h));
  for (HMENU s : subs) destroyMenu(s);
}

// An item's text as an answer names it: without the '&' marks, an access key
// written "(&A)" and the shortcut after a tab.
std::string shownText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\t') break;
    if (text[i] == '(' && i + 3 < text.size() && text[i + 1] == '&' && text[i + 3] == ')') {
      i += 3;
      continue;
    }
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') out += text[++i];
      continue;
    }
    out += text[i];
  }
  return out;
}

void loadItems(const std::vector<MenuItemTemplate>& items, size_t& i, HMENU into) {
  while (i < items.size()) {
    const MenuItemTemplate& t = items[i++];
    bool last = (t.flags & MF_END) != 0;
    if (t.flags & MF_POPUP) {
      HMENU sub = newMenu(true);
      loadItems(items, i, sub);
      AppendMenu(into, (t.flags & ~MF_END) | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), t.text.c_str());
    } else {
      AppendMenu(into, t.flags & ~MF_END, t.id, t.text.c_str());
    }
    if (last) return;
  }
}

bool disabled(const MenuItem& it) { return (it.flags & (MF_GRAYED | MF_DISABLED)) != 0; }

// Finds the command an answer names, opening the submenus on the way as a
// user does (the owner hears WM_INITMENUPOPUP for each). 0 with `why` when
// the answer names nothing that can be chosen.
UINT chooseItem(HMENU menu, HWND owner, bool notify, const std::string& answer, std::string& shown, std::string& why) {
  UINT id = 0;
  auto [end, ec] = std::from_chars(answer.data(), answer.data() + answer.size(), id);
  if (ec == std::errc() && end == answer.data() + answer.size()) {
    // By command: the path to it is opened.
    std::vector<std::pair<HMENU, size_t>> trail;
    std::function<bool(HMENU)> search = [&](HMENU h) {
      Menu* m = menuOf(h);
      if (!m) return false;
      for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        trail.emplace_back(h, i);
        if (!(it.flags & (MF_POPUP | MF_SEPARATOR)) && it.id == id) return true;
        if ((it.flags & MF_POPUP) && search(it.submenu)) return true;
        trail.pop_back();
      }
      return false;
    };
    if (!search(menu)) {
      why = "the menu has no command " + answer;
      return 0;
    }
    for (size_t k = 0; k < trail.size(); ++k) {
      Menu* m = menuOf(trail[k].first);
      if (!m || trail[k].second >= m->items.size()) {
        why = "the menu changed while it was open";
        return 0;
      }
      const MenuItem& it = m->items[trail[k].second];
      shown += (shown.empty() ? "" : "/") + shownText(it.text);
      if (disabled(it)) {
        why = "\"" + shown + "\" is disabled";
        return 0;
      }
      if (k + 1 < trail.size() && notify && IsWindow(owner))
        SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(it.submenu),
                    MAKELPARAM(static_cast<WORD>(trail[k].second), FALSE));
    }
    return id;
  }
  HMENU level = menu;
  size_t start = 0;
  while (true) {
    size_t slash = answer.find('/', start);
    std::string part = answer.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    Menu* m = menuOf(level);
    if (!m) {
      why = "the menu is gone";
      return 0;
    }
    auto it = std::find_if(m->items.begin(), m->items.end(), [&](const MenuItem& i) {
      return !(i.flags & MF_SEPARATOR) && shownText(i.text) == part;
    });
    if (it == m->items.end()) {
      why = "the menu has no item \"" + part + "\"" + (shown.empty() ? "" : " under \"" + shown + "\"");
      return 0;
    }
    shown += (shown.empty() ? "" : "/") + part;
    if (disabled(*it)) {
      why = "\"" + shown + "\" is disabled";
      return 0;
    }
    size_t position = static_cast<size_t>(it - m->items.begin());
    if (slash == std::string::npos) {
      if (it->flags & MF_POPUP) {
        why = "\"" + shown + "\" opens a submenu: name an item in it";
        return 0;
      }
      return it->id;
    }
    if (!(it->flags & MF_POPUP)) {
      why = "\"" + shown + "\" has no submenu";
      return 0;
    }
    level = it->submenu;
    if (notify && IsWindow(owner))
      SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(level),
                  MAKELPARAM(static_cast<WORD>(position), FALSE));
    start = slash + 1;
  }
}

}  // namespace

void releaseModuleMenus(LoadedModule* module) {
  std::vector<HMENU> theirs;
  for (auto& [key, m] : menus())
    if (m->module == module) theirs.push_back(reinterpret_cast<HMENU>(key));
  for (HMENU h : theirs) destroyMenu(h);
}

void destroyAllMenus() { menus().clear(); }

}  // namespace platform::win

using namespace platform::win;

HMENU CreateMenu() { return newMenu(false); }
HMENU CreatePopupMenu() { return newMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!menuOf(menu)) return FALSE;
  destroyMenu(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return menuOf(menu) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  Menu* m = menuOf(menu);
  MenuItem item;
  if (!m || !makeItem(flags, idOrSubmenu, text, item)) return FALSE;
  m->items.push_back(std::move(item));
  return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  Menu* m = menuOf(menu);
  MenuItem item;
  if (!m || !makeItem(flags, idOrSubmenu, text, item)) return FALSE;
  if (flags & MF_BYPOSITION) {
    size_t at = position == static_cast<UINT>(-1) ? m->items.size() : std::min<size_t>(position, m->items.size());
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
  }
  Menu* holder = nullptr;
  size_t index = 0;
  if (!locate(menu, position, MF_BYCOMMAND, &holder, &index)) return FALSE;
  holder->items.insert(holder->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  MenuItem* it = locate(menu, position, flags);
  MenuItem item;
  if (!it || !makeItem(flags, idOrSubmenu, text, item)) return FALSE;
  *it = std::move(item);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Menu* holder = nullptr;
  size_t index = 0;
  if (!locate(menu, position, flags, &holder, &index)) return FALSE;
  holder->items.erase(holder->items.begin() + static_cast<std::ptrdiff_t>(index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  MenuItem* it = locate(menu, position, flags);
  if (!it) return FALSE;
  HMENU sub = (it->flags & MF_POPUP) ? it->submenu : nullptr;
  RemoveMenu(menu, position, flags);
  if (sub) destroyMenu(sub);
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = locate(menu, item, flags);
  if (!it) return static_cast<DWORD>(-1);
  DWORD old = it->flags & MF_CHECKED;
  it->flags = (it->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = locate(menu, item, flags);
  if (!it) return -1;
  BOOL old = static_cast<BOOL>(it->flags & (MF_GRAYED | MF_DISABLED));
  it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return old;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menu* m = menuOf(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return nullptr;
  const MenuItem& it = m->items[static_cast<size_t>(position)];
  return (it.flags & MF_POPUP) ? it.submenu : nullptr;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = menuOf(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menu* m = menuOf(menu);
  if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const MenuItem& it = m->items[static_cast<size_t>(position)];
  return (it.flags & MF_POPUP) ? static_cast<UINT>(-1) : it.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = locate(menu, item, flags);
  if (!it) return static_cast<UINT>(-1);
  UINT state = it->flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP | MF_DEFAULT);
  if (it->flags & MF_POPUP) state |= static_cast<UINT>(GetMenuItemCount(it->submenu)) << 8;
  return state;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  MenuItem* it = locate(menu, item, flags);
  if (!it) return 0;
  if (!buffer || size <= 0) return static_cast<int>(it->text.size());
  return static_cast<int>(platform::copyTextBounded(buffer, static_cast<size_t>(size), it->text));
}

HMENU LoadMenu(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  auto items = platform::findMenuTemplate(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
  if (!items) return nullptr;
  HMENU menu = newMenu(false);
  size_t i = 0;
  loadItems(*items, i, menu);
  return menu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int, int, int, HWND owner, const RECT*) {
  if (!menuOf(menu) || !IsWindow(owner)) return FALSE;
  bool notify = !(flags & TPM_NONOTIFY);
  if (notify) {
    SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
    if (IsWindow(owner)) SendMessage(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    if (IsWindow(owner)) SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  }
  UINT chosen = 0;
  std::optional<platform::Answer> answer = platform::takeAnswerEntry("menu", "popup menu");
  if (!answer) {
    platform::transcriptLine("[menu] [dismissed: no answer]");
  } else if (answer->text == "cancel") {
    platform::transcriptLine("[menu] [dismissed]");
  } else {
    std::string shown, why;
    chosen = menuOf(menu) ? chooseItem(menu, owner, notify, answer->text, shown, why) : 0;
    if (chosen) {
      platform::transcriptLine("[menu] " + shown + " (" + std::to_string(chosen) + ")");
    } else {
      platform::transcriptLine("[menu] [dismissed]");
      failRun((answer->where.empty() ? std::string() : answer->where + ": ") + "@menu " + answer->text + ": " +
              (why.empty() ? "the menu is gone" : why));
    }
  }
  if (notify && IsWindow(owner)) {
    if (chosen) SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(chosen), 0), reinterpret_cast<LPARAM>(menu));
    if (IsWindow(owner)) SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    if (IsWindow(owner)) SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return TRUE;
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void*) {
  return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

namespace platform {
size_t menuCount() { return win::menus().size(); }
}  // namespace platform
