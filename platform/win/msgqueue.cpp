// The message queue and the one pump: posted messages, user input, WM_PAINT
// and WM_TIMER; key-down to character translation and the keyboard state;
// timers on the host's clock.
#include <algorithm>
#include <deque>

#include "arx/rxdynlink.h"
#include "win/transcript.h"
#include "win/window_internal.h"

namespace platform::win {
namespace {

struct Posted {
  MSG msg;
  LoadedModule* poster;  // the module whose code posted it
};

struct Input {
  enum Kind { Mouse, Key, Focus } kind = Mouse;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  POINT pt{0, 0};
  UINT vk = 0;
  bool down = false;
  bool hasPayload = false;
  std::string payload;
  HWND fallback = nullptr;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT interval;
  TIMERPROC proc;
  DWORD due;
  bool ready;
  LoadedModule* module;
};

struct Queue {
  std::deque<Posted> posted;
  std::deque<Input> input;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 0x7F00;
  DWORD clock = 0;
  BYTE keys[256] = {};
  POINT cursor{0, 0};
  DWORD messageTime = 0;
  POINT messagePos{0, 0};
  PreTranslateHook preTranslate = nullptr;
  void (*idle)() = nullptr;
  int modalLoops = 0;
  std::string peekedPayload;  // what lParam of focus input points at, until the next message is taken
};

Queue& queue() {
  static Queue* q = new Queue();  // lives for the whole process
  return *q;
}

constexpr int kPumpLimit = 1000000;

bool inRange(UINT message, UINT filterMin, UINT filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return message >= filterMin && message <= filterMax;
}

bool forWindow(HWND target, HWND filter) { return !filter || target == filter || IsChild(filter, target); }

WPARAM mouseKeyFlags() {
  Queue& q = queue();
  WPARAM f = 0;
  if (q.keys[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (q.keys[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (q.keys[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (q.keys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (q.keys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

int buttonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return VK_MBUTTON;
    default: return 0;
  }
}

bool isButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

void setKey(int vk, bool down) {
  Queue& q = queue();
  BYTE& k = q.keys[vk & 0xFF];
  if (down) {
    if (!(k & 0x80)) k ^= 0x01;  // toggled on each press
    k |= 0x80;
  } else {
    k &= static_cast<BYTE>(~0x80);
  }
  // The generic modifier keys follow their left and right keys and back.
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) setKey(VK_SHIFT, down);
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) setKey(VK_CONTROL, down);
  if (vk == VK_LMENU || vk == VK_RMENU) setKey(VK_MENU, down);
}

// Where a mouse input goes: the capture, else the window under the point.
HWND mouseTarget(POINT pt) {
  if (HWND capture = GetCapture()) return capture;
  return WindowFromPoint(pt);
}

HWND keyTarget(HWND fallback) {
  if (HWND focus = GetFocus()) return focus;
  if (fallback && IsWindow(fallback)) return fallback;
  return GetActiveWindow();
}

// Turns the next input into a message; `apply` takes it (key and button state
// change, the cursor moves). False when the input finds no window (it is then
// dropped when applied).
bool inputMessage(Input& in, MSG& msg, bool apply) {
  Queue& q = queue();
  msg = MSG{nullptr, in.message, in.wParam, in.lParam, q.clock, in.pt};
  switch (in.kind) {
    case Input::Mouse: {
      if (apply) {
        q.cursor = in.pt;
        if (int vk = buttonOf(in.message)) setKey(vk, isButtonDown(in.message));
      }
      HWND target = mouseTarget(in.pt);
      if (!target || !IsWindowEnabled(target)) return false;
      msg.hwnd = target;
      // Outside the client area (the frame, the caption, a scroll bar) a
      // window that has not taken the mouse gets the non-client message,
      // with the part it hit and the point on the screen.
      if (in.message != WM_MOUSEWHEEL && !GetCapture()) {
        LRESULT hit = SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(in.pt.x, in.pt.y));
        if (hit > HTCLIENT && in.message >= WM_MOUSEMOVE && in.message <= WM_MBUTTONDBLCLK) {
          msg.message = in.message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
          msg.wParam = static_cast<WPARAM>(hit);
          msg.lParam = MAKELPARAM(in.pt.x, in.pt.y);
          return true;
        }
      }
      POINT client = in.pt;
      ScreenToClient(target, &client);
      msg.wParam = mouseKeyFlags();
      if (in.message == WM_MOUSEWHEEL) {
        msg.wParam = MAKEWPARAM(mouseKeyFlags(), static_cast<WORD>(static_cast<short>(in.wParam)));
        msg.lParam = MAKELPARAM(in.pt.x, in.pt.y);
      } else {
        msg.lParam = MAKELPARAM(client.x, client.y);
      }
      return true;
    }
    case Input::Key: {
      bool wasDown = (q.keys[in.vk & 0xFF] & 0x80) != 0;
      if (apply) setKey(static_cast<int>(in.vk), in.down);
      bool alt = (q.keys[VK_MENU] & 0x80) != 0;
      bool ctrl = (q.keys[VK_CONTROL] & 0x80) != 0;
      bool sys = (alt && !ctrl) || in.vk == VK_MENU || in.vk == VK_F10;
      msg.message = in.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
      msg.wParam = in.vk;
      DWORD flags = 1;
      if (alt) flags |= 0x20000000;
      if (in.down && wasDown) flags |= 0x40000000;
      if (!in.down) flags |= 0xC0000000;
      msg.lParam = static_cast<LPARAM>(flags);
      msg.hwnd = keyTarget(in.fallback);
      return msg.hwnd != nullptr;
    }
    case Input::Focus:
      msg.hwnd = keyTarget(in.fallback);
      if (in.hasPayload) {
        q.peekedPayload = in.payload;
        msg.lParam = reinterpret_cast<LPARAM>(q.peekedPayload.c_str());
      }
      return msg.hwnd != nullptr;
  }
  return false;
}

// The first window that needs painting, its client area or only its frame
// (and can be seen).
HWND windowToPaint(HWND filter) {
  for (HWND h : allWindows()) {
    Window* w = find(h);
    if (w && (w->invalid || w->frameInvalid) && forWindow(h, filter) && IsWindowVisible(h)) return h;
  }
  return nullptr;
}

// Takes (or only looks at) the next message.
bool nextMessage(MSG& msg, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
  Queue& q = queue();
  // Posted messages first.
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (it->msg.hwnd && !IsWindow(it->msg.hwnd)) continue;
    if (!inRange(it->msg.message, filterMin, filterMax) || (filter && !forWindow(it->msg.hwnd, filter))) continue;
    msg = it->msg;
    msg.time = q.clock;
    if (remove) q.posted.erase(it);
    return true;
  }
  // Then user input, in the order it came.
  while (!q.input.empty()) {
    Input& in = q.input.front();
    MSG m;
    bool found = inputMessage(in, m, false);
    if (found && (!inRange(m.message, filterMin, filterMax) || (filter && !forWindow(m.hwnd, filter)))) break;
    if (!remove) {
      if (!found) break;
      msg = m;
      return true;
    }
    Input taken = std::move(q.input.front());
    q.input.pop_front();
    if (inputMessage(taken, m, true)) {
      msg = m;
      return true;
    }
    // Input that finds no window (or a disabled one) is lost, as a click on nothing is.
  }
  // Then painting.
  if (inRange(WM_PAINT, filterMin, filterMax)) {
    if (HWND h = windowToPaint(filter)) {
      msg = MSG{h, WM_PAINT, 0, 0, q.clock, q.cursor};
      return true;
    }
  }
  // Then the timers that fell due.
  if (inRange(WM_TIMER, filterMin, filterMax)) {
    for (Timer& t : q.timers) {
      if (!t.ready || (filter && !forWindow(t.hwnd, filter))) continue;
      msg = MSG{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), q.clock, q.cursor};
      if (remove) t.ready = false;
      return true;
    }
  }
  return false;
}

// Key-down to character, as the keyboard in a United States layout makes it.
int characterOf(UINT vk) {
  Queue& q = queue();
  bool shift = (q.keys[VK_SHIFT] & 0x80) != 0;
  bool ctrl = (q.keys[VK_CONTROL] & 0x80) != 0;
  bool caps = (q.keys[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<int>(vk - 'A' + 1);
    bool upper = shift != caps;
    return static_cast<int>(upper ? vk : vk - 'A' + 'a');
  }
  if (ctrl) {
    if (vk == VK_RETURN) return '\n';
    if (vk == VK_BACK) return 0x7F;
    return 0;
  }
  if (vk >= '0' && vk <= '9') {
    static const char shifted[] = ")!@#$%^&*(";
    return shift ? shifted[vk - '0'] : static_cast<int>(vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
    default: return 0;
  }
}

Timer* findTimer(HWND hwnd, UINT_PTR id) {
  for (Timer& t : queue().timers)
    if (t.hwnd == hwnd && t.id == id) return &t;
  return nullptr;
}

}  // namespace

void forgetWindowMessages(HWND hwnd) {
  Queue& q = queue();
  q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), [&](const Posted& p) { return p.msg.hwnd == hwnd; }),
                 q.posted.end());
  q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                 q.timers.end());
  for (Input& in : q.input)
    if (in.fallback == hwnd) in.fallback = nullptr;
}

bool keyDown(int vk) { return (queue().keys[vk & 0xFF] & 0x80) != 0; }

void releaseModuleMessages(LoadedModule* module) {
  Queue& q = queue();
  q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return t.module == module; }),
                 q.timers.end());
  q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), [&](const Posted& p) { return p.poster == module; }),
                 q.posted.end());
}

