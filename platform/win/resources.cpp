#include "win/resources.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "arx/rxdynlink.h"

namespace platform {
namespace {

struct ModuleResources {
  std::map<UINT, std::shared_ptr<const DialogTemplate>> dialogs;
  std::map<UINT, std::string> strings;
  std::map<UINT, std::shared_ptr<const std::vector<MenuItemTemplate>>> menus;
  std::map<UINT, std::shared_ptr<const IconTemplate>> icons;
};

struct Registry {
  std::map<LoadedModule*, ModuleResources> modules;  // null: the platform's own
  std::map<uintptr_t, std::shared_ptr<const IconTemplate>> iconHandles;
  uintptr_t nextIcon = 0x20000;
  DialogBaseUnitsSource baseUnits = nullptr;
};

Registry& registry() {
  static Registry* r = new Registry();  // lives for the whole process
  return *r;
}

const char* orEmpty(const char* s) { return s ? s : ""; }

// The resources of the running module, then the platform's.
template <typename Fn>
auto lookup(Fn fn) -> decltype(fn(std::declval<ModuleResources&>())) {
  Registry& r = registry();
  LoadedModule* scope = currentModule();
  auto it = r.modules.find(scope);
  if (it != r.modules.end())
    if (auto found = fn(it->second)) return found;
  if (scope) {
    auto own = r.modules.find(nullptr);
    if (own != r.modules.end()) return fn(own->second);
  }
  return {};
}

HICON iconHandle(std::shared_ptr<const IconTemplate> icon) {
  Registry& r = registry();
  uintptr_t h = r.nextIcon;
  r.nextIcon += 4;
  r.iconHandles[h] = std::move(icon);
  return reinterpret_cast<HICON>(h);
}

}  // namespace

void registerResources(const ResourceTable& table) {
  ModuleResources& m = registry().modules[currentModule()];
  for (const DialogResource& d : table.dialogs) {
    auto t = std::make_shared<DialogTemplate>();
    t->id = d.id;
    t->caption = orEmpty(d.caption);
    t->style = d.style;
    t->exStyle = d.exStyle;
    t->fontName = d.fontName ? d.fontName : kDialogFontName;
    t->pointSize = d.pointSize ? d.pointSize : kDialogFontPoints;
    t->x = d.x, t->y = d.y, t->cx = d.cx, t->cy = d.cy;
    for (const DialogControlResource& c : d.controls)
      t->controls.push_back(
          DialogControlTemplate{orEmpty(c.className), orEmpty(c.text), c.id, c.style, c.exStyle, c.x, c.y, c.cx, c.cy});
    m.dialogs[d.id] = std::move(t);
  }
  for (const StringResource& s : table.strings) m.strings[s.id] = orEmpty(s.text);
  for (const MenuResource& menu : table.menus) {
    auto items = std::make_shared<std::vector<MenuItemTemplate>>();
    for (const MenuItemResource& i : menu.items) items->push_back(MenuItemTemplate{orEmpty(i.text), i.id, i.flags});
    m.menus[menu.id] = std::move(items);
  }
  for (const IconResource& i : table.icons) {
    auto icon = std::make_shared<IconTemplate>();
    icon->id = i.id;
    icon->width = i.width;
    icon->height = i.height;
    icon->argb.assign(i.argb.begin(), i.argb.end());
    m.icons[i.id] = std::move(icon);
  }
}

void registerResourceString(UINT id, const char* text) {
  registry().modules[currentModule()].strings[id] = orEmpty(text);
}

std::shared_ptr<const DialogTemplate> findDialogTemplate(UINT id) {
  return lookup([&](ModuleResources& m) -> std::shared_ptr<const DialogTemplate> {
    auto it = m.dialogs.find(id);
    return it == m.dialogs.end() ? nullptr : it->second;
  });
}

bool findResourceString(UINT id, std::string& text) {
  const std::string* found = lookup([&](ModuleResources& m) -> const std::string* {
    auto it = m.strings.find(id);
    return it == m.strings.end() ? nullptr : &it->second;
  });
  if (!found) return false;
  text = *found;
  return true;
}

std::shared_ptr<const std::vector<MenuItemTemplate>> findMenuTemplate(UINT id) {
  return lookup([&](ModuleResources& m) -> std::shared_ptr<const std::vector<MenuItemTemplate>> {
    auto it = m.menus.find(id);
    return it == m.menus.end() ? nullptr : it->second;
  });
}

std::shared_ptr<const IconTemplate> findIconTemplate(UINT id) {
  return lookup([&](ModuleResources& m) -> std::shared_ptr<const IconTemplate> {
    auto it = m.icons.find(id);
    return it == m.icons.end() ? nullptr : it->second;
  });
}

std::shared_ptr<const IconTemplate> iconOf(HICON icon) {
  Registry& r = registry();
  auto it = r.iconHandles.find(reinterpret_cast<uintptr_t>(icon));
  return it == r.iconHandles.end() ? nullptr : it->second;
}

void releaseModuleResources(LoadedModule* module) {
  if (module) registry().modules.erase(module);
}

void setDialogBaseUnitsSource(DialogBaseUnitsSource source) { registry().baseUnits = source; }

DialogBaseUnits dialogBaseUnits(const std::string& fontName, int pointSize) {
  if (DialogBaseUnitsSource source = registry().baseUnits) return source(fontName, pointSize);
  if (pointSize <= 0) pointSize = kDialogFontPoints;
  int height = (pointSize * 96 + 36) / 72;
  return DialogBaseUnits{(height + 1) / 2, height};
}

}  // namespace platform

int LoadString(HINSTANCE, UINT id, LPSTR buffer, int size) {
  std::string text;
  if (!platform::findResourceString(id, text)) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  if (!buffer || size <= 0) return static_cast<int>(text.size());
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
  if (!name || !IS_INTRESOURCE(name)) return nullptr;
  UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
  if (!instance) {
    // The system's icons.
    if (id < 32512 || id > 32518) return nullptr;
    auto icon = std::make_shared<platform::IconTemplate>();
    icon->id = id;
    icon->width = icon->height = 32;
    return platform::iconHandle(std::move(icon));
  }
  std::shared_ptr<const platform::IconTemplate> icon = platform::findIconTemplate(id);
  return icon ? platform::iconHandle(std::move(icon)) : nullptr;
}

BOOL DestroyIcon(HICON icon) {
  return platform::registry().iconHandles.erase(reinterpret_cast<uintptr_t>(icon)) ? TRUE : FALSE;
}
