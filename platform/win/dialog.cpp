// Dialogs: creation from a template (dialog units to pixels with the
// template's font), the dialog class's default procedure, the dialog manager's
// keyboard (tab order, default button, Esc, arrows within a group), the
// dialog-item helpers, and the platform's control classes.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "crt/ascii.h"
#include "win/classic.h"
#include "win/transcript.h"
#include "win/commctrl.h"
#include "win/window_internal.h"
#include "win/controls_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

constexpr const char* kDialogClass = "#32770";

int mulDiv(int value, int num, int den) {
  long long v = static_cast<long long>(value) * num;
  long long half = den / 2;
  return static_cast<int>(v >= 0 ? (v + half) / den : (v - half) / den);
}

// The direct child of `dialog` that `hwnd` lies in (a combo box for its edit field).
HWND directChild(HWND dialog, HWND hwnd) {
  for (Window* w = find(hwnd); w; w = find(w->parent)) {
    if (!(w->style & WS_CHILD)) return nullptr;
    if (w->parent == dialog) return w->handle;
  }
  return nullptr;
}

bool canTakeFocus(const Window& w) { return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED); }

// The controls of `dialog`'s group that `control` belongs to.
std::vector<HWND> groupOf(HWND dialog, HWND control) {
  Window* d = find(dialog);
  std::vector<HWND> group;
  if (!d) return group;
  const std::vector<HWND>& all = d->children;
  auto at = std::find(all.begin(), all.end(), control);
  if (at == all.end()) return group;
  auto first = at;
  while (first != all.begin()) {
    Window* f = find(*first);
    if (f && (f->style & WS_GROUP)) break;
    --first;
  }
  for (auto it = first; it != all.end(); ++it) {
    Window* g = find(*it);
    if (!g) continue;
    if (it != first && (g->style & WS_GROUP)) break;
    group.push_back(*it);
  }
  return group;
}

RECT pixels(const DialogBaseUnits& bu, short x, short y, short cx, short cy) {
  int left = mulDiv(x, bu.cx, 4), top = mulDiv(y, bu.cy, 8);
  return RECT{left, top, left + mulDiv(cx, bu.cx, 4), top + mulDiv(cy, bu.cy, 8)};
}

