#pragma once
// The window objects behind the handles, shared by the parts of the window
// system (not for modules).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win/winhost.h"
#include "win/winuser.h"

namespace platform {
struct LoadedModule;
}

namespace platform::win {

// The state a control class keeps in its window.
struct ControlData {
  virtual ~ControlData() = default;
};

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  LoadedModule* module = nullptr;  // the module that registered it (null: the platform)
  bool system = false;             // one of the platform's control classes
};

// The width of a vertical scroll bar and the height of a horizontal one.
constexpr int kScrollBarSize = 17;

// A scroll bar's range, page and position. A window's standard bars are shown
// by its WS_HSCROLL and WS_VSCROLL style bits; `track` is where a dragged
// thumb stands while `tracking`.
struct ScrollState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int track = 0;
  bool tracking = false;
  bool disabled = false;
};

struct DialogState {
  DLGPROC proc = nullptr;
  LONG_PTR msgResult = 0;
  LONG_PTR user = 0;
  UINT templateId = 0;
  bool ended = false;
  INT_PTR result = 0;
  UINT defId = 0;  // 0: the default push button of the template, else IDOK
  HWND lastFocus = nullptr;
  int modalDepth = 0;
  int baseX = 6;  // the dialog font's base units
  int baseY = 12;
};

struct Window {
  HWND handle = nullptr;
  unsigned long long serial = 0;  // creation order
  std::shared_ptr<const WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  std::string text;
  RECT rect{};  // in the parent's client coordinates for a child, on the screen otherwise
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // top of the z-order first
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<LONG_PTR> extra;             // cbWndExtra, in LONG_PTR slots
  LoadedModule* module = nullptr;          // whose code created it
  std::vector<LoadedModule*> takenOverBy;  // modules whose window objects handle it
  // Painting.
  bool invalid = false;
  RECT invalidRect{};
  bool erase = false;
  bool frameInvalid = true;  // the frame is to be painted (WM_NCPAINT) at the next paint
  unsigned invalidations = 0;
  // Life.
  bool destroying = false;
  // Kinds.
  std::unique_ptr<DialogState> dialog;
  std::unique_ptr<ControlData> control;
  ScrollState scroll[2];
  int nestedFrameChanges = 0;  // scroll-bar frame changes under way, one inside another's WM_SIZE
  // The WS_HSCROLL and WS_VSCROLL style bits are for a part of the window (a
  // combo box's list), not bars of its own frame.
  bool scrollStyleForPart = false;
  HFONT font = nullptr;
};

// The window of a handle, or null (also for a handle whose window is gone).
Window* find(HWND hwnd);
// Every window, oldest first.
std::vector<HWND> allWindows();
// Calls the window's procedure in the scope of the module that created it.
LRESULT callProc(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam);

// Whether a window procedure runs now (callProc is on the stack).
bool insideWindowProcedure();

// The client area's offset inside the window rectangle and its size.
RECT clientArea(const Window& w);
// The client area's top left on the screen.
POINT clientOrigin(HWND hwnd);

// A window's standard scroll bar (SB_HORZ, SB_VERT) cut into its parts, in
// window coordinates: the arrow buttons at its two ends, the track between
// them and the thumb on the track (none when the bar is disabled, its range
// has nothing to scroll or the track is too short for it).
struct ScrollBarParts {
  RECT bar{};
  RECT lineBefore{};  // the up (left) arrow
  RECT lineAfter{};   // the down (right) arrow
  RECT track{};
  RECT thumb{};
  bool hasThumb = false;
  bool vertical = false;
  bool disabled = false;
};
// False when the window does not show that bar.
bool scrollBarParts(const Window& w, int bar, ScrollBarParts& out);
// DefWindowProc's part of the mouse on a window's own scroll bars: the hit
// test of a point (HTHSCROLL, HTVSCROLL, or 0 when it lies on neither) and a
// press of the left button there (WM_NCLBUTTONDOWN), which starts an arrow,
// page or thumb press that goes on until the button is released.
LRESULT scrollBarHitTest(const Window& w, POINT screenPt);
void scrollBarButtonDown(HWND hwnd, int hit, POINT screenPt);
// While a scroll bar is pressed it takes the mouse messages the pump
// dispatches (true for one it took).
bool scrollBarTrackMouse(const MSG& msg);

// Registers the platform's control classes (once).
void registerSystemClasses();
void registerClassOf(const WindowClass& cls);
WNDPROC editProc();
WNDPROC buttonProc();
WNDPROC staticProc();
WNDPROC comboBoxProc();
WNDPROC comboListProc();
WNDPROC upDownProc();
WNDPROC scrollBarProc();
WNDPROC dialogClassProc();

// The pump's part of a window's end: its posted messages and timers go.
void forgetWindowMessages(HWND hwnd);
// Focus, capture and activation let go of a window that is going.
void forgetWindowFocus(HWND hwnd);
// The keyboard state (updated as input is taken).
bool keyDown(int vk);

// A notification from a control to its parent.
LRESULT notifyParent(HWND control, WORD code);
// Whether `hwnd` is `ancestor` or lies inside it.
bool isSelfOrDescendant(HWND ancestor, HWND hwnd);
// The top-level window of `hwnd` (itself when it is one).
HWND topLevelOf(HWND hwnd);

// Dialog-manager helpers.
void dialogSetFocus(HWND control);
HWND firstTabStop(HWND dialog);
UINT defaultButtonId(HWND dialog);

// The parts of a combo box a user points at: the button that drops its list,
// an item of its (dropped or simple) list, its edit field.
bool comboButtonPoint(HWND combo, POINT& screenPt);
bool comboItemPoint(HWND combo, int index, POINT& screenPt);
HWND comboEdit(HWND combo);

// The clipboard's text as the edit controls use it (see setClipboardTextHooks).
bool getClipboardText(std::string& text);
void setClipboardText(const std::string& text);

// Painting (win/windc.cpp): the picture of a top-level window goes with it;
// the frame is painted (WM_NCPAINT) when it needs to be, before a paint.
void forgetWindowPicture(HWND hwnd);
void paintFrameIfNeeded(HWND hwnd);
// Marks the frame (border, caption, scroll bars) of a window to be painted
// again: at its next paint, or by the message pump when nothing else of the
// window needs painting (win/window.cpp, beside InvalidateRect).
void invalidateFrame(HWND hwnd);
// Called at the start of the destruction of every top-level window (the
// pictures of a run).
void setTopLevelClosingHook(void (*hook)(HWND));
void (*topLevelClosingHook())(HWND);

// The parts of a module's release and of a reset.
void destroyModuleWindows(LoadedModule* module);
void destroyAllWindows();
void releaseModuleMessages(LoadedModule* module);
void clearTimers();

// A failure in the script run (a word that cannot be played, a dialog left
// open): ends the run with `message`.
void failRun(const std::string& message);
bool runFailed();

}  // namespace platform::win

namespace platform {
void releaseModuleResources(LoadedModule* module);
}  // namespace platform
