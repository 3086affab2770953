#pragma once
// CTreeCtrl over the tree control and CImageList over image lists
// (win/commctrl.h). A CTreeCtrl keeps nothing of its own: each call is a
// message to the control. A CImageList owns its list and destroys it with
// itself (unless detached).

#include "mfc/afxgdi.h"
#include "mfc/wnd.h"
#include "win/commctrl.h"

class PLATFORM_API CImageList : public CObject {
  DECLARE_DYNAMIC(CImageList)

 public:
  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // From the bitmap resource `bitmapId` of the running module (a picture
  // registered with the icons, its width holding the images side by side),
  // images `cx` wide. FALSE when no such resource is there (the list is made,
  // empty, all the same).
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
  BOOL DeleteImageList();
  BOOL Attach(HIMAGELIST list);
  HIMAGELIST Detach();
  int Add(CBitmap* image, CBitmap* mask);
  int Add(CBitmap* image, COLORREF mask);
  int Add(HICON icon);
  BOOL Remove(int index);
  int GetImageCount() const;
  BOOL GetImageInfo(int index, IMAGEINFO* info) const;
  // The drag image (win/commctrl.h): this list's image `index` with its hot
  // spot; DragEnter with no window shows it at a point of the screen.
  BOOL BeginDrag(int index, CPoint hotSpot);
  static BOOL DragEnter(CWnd* lock, CPoint point);
  static BOOL DragMove(CPoint point);
  static BOOL DragLeave(CWnd* lock);
  static void EndDrag();
  // The object of a list made by a CImageList (null for any other).
  static CImageList* FromHandle(HIMAGELIST list);
};

class PLATFORM_API CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  HTREEITEM InsertItem(LPTVINSERTSTRUCT insert);
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                       LPARAM lParam, HTREEITEM parent, HTREEITEM after);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  BOOL Expand(HTREEITEM item, UINT code);
  BOOL SortChildren(HTREEITEM item);
  BOOL EnsureVisible(HTREEITEM item);

  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
  HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
  BOOL ItemHasChildren(HTREEITEM item) const;

  BOOL Select(HTREEITEM item, UINT code);
  BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
  BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
  BOOL SelectSetFirstVisible(HTREEITEM item) { return Select(item, TVGN_FIRSTVISIBLE); }

  BOOL GetItem(TVITEM* item) const;
  BOOL SetItem(TVITEM* item);
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  UINT GetItemState(HTREEITEM item, UINT stateMask) const;
  BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask);
  BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;

  UINT GetCount() const;
  UINT GetVisibleCount() const;
  UINT GetIndent() const;
  void SetIndent(UINT indent);
  SHORT GetItemHeight() const;

  CImageList* SetImageList(CImageList* list, int kind);
  CImageList* GetImageList(int kind) const;

  // The item at a point of the client area; `flags` gets the TVHT_ flags.
  HTREEITEM HitTest(CPoint pt, UINT* flags = nullptr) const;
  HTREEITEM HitTest(TVHITTESTINFO* info) const;
};