LRESULT dialogProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProc(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND firstTabStop(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

void dialogSetFocus(HWND control) {
  if (!IsWindow(control)) return;
  if (SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
  if (IsWindow(control)) SetFocus(control);
}

UINT defaultButtonId(HWND dialog) {
  LRESULT r = SendMessage(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : IDOK;
}

WNDPROC dialogClassProc() { return &dialogProcImpl; }

void registerSystemClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  struct Entry {
    const char* name;
    WNDPROC proc;
    UINT style;
    int wndExtra;
  } const entries[] = {
      {"Edit", editProc(), CS_DBLCLKS, 0},
      {"Button", buttonProc(), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, 0},
      {"Static", staticProc(), CS_DBLCLKS, 0},
      {"ComboBox", comboBoxProc(), CS_DBLCLKS, 0},
      {"ComboLBox", comboListProc(), CS_DBLCLKS | CS_SAVEBITS, 0},
      {"ScrollBar", scrollBarProc(), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, 0},
      {UPDOWN_CLASS, upDownProc(), CS_HREDRAW | CS_VREDRAW, 0},
      {WC_TREEVIEW, treeProc(), CS_DBLCLKS, 0},
      {TOOLTIPS_CLASS, toolTipProc(), CS_SAVEBITS, 0},
      {kDialogClass, dialogClassProc(), CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA},
  };
  for (const Entry& e : entries) {
    WindowClass c;
    c.name = e.name;
    c.proc = e.proc;
    c.style = e.style;
    c.wndExtra = e.wndExtra;
    c.system = true;
    registerClassOf(c);
  }
}

}  // namespace platform::win

using namespace platform::win;

namespace platform {

HWND createDialogFromTemplate(const DialogTemplate& tmpl, HWND parent, DLGPROC proc, LPARAM param) {
  DialogBaseUnits bu = dialogBaseUnits(tmpl.fontName, tmpl.pointSize);
  DWORD style = tmpl.style;
  DWORD exStyle = tmpl.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  bool child = (style & WS_CHILD) != 0;
  bool visible = (style & WS_VISIBLE) != 0;
  style &= ~WS_VISIBLE;
  RECT client = pixels(bu, tmpl.x, tmpl.y, tmpl.cx, tmpl.cy);
  // The window around the client area.
  RECT insets{0, 0, 0, 0};
  {
    Window probe;
    probe.style = style;
    probe.exStyle = exStyle;
    probe.rect = RECT{0, 0, 1000, 1000};
    RECT c = clientArea(probe);
    insets = RECT{c.left, c.top, 1000 - c.right, 1000 - c.bottom};
  }
  int width = (client.right - client.left) + insets.left + insets.right;
  int height = (client.bottom - client.top) + insets.top + insets.bottom;
  int x = client.left, y = client.top;
  if (!child) {
    HWND owner = parent ? topLevelOf(parent) : nullptr;
    RECT area{0, 0, 1920, 1080};
    if (owner) GetWindowRect(owner, &area);
    if (style & DS_CENTER) {
      x = area.left + ((area.right - area.left) - width) / 2;
      y = area.top + ((area.bottom - area.top) - height) / 2;
    } else if (owner && !(style & DS_ABSALIGN)) {
      POINT o = clientOrigin(owner);
      x += o.x;
      y += o.y;
    }
  }
  HWND dlg = CreateWindowEx(exStyle, kDialogClass, tmpl.caption.c_str(), style, x, y, width, height, parent, nullptr,
                            nullptr, nullptr);
  if (!dlg) return nullptr;
  if (Window* w = find(dlg)) {
    if (!w->dialog) w->dialog = std::make_unique<DialogState>();
    w->dialog->proc = proc;
    w->dialog->templateId = tmpl.id;
    w->dialog->baseX = bu.cx;
    w->dialog->baseY = bu.cy;
  }
  for (const DialogControlTemplate& c : tmpl.controls) {
    RECT r = pixels(bu, c.x, c.y, c.cx, c.cy);
    HWND ctl = CreateWindowEx(c.exStyle, c.className.c_str(), c.text.c_str(), c.style | WS_CHILD, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, dlg,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<WORD>(c.id))), nullptr, nullptr);
    if (!IsWindow(dlg)) return nullptr;
    if (!ctl && !(tmpl.style & DS_NOFAILCREATE)) {
      transcriptLine("[window system] dialog " + std::to_string(tmpl.id) + ": control " + std::to_string(c.id) +
                     " of class \"" + c.className + "\" cannot be created");
      DestroyWindow(dlg);
      return nullptr;
    }
    Window* made = find(ctl);
    Window* w = find(dlg);
    if (made && w && w->dialog && !w->dialog->defId && equalNoCase(c.className, "Button") &&
        (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      w->dialog->defId = static_cast<UINT>(c.id & 0xFFFF);
  }
  HWND first = firstTabStop(dlg);
  LRESULT setFocus = SendMessage(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dlg)) return nullptr;
  // TRUE: the dialog manager gives the focus to the first control that takes
  // it; FALSE: the dialog set the focus itself.
  if (setFocus) {
    first = firstTabStop(dlg);
    if (first) dialogSetFocus(first);
  }
  if (visible && IsWindow(dlg)) ShowWindow(dlg, child ? SW_SHOW : SW_SHOWNORMAL);
  return IsWindow(dlg) ? dlg : nullptr;
}

UINT dialogTemplateId(HWND hwnd) {
  Window* w = find(hwnd);
  return w && w->dialog ? w->dialog->templateId : 0;
}

std::vector<HWND> templateWindows(UINT id) {
  std::vector<HWND> out;
  for (HWND h : allWindows()) {
    Window* w = find(h);
    if (w && w->dialog && w->dialog->templateId == id && !w->destroying) out.push_back(h);
  }
  return out;
}

bool isModalDialog(HWND dialog) {
  Window* w = find(dialog);
  return w && w->dialog && w->dialog->modalDepth > 0;
}

}  // namespace platform

HWND CreateDialogParam(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  if (!IS_INTRESOURCE(templateName)) return nullptr;
  UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(templateName));
  std::shared_ptr<const platform::DialogTemplate> tmpl = platform::findDialogTemplate(id);
  if (!tmpl) {
    platform::transcriptLine("[window system] no dialog template " + std::to_string(id));
    return nullptr;
  }
  return platform::createDialogFromTemplate(*tmpl, parent, proc, param);
}

