#pragma once
// CToolTipCtrl over the tool tips of win/commctrl.h: tools with their texts,
// the mouse messages relayed to it, active or not.

#include "mfc/wnd.h"
#include "win/commctrl.h"

class PLATFORM_API CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  // A tool-tip window owned by `parent`'s window.
  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = 0);
  // A tool: the whole window `wnd` when `rect` is null and `id` 0 (the id is
  // then the window's handle), else the rectangle `rect` of its client area.
  BOOL AddTool(CWnd* wnd, LPCTSTR text = LPSTR_TEXTCALLBACK, LPCRECT rect = nullptr, UINT_PTR id = 0);
  BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
  void DelTool(CWnd* wnd, UINT_PTR id = 0);
  void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR id = 0);
  void GetText(CString& text, CWnd* wnd, UINT_PTR id = 0) const;
  int GetToolCount() const;
  void Activate(BOOL activate);
  void RelayEvent(LPMSG msg);
  void SetDelayTime(UINT delay);
  void Pop();
};
