// The window objects: the handle table, window classes, creation and
// destruction, the tree of parents, owners and children, text, style,
// visibility, geometry and the rectangle that needs painting.
#include <algorithm>
#include <cstring>

#include "arx/rxdynlink.h"
#include "crt/ascii.h"
#include "win/classic.h"
#include "win/transcript.h"
#include "win/controls_internal.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

// The virtual screen.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
// Non-client sizes.
constexpr int kCaptionHeight = 22;
constexpr int kToolCaptionHeight = 18;
constexpr int kThickFrame = 4;
constexpr int kDialogFrame = 3;

struct WindowTable {
  std::map<uintptr_t, std::unique_ptr<Window>> windows;  // by handle, so oldest first
  uintptr_t nextHandle = 0x10000;                        // handles count up and are never used twice
  unsigned long long nextSerial = 1;
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<HWND> topLevels;  // top of the z-order first
  WindowCreationHook creationHook = nullptr;
  void* creationCookie = nullptr;
  void (*goneHook)(HWND) = nullptr;
  void (*closingHook)(HWND) = nullptr;
  int procDepth = 0;  // window procedures running
  HCURSOR cursor = nullptr;
  ClipboardTextReader clipboardRead = nullptr;
  ClipboardTextWriter clipboardWrite = nullptr;
  std::string clipboard;  // the text kept while no clipboard is set
};

WindowTable& table() {
  static WindowTable* t = new WindowTable();  // lives for the whole process
  return *t;
}

std::shared_ptr<const WindowClass> findClass(std::string_view name) {
  registerSystemClasses();
  LoadedModule* scope = currentModule();
  std::shared_ptr<const WindowClass> global;
  for (const auto& c : table().classes) {
    if (!equalNoCase(c->name, name)) continue;
    if (c->module == scope) return c;
    if (!c->module && !global) global = c;
  }
  return global;
}

RECT insetsOf(DWORD style, DWORD exStyle) {
  RECT in{0, 0, 0, 0};
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = kThickFrame;
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    frame = kDialogFrame;
  else if (style & WS_BORDER)
    frame = 1;
  if (exStyle & WS_EX_CLIENTEDGE) frame += 2;
  if (exStyle & WS_EX_STATICEDGE) frame += 1;
  in.left = in.top = in.right = in.bottom = frame;
  if ((style & WS_CAPTION) == WS_CAPTION) in.top += (exStyle & WS_EX_TOOLWINDOW) ? kToolCaptionHeight : kCaptionHeight;
  if (style & WS_VSCROLL) in.right += kScrollBarSize;
  if (style & WS_HSCROLL) in.bottom += kScrollBarSize;
  return in;
}

bool isChildStyle(DWORD style) { return (style & WS_CHILD) != 0; }

// The window rectangle on the screen.
RECT screenRect(const Window& w) {
  RECT r = w.rect;
  if (isChildStyle(w.style) && w.parent) {
    POINT o = clientOrigin(w.parent);
    OffsetRect(&r, o.x, o.y);
  }
  return r;
}

void unlinkFromParent(Window& w) {
  if (isChildStyle(w.style) && w.parent) {
    if (Window* p = find(w.parent)) {
      auto& c = p->children;
      c.erase(std::remove(c.begin(), c.end(), w.handle), c.end());
    }
  } else {
    auto& t = table().topLevels;
    t.erase(std::remove(t.begin(), t.end(), w.handle), t.end());
  }
}

void moveInZOrder(Window& w, HWND after) {
  std::vector<HWND>* list = nullptr;
  if (isChildStyle(w.style) && w.parent) {
    Window* p = find(w.parent);
    if (!p) return;
    list = &p->children;
  } else {
    list = &table().topLevels;
  }
  auto it = std::find(list->begin(), list->end(), w.handle);
  if (it == list->end()) return;
  list->erase(it);
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list->insert(list->begin(), w.handle);
  } else if (after == HWND_BOTTOM) {
    list->push_back(w.handle);
  } else {
    auto at = std::find(list->begin(), list->end(), after);
    list->insert(at == list->end() ? list->end() : at + 1, w.handle);
  }
}