INT_PTR DialogBoxParam(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  if (!IS_INTRESOURCE(templateName)) return -1;
  UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(templateName));
  std::shared_ptr<const platform::DialogTemplate> tmpl = platform::findDialogTemplate(id);
  if (!tmpl) {
    platform::transcriptLine("[window system] no dialog template " + std::to_string(id));
    return -1;
  }
  HWND owner = parent ? topLevelOf(parent) : nullptr;
  bool enableOwner = owner && IsWindowEnabled(owner);
  if (enableOwner) EnableWindow(owner, FALSE);
  HWND dlg = platform::createDialogFromTemplate(*tmpl, parent, proc, param);
  INT_PTR result = dlg ? platform::runModalDialog(dlg) : -1;
  if (enableOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (dlg && IsWindow(dlg)) {
    if (owner && GetActiveWindow() == dlg) SetActiveWindow(owner);
    DestroyWindow(dlg);
  }
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  Window* w = find(dialog);
  if (!w || !w->dialog) return FALSE;
  w->dialog->ended = true;
  w->dialog->result = result;
  // A dialog without a modal loop (made by CreateDialog) is only hidden.
  if (w->dialog->modalDepth == 0) ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

LRESULT DefDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (w->dialog && w->dialog->proc) {
    DLGPROC proc = w->dialog->proc;
    w->dialog->msgResult = 0;
    INT_PTR handled = proc(hwnd, msg, wParam, lParam);
    w = find(hwnd);
    if (!w) return 0;
    if (handled) {
      switch (msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: return handled;
        default: return w->dialog ? w->dialog->msgResult : 0;
      }
    }
    if (msg == WM_INITDIALOG) return FALSE;
  }
  DialogState* d = w->dialog.get();
  switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case DM_GETDEFID: {
      if (d && d->defId) return MAKELRESULT(d->defId, DC_HASDEFID);
      for (HWND c : w->children) {
        Window* cw = find(c);
        if (cw && platform::equalNoCase(cw->cls->name, "Button") && (cw->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
          return MAKELRESULT(static_cast<WORD>(cw->id), DC_HASDEFID);
      }
      return 0;
    }
    case DM_SETDEFID:
      if (d) d->defId = static_cast<UINT>(wParam);
      return TRUE;
    case WM_CLOSE: {
      // Closing a dialog is its Cancel, unless that button is disabled.
      HWND cancel = GetDlgItem(hwnd, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) return 0;
      PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_ACTIVATE:
      if (!d) return 0;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) d->lastFocus = focus;
      } else if (!isSelfOrDescendant(hwnd, GetFocus())) {
        HWND to =
            d->lastFocus && IsWindow(d->lastFocus) && IsChild(hwnd, d->lastFocus) ? d->lastFocus : firstTabStop(hwnd);
        if (to) dialogSetFocus(to);
      }
      return 0;
    case WM_SETFOCUS: {
      HWND to = d && d->lastFocus && IsWindow(d->lastFocus) && IsChild(hwnd, d->lastFocus) ? d->lastFocus
                                                                                           : firstTabStop(hwnd);
      if (to) dialogSetFocus(to);
      return 0;
    }
    case WM_NEXTDLGCTL: {
      HWND to = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
      if (to) dialogSetFocus(to);
      return 0;
    }
    case WM_GETDLGCODE: return 0;
    case WM_ERASEBKGND: {
      // The dialog's background: the brush its WM_CTLCOLORDLG gives.
      HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : GetDC(hwnd);
      HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessage(hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(hwnd)));
      if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, brush);
      if (!wParam) ReleaseDC(hwnd, dc);
      return 1;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  switch (msg->message) {
    case WM_KEYDOWN: {
      LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
      if (!IsWindow(dialog)) return TRUE;
      if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) break;
      switch (msg->wParam) {
        case VK_TAB: {
          if (code & DLGC_WANTTAB) break;
          HWND next = GetNextDlgTabItem(dialog, GetFocus(), keyDown(VK_SHIFT) ? TRUE : FALSE);
          if (next) dialogSetFocus(next);
          return TRUE;
        }
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & DLGC_WANTARROWS) break;
          bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
          HWND next = GetNextDlgGroupItem(dialog, GetFocus(), back ? TRUE : FALSE);
          if (next) {
            LRESULT nextCode = SendMessage(next, WM_GETDLGCODE, 0, 0);
            dialogSetFocus(next);
            Window* nw = find(next);
            if ((nextCode & DLGC_RADIOBUTTON) && nw && (nw->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
              SendMessage(next, BM_CLICK, 0, 0);
          }
          return TRUE;
        }
        case VK_RETURN: {
          HWND focus = GetFocus();
          HWND control = nullptr;
          UINT id = 0;
          if (focus == msg->hwnd && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && IsWindowEnabled(focus)) {
            control = focus;
            id = static_cast<UINT>(GetDlgCtrlID(focus));
          } else {
            id = defaultButtonId(dialog);
            control = GetDlgItem(dialog, static_cast<int>(id));
            if (control && !IsWindowEnabled(control)) {
              MessageBeep(0);
              return TRUE;
            }
          }
          SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                      reinterpret_cast<LPARAM>(control));
          return TRUE;
        }
        case VK_ESCAPE: {
          HWND cancel = GetDlgItem(dialog, IDCANCEL);
          if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return TRUE;
          }
          SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
          return TRUE;
        }
        default: break;
      }
      break;
    }
    case WM_CHAR: {
      WPARAM ch = msg->wParam;
      if (ch != '\t' && ch != '\r' && ch != 0x1B) break;
      LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
      if (!IsWindow(dialog)) return TRUE;
      if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) break;
      if (ch == '\t' && (code & DLGC_WANTTAB)) break;
      return TRUE;  // the dialog manager's keys make no characters
    }
    default: break;
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = find(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = find(c);
    if (cw && static_cast<int>(static_cast<WORD>(cw->id)) == static_cast<int>(static_cast<WORD>(id))) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = find(hwnd);
  return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SendMessage(c, msg, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SetWindowText(c, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size) {
  HWND c = GetDlgItem(dialog, id);
  if (!c) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowText(c, buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char buf[32];
  if (isSigned)
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
  else
    std::snprintf(buf, sizeof buf, "%u", value);
  return SetDlgItemText(dialog, id, buf);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND c = GetDlgItem(dialog, id);
  if (!c) return 0;
  int n = GetWindowTextLength(c);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  GetWindowText(c, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  size_t a = text.find_first_not_of(' ');
  size_t b = text.find_last_not_of(' ');
  if (a == std::string::npos) return 0;
  text = text.substr(a, b - a + 1);
  char* end = nullptr;
  errno = 0;
  long long v =
      isSigned ? std::strtoll(text.c_str(), &end, 10) : static_cast<long long>(std::strtoull(text.c_str(), &end, 10));
  if (!end || *end != '\0' || errno == ERANGE || (!isSigned && text[0] == '-')) return 0;
  if (isSigned ? (v < -2147483648LL || v > 2147483647LL) : (v < 0 || v > 4294967295LL)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND c = GetDlgItem(dialog, id);
  if (!c) return FALSE;
  SendMessage(c, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  return c ? static_cast<UINT>(SendMessage(c, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  if (!IsWindow(dialog)) return FALSE;
  for (int id = firstId; id <= lastId; ++id)
    if (HWND c = GetDlgItem(dialog, id)) SendMessage(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = find(dialog);
  if (!d) return nullptr;
  std::vector<HWND> stops;
  for (HWND c : d->children) {
    Window* cw = find(c);
    if (cw && canTakeFocus(*cw) && (cw->style & WS_TABSTOP)) stops.push_back(c);
  }
  if (stops.empty()) return nullptr;
  HWND from = control ? directChild(dialog, control) : nullptr;
  const std::vector<HWND>& all = d->children;
  auto at = from ? std::find(all.begin(), all.end(), from) : all.end();
  if (at == all.end()) return previous ? stops.back() : stops.front();
  // The next tab stop after `from` in the z-order, round the end.
  size_t n = all.size();
  size_t i = static_cast<size_t>(at - all.begin());
  for (size_t k = 1; k <= n; ++k) {
    size_t j = previous ? (i + n - k) % n : (i + k) % n;
    if (std::find(stops.begin(), stops.end(), all[j]) != stops.end()) return all[j];
  }
  return from;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  HWND from = control ? directChild(dialog, control) : nullptr;
  if (!from) return nullptr;
  std::vector<HWND> group = groupOf(dialog, from);
  auto at = std::find(group.begin(), group.end(), from);
  if (at == group.end()) return from;
  size_t n = group.size();
  size_t i = static_cast<size_t>(at - group.begin());
  for (size_t k = 1; k <= n; ++k) {
    size_t j = previous ? (i + n - k) % n : (i + k) % n;
    Window* w = find(group[j]);
    if (w && canTakeFocus(*w)) return group[j];
  }
  return from;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  Window* w = find(dialog);
  if (!w || !w->dialog || !rect) return FALSE;
  rect->left = mulDiv(rect->left, w->dialog->baseX, 4);
  rect->right = mulDiv(rect->right, w->dialog->baseX, 4);
  rect->top = mulDiv(rect->top, w->dialog->baseY, 8);
  rect->bottom = mulDiv(rect->bottom, w->dialog->baseY, 8);
  return TRUE;
}

LONG GetDialogBaseUnits() {
  platform::DialogBaseUnits bu = platform::dialogBaseUnits(platform::kDialogFontName, platform::kDialogFontPoints);
  return MAKELONG(bu.cx, bu.cy);
}
