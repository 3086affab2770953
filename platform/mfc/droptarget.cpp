// COleDropTarget: a window's drop target of the class library, on the
// in-process drag-and-drop engine (mfc/afxole.h).
#include "mfc/afxole.h"
#include "mfc/wnd.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

// Hands the engine's calls to the target with the window's object.
class COleDropTarget::Bridge : public platform::DropTarget {
 public:
  explicit Bridge(COleDropTarget& owner) : m_owner(owner) {}
  DROPEFFECT DragEnter(HWND window, COleDataObject& data, DWORD keyState, POINT point) override {
    return m_owner.OnDragEnter(CWnd::FromHandle(window), &data, keyState, CPoint(point));
  }
  DROPEFFECT DragOver(HWND window, COleDataObject& data, DWORD keyState, POINT point) override {
    return m_owner.OnDragOver(CWnd::FromHandle(window), &data, keyState, CPoint(point));
  }
  void DragLeave(HWND window) override { m_owner.OnDragLeave(CWnd::FromHandle(window)); }
  BOOL Drop(HWND window, COleDataObject& data, DROPEFFECT effect, POINT point) override {
    return m_owner.OnDrop(CWnd::FromHandle(window), &data, effect, CPoint(point));
  }
  DROPEFFECT DragScroll(HWND window, DWORD keyState, POINT point) override {
    return m_owner.OnDragScroll(CWnd::FromHandle(window), keyState, CPoint(point));
  }

 private:
  COleDropTarget& m_owner;
};

COleDropTarget::COleDropTarget() : m_bridge(std::make_unique<Bridge>(*this)) {}

COleDropTarget::~COleDropTarget() {
  // Not the virtual Revoke: a derived target is gone by now.
  if (m_hWnd) platform::revokeDropTarget(m_hWnd);
  m_hWnd = nullptr;
}

BOOL COleDropTarget::Register(CWnd* wnd) {
  HWND hwnd = platform::afx::hwndOf(wnd);
  if (!hwnd || m_hWnd || !::IsWindow(hwnd)) return FALSE;
  if (!platform::registerDropTarget(hwnd, m_bridge.get())) return FALSE;
  m_hWnd = hwnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (m_hWnd) platform::revokeDropTarget(m_hWnd);
  m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD keyState, CPoint) {
  return platform::defaultDropEffect(keyState);
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD keyState, CPoint) {
  return platform::defaultDropEffect(keyState);
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

namespace platform {

DROPEFFECT defaultDropEffect(DWORD keyState) { return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

DROPEFFECT dragOnto(COleDataSource& source, HWND window, POINT point, DWORD keyState, bool release,
                    DROPEFFECT allowed) {
  DragSession drag(source, allowed);
  drag.MoveTo(window, point, keyState);
  DROPEFFECT effect = drag.MoveTo(window, point, keyState);
  if (release) return drag.Drop();
  drag.Cancel();
  return effect;
}

}  // namespace platform
