#pragma once
// The common controls beyond the standard ones: the tree control, image
// lists and tool tips, with their messages, styles and notifications; and the
// owner-drawn controls' WM_DRAWITEM record.
//
// A tree lays its items out as a list of rows, ITEM_HEIGHT pixels each, the
// visible items (roots, and the children of expanded items) one under the
// other from the top of the client area; an item's row holds, from left to
// right, its indent (one indent step per level, one more with
// TVS_LINESATROOT), its expand button (the last indent step, with
// TVS_HASBUTTONS), its icon (when the tree has an image list) and its label
// (as wide as its text). A click works as in the tree a user knows: the press
// takes the focus (on a button it toggles the item), the release tells the
// parent NM_CLICK and then moves the selection to the item under it
// (TVN_SELCHANGING, TVN_SELCHANGED); a double click tells NM_DBLCLK and, left
// unhandled, toggles the item; a right click tells NM_RCLICK and, left
// unhandled, WM_CONTEXTMENU. Keys tell TVN_KEYDOWN first; Enter tells NM_RETURN.

#include "win/winuser.h"

// --- image lists ------------------------------------------------------------------

typedef struct IMAGELIST__* HIMAGELIST;

#ifndef CLR_NONE
#define CLR_NONE 0xFFFFFFFFu
#endif

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

// An image list of `initial` images of cx x cy pixels (it grows by `grow`);
// it belongs to the module whose code made it and goes at its unload.
PLATFORM_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
PLATFORM_API BOOL ImageList_Destroy(HIMAGELIST list);
// Adds the images a bitmap holds side by side (its width / cx of them, at
// least one); returns the index of the first, -1 on failure.
PLATFORM_API int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
PLATFORM_API int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
PLATFORM_API int ImageList_AddIcon(HIMAGELIST list, HICON icon);
PLATFORM_API int ImageList_GetImageCount(HIMAGELIST list);
PLATFORM_API BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
PLATFORM_API BOOL ImageList_Remove(HIMAGELIST list, int index);

// An image of a list: the bitmap that holds its pixels (the list's; null for
// an icon, whose picture is not kept) and its rectangle in that bitmap.
typedef struct _IMAGEINFO {
  HBITMAP hbmImage;
  HBITMAP hbmMask;
  int Unused1;
  int Unused2;
  RECT rcImage;
} IMAGEINFO;
PLATFORM_API BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
// The mask colour the images were added with (CLR_NONE: none).
PLATFORM_API COLORREF ImageList_GetBkColor(HIMAGELIST list);

// The drag image: one image of a list shown under the mouse while something
// is dragged. BeginDrag chooses it and its hot spot (the point of the image
// that lies under the mouse); DragEnter shows it at (x, y) of a window (its
// window rectangle's top-left corner is 0, 0; no window: the screen), DragMove
// moves it (same coordinates as DragEnter's window, the screen for none),
// DragLeave hides it, EndDrag forgets it. GetDragImage answers the list of the
// image shown, where it is (screen) and its hot spot; null when none shows.
PLATFORM_API BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot);
PLATFORM_API BOOL ImageList_DragEnter(HWND lock, int x, int y);
PLATFORM_API BOOL ImageList_DragMove(int x, int y);
PLATFORM_API BOOL ImageList_DragLeave(HWND lock);
PLATFORM_API void ImageList_EndDrag();
PLATFORM_API HIMAGELIST ImageList_GetDragImage(POINT* at, POINT* hotSpot);
namespace platform {
// The index of the image the drag shows (-1: none).
PLATFORM_API int dragImageIndex();
}  // namespace platform

// --- tree control -----------------------------------------------------------------

#define WC_TREEVIEW "SysTreeView32"

typedef struct TREEITEM__* HTREEITEM;

#define TVI_ROOT ((HTREEITEM)(ULONG_PTR)-0x10000)
#define TVI_FIRST ((HTREEITEM)(ULONG_PTR)-0x0FFFF)
#define TVI_LAST ((HTREEITEM)(ULONG_PTR)-0x0FFFE)
#define TVI_SORT ((HTREEITEM)(ULONG_PTR)-0x0FFFD)

#define TVS_HASBUTTONS 0x0001
#define TVS_HASLINES 0x0002
#define TVS_LINESATROOT 0x0004
#define TVS_EDITLABELS 0x0008
#define TVS_DISABLEDRAGDROP 0x0010
#define TVS_SHOWSELALWAYS 0x0020
#define TVS_CHECKBOXES 0x0100
#define TVS_TRACKSELECT 0x0200
#define TVS_SINGLEEXPAND 0x0400
#define TVS_FULLROWSELECT 0x1000

#define TVIF_TEXT 0x0001
#define TVIF_IMAGE 0x0002
#define TVIF_PARAM 0x0004
#define TVIF_STATE 0x0008
#define TVIF_HANDLE 0x0010
#define TVIF_SELECTEDIMAGE 0x0020
#define TVIF_CHILDREN 0x0040

#define TVIS_SELECTED 0x0002
#define TVIS_CUT 0x0004
#define TVIS_DROPHILITED 0x0008
#define TVIS_BOLD 0x0010
#define TVIS_EXPANDED 0x0020
#define TVIS_EXPANDEDONCE 0x0040

