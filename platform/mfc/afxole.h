#pragma once
// OLE data transfer of the class library: COleDataSource (data offered to the
// clipboard or to a drag), COleDataObject (data read from the clipboard or
// from a drop), and the in-process drag-and-drop engine that carries a
// source's data to the drop target registered for a window.
//
// Data is held as global memory blocks by clipboard format. A source owns the
// blocks cached in it; GetGlobalData hands the caller a copy of its own.
//
// Drag and drop: a window's drop target is registered by its handle
// (registerDropTarget); a DragSession moves a source's data over windows as a
// user's mouse would: entering a window with a target calls its DragEnter,
// moving within it DragOver, leaving it DragLeave, and releasing the button
// Drop (or DragLeave when the last answer was DROPEFFECT_NONE). What a target
// answers is limited to the effects the source allows. COleDropTarget
// registers a CWnd and calls its handlers with the CWnd.
//
// A drag started by a program (COleDataSource::DoDragDrop, called from a
// window's mouse handler while the left button is held) runs its own loop over
// the user's input, as the system's drag loop does: each mouse move carries the
// drag to the window under the mouse (a DragSession), the Ctrl key held or let
// go asks the target again, the left button released drops there, Esc or the
// right button cancels. Messages that are not input (painting, timers, posted
// messages) are dispatched meanwhile. Input that ends before the button is
// released cancels the drag (nobody can release it any more). A drag image
// begun with ImageList_BeginDrag and entered for the screen (ImageList_DragEnter
// with no window) follows the mouse, as the system's drag-image helper moves
// it. The input the loop took never reaches the window the drag started in: it
// hears neither the moves nor the button's release.

#include <map>
#include <memory>

#include "com/ole.h"
#include "mfc/cmdtarget.h"
#include "mfc/cobject.h"
#include "win/clipboard.h"

struct FORMATETC;
class COleDataSource;
class COleDropSource;
class CWnd;

// Initialises OLE for the application's thread; TRUE when it is.
PLATFORM_API BOOL AfxOleInit();

class PLATFORM_API COleDataObject {
 public:
  COleDataObject() = default;
  ~COleDataObject() = default;
  COleDataObject(const COleDataObject&) = delete;
  COleDataObject& operator=(const COleDataObject&) = delete;

  // Reads from the clipboard from now on; TRUE.
  BOOL AttachClipboard();
  // Reads from a data source (a drag's); the source stays the caller's.
  void Attach(COleDataSource* source);
  void Release();
  BOOL IsDataAvailable(CLIPFORMAT format, FORMATETC* formatEtc = nullptr);
  // A copy of the data of `format` in a new global block the caller frees;
  // NULL when there is none.
  HGLOBAL GetGlobalData(CLIPFORMAT format, FORMATETC* formatEtc = nullptr);

 private:
  bool m_clipboard = false;
  COleDataSource* m_source = nullptr;
};

class PLATFORM_API COleDataSource : public CObject, public platform::ClipboardKeepsake {
 public:
  COleDataSource() = default;
  ~COleDataSource() override;
  COleDataSource(const COleDataSource&) = delete;
  COleDataSource& operator=(const COleDataSource&) = delete;

  // Offers `block` (a global memory block, now the source's) as `format`,
  // replacing what was offered as that format before.
  void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, FORMATETC* formatEtc = nullptr);
  // Empties the source.
  void Empty();
  // Puts the source's data on the clipboard; the clipboard takes the source
  // (a heap object) and deletes it when it is emptied. When the clipboard
  // cannot be opened the source is deleted and nothing changes.
  void SetClipboard();
  // Drags the source's data until the left button is released (the effect
  // that took place: DROPEFFECT_NONE when nothing took the data) or the drag
  // is cancelled (DROPEFFECT_NONE); see above. With `startRect` (screen
  // coordinates) the drag begins only once the mouse leaves it; a button
  // released before then ends it with DROPEFFECT_NONE. `source` decides, at
  // each step, whether the drag goes on (default: a COleDropSource).
  DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT startRect = nullptr, COleDropSource* source = nullptr);

  bool holds(CLIPFORMAT format) const { return m_data.count(format) != 0; }
  // The block offered as `format` (still the source's), or NULL.
  HGLOBAL block(CLIPFORMAT format) const;

 private:
  std::map<CLIPFORMAT, HGLOBAL> m_data;
};

