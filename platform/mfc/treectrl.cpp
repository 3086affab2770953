#include "mfc/treectrl.h"

#include <cstring>
#include <map>
#include <string>

#include "win/resources.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

struct Kinds {
  Kinds() {
    platform::afx::registerTemporaryKind(WC_TREEVIEW, []() -> CWnd* { return new CTreeCtrl; });
  }
};
const Kinds g_kinds;

std::map<HIMAGELIST, CImageList*>& imageListObjects() {
  static std::map<HIMAGELIST, CImageList*> objects;
  return objects;
}

}  // namespace

// --- CImageList ------------------------------------------------------------------------

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Attach(HIMAGELIST list) {
  if (m_hImageList || !list) return FALSE;
  m_hImageList = list;
  imageListObjects()[list] = this;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  if (list) imageListObjects().erase(list);
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  DeleteImageList();
  return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF) {
  DeleteImageList();
  auto picture = platform::findIconTemplate(bitmapId);
  int cy = picture && picture->height > 0 ? picture->height : cx;
  if (!Attach(ImageList_Create(cx, cy, ILC_COLOR4 | ILC_MASK, 1, grow))) return FALSE;
  if (!picture) return FALSE;
  int images = cx > 0 && picture->width >= cx ? picture->width / cx : 1;
  for (int i = 0; i < images; ++i) ImageList_AddIcon(m_hImageList, nullptr);
  return TRUE;
}

BOOL CImageList::DeleteImageList() {
  HIMAGELIST list = Detach();
  return list ? ImageList_Destroy(list) : FALSE;
}

int CImageList::Add(CBitmap* image, CBitmap* mask) {
  return ImageList_Add(m_hImageList, image ? static_cast<HBITMAP>(*image) : nullptr,
                       mask ? static_cast<HBITMAP>(*mask) : nullptr);
}
int CImageList::Add(CBitmap* image, COLORREF mask) {
  return ImageList_AddMasked(m_hImageList, image ? static_cast<HBITMAP>(*image) : nullptr, mask);
}
int CImageList::Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
BOOL CImageList::Remove(int index) { return ImageList_Remove(m_hImageList, index); }
int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const {
  return ImageList_GetImageInfo(m_hImageList, index, info);
}
BOOL CImageList::BeginDrag(int index, CPoint hotSpot) {
  return ImageList_BeginDrag(m_hImageList, index, hotSpot.x, hotSpot.y);
}
BOOL CImageList::DragEnter(CWnd* lock, CPoint point) {
  return ImageList_DragEnter(platform::afx::hwndOf(lock), point.x, point.y);
}
BOOL CImageList::DragMove(CPoint point) { return ImageList_DragMove(point.x, point.y); }
BOOL CImageList::DragLeave(CWnd* lock) { return ImageList_DragLeave(platform::afx::hwndOf(lock)); }
void CImageList::EndDrag() { ImageList_EndDrag(); }

CImageList* CImageList::FromHandle(HIMAGELIST list) {
  auto it = imageListObjects().find(list);
  return it == imageListObjects().end() ? nullptr : it->second;
}

// --- CTreeCtrl -------------------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_TREEVIEW, nullptr, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM lParam, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCT in{};
  in.hParent = parent;
  in.hInsertAfter = after;
  in.item.mask = mask;
  in.item.pszText = const_cast<LPSTR>(text);
  in.item.iImage = image;
  in.item.iSelectedImage = selectedImage;
  in.item.state = state;
  in.item.stateMask = stateMask;
  in.item.lParam = lParam;
  return InsertItem(&in);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }
BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::SortChildren(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
  return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
}
HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  TVITEM it{};
  it.mask = TVIF_CHILDREN | TVIF_HANDLE;
  it.hItem = item;
  return GetItem(&it) && it.cChildren ? TRUE : FALSE;
}
BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::GetItem(TVITEM* item) const {
  return static_cast<BOOL>(SendMessage(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
BOOL CTreeCtrl::SetItem(TVITEM* item) {
  return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item)));
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  // Texts of any length: the buffer grows until the text fits.
  for (int size = 256;; size *= 4) {
    std::string buffer(static_cast<size_t>(size), '\0');
    TVITEM it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = buffer.data();
    it.cchTextMax = size;
    if (!GetItem(&it)) return CString();
    size_t n = std::strlen(buffer.c_str());
    if (n + 4 < static_cast<size_t>(size) || size > (1 << 24)) return CString(buffer.c_str());
  }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
  TVITEM it{};
  it.mask = TVIF_TEXT | TVIF_HANDLE;
  it.hItem = item;
  it.pszText = const_cast<LPSTR>(text ? text : "");
  return SetItem(&it);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEM it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  return GetItem(&it) ? static_cast<DWORD_PTR>(it.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEM it{};
  it.mask = TVIF_PARAM | TVIF_HANDLE;
  it.hItem = item;
  it.lParam = static_cast<LPARAM>(data);
  return SetItem(&it);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  TVITEM it{};
  it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  it.hItem = item;
  if (!GetItem(&it)) return FALSE;
  image = it.iImage;
  selectedImage = it.iSelectedImage;
  return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  TVITEM it{};
  it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  it.hItem = item;
  it.iImage = image;
  it.iSelectedImage = selectedImage;
  return SetItem(&it);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
  return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), stateMask));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
  TVITEM it{};
  it.mask = TVIF_STATE | TVIF_HANDLE;
  it.hItem = item;
  it.state = state;
  it.stateMask = stateMask;
  return SetItem(&it);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
  if (!rect) return FALSE;
  std::memcpy(rect, &item, sizeof item);
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, static_cast<WPARAM>(textOnly), reinterpret_cast<LPARAM>(rect)));
}

UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
UINT CTreeCtrl::GetVisibleCount() const { return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT)); }
UINT CTreeCtrl::GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
void CTreeCtrl::SetIndent(UINT indent) { SendMessage(TVM_SETINDENT, indent); }
SHORT CTreeCtrl::GetItemHeight() const { return static_cast<SHORT>(SendMessage(TVM_GETITEMHEIGHT)); }

CImageList* CTreeCtrl::SetImageList(CImageList* list, int kind) {
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(SendMessage(
      TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr)));
  return CImageList::FromHandle(old);
}

CImageList* CTreeCtrl::GetImageList(int kind) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(kind))));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* flags) const {
  TVHITTESTINFO info{};
  info.pt = pt;
  HTREEITEM item = HitTest(&info);
  if (flags) *flags = info.flags;
  return item;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const {
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}
