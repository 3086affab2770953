#pragma once
// CWnd: a window object of the class library over a window of the window
// system (win/winuser.h).
//
// A CWnd handles its window's messages once it is attached by creation
// (Create, CreateEx, a dialog's Create or DoModal) or by subclassing
// (SubclassWindow, SubclassDlgItem, DDX_Control): WindowProc offers each
// message to the message map (mfc/cmdtarget.h) and passes what it leaves to
// DefWindowProc, the window's own procedure. After the window's final message
// (WM_NCDESTROY) the object lets go of it and PostNcDestroy runs; an object
// that deletes itself does so there, and nothing touches it afterwards.
//
// FromHandle gives the attached object of a window or, when there is none, a
// temporary object of the class that fits the window's class (a CEdit for an
// edit control, ...), which lives until the window is destroyed.
//
// The messages the pump dispatches go first through PreTranslateMessage of the
// target window's object and then of its parents' objects in turn; a dialog's
// PreTranslateMessage runs the dialog manager's keyboard (IsDialogMessage).

#include "mfc/cmdtarget.h"
#include "mfc/cstring.h"

class CDataExchange;
class CDC;
class CMenu;
struct CCreateContext;
struct GUID;

class PLATFORM_API CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  // The places SetWindowPos takes besides a window.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  static CWnd* FromHandle(HWND hwnd);
  static CWnd* FromHandlePermanent(HWND hwnd);
  BOOL Attach(HWND hwnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // Creation. A null class name makes a plain window of the class library's
  // own class.
  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      CCreateContext* context = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                        int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();
  // An ActiveX control of class `clsid` hosted in a child window (see
  // arx/activex.h); FALSE when no such control is installed.
  BOOL CreateControl(const GUID& clsid, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // A hosted control's properties, by dispatch id: the value is passed as
  // the VARTYPE says (VT_BSTR: a text, VT_I4: a long, VT_BOOL, VT_R8 ...);
  // GetProperty writes it to `value` (a CString for VT_BSTR).
  // The type is taken as an unsigned int: a variadic function's last named
  // parameter must not be one that promotes.
  void SetProperty(LONG dispid, unsigned int type, ...);
  void GetProperty(LONG dispid, unsigned short type, void* value) const;

  // The window.
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* newParent);
  CWnd* GetOwner() const;
  void SetOwner(CWnd* owner);
  CWnd* GetParentOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* hwnd) const;
  CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
  CWnd* GetWindow(UINT cmd) const;
  CWnd* GetNextWindow(UINT cmd = GW_HWNDNEXT) const { return GetWindow(cmd); }
  CWnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
  BOOL IsChild(const CWnd* wnd) const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowVisible() const;
  BOOL ShowWindow(int cmd);
  BOOL IsIconic() const;
  BOOL IsZoomed() const;

  // Text.
  void SetWindowText(LPCTSTR text);
  int GetWindowText(LPTSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, LPTSTR buffer, int size) const;
  int GetDlgItemText(int id, CString& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int firstId, int lastId, int checkId);
  int GetCheckedRadioButton(int firstId, int lastId) const;
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // Geometry.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT pt) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT pt) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT pts, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  void CenterWindow(CWnd* alternate = nullptr);
  BOOL BringWindowToTop();
  static CWnd* WindowFromPoint(POINT pt);
  CWnd* ChildWindowFromPoint(POINT pt) const;

  // Painting state.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
  // The client area's DC (a temporary wrapper) and its release.
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);

  // Focus, activation, capture.
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  BOOL SetForegroundWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();

  // Timers.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // Scroll bars.
  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
  int GetScrollPos(int bar) const;
  void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
  void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
  BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
  int GetScrollLimit(int bar);
  void ShowScrollBar(UINT bar, BOOL show = TRUE);

  // Messages.
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
  // The message being handled (for Default).
  static const MSG* GetCurrentMessage();
  // Handles the current message as the window itself would.
  LRESULT Default();

  // Dialog data: a failed exchange shows its message and answers FALSE.
  // Notifications that the filling sends to this window are not handled, and
  // an UpdateData of this window while one runs does nothing (FALSE).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  BOOL IsDialogMessage(LPMSG msg);
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;

  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* pDX);

  // The window's default handling of its messages, for the handlers of derived classes.
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSysChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnMButtonDown(UINT flags, CPoint point);
  afx_msg void OnMButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnEnable(BOOL enable);
  afx_msg void OnPaint();
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  // nCtlColor: CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC, the kind of control.
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT nCtlColor);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  // A popup menu this window owns opens: the update handlers of its command
  // items are asked (mfc/cmdui.h). WM_INITMENUPOPUP comes here unless the
  // message map takes it.
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg void OnWindowPosChanged(WINDOWPOS* pos);

 protected:
  WNDPROC m_pfnSuper = nullptr;  // the window's procedure before the object took it over

  // The next window created is this object's from its first message on.
  void HookWindowCreate();
  // Undoes HookWindowCreate when no window was created; true when the hook
  // had been used.
  bool UnhookWindowCreate();

 private:
  static void AttachCreated(HWND hwnd, void* self);

  DECLARE_MESSAGE_MAP()
};

// The class library's window procedure: messages to a window attached to an object.
PLATFORM_API LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace platform::afx {
// The window of an object that may be null.
inline HWND hwndOf(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }
// A temporary object of the right kind for windows of a class (CEdit for
// "Edit", ...): FromHandle makes one with `make`.
PLATFORM_API void registerTemporaryKind(const char* windowClass, CWnd* (*make)());
}  // namespace platform::afx

// The registered class of the class library's plain windows.
#define AFX_WND_CLASS "AfxWnd"