// Copies UTF-8 text into a buffer of `size` bytes, whole characters only.
int copyText(const std::string& text, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

void destroyTree(HWND hwnd);

void sendSizeAndMove(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  RECT c = clientArea(*w);
  POINT origin{w->rect.left + c.left, w->rect.top + c.top};
  WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
  if (IsWindow(hwnd)) SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

}  // namespace

Window* find(HWND hwnd) {
  auto& w = table().windows;
  auto it = w.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == w.end() ? nullptr : it->second.get();
}

std::vector<HWND> allWindows() {
  std::vector<HWND> out;
  for (auto& [h, w] : table().windows) out.push_back(w->handle);
  return out;
}

LRESULT callProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w || !proc) return 0;
  ModuleCallScope scope(w->module);
  struct Depth {
    Depth() { ++table().procDepth; }
    ~Depth() { --table().procDepth; }
  } depth;
  try {
    return proc(hwnd, msg, wParam, lParam);
  } catch (...) {
    // Nothing may leave a window procedure by an exception: the message counts
    // as handled with 0 and the run goes on no further.
    failRun("an exception left the window procedure (message " + std::to_string(msg) + ")");
    return 0;
  }
}

bool insideWindowProcedure() { return table().procDepth > 0; }

RECT clientArea(const Window& w) {
  RECT in = insetsOf(w.scrollStyleForPart ? w.style & ~(WS_HSCROLL | WS_VSCROLL) : w.style, w.exStyle);
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT c{in.left, in.top, std::max<LONG>(in.left, width - in.right), std::max<LONG>(in.top, height - in.bottom)};
  return c;
}

POINT clientOrigin(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return POINT{0, 0};
  RECT s = screenRect(*w);
  RECT c = clientArea(*w);
  return POINT{s.left + c.left, s.top + c.top};
}

bool isSelfOrDescendant(HWND ancestor, HWND hwnd) {
  if (!ancestor) return false;
  for (Window* w = find(hwnd); w; w = isChildStyle(w->style) ? find(w->parent) : nullptr)
    if (w->handle == ancestor) return true;
  return false;
}

HWND topLevelOf(HWND hwnd) {
  Window* w = find(hwnd);
  while (w && isChildStyle(w->style) && w->parent) {
    Window* p = find(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->handle : nullptr;
}

bool getClipboardText(std::string& text) {
  if (ClipboardTextReader read = table().clipboardRead) return read(text);
  text = table().clipboard;
  return true;
}

void setClipboardText(const std::string& text) {
  if (ClipboardTextWriter write = table().clipboardWrite)
    write(text);
  else
    table().clipboard = text;
}

LRESULT notifyParent(HWND control, WORD code) {
  Window* w = find(control);
  if (!w || !w->parent) return 0;
  HWND parent = w->parent;
  return SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code), reinterpret_cast<LPARAM>(control));
}

void invalidateFrame(HWND hwnd) {
  if (Window* w = find(hwnd)) w->frameInvalid = true;
}

}  // namespace platform::win

using namespace platform::win;

// --- classes --------------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName) return 0;
  registerSystemClasses();
  platform::LoadedModule* scope = platform::currentModule();
  auto& classes = table().classes;
  for (const auto& c : classes)
    if (c->module == scope && platform::equalNoCase(c->name, wc->lpszClassName)) return 0;  // registered already
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->clsExtra = wc->cbClsExtra;
  c->wndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->menuName = wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName) ? wc->lpszMenuName : "";
  c->module = scope;
  classes.push_back(c);
  return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
  if (!className || IS_INTRESOURCE(className)) return FALSE;
  platform::LoadedModule* scope = platform::currentModule();
  auto& classes = table().classes;
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if ((*it)->system || (*it)->module != scope || !platform::equalNoCase((*it)->name, className)) continue;
    // Windows of the class keep their reference to it.
    classes.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, LPWNDCLASS wc) {
  if (!className || IS_INTRESOURCE(className)) return FALSE;
  std::shared_ptr<const WindowClass> c = findClass(className);
  if (!c) return FALSE;
  if (wc) {
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->clsExtra;
    wc->cbWndExtra = c->wndExtra;
    wc->hInstance = c->instance;
    wc->hIcon = c->icon;
    wc->hCursor = c->cursor;
    wc->hbrBackground = c->background;
    wc->lpszMenuName = nullptr;
    wc->lpszClassName = className;
  }
  return TRUE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
  Window* w = find(hwnd);
  if (!w) return 0;
  return copyText(w->cls->name, buffer, size);
}