void clearTimers() { queue().timers.clear(); }

}  // namespace platform::win

using namespace platform::win;

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return FALSE;
  Queue& q = queue();
  q.posted.push_back(Posted{MSG{hwnd, msg, wParam, lParam, q.clock, q.cursor}, platform::currentModule()});
  return TRUE;
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
  MSG m;
  if (!nextMessage(m, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0)) return FALSE;
  if (msg) *msg = m;
  Queue& q = queue();
  q.messageTime = m.time;
  q.messagePos = m.pt;
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  int ch = characterOf(static_cast<UINT>(msg->wParam));
  if (!ch) return FALSE;
  Queue& q = queue();
  UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  // Taken next, before anything the key-down's handler posts.
  q.posted.push_front(Posted{MSG{msg->hwnd, charMessage, static_cast<WPARAM>(ch), msg->lParam, q.clock, q.cursor},
                             platform::currentModule()});
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    Timer* t = findTimer(msg->hwnd, msg->wParam);
    if (!t || reinterpret_cast<LPARAM>(t->proc) != msg->lParam) return 0;
    TIMERPROC proc = t->proc;
    if (msg->hwnd) {
      Window* w = find(msg->hwnd);
      if (!w) return 0;
      platform::ModuleCallScope scope(w->module);
      proc(msg->hwnd, WM_TIMER, msg->wParam, queue().clock);
    } else {
      platform::ModuleCallScope scope(t->module);
      proc(nullptr, WM_TIMER, msg->wParam, queue().clock);
    }
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* w = find(msg->hwnd);
  if (!w) return 0;
  // A pressed scroll bar has the mouse until the button is released.
  if (scrollBarTrackMouse(*msg)) return 0;
  if (msg->message == WM_PAINT) {
    // Only the frame to paint (a scroll bar changed): WM_NCPAINT alone.
    if (!w->invalid) {
      paintFrameIfNeeded(msg->hwnd);
      return 0;
    }
    unsigned before = w->invalidations;
    LRESULT r = SendMessage(msg->hwnd, WM_PAINT, 0, 0);
    // A window that ignores WM_PAINT is not asked again and again, and its
    // frame is painted all the same.
    Window* after = find(msg->hwnd);
    if (after && after->invalid && after->invalidations == before) ValidateRect(msg->hwnd, nullptr);
    if (find(msg->hwnd)) paintFrameIfNeeded(msg->hwnd);
    return r;
  }
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessageTime() { return queue().messageTime; }

