#pragma once
// Menus: popup menus made in code or loaded from a module's resources (see
// win/resources.h), their items (command items, submenus, separators) with
// their checked and enabled states, and TrackPopupMenu.
//
// Nothing is shown: a popup menu opened with TrackPopupMenu takes its choice
// from the script's answers, a line
//
//   @menu 17                 the item of command 17 (in any submenu)
//   @menu 增加行/之后增加     the item a path of item texts names ('&', an
//                            access key "(&A)" and what follows a tab are
//                            not part of a text)
//   @menu cancel             the menu is dismissed
//
// With no answer queued the menu is dismissed and the transcript says so. An
// answer that names no item of the menu, a disabled item or a submenu fails
// the run. The owner hears what a user's choice makes it hear:
// WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP for the menu and each
// submenu opened on the way to the item, WM_MENUSELECT, WM_EXITMENULOOP; then
// TrackPopupMenu returns the command (TPM_RETURNCMD) or posts WM_COMMAND to
// the owner. A menu belongs to the module whose code made it and goes when
// that module is unloaded.

#include "win/winuser.h"

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_DEFAULT MF_DEFAULT

PLATFORM_API HMENU CreateMenu();
PLATFORM_API HMENU CreatePopupMenu();
// Destroys the menu and its submenus.
PLATFORM_API BOOL DestroyMenu(HMENU menu);
PLATFORM_API BOOL IsMenu(HMENU menu);
// MF_POPUP: `idOrSubmenu` is a submenu (the menu owns it from then on);
// MF_SEPARATOR: a separator; else a command item.
PLATFORM_API BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
PLATFORM_API BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
PLATFORM_API BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text);
// DeleteMenu destroys a submenu it takes away; RemoveMenu does not.
PLATFORM_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
PLATFORM_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// The previous state (MF_CHECKED / MF_UNCHECKED), -1 when there is no such item.
PLATFORM_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// The previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), -1 when there is no such item.
PLATFORM_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
PLATFORM_API HMENU GetSubMenu(HMENU menu, int position);
PLATFORM_API int GetMenuItemCount(HMENU menu);
// The command of the item at `position`; -1 for a submenu or no item.
PLATFORM_API UINT GetMenuItemID(HMENU menu, int position);
// The item's flags (MF_CHECKED, MF_GRAYED, MF_POPUP, MF_SEPARATOR ...), -1 when there is no such item.
PLATFORM_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
PLATFORM_API int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
// The menu of resource `name` (MAKEINTRESOURCE(id)) of the running module,
// else of the platform; null when neither has it.
PLATFORM_API HMENU LoadMenu(HINSTANCE instance, LPCSTR name);
// Opens a popup menu for `owner` (see above). The position is where it
// would show; the rectangle is ignored.
PLATFORM_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
PLATFORM_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void* params);

namespace platform {
// The menus alive (for tests: none is left after a module's unload).
PLATFORM_API size_t menuCount();
}  // namespace platform