// --- creation and destruction -----------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  if (!className || IS_INTRESOURCE(className)) return nullptr;
  std::shared_ptr<const WindowClass> cls = findClass(className);
  if (!cls) return nullptr;
  if ((style & WS_CHILD) && !find(parent)) return nullptr;
  WindowTable& t = table();
  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.handle = reinterpret_cast<HWND>(t.nextHandle);
  t.nextHandle += 4;
  w.serial = t.nextSerial++;
  w.cls = cls;
  w.proc = cls->proc;
  w.style = style;
  w.exStyle = exStyle;
  w.text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
  w.instance = instance;
  w.module = platform::currentModule();
  w.extra.assign(static_cast<size_t>(std::max(0, cls->wndExtra) + 7) / 8, 0);
  if (platform::equalNoCase(cls->name, "#32770")) w.dialog = std::make_unique<DialogState>();
  if (style & WS_CHILD) {
    w.parent = parent;
    w.id = reinterpret_cast<UINT_PTR>(menuOrId);
  } else if (parent) {
    w.owner = topLevelOf(parent);
  }
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = (style & WS_CHILD) ? 0 : kScreenWidth / 2;
    height = (style & WS_CHILD) ? 0 : kScreenHeight / 2;
  }
  w.rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  HWND hwnd = w.handle;
  t.windows.emplace(reinterpret_cast<uintptr_t>(hwnd), std::move(owned));
  if (style & WS_CHILD) {
    find(parent)->children.push_back(hwnd);  // the bottom of the z-order: tab order is creation order
  } else {
    t.topLevels.insert(t.topLevels.begin(), hwnd);
  }
  if (platform::WindowCreationHook hook = t.creationHook) {
    void* cookie = t.creationCookie;
    t.creationHook = nullptr;
    t.creationCookie = nullptr;
    hook(hwnd, cookie);
  }
  CREATESTRUCT cs{param,      instance,  menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
                  windowName, className, exStyle};
  if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  sendSizeAndMove(hwnd);
  Window* made = find(hwnd);
  if (!made) return nullptr;
  if (made->style & WS_VISIBLE) InvalidateRect(hwnd, nullptr, TRUE);
  return hwnd;
}

namespace platform::win {
namespace {

void destroyTree(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w || w->destroying) return;
  w->destroying = true;
  w->style &= ~WS_VISIBLE;
  forgetWindowFocus(hwnd);
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  // The children go after their parent's WM_DESTROY and before its WM_NCDESTROY.
  for (;;) {
    Window* self = find(hwnd);
    if (!self || self->children.empty()) break;
    HWND child = self->children.front();
    Window* c = find(child);
    if (!c || c->destroying) {
      self->children.erase(self->children.begin());
      continue;
    }
    destroyTree(child);
  }
  Window* self = find(hwnd);
  if (!self) return;
  unlinkFromParent(*self);
  forgetWindowMessages(hwnd);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  // Nothing touches the window after its final message.
  table().windows.erase(reinterpret_cast<uintptr_t>(hwnd));
  forgetWindowPicture(hwnd);
  if (void (*gone)(HWND) = table().goneHook) gone(hwnd);
}

}  // namespace
}  // namespace platform::win

