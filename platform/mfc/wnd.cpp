#include "mfc/wnd.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "arx/rxdynlink.h"
#include "crt/ascii.h"
#include "mfc/app.h"
#include "mfc/dc.h"
#include "mfc/ddx.h"
#include "mfc/menu.h"
#include "mfc/winapp.h"
#include "win/winhost.h"

namespace platform::afx {
namespace {

struct Kind {
  std::string windowClass;
  CWnd* (*make)();
};

struct AfxState {
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
  std::vector<Kind> kinds;
  std::vector<MSG> current;        // the messages being handled, innermost last
  std::vector<HWND> lockedOut;     // windows whose UpdateData runs: their notifications wait for nothing
};

AfxState& state() {
  static AfxState* s = new AfxState();  // lives for the whole process
  return *s;
}

bool lockedOut(HWND hwnd) {
  const auto& l = state().lockedOut;
  return std::find(l.begin(), l.end(), hwnd) != l.end();
}

// After a window's final message: its temporary object goes, and an object
// that never saw that message lets go of it.
void windowGone(HWND hwnd) {
  AfxState& s = state();
  auto p = s.permanent.find(hwnd);
  if (p != s.permanent.end()) {
    p->second->m_hWnd = nullptr;
    s.permanent.erase(p);
  }
  s.temporary.erase(hwnd);
}

bool isDialogWindow(HWND hwnd) {
  char name[16] = "";
  ::GetClassName(hwnd, name, sizeof name);
  return std::strcmp(name, "#32770") == 0;
}

// Walks PreTranslateMessage from the target window up through its parents
// (to its top-level window); a dialog window without an object runs the
// dialog manager.
bool walkPreTranslate(MSG* msg) {
  HWND target = msg->hwnd;
  for (HWND h = target; h && ::IsWindow(h);) {
    bool child = (::GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD) != 0;
    HWND next = child ? ::GetParent(h) : nullptr;
    if (CWnd* wnd = CWnd::FromHandlePermanent(h)) {
      if (wnd->PreTranslateMessage(msg)) return true;
    } else if (isDialogWindow(h) && ::IsDialogMessage(h, msg)) {
      return true;
    }
    if (!::IsWindow(target)) return true;  // the message has no window left to go to
    h = next;
  }
  return false;
}

// The temporary GDI and DC wrappers go when the pump goes idle.
void freeTemporaries() {
  platform::deleteTemporaryDCs();
  platform::deleteTemporaryGdiObjects();
}

struct Hooks {
  Hooks() {
    platform::setPreTranslateHook(&walkPreTranslate);
    platform::setWindowGoneHook(&windowGone);
    platform::setIdleHook(&freeTemporaries);
  }
};
const Hooks g_hooks;

void registerPlainClass() {
  WNDCLASS wc{};
  if (::GetClassInfo(nullptr, AFX_WND_CLASS, &wc)) return;
  platform::ModuleCallScope platformScope(nullptr);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &::DefWindowProc;
  wc.lpszClassName = AFX_WND_CLASS;
  ::RegisterClass(&wc);
}

}  // namespace

CWnd* wndOf(WPARAM hwnd) { return CWnd::FromHandle(reinterpret_cast<HWND>(hwnd)); }
CWnd* wndOf(LPARAM hwnd) { return CWnd::FromHandle(reinterpret_cast<HWND>(hwnd)); }

void registerTemporaryKind(const char* windowClass, CWnd* (*make)()) {
  state().kinds.push_back(Kind{windowClass, make});
}

}  // namespace platform::afx

using platform::afx::state;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this) {
    // An object deleted while its window lives takes the window with it.
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd) Detach();
}

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (!wnd) return ::DefWindowProc(hwnd, message, wParam, lParam);
  auto& current = state().current;
  current.push_back(MSG{hwnd, message, wParam, lParam, 0, POINT{0, 0}});
  LRESULT result = wnd->WindowProc(message, wParam, lParam);
  current.pop_back();
  // `wnd` may be gone: an object that deletes itself does so after WM_NCDESTROY.
  if (message == WM_NCDESTROY) {
    if (CWnd* still = CWnd::FromHandlePermanent(hwnd)) {
      // Its handler did not reach the class library's: let go of the window.
      still->Detach();
    }
  }
  return result;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& p = state().permanent;
  auto it = p.find(hwnd);
  return it == p.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd)) return nullptr;
  if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
  auto& temps = state().temporary;
  auto it = temps.find(hwnd);
  if (it != temps.end()) return it->second.get();
  char name[64] = "";
  ::GetClassName(hwnd, name, sizeof name);
  std::unique_ptr<CWnd> wnd;
  for (const auto& k : state().kinds)
    if (platform::equalNoCase(k.windowClass, name)) {
      wnd.reset(k.make());
      break;
    }
  if (!wnd) wnd = std::make_unique<CWnd>();
  wnd->m_hWnd = hwnd;
  CWnd* raw = wnd.get();
  temps.emplace(hwnd, std::move(wnd));
  return raw;
}

