// The combo box (class "ComboBox") and its list (class "ComboLBox").
//
// CBS_SIMPLE shows an edit field and, below it, the list; CBS_DROPDOWN an edit
// field and a button that drops the list down; CBS_DROPDOWNLIST a field that
// shows the chosen item and drops the list down when pressed. A dropped list
// is a popup under the combo box; while it is down the combo box has the mouse
// capture. A user's choice in the list tells the parent CBN_SELCHANGE, and
// for a dropped list CBN_DROPDOWN before it drops and CBN_CLOSEUP after it
// closes (a choice: drop-down, selection change, close-up). Typing into the
// edit field tells CBN_EDITUPDATE and CBN_EDITCHANGE; the program's own
// changes (CB_SETCURSEL, WM_SETTEXT) tell nothing.
//
// CB_ADDSTRING keeps a CBS_SORT list in order (ASCII letters without regard
// to case, other text in the order of its GBK bytes, as the system's sorting
// of Chinese text runs); CB_INSERTSTRING never sorts.
#include <algorithm>
#include <cstring>

#include "crt/ascii.h"
#include "crt/gbk.h"
#include "win/classic.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

constexpr int kItemHeight = 16;
constexpr int kFieldPadding = 6;
constexpr int kButtonWidth = 17;
constexpr UINT kChooseItem = WM_USER + 0x3F0;  // from the list: the user chose item wParam

struct Item {
  std::string text;
  DWORD_PTR data = 0;
};

struct ComboData : ControlData {
  std::vector<Item> items;
  int cursel = -1;
  bool dropped = false;
  bool hasFocus = false;
  bool quiet = false;  // the combo box sets its edit field's text itself
  HWND edit = nullptr;
  HWND list = nullptr;
  int itemHeight = kItemHeight;
  int fieldHeight = kItemHeight;
  int droppedHeight = 0;
  int droppedWidth = 0;
  int topIndex = 0;
  int horizontalExtent = 0;
};

ComboData* dataOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<ComboData*>(w->control.get()) : nullptr;
}

DWORD typeOf(const Window& w) {
  DWORD t = w.style & 3;
  return t ? t : CBS_DROPDOWNLIST;
}

std::string sortKey(const std::string& text) { return utf8ToGbk(lowerAscii(text)); }

