// OLE data transfer and the in-process drag-and-drop engine.
#include "mfc/afxole.h"

#include <unordered_map>

#include "win/commctrl.h"
#include "win/winhost.h"

// ---- COleDataSource ----

COleDataSource::~COleDataSource() { Empty(); }

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, FORMATETC*) {
  if (!platform::isGlobalBlock(block)) return;
  auto it = m_data.find(format);
  if (it != m_data.end() && it->second != block) GlobalFree(it->second);
  m_data[format] = block;
}

void COleDataSource::Empty() {
  for (auto& [format, block] : m_data) GlobalFree(block);
  m_data.clear();
}

HGLOBAL COleDataSource::block(CLIPFORMAT format) const {
  auto it = m_data.find(format);
  return it == m_data.end() ? nullptr : it->second;
}

void COleDataSource::SetClipboard() {
  // Emptying the clipboard must not delete this source when the clipboard
  // holds it already.
  platform::takeBackFromClipboard(this);
  if (!OpenClipboard(nullptr)) {
    delete this;
    return;
  }
  EmptyClipboard();
  for (auto& [format, block] : m_data)
    if (HGLOBAL copy = platform::copyGlobalBlock(block)) SetClipboardData(format, copy);
  platform::keepWithClipboard(this);
  CloseClipboard();
}

BOOL AfxOleInit() { return SUCCEEDED(OleInitialize(nullptr)); }

// ---- COleDropSource ----

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  // The right button pressed while the left one drags gives the drag up too.
  if (escapePressed || (keyState & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
  if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- the drag loop ----

namespace {

// The buttons and keys held, as drag messages carry them.
DWORD dragKeyState() {
  DWORD keys = 0;
  if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  return keys;
}

}  // namespace

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, LPCRECT startRect, COleDropSource* source) {
  COleDropSource defaultSource;
  if (!source) source = &defaultSource;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  // The loop has the mouse while it lasts, so that every move comes to it in
  // the same form wherever the mouse is.
  HWND capture = GetCapture();
  bool tookCapture = false;
  if (!capture && (capture = WindowFromPoint(cursor)) != nullptr) {
    SetCapture(capture);
    tookCapture = true;
  }
  platform::DragSession drag(*this, effects);
  bool started = !startRect || !PtInRect(startRect, cursor);
  POINT at = cursor;
  auto moveTo = [&](POINT screen) {
    at = screen;
    HWND under = WindowFromPoint(screen);
    POINT client = screen;
    if (under) ScreenToClient(under, &client);
    ImageList_DragMove(screen.x, screen.y);
    DROPEFFECT effect = drag.MoveTo(under, client, dragKeyState());
    source->GiveFeedback(effect);
  };
  if (started) moveTo(cursor);

  DROPEFFECT result = DROPEFFECT_NONE;
  // One input a round; a loop that never ends is cut off as the pump's is.
  for (int guard = 0; guard < 1000000; ++guard) {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // No input left: nobody can release the button any more.
      drag.Cancel();
      break;
    }
    bool escape = false;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
      bool outside = !startRect || !PtInRect(startRect, msg.pt);
      if (msg.message == WM_MOUSEMOVE && (started || outside)) {
        started = true;
        moveTo(msg.pt);
      }
    } else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
      if (down && msg.wParam == VK_ESCAPE) escape = true;
      // Ctrl or Shift pressed or let go: the target is asked again.
      if (started && (msg.wParam == VK_CONTROL || msg.wParam == VK_SHIFT)) moveTo(at);
    } else {
      DispatchMessage(&msg);
    }
    SCODE answer = source->QueryContinueDrag(escape, dragKeyState());
    if (answer == DRAGDROP_S_CANCEL) {
      drag.Cancel();
      break;
    }
    if (answer == DRAGDROP_S_DROP) {
      if (started)
        result = drag.Drop();
      else
        drag.Cancel();
      break;
    }
  }
  if (tookCapture && GetCapture() == capture) ReleaseCapture();
  return result;
}

// ---- COleDataObject ----

BOOL COleDataObject::AttachClipboard() {
  m_clipboard = true;
  m_source = nullptr;
  return TRUE;
}

void COleDataObject::Attach(COleDataSource* source) {
  m_clipboard = false;
  m_source = source;
}

void COleDataObject::Release() {
  m_clipboard = false;
  m_source = nullptr;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, FORMATETC*) {
  if (m_clipboard) return IsClipboardFormatAvailable(format);
  return m_source && m_source->holds(format);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, FORMATETC*) {
  if (m_source) return platform::copyGlobalBlock(m_source->block(format));
  if (!m_clipboard) return nullptr;
  // The clipboard may be open already (by the caller); it is opened only
  // when it is not.
  bool opened = OpenClipboard(nullptr) != FALSE;
  HGLOBAL copy = platform::copyGlobalBlock(GetClipboardData(format));
  if (opened) CloseClipboard();
  return copy;
}

// ---- drag and drop ----

namespace platform {

namespace {

std::unordered_map<HWND, DropTarget*>& targets() {
  static auto* t = new std::unordered_map<HWND, DropTarget*>;
  return *t;
}

}  // namespace

bool registerDropTarget(HWND window, DropTarget* target) {
  if (!window || !target) return false;
  return targets().emplace(window, target).second;
}

bool revokeDropTarget(HWND window) { return targets().erase(window) != 0; }

DropTarget* dropTargetOf(HWND window) {
  auto it = targets().find(window);
  return it == targets().end() ? nullptr : it->second;
}

DragSession::DragSession(COleDataSource& source, DROPEFFECT allowed) : m_source(source), m_allowed(allowed) {
  m_data.Attach(&m_source);
}

DragSession::~DragSession() { Cancel(); }

DROPEFFECT DragSession::MoveTo(HWND window, POINT point, DWORD keyState) {
  if (m_done) return DROPEFFECT_NONE;
  DropTarget* target = dropTargetOf(window);
  // A target revoked while the drag was over it is not called again.
  if (m_target && dropTargetOf(m_window) != m_target) m_target = nullptr;
  if (window != m_window || target != m_target) {
    if (m_target) m_target->DragLeave(m_window);
    m_window = window;
    m_target = target;
    m_point = point;
    m_effect = m_target ? m_target->DragEnter(window, m_data, keyState, point) & m_allowed : DROPEFFECT_NONE;
    return m_effect;
  }
  m_point = point;
  if (!m_target) return m_effect = DROPEFFECT_NONE;
  DROPEFFECT scroll = m_target->DragScroll(window, keyState, point);
  if (scroll & DROPEFFECT_SCROLL) return m_effect = scroll & (m_allowed | DROPEFFECT_SCROLL);
  return m_effect = m_target->DragOver(window, m_data, keyState, point) & m_allowed;
}

DROPEFFECT DragSession::Drop() {
  if (m_done) return DROPEFFECT_NONE;
  m_done = true;
  if (!m_target || dropTargetOf(m_window) != m_target) return DROPEFFECT_NONE;
  DROPEFFECT effect = m_effect & ~DROPEFFECT_SCROLL;
  if (effect == DROPEFFECT_NONE) {
    m_target->DragLeave(m_window);
    return DROPEFFECT_NONE;
  }
  return m_target->Drop(m_window, m_data, effect, m_point) ? effect : DROPEFFECT_NONE;
}

void DragSession::Cancel() {
  if (m_done) return;
  m_done = true;
  if (m_target && dropTargetOf(m_window) == m_target) m_target->DragLeave(m_window);
}

}  // namespace platform
