#pragma once
// What the host, the class library and the tests ask of the window system
// beyond the Win32 functions: the one message pump and its modal loop, the
// host's clock, user input, dialogs made from templates, the windows of a
// module at its unload, and the hooks through which the class library attaches
// its window objects.

#include <functional>
#include <string>
#include <vector>

#include "win/resources.h"
#include "win/winuser.h"

namespace platform {

struct LoadedModule;

// --- the pump ---------------------------------------------------------------------
//
// One pump serves every loop: modal dialogs, popup menus and the script runner.
// It takes a posted message first, then user input, then WM_PAINT for a window
// that needs painting, then WM_TIMER for a timer that fell due; offers each to
// the pre-translation hook, then translates and dispatches it. A message for a
// window that is gone is dropped.

// Dispatches one message; false when none is waiting.
PLATFORM_API bool pumpOne();
// Dispatches until none is waiting; returns how many were dispatched. A queue
// that never empties (a handler that posts itself for ever) is cut off after a
// million messages, with a message on the transcript.
PLATFORM_API int pumpMessages();
// Runs the pump until `done` holds. When nothing is waiting, `idle` is called
// to make more happen (user input, a step of the clock); when it cannot, the
// loop gives up: false (`done` does not hold).
PLATFORM_API bool runModalLoop(const std::function<bool()>& done, const std::function<bool()>& idle);

// Called when pumpMessages has emptied the queue while no window procedure
// and no modal loop runs (the class library frees its temporary wrappers
// there; nothing can still hold one).
PLATFORM_API void setIdleHook(void (*hook)());

// Every message the pump dispatches is offered to this hook first (the class
// library walks PreTranslateMessage from the target window up through its
// parents); true when the hook took it.
using PreTranslateHook = bool (*)(MSG* msg);
PLATFORM_API void setPreTranslateHook(PreTranslateHook hook);

// What BeginPaint asks for: the rectangle that needs painting (the whole
// client area when nothing was invalidated) and whether its background is to
// be erased first; the window counts as painted from then on. False for a
// handle that is no window.
PLATFORM_API bool takePaintUpdate(HWND hwnd, RECT* rect, bool* erase);

// --- the clock --------------------------------------------------------------------

// Milliseconds since the host started; moves only by advanceClock.
PLATFORM_API DWORD clockNow();
// Moves the clock; every timer that falls due in that time is delivered once
// by the pump.
PLATFORM_API void advanceClock(DWORD ms);

// --- user input -------------------------------------------------------------------
//
// Input waits in its own queue, behind the posted messages, and finds its
// window when the pump takes it: a mouse message goes to the window that has
// the capture, else to the window under the point (in its client coordinates);
// a key goes to the focus window (else `fallback`). The keyboard state that
// GetKeyState reads changes as keys are taken.

PLATFORM_API void postMouseInput(UINT message, POINT screenPt);
PLATFORM_API void postKeyInput(UINT vk, bool down, HWND fallback = nullptr);
// A message to the window that has the focus when it is taken (else to
// `fallback`); when `payload` is given, lParam points at a copy of it.
PLATFORM_API void postFocusInput(UINT message, WPARAM wParam, LPARAM lParam, HWND fallback = nullptr);
PLATFORM_API void postFocusInput(UINT message, WPARAM wParam, const std::string& payload, HWND fallback = nullptr);
PLATFORM_API size_t pendingInput();
// Forgets queued messages and input, clears the keyboard state and the mouse
// buttons (for the end of a test or a failed run).
PLATFORM_API void clearMessageQueue();

// --- dialogs made from templates --------------------------------------------------

// Creates a dialog from a template in the scope of the running module. The
// first window created is handed to the creation hook (see below) before it
// gets any message. Null when a control's class is unknown (the transcript
// says which).
PLATFORM_API HWND createDialogFromTemplate(const DialogTemplate& tmpl, HWND parent, DLGPROC proc, LPARAM param);
// The template a dialog was made from (0 for any other window).
PLATFORM_API UINT dialogTemplateId(HWND hwnd);
// The windows made from template `id` that are still there, oldest first.
PLATFORM_API std::vector<HWND> templateWindows(UINT id);
// Shows a dialog and runs its modal loop until EndDialog or its destruction
// (from any depth), answering it from the script (win/userinput.h); returns the
// EndDialog result, or -1 when the dialog was destroyed without one. The
// caller destroys the dialog afterwards.
PLATFORM_API INT_PTR runModalDialog(HWND dialog);
// True while the dialog runs in a modal loop.
PLATFORM_API bool isModalDialog(HWND dialog);

// --- the class library's hooks ----------------------------------------------------

using WindowCreationHook = void (*)(HWND hwnd, void* cookie);
// The next window created is handed to `hook` as soon as it has its handle,
// before any message reaches it (once).
PLATFORM_API void hookNextWindowCreation(WindowCreationHook hook, void* cookie);
// Called after a window's final message (WM_NCDESTROY) with its old handle.
PLATFORM_API void setWindowGoneHook(void (*hook)(HWND hwnd));
// A module took over a window (its window object now handles the messages):
// the window goes when that module is unloaded.
PLATFORM_API void noteWindowTakenOver(HWND hwnd);

// --- the clipboard's text ---------------------------------------------------------

// The edit controls cut, copy and paste through these; until the clipboard of
// the platform sets them, the window system keeps the text itself.
using ClipboardTextReader = bool (*)(std::string& text);
using ClipboardTextWriter = bool (*)(const std::string& text);
PLATFORM_API void setClipboardTextHooks(ClipboardTextReader read, ClipboardTextWriter write);

// --- modules ----------------------------------------------------------------------

// Everything of `module` goes before its code does: its windows (those it
// created, those of its window classes and those it took over) are destroyed,
// its timers killed, the messages it posted dropped, its window classes
// unregistered and its resources forgotten.
PLATFORM_API void releaseModuleWindowing(LoadedModule* module);
// The class library and the host's windows (palettes, dock bars) let go of
// what a module leaves behind: each hook runs first when a module's windowing
// is released, before its windows are destroyed.
using ModuleReleaseHook = void (*)(LoadedModule* module);
PLATFORM_API void addModuleReleaseHook(ModuleReleaseHook hook);
// The module a window belongs to (the one whose code created it).
PLATFORM_API LoadedModule* windowModule(HWND hwnd);

// --- for tests --------------------------------------------------------------------

PLATFORM_API size_t windowCount();
// Destroys every window, clears the queues, the timers, the focus, the capture
// and the keyboard state.
PLATFORM_API void resetWindowing();

}  // namespace platform