BOOL DestroyWindow(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  if (!isChildStyle(w->style))
    if (void (*closing)(HWND) = table().closingHook) {
      closing(hwnd);
      if (!(w = find(hwnd)) || w->destroying) return TRUE;
    }
  // Windows it owns go first.
  for (HWND other : allWindows()) {
    Window* o = find(other);
    if (o && o->owner == hwnd && !o->destroying) DestroyWindow(other);
  }
  destroyTree(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return find(hwnd) != nullptr; }

BOOL IsChild(HWND parent, HWND hwnd) { return hwnd != parent && isSelfOrDescendant(parent, hwnd); }

HWND GetParent(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  return isChildStyle(w->style) ? w->parent : w->owner;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  if (newParent && !find(newParent)) return nullptr;
  if (newParent && isSelfOrDescendant(hwnd, newParent)) return nullptr;
  HWND old = GetParent(hwnd);
  unlinkFromParent(*w);
  if (newParent && isChildStyle(w->style)) {
    w->parent = newParent;
    find(newParent)->children.insert(find(newParent)->children.begin(), hwnd);
  } else {
    w->parent = newParent;
    table().topLevels.insert(table().topLevels.begin(), hwnd);
  }
  return old;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  const std::vector<HWND>* list = &table().topLevels;
  if (isChildStyle(w->style) && w->parent) {
    Window* p = find(w->parent);
    if (!p) return nullptr;
    list = &p->children;
  }
  auto it = std::find(list->begin(), list->end(), hwnd);
  if (it == list->end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return list->front();
    case GW_HWNDLAST: return list->back();
    case GW_HWNDNEXT: return it + 1 == list->end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == list->begin() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return isChildStyle(w->style) ? w->parent : nullptr;
    case GA_ROOT: return topLevelOf(hwnd);
    case GA_ROOTOWNER: {
      HWND h = topLevelOf(hwnd);
      for (Window* o = find(h); o && o->owner; o = find(o->owner)) h = o->owner;
      return h;
    }
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return table().topLevels.empty() ? nullptr : table().topLevels.front();
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM lParam) {
  if (!fn) return FALSE;
  Window* w = find(parent);
  if (!w) return FALSE;
  std::vector<HWND> children = w->children;
  for (HWND c : children) {
    if (!IsWindow(c)) continue;
    if (!fn(c, lParam)) return FALSE;
    if (IsWindow(c) && !EnumChildWindows(c, fn, lParam)) return FALSE;
  }
  return TRUE;
}

// --- window data --------------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (w->dialog) {
    switch (index) {
      case DWLP_MSGRESULT: return w->dialog->msgResult;
      case DWLP_DLGPROC: return reinterpret_cast<LONG_PTR>(w->dialog->proc);
      case DWLP_USER: return w->dialog->user;
      default: break;
    }
  }
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWLP_ID: return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    default:
      if (index >= 0 && index % 8 == 0 && static_cast<size_t>(index / 8) < w->extra.size()) return w->extra[index / 8];
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = find(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(hwnd, index);
  if (w->dialog) {
    switch (index) {
      case DWLP_MSGRESULT: w->dialog->msgResult = value; return old;
      case DWLP_DLGPROC: w->dialog->proc = reinterpret_cast<DLGPROC>(value); return old;
      case DWLP_USER: w->dialog->user = value; return old;
      default: break;
    }
  }
  switch (index) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_ID: w->id = static_cast<UINT_PTR>(value); break;
    case GWL_STYLE: {
      DWORD visible = w->style & WS_VISIBLE;
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | visible;
      break;
    }
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWLP_USERDATA: w->userData = value; break;
    case GWLP_HWNDPARENT:
      if (!isChildStyle(w->style)) w->owner = reinterpret_cast<HWND>(value);
      break;
    default:
      if (index >= 0 && index % 8 == 0 && static_cast<size_t>(index / 8) < w->extra.size())
        w->extra[index / 8] = value;
      else
        return 0;
  }
  return old;
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// --- state ---------------------------------------------------------------------------------

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (wasDisabled == !enable) return wasDisabled;
  if (!enable) {
    w->style |= WS_DISABLED;
    // A window that is disabled loses the keyboard focus and the capture.
    if (isSelfOrDescendant(hwnd, GetFocus())) SetFocus(nullptr);
    if (isSelfOrDescendant(hwnd, GetCapture())) ReleaseCapture();
  } else {
    w->style &= ~WS_DISABLED;
  }
  if (IsWindow(hwnd)) {
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  for (; w; w = isChildStyle(w->style) ? find(w->parent) : nullptr)
    if (w->style & WS_DISABLED) return FALSE;
  return TRUE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  for (; w; w = isChildStyle(w->style) ? find(w->parent) : nullptr)
    if (!(w->style & WS_VISIBLE)) return FALSE;
  return TRUE;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = find(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = find(hwnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  bool show = cmd != SW_HIDE;
  bool activate = show && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
                  cmd != SW_MINIMIZE && !isChildStyle(w->style);
  if (show != static_cast<bool>(wasVisible)) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = find(hwnd);
    if (!w) return wasVisible;
    if (show) {
      w->style |= WS_VISIBLE;
      InvalidateRect(hwnd, nullptr, TRUE);
    } else {
      w->style &= ~WS_VISIBLE;
      if (isSelfOrDescendant(hwnd, GetFocus()) && !isChildStyle(w->style)) SetFocus(nullptr);
      if (GetActiveWindow() == hwnd) SetActiveWindow(nullptr);
    }
  }
  w = find(hwnd);
  if (!w) return wasVisible;
  DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  DWORD wanted = state;
  if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE)
    wanted = WS_MINIMIZE;
  else if (cmd == SW_MAXIMIZE)
    wanted = WS_MAXIMIZE;
  else if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL)
    wanted = 0;
  if (wanted != state) {
    w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | wanted;
    if (wanted == WS_MAXIMIZE && !isChildStyle(w->style)) w->rect = RECT{0, 0, kScreenWidth, kScreenHeight};
    sendSizeAndMove(hwnd);
  }
  if (activate && IsWindow(hwnd)) SetActiveWindow(hwnd);
  return wasVisible;
}