// The side of a drag that started it: whether the drag goes on, and what the
// user is shown meanwhile.
class PLATFORM_API COleDropSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropSource)

 public:
  COleDropSource() = default;
  // DRAGDROP_S_CANCEL on Esc, DRAGDROP_S_DROP once the left button is up
  // (`keyState` lacks MK_LBUTTON), else S_OK (the drag goes on).
  virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
  // Told the effect a target answers after each step; the default cursors.
  virtual SCODE GiveFeedback(DROPEFFECT effect);
};

namespace platform {

// What a window does with data dragged over it.
class PLATFORM_API DropTarget {
 public:
  virtual ~DropTarget() = default;
  virtual DROPEFFECT DragEnter(HWND window, COleDataObject& data, DWORD keyState, POINT point) = 0;
  virtual DROPEFFECT DragOver(HWND window, COleDataObject& data, DWORD keyState, POINT point) = 0;
  virtual void DragLeave(HWND window) = 0;
  virtual BOOL Drop(HWND window, COleDataObject& data, DROPEFFECT effect, POINT point) = 0;
  // Asked before DragOver while the point lies in the window's scrolling
  // border; DROPEFFECT_NONE when the window does not scroll.
  virtual DROPEFFECT DragScroll(HWND window, DWORD keyState, POINT point) {
    (void)window, (void)keyState, (void)point;
    return DROPEFFECT_NONE;
  }
};

// Registers the drop target of a window (one per window; the target stays
// the caller's). False when the window has one already.
PLATFORM_API bool registerDropTarget(HWND window, DropTarget* target);
// False when the window had none.
PLATFORM_API bool revokeDropTarget(HWND window);
PLATFORM_API DropTarget* dropTargetOf(HWND window);

// One drag of a source's data, moved by the caller (a script, a test).
class PLATFORM_API DragSession {
 public:
  DragSession(COleDataSource& source, DROPEFFECT allowed);
  // Ends a drag still in progress as a cancel would (DragLeave).
  ~DragSession();
  DragSession(const DragSession&) = delete;
  DragSession& operator=(const DragSession&) = delete;

  // Moves the drag to `point` (client coordinates) of `window` with the
  // keys held (MK_CONTROL, MK_SHIFT, MK_LBUTTON ...); the answer is the
  // effect the window's target would give (DROPEFFECT_NONE over a window
  // without one).
  DROPEFFECT MoveTo(HWND window, POINT point, DWORD keyState);
  // Releases the data where the drag is: the effect that took place
  // (DROPEFFECT_NONE when the target refused it or there was none).
  DROPEFFECT Drop();
  // Gives up the drag (Esc).
  void Cancel();
  // The effect the target last answered.
  DROPEFFECT Effect() const { return m_effect; }
  // The window the drag is over (null before the first move).
  HWND Window() const { return m_window; }

 private:
  COleDataSource& m_source;
  DROPEFFECT m_allowed;
  COleDataObject m_data;
  HWND m_window = nullptr;
  DropTarget* m_target = nullptr;
  POINT m_point{0, 0};
  DROPEFFECT m_effect = DROPEFFECT_NONE;
  bool m_done = false;
};

// The effect a drop target gives by default for the keys held: a copy with
// Ctrl, else a move.
PLATFORM_API DROPEFFECT defaultDropEffect(DWORD keyState);

// Drags `source` onto `point` (client coordinates) of `window` with the keys
// held, as a user's mouse would: enter and one move over the point, then the
// button released there (`release`: the effect that took place) or the drag
// given up (DragLeave; the effect the target last answered).
PLATFORM_API DROPEFFECT dragOnto(COleDataSource& source, HWND window, POINT point, DWORD keyState, bool release,
                                 DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE);

}  // namespace platform

// The drop target of a window: Register makes the window take drops, each
// drag over it then calls the handlers with the window. The defaults answer
// a copy with Ctrl held and a move without (OnDragEnter, OnDragOver), take
// nothing (OnDrop: FALSE) and never scroll (OnDragScroll: DROPEFFECT_NONE).
class PLATFORM_API COleDropTarget : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropTarget)

 public:
  COleDropTarget();
  // Revokes the registration that is still there.
  ~COleDropTarget() override;
  COleDropTarget(const COleDropTarget&) = delete;
  COleDropTarget& operator=(const COleDropTarget&) = delete;

  // FALSE when the window has a drop target already, or for no window.
  BOOL Register(CWnd* wnd);
  virtual void Revoke();

  virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  virtual void OnDragLeave(CWnd* wnd);
  virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
  virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

  HWND m_hWnd = nullptr;  // the registered window

 private:
  class Bridge;
  std::unique_ptr<platform::DropTarget> m_bridge;
};
