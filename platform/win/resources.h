#pragma once
// Resources: dialog templates, string tables, menus and icons. They are
// compiled tables in each module's own sources; the module's start-up
// registers them under its own handle (the platform never reads a module's
// folders). A lookup searches the resources of the module whose code runs
// (the one a window was created by, for its messages), then the platform's
// own, never another module's. Registering copies the tables, and a module's
// resources go when it is unloaded.
//
// The helpers in platform::rc write a control as the resource statements do,
// with their default styles:
//
//   const platform::DialogControlResource kControls[] = {
//       platform::rc::DefPushButton("OK", IDOK, 110, 7, 50, 14),
//       platform::rc::EditText(219, 7, 20, 100, 14, ES_AUTOHSCROLL),
//       platform::rc::AutoCheckBox("绘图", 210, 7, 40, 40, 10),
//   };
//   const platform::DialogResource kDialogs[] = {
//       {2005, "横断面自动设计", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, "宋体", 9,
//        0, 0, 167, 193, kControls},
//   };
//   platform::registerResources({.dialogs = kDialogs});

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "win/winuser.h"

namespace platform {

// One control of a dialog template. Positions and sizes are in dialog units.
struct DialogControlResource {
  // "Button", "Edit", "Static", "ComboBox", "ScrollBar", "msctls_updown32" or a registered class.
  const char* className;
  const char* text;
  int id;
  DWORD style;  // WS_CHILD is always added
  DWORD exStyle;
  short x, y, cx, cy;
};

struct DialogResource {
  UINT id;
  const char* caption;
  DWORD style;
  DWORD exStyle;
  const char* fontName;  // null: the platform's dialog font
  WORD pointSize;
  short x, y, cx, cy;
  std::span<const DialogControlResource> controls;
};

struct StringResource {
  UINT id;
  const char* text;
};

// A menu as its items in order: an item with MF_POPUP opens a submenu made of
// the items after it, up to and including the one marked MF_END; MF_END also
// marks the last item of the menu itself.
struct MenuItemResource {
  const char* text;
  UINT id;
  UINT flags;  // MF_POPUP, MF_END, MF_SEPARATOR, MF_GRAYED, MF_CHECKED ...
};

struct MenuResource {
  UINT id;
  std::span<const MenuItemResource> items;
};

// An icon: its size and, optionally, its pixels (0xAARRGGBB, row by row).
struct IconResource {
  UINT id;
  int width;
  int height;
  std::span<const uint32_t> argb;
};

struct ResourceTable {
  std::span<const DialogResource> dialogs = {};
  std::span<const StringResource> strings = {};
  std::span<const MenuResource> menus = {};
  std::span<const IconResource> icons = {};
};

// Registers the resources under the module whose code runs (under the
// platform's own when none runs). An id registered again is replaced.
PLATFORM_API void registerResources(const ResourceTable& table);
PLATFORM_API void registerResourceString(UINT id, const char* text);

// The registered forms, owned by the platform.
struct DialogControlTemplate {
  std::string className;
  std::string text;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  UINT id = 0;
  std::string caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string fontName;
  WORD pointSize = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::vector<DialogControlTemplate> controls;
};

struct MenuItemTemplate {
  std::string text;
  UINT id = 0;
  UINT flags = 0;
};

struct IconTemplate {
  UINT id = 0;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};

// Lookups in the scope of the running module, then the platform's.
PLATFORM_API std::shared_ptr<const DialogTemplate> findDialogTemplate(UINT id);
PLATFORM_API bool findResourceString(UINT id, std::string& text);
PLATFORM_API std::shared_ptr<const std::vector<MenuItemTemplate>> findMenuTemplate(UINT id);
PLATFORM_API std::shared_ptr<const IconTemplate> findIconTemplate(UINT id);

// What an HICON from LoadIcon stands for (null for a handle that is none).
PLATFORM_API std::shared_ptr<const IconTemplate> iconOf(HICON icon);

// The dialog font's base units in pixels: the average character width and the
// character height (dialog units are a quarter and an eighth of them). Without
// a source set, a font of p points is p * 96 / 72 pixels high and half as wide.
struct DialogBaseUnits {
  int cx;
  int cy;
};
using DialogBaseUnitsSource = DialogBaseUnits (*)(const std::string& fontName, int pointSize);
PLATFORM_API void setDialogBaseUnitsSource(DialogBaseUnitsSource source);
PLATFORM_API DialogBaseUnits dialogBaseUnits(const std::string& fontName, int pointSize);
// The font of a template that names none.
inline constexpr const char* kDialogFontName = "宋体";
inline constexpr int kDialogFontPoints = 9;

namespace rc {

constexpr DWORD kControlDefault = WS_CHILD | WS_VISIBLE;

constexpr DialogControlResource Control(const char* text, int id, const char* className, DWORD style, short x, short y,
                                        short cx, short cy, DWORD exStyle = 0) {
  return {className, text, id, kControlDefault | style, exStyle, x, y, cx, cy};
}
constexpr DialogControlResource PushButton(const char* text, int id, short x, short y, short cx, short cy,
                                           DWORD style = 0) {
  return Control(text, id, "Button", BS_PUSHBUTTON | WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource DefPushButton(const char* text, int id, short x, short y, short cx, short cy,
                                              DWORD style = 0) {
  return Control(text, id, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource AutoCheckBox(const char* text, int id, short x, short y, short cx, short cy,
                                             DWORD style = 0) {
  return Control(text, id, "Button", BS_AUTOCHECKBOX | WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource AutoRadioButton(const char* text, int id, short x, short y, short cx, short cy,
                                                DWORD style = 0) {
  return Control(text, id, "Button", BS_AUTORADIOBUTTON | WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource GroupBox(const char* text, int id, short x, short y, short cx, short cy,
                                         DWORD style = 0) {
  return Control(text, id, "Button", BS_GROUPBOX | style, x, y, cx, cy);
}
constexpr DialogControlResource EditText(int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return Control("", id, "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource LText(const char* text, int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return Control(text, id, "Static", SS_LEFT | WS_GROUP | style, x, y, cx, cy);
}
constexpr DialogControlResource CText(const char* text, int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return Control(text, id, "Static", SS_CENTER | WS_GROUP | style, x, y, cx, cy);
}
constexpr DialogControlResource RText(const char* text, int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return Control(text, id, "Static", SS_RIGHT | WS_GROUP | style, x, y, cx, cy);
}
// A combo box's height is that of its open list.
constexpr DialogControlResource ComboBox(int id, short x, short y, short cx, short cy, DWORD style = CBS_SIMPLE) {
  return Control("", id, "ComboBox", WS_TABSTOP | style, x, y, cx, cy);
}
constexpr DialogControlResource UpDown(int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return Control("", id, UPDOWN_CLASS, style, x, y, cx, cy);
}

}  // namespace rc

}  // namespace platform