// --- geometry -------------------------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) pos.x = w->rect.left, pos.y = w->rect.top;
  if (flags & SWP_NOSIZE) pos.cx = w->rect.right - w->rect.left, pos.cy = w->rect.bottom - w->rect.top;
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    w = find(hwnd);
    if (!w) return FALSE;
  }
  RECT old = w->rect;
  RECT now{pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy)};
  bool moved = now.left != old.left || now.top != old.top;
  bool sized = (now.right - now.left) != (old.right - old.left) || (now.bottom - now.top) != (old.bottom - old.top);
  // A changed frame (a style bit that adds or takes away a border or a scroll
  // bar) gives the client area a new size although the window keeps its own.
  bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
  w->rect = now;
  if (!(flags & SWP_NOZORDER)) moveInZOrder(*w, insertAfter);
  if ((sized || frameChanged) && !(flags & SWP_NOREDRAW) && (w->style & WS_VISIBLE)) InvalidateRect(hwnd, nullptr, TRUE);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if (!IsWindow(hwnd)) return TRUE;
  pos.flags = flags | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = screenRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = find(hwnd);
  if (!w || !rect) return FALSE;
  RECT c = clientArea(*w);
  *rect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  if (!find(hwnd) || !pt) return FALSE;
  POINT o = clientOrigin(hwnd);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  if (!find(hwnd) || !pt) return FALSE;
  POINT o = clientOrigin(hwnd);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  POINT a = from ? clientOrigin(from) : POINT{0, 0};
  POINT b = to ? clientOrigin(to) : POINT{0, 0};
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(static_cast<short>(dx)), static_cast<WORD>(static_cast<short>(dy)));
}

namespace {

// Whether a point over `w` goes through it to what lies beneath.
bool letsPointThrough(const Window& w) {
  const std::string& cls = w.cls->name;
  if (platform::equalNoCase(cls, "Button") && (w.style & BS_TYPEMASK) == BS_GROUPBOX) return true;
  if (platform::equalNoCase(cls, "Static") && !(w.style & SS_NOTIFY)) return true;
  return false;
}

HWND deepestAt(HWND hwnd, POINT screenPt) {
  Window* w = find(hwnd);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = find(c);
    if (!cw || !(cw->style & WS_VISIBLE) || letsPointThrough(*cw)) continue;
    RECT r = screenRect(*cw);
    if (PtInRect(&r, screenPt)) return deepestAt(c, screenPt);
  }
  return hwnd;
}

}  // namespace