BOOL CWnd::Attach(HWND hwnd) {
  if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
  m_hWnd = hwnd;
  state().permanent[hwnd] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) {
    auto& p = state().permanent;
    auto it = p.find(h);
    if (it != p.end() && it->second == this) p.erase(it);
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!::IsWindow(hwnd) || !Attach(hwnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  m_pfnSuper = old != &AfxWndProc ? old : nullptr;
  // The window now runs this object's code: it goes with the module of that code.
  platform::noteWindowTakenOver(hwnd);
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND control = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext*) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, platform::afx::hwndOf(parent),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  if (!className) {
    platform::afx::registerPlainClass();
    className = AFX_WND_CLASS;
  }
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x, static_cast<LONG>(style),
                  windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  HookWindowCreate();
  HWND hwnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (!hwnd) {
    // A window that was never made: the object is told as if its window had ended.
    if (!UnhookWindowCreate()) PostNcDestroy();
    return FALSE;
  }
  return TRUE;
}

void CWnd::AttachCreated(HWND hwnd, void* self) {
  CWnd* wnd = static_cast<CWnd*>(self);
  wnd->Attach(hwnd);
  wnd->PreSubclassWindow();
  WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  wnd->m_pfnSuper = old != &AfxWndProc ? old : nullptr;
}

void CWnd::HookWindowCreate() { platform::hookNextWindowCreation(&CWnd::AttachCreated, this); }

bool CWnd::UnhookWindowCreate() {
  platform::hookNextWindowCreation(nullptr, nullptr);
  return m_hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }

namespace {
// Changes style bits (GWL_STYLE or GWL_EXSTYLE); FALSE when none changes.
BOOL modifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
  DWORD old = static_cast<DWORD>(::GetWindowLongPtr(hwnd, index));
  DWORD now = (old & ~remove) | add;
  if (old == now) return FALSE;
  ::SetWindowLongPtr(hwnd, index, static_cast<LONG>(now));
  if (flags) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  return modifyStyleBits(m_hWnd, GWL_STYLE, remove, add, flags);
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  return modifyStyleBits(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtr(m_hWnd, GWLP_ID, id)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* newParent) { return FromHandle(::SetParent(m_hWnd, platform::afx::hwndOf(newParent))); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER) ? ::GetWindow(m_hWnd, GW_OWNER) : ::GetParent(m_hWnd)); }
void CWnd::SetOwner(CWnd* owner) { ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(platform::afx::hwndOf(owner))); }

CWnd* CWnd::GetParentOwner() const {
  HWND h = m_hWnd;
  while (h && (::GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
  return FromHandle(h);
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND h = ::GetAncestor(m_hWnd, GA_ROOT);
  return FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
void CWnd::GetDlgItem(int id, HWND* hwnd) const {
  if (hwnd) *hwnd = ::GetDlgItem(m_hWnd, id);
}

namespace {
HWND descendant(HWND parent, int id, bool onlyPermanent) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(c) == id && (!onlyPermanent || CWnd::FromHandlePermanent(c))) return c;
    if (HWND found = descendant(c, id, onlyPermanent)) return found;
  }
  return nullptr;
}

CString textOf(HWND hwnd) {
  int n = ::GetWindowTextLength(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = ::GetWindowText(hwnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return CString(std::move(s));
}
}  // namespace

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const {
  return FromHandle(descendant(m_hWnd, id, onlyPermanent != FALSE));
}

CWnd* CWnd::GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, platform::afx::hwndOf(wnd)); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(LPTSTR buffer, int size) const { return ::GetWindowText(m_hWnd, buffer, size); }

void CWnd::GetWindowText(CString& text) const { text = textOf(m_hWnd); }

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemText(m_hWnd, id, text); }
int CWnd::GetDlgItemText(int id, LPTSTR buffer, int size) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, id, buffer, size));
}