DWORD GetMessagePos() {
  POINT p = queue().messagePos;
  return static_cast<DWORD>(
      MAKELONG(static_cast<WORD>(static_cast<short>(p.x)), static_cast<WORD>(static_cast<short>(p.y))));
}

SHORT GetKeyState(int vk) {
  BYTE k = queue().keys[vk & 0xFF];
  SHORT r = (k & 0x80) ? static_cast<SHORT>(0x8000) : 0;
  if (k & 0x01) r = static_cast<SHORT>(r | 1);
  return r;
}

SHORT GetAsyncKeyState(int vk) { return (queue().keys[vk & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0; }

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = queue().cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  queue().cursor = POINT{x, y};
  return TRUE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  Queue& q = queue();
  if (hwnd && !IsWindow(hwnd)) return 0;
  if (elapse < USER_TIMER_MINIMUM) elapse = USER_TIMER_MINIMUM;
  if (!hwnd && (id == 0 || !findTimer(nullptr, id))) id = ++q.nextTimerId;
  platform::LoadedModule* module = hwnd ? platform::windowModule(hwnd) : platform::currentModule();
  if (Timer* t = findTimer(hwnd, id)) {
    t->interval = elapse;
    t->proc = proc;
    t->due = q.clock + elapse;
    t->ready = false;
    return hwnd ? (id ? id : 1) : id;
  }
  q.timers.push_back(Timer{hwnd, id, elapse, proc, q.clock + elapse, false, module});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = queue().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

DWORD GetTickCount() { return queue().clock; }

namespace platform {

void setPreTranslateHook(PreTranslateHook hook) { queue().preTranslate = hook; }

bool pumpOne() {
  MSG msg;
  if (!nextMessage(msg, nullptr, 0, 0, true)) return false;
  Queue& q = queue();
  q.messageTime = msg.time;
  q.messagePos = msg.pt;
  if (msg.hwnd && !IsWindow(msg.hwnd)) return true;
  if (q.preTranslate && q.preTranslate(&msg)) return true;
  TranslateMessage(&msg);
  DispatchMessage(&msg);
  return true;
}

void setIdleHook(void (*hook)()) { queue().idle = hook; }

int pumpMessages() {
  int count = 0;
  while (pumpOne()) {
    if (++count >= kPumpLimit) {
      transcriptLine("[window system] the message queue does not empty; its messages are dropped");
      clearMessageQueue();
      win::failRun("the message queue does not empty");
      break;
    }
  }
  Queue& q = queue();
  if (q.idle && q.modalLoops == 0 && !win::insideWindowProcedure()) q.idle();
  return count;
}

bool runModalLoop(const std::function<bool()>& done, const std::function<bool()>& idle) {
  struct Depth {
    Depth() { ++queue().modalLoops; }
    ~Depth() { --queue().modalLoops; }
  } depth;
  for (int guard = 0; guard < kPumpLimit; ++guard) {
    if (done()) return true;
    if (pumpOne()) continue;
    if (done()) return true;
    if (!idle || !idle()) return false;
  }
  transcriptLine("[window system] a modal loop does not end");
  return done();
}

DWORD clockNow() { return queue().clock; }

void advanceClock(DWORD ms) {
  Queue& q = queue();
  q.clock += ms;
  for (Timer& t : q.timers) {
    if (q.clock - t.due < 0x80000000u) {  // due now or before
      t.ready = true;
      t.due = q.clock + t.interval;
    }
  }
}

void postMouseInput(UINT message, POINT screenPt) {
  Input in;
  in.kind = Input::Mouse;
  in.message = message;
  in.pt = screenPt;
  queue().input.push_back(std::move(in));
}

void postKeyInput(UINT vk, bool down, HWND fallback) {
  Input in;
  in.kind = Input::Key;
  in.vk = vk;
  in.down = down;
  in.fallback = fallback;
  queue().input.push_back(std::move(in));
}

void postFocusInput(UINT message, WPARAM wParam, LPARAM lParam, HWND fallback) {
  Input in;
  in.kind = Input::Focus;
  in.message = message;
  in.wParam = wParam;
  in.lParam = lParam;
  in.fallback = fallback;
  queue().input.push_back(std::move(in));
}

void postFocusInput(UINT message, WPARAM wParam, const std::string& payload, HWND fallback) {
  Input in;
  in.kind = Input::Focus;
  in.message = message;
  in.wParam = wParam;
  in.hasPayload = true;
  in.payload = payload;
  in.fallback = fallback;
  queue().input.push_back(std::move(in));
}

size_t pendingInput() { return queue().input.size(); }

void clearMessageQueue() {
  Queue& q = queue();
  q.posted.clear();
  q.input.clear();
  std::fill(std::begin(q.keys), std::end(q.keys), 0);
}

}  // namespace platform