HWND WindowFromPoint(POINT pt) {
  for (HWND h : table().topLevels) {
    Window* w = find(h);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    RECT r = screenRect(*w);
    if (PtInRect(&r, pt)) return deepestAt(h, pt);
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPt) {
  Window* w = find(parent);
  if (!w) return nullptr;
  POINT screen = clientPt;
  ClientToScreen(parent, &screen);
  for (HWND c : w->children) {
    Window* cw = find(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    RECT r = screenRect(*cw);
    if (PtInRect(&r, screen)) return c;
  }
  RECT client;
  GetClientRect(parent, &client);
  return PtInRect(&client, clientPt) ? parent : nullptr;
}

// --- painting state ------------------------------------------------------------------------

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  RECT client;
  GetClientRect(hwnd, &client);
  RECT r = client;
  if (rect) IntersectRect(&r, rect, &client);
  if (IsRectEmpty(&r) && rect) return TRUE;
  if (!rect) invalidateFrame(hwnd);
  if (w->invalid)
    UnionRect(&w->invalidRect, &w->invalidRect, &r);
  else
    w->invalidRect = r;
  w->invalid = true;
  w->erase = w->erase || erase;
  ++w->invalidations;
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->invalid = false;
    w->erase = false;
    SetRectEmpty(&w->invalidRect);
    return TRUE;
  }
  // A rectangle validates the update area when it covers it.
  RECT both;
  UnionRect(&both, &w->invalidRect, rect);
  if (EqualRect(&both, rect)) {
    w->invalid = false;
    w->erase = false;
    SetRectEmpty(&w->invalidRect);
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->invalid ? w->invalidRect : RECT{0, 0, 0, 0};
  bool invalid = w->invalid;
  if (erase && w->invalid && w->erase) {
    // The background is erased now, once.
    w->erase = false;
    HDC dc = GetDC(hwnd);
    SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
  }
  return invalid ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return FALSE;
  if (w->invalid && IsWindowVisible(hwnd)) {
    unsigned before = w->invalidations;
    SendMessage(hwnd, WM_PAINT, 0, 0);
    Window* after = find(hwnd);
    // A window that ignores WM_PAINT is not asked again and again.
    if (after && after->invalid && after->invalidations == before) ValidateRect(hwnd, nullptr);
  }
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, void*, UINT flags) {
  if (!find(hwnd)) return FALSE;
  if (flags & RDW_INVALIDATE) InvalidateRect(hwnd, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
  if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
  if (flags & RDW_ALLCHILDREN) {
    Window* w = find(hwnd);
    std::vector<HWND> children = w ? w->children : std::vector<HWND>();
    for (HWND c : children) RedrawWindow(c, nullptr, nullptr, flags & ~RDW_UPDATENOW);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
  return TRUE;
}

// --- messages ------------------------------------------------------------------------------

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  return callProc(hwnd, w->proc, msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  // The caller runs in the window's scope already.
  return proc(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
    return wParam ? reinterpret_cast<LRESULT>(defaultControlColors(msg, reinterpret_cast<HDC>(wParam))) : 0;
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case WM_GETTEXT: return copyText(w->text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: {
      // What BeginPaint and EndPaint do for a window that paints nothing.
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCPAINT: defaultFramePaint(hwnd); return 0;
    case WM_ERASEBKGND: return defaultErase(hwnd, reinterpret_cast<HDC>(wParam));

    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!pos) return 0;
      RECT c = clientArea(*w);
      if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) {
        WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(c.right - c.left, c.bottom - c.top));
      }
      w = find(hwnd);
      if (w && !(pos->flags & SWP_NOMOVE))
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + c.left, w->rect.top + c.top));
      return 0;
    }
    case WM_NCHITTEST: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT s = screenRect(*w);
      if (!PtInRect(&s, pt)) return HTNOWHERE;
      POINT o = clientOrigin(hwnd);
      RECT c = clientArea(*w);
      RECT cs{o.x, o.y, o.x + (c.right - c.left), o.y + (c.bottom - c.top)};
      if (PtInRect(&cs, pt)) return HTCLIENT;
      if (LRESULT bar = scrollBarHitTest(*w, pt)) return bar;
      if ((w->style & WS_CAPTION) == WS_CAPTION && pt.y < cs.top) return HTCAPTION;
      return HTBORDER;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTHSCROLL || wParam == HTVSCROLL)
        scrollBarButtonDown(hwnd, static_cast<int>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_NCRBUTTONUP:
      // A right click on the frame asks for the context menu as one in the client area does.
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE) && !isSelfOrDescendant(hwnd, GetFocus()))
        SetFocus(hwnd);
      return 0;
    case WM_SETFONT: w->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &pt);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      // A child passes these on to its parent.
      if (isChildStyle(w->style) && w->parent) return SendMessage(w->parent, msg, wParam, lParam);
      return 0;
    default: return 0;
  }
}

