// The tree control (class "SysTreeView32"): items in a hierarchy with texts,
// images and data, expanded or collapsed, one of them the caret (selected)
// item; the mouse and the keyboard as a user works it, told to the parent
// through WM_NOTIFY (see win/commctrl.h).
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "crt/ascii.h"
#include "crt/gbk.h"
#include "win/commctrl.h"
#include "win/textmetrics.h"
#include "win/window_internal.h"
#include "win/classic.h"
#include "win/controls_internal.h"

namespace platform::win {
namespace {

struct TreeItem {
  HTREEITEM handle = nullptr;
  TreeItem* parent = nullptr;
  std::vector<TreeItem*> children;
  std::string text;
  int image = 0;
  int selectedImage = 0;
  LPARAM param = 0;
  UINT state = 0;
  int childrenFlag = 0;  // cChildren: 1 shows a button before any child is there
};

struct TreeData : ControlData {
  std::map<uintptr_t, std::unique_ptr<TreeItem>> items;
  std::vector<TreeItem*> roots;
  HTREEITEM caret = nullptr;
  HTREEITEM dropHilite = nullptr;
  HIMAGELIST images[3] = {nullptr, nullptr, nullptr};
  int firstVisible = 0;  // the row shown at the top
  int indent = TREE_INDENT;
  bool leftDown = false;
  bool rightDown = false;
  HTREEITEM pressed = nullptr;
};

// Item handles are never used again, in any tree.
uintptr_t nextItemSerial() {
  static uintptr_t serial = 0;
  return ++serial;
}

TreeData* treeOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<TreeData*>(w->control.get()) : nullptr;
}

TreeItem* itemOf(TreeData& d, HTREEITEM h) {
  auto it = d.items.find(reinterpret_cast<uintptr_t>(h));
  return it == d.items.end() ? nullptr : it->second.get();
}

std::vector<TreeItem*>& siblingsOf(TreeData& d, TreeItem* item) {
  return item->parent ? item->parent->children : d.roots;
}

int levelOf(const TreeItem* item) {
  int level = 0;
  for (const TreeItem* p = item->parent; p; p = p->parent) ++level;
  return level;
}

bool hasChildren(const TreeItem* item) { return !item->children.empty() || item->childrenFlag > 0; }

void collectVisible(const std::vector<TreeItem*>& list, std::vector<TreeItem*>& out) {
  for (TreeItem* item : list) {
    out.push_back(item);
    if (item->state & TVIS_EXPANDED) collectVisible(item->children, out);
  }
}

std::vector<TreeItem*> visibleItems(TreeData& d) {
  std::vector<TreeItem*> out;
  collectVisible(d.roots, out);
  return out;
}

int rowOf(TreeData& d, TreeItem* item) {
  std::vector<TreeItem*> v = visibleItems(d);
  auto it = std::find(v.begin(), v.end(), item);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

LOGFONT treeFont() {
  LOGFONT f{};
  f.lfHeight = -12;
  f.lfWeight = 400;
  f.lfCharSet = 134;
  std::strncpy(f.lfFaceName, "宋体", sizeof f.lfFaceName - 1);
  return f;
}

// The parts of an item's row, in client x coordinates.
struct RowParts {
  int buttonLeft, buttonRight;  // empty when the item has no button
  int iconLeft, iconRight;      // empty without an image list
  int labelLeft, labelRight;
};

RowParts partsOf(HWND hwnd, TreeData& d, TreeItem* item) {
  Window* w = find(hwnd);
  DWORD style = w ? w->style : 0;
  int level = levelOf(item) + ((style & TVS_LINESATROOT) ? 1 : 0);
  int x = level * d.indent;
  RowParts p{};
  bool button = (style & TVS_HASBUTTONS) && hasChildren(item) && x > 0;
  p.buttonLeft = button ? x - d.indent : x;
  p.buttonRight = button ? x : x;
  p.iconLeft = p.iconRight = x;
  if (d.images[TVSIL_NORMAL]) {
    int cx = 16, cy = 16;
    ImageList_GetIconSize(d.images[TVSIL_NORMAL], &cx, &cy);
    p.iconRight = x + cx;
  }
  p.labelLeft = p.iconRight + 2;
  SIZE s = textMeasure().extent(treeFont(), item->text);
  p.labelRight = p.labelLeft + s.cx + 4;
  return p;
}

HTREEITEM hitTest(HWND hwnd, TreeData& d, POINT pt, UINT& flags) {
  RECT client;
  GetClientRect(hwnd, &client);
  flags = 0;
  if (pt.y < 0) flags |= TVHT_ABOVE;
  if (pt.y >= client.bottom) flags |= TVHT_BELOW;
  if (pt.x < 0) flags |= TVHT_TOLEFT;
  if (pt.x >= client.right) flags |= TVHT_TORIGHT;
  if (flags) return nullptr;
  std::vector<TreeItem*> v = visibleItems(d);
  int row = pt.y / TREE_ITEM_HEIGHT + d.firstVisible;
  if (row < 0 || row >= static_cast<int>(v.size())) {
    flags = TVHT_NOWHERE;
    return nullptr;
  }
  TreeItem* item = v[static_cast<size_t>(row)];
  RowParts p = partsOf(hwnd, d, item);
  if (pt.x < p.buttonLeft)
    flags = TVHT_ONITEMINDENT;
  else if (pt.x < p.buttonRight)
    flags = TVHT_ONITEMBUTTON;
  else if (pt.x < p.iconRight)
    flags = TVHT_ONITEMICON;
  else if (pt.x < p.labelLeft)
    flags = TVHT_ONITEMINDENT;
  else if (pt.x < p.labelRight)
    flags = TVHT_ONITEMLABEL;
  else
    flags = TVHT_ONITEMRIGHT;
  return item->handle;
}

// A notification to the parent; its answer (0 without a parent).
LRESULT notify(HWND hwnd, NMHDR* hdr, UINT code) {
  Window* w = find(hwnd);
  if (!w || !w->parent) return 0;
  hdr->hwndFrom = hwnd;
  hdr->idFrom = w->id;
  hdr->code = code;
  return SendMessage(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(hdr));
}

void describe(const TreeItem* item, TVITEM& out) {
  out = TVITEM{};
  if (!item) return;
  out.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  out.hItem = item->handle;
  out.state = item->state;
  out.stateMask = 0xFFFF;
  out.iImage = item->image;
  out.iSelectedImage = item->selectedImage;
  out.lParam = item->param;
}

void scrollIntoView(HWND hwnd, TreeData& d, TreeItem* item) {
  for (TreeItem* p = item->parent; p; p = p->parent) p->state |= TVIS_EXPANDED;
  int row = rowOf(d, item);
  RECT client;
  GetClientRect(hwnd, &client);
  int rows = std::max(1, static_cast<int>(client.bottom / TREE_ITEM_HEIGHT));
  if (row < d.firstVisible) d.firstVisible = row;
  if (row >= d.firstVisible + rows) d.firstVisible = row - rows + 1;
}

// Moves the caret; false when the parent refused (TVN_SELCHANGING answered TRUE).
bool selectItem(HWND hwnd, HTREEITEM handle, UINT action) {
  TreeData* d = treeOf(hwnd);
  if (!d) return false;
  TreeItem* item = handle ? itemOf(*d, handle) : nullptr;
  if (handle && !item) return false;
  if (d->caret == handle) {
    if (item) scrollIntoView(hwnd, *d, item);
    return true;
  }
  NMTREEVIEW nm{};
  nm.action = action;
  describe(itemOf(*d, d->caret), nm.itemOld);
  describe(item, nm.itemNew);
  if (notify(hwnd, &nm.hdr, TVN_SELCHANGING)) return false;
  if (!(d = treeOf(hwnd))) return false;
  item = handle ? itemOf(*d, handle) : nullptr;
  if (handle && !item) return false;
  if (TreeItem* old = itemOf(*d, d->caret)) old->state &= ~TVIS_SELECTED;
  d->caret = handle;
  if (item) {
    item->state |= TVIS_SELECTED;
    scrollIntoView(hwnd, *d, item);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  describe(itemOf(*d, d->caret), nm.itemNew);
  notify(hwnd, &nm.hdr, TVN_SELCHANGED);
  return true;
}

bool isDescendant(const TreeItem* item, const TreeItem* ancestor) {
  for (const TreeItem* p = item ? item->parent : nullptr; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

// Expands or collapses an item; a user's expansion tells the parent before
// and after (and may be refused).
bool expandItem(HWND hwnd, HTREEITEM handle, UINT code, bool byUser) {
  TreeData* d = treeOf(hwnd);
  TreeItem* item = d ? itemOf(*d, handle) : nullptr;
  if (!item) return false;
  code &= 3;
  bool expanded = (item->state & TVIS_EXPANDED) != 0;
  bool expand = code == TVE_TOGGLE ? !expanded : code == TVE_EXPAND;
  if (code == 0) return false;
  if (expand == expanded) return true;
  if (expand && !hasChildren(item)) return false;
  NMTREEVIEW nm{};
  nm.action = expand ? TVE_EXPAND : TVE_COLLAPSE;
  if (byUser) {
    describe(item, nm.itemNew);
    if (notify(hwnd, &nm.hdr, TVN_ITEMEXPANDING)) return false;
    if (!(d = treeOf(hwnd)) || !(item = itemOf(*d, handle))) return false;
  }
  if (expand)
    item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  else
    item->state &= ~TVIS_EXPANDED;
  int count = static_cast<int>(visibleItems(*d).size());
  d->firstVisible = std::clamp(d->firstVisible, 0, std::max(0, count - 1));
  InvalidateRect(hwnd, nullptr, TRUE);
  if (byUser) {
    describe(item, nm.itemNew);
    notify(hwnd, &nm.hdr, TVN_ITEMEXPANDED);
    if (!(d = treeOf(hwnd)) || !(item = itemOf(*d, handle))) return true;
  }
  // A caret hidden by the collapse moves to the collapsed item.
  if (!expand && isDescendant(itemOf(*d, d->caret), item)) selectItem(hwnd, handle, TVC_UNKNOWN);
  return true;
}

void deleteItem(HWND hwnd, TreeData& d, TreeItem* item, bool tell) {
  while (!item->children.empty()) deleteItem(hwnd, d, item->children.back(), tell);
  if (tell) {
    NMTREEVIEW nm{};
    describe(item, nm.itemOld);
    notify(hwnd, &nm.hdr, TVN_DELETEITEM);
  }
  TreeData* now = treeOf(hwnd);
  if (now != &d) return;  // the window went while it was being told
  auto& list = siblingsOf(d, item);
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
  if (d.caret == item->handle) d.caret = nullptr;
  if (d.dropHilite == item->handle) d.dropHilite = nullptr;
  if (d.pressed == item->handle) d.pressed = nullptr;
  d.items.erase(reinterpret_cast<uintptr_t>(item->handle));
}

int compareTexts(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(asciiUpper(a[i])), y = static_cast<unsigned char>(asciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

void applyItem(TreeItem& item, const TVITEM& in) {
  if ((in.mask & TVIF_TEXT) && in.pszText && in.pszText != LPSTR_TEXTCALLBACK) item.text = in.pszText;
  if (in.mask & TVIF_IMAGE) item.image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) item.selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_PARAM) item.param = in.lParam;
  if (in.mask & TVIF_CHILDREN) item.childrenFlag = in.cChildren;
  if (in.mask & TVIF_STATE) {
    UINT keep = TVIS_SELECTED;  // the caret is moved by selection only
    UINT mask = in.stateMask & ~keep;
    item.state = (item.state & ~mask) | (in.state & mask);
  }
}

HTREEITEM insertItem(HWND hwnd, TreeData& d, const TVINSERTSTRUCT& in) {
  TreeItem* parent = nullptr;
  if (in.hParent && in.hParent != TVI_ROOT) {
    parent = itemOf(d, in.hParent);
    if (!parent) return nullptr;
  }
  auto item = std::make_unique<TreeItem>();
  uintptr_t serial = nextItemSerial();
  item->handle = reinterpret_cast<HTREEITEM>(serial);
  item->parent = parent;
  applyItem(*item, in.item);
  item->state &= ~TVIS_SELECTED;
  TreeItem* raw = item.get();
  std::vector<TreeItem*>& list = parent ? parent->children : d.roots;
  if (in.hInsertAfter == TVI_FIRST) {
    list.insert(list.begin(), raw);
  } else if (in.hInsertAfter == TVI_SORT) {
    auto at = std::find_if(list.begin(), list.end(),
                           [&](const TreeItem* o) { return compareTexts(raw->text, o->text) < 0; });
    list.insert(at, raw);
  } else {
    auto at = list.end();
    if (in.hInsertAfter && in.hInsertAfter != TVI_LAST && in.hInsertAfter != TVI_ROOT) {
      auto after = std::find_if(list.begin(), list.end(),
                                [&](const TreeItem* o) { return o->handle == in.hInsertAfter; });
      if (after != list.end()) at = after + 1;
    }
    list.insert(at, raw);
  }
  d.items.emplace(serial, std::move(item));
  InvalidateRect(hwnd, nullptr, TRUE);
  return raw->handle;
}

HTREEITEM nextItem(TreeData& d, UINT code, HTREEITEM from) {
  TreeItem* item = itemOf(d, from);
  auto sibling = [&](int step) -> HTREEITEM {
    if (!item) return nullptr;
    auto& list = siblingsOf(d, item);
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return nullptr;
    if (step > 0) return it + 1 == list.end() ? nullptr : (*(it + 1))->handle;
    return it == list.begin() ? nullptr : (*(it - 1))->handle;
  };
  switch (code) {
    case TVGN_ROOT: return d.roots.empty() ? nullptr : d.roots.front()->handle;
    case TVGN_NEXT: return sibling(1);
    case TVGN_PREVIOUS: return sibling(-1);
    case TVGN_PARENT: return item && item->parent ? item->parent->handle : nullptr;
    case TVGN_CHILD: {
      if (!from || from == TVI_ROOT) return d.roots.empty() ? nullptr : d.roots.front()->handle;
      return item && !item->children.empty() ? item->children.front()->handle : nullptr;
    }
    case TVGN_CARET: return d.caret;
    case TVGN_DROPHILITE: return d.dropHilite;
    case TVGN_FIRSTVISIBLE: {
      std::vector<TreeItem*> v = visibleItems(d);
      return d.firstVisible < static_cast<int>(v.size()) ? v[static_cast<size_t>(d.firstVisible)]->handle : nullptr;
    }
    case TVGN_LASTVISIBLE: {
      std::vector<TreeItem*> v = visibleItems(d);
      return v.empty() ? nullptr : v.back()->handle;
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      std::vector<TreeItem*> v = visibleItems(d);
      auto it = std::find(v.begin(), v.end(), item);
      if (it == v.end()) return nullptr;
      if (code == TVGN_NEXTVISIBLE) return it + 1 == v.end() ? nullptr : (*(it + 1))->handle;
      return it == v.begin() ? nullptr : (*(it - 1))->handle;
    }
    default: return nullptr;
  }
}

BOOL itemRect(HWND hwnd, TreeData& d, HTREEITEM handle, bool textOnly, RECT& r) {
  TreeItem* item = itemOf(d, handle);
  if (!item) return FALSE;
  int row = rowOf(d, item);
  if (row < 0) return FALSE;
  RECT client;
  GetClientRect(hwnd, &client);
  int top = (row - d.firstVisible) * TREE_ITEM_HEIGHT;
  if (textOnly) {
    RowParts p = partsOf(hwnd, d, item);
    r = RECT{p.labelLeft, top, p.labelRight, top + TREE_ITEM_HEIGHT};
  } else {
    r = RECT{0, top, client.right, top + TREE_ITEM_HEIGHT};
  }
  return TRUE;
}

void moveCaretByKey(HWND hwnd, TreeData& d, UINT vk) {
  std::vector<TreeItem*> v = visibleItems(d);
  if (v.empty()) return;
  TreeItem* caret = itemOf(d, d.caret);
  auto it = std::find(v.begin(), v.end(), caret);
  int row = it == v.end() ? -1 : static_cast<int>(it - v.begin());
  int last = static_cast<int>(v.size()) - 1;
  int to = row;
  switch (vk) {
    case VK_UP: to = row <= 0 ? 0 : row - 1; break;
    case VK_DOWN: to = row < 0 ? 0 : std::min(last, row + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = last; break;
    case VK_LEFT:
      if (caret && (caret->state & TVIS_EXPANDED)) {
        expandItem(hwnd, caret->handle, TVE_COLLAPSE, true);
        return;
      }
      if (caret && caret->parent) selectItem(hwnd, caret->parent->handle, TVC_BYKEYBOARD);
      return;
    case VK_RIGHT:
      if (caret && hasChildren(caret) && !(caret->state & TVIS_EXPANDED)) {
        expandItem(hwnd, caret->handle, TVE_EXPAND, true);
        return;
      }
      if (caret && !caret->children.empty()) selectItem(hwnd, caret->children.front()->handle, TVC_BYKEYBOARD);
      return;
    default: return;
  }
  if (to >= 0 && to <= last) selectItem(hwnd, v[static_cast<size_t>(to)]->handle, TVC_BYKEYBOARD);
}

// The vertical line of the indent column centred at `x` across a row.
void treeLine(HDC dc, int x, int top, int bottom) {
  MoveToEx(dc, x, top, nullptr);
  LineTo(dc, x, bottom);
}

// The tree in the classic look: the window colour, for each row shown the
// lines joining an item to its parent and its next sibling (TVS_HASLINES), an
// expand box with a minus or a plus (TVS_HASBUTTONS) and the item's text at
// its indent; the caret item's label filled in the highlight colour while the
// tree has the focus (in the face colour when it has not, with
// TVS_SHOWSELALWAYS), as is the drop target's. Images are left blank.
void paintTree(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  HBRUSH brush = classic::prepareControl(hwnd, dc, WM_CTLCOLOREDIT);
  TreeData* d = treeOf(hwnd);
  Window* w = find(hwnd);
  if (!d || !w) return;
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  LOGFONT lf = treeFont();
  HFONT font = CreateFontIndirect(&lf);
  HGDIOBJ oldFont = SelectObject(dc, font);
  HPEN linePen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HPEN boxPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ oldPen = SelectObject(dc, linePen);
  SetBkMode(dc, TRANSPARENT);
  const DWORD style = w->style;
  const bool focused = GetFocus() == hwnd;
  const int half = d->indent / 2;
  std::vector<TreeItem*> rows = visibleItems(*d);
  for (size_t row = static_cast<size_t>(std::max(0, d->firstVisible)); row < rows.size(); ++row) {
    int top = (static_cast<int>(row) - d->firstVisible) * TREE_ITEM_HEIGHT;
    if (top >= client.bottom) break;
    int bottom = top + TREE_ITEM_HEIGHT, middle = top + TREE_ITEM_HEIGHT / 2;
    TreeItem* item = rows[row];
    RowParts p = partsOf(hwnd, *d, item);
    int column = p.iconLeft - half;  // the centre of the item's own indent column
    if ((style & TVS_HASLINES) && p.iconLeft > 0) {
      SelectObject(dc, linePen);
      const std::vector<TreeItem*>& siblings = siblingsOf(*d, item);
      bool last = siblings.empty() || siblings.back() == item;
      bool first = !item->parent && !siblings.empty() && siblings.front() == item;
      treeLine(dc, column, first ? middle : top, last ? middle + 1 : bottom);
      MoveToEx(dc, column, middle, nullptr);
      LineTo(dc, p.iconLeft, middle);
      // The lines of the ancestors that have siblings below.
      int x = column;
      for (TreeItem* a = item->parent; a; a = a->parent) {
        x -= d->indent;
        if (x < 0) break;
        const std::vector<TreeItem*>& up = siblingsOf(*d, a);
        if (!up.empty() && up.back() != a) treeLine(dc, x, top, bottom);
      }
    }
    if (p.buttonRight > p.buttonLeft) {
      int cx = (p.buttonLeft + p.buttonRight) / 2;
      RECT box{cx - 4, middle - 4, cx + 5, middle + 5};
      FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
      FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
      SelectObject(dc, boxPen);
      MoveToEx(dc, cx - 2, middle, nullptr);
      LineTo(dc, cx + 3, middle);
      if (!(item->state & TVIS_EXPANDED)) {
        MoveToEx(dc, cx, middle - 2, nullptr);
        LineTo(dc, cx, middle + 3);
      }
    }
    bool caret = item->handle == d->caret;
    bool drop = item->handle == d->dropHilite;
    bool highlight = drop || (caret && focused);
    bool faceOnly = !highlight && caret && (style & TVS_SHOWSELALWAYS);
    RECT label{p.labelLeft, top + 1, p.labelRight, bottom - 1};
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    if (highlight) {
      FillRect(dc, &label, GetSysColorBrush(COLOR_HIGHLIGHT));
      text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (faceOnly) {
      FillRect(dc, &label, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (!IsWindowEnabled(hwnd)) text = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, text);
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    TextOutA(dc, p.labelLeft + 2, top + (TREE_ITEM_HEIGHT - tm.tmHeight) / 2, item->text.c_str(),
             static_cast<int>(item->text.size()));
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  DeleteObject(linePen);
  DeleteObject(boxPen);
  DeleteObject(font);
}

LRESULT treeProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<TreeData>();
  TreeData* d = treeOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case TVM_INSERTITEM: {
      const TVINSERTSTRUCT* in = reinterpret_cast<const TVINSERTSTRUCT*>(lParam);
      return in ? reinterpret_cast<LRESULT>(insertItem(hwnd, *d, *in)) : 0;
    }
    case TVM_DELETEITEM: {
      HTREEITEM h = reinterpret_cast<HTREEITEM>(lParam);
      if (!h || h == TVI_ROOT) {
        while (!d->roots.empty()) {
          deleteItem(hwnd, *d, d->roots.back(), true);
          if (treeOf(hwnd) != d) return TRUE;
        }
        d->firstVisible = 0;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
      }
      TreeItem* item = itemOf(*d, h);
      if (!item) return FALSE;
      deleteItem(hwnd, *d, item, true);
      if (treeOf(hwnd) == d) {
        int count = static_cast<int>(visibleItems(*d).size());
        d->firstVisible = std::clamp(d->firstVisible, 0, std::max(0, count - 1));
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return TRUE;
    }
    case TVM_EXPAND: return expandItem(hwnd, reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam), false);
    case TVM_GETITEMRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return FALSE;
      HTREEITEM h;
      std::memcpy(&h, r, sizeof h);
      return itemRect(hwnd, *d, h, wParam != 0, *r);
    }
    case TVM_GETCOUNT: return static_cast<LRESULT>(d->items.size());
    case TVM_GETINDENT: return d->indent;
    case TVM_SETINDENT: d->indent = std::max(1, static_cast<int>(wParam)); return 0;
    case TVM_GETITEMHEIGHT: return TREE_ITEM_HEIGHT;
    case TVM_GETIMAGELIST: return wParam < 3 ? reinterpret_cast<LRESULT>(d->images[wParam]) : 0;
    case TVM_SETIMAGELIST: {
      if (wParam >= 3) return 0;
      HIMAGELIST old = d->images[wParam];
      d->images[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(nextItem(*d, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM: {
      HTREEITEM h = reinterpret_cast<HTREEITEM>(lParam);
      switch (wParam) {
        case TVGN_CARET: return selectItem(hwnd, h, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
          if (h && !itemOf(*d, h)) return FALSE;
          d->dropHilite = h;
          InvalidateRect(hwnd, nullptr, TRUE);
          return TRUE;
        case TVGN_FIRSTVISIBLE: {
          TreeItem* item = itemOf(*d, h);
          if (!item) return FALSE;
          scrollIntoView(hwnd, *d, item);
          d->firstVisible = rowOf(*d, item);
          InvalidateRect(hwnd, nullptr, TRUE);
          return TRUE;
        }
        default: return FALSE;
      }
    }
    case TVM_GETITEM: {
      TVITEM* out = reinterpret_cast<TVITEM*>(lParam);
      TreeItem* item = out ? itemOf(*d, out->hItem) : nullptr;
      if (!item) return FALSE;
      if ((out->mask & TVIF_TEXT) && out->pszText && out->cchTextMax > 0)
        copyTextBounded(out->pszText, static_cast<size_t>(out->cchTextMax), item->text);
      if (out->mask & TVIF_IMAGE) out->iImage = item->image;
      if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
      if (out->mask & TVIF_PARAM) out->lParam = item->param;
      if (out->mask & TVIF_STATE) out->state = item->state & (out->stateMask ? out->stateMask : 0xFFFF);
      if (out->mask & TVIF_CHILDREN) out->cChildren = hasChildren(item) ? 1 : 0;
      return TRUE;
    }
    case TVM_SETITEM: {
      const TVITEM* in = reinterpret_cast<const TVITEM*>(lParam);
      TreeItem* item = in ? itemOf(*d, in->hItem) : nullptr;
      if (!item) return FALSE;
      applyItem(*item, *in);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TVM_GETITEMSTATE: {
      TreeItem* item = itemOf(*d, reinterpret_cast<HTREEITEM>(wParam));
      return item ? static_cast<LRESULT>(item->state & static_cast<UINT>(lParam)) : 0;
    }
    case TVM_GETVISIBLECOUNT: {
      RECT client;
      GetClientRect(hwnd, &client);
      return client.bottom / TREE_ITEM_HEIGHT;
    }
    case TVM_HITTEST: {
      TVHITTESTINFO* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      if (!info) return 0;
      info->hItem = hitTest(hwnd, *d, info->pt, info->flags);
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_SORTCHILDREN: {
      HTREEITEM h = reinterpret_cast<HTREEITEM>(lParam);
      std::vector<TreeItem*>* list = &d->roots;
      if (h && h != TVI_ROOT) {
        TreeItem* item = itemOf(*d, h);
        if (!item) return FALSE;
        list = &item->children;
      }
      std::stable_sort(list->begin(), list->end(),
                       [](const TreeItem* a, const TreeItem* b) { return compareTexts(a->text, b->text) < 0; });
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case TVM_ENSUREVISIBLE: {
      TreeItem* item = itemOf(*d, reinterpret_cast<HTREEITEM>(lParam));
      if (!item) return FALSE;
      scrollIntoView(hwnd, *d, item);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if (!(d = treeOf(hwnd))) return 0;
      UINT flags = 0;
      HTREEITEM h = hitTest(hwnd, *d, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, flags);
      if (flags & TVHT_ONITEMBUTTON) {
        expandItem(hwnd, h, TVE_TOGGLE, true);
        return 0;
      }
      d->leftDown = true;
      d->pressed = (flags & TVHT_ONITEM) ? h : nullptr;
      SetCapture(hwnd);
      return 0;
    }
    case WM_LBUTTONUP: {
      bool down = d->leftDown;
      HTREEITEM pressed = d->pressed;
      d->leftDown = false;  // so that losing the capture does not end the click
      d->pressed = nullptr;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (!down || !treeOf(hwnd)) return 0;
      NMHDR hdr{};
      // The parent hears of the click before the selection moves.
      if (notify(hwnd, &hdr, NM_CLICK)) return 0;
      if (!(d = treeOf(hwnd)) || !pressed) return 0;
      UINT flags = 0;
      HTREEITEM h = hitTest(hwnd, *d, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, flags);
      if (h == pressed && (flags & TVHT_ONITEM)) selectItem(hwnd, h, TVC_BYMOUSE);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      UINT flags = 0;
      HTREEITEM h = hitTest(hwnd, *d, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, flags);
      if (flags & TVHT_ONITEMBUTTON) {
        expandItem(hwnd, h, TVE_TOGGLE, true);
        return 0;
      }
      NMHDR hdr{};
      if (notify(hwnd, &hdr, NM_DBLCLK)) return 0;
      if (treeOf(hwnd) && (flags & TVHT_ONITEM)) expandItem(hwnd, h, TVE_TOGGLE, true);
      return 0;
    }
    case WM_RBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if ((d = treeOf(hwnd)) != nullptr) d->rightDown = true;
      return 0;
    case WM_RBUTTONUP: {
      if (!d->rightDown) return 0;
      d->rightDown = false;
      NMHDR hdr{};
      if (notify(hwnd, &hdr, NM_RCLICK)) return 0;
      if (!IsWindow(hwnd)) return 0;
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_CAPTURECHANGED:
      d->leftDown = false;
      d->pressed = nullptr;
      return 0;
    case WM_KEYDOWN: {
      NMTVKEYDOWN nm{};
      nm.wVKey = static_cast<WORD>(wParam);
      nm.flags = static_cast<UINT>(lParam);
      notify(hwnd, &nm.hdr, TVN_KEYDOWN);
      if (!(d = treeOf(hwnd))) return 0;
      if (wParam == VK_RETURN) {
        NMHDR hdr{};
        notify(hwnd, &hdr, NM_RETURN);
        return 0;
      }
      if (wParam == VK_ADD || wParam == VK_SUBTRACT) {
        if (d->caret) expandItem(hwnd, d->caret, wParam == VK_ADD ? TVE_EXPAND : TVE_COLLAPSE, true);
        return 0;
      }
      moveCaretByKey(hwnd, *d, static_cast<UINT>(wParam));
      return 0;
    }
    case WM_CHAR: return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      InvalidateRect(hwnd, nullptr, FALSE);
      NMHDR hdr{};
      notify(hwnd, &hdr, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
    }
    case WM_PAINT: paintTree(hwnd); return 0;
    case WM_DESTROY:
      // The parent hears of every item's end (it may own their data).
      while ((d = treeOf(hwnd)) != nullptr && !d->roots.empty()) deleteItem(hwnd, *d, d->roots.back(), true);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// The item a path of texts names ("a/b/c": root a, its child b, its child c).
HTREEITEM findPath(HWND tree, const std::string& path, std::string& error) {
  TreeData* d = treeOf(tree);
  if (!d) {
    error = "the tree is gone";
    return nullptr;
  }
  std::vector<TreeItem*>* level = &d->roots;
  TreeItem* found = nullptr;
  std::string so_far;
  size_t start = 0;
  while (true) {
    size_t slash = path.find('/', start);
    std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    auto it = std::find_if(level->begin(), level->end(), [&](const TreeItem* i) { return i->text == part; });
    if (it == level->end()) {
      error = "has no item \"" + part + "\"" + (so_far.empty() ? " at its top" : " under \"" + so_far + "\"");
      return nullptr;
    }
    found = *it;
    so_far += (so_far.empty() ? "" : "/") + part;
    if (slash == std::string::npos) break;
    level = &found->children;
    start = slash + 1;
  }
  return found->handle;
}

}  // namespace

WNDPROC treeProc() { return &treeProcImpl; }

bool treeWordSteps(HWND tree, int id, TreeClick kind, const std::string& path, std::vector<WordStep>& steps,
                   std::string& error) {
  std::string name = "tree control " + std::to_string(id);
  if (path.empty()) {
    error = name + " takes a path of item texts (a/b/c)";
    return false;
  }
  std::string probe;
  if (!findPath(tree, path, probe)) {
    error = name + " " + probe;
    return false;
  }
  auto target = std::make_shared<HTREEITEM>(nullptr);
  // The parents are expanded as a user opens them, and the item is scrolled into view.
  steps.push_back([tree, name, path, target](std::string& e) {
    std::string why;
    HTREEITEM h = findPath(tree, path, why);
    if (!h) {
      e = name + " " + why;
      return false;
    }
    std::vector<HTREEITEM> parents;
    for (HTREEITEM p = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                                reinterpret_cast<LPARAM>(h)));
         p; p = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                         reinterpret_cast<LPARAM>(p))))
      parents.insert(parents.begin(), p);
    for (HTREEITEM p : parents) {
      if (SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(p), TVIS_EXPANDED)) continue;
      if (!expandItem(tree, p, TVE_EXPAND, true) || !IsWindow(tree)) {
        e = name + ": \"" + path + "\" could not be opened";
        return false;
      }
    }
    if (TreeData* d = treeOf(tree))
      if (TreeItem* item = itemOf(*d, h)) scrollIntoView(tree, *d, item);
    *target = h;
    return true;
  });
  steps.push_back([tree, name, path, target, kind](std::string& e) {
    RECT r;
    std::memcpy(&r, target.get(), sizeof(HTREEITEM));
    if (!IsWindow(tree) || !SendMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
      e = name + ": \"" + path + "\" is gone";
      return false;
    }
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tree, &pt);
    HWND hit = WindowFromPoint(pt);
    if (hit != tree) {
      e = name + " is covered by another window at \"" + path + "\"";
      return false;
    }
    switch (kind) {
      case TreeClick::Left:
        postMouseInput(WM_LBUTTONDOWN, pt);
        postMouseInput(WM_LBUTTONUP, pt);
        break;
      case TreeClick::Double:
        postMouseInput(WM_LBUTTONDOWN, pt);
        postMouseInput(WM_LBUTTONUP, pt);
        postMouseInput(WM_LBUTTONDBLCLK, pt);
        postMouseInput(WM_LBUTTONUP, pt);
        break;
      case TreeClick::Right:
        postMouseInput(WM_RBUTTONDOWN, pt);
        postMouseInput(WM_RBUTTONUP, pt);
        break;
    }
    return true;
  });
  return true;
}

}  // namespace platform::win