bool lessText(const std::string& a, const std::string& b) {
  std::string ka = sortKey(a), kb = sortKey(b);
  return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

int findItem(const ComboData& d, int after, const char* text, bool exact) {
  if (!text) return CB_ERR;
  int n = static_cast<int>(d.items.size());
  if (n == 0) return CB_ERR;
  int start = (after < 0 || after >= n) ? 0 : after + 1;
  for (int k = 0; k < n; ++k) {
    int i = (start + k) % n;
    const std::string& item = d.items[static_cast<size_t>(i)].text;
    if (exact ? equalNoCase(item, text) : startsWithNoCase(item, text)) return i;
  }
  return CB_ERR;
}

// The list's rectangle on the screen (dropped lists: under the field).
RECT listScreenRect(HWND hwnd) {
  RECT r{0, 0, 0, 0};
  ComboData* d = dataOf(hwnd);
  if (!d || !d->list) return r;
  GetWindowRect(d->list, &r);
  return r;
}

void setEditText(HWND hwnd, const std::string& text) {
  ComboData* d = dataOf(hwnd);
  Window* w = find(hwnd);
  if (!d || !w) return;
  w->text = text;
  if (d->edit && IsWindow(d->edit)) {
    d->quiet = true;
    SetWindowText(d->edit, text.c_str());
    if ((d = dataOf(hwnd)) != nullptr) d->quiet = false;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void select(HWND hwnd, int index) {
  ComboData* d = dataOf(hwnd);
  if (!d) return;
  if (index < 0 || index >= static_cast<int>(d->items.size())) index = -1;
  d->cursel = index;
  std::string text = index >= 0 ? d->items[static_cast<size_t>(index)].text : std::string();
  setEditText(hwnd, text);
  if ((d = dataOf(hwnd)) != nullptr && d->edit && index >= 0) SendMessage(d->edit, EM_SETSEL, 0, -1);
}

void placeList(HWND hwnd) {
  Window* w = find(hwnd);
  ComboData* d = dataOf(hwnd);
  if (!w || !d || !d->list) return;
  RECT r;
  GetWindowRect(hwnd, &r);
  int width = std::max<int>(d->droppedWidth, r.right - r.left);
  int count = std::max<int>(1, static_cast<int>(d->items.size()));
  int height = count * d->itemHeight + 2;
  SetWindowPos(d->list, HWND_TOP, r.left, r.bottom, width, height, SWP_NOACTIVATE);
}

void layoutParts(HWND hwnd) {
  Window* w = find(hwnd);
  ComboData* d = dataOf(hwnd);
  if (!w || !d) return;
  RECT c;
  GetClientRect(hwnd, &c);
  int field = d->fieldHeight + kFieldPadding;
  if (d->edit) {
    int width = c.right - (typeOf(*w) == CBS_DROPDOWN ? kButtonWidth : 0);
    MoveWindow(d->edit, 0, 0, std::max(0, width), field, TRUE);
  }
  if (d->list && typeOf(*w) == CBS_SIMPLE)
    MoveWindow(d->list, 0, field, c.right, std::max<int>(0, c.bottom - field), TRUE);
}

void drop(HWND hwnd) {
  ComboData* d = dataOf(hwnd);
  if (!d || d->dropped || !d->list) return;
  notifyParent(hwnd, CBN_DROPDOWN);
  if (!(d = dataOf(hwnd)) || d->dropped) return;
  d->dropped = true;
  placeList(hwnd);
  ShowWindow(d->list, SW_SHOWNA);
  SetCapture(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
}

// Closes the dropped list; a chosen item (index >= 0) becomes the selection.
void closeUp(HWND hwnd, int chosen) {
  ComboData* d = dataOf(hwnd);
  if (!d || !d->dropped) return;
  d->dropped = false;
  if (d->list) ShowWindow(d->list, SW_HIDE);
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!(d = dataOf(hwnd))) return;
  if (chosen >= 0 && chosen < static_cast<int>(d->items.size())) {
    select(hwnd, chosen);
    if (IsWindow(hwnd)) notifyParent(hwnd, CBN_SELCHANGE);
  }
  if (IsWindow(hwnd)) notifyParent(hwnd, CBN_CLOSEUP);
}

int itemAtScreen(HWND hwnd, POINT screen) {
  ComboData* d = dataOf(hwnd);
  if (!d) return -1;
  RECT r = listScreenRect(hwnd);
  if (!PtInRect(&r, screen)) return -1;
  int i = (screen.y - r.top - 1) / std::max(1, d->itemHeight) + d->topIndex;
  return (i >= 0 && i < static_cast<int>(d->items.size())) ? i : -1;
}

void focusLost(HWND hwnd) {
  ComboData* d = dataOf(hwnd);
  if (!d) return;
  HWND focus = GetFocus();
  if (focus && isSelfOrDescendant(hwnd, focus)) return;
  if (d->dropped) closeUp(hwnd, -1);
  if (!(d = dataOf(hwnd)) || !d->hasFocus) return;
  d->hasFocus = false;
  notifyParent(hwnd, CBN_KILLFOCUS);
}

void focusGained(HWND hwnd) {
  ComboData* d = dataOf(hwnd);
  if (!d || d->hasFocus) return;
  d->hasFocus = true;
  notifyParent(hwnd, CBN_SETFOCUS);
}

void moveSelection(HWND hwnd, int to) {
  ComboData* d = dataOf(hwnd);
  if (!d || d->items.empty()) return;
  to = std::clamp(to, 0, static_cast<int>(d->items.size()) - 1);
  if (to == d->cursel) return;
  select(hwnd, to);
  if (IsWindow(hwnd)) notifyParent(hwnd, CBN_SELCHANGE);
}

// The combo box's field: a sunken box with the button that drops the list
// at its right; a drop-down list shows the chosen item in it (highlighted
// while the combo box has the focus), a drop-down's edit field lies over it.
void paintCombo(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  Window* w = find(hwnd);
  ComboData* d = dataOf(hwnd);
  HBRUSH brush = classic::prepareControl(hwnd, dc, WM_CTLCOLORSTATIC);
  if ((w = find(hwnd)) != nullptr && (d = dataOf(hwnd)) != nullptr) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD type = typeOf(*w);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    RECT field{0, 0, client.right, std::min<LONG>(client.bottom, d->fieldHeight + kFieldPadding)};
    if (type == CBS_SIMPLE) {
      FillRect(dc, &client, brush);
    } else {
      RECT inside = field;
      DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      HBRUSH back = enabled ? GetSysColorBrush(COLOR_WINDOW) : GetSysColorBrush(COLOR_BTNFACE);
      FillRect(dc, &inside, back);
      RECT button{std::max(inside.left, inside.right - kButtonWidth + 2), inside.top, inside.right, inside.bottom};
      classic::drawArrowButton(dc, button, 1, d->dropped, enabled);
      if (type == CBS_DROPDOWNLIST) {
        RECT text{inside.left + 1, inside.top + 1, button.left - 1, inside.bottom - 1};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        if (GetFocus() == hwnd && !d->dropped) {
          FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
          SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
          DrawFocusRect(dc, &text);
        }
        classic::setTextState(hwnd, dc);
        RECT t = text;
        t.left += 2;
        DrawTextA(dc, w->text.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
  }
}

// The list: white, its items one under another from the top index, the
// chosen one highlighted.
void paintList(HWND hwnd, HWND combo) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  HBRUSH brush = classic::prepareControl(hwnd, dc, WM_CTLCOLORLISTBOX);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  if (ComboData* d = dataOf(combo)) {
    SetBkMode(dc, TRANSPARENT);
    int height = std::max(1, d->itemHeight);
    for (int i = std::max(0, d->topIndex); i < static_cast<int>(d->items.size()); ++i) {
      RECT item{client.left, client.top + (i - d->topIndex) * height, client.right, 0};
      item.bottom = item.top + height;
      if (item.top >= client.bottom) break;
      bool chosen = i == d->cursel;
      if (chosen) FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      RECT t = item;
      t.left += 2;
      const std::string& text = d->items[static_cast<size_t>(i)].text;
      DrawTextA(dc, text.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

LRESULT comboProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) {
    w->control = std::make_unique<ComboData>();
    // WS_VSCROLL (WS_HSCROLL) asks for the list's bar: the field has none.
    w->scrollStyleForPart = true;
  }
  ComboData* d = dataOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  DWORD type = typeOf(*w);
  switch (msg) {
    case WM_CREATE: {
      d->droppedHeight = w->rect.bottom - w->rect.top;
      if (type != CBS_SIMPLE) w->rect.bottom = w->rect.top + d->fieldHeight + kFieldPadding;
      RECT c;
      GetClientRect(hwnd, &c);
      if (type != CBS_DROPDOWNLIST) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (w->style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
        if (w->style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
        d->edit = CreateWindowEx(0, "Edit", w->text.c_str(), editStyle, 0, 0, c.right, d->fieldHeight + kFieldPadding,
                                 hwnd, reinterpret_cast<HMENU>(COMBO_EDIT_ID), w->instance, nullptr);
      }
      if (!(d = dataOf(hwnd))) return -1;
      if (type == CBS_SIMPLE) {
        d->list = CreateWindowEx(0, "ComboLBox", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, hwnd,
                                 reinterpret_cast<HMENU>(COMBO_LIST_ID), w->instance, nullptr);
      } else {
        d->list = CreateWindowEx(WS_EX_TOOLWINDOW, "ComboLBox", "", WS_POPUP | WS_BORDER, 0, 0, 0, 0, hwnd, nullptr,
                                 w->instance, nullptr);
      }
      if (!(d = dataOf(hwnd))) return -1;
      if (d->list) SetWindowLongPtr(d->list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hwnd));
      layoutParts(hwnd);
      return 0;
    }
    case WM_SIZE: layoutParts(hwnd); return 0;
    case WM_DESTROY:
      if (d->list && type != CBS_SIMPLE) {
        HWND list = d->list;
        d->list = nullptr;
        DestroyWindow(list);
      }
      return 0;
    case CB_ADDSTRING: {
      std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      size_t at = d->items.size();
      if (w->style & CBS_SORT)
        at = static_cast<size_t>(
            std::upper_bound(d->items.begin(), d->items.end(), text,
                             [](const std::string& t, const Item& i) { return lessText(t, i.text); }) -
            d->items.begin());
      d->items.insert(d->items.begin() + static_cast<std::ptrdiff_t>(at), Item{text, 0});
      if (d->cursel >= static_cast<int>(at)) ++d->cursel;
      if (d->dropped) placeList(hwnd);
      return static_cast<LRESULT>(at);
    }
    case CB_INSERTSTRING: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      int n = static_cast<int>(d->items.size());
      if (index == -1) index = n;
      if (index < 0 || index > n) return CB_ERR;
      d->items.insert(d->items.begin() + index, Item{lParam ? reinterpret_cast<const char*>(lParam) : "", 0});
      if (d->cursel >= index) ++d->cursel;
      if (d->dropped) placeList(hwnd);
      return index;
    }
    case CB_DELETESTRING: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size())) return CB_ERR;
      d->items.erase(d->items.begin() + index);
      if (d->cursel == index)
        d->cursel = -1;
      else if (d->cursel > index)
        --d->cursel;
      return static_cast<LRESULT>(d->items.size());
    }
    case CB_RESETCONTENT:
      d->items.clear();
      d->cursel = -1;
      d->topIndex = 0;
      setEditText(hwnd, "");
      return CB_OKAY;
    case CB_GETCOUNT: return static_cast<LRESULT>(d->items.size());
    case CB_GETCURSEL: return d->cursel;
    case CB_SETCURSEL: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      bool valid = index >= 0 && index < static_cast<int>(d->items.size());
      select(hwnd, valid ? index : -1);
      return valid ? index : CB_ERR;
    }
    case CB_GETLBTEXT: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size()) || !lParam) return CB_ERR;
      const std::string& text = d->items[static_cast<size_t>(index)].text;
      std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
      return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size())) return CB_ERR;
      return static_cast<LRESULT>(d->items[static_cast<size_t>(index)].text.size());
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      return findItem(*d, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const char*>(lParam),
                      msg == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
      int index =
          findItem(*d, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const char*>(lParam), false);
      if (index >= 0) select(hwnd, index);
      return index;
    }
    case CB_SETITEMDATA: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size())) return CB_ERR;
      d->items[static_cast<size_t>(index)].data = static_cast<DWORD_PTR>(lParam);
      return CB_OKAY;
    }
    case CB_GETITEMDATA: {
      int index = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size())) return CB_ERR;
      return static_cast<LRESULT>(d->items[static_cast<size_t>(index)].data);
    }
    case CB_SHOWDROPDOWN:
      if (type == CBS_SIMPLE) return TRUE;
      if (wParam)
        drop(hwnd);
      else
        closeUp(hwnd, -1);
      return TRUE;
    case CB_GETDROPPEDSTATE: return d->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return CB_ERR;
      GetWindowRect(hwnd, r);
      r->right = r->left + std::max<int>(d->droppedWidth, r->right - r->left);
      r->bottom = r->top + std::max<int>(d->droppedHeight, r->bottom - r->top);
      return CB_OKAY;
    }
    case CB_SETITEMHEIGHT: {
      int h = static_cast<int>(lParam);
      if (h <= 0 || h > 255) return CB_ERR;
      if (static_cast<int>(static_cast<INT_PTR>(wParam)) == -1) {
        d->fieldHeight = h;
        if (type != CBS_SIMPLE) {
          RECT r = w->rect;
          SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, h + kFieldPadding,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        layoutParts(hwnd);
      } else {
        d->itemHeight = h;
      }
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT: return static_cast<int>(static_cast<INT_PTR>(wParam)) == -1 ? d->fieldHeight : d->itemHeight;
    case CB_SETDROPPEDWIDTH: d->droppedWidth = static_cast<int>(wParam); return d->droppedWidth;
    case CB_GETDROPPEDWIDTH: {
      RECT r;
      GetWindowRect(hwnd, &r);
      return std::max<int>(d->droppedWidth, r.right - r.left);
    }
    case CB_SETHORIZONTALEXTENT: d->horizontalExtent = static_cast<int>(wParam); return 0;
    case CB_GETHORIZONTALEXTENT: return d->horizontalExtent;
    case CB_SETTOPINDEX: d->topIndex = std::max(0, static_cast<int>(wParam)); return CB_OKAY;
    case CB_GETTOPINDEX: return d->topIndex;
    case CB_LIMITTEXT: return d->edit ? SendMessage(d->edit, EM_LIMITTEXT, wParam, 0) : CB_ERR;
    case CB_GETEDITSEL: return d->edit ? SendMessage(d->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
      return d->edit ? (SendMessage(d->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                                    static_cast<short>(HIWORD(lParam))),
                        TRUE)
                     : CB_ERR;
    case kChooseItem:
      if (d->dropped)
        closeUp(hwnd, static_cast<int>(wParam));
      else if (static_cast<int>(wParam) < static_cast<int>(d->items.size())) {
        select(hwnd, static_cast<int>(wParam));
        if (IsWindow(hwnd)) notifyParent(hwnd, CBN_SELCHANGE);
      }
      return 0;
    case WM_SETTEXT:
      if (type == CBS_DROPDOWNLIST) {
        int index = findItem(*d, -1, reinterpret_cast<const char*>(lParam), true);
        if (index < 0) return CB_ERR;
        select(hwnd, index);
        return TRUE;
      }
      setEditText(hwnd, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (d->edit) return SendMessage(d->edit, msg, wParam, lParam);
      w->text = d->cursel >= 0 ? d->items[static_cast<size_t>(d->cursel)].text : std::string();
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == d->edit && d->edit) {
        switch (HIWORD(wParam)) {
          case EN_UPDATE:
            if (!d->quiet) notifyParent(hwnd, CBN_EDITUPDATE);
            break;
          case EN_CHANGE:
            if (!d->quiet) notifyParent(hwnd, CBN_EDITCHANGE);
            break;
          case EN_SETFOCUS: focusGained(hwnd); break;
          case EN_KILLFOCUS: focusLost(hwnd); break;
          default: break;
        }
      }
      return 0;
    case WM_SETFOCUS:
      if (d->edit) {
        SetFocus(d->edit);
        if ((d = dataOf(hwnd)) != nullptr && d->edit) SendMessage(d->edit, EM_SETSEL, 0, -1);
      } else {
        focusGained(hwnd);
      }
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS: focusLost(hwnd); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      POINT screen = pt;
      ClientToScreen(hwnd, &screen);
      if (d->dropped) {
        RECT list = listScreenRect(hwnd);
        if (!PtInRect(&list, screen)) closeUp(hwnd, -1);
        return 0;
      }
      RECT c;
      GetClientRect(hwnd, &c);
      bool onButton = type == CBS_DROPDOWNLIST || (type == CBS_DROPDOWN && pt.x >= c.right - kButtonWidth);
      HWND focusTo = d->edit ? d->edit : hwnd;
      if (!isSelfOrDescendant(hwnd, GetFocus())) SetFocus(focusTo);
      if (onButton && IsWindow(hwnd)) drop(hwnd);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!d->dropped) return 0;
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &screen);
      int index = itemAtScreen(hwnd, screen);
      if (index >= 0) closeUp(hwnd, index);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (d->dropped && reinterpret_cast<HWND>(lParam) != hwnd) closeUp(hwnd, -1);
      return 0;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_F4:
          if (d->dropped)
            closeUp(hwnd, -1);
          else
            drop(hwnd);
          return 0;
        case VK_UP:
        case VK_DOWN:
          if (keyDown(VK_MENU)) {
            if (d->dropped)
              closeUp(hwnd, -1);
            else
              drop(hwnd);
            return 0;
          }
          moveSelection(hwnd, d->cursel + (wParam == VK_DOWN ? 1 : -1));
          return 0;
        case VK_HOME: moveSelection(hwnd, 0); return 0;
        case VK_END: moveSelection(hwnd, static_cast<int>(d->items.size()) - 1); return 0;
        case VK_RETURN:
        case VK_ESCAPE: closeUp(hwnd, -1); return 0;
        default: return 0;
      }
    case WM_CHAR:
      if (type == CBS_DROPDOWNLIST && wParam >= 0x20 && wParam < 0x7F) {
        char typed[2] = {static_cast<char>(wParam), '\0'};
        int index = findItem(*d, d->cursel, typed, false);
        if (index >= 0) moveSelection(hwnd, index);
      }
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS;
      const MSG* m = reinterpret_cast<const MSG*>(lParam);
      if (d->dropped && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR: return d->edit ? SendMessage(d->edit, msg, wParam, lParam) : 0;
    case WM_ENABLE:
      if (d->edit) EnableWindow(d->edit, static_cast<BOOL>(wParam));
      if (!wParam && (d = dataOf(hwnd)) != nullptr && d->dropped) closeUp(hwnd, -1);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: paintCombo(hwnd); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// The list: its clicks choose an item of the combo box it belongs to.
LRESULT comboListProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND combo = reinterpret_cast<HWND>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (ComboData* d = dataOf(combo)) {
        HWND focusTo = d->edit ? d->edit : combo;
        if (!isSelfOrDescendant(combo, GetFocus())) SetFocus(focusTo);
      }
      return 0;
    case WM_LBUTTONUP: {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &screen);
      int index = itemAtScreen(combo, screen);
      if (index >= 0) SendMessage(combo, kChooseItem, static_cast<WPARAM>(index), 0);
      return 0;
    }
    case WM_MOUSEACTIVATE: return 3;  // MA_NOACTIVATE
    case WM_PAINT: paintList(hwnd, combo); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