#define TVE_COLLAPSE 0x0001
#define TVE_EXPAND 0x0002
#define TVE_TOGGLE 0x0003

#define TVGN_ROOT 0x0000
#define TVGN_NEXT 0x0001
#define TVGN_PREVIOUS 0x0002
#define TVGN_PARENT 0x0003
#define TVGN_CHILD 0x0004
#define TVGN_FIRSTVISIBLE 0x0005
#define TVGN_NEXTVISIBLE 0x0006
#define TVGN_PREVIOUSVISIBLE 0x0007
#define TVGN_DROPHILITE 0x0008
#define TVGN_CARET 0x0009
#define TVGN_LASTVISIBLE 0x000A

#define TVSIL_NORMAL 0
#define TVSIL_STATE 2

#define TVHT_NOWHERE 0x0001
#define TVHT_ONITEMICON 0x0002
#define TVHT_ONITEMLABEL 0x0004
#define TVHT_ONITEMINDENT 0x0008
#define TVHT_ONITEMBUTTON 0x0010
#define TVHT_ONITEMRIGHT 0x0020
#define TVHT_ONITEMSTATEICON 0x0040
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ABOVE 0x0100
#define TVHT_BELOW 0x0200
#define TVHT_TORIGHT 0x0400
#define TVHT_TOLEFT 0x0800

// Why the selection moved (NMTREEVIEW::action).
#define TVC_UNKNOWN 0x0000
#define TVC_BYMOUSE 0x0001
#define TVC_BYKEYBOARD 0x0002

#define TV_FIRST 0x1100
#define TVM_INSERTITEM (TV_FIRST + 0)
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_SETINDENT (TV_FIRST + 7)
#define TVM_GETIMAGELIST (TV_FIRST + 8)
#define TVM_SETIMAGELIST (TV_FIRST + 9)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETITEM (TV_FIRST + 12)
#define TVM_SETITEM (TV_FIRST + 13)
#define TVM_GETVISIBLECOUNT (TV_FIRST + 16)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_SORTCHILDREN (TV_FIRST + 19)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_GETITEMHEIGHT (TV_FIRST + 28)
#define TVM_GETITEMSTATE (TV_FIRST + 39)

#define TVN_FIRST (0U - 400U)
#define TVN_SELCHANGING (TVN_FIRST - 1)
#define TVN_SELCHANGED (TVN_FIRST - 2)
#define TVN_ITEMEXPANDING (TVN_FIRST - 5)
#define TVN_ITEMEXPANDED (TVN_FIRST - 6)
#define TVN_DELETEITEM (TVN_FIRST - 9)
#define TVN_KEYDOWN (TVN_FIRST - 12)

struct TVITEM {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};
typedef TVITEM* LPTVITEM;
typedef TVITEM TV_ITEM;

struct TVINSERTSTRUCT {
  HTREEITEM hParent;
  HTREEITEM hInsertAfter;
  TVITEM item;
};
typedef TVINSERTSTRUCT* LPTVINSERTSTRUCT;
typedef TVINSERTSTRUCT TV_INSERTSTRUCT;

struct TVHITTESTINFO {
  POINT pt;
  UINT flags;
  HTREEITEM hItem;
};
typedef TVHITTESTINFO* LPTVHITTESTINFO;

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action;
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};
typedef NMTREEVIEW* LPNMTREEVIEW;
typedef NMTREEVIEW NM_TREEVIEW;

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};
typedef NMTVKEYDOWN* LPNMTVKEYDOWN;

// The height of a tree's row and the width of one indent step, in pixels.
#define TREE_ITEM_HEIGHT 18
#define TREE_INDENT 19

// --- tool tips --------------------------------------------------------------------

#define TOOLTIPS_CLASS "tooltips_class32"

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02

#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_SUBCLASS 0x0010

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOL (WM_USER + 4)
#define TTM_DELTOOL (WM_USER + 5)
#define TTM_NEWTOOLRECT (WM_USER + 6)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTEXT (WM_USER + 11)
#define TTM_UPDATETIPTEXT (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_POP (WM_USER + 28)
// Not of the tool tips a user knows: the tool whose tip shows (its uId), or 0.
#define TTM_GETSHOWNTOOL (WM_USER + 200)

#define LPSTR_TEXTCALLBACK ((LPSTR)-1L)

struct TOOLINFO {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPSTR lpszText;
  LPARAM lParam;
};
typedef TOOLINFO* LPTOOLINFO;
typedef TOOLINFO TTTOOLINFO;

// --- owner-drawn controls ---------------------------------------------------------

#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5

#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004

#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010
#define ODS_DEFAULT 0x0020
#define ODS_HOTLIGHT 0x0040

struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

namespace platform {
// An owner-drawn button asks its parent to draw it (WM_DRAWITEM) into `dc`
// with `action` (ODA_DRAWENTIRE, ODA_SELECT, ODA_FOCUS); the state tells
// whether it is pushed, disabled, focused. The window's painting calls this
// for a BS_OWNERDRAW button. Returns the parent's answer.
PLATFORM_API LRESULT drawOwnerDrawnButton(HWND button, HDC dc, UINT action);
}  // namespace platform