HCURSOR LoadCursor(HINSTANCE, LPCSTR name) {
  // The system's cursors: the handle stands for the cursor's id.
  if (!name || !IS_INTRESOURCE(name)) return nullptr;
  return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = table().cursor;
  table().cursor = cursor;
  return old;
}

BOOL MessageBeep(UINT) { return TRUE; }

// --- the platform's own API -----------------------------------------------------------------

namespace platform {

void hookNextWindowCreation(WindowCreationHook hook, void* cookie) {
  table().creationHook = hook;
  table().creationCookie = cookie;
}

void setWindowGoneHook(void (*hook)(HWND)) { table().goneHook = hook; }

namespace win {
void setTopLevelClosingHook(void (*hook)(HWND)) { table().closingHook = hook; }
void (*topLevelClosingHook())(HWND) { return table().closingHook; }
}  // namespace win

bool takePaintUpdate(HWND hwnd, RECT* rect, bool* erase) {
  Window* w = find(hwnd);
  if (!w) return false;
  RECT area;
  GetClientRect(hwnd, &area);
  if (rect) *rect = w->invalid ? w->invalidRect : area;
  if (erase) *erase = w->erase;
  ValidateRect(hwnd, nullptr);
  return true;
}

void setClipboardTextHooks(ClipboardTextReader read, ClipboardTextWriter write) {
  table().clipboardRead = read;
  table().clipboardWrite = write;
}

void noteWindowTakenOver(HWND hwnd) {
  Window* w = find(hwnd);
  LoadedModule* m = currentModule();
  if (!w || !m || m == w->module) return;
  if (std::find(w->takenOverBy.begin(), w->takenOverBy.end(), m) == w->takenOverBy.end()) w->takenOverBy.push_back(m);
}

LoadedModule* windowModule(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? w->module : nullptr;
}

size_t windowCount() { return table().windows.size(); }

void releaseModuleWindowing(LoadedModule* module) {
  if (!module) return;
  win::runModuleReleaseHooks(module);
  win::destroyModuleWindows(module);
  win::releaseModuleMenus(module);
  win::releaseModuleMessages(module);
  releaseModuleResources(module);
}

void resetWindowing() {
  win::destroyAllWindows();
  win::destroyAllMenus();
  win::clearTimers();
  clearMessageQueue();
  SetCursor(nullptr);
}

namespace win {
// The windows that belong to `module`, and the unregistering of its classes.
void destroyModuleWindows(LoadedModule* module) {
  for (HWND h : allWindows()) {
    Window* w = find(h);
    if (!w || w->destroying) continue;
    bool mine = w->module == module || w->cls->module == module ||
                std::find(w->takenOverBy.begin(), w->takenOverBy.end(), module) != w->takenOverBy.end();
    if (mine) DestroyWindow(h);
  }
  auto& classes = table().classes;
  classes.erase(std::remove_if(classes.begin(), classes.end(), [&](const auto& c) { return c->module == module; }),
                classes.end());
}

void destroyAllWindows() {
  for (HWND h : allWindows()) {
    Window* w = find(h);
    if (w && !w->destroying && !isChildStyle(w->style)) DestroyWindow(h);
  }
  for (HWND h : allWindows()) DestroyWindow(h);
  table().creationHook = nullptr;
  auto& classes = table().classes;
  classes.erase(std::remove_if(classes.begin(), classes.end(), [](const auto& c) { return !c->system; }),
                classes.end());
}

void registerClassOf(const WindowClass& c) {
  auto cls = std::make_shared<WindowClass>(c);
  table().classes.push_back(cls);
}

}  // namespace win
}  // namespace platform