WNDPROC comboBoxProc() { return &comboProcImpl; }
WNDPROC comboListProc() { return &comboListProcImpl; }

bool comboItemPoint(HWND combo, int index, POINT& screenPt) {
  ComboData* d = dataOf(combo);
  if (!d || !d->list || index < 0 || index >= static_cast<int>(d->items.size())) return false;
  Window* w = find(combo);
  if (!w || (typeOf(*w) != CBS_SIMPLE && !d->dropped)) return false;
  RECT r = listScreenRect(combo);
  screenPt = POINT{(r.left + r.right) / 2, r.top + 1 + (index - d->topIndex) * d->itemHeight + d->itemHeight / 2};
  return PtInRect(&r, screenPt) != FALSE;
}

bool comboButtonPoint(HWND combo, POINT& screenPt) {
  Window* w = find(combo);
  if (!w) return false;
  RECT r;
  GetWindowRect(combo, &r);
  RECT c = clientArea(*w);
  int right = r.left + c.right;
  screenPt = POINT{typeOf(*w) == CBS_DROPDOWN ? right - kButtonWidth / 2 : (r.left + right) / 2,
                   r.top + (c.top + c.bottom) / 2};
  return true;
}

HWND comboEdit(HWND combo) {
  ComboData* d = dataOf(combo);
  return d ? d->edit : nullptr;
}

}  // namespace platform::win