int CWnd::GetDlgItemText(int id, CString& text) const {
  HWND c = ::GetDlgItem(m_hWnd, id);
  text = c ? textOf(c) : CString();
  return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) { ::CheckRadioButton(m_hWnd, firstId, lastId, checkId); }

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
  for (int id = firstId; id <= lastId; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id)) return id;
  return 0;
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT msg, WPARAM wParam, LPARAM lParam) const {
  return ::SendDlgItemMessage(m_hWnd, id, msg, wParam, lParam);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  HWND after = HWND_TOP;
  if (insertAfter == &wndBottom) after = HWND_BOTTOM;
  else if (insertAfter == &wndTopMost) after = HWND_TOPMOST;
  else if (insertAfter == &wndNoTopMost) after = HWND_NOTOPMOST;
  else if (insertAfter && insertAfter != &wndTop) after = insertAfter->m_hWnd;
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT pt) const { ::ClientToScreen(m_hWnd, pt); }
void CWnd::ClientToScreen(LPRECT rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2); }
void CWnd::ScreenToClient(LPPOINT pt) const { ::ScreenToClient(m_hWnd, pt); }
void CWnd::ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2); }
void CWnd::MapWindowPoints(CWnd* to, LPPOINT pts, UINT count) const {
  ::MapWindowPoints(m_hWnd, platform::afx::hwndOf(to), pts, count);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  ::MapWindowPoints(m_hWnd, platform::afx::hwndOf(to), reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::CenterWindow(CWnd* alternate) {
  RECT mine, area{0, 0, 1920, 1080};
  ::GetWindowRect(m_hWnd, &mine);
  HWND over = alternate ? alternate->m_hWnd : ::GetParent(m_hWnd);
  bool child = (GetStyle() & WS_CHILD) != 0;
  if (child) {
    ::GetClientRect(::GetParent(m_hWnd), &area);
  } else if (over) {
    ::GetWindowRect(over, &area);
  }
  int w = mine.right - mine.left, h = mine.bottom - mine.top;
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
CWnd* CWnd::WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }
CWnd* CWnd::ChildWindowFromPoint(POINT pt) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, pt)); }

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, void* region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL erase) { return ::GetUpdateRect(m_hWnd, rect, erase); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
  ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}
void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, bar, minPos, maxPos); }
BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
  ::SetScrollInfo(m_hWnd, bar, info, redraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) {
  if (!info) return FALSE;
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, bar, info);
}
int CWnd::GetScrollLimit(int bar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ::GetScrollInfo(m_hWnd, bar, &info);
  int limit = info.nMax - std::max(0, static_cast<int>(info.nPage) - 1);
  return std::max(info.nMin, limit);
}
void CWnd::ShowScrollBar(UINT bar, BOOL show) { ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show); }

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, msg, wParam, lParam); }
BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::PostMessage(m_hWnd, msg, wParam, lParam); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

const MSG* CWnd::GetCurrentMessage() {
  auto& current = state().current;
  return current.empty() ? nullptr : &current.back();
}

LRESULT CWnd::Default() {
  const MSG* m = GetCurrentMessage();
  if (!m || m->hwnd != m_hWnd) return 0;
  MSG copy = *m;
  return DefWindowProc(copy.message, copy.wParam, copy.lParam);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  auto& locked = state().lockedOut;
  if (!m_hWnd || std::find(locked.begin(), locked.end(), m_hWnd) != locked.end()) return FALSE;
  HWND hwnd = m_hWnd;
  CDataExchange dx(this, saveAndValidate);
  locked.push_back(hwnd);
  DoDataExchange(&dx);
  auto& after = state().lockedOut;
  after.erase(std::find(after.begin(), after.end(), hwnd));
  return dx.m_bFailed ? FALSE : TRUE;
}

BOOL CWnd::IsDialogMessage(LPMSG msg) { return ::IsDialogMessage(m_hWnd, msg); }
CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, platform::afx::hwndOf(control), previous));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, platform::afx::hwndOf(control), previous));
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (result) *result = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (!nm || !nm->hwndFrom) return FALSE;
    LRESULT r = 0;
    if (!OnNotify(wParam, lParam, &r)) return FALSE;
    if (result) *result = r;
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
  if (!entry) {
    // A popup menu of this window opens: its commands' update handlers are
    // asked, and the window procedure hears of it too.
    if (message == WM_INITMENUPOPUP)
      OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
                      static_cast<BOOL>(HIWORD(lParam)));
    return FALSE;
  }
  platform::afx::MsgCall call;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  // The handler may destroy the window and delete this object.
  entry->pfn(this, call);
  if (result) *result = call.lResult;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (!control) {
    code = CN_COMMAND;  // a menu's or an accelerator's command
  } else if (platform::afx::lockedOut(m_hWnd)) {
    return TRUE;  // a control notification sent while this window's UpdateData fills it
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
  if (platform::afx::lockedOut(m_hWnd)) return TRUE;
  AFX_NOTIFY notify{result, nm};
  return OnCmdMsg(static_cast<UINT>(nm->idFrom), static_cast<int>(MAKELONG(static_cast<WORD>(nm->code), WM_NOTIFY)),
                  &notify, nullptr);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }

void CWnd::OnNcDestroy() {
  Default();
  Detach();
  // The last thing that touches the object: it may delete itself here.
  PostNcDestroy();
}

void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
